// The style's colour rules, the centre's defaults and the dataset-features
// registry.
#include "dbgrid_stubgrid.h"
#include "grid/support/dataset_fixture.h"
#include "grid/control/DBGridGxRoutines.h"
#include "grid/control/DBGridGxStyle.h"
#include "platform/db/ClientDataSet.h"
#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

using namespace gxtest;

namespace {
int R(TColor c) { return c & 0xFF; }
int G(TColor c) { return (c >> 8) & 0xFF; }
int B(TColor c) { return (c >> 16) & 0xFF; }
} // namespace

TEST(DBGridStyle, ColourNumbers)
{
    // white toward white: 255 + (225 - 255) * 0.6 = 237; ungrayed 265.75, limited to 255
    EXPECT_EQ(LightenColor(clWhite, clWhite, false), TColor(0xEDEDED));
    EXPECT_EQ(LightenColor(clWhite, clWhite, true), TColor(0xFFFFFF));
    // black toward white: 127.5 + 97.5 * 0.6 = 186
    EXPECT_EQ(R(LightenColor(clBlack, clWhite, false)), 186);
    // half way from black to white
    EXPECT_EQ(ApproachColor(clBlack, clWhite, 127.5), TColor(0x808080));
    EXPECT_EQ(ApproachColor(0x000010, 0x0000FF, 255), TColor(0x0000FF));
    const TColor mixed = ApproachColor(0x102030, 0x302010, 255.0 / 2);
    EXPECT_EQ(R(mixed), 0x20);
    EXPECT_EQ(G(mixed), 0x20);
    EXPECT_EQ(B(mixed), 0x20);
}

TEST(DBGridStyle, HighlightDecisionTable)
{
    TDBGridGxStyle style;
    const TColor cellColor = clWhite;
    const TColor litHighlight = LightenColor(cellColor, clHighlight, true);
    const TColor litShadow = LightenColor(cellColor, clBtnShadow, false);
    struct Case {
        const char* name;
        THighlightCellStateGx cell;
        TGridDrawStateGx state;
        bool highlighted;
        TColor color;
        TColor fontColor;
    };
    auto base = [] {
        THighlightCellStateGx s;
        s.OptionsGx = {dghHighlightFocus};
        return s;
    };
    std::vector<Case> cases;
    {
        auto s = base();
        cases.push_back({"plain cell", s, 0, false, cellColor, clWindowText});
    }
    {
        auto s = base(); s.GridFocused = true; s.CurrentRow = true; s.CurrentCol = true;
        cases.push_back({"current cell, focused", s, gdsSelected, true, clHighlight, clHighlightText});
    }
    {
        auto s = base(); s.CurrentRow = true; s.CurrentCol = true;
        cases.push_back({"current cell, unfocused, selection hidden", s, gdsSelected, false, cellColor, clWindowText});
    }
    {
        auto s = base(); s.CurrentRow = true; s.CurrentCol = true; s.Options = {dgAlwaysShowSelection};
        cases.push_back({"current cell, unfocused, selection shown", s, gdsSelected, true, clBtnShadow, clHighlightText});
    }
    {
        auto s = base(); s.GridFocused = true; s.CurrentRow = true; s.Options = {dgRowSelect};
        cases.push_back({"row select, focused", s, 0, true, clHighlight, clHighlightText});
    }
    {
        auto s = base(); s.GridFocused = true; s.SelectionType = gstRecordBookmarks; s.CellInSelection = true;
        cases.push_back({"selected row, focused, luminated", s, 0, true, litHighlight, clWindowText});
    }
    {
        auto s = base(); s.SelectionType = gstRecordBookmarks; s.CellInSelection = true;
        cases.push_back({"selected row, unfocused", s, 0, true, litShadow, clWindowText});
    }
    {
        auto s = base(); s.GridFocused = true; s.CurrentRow = true; s.OptionsGx.Include(dghRowHighlight);
        cases.push_back({"row highlight beside the current cell", s, 0, true, litHighlight, clWindowText});
    }
    {
        auto s = base(); s.GridFocused = true; s.CurrentRow = true; s.CurrentCol = true; s.UpdateLocked = true;
        cases.push_back({"update lock hides the highlight", s, gdsSelected, false, cellColor, clWindowText});
    }
    {
        auto s = base(); s.OptionsGx.Include(dghHotTrack); s.HotTrackRow = true; s.HotTrackCell = true;
        s.HotTrackAccepted = true;
        cases.push_back({"hot-tracked cell", s, 0, false, litHighlight, clWindowText});
    }
    {
        auto s = base(); s.OptionsGx.Include(dghHotTrack); s.OptionsGx.Include(dghRowHighlight);
        s.HotTrackRow = true; s.HotTrackAccepted = true;
        cases.push_back({"hot-tracked row, other cell", s, 0, false, ApproachColor(litHighlight, cellColor, 170.67),
                         clWindowText});
    }
    for (const Case& k : cases) {
        TColor color = cellColor;
        TFont font;
        TGridDrawStateGx state = k.state;
        EXPECT_EQ(style.HighlightDataCellColor(k.cell, color, &font, state), k.highlighted) << k.name;
        EXPECT_EQ(color, k.color) << k.name;
        EXPECT_EQ(font.Color(), k.fontColor) << k.name;
    }

    // Fixed cells.
    TColor c = clBtnFace;
    TFont font;
    EXPECT_FALSE(style.HighlightFixedCellColor(false, false, true, c, &font));
    EXPECT_TRUE(style.HighlightFixedCellColor(true, true, true, c, &font));
    EXPECT_EQ(c, TColor(4210752));
    EXPECT_EQ(font.Color(), clWhite);
    c = clBtnFace;
    style.SetLuminateSelection(false);
    style.HighlightFixedCellColor(true, false, true, c, &font);
    EXPECT_EQ(c, clHighlight);
    EXPECT_EQ(font.Color(), clHighlightText);
}

