#pragma once
// What the columns, titles, footers, the data link, the selected-rows list, the
// style and the centre ask of their data grid. The data grid implements it; tests
// implement it with a small stand-in grid.
#include "DBGridGxTypes.h"
#include "platform/rtl/Variant.h"
#include <QString>
#include <vector>

class QMenu;
class TCanvas;
class TDataSet;
class TField;
class TDBSumListProducer;
class TGridDataLinkGx;
class TDBGridColumnsGx;
class TColumnDefValuesGx;
class TColumnsGxList;
class TBookmarkListGx;

class IDBGridGx {
public:
    virtual ~IDBGridGx() = default;

    // ---- owned companions
    virtual TGridDataLinkGx* DataLink() = 0;
    virtual TDBGridColumnsGx* Columns() = 0;
    virtual TColumnDefValuesGx* ColumnDefValues() = 0;
    virtual TColumnsGxList* VisibleColumns() = 0;
    virtual TColumnsGxList* SortMarkedColumns() = 0;
    virtual TBookmarkListGx* SelectedRows() = 0;
    // The footer aggregates; nullptr when the grid keeps none.
    virtual TDBSumListProducer* SumList() = 0;
    // The dataset of the grid's data source, nullptr when none.
    virtual TDataSet* DataSet() const = 0;

    // ---- look
    virtual TColor Color() const = 0;
    virtual TColor FixedColor() const = 0;
    virtual TColor FooterColor() const = 0;
    virtual TFont* Font() = 0;
    virtual TFont* TitleFont() = 0;
    virtual TFont* FooterFont() = 0;
    // The scratch font handed to cell parameters outside painting.
    virtual TFont* SpareFont() = 0;
    virtual TBiDiModeGx BiDiMode() const = 0;
    virtual TImeModeGx ImeMode() const = 0;
    virtual QString ImeName() const = 0;
    // The canvas text is measured on (works without a window).
    virtual TCanvas* Canvas() = 0;
    virtual bool Flat() const = 0;
    virtual int GridLineWidth() const = 0;
    virtual int DefaultColWidth() const = 0;
    virtual int StdDefaultRowHeight() const = 0;
    virtual int Interlinear() const = 0;

    // ---- settings
    virtual TDBGridOptions Options() const = 0;
    virtual TDBGridGxOptions OptionsGx() const = 0;
    virtual TDBGridGxAllowedOperations AllowedOperations() const = 0;
    virtual bool ReadOnly() const = 0;
    virtual bool AutoFitColWidths() const = 0;
    virtual bool UseMultiTitle() const = 0;
    virtual bool DrawMemoText() const = 0;
    virtual bool DrawGraphicData() const = 0;
    // A changed column width is written back to its field's display width.
    virtual bool UpdateFields() const = 0;
    virtual bool HandleAllocated() const = 0;
    // The filter row is shown inside the title cells (a filter button per title).
    virtual bool FilterButtonsInTitle() const = 0;
    virtual bool RowPanelActive() const = 0;
    // In row-panel mode, Tab walks each panel line from left to right before the next line.
    virtual bool RowPanelTabsLeftToRight() const { return false; }
    // When the grid reads its rows through a memory table: the bookmarks of the data rows on
    // screen and the grid row of the first, and true; false when it reads the link's buffer.
    virtual bool ShownRowBookmarks(std::vector<TBookmark>& /*Bookmarks*/, int& /*FirstRow*/) { return false; }
    // The extra width of the first visible column (tree and group indent).
    virtual int ExtraFirstColumnWidth() const = 0;
    // The re-layout now running was caused by the dataset.
    virtual bool LayoutFromDataset() const = 0;

    // ---- geometry the columns follow
    virtual int IndicatorOffset() const = 0;
    virtual int ColCount() const = 0;
    virtual int ColWidth(int col) const = 0;
    virtual void SetColWidth(int col, int width) = 0;
    virtual int TopDataOffset() const = 0;
    // Index of the current column; settable.
    virtual int SelectedIndex() const = 0;
    virtual void SetSelectedIndex(int index) = 0;

    // ---- layout and repainting
    virtual void LockLayout() = 0;
    virtual void UnlockLayout() = 0;
    virtual int LayoutLockCount() const = 0;
    virtual int UpdateLockCount() const = 0;
    virtual void LayoutChanged() = 0;
    virtual void Invalidate() = 0;
    virtual void InvalidateCol(int col) = 0;
    virtual void InvalidateFooter() = 0;
    virtual void InvalidateCurrentRow() = 0;
    virtual void RefreshEditorPlacement() = 0;
    virtual void SetSortMarkedColumns() = 0;
    virtual void RaiseGridError(const QString& message) = 0;
    // Fits each listed column's width to its widest content.
    virtual void OptimizeColumnsWidth(TColumnsGxList& columns) = 0;

