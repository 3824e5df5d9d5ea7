// Keyboard and mouse of the base grid: a table of keys, range selection with
// the auto-scroll timer, sizing, column moving with the move-line window, and
// cell clicks.
#include "gridsgx_probe.h"

#include <QCursor>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace gxgrid;

TEST(GridKeyboard, KeyTable)
{
    struct Case {
        const char* name;
        TGridOptions options;
        int frozenCols;
        TGridCoord start;
        WORD key;
        TShiftState shift;
        TGridCoord current, topLeft;
    };
    const TGridOptions base = DefaultGridOptionsGx;
    const std::vector<Case> cases = {
        {"down", base, 0, {1, 1}, VK_DOWN, {}, {1, 2}, {1, 1}},
        {"right", base, 0, {1, 1}, VK_RIGHT, {}, {2, 1}, {1, 1}},
        {"up at the top", base, 0, {1, 1}, VK_UP, {}, {1, 1}, {1, 1}},
        {"ctrl+end", base, 0, {1, 1}, VK_END, ssCtrl, {9, 29}, {7, 23}},
        {"ctrl+home", base, 0, {5, 9}, VK_HOME, ssCtrl, {1, 1}, {1, 1}},
        {"end", base, 0, {1, 1}, VK_END, {}, {9, 1}, {7, 1}},
        {"home", base, 0, {4, 1}, VK_HOME, {}, {1, 1}, {1, 1}},
        {"page down", base, 0, {1, 1}, VK_NEXT, {}, {1, 7}, {1, 7}},
        {"ctrl+page down", base, 0, {1, 1}, VK_NEXT, ssCtrl, {1, 7}, {1, 1}},
        {"ctrl+down scrolls only", base, 0, {1, 1}, VK_DOWN, ssCtrl, {1, 1}, {1, 2}},
        {"ctrl+right pages", base, 0, {1, 1}, VK_RIGHT, ssCtrl, {3, 1}, {3, 1}},
        {"tab wraps to the next row", base | goTabs, 0, {9, 1}, VK_TAB, {}, {1, 2}, {1, 1}},
        {"tab on the last cell wraps to the first", base | goTabs, 0, {9, 29}, VK_TAB, {}, {1, 1}, {1, 1}},
        {"shift+tab on the first wraps to the last", base | goTabs, 0, {1, 1}, VK_TAB, ssShift, {9, 29}, {7, 23}},
        {"left into a frozen column", base, 1, {2, 1}, VK_LEFT, {}, {1, 1}, {2, 1}},
        {"left stops at the frozen column", base, 1, {1, 1}, VK_LEFT, {}, {1, 1}, {2, 1}},
        {"row select: end goes to the last row", base | goRowSelect, 0, {1, 1}, VK_END, {}, {1, 29}, {1, 23}},
        {"row select: left scrolls, no move", base | goRowSelect, 0, {1, 4}, VK_LEFT, {}, {1, 4}, {1, 1}},
    };
    for (const Case& c : cases) {
        GridHost h;
        TProbeGrid* g = h.grid;
        g->SetColCount(10);
        g->SetRowCount(30);
        if (c.frozenCols) {
            g->SetFixedCols(2);
            g->SetFrozenColCount(c.frozenCols);
        }
        g->SetOptions(c.options);
        g->SetCurrentCell(c.start.X, c.start.Y, true, true, true);
        WORD key = c.key;
        g->KeyDown(key, c.shift);
        EXPECT_TRUE(g->Current() == c.current) << c.name << ": current " << g->Col() << "," << g->Row();
        EXPECT_TRUE(g->TopLeft() == c.topLeft) << c.name << ": top-left " << g->LeftCol() << "," << g->TopRow();
    }
}

