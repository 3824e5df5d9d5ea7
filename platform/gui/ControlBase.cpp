#include "ControlBase.h"

#include "Application.h"
#include "Canvas.h"
#include "Form.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimerEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace {

// Event type of a message posted to a control; it carries the serial number of
// the pending entry, so that a removed entry is recognised and skipped.
const QEvent::Type PostedMessageEvent = QEvent::Type(QEvent::registerEventType());

class TPostedMessageEvent : public QEvent {
public:
    explicit TPostedMessageEvent(quint64 s) : QEvent(PostedMessageEvent), serial(s) {}
    quint64 serial;
};

bool isSpecialKey(WORD key)
{
    switch (key) {
    case VK_TAB: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_RETURN: case VK_ESCAPE: case VK_EXECUTE: case VK_CANCEL:
        return true;
    default:
        return false;
    }
}

TMouseButton buttonOf(Qt::MouseButton b)
{
    if (b == Qt::RightButton) return mbRight;
    if (b == Qt::MiddleButton) return mbMiddle;
    return mbLeft;
}

} // namespace

// ---------------------------------------------------------------- key codes

WORD VirtualKeyFromQt(int k)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return WORD('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return WORD('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return WORD(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Select: return VK_SELECT;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Execute: return VK_EXECUTE;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Meta: return VK_LWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Minus: return VK_OEM_MINUS;
    case Qt::Key_Period: return VK_OEM_PERIOD;
    case Qt::Key_Slash: return VK_OEM_2;
    case Qt::Key_Semicolon: return VK_OEM_1;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_QuoteLeft: return VK_OEM_3;
    case Qt::Key_BracketLeft: return VK_OEM_4;
    case Qt::Key_Backslash: return VK_OEM_5;
    case Qt::Key_BracketRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: return VK_OEM_7;
    default: return 0;
    }
}

// The key of an event: the numeric pad's operator keys are keys of their own.
static WORD VirtualKeyOfEvent(const QKeyEvent* e)
{
    if (e->modifiers() & Qt::KeypadModifier) {
        switch (e->key()) {
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;
        }
    }
    return VirtualKeyFromQt(e->key());
}

int QtKeyFromVirtualKey(WORD vk)
{
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_SHIFT: return Qt::Key_Shift;
    case VK_CONTROL: return Qt::Key_Control;
    case VK_MENU: return Qt::Key_Alt;
    default: return 0;
    }
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s;
    if (mods & Qt::ShiftModifier) s << ssShift;
    if (mods & Qt::AltModifier) s << ssAlt;
    if (mods & Qt::ControlModifier) s << ssCtrl;
    if (buttons & Qt::LeftButton) s << ssLeft;
    if (buttons & Qt::RightButton) s << ssRight;
    if (buttons & Qt::MiddleButton) s << ssMiddle;
    return s;
}

TShiftState CurrentShiftState()
{
    return ShiftStateFromQt(QApplication::keyboardModifiers(), QApplication::mouseButtons());
}

QChar KeyPressCharFromQt(int k, Qt::KeyboardModifiers mods, const QString& text)
{
    switch (k) {
    case Qt::Key_Return: case Qt::Key_Enter: return QChar(13);
    case Qt::Key_Escape: return QChar(27);
    case Qt::Key_Backspace: return QChar(8);
    case Qt::Key_Tab: case Qt::Key_Backtab: return QChar(9);
    default: break;
    }
    if (mods & Qt::ControlModifier) {
        // Ctrl with a letter gives the control characters 1..26; Alt gives none.
        if (mods & Qt::AltModifier) return QChar(0);
        if (k >= Qt::Key_A && k <= Qt::Key_Z) return QChar(1 + (k - Qt::Key_A));
        return QChar(0);
    }
    if (mods & Qt::AltModifier) return QChar(0);
    if (!text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127) return text.at(0);
    return QChar(0);
}

