// The data grid over a memory table holding an account set's material list:
// grouped by unit it shows group rows with their texts, the indentation of the
// levels and the grouping panel (clicks and drops); without grouping it shows
// every record as a row and scrolls rows with the bar and the wheel.
#include "dbgrid_input_fixture.h"
#include "memtable_fixture.h"
#include "grid/control/DBGridGxGroups.h"
#include "grid/control/DBGridGxParts.h"
#include "testmain/testsupport.h"

#include <QWheelEvent>
#include <map>

using namespace gxinput;

namespace {

class GridMemTable : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        if (HasFatalFailure())
            return;
        table.SetData(cds.Data());
        table.First();
        grid->SetDataSource(nullptr);
        src.SetDataSet(&table);
        grid->SetDataSource(&src);
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->GetColumn(i)->SetWidth(76);
        Column("munit")->Title()->SetCaption(QStringLiteral("单位"));
        Column("mname")->Title()->SetCaption(QStringLiteral("名称"));
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (grid)
            grid->SetDataSource(nullptr);
        GridTest::TearDown();
    }
    int Rec() const { return table.RecNo(); }
    void GoTo(int recNo)
    {
        table.SetRecNo(recNo);
        QApplication::processEvents();
    }
    TColumnGx* Column(const char* field) { return grid->Columns()->GetColumn(ColumnOf(field)); }
    TDBGridGxDataGroupsGx* Groups() { return grid->DataGrouping(); }
    // Groups by the unit column.
    void GroupByUnit(bool expanded = true)
    {
        Groups()->SetDefaultStateExpanded(expanded);
        Groups()->SetGroupPanelVisible(true);
        Groups()->SetActive(true);
        Groups()->GroupLevels()->Add()->SetColumn(Column("munit"));
        QApplication::processEvents();
    }
    // The shown rows: group rows by their text, record rows by their code.
    QStringList Rows()
    {
        QStringList rows;
        TGridGroupDataTreeGx* tree = Groups()->GroupDataTree();
        for (int i = 0; i < tree->FlatVisibleCount(); ++i) {
            TGroupDataTreeNodeGx* n = tree->FlatVisibleNode(i);
            if (n->NodeType() == dntDataGroupGx) {
                rows << n->DataGroup()->GetGroupRowText(n);
            } else {
                table.InstantReadEnter(n->DataSetRecordViewNo());
                rows << table.FieldByName(QStringLiteral("code"))->AsString();
                table.InstantReadLeave();
            }
        }
        return rows;
    }
    int DataRows() { return grid->RowCount() - grid->TopDataOffset(); }
    void Press(const QPoint& from, const QPoint& to)
    {
        QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move1(QEvent::MouseMove, from + QPoint(5, 0), grid->mapToGlobal(from + QPoint(5, 0)),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid, &move1);
        QMouseEvent move2(QEvent::MouseMove, to, grid->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(grid, &move2);
        QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, to);
        QApplication::processEvents();
    }
    QPoint Center(const TRect& r) const { return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

    TMemTableTestDataSet table;
};

} // namespace

