// The filter row and the in-title filter lists of a grid over a real account
// set's material list: typing a condition, ticking values, clearing, and moving
// between the filter cells by keyboard.
#include "dbgrid_input_fixture.h"
#include "grid/control/DBGridGxColumnFilter.h"
#include "grid/control/DBGridGxFilter.h"
#include "grid/control/DBGridGxFilterEdit.h"
#include "grid/control/DBGridGxFilterExpr.h"
#include "grid/control/DBGridGxFilterItems.h"
#include "grid/support/DBCtrlsGxComboBox.h"
#include <QComboBox>

using namespace gxinput;

namespace {

class FilterRowTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        if (HasFatalFailure())
            return;
        cds.SetFilterOptions(foCaseInsensitive);
        // The grid's filter goes to the dataset's own filter text.
        grid->OnApplyFilter = [this](QObject*) {
            ++applied;
            QString text;
            BuildGridSTFilterText(grid, {}, {}, text, true, false);
            cds.SetFilter(text);
            cds.SetFiltered(!text.isEmpty());
        };
        grid->STFilter()->SetVisible(true);
        QApplication::processEvents();
    }
    TSTColumnFilterGx* F(const char* field) { return grid->Columns()->GetColumn(ColumnOf(field))->STFilter(); }
    int FilterRow() const { return grid->TopDataOffset() - 1; }
    int Raw(const char* field) { return grid->DataToRawColumn(ColumnOf(field)); }
    int applied = 0;
};

} // namespace

TEST_F(FilterRowTest, TypedConditionFiltersTheDatasetAndKeepsTheScrollPosition)
{
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        grid->Columns()->GetColumn(i)->SetWidth(150);
    QApplication::processEvents();
    grid->SetLeftCol(Raw("mname"));
    QApplication::processEvents();
    const int left = grid->LeftCol();
    ASSERT_GT(left, 1);

    Click(Raw("mname"), FilterRow());
    ASSERT_TRUE(grid->FilterEditorVisible());
    EXPECT_EQ(grid->FilterCol(), ColumnOf("mname"));
    Type(QStringLiteral("~%steel%"));
    Key(Qt::Key_Return);

    EXPECT_EQ(applied, 1);
    EXPECT_EQ(F("mname")->ExpressionStr(), QStringLiteral("~%steel%"));
    EXPECT_EQ(cds.Filter(), QStringLiteral(" [mname] Like '%steel%'"));
    EXPECT_EQ(cds.RecordCount(), 3);
    EXPECT_EQ(grid->LeftCol(), left);
    // The editor stays on the same column.
    EXPECT_TRUE(grid->FilterEditorVisible());
    EXPECT_EQ(grid->FilterCol(), ColumnOf("mname"));

    // A second condition in another column narrows it further; Down leaves the filter row.
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(grid->FilterCol(), ColumnOf("mtype"));
    Type(QStringLiteral("=Q235 OR =DN50"));
    Key(Qt::Key_Return);
    EXPECT_EQ(cds.RecordCount(), 2);
    Key(Qt::Key_Down);
    EXPECT_FALSE(grid->FilterEditMode());
    EXPECT_FALSE(grid->FilterEditorVisible());

    // A text that does not parse reaches the user and leaves the condition as it was.
    Click(Raw("mtype"), FilterRow());
    Type(QStringLiteral(" AND"));
    EXPECT_THROW(grid->ApplyFilter(), Exception);
    EXPECT_EQ(F("mtype")->ExpressionRef().Operator1, foEqual);
    EXPECT_EQ(grid->LeftCol(), left);

    // Clearing empties every condition; the dataset stays filtered until applied.
    grid->ClearFilter();
    EXPECT_EQ(F("mname")->ExpressionStr(), QString());
    EXPECT_EQ(F("mtype")->ExpressionStr(), QString());
    EXPECT_FALSE(grid->FilterEditMode());
    EXPECT_EQ(cds.RecordCount(), 2);
    grid->ApplyFilter();
    EXPECT_EQ(cds.RecordCount(), int(MaterialRows().size()));
}

