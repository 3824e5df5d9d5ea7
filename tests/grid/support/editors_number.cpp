// The number editor's value rules: normalisation, formats, grouping, limits, the character
// check and stepping.
#include "DBCtrlsGxNumber.h"
#include "Exceptions.h"
#include <gtest/gtest.h>

TEST(NumberEditRules, NormalizeAndParse)
{
    TNumberEditRulesGx r;
    EXPECT_EQ(r.Normalize(QStringLiteral(" \t1,234.5 \n")), QStringLiteral("1234.5"));
    EXPECT_EQ(r.Parse(QStringLiteral("1,234.5")), 1234.5);
    EXPECT_EQ(r.Parse(QStringLiteral("-")), 0.0);
    EXPECT_EQ(r.Parse(QStringLiteral("+")), 0.0);
    EXPECT_EQ(r.Parse(QStringLiteral("1e3")), 1000.0);
    EXPECT_FALSE(r.Parse(QStringLiteral("12a")));
    EXPECT_FALSE(r.Parse(QStringLiteral("1.2.3")));
    EXPECT_THROW(r.ToFloat(QStringLiteral("x")), EConvertError);

    TNumberEditRulesGx comma;   // comma as decimal separator, point between thousands
    comma.DecimalSeparator = QLatin1Char(',');
    comma.ThousandSeparator = QLatin1Char('.');
    EXPECT_EQ(comma.Normalize(QStringLiteral("1.234,5")), QStringLiteral("1234,5"));
    EXPECT_EQ(comma.Parse(QStringLiteral("1.234,5")), 1234.5);
    TNumberEditRulesGx blank;   // a blank between thousands: both '.' and ',' are decimal points
    blank.ThousandSeparator = QLatin1Char(' ');
    blank.DecimalSeparator = QLatin1Char(',');
    EXPECT_EQ(blank.Normalize(QStringLiteral("1 234.5")), QStringLiteral("1234,5"));
}

TEST(NumberEditRules, EditFormatDerivation)
{
    struct Case { const char* display; bool currency; const char* edit; } cases[] = {
        {"", false, ""},
        {"", true, ",#.00"},
        {",0.00", false, ",0.00"},
        {"#,##0.00;(#,##0.00)", false, "#,##0.00"},
        {"'¥'#,##0.00\"元\"", false, "#,##0.00"},
        {"0.00E+00", false, "0.00"},
        {"0.0E+0000#", false, "0.0#"},
        {"0.0E+00000#", false, "0.0"},        // a fifth exponent zero ends the scan
        {"0.0 kg", false, "0.0"},
        {"0.00", true, "0.00"},               // the display format wins over the currency flag
    };
    for (const Case& c : cases) {
        TNumberEditRulesGx r;
        r.DisplayFormat = QString::fromUtf8(c.display);
        r.Currency = c.currency;
        EXPECT_EQ(r.EditFormat(), QString::fromUtf8(c.edit)) << c.display;
    }
}

TEST(NumberEditRules, DisplayAndEditTexts)
{
    TNumberEditRulesGx r;
    EXPECT_EQ(r.DisplayText(std::nullopt), QString());
    EXPECT_EQ(r.DisplayText(1234.5), QStringLiteral("1234.5"));
    r.Currency = true;
    EXPECT_EQ(r.DisplayText(1234.5), QStringLiteral("¥1,234.50"));
    EXPECT_EQ(r.EditText(1234.5), QStringLiteral("1,234.50"));
    r.DisplayFormat = QStringLiteral("#,##0.00");
    EXPECT_EQ(r.DisplayText(1234.5), QStringLiteral("1,234.50"));
    EXPECT_EQ(r.EditText(-1234567.5), QStringLiteral("-1,234,567.50"));
    // Grouping follows the typing in the integer part only.
    EXPECT_EQ(r.Group(QStringLiteral("12345")), QStringLiteral("12,345"));
    EXPECT_EQ(r.Group(QStringLiteral("1,2345.678")), QStringLiteral("12,345.678"));
    EXPECT_EQ(r.Group(QStringLiteral("-1234")), QStringLiteral("-1,234"));
    EXPECT_EQ(r.Group(QStringLiteral("1234E5")), QStringLiteral("1,234E5"));
    r.DisplayFormat = QStringLiteral("0.00");
    EXPECT_EQ(r.Group(QStringLiteral("12345")), QStringLiteral("12345"));
    EXPECT_EQ(r.EditText(2.5), QStringLiteral("2.50"));
}

