// The data grid's selection model: records, a rectangle of cells, whole columns
// or everything.
#include "DBGridGxInputSelection.h"

#include "DBGridGx.h"

#include <algorithm>

namespace {

bool LinkUsable(TCustomDBGridGx* grid)
{
    return grid->DataSource() && grid->DataSet() && grid->DataLink()->Active();
}

int CompareRows(TCustomDBGridGx* grid, const TBookmark& a, const TBookmark& b)
{
    return grid->DataSet()->CompareBookmarks(a, b);
}

} // namespace

// ---------------------------------------------------------------- columns

void TDBGridGxSelectionCols::AddOrdered(TColumnGx* column)
{
    const int index = column->Index();
    for (int i = 0; i < Count(); ++i)
        if (GetColumn(i)->Index() > index) {
            Add(nullptr);
            for (int k = Count() - 1; k > i; --k)
                SetColumn(k, GetColumn(k - 1));
            SetColumn(i, column);
            return;
        }
    Add(column);
}

void TDBGridGxSelectionCols::Select(TColumnGx* column, bool addSel)
{
    TDBGridGxSelection* selection = FGrid->Selection();
    if (selection->SelectionType() != gstColumns)
        selection->Clear();
    if (!addSel)
        Clear();
    if (IndexOf(column) < 0) {
        AddOrdered(column);
        FGrid->InvalidateCol(FGrid->DataToRawColumn(column->Index()));
    }
    FAnchor = FShiftCol = column;
    selection->SetSelectionType(gstColumns);
    FShiftSelectedCols.Clear();
    selection->SelectionChanged();
}

void TDBGridGxSelectionCols::InvertSelect(TColumnGx* column)
{
    TDBGridGxSelection* selection = FGrid->Selection();
    if (selection->SelectionType() != gstColumns)
        selection->Clear();
    if (IndexOf(column) >= 0)
        Remove(column);
    else
        AddOrdered(column);
    FGrid->InvalidateCol(FGrid->DataToRawColumn(column->Index()));
    FAnchor = FShiftCol = column;
    selection->SetSelectionType(Count() > 0 ? gstColumns : gstNon);
    FShiftSelectedCols.Clear();
    selection->SelectionChanged();
}

void TDBGridGxSelectionCols::ShiftChange(TColumnGx* column, bool add)
{
    const bool anchorListed = IndexOf(FAnchor) >= 0;
    const bool listed = IndexOf(column) >= 0;
    const bool recorded = FShiftSelectedCols.IndexOf(column) >= 0;
    bool changed = false;
    // Adding extends what the anchor shows (selected or, after a Ctrl click, not);
    // removing takes back only what this run of Shift extensions changed.
    const bool select = add == anchorListed;
    if (add) {
        if (select && !listed && column->Visible()) {
            AddOrdered(column);
            FShiftSelectedCols.Add(column);
            changed = true;
        } else if (!select && listed && column != FAnchor) {
            Remove(column);
            FShiftSelectedCols.Add(column);
            changed = true;
        }
    } else if (recorded) {
        if (anchorListed && listed && column != FAnchor) {
            Remove(column);
            FShiftSelectedCols.Remove(column);
            changed = true;
        } else if (!anchorListed && !listed && column->Visible()) {
            AddOrdered(column);
            FShiftSelectedCols.Remove(column);
            changed = true;
        }
    }
    if (changed) {
        FGrid->InvalidateCol(FGrid->DataToRawColumn(column->Index()));
        FGrid->Selection()->SelectionChanged();
    }
}

void TDBGridGxSelectionCols::SelectShift(TColumnGx* column)
{
    TDBGridGxSelection* selection = FGrid->Selection();
    if (selection->SelectionType() != gstColumns)
        selection->Clear();
    if (!FAnchor) {
        Select(column, true);
        FAnchor = column;
        return;
    }
    TDBGridColumnsGx* columns = FGrid->Columns();
    const int A = FAnchor->Index();
    const int S = FShiftCol ? FShiftCol->Index() : A;
    const int C = column->Index();
    int start = C, end = C, stepBy = 1, flip = -1;
    bool add = true;
    if (A < S && S < C) {
        start = S; end = C; add = true;
    } else if (A < S && C < S) {
        start = S; stepBy = -1; add = false;
        if (C < A) { flip = A; end = C; } else { end = C + 1; }
    } else if (S < A && C < S) {
        start = S; end = C; stepBy = -1; add = true;
    } else if (S < A && S < C) {
        start = S; add = false;
        if (A < C) { flip = A; end = C; } else { end = C - 1; }
    } else if (S == A) {
        start = A; end = C; stepBy = C < A ? -1 : 1; add = true;
    }
    for (int i = start;; i += stepBy) {
        if (i == flip)
            add = true;
        if (i >= 0 && i < columns->Count())
            ShiftChange(columns->GetColumn(i), add);
        if (i == end)
            break;
    }
    FShiftCol = column;
    selection->SetSelectionType(Count() > 0 ? gstColumns : gstNon);
}

