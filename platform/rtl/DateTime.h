#pragma once
// TDateTime: days since 1899-12-30 as a double, the fraction being the time of day.
// Date and time routines with the platform's fixed settings: short date
// "yyyy-mm-dd", long time "hh:nn:ss", date separator '-', time separator ':'.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <compare>
#include <functional>

struct TDateTime {
    double Value = 0.0;
    constexpr TDateTime() = default;
    constexpr explicit TDateTime(double v) : Value(v) {}
    constexpr auto operator<=>(const TDateTime&) const = default;
    constexpr bool operator==(const TDateTime&) const = default;
};

// Encoding and decoding; EConvertError on an invalid date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out);
void DecodeDate(TDateTime d, int& year, int& month, int& day);
void DecodeTime(TDateTime d, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime d);              // 1 = Sunday .. 7 = Saturday
bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
TDateTime DateOf(TDateTime d);           // time of day dropped
TDateTime TimeOf(TDateTime d);

// Conversion to and from Qt (local time, no time zone shift).
QDateTime ToQDateTime(TDateTime d);
TDateTime FromQDateTime(const QDateTime& dt);
QDate ToQDate(TDateTime d);
TDateTime FromQDate(const QDate& d);

// The clock. Tests replace it to get a fixed "now".
TDateTime Now();
TDateTime Date();
TDateTime Time();
void SetClockForTesting(std::function<TDateTime()> clock); // empty function restores the real clock

// Formatting with the class library's pattern letters (yyyy, yy, m, mm, mmm, mmmm, d, dd,
// ddd, dddd, h, hh, n, nn, s, ss, z, zzz, am/pm, "c", quoted text).
QString FormatDateTime(const QString& format, TDateTime d);
// Default texts: "yyyy-mm-dd", plus " hh:nn:ss" when the time is not midnight (hours, minutes
// or seconds not zero; milliseconds are not shown).
QString DateTimeToStr(TDateTime d);
QString DateToStr(TDateTime d);
QString TimeToStr(TDateTime d);
// Parsing with the platform's settings: accepts "2024-01-05", "2024/1/5", "2024-1-5 8:30",
// "2024-01-05 08:30:00", "2024-01-05T08:30:00.123". EConvertError ("'x' is not a valid date",
// "... valid time", "... valid date and time") on bad text.
TDateTime StrToDate(const QString& s);
TDateTime StrToTime(const QString& s);
TDateTime StrToDateTime(const QString& s);
bool TryStrToDate(const QString& s, TDateTime& out);
bool TryStrToDateTime(const QString& s, TDateTime& out);

// Arithmetic helpers.
TDateTime IncMonth(TDateTime d, int months);
int DaysBetween(TDateTime a, TDateTime b);
