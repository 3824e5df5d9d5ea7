// Font records, colour mixing, text measuring and layout storage names.
#include "grid/control/DBGridGxTextRoutines.h"
#include "platform/gui/Canvas.h"
#include <QWidget>
#include <gtest/gtest.h>

TEST(DBGridTextRoutines, FontRecordsAndColours)
{
    TFont font;
    font.SetStyle(fsBold);
    font.SetColor(clRed);
    TFontDataGx data;
    SaveFontData(font, data);
    TFont other;
    int changes = 0;
    other.OnChange = [&] { ++changes; };
    RestoreFontData(data, other);
    EXPECT_TRUE(other == font);
    const int after = changes;
    RestoreFontData(data, other);   // nothing differs: nothing set
    EXPECT_EQ(changes, after);

    EXPECT_EQ(MixColorBy255(clBlack, clWhite, 255), clWhite);
    EXPECT_EQ(MixColorBy255(clBlack, clWhite, 0), clBlack);
    EXPECT_EQ(MixColorBy255(clBlack, clWhite, 128), TColor(0x808080));   // 255 / 255 * 128, truncated
    EXPECT_EQ(MixColorBy255(0x000064, 0x000000, 255) & 0xFF, 0);
}

TEST(DBGridTextRoutines, MeasuringText)
{
    TCanvas canvas;
    const int plain = canvas.TextWidth(QStringLiteral("合计"));
    EXPECT_EQ(TextWidthWithOverhang(&canvas, QStringLiteral("合计")), plain);
    canvas.Font()->SetStyle(fsBold);
    EXPECT_GT(TextWidthWithOverhang(&canvas, QStringLiteral("合计")), canvas.TextWidth(QStringLiteral("合计")));
    canvas.Font()->SetStyle(0);
    const int line = canvas.TextHeight(QStringLiteral("Wg"));
    EXPECT_EQ(MeasureWrappedText(&canvas, QStringLiteral("数量"), 200), line);
    EXPECT_GE(MeasureWrappedText(&canvas, QStringLiteral("采购 币种 价格 原价"), 30), 2 * line);
    int w = 0, h = 0;
    EXPECT_FALSE(TextExtentFits(&canvas, QStringLiteral("数量"), 200, line, 2, false, w, h));
    EXPECT_TRUE(TextExtentFits(&canvas, QStringLiteral("采购币种价格原价"), 30, line, 2, false, w, h));
    EXPECT_GT(w, 26);
}

TEST(DBGridTextRoutines, StoragePath)
{
    QWidget form;
    QWidget panel(&form);
    panel.setObjectName(QStringLiteral("pnlTop"));
    QWidget grid(&panel);
    grid.setObjectName(QStringLiteral("gridBills"));
    EXPECT_EQ(GridStoragePath(&grid), QStringLiteral("QWidget") + QStringLiteral("pnlTop.gridBills"));
    EXPECT_EQ(GridStoragePath(&form), QStringLiteral("QWidget"));
    EXPECT_EQ(GridStoragePath(nullptr), QString());
}
