#pragma once
// The settings of the indicator column's title cell: a drop-down sign, a button
// look and the menu it opens (the grids' shared menu or its own).
#include "DBGridGxTypes.h"

class QMenu;
class TCustomDBGridGx;

class TDBGridGxIndicatorTitle {
public:
    explicit TDBGridGxIndicatorTitle(TCustomDBGridGx* grid) : FGrid(grid) {}
    TCustomDBGridGx* Grid() const { return FGrid; }
    // Set while the indicator title is pressed.
    bool Down() const { return FDown; }
    void SetDown(bool value) { FDown = value; }
    QMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(QMenu* value) { FDropdownMenu = value; }
    bool ShowDropDownSign() const { return FShowDropDownSign; }
    void SetShowDropDownSign(bool value);
    bool TitleButton() const { return FTitleButton; }
    void SetTitleButton(bool value);
    bool UseGlobalMenu() const { return FUseGlobalMenu; }
    void SetUseGlobalMenu(bool value) { FUseGlobalMenu = value; }
    void Assign(const TDBGridGxIndicatorTitle& source);

private:
    TCustomDBGridGx* FGrid;
    bool FDown = false;
    QMenu* FDropdownMenu = nullptr;
    bool FShowDropDownSign = false;
    bool FTitleButton = false;
    bool FUseGlobalMenu = true;
};
