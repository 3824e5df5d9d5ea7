// The cell editor's drop-downs: the pick list, the month calendar, the
// calculator (the data list has a file of its own), how they open under the
// cell, pass the keys on and close with or without writing the choice, the
// mouse on the edit buttons, and the most-recently-used list.
#include "DBGridGxEdit.h"

#include "DBGridGx.h"
#include "grid/support/DropDownEditGx.h"
#include "grid/support/EditButtonControlGx.h"
#include "grid/support/MRUListGx.h"
#include "grid/support/PopupCalculatorGx.h"
#include "grid/support/PopupListboxGx.h"
#include "grid/support/PopupMonthCalendarGx.h"
#include "grid/support/SizeGripGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/Application.h"
#include "platform/rtl/Format.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QWheelEvent>
#include <algorithm>

namespace {

bool IsCalendarStyle(TEditStyle style)
{
    return style == esDateCalendar || style == esAltCalendar;
}

// Right-to-left placement of the drop-downs follows the column's alignment.
int DropDownAlignment(TColumnGx* column)
{
    return column && column->BiDiMode() != bdLeftToRight ? 1 : 0;
}

// A key the editor hands to its drop-down (every drop-down is a control of the library).
void SendKeyToList(QWidget* list, WORD key, TShiftState shift)
{
    if (auto* control = qobject_cast<TCustomControl*>(list))
        control->KeyDown(key, shift);
}

} // namespace

// ---------------------------------------------------------------- choosing the drop-down

TColor TDBGridInplaceEdit::EditorColor() const
{
    return FromQColor(palette().color(QPalette::Base));
}

bool TDBGridInplaceEdit::IsDropDownStyle()
{
    switch (FEditStyle) {
    case esPickList: case esDataList: case esDateCalendar: case esAltCalendar:
        return true;
    case esDropDown: case esAltDropDown: {
        TColumnGx* column = EditColumn();
        return column && column->Field() && IsNumericField(column->Field());
    }
    default:
        return false;
    }
}

TPopupListboxGx* TDBGridInplaceEdit::GetPickList()
{
    if (!FPickList) {
        FPickList = new TPopupListboxGx(this);
        FPickList->hide();
        FPickList->OnMouseUp = [this](QObject*, TMouseButton Button, TShiftState, int X, int Y) {
            ListMouseUp(FPickList, Button, X, Y);
        };
        FPickList->OnGetImageIndex = [](QObject*, int, int&) {};
        FPickList->SetItemHeight(FPickList->GetTextHeight());
        FPickList->SetCtl3D(true);
    }
    return FPickList;
}

TPopupMonthCalendarGx* TDBGridInplaceEdit::GetPopupMonthCalendar()
{
    if (!FPopupMonthCalendar) {
        FPopupMonthCalendar = new TPopupMonthCalendarGx(this, this);
        FPopupMonthCalendar->hide();
        new TDropDownActivationGuardGx(FPopupMonthCalendar, this);
    }
    return FPopupMonthCalendar;
}

QWidget* TDBGridInplaceEdit::CreatePopupCalculator()
{
    auto* calculator = new TPopupCalculatorGx(this, this);
    calculator->hide();
    new TDropDownActivationGuardGx(calculator, this);
    return calculator;
}

void TDBGridInplaceEdit::ChooseActiveList()
{
    TColumnGx* column = EditColumn();
    switch (FEditStyle) {
    case esPickList: {
        TPopupListboxGx* list = GetPickList();
        list->SetImageList(column ? column->ImageList() : nullptr);
        FActiveList = list;
        break;
    }
    case esDataList:
        TakeOverDataList(column);
        break;
    case esDateCalendar:
    case esAltCalendar:
        FActiveList = GetPopupMonthCalendar();
        break;
    case esDropDown:
    case esAltDropDown:
        if (column && column->Field() && IsNumericField(column->Field())) {
            if (!FPopupCalculator)
                FPopupCalculator = CreatePopupCalculator();
            FActiveList = FPopupCalculator;
        } else {
            FActiveList = nullptr;
        }
        break;
    default:
        FActiveList = nullptr;
        break;
    }
}

// ---------------------------------------------------------------- opening