TEST_F(GridMemTable, GroupRowsShowColumnKeyAndCount)
{
    EXPECT_EQ(table.ReceiverCount(), 1);
    GroupByUnit();
    ASSERT_TRUE(Groups()->IsGroupingWorks());
    const QStringList rows = Rows();
    // Units in text order, each group above its records.
    ASSERT_EQ(rows.size(), 10 + 12);
    EXPECT_EQ(rows.indexOf(QStringLiteral("单位: 根 (2)")) + 1, rows.indexOf(QStringLiteral("C01")));
    EXPECT_EQ(rows.indexOf(QStringLiteral("单位: 根 (2)")) + 2, rows.indexOf(QStringLiteral("E02")));
    EXPECT_TRUE(rows.contains(QStringLiteral("单位: 吨 (1)")));
    EXPECT_EQ(DataRows(), 22);
    EXPECT_EQ(grid->ExtraFirstColumnWidth(), 18);

    // The grid's and the level's events may replace the text, in this order.
    grid->OnDataGroupGetRowText = [](TCustomDBGridGx*, TGroupDataTreeNodeGx*, QString& text) { text += "!"; };
    Groups()->Level(0)->OnGetGroupRowText = [](TCustomDBGridGx*, TGroupDataTreeNodeGx*, QString& text) {
        text += "?";
    };
    EXPECT_EQ(Rows().first().right(2), QStringLiteral("!?"));

    // A changed unit moves the record; a deleted one takes its group along.
    GoTo(1);
    table.Edit();
    table.FieldByName(QStringLiteral("munit"))->SetAsString(QStringLiteral("根"));
    table.Post();
    grid->OnDataGroupGetRowText = nullptr;
    Groups()->Level(0)->OnGetGroupRowText = nullptr;
    EXPECT_TRUE(Rows().contains(QStringLiteral("单位: 根 (3)")));
    EXPECT_FALSE(Rows().contains(QStringLiteral("单位: 吨 (1)")));
    EXPECT_EQ(DataRows(), 21);

    // Two levels: a record row has the 36-pixel indentation.
    Groups()->GroupLevels()->Add()->SetColumn(Column("mtype"));
    EXPECT_EQ(grid->ExtraFirstColumnWidth(), 36);
    Groups()->GroupLevels()->Clear();
    EXPECT_EQ(grid->ExtraFirstColumnWidth(), 0);
    EXPECT_EQ(DataRows(), 12);
}

TEST_F(GridMemTable, GroupRowKeysCollapseScrollAndMove)
{
    GroupByUnit();
    grid->setFocus();
    // The first row is the first group; the dataset stands on its first record.
    grid->GotoGroupNode(Groups()->GroupDataTree()->FlatVisibleNode(0), false);
    const int rowsBefore = DataRows();
    TGroupDataTreeNodeGx* first = grid->CurGroupDataNode();
    ASSERT_EQ(first->NodeType(), dntDataGroupGx);
    EXPECT_EQ(table.RecNo(), first->Child(0)->DataSetRecordViewNo() + 1);
    Key(Qt::Key_Left);
    EXPECT_FALSE(first->Expanded());
    EXPECT_EQ(DataRows(), rowsBefore - first->Count());
    // On a collapsed group Right expands, then scrolls the grid a column; on an
    // expanded group Left collapses, then scrolls back.
    const int left = grid->LeftCol();
    Key(Qt::Key_Right);
    EXPECT_TRUE(first->Expanded());
    Key(Qt::Key_Right);
    EXPECT_EQ(grid->LeftCol(), left + 1);
    Key(Qt::Key_Left);
    EXPECT_FALSE(first->Expanded());
    Key(Qt::Key_Left);
    EXPECT_EQ(grid->LeftCol(), left);
    Key(Qt::Key_Right);
    // Down steps through the flat list: into the group's record, then on.
    Key(Qt::Key_Down);
    EXPECT_EQ(grid->Row(), grid->TopDataOffset() + 1);
    EXPECT_EQ(grid->CurGroupDataNode(), first->Child(0));
    Key(Qt::Key_Up);
    EXPECT_EQ(grid->CurGroupDataNode(), first);
    // Numeric pad: minus collapses, plus expands, star toggles.
    for (auto [key, expanded] : std::vector<std::pair<int, bool>>{
             {Qt::Key_Minus, false}, {Qt::Key_Plus, true}, {Qt::Key_Asterisk, false}, {Qt::Key_Asterisk, true}}) {
        QTest::keyClick(grid, Qt::Key(key), Qt::KeypadModifier);
        EXPECT_EQ(first->Expanded(), expanded) << key;
    }
    // A click on the sign box collapses the group.
    const TRect cell = grid->CellRect(grid->IndicatorOffset(), grid->TopDataOffset());
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(cell.Left + 9, (cell.Top + cell.Bottom) / 2));
    EXPECT_FALSE(first->Expanded());
}

