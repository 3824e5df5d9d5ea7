// The data grid object itself: its published defaults, its option sets, the
// layout pass as tables, cell classification and columns by field name.
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxInputSelection.h"
#include "grid/control/DBGridGxMetrics.h"
#include "grid/control/DBGridGxPaintIndicatorTitle.h"
#include "grid/control/DBGridGxPaintScrollBar.h"
#include "grid/control/DBGridGxParts.h"
#include "grid/control/DBGridGxStyle.h"
#include "grid/control/DBGridGxUnit.h"
#include "grid/support/EditButtonPaintGx.h"
#include "grid/support/dataset_fixture.h"
#include "platform/db/Field.h"
#include <QApplication>
#include <gtest/gtest.h>

using namespace gxtest;

namespace {

struct GridOn {
    std::unique_ptr<TClientDataSet> ds;
    TDataSource source;
    std::unique_ptr<TDBGridGx> grid;
    explicit GridOn(std::unique_ptr<TClientDataSet> data, int width = 400, int height = 200) : ds(std::move(data))
    {
        InitDBGridGxUnits();
        grid = std::make_unique<TDBGridGx>();
        grid->resize(width, height);
        if (ds) {
            source.SetDataSet(ds.get());
            grid->SetDataSource(&source);
        }
    }
    ~GridOn() { grid.reset(); }
    QStringList FieldNames() const
    {
        QStringList names;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            names << grid->Columns()->GetColumn(i)->FieldName();
        return names;
    }
};

int TextHeightIn(const TFont& font)
{
    TCanvas canvas;
    canvas.SetFont(font);
    return canvas.TextHeight(QStringLiteral("Wg"));
}

} // namespace

