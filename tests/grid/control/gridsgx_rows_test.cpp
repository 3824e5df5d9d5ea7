// Row moving with its inverted marker, hot tracking of cells, and painting and
// scrolling of a grid with many rows.
#include "gridsgx_probe.h"

#include <gtest/gtest.h>

using namespace gxgrid;

namespace {

class TRowGrid : public TProbeGrid {
public:
    using TProbeGrid::TProbeGrid;
    std::vector<std::pair<int, int>> RowsMoved;
    bool HotTrack = false;
    void RowMoved(int FromIndex, int ToIndex) override { RowsMoved.push_back({FromIndex, ToIndex}); }
    bool CanHotTrackCell(int ACol, int ARow) override { return HotTrack && ACol >= FixedCols() && ARow >= FixedRows(); }
};

struct RowHost {
    QWidget window;
    TRowGrid* grid;
    RowHost()
    {
        window.resize(340, 240);
        grid = new TRowGrid(&window);
        grid->SetScrollBarsStyle(TScrollStyle::ssNone);
        grid->setGeometry(10, 10, 300, 200);
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        grid->setFocus();
        QApplication::processEvents();
    }
};

} // namespace

TEST(GridRows, RowMovingWithTheInvertedMarker)
{
    RowHost h;
    TRowGrid* g = h.grid;
    g->SetRowCount(10);
    g->SetOptions(DefaultGridOptionsGx | goRowMoving);
    g->SetRowHeights(3, 30);
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(10, 90));
    ASSERT_EQ(g->GridState(), gsRowMoving);
    EXPECT_EQ(g->MoveIndex(), 3);
    EXPECT_FALSE(g->Overlay()->IsEmpty());  // the marker shows over the grid
    QTest::mouseMove(g, QPoint(10, 140));
    EXPECT_EQ(g->MovePos(), 5);
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(10, 140));
    ASSERT_EQ(g->RowsMoved.size(), 1u);
    EXPECT_EQ(g->RowsMoved[0], std::make_pair(3, 5));
    EXPECT_EQ(g->RowHeights(5), 30);  // the height moved with the row
    EXPECT_TRUE(g->Overlay()->IsEmpty());  // drawn twice: gone
    EXPECT_EQ(g->GridState(), gsNormal);
}

TEST(GridRows, HotTracking)
{
    RowHost h;
    TRowGrid* g = h.grid;
    g->HotTrack = true;
    QTest::mouseMove(g, QPoint(100, 40));
    EXPECT_TRUE(g->HotTrackCell() == TGridCoord({1, 1}));
    EXPECT_TRUE(g->HotTrackInCellPos() == TPoint(35, 15));
    g->PaintNow();
    ASSERT_NE(g->Find(1, 1), nullptr);
    EXPECT_TRUE(g->Find(1, 1)->State.contains(gdHotTrack));
    QTest::mouseMove(g, QPoint(20, 40));  // the fixed column is not tracked
    EXPECT_TRUE(g->HotTrackCell() == TGridCoord({-1, -1}));
}

TEST(GridRows, AMillionRowsPaintOnlyTheVisiblePage)
{
    RowHost h;
    TRowGrid* g = h.grid;
    g->SetRowCount(1000000);
    g->SetTopRow(500000);
    g->PaintNow();
    int rows = 0;
    for (const auto& c : g->Calls)
        if (c.Col == 1) ++rows;
    EXPECT_EQ(rows, 1 + 7);  // the title and the seven rows that fit
    g->HandleScrollBar(SB_VERT, SB_PAGEDOWN, 0);
    EXPECT_EQ(g->TopRow(), 500006);
    g->HandleScrollBar(SB_VERT, SB_BOTTOM, 0);
    EXPECT_EQ(g->TopRow(), 999993);
}
