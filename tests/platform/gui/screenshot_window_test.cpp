// A window with Chinese labels, a string grid and a tree view, rendered under
// the offscreen platform and saved as a PNG artefact.
#include "events_support.h"

#include "StringGrid.h"
#include "TreeView.h"
#include "testmain/testsupport.h"

#include <QFontInfo>
#include <QLabel>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

TEST(ScreenshotWindow, ChineseLabelsGridAndTree)
{
    TForm form;
    form.SetCaption(QStringLiteral("材料入库单"));
    form.resize(640, 400);
    auto* title = new QLabel(QStringLiteral("材料入库单  （仓库：一号库）"), &form);
    title->setGeometry(10, 8, 400, 24);
    auto* tree = new TTreeView(&form);
    tree->setGeometry(10, 40, 180, 340);
    TTreeNode* root = tree->Items()->Add(nullptr, QStringLiteral("01  材料分类"));
    TTreeNode* steel = tree->Items()->AddChild(root, QStringLiteral("0101  钢材"));
    tree->Items()->AddChild(steel, QStringLiteral("010101  螺纹钢"));
    tree->Items()->AddChild(root, QStringLiteral("0102  水泥"));
    tree->Items()->AddChild(root, QStringLiteral("0103  木材"));
    tree->FullExpand();
    tree->SetSelected(steel);

    auto* grid = new TStringGrid(&form);
    grid->setGeometry(200, 40, 430, 340);
    grid->SetColCount(5);
    grid->SetRowCount(8);
    grid->SetColWidths(0, 40);
    grid->SetColWidths(1, 120);
    const QStringList head{"序号", "材料名称", "规格型号", "数量", "金额"};
    for (int c = 0; c < head.size(); ++c) grid->SetCells(c, 0, head[c]);
    const QStringList names{"螺纹钢", "普通硅酸盐水泥", "松木板材", "镀锌钢管"};
    for (int r = 0; r < names.size(); ++r) {
        grid->SetCells(0, r + 1, QString::number(r + 1));
        grid->SetCells(1, r + 1, names[r]);
        grid->SetCells(2, r + 1, QStringLiteral("Φ%1").arg(12 + 2 * r));
        grid->SetCells(3, r + 1, QString::number(10 * (r + 1)));
        grid->SetCells(4, r + 1, QString::number(350.5 * (r + 1)));
    }
    grid->SetCells(1, 5, QStringLiteral("合计"));
    showActive(&form);

    // The Chinese text is drawn with the CJK font.
    const QFont f = title->font();
    EXPECT_TRUE(QFontInfo(f).family().contains(QStringLiteral("WenQuanYi"))) << QFontInfo(f).family().toStdString();
    EXPECT_TRUE(QFontMetrics(f).inFont(QChar(0x6750)));   // 材

    QApplication::processEvents();
    QImage shot = form.grab().toImage();
    const QString path = dpxtest::artifactsDir() + QStringLiteral("/gui_window_chinese.png");
    ASSERT_TRUE(shot.save(path));
    // The title has ink where its glyphs are.
    int dark = 0;
    for (int y = 8; y < 32; ++y)
        for (int x = 10; x < 200; ++x)
            if (qGray(shot.pixel(x, y)) < 100) ++dark;
    EXPECT_GT(dark, 100);
}

} // namespace