TEST_F(FilterRowTest, EveryFilterColumnIsReachableByKeyboard)
{
    const int last = grid->Columns()->Count() - 1;
    struct Case {
        int from;
        int key;
        Qt::KeyboardModifiers mods;
        int to;
    };
    const Case cases[] = {
        {2, Qt::Key_Home, Qt::NoModifier, 0},      {2, Qt::Key_End, Qt::NoModifier, last},
        {2, Qt::Key_Left, Qt::ControlModifier, 0}, {2, Qt::Key_Right, Qt::ControlModifier, last},
        {1, Qt::Key_Left, Qt::NoModifier, 0},      {last - 1, Qt::Key_Right, Qt::NoModifier, last},
        {last, Qt::Key_Tab, Qt::NoModifier, 0},    {0, Qt::Key_Backtab, Qt::ShiftModifier, last},
        {0, Qt::Key_Home, Qt::ControlModifier, 0}, {last, Qt::Key_End, Qt::ControlModifier, last},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.from << " key " << k.key);
        grid->ShowFilterEdit(k.from);
        QApplication::processEvents();
        ASSERT_EQ(grid->FilterCol(), k.from);
        Key(k.key, k.mods);
        EXPECT_EQ(grid->FilterCol(), k.to);
        EXPECT_TRUE(grid->FilterEditorVisible());
    }
    // Tab visits every column in turn.
    grid->ShowFilterEdit(0);
    for (int i = 1; i <= last; ++i) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(grid->FilterCol(), i);
    }
    // A caret inside the text keeps Home, End, Left and Right in the editor.
    grid->ShowFilterEdit(2);
    Type(QStringLiteral("abc"));
    Key(Qt::Key_Left);
    Key(Qt::Key_Home);
    Key(Qt::Key_End);
    EXPECT_EQ(grid->FilterCol(), 2);
    // Up from the first record enters the filter row in the current column.
    Key(Qt::Key_Down);
    GoTo(1, "munit");
    grid->setFocus();
    Key(Qt::Key_Up);
    EXPECT_TRUE(grid->FilterEditMode());
    EXPECT_EQ(grid->FilterCol(), ColumnOf("munit"));
}

TEST_F(FilterRowTest, InTitleListTicksValuesAndClears)
{
    grid->STFilter()->SetLocation(stflInTitleFilterGx);
    grid->STFilter()->SetInstantApply(true);
    // The values offered come from a list source: here a copy of the material list.
    TClientDataSet units;
    units.SetData(cds.Data());
    TDataSource unitSource;
    unitSource.SetDataSet(&units);
    F("munit")->SetListSource(&unitSource);
    QApplication::processEvents();

    // The filter button at the right of the unit column's title drops the list.
    TRect button;
    const int col = Raw("munit");
    const TRect title = grid->CellRect(col, 0);
    ASSERT_EQ(grid->IsTitleFilterButtonHit({col, 0}, TPoint(title.Right - 4, (title.Top + title.Bottom) / 2), button),
              8);
    EXPECT_EQ(grid->IsTitleFilterButtonHit({col, 0}, TPoint(title.Left + 4, title.Top + 4), button), 0);
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(title.Right - 4, (title.Top + title.Bottom) / 2));
    QApplication::processEvents();
    ASSERT_TRUE(grid->InTitleFilterListboxVisible());
    TPopupListboxGx* list = grid->InTitleFilterListbox();
    TStringsGx* items = list->Items();
    const QStringList commands{QStringLiteral("(取消过滤)"), QStringLiteral("(Custom...)"), QStringLiteral("(全部)"),
                               QStringLiteral("(非空)"), QStringLiteral("(空)")};
    ASSERT_GT(items->Count(), commands.size());
    EXPECT_EQ(items->Texts().mid(0, commands.size()), commands);
    auto indexOf = [&](const char* text) { return items->IndexOf(QString::fromUtf8(text)); };
    auto center = [&](int index) {
        const TRect r = list->ItemRect(index);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    TSTColumnFilterGx* f = F("munit");
    auto ticked = [&] {
        QStringList t;
        for (int i = 0; i < items->Count(); ++i)
            if (f->FListValuesCheckingState[size_t(i)])
                t << items->Strings(i);
        return t;
    };

    // Three clicks keep three ticks; the list stays open; the dataset follows at once.
    for (const char* v : {"吨", "根", "块"}) {
        list->SetTopIndex(std::max(0, indexOf(v) - 2));
        QTest::mouseClick(list, Qt::LeftButton, {}, center(indexOf(v)));
        QApplication::processEvents();
    }
    EXPECT_TRUE(grid->InTitleFilterListboxVisible());
    EXPECT_EQ(ticked().size(), 3);
    EXPECT_EQ(f->ExpressionRef().Operator1, foIn);
    EXPECT_EQ(cds.RecordCount(), 5);

    // A press on one value released over another toggles nothing.
    const int a = indexOf("米"), b = a + 1;
    list->SetTopIndex(std::max(0, a - 1));
    QTest::mousePress(list, Qt::LeftButton, {}, center(a));
    QTest::mouseMove(list, center(b));
    QTest::mouseRelease(list, Qt::LeftButton, {}, center(b));
    QApplication::processEvents();
    EXPECT_EQ(ticked().size(), 3);
    EXPECT_EQ(f->FPopupListboxDownIndex, -1);

    // Opened again, the list ticks the condition's values; Enter on a value closes the
    // list and makes it the only one.
    grid->HideInTitleFilterListbox(false);
    grid->ShowInTitleFilterListbox(grid->Columns()->GetColumn(ColumnOf("munit")));
    list = grid->InTitleFilterListbox();
    items = list->Items();
    EXPECT_EQ(ticked().size(), 3);
    list->SetItemIndex(indexOf("桶"));
    Key(Qt::Key_Return);
    EXPECT_FALSE(grid->InTitleFilterListboxVisible());
    EXPECT_EQ(ticked(), QStringList{QStringLiteral("桶")});
    EXPECT_EQ(f->ExpressionStr(), QStringLiteral("='桶'"));
    EXPECT_EQ(cds.RecordCount(), 1);
    grid->ShowInTitleFilterListbox(grid->Columns()->GetColumn(ColumnOf("munit")));
    list = grid->InTitleFilterListbox();
    items = list->Items();

    // "(空)" and "(取消过滤)" close the list and act.
    list->SetTopIndex(0);
    QTest::mouseClick(list, Qt::LeftButton, {}, center(indexOf("(空)")));
    QApplication::processEvents();
    EXPECT_FALSE(grid->InTitleFilterListboxVisible());
    EXPECT_EQ(f->ExpressionStr(), QStringLiteral("=Null"));
    EXPECT_EQ(cds.RecordCount(), 0);
    grid->ShowInTitleFilterListbox(grid->Columns()->GetColumn(ColumnOf("munit")));
    list->SetTopIndex(0);
    QTest::mouseClick(list, Qt::LeftButton, {}, center(indexOf("(取消过滤)")));
    QApplication::processEvents();
    EXPECT_EQ(f->ExpressionStr(), QString());
    EXPECT_FALSE(cds.Filtered());
    EXPECT_EQ(cds.RecordCount(), int(MaterialRows().size()));

    // Ctrl+T drops the current column's list; Esc closes it.
    GoTo(1, "mtype");
    grid->setFocus();
    Key(Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(grid->InTitleFilterListboxVisible());
    EXPECT_EQ(grid->InTitleFilterListboxColumn(), grid->Columns()->GetColumn(ColumnOf("mtype")));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->InTitleFilterListboxVisible());
    F("munit")->SetListSource(nullptr);
}

