#include "Format.h"
#include "Exceptions.h"
#include "FormatSettings.h"
#include <algorithm>
#include <QStringList>
#include <charconv>
#include <functional>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace {

// A decimal number: value = 0.d1d2d3... * 10^exp. No leading or trailing zeros in
// digits; empty digits mean zero.
struct Dec {
    bool negative = false;
    QByteArray digits;
    int exp = 0;
    bool isZero() const { return digits.isEmpty(); }
};

void normalize(Dec& d)
{
    int lead = 0;
    while (lead < d.digits.size() && d.digits[lead] == '0')
        ++lead;
    d.digits.remove(0, lead);
    d.exp -= lead;
    while (!d.digits.isEmpty() && d.digits.endsWith('0'))
        d.digits.chop(1);
    if (d.digits.isEmpty()) {
        d.exp = 0;
        d.negative = false;
    }
}

// The decimal digits of a double, 18 significant (as many as the extended-precision
// conversion gives). Every format rounds these once, half away from zero, at the digit it
// needs, so 1.005 (really 1.00499999999999989...) shows as "1.00" with two decimals, and
// 0.1 + 0.2 (0.300000000000000044...) as "0.3" with 15 significant digits.
Dec decFromDouble(double v)
{
    Dec d;
    if (v == 0 || !std::isfinite(v))
        return d;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17e", std::fabs(v));
    // "d.ddddddddddddddddde[+-]xx"
    d.digits.append(buf[0]);
    d.digits.append(buf + 2, 17);
    d.exp = std::atoi(buf + 20) + 1;
    d.negative = v < 0;
    normalize(d);
    return d;
}

Dec decFromCurrency(Currency c)
{
    Dec d;
    qint64 raw = c.Raw();
    unsigned long long a = raw < 0 ? 0ULL - (unsigned long long)raw : (unsigned long long)raw;
    d.digits = QByteArray::number(a);
    d.exp = int(d.digits.size()) - 4;
    d.negative = raw < 0;
    normalize(d);
    return d;
}

// Keeps `keep` significant digits, rounding half away from zero.
void roundAt(Dec& d, int keep)
{
    if (keep >= d.digits.size())
        return;
    if (keep < 0) {
        d = Dec();
        return;
    }
    bool up = d.digits[keep] >= '5';
    d.digits.truncate(keep);
    if (up) {
        int i = int(d.digits.size()) - 1;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i >= 0) {
            d.digits[i] = char(d.digits[i] + 1);
        } else {
            d.digits.prepend('1');
            ++d.exp;
        }
    }
    normalize(d);
}

void roundDecimals(Dec& d, int decimals) { roundAt(d, d.exp + decimals); }

// Integer digits (no leading zeros, "" below one) and fraction digits (no trailing zeros).
void splitDigits(const Dec& d, QString& intPart, QString& fracPart)
{
    intPart.clear();
    fracPart.clear();
    if (d.isZero())
        return;
    const QString digits = QString::fromLatin1(d.digits);
    if (d.exp <= 0) {
        fracPart = QString(-d.exp, QLatin1Char('0')) + digits;
    } else if (d.exp >= digits.size()) {
        intPart = digits + QString(d.exp - digits.size(), QLatin1Char('0'));
    } else {
        intPart = digits.left(d.exp);
        fracPart = digits.mid(d.exp);
    }
}

QString withThousands(const QString& intPart)
{
    QString out;
    for (int i = 0; i < intPart.size(); ++i) {
        out += intPart[i];
        int left = int(intPart.size()) - 1 - i;
        if (left > 0 && left % 3 == 0)
            out += QLatin1Char(',');
    }
    return out;
}

QString exponentText(const Dec& d, int precision, bool trimZeros, bool plusSign, int expDigits)
{
    QString mant = QString::fromLatin1(d.digits);
    if (mant.isEmpty())
        mant = QStringLiteral("0");
    if (!trimZeros)
        mant = mant.leftJustified(precision, QLatin1Char('0'));
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    out += mant[0];
    if (mant.size() > 1)
        out += QLatin1Char('.') + mant.mid(1);
    int e = d.isZero() ? 0 : d.exp - 1;
    out += QLatin1Char('E');
    if (e < 0)
        out += QLatin1Char('-');
    else if (plusSign)
        out += QLatin1Char('+');
    out += QString::number(std::abs(e)).rightJustified(expDigits, QLatin1Char('0'));
    return out;
}

