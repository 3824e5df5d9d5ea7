// Image lists: masks, drawing styles and taking an image back into a bitmap.
#include "ImageList.h"
#include "canvas_support.h"

#include <gtest/gtest.h>

namespace {

// A 6 x 11 white bitmap with a black triangle of rows 1, 2, .. 6, .. 1 pixels.
void arrowBitmap(TBitmap& b, TColor shape, TColor background)
{
    b.SetSize(6, 11);
    b.Canvas()->FillRect(Rect(0, 0, 6, 11), background);
    for (int row = 0; row < 11; ++row) b.Canvas()->FillRect(Rect(0, row, 6 - std::abs(5 - row), row + 1), shape);
    b.Canvas()->Release();
}

TEST(ImageList, MaskColourMakesPixelsTransparent)
{
    TImageList list(6, 11);
    TBitmap black, white;
    arrowBitmap(black, clBlack, clWhite);
    arrowBitmap(white, clWhite, clTeal);
    EXPECT_EQ(list.AddMasked(black, clWhite), 0);
    EXPECT_EQ(list.AddMasked(white, clTeal), 1);
    EXPECT_EQ(list.Count(), 2);

    ImageCanvas ic(20, 20, Qt::red);
    list.Draw(ic.get(), 2, 3, 0);
    EXPECT_EQ(ic.at(2, 3), clBlack);   // row 0: one pixel
    EXPECT_EQ(ic.at(3, 3), clRed);     // transparent
    EXPECT_EQ(ic.at(7, 8), clBlack);   // row 5: six pixels
    list.Draw(ic.get(), 10, 3, 5);     // no such image: nothing
    EXPECT_EQ(ic.count(clBlack), 36);

    // A two-image strip adds two images.
    TBitmap strip(12, 11);
    strip.Canvas()->FillRect(Rect(0, 0, 12, 11), clFuchsia);
    strip.Canvas()->FillRect(Rect(6, 0, 12, 11), clBlue);
    strip.Canvas()->Release();
    EXPECT_EQ(list.AddMasked(strip, clFuchsia), 2);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(qAlpha(list.Image(2).pixel(0, 0)), 0);
    EXPECT_EQ(list.Image(3).pixel(0, 0), qRgb(0, 0, 255));
}

TEST(ImageList, GetBitmapShowsTheBackgroundColourThroughTheMask)
{
    // The search-arrow recipe: white triangle masked white, list background yellow.
    TImageList temp(6, 11);
    temp.SetBkColor(clYellow);
    TBitmap bmp;
    arrowBitmap(bmp, clWhite, clTeal);
    temp.AddMasked(bmp, clWhite);
    temp.GetBitmap(0, &bmp);
    EXPECT_EQ(FromQColor(bmp.Image().pixel(0, 5)), clYellow);
    EXPECT_EQ(FromQColor(bmp.Image().pixel(5, 0)), clTeal);
}

TEST(ImageList, StylesMaskAndDisabledDrawing)
{
    TImageList list(6, 11);
    TBitmap black;
    arrowBitmap(black, clBlack, clWhite);
    list.AddMasked(black, clWhite);
    list.SetBlendColor(clWhite);

    ImageCanvas sel(10, 12, Qt::green);
    list.Draw(sel.get(), 0, 0, 0, dsSelected, itImage);
    EXPECT_EQ(sel.at(0, 0), RGB(127, 127, 127));
    EXPECT_EQ(sel.at(1, 0), clLime);

    ImageCanvas mask(10, 12, Qt::green);
    list.Draw(mask.get(), 0, 0, 0, dsNormal, itMask);
    EXPECT_EQ(mask.at(0, 0), clBlack);
    EXPECT_EQ(mask.at(1, 0), clWhite);

    ImageCanvas bk(10, 12, Qt::green);
    list.SetBkColor(clNavy);
    list.Draw(bk.get(), 0, 0, 0);
    EXPECT_EQ(bk.at(1, 0), clNavy);
    list.Draw(bk.get(), 0, 0, 0, dsTransparent, itImage);

    ImageCanvas dis(10, 14, Qt::green);
    list.SetBkColor(clNone);
    list.Draw(dis.get(), 0, 0, 0, dsNormal, itImage, false);
    EXPECT_EQ(dis.at(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(dis.at(1, 1), ColorToRGB(clBtnShadow)) << "shadow over the highlight of the pixel before";
    EXPECT_EQ(dis.at(1, 11), ColorToRGB(clBtnHighlight)) << "highlight one pixel down-right of the last row";
}

} // namespace
