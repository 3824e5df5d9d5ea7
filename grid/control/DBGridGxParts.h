#pragma once
// Settings objects every data grid creates whose modes no form of this program
// switches on: the filter row, the row panel, the row-detail panel with its host
// control, and data grouping. They exist with their defaults so that the grid
// can ask them.
#include "DBGridGxFilter.h"
#include "DBGridGxTypes.h"
#include <QWidget>

class TCustomDBGridGx;

// ---------------------------------------------------------------- row panel

enum TRowPanelNavigationTypeGx { rpntRowToRowGx, rpntCellToCellGx, rpntUpDownScrollGx };

class TGridRowPanelGx {
public:
    explicit TGridRowPanelGx(TCustomDBGridGx* grid) : FGrid(grid) {}
    TCustomDBGridGx* Grid() const { return FGrid; }
    bool Active() const { return FActive; }
    void SetActive(bool value);
    TRowPanelNavigationTypeGx NavKeysNavigationType() const { return FNavKeysNavigationType; }
    void SetNavKeysNavigationType(TRowPanelNavigationTypeGx value) { FNavKeysNavigationType = value; }
    TRowPanelNavigationTypeGx TabNavigationType() const { return FTabNavigationType; }
    void SetTabNavigationType(TRowPanelNavigationTypeGx value) { FTabNavigationType = value; }
    void Assign(const TGridRowPanelGx& source);

private:
    TCustomDBGridGx* FGrid;
    bool FActive = false;
    TRowPanelNavigationTypeGx FNavKeysNavigationType = rpntRowToRowGx;
    TRowPanelNavigationTypeGx FTabNavigationType = rpntCellToCellGx;
};

// ---------------------------------------------------------------- row-detail panel

class TRowDetailPanelGx {
public:
    explicit TRowDetailPanelGx(TCustomDBGridGx* grid) : FGrid(grid) {}
    TCustomDBGridGx* Grid() const { return FGrid; }
    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
    int Height() const { return FHeight; }
    void SetHeight(int value) { FHeight = value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value) { FParentColor = value; }
    QWidget* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(QWidget* value) { FActiveControl = value; }
    void Assign(const TRowDetailPanelGx& source);

private:
    TCustomDBGridGx* FGrid;
    bool FActive = false;
    bool FVisible = false;
    int FWidth = 0;
    int FHeight = 120;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    QWidget* FActiveControl = nullptr;
};

// The child control of the grid that hosts a record's detail controls.
class TRowDetailPanelControlGx : public QWidget {
public:
    explicit TRowDetailPanelControlGx(QWidget* parent) : QWidget(parent) {}
};

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