TEST_F(GridMemTable, GroupingPanelBoxesClicksAndDrops)
{
    Groups()->SetGroupPanelVisible(true);
    Groups()->SetActive(true);
    QApplication::processEvents();
    // Without levels the panel shows the hint and is 30 pixels high.
    EXPECT_EQ(grid->OutBoundaryData()->TopIndent(), 30);
    EXPECT_FALSE(Groups()->IsGroupingWorks());

    // A unit title dropped on the panel groups by unit and hides the column.
    const QPoint title = Center(grid->CellRect(ColumnOf("munit") + grid->IndicatorOffset(), 0));
    Press(title, QPoint(20, 12));
    ASSERT_EQ(Groups()->ActiveGroupLevelsCount(), 1);
    EXPECT_EQ(Groups()->ActiveGroupLevel(0)->Column(), Column("munit"));
    EXPECT_FALSE(Column("munit")->Visible());
    EXPECT_TRUE(Groups()->IsGroupingWorks());
    const TRect box = Groups()->ActiveGroupLevel(0)->GroupPanelRect;
    EXPECT_EQ(grid->OutBoundaryData()->TopIndent(), box.Bottom + 5);

    // A click on the box flips the level's order.
    const QString firstGroup = Rows().first();
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, Center(box));
    QApplication::processEvents();
    EXPECT_EQ(Groups()->ActiveGroupLevel(0)->SortOrder(), soDescGx);
    EXPECT_NE(Rows().first(), firstGroup);

    // A second title goes right of the first box; dragging it left puts it first.
    const QPoint typeTitle = Center(grid->CellRect(ColumnOf("mtype") + grid->IndicatorOffset(), 0));
    Press(typeTitle, QPoint(box.Right + 30, 12));
    ASSERT_EQ(Groups()->ActiveGroupLevelsCount(), 2);
    EXPECT_EQ(Groups()->ActiveGroupLevel(1)->Column(), Column("mtype"));
    const TRect second = Groups()->ActiveGroupLevel(1)->GroupPanelRect;
    Press(Center(second), QPoint(2, Center(second).y()));
    EXPECT_EQ(Groups()->ActiveGroupLevel(0)->Column(), Column("mtype"));

    // A box dragged below the panel gives its column back.
    Press(Center(Groups()->ActiveGroupLevel(0)->GroupPanelRect), QPoint(100, 150));
    EXPECT_EQ(Groups()->ActiveGroupLevelsCount(), 1);
    EXPECT_TRUE(Column("mtype")->Visible());
}

// A column title dragged over the grouping panel shows the insertion line among the level
// boxes where it would drop, as high as a box; back among the titles the grid's own line shows.
TEST_F(GridMemTable, TitleOverTheGroupingPanelShowsTheInsertionLine)
{
    GroupByUnit();
    const TRect box = Groups()->ActiveGroupLevel(0)->GroupPanelRect;
    const QPoint title = Center(grid->CellRect(ColumnOf("mtype") + grid->IndicatorOffset(), 0));
    auto move = [&](const QPoint& p) {
        QMouseEvent e(QEvent::MouseMove, p, grid->mapToGlobal(p), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid, &e);
        QApplication::processEvents();
    };
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, title);
    move(title + QPoint(5, 0));
    ASSERT_EQ(grid->GridState(), gsColMoving);
    TGridMoveLineGx* line = GridMoveLine();
    for (const int x : {2, box.Right + 30}) {
        SCOPED_TRACE(x);
        const QPoint over(x, Center(box).y());
        move(over);
        int drop = 0, height = 0, pos = 0;
        grid->GroupPanelDropPosition(over.x(), drop, height, pos);
        ASSERT_TRUE(line->isVisible());
        EXPECT_EQ(line->geometry().center().x(), grid->mapToGlobal(QPoint(pos, 0)).x());
        EXPECT_EQ(line->height(), height + 8);
        EXPECT_EQ(line->geometry().top(), grid->mapToGlobal(QPoint(0, box.Top - 4)).y());
    }
    move(title + QPoint(10, 0));
    ASSERT_TRUE(line->isVisible());
    EXPECT_GT(line->height(), box.Height() + 8) << "the grid's line over the titles and rows";
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, title + QPoint(10, 0));
    QApplication::processEvents();
    EXPECT_FALSE(line->isVisible());
    EXPECT_EQ(Groups()->ActiveGroupLevelsCount(), 1);
}

