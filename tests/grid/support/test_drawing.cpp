// Drawing routines and edit-button faces, checked by pixel probes.
#include "EditButtonPaintGx.h"
#include "ToolCtrlsGxDraw.h"
#include <gtest/gtest.h>

namespace {

constexpr TColor kParent = RGB(10, 200, 30);   // a colour no face uses

struct Surface {
    TBitmap bmp;
    Surface(int w, int h, TColor fill = clWhite) : bmp(w, h)
    {
        bmp.Canvas()->FillRect(TRect(0, 0, w, h), fill);
    }
    TCanvas* c() { return bmp.Canvas(); }
    TColor At(int x, int y)
    {
        bmp.Canvas()->Release();
        return FromQColor(bmp.Image().pixelColor(x, y));
    }
    int CountOf(TColor color, const TRect& r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += At(x, y) == ColorToRGB(color);
        return n;
    }
};

TColor Rgb(TColor c) { return ColorToRGB(c); }

} // namespace

TEST(Drawing, BlendColors)
{
    const TColor t = Rgb(clBtnText);
    const TColor dark = RGB(int(std::nearbyint(GetRValue(t) * 0.7)), int(std::nearbyint(GetGValue(t) * 0.7)),
                            int(std::nearbyint(GetBValue(t) * 0.7)));
    EXPECT_EQ(BlendColors(clBtnText, clBlack, 30), dark);
    EXPECT_EQ(BlendColors(clBtnFace, clBlack, 0), Rgb(clBtnFace));
    EXPECT_EQ(BlendColors(clRed, clBlue, 100), clBlue);
    EXPECT_EQ(BlendColors(RGB(0, 0, 0), RGB(255, 101, 3), 50), RGB(128, 50, 2));   // 127.5 -> 128, 50.5 -> 50, 1.5 -> 2
}

