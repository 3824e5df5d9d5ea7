#pragma once
// TDataSet: a cursor over records with fields, states, events and the record-buffer window
// that data links (grids, editors) read through.
//
// Record-buffer model
//   The dataset keeps a window of up to BufferCount consecutive records of its current view
//   (sort order and filter applied) around the current record. BufferCount is the largest
//   BufferCount of the data links attached through data sources (at least 1). ActiveRecord is
//   the index of the current record in that window. A data link sees its own part of the window
//   (TDataLink::ActiveRecord / RecordCount) and may move ActiveRecord while it paints, reading
//   the fields of other records, as long as it puts it back.
//   MoveBy moves the current record and scrolls the window just enough to keep it inside
//   (deDataSetScroll with the distance the window moved); jumps (First, Last, Locate,
//   GotoBookmark, RecNo) and structural changes (Post, Delete, Cancel, sorting, filtering)
//   rebuild the window (deDataSetChange).
//
// Storage
//   TDataSet does not store records; a subclass supplies them through the protected interface
//   below (records named by stable ids, a view listing the visible records in order). The
//   in-memory record store is TMemDataSet (MemDataSet.h), the base of TClientDataSet and of
//   the ADO query.
//
// Errors are EDatabaseError with the texts of DBText (DBTypes.h).
#include "DBTypes.h"
#include "Field.h"
#include "FieldDefs.h"
#include "platform/rtl/Variant.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>
#include <utility>

class TDataSource;
class TDataLink;
class TFilterExpr;

using TRecordId = qint64;
inline constexpr TRecordId NoRecord = -1;

class TDataSet {
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
    using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;

