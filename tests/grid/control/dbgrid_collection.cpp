// The column collection, the grid's data link as a stand-in grid sees it, and the
// selected-rows list.
#include "dbgrid_stubgrid.h"
#include "grid/support/dataset_fixture.h"
#include "platform/db/ClientDataSet.h"
#include <gtest/gtest.h>

using namespace gxtest;

TEST(DBGridCollection, StatesAddAllColumnsAndNames)
{
    auto ds = NumberedDataSet(3);
    StubGrid grid;
    TDBGridColumnsGx* columns = grid.Columns();
    EXPECT_EQ(columns->State(), csDefault);
    grid.SetDataSet(ds.get());
    // The stand-in grid made its automatic columns from the fields.
    ASSERT_EQ(columns->Count(), 3);
    EXPECT_EQ(columns->State(), csDefault);
    EXPECT_FALSE(columns->GetColumn(0)->Stored());

    // Customizing replaces them by stored columns in field order.
    columns->SetState(csCustomized);
    ASSERT_EQ(columns->Count(), 3);
    EXPECT_EQ(columns->State(), csCustomized);
    QStringList names;
    columns->GetColumnNames(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Column_0_id"), QStringLiteral("Column_1_name"),
                                  QStringLiteral("Column_2_qty")}));
    EXPECT_EQ(columns->FindColumnByName(QStringLiteral("Column_2_qty")), columns->GetColumn(2));
    EXPECT_EQ(columns->FindColumnByName(QStringLiteral("Column_1_qty")), nullptr);
    EXPECT_EQ(columns->FindColumnByName(QStringLiteral("column_2_qty")), nullptr);

    columns->AddAllColumns(false);
    EXPECT_EQ(columns->Count(), 6);
    columns->AddAllColumns(true);
    EXPECT_EQ(columns->Count(), 3);

    // Default state clears the stored columns; the grid builds its own again.
    columns->SetState(csDefault);
    EXPECT_EQ(columns->State(), csDefault);
    EXPECT_EQ(columns->Count(), 3);
    EXPECT_FALSE(columns->GetColumn(0)->Stored());

    // A grid without dataset only clears.
    StubGrid empty;
    empty.Columns()->Add();
    empty.Columns()->AddAllColumns(true);
    EXPECT_EQ(empty.Columns()->Count(), 0);
}

TEST(DBGridCollection, ChangesInsideOneUpdateGiveOneLayout)
{
    auto ds = NumberedDataSet(3);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    grid.Columns()->SetState(csCustomized);
    const int before = grid.LayoutPasses;
    grid.LockLayout();
    for (int i = 0; i < grid.Columns()->Count(); ++i) {
        grid.Columns()->GetColumn(i)->SetWidth(50 + i);
        grid.Columns()->GetColumn(i)->Title()->SetCaption(QStringLiteral("列%1").arg(i));
    }
    grid.Columns()->Add()->SetFieldName(QStringLiteral("qty"));
    grid.UnlockLayout();
    EXPECT_EQ(grid.LayoutPasses, before + 1);
}

TEST(DBGridCollection, HidingTheSelectedColumnAndTabNavigation)
{
    auto ds = NumberedDataSet(2);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    TDBGridColumnsGx* columns = grid.Columns();
    columns->SetState(csCustomized);
    grid.Selected = 1;
    columns->GetColumn(1)->SetVisible(false);
    EXPECT_EQ(grid.Selected, 0);

    columns->GetColumn(1)->SetVisible(true);
    TColumnGx* last = columns->GetLastTabColumn();
    EXPECT_EQ(last, columns->GetColumn(2));
    EXPECT_EQ(columns->GetNextTabColumn(last, true), last);
    EXPECT_EQ(columns->GetNextTabColumn(columns->GetColumn(0), true), columns->GetColumn(1));
    columns->GetColumn(1)->SetReadOnly(true);
    EXPECT_EQ(columns->GetNextTabColumn(columns->GetColumn(0), true), columns->GetColumn(2));
    EXPECT_EQ(columns->GetFirstTabColumn(), columns->GetColumn(0));
}

TEST(DBGridCollection, AutoFitShareGoesToTheRightNeighbour)
{
    auto ds = NumberedDataSet(2);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    TDBGridColumnsGx* columns = grid.Columns();
    columns->SetState(csCustomized);
    for (int i = 0; i < 3; ++i) {
        columns->GetColumn(i)->SetWidth(100);
        columns->GetColumn(i)->SetInitWidth(100);
    }
    grid.AutoFit = true;
    grid.PerformLayout();
    columns->GetColumn(0)->SetWidth(130);
    EXPECT_EQ(columns->GetColumn(0)->InitWidth(), 130);
    EXPECT_EQ(columns->GetColumn(1)->InitWidth(), 70);
    columns->GetColumn(0)->SetWidth(300);   // more than the neighbour has
    EXPECT_EQ(columns->GetColumn(1)->InitWidth(), 0);
}

