// The grid's column collection: adding, building from the dataset's fields,
// the default and customized states, the reaction to a changed column, finding
// columns by name and Tab / arrow navigation.
#include "DBGridGxColumns.h"
#include "DBGridGxDataLink.h"
#include "grid/support/DBSumLst.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include <algorithm>

TDBGridColumnsGx::TDBGridColumnsGx(IDBGridGx* grid, TColumnFactory columnClass)
    : FGrid(grid)
    , FColumnClass(std::move(columnClass))
{
}

TDBGridColumnsGx::~TDBGridColumnsGx()
{
    ++FUpdateCount;
    while (!FItems.empty())
        delete FItems.back();
}

int TDBGridColumnsGx::IndexOf(const TColumnGx* column) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i] == column)
            return int(i);
    return -1;
}

void TDBGridColumnsGx::InsertItem(TColumnGx* item)
{
    item->FCollection = this;
    FItems.push_back(item);
}

void TDBGridColumnsGx::RemoveItem(TColumnGx* item)
{
    const int i = IndexOf(item);
    if (i >= 0)
        FItems.erase(FItems.begin() + i);
    item->FCollection = nullptr;
    Changed(nullptr);
}

TColumnGx* TDBGridColumnsGx::Add()
{
    TLayoutLockScopeGx lock(FGrid);
    TColumnGx* column = FColumnClass(this);
    Changed(nullptr);
    return column;
}

TColumnGx* TDBGridColumnsGx::AddDefaultColumn()
{
    TColumnGx* column = Add();
    column->SetStored(false);
    return column;
}

void TDBGridColumnsGx::Clear()
{
    if (FItems.empty())
        return;
    // The columns' aggregates go with them; the producer recalculates once.
    TDBSumCollection* sums = FGrid && FGrid->SumList() ? FGrid->SumList()->SumCollection() : nullptr;
    BeginUpdate();
    if (sums)
        sums->BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    if (sums)
        sums->EndUpdate();
    EndUpdate();
}

void TDBGridColumnsGx::Delete(int index)
{
    delete FItems.at(size_t(index));
}

void TDBGridColumnsGx::Move(int fromIndex, int toIndex)
{
    if (fromIndex < 0 || fromIndex >= Count())
        return;
    toIndex = std::clamp(toIndex, 0, Count() - 1);
    if (fromIndex == toIndex)
        return;
    TColumnGx* item = FItems[size_t(fromIndex)];
    FItems.erase(FItems.begin() + fromIndex);
    FItems.insert(FItems.begin() + toIndex, item);
    Changed(nullptr);
}

