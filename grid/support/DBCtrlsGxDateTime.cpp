#include "DBCtrlsGxDateTime.h"
#include "DropDownEditGx.h"
#include "SizeGripGx.h"
#include "platform/db/Field.h"
#include <QApplication>

namespace {

// Sets a flag for the lifetime of the guard.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : FFlag(flag), FOld(flag) { FFlag = true; }
    ~TFlagGuard() { FFlag = FOld; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

bool NoModifiers(TShiftState Shift) { return (Shift * TShiftState{ssShift, ssCtrl, ssAlt}).empty(); }

bool IsWithin(const QWidget* outer, const QWidget* w) { return w && outer && (w == outer || outer->isAncestorOf(w)); }

} // namespace

TCustomDBDateTimeEditGx::TCustomDBDateTimeEditGx(QWidget* parent)
    : TCustomDBEditGx(parent)
{
    RecreateEditButton();   // visible, drop-down style, Alt+Down
    FRules.UpdateFourDigitYear();
    UpdateMask();
}

TCustomDBDateTimeEditGx::~TCustomDBDateTimeEditGx() = default;

std::unique_ptr<TEditButtonGx> TCustomDBDateTimeEditGx::CreateEditButton()
{
    return std::make_unique<TVisibleEditButtonGx>(this);
}

// ---- kind and format ------------------------------------------------------

void TCustomDBDateTimeEditGx::SetKind(TDateTimeKindGx Value)
{
    if (Value == FRules.Kind)
        return;
    FRules.Kind = Value;
    UpdateMask();
    DataChanged();
    UpdateEditButtonsState();
}

void TCustomDBDateTimeEditGx::SetEditFormat(const QString& Value)
{
    FRules.Kind = dtkCustomGx;
    if (Value == FRules.EditFormat)
        return;
    FRules.SetEditFormat(Value);   // raises on a bad format, before anything changes
    ApplyMask();
    DataChanged();
    UpdateEditButtonsState();
}

void TCustomDBDateTimeEditGx::UpdateFourDigitYear()
{
    if (FRules.UpdateFourDigitYear())
        ApplyMask();
}

void TCustomDBDateTimeEditGx::UpdateMask()
{
    FRules.UpdateMask();
    ApplyMask();
}

void TCustomDBDateTimeEditGx::ApplyMask()
{
    // The mask is the format's, not one given explicitly: a field's mask never replaces it.
    // Applying a mask makes the base write the edit text back (data-independent) or re-read
    // the field; the own value survives and is shown in the new mask.
    TFlagGuard guard(FInternalTextSetting);
    const Variant value = FValue;
    const Variant own = DataLink()->DataIndependentValue;
    SetEditMask(FRules.EditMask);
    FAssignedValues &= ~TDBEditGxValues(evEditMaskGx);
    DataLink()->DataIndependentValue = own;
    FValue = value;
    ShowText(FRules.TextOf(FValue));
    SetModified(false);
}

// ---- value and text ---------------------------------------------------------

Variant TCustomDBDateTimeEditGx::DateTimeValueOf(const Variant& V) const
{
    if (V.IsEmptyOrNull())
        return Variant::Null();
    if (V.Type() == VarType::String) {
        const QString text = V.ToString();
        TDateTime dt;
        if (TryStrToDateTime(text.trimmed(), dt))
            return Variant(dt);
        return FRules.Masked() ? FRules.TypedValue(text, Variant::Null()) : Variant::Null();
    }
    try {
        return Variant(V.ToDateTime());
    } catch (const Exception&) {
        return Variant::Null();
    }
}

void TCustomDBDateTimeEditGx::ShowText(const QString& Text)
{
    // The text already shown stays, with its caret and selection (re-reading the field when
    // the dataset enters edit state must not disturb the typing that caused it).
    const QString shown = EditText();
    if (Text == shown || (Text.isEmpty() && shown == EmptyMaskText()))
        return;
    TFlagGuard guard(FInternalTextSetting);
    TCustomDBEditGx::InternalSetText(Text);
}

void TCustomDBDateTimeEditGx::GetVariantValue(Variant& Value)
{
    Value = FValue;
}

void TCustomDBDateTimeEditGx::InternalSetValue(const Variant& Value)
{
    FValue = DateTimeValueOf(Value);
    ShowText(FRules.TextOf(FValue));
}

void TCustomDBDateTimeEditGx::InternalSetText(const QString& Text)
{
    const Variant v = FRules.ParseText(Text, FValue);   // raises; nothing changes then
    FValue = v;
    ShowText(FRules.TextOf(FValue));
}

void TCustomDBDateTimeEditGx::Change()
{
    if (!FInternalTextSetting)
        FValue = FRules.TypedValue(Text(), FValue);
    TCustomDBEditGx::Change();
}

void TCustomDBDateTimeEditGx::DataChanged()
{
    if (TField* f = Field()) {
        if (f->Alignment() != Alignment())
            Invalidate();
        InternalSetValue(f->Value());
    } else if (IsDataIndependent()) {
        InternalSetValue(DataLink()->DataIndependentValue);
    } else {
        InternalSetValue(Variant::Null());
    }
    SetModified(false);
}

void TCustomDBDateTimeEditGx::InternalUpdatePostData()
{
    Variant base = Variant::Null();
    if (IsDataIndependent())
        base = DateTimeValueOf(DataLink()->DataIndependentValue);
    else if (TField* f = Field())
        base = f->Value();
    DataLink()->SetValue(FRules.PostValue(FValue, Text(), base));
}

void TCustomDBDateTimeEditGx::ValidateEdit()
{
    if (FEditValidating)
        return;
    TFlagGuard guard(FEditValidating);
    TCustomDBEditGx::ValidateEdit();
    // Only a text the user or a step changed needs completing; a shown value is complete.
    if (!FRules.Masked() || !(Modified() || DataLink()->IsModified()))
        return;
    FValue = FRules.Validate(Text(), FValue);
    const QString text = FRules.TextOf(FValue);
    if (text != Text().trimmed() || FValue.IsNull())
        ShowText(text);
}

QString TCustomDBDateTimeEditGx::GetDisplayTextForPaintCopy()
{
    if (PaintingCopy() && Field())
        return Field()->IsNull() ? QString() : FRules.TextOf(Field()->Value());
    return TCustomDBEditGx::GetDisplayTextForPaintCopy();
}

void TCustomDBDateTimeEditGx::FilterMRUList(const QString& Item, bool& Accept)
{
    Accept = TDateTimeEditRulesGx::MRUItemMatches(EditText(), Item);
}

// ---- stepping ---------------------------------------------------------------

bool TCustomDBDateTimeEditGx::CanStep()
{
    return FRules.Masked() && !ReadOnly() && DataLink()->Edit();
}

int TCustomDBDateTimeEditGx::Caret() const
{
    const QLineEdit* w = EditWindow();
    return w->hasSelectedText() ? w->selectionStart() : w->cursorPosition();
}

bool TCustomDBDateTimeEditGx::StepElement(bool Increase, int Caret)
{
    QLineEdit* w = EditWindow();
    QString text;
    int start = 0;
    int length = 0;
    if (!FRules.Step(Text(), Caret, Increase, text, start, length))
        return false;
    // Not guarded: the change handling reads the stepped text into the value.
    TCustomDBEditGx::InternalSetText(text);
    w->setSelection(start, length);
    return true;
}

void TCustomDBDateTimeEditGx::ButtonDropDown(bool TopButton)
{
    const TEditButtonStyleGx style = EditButton()->Style();
    if (style == ebsUpDownGx || style == ebsAltUpDownGx) {
        const int caret = Caret();
        if (CanStep())
            StepElement(TopButton, caret);
        return;
    }
    TCustomDBEditGx::ButtonDropDown(TopButton);
}

bool TCustomDBDateTimeEditGx::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (FCalendarVisible && FDropDownCalendar->DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (TCustomDBEditGx::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    const int caret = Caret();
    if (WheelDelta == 0 || !NoModifiers(Shift) || !CanStep())
        return false;
    StepElement(WheelDelta > 0, caret);
    return true;
}

// ---- keys -------------------------------------------------------------------

bool TCustomDBDateTimeEditGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    if (FCalendarVisible && (Key == VK_RETURN || Key == VK_ESCAPE))
        return true;
    return TCustomDBEditGx::WantSpecialKey(Key, Shift);
}

void TCustomDBDateTimeEditGx::KeyDown(WORD& Key, TShiftState Shift)
{
    const WORD key = Key;
    const bool plain = FRules.Masked() && NoModifiers(Shift);
    QLineEdit* w = EditWindow();
    const bool stepKey = plain && (key == VK_UP || key == VK_DOWN) && !ReadOnly();
    const bool collapseKey = plain && (key == VK_LEFT || key == VK_RIGHT) && w->selectedText().size() > 1;
    const int caret = Caret();
    // OnKeyDown and the in-place host see the key once, in the inherited handling.
    TCustomDBEditGx::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (stepKey) {
        if (DataLink()->Edit() && StepElement(key == VK_UP, caret))
            Key = 0;
    } else if (collapseKey) {
        const int start = w->selectionStart();
        const int length = int(w->selectedText().size());
        w->setCursorPosition(key == VK_LEFT ? start : start + length);
        Key = 0;
    }
}

void TCustomDBDateTimeEditGx::KeyPress(QChar& Key)
{
    if (FCalendarVisible && (Key == QChar(13) || Key == QChar(27))) {
        const bool accept = Key == QChar(13);
        Key = QChar(0);
        CloseUp(accept);
        return;
    }
    TCustomDBEditGx::KeyPress(Key);
}

bool TCustomDBDateTimeEditGx::DropDownKey(WORD Key, TShiftState Shift)
{
    if (!FCalendarVisible)
        return TCustomDBEditGx::DropDownKey(Key, Shift);
    switch (Key) {
    case VK_PRIOR: case VK_NEXT: case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT:
        break;
    case VK_HOME: case VK_END:
        if (!Shift.contains(ssCtrl))
            return false;
        break;
    default:
        return false;
    }
    WORD k = Key;
    FDropDownCalendar->KeyDown(k, Shift);
    return true;
}

// ---- focus ------------------------------------------------------------------

void TCustomDBDateTimeEditGx::DoEnter()
{
    UpdateFourDigitYear();
    TCustomDBEditGx::DoEnter();
}

void TCustomDBDateTimeEditGx::FocusKilled()
{
    TCustomDBEditGx::FocusKilled();
    // Showing (or clicking) the calendar may make it the active window, which hands
    // the activation back; only a focus that went elsewhere closes it.
    if (FCalendarVisible && !DropDownHoldsFocusGx(FDropDownCalendar))
        CloseUp(false);
}

void TCustomDBDateTimeEditGx::CMCancelMode(QWidget* Sender)
{
    TCustomDBEditGx::CMCancelMode(Sender);
    if (FCalendarVisible && !IsWithin(this, Sender) && !IsWithin(FDropDownCalendar, Sender))
        CloseUp(false);
}

// ---- the calendar -------------------------------------------------------------

void TCustomDBDateTimeEditGx::DropDown()
{
    TCustomDBEditGx::DropDown();
    if (FCalendarVisible)
        return;
    if (OnDropDown)
        OnDropDown(this);
    if (!FDropDownCalendar) {
        FDropDownCalendar = new TPopupMonthCalendarGx(this, this);
        FDropDownCalendar->hide();
        new TDropDownActivationGuardGx(FDropDownCalendar, this);
    }
    FDropDownCalendar->SetView(mcvMonthGx);
    FDropDownCalendar->SetDate(FValue.IsNull() ? ::Date() : FValue.ToDateTime());
    const TPoint at = PlaceDropDownAtEdit(this, FDropDownCalendar, UseRightToLeftAlignment() ? 1 : 0);
    FDropDownCalendar->move(at.X, at.Y);
    FDropDownCalendar->show();
    FCalendarVisible = true;
    FDroppedDown = true;
}

void TCustomDBDateTimeEditGx::CloseUp(bool Accept)
{
    if (!FCalendarVisible)
        return;
    FCalendarVisible = false;
    if (auto* grabber = qobject_cast<TCustomControl*>(QWidget::mouseGrabber())) {
        grabber->SetMouseCapture(false);
        grabber->Perform(WM_CANCELMODE);
    }
    HideDropDownGx(FDropDownCalendar, this);
    FDroppedDown = false;
    TCustomDBEditGx::CloseUp(Accept);
    PostMessage(CM_DROPDOWNCLOSEDGX, WPARAM(0));
    if (Accept && !ReadOnly() && DataLink()->Edit()) {
        // Through the change handling the link is modified: the date reaches the field when
        // the dataset asks for updates (leaving the editor, posting).
        InternalSetValue(FRules.CalendarValue(FDropDownCalendar->Date(), FValue));
        if (Focused())
            SelectAll();
    }
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}

void TCustomDBDateTimeEditGx::EditButtonMouseMove(QObject* Sender, TShiftState Shift, int X, int Y)
{
    TCustomDBEditGx::EditButtonMouseMove(Sender, Shift, X, Y);
    if (!FCalendarVisible || EditButtonControlCount() == 0)
        return;
    TEditButtonControlGx* button = EditButtonControlAt(0).EditButtonControl;
    if (Sender != button || !button->MouseCapture())
        return;
    // Press on the button, drag into the calendar and release: one gesture picks a date.
    const QPoint p = FDropDownCalendar->mapFromGlobal(button->mapToGlobal(QPoint(X, Y)));
    if (!FDropDownCalendar->rect().contains(p))
        return;
    button->SetMouseCapture(false);
    FDropDownCalendar->SetMouseCapture(true);
    FDropDownCalendar->MouseDown(mbLeft, Shift, p.x(), p.y());
}
