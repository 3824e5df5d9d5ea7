// Row-panel mode: the places of the columns inside a record's panel, the scaled
// widths, the column order, the hit tests, the mode switched on in a shown grid
// and the editor over a panel column.
#include "dbgrid_panels_fixture.h"
#include "testmain/testsupport.h"

using namespace gxpanels;

using RowPanel = PanelGridTest;

namespace {

struct Place {
    int left, top, width;
};

} // namespace

TEST_F(RowPanel, PlacementTable)
{
    TDBGridColumnsGx* cols = grid->Columns();
    ASSERT_EQ(cols->Count(), 3);
    const int h = grid->InRowPanelLineHeight();
    const int g = grid->GridLineWidth();
    ASSERT_EQ(g, 1);
    struct Col {
        int pos, lines, width;
        bool visible;
    };
    struct Case {
        const char* name;
        std::vector<Col> cols;
        std::vector<Place> want;
        int masterWidth, masterLines;
    };
    const std::vector<Case> cases = {
        {"two on line 0, the third starts line 1",
         {{0, 1, 50, true}, {0, 1, 70, true}, {1, 1, 60, true}},
         {{0, 0, 50}, {51, 0, 70}, {0, 1, 60}},
         121, 2},
        {"a column over lines 0 and 1 pushes line 1 to its right",
         {{0, 2, 50, true}, {0, 1, 70, true}, {1, 1, 60, true}},
         {{0, 0, 50}, {51, 0, 70}, {51, 1, 60}},
         121, 2},
        {"an invisible column keeps its line's edge",
         {{0, 1, 50, true}, {0, 1, 70, false}, {0, 1, 60, true}},
         {{0, 0, 50}, {51, 0, 0}, {51, 0, 60}},
         111, 1},
        {"line height 0 reads 1, position -3 reads 0",
         {{-3, 0, 50, true}, {0, 1, 70, true}, {2, 1, 40, true}},
         {{0, 0, 50}, {51, 0, 70}, {0, 2, 40}},
         121, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 3; ++i) {
            TColumnGx* col = cols->GetColumn(i);
            col->SetInRowLinePos(c.cols[size_t(i)].pos);
            col->SetInRowLineHeight(c.cols[size_t(i)].lines);
            col->SetWidth(c.cols[size_t(i)].width);
            col->SetVisible(c.cols[size_t(i)].visible);
        }
        cols->RelayoutCellsInRowPanel();
        for (int i = 0; i < 3; ++i) {
            const auto& p = cols->GetColumn(i)->RowPlacement();
            const Col& in = c.cols[size_t(i)];
            EXPECT_EQ(p.Left, c.want[size_t(i)].left) << i;
            EXPECT_EQ(p.Top, c.want[size_t(i)].top * (g + h)) << i;
            EXPECT_EQ(p.Width, c.want[size_t(i)].width) << i;
            EXPECT_EQ(p.Height, std::max(1, in.lines) * (g + h) - 1) << i;
            EXPECT_EQ(p.DataCellLeft, p.Left) << i;
            EXPECT_EQ(p.DataCellWidth, p.Width) << i;
        }
        EXPECT_EQ(grid->GridMasterCellWidth(), c.masterWidth);
        EXPECT_EQ(grid->GridMasterCellHeight(), c.masterLines * (g + h) - 1);
    }
    EXPECT_EQ(cols->GetColumn(0)->InRowLinePos(), 0);
    EXPECT_EQ(cols->GetColumn(0)->InRowLineHeight(), 1);
}

TEST_F(RowPanel, ScaledWidthsKeepNeighboursAdjacent)
{
    TDBGridColumnsGx* cols = grid->Columns();
    const int widths[] = {50, 70, 60};
    for (int i = 0; i < 3; ++i) {
        cols->GetColumn(i)->SetInRowLinePos(i < 2 ? 0 : 1);
        cols->GetColumn(i)->SetWidth(widths[i]);
    }
    cols->RelayoutCellsInRowPanel();
    // The panel (121 + line) doubles: every right edge doubles with it.
    cols->ScaleWidths(122, 244);
    EXPECT_EQ(cols->GetColumn(0)->Width(), 101);   // round(51 * 2) - 0 - 1
    EXPECT_EQ(cols->GetColumn(1)->Width(), 141);   // round(122 * 2) - round(51 * 2) - 1
    EXPECT_EQ(cols->GetColumn(2)->Width(), 121);
    EXPECT_EQ(cols->GetColumn(1)->RowPlacement().Left, 102);
    EXPECT_EQ(grid->GridMasterCellWidth(), 243);
}

TEST_F(RowPanel, ActiveModeOrderHitTestsAndEditor)
{
    TDBGridColumnsGx* cols = grid->Columns();
    // "munit" first on line 1, "code" and "mname" side by side on line 0.
    cols->GetColumn(2)->SetIndex(0);
    cols->GetColumn(0)->SetInRowLinePos(1);
    for (int i = 0; i < 3; ++i)
        cols->GetColumn(i)->SetWidth(80);
    grid->SetSelectedIndex(2);
    grid->RowPanel()->SetActive(true);
    QApplication::processEvents();
    // Sorted by place: left, then top.
    QStringList order;
    for (int i = 0; i < cols->Count(); ++i)
        order << cols->GetColumn(i)->FieldName();
    EXPECT_EQ(order.join(QLatin1Char(' ')), QStringLiteral("code munit mname"));
    EXPECT_EQ(grid->Col(), grid->IndicatorOffset());
    EXPECT_EQ(grid->ColWidths(grid->IndicatorOffset()), grid->GridMasterCellWidth());
    EXPECT_EQ(grid->DefaultRowHeight(), grid->GridMasterCellHeight());
    const int h = grid->InRowPanelLineHeight() + 1;

    struct Hit {
        int x, y;
        const char* field;   // nullptr: none
    };
    for (const Hit& hit : std::vector<Hit>{{5, 2, "code"}, {85, 2, "mname"}, {5, h + 2, "munit"},
                                           {85, h + 2, nullptr}, {80, 2, "code"}}) {
        SCOPED_TRACE(hit.x * 1000 + hit.y);
        TColumnGx* c = grid->GetColumnInRowPanelAtPos(TPoint(hit.x, hit.y), false);
        EXPECT_EQ(c ? c->FieldName() : QString(), hit.field ? QString::fromLatin1(hit.field) : QString());
        TRect r;
        TColumnGx* t = grid->GetCellRectInRowPanelAtPos(TPoint(hit.x, hit.y), r, true);
        EXPECT_EQ(t, c);
        if (t)
            EXPECT_EQ(r.Width(), 81);
    }

    // The editor opens over the current panel column.
    grid->SetInRowPanelCol(2);
    grid->ShowEditor();
    QApplication::processEvents();
    ASSERT_TRUE(grid->InplaceEditorVisible());
    const TRect cell = grid->CellRect(grid->Col(), grid->Row());
    const QRect e = grid->InplaceEditor()->geometry();
    EXPECT_EQ(e.left(), cell.Left + 81);
    EXPECT_EQ(e.top(), cell.Top);
    EXPECT_EQ(grid->InplaceEditorText(), QString::fromUtf8(PanelRows()[0][1]));
    grid->SetInRowPanelCol(1);
    EXPECT_EQ(grid->InplaceEditorText(), QString::fromUtf8(PanelRows()[0][2]));
    EXPECT_EQ(grid->InplaceEditor()->geometry().top(), cell.Top + h);
    grid->HideEditor();

    // The panel paints whole: write it out to look at.
    EXPECT_TRUE(grid->grab().save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_rowpanel.png")));
}
