// Data grouping: levels, settings and the group tree with its record-by-record upkeep.
#include "DBGridGxGrouping.h"
#include "DBGridGxColumns.h"
#include "grid/support/MemTableGx.h"
#include "grid/support/ToolCtrlsGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"

#include <algorithm>

namespace {

// Whether a child key sorts after (1), before (-1) or with (0) Key in the given order.
int SortsRelative(const Variant& childKey, const Variant& Key, TSortOrderGx order)
{
    const TVariantRelationship r = CompareVariants(childKey, Key);
    if (r == vrGreaterThan)
        return order == soAscGx ? 1 : -1;
    if (r == vrLessThan)
        return order == soAscGx ? -1 : 1;
    return 0;
}

// Takes over another font without the change counting as the owner's own setting.
void AssignFontQuietly(TFont& font, const TFont& from, bool& selfChanging)
{
    if (font == from)
        return;
    selfChanging = true;
    font.Assign(from);
    selfChanging = false;
}

// Brackets an instant read of a view record, left also on exceptions.
class ViewRead {
public:
    ViewRead(IMemTableGx* table, int viewNo) : FTable(table)
    {
        if (FTable)
            FTable->InstantReadEnter(viewNo);
    }
    ~ViewRead()
    {
        if (FTable)
            FTable->InstantReadLeave();
    }
    ViewRead(const ViewRead&) = delete;
    ViewRead& operator=(const ViewRead&) = delete;

private:
    IMemTableGx* FTable;
};

} // namespace

// ---------------------------------------------------------------- node

int TGroupDataTreeNodeGx::RowHeight()
{
    if (FRowHeightNeedUpdate) {
        auto* tree = dynamic_cast<TGridGroupDataTreeGx*>(Owner());
        if (tree && tree->GridDataGroups()) {
            FRowHeight = FGroupDataTreeNodeType == dntDataGroupGx ? tree->GridDataGroups()->GroupRowHeight(this)
                                                                    : tree->GridDataGroups()->RecordRowHeight(this);
        }
        FRowHeightNeedUpdate = false;
    }
    return FRowHeight;
}

void TGroupDataTreeNodeGx::SetViewNo(int viewNo)
{
    FDataSetRecordViewNo = viewNo;
    FKeyValue = viewNo;
    if (FFullKey.IsArray() && FFullKey.ArrayCount() > 0)
        FFullKey.SetArrayItem(FFullKey.ArrayHighBound(), viewNo);
}

// ---------------------------------------------------------------- level

TGridDataGroupLevelGx::TGridDataGroupLevelGx(TGridDataGroupLevelsGx* collection) : FCollection(collection)
{
    if (TGridDataGroupsGx* groups = DataGroups())
        FFont.Assign(*groups->Font());
    FFont.OnChange = [this] {
        if (FSelfChangingFont)
            return;
        FParentFont = false;
        LevelLookChanged();
    };
}

TGridDataGroupLevelGx::~TGridDataGroupLevelGx() = default;

TGridDataGroupsGx* TGridDataGroupLevelGx::DataGroups() const
{
    return FCollection ? FCollection->DataGroups() : nullptr;
}

int TGridDataGroupLevelGx::Index() const
{
    return FCollection ? FCollection->IndexOf(this) : -1;
}

void TGridDataGroupLevelGx::SetIndex(int value)
{
    if (FCollection)
        FCollection->Move(Index(), value);
}

void TGridDataGroupLevelGx::Assign(const TGridDataGroupLevelGx& source)
{
    FColumn = source.FColumn;
    FParentColor = source.FParentColor;
    FColor = source.FColor;
    FParentFont = source.FParentFont;
    AssignFontQuietly(FFont, source.FFont, FSelfChangingFont);
    FRowHeight = source.FRowHeight;
    FRowLines = source.FRowLines;
    FSortOrder = source.FSortOrder;
    Changed();
}

void TGridDataGroupLevelGx::SetColumn(TColumnGx* value)
{
    if (FColumn == value)
        return;
    FColumn = value;
    Changed();
}

TColor TGridDataGroupLevelGx::Color() const
{
    if (FParentColor && DataGroups())
        return DataGroups()->Color();
    return FColor;
}

void TGridDataGroupLevelGx::SetColor(TColor value)
{
    FColor = value;
    FParentColor = false;
    LevelLookChanged();
}

