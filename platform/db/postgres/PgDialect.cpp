#include "PgDialect.h"
#include "platform/db/tsql/Tokenizer.h"
#include <QRegularExpression>

namespace pgdb {

using tsql::Token;
using tsql::TokKind;

namespace {

Token word(const QString& w, bool space = true)
{
    Token t;
    t.kind = TokKind::Word;
    t.text = w;
    t.spaceBefore = space;
    return t;
}

bool at(const QVector<Token>& t, int i, const char* w) { return i < t.size() && t[i].isWord(w); }

// Skips a "(n)" or "(p,s)" after a type name; returns the index after it.
int skipArgs(const QVector<Token>& t, int i)
{
    if (i < t.size() && t[i].isOp("(")) {
        while (i < t.size() && !t[i].isOp(")")) ++i;
        return i + 1;
    }
    return i;
}

} // namespace

QString PgDialect(const QString& sql)
{
    const QVector<Token> in = tsql::Tokenize(sql);
    if (in.isEmpty()) return QString();
    if (at(in, 0, "create") && at(in, 1, "trigger")) return QString();
    const bool createTable = at(in, 0, "create") && at(in, 1, "table");
    QVector<Token> out;
    out.reserve(in.size() + 2);
    int depth = 0;
    int catalogueDepth = -1;   // depth of the derived table that reads the object catalogue
    // CREATE TABLE: the table, and each column's declared spelling and text size, kept as
    // column comments (see ColumnComment) because the server folds names to lower case and
    // its case-insensitive text type has no length.
    QString table;
    QStringList comments;
    bool columnStart = false;
    for (int i = 0; i < in.size(); ++i) {
        Token t = in[i];
        if (createTable) {
            if (depth == 0 && i >= 2 && t.isName()) table = t.text.toLower();
            if (columnStart && (t.kind == TokKind::Quoted || t.kind == TokKind::Bracketed)) {
                ColumnDecl decl;
                decl.spelling = t.text;
                if (i + 3 < in.size() && in[i + 2].isOp("(") && in[i + 3].kind == TokKind::Number &&
                    (in[i + 1].isWord("varchar") || in[i + 1].isWord("nvarchar") || in[i + 1].isWord("char") ||
                     in[i + 1].isWord("nchar")))
                    decl.size = in[i + 3].text.toInt();
                decl.bit = at(in, i + 1, "bit");
                const QString comment = ColumnComment(decl);
                if (!comment.isEmpty())
                    comments << QStringLiteral("comment on column %1.%2 is %3")
                                    .arg(tsql::QuoteAlways(table), tsql::QuoteAlways(t.text.toLower()), tsql::QuoteString(comment));
            }
            columnStart = (t.isOp("(") && depth == 0) || (t.isOp(",") && depth == 1);
        }
        if (t.isOp("(")) ++depth;
        if (t.isOp(")")) {
            out.push_back(t);
            // The server wants a name for every derived table: sysobjects gets its own.
            if (depth == catalogueDepth) {
                catalogueDepth = -1;
                const bool named = i + 1 < in.size() && in[i + 1].isName() &&
                                   !(in[i + 1].kind == TokKind::Word &&
                                     (in[i + 1].isWord("where") || in[i + 1].isWord("order") || in[i + 1].isWord("group") ||
                                      in[i + 1].isWord("inner") || in[i + 1].isWord("left") || in[i + 1].isWord("right") ||
                                      in[i + 1].isWord("join") || in[i + 1].isWord("union") || in[i + 1].isWord("on") ||
                                      in[i + 1].isWord("cross") || in[i + 1].isWord("full") || in[i + 1].isWord("limit")));
                if (!named) out.push_back(word(QStringLiteral("as sysobjects")));
            }
            --depth;
            continue;
        }
        if (t.kind == TokKind::Quoted || t.kind == TokKind::Bracketed) {
            t.kind = TokKind::Quoted;
            t.text = t.text.toLower();
            out.push_back(t);
            continue;
        }
        if (t.kind != TokKind::Word) { out.push_back(t); continue; }
        if (t.isWord("collate") && i + 1 < in.size()) { ++i; continue; }   // dpxci, dpxdate: the types answer
        if (t.isWord("ifnull")) { t.text = QStringLiteral("coalesce"); out.push_back(t); continue; }
        if (t.isWord("sqlite_master")) {
            t.text = QStringLiteral("dpx_objects");
            out.push_back(t);
            catalogueDepth = depth;
            continue;
        }
        if (createTable) {
            if (t.isWord("integer") && at(in, i + 1, "primary") && at(in, i + 2, "key") && at(in, i + 3, "autoincrement")) {
                out.push_back(word(QStringLiteral("serial primary key"), t.spaceBefore));
                i += 3;
                continue;
            }
            // Column types: only words (column names arrive quoted).
            QString type;
            int next = i + 1;
            if (t.isWord("varchar") || t.isWord("nvarchar") || t.isWord("text") || t.isWord("ntext")) {
                type = QStringLiteral("citext");
                next = skipArgs(in, i + 1);
            } else if (t.isWord("nchar")) {
                type = QStringLiteral("char");
            } else if (t.isWord("datetime") || t.isWord("smalldatetime")) {
                type = QStringLiteral("timestamp(3)");
            } else if (t.isWord("bit")) {
                type = QStringLiteral("smallint");
            } else if (t.isWord("tinyint")) {
                type = QStringLiteral("smallint");
            } else if (t.isWord("money") || t.isWord("smallmoney")) {
                type = QStringLiteral("numeric(18,4)");
            } else if (t.isWord("float")) {
                type = QStringLiteral("double precision");
                next = skipArgs(in, i + 1);
            } else if (t.isWord("image")) {
                type = QStringLiteral("bytea");
            }
            if (!type.isEmpty()) {
                out.push_back(word(type, t.spaceBefore));
                i = next - 1;
                continue;
            }
        }
        out.push_back(t);
    }
    QString text = tsql::Render(out);
    for (const QString& c : comments) text += QStringLiteral("; ") + c;
    return text;
}

QString ColumnComment(const ColumnDecl& decl)
{
    if (decl.size <= 0 && !decl.bit && decl.spelling == decl.spelling.toLower()) return QString();
    QString text = decl.spelling;
    if (decl.size > 0) text += u' ' + QString::number(decl.size);
    if (decl.bit) text += QStringLiteral(" bit");
    return text;
}

ColumnDecl ParseColumnComment(const QString& comment)
{
    const QStringList parts = comment.split(u' ', Qt::SkipEmptyParts);
    ColumnDecl decl;
    decl.spelling = parts.value(0);
    for (int i = 1; i < parts.size(); ++i) {
        if (parts[i] == QLatin1String("bit")) decl.bit = true;
        else decl.size = parts[i].toInt();
    }
    return decl;
}

bool WantsRowLock(const QString& tsqlText)
{
    static const QRegularExpression re(QStringLiteral("\\bwith\\s*\\(\\s*(xlock|updlock|tablockx)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(tsqlText).hasMatch();
}

QStringList DatabaseSetup()
{
    return {
        QStringLiteral("create extension if not exists citext"),
        // the object catalogue behind sysobjects, with each object's definition
        QStringLiteral("create or replace view dpx_objects as select "
                       "case c.relkind when 'v' then 'view' when 'i' then 'index' else 'table' end::text as type, "
                       "c.relname::text as name, "
                       "case c.relkind when 'v' then pg_get_viewdef(c.oid) when 'i' then pg_get_indexdef(c.oid) else "
                       "(select string_agg(coalesce(nullif(split_part(col_description(a.attrelid, a.attnum), ' ', 1), ''), a.attname::text) "
                       "|| ' ' || format_type(a.atttypid, a.atttypmod) || "
                       "case when a.attnotnull then ' not null' else '' end, ', ' order by a.attnum) "
                       "from pg_catalog.pg_attribute a where a.attrelid = c.oid and a.attnum > 0 and not a.attisdropped) "
                       "end::text as sql "
                       "from pg_catalog.pg_class c join pg_catalog.pg_namespace n on n.oid = c.relnamespace "
                       "where n.nspname = 'public' and c.relkind in ('r', 'v', 'p', 'i') and c.relname <> 'dpx_objects'"),
        QStringLiteral("create or replace function object_id(text) returns text language sql immutable "
                       "as $$ select lower(regexp_replace(replace(replace($1, '[', ''), ']', ''), '^.*\\.', '')) $$"),
        QStringLiteral("create or replace function getdate() returns timestamp language sql stable "
                       "as 'select localtimestamp(3)'"),
        QStringLiteral("create or replace function datediff(text, timestamp, timestamp) returns integer language sql immutable as $$ "
                       "select case lower($1) "
                       "when 'day' then ($3::date - $2::date) "
                       "when 'month' then ((extract(year from $3) - extract(year from $2)) * 12 + extract(month from $3) - extract(month from $2))::integer "
                       "when 'year' then (extract(year from $3) - extract(year from $2))::integer "
                       "when 'hour' then (extract(epoch from date_trunc('hour', $3) - date_trunc('hour', $2)) / 3600)::integer "
                       "when 'minute' then (extract(epoch from date_trunc('minute', $3) - date_trunc('minute', $2)) / 60)::integer "
                       "else (extract(epoch from date_trunc('second', $3) - date_trunc('second', $2)))::integer end $$"),
        QStringLiteral("create or replace function dateadd(text, integer, timestamp) returns timestamp language sql immutable as $$ "
                       "select case lower($1) "
                       "when 'day' then $3 + $2 * interval '1 day' "
                       "when 'month' then $3 + $2 * interval '1 month' "
                       "when 'year' then $3 + $2 * interval '1 year' "
                       "when 'hour' then $3 + $2 * interval '1 hour' "
                       "when 'minute' then $3 + $2 * interval '1 minute' "
                       "else $3 + $2 * interval '1 second' end $$"),
    };
}

} // namespace pgdb