    TDataSet();
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    QString Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }
    qintptr Tag() const { return m_tag; }
    void SetTag(qintptr v) { m_tag = v; }

    // --- opening and state ---
    void Open();
    void Close();
    bool Active() const { return m_state != dsInactive; }
    void SetActive(bool v) { v ? Open() : Close(); }
    TDataSetState State() const { return m_state; }
    bool Modified() const { return m_modified; }
    virtual bool CanModify() const { return true; }
    // Whether the dataset numbers its records (RecNo, RecordCount); every dataset of the
    // platform does.
    virtual bool IsSequenced() const { return true; }

    // --- fields ---
    TFieldDefs& FieldDefs() { return m_fieldDefs; }
    const TFieldDefs& FieldDefs() const { return m_fieldDefs; }
    TFields& Fields() { return m_fields; }
    const TFields& Fields() const { return m_fields; }
    int FieldCount() const { return m_fields.Count(); }
    TField* FindField(const QString& name) const { return m_fields.FindField(name); }
    TField* FieldByName(const QString& name) const;      // ignoring case; raises "Field 'x' not found"
    void GetFieldNames(QStringList& list) const;
    QStringList FieldNames() const;
    // The fields named in "a;b;c" (raises for an unknown name).
    std::vector<TField*> GetFieldList(const QString& names) const;
    Variant FieldValue(const QString& name) const { return FieldByName(name)->Value(); }
    void SetFieldValue(const QString& name, const Variant& v) { FieldByName(name)->SetValue(v); }
    // Adds a persistent field (before Open); the dataset owns it and keeps it across Close.
    // With persistent data fields the dataset creates no data fields of its own; without
    // them it creates one field per FieldDefs entry and puts persistent calculated and lookup
    // fields after those. A calculated field gets its value in OnCalcFields (state
    // dsCalcFields); a lookup field reads LookupDataSet->Lookup(LookupKeyFields, values of
    // KeyFields, LookupResultField).
    TField* AddField(std::unique_ptr<TField> field);
    template <class F> F* AddField(const QString& name, TFieldKind kind = fkData, int size = 0)
    {
        auto f = std::make_unique<F>();
        f->SetFieldName(name);
        f->SetFieldKind(kind);
        f->SetSize(size);
        return static_cast<F*>(AddField(std::move(f)));
    }
    void ClearFields();      // the active record's fields become Null (edit/insert only)
    bool DefaultFields() const { return m_defaultFields; }

    // --- navigation ---
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    int MoveBy(int distance);      // returns how many records the cursor actually moved
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    bool IsEmpty() const;
    int RecordCount() const;       // records in the view (filter applied)
    int RecNo() const;             // 1-based position in the view; -1 when none
    void SetRecNo(int recNo);

    // --- editing ---
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    void CheckBrowseMode();        // posts a modified record, cancels an unmodified one
    void UpdateRecord();           // asks the controls to store pending edits (deUpdateRecord)
    void InsertRecord(const std::vector<Variant>& values);
    void AppendRecord(const std::vector<Variant>& values);
    void Refresh();
    virtual TUpdateStatus UpdateStatus() const { return usUnmodified; }

    // --- bookmarks ---
    TBookmark GetBookmark() const;
    TBookmark Bookmark() const { return GetBookmark(); }
    void GotoBookmark(const TBookmark& bm);        // raises "Record not found" for a lost record
    void SetBookmark(const TBookmark& bm) { GotoBookmark(bm); }
    bool BookmarkValid(const TBookmark& bm) const;
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;   // <0, 0, >0 by view order
    void FreeBookmark(TBookmark&) {}

    // --- searching ---
    // keyFields "a;b"; one key value per field. Strings compare as the options say; a Null key
    // matches a Null field. Locate makes the found record current.
    bool Locate(const QString& keyFields, const Variant& keyValue, TLocateOptions options = 0);
    bool Locate(const QString& keyFields, const std::vector<Variant>& keyValues, TLocateOptions options = 0);
    // Value of resultField (Null when no record matches); the current record does not move.
    Variant Lookup(const QString& keyFields, const Variant& keyValue, const QString& resultField);
    Variant Lookup(const QString& keyFields, const std::vector<Variant>& keyValues, const QString& resultField);
    std::vector<Variant> LookupValues(const QString& keyFields, const std::vector<Variant>& keyValues,
                                      const QString& resultFields);

    // --- filtering ---
    // Filter text: comparisons (= <> < > <= >=) of fields and literals ('text', numbers),
    // IS NULL / IS NOT NULL, LIKE with % and _, AND / OR / NOT, parentheses; a text literal
    // ending in '*' matches as a prefix unless foNoPartialCompare.
    const QString& Filter() const { return m_filterText; }
    void SetFilter(const QString& text);
    bool Filtered() const { return m_filtered; }
    void SetFiltered(bool v);
    TFilterOptions FilterOptions() const { return m_filterOptions; }
    void SetFilterOptions(TFilterOptions v);
    TFilterRecordEvent OnFilterRecord;     // set it, then re-apply with SetFiltered / Refresh

    // --- controls ---
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    // --- events ---
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeRefresh, AfterRefresh;
    TDataSetNotifyEvent OnNewRecord, OnCalcFields;

    // Parties that keep a pointer to the dataset outside its data sources (hooked event
    // handlers) are told once when it is being freed, while it is still whole.
    void AddFreeNotification(const void* owner, TDataSetNotifyEvent event);
    void RemoveFreeNotification(const void* owner);

    // --- used by fields, data sources and data links ---
    Variant GetFieldValue(const TField* field) const;
    void SetFieldValueFrom(TField* field, const Variant& converted);   // after conversion
    Variant GetOldFieldValue(const TField* field) const;
    Variant GetNewFieldValue(const TField* field) const;
    void DataEvent(TDataEvent event, qintptr info = 0);
    int BufferCount() const { return m_bufferCount; }
    int ActiveRecord() const { return m_activeRecord; }
    int BufferRecordCount() const { return m_recordCount; }  // records held in the window

protected:
    // ----- storage interface for subclasses -----
    // Open: fill FieldDefs and load the records (raise to refuse). Close: drop them.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    // The view: visible records in order.
    virtual int ViewCount() const = 0;
    virtual TRecordId ViewRecord(int pos) const = 0;
    virtual int ViewPos(TRecordId id) const = 0;            // -1 when not visible
    virtual bool RecordExists(TRecordId id) const = 0;
    // Stored value of a data field (fieldNo 1-based); Unassigned/Null for empty.
    virtual Variant StoredValue(TRecordId id, int fieldNo) const = 0;
    // Writes an edited record (values indexed by fieldNo - 1). For a new record, insertBefore
    // is the record it was inserted before (NoRecord: at the end); returns the record's id.
    virtual TRecordId StoreRecord(TRecordId id, std::vector<Variant>&& values, bool inserting,
                                  TRecordId insertBefore) = 0;
    virtual void RemoveRecord(TRecordId id) = 0;
    // Old values while editing a record, for OldValue (default: the stored values).
    virtual Variant OriginalValue(TRecordId id, int fieldNo) const { return StoredValue(id, fieldNo); }
    // A delta row answers Unassigned for untouched fields.
    virtual Variant DeltaNewValue(TRecordId id, int fieldNo) const { return StoredValue(id, fieldNo); }
    // The view must be rebuilt (filter or order changed); subclasses call RecordPassesFilter.
    virtual void RebuildView() = 0;
    virtual void DoRefresh() {}
    // Whether the dataset may be changed at all (raise "Cannot modify a read-only dataset" if not).
    void CheckCanModify() const;

    // Helpers for subclasses.
    void CheckActive() const;
    void CheckInactive() const;
    bool FilterActive() const { return m_filtered && (m_filterExpr || OnFilterRecord); }
    bool RecordPassesFilter(TRecordId id);
    TRecordId CurrentRecordId() const;            // NoRecord when empty or inserting
    // Re-reads the window after the subclass changed its records outside the editing cycle
    // (sort, append of a packet): the current record stays current, at the same window row
    // where possible; the links get deDataSetChange.
    void Resync(TRecordId keep, bool center = false);
    void CreateFieldsFromDefs();
    // Subclass destructors call this first: closes without events and detaches data sources
    // while the storage still exists.
    void DestroyingDataSet();
    // Makes the record at view position pos readable through the fields without moving
    // the cursor or telling the links (state dsFilter until EndViewRead); pairs nest.
    void BeginViewRead(int pos);
    void EndViewRead();
    bool ViewReading() const { return !m_viewReads.empty(); }

