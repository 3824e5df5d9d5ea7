// The combo box against a client dataset: free-text completion, the list-only mode
// with its key tables, stepping, and the drop-down list.
#include "DBCtrlsGxComboBox.h"
#include "editors_host.h"
#include <QClipboard>
#include <gtest/gtest.h>

namespace {

struct ComboHost : gxtest::EditorHost<TDBComboBoxGx> {
    TDBComboBoxGx* const& combo = editor;
    explicit ComboHost(const std::vector<std::vector<Variant>>& rows) : EditorHost(rows, QStringLiteral("name")) {}
    TField* Name() { return F("name"); }
};

std::vector<std::vector<Variant>> Rows(std::initializer_list<const char*> names)
{
    std::vector<std::vector<Variant>> rows;
    int id = 1;
    for (const char* n : names)
        rows.push_back({Variant(id++), n ? Variant(QString::fromUtf8(n)) : Variant::Null(), Variant(1.0)});
    return rows;
}

} // namespace

TEST(DBComboBoxGx, FreeTextCompletesTypingAtTheEnd)
{
    ComboHost h(Rows({"old"}));
    h.combo->Items()->SetTexts({"Apple", "Apricot", "Banana", "材料甲", "材料乙"});
    QStringList notInList;
    h.combo->OnNotInList = [&](QObject*, const QString& text, bool&) { notInList << text; };
    EXPECT_FALSE(h.combo->KeyBased());
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_A, Qt::ControlModifier);

    struct Step {
        QChar key;
        const char* text;
        const char* selected;
        int item;
    };
    const Step steps[] = {
        {u'a', "Apple", "pple", 0},      // completed with the first item that begins with "a"
        {u'p', "Apple", "ple", 0},
        {u'r', "Apricot", "icot", 1},
        {QChar(8), "Apr", "", -1},       // Backspace removes the completion; "Apr" is no item
        {u'x', "Aprx", "", -1},          // not in the list: the text stays
    };
    for (const Step& s : steps) {
        h.Type(s.key);
        EXPECT_EQ(h.combo->Text(), QString::fromUtf8(s.text)) << s.text;
        EXPECT_EQ(h.combo->SelText(), QString::fromUtf8(s.selected)) << s.text;
        EXPECT_EQ(h.combo->ItemIndex(), s.item) << s.text;
    }
    h.Leave();
    EXPECT_EQ(h.Name()->AsString(), QStringLiteral("Aprx"));   // written anyway
    EXPECT_EQ(notInList, QStringList{"Aprx"});
    EXPECT_TRUE(h.errors.isEmpty());

    // Typing in the middle of the text only looks for the whole text.
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_A, Qt::ControlModifier);
    h.Type(QStringLiteral("材"));
    EXPECT_EQ(h.combo->Text(), QStringLiteral("材料甲"));
    QTest::keyClick(h.Keys(), Qt::Key_End);
    QTest::keyClick(h.Keys(), Qt::Key_Backspace);
    h.Type(QStringLiteral("乙"));
    EXPECT_EQ(h.combo->Text(), QStringLiteral("材料乙"));
    EXPECT_EQ(h.combo->ItemIndex(), 4);
    QTest::keyClick(h.Keys(), Qt::Key_Home);
    h.Type(QStringLiteral("B"));
    EXPECT_EQ(h.combo->Text(), QStringLiteral("B材料乙"));   // no completion away from the end
    EXPECT_EQ(h.combo->ItemIndex(), -1);
    h.Leave();
    EXPECT_EQ(h.Name()->AsString(), QStringLiteral("B材料乙"));
}

