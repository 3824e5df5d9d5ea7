#include "DateTime.h"
#include "Exceptions.h"
#include "Format.h"
#include "FormatSettings.h"
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

constexpr qint64 MSecsPerDay = 86400000;
constexpr double MaxDateTime = 2958466.0;   // 9999-12-31 + 1
// The Julian day of 1899-12-30, day 0 of TDateTime; a constant, so that dates converted while
// other files are still being initialised at start-up are right too.
constexpr qint64 BaseJulianDay = 2415019;

using namespace FormatSettings;
const char16_t* const MonthNames[12] = {u"一月", u"二月", u"三月", u"四月", u"五月", u"六月",
                                        u"七月", u"八月", u"九月", u"十月", u"十一月", u"十二月"};
const char16_t* const DayNames[7] = {u"星期日", u"星期一", u"星期二", u"星期三", u"星期四", u"星期五", u"星期六"};

bool inRange(double v) { return std::isfinite(v) && std::fabs(v) < MaxDateTime; }

// Whole days (signed, truncated toward zero) and milliseconds of the day. A negative
// value keeps its time of day in the fraction's absolute value.
void splitValue(TDateTime d, qint64& days, qint64& ms)
{
    double ip = 0;
    double fp = std::modf(d.Value, &ip);
    days = qint64(ip);
    ms = std::llround(std::fabs(fp) * double(MSecsPerDay));
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        days += d.Value < 0 ? -1 : 1;
    }
}

TDateTime combine(double date, double time)
{
    return TDateTime(date >= 0 ? date + time : date - time);
}

std::mutex clockMutex;
std::function<TDateTime()>& clockOverride()
{
    static std::function<TDateTime()> f;
    return f;
}

QString pad(int v, int width) { return QString::number(v).rightJustified(width, QLatin1Char('0')); }

void appendFormat(QString& out, const QString& fmt, TDateTime d, int depth);

// The count of the run of the letter at i (either case).
int runLength(const QString& fmt, int i)
{
    QChar u = fmt[i].toUpper();
    int j = i;
    while (j < fmt.size() && fmt[j].toUpper() == u)
        ++j;
    return j - i;
}

bool startsWithCI(const QString& fmt, int i, const char* what)
{
    return fmt.mid(i, int(qstrlen(what))).compare(QLatin1String(what), Qt::CaseInsensitive) == 0;
}