void TGridDataGroupLevelGx::SetParentColor(bool value)
{
    if (FParentColor == value)
        return;
    FParentColor = value;
    LevelLookChanged();
}

TFont* TGridDataGroupLevelGx::Font()
{
    RefreshFont();
    return &FFont;
}

void TGridDataGroupLevelGx::SetFont(const TFont& value)
{
    FFont.Assign(value);
}

void TGridDataGroupLevelGx::SetParentFont(bool value)
{
    if (FParentFont == value)
        return;
    FParentFont = value;
    RefreshFont();
    LevelLookChanged();
}

void TGridDataGroupLevelGx::RefreshFont()
{
    if (FParentFont && DataGroups())
        AssignFontQuietly(FFont, *DataGroups()->Font(), FSelfChangingFont);
}

void TGridDataGroupLevelGx::SetRowHeight(int value)
{
    if (FRowHeight == value)
        return;
    FRowHeight = value;
    Changed();
}

void TGridDataGroupLevelGx::SetRowLines(int value)
{
    if (FRowLines == value)
        return;
    FRowLines = value;
    Changed();
}

void TGridDataGroupLevelGx::SetSortOrder(TSortOrderGx value)
{
    if (FSortOrder == value)
        return;
    FSortOrder = value;
    if (FCollection)
        FCollection->SortOrderChanged(this);
}

void TGridDataGroupLevelGx::LevelLookChanged()
{
    if (DataGroups())
        DataGroups()->RepaintGrid();
}

QString TGridDataGroupLevelGx::GetGroupRowText(TGroupDataTreeNodeGx*)
{
    return QString();
}

void TGridDataGroupLevelGx::GetKeyValue(Variant& KeyValue)
{
    KeyValue = Variant();
    if (OnGetKeyValue) {
        OnGetKeyValue(this);
        return;
    }
    if (!FColumn)
        return;
    TField* field = FColumn->Field();
    if (field && field->DataSet() && field->DataSet()->Active())
        KeyValue = field->Value();
}

void TGridDataGroupLevelGx::Changed()
{
    if (FCollection)
        FCollection->Update(this);
}

void TGridDataGroupLevelGx::SetNodesExpanded(bool value)
{
    TGridDataGroupsGx* groups = DataGroups();
    if (!groups)
        return;
    const int active = groups->IndexOfActiveLevel(this);
    if (active < 0)
        return;
    TGridGroupDataTreeGx* tree = groups->GroupDataTree();
    tree->BeginUpdate();
    try {
        for (TGroupDataTreeNodeGx* n = tree->GetFirstNodeAtLevel(active + 1); n; n = tree->GetNextNodeAtLevel(n))
            n->SetExpanded(value);
    } catch (...) {
        tree->EndUpdate();
        throw;
    }
    tree->EndUpdate();
    tree->RebuildFlatVisibleList();
}

void TGridDataGroupLevelGx::CollapseNodes()
{
    SetNodesExpanded(false);
}

void TGridDataGroupLevelGx::ExtractNodes()
{
    SetNodesExpanded(true);
}

// ---------------------------------------------------------------- level collection

TGridDataGroupLevelsGx::TGridDataGroupLevelsGx(TGridDataGroupsGx* dataGroups, TGridDataGroupLevelClassGx itemClass)
    : FDataGroups(dataGroups), FItemClass(std::move(itemClass))
{
}

TGridDataGroupLevelsGx::~TGridDataGroupLevelsGx()
{
    FUpdateCount = 1;   // no notices while the levels go
    FItems.clear();
}

QWidget* TGridDataGroupLevelsGx::Grid() const
{
    return FDataGroups ? FDataGroups->GridWidget() : nullptr;
}

TGridDataGroupLevelGx* TGridDataGroupLevelsGx::Items(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return FItems[size_t(index)].get();
}

TGridDataGroupLevelGx* TGridDataGroupLevelsGx::Add()
{
    FItems.emplace_back(FItemClass ? FItemClass(this) : new TGridDataGroupLevelGx(this));
    TGridDataGroupLevelGx* level = FItems.back().get();
    Update(nullptr);
    return level;
}

void TGridDataGroupLevelsGx::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    std::unique_ptr<TGridDataGroupLevelGx> gone = std::move(FItems[size_t(index)]);
    FItems.erase(FItems.begin() + index);
    gone->SetCollection(nullptr);
    Update(nullptr);
}

