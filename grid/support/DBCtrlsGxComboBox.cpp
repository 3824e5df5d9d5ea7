#include "DBCtrlsGxComboBox.h"
#include "DropDownEditGx.h"
#include "GxLibVCL.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/ImageList.h"
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>

void TDropDownBoxGx::Assign(const TDropDownBoxGx& Source)
{
    FAlign = Source.FAlign;
    FAutoDrop = Source.FAutoDrop;
    FRows = Source.FRows;
    FSizable = Source.FSizable;
    FWidth = Source.FWidth;
}

// ---------------------------------------------------------------------------
// Construction and the two modes

TCustomDBComboBoxGx::TCustomDBComboBoxGx(QWidget* parent) : TCustomDBEditGx(parent)
{
    // The base made its invisible button; the combo box shows its drop-down button.
    RecreateEditButton();
    FItems.OnChange = [this] { ItemsChanged(false); };
    FKeyItems.SetCaseSensitive(true);
    FKeyItems.OnChange = [this] { ItemsChanged(true); };
    FDropDownBox = CreateDropDownBox();
}

TCustomDBComboBoxGx::~TCustomDBComboBoxGx()
{
    FItems.OnChange = nullptr;
    FKeyItems.OnChange = nullptr;
    // The list (a child window) outlives the items it shows by a moment.
    if (FPopupListbox) {
        FPopupListbox->SetExtItems(nullptr);
        FPopupListbox->OnMouseUp = nullptr;
        FPopupListbox->OnGetImageIndex = nullptr;
    }
}

std::unique_ptr<TDropDownBoxGx> TCustomDBComboBoxGx::CreateDropDownBox() { return std::make_unique<TDropDownBoxGx>(); }

std::unique_ptr<TEditButtonGx> TCustomDBComboBoxGx::CreateEditButton()
{
    return std::make_unique<TVisibleEditButtonGx>(this);
}

void TCustomDBComboBoxGx::ItemsChanged(bool KeyItemsChanged)
{
    const bool wasKeyBased = FKeyBased;
    FKeyBased = FKeyItems.Count() > 0;
    FItemsCount = FKeyBased ? qMin(FItems.Count(), FKeyItems.Count()) : FItems.Count();
    if (FKeyBased && !wasKeyBased)
        TCustomDBEditGx::InternalSetText(QString());
    UpdateReadOnly();
    // The text cannot be selected with the mouse in list-only mode.
    EditWindow()->setCursor(FKeyBased ? Qt::ArrowCursor : Qt::IBeamCursor);
    ItemIndexFromText();
    if (FListVisible)
        FPopupListbox->SetCount(FItemsCount);
    ResetMaxLength();
    if (KeyItemsChanged)
        DataChanged();
}

void TCustomDBComboBoxGx::ItemIndexFromText()
{
    int index = FItems.IndexOf(EditText());
    if (index >= FItemsCount)
        index = -1;
    FItemIndex = index;
    UpdateImageIndex();
    if (FListVisible)
        FPopupListbox->SetItemIndex(FItemIndex);
}

// ---------------------------------------------------------------------------
// Item index and value

void TCustomDBComboBoxGx::SetItemIndex(int Value)
{
    if (Designing() && IsDataBound())
        return;
    if (!IsDataIndependent() && DataSource() && DataSource()->DataSet())
        DataSource()->DataSet()->Edit();
    SetItemIndexValue(Value);
    try {
        UpdateData();
    } catch (...) {
        DataLink()->Reset();
        throw;
    }
}

void TCustomDBComboBoxGx::SetItemIndexValue(int Index)
{
    if (Index == FItemIndex)
        return;
    GetItemsCount();
    SetCurrentItem(Index);
    TCustomDBEditGx::InternalSetText(FItemIndex >= 0 ? FItems.Strings(FItemIndex) : QString());
}

// The item (or none) becomes current: index, key, image and the open list's row.
void TCustomDBComboBoxGx::SetCurrentItem(int Index)
{
    if (Index < 0 || Index >= FItemsCount) {
        FItemIndex = -1;
        FVarValue = Variant::Null();
    } else {
        FItemIndex = Index;
        if (FKeyBased)
            FVarValue = Variant(FKeyItems.Strings(Index));
    }
    UpdateImageIndex();
    if (FListVisible)
        FPopupListbox->SetItemIndex(FItemIndex);
}

