// Merged header blocks of report grids: block rectangles for one, two and three header rows,
// with scrolling, and the painters' frames and column counts.
#include "ReportGrid.h"
#include "qstringprint.h"

#include "platform/gui/Graphics.h"
#include "platform/gui/StringGrid.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class HeaderTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        grid = std::make_unique<TStringGrid>();
        grid->resize(400, 220);
        grid->SetFixedCols(0);
        grid->SetColCount(12);
        grid->SetRowCount(8);
        grid->SetFixedRows(GetParam());
        grid->SetLeftCol(0);
    }
    TRect Rect(int col, int row, int nrows, int ncols)
    {
        TRect r;
        mergedcellrect(grid.get(), col, row, r, nrows, ncols);
        return r;
    }
    std::unique_ptr<TStringGrid> grid;
};

} // namespace

TEST_P(HeaderTest, BlockRectanglesFollowTheVisibleColumns)
{
    const int F = GetParam();
    const int V = grid->VisibleColCount();
    ASSERT_GE(V, 4);
    // A block over columns 2-3 and every header row.
    const TRect top = grid->CellRect(0, 0);
    EXPECT_EQ(Rect(2, 0, F, 2), TRect(grid->CellRect(2, 0).Left, top.Top, grid->CellRect(3, 0).Right,
                                      grid->CellRect(0, F - 1).Bottom));
    EXPECT_EQ(Rect(2, 0, F, 2), TRect(130, 0, 259, F * 25 - 1));
    // One cell of the last header row.
    EXPECT_EQ(Rect(1, F - 1, 1, 1), grid->CellRect(1, F - 1));

    // Scrolled so that the block's first column left the view: from the left edge.
    grid->SetLeftCol(3);
    ASSERT_EQ(grid->LeftCol(), 3);
    EXPECT_EQ(Rect(2, 0, F, 2), TRect(0, 0, grid->CellRect(3, 0).Right, grid->CellRect(3, F - 1).Bottom));
    EXPECT_EQ(Rect(0, 0, F, 2), TRect(0, 0, 0, 0));   // wholly left of the view
    // Running past the last visible column: to the client's right edge.
    const int V2 = grid->VisibleColCount();
    EXPECT_EQ(Rect(3 + V2 - 1, 0, 1, 3).Right, grid->ClientRect().Right);
    EXPECT_EQ(Rect(3 + V2 - 2, 0, 1, 2).Right, grid->CellRect(3 + V2 - 1, 0).Right);
    // Wholly past the view.
    EXPECT_EQ(Rect(3 + V2 + 2, 0, 1, 2), TRect(0, 0, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(HeaderRows, HeaderTest, ::testing::Values(1, 2, 3));

TEST(HeaderPainting, BlocksAreFramedOnePixelBeyondTheirCells)
{
    TStringGrid grid;
    grid.resize(600, 200);
    grid.SetFixedCols(0);
    grid.SetFixedRows(3);
    grid.SetRowCount(5);
    grid.SetLeftCol(0);
    TNodeList items(2);
    items[0].text = QStringLiteral("甲厂");
    items[1].text = QStringLiteral("乙厂");
    int painted = 0;
    grid.OnDrawCell = [&](QObject*, int c, int r, TRect, TGridDrawState) {
        if (r < 3) {
            ++painted;
            drawstathead(&grid, c, r, QStringLiteral("本期收入"), items);
        }
    };
    grid.show();
    const QImage img = grid.grab().toImage();
    ASSERT_GT(painted, 0);
    EXPECT_EQ(grid.ColCount(), 8);   // 2n + 4, set while painting
    const TRect a = grid.CellRect(0, 0);
    const TRect c = grid.CellRect(0, 2);
    const int midY = (a.Top + c.Bottom) / 2;
    // "序号" spans the three header rows of column 0: light left and top, dark right and
    // bottom edges, the right one on the grid line beside the cell.
    const QColor shadow = ToQColor(clBtnShadow);
    EXPECT_EQ(QColor(img.pixel(a.Left, midY)), ToQColor(clBtnHighlight));
    EXPECT_EQ(QColor(img.pixel(a.Right, midY)), shadow);
    EXPECT_EQ(QColor(img.pixel(a.Right, c.Bottom)), shadow);     // bottom edge one pixel below the cell
    // Column 0 rows 0 to 2 form one block, so the edge runs unbroken through the row lines.
    for (int y = a.Top + 1; y < c.Bottom; ++y)
        EXPECT_EQ(QColor(img.pixel(a.Right, y)), shadow) << y;
    // "其中" over columns 4 to 7 in row 0; each item over its pair in row 1; "数量" and
    // "金额" one cell each in row 2.
    auto at = [&](int col, int row) { return QColor(img.pixel(grid.CellRect(col, row).Right, grid.CellRect(col, row).Top + 2)); };
    EXPECT_EQ(QColor(img.pixel(grid.CellRect(4, 0).Left, grid.CellRect(4, 0).Top + 2)), ToQColor(clBtnHighlight));
    EXPECT_NE(at(4, 0), shadow);
    EXPECT_NE(at(5, 0), shadow);
    EXPECT_EQ(at(7, 0), shadow);
    EXPECT_NE(at(4, 1), shadow);
    EXPECT_EQ(at(5, 1), shadow);
    EXPECT_EQ(at(4, 2), shadow);
    EXPECT_EQ(at(2, 2), shadow);
    EXPECT_NE(at(2, 1), shadow);   // the total caption spans columns 2 and 3, rows 0 and 1
    EXPECT_EQ(at(3, 1), shadow);
}

TEST(HeaderPainting, PaintersSetTheirColumnCounts)
{
    TStringGrid grid;
    grid.resize(300, 100);
    grid.SetFixedCols(0);
    grid.SetFixedRows(3);
    TCaptionLists units(3);
    drawcyldpthead(&grid, 2, 0, units, 6);   // columns 0 to 5 leave the count alone
    EXPECT_EQ(grid.ColCount(), 5);
    drawcyldpthead(&grid, 7, 1, units, 6);
    EXPECT_EQ(grid.ColCount(), 12);
    TNodeList items(4);
    drawconsumehead(&grid, 0, 0, items);
    EXPECT_EQ(grid.ColCount(), 10);
    drawstathead(&grid, 0, 0, QStringLiteral("支出合计"), TNodeList{});
    EXPECT_EQ(grid.ColCount(), 4);
    // Painting without a view paints nothing and raises nothing.
    drawmtrsumhead(&grid, 11, 0);
    drawbreedsumhead(&grid, 3, 1);
    drawmtrlisthead(&grid, 6, 0);
    drawcylsumhead(&grid, 9, 1);
    drawcyldetailhead(&grid, 9, 0);
}
