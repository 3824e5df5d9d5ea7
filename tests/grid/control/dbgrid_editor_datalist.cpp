// The cell editor's data list: bill lines whose material is a lookup into the
// material list of an account set. The list opens on the cell's key, follows
// the arrows, puts the text back on Escape, writes the chosen key on Enter or a
// click, sizes itself by the list's records, and typed text completes against it.
#include "dbgrid_input_fixture.h"
#include "grid/control/DBLookupGridGx.h"
#include "grid/support/EditButtonControlGx.h"

using namespace gxinput;

class GridEditorDataList : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        if (HasFatalFailure())
            return;
        lines.FieldDefs().Add(QStringLiteral("lid"), ftInteger);
        lines.FieldDefs().Add(QStringLiteral("mid"), ftInteger);
        auto* material = lines.AddField<TStringField>(QStringLiteral("material"), fkLookup, 40);
        material->KeyFields = QStringLiteral("mid");
        material->LookupKeyFields = QStringLiteral("FID");
        material->LookupResultField = QStringLiteral("mname");
        material->LookupDataSet = &cds;
        lines.CreateDataSet();
        lines.AppendRecord({Variant(1), Variant(2)});
        lines.AppendRecord({Variant(2), Variant(5)});
        lines.First();
        src.SetDataSet(&lines);
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->GetColumn(i)->SetWidth(120);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        src.SetDataSet(&cds);
        lines.Close();
        GridTest::TearDown();
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        GridTest::Key(key, mods);
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    TDBGridInplaceEdit* OpenMaterial()
    {
        grid->SetSelectedIndex(ColumnOf("material"));
        grid->setFocus();
        Key(Qt::Key_F2);
        auto* editor = dynamic_cast<TDBGridInplaceEdit*>(grid->InplaceEditor());
        EXPECT_TRUE(editor && editor->isVisible());
        EXPECT_EQ(editor ? editor->EditStyle() : esSimple, esDataList);
        return editor;
    }
    QString Name(int fid) { return QString::fromUtf8(MaterialRows()[size_t(fid - 1)].name); }
    int Mid() { return lines.FieldByName(QStringLiteral("mid"))->AsInteger(); }
    TClientDataSet lines;
};

TEST_F(GridEditorDataList, OpensOnTheKeyFollowsTheArrowsAndEscapeRestores)
{
    TDBGridInplaceEdit* editor = OpenMaterial();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->Text(), Name(2));
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->ListVisible());
    TPopupDataGridGx* list = editor->DataList();
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_EQ(editor->ActiveList(), list);
    EXPECT_EQ(list->KeyValue().ToInt(), 2);
    EXPECT_EQ(list->RowCount(), 7);
    EXPECT_GE(list->width(), editor->width());
    Key(Qt::Key_Down);
    EXPECT_EQ(list->KeyValue().ToInt(), 3);
    EXPECT_EQ(editor->Text(), Name(3));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(editor->Text(), Name(2));
    EXPECT_EQ(Mid(), 2);
    // The button opens it again; Enter takes the record, the grid writes its key.
    TEditButtonControlGx* button = editor->EditButtonControl(0);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->width() / 2, button->height() / 2));
    Settle();
    ASSERT_TRUE(list->isVisible());
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(editor->Text(), Name(4));
    EXPECT_EQ(grid->EditKeyValue().ToInt(), 4);
    Key(Qt::Key_Return);
    EXPECT_EQ(Mid(), 4);
}

TEST_F(GridEditorDataList, RowsFollowTheListAndAClickChooses)
{
    TColumnGx* column = grid->Columns()->GetColumn(ColumnOf("material"));
    struct Case {
        int dropDownRows;
        int rows;
    };
    for (const Case& c : {Case{7, 7}, Case{20, 12}}) {
        column->SetDropDownRows(c.dropDownRows);
        TDBGridInplaceEdit* editor = OpenMaterial();
        ASSERT_TRUE(editor);
        Key(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(editor->DataList() && editor->DataList()->isVisible());
        EXPECT_EQ(editor->DataList()->RowCount(), c.rows) << c.dropDownRows;
        Key(Qt::Key_Escape);
        Key(Qt::Key_Escape);
    }
    TDBGridInplaceEdit* editor = OpenMaterial();
    Key(Qt::Key_Down, Qt::AltModifier);
    TPopupDataGridGx* list = editor->DataList();
    const TRect row = list->CellRect(list->IndicatorOffset(), list->TopDataOffset() + 5);
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(row.Left + 5, (row.Top + row.Bottom) / 2));
    Settle();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(editor->Text(), Name(6));
    EXPECT_EQ(grid->EditKeyValue().ToInt(), 6);
}

TEST_F(GridEditorDataList, TypedTextCompletesAgainstTheList)
{
    TDBGridInplaceEdit* editor = OpenMaterial();
    ASSERT_TRUE(editor);
    editor->selectAll();
    Type(QStringLiteral("s"));
    EXPECT_EQ(editor->Text(), Name(4));
    EXPECT_EQ(editor->selectedText(), Name(4).mid(1));
    EXPECT_EQ(grid->EditKeyValue().ToInt(), 4);
    // The open list follows the typed key.
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(editor->DataList()->KeyValue().ToInt(), 4);
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    EXPECT_EQ(Mid(), 4);
}
