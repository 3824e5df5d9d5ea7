#pragma once
// Signed arbitrary-precision integers for the stored-password cipher: decimal and bit
// text conversion, the four operations, modular arithmetic with Montgomery
// exponentiation, greatest common divisor and modular inverse.
//
// A value keeps its magnitude in base 2^31, least significant digit first. Slot 0 of
// Number holds the digit count t, slots 1..t the digits. Zero is one digit 0 with sign
// positive; every routine leaves its result in that normal form.
#include <QString>
#include <QtGlobal>
#include <vector>

enum class TSign { negative = 0, positive = 1 };

struct TFGInt {
    TSign Sign = TSign::positive;
    std::vector<qint64> Number{1, 0};

    int digitCount() const { return int(Number[0]); }
    bool isZero() const { return Number[0] == 1 && Number[1] == 0; }
    bool isNegative() const { return Sign == TSign::negative; }
    bool isOdd() const { return (Number[1] & 1) != 0; }
    bool operator==(const TFGInt& o) const { return Sign == o.Sign && Number == o.Number; }
};

// Conversions. fgFromDecimal skips leading characters up to the first "-" or digit,
// reads an optional minus and the digits; a non-digit among the digits raises EConvertError.
TFGInt fgFromDecimal(const QString& text);
QString fgToDecimal(const TFGInt& v);
QString fgToBits(const TFGInt& v);            // magnitude, most significant bit first; "0" for zero
TFGInt fgFromBits(const QString& bits);       // '1' and '0' read from the right; positive
TFGInt fgFromBytes(const QString& bytes);     // each character's code as eight bits, big-endian
TFGInt fgFromInt(qint64 v);
int fgBitLength(const TFGInt& v);             // bits of the magnitude; 0 for zero

// Comparison of magnitudes: -1, 0, 1.
int fgCompareAbs(const TFGInt& a, const TFGInt& b);
// Signed comparison: -1, 0, 1.
int fgCompare(const TFGInt& a, const TFGInt& b);

TFGInt fgAdd(const TFGInt& a, const TFGInt& b);
TFGInt fgSub(const TFGInt& a, const TFGInt& b);
void fgChangeSign(TFGInt& v);
TFGInt fgAbs(const TFGInt& v);
TFGInt fgMul(const TFGInt& a, const TFGInt& b);
TFGInt fgSquare(const TFGInt& a);

// Small-integer operations (divisor and factor below 2^31).
void fgMulByInt(TFGInt& v, quint32 factor);
void fgDivByInt(TFGInt& v, quint32 divisor, quint32& remainder);   // magnitude; sign kept
quint32 fgModByInt(const TFGInt& v, quint32 divisor);              // of the magnitude

void fgShiftRight1(TFGInt& v);                 // magnitude one bit right
void fgShiftLeftDigits(TFGInt& v, int digits);
void fgShiftRightDigits(TFGInt& v, int digits);

// Division with remainder; EZeroDivide for a zero divisor. The quotient is negative when
// the signs differ; a negative dividend with a non-zero remainder gives quotient magnitude
// + 1 and remainder |b| - remainder, so the remainder is never negative.
void fgDivMod(const TFGInt& a, const TFGInt& b, TFGInt& quotient, TFGInt& remainder);
TFGInt fgMod(const TFGInt& a, const TFGInt& modulus);   // in 0 .. |modulus| - 1
TFGInt fgAddMod(const TFGInt& a, const TFGInt& b, const TFGInt& modulus);
TFGInt fgMulMod(const TFGInt& a, const TFGInt& b, const TFGInt& modulus);
TFGInt fgSquareMod(const TFGInt& a, const TFGInt& modulus);
// base^exp mod modulus through Montgomery multiplication; the modulus must be odd
// (EInvalidOp otherwise), the exponent not negative.
TFGInt fgPowMod(const TFGInt& base, const TFGInt& exp, const TFGInt& modulus);
TFGInt fgGcd(const TFGInt& a, const TFGInt& b);
// Inverse of a modulo modulus in 0 .. modulus - 1. False, with result untouched, when
// a and modulus are not coprime.
bool fgModInv(const TFGInt& a, const TFGInt& modulus, TFGInt& result);
