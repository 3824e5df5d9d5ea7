#pragma once
// Number formatting and parsing with the platform's fixed settings:
// decimal separator '.', thousands separator ','.
#include "Currency.h"
#include <QString>

// General float text: up to 15 significant digits, no trailing zeros, exponent form
// ("1.5E20", "1E-5") where the class library uses it.
QString FloatToStr(double v);
// FloatToStr's text written into out, which has room for kFloatChars characters; returns its
// length. For texts built in one piece without a string of their own for each number.
constexpr int kFloatChars = 48;
int FloatToChars(double v, char16_t* out);
QString CurrToStr(Currency c);
// FormatFloat with the class library's pattern: '0', '#', '.', ',', 'E+'/'E-', quoted text,
// ';' sections for positive;negative;zero. Rounding is half away from zero on the double's
// real decimal digits: 0.125 gives "0.13" with '0.00', 1.005 (1.00499999...) gives "1.00".
// A negative value that rounds to zero shows no sign; the zero section is used for it.
QString FormatFloat(const QString& format, double v);
QString FormatCurr(const QString& format, Currency c);
// ffFixed-style: FloatToStrF(v, ffFixed, 15, digits) and ffNumber with thousands separators.
QString FloatToStrFixed(double v, int digits);
QString FloatToStrNumber(double v, int digits);
QString IntToStr(qint64 v);
// FloatToStrF with the class library's formats. Precision is capped at 15 significant digits;
// ffCurrency writes the platform's currency sign before the number ("¥1,234.50", "¥-1.00").
enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
QString FloatToStrF(double v, TFloatFormat format, int precision, int digits);

// Parsing; the plain forms raise EConvertError ("'abc' is not a valid floating point value",
// "'abc' is not a valid integer value"). Leading/trailing blanks allowed.
double StrToFloat(const QString& s);
bool TryStrToFloat(const QString& s, double& out);
qint64 StrToInt64(const QString& s);
int StrToInt(const QString& s);
bool TryStrToInt(const QString& s, int& out);
bool TryStrToInt64(const QString& s, qint64& out);
int StrToIntDef(const QString& s, int def);
double StrToFloatDef(const QString& s, double def);
Currency StrToCurr(const QString& s);   // exact decimal reading, rounded to 4 decimals
bool TryStrToCurr(const QString& s, Currency& out);
