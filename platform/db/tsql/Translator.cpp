#include "Translator.h"
#include "platform/rtl/Exceptions.h"
#include <QRegularExpression>
#include <iterator>
#include <vector>

namespace tsql {

namespace {

using Toks = QVector<Token>;

[[noreturn]] void syntaxError(const Toks& t, int i)
{
    const QString near = i < t.size() ? Render(t, i, i + 1) : QStringLiteral("end of statement");
    throw EOleException(QStringLiteral("Incorrect syntax near '%1'.").arg(near));
}

Token word(const QString& w, bool space = true)
{
    Token t;
    t.kind = TokKind::Word;
    t.text = w;
    t.spaceBefore = space;
    return t;
}

Token op(const QString& o, bool space = false)
{
    Token t;
    t.kind = TokKind::Op;
    t.text = o;
    t.spaceBefore = space;
    return t;
}

Token str(const QString& s)
{
    Token t;
    t.kind = TokKind::String;
    t.text = s;
    return t;
}

bool oneOf(const Token& t, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (t.isWord(w)) return true;
    return false;
}

// Index of the ')' matching the '(' at i.
int matchParen(const Toks& t, int i)
{
    int depth = 0;
    for (int j = i; j < t.size(); ++j) {
        if (t[j].isOp("(")) ++depth;
        else if (t[j].isOp(")") && --depth == 0) return j;
    }
    syntaxError(t, i);
}

// ----- statement boundaries -----

bool startsStatement(const Token& t)
{
    return oneOf(t, {"use", "restore", "backup", "alter", "drop", "create", "insert", "update",
                     "delete", "if", "set", "go"});
}

// End (exclusive) of the statement that begins at i.
int statementEnd(const Toks& t, int i)
{
    const Token& first = t[i];
    const bool adminLike = oneOf(first, {"restore", "backup", "alter", "drop", "set"});
    int depth = 0;
    for (int j = i + 1; j < t.size(); ++j) {
        const Token& k = t[j];
        if (k.isOp("(")) { ++depth; continue; }
        if (k.isOp(")")) { --depth; continue; }
        if (depth > 0) continue;
        if (k.isOp(";")) return j;
        // "set" is a statement only at the start; inside UPDATE it is part of the statement.
        if (k.isWord("set") && !first.isWord("set")) continue;
        if (startsStatement(k)) {
            // "alter database x set offline ..." keeps its own words.
            if (first.isWord("create") && j == i + 1) continue;
            return j;
        }
        if (adminLike && k.isWord("select")) return j;
    }
    return t.size();
}

// ----- names -----

// Name at i, skipping owner prefixes: "dbo.t", "[dbo].[t]", "master..t" (kept as master.t),
// "master.dbo.t". Returns the index after the name; fills the parts.
struct QualName { QString db; QString name; };

int readName(const Toks& t, int i, QualName& out)
{
    if (i >= t.size() || !t[i].isName()) syntaxError(t, i);
    QStringList parts;
    parts << t[i].text;
    int j = i + 1;
    while (j < t.size() && t[j].isOp(".")) {
        ++j;
        if (j < t.size() && t[j].isOp(".")) { parts << QString(); ++j; }
        if (j >= t.size() || !t[j].isName()) syntaxError(t, j);
        parts << t[j].text;
        ++j;
    }
    out.name = parts.last();
    out.db = parts.size() >= 3 ? parts.first() : QString();
    if (parts.size() == 2 && parts.first().compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0)
        out.db = parts.first();   // "db.t" written with one dot is not used by the program; keep it
    return j;
}

QString renderName(const QualName& n, bool currentIsMaster)
{
    if (!n.db.isEmpty() && !(currentIsMaster && n.db.compare(QLatin1String("master"), Qt::CaseInsensitive) == 0))
        return QuoteName(n.db.toLower()) + u'.' + QuoteAlways(n.name);
    return QuoteAlways(n.name);
}

// ----- the rules for ordinary statements -----

const char* const kTableHints[] = {"xlock", "nolock", "rowlock", "updlock", "holdlock", "tablock",
                                   "tablockx", "paglock", "readpast", "readcommitted",
                                   "readuncommitted", "repeatableread", "serializable", "nowait",
                                   "noexpand", "index", "forceseek"};

bool isTableHintList(const Toks& t, int open)
{
    if (open + 1 >= t.size() || t[open + 1].kind != TokKind::Word) return false;
    for (const char* h : kTableHints)
        if (t[open + 1].isWord(h)) return true;
    return false;
}

const char* const kSysObjects =
    "(select lower(name) as id, name, case type when 'table' then 'U' else 'V' end as xtype, "
    "case type when 'table' then 'U' else 'V' end as type, 1 as uid from sqlite_master "
    "where type in ('table','view') and name not like 'sqlite%')";

struct Pending { int depth; QString limit; };

// Translates an ordinary statement (SELECT, INSERT, UPDATE, DELETE, DROP TABLE, ...).
Toks translateTokens(const Toks& input, bool currentIsMaster)
{
    Toks in = input;
    Toks out;
    out.reserve(in.size() + 8);
    QVector<Pending> limits;
    int depth = 0;
    auto closeLimits = [&](int d) {
        while (!limits.isEmpty() && limits.last().depth == d) {
            out.push_back(word(QStringLiteral("limit")));
            Token n;
            n.kind = TokKind::Number;
            n.text = limits.last().limit;
            n.spaceBefore = true;
            out.push_back(n);
            limits.removeLast();
        }
    };
    for (int i = 0; i < in.size(); ++i) {
        const Token& t = in[i];
        if (t.isOp("(")) { ++depth; out.push_back(t); continue; }
        if (t.isOp(")")) { closeLimits(depth); --depth; out.push_back(t); continue; }
        if (t.kind == TokKind::String) {
            Token s = t;
            s.national = false;
            out.push_back(s);
            continue;
        }
        if (t.isName() && i + 1 < in.size() && in[i + 1].isOp(".")) {
            // Qualified names: owner prefixes dropped, master..t kept as master.t.
            const bool isDbo = t.isName("dbo");
            const bool isMaster = t.isName("master");
            if (isDbo && i + 2 < in.size() && in[i + 2].isName()) {
                in[i + 2].spaceBefore = t.spaceBefore;
                ++i;     // drop "dbo."
                continue;
            }
            if (isMaster && i + 2 < in.size() && (in[i + 2].isOp(".") || in[i + 2].isName("dbo"))) {
                int j = i + 2;
                if (in[j].isOp(".")) ++j; else j += 2;   // "master..t" or "master.dbo.t"
                if (!currentIsMaster) {
                    Token m = word(QStringLiteral("master"), t.spaceBefore);
                    out.push_back(m);
                    out.push_back(op(QStringLiteral(".")));
                    Token nt = in[j];
                    nt.spaceBefore = false;
                    out.push_back(nt);
                } else {
                    Token nt = in[j];
                    nt.spaceBefore = t.spaceBefore;
                    out.push_back(nt);
                }
                i = j;
                continue;
            }
        }
        if (t.kind == TokKind::Word) {
            // Table hints: with(Xlock), WITH (NOLOCK, ROWLOCK).
            if (t.isWord("with") && i + 1 < in.size() && in[i + 1].isOp("(") && isTableHintList(in, i + 1)) {
                i = matchParen(in, i + 1);
                continue;
            }
            // select [distinct] top n ...  ->  select ... limit n (at the end of that select)
            if (t.isWord("top") && !out.isEmpty() &&
                (out.last().isWord("select") || out.last().isWord("distinct"))) {
                int j = i + 1;
                QString n;
                if (j < in.size() && in[j].isOp("(")) {
                    const int e = matchParen(in, j);
                    n = Render(in, j + 1, e);
                    j = e + 1;
                } else if (j < in.size() && in[j].kind == TokKind::Number) {
                    n = in[j].text;
                    ++j;
                } else {
                    syntaxError(in, j);
                }
                if (j < in.size() && in[j].isWord("percent"))
                    ++j;   // "top 100 percent" (views): every row
                else
                    limits.push_back({depth, n});
                i = j - 1;
                continue;
            }
            // delete t where ...  ->  delete from t where ...
            if (t.isWord("delete") && i + 1 < in.size() && !in[i + 1].isWord("from") && in[i + 1].isName()) {
                out.push_back(t);
                out.push_back(word(QStringLiteral("from")));
                continue;
            }
            if (t.isWord("isnull") && i + 1 < in.size() && in[i + 1].isOp("(")) {
                Token f = t;
                f.text = QStringLiteral("ifnull");
                out.push_back(f);
                continue;
            }
            // datediff(day, a, b): the unit becomes a text argument of the engine's function.
            if (oneOf(t, {"datediff", "dateadd", "datepart"}) && i + 2 < in.size() && in[i + 1].isOp("(") &&
                in[i + 2].kind == TokKind::Word) {
                out.push_back(t);
                out.push_back(in[i + 1]);
                out.push_back(str(in[i + 2].text.toLower()));
                ++depth;
                i += 2;
                continue;
            }
            if (t.isWord("sysobjects")) {
                Toks sub = Tokenize(QLatin1String(kSysObjects));
                sub[0].spaceBefore = t.spaceBefore;
                out += sub;
                continue;
            }
            // OBJECTPROPERTY(id, 'IsUserTable') over the catalogue above.
            if (t.isWord("objectproperty") && i + 1 < in.size() && in[i + 1].isOp("(")) {
                const int e = matchParen(in, i + 1);
                const bool userTable = e - 1 > i + 1 && in[e - 1].kind == TokKind::String &&
                                       in[e - 1].text.compare(QLatin1String("IsUserTable"), Qt::CaseInsensitive) == 0;
                Toks sub = Tokenize(userTable ? QStringLiteral("(case xtype when 'U' then 1 else 0 end)")
                                              : QStringLiteral("0"));
                sub[0].spaceBefore = t.spaceBefore;
                out += sub;
                i = e;
                continue;
            }
        }
        out.push_back(t);
    }
    closeLimits(0);
    return out;
}

// ----- DDL -----

struct ColumnDef {
    QString name;
    QString type;      // lower case with its arguments: "varchar(50)", "numeric(18,4)"
    bool identity = false;
    bool notNull = false;
    bool primaryKey = false;
    bool unique = false;
    QString defaultExpr;
};

QString baseType(const QString& type)
{
    const int p = type.indexOf(u'(');
    return (p < 0 ? type : type.left(p)).trimmed();
}

bool isTextType(const QString& b)
{
    return b == u"varchar" || b == u"nvarchar" || b == u"char" || b == u"nchar" || b == u"text" || b == u"ntext";
}

bool isDecimalType(const QString& b)
{
    return b == u"numeric" || b == u"decimal" || b == u"money" || b == u"smallmoney";
}

bool isDateType(const QString& b)
{
    return b == u"datetime" || b == u"smalldatetime" || b == u"date";
}

int typeScale(const QString& type)
{
    const QString b = baseType(type);
    if (b == u"money" || b == u"smallmoney") return 4;
    static const QRegularExpression re(QStringLiteral("\\(\\s*\\d+\\s*,\\s*(\\d+)\\s*\\)"));
    const auto m = re.match(type);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

int typeLength(const QString& type)
{
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d+)\\s*\\)"));
    const auto m = re.match(type);
    return m.hasMatch() ? m.captured(1).toInt() : 1;
}

// Reads "[name] [type] (args) ..." column attributes up to the next ',' or the closing ')'.
int readColumn(const Toks& t, int i, int end, ColumnDef& c)
{
    c.name = t[i].text;
    ++i;
    if (i >= end || !t[i].isName()) syntaxError(t, i);
    c.type = t[i].text.toLower();
    ++i;
    if (i < end && t[i].isOp("(")) {
        const int e = matchParen(t, i);
        QString args;
        for (int k = i + 1; k < e; ++k) args += t[k].text;
        c.type += u'(' + args.toLower() + u')';
        i = e + 1;
    }
    while (i < end && !t[i].isOp(",")) {
        const Token& k = t[i];
        if (k.isWord("collate")) { i += 2; continue; }
        if (k.isWord("identity")) {
            c.identity = true;
            ++i;
            if (i < end && t[i].isOp("(")) i = matchParen(t, i) + 1;
            continue;
        }
        if (k.isWord("not") && i + 1 < end && t[i + 1].isWord("null")) { c.notNull = true; i += 2; continue; }
        if (k.isWord("not") && i + 2 < end && t[i + 1].isWord("for") && t[i + 2].isWord("replication")) { i += 3; continue; }
        if (k.isWord("null")) { ++i; continue; }
        if (k.isWord("constraint")) { i += 2; continue; }
        if (k.isWord("primary") && i + 1 < end && t[i + 1].isWord("key")) {
            c.primaryKey = true;
            i += 2;
            continue;
        }
        if (k.isWord("unique")) { c.unique = true; ++i; continue; }
        if (oneOf(k, {"clustered", "nonclustered", "rowguidcol"})) { ++i; continue; }
        if (k.isWord("default")) {
            ++i;
            int e = i;
            if (e < end && t[e].isOp("(")) e = matchParen(t, e) + 1;
            else {
                if (e < end && (t[e].isOp("-") || t[e].isOp("+"))) ++e;
                ++e;
                if (e < end && t[e].isOp("(")) e = matchParen(t, e) + 1;   // default getdate()
            }
            c.defaultExpr = Render(translateTokens(t.mid(i, e - i), false));
            i = e;
            continue;
        }
        syntaxError(t, i);
    }
    return i;
}

// CREATE TABLE: identity becomes "integer primary key autoincrement" (keys never reused), text
// columns compare ignoring case and trailing blanks, datetime columns compare as instants;
// triggers keep numeric columns rounded to their scale, datetime columns in their canonical
// text and fixed-width text padded, whatever statement writes them.
QStringList translateCreateTable(const Toks& t, int i, bool currentIsMaster)
{
    QualName tn;
    i = readName(t, i, tn);
    if (i >= t.size() || !t[i].isOp("(")) syntaxError(t, i);
    const int close = matchParen(t, i);
    QVector<ColumnDef> cols;
    QStringList tablePk;
    QList<QStringList> tableUnique;
    int j = i + 1;
    while (j < close) {
        if (t[j].isWord("constraint") || t[j].isWord("primary") || t[j].isWord("unique")) {
            if (t[j].isWord("constraint")) j += 2;
            const bool pk = t[j].isWord("primary");
            while (j < close && !t[j].isOp("(")) ++j;
            const int e = matchParen(t, j);
            QStringList names;
            for (int k = j + 1; k < e; ++k)
                if (t[k].isName() && !oneOf(t[k], {"asc", "desc"})) names << t[k].text;
            if (pk) tablePk = names; else tableUnique << names;
            j = e + 1;
            while (j < close && !t[j].isOp(",")) {
                if (t[j].isOp("(")) j = matchParen(t, j);
                ++j;
            }
        } else {
            ColumnDef c;
            j = readColumn(t, j, close, c);
            cols << c;
        }
        if (j < close && t[j].isOp(",")) {
            ++j;
            if (j >= close) syntaxError(t, close);   // a dangling ','
        }
    }
    if (cols.isEmpty()) syntaxError(t, close);
    const QString table = renderName(tn, currentIsMaster);
    const QString bare = QuoteAlways(tn.name);
    QString schemaPrefix = table.left(table.size() - bare.size());   // "master." or ""

    if (tablePk.size() == 1)
        for (ColumnDef& c : cols)
            if (c.name.compare(tablePk.first(), Qt::CaseInsensitive) == 0 && c.identity) { c.primaryKey = true; tablePk.clear(); break; }
    bool identityIsKey = false;
    QStringList defs;
    for (const ColumnDef& c : cols) {
        const QString b = baseType(c.type);
        QString d = QuoteAlways(c.name) + u' ';
        if (c.identity && !identityIsKey && tablePk.isEmpty() &&
            std::none_of(cols.begin(), cols.end(), [&](const ColumnDef& o) { return o.primaryKey && &o != &c; })) {
            d += QStringLiteral("integer primary key autoincrement");
            identityIsKey = true;
        } else {
            d += c.type;
            if (c.primaryKey) d += QStringLiteral(" primary key");
        }
        if (c.notNull) d += QStringLiteral(" not null");
        if (c.unique) d += QStringLiteral(" unique");
        if (!c.defaultExpr.isEmpty()) {
            QString e = c.defaultExpr;
            if (!e.startsWith(u'(')) e = u'(' + e + u')';
            d += QStringLiteral(" default ") + e;
        }
        if (isTextType(b)) d += QStringLiteral(" collate dpxci");
        else if (isDateType(b)) d += QStringLiteral(" collate dpxdate");
        // A text longer than its column is refused, as the server refuses it, instead of being
        // kept whole and cut when read.
        if (isTextType(b) && b != u"text" && b != u"ntext" && c.type.contains(u'(') && !c.type.contains(QLatin1String("max")))
            d += QStringLiteral(" constraint %1 check (length(%2) <= %3)")
                     .arg(QuoteAlways(QLatin1String(kLengthCheck) + c.name), QuoteAlways(c.name)).arg(typeLength(c.type));
        defs << d;
    }
    auto quoteList = [](const QStringList& names) {
        QStringList q;
        for (const QString& n : names) q << QuoteAlways(n);
        return q.join(u',');
    };
    if (!tablePk.isEmpty()) defs << QStringLiteral("primary key (") + quoteList(tablePk) + u')';
    for (const QStringList& u : tableUnique) defs << QStringLiteral("unique (") + quoteList(u) + u')';

    QStringList out;
    out << QStringLiteral("create table ") + table + QStringLiteral(" (") + defs.join(QStringLiteral(", ")) + u')';

    QStringList setList, whenList, colNames;
    for (const ColumnDef& c : cols) {
        const QString b = baseType(c.type);
        const QString q = QuoteAlways(c.name);
        QString fn;
        if (isDecimalType(b)) fn = QStringLiteral("dpx_num(%1,%2)").arg(q).arg(typeScale(c.type));
        else if (isDateType(b)) fn = QStringLiteral("dpx_dt(%1)").arg(q);
        else if (b == u"nchar" || b == u"char") fn = QStringLiteral("dpx_pad(%1,%2)").arg(q).arg(typeLength(c.type));
        if (fn.isEmpty()) continue;
        setList << q + u'=' + fn;
        QString newFn = fn;
        newFn.replace(q, QStringLiteral("NEW.") + q);
        whenList << QStringLiteral("NEW.%1 IS NOT %2 COLLATE BINARY").arg(q, newFn);
        colNames << q;
    }
    if (!setList.isEmpty()) {
        const QString body = QStringLiteral(" BEGIN UPDATE %1 SET %2 WHERE rowid=NEW.rowid; END")
                                 .arg(bare, setList.join(u','));
        const QString when = QStringLiteral(" WHEN ") + whenList.join(QStringLiteral(" OR "));
        out << QStringLiteral("create trigger %1\"%2$norm_i\" after insert on %3%4%5")
                   .arg(schemaPrefix, tn.name, bare, when, body);
        out << QStringLiteral("create trigger %1\"%2$norm_u\" after update of %3 on %4%5%6")
                   .arg(schemaPrefix, tn.name, colNames.join(u','), bare, when, body);
    }
    return out;
}

// CREATE [UNIQUE] [CLUSTERED|NONCLUSTERED] INDEX n ON t (cols) [WITH ...] [ON [PRIMARY]]
QStringList translateCreateIndex(const Toks& t, int i, bool unique, bool currentIsMaster)
{
    const QString name = t[i].text;
    ++i;
    if (i >= t.size() || !t[i].isWord("on")) syntaxError(t, i);
    QualName tn;
    i = readName(t, i + 1, tn);
    if (i >= t.size() || !t[i].isOp("(")) syntaxError(t, i);
    const int e = matchParen(t, i);
    const QString table = renderName(tn, currentIsMaster);
    const QString prefix = table.left(table.size() - QuoteAlways(tn.name).size());
    // SQLite index names are per database; SQL Server's are per table.
    return {QStringLiteral("create %1index %2\"%3$%4\" on %5 (%6)")
                .arg(unique ? QStringLiteral("unique ") : QString(), prefix, tn.name, name,
                     QuoteAlways(tn.name), Render(t, i + 1, e))};
}

QStringList translateCreate(const Toks& t, bool currentIsMaster)
{
    int i = 1;
    bool unique = false;
    while (i < t.size() && oneOf(t[i], {"unique", "clustered", "nonclustered"})) {
        if (t[i].isWord("unique")) unique = true;
        ++i;
    }
    if (i >= t.size()) syntaxError(t, i);
    if (t[i].isWord("table")) return translateCreateTable(t, i + 1, currentIsMaster);
    if (t[i].isWord("index")) return translateCreateIndex(t, i + 1, unique, currentIsMaster);
    if (t[i].isWord("view")) {
        QualName vn;
        int j = readName(t, i + 1, vn);
        QString columns;
        if (j < t.size() && t[j].isOp("(")) {   // CREATE VIEW v (a, b) AS ...
            const int e = matchParen(t, j);
            columns = u' ' + Render(t, j, e + 1);
            j = e + 1;
        }
        if (j >= t.size() || !t[j].isWord("as")) syntaxError(t, j);
        return {QStringLiteral("create view ") + renderName(vn, currentIsMaster) + columns + QStringLiteral(" as ") +
                Render(translateTokens(t.mid(j + 1), currentIsMaster))};
    }
    syntaxError(t, i);
}

// ALTER TABLE t [WITH NOCHECK] ADD CONSTRAINT n PRIMARY KEY|UNIQUE [CLUSTERED] (cols): a unique index.
QStringList translateAlterTable(const Toks& t, bool currentIsMaster)
{
    QualName tn;
    int i = readName(t, 2, tn);
    if (i < t.size() && t[i].isWord("with")) i += 2;
    if (i + 3 < t.size() && t[i].isWord("add") && t[i + 1].isWord("constraint")) {
        const QString cname = t[i + 2].text;
        int j = i + 3;
        if (t[j].isWord("primary") || t[j].isWord("unique")) {
            while (j < t.size() && !t[j].isOp("(")) ++j;
            if (j >= t.size()) syntaxError(t, j);
            const int e = matchParen(t, j);
            const QString table = renderName(tn, currentIsMaster);
            const QString prefix = table.left(table.size() - QuoteAlways(tn.name).size());
            return {QStringLiteral("create unique index %1\"%2$%3\" on %4 (%5)")
                        .arg(prefix, tn.name, cname, QuoteAlways(tn.name), Render(t, j + 1, e))};
        }
    }
    syntaxError(t, i);
}

// ----- administration -----

QString expectString(const Toks& t, int& i)
{
    if (i < t.size() && t[i].isOp("=")) ++i;
    if (i >= t.size() || t[i].kind != TokKind::String) syntaxError(t, i);
    return t[i++].text;
}

Statement parseAdmin(const Toks& t)
{
    Statement s;
    const Token& first = t[0];
    if (t.size() < 3 || !t[1].isWord("database")) syntaxError(t, 1);
    if (!t[2].isName()) syntaxError(t, 2);
    s.name = t[2].text;
    int i = 3;
    if (first.isWord("create")) {
        s.kind = StmtKind::CreateDatabase;
    } else if (first.isWord("drop")) {
        s.kind = StmtKind::DropDatabase;
        s.names << s.name;
        while (i + 1 < t.size() && t[i].isOp(",") && t[i + 1].isName()) { s.names << t[i + 1].text; i += 2; }
    } else if (first.isWord("backup")) {
        s.kind = StmtKind::Backup;
        if (i + 1 >= t.size() || !t[i].isWord("to") || !t[i + 1].isWord("disk")) syntaxError(t, i);
        i += 2;
        s.path = LocalPath(expectString(t, i));
        i = t.size();   // WITH INIT, FORMAT, ...: nothing to do for a one-file backup
    } else if (first.isWord("restore")) {
        s.kind = StmtKind::Restore;
        if (i + 1 >= t.size() || !t[i].isWord("from") || !t[i + 1].isWord("disk")) syntaxError(t, i);
        i += 2;
        s.path = LocalPath(expectString(t, i));
        if (i < t.size() && t[i].isWord("with")) {
            ++i;
            while (i < t.size()) {
                if (t[i].isWord("replace")) { s.replace = true; ++i; }
                else if (t[i].isWord("move")) {
                    ++i;
                    if (i >= t.size() || t[i].kind != TokKind::String) syntaxError(t, i);
                    ++i;
                    if (i >= t.size() || !t[i].isWord("to")) syntaxError(t, i);
                    ++i;
                    const QString target = LocalPath(expectString(t, i));
                    // The first MOVE names the data file; the log file has no counterpart here.
                    if (s.dataFile.isEmpty()) s.dataFile = target;
                } else if (t[i].isWord("file")) { ++i; if (i < t.size() && t[i].isOp("=")) i += 2; }
                else if (t[i].isOp(",") || oneOf(t[i], {"recovery", "norecovery", "stats", "nounload", "unload", "restricted_user"})) {
                    ++i;
                    if (i < t.size() && t[i].isOp("=")) i += 2;
                } else syntaxError(t, i);
            }
        }
    } else if (first.isWord("alter")) {
        if (i >= t.size() || !t[i].isWord("set") || i + 1 >= t.size()) syntaxError(t, i);
        if (t[i + 1].isWord("offline")) s.kind = StmtKind::SetOffline;
        else if (t[i + 1].isWord("online")) s.kind = StmtKind::SetOnline;
        else syntaxError(t, i + 1);
        i = t.size();   // WITH ROLLBACK IMMEDIATE: other clients find the database offline at their next step
    } else {
        syntaxError(t, 0);
    }
    if (i < t.size()) syntaxError(t, i);
    return s;
}

Statement translateOne(const Toks& t, bool currentIsMaster);

Statement translateIf(const Toks& t, bool currentIsMaster)
{
    Statement s;
    s.kind = StmtKind::IfExists;
    int i = 1;
    if (i < t.size() && t[i].isWord("not")) { s.negate = true; ++i; }
    if (i >= t.size() || !t[i].isWord("exists")) syntaxError(t, i);
    ++i;
    if (i >= t.size() || !t[i].isOp("(")) syntaxError(t, i);
    const int e = matchParen(t, i);
    s.condition = Render(translateTokens(t.mid(i + 1, e - i - 1), currentIsMaster));
    if (e + 1 >= t.size()) syntaxError(t, e + 1);
    s.body = std::make_shared<Statement>(translateOne(t.mid(e + 1), currentIsMaster));
    return s;
}

Statement translateOne(const Toks& t, bool currentIsMaster)
{
    const Token& first = t[0];
    Statement s;
    if (first.isWord("use")) {
        if (t.size() != 2 || !t[1].isName()) syntaxError(t, t.size() > 1 ? 2 : 1);
        s.kind = StmtKind::Use;
        s.name = t[1].text;
        return s;
    }
    if (first.isWord("if")) return translateIf(t, currentIsMaster);
    if (first.isWord("set") || first.isWord("go")) { s.kind = StmtKind::Nothing; return s; }
    if (t.size() > 1 && t[1].isWord("database") && oneOf(first, {"create", "drop", "backup", "restore", "alter"}))
        return parseAdmin(t);
    if (first.isWord("create")) { s.sql = translateCreate(t, currentIsMaster); return s; }
    if (first.isWord("alter") && t.size() > 1 && t[1].isWord("table")) { s.sql = translateAlterTable(t, currentIsMaster); return s; }
    if (first.isWord("drop") && t.size() > 1 && oneOf(t[1], {"table", "view", "index"})) {
        // DROP INDEX t.n names the index by its table, as it was created.
        if (t[1].isWord("index") && t.size() >= 5 && t[3].isOp(".")) {
            s.sql << QStringLiteral("drop index \"%1$%2\"").arg(t[2].text, t[4].text);
            return s;
        }
    }
    s.sql << Render(translateTokens(t, currentIsMaster));
    return s;
}

} // namespace