QString generalText(Dec d, int precision, int expDigits)
{
    roundAt(d, precision);
    if (d.isZero())
        return QStringLiteral("0");
    if (d.exp > precision || d.exp < -3)
        return exponentText(d, precision, true, false, expDigits);
    QString intPart, fracPart;
    splitDigits(d, intPart, fracPart);
    QString out = d.negative ? QStringLiteral("-") : QString();
    out += intPart.isEmpty() ? QStringLiteral("0") : intPart;
    if (!fracPart.isEmpty())
        out += QLatin1Char('.') + fracPart;
    return out;
}

QString fixedText(Dec d, int precision, int digits, bool thousands)
{
    digits = std::clamp(digits, 0, 18);
    if (d.exp > precision)
        return exponentText([&] { Dec e = d; roundAt(e, precision); return e; }(), precision, false, true, 3);
    roundAt(d, std::min(precision, d.exp + digits));
    QString intPart, fracPart;
    splitDigits(d, intPart, fracPart);
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    QString out = d.negative ? QStringLiteral("-") : QString();
    out += thousands ? withThousands(intPart) : intPart;
    if (digits > 0)
        out += QLatin1Char('.') + fracPart.leftJustified(digits, QLatin1Char('0'));
    return out;
}

QString nonFinite(double v)
{
    if (std::isnan(v))
        return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// ---- FormatFloat patterns -------------------------------------------------------------

struct Tok {
    enum Kind { Lit, IntPh, Point, FracPh, Exp } kind;
    QString text;       // Lit: the text; IntPh/FracPh: "0" or "#"; Exp: "+" or "-"
};

struct Pattern {
    std::vector<Tok> toks;
    int intCount = 0, minInt = 0, fracCount = 0, minFrac = 0;
    bool thousands = false, scientific = false;
    int expDigits = 0;
};

Pattern parsePattern(const QString& s)
{
    Pattern p;
    bool seenPoint = false;
    int firstZeroInt = -1;
    auto lit = [&](const QString& t) {
        if (!p.toks.empty() && p.toks.back().kind == Tok::Lit)
            p.toks.back().text += t;
        else
            p.toks.push_back({Tok::Lit, t});
    };
    for (int i = 0; i < s.size(); ++i) {
        QChar c = s[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            int j = s.indexOf(c, i + 1);
            if (j < 0)
                j = int(s.size());
            lit(s.mid(i + 1, j - i - 1));
            i = j;
        } else if ((c == QLatin1Char('0') || c == QLatin1Char('#')) && !p.scientific) {
            if (seenPoint) {
                p.toks.push_back({Tok::FracPh, QString(c)});
                ++p.fracCount;
                if (c == QLatin1Char('0'))
                    p.minFrac = p.fracCount;
            } else {
                p.toks.push_back({Tok::IntPh, QString(c)});
                if (c == QLatin1Char('0') && firstZeroInt < 0)
                    firstZeroInt = p.intCount;
                ++p.intCount;
            }
        } else if (c == QLatin1Char('.') && !seenPoint && !p.scientific) {
            seenPoint = true;
            p.toks.push_back({Tok::Point, QString()});
        } else if (c == QLatin1Char(',') && !p.scientific) {
            p.thousands = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !p.scientific && i + 1 < s.size()
                   && (s[i + 1] == QLatin1Char('+') || s[i + 1] == QLatin1Char('-'))) {
            p.scientific = true;
            p.toks.push_back({Tok::Exp, QString(s[i + 1])});
            i += 2;
            while (i < s.size() && s[i] == QLatin1Char('0') && p.expDigits < 4) {
                ++p.expDigits;
                ++i;
            }
            --i;
        } else {
            lit(QString(c));
        }
    }
    p.minInt = firstZeroInt < 0 ? 0 : p.intCount - firstZeroInt;
    return p;
}

bool hasPlaceholders(const Pattern& p) { return p.intCount + p.fracCount > 0; }

void roundFor(const Pattern& p, Dec& d)
{
    if (p.scientific)
        roundAt(d, std::max(1, p.intCount + p.fracCount));
    else
        roundDecimals(d, p.fracCount);
}

QString render(const Pattern& p, const Dec& d)
{
    QString intPart, fracPart;
    int exponent = 0;
    if (p.scientific) {
        QString digits = QString::fromLatin1(d.digits);
        int total = std::max(1, p.intCount + p.fracCount);
        digits = digits.leftJustified(total, QLatin1Char('0'));
        intPart = digits.left(p.intCount);
        fracPart = digits.mid(p.intCount);
        while (fracPart.endsWith(QLatin1Char('0')))
            fracPart.chop(1);
        int lead = 0;
        while (lead < intPart.size() && intPart[lead] == QLatin1Char('0'))
            ++lead;
        intPart = intPart.mid(lead);
        exponent = d.isZero() ? 0 : d.exp - p.intCount;
    } else {
        splitDigits(d, intPart, fracPart);
    }
    if (intPart.size() < p.minInt)
        intPart = intPart.rightJustified(p.minInt, QLatin1Char('0'));
    if (fracPart.size() < p.minFrac)
        fracPart = fracPart.leftJustified(p.minFrac, QLatin1Char('0'));

    QString out;
    const int n = int(intPart.size());
    int intSeen = 0, fracSeen = 0;
    auto emitInt = [&](int pos) {   // pos: index into intPart
        out += intPart[pos];
        int left = n - 1 - pos;
        if (p.thousands && left > 0 && left % 3 == 0)
            out += QLatin1Char(',');
    };
    auto emitAllInt = [&] { for (int k = 0; k < n; ++k) emitInt(k); };
    bool intDone = false;
    for (const Tok& t : p.toks) {
        switch (t.kind) {
        case Tok::Lit:
            out += t.text;
            break;
        case Tok::IntPh: {
            if (intSeen == 0)   // digits beyond the placeholders go at the first one
                for (int k = 0; k < n - p.intCount; ++k)
                    emitInt(k);
            int fromRight = p.intCount - intSeen;
            if (fromRight <= n)
                emitInt(n - fromRight);
            ++intSeen;
            intDone = true;
            break;
        }
        case Tok::Point:
            if (!intDone) {
                emitAllInt();
                intDone = true;
            }
            if (!fracPart.isEmpty())
                out += QLatin1Char('.');
            break;
        case Tok::FracPh:
            if (fracSeen < fracPart.size())
                out += fracPart[fracSeen];
            ++fracSeen;
            break;
        case Tok::Exp:
            out += QLatin1Char('E');
            if (exponent < 0)
                out += QLatin1Char('-');
            else if (t.text == QLatin1String("+"))
                out += QLatin1Char('+');
            out += QString::number(std::abs(exponent)).rightJustified(p.expDigits, QLatin1Char('0'));
            break;
        }
    }
    return out;
}

QStringList splitSections(const QString& format)
{
    QStringList sections;
    QString cur;
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    sections << cur;
    return sections;
}

QString formatDec(const QString& format, const Dec& value, const std::function<QString()>& general)
{
    QStringList sections = splitSections(format);
    if (format.isEmpty())
        return general();
    auto usable = [&](int i) { return i < sections.size() && !sections[i].isEmpty(); };
    int idx = 0;
    if (value.negative && usable(1))
        idx = 1;
    if (value.isZero() && usable(2))
        idx = 2;
    Pattern p = parsePattern(sections[idx]);
    Dec d = value;
    if (!p.scientific && d.exp > 18)
        return general();
    roundFor(p, d);
    if (d.isZero() && idx != 2 && usable(2)) {
        idx = 2;
        p = parsePattern(sections[idx]);
    }
    if (!hasPlaceholders(p))
        return render(p, Dec());
    QString text = render(p, d);
    if (idx == 0 && d.negative)
        text.prepend(QLatin1Char('-'));
    return text;
}

// Blanks the parsers skip before and after the text.
QString stripBlanks(const QString& s)
{
    int b = 0, e = int(s.size());
    while (b < e && (s[b] == QLatin1Char(' ') || s[b] == QLatin1Char('\t')))
        ++b;
    while (e > b && (s[e - 1] == QLatin1Char(' ') || s[e - 1] == QLatin1Char('\t')))
        --e;
    return s.mid(b, e - b);
}

// Scans "[+-]digits[.digits][(e|E)[+-]digits]"; fills the pieces; false on any other text.
struct NumText {
    bool negative = false;
    QByteArray intDigits, fracDigits;
    int exponent = 0;
};

bool scanNumber(const QString& raw, NumText& n)
{
    QString s = stripBlanks(raw);
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        n.negative = s[i++] == QLatin1Char('-');
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128)
        n.intDigits.append(char(s[i++].unicode()));
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        ++i;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128)
            n.fracDigits.append(char(s[i++].unicode()));
    }
    if (n.intDigits.isEmpty() && n.fracDigits.isEmpty())
        return false;
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        ++i;
        bool eneg = false;
        if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            eneg = s[i++] == QLatin1Char('-');
        int start = i;
        long long e = 0;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            e = std::min<long long>(e * 10 + (s[i].unicode() - '0'), 100000);
            ++i;
        }
        if (i == start)
            return false;
        n.exponent = int(eneg ? -e : e);
    }
    return i == s.size();
}