TEST(DBGridObject, PublishedDefaults)
{
    InitDBGridGxUnits();
    TDBGridGx g;
    EXPECT_EQ(g.AllowedOperations(), (TDBGridGxAllowedOperations{alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx}));
    EXPECT_EQ(g.AllowedSelections(), (TDBGridGxAllowedSelections{gstRecordBookmarks, gstRectangle, gstColumns, gstAll}));
    EXPECT_FALSE(g.AutoFitColWidths());
    EXPECT_EQ(g.Color(), clWindow);
    EXPECT_FALSE(g.ParentColor());
    EXPECT_EQ(g.ContraColCount(), 0);
    EXPECT_EQ(g.DataSource(), nullptr);
    EXPECT_TRUE(g.DefaultDrawing());
    EXPECT_FALSE(g.TCustomGridGx::DefaultDrawing());   // the base grid draws nothing itself
    EXPECT_FALSE(g.DrawGraphicData());
    EXPECT_FALSE(g.DrawMemoText());
    EXPECT_TRUE(g.EditActions().IsEmpty());
    EXPECT_TRUE(g.EditButtonsShowOptions().IsEmpty());
    EXPECT_EQ(g.FixedColor(), clBtnFace);
    EXPECT_EQ(g.FooterColor(), clWindow);
    EXPECT_EQ(g.FooterRowCount(), 0);
    EXPECT_EQ(g.FrozenCols(), 0);
    EXPECT_EQ(g.ImeMode(), imDontCare);
    EXPECT_EQ(g.ImeName(), QString());
    EXPECT_EQ(g.MinAutoFitWidth(), 0);
    EXPECT_EQ(g.Options(), (TDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
                                           dgTabs, dgConfirmDelete, dgCancelOnExit}));
    EXPECT_EQ(g.OptionsGx(), (TDBGridGxOptions{dghFixed3D, dghHighlightFocus, dghClearSelection, dghDialogFind,
                                               dghColumnResize, dghColumnMove, dghExtendVertLines}));
    EXPECT_FALSE(g.ReadOnly());
    EXPECT_EQ(g.RowHeight(), 0);
    EXPECT_EQ(g.RowLines(), 0);
    EXPECT_FALSE(g.RowSizingAllowed());
    EXPECT_FALSE(g.SortLocal());
    EXPECT_EQ(g.TitleHeight(), 0);
    EXPECT_EQ(g.TitleImages(), nullptr);
    EXPECT_EQ(g.TitleLines(), 0);
    EXPECT_FALSE(g.UseMultiTitle());
    EXPECT_EQ(g.VTitleMargin(), 10);
    EXPECT_EQ(g.Interlinear(), 4);
    // the owned settings objects exist with their defaults
    EXPECT_TRUE(g.HorzScrollBar()->SmoothStep());
    EXPECT_FALSE(g.VertScrollBar()->SmoothStep());
    EXPECT_EQ(g.VertScrollBar()->VisibleMode(), sbAutoShowGx);
    EXPECT_TRUE(g.IndicatorTitle()->UseGlobalMenu());
    EXPECT_FALSE(g.STFilter()->Visible());
    EXPECT_FALSE(g.RowPanel()->Active());
    EXPECT_FALSE(g.RowDetailPanel()->Active());
    EXPECT_FALSE(g.DataGrouping()->Active());
    EXPECT_FALSE(g.SumList()->Active());
    EXPECT_EQ(g.HeadTree()->Text, QStringLiteral("Root"));
    EXPECT_TRUE(g.LeafFieldArr().empty());
    ASSERT_NE(g.RowDetailPanelControl(), nullptr);
    EXPECT_EQ(g.RowDetailPanelControl()->objectName(), QStringLiteral("RowDetailData"));
    EXPECT_FALSE(g.RowDetailPanelControl()->isVisible());
    EXPECT_EQ(g.Style(), DBGridGxGlobalStyle());
    EXPECT_TRUE(DBGridGxGlobalStyle()->GridInChangeNotification(&g));
    EXPECT_EQ(g.Center(), DBGridGxGlobalCenter());
    EXPECT_FALSE(DBGridGxGlobalCenter()->GridInChangeNotification(&g));   // taken, not registered
    // the settings the constructor gives the base grid
    const TGridOptions base = g.TCustomGridGx::Options();
    for (TGridOption o : {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goColMoving,
                          goEditing, goTabs, goExtendVertLines})
        EXPECT_TRUE(base & o) << o;
    EXPECT_FALSE(base & goRangeSelect);
    EXPECT_EQ(g.DesignOptionsBoost, TGridOptions(goColSizing));
    EXPECT_TRUE(g.VirtualView);
    EXPECT_FALSE(g.SaveCellExtents());
    // read before being set, the row colours follow the grid's colour
    g.SetColor(clYellow);
    EXPECT_EQ(g.EvenRowColor(), clYellow);
    EXPECT_FALSE(g.EvenRowColorStored());
    g.SetOddRowColor(clYellow);
    EXPECT_TRUE(g.OddRowColorStored());
    g.SetColor(clAqua);
    EXPECT_EQ(g.OddRowColor(), clYellow);
    EXPECT_EQ(g.EvenRowColor(), clAqua);
}

TEST(DBGridObject, SharedTextBitmapLivesWithTheGrids)
{
    InitDBGridGxUnits();
    const int before = DBGridGxGridInstanceCount();
    {
        TDBGridGx a;
        auto b = std::make_unique<TDBGridGx>();
        EXPECT_EQ(DBGridGxGridInstanceCount(), before + 2);
        EXPECT_NE(DBGridGxSharedTextBitmap(), nullptr);
        b.reset();
        EXPECT_EQ(DBGridGxGridInstanceCount(), before + 1);
    }
    EXPECT_EQ(DBGridGxGridInstanceCount(), before);
    if (before == 0)
        EXPECT_EQ(DBGridGxSharedTextBitmap(), nullptr);
}

