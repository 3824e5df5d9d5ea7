// The data grid's reactions: columns follow moved and sized grid columns, the
// delete question, scaling, and the editing rules of the current column.
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxPaintScrollBar.h"
#include "grid/control/DBGridGxUnit.h"
#include "grid/support/dataset_fixture.h"
#include "platform/db/Field.h"
#include "platform/gui/Dialogs.h"
#include <QCoreApplication>
#include <QMenu>
#include <gtest/gtest.h>

using namespace gxtest;

namespace {

struct Grid3 {
    std::unique_ptr<TClientDataSet> ds;
    TDataSource source;
    std::unique_ptr<TDBGridGx> grid;
    explicit Grid3(int records = 3) : ds(NumberedDataSet(records))
    {
        InitDBGridGxUnits();
        grid = std::make_unique<TDBGridGx>();
        grid->resize(400, 200);
        source.SetDataSet(ds.get());
        grid->SetDataSource(&source);
    }
    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            names << grid->Columns()->GetColumn(i)->FieldName();
        return names;
    }
};

} // namespace

TEST(DBGridReactions, MovedGridColumnsMoveTheColumns)
{
    Grid3 t;
    int from = -1, to = -1;
    t.grid->OnColumnMoved = [&](QObject*, int f, int d) { from = f; to = d; };
    t.grid->ColumnMoved(1, 3);   // grid columns: the indicator is column 0
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, 2);
    EXPECT_EQ(t.Names(), (QStringList{"name", "qty", "id"}));
    // default columns show the fields where the dataset has them: the field moved too
    EXPECT_EQ(t.ds->Fields()[2]->FieldName(), QStringLiteral("id"));
    EXPECT_EQ(t.ds->FieldByName(QStringLiteral("id"))->AsInteger(), 1);
    // stored columns move alone
    t.grid->Columns()->GetColumn(0)->SetStored(true);
    t.grid->Columns()->GetColumn(1)->SetStored(true);
    t.grid->Columns()->GetColumn(2)->SetStored(true);
    t.grid->ColumnMoved(3, 1);
    EXPECT_EQ(t.Names(), (QStringList{"id", "name", "qty"}));
    EXPECT_EQ(t.ds->Fields()[2]->FieldName(), QStringLiteral("id"));
}

TEST(DBGridReactions, SizedGridColumnsSizeTheColumns)
{
    Grid3 t;
    TDBGridGx& g = *t.grid;
    int changes = 0;
    g.OnColWidthsChanged = [&](QObject*) { ++changes; };
    g.Columns()->GetColumn(1)->SetMaxWidth(50);
    g.Columns()->GetColumn(2)->SetMinWidth(30);
    g.SetColWidths(1, 44);
    EXPECT_EQ(g.Columns()->GetColumn(0)->Width(), 44);
    g.SetColWidths(2, 80);   // held by the maximum
    EXPECT_EQ(g.ColWidths(2), 50);
    EXPECT_EQ(g.Columns()->GetColumn(1)->Width(), 50);
    g.SetColWidths(3, 5);    // held by the minimum
    EXPECT_EQ(g.ColWidths(3), 30);
    EXPECT_EQ(g.Columns()->GetColumn(2)->Width(), 30);
    EXPECT_GE(changes, 3);
}

TEST(DBGridReactions, ResizingWithFittedColumns)
{
    struct Case {
        bool wholeRightPart;
        std::vector<int> initWidths;   // after column 0 shrank from 100 to 80
    };
    // Three fitted columns of 100 in a client of 300 + indicator 11 + lines 4.
    const std::vector<Case> cases = {
        {false, {80, 120, 100}},   // the next column takes what column 0 gave
        {true, {80, 110, 110}},    // the columns to the right share it by their initial widths
    };
    for (const Case& k : cases) {
        Grid3 t;
        TDBGridGx& g = *t.grid;
        g.resize(315, 200);
        g.VertScrollBar()->SetVisibleMode(sbNeverShowGx);   // the whole width for the columns
        for (int i = 0; i < 3; ++i)
            g.Columns()->GetColumn(i)->SetWidth(100);
        if (k.wholeRightPart)
            g.SetOptionsGx(g.OptionsGx() + TDBGridGxOptions{dghResizeWholeRightPart});
        g.SetAutoFitColWidths(true);
        ASSERT_EQ(g.Columns()->GetColumn(0)->Width(), 100);
        g.SetColWidths(1, 80);
        std::vector<int> inits;
        for (int i = 0; i < 3; ++i)
            inits.push_back(g.Columns()->GetColumn(i)->InitWidth());
        EXPECT_EQ(inits, k.initWidths) << k.wholeRightPart;
    }
}

