#include "FGInt.h"
#include "platform/rtl/Exceptions.h"
#include <QStringList>
#include <algorithm>

namespace {

constexpr quint64 Base = quint64(1) << 31;
constexpr quint64 Mask = Base - 1;

// Magnitude: digits base 2^31, least significant first, no leading zero digit, zero = {0}.
using Mag = std::vector<quint32>;

void trim(Mag& m)
{
    while (m.size() > 1 && m.back() == 0)
        m.pop_back();
    if (m.empty())
        m.push_back(0);
}

Mag magOf(const TFGInt& v)
{
    Mag m(size_t(v.Number[0]));
    for (size_t i = 0; i < m.size(); ++i)
        m[i] = quint32(v.Number[i + 1]);
    trim(m);
    return m;
}

TFGInt make(TSign sign, Mag m)
{
    trim(m);
    TFGInt r;
    r.Number.assign(m.size() + 1, 0);
    r.Number[0] = qint64(m.size());
    for (size_t i = 0; i < m.size(); ++i)
        r.Number[i + 1] = m[i];
    r.Sign = (m.size() == 1 && m[0] == 0) ? TSign::positive : sign;
    return r;
}

bool magZero(const Mag& m) { return m.size() == 1 && m[0] == 0; }

int cmpMag(const Mag& a, const Mag& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

Mag addMag(const Mag& a, const Mag& b)
{
    Mag r(std::max(a.size(), b.size()) + 1, 0);
    quint64 carry = 0;
    for (size_t i = 0; i < r.size(); ++i) {
        quint64 s = carry;
        if (i < a.size()) s += a[i];
        if (i < b.size()) s += b[i];
        r[i] = quint32(s & Mask);
        carry = s >> 31;
    }
    trim(r);
    return r;
}

// a - b with a >= b.
Mag subMag(const Mag& a, const Mag& b)
{
    Mag r(a.size(), 0);
    qint64 borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        qint64 d = qint64(a[i]) - borrow - (i < b.size() ? qint64(b[i]) : 0);
        borrow = d < 0 ? 1 : 0;
        if (d < 0) d += qint64(Base);
        r[i] = quint32(d);
    }
    trim(r);
    return r;
}

Mag mulMag(const Mag& a, const Mag& b)
{
    std::vector<quint64> t(a.size() + b.size() + 1, 0);
    for (size_t i = 0; i < a.size(); ++i) {
        quint64 carry = 0;
        for (size_t j = 0; j < b.size(); ++j) {
            quint64 cur = t[i + j] + quint64(a[i]) * b[j] + carry;   // < 2^63
            t[i + j] = cur & Mask;
            carry = cur >> 31;
        }
        size_t k = i + b.size();
        while (carry) {
            quint64 cur = t[k] + carry;
            t[k] = cur & Mask;
            carry = cur >> 31;
            ++k;
        }
    }
    Mag r(t.size());
    for (size_t i = 0; i < t.size(); ++i)
        r[i] = quint32(t[i]);
    trim(r);
    return r;
}

int bitLen(const Mag& m)
{
    if (magZero(m))
        return 0;
    int top = 0;
    for (quint32 d = m.back(); d; d >>= 1)
        ++top;
    return int(m.size() - 1) * 31 + top;
}

bool testBit(const Mag& m, int bit)
{
    size_t d = size_t(bit / 31);
    return d < m.size() && ((m[d] >> (bit % 31)) & 1);
}

void shiftLeft1Or(Mag& m, bool low)
{
    quint32 carry = low ? 1 : 0;
    for (auto& d : m) {
        quint32 next = d >> 30;
        d = ((d << 1) & quint32(Mask)) | carry;
        carry = next;
    }
    if (carry)
        m.push_back(carry);
}

// Long division of magnitudes, one bit at a time (the operands have a few hundred bits at most).
void divModMag(const Mag& a, const Mag& b, Mag& q, Mag& r)
{
    if (magZero(b))
        throw EZeroDivide(QStringLiteral("Division by zero"));
    if (cmpMag(a, b) < 0) {
        q = Mag{0};
        r = a;
        return;
    }
    q.assign(a.size(), 0);
    r = Mag{0};
    for (int bit = bitLen(a) - 1; bit >= 0; --bit) {
        shiftLeft1Or(r, testBit(a, bit));
        trim(r);
        if (cmpMag(r, b) >= 0) {
            r = subMag(r, b);
            q[size_t(bit / 31)] |= quint32(1) << (bit % 31);
        }
    }
    trim(q);
    trim(r);
}

Mag modMag(const Mag& a, const Mag& b)
{
    Mag q, r;
    divModMag(a, b, q, r);
    return r;
}

// Montgomery multiplication: a * b * R^-1 mod m with R = 2^(31 k), k = digits of m,
// n0 = -m^-1 mod 2^31. a and b are below m.
Mag montMul(const Mag& a, const Mag& b, const Mag& m, quint64 n0)
{
    const size_t k = m.size();
    Mag ab = mulMag(a, b);
    std::vector<quint64> t(2 * k + 2, 0);
    for (size_t i = 0; i < ab.size(); ++i)
        t[i] = ab[i];
    for (size_t i = 0; i < k; ++i) {
        quint64 u = (t[i] * n0) & Mask;
        quint64 carry = 0;
        for (size_t j = 0; j < k; ++j) {
            quint64 cur = t[i + j] + u * m[j] + carry;
            t[i + j] = cur & Mask;
            carry = cur >> 31;
        }
        for (size_t p = i + k; carry; ++p) {
            quint64 cur = t[p] + carry;
            t[p] = cur & Mask;
            carry = cur >> 31;
        }
    }
    Mag r(t.begin() + qsizetype(k), t.end());
    trim(r);
    if (cmpMag(r, m) >= 0)
        r = subMag(r, m);
    return r;
}

quint64 montInverse(quint32 m0)
{
    // Newton iteration for m0^-1 mod 2^32 (m0 odd), then negate modulo 2^31.
    quint32 x = m0;
    for (int i = 0; i < 5; ++i)
        x *= 2 - m0 * x;
    return (Base - (x & Mask)) & Mask;
}

} // namespace