QString floatError(const QString& s)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(s);
}

QString intError(const QString& s)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(s);
}

template <typename T>
T parseOrRaise(bool (*parse)(const QString&, T&), const QString& s, QString (*message)(const QString&))
{
    T v{};
    if (!parse(s, v))
        throw EConvertError(message(s));
    return v;
}

template <typename T>
T parseOrDefault(bool (*parse)(const QString&, T&), const QString& s, T def)
{
    T v{};
    return parse(s, v) ? v : def;
}

// The general text of v written into text, with its length, when its shortest round-trip
// digits number 15 or fewer (-1 otherwise). Those digits are what rounding v's 18 digits to 15 gives: v lies within half a
// unit of its last binary place of them, far less than half a unit of the 15th digit. Laid
// out as generalText lays out a number of precision 15, without the wide conversion.
int shortGeneralChars(double v, char16_t* text)
{
    // Below the normal range the last binary place is too coarse for that.
    if (std::fabs(v) < std::numeric_limits<double>::min())
        return -1;
    char buf[40];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    if (ec != std::errc())
        return -1;
    // "d[.ddd]e[+-]xx"
    char digits[20];
    int n = 0;
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.')
            continue;
        if (n == 15)
            return -1;
        digits[n++] = *p;
    }
    if (p == end || n == 0)
        return -1;
    while (n > 1 && digits[n - 1] == '0')
        --n;
    int e = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, e);
    const int exp = e + 1;   // value = 0.d1d2... * 10^exp
    int at = 0;
    if (v < 0)
        text[at++] = u'-';
    if (exp > 15 || exp < -3) {
        text[at++] = char16_t(digits[0]);
        if (n > 1) {
            text[at++] = u'.';
            for (int i = 1; i < n; ++i)
                text[at++] = char16_t(digits[i]);
        }
        text[at++] = u'E';
        if (e < 0)
            text[at++] = u'-';
        char eb[8];
        const auto er = std::to_chars(eb, eb + sizeof eb, std::abs(e));
        for (const char* q = eb; q < er.ptr; ++q)
            text[at++] = char16_t(*q);
    } else if (exp <= 0) {
        text[at++] = u'0';
        text[at++] = u'.';
        for (int i = 0; i < -exp; ++i)
            text[at++] = u'0';
        for (int i = 0; i < n; ++i)
            text[at++] = char16_t(digits[i]);
    } else {
        for (int i = 0; i < std::max(n, exp); ++i) {
            if (i == exp)
                text[at++] = u'.';
            text[at++] = i < n ? char16_t(digits[i]) : u'0';
        }
    }
    return at;
}

