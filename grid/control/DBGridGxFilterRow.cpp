// The grid's filter row: painting its cells, the filter editor's life cycle and
// keys, the filter drop-down lists (under the editor and inside the titles), and
// applying and clearing the filter.
#include "DBGridGx.h"
#include "DBGridGxColumnFilter.h"
#include "DBGridGxFilterEdit.h"
#include "DBGridGxFilterItems.h"
#include "DBGridGxParts.h"
#include "DBGridGxStyle.h"
#include "grid/support/DropDownEditGx.h"
#include "grid/support/EditButtonPaintGx.h"
#include "grid/support/SizeGripGx.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Application.h"
#include "platform/gui/Graphics.h"
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <algorithm>

namespace {

constexpr int kFilterButtonPart = 8;

// clWindow moved 8/255 of the way towards the fixed colour.
TColor FilterCellColor(TColor fixed)
{
    const TColor a = ColorToRGB(clWindow), b = ColorToRGB(fixed);
    const int r = std::clamp(GetRValue(a) + (GetRValue(b) - GetRValue(a)) * 8 / 255, 0, 255);
    const int g = std::clamp(GetGValue(a) + (GetGValue(b) - GetGValue(a)) * 8 / 255, 0, 255);
    const int bl = std::clamp(GetBValue(a) + (GetBValue(b) - GetBValue(a)) * 8 / 255, 0, 255);
    return RGB(r, g, bl);
}

TStringsGx* ListItemsOf(TPopupListboxGx* list) { return list->ExtItems() ? list->ExtItems() : list->Items(); }

} // namespace

// ---------------------------------------------------------------- cells

bool TCustomDBGridGx::IsFilterCellShown(int DataCol)
{
    return DataCol >= 0 && DataCol < FColumns->Count() && FColumns->GetColumn(DataCol)->Visible() &&
           FColumns->GetColumn(DataCol)->STFilter()->Visible() && FSTFilter->Location() == stflUnderTitleFilterGx;
}

bool TCustomDBGridGx::IsFilterRow(int ARow) const
{
    return FilterRowUnderTitle() && ARow == TopDataOffset() - 1;
}

TInplaceFilterEditGx* TCustomDBGridGx::FilterEditor() const { return static_cast<TInplaceFilterEditGx*>(FFilterEdit); }

bool TCustomDBGridGx::FilterEditorVisible() const { return FFilterEdit && FilterEditor()->GetVisible(); }

void TCustomDBGridGx::SetFilterEditorText(const QString& Text)
{
    if (FFilterEdit)
        FilterEditor()->SetEditText(Text);
}

void TCustomDBGridGx::DrawFilterRowCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    TCanvas* canvas = Canvas();
    const int dataCol = RawToDataColumn(ACol);
    if (!IsFilterRow(ARow) || (HasIndicator() && ACol < FIndicatorOffset) || !IsFilterCellShown(dataCol)) {
        TColumnGx* column = dataCol >= 0 && dataCol < FColumns->Count() ? FColumns->GetColumn(dataCol) : nullptr;
        TColor color = column ? column->Title()->Color() : FixedColor();
        FFilterCellHighlighted =
            CalcHighlightColorsGx(IsCellSelected(ACol, ARow, TBookmark(), dataCol), false, color, nullptr);
        canvas->Brush()->SetColor(color);
        if (!IsThemedCell(IsCell3D(ACol, ARow, AState, ARect)))
            canvas->FillRect(ARect);
        return;
    }
    TColumnGx* column = FColumns->GetColumn(dataCol);
    TRect r = ARect;
    const int buttonWidth = Flat() ? GetDefaultFlatButtonWidth() : GetSystemMetrics(SM_CXVSCROLL);
    r.Right -= buttonWidth + (Flat() ? 1 : 0);
    canvas->SetFont(*Font());
    canvas->Font()->SetColor(clBlue);
    TColor background = FilterCellColor(FixedColor());
    FFilterCellHighlighted =
        CalcHighlightColorsGx(IsCellSelected(ACol, ARow, TBookmark(), dataCol), false, background, canvas->Font());
    canvas->Brush()->SetColor(background);
    if (!r.IsEmpty()) {
        const QString text = column->FieldName().isEmpty() ? QString() : column->STFilter()->ExpressionStr();
        WriteCellText(column, r, true, 2, 2, text, taLeftJustify, column->Layout(), false, false, 0, 0);
    }
    // A flat button keeps one pixel of background between text and button.
    const int buttonLeft = r.Right + (Flat() ? 1 : 0);
    TRect b(buttonLeft, ARect.Top, buttonLeft + buttonWidth,
            std::min(ARect.Bottom, ARect.Top + FInplaceEditorButtonHeight));
    int transparency = 80;
    if (FFilterEditMode)
        transparency = 0;
    else if (Designing() || AState.contains(gdHotTrack))
        transparency = 30;
    PaintCellButton(column, canvas, ebsDropDownGx, b, ARect, false, false, Flat(), true, background, nullptr,
                    transparency);
    if (Flat())
        canvas->FillRect(TRect(r.Right, ARect.Top, r.Right + 1, ARect.Bottom), background);
    if (b.Bottom < ARect.Bottom)
        canvas->FillRect(TRect(b.Left, b.Bottom, ARect.Right, ARect.Bottom), background);
}

