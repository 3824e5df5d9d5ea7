// Cell classification, 3D frames, columns by field name, option reconciliation
// and the layout computations.
#include "dbgrid_stubgrid.h"
#include "grid/control/DBGridGxCells.h"
#include "grid/control/DBGridGxMetrics.h"
#include "grid/support/dataset_fixture.h"
#include <gtest/gtest.h>

using namespace gxtest;

TEST(DBGridCells, GetCellTypeTable)
{
    struct Case {
        bool titles, filter;
        int col, row;
        TCellKindGx kind;
        int dataCol, dataRow;
    };
    // Data rows 2..6 with titles and a filter row; 0..4 without either.
    const std::vector<Case> cases = {
        {true, true, 0, 0, {cckIndicatorGx, crkTitleGx}, 0, 0},
        {true, true, 1, 1, {cckDataGx, crkFilterGx}, 0, 0},
        {true, true, 3, 2, {cckDataGx, crkDataGx}, 2, 0},
        {true, true, 2, 6, {cckDataGx, crkDataGx}, 1, 4},
        {true, true, 1, 7, {cckDataGx, crkFooterGx}, 0, 0},
        {true, true, 1, 8, {cckDataGx, crkFooterGx}, 0, 1},
        {false, false, 1, 0, {cckDataGx, crkDataGx}, 0, 0},
        {false, false, 0, 5, {cckIndicatorGx, crkFooterGx}, 0, 0},
    };
    for (const Case& k : cases) {
        TCellGeometryGx g;
        g.HasTitles = k.titles;
        g.FilterRowUnderTitle = k.filter;
        g.DataBoxTop = g.TopDataOffset();
        g.DataBoxBottom = g.DataBoxTop + 4;
        int dc = -9, dr = -9;
        const TCellKindGx kind = GetCellTypeGx(g, k.col, k.row, dc, dr);
        EXPECT_TRUE(kind == k.kind) << k.col << "," << k.row;
        EXPECT_EQ(dc, k.dataCol) << k.col << "," << k.row;
        EXPECT_EQ(dr, k.dataRow) << k.col << "," << k.row;
    }
    TCellGeometryGx g;
    g.DataBoxTop = 3;   // a row between the titles and the data: never laid out so
    g.DataBoxBottom = 6;
    int dc = 0, dr = 0;
    try {
        GetCellTypeGx(g, 1, 2, dc, dr);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Algorithm error in TCustomDBGridGx.GetCellType"));
    }
}

TEST(DBGridCells, IsCell3DTable)
{
    TCellGeometryGx g;          // titles, data rows 1..5, two footer rows 6..7 below the row count
    g.DataBoxTop = 1;
    g.DataBoxBottom = 5;
    g.RowCount = 6;
    g.FooterRowCount = 2;
    g.FrozenCols = 1;
    struct Case { const char* name; TDBGridGxOptions opts; int col, row; bool fixed; bool expected; };
    const std::vector<Case> cases = {
        {"title, fixed 3D", {dghFixed3D}, 1, 0, true, true},
        {"indicator, fixed 3D", {dghFixed3D}, 0, 3, true, true},
        {"data, fixed 3D only", {dghFixed3D}, 1, 3, false, false},
        {"data, data 3D", {dghData3D}, 2, 3, false, true},
        {"footer, data 3D", {dghData3D}, 2, 6, false, false},
        {"footer, footer 3D", {dghFooter3D}, 2, 7, false, true},
        {"frozen column", {dghFrozen3D}, 1, 2, false, true},
        {"beyond the frozen columns", {dghFrozen3D}, 2, 2, false, false},
    };
    for (const Case& k : cases)
        EXPECT_EQ(IsCell3DGx(g, k.opts, k.col, k.row, k.fixed, false), k.expected) << k.name;
    // A filter cell under the titles is never 3D.
    g.FilterRowUnderTitle = true;
    g.DataBoxTop = 2;
    EXPECT_FALSE(IsCell3DGx(g, {dghFixed3D, dghData3D}, 1, 1, true, true));
    EXPECT_TRUE(IsCell3DGx(g, {dghFixed3D, dghData3D}, 1, 1, true, false));
}