TEST(Drawing, GradientRows)
{
    Surface s(4, 6);
    FillGradientRect(s.c(), TRect(0, 0, 4, 1), clBlack, clBlack);
    EXPECT_EQ(s.At(0, 0), clWhite);
    FillGradientRect(s.c(), TRect(0, 0, 4, 2), RGB(0, 0, 0), RGB(200, 100, 50));
    EXPECT_EQ(s.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(s.At(3, 1), RGB(200, 100, 50));
    FillGradientRect(s.c(), TRect(0, 0, 1, 5), RGB(0, 0, 0), RGB(200, 100, 40));
    EXPECT_EQ(s.At(0, 2), RGB(100, 50, 20));
    EXPECT_EQ(s.At(1, 2), clWhite);
}

TEST(Drawing, GradientSegments)
{
    Surface s(6, 4);
    DrawGradientSegments(s.c(), TPoint(1, 0), {TPoint(0, 0), TPoint(3, 0), TPoint(0, 1), TPoint(3, 1), TPoint(0, 2), TPoint(3, 2)},
                         RGB(200, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(s.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(s.At(2, 1), RGB(100, 0, 0));
    EXPECT_EQ(s.At(3, 2), RGB(200, 0, 0));
    EXPECT_EQ(s.At(4, 2), clWhite);   // line ends exclude their last pixel
}

TEST(Drawing, DottedLines)
{
    Surface s(12, 3);
    s.c()->Pen()->SetColor(clBlack);
    DrawDottedLine(s.c(), TPoint(0, 0), 7, false, true);
    EXPECT_EQ(s.CountOf(clBlack, TRect(0, 0, 12, 1)), 4);   // 7 div 2 + 1
    EXPECT_EQ(s.At(0, 0), clBlack);
    EXPECT_EQ(s.At(1, 0), clWhite);
    // Starting off the grid moves the first dot one pixel on.
    DrawDottedLine(s.c(), TPoint(0, 1), 6, false, true);
    EXPECT_EQ(s.At(0, 1), clWhite);
    EXPECT_EQ(s.At(1, 1), clBlack);
    EXPECT_EQ(s.CountOf(clBlack, TRect(0, 1, 12, 2)), 3);
}

TEST(Drawing, TreeElements)
{
    struct Case { int kind; bool up, down, right, plus; };
    const Case cases[] = {
        {0, true, true, true, false}, {3, false, false, false, false}, {4, true, true, true, true},
        {6, false, true, true, true}, {7, false, false, false, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.kind);
        Surface s(19, 19);
        DrawTreeElement(s.c(), TRect(0, 0, 19, 19), k.kind, false, 1, 1, false);
        const TColor line = Rgb(clBtnShadow);
        // Box from 5 to 13 around the centre (9, 9).
        EXPECT_EQ(s.At(5, 5), line);
        EXPECT_EQ(s.At(13, 13), line);
        EXPECT_EQ(s.At(9, 9), Rgb(clWindowText));
        EXPECT_EQ(s.At(9, 7) == Rgb(clWindowText), k.plus);
        EXPECT_EQ(s.CountOf(clBtnShadow, TRect(9, 0, 10, 5)) > 0, k.up);
        EXPECT_EQ(s.CountOf(clBtnShadow, TRect(9, 14, 10, 19)) > 0, k.down);
        EXPECT_EQ(s.CountOf(clBtnShadow, TRect(14, 9, 19, 10)) > 0, k.right);
    }
    Surface lines(19, 19);
    DrawTreeElement(lines.c(), TRect(0, 0, 19, 19), 9, false, 1, 1, false);
    EXPECT_GT(lines.CountOf(clBtnShadow, TRect(9, 0, 10, 9)), 0);
    EXPECT_EQ(lines.CountOf(clBtnShadow, TRect(9, 11, 10, 19)), 0);
    EXPECT_GT(lines.CountOf(clBtnShadow, TRect(11, 9, 19, 10)), 0);
}

TEST(Drawing, CheckBoxPlacement)
{
    struct Case { TRect cell; int align, layout; TRect box; };
    const Case cases[] = {
        {TRect(0, 0, 10, 8), 2, 1, TRect(0, 0, 10, 8)},           // smaller than the glyph
        {TRect(10, 20, 40, 40), 0, 0, TRect(10, 20, 23, 33)},
        {TRect(10, 20, 40, 40), 1, 2, TRect(27, 27, 40, 40)},
        {TRect(10, 20, 40, 40), 2, 1, TRect(19, 24, 32, 37)},      // 30/2 - 13/2 = 9, 20/2 - 13/2 = 4
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckBoxRectInRect(c.cell, c.align, c.layout), c.box);
}

TEST(Drawing, CenteredImages)
{
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    Surface s(10, 10);
    DrawImageCentered(s.c(), TRect(0, 0, 10, 10), img, false);
    EXPECT_EQ(s.At(3, 3), clRed);
    EXPECT_EQ(s.At(2, 3), clWhite);
    QImage big(8, 8, QImage::Format_RGB32);
    big.fill(Qt::blue);
    Surface t(10, 10);
    DrawImageCentered(t.c(), TRect(2, 2, 6, 6), big, false);
    EXPECT_EQ(t.At(2, 2), clBlue);
    EXPECT_EQ(t.At(1, 1), clWhite);   // clipped to the rectangle
    t.c()->FillRect(TRect(0, 0, 1, 1), clBlack);
    EXPECT_EQ(t.At(0, 0), clBlack);   // the clip was given back
}

class ButtonFaces : public ::testing::Test {
protected:
    void SetUp() override { FlushButtonsBitmapCache(); }
};

TEST_F(ButtonFaces, CacheSharesEqualFaces)
{
    Surface s(60, 20, kParent);
    DrawEditButtonFace(s.c(), TRect(0, 0, 17, 20), kParent, bcsEllipsisGx, 0, false, false, true);
    DrawEditButtonFace(s.c(), TRect(20, 0, 37, 20), kParent, bcsEllipsisGx, 0, false, false, true);
    EXPECT_EQ(ButtonsBitmapCache()->Count(), 1);
    DrawEditButtonFace(s.c(), TRect(40, 0, 57, 20), kParent, bcsEllipsisGx, 0, false, true, true);
    EXPECT_EQ(ButtonsBitmapCache()->Count(), 2);
    // The copies look like a direct paint.
    ButtonsBitmapCacheEnabled = false;
    Surface d(17, 20, kParent);
    DrawEditButtonFace(d.c(), TRect(0, 0, 17, 20), kParent, bcsEllipsisGx, 0, false, false, true);
    ButtonsBitmapCacheEnabled = true;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 17; ++x)
            ASSERT_EQ(s.At(20 + x, y), d.At(x, y)) << x << "," << y;
    FlushButtonsBitmapCache();
    EXPECT_EQ(ButtonsBitmapCache()->Count(), 0);
}

TEST_F(ButtonFaces, EllipsisDots)
{
    Surface s(17, 21, kParent);
    DrawEditButtonFace(s.c(), TRect(0, 0, 17, 21), kParent, bcsEllipsisGx, 0, false, false, true);
    // Inner face 13 wide: dots of 2 spaced 2, centred: x 2+1.., y (17-2)/2+2.
    const TRect inner(2, 2, 15, 19);
    EXPECT_EQ(s.CountOf(clBtnText, inner), 12);
    Surface p(17, 21, kParent);
    DrawEditButtonFace(p.c(), TRect(0, 0, 17, 21), kParent, bcsEllipsisGx, 1, false, false, true);
    // Pressed: the dots move one pixel right and down.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (s.At(x, y) == Rgb(clBtnText)) {
                EXPECT_EQ(p.At(x + 1, y + 1), Rgb(clBtnText)) << x << "," << y;
            }
        }
    }
    Surface off(17, 21, kParent);
    DrawEditButtonFace(off.c(), TRect(0, 0, 17, 21), kParent, bcsEllipsisGx, 0, false, false, false);
    EXPECT_EQ(off.CountOf(clBtnText, inner), 0);
    EXPECT_EQ(off.CountOf(clBtnShadow, inner) >= 12, true);
}