short GetKeyState(int vk)
{
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    bool down = false;
    switch (vk) {
    case VK_SHIFT: down = mods & Qt::ShiftModifier; break;
    case VK_CONTROL: down = mods & Qt::ControlModifier; break;
    case VK_MENU: down = mods & Qt::AltModifier; break;
    case VK_LBUTTON: down = buttons & Qt::LeftButton; break;
    case VK_RBUTTON: down = buttons & Qt::RightButton; break;
    case VK_MBUTTON: down = buttons & Qt::MiddleButton; break;
    default: break;
    }
    return down ? short(-128) : short(0);
}

void MessageBeep(UINT) { QApplication::beep(); }

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: return Screen->Width();
    case SM_CYSCREEN: return Screen->Height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return TCustomControl::ScrollBarExtent();
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG:
    case SM_CYDRAG: return QApplication::startDragDistance();
    default: return 0;
    }
}

int GetDoubleClickTime() { return QApplication::doubleClickInterval(); }

Qt::CursorShape CursorShapeOf(TCursor c)
{
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: case crSQLWait: return Qt::WaitCursor;
    case crAppStart: return Qt::BusyCursor;
    case crDrag: case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop: case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

// ---------------------------------------------------------------- control

TCustomControl::TCustomControl(QWidget* parent) : QWidget(parent), m_color(clWindow)
{
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TCustomControl::~TCustomControl()
{
    if (m_captured && QWidget::mouseGrabber() == this) releaseMouse();
    delete m_font;
}

TRect TCustomControl::ClientRect() const { return TRect(0, 0, ClientWidth(), ClientHeight()); }

int TCustomControl::ClientWidth() const
{
    return std::max(0, width() - (ScrollBarVisible(SB_VERT) ? ScrollBarExtent() : 0));
}

int TCustomControl::ClientHeight() const
{
    return std::max(0, height() - (ScrollBarVisible(SB_HORZ) ? ScrollBarExtent() : 0));
}

void TCustomControl::SetColor(TColor c)
{
    if (c == m_color && !m_parentColor) return;
    m_color = c;
    m_parentColor = false;
    colorChanged();
}

void TCustomControl::SetParentColor(bool v)
{
    if (v == m_parentColor) return;
    m_parentColor = v;
    colorChanged();
}

TColor TCustomControl::ColorOfParent() const
{
    const QWidget* p = parentWidget();
    if (!p || isWindow())
        return clBtnFace;
    if (auto* control = qobject_cast<const TCustomControl*>(p))
        return control->Color();
    return FromQColor(p->palette().color(p->backgroundRole()));
}

// Repaints the control and every control inside it that shows its parent's colour.
void TCustomControl::colorChanged()
{
    Invalidate();
    const QList<TCustomControl*> inner = findChildren<TCustomControl*>();
    for (TCustomControl* c : inner)
        if (c->m_parentColor)
            c->Invalidate();
}

TFont* TCustomControl::Font()
{
    if (!m_font) {
        m_font = new TFont;
        m_font->AssignQFont(font());
        m_font->OnChange = [this] { setFont(m_font->toQFont()); Invalidate(); };
    }
    return m_font;
}

void TCustomControl::SetTabStop(bool v)
{
    m_tabStop = v;
    setFocusPolicy(v ? Qt::TabFocus : Qt::NoFocus);
}

void TCustomControl::SetFocus() { setFocus(Qt::OtherFocusReason); }

bool TCustomControl::CanFocus() const { return isVisible() && isEnabled(); }

TForm* TCustomControl::ParentForm() const { return GetParentForm(const_cast<TCustomControl*>(this)); }

// ---- keyboard ---------------------------------------------------------------

void TCustomControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TCustomControl::KeyPress(QChar& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TCustomControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

bool TCustomControl::claims(WORD key, TShiftState shift)
{
    if (WantSpecialKey(key, shift)) return true;
    UINT mask = 0;
    switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    default: mask = DLGC_WANTALLKEYS; break;
    }
    return (GetDlgCode() & mask) != 0;
}

// Order of a key press: the form's preview key-down, then, for a special key
// the control does not claim, the form's preview key-press and the dialog
// handling (focus move, default or cancel button); otherwise the control's
// KeyDown, the form's preview key-press and the control's KeyPress.
void TCustomControl::handleKey(QKeyEvent* e)
{
    WORD key = 0;
    QChar ch;
    ProcessChildKey(e, key, ch);
}

void TCustomControl::ProcessChildKey(QKeyEvent* e, WORD& Key, QChar& Ch)
{
    e->accept();
    WORD key = VirtualKeyOfEvent(e);
    TShiftState shift = ShiftStateFromQt(e->modifiers(), QApplication::mouseButtons());
    QChar ch = KeyPressCharFromQt(e->key(), e->modifiers(), e->text());
    Key = 0;
    Ch = QChar(0);
    QPointer<TCustomControl> self(this);
    Application->Guard([&] {
        TForm* form = ParentForm();
        bool preview = form && form->KeyPreview();
        if (preview) {
            form->DoKeyDown(key, shift);
            if (!self || key == 0) return;
        }
        bool charPreviewed = false;
        if (isSpecialKey(key) && !claims(key, shift)) {
            if (preview && ch != QChar(0)) {
                form->DoKeyPress(ch);
                charPreviewed = true;
                if (!self || ch == QChar(0)) return;
            }
            // The focus step starts at the inner window that has the focus.
            QWidget* from = this;
            if (QWidget* f = QApplication::focusWidget(); f && isAncestorOf(f)) from = f;
            if (DispatchDialogKey(from, key, shift)) return;
        }
        KeyDown(key, shift);
        Key = key;
        if (!self || ch == QChar(0)) return;
        if (preview && !charPreviewed) {
            form->DoKeyPress(ch);
            if (!self || ch == QChar(0)) return;
        }
        KeyPress(ch);
        Ch = ch;
    });
    if (!self) {
        Key = 0;
        Ch = QChar(0);
    }
}

void TCustomControl::handleKeyRelease(QKeyEvent* e)
{
    e->accept();
    if (e->isAutoRepeat()) return;
    WORD key = VirtualKeyOfEvent(e);
    TShiftState shift = ShiftStateFromQt(e->modifiers(), QApplication::mouseButtons());
    QPointer<TCustomControl> self(this);
    Application->Guard([&] {
        TForm* form = ParentForm();
        if (form && form->KeyPreview()) {
            form->DoKeyUp(key, shift);
            if (!self || key == 0) return;
        }
        KeyUp(key, shift);
    });
}

// ---- mouse --------------------------------------------------------------------

bool TCustomControl::MouseCapture() const { return m_captured || QWidget::mouseGrabber() == this; }

void TCustomControl::SetMouseCapture(bool v)
{
    if (v) {
        m_captured = true;
        if (QWidget::mouseGrabber() != this) grabMouse();
    } else {
        m_captured = false;
        if (QWidget::mouseGrabber() == this) releaseMouse();
    }
}

void TCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TCustomControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TCustomControl::Click()
{
    if (OnClick) OnClick(this);
}

void TCustomControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

bool TCustomControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled) return true;
    return WheelDelta < 0 ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
}

