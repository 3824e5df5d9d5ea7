#pragma once
// Data grouping: the grouping settings of a grid (levels, each on one column),
// and the tree of group rows they build over the records of a memory table.
// The root holds the group nodes of the first active level, each group node
// the group nodes of the next level, and the deepest group nodes the record
// nodes (a record node names its record by its view number). The flat list of
// visible nodes is what the grid shows as its rows.
//
// The settings reach their grid only through the virtual operations at the end
// of TGridDataGroupsGx (memory table, row heights, tree-changed notice); the
// grid's own settings class answers them.
#include "grid/support/MemTreeGx.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Variant.h"
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class IMemTableGx;
class TColumnGx;
class TGridDataGroupsGx;
class TGridDataGroupLevelGx;
class TGridDataGroupLevelsGx;
class TGridGroupDataTreeGx;

enum TSortOrderGx { soAscGx = 0, soDescGx = 1 };
enum TGroupDataTreeNodeTypeGx { dntDataSetRecordGx = 0, dntDataGroupGx = 1 };

// ---------------------------------------------------------------- tree node

class TGroupDataTreeNodeGx : public TBaseTreeNodeGx {
public:
    TGridDataGroupLevelGx* DataGroup() const { return FDataGroup; }
    int DataSetRecordViewNo() const { return FDataSetRecordViewNo; }
    const Variant& FullKey() const { return FFullKey; }
    TGroupDataTreeNodeTypeGx NodeType() const { return FGroupDataTreeNodeType; }
    const Variant& KeyValue() const { return FKeyValue; }
    TGroupDataTreeNodeGx* ParentNode() const { return static_cast<TGroupDataTreeNodeGx*>(Parent()); }
    TGroupDataTreeNodeGx* Child(int index) const { return static_cast<TGroupDataTreeNodeGx*>(Items(index)); }
    // The row height; a node marked for update recomputes it first.
    int RowHeight();
    // Marks the node's row height for recomputation.
    void RowDataChanged() { FRowHeightNeedUpdate = true; }
    bool FRowHeightNeedUpdate = false;

private:
    friend class TGridGroupDataTreeGx;
    void SetViewNo(int viewNo);
    TGridDataGroupLevelGx* FDataGroup = nullptr;
    int FDataSetRecordViewNo = -1;
    Variant FFullKey;
    TGroupDataTreeNodeTypeGx FGroupDataTreeNodeType = dntDataSetRecordGx;
    Variant FKeyValue;
    int FRowHeight = 0;
};

// ---------------------------------------------------------------- group levels

class TGridDataGroupLevelGx {
public:
    explicit TGridDataGroupLevelGx(TGridDataGroupLevelsGx* collection);
    virtual ~TGridDataGroupLevelGx();
    TGridDataGroupLevelGx(const TGridDataGroupLevelGx&) = delete;
    TGridDataGroupLevelGx& operator=(const TGridDataGroupLevelGx&) = delete;

    TGridDataGroupLevelsGx* Collection() const { return FCollection; }
    TGridDataGroupsGx* DataGroups() const;
    int Index() const;
    void SetIndex(int value);
    // Copies the published settings of another level.
    virtual void Assign(const TGridDataGroupLevelGx& source);

    TColumnGx* Column() const { return FColumn; }
    void SetColumn(TColumnGx* value);
    TColor Color() const;
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    // The level's font (the settings' font while ParentFont is on).
    TFont* Font();
    void SetFont(const TFont& value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    int RowHeight() const { return FRowHeight; }
    void SetRowHeight(int value);
    int RowLines() const { return FRowLines; }
    void SetRowLines(int value);
    TSortOrderGx SortOrder() const { return FSortOrder; }
    void SetSortOrder(TSortOrderGx value);
    // Where the grid drew the level's box in the grouping panel.
    TRect GroupPanelRect;
    // Every node at this level's tree level collapses (CollapseNodes) or expands (ExtractNodes).
    void CollapseNodes();
    void ExtractNodes();
    // The settings' font changed: a level with the parent font follows.
    void RefreshFont();

    std::function<void(TGridDataGroupLevelGx* Sender)> OnGetKeyValue;
    std::function<void(TGridDataGroupLevelGx* Sender)> OnGetTitleText;

    // Virtual operations.
    virtual void LevelLookChanged();
    virtual QString GetGroupRowText(TGroupDataTreeNodeGx* GroupDataTreeNode);
    // The level's key of the dataset's current record (Unassigned when it has none).
    virtual void GetKeyValue(Variant& KeyValue);
    // The collection-item notice: the level changed.
    virtual void Changed();

protected:
    void SetCollection(TGridDataGroupLevelsGx* value) { FCollection = value; }

private:
    friend class TGridDataGroupLevelsGx;
    void SetNodesExpanded(bool value);
    TGridDataGroupLevelsGx* FCollection;
    TColor FColor = clWindow;
    bool FParentColor = true;
    TColumnGx* FColumn = nullptr;
    TFont FFont;
    bool FParentFont = true;
    bool FSelfChangingFont = false;
    int FRowHeight = 0;
    int FRowLines = 0;
    TSortOrderGx FSortOrder = soAscGx;
};

using TGridDataGroupLevelClassGx = std::function<TGridDataGroupLevelGx*(TGridDataGroupLevelsGx*)>;

class TGridDataGroupLevelsGx {
public:
    TGridDataGroupLevelsGx(TGridDataGroupsGx* dataGroups, TGridDataGroupLevelClassGx itemClass);
    virtual ~TGridDataGroupLevelsGx();
    TGridDataGroupLevelsGx(const TGridDataGroupLevelsGx&) = delete;
    TGridDataGroupLevelsGx& operator=(const TGridDataGroupLevelsGx&) = delete;