bool shortGeneralText(double v, QString& out)
{
    char16_t text[kFloatChars];
    const int n = shortGeneralChars(v, text);
    if (n < 0)
        return false;
    out = QString(reinterpret_cast<const QChar*>(text), n);
    return true;
}

} // namespace

QString FloatToStr(double v)
{
    if (!std::isfinite(v))
        return nonFinite(v);
    if (v == 0)
        return QStringLiteral("0");
    QString text;
    if (shortGeneralText(v, text))
        return text;
    return generalText(decFromDouble(v), 15, 0);
}

int FloatToChars(double v, char16_t* out)
{
    // Whole numbers below 10^15 are their digits (quantities and amounts often are).
    if (v != 0 && std::fabs(v) < 1e15 && v == std::trunc(v)) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, qint64(v)).ptr;
        std::copy(digits, end, out);
        return int(end - digits);
    }
    if (std::isfinite(v) && v != 0) {
        const int n = shortGeneralChars(v, out);
        if (n >= 0)
            return n;
    }
    const QString text = FloatToStr(v);
    const int n = int(std::min<qsizetype>(text.size(), kFloatChars));
    std::copy_n(reinterpret_cast<const char16_t*>(text.constData()), n, out);
    return n;
}

QString CurrToStr(Currency c) { return c.ToString(); }

QString FloatToStrF(double v, TFloatFormat format, int precision, int digits)
{
    if (!std::isfinite(v))
        return nonFinite(v);
    precision = std::clamp(precision, 1, 15);
    Dec d = decFromDouble(v);
    switch (format) {
    case ffGeneral:
        return generalText(d, precision, std::clamp(digits, 0, 4));
    case ffExponent:
        roundAt(d, precision);
        return exponentText(d, precision, false, true, std::clamp(digits, 0, 4));
    case ffFixed:
        return fixedText(d, precision, digits, false);
    case ffNumber:
        return fixedText(d, precision, digits, true);
    case ffCurrency: {
        bool negative = d.negative;
        d.negative = false;
        QString text = fixedText(d, precision, digits, true);
        Dec r = decFromDouble(v);
        roundAt(r, std::min(precision, r.exp + std::clamp(digits, 0, 18)));
        negative = negative && !r.isZero();
        return FormatSettings::CurrencyString + (negative ? QStringLiteral("-") : QString()) + text;
    }
    }
    return QString();
}

