// Text and image output into cells: where single-line text lands, end
// ellipsis, several lines centred and clipped, text through the shared bitmap on
// colours the display cannot show solid, images clipped to small cells, and
// text turned for vertical titles.
#include "dbgrid_paint_recorder.h"
#include "grid/control/DBGridGxPaintText.h"
#include "grid/control/DBGridGxStyle.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"
#include <gtest/gtest.h>

using gxpaint::RecordingDevice;

namespace {

struct RecordingCanvas {
    RecordingDevice device;
    TCanvas canvas{&device};
    RecordingCanvas() { canvas.Brush()->SetColor(clWindow); }
};

} // namespace

TEST(CellTextOutput, SingleLinePlaces)
{
    struct Case {
        TAlignment alignment;
        int dx;
        const char* text;
    };
    const Case cases[] = {{taRightJustify, 0, "1,234.50"}, {taRightJustify, 2, "1,234.50"},
                          {taRightJustify, 7, "合计"},      {taLeftJustify, 2, "材料名称"},
                          {taLeftJustify, 5, "材料名称"},   {taCenter, 2, "单位"}};
    const TRect cell(40, 10, 140, 30);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " dx " + std::to_string(c.dx));
        RecordingCanvas r;
        const QString text = QString::fromUtf8(c.text);
        PaintCellText(&r.canvas, cell, true, c.dx, 2, text, c.alignment, tlTop, false, false, 0, 0, false);
        const gxpaint::TextRun* run = r.device.Find(text);
        ASSERT_NE(run, nullptr);
        const int width = r.canvas.TextWidth(text);
        switch (c.alignment) {
        case taRightJustify: EXPECT_NEAR(run->Right(), cell.Right - 3, 0.5); break;   // 3 px in, whatever dx
        case taLeftJustify: EXPECT_NEAR(run->X, cell.Left + c.dx, 0.5); break;
        case taCenter: EXPECT_NEAR(run->X, cell.Left + cell.Width() / 2 - width / 2, 0.5); break;
        }
        EXPECT_TRUE(run->Clipped);
        EXPECT_EQ(run->Clip, QRect(40, 10, 100, 20));
        ASSERT_FALSE(r.device.Fills.empty());   // filled with the brush
        EXPECT_EQ(r.device.Fills.front().Rect, QRectF(40, 10, 100, 20));
    }
    // Without filling the brush is clear for the call and given back after it.
    RecordingCanvas r;
    r.canvas.Brush()->SetColor(clYellow);
    PaintCellText(&r.canvas, cell, false, 2, 2, QStringLiteral("x"), taLeftJustify, tlTop, false, false, 0, 0, false);
    EXPECT_TRUE(r.device.Fills.empty());
    EXPECT_EQ(r.canvas.Brush()->Style(), bsSolid);
    EXPECT_EQ(r.canvas.Brush()->Color(), clYellow);
}

TEST(CellTextOutput, EndEllipsis)
{
    RecordingCanvas r;
    const QString caption = QStringLiteral("折结算币种价格复价合计");
    const int full = r.canvas.TextWidth(caption);
    EXPECT_EQ(TruncateWithEllipsis(caption, &r.canvas, full), caption);
    const QString cut = TruncateWithEllipsis(caption, &r.canvas, full / 2);
    ASSERT_TRUE(cut.endsWith(QStringLiteral("...")));
    const QString prefix = cut.chopped(3);
    EXPECT_TRUE(caption.startsWith(prefix));
    EXPECT_LE(r.canvas.TextWidth(cut), full / 2);
    EXPECT_GT(r.canvas.TextWidth(caption.left(prefix.size() + 1) + QStringLiteral("...")), full / 2);
    EXPECT_EQ(TruncateWithEllipsis(caption, &r.canvas, 1), QStringLiteral("..."));

    // Through the painter: the cell width less the left offset.
    const TRect cell(0, 0, full / 2 + 2, 20);
    PaintCellText(&r.canvas, cell, true, 2, 2, caption, taLeftJustify, tlTop, false, true, 0, 0, false);
    ASSERT_EQ(r.device.Texts.size(), 1u);
    EXPECT_EQ(r.device.Texts[0].Text, cut);
    r.device.Clear();
    PaintCellText(&r.canvas, TRect(0, 0, full + 10, 20), true, 2, 2, caption, taLeftJustify, tlTop, false, true, 0, 0,
                  false);
    EXPECT_EQ(r.device.Texts[0].Text, caption);
}