void TCustomDBComboBoxGx::GetItemsCount()
{
    if (FItems.Count() == 0 && OnGetItemsList)
        OnGetItemsList(this);
}

void TCustomDBComboBoxGx::Clear()
{
    if (FKeyBased)
        SetValue(Variant::Null());
    else
        TCustomDBEditGx::Clear();
}

void TCustomDBComboBoxGx::GetVariantValue(Variant& Value)
{
    if (FKeyBased)
        Value = FVarValue;
    else
        TCustomDBEditGx::GetVariantValue(Value);
}

bool TCustomDBComboBoxGx::IsValidChar(QChar Key)
{
    return FKeyBased || TCustomDBEditGx::IsValidChar(Key);
}

TAlignment TCustomDBComboBoxGx::GetDefaultAlignment()
{
    return FKeyBased ? taLeftJustify : TCustomDBEditGx::GetDefaultAlignment();
}

void TCustomDBComboBoxGx::ResetMaxLength()
{
    if (FKeyBased) {
        if (MaxLength() > 0)
            SetMaxLength(0);
        return;
    }
    TCustomDBEditGx::ResetMaxLength();
}

void TCustomDBComboBoxGx::UpdateReadOnly()
{
    TCustomDBEditGx::UpdateReadOnly();
    // Keys of the list-only mode are handled by the combo box itself.
    if (FKeyBased || ReadOnly() || !DataLink()->Editing())
        SetEditWindowReadOnly(true);
}

void TCustomDBComboBoxGx::UpdateImageIndex()
{
    FDefaultItemIndex = FItemIndex;
    if (OnGetItemImageIndex)
        OnGetItemImageIndex(this, FItemIndex, FDefaultItemIndex);
    TCustomDBEditGx::UpdateImageIndex();
}

QString TCustomDBComboBoxGx::GetDisplayTextForPaintCopy()
{
    if (FKeyBased && PaintingCopy() && Field()) {
        const int index = FKeyItems.IndexOf(Field()->Text());
        return index >= 0 && index < FItemsCount ? FItems.Strings(index) : QString();
    }
    return TCustomDBEditGx::GetDisplayTextForPaintCopy();
}

void TCustomDBComboBoxGx::InternalSetValue(const Variant& Value)
{
    if (!FKeyBased) {
        TCustomDBEditGx::InternalSetValue(Value);
        return;
    }
    FVarValue = Value;
    if (Value.IsEmptyOrNull()) {
        TCustomDBEditGx::InternalSetText(QString());
        FItemIndex = -1;
    } else {
        const int index = FKeyItems.IndexOf(VarToStr(Value));
        FItemIndex = index >= 0 && index < FItemsCount ? index : -1;
        TCustomDBEditGx::InternalSetText(FItemIndex >= 0 ? FItems.Strings(FItemIndex) : QString());
    }
    UpdateImageIndex();
    if (FListVisible)
        FPopupListbox->SetItemIndex(FItemIndex);
}

void TCustomDBComboBoxGx::InternalSetText(const QString& Text)
{
    if (!FKeyBased) {
        TCustomDBEditGx::InternalSetText(Text);
        ItemIndexFromText();
        return;
    }
    if (FReadingField)
        return;   // the key is read through InternalSetValue
    const int index = FItems.IndexOf(Text);
    if (index < 0 || index >= FItemsCount)
        return;
    SetCurrentItem(index);
    TCustomDBEditGx::InternalSetText(Text);
}

void TCustomDBComboBoxGx::InternalUpdatePostData()
{
    if (FKeyBased && FVarValue.IsEmptyOrNull())
        DataLink()->SetValue(Variant::Null());   // no item: the field is emptied
    else if (!IsDataIndependent() || FKeyBased)
        DataLink()->SetText(VarToStr(Value()));
    else
        DataLink()->SetText(EditText());
}

void TCustomDBComboBoxGx::DataChanged()
{
    const int maxLength = MaxLength();
    {
        const QScopedValueRollback<bool> reading(FReadingField, true);
        TCustomDBEditGx::DataChanged();
    }
    if (FKeyBased && MaxLength() != maxLength)
        SetMaxLength(maxLength);   // a string field's size does not limit the shown item texts
    if (TField* f = Field()) {
        if (FKeyBased || (Focused() && DataLink()->CanModify()))
            InternalSetValue(Variant(f->Text()));
    } else if (FKeyBased) {
        InternalSetValue(IsDataIndependent() ? DataLink()->DataIndependentValue : Variant::Null());
    }
    UpdateReadOnly();
    SetModified(false);
}

