#include "PasswordCipher.h"
#include "FGIntPrimeGeneration.h"
#include "FGIntRSA.h"
#include "platform/rtl/Exceptions.h"

const QString cipherseeda = QStringLiteral("58274301");
const QString cipherseedb = QStringLiteral("90316625");

namespace {

const QString Alphabet = QStringLiteral("aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ0123456789+=");

struct Key {
    TFGInt n, e, d;
};

Key deriveKey(const QString& seedA, const QString& seedB)
{
    TFGInt p = fgFromDecimal(seedA);
    fgNextPrime(p);
    TFGInt q = fgFromBytes(seedB);
    fgNextPrime(q);
    const TFGInt one = fgFromInt(1);
    Key key;
    key.n = fgMul(p, q);
    TFGInt phi = fgMul(fgSub(p, one), fgSub(q, one));
    key.e = fgFromInt(65537);
    while (fgCompare(fgGcd(phi, key.e), one) != 0)
        key.e = fgAdd(key.e, fgFromInt(2));
    fgModInv(key.e, phi, key.d);
    return key;
}

} // namespace

QString bytestoalphabet(const QString& bytes)
{
    QString bits = bytestobits(bytes);
    while (bits.size() % 6 != 0)
        bits += QLatin1Char('0');
    QString out;
    for (int pos = 0; pos < bits.size(); pos += 6) {
        int v = 0;
        for (int b = 0; b < 6; ++b)
            v = (v << 1) | (bits[pos + b] == QLatin1Char('1') ? 1 : 0);
        out += Alphabet[v];
    }
    return out;
}

QString alphabettobytes(const QString& text)
{
    QString bits;
    for (QChar c : text) {
        int v = Alphabet.indexOf(c);
        if (v < 0)
            continue;
        for (int b = 5; b >= 0; --b)
            bits += ((v >> b) & 1) ? QLatin1Char('1') : QLatin1Char('0');
    }
    if (bits.size() < 8)
        return QString();
    return bitstobytes(bits.left(bits.size() - bits.size() % 8));
}

QString scrambletext(const QString& seedA, const QString& seedB, const QString& plain)
{
    for (QChar c : plain)
        if (c.unicode() > 0xFF)
            throw EConvertError(QStringLiteral("The password holds a character that cannot be stored: %1").arg(c));
    Key key = deriveKey(seedA, seedB);
    return bytestoalphabet(rsaencrypttext(plain, key.e, key.n));
}

QString unscrambletext(const QString& seedA, const QString& seedB, const QString& scrambled)
{
    Key key = deriveKey(seedA, seedB);
    return rsadecrypttext(alphabettobytes(scrambled), key.d, key.n);
}
