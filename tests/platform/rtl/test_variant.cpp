// Variant and Currency: conversions, comparisons, Null against Unassigned, exact sums.
#include "Exceptions.h"
#include "Format.h"
#include "Variant.h"
#include <gtest/gtest.h>
#include <functional>

namespace {

QString errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EVariantTypeCastError& e) {
        return e.ClassName() + QStringLiteral(": ") + e.Message();
    } catch (const Exception& e) {
        return e.ClassName() + QStringLiteral(": ") + e.Message();
    }
    return QString();
}

Currency cur(const char* s) { return StrToCurr(QString::fromUtf8(s)); }

} // namespace

TEST(Variant, ConversionsTable)
{
    const TDateTime noon = TDateTime(EncodeDate(2024, 1, 5).Value + 0.5);
    struct Case { Variant v; QString text; double dbl; qint64 i64; bool b; };
    const Case cases[] = {
        {Variant(), "", 0, 0, false},
        {Variant(true), "True", -1, -1, true},
        {Variant(false), "False", 0, 0, false},
        {Variant(42), "42", 42, 42, true},
        {Variant(2.5), "2.5", 2.5, 2, true},        // integer rounding: half to even
        {Variant(3.5), "3.5", 3.5, 4, true},
        {Variant(-2.5), "-2.5", -2.5, -2, true},
        {Variant(0.1 + 0.2), "0.3", 0.1 + 0.2, 0, true},
        {Variant(Currency::FromRaw(12345)), "1.2345", 1.2345, 1, true},
        {Variant(Currency::FromRaw(25000)), "2.5", 2.5, 2, true},
        {Variant(noon), "2024-01-05 12:00:00", noon.Value, 45296, true},   // 45296.5: half to even
        {Variant(" 17 "), " 17 ", 17, 17, true},
        {Variant("1.5"), "1.5", 1.5, 2, true},
        {Variant("true"), "true", -1, -1, true},
        {Variant(u"中文"), QStringLiteral("中文"), 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.v.TypeName().toStdString() + " " + c.text.toStdString());
        EXPECT_EQ(c.v.ToString(), c.text);
        if (c.v.Type() == VarType::String && c.text == QStringLiteral("中文")) {
            EXPECT_EQ(errorOf([&] { c.v.ToDouble(); }),
                      "EVariantTypeCastError: Could not convert variant of type (String) into type (Double)");
            EXPECT_EQ(errorOf([&] { c.v.ToInt(); }),
                      "EVariantTypeCastError: Could not convert variant of type (String) into type (Integer)");
            EXPECT_EQ(errorOf([&] { c.v.ToBool(); }),
                      "EVariantTypeCastError: Could not convert variant of type (String) into type (Boolean)");
            continue;
        }
        EXPECT_DOUBLE_EQ(c.v.ToDouble(), c.dbl);
        EXPECT_EQ(c.v.ToInt64(), c.i64);
        EXPECT_EQ(c.v.ToBool(), c.b);
    }
}

TEST(Variant, NullRaisesAndUnassignedIsEmpty)
{
    const Variant null = Variant::Null();
    EXPECT_EQ(errorOf([&] { null.ToDouble(); }),
              "EVariantTypeCastError: Could not convert variant of type (Null) into type (Double)");
    EXPECT_EQ(errorOf([&] { null.ToString(); }),
              "EVariantTypeCastError: Could not convert variant of type (Null) into type (String)");
    EXPECT_EQ(errorOf([&] { null.ToInt(); }),
              "EVariantTypeCastError: Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(errorOf([&] { null.ToDateTime(); }),
              "EVariantTypeCastError: Could not convert variant of type (Null) into type (Date)");
    EXPECT_EQ(VarToStr(null), QString());
    EXPECT_EQ(VarToStr(Variant()), QString());
    EXPECT_TRUE(VarIsNull(null) && !VarIsEmpty(null));
    EXPECT_TRUE(VarIsEmpty(Variant()) && !VarIsNull(Variant()));
    EXPECT_EQ(VarToStrDef(null, "x").ToString(), QStringLiteral("x"));
    EXPECT_EQ(Variant().ToCurrency(), Currency());
}

TEST(Variant, EqualityTable)
{
    struct Case { Variant a, b; bool equal; };
    const Case cases[] = {
        {Variant::Null(), Variant::Null(), true},
        {Variant(), Variant(), true},
        {Variant::Null(), Variant(), false},
        {Variant::Null(), Variant(0), false},
        {Variant::Null(), Variant(""), false},
        {Variant(), Variant(0), true},
        {Variant(), Variant(""), true},
        {Variant(), Variant("a"), false},
        {Variant(1), Variant(1.0), true},
        {Variant(1), Variant(Currency::FromInt(1)), true},
        {Variant(0.1), Variant(Currency::FromRaw(1000)), true},
        {Variant(17), Variant("17"), true},
        {Variant(17), Variant("17.0"), true},
        {Variant(17), Variant("x17"), false},
        {Variant("abc"), Variant("ABC"), false},
        {Variant("abc"), Variant("abc"), true},
        {Variant(true), Variant(-1), true},
        {Variant(true), Variant("True"), true},
        {Variant(EncodeDate(2024, 1, 5)), Variant("2024-01-05"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.a.TypeName() + " vs " + c.b.TypeName()).toStdString());
        EXPECT_EQ(c.a == c.b, c.equal);
        EXPECT_EQ(c.b == c.a, c.equal);
    }
}

