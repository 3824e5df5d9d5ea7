// The data grid's grouping: its settings and levels, row structure and row heights
// over a memory table, the memory table's notices, and moving between group rows.
#include "DBGridGxGroups.h"
#include "DBGridGx.h"
#include "DBGridGxParts.h"
#include "grid/support/MemTableGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"

#include <QScopedValueRollback>
#include <algorithm>

// ---------------------------------------------------------------- level

TCustomDBGridGx* TDBGridGxDataGroupLevelGx::Grid() const
{
    auto* groups = dynamic_cast<TDBGridGxDataGroupsGx*>(DataGroups());
    return groups ? groups->Grid() : nullptr;
}

QString TDBGridGxDataGroupLevelGx::ColumnName() const
{
    return Column() ? Column()->Name() : QString();
}

void TDBGridGxDataGroupLevelGx::SetColumnName(const QString& value)
{
    TCustomDBGridGx* grid = Grid();
    TColumnGx* column = grid && !value.isEmpty() ? grid->Columns()->FindColumnByName(value) : nullptr;
    // Before the columns exist the name waits for ResolveColumnNames.
    FLoadingColumnName = grid && grid->Columns()->Count() == 0 ? value : QString();
    SetColumn(column);
}

void TDBGridGxDataGroupLevelGx::ResolveColumnName()
{
    if (!FLoadingColumnName.isEmpty()) {
        const QString name = FLoadingColumnName;
        FLoadingColumnName.clear();
        SetColumnName(name);
    }
}

void TDBGridGxDataGroupLevelGx::Assign(const TGridDataGroupLevelGx& source)
{
    if (auto* s = dynamic_cast<const TDBGridGxDataGroupLevelGx*>(&source)) {
        OnGetKeyValue = s->OnGetKeyValue;
        OnGetKeyValueAsText = s->OnGetKeyValueAsText;
        OnGetGroupRowText = s->OnGetGroupRowText;
        FLoadingColumnName = s->FLoadingColumnName;
    }
    TGridDataGroupLevelGx::Assign(source);
}

void TDBGridGxDataGroupLevelGx::Changed()
{
    TGridDataGroupLevelGx::Changed();
    if (Column() && Grid()) {
        Grid()->Invalidate();
        Grid()->UpdateAllDataRowHeights();
    }
}

void TDBGridGxDataGroupLevelGx::GetKeyValue(Variant& KeyValue)
{
    TGridDataGroupLevelGx::GetKeyValue(KeyValue);
    TColumnGx* column = Column();
    if (!column)
        return;
    if (column->OnGroupGetKeyValue)
        column->OnGroupGetKeyValue(Grid(), column, KeyValue);
    if (OnGetKeyValue)
        OnGetKeyValue(Grid(), this, KeyValue);
}

QString TDBGridGxDataGroupLevelGx::GetKeyValueAsText(TGroupDataTreeNodeGx* GroupDataTreeNode)
{
    const Variant& key = GroupDataTreeNode->KeyValue();
    QString text = key.IsEmptyOrNull() ? QString() : key.ToString();
    if (TColumnGx* column = Column()) {
        if (column->OnGroupGetKeyValueAsText)
            column->OnGroupGetKeyValueAsText(Grid(), GroupDataTreeNode, key, text);
        if (OnGetKeyValueAsText)
            OnGetKeyValueAsText(Grid(), GroupDataTreeNode, key, text);
    }
    return text;
}

QString TDBGridGxDataGroupLevelGx::GetGroupRowText(TGroupDataTreeNodeGx* GroupDataTreeNode)
{
    QString text;
    auto* nodeLevel = dynamic_cast<TDBGridGxDataGroupLevelGx*>(GroupDataTreeNode->DataGroup());
    TColumnGx* column = nodeLevel ? nodeLevel->Column() : nullptr;
    if (column)
        text = column->Title()->Caption() + QStringLiteral(": ");
    text += GetKeyValueAsText(GroupDataTreeNode);
    text += QStringLiteral(" (") + QString::number(GroupDataTreeNode->Count()) + QLatin1Char(')');
    if (column) {
        if (Grid() && Grid()->OnDataGroupGetRowText)
            Grid()->OnDataGroupGetRowText(Grid(), GroupDataTreeNode, text);
        if (OnGetGroupRowText)
            OnGetGroupRowText(Grid(), GroupDataTreeNode, text);
    }
    return text;
}

// ---------------------------------------------------------------- settings

TDBGridGxDataGroupsGx::TDBGridGxDataGroupsGx(TCustomDBGridGx* AGrid) : TGridDataGroupsGx(AGrid), FDBGrid(AGrid)
{
    Init();
}

