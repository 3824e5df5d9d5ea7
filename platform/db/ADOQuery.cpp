#include "ADOQuery.h"
#include "platform/rtl/Exceptions.h"
#include <QSet>

TADOQuery::TADOQuery() = default;

TADOQuery::TADOQuery(TADOConnection* connection)
{
    SetConnection(connection);
}

TADOQuery::~TADOQuery()
{
    try { Close(); } catch (...) {}
    if (m_connection) m_connection->detach(this);
}

void TADOQuery::SetConnection(TADOConnection* c)
{
    if (c == m_connection) return;
    if (Active()) Close();
    if (m_connection) m_connection->detach(this);
    m_connection = c;
    if (c) c->attach(this);
}

DbEngine& TADOQuery::engine()
{
    if (!m_connection)
        throw EOleException(QStringLiteral("Missing Connection or ConnectionString"));
    if (!m_connection->Connected()) m_connection->Open();
    return m_connection->Engine();
}

int TADOQuery::ExecSQL()
{
    DbResult r;
    engine().Execute(SQLText(), r);
    m_rowsAffected = int(r.rowsAffected);
    return m_rowsAffected;
}

TFieldType TADOQuery::FieldTypeOf(DbColumnType t)
{
    switch (t) {
    case DbColumnType::String: return ftString;
    case DbColumnType::FixedChar: return ftFixedChar;
    case DbColumnType::Integer: return ftInteger;
    case DbColumnType::SmallInt: return ftSmallint;
    case DbColumnType::Boolean: return ftBoolean;
    case DbColumnType::Bcd: return ftBCD;
    case DbColumnType::DateTime: return ftDateTime;
    case DbColumnType::Float: return ftFloat;
    }
    return ftString;
}

QStringList TADOQuery::FieldNamesOf(const QList<DbColumn>& columns)
{
    // Results have few columns: each name is compared with those before it.
    QStringList names;
    names.reserve(columns.size());
    auto used = [&](const QString& n) {
        for (const QString& u : names)
            if (u.compare(n, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    for (int i = 0; i < columns.size(); ++i) {
        QString base = columns[i].name.isEmpty() ? QStringLiteral("COLUMN%1").arg(i + 1) : columns[i].name;
        QString n = base;
        for (int k = 1; used(n); ++k) n = base + u'_' + QString::number(k);
        names << n;
    }
    return names;
}

DbResult TADOQuery::runQuery()
{
    DbResult r;
    engine().Execute(SQLText(), r, m_maxRecords);
    if (!r.hasResultSet)
        throw EOleException(QStringLiteral("CommandText does not return a result set"));
    return r;
}

void TADOQuery::defineFields(const DbResult& r, TFieldDefs& defs)
{
    defs.Clear();
    const QStringList names = FieldNamesOf(r.columns);
    for (int i = 0; i < r.columns.size(); ++i) {
        const DbColumn& c = r.columns[i];
        int size = 0;
        if (c.type == DbColumnType::String || c.type == DbColumnType::FixedChar) {
            size = c.size;
            if (size <= 0) {
                // A text expression: wide enough for every value it yields.
                size = 50;
                for (const DbRow& row : r.rows)
                    if (row[i].Type() == VarType::String) size = std::max<int>(size, int(row[i].AsStringRaw().size()));
            }
        }
        defs.Add(names[i], FieldTypeOf(c.type), size);
    }
}

void TADOQuery::LoadData()
{
    DbResult r = runQuery();
    defineFields(r, FieldDefs());
    ReserveRecords(r.rows.size());
    for (DbRow& row : r.rows) AddLoadedRecord(std::vector<Variant>(row.begin(), row.end()));
}

TPacketContentPtr TADOQuery::ReadContent(int count)
{
    if (Active())
        DatabaseError(QString::fromLatin1(DBText::DataSetOpen));
    DbResult r = runQuery();
    auto c = std::make_shared<TPacketContent>();
    defineFields(r, c->fieldDefs);
    if (!(m_contentDefs == c->fieldDefs)) {
        m_contentConverters = ValueConverters(c->fieldDefs);
        m_contentDefs = c->fieldDefs;
    }
    const TValueConverters& converters = m_contentConverters;
    const qsizetype n = count < 0 ? r.rows.size() : std::min<qsizetype>(count, r.rows.size());
    c->rows.resize(size_t(n));
    for (qsizetype i = 0; i < n; ++i) {
        DbRow& row = r.rows[i];
        std::vector<Variant>& values = c->rows[size_t(i)].values;
        values.assign(std::make_move_iterator(row.begin()), std::make_move_iterator(row.end()));
        ConvertValues(converters, values);
        for (Variant& v : values)
            if (v.IsUnassigned())
                v = Variant::Null();   // as a field reads it
    }
    return c;
}