void TDBGridGxSelectionCols::Clear()
{
    for (int i = 0; i < Count(); ++i)
        FGrid->InvalidateCol(FGrid->DataToRawColumn(GetColumn(i)->Index()));
    TColumnsGxList::Clear();
    FAnchor = nullptr;
    FGrid->Selection()->SelectionChanged();
}

void TDBGridGxSelectionCols::Refresh()
{
    TDBGridColumnsGx* columns = FGrid->Columns();
    for (int i = Count() - 1; i >= 0; --i)
        if (columns->IndexOf(GetColumn(i)) < 0)
            Remove(GetColumn(i));
    std::vector<TColumnGx*> items;
    for (int i = 0; i < Count(); ++i)
        items.push_back(GetColumn(i));
    std::stable_sort(items.begin(), items.end(), [](TColumnGx* a, TColumnGx* b) { return a->Index() < b->Index(); });
    for (int i = 0; i < Count(); ++i)
        SetColumn(i, items[size_t(i)]);
    if (FAnchor && columns->IndexOf(FAnchor) < 0)
        FAnchor = nullptr;
    if (FShiftCol && columns->IndexOf(FShiftCol) < 0)
        FShiftCol = nullptr;
    for (int i = FShiftSelectedCols.Count() - 1; i >= 0; --i)
        if (columns->IndexOf(FShiftSelectedCols.GetColumn(i)) < 0)
            FShiftSelectedCols.Remove(FShiftSelectedCols.GetColumn(i));
}

void TDBGridGxSelectionCols::Forget(TColumnGx* column)
{
    Remove(column);
    FShiftSelectedCols.Remove(column);
    if (FAnchor == column)
        FAnchor = nullptr;
    if (FShiftCol == column)
        FShiftCol = nullptr;
}

TGridRect TDBGridGxSelectionCols::SelectionToGridRect()
{
    if (Count() == 0)
        return TGridRect{-1, -1, -1, -1};
    int low = GetColumn(0)->Index(), high = low;
    for (int i = 1; i < Count(); ++i) {
        low = std::min(low, GetColumn(i)->Index());
        high = std::max(high, GetColumn(i)->Index());
    }
    return TGridRect{FGrid->DataToRawColumn(low), 0, FGrid->DataToRawColumn(high), FGrid->RowCount()};
}

// ---------------------------------------------------------------- rectangle

void TDBGridGxSelectionRect::CheckLink(const char* message)
{
    if (!LinkUsable(FGrid))
        throw EInvalidGridOperationGx(QString::fromLatin1(message));
}

TBookmark TDBGridGxSelectionRect::GetTopRow()
{
    CheckLink("Error in TDBGridGxSelectionRect.GetTopRow");
    return CompareRows(FGrid, FAnchor.Row, FShiftCell.Row) <= 0 ? FAnchor.Row : FShiftCell.Row;
}

TBookmark TDBGridGxSelectionRect::GetBottomRow()
{
    CheckLink("Error in TDBGridGxSelectionRect.GetBottomRow");
    return CompareRows(FGrid, FAnchor.Row, FShiftCell.Row) < 0 ? FShiftCell.Row : FAnchor.Row;
}

int TDBGridGxSelectionRect::GetLeftCol()
{
    CheckLink("Error in TDBGridGxSelectionRect.GetLeftCol");
    return std::min(FAnchor.Col, FShiftCell.Col);
}

int TDBGridGxSelectionRect::GetRightCol()
{
    CheckLink("Error in TDBGridGxSelectionRect.GetRightCol");
    return std::max(FAnchor.Col, FShiftCell.Col);
}

bool TDBGridGxSelectionRect::DataCellSelected(int dataCol, const TBookmark& row)
{
    CheckLink("Error in function TDBGridGxSelectionRect.CellSelected");
    if (FAnchor.Col < 0 || FAnchor.Row.IsEmpty() || FShiftCell.Row.IsEmpty())
        return false;
    return CompareRows(FGrid, row, GetTopRow()) >= 0 && CompareRows(FGrid, row, GetBottomRow()) <= 0 &&
           dataCol >= GetLeftCol() && dataCol <= GetRightCol();
}