void TGridDataGroupLevelsGx::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Update(nullptr);
}

int TGridDataGroupLevelsGx::IndexOf(const TGridDataGroupLevelGx* level) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == level)
            return int(i);
    return -1;
}

void TGridDataGroupLevelsGx::Move(int from, int to)
{
    if (from < 0 || from >= Count())
        return;
    to = std::clamp(to, 0, Count() - 1);
    if (from == to)
        return;
    std::unique_ptr<TGridDataGroupLevelGx> item = std::move(FItems[size_t(from)]);
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, std::move(item));
    Update(nullptr);
}

void TGridDataGroupLevelsGx::Assign(const TGridDataGroupLevelsGx& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    try {
        FItems.clear();
        for (const auto& item : source.FItems) {
            FItems.emplace_back(FItemClass ? FItemClass(this) : new TGridDataGroupLevelGx(this));
            FItems.back()->Assign(*item);
        }
        FChangedInUpdate = true;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TGridDataGroupLevelsGx::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Update(nullptr);
    }
}

void TGridDataGroupLevelsGx::Update(TGridDataGroupLevelGx*)
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (FDataGroups)
        FDataGroups->GroupLevelsChanged();
}

void TGridDataGroupLevelsGx::SortOrderChanged(TGridDataGroupLevelGx* level)
{
    if (!FDataGroups)
        return;
    const int active = FDataGroups->IndexOfActiveLevel(level);
    if (active >= 0)
        FDataGroups->ResortActiveLevel(active, level->SortOrder());
}

// ---------------------------------------------------------------- settings

TGridDataGroupsGx::TGridDataGroupsGx(QWidget* AGrid) : FGrid(AGrid)
{
    FFont.OnChange = [this] {
        if (FSelfChangingFont)
            return;
        FParentFont = false;
        if (FGroupLevels)
            for (int i = 0; i < FGroupLevels->Count(); ++i)
                FGroupLevels->Items(i)->RefreshFont();
        RepaintGrid();
    };
}

TGridDataGroupsGx::~TGridDataGroupsGx()
{
    FGroupLevels.reset();
    FGroupDataTree.reset();
}

void TGridDataGroupsGx::Init()
{
    if (const TFont* f = GridFont())
        AssignFontQuietly(FFont, *f, FSelfChangingFont);
    FGroupDataTree = std::make_unique<TGridGroupDataTreeGx>(this);
    FGroupLevels = CreateGroupLevels();
}

void TGridDataGroupsGx::SetActive(bool value)
{
    if (FActive == value)
        return;
    FActive = value;
    GroupingActiveChanged();
}

void TGridDataGroupsGx::SetGroupPanelVisible(bool value)
{
    if (FGroupPanelVisible == value)
        return;
    FGroupPanelVisible = value;
    GroupPanelVisibleChanged();
}

TColor TGridDataGroupsGx::Color() const
{
    return FParentColor ? GridColor() : FColor;
}

void TGridDataGroupsGx::SetColor(TColor value)
{
    FColor = value;
    FParentColor = false;
    RepaintGrid();
}

void TGridDataGroupsGx::SetParentColor(bool value)
{
    if (FParentColor == value)
        return;
    FParentColor = value;
    RepaintGrid();
}

TFont* TGridDataGroupsGx::Font()
{
    if (const TFont* f = GridFont(); FParentFont && f)
        AssignFontQuietly(FFont, *f, FSelfChangingFont);
    return &FFont;
}

void TGridDataGroupsGx::SetFont(const TFont& value)
{
    FFont.Assign(value);
}

void TGridDataGroupsGx::SetParentFont(bool value)
{
    if (FParentFont == value)
        return;
    FParentFont = value;
    Font();
    RepaintGrid();
}

void TGridDataGroupsGx::Assign(const TGridDataGroupsGx& source)
{
    if (&source == this)
        return;
    SetActive(source.FActive);
    FGroupLevels->Assign(*source.FGroupLevels);
    SetGroupPanelVisible(source.FGroupPanelVisible);
}

TGridDataGroupLevelGx* TGridDataGroupsGx::ActiveGroupLevel(int index) const
{
    if (index < 0 || index >= ActiveGroupLevelsCount())
        return nullptr;
    return FActiveGroupLevels[size_t(index)];
}

