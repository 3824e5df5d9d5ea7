#pragma once
// TMemDataSet: a dataset whose records live in memory. It is the common base of
// TClientDataSet and of datasets filled from elsewhere (the ADO query fills one from an
// engine result).
//
// Filling a subclass: override LoadData(). Open calls it with the dataset empty; it fills
// FieldDefs() and adds the rows with AddLoadedRecord() (values in FieldDefs order; each value
// is converted to its field's type, so an engine may hand integers for a BCD column, text for
// a date, and so on). Loaded rows are "unmodified": they are the baseline of the change log.
//
//     class TADOQuery : public TMemDataSet {
//     protected:
//         void LoadData() override {
//             FieldDefs().Clear();
//             for (const DbColumn& c : result.columns) FieldDefs().Add(c.name, ftInteger /*...*/, c.size);
//             ReserveRecords(result.rows.size());
//             for (const DbRow& r : result.rows) AddLoadedRecord(std::vector<Variant>(r.begin(), r.end()));
//         }
//     };
//
// A read-only subclass (a static cursor) calls SetReadOnly(true) or overrides CanModify().
// Records can also be added to an open dataset later with AppendLoadedRecords() (packets
// appended page by page); the current record stays current.
//
// Sorting: IndexFieldNames "a;b DESC" (each name optionally followed by ASC or DESC; text
// compares ignoring case). Bookmarks stay valid across sorting and filtering.
#include "DataSet.h"
#include <memory>
#include <unordered_map>
#include <vector>

class TMemDataSet : public TDataSet {
public:
    TMemDataSet();
    ~TMemDataSet() override;

    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }
    bool CanModify() const override { return !m_readOnly; }

    const QString& IndexFieldNames() const { return m_indexFieldNames; }
    void SetIndexFieldNames(const QString& names);

    // When false, edits are not recorded in the change log (client dataset).
    bool LogChanges() const { return m_logChanges; }
    void SetLogChanges(bool v) { m_logChanges = v; }

    TUpdateStatus UpdateStatus() const override;

    // Memory taken by the records (values and bookkeeping), for measurements.
    qint64 RecordMemoryBytes() const;

    // The conversion of loaded values to their fields' types: one converter field per
    // definition; a row is filled up with Null to the definitions' count.
    using TValueConverters = std::vector<std::unique_ptr<TField>>;
    static TValueConverters ValueConverters(const TFieldDefs& defs);
    static void ConvertValues(const TValueConverters& converters, std::vector<Variant>& values);

protected:
    virtual void LoadData() = 0;
    void ReserveRecords(qsizetype n);
    void AddLoadedRecord(std::vector<Variant> values);
    void AddLoadedValues(const std::vector<Variant>& values);   // the same without a copy of the row
    void AddLoadedValues(std::vector<Variant>&& values);        // the values moved into the store
    // Appends rows to the open dataset as unmodified records; the current record stays.
    void AppendLoadedRecords(const std::vector<std::vector<Variant>>& rows);

    // ----- record store -----
    enum : quint8 { FlagDeleted = 1, FlagDead = 2, FlagDeltaRow = 4 };
    struct RecordMeta {
        TUpdateStatus status = usUnmodified;
        quint8 flags = 0;
        int changes = 0;          // change-log entries of this record
    };
    int DataFieldCount() const { return m_columns; }
    qsizetype StoreSize() const { return qsizetype(m_meta.size()); }
    const RecordMeta& Meta(TRecordId id) const { return m_meta[size_t(id)]; }
    RecordMeta& Meta(TRecordId id) { return m_meta[size_t(id)]; }
    const Variant& Cell(TRecordId id, int col) const { return m_values[size_t(id) * size_t(m_columns) + size_t(col)]; }
    Variant& Cell(TRecordId id, int col) { return m_values[size_t(id) * size_t(m_columns) + size_t(col)]; }
    // Original values of a changed record (empty when it has none).
    const std::vector<Variant>* Original(TRecordId id) const;
    std::unordered_map<TRecordId, std::vector<Variant>>& Originals() { return m_original; }
    const std::vector<TRecordId>& NaturalOrder() const { return m_order; }
    std::vector<TRecordId>& LogOrder() { return m_logOrder; }
    const std::vector<TRecordId>& LogOrder() const { return m_logOrder; }
    int& ChangeCounter() { return m_changeCount; }
    int ChangeCounter() const { return m_changeCount; }
    // withValues false: the record's values were pushed onto the store already.
    TRecordId NewStoreRecord(std::vector<Variant>&& values, TUpdateStatus status, quint8 flags, bool withValues = true);
    void ClearStore();
    // Visible in views: not deleted, not dead (delta rows are always visible).
    bool IsLive(TRecordId id) const;

    // TDataSet storage interface
    void InternalOpen() override;
    void InternalClose() override;
    int ViewCount() const override { return int(m_view.size()); }
    TRecordId ViewRecord(int pos) const override { return m_view[size_t(pos)]; }
    int ViewPos(TRecordId id) const override;
    bool RecordExists(TRecordId id) const override;
    Variant StoredValue(TRecordId id, int fieldNo) const override;
    TRecordId StoreRecord(TRecordId id, std::vector<Variant>&& values, bool inserting,
                          TRecordId insertBefore) override;
    void RemoveRecord(TRecordId id) override;
    Variant OriginalValue(TRecordId id, int fieldNo) const override;
    Variant DeltaNewValue(TRecordId id, int fieldNo) const override;
    void RebuildView() override;

private:
    struct SortKey { int col; bool desc; };
    void ParseIndex();
    bool Less(TRecordId a, TRecordId b) const;
    int SortedInsertPos(TRecordId id) const;
    void RebuildPositions(size_t from);
    std::vector<Variant> ConvertRow(std::vector<Variant>&& values);
    void RemoveFromView(TRecordId id);
    void PlaceInView(TRecordId id, TRecordId before);
    std::vector<std::unique_ptr<TField>> m_converters;   // convert loaded values per column

    int m_columns = 0;
    std::vector<Variant> m_values;            // row-major, m_columns per record
    std::vector<RecordMeta> m_meta;
    std::unordered_map<TRecordId, std::vector<Variant>> m_original;
    std::vector<TRecordId> m_order;           // natural order of all records
    std::vector<TRecordId> m_view;            // visible records in view order
    std::vector<int> m_posOf;                 // view position per record id, -1 hidden
    std::vector<TRecordId> m_logOrder;        // records in the order of their first change
    int m_changeCount = 0;
    bool m_readOnly = false;
    bool m_logChanges = true;
    QString m_indexFieldNames;
    std::vector<SortKey> m_sortKeys;
};
