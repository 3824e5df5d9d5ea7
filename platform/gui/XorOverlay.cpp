#include "XorOverlay.h"

#include <QWidget>

TXorOverlay::TXorOverlay() { SetSize(0, 0); }

TXorOverlay::~TXorOverlay() { m_canvas.reset(); }

void TXorOverlay::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (!m_image.isNull() && m_image.size() == QSize(w, h)) return;
    if (m_canvas) m_canvas->Release();
    QImage next(w, h, QImage::Format_RGB32);
    next.fill(0);
    if (!m_image.isNull() && w > 0 && h > 0) {
        QPainter p(&next);
        p.drawImage(0, 0, m_image);
    }
    m_image = next;
    m_bounds &= QRect(0, 0, w, h);
    if (m_canvas) m_canvas->SetDevice(&m_image);
}

TCanvas* TXorOverlay::Canvas()
{
    if (!m_canvas) {
        m_canvas = std::make_unique<TCanvas>(&m_image);
        m_canvas->SetXorAccumulate(true);
    }
    return m_canvas.get();
}

QRect TXorOverlay::TakeDirty()
{
    if (!m_canvas) return QRect();
    m_canvas->Release();
    QRect r = m_canvas->TakeDrawnArea() & m_image.rect();
    m_bounds |= r;
    return r;
}

void TXorOverlay::Flush(QWidget* widget)
{
    QRect r = TakeDirty();
    if (widget && !r.isEmpty()) widget->update(r);
}

bool TXorOverlay::IsEmpty()
{
    TakeDirty();
    for (int y = m_bounds.top(); y <= m_bounds.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
        for (int x = m_bounds.left(); x <= m_bounds.right(); ++x)
            if (line[x] & 0xFFFFFF) return false;
    }
    return true;
}

void TXorOverlay::Clear()
{
    if (m_canvas) m_canvas->Release();
    m_image.fill(0);
    m_bounds = QRect();
}

void TXorOverlay::Apply(QPainter* painter)
{
    TakeDirty();
    if (m_bounds.isEmpty() || !painter) return;
    painter->save();
    painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter->drawImage(m_bounds.topLeft(), m_image, m_bounds);
    painter->restore();
}
