// Editing in the data grid's cell editor on an account set's material list: the
// typed text reaches the field on Enter and on a move, Esc reverts, an untouched
// new record goes when the grid is left, Esc in a dialog cancels the edit and
// not the dialog, and pasted text keeps only what the field accepts.
#include "dbgrid_input_fixture.h"
#include "platform/gui/Clipboard.h"

#include <QInputMethodEvent>
#include <QLineEdit>

using namespace gxinput;

using GridEditCommit = GridTest;

TEST_F(GridEditCommit, TypedTextReachesTheFieldOnEnterAndOnAMove)
{
    GoTo(3, "mtype");
    Type(QStringLiteral("粗砂"));
    ASSERT_TRUE(grid->InplaceEditorVisible());
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("粗砂"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Field("mtype"), QStringLiteral("粗砂"));
    EXPECT_EQ(cds.State(), dsEdit);

    // A move posts: the next record, and the text typed on record 4 is stored.
    GoTo(4, "mtype");
    Type(QStringLiteral("Q345"));
    Key(Qt::Key_Down);
    EXPECT_EQ(Rec(), 5);
    EXPECT_EQ(cds.State(), dsBrowse);
    cds.SetRecNo(4);
    EXPECT_EQ(Field("mtype"), QStringLiteral("Q345"));
    cds.SetRecNo(3);
    EXPECT_EQ(Field("mtype"), QStringLiteral("粗砂"));
}

TEST_F(GridEditCommit, EscRevertsTheTextThenCancelsTheRecord)
{
    GoTo(2, "mname");
    Type(QStringLiteral("x"));
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("x"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Field("mname"), QStringLiteral("水泥 cement"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(cds.State(), dsBrowse);
    EXPECT_EQ(Field("mname"), QStringLiteral("水泥 cement"));
    // The dialog's cancel button was not pressed by either Esc.
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->ModalResult(), mrNone);
}

TEST_F(GridEditCommit, LeavingTheGridDropsAnUntouchedNewRecord)
{
    const int count = cds.RecordCount();
    GoTo(4, "code");
    Key(Qt::Key_Insert);
    ASSERT_EQ(cds.State(), dsInsert);
    cancel->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(cds.State(), dsBrowse);
    EXPECT_EQ(cds.RecordCount(), count);
}

TEST_F(GridEditCommit, PasteKeepsTheCharactersTheFieldAccepts)
{
    GoTo(6, "FID");
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid->InplaceEditorVisible());
    auto* editor = static_cast<QLineEdit*>(grid->InplaceEditor());
    editor->selectAll();
    Clipboard()->SetAsText(QStringLiteral("4a2 b7"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("427"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Field("FID"), QStringLiteral("427"));
}

TEST_F(GridEditCommit, InputMethodTextGoesIntoTheEditor)
{
    GoTo(5, "mname");
    EXPECT_TRUE(grid->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent compose;
    compose.setCommitString(QStringLiteral("方木"));
    QApplication::sendEvent(grid, &compose);
    QApplication::processEvents();
    ASSERT_TRUE(grid->InplaceEditorVisible());
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("方木"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Field("mname"), QStringLiteral("方木"));
}

TEST_F(GridEditCommit, SelectionCursorsOverTheIndicatorAndTheTitleBottom)
{
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    const TRect title = grid->CellRect(2, 0);
    const TRect indicator = grid->CellRect(0, 3);
    EXPECT_EQ(grid->CursorAt((title.Left + title.Right) / 2, title.Bottom - 2), crUpArrow);
    EXPECT_NE(grid->CursorAt((title.Left + title.Right) / 2, title.Top + 2), crUpArrow);
    EXPECT_EQ(grid->CursorAt(indicator.Left + 3, indicator.Top + 3), crHandPoint);
    // An empty dataset shows the normal cursor over the indicator.
    cds.EmptyDataSet();
    QApplication::processEvents();
    const TRect row = grid->CellRect(0, 1);
    EXPECT_NE(grid->CursorAt(row.Left + 3, row.Top + 3), crHandPoint);
}

TEST_F(GridEditCommit, AnAlwaysShownEditorGoesWhenTheDatasetCloses)
{
    TDBGridOptions o = grid->Options();
    o.Include(dgAlwaysShowEditor);
    grid->SetOptions(o);
    GoTo(2, "mname");
    ASSERT_TRUE(grid->InplaceEditorVisible());
    // Closing (as a form does when it reloads its data) must not reload the editor from no record.
    EXPECT_NO_THROW(cds.Close());
    EXPECT_FALSE(grid->InplaceEditorVisible());
}
