// Pixel rules of the canvas: line ends, rectangles, raster modes, clipping,
// mapping and colours.
#include "canvas_support.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

struct LineCase {
    int x1, y1, x2, y2;
};

class CanvasLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(CanvasLine, PaintsStartButNotEndPixel)
{
    const LineCase c = GetParam();
    ImageCanvas ic;
    ic->Pen()->SetColor(clRed);
    ic->MoveTo(c.x1, c.y1);
    ic->LineTo(c.x2, c.y2);
    EXPECT_EQ(ic->PenPos(), TPoint(c.x2, c.y2));
    EXPECT_EQ(ic.at(c.x1, c.y1), clRed);
    EXPECT_EQ(ic.at(c.x2, c.y2), clWhite);
    EXPECT_EQ(ic.count(clRed), std::max(std::abs(c.x2 - c.x1), std::abs(c.y2 - c.y1)));
}

INSTANTIATE_TEST_SUITE_P(Directions, CanvasLine,
                         ::testing::Values(LineCase{10, 10, 30, 10}, LineCase{30, 10, 10, 10}, LineCase{10, 5, 10, 40},
                                           LineCase{10, 40, 10, 5}, LineCase{5, 5, 25, 25}, LineCase{40, 5, 5, 17},
                                           LineCase{3, 50, 90, 2}));

TEST(Canvas, PolylineSharesCornersAndDotsRepeatEverySixPixels)
{
    ImageCanvas ic;
    ic->Pen()->SetColor(clBlue);
    TPoint pts[] = {{10, 10}, {20, 10}, {20, 20}};
    ic->Polyline(pts, 3);
    EXPECT_EQ(ic.count(clBlue), 20);
    EXPECT_EQ(ic.at(20, 10), clBlue);
    EXPECT_EQ(ic.at(20, 20), clWhite);

    ImageCanvas dots;
    dots->Pen()->SetStyle(psDot);
    dots->MoveTo(0, 0);
    dots->LineTo(12, 0);
    for (int x = 0; x < 12; ++x) EXPECT_EQ(dots.at(x, 0), x % 6 < 3 ? clBlack : clWhite) << x;
}

TEST(Canvas, RectangleOutlineExcludesRightAndBottomEdge)
{
    ImageCanvas ic;
    ic->Pen()->SetColor(clRed);
    ic->Brush()->SetColor(clYellow);
    ic->Rectangle(10, 10, 20, 16);
    EXPECT_EQ(ic.at(10, 10), clRed);
    EXPECT_EQ(ic.at(19, 15), clRed);
    EXPECT_EQ(ic.at(20, 15), clWhite);
    EXPECT_EQ(ic.at(19, 16), clWhite);
    EXPECT_EQ(ic.at(11, 11), clYellow);
    EXPECT_EQ(ic.at(18, 14), clYellow);
    EXPECT_EQ(ic.count(clRed), 2 * 10 + 2 * 4);

    ImageCanvas f;
    f->Brush()->SetColor(clGreen);
    f->FillRect(Rect(5, 5, 8, 7));
    EXPECT_EQ(f.count(clGreen), 6);
    f->Brush()->SetColor(clNavy);
    f->FrameRect(Rect(20, 20, 25, 24));
    EXPECT_EQ(f.count(clNavy), 14);
    f->Brush()->SetStyle(bsClear);
    f->FillRect(Rect(0, 0, 100, 60));
    EXPECT_EQ(f.count(clGreen), 6);
}

TEST(Canvas, RasterModesDrawnTwiceRestoreTheImage)
{
    QImage original = patternImage(80, 50);
    QImage img = original;
    TCanvas c(&img);
    auto drawAll = [&] {
        c.Pen()->SetMode(pmXor);
        c.Pen()->SetStyle(psDot);
        c.Pen()->SetColor(clWhite);
        c.MoveTo(0, 20);
        c.LineTo(80, 20);
        c.Pen()->SetMode(pmNotXor);
        c.Pen()->SetStyle(psSolid);
        c.Pen()->SetColor(clBlack);
        c.MoveTo(30, 0);
        c.LineTo(30, 50);
        c.Pen()->SetColor(clSilver);
        c.Pen()->SetMode(pmXor);
        c.Brush()->SetStyle(bsClear);
        c.Rectangle(5, 5, 60, 40);
        c.DrawFocusRect(Rect(2, 3, 70, 45));
        c.InvertRect(Rect(40, 10, 55, 30));
    };
    drawAll();
    c.Release();
    ASSERT_NE(img, original);
    // A NOT-XOR black line inverts what lies under it.
    EXPECT_EQ(img.pixel(30, 7) & 0xFFFFFF, ~original.pixel(30, 7) & 0xFFFFFF);
    drawAll();
    c.Release();
    EXPECT_EQ(img, original);
}

TEST(Canvas, FocusRectangleInvertsEveryOtherFramePixel)
{
    ImageCanvas ic(20, 20, Qt::black);
    ic->DrawFocusRect(Rect(2, 2, 10, 8));
    EXPECT_EQ(ic.at(2, 2), clWhite);
    EXPECT_EQ(ic.at(3, 2), clBlack);
    EXPECT_EQ(ic.at(4, 2), clWhite);
    EXPECT_EQ(ic.at(5, 5), clBlack);  // inside stays
    EXPECT_EQ(ic.at(10, 2), clBlack);  // right edge is exclusive
}

