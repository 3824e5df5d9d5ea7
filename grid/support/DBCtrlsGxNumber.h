#pragma once
// The number editor and its value rules: text normalisation, display and edit formats, thousands
// grouping while typing, range limiting with rounding, the per-key character check and
// stepping. The editor control applies them to its text and value.
#include "DBCtrlsGx.h"
#include "FormatSettings.h"
#include "PopupCalculatorGx.h"
#include <QChar>
#include <QString>
#include <optional>

using TNumberValueGx = std::optional<double>;   // no value = Null

struct TNumberEditRulesGx {
    QString DisplayFormat;
    bool Currency = false;
    unsigned DecimalPlaces = 2;
    double Increment = 1;
    double MinValue = 0;
    double MaxValue = 0;
    QChar DecimalSeparator = FormatSettings::DecimalSeparator;
    QChar ThousandSeparator = FormatSettings::ThousandSeparator;

    // Blanks trimmed, thousands separators removed, '.' and ',' read as the decimal separator.
    QString Normalize(const QString& Text) const;
    // The normalised text as a number; a lone sign is 0. Nothing when it is no number.
    TNumberValueGx Parse(const QString& Text) const;
    // Parse that raises EConvertError.
    double ToFloat(const QString& Text) const;
    // The text shown while unfocused; empty for Null.
    QString DisplayText(const TNumberValueGx& Value) const;
    // The format used while focused, derived from the display format (or the currency flag).
    QString EditFormat() const;
    // The value written with the edit format, its integer part grouped.
    QString EditText(double Value) const;
    // Regroups the integer part with the thousands separator when the edit format groups.
    QString Group(const QString& Text) const;
    // Clamps to the range the bounds give and rounds to DecimalPlaces (ties to even).
    double Limit(double Value) const;
    // Whether Key may replace the selection [SelStart, SelStart + SelLength) of Text.
    bool IsValidChar(const QString& Text, int SelStart, int SelLength, QChar Key) const;
    // The value after one step up or down; a Null value steps to the increment itself.
    // Nothing when the increment is 0.
    TNumberValueGx Step(const TNumberValueGx& Value, bool Increase) const;
    // The value a text typed by the user stands for (Null for an empty text).
    TNumberValueGx TypedValue(const QString& Text) const;
};

// ---------------------------------------------------------------------------
// The number editor: a double value (or Null) shown with the display format while
// unfocused and the edit format while focused, limited to its range and rounded to
// its decimals, stepped by keys, wheel and an up-down button, and optionally picked
// from a drop-down calculator.
// Which of the number editor's settings were given explicitly (the others follow the field).
enum TDBNumberValueGx { evDisplayFormatGx = 0x1, evCurrencyGx = 0x2, evMaxValueGx = 0x4, evMinValueGx = 0x8 };
using TDBNumberValues = unsigned;

class TCustomDBNumberEditGx : public TCustomDBEditGx {
public:
    explicit TCustomDBNumberEditGx(QWidget* parent = nullptr);

    TDBNumberValues NumberAssignedValues() const { return FNumberAssignedValues; }
    bool CalculatorVisible() const { return FCalculatorVisible; }
    // Money shown in the locale's currency format.
    bool currency() const;
    void SetCurrency(bool Value);
    unsigned DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(unsigned Value);
    QString DisplayFormat() const;
    void SetDisplayFormat(const QString& Value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value) { FIncrement = Value; }
    double MaxValue() const;
    void SetMaxValue(double Value);
    double MinValue() const;
    void SetMinValue(double Value);
    // The text shown while unfocused.
    QString DisplayText() { return GetDisplayText(); }
    // The format used while focused.
    QString EditFormat() const { return FEditFormat; }
    // The value rules with the current settings.
    TNumberEditRulesGx Rules() const;
    // One step up or down by Increment.
    void IncrementValue(bool IsIncrease);
    TPopupCalculatorGx* DropDownCalculator() { return GetDropDownCalculator(); }

    TCloseUpEventGx OnCloseUp;
    TNotifyEvent OnDropDown;

    void CloseUp(bool Accept) override;
    void Change() override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void FocusKilled() override;
    void CMCancelMode(QWidget* Sender) override;

protected:
    virtual QString GetDisplayText();
    virtual TPopupCalculatorGx* GetDropDownCalculator();

    std::unique_ptr<TEditButtonGx> CreateEditButton() override;
    TAlignment GetDefaultAlignment() override;
    void GetVariantValue(Variant& Value) override { Value = FValue; }
    bool IsValidChar(QChar Key) override;
    void ButtonDropDown(bool TopButton) override;
    void DataChanged() override;
    void DropDown() override;
    void InternalSetText(const QString& Text) override;
    void InternalSetValue(const Variant& Value) override;
    void InternalUpdatePostData() override;
    bool DropDownKey(WORD Key, TShiftState Shift) override;

private:
    TNumberValueGx CurrentValue() const;
    // Puts a text into the edit window as the editor's own change, the caret kept at
    // the same distance from the end.
    void SetTextKeepingCaret(const QString& Text);

    TDBNumberValues FNumberAssignedValues = 0;
    bool FCalculatorVisible = false;
    bool FCurrency = false;
    unsigned FDecimalPlaces = 2;
    QString FDisplayFormat;
    TPopupCalculatorGx* FDropDownCalculator = nullptr;
    QString FEditFormat;
    double FIncrement = 1;
    bool FInternalTextSetting = false;
    double FMinValue = 0;
    double FMaxValue = 0;
    Variant FValue = Variant::Null();
    bool FReadingField = false;
    QString FLastGoodText;      // the text before a change that did not convert
};

// The published number editor.
class TDBNumberEditGx : public TCustomDBNumberEditGx {
public:
    explicit TDBNumberEditGx(QWidget* parent = nullptr) : TCustomDBNumberEditGx(parent) {}
};
