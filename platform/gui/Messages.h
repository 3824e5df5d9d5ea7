#pragma once
// Key codes, shift states, message numbers and the small records that the
// custom-drawn controls, the forms and the dialogs exchange. The numbers are the
// ones the Windows-style code of this program is written against, so a handler
// can compare a key with VK_RETURN or a message with WM_USER + 100 as it reads.
#include <QtGlobal>
#include <cstdint>

using WORD = quint16;
using UINT = quint32;
using WPARAM = quintptr;
using LPARAM = qintptr;
using LRESULT = qintptr;

// ---- virtual key codes ----------------------------------------------------
enum : WORD {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D,
    VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
    VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F,
    // '0'..'9' are 0x30..0x39 and 'A'..'Z' are 0x41..0x5A, as their characters.
    VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D,
    VK_NUMPAD0 = 0x60, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4, VK_NUMPAD5,
    VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9,
    VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9, VK_F10,
    VK_F11, VK_F12,
    VK_NUMLOCK = 0x90, VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB,
    VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE,
};

// ---- shift state ----------------------------------------------------------
// A set of modifier keys and mouse buttons, used as `Shift.contains(ssCtrl)`
// or `Shift == TShiftState()`.
enum TShiftStateItem : quint16 {
    ssShift = 0x01, ssAlt = 0x02, ssCtrl = 0x04, ssLeft = 0x08, ssRight = 0x10,
    ssMiddle = 0x20, ssDouble = 0x40,
};

class TShiftState {
public:
    constexpr TShiftState() = default;
    constexpr TShiftState(TShiftStateItem i) : m_bits(i) {}
    constexpr TShiftState(std::initializer_list<TShiftStateItem> items)
    {
        for (auto i : items) m_bits |= i;
    }
    constexpr bool contains(TShiftStateItem i) const { return (m_bits & i) != 0; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr TShiftState& operator<<(TShiftStateItem i) { m_bits |= i; return *this; }
    constexpr TShiftState& operator>>(TShiftStateItem i) { m_bits &= ~i; return *this; }
    constexpr TShiftState operator+(TShiftState o) const { TShiftState r; r.m_bits = m_bits | o.m_bits; return r; }
    constexpr TShiftState operator-(TShiftState o) const { TShiftState r; r.m_bits = m_bits & ~o.m_bits; return r; }
    constexpr TShiftState operator*(TShiftState o) const { TShiftState r; r.m_bits = m_bits & o.m_bits; return r; }
    constexpr bool operator==(const TShiftState& o) const = default;
    constexpr quint16 bits() const { return m_bits; }
private:
    quint16 m_bits = 0;
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// ---- messages -------------------------------------------------------------
enum : UINT {
    WM_NULL = 0x0000, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_CLOSE = 0x0010,
    WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020, WM_NEXTDLGCTL = 0x0028,
    WM_GETDLGCODE = 0x0087,
    WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104,
    WM_COMMAND = 0x0111, WM_TIMER = 0x0113, WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115,
    WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206, WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209, WM_MOUSEWHEEL = 0x020A,
    WM_USER = 0x0400,
    // Control notifications of the class library (its own range above 0xB000).
    CM_BASE = 0xB000, CM_ENTER = CM_BASE + 10, CM_EXIT = CM_BASE + 11,
    CM_CANCELMODE = CM_BASE + 4, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
    CM_WANTSPECIALKEY = CM_BASE + 22, CM_DIALOGKEY = CM_BASE + 5,
};

// Answers to WM_GETDLGCODE: which keys a control keeps for itself instead of
// leaving them to the dialog (focus moves, default and cancel buttons).
enum : UINT {
    DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010,
    DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080,
    DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000,
};

// Scroll bars.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };
enum : int {
    SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
    SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8,
};
enum : UINT {
    SIF_RANGE = 0x0001, SIF_PAGE = 0x0002, SIF_POS = 0x0004, SIF_DISABLENOSCROLL = 0x0008,
    SIF_TRACKPOS = 0x0010, SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS,
};
struct TScrollInfo {
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
using SCROLLINFO = TScrollInfo;

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// One message as a control receives it through Perform, PostMessage or its
// window procedure. Result is the answer of the handler.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// ---- cursors --------------------------------------------------------------
using TCursor = int;
enum : TCursor {
    crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
    crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
    crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
    crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
    crHandPoint = -21, crSizeAll = -22,
};

// ---- modal results, message box flags and answers -------------------------
using TModalResult = int;
enum : TModalResult {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
    mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10,
};
enum : int {
    IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7,
};
enum : UINT {
    MB_OK = 0x00, MB_OKCANCEL = 0x01, MB_ABORTRETRYIGNORE = 0x02, MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04, MB_RETRYCANCEL = 0x05,
    MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200,
    MB_APPLMODAL = 0x0000, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000,
};

// Key code of a Qt key event as Windows reports it; 0 when it has none.
WORD VirtualKeyFromQt(int qtKey);
// Qt key for a Windows key code (for tests and for keys synthesised in code).
int QtKeyFromVirtualKey(WORD vk);