// A fitted column sized from nothing takes the width given, and stays widenable (its initial
// width used to become -1, leaving it at nothing for good).
TEST(DBGridReactions, WholeRightPartColumnSizedFromNothing)
{
    Grid3 t;
    TDBGridGx& g = *t.grid;
    g.resize(315, 200);
    g.VertScrollBar()->SetVisibleMode(sbNeverShowGx);
    for (int i = 0; i < 3; ++i)
        g.Columns()->GetColumn(i)->SetWidth(100);
    g.SetOptionsGx(g.OptionsGx() + TDBGridGxOptions{dghResizeWholeRightPart});
    g.SetAutoFitColWidths(true);
    g.SetColWidths(1, 0);
    ASSERT_EQ(g.Columns()->GetColumn(0)->Width(), 0);
    g.SetColWidths(1, 60);
    EXPECT_GT(g.Columns()->GetColumn(0)->InitWidth(), 0);
    EXPECT_GT(g.Columns()->GetColumn(0)->Width(), 0);
    EXPECT_GT(g.ColWidths(1), 0);
}

TEST(DBGridReactions, SizeChangesUnderTheLockWaitForTheRelease)
{
    for (const bool fitted : {true, false}) {
        Grid3 t(30);
        TDBGridGx& g = *t.grid;
        g.SetAutoFitColWidths(fitted);
        g.show();
        QCoreApplication::processEvents();
        const int passes = g.LayoutPassCount();
        const int rows = g.RowCount();
        g.BeginUpdateGx();
        g.resize(300, 120);
        g.resize(320, 110);
        QCoreApplication::processEvents();
        EXPECT_EQ(g.LayoutPassCount(), passes) << fitted;
        EXPECT_EQ(g.RowCount(), rows) << fitted;
        g.EndUpdateGx();
        // Fitted columns need a layout pass, plain ones only the row count.
        EXPECT_EQ(g.LayoutPassCount(), passes + (fitted ? 1 : 0)) << fitted;
        EXPECT_LT(g.RowCount(), rows) << fitted;
        QCoreApplication::processEvents();
        EXPECT_EQ(g.LayoutPassCount(), passes + (fitted ? 1 : 0)) << fitted;
    }
}

TEST(DBGridReactions, GridBuiltBeforeTheUnitsStartUp)
{
    DoneDBGridGxUnits();
    {
        std::unique_ptr<TClientDataSet> ds = NumberedDataSet(3);
        TDataSource source;
        source.SetDataSet(ds.get());
        TDBGridGx g;
        EXPECT_EQ(g.Style(), nullptr);
        g.resize(300, 150);
        g.SetDataSource(&source);
        g.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(g.Columns()->Count(), 3);
        EXPECT_GT(g.LayoutPassCount(), 0);
        EXPECT_FALSE(g.grab().isNull());
    }
    InitDBGridGxUnits();
}

TEST(DBGridReactions, DeleteQuestion)
{
    Grid3 t;
    TDBGridGx& g = *t.grid;
    DialogScript::Start();
    DialogScript::Answer(mrOk);
    EXPECT_TRUE(g.ConfirmDelete());
    DialogScript::Answer(mrCancel);
    EXPECT_FALSE(g.ConfirmDelete());
    g.SetOptions(g.Options() + TDBGridOptions{dgMultiSelect});
    g.SelectedRows()->SetCurrentRowSelected(true);
    t.ds->Next();
    g.SelectedRows()->SetCurrentRowSelected(true);
    DialogScript::Answer(mrOk);
    EXPECT_TRUE(g.ConfirmDelete());
    EXPECT_EQ(DialogScript::Texts(),
              (QStringList{"Delete record?", "Delete record?", "Delete all selected records?"}));
    g.SetOptions(g.Options() - TDBGridOptions{dgConfirmDelete});
    EXPECT_TRUE(g.ConfirmDelete());
    EXPECT_EQ(DialogScript::Log().size(), 3);
    DialogScript::Stop();
}

