#include "CalculatorGx.h"
#include "Canvas.h"
#include "DrawUtils.h"
#include "Clipboard.h"
#include "EditButtonControlGx.h"
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

struct CalcButton {
    const char* caption;
    char key;
    int left, top, width, height;
    bool red;
};

// Indexed by tag - 1. The "Cancel" button lies under the taller "C" button; its key A does
// nothing.
const CalcButton kButtons[] = {
    {"7", '7', 6, 29, 27, 22, false},    {"8", '8', 35, 29, 27, 22, false},
    {"9", '9', 64, 29, 27, 22, false},   {"/", '/', 93, 29, 27, 22, true},
    {"sqrt", 'S', 122, 29, 27, 22, false}, {"C", 'C', 151, 29, 27, 46, true},
    {"4", '4', 6, 53, 27, 22, false},    {"5", '5', 35, 53, 27, 22, false},
    {"6", '6', 64, 53, 27, 22, false},   {"*", '*', 93, 53, 27, 22, true},
    {"%", '%', 122, 53, 27, 22, false},  {"Cancel", 'A', 151, 52, 27, 23, true},
    {"1", '1', 6, 77, 27, 22, false},    {"2", '2', 35, 77, 27, 22, false},
    {"3", '3', 64, 77, 27, 22, false},   {"-", '-', 93, 77, 27, 22, true},
    {"1/x", 'R', 122, 77, 27, 22, false}, {"<-", '\b', 151, 77, 27, 22, true},
    {"0", '0', 6, 101, 27, 22, false},   {"+/-", 'I', 35, 101, 27, 22, false},
    {".", '.', 64, 101, 27, 22, false},  {"+", '+', 93, 101, 27, 22, true},
    {"Ok", '=', 122, 101, 56, 22, true},
};
constexpr int kEqualsTag = 23;

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
    SetColor(clBtnFace);
    int tag = 0;
    for (const CalcButton& b : kButtons) {
        ++tag;
        auto* button = new TSpeedButtonGx(this);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(tag));
        button->setGeometry(b.left, b.top, b.width, b.height);
        button->SetCaption(QString::fromLatin1(b.caption));
        button->SetFlat(true);
        button->SetStyle(ebsGlyphGx);
        button->SetActive(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->SetTabStop(false);
        button->Font()->SetColor(b.red ? clRed : clBlue);
        const QChar key = QLatin1Char(b.key);
        button->OnClick = [this, key](QObject*) { ProcessKey(key); };
        FButtons.push_back(button);
    }
    // The hidden cancel button stays under the "C" button.
    FButtons[11]->lower();
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
    Invalidate();
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
    if (!FButtons.empty())
        FButtons[kEqualsTag - 1]->SetCaption(FEqualsCaption);
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
    Invalidate();
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
    DrawEdge(c, box, EDGE_SUNKEN, BF_RECT);
    TRect text(box.Left + 4, box.Top + 1, box.Right - 4, box.Bottom - 1);
    DrawText(c, FDisplay, text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}