TPoint TCustomControl::ScreenToClient(const TPoint& p) const
{
    QPoint q = mapFromGlobal(p.toQPoint());
    return {q.x(), q.y()};
}

TPoint TCustomControl::ClientToScreen(const TPoint& p) const
{
    QPoint q = mapToGlobal(p.toQPoint());
    return {q.x(), q.y()};
}

TPoint TCustomControl::CursorPos() const { return ScreenToClient(TPoint(QCursor::pos().x(), QCursor::pos().y())); }

void TCustomControl::handleMouse(QMouseEvent* e)
{
    e->accept();
    const int x = qRound(e->position().x());
    const int y = qRound(e->position().y());
    TShiftState shift = ShiftStateFromQt(e->modifiers(), e->buttons());
    QPointer<TCustomControl> self(this);
    Application->Guard([&] {
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            TMouseButton b = buttonOf(e->button());
            if (m_captureOnPress) m_captured = true;
            if (b == mbLeft) m_clicked = m_clickEvents;
            MouseDown(b, shift, x, y);
            break;
        }
        case QEvent::MouseButtonDblClick: {
            TMouseButton b = buttonOf(e->button());
            if (m_captureOnPress) m_captured = true;
            if (b == mbLeft && m_clickEvents) DblClick();
            if (self) MouseDown(b, shift << ssDouble, x, y);
            break;
        }
        case QEvent::MouseButtonRelease: {
            TMouseButton b = buttonOf(e->button());
            if (e->buttons() == Qt::NoButton) SetMouseCapture(false);
            if (b == mbLeft && m_clicked) {
                m_clicked = false;
                if (PtInRect(ClientRect(), TPoint(x, y))) Click();
            }
            if (self) MouseUp(b, shift, x, y);
            break;
        }
        case QEvent::MouseMove:
            updateCursorAt(QPoint(x, y));
            MouseMove(shift, x, y);
            break;
        default:
            break;
        }
    });
}

