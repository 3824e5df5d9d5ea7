// The data grid's selection on an account set's material list: records with
// Shift and Ctrl, select-all from the indicator title handing every record to
// SelectedRows, columns with Shift clicks, rectangles, and the whole selection.
#include "dbgrid_input_fixture.h"

using namespace gxinput;

using GridInputSelection = GridTest;

TEST_F(GridInputSelection, IndicatorTitleSelectsEveryRecordAndClears)
{
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    GoTo(3);
    Click(0, 0);
    EXPECT_EQ(grid->Selection()->SelectionType(), gstAll);
    // The pickers walk SelectedRows: every record is there.
    ASSERT_EQ(grid->SelectedRows()->Count(), cds.RecordCount());
    EXPECT_EQ(Rec(), 3);
    Click(0, 0);
    EXPECT_EQ(grid->Selection()->SelectionType(), gstNon);
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
}

TEST_F(GridInputSelection, ShiftMovesExtendAndUnselect)
{
    struct Case {
        const char* name;
        bool clearSelection;     // dghClearSelection
        std::vector<int> keys;   // Qt keys pressed with Shift, from record 3
        int selected;
    };
    const std::vector<Case> cases = {
        {"three down", true, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}, 4},
        {"down and back", true, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}, 2},
        {"up from the anchor", true, {Qt::Key_Up, Qt::Key_Up}, 3},
    };
    for (const Case& c : cases) {
        grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
        grid->SetAllowedSelections(TDBGridGxAllowedSelections{gstRecordBookmarks, gstAll});
        grid->ClearSelection();
        GoTo(3);
        for (int k : c.keys)
            Key(k, Qt::ShiftModifier);
        EXPECT_EQ(grid->SelectedRows()->Count(), c.selected) << c.name;
    }
    // Without clearing (anti-selection), Shift+Down over a selected record unselects it.
    grid->SetOptionsGx(grid->OptionsGx() - TDBGridGxOptions{dghClearSelection});
    grid->ClearSelection();
    GoTo(4);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    GoTo(3);
    grid->SelectedRows()->SetCurrentRowSelected(true);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Rec(), 4);
    EXPECT_FALSE(grid->SelectedRows()->CurrentRowSelected());
}

TEST_F(GridInputSelection, ColumnShiftClicksFlipAtTheAnchor)
{
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    TDBGridGxSelectionCols& cols = grid->Selection()->Columns();
    auto column = [&](int i) { return grid->Columns()->GetColumn(i); };
    auto listed = [&] {
        std::vector<int> out;
        for (int i = 0; i < cols.Count(); ++i)
            out.push_back(cols.GetColumn(i)->Index());
        return out;
    };
    // Press in the lowest pixels of a title: the column-select zone.
    auto titleClick = [&](int index, Qt::KeyboardModifiers mods) {
        const TRect r = grid->CellRect(index + 1, 0);
        QTest::mouseClick(grid, Qt::LeftButton, mods, QPoint((r.Left + r.Right) / 2, r.Bottom - 2));
        QApplication::processEvents();
    };
    titleClick(1, Qt::NoModifier);
    EXPECT_EQ(grid->Selection()->SelectionType(), gstColumns);
    titleClick(4, Qt::ShiftModifier);
    EXPECT_EQ(listed(), (std::vector<int>{1, 2, 3, 4}));
    titleClick(2, Qt::ShiftModifier);
    EXPECT_EQ(listed(), (std::vector<int>{1, 2}));
    titleClick(0, Qt::ShiftModifier);
    EXPECT_EQ(listed(), (std::vector<int>{0, 1}));
    titleClick(3, Qt::ControlModifier);
    EXPECT_EQ(listed(), (std::vector<int>{0, 1, 3}));
    EXPECT_TRUE(grid->Selection()->DataCellSelected(3, cds.GetBookmark()));
    EXPECT_FALSE(grid->Selection()->DataCellSelected(2, cds.GetBookmark()));
    // The anchor column goes: a later Shift click starts afresh.
    delete column(3);
    QApplication::processEvents();
    EXPECT_EQ(listed(), (std::vector<int>{0, 1}));
    titleClick(2, Qt::ShiftModifier);
    EXPECT_EQ(grid->Selection()->SelectionType(), gstColumns);
}

TEST_F(GridInputSelection, RectanglesAndEverything)
{
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    TDBGridGxSelection* sel = grid->Selection();
    GoTo(2, "code");
    const TBookmark first = cds.GetBookmark();
    // A rectangle from a cell to the same cell is no selection.
    sel->Rect().Select(1, first, false);
    sel->Rect().Select(1, first, true);
    EXPECT_EQ(sel->SelectionType(), gstNon);
    // Shift+Down and Shift+Right stretch a rectangle from the current cell.
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(sel->SelectionType(), gstRectangle);
    EXPECT_EQ(sel->Rect().GetLeftCol(), 1);
    EXPECT_EQ(sel->Rect().GetRightCol(), 2);
    EXPECT_TRUE(sel->DataCellSelected(2, first));
    EXPECT_FALSE(sel->DataCellSelected(3, first));
    const TGridRect r = sel->SelectionToGridRect();
    EXPECT_EQ(r.Left, 2);
    EXPECT_EQ(r.Right, 3);
    EXPECT_EQ(r.Bottom - r.Top, 1);

    // Everything, twice: the second time changes nothing.
    int changes = 0;
    grid->OnSelectionChanged = [&](QObject*) { ++changes; };
    sel->SelectAll();
    const int afterFirst = changes;
    sel->SelectAll();
    EXPECT_EQ(changes, afterFirst);
    EXPECT_EQ(sel->SelectionType(), gstAll);
    const TGridRect all = sel->SelectionToGridRect();
    EXPECT_EQ(all.Left, 0);
    EXPECT_EQ(all.Top, 0);
    EXPECT_EQ(all.Right, grid->ColCount());
    EXPECT_EQ(all.Bottom, grid->RowCount());
}
