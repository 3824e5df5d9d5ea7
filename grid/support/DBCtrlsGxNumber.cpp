#include "DBCtrlsGxNumber.h"
#include "DropDownEditGx.h"
#include "Exceptions.h"
#include "Format.h"
#include "platform/db/Field.h"
#include <QApplication>
#include <QScopedValueRollback>
#include <cfenv>
#include <cmath>

namespace {
const int kCurrencyDecimals = 2;

bool IsLoneSign(const QString& s)
{
    return s == QLatin1String("+") || s == QLatin1String("-");
}
} // namespace

QString TNumberEditRulesGx::Normalize(const QString& Text) const
{
    int b = 0, e = Text.size();
    while (b < e && Text[b].unicode() < 33)
        ++b;
    while (e > b && Text[e - 1].unicode() < 33)
        --e;
    QString s = Text.mid(b, e - b);
    if (ThousandSeparator != DecimalSeparator)
        s.remove(ThousandSeparator);
    for (QChar c : {QLatin1Char('.'), QLatin1Char(',')})
        if (c != ThousandSeparator)
            s.replace(c, DecimalSeparator);
    return s;
}

TNumberValueGx TNumberEditRulesGx::Parse(const QString& Text) const
{
    QString s = Normalize(Text);
    if (IsLoneSign(s))
        return 0.0;
    for (QChar c : s)
        if (!(c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('E')
              || c == QLatin1Char('e') || c == DecimalSeparator))
            return std::nullopt;
    s.replace(DecimalSeparator, QLatin1Char('.'));
    double v = 0;
    if (!TryStrToFloat(s, v))
        return std::nullopt;
    return v;
}

double TNumberEditRulesGx::ToFloat(const QString& Text) const
{
    const TNumberValueGx v = Parse(Text);
    if (!v)
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Text));
    return *v;
}

QString TNumberEditRulesGx::DisplayText(const TNumberValueGx& Value) const
{
    if (!Value)
        return QString();
    if (!DisplayFormat.isEmpty())
        return FormatFloat(DisplayFormat, *Value);
    if (Currency)
        return FloatToStrF(*Value, ffCurrency, 15, kCurrencyDecimals);
    return FloatToStr(*Value);
}

QString TNumberEditRulesGx::EditFormat() const
{
    if (DisplayFormat.isEmpty())
        return Currency ? QStringLiteral(",#.") + QString(kCurrencyDecimals, QLatin1Char('0')) : QString();
    QString out;
    const QString& f = DisplayFormat;
    int i = 0;
    while (i < f.size() && f[i] != QLatin1Char(';')) {
        const QChar c = f[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int close = f.indexOf(c, i + 1);
            i = close < 0 ? f.size() : close + 1;
        } else if (c == QLatin1Char('E') || c == QLatin1Char('e')) {
            ++i;
            if (i < f.size() && f[i] == QLatin1Char('+'))
                ++i;
            int zeros = 0;
            while (i < f.size() && f[i] == QLatin1Char('0')) {
                if (++zeros == 5)
                    return out;
                ++i;
            }
        } else {
            if (c == QLatin1Char('#') || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('0'))
                out += c;
            ++i;
        }
    }
    return out;
}

QString TNumberEditRulesGx::Group(const QString& Text) const
{
    if (!EditFormat().contains(QLatin1Char(',')))
        return Text;
    int end = Text.size();
    for (int i = 0; i < Text.size(); ++i)
        if (Text[i] == DecimalSeparator || Text[i] == QLatin1Char('E') || Text[i] == QLatin1Char('e')) {
            end = i;
            break;
        }
    QString head = Text.left(end);
    const QString tail = Text.mid(end);
    QString sign;
    if (!head.isEmpty() && (head[0] == QLatin1Char('+') || head[0] == QLatin1Char('-'))) {
        sign = head.left(1);
        head.remove(0, 1);
    }
    head.remove(ThousandSeparator);
    for (int pos = head.size() - 3; pos > 0; pos -= 3)
        head.insert(pos, ThousandSeparator);
    return sign + head + tail;
}