TEST(DBGridCells, ColumnsByFieldName)
{
    auto ds = NumberedDataSet(1);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    EXPECT_EQ(FindFieldColumn(grid.Columns(), QStringLiteral("QTY")), grid.Columns()->GetColumn(2));
    EXPECT_EQ(FindFieldColumn(grid.Columns(), QStringLiteral("price")), nullptr);
    EXPECT_EQ(ColumnByFieldName(&grid, QStringLiteral("Name")), grid.Columns()->GetColumn(1));
    try {
        ColumnByFieldName(&grid, QStringLiteral("price"));
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("字段名 'price' 没有找到"));
    }
}

TEST(DBGridCells, OptionReconciliation)
{
    TGridOptionsStateGx s;
    s.Options = {dgEditing, dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs};
    s.OptionsGx = {dghFixed3D};
    auto setOptions = [&](TDBGridOptions v) {
        TranslateOptionsGx(s, v);
        ReconcileColumnOptionsGx(s, v, s.OptionsGx, false);
        s.Options = StoredOptionsGx(v);
    };
    auto setOptionsGx = [&](TDBGridGxOptions v) {
        ReconcileColumnOptionsGx(s, s.Options, v, true);
        s.OptionsGx = v;
    };

    // Row selection drops editing and the always-shown editor.
    setOptions(s.Options + TDBGridOptions{dgRowSelect, dgAlwaysShowEditor});
    EXPECT_FALSE(s.Options.Contains(dgEditing));
    EXPECT_FALSE(s.Options.Contains(dgAlwaysShowEditor));
    EXPECT_TRUE(s.Base.RowSelect);
    EXPECT_FALSE(s.Base.Editing);
    setOptions(s.Options - TDBGridOptions{dgRowSelect} + TDBGridOptions{dgEditing});

    // Column resize switches both column options on.
    setOptions(s.Options + TDBGridOptions{dgColumnResize});
    EXPECT_TRUE(s.OptionsGx.Contains(dghColumnResize));
    EXPECT_TRUE(s.OptionsGx.Contains(dghColumnMove));
    EXPECT_TRUE(s.Base.ColSizing);
    EXPECT_TRUE(s.Base.ColMoving);
    // Dropping column moving drops column resize, sizing keeps working.
    setOptionsGx(s.OptionsGx - TDBGridGxOptions{dghColumnMove});
    EXPECT_FALSE(s.Options.Contains(dgColumnResize));
    EXPECT_TRUE(s.Base.ColSizing);
    EXPECT_FALSE(s.Base.ColMoving);
    // Both back on: column resize comes back.
    setOptionsGx(s.OptionsGx + TDBGridGxOptions{dghColumnMove});
    EXPECT_TRUE(s.Options.Contains(dgColumnResize));
    // Removing column resize removes both.
    setOptions(s.Options - TDBGridOptions{dgColumnResize});
    EXPECT_FALSE(s.OptionsGx.Contains(dghColumnResize));
    EXPECT_FALSE(s.Base.ColSizing);

    // Which changes need a layout pass.
    const TDBGridOptions o{dgTitles};
    EXPECT_FALSE(OptionsChangeNeedsLayoutGx(o, o + TDBGridOptions{dgConfirmDelete, dgCancelOnExit}));
    EXPECT_TRUE(OptionsChangeNeedsLayoutGx(o, o + TDBGridOptions{dgIndicator}));
}

