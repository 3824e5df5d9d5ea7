// The cell editor over a word-wrapped column of rows three lines high: Ctrl+Enter breaks
// the line, Up and Down move the caret between the lines (and hand over to the grid at the
// first and last line when the editor is always shown), Enter stores the text, and a click
// puts the caret on the line under the mouse.
#include "dbgrid_input_fixture.h"

#include <QLineEdit>

using namespace gxinput;

namespace {

class GridEditWrap : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        if (HasFatalFailure())
            return;
        grid->SetRowLines(3);
        grid->Columns()->GetColumn(ColumnOf("mname"))->SetWordWrap(true);
        QApplication::processEvents();
    }
    // Opens the editor on a record's name with the text typed in line by line.
    void EditLines(int recNo, const QStringList& lines)
    {
        GoTo(recNo, "mname");
        Key(Qt::Key_F2);
        ASSERT_TRUE(grid->InplaceEditorVisible());
        Editor()->selectAll();
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                Key(Qt::Key_Return, Qt::ControlModifier);
            Type(lines[i]);
        }
    }
    TDBGridInplaceEdit* Editor() { return static_cast<TDBGridInplaceEdit*>(grid->InplaceEditor()); }
    int Caret() { return Editor()->cursorPosition(); }
};

} // namespace

TEST_F(GridEditWrap, CtrlEnterBreaksTheLineAndUpDownMoveBetweenLines)
{
    EditLines(2, {QStringLiteral("aaa"), QStringLiteral("bbb"), QStringLiteral("ccc")});
    ASSERT_TRUE(Editor()->WordWrap());
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("aaa\nbbb\nccc"));
    ASSERT_EQ(Caret(), 11);
    // Up twice: the end of each line above; a third stays on the first line.
    const struct {
        Qt::Key key;
        int caret;
    } steps[] = {{Qt::Key_Up, 7}, {Qt::Key_Up, 3}, {Qt::Key_Up, 3}, {Qt::Key_Down, 7}, {Qt::Key_Down, 11},
                 {Qt::Key_Down, 11}};
    for (const auto& s : steps) {
        SCOPED_TRACE(int(&s - steps));
        Key(s.key);
        EXPECT_EQ(Caret(), s.caret);
        EXPECT_EQ(Rec(), 2);
        EXPECT_TRUE(grid->InplaceEditorVisible());
    }
    // Shift+Up selects up to the same place on the line above.
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("\nccc"));
    // Enter stores the lines, it does not break one.
    Key(Qt::Key_Return);
    EXPECT_EQ(Field("mname"), QStringLiteral("aaa\nbbb\nccc"));
}

TEST_F(GridEditWrap, LongTextWrapsAndDownGoesToTheNextLine)
{
    GoTo(3, "mname");
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid->InplaceEditorVisible());
    Editor()->selectAll();
    const QString text = QStringLiteral("one two three four five six seven eight");
    Type(text);
    Editor()->setCursorPosition(0);
    Key(Qt::Key_Down);
    // The second line starts after the first word break, inside the text.
    EXPECT_GT(Caret(), 2);
    EXPECT_LT(Caret(), text.size());
    EXPECT_EQ(Rec(), 3);
    Key(Qt::Key_Up);
    EXPECT_EQ(Caret(), 0);
}

TEST_F(GridEditWrap, AlwaysShownEditorHandsOverAtTheFirstAndLastLine)
{
    grid->SetOptions(grid->Options() + TDBGridOptions{dgAlwaysShowEditor});
    EditLines(4, {QStringLiteral("x"), QStringLiteral("y")});
    ASSERT_EQ(Caret(), 3);
    Key(Qt::Key_Up);            // from the last line to the first: stays in the editor
    EXPECT_EQ(Caret(), 1);
    EXPECT_EQ(Rec(), 4);
    Key(Qt::Key_Up);            // on the first line: the grid moves to the record above
    EXPECT_EQ(Rec(), 3);
    EXPECT_EQ(Field("mname"), QString::fromUtf8(MaterialRows()[2].name));
    cds.SetRecNo(4);
    EXPECT_EQ(Field("mname"), QStringLiteral("x\ny"));

    // The whole text selected: Down goes to the grid at once.
    GoTo(5, "mname");
    QApplication::processEvents();
    ASSERT_TRUE(grid->InplaceEditorVisible());
    Editor()->selectAll();
    Key(Qt::Key_Down);
    EXPECT_EQ(Rec(), 6);
}

TEST_F(GridEditWrap, AClickPutsTheCaretOnTheLineUnderTheMouse)
{
    EditLines(2, {QStringLiteral("aaa"), QStringLiteral("bbb"), QStringLiteral("ccc")});
    const int line = Editor()->fontMetrics().height();
    TRect r;
    Editor()->GetEditTextRect(r);
    // Just right of the second line's last letter.
    const QPoint at(r.Left + Editor()->fontMetrics().horizontalAdvance(QStringLiteral("bbb")) + 1, r.Top + line + line / 2);
    QTest::mouseClick(Editor(), Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
    EXPECT_EQ(Caret(), 7);
    // Shift+click on the first line selects back to its start.
    QTest::mouseClick(Editor(), Qt::LeftButton, Qt::ShiftModifier, QPoint(r.Left, r.Top + line / 2));
    QApplication::processEvents();
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("aaa\nbbb"));
}

TEST_F(GridEditWrap, OneLineColumnsTakeNoLineBreak)
{
    grid->Columns()->GetColumn(ColumnOf("mtype"))->SetWordWrap(false);
    GoTo(2, "mtype");
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid->InplaceEditorVisible());
    EXPECT_FALSE(Editor()->WordWrap());
    Editor()->selectAll();
    Type(QStringLiteral("p"));
    Key(Qt::Key_Return, Qt::ControlModifier);
    Type(QStringLiteral("q"));
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("pq"));
}