TEST_F(ButtonFaces, UpDownOddHeightKeepsTheMiddleRow)
{
    Surface s(17, 21, kParent);
    DrawEditButtonFace(s.c(), TRect(0, 0, 17, 21), kParent, bcsUpDownGx, 0, false, false, true);
    for (int x = 0; x < 17; ++x)
        EXPECT_EQ(s.At(x, 10), kParent) << x;
    EXPECT_NE(s.At(8, 5), kParent);
    EXPECT_NE(s.At(8, 15), kParent);
    // The upper arrow points up, the lower one down: the arrow's widest row is at its base.
    auto rowCount = [&](int y) { return s.CountOf(clWindowText, TRect(0, y, 17, y + 1)); };
    int firstUp = -1, lastUp = -1;
    for (int y = 0; y < 10; ++y)
        if (rowCount(y) > 0) {
            if (firstUp < 0) firstUp = y;
            lastUp = y;
        }
    ASSERT_GE(firstUp, 0);
    EXPECT_LT(rowCount(firstUp), rowCount(lastUp));
}

TEST_F(ButtonFaces, FlatFrames)
{
    // Flat and inactive: framed in the parent colour.
    Surface s(17, 20, clWhite);
    DrawEditButtonFace(s.c(), TRect(0, 0, 17, 20), kParent, bcsDropDownGx, 0, true, false, true);
    for (int x = 0; x < 17; ++x) {
        EXPECT_EQ(s.At(x, 0), kParent);
        EXPECT_EQ(s.At(x, 19), kParent);
    }
    EXPECT_EQ(s.At(0, 10), kParent);
    EXPECT_EQ(s.At(16, 10), kParent);
    // Active: an edge instead.
    const TColor back = RGB(1, 2, 3);
    Surface a(17, 20, back);
    DrawEditButtonFace(a.c(), TRect(0, 0, 17, 20), kParent, bcsDropDownGx, 0, true, true, true);
    EXPECT_NE(a.At(0, 10), kParent);
    EXPECT_NE(a.At(0, 10), back);
    EXPECT_NE(a.At(16, 10), a.At(0, 10));   // light left, dark right
    EXPECT_GT(a.CountOf(clWindowText, TRect(0, 0, 17, 20)), 0);
}