void TCustomDBComboBoxGx::UpdateData()
{
    if (OnNotInList && FItemIndex == -1) {
        bool recheck = false;
        OnNotInList(this, EditText(), recheck);
    }
    TCustomDBEditGx::UpdateData();
}

// ---------------------------------------------------------------------------
// Searching and stepping

bool TCustomDBComboBoxGx::LocateItem(const QString& Text, bool PartialKey)
{
    if (!EditCanModify())
        return false;
    const int old = FItemIndex;
    try {
        int found = -1;
        for (int i = 0; i < FItemsCount && found < 0; ++i) {
            const QString item = FItems.Strings(i);
            if (NlsCompareText(PartialKey ? item.left(Text.size()) : item, Text) == 0)
                found = i;
        }
        if (found >= 0) {
            SetItemIndexValue(found);
            if (PartialKey && EditText() != FItems.Strings(found))
                TCustomDBEditGx::InternalSetText(FItems.Strings(found));
            // The completion: the rest of the item stays selected, the caret at the end.
            const int length = EditText().size();
            EditWindow()->setSelection(Text.size(), length - Text.size());
        } else if (!FKeyBased) {
            // Not in the list: the typed text stays and no item is current.
            SetCurrentItem(-1);
        }
    } catch (...) {
        SetCurrentItem(old);
        throw;
    }
    return FItemIndex != old;
}

bool TCustomDBComboBoxGx::SelectItemByTyping(const QString& Text)
{
    if (!(IsDataIndependent() || Field()) || !EditCanModify())
        return false;
    if (Text == QString(QChar(8))) {
        // Backspace shortens the typed prefix: the selection starts one character earlier.
        const int length = EditText().size();
        int start = SelLength() == length ? length - 1 : SelStart() - 1;
        start = qMax(0, start);
        EditWindow()->setSelection(start, length - start);
        return false;
    }
    GetItemsCount();
    return LocateItem(EditText().left(SelStart()) + Text, true);
}

void TCustomDBComboBoxGx::SelectNextValue(bool IsPrior)
{
    if (!EditCanModify())
        return;
    GetItemsCount();
    int index = FItemIndex;
    if (IsPrior) {
        if (index > 0)
            --index;
        else if (index == -1)
            index = FItemsCount - 1;
    } else if (index < FItemsCount - 1) {
        ++index;
    }
    if (index == FItemIndex)
        return;
    SetItemIndexValue(index);
    SelectAll();
}

// ---------------------------------------------------------------------------
// Keys, mouse and focus

bool TCustomDBComboBoxGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    if (FListVisible && (Key == VK_RETURN || Key == VK_ESCAPE))
        return true;
    return TCustomDBEditGx::WantSpecialKey(Key, Shift);
}

bool TCustomDBComboBoxGx::DropDownKey(WORD Key, TShiftState Shift)
{
    if (!FListVisible)
        return TCustomDBEditGx::DropDownKey(Key, Shift);
    if (Key == VK_RETURN || Key == VK_ESCAPE) {
        CloseUp(Key == VK_RETURN);
        return true;
    }
    const bool listKey = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN ||
                         ((Key == VK_HOME || Key == VK_END) && Shift.contains(ssCtrl));
    if (!listKey)
        return false;
    // A button's shortcut (Alt+Down closes the list again) stays with the editor.
    if (ButtonOfShortCut(Key, Shift) >= 0)
        return false;
    SendKeyToWindow(FPopupListbox, Key, Shift);
    return true;
}

void TCustomDBComboBoxGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomDBEditGx::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if ((Key == VK_UP || Key == VK_DOWN) && !Shift.contains(ssAlt) && !ReadOnly() && !FListVisible &&
        (!WordWrap() || SelLength() == EditText().size())) {
        SelectNextValue(Key == VK_UP);
        Key = 0;
    } else if (Key == VK_DELETE && FKeyBased) {
        TField* f = Field();
        if ((IsDataIndependent() || (f && !f->Required())) && EditCanModify())
            InternalSetValue(Variant::Null());
        Key = 0;
    }
}