TColumnGx* TGridDataGroupsGx::ActiveGroupColumn(int index) const
{
    if (index < 0 || index >= int(FActiveGroupColumns.size()))
        return nullptr;
    return FActiveGroupColumns[size_t(index)];
}

int TGridDataGroupsGx::IndexOfActiveLevel(const TGridDataGroupLevelGx* level) const
{
    auto it = std::find(FActiveGroupLevels.begin(), FActiveGroupLevels.end(), level);
    return it == FActiveGroupLevels.end() ? -1 : int(it - FActiveGroupLevels.begin());
}

Variant TGridDataGroupsGx::GetKeyValueForViewRecNo(int ViewRecNo)
{
    IMemTableGx* table = MemTable();
    const bool switchRecord = table && table->GetInstantReadCurRecordView() != ViewRecNo;
    ViewRead read(switchRecord ? table : nullptr, ViewRecNo);
    std::vector<Variant> key(size_t(ActiveGroupLevelsCount() + 1));
    for (int i = 0; i < ActiveGroupLevelsCount(); ++i)
        FActiveGroupLevels[size_t(i)]->GetKeyValue(key[size_t(i)]);
    key.back() = ViewRecNo;
    return Variant::Array(std::move(key));
}

void TGridDataGroupsGx::SetDataSetkeyValue(const Variant& KeyValue)
{
    if (!KeyValue.IsArray())
        return;
    for (int i = 0; i < ActiveGroupLevelsCount() && i < KeyValue.ArrayCount(); ++i) {
        TColumnGx* column = FActiveGroupColumns[size_t(i)];
        if (column && column->Field())
            column->Field()->SetValue(KeyValue.ArrayItem(KeyValue.ArrayLowBound() + i));
    }
}

void TGridDataGroupsGx::GroupLevelsChanged()
{
    int position = 0;
    int diff = -1;
    for (int i = 0; i < FGroupLevels->Count(); ++i) {
        TGridDataGroupLevelGx* level = FGroupLevels->Items(i);
        if (!level->Column())
            continue;
        if (position >= ActiveGroupLevelsCount() || FActiveGroupLevels[size_t(position)] != level ||
            FActiveGroupColumns[size_t(position)] != level->Column()) {
            diff = position;
            break;
        }
        ++position;
    }
    if (diff < 0 && ActiveGroupLevelsCount() > position)
        diff = position;
    if (diff < 0)
        return;
    FGroupDataTree->DeleteRecordNodesUpToLevel(diff + 1);
    RebuildActiveGroupLevels();
    if (FActive)
        ActiveGroupingStructChanged();
}

std::unique_ptr<TGridDataGroupLevelsGx> TGridDataGroupsGx::CreateGroupLevels()
{
    return std::make_unique<TGridDataGroupLevelsGx>(
        this, [](TGridDataGroupLevelsGx* c) { return new TGridDataGroupLevelGx(c); });
}

// Hooks for the grid's own grouping settings, which rebuild its rows; the plain settings have no rows.
void TGridDataGroupsGx::GroupingActiveChanged() {}

void TGridDataGroupsGx::ActiveGroupingStructChanged() {}

void TGridDataGroupsGx::RepaintGrid()
{
    if (FGrid)
        FGrid->update();
}

void TGridDataGroupsGx::RebuildActiveGroupLevels()
{
    FActiveGroupLevels.clear();
    FActiveGroupColumns.clear();
    for (int i = 0; i < FGroupLevels->Count(); ++i) {
        TGridDataGroupLevelGx* level = FGroupLevels->Items(i);
        if (level->Column()) {
            FActiveGroupLevels.push_back(level);
            FActiveGroupColumns.push_back(level->Column());
        }
    }
}

void TGridDataGroupsGx::ResortActiveLevel(int LevelIndex, TSortOrderGx SortOrder)
{
    FGroupDataTree->ResortLevel(LevelIndex, SortOrder);
}

bool TGridDataGroupsGx::IsGroupingWorks() const
{
    return FActive;
}

int TGridDataGroupsGx::GroupRowHeight(TGroupDataTreeNodeGx*)
{
    return 0;
}

int TGridDataGroupsGx::RecordRowHeight(TGroupDataTreeNodeGx*)
{
    return 0;
}

// ---------------------------------------------------------------- tree