TEST(CellTextOutput, MultiLineCentringAndClipping)
{
    RecordingCanvas r;
    const int line = r.canvas.TextHeight(QStringLiteral("实"));
    // Two lines centred in a tall cell: the text block sits in the middle.
    const TRect tall(0, 0, 80, 100);
    PaintCellText(&r.canvas, tall, true, 2, 1, QStringLiteral("采购币种价格 实价"), taCenter, tlCenter, true, false, 0,
                  0, false);
    ASSERT_GE(r.device.Texts.size(), 2u);
    const double firstTop = r.device.Texts.front().Baseline - r.canvas.FontAscent();
    const double lastBottom = r.device.Texts.back().Baseline + r.canvas.FontDescent();
    EXPECT_NEAR((firstTop + lastBottom) / 2, 50, 2);
    EXPECT_GE(r.device.Texts.front().Clip.height(), 2 * line);   // not cut to the cell

    // Taller than the cell: it starts above the inner top and is clipped to the
    // cell less its offsets.
    r.device.Clear();
    const TRect low(10, 20, 50, 20 + line + 4);
    PaintCellText(&r.canvas, low, true, 2, 1, QStringLiteral("采购 币种 价格 原价 合计"), taLeftJustify, tlCenter, true,
                  false, 0, 0, false);
    ASSERT_GE(r.device.Texts.size(), 3u);
    EXPECT_LT(r.device.Texts.front().Baseline - r.canvas.FontAscent(), 21);
    for (const gxpaint::TextRun& t : r.device.Texts) {
        EXPECT_TRUE(t.Clipped);
        EXPECT_EQ(t.Clip, QRect(12, 21, 36, line + 2));
    }
    // The clip is given back afterwards.
    EXPECT_FALSE(r.canvas.GetClipRegion().has_value());

    // Margins: the text keeps off them.
    r.device.Clear();
    PaintCellText(&r.canvas, TRect(0, 0, 200, 20), true, 0, 0, QStringLiteral("备注"), taLeftJustify, tlTop, false,
                  false, 30, 40, false);
    EXPECT_NEAR(r.device.Texts.front().X, 30, 0.5);
}

TEST(CellTextOutput, SharedBitmapOnPaletteColours)
{
    // A 256-colour display cannot show this blue-grey solid: the text goes through
    // the shared bitmap and the background stays whole behind the letters.
    SetScreenColorCountGx(256);
    const TColor odd = TColor(0x00C08060);
    EXPECT_FALSE(IsSolidScreenColorGx(odd));
    EXPECT_TRUE(IsSolidScreenColorGx(clSilver));
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TCanvas canvas(&image);
        canvas.Brush()->SetColor(odd);
        canvas.Font()->SetColor(clBlack);
        PaintCellText(&canvas, TRect(10, 10, 110, 30), true, 2, 2, QStringLiteral("合计 12.5"), taLeftJustify, tlTop,
                      false, false, 0, 0, false);
        canvas.Release();
    }
    SetScreenColorCountGx(-1);
    int background = 0, ink = 0;
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 110; ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            if (p == (qRgb(0x60, 0x80, 0xC0) & 0xFFFFFFu))
                ++background;
            else
                ++ink;
        }
    EXPECT_GT(ink, 20);
    EXPECT_GT(background, 1200);
    EXPECT_EQ(image.pixel(9, 9), qRgb(255, 255, 255));   // nothing outside the cell
    EXPECT_EQ(image.pixel(110, 30), qRgb(255, 255, 255));
}

TEST(CellTextOutput, ImagesCentredAndClipped)
{
    TImageList list(16, 16);
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    list.AddImage(red);
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TCanvas canvas(&image);
        PaintCellImage(&list, nullptr, &canvas, TRect(10, 10, 20, 20), 0, 0, taCenter);   // 16 into 10
        PaintCellImage(&list, nullptr, &canvas, TRect(30, 0, 60, 40), 0, 0, taRightJustify);
        canvas.Release();
    }
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(19, 19), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(9, 15), qRgb(255, 255, 255));    // clipped at the cell
    EXPECT_EQ(image.pixel(20, 15), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(15, 21), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(44, 12), qRgb(255, 0, 0));       // right-aligned, centred vertically
    EXPECT_EQ(image.pixel(43, 12), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(59, 27), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(59, 28), qRgb(255, 255, 255));
}

TEST(CellTextOutput, VerticalText)
{
    RecordingCanvas r;
    r.canvas.Font()->SetName(QStringLiteral("Default"));
    const QString text = QStringLiteral("数量");
    const int along = PaintCellTextVertical(&r.canvas, TRect(0, 0, 30, 80), true, 2, 3, text, taLeftJustify,
                                            tlBottom, false, true);
    EXPECT_TRUE(r.device.Texts.empty());
    EXPECT_EQ(r.canvas.Font()->Orientation(), 0);   // the font is itself again
    EXPECT_EQ(r.canvas.Font()->Name(), QStringLiteral("Default"));
    TFont vertical;
    CreateVerticalFontGx(*r.canvas.Font(), vertical);
    EXPECT_EQ(vertical.Orientation(), 900);
    EXPECT_EQ(vertical.Name(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(vertical.Height(), r.canvas.Font()->Height());
    EXPECT_NEAR(along, r.canvas.TextWidth(text), 3);

    r.canvas.Font()->SetName(QString());
    PaintCellTextVertical(&r.canvas, TRect(0, 0, 30, 80), true, 2, 3, text, taLeftJustify, tlBottom, false, false);
    ASSERT_EQ(r.device.Texts.size(), 1u);
    EXPECT_EQ(r.device.Texts[0].Text, text);
    EXPECT_TRUE(r.device.Texts[0].Clipped);
    EXPECT_EQ(r.device.Texts[0].Clip, QRect(0, 0, 30, 80));
}