void TCustomDBComboBoxGx::KeyPress(QChar& Key)
{
    FTypedKey = QChar();
    // Starting the edit re-reads the field; the typed prefix (the text before the
    // selection) must survive it.
    const QString text = EditText();
    const int selStart = SelStart();
    const int selLength = SelLength();
    TCustomDBEditGx::KeyPress(Key);
    const ushort c = Key.unicode();
    if (c == 0)
        return;
    if (FKeyBased && EditText() == text)
        EditWindow()->setSelection(selStart, selLength);
    if (c > 31 && FDropDownBox->AutoDrop() && !FListVisible)
        DropDown();
    if (FKeyBased) {
        if (c == 8 || c > 31) {
            SelectItemByTyping(QString(Key));
            Key = QChar(0);
        } else if (c == 22) {
            // Pasted text searches the items as if typed.
            SelectItemByTyping(QApplication::clipboard()->text());
            Key = QChar(0);
        }
        return;
    }
    if (Key != QLatin1Char('.') && !CurrentShiftState().contains(ssCtrl) && (c == 8 || c > 31))
        FTypedKey = Key;
}

void TCustomDBComboBoxGx::UpdateMRUListOnChange()
{
    TCustomDBEditGx::UpdateMRUListOnChange();
    // The edit window has taken the typed character: complete the text, or find it.
    const QChar typed = FTypedKey;
    FTypedKey = QChar();
    if (FKeyBased || typed.isNull())
        return;
    const QString text = EditText();
    const int caret = EditWindow()->cursorPosition();
    if (typed != QChar(8) && caret == text.size() && !EditWindow()->hasSelectedText())
        LocateItem(text.left(caret), true);
    else
        LocateItem(text, false);
}

bool TCustomDBComboBoxGx::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (FListVisible && FPopupListbox->DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (TCustomDBEditGx::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (!NoShiftKeysGx(Shift) || ReadOnly() || !EditCanModify())
        return false;
    SelectNextValue(WheelDelta > 0);
    return true;
}

void TCustomDBComboBoxGx::ButtonDropDown(bool TopButton)
{
    if (IsUpDownButtonGx(EditButton())) {
        // The upper half steps to the next item, the lower half to the previous one.
        SelectNextValue(!TopButton);
        return;
    }
    TCustomDBEditGx::ButtonDropDown(TopButton);
}

bool TCustomDBComboBoxGx::EditWindowMouseAllowed(QMouseEvent* e)
{
    if (!FKeyBased)
        return TCustomDBEditGx::EditWindowMouseAllowed(e);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        // A press on the text of a bound list-only editor opens the list; the next one closes it.
        if (e->button() == Qt::LeftButton && IsDataBound()) {
            if (!Focused() && CanFocus())
                SetFocus();
            if (FListVisible)
                CloseUp(false);
            else
                DropDown();
        }
        return false;
    case QEvent::MouseButtonDblClick:
        return false;
    case QEvent::MouseButtonRelease:
        if (e->button() == Qt::RightButton) {
            QContextMenuEvent menu(QContextMenuEvent::Mouse, e->position().toPoint(), e->globalPosition().toPoint());
            QCoreApplication::sendEvent(this, &menu);
        }
        return false;
    default:
        return TCustomDBEditGx::EditWindowMouseAllowed(e);
    }
}

void TCustomDBComboBoxGx::EditButtonMouseMove(QObject* Sender, TShiftState Shift, int X, int Y)
{
    TCustomDBEditGx::EditButtonMouseMove(Sender, Shift, X, Y);
    auto* control = qobject_cast<TCustomControl*>(Sender);
    if (!FListVisible || !control || !Shift.contains(ssLeft) || !(control->MouseCapture() || MouseCapture()))
        return;
    // Pressed on the button and dragged into the list: the list takes over the press.
    const QPoint inList = FPopupListbox->mapFromGlobal(control->mapToGlobal(QPoint(X, Y)));
    if (!PtInRect(FPopupListbox->ItemsRect(), TPoint(inList.x(), inList.y())))
        return;
    control->SetMouseCapture(false);
    SetMouseCapture(false);
    FPopupListbox->SetMouseCapture(true);
    FPopupListbox->MouseDown(mbLeft, Shift, inList.x(), inList.y());
}

void TCustomDBComboBoxGx::FocusKilled()
{
    TCustomDBEditGx::FocusKilled();
    if (!FListVisible)
        return;
    // A click may make the list the active window (it hands the activation back).
    if (!DropDownHoldsFocusGx(FPopupListbox))
        CloseUp(false);
}

