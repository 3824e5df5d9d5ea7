// The cell editor's edit styles and buttons on the bill heads of an account set:
// the style each column setting gives, the buttons laid out in the cell, the
// ellipsis button and Ctrl+Enter reaching the grid's button event, and up-down
// stepping.
#include "dbgrid_bills_fixture.h"
#include "grid/support/EditButtonControlGx.h"

using namespace gxinput;

using GridEditStyles = BillsGridTest;

TEST_F(GridEditStyles, StyleTable)
{
    struct Case {
        const char* name;
        const char* field;
        std::function<void(TColumnGx*)> setup;
        TEditStyle style;
        int buttons;   // visible buttons in the cell editor
    };
    const std::vector<Case> cases = {
        {"a date-time field", "bdate", [](TColumnGx*) {}, esDateCalendar, 1},
        {"a date-time field without buttons", "bdate", [](TColumnGx* c) { c->SetButtonStyle(cbsNone); }, esSimple, 0},
        {"plain text", "billnum", [](TColumnGx*) {}, esSimple, 0},
        {"a pick list", "billnum", [](TColumnGx* c) { c->PickList() = QStringList{QStringLiteral("RK0001")}; },
         esPickList, 1},
        {"a read-only pick list", "billnum",
         [](TColumnGx* c) {
             c->PickList() = QStringList{QStringLiteral("RK0001")};
             c->SetReadOnly(true);
         },
         esSimple, 0},
        {"an ellipsis and one extra button", "billnum",
         [](TColumnGx* c) {
             c->SetButtonStyle(cbsEllipsis);
             c->EditButtons()->Add();
         },
         esEllipsis, 2},
        {"up and down", "fid", [](TColumnGx* c) { c->SetButtonStyle(cbsUpDown); }, esUpDown, 1},
        {"the other drop-down on a date", "bdate", [](TColumnGx* c) { c->SetButtonStyle(cbsAltDropDown); },
         esAltCalendar, 1},
    };
    for (const Case& c : cases) {
        grid->Columns()->RebuildColumns();
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->GetColumn(i)->SetWidth(120);
        TColumnGx* column = Column(c.field);
        ASSERT_NE(column, nullptr) << c.name;
        c.setup(column);
        QApplication::processEvents();
        EXPECT_EQ(TDBGridInplaceEdit::ColumnEditStyle(column), c.style) << c.name;
        TDBGridInplaceEdit* editor = OpenEditor(c.field);
        if (!editor || !editor->isVisible()) {
            // A read-only column opens no editor.
            EXPECT_EQ(c.buttons, 0) << c.name;
            continue;
        }
        EXPECT_EQ(editor->EditStyle(), c.style) << c.name;
        int shown = 0;
        for (int i = 0; i < editor->EditButtonCount(); ++i)
            shown += editor->EditButtonControl(i)->isVisible() ? 1 : 0;
        EXPECT_EQ(shown, c.buttons) << c.name;
        TRect text;
        editor->GetEditTextRect(text);
        EXPECT_EQ(text.Right, editor->width() - 2 - editor->ButtonsWidth()) << c.name;
        EXPECT_EQ(editor->ButtonsWidth() > 0, c.buttons > 0) << c.name;
        Key(Qt::Key_Escape);
        Key(Qt::Key_Escape);
    }
}

TEST_F(GridEditStyles, EllipsisButtonAndCtrlEnterReachTheGrid)
{
    Column("billnum")->SetButtonStyle(cbsEllipsis);
    int clicks = 0;
    grid->OnEditButtonClick = [&](QObject*) { ++clicks; };
    TDBGridInplaceEdit* editor = OpenEditor("billnum");
    ASSERT_TRUE(editor && editor->isVisible());
    TEditButtonControlGx* button = editor->EditButtonControl(0);
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->width() / 2, button->height() / 2));
    QApplication::processEvents();
    EXPECT_EQ(clicks, 1);
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks, 2);
}

TEST_F(GridEditStyles, UpDownStepsByTheIncrement)
{
    TColumnGx* fid = Column("fid");
    fid->SetButtonStyle(cbsUpDown);
    fid->SetIncrement(5);
    TDBGridInplaceEdit* editor = OpenEditor("fid");
    ASSERT_TRUE(editor && editor->isVisible());
    editor->StepByButton(false);
    EXPECT_EQ(bills.FieldByName(QStringLiteral("fid"))->AsInteger(), 6);
    EXPECT_EQ(editor->Text(), QStringLiteral("6"));
    editor->StepByButton(true);
    EXPECT_EQ(bills.FieldByName(QStringLiteral("fid"))->AsInteger(), 1);
}

TEST_F(GridEditStyles, CheckBoxColumnsToggleBySpaceClickAndDelete)
{
    TColumnGx* audited = Column("brecorded");
    ASSERT_EQ(audited->GetColumnType(), ctCheckboxes);
    TField* field = bills.FieldByName(QStringLiteral("brecorded"));
    grid->SetSelectedIndex(audited->Index());
    grid->setFocus();
    Key(Qt::Key_Space);
    EXPECT_TRUE(field->AsBoolean());
    EXPECT_FALSE(grid->InplaceEditorVisible());
    Key(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_FALSE(field->AsBoolean());
    // A click on the cell toggles it.
    Click(audited->Index() + 1, 1);
    EXPECT_TRUE(field->AsBoolean());
    // Delete empties a field that is not required.
    Key(Qt::Key_Delete);
    EXPECT_TRUE(field->IsNull());
}