void TDBGridGxSelectionRect::BufferRows(const TBookmark& top, const TBookmark& bottom, int& first, int& last)
{
    TGridDataLinkGx* link = FGrid->DataLink();
    TDataSet* ds = FGrid->DataSet();
    const int saved = link->ActiveRecord();
    first = -1;
    last = -1;
    try {
        for (int r = 0; r < link->RecordCount(); ++r) {
            link->SetActiveRecord(r);
            const TBookmark bm = ds->GetBookmark();
            if (first < 0 && CompareRows(FGrid, bm, top) >= 0)
                first = r;
            if (CompareRows(FGrid, bm, bottom) <= 0)
                last = r;
        }
    } catch (...) {
        link->SetActiveRecord(saved);
        throw;
    }
    link->SetActiveRecord(saved);
}

TRect TDBGridGxSelectionRect::ScreenRect(const TDBCellGx& a, const TDBCellGx& b)
{
    if (a.Col < 0 || a.Row.IsEmpty() || b.Row.IsEmpty())
        return TRect(0, 0, 0, 0);
    const TBookmark& top = CompareRows(FGrid, a.Row, b.Row) <= 0 ? a.Row : b.Row;
    const TBookmark& bottom = CompareRows(FGrid, a.Row, b.Row) <= 0 ? b.Row : a.Row;
    const int count = FGrid->DataLink()->RecordCount();
    int topRow = -1, bottomRow = -1;
    BufferRows(top, bottom, topRow, bottomRow);
    // Records above the window count as its first row, below as the row after it.
    if (topRow < 0)
        topRow = count;
    if (bottomRow < 0)
        bottomRow = 0;
    const int offset = FGrid->TopDataOffset();
    const int left = FGrid->DataToRawColumn(std::min(a.Col, b.Col));
    const int right = FGrid->DataToRawColumn(std::max(a.Col, b.Col));
    const TRect r1 = FGrid->CellRect(left, topRow + offset);
    const TRect r2 = FGrid->CellRect(right, bottomRow + offset);
    return TRect(r1.Left, r1.Top, r2.Right, r2.Bottom);
}

void TDBGridGxSelectionRect::Select(int col, const TBookmark& row, bool addSel)
{
    TDBGridGxSelection* selection = FGrid->Selection();
    if (selection->SelectionType() != gstRectangle)
        selection->Clear();
    const TDBCellGx oldAnchor = FAnchor, oldShift = FShiftCell;
    if (FAnchor.Col < 0 || FAnchor.Row.IsEmpty() || !addSel) {
        FAnchor.Col = col;
        FAnchor.Row = row;
    }
    FShiftCell.Col = col;
    FShiftCell.Row = row;
    if (FAnchor.Col != FShiftCell.Col || FAnchor.Row != FShiftCell.Row)
        selection->SetSelectionType(gstRectangle);
    else if (selection->SelectionType() == gstRectangle)
        selection->SetSelectionType(gstNon);
    if (FGrid->HandleAllocated()) {
        TRect oldRect = ScreenRect(oldAnchor, oldShift);
        const TRect newRect = ScreenRect(FAnchor, FShiftCell);
        // A one-row selection that turned from one cell into several or back repaints the row.
        const bool oldSingle = oldAnchor.Col == oldShift.Col && oldAnchor.Row == oldShift.Row;
        const bool newSingle = FAnchor.Col == FShiftCell.Col && FAnchor.Row == FShiftCell.Row;
        if (oldSingle != newSingle) {
            oldRect.Left = 0;
            oldRect.Right = FGrid->width();
        }
        const QRegion changed = QRegion(oldRect.toQRect()).xored(QRegion(newRect.toQRect()));
        for (const QRect& r : changed)
            FGrid->InvalidateRect(TRect(r));
    }
    selection->SelectionChanged();
}

void TDBGridGxSelectionRect::Clear()
{
    FAnchor = TDBCellGx();
    FShiftCell = TDBCellGx();
    FGrid->Invalidate();
    FGrid->Selection()->SelectionChanged();
}

TGridRect TDBGridGxSelectionRect::SelectionToGridRect()
{
    const TGridRect none{-1, -1, -1, -1};
    if (!LinkUsable(FGrid) || FAnchor.Col < 0 || FAnchor.Row.IsEmpty())
        return none;
    int first = -1, last = -1;
    BufferRows(GetTopRow(), GetBottomRow(), first, last);
    if (first < 0 || last < 0 || first > last)
        return none;
    const int offset = FGrid->TopDataOffset();
    return TGridRect{FGrid->DataToRawColumn(GetLeftCol()), first + offset, FGrid->DataToRawColumn(GetRightCol()),
                     last + offset};
}