// ---------------------------------------------------------------- the editor

TInplaceFilterEditGx* TCustomDBGridGx::CreateFilterEditor() { return new TInplaceFilterEditGx(this); }

void TCustomDBGridGx::ShowFilterEdit(int DataCol)
{
    if (!FSTFilter->Visible() || !IsFilterCellShown(DataCol) || FSTFilter->Location() != stflUnderTitleFilterGx)
        return;
    if (FDataLink->Active() && DataSet())
        DataSet()->CheckBrowseMode();
    if (!FFilterEdit) {
        TInplaceFilterEditGx* e = CreateFilterEditor();
        FFilterEdit = e;
        e->hide();
        e->SetFlat(Flat());
        e->Font()->Assign(*Font());
        e->Font()->SetColor(clBlue);
        e->SetColor(FilterCellColor(FixedColor()));
        e->SetInplaceEditHolder(this);
        e->OnKeyPress = [this](QObject*, QChar& Key) { FilterEditorKeyPress(Key); };
        e->FilterList();
    }
    if (FilterEditorVisible() && FFilterCol != DataCol)
        HideFilterEdit();
    FFilterCol = DataCol;
    FFilterEditMode = true;
    HideEditor();
    BeginUpdateGx();
    try {
        const int rawCol = DataToRawColumn(DataCol);
        if (FOptions.Contains(dgRowSelect)) {
            if (rawCol < LeftCol() || rawCol >= LeftCol() + VisibleColCount())
                SetLeftCol(std::max(FixedCols(), rawCol));
        } else {
            SelectColumnIndex(DataCol, 0, false);
        }
        InvalidateCell(rawCol, TopDataOffset() - 1);
    } catch (...) {
        EndUpdateGx();
        throw;
    }
    EndUpdateGx();
    InvalidateRow(TopDataOffset() - 1);
    UpdateFilterEdit(true);
}

void TCustomDBGridGx::SetFilterEditMode(bool Value)
{
    if (Value)
        ShowFilterEdit(SelectedIndex());
    else
        LeaveFilterEditMode();
}

void TCustomDBGridGx::UpdateFilterEdit(bool Reload)
{
    if (FSTFilter->UpdateCount() >= 1)
        return;
    if (!FilterRowUnderTitle() || !IsFilterCellShown(FFilterCol) || !FFilterEditMode) {
        SetFilterEditMode(false);
        return;
    }
    if (!FFilterEdit)
        return;
    TInplaceFilterEditGx* e = FilterEditor();
    TRect r = CellRect(DataToRawColumn(FFilterCol), TopDataOffset() - 1);
    if (FColumns->GetColumn(FFilterCol)->STFilter()->FInFilterListBox) {
        e->Move(r);
        return;
    }
    r.Left += 1;
    if (!FilterEditActive()) {
        HideFilterEdit();
        return;
    }
    if (Reload) {
        e->Move(TRect());
        e->SetVisible(true);
        InitFilterEditor(FFilterCol);
        e->SelectAllText();
    }
    e->Move(r);
    if (Reload && (hasFocus() || !QApplication::focusWidget() || isAncestorOf(QApplication::focusWidget())))
        e->setFocus();
}

