// Geometry of the base grid: cells, hit tests, line starts and the last
// top-left cell over configurations of fixed, frozen and contra lines,
// indents and line options; the extents operations and their errors.
#include "gridsgx_probe.h"

#include <gtest/gtest.h>

using namespace gxgrid;

namespace {

struct Config {
    const char* name;
    std::function<void(TProbeGrid*)> setup;
};

struct CellCase {
    int config;
    int col, row;
    TRect rect;
};

struct PointCase {
    int config;
    int x, y;
    TGridCoord cellAt;   // CellAtPoint
    TGridCoord mouse;    // MouseCoord
};

const std::vector<Config>& Configs()
{
    static const std::vector<Config> configs = {
        // 0: ten by ten, one fixed line each way, lines on.
        {"plain", [](TProbeGrid* g) {
             g->SetColCount(10);
             g->SetRowCount(10);
         }},
        // 1: fixed 3 with 2 frozen, contra lines on both axes, indents.
        {"frozen-contra-indents", [](TProbeGrid* g) {
             g->SetColCount(12);
             g->SetRowCount(10);
             g->SetFixedCols(3);
             g->SetFrozenColCount(2);
             g->SetContraColCount(1);
             g->SetContraRowCount(1);
             g->OutBoundaryData()->SetLeftIndent(5);
             g->OutBoundaryData()->SetTopIndent(4);
             g->OutBoundaryData()->SetRightIndent(6);
             g->OutBoundaryData()->SetBottomIndent(3);
         }},
        // 2: no line options: cells touch.
        {"no-lines", [](TProbeGrid* g) {
             g->SetColCount(10);
             g->SetRowCount(10);
             g->SetOptions(goRangeSelect);
         }},
        // 3: plain, scrolled to (3, 2).
        {"scrolled", [](TProbeGrid* g) {
             g->SetColCount(10);
             g->SetRowCount(10);
             g->SetTopLeftCell(3, 2);
         }},
    };
    return configs;
}

} // namespace

TEST(GridGeometry, LayoutOfTheAxes)
{
    GridHost h;
    Configs()[1].setup(h.grid);
    const TGridLayoutGx L = h.grid->CalcGridLayout();
    EXPECT_EQ(L.Horz.LineWidth, 1);
    EXPECT_EQ(L.Horz.FixedEnd, 200);
    EXPECT_EQ(L.Horz.FrozenStart, 70);
    EXPECT_EQ(L.Horz.ContraStart, 234);
    EXPECT_EQ(L.Horz.DataLimit, 234);
    EXPECT_EQ(L.Horz.DataEnd, 234);
    EXPECT_EQ(L.Horz.LastWholeLine, 3);
    EXPECT_EQ(L.Horz.LastWholeEnd, 200);
    EXPECT_EQ(L.Horz.FarLimit, 294);
    EXPECT_EQ(L.Horz.AreaEnd, 294);
    EXPECT_EQ(L.Vert.FixedEnd, 29);
    EXPECT_EQ(L.Vert.ContraStart, 174);
    EXPECT_EQ(L.Vert.LastWholeLine, 5);
    EXPECT_EQ(L.Vert.LastWholeEnd, 154);
    EXPECT_EQ(L.Vert.DataEnd, 174);
}

TEST(GridGeometry, CellRects)
{
    const std::vector<CellCase> cases = {
        {0, 0, 0, {0, 0, 64, 24}},
        {0, 1, 1, {65, 25, 129, 49}},
        {0, 4, 1, {260, 25, 300, 49}},   // partly shown, cut at the data limit
        {0, 5, 1, {}},                   // beyond the first partly shown column
        {1, 0, 0, {5, 4, 69, 28}},       // true fixed, after the indents
        {1, 1, 1, {70, 29, 134, 53}},    // frozen
        {1, 3, 1, {200, 29, 234, 53}},   // first scrolling column, cut at the contra start
        {1, 12, 1, {235, 29, 294, 53}},  // contra column, cut at the right indent
        {1, 12, 10, {235, 175, 294, 197}},
        {1, 2, 10, {135, 175, 199, 197}},  // contra row under a frozen column
        {2, 1, 1, {64, 24, 128, 48}},
        {3, 1, 1, {}},                   // scrolled out to the left
        {3, 0, 2, {0, 25, 64, 49}},
        {3, 3, 2, {65, 25, 129, 49}},
        {3, 3, 1, {}},                   // row scrolled out upwards
    };
    for (const CellCase& c : cases) {
        GridHost h;
        Configs()[size_t(c.config)].setup(h.grid);
        const TRect r = h.grid->CellRect(c.col, c.row);
        EXPECT_EQ(r, c.rect) << Configs()[size_t(c.config)].name << " cell " << c.col << "," << c.row << " got " << r.Left
                             << "," << r.Top << "," << r.Right << "," << r.Bottom;
    }
}

