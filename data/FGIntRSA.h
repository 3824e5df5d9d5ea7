#pragma once
// The block layer of the stored-password cipher: RSA over bit strings. Byte texts hold one
// 8-bit value per character (U+0000 .. U+00FF).
#include "FGInt.h"

QString bytestobits(const QString& bytes);   // each character as eight bits, most significant first
QString bitstobytes(const QString& bits);    // padded on the left to a multiple of eight

QString rsaencrypttext(const QString& plain, const TFGInt& exponent, const TFGInt& modulus);
QString rsadecrypttext(const QString& encrypted, const TFGInt& exponent, const TFGInt& modulus);
