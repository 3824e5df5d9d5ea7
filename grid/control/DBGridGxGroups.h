#pragma once
// The data grid's grouping settings (its DataGrouping) and their levels: a level
// finds its column by name, keys and texts pass the column's and the level's
// events, and every change of the grouping reaches the grid.
#include "DBGridGxGrouping.h"
#include <functional>

class TCustomDBGridGx;
class TDBGridGxDataGroupLevelGx;

using TDBGridGxDataGroupGetKeyValueEvent =
    std::function<void(TCustomDBGridGx* Sender, TDBGridGxDataGroupLevelGx* GroupLevel, Variant& KeyValue)>;
using TDBGridGxDataGroupGetKeyValueAsTextEvent = std::function<void(
    TCustomDBGridGx* Sender, TGroupDataTreeNodeGx* GroupDataTreeNode, const Variant& KeyValue, QString& KeyValueAsText)>;
using TDBGridGxDataGroupLevelGetGroupRowTextEvent =
    std::function<void(TCustomDBGridGx* Sender, TGroupDataTreeNodeGx* GroupDataTreeNode, QString& GroupRowText)>;

class TDBGridGxDataGroupLevelGx : public TGridDataGroupLevelGx {
public:
    explicit TDBGridGxDataGroupLevelGx(TGridDataGroupLevelsGx* collection) : TGridDataGroupLevelGx(collection) {}
    TCustomDBGridGx* Grid() const;
    QString ColumnName() const;
    // Outside loading: the grid's column of that name (none when no column has it);
    // while loading, or when the columns do not exist yet, the name is kept for later.
    void SetColumnName(const QString& value);
    const QString& LoadingColumnName() const { return FLoadingColumnName; }
    void ResolveColumnName();
    QString GetKeyValueAsText(TGroupDataTreeNodeGx* GroupDataTreeNode);

    void Assign(const TGridDataGroupLevelGx& source) override;
    void Changed() override;
    QString GetGroupRowText(TGroupDataTreeNodeGx* GroupDataTreeNode) override;
    void GetKeyValue(Variant& KeyValue) override;

    TDBGridGxDataGroupGetKeyValueEvent OnGetKeyValue;
    TDBGridGxDataGroupGetKeyValueAsTextEvent OnGetKeyValueAsText;
    TDBGridGxDataGroupLevelGetGroupRowTextEvent OnGetGroupRowText;

private:
    QString FLoadingColumnName;
};

class TDBGridGxDataGroupsGx : public TGridDataGroupsGx {
public:
    explicit TDBGridGxDataGroupsGx(TCustomDBGridGx* AGrid);
    TCustomDBGridGx* Grid() const { return FDBGrid; }
    TDBGridGxDataGroupLevelGx* Level(int index) const;
    TDBGridGxDataGroupLevelGx* ActiveLevel(int index) const;
    // After the grid was loaded: every level takes its column from the remembered name.
    void ResolveColumnNames();

    int FHotTrackEditButton = -1;
    int FHotTrackGroupLevelIdx = -1;

    std::unique_ptr<TGridDataGroupLevelsGx> CreateGroupLevels() override;
    void GroupingActiveChanged() override;
    void ActiveGroupingStructChanged() override;
    void RepaintGrid() override;
    void RebuildActiveGroupLevels() override;
    void ResortActiveLevel(int LevelIndex, TSortOrderGx SortOrder) override;
    bool IsGroupingWorks() const override;

    IMemTableGx* MemTable() const override;
    int GroupRowHeight(TGroupDataTreeNodeGx* node) override;
    int RecordRowHeight(TGroupDataTreeNodeGx* node) override;
    void TreeChanged() override;
    void RecordRowChanged(TGroupDataTreeNodeGx* node) override;
    bool DataSetInserting() const override;
    void GroupPanelVisibleChanged() override;
    TColor GridColor() const override;
    const TFont* GridFont() const override;

private:
    TCustomDBGridGx* FDBGrid;
};