QString TNumberEditRulesGx::EditText(double Value) const
{
    const QString fmt = EditFormat();
    QString s = fmt.isEmpty() ? FloatToStr(Value) : FormatFloat(fmt, Value);
    if (DecimalSeparator != QLatin1Char('.') || ThousandSeparator != QLatin1Char(',')) {
        // The formatter writes the platform's separators; swap them for this editor's.
        for (QChar& c : s)
            if (c == QLatin1Char('.'))
                c = DecimalSeparator;
            else if (c == QLatin1Char(','))
                c = ThousandSeparator;
    }
    return Group(s);
}

double TNumberEditRulesGx::Limit(double Value) const
{
    double v = Value;
    if (MaxValue != MinValue) {
        if (MinValue < MaxValue) {
            v = std::min(std::max(v, MinValue), MaxValue);
        } else if (MaxValue == 0) {
            v = std::max(v, MinValue);
        } else if (MinValue == 0) {
            v = std::min(v, MaxValue);
        }
    }
    if (DecimalPlaces <= 37) {
        const long double scale = std::pow(10.0L, (long double)DecimalPlaces);
        const int mode = std::fegetround();
        std::fesetround(FE_TONEAREST);
        v = double(std::nearbyint((long double)v * scale) / scale);
        std::fesetround(mode);
    }
    return v;
}

bool TNumberEditRulesGx::IsValidChar(const QString& Text, int SelStart, int SelLength, QChar Key) const
{
    QString t = Text;
    t.replace(SelStart, SelLength, QString(Key));
    const QString s = Normalize(t);
    const int dec = s.indexOf(DecimalSeparator);
    if (dec >= 0) {
        int n = 0;
        for (int i = dec + 1; i < s.size() && s[i] != QLatin1Char('E') && s[i] != QLatin1Char('e'); ++i)
            ++n;
        if (n > int(DecimalPlaces))
            return false;
    }
    if (s.isEmpty())
        return true;
    const TNumberValueGx v = Parse(s);
    if (!v)
        return false;
    // No sign can be typed when the range holds no negative numbers.
    if (MinValue >= 0 && MaxValue > 0 && (*v < 0 || s.startsWith(QLatin1Char('-'))))
        return false;
    return true;
}

TNumberValueGx TNumberEditRulesGx::Step(const TNumberValueGx& Value, bool Increase) const
{
    if (Increment == 0)
        return std::nullopt;
    const double next = !Value ? Increment : Increase ? *Value + Increment : *Value - Increment;
    return Limit(next);
}

TNumberValueGx TNumberEditRulesGx::TypedValue(const QString& Text) const
{
    const QString s = Normalize(Text);
    if (s.isEmpty())
        return std::nullopt;
    if (IsLoneSign(s))
        return Limit(0);
    return Limit(ToFloat(s));
}

// ---------------------------------------------------------------------------
// TCustomDBNumberEditGx

TCustomDBNumberEditGx::TCustomDBNumberEditGx(QWidget* parent) : TCustomDBEditGx(parent)
{
    // The main button is the hidden drop-down button (Alt+Down opens the calculator).
    RecreateEditButton();
    RecreateWnd();
}

std::unique_ptr<TEditButtonGx> TCustomDBNumberEditGx::CreateEditButton()
{
    return std::make_unique<TDropDownEditButtonGx>(this);
}

// ---- settings that follow the field -----------------------------------------------

QString TCustomDBNumberEditGx::DisplayFormat() const
{
    if (FNumberAssignedValues & evDisplayFormatGx)
        return FDisplayFormat;
    if (auto* f = dynamic_cast<const TNumericField*>(Field()))
        return f->DisplayFormat();
    if (auto* f = dynamic_cast<const TDateTimeField*>(Field()))
        return f->DisplayFormat();
    return QString();
}

void TCustomDBNumberEditGx::SetDisplayFormat(const QString& Value)
{
    FDisplayFormat = Value;
    FNumberAssignedValues |= evDisplayFormatGx;
    Invalidate();
    DataChanged();
}