QString LocalPath(const QString& path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    while (p.contains(QLatin1String("//"))) p.replace(QLatin1String("//"), QLatin1String("/"));
    return p;
}

namespace {

// True when SQLite reads the text exactly as the server would: one plain SELECT, INSERT or
// UPDATE without brackets, national strings, glued numbers, comments, separators or any word
// that a rule rewrites. Most composed statements are such, and skip the token pipeline.
bool isPlainStatement(const QString& text)
{
    static const char* const kRuleWords[] = {
        "with", "top", "dbo", "master", "isnull", "datediff", "dateadd", "datepart", "sysobjects",
        "objectproperty", "delete", "use", "restore", "backup", "alter", "drop", "create", "if", "go"};
    static const std::vector<QLatin1String> ruleWords(std::begin(kRuleWords), std::end(kRuleWords));
    const int n = text.size();
    const QChar* p = text.constData();
    int i = 0;
    bool first = true;
    while (i < n) {
        const QChar c = p[i];
        if (c == u'\'') {
            for (++i;; ++i) {
                if (i >= n) return false;   // unclosed: the tokenizer reports it
                if (p[i] != u'\'') continue;
                if (i + 1 < n && p[i + 1] == u'\'') { ++i; continue; }
                break;
            }
            ++i;
            continue;
        }
        if (c == u'[' || c == u'"' || c == u';' || c == u'@' || c == u'#') return false;
        if ((c == u'-' && i + 1 < n && p[i + 1] == u'-') || (c == u'/' && i + 1 < n && p[i + 1] == u'*')) return false;
        if (c.isDigit()) {
            while (i < n && (p[i].isDigit() || p[i] == u'.')) ++i;
            if (i < n && p[i].isLetter()) return false;   // 340.5where, 1e5
            continue;
        }
        if (c.isLetter() || c == u'_') {
            const int start = i;
            while (i < n && (p[i].isLetterOrNumber() || p[i] == u'_' || p[i] == u'$')) ++i;
            const int len = i - start;
            if (len == 1 && (c == u'N' || c == u'n') && i < n && p[i] == u'\'') return false;
            const QStringView w(p + start, len);
            if (first) {
                if (w.compare(QLatin1String("select"), Qt::CaseInsensitive) != 0 &&
                    w.compare(QLatin1String("insert"), Qt::CaseInsensitive) != 0 &&
                    w.compare(QLatin1String("update"), Qt::CaseInsensitive) != 0)
                    return false;
                first = false;
                continue;
            }
            if (len >= 2 && len <= 14)
                for (const QLatin1String& r : ruleWords)
                    if (r.size() == len && w.compare(r, Qt::CaseInsensitive) == 0) return false;
            continue;
        }
        if (c.unicode() >= 0x80 && !c.isSpace()) return false;   // letters of other scripts outside strings
        ++i;
    }
    return !first;
}

} // namespace

