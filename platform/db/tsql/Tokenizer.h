#pragma once
// Tokenizer for the T-SQL text the program composes. Keeps enough of the source (the blank
// before each token) to write the statement back out with its own spacing.
#include <QString>
#include <QVector>

namespace tsql {

enum class TokKind {
    Word,        // identifier or keyword: letters, digits, '_', '#', '@', '$'
    Bracketed,   // [name]; text holds the name without brackets
    Quoted,      // "name"; text holds the name without quotes
    String,      // '...'; text holds the value ('' undoubled); national marks N'...'
    Number,      // 12, 340.5, .5, 1e5 (a number glued to a word ends before the word)
    Op,          // punctuation and operators: ( ) , . ; = <> != >= <= < > + - * / %
};

struct Token {
    TokKind kind = TokKind::Op;
    QString text;
    bool spaceBefore = false;   // blank or comment between this token and the previous one
    bool national = false;      // N'...'

    bool isWord(const char* w) const { return kind == TokKind::Word && text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0; }
    bool isOp(const char* o) const { return kind == TokKind::Op && text == QLatin1String(o); }
    // A name: a word, [name] or "name".
    bool isName() const { return kind == TokKind::Word || kind == TokKind::Bracketed || kind == TokKind::Quoted; }
    bool isName(const char* n) const { return isName() && text.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; }
};

// Splits text into tokens. Raises EOleException for an unclosed string, bracket or comment.
QVector<Token> Tokenize(const QString& text);

// Writes tokens back as text. Words are written as they stand, [name] and "name" in double
// quotes; strings in single quotes with quotes doubled; a blank goes where the source
// had one and between two tokens that would otherwise run together.
QString Render(const QVector<Token>& toks, int from = 0, int to = -1);

// Quotes a name for SQLite when needed; QuoteAlways quotes every name ([x] and "x" keep
// their quotes, so that a bracketed keyword such as [order] stays a name).
QString QuoteName(const QString& name);
QString QuoteAlways(const QString& name);
// A single-quoted literal with quotes doubled.
QString QuoteString(const QString& s);

} // namespace tsql