TEST(Variant, CompareOrdersNullsFirstThenValues)
{
    struct Case { Variant a, b; int sign; bool ci; };
    const Case cases[] = {
        {Variant(), Variant::Null(), -1, false},
        {Variant::Null(), Variant(-1e300), -1, false},
        {Variant(), Variant(""), -1, false},
        {Variant(2), Variant(10), -1, false},
        {Variant("2"), Variant(10), -1, false},      // numeric text against a number: by value
        {Variant("2"), Variant("10"), 1, false},     // text against text: by text
        {Variant(Currency::FromRaw(1)), Variant(0.0), 1, false},
        {Variant(EncodeDate(2024, 1, 5)), Variant(EncodeDate(2023, 12, 31)), 1, false},
        {Variant("abc"), Variant("ABD"), 1, false},
        {Variant("abc"), Variant("ABD"), -1, true},
        {Variant("abc"), Variant("ABC"), 0, true},
        {Variant(false), Variant(true), -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.a.TypeName() + " vs " + c.b.TypeName()).toStdString());
        EXPECT_EQ(Variant::Compare(c.a, c.b, c.ci), c.sign);
        EXPECT_EQ(Variant::Compare(c.b, c.a, c.ci), -c.sign);
    }
}

TEST(Currency, ExactArithmeticTable)
{
    // Three times 0.1 is exactly 0.3; a stock back to zero is exactly zero.
    Currency sum;
    for (int i = 0; i < 3; ++i)
        sum += Currency::FromDouble(0.1);
    EXPECT_EQ(sum, cur("0.3"));
    EXPECT_EQ(sum.Raw(), 3000);
    EXPECT_EQ(cur("0.3") - Currency::FromDouble(0.1) - cur("0.2"), Currency());

    struct Case { Currency got; const char* want; };
    const Case cases[] = {
        {Currency::FromDouble(1.23456), "1.2346"},
        {Currency::FromDouble(-1.23454), "-1.2345"},
        {Currency::FromDouble(12345.67891), "12345.6789"},
        {Currency::FromDouble(-0.5), "-0.5"},
        {cur("1.5") * cur("1.5"), "2.25"},
        {cur("0.0001") * cur("0.5"), "0"},             // 0.00005: tie to even
        {cur("10") / cur("3"), "3.3333"},
        {cur("-2") / cur("3"), "-0.6667"},
        {cur("12"), "12"},
        {cur(" -1.0001 "), "-1.0001"},
        {cur("1.23456"), "1.2346"},
        {cur("1E2"), "100"},
        {Currency::FromInt(-7), "-7"},
        {-cur("0.5"), "-0.5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got.ToString(), QString::fromUtf8(c.want));
}

TEST(Currency, ErrorsTable)
{
    EXPECT_EQ(errorOf([] { cur("1,5"); }), "EConvertError: '1,5' is not a valid floating point value");
    EXPECT_EQ(errorOf([] { cur("1") / Currency(); }), "EZeroDivide: Floating point division by zero");
    EXPECT_EQ(errorOf([] { Currency::FromDouble(1e300); }), "EOverflow: Floating point overflow");
    EXPECT_EQ(errorOf([] { Currency::FromRaw(INT64_MAX) + Currency::FromRaw(1); }), "EOverflow: Floating point overflow");
    EXPECT_EQ(errorOf([] { Variant("abc").ToCurrency(); }),
              "EVariantTypeCastError: Could not convert variant of type (String) into type (Currency)");
}

TEST(Variant, ArraysAreValues)
{
    Variant a = VarArrayOf({1, "x", Variant::Null()});
    EXPECT_TRUE(VarIsArray(a));
    EXPECT_EQ(VarArrayLowBound(a), 0);
    EXPECT_EQ(VarArrayHighBound(a), 2);
    Variant b = a;
    b.SetArrayItem(1, "y");                       // the copy changes alone
    EXPECT_EQ(a.ArrayItem(1), Variant("x"));
    EXPECT_EQ(b.ArrayItem(1), Variant("y"));
    EXPECT_FALSE(a == b);
    b.SetArrayItem(1, "x");
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == Variant(1));
    VarArrayRedim(b, 3);
    EXPECT_EQ(b.ArrayCount(), 4);
    EXPECT_TRUE(b.ArrayItem(3).IsUnassigned());
    EXPECT_EQ(Variant::Compare(a, b), -1);        // shorter with equal start sorts first
    Variant c = VarArrayCreate(1, 2);
    EXPECT_EQ(c.ArrayLowBound(), 1);
    EXPECT_THROW(c.ArrayItem(0), EVariantError);
    EXPECT_THROW(Variant(1).ArrayHighBound(), EVariantError);
    EXPECT_EQ(errorOf([&] { a.ToDouble(); }),
              "EVariantTypeCastError: Could not convert variant of type (Array Variant) into type (Double)");
}

TEST(Variant, ConstructsFromEveryIntegerKind)
{
    const std::size_t size = 3;
    const qsizetype count = 4;
    const short small = -5;
    EXPECT_EQ(Variant(size).Type(), VarType::Integer);
    EXPECT_EQ(Variant(count).ToInt(), 4);
    EXPECT_EQ(Variant(small).ToInt(), -5);
    EXPECT_EQ(Variant(2.5f).Type(), VarType::Double);
}
