#pragma once
// The calculator panel: a display line driven by keys, four functions computed strictly left
// to right (an operator key applies the pending operator to the stored operand and the
// displayed number; no precedence), plus percentage, sign change, reciprocal and square root.
#include "ControlBase.h"
#include <vector>

class TSpeedButtonGx;
#include <QString>

enum TCalcStateGx { csFirstGx, csValidGx, csErrorGx };

class TCalculatorGx : public TCustomControl {
public:
    explicit TCalculatorGx(QWidget* parent = nullptr);

    // The calculator's whole behaviour for one key character.
    virtual void ProcessKey(QChar Key);
    void DoCopy();
    void Paste();   // raises EConvertError when the clipboard text is no number

    QString DisplayText() const { return FDisplay; }
    double DisplayValue() const;
    void SetDisplayValue(double Value);
    TCalcStateGx Status() const { return FStatus; }
    // Caption of the equals button: "=" while an operation waits for its right operand, else "Ok".
    QString EqualsCaption() const { return FEqualsCaption; }
    // The panel's buttons, in the order of their tags 1..23; each click sends its key.
    const std::vector<TSpeedButtonGx*>& Buttons() const { return FButtons; }

protected:
    UINT GetDlgCode() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void Paint() override;

private:
    void Clear();
    void Error();
    void StartNumber();
    void SetDisplay(const QString& Text);
    void UpdateEqualsCaption();

    TCalcStateGx FStatus = csFirstGx;
    long double FOperand = 0;
    QChar FOperator = QLatin1Char('=');
    QString FDisplay = QStringLiteral("0");
    QString FEqualsCaption = QStringLiteral("Ok");
    std::vector<TSpeedButtonGx*> FButtons;
};
