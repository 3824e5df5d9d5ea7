// Pick lists and key lists in the cell editor: typing completes against the
// list, a key pick-list text writes its key, and a text whose position the key
// list lacks writes no key (never one left from an earlier edit).
#include "dbgrid_input_fixture.h"

using namespace gxinput;

using GridEditLists = GridTest;

TEST_F(GridEditLists, TypingCompletesFromThePickList)
{
    TColumnGx* unit = grid->Columns()->GetColumn(ColumnOf("munit"));
    unit->PickList() = QStringList{QStringLiteral("Apple"), QStringLiteral("apricot"), QStringLiteral("吨")};
    GoTo(2, "munit");
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid->InplaceEditorVisible());
    auto* editor = static_cast<TDBGridInplaceEdit*>(grid->InplaceEditor());
    EXPECT_EQ(editor->EditStyle(), esPickList);
    editor->selectAll();
    Type(QStringLiteral("a"));
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("Apple"));
    EXPECT_EQ(editor->selectedText(), QStringLiteral("pple"));
    Type(QStringLiteral("pr"));
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("apricot"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Field("munit"), QStringLiteral("apricot"));
    // A letter no entry continues with is typed as it is on a plain pick list.
    GoTo(3, "munit");
    Key(Qt::Key_F2);
    editor->selectAll();
    Type(QStringLiteral("x"));
    EXPECT_EQ(grid->InplaceEditorText(), QStringLiteral("x"));
}

TEST_F(GridEditLists, KeyPickListWritesTheKeyOfTheChosenText)
{
    TColumnGx* unit = grid->Columns()->GetColumn(ColumnOf("munit"));
    // Three texts but only two keys.
    unit->PickList() = QStringList{QStringLiteral("吨位"), QStringLiteral("袋装"), QStringLiteral("散装")};
    unit->KeyList() = QStringList{QStringLiteral("吨"), QStringLiteral("袋")};
    ASSERT_EQ(unit->GetColumnType(), ctKeyPickList);
    GoTo(3, "munit");
    grid->SetEditText(QStringLiteral("袋装"));
    grid->DataLink()->Edit();
    grid->DataLink()->SetModified();
    grid->DataLink()->UpdateRecord();
    EXPECT_EQ(Field("munit"), QStringLiteral("袋"));
    // The third text has no key: the field is emptied, not given the key of
    // the edit before.
    grid->SetEditText(QStringLiteral("散装"));
    grid->DataLink()->SetModified();
    grid->DataLink()->UpdateRecord();
    EXPECT_TRUE(cds.FieldByName(QStringLiteral("munit"))->IsNull());
}
