// The data grid's mouse on an account set's material list: title clicks, the
// drag threshold and column dragging, live sizing, record selection on the
// indicator, cell clicks and double clicks.
#include "dbgrid_input_fixture.h"

using namespace gxinput;

using GridInputMouse = GridTest;

namespace {

// The title row's point at a grid column, dy pixels from its centre.
QPoint TitleAt(TDBGridGx* grid, int col, int dx = 0)
{
    const TRect r = grid->CellRect(col, 0);
    return QPoint((r.Left + r.Right) / 2 + dx, (r.Top + r.Bottom) / 2 - 2);
}

} // namespace

TEST_F(GridInputMouse, TitleClickTable)
{
    struct Case {
        const char* name;
        int pressCol;
        int releaseCol;      // -1: on a data cell below the title
        int dx;              // horizontal move before the release
        int clicks;          // OnTitleBtnClick events
        bool moved;          // the column was dragged elsewhere
    };
    const std::vector<Case> cases = {
        {"released on the same title", 2, 2, 0, 1, false},
        {"a 3-pixel move stays a click", 2, 2, 3, 1, false},
        {"released on a data cell", 2, -1, 0, 0, false},
        {"a larger move drags the column", 2, 4, 4, 0, true},
    };
    for (const Case& c : cases) {
        // Fresh columns in field order, every title a button.
        grid->Columns()->RebuildColumns();
        QApplication::processEvents();
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->GetColumn(i)->Title()->SetTitleButton(true);
        int clicks = 0, movedFrom = -1, movedTo = -1;
        grid->OnTitleBtnClick = [&](QObject*, int, TColumnGx*) { ++clicks; };
        grid->OnColumnMoved = [&](QObject*, int from, int to) {
            movedFrom = from;
            movedTo = to;
        };
        const QString pressedField = grid->Columns()->GetColumn(c.pressCol - 1)->FieldName();
        const QPoint down = TitleAt(grid, c.pressCol);
        QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, down);
        QPoint at = down + QPoint(c.dx, 0);
        QTest::mouseMove(grid, at);
        if (c.releaseCol > 0 && c.releaseCol != c.pressCol) {
            at = TitleAt(grid, c.releaseCol, 6);
            QTest::mouseMove(grid, at);
        } else if (c.releaseCol < 0) {
            at = CellCenter(c.pressCol, 3);
            QTest::mouseMove(grid, at);
        }
        QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
        EXPECT_EQ(clicks, c.clicks) << c.name;
        if (c.moved) {
            EXPECT_EQ(movedFrom, c.pressCol - 1) << c.name;
            EXPECT_EQ(movedTo, c.releaseCol - 1) << c.name;
            EXPECT_EQ(grid->Columns()->GetColumn(c.releaseCol - 1)->FieldName(), pressedField) << c.name;
        } else {
            EXPECT_EQ(movedFrom, -1) << c.name;
            EXPECT_EQ(grid->Columns()->GetColumn(c.pressCol - 1)->FieldName(), pressedField) << c.name;
        }
    }
}

TEST_F(GridInputMouse, LiveSizingKeepsAtLeastOnePixel)
{
    grid->SetOptionsGx(grid->OptionsGx() + TDBGridGxOptions{dghTraceColSizing});
    const TRect r = grid->CellRect(2, 0);
    const QPoint border(r.Right, (r.Top + r.Bottom) / 2);
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(grid, border + QPoint(-20, 0));
    EXPECT_EQ(grid->ColWidths(2), r.Right - r.Left - 20);
    QTest::mouseMove(grid, QPoint(r.Left - 30, border.y()));
    EXPECT_EQ(grid->ColWidths(2), 1);
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, QPoint(r.Left - 30, border.y()));
    QApplication::processEvents();
    EXPECT_EQ(grid->ColWidths(2), 1);
    EXPECT_EQ(grid->Columns()->GetColumn(1)->Width(), 1);

    // Esc ends a sizing in progress; the dialog stays open.
    const TRect r3 = grid->CellRect(3, 0);
    const QPoint border3(r3.Right, (r3.Top + r3.Bottom) / 2);
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, border3);
    QTest::mouseMove(grid, border3 + QPoint(-10, 0));
    const int sized = grid->ColWidths(3);
    EXPECT_EQ(grid->DBGridGxState(), dgsColSizing);
    Key(Qt::Key_Escape);
    EXPECT_EQ(grid->DBGridGxState(), dgsNormal);
    QTest::mouseMove(grid, border3 + QPoint(-30, 0));
    EXPECT_EQ(grid->ColWidths(3), sized);
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, border3 + QPoint(-30, 0));
    EXPECT_TRUE(form->isVisible());
}

