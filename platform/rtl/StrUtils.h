#pragma once
// String helpers with the class library's names and rules. Positions are 1-based as there
// (Copy, Pos, Delete, Insert); 0 means "not found". UpperCase/LowerCase/SameText/CompareText
// change only ASCII letters; the Ansi* forms change every letter.
#include <QString>
#include <QStringList>

QString Trim(const QString& s);        // drops characters <= ' ' (blanks and control characters) at both ends
QString TrimLeft(const QString& s);
QString TrimRight(const QString& s);

QString Copy(const QString& s, int index, int count);   // index < 1 counts as 1; clipped at the end
int Pos(const QString& sub, const QString& s);           // 0 when not found or sub is empty
int PosEx(const QString& sub, const QString& s, int offset = 1);
void Delete(QString& s, int index, int count);
void Insert(const QString& sub, QString& s, int index);  // index beyond the end appends
QString LeftStr(const QString& s, int count);
QString RightStr(const QString& s, int count);
QString MidStr(const QString& s, int index, int count);
QString StringOfChar(QChar c, int count);
QString DupeString(const QString& s, int count);

QString UpperCase(const QString& s);
QString LowerCase(const QString& s);
QString AnsiUpperCase(const QString& s);
QString AnsiLowerCase(const QString& s);
int CompareStr(const QString& a, const QString& b);      // ordinal; <0, 0, >0
int CompareText(const QString& a, const QString& b);     // ASCII case ignored
bool SameText(const QString& a, const QString& b);
int AnsiCompareText(const QString& a, const QString& b); // every letter's case ignored
bool AnsiSameText(const QString& a, const QString& b);

// 'it''s' : the text between single quotes with every quote doubled.
QString QuotedStr(const QString& s);
QString AnsiQuotedStr(const QString& s, QChar quote);

enum TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };
// Replaces the first occurrence (all with rfReplaceAll); flags combine with '|'.
QString StringReplace(const QString& s, const QString& oldPattern, const QString& newPattern, int flags);

QString IntToHex(qint64 value, int digits);              // upper case, at least `digits` digits
QString BoolToStr(bool b, bool useBoolStrs = false);     // "-1"/"0", or "True"/"False"
bool StrToBool(const QString& s);                        // "True"/"False" (any case) or a number; EConvertError
bool TryStrToBool(const QString& s, bool& out);
bool TryBoolNameToBool(const QString& s, bool& out);    // only "True"/"False" (any case, blanks around)

// A new GUID as text in braces, upper case: "{1B4E28BA-2FA1-11D2-883F-0016D3CCA427}".
QString CreateGUIDString();
