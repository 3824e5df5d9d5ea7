// The record-buffer window as data links see it: BufferCount, ActiveRecord, RecordCount,
// scroll distances, MoveBy at both ends, and the notifications links receive.
#include "dataset_support.h"

using namespace dstest;

namespace {

struct WindowFixture : ::testing::Test {
    std::unique_ptr<TClientDataSet> ds = Numbers(100);
    TDataSource src{ds.get()};
    RecordingLink grid;
    RecordingLink editor;
    int top = 0;      // expected view position of the grid's first row

    void SetUp() override
    {
        grid.SetBufferCount(10);
        grid.SetDataSource(&src);
        editor.SetDataSource(&src);
        ds->First();
        top = 0;
    }

    // Reads every row of the grid's window through ActiveRecord and checks it against the
    // expected top; the editor (one row) always sees the current record.
    void CheckWindow(const char* where)
    {
        SCOPED_TRACE(where);
        ASSERT_EQ(grid.RecordCount(), 10);
        int active = grid.ActiveRecord();
        ASSERT_GE(active, 0);
        ASSERT_LT(active, 10);
        int current = CurrentId(*ds);
        EXPECT_EQ(ds->RecNo(), current);
        EXPECT_EQ(top + active + 1, current);
        for (int row = 0; row < grid.RecordCount(); ++row) {
            grid.SetActiveRecord(row);
            EXPECT_EQ(CurrentId(*ds), top + row + 1) << "row " << row;
        }
        grid.SetActiveRecord(active);
        EXPECT_EQ(CurrentId(*ds), current);
        EXPECT_EQ(editor.RecordCount(), 1);
        EXPECT_EQ(editor.ActiveRecord(), 0);
    }

    // One MoveBy with the minimal-scroll rule: the window moves only as far as needed.
    void Step(int distance)
    {
        int pos = ds->RecNo() - 1;
        size_t before = grid.scrolls.size();
        int moved = ds->MoveBy(distance);
        int target = pos + moved;
        int newTop = top;
        if (target < top)
            newTop = target;
        else if (target >= top + 10)
            newTop = target - 9;
        if (moved != 0) {
            ASSERT_EQ(grid.scrolls.size(), before + 1);
            EXPECT_EQ(grid.scrolls.back(), newTop - top);
        }
        top = newTop;
    }
};

} // namespace

TEST_F(WindowFixture, ScrollingForwardAndBackwardShowsTheRightRecordOnEveryRow)
{
    CheckWindow("first");
    for (int i = 0; i < 99; ++i) {
        Step(1);
        CheckWindow("forward");
    }
    EXPECT_EQ(CurrentId(*ds), 100);
    EXPECT_EQ(top, 90);
    for (int i = 0; i < 99; ++i) {
        Step(-1);
        CheckWindow("backward");
    }
    EXPECT_EQ(CurrentId(*ds), 1);
    EXPECT_EQ(top, 0);
    // While the current record stays inside the window the rows do not move.
    EXPECT_EQ(std::count(grid.scrolls.begin(), grid.scrolls.end(), 0), 2 * 9);
}

TEST_F(WindowFixture, PageMovesAndJumpsKeepTheWindowConsistent)
{
    for (int d : {7, 5, 25, -3, -30, 12})
        Step(d), CheckWindow("MoveBy");

    ds->Last();
    top = 90;
    CheckWindow("Last");
    ds->First();
    top = 0;
    CheckWindow("First");

    // Jumps put the record in the middle of the window where the data allows it.
    ds->SetRecNo(50);
    top = 50 - 1 - 4;
    CheckWindow("RecNo");
    ASSERT_TRUE(ds->Locate("id", 98));
    top = 90;
    CheckWindow("Locate near the end");
    TBookmark bm;
    ds->SetRecNo(3);
    bm = ds->GetBookmark();
    ds->Last();
    ds->GotoBookmark(bm);
    top = 0;
    CheckWindow("GotoBookmark near the start");
    EXPECT_EQ(CurrentId(*ds), 3);
}

TEST_F(WindowFixture, BookmarksOfWindowRowsNameThoseRows)
{
    ds->SetRecNo(40);
    ds->Edit();       // painting other rows while a record is edited
    std::vector<TBookmark> marks;
    int active = grid.ActiveRecord();
    for (int row = 0; row < grid.RecordCount(); ++row) {
        grid.SetActiveRecord(row);
        marks.push_back(ds->GetBookmark());
    }
    grid.SetActiveRecord(active);
    ds->Cancel();
    int first = 40 - active;
    for (size_t row = 0; row < marks.size(); ++row) {
        ds->GotoBookmark(marks[row]);
        EXPECT_EQ(CurrentId(*ds), first + int(row));
    }
}

TEST_F(WindowFixture, MoveByReturnsTheDistanceMovedAtBothEnds)
{
    EXPECT_EQ(ds->MoveBy(-5), 0);
    EXPECT_TRUE(ds->Bof());
    EXPECT_EQ(ds->MoveBy(1000), 99);
    EXPECT_TRUE(ds->Eof());
    EXPECT_EQ(CurrentId(*ds), 100);
    EXPECT_EQ(ds->MoveBy(1), 0);
    EXPECT_TRUE(ds->Eof());
    EXPECT_EQ(ds->MoveBy(-1000), -99);
    EXPECT_TRUE(ds->Bof());
    EXPECT_FALSE(ds->Eof());
    EXPECT_EQ(grid.MoveBy(3), 3);
    EXPECT_FALSE(ds->Bof());
    EXPECT_EQ(CurrentId(*ds), 4);
}