TEST(DBGridObject, OptionReconciliation)
{
    InitDBGridGxUnits();
    TDBGridGx g;
    auto baseHas = [&](TGridOptions o) { return (g.TCustomGridGx::Options() & o) != 0; };

    // whole-row selection drops editing and the always-shown editor
    TDBGridOptions o = g.Options();
    o.Include(dgRowSelect).Include(dgAlwaysShowEditor);
    g.SetOptions(o);
    EXPECT_FALSE(g.Options().Contains(dgEditing));
    EXPECT_FALSE(g.Options().Contains(dgAlwaysShowEditor));
    EXPECT_TRUE(baseHas(goRowSelect));
    EXPECT_FALSE(baseHas(goEditing));
    EXPECT_FALSE(baseHas(goAlwaysShowEditor));

    // dgColumnResize stands for both column options
    g.SetOptions(g.Options() - TDBGridOptions{dgColumnResize});
    EXPECT_FALSE(g.OptionsGx().Contains(dghColumnResize));
    EXPECT_FALSE(g.OptionsGx().Contains(dghColumnMove));
    EXPECT_FALSE(baseHas(goColSizing));
    EXPECT_FALSE(baseHas(goColMoving));
    g.SetOptions(g.Options() + TDBGridOptions{dgColumnResize});
    EXPECT_TRUE(g.OptionsGx().Contains(dghColumnResize));
    EXPECT_TRUE(g.OptionsGx().Contains(dghColumnMove));
    EXPECT_TRUE(baseHas(goColSizing));
    EXPECT_TRUE(baseHas(goColMoving));
    // one of the two off: dgColumnResize goes, sizing keeps working
    g.SetOptionsGx(g.OptionsGx() - TDBGridGxOptions{dghColumnMove});
    EXPECT_FALSE(g.Options().Contains(dgColumnResize));
    EXPECT_TRUE(baseHas(goColSizing));
    EXPECT_FALSE(baseHas(goColMoving));
    // both on again: dgColumnResize comes back
    g.SetOptionsGx(g.OptionsGx() + TDBGridGxOptions{dghColumnMove});
    EXPECT_TRUE(g.Options().Contains(dgColumnResize));

    // extended vertical lines and row sizing follow their switches
    g.SetOptionsGx(g.OptionsGx() - TDBGridGxOptions{dghExtendVertLines});
    EXPECT_FALSE(baseHas(goExtendVertLines));
    g.SetRowSizingAllowed(true);
    EXPECT_TRUE(baseHas(goRowSizing));
    g.SetOptions(g.Options() - TDBGridOptions{dgColLines});
    EXPECT_TRUE(baseHas(goRowSizing));
    EXPECT_FALSE(baseHas(goVertLine));
    EXPECT_FALSE(baseHas(goFixedVertLine));
}

TEST(DBGridObject, OptionChangesThatNeedNoLayoutAndSelectionResets)
{
    GridOn t(NumberedDataSet(5));
    TDBGridGx& g = *t.grid;
    struct Case { TDBGridOption option; bool layout; };
    for (const Case& k : std::vector<Case>{{dgConfirmDelete, false}, {dgCancelOnExit, false}, {dgTabs, false},
                                            {dgTitles, true}, {dgIndicator, true}, {dgRowLines, true},
                                            {dgAlwaysShowSelection, true}}) {
        const int before = g.LayoutPassCount();
        TDBGridOptions o = g.Options();
        o.Set(k.option, !o.Contains(k.option));
        g.SetOptions(o);
        EXPECT_EQ(g.LayoutPassCount() - before, k.layout ? 1 : 0) << k.option;
        o.Set(k.option, !o.Contains(k.option));
        g.SetOptions(o);
    }

    // switching multi-select off clears the selected records
    g.SetOptions(g.Options() + TDBGridOptions{dgMultiSelect});
    g.SelectedRows()->SetCurrentRowSelected(true);
    t.ds->Next();
    g.SelectedRows()->SetCurrentRowSelected(true);
    EXPECT_EQ(g.SelectedRows()->Count(), 2);
    g.SetOptions(g.Options() - TDBGridOptions{dgMultiSelect});
    EXPECT_EQ(g.SelectedRows()->Count(), 0);

    // multi sort marking off leaves only the first sort-marked column marked
    g.SetOptionsGx(g.OptionsGx() + TDBGridGxOptions{dghMultiSortMarking});
    for (int i = 0; i < 3; ++i) {
        g.Columns()->GetColumn(i)->Title()->SetSortMarker(smDownGx);
        g.Columns()->GetColumn(i)->Title()->SetSortIndex(i + 1);
    }
    g.SetSortMarkedColumns();
    ASSERT_EQ(g.SortMarkedColumns()->Count(), 3);
    g.SetOptionsGx(g.OptionsGx() - TDBGridGxOptions{dghMultiSortMarking});
    EXPECT_EQ(g.Columns()->GetColumn(0)->Title()->SortMarker(), smDownGx);
    EXPECT_EQ(g.Columns()->GetColumn(1)->Title()->SortMarker(), smNoneGx);
    EXPECT_EQ(g.Columns()->GetColumn(2)->Title()->SortMarker(), smNoneGx);

    // the allowed selection types
    EXPECT_TRUE(g.IsSelectionTypeAllowed(gstNon));
    g.SetOptions(g.Options() - TDBGridOptions{dgMultiSelect});
    EXPECT_FALSE(g.IsSelectionTypeAllowed(gstRecordBookmarks));
    g.SetOptions(g.Options() + TDBGridOptions{dgMultiSelect, dgRowSelect});
    EXPECT_TRUE(g.IsSelectionTypeAllowed(gstRecordBookmarks));
    EXPECT_TRUE(g.IsSelectionTypeAllowed(gstAll));
    EXPECT_FALSE(g.IsSelectionTypeAllowed(gstRectangle));
    EXPECT_FALSE(g.IsSelectionTypeAllowed(gstColumns));
}

