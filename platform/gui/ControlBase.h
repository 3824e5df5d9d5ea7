#pragma once
// TCustomControl: the base of every custom-drawn control (grids, editors, the
// template view). It turns Qt's events into the key, mouse, focus, timer,
// scroll and private messages those controls are written against:
//
//  - keys: KeyDown (Windows key code + shift state), KeyPress (character, with
//    Enter = 13, Esc = 27, Backspace = 8, Ctrl+A..Z = 1..26), KeyUp. Tab, arrows,
//    Enter and Esc go to the dialog (focus moves, default and cancel buttons)
//    unless the control claims them through GetDlgCode / WantSpecialKey;
//  - mouse: MouseDown / MouseMove / MouseUp with capture, Click, DblClick,
//    wheel, enter and leave; the cursor is asked for on every move (CursorAt);
//  - focus: DoEnter / DoExit; an exception out of DoExit keeps the focus on
//    the control (EAbort refuses silently, others are shown);
//  - timers by id (SetTimer / KillTimer -> Timer(id));
//  - private messages posted to self (PostMessage), with PeekMessage-style
//    removal of pending ones, and Perform for synchronous ones;
//  - scroll bars with Windows' ranges (SetScrollInfo) reporting WM_HSCROLL /
//    WM_VSCROLL codes (SB_LINEUP ...) instead of moving by themselves;
//  - painting through TCanvas in Paint(); Invalidate, Update, Repaint.
// No exception leaves an event handler: every entry point goes through the
// application's error display.
#include "Graphics.h"
#include "Messages.h"
#include "XorOverlay.h"

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <deque>
#include <functional>
#include <map>
#include <memory>