TGridGroupDataTreeGx::TGridGroupDataTreeGx(TGridDataGroupsGx* gridDataGroups)
    : TTreeListGx(TreeNodeClassOf<TGroupDataTreeNodeGx>()), FGridDataGroups(gridDataGroups)
{
}

TGridGroupDataTreeGx::~TGridGroupDataTreeGx()
{
    ++FUpateCount;
    FlatVisibleList.clear();
    Clear();
}

TGroupDataTreeNodeGx* TGridGroupDataTreeGx::FlatVisibleNode(int index) const
{
    if (index < 0 || index >= FlatVisibleCount())
        return nullptr;
    return FlatVisibleList[size_t(index)];
}

void TGridGroupDataTreeGx::EndUpdate()
{
    if (FUpateCount > 0)
        --FUpateCount;
}

void TGridGroupDataTreeGx::ExpandedChanged(TBaseTreeNodeGx* node)
{
    TTreeListGx::ExpandedChanged(node);
    if (FUpateCount == 0)
        RebuildFlatVisibleList();
}

std::vector<TGroupDataTreeNodeGx*> TGridGroupDataTreeGx::AllNodes() const
{
    std::vector<TGroupDataTreeNodeGx*> nodes;
    for (TBaseTreeNodeGx* n = GetFirst(); n; n = GetNext(n))
        nodes.push_back(static_cast<TGroupDataTreeNodeGx*>(n));
    return nodes;
}

TGroupDataTreeNodeGx* TGridGroupDataTreeGx::NewGroupNode(TGroupDataTreeNodeGx* destination, TNodeAttachModeGx mode,
                                                         TGridDataGroupLevelGx* level, const Variant& key)
{
    auto* node = static_cast<TGroupDataTreeNodeGx*>(CreateNodeApart(QString(), nullptr));
    node->FDataGroup = level;
    node->FGroupDataTreeNodeType = dntDataGroupGx;
    node->FKeyValue = key;
    ++FUpateCount;   // a new node's state is no expansion change to show
    node->SetExpanded(FGridDataGroups->DefaultStateExpanded());
    --FUpateCount;
    node->RowDataChanged();
    AddNode(node, destination, mode, true);
    return node;
}

TGroupDataTreeNodeGx* TGridGroupDataTreeGx::GetNodeToInsertForKey1(TGroupDataTreeNodeGx* parent, const Variant& Key,
                                                                   TNodeAttachModeGx& Mode,
                                                                   TSortOrderGx SortOrder) const
{
    const int count = parent->Count();
    if (count == 0) {
        Mode = naAddChildGx;
        return nullptr;
    }
    TGroupDataTreeNodeGx* first = parent->Child(0);
    if (SortsRelative(first->KeyValue(), Key, SortOrder) > 0) {
        Mode = naInsertGx;
        return first;
    }
    TGroupDataTreeNodeGx* last = parent->Child(count - 1);
    if (SortsRelative(last->KeyValue(), Key, SortOrder) < 0) {
        Mode = naAddGx;
        return last;
    }
    int low = 0;
    int high = count - 1;
    int probe = (high - low) / 2;
    int previous = -1;
    while (true) {
        TGroupDataTreeNodeGx* child = parent->Child(probe);
        const int rel = SortsRelative(child->KeyValue(), Key, SortOrder);
        if (rel > 0)
            high = probe;
        else if (rel < 0)
            low = probe;
        else {
            Mode = naAddChildGx;   // equal, or no order between them
            return child;
        }
        previous = probe;
        probe = (high + low) / 2;
        if (probe == previous) {
            TGroupDataTreeNodeGx* next = parent->Child(std::min(probe + 1, count - 1));
            if (SortsRelative(next->KeyValue(), Key, SortOrder) == 0) {
                Mode = naAddChildGx;
                return next;
            }
            Mode = naInsertGx;
            return next;
        }
    }
}