void TCustomDBGridGx::InitFilterEditor(int DataCol)
{
    TInplaceFilterEditGx* e = FilterEditor();
    TColumnGx* column = FColumns->GetColumn(DataCol);
    TSTColumnFilterGx* f = column->STFilter();
    e->SetColumn(column);
    e->Items()->Clear();
    e->OnCloseUp = [this](QObject*, bool Accept) {
        if (Accept && FCenter && FCenter->FilterEditCloseUpApplyFilter)
            ApplyFilter();
    };
    e->OnClosingUp = [this](QObject*, bool& Accept) { FilterEditorClosingUp(Accept); };
    e->OnGetItemsList = [this](QObject*) { FilterEditorGetItems(); };
    e->Reset();
    e->SetValue(Variant::Null());
    e->OnButtonClick = nullptr;
    e->EditButton()->SetVisible(true);
    e->DropDownBox()->SetSizable(true);
    if (!f->CurrentKeyField().isEmpty())
        SetFilterEditorValueAndText(e, f->KeyValues(), f->ExpressionStr());
    else
        e->SetEditText(f->ExpressionStr());
    e->DropDownBox()->SetWidth(f->DropDownListWidth() <= 0 ? 100 : f->DropDownListWidth());
    e->DropDownBox()->SetRows(f->DropDownListRows() <= 0 ? 17 : f->DropDownListRows());
}

