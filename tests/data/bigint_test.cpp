// Big-integer arithmetic and the probable-prime search.
#include "FGInt.h"
#include "FGIntPrimeGeneration.h"
#include "platform/rtl/Exceptions.h"
#include "qstringprint.h"
#include <gtest/gtest.h>

namespace {

TFGInt dec(const char* s) { return fgFromDecimal(QString::fromLatin1(s)); }
QString str(const TFGInt& v) { return fgToDecimal(v); }

} // namespace

TEST(BigInt, DecimalTextReadsAndPrints)
{
    struct Case { const char* in; const char* out; } cases[] = {
        {"-0012", "-12"},
        {"xyz42", "42"},
        {"0", "0"},
        {"000", "0"},
        {"-0", "0"},
        {"1000000000", "1000000000"},
        {"123456789012345678901234567890", "123456789012345678901234567890"},
        {"-99999999999999999999", "-99999999999999999999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(str(dec(c.in)), QString::fromLatin1(c.out)) << c.in;
    EXPECT_TRUE(dec("-0").Sign == TSign::positive);
    EXPECT_THROW(dec("12a4"), EConvertError);
    EXPECT_THROW(dec("abc"), EConvertError);
}

TEST(BigInt, BitTextOfTwoToThe31HasTwoDigits)
{
    TFGInt v = dec("2147483648");
    EXPECT_EQ(fgToBits(v), QStringLiteral("1") + QString(31, QLatin1Char('0')));
    TFGInt back = fgFromBits(fgToBits(v));
    EXPECT_EQ(back.digitCount(), 2);
    EXPECT_EQ(str(back), QStringLiteral("2147483648"));
    EXPECT_EQ(fgToBits(dec("0")), QStringLiteral("0"));
    EXPECT_EQ(str(fgFromBytes(QStringLiteral("AB"))), QStringLiteral("16706"));   // 0x4142
}

TEST(BigInt, ArithmeticAgreesWithKnownResults)
{
    TFGInt a = dec("123456789123456789123456789");
    TFGInt b = dec("-987654321987654321");
    EXPECT_EQ(str(fgAdd(a, b)), QStringLiteral("123456788135802467135802468"));
    EXPECT_EQ(str(fgSub(b, a)), QStringLiteral("-123456790111111111111111110"));
    EXPECT_EQ(str(fgMul(a, b)), QStringLiteral("-121932631356500531469135800347203169112635269"));
    EXPECT_EQ(str(fgSquare(b)), QStringLiteral("975461059740893157555403139789971041"));
    TFGInt q, r;
    fgDivMod(a, dec("1000000007"), q, r);
    EXPECT_EQ(str(q), QStringLiteral("123456788259259271"));
    EXPECT_EQ(str(r), QStringLiteral("308641892"));
    EXPECT_EQ(str(fgAdd(fgMul(q, dec("1000000007")), r)), str(a));
    EXPECT_THROW(fgDivMod(a, dec("0"), q, r), EZeroDivide);
}

TEST(BigInt, NegativeDividendGivesNonNegativeRemainder)
{
    EXPECT_EQ(str(fgMod(dec("-7"), dec("5"))), QStringLiteral("3"));
    TFGInt q, r;
    fgDivMod(dec("-7"), dec("5"), q, r);
    EXPECT_EQ(str(q), QStringLiteral("-2"));
    EXPECT_EQ(str(r), QStringLiteral("3"));
    EXPECT_EQ(str(fgMod(dec("-10"), dec("5"))), QStringLiteral("0"));
}

TEST(BigInt, ModularOperations)
{
    // 2^100 mod (10^9 + 7)
    EXPECT_EQ(str(fgPowMod(dec("2"), dec("100"), dec("1000000007"))), QStringLiteral("976371285"));
    // A multi-digit odd modulus against repeated multiplication.
    TFGInt m = dec("340282366920938463463374607431768211297");
    TFGInt base = dec("98765432109876543210");
    TFGInt expected = dec("1");
    for (int i = 0; i < 37; ++i)
        expected = fgMulMod(expected, base, m);
    EXPECT_EQ(str(fgPowMod(base, dec("37"), m)), str(expected));
    EXPECT_EQ(str(fgPowMod(dec("5"), dec("0"), dec("7"))), QStringLiteral("1"));
    EXPECT_THROW(fgPowMod(dec("5"), dec("3"), dec("8")), EInvalidOp);

    EXPECT_EQ(str(fgGcd(dec("462"), dec("1071"))), QStringLiteral("21"));
    TFGInt inv;
    ASSERT_TRUE(fgModInv(dec("17"), dec("3120"), inv));
    EXPECT_EQ(str(inv), QStringLiteral("2753"));
    TFGInt untouched = dec("99");
    EXPECT_FALSE(fgModInv(dec("6"), dec("9"), untouched));
    EXPECT_EQ(str(untouched), QStringLiteral("99"));
    EXPECT_EQ(str(fgAddMod(dec("8"), dec("9"), dec("5"))), QStringLiteral("2"));
}

TEST(BigInt, SmallIntegerOperations)
{
    TFGInt v = dec("4294967296");
    fgMulByInt(v, 3);
    EXPECT_EQ(str(v), QStringLiteral("12884901888"));
    quint32 rem = 0;
    fgDivByInt(v, 7, rem);
    EXPECT_EQ(str(v), QStringLiteral("1840700269"));
    EXPECT_EQ(rem, 5u);
    EXPECT_EQ(fgModByInt(dec("1000000000000"), 9973), 1000000000000ull % 9973);
    TFGInt s = dec("2147483649");
    fgShiftRight1(s);
    EXPECT_EQ(str(s), QStringLiteral("1073741824"));
    fgShiftLeftDigits(s, 1);
    EXPECT_EQ(str(s), QStringLiteral("2305843009213693952"));
    fgShiftRightDigits(s, 1);
    EXPECT_EQ(str(s), QStringLiteral("1073741824"));
}

TEST(PrimeSearch, TableAndTrialDivision)
{
    const auto& t = fgPrimeTable();
    EXPECT_EQ(t.size(), 1228u);
    EXPECT_EQ(t[0], 3u);
    EXPECT_EQ(t[1227], 9973u);
    EXPECT_FALSE(fgTrialDivision(dec("9973")));
    EXPECT_TRUE(fgTrialDivision(dec("10007")));
    EXPECT_FALSE(fgTrialDivision(dec("10008")));
    EXPECT_FALSE(fgTrialDivision(dec("10011")));   // 3 * 47 * 71
}

TEST(PrimeSearch, NextPrime)
{
    struct Case { const char* from; const char* next; } cases[] = {
        {"10", "10007"}, {"11", "10007"}, {"5000", "10007"}, {"10004", "10007"},
        {"10007", "10009"}, {"10008", "10037"},   // 10009 itself is never tried
        {"1000000000000", "1000000000039"},
        {"18446744073709551557", "18446744073709551629"},   // the largest 64-bit prime, then the next
    };
    for (const auto& c : cases) {
        TFGInt v = dec(c.from);
        fgNextPrime(v);
        EXPECT_EQ(str(v), QString::fromLatin1(c.next)) << c.from;
    }
    // A Carmichael number and a product of two large primes are composite.
    EXPECT_FALSE(fgMillerRabin(dec("41041"), 8));
    EXPECT_FALSE(fgMillerRabin(dec("1000000016000000063"), 4));   // (10^9+7)(10^9+9)
    EXPECT_TRUE(fgIsProbablePrime(dec("1000000007"), 4));
}