void TCustomControl::updateCursorAt(const QPoint& p)
{
    TCursor c = CursorAt(p.x(), p.y());
    if (c == m_shownCursor && testAttribute(Qt::WA_SetCursor) == (c != crDefault)) return;
    m_shownCursor = c;
    if (c == crDefault)
        unsetCursor();
    else
        QWidget::setCursor(CursorShapeOf(c));
}

void TCustomControl::SetCursor(TCursor c)
{
    m_cursor = c;
    updateCursorAt(mapFromGlobal(QCursor::pos()));
}

bool TCustomControl::HintAt(const TPoint&, QString& text, TRect& area)
{
    if (!m_showHint || m_hint.isEmpty()) return false;
    text = m_hint;
    area = ClientRect();
    return true;
}

void TCustomControl::handleToolTip(QHelpEvent* e)
{
    QString text;
    TRect area;
    bool ok = false;
    Application->Guard([&] { ok = HintAt(TPoint(e->pos().x(), e->pos().y()), text, area); });
    if (ok && !text.isEmpty())
        QToolTip::showText(e->globalPos(), text, this, area.toQRect());
    else
        QToolTip::hideText();
}

// ---- focus ----------------------------------------------------------------------

void TCustomControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TCustomControl::DoExit()
{
    if (OnExit) OnExit(this);
}

static bool windowSwitch(Qt::FocusReason r)
{
    return r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason;
}

void TCustomControl::handleFocusIn(QFocusEvent* e)
{
    Application->Guard([&] {
        FocusSet();
        // Entered once per stay: coming back from another window is no new entry.
        if (!m_entered) {
            m_entered = true;
            DoEnter();
        }
    });
    Invalidate();
}

void TCustomControl::handleFocusOut(QFocusEvent* e)
{
    QPointer<TCustomControl> self(this);
    Application->Guard([&] { FocusKilled(); });
    if (!self) return;
    if (MouseCapture()) {
        SetMouseCapture(false);
        Application->Guard([&] { Perform(WM_CANCELMODE); });
    }
    if (!self || windowSwitch(e->reason()) || !m_entered) return;
    m_entered = false;
    // Leaving may be refused: an exception out of DoExit takes the focus back
    // before it is shown (EAbort silently).
    std::exception_ptr failure;
    try {
        DoExit();
    } catch (...) {
        failure = std::current_exception();
    }
    if (!self) return;
    if (failure) {
        m_entered = true;
        setFocus(Qt::OtherFocusReason);
        Application->HandleException(failure, this);
    }
    Invalidate();
}

// ---- timers -----------------------------------------------------------------------

void TCustomControl::SetTimer(UINT id, int ms)
{
    KillTimer(id);
    int qid = startTimer(std::max(0, ms), Qt::PreciseTimer);
    if (qid == 0) return;
    m_timers[id] = qid;
    m_timerIds[qid] = id;
}

void TCustomControl::KillTimer(UINT id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end()) return;
    killTimer(it->second);
    m_timerIds.erase(it->second);
    m_timers.erase(it);
}

