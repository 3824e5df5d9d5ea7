#pragma once
// TADOQuery: a query component over TADOConnection. SQL holds the statement as lines; Open
// fetches the whole result into memory (a static cursor; MaxRecords limits the rows) and
// releases the engine statement; ExecSQL runs a statement without a result.
// Field types follow the result's columns: varchar/nvarchar -> ftString, nchar -> ftFixedChar
// (blanks kept), int -> ftInteger, smallint -> ftSmallint, bit -> ftBoolean, numeric(18,4) ->
// ftBCD (exact), datetime -> ftDateTime, expressions by their values (ftInteger, ftFloat,
// ftString). A column without a name is "COLUMN<n>" (n counting from 1); a repeated name gets
// "_1", "_2", ... ("name", "name_1").
#include "ADOConnection.h"
#include "ClientDataSet.h"
#include "MemDataSet.h"
#include <QStringList>

enum TCursorType { ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic };
enum TADOLockType { ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic };

class TADOQuery : public TMemDataSet {
public:
    TADOQuery();
    explicit TADOQuery(TADOConnection* connection);
    ~TADOQuery() override;

    TADOConnection* Connection() const { return m_connection; }
    void SetConnection(TADOConnection* c);

    // The statement text, one line per item; the lines are joined with line breaks.
    QStringList& SQL() { return m_sql; }
    const QStringList& SQL() const { return m_sql; }
    QString SQLText() const { return m_sql.size() == 1 ? m_sql.first() : m_sql.join(u'\n'); }

    // At most this many rows are fetched; 0 fetches all.
    int MaxRecords() const { return m_maxRecords; }
    void SetMaxRecords(int v) { m_maxRecords = v; }
    // Rows changed by the last ExecSQL (-1 for a statement that changes none).
    int RowsAffected() const { return m_rowsAffected; }
    // Runs the statement; returns RowsAffected.
    int ExecSQL();

    // Settings kept for the program's code; every query fetches a static client-side copy.
    int CacheSize() const { return m_cacheSize; }
    void SetCacheSize(int v) { m_cacheSize = v; }
    TCursorType CursorType() const { return m_cursorType; }
    void SetCursorType(TCursorType v) { m_cursorType = v; }
    TADOLockType LockType() const { return m_lockType; }
    void SetLockType(TADOLockType v) { m_lockType = v; SetReadOnly(v == ltReadOnly); }
    bool AutoCalcFields() const { return m_autoCalcFields; }
    void SetAutoCalcFields(bool v) { m_autoCalcFields = v; }

    // The field type of an engine column.
    static TFieldType FieldTypeOf(DbColumnType t);
    // Unique field names for result columns, as the query names its fields.
    static QStringList FieldNamesOf(const QList<DbColumn>& columns);

    // Runs the statement of a closed query and gives its first count rows (count < 0: all)
    // as packet content: the fields and values the open query would hold, without loading
    // them into the query.
    TPacketContentPtr ReadContent(int count);

protected:
    void LoadData() override;

private:
    friend class TADOConnection;
    DbEngine& engine();
    // The statement's result and the field definitions of its columns.
    DbResult runQuery();
    static void defineFields(const DbResult& r, TFieldDefs& defs);

    // The converters of the last ReadContent, kept while its columns stay the same (the
    // pages of a paged load).
    TFieldDefs m_contentDefs;
    TValueConverters m_contentConverters;

    TADOConnection* m_connection = nullptr;
    QStringList m_sql;
    int m_maxRecords = 0;
    int m_rowsAffected = -1;
    int m_cacheSize = 1;
    TCursorType m_cursorType = ctStatic;
    TADOLockType m_lockType = ltOptimistic;
    bool m_autoCalcFields = true;
};
