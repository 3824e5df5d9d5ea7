#include "DBGridGxFilterItems.h"
#include "DBGridGx.h"
#include "DBGridGxColumnFilter.h"
#include "DBGridGxFilter.h"
#include "DBGridGxFilterDialog.h"
#include "DBGridGxFilterEdit.h"
#include "DBGridGxStyle.h"
#include "DBGridGxUnit.h"
#include "grid/support/EditButtonPaintGx.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/gui/ImageList.h"
#include <QCursor>
#include <QPointer>
#include <memory>

// ---------------------------------------------------------------- shared objects

TPopupListboxItemGxLine* FilterListLineItemGx()
{
    static TPopupListboxItemGxLine item;
    return &item;
}

TPopupListboxItemGxSort* FilterListSortItemGx(TSortMarkerGx state)
{
    static TPopupListboxItemGxSort down(smDownGx), up(smUpGx);
    return state == smUpGx ? &up : &down;
}

TPopupListboxItemGxSpec* FilterListSpecItemGx(TPopupListboxItemGxSpecType type)
{
    static TPopupListboxItemGxSpec items[] = {
        TPopupListboxItemGxSpec(ptFilterSpecItemClearFilter), TPopupListboxItemGxSpec(ptFilterSpecItemAll),
        TPopupListboxItemGxSpec(ptFilterSpecItemEmpties), TPopupListboxItemGxSpec(ptFilterSpecItemNotEmties),
        TPopupListboxItemGxSpec(ptFilterSpecItemDialog), TPopupListboxItemGxSpec(ptFilterApply)};
    return &items[type];
}

TPopupListboxItemGxData* FilterListDataItemGx()
{
    static TPopupListboxItemGxData item;
    return &item;
}

// ---------------------------------------------------------------- common

TCustomDBGridGx* TDBGridFilterPopupListboxItemGx::ListGrid(TPopupListboxGx* Sender)
{
    if (auto* grid = dynamic_cast<TCustomDBGridGx*>(Sender->Owner()))
        return grid;
    if (auto* edit = dynamic_cast<TInplaceFilterEditGx*>(Sender->Owner()))
        return edit->Grid();
    return nullptr;
}

TColumnGx* TDBGridFilterPopupListboxItemGx::FilteredColumn(TPopupListboxGx* Sender)
{
    if (auto* grid = dynamic_cast<TCustomDBGridGx*>(Sender->Owner()))
        return grid->InTitleFilterListboxColumn();
    if (auto* edit = dynamic_cast<TInplaceFilterEditGx*>(Sender->Owner()))
        return edit->Column();
    return nullptr;
}

namespace {

int GlyphBoxWidth() { return CheckBoxGlyphSize().cx + 2; }

bool RightToLeft(TPopupListboxGx* list) { return list->layoutDirection() == Qt::RightToLeft; }

// The entry's rectangle less the glyph box, and the glyph box.
void SplitEntry(TPopupListboxGx* list, const TRect& rect, TRect& box, TRect& text)
{
    const int w = GlyphBoxWidth();
    box = text = rect;
    if (RightToLeft(list)) {
        box.Left = rect.Right - w;
        text.Right -= w;
    } else {
        box.Right = rect.Left + w;
        text.Left += w;
    }
}

TStringsGx* ListItems(TPopupListboxGx* list) { return list->ExtItems() ? list->ExtItems() : list->Items(); }

// The entry's text W + 2 pixels in and the glyph box in the list's colour; the box.
TRect DrawEntryText(TPopupListboxGx* list, int index, const TRect& rect, TOwnerDrawState state)
{
    TRect box, text;
    SplitEntry(list, rect, box, text);
    list->DefaultDrawItem(index, text, state);
    list->Canvas()->FillRect(box, list->Color());
    return box;
}

} // namespace

// ---------------------------------------------------------------- sort item

void TPopupListboxItemGxSort::DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect,
                                       TOwnerDrawState State)
{
    const TRect box = DrawEntryText(Sender, ItemIndex, Rect, State);
    TCanvas* c = Sender->Canvas();
    TImageList* glyphs = SortMarkerGlyphList();
    const int index = FSortState == smDownGx ? 3 : 4;
    if (glyphs && index < glyphs->Count())
        glyphs->Draw(c, box.Left + (box.Width() - glyphs->Width()) / 2, box.Top + (box.Height() - glyphs->Height()) / 2,
                     index, true);
}

void TPopupListboxItemGxSort::Execute(TPopupListboxGx* Sender, int, const TPoint&, TShiftState)
{
    TCustomDBGridGx* grid = ListGrid(Sender);
    TColumnGx* column = FilteredColumn(Sender);
    if (!grid || !column)
        return;
    column->Title()->SetSortMarker(FSortState);
    grid->SortMarkingChanged();
}

// ---------------------------------------------------------------- line item

void TPopupListboxItemGxLine::DrawItem(TPopupListboxGx* Sender, int, const TRect& Rect, TOwnerDrawState)
{
    TCanvas* c = Sender->Canvas();
    c->FillRect(Rect, Sender->Color());
    c->Pen()->SetColor(TColor(12632256));
    const int y = Rect.Top + Rect.Height() / 2;
    c->MoveTo(Rect.Left, y);
    c->LineTo(Rect.Right, y);
}

// ---------------------------------------------------------------- special item

void TPopupListboxItemGxSpec::DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect,
                                       TOwnerDrawState State)
{
    DrawEntryText(Sender, ItemIndex, Rect, State);
}