private:
    friend class TDataSource;
    friend class TDataLink;
    friend class TField;
    friend class TFilterExpr;

    struct Window;
    void AttachDataSource(TDataSource* ds);
    void DetachDataSource(TDataSource* ds);
    void UpdateBufferCount();
    void NotifyLinks(TDataEvent event, qintptr info);
    void SetState(TDataSetState s);
    TRecordId BufferRecord(int index) const;      // record shown in window row index
    void FillWindow(int firstPos);
    void JumpTo(int pos, int mode);               // mode 0 center, 1 top, 2 bottom
    void DoScrollEvent(TDataSetNotifyEvent& ev);
    bool FindRecord(const std::vector<TField*>& fields, const std::vector<Variant>& keys,
                    TLocateOptions options, TRecordId& found);
    void CalcRecord(TRecordId id, std::vector<Variant>& calc);
    int ClampFirst(int first) const;
    void InternalFirstFill();
    void EndEdit();
    void DestroyFields();
    Variant ReadField(const TField* field, TRecordId id, const std::vector<Variant>* values);
    Variant CalcFieldValue(const TField* field, TRecordId id, const std::vector<Variant>* values);
    bool IsEditRow() const;

    QString m_name;
    qintptr m_tag = 0;
    TDataSetState m_state = dsInactive;
    bool m_modified = false;
    bool m_bof = true, m_eof = true;
    bool m_defaultFields = true;
    TFieldDefs m_fieldDefs;
    TFields m_fields;
    std::vector<std::unique_ptr<TField>> m_persistentFields;
    std::vector<std::unique_ptr<TField>> m_defaultFieldsOwned;
    std::vector<TDataSource*> m_dataSources;
    std::vector<std::pair<const void*, TDataSetNotifyEvent>> m_freeNotifications;

    // record-buffer window
    int m_bufferCount = 1;
    int m_firstPos = 0;          // view position of window row 0
    int m_recordCount = 0;       // rows filled
    int m_activeRecord = 0;      // current row in the window
    int m_insertRow = -1;        // window row of the record being inserted, -1 when none

    // edit buffer of the current record (dsEdit / dsInsert), indexed by fieldNo - 1
    std::vector<Variant> m_editValues;
    TRecordId m_editId = NoRecord;
    TRecordId m_insertBefore = NoRecord;
    int m_editRow = -1;
    // calculated fields: values of the record being read
    std::vector<Variant> m_calcValues;
    TRecordId m_calcId = NoRecord;
    bool m_hasCalcFields = false;
    // temporary record for filters, calculations and lookups (state dsFilter / dsCalcFields)
    TRecordId m_tempId = NoRecord;
    const std::vector<Variant>* m_tempValues = nullptr;
    struct SavedRead { TDataSetState state; TRecordId id; const std::vector<Variant>* values; };
    std::vector<SavedRead> m_viewReads;

    // filter
    QString m_filterText;
    bool m_filtered = false;
    TFilterOptions m_filterOptions = 0;
    std::shared_ptr<TFilterExpr> m_filterExpr;

    // controls
    int m_disableCount = 0;
    TDataSetState m_disableState = dsInactive;
    TDataEvent m_enableEvent = deDataSetChange;
};