TGroupDataTreeNodeGx* TGridGroupDataTreeGx::AddRecordNodeForKey(const Variant& key, int viewNo)
{
    TGroupDataTreeNodeGx* parent = RootNode();
    const int levels = FGridDataGroups->ActiveGroupLevelsCount();
    for (int i = 0; i < levels; ++i) {
        TGridDataGroupLevelGx* level = FGridDataGroups->ActiveGroupLevel(i);
        const Variant& k = key.ArrayItem(key.ArrayLowBound() + i);
        TNodeAttachModeGx mode = naAddChildGx;
        TGroupDataTreeNodeGx* place = GetNodeToInsertForKey1(parent, k, mode, level->SortOrder());
        if (place && mode == naAddChildGx) {
            parent = place;
            continue;
        }
        // A new group here, and a new chain of groups below it.
        parent = place ? NewGroupNode(place, mode, level, k) : NewGroupNode(parent, naAddChildGx, level, k);
        for (int j = i + 1; j < levels; ++j)
            parent = NewGroupNode(parent, naAddChildGx, FGridDataGroups->ActiveGroupLevel(j),
                                  key.ArrayItem(key.ArrayLowBound() + j));
        break;
    }
    // The record among the deepest parent's records, in ascending view order.
    auto* node = static_cast<TGroupDataTreeNodeGx*>(CreateNodeApart(QString(), nullptr));
    node->FDataGroup = nullptr;
    node->FGroupDataTreeNodeType = dntDataSetRecordGx;
    node->FDataSetRecordViewNo = viewNo;
    node->FKeyValue = viewNo;
    node->FFullKey = key;
    node->RowDataChanged();
    TNodeAttachModeGx mode = naAddChildGx;
    TGroupDataTreeNodeGx* place = GetNodeToInsertForKey1(parent, Variant(viewNo), mode, soAscGx);
    if (!place)
        AddNode(node, parent, naAddChildGx, true);
    else if (mode == naAddChildGx)
        AddNode(node, place, naInsertGx, true);   // before the equal one
    else
        AddNode(node, place, mode, true);
    return node;
}

void TGridGroupDataTreeGx::FillRecordNodes(IMemTableGx* memTable)
{
    const int count = memTable->GetRecordViewsCount();
    for (int v = 0; v < count; ++v) {
        ViewRead read(memTable, v);
        AddRecordNodeForKey(FGridDataGroups->GetKeyValueForViewRecNo(v), v);
    }
}