void TDBGridInplaceEdit::DropDown()
{
    TColumnGx* column = EditColumn();
    if (FListVisible || !FActiveList || !column || !FDBGrid)
        return;
    FActiveList->resize(width(), FActiveList->height());
    if (DataListActive()) {
        if (!DropDownDataList(column))
            return;
    } else if (FActiveList == FPopupMonthCalendar) {
        TPopupMonthCalendarGx* calendar = FPopupMonthCalendar;
        calendar->SetColor(EditorColor());
        calendar->Font()->Assign(*column->Font());
        TDateTime date = Date();
        const QString t = text();
        if (!t.trimmed().isEmpty() && !TryStrToDateTime(t, date)) {
            TField* field = column->Field();
            const TDateTime stored = field && !field->IsNull() ? field->AsDateTime() : TDateTime(0.0);
            date = stored != TDateTime(0.0) ? stored : Date();
        }
        calendar->SetView(mcvMonthGx);
        calendar->SetDate(date);
        const TSize size = calendar->MinReqSize();
        const int frame = calendar->Ctl3D() ? calendar->BorderWidth() : 1;
        calendar->resize(size.cx + 2 * frame, size.cy + 2 * frame);
    } else if (FActiveList == FPopupCalculator) {
        if (auto* value = dynamic_cast<IPopupValueGx*>(FPopupCalculator)) {
            value->SetValue(Variant(text().isEmpty() ? 0.0 : StrToFloatDef(text(), 0.0)));
            value->SetFlat(FDBGrid->Flat());
        }
        FReadOnlyBeforeCalculator = isReadOnly();
        FCaretHidden = true;
        deselect();
        setReadOnly(true);
    } else if (FActiveList == FPickList) {
        TPopupListboxGx* list = FPickList;
        list->SetColor(EditorColor());
        list->Font()->Assign(*column->Font());
        list->SetItemHeight(list->GetTextHeight());
        const QStringList& picks = column->PickList();
        QStringList items = picks;
        if (column->HasKeyItems())
            items = picks.mid(0, std::min(picks.size(), column->KeyList().size()));
        list->Items()->SetTexts(items);
        const int rows = std::max(1, std::min(int(items.size()), column->DropDownRows()));
        list->SetRowCount(rows);
        TField* field = column->Field();
        if (!field || field->IsNull())
            list->SetItemIndex(-1);
        else
            list->SetItemIndex(FindListItem(items, text(), 0));
        int widest = list->ClientWidth();
        const QFontMetrics metrics(list->font());
        for (const QString& item : items)
            widest = std::max(widest, metrics.horizontalAdvance(item));
        list->resize(widest + 4 + (list->width() - list->ClientWidth()), list->height());
    }
    // An open list of earlier entries gives way.
    CloseMRUList(false);
    const TPoint at = PlaceDropDownAtEdit(this, FActiveList, DropDownAlignment(column));
    FActiveList->move(at.X, at.Y);
    if (DataListActive()) {
        ShowDataList(column);
    } else if (FActiveList == FPickList) {
        FPickList->SizeGrip()->SetGripVisible(column->DropDownSizing());
        FPickList->show();
        FPickList->SetSizeGripResized(false);
    } else {
        FActiveList->show();
    }
    FListVisible = true;
    update();
    setFocus();
    if (!FEditButtonControlList.empty())
        FEditButtonControlList[0].Button->SetAlwaysDown(true);
    FDroppedDown = true;
}

// ---------------------------------------------------------------- closing

bool TDBGridInplaceEdit::FocusInDropDown(QWidget* Widget) const
{
    return Widget && FActiveList && (Widget == FActiveList || FActiveList->isAncestorOf(Widget));
}

