// TDateTime: encoding, formatting with the pattern letters, parsing with the fixed settings.
#include "DateTime.h"
#include "Exceptions.h"
#include <gtest/gtest.h>

namespace {
TDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return TDateTime(EncodeDate(y, mo, d).Value + EncodeTime(h, mi, s, ms).Value);
}

// Converted while the program's files are still being initialised.
const QDate kStartupDate = ToQDate(TDateTime(2.0));

struct FixedClock {
    explicit FixedClock(TDateTime t) { SetClockForTesting([t] { return t; }); }
    ~FixedClock() { SetClockForTesting({}); }
};
} // namespace

TEST(DateTime, ConversionsAreRightDuringStartUp)
{
    EXPECT_EQ(kStartupDate, QDate(1900, 1, 1));
}

TEST(DateTime, EncodeDecode)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30).Value, 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1).Value, 2);
    EXPECT_EQ(EncodeDate(2024, 1, 5).Value, 45296);
    EXPECT_EQ(EncodeDate(1899, 12, 29).Value, -1);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0).Value, 0.5);
    int y, m, d, h, mi, s, ms;
    TDateTime t = at(2024, 2, 29, 23, 59, 59, 999);
    DecodeDate(t, y, m, d);
    DecodeTime(t, h, mi, s, ms);
    EXPECT_EQ(QList<int>({y, m, d, h, mi, s, ms}), QList<int>({2024, 2, 29, 23, 59, 59, 999}));
    DecodeTime(TDateTime(-1.25), h, mi, s, ms);   // before the base date the fraction is still the time
    DecodeDate(TDateTime(-1.25), y, m, d);
    EXPECT_EQ(QList<int>({y, m, d, h}), QList<int>({1899, 12, 29, 6}));
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 7)), 1);   // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 6)), 7);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_EQ(IncMonth(at(2024, 1, 31, 8), 1), at(2024, 2, 29, 8));
    EXPECT_EQ(IncMonth(at(2024, 1, 31), -2), at(2023, 11, 30));
    EXPECT_EQ(DaysBetween(at(2024, 1, 1, 12), at(2024, 1, 3, 11)), 1);
    EXPECT_EQ(DateOf(at(2024, 1, 5, 13, 30)), at(2024, 1, 5));
    EXPECT_EQ(ToQDateTime(at(2024, 1, 5, 13, 30, 15, 250)),
              QDateTime(QDate(2024, 1, 5), QTime(13, 30, 15, 250)));
    EXPECT_EQ(FromQDateTime(QDateTime(QDate(2024, 1, 5), QTime(13, 30, 15, 250))), at(2024, 1, 5, 13, 30, 15, 250));
}

TEST(DateTime, ClockOverride)
{
    {
        FixedClock clock(at(2024, 3, 1, 10, 20));
        EXPECT_EQ(Now(), at(2024, 3, 1, 10, 20));
        EXPECT_EQ(Date(), at(2024, 3, 1));
        EXPECT_EQ(Time(), EncodeTime(10, 20, 0, 0));
    }
    EXPECT_GT(Now().Value, at(2025, 1, 1).Value);
}

TEST(DateTime, FormatTable)
{
    const TDateTime t = at(2024, 1, 5, 8, 7, 6, 45);
    const TDateTime pm = at(2024, 11, 25, 15, 4, 0);
    struct Case { const char* fmt; TDateTime d; const char* text; };
    const Case cases[] = {
        {"yyyy-mm-dd hh:nn:ss", t, "2024-01-05 08:07:06"},
        {"YYYY/MM/DD", t, "2024-01-05"},           // '/' is the date separator '-'
        {"yy.m.d", t, "24.1.5"},
        {"h:n:s.zzz", t, "8:7:6.045"},
        {"hh:mm", t, "08:07"},                     // m after h is minutes
        {"YYYY年MM月DD日", t, "2024年01月05日"},
        {"mmm mmmm", t, "一月 一月"},
        {"ddd dddd", t, "星期五 星期五"},
        {"ddddd", t, "2024-01-05"},
        {"dddddd", t, "2024年1月5日"},
        {"c", t, "2024-01-05 08:07:06"},
        {"c", at(2024, 1, 5), "2024-01-05"},
        {"c", at(2024, 1, 5, 0, 0, 0, 500), "2024-01-05"},
        {"t", t, "08:07"},
        {"tt", pm, "15:04:00"},
        {"h:nn am/pm", pm, "3:04 pm"},
        {"h:nn AM/PM", t, "8:07 AM"},
        {"hh a/p", at(2024, 1, 5, 0, 0), "12 a"},
        {"h ampm", pm, "3 下午"},
        {"'yyyy' \"mm\" d", t, "yyyy mm 5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.fmt), c.d), QString::fromUtf8(c.text)) << c.fmt;
    EXPECT_EQ(DateTimeToStr(t), QStringLiteral("2024-01-05 08:07:06"));
    EXPECT_EQ(DateTimeToStr(at(2024, 1, 5)), QStringLiteral("2024-01-05"));
    EXPECT_EQ(DateToStr(t), QStringLiteral("2024-01-05"));
    EXPECT_EQ(TimeToStr(t), QStringLiteral("08:07:06"));
}

TEST(DateTime, ParseTable)
{
    FixedClock clock(at(2026, 6, 15, 9));
    struct Case { const char* text; bool ok; TDateTime d; };
    const Case cases[] = {
        {"2024-01-05", true, at(2024, 1, 5)},
        {"2024/1/5", true, at(2024, 1, 5)},
        {" 2024-1-5 8:30", true, at(2024, 1, 5, 8, 30)},
        {"2024-01-05 08:30:00", true, at(2024, 1, 5, 8, 30)},
        {"2024-01-05T08:30:00.123", true, at(2024, 1, 5, 8, 30, 0, 123)},
        {"2024-01-05 3:05 PM", true, at(2024, 1, 5, 15, 5)},
        {"24-1-5", true, at(2024, 1, 5)},
        {"80-1-5", true, at(1980, 1, 5)},
        {"3-4", true, at(2026, 3, 4)},
        {"8:30", true, at(1899, 12, 30, 8, 30)},
        {"2024-02-30", false, {}},
        {"2024-01-05 25:00", false, {}},
        {"2024-01-05x", false, {}},
        {"05.01.2024", false, {}},
        {"", false, {}},
        {"abc", false, {}},
    };
    for (const Case& c : cases) {
        TDateTime d;
        EXPECT_EQ(TryStrToDateTime(QString::fromUtf8(c.text), d), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(d, c.d) << c.text;
        }
    }
    EXPECT_EQ(StrToDate("2024-1-5"), at(2024, 1, 5));
    EXPECT_EQ(StrToTime("08:30:15"), EncodeTime(8, 30, 15, 0));
    struct Err { std::function<void()> f; const char* msg; };
    const Err errors[] = {
        {[] { StrToDate("2024-01-05 8:30"); }, "'2024-01-05 8:30' is not a valid date"},
        {[] { StrToDate("x"); }, "'x' is not a valid date"},
        {[] { StrToTime("8"); }, "'8' is not a valid time"},
        {[] { StrToDateTime("2024-13-01"); }, "'2024-13-01' is not a valid date and time"},
    };
    for (const Err& e : errors) {
        try {
            e.f();
            ADD_FAILURE() << e.msg;
        } catch (const EConvertError& x) {
            EXPECT_EQ(x.Message(), QString::fromUtf8(e.msg));
        }
    }
}
