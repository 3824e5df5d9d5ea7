// The cell editor's drop-downs on a bill head: opened by key and by the
// button, the keys they take while open, what closing with and without
// acceptance writes, the grip resize that the column remembers, up-down
// stepping by the button halves and the list of earlier entries.
#include "dbgrid_bills_fixture.h"
#include "grid/support/EditButtonControlGx.h"
#include "grid/support/MRUListGx.h"
#include "grid/support/PopupCalculatorGx.h"
#include "grid/support/PopupListboxGx.h"
#include "grid/support/PopupMonthCalendarGx.h"
#include "grid/support/SizeGripGx.h"

#include <QMenu>

using namespace gxinput;

namespace {

const QStringList Units = {QStringLiteral("Apple"), QStringLiteral("apricot"), QStringLiteral("吨"),
                           QStringLiteral("袋"), QStringLiteral("方"), QStringLiteral("张"),
                           QStringLiteral("根"), QStringLiteral("块")};

} // namespace

class GridEditorDropDowns : public BillsGridTest {
protected:
    // A shown drop-down's window may be activated by the window system; its guard
    // hands the activation back to the form once the event loop has run.
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        BillsGridTest::Key(key, mods);
        Settle();
    }
    void Type(const QString& text)
    {
        BillsGridTest::Type(text);
        Settle();
    }
    static void Settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    TDBGridInplaceEdit* OpenPickList(QStringList items = Units)
    {
        Column("billnum")->PickList() = items;
        TDBGridInplaceEdit* editor = OpenEditor("billnum");
        EXPECT_TRUE(editor && editor->isVisible());
        EXPECT_EQ(editor->EditStyle(), esPickList);
        return editor;
    }
    void PressButton(TDBGridInplaceEdit* editor, bool release = true, bool top = true)
    {
        TEditButtonControlGx* b = editor->EditButtonControl(0);
        const QPoint at(b->width() / 2, top ? 2 : b->height() - 2);
        QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
        if (release) {
            QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, at);
            QApplication::processEvents();
        }
    }
};

TEST_F(GridEditorDropDowns, PickListOpensByKeysAndTakesTheListKeys)
{
    struct Case {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
    };
    const Case openers[] = {{"Alt+Down", Qt::Key_Down, Qt::AltModifier},
                            {"Alt+Up", Qt::Key_Up, Qt::AltModifier},
                            {"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier}};
    TDBGridInplaceEdit* editor = OpenPickList();
    ASSERT_TRUE(editor);
    for (const Case& c : openers) {
        Key(c.key, c.mods);
        ASSERT_TRUE(editor->ListVisible()) << c.name;
        EXPECT_EQ(editor->ActiveList(), editor->PickList()) << c.name;
        EXPECT_TRUE(editor->PickList()->isVisible()) << c.name;
        // The text is no entry: nothing selected; 7 rows of the 8 entries.
        EXPECT_EQ(editor->PickList()->ItemIndex(), -1) << c.name;
        EXPECT_EQ(editor->PickList()->RowCount(), 7) << c.name;
        EXPECT_GE(editor->PickList()->width(), editor->width()) << c.name;
        // Down goes to the list, the editor shows the entry; Escape puts the text back.
        Key(Qt::Key_Down);
        EXPECT_EQ(editor->PickList()->ItemIndex(), 0) << c.name;
        EXPECT_EQ(editor->Text(), QStringLiteral("Apple")) << c.name;
        Key(Qt::Key_Escape);
        EXPECT_FALSE(editor->ListVisible()) << c.name;
        EXPECT_FALSE(editor->PickList()->isVisible()) << c.name;
        EXPECT_EQ(editor->Text(), QStringLiteral("RK0001")) << c.name;
        EXPECT_TRUE(editor->hasFocus()) << c.name;
    }
    // Enter takes the entry; typing completes against the list as before.
    Key(Qt::Key_Down, Qt::AltModifier);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), QStringLiteral("apricot"));
    editor->selectAll();
    Type(QStringLiteral("a"));
    EXPECT_EQ(editor->Text(), QStringLiteral("Apple"));
    EXPECT_EQ(editor->selectedText(), QStringLiteral("pple"));
    Key(Qt::Key_Return);
    EXPECT_EQ(BillField("billnum")->AsString(), QStringLiteral("Apple"));
}