TEST(DBGridMetrics, IndicatorRowAndTitleHeights)
{
    EXPECT_EQ(RecNoMeasureTextGx(12345), QStringLiteral("00000"));
    EXPECT_EQ(RecNoMeasureTextGx(0), QStringLiteral("0"));
    EXPECT_EQ(RecNoMeasureTextGx(9), QStringLiteral("0"));
    TCanvas canvas;
    TFont font;
    EXPECT_EQ(CalcIndicatorColWidthGx(&canvas, font, true, false, true, 12345), 11);
    EXPECT_EQ(CalcIndicatorColWidthGx(&canvas, font, false, false, true, 12345), 0);
    TFont smaller;
    smaller.SetSize(font.Size() - 1);
    canvas.SetFont(smaller);
    const int zeros = canvas.TextWidth(QStringLiteral("00000"));
    EXPECT_EQ(CalcIndicatorColWidthGx(&canvas, font, true, true, true, 12345), std::max(11, zeros + 13));
    EXPECT_EQ(CalcIndicatorColWidthGx(&canvas, font, false, true, true, 12345), std::max(11, zeros + 4));

    // Row heights snap to whole text lines: margin 3, text 10.
    int lines = 0, extra = 0;
    EXPECT_EQ(FitRowHeightToTextGx(3 + 24, 3, 10, lines, extra), 23);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(extra, 3);
    EXPECT_EQ(FitRowHeightToTextGx(3 + 26, 3, 10, lines, extra), 33);
    EXPECT_EQ(FitRowHeightToTextGx(3 + 4, 3, 10, lines, extra), 13);
    EXPECT_EQ(lines, 1);

    // Two title lines of a 16-pixel font with 2 pixels external leading.
    EXPECT_EQ(TitleHeightFullGx(2, 16, 2, 0, true), 2 * 16 + 2 + 0 + 2 + 1);
}

TEST(DBGridMetrics, FrozenColumnsAndAutoFit)
{
    // Frozen columns beyond the visible count freeze all but the last visible column.
    TFixedColsGx f = CalcFixedColsGx(10, 1, 4, 4, 0, true, 0);
    EXPECT_EQ(f.FixedCols, 4);
    EXPECT_EQ(f.FrozenCount, 3);
    f = CalcFixedColsGx(1, 1, 4, 4, 2, true, 0);
    EXPECT_EQ(f.FixedCols, 2);
    EXPECT_EQ(f.ContraCols, 2);
    EXPECT_EQ(f.ColCount, 3);
    f = CalcFixedColsGx(0, 1, 0, 0, 0, false, 0);
    EXPECT_EQ(f.FixedCols, 0);

    // Three columns of initial width 100 in 300 pixels, no lines, no indicator.
    std::vector<TAutoFitColumnGx> cols(3);
    for (auto& c : cols) c.InitWidth = 100;
    EXPECT_EQ(AutoFitColumnWidthsGx(cols, 300, 0, 0, false, false, 0), 300);
    EXPECT_EQ(cols[0].Width + cols[1].Width + cols[2].Width, 300);
    // The first column held at 50: the others share the rest.
    cols.assign(3, TAutoFitColumnGx());
    for (auto& c : cols) c.InitWidth = 100;
    cols[0].MaxWidth = 50;
    AutoFitColumnWidthsGx(cols, 300, 0, 0, false, false, 0);
    EXPECT_TRUE(cols[0].NotInWidthRange);
    EXPECT_EQ(cols[0].Width, 50);
    EXPECT_EQ(cols[1].Width, 125);
    EXPECT_EQ(cols[2].Width, 125);
    // The last column absorbs rounding and never goes negative.
    cols.assign(3, TAutoFitColumnGx());
    for (auto& c : cols) c.InitWidth = 100;
    cols[0].MinWidth = 400;
    const int avail = AutoFitColumnWidthsGx(cols, 300, 0, 11, true, true, 0);
    EXPECT_EQ(avail, 0 - 11 - 3 - 1);   // nothing left beside the held column
    EXPECT_EQ(cols[0].Width, 400);
    EXPECT_EQ(cols[2].Width, 0);
    // Indicator and column lines come off the available width.
    cols.assign(2, TAutoFitColumnGx());
    EXPECT_EQ(AutoFitColumnWidthsGx(cols, 200, 0, 11, true, true, 0), 200 - 11 - 2 - 1);
    EXPECT_EQ(cols[0].Width + cols[1].Width, 186);
}