    TGridDataGroupsGx* DataGroups() const { return FDataGroups; }
    QWidget* Grid() const;
    int Count() const { return int(FItems.size()); }
    TGridDataGroupLevelGx* Items(int index) const;
    TGridDataGroupLevelGx* Add();
    // Removes and frees a level.
    void Delete(int index);
    void Clear();
    int IndexOf(const TGridDataGroupLevelGx* level) const;
    void Move(int from, int to);
    // Copies the levels of another collection (same number, settings copied).
    void Assign(const TGridDataGroupLevelsGx& source);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // Any change of the collection or of a level.
    virtual void Update(TGridDataGroupLevelGx* item);
    virtual void SortOrderChanged(TGridDataGroupLevelGx* level);

private:
    TGridDataGroupsGx* FDataGroups;
    TGridDataGroupLevelClassGx FItemClass;
    std::vector<std::unique_ptr<TGridDataGroupLevelGx>> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};

// ---------------------------------------------------------------- the group tree

class TGridGroupDataTreeGx : public TTreeListGx {
public:
    explicit TGridGroupDataTreeGx(TGridDataGroupsGx* gridDataGroups);
    ~TGridGroupDataTreeGx() override;

    TGridDataGroupsGx* GridDataGroups() const { return FGridDataGroups; }
    TGroupDataTreeNodeGx* RootNode() const { return static_cast<TGroupDataTreeNodeGx*>(Root()); }
    int FlatVisibleCount() const { return int(FlatVisibleList.size()); }
    TGroupDataTreeNodeGx* FlatVisibleNode(int index) const;
    int UpdateCount() const { return FUpateCount; }
    void BeginUpdate() { ++FUpateCount; }
    void EndUpdate();

    void RebuildDataTreeEx(IMemTableGx* memTable);
    void RebuildDataTree(IMemTableGx* memTable);
    void RecordInserted(int RecNum);
    void RecordChanged(int RecNum);
    void RecordDeleted(int RecNum);
    TGroupDataTreeNodeGx* GetNodeByRecordViewNo(int ViewNo) const;
    int IndexOfVisibleNode(const TGroupDataTreeNodeGx* node) const;
    int IndexOfVisibleRecordViewNo(int ViewNo) const;
    void ExpandNodePathToView(TGroupDataTreeNodeGx* node);
    void ResortLevel(int LevelIndex, TSortOrderGx SortOrder);
    void UpdateAllDataRowHeights();
    TGroupDataTreeNodeGx* GetFirstNodeAtLevel(int Level) const;
    TGroupDataTreeNodeGx* GetNextNodeAtLevel(TGroupDataTreeNodeGx* node) const;
    void DeleteRecordNodesUpToLevel(int Level);
    static int CompareNodes(TGroupDataTreeNodeGx* Node1, TGroupDataTreeNodeGx* Node2, TSortOrderGx SortOrder);
    bool Contains(const TGroupDataTreeNodeGx* node) const;
    // The flat list of visible nodes, then the grid's tree-changed notice.
    void RebuildFlatVisibleList();

    void ExpandedChanged(TBaseTreeNodeGx* node) override;

private:
    TGroupDataTreeNodeGx* NewGroupNode(TGroupDataTreeNodeGx* destination, TNodeAttachModeGx mode,
                                       TGridDataGroupLevelGx* level, const Variant& key);
    TGroupDataTreeNodeGx* AddRecordNodeForKey(const Variant& key, int viewNo);
    TGroupDataTreeNodeGx* GetNodeToInsertForKey1(TGroupDataTreeNodeGx* parent, const Variant& Key,
                                                 TNodeAttachModeGx& Mode, TSortOrderGx SortOrder) const;
    void DeleteWithEmptyAncestors(TGroupDataTreeNodeGx* node);
    void UpdateRecordNodePosInTree(TGroupDataTreeNodeGx* node, const Variant& key);
    void RenumberRecordNodes(int fromViewNo, int delta);
    void FillRecordNodes(IMemTableGx* memTable);
    std::vector<TGroupDataTreeNodeGx*> AllNodes() const;