void TCustomControl::timerEvent(QTimerEvent* e)
{
    auto it = m_timerIds.find(e->timerId());
    if (it == m_timerIds.end()) {
        QWidget::timerEvent(e);
        return;
    }
    UINT id = it->second;
    Application->Guard([&] { Perform(WM_TIMER, id); });
}

// ---- messages ---------------------------------------------------------------------

LRESULT TCustomControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    WndProc(m);
    return m.Result;
}

void TCustomControl::PostMessage(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    quint64 serial = m_nextSerial++;
    m_posted.push_back({serial, TMessage{Msg, WParam, LParam, 0}});
    QCoreApplication::postEvent(this, new TPostedMessageEvent(serial));
}

bool TCustomControl::PeekMessage(TMessage& out, UINT msgMin, UINT msgMax, bool remove)
{
    for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
        UINT m = it->msg.Msg;
        if ((msgMin == 0 && msgMax == 0) || (m >= msgMin && m <= msgMax)) {
            out = it->msg;
            if (remove) m_posted.erase(it);
            return true;
        }
    }
    return false;
}

int TCustomControl::RemovePendingMessages(UINT Msg)
{
    int n = 0;
    for (auto it = m_posted.begin(); it != m_posted.end();) {
        if (it->msg.Msg == Msg) {
            it = m_posted.erase(it);
            ++n;
        } else {
            ++it;
        }
    }
    return n;
}

void TCustomControl::handlePosted(quint64 serial)
{
    for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
        if (it->serial == serial) {
            TMessage m = it->msg;
            m_posted.erase(it);
            Application->Guard([&] { WndProc(m); });
            return;
        }
    }
}

void TCustomControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_TIMER:
        Timer(UINT(m.WParam));
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        ScrollBarMessage(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, int(m.WParam & 0xFFFF), int(m.LParam));
        break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        CancelMode();
        break;
    case WM_GETDLGCODE:
        m.Result = LRESULT(GetDlgCode());
        break;
    case CM_WANTSPECIALKEY:
        m.Result = WantSpecialKey(WORD(m.WParam), CurrentShiftState()) ? 1 : 0;
        break;
    default:
        MessageReceived(m);
        break;
    }
}

// ---- scroll bars -------------------------------------------------------------------

int TCustomControl::ScrollBarExtent()
{
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void TCustomControl::SetScrollBars(TScrollStyle s)
{
    if (s == m_scrollBars) return;
    m_scrollBars = s;
    applyBar(SB_HORZ);
    applyBar(SB_VERT);
}

static bool barAllowed(TScrollStyle s, int bar)
{
    if (bar == SB_HORZ) return s == TScrollStyle::ssHorizontal || s == TScrollStyle::ssBoth;
    return s == TScrollStyle::ssVertical || s == TScrollStyle::ssBoth;
}

// Largest position of a bar: nMax - max(nPage - 1, 0).
static int maxPos(const TScrollInfo& si)
{
    int page = int(si.nPage);
    return std::max(si.nMin, si.nMax - std::max(page - 1, 0));
}

static bool hasRange(const TScrollInfo& si)
{
    if (si.nMax <= si.nMin) return false;
    return si.nPage == 0 || int(si.nPage) <= si.nMax - si.nMin;
}

bool TCustomControl::ScrollBarVisible(int bar) const
{
    const QScrollBar* b = bar == SB_HORZ ? m_hbar : m_vbar;
    return b && !b->isHidden();
}

QScrollBar* TCustomControl::ensureBar(int bar)
{
    QScrollBar*& b = bar == SB_HORZ ? m_hbar : m_vbar;
    if (!b) {
        b = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, this);
        b->setFocusPolicy(Qt::NoFocus);
        b->setTracking(false);
        b->hide();
        connect(b, &QAbstractSlider::actionTriggered, this, [this, bar](int a) { barAction(bar, a); });
        connect(b, &QAbstractSlider::sliderReleased, this, [this, bar] { barReleased(bar); });
    }
    return b;
}