TEST(DBGridStyle, ChangesReachRegisteredGrids)
{
    TDBGridGxStyle style;
    StubGrid a, b;
    style.AddChangeNotification(&a);
    style.AddChangeNotification(&a);
    style.AddChangeNotification(&b);
    EXPECT_EQ(style.Grids().size(), 2u);
    const int passes = a.LayoutPasses;
    style.SetLuminateSelection(false);
    EXPECT_EQ(a.LayoutPasses, passes + 1);
    style.RemoveChangeNotification(&b);
    EXPECT_FALSE(style.GridInChangeNotification(&b));
}

namespace {

class CountingFeatures : public TDataSetFeatureProviderGx {
public:
    explicit CountingFeatures(QString tag) : Tag(std::move(tag)) {}
    QString Tag;
    int Sorted = 0;
    bool LocateDataSetText(IDBGridGx*, const QString&, const QString&, int, int, int, int) override { return true; }
    int MoveDataSetRecords(IDBGridGx*, TBMListGx*, int, bool) override { return 3; }
    void ApplyDataSetSorting(IDBGridGx*, TDataSet*, bool) override { ++Sorted; }
    void ApplyDataSetFilter(IDBGridGx*, TDataSet*, bool) override {}
    void ShowDataSetFindDialog(IDBGridGx*, const QString&, bool, const QString&) override {}
    void FillDataSetFilterValues(IDBGridGx*, TColumnGx*, QStringList&) override {}
};

} // namespace