void TGridGroupDataTreeGx::RebuildDataTreeEx(IMemTableGx* memTable)
{
    FlatVisibleList.clear();
    BeginUpdate();
    try {
        // Record nodes go; group nodes that still fit their depth stay with their state.
        for (TGroupDataTreeNodeGx* n : AllNodes())
            if (n->NodeType() == dntDataSetRecordGx)
                DeleteNode(n, true);
        bool deleted = true;
        while (deleted) {
            deleted = false;
            for (TGroupDataTreeNodeGx* n : AllNodes()) {
                if (n->Count() > 0)
                    continue;
                const int depth = n->Level() - 1;
                if (depth >= FGridDataGroups->ActiveGroupLevelsCount() ||
                    FGridDataGroups->ActiveGroupLevel(depth) != n->DataGroup()) {
                    DeleteNode(n, true);
                    deleted = true;
                    break;
                }
            }
        }
        if (memTable)
            FillRecordNodes(memTable);
        // Groups left without records go.
        TBaseTreeNodeGx* n = GetFirst();
        while (n) {
            auto* g = static_cast<TGroupDataTreeNodeGx*>(n);
            if (g->NodeType() == dntDataGroupGx && g->Count() == 0) {
                TBaseTreeNodeGx* back = GetPrevious(g);
                DeleteNode(g, true);
                n = back && back != Root() ? back : GetFirst();
                continue;
            }
            n = GetNext(n);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    RebuildFlatVisibleList();
    UpdateAllDataRowHeights();
}

void TGridGroupDataTreeGx::RebuildDataTree(IMemTableGx* memTable)
{
    FlatVisibleList.clear();
    BeginUpdate();
    try {
        Clear();
        if (memTable)
            FillRecordNodes(memTable);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    RebuildFlatVisibleList();
    UpdateAllDataRowHeights();
}

void TGridGroupDataTreeGx::RenumberRecordNodes(int fromViewNo, int delta)
{
    for (TGroupDataTreeNodeGx* n : AllNodes())
        if (n->NodeType() == dntDataSetRecordGx && n->DataSetRecordViewNo() >= fromViewNo)
            n->SetViewNo(n->DataSetRecordViewNo() + delta);
}

void TGridGroupDataTreeGx::RecordInserted(int RecNum)
{
    RenumberRecordNodes(RecNum, 1);
    IMemTableGx* table = FGridDataGroups->MemTable();
    // A record the user inserts under a group row takes that group's key.
    const bool atCurrent =
        FGridDataGroups->DataSetInserting() && table && table->GetInstantReadCurRecordView() == RecNum;
    Variant inserting;
    if (atCurrent) {
        inserting = FGridDataGroups->InsertingKeyValue();
        FGridDataGroups->SetDataSetkeyValue(inserting);
        FGridDataGroups->SetInsertingKeyValue(Variant());
    }
    TGroupDataTreeNodeGx* node = nullptr;
    {
        ViewRead read(table, RecNum);
        Variant key = FGridDataGroups->GetKeyValueForViewRecNo(RecNum);
        if (atCurrent && inserting.IsArray() && inserting.ArrayCount() == key.ArrayCount()) {
            key = inserting;
            key.SetArrayItem(key.ArrayHighBound(), RecNum);
        }
        node = AddRecordNodeForKey(key, RecNum);
    }
    if (atCurrent) {
        BeginUpdate();
        ExpandNodePathToView(node);
        EndUpdate();
    }
    RebuildFlatVisibleList();
}

void TGridGroupDataTreeGx::DeleteWithEmptyAncestors(TGroupDataTreeNodeGx* node)
{
    int steps = FGridDataGroups->ActiveGroupLevelsCount();
    TGroupDataTreeNodeGx* parent = node->ParentNode();
    FlatVisibleList.clear();   // rebuilt by the caller
    DeleteNode(node, true);
    while (steps-- > 0 && parent && parent != RootNode() && parent->Count() == 0) {
        TGroupDataTreeNodeGx* up = parent->ParentNode();
        DeleteNode(parent, true);
        parent = up;
    }
}

void TGridGroupDataTreeGx::UpdateRecordNodePosInTree(TGroupDataTreeNodeGx* node, const Variant& key)
{
    const int viewNo = node->DataSetRecordViewNo();
    const bool expand = IndexOfVisibleNode(node) >= 0;
    DeleteWithEmptyAncestors(node);
    ViewRead read(FGridDataGroups->MemTable(), viewNo);
    TGroupDataTreeNodeGx* moved = AddRecordNodeForKey(key, viewNo);
    if (expand) {
        BeginUpdate();
        ExpandNodePathToView(moved);
        EndUpdate();
    }
}

void TGridGroupDataTreeGx::RecordChanged(int RecNum)
{
    TGroupDataTreeNodeGx* node = GetNodeByRecordViewNo(RecNum);
    if (!node)
        return;
    const Variant key = FGridDataGroups->GetKeyValueForViewRecNo(RecNum);
    if (CompareVariants(node->FullKey(), key) != vrEqual) {
        node->FFullKey = key;
        UpdateRecordNodePosInTree(node, key);
        RebuildFlatVisibleList();
    } else if (IndexOfVisibleNode(node) >= 0) {
        node->RowDataChanged();
        FGridDataGroups->RecordRowChanged(node);
    }
}

void TGridGroupDataTreeGx::RecordDeleted(int RecNum)
{
    if (TGroupDataTreeNodeGx* node = GetNodeByRecordViewNo(RecNum))
        DeleteWithEmptyAncestors(node);
    RenumberRecordNodes(RecNum + 1, -1);
    RebuildFlatVisibleList();
}

TGroupDataTreeNodeGx* TGridGroupDataTreeGx::GetNodeByRecordViewNo(int ViewNo) const
{
    for (TBaseTreeNodeGx* n = GetFirst(); n; n = GetNext(n)) {
        auto* g = static_cast<TGroupDataTreeNodeGx*>(n);
        if (g->NodeType() == dntDataSetRecordGx && g->DataSetRecordViewNo() == ViewNo)
            return g;
    }
    return nullptr;
}

int TGridGroupDataTreeGx::IndexOfVisibleNode(const TGroupDataTreeNodeGx* node) const
{
    auto it = std::find(FlatVisibleList.begin(), FlatVisibleList.end(), node);
    return it == FlatVisibleList.end() ? -1 : int(it - FlatVisibleList.begin());
}

int TGridGroupDataTreeGx::IndexOfVisibleRecordViewNo(int ViewNo) const
{
    for (size_t i = 0; i < FlatVisibleList.size(); ++i) {
        const TGroupDataTreeNodeGx* n = FlatVisibleList[i];
        if (n->NodeType() == dntDataSetRecordGx && n->DataSetRecordViewNo() == ViewNo)
            return int(i);
    }
    return -1;
}

void TGridGroupDataTreeGx::ExpandNodePathToView(TGroupDataTreeNodeGx* node)
{
    for (TGroupDataTreeNodeGx* p = node ? node->ParentNode() : nullptr; p && p != RootNode(); p = p->ParentNode())
        p->SetExpanded(true);
}

void TGridGroupDataTreeGx::ResortLevel(int LevelIndex, TSortOrderGx SortOrder)
{
    const auto compare = [](TBaseTreeNodeGx* a, TBaseTreeNodeGx* b, const QVariant& order) {
        return CompareNodes(static_cast<TGroupDataTreeNodeGx*>(a), static_cast<TGroupDataTreeNodeGx*>(b),
                            TSortOrderGx(order.toInt()));
    };
    if (LevelIndex == 0) {
        Root()->SortChildren(compare, QVariant(int(SortOrder)), false);
    } else {
        for (TGroupDataTreeNodeGx* n = GetFirstNodeAtLevel(LevelIndex); n; n = GetNextNodeAtLevel(n))
            n->SortChildren(compare, QVariant(int(SortOrder)), false);
    }
    RebuildFlatVisibleList();
}

int TGridGroupDataTreeGx::CompareNodes(TGroupDataTreeNodeGx* Node1, TGroupDataTreeNodeGx* Node2,
                                       TSortOrderGx SortOrder)
{
    if (Node1->NodeType() != dntDataGroupGx)
        return 0;
    int r = 0;
    switch (CompareVariants(Node1->KeyValue(), Node2->KeyValue())) {
    case vrLessThan: r = -1; break;
    case vrGreaterThan: r = 1; break;
    default: r = 0; break;
    }
    return SortOrder == soDescGx ? -r : r;
}

void TGridGroupDataTreeGx::UpdateAllDataRowHeights()
{
    for (TGroupDataTreeNodeGx* n : AllNodes()) {
        n->RowDataChanged();
        n->RowHeight();
    }
}

TGroupDataTreeNodeGx* TGridGroupDataTreeGx::GetFirstNodeAtLevel(int Level) const
{
    for (TBaseTreeNodeGx* n = GetFirst(); n; n = GetNext(n))
        if (n->Level() == Level)
            return static_cast<TGroupDataTreeNodeGx*>(n);
    return nullptr;
}

TGroupDataTreeNodeGx* TGridGroupDataTreeGx::GetNextNodeAtLevel(TGroupDataTreeNodeGx* node) const
{
    if (!node)
        return nullptr;
    for (TBaseTreeNodeGx* n = GetNext(node); n; n = GetNext(n))
        if (n->Level() == node->Level())
            return static_cast<TGroupDataTreeNodeGx*>(n);
    return nullptr;
}

void TGridGroupDataTreeGx::DeleteRecordNodesUpToLevel(int Level)
{
    FlatVisibleList.clear();
    if (Level <= 1) {
        Clear();
        return;
    }
    std::vector<TGroupDataTreeNodeGx*> atLevel;
    for (TGroupDataTreeNodeGx* n = GetFirstNodeAtLevel(Level); n; n = GetNextNodeAtLevel(n))
        if (n->NodeType() == dntDataGroupGx)
            atLevel.push_back(n);
    for (TGroupDataTreeNodeGx* n : atLevel)
        DeleteNode(n, true);
}

bool TGridGroupDataTreeGx::Contains(const TGroupDataTreeNodeGx* node) const
{
    for (TBaseTreeNodeGx* n = GetFirst(); n; n = GetNext(n))
        if (n == node)
            return true;
    return false;
}

void TGridGroupDataTreeGx::RebuildFlatVisibleList()
{
    FlatVisibleList.clear();
    std::function<void(TGroupDataTreeNodeGx*)> walk = [&](TGroupDataTreeNodeGx* parent) {
        for (int i = 0; i < parent->Count(); ++i) {
            TGroupDataTreeNodeGx* child = parent->Child(i);
            FlatVisibleList.push_back(child);
            if (child->Expanded())
                walk(child);
        }
    };
    walk(RootNode());
    FGridDataGroups->TreeChanged();
}
