// Number formatting and parsing with the platform's fixed settings.
#include "Exceptions.h"
#include "Format.h"
#include <gtest/gtest.h>
#include <limits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

TEST(Format, FloatToStrTable)
{
    struct Case { double v; const char* text; };
    const Case cases[] = {
        {0, "0"}, {-0.0, "0"}, {1, "1"}, {-1.5, "-1.5"}, {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"}, {2.0 / 3, "0.666666666666667"},
        {123456789012345.0, "123456789012345"}, {1e15, "1E15"}, {1.5e20, "1.5E20"},
        {0.0001, "0.0001"}, {0.00001, "1E-5"}, {-1.25e-7, "-1.25E-7"},
        {12345.678, "12345.678"}, {100, "100"}, {1e14, "100000000000000"},
        {0.30000000000000004, "0.3"}, {1234567.8900000001, "1234567.89"}, {999999999999999.9, "1E15"},
        {-123456789.12345678, "-123456789.123457"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatToStr(c.v), QString::fromUtf8(c.text)) << c.text;
}

// FloatToStr is the general format with 15 significant digits, whichever way it gets there:
// amounts as the ledger sums them, short decimals, integers, and arbitrary doubles of every
// magnitude.
TEST(Format, FloatToStrIsGeneral15)
{
    std::mt19937_64 random(20240305);
    std::vector<double> values;
    for (int i = 0; i < 4000; ++i) {
        const double cents = double(std::int64_t(random() % 2000000001) - 1000000000);
        values.push_back(cents / 100);
        values.push_back(cents / 10000 + double(random() % 1000) / 10000);
        values.push_back(cents * 1e6);
        values.push_back(0.1 * double(random() % 1000) + 0.2 * double(random() % 1000));
        double any;
        const std::uint64_t bits = random();
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any))
            values.push_back(any);
    }
    for (double e = -330; e <= 310; e += 0.37)
        values.push_back(std::pow(10.0, e));
    for (const double v : {1.0, -1.0, 10.0, 123456789012345.0, 999999999999999.0, -999999999999999.0, 1e15, -1e15,
                           9007199254740993.0, 0.0, -0.0, 5e-324, -2.2e-310, std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()})
        values.push_back(v);
    char16_t text[kFloatChars];
    for (double v : values) {
        if (std::isfinite(v))
            ASSERT_EQ(FloatToStr(v), FloatToStrF(v, ffGeneral, 15, 0)) << v;
        // The text written into a buffer is the same text.
        const int n = FloatToChars(v, text);
        ASSERT_EQ(QString(reinterpret_cast<const QChar*>(text), n), FloatToStr(v)) << v;
    }
}

TEST(Format, FormatFloatTable)
{
    struct Case { const char* fmt; double v; const char* text; };
    const Case cases[] = {
        {"0.00", 1.5, "1.50"},
        {"0.00", 0.125, "0.13"},            // half away from zero
        {"0.00", -0.125, "-0.13"},
        {"0.00", 2.675, "2.67"},            // 2.67499999999999982...: rounded once, from the real digits
        {"0.00", 1.005, "1.00"},
        {"0.00", 2.345, "2.35"},            // 2.34500000000000019...
        {"0.00", -0.001, "0.00"},           // no minus sign on a zero result
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0.00", 0, "0.00"},
        {"#,##0", -1234, "-1,234"},
        {"0.##", 1.5, "1.5"},
        {"0.##", 1, "1"},
        {"#.##", 0.5, ".5"},
        {"#", 0, ""},
        {"000", 7, "007"},
        {"0,000,000", 12, "0,000,012"},
        {".00", 12.5, "12.50"},
        {"0.00E+00", 1234, "1.23E+03"},
        {"0.00E-00", 0.001234, "1.23E-03"},
        {"0.0E+0", 0, "0.0E+0"},
        {"00.0E+0", 1234, "12.3E+2"},
        {"'Total: '0.0' t'", 3.14159, "Total: 3.1 t"},
        {"\"¥\"#,##0.00", 5, "¥5.00"},
        {"0.00;(0.00)", -5, "(5.00)"},
        {"0.00;(0.00);'zero'", 0, "zero"},
        {"0.00;(0.00);'zero'", 0.001, "zero"},
        {"0.00;;'zero'", -1, "-1.00"},
        {"000-000", 123456, "123-456"},
        {"0", 1e19, "1E19"},
        {"", 1.5, "1.5"},
        {"0.0000", 1.23456789, "1.2346"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.fmt), c.v), QString::fromUtf8(c.text)) << c.fmt << " " << c.v;
}

TEST(Format, FormatCurrIsExact)
{
    EXPECT_EQ(FormatCurr("#,##0.00", Currency::FromRaw(12345675000)), QStringLiteral("1,234,567.50"));
    EXPECT_EQ(FormatCurr("0.00", StrToCurr("2.675")), QStringLiteral("2.68"));
    EXPECT_EQ(FormatCurr("0.00", StrToCurr("-0.005")), QStringLiteral("-0.01"));
    EXPECT_EQ(CurrToStr(StrToCurr("0.3")), QStringLiteral("0.3"));
}

TEST(Format, FloatToStrFTable)
{
    EXPECT_EQ(FloatToStrFixed(2.5, 0), QStringLiteral("3"));
    EXPECT_EQ(FloatToStrFixed(1.005, 2), QStringLiteral("1.00"));
    EXPECT_EQ(FloatToStrFixed(0.125, 2), QStringLiteral("0.13"));
    EXPECT_EQ(FloatToStrFixed(-0.001, 2), QStringLiteral("0.00"));
    EXPECT_EQ(FloatToStrFixed(3, 2), QStringLiteral("3.00"));
    EXPECT_EQ(FloatToStrNumber(1234567.5, 1), QStringLiteral("1,234,567.5"));
    EXPECT_EQ(FloatToStrF(1234.5, ffGeneral, 3, 0), QStringLiteral("1.23E3"));
    EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), QStringLiteral("1.235E+03"));
    EXPECT_EQ(FloatToStrF(-5, ffCurrency, 15, 2), QStringLiteral("¥-5.00"));
}

TEST(Format, ParsingTable)
{
    struct Case { const char* text; bool ok; double v; };
    const Case cases[] = {
        {"1.5", true, 1.5}, {" -2 ", true, -2}, {"+3", true, 3}, {"1e3", true, 1000}, {".5", true, 0.5},
        {"1.", true, 1}, {"1E-2", true, 0.01}, {"", false, 0}, {"abc", false, 0}, {"1,5", false, 0},
        {"1 000", false, 0}, {"1e", false, 0}, {"--1", false, 0}, {"１", false, 0},
    };
    for (const Case& c : cases) {
        double v = -99;
        EXPECT_EQ(TryStrToFloat(QString::fromUtf8(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.v) << c.text;
        }
    }
    struct IntCase { const char* text; bool ok; qint64 v; };
    const IntCase ints[] = {
        {"17", true, 17}, {" -17 ", true, -17}, {"$1F", true, 31}, {"0x10", true, 16},
        {"2147483648", false, 0}, {"1.5", false, 0}, {"", false, 0}, {"12a", false, 0},
    };
    for (const IntCase& c : ints) {
        int v = -99;
        EXPECT_EQ(TryStrToInt(QString::fromUtf8(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.v) << c.text;
        }
    }
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToIntDef("x", 5), 5);
    EXPECT_EQ(StrToFloatDef("x", 2.5), 2.5);
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'abc' is not a valid integer value"));
    }
    try {
        StrToFloat("1,5");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'1,5' is not a valid floating point value"));
    }
}
