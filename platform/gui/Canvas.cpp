#include "Canvas.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace {

// On/off run lengths of the dash styles of one-pixel pens.
const std::vector<int>& dashPattern(TPenStyle style)
{
    static const std::vector<int> solid, dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6},
        dashDotDot{9, 3, 3, 3, 3, 3}, alternate{1, 1};
    switch (style) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    case psAlternate: return alternate;
    default: return solid;
    }
}

bool patternOn(const std::vector<int>& pattern, int index)
{
    if (pattern.empty()) return true;
    int total = 0;
    for (int n : pattern) total += n;
    int pos = index % total;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pos < pattern[i]) return i % 2 == 0;
        pos -= pattern[i];
    }
    return true;
}

bool isRaster(QPainter* p)
{
    return p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster;
}

QRect deviceRectFromCorners(const QTransform& t, int l, int top, int r, int b)
{
    QPointF p1 = t.map(QPointF(l, top)), p2 = t.map(QPointF(r, b));
    int x1 = qRound(std::min(p1.x(), p2.x())), x2 = qRound(std::max(p1.x(), p2.x()));
    int y1 = qRound(std::min(p1.y(), p2.y())), y2 = qRound(std::max(p1.y(), p2.y()));
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

} // namespace

TCanvas::TCanvas()
{
    m_brush.OnChange = [this] { m_bkOverride.reset(); };
    m_font.OnChange = [this] {
        m_qfont.reset();
        m_metrics.reset();
    };
}

TCanvas::TCanvas(QPaintDevice* device) : TCanvas() { m_device = device; }

TCanvas::TCanvas(QPainter* painter) : TCanvas() { attach(painter, false); }

TCanvas::~TCanvas() { Release(); }

void TCanvas::SetDevice(QPaintDevice* device)
{
    Release();
    m_device = device;
    m_metrics.reset();
}

void TCanvas::SetPainter(QPainter* painter)
{
    Release();
    if (painter) attach(painter, false);
}

void TCanvas::Release()
{
    if (m_ownPainter) {
        if (m_ownPainter->isActive()) m_ownPainter->end();
        m_ownPainter.reset();
    } else if (m_painter) {
        // Hand the painter back as it came: transform and clip of its owner.
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_painter->setWorldTransform(QTransform());
        if (m_sysClip) m_painter->setClipRegion(*m_sysClip);
        else m_painter->setClipping(false);
        m_painter->setWorldTransform(m_baseTransform);
    }
    m_painter = nullptr;
    m_sysClip.reset();
}

void TCanvas::attach(QPainter* p, bool owned)
{
    m_painter = p;
    if (!owned) m_device = p->device();
    m_metrics.reset();
    m_baseTransform = p->worldTransform();
    m_sysClip.reset();
    if (p->hasClipping()) m_sysClip = m_baseTransform.map(p->clipRegion());
    p->setRenderHint(QPainter::Antialiasing, false);
    applyTransform();
    applyClip();
}

QPainter* TCanvas::Painter()
{
    if (!m_painter && m_device) {
        m_ownPainter = std::make_unique<QPainter>(m_device);
        attach(m_ownPainter.get(), true);
    }
    return m_painter;
}

QImage* TCanvas::TargetImage() const
{
    if (m_device && m_device->devType() == QInternal::Image) return static_cast<QImage*>(m_device);
    return nullptr;
}

int TCanvas::PixelsPerInch() const { return m_device ? m_device->logicalDpiX() : ScreenPixelsPerInch; }

TBkMode TCanvas::BkMode() const
{
    if (m_bkOverride) return *m_bkOverride;
    return m_brush.Style() == bsClear ? TRANSPARENT : OPAQUE;
}

// ---------------------------------------------------------------- mapping and clip