TEST(DBGridObject, ColumnsFromTheDataSetStoredAndRunTimeColumns)
{
    // columns from the dataset
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    EXPECT_EQ(t.FieldNames(), (QStringList{"id", "name", "qty"}));
    EXPECT_EQ(g.Columns()->State(), csDefault);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.VisibleColumns()->Count(), 3);
    EXPECT_EQ(g.FieldCount(), 3);

    // a hidden field has no column
    t.ds->FieldByName(QStringLiteral("qty"))->SetVisible(false);
    g.DataLayoutChanged();
    EXPECT_EQ(t.FieldNames(), (QStringList{"id", "name"}));
    t.ds->FieldByName(QStringLiteral("qty"))->SetVisible(true);
    g.DataLayoutChanged();

    // stored columns: only what the form gave, in its order, unknown names kept unbound
    g.Columns()->Clear();
    g.Columns()->Add()->SetFieldName(QStringLiteral("qty"));
    g.Columns()->Add()->SetFieldName(QStringLiteral("nosuch"));
    g.Columns()->Add()->SetFieldName(QStringLiteral("id"));
    g.LayoutChanged();
    EXPECT_EQ(g.Columns()->State(), csCustomized);
    EXPECT_EQ(t.FieldNames(), (QStringList{"qty", "nosuch", "id"}));
    EXPECT_EQ(g.Columns()->GetColumn(1)->Field(), nullptr);
    EXPECT_EQ(g.ColCount(), 4);

    // run-time columns in front of stored ones go at the next pass
    g.Columns()->Clear();
    TColumnGx* runtime = g.Columns()->AddDefaultColumn();
    runtime->SetFieldName(QStringLiteral("name"));
    g.Columns()->Add()->SetFieldName(QStringLiteral("id"));
    g.LayoutChanged();
    EXPECT_EQ(t.FieldNames(), (QStringList{"id"}));

    // back to the default state: the dataset's fields again
    g.Columns()->Clear();
    g.LayoutChanged();
    EXPECT_EQ(t.FieldNames(), (QStringList{"id", "name", "qty"}));
}

TEST(DBGridObject, NoDataAndFrozenColumns)
{
    // no data source: one empty column
    {
        GridOn t(nullptr);
        t.grid->LayoutChanged();
        EXPECT_EQ(t.grid->Columns()->Count(), 1);
        EXPECT_EQ(t.FieldNames(), QStringList{QString()});
        EXPECT_EQ(t.grid->ColCount(), 2);
        EXPECT_EQ(t.grid->FixedCols(), 1);
        EXPECT_EQ(t.grid->RowCount(), 2);
    }
    // a closed dataset: the same
    {
        GridOn t(NumberedDataSet(3));
        t.ds->Close();
        EXPECT_EQ(t.grid->Columns()->Count(), 1);
        EXPECT_EQ(t.grid->ColCount(), 2);
    }

    // frozen columns: the base grid's fixed and frozen counts
    struct Case { int frozen; int hideFirst; int fixedCols, frozenCount; };
    const std::vector<Case> cases = {
        {0, -1, 1, 0},
        {1, -1, 2, 1},
        {2, -1, 3, 2},
        {3, -1, 3, 2},     // not beyond the visible count: all but the last visible column
        {10, -1, 3, 2},
        {10, 0, 2, 1},     // two visible columns of three
    };
    for (const Case& k : cases) {
        GridOn t(NumberedDataSet(3));
        if (k.hideFirst >= 0)
            t.grid->Columns()->GetColumn(k.hideFirst)->SetVisible(false);
        t.grid->SetFrozenCols(k.frozen);
        EXPECT_EQ(t.grid->FixedCols(), k.fixedCols) << k.frozen << "," << k.hideFirst;
        EXPECT_EQ(t.grid->FrozenColCount(), k.frozenCount) << k.frozen << "," << k.hideFirst;
    }
}

