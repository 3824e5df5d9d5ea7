#pragma once
// TXorOverlay: lines and frames that a control draws over its painted content
// outside its paint events, in the inverting raster modes (sizing lines,
// drag markers, inverted selection frames).
//
// Every such mode is an exclusive-or with a constant colour, so the overlay
// keeps the running XOR of everything drawn on its canvas; the control XORs
// the overlay onto its content at the end of each paint. Drawing a figure
// twice removes it again, exactly as on the window system's screen, and a
// repaint of the content underneath leaves the figure in place.
#include "Canvas.h"

class QWidget;

class TXorOverlay {
public:
    TXorOverlay();
    ~TXorOverlay();
    // Keeps what fits of the overlay; new area is empty.
    void SetSize(int w, int h);
    QSize Size() const { return m_image.size(); }
    // Draws into the overlay; pen modes pmXor, pmNotXor, pmNot, DrawFocusRect
    // and InvertRect act as on the screen.
    TCanvas* Canvas();
    // Device area drawn since the last call (for QWidget::update); the
    // canvas's painting is finished first.
    QRect TakeDirty();
    // Finishes drawing and asks the widget to repaint what changed.
    void Flush(QWidget* widget);
    bool IsEmpty();
    void Clear();
    // XORs the overlay onto a painter's target (a raster target).
    void Apply(QPainter* painter);
private:
    QImage m_image;
    std::unique_ptr<TCanvas> m_canvas;
    QRect m_bounds;  // where anything was ever drawn since the last Clear
};
