// The data-aware edit against a client dataset: display and edit text, writing
// back, read-only state, Escape, the editor's own value, keys and the edit mask.
#include "DBCtrlsGx.h"
#include "dataset_fixture.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Form.h"
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A window with the editor and a second widget to move the focus to.
struct EditHost {
    std::unique_ptr<TClientDataSet> ds;
    TDataSource src;
    QWidget window;
    TDBEditGx* edit = new TDBEditGx(&window);
    QLineEdit* other = new QLineEdit(&window);
    QStringList errors;

    explicit EditHost(bool bound = true, const char* field = "name")
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        if (bound) {
            ds = gxtest::MakeDataSet({{Variant(1), Variant(QStringLiteral("apple")), Variant(2.5)},
                                      {Variant(2), Variant(QStringLiteral("pear")), Variant(10.0)}});
            src.SetDataSet(ds.get());
            edit->SetDataSource(&src);
            edit->SetDataField(QString::fromLatin1(field));
        }
        Application->OnException = [this](QObject*, const std::exception& e) {
            errors << QString::fromUtf8(e.what());
        };
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        other->setFocus();
        QApplication::processEvents();
    }
    ~EditHost() { Application->OnException = nullptr; }
    TField* F(const char* name) { return ds->FieldByName(QString::fromLatin1(name)); }
    void Enter()
    {
        edit->SetFocus();
        QApplication::processEvents();
    }
    void Leave()
    {
        other->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }
    QWidget* Keys() { return edit->EditWindow(); }
};

} // namespace

TEST(DBEditGx, DisplayTextUnfocusedEditTextFocused)
{
    EditHost h(true, "qty");
    auto* qty = static_cast<TBCDField*>(h.F("qty"));
    qty->SetDisplayFormat(QStringLiteral("0.00 kg"));
    qty->SetEditFormat(QStringLiteral("0.###"));
    h.ds->Refresh();
    h.edit->DataLink()->Reset();
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2.50 kg"));
    // A numeric field is right-aligned while unfocused only.
    EXPECT_TRUE(h.edit->EditWindow()->alignment() & Qt::AlignRight);
    h.Enter();
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2.5"));
    EXPECT_TRUE(h.edit->EditWindow()->alignment() & Qt::AlignLeft);
    EXPECT_EQ(h.edit->SelText(), QStringLiteral("2.5"));   // AutoSelect
    h.Leave();
    EXPECT_EQ(h.edit->Text(), QStringLiteral("2.50 kg"));
    EXPECT_TRUE(h.edit->EditWindow()->alignment() & Qt::AlignRight);
    // Scrolling shows the next record.
    h.ds->Next();
    EXPECT_EQ(h.edit->Text(), QStringLiteral("10.00 kg"));
}

TEST(DBEditGx, TypingEditsAndLeavingWritesBack)
{
    EditHost h;
    h.Enter();
    EXPECT_EQ(h.ds->State(), dsBrowse);
    QTest::keyClick(h.Keys(), Qt::Key_End);
    QTest::keyClicks(h.Keys(), QStringLiteral("s"));
    EXPECT_EQ(h.ds->State(), dsEdit);         // the first editing key starts the edit
    EXPECT_EQ(h.edit->Text(), QStringLiteral("apples"));
    EXPECT_TRUE(h.edit->Modified());
    EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("apple"));   // not yet written
    h.Leave();
    EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("apples"));
    EXPECT_FALSE(h.edit->Modified());
    EXPECT_TRUE(h.errors.isEmpty());
    h.ds->Post();
    EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("apples"));
}

