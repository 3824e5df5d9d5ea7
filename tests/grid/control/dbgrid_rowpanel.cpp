// Row-panel mode: the places of the columns inside a record's panel, the scaled
// widths, the column order, the hit tests, the mode switched on in a shown grid
// and the editor over a panel column.
#include "dbgrid_panels_fixture.h"
#include "testmain/testsupport.h"

using namespace gxpanels;

using RowPanel = PanelGridTest;

namespace {

struct Place {
    int left, top, width;
};

} // namespace

TEST_F(RowPanel, PlacementTable)
{
    TDBGridColumnsGx* cols = grid->Columns();
    ASSERT_EQ(cols->Count(), 3);
    const int h = grid->InRowPanelLineHeight();
    const int g = grid->GridLineWidth();
    ASSERT_EQ(g, 1);
    struct Col {
        int pos, lines, width;
        bool visible;
    };
    struct Case {
        const char* name;
        std::vector<Col> cols;
        std::vector<Place> want;
        int masterWidth, masterLines;
    };
    const std::vector<Case> cases = {
        {"two on line 0, the third starts line 1",
         {{0, 1, 50, true}, {0, 1, 70, true}, {1, 1, 60, true}},
         {{0, 0, 50}, {51, 0, 70}, {0, 1, 60}},
         121, 2},
        {"a column over lines 0 and 1 pushes line 1 to its right",
         {{0, 2, 50, true}, {0, 1, 70, true}, {1, 1, 60, true}},
         {{0, 0, 50}, {51, 0, 70}, {51, 1, 60}},
         121, 2},
        {"an invisible column keeps its line's edge",
         {{0, 1, 50, true}, {0, 1, 70, false}, {0, 1, 60, true}},
         {{0, 0, 50}, {51, 0, 0}, {51, 0, 60}},
         111, 1},
        {"line height 0 reads 1, position -3 reads 0",
         {{-3, 0, 50, true}, {0, 1, 70, true}, {2, 1, 40, true}},
         {{0, 0, 50}, {51, 0, 70}, {0, 2, 40}},
         121, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 3; ++i) {
            TColumnGx* col = cols->GetColumn(i);
            col->SetInRowLinePos(c.cols[size_t(i)].pos);
            col->SetInRowLineHeight(c.cols[size_t(i)].lines);
            col->SetWidth(c.cols[size_t(i)].width);
            col->SetVisible(c.cols[size_t(i)].visible);
        }
        cols->RelayoutCellsInRowPanel();
        for (int i = 0; i < 3; ++i) {
            const auto& p = cols->GetColumn(i)->RowPlacement();
            const Col& in = c.cols[size_t(i)];
            EXPECT_EQ(p.Left, c.want[size_t(i)].left) << i;
            EXPECT_EQ(p.Top, c.want[size_t(i)].top * (g + h)) << i;
            EXPECT_EQ(p.Width, c.want[size_t(i)].width) << i;
            EXPECT_EQ(p.Height, std::max(1, in.lines) * (g + h) - 1) << i;
            EXPECT_EQ(p.DataCellLeft, p.Left) << i;
            EXPECT_EQ(p.DataCellWidth, p.Width) << i;
        }
        EXPECT_EQ(grid->GridMasterCellWidth(), c.masterWidth);
        EXPECT_EQ(grid->GridMasterCellHeight(), c.masterLines * (g + h) - 1);
    }
    EXPECT_EQ(cols->GetColumn(0)->InRowLinePos(), 0);
    EXPECT_EQ(cols->GetColumn(0)->InRowLineHeight(), 1);
}

