#pragma once
// The platform's fixed regional settings, the same on every machine: ISO dates, 24-hour
// times, '.' as decimal point, ',' between thousands, Chinese month and day names.
#include <QChar>
#include <QString>

namespace FormatSettings {
inline const QChar DateSeparator = QLatin1Char('-');
inline const QChar TimeSeparator = QLatin1Char(':');
inline const QChar DecimalSeparator = QLatin1Char('.');
inline const QChar ThousandSeparator = QLatin1Char(',');
inline const QString ShortDateFormat = QStringLiteral("yyyy-mm-dd");
inline const QString LongDateFormat = QStringLiteral("yyyy'年'm'月'd'日'");
inline const QString ShortTimeFormat = QStringLiteral("hh:nn");
inline const QString LongTimeFormat = QStringLiteral("hh:nn:ss");
inline const QString TimeAMString = QStringLiteral("上午");
inline const QString TimePMString = QStringLiteral("下午");
inline const QString CurrencyString = QStringLiteral("¥");
inline constexpr int TwoDigitYearCenturyWindow = 50;   // "24" is 2024, "80" is 1980 (in 2026)

// Names by number: month 1..12, day of week 1 = Sunday .. 7 = Saturday.
QString ShortMonthName(int month);
QString LongMonthName(int month);
QString ShortDayName(int dayOfWeek);
QString LongDayName(int dayOfWeek);
} // namespace FormatSettings

// A two-digit year (0..99) placed in the century window around the clock's current year;
// other years are returned unchanged.
int ExpandTwoDigitYear(int year);
