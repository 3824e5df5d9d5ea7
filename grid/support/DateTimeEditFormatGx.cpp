#include "DateTimeEditFormatGx.h"
#include "DateTime.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include <cmath>

namespace DBCtrlsGx {

namespace {

const QString& kShortDateFormat = FormatSettings::ShortDateFormat;
const QChar& kDateSeparator = FormatSettings::DateSeparator;
const QChar& kTimeSeparator = FormatSettings::TimeSeparator;

bool IsElementLetter(QChar u)
{
    return u == u'Y' || u == u'M' || u == u'D' || u == u'H' || u == u'N' || u == u'S';
}

bool IsMaskDirective(QChar u)
{
    static const QString directives = QStringLiteral("!#09;<>ACL");
    return directives.contains(u);
}

QString Quoted(const QString& s) { return u'"' + s + u'"'; }

TElementMaskPosGx& ElementOf(TDateTimeElementsMaskPosGx& m, QChar letter)
{
    switch (letter.unicode()) {
    case 'Y': return m.Year;
    case 'M': return m.Month;
    case 'D': return m.Day;
    case 'H': return m.Hour;
    case 'N': return m.Min;
    default: return m.Sec;
    }
}

// A step line shows '/' and ':' where the edit text has the date and time separators.
bool IsSeparatorAt(const QString& line, int pos)
{
    const QChar c = line.at(pos - 1);
    return c == kDateSeparator || c == kTimeSeparator || c == u'/' || c == u':';
}

// Steps 1 to 4 of stepping: finds the element run under Pos in a step line.
bool FindElementRun(const QString& line, int& pos, int& start, int& runLength, QChar& letter)
{
    if (line.isEmpty())
        return false;
    pos = qBound(1, pos, int(line.size()));
    if (IsSeparatorAt(line, pos)) {
        if (pos + 1 > line.size())
            return false;
        ++pos;
    }
    letter = line.at(pos - 1).toUpper();
    if (!IsElementLetter(letter))
        return false;
    int i = 0;
    while (line.at(i).toUpper() != letter)
        ++i;
    start = i + 1;
    runLength = 0;
    while (i < line.size() && line.at(i).toUpper() == letter) {
        ++runLength;
        ++i;
    }
    return true;
}

TDateTime Compose(TDateTime date, TDateTime time)
{
    return TDateTime(date.Value < 0 ? date.Value - std::fabs(time.Value) : date.Value + std::fabs(time.Value));
}

} // namespace

int ShortDateFormatOrder(const QString& shortDateFormat)
{
    for (QChar c : shortDateFormat) {
        const QChar u = c.toUpper();
        if (u == u'M') return 0;
        if (u == u'D') return 1;
        if (u == u'Y') return 2;
    }
    return 1;
}

int ShortDateFormatOrder() { return ShortDateFormatOrder(kShortDateFormat); }

QString DefaultDateEditFormat(bool fourDigitYear)
{
    const QString y = fourDigitYear ? QStringLiteral("YYYY") : QStringLiteral("YY");
    switch (ShortDateFormatOrder()) {
    case 0: return QStringLiteral("MM/DD/") + y;
    case 1: return QStringLiteral("DD/MM/") + y;
    default: return y + QStringLiteral("/MM/DD");
    }
}

QString DefaultTimeEditFormat() { return QStringLiteral("HH:NN:SS"); }

void ParseDateTimeEditFormat(const QString& editFormat, TDateTimeElementsMaskPosGx& maskPos, QString& mask)
{
    TDateTimeElementsMaskPosGx result;
    QString text;
    QChar letter;        // current run's letter; null when no run is open
    int run = 0;
    int pos = 1;
    bool escape = false;

    auto storeRun = [&]() {
        if (letter.isNull())
            return;
        const bool lengthOk = letter == u'Y' ? (run == 2 || run == 4) : run == 2;
        if (!lengthOk)
            throw Exception(QStringLiteral("Invalid datetime format element length: ") + Quoted(letter));
        TElementMaskPosGx& e = ElementOf(result, letter);
        if (e.Present)
            throw Exception(QStringLiteral("Duplicating datetime format element: ") + Quoted(letter));
        e.Pos = pos - run;
        e.Length = run;
        e.Present = true;
        text += QString(run, u'9');
        letter = QChar();
        run = 0;
    };

    for (int i = 0; i < editFormat.size(); ++i) {
        const QChar c = editFormat.at(i);
        const QChar u = c.toUpper();
        if (IsElementLetter(u) && !escape) {
            if (u == letter) {
                ++run;
            } else {
                storeRun();
                letter = u;
                run = 1;
            }
            if ((u == u'Y' && run > 4) || (u != u'Y' && run > 2))
                throw Exception(QStringLiteral("Element in EditFormat: ") + Quoted(editFormat)
                                + QStringLiteral(" is too long. Pos: ") + QString::number(i + 1));
            ++pos;
            continue;
        }
        storeRun();
        if (c == u'\\' && !escape) {
            escape = true;
            continue;
        }
        if (IsMaskDirective(u) && !escape)
            text += u'\\';
        text += c;
        escape = false;
        ++pos;
    }
    storeRun();
    maskPos = result;
    mask = QStringLiteral("!") + text + QStringLiteral(";1; ");
}

QString EditFormatToDisplayFormat(const QString& editFormat)
{
    QString out;
    bool escape = false;
    bool quoted = false;
    for (QChar c : editFormat) {
        const QChar u = c.toUpper();
        if (!escape && c == u'\\') {
            escape = true;
            continue;
        }
        if (!escape && (IsElementLetter(u) || c == u'/' || c == u':')) {
            if (quoted) {
                out += u'\'';
                quoted = false;
            }
            out += u;
        } else {
            if (!quoted) {
                out += u'\'';
                quoted = true;
            }
            out += c;
            if (c == u'\'')
                out += c;
        }
        escape = false;
    }
    if (quoted)
        out += u'\'';
    return out;
}

QString EditFormatToStepLine(const QString& editFormat)
{
    QString out;
    bool escape = false;
    for (QChar c : editFormat) {
        const QChar u = c.toUpper();
        if (!escape && c == u'\\') {
            escape = true;
            continue;
        }
        out += (!escape && (IsElementLetter(u) || c == u'/' || c == u':')) ? u : QChar(u' ');
        escape = false;
    }
    return out;
}

int DateTimeElementToInt(const QString& s)
{
    QString digits;
    for (QChar c : s) {
        if (c == u' ')
            continue;
        if (c < u'0' || c > u'9')
            return -1;
        digits += c;
    }
    if (digits.isEmpty())
        return -1;
    bool ok = false;
    const int v = digits.toInt(&ok);
    return ok ? v : -1;
}

bool ParseDateTimeElements(const QString& text, const TDateTimeElementsMaskPosGx& maskPos, TDateTimeElementsGx& elements)
{
    bool allRead = true;
    auto read = [&](const TElementMaskPosGx& m) {
        if (!m.Present)
            return -1;
        const int v = DateTimeElementToInt(text.mid(m.Pos - 1, m.Length));
        if (v < 0)
            allRead = false;
        return v;
    };
    elements.Year = read(maskPos.Year);
    elements.Month = read(maskPos.Month);
    elements.Day = read(maskPos.Day);
    elements.Hour = read(maskPos.Hour);
    elements.Min = read(maskPos.Min);
    elements.Sec = read(maskPos.Sec);
    if (elements.Year >= 0)
        elements.Year = ExpandTwoDigitYear(elements.Year);
    return allRead;
}

bool BuildDateTimeValue(TDateTimeElementsGx e, const TDateTimeElementsMaskPosGx& m, Variant& value, bool fill)
{
    if (e.Year == -1 && e.Month == -1 && e.Day == -1 && e.Hour == -1 && e.Min == -1 && e.Sec == -1) {
        value = Variant::Null();
        return true;
    }
    if (fill) {
        int ty = 0, tm = 0, td = 0;
        DecodeDate(Date(), ty, tm, td);
        if (e.Year < 1) e.Year = ty;
        if (e.Month < 1) e.Month = tm;
        if (e.Day < 1) e.Day = td;
        if (e.Month > 12) e.Month = 12;
        if (e.Year > 9999) e.Year = 9999;
        if (e.Year >= 0) e.Year = ExpandTwoDigitYear(e.Year);
        e.Day = qMin(e.Day, DaysInMonth(e.Year, e.Month));
        e.Hour = qBound(0, e.Hour, 23);
        e.Min = qBound(0, e.Min, 59);
        e.Sec = qBound(0, e.Sec, 59);
    } else {
        if (!m.Year.Present && e.Year <= 0) e.Year = 1;
        if (!m.Month.Present && e.Month <= 0) e.Month = 1;
        if (!m.Day.Present && e.Day <= 0) e.Day = 1;
        if (!m.Hour.Present && e.Hour < 0) e.Hour = 0;
        if (!m.Min.Present && e.Min < 0) e.Min = 0;
        if (!m.Sec.Present && e.Sec < 0) e.Sec = 0;
    }

    const bool pureTime = e.Year < 0 && e.Month < 0 && e.Day < 0;
    bool valid = pureTime
        || (e.Year >= 1 && e.Year <= 9999 && e.Month >= 1 && e.Month <= 12 && e.Day >= 1
            && e.Day <= DaysInMonth(e.Year, e.Month));
    valid = valid && e.Hour >= 0 && e.Hour < 24 && e.Min >= 0 && e.Min < 60 && e.Sec >= 0 && e.Sec < 60;
    if (!valid) {
        value = Variant::Null();
        return false;
    }

    int y = 1900, mo = 1, d = 1, h = 0, mi = 0, s = 0, ms = 0;
    if (!value.IsEmptyOrNull()) {
        const TDateTime old = value.ToDateTime();
        DecodeDate(old, y, mo, d);
        DecodeTime(old, h, mi, s, ms);
    }
    if (m.Year.Present && e.Year > 0) y = e.Year;
    if (m.Month.Present && e.Month > 0) mo = e.Month;
    if (m.Day.Present && e.Day > 0) d = e.Day;
    if (m.Hour.Present && e.Hour >= 0) h = e.Hour;
    if (m.Min.Present && e.Min >= 0) mi = e.Min;
    if (m.Sec.Present && e.Sec >= 0) s = e.Sec;

    // The kept parts of the old value may not fit the new ones (day 31 in a
    // 30-day month kept from the old value): that is a failed build, not an error.
    TDateTime date, time;
    if (!TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, s, ms, time)) {
        value = Variant::Null();
        return false;
    }
    value = Variant(Compose(date, time));
    return true;
}