TEST(DBEditGx, EditingKeysStartTheEdit)
{
    struct Case { Qt::Key key; Qt::KeyboardModifiers mods; bool edits; } cases[] = {
        {Qt::Key_Delete, Qt::NoModifier, true},
        {Qt::Key_Backspace, Qt::NoModifier, true},
        {Qt::Key_Left, Qt::NoModifier, false},
        {Qt::Key_Home, Qt::ShiftModifier, false},
        {Qt::Key_C, Qt::ControlModifier, false},   // copy
        {Qt::Key_A, Qt::ControlModifier, false},   // select all
    };
    for (const Case& c : cases) {
        EditHost h;
        h.Enter();
        QTest::keyClick(h.Keys(), c.key, c.mods);
        EXPECT_EQ(h.ds->State() == dsEdit, c.edits) << c.key;
    }
    // Ctrl+A selects all text.
    EditHost h;
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_End);
    QTest::keyClick(h.Keys(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(h.edit->SelText(), QStringLiteral("apple"));
}

TEST(DBEditGx, ReadOnlyFollowsTheDataset)
{
    EditHost h;
    // Unfocused: read-only while browsing, writable in edit state.
    EXPECT_TRUE(h.edit->EditWindow()->isReadOnly());
    h.ds->Edit();
    EXPECT_FALSE(h.edit->EditWindow()->isReadOnly());
    h.ds->Cancel();
    EXPECT_TRUE(h.edit->EditWindow()->isReadOnly());
    // ReadOnly wins over the edit state.
    h.edit->SetReadOnly(true);
    h.ds->Edit();
    EXPECT_TRUE(h.edit->EditWindow()->isReadOnly());
    h.ds->Cancel();
    h.edit->SetReadOnly(false);
    // A read-only field: the link never edits; an OnUpdateData handler makes the
    // window writable while the dataset is in edit state.
    h.F("name")->SetReadOnly(true);
    h.edit->DataLink()->Reset();
    h.ds->Edit();
    EXPECT_TRUE(h.edit->EditWindow()->isReadOnly());
    h.edit->OnUpdateData = [](QObject*, bool& handled) { handled = true; };
    h.edit->SetReadOnly(false);
    EXPECT_FALSE(h.edit->EditWindow()->isReadOnly());
    h.ds->Cancel();
    // A read-only editor ignores typing and leaves the dataset browsing.
    EditHost r;
    r.edit->SetReadOnly(true);
    r.Enter();
    QTest::keyClicks(r.Keys(), QStringLiteral("xy"));
    EXPECT_EQ(r.ds->State(), dsBrowse);
    EXPECT_EQ(r.edit->Text(), QStringLiteral("apple"));
}

TEST(DBEditGx, EscapeRestoresTheFieldAndSelectsAll)
{
    EditHost h;
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_End);
    QTest::keyClicks(h.Keys(), QStringLiteral("zz"));
    EXPECT_TRUE(h.edit->WantSpecialKey(VK_ESCAPE, TShiftState()));   // claimed while modified
    QTest::keyClick(h.Keys(), Qt::Key_Escape);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("apple"));
    EXPECT_EQ(h.edit->SelText(), QStringLiteral("apple"));
    EXPECT_FALSE(h.edit->Modified());
    // A second Escape is left to the form.
    EXPECT_FALSE(h.edit->WantSpecialKey(VK_ESCAPE, TShiftState()));
}

TEST(DBEditGx, OwnValueWithoutDataSource)
{
    EditHost h(false);
    EXPECT_TRUE(h.edit->DataLink()->DataIndepended());
    EXPECT_EQ(h.edit->Value(), Variant(QString()));   // an empty string, not Null
    h.Enter();
    QTest::keyClicks(h.Keys(), QStringLiteral("abc"));
    h.Leave();
    EXPECT_EQ(h.edit->DataLink()->DataIndependentValue, Variant(QStringLiteral("abc")));
    EXPECT_EQ(h.edit->Value(), Variant(QStringLiteral("abc")));
    // Value and Text from code write at once.
    h.edit->SetValue(Variant(42));
    EXPECT_EQ(h.edit->Text(), QStringLiteral("42"));
    EXPECT_EQ(h.edit->DataLink()->DataIndependentValue, Variant(QStringLiteral("42")));
    h.edit->SetText(QString());
    EXPECT_EQ(h.edit->Value(), Variant(QString()));
}

TEST(DBEditGx, ValueFromCodePutsTheDatasetIntoEditState)
{
    EditHost h;
    int changes = 0;
    h.F("name")->OnChange = [&](TField*) { ++changes; };
    h.edit->SetValue(Variant(QStringLiteral("plum")));
    EXPECT_EQ(h.ds->State(), dsEdit);
    EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("plum"));
    EXPECT_EQ(changes, 1);
    // A failing write shows the field again and raises.
    EditHost n(true, "id");
    EXPECT_THROW(n.edit->SetText(QStringLiteral("x1")), Exception);
    EXPECT_EQ(n.edit->Text(), QStringLiteral("1"));
}

TEST(DBEditGx, OnUpdateDataHandlesTheWrite)
{
    EditHost h;
    int calls = 0;
    h.edit->OnUpdateData = [&](QObject* sender, bool& handled) {
        ++calls;
        // An assignment inside the handler does not write back again.
        static_cast<TCustomDBEditGx*>(sender)->SetText(QStringLiteral("from handler"));
        handled = true;
    };
    h.edit->SetValue(Variant(QStringLiteral("typed")));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("apple"));
    h.edit->OnUpdateData = [&](QObject*, bool& handled) { ++calls; handled = false; };
    h.edit->SetValue(Variant(QStringLiteral("typed")));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("typed"));
}

