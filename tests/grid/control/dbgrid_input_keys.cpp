// The data grid's keyboard on an account set's material list: record steps,
// appending and cancelling new records, Tab, Esc, delete with its question,
// F2, Insert and the value of the record above.
#include "dbgrid_input_fixture.h"

using namespace gxinput;

using GridInputKeys = GridTest;

TEST_F(GridInputKeys, DownAppendsAtTheEndAndUpCancelsTheUntouchedRecord)
{
    const int count = cds.RecordCount();
    GoTo(count);
    Key(Qt::Key_Down);
    EXPECT_EQ(cds.State(), dsInsert);
    EXPECT_TRUE(cds.Eof());
    // Down on the untouched new record does nothing.
    Key(Qt::Key_Down);
    EXPECT_EQ(cds.State(), dsInsert);
    EXPECT_EQ(cds.RecordCount(), count);
    // Up drops it and the last record is current again.
    Key(Qt::Key_Up);
    EXPECT_EQ(cds.State(), dsBrowse);
    EXPECT_EQ(cds.RecordCount(), count);
    EXPECT_EQ(Rec(), count);
    EXPECT_EQ(Field("code"), QStringLiteral("F02"));
}

TEST_F(GridInputKeys, KeyTable)
{
    struct Case {
        const char* name;
        int startRec;
        const char* startField;
        int key;
        Qt::KeyboardModifiers mods;
        int rec;
        const char* field;
        TDataSetState state;
    };
    const std::vector<Case> cases = {
        {"down", 1, "code", Qt::Key_Down, Qt::NoModifier, 2, "code", dsBrowse},
        {"up", 3, "code", Qt::Key_Up, Qt::NoModifier, 2, "code", dsBrowse},
        {"up at the first record", 1, "code", Qt::Key_Up, Qt::NoModifier, 1, "code", dsBrowse},
        {"right", 2, "code", Qt::Key_Right, Qt::NoModifier, 2, "mname", dsBrowse},
        {"left", 2, "mname", Qt::Key_Left, Qt::NoModifier, 2, "code", dsBrowse},
        {"end: last column", 2, "code", Qt::Key_End, Qt::NoModifier, 2, "mtype", dsBrowse},
        {"home: first column", 2, "mtype", Qt::Key_Home, Qt::NoModifier, 2, "FID", dsBrowse},
        {"ctrl+end: last record", 2, "code", Qt::Key_End, Qt::ControlModifier, 12, "code", dsBrowse},
        {"ctrl+home: first record", 9, "code", Qt::Key_Home, Qt::ControlModifier, 1, "code", dsBrowse},
        {"tab: next column", 2, "code", Qt::Key_Tab, Qt::NoModifier, 2, "mname", dsBrowse},
        {"tab in the last column: next record", 2, "mtype", Qt::Key_Tab, Qt::NoModifier, 3, "FID", dsBrowse},
        {"shift+tab in the first column: record above", 3, "FID", Qt::Key_Backtab, Qt::ShiftModifier, 2, "mtype",
         dsBrowse},
        {"tab in the last column of the last record appends", 12, "mtype", Qt::Key_Tab, Qt::NoModifier, 12, "FID",
         dsInsert},
        {"insert inserts", 4, "code", Qt::Key_Insert, Qt::NoModifier, 4, "code", dsInsert},
    };
    ASSERT_EQ(grid->Columns()->Count(), 5);
    for (const Case& c : cases) {
        if (cds.State() != dsBrowse)
            cds.Cancel();
        GoTo(c.startRec, c.startField);
        grid->setFocus();
        Key(c.key, c.mods);
        if (c.state == dsBrowse)
            EXPECT_EQ(Rec(), c.rec) << c.name;
        EXPECT_EQ(grid->SelectedIndex(), ColumnOf(c.field)) << c.name;
        EXPECT_EQ(cds.State(), c.state) << c.name;
    }
    cds.Cancel();
}

TEST_F(GridInputKeys, PageDownMovesAWindowOfRecords)
{
    GoTo(1, "code");
    const int page = grid->VisibleRowCount();
    ASSERT_GT(page, 1);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Rec(), std::min(1 + page, cds.RecordCount()));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Rec(), 1);
}

TEST_F(GridInputKeys, CtrlDeleteAsksThroughTheDialogService)
{
    const int count = cds.RecordCount();
    GoTo(3, "code");
    DialogScript::Answer(mrCancel);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(DialogScript::Log().last().Text, QStringLiteral("Delete record?"));
    EXPECT_EQ(cds.RecordCount(), count);
    EXPECT_EQ(Field("code"), QStringLiteral("B01"));

    DialogScript::Answer(mrOk);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(cds.RecordCount(), count - 1);
    EXPECT_FALSE(cds.Locate(QStringLiteral("code"), Variant(QStringLiteral("B01"))));
}

TEST_F(GridInputKeys, CtrlDeleteOfSeveralSelectedRecordsAsksTheSeveralRecordsQuestion)
{
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    grid->SetAllowedSelections(TDBGridGxAllowedSelections{gstRecordBookmarks, gstAll});
    const int count = cds.RecordCount();
    GoTo(2, "code");
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(grid->SelectedRows()->Count(), 3);
    DialogScript::Answer(mrCancel);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(DialogScript::Log().last().Text, QStringLiteral("Delete all selected records?"));
    EXPECT_EQ(cds.RecordCount(), count);
    DialogScript::Answer(mrOk);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(cds.RecordCount(), count - 3);
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
}

TEST_F(GridInputKeys, F2OpensTheEditorAndEscCancelsTheEdit)
{
    GoTo(2, "mname");
    EXPECT_FALSE(grid->InplaceEditorVisible());
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid->InplaceEditorVisible());
    EXPECT_TRUE(grid->EditorMode());
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("水泥 cement"));
    Type(QStringLiteral("砖"));
    EXPECT_EQ(cds.State(), dsEdit);
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
    EXPECT_EQ(cds.State(), dsBrowse);
    EXPECT_EQ(Field("mname"), QStringLiteral("水泥 cement"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(GridInputKeys, CtrlQuoteCopiesTheValueOfTheRecordAbove)
{
    GoTo(5, "munit");
    Key(Qt::Key_Apostrophe, Qt::ControlModifier);
    EXPECT_EQ(cds.State(), dsEdit);
    EXPECT_EQ(Field("munit"), QStringLiteral("张"));
    EXPECT_EQ(Rec(), 5);
}

TEST_F(GridInputKeys, EnterAsTabMovesToTheNextColumnAlsoFromTheEditor)
{
    grid->SetOptionsGx(grid->OptionsGx() + TDBGridGxOptions{dghEnterAsTab});
    GoTo(2, "code");
    Key(Qt::Key_Return);
    EXPECT_EQ(grid->SelectedIndex(), ColumnOf("mname"));
    Type(QStringLiteral("y"));
    ASSERT_TRUE(grid->InplaceEditorVisible());
    Key(Qt::Key_Return);
    EXPECT_EQ(grid->SelectedIndex(), ColumnOf("munit"));
    EXPECT_EQ(Field("mname"), QStringLiteral("y"));
    EXPECT_EQ(Rec(), 2);
}