TEST(NumberEditRules, LimitsAndRounding)
{
    struct Case { double min, max; unsigned places; double in, out; } cases[] = {
        {0, 100, 2, 150, 100},
        {0, 100, 2, -3, 0},
        {0, 0, 2, -1e9, -1e9},              // equal bounds: no range
        {5, 0, 2, 3, 5},                    // only the lower bound
        {5, 0, 2, 1000, 1000},
        {0, -5, 2, 3, -5},                  // only the upper bound
        {-5, -10, 2, 3, 3},                 // two non-zero crossed bounds: none
        {0, 0, 2, 1.005, 1.0},              // 100.49999... rounds down
        {0, 0, 2, 2.675, 2.67},
        {0, 0, 0, 2.5, 2},                  // ties go to the even neighbour
        {0, 0, 0, 3.5, 4},
        {0, 0, 1, 0.25, 0.2},
        {0, 0, 38, 1.23456789, 1.23456789}, // beyond 37 places nothing is rounded
    };
    for (const Case& c : cases) {
        TNumberEditRulesGx r;
        r.MinValue = c.min;
        r.MaxValue = c.max;
        r.DecimalPlaces = c.places;
        EXPECT_DOUBLE_EQ(r.Limit(c.in), c.out) << c.min << " " << c.max << " " << c.in;
    }
}

TEST(NumberEditRules, CharacterCheck)
{
    struct Case { double min, max; const char* text; int selStart, selLen; char key; bool ok; } cases[] = {
        {0, 0, "1.23", 4, 0, '4', false},    // a third decimal
        {0, 0, "1.23", 0, 0, '4', true},     // digits before the point are fine
        {0, 0, "1.23", 3, 1, '9', true},     // replacing a decimal
        {0, 0, "1.2", 1, 2, 'x', false},
        {0, 0, "", 0, 0, '-', true},
        {0, 100, "", 0, 0, '-', false},      // no sign when the range is not negative
        {0, 100, "5", 0, 0, '-', false},
        {-10, 100, "", 0, 0, '-', true},
        {0, 0, "12", 0, 2, ' ', true},       // an empty result is accepted
        {0, 0, "1", 1, 0, 'e', false},     // "1e" is no number yet
        {0, 0, "1e", 2, 0, '5', true},
        {0, 0, "1", 1, 0, ',', true},        // a thousands separator alone changes nothing
        {0, 0, "1.5", 3, 0, '.', false},
        {0, 0, "1,234", 5, 0, '5', true},    // thousands separators are ignored
    };
    for (const Case& c : cases) {
        TNumberEditRulesGx r;
        r.MinValue = c.min;
        r.MaxValue = c.max;
        EXPECT_EQ(r.IsValidChar(QString::fromLatin1(c.text), c.selStart, c.selLen, QLatin1Char(c.key)), c.ok)
            << c.text << " + " << c.key;
    }
}

TEST(NumberEditRules, SteppingAndTypedValues)
{
    TNumberEditRulesGx r;
    EXPECT_EQ(r.Step(std::nullopt, false), 1.0);   // an empty editor steps to the increment
    EXPECT_EQ(r.Step(std::nullopt, true), 1.0);
    EXPECT_EQ(r.Step(5.0, false), 4.0);
    r.Increment = 0.125;
    EXPECT_EQ(r.Step(1.0, true), 1.12);            // stored rounded to two decimals
    r.MinValue = 0;
    r.MaxValue = 1;
    EXPECT_EQ(r.Step(0.95, true), 1.0);
    r.Increment = 0;
    EXPECT_FALSE(r.Step(3.0, true));

    TNumberEditRulesGx t;
    t.MinValue = 0;
    t.MaxValue = 100;
    EXPECT_FALSE(t.TypedValue(QStringLiteral("  ")));
    EXPECT_EQ(t.TypedValue(QStringLiteral("-")), 0.0);
    EXPECT_EQ(t.TypedValue(QStringLiteral("150")), 100.0);
    EXPECT_EQ(t.TypedValue(QStringLiteral("0.125")), 0.12);     // a tie goes to the even neighbour
}
