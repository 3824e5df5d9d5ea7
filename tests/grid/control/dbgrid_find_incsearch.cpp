// Incremental search in a read-only column of the material list: typed letters
// find the first record beginning with them (ignoring case, the text taking the
// cell's case), a letter that matches nothing is dropped, Backspace, the next
// and previous matches, the time-out, and Ctrl+F switching to the find dialog.
#include "dbgrid_input_fixture.h"

using namespace gxinput;

using GridFindIncSearch = GridTest;

TEST_F(GridFindIncSearch, TypingSearchesTheCurrentColumn)
{
    grid->SetOptionsGx(grid->OptionsGx() + TDBGridGxOptions{dghIncSearch});
    grid->Columns()->GetColumn(ColumnOf("mname"))->SetReadOnly(true);
    GoTo(1, "mname");
    Type(QStringLiteral("ST"));
    EXPECT_TRUE(grid->InplaceSearching());
    EXPECT_EQ(Rec(), 4);
    EXPECT_EQ(grid->InplaceSearchText(), QStringLiteral("st"));
    EXPECT_FALSE(grid->InplaceEditorVisible());
    // A letter that no record continues with is dropped.
    Type(QStringLiteral("ex"));
    EXPECT_EQ(grid->InplaceSearchText(), QStringLiteral("ste"));
    EXPECT_EQ(Rec(), 4);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(grid->InplaceSearchText(), QStringLiteral("st"));
    // The next match down, and back up.
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Rec(), 10);
    Key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Rec(), 4);
    // A search started by typing ends with its time-out.
    grid->Timer(2);
    EXPECT_FALSE(grid->InplaceSearching());
    EXPECT_EQ(grid->InplaceSearchText(), QString());
    // Esc ends a search too.
    Type(QStringLiteral("c"));
    EXPECT_EQ(Rec(), 6);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->InplaceSearching());
}

TEST_F(GridFindIncSearch, CtrlFStartsASearchAndTheSecondOpensTheDialog)
{
    grid->SetOptionsGx(grid->OptionsGx() + TDBGridGxOptions{dghIncSearch});
    GoTo(2, "code");
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(grid->InplaceSearching());
    EXPECT_TRUE(DialogScript::Log().isEmpty());
    // Typing on an editable column continues the running search.
    Type(QStringLiteral("d0"));
    EXPECT_EQ(Rec(), 7);
    EXPECT_EQ(grid->InplaceSearchText(), QStringLiteral("D0"));
    DialogScript::Answer(mrCancel);
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(grid->InplaceSearching());
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(DialogScript::Log().last().Caption, QStringLiteral("查找字符"));
}
