// The data-aware edit's button strip (the main button and the extra buttons),
// their shortcuts and mouse handling, the drop-down protocol of the descendants
// and the drop-down of most-recently-used texts.
#include "DBCtrlsGx.h"
#include "PopupListboxGx.h"
#include "SizeGripGx.h"
#include "ToolCtrlsGxDraw.h"
#include "platform/gui/Application.h"
#include <QMenu>
#include <cmath>

// ---------------------------------------------------------------------------
// Layout

TEditButtonControlGx* TCustomDBEditGx::CreateEditButtonControl()
{
    auto* control = new TEditButtonControlGx(this);
    control->resize(10, 17);
    control->setVisible(true);
    return control;
}

void TCustomDBEditGx::UpdateButtonControl(int Index, TEditButtonGx* Button, int AvailHeight)
{
    TEditButtonControlGx* ctl = FEditButtonControlList[size_t(Index)].EditButtonControl;
    ctl->SetStyle(Button->Style());
    ctl->Glyph()->Assign(*Button->Glyph());
    ctl->SetHint(Button->Hint());
    ctl->SetShowHint(!Button->Hint().isEmpty());
    ctl->SetFlat(FFlat);
    int w = 0;
    if (Button->Visible()) {
        if (Button->Width() > 0)
            w = Button->Width();
        else if (FFlat)
            w = GetDefaultFlatButtonWidth();
        else
            w = GetSystemMetrics(SM_CXVSCROLL);
    }
    int h = AvailHeight;
    if (w > 0 && int(std::lround(w * 1.5)) < AvailHeight)
        h = CalcEditButtonHeight(w, FFlat);
    ctl->resize(w, h);
    ctl->setVisible(Button->Visible());
    ctl->OnDown = [this](QObject* sender, bool topButton, bool& autoRepeat, bool& handled) {
        EditButtonDown(sender, topButton, autoRepeat, handled);
    };
    ctl->OnClick = [this](QObject* sender) { EditButtonClick(sender); };
    ctl->OnMouseMove = [this](QObject* sender, TShiftState shift, int x, int y) {
        EditButtonMouseMove(sender, shift, x, y);
    };
    ctl->OnMouseUp = [this](QObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
        EditButtonMouseUp(sender, button, shift, x, y);
    };
    ctl->setProperty("Tag", Index);
}

void TCustomDBEditGx::LayoutEditButtons()
{
    if (!FEditButton || !FEditButtons)
        return;
    const TRect inner = InnerRect();
    int top = inner.Top;
    int avail = inner.Height();
    if (FBorderSingle && !FCtl3D) {
        top += 1;
        avail -= 2;
    }
    avail = std::max(0, avail);
    const size_t count = size_t(1 + FEditButtons->Count());
    while (FEditButtonControlList.size() > count) {
        TEditButtonControlLineRec rec = FEditButtonControlList.back();
        FEditButtonControlList.pop_back();
        delete rec.EditButtonControl;
        delete rec.ButtonLine;
    }
    while (FEditButtonControlList.size() < count) {
        TEditButtonControlLineRec rec;
        rec.EditButtonControl = CreateEditButtonControl();
        rec.ButtonLine = new QWidget(this);
        rec.ButtonLine->setAutoFillBackground(true);
        rec.ButtonLine->setAttribute(Qt::WA_TransparentForMouseEvents);
        FEditButtonControlList.push_back(rec);
    }
    int common = -1;
    const bool lines = FFlat && !IsThemingActive();
    for (size_t i = 0; i < count; ++i) {
        TEditButtonGx* button = i == 0 ? FEditButton.get() : FEditButtons->ButtonAt(int(i) - 1);
        UpdateButtonControl(int(i), button, avail);
        TEditButtonControlGx* ctl = FEditButtonControlList[i].EditButtonControl;
        if (button->Visible() && (common < 0 || ctl->height() < common))
            common = ctl->height();
        QWidget* line = FEditButtonControlList[i].ButtonLine;
        const bool lineVisible = lines && button->Visible();
        line->resize(lineVisible ? 1 : 0, line->height());
        line->setVisible(lineVisible);
    }
    if (common < 0)
        common = avail;
    int total = 0;
    for (const TEditButtonControlLineRec& rec : FEditButtonControlList)
        total += rec.EditButtonControl->width() + rec.ButtonLine->width();
    int x = inner.Right - total;
    const bool rtl = UseRightToLeftAlignment();
    auto place = [&](QWidget* w) {
        const int width = w->width();
        const int left = rtl ? this->width() - x - width : x;
        w->setGeometry(left, top, width, common);
        x += width;
    };
    for (const TEditButtonControlLineRec& rec : FEditButtonControlList) {
        place(rec.EditButtonControl);
        place(rec.ButtonLine);
    }
    FButtonWidth = total;
    FButtonHeight = common;
}