QTransform TCanvas::mapping() const
{
    qreal sx = 1, sy = 1;
    if (m_mapMode != MM_TEXT && m_winExt.width() != 0 && m_winExt.height() != 0) {
        sx = qreal(m_viewExt.width()) / m_winExt.width();
        sy = qreal(m_viewExt.height()) / m_winExt.height();
        if (m_mapMode == MM_ISOTROPIC) {
            qreal s = std::min(std::abs(sx), std::abs(sy));
            sx = sx < 0 ? -s : s;
            sy = sy < 0 ? -s : s;
        }
    }
    return QTransform(sx, 0, 0, sy, m_viewOrg.x() - m_winOrg.x() * sx, m_viewOrg.y() - m_winOrg.y() * sy);
}

void TCanvas::applyTransform()
{
    if (m_painter) m_painter->setWorldTransform(mapping() * m_baseTransform);
}

bool TCanvas::pixelExact() const
{
    QTransform t = mapping() * m_baseTransform;
    return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}

QRegion TCanvas::deviceRegion() const
{
    QPaintDevice* d = m_painter ? m_painter->device() : m_device;
    return d ? QRegion(0, 0, d->width(), d->height()) : QRegion();
}

void TCanvas::applyClip()
{
    if (!m_painter) return;
    TClipRegion eff = m_sysClip;
    if (m_appClip) eff = eff ? (*eff & *m_appClip) : *m_appClip;
    QTransform t = m_painter->worldTransform();
    m_painter->setWorldTransform(QTransform());
    if (eff) m_painter->setClipRegion(*eff);
    else m_painter->setClipping(false);
    m_painter->setWorldTransform(t);
}