TFGInt fgFromInt(qint64 v)
{
    quint64 a = v < 0 ? quint64(-(v + 1)) + 1 : quint64(v);
    Mag m;
    do {
        m.push_back(quint32(a & Mask));
        a >>= 31;
    } while (a);
    return make(v < 0 ? TSign::negative : TSign::positive, m);
}

TFGInt fgFromDecimal(const QString& input)
{
    QString s = input;
    while (s.size() > 1 && s[0] != QLatin1Char('-') && !s[0].isDigit())
        s.remove(0, 1);
    bool negative = false;
    if (s.startsWith(QLatin1Char('-'))) {
        negative = true;
        s.remove(0, 1);
    }
    while (s.size() > 1 && s[0] == QLatin1Char('0'))
        s.remove(0, 1);
    if (s.isEmpty())
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(input));
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(input));
    // Groups of nine digits from the right, most significant group first.
    TFGInt v = fgFromInt(0);
    int first = int(s.size() % 9);
    if (first == 0) first = 9;
    for (int pos = 0; pos < s.size();) {
        int len = pos == 0 ? first : 9;
        quint32 group = s.mid(pos, len).toUInt();
        fgMulByInt(v, pos == 0 ? 1 : 1000000000u);
        v = fgAdd(v, fgFromInt(group));
        pos += len;
    }
    if (negative)
        fgChangeSign(v);
    return v;
}

QString fgToDecimal(const TFGInt& v)
{
    TFGInt t = fgAbs(v);
    QStringList groups;
    do {
        quint32 rem = 0;
        fgDivByInt(t, 1000000000u, rem);
        groups.prepend(QStringLiteral("%1").arg(rem, 9, 10, QLatin1Char('0')));
    } while (!t.isZero());
    QString s = groups.join(QString());
    while (s.size() > 1 && s[0] == QLatin1Char('0'))
        s.remove(0, 1);
    if (v.isNegative())
        s.prepend(QLatin1Char('-'));
    return s;
}

