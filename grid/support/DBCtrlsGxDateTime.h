#pragma once
// TCustomDBDateTimeEditGx: the data-aware date/time editor. Its kind (date, time, date and
// time, or a custom edit format) gives a masked text with fixed element positions; it keeps
// its own value in step with the text, steps the element under the caret with Up and Down,
// the mouse wheel or an up-down main button, completes and clamps the text when it is
// validated, and drops a month calendar down from its main button or with Alt+Down.
#include "DBCtrlsGx.h"
#include "DBCtrlsGxDateTimeRules.h"
#include "PopupMonthCalendarGx.h"

class TCustomDBDateTimeEditGx : public TCustomDBEditGx {
public:
    explicit TCustomDBDateTimeEditGx(QWidget* parent = nullptr);
    ~TCustomDBDateTimeEditGx() override;

    TDateTimeKindGx Kind() const { return FRules.Kind; }
    void SetKind(TDateTimeKindGx Value);
    QString EditFormat() const { return FRules.EditFormat; }
    // Any format makes the kind custom; a bad one raises and changes nothing.
    void SetEditFormat(const QString& Value);
    // The display format derived from the edit format.
    QString DateTimeFormat() const { return FRules.DisplayFormat; }
    bool FourDigitYear() const { return FRules.FourDigitYear; }
    const TDateTimeEditRulesGx& Rules() const { return FRules; }

    bool CalendarVisible() const { return FCalendarVisible; }
    // The calendar, once it has dropped down.
    TPopupMonthCalendarGx* DropDownCalendar() const { return FDropDownCalendar; }

    virtual void UpdateFourDigitYear();
    virtual void UpdateMask();
    void ValidateEdit() override;
    void DropDown() override;
    void CloseUp(bool Accept) override;

    TCloseUpEventGx OnCloseUp;
    TNotifyEvent OnDropDown;

    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void DoEnter() override;
    void FocusKilled() override;
    void CMCancelMode(QWidget* Sender) override;
    void Change() override;

protected:
    std::unique_ptr<TEditButtonGx> CreateEditButton() override;
    void GetVariantValue(Variant& Value) override;
    void ButtonDropDown(bool TopButton) override;
    void DataChanged() override;
    void EditButtonMouseMove(QObject* Sender, TShiftState Shift, int X, int Y) override;
    void FilterMRUList(const QString& Item, bool& Accept) override;
    void InternalSetText(const QString& Text) override;
    void InternalSetValue(const Variant& Value) override;
    void InternalUpdatePostData() override;
    QString GetDisplayTextForPaintCopy() override;
    bool DropDownKey(WORD Key, TShiftState Shift) override;

private:
    // Puts a text in place without parsing it again in Change.
    void ShowText(const QString& Text);
    void ApplyMask();
    // Steps the element at the caret (taken before the dataset went into edit state); true
    // when it stepped.
    bool StepElement(bool Increase, int Caret);
    bool CanStep();
    int Caret() const;
    // A date/time or Null out of a value of any type (texts are read as typed).
    Variant DateTimeValueOf(const Variant& V) const;

    TDateTimeEditRulesGx FRules;
    Variant FValue = Variant::Null();
    bool FCalendarVisible = false;
    TPopupMonthCalendarGx* FDropDownCalendar = nullptr;
    bool FEditValidating = false;
    bool FInternalTextSetting = false;
};

// The published date/time editor.
class TDBDateTimeEditGx : public TCustomDBDateTimeEditGx {
public:
    explicit TDBDateTimeEditGx(QWidget* parent = nullptr) : TCustomDBDateTimeEditGx(parent) {}
};