TRect TCanvas::ClipRect()
{
    Painter();
    QRegion eff = deviceRegion();
    if (m_sysClip) eff &= *m_sysClip;
    if (m_appClip) eff &= *m_appClip;
    QRect b = eff.boundingRect();
    if (b.isEmpty()) return TRect();
    QTransform inv = (mapping() * m_baseTransform).inverted();
    QRect l = deviceRectFromCorners(inv, b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
    return TRect(l);
}

void TCanvas::IntersectClipRect(const TRect& r)
{
    Painter();
    QRect d = deviceRectFromCorners(mapping() * m_baseTransform, r.Left, r.Top, r.Right, r.Bottom);
    m_appClip = (m_appClip ? *m_appClip : deviceRegion()) & QRegion(d);
    applyClip();
}

void TCanvas::ExcludeClipRect(const TRect& r)
{
    Painter();
    QRect d = deviceRectFromCorners(mapping() * m_baseTransform, r.Left, r.Top, r.Right, r.Bottom);
    m_appClip = (m_appClip ? *m_appClip : deviceRegion()) - QRegion(d);
    applyClip();
}

void TCanvas::SelectClipRegion(const TClipRegion& rgn)
{
    m_appClip = rgn;
    applyClip();
}

void TCanvas::SelectClipRect(const TRect& r)
{
    Painter();
    m_appClip = QRegion(deviceRectFromCorners(mapping() * m_baseTransform, r.Left, r.Top, r.Right, r.Bottom));
    applyClip();
}

bool TCanvas::RectVisible(const TRect& r)
{
    Painter();
    QRegion eff = deviceRegion();
    if (m_sysClip) eff &= *m_sysClip;
    if (m_appClip) eff &= *m_appClip;
    return eff.intersects(deviceRectFromCorners(mapping() * m_baseTransform, r.Left, r.Top, r.Right, r.Bottom));
}

void TCanvas::SetMapMode(TMapMode mode)
{
    m_mapMode = mode;
    if (mode == MM_TEXT) m_winExt = m_viewExt = QSize(1, 1);
    applyTransform();
}

void TCanvas::SetWindowOrg(int x, int y) { m_winOrg = {x, y}; applyTransform(); }
void TCanvas::SetViewportOrg(int x, int y) { m_viewOrg = {x, y}; applyTransform(); }

void TCanvas::SetWindowExt(int cx, int cy)
{
    if (m_mapMode == MM_TEXT || cx == 0 || cy == 0) return;
    m_winExt = {cx, cy};
    applyTransform();
}

void TCanvas::SetViewportExt(int cx, int cy)
{
    if (m_mapMode == MM_TEXT || cx == 0 || cy == 0) return;
    m_viewExt = {cx, cy};
    applyTransform();
}

TPoint TCanvas::LPtoDP(const TPoint& p) const
{
    QPointF d = (mapping() * m_baseTransform).map(QPointF(p.X, p.Y));
    return {qRound(d.x()), qRound(d.y())};
}

TPoint TCanvas::DPtoLP(const TPoint& p) const
{
    QPointF d = (mapping() * m_baseTransform).inverted().map(QPointF(p.X, p.Y));
    return {qRound(d.x()), qRound(d.y())};
}

TRect TCanvas::LPtoDP(const TRect& r) const
{
    TPoint a = LPtoDP(r.TopLeft()), b = LPtoDP(r.BottomRight());
    return {a.X, a.Y, b.X, b.Y};
}

int TCanvas::SaveDC()
{
    m_saved.push_back(State{m_pen, m_brush, m_font, m_bkOverride, m_appClip, m_mapMode, m_winOrg, m_viewOrg,
                            m_winExt, m_viewExt, m_penPos});
    m_saved.back().pen.OnChange = nullptr;
    m_saved.back().brush.OnChange = nullptr;
    m_saved.back().font.OnChange = nullptr;
    return int(m_saved.size());
}

void TCanvas::RestoreDC(int level)
{
    if (m_saved.empty()) return;
    size_t index = level < 0 ? m_saved.size() - std::min<size_t>(m_saved.size(), size_t(-level)) : size_t(level - 1);
    if (index >= m_saved.size()) return;
    State s = m_saved[index];
    m_saved.resize(index);
    m_pen.Assign(s.pen);
    m_brush.Assign(s.brush);
    m_font.Assign(s.font);
    m_bkOverride = s.bkOverride;
    m_appClip = s.clip;
    m_mapMode = s.mapMode;
    m_winOrg = s.winOrg;
    m_viewOrg = s.viewOrg;
    m_winExt = s.winExt;
    m_viewExt = s.viewExt;
    m_penPos = s.penPos;
    applyTransform();
    applyClip();
}

// ---------------------------------------------------------------- pens and lines

void TCanvas::setRasterOp(QPainter* p, TPenMode mode) const
{
    QPainter::CompositionMode cm = QPainter::CompositionMode_SourceOver;
    if (m_xorAccumulate) {
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        return;
    }
    if (isRaster(p)) {
        switch (mode) {
        case pmBlack: cm = QPainter::RasterOp_ClearDestination; break;
        case pmWhite: cm = QPainter::RasterOp_SetDestination; break;
        case pmNot: cm = QPainter::RasterOp_NotDestination; break;
        case pmNotCopy: cm = QPainter::RasterOp_NotSource; break;
        case pmMergePenNot: cm = QPainter::RasterOp_SourceOrNotDestination; break;
        case pmMaskPenNot: cm = QPainter::RasterOp_SourceAndNotDestination; break;
        case pmMergeNotPen: cm = QPainter::RasterOp_NotSourceOrDestination; break;
        case pmMaskNotPen: cm = QPainter::RasterOp_NotSourceAndDestination; break;
        case pmMerge: cm = QPainter::RasterOp_SourceOrDestination; break;
        case pmNotMerge: cm = QPainter::RasterOp_NotSourceAndNotDestination; break;
        case pmMask: cm = QPainter::RasterOp_SourceAndDestination; break;
        case pmNotMask: cm = QPainter::RasterOp_NotSourceOrNotDestination; break;
        case pmXor: cm = QPainter::RasterOp_SourceXorDestination; break;
        case pmNotXor: cm = QPainter::RasterOp_NotSourceXorDestination; break;
        default: break;
        }
    }
    p->setCompositionMode(cm);
}

QColor TCanvas::rasterColor(TColor color, TPenMode mode) const
{
    QColor c = ToQColor(color);
    if (m_xorAccumulate) {
        if (mode == pmNotXor) return QColor(QRgb(~c.rgb() & 0xFFFFFF));
        if (mode == pmNot) return QColor(Qt::white);
        return c;
    }
    if (m_painter && !isRaster(m_painter)) {
        if (mode == pmBlack) return QColor(Qt::black);
        if (mode == pmWhite) return QColor(Qt::white);
    }
    return c;
}

void TCanvas::touch(const QRect& logical, int grow)
{
    QRect d = (mapping() * m_baseTransform).mapRect(logical).adjusted(-grow, -grow, grow + 1, grow + 1);
    m_drawn = m_drawn.united(d);
}

QRect TCanvas::TakeDrawnArea()
{
    QRect r = m_drawn;
    m_drawn = QRect();
    return r;
}

QPen TCanvas::qpen() const
{
    if (m_pen.Style() == psClear) return QPen(Qt::NoPen);
    QColor c = rasterColor(m_pen.Color(), m_pen.Mode());
    int w = std::max(1, m_pen.Width());
    QPen pen(c);
    if (pixelExact()) pen.setWidth(w <= 1 ? 0 : w);
    else {
        pen.setWidth(w);
        pen.setCosmetic(false);
    }
    pen.setCapStyle(m_pen.EndCap() == pecFlat ? Qt::FlatCap : m_pen.EndCap() == pecSquare ? Qt::SquareCap : Qt::RoundCap);
    pen.setJoinStyle(m_pen.EndCap() == pecRound ? Qt::RoundJoin : Qt::MiterJoin);
    const auto& pat = dashPattern(m_pen.Style());
    if (!pat.empty()) {
        QVector<qreal> d;
        for (int n : pat) d << qreal(n);
        pen.setDashPattern(d);
        pen.setCapStyle(Qt::FlatCap);
    }
    return pen;
}

QBrush TCanvas::qbrush() const
{
    QColor c = ToQColor(m_brush.Color());
    switch (m_brush.Style()) {
    case bsClear: return QBrush(Qt::NoBrush);
    case bsHorizontal: return QBrush(c, Qt::HorPattern);
    case bsVertical: return QBrush(c, Qt::VerPattern);
    case bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
    case bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
    case bsCross: return QBrush(c, Qt::CrossPattern);
    case bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
    default: return QBrush(c);
    }
}

// Bresenham from (x1, y1) towards (x2, y2), the end pixel left out.
void TCanvas::drawPixelLine(std::vector<QPoint>& out, int x1, int y1, int x2, int y2, int& styleIndex) const
{
    const auto& pat = dashPattern(m_pen.Style());
    int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int steps = std::max(dx, dy);
    int x = x1, y = y1;
    if (dx >= dy) {
        int err = 2 * dy - dx;
        for (int i = 0; i < steps; ++i) {
            if (patternOn(pat, styleIndex++)) out.emplace_back(x, y);
            if (err > 0 || (err == 0 && sx < 0)) { y += sy; err -= 2 * dx; }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i < steps; ++i) {
            if (patternOn(pat, styleIndex++)) out.emplace_back(x, y);
            if (err > 0 || (err == 0 && sy < 0)) { x += sx; err -= 2 * dy; }
            err += 2 * dx;
            y += sy;
        }
    }
}

void TCanvas::plotPoints(const std::vector<QPoint>& points, TColor color, TPenMode mode)
{
    if (points.empty() || mode == pmNop) return;
    QPainter* p = Painter();
    if (!p) return;
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(QPen(rasterColor(color, mode), 0));
    p->setBrush(Qt::NoBrush);
    setRasterOp(p, mode);
    p->drawPoints(points.data(), int(points.size()));
    int l = points[0].x(), r = l, t = points[0].y(), b = t;
    for (const QPoint& pt : points) {
        l = std::min(l, pt.x());
        r = std::max(r, pt.x());
        t = std::min(t, pt.y());
        b = std::max(b, pt.y());
    }
    touch(QRect(QPoint(l, t), QPoint(r, b)));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::strokePolyline(const TPoint* points, int count, bool closed)
{
    if (count < 2 || m_pen.Style() == psClear || m_pen.Mode() == pmNop) return;
    QPainter* p = Painter();
    if (!p) return;
    if (pixelExact() && m_pen.Width() <= 1) {
        std::vector<QPoint> pts;
        int style = 0;
        for (int i = 0; i + 1 < count; ++i)
            drawPixelLine(pts, points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, style);
        if (closed) drawPixelLine(pts, points[count - 1].X, points[count - 1].Y, points[0].X, points[0].Y, style);
        plotPoints(pts, m_pen.Color(), m_pen.Mode());
        return;
    }
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
    p->setPen(qpen());
    p->setBrush(Qt::NoBrush);
    setRasterOp(p, m_pen.Mode());
    if (closed) p->drawPolygon(poly);
    else p->drawPolyline(poly);
    touch(poly.boundingRect(), m_pen.Width());
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::LineTo(int x, int y)
{
    TPoint pts[2] = {m_penPos, {x, y}};
    strokePolyline(pts, 2, false);
    m_penPos = {x, y};
}

void TCanvas::Polyline(const TPoint* points, int count) { strokePolyline(points, count, false); }

void TCanvas::PolyPolyline(const TPoint* points, const int* strokes, int strokeCount)
{
    if (m_pen.Style() == psClear || m_pen.Mode() == pmNop) return;
    if (pixelExact() && m_pen.Width() <= 1) {
        std::vector<QPoint> pts;
        const TPoint* cur = points;
        for (int s = 0; s < strokeCount; ++s) {
            int style = 0;
            for (int i = 0; i + 1 < strokes[s]; ++i)
                drawPixelLine(pts, cur[i].X, cur[i].Y, cur[i + 1].X, cur[i + 1].Y, style);
            cur += strokes[s];
        }
        plotPoints(pts, m_pen.Color(), m_pen.Mode());
        return;
    }
    const TPoint* cur = points;
    for (int s = 0; s < strokeCount; ++s) {
        strokePolyline(cur, strokes[s], false);
        cur += strokes[s];
    }
}

// ---------------------------------------------------------------- shapes

void TCanvas::fillArea(const QRect& bounds, const std::function<void(QPainter*)>& paint, TPenMode mode)
{
    if (m_brush.Style() == bsClear || mode == pmNop) return;
    QPainter* p = Painter();
    if (!p) return;
    p->setPen(Qt::NoPen);
    QBrush b = qbrush();
    b.setColor(rasterColor(m_brush.Color(), mode));
    p->setBrush(b);
    setRasterOp(p, mode);
    paint(p);
    touch(bounds);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Rectangle(int l, int t, int r, int b)
{
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    if (r - l < 1 || b - t < 1) return;
    if (m_pen.Style() == psClear) {
        // Without a pen the filled area is one pixel smaller on the right and bottom.
        const QRect area(l, t, r - l - 1, b - t - 1);
        fillArea(area, [&](QPainter* p) { p->drawRect(area); }, m_pen.Mode());
        return;
    }
    if (pixelExact() && m_pen.Width() <= 1) {
        if (r - l > 2 && b - t > 2) {
            const QRect inside(l + 1, t + 1, r - l - 2, b - t - 2);
            fillArea(inside, [&](QPainter* p) { p->drawRect(inside); }, m_pen.Mode());
        }
        TPoint pts[4] = {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}};
        if (r - l == 1 || b - t == 1) {
            // A one-pixel wide or high rectangle is a single line of pixels.
            std::vector<QPoint> px;
            for (int y = t; y < b; ++y)
                for (int x = l; x < r; ++x) px.emplace_back(x, y);
            plotPoints(px, m_pen.Color(), m_pen.Mode());
            return;
        }
        strokePolyline(pts, 4, true);
        return;
    }
    QPainter* p = Painter();
    if (!p) return;
    p->setPen(qpen());
    p->setBrush(qbrush());
    setRasterOp(p, m_pen.Mode());
    p->drawRect(QRectF(l, t, r - l - 1, b - t - 1));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Polygon(const TPoint* points, int count)
{
    if (count < 2) return;
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
    fillArea(poly.boundingRect(), [&](QPainter* p) { p->drawPolygon(poly); }, m_pen.Mode());
    strokePolyline(points, count, true);
}

void TCanvas::Ellipse(int l, int t, int r, int b)
{
    QPainter* p = Painter();
    if (!p) return;
    p->setPen(qpen());
    p->setBrush(qbrush());
    setRasterOp(p, m_pen.Mode());
    p->drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::FillRect(const TRect& r)
{
    if (r.IsEmpty() || m_brush.Style() == bsClear) return;
    QPainter* p = Painter();
    if (!p) return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(r.toQRect(), qbrush());
}

void TCanvas::FillRect(const TRect& r, TColor color)
{
    if (r.IsEmpty() || color == clNone) return;
    QPainter* p = Painter();
    if (!p) return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(r.toQRect(), ToQColor(color));
}

void TCanvas::FrameRect(const TRect& r)
{
    if (r.IsEmpty() || m_brush.Style() == bsClear) return;
    QPainter* p = Painter();
    if (!p) return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    QBrush b = qbrush();
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), b);
    p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), b);
    p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), b);
    p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), b);
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    if (r.IsEmpty()) return;
    // Every other pixel of the frame, on the device's checkerboard, inverted:
    // drawing the same rectangle again removes it.
    TPoint o = LPtoDP(TPoint(0, 0));
    std::vector<QPoint> pts;
    auto add = [&](int x, int y) {
        if (((x + o.X + y + o.Y) & 1) == 0) pts.emplace_back(x, y);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        add(x, r.Top);
        if (r.Bottom - 1 > r.Top) add(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        add(r.Left, y);
        if (r.Right - 1 > r.Left) add(r.Right - 1, y);
    }
    plotPoints(pts, clWhite, pmXor);
}

