// Scrolling the data grid on an account set's material list: the wheel moves one
// record a notch (touchpad parts add up), the scroll-bar thumb moves the record
// live, and dragging a selection beyond the data area auto-scrolls by the
// interval table.
#include "dbgrid_input_fixture.h"

#include <QWheelEvent>

using namespace gxinput;

using GridInputScroll = GridTest;

namespace {

void Wheel(QWidget* w, int delta)
{
    const QPoint pos(w->width() / 2, w->height() / 2);
    QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    QApplication::processEvents();
}

} // namespace

TEST_F(GridInputScroll, OneWheelNotchIsOneRecord)
{
    GoTo(4);
    Wheel(grid, -120);
    EXPECT_EQ(Rec(), 5);
    Wheel(grid, 120);
    EXPECT_EQ(Rec(), 4);
    // Touchpad parts add up to a notch.
    Wheel(grid, -40);
    Wheel(grid, -40);
    EXPECT_EQ(Rec(), 4);
    Wheel(grid, -40);
    EXPECT_EQ(Rec(), 5);
    Wheel(grid, -240);
    EXPECT_EQ(Rec(), 7);
}

TEST_F(GridInputScroll, ThumbTrackingMovesOnceLive)
{
    GoTo(1);
    grid->ScrollBarMessage(SB_VERT, SB_THUMBTRACK, 8);
    EXPECT_EQ(Rec(), 8);
    // The position message after tracking does not move a second time.
    grid->ScrollBarMessage(SB_VERT, SB_THUMBPOSITION, 3);
    EXPECT_EQ(Rec(), 8);
    grid->ScrollBarMessage(SB_VERT, SB_THUMBPOSITION, 3);
    EXPECT_EQ(Rec(), 3);
    grid->ScrollBarMessage(SB_VERT, SB_BOTTOM, 0);
    EXPECT_EQ(Rec(), cds.RecordCount());
    grid->ScrollBarMessage(SB_VERT, SB_LINEUP, 0);
    EXPECT_LT(Rec(), cds.RecordCount());
}

TEST_F(GridInputScroll, AutoScrollIntervalTable)
{
    struct Case {
        int below;      // pixels below the data area
        int interval;   // milliseconds, -1: the timer stops
        int rows;       // records the step moves
    };
    const std::vector<Case> cases = {
        {3, 155, 0}, {6, 110, 1}, {12, 20, 2}, {30, 0, 5}, {-10, -1, 0},
    };
    // Rows selected by dragging over the data.
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect, dgRowSelect});
    for (const Case& c : cases) {
        grid->ClearSelection();
        GoTo(1);
        grid->setFocus();
        const QPoint start = CellCenter(2, 2);
        QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, start);
        QApplication::processEvents();
        ASSERT_EQ(Rec(), 2);
        const TRect data = grid->DataRect();
        const QPoint to(start.x(), data.Bottom + c.below - 1);
        QTest::mouseMove(grid, to);
        EXPECT_EQ(grid->AutoScrollInterval(), c.interval) << c.below;
        if (c.below > 0)
            EXPECT_EQ(Rec(), 2 + c.rows) << c.below;
        QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, to);
        QApplication::processEvents();
        EXPECT_EQ(grid->AutoScrollInterval(), -1);
    }
}

TEST_F(GridInputScroll, SavedPositionSurvivesDeletionsOutsideTheWindow)
{
    grid->resize(grid->width(), 120);
    QApplication::processEvents();
    GoTo(12);
    Key(Qt::Key_Up);
    const int row = grid->Row();
    const QString code = Field("code");
    ASSERT_GT(row, grid->TopDataOffset());
    grid->SaveBookmark();
    cds.DisableControls();
    cds.First();
    cds.Delete();
    cds.Delete();
    grid->RestoreBookmark();
    cds.EnableControls();
    QApplication::processEvents();
    EXPECT_EQ(Field("code"), code);
    EXPECT_EQ(grid->Row(), row);
}