bool TCustomDBNumberEditGx::currency() const
{
    if (FNumberAssignedValues & evCurrencyGx)
        return FCurrency;
    if (auto* f = dynamic_cast<const TFloatField*>(Field()))
        return f->Currency_();
    return false;
}

void TCustomDBNumberEditGx::SetCurrency(bool Value)
{
    FCurrency = Value;
    FNumberAssignedValues |= evCurrencyGx;
    Invalidate();
    DataChanged();
}

double TCustomDBNumberEditGx::MaxValue() const
{
    if (FNumberAssignedValues & evMaxValueGx)
        return FMaxValue;
    if (auto* f = dynamic_cast<const TIntegerField*>(Field()))
        return double(f->MaxValue());
    return 0;
}

void TCustomDBNumberEditGx::SetMaxValue(double Value)
{
    if (Value == FMaxValue && (FNumberAssignedValues & evMaxValueGx))
        return;
    FMaxValue = Value;
    FNumberAssignedValues |= evMaxValueGx;
    if (IsDataIndependent() && !Loading())
        UpdateData();
}

double TCustomDBNumberEditGx::MinValue() const
{
    if (FNumberAssignedValues & evMinValueGx)
        return FMinValue;
    if (auto* f = dynamic_cast<const TIntegerField*>(Field()))
        return double(f->MinValue());
    return 0;
}

void TCustomDBNumberEditGx::SetMinValue(double Value)
{
    if (Value == FMinValue && (FNumberAssignedValues & evMinValueGx))
        return;
    FMinValue = Value;
    FNumberAssignedValues |= evMinValueGx;
    if (IsDataIndependent() && !Loading())
        UpdateData();
}

void TCustomDBNumberEditGx::SetDecimalPlaces(unsigned Value)
{
    if (Value == FDecimalPlaces)
        return;
    FDecimalPlaces = Value;
    DataChanged();
    Invalidate();
}

TNumberEditRulesGx TCustomDBNumberEditGx::Rules() const
{
    TNumberEditRulesGx r;
    r.DisplayFormat = DisplayFormat();
    r.Currency = currency();
    r.DecimalPlaces = FDecimalPlaces;
    r.Increment = FIncrement;
    r.MinValue = MinValue();
    r.MaxValue = MaxValue();
    return r;
}

TAlignment TCustomDBNumberEditGx::GetDefaultAlignment()
{
    return Field() ? TCustomDBEditGx::GetDefaultAlignment() : taRightJustify;
}

// ---- value and text -----------------------------------------------------------------

TNumberValueGx TCustomDBNumberEditGx::CurrentValue() const
{
    if (FValue.IsEmptyOrNull())
        return std::nullopt;
    return FValue.ToDouble();
}

QString TCustomDBNumberEditGx::GetDisplayText()
{
    return Rules().DisplayText(CurrentValue());
}

void TCustomDBNumberEditGx::SetTextKeepingCaret(const QString& Text)
{
    QLineEdit* w = EditWindow();
    FLastGoodText = Text;
    if (w->text() == Text)
        return;   // the selection stays
    const int fromEnd = w->text().size() - w->cursorPosition();
    FInternalTextSetting = true;
    SetEditWindowText(Text);
    FInternalTextSetting = false;
    w->setCursorPosition(qMax(0, Text.size() - fromEnd));
}

void TCustomDBNumberEditGx::InternalSetValue(const Variant& Value)
{
    if (Value.IsEmptyOrNull()) {
        if (!FInternalTextSetting) {
            FInternalTextSetting = true;
            SetEditWindowText(QString());
            FInternalTextSetting = false;
        }
        FValue = Variant::Null();
        FLastGoodText.clear();
        return;
    }
    const double v = Value.ToDouble();
    FValue = Variant(v);
    DataLink()->Modified();
    if (FFocused && DataLink()->CanModify())
        SetTextKeepingCaret(Rules().EditText(v));
    else
        SetTextKeepingCaret(GetDisplayText());
}