void TCustomControl::applyBar(int bar)
{
    const TScrollInfo& si = m_bars[bar].info;
    // A bar set with SIF_DISABLENOSCROLL stays on screen, disabled, when it cannot scroll.
    const bool scrollable = hasRange(si);
    bool show = barAllowed(m_scrollBars, bar) && (scrollable || m_bars[bar].disableNoScroll);
    QScrollBar* b = (show || (bar == SB_HORZ ? m_hbar : m_vbar)) ? ensureBar(bar) : nullptr;
    if (!b) return;
    b->setEnabled(scrollable);
    {
        QSignalBlocker block(b);
        b->setRange(si.nMin, maxPos(si));
        b->setPageStep(std::max(1, int(si.nPage)));
        b->setSingleStep(1);
        if (!m_bars[bar].dragging) {
            b->setValue(si.nPos);
            b->setSliderPosition(si.nPos);
        }
    }
    if (show == b->isHidden()) {
        b->setVisible(show);
        layoutBars();
    }
}

void TCustomControl::layoutBars()
{
    const int ext = ScrollBarExtent();
    const bool h = ScrollBarVisible(SB_HORZ), v = ScrollBarVisible(SB_VERT);
    if (h) m_hbar->setGeometry(0, height() - ext, width() - (v ? ext : 0), ext);
    if (v) m_vbar->setGeometry(width() - ext, 0, ext, height() - (h ? ext : 0));
    QSize client(ClientWidth(), ClientHeight());
    if (client != m_lastClientSize) {
        m_lastClientSize = client;
        Invalidate();
        QPointer<TCustomControl> self(this);
        Application->Guard([&] {
            Resize();
            if (self && OnResize) OnResize(this);
        });
    }
}

int TCustomControl::SetScrollInfo(int bar, const TScrollInfo& in, bool)
{
    if (bar != SB_HORZ && bar != SB_VERT) return 0;
    TScrollInfo& si = m_bars[bar].info;
    if (in.fMask & SIF_RANGE) {
        si.nMin = in.nMin;
        si.nMax = in.nMax;
    }
    if (in.fMask & SIF_PAGE) si.nPage = std::min<UINT>(in.nPage, UINT(std::max(0, si.nMax - si.nMin + 1)));
    if (in.fMask & SIF_POS) si.nPos = in.nPos;
    m_bars[bar].disableNoScroll = (in.fMask & SIF_DISABLENOSCROLL) != 0;
    si.nPos = std::clamp(si.nPos, si.nMin, maxPos(si));
    if (!m_bars[bar].dragging) si.nTrackPos = si.nPos;
    applyBar(bar);
    return si.nPos;
}

bool TCustomControl::GetScrollInfo(int bar, TScrollInfo& out) const
{
    if (bar != SB_HORZ && bar != SB_VERT) return false;
    const TScrollInfo& si = m_bars[bar].info;
    UINT mask = out.fMask;
    if (mask & SIF_RANGE) { out.nMin = si.nMin; out.nMax = si.nMax; }
    if (mask & SIF_PAGE) out.nPage = si.nPage;
    if (mask & SIF_POS) out.nPos = si.nPos;
    if (mask & SIF_TRACKPOS) out.nTrackPos = si.nTrackPos;
    return true;
}

int TCustomControl::GetScrollPos(int bar) const
{
    return bar == SB_HORZ || bar == SB_VERT ? m_bars[bar].info.nPos : 0;
}

int TCustomControl::SetScrollPos(int bar, int pos, bool redraw)
{
    int old = GetScrollPos(bar);
    TScrollInfo si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(bar, si, redraw);
    return old;
}

void TCustomControl::SetScrollRange(int bar, int min, int max, bool redraw)
{
    TScrollInfo si;
    si.fMask = SIF_RANGE;
    si.nMin = min;
    si.nMax = max;
    SetScrollInfo(bar, si, redraw);
}