// A frozen column's border in the titles is the grid's own sizing border: the grid sizes it
// (state dgsColSizing), with a dotted line that the release turns into the width, or live.
TEST_F(GridInputMouse, FrozenColumnsSizeThroughTheGridsOwnBorder)
{
    for (const bool live : {false, true}) {
        SCOPED_TRACE(live ? "live" : "line");
        grid->SetOptionsGx(live ? grid->OptionsGx() + TDBGridGxOptions{dghTraceColSizing}
                                : grid->OptionsGx() - TDBGridGxOptions{dghTraceColSizing});
        grid->SetFrozenCols(1);
        QApplication::processEvents();
        const int col = grid->IndicatorOffset();
        const TRect r = grid->CellRect(col, 0);
        const int before = grid->ColWidths(col);
        const QPoint border(r.Right, (r.Top + r.Bottom) / 2);
        EXPECT_EQ(grid->CursorAt(border.x(), border.y()), crHSplit);
        // Below the titles the border is no sizing border.
        const TRect d = grid->CellRect(col, grid->TopDataOffset());
        EXPECT_NE(grid->CursorAt(d.Right, (d.Top + d.Bottom) / 2), crHSplit);
        QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, border);
        EXPECT_EQ(grid->DBGridGxState(), dgsColSizing);
        QTest::mouseMove(grid, border + QPoint(30, 0));
        EXPECT_EQ(grid->ColWidths(col), live ? before + 30 : before);
        QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, border + QPoint(30, 0));
        QApplication::processEvents();
        EXPECT_EQ(grid->DBGridGxState(), dgsNormal);
        EXPECT_EQ(grid->ColWidths(col), before + 30);
        EXPECT_EQ(grid->Columns()->GetColumn(0)->Width(), before + 30);
        grid->Columns()->GetColumn(0)->SetWidth(before);
        grid->SetFrozenCols(0);
    }
}

// Live sizing of a right-fixed column: the width runs from the mouse to the column's right edge.
TEST_F(GridInputMouse, RightFixedColumnSizesFromItsRightEdge)
{
    grid->SetOptionsGx(grid->OptionsGx() + TDBGridGxOptions{dghTraceColSizing});
    grid->SetContraColCount(1);
    QApplication::processEvents();
    const int contra = grid->TCustomGridGx::ColCount();
    const TRect r = grid->CellRect(contra, 0);
    ASSERT_GT(r.Width(), 0);
    const QPoint border(r.Left - 1, (r.Top + r.Bottom) / 2);
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, border);
    ASSERT_EQ(grid->DBGridGxState(), dgsColSizing);
    QTest::mouseMove(grid, border + QPoint(-25, 0));
    EXPECT_EQ(grid->ColWidths(contra), r.Right - (border.x() - 25));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, border + QPoint(-25, 0));
    QApplication::processEvents();
    EXPECT_EQ(grid->ColWidths(contra), r.Right - (border.x() - 25));
}

TEST_F(GridInputMouse, IndicatorClicksSelectRecords)
{
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    GoTo(1);
    Click(0, 2);
    EXPECT_EQ(Rec(), 2);
    EXPECT_EQ(grid->SelectedRows()->Count(), 1);
    // Shift+click five rows further down: the six records.
    Click(0, 7, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedRows()->Count(), 6);
    // Ctrl+click toggles one record.
    Click(0, 4, Qt::ControlModifier);
    EXPECT_EQ(grid->SelectedRows()->Count(), 5);
    EXPECT_FALSE(grid->SelectedRows()->CurrentRowSelected());
    Click(0, 4, Qt::ControlModifier);
    EXPECT_EQ(grid->SelectedRows()->Count(), 6);
    // A plain click selects that record alone.
    Click(0, 9);
    EXPECT_EQ(grid->SelectedRows()->Count(), 1);
    EXPECT_EQ(Rec(), 9);
}