QString fgToBits(const TFGInt& v)
{
    Mag m = magOf(v);
    int n = bitLen(m);
    if (n == 0)
        return QStringLiteral("0");
    QString s(n, QLatin1Char('0'));
    for (int i = 0; i < n; ++i)
        if (testBit(m, i))
            s[n - 1 - i] = QLatin1Char('1');
    return s;
}

TFGInt fgFromBits(const QString& bits)
{
    Mag m((size_t(bits.size()) + 30) / 31 + 1, 0);
    for (int i = 0; i < bits.size(); ++i)
        if (bits[bits.size() - 1 - i] == QLatin1Char('1'))
            m[size_t(i / 31)] |= quint32(1) << (i % 31);
    return make(TSign::positive, m);
}

TFGInt fgFromBytes(const QString& bytes)
{
    QString bits;
    bits.reserve(bytes.size() * 8);
    for (QChar c : bytes)
        for (int b = 7; b >= 0; --b)
            bits += ((c.unicode() >> b) & 1) ? QLatin1Char('1') : QLatin1Char('0');
    return fgFromBits(bits);
}

int fgBitLength(const TFGInt& v) { return bitLen(magOf(v)); }

int fgCompareAbs(const TFGInt& a, const TFGInt& b) { return cmpMag(magOf(a), magOf(b)); }

int fgCompare(const TFGInt& a, const TFGInt& b)
{
    if (a.Sign != b.Sign)
        return a.isNegative() ? -1 : 1;
    int c = fgCompareAbs(a, b);
    return a.isNegative() ? -c : c;
}

TFGInt fgAdd(const TFGInt& a, const TFGInt& b)
{
    Mag ma = magOf(a), mb = magOf(b);
    if (a.Sign == b.Sign)
        return make(a.Sign, addMag(ma, mb));
    int c = cmpMag(ma, mb);
    if (c == 0)
        return fgFromInt(0);
    return c > 0 ? make(a.Sign, subMag(ma, mb)) : make(b.Sign, subMag(mb, ma));
}

TFGInt fgSub(const TFGInt& a, const TFGInt& b)
{
    TFGInt nb = b;
    fgChangeSign(nb);
    return fgAdd(a, nb);
}

void fgChangeSign(TFGInt& v)
{
    if (!v.isZero())
        v.Sign = v.isNegative() ? TSign::positive : TSign::negative;
}

TFGInt fgAbs(const TFGInt& v)
{
    TFGInt r = v;
    r.Sign = TSign::positive;
    return r;
}

TFGInt fgMul(const TFGInt& a, const TFGInt& b)
{
    return make(a.Sign == b.Sign ? TSign::positive : TSign::negative, mulMag(magOf(a), magOf(b)));
}

TFGInt fgSquare(const TFGInt& a) { return fgMul(a, a); }

void fgMulByInt(TFGInt& v, quint32 factor)
{
    Mag m = magOf(v);
    quint64 carry = 0;
    for (auto& d : m) {
        quint64 cur = quint64(d) * factor + carry;
        d = quint32(cur & Mask);
        carry = cur >> 31;
    }
    while (carry) {
        m.push_back(quint32(carry & Mask));
        carry >>= 31;
    }
    v = make(v.Sign, m);
}

void fgDivByInt(TFGInt& v, quint32 divisor, quint32& remainder)
{
    if (divisor == 0)
        throw EZeroDivide(QStringLiteral("Division by zero"));
    Mag m = magOf(v);
    quint64 rem = 0;
    for (size_t i = m.size(); i-- > 0;) {
        quint64 cur = (rem << 31) | m[i];
        m[i] = quint32(cur / divisor);
        rem = cur % divisor;
    }
    remainder = quint32(rem);
    v = make(v.Sign, m);
}

quint32 fgModByInt(const TFGInt& v, quint32 divisor)
{
    TFGInt t = v;
    quint32 rem = 0;
    fgDivByInt(t, divisor, rem);
    return rem;
}

void fgShiftRight1(TFGInt& v)
{
    Mag m = magOf(v);
    for (size_t i = 0; i < m.size(); ++i) {
        quint32 high = i + 1 < m.size() ? (m[i + 1] & 1) : 0;
        m[i] = (m[i] >> 1) | (high << 30);
    }
    v = make(v.Sign, m);
}

