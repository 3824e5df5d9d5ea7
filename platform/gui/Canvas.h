#pragma once
// TCanvas: drawing with the window system's rules on top of QPainter.
//
//  - Coordinates are whole logical pixels; rectangles exclude their right and
//    bottom edge; LineTo does not paint its end pixel.
//  - Pens of width 0 or 1 are drawn pixel by pixel (with the dash patterns of
//    the window system), so that XOR / NOT-XOR lines drawn twice restore the
//    image exactly. Raster modes need a raster target (QImage, widget backing
//    store); on a printer they fall back to copying.
//  - Clip regions are kept in device coordinates; a clip that the painter
//    already had when the canvas took it over (a paint event's update region)
//    stays in force under every clip the canvas selects.
//  - The mapping modes (text, isotropic, anisotropic) with window and viewport
//    origins and extents become the painter's world transform.
#include "Graphics.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTransform>
#include <QVector>
#include <memory>
#include <optional>
#include <vector>

class TBitmap;

enum TBkMode { TRANSPARENT = 1, OPAQUE = 2 };
enum TMapMode { MM_TEXT = 1, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8 };

// A saved clip: none, or a region in device coordinates.
using TClipRegion = std::optional<QRegion>;

class TCanvas {
public:
    TCanvas();
    // Paints on a device; a painter is opened on first use and closed by Release().
    explicit TCanvas(QPaintDevice* device);
    // Paints through a painter that someone else opened (a widget's paint event).
    explicit TCanvas(QPainter* painter);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas();

    // Target management.
    void SetDevice(QPaintDevice* device);
    void SetPainter(QPainter* painter);
    // Ends the painter the canvas opened itself, or lets go of a borrowed one.
    void Release();
    bool HandleAllocated() const { return m_painter != nullptr; }
    // The painter with pen, brush, font and clip of this canvas not yet applied.
    QPainter* Painter();
    QPaintDevice* Device() const { return m_device; }

    // Drawing objects (changes take effect at the next drawing call).
    TPen* Pen() { return &m_pen; }
    TBrush* Brush() { return &m_brush; }
    TFont* Font() { return &m_font; }
    void SetPen(const TPen& p) { m_pen.Assign(p); }
    void SetBrush(const TBrush& b) { m_brush.Assign(b); }
    void SetFont(const TFont& f) { m_font.Assign(f); }
    // Background mode of text: opaque with a solid brush, transparent with a
    // clear one; SetBkMode overrides it until the brush next changes.
    TBkMode BkMode() const;
    void SetBkMode(TBkMode mode) { m_bkOverride = mode; }

    // Lines.
    TPoint PenPos() const { return m_penPos; }
    void SetPenPos(const TPoint& p) { m_penPos = p; }
    void MoveTo(int x, int y) { m_penPos = {x, y}; }
    void LineTo(int x, int y);
    void Polyline(const TPoint* points, int count);
    void Polyline(const std::vector<TPoint>& points) { Polyline(points.data(), int(points.size())); }
    // Separate polylines: strokes[i] points each, taken one after another from points.
    void PolyPolyline(const TPoint* points, const int* strokes, int strokeCount);

    // Shapes.
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Polygon(const TPoint* points, int count);
    void Ellipse(int l, int t, int r, int b);
    void FillRect(const TRect& r);
    // Fills with a given colour, leaving the brush as it is.
    void FillRect(const TRect& r, TColor color);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    void InvertRect(const TRect& r);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // Text. TextOut and TextRect take the top-left corner of the text cell.
    void TextOut(int x, int y, const QString& text);
    // Text clipped to the rectangle; with a non-clear brush the rectangle is filled first.
    void TextRect(const TRect& r, int x, int y, const QString& text);
    TSize TextExtent(const QString& text);
    int TextWidth(const QString& text) { return TextExtent(text).cx; }
    int TextHeight(const QString& text) { return TextExtent(text).cy; }
    // Font metrics of the current font in logical units.
    int FontAscent();
    int FontDescent();
    int FontHeight() { return FontAscent() + FontDescent(); }
    int FontExternalLeading();
    int FontAverageCharWidth();
    // Extra width of italic glyphs beyond their advance.
    int FontOverhang();
    // Draws a run of text whose cell starts at (x, y), with background
    // filling as the background mode says; internal for DrawText as well.
    void DrawTextRun(int x, int y, const QString& text, int underlineIndex = -1);