TEST_F(GridMemTable, RowsScrollWithBarAndWheel)
{
    // Without grouping every record view is a row of its own; some of them in view.
    grid->setGeometry(4, 4, 420, 150);
    QApplication::processEvents();
    EXPECT_EQ(DataRows(), 12);
    EXPECT_EQ(grid->DataRowToRecNo(4), 5);
    const int fixed = grid->FixedRows();
    EXPECT_EQ(grid->SafeMoveTop(-5, true), fixed);
    const int maxTop = grid->SafeMoveTop(10000, true);
    EXPECT_GT(maxTop, fixed);
    EXPECT_LT(maxTop, grid->RowCount());

    struct Step {
        const char* what;
        int code;
        int expectTop;   // -1: maxTop
    };
    const Step steps[] = {
        {"line down", SB_LINEDOWN, fixed + 1}, {"line up", SB_LINEUP, fixed},     {"bottom", SB_BOTTOM, -1},
        {"top", SB_TOP, fixed},                {"thumb to 3", SB_THUMBPOSITION, fixed + 2},
    };
    GoTo(1);
    for (const Step& s : steps) {
        grid->ScrollBarMessage(SB_VERT, s.code, 3);
        EXPECT_EQ(grid->TopRow(), s.expectTop < 0 ? maxTop : s.expectTop) << s.what;
        // The view scrolls; the record stays.
        EXPECT_EQ(Rec(), 1) << s.what;
    }
    TScrollInfo si;
    si.fMask = SIF_ALL;
    grid->GetScrollInfo(SB_VERT, si);
    EXPECT_EQ(si.nMin, 1);
    EXPECT_EQ(si.nPos, grid->TopRow() - fixed + 1);
    EXPECT_EQ(si.nMax, 12);

    // The wheel: plain scrolls the view, Shift moves the record, Ctrl pages.
    grid->ScrollBarMessage(SB_VERT, SB_TOP, 0);
    const auto wheel = [&](Qt::KeyboardModifiers mods) {
        const QPoint pos(grid->width() / 2, grid->height() / 2);
        QWheelEvent e(pos, grid->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, mods,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid, &e);
        QApplication::processEvents();
    };
    wheel(Qt::NoModifier);
    EXPECT_EQ(grid->TopRow(), fixed + 1);
    EXPECT_EQ(Rec(), 1);
    wheel(Qt::ShiftModifier);
    EXPECT_EQ(Rec(), 2);
    wheel(Qt::ControlModifier);
    EXPECT_EQ(grid->TopRow(), maxTop);

    // The current row follows the table's current record.
    GoTo(7);
    EXPECT_EQ(grid->Row(), grid->TopDataOffset() + 6);
    // An inserted record is a new row.
    table.AppendRecord({Variant(99), Variant(QStringLiteral("Z9")), Variant(QStringLiteral("新料")),
                        Variant(QStringLiteral("件")), Variant(QStringLiteral("X"))});
    EXPECT_EQ(DataRows(), 13);
    table.Delete();
    EXPECT_EQ(DataRows(), 12);
    // A grid that lets go of the table stops listening to it.
    grid->SetDataSource(nullptr);
    EXPECT_EQ(table.ReceiverCount(), 0);
    EXPECT_FALSE(grid->UsesMemTableScrolling());
}