TEST(Canvas, ClipRegionsLimitPaintingAndAreRestored)
{
    ImageCanvas ic;
    ic->Brush()->SetColor(clRed);
    TClipRegion saved = ic->GetClipRegion();
    ic->IntersectClipRect(Rect(10, 10, 30, 20));
    EXPECT_EQ(ic->ClipRect(), Rect(10, 10, 30, 20));
    ic->ExcludeClipRect(Rect(10, 10, 20, 20));
    EXPECT_FALSE(ic->RectVisible(Rect(12, 12, 18, 18)));
    ic->FillRect(Rect(0, 0, 100, 60));
    EXPECT_EQ(ic.ink(), QRect(QPoint(20, 10), QPoint(29, 19)));
    ic->SelectClipRegion(saved);
    EXPECT_EQ(ic->ClipRect(), Rect(0, 0, 100, 60));
    ic->Brush()->SetColor(clBlue);
    ic->FillRect(Rect(90, 50, 100, 60));
    EXPECT_EQ(ic.count(clBlue), 100);

    // SaveDC / RestoreDC bring back clip, pen and brush.
    ImageCanvas s;
    s->Pen()->SetColor(clGreen);
    int level = s->SaveDC();
    s->Pen()->SetColor(clRed);
    s->IntersectClipRect(Rect(0, 0, 5, 5));
    s->RestoreDC(level);
    EXPECT_EQ(s->Pen()->Color(), clGreen);
    EXPECT_EQ(s->ClipRect(), Rect(0, 0, 100, 60));
}

TEST(Canvas, PaintEventClipStaysUnderSelectedClips)
{
    QImage img(50, 50, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setClipRect(QRect(0, 0, 20, 50));
    {
        TCanvas c(&p);
        c.SelectClipRegion(std::nullopt);
        c.Brush()->SetColor(clBlack);
        c.FillRect(Rect(0, 0, 50, 50));
        c.IntersectClipRect(Rect(0, 0, 5, 5));
    }
    EXPECT_EQ(p.clipRegion(), QRegion(0, 0, 20, 50)) << "the painter goes back with its own clip";
    p.end();
    EXPECT_EQ(img.pixel(19, 10), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(20, 10), qRgb(255, 255, 255));
}

TEST(Canvas, IsotropicMappingScalesByTheSmallerRatio)
{
    ImageCanvas ic(200, 200);
    ic->SetMapMode(MM_ISOTROPIC);
    ic->SetWindowExt(100, 50);
    ic->SetViewportExt(200, 160);
    EXPECT_EQ(ic->LPtoDP(TPoint(10, 10)), TPoint(20, 20));
    ic->Brush()->SetColor(clBlack);
    ic->FillRect(Rect(0, 0, 10, 5));
    EXPECT_EQ(ic.ink(clWhite), QRect(0, 0, 20, 10));
}

TEST(Canvas, ColoursAreBgrWithSystemColoursFromThePalette)
{
    EXPECT_EQ(RGB(1, 2, 3), 0x030201);
    EXPECT_EQ(GetBValue(clBlue), 255);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    const QPalette pal = QApplication::palette();
    EXPECT_EQ(ColorToRGB(clBtnFace), FromQColor(pal.color(QPalette::Button)));
    EXPECT_EQ(ColorToRGB(clWindow), FromQColor(pal.color(QPalette::Base)));
    EXPECT_EQ(ColorToRGB(clHighlight), FromQColor(pal.color(QPalette::Highlight)));
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));

    ImageCanvas ic;
    ic->Brush()->SetColor(clBtnFace);
    ic->FillRect(Rect(0, 0, 1, 1));
    ic->SetPixel(5, 5, RGB(10, 20, 30));
    EXPECT_EQ(ic.at(0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(ic.at(5, 5), RGB(10, 20, 30));
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
}

TEST(Canvas, BitmapsDrawWithTheirTransparentColourLeftOut)
{
    TBitmap bmp(4, 4);
    bmp.Canvas()->Brush()->SetColor(clFuchsia);
    bmp.Canvas()->FillRect(Rect(0, 0, 4, 4));
    bmp.Canvas()->SetPixel(1, 1, clBlue);
    bmp.SetTransparent(true);
    EXPECT_EQ(bmp.TransparentColor(), clFuchsia);
    ImageCanvas ic(10, 10);
    ic->Draw(2, 2, bmp);
    EXPECT_EQ(ic.at(3, 3), clBlue);
    EXPECT_EQ(ic.at(2, 2), clWhite);
    bmp.SetSize(6, 6);
    EXPECT_EQ(FromQColor(bmp.Image().pixel(1, 1)), clBlue);
    EXPECT_EQ(FromQColor(bmp.Image().pixel(5, 5)), clWhite);

    ImageCanvas s(20, 20);
    s->StretchDraw(Rect(0, 0, 12, 12), bmp);  // now white is the transparent colour
    s->CopyRect(Rect(14, 14, 16, 16), *s.get(), Rect(0, 0, 2, 2));
    EXPECT_EQ(s.at(0, 0), clFuchsia);
    EXPECT_EQ(s.at(11, 11), clWhite);
    EXPECT_EQ(s.at(15, 15), clFuchsia);
}

} // namespace