TEST(DBEditGx, FieldRejectsCharactersWithABeep)
{
    EditHost h(true, "id");
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_End);
    QTest::keyClicks(h.Keys(), QStringLiteral("a7-"));
    EXPECT_EQ(h.edit->Text(), QStringLiteral("17-"));
    EditHost q(true, "qty");
    q.Enter();
    QTest::keyClick(q.Keys(), Qt::Key_End);
    QTest::keyClicks(q.Keys(), QStringLiteral("x5e"));
    EXPECT_EQ(q.edit->Text(), QStringLiteral("2.55e"));
}

TEST(DBEditGx, WriteErrorOnLeavingKeepsTheFocus)
{
    EditHost h(true, "qty");
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_End);
    QTest::keyClicks(h.Keys(), QStringLiteral("e"));   // "2.5e" is no number
    h.Leave();
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.edit->Focused());
    EXPECT_EQ(h.edit->SelText(), h.edit->Text());
    // Corrected, the editor lets the focus go.
    QTest::keyClick(h.Keys(), Qt::Key_End);
    QTest::keyClick(h.Keys(), Qt::Key_Backspace);
    h.Leave();
    EXPECT_EQ(h.errors.size(), 1);
    EXPECT_FALSE(h.edit->Focused());
    EXPECT_EQ(h.F("qty")->AsFloat(), 2.5);
}

TEST(DBEditGx, MaxLengthFollowsStringFields)
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add(QStringLiteral("short"), ftString, 10);
    ds->FieldDefs().Add(QStringLiteral("long"), ftWideString, 20);
    ds->FieldDefs().Add(QStringLiteral("n"), ftInteger);
    ds->CreateDataSet();
    ds->AppendRecord({Variant(QStringLiteral("a")), Variant(QStringLiteral("b")), Variant(1)});
    TDataSource src;
    src.SetDataSet(ds.get());
    TDBEditGx edit;
    edit.SetDataSource(&src);
    struct Step { const char* field; int maxLength; } steps[] = {
        {"short", 10}, {"long", 20}, {"n", 0}, {"short", 10},
    };
    for (const Step& s : steps) {
        edit.SetDataField(QString::fromLatin1(s.field));
        EXPECT_EQ(edit.MaxLength(), s.maxLength) << s.field;
    }
    // An explicit MaxLength different from the field's size stays.
    edit.SetMaxLength(4);
    edit.SetDataField(QStringLiteral("long"));
    EXPECT_EQ(edit.MaxLength(), 4);
}

TEST(DBEditGx, EditMaskTranslation)
{
    struct Case { const char* mask; const char* input; bool save; char blank; } cases[] = {
        {"000-0000;1;_", "999-9999;_", true, '_'},
        {"99/99;0; ", "00-00; ", false, ' '},            // '/' is the date separator
        {">LL<ll", ">AA<aa;_", true, '_'},
        {"AaCc#", "NnXx#;_", true, '_'},
        {"\\H\\A 00:00", "\\H\\A 99:99;_", true, '_'},    // escaped literals stay literal
        {"!9999;1;*", "0000;*", true, '*'},
        {"<>cc", "!xx;_", true, '_'},
        {"", "", true, '_'},
    };
    for (const Case& c : cases) {
        const QString mask = QString::fromLatin1(c.mask);
        EXPECT_EQ(EditMaskToInputMask(mask), QString::fromLatin1(c.input)) << c.mask;
        EXPECT_EQ(EditMaskSavesLiterals(mask), c.save) << c.mask;
        EXPECT_EQ(EditMaskBlank(mask), QChar::fromLatin1(c.blank)) << c.mask;
    }
}

TEST(DBEditGx, MaskedEditorValidatesOnLeaving)
{
    EditHost h(false);
    h.edit->SetEditMask(QStringLiteral("000-0000;0;_"));
    EXPECT_EQ(h.edit->EmptyMaskText(), QStringLiteral("___-____"));
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Home);
    QTest::keyClicks(h.Keys(), QStringLiteral("12x3"));
    EXPECT_EQ(h.edit->EditText(), QStringLiteral("123-____"));
    h.Leave();   // incomplete: refused, the focus stays
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.errors.first().startsWith(QStringLiteral("Invalid input value")));
    EXPECT_TRUE(h.edit->Focused());
    EXPECT_EQ(h.edit->SelStart(), 4);   // the caret waits at the first blank
    QTest::keyClicks(h.Keys(), QStringLiteral("4567"));
    h.Leave();
    EXPECT_EQ(h.errors.size(), 1);
    EXPECT_EQ(h.edit->Text(), QStringLiteral("1234567"));   // literals not kept
    EXPECT_EQ(h.edit->DataLink()->DataIndependentValue, Variant(QStringLiteral("123-4567")));
}