    // ---- editing state
    virtual QString EditText() const = 0;
    virtual void SetEditText(const QString& text) = 0;
    virtual Variant EditKeyValue() const = 0;
    virtual void SetEditKeyValue(const Variant& value) = 0;
    virtual bool InplaceEditorVisible() const = 0;
    virtual QString InplaceEditorText() const = 0;
    // The allowed operations let the current record be edited (update of a stored
    // record, insert or append of a new one).
    virtual bool EditingAllowedForCurrentRecord() const = 0;
    // A column goes: the grid forgets it (sort marking, filter editing).
    virtual void ColumnDestroying(TColumnGx* column) = 0;

    // ---- reactions of the data link
    virtual void LinkActive(bool value) = 0;
    virtual void DataChanged() = 0;
    virtual void Scroll(int distance) = 0;
    // The dataset's fields changed: re-layout with the layout-from-dataset flag set.
    virtual void DataLayoutChanged() = 0;
    virtual void RecordChanged(TField* field) = 0;
    virtual void UpdateData() = 0;
    virtual void EditingChanged() = 0;
    virtual TField* SelectedField() const = 0;
    virtual void SetSelectedField(TField* field) = 0;
    virtual bool AcquireFocus() = 0;
    virtual void ShowEditor() = 0;

    // ---- selection (the selected-rows list reports to it)
    virtual TDBGridGxSelectionType SelectionType() const = 0;
    // Clears the current selection and makes it a selection of record bookmarks.
    virtual void SelectRecordBookmarks() = 0;
    virtual void SelectionUpdateState() = 0;
    virtual void SelectionChanged() = 0;
    virtual bool Destroying() const = 0;
    // A shared object the grid refers to (its style or centre) is going.
    virtual void SharedObjectGone(const void* object) { (void)object; }

    // ---- edit actions and the indicator title (the centre's menu)
    virtual TDBGridGxEditActions EditActions() const = 0;
    // Whether the grid can carry out the action now.
    virtual bool CheckEditAction(TDBGridGxEditAction action) = 0;
    virtual void ExecuteEditAction(TDBGridGxEditAction action) = 0;
    virtual bool IndicatorTitleUseGlobalMenu() const = 0;
    // The indicator title's own drop-down menu; nullptr when none.
    virtual QMenu* IndicatorTitleDropdownMenu() const = 0;
    // The grid's own reaction to a press on the indicator title.
    virtual void DefaultIndicatorTitleMouseDown(int col, int row, int button, int shift, int x, int y) = 0;
};

// Holds a grid's layout lock for a scope (nothing for no grid).
class TLayoutLockScopeGx {
public:
    explicit TLayoutLockScopeGx(IDBGridGx* grid) : FGrid(grid) { if (FGrid) FGrid->LockLayout(); }
    ~TLayoutLockScopeGx() { if (FGrid) FGrid->UnlockLayout(); }
    TLayoutLockScopeGx(const TLayoutLockScopeGx&) = delete;
    TLayoutLockScopeGx& operator=(const TLayoutLockScopeGx&) = delete;

private:
    IDBGridGx* FGrid;
};

// The grids a shared object tells of its changes.
class TGridNotifyListGx {
public:
    void Add(IDBGridGx* grid)
    {
        if (!Contains(grid))
            FGrids.push_back(grid);
    }
    void Remove(IDBGridGx* grid)
    {
        for (auto it = FGrids.begin(); it != FGrids.end(); ++it)
            if (*it == grid) {
                FGrids.erase(it);
                return;
            }
    }
    bool Contains(IDBGridGx* grid) const
    {
        for (IDBGridGx* g : FGrids)
            if (g == grid)
                return true;
        return false;
    }
    const std::vector<IDBGridGx*>& Grids() const { return FGrids; }
    // Empties the list from the last grid to the first, telling each.
    template <class F> void DetachAll(const F& detach)
    {
        while (!FGrids.empty()) {
            IDBGridGx* grid = FGrids.back();
            FGrids.pop_back();
            if (detach)
                detach(grid);
        }
    }

private:
    std::vector<IDBGridGx*> FGrids;
};

