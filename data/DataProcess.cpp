#define QT_USE_QSTRINGBUILDER
#include "DataProcess.h"
#include "platform/rtl/Program.h"
#include <QDir>
#include <QWidget>
#include <cmath>

QStringView trimmedtext(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

QString trimtext(const QString& text)
{
    const QStringView t = trimmedtext(text);
    return t.size() == text.size() ? text : t.toString();
}

QString quotedsqltext(const QString& text)
{
    if (!text.contains(QLatin1Char('\'')))
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    QString s = text;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString vartosqlvalue(const Variant& value)
{
    switch (value.Type()) {
    case VarType::Null:
        return QStringLiteral("NULL");
    case VarType::Date:
        return quotedsqltext(DateTimeToStr(value.AsDateRaw()));
    case VarType::Boolean:
        return value.AsBoolRaw() ? QStringLiteral("1") : QStringLiteral("0");
    case VarType::String:
        return quotedsqltext(trimtext(value.AsStringRaw()));
    case VarType::Integer:
    case VarType::Double:
    case VarType::Currency: {
        // A number's text has neither blanks nor quotes.
        return QLatin1Char('\'') + value.ToString() + QLatin1Char('\'');
    }
    default:
        return quotedsqltext(trimtext(VarToStr(value)));
    }
}

double roundtodigits(qint8 n, double x)
{
    const double unit = double(1.0L / std::pow(10.0L, (long double)n));
    const long double scaled = (long double)x / (long double)unit;
    const long double whole = x >= 0 ? std::trunc(scaled + 0.5L) : std::trunc(scaled - 0.5L);
    return double(whole * (long double)unit);
}

bool isnumstr(const QString& text)
{
    int points = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (++points > 1)
                return false;
        } else if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

TDateTime dateofdatetime(TDateTime value)
{
    return StrToDate(FormatDateTime(QStringLiteral("yyyy/mm/dd"), value));
}

TDateTime datetoday() { return dateofdatetime(Now()); }

QString getappsubdir(const QString& name)
{
    QString base = ProgramDir();
    if (base.isEmpty())
        return QStringLiteral("/");
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QString path = base + name + QLatin1Char('/');
    if (!QDir(path).exists())
        QDir().mkdir(path);
    return path;
}

QPoint getcontrolbottomleft(const QWidget* control)
{
    QPoint p(0, control->height());
    const QWidget* w = control;
    while (w->parentWidget() && !w->isWindow()) {
        p += w->pos();
        w = w->parentWidget();
    }
    return w->mapToGlobal(p);
}

QString getsrgdetailsql()
{
    return QStringLiteral("SELECT  dbo.mrplist.bdate, dbo.mrplist.bnum,dbo.mtrlist.mname, dbo.mtrlist.mtype, dbo.mtrlist.munit,dbo.mrplist.qty,")
         + QStringLiteral(" dbo.currencyset.cryname, dbo.mrplist.rsprice, dbo.mrplist.rdprice, dbo.mrplist.sprice, dbo.mrplist.dprice,dbo.mrplist.remark,dbo.mtrlist.fid as mid")
         + QStringLiteral(" FROM  dbo.mrplist LEFT OUTER JOIN")
         + QStringLiteral(" dbo.mtrlist ON dbo.mrplist.mid = dbo.mtrlist.FID LEFT OUTER JOIN")
         + QStringLiteral(" dbo.currencyset ON dbo.mrplist.cid = dbo.currencyset.fid LEFT OUTER JOIN")
         + QStringLiteral(" dbo.cflist ON dbo.mrplist.cfid = dbo.cflist.fid LEFT OUTER JOIN")
         + QStringLiteral(" dbo.suplist ON dbo.mrplist.supid = dbo.suplist.fid");
}

QString likeprefix(const QString& code)
{
    QString out;
    out.reserve(code.size() + 4);
    bool escaped = false;
    for (const QChar c : code) {
        if (c == u'%' || c == u'_' || c == u'[' || c == u'!') {
            out += u'!';
            escaped = true;
        }
        out += c;
        if (c == u'\'')
            out += c;
    }
    return out + (escaped ? QStringLiteral("%' escape '!'") : QStringLiteral("%'"));
}

QString returnableqty(bool stockin)
{
    return stockin ? QStringLiteral("(c.qty+coalesce((select sum(r.qty) from ibdetail r where r.idid=c.fid),0))")
                   : QStringLiteral("(c.qty+coalesce((select sum(r.qty) from ebdetail r where r.edid=c.fid),0))");
}

double returnedamount(double amount, double rest, double qty, int digits)
{
    return rest == qty || qty == 0 ? amount : roundtodigits(qint8(digits), amount * rest / qty);
}

QString prefixcondition(const QString& column, const QString& code, bool ranged)
{
    QString out = column + QStringLiteral(" like '") + likeprefix(code);
    if (!ranged || code.isEmpty())
        return out;
    // The bound: the code, letters folded, with its last character raised by one. Every text
    // that begins with the code sorts below it; a raised character that folds or is a blank
    // (trailing blanks do not count in the order) only widens the range.
    QList<uint> points = code.toUcs4();
    for (uint& c : points)
        if (c >= 'A' && c <= 'Z')
            c += 32;
    uint& last = points.last();
    if (last >= 0x10FFFF)
        return out + QStringLiteral(" and ") + column + QStringLiteral(" >= ") + quotedsqltext(code);
    ++last;
    if (last == ' ')
        ++last;
    if (last >= 0xD800 && last <= 0xDFFF)
        last = 0xE000;
    const QString bound = QString::fromUcs4(reinterpret_cast<const char32_t*>(points.constData()), points.size());
    return out + QStringLiteral(" and ") + column + QStringLiteral(" >= ") + quotedsqltext(code) + QStringLiteral(" and ")
           + column + QStringLiteral(" < ") + quotedsqltext(bound);
}
