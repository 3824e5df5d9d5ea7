#pragma once
// The data-aware check box: a self-painted box bound to one field through the field data link
// (or holding its own value when it has neither data source nor field). The field's value
// maps to unchecked, checked and grayed by its Boolean value or by lists of accepted texts;
// the state is written back when the link asks for the data.
#include "EditButtonPaintGx.h"
#include "ControlBase.h"
#include "FieldDataLinkGx.h"
#include "platform/db/DBTypes.h"
#include <QString>
#include <functional>
#include <memory>

class TCustomDBCheckBoxGx : public TCustomControl {
public:
    using TUpdateDataEventGx = std::function<void(TCustomDBCheckBoxGx* sender, bool& handled)>;

    explicit TCustomDBCheckBoxGx(QWidget* parent = nullptr);
    ~TCustomDBCheckBoxGx() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    bool AlwaysShowBorder() const { return FAlwaysShowBorder; }
    void SetAlwaysShowBorder(bool Value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    QString DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const QString& Value) { FDataLink->SetFieldName(Value); }
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* Value) { FDataLink->SetDataSource(Value); }
    TField* Field() const { return FDataLink->Field(); }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Modified() const { return FModified; }
    bool ReadOnly() const { return FDataLink->ReadOnly(); }
    void SetReadOnly(bool Value) { FDataLink->SetReadOnly(Value); }
    TCheckBoxState State() const { return FState; }
    // Puts a bound dataset into edit state, sets the state and writes it at once; when the
    // write fails the state is read again from the data and the error propagates.
    void SetState(TCheckBoxState Value);
    QString ValueChecked() const { return FValueCheck; }
    void SetValueChecked(const QString& Value);
    QString ValueUnchecked() const { return FValueUncheck; }
    void SetValueUnchecked(const QString& Value);
    TFieldDataLinkGx* DataLink() const { return FDataLink.get(); }

    TUpdateDataEventGx OnUpdateData;

    virtual void UpdateData();

    // Whether Text matches one entry of a ";"-separated list (case-insensitive; a list ending
    // in ";" also matches an empty text; an empty list matches nothing).
    static bool ValueMatch(const QString& ValueList, const QString& Text);
    // The first entry of a ";"-separated list, blanks and control characters trimmed.
    static QString FirstValue(const QString& ValueList);

protected:
    virtual void PaintCheckBox();
    virtual bool IsDataIndependent() const { return FDataLink->DataIndepended(); }
    virtual void DrawCaption(const TRect& R, bool Focused, bool MouseAbove, bool Pressed);
    virtual void DrawCheck(const TRect& R, TCheckBoxState AState, bool Focused, bool MouseAbove, bool Pressed);
    virtual void DrawState(TCheckBoxState AState, bool Focused, bool MouseAbove, bool Pressed);
    virtual void InternalSetState(TCheckBoxState Value);
    virtual void InternalUpdatePostData();
    virtual void Toggle();

    void Click() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CancelMode() override;
    void DoExit() override;
    void FocusSet() override { Invalidate(); }
    void FocusKilled() override { Invalidate(); }
    void Paint() override;
    void changeEvent(QEvent* e) override;

    bool FDataPosting = false;
    bool FToggleKeyDown = false;

private:
    TCheckBoxState StateFromData() const;
    void ReadStateFromData();

    TAlignment FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    bool FAlwaysShowBorder = false;
    bool FClicksDisabled = false;
    std::unique_ptr<TFieldDataLinkGx> FDataLink;
    bool FFlat = false;
    bool FModified = false;
    bool FMouseAboveControl = false;
    bool FLeftDown = false;       // the left button went down on the control
    TCheckBoxState FState = cbUnchecked;
    QString FValueCheck;
    QString FValueUncheck;
    QString FCaption;
};

class TDBCheckBoxGx : public TCustomDBCheckBoxGx {
public:
    using TCustomDBCheckBoxGx::TCustomDBCheckBoxGx;
};