void TDBGridInplaceEdit::CloseUp(bool Accept)
{
    Variant value = Variant::Null();
    if (FocusInDropDown(QApplication::focusWidget()))
        setFocus();
    TColumnGx* column = EditColumn();
    if (FListVisible) {
        if (!FEditButtonControlList.empty())
            FEditButtonControlList[0].Button->SetAlwaysDown(false);
        // The grid refreshes the editor's place; the list stays open meanwhile.
        if (FLockCloseList)
            return;
        CancelMouseCaptureGx();
        QWidget* list = FActiveList;
        const bool dataList = DataListActive();
        if (dataList && column) {
            value = CloseDataList(column);
        } else if (list == FPickList && column) {
            const int index = FPickList->ItemIndex();
            if (index >= 0)
                value = column->HasKeyItems() && index < column->KeyList().size()
                            ? Variant(column->KeyList().at(index))
                            : Variant(FPickList->ItemText(index));
            if (FPickList->SizeGripResized()) {
                column->SetDropDownRows(FPickList->ClientHeight() / std::max(1, FPickList->ItemHeight()));
                column->SetDropDownWidth(FPickList->width());
            }
        }
        if (list)
            HideDropDownGx(list, this);
        FDroppedDown = false;
        FListVisible = false;
        if (FCaretHidden) {
            FCaretHidden = false;
            setReadOnly(FReadOnlyBeforeCalculator);
        }
        update();
        if (column) {
            if (Accept) {
                if (dataList) {
                    AcceptDataList(column, value);
                } else if (list == FPopupMonthCalendar) {
                    if (column->CanModify(true) && FDBGrid->CanEditModify()) {
                        TField* field = column->Field();
                        TDateTime stored;
                        const double time =
                            field && TryStrToDateTime(field->Text(), stored) ? TimeOf(stored).Value : 0.0;
                        const TDateTime chosen(DateOf(FPopupMonthCalendar->Date()).Value + time);
                        column->WriteCellValue(DateToStr(chosen), Variant(chosen), false);
                        setText(column->GetCellEditText());
                        FDBGrid->SetEditText(text());
                        selectAll();
                    }
                } else if (list == FPopupCalculator) {
                    if (column->CanModify(true) && FDBGrid->CanEditModify()) {
                        auto* calc = dynamic_cast<IPopupValueGx*>(FPopupCalculator);
                        const Variant v = calc ? calc->GetValue() : Variant();
                        if (v.IsNumeric()) {
                            setText(FloatToStr(v.ToDouble()));
                            FDBGrid->SetEditText(text());
                            selectAll();
                        }
                    }
                } else if (!value.IsNull() && FDBGrid->CanEditModify()) {
                    const QString t = column->HasKeyItems() ? FPickList->ItemText(FPickList->ItemIndex())
                                                            : value.ToString();
                    setText(t);
                    FDBGrid->SetEditText(t);
                    UpdateImageIndex();
                }
            } else if (dataList || list == FPickList) {
                setText(FDBGrid->EditText());
            }
        }
    }
    // The grid takes the focus, which the editor keeps while it is shown.
    if (FDBGrid && window()->focusWidget() != this)
        FDBGrid->setFocus();
}

void TDBGridInplaceEdit::ListMouseUp(QWidget* List, TMouseButton Button, int X, int Y)
{
    if (Button != mbLeft || !List)
        return;
    auto* control = qobject_cast<TCustomControl*>(List);
    const TRect client = control ? control->ClientRect() : TRect(List->rect());
    const bool inside = PtInRect(client, TPoint(X, Y));
    if (List == FMRUListControl)
        CloseMRUList(inside);
    else
        CloseUp(inside);
}

// ---------------------------------------------------------------- keys

void TDBGridInplaceEdit::SelectPickListText(const QString& Text)
{
    if (FPickList)
        FPickList->SetItemIndex(FindListItem(FPickList->Items()->Texts(), Text, 0));
}

bool TDBGridInplaceEdit::ListKeys(WORD Key, TShiftState Shift)
{
    const bool alt = Shift.contains(ssAlt);
    if ((Key == VK_RETURN || Key == VK_ESCAPE) && FListVisible && !alt && FActiveList != FPopupCalculator) {
        TColumnGx* column = EditColumn();
        if (DataListActive() && Key == VK_RETURN && column && column->OnNotInList && DataListNotInList(column))
            CloseUp(false);
        else
            CloseUp(Key == VK_RETURN);
        return true;
    }
    if (Key == VK_RETURN && Shift.contains(ssCtrl) && !FListVisible) {
        DropDown();
        return true;
    }
    if ((Key == VK_UP || Key == VK_DOWN) && alt) {
        if (FListVisible)
            CloseUp(true);
        else
            DropDown();
        return true;
    }
    return false;
}

