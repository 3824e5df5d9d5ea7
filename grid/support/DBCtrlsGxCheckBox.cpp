#include "DBCtrlsGxCheckBox.h"
#include "Canvas.h"
#include "DrawUtils.h"
#include "EditButtonPaintGx.h"
#include "GxLibVCL.h"
#include "ToolCtrlsGxDraw.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include <QApplication>
#include <QEvent>
#include <QScopedValueRollback>

namespace {
const QString kTrueText = QStringLiteral("True");
const QString kFalseText = QStringLiteral("False");

QString TrimEntry(const QString& s)
{
    int b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}
} // namespace

TCustomDBCheckBoxGx::TCustomDBCheckBoxGx(QWidget* parent)
    : TCustomControl(parent)
    , FDataLink(std::make_unique<TFieldDataLinkGx>())
    , FValueCheck(kTrueText)
    , FValueUncheck(kFalseText)
{
    resize(97, 17);
    // A check box blends into its form.
    SetParentColor(true);
    SetTabStop(true);
    setFocusPolicy(Qt::StrongFocus);
    // Clicks are recognised here: a double click counts as one more press and click.
    SetClickEvents(false);
    FDataLink->SetControl(this);
    FDataLink->OnDataChange = [this](TFieldDataLinkGx*) { ReadStateFromData(); };
    FDataLink->OnUpdateData = [this](TFieldDataLinkGx*) { UpdateData(); };
    FDataLink->DataIndependentValue = Variant(false);
}

TCustomDBCheckBoxGx::~TCustomDBCheckBoxGx()
{
    FDataLink->OnDataChange = nullptr;
    FDataLink->OnUpdateData = nullptr;
}

void TCustomDBCheckBoxGx::SetAlignment(TAlignment Value)
{
    if (Value != FAlignment) {
        FAlignment = Value;
        Invalidate();
    }
}

void TCustomDBCheckBoxGx::SetAlwaysShowBorder(bool Value)
{
    if (Value != FAlwaysShowBorder) {
        FAlwaysShowBorder = Value;
        Invalidate();
    }
}

void TCustomDBCheckBoxGx::SetCaption(const QString& Value)
{
    if (Value != FCaption) {
        FCaption = Value;
        Invalidate();
    }
}

void TCustomDBCheckBoxGx::SetFlat(bool Value)
{
    if (Value != FFlat) {
        FFlat = Value;
        Invalidate();
    }
}

void TCustomDBCheckBoxGx::SetValueChecked(const QString& Value)
{
    FValueCheck = Value;
    ReadStateFromData();
}

void TCustomDBCheckBoxGx::SetValueUnchecked(const QString& Value)
{
    FValueUncheck = Value;
    ReadStateFromData();
}

bool TCustomDBCheckBoxGx::ValueMatch(const QString& ValueList, const QString& Text)
{
    if (ValueList.isEmpty())
        return false;
    const QStringList entries = ValueList.split(QLatin1Char(';'));
    for (const QString& e : entries)
        if (NlsCompareText(TrimEntry(e), Text) == 0)
            return true;
    return false;
}

QString TCustomDBCheckBoxGx::FirstValue(const QString& ValueList)
{
    return TrimEntry(ValueList.section(QLatin1Char(';'), 0, 0));
}

TCheckBoxState TCustomDBCheckBoxGx::StateFromData() const
{
    if (IsDataIndependent()) {
        const Variant& v = FDataLink->DataIndependentValue;
        if (v == Variant(true))
            return cbChecked;
        if (v == Variant(false))
            return cbUnchecked;
        return cbGrayed;
    }
    TField* field = Field();
    if (!field)
        return cbUnchecked;
    if (field->DataType() == ftBoolean && FValueCheck == kTrueText && FValueUncheck == kFalseText) {
        if (field->IsNull())
            return cbGrayed;
        return field->AsBoolean() ? cbChecked : cbUnchecked;
    }
    const QString text = field->Text();
    if (ValueMatch(FValueCheck, text))
        return cbChecked;
    if (ValueMatch(FValueUncheck, text))
        return cbUnchecked;
    return cbGrayed;
}

void TCustomDBCheckBoxGx::ReadStateFromData()
{
    InternalSetState(StateFromData());
    FModified = false;
}

void TCustomDBCheckBoxGx::SetState(TCheckBoxState Value)
{
    if (!IsDataIndependent()) {
        if (TDataSource* ds = DataSource())
            if (TDataSet* set = ds->DataSet())
                set->Edit();
    }
    InternalSetState(Value);
    if (FDataPosting)
        return;
    try {
        UpdateData();
    } catch (...) {
        FDataLink->Reset();
        throw;
    }
}

void TCustomDBCheckBoxGx::InternalSetState(TCheckBoxState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    if (!FClicksDisabled)
        TCustomControl::Click();   // OnClick
    Invalidate();
    FModified = true;
}

void TCustomDBCheckBoxGx::Toggle()
{
    if (!FDataLink->Edit())
        return;
    switch (FState) {
    case cbUnchecked: InternalSetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: InternalSetState(cbUnchecked); break;
    case cbGrayed: InternalSetState(cbChecked); break;
    }
    FDataLink->Modified();
    Invalidate();
}

void TCustomDBCheckBoxGx::UpdateData()
{
    bool handled = false;
    if (OnUpdateData) {
        const QScopedValueRollback<bool> posting(FDataPosting, true);
        OnUpdateData(this, handled);
    }
    if (!handled)
        InternalUpdatePostData();
}

