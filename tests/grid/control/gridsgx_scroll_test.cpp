// Scrolling of the base grid by whole lines and by pixels: the top-left cell,
// the scroll bar's range, page and position for each scroll code, hidden rows
// and grids that fit.
#include "gridsgx_probe.h"

#include <gtest/gtest.h>

using namespace gxgrid;

namespace {

TScrollInfo Bar(TCustomGridGx* g, int bar)
{
    TScrollInfo si;
    si.fMask = SIF_ALL;
    g->GetScrollInfo(bar, si);
    return si;
}

} // namespace

TEST(GridScroll, LineModeScrollCodes)
{
    GridHost h(TScrollStyle::ssVertical);
    TProbeGrid* g = h.grid;
    g->SetColCount(4);
    g->SetRowCount(30);
    h.Pump();
    ASSERT_EQ(g->ClientHeight(), 200);
    EXPECT_EQ(g->LastTopLeft({3, 29}).Y, 23);
    TScrollInfo si = Bar(g, SB_VERT);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 127);
    EXPECT_EQ(si.nPos, 0);
    struct Step {
        int code, pos;
        TGridOptions extra;
        int topRow, barPos;
    };
    const std::vector<Step> steps = {
        {SB_LINEDOWN, 0, 0, 2, 6},          {SB_PAGEDOWN, 0, 0, 8, 40},    {SB_PAGEUP, 0, 0, 2, 6},
        {SB_LINEUP, 0, 0, 1, 0},            {SB_BOTTOM, 0, 0, 23, 127},    {SB_TOP, 0, 0, 1, 0},
        {SB_THUMBPOSITION, 64, 0, 12, 64},  {SB_THUMBTRACK, 127, 0, 12, 64}, {SB_THUMBTRACK, 127, goThumbTracking, 23, 127},
        {SB_LINEDOWN, 0, 0, 23, 127},       {SB_ENDSCROLL, 0, 0, 23, 127},
    };
    for (const Step& s : steps) {
        g->SetOptions(DefaultGridOptionsGx | s.extra);
        g->HandleScrollBar(SB_VERT, s.code, s.pos);
        EXPECT_EQ(g->TopRow(), s.topRow) << "code " << s.code;
        EXPECT_EQ(Bar(g, SB_VERT).nPos, s.barPos) << "code " << s.code;
    }

    // Rows of height 0 are skipped by line steps.
    g->SetTopLeftCell(1, 1);
    for (int r = 2; r <= 4; ++r) g->SetRowHeights(r, 0);
    g->HandleScrollBar(SB_VERT, SB_LINEDOWN, 0);
    EXPECT_EQ(g->TopRow(), 5);
    g->HandleScrollBar(SB_VERT, SB_LINEUP, 0);
    EXPECT_EQ(g->TopRow(), 1);
}

TEST(GridScroll, AGridThatFitsHasNoRange)
{
    GridHost h(TScrollStyle::ssBoth);
    TProbeGrid* g = h.grid;
    g->SetColCount(3);
    g->SetRowCount(5);
    h.Pump();
    for (int bar : {SB_HORZ, SB_VERT}) {
        const TScrollInfo si = Bar(g, bar);
        EXPECT_EQ(si.nMax, 0) << bar;
        EXPECT_FALSE(g->ScrollBarVisible(bar)) << bar;
        for (int code : {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM}) {
            g->HandleScrollBar(bar, code, 0);
            EXPECT_TRUE(g->TopLeft() == TGridCoord({1, 1})) << bar << " " << code;
        }
    }
}

TEST(GridScroll, PixelModeInRowSelect)
{
    GridHost h(TScrollStyle::ssHorizontal);
    TProbeGrid* g = h.grid;
    g->SetColCount(10);
    g->SetRowCount(4);
    g->SetOptions(DefaultGridOptionsGx | goRowSelect);
    h.Pump();
    ASSERT_EQ(g->ClientWidth(), 300);
    TScrollInfo si = Bar(g, SB_HORZ);
    EXPECT_EQ(si.nMax, 584);
    EXPECT_EQ(int(si.nPage), 235);
    EXPECT_EQ(si.nPos, 0);
    struct Step {
        int code, pos;
        int left, offset, barPos;
    };
    const std::vector<Step> steps = {
        {SB_LINEDOWN, 0, 1, 11, 11},   {SB_PAGEDOWN, 0, 4, 51, 246}, {SB_BOTTOM, 0, 6, 25, 350},
        {SB_LINEDOWN, 0, 6, 25, 350},  {SB_TOP, 0, 1, 0, 0},         {SB_THUMBPOSITION, 100, 2, 35, 100},
        {SB_LINEUP, 0, 2, 24, 89},     {SB_PAGEUP, 0, 1, 0, 0},
    };
    for (const Step& s : steps) {
        g->HandleScrollBar(SB_HORZ, s.code, s.pos);
        EXPECT_EQ(g->LeftCol(), s.left) << "code " << s.code;
        EXPECT_EQ(g->DataOffset().cx, s.offset) << "code " << s.code;
        EXPECT_EQ(Bar(g, SB_HORZ).nPos, s.barPos) << "code " << s.code;
    }
    // The current column follows the top-left column; the anchor is the last column.
    g->SetCurrentCell(5, 2, true, true, true);
    EXPECT_EQ(g->Col(), g->LeftCol());
    EXPECT_EQ(g->Anchor().X, 9);
}

TEST(GridScroll, ScrollCellIntoView)
{
    // Whole lines: the cell ends up on the last whole line.
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(10);
    g->SetRowCount(30);
    g->ScrollCellIntoView({8, 20}, true, true);
    EXPECT_TRUE(g->TopLeft() == TGridCoord({6, 14})) << g->LeftCol() << "," << g->TopRow();
    g->ScrollCellIntoView({2, 3}, true, true);
    EXPECT_TRUE(g->TopLeft() == TGridCoord({2, 3}));
    g->ScrollCellIntoView({0, 0}, true, true);  // fixed cells never scroll
    EXPECT_TRUE(g->TopLeft() == TGridCoord({2, 3}));

    // Pixels: a partly shown last column comes in with its far edge at the data limit,
    // the first shown column partly under the fixed one.
    GridHost p;
    TProbeGrid* q = p.grid;
    q->SetColCount(10);
    q->SetOptions(DefaultGridOptionsGx | goRowSelect);
    q->ScrollCellIntoView({4, 1}, true, false);
    EXPECT_EQ(q->LeftCol(), 1);
    EXPECT_EQ(q->DataOffset().cx, 25);
    const TGridLayoutGx L = q->CalcGridLayout();
    EXPECT_EQ(L.Horz.LastWholeLine, 4);
    EXPECT_EQ(L.Horz.LastWholeEnd, 300);
    // The top-left column with an offset comes back whole.
    q->ScrollCellIntoView({1, 1}, true, false);
    EXPECT_EQ(q->DataOffset().cx, 0);
    // Pixel scrolling never passes the end.
    q->ScrollDataPixels(10000, 0);
    EXPECT_EQ(q->CalcGridLayout().Horz.DataEnd, 300);
    EXPECT_EQ(q->LeftCol(), 6);
}

TEST(GridScroll, MouseWheelMovesTheCurrentRow)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetRowCount(12);
    EXPECT_TRUE(g->DoMouseWheelDown({}, {}));
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(g->DoMouseWheelUp({}, {}));
    EXPECT_TRUE(g->DoMouseWheelUp({}, {}));
    EXPECT_EQ(g->Row(), 1);
}
