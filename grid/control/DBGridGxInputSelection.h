#pragma once
// The data grid's selection: whole records (bookmarks), a rectangle of cells,
// whole columns, or everything.
#include "DBGridGxColumns.h"
#include "DBGridGxTypes.h"
#include "platform/db/DBTypes.h"
#include "platform/gui/StringGrid.h"

class TCustomDBGridGx;
class TBookmarkListGx;

class TDBGridGxSelection {
public:
    explicit TDBGridGxSelection(TCustomDBGridGx* grid) : FGrid(grid) {}
    virtual ~TDBGridGxSelection() = default;
    TDBGridGxSelection(const TDBGridGxSelection&) = delete;
    TDBGridGxSelection& operator=(const TDBGridGxSelection&) = delete;

    TCustomDBGridGx* Grid() const { return FGrid; }
    TDBGridGxSelectionType SelectionType() const { return FSelectionType; }
    void SetSelectionType(TDBGridGxSelectionType value);
    // The selected records (the grid's SelectedRows).
    TBookmarkListGx* Rows() const;
    // The selected columns.
    TColumnsGxList& Columns() { return FColumns; }
    void Clear();
    void SelectAll();
    void UpdateState();
    void Refresh();
    bool DataCellSelected(int dataCol, const TBookmark& bookmark);
    // Cell coordinates of the selected area (left, top, right, bottom).
    TGridRect SelectionToGridRect();

private:
    TCustomDBGridGx* FGrid;
    TDBGridGxSelectionType FSelectionType = gstNon;
    TColumnsGxList FColumns;
};