// ---------------------------------------------------------------- the selection

TDBGridGxSelection::TDBGridGxSelection(TCustomDBGridGx* grid)
    : FColumns(std::make_unique<TDBGridGxSelectionCols>(grid)), FGrid(grid),
      FRect(std::make_unique<TDBGridGxSelectionRect>(grid))
{
}

TDBGridGxSelection::~TDBGridGxSelection() = default;

TBookmarkListGx* TDBGridGxSelection::Rows() const { return FGrid->SelectedRows(); }

void TDBGridGxSelection::SetSelectionType(TDBGridGxSelectionType value)
{
    if (value == FSelectionType)
        return;
    FSelectionType = value;
    FGrid->InvalidateEditor();
}

void TDBGridGxSelection::SelectionChanged()
{
    if (!FGrid->Destroying() && FGrid->OnSelectionChanged)
        FGrid->OnSelectionChanged(FGrid);
}

void TDBGridGxSelection::Clear()
{
    struct ShowEditorAfter {
        TCustomDBGridGx* grid;
        ~ShowEditorAfter()
        {
            if (grid->Options().Contains(dgAlwaysShowEditor) && grid->AlwaysShowEditorActive())
                grid->ShowEditor();
        }
    } after{FGrid};
    switch (FSelectionType) {
    case gstRecordBookmarks:
        Rows()->Clear();
        break;
    case gstRectangle:
        FRect->Clear();
        break;
    case gstColumns:
        FColumns->Clear();
        break;
    case gstAll:
        // The records handed to the selected-rows list go with it.
        FSelectionType = gstNon;
        Rows()->Clear();
        FGrid->Invalidate();
        break;
    case gstNon:
        break;
    }
    FSelectionType = gstNon;
}

void TDBGridGxSelection::SelectAll()
{
    if (FSelectionType == gstAll)
        return;
    if (FSelectionType != gstNon)
        Clear();
    Rows()->SelectAll();
    FSelectionType = gstAll;
    FGrid->InvalidateEditor();
    FGrid->Invalidate();
    SelectionChanged();
}

void TDBGridGxSelection::Refresh()
{
    if (FSelectionType == gstRecordBookmarks) {
        Rows()->Refresh();
    } else if (FSelectionType == gstColumns) {
        FColumns->Refresh();
        if (FColumns->Count() == 0) {
            SetSelectionType(gstNon);
            FGrid->Invalidate();
        }
    }
}

void TDBGridGxSelection::UpdateState()
{
    if ((FSelectionType == gstRecordBookmarks && Rows()->Count() == 0) ||
        (FSelectionType == gstColumns && FColumns->Count() == 0)) {
        SetSelectionType(gstNon);
        FGrid->Invalidate();
    }
}

void TDBGridGxSelection::LinkActive(bool value)
{
    Rows()->SetLinkActive(value);
    Clear();
}

bool TDBGridGxSelection::DataCellSelected(int dataCol, const TBookmark& bookmark)
{
    switch (FSelectionType) {
    case gstRecordBookmarks: {
        int index = 0;
        return Rows()->Find(bookmark, index);
    }
    case gstRectangle:
        return dataCol >= 0 && FRect->DataCellSelected(dataCol, bookmark);
    case gstColumns:
        if (dataCol < 0 || dataCol >= FGrid->Columns()->Count())
            return false;
        return FColumns->IndexOf(FGrid->Columns()->GetColumn(dataCol)) >= 0;
    case gstAll:
        return true;
    case gstNon:
        break;
    }
    return false;
}

TGridRect TDBGridGxSelection::SelectionToGridRect()
{
    switch (FSelectionType) {
    case gstRecordBookmarks: {
        const TRect r = Rows()->SelectionToGridRect();
        return TGridRect{r.Left, r.Top, r.Right, r.Bottom};
    }
    case gstRectangle:
        return FRect->SelectionToGridRect();
    case gstColumns:
        return FColumns->SelectionToGridRect();
    case gstAll:
        return TGridRect{0, 0, FGrid->ColCount(), FGrid->RowCount()};
    case gstNon:
        break;
    }
    return TGridRect{-1, -1, -1, -1};
}

void TCustomDBGridGx::SelectionChanged()
{
    if (FSelection)
        FSelection->SelectionChanged();
    else if (!FDestroying && OnSelectionChanged)
        OnSelectionChanged(this);
}
