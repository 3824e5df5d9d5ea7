#include "Tokenizer.h"
#include "platform/rtl/Exceptions.h"

namespace tsql {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'#' || c == u'@';
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'@' || c == u'$';
}

bool isPlainIdentifier(const QString& s)
{
    if (s.isEmpty() || !(s[0].isLetter() || s[0] == u'_'))
        return false;
    for (QChar c : s)
        if (!(c.isLetterOrNumber() || c == u'_'))
            return false;
    return true;
}

} // namespace

QVector<Token> Tokenize(const QString& text)
{
    QVector<Token> out;
    const int n = text.size();
    int i = 0;
    bool space = false;
    auto push = [&](TokKind k, QString t, bool national = false) {
        Token tok;
        tok.kind = k;
        tok.text = std::move(t);
        tok.spaceBefore = space;
        tok.national = national;
        out.push_back(std::move(tok));
        space = false;
    };
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) { space = true; ++i; continue; }
        if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {
            while (i < n && text[i] != u'\n') ++i;
            space = true;
            continue;
        }
        if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            const int e = text.indexOf(QLatin1String("*/"), i + 2);
            if (e < 0) throw EOleException(QStringLiteral("Missing end comment mark '*/'."));
            i = e + 2;
            space = true;
            continue;
        }
        const bool national = (c == u'N' || c == u'n') && i + 1 < n && text[i + 1] == u'\'';
        if (c == u'\'' || national) {
            int j = national ? i + 2 : i + 1;
            QString v;
            for (;;) {
                if (j >= n)
                    throw EOleException(QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(v));
                if (text[j] == u'\'') {
                    if (j + 1 < n && text[j + 1] == u'\'') { v += u'\''; j += 2; continue; }
                    ++j;
                    break;
                }
                v += text[j++];
            }
            push(TokKind::String, v, national);
            i = j;
            continue;
        }
        if (c == u'[' || c == u'"') {
            const QChar close = c == u'[' ? u']' : u'"';
            int j = i + 1;
            QString v;
            for (;;) {
                if (j >= n)
                    throw EOleException(QStringLiteral("Unclosed quotation mark before the character string '%1'.").arg(v));
                if (text[j] == close) {
                    if (j + 1 < n && text[j + 1] == close) { v += close; j += 2; continue; }
                    ++j;
                    break;
                }
                v += text[j++];
            }
            push(c == u'[' ? TokKind::Bracketed : TokKind::Quoted, v);
            i = j;
            continue;
        }
        if (c.isDigit() || (c == u'.' && i + 1 < n && text[i + 1].isDigit())) {
            int j = i;
            while (j < n && text[j].isDigit()) ++j;
            if (j < n && text[j] == u'.') {
                ++j;
                while (j < n && text[j].isDigit()) ++j;
            }
            // An exponent only when digits follow: "1e5", "2E-3"; "340.5where" stays two tokens.
            if (j < n && (text[j] == u'e' || text[j] == u'E')) {
                int k = j + 1;
                if (k < n && (text[k] == u'+' || text[k] == u'-')) ++k;
                if (k < n && text[k].isDigit()) {
                    while (k < n && text[k].isDigit()) ++k;
                    j = k;
                }
            }
            push(TokKind::Number, text.mid(i, j - i));
            i = j;
            continue;
        }
        if (isWordStart(c)) {
            int j = i + 1;
            while (j < n && isWordChar(text[j])) ++j;
            push(TokKind::Word, text.mid(i, j - i));
            i = j;
            continue;
        }
        static const char* const twoChar[] = {"<>", "!=", ">=", "<=", "!<", "!>", "||"};
        bool done = false;
        if (i + 1 < n) {
            const QString two = text.mid(i, 2);
            for (const char* t : twoChar)
                if (two == QLatin1String(t)) { push(TokKind::Op, two); i += 2; done = true; break; }
        }
        if (done) continue;
        push(TokKind::Op, QString(c));
        ++i;
    }
    return out;
}

QString QuoteAlways(const QString& name)
{
    QString q = name;
    q.replace(u'"', QLatin1String("\"\""));
    return u'"' + q + u'"';
}

QString QuoteName(const QString& name)
{
    if (isPlainIdentifier(name))
        return name;
    QString q = name;
    q.replace(u'"', QLatin1String("\"\""));
    return u'"' + q + u'"';
}

QString QuoteString(const QString& s)
{
    QString q = s;
    q.replace(u'\'', QLatin1String("''"));
    return u'\'' + q + u'\'';
}

QString Render(const QVector<Token>& toks, int from, int to)
{
    if (to < 0) to = toks.size();
    QString out;
    bool first = true;
    TokKind prev = TokKind::Op;
    for (int i = from; i < to; ++i) {
        const Token& t = toks[i];
        const bool wordLike = t.kind != TokKind::Op;
        if (!first && (t.spaceBefore || (wordLike && prev != TokKind::Op)))
            out += u' ';
        switch (t.kind) {
        case TokKind::Word: case TokKind::Number: case TokKind::Op: out += t.text; break;
        case TokKind::Bracketed: case TokKind::Quoted: out += QuoteAlways(t.text); break;
        case TokKind::String: out += QuoteString(t.text); break;
        }
        prev = t.kind;
        first = false;
    }
    return out;
}

} // namespace tsql