TEST_F(WindowFixture, ASmallDataSetFillsOnlyPartOfTheWindow)
{
    auto small = Numbers(4);
    TDataSource s2(small.get());
    RecordingLink link;
    link.SetBufferCount(10);
    link.SetDataSource(&s2);
    EXPECT_EQ(link.RecordCount(), 4);
    small->Last();
    EXPECT_EQ(link.ActiveRecord(), 3);
    small->Delete();
    EXPECT_EQ(link.RecordCount(), 3);
    EXPECT_EQ(link.ActiveRecord(), 2);
    EXPECT_EQ(CurrentId(*small), 3);
}

TEST_F(WindowFixture, InsertShowsTheNewRowAtTheCurrentPositionAndPostKeepsIt)
{
    ds->SetRecNo(5);    // centred: top 0, active row 4
    top = 0;
    ds->Insert();
    EXPECT_EQ(grid.ActiveRecord(), 4);
    EXPECT_EQ(grid.RecordCount(), 10);
    ds->FieldByName("id")->SetAsInteger(1000);
    grid.SetActiveRecord(5);
    EXPECT_EQ(CurrentId(*ds), 5);       // the old current record moved one row down
    grid.SetActiveRecord(4);
    EXPECT_EQ(CurrentId(*ds), 1000);    // the edit buffer
    ds->Post();
    EXPECT_EQ(CurrentId(*ds), 1000);
    EXPECT_EQ(ds->RecNo(), 5);
    EXPECT_EQ(grid.ActiveRecord(), 4);
    ds->Next();
    EXPECT_EQ(CurrentId(*ds), 5);

    ds->Append();
    EXPECT_EQ(grid.ActiveRecord(), 9);
    ds->Cancel();
    EXPECT_EQ(CurrentId(*ds), 100);
    EXPECT_EQ(ds->RecordCount(), 101);
}

TEST(DataLinkEvents, LinksFollowOpenEditPostAndClose)
{
    auto ds = Numbers(3);
    TDataPacket packet = ds->Data();
    ds->Close();
    TDataSource src(ds.get());
    RecordingLink link;
    link.SetDataSource(&src);
    EXPECT_FALSE(link.Active());
    ds->SetData(packet);
    EXPECT_TRUE(link.Active());
    link.onUpdateData = [&] { ds->FieldByName("name")->SetAsString("from editor"); };
    EXPECT_TRUE(link.Edit());                 // AutoEdit through the data source
    EXPECT_EQ(ds->State(), dsEdit);
    ds->FieldByName("grp")->SetAsInteger(9);
    ds->Post();
    EXPECT_EQ(ds->FieldByName("name")->AsString(), "from editor");
    EXPECT_EQ(link.updateDataCalls, 1);
    ds->Close();
    EXPECT_EQ(link.log, QStringList({"ActiveChanged(1)", "EditingChanged(1)", "RecordChanged(-)",
                                     "RecordChanged(grp)", "UpdateData", "EditingChanged(0)",
                                     "DataSetChanged", "ActiveChanged(0)"}));
}

TEST(DataLinkEvents, DisabledControlsHearNothingUntilEnabledAgain)
{
    auto ds = Numbers(20);
    TDataSource src(ds.get());
    RecordingLink link;
    link.SetDataSource(&src);
    ds->DisableControls();
    ds->DisableControls();
    EXPECT_TRUE(ds->ControlsDisabled());
    ds->Next();
    ds->Last();
    ds->Edit();
    ds->FieldByName("grp")->SetAsInteger(1);
    ds->Post();
    ds->EnableControls();
    EXPECT_TRUE(ds->ControlsDisabled());
    // Only the request to store pending edits gets through.
    EXPECT_EQ(link.log, QStringList({"ActiveChanged(1)", "Disabled(0)", "UpdateData"}));
    ds->EnableControls();
    EXPECT_FALSE(ds->ControlsDisabled());
    EXPECT_EQ(link.log, QStringList({"ActiveChanged(1)", "Disabled(0)", "UpdateData", "Disabled(1)", "DataSetChanged"}));
    // The dataset's own events still fire while its controls are disabled.
    int scrolls = 0;
    ds->AfterScroll = [&](TDataSet*) { ++scrolls; };
    ds->DisableControls();
    ds->First();
    ds->EnableControls();
    EXPECT_EQ(scrolls, 1);
}

TEST(DataLinkEvents, DataSourceReportsStateAndChanges)
{
    auto ds = Numbers(3);
    TDataSource src;
    QStringList seen;
    src.OnStateChange = [&](TDataSource* s) { seen << QStringLiteral("state %1").arg(int(s->State())); };
    src.OnDataChange = [&](TDataSource*, TField* f) { seen << (f ? f->FieldName() : QStringLiteral("data")); };
    src.SetDataSet(ds.get());
    ds->Edit();
    ds->FieldByName("name")->SetAsString("x");
    ds->Cancel();
    EXPECT_EQ(seen, QStringList({"state 1", "state 2", "data", "name", "state 1", "data"}));
    src.SetAutoEdit(false);
    src.Edit();
    EXPECT_EQ(ds->State(), dsBrowse);
}

TEST(DataLinkEvents, DestroyingTheDataSetDeactivatesItsLinks)
{
    auto ds = Numbers(3);
    TDataSource src(ds.get());
    RecordingLink link;
    link.SetDataSource(&src);
    EXPECT_TRUE(link.Active());
    ds.reset();
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(src.DataSet(), nullptr);
}