// A Qt scroll bar moves by itself; a Windows one reports the request and
// waits for the control to set the new position. So the bar is put back to
// the stored position and the control gets the scroll code.
void TCustomControl::barAction(int bar, int action)
{
    QScrollBar* b = bar == SB_HORZ ? m_hbar : m_vbar;
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    int pos = b->sliderPosition();
    if (code == SB_THUMBTRACK) {
        m_bars[bar].dragging = b->isSliderDown();
        m_bars[bar].info.nTrackPos = pos;
    } else {
        QSignalBlocker block(b);
        b->setSliderPosition(m_bars[bar].info.nPos);
    }
    Application->Guard([&] { Perform(bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, WPARAM(code), pos); });
    if (code != SB_THUMBTRACK)
        Application->Guard([&] { Perform(bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, WPARAM(SB_ENDSCROLL), 0); });
}

void TCustomControl::barReleased(int bar)
{
    QScrollBar* b = bar == SB_HORZ ? m_hbar : m_vbar;
    int pos = b->sliderPosition();
    m_bars[bar].dragging = false;
    m_bars[bar].info.nTrackPos = pos;
    Application->Guard([&] { Perform(bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, WPARAM(SB_THUMBPOSITION), pos); });
    Application->Guard([&] { Perform(bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, WPARAM(SB_ENDSCROLL), 0); });
    // Whatever the control decided is what the bar shows.
    QSignalBlocker block(b);
    b->setValue(m_bars[bar].info.nPos);
    b->setSliderPosition(m_bars[bar].info.nPos);
}

void TCustomControl::ScrollWindow(int dx, int dy, const TRect* rect)
{
    QRect r = rect ? rect->toQRect() : ClientRect().toQRect();
    r &= ClientRect().toQRect();
    if (r.isEmpty()) return;
    if (std::abs(dx) >= r.width() || std::abs(dy) >= r.height() || m_buffer.isNull()) {
        InvalidateRect(TRect(r));
        return;
    }
    // Moves the pixels in the back buffer; what is uncovered is painted again.
    const QRect src = r.translated(-dx, -dy) & r;
    const QImage moved = m_buffer.copy(src);
    {
        QPainter p(&m_buffer);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(src.topLeft() + QPoint(dx, dy), moved);
    }
    QRegion pendingInside = m_pending & QRegion(r);
    m_pending -= QRegion(r);
    m_pending += pendingInside.translated(dx, dy) & QRegion(r);
    QRegion uncovered(r);
    uncovered -= QRegion(src.translated(dx, dy));
    m_pending += uncovered;
    update(r);
}

// ---- painting -----------------------------------------------------------------------

void TCustomControl::Invalidate()
{
    m_pending += rect();
    update();
}

void TCustomControl::InvalidateRect(const TRect& r)
{
    QRect q = r.toQRect();
    if (q.isEmpty()) return;
    m_pending += q;
    update(q);
}

void TCustomControl::Update()
{
    flushOverlay();
    if (m_pending.isEmpty() || !isVisible()) return;
    QRegion r = m_pending;
    repaint(r);
}

void TCustomControl::Repaint()
{
    m_pending += rect();
    repaint();
}

void TCustomControl::Paint() {}

TCanvas* TCustomControl::Canvas()
{
    if (m_inPaint) return m_canvas;
    m_overlay.SetSize(width(), height());
    if (!m_flushQueued) {
        // Shown once the drawing code is done.
        m_flushQueued = true;
        QMetaObject::invokeMethod(this, [this] { flushOverlay(); }, Qt::QueuedConnection);
    }
    return m_overlay.Canvas();
}

void TCustomControl::flushOverlay()
{
    m_flushQueued = false;
    m_overlay.Flush(this);
}