QString TruncationMessage(const QString& engineMessage)
{
    const int at = engineMessage.indexOf(QLatin1String(kLengthCheck));
    if (at < 0) return QString();
    QString column = engineMessage.mid(at + int(qstrlen(kLengthCheck)));
    const int end = column.indexOf(QRegularExpression(QStringLiteral("[\"\\s]")));
    if (end >= 0) column.truncate(end);
    return QStringLiteral("String or binary data would be truncated in column '%1'. The statement has been terminated.")
        .arg(column);
}

Batch TranslateBatch(const QString& tsqlText, bool currentIsMaster)
{
    if (isPlainStatement(tsqlText)) {
        Statement st;
        st.sql << tsqlText;
        st.source = tsqlText;
        return {st};
    }
    const Toks toks = Tokenize(tsqlText);
    Batch batch;
    int i = 0;
    while (i < toks.size()) {
        if (toks[i].isOp(";")) { ++i; continue; }
        int end;
        if (toks[i].isWord("use")) end = std::min<int>(i + 2, toks.size());
        else if (toks[i].isWord("if")) {
            // if [not] exists (...) <statement>
            int j = i + 1;
            if (j < toks.size() && toks[j].isWord("not")) ++j;
            if (j + 1 >= toks.size() || !toks[j].isWord("exists") || !toks[j + 1].isOp("(")) syntaxError(toks, j);
            j = matchParen(toks, j + 1) + 1;
            if (j >= toks.size()) syntaxError(toks, j);
            end = toks[j].isWord("use") ? std::min<int>(j + 2, toks.size()) : statementEnd(toks, j);
        } else
            end = statementEnd(toks, i);
        const Toks part = toks.mid(i, end - i);
        Statement st = translateOne(part, currentIsMaster);
        for (int k = 0; k + 1 < part.size(); ++k)
            if (part[k].isName("master") && part[k + 1].isOp(".")) st.mentionsMaster = true;
        if (st.mentionsMaster) st.source = Render(part);
        batch.push_back(std::move(st));
        i = end;
    }
    return batch;
}

std::shared_ptr<const Batch> TranslationCache::Get(const QString& text, bool currentIsMaster)
{
    // A plain statement runs as it is written: one look at it costs less than keeping it, and
    // the texts composed with values (a page's last key) would only push out the others.
    if (isPlainStatement(text)) {
        Statement st;
        st.sql << text;
        st.source = text;
        return std::make_shared<const Batch>(Batch{std::move(st)});
    }
    auto& map = m_map[currentIsMaster ? 1 : 0];
    auto it = map.constFind(text);
    if (it != map.constEnd()) return it.value();
    auto b = std::make_shared<const Batch>(TranslateBatch(text, currentIsMaster));
    if (map.size() >= 4096) map.clear();   // composed texts vary by value; keep the cache bounded
    map.insert(text, b);
    return b;
}

} // namespace tsql
