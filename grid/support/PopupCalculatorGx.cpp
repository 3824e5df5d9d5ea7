#include "PopupCalculatorGx.h"
#include "Canvas.h"
#include "DrawUtils.h"

TPopupCalculatorGx::TPopupCalculatorGx(QObject* Owner, QWidget* parent)
    : TCalculatorGx(parent)
    , FOwner(Owner)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    SetTabStop(false);
    resize(184 + 2 * FBorderWidth, 127 + 2 * FBorderWidth);
}

void TPopupCalculatorGx::CloseOwner(bool Accept)
{
    if (auto* owner = dynamic_cast<IPopupOwnerGx*>(FOwner))
        owner->CloseUp(Accept);
}

void TPopupCalculatorGx::ProcessKey(QChar Key)
{
    // The first Enter completes a pending calculation, the next one accepts.
    if ((Key == QChar(13) || Key == QLatin1Char('=')) && EqualsCaption() == QLatin1String("Ok")) {
        CloseOwner(true);
        return;
    }
    TCalculatorGx::ProcessKey(Key);
}

bool TPopupCalculatorGx::IsValueReady() const
{
    return EqualsCaption() == QLatin1String("Ok");
}

Variant TPopupCalculatorGx::GetValue() const
{
    if (Status() == csErrorGx)
        return Variant();
    return Variant(DisplayValue());
}

void TPopupCalculatorGx::SetValue(const Variant& Value)
{
    ProcessKey(QLatin1Char('C'));
    SetDisplayValue(Value.IsEmptyOrNull() ? 0.0 : Value.ToDouble());
}

void TPopupCalculatorGx::KeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_ESCAPE) {
        Key = 0;
        CloseOwner(false);
        return;
    }
    TCalculatorGx::KeyDown(Key, Shift);
}

bool TPopupCalculatorGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    // Enter and Escape stay with the calculator (no dialog button takes them); the key
    // handling closes: Escape at once, Enter once no operation is pending.
    if (Key == VK_RETURN || Key == VK_ESCAPE)
        return true;
    return TCalculatorGx::WantSpecialKey(Key, Shift);
}

void TPopupCalculatorGx::MessageReceived(TMessage& Message)
{
    if (Message.Msg == CM_CLOSEUPREQUESTGX)
        CloseOwner(false);
    else
        TCalculatorGx::MessageReceived(Message);
}

void TPopupCalculatorGx::Paint()
{
    TCalculatorGx::Paint();
    TCanvas* c = Canvas();
    TRect r(0, 0, width(), height());
    c->Brush()->SetColor(cl3DDkShadow);
    c->FrameRect(r);
    TRect inner(1, 1, width() - 1, height() - 1);
    DrawEdge(c, inner, BDR_RAISEDINNER, BF_RECT);
}