TEST(DBGridObject, AutoFitWithLimits)
{
    struct Case {
        int clientWidth;
        int maxWidthOfFirst;
        std::vector<int> widths;   // what the columns get
    };
    // three columns starting at 60, 60, 60; the indicator (11) and the column lines (3 + 1) come off
    const std::vector<Case> cases = {
        {300, 0, {95, 95, 95}},       // 300 - 11 - 4 = 285 shared by 60:60:60
        {300, 40, {40, 123, 122}},    // the first held by its maximum, the last absorbs the rounding
        {10, 0, {0, 0, 0}},           // nothing left: widths never go negative
    };
    for (const Case& k : cases) {
        GridOn t(NumberedDataSet(3), k.clientWidth, 200);
        TDBGridGx& g = *t.grid;
        g.VertScrollBar()->SetVisibleMode(sbNeverShowGx);   // the whole width for the columns
        g.Columns()->BeginUpdate();
        for (int i = 0; i < 3; ++i)
            g.Columns()->GetColumn(i)->SetWidth(60);
        g.Columns()->GetColumn(0)->SetMaxWidth(k.maxWidthOfFirst);
        g.Columns()->EndUpdate();
        g.SetAutoFitColWidths(true);
        ASSERT_EQ(g.ClientWidth(), k.clientWidth) << "the client less the border";
        std::vector<int> widths;
        for (int i = 0; i < 3; ++i)
            widths.push_back(g.Columns()->GetColumn(i)->Width());
        EXPECT_EQ(widths, k.widths) << k.clientWidth << "," << k.maxWidthOfFirst;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(g.ColWidths(i + 1), widths[size_t(i)]);
        auto horizontalBar = [&g] {
            return g.ScrollBarsStyle() == TScrollStyle::ssHorizontal || g.ScrollBarsStyle() == TScrollStyle::ssBoth;
        };
        EXPECT_FALSE(horizontalBar());
        // switched off: the widths the fitting started from
        g.SetAutoFitColWidths(false);
        EXPECT_EQ(g.Columns()->GetColumn(1)->Width(), 60);
        EXPECT_TRUE(horizontalBar());
    }
}

TEST(DBGridObject, IndicatorWidthForRecordNumbers)
{
    GridOn t(NumberedDataSet(12345));
    TDBGridGx& g = *t.grid;
    EXPECT_EQ(g.CalcIndicatorColWidth(), 11);
    EXPECT_EQ(g.ColWidths(0), 11);
    g.SetOptionsGx(g.OptionsGx() + TDBGridGxOptions{dghShowRecNo});
    TCanvas canvas;
    canvas.SetFont(*g.Font());
    canvas.Font()->SetSize(g.Font()->Size() - 1);
    const int expected = std::max(11, canvas.TextWidth(QStringLiteral("00000")) + 11 + 2);
    EXPECT_EQ(g.CalcIndicatorColWidth(), expected);
    EXPECT_EQ(g.ColWidths(0), expected);
    // record numbers force the indicator column
    g.SetOptions(g.Options() - TDBGridOptions{dgIndicator});
    EXPECT_EQ(g.IndicatorOffset(), 1);
    g.SetOptionsGx(g.OptionsGx() - TDBGridGxOptions{dghShowRecNo});
    EXPECT_EQ(g.IndicatorOffset(), 0);
    EXPECT_EQ(g.ColCount(), 3);
}