TDBGridGxDataGroupLevelGx* TDBGridGxDataGroupsGx::Level(int index) const
{
    return static_cast<TDBGridGxDataGroupLevelGx*>(GroupLevels()->Items(index));
}

TDBGridGxDataGroupLevelGx* TDBGridGxDataGroupsGx::ActiveLevel(int index) const
{
    return static_cast<TDBGridGxDataGroupLevelGx*>(ActiveGroupLevel(index));
}

void TDBGridGxDataGroupsGx::ResolveColumnNames()
{
    for (int i = 0; i < GroupLevels()->Count(); ++i)
        Level(i)->ResolveColumnName();
}

std::unique_ptr<TGridDataGroupLevelsGx> TDBGridGxDataGroupsGx::CreateGroupLevels()
{
    return std::make_unique<TGridDataGroupLevelsGx>(
        this, [](TGridDataGroupLevelsGx* c) { return new TDBGridGxDataGroupLevelGx(c); });
}

void TDBGridGxDataGroupsGx::GroupingActiveChanged()
{
    // The message for the form designer has no place here: a running program only
    // finds the grouping idle without the memory-table services.
    FDBGrid->LinkActive(FDBGrid->DataLink()->Active());
    FDBGrid->UpdateGroupPanelTopIndent();
    if (FDBGrid->OnActiveGroupingStructChanged)
        FDBGrid->OnActiveGroupingStructChanged(FDBGrid);
}

void TDBGridGxDataGroupsGx::ActiveGroupingStructChanged()
{
    FDBGrid->MemTableDataEvent(-1, mtdeDataRebuiltGx, 0);
    FDBGrid->UpdateGroupPanelTopIndent();
    if (FDBGrid->OnActiveGroupingStructChanged)
        FDBGrid->OnActiveGroupingStructChanged(FDBGrid);
}

void TDBGridGxDataGroupsGx::RepaintGrid()
{
    FDBGrid->Invalidate();
    FDBGrid->UpdateAllDataRowHeights();
}

void TDBGridGxDataGroupsGx::RebuildActiveGroupLevels()
{
    TGridDataGroupsGx::RebuildActiveGroupLevels();
    FHotTrackEditButton = -1;
    FHotTrackGroupLevelIdx = -1;
    FDBGrid->UpdateExtraFirstColumnWidth();
    if (FDBGrid->DataLink()->Active())
        FDBGrid->SortMarkingChanged();
}

void TDBGridGxDataGroupsGx::ResortActiveLevel(int LevelIndex, TSortOrderGx SortOrder)
{
    TGridDataGroupsGx::ResortActiveLevel(LevelIndex, SortOrder);
    if (FDBGrid->DataLink()->Active())
        FDBGrid->SortMarkingChanged();
}

bool TDBGridGxDataGroupsGx::IsGroupingWorks() const
{
    return Active() && FDBGrid->HasMemTable() && FDBGrid->DataLink()->Active() && ActiveGroupLevelsCount() > 0;
}

IMemTableGx* TDBGridGxDataGroupsGx::MemTable() const
{
    return FDBGrid->MemTableIntf();
}

int TDBGridGxDataGroupsGx::GroupRowHeight(TGroupDataTreeNodeGx* node)
{
    return FDBGrid->GroupRowHeight(node);
}

int TDBGridGxDataGroupsGx::RecordRowHeight(TGroupDataTreeNodeGx* node)
{
    IMemTableGx* table = MemTable();
    if (!table || !FDBGrid->DataLink()->Active())
        return FDBGrid->StdDefaultRowHeight();
    table->InstantReadEnter(node->DataSetRecordViewNo());
    struct Leave {
        IMemTableGx* t;
        ~Leave() { t->InstantReadLeave(); }
    } leave{table};
    return FDBGrid->CalcColumnsMaxRowHeight();
}

void TDBGridGxDataGroupsGx::TreeChanged()
{
    FDBGrid->DataGroupingTreeChanged();
}

void TDBGridGxDataGroupsGx::RecordRowChanged(TGroupDataTreeNodeGx* node)
{
    const int index = GroupDataTree()->IndexOfVisibleNode(node);
    if (index >= 0)
        FDBGrid->UpdateDataRowHeight(index);
}

bool TDBGridGxDataGroupsGx::DataSetInserting() const
{
    TDataSet* ds = FDBGrid->DataSet();
    return ds && ds->State() == dsInsert;
}

void TDBGridGxDataGroupsGx::GroupPanelVisibleChanged()
{
    FDBGrid->UpdateGroupPanelTopIndent();
}