void TCustomDBGridGx::StoreFilterEditText(int DataCol)
{
    if (!FFilterEdit || DataCol < 0 || DataCol >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(DataCol);
    if (!column->FieldName().isEmpty())
        column->STFilter()->ParseExpressionStr(FilterEditor()->EditText());
}

void TCustomDBGridGx::StoreCurrentFilterText()
{
    if (FFilterCol >= 0)
        StoreFilterEditText(FFilterCol);
}

void TCustomDBGridGx::HideFilterEdit()
{
    if (!FilterEditorVisible())
        return;
    TInplaceFilterEditGx* e = FilterEditor();
    if (isVisible() && focusPolicy() != Qt::NoFocus && (e->hasFocus() || e->isAncestorOf(QApplication::focusWidget()))) {
        FFilterEditGivesFocus = true;
        setFocus();
        FFilterEditGivesFocus = false;
    }
    e->SetVisible(false);
    e->SetColumn(nullptr);
    if (FFilterCol >= 0 && FFilterCol < FColumns->Count()) {
        const int col = FFilterCol;
        InvalidateCell(DataToRawColumn(col), TopDataOffset() - 1);
        StoreFilterEditText(col);
    }
}

void TCustomDBGridGx::LeaveFilterEditMode()
{
    if (FSTFilter->UpdateCount() > 0)
        return;
    HideFilterEdit();
    if (FFilterEditMode) {
        FFilterEditMode = false;
        if (FilterRowUnderTitle())
            InvalidateRow(TopDataOffset() - 1);
    }
    if (FOptions.Contains(dgAlwaysShowEditor) && !FFilterEditMode)
        ShowEditor();
    else
        HideEditor();
}

// ---------------------------------------------------------------- editor events

void TCustomDBGridGx::FilterEditorClosingUp(bool& Accept)
{
    TInplaceFilterEditGx* e = FilterEditor();
    TColumnGx* column = e->Column();
    if (!column)
        return;
    TSTColumnFilterGx* f = column->STFilter();
    f->FPopupListboxDownIndex = -1;
    if (e->GetVisible()) {
        f->SetDropDownListWidth(e->DropDownBox()->Width());
        f->SetDropDownListRows(e->DropDownBox()->Rows());
    }
    if (!Accept)
        return;
    TPopupListboxGx* list = e->FilterList();
    const int index = list->ItemIndex();
    TStringsGx* items = ListItemsOf(list);
    if (index >= 0 && index < items->Count())
        if (auto* item = dynamic_cast<TPopupListboxItemGx*>(items->Objects(index))) {
            Accept = false;
            item->Execute(list, index, TPoint(), CurrentShiftState());
        }
    f->FEnterNotClearData = false;
}

void TCustomDBGridGx::FilterEditorGetItems()
{
    TInplaceFilterEditGx* e = FilterEditor();
    TColumnGx* column = e->Column();
    if (!column)
        return;
    int width = e->DropDownBox()->Width();
    FillSTFilterListValues(column->STFilter(), *e->Items(), width, e->FilterList());
    e->DropDownBox()->SetWidth(width);
    column->STFilter()->CheckListValuesFromExpression(e->Items());
}

void TCustomDBGridGx::FilterEditorKeyPress(QChar& Key)
{
    TInplaceFilterEditGx* e = FilterEditor();
    if (Key == QChar(13)) {
        Key = QChar(0);
        ApplyFilter();
        return;
    }
    if (Key == QChar(u' ') && CurrentShiftState().contains(ssCtrl) && e->ListVisible() && e->Column()) {
        TPopupListboxGx* list = e->FilterList();
        const int index = list->ItemIndex();
        TStringsGx* items = ListItemsOf(list);
        if (index < 0 || index >= items->Count())
            return;
        auto* item = dynamic_cast<TPopupListboxItemGx*>(items->Objects(index));
        if (!item)
            return;
        TSTColumnFilterGx* f = e->Column()->STFilter();
        if (item->CloseOnExecute(list, index)) {
            e->CloseUp(false);
            item->Execute(list, index, TPoint(), CurrentShiftState());
        } else {
            item->Execute(list, index, TPoint(), CurrentShiftState());
        }
        f->FEnterNotClearData = true;
        list->SetItemIndex(index);
        Key = QChar(0);
    }
}

// ---------------------------------------------------------------- lists

void TCustomDBGridGx::DefaultFillSTFilterListValues(TColumnGx* Column, TStringsGx& Items)
{
    DefaultFillSTFilterListCommandValues(Column, Items);
    DefaultFillSTFilterListDataValues(Column, Items);
}

void TCustomDBGridGx::DefaultFillSTFilterListCommandValues(TColumnGx* Column, TStringsGx& Items)
{
    if (FCenter)
        FCenter->DefaultFillSTFilterListCommandValues(this, Column, Items);
}

void TCustomDBGridGx::DefaultFillSTFilterListDataValues(TColumnGx* Column, TStringsGx& Items)
{
    if (FCenter)
        FCenter->DefaultFillSTFilterListDataValues(this, Column, Items);
}

void TCustomDBGridGx::FillSTFilterListValues(TSTColumnFilterGx* Filter, TStringsGx& Items, int& ListWidth,
                                             TPopupListboxGx* ListControl)
{
    TColumnGx* column = Filter->Column();
    bool processed = false;
    if (OnFillSTFilterListValues)
        OnFillSTFilterListValues(this, column, Items, processed);
    if (column->OnFillSTFilterListValues)
        column->OnFillSTFilterListValues(this, column, Items, processed);
    if (FCenter && FCenter->OnFillSTFilterListValues)
        FCenter->OnFillSTFilterListValues(this, column, Items, processed);
    if (!processed)
        DefaultFillSTFilterListValues(column, Items);

    const QFontMetrics fm(ListControl ? ListControl->font() : font());
    const int extra = CheckBoxGlyphSize().cx + GetSystemMetrics(SM_CXVSCROLL) +
                      2 * (ListControl ? ListControl->BorderWidth() : 0) + 4;
    for (int i = 0; i < Items.Count(); ++i)
        if (Items.Objects(i) && Items.Objects(i) != FilterListDataItemGx())
            ListWidth = std::max(ListWidth, fm.horizontalAdvance(Items.Strings(i)) + extra);

    Filter->FPopupListboxDownIndex = -1;
    Items.BeginUpdate();
    for (int i = 0; i < Items.Count(); ++i)
        if (!Items.Objects(i))
            Items.SetObject(i, FilterListDataItemGx());
    Items.EndUpdate();
    Filter->FListValuesCheckingState.assign(size_t(Items.Count()), false);
}

void TDBGridGxCenter::DefaultFillSTFilterListCommandValues(IDBGridGx* grid, TColumnGx* column, TStringsGx& items)
{
    auto* g = dynamic_cast<TCustomDBGridGx*>(grid);
    items.BeginUpdate();
    if (grid->OptionsGx().Contains(dghAutoSortMarking) && column->Title()->TitleButton()) {
        items.Add(QString::fromUtf8(FilterListText::SortDesc), FilterListSortItemGx(smUpGx));
        items.Add(QString::fromUtf8(FilterListText::SortAsc), FilterListSortItemGx(smDownGx));
        items.Add(QStringLiteral("-"), FilterListLineItemGx());
    }
    items.Add(QString::fromUtf8(FilterListText::ClearFilter), FilterListSpecItemGx(ptFilterSpecItemClearFilter));
    if (g && !g->STFilter()->InstantApply())
        items.Add(QString::fromUtf8(FilterListText::ApplyFilter), FilterListSpecItemGx(ptFilterApply));
    items.Add(QString::fromUtf8(FilterListText::Custom), FilterListSpecItemGx(ptFilterSpecItemDialog));
    items.Add(QString::fromUtf8(FilterListText::All), FilterListSpecItemGx(ptFilterSpecItemAll));
    items.Add(QString::fromUtf8(FilterListText::NotEmpties), FilterListSpecItemGx(ptFilterSpecItemNotEmties));
    items.Add(QString::fromUtf8(FilterListText::Empties), FilterListSpecItemGx(ptFilterSpecItemEmpties));
    items.EndUpdate();
}

void TDBGridGxCenter::DefaultFillSTFilterListDataValues(IDBGridGx* grid, TColumnGx* column, TStringsGx& items)
{
    if (TDataSetFeatureProviderGx* f = FindDataSetFeatures(grid->DataSet())) {
        QStringList values;
        f->FillDataSetFilterValues(grid, column, values);
        for (const QString& v : values)
            items.Add(v);
        return;
    }
    StandardFillSTFilterListDataValues(grid, column, items);
}

void TDBGridGxCenter::StandardFillSTFilterListDataValues(IDBGridGx* grid, TColumnGx* column, TStringsGx& items)
{
    TSTColumnFilterGx* filter = column->STFilter();
    // Values come from the column filter's list source; datasets of this system
    // offer no memory-table value lists of their own.
    if (!filter->FieldValueList() && filter->ListSource())
        filter->SetFieldValueList(filter->GetFieldValueList());
    items.BeginUpdate();
    if (IMemTableDataFieldValueListGxPtr list = filter->FieldValueList()) {
        if (auto* g = dynamic_cast<TCustomDBGridGx*>(grid)) {
            // The other columns' conditions narrow the values; this column's own does not.
            TSTFilterExpressionGx saved = filter->Expression();
            TSTFilterExpressionGx off = saved;
            off.Operator1 = foNon;
            off.Relation = foNon;
            filter->SetExpressionSilently(off);
            QString text;
            try {
                BuildGridSTFilterText(g, {}, {}, text, true, false);
            } catch (...) {
                filter->SetExpressionSilently(saved);
                throw;
            }
            filter->SetExpressionSilently(saved);
            list->SetFilter(text);
        }
        for (const QString& v : list->GetValues())
            items.Add(v, FilterListDataItemGx());
    }
    if (column->HasKeyItems() && column->HasPickItems()) {
        const QStringList& keys = column->KeyList();
        const QStringList& pick = column->PickList();
        for (int i = 0; i < items.Count(); ++i) {
            const int k = keys.indexOf(items.Strings(i));
            if (k >= 0 && k < pick.size())
                items.SetString(i, pick[k]);
        }
    }
    items.EndUpdate();
}

// ---------------------------------------------------------------- in-title list

int TCustomDBGridGx::IsTitleFilterButtonHit(TGridCoord Cell, TPoint MousePt, TRect& ButtonRect)
{
    ButtonRect = TRect();
    int dataCol = -1, dataRow = -1;
    if (!FOptions.Contains(dgTitles) || !FSTFilter->Visible() || FSTFilter->Location() != stflInTitleFilterGx)
        return 0;
    if (Cell.X < 0 || Cell.Y < 0 || Cell.X >= TCustomGridGx::ColCount())
        return 0;
    const TCellKindGx kind = GetCellType(Cell.X, Cell.Y, dataCol, dataRow);
    if (kind.RowKind != crkTitleGx || kind.ColumnKind != cckDataGx || Cell.Y != 0)
        return 0;
    TRect c = CellRect(Cell.X, Cell.Y);
    if (IsUseMultiTitle() && dataCol < int(FLeafFieldArr.size()) && FLeafFieldArr[size_t(dataCol)].FLeaf)
        c.Top = c.Bottom - FLeafFieldArr[size_t(dataCol)].FLeaf->Height + 1;
    if (FOptionsGx.Contains(dghFixed3D))
        InflateRect(c, -1, -1);
    int w = Flat() ? GetDefaultFlatButtonWidth() + (IsThemingActive() ? 0 : 1) : GetSystemMetrics(SM_CXVSCROLL);
    w = std::min(w, c.Width() / 2);
    TRect b(c.Right - w, c.Top, c.Right, c.Bottom);
    if (FInplaceEditorButtonHeight > 0 && FInplaceEditorButtonHeight < c.Height()) {
        b.Top = c.Top + (c.Height() - FInplaceEditorButtonHeight) / 2;
        b.Bottom = b.Top + FInplaceEditorButtonHeight;
    }
    ButtonRect = b;
    return MousePt.X >= b.Left && MousePt.X < b.Right && MousePt.Y >= b.Top && MousePt.Y < b.Bottom
               ? kFilterButtonPart
               : 0;
}

void TCustomDBGridGx::ShowInTitleFilterListbox(TColumnGx* Column)
{
    if (FInTitleFilterListboxVisible)
        HideInTitleFilterListbox(false);
    if (!Column)
        return;
    if (!FInTitleFilterListbox) {
        auto* list = new TPopupListboxGx(this);
        list->SetUseItemObjects(true);
        list->hide();
        list->SetCtl3D(true);
        list->OnMouseUp = [this](QObject*, TMouseButton Button, TShiftState, int X, int Y) {
            if (Button != mbLeft || !FInTitleFilterListbox->IsMouseUpCloseListbox())
                return;
            const bool inside = X >= 0 && Y >= 0 && X < FInTitleFilterListbox->width() &&
                                Y < FInTitleFilterListbox->height();
            HideInTitleFilterListbox(inside);
        };
        FInTitleFilterListbox = list;
    }
    TPopupListboxGx* list = FInTitleFilterListbox;
    TSTColumnFilterGx* f = Column->STFilter();
    TRect r = CellRect(DataToRawColumn(Column->Index()), 0);
    int width = f->DropDownListWidth();
    f->FEnterNotClearData = false;
    list->Items()->Clear();
    list->SetExtItems(nullptr);
    FInTitleFilterListboxColumn = Column;
    FillSTFilterListValues(f, *list->Items(), width, list);
    width = std::max(width, Column->Width());
    f->CheckListValuesFromExpression(list->Items());
    list->SetColor(Color());
    list->Font()->Assign(*Font());
    list->SetItemHeight(list->GetTextHeight());
    list->SetRowCount(std::max(1, std::min(f->DropDownListRows() <= 0 ? 15 : f->DropDownListRows(),
                                           list->Items()->Count())));
    list->resize(width, list->height());
    const QPoint topLeft = mapToGlobal(QPoint(r.Left, r.Top));
    const TRect screen(topLeft.x(), topLeft.y(), topLeft.x() + r.Width(), topLeft.y() + r.Height());
    const TPoint at = PlaceDropDownAtRect(screen, list, 0);
    list->move(at.X, at.Y);
    list->SizeGrip()->SetGripVisible(true);
    list->show();
    FInTitleFilterListboxVisible = true;
    list->SetSizeGripResized(false);
    InvalidateTitle();
}

void TCustomDBGridGx::HideInTitleFilterListbox(bool Execute)
{
    TColumnGx* column = FInTitleFilterListboxColumn;
    if (column && column->STFilter()->FInFilterListBox)
        return;
    if (FInTitleFilterListboxVisible && FInTitleFilterListbox) {
        TPopupListboxGx* list = FInTitleFilterListbox;
        CancelMouseCaptureGx();
        list->hide();
        if (list->SizeGripResized() && column) {
            column->STFilter()->SetDropDownListRows(list->RowCount());
            column->STFilter()->SetDropDownListWidth(list->width());
        }
        FInTitleFilterListboxVisible = false;
        FTrackingStateRect = TRect();
        InvalidateTitle();
        if (Execute && column) {
            const int index = list->ItemIndex();
            if (index >= 0 && index < list->Items()->Count())
                if (auto* item = dynamic_cast<TPopupListboxItemGx*>(list->Items()->Objects(index)))
                    item->Execute(list, index, TPoint(), CurrentShiftState());
        }
    }
    FInTitleFilterListboxGroupLevel = nullptr;
}

bool TCustomDBGridGx::InTitleListboxKeyDown(WORD Key, TShiftState Shift)
{
    if (!FInTitleFilterListboxVisible || !FInTitleFilterListbox)
        return false;
    if (Key == VK_ESCAPE) {
        HideInTitleFilterListbox(false);
        return true;
    }
    if (Key == VK_RETURN) {
        HideInTitleFilterListbox(true);
        return true;
    }
    WORD k = Key;
    FInTitleFilterListbox->KeyDown(k, Shift);
    return true;
}

void TCustomDBGridGx::InTitleListboxKeyPress(QChar& Key)
{
    TPopupListboxGx* list = FInTitleFilterListbox;
    if (Key != QChar(u' ')) {
        list->KeyPress(Key);
        return;
    }
    Key = QChar(0);
    const int index = list->ItemIndex();
    if (index < 0 || index >= list->Items()->Count() || !FInTitleFilterListboxColumn)
        return;
    auto* item = dynamic_cast<TPopupListboxItemGx*>(list->Items()->Objects(index));
    if (!item)
        return;
    FInTitleFilterListboxColumn->STFilter()->FEnterNotClearData = true;
    if (item->CloseOnExecute(list, index))
        HideInTitleFilterListbox(true);
    else
        item->Execute(list, index, TPoint(), CurrentShiftState());
}

// ---------------------------------------------------------------- keys of the filter editor

bool TCustomDBGridGx::GetMouseDownInfo(TPoint& Pos, int& Time)
{
    const QPoint p = mapToGlobal(QPoint(FDownMousePos.X, FDownMousePos.Y));
    Pos = TPoint(p.x(), p.y());
    Time = FDownMouseMessageTime;
    FDownMouseMessageTime = 0;
    return false;
}

int TCustomDBGridGx::NextFilterColumn(int From, int Direction)
{
    for (int i = From; i >= 0 && i < FColumns->Count(); i += Direction)
        if (IsFilterCellShown(i))
            return i;
    return -1;
}

void TCustomDBGridGx::MoveToFilterColumn(int DataCol)
{
    if (DataCol >= 0 && DataCol != FFilterCol)
        ShowFilterEdit(DataCol);
}

void TCustomDBGridGx::InplaceEditKeyDown(QWidget* Control, WORD& Key, TShiftState Shift)
{
    if (!FFilterEdit || Control != FFilterEdit)
        return;
    TInplaceFilterEditGx* e = FilterEditor();
    if (e->ListVisible())
        return;
    const bool ctrl = Shift.contains(ssCtrl);
    const bool shift = Shift.contains(ssShift);
    const bool alt = Shift.contains(ssAlt);
    const int len = e->EditText().size();
    const bool atStart = e->SelStart() == 0 && e->SelLength() == 0;
    const bool atEnd = e->SelStart() == len && e->SelLength() == 0;
    const int count = FColumns->Count();
    switch (Key) {
    case VK_TAB: {
        if (!FOptions.Contains(dgTabs))
            return;
        const int dir = shift ? -1 : 1;
        int to = NextFilterColumn(FFilterCol + dir, dir);
        if (to < 0)
            to = NextFilterColumn(dir > 0 ? 0 : count - 1, dir);
        MoveToFilterColumn(to);
        Key = 0;
        return;
    }
    // The end columns themselves are reachable.
    case VK_END:
        if (ctrl || atEnd) {
            MoveToFilterColumn(NextFilterColumn(count - 1, -1));
            Key = 0;
        }
        return;
    case VK_HOME:
        if (ctrl || atStart) {
            MoveToFilterColumn(NextFilterColumn(0, 1));
            Key = 0;
        }
        return;
    case VK_LEFT:
        if (ctrl || atStart) {
            MoveToFilterColumn(ctrl ? NextFilterColumn(0, 1) : NextFilterColumn(FFilterCol - 1, -1));
            Key = 0;
        }
        return;
    case VK_RIGHT:
        if (ctrl || atEnd) {
            MoveToFilterColumn(ctrl ? NextFilterColumn(count - 1, -1) : NextFilterColumn(FFilterCol + 1, 1));
            Key = 0;
        }
        return;
    case VK_UP:
        if (!shift && !ctrl && !alt)
            Key = 0;
        return;
    case VK_DOWN:
        if (((!shift && !ctrl && !alt) || (ctrl && !shift && !alt)) && FDataLink->Active()) {
            const int col = FFilterCol;
            StoreFilterEditText(col);
            if (!ctrl && DataSet())
                FDataLink->MoveBy(-FDataLink->ActiveRecord());
            LeaveFilterEditMode();
            SetSelectedIndex(col);
            Key = 0;
        }
        return;
    case VK_F2:
        e->SetSelStart(len);
        e->SetSelLength(0);
        Key = 0;
        return;
    default:
        return;
    }
}

void TCustomDBGridGx::InplaceEditKeyPress(QWidget* Control, QChar& Key)
{
    if (FFilterEdit && Control == FFilterEdit && Key == QChar(9))
        Key = QChar(0);
}

void TCustomDBGridGx::FilterEditorTakeFocus() { FilterEditor()->setFocus(); }

void TCustomDBGridGx::FilterColumnGoes(TColumnGx* Column)
{
    if (!FFilterEdit || FilterEditor()->Column() != Column)
        return;
    FilterEditor()->SetColumn(nullptr);
    FilterEditor()->SetVisible(false);
    FFilterEditMode = false;
    FFilterCol = -1;
}

bool TCustomDBGridGx::ForwardKeyToFilterEditor(QChar Key)
{
    if (!FFilterEditMode || !FFilterEdit || !(Key.isPrint() || Key == QChar(8)))
        return false;
    TInplaceFilterEditGx* e = FilterEditor();
    if (!e->GetVisible())
        UpdateFilterEdit(true);
    if (!e->GetVisible())
        return false;
    e->setFocus();
    // The character goes to the editor's window that holds the focus.
    QWidget* target = QApplication::focusWidget();
    if (!target || (target != e && !e->isAncestorOf(target)))
        target = e;
    const int qtKey = Key == QChar(8) ? int(Qt::Key_Backspace) : int(Qt::Key_unknown);
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, qtKey, Qt::NoModifier, QString(Key)));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, qtKey, Qt::NoModifier, QString(Key)));
    return true;
}