void fgShiftLeftDigits(TFGInt& v, int digits)
{
    if (v.isZero() || digits <= 0)
        return;
    Mag m = magOf(v);
    m.insert(m.begin(), size_t(digits), 0);
    v = make(v.Sign, m);
}

void fgShiftRightDigits(TFGInt& v, int digits)
{
    Mag m = magOf(v);
    if (size_t(std::max(digits, 0)) >= m.size())
        m = Mag{0};
    else
        m.erase(m.begin(), m.begin() + digits);
    v = make(v.Sign, m);
}

void fgDivMod(const TFGInt& a, const TFGInt& b, TFGInt& quotient, TFGInt& remainder)
{
    Mag q, r;
    Mag mb = magOf(b);
    divModMag(magOf(a), mb, q, r);
    if (a.isNegative() && !magZero(r)) {
        q = addMag(q, Mag{1});
        r = subMag(mb, r);
    }
    quotient = make(a.Sign == b.Sign ? TSign::positive : TSign::negative, q);
    remainder = make(TSign::positive, r);
}

TFGInt fgMod(const TFGInt& a, const TFGInt& modulus)
{
    TFGInt q, r;
    fgDivMod(a, modulus, q, r);
    return r;
}

TFGInt fgAddMod(const TFGInt& a, const TFGInt& b, const TFGInt& modulus) { return fgMod(fgAdd(a, b), modulus); }
TFGInt fgMulMod(const TFGInt& a, const TFGInt& b, const TFGInt& modulus) { return fgMod(fgMul(a, b), modulus); }
TFGInt fgSquareMod(const TFGInt& a, const TFGInt& modulus) { return fgMod(fgSquare(a), modulus); }

TFGInt fgPowMod(const TFGInt& base, const TFGInt& exp, const TFGInt& modulus)
{
    Mag m = magOf(modulus);
    if ((m[0] & 1) == 0)
        throw EInvalidOp(QStringLiteral("Montgomery exponentiation needs an odd modulus"));
    if (m.size() == 1 && m[0] == 1)
        return fgFromInt(0);
    const quint64 n0 = montInverse(m[0]);
    // R mod m and base * R mod m.
    Mag rShift(m.size() + 1, 0);
    rShift.back() = 1;
    Mag one = modMag(rShift, m);
    Mag b = magOf(fgMod(base, fgAbs(modulus)));
    Mag bShift(m.size(), 0);
    bShift.insert(bShift.end(), b.begin(), b.end());
    trim(bShift);
    Mag power = modMag(bShift, m);
    Mag result = one;
    Mag e = magOf(exp);
    int bits = bitLen(e);
    for (int i = 0; i < bits; ++i) {
        if (testBit(e, i))
            result = montMul(result, power, m, n0);
        if (i + 1 < bits)
            power = montMul(power, power, m, n0);
    }
    return make(TSign::positive, montMul(result, Mag{1}, m, n0));
}

TFGInt fgGcd(const TFGInt& a, const TFGInt& b)
{
    Mag x = magOf(a), y = magOf(b);
    if (cmpMag(x, y) < 0)
        std::swap(x, y);
    while (!magZero(y)) {
        Mag r = modMag(x, y);
        x = std::move(y);
        y = std::move(r);
    }
    return make(TSign::positive, x);
}

bool fgModInv(const TFGInt& a, const TFGInt& modulus, TFGInt& result)
{
    TFGInt m = fgAbs(modulus);
    TFGInt r0 = m, r1 = fgMod(a, m);
    TFGInt t0 = fgFromInt(0), t1 = fgFromInt(1);
    while (!r1.isZero()) {
        TFGInt q, r;
        fgDivMod(r0, r1, q, r);
        TFGInt t = fgSub(t0, fgMul(q, t1));
        r0 = r1; r1 = r;
        t0 = t1; t1 = t;
    }
    if (!(r0.digitCount() == 1 && r0.Number[1] == 1))
        return false;
    result = fgMod(t0, m);
    return true;
}