TEST(DBGridReactions, ScalingColumnWidthsCumulatively)
{
    Grid3 t;
    TDBGridGx& g = *t.grid;
    for (int i = 0; i < 3; ++i)
        g.Columns()->GetColumn(i)->SetWidth(10);
    g.ChangeScale(3, 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(g.Columns()->GetColumn(i)->Width(), 15) << i;
    for (int i = 0; i < 3; ++i)
        g.Columns()->GetColumn(i)->SetWidth(11);
    g.ChangeScale(3, 2);   // 16.5, 33, 49.5 -> 17, 33, 50
    EXPECT_EQ(g.Columns()->GetColumn(0)->Width(), 17);
    EXPECT_EQ(g.Columns()->GetColumn(1)->Width(), 16);
    EXPECT_EQ(g.Columns()->GetColumn(2)->Width(), 17);
}

TEST(DBGridReactions, EditingRulesOfTheCurrentColumn)
{
    Grid3 t;
    TDBGridGx& g = *t.grid;
    g.SetSelectedIndex(1);
    EXPECT_EQ(g.GetEditLimit(), 20);   // the text field's size
    EXPECT_EQ(g.GetEditText(2, 1), QStringLiteral("r1"));
    EXPECT_TRUE(g.CanEditModify());
    EXPECT_EQ(t.ds->State(), dsEdit);
    t.ds->Cancel();
    g.SetSelectedIndex(0);
    EXPECT_EQ(g.GetEditLimit(), 0);
    // key lists take any key; a number field only what numbers hold
    EXPECT_FALSE(g.CanEditAcceptKey(QLatin1Char('x')));
    EXPECT_TRUE(g.CanEditAcceptKey(QLatin1Char('7')));
    g.Columns()->GetColumn(0)->KeyList() << QStringLiteral("1");
    g.Columns()->GetColumn(0)->PickList() << QStringLiteral("one");
    EXPECT_TRUE(g.CanEditAcceptKey(QLatin1Char('x')));
    EXPECT_EQ(g.GetEditLimit(), 0);
    // a check-box column is never modified through the editor
    g.Columns()->GetColumn(0)->SetCheckboxes(true);
    EXPECT_FALSE(g.CanEditModify());
    // a read-only grid modifies nothing
    g.SetSelectedIndex(1);
    g.SetReadOnly(true);
    EXPECT_FALSE(g.CanEditModify());
    EXPECT_EQ(t.ds->State(), dsBrowse);
}

TEST(DBGridReactions, ColumnPopupMenus)
{
    Grid3 t;
    TDBGridGx& g = *t.grid;
    QMenu menu;
    menu.addAction(QStringLiteral("排序"));
    g.Columns()->GetColumn(1)->SetPopupMenu(&menu);
    g.show();
    auto centre = [&](int col, int row) {
        const TRect r = g.CellRect(col, row);
        return std::make_pair((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    struct Case { int col, row; bool shown; };
    for (const Case& k : std::vector<Case>{{0, 1, false}, {1, 1, false}, {2, 1, true}, {2, 0, true}}) {
        const auto [x, y] = centre(k.col, k.row);
        EXPECT_EQ(g.PopupColumnMenu(x, y), k.shown) << k.col << "," << k.row;
        EXPECT_EQ(menu.isVisible(), k.shown) << k.col << "," << k.row;
        menu.hide();
    }
    EXPECT_FALSE(g.PopupColumnMenu(g.width() - 2, g.height() - 30));   // outside the cells
}

TEST(DBGridReactions, LeavingTheGridWithAnInsertedRecord)
{
    Grid3 t;
    TDBGridGx& g = *t.grid;
    // untouched: the insert is cancelled
    t.ds->Insert();
    g.DoExit();
    EXPECT_EQ(t.ds->State(), dsBrowse);
    EXPECT_EQ(t.ds->RecordCount(), 3);
    // modified: it stays
    t.ds->Insert();
    t.ds->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("新"));
    g.DoExit();
    EXPECT_EQ(t.ds->State(), dsInsert);
    t.ds->Cancel();
    // without the option nothing is cancelled
    g.SetOptions(g.Options() - TDBGridOptions{dgCancelOnExit});
    t.ds->Insert();
    g.DoExit();
    EXPECT_EQ(t.ds->State(), dsInsert);
    t.ds->Cancel();
}

TEST(DBGridReactions, ValueFromThePreviousRecord)
{
    Grid3 t;
    TDBGridGx& g = *t.grid;
    g.SetSelectedIndex(1);
    g.SetValueFromPrevRecord();   // the first record has none before it
    EXPECT_EQ(t.ds->State(), dsBrowse);
    t.ds->Next();
    g.SetValueFromPrevRecord();
    EXPECT_EQ(t.ds->State(), dsEdit);
    EXPECT_EQ(t.ds->FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("r1"));
    EXPECT_EQ(t.ds->FieldByName(QStringLiteral("id"))->AsInteger(), 2);
    t.ds->Cancel();
}