void TPopupListboxItemGxSpec::Execute(TPopupListboxGx* Sender, int, const TPoint&, TShiftState)
{
    TCustomDBGridGx* grid = ListGrid(Sender);
    TColumnGx* column = FilteredColumn(Sender);
    if (!grid || !column)
        return;
    QPointer<TCustomDBGridGx> guard(grid);
    switch (FType) {
    case ptFilterSpecItemClearFilter:
        grid->ClearFilter();
        break;
    case ptFilterSpecItemAll:
        column->STFilter()->SetExpressionStr(QString());
        break;
    case ptFilterSpecItemEmpties:
        column->STFilter()->SetExpressionStr(QStringLiteral("=Null"));
        break;
    case ptFilterSpecItemNotEmties:
        column->STFilter()->SetExpressionStr(QStringLiteral("<>Null"));
        break;
    case ptFilterSpecItemDialog:
        if (grid->FilterEditorVisible() && grid->FilterCol() >= 0)
            grid->StoreFilterEditText(grid->FilterCol());
        if (ShowCustomFilterDialog(column) && guard && grid->STFilter()->InstantApply())
            grid->ApplyFilter();
        return;
    case ptFilterApply:
        grid->ApplyFilter();
        break;
    }
    if (!guard)
        return;
    if (FType == ptFilterSpecItemClearFilter || (grid->Center() && grid->Center()->FilterEditCloseUpApplyFilter) ||
        grid->STFilter()->InstantApply())
        grid->ApplyFilter();
}

// ---------------------------------------------------------------- value item

void TPopupListboxItemGxData::DrawItem(TPopupListboxGx* Sender, int ItemIndex, const TRect& Rect,
                                       TOwnerDrawState State)
{
    const TRect box = DrawEntryText(Sender, ItemIndex, Rect, State);
    TCanvas* c = Sender->Canvas();
    TColumnGx* column = FilteredColumn(Sender);
    TSTColumnFilterGx* f = column ? column->STFilter() : nullptr;
    const bool ticked = f && ItemIndex < int(f->FListValuesCheckingState.size()) &&
                        f->FListValuesCheckingState[size_t(ItemIndex)];
    const bool pressed = f && f->FPopupListboxDownIndex == ItemIndex;
    const QPoint mouse = Sender->mapFromGlobal(QCursor::pos());
    const bool hot = !QWidget::mouseGrabber() && Sender->ItemAtPos(TPoint(mouse.x(), mouse.y()), true) == ItemIndex;
    const int w = CheckBoxGlyphSize().cx;
    TRect glyph = box;
    if (RightToLeft(Sender))
        glyph.Left = box.Right - w;
    else
        glyph.Right = box.Left + w;
    DrawEditButtonFace(c, glyph, Sender->Color(), bcsCheckboxGx, pressed ? 1 : 0, true, hot, true,
                       ticked ? cbChecked : cbUnchecked);
}

void TPopupListboxItemGxData::MouseDown(TPopupListboxGx* Sender, int ItemIndex, TMouseButton, TShiftState,
                                        const TPoint&)
{
    TColumnGx* column = FilteredColumn(Sender);
    if (!column)
        return;
    column->STFilter()->FPopupListboxDownIndex = ItemIndex;
    Sender->InvalidateIndex(ItemIndex);
}

void TPopupListboxItemGxData::MouseMove(TPopupListboxGx* Sender, int ItemIndex, TShiftState, const TPoint&)
{
    TColumnGx* column = FilteredColumn(Sender);
    if (!column)
        return;
    TSTColumnFilterGx* f = column->STFilter();
    if (f->FPopupListboxDownIndex >= 0 && f->FPopupListboxDownIndex != ItemIndex) {
        Sender->InvalidateIndex(f->FPopupListboxDownIndex);
        f->FPopupListboxDownIndex = -1;
    }
}

void TPopupListboxItemGxData::MouseUp(TPopupListboxGx* Sender, int ItemIndex, bool& CloseList, TMouseButton,
                                      TShiftState Shift, const TPoint& Pos)
{
    CloseList = false;
    TColumnGx* column = FilteredColumn(Sender);
    if (!column)
        return;
    TSTColumnFilterGx* f = column->STFilter();
    if (f->FPopupListboxDownIndex == ItemIndex) {
        f->FEnterNotClearData = true;
        const TRect r = Sender->ItemRect(ItemIndex);
        Execute(Sender, ItemIndex, TPoint(Pos.X - r.Left, Pos.Y - r.Top), Shift);
        const int over = Sender->ItemAtPos(Pos, true);
        if (over >= 0)
            Sender->SetItemIndex(over);
    }
    f->FPopupListboxDownIndex = -1;
    Sender->InvalidateIndex(ItemIndex);
}

void TPopupListboxItemGxData::Execute(TPopupListboxGx* Sender, int ItemIndex, const TPoint&, TShiftState)
{
    TColumnGx* column = FilteredColumn(Sender);
    if (!column)
        return;
    TSTColumnFilterGx* f = column->STFilter();
    TStringsGx* items = ListItems(Sender);
    f->FInFilterListBox = true;
    struct Reset {
        TSTColumnFilterGx* f;
        ~Reset() { f->FInFilterListBox = false; }
    } reset{f};
    if (f->FListValuesCheckingState.size() < size_t(items->Count()))
        f->FListValuesCheckingState.resize(size_t(items->Count()), false);
    if (ItemIndex < 0 || ItemIndex >= items->Count())
        return;
    if (!f->FEnterNotClearData)
        std::fill(f->FListValuesCheckingState.begin(), f->FListValuesCheckingState.end(), false);
    f->FListValuesCheckingState[size_t(ItemIndex)] = !f->FListValuesCheckingState[size_t(ItemIndex)];
    f->ApplyCheckedListValues(items);
    Sender->InvalidateIndex(ItemIndex);
}