class QScrollBar;
class QHelpEvent;
class QKeyEvent;
class QMouseEvent;
class QFocusEvent;
class TCanvas;
class TForm;

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TKeyEvent = std::function<void(QObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;
using TMouseEvent = std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(QObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;

// Shift state of a Qt event's modifiers and buttons.
TShiftState ShiftStateFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);
// The character a key press delivers as KeyPress (0 when none).
QChar KeyPressCharFromQt(int qtKey, Qt::KeyboardModifiers mods, const QString& text);
// Current state of the keyboard modifiers and mouse buttons.
TShiftState CurrentShiftState();

class TCustomControl : public QWidget {
    Q_OBJECT
public:
    explicit TCustomControl(QWidget* parent = nullptr);
    ~TCustomControl() override;

    // ---- class-library properties ---------------------------------------
    TRect ClientRect() const;          // the client area: the widget less its scroll bars
    int ClientWidth() const;
    int ClientHeight() const;
    // The colour the control paints its background in. With ParentColor the
    // control shows its parent's colour (following it when it changes), as the
    // class library's check boxes, labels, panels and speed buttons do; setting
    // a colour turns ParentColor off. Edits, grids and lists keep their own
    // window colour (the default).
    TColor Color() const { return m_parentColor ? ColorOfParent() : m_color; }
    void SetColor(TColor c);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool v);
    // The parent's colour: a control's Color, another widget's background, the
    // button face without a parent.
    TColor ColorOfParent() const;
    TFont* Font();                      // the control's font; changes apply to the widget
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool v);
    bool Focused() const { return hasFocus(); }
    void SetFocus();
    bool CanFocus() const;
    TForm* ParentForm() const;

    // ---- keyboard -------------------------------------------------------
    // Keys the control keeps from the dialog (DLGC_WANTARROWS, DLGC_WANTTAB,
    // DLGC_WANTALLKEYS, DLGC_WANTCHARS). The base answers 0.
    virtual UINT GetDlgCode() { return 0; }
    // Claims one special key (Enter, Esc, Tab, arrows) beyond GetDlgCode.
    virtual bool WantSpecialKey(WORD Key, TShiftState Shift) { return false; }
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void KeyUp(WORD& Key, TShiftState Shift);

    // ---- mouse ----------------------------------------------------------
    bool MouseCapture() const;
    void SetMouseCapture(bool v);
    // Whether a press captures the mouse until release (the default) and a
    // release inside the control after a left press fires Click.
    void SetCaptureOnPress(bool v) { m_captureOnPress = v; }
    void SetClickEvents(bool v) { m_clickEvents = v; }
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) { return false; }
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) { return false; }
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // The capture or a drag state ends (capture taken away, window deactivated,
    // WM_CANCELMODE performed).
    virtual void CancelMode() {}
    // Client coordinates of the mouse.
    TPoint ScreenToClient(const TPoint& p) const;
    TPoint ClientToScreen(const TPoint& p) const;
    TPoint CursorPos() const;   // mouse position in client coordinates

    // ---- cursor and hints -----------------------------------------------
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor c);
    // The cursor for a client point; asked on every mouse move. Base: Cursor().
    virtual TCursor CursorAt(int X, int Y) { return m_cursor; }
    QString Hint() const { return m_hint; }
    void SetHint(const QString& h) { m_hint = h; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool v) { m_showHint = v; }
    // The hint for a client point and the area in which it stays valid. Base:
    // Hint() over the client rectangle when ShowHint is on.
    virtual bool HintAt(const TPoint& p, QString& text, TRect& area);

    // ---- focus ----------------------------------------------------------
    virtual void DoEnter();
    virtual void DoExit();      // may raise to keep the focus here
    virtual void FocusSet() {}  // the window got the focus (any reason)
    virtual void FocusKilled() {}

    // ---- timers ---------------------------------------------------------
    // Starts or restarts timer `id`; Timer(id) is called every `ms` milliseconds.
    void SetTimer(UINT id, int ms);
    void KillTimer(UINT id);
    bool TimerActive(UINT id) const { return m_timers.count(id) != 0; }
    virtual void Timer(UINT id) {}

    // ---- messages -------------------------------------------------------
    // Synchronous message: goes through WndProc and returns its Result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // Queued message to self, handled once by WndProc after the current event.
    void PostMessage(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // The first pending posted message with Msg in [msgMin, msgMax] (both 0:
    // any); with remove it never arrives.
    bool PeekMessage(TMessage& out, UINT msgMin, UINT msgMax, bool remove);
    // Removes every pending posted message Msg; returns how many.
    int RemovePendingMessages(UINT Msg);
    int PendingMessageCount() const { return int(m_posted.size()); }
    // Message dispatch. The base routes WM_TIMER, WM_HSCROLL, WM_VSCROLL,
    // WM_CANCELMODE, WM_GETDLGCODE and CM_WANTSPECIALKEY to the virtuals above
    // and everything else to MessageReceived.
    virtual void WndProc(TMessage& Message);
    virtual void MessageReceived(TMessage& Message) {}

    // ---- scroll bars ----------------------------------------------------
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle s);
    // Windows rules: the range is nMin..nMax, a page of nPage, the position is
    // kept within nMin..nMax - max(nPage - 1, 0). A bar shows (when the style
    // allows it) while its range is larger than its page.
    int SetScrollInfo(int Bar, const TScrollInfo& si, bool Redraw = true);
    bool GetScrollInfo(int Bar, TScrollInfo& si) const;
    int GetScrollPos(int Bar) const;
    int SetScrollPos(int Bar, int Pos, bool Redraw = true);
    void SetScrollRange(int Bar, int Min, int Max, bool Redraw = true);
    bool ScrollBarVisible(int Bar) const;
    QScrollBar* ScrollBarWidget(int Bar) const { return Bar == SB_HORZ ? m_hbar : m_vbar; }
    // Width of a vertical (height of a horizontal) scroll bar.
    static int ScrollBarExtent();
    // A scroll bar was used: SB_... code and the thumb position for the
    // thumb codes (WM_HSCROLL / WM_VSCROLL).
    virtual void ScrollBarMessage(int Bar, int ScrollCode, int Pos) {}
    // Moves the pixels of a client rectangle (the whole client area when null)
    // by (dx, dy); uncovered parts are invalidated.
    void ScrollWindow(int dx, int dy, const TRect* rect = nullptr);

    // ---- painting -------------------------------------------------------
    void Invalidate();
    void InvalidateRect(const TRect& r);
    void Update();      // paints what is invalidated now
    void Repaint();     // invalidates and paints now
    bool Painting() const { return m_inPaint; }
    // The control's canvas. Inside Paint it paints the invalidated area of
    // the control's back buffer. Outside Paint it draws the inverting figures
    // (sizing and move lines with pmXor / pmNotXor pens, DrawFocusRect,
    // InvertRect) on the control's XOR overlay: they show at once, stay in
    // place over later painting and vanish when drawn a second time.
    TCanvas* Canvas();
    TXorOverlay* Overlay() { return &m_overlay; }
    // Size changes of the client area (also when a scroll bar appears).
    virtual void Resize() {}

    // ---- events ---------------------------------------------------------
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TNotifyEvent OnClick, OnDblClick, OnEnter, OnExit, OnResize;