void TCustomDBGridGx::EnterFilterRowFromAbove()
{
    int col = SelectedIndex();
    if (FOptions.Contains(dgRowSelect)) {
        col = NextFilterColumn(std::max(FFilterCol, 0), 1);
        if (col < 0 || DataToRawColumn(col) < LeftCol())
            col = NextFilterColumn(RawToDataColumn(LeftCol()), 1);
    }
    ShowFilterEdit(col);
}

// ---------------------------------------------------------------- applying

void TCustomDBGridGx::ApplyFilter()
{
    if (FilterEditorVisible() && FFilterCol >= 0)
        StoreFilterEditText(FFilterCol);
    const int left = LeftCol();
    auto after = [&] {
        if (left < TCustomGridGx::ColCount())
            SetLeftCol(left);
        UpdateFilterEdit(true);
        if (FSumList && FSumList->Active())
            FSumList->RecalcAll();
        Invalidate();
    };
    try {
        if (OnApplyFilter)
            OnApplyFilter(this);
        else
            DefaultApplyFilter();
    } catch (...) {
        after();
        throw;
    }
    after();
}

void TCustomDBGridGx::DefaultApplyFilter()
{
    if (!FCenter)
        return;
    BeginUpdateGx();
    try {
        FCenter->ApplyFilter(this);
    } catch (...) {
        EndUpdateGx();
        throw;
    }
    EndUpdateGx();
}

void TCustomDBGridGx::ClearFilter()
{
    // The editor's text goes too: a half-typed condition must not stop the clearing.
    if (FilterEditorVisible())
        FilterEditor()->SetEditText(QString());
    LeaveFilterEditMode();
    for (int i = 0; i < FColumns->Count(); ++i)
        FColumns->GetColumn(i)->STFilter()->Clear();
    Invalidate();
}

// ---------------------------------------------------------------- grid-wide settings

void TSTDBGridGxFilter::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (!FGrid)
        return;
    if (!value)
        FGrid->LeaveFilterEditMode();
    FGrid->LayoutChanged();
    if (FGrid->EditorMode())
        FGrid->InvalidateEditor();
}

void TSTDBGridGxFilter::SetLocation(TSTFilterLocationGx value)
{
    if (value == FLocation)
        return;
    FLocation = value;
    if (FGrid)
        FGrid->LayoutChanged();
}

void TSTDBGridGxFilter::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
}

void TSTDBGridGxFilter::Assign(const TSTDBGridGxFilter& source)
{
    SetVisible(source.FVisible);
    FLocal = source.FLocal;
}