TEST(DBGridObject, TitleRowHeights)
{
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    const int th = TextHeightIn(*g.TitleFont());
    EXPECT_EQ(g.TitleRowHeight(), th + 4);
    EXPECT_EQ(g.RowHeights(0), th + 4);

    // two title lines
    g.SetTitleLines(2);
    TCanvas canvas;
    canvas.SetFont(*g.TitleFont());
    const int full = 2 * canvas.FontHeight() + canvas.FontExternalLeading() + 0 + 2 + 1;
    EXPECT_EQ(g.TitleHeightFull(), full);
    EXPECT_EQ(g.TitleRowHeight(), full);
    EXPECT_EQ(g.RowHeights(0), full);
    g.SetTitleLines(0);

    // two-level titles: a band over x and y, B alone
    g.Columns()->GetColumn(0)->Title()->SetCaption(QStringLiteral("A|x"));
    g.Columns()->GetColumn(1)->Title()->SetCaption(QStringLiteral("A|y"));
    g.Columns()->GetColumn(2)->Title()->SetCaption(QStringLiteral("B"));
    g.SetUseMultiTitle(true);
    ASSERT_EQ(g.LeafFieldArr().size(), 3u);
    THeadTreeNode* root = g.HeadTree();
    std::vector<THeadTreeNode*> top = root->Children();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0]->Text, QStringLiteral("A"));
    ASSERT_EQ(top[0]->Children().size(), 2u);
    EXPECT_EQ(top[0]->Children()[1]->Text, QStringLiteral("y"));
    EXPECT_EQ(top[1]->Text, QStringLiteral("B"));
    EXPECT_EQ(g.LeafFieldArr()[1].FColumn, g.Columns()->GetColumn(1));
    EXPECT_EQ(g.TitleRowHeight(), g.CalcHeadTreeHeight(root) - 1);
    // two bands of caption each with the margin
    EXPECT_EQ(g.TitleRowHeight(), 2 * (th + 10) - 1);
    EXPECT_EQ(g.Columns()->GetColumn(0)->Title()->Alignment(), taCenter);
}

TEST(DBGridObject, RowMetrics)
{
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    const int th = TextHeightIn(*g.Font());
    const int P = 3 + 1;   // not flat, row lines of one pixel
    EXPECT_EQ(g.StdDefaultRowHeight(), P + th);
    EXPECT_EQ(g.DefaultRowHeight(), P + th);
    EXPECT_FALSE(g.AllowWordWrap());

    // rows snapped to whole text lines
    struct Case { int rowHeight; int lines; };
    for (const Case& k : std::vector<Case>{{P + th * 24 / 10, 2}, {P + th * 26 / 10, 3}, {P + th / 3, 1}}) {
        g.SetOptionsGx(g.OptionsGx() - TDBGridGxOptions{dghFitRowHeightToText});
        g.SetRowLines(0);
        g.SetRowHeight(k.rowHeight);
        EXPECT_EQ(g.StdDefaultRowHeight(), k.rowHeight);
        g.SetOptionsGx(g.OptionsGx() + TDBGridGxOptions{dghFitRowHeightToText});
        EXPECT_EQ(g.RowLines(), k.lines) << k.rowHeight;
        EXPECT_EQ(g.RowHeight(), P);
        EXPECT_EQ(g.StdDefaultRowHeight(), P + k.lines * th) << k.rowHeight;
        EXPECT_EQ(g.DefaultRowHeight(), P + k.lines * th) << k.rowHeight;
        EXPECT_EQ(g.AllowWordWrap(), k.lines > 1) << k.rowHeight;
    }
}

TEST(DBGridObject, ManyChangesUnderTheLockGiveOneLayoutPass)
{
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    const int before = g.LayoutPassCount();
    g.BeginLayoutGx();
    g.SetFrozenCols(1);
    g.SetTitleLines(2);
    g.SetRowLines(2);
    g.SetOptions(g.Options() - TDBGridOptions{dgIndicator});
    g.SetUseMultiTitle(true);
    g.Columns()->GetColumn(0)->SetWidth(33);
    g.Columns()->GetColumn(1)->SetVisible(false);
    EXPECT_EQ(g.LayoutPassCount(), before);
    g.EndLayoutGx();
    EXPECT_EQ(g.LayoutPassCount(), before + 1);
    EXPECT_EQ(g.IndicatorOffset(), 0);
    EXPECT_EQ(g.FixedCols(), 1);

    // a deferred request while the lock is held waits for the release, without spinning
    g.BeginLayoutGx();
    g.BeginLayoutGx();
    g.DeferLayoutGx();
    EXPECT_TRUE(g.DeferredLayoutQueued());
    QApplication::processEvents();
    EXPECT_TRUE(g.LayoutPending());
    EXPECT_FALSE(g.DeferredLayoutQueued());
    const int held = g.LayoutPassCount();
    g.EndLayoutGx();
    EXPECT_EQ(g.LayoutPassCount(), held + 1);
    EXPECT_FALSE(g.LayoutPending());
}