TDateTimeElementsGx DateTimeToElements(const Variant& value)
{
    TDateTimeElementsGx e;
    if (value.IsEmptyOrNull())
        return e;
    const TDateTime dt = value.ToDateTime();
    int ms = 0;
    DecodeDate(dt, e.Year, e.Month, e.Day);
    DecodeTime(dt, e.Hour, e.Min, e.Sec, ms);
    return e;
}

bool StepDateTimeElement(const QString& text, const QString& stepLine, bool increase,
                         QString& newText, int& len, int& pos)
{
    newText = text;
    len = 0;
    int at = pos;
    int start = 0;
    int runLength = 0;
    QChar letter;
    if (!FindElementRun(stepLine, at, start, runLength, letter))
        return false;

    bool ok = false;
    int v = text.mid(start - 1, runLength).trimmed().toInt(&ok);
    if (!ok)
        v = 0;
    int bottom = 0;
    int top = 59;
    switch (letter.unicode()) {
    case 'D': bottom = 1; top = 31; break;
    case 'M': bottom = 1; top = 12; break;
    // A two-digit year stays a two-digit year.
    case 'Y': bottom = runLength == 2 ? 0 : 1; top = runLength == 2 ? 99 : 9999; break;
    case 'H': bottom = 0; top = 23; break;
    default: break;
    }
    if (increase)
        v = v >= top ? bottom : v + 1;
    else
        v = v <= bottom ? top : v - 1;

    newText = text.left(start - 1) + QString::number(v).rightJustified(runLength, u'0')
              + text.mid(start - 1 + runLength, 255);
    pos = start;
    len = runLength;
    return true;
}

bool DateTimeElementAtPos(const QString&, int& pos, int& len, bool fourDigitYear)
{
    int at = pos;
    int start = 0;
    int runLength = 0;
    QChar letter;
    if (!FindElementRun(DefaultDateEditFormat(fourDigitYear), at, start, runLength, letter))
        return false;
    pos = start;
    len = runLength;
    return true;
}

void ReplaceDatePart(TDateTime& dateTime, TDateTime oldValue)
{
    const double day = std::trunc(dateTime.Value);
    const double frac = std::fabs(oldValue.Value - std::trunc(oldValue.Value));
    dateTime.Value = day < 0 ? day - frac : day + frac;
}

int ExpandTwoDigitYear(int year)
{
    if (year >= 100)
        return year;
    int cy = 0, cm = 0, cd = 0;
    DecodeDate(Date(), cy, cm, cd);
    const int pivot = cy - TwoDigitYearWindowGx;
    year += (pivot / 100) * 100;
    if (year < pivot)
        year += 100;
    return year;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

} // namespace DBCtrlsGx