void TCustomDBEditGx::UpdateEditButtonsState()
{
    if (!FEditButton || !FEditButtons)
        return;
    for (size_t i = 0; i < FEditButtonControlList.size(); ++i) {
        const TEditButtonControlLineRec& rec = FEditButtonControlList[i];
        TEditButtonGx* button = i == 0 ? FEditButton.get()
                                : int(i) - 1 < FEditButtons->Count() ? FEditButtons->ButtonAt(int(i) - 1)
                                                                      : nullptr;
        if (!button)
            continue;
        rec.EditButtonControl->SetEnabledState(isEnabled() && button->Enabled());
        rec.EditButtonControl->SetActive(FBorderActive);
        QPalette pal = rec.ButtonLine->palette();
        pal.setColor(QPalette::Window, ToQColor(FBorderActive ? TColor(clBtnFace) : Color()));
        rec.ButtonLine->setPalette(pal);
    }
}

TEditButtonGx* TCustomDBEditGx::ButtonOfControl(QObject* Sender, bool* IsMain)
{
    for (size_t i = 0; i < FEditButtonControlList.size(); ++i) {
        if (FEditButtonControlList[i].EditButtonControl != Sender)
            continue;
        if (IsMain)
            *IsMain = i == 0;
        if (i == 0)
            return FEditButton.get();
        return int(i) - 1 < FEditButtons->Count() ? FEditButtons->ButtonAt(int(i) - 1) : nullptr;
    }
    if (IsMain)
        *IsMain = false;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Shortcuts, presses and clicks

int TCustomDBEditGx::ButtonOfShortCut(WORD Key, TShiftState Shift) const
{
    TShortCut sc = Key;
    if (Shift.contains(ssShift))
        sc |= 0x2000;
    if (Shift.contains(ssCtrl))
        sc |= 0x4000;
    if (Shift.contains(ssAlt))
        sc |= 0x8000;
    for (size_t i = 0; i < FEditButtonControlList.size(); ++i) {
        const TEditButtonGx* button = i == 0 ? FEditButton.get()
                                      : int(i) - 1 < FEditButtons->Count() ? FEditButtons->ButtonAt(int(i) - 1)
                                                                            : nullptr;
        if (button && button->ShortCut() != 0 && button->ShortCut() == sc)
            return int(i);
    }
    return -1;
}

// The button is pressed as by the mouse (not its upper half), then clicked.
bool TCustomDBEditGx::PressShortCut(WORD Key, TShiftState Shift)
{
    const int index = ButtonOfShortCut(Key, Shift);
    if (index < 0)
        return false;
    QPointer<TEditButtonControlGx> ctl(FEditButtonControlList[size_t(index)].EditButtonControl);
    bool autoRepeat = false;
    ctl->EditButtonDown(false, autoRepeat);
    if (ctl)
        ctl->Click();
    return true;
}

void TCustomDBEditGx::PopupButtonMenu(TEditButtonGx* Button, TEditButtonControlGx* Control)
{
    QMenu* menu = Button->DropdownMenu();
    if (!menu || !Control)
        return;
    const bool right = menu->layoutDirection() == Qt::RightToLeft;
    const QPoint at = Control->mapToGlobal(QPoint(right ? Control->width() : 0, Control->height()));
    menu->popup(right ? at - QPoint(menu->sizeHint().width(), 0) : at);
}

void TCustomDBEditGx::EditButtonDown(QObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)
{
    if (!Focused() && CanFocus())
        SetFocus();
    Handled = false;
    bool isMain = false;
    TEditButtonGx* button = ButtonOfControl(Sender, &isMain);
    if (!button)
        return;
    auto* control = dynamic_cast<TEditButtonControlGx*>(Sender);
    if (isMain) {
        if (OnButtonDown)
            OnButtonDown(this, TopButton, AutoRepeat, Handled);
        if (Handled)
            return;
        if (button->DropdownMenu())
            PopupButtonMenu(button, control);
        else if (!button->Action())
            ButtonDropDown(TopButton);
    } else {
        if (button->OnDown)
            button->OnDown(Sender, TopButton, AutoRepeat, Handled);
        if (!Handled && button->DropdownMenu())
            PopupButtonMenu(button, control);
    }
}

void TCustomDBEditGx::EditButtonClick(QObject* Sender)
{
    bool isMain = false;
    TEditButtonGx* button = ButtonOfControl(Sender, &isMain);
    bool handled = false;
    if (button) {
        if (isMain) {
            button->Click(this, handled);
            if (!handled && OnButtonClick)
                OnButtonClick(this, handled);
        } else {
            button->Click(Sender, handled);
        }
    }
    if (isMain && !handled && FDroppedDown && !FNoClickCloseUp)
        CloseUp(false);
    FNoClickCloseUp = false;
}

void TCustomDBEditGx::EditButtonMouseMove(QObject*, TShiftState, int, int) {}

void TCustomDBEditGx::EditButtonMouseUp(QObject* Sender, TMouseButton, TShiftState, int X, int Y)
{
    auto* w = qobject_cast<QWidget*>(Sender);
    if (w && !QRect(0, 0, w->width(), w->height()).contains(X, Y))
        FNoClickCloseUp = false;
}

// ---------------------------------------------------------------------------
// The drop-down protocol

void TCustomDBEditGx::ButtonDropDown(bool)
{
    const TEditButtonStyleGx style = FEditButton->Style();
    if (style == ebsUpDownGx || style == ebsAltUpDownGx || FDroppedDown)
        return;
    DropDown();
    FNoClickCloseUp = true;
}

void TCustomDBEditGx::DropDown()
{
    if (!FEditButtonControlList.empty())
        FEditButtonControlList[0].EditButtonControl->SetAlwaysDown(true);
    if (FMRUList->DroppedDown())
        FMRUList->CloseUp(false);
}

void TCustomDBEditGx::CloseUp(bool)
{
    if (!FEditButtonControlList.empty())
        FEditButtonControlList[0].EditButtonControl->SetAlwaysDown(false);
}

bool TCustomDBEditGx::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    // An open MRU list scrolls first.
    if (FMRUList->DroppedDown() && FMRUListControl && FMRUListControl->DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    return TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos);
}