TColor TDBGridGxDataGroupsGx::GridColor() const
{
    return FDBGrid->Color();
}

const TFont* TDBGridGxDataGroupsGx::GridFont() const
{
    return FDBGrid->Font();
}

// ---------------------------------------------------------------- row structure and heights

int TCustomDBGridGx::GetDataRowHeight(int DataRow)
{
    if (!FDataLink->Active())
        return FStdDefaultRowHeight;
    if (FDataGrouping->IsGroupingWorks() && FDataGrouping->GroupDataTree()->FlatVisibleCount() > 0) {
        TGroupDataTreeNodeGx* node = FDataGrouping->GroupDataTree()->FlatVisibleNode(DataRow);
        if (node && node->NodeType() == dntDataGroupGx)
            return GroupRowHeight(node);
    }
    if (DataRow < 0 || DataRow >= DrawRecordCount())
        return FStdDefaultRowHeight;
    SelectDrawRecord(DataRow);
    struct Restore {
        TCustomDBGridGx* g;
        ~Restore() { g->RestoreDrawRecord(); }
    } restore{this};
    return CalcColumnsMaxRowHeight();
}

int TCustomDBGridGx::CalcColumnsMaxRowHeight()
{
    int height = 0;
    for (int i = 0; i < FVisibleColumns.Count(); ++i)
        height = std::max(height, FVisibleColumns.GetColumn(i)->CalcRowHeight());
    if (height <= 0)
        height = FStdDefaultRowHeight;
    if (OnGetRowHeight)
        OnGetRowHeight(this, height);
    return height;
}

void TCustomDBGridGx::UpdateDataRowHeight(int DataRow)
{
    const int row = DataRow + TopDataOffset();
    if (row < TopDataOffset() || row >= RowCount())
        return;
    int height = GetDataRowHeight(DataRow);
    if (FRowDetailPanel->Active() && FRowDetailPanel->Visible() && row == Row())
        height += FRowDetailPanel->Height();
    if (RowHeights(row) != height)
        TCustomGridGx::SetRowHeights(row, height);
}

void TCustomDBGridGx::UpdateAllGridDataRowHeights()
{
    if (FIntMemTable && FDataLink->Active() && !FIntMemTable->InstantReading()) {
        LockPaint();
        struct Unlock {
            TCustomDBGridGx* g;
            ~Unlock() { g->UnlockPaint(); }
        } unlock{this};
        for (int r = 0; r < RowCount() - TopDataOffset(); ++r)
            UpdateDataRowHeight(r);
    } else if (TopDataOffset() < RowCount()) {
        TCustomGridGx::SetRowHeights(TopDataOffset(), FStdDefaultRowHeight);
    }
}

void TCustomDBGridGx::UpdateAllDataRowHeights()
{
    if (Loading())
        return;
    if (FDataGrouping->IsGroupingWorks())
        FDataGrouping->GroupDataTree()->UpdateAllDataRowHeights();
    UpdateAllGridDataRowHeights();
}

int TCustomDBGridGx::GroupRowHeight(TGroupDataTreeNodeGx* Node)
{
    TGridDataGroupLevelGx* level = Node ? Node->DataGroup() : nullptr;
    TCanvas canvas;
    canvas.SetFont(level ? *level->Font() : *FDataGrouping->Font());
    const int textHeight = canvas.TextHeight(QStringLiteral("Wg"));
    if (HandleAllocated() && level && (level->RowHeight() > 0 || level->RowLines() > 0))
        return (level->RowLines() > 0 ? level->RowLines() * textHeight : 0) + level->RowHeight();
    int height = textHeight + 3;
    if (Flat())
        height += 1;
    if (FOptions.Contains(dgRowLines))
        height += GridLineWidth();
    return height;
}

void TCustomDBGridGx::DataGroupingTreeChanged()
{
    // Nodes the change deleted are nobody's current node any more.
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    if (FCurGroupDataNode && tree->IndexOfVisibleNode(FCurGroupDataNode) < 0 && !tree->Contains(FCurGroupDataNode))
        FCurGroupDataNode = nullptr;
    if (FDrawGroupDataNode && !tree->Contains(FDrawGroupDataNode))
        FDrawGroupDataNode = nullptr;
    const int nodes = FDataGrouping->GroupDataTree()->FlatVisibleCount();
    const int records = FIntMemTable ? FIntMemTable->GetRecordViewsCount() : 0;
    SetGridRowCount(TopDataOffset() + std::max(nodes + (records == 0 ? 1 : 0), 1));
    UpdateAllDataRowHeights();
    InvalidateWholeGrid();
}