void TCanvas::InvertRect(const TRect& r)
{
    if (r.IsEmpty()) return;
    QPainter* p = Painter();
    if (!p || !isRaster(p)) return;
    if (m_xorAccumulate) {
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p->fillRect(r.toQRect(), Qt::white);
    } else {
        p->setCompositionMode(QPainter::RasterOp_NotDestination);
        p->fillRect(r.toQRect(), Qt::black);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    touch(r.toQRect());
}

TColor TCanvas::Pixel(int x, int y)
{
    QImage* img = TargetImage();
    if (!img) return -1;
    TPoint d = LPtoDP(TPoint(x, y));
    if (!img->valid(d.X, d.Y)) return -1;
    return FromQColor(QColor::fromRgb(img->pixel(d.X, d.Y)));
}

void TCanvas::SetPixel(int x, int y, TColor color) { plotPoints({QPoint(x, y)}, color, pmCopy); }

// ---------------------------------------------------------------- text

const QFont& TCanvas::qfont()
{
    if (!m_qfont) m_qfont = m_font.toQFont();
    return *m_qfont;
}

const QFontMetrics& TCanvas::metrics()
{
    if (!m_metrics) m_metrics.emplace(qfont(), m_device);
    return *m_metrics;
}

TSize TCanvas::TextExtent(const QString& text)
{
    const QFontMetrics& fm = metrics();
    return {fm.horizontalAdvance(text), fm.ascent() + fm.descent()};
}

int TCanvas::FontAscent() { return metrics().ascent(); }
int TCanvas::FontDescent() { return metrics().descent(); }
int TCanvas::FontExternalLeading() { return std::max(0, metrics().leading()); }
int TCanvas::FontAverageCharWidth() { return metrics().averageCharWidth(); }

int TCanvas::FontOverhang()
{
    if (!(m_font.Style() & fsItalic)) return 0;
    return (metrics().ascent() + 2) / 4;
}

void TCanvas::DrawTextRun(int x, int y, const QString& text, int underlineIndex)
{
    QPainter* p = Painter();
    if (!p) return;
    const QFont& f = qfont();
    const QFontMetrics& fm = metrics();
    int w = fm.horizontalAdvance(text);
    int h = fm.ascent() + fm.descent();
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->translate(x, y);
    if (m_font.Orientation() != 0) p->rotate(-m_font.Orientation() / 10.0);
    if (BkMode() == OPAQUE && m_brush.Style() != bsClear)
        p->fillRect(QRect(0, 0, w, h), ToQColor(m_brush.Color()));
    p->setFont(f);
    p->setPen(ToQColor(m_font.Color()));
    p->drawText(QPoint(0, fm.ascent()), text);
    if (underlineIndex >= 0 && underlineIndex < text.size()) {
        int ux = fm.horizontalAdvance(text.left(underlineIndex));
        int uw = fm.horizontalAdvance(text.mid(underlineIndex, 1));
        int uy = fm.ascent() + std::max(1, fm.underlinePos());
        p->fillRect(QRect(ux, uy, uw, std::max(1, fm.lineWidth())), ToQColor(m_font.Color()));
    }
    p->restore();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    DrawTextRun(x, y, text);
    m_penPos = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text)
{
    QPainter* p = Painter();
    if (!p) return;
    if (m_brush.Style() != bsClear && BkMode() == OPAQUE) FillRect(r);
    TClipRegion saved = m_appClip;
    IntersectClipRect(r);
    std::optional<TBkMode> bk = m_bkOverride;
    m_bkOverride = TRANSPARENT;
    DrawTextRun(x, y, text);
    m_bkOverride = bk;
    SelectClipRegion(saved);
}

// ---------------------------------------------------------------- images

void TCanvas::Draw(int x, int y, const QImage& image)
{
    QPainter* p = Painter();
    if (!p || image.isNull()) return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QPoint(x, y), image);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap)
{
    if (!bitmap.Empty()) Draw(x, y, bitmap.MaskedImage());
}