TEST(DBComboBoxGx, ListOnlyShowsItemsAndWritesKeys)
{
    ComboHost h(Rows({"SH", "XX", nullptr, "BJ"}));
    h.combo->Items()->SetTexts({"Beijing", "Shanghai", "Guangzhou"});
    h.combo->KeyItems()->SetTexts({"BJ", "SH"});   // Guangzhou has no key: it cannot be chosen
    ASSERT_TRUE(h.combo->KeyBased());
    EXPECT_EQ(h.combo->ItemsCount(), 2);

    struct Shown {
        int id;
        const char* text;
        int item;
    };
    const Shown shown[] = {{1, "Shanghai", 1}, {2, "", -1}, {3, "", -1}, {4, "Beijing", 0}};
    for (const Shown& s : shown) {
        gxtest::GoTo(h.ds.get(), s.id);
        EXPECT_EQ(h.combo->Text(), QString::fromUtf8(s.text)) << s.id;
        EXPECT_EQ(h.combo->ItemIndex(), s.item) << s.id;
    }
    gxtest::GoTo(h.ds.get(), 1);
    EXPECT_EQ(h.combo->Value(), Variant(QStringLiteral("SH")));

    // Typed characters search the items; the text itself cannot be typed.
    h.Enter();
    EXPECT_TRUE(h.combo->EditWindow()->isReadOnly());
    struct Typed {
        QChar key;
        const char* text;
        int item;
    };
    const Typed typed[] = {
        {u'b', "Beijing", 0},
        {u'q', "Beijing", 0},     // matches nothing: dropped
        {u'g', "Beijing", 0},     // Guangzhou lies beyond the keys
        {u's', "Beijing", 0},     // "bs": still no item
    };
    for (const Typed& t : typed) {
        h.Type(t.key);
        EXPECT_EQ(h.combo->Text(), QString::fromUtf8(t.text)) << QString(t.key).toStdString();
        EXPECT_EQ(h.combo->ItemIndex(), t.item) << QString(t.key).toStdString();
    }
    // Backspace shortens the typed prefix; then s finds Shanghai.
    EXPECT_EQ(h.combo->SelText(), QStringLiteral("eijing"));
    h.Type(QChar(8));
    EXPECT_EQ(h.combo->SelText(), QStringLiteral("Beijing"));
    h.Type(QChar(8));   // with all of it selected only the last character stays selected
    EXPECT_EQ(h.combo->SelText(), QStringLiteral("g"));
    QTest::keyClick(h.Keys(), Qt::Key_A, Qt::ControlModifier);
    h.Type(u's');
    EXPECT_EQ(h.combo->Text(), QStringLiteral("Shanghai"));
    EXPECT_EQ(h.combo->SelText(), QStringLiteral("hanghai"));
    EXPECT_EQ(h.Name()->AsString(), QStringLiteral("SH"));   // written on leaving
    QTest::keyClick(h.Keys(), Qt::Key_Up);
    EXPECT_EQ(h.combo->Text(), QStringLiteral("Beijing"));
    h.Leave();
    EXPECT_EQ(h.Name()->AsString(), QStringLiteral("BJ"));
    EXPECT_EQ(h.combo->Text(), QStringLiteral("Beijing"));

    // Delete empties a field that is not required.
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Delete);
    EXPECT_EQ(h.combo->ItemIndex(), -1);
    EXPECT_TRUE(h.combo->Value().IsNull());
    h.Leave();
    EXPECT_TRUE(h.Name()->IsNull());
    EXPECT_TRUE(h.errors.isEmpty());
}