void TCustomDBNumberEditGx::InternalSetText(const QString& Text)
{
    if (FReadingField)
        return;   // the field's value is read through InternalSetValue
    if (Text.isEmpty())
        InternalSetValue(Variant::Null());
    else
        InternalSetValue(Variant(Rules().ToFloat(Text)));
}

void TCustomDBNumberEditGx::InternalUpdatePostData()
{
    DataLink()->SetValue(FValue);
}

void TCustomDBNumberEditGx::Change()
{
    if (!FInternalTextSetting) {
        // Typed (or pasted) text: regrouped, then read as the value.
        const TNumberEditRulesGx rules = Rules();
        const QString text = EditText();
        try {
            const TNumberValueGx v = rules.TypedValue(text);
            FValue = v ? Variant(*v) : Variant::Null();
            const QString grouped = rules.Group(text);
            if (grouped != text)
                SetTextKeepingCaret(grouped);
            FLastGoodText = grouped;
        } catch (const EConvertError&) {
            // A text that is no number (a paste) is undone.
            FInternalTextSetting = true;
            SetEditWindowText(FLastGoodText);
            FInternalTextSetting = false;
            SelectAll();
            return;
        }
    }
    TCustomDBEditGx::Change();
}

void TCustomDBNumberEditGx::DataChanged()
{
    FEditFormat = Rules().EditFormat();
    {
        const QScopedValueRollback<bool> reading(FReadingField, true);
        TCustomDBEditGx::DataChanged();
    }
    if (TField* f = Field())
        InternalSetValue(f->IsNull() ? Variant::Null() : Variant(f->AsFloat()));
    else if (IsDataIndependent())
        InternalSetValue(DataLink()->DataIndependentValue);
    else
        InternalSetValue(Variant::Null());
    UpdateReadOnly();
    SetModified(false);
}

// ---- keys, wheel and button -------------------------------------------------------------

bool TCustomDBNumberEditGx::IsValidChar(QChar Key)
{
    return Rules().IsValidChar(EditText(), SelStart(), SelLength(), Key);
}

bool TCustomDBNumberEditGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    if (FCalculatorVisible && (Key == VK_RETURN || Key == VK_ESCAPE))
        return true;
    return TCustomDBEditGx::WantSpecialKey(Key, Shift);
}

bool TCustomDBNumberEditGx::DropDownKey(WORD Key, TShiftState Shift)
{
    if (!FCalculatorVisible)
        return TCustomDBEditGx::DropDownKey(Key, Shift);
    // The open calculator takes the keys: Escape closes it, Enter completes or accepts.
    switch (Key) {
    case VK_ESCAPE: CloseUp(false); return true;
    case VK_RETURN: FDropDownCalculator->ProcessKey(QChar(13)); return true;
    case VK_BACK: FDropDownCalculator->ProcessKey(QChar(8)); return true;
    case VK_DELETE: FDropDownCalculator->ProcessKey(QLatin1Char('C')); return true;
    default: return false;
    }
}

void TCustomDBNumberEditGx::KeyDown(WORD& Key, TShiftState Shift)
{
    if (FCalculatorVisible && Key >= 32 && Key <= 126 && !Shift.contains(ssAlt)) {
        Key = 0;   // its character comes as a key press
        return;
    }
    TCustomDBEditGx::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if ((Key == VK_UP || Key == VK_DOWN) && !ReadOnly()) {
        IncrementValue(Key == VK_UP);
        Key = 0;
    }
}

void TCustomDBNumberEditGx::KeyPress(QChar& Key)
{
    ushort c = Key.unicode();
    if (FCalculatorVisible) {
        if (c >= 32 && c <= 126)
            FDropDownCalculator->ProcessKey(Key);
        Key = QChar(0);
        return;
    }
    const QChar decimal = FormatSettings::DecimalSeparator;
    QLineEdit* w = EditWindow();
    if (c == 8 && !w->hasSelectedText() && w->cursorPosition() > 0 &&
        w->text().at(w->cursorPosition() - 1) == FormatSettings::ThousandSeparator &&
        FormatSettings::ThousandSeparator != decimal) {
        w->setCursorPosition(w->cursorPosition() - 1);   // over the separator, nothing deleted
        Key = QChar(0);
        return;
    }
    if (Key == QLatin1Char(',') || Key == QLatin1Char('.')) {
        Key = decimal;
        c = Key.unicode();
    }
    if (c > 31 && !IsValidChar(Key)) {
        Key = QChar(0);
        return;
    }
    if (c == 27) {
        Reset();
        Key = QChar(0);
        return;
    }
    TCustomDBEditGx::KeyPress(Key);
}

