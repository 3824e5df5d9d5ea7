#include "SqliteShape.h"
#include <sqlite3.h>

namespace sqlitedb {

namespace {

enum class Tok { None, Word, Op, Number, String, Other };

bool isWordStart(QChar c) { return c.isLetter() || c == u'_' || c.unicode() >= 0x80; }
bool isWordChar(QChar c) { return isWordStart(c) || c.isDigit() || c == u'$'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isComparison(const QString& op)
{
    return op == u"=" || op == u"==" || op == u"<>" || op == u"!=" || op == u"<" || op == u">" || op == u"<=" ||
           op == u">=";
}

// Statements that define or manage the schema keep their literals.
bool isSchemaWord(const QString& w)
{
    for (const char* s : {"create", "drop", "alter", "pragma", "attach", "detach", "vacuum", "reindex", "analyze"})
        if (w.compare(QLatin1String(s), Qt::CaseInsensitive) == 0) return true;
    return false;
}

struct Last {
    Tok kind = Tok::None;
    QString text;   // lower case for words, as written for operators
};

} // namespace

StatementShape ShapeOf(const QString& sql)
{
    StatementShape whole{sql, {}};
    StatementShape out;
    out.text.reserve(sql.size());
    const qsizetype n = sql.size();
    Last prev, prev2;
    int depth = 0, valuesDepth = -1;
    qsizetype minusAt = -1;   // where the text of a unary minus before a number begins
    bool first = true;

    auto push = [&](Tok kind, const QString& text) {
        prev2 = prev;
        prev = {kind, text};
    };
    // A literal is lifted after a comparison or an assignment, and as an item of a VALUES list.
    auto liftsAfter = [&](const Last& p) {
        return (p.kind == Tok::Op && isComparison(p.text)) ||
               (depth == valuesDepth && p.kind == Tok::Op && (p.text == u"(" || p.text == u","));
    };

    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            out.text += c;
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {   // comment to the end of the line
            const qsizetype e = sql.indexOf(u'\n', i);
            const qsizetype end = e < 0 ? n : e;
            out.text += QStringView(sql).mid(i, end - i);
            i = end;
            continue;
        }
        if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype e = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype end = e < 0 ? n : e + 2;
            out.text += QStringView(sql).mid(i, end - i);
            i = end;
            continue;
        }
        if (c == u'\'') {
            QString value;
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (sql[j] == u'\'') {
                    if (j + 1 < n && sql[j + 1] == u'\'') {
                        value += u'\'';
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += sql[j++];
            }
            if (!closed) return whole;
            if (liftsAfter(prev)) {
                ShapeValue v;
                v.kind = ShapeValue::Text;
                v.text = value.toUtf8();
                out.values.push_back(std::move(v));
                out.text += u'?';
            } else {
                out.text += QStringView(sql).mid(i, j - i);
            }
            push(Tok::String, QString());
            i = j;
            first = false;
            continue;
        }
        if (c == u'"' || c == u'`' || c == u'[') {   // a quoted name
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype j = i + 1;
            for (;;) {
                if (j >= n) return whole;
                if (sql[j] == close) {
                    if (close != u']' && j + 1 < n && sql[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            out.text += QStringView(sql).mid(i, j - i);
            push(Tok::Word, QString());
            i = j;
            first = false;
            continue;
        }
        if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(sql[i + 1]))) {
            qsizetype j = i;
            bool real = false;
            if (c == u'0' && i + 1 < n && (sql[i + 1] == u'x' || sql[i + 1] == u'X')) {   // hexadecimal: kept
                j = i + 2;
                while (j < n && isWordChar(sql[j])) ++j;
                out.text += QStringView(sql).mid(i, j - i);
                push(Tok::Other, QString());
                i = j;
                continue;
            }
            while (j < n && isDigit(sql[j])) ++j;
            if (j < n && sql[j] == u'.') {
                real = true;
                ++j;
                while (j < n && isDigit(sql[j])) ++j;
            }
            if (j < n && (sql[j] == u'e' || sql[j] == u'E')) {
                qsizetype k = j + 1;
                if (k < n && (sql[k] == u'+' || sql[k] == u'-')) ++k;
                if (k < n && isDigit(sql[k])) {
                    real = true;
                    j = k;
                    while (j < n && isDigit(sql[j])) ++j;
                }
            }
            if (j < n && isWordChar(sql[j])) return whole;   // not a plain number
            const QStringView digits = QStringView(sql).mid(i, j - i);
            // A unary minus directly before the number belongs to the lifted value.
            const bool negated = prev.kind == Tok::Op && prev.text == u"-" && minusAt >= 0 && liftsAfter(prev2);
            if (negated || liftsAfter(prev)) {
                ShapeValue v;
                bool ok = true;
                if (real) {
                    v.kind = ShapeValue::Real;
                    v.d = digits.toDouble(&ok);
                    if (negated) v.d = -v.d;
                } else {
                    v.kind = ShapeValue::Integer;
                    v.i = digits.toLongLong(&ok);   // too large for 64 bits: kept in the text
                    if (negated) v.i = -v.i;
                }
                if (ok) {
                    if (negated) out.text.truncate(minusAt);
                    out.values.push_back(std::move(v));
                    out.text += u'?';
                } else {
                    out.text += digits;
                }
            } else {
                out.text += digits;
            }
            push(Tok::Number, QString());
            minusAt = -1;
            i = j;
            continue;
        }
        if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordChar(sql[j])) ++j;
            if (j < n && sql[j] == u'\'') return whole;   // a blob literal x'..'
            const QString word = sql.mid(i, j - i).toLower();
            if (first && isSchemaWord(word)) return whole;
            first = false;
            out.text += QStringView(sql).mid(i, j - i);
            push(Tok::Word, word);
            i = j;
            continue;
        }
        if (c == u'?' || c == u':' || c == u'@' || c == u'$' || c == u'#') return whole;   // parameters already
        // Operators and punctuation.
        QString op(c);
        if (i + 1 < n) {
            const QString two = sql.mid(i, 2);
            if (two == u"<>" || two == u"!=" || two == u"<=" || two == u">=" || two == u"==" || two == u"||" ||
                two == u"<<" || two == u">>")
                op = two;
        }
        if (op == u"(") {
            ++depth;
            if (prev.kind == Tok::Word && prev.text == u"values") valuesDepth = depth;
        } else if (op == u")") {
            if (depth == valuesDepth) valuesDepth = -1;
            --depth;
        }
        minusAt = op == u"-" ? out.text.size() : -1;
        out.text += op;
        push(Tok::Op, op);
        i += op.size();
        first = false;
    }
    if (out.values.isEmpty()) return whole;
    return out;
}

bool BindShape(sqlite3_stmt* stmt, const StatementShape& shape)
{
    if (sqlite3_bind_parameter_count(stmt) != shape.values.size()) return false;
    int k = 1;
    for (const ShapeValue& v : shape.values) {
        int rc = SQLITE_OK;
        switch (v.kind) {
        case ShapeValue::Integer: rc = sqlite3_bind_int64(stmt, k, v.i); break;
        case ShapeValue::Real: rc = sqlite3_bind_double(stmt, k, v.d); break;
        case ShapeValue::Text: rc = sqlite3_bind_text(stmt, k, v.text.constData(), int(v.text.size()), SQLITE_TRANSIENT); break;
        }
        if (rc != SQLITE_OK) return false;
        ++k;
    }
    return true;
}

} // namespace sqlitedb
