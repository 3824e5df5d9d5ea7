#include "SqliteShape.h"
#include <sqlite3.h>

namespace sqlitedb {

namespace {

bool isWordStart(QChar c) { return c.isLetter() || c == u'_' || c.unicode() >= 0x80; }
bool isWordChar(QChar c) { return isWordStart(c) || (c >= u'0' && c <= u'9') || c == u'$'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Statements that define or manage the schema keep their literals.
bool isSchemaWord(QStringView w)
{
    for (const char* s : {"create", "drop", "alter", "pragma", "attach", "detach", "vacuum", "reindex", "analyze"})
        if (w.compare(QLatin1String(s), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// What came before a token, as far as lifting needs to know.
enum class Prev { None, Values, Word, Comparison, Open, Comma, Minus, Value, Other };

} // namespace

StatementShape ShapeOf(const QString& sql)
{
    StatementShape whole{sql, {}};
    StatementShape out;
    const QStringView text(sql);
    const qsizetype n = text.size();
    qsizetype copied = 0;       // text before this is in out.text
    Prev prev = Prev::None, prev2 = Prev::None;
    qsizetype minusAt = -1;     // where a unary minus before a number begins in the input
    int depth = 0, valuesDepth = -1;
    bool first = true;

    auto push = [&](Prev p) {
        prev2 = prev;
        prev = p;
    };
    // A literal is lifted after a comparison or an assignment, and as an item of a VALUES list.
    auto liftsAfter = [&](Prev p) {
        return p == Prev::Comparison || (depth == valuesDepth && (p == Prev::Open || p == Prev::Comma));
    };
    // Replaces the input from..to by a parameter.
    auto lift = [&](qsizetype from, qsizetype to, ShapeValue&& v) {
        if (out.text.isEmpty()) out.text.reserve(n);
        out.text += text.mid(copied, from - copied);
        out.text += u'?';
        copied = to;
        out.values.push_back(std::move(v));
    };

    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && text[i + 1] == u'-') {   // comment to the end of the line
            const qsizetype e = text.indexOf(u'\n', i);
            i = e < 0 ? n : e;
            continue;
        }
        if (c == u'/' && i + 1 < n && text[i + 1] == u'*') {
            const qsizetype e = text.indexOf(QLatin1String("*/"), i + 2);
            i = e < 0 ? n : e + 2;
            continue;
        }
        if (c == u'\'') {
            qsizetype j = i + 1;
            bool doubled = false, closed = false;
            while (j < n) {
                if (text[j] == u'\'') {
                    if (j + 1 < n && text[j + 1] == u'\'') {
                        doubled = true;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                ++j;
            }
            if (!closed) return whole;
            if (liftsAfter(prev)) {
                ShapeValue v;
                v.kind = ShapeValue::Text;
                const QStringView inner = text.mid(i + 1, j - i - 2);
                v.text = doubled ? inner.toString().replace(QLatin1String("''"), QLatin1String("'")).toUtf8() : inner.toUtf8();
                lift(i, j, std::move(v));
            }
            push(Prev::Value);
            i = j;
            first = false;
            continue;
        }
        if (c == u'"' || c == u'`' || c == u'[') {   // a quoted name
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype j = i + 1;
            for (;;) {
                if (j >= n) return whole;
                if (text[j] == close) {
                    if (close != u']' && j + 1 < n && text[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            push(Prev::Word);
            i = j;
            first = false;
            continue;
        }
        if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(text[i + 1]))) {
            qsizetype j = i;
            if (c == u'0' && i + 1 < n && (text[i + 1] == u'x' || text[i + 1] == u'X')) {   // hexadecimal: kept
                j = i + 2;
                while (j < n && isWordChar(text[j])) ++j;
                push(Prev::Value);
                minusAt = -1;
                i = j;
                continue;
            }
            bool real = false;
            while (j < n && isDigit(text[j])) ++j;
            if (j < n && text[j] == u'.') {
                real = true;
                ++j;
                while (j < n && isDigit(text[j])) ++j;
            }
            if (j < n && (text[j] == u'e' || text[j] == u'E')) {
                qsizetype k = j + 1;
                if (k < n && (text[k] == u'+' || text[k] == u'-')) ++k;
                if (k < n && isDigit(text[k])) {
                    real = true;
                    j = k;
                    while (j < n && isDigit(text[j])) ++j;
                }
            }
            if (j < n && isWordChar(text[j])) return whole;   // not a plain number
            const QStringView digits = text.mid(i, j - i);
            // A unary minus directly before the number belongs to the lifted value.
            const bool negated = prev == Prev::Minus && minusAt >= copied && liftsAfter(prev2);
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
                if (ok) lift(negated ? minusAt : i, j, std::move(v));
            }
            push(Prev::Value);
            minusAt = -1;
            i = j;
            continue;
        }
        if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordChar(text[j])) ++j;
            if (j < n && text[j] == u'\'') return whole;   // a blob literal x'..'
            const QStringView word = text.mid(i, j - i);
            if (first && isSchemaWord(word)) return whole;
            first = false;
            push(word.compare(QLatin1String("values"), Qt::CaseInsensitive) == 0 ? Prev::Values : Prev::Word);
            i = j;
            continue;
        }
        if (c == u'?' || c == u':' || c == u'@' || c == u'$' || c == u'#') return whole;   // parameters already
        // Operators and punctuation.
        qsizetype len = 1;
        Prev kind = Prev::Other;
        const QChar d = i + 1 < n ? text[i + 1] : QChar();
        switch (c.unicode()) {
        case u'=':
            kind = Prev::Comparison;
            if (d == u'=') len = 2;
            break;
        case u'<':
            if (d == u'>' || d == u'=') { len = 2; kind = Prev::Comparison; }
            else if (d == u'<') len = 2;
            else kind = Prev::Comparison;
            break;
        case u'>':
            if (d == u'=') { len = 2; kind = Prev::Comparison; }
            else if (d == u'>') len = 2;
            else kind = Prev::Comparison;
            break;
        case u'!':
            if (d == u'=') { len = 2; kind = Prev::Comparison; }
            break;
        case u'|':
            if (d == u'|') len = 2;
            break;
        case u'(':
            ++depth;
            if (prev == Prev::Values) valuesDepth = depth;
            kind = Prev::Open;
            break;
        case u')':
            if (depth == valuesDepth) valuesDepth = -1;
            --depth;
            break;
        case u',':
            kind = Prev::Comma;
            break;
        case u'-':
            kind = Prev::Minus;
            break;
        default:
            break;
        }
        minusAt = kind == Prev::Minus ? i : -1;
        push(kind);
        i += len;
        first = false;
    }
    if (out.values.isEmpty()) return whole;
    out.text += text.mid(copied);
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