    TGridDataGroupsGx* FGridDataGroups;
    std::vector<TGroupDataTreeNodeGx*> FlatVisibleList;
    int FUpateCount = 0;
};

// ---------------------------------------------------------------- grouping settings

class TGridDataGroupsGx {
public:
    explicit TGridDataGroupsGx(QWidget* AGrid);
    virtual ~TGridDataGroupsGx();
    TGridDataGroupsGx(const TGridDataGroupsGx&) = delete;
    TGridDataGroupsGx& operator=(const TGridDataGroupsGx&) = delete;
    // Builds the levels and the tree; the constructor of the most derived class calls it.
    void Init();

    QWidget* GridWidget() const { return FGrid; }
    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool GroupPanelVisible() const { return FGroupPanelVisible; }
    void SetGroupPanelVisible(bool value);
    bool DefaultStateExpanded() const { return FDefaultStateExpanded; }
    void SetDefaultStateExpanded(bool value) { FDefaultStateExpanded = value; }
    TGridDataGroupLevelsGx* GroupLevels() const { return FGroupLevels.get(); }
    void SetGroupLevels(const TGridDataGroupLevelsGx& value) { FGroupLevels->Assign(value); }
    TGridGroupDataTreeGx* GroupDataTree() const { return FGroupDataTree.get(); }
    TColor Color() const;
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont* Font();
    void SetFont(const TFont& value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    void Assign(const TGridDataGroupsGx& source);

    int ActiveGroupLevelsCount() const { return int(FActiveGroupLevels.size()); }
    TGridDataGroupLevelGx* ActiveGroupLevel(int index) const;
    TColumnGx* ActiveGroupColumn(int index) const;
    int IndexOfActiveLevel(const TGridDataGroupLevelGx* level) const;
    // The active levels' keys of a view record, and its view number last.
    Variant GetKeyValueForViewRecNo(int ViewRecNo);
    void SetInsertingKeyValue(const Variant& KeyValue) { FInsertingKeyValue = KeyValue; }
    const Variant& InsertingKeyValue() const { return FInsertingKeyValue; }
    // Writes the inserting key into the new record's grouping fields.
    void SetDataSetkeyValue(const Variant& KeyValue);
    // The collection's change: rebuilds what the new active structure needs.
    void GroupLevelsChanged();

    // Virtual operations.
    virtual std::unique_ptr<TGridDataGroupLevelsGx> CreateGroupLevels();
    virtual void GroupingActiveChanged();
    virtual void ActiveGroupingStructChanged();
    virtual void RepaintGrid();
    virtual void RebuildActiveGroupLevels();
    virtual void ResortActiveLevel(int LevelIndex, TSortOrderGx SortOrder);
    virtual bool IsGroupingWorks() const;

    // What the grid answers the grouping.
    virtual IMemTableGx* MemTable() const { return nullptr; }
    virtual int GroupRowHeight(TGroupDataTreeNodeGx* node);
    virtual int RecordRowHeight(TGroupDataTreeNodeGx* node);
    // Notices for a grid showing the tree; without a grid nothing is shown.
    virtual void TreeChanged() {}
    virtual void RecordRowChanged(TGroupDataTreeNodeGx*) {}
    // Whether the dataset is inserting a record (the inserting key applies).
    virtual bool DataSetInserting() const { return false; }
    // Without a grid there is no panel to lay out.
    virtual void GroupPanelVisibleChanged() {}
    virtual TColor GridColor() const { return clWindow; }
    virtual const TFont* GridFont() const { return nullptr; }

protected:
    TFont FFont;
    bool FSelfChangingFont = false;

private:
    bool FActive = false;
    std::vector<TGridDataGroupLevelGx*> FActiveGroupLevels;
    std::vector<TColumnGx*> FActiveGroupColumns;
    TColor FColor = clWindow;
    bool FParentColor = true;
    QWidget* FGrid;
    std::unique_ptr<TGridGroupDataTreeGx> FGroupDataTree;
    std::unique_ptr<TGridDataGroupLevelsGx> FGroupLevels;
    bool FGroupPanelVisible = false;
    Variant FInsertingKeyValue;
    bool FDefaultStateExpanded = false;
    bool FParentFont = true;
};
