#include "DBGridGxFilterEdit.h"
#include "DBGridGx.h"
#include "DBGridGxColumnFilter.h"

TInplaceFilterEditGx::TInplaceFilterEditGx(TCustomDBGridGx* grid) : TDBComboBoxGx(grid), FGrid(grid) {}

void TInplaceFilterEditGx::CalcEditTextRect(TRect& Rect)
{
    TDBComboBoxGx::CalcEditTextRect(Rect);
    Rect.Top += 1;
    Rect.Bottom += 1;
}

void TInplaceFilterEditGx::CloseUp(bool Accept)
{
    if (!FColumn || !FColumn->STFilter()->FInFilterListBox)
        TDBComboBoxGx::CloseUp(Accept);
}

TPopupListboxGx* TInplaceFilterEditGx::FilterList()
{
    TPopupListboxGx* list = PopupListbox();
    if (!FListHooked) {
        FListHooked = true;
        list->SetUseItemObjects(true);
        list->OnMouseUp = [this, list](QObject*, TMouseButton Button, TShiftState, int X, int Y) {
            if (Button != mbLeft || !list->IsMouseUpCloseListbox())
                return;
            const bool inside = X >= 0 && Y >= 0 && X < list->width() && Y < list->height();
            CloseUp(inside);
        };
    }
    return list;
}

void SetFilterEditorValueAndText(TInplaceFilterEditGx* Editor, const Variant& Value, const QString& Text)
{
    Editor->SetValue(Value);
    Editor->SetEditText(Text);
}
