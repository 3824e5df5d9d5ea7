#include "FGIntRSA.h"
#include "FGIntPrimeGeneration.h"

namespace {

QString stripLeadingZeros(const QString& bits)
{
    int i = 0;
    while (i < bits.size() - 1 && bits[i] == QLatin1Char('0'))
        ++i;
    return bits.mid(i);
}

QString padLeft(const QString& bits, int multiple)
{
    int rest = bits.size() % multiple;
    return rest == 0 ? bits : QString(multiple - rest, QLatin1Char('0')) + bits;
}

// Cuts bits into blocks of inSize, raises each block to exponent mod modulus and writes
// the result with outSize bits per block.
QString transformBlocks(const QString& bits, int inSize, int outSize, const TFGInt& exponent, const TFGInt& modulus)
{
    QString out;
    for (int pos = 0; pos + inSize <= bits.size(); pos += inSize) {
        QString block = stripLeadingZeros(bits.mid(pos, inSize));
        TFGInt value = block == QLatin1String("0") ? fgFromInt(0)
                                                   : fgPowMod(fgFromBits(block), exponent, modulus);
        out += padLeft(fgToBits(value), outSize);
    }
    return out;
}

} // namespace

QString bytestobits(const QString& bytes)
{
    QString bits;
    bits.reserve(bytes.size() * 8);
    for (QChar c : bytes)
        for (int b = 7; b >= 0; --b)
            bits += ((c.unicode() >> b) & 1) ? QLatin1Char('1') : QLatin1Char('0');
    return bits;
}

QString bitstobytes(const QString& input)
{
    QString bits = padLeft(input, 8);
    QString bytes;
    for (int pos = 0; pos + 8 <= bits.size(); pos += 8) {
        ushort c = 0;
        for (int b = 0; b < 8; ++b)
            c = ushort((c << 1) | (bits[pos + b] == QLatin1Char('1') ? 1 : 0));
        bytes += QChar(c);
    }
    return bytes;
}

QString rsaencrypttext(const QString& plain, const TFGInt& exponent, const TFGInt& modulus)
{
    const int k = fgBitLength(modulus);
    QString bits = padLeft(QStringLiteral("111") + bytestobits(plain), k - 1);
    QString out = transformBlocks(bits, k - 1, k, exponent, modulus);
    return bitstobytes(stripLeadingZeros(out));
}

QString rsadecrypttext(const QString& encrypted, const TFGInt& exponent, const TFGInt& modulus)
{
    const int k = fgBitLength(modulus);
    QString bits = bytestobits(encrypted);
    int firstOne = bits.indexOf(QLatin1Char('1'));
    bits = firstOne < 0 ? QString() : bits.mid(firstOne);
    bits = padLeft(bits, k);
    QString out = transformBlocks(bits, k, k - 1, exponent, modulus);
    while (out.size() > 3 && !out.startsWith(QLatin1String("111")))
        out.remove(0, 1);
    out.remove(0, 3);
    return bitstobytes(out);
}
