#include "Currency.h"
#include "Exceptions.h"
#include "Format.h"
#include <cmath>
#include <limits>

namespace {

[[noreturn]] void overflow() { throw EOverflow(QStringLiteral("Floating point overflow")); }

qint64 checked(__int128 v)
{
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
        overflow();
    return qint64(v);
}

// n / d rounded to nearest, ties to even (the FPU's default rounding).
__int128 divRoundEven(__int128 n, __int128 d)
{
    __int128 q = n / d;
    __int128 r = n % d;
    if (r == 0)
        return q;
    __int128 twice = r < 0 ? -2 * r : 2 * r;
    __int128 ad = d < 0 ? -d : d;
    bool negative = (n < 0) != (d < 0);
    if (twice > ad || (twice == ad && (q & 1)))
        q += negative ? -1 : 1;
    return q;
}

} // namespace

Currency Currency::FromDouble(double v)
{
    if (std::isnan(v))
        throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
    double scaled = v * double(Scale);
    if (!(std::fabs(scaled) < 9223372036854775807.0))
        overflow();
    return FromRaw(qint64(std::nearbyint(scaled)));
}

Currency Currency::FromInt(qint64 v)
{
    return FromRaw(checked(__int128(v) * Scale));
}

Currency Currency::FromString(const QString& s)
{
    return StrToCurr(s);
}

QString Currency::ToString() const
{
    bool negative = m_raw < 0;
    unsigned long long a = negative ? 0ULL - (unsigned long long)m_raw : (unsigned long long)m_raw;
    QString text = QString::number(a / Scale);
    unsigned long long frac = a % Scale;
    if (frac) {
        QString f = QString::number(frac).rightJustified(4, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        text += QLatin1Char('.') + f;
    }
    return negative ? QLatin1Char('-') + text : text;
}

Currency Currency::operator+(Currency o) const { return FromRaw(checked(__int128(m_raw) + o.m_raw)); }
Currency Currency::operator-(Currency o) const { return FromRaw(checked(__int128(m_raw) - o.m_raw)); }
Currency Currency::operator-() const { return FromRaw(checked(-__int128(m_raw))); }

Currency Currency::operator*(Currency o) const
{
    return FromRaw(checked(divRoundEven(__int128(m_raw) * o.m_raw, Scale)));
}

Currency Currency::operator/(Currency o) const
{
    if (o.m_raw == 0)
        throw EZeroDivide(QStringLiteral("Floating point division by zero"));
    return FromRaw(checked(divRoundEven(__int128(m_raw) * Scale, o.m_raw)));
}