TEST(DBComboBoxGx, StepsWithUpDownAndWheel)
{
    ComboHost h(Rows({nullptr}));
    h.combo->Items()->SetTexts({"one", "two", "three"});
    h.combo->KeyItems()->SetTexts({"1", "2", "3"});
    h.Enter();
    struct Case {
        int from;
        Qt::Key key;
        int to;
    };
    const Case cases[] = {
        {-1, Qt::Key_Up, 2}, {-1, Qt::Key_Down, 0}, {0, Qt::Key_Up, 0}, {2, Qt::Key_Down, 2}, {1, Qt::Key_Down, 2},
        {1, Qt::Key_Up, 0},
    };
    for (const Case& c : cases) {
        h.combo->SetItemIndex(c.from);
        QTest::keyClick(h.Keys(), c.key);
        EXPECT_EQ(h.combo->ItemIndex(), c.to) << c.from << " " << c.key;
    }
    EXPECT_EQ(h.ds->State(), dsEdit);
    h.combo->SetItemIndex(1);
    EXPECT_EQ(h.Name()->AsString(), QStringLiteral("2"));   // an index set from code is written at once
    const QPoint at(5, 5);
    QWheelEvent down(at, h.combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(h.combo, &down);
    EXPECT_EQ(h.combo->ItemIndex(), 2);
    QWheelEvent up(at, h.combo->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(h.combo, &up);
    EXPECT_EQ(h.combo->ItemIndex(), 1);
}

TEST(DBComboBoxGx, DropDownListChoosesAndCancels)
{
    ComboHost h(Rows({"SH"}));
    h.combo->Items()->SetTexts({"Beijing", "Shanghai", "Guangzhou", "Shenzhen"});
    h.combo->KeyItems()->SetTexts({"BJ", "SH", "GZ", "SZ"});
    h.combo->DropDownBox()->SetRows(3);
    QList<bool> closes;
    h.combo->OnCloseUp = [&](QObject*, bool accept) { closes << accept; };
    h.Enter();

    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(h.combo->ListVisible());
    TPopupListboxGx* list = h.combo->PopupListbox();
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(list->hasFocus());
    EXPECT_TRUE(h.combo->EditWindow()->hasFocus());   // the editor keeps the focus
    EXPECT_EQ(list->RowCount(), 3);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_GE(list->width(), h.combo->width());
    EXPECT_EQ(list->geometry().top(), h.combo->mapToGlobal(QPoint(0, h.combo->height())).y());

    // Arrows go to the list; Escape closes without accepting.
    QTest::keyClick(h.Keys(), Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(h.combo->ItemIndex(), 1);
    QTest::keyClick(h.Keys(), Qt::Key_Escape);
    EXPECT_FALSE(h.combo->ListVisible());
    EXPECT_EQ(h.combo->Text(), QStringLiteral("Shanghai"));
    EXPECT_EQ(closes, QList<bool>{false});

    // Enter accepts the list's row.
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(h.Keys(), Qt::Key_Down);
    QTest::keyClick(h.Keys(), Qt::Key_Return);
    EXPECT_FALSE(h.combo->ListVisible());
    EXPECT_EQ(h.combo->Text(), QStringLiteral("Guangzhou"));
    EXPECT_EQ(h.combo->Value(), Variant(QStringLiteral("GZ")));

    // A click on a row chooses it.
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    const TRect r0 = list->ItemRect(list->TopIndex());
    QTest::mouseMove(list, QPoint(r0.Left + 5, r0.Top + 3));
    QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(r0.Left + 5, r0.Top + 3));
    EXPECT_FALSE(h.combo->ListVisible());
    EXPECT_EQ(h.combo->ItemIndex(), list->TopIndex());
    // The list's window may have been activated on the way: the editor has the focus back
    // once the event loop has run.
    QApplication::processEvents();
    EXPECT_TRUE(h.combo->EditWindow()->hasFocus());
    EXPECT_EQ(closes, (QList<bool>{false, true, true}));
    h.Leave();
    EXPECT_EQ(h.Name()->AsString(), h.combo->KeyItems()->Strings(h.combo->ItemIndex()));
    EXPECT_TRUE(h.errors.isEmpty());
}

TEST(DBComboBoxGx, DropDownWidthAndRememberedSize)
{
    ComboHost h(Rows({"a"}));
    const QString wide = QStringLiteral("a very long item text that is wider than the editor");
    h.combo->Items()->SetTexts({"a", wide});
    h.combo->resize(80, h.combo->height());
    h.combo->DropDownBox()->SetWidth(-1);
    h.combo->DropDownBox()->SetSizable(true);
    h.Enter();
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    TPopupListboxGx* list = h.combo->PopupListbox();
    ASSERT_TRUE(h.combo->ListVisible());
    EXPECT_GE(list->width(), QFontMetrics(list->font()).horizontalAdvance(wide) + 5);
    EXPECT_EQ(list->RowCount(), 2);   // fewer items than rows
    EXPECT_TRUE(list->SizeGrip()->isVisible());
    // The user drags the grip: the new size is kept for the next opening.
    list->SetBounds(list->x(), list->y(), 300, list->height() + list->ItemHeight());
    QTest::keyClick(h.Keys(), Qt::Key_Escape);
    EXPECT_EQ(h.combo->DropDownBox()->Width(), 300);
    EXPECT_EQ(h.combo->DropDownBox()->Rows(), 3);

    // Narrow items: never narrower than the editor.
    h.combo->Items()->SetTexts({"a", "b"});
    h.combo->DropDownBox()->SetWidth(-1);
    QTest::keyClick(h.Keys(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(list->width(), h.combo->width());
    QTest::keyClick(h.Keys(), Qt::Key_Escape);
}

TEST(DBComboBoxGx, ListOnlyMouseAutoDropAndPaste)
{
    ComboHost h(Rows({"BJ"}));
    h.combo->Items()->SetTexts({"Beijing", "Shanghai"});
    h.combo->KeyItems()->SetTexts({"BJ", "SH"});
    // A press on the text opens the list (and focuses the editor); the next press closes it.
    QTest::mousePress(h.Keys(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(h.Keys(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(h.combo->ListVisible());
    EXPECT_TRUE(h.combo->EditWindow()->hasFocus());
    QTest::mousePress(h.Keys(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(h.Keys(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(h.combo->ListVisible());
    EXPECT_EQ(h.combo->Text(), QStringLiteral("Beijing"));   // closed without accepting
    EXPECT_EQ(h.combo->SelText(), QString());                // the mouse selects no text

    // With AutoDrop a typed character opens the list, which follows the search.
    h.combo->DropDownBox()->SetAutoDrop(true);
    h.SelectAllText();
    h.Type(u's');
    EXPECT_TRUE(h.combo->ListVisible());
    EXPECT_EQ(h.combo->PopupListbox()->ItemIndex(), 1);
    QTest::keyClick(h.Keys(), Qt::Key_Return);
    EXPECT_EQ(h.combo->Value(), Variant(QStringLiteral("SH")));

    // Pasted text searches like typed text.
    QApplication::clipboard()->setText(QStringLiteral("bei"));
    h.SelectAllText();
    QTest::keyClick(h.Keys(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(h.combo->Text(), QStringLiteral("Beijing"));
    EXPECT_EQ(h.combo->SelText(), QStringLiteral("jing"));
    h.Leave();
    EXPECT_EQ(h.Name()->AsString(), QStringLiteral("BJ"));
    EXPECT_TRUE(h.errors.isEmpty());
}

TEST(DBComboBoxGx, ItemsOnDemandAndOwnValue)
{
    QWidget window;
    auto* combo = new TDBComboBoxGx(&window);
    window.show();
    int asked = 0;
    combo->OnGetItemsList = [&](QObject*) {
        ++asked;
        combo->Items()->SetTexts({"red", "green"});
    };
    combo->SetFocus();
    QApplication::processEvents();
    QTest::keyClick(combo->EditWindow(), Qt::Key_Down, Qt::AltModifier);   // the list asks for its items
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(combo->ListVisible());
    EXPECT_EQ(combo->PopupListbox()->Count(), 2);
    QTest::keyClick(combo->EditWindow(), Qt::Key_Down);
    QTest::keyClick(combo->EditWindow(), Qt::Key_Return);
    EXPECT_EQ(combo->Text(), QStringLiteral("red"));
    EXPECT_EQ(combo->Value(), Variant(QStringLiteral("red")));   // free text: the value is the text
    combo->Clear();
    EXPECT_EQ(combo->Text(), QString());
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(asked, 1);   // the items are there now
}

TEST(DBComboBoxGx, PressOnTheButtonAndDragIntoTheList)
{
    ComboHost h(Rows({"BJ"}));
    h.combo->Items()->SetTexts({"Beijing", "Shanghai", "Guangzhou"});
    h.combo->KeyItems()->SetTexts({"BJ", "SH", "GZ"});
    QWidget* button = h.combo->EditButtonControlAt(0).EditButtonControl;
    const QPoint onButton(button->width() / 2, button->height() / 2);
    QTest::mousePress(button, Qt::LeftButton, {}, onButton);
    ASSERT_TRUE(h.combo->ListVisible());
    TPopupListboxGx* list = h.combo->PopupListbox();
    const TRect row = list->ItemRect(2);
    const QPoint inList = button->mapFromGlobal(list->mapToGlobal(QPoint(row.Left + 5, row.Top + 3)));
    QTest::mouseMove(button, inList);
    // The list took over the press; releasing over the row chooses it.
    EXPECT_TRUE(list->MouseCapture());
    QTest::mouseRelease(list, Qt::LeftButton, {}, QPoint(row.Left + 5, row.Top + 3));
    EXPECT_FALSE(h.combo->ListVisible());
    EXPECT_EQ(h.combo->Text(), QStringLiteral("Guangzhou"));
}
