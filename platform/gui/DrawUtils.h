#pragma once
// Text layout (DrawText with the window system's flags) and the 3D edges,
// drawn on a TCanvas.
#include "Canvas.h"

// DrawText flags.
enum : unsigned {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80, DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000,
    DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000,
    DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000,
    DT_HIDEPREFIX = 0x100000, DT_PREFIXONLY = 0x200000
};

// Extra parameters of DrawTextEx: tab length in average character widths,
// left and right margins in pixels; LengthDrawn receives the characters handled.
struct TDrawTextParams {
    int TabLength = 8;
    int LeftMargin = 0;
    int RightMargin = 0;
    int LengthDrawn = 0;
};

// Draws (or with DT_CALCRECT measures) text in the rectangle with the
// canvas's font, font colour and background mode. Returns the height of the
// text; with DT_VCENTER or DT_BOTTOM the distance from the rectangle's top to
// the bottom of the text. DT_CALCRECT changes only the rectangle: the bottom
// bounds the last line; the right edge bounds the widest line (with word
// break, a word wider than the rectangle widens it).
int DrawText(TCanvas* canvas, const QString& text, TRect& rect, unsigned flags);
int DrawTextEx(TCanvas* canvas, const QString& text, TRect& rect, unsigned flags, TDrawTextParams* params);

// The text shortened to fit maxWidth with "..." at its end (unchanged when it fits).
QString EllipsisText(TCanvas* canvas, const QString& text, int maxWidth);

// Edge kinds.
enum : unsigned {
    BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
    BDR_OUTER = 0x3, BDR_INNER = 0xC, BDR_RAISED = 0x5, BDR_SUNKEN = 0xA,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER
};
// Edge flags.
enum : unsigned {
    BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_TOPLEFT = 0x3, BF_TOPRIGHT = 0x6,
    BF_BOTTOMLEFT = 0x9, BF_BOTTOMRIGHT = 0xC, BF_RECT = 0xF, BF_DIAGONAL = 0x10, BF_MIDDLE = 0x800,
    BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000
};

// Draws the outer and then the inner one-pixel edge on the sides the flags
// name: light colours on the left and top, dark ones on the right and bottom
// (those take the corners). BF_MIDDLE fills the inside with the face colour,
// BF_ADJUST leaves the inside rectangle in rect.
bool DrawEdge(TCanvas* canvas, TRect& rect, unsigned edge, unsigned flags);
inline bool DrawEdge(TCanvas* canvas, const TRect& rect, unsigned edge, unsigned flags)
{
    TRect r = rect;
    return DrawEdge(canvas, r, edge, flags);
}

// The dotted focus frame (drawing it twice removes it).
inline void DrawFocusRect(TCanvas* canvas, const TRect& rect) { canvas->DrawFocusRect(rect); }

// Frame control kinds and states.
enum : unsigned { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4 };
enum : unsigned {
    DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
    DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
    DFCS_SCROLLCOMBOBOX = 0x5, DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400,
    DFCS_TRANSPARENT = 0x800, DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000
};

// Classic faces of buttons (push, check box, radio) and scroll buttons
// (arrows, combo box drop-down) in the system colours. DFCS_ADJUSTRECT
// leaves the face inside the frame in rect.
bool DrawFrameControl(TCanvas* canvas, TRect& rect, unsigned type, unsigned state);
inline bool DrawFrameControl(TCanvas* canvas, const TRect& rect, unsigned type, unsigned state)
{
    TRect r = rect;
    return DrawFrameControl(canvas, r, type, state);
}
// Size of the system's check-box picture: four columns by three rows of 13-pixel boxes.
inline TSize CheckBoxesBitmapSize() { return {52, 39}; }
// One arrow glyph: 'u', 'd', 'l' or 'r', centred in the rectangle, width pixels at its base.
void DrawArrowGlyph(TCanvas* canvas, const TRect& rect, char direction, int width, TColor color);
