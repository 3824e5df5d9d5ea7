// Date/time edit formats: masks, display formats, step lines, element reading,
// value completion and stepping, with a fixed clock.
#include "DateTimeEditFormatGx.h"
#include "DateTime.h"
#include "Exceptions.h"
#include <gtest/gtest.h>

using namespace DBCtrlsGx;

namespace {

TDateTime operator+(TDateTime d, double f) { return TDateTime(d.Value + f); }

class FixedClock : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetClockForTesting([] { return EncodeDate(2026, 3, 15) + 0.5; });
    }
    void TearDown() override { SetClockForTesting({}); }
};

TDateTimeElementsMaskPosGx Parse(const QString& format, QString* mask = nullptr)
{
    TDateTimeElementsMaskPosGx pos;
    QString m;
    ParseDateTimeEditFormat(format, pos, m);
    if (mask)
        *mask = m;
    return pos;
}

QString Text(const Variant& v)
{
    return v.IsNull() ? QStringLiteral("Null") : FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss"), v.ToDateTime());
}

} // namespace

TEST(DateTimeEditFormat, MasksAndElementPositions)
{
    struct Case { const char* format; const char* mask; int y, yl, mo, d, h, mi, s; };
    const Case cases[] = {
        {"DD/MM/YYYY", "!99/99/9999;1; ", 7, 4, 4, 1, -1, -1, -1},
        {"YYYY/MM/DD HH:NN:SS", "!9999/99/99 99:99:99;1; ", 1, 4, 6, 9, 12, 15, 18},
        {"yy-mm-dd", "!99-99-99;1; ", 1, 2, 4, 7, -1, -1, -1},
        {"\\D\\D", "!DD;1; ", -1, -1, -1, -1, -1, -1, -1},
        {"a\\0", "!\\a0;1; ", -1, -1, -1, -1, -1, -1, -1},
        {"#DD", "!\\#99;1; ", -1, -1, -1, 2, -1, -1, -1},
        {"YYYY\\YMM", "!9999Y99;1; ", 1, 4, 6, -1, -1, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        QString mask;
        const TDateTimeElementsMaskPosGx p = Parse(QString::fromUtf8(c.format), &mask);
        EXPECT_EQ(mask, QString::fromUtf8(c.mask));
        EXPECT_EQ(p.Year.Pos, c.y);
        if (c.y > 0) {
            EXPECT_EQ(p.Year.Length, c.yl);
        }
        EXPECT_EQ(p.Month.Pos, c.mo);
        EXPECT_EQ(p.Day.Pos, c.d);
        EXPECT_EQ(p.Hour.Pos, c.h);
        EXPECT_EQ(p.Min.Pos, c.mi);
        EXPECT_EQ(p.Sec.Pos, c.s);
        EXPECT_EQ(p.Day.Present, c.d > 0);
    }
}

TEST(DateTimeEditFormat, BadFormatsRaise)
{
    struct Case { const char* format; const char* message; };
    const Case cases[] = {
        {"YYY/MM/DD", "Invalid datetime format element length: \"Y\""},
        {"YYYYY", "Element in EditFormat: \"YYYYY\" is too long. Pos: 5"},
        {"DD/MMM", "Element in EditFormat: \"DD/MMM\" is too long. Pos: 6"},
        {"DD/MM/DD", "Duplicating datetime format element: \"D\""},
        {"D/MM", "Invalid datetime format element length: \"D\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TDateTimeElementsMaskPosGx p;
        QString mask = QStringLiteral("untouched");
        try {
            ParseDateTimeEditFormat(QString::fromUtf8(c.format), p, mask);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(c.message));
        }
        EXPECT_EQ(mask, QStringLiteral("untouched"));
        EXPECT_FALSE(p.Day.Present);
    }
}

TEST(DateTimeEditFormat, DisplayFormatAndStepLine)
{
    struct Case { const char* format; const char* display; const char* step; };
    const Case cases[] = {
        {"YYYY年MM月DD日", "YYYY'年'MM'月'DD'日'", "YYYY MM DD "},
        {"dd/mm/yyyy hh:nn", "DD/MM/YYYY' 'HH:NN", "DD/MM/YYYY HH:NN"},
        {"\\D\\DYY", "'DD'YY", "  YY"},
        {"YY'x", "YY'''x'", "YY  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(EditFormatToDisplayFormat(QString::fromUtf8(c.format)), QString::fromUtf8(c.display));
        EXPECT_EQ(EditFormatToStepLine(QString::fromUtf8(c.format)), QString::fromUtf8(c.step));
    }
}

TEST(DateTimeEditFormat, DefaultFormats)
{
    // The platform's short date format puts the year first.
    EXPECT_EQ(ShortDateFormatOrder(), 2);
    EXPECT_EQ(DefaultDateEditFormat(true), QStringLiteral("YYYY/MM/DD"));
    EXPECT_EQ(DefaultDateEditFormat(false), QStringLiteral("YY/MM/DD"));
    EXPECT_EQ(DefaultTimeEditFormat(), QStringLiteral("HH:NN:SS"));
    EXPECT_EQ(ShortDateFormatOrder(QStringLiteral("m/d/yy")), 0);
    EXPECT_EQ(ShortDateFormatOrder(QStringLiteral("dd.MM.yyyy")), 1);
    EXPECT_EQ(ShortDateFormatOrder(QStringLiteral("---")), 1);
}

TEST(DateTimeEditFormat, ElementTexts)
{
    struct Case { const char* text; int value; };
    const Case cases[] = {{"12", 12}, {" 7", 7}, {"1 2", 12}, {"  ", -1}, {"", -1}, {"1a", -1}, {"0024", 24}};
    for (const Case& c : cases)
        EXPECT_EQ(DateTimeElementToInt(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST_F(FixedClock, TwoDigitYearsFollowTheClock)
{
    EXPECT_EQ(ExpandTwoDigitYear(65), 2065);
    EXPECT_EQ(ExpandTwoDigitYear(66), 1966);
    EXPECT_EQ(ExpandTwoDigitYear(0), 2000);
    EXPECT_EQ(ExpandTwoDigitYear(99), 1999);
    EXPECT_EQ(ExpandTwoDigitYear(100), 100);
    EXPECT_EQ(ExpandTwoDigitYear(2024), 2024);
    SetClockForTesting([] { return EncodeDate(2081, 1, 1); });
    EXPECT_EQ(ExpandTwoDigitYear(21), 2021);
    EXPECT_EQ(ExpandTwoDigitYear(20), 2120);
}

TEST_F(FixedClock, ReadingElements)
{
    const TDateTimeElementsMaskPosGx p = Parse(QStringLiteral("YYYY/MM/DD HH:NN"));
    TDateTimeElementsGx e;
    EXPECT_TRUE(ParseDateTimeElements(QStringLiteral("0024/02/29 08:05"), p, e));
    EXPECT_EQ(e.Year, 2024);
    EXPECT_EQ(e.Month, 2);
    EXPECT_EQ(e.Day, 29);
    EXPECT_EQ(e.Hour, 8);
    EXPECT_EQ(e.Min, 5);
    EXPECT_EQ(e.Sec, -1);
    EXPECT_FALSE(ParseDateTimeElements(QStringLiteral("2024/  /29 08:05"), p, e));
    EXPECT_EQ(e.Month, -1);
    const TDateTimeElementsMaskPosGx p2 = Parse(QStringLiteral("YY/MM/DD"));
    EXPECT_TRUE(ParseDateTimeElements(QStringLiteral("65/01/02"), p2, e));
    EXPECT_EQ(e.Year, 2065);
    EXPECT_TRUE(ParseDateTimeElements(QStringLiteral("66/01/02"), p2, e));
    EXPECT_EQ(e.Year, 1966);
}

TEST_F(FixedClock, BuildingValues)
{
    const TDateTimeElementsMaskPosGx date = Parse(QStringLiteral("YYYY/MM/DD"));
    const TDateTimeElementsMaskPosGx full = Parse(QStringLiteral("YYYY/MM/DD HH:NN:SS"));
    const TDateTimeElementsMaskPosGx time = Parse(QStringLiteral("HH:NN"));
    const Variant old = Variant(EncodeDate(2020, 6, 10) + EncodeTime(13, 14, 15, 0).Value);
    struct Case {
        const char* name;
        const TDateTimeElementsMaskPosGx* pos;
        TDateTimeElementsGx e;
        Variant before;
        bool fill;
        bool ok;
        const char* result;
    };
    const Case cases[] = {
        {"all blank", &full, {}, old, false, true, "Null"},
        {"year only", &date, {2023, -1, -1, -1, -1, -1}, Variant::Null(), false, false, "Null"},
        {"year only, filled", &date, {2023, -1, -1, -1, -1, -1}, Variant::Null(), true, true, "2023-03-15 00:00:00"},
        {"february 30 filled", &full, {2023, 2, 30, 25, 70, 99}, Variant::Null(), true, true, "2023-02-28 23:59:59"},
        {"february 30", &date, {2023, 2, 30, -1, -1, -1}, Variant::Null(), false, false, "Null"},
        {"month 13 filled", &date, {2023, 13, 31, -1, -1, -1}, Variant::Null(), true, true, "2023-12-31 00:00:00"},
        {"date keeps old time", &date, {2024, 2, 29, -1, -1, -1}, old, false, true, "2024-02-29 13:14:15"},
        {"time keeps old date", &time, {-1, -1, -1, 8, 30, -1}, old, false, true, "2020-06-10 08:30:15"},
        {"time on nothing", &time, {-1, -1, -1, 8, 30, -1}, Variant::Null(), false, true, "1900-01-01 08:30:00"},
        {"hour 24", &full, {2024, 1, 1, 24, 0, 0}, old, false, false, "Null"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Variant v = c.before;
        EXPECT_EQ(BuildDateTimeValue(c.e, *c.pos, v, c.fill), c.ok);
        EXPECT_EQ(Text(v), QString::fromUtf8(c.result));
    }
}

TEST_F(FixedClock, KeptPartsThatDoNotFitFailQuietly)
{
    // A day-only format on an old value in February: day 31 cannot be kept.
    const TDateTimeElementsMaskPosGx day = Parse(QStringLiteral("DD"));
    Variant v = Variant(EncodeDate(2023, 2, 10));
    EXPECT_FALSE(BuildDateTimeValue({-1, -1, 31, -1, -1, -1}, day, v, false));
    EXPECT_TRUE(v.IsNull());
}

TEST(DateTimeEditFormat, ElementsOfValues)
{
    const TDateTimeElementsGx none = DateTimeToElements(Variant::Null());
    EXPECT_EQ(none.Year, -1);
    EXPECT_EQ(none.Sec, -1);
    const TDateTimeElementsGx e = DateTimeToElements(Variant(TDateTime(EncodeDate(2024, 5, 6).Value + EncodeTime(7, 8, 9, 0).Value)));
    EXPECT_EQ(e.Year, 2024);
    EXPECT_EQ(e.Month, 5);
    EXPECT_EQ(e.Day, 6);
    EXPECT_EQ(e.Hour, 7);
    EXPECT_EQ(e.Min, 8);
    EXPECT_EQ(e.Sec, 9);
}

TEST(DateTimeEditFormat, Stepping)
{
    const QString step = EditFormatToStepLine(QStringLiteral("YYYY/MM/DD HH:NN:SS"));
    const QString shortStep = EditFormatToStepLine(QStringLiteral("YY/MM/DD"));
    struct Case { const char* text; const QString* step; int pos; bool up; bool changed; const char* result; int newPos; int len; };
    const Case cases[] = {
        {"2024/01/15 10:20:30", &step, 6, false, true, "2024/12/15 10:20:30", 6, 2},
        {"2024/12/15 10:20:30", &step, 7, true, true, "2024/01/15 10:20:30", 6, 2},
        {"2024/01/   10:20:30", &step, 9, true, true, "2024/01/01 10:20:30", 9, 2},
        {"2024/01/31 10:20:30", &step, 9, true, true, "2024/01/01 10:20:30", 9, 2},
        {"2024/01/01 10:20:30", &step, 10, false, true, "2024/01/31 10:20:30", 9, 2},
        {"9999/01/01 10:20:30", &step, 2, true, true, "0001/01/01 10:20:30", 1, 4},
        {"0001/01/01 10:20:30", &step, 1, false, true, "9999/01/01 10:20:30", 1, 4},
        {"2024/01/01 23:20:30", &step, 12, true, true, "2024/01/01 00:20:30", 12, 2},
        {"2024/01/01 00:00:30", &step, 15, false, true, "2024/01/01 00:59:30", 15, 2},
        {"2024/01/01 00:00:59", &step, 99, true, true, "2024/01/01 00:00:00", 18, 2},
        // On a separator the element after it steps.
        {"2024/01/15 10:20:30", &step, 5, true, true, "2024/02/15 10:20:30", 6, 2},
        // The blank between date and time is no element.
        {"2024/01/15 10:20:30", &step, 11, true, false, "2024/01/15 10:20:30", 11, 0},
        // A two-digit year stays within 00 to 99.
        {"99/01/01", &shortStep, 1, true, true, "00/01/01", 1, 2},
        {"00/01/01", &shortStep, 2, false, true, "99/01/01", 1, 2},
        {"  /01/01", &shortStep, 1, true, true, "01/01/01", 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SCOPED_TRACE(c.pos);
        QString out;
        int len = -5;
        int pos = c.pos;
        EXPECT_EQ(StepDateTimeElement(QString::fromUtf8(c.text), *c.step, c.up, out, len, pos), c.changed);
        EXPECT_EQ(out, QString::fromUtf8(c.result));
        EXPECT_EQ(pos, c.changed ? c.newPos : c.pos);
        EXPECT_EQ(len, c.len);
    }
}

TEST(DateTimeEditFormat, ElementAtPosition)
{
    int pos = 7;
    int len = -1;
    EXPECT_TRUE(DateTimeElementAtPos(QString(), pos, len, true));
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(len, 2);
    pos = 5;   // the separator: the month after it
    EXPECT_TRUE(DateTimeElementAtPos(QString(), pos, len, true));
    EXPECT_EQ(pos, 6);
    pos = 2;
    EXPECT_TRUE(DateTimeElementAtPos(QString(), pos, len, false));
    EXPECT_EQ(pos, 1);
    EXPECT_EQ(len, 2);
    pos = 8;   // the last character of the short format
    len = 42;
    EXPECT_TRUE(DateTimeElementAtPos(QString(), pos, len, false));
    EXPECT_EQ(pos, 7);
}

TEST(DateTimeEditFormat, KeepingTheTime)
{
    TDateTime d(45000.25);
    ReplaceDatePart(d, TDateTime(40000.75));
    EXPECT_DOUBLE_EQ(d.Value, 45000.75);
    TDateTime neg(-3.1);
    ReplaceDatePart(neg, TDateTime(10.5));
    EXPECT_DOUBLE_EQ(neg.Value, -3.5);
}

TEST(DateTimeEditFormat, DaysInMonths)
{
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 11), 30);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
}