// The control paints into its back buffer: the invalidated part of the
// requested area through Paint, then shows the buffer.
void TCustomControl::paintEvent(QPaintEvent* e)
{
    if (m_buffer.size() != size()) {
        m_buffer = QImage(size(), QImage::Format_RGB32);
        m_buffer.fill(ToQColor(Color()));
        m_pending = QRegion(rect());
    }
    const QRegion client(ClientRect().toQRect());
    const QRegion toPaint = e->region() & m_pending & client;
    m_pending -= e->region();
    if (!toPaint.isEmpty()) {
        QPainter painter(&m_buffer);
        painter.setClipRegion(toPaint);
        TCanvas canvas(&painter);
        canvas.Font()->Assign(*Font());
        canvas.Brush()->SetColor(Color());
        m_canvas = &canvas;
        m_inPaint = true;
        Application->Guard([&] { Paint(); });
        m_inPaint = false;
        m_canvas = nullptr;
        canvas.Release();
    }
    QPainter screen(this);
    screen.setClipRegion(e->region());
    if (m_overlay.IsEmpty()) {
        screen.drawImage(0, 0, m_buffer);
    } else {
        QImage frame = m_buffer;
        {
            QPainter p(&frame);
            m_overlay.Apply(&p);
        }
        screen.drawImage(0, 0, frame);
    }
    if (ScrollBarVisible(SB_HORZ) && ScrollBarVisible(SB_VERT)) {
        const int ext = ScrollBarExtent();
        screen.fillRect(width() - ext, height() - ext, ext, ext, palette().window());
    }
}

void TCustomControl::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    layoutBars();
}

void TCustomControl::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange && m_font) {
        auto handler = std::move(m_font->OnChange);
        m_font->AssignQFont(font());
        m_font->OnChange = std::move(handler);
    } else if ((e->type() == QEvent::PaletteChange || e->type() == QEvent::ParentChange) && m_parentColor) {
        // The parent's background may be another colour now.
        colorChanged();
    } else if (e->type() == QEvent::ActivationChange && !isActiveWindow() && MouseCapture()) {
        SetMouseCapture(false);
        Application->Guard([&] { Perform(WM_CANCELMODE); });
    }
}

bool TCustomControl::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        handleKey(static_cast<QKeyEvent*>(e));
        return true;
    case QEvent::KeyRelease:
        handleKeyRelease(static_cast<QKeyEvent*>(e));
        return true;
    case QEvent::ShortcutOverride: {
        // Keys the control claims are not taken by shortcuts of the window.
        auto* k = static_cast<QKeyEvent*>(e);
        WORD key = VirtualKeyOfEvent(k);
        TShiftState shift = ShiftStateFromQt(k->modifiers());
        bool claim = false;
        Application->Guard([&] {
            if (isSpecialKey(key))
                claim = claims(key, shift);
            else if (!k->text().isEmpty() && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
                claim = (GetDlgCode() & DLGC_WANTCHARS) != 0;
        });
        if (claim) e->accept();
        return claim;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        handleMouse(static_cast<QMouseEvent*>(e));
        return true;
    case QEvent::Wheel: {
        auto* w = static_cast<QWheelEvent*>(e);
        int delta = w->angleDelta().y();
        if (delta == 0) return QWidget::event(e);
        QPoint g = w->globalPosition().toPoint();
        TShiftState shift = ShiftStateFromQt(w->modifiers(), w->buttons());
        bool handled = false;
        Application->Guard([&] { handled = DoMouseWheel(shift, delta, TPoint(g.x(), g.y())); });
        w->setAccepted(handled);
        return true;
    }
    case QEvent::Enter:
        Application->Guard([&] { MouseEnter(); });
        updateCursorAt(mapFromGlobal(QCursor::pos()));
        return QWidget::event(e);
    case QEvent::Leave:
        Application->Guard([&] { MouseLeave(); });
        return QWidget::event(e);
    case QEvent::FocusIn:
        handleFocusIn(static_cast<QFocusEvent*>(e));
        return true;
    case QEvent::FocusOut:
        handleFocusOut(static_cast<QFocusEvent*>(e));
        return true;
    case QEvent::ToolTip:
        handleToolTip(static_cast<QHelpEvent*>(e));
        return true;
    default:
        if (e->type() == PostedMessageEvent) {
            handlePosted(static_cast<TPostedMessageEvent*>(e)->serial);
            return true;
        }
        return QWidget::event(e);
    }
}
