#include "ToolCtrlsGxDraw.h"
#include "platform/gui/DrawUtils.h"
#include <cmath>

namespace {

bool g_theming = false;

int Channel(TColor c, int i)
{
    return i == 0 ? GetRValue(c) : i == 1 ? GetGValue(c) : GetBValue(c);
}

int RoundClamp(double v)
{
    return qBound(0, int(std::nearbyint(v)), 255);
}

// The colour at step i of n between two plain colours.
TColor StepColor(TColor from, TColor to, int i, int n)
{
    if (n <= 1)
        return from;
    int ch[3];
    for (int k = 0; k < 3; ++k)
        ch[k] = RoundClamp(Channel(from, k) + double(Channel(to, k) - Channel(from, k)) * i / (n - 1));
    return RGB(ch[0], ch[1], ch[2]);
}

int Scaled(int v, double scale)
{
    return int(std::lround(v * scale));
}

} // namespace

bool IsThemingActive() { return g_theming; }
void SetThemingActiveGx(bool value) { g_theming = value; }

TColor BlendColors(TColor color1, TColor color2, int percent)
{
    const TColor a = ColorToRGB(color1);
    const TColor b = ColorToRGB(color2);
    int ch[3];
    for (int k = 0; k < 3; ++k)
        ch[k] = RoundClamp(Channel(a, k) + double(Channel(b, k) - Channel(a, k)) * percent / 100.0);
    return RGB(ch[0], ch[1], ch[2]);
}

void FillGradientRect(TCanvas* canvas, const TRect& rect, TColor topColor, TColor bottomColor)
{
    const int h = rect.Height();
    if (h < 2)
        return;
    const TColor top = ColorToRGB(topColor);
    const TColor bottom = ColorToRGB(bottomColor);
    const TColor saved = canvas->Pen()->Color();
    for (int i = 0; i < h; ++i) {
        int ch[3];
        for (int k = 0; k < 3; ++k)
            ch[k] = RoundClamp(Channel(top, k) - double(Channel(top, k) - Channel(bottom, k)) / (h - 1) * i);
        const TColor c = RGB(ch[0], ch[1], ch[2]);
        if (rect.Width() == 1) {
            canvas->SetPixel(rect.Left, rect.Top + i, c);
        } else {
            canvas->Pen()->SetColor(c);
            canvas->MoveTo(rect.Left, rect.Top + i);
            canvas->LineTo(rect.Right, rect.Top + i);
        }
    }
    canvas->Pen()->SetColor(saved);
}

void DrawGradientSegments(TCanvas* canvas, const TPoint& origin, const std::vector<TPoint>& points,
                          TColor lastColor, TColor firstColor)
{
    const int n = int(points.size()) / 2;
    const TColor first = ColorToRGB(firstColor);
    const TColor last = ColorToRGB(lastColor);
    for (int i = 0; i < n; ++i) {
        canvas->Pen()->SetColor(StepColor(first, last, i, n));
        const TPoint& a = points[size_t(2 * i)];
        const TPoint& b = points[size_t(2 * i + 1)];
        canvas->MoveTo(origin.X + a.X, origin.Y + a.Y);
        canvas->LineTo(origin.X + b.X, origin.Y + b.Y);
    }
}

void DrawDottedLine(TCanvas* canvas, const TPoint& start, int length, bool parity, bool horizontal)
{
    const int step = 2 * qMax(1, canvas->Pen()->Width());
    TPoint p = start;
    const bool startParity = ((p.X & 1) != 0) != ((p.Y & 1) != 0);
    if (startParity != parity) {
        if (horizontal)
            ++p.X;
        else
            ++p.Y;
        --length;
    }
    int count = length / step + (length % 2 == 1 ? 1 : 0);
    if (count <= 0)
        return;
    std::vector<TPoint> points;
    std::vector<int> strokes;
    points.reserve(size_t(count) * 2);
    for (int i = 0; i < count; ++i) {
        const int off = i * step;
        const TPoint a = horizontal ? TPoint(p.X + off, p.Y) : TPoint(p.X, p.Y + off);
        const TPoint b = horizontal ? TPoint(a.X + 1, a.Y) : TPoint(a.X, a.Y + 1);
        points.push_back(a);
        points.push_back(b);
        strokes.push_back(2);
    }
    canvas->PolyPolyline(points.data(), strokes.data(), int(strokes.size()));
}