void TCanvas::StretchDraw(const TRect& r, const QImage& image)
{
    QPainter* p = Painter();
    if (!p || image.isNull() || r.IsEmpty()) return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(r.toQRect(), image);
}

void TCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap)
{
    if (!bitmap.Empty()) StretchDraw(r, bitmap.MaskedImage());
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src)
{
    QImage* img = source.TargetImage();
    QPainter* p = Painter();
    if (!img || !p || dest.IsEmpty() || src.IsEmpty()) return;
    QRect s = deviceRectFromCorners(source.mapping() * source.m_baseTransform, src.Left, src.Top, src.Right, src.Bottom);
    QImage part = img->copy(s);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(dest.toQRect(), part);
}

// ---------------------------------------------------------------- TBitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() { m_canvas.reset(); }

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height() && !m_image.isNull()) return;
    if (m_canvas) m_canvas->Release();
    QImage next(w, h, QImage::Format_RGB32);
    next.fill(Qt::white);
    if (!m_image.isNull() && w > 0 && h > 0) {
        QPainter p(&next);
        p.drawImage(0, 0, m_image);
    }
    m_image = next;
    if (m_canvas) m_canvas->SetDevice(&m_image);
}

TCanvas* TBitmap::Canvas()
{
    if (m_image.isNull()) SetSize(0, 0);
    if (!m_canvas) m_canvas = std::make_unique<TCanvas>(&m_image);
    return m_canvas.get();
}