void TCustomDBNumberEditGx::IncrementValue(bool IsIncrease)
{
    if (FIncrement == 0 || !EditCanModify())
        return;
    const TNumberValueGx next = Rules().Step(CurrentValue(), IsIncrease);
    InternalSetValue(next ? Variant(*next) : Variant::Null());
    if (Focused())
        SelectAll();
}

bool TCustomDBNumberEditGx::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (FCalculatorVisible && FDropDownCalculator->DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (TCustomDBEditGx::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    if (!NoShiftKeysGx(Shift) || ReadOnly() || !EditCanModify())
        return false;
    IncrementValue(WheelDelta > 0);
    return true;
}

void TCustomDBNumberEditGx::ButtonDropDown(bool TopButton)
{
    if (IsUpDownButtonGx(EditButton())) {
        // The upper half increases, the lower half decreases.
        if (!ReadOnly())
            IncrementValue(TopButton);
        return;
    }
    TCustomDBEditGx::ButtonDropDown(TopButton);
}

// ---- the calculator ---------------------------------------------------------------------

TPopupCalculatorGx* TCustomDBNumberEditGx::GetDropDownCalculator()
{
    if (!FDropDownCalculator) {
        FDropDownCalculator = new TPopupCalculatorGx(this, this);
        FDropDownCalculator->hide();
        new TDropDownActivationGuardGx(FDropDownCalculator, this);
    }
    return FDropDownCalculator;
}

void TCustomDBNumberEditGx::DropDown()
{
    TCustomDBEditGx::DropDown();
    if (FCalculatorVisible)
        return;
    if (OnDropDown)
        OnDropDown(this);
    TPopupCalculatorGx* calc = GetDropDownCalculator();
    IPopupValueGx* value = calc;
    value->SetValue(FValue.IsEmptyOrNull() ? Variant(0.0) : FValue);
    value->SetFlat(Flat());
    const TPoint at = PlaceDropDownAtEdit(this, calc, UseRightToLeftAlignment() ? 1 : 0);
    calc->move(at.X, at.Y);
    calc->show();
    FCalculatorVisible = true;
    FDroppedDown = true;
    // No caret and no selection while the calculator has the keys.
    SetEditWindowReadOnly(true);
    Deselect();
}

void TCustomDBNumberEditGx::CloseUp(bool Accept)
{
    if (!FCalculatorVisible)
        return;
    CancelMouseCaptureGx();
    HideDropDownGx(FDropDownCalculator, this);
    FCalculatorVisible = false;
    FDroppedDown = false;
    UpdateReadOnly();
    TCustomDBEditGx::CloseUp(Accept);
    PostMessage(CM_DROPDOWNCLOSEDGX, 0);   // the main button control's tag
    if (Accept && !ReadOnly() && EditCanModify()) {
        const Variant v = static_cast<IPopupValueGx*>(FDropDownCalculator)->GetValue();
        if (v.IsNumeric()) {
            InternalSetValue(Variant(Rules().Limit(v.ToDouble())));
            if (Focused())
                SelectAll();
        }
    }
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}

void TCustomDBNumberEditGx::FocusKilled()
{
    TCustomDBEditGx::FocusKilled();
    if (FCalculatorVisible && !DropDownHoldsFocusGx(FDropDownCalculator))
        CloseUp(false);
}

void TCustomDBNumberEditGx::CMCancelMode(QWidget* Sender)
{
    TCustomDBEditGx::CMCancelMode(Sender);
    if (!FCalculatorVisible)
        return;
    if (!IsEditorOrDropDownGx(this, FDropDownCalculator, Sender))
        CloseUp(false);
}