bool usesAmPm(const QString& fmt)
{
    QChar quote;
    for (int i = 0; i < fmt.size(); ++i) {
        QChar c = fmt[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (startsWithCI(fmt, i, "am/pm") || startsWithCI(fmt, i, "a/p") || startsWithCI(fmt, i, "ampm")) {
            return true;
        }
    }
    return false;
}

void appendFormat(QString& out, const QString& fmt, TDateTime d, int depth)
{
    if (depth > 2)
        return;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, sec = 0, msec = 0;
    DecodeDate(d, year, month, day);
    DecodeTime(d, hour, minute, sec, msec);
    const bool twelve = usesAmPm(fmt);
    QChar last = QLatin1Char(' ');
    int i = 0;
    while (i < fmt.size()) {
        QChar c = fmt[i];
        QChar token = c.toUpper();
        if (token >= QLatin1Char('A') && token <= QLatin1Char('Z')) {
            if (token == QLatin1Char('M') && last == QLatin1Char('H'))
                token = QLatin1Char('N');
            last = token;
        }
        int count = 1;
        switch (token.unicode()) {
        case 'Y':
            count = runLength(fmt, i);
            out += count <= 2 ? pad(year % 100, 2) : pad(year, 4);
            break;
        case 'G':
            count = runLength(fmt, i);   // era: none on this platform
            break;
        case 'M':
            count = runLength(fmt, i);
            if (count == 1)
                out += QString::number(month);
            else if (count == 2)
                out += pad(month, 2);
            else if (month >= 1)
                out += count == 3 ? ShortMonthName(month) : LongMonthName(month);
            break;
        case 'D':
            count = runLength(fmt, i);
            if (count == 1)
                out += QString::number(day);
            else if (count == 2)
                out += pad(day, 2);
            else if (count <= 4)
                out += year ? (count == 3 ? ShortDayName(DayOfWeek(d)) : LongDayName(DayOfWeek(d))) : QString();
            else
                appendFormat(out, count == 5 ? ShortDateFormat : LongDateFormat, d, depth + 1);
            break;
        case 'H': {
            count = runLength(fmt, i);
            int h = hour;
            if (twelve) {
                h = hour % 12;
                if (h == 0)
                    h = 12;
            }
            out += count == 1 ? QString::number(h) : pad(h, 2);
            break;
        }
        case 'N':
            count = runLength(fmt, i);
            out += count == 1 ? QString::number(minute) : pad(minute, 2);
            break;
        case 'S':
            count = runLength(fmt, i);
            out += count == 1 ? QString::number(sec) : pad(sec, 2);
            break;
        case 'Z':
            count = runLength(fmt, i);
            out += count <= 2 ? QString::number(msec) : pad(msec, 3);
            break;
        case 'T':
            count = runLength(fmt, i);
            appendFormat(out, count == 1 ? ShortTimeFormat : LongTimeFormat, d, depth + 1);
            break;
        case 'C':
            count = runLength(fmt, i);
            appendFormat(out, ShortDateFormat, d, depth + 1);
            if (hour || minute || sec) {   // milliseconds alone do not show the time
                out += QLatin1Char(' ');
                appendFormat(out, LongTimeFormat, d, depth + 1);
            }
            break;
        case 'A':
            if (startsWithCI(fmt, i, "am/pm")) {
                QString am = fmt.mid(i, 2), pm = fmt.mid(i + 3, 2);
                out += hour >= 12 ? pm : am;
                count = 5;
            } else if (startsWithCI(fmt, i, "a/p")) {
                out += hour >= 12 ? fmt[i + 2] : fmt[i];
                count = 3;
            } else if (startsWithCI(fmt, i, "ampm")) {
                out += hour >= 12 ? TimePMString : TimeAMString;
                count = 4;
            } else {
                out += c;
            }
            break;
        case '/':
            out += DateSeparator;
            break;
        case ':':
            out += TimeSeparator;
            break;
        case '"':
        case '\'': {
            int j = fmt.indexOf(c, i + 1);
            if (j < 0)
                j = int(fmt.size());
            out += fmt.mid(i + 1, j - i - 1);
            count = j - i + 1;
            break;
        }
        default:
            out += c;
            break;
        }
        i += count;
    }
}

// ---- parsing ---------------------------------------------------------------------------

struct Scanner {
    const QString& s;
    int pos = 0;
    explicit Scanner(const QString& text) : s(text) {}
    void blanks()
    {
        while (pos < s.size() && s[pos].isSpace())
            ++pos;
    }
    bool atEnd() const { return pos >= s.size(); }
    bool number(int& v, int& digits)
    {
        int start = pos;
        long long acc = 0;
        while (pos < s.size() && s[pos].unicode() >= '0' && s[pos].unicode() <= '9') {
            if (pos - start < 9)
                acc = acc * 10 + (s[pos].unicode() - '0');
            ++pos;
        }
        digits = pos - start;
        if (digits == 0 || digits > 9)
            return false;
        v = int(acc);
        return true;
    }
    bool ch(QChar c)
    {
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    bool dateSep()
    {
        return ch(DateSeparator) || ch(QLatin1Char('/'));
    }
    bool ampm(bool& pm)
    {
        static const struct { const char16_t* text; bool pm; } marks[] = {
            {u"AM", false}, {u"PM", true}, {u"A", false}, {u"P", true},
            {u"上午", false}, {u"下午", true}};
        for (const auto& m : marks) {
            QString t = QString::fromUtf16(m.text);
            if (s.mid(pos, t.size()).compare(t, Qt::CaseInsensitive) == 0) {
                pos += int(t.size());
                pm = m.pm;
                return true;
            }
        }
        return false;
    }
};

int expandYear(int year, int digits) { return digits > 2 ? year : ExpandTwoDigitYear(year); }

// Date in year-month-day order, or month-day in the current year.
bool scanDate(Scanner& sc, double& out)
{
    sc.blanks();
    int n1 = 0, d1 = 0, n2 = 0, d2 = 0, n3 = 0, d3 = 0;
    if (!sc.number(n1, d1) || !sc.dateSep() || !sc.number(n2, d2))
        return false;
    int year, month, day;
    int save = sc.pos;
    if (sc.dateSep() && sc.number(n3, d3)) {
        year = expandYear(n1, d1);
        month = n2;
        day = n3;
    } else {
        sc.pos = save;
        int m = 0, dd = 0;
        DecodeDate(Date(), year, m, dd);
        month = n1;
        day = n2;
    }
    TDateTime r;
    if (!TryEncodeDate(year, month, day, r))
        return false;
    out = r.Value;
    return true;
}

bool scanTime(Scanner& sc, double& out)
{
    sc.blanks();
    int hour = 0, min = 0, sec = 0, msec = 0, digits = 0;
    if (!sc.number(hour, digits))
        return false;
    bool haveMinutes = false;
    if (sc.ch(TimeSeparator)) {
        if (!sc.number(min, digits))
            return false;
        haveMinutes = true;
        if (sc.ch(TimeSeparator)) {
            if (!sc.number(sec, digits))
                return false;
            if (sc.ch(QLatin1Char('.'))) {
                int frac = 0;
                if (!sc.number(frac, digits))
                    return false;
                // ".1" is 100 ms, ".123" is 123 ms; further digits are dropped.
                QString f = sc.s.mid(sc.pos - digits, digits).left(3).leftJustified(3, QLatin1Char('0'));
                msec = f.toInt();
            }
        }
    }
    sc.blanks();
    bool pm = false;
    bool hasMark = sc.ampm(pm);
    if (!haveMinutes && !hasMark)
        return false;
    if (hasMark) {
        if (hour == 0 || hour > 12)
            return false;
        if (pm && hour < 12)
            hour += 12;
        else if (!pm && hour == 12)
            hour = 0;
    }
    TDateTime r;
    if (!TryEncodeTime(hour, min, sec, msec, r))
        return false;
    out = r.Value;
    return true;
}

bool parseDateTime(const QString& s, TDateTime& out)
{
    Scanner sc(s);
    double date = 0, time = 0;
    if (scanDate(sc, date)) {
        sc.blanks();
        if (sc.atEnd()) {
            out = TDateTime(date);
            return true;
        }
        sc.ch(QLatin1Char('T'));
        if (scanTime(sc, time)) {
            sc.blanks();
            if (sc.atEnd()) {
                out = combine(date, time);
                return true;
            }
        }
    }
    Scanner tsc(s);
    if (scanTime(tsc, time)) {
        tsc.blanks();
        if (tsc.atEnd()) {
            out = TDateTime(time);
            return true;
        }
    }
    return false;
}

} // namespace

QString FormatSettings::ShortMonthName(int month)
{
    return month >= 1 && month <= 12 ? QString::fromUtf16(MonthNames[month - 1]) : QString();
}
QString FormatSettings::LongMonthName(int month) { return ShortMonthName(month); }
QString FormatSettings::ShortDayName(int dayOfWeek)
{
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? QString::fromUtf16(DayNames[dayOfWeek - 1]) : QString();
}
QString FormatSettings::LongDayName(int dayOfWeek) { return ShortDayName(dayOfWeek); }

int ExpandTwoDigitYear(int year)
{
    if (year < 0 || year > 99)
        return year;
    int current = 0, m = 0, d = 0;
    DecodeDate(Date(), current, m, d);
    int century = current - TwoDigitYearCenturyWindow;
    year += century / 100 * 100;
    if (year < century)
        year += 100;
    return year;
}

bool IsLeapYear(int year) { return (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    out = TDateTime(double(QDate(year, month, day).toJulianDay() - BaseJulianDay));
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    qint64 ms = ((qint64(hour) * 60 + min) * 60 + sec) * 1000 + msec;
    out = TDateTime(double(ms) / double(MSecsPerDay));
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime d;
    if (!TryEncodeDate(year, month, day, d))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return d;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime d;
    if (!TryEncodeTime(hour, min, sec, msec, d))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return d;
}

void DecodeDate(TDateTime d, int& year, int& month, int& day)
{
    year = month = day = 0;
    if (!inRange(d.Value))
        return;
    qint64 days = 0, ms = 0;
    splitValue(d, days, ms);
    QDate q = QDate::fromJulianDay(BaseJulianDay + days);
    if (q.year() < 1)
        return;
    year = q.year();
    month = q.month();
    day = q.day();
}

void DecodeTime(TDateTime d, int& hour, int& min, int& sec, int& msec)
{
    hour = min = sec = msec = 0;
    if (!inRange(d.Value))
        return;
    qint64 days = 0, ms = 0;
    splitValue(d, days, ms);
    msec = int(ms % 1000);
    ms /= 1000;
    sec = int(ms % 60);
    ms /= 60;
    min = int(ms % 60);
    hour = int(ms / 60);
}

int DayOfWeek(TDateTime d)
{
    if (!inRange(d.Value))
        return 1;
    qint64 days = 0, ms = 0;
    splitValue(d, days, ms);
    // 1899-12-30 was a Saturday (7).
    qint64 w = (days + 6) % 7;
    if (w < 0)
        w += 7;
    return int(w) + 1;
}

TDateTime DateOf(TDateTime d)
{
    qint64 days = 0, ms = 0;
    splitValue(d, days, ms);
    return TDateTime(double(days));
}

TDateTime TimeOf(TDateTime d)
{
    qint64 days = 0, ms = 0;
    splitValue(d, days, ms);
    return TDateTime(double(ms) / double(MSecsPerDay));
}

QDateTime ToQDateTime(TDateTime d)
{
    if (!inRange(d.Value))
        return QDateTime();
    qint64 days = 0, ms = 0;
    splitValue(d, days, ms);
    return QDateTime(QDate::fromJulianDay(BaseJulianDay + days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

TDateTime FromQDateTime(const QDateTime& dt)
{
    if (!dt.isValid())
        return TDateTime();
    double date = double(dt.date().toJulianDay() - BaseJulianDay);
    double time = double(dt.time().msecsSinceStartOfDay()) / double(MSecsPerDay);
    return combine(date, time);
}

QDate ToQDate(TDateTime d)
{
    if (!inRange(d.Value))
        return QDate();
    qint64 days = 0, ms = 0;
    splitValue(d, days, ms);
    return QDate::fromJulianDay(BaseJulianDay + days);
}

TDateTime FromQDate(const QDate& d)
{
    return d.isValid() ? TDateTime(double(d.toJulianDay() - BaseJulianDay)) : TDateTime();
}

TDateTime Now()
{
    std::function<TDateTime()> f;
    {
        std::lock_guard<std::mutex> lock(clockMutex);
        f = clockOverride();
    }
    return f ? f() : FromQDateTime(QDateTime::currentDateTime());
}

TDateTime Date() { return DateOf(Now()); }
TDateTime Time() { return TimeOf(Now()); }

void SetClockForTesting(std::function<TDateTime()> clock)
{
    std::lock_guard<std::mutex> lock(clockMutex);
    clockOverride() = std::move(clock);
}

QString FormatDateTime(const QString& format, TDateTime d)
{
    QString out;
    appendFormat(out, format.isEmpty() ? QStringLiteral("c") : format, d, 0);
    return out;
}

QString DateTimeToStr(TDateTime d)
{
    // Statements name the same date line after line: the last text is kept.
    thread_local double last = 0;
    thread_local QString text;
    if (text.isNull() || std::memcmp(&last, &d.Value, sizeof last) != 0) {
        text = FormatDateTime(QStringLiteral("c"), d);
        last = d.Value;
    }
    return text;
}
QString DateToStr(TDateTime d) { return FormatDateTime(ShortDateFormat, d); }
QString TimeToStr(TDateTime d) { return FormatDateTime(LongTimeFormat, d); }

bool TryStrToDate(const QString& s, TDateTime& out)
{
    Scanner sc(s);
    double v = 0;
    if (!scanDate(sc, v))
        return false;
    sc.blanks();
    if (!sc.atEnd())
        return false;
    out = TDateTime(v);
    return true;
}

bool TryStrToDateTime(const QString& s, TDateTime& out) { return parseDateTime(s, out); }

TDateTime StrToDate(const QString& s)
{
    TDateTime d;
    if (!TryStrToDate(s, d))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(s));
    return d;
}

TDateTime StrToTime(const QString& s)
{
    Scanner sc(s);
    double v = 0;
    if (scanTime(sc, v)) {
        sc.blanks();
        if (sc.atEnd())
            return TDateTime(v);
    }
    throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(s));
}

TDateTime StrToDateTime(const QString& s)
{
    TDateTime d;
    if (!TryStrToDateTime(s, d))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(s));
    return d;
}

TDateTime IncMonth(TDateTime d, int months)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(d, year, month, day);
    if (year == 0)
        return d;
    int total = year * 12 + (month - 1) + months;
    year = total / 12;
    month = total % 12 + 1;
    day = std::min(day, DaysInAMonth(year, month));
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    qint64 days = 0, ms = 0;
    splitValue(d, days, ms);
    return combine(date.Value, double(ms) / double(MSecsPerDay));
}

int DaysBetween(TDateTime a, TDateTime b)
{
    auto millis = [](TDateTime d) {
        qint64 days = 0, ms = 0;
        splitValue(d, days, ms);
        return days * MSecsPerDay + (d.Value < 0 ? -ms : ms);
    };
    qint64 diff = millis(a) - millis(b);
    return int((diff < 0 ? -diff : diff) / MSecsPerDay);
}