void TCustomDBGridGx::UpdateExtraFirstColumnWidth()
{
    const int extra = FDataGrouping->Active() ? 18 * FDataGrouping->ActiveGroupLevelsCount() : 0;
    if (extra == FExtraFirstColumnWidth)
        return;
    FExtraFirstColumnWidth = extra;
    LayoutChanged();
}

int TCustomDBGridGx::WidthWithExtra(TColumnGx* Column, int Width)
{
    return FVisibleColumns.Count() > 0 && FVisibleColumns.GetColumn(0) == Column ? Width + FExtraFirstColumnWidth
                                                                                 : Width;
}

int TCustomDBGridGx::WidthWithoutExtra(TColumnGx* Column, int Width)
{
    return FVisibleColumns.Count() > 0 && FVisibleColumns.GetColumn(0) == Column ? Width - FExtraFirstColumnWidth
                                                                                 : Width;
}

// ---------------------------------------------------------------- the memory table's notices

void TCustomDBGridGx::MemTableDataEvent(int RecNum, int EventType, int Param)
{
    if (!FIntMemTable || FIntMemTable->InstantReading())
        return;
    const bool grouped = FDataGrouping->IsGroupingWorks();
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    const int top = TopDataOffset();
    switch (EventType) {
    case mtdeRecordInsertedGx:
        if (grouped) {
            tree->RecordInserted(RecNum);
        } else if (FIntMemTable->GetRecordViewsCount() > 1) {
            // The row may be there already when the dataset's own notice came first.
            if (RowCount() - top < FIntMemTable->GetRecordViewsCount()) {
                TCustomGridGx::SetRowCount(RowCount() + 1);
                MoveRowLine(RowCount() - 1, RecNum + top);
            }
            UpdateDataRowHeight(RecNum);
        }
        break;
    case mtdeRecordChangedGx:
        if (grouped)
            tree->RecordChanged(RecNum);
        else
            UpdateDataRowHeight(RecNum);
        break;
    case mtdeRecordDeletedGx:
        if (grouped)
            tree->RecordDeleted(RecNum);
        else if (FIntMemTable->GetRecordViewsCount() > 0 && RecNum + top < RowCount() &&
                 RowCount() - top > FIntMemTable->GetRecordViewsCount())
            DeleteRow(RecNum + top);
        break;
    case mtdeRecordMovedGx:
        if (!grouped)
            MoveRowLine(Param + top, RecNum + top);
        break;
    case mtdeDataRebuiltGx:
        if (grouped) {
            tree->RebuildDataTreeEx(FIntMemTable);
            if (FDataLink->Active() && !FInternalUpdatingDatasetPos) {
                const QScopedValueRollback<bool> clear(FInternalUpdatingDatasetPos, true);
                GotoGroupRecordByViewNo(FIntMemTable->GetInstantReadCurRecordView(), false);
            }
        } else {
            const int count = FIntMemTable->GetRecordViewsCount();
            SetGridRowCount(top + (FIntMemTable ? std::max(count, 1) : 1));
            UpdateAllDataRowHeights();
        }
        break;
    default: break;
    }
}

// ---------------------------------------------------------------- moving between group rows

void TCustomDBGridGx::GotoGroupNode(TGroupDataTreeNodeGx* Node, bool Expand)
{
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    if (tree->IndexOfVisibleNode(Node) >= 0) {
        FCurGroupDataNode = Node;
        tree->BeginUpdate();
        bool expanded = false;
        for (TGroupDataTreeNodeGx* p = Node->ParentNode(); p && p != tree->RootNode(); p = p->ParentNode())
            if (!p->Expanded()) {
                p->SetExpanded(true);
                expanded = true;
            }
        tree->EndUpdate();
        if (expanded)
            tree->RebuildFlatVisibleList();
    }
    const int oldTop = TopRow();
    int target = tree->IndexOfVisibleNode(Node) + TopDataOffset();
    if (target >= RowCount() || target < TopDataOffset())
        target = FixedRows();
    if (target != Row()) {
        InvalidateRow(Row());
        if (!FOptions.Contains(dgAlwaysShowEditor))
            HideEditor();
        const bool show = !FLockAutoShowCurCell || RowPanelActive() ||
                          (Node && Node->NodeType() == dntDataGroupGx) || !Expand;
        MoveColRow(Col(), target, Expand, show);
        InvalidateEditor();
        InvalidateRow(target);
        SyncDataSetToGroupNode();
    }
    if (InplaceEditorVisible())
        if (TField* field = SelectedField(); field && field->Text() == FEditText)
            InvalidateEditor();
    if (TopRow() != oldTop) {
        InvalidateRow(oldTop);
        InvalidateRow(TopRow());
    }
}