TColor TBitmap::TransparentColor() const
{
    if (m_transparentColor != clDefault) return m_transparentColor;
    if (Empty()) return clBlack;
    return FromQColor(QColor::fromRgb(m_image.pixel(0, m_image.height() - 1)));
}

bool TBitmap::LoadFromFile(const QString& fileName)
{
    QImage img;
    if (!img.load(fileName)) return false;
    Assign(img);
    return true;
}

bool TBitmap::SaveToFile(const QString& fileName)
{
    if (m_canvas) m_canvas->Release();
    return m_image.save(fileName);
}

void TBitmap::Assign(const TBitmap& other)
{
    Assign(other.m_image);
    m_transparent = other.m_transparent;
    m_transparentColor = other.m_transparentColor;
}

void TBitmap::Assign(const QImage& image)
{
    if (m_canvas) m_canvas->Release();
    m_image = image.convertToFormat(QImage::Format_RGB32);
    if (m_canvas) m_canvas->SetDevice(&m_image);
}

const QImage& TBitmap::Image() const { return m_image; }

QImage& TBitmap::Image() { return m_image; }

QImage TBitmap::MaskedImage() const
{
    if (!m_transparent || Empty()) return m_image;
    QImage out = m_image.convertToFormat(QImage::Format_ARGB32);
    QRgb key = ToQColor(TransparentColor()).rgb() & 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
    }
    return out;
}
