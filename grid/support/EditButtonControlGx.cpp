#include "EditButtonControlGx.h"
#include "ToolCtrlsGxDraw.h"
#include "platform/gui/DrawUtils.h"

TEditButtonControlGx::TEditButtonControlGx(QWidget* parent) : TCustomControl(parent)
{
    // Clicks come from the button's own press-and-release rules.
    SetClickEvents(false);
    SetTabStop(false);
    setFocusPolicy(Qt::NoFocus);
    // A speed button shows its parent's colour around its face.
    SetParentColor(true);
    resize(10, 17);
}

TEditButtonControlGx::~TEditButtonControlGx() = default;

void TEditButtonControlGx::SetDown(bool value)
{
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown)
        return;
    if (FDown && !value && !FAllowAllUp)
        return;
    FDown = value;
    if (value) {
        if (FState == bsUpGx)
            Invalidate();
        FState = bsExclusiveGx;
    } else {
        FState = bsUpGx;
        Invalidate();
    }
}

void TEditButtonControlGx::SetFlat(bool value)
{
    if (value == FFlat)
        return;
    FFlat = value;
    Invalidate();
}

void TEditButtonControlGx::SetEnabledState(bool value)
{
    setEnabled(value);
}

void TEditButtonControlGx::changeEvent(QEvent* e)
{
    TCustomControl::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            FState = bsDisabledGx;
        else if (FState == bsDisabledGx)
            FState = FDown && FGroupIndex != 0 ? bsExclusiveGx : bsUpGx;
        Invalidate();
    }
}

void TEditButtonControlGx::SetActive(bool value)
{
    if (value == FActive)
        return;
    FActive = value;
    Invalidate();
}

void TEditButtonControlGx::SetStyle(TEditButtonStyleGx value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Invalidate();
}

void TEditButtonControlGx::SetAlwaysDown(bool value)
{
    if (value == FAlwaysDown)
        return;
    FAlwaysDown = value;
    if (value) {
        FGroupIndex = 1;
        SetDown(true);
        FAllowAllUp = false;
        FButtonNum = 1;
    } else {
        FAllowAllUp = true;
        SetDown(false);
        FGroupIndex = 0;
        FButtonNum = 0;
    }
    Invalidate();
}

void TEditButtonControlGx::SetState(TButtonStateGx newState, bool isActive, int buttonNum)
{
    if (newState == FState && isActive == FActive && buttonNum == FButtonNum)
        return;
    FState = newState;
    FActive = isActive;
    FButtonNum = buttonNum;
    Invalidate();
}

void TEditButtonControlGx::SetWidthNoNotify(int width)
{
    resize(width, height());
}

void TEditButtonControlGx::EditButtonDown(bool topButton, bool& autoRepeat)
{
    bool handled = false;
    if (OnDown)
        OnDown(this, topButton, autoRepeat, handled);
}

void TEditButtonControlGx::Click()
{
    if (FNoDoClick)
        return;
    if (OnClick)
        OnClick(this);
}

void TEditButtonControlGx::UpdateButtonNum(int y)
{
    int num = 0;
    if (FState == bsDownGx || FState == bsExclusiveGx) {
        if (IsUpDown()) {
            const int h = height();
            if (y < h / 2)
                num = 1;
            else if (y > h - h / 2)
                num = 2;
        } else {
            num = 1;
        }
    }
    if (num != FButtonNum) {
        FButtonNum = num;
        Invalidate();
    }
}

void TEditButtonControlGx::SetTimerInterval(int ms)
{
    if (RepeatTimerActive() && FTimerInterval == ms)
        return;
    KillTimer(RepeatTimerId);
    FTimerInterval = ms;
    SetTimer(RepeatTimerId, ms);
}

void TEditButtonControlGx::Timer(UINT id)
{
    if (id == RepeatTimerId)
        TimerTick();
}

void TEditButtonControlGx::TimerTick()
{
    if (FState != bsDownGx)
        return;
    if (FTimerInterval == 400)
        SetTimerInterval(100);
    bool autoRepeat = IsUpDown();
    EditButtonDown(FButtonNum == 1, autoRepeat);
    if (!autoRepeat)
        KillTimer(RepeatTimerId);
}

void TEditButtonControlGx::ButtonMouseDown(TMouseButton button, int x, int y)
{
    bool autoRepeat = IsUpDown();
    // The speed button's own handling.
    if (button == mbLeft && isEnabled()) {
        if (!FDown) {
            FState = bsDownGx;
            Invalidate();
        }
        FDragging = true;
    }
    if (button != mbLeft)
        return;
    UpdateButtonNum(y);
    if (FButtonNum == 1 || FButtonNum == 2) {
        EditButtonDown(FButtonNum == 1, autoRepeat);
        if (autoRepeat)
            SetTimerInterval(400);
    }
    (void)x;
}

