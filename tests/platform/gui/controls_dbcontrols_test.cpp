// Data-aware controls bound to a client dataset: an edit writes its field when
// left, a check box posts its texts, a lookup combo box writes the key, a memo
// writes its lines.
#include "events_support.h"

#include "DBControls.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/Field.h"
#include "platform/rtl/Exceptions.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

struct DBFixture : ::testing::Test {
    TClientDataSet items;
    TDataSource itemsSource;
    TClientDataSet depts;
    TDataSource deptsSource;
    TForm form;
    QLineEdit* other = new QLineEdit(&form);

    void SetUp() override
    {
        items.FieldDefs().Add("name", ftWideString, 20);
        items.FieldDefs().Add("qty", ftInteger);
        items.FieldDefs().Add("flag", ftString, 5);
        items.FieldDefs().Add("audited", ftBoolean);
        items.FieldDefs().Add("dptid", ftInteger);
        items.FieldDefs().Add("remark", ftWideString, 200);
        items.CreateDataSet();
        items.AppendRecord({Variant(QStringLiteral("钢筋")), Variant(qint64(5)), Variant(QStringLiteral("False")),
                            Variant(false), Variant(qint64(1)), Variant(QStringLiteral("第一行"))});
        items.AppendRecord({Variant(QStringLiteral("水泥")), Variant(qint64(7)), Variant::Null(), Variant::Null(),
                            Variant(qint64(2)), Variant::Null()});
        items.First();
        itemsSource.SetDataSet(&items);

        depts.FieldDefs().Add("fid", ftInteger);
        depts.FieldDefs().Add("dptname", ftWideString, 20);
        depts.CreateDataSet();
        depts.AppendRecord({Variant(qint64(1)), Variant(QStringLiteral("财务部"))});
        depts.AppendRecord({Variant(qint64(2)), Variant(QStringLiteral("工程部"))});
        depts.AppendRecord({Variant(qint64(3)), Variant(QStringLiteral("材料部"))});
        depts.First();
        deptsSource.SetDataSet(&depts);
        other->move(0, 200);
    }
    void focusOther()
    {
        other->setFocus();
        ASSERT_TRUE(other->hasFocus());
    }
};

TEST_F(DBFixture, EditWritesTheFieldWhenLeft)
{
    auto* edit = new TDBEdit(&form);
    edit->SetDataSource(&itemsSource);
    edit->SetDataField(QStringLiteral("NAME"));
    showActive(&form);
    EXPECT_EQ(edit->text(), QStringLiteral("钢筋"));
    EXPECT_EQ(edit->maxLength(), 20);

    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, QStringLiteral("HRB"));
    QInputMethodEvent ime;
    ime.setCommitString(QStringLiteral("钢"));
    QApplication::sendEvent(edit, &ime);
    EXPECT_EQ(items.State(), dsEdit);
    EXPECT_EQ(items.FieldByName("name")->AsString(), QStringLiteral("钢筋")) << "written only on exit";
    focusOther();
    EXPECT_EQ(items.FieldByName("name")->AsString(), QStringLiteral("钢筋HRB钢"));
    items.Post();
    EXPECT_EQ(items.FieldByName("name")->AsString(), QStringLiteral("钢筋HRB钢"));

    // Moving to another record shows its value.
    items.Next();
    EXPECT_EQ(edit->text(), QStringLiteral("水泥"));

    // Esc after typing brings the field's value back.
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("xx"));
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), QStringLiteral("水泥"));
    focusOther();
    EXPECT_EQ(items.FieldByName("name")->AsString(), QStringLiteral("水泥"));
    items.Cancel();
}

TEST_F(DBFixture, EditThatCannotWriteKeepsTheFocus)
{
    TDialogScriptScope script;
    auto* edit = new TDBEdit(&form);
    edit->SetDataSource(&itemsSource);
    edit->SetDataField(QStringLiteral("qty"));
    showActive(&form);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("abc"));
    other->setFocus();
    EXPECT_TRUE(edit->hasFocus());
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(DialogScript::Log()[0].Kind, QStringLiteral("Error"));
    EXPECT_EQ(items.FieldByName("qty")->AsInteger(), 5);
    // A number is accepted and the focus moves.
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("12"));
    focusOther();
    EXPECT_EQ(items.FieldByName("qty")->AsInteger(), 12);
    items.Post();
}