// From a frozen column, Tab looks for a tab stop among the scrolling columns once round; with
// none it stays where it is (it used to walk for ever).
TEST(GridKeyboard, TabFromAFrozenColumnWithoutScrollingTabStops)
{
    for (const bool back : {false, true}) {
        GridHost h;
        TProbeGrid* g = h.grid;
        g->SetColCount(6);
        g->SetRowCount(10);
        g->SetFixedCols(2);
        g->SetFrozenColCount(1);
        g->SetOptions(DefaultGridOptionsGx | goTabs);
        for (int c = 2; c < 6; ++c)
            g->SetTabStops(c, false);
        g->SetCurrentCell(1, 3, true, true, true);
        WORD key = VK_TAB;
        g->KeyDown(key, back ? TShiftState{ssShift} : TShiftState{});
        EXPECT_TRUE(g->Current() == (TGridCoord{1, 3})) << back << ": " << g->Col() << "," << g->Row();
        // One scrolling tab stop is found from there.
        g->SetTabStops(4, true);
        key = VK_TAB;
        g->KeyDown(key, back ? TShiftState{ssShift} : TShiftState{});
        EXPECT_TRUE(g->Current() == (TGridCoord{4, back ? 2 : 3})) << back << ": " << g->Col() << "," << g->Row();
    }
}

TEST(GridKeyboard, ShiftExtendsTheSelection)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(10);
    g->SetRowCount(30);
    QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(g, Qt::Key_Right, Qt::ShiftModifier);
    const TGridRect s = g->Selection();
    EXPECT_TRUE(s == TGridRect({1, 1, 2, 2}));
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_TRUE(g->Selection() == TGridRect({2, 3, 2, 3}));
}

TEST(GridMouse, SelectionDragAutoScrollsOnTheTimer)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(20);
    g->SetRowCount(10);
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(100, 40));
    EXPECT_EQ(g->GridState(), gsSelecting);
    EXPECT_TRUE(g->TimerActive(1));
    QTest::mouseMove(g, QPoint(150, 40));
    EXPECT_EQ(g->Anchor().X, 2);
    // Past the right edge each tick moves the anchor one column on.
    QCursor::setPos(g->mapToGlobal(QPoint(320, 40)));
    ASSERT_GT(g->CursorPos().X, 300);
    g->Timer(1);
    EXPECT_EQ(g->Anchor().X, 3);
    g->Timer(1);
    EXPECT_EQ(g->Anchor().X, 4);
    // The timer ticks on by itself, at most once in 60 ms.
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return g->Anchor().X > 4; }, 60000));
    const int ticks = g->Anchor().X - 4;
    EXPECT_GE(ticks, 1);
    EXPECT_LE(ticks, int(t.elapsed() / 60) + 1);
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(299, 40));
    EXPECT_EQ(g->GridState(), gsNormal);
    EXPECT_FALSE(g->TimerActive(1));
    EXPECT_GT(g->LeftCol(), 1);
}

TEST(GridMouse, SizingOnTheLinesHotZone)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(10);
    g->SetOptions(DefaultGridOptionsGx | goColSizing | goRowSizing);
    // Column 1 ends at x 129; its hot zone is 126..132 in the title row.
    EXPECT_EQ(g->CursorAt(126, 10), crHSplit);
    EXPECT_EQ(g->CursorAt(133, 10), crDefault);
    EXPECT_EQ(g->CursorAt(130, 60), crDefault);  // not in the title row
    EXPECT_EQ(g->CursorAt(20, 49), crVSplit);    // row 1 ends at y 49, in the fixed column
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(130, 10));
    EXPECT_EQ(g->GridState(), gsColSizing);
    EXPECT_EQ(g->SizingIndex(), 1);
    EXPECT_EQ(g->SizingPos(), 129);
    QTest::mouseMove(g, QPoint(150, 10));
    EXPECT_EQ(g->SizingPos(), 149);
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(150, 10));
    EXPECT_EQ(g->ColWidths(1), 84);
    // Released at a width of 1 the old width stays.
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(150, 10));
    QTest::mouseMove(g, QPoint(67, 10));
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(67, 10));
    EXPECT_EQ(g->ColWidths(1), 84);
    EXPECT_EQ(g->GridState(), gsNormal);
}

TEST(GridMouse, ColumnMovingWithTheMoveLine)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(10);
    g->SetOptions(DefaultGridOptionsGx | goColMoving);
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(140, 10));
    ASSERT_EQ(g->GridState(), gsColMoving);
    EXPECT_EQ(g->MoveIndex(), 2);
    ASSERT_TRUE(GridMoveLineExists());
    TGridMoveLineGx* ml = GridMoveLine();
    EXPECT_TRUE(ml->isVisible());
    EXPECT_TRUE(ml->IsVert());
    const TGridLayoutGx L = g->CalcGridLayout();
    EXPECT_EQ(ml->height(), L.Vert.AreaEnd - L.Vert.NearIndent + 8);
    EXPECT_EQ(ml->pos(), g->mapToGlobal(QPoint(130 - 1 - 3, -4)));
    QTest::mouseMove(g, QPoint(210, 10));
    EXPECT_EQ(g->MovePos(), 3);
    EXPECT_TRUE(g->MovePosRightSite());
    EXPECT_EQ(ml->pos(), g->mapToGlobal(QPoint(259 - 3, -4)));
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(210, 10));
    ASSERT_EQ(g->Moved.size(), 1u);
    EXPECT_EQ(g->Moved[0], std::make_pair(2, 3));
    EXPECT_FALSE(ml->isVisible());
    EXPECT_FALSE(g->TimerActive(1));
}