void TEditButtonControlGx::ButtonMouseMove(int x, int y)
{
    if (FDragging) {
        TButtonStateGx s = FDown ? bsExclusiveGx : bsUpGx;
        if (x >= 0 && x < width() && y >= 0 && y <= height())
            s = FDown ? bsExclusiveGx : bsDownGx;
        if (s != FState) {
            FState = s;
            Invalidate();
        }
    }
    if (FDragging && IsUpDown() && FState == bsDownGx) {
        const int h = height();
        if ((FButtonNum == 2 && y < h / 2) || (FButtonNum == 1 && y > h - h / 2)) {
            FState = bsUpGx;
            Invalidate();
        }
    }
}

void TEditButtonControlGx::ButtonMouseUp(TMouseButton button, int x, int y)
{
    if (IsUpDown() && FState != bsDownGx)
        FNoDoClick = true;
    if (FDragging) {
        FDragging = false;
        const bool doClick = x >= 0 && x < width() && y >= 0 && y <= height();
        if (FGroupIndex == 0) {
            FState = bsUpGx;
            Invalidate();
        } else if (doClick) {
            SetDown(!FDown);
            if (FDown)
                Invalidate();
        } else {
            if (FDown)
                FState = bsExclusiveGx;
            Invalidate();
        }
        if (doClick)
            Click();
    }
    FNoDoClick = false;
    UpdateButtonNum(y);
    KillTimer(RepeatTimerId);
    (void)button;
}

void TEditButtonControlGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    ButtonMouseDown(button, x, y);
}

void TEditButtonControlGx::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (MouseCapture())
        ButtonMouseMove(x, y);
}

void TEditButtonControlGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    ButtonMouseUp(button, x, y);
}

void TEditButtonControlGx::MouseEnter()
{
    FMouseInControl = true;
    if (FFlat || IsThemingActive())
        Invalidate();
}

void TEditButtonControlGx::MouseLeave()
{
    FMouseInControl = false;
    if (FFlat || IsThemingActive())
        Invalidate();
}

void TEditButtonControlGx::Paint()
{
    PaintTo(Canvas());
}

void TEditButtonControlGx::PaintTo(TCanvas* canvas)
{
    if (FStyle == ebsGlyphGx) {
        PaintGlyphButton(canvas);
        return;
    }
    const bool pressed = FState == bsDownGx || FState == bsExclusiveGx;
    const bool active = IsThemingActive() ? FMouseInControl : FActive;
    DrawEditButtonFace(canvas, TRect(0, 0, width(), height()), ColorOfParent(), EditButtonDrawStyles[FStyle],
                       pressed ? FButtonNum : 0, FFlat, active, isEnabled(), cbUnchecked);
}

void TEditButtonControlGx::PaintGlyphButton(TCanvas* c)
{
    const bool themed = IsThemingActive();
    const bool pressed = FState == bsDownGx || FState == bsExclusiveGx;
    const TRect bounds(0, 0, width(), height());
    TClipRegion saved;
    const bool clip = !themed && FFlat;
    if (clip) {
        saved = c->GetClipRegion();
        TRect inner = bounds;
        InflateRect(inner, -1, -1);
        c->IntersectClipRect(inner);
    }
    // The caption is written in the button's own font, its colour included.
    c->Font()->Assign(*Font());
    const TColor captionColor = Font()->Color();
    if (themed && FFlat && !FMouseInControl && isEnabled() && !pressed && FGlyph.Empty()) {
        // A group-box frame with the caption in the middle.
        c->FillRect(bounds, ColorOfParent());
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(bounds);
        c->Brush()->SetStyle(bsClear);
        TRect r = bounds;
        const int th = c->TextHeight(FCaption);
        r.Top = (bounds.Top + bounds.Bottom - th + 1) / 2;
        c->Font()->SetColor(captionColor);
        DrawText(c, FCaption, r, DT_CENTER | DT_SINGLELINE);
    } else {
        // The speed button's own face: edge, glyph and caption.
        if (FFlat && !pressed && !FMouseInControl)
            c->FillRect(bounds, ColorOfParent());
        else
            DrawEdge(c, bounds, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
        const int shift = pressed ? 1 : 0;
        int textTop = bounds.Top;
        if (!FGlyph.Empty()) {
            const int gx = (width() - FGlyph.Width()) / 2 + shift;
            const int gy = (FCaption.isEmpty() ? (height() - FGlyph.Height()) / 2 : 2) + shift;
            c->Draw(gx, gy, FGlyph);
            textTop = gy + FGlyph.Height();
        }
        if (!FCaption.isEmpty()) {
            c->Brush()->SetStyle(bsClear);
            TRect r(bounds.Left + shift, textTop + shift, bounds.Right + shift, bounds.Bottom + shift);
            if (!isEnabled()) {
                TRect e = r;
                OffsetRect(e, 1, 1);
                c->Font()->SetColor(clBtnHighlight);
                DrawText(c, FCaption, e, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                c->Font()->SetColor(clBtnShadow);
            } else {
                c->Font()->SetColor(captionColor);
            }
            DrawText(c, FCaption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    if (clip) {
        c->SelectClipRegion(saved);
        if (FActive)
            DrawEdge(c, bounds, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        else {
            c->Brush()->SetColor(ColorOfParent());
            c->FrameRect(bounds);
        }
    }
}