TEST(DBGridObject, CellClassificationOnTheGrid)
{
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    g.SetFooterRowCount(2);
    struct Case {
        bool titles, filter;
        int col, row;
        TCellKindGx kind;
        int dataCol, dataRow;
    };
    // three records: rows 1..3 with titles, a filter row moves them to 2..4; two footer rows after
    const std::vector<Case> cases = {
        {true, false, 0, 0, {cckIndicatorGx, crkTitleGx}, 0, 0},
        {true, false, 1, 0, {cckDataGx, crkTitleGx}, 0, 0},
        {true, false, 3, 3, {cckDataGx, crkDataGx}, 2, 2},
        {true, false, 2, 4, {cckDataGx, crkFooterGx}, 1, 0},
        {true, false, 0, 5, {cckIndicatorGx, crkFooterGx}, 0, 1},
        {true, true, 1, 1, {cckDataGx, crkFilterGx}, 0, 0},
        {true, true, 1, 2, {cckDataGx, crkDataGx}, 0, 0},
        {true, true, 1, 5, {cckDataGx, crkFooterGx}, 0, 0},
        {false, false, 1, 0, {cckDataGx, crkDataGx}, 0, 0},
        {false, false, 1, 3, {cckDataGx, crkFooterGx}, 0, 0},
    };
    for (const Case& k : cases) {
        g.SetOptions(k.titles ? g.Options() + TDBGridOptions{dgTitles} : g.Options() - TDBGridOptions{dgTitles});
        g.STFilter()->SetVisible(k.filter);
        g.LayoutChanged();
        EXPECT_EQ(g.TopDataOffset(), (k.titles ? 1 : 0) + (k.filter ? 1 : 0));
        int dc = -9, dr = -9;
        const TCellKindGx kind = g.GetCellType(k.col, k.row, dc, dr);
        EXPECT_TRUE(kind == k.kind) << k.titles << k.filter << " " << k.col << "," << k.row;
        EXPECT_EQ(dc, k.dataCol) << k.col << "," << k.row;
        EXPECT_EQ(dr, k.dataRow) << k.col << "," << k.row;
    }

    // 3D frames: fixed cells with dghFixed3D, data cells with dghData3D, never a filter cell
    g.SetOptions(g.Options() + TDBGridOptions{dgTitles});
    g.STFilter()->SetVisible(true);
    g.LayoutChanged();
    g.SetOptionsGx(g.OptionsGx() + TDBGridGxOptions{dghData3D});
    EXPECT_TRUE(g.IsCell3D(0, 0, TGridDrawState{gdFixed}, TRect()));
    EXPECT_TRUE(g.IsCell3D(1, 2, TGridDrawState{}, TRect()));
    EXPECT_FALSE(g.IsCell3D(1, 1, TGridDrawState{gdFixed}, TRect()));
    g.SetOptionsGx(g.OptionsGx() - TDBGridGxOptions{dghData3D, dghFixed3D});
    EXPECT_FALSE(g.IsCell3D(0, 0, TGridDrawState{gdFixed}, TRect()));
}