void TDBGridColumnsGx::Assign(const TDBGridColumnsGx& source)
{
    if (&source == this)
        return;
    TLayoutLockScopeGx lock(FGrid);
    BeginUpdate();
    try {
        Clear();
        for (TColumnGx* column : source.FItems)
            Add()->Assign(*column);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TDBGridColumnsGx::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        Changed(nullptr);
}

TColumnsStateGx TDBGridColumnsGx::State() const
{
    return (FItems.empty() || !FItems.front()->Stored()) ? csDefault : csCustomized;
}

void TDBGridColumnsGx::SetState(TColumnsStateGx value)
{
    if (value == State())
        return;
    if (value == csCustomized)
        RebuildColumns();
    else
        Clear();
}

void TDBGridColumnsGx::AddAllColumns(bool deleteExisting)
{
    TDataSet* ds = FGrid ? FGrid->DataSet() : nullptr;
    if (!ds) {
        if (deleteExisting)
            Clear();
        return;
    }
    TLayoutLockScopeGx lock(FGrid);
    if (deleteExisting)
        Clear();
    std::vector<TField*> fields;
    for (TField* f : ds->Fields())
        fields.push_back(f);
    for (TField* f : fields)
        Add()->SetFieldName(f->FieldName());
}

void TDBGridColumnsGx::RestoreDefaults()
{
    BeginUpdate();
    try {
        for (TColumnGx* c : FItems)
            c->RestoreDefaults();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TDBGridColumnsGx::ActiveChanged()
{
    for (TColumnGx* c : FItems)
        c->ForgetField();
}

bool TDBGridColumnsGx::ExistFooterValueType(TFooterValueType valueType) const
{
    for (TColumnGx* c : FItems)
        if (c->Footer()->ValueType() == valueType)
            return true;
    return false;
}

TColumnGx* TDBGridColumnsGx::FindColumnByName(const QString& columnName) const
{
    for (TColumnGx* c : FItems)
        if (c->Name() == columnName)
            return c;
    return nullptr;
}

void TDBGridColumnsGx::GetColumnNames(QStringList& list) const
{
    for (TColumnGx* c : FItems)
        list.append(c->Name());
}

// ---------------------------------------------------------------- change reactions

void TDBGridColumnsGx::Changed(TColumnGx* item)
{
    if (FUpdateCount == 0)
        Update(item);
}

void TDBGridColumnsGx::Update(TColumnGx* item)
{
    IDBGridGx* grid = FGrid;
    if (!grid)
        return;
    if (item) {
        const int col = grid->RowPanelActive() ? grid->IndicatorOffset() : item->Index() + grid->IndicatorOffset();
        const bool inGrid = col >= 0 && col < grid->ColCount();
        if (inGrid)
            grid->InvalidateCol(col);
        TColumnGx* firstVisible = nullptr;
        for (TColumnGx* c : FItems)
            if (c->Visible()) {
                firstVisible = c;
                break;
            }
        const int extra = item == firstVisible ? grid->ExtraFirstColumnWidth() : 0;
        if (!grid->AutoFitColWidths()) {
            if (!inGrid || item->FullWidth() == grid->ColWidth(col) || grid->RowPanelActive()) {
                if (grid->UseMultiTitle())
                    grid->LayoutChanged();
            } else {
                int width;
                if (item->Visible())
                    width = item->Width();
                else
                    width = grid->Options().Contains(dgColLines) ? -1 : 0;
                grid->SetColWidth(col, width + extra);
            }
        } else if (inGrid && grid->ColWidth(col) != -1) {
            const int present = grid->ColWidth(col) - extra;
            const int oldInit = item->InitWidth();
            const int newInit = present > 0 ? MulDiv(oldInit, item->Width(), present) : item->Width();
            item->SetInitWidth(newInit);
            const int index = item->Index();
            if (index < Count() - 1) {
                TColumnGx* next = FItems[size_t(index + 1)];
                const int grown = next->InitWidth() + oldInit - newInit;
                next->SetInitWidth(grown < 0 ? 0 : grown);
            }
            grid->LayoutChanged();
        }
    } else {
        grid->SetSortMarkedColumns();
        grid->LayoutChanged();
    }
    AfterChange();
}

void TDBGridColumnsGx::AfterChange()
{
    IDBGridGx* grid = FGrid;
    const int selected = grid->SelectedIndex();
    if (!FItems.empty() && grid->VisibleColumns()->Count() > 0 && selected >= 0 &&
        (selected >= Count() || !FItems[size_t(selected)]->Visible())) {
        for (size_t i = 0; i < FItems.size(); ++i)
            if (FItems[i]->Visible()) {
                grid->SetSelectedIndex(int(i));
                break;
            }
    }
    if (grid->LayoutLockCount() == 0)
        grid->RefreshEditorPlacement();
}

// ---------------------------------------------------------------- navigation

TColumnGx* TDBGridColumnsGx::GetFirstTabColumn() const
{
    for (TColumnGx* c : FItems)
        if (c->Visible() && c->IsTabStop())
            return c;
    return nullptr;
}

TColumnGx* TDBGridColumnsGx::GetLastTabColumn() const
{
    if (FGrid && FGrid->RowPanelTabsLeftToRight()) {
        // The last tab stop of the lowest line.
        TColumnGx* last = nullptr;
        for (TColumnGx* c : FItems) {
            if (!c->Visible() || !c->IsTabStop())
                continue;
            if (!last || c->InRowLinePos() > last->InRowLinePos() ||
                (c->InRowLinePos() == last->InRowLinePos() && c->RowPlacement().Left > last->RowPlacement().Left))
                last = c;
        }
        return last;
    }
    for (auto it = FItems.rbegin(); it != FItems.rend(); ++it)
        if ((*it)->Visible() && (*it)->IsTabStop())
            return *it;
    return nullptr;
}

TColumnGx* TDBGridColumnsGx::GetNextTabColumn(TColumnGx* forColumn, bool goForward) const
{
    if (FGrid && FGrid->RowPanelTabsLeftToRight())
        return GetNextHorzColumn(forColumn, goForward, true, true);
    int i = IndexOf(forColumn);
    if (i < 0)
        return forColumn;
    for (;;) {
        i += goForward ? 1 : -1;
        if (i < 0 || i >= Count())
            return forColumn;
        if (FItems[size_t(i)]->IsTabStop())
            return FItems[size_t(i)];
    }
}

TColumnGx* TDBGridColumnsGx::GetNextHorzColumn(TColumnGx* forColumn, bool goForward, bool checkTabStop,
                                               bool wrap) const
{
    const int line = forColumn->InRowLinePos();
    const int left = forColumn->RowPlacement().Left;
    auto eligible = [checkTabStop](TColumnGx* c) { return c->Visible() && (!checkTabStop || c->IsTabStop()); };
    TColumnGx* best = nullptr;
    for (TColumnGx* c : FItems) {
        if (c == forColumn || !eligible(c) || c->InRowLinePos() != line)
            continue;
        const int l = c->RowPlacement().Left;
        if (goForward ? l > left : l < left)
            if (!best || (goForward ? l < best->RowPlacement().Left : l > best->RowPlacement().Left))
                best = c;
    }
    if (best || !wrap)
        return best ? best : forColumn;
    for (TColumnGx* c : FItems) {
        if (!eligible(c))
            continue;
        const int cl = c->InRowLinePos();
        if (goForward ? cl <= line : cl >= line)
            continue;
        if (!best) {
            best = c;
            continue;
        }
        const int bl = best->InRowLinePos();
        if (goForward) {
            if (cl < bl || (cl == bl && c->RowPlacement().Left < best->RowPlacement().Left))
                best = c;
        } else {
            if (cl > bl || (cl == bl && c->RowPlacement().Left > best->RowPlacement().Left))
                best = c;
        }
    }
    return best ? best : forColumn;
}

TColumnGx* TDBGridColumnsGx::GetNextVertColumn(TColumnGx* forColumn, bool goForward) const
{
    const TColumnGx* base = FUpDownBaseColumn ? FUpDownBaseColumn : forColumn;
    const int from = base->RowPlacement().Left;
    const int to = from + base->RowPlacement().Width;
    const int top = forColumn->InRowLinePos();
    const int bottom = top + forColumn->InRowLineHeight() - 1;
    TColumnGx* best = nullptr;
    for (TColumnGx* c : FItems) {
        if (c == forColumn || !c->Visible())
            continue;
        const int cf = c->RowPlacement().Left, ct = cf + c->RowPlacement().Width;
        const bool overlap = (cf >= from && cf < to) || (from >= cf && from < ct);
        if (!overlap)
            continue;
        const int line = c->InRowLinePos();
        if (goForward ? line <= bottom : line >= top)
            continue;
        if (!best) {
            best = c;
            continue;
        }
        const int bl = best->InRowLinePos();
        const bool nearer = goForward ? line < bl : line > bl;
        if (nearer || (line == bl && cf < best->RowPlacement().Left))
            best = c;
    }
    return best ? best : forColumn;
}

TColumnGx* TDBGridColumnsGx::GetTopColumn(TColumnGx* column) const
{
    for (;;) {
        TColumnGx* next = GetNextVertColumn(column, false);
        if (next == column)
            return column;
        column = next;
    }
}

TColumnGx* TDBGridColumnsGx::GetBottomColumn(TColumnGx* column) const
{
    for (;;) {
        TColumnGx* next = GetNextVertColumn(column, true);
        if (next == column)
            return column;
        column = next;
    }
}