TEST_F(GridInputMouse, CellClickAndDoubleClickFire)
{
    GoTo(1);
    TColumnGx* clicked = nullptr;
    int doubleClicks = 0;
    grid->OnCellClick = [&](TColumnGx* c) { clicked = c; };
    grid->OnDblClick = [&](QObject*) { ++doubleClicks; };
    Click(3, 5);
    EXPECT_EQ(Rec(), 5);
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(clicked->FieldName(), QStringLiteral("mname"));
    EXPECT_EQ(grid->SelectedIndex(), 2);
    QTest::mouseDClick(grid, Qt::LeftButton, Qt::NoModifier, CellCenter(2, 6));
    QApplication::processEvents();
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(GridInputMouse, HotTrackingFollowsTheMouse)
{
    grid->SetOptionsGx(grid->OptionsGx() + TDBGridGxOptions{dghHotTrack, dghRowHighlight});
    grid->Columns()->SetState(csCustomized);
    const int col = ColumnOf("mname") + 1;
    TColumnGx* name = grid->Columns()->GetColumn(col - 1);
    name->EditButtons()->Add();
    QApplication::processEvents();

    // The edit button at the top right of the cell under the mouse.
    const TRect r = grid->CellRect(col, 3);
    QTest::mouseMove(grid, CellCenter(col, 3));
    EXPECT_EQ(grid->HotTrackCell().X, col);
    EXPECT_EQ(grid->HotTrackCell().Y, 3);
    EXPECT_EQ(grid->HotTrackEditButton(), -1);
    QTest::mouseMove(grid, QPoint(r.Right - 3, r.Top + 2));
    EXPECT_EQ(grid->HotTrackEditButton(), 1);
    // A busy cursor of the application keeps the buttons as they are.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QTest::mouseMove(grid, CellCenter(col, 3));
    EXPECT_EQ(grid->HotTrackEditButton(), 1);
    QGuiApplication::restoreOverrideCursor();
    QTest::mouseMove(grid, CellCenter(col, 3) + QPoint(1, 0));
    EXPECT_EQ(grid->HotTrackEditButton(), -1);
    // Outside the data cells there is no hot button.
    QTest::mouseMove(grid, QPoint(r.Right - 3, r.Top + 2));
    EXPECT_EQ(grid->HotTrackEditButton(), 1);
    QTest::mouseMove(grid, TitleAt(grid, col));
    EXPECT_EQ(grid->HotTrackEditButton(), -1);

    // Two-level titles: over the column's own caption, not over the band.
    grid->Columns()->GetColumn(col - 2)->Title()->SetCaption(QStringLiteral("材料|编码"));
    name->Title()->SetCaption(QStringLiteral("材料|名称"));
    grid->SetUseMultiTitle(true);
    QApplication::processEvents();
    const TRect t = grid->CellRect(col, 0);
    QTest::mouseMove(grid, QPoint((t.Left + t.Right) / 2, t.Top + 2));
    EXPECT_FALSE(grid->HotTrackMultiTitleOver());
    QTest::mouseMove(grid, QPoint((t.Left + t.Right) / 2, t.Bottom - 2));
    EXPECT_TRUE(grid->HotTrackMultiTitleOver());
    QTest::mouseMove(grid, CellCenter(col, 2));
    EXPECT_FALSE(grid->HotTrackMultiTitleOver());
    EXPECT_EQ(grid->HotTrackCell().Y, 2);

    // Leaving the grid leaves no hot cell behind.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid, &leave);
    EXPECT_EQ(grid->HotTrackCell().X, -1);
    EXPECT_EQ(grid->HotTrackCell().Y, -1);
}

TEST_F(GridInputMouse, DraggedRowHeightBecomesTheDefault)
{
    grid->SetRowSizingAllowed(true);
    QApplication::processEvents();
    const int before = grid->DefaultRowHeight();
    const TRect r = grid->CellRect(0, 2);
    const QPoint border((r.Left + r.Right) / 2, r.Bottom);
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(grid, border + QPoint(0, 12));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, border + QPoint(0, 12));
    QApplication::processEvents();
    EXPECT_EQ(grid->RowHeight(), before + 12);
    EXPECT_EQ(grid->RowLines(), 0);
    EXPECT_EQ(grid->DefaultRowHeight(), before + 12);
    EXPECT_EQ(grid->RowHeights(2), before + 12);
    EXPECT_EQ(grid->RowHeights(5), before + 12);
    // A later change of the rows leaves the height alone.
    Click(2, 4);
    EXPECT_EQ(grid->RowHeight(), before + 12);
}
