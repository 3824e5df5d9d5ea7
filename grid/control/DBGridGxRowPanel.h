#pragma once
// Row-panel mode of the data grid: a record is one cell (a panel) in which every
// column has a place given by a line position and a line count.
class TCustomDBGridGx;

enum TGridRowPanelNavKeysNavigationTypeGx { rpntRowToRowGx, rpntCellToCellGx };
enum TGridRowPanelTabNavigationTypeGx { rpntUpToDownPriorityGx, rpntLeftToRightPriorityGx };

// The grid's RowPanel settings.
class TGridRowPanelGx {
public:
    explicit TGridRowPanelGx(TCustomDBGridGx* grid) : FGrid(grid) {}
    TCustomDBGridGx* Grid() const { return FGrid; }
    bool Active() const { return FActive; }
    // Switching on makes the grid column next to the indicator current.
    void SetActive(bool value);
    TGridRowPanelNavKeysNavigationTypeGx NavKeysNavigationType() const { return FNavKeysNavigationType; }
    void SetNavKeysNavigationType(TGridRowPanelNavKeysNavigationTypeGx value) { FNavKeysNavigationType = value; }
    TGridRowPanelTabNavigationTypeGx TabNavigationType() const { return FTabNavigationType; }
    void SetTabNavigationType(TGridRowPanelTabNavigationTypeGx value) { FTabNavigationType = value; }
    // Copies Active.
    void Assign(const TGridRowPanelGx& source);

private:
    TCustomDBGridGx* FGrid;
    bool FActive = false;
    TGridRowPanelNavKeysNavigationTypeGx FNavKeysNavigationType = rpntRowToRowGx;
    TGridRowPanelTabNavigationTypeGx FTabNavigationType = rpntUpToDownPriorityGx;
};