void TCustomDBCheckBoxGx::InternalUpdatePostData()
{
    if (IsDataIndependent()) {
        FDataLink->SetValue(FState == cbGrayed ? Variant::Null() : Variant(FState == cbChecked));
        return;
    }
    TField* field = Field();
    if (!field)
        return;
    if (FState == cbGrayed)
        field->Clear();
    else if (field->DataType() == ftBoolean)
        field->SetAsBoolean(Checked());
    else
        field->SetText(FirstValue(Checked() ? FValueCheck : FValueUncheck));
}

void TCustomDBCheckBoxGx::Click()
{
    // The user's click toggles; OnClick fires from the state change itself.
    Toggle();
}

void TCustomDBCheckBoxGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE && !FToggleKeyDown) {
        FToggleKeyDown = true;
        Invalidate();
    }
}

void TCustomDBCheckBoxGx::KeyUp(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && FToggleKeyDown) {
        FToggleKeyDown = false;
        Toggle();
        Invalidate();
    }
}

void TCustomDBCheckBoxGx::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key == QChar(8) || Key == QLatin1Char(' ')) {
        FDataLink->Edit();
    } else if (Key == QChar(27)) {
        FDataLink->Reset();
        Key = QChar(0);
    }
}

bool TCustomDBCheckBoxGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    // A pending change keeps Escape from the dialog's cancel button.
    return Key == VK_ESCAPE && FModified;
}

void TCustomDBCheckBoxGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && !Focused()) {
        FClicksDisabled = true;
        SetFocus();
        FClicksDisabled = false;
        if (!Focused())
            return;   // the focus was refused elsewhere: the press is discarded
    }
    if (Button == mbLeft) {
        FLeftDown = true;
        Invalidate();
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDBCheckBoxGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FLeftDown) {
        FLeftDown = false;
        if (PtInRect(ClientRect(), TPoint(X, Y)))
            Click();
        Invalidate();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomDBCheckBoxGx::MouseEnter()
{
    FMouseAboveControl = true;
    Invalidate();
}

void TCustomDBCheckBoxGx::MouseLeave()
{
    FMouseAboveControl = false;
    Invalidate();
}

void TCustomDBCheckBoxGx::CancelMode()
{
    TCustomControl::CancelMode();
    if (MouseCapture())
        SetMouseCapture(false);
    if (FLeftDown) {
        // End the pressed look without a click.
        FLeftDown = false;
        Invalidate();
    }
}

void TCustomDBCheckBoxGx::DoExit()
{
    try {
        FDataLink->UpdateRecord();
    } catch (...) {
        SetFocus();
        throw;
    }
    TCustomControl::DoExit();
}

void TCustomDBCheckBoxGx::changeEvent(QEvent* e)
{
    TCustomControl::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        Invalidate();
}

void TCustomDBCheckBoxGx::Paint()
{
    PaintCheckBox();
}

void TCustomDBCheckBoxGx::PaintCheckBox()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
    const bool pressed = (FMouseAboveControl && FLeftDown) || FToggleKeyDown;
    DrawState(FState, Focused(), FMouseAboveControl, pressed);
}

void TCustomDBCheckBoxGx::DrawState(TCheckBoxState AState, bool Focused, bool MouseAbove, bool Pressed)
{
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const bool boxRight = (FAlignment == taLeftJustify && !rtl) || (FAlignment == taRightJustify && rtl);
    const TRect client = ClientRect();
    const TRect box = CheckBoxRectInRect(client, boxRight ? 1 : 0, 1);
    TRect caption = boxRight ? TRect(client.Left, client.Top, box.Left - 5, client.Bottom)
                             : TRect(box.Right + 5, client.Top, client.Right, client.Bottom);
    DrawCaption(caption, Focused, MouseAbove, Pressed);
    DrawCheck(box, AState, Focused, MouseAbove, Pressed);
}

void TCustomDBCheckBoxGx::DrawCheck(const TRect& R, TCheckBoxState AState, bool Focused, bool MouseAbove, bool Pressed)
{
    const bool active = MouseAbove || Focused || (FAlwaysShowBorder && !IsThemingActive());
    DrawEditButtonFace(Canvas(), R, Color(), bcsCheckboxGx, Pressed ? 1 : 0, FFlat, active, isEnabled(), AState);
}

void TCustomDBCheckBoxGx::DrawCaption(const TRect& R, bool Focused, bool MouseAbove, bool Pressed)
{
    TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsClear);
    TRect measure(0, 0, R.Width(), 0);
    DrawText(c, FCaption, measure, DT_SINGLELINE | DT_CALCRECT);
    TRect text;
    text.Left = R.Left;
    text.Top = height() / 2 - measure.Height() / 2;
    text.Right = text.Left + measure.Width();
    text.Bottom = text.Top + measure.Height();
    const unsigned flags = DT_SINGLELINE | DT_LEFT;
    if (isEnabled()) {
        TRect r = text;
        DrawText(c, FCaption, r, flags);
    } else {
        const TColor fontColor = c->Font()->Color();
        TRect shifted(text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1);
        c->Font()->SetColor(clHighlightText);
        DrawText(c, FCaption, shifted, flags);
        c->Font()->SetColor(clGrayText);
        TRect r = text;
        DrawText(c, FCaption, r, flags);
        c->Font()->SetColor(fontColor);
    }
    c->Brush()->SetStyle(bsSolid);
    if (Focused) {
        TRect f(std::max(0, text.Left - 1), std::max(0, text.Top - 1), std::min(width(), text.Right + 1),
                std::min(height(), text.Bottom + 2));
        c->DrawFocusRect(f);
    }
}