TEST(DBGridDataLink, NotificationsSeenByTheGrid)
{
    auto ds = NumberedDataSet(5);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    EXPECT_EQ(grid.Log, QStringList{QStringLiteral("LinkActive(1)")});
    grid.DataLink()->SetBufferCount(3);

    struct Step { const char* name; std::function<void()> act; QStringList expected; };
    TField* name = ds->FieldByName(QStringLiteral("name"));
    const std::vector<Step> steps = {
        {"scroll", [&] { ds->Next(); }, {QStringLiteral("Scroll(0)")}},
        {"jump", [&] { ds->Last(); }, {QStringLiteral("DataChanged")}},
        {"edit", [&] { ds->Edit(); }, {QStringLiteral("EditingChanged"), QStringLiteral("RecordChanged(-)")}},
        {"field change", [&] { name->SetAsString(QStringLiteral("x")); }, {QStringLiteral("RecordChanged(name)")}},
        {"cancel", [&] { ds->Cancel(); }, {QStringLiteral("EditingChanged"), QStringLiteral("DataChanged")}},
    };
    for (const Step& s : steps) {
        grid.Log.clear();
        s.act();
        for (const QString& e : s.expected)
            EXPECT_TRUE(grid.Log.contains(e)) << s.name << ": " << grid.Log.join(u',').toStdString();
    }

    // The editor's change is written before a post, once.
    ds->First();
    ds->Edit();
    grid.DataLink()->SetModified();
    grid.Log.clear();
    ds->Post();
    EXPECT_EQ(grid.Log.count(QStringLiteral("UpdateData")), 1);
    EXPECT_FALSE(grid.DataLink()->Modified());

    // Reset without a change cancels the dataset's edit.
    ds->Edit();
    grid.DataLink()->Reset();
    EXPECT_EQ(ds->State(), dsBrowse);

    // Disabling the controls makes every column bind its field again.
    grid.Columns()->SetState(csCustomized);
    TColumnGx* c = grid.Columns()->GetColumn(1);
    ASSERT_EQ(c->Field(), name);
    ds->DisableControls();
    ds->EnableControls();
    EXPECT_EQ(c->Field(), name);

    grid.Log.clear();
    ds->Close();
    EXPECT_TRUE(grid.Log.contains(QStringLiteral("LinkActive(0)")));
}

TEST(DBGridDataLink, FieldMap)
{
    auto ds = NumberedDataSet(1);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    TGridDataLinkGx* link = grid.DataLink();
    link->ClearMapping();
    EXPECT_TRUE(link->AddMapping(QStringLiteral("qty")));
    EXPECT_EQ(link->GetMappedFieldIndex(0), 2);
    EXPECT_EQ(link->GetMappedField(0), ds->FieldByName(QStringLiteral("qty")));
    EXPECT_EQ(link->FieldMapSize(), 8);
    EXPECT_THROW(link->AddMapping(QStringLiteral("nope")), EDatabaseError);
    link->SetSparseMap(true);
    link->AddMapping(QStringLiteral("nope"));
    EXPECT_EQ(link->GetMappedFieldIndex(1), -1);
    EXPECT_EQ(link->GetMappedField(1), nullptr);
    EXPECT_EQ(link->GetMappedFieldIndex(7), -1);
    EXPECT_FALSE(link->DefaultFields());
    for (int i = 0; i < 7; ++i)
        link->AddMapping(QStringLiteral("id"));
    EXPECT_EQ(link->FieldMapSize(), 16);
}

TEST(DBGridSelectedRows, BookmarksOfTheGrid)
{
    auto ds = NumberedDataSet(6);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    grid.DataLink()->SetBufferCount(4);
    TBookmarkListGx* rows = grid.SelectedRows();
    rows->SetLinkActive(true);

    GoTo(ds.get(), 2);
    rows->SetCurrentRowSelected(true);
    GoTo(ds.get(), 3);
    rows->SetCurrentRowSelected(true);
    EXPECT_EQ(rows->Count(), 2);
    EXPECT_EQ(grid.Selection, gstRecordBookmarks);
    EXPECT_TRUE(grid.Log.contains(QStringLiteral("InvalidateCurrentRow")));
    const TRect r = rows->SelectionToGridRect();
    EXPECT_EQ(r.Left, 0);
    EXPECT_EQ(r.Right, grid.ColCount() - 1);
    EXPECT_EQ(r.Bottom - r.Top, 1);

    const int changes = grid.SelectionChanges;
    rows->Clear();
    EXPECT_EQ(grid.SelectionChanges, changes + 1);
    EXPECT_EQ(grid.Selection, gstNon);

    // An empty dataset and a closed one select nothing.
    auto empty = MakeDataSet({});
    StubGrid g2;
    g2.SetDataSet(empty.get());
    g2.SelectedRows()->SetLinkActive(true);
    g2.SelectedRows()->SetCurrentRowSelected(true);
    EXPECT_EQ(g2.SelectedRows()->Count(), 0);
    ds->Close();
    const TRect none = rows->SelectionToGridRect();
    EXPECT_EQ(none, TRect(-1, -1, -1, -1));
}
