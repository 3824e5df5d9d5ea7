#pragma once
// Shared types of the data access layer: field types, dataset states, data events,
// update statuses, locate options, bookmarks, and the database error texts.
#include "platform/rtl/Exceptions.h"
#include <QString>
#include <QtGlobal>

// Field data types. The fill and export routines branch on these.
enum TFieldType {
    ftUnknown,
    ftString,          // varchar
    ftSmallint,        // smallint
    ftInteger,         // int
    ftWord,
    ftBoolean,         // bit
    ftFloat,           // float expressions
    ftCurrency,        // money shown as currency (held as double)
    ftBCD,             // numeric(18,4): exact, held as Currency
    ftDate,
    ftTime,
    ftDateTime,        // datetime
    ftAutoInc,         // identity int
    ftMemo,            // text
    ftFixedChar,       // char: fixed width, blanks kept
    ftWideString,      // nvarchar
    ftLargeint,        // bigint
    ftFixedWideChar,   // nchar: fixed width, blanks kept
    ftWideMemo,        // ntext
    ftFMTBcd,          // numeric with another scale, still exact to 4 decimals here
    ftVariant
};

// Where a field's value comes from.
enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

enum TDataSetState {
    dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter,
    dsNewValue, dsOldValue, dsCurValue, dsBlockRead, dsInternalCalc, dsOpening
};

// Notifications a dataset sends to the data links of its data sources.
enum TDataEvent {
    deFieldChange,          // info: the TField* that changed
    deRecordChange,         // info: the TField* (or 0 for the whole record)
    deDataSetChange,        // the records in the buffer window changed (jump, post, delete, ...)
    deDataSetScroll,        // info: how many rows the buffer window moved
    deLayoutChange,         // fields were added, removed or re-ordered
    deUpdateRecord,         // controls must store their pending edits (UpdateData)
    deUpdateState,          // the dataset's state changed
    deCheckBrowseMode,      // before leaving edit/insert
    dePropertyChange,
    deFieldListChange,
    deFocusControl,         // info: TField** to focus; the handler sets it to nullptr
    deParentScroll,
    deConnectChange,
    deReconcileError,
    deDisabledStateChange   // info: 0 when controls were disabled, 1 when enabled again
};

enum TUpdateStatus { usUnmodified, usModified, usInserted, usDeleted };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Locate options (combine with |).
enum TLocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = unsigned;

// Filter options (combine with |).
enum TFilterOption : unsigned { foCaseInsensitive = 1, foNoPartialCompare = 2 };
using TFilterOptions = unsigned;

// Provider flags of a field: how a resolver uses it.
enum TProviderFlag : unsigned { pfInUpdate = 1, pfInWhere = 2, pfInKey = 4, pfHidden = 8 };
using TProviderFlags = unsigned;

// A bookmark names one record of a dataset for as long as the record exists, across
// sorting and filtering. An empty bookmark names nothing.
class TBookmark {
public:
    TBookmark() = default;
    explicit TBookmark(qint64 id) : m_id(id) {}
    bool IsEmpty() const { return m_id < 0; }
    qint64 Id() const { return m_id; }
    bool operator==(const TBookmark& o) const { return m_id == o.m_id; }
    bool operator!=(const TBookmark& o) const { return m_id != o.m_id; }
private:
    qint64 m_id = -1;
};

// English texts of the dataset layer's errors (all raised as EDatabaseError).
namespace DBText {
inline const char* const DataSetClosed = "Cannot perform this operation on a closed dataset";
inline const char* const DataSetOpen = "Cannot perform this operation on an open dataset";
inline const char* const NotEditing = "Dataset not in edit or insert mode";
inline const char* const FieldNotFound = "Field '%1' not found";
inline const char* const FieldRequired = "Field '%1' must have a value";
inline const char* const FieldReadOnly = "Field '%1' cannot be modified";
inline const char* const DataSetReadOnly = "Cannot modify a read-only dataset";
inline const char* const DataSetEmpty = "Cannot perform this operation on an empty dataset";
inline const char* const RecordNotFound = "Record not found";
inline const char* const BookmarkNotFound = "Bookmark not found";
inline const char* const MissingDataPacket = "Missing data provider or data packet";
inline const char* const NoFieldDefs = "No fields defined.  Cannot create dataset";
inline const char* const DuplicateFieldName = "Duplicate field name '%1'";
inline const char* const FieldTypeMismatch = "Type mismatch for field '%1', expecting: %2 actual: %3";
inline const char* const FieldRange = "%1 is not a valid value for field '%2'. The allowed range is %3 to %4";
inline const char* const NotBoolean = "'%1' is not a valid boolean value for field '%2'";
inline const char* const FieldIndexOutOfRange = "Field index out of range";
inline const char* const CircularDataLink = "Circular datalinks are not allowed";
inline const char* const FilterParse = "Filter expression incorrectly terminated";
inline const char* const FilterUnknownField = "Field '%1' not found";
inline const char* const FilterSyntax = "Invalid filter expression: %1";
inline const char* const NoProviderDataSet = "Missing data provider or data packet";
inline const char* const NotDelta = "Not a valid delta packet";
} // namespace DBText

// Raises EDatabaseError with the text (arguments fill %1, %2, ...).
[[noreturn]] void DatabaseError(const QString& message);
[[noreturn]] void DatabaseErrorFmt(const char* text, const QString& a1);
[[noreturn]] void DatabaseErrorFmt(const char* text, const QString& a1, const QString& a2);