void TCustomDBComboBoxGx::CMCancelMode(QWidget* Sender)
{
    TCustomDBEditGx::CMCancelMode(Sender);
    if (!FListVisible)
        return;
    if (!IsEditorOrDropDownGx(this, FPopupListbox, Sender))
        CloseUp(false);
}

// ---------------------------------------------------------------------------
// The drop-down list

TPopupListboxGx* TCustomDBComboBoxGx::PopupListbox()
{
    if (!FPopupListbox) {
        FPopupListbox = PopupListboxClass ? PopupListboxClass(this) : new TPopupListboxGx(this);
        FPopupListbox->hide();
        FPopupListbox->SetCtl3D(true);
        FPopupListbox->OnMouseUp = [this](QObject*, TMouseButton Button, TShiftState, int X, int Y) {
            ListMouseUp(Button, X, Y);
        };
        FPopupListbox->OnGetImageIndex = [this](QObject*, int Index, int& ImageIndex) {
            if (OnGetItemImageIndex)
                OnGetItemImageIndex(this, Index, ImageIndex);
        };
    }
    return FPopupListbox;
}

void TCustomDBComboBoxGx::ListMouseUp(TMouseButton Button, int X, int Y)
{
    if (Button != mbLeft)
        return;
    const bool inside = X >= 0 && Y >= 0 && X < FPopupListbox->width() && Y < FPopupListbox->height();
    CloseUp(inside && FPopupListbox->IsMouseUpCloseListbox());
}

void TCustomDBComboBoxGx::DropDown()
{
    if (FListVisible)
        return;
    TCustomDBEditGx::DropDown();
    if (OnDropDown)
        OnDropDown(this);
    TPopupListboxGx* list = PopupListbox();
    GetItemsCount();
    list->SetColor(Color());
    list->Font()->Assign(*Font());
    TImageList* images = Images();
    list->SetImageList(images);
    int itemHeight = list->GetTextHeight();
    if (images && EditImage()->UseImageHeight())
        itemHeight = qMax(itemHeight, images->Height());
    list->SetItemHeight(itemHeight);
    list->SetExtItems(&FItems);
    list->SetCount(FItemsCount);
    // The rows first: selecting an item scrolls it into a list of that many rows.
    list->SetRowCount(qMax(1, qMin(FDropDownBox->Rows(), FItemsCount)));
    list->SetItemIndex(FItemIndex);

    int width = FDropDownBox->Width();
    if (width == -1) {
        const QFontMetrics fm(list->font());
        int widest = 0;
        for (int i = 0; i < FItemsCount; ++i)
            widest = qMax(widest, fm.horizontalAdvance(FItems.Strings(i)));
        width = widest + 5 + (images ? images->Width() + 4 : 0) + 2 * list->FrameWidth();
        if (FItemsCount > list->RowCount())
            width += ScrollBarExtent();
    } else if (width < 1) {
        width = this->width();
    }
    list->resize(qMax(width, this->width()), list->height());

    int align = FDropDownBox->Align() == TDropDownAlign::daRight ? 1 : FDropDownBox->Align() == TDropDownAlign::daCenter ? 2 : 0;
    if (UseRightToLeftAlignment() && align != 2)
        align = 1 - align;
    const TPoint at = PlaceDropDownAtEdit(this, list, align);
    list->move(at.X, at.Y);
    list->SizeGrip()->SetGripVisible(FDropDownBox->Sizable());
    list->show();
    FListVisible = true;
    FDroppedDown = true;
    list->SetSizeGripResized(false);
}

void TCustomDBComboBoxGx::CloseUp(bool Accept)
{
    if (!FListVisible)
        return;
    CancelMouseCaptureGx();
    HideDropDownGx(FPopupListbox, this);
    if (FPopupListbox->SizeGripResized()) {
        FDropDownBox->SetRows(FPopupListbox->RowCount());
        FDropDownBox->SetWidth(FPopupListbox->width());
    }
    FListVisible = false;
    FDroppedDown = false;
    TCustomDBEditGx::CloseUp(Accept);
    if (OnClosingUp)
        OnClosingUp(this, Accept);
    if (Accept && !ReadOnly() && EditCanModify()) {
        SetItemIndexValue(FPopupListbox->ItemIndex());
        if (Focused())
            SelectAll();
    }
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}

void TCustomDBComboBoxGx::DoEnter()
{
    TCustomDBEditGx::DoEnter();
    if (FKeyBased)
        SetEditWindowReadOnly(true);
}
