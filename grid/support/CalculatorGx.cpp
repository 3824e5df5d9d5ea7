#include "CalculatorGx.h"
#include "Canvas.h"
#include "DrawUtils.h"
#include "Clipboard.h"
#include "Exceptions.h"
#include "Format.h"
#include "FormatSettings.h"
#include <cmath>

namespace {
const QString kErrorText = QStringLiteral("Error");

bool IsOperatorKey(QChar k)
{
    return k == QLatin1Char('\r') || k == QLatin1Char('%') || k == QLatin1Char('*')
        || k == QLatin1Char('+') || k == QLatin1Char('-') || k == QLatin1Char('/')
        || k == QLatin1Char('=');
}

bool IsArithmetic(QChar op)
{
    return op == QLatin1Char('*') || op == QLatin1Char('+') || op == QLatin1Char('-')
        || op == QLatin1Char('/');
}
} // namespace

TCalculatorGx::TCalculatorGx(QWidget* parent)
    : TCustomControl(parent)
{
    resize(184, 127);
}

double TCalculatorGx::DisplayValue() const
{
    if (FStatus == csErrorGx)
        return 0;
    return StrToFloat(FDisplay.trimmed());
}

void TCalculatorGx::SetDisplayValue(double Value)
{
    SetDisplay(FloatToStrF(Value == 0 ? 0.0 : Value, ffGeneral, 15, 0));
}

void TCalculatorGx::SetDisplay(const QString& Text)
{
    FDisplay = Text;
    update();
}

void TCalculatorGx::Clear()
{
    FStatus = csFirstGx;
    SetDisplay(QStringLiteral("0"));
    FOperator = QLatin1Char('=');
    FOperand = 0;
}

void TCalculatorGx::Error()
{
    FStatus = csErrorGx;
    SetDisplay(kErrorText);
}

void TCalculatorGx::StartNumber()
{
    if (FStatus == csFirstGx) {
        FStatus = csValidGx;
        SetDisplay(QStringLiteral("0"));
    }
}

void TCalculatorGx::UpdateEqualsCaption()
{
    const bool pending = FOperand != 0 && FStatus == csValidGx && IsArithmetic(FOperator);
    FEqualsCaption = pending ? QStringLiteral("=") : QStringLiteral("Ok");
}

void TCalculatorGx::ProcessKey(QChar Key)
{
    if (Key >= QLatin1Char('a') && Key <= QLatin1Char('z'))
        Key = Key.toUpper();
    // The error state is left only by clearing (C or Escape).
    if (FStatus == csErrorGx && Key != QLatin1Char('C') && Key != QChar(27))
        Key = QChar(0);

    if (Key == FormatSettings::DecimalSeparator || Key == QLatin1Char(',') || Key == QLatin1Char('.')) {
        StartNumber();
        if (!FDisplay.contains(FormatSettings::DecimalSeparator))
            SetDisplay(FDisplay + FormatSettings::DecimalSeparator);
        return;
    }

    const ushort k = Key.unicode();
    if (k == 3) {
        DoCopy();
    } else if (k == 22) {
        Paste();
    } else if (k == 8) {
        StartNumber();
        if (FDisplay.size() == 1 || (FDisplay.size() == 2 && FDisplay.startsWith(QLatin1Char('-'))))
            SetDisplay(QStringLiteral("0"));
        else
            SetDisplay(FDisplay.left(FDisplay.size() - 1));
    } else if (IsOperatorKey(Key)) {
        if (FStatus == csValidGx) {
            FStatus = csFirstGx;
            long double v = DisplayValue();
            if (Key == QLatin1Char('%')) {
                if (FOperator == QLatin1Char('*') || FOperator == QLatin1Char('/'))
                    v = v / 100;
                else if (FOperator == QLatin1Char('+') || FOperator == QLatin1Char('-'))
                    v = FOperand * v / 100;
            }
            switch (FOperator.unicode()) {
            case '*': SetDisplayValue(double(FOperand * v)); break;
            case '+': SetDisplayValue(double(FOperand + v)); break;
            case '-': SetDisplayValue(double(FOperand - v)); break;
            case '/':
                if (v == 0)
                    Error();
                else
                    SetDisplayValue(double(FOperand / v));
                break;
            default: break;
            }
        }
        FOperator = Key;
        FOperand = DisplayValue();
    } else if (k == 27 || Key == QLatin1Char('C')) {
        Clear();
    } else if (Key >= QLatin1Char('0') && Key <= QLatin1Char('9')) {
        StartNumber();
        QString d = FDisplay == QLatin1String("0") ? QString() : FDisplay;
        const int room = d.startsWith(QLatin1Char('-')) ? 16 : 15;
        if (!d.contains(QLatin1Char('E')) && d.size() < room)
            d += Key;
        SetDisplay(d);
    } else if (Key == QLatin1Char('I')) {
        SetDisplayValue(-DisplayValue());
    } else if (Key == QLatin1Char('R')) {
        if (FStatus != csErrorGx) {
            FStatus = csFirstGx;
            const double v = DisplayValue();
            if (v == 0)
                Error();
            else
                SetDisplayValue(1 / v);
        }
    } else if (Key == QLatin1Char('S')) {
        if (FStatus != csErrorGx) {
            FStatus = csFirstGx;
            const double v = DisplayValue();
            if (v < 0)
                Error();
            else
                SetDisplayValue(std::sqrt(v));
        }
    }
    UpdateEqualsCaption();
    update();
}

void TCalculatorGx::DoCopy()
{
    Clipboard()->SetAsText(FDisplay);
}

void TCalculatorGx::Paste()
{
    const QString text = Clipboard()->AsText();
    if (!text.isEmpty())
        SetDisplayValue(StrToFloat(text.trimmed()));
}

UINT TCalculatorGx::GetDlgCode()
{
    return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
}

void TCalculatorGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_DELETE) {
        ProcessKey(QLatin1Char('C'));
        Key = 0;
    }
}

void TCalculatorGx::KeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (!Key.isNull())
        ProcessKey(Key);
}

bool TCalculatorGx::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (FStatus != csErrorGx)
        SetDisplayValue(DisplayValue() - 1);
    return true;
}

bool TCalculatorGx::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (FStatus != csErrorGx)
        SetDisplayValue(DisplayValue() + 1);
    return true;
}

void TCalculatorGx::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
    TRect box(6, 4, 6 + 171, 4 + 19);
    c->Brush()->SetColor(clWindow);
    c->FillRect(box);
    TRect text(box.Left + 4, box.Top + 1, box.Right - 4, box.Bottom - 1);
    DrawText(c, FDisplay, text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}