TEST_F(RowPanel, ScaledWidthsKeepNeighboursAdjacent)
{
    TDBGridColumnsGx* cols = grid->Columns();
    const int widths[] = {50, 70, 60};
    for (int i = 0; i < 3; ++i) {
        cols->GetColumn(i)->SetInRowLinePos(i < 2 ? 0 : 1);
        cols->GetColumn(i)->SetWidth(widths[i]);
    }
    cols->RelayoutCellsInRowPanel();
    // The panel (121 + line) doubles: every right edge doubles with it.
    cols->ScaleWidths(122, 244);
    EXPECT_EQ(cols->GetColumn(0)->Width(), 101);   // round(51 * 2) - 0 - 1
    EXPECT_EQ(cols->GetColumn(1)->Width(), 141);   // round(122 * 2) - round(51 * 2) - 1
    EXPECT_EQ(cols->GetColumn(2)->Width(), 121);
    EXPECT_EQ(cols->GetColumn(1)->RowPlacement().Left, 102);
    EXPECT_EQ(grid->GridMasterCellWidth(), 243);
}

TEST_F(RowPanel, ActiveModeOrderHitTestsAndEditor)
{
    TDBGridColumnsGx* cols = grid->Columns();
    // "munit" first on line 1, "code" and "mname" side by side on line 0.
    cols->GetColumn(2)->SetIndex(0);
    cols->GetColumn(0)->SetInRowLinePos(1);
    for (int i = 0; i < 3; ++i)
        cols->GetColumn(i)->SetWidth(80);
    grid->SetSelectedIndex(2);
    grid->RowPanel()->SetActive(true);
    QApplication::processEvents();
    // Sorted by place: left, then top.
    QStringList order;
    for (int i = 0; i < cols->Count(); ++i)
        order << cols->GetColumn(i)->FieldName();
    EXPECT_EQ(order.join(QLatin1Char(' ')), QStringLiteral("code munit mname"));
    EXPECT_EQ(grid->Col(), grid->IndicatorOffset());
    EXPECT_EQ(grid->ColWidths(grid->IndicatorOffset()), grid->GridMasterCellWidth());
    EXPECT_EQ(grid->DefaultRowHeight(), grid->GridMasterCellHeight());
    const int h = grid->InRowPanelLineHeight() + 1;

    struct Hit {
        int x, y;
        const char* field;   // nullptr: none
    };
    for (const Hit& hit : std::vector<Hit>{{5, 2, "code"}, {85, 2, "mname"}, {5, h + 2, "munit"},
                                           {85, h + 2, nullptr}, {80, 2, "code"}}) {
        SCOPED_TRACE(hit.x * 1000 + hit.y);
        TColumnGx* c = grid->GetColumnInRowPanelAtPos(TPoint(hit.x, hit.y), false);
        EXPECT_EQ(c ? c->FieldName() : QString(), hit.field ? QString::fromLatin1(hit.field) : QString());
        TRect r;
        TColumnGx* t = grid->GetCellRectInRowPanelAtPos(TPoint(hit.x, hit.y), r, true);
        EXPECT_EQ(t, c);
        if (t)
            EXPECT_EQ(r.Width(), 81);
    }

    // The editor opens over the current panel column.
    grid->SetInRowPanelCol(2);
    grid->ShowEditor();
    QApplication::processEvents();
    ASSERT_TRUE(grid->InplaceEditorVisible());
    const TRect cell = grid->CellRect(grid->Col(), grid->Row());
    const QRect e = grid->InplaceEditor()->geometry();
    EXPECT_EQ(e.left(), cell.Left + 81);
    EXPECT_EQ(e.top(), cell.Top);
    EXPECT_EQ(grid->InplaceEditorText(), QString::fromUtf8(PanelRows()[0][1]));
    grid->SetInRowPanelCol(1);
    EXPECT_EQ(grid->InplaceEditorText(), QString::fromUtf8(PanelRows()[0][2]));
    EXPECT_EQ(grid->InplaceEditor()->geometry().top(), cell.Top + h);
    grid->HideEditor();

    // The panel paints whole: write it out to look at.
    EXPECT_TRUE(grid->grab().save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_rowpanel.png")));
}

// ---------------------------------------------------------------- clicks, keys and the mouse in the panel

namespace {

// "code" and "mname" side by side on line 0, "munit" under "code" on line 1, 80 pixels each.
class RowPanelInput : public PanelGridTest {
protected:
    void SetUp() override
    {
        PanelGridTest::SetUp();
        TDBGridColumnsGx* cols = grid->Columns();
        for (int i = 0; i < cols->Count(); ++i)
            cols->GetColumn(i)->SetWidth(80);
        Column("munit")->SetInRowLinePos(1);
        grid->RowPanel()->SetActive(true);
        grid->SetOptions(grid->Options() + TDBGridOptions{dgEditing});
        QApplication::processEvents();
        h = grid->InRowPanelLineHeight() + grid->GridLineWidth();
    }
    TColumnGx* Column(const char* field)
    {
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            if (grid->Columns()->GetColumn(i)->FieldName() == QLatin1String(field))
                return grid->Columns()->GetColumn(i);
        return nullptr;
    }
    QString Current() { return grid->Columns()->GetColumn(grid->SelectedIndex())->FieldName(); }
    // A point inside a column's place in the panel of a grid row (0: titles).
    QPoint In(const char* field, int row, int dx = 10, int dy = 4)
    {
        const TRect cell = grid->CellRect(grid->IndicatorOffset(), row);
        const auto& p = Column(field)->RowPlacement();
        return QPoint(cell.Left + p.Left + dx, cell.Top + p.Top + dy);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(grid, Qt::Key(key), mods);
        QApplication::processEvents();
    }
    void Move(const QPoint& p)
    {
        QMouseEvent move(QEvent::MouseMove, p, grid->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid, &move);
        QApplication::processEvents();
    }
    int h = 0;
};

} // namespace

// A click inside a record's panel makes the column under the mouse current on that record,
// and a second click there opens the editor on that column's value.
TEST_F(RowPanelInput, ClickSelectsTheColumnUnderTheMouse)
{
    struct Case {
        const char* field;
        int recNo;
    };
    for (const Case& c : {Case{"munit", 2}, Case{"mname", 3}, Case{"code", 1}, Case{"munit", 4}}) {
        SCOPED_TRACE(c.field);
        Click(In(c.field, DataRow(c.recNo)));
        EXPECT_EQ(Current(), QLatin1String(c.field));
        EXPECT_EQ(table->RecNo(), c.recNo);
    }
    Click(In("munit", DataRow(4)));
    ASSERT_TRUE(grid->InplaceEditorVisible());
    EXPECT_EQ(grid->InplaceEditorText(), QString::fromUtf8(PanelRows()[3][2]));
    const QRect e = grid->InplaceEditor()->geometry();
    EXPECT_TRUE(e.contains(In("munit", DataRow(4))));
}

// Cell-to-cell keys walk the panel's columns: Left and Right along the lines (on to the next
// line), Up and Down within the panel and on into the neighbouring records; left-to-right
// tabs walk each line before the next and then the next record.
TEST_F(RowPanelInput, KeysMoveBetweenThePanelsColumns)
{
    grid->RowPanel()->SetNavKeysNavigationType(rpntCellToCellGx);
    grid->SetSelectedIndex(Column("code")->Index());
    struct Step {
        int key;
        const char* field;
        int recNo;
    };
    const Step keys[] = {{Qt::Key_Right, "mname", 1}, {Qt::Key_Right, "munit", 1}, {Qt::Key_Left, "mname", 1},
                         {Qt::Key_Left, "code", 1},   {Qt::Key_Down, "munit", 1},  {Qt::Key_Down, "code", 2},
                         {Qt::Key_Up, "munit", 1},    {Qt::Key_Up, "code", 1}};
    for (const Step& s : keys) {
        Key(s.key);
        EXPECT_EQ(Current(), QLatin1String(s.field)) << s.key << " " << s.field;
        EXPECT_EQ(table->RecNo(), s.recNo) << s.key << " " << s.field;
    }
    // Rows to rows (the default): Right follows the column order, Down the records.
    grid->RowPanel()->SetNavKeysNavigationType(rpntRowToRowGx);
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), QStringLiteral("code"));
    EXPECT_EQ(table->RecNo(), 2);

    grid->RowPanel()->SetTabNavigationType(rpntLeftToRightPriorityGx);
    const Step tabs[] = {{Qt::Key_Tab, "mname", 2}, {Qt::Key_Tab, "munit", 2}, {Qt::Key_Tab, "code", 3}};
    for (const Step& s : tabs) {
        Key(s.key);
        EXPECT_EQ(Current(), QLatin1String(s.field)) << "tab " << s.field;
        EXPECT_EQ(table->RecNo(), s.recNo) << "tab " << s.field;
    }
    grid->RowPanel()->SetTabNavigationType(rpntUpToDownPriorityGx);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Current(), QStringLiteral("munit"));
}