TEST_F(FilterRowTest, EditorListOffersCommandsAndValues)
{
    TClientDataSet units;
    units.SetData(cds.Data());
    TDataSource unitSource;
    unitSource.SetDataSet(&units);
    F("munit")->SetListSource(&unitSource);
    grid->ShowFilterEdit(ColumnOf("munit"));
    TInplaceFilterEditGx* e = grid->FilterEditor();
    ASSERT_TRUE(e && e->hasFocus());
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(e->ListVisible());
    TPopupListboxGx* list = e->FilterList();
    TStringsGx* items = e->Items();
    // Without instant apply the list offers "(Apply filter)".
    EXPECT_EQ(items->Texts().mid(0, 6),
              (QStringList{QStringLiteral("(取消过滤)"), QStringLiteral("(Apply filter)"), QStringLiteral("(Custom...)"),
                           QStringLiteral("(全部)"), QStringLiteral("(非空)"), QStringLiteral("(空)")}));
    auto click = [&](const char* text) {
        const int i = items->IndexOf(QString::fromUtf8(text));
        list->SetTopIndex(std::max(0, i - 1));
        const TRect r = list->ItemRect(i);
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        QApplication::processEvents();
    };
    click("袋");
    EXPECT_TRUE(e->ListVisible());
    EXPECT_EQ(e->EditText(), QStringLiteral("='袋'"));
    EXPECT_EQ(applied, 0);
    click("(Apply filter)");
    EXPECT_FALSE(e->ListVisible());
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(cds.RecordCount(), 1);
    EXPECT_TRUE(grid->FilterEditorVisible());

    // The custom dialog sets the condition; without instant apply nothing is applied yet.
    DialogScript::AnswerForm([](TForm& form) {
        auto* ops = form.Find<QComboBox>(QStringLiteral("ComboBox1"));
        auto* value = form.Find<TDBComboBoxGx>(QStringLiteral("DBComboBoxGx1"));
        ops->setCurrentIndex(ops->findData(2));
        value->SetEditText(QStringLiteral("根"));
        return mrOk;
    });
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(e->ListVisible());
    click("(Custom...)");
    EXPECT_EQ(F("munit")->ExpressionStr(), QStringLiteral("<>根"));
    EXPECT_EQ(applied, 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(applied, 2);
    EXPECT_EQ(cds.RecordCount(), int(MaterialRows().size()) - 2);
    grid->LeaveFilterEditMode();
    F("munit")->SetListSource(nullptr);
}

TEST_F(FilterRowTest, UpdateBracketsAndRememberedListSizes)
{
    // Inside an update bracket the editor neither moves nor goes.
    grid->ShowFilterEdit(1);
    grid->STFilter()->BeginUpdate();
    grid->LeaveFilterEditMode();
    EXPECT_TRUE(grid->FilterEditMode());
    EXPECT_TRUE(grid->FilterEditorVisible());
    grid->STFilter()->EndUpdate();
    grid->LeaveFilterEditMode();
    EXPECT_FALSE(grid->FilterEditorVisible());

    // An in-title list is at least as wide as its column; a size the user gives it
    // with the grip is kept for the next time.
    grid->STFilter()->SetLocation(stflInTitleFilterGx);
    TColumnGx* column = grid->Columns()->GetColumn(ColumnOf("code"));
    column->SetWidth(200);
    grid->ShowInTitleFilterListbox(column);
    TPopupListboxGx* list = grid->InTitleFilterListbox();
    EXPECT_EQ(list->width(), 200);
    list->SetBounds(list->x(), list->y(), 260, 5 * list->ItemHeight() + 2 * list->FrameWidth());
    list->SetSizeGripResized(true);
    grid->HideInTitleFilterListbox(false);
    EXPECT_EQ(column->STFilter()->DropDownListWidth(), 260);
    EXPECT_EQ(column->STFilter()->DropDownListRows(), 5);
    grid->ShowInTitleFilterListbox(column);
    EXPECT_EQ(list->width(), 260);
    EXPECT_EQ(list->RowCount(), 5);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(grid->InTitleFilterListboxVisible());
    EXPECT_TRUE(form->isVisible());

    // Without a centre the lists get no entries of their own.
    TStringsGx items;
    items.Add(QStringLiteral("x"));
    grid->SetCenter(nullptr);
    grid->DefaultFillSTFilterListValues(column, items);
    EXPECT_EQ(items.Texts(), QStringList{QStringLiteral("x")});
}

TEST_F(FilterRowTest, TypingOnTheGridGoesIntoTheFilterEditor)
{
    grid->ShowFilterEdit(ColumnOf("code"));
    grid->setFocus();
    QApplication::processEvents();
    Type(QStringLiteral("A"));
    EXPECT_EQ(grid->FilterEditor()->EditText(), QStringLiteral("A"));
    Type(QStringLiteral("0"));
    EXPECT_EQ(grid->FilterEditor()->EditText(), QStringLiteral("A0"));
    EXPECT_TRUE(grid->FilterEditor()->hasFocus());
    EXPECT_FALSE(grid->EditorMode());
}

TEST_F(FilterRowTest, FocusOnTheGridMovesIntoTheFilterEditor)
{
    grid->ShowFilterEdit(ColumnOf("code"));
    cancel->setFocus();
    QApplication::processEvents();
    grid->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(grid->FilterEditor()->hasFocus());
    // Leaving the filter row gives the grid the focus for good.
    Key(Qt::Key_Down);
    EXPECT_FALSE(grid->FilterEditMode());
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(FilterRowTest, AColumnThatGoesTakesItsFilterEditorAndListAlong)
{
    grid->ShowFilterEdit(ColumnOf("mtype"));
    ASSERT_TRUE(grid->FilterEditorVisible());
    grid->Columns()->Delete(ColumnOf("mtype"));
    QApplication::processEvents();
    EXPECT_FALSE(grid->FilterEditMode());
    EXPECT_FALSE(grid->FilterEditorVisible());
    EXPECT_EQ(grid->FilterEditor()->Column(), nullptr);

    grid->STFilter()->SetLocation(stflInTitleFilterGx);
    grid->ShowInTitleFilterListbox(grid->Columns()->GetColumn(ColumnOf("code")));
    ASSERT_TRUE(grid->InTitleFilterListboxVisible());
    grid->Columns()->Delete(ColumnOf("code"));
    QApplication::processEvents();
    EXPECT_FALSE(grid->InTitleFilterListboxVisible());
    EXPECT_EQ(grid->InTitleFilterListboxColumn(), nullptr);
}