TEST(DBGridObject, ColumnsByFieldName)
{
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    EXPECT_EQ(g.FindFieldColumn(QStringLiteral("NAME")), g.Columns()->GetColumn(1));
    EXPECT_EQ(g.FindFieldColumn(QStringLiteral("nosuch")), nullptr);
    EXPECT_EQ(g.ColumnByFieldName(QStringLiteral("Qty")), g.Columns()->GetColumn(2));
    try {
        g.ColumnByFieldName(QStringLiteral("nosuch"));
        ADD_FAILURE();
    } catch (const EInvalidGridOperationGx& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("字段名 'nosuch' 没有找到"));
    }
    // the selected column and field
    g.SetSelectedIndex(2);
    EXPECT_EQ(g.SelectedIndex(), 2);
    EXPECT_EQ(g.SelectedField(), t.ds->FieldByName(QStringLiteral("qty")));
    g.SetSelectedField(t.ds->FieldByName(QStringLiteral("id")));
    EXPECT_EQ(g.SelectedIndex(), 0);
}

TEST(DBGridObject, StyleAndCentreBinding)
{
    InitDBGridGxUnits();
    auto g = std::make_unique<TDBGridGx>();
    TDBGridGxStyle own;
    g->SetStyle(&own);
    EXPECT_TRUE(own.GridInChangeNotification(g.get()));
    EXPECT_FALSE(DBGridGxGlobalStyle()->GridInChangeNotification(g.get()));
    g->SetStyle(nullptr);   // back to the shared one
    EXPECT_EQ(g->Style(), DBGridGxGlobalStyle());
    EXPECT_FALSE(own.GridInChangeNotification(g.get()));
    TDBGridGxCenter center;
    g->SetCenter(&center);
    EXPECT_TRUE(center.GridInChangeNotification(g.get()));
    g->SetCenter(DBGridGxGlobalCenter());
    EXPECT_FALSE(center.GridInChangeNotification(g.get()));
    EXPECT_TRUE(DBGridGxGlobalCenter()->GridInChangeNotification(g.get()));
    // a unit that shuts down first leaves the grid without them, not with dangling ones
    DoneDBGridGxUnits();
    EXPECT_EQ(g->Style(), nullptr);
    EXPECT_EQ(g->Center(), nullptr);
    g.reset();
    InitDBGridGxUnits();
}

TEST(DBGridObject, EditButtonSizeFollowsTheRowHeight)
{
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    const int w = g.InplaceEditorButtonWidth();
    ASSERT_GT(w, 0);
    ASSERT_LE(g.StdDefaultRowHeight(), qRound(w * 1.5));
    EXPECT_EQ(g.InplaceEditorButtonHeight(), g.StdDefaultRowHeight());
    // rows taller than one and a half button widths: the button keeps its own height
    g.SetRowHeight(w * 3);
    ASSERT_GT(g.StdDefaultRowHeight(), qRound(w * 1.5));
    EXPECT_EQ(g.InplaceEditorButtonHeight(), DefaultEditButtonHeight(w, false));
}

TEST(DBGridObject, AllowedSelectionsDropAForbiddenSelection)
{
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    g.SelectRecordBookmarks();
    EXPECT_EQ(g.SelectionType(), gstRecordBookmarks);
    g.SetAllowedSelections(TDBGridGxAllowedSelections{gstRecordBookmarks, gstAll});
    EXPECT_EQ(g.SelectionType(), gstRecordBookmarks);
    g.SetAllowedSelections(TDBGridGxAllowedSelections{gstAll});
    EXPECT_EQ(g.SelectionType(), gstNon);
}

TEST(DBGridObject, ALayoutPassKeepsTheCurrentCell)
{
    GridOn t(NumberedDataSet(3));
    TDBGridGx& g = *t.grid;
    g.SetSelectedIndex(2);
    t.ds->Next();
    ASSERT_EQ(g.Row(), 2);
    g.SetTitleLines(2);
    g.SetUseMultiTitle(true);
    EXPECT_EQ(g.SelectedIndex(), 2);
    EXPECT_EQ(g.Row(), 2);
    // right-fixed columns take the last visible columns
    g.SetContraColCount(1);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.TCustomGridGx::ContraColCount(), 1);
    EXPECT_EQ(g.ContraColCount(), 1);
    g.SetContraColCount(5);   // never more than the visible columns beside the fixed ones (the indicator)
    EXPECT_EQ(g.TCustomGridGx::ContraColCount(), 2);
    EXPECT_EQ(g.ColCount(), 2);
    try {
        g.SetContraColCount(-1);
        ADD_FAILURE();
    } catch (const EInvalidGridOperationGx& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("FContraColCount can not be negative."));
    }
}
