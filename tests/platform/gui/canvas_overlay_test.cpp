// Inverting figures drawn outside paint events through the XOR overlay, and
// the classic frame controls.
#include "DrawUtils.h"
#include "XorOverlay.h"
#include "canvas_support.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The sizing line, the row-move marker, a designer guide and a focus frame.
void drawFigures(TCanvas* c)
{
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetStyle(psDot);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(25, 0);
    c->LineTo(25, 50);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clSilver);
    c->MoveTo(0, 30);
    c->LineTo(80, 30);
    c->Pen()->SetMode(pmNotXor);
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetStyle(psSolid);
    c->MoveTo(5, 5);
    c->LineTo(70, 45);
    c->DrawFocusRect(Rect(10, 10, 60, 40));
    c->InvertRect(Rect(50, 2, 60, 12));
}

TEST(XorOverlay, AppliedOverlayLooksLikeDrawingOnTheScreen)
{
    const QImage base = patternImage(80, 50);
    QImage direct = base;
    {
        TCanvas c(&direct);
        drawFigures(&c);
    }

    TXorOverlay overlay;
    overlay.SetSize(80, 50);
    drawFigures(overlay.Canvas());
    const QRect dirty = overlay.TakeDirty();
    EXPECT_TRUE(dirty.contains(QRect(5, 0, 70, 50))) << "every figure lies in the reported area";
    EXPECT_FALSE(overlay.IsEmpty());

    QImage shown = base;
    {
        QPainter p(&shown);
        overlay.Apply(&p);
    }
    EXPECT_EQ(shown, direct);

    // Drawing the same figures again removes them; the content shows unchanged.
    drawFigures(overlay.Canvas());
    EXPECT_TRUE(overlay.IsEmpty());
    QImage again = base;
    {
        QPainter p(&again);
        overlay.Apply(&p);
    }
    EXPECT_EQ(again, base);
}

// A widget that paints its content through a canvas and the overlay over it.
class OverlayWidget : public QWidget {
public:
    TXorOverlay overlay;
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        {
            TCanvas c(&p);
            c.Brush()->SetColor(clWhite);
            c.FillRect(Rect(0, 0, width(), height()));
        }
        overlay.Apply(&p);
    }
};

TEST(XorOverlay, FlushRepaintsTheWidgetArea)
{
    OverlayWidget w;
    w.resize(60, 40);
    TXorOverlay& overlay = w.overlay;
    overlay.SetSize(60, 40);
    overlay.Canvas()->Pen()->SetMode(pmXor);
    overlay.Canvas()->Pen()->SetColor(clWhite);
    overlay.Canvas()->MoveTo(10, 0);
    overlay.Canvas()->LineTo(10, 40);
    overlay.Flush(&w);
    EXPECT_TRUE(overlay.TakeDirty().isEmpty());
    const QImage shot = w.grab().toImage();
    EXPECT_EQ(shot.pixel(10, 5) & 0xFFFFFF, 0u) << "white content XOR white line";
    EXPECT_EQ(shot.pixel(11, 5) & 0xFFFFFF, 0xFFFFFFu);
    overlay.SetSize(30, 20);  // shrinking keeps what fits
    EXPECT_FALSE(overlay.IsEmpty());
    overlay.Clear();
    EXPECT_TRUE(overlay.IsEmpty());
}

TEST(FrameControl, ClassicFaces)
{
    // Push button: raised frame, face in the middle; pushed: sunken.
    ImageCanvas ic(60, 30, QColor(1, 2, 3));
    TRect r(0, 0, 20, 16);
    ASSERT_TRUE(DrawFrameControl(ic.get(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(r, Rect(2, 2, 18, 14));
    EXPECT_EQ(ic.at(19, 8), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(ic.at(10, 8), ColorToRGB(clBtnFace));
    DrawFrameControl(ic.get(), Rect(30, 0, 50, 16), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(ic.at(30, 8), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(ic.at(31, 8), ColorToRGB(clBtnShadow));

    // Check box: sunken box in the window colour, a tick when checked.
    ImageCanvas cb(40, 20, QColor(1, 2, 3));
    DrawFrameControl(cb.get(), Rect(0, 0, 13, 13), DFC_BUTTON, DFCS_BUTTONCHECK);
    DrawFrameControl(cb.get(), Rect(20, 0, 33, 13), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(cb.at(0, 6), ColorToRGB(clBtnShadow));
    EXPECT_EQ(cb.at(6, 6), ColorToRGB(clWindow));
    int ticks = 0;
    for (int y = 2; y < 11; ++y)
        for (int x = 22; x < 31; ++x) ticks += cb.at(x, y) == ColorToRGB(clWindowText);
    EXPECT_EQ(ticks, 21);

    // Combo box button: a down arrow, wide row above narrow row.
    ImageCanvas dd(20, 20, QColor(1, 2, 3));
    DrawFrameControl(dd.get(), Rect(0, 0, 17, 17), DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    QRect arrow;
    const QImage& img = dd.done();
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x)
            if (FromQColor(img.pixel(x, y)) == ColorToRGB(clBtnText)
                && ColorToRGB(clBtnText) != ColorToRGB(cl3DDkShadow))
                arrow |= QRect(x, y, 1, 1);
    ASSERT_FALSE(arrow.isEmpty());
    EXPECT_EQ(arrow.width(), 7);
    EXPECT_EQ(arrow.height(), 4);
    EXPECT_EQ(FromQColor(img.pixel(arrow.left(), arrow.top())), ColorToRGB(clBtnText));
    EXPECT_NE(FromQColor(img.pixel(arrow.left(), arrow.bottom())), ColorToRGB(clBtnText));
}

TEST(CanvasText, VerticalFontRunsBottomToTop)
{
    ImageCanvas ic(60, 80);
    ic->Font()->SetOrientation(900);
    ic->Brush()->SetColor(clYellow);
    ic->TextOut(10, 70, QStringLiteral("入库"));
    ic->Font()->SetOrientation(0);
    const int w = ic->TextWidth(QStringLiteral("入库")), h = ic->FontHeight();
    QRect ink = ic.ink();
    EXPECT_EQ(ink, QRect(10, 70 - w, h, w));
}

} // namespace