TEST_F(GridEditorDropDowns, ButtonPressOpensAndOnlyTheNextClickCloses)
{
    TDBGridInplaceEdit* editor = OpenPickList();
    ASSERT_TRUE(editor);
    PressButton(editor, false);
    EXPECT_TRUE(editor->ListVisible());
    QTest::mouseRelease(editor->EditButtonControl(0), Qt::LeftButton, Qt::NoModifier,
                        QPoint(editor->EditButtonControl(0)->width() / 2, 2));
    QApplication::processEvents();
    EXPECT_TRUE(editor->ListVisible());
    PressButton(editor);
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), QStringLiteral("RK0001"));
    // A release over an entry of the open list takes it.
    PressButton(editor);
    ASSERT_TRUE(editor->ListVisible());
    TPopupListboxGx* list = editor->PickList();
    const TRect third = list->ItemRect(2);
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, QPoint(third.Left + 5, (third.Top + third.Bottom) / 2));
    QApplication::processEvents();
    EXPECT_FALSE(editor->ListVisible());
    EXPECT_EQ(editor->Text(), QStringLiteral("吨"));
}

TEST_F(GridEditorDropDowns, GripResizeIsRememberedByTheColumn)
{
    TColumnGx* column = Column("billnum");
    column->SetDropDownSizing(true);
    TDBGridInplaceEdit* editor = OpenPickList();
    ASSERT_TRUE(editor);
    Key(Qt::Key_Down, Qt::AltModifier);
    TPopupListboxGx* list = editor->PickList();
    ASSERT_TRUE(list->SizeGrip()->isVisible());
    ASSERT_EQ(list->RowCount(), 7);
    // Drag the grip up by two rows and a bit.
    TSizeGripGx* grip = list->SizeGrip();
    const QPoint start = grip->mapToGlobal(QPoint(grip->width() / 2, grip->height() / 2));
    grip->GripMouseDown(start);
    grip->GripMouseMove(start - QPoint(-20, 2 * list->ItemHeight()));
    QApplication::processEvents();
    EXPECT_TRUE(list->SizeGripResized());
    const int width = list->width();
    Key(Qt::Key_Escape);
    EXPECT_EQ(column->DropDownRows(), 5);
    EXPECT_EQ(column->DropDownWidth(), width);
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(list->RowCount(), 5);
    Key(Qt::Key_Escape);
}

TEST_F(GridEditorDropDowns, CalendarKeepsTheTimeOfDay)
{
    TDBGridInplaceEdit* editor = OpenEditor("bdate");
    ASSERT_TRUE(editor && editor->isVisible());
    ASSERT_EQ(editor->EditStyle(), esDateCalendar);
    Key(Qt::Key_Down, Qt::AltModifier);
    TPopupMonthCalendarGx* calendar = editor->PopupMonthCalendar();
    ASSERT_TRUE(calendar && calendar->isVisible());
    EXPECT_EQ(calendar->SelectedDate(), QDate(2024, 4, 30));
    EXPECT_GE(calendar->width(), calendar->MinReqSize().cx);
    // Right goes to the calendar: the next day; Enter takes it.
    Key(Qt::Key_Right);
    EXPECT_EQ(calendar->SelectedDate(), QDate(2024, 5, 1));
    Key(Qt::Key_Return);
    EXPECT_FALSE(calendar->isVisible());
    const TDateTime written = BillField("bdate")->AsDateTime();
    EXPECT_EQ(ToQDateTime(written), QDateTime(QDate(2024, 5, 1), QTime(14, 30)));
    // Escape leaves the value alone; the calendar opens on the date it holds.
    editor->EditButtonPressed(true);
    EXPECT_EQ(calendar->SelectedDate(), QDate(2024, 5, 1));
    Key(Qt::Key_Left);
    Key(Qt::Key_Escape);
    EXPECT_EQ(ToQDateTime(BillField("bdate")->AsDateTime()), QDateTime(QDate(2024, 5, 1), QTime(14, 30)));
    // A text that is no date opens the calendar on the field's date.
    editor->setText(QStringLiteral("nonsense"));
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(calendar->SelectedDate(), QDate(2024, 5, 1));
    Key(Qt::Key_Escape);
}

TEST_F(GridEditorDropDowns, CalculatorTakesTheKeysAndWritesItsResult)
{
    TColumnGx* fid = Column("fid");
    fid->SetButtonStyle(cbsDropDown);
    TDBGridInplaceEdit* editor = OpenEditor("fid");
    ASSERT_TRUE(editor && editor->isVisible());
    ASSERT_EQ(editor->EditStyle(), esDropDown);
    PressButton(editor);
    auto* calculator = dynamic_cast<TPopupCalculatorGx*>(editor->PopupCalculator());
    ASSERT_TRUE(calculator && calculator->isVisible());
    EXPECT_EQ(calculator->GetValue().ToDouble(), 1.0);
    EXPECT_TRUE(editor->isReadOnly());   // no caret while the calculator has the keys
    Type(QStringLiteral("*3"));
    Key(Qt::Key_Return);                 // completes 1 * 3
    EXPECT_TRUE(calculator->isVisible());
    Key(Qt::Key_Return);                 // takes it
    EXPECT_FALSE(calculator->isVisible());
    EXPECT_FALSE(editor->isReadOnly());
    EXPECT_EQ(editor->Text(), QStringLiteral("3"));
    Key(Qt::Key_Return);
    EXPECT_EQ(BillField("fid")->AsInteger(), 3);
    // Escape goes to the calculator, which closes without a value.
    Key(Qt::Key_F2);
    Key(Qt::Key_Down, Qt::AltModifier);
    Type(QStringLiteral("9"));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(calculator->isVisible());
    EXPECT_EQ(editor->Text(), QStringLiteral("3"));
}

