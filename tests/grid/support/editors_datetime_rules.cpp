// Value rules of the date-time editor: formats by kind, typing, validation, writing to the
// field, the calendar's date and stepping.
#include "DBCtrlsGxDateTimeRules.h"
#include "DateTime.h"
#include "Exceptions.h"
#include <gtest/gtest.h>

namespace {
struct FixedClock {
    FixedClock() { SetClockForTesting([] { return TDateTime(EncodeDate(2026, 12, 10).Value + 0.25); }); }
    ~FixedClock() { SetClockForTesting({}); }
};

TDateTime DT(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return TDateTime(EncodeDate(y, mo, d).Value + EncodeTime(h, mi, s, ms).Value);
}

TDateTimeEditRulesGx Rules(TDateTimeKindGx kind)
{
    TDateTimeEditRulesGx r;
    r.Kind = kind;
    r.UpdateMask();
    return r;
}

QString Show(const Variant& v) { return v.IsNull() ? QStringLiteral("Null") : FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), v.ToDateTime()); }
} // namespace

TEST(DateTimeEditRules, FormatsByKind)
{
    struct Case {
        TDateTimeKindGx kind;
        const char* format;
        const char* mask;
        const char* text;   // 2024-12-05 13:45:30 shown
    };
    const Case cases[] = {
        {dtkDateGx, "YYYY/MM/DD", "!9999/99/99;1; ", "2024-12-05"},
        {dtkTimeGx, "HH:NN:SS", "!99:99:99;1; ", "13:45:30"},
        {dtkDateTimeGx, "YYYY/MM/DD HH:NN:SS", "!9999/99/99 99:99:99;1; ", "2024-12-05 13:45:30"},
    };
    for (const Case& c : cases) {
        const TDateTimeEditRulesGx r = Rules(c.kind);
        EXPECT_EQ(r.EditFormat, QString::fromLatin1(c.format));
        EXPECT_EQ(r.EditMask, QString::fromLatin1(c.mask));
        EXPECT_EQ(r.TextOf(Variant(DT(2024, 12, 5, 13, 45, 30))), QString::fromUtf8(c.text));
        EXPECT_EQ(r.TextOf(Variant::Null()), QString());
    }

    // A two-letter year in the short date format gives a two-digit year element.
    TDateTimeEditRulesGx r = Rules(dtkDateGx);
    EXPECT_FALSE(r.UpdateFourDigitYear(QStringLiteral("yyyy-mm-dd")));
    EXPECT_TRUE(r.UpdateFourDigitYear(QStringLiteral("yy-mm-dd")));
    EXPECT_EQ(r.EditFormat, QStringLiteral("YY/MM/DD"));
    EXPECT_EQ(r.TextOf(Variant(DT(2024, 12, 5))), QStringLiteral("24-12-05"));

    // A custom format with literal text; a bad one raises and changes nothing.
    r.SetEditFormat(QStringLiteral("YYYY年MM月DD日"));
    EXPECT_EQ(r.Kind, dtkCustomGx);
    EXPECT_EQ(r.TextOf(Variant(DT(2024, 12, 5))), QStringLiteral("2024年12月05日"));
    EXPECT_THROW(r.SetEditFormat(QStringLiteral("YYY/MM/DD")), Exception);
    EXPECT_EQ(r.EditFormat, QStringLiteral("YYYY年MM月DD日"));
    r.SetEditFormat(QString());
    EXPECT_FALSE(r.Masked());
    EXPECT_EQ(r.TextOf(Variant(DT(2024, 12, 5, 8, 30))), QStringLiteral("2024-12-05 08:30:00"));
}

// Typing keeps the value without completing it; validation completes and clamps.
TEST(DateTimeEditRules, TypingAndValidation)
{
    FixedClock clock;
    struct Case {
        TDateTimeKindGx kind;
        const char* text;
        Variant current;
        const char* typed;
        const char* validated;
    };
    const Variant none = Variant::Null();
    const Variant noon = Variant(DT(2020, 1, 1, 12, 0, 0, 250));
    const Case cases[] = {
        {dtkDateGx, "2024-05-06", none, "2024-05-06 00:00:00.000", "2024-05-06 00:00:00.000"},
        {dtkDateGx, "2024-05-06", noon, "2024-05-06 12:00:00.250", "2024-05-06 12:00:00.250"},
        {dtkDateGx, "2024-05-  ", none, "Null", "2024-05-10 00:00:00.000"},
        {dtkDateGx, "2023-02-30", none, "Null", "2023-02-28 00:00:00.000"},
        {dtkDateGx, "2024-02-31", noon, "Null", "2024-02-29 12:00:00.250"},
        {dtkDateGx, "2024-13-01", none, "Null", "2024-12-01 00:00:00.000"},
        {dtkDateGx, "  24-05-06", none, "2024-05-06 00:00:00.000", "2024-05-06 00:00:00.000"},
        {dtkDateGx, "    -  -  ", noon, "Null", "Null"},
        {dtkTimeGx, "25:70:00", none, "Null", "1900-01-01 23:59:00.000"},
        {dtkTimeGx, "08:30:  ", noon, "Null", "2020-01-01 08:30:00.250"},
        {dtkDateTimeGx, "2024-05-06 07:  :  ", none, "Null", "2024-05-06 07:00:00.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TDateTimeEditRulesGx r = Rules(c.kind);
        EXPECT_EQ(Show(r.TypedValue(QString::fromUtf8(c.text), c.current)), QString::fromLatin1(c.typed));
        EXPECT_EQ(Show(r.Validate(QString::fromUtf8(c.text), c.current)), QString::fromLatin1(c.validated));
    }
}

TEST(DateTimeEditRules, TextFromCodeAndWritingToTheField)
{
    const TDateTimeEditRulesGx r = Rules(dtkDateGx);
    const Variant field = Variant(DT(2020, 1, 1, 8, 15, 30, 250));
    EXPECT_EQ(Show(r.ParseText(QStringLiteral("2024-05-06"), field)), QStringLiteral("2024-05-06 08:15:30.250"));
    try {
        r.ParseText(QStringLiteral("2024-13-06"), field);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid datetime: \"2024-13-06\""));
    }

    // The field keeps what the format does not show: its time of day.
    EXPECT_EQ(Show(r.PostValue(Variant(DT(2024, 5, 6)), QString(), field)), QStringLiteral("2024-05-06 08:15:30.250"));
    EXPECT_EQ(Show(r.PostValue(Variant(DT(2024, 5, 6)), QString(), Variant::Null())),
              QStringLiteral("2024-05-06 00:00:00.000"));
    EXPECT_TRUE(r.PostValue(Variant::Null(), QString(), field).IsNull());

    // Without a mask the text is converted; an empty text writes Null instead of failing.
    TDateTimeEditRulesGx plain = r;
    plain.SetEditFormat(QString());
    EXPECT_TRUE(plain.PostValue(Variant::Null(), QString(), field).IsNull());
    EXPECT_TRUE(plain.PostValue(Variant::Null(), QStringLiteral("  "), field).IsNull());
    EXPECT_EQ(Show(plain.PostValue(Variant::Null(), QStringLiteral("2024-05-06 07:00"), field)),
              QStringLiteral("2024-05-06 07:00:00.000"));
    EXPECT_THROW(plain.PostValue(Variant::Null(), QStringLiteral("abc"), field), EConvertError);
    EXPECT_TRUE(plain.TypedValue(QStringLiteral("abc"), field).IsNull());
    EXPECT_THROW(plain.ParseText(QStringLiteral("abc"), field), EConvertError);
}

