#include "StrUtils.h"
#include "Exceptions.h"
#include "Format.h"
#include <QUuid>
#include <algorithm>

namespace {
bool isTrimmed(QChar c) { return c.unicode() <= 32; }

QChar asciiUpper(QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 32) : c; }
QChar asciiLower(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + 32) : c; }

int sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }
} // namespace

QString Trim(const QString& s)
{
    int b = 0, e = int(s.size());
    while (b < e && isTrimmed(s[b]))
        ++b;
    while (e > b && isTrimmed(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

QString TrimLeft(const QString& s)
{
    int b = 0;
    while (b < s.size() && isTrimmed(s[b]))
        ++b;
    return s.mid(b);
}

QString TrimRight(const QString& s)
{
    int e = int(s.size());
    while (e > 0 && isTrimmed(s[e - 1]))
        --e;
    return s.left(e);
}

QString Copy(const QString& s, int index, int count)
{
    if (index < 1)
        index = 1;
    if (count <= 0 || index > s.size())
        return QString();
    return s.mid(index - 1, count);
}

int Pos(const QString& sub, const QString& s) { return PosEx(sub, s, 1); }

int PosEx(const QString& sub, const QString& s, int offset)
{
    if (sub.isEmpty() || offset < 1 || offset > s.size())
        return 0;
    return int(s.indexOf(sub, offset - 1)) + 1;
}

void Delete(QString& s, int index, int count)
{
    if (index < 1 || index > s.size() || count <= 0)
        return;
    s.remove(index - 1, count);
}

void Insert(const QString& sub, QString& s, int index)
{
    index = std::clamp(index, 1, int(s.size()) + 1);
    s.insert(index - 1, sub);
}

QString LeftStr(const QString& s, int count) { return count > 0 ? s.left(count) : QString(); }
QString RightStr(const QString& s, int count) { return count > 0 ? s.right(count) : QString(); }
QString MidStr(const QString& s, int index, int count) { return Copy(s, index, count); }
QString StringOfChar(QChar c, int count) { return count > 0 ? QString(count, c) : QString(); }
QString DupeString(const QString& s, int count) { return count > 0 ? s.repeated(count) : QString(); }

QString UpperCase(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        c = asciiUpper(c);
    return r;
}

QString LowerCase(const QString& s)
{
    QString r = s;
    for (QChar& c : r)
        c = asciiLower(c);
    return r;
}

QString AnsiUpperCase(const QString& s) { return s.toUpper(); }
QString AnsiLowerCase(const QString& s) { return s.toLower(); }
int CompareStr(const QString& a, const QString& b) { return sign(a.compare(b)); }
int CompareText(const QString& a, const QString& b) { return sign(UpperCase(a).compare(UpperCase(b))); }
bool SameText(const QString& a, const QString& b) { return CompareText(a, b) == 0; }
int AnsiCompareText(const QString& a, const QString& b) { return sign(a.compare(b, Qt::CaseInsensitive)); }
bool AnsiSameText(const QString& a, const QString& b) { return AnsiCompareText(a, b) == 0; }

QString QuotedStr(const QString& s) { return AnsiQuotedStr(s, QLatin1Char('\'')); }

QString AnsiQuotedStr(const QString& s, QChar quote)
{
    QString r = s;
    r.replace(quote, QString(2, quote));
    return quote + r + quote;
}

QString StringReplace(const QString& s, const QString& oldPattern, const QString& newPattern, int flags)
{
    if (oldPattern.isEmpty())
        return s;
    const Qt::CaseSensitivity cs = (flags & rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QString out;
    int from = 0;
    for (;;) {
        int at = int(s.indexOf(oldPattern, from, cs));
        if (at < 0)
            break;
        out += s.mid(from, at - from) + newPattern;
        from = at + int(oldPattern.size());
        if (!(flags & rfReplaceAll))
            break;
    }
    return out + s.mid(from);
}

QString IntToHex(qint64 value, int digits)
{
    return QString::number(quint64(value), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QString BoolToStr(bool b, bool useBoolStrs)
{
    if (useBoolStrs)
        return b ? QStringLiteral("True") : QStringLiteral("False");
    return b ? QStringLiteral("-1") : QStringLiteral("0");
}

bool TryBoolNameToBool(const QString& s, bool& out)
{
    const QString t = Trim(s);
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        out = true;
        return true;
    }
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        out = false;
        return true;
    }
    return false;
}

bool TryStrToBool(const QString& s, bool& out)
{
    if (TryBoolNameToBool(s, out))
        return true;
    double d = 0;
    if (TryStrToFloat(s, d)) {
        out = d != 0;
        return true;
    }
    return false;
}

bool StrToBool(const QString& s)
{
    bool b = false;
    if (!TryStrToBool(s, b))
        throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(s));
    return b;
}

QString CreateGUIDString() { return QUuid::createUuid().toString(QUuid::WithBraces).toUpper(); }