TEST(DBGridCenter, DefaultsWithAnEmptyAndAFilledRegistry)
{
    UnregisterAllDataSetFeaturesGx();
    auto ds = NumberedDataSet(3);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    TDBGridGxCenter center;
    EXPECT_EQ(FindDataSetFeatures(ds.get()), nullptr);
    center.ApplySorting(&grid);
    center.ApplyFilter(&grid);
    EXPECT_EQ(center.MoveRecords(&grid, grid.SelectedRows(), 1, false), 0);
    EXPECT_EQ(ds->RecordCount(), 3);
    EXPECT_EQ(center.GetSTFilterDefaultOperator(&grid, nullptr, botNumber), fdoAuto);
    center.STFilterDefaultNumberOperator = fdoGreaterThan;
    EXPECT_EQ(center.GetSTFilterDefaultOperator(&grid, nullptr, botNumber), fdoGreaterThan);
    EXPECT_EQ(center.GetSTFilterDefaultOperator(&grid, nullptr, botString), fdoAuto);
    center.IndicatorTitleMouseDown(&grid, 0, 0, 1, 0, 2, 2);
    EXPECT_TRUE(grid.Log.contains(QStringLiteral("IndicatorTitleMouseDown")));

    // The nearest registered class serves; on a tie the first registered.
    auto* general = new CountingFeatures(QStringLiteral("dataset"));
    auto* client = new CountingFeatures(QStringLiteral("client"));
    RegisterDataSetFeaturesGx<TDataSet>(0, std::unique_ptr<TDataSetFeatureProviderGx>(general));
    RegisterDataSetFeaturesGx<TClientDataSet>(2, std::unique_ptr<TDataSetFeatureProviderGx>(client));
    RegisterDataSetFeaturesGx<TClientDataSet>(2, std::make_unique<CountingFeatures>(QStringLiteral("late")));
    EXPECT_EQ(FindDataSetFeatures(ds.get()), client);
    center.ApplySorting(&grid);
    EXPECT_EQ(client->Sorted, 1);
    EXPECT_EQ(center.MoveRecords(&grid, grid.SelectedRows(), 1, false), 3);
    // An event takes over from the default.
    int events = 0;
    center.OnApplySorting = [&](IDBGridGx*) { ++events; };
    center.ApplySorting(&grid);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(client->Sorted, 1);
    UnregisterAllDataSetFeaturesGx();
}

TEST(DBGridCenter, IndicatorTitleMenu)
{
    auto ds = NumberedDataSet(1);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    grid.Columns()->SetState(csCustomized);
    grid.Columns()->GetColumn(1)->Title()->SetCaption(QString());
    TDBGridGxCenter center;
    QMenu* menu = nullptr;
    center.BuildIndicatorTitleMenu(&grid, menu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("DBGridGxIndicatorTitlePopupMenu"));
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 6);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("错误的列"));
    QStringList captions;
    for (int i = 1; i < actions.size(); ++i) {
        captions << actions[i]->text();
        EXPECT_FALSE(actions[i]->isEnabled());   // no edit actions are set
    }
    EXPECT_EQ(captions, (QStringList{QStringLiteral("剪贴"), QStringLiteral("复制"), QStringLiteral("粘贴"),
                                     QStringLiteral("删除"), QStringLiteral("全选")}));
    // Columns with a caption only; the last visible column cannot be hidden.
    QList<QAction*> columnItems = actions[0]->menu()->actions();
    ASSERT_EQ(columnItems.size(), 2);
    columnItems[0]->trigger();
    EXPECT_FALSE(grid.Columns()->GetColumn(0)->Visible());
    grid.Columns()->GetColumn(1)->SetVisible(false);
    columnItems[1]->trigger();
    EXPECT_TRUE(grid.Columns()->GetColumn(2)->Visible());

    // Without the global menu: only the grid's own items.
    grid.UseGlobalMenu = false;
    QMenu own;
    own.addAction(QStringLiteral("刷新"));
    grid.OwnMenu = &own;
    center.BuildIndicatorTitleMenu(&grid, menu);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("刷新"));
    FreeIndicatorTitleMenuGx();
}

TEST(DBGridRoutines, WaitCursorNests)
{
    EndWaitCursor();   // without a begin: nothing
    EXPECT_EQ(WaitCursorDepth(), 0);
    BeginWaitCursor();
    BeginWaitCursor();
    EndWaitCursor();
    EXPECT_EQ(WaitCursorDepth(), 1);
    EndWaitCursor();
    EXPECT_EQ(WaitCursorDepth(), 0);
}
