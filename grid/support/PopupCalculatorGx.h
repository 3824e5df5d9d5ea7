#pragma once
// The calculator as a drop-down: a frameless tool window that never takes the focus and tells
// the editor owning it when the user accepts (Enter or "=" with nothing pending) or cancels
// (Escape). The number editor exchanges the value through IPopupValueGx.
#include "CalculatorGx.h"
#include "PopupOwnerGx.h"

class TPopupCalculatorGx : public TCalculatorGx, public IPopupValueGx {
public:
    // Owner is the editor; it should implement IPopupOwnerGx.
    explicit TPopupCalculatorGx(QObject* Owner, QWidget* parent = nullptr);

    void ProcessKey(QChar Key) override;

    bool IsValueReady() const override;
    bool GetFlat() const override { return FFlat; }
    // The display value as a double; Unassigned (no number) while the error is shown.
    Variant GetValue() const override;
    void SetFlat(bool Value) override { FFlat = Value; Invalidate(); }
    void SetValue(const Variant& Value) override;

    int BorderWidth() const { return FBorderWidth; }

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void MessageReceived(TMessage& Message) override;
    void Paint() override;

private:
    void CloseOwner(bool Accept);

    QObject* FOwner;
    int FBorderWidth = 2;
    bool FFlat = true;
};
