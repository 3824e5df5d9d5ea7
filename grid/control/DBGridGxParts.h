#pragma once
// Settings objects every data grid creates whose modes no form of this program
// switches on: the filter row, the row panel, the row-detail panel with its host
// control, and data grouping. They exist with their defaults so that the grid
// can ask them.
#include "DBGridGxFilter.h"
#include "DBGridGxRowDetail.h"
#include "DBGridGxRowPanel.h"
#include "DBGridGxTypes.h"
#include <QWidget>

class TCustomDBGridGx;

// ---------------------------------------------------------------- data grouping

class TDBGridGxDataGroupsGx {
public:
    explicit TDBGridGxDataGroupsGx(TCustomDBGridGx* grid) : FGrid(grid) {}
    TCustomDBGridGx* Grid() const { return FGrid; }
    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool GroupPanelVisible() const { return FGroupPanelVisible; }
    void SetGroupPanelVisible(bool value);
    // Number of group levels in use.
    int ActiveGroupLevelsCount() const { return 0; }
    // Grouping works only on a dataset with the memory-table services.
    bool IsGroupingWorks() const;
    void Assign(const TDBGridGxDataGroupsGx& source);

private:
    TCustomDBGridGx* FGrid;
    bool FActive = false;
    bool FGroupPanelVisible = false;
};
