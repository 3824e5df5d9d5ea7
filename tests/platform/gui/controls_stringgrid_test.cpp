// String grid: geometry of fixed and scrolling cells, scrolling, the current
// cell under keys and mouse, the cell-drawing event and in-place editing.
#include "events_support.h"

#include "Canvas.h"
#include "StringGrid.h"

#include <QImage>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

struct GridFixture : ::testing::Test {
    TForm form;
    TStringGrid* grid = new TStringGrid(&form);
    void SetUp() override
    {
        form.resize(420, 260);
        grid->setGeometry(0, 0, 300, 150);
        grid->SetColCount(8);
        grid->SetRowCount(12);
        for (int r = 0; r < 12; ++r)
            for (int c = 0; c < 8; ++c) grid->SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    }
};

TEST_F(GridFixture, CellGeometryAndVisibleCounts)
{
    EXPECT_EQ(grid->CellRect(0, 0), TRect(0, 0, 64, 24));
    EXPECT_EQ(grid->CellRect(1, 1), TRect(65, 25, 129, 49));
    grid->SetColWidths(1, 100);
    EXPECT_EQ(grid->CellRect(2, 0), TRect(166, 0, 230, 24));
    // Both bars show: the client area is the rest.
    const int ext = TCustomControl::ScrollBarExtent();
    EXPECT_TRUE(grid->ScrollBarVisible(SB_HORZ));
    EXPECT_TRUE(grid->ScrollBarVisible(SB_VERT));
    EXPECT_EQ(grid->ClientWidth(), 300 - ext);
    int x = 65, visible = 0;
    for (int c = 1; c < 8 && x + grid->ColWidths(c) <= grid->ClientWidth(); ++c, ++visible)
        x += grid->ColWidths(c) + 1;
    EXPECT_EQ(grid->VisibleColCount(), visible);
    // A cell out of view has an empty rectangle.
    EXPECT_TRUE(grid->CellRect(7, 1).IsEmpty());
    EXPECT_TRUE(grid->CellRect(1, 11).IsEmpty());

    int c = -2, r = -2;
    grid->MouseToCell(70, 30, c, r);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 1);
    grid->MouseToCell(10, 60, c, r);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(r, 2);
}

TEST_F(GridFixture, ScrollingKeepsFixedCells)
{
    grid->SetLeftCol(3);
    EXPECT_EQ(grid->LeftCol(), 3);
    EXPECT_EQ(grid->CellRect(0, 1), TRect(0, 25, 64, 49));
    EXPECT_TRUE(grid->CellRect(2, 1).IsEmpty());
    EXPECT_EQ(grid->CellRect(3, 1).Left, 65);
    EXPECT_EQ(grid->Cells(3, 1), QStringLiteral("3,1"));
    // LeftCol cannot go past the point where the last column fills the view.
    grid->SetLeftCol(100);
    EXPECT_EQ(grid->LeftCol() + grid->VisibleColCount(), 8);
    // The scroll bar reports, the grid moves.
    grid->SetTopRow(1);
    grid->Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(grid->TopRow(), 2);
    grid->Perform(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(grid->TopRow() + grid->VisibleRowCount(), 12);
    EXPECT_EQ(grid->GetScrollPos(SB_VERT), grid->TopRow() - 1);
}

TEST_F(GridFixture, NewFixedCountsStartTheViewAtTheFirstScrollableCell)
{
    grid->SetLeftCol(3);
    grid->SetTopRow(4);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    EXPECT_EQ(grid->LeftCol(), 0);
    EXPECT_EQ(grid->TopRow(), 0);
    EXPECT_EQ(grid->CellRect(0, 0), TRect(0, 0, 64, 24));
    grid->SetFixedCols(2);
    grid->SetFixedRows(3);
    EXPECT_EQ(grid->LeftCol(), 2);
    EXPECT_EQ(grid->TopRow(), 3);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 3);
}

TEST_F(GridFixture, KeysAndMouseMoveTheCurrentCell)
{
    std::vector<std::pair<int, int>> asked;
    grid->OnSelectCell = [&](QObject*, int c, int r, bool& can) {
        asked.push_back({c, r});
        can = !(c == 2 && r == 3);
    };
    showActive(&form);
    grid->SetFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    QTest::keyClick(grid, Qt::Key_Down);   // refused by OnSelectCell
    EXPECT_EQ(grid->Row(), 2);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->Col(), 7);
    EXPECT_EQ(grid->Row(), 11);
    EXPECT_FALSE(grid->CellRect(7, 11).IsEmpty()) << "the current cell is scrolled into view";
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->LeftCol(), 1);
    // A click on a data cell makes it current; a click on a fixed one does not.
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(70, 55));
    EXPECT_EQ(grid->Row(), 2);
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(10, 80));
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_FALSE(asked.empty());
}

TEST_F(GridFixture, DrawCellEventGetsEveryVisibleCell)
{
    showActive(&form);
    int fixed = 0, data = 0;
    bool resized = false;
    grid->OnDrawCell = [&](QObject*, int c, int r, TRect rect, TGridDrawState state) {
        if (state.contains(gdFixed)) ++fixed; else ++data;
        EXPECT_EQ(rect, grid->CellRect(c, r));
        // A header painter draws over the cell with the grid's canvas and may
        // even change the column count while painting.
        if (c == 0 && r == 0) {
            grid->Canvas()->Brush()->SetColor(clRed);
            grid->Canvas()->FillRect(TRect(rect.Left, rect.Top, rect.Left + 10, rect.Top + 10));
            if (!resized) {
                resized = true;
                grid->SetColCount(8);
            }
        }
    };
    grid->Invalidate();
    QImage img = grid->grab().toImage();
    EXPECT_GT(fixed, 0);
    EXPECT_GT(data, 0);
    EXPECT_EQ(QColor(img.pixel(3, 3)), QColor(Qt::red));
    // Grid lines: black between fixed cells, silver between data cells.
    EXPECT_EQ(QColor(img.pixel(64, 10)), QColor(Qt::black));
    EXPECT_EQ(QColor(img.pixel(129, 30)), QColor(0xC0, 0xC0, 0xC0));
}

TEST_F(GridFixture, EditingWritesTheCell)
{
    grid->SetOptions(grid->Options() | goEditing);
    QStringList set;
    grid->OnSetEditText = [&](QObject*, int c, int r, const QString& v) { set << QStringLiteral("%1,%2=%3").arg(c).arg(r).arg(v); };
    showActive(&form);
    grid->SetFocus();
    QTest::keyClick(grid, Qt::Key_X);
    ASSERT_TRUE(grid->EditorMode());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("yz"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("xyz"));
    EXPECT_EQ(set, QStringList{QStringLiteral("1,1=xyz")});
    // Esc throws the editor's text away.
    QTest::keyClick(grid, Qt::Key_F2);
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("q"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("xyz"));
}

} // namespace