// A title dragged beyond the threshold moves its column: the drag box follows the mouse and
// the move line marks the place; dropped right of "munit" on line 1, "mname" goes there. A
// title's right border sizes the column, and the columns ending with it.
TEST_F(RowPanelInput, ColumnsMoveAndSizeInsideThePanel)
{
    const QPoint from = In("mname", 0, 30, h / 2);
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, from);
    Move(from + QPoint(2, 0));
    EXPECT_EQ(grid->GridState(), gsNormal) << "3 pixels stay a press";
    const QPoint to = In("munit", 0, 85, h / 2);
    Move(from + QPoint(10, 4));
    EXPECT_EQ(grid->GridState(), gsColMoving);
    Move(to);
    ASSERT_TRUE(GridDragBox()->isVisible());
    ASSERT_TRUE(GridMoveLine()->isVisible());
    const TRect title = grid->CellRect(grid->IndicatorOffset(), 0);
    // The line stands on munit's right edge, on line 1.
    EXPECT_EQ(GridMoveLine()->geometry().center().x(), grid->mapToGlobal(QPoint(title.Left + 80, 0)).x());
    EXPECT_EQ(GridMoveLine()->geometry().top(), grid->mapToGlobal(QPoint(0, title.Top + h - 4)).y());
    EXPECT_EQ(GridDragBox()->size(), QSize(80, h - 1));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, to);
    QApplication::processEvents();
    EXPECT_FALSE(GridDragBox()->isVisible());
    EXPECT_FALSE(GridMoveLine()->isVisible());
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(Column("mname")->InRowLinePos(), 1);
    EXPECT_EQ(Column("mname")->RowPlacement().Left, 81);
    EXPECT_EQ(Column("munit")->RowPlacement().Left, 0);
    EXPECT_EQ(grid->GridMasterCellWidth(), 161);

    // munit's right border, 20 pixels to the right: code ends there too and follows.
    const QPoint border = In("munit", 0, 80, h / 2);
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, border);
    EXPECT_EQ(grid->GridState(), gsColSizing);
    Move(border + QPoint(20, 0));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, border + QPoint(20, 0));
    QApplication::processEvents();
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(Column("munit")->Width(), 100);
    EXPECT_EQ(Column("code")->Width(), 100);
    EXPECT_EQ(Column("mname")->RowPlacement().Left, 101);
    // Within 4 pixels of another right edge a width snaps to it; with Shift the column sizes alone.
    const QPoint codeBorder = In("code", 0, 100, h / 2);
    QTest::mousePress(grid, Qt::LeftButton, Qt::ShiftModifier, codeBorder);
    Move(codeBorder + QPoint(79, 0));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::ShiftModifier, codeBorder + QPoint(79, 0));
    QApplication::processEvents();
    EXPECT_EQ(Column("code")->Width(), 181) << "snapped to mname's right edge";
    EXPECT_EQ(Column("munit")->Width(), 100);

    // The moved panel paints whole: written out to look at.
    grid->Repaint();
    EXPECT_TRUE(grid->grab().save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_rowpanel_moved.png")));
}