    // Images.
    void Draw(int x, int y, const QImage& image);
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& r, const QImage& image);
    void StretchDraw(const TRect& r, const TBitmap& bitmap);
    // Copies a rectangle of another canvas (which must paint on an image).
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);
    // The image the canvas paints on, or null for other targets.
    QImage* TargetImage() const;

    // Clipping.
    TRect ClipRect();
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    TClipRegion GetClipRegion() const { return m_appClip; }
    // Selects a saved clip (none: back to the full device).
    void SelectClipRegion(const TClipRegion& rgn);
    // Sets the clip to the rectangle (logical coordinates).
    void SelectClipRect(const TRect& r);
    // Whether any part of the rectangle may be painted.
    bool RectVisible(const TRect& r);

    // Mapping.
    TMapMode MapMode() const { return m_mapMode; }
    void SetMapMode(TMapMode mode);
    void SetWindowOrg(int x, int y);
    void SetWindowExt(int cx, int cy);
    void SetViewportOrg(int x, int y);
    void SetViewportExt(int cx, int cy);
    TRect LPtoDP(const TRect& r) const;
    TPoint LPtoDP(const TPoint& p) const;
    TPoint DPtoLP(const TPoint& p) const;

    // Saves pen, brush, font, background mode, clip and mapping; returns the
    // level. RestoreDC(-1) returns to the last saved state, a positive level to that one.
    int SaveDC();
    void RestoreDC(int level = -1);

    // Locking for other threads is not needed: everything paints on the GUI thread.
    void Lock() {}
    void Unlock() {}

    // Logical pixels per inch of the target (96 on images and the screen).
    int PixelsPerInch() const;

    // Every raster mode becomes an exclusive-or with a constant colour
    // (NOT-XOR with c: XOR with the inverse of c; NOT and InvertRect: XOR with
    // white), so that the image collects the running XOR of what was drawn
    // (see TXorOverlay).
    void SetXorAccumulate(bool on) { m_xorAccumulate = on; }
    // Device-space bounds of what was drawn since the last TakeDrawnArea.
    QRect TakeDrawnArea();

private:
    struct State {
        TPen pen;
        TBrush brush;
        TFont font;
        std::optional<TBkMode> bkOverride;
        TClipRegion clip;
        TMapMode mapMode;
        QPoint winOrg, viewOrg;
        QSize winExt, viewExt;
        TPoint penPos;
    };

    void attach(QPainter* p, bool owned);
    void applyClip();
    void applyTransform();
    QTransform mapping() const;
    bool pixelExact() const;  // no scaling: lines are drawn pixel by pixel
    QRegion deviceRegion() const;
    void setRasterOp(QPainter* p, TPenMode mode) const;
    QPen qpen() const;
    QBrush qbrush() const;
    void drawPixelLine(std::vector<QPoint>& out, int x1, int y1, int x2, int y2, int& styleIndex) const;
    void plotPoints(const std::vector<QPoint>& points, TColor color, TPenMode mode);
    void strokePolyline(const TPoint* points, int count, bool closed);
    void fillArea(const QRect& bounds, const std::function<void(QPainter*)>& paint, TPenMode mode);
    const QFont& qfont();
    const QFontMetrics& metrics();
    QColor rasterColor(TColor color, TPenMode mode) const;
    void touch(const QRect& logical, int grow = 0);

    QPaintDevice* m_device = nullptr;
    QPainter* m_painter = nullptr;
    std::unique_ptr<QPainter> m_ownPainter;
    QTransform m_baseTransform;
    TClipRegion m_sysClip;
    TClipRegion m_appClip;
    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    std::optional<TBkMode> m_bkOverride;
    TPoint m_penPos;
    TMapMode m_mapMode = MM_TEXT;
    QPoint m_winOrg, m_viewOrg;
    QSize m_winExt{1, 1}, m_viewExt{1, 1};
    std::vector<State> m_saved;
    bool m_xorAccumulate = false;
    QRect m_drawn;
    std::optional<QFont> m_qfont;
    std::optional<QFontMetrics> m_metrics;
};

// A device-independent bitmap with its own canvas (32-bit RGB image).
class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap();
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    // Resizes, keeping the pixels that still fit; new pixels are white.
    void SetSize(int w, int h);
    bool Empty() const { return m_image.isNull() || m_image.width() == 0 || m_image.height() == 0; }
    TCanvas* Canvas();
    // Drawn with Canvas::Draw, pixels of TransparentColor are left out.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool t) { m_transparent = t; }
    // Default: the colour of the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c) { m_transparentColor = c; }
    bool LoadFromFile(const QString& fileName);
    bool SaveToFile(const QString& fileName);
    void Assign(const TBitmap& other);
    void Assign(const QImage& image);
    // The pixels (any painting of the canvas is finished first).
    const QImage& Image() const;
    QImage& Image();
    // The pixels with the transparent colour made transparent when Transparent is set.
    QImage MaskedImage() const;
private:
    QImage m_image;
    std::unique_ptr<TCanvas> m_canvas;
    bool m_transparent = false;
    TColor m_transparentColor = clDefault;
};
