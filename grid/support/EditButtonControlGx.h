#pragma once
// The visible button an editor places at its right edge for each edit button: a
// speed button (it can stay pressed, belong to a group and be flat) with the
// library's button styles, a hot state, an always-down mode, and the split
// behaviour of up-down buttons with auto-repeat.
#include "EditButtonPaintGx.h"
#include "platform/gui/ControlBase.h"
#include <functional>

enum TButtonStateGx { bsUpGx, bsDisabledGx, bsDownGx, bsExclusiveGx };

// Sender, TopButton (the upper half of an up-down button, and every single
// button), AutoRepeat (comes in true for up-down styles; a handler may clear it)
// and Handled.
using TButtonDownEventGx = std::function<void(QObject* sender, bool topButton, bool& autoRepeat, bool& handled)>;

class TEditButtonControlGx : public TCustomControl {
public:
    static constexpr UINT RepeatTimerId = 1;

    explicit TEditButtonControlGx(QWidget* parent = nullptr);
    ~TEditButtonControlGx() override;

    // --- the speed button's own state ---
    TButtonStateGx State() const { return FState; }
    bool Down() const { return FDown; }
    void SetDown(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool MouseInControl() const { return FMouseInControl; }
    void SetEnabledState(bool value);
    TBitmap* Glyph() { return &FGlyph; }
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& value) { FCaption = value; Invalidate(); }
    std::function<void(QObject*)> OnClick;

    // --- the library's additions ---
    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool AlwaysDown() const { return FAlwaysDown; }
    void SetAlwaysDown(bool value);
    TEditButtonStyleGx Style() const { return FStyle; }
    void SetStyle(TEditButtonStyleGx value);
    int ButtonNum() const { return FButtonNum; }
    TButtonDownEventGx OnDown;

    void SetState(TButtonStateGx newState, bool isActive, int buttonNum);
    void SetWidthNoNotify(int width);
    void EditButtonDown(bool topButton, bool& autoRepeat);
    virtual void Click();

    // The auto-repeat timer and its tick.
    bool RepeatTimerActive() const { return TimerActive(RepeatTimerId); }
    int RepeatInterval() const { return FTimerInterval; }
    void TimerTick();
    void Timer(UINT id) override;

    // The mouse in client coordinates (the events call these).
    void ButtonMouseDown(TMouseButton button, int x, int y);
    void ButtonMouseMove(int x, int y);
    void ButtonMouseUp(TMouseButton button, int x, int y);

    // Paints the button on a canvas in client coordinates.
    void PaintTo(TCanvas* canvas);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void Paint() override;
    void changeEvent(QEvent* e) override;

private:
    bool IsUpDown() const { return FStyle == ebsUpDownGx || FStyle == ebsAltUpDownGx; }
    void UpdateButtonNum(int y);
    void SetTimerInterval(int ms);
    void PaintGlyphButton(TCanvas* canvas);

    // speed button
    TButtonStateGx FState = bsUpGx;
    bool FDown = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FFlat = false;
    bool FDragging = false;
    bool FMouseInControl = false;
    TBitmap FGlyph;
    QString FCaption;
    // additions
    bool FActive = false;
    bool FAlwaysDown = false;
    int FButtonNum = 0;
    bool FNoDoClick = false;
    TEditButtonStyleGx FStyle = ebsDropDownGx;
    int FTimerInterval = 0;
};

// The same button for forms (the calculator's panel), Active and Style published.
class TSpeedButtonGx : public TEditButtonControlGx {
public:
    using TEditButtonControlGx::TEditButtonControlGx;
};