QString FloatToStrFixed(double v, int digits) { return FloatToStrF(v, ffFixed, 15, digits); }
QString FloatToStrNumber(double v, int digits) { return FloatToStrF(v, ffNumber, 15, digits); }

QString FormatFloat(const QString& format, double v)
{
    if (!std::isfinite(v))
        return nonFinite(v);
    return formatDec(format, decFromDouble(v), [v] { return FloatToStr(v); });
}

QString FormatCurr(const QString& format, Currency c)
{
    return formatDec(format, decFromCurrency(c), [c] { return CurrToStr(c); });
}

QString IntToStr(qint64 v) { return QString::number(v); }

bool TryStrToFloat(const QString& s, double& out)
{
    NumText n;
    if (!scanNumber(s, n))
        return false;
    QByteArray text = (n.intDigits.isEmpty() ? QByteArray("0") : n.intDigits) + '.'
        + (n.fracDigits.isEmpty() ? QByteArray("0") : n.fracDigits) + 'e' + QByteArray::number(n.exponent);
    double v = 0;
    auto r = std::from_chars(text.constData(), text.constData() + text.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a number we can hold.
        if (std::fabs(v) > 1)
            return false;
        v = 0;
    } else if (r.ec != std::errc()) {
        return false;
    }
    out = n.negative ? -v : v;
    return true;
}

double StrToFloat(const QString& s) { return parseOrRaise(TryStrToFloat, s, floatError); }
double StrToFloatDef(const QString& s, double def) { return parseOrDefault(TryStrToFloat, s, def); }

bool TryStrToInt64(const QString& raw, qint64& out)
{
    QString s = stripBlanks(raw);
    int i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        negative = s[i++] == QLatin1Char('-');
    int base = 10;
    if (i < s.size() && s[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == QLatin1Char('0') && (s[i + 1] == QLatin1Char('x') || s[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    unsigned long long acc = 0;
    const unsigned long long limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
    for (; i < s.size(); ++i) {
        char16_t c = s[i].unicode();
        int dv;
        if (c >= '0' && c <= '9')
            dv = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            dv = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            dv = c - 'A' + 10;
        else
            return false;
        if (acc > (limit - dv) / base)
            return false;
        acc = acc * base + dv;
    }
    out = negative ? qint64(0ULL - acc) : qint64(acc);
    return true;
}

bool TryStrToInt(const QString& s, int& out)
{
    qint64 v = 0;
    if (!TryStrToInt64(s, v) || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    out = int(v);
    return true;
}

qint64 StrToInt64(const QString& s) { return parseOrRaise(TryStrToInt64, s, intError); }
int StrToInt(const QString& s) { return parseOrRaise(TryStrToInt, s, intError); }
int StrToIntDef(const QString& s, int def) { return parseOrDefault(TryStrToInt, s, def); }

bool TryStrToCurr(const QString& s, Currency& out)
{
    NumText n;
    if (!scanNumber(s, n))
        return false;
    // value = digits * 10^(exponent - fraction length); we want it times 10^4, rounded.
    QByteArray digits = n.intDigits + n.fracDigits;
    int shift = n.exponent - int(n.fracDigits.size()) + 4;
    int lead = 0;
    while (lead < digits.size() - 1 && digits[lead] == '0')
        ++lead;
    digits.remove(0, lead);
    if (digits.size() + shift > 20)
        return false;                       // far beyond the range
    __int128 value = 0;
    int keep = shift >= 0 ? int(digits.size()) : int(digits.size()) + shift;
    for (int i = 0; i < keep; ++i)
        value = value * 10 + (digits[i] - '0');
    for (int i = 0; i < shift; ++i)
        value *= 10;
    if (shift < 0 && keep >= 0 && keep < digits.size()) {
        // Round the dropped digits to nearest, ties to even.
        QByteArray rest = digits.mid(keep);
        int first = rest[0] - '0';
        bool moreThanHalf = first > 5 || (first == 5 && rest.mid(1).count('0') != rest.size() - 1);
        bool half = first == 5 && !moreThanHalf;
        if (moreThanHalf || (half && (value & 1)))
            ++value;
    }
    if (n.negative)
        value = -value;
    if (value > std::numeric_limits<qint64>::max() || value < std::numeric_limits<qint64>::min())
        return false;
    out = Currency::FromRaw(qint64(value));
    return true;
}

Currency StrToCurr(const QString& s) { return parseOrRaise(TryStrToCurr, s, floatError); }