bool TDBGridInplaceEdit::DropDownKeys(QKeyEvent* e)
{
    const WORD key = VirtualKeyFromQt(e->key());
    const TShiftState shift = ShiftStateFromQt(e->modifiers());
    const QChar ch = KeyPressCharFromQt(e->key(), e->modifiers(), e->text());
    TColumnGx* column = EditColumn();
    if (IsDropDownStyle()) {
        if (key != 0 && ListKeys(key, shift))
            return true;
        if (ch.unicode() >= 32 && !FListVisible && column && column->AutoDropDown())
            DropDown();
        if (FListVisible) {
            if (FActiveList == FPopupCalculator) {
                auto* calc = static_cast<TPopupCalculatorGx*>(FPopupCalculator);
                if (key == VK_ESCAPE) {
                    SendKeyToList(calc, key, shift);
                    return true;
                }
                if (key == VK_BACK || key == VK_RETURN) {
                    calc->ProcessKey(QChar(key == VK_BACK ? 8 : 13));
                    return true;
                }
                if (ch.unicode() >= 32 && ch.unicode() <= 126) {
                    calc->ProcessKey(ch);
                    return true;
                }
            } else {
                const bool noShift = !shift.contains(ssShift);
                const bool pass = key == VK_PRIOR || key == VK_NEXT || ((key == VK_UP || key == VK_DOWN) && noShift) ||
                                  ((key == VK_HOME || key == VK_END) && shift.contains(ssCtrl)) ||
                                  ((key == VK_LEFT || key == VK_RIGHT) && IsCalendarStyle(FEditStyle));
                if (pass) {
                    SendKeyToList(FActiveList, key, shift);
                    if (DataListActive()) {
                        setText(DataListSelectedItem());
                        selectAll();
                    } else if (FActiveList == FPickList && FPickList->ItemIndex() >= 0) {
                        const QString item = FPickList->ItemText(FPickList->ItemIndex());
                        if (text() != item) {
                            setText(item);
                            selectAll();
                        }
                    }
                    return true;
                }
            }
        }
    }
    if (MRUListVisible()) {
        const bool listKey = ((key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) &&
                              !shift.contains(ssAlt)) ||
                             ((key == VK_HOME || key == VK_END) && shift.contains(ssCtrl));
        if (listKey) {
            SendKeyToList(FMRUListControl, key, shift);
            return true;
        }
        if (key == VK_RETURN || key == VK_ESCAPE) {
            CloseMRUList(key == VK_RETURN);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- edit-button mouse

void TDBGridInplaceEdit::EditButtonControlMouseMove(QObject* Sender, TShiftState Shift, int X, int Y)
{
    auto* button = qobject_cast<TCustomControl*>(Sender);
    if (!FListVisible || !FActiveList || !button || FEditButtonControlList.empty() ||
        button != FEditButtonControlList[0].Button || !button->MouseCapture())
        return;
    const QPoint inList = FActiveList->mapFromGlobal(button->mapToGlobal(QPoint(X, Y)));
    auto* list = qobject_cast<TCustomControl*>(FActiveList);
    if (!list)
        return;
    const TRect area = DataListActive() ? DataListDataRect() : list->ClientRect();
    if (!PtInRect(area, TPoint(inList.x(), inList.y())))
        return;
    // Pressed on the button and dragged into the list: the list takes over the press.
    button->SetMouseCapture(false);
    list->SetMouseCapture(true);
    list->MouseDown(mbLeft, Shift, inList.x(), inList.y());
}

void TDBGridInplaceEdit::EditButtonControlMouseUp(QObject* Sender, TMouseButton, TShiftState, int X, int Y)
{
    auto* button = qobject_cast<TCustomControl*>(Sender);
    if (button && !PtInRect(button->ClientRect(), TPoint(X, Y)))
        FNoClickCloseUp = false;
}

TEditButtonControlGx* TDBGridInplaceEdit::FindEditButtonByShortCut(TShortCut ShortCut)
{
    TColumnGx* column = EditColumn();
    if (!column || ShortCut == 0)
        return nullptr;
    for (int i = 0; i < column->EditButtons()->Count(); ++i)
        if (column->EditButtons()->ButtonAt(i)->ShortCut() == ShortCut &&
            size_t(i + 1) < FEditButtonControlList.size())
            return FEditButtonControlList[size_t(i + 1)].Button;
    return nullptr;
}

void TDBGridInplaceEdit::PopupEditButtonMenu(QMenu* Menu, TEditButtonControlGx* Button)
{
    // Under the button, right-aligned for a right-to-left menu; the button comes up.
    const bool right = Menu->layoutDirection() == Qt::RightToLeft;
    const QPoint at = Button->mapToGlobal(QPoint(right ? Button->width() : 0, Button->height()));
    Menu->popup(right ? at - QPoint(Menu->sizeHint().width(), 0) : at);
    Button->SetDown(false);
}

// ---------------------------------------------------------------- wheel

void TDBGridInplaceEdit::wheelEvent(QWheelEvent* e)
{
    // An open drop-down keeps the grid from scrolling under it.
    if (FListVisible) {
        e->accept();
        return;
    }
    TInplaceEdit::wheelEvent(e);
}

// ---------------------------------------------------------------- most-recently-used list

bool TDBGridInplaceEdit::MRUListVisible() const
{
    return FMRUList && FMRUList->DroppedDown() && FMRUListControl && FMRUListControl->isVisible();
}

TMRUListboxGx* TDBGridInplaceEdit::CreateMRUListControl()
{
    auto* list = new TMRUListboxGx(this);
    list->hide();
    list->SetCtl3D(false);
    list->OnMouseUp = [this](QObject*, TMouseButton Button, TShiftState, int X, int Y) {
        ListMouseUp(FMRUListControl, Button, X, Y);
    };
    return list;
}

TMRUListboxGx* TDBGridInplaceEdit::GetMRUListControl()
{
    if (!FMRUListControl)
        FMRUListControl = CreateMRUListControl();
    return FMRUListControl;
}

void TDBGridInplaceEdit::FilterMRUItem(TMRUListGx* Sender, const QString& Item, bool& Accept)
{
    Accept = Item.startsWith(text(), Sender->CaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive);
    if (Sender->OnFilterItem)
        Sender->OnFilterItem(Sender, Item, Accept);
}

void TDBGridInplaceEdit::ShowMRUList()
{
    if (!FMRUList)
        return;
    TMRUListboxGx* list = GetMRUListControl();
    QStringList filtered;
    for (const QString& item : FMRUList->Items()) {
        bool accept = true;
        FilterMRUItem(FMRUList, item, accept);
        if (accept)
            filtered.append(item);
    }
    if (filtered.isEmpty())
        FMRUList->SetDroppedDown(false);
    list->Items()->SetTexts(filtered);
    const int rows = std::max(1, std::min(int(filtered.size()), FMRUList->Rows()));
    TColumnGx* column = EditColumn();
    if (list->isVisible()) {
        if (filtered.isEmpty()) {
            CloseMRUList(false);
            return;
        }
        list->SetRowCount(rows);
        const TPoint at = PlaceDropDownAtEdit(this, list, DropDownAlignment(column));
        list->move(at.X, at.Y);
        list->show();
        return;
    }
    if (filtered.isEmpty())
        return;
    list->SetColor(EditorColor());
    if (column)
        list->Font()->Assign(*column->Font());
    list->SetItemHeight(list->GetTextHeight());
    list->SetItemIndex(-1);
    list->SetRowCount(rows);
    list->resize(FMRUList->Width() > 0 && FMRUList->Width() > width() ? FMRUList->Width() : width(), list->height());
    const TPoint at = PlaceDropDownAtEdit(this, list, DropDownAlignment(column));
    list->move(at.X, at.Y);
    list->SizeGrip()->show();
    list->show();
    list->SetSizeGripResized(false);
    FMRUList->SetDroppedDown(true);
}

void TDBGridInplaceEdit::CloseMRUList(bool Accept)
{
    if (!MRUListVisible())
        return;
    TMRUListboxGx* list = FMRUListControl;
    CancelMouseCaptureGx();
    HideDropDownGx(list, this);
    FMRUList->SetDroppedDown(false);
    MRUListClosed();
    if (Accept && !isReadOnly() && FDBGrid) {
        FDBGrid->DataLink()->Edit();
        if (FDBGrid->DataLink()->Editing() && list->ItemIndex() >= 0) {
            const QString item = list->ItemText(list->ItemIndex());
            setText(item);
            FDBGrid->SetEditText(item);
            FDBGrid->DataLink()->SetModified();
            if (hasFocus())
                selectAll();
        }
    }
}

void TDBGridInplaceEdit::MRUListClosed()
{
    if (!FMRUList || !FMRUListControl)
        return;
    FMRUList->SetRows(FMRUListControl->RowCount());
    FMRUList->SetWidth(FMRUListControl->width());
}