TEST_F(ButtonFaces, CheckBoxes)
{
    // A grayed or disabled mark is drawn in a gray: neither the box's white nor the text colour.
    constexpr TColor kGrayMark = -1;
    struct Case { TCheckBoxState state; bool enabled; TColor centre; };
    const Case cases[] = {
        {cbUnchecked, true, clWindow}, {cbChecked, true, clWindowText}, {cbGrayed, true, kGrayMark},
        {cbChecked, false, kGrayMark},
    };
    for (const Case& k : cases) {
        Surface s(30, 20, kParent);
        DrawEditButtonFace(s.c(), TRect(0, 0, 30, 20), kParent, bcsCheckboxGx, 0, false, false, k.enabled, k.state);
        // A square of 20 centred horizontally: 5 .. 25.
        EXPECT_EQ(s.At(4, 10), kParent);
        EXPECT_NE(s.At(5, 10), kParent);
        EXPECT_EQ(s.At(25, 10), kParent);
        const TColor centre = s.At(15, 10);
        if (k.centre == kGrayMark) {
            EXPECT_NE(centre, Rgb(clWindow));
            EXPECT_NE(centre, Rgb(clWindowText));
            EXPECT_EQ(GetRValue(centre), GetGValue(centre));
            EXPECT_EQ(GetGValue(centre), GetBValue(centre));
        } else {
            EXPECT_EQ(centre, Rgb(k.centre)) << k.state << k.enabled;
        }
    }
}

TEST_F(ButtonFaces, PlusMinusAndArrows)
{
    Surface plus(17, 17, kParent);
    DrawEditButtonFace(plus.c(), TRect(0, 0, 17, 17), kParent, bcsPlusGx, 0, false, false, true);
    EXPECT_EQ(plus.At(8, 8), Rgb(clBtnText));
    EXPECT_EQ(plus.At(8, 6), Rgb(clBtnText));   // the vertical bar
    Surface minus(17, 17, kParent);
    DrawEditButtonFace(minus.c(), TRect(0, 0, 17, 17), kParent, bcsMinusGx, 0, false, false, true);
    EXPECT_EQ(minus.At(8, 8), Rgb(clBtnText));
    EXPECT_NE(minus.At(8, 6), Rgb(clBtnText));
    Surface alt(17, 20, kParent);
    DrawEditButtonFace(alt.c(), TRect(0, 0, 17, 20), kParent, bcsAltDropDownGx, 0, false, false, true);
    // Inner smaller side 13: an arrow 5 wide and 3 rows high.
    EXPECT_EQ(alt.CountOf(clWindowText, TRect(0, 0, 17, 20)), 5 + 3 + 1);
}

TEST(ButtonWidths, FlatWidthAndHeight)
{
    EXPECT_EQ(CalcFlatEditButtonWidthFor(16, false, 17), 11);
    EXPECT_EQ(CalcFlatEditButtonWidthFor(16, true, 17), 12);
    EXPECT_EQ(CalcFlatEditButtonWidthFor(30, true, 17), 17);
    EXPECT_EQ(CalcEditButtonHeight(11, true), 16);   // 16.5 -> 16
    EXPECT_EQ(CalcEditButtonHeight(13, true), 20);   // 19.5 -> 20
    EXPECT_EQ(CalcEditButtonHeight(13, false), 13);
    EXPECT_GT(GetDefaultFlatButtonWidth(), 0);
    EXPECT_EQ(EditButtonDrawStyles[ebsUpDownGx], bcsUpDownGx);
    EXPECT_EQ(EditButtonDrawStyles[ebsAltDropDownGx], bcsAltDropDownGx);
}