TEST(GridMouse, MoveLineWindow)
{
    QWidget w;
    w.setGeometry(100, 100, 300, 300);
    w.show();
    TGridMoveLineGx* ml = GridMoveLine();
    ml->StartShow(&w, {50, 10}, 200, true);
    EXPECT_EQ(ml->size(), QSize(7, 208));
    EXPECT_EQ(ml->pos(), w.mapToGlobal(QPoint(47, 6)));
    EXPECT_TRUE(ml->Shape(QStringLiteral("sLine"))->isVisibleTo(ml));
    EXPECT_FALSE(ml->Shape(QStringLiteral("hLine"))->isVisibleTo(ml));
    EXPECT_EQ(ml->Shape(QStringLiteral("sLine"))->geometry(), QRect(3, 3, 1, 202));
    EXPECT_EQ(ml->Shape(QStringLiteral("sLow7"))->geometry(), QRect(0, 207, 7, 1));
    ml->StartShow(&w, {50, 10}, 100, false);
    EXPECT_EQ(ml->size(), QSize(108, 7));
    EXPECT_EQ(ml->Shape(QStringLiteral("hRight7"))->geometry(), QRect(107, 0, 1, 7));
    ml->TemporaryHide();
    ml->MoveToFor(&w, {10, 10});
    EXPECT_EQ(ml->size(), QSize(0, 0));
    ml->hide();
    // Where the platform cannot layer windows the move line stays opaque.
    EXPECT_FALSE(TGridDragWinGx::LayeredWindowsAvailable());
    EXPECT_EQ(GridDragBox()->AlphaBlendValue(), 200);
}

TEST(GridMouse, ColumnMoveScrollInterval)
{
    struct Case {
        int edge, room, mouse;
        bool left;
        int interval;
    };
    const std::vector<Case> cases = {
        {300, 0, 295, true, 360},        // just past the edge: slow
        {300, 0, 90, true, 61},          // far past it: towards 60 ms
        {-100, -1920, -105, true, 360},  // a monitor left of the primary one
        {-100, -1920, -400, true, 61},
        {10, 0, 5, true, 60 + 15},       // little room on the left: Max 10, D 1
        {0, 0, -20, true, 60},           // no room at all
        {1800, 1920, 1805, false, 240},  // right side, Max 120
        {1800, 1920, 1950, false, 61},
    };
    for (const Case& c : cases) {
        const int v = ColMoveScrollInterval(c.edge, c.room, c.mouse, c.left);
        EXPECT_EQ(v, c.interval) << c.edge << " " << c.room << " " << c.mouse;
        EXPECT_GE(v, 60);
    }
    EXPECT_EQ(GridTimerInterval(0), 10);
    EXPECT_EQ(GridTimerInterval(-5), 10);
    EXPECT_EQ(GridTimerInterval(60), 60);
    EXPECT_EQ(MulDiv(5, 127, 0), -1);
}

TEST(GridMouse, ClickOnlyWhenPressAndReleaseFallOnOneCell)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(10);
    g->SetOptions(DefaultGridOptionsGx | goEditing);
    std::vector<std::pair<TGridCoord, TPoint>> clicks;
    g->OnCellMouseClick = [&](QObject*, TGridCoord cell, TMouseButton, TShiftState, int x, int y) {
        clicks.push_back({cell, TPoint(x, y)});
    };
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(70, 30));
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(72, 33));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_TRUE(clicks[0].first == TGridCoord({1, 1}));
    EXPECT_TRUE(clicks[0].second == TPoint(7, 8));
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(70, 30));
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(140, 30));
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_TRUE(g->Current() == TGridCoord({1, 1}));
}