// ---------------------------------------------------------------------------
// The MRU list

TMRUListboxGx* TCustomDBEditGx::CreateMRUListbox()
{
    auto* list = new TMRUListboxGx(this);
    list->hide();
    list->SetCtl3D(false);
    list->Items()->SetSorted(true);
    list->OnMouseUp = [this](QObject*, TMouseButton button, TShiftState, int x, int y) {
        MRUListMouseUp(button, x, y);
    };
    list->SizeGrip()->OnParentResized = [this](TSizeGripGx*) { StoreMRUListSize(); };
    return list;
}

QWidget* TCustomDBEditGx::MRUListWidget() const { return FMRUListControl; }

int TCustomDBEditGx::MRUListItemIndex() const { return FMRUListControl ? FMRUListControl->ItemIndex() : -1; }

// Opens the list under the text, or filters an open one again by the text.
void TCustomDBEditGx::MRUListDropDown()
{
    if (!FMRUListControl)
        FMRUListControl = CreateMRUListbox();
    TMRUListboxGx* list = FMRUListControl;
    QStringList filtered;
    const bool complete = FMRUList->FilterItemsTo(filtered, EditText());
    list->Items()->SetTexts(filtered);
    if (!complete) {
        FMRUList->CloseUp(false);
        return;
    }
    const int rows = std::min(list->Count(), FMRUList->Rows());
    const QRect text = FEditWindow->rect();
    const QPoint topLeft = FEditWindow->mapToGlobal(text.topLeft());
    const TRect screen(topLeft.x(), topLeft.y(), topLeft.x() + text.width(), topLeft.y() + text.height());
    if (FMRUList->DroppedDown()) {
        if (list->Count() == 0) {
            FMRUList->CloseUp(false);
            return;
        }
        list->SetRowCount(rows);
        const TPoint at = PlaceDropDownAtRect(screen, list, 0);
        list->move(at.X, at.Y);
        list->show();
        return;
    }
    if (list->Count() == 0)
        return;
    list->SetColor(Color());
    list->setFont(font());
    list->SetItemHeight(list->GetTextHeight());
    list->SetItemIndex(-1);
    list->SetRowCount(rows);
    list->resize(FMRUList->Width() > 0 ? FMRUList->Width() : text.width(), list->height());
    const TPoint at = PlaceDropDownAtRect(screen, list, 0);
    list->move(at.X, at.Y);
    list->SizeGrip()->show();
    list->show();
    list->SetSizeGripResized(false);
    FMRUList->SetDroppedDown(true);
}

