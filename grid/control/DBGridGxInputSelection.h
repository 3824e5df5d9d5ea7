#pragma once
// The data grid's selection: whole records (bookmarks), a rectangle of cells,
// whole columns, or everything.
#include "DBGridGxColumns.h"
#include "DBGridGxTypes.h"
#include "platform/db/DBTypes.h"
#include "platform/gui/StringGrid.h"

#include <memory>

class TCustomDBGridGx;
class TBookmarkListGx;

// Whole columns, kept in collection order.
class TDBGridGxSelectionCols : public TColumnsGxList {
public:
    explicit TDBGridGxSelectionCols(TCustomDBGridGx* grid) : FGrid(grid) {}
    TCustomDBGridGx* Grid() const { return FGrid; }
    TColumnGx* Anchor() const { return FAnchor; }
    TColumnGx* ShiftCol() const { return FShiftCol; }
    void AddOrdered(TColumnGx* column);
    void Select(TColumnGx* column, bool addSel);
    void InvertSelect(TColumnGx* column);
    void SelectShift(TColumnGx* column);
    void Clear();
    void Refresh();
    TGridRect SelectionToGridRect();
    // A column goes: no reference to it stays.
    void Forget(TColumnGx* column);

private:
    void ShiftChange(TColumnGx* column, bool add);
    TColumnGx* FAnchor = nullptr;
    TCustomDBGridGx* FGrid;
    TColumnGx* FShiftCol = nullptr;
    TColumnsGxList FShiftSelectedCols;
};

// A cell of the rectangle: a column index (-1 none) and a record bookmark (empty none).
struct TDBCellGx {
    int Col = -1;
    TBookmark Row;
};

// A rectangle of cells between two records and two columns.
class TDBGridGxSelectionRect {
public:
    explicit TDBGridGxSelectionRect(TCustomDBGridGx* grid) : FGrid(grid) {}
    TCustomDBGridGx* Grid() const { return FGrid; }
    const TDBCellGx& Anchor() const { return FAnchor; }
    const TDBCellGx& ShiftCell() const { return FShiftCell; }
    void Select(int col, const TBookmark& row, bool addSel);
    void Clear();
    bool DataCellSelected(int dataCol, const TBookmark& row);
    TBookmark GetTopRow();
    TBookmark GetBottomRow();
    int GetLeftCol();
    int GetRightCol();
    TGridRect SelectionToGridRect();

private:
    void CheckLink(const char* message);
    // The first and last rows of the link's window whose records lie between two bookmarks.
    void BufferRows(const TBookmark& top, const TBookmark& bottom, int& first, int& last);
    // Screen cell rectangle (grid rows) of a rectangle given by its corners.
    TRect ScreenRect(const TDBCellGx& a, const TDBCellGx& b);
    TDBCellGx FAnchor;
    TCustomDBGridGx* FGrid;
    TDBCellGx FShiftCell;
};

class TDBGridGxSelection {
public:
    explicit TDBGridGxSelection(TCustomDBGridGx* grid);
    virtual ~TDBGridGxSelection();
    TDBGridGxSelection(const TDBGridGxSelection&) = delete;
    TDBGridGxSelection& operator=(const TDBGridGxSelection&) = delete;

    TCustomDBGridGx* Grid() const { return FGrid; }
    TDBGridGxSelectionType SelectionType() const { return FSelectionType; }
    void SetSelectionType(TDBGridGxSelectionType value);
    // The selected records (the grid's SelectedRows).
    TBookmarkListGx* Rows() const;
    // The selected columns.
    TDBGridGxSelectionCols& Columns() { return *FColumns; }
    TDBGridGxSelectionRect& Rect() { return *FRect; }
    void Clear();
    // Everything; every record is also handed to the selected-rows list, so code
    // that walks SelectedRows sees the whole dataset.
    void SelectAll();
    void UpdateState();
    void Refresh();
    void LinkActive(bool value);
    bool DataCellSelected(int dataCol, const TBookmark& bookmark);
    // Cell coordinates of the selected area (left, top, right, bottom).
    TGridRect SelectionToGridRect();
    virtual void SelectionChanged();

private:
    std::unique_ptr<TDBGridGxSelectionCols> FColumns;
    TCustomDBGridGx* FGrid;
    std::unique_ptr<TDBGridGxSelectionRect> FRect;
    TDBGridGxSelectionType FSelectionType = gstNon;
};