void DrawTreeElement(TCanvas* canvas, const TRect& rect, int kind, bool rightToLeft,
                     double horzScale, double vertScale, bool parity)
{
    if (kind < 0 || kind > 11)
        return;
    const TColor savedBrush = canvas->Brush()->Color();
    const TBrushStyle savedStyle = canvas->Brush()->Style();
    const int cx = (rect.Left + rect.Right) / 2;
    const int cy = (rect.Top + rect.Bottom) / 2;
    const int h = Scaled(1, horzScale);
    const int v = Scaled(1, vertScale);
    canvas->Pen()->SetColor(clBtnShadow);

    const bool box = kind <= 7;
    if (box) {
        const bool minus = kind <= 3;
        const int sub = kind % 4;
        const bool up = sub == 0 || sub == 1;
        const bool down = sub == 0 || sub == 2;
        const bool right = sub != 3;
        TRect b(cx - 4 * h, cy - 4 * v, cx + 4 * h + 1, cy + 4 * v + 1);
        if (rightToLeft)
            OffsetRect(b, -1, 0);
        if (up)
            DrawDottedLine(canvas, TPoint(cx, rect.Top), b.Top - rect.Top, parity, false);
        if (down)
            DrawDottedLine(canvas, TPoint(cx, b.Bottom + v - 1), rect.Bottom - (b.Bottom + v - 1), parity, false);
        if (right)
            DrawDottedLine(canvas, TPoint(b.Right + h - 1, cy), rect.Right - (b.Right + h - 1), parity, true);
        canvas->Brush()->SetColor(clWindow);
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->Rectangle(b);
        canvas->Pen()->SetColor(clWindowText);
        canvas->MoveTo(b.Left + 2 * h, cy);
        canvas->LineTo(b.Right - 1 - 2 * h + 1, cy);
        if (!minus) {
            canvas->MoveTo(cx, b.Top + 2 * v);
            canvas->LineTo(cx, b.Bottom - 1 - 2 * v + 1);
        }
    } else {
        if (kind == 8 || kind == 11)
            DrawDottedLine(canvas, TPoint(cx, rect.Top), rect.Height(), parity, false);
        else if (kind == 9)
            DrawDottedLine(canvas, TPoint(cx, rect.Top), cy - rect.Top, parity, false);
        else
            DrawDottedLine(canvas, TPoint(cx, cy), rect.Bottom - cy, parity, false);
        if (kind != 11)
            DrawDottedLine(canvas, TPoint(cx, cy), rect.Right - cx, parity, true);
    }
    canvas->Brush()->SetColor(savedBrush);
    canvas->Brush()->SetStyle(savedStyle);
}

void DrawImageCentered(TCanvas* canvas, const TRect& rect, const QImage& image, bool selected)
{
    if (image.isNull())
        return;
    const int x = rect.Left + (rect.Width() - image.width()) / 2;
    const int y = rect.Top + (rect.Height() - image.height()) / 2;
    QImage shown = image;
    if (selected) {
        shown = image.convertToFormat(QImage::Format_ARGB32);
        const QColor hl = ToQColor(clHighlight);
        for (int j = 0; j < shown.height(); ++j)
            for (int i = 0; i < shown.width(); ++i) {
                const QColor c = shown.pixelColor(i, j);
                if (c.alpha() == 0)
                    continue;
                shown.setPixelColor(i, j, QColor((c.red() + hl.red()) / 2, (c.green() + hl.green()) / 2,
                                                 (c.blue() + hl.blue()) / 2, c.alpha()));
            }
    }
    const bool sticksOut = image.width() > rect.Width() || image.height() > rect.Height();
    if (sticksOut) {
        const TClipRegion saved = canvas->GetClipRegion();
        canvas->IntersectClipRect(rect);
        canvas->Draw(x, y, shown);
        canvas->SelectClipRegion(saved);
    } else {
        canvas->Draw(x, y, shown);
    }
}

TSize CheckBoxGlyphSize()
{
    // One cell of the system's check-box picture (four columns, three rows).
    const TSize all = CheckBoxesBitmapSize();
    return TSize(all.cx / 4, all.cy / 3);
}

TRect CheckBoxRectInRect(const TRect& cellRect, int alignment, int layout)
{
    const TSize box = CheckBoxGlyphSize();
    const int w = qMin(box.cx, cellRect.Width());
    const int h = qMin(box.cy, cellRect.Height());
    TRect r(cellRect.Left, cellRect.Top, cellRect.Left + w, cellRect.Top + h);
    if (cellRect.Width() > box.cx) {
        if (alignment == 1)
            OffsetRect(r, cellRect.Width() - w, 0);
        else if (alignment == 2)
            OffsetRect(r, int(unsigned(cellRect.Width()) / 2 - unsigned(w) / 2), 0);
    }
    if (cellRect.Height() > box.cy) {
        if (layout == 2)
            OffsetRect(r, 0, cellRect.Height() - h);
        else if (layout == 1)
            OffsetRect(r, 0, int(unsigned(cellRect.Height()) / 2 - unsigned(h) / 2));
    }
    return r;
}