TEST_F(DBFixture, ReadOnlyEditDropsKeys)
{
    auto* edit = new TDBEdit(&form);
    edit->SetDataSource(&itemsSource);
    edit->SetDataField(QStringLiteral("name"));
    edit->SetReadOnly(true);
    showActive(&form);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("zz"));
    EXPECT_EQ(edit->text(), QStringLiteral("钢筋"));
    EXPECT_EQ(items.State(), dsBrowse);
}

TEST_F(DBFixture, CheckBoxPostsTrueAndFalse)
{
    auto* box = new TDBCheckBox(&form);
    box->SetCaption(QStringLiteral("已审核"));
    box->SetDataSource(&itemsSource);
    box->SetDataField(QStringLiteral("flag"));
    auto* boolBox = new TDBCheckBox(&form);
    boolBox->move(0, 30);
    boolBox->SetDataSource(&itemsSource);
    boolBox->SetDataField(QStringLiteral("audited"));
    showActive(&form);
    EXPECT_EQ(box->State(), cbUnchecked);

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(items.State(), dsEdit);
    QTest::mouseClick(boolBox, Qt::LeftButton);
    items.Post();
    EXPECT_EQ(items.FieldByName("flag")->AsString(), QStringLiteral("True"));
    EXPECT_TRUE(items.FieldByName("audited")->AsBoolean());

    QTest::mouseClick(box, Qt::LeftButton);
    focusOther();   // leaving writes the field as well
    EXPECT_EQ(items.FieldByName("flag")->AsString(), QStringLiteral("False"));
    items.Post();

    // Null shows grayed; other texts per ValueChecked / ValueUnchecked.
    items.Next();
    EXPECT_EQ(box->State(), cbGrayed);
    box->SetValueChecked(QStringLiteral("是;Y"));
    box->SetValueUnchecked(QStringLiteral("否;N"));
    items.Edit();
    items.FieldByName("flag")->SetAsString(QStringLiteral("y"));
    EXPECT_EQ(box->State(), cbChecked);
    QTest::mouseClick(box, Qt::LeftButton);
    items.Post();
    EXPECT_EQ(items.FieldByName("flag")->AsString(), QStringLiteral("否"));
}

TEST_F(DBFixture, LookupComboBoxWritesTheKey)
{
    auto* combo = new TDBLookupComboBox(&form);
    combo->SetListSource(&deptsSource);
    combo->SetKeyField(QStringLiteral("fid"));
    combo->SetListField(QStringLiteral("dptname"));
    combo->SetDataSource(&itemsSource);
    combo->SetDataField(QStringLiteral("dptid"));
    showActive(&form);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->Text(), QStringLiteral("财务部"));
    EXPECT_EQ(depts.RecNo(), 1) << "the list dataset keeps its record";

    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(items.State(), dsEdit);
    EXPECT_EQ(items.FieldByName("dptid")->AsInteger(), 2);
    combo->SelectIndex(2);
    EXPECT_EQ(items.FieldByName("dptid")->AsInteger(), 3);
    items.Post();

    items.Next();
    EXPECT_EQ(combo->Text(), QStringLiteral("工程部"));
    EXPECT_EQ(combo->KeyValue(), Variant(qint64(2)));
    // A key that is not in the list shows nothing.
    items.Edit();
    items.FieldByName("dptid")->SetAsInteger(9);
    EXPECT_EQ(combo->currentIndex(), -1);
    items.Cancel();
    // The list follows its dataset.
    depts.AppendRecord({Variant(qint64(4)), Variant(QStringLiteral("设备部"))});
    EXPECT_EQ(combo->count(), 4);
}

TEST_F(DBFixture, MemoWritesItsLinesWhenLeft)
{
    auto* memo = new TDBMemo(&form);
    memo->SetDataSource(&itemsSource);
    memo->SetDataField(QStringLiteral("remark"));
    showActive(&form);
    EXPECT_EQ(memo->Text(), QStringLiteral("第一行"));
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("line 2"));
    EXPECT_EQ(items.FieldByName("remark")->AsString(), QStringLiteral("第一行"));
    focusOther();
    EXPECT_EQ(items.FieldByName("remark")->AsString(), QStringLiteral("第一行\nline 2"));
    items.Post();
}

} // namespace
