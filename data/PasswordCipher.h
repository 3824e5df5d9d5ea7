#pragma once
// The stored-password cipher of log/adolinksetting.ini: RSA with a key derived from two
// fixed seed strings, written in a 64-letter alphabet. The same text always gives the
// same stored text.
#include <QString>

// The two seed strings every caller passes, seed A first.
extern const QString cipherseeda;
extern const QString cipherseedb;

// Raises EConvertError when the plain text holds a character above U+00FF, which the
// 8-bit byte texts of the scheme cannot carry.
QString scrambletext(const QString& seedA, const QString& seedB, const QString& plain);
// Characters outside the alphabet are ignored; an empty text gives the empty text.
QString unscrambletext(const QString& seedA, const QString& seedB, const QString& scrambled);

QString bytestoalphabet(const QString& bytes);
QString alphabettobytes(const QString& text);