TEST(DateTimeEditRules, CalendarDateKeepsTheTimeOfDay)
{
    const TDateTimeEditRulesGx date = Rules(dtkDateGx);
    const Variant current = Variant(DT(2024, 5, 6, 8, 15, 30, 250));
    EXPECT_EQ(Show(date.CalendarValue(DT(2025, 3, 4), current)), QStringLiteral("2025-03-04 08:15:30.250"));
    EXPECT_EQ(Show(date.CalendarValue(DT(2025, 3, 4), Variant::Null())), QStringLiteral("2025-03-04 00:00:00.000"));
    const TDateTimeEditRulesGx both = Rules(dtkDateTimeGx);
    EXPECT_EQ(Show(both.CalendarValue(DT(2025, 3, 4), current)), QStringLiteral("2025-03-04 08:15:30.250"));
}

TEST(DateTimeEditRules, SteppingTable)
{
    struct Case {
        TDateTimeKindGx kind;
        const char* text;
        int caret;
        bool up;
        const char* result;
        int selStart;
    };
    const Case cases[] = {
        {dtkDateGx, "2024-12-05", 5, true, "2024-01-05", 5},     // month wraps, no carry into the year
        {dtkDateGx, "2024-12-05", 6, false, "2024-11-05", 5},
        {dtkDateGx, "2024-12-01", 9, false, "2024-12-31", 8},    // day wraps at 31 whatever the month
        {dtkDateGx, "2024-12-31", 8, true, "2024-12-01", 8},
        {dtkDateGx, "2024-12-  ", 8, true, "2024-12-01", 8},     // a blank day steps to 01
        {dtkDateGx, "2024-12-05", 4, true, "2024-01-05", 5},     // on a separator: the element after it
        {dtkDateGx, "2024-12-05", 0, true, "2025-12-05", 0},
        {dtkDateGx, "9999-12-05", 2, true, "0001-12-05", 0},
        {dtkTimeGx, "23:59:00", 0, true, "00:59:00", 0},
        {dtkTimeGx, "23:59:00", 3, true, "23:00:00", 3},
        {dtkTimeGx, "23:59:00", 7, false, "23:59:59", 6},
        {dtkDateTimeGx, "2024-12-05 10:00:00", 11, false, "2024-12-05 09:00:00", 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SCOPED_TRACE(c.caret);
        const TDateTimeEditRulesGx r = Rules(c.kind);
        QString text;
        int selStart = -1;
        int selLength = -1;
        ASSERT_TRUE(r.Step(QString::fromLatin1(c.text), c.caret, c.up, text, selStart, selLength));
        EXPECT_EQ(text, QString::fromLatin1(c.result));
        EXPECT_EQ(selStart, c.selStart);
        EXPECT_EQ(selLength, c.kind == dtkTimeGx || selStart >= 5 ? 2 : 4);
    }
    // Past the date in a date-time format's blank: no element.
    const TDateTimeEditRulesGx r = Rules(dtkDateTimeGx);
    QString text;
    int s = 0;
    int l = 0;
    EXPECT_FALSE(r.Step(QStringLiteral("2024-12-05 10:00:00"), 10, true, text, s, l));
}

TEST(DateTimeEditRules, MRUItems)
{
    EXPECT_TRUE(TDateTimeEditRulesGx::MRUItemMatches(QStringLiteral("2024-05-  "), QStringLiteral("2024-05-06")));
    EXPECT_TRUE(TDateTimeEditRulesGx::MRUItemMatches(QStringLiteral("    -  -  "), QStringLiteral("2023-01-01")));
    EXPECT_FALSE(TDateTimeEditRulesGx::MRUItemMatches(QStringLiteral("2024-06-  "), QStringLiteral("2024-05-06")));
    EXPECT_TRUE(TDateTimeEditRulesGx::MRUItemMatches(QStringLiteral("ab"), QStringLiteral("ABc")));
}