void TCustomDBEditGx::MRUListCloseUp(bool Accept)
{
    if (!FMRUList->DroppedDown())
        return;
    TMRUListboxGx* list = FMRUListControl;
    if (list && list->MouseCapture()) {
        list->SetMouseCapture(false);
        list->Perform(WM_CANCELMODE);
    }
    const bool hadFocus = list && list->hasFocus();
    if (list)
        list->hide();
    if (hadFocus)
        SetFocus();
    FMRUList->SetDroppedDown(false);
    if (Accept && list && !FReadOnly && FDataLink->Edit()) {
        if (list->ItemIndex() >= 0)
            InternalSetText(list->ItemText(list->ItemIndex()));
        if (Focused())
            SelectAll();
    }
}

void TCustomDBEditGx::MRUListMouseUp(TMouseButton Button, int X, int Y)
{
    if (Button != mbLeft || !FMRUListControl)
        return;
    FMRUList->CloseUp(PtInRect(FMRUListControl->ClientRect(), TPoint(X, Y)));
}

void TCustomDBEditGx::StoreMRUListSize()
{
    if (!FMRUListControl)
        return;
    FMRUList->SetRows(FMRUListControl->RowCount());
    FMRUList->SetWidth(FMRUListControl->width());
}

void TCustomDBEditGx::FilterMRUList(const QString& Item, bool& Accept)
{
    const QString text = EditText();
    Accept = Item.startsWith(text, FMRUList->CaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive);
    if (FMRUList->OnFilterItem)
        FMRUList->OnFilterItem(FMRUList.get(), Item, Accept);
}

void TCustomDBEditGx::UpdateMRUListOnChange()
{
    const QString empty = IsMasked() ? EmptyMaskText() : QString();
    const QString text = EditText();
    if (FMRUList->DroppedDown() && text == empty) {
        FMRUList->CloseUp(false);
        return;
    }
    if (FMRUList->Active() && isVisible() && Focused() && !FDroppedDown && text != empty)
        FMRUList->DropDown();
}