TEST_F(GridEditorDropDowns, UpDownButtonHalvesStepByTheIncrement)
{
    TColumnGx* fid = Column("fid");
    fid->SetButtonStyle(cbsUpDown);
    fid->SetIncrement(5);
    TDBGridInplaceEdit* editor = OpenEditor("fid");
    ASSERT_TRUE(editor && editor->isVisible());
    struct Case {
        bool top;
        int expected;
    };
    for (const Case& c : {Case{true, 6}, Case{true, 11}, Case{false, 6}}) {
        PressButton(editor, true, c.top);
        EXPECT_EQ(BillField("fid")->AsInteger(), c.expected) << (c.top ? "up" : "down");
        EXPECT_FALSE(editor->ListVisible());
    }
}

// In a list the halves step through the list as with an increment of 1 (the top one back),
// whatever the increment; both used to step back.
TEST_F(GridEditorDropDowns, UpDownInAListStepsBothWaysWithAnyIncrement)
{
    TColumnGx* billnum = Column("billnum");
    billnum->PickList() = QStringList{QStringLiteral("RA"), QStringLiteral("RB"), QStringLiteral("RC")};
    billnum->SetButtonStyle(cbsUpDown);
    for (const double increment : {1.0, 2.0}) {
        SCOPED_TRACE(increment);
        billnum->SetIncrement(increment);
        bills.Edit();
        BillField("billnum")->SetAsString(QStringLiteral("RB"));
        bills.Post();
        TDBGridInplaceEdit* editor = OpenEditor("billnum");
        ASSERT_TRUE(editor && editor->isVisible());
        PressButton(editor, true, false);
        EXPECT_EQ(BillField("billnum")->AsString(), QStringLiteral("RC"));
        PressButton(editor, true, true);
        EXPECT_EQ(BillField("billnum")->AsString(), QStringLiteral("RB"));
        PressButton(editor, true, true);
        EXPECT_EQ(BillField("billnum")->AsString(), QStringLiteral("RA"));
        Key(Qt::Key_Escape);
        Key(Qt::Key_Escape);
    }
}

TEST_F(GridEditorDropDowns, EarlierEntriesFollowTheTypedText)
{
    TMRUListGx* mru = Column("billnum")->MRUList();
    mru->SetActive(true);
    mru->SetItems({QStringLiteral("RK0002"), QStringLiteral("RX9"), QStringLiteral("RK0003")});
    TDBGridInplaceEdit* editor = OpenEditor("billnum");
    ASSERT_TRUE(editor && editor->isVisible());
    editor->selectAll();
    Type(QStringLiteral("R"));
    ASSERT_TRUE(editor->MRUListVisible());
    EXPECT_EQ(editor->MRUListControl()->Count(), 3);
    Type(QStringLiteral("K"));
    EXPECT_EQ(editor->MRUListControl()->Count(), 2);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(editor->MRUListVisible());
    EXPECT_EQ(editor->Text(), QStringLiteral("RK0002"));
    // Backspace to an empty text offers every entry; Escape closes without taking one.
    editor->selectAll();
    Key(Qt::Key_Backspace);
    ASSERT_TRUE(editor->MRUListVisible());
    EXPECT_EQ(editor->MRUListControl()->Count(), 3);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(editor->MRUListVisible());
    EXPECT_EQ(editor->Text(), QString());
}

TEST_F(GridEditorDropDowns, ExtraButtonPopsItsMenuUnderItselfUnlessItsEventTakesThePress)
{
    TColumnGx* billnum = Column("billnum");
    TEditButtonGx* extra = billnum->EditButtons()->Add();
    QMenu menu;
    menu.addAction(QStringLiteral("复制单号"));
    extra->SetDropdownMenu(&menu);
    TDBGridInplaceEdit* editor = OpenEditor("billnum");
    ASSERT_TRUE(editor && editor->EditButtonCount() == 2);
    TEditButtonControlGx* button = editor->EditButtonControl(1);
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->width() / 2, button->height() / 2));
    Settle();
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos().y(), button->mapToGlobal(QPoint(0, button->height())).y());
    menu.hide();
    extra->OnDown = [](QObject*, bool, bool&, bool& handled) { handled = true; };
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(button->width() / 2, button->height() / 2));
    Settle();
    EXPECT_FALSE(menu.isVisible());
    Key(Qt::Key_Escape);
}