TEST(GridGeometry, HitTests)
{
    const std::vector<PointCase> cases = {
        {0, 70, 30, {1, 1}, {1, 1}},
        {0, 64, 10, {0, 0}, {0, 0}},
        {0, 299, 199, {4, 7}, {4, 7}},
        {1, 2, 100, {-1, 3}, {-1, -1}},   // left indent
        {1, 100, 2, {1, -1}, {-1, -1}},   // top indent
        {1, 5, 5, {0, 0}, {0, 0}},
        {1, 70, 30, {1, 1}, {1, 1}},
        {1, 199, 30, {2, 1}, {2, 1}},
        {1, 210, 30, {3, 1}, {3, 1}},
        {1, 234, 30, {-1, 1}, {-1, -1}},  // the line before the contra column
        {1, 240, 180, {12, 10}, {12, 10}},
        {1, 296, 30, {12, 1}, {12, 1}},  // a contra line reaches into the right indent
        {2, 128, 48, {2, 2}, {2, 2}},
        {3, 70, 30, {3, 2}, {3, 2}},
    };
    for (const PointCase& c : cases) {
        GridHost h;
        Configs()[size_t(c.config)].setup(h.grid);
        const TGridCoord at = h.grid->CellAtPoint(c.x, c.y, h.grid->CalcGridLayout());
        const TGridCoord mc = h.grid->MouseCoord(c.x, c.y);
        EXPECT_TRUE(at == c.cellAt) << Configs()[size_t(c.config)].name << " " << c.x << "," << c.y << " cell " << at.X << ","
                                    << at.Y;
        EXPECT_TRUE(mc == c.mouse) << Configs()[size_t(c.config)].name << " " << c.x << "," << c.y << " mouse " << mc.X
                                   << "," << mc.Y;
    }
}

TEST(GridGeometry, LineStartsAndLastTopLeft)
{
    struct Case {
        int config;
        bool rows;
        int line;
        int start;
    };
    const std::vector<Case> starts = {
        {0, false, 3, 195}, {0, true, 2, 50}, {1, false, 1, 70}, {1, false, 12, 235},
        {1, true, 10, 175}, {3, false, 1, 0},  {3, false, 4, 130}, {2, false, 3, 192},
        {0, false, 9, 0},   // starts beyond the far limit
    };
    for (const Case& c : starts) {
        GridHost h;
        Configs()[size_t(c.config)].setup(h.grid);
        const TGridLayoutGx L = h.grid->CalcGridLayout();
        EXPECT_EQ(h.grid->LineStart(c.rows ? L.Vert : L.Horz, c.line), c.start)
            << Configs()[size_t(c.config)].name << (c.rows ? " row " : " col ") << c.line;
    }
    struct LtlCase {
        int config;
        TGridCoord coord, result;
    };
    const std::vector<LtlCase> ltl = {
        {0, {9, 9}, {7, 3}}, {0, {1, 1}, {1, 1}}, {1, {11, 9}, {11, 5}}, {2, {9, 9}, {7, 3}},
    };
    for (const LtlCase& c : ltl) {
        GridHost h;
        Configs()[size_t(c.config)].setup(h.grid);
        const TGridCoord r = h.grid->LastTopLeft(c.coord);
        EXPECT_TRUE(r == c.result) << Configs()[size_t(c.config)].name << " got " << r.X << "," << r.Y;
    }
    // Hidden lines are passed over when walking back.
    GridHost h;
    Configs()[0].setup(h.grid);
    for (int r = 5; r <= 8; ++r) h.grid->SetRowHeights(r, 0);
    EXPECT_EQ(h.grid->LastTopLeft({9, 9}).Y, 1);
    EXPECT_EQ(h.grid->VisibleColCount(), 3);
}

TEST(GridGeometry, OutBoundaryRects)
{
    GridHost h;
    Configs()[1].setup(h.grid);
    TGridOutBoundaryDataGx* ob = h.grid->OutBoundaryData();
    TRect r;
    ASSERT_TRUE(ob->GetOutBoundaryRect(r, cbtTopGx));
    EXPECT_EQ(r, TRect(0, 0, 300, 4));
    ASSERT_TRUE(ob->GetOutBoundaryRect(r, cbtLeftGx));
    EXPECT_EQ(r, TRect(0, 4, 5, 197));
    ob->SetLeftTopDrawPriority(crpVerticalDataPriorityGx);
    ASSERT_TRUE(ob->GetOutBoundaryRect(r, cbtTopGx));
    EXPECT_EQ(r, TRect(5, 0, 300, 4));
    ASSERT_TRUE(ob->GetOutBoundaryRect(r, cbtLeftGx));
    EXPECT_EQ(r, TRect(0, 0, 5, 197));
    ob->SetBottomIndent(0);
    EXPECT_FALSE(ob->GetOutBoundaryRect(r, cbtBottomGx));
}

