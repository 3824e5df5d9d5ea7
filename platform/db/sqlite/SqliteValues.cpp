#include "SqliteValues.h"
#include "SqliteFunctions.h"
#include <cmath>
#include <sqlite3.h>

namespace sqlitedb {

namespace {

bool isPlainName(const char* s)
{
    if (!s || !*s) return false;
    const unsigned char c0 = static_cast<unsigned char>(*s);
    if (!(std::isalpha(c0) || c0 == '_' || c0 >= 0x80)) return false;
    for (const char* p = s; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (!(std::isalnum(c) || c == '_' || c == '$' || c == '#' || c >= 0x80)) return false;
    }
    return true;
}

QString textOf(sqlite3_stmt* st, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
}

} // namespace

bool DeclaredType(const QString& declText, DbColumnType& type, int& size)
{
    const QString decl = declText.trimmed().toLower();
    const int p = decl.indexOf(u'(');
    const QString base = (p < 0 ? decl : decl.left(p)).trimmed();
    size = 0;
    if (p >= 0) size = decl.mid(p + 1).section(u',', 0, 0).remove(u')').trimmed().toInt();
    if (base == u"varchar" || base == u"nvarchar" || base == u"text" || base == u"ntext") type = DbColumnType::String;
    else if (base == u"char" || base == u"nchar") type = DbColumnType::FixedChar;
    else if (base == u"int" || base == u"integer" || base == u"bigint") type = DbColumnType::Integer;
    else if (base == u"smallint" || base == u"tinyint") type = DbColumnType::SmallInt;
    else if (base == u"bit") type = DbColumnType::Boolean;
    else if (base == u"numeric" || base == u"decimal" || base == u"money" || base == u"smallmoney") type = DbColumnType::Bcd;
    else if (base == u"datetime" || base == u"smalldatetime" || base == u"date") type = DbColumnType::DateTime;
    else if (base == u"float" || base == u"real" || base == u"double") type = DbColumnType::Float;
    else return false;
    if (type != DbColumnType::String && type != DbColumnType::FixedChar) size = 0;
    return true;
}

void ColumnReader::Init(sqlite3_stmt* st)
{
    const int n = sqlite3_column_count(st);
    m_cols.clear();
    m_declared.fill(false, n);
    for (int i = 0; i < n; ++i) {
        DbColumn c;
        const char* name = sqlite3_column_name(st, i);
        // An expression without a name of its own has no column name.
        if (sqlite3_column_origin_name(st, i) || isPlainName(name)) c.name = QString::fromUtf8(name);
        if (const char* decl = sqlite3_column_decltype(st, i))
            m_declared[i] = DeclaredType(QString::fromUtf8(decl), c.type, c.size);
        m_cols.push_back(c);
    }
}

DbRow ColumnReader::Read(sqlite3_stmt* st) const
{
    const int n = m_cols.size();
    DbRow row(n);
    for (int i = 0; i < n; ++i) {
        const int t = sqlite3_column_type(st, i);
        if (t == SQLITE_NULL) { row[i] = Variant::Null(); continue; }
        if (!m_declared[i]) {
            if (t == SQLITE_INTEGER) row[i] = Variant(qint64(sqlite3_column_int64(st, i)));
            else if (t == SQLITE_FLOAT) row[i] = Variant(sqlite3_column_double(st, i));
            else row[i] = Variant(textOf(st, i));
            continue;
        }
        switch (m_cols[i].type) {
        case DbColumnType::String:
        case DbColumnType::FixedChar:
            row[i] = Variant(textOf(st, i));
            break;
        case DbColumnType::Integer:
        case DbColumnType::SmallInt:
            row[i] = Variant(qint64(sqlite3_column_int64(st, i)));
            break;
        case DbColumnType::Boolean:
            row[i] = Variant(sqlite3_column_int64(st, i) != 0);
            break;
        case DbColumnType::Float:
            row[i] = Variant(sqlite3_column_double(st, i));
            break;
        case DbColumnType::Bcd: {
            qint64 raw = 0;
            if (t == SQLITE_INTEGER) {
                if (__builtin_mul_overflow(qint64(sqlite3_column_int64(st, i)), Currency::Scale, &raw)) {
                    row[i] = Variant(sqlite3_column_double(st, i));   // beyond the exact range
                    break;
                }
            }
            else if (t == SQLITE_FLOAT) raw = std::llround(sqlite3_column_double(st, i) * Currency::Scale);
            else {
                const char* s = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                if (!DecimalTextToScaled(s, sqlite3_column_bytes(st, i), 4, raw)) {
                    row[i] = Variant(textOf(st, i));
                    break;
                }
            }
            row[i] = Variant(Currency::FromRaw(raw));
            break;
        }
        case DbColumnType::DateTime: {
            qint64 ms;
            if (t == SQLITE_TEXT) {
                const char* s = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
                if (ParseDateTime(s, sqlite3_column_bytes(st, i), ms)) row[i] = Variant(TDateTime(MsecsToDays(ms)));
                else row[i] = Variant(textOf(st, i));
            } else {
                row[i] = Variant(TDateTime(sqlite3_column_double(st, i) + 2.0));   // days from 1900-01-01
            }
            break;
        }
        }
    }
    return row;
}

void ColumnReader::Finish(QList<DbColumn>& cols, QList<DbRow>& rows) const
{
    for (int i = 0; i < cols.size(); ++i) {
        if (m_declared[i]) continue;
        bool anyInt = false, anyReal = false, anyText = false;
        for (const DbRow& r : rows) {
            switch (r[i].Type()) {
            case VarType::Integer: anyInt = true; break;
            case VarType::Double: anyReal = true; break;
            case VarType::String: anyText = true; break;
            default: break;
            }
        }
        if (anyText || (!anyInt && !anyReal)) {
            cols[i].type = DbColumnType::String;
            if (anyInt || anyReal)
                for (DbRow& r : rows) {
                    if (r[i].Type() == VarType::Integer) r[i] = Variant(QString::number(r[i].AsIntRaw()));
                    else if (r[i].Type() == VarType::Double) r[i] = Variant(QString::number(r[i].AsDoubleRaw(), 'g', 15));
                }
        } else if (anyReal) {
            cols[i].type = DbColumnType::Float;
            for (DbRow& r : rows)
                if (r[i].Type() == VarType::Integer) r[i] = Variant(double(r[i].AsIntRaw()));
        } else {
            cols[i].type = DbColumnType::Integer;
        }
    }
}

} // namespace sqlitedb