TEST(DBEditGx, FieldEditMaskAppliesUnlessExplicit)
{
    EditHost h;
    h.F("name")->SetEditMask(QStringLiteral(">LLLLL;1;_"));
    h.edit->DataLink()->Reset();
    EXPECT_EQ(h.edit->EditMask(), QStringLiteral(">LLLLL;1;_"));
    EXPECT_EQ(h.edit->Text(), QStringLiteral("APPLE"));
    h.edit->SetEditMask(QString());
    h.edit->DataLink()->Reset();
    EXPECT_EQ(h.edit->EditMask(), QString());
    EXPECT_EQ(h.edit->Text(), QStringLiteral("apple"));
}

// Select-all and Delete as the first editing key of a masked editor empties it: starting
// the edit reads the field again, which must not put the text back over the selection.
TEST(DBEditGx, MaskedSelectAllDeleteAsFirstKey)
{
    EditHost h;
    h.edit->SetEditMask(QStringLiteral(">LLLLL;1;_"));
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Home);
    QTest::keyClick(h.Keys(), Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(h.Keys(), Qt::Key_Delete);
    EXPECT_EQ(h.ds->State(), dsEdit);
    EXPECT_EQ(h.edit->EditText(), QStringLiteral("_____"));
}

TEST(DBEditGx, TabLeavesUnlessWanted)
{
    EditHost h;
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_End);
    QTest::keyClicks(h.Keys(), QStringLiteral("s"));
    QTest::keyClick(h.Keys(), Qt::Key_Tab);
    EXPECT_TRUE(h.other->hasFocus());
    EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("apples"));
    h.edit->SetWantTabs(true);
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Tab);
    EXPECT_TRUE(h.edit->Focused());
}

TEST(DBEditGx, TabMovesThroughAFormBothWays)
{
    TForm form(nullptr);
    auto* before = new QLineEdit(&form);
    auto* edit = new TDBEditGx(&form);
    auto* after = new QLineEdit(&form);
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(before);
    layout->addWidget(edit);
    layout->addWidget(after);
    form.show();
    QApplication::setActiveWindow(&form);
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_TRUE(edit->Focused());
    QTest::keyClick(edit->EditWindow(), Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(edit->Focused());
    QTest::keyClick(edit->EditWindow(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(before->hasFocus());
}

TEST(DBEditGx, InputMethodPasteAndUndoStartTheEdit)
{
    {
        // Composed Chinese text arrives as an input-method commit.
        EditHost h;
        h.Enter();
        QTest::keyClick(h.Keys(), Qt::Key_End);
        EXPECT_FALSE(h.edit->EditWindow()->isReadOnly());   // composition works before editing
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("材料"));
        QApplication::sendEvent(h.Keys(), &commit);
        EXPECT_EQ(h.ds->State(), dsEdit);
        EXPECT_EQ(h.edit->Text(), QStringLiteral("apple材料"));
        h.Leave();
        EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("apple材料"));
    }
    {
        // A read-only editor drops the commit; a field that takes digits only beeps it away.
        EditHost h;
        h.edit->SetReadOnly(true);
        h.Enter();
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("材料"));
        QApplication::sendEvent(h.Keys(), &commit);
        EXPECT_EQ(h.edit->Text(), QStringLiteral("apple"));
        EditHost n(true, "id");
        n.Enter();
        QApplication::sendEvent(n.Keys(), &commit);
        EXPECT_EQ(n.edit->Text(), QStringLiteral("1"));
        EXPECT_EQ(n.ds->State(), dsBrowse);
    }
    {
        EditHost h;
        QApplication::clipboard()->setText(QStringLiteral("梨"));
        h.Enter();
        QTest::keyClick(h.Keys(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(h.ds->State(), dsEdit);
        EXPECT_EQ(h.edit->Text(), QStringLiteral("梨"));   // AutoSelect: the paste replaced all
        h.edit->Undo();                                  // undo from code writes at once
        EXPECT_EQ(h.F("name")->AsString(), QStringLiteral("apple"));
    }
}

TEST(DBEditGx, OnChangeFiresForTypingAndCode)
{
    EditHost h(false);
    QStringList seen;
    h.edit->OnChange = [&](QObject* sender) { seen << static_cast<TCustomDBEditGx*>(sender)->Text(); };
    h.Enter();
    QTest::keyClicks(h.Keys(), QStringLiteral("ab"));
    h.edit->SetText(QStringLiteral("x"));
    EXPECT_EQ(seen, QStringList({QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("x")}));
}