protected:
    virtual void Paint();
    // Runs a key press that an inner window of the control received (an edit
    // window holding the control's text) through the control's key handling, as
    // if the control had received it. Key and Ch come back as the handlers left
    // them for the inner window; both 0 when the key was consumed.
    void ProcessChildKey(QKeyEvent* e, WORD& Key, QChar& Ch);

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void handleKey(QKeyEvent* e);
    void handleKeyRelease(QKeyEvent* e);
    void handleMouse(QMouseEvent* e);
    void handleFocusIn(QFocusEvent* e);
    void handleFocusOut(QFocusEvent* e);
    void handleToolTip(QHelpEvent* e);
    void handlePosted(quint64 serial);
    bool claims(WORD key, TShiftState shift);
    void updateCursorAt(const QPoint& p);
    QScrollBar* ensureBar(int bar);
    void barAction(int bar, int action);
    void barReleased(int bar);
    void layoutBars();
    void applyBar(int bar);

    struct BarState {
        TScrollInfo info;
        bool dragging = false;
        bool disableNoScroll = false;   // the last SetScrollInfo asked to keep a bar that cannot scroll
    };

    TColor m_color;
    bool m_parentColor = false;
    void colorChanged();
    TFont* m_font = nullptr;
    bool m_tabStop = true;
    bool m_captureOnPress = true;
    bool m_clickEvents = true;
    bool m_clicked = false;
    bool m_captured = false;
    bool m_entered = false;
    TCursor m_cursor = crDefault;
    TCursor m_shownCursor = crDefault;
    QString m_hint;
    bool m_showHint = false;
    std::map<UINT, int> m_timers;           // id -> Qt timer id
    std::map<int, UINT> m_timerIds;         // Qt timer id -> id
    struct Posted { quint64 serial; TMessage msg; };
    std::deque<Posted> m_posted;
    quint64 m_nextSerial = 1;
    TScrollStyle m_scrollBars = TScrollStyle::ssNone;
    QScrollBar* m_hbar = nullptr;
    QScrollBar* m_vbar = nullptr;
    BarState m_bars[2];
    QSize m_lastClientSize;
    QRegion m_pending;
    QImage m_buffer;                        // what the control shows
    TCanvas* m_canvas = nullptr;            // canvas of the running Paint
    TXorOverlay m_overlay;                  // figures drawn outside Paint
    bool m_flushQueued = false;
    bool m_inPaint = false;
    void flushOverlay();
};

// State of a key or mouse button as Windows reports it: negative while down
// (shift, control, alt keys and the mouse buttons).
short GetKeyState(int vk);
inline short GetAsyncKeyState(int vk) { return GetKeyState(vk); }
// The default beep.
void MessageBeep(UINT type = 0);

enum : int {
    SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CXBORDER = 5,
    SM_CYBORDER = 6, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXEDGE = 45, SM_CYEDGE = 46,
    SM_CXDRAG = 68, SM_CYDRAG = 69,
};
// A few system measures: screen size, scroll-bar size, borders, drag distance.
int GetSystemMetrics(int index);
int GetDoubleClickTime();
constexpr int WHEEL_DELTA = 120;

// Maps a class-library cursor to Qt's cursor shape.
Qt::CursorShape CursorShapeOf(TCursor c);