// Over a memory table the rows of the selection are read row by row from the screen: the
// block runs from the first shown row holding a selected record to the last.
TEST_F(GridMemTable, SelectionBlockReadsTheShownRows)
{
    grid->SetOptions(grid->Options() + TDBGridOptions{dgMultiSelect});
    for (const int recNo : {3, 6}) {
        GoTo(recNo);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    GoTo(1);
    const int top = grid->TopDataOffset();
    const TRect r = grid->SelectedRows()->SelectionToGridRect();
    EXPECT_EQ(r.Top, top + 2);
    EXPECT_EQ(r.Bottom, top + 5);
    EXPECT_EQ(r.Left, 0);
    EXPECT_EQ(r.Right, grid->ColCount() - 1);
    grid->SelectedRows()->Clear();
    EXPECT_EQ(grid->SelectedRows()->SelectionToGridRect().Top, -1);
}

// A grouped record's first cell starts right of the level indent and ends a pixel higher,
// level with the indent's bottom line; the other cells keep the whole row. With the record's
// detail panel open, the strip under it carries the level blocks on down.
TEST_F(GridMemTable, GroupedRecordCellsAndTheDetailStrip)
{
    GroupByUnit();
    Groups()->ActiveGroupLevel(0)->SetColor(clYellow);
    const int top = grid->TopDataOffset();
    const int col = grid->IndicatorOffset();
    ASSERT_EQ(Groups()->GroupDataTree()->FlatVisibleNode(0)->NodeType(), dntDataGroupGx);
    ASSERT_NE(Groups()->GroupDataTree()->FlatVisibleNode(1)->NodeType(), dntDataGroupGx);
    std::map<std::pair<int, int>, TRect> areas;
    grid->OnAdvDrawDataCell = [&](TCustomDBGridGx*, TGridCoord cell, TGridCoord, TColumnGx*, const TRect& r,
                                  TColCellParamsGx&, bool&) { areas[{cell.X, cell.Y}] = r; };
    grid->Invalidate();
    (void)grid->grab();
    const TRect first = grid->CellRect(col, top + 1);
    const std::pair<int, int> firstAt(col, top + 1), secondAt(col + 1, top + 1);
    ASSERT_TRUE(areas.count(firstAt));
    EXPECT_EQ(areas[firstAt].Left, first.Left + grid->ExtraFirstColumnWidth());
    EXPECT_EQ(areas[firstAt].Bottom, first.Bottom - 1);
    const TRect second = grid->CellRect(col + 1, top + 1);
    ASSERT_TRUE(areas.count(secondAt));
    EXPECT_EQ(areas[secondAt].Bottom, second.Bottom);
    grid->OnAdvDrawDataCell = nullptr;

    // The detail panel of the record clicked on.
    grid->RowDetailPanel()->SetActive(true);
    Click(col + 1, top + 1);
    ASSERT_EQ(grid->Row(), top + 1);
    grid->RowDetailPanel()->SetVisible(true);
    QApplication::processEvents();
    ASSERT_TRUE(grid->RowDetailPanel()->Visible());
    const QImage img = grid->grab().toImage();
    const TRect cell = grid->CellRect(col, top + 1);
    const int y = cell.Top + grid->DefaultRowHeight() + 4;
    ASSERT_LT(y, cell.Bottom);
    // The unit's level block, then one level more (the grid's colour) under the detail sign.
    EXPECT_EQ(QColor(img.pixel(cell.Left + 5, y)), QColor(Qt::yellow));
    EXPECT_NE(QColor(img.pixel(cell.Left + 18 + 5, y)), QColor(Qt::yellow));
}

TEST_F(GridMemTable, GroupedGridPicture)
{
    GroupByUnit();
    Groups()->GroupLevels()->Add()->SetColumn(Column("mtype"));
    Groups()->ActiveGroupLevel(1)->SetColor(RGB(0xF0, 0xF8, 0xE0));
    Groups()->ActiveGroupLevel(1)->CollapseNodes();
    // The group of 根 stays open down to its records.
    for (int i = 0; i < Groups()->GroupDataTree()->FlatVisibleCount(); ++i) {
        TGroupDataTreeNodeGx* n = Groups()->GroupDataTree()->FlatVisibleNode(i);
        if (n->Level() == 1 && n->KeyValue().ToString() == QStringLiteral("根")) {
            Groups()->GroupDataTree()->ExpandNodePathToView(n->Child(0)->Child(0));
            break;
        }
    }
    form->resize(640, 420);
    grid->setGeometry(4, 4, 600, 380);
    QApplication::processEvents();
    QTest::qWait(1);
    const QImage img = grid->grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_grouped.png")));
}
