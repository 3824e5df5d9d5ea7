#pragma once
// The combo editor the grid places over a filter-row cell.
#include "grid/support/DBCtrlsGxComboBox.h"

class TColumnGx;
class TCustomDBGridGx;

class TInplaceFilterEditGx : public TDBComboBoxGx {
public:
    explicit TInplaceFilterEditGx(TCustomDBGridGx* grid);
    TCustomDBGridGx* Grid() const { return FGrid; }
    TColumnGx* Column() const { return FColumn; }
    void SetColumn(TColumnGx* column) { FColumn = column; }

    void CalcEditTextRect(TRect& Rect) override;
    // Keeps the list open while a value entry of the column's filter is being toggled.
    void CloseUp(bool Accept) override;
    void SelectAllText() { SelectAll(); }
    // The list created on first use: its entries act through their item objects and a
    // value entry's release leaves it open.
    TPopupListboxGx* FilterList();

private:
    TCustomDBGridGx* FGrid;
    TColumnGx* FColumn = nullptr;
    bool FListHooked = false;
};

// Sets the editor's value, then its edit text.
void SetFilterEditorValueAndText(TInplaceFilterEditGx* Editor, const Variant& Value, const QString& Text);
