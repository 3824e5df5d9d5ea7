#pragma once
// Colours, geometry records and the drawing objects (pen, brush, font) of the
// GUI layer. Colours are 0x00BBGGRR integers; system colours carry the high
// byte 0xFF and the system colour index in the low byte, and are resolved
// against the application palette when they reach a painter.
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdlib>
#include <functional>

// ---------------------------------------------------------------- colours

using TColor = qint32;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0xFF000000u | unsigned(index)); }

// System colour indexes.
enum : int {
    COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30, COLOR_ENDCOLORS = 30
};

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clHotLight = SystemColor(COLOR_HOTLIGHT);
constexpr TColor clGradientActiveCaption = SystemColor(COLOR_GRADIENTACTIVECAPTION);
constexpr TColor clGradientInactiveCaption = SystemColor(COLOR_GRADIENTINACTIVECAPTION);
constexpr TColor clMenuHighlight = SystemColor(COLOR_MENUHILIGHT);
constexpr TColor clMenuBar = SystemColor(COLOR_MENUBAR);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(int r, int g, int b) { return TColor((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16)); }
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

// A system colour resolved to its plain RGB value from the application
// palette; plain colours are returned with the high byte cleared.
TColor ColorToRGB(TColor color);
// The RGB value of a system colour index (COLOR_...).
TColor GetSysColor(int index);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
bool IsSystemColor(TColor color);

// a * b / c with 64-bit intermediate, rounded half away from zero; -1 when c is 0.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    long long p = (long long)a * b;
    long long q = (p >= 0) == (c > 0) ? (2 * std::llabs(p) + std::llabs(c)) / (2 * std::llabs(c))
                                      : -((2 * std::llabs(p) + std::llabs(c)) / (2 * std::llabs(c)));
    return int(q);
}

// Logical resolution of the screen: fonts and layouts are measured at 96 dpi.
constexpr int ScreenPixelsPerInch = 96;

// ---------------------------------------------------------------- geometry

struct TPoint {
    int X = 0, Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}
    bool operator==(const TPoint&) const = default;
    QPoint toQPoint() const { return QPoint(X, Y); }
};

struct TSize {
    int cx = 0, cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int w, int h) : cx(w), cy(h) {}
    bool operator==(const TSize&) const = default;
};

// Rectangle with an exclusive right and bottom edge.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(const TPoint& tl, const TPoint& br) : Left(tl.X), Top(tl.Y), Right(br.X), Bottom(br.Y) {}
    explicit TRect(const QRect& r) : Left(r.left()), Top(r.top()), Right(r.left() + r.width()), Bottom(r.top() + r.height()) {}
    bool operator==(const TRect&) const = default;
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    // The same area as a QRect (normalised; empty when inverted).
    QRect toQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }
inline TRect EmptyRect() { return {}; }
// Grows (negative values shrink) the rectangle on every side.
inline void InflateRect(TRect& r, int dx, int dy) { r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy; }
inline void OffsetRect(TRect& r, int dx, int dy) { r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy; }
// The common part of two rectangles; false (and an empty result) when they do not meet.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
// The smallest rectangle holding both; empty rectangles are ignored.
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);
inline bool PtInRect(const TRect& r, const TPoint& p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }
inline bool IsRectEmpty(const TRect& r) { return r.IsEmpty(); }
inline bool EqualRect(const TRect& a, const TRect& b) { return a == b; }

// ---------------------------------------------------------------- pen, brush, font

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TPenEndCap { pecRound, pecSquare, pecFlat };  // ends of pens wider than one pixel
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = int;  // a set of TFontStyle bits
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = quint8;
enum : int { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, GB2312_CHARSET = 134 };

// Base of the drawing objects: an OnChange notification fired after every
// change of a property (the canvas uses it to re-select the object).
class TGraphicsObject {
public:
    std::function<void()> OnChange;
protected:
    void Changed() { if (OnChange) OnChange(); }
};

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return m_color; }
    void SetColor(TColor c) { if (c != m_color) { m_color = c; Changed(); } }
    int Width() const { return m_width; }
    void SetWidth(int w) { if (w != m_width) { m_width = w; Changed(); } }
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle s) { if (s != m_style) { m_style = s; Changed(); } }
    TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode m) { if (m != m_mode) { m_mode = m; Changed(); } }
    TPenEndCap EndCap() const { return m_endCap; }
    void SetEndCap(TPenEndCap e) { if (e != m_endCap) { m_endCap = e; Changed(); } }
    void Assign(const TPen& o)
    {
        m_color = o.m_color; m_width = o.m_width; m_style = o.m_style; m_mode = o.m_mode; m_endCap = o.m_endCap;
        Changed();
    }
private:
    TColor m_color = clBlack;
    TPenEndCap m_endCap = pecRound;
    int m_width = 1;
    TPenStyle m_style = psSolid;
    TPenMode m_mode = pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    TColor Color() const { return m_color; }
    // Setting a colour on a clear brush makes it solid, as the class library does.
    void SetColor(TColor c) { m_color = c; if (m_style == bsClear) m_style = bsSolid; Changed(); }
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle s) { if (s != m_style) { m_style = s; Changed(); } }
    void Assign(const TBrush& o) { m_color = o.m_color; m_style = o.m_style; Changed(); }
private:
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
};

// A font as the class library describes it. Height < 0 is the character
// height (em size) in pixels, Height > 0 the cell height (ascent + descent);
// Size is in points and relates to Height through PixelsPerInch.
class TFont : public TGraphicsObject {
public:
    TFont();
    QString Name() const { return m_name; }
    void SetName(const QString& n) { if (n != m_name) { m_name = n; Changed(); } }
    int Height() const { return m_height; }
    void SetHeight(int h) { m_height = h; Changed(); }
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles s) { if (s != m_style) { m_style = s; Changed(); } }
    TColor Color() const { return m_color; }
    void SetColor(TColor c) { if (c != m_color) { m_color = c; Changed(); } }
    TFontCharset Charset() const { return m_charset; }
    void SetCharset(TFontCharset c) { if (c != m_charset) { m_charset = c; Changed(); } }
    TFontPitch Pitch() const { return m_pitch; }
    void SetPitch(TFontPitch p) { if (p != m_pitch) { m_pitch = p; Changed(); } }
    // Rotation of the text in tenths of a degree, counter-clockwise (900 = bottom to top).
    int Orientation() const { return m_orientation; }
    void SetOrientation(int o) { if (o != m_orientation) { m_orientation = o; Changed(); } }
    int PixelsPerInch() const { return m_ppi; }
    // Changes the resolution and keeps the point size (the printer's canvas uses it).
    void SetPixelsPerInch(int ppi);
    void Assign(const TFont& o);
    bool operator==(const TFont& o) const;

    // The Qt font that draws this font at 1 logical unit = 1 pixel.
    QFont toQFont() const;
    // Takes name, size, style and pitch from a Qt font.
    void AssignQFont(const QFont& f);
private:
    QString m_name;
    int m_height = -12;
    TFontStyles m_style = 0;
    TColor m_color = clWindowText;
    TFontCharset m_charset = DEFAULT_CHARSET;
    TFontPitch m_pitch = fpDefault;
    int m_orientation = 0;
    int m_ppi = ScreenPixelsPerInch;
};

// The application's default font: the CJK face at 9 points.
QString DefaultFontName();