TEST(GridExtents, OperationsAndErrors)
{
    TIntegerArray e;
    EXPECT_EQ(ErrorText([&] { ResizeExtents(e, 1, 1, 64); }), "Grid index out of range");
    ResizeExtents(e, 0, 3, 64);
    EXPECT_EQ(e, (TIntegerArray{3, 64, 64, 64}));
    e[2] = 10;
    ResizeExtents(e, 3, 2, 7);  // an append keeps every old value
    EXPECT_EQ(e, (TIntegerArray{5, 64, 10, 64, 7, 7}));
    ResizeExtents(e, 1, -1, 5);  // values are not shifted: index 1 on gets the default
    EXPECT_EQ(e, (TIntegerArray{4, 64, 5, 5, 5}));
    EXPECT_EQ(ErrorText([&] { ResizeExtents(e, 0, -5, 1); }), "Too many rows or columns deleted");
    EXPECT_EQ(ErrorText([&] { ResizeExtents(e, 0, MaxExtentsCountGx - 4, 1); }), "Grid too large for operation");
    EXPECT_EQ(e.size(), 5u);
    MoveExtentItem(e, 1, 4);
    EXPECT_EQ(e, (TIntegerArray{4, 5, 5, 5, 64}));
    EXPECT_TRUE(SameExtents({}, {}));
    EXPECT_FALSE(SameExtents({}, e));
    EXPECT_TRUE(SameExtents(e, TIntegerArray{4, 5, 5, 5, 64}));
    SetExtentsCount(e, 0, 1);
    EXPECT_TRUE(e.empty());
    EXPECT_EQ(ShiftIndexOnMove(2, 2, 5), 5);
    EXPECT_EQ(ShiftIndexOnMove(4, 2, 5), 3);
    EXPECT_EQ(ShiftIndexOnMove(3, 5, 2), 4);
    EXPECT_EQ(ShiftIndexOnMove(7, 5, 2), 7);
}

TEST(GridExtents, GridErrorsKeepTheGrid)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(10);
    EXPECT_EQ(ErrorText([&] { g->SetFixedCols(10); }), "Fixed column count must be less than column count");
    EXPECT_EQ(ErrorText([&] { g->SetFixedRows(5); }), "Fixed row count must be less than row count");
    EXPECT_EQ(ErrorText([&] { g->SetFixedCols(-1); }), "Grid index out of range");
    EXPECT_EQ(ErrorText([&] { g->SetContraColCount(-1); }), "FContraColCount can not be negative.");
    EXPECT_EQ(ErrorText([&] { g->SetContraRowCount(-2); }), "FContraRowCount can not be negative.");
    EXPECT_EQ(g->ContraColCount(), 0);
    EXPECT_EQ(ErrorText([&] { g->SetColWidths(10, 5); }), "Grid index out of range");
    EXPECT_EQ(g->ColWidthsArray().size(), 11u);  // the first width made the array for all lines
    EXPECT_EQ(ErrorText([&] { g->SetCurrentCell(10, 1, true, true, true); }), "Grid index out of range");
    g->SetRowHeights(0, 30);
    EXPECT_EQ(ErrorText([&] { g->SetRowCount(MaxExtentsCountGx); }), "Grid too large for operation");
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->RowHeights(0), 30);
    EXPECT_EQ(ErrorText([&] { g->InsertOrDeleteLines(3, -9, false); }), "Too many rows or columns deleted");
    g->SetColCount(0);
    EXPECT_EQ(g->ColCount(), 1);
    EXPECT_EQ(g->FixedCols(), 0);
}

TEST(GridExtents, StructureChanges)
{
    GridHost h;
    TProbeGrid* g = h.grid;
    g->SetColCount(8);
    for (int i = 0; i < 8; ++i) g->SetColWidths(i, 30 + i);
    g->InsertOrDeleteLines(3, 2, false);
    EXPECT_EQ(g->ColCount(), 10);
    EXPECT_EQ(g->ColWidths(2), 32);
    for (int i = 3; i < 10; ++i) EXPECT_EQ(g->ColWidths(i), 64) << i;
    g->SetColWidths(9, 20);
    g->SetContraColCount(2);
    EXPECT_EQ(g->ColWidths(9), 20);
    EXPECT_EQ(g->ColWidths(10), 64);
    EXPECT_EQ(g->ColWidths(11), 64);
    EXPECT_EQ(g->ColWidthsArray()[0], 12);

    // Deleting the current row moves the current row up first.
    g->SetRowCount(6);
    g->SetCurrentCell(1, 3, false, false, true);
    g->DeleteRow(3);
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->Row(), 2);
    g->SetCurrentCell(1, 0 + 1, false, false, true);
    g->DeleteRow(0);
    EXPECT_EQ(g->RowCount(), 4);

    // Moving a column moves its width and the current column with it.
    GridHost h2;
    TProbeGrid* m = h2.grid;
    m->SetColCount(6);
    m->SetColWidths(2, 40);
    m->SetCurrentCell(2, 1, false, false, true);
    m->MoveColumnLine(2, 4);
    EXPECT_EQ(m->ColWidths(4), 40);
    EXPECT_EQ(m->Col(), 4);
    ASSERT_EQ(m->Moved.size(), 1u);
    EXPECT_EQ(m->Moved[0], std::make_pair(2, 4));

    // Stored sizes: only the non-contra lines, only when changed.
    EXPECT_TRUE(g->StoredRowHeights().isEmpty());
    EXPECT_EQ(g->StoredColWidths().size(), 10);
    g->SetSaveCellExtents(false);
    EXPECT_TRUE(g->StoredColWidths().isEmpty());
}
