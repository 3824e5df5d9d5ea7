#pragma once
// What a grid cell is (indicator or data column; title, filter, data or footer
// row), whether it gets a 3D frame, finding columns by field name, and the
// reconciliation of the grid's two option sets.
#include "DBGridGxTypes.h"
#include <QString>

class IDBGridGx;
class TColumnGx;
class TDBGridColumnsGx;

enum TCellColumnKindGx : quint8 { cckIndicatorGx = 0, cckDataGx = 1 };
enum TCellRowKindGx : quint8 { crkTitleGx = 0, crkFilterGx = 1, crkDataGx = 2, crkFooterGx = 4 };

struct TCellKindGx {
    TCellColumnKindGx ColumnKind = cckIndicatorGx;
    TCellRowKindGx RowKind = crkTitleGx;
    bool operator==(const TCellKindGx& o) const { return ColumnKind == o.ColumnKind && RowKind == o.RowKind; }
};

// The geometry the classification reads.
struct TCellGeometryGx {
    int IndicatorOffset = 1;
    bool HasTitles = true;
    bool FilterRowUnderTitle = false;
    int DataBoxLeft = 1;      // first data column
    int DataBoxTop = 1;       // first data row
    int DataBoxBottom = 1;    // last data row
    int RowCount = 2;
    int FooterRowCount = 0;
    int FrozenCols = 0;
    // grid rows above the data: the title row and the filter row under it
    int TopDataOffset() const { return (HasTitles ? 1 : 0) + (FilterRowUnderTitle ? 1 : 0); }
};

// Raises "Algorithm error in TCustomDBGridGx.GetCellType" for a row between the
// filter row and the data box.
TCellKindGx GetCellTypeGx(const TCellGeometryGx& g, int aCol, int aRow, int& dataCol, int& dataRow);

// fixedCell: the draw state holds the fixed flag; filterCellAt: column DC has a
// filter cell under the titles.
bool IsCell3DGx(const TCellGeometryGx& g, TDBGridGxOptions optionsGx, int aCol, int aRow, bool fixedCell,
                bool filterCellAt);

// The first column whose FieldName equals the name, ignoring case; nullptr when none.
TColumnGx* FindFieldColumn(TDBGridColumnsGx* columns, const QString& fieldName);
// The same; raises the grid error "字段名 '<name>' 没有找到" when there is none.
TColumnGx* ColumnByFieldName(IDBGridGx* grid, const QString& fieldName);

// ---------------------------------------------------------------- options

// The base grid's options that follow the data grid's options.
struct TBaseGridOptionsGx {
    bool FixedVertLine = false, FixedHorzLine = false, VertLine = false, HorzLine = false;
    bool RowSizing = false, ColSizing = false, RowMoving = false, ColMoving = false;
    bool Editing = false, Tabs = false, RowSelect = false, AlwaysShowEditor = false, ExtendVertLines = false;
};

// The stored option sets and what the base grid was given.
struct TGridOptionsStateGx {
    TDBGridOptions Options;
    TDBGridGxOptions OptionsGx;
    bool RowSizingAllowed = false;
    TBaseGridOptionsGx Base;
};

// The value SetOptions stores: without editing and the always-shown editor when
// rows are selected whole.
TDBGridOptions StoredOptionsGx(TDBGridOptions value);
// Translates Options into the base grid's options (column sizing and moving kept).
void TranslateOptionsGx(TGridOptionsStateGx& s, TDBGridOptions value);
// Keeps dgColumnResize and the pair dghColumnResize + dghColumnMove in line and
// sets column sizing and moving of the base grid. fromOptionsGx: called by the
// OptionsGx setter, which stores e afterwards.
void ReconcileColumnOptionsGx(TGridOptionsStateGx& s, TDBGridOptions o, TDBGridGxOptions e, bool fromOptionsGx);
// Whether a change between two Options sets needs a layout pass.
bool OptionsChangeNeedsLayoutGx(TDBGridOptions oldValue, TDBGridOptions newValue);