void TCustomDBGridGx::GotoVisibleGroupNode(TGroupDataTreeNodeGx* Node, bool Expand)
{
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    while (Node && Node->ParentNode() && Node->ParentNode() != tree->RootNode() && tree->IndexOfVisibleNode(Node) < 0)
        Node = Node->ParentNode();
    if (Node)
        GotoGroupNode(Node, Expand);
}

int TCustomDBGridGx::MoveGroupRows(int Distance)
{
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    int index = tree->IndexOfVisibleNode(FCurGroupDataNode);
    if (index < 0)
        index = std::max(0, Row() - TopDataOffset());
    FDataLink->UpdateRecord();
    TDataSet* ds = DataSet();
    if (Distance != 0 && ds && (ds->State() == dsEdit || ds->State() == dsInsert || ds->State() == dsSetKey)) {
        if (ds->Modified())
            ds->Post();
        else
            ds->Cancel();
    }
    const int count = tree->FlatVisibleCount();
    if (count == 0)
        return 0;
    int target = std::clamp(index + Distance, 0, count - 1);
    GotoGroupNode(tree->FlatVisibleNode(target), true);
    SyncDataSetToGroupNode();
    return target - index;
}

void TCustomDBGridGx::SyncDataSetToGroupNode()
{
    if (!FDataLink->Active() || FInternalUpdatingDatasetPos || !FCurGroupDataNode)
        return;
    TGroupDataTreeNodeGx* node = FCurGroupDataNode;
    while (node && node->NodeType() == dntDataGroupGx && node->Count() > 0)
        node = node->Child(0);
    if (!node || node->NodeType() != dntDataSetRecordGx)
        return;
    const QScopedValueRollback<bool> clear(FInternalUpdatingDatasetPos, true);
    TDataSet* ds = DataSet();
    if (ds->RecNo() <= 0)
        ds->SetRecNo(node->DataSetRecordViewNo() + 1);
    else
        ds->MoveBy(node->DataSetRecordViewNo() - ds->RecNo() + 1);
}

void TCustomDBGridGx::GotoGroupRecordByViewNo(int ViewNo, bool Expand)
{
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    TGroupDataTreeNodeGx* node = nullptr;
    const int index = tree->IndexOfVisibleRecordViewNo(ViewNo);
    node = index >= 0 ? tree->FlatVisibleNode(index) : tree->GetNodeByRecordViewNo(ViewNo);
    if (!node)
        return;
    if (Expand)
        GotoGroupNode(node, true);
    else
        GotoVisibleGroupNode(node, false);
}

bool TCustomDBGridGx::GroupRowKeyDown(WORD& Key, TShiftState Shift)
{
    if (Shift.contains(ssShift) || Shift.contains(ssAlt) || Shift.contains(ssCtrl))
        return false;
    TGroupDataTreeNodeGx* node = GroupNodeAtDataRow(Row() - TopDataOffset());
    if (!node || node->NodeType() != dntDataGroupGx)
        return false;
    FCurGroupDataNode = node;
    switch (Key) {
    case VK_ESCAPE:
        FDataLink->Reset();
        ClearSelection();
        if (!FOptions.Contains(dgAlwaysShowEditor))
            HideEditor();
        CancelMode();
        break;
    case VK_PRIOR: MoveBy(-VisibleDataRowCount()); break;
    case VK_NEXT: MoveBy(VisibleDataRowCount()); break;
    case VK_UP: MoveBy(-1); break;
    case VK_DOWN: MoveBy(1); break;
    case VK_LEFT:
        if (node->Expanded())
            node->SetExpanded(false);
        else if (LeftCol() > FixedCols())
            SetLeftCol(LeftCol() - 1);
        break;
    case VK_RIGHT:
        if (!node->Expanded())
            node->SetExpanded(true);
        else if (LeftCol() < TCustomGridGx::ColCount() - 1)
            SetLeftCol(LeftCol() + 1);
        break;
    case VK_MULTIPLY: node->SetExpanded(!node->Expanded()); break;
    case VK_ADD: node->SetExpanded(true); break;
    case VK_SUBTRACT: node->SetExpanded(false); break;
    default: return false;
    }
    Key = 0;
    return true;
}

TGroupDataTreeNodeGx* TCustomDBGridGx::GroupNodeAtDataRow(int DataRow) const
{
    if (!FDataGrouping->IsGroupingWorks())
        return nullptr;
    return FDataGrouping->GroupDataTree()->FlatVisibleNode(DataRow);
}
