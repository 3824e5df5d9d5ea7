// Record dragging by the indicator (the insertion line, the move the application
// is asked for, the cases that start no drag) and tree data over a memory table
// (the tree area per level, the expand sign toggling a node).
#include "dbgrid_panels_fixture.h"
#include "grid/support/BMListGx.h"
#include "testmain/testsupport.h"

using namespace gxpanels;

namespace {

// The indicator cell's centre of a record shown at a grid row.
QPoint IndicatorAt(TDBGridGx* grid, int row)
{
    const TRect r = grid->CellRect(0, row);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

class RecordMoving : public PanelGridTest {
protected:
    void SetUp() override
    {
        PanelGridTest::SetUp();
        TDBGridGxOptions o = grid->OptionsGx();
        o.Include(dghRecordMoving);
        grid->SetOptionsGx(o);
        // The application moves the dragged record's code before the drop record.
        grid->OnMoveRecords = [this](QObject*, TBMListGx* list, int toRecNo, int level, bool checkOnly) {
            moves.push_back({list->Count(), toRecNo, level, checkOnly});
            if (checkOnly || list->Count() != 1)
                return true;
            table->GotoBookmark(list->GetItem(0));
            const QString code = Code();
            order.removeAll(code);
            order.insert(std::min<int>(toRecNo - 1, order.size()), code);
            return true;
        };
        for (const auto& r : PanelRows())
            order << QString::fromUtf8(r[0]);
    }
    struct Move {
        int count, toRecNo, level;
        bool checkOnly;
    };
    std::vector<Move> moves;
    QStringList order;
};

} // namespace

TEST_F(RecordMoving, DragByTheIndicator)
{
    const int first = grid->TopDataOffset();
    // Press on record 2, the line follows the mouse down to record 5.
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, IndicatorAt(grid, first + 1));
    QApplication::processEvents();
    ASSERT_EQ(grid->DBGridGxState(), dgsRowMoving);
    EXPECT_TRUE(grid->DataRowMoveLineVisible());
    QTest::mouseMove(grid, IndicatorAt(grid, first + 4));
    QApplication::processEvents();
    EXPECT_EQ(grid->MoveRowDest(), first + 4);
    EXPECT_EQ(grid->MoveRowDestLevel(), -1);
    // The source lies above: the line is at the destination's bottom, from the left edge.
    const TRect dest = grid->CellRect(grid->IndicatorOffset(), first + 4);
    EXPECT_EQ(grid->DataRowMoveLineRect().top(), dest.Bottom);
    EXPECT_EQ(grid->DataRowMoveLineRect().left(), 0);
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, IndicatorAt(grid, first + 4));
    QApplication::processEvents();
    EXPECT_EQ(grid->DBGridGxState(), dgsNormal);
    EXPECT_FALSE(grid->DataRowMoveLineVisible());
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].count, 1);
    EXPECT_EQ(moves[0].toRecNo, 5);
    EXPECT_EQ(moves[0].level, -1);
    EXPECT_FALSE(moves[0].checkOnly);
    // The record now stands where it was dropped.
    EXPECT_EQ(order.join(QLatin1Char(' ')).toStdString(), "A01 B01 B02 C01 A02 C02 D01 D02");
}

TEST_F(RecordMoving, CasesThatMoveNothing)
{
    const int first = grid->TopDataOffset();
    struct Case {
        const char* name;
        bool multiSelect;
        int selectRecNo;   // 0: none selected
        QPoint press, release;
        Qt::KeyboardModifiers mods;
    };
    const TRect cell = grid->CellRect(grid->IndicatorOffset(), first + 1);
    const std::vector<Case> cases = {
        {"a press on a data cell", false, 0, QPoint(cell.Left + 10, cell.Top + 5), IndicatorAt(grid, first + 4), {}},
        {"released on the source row", false, 0, IndicatorAt(grid, first + 1), IndicatorAt(grid, first + 1), {}},
        {"multi-select: an unselected record", true, 4, IndicatorAt(grid, first + 1), IndicatorAt(grid, first + 4), {}},
        {"multi-select: Ctrl held", true, 2, IndicatorAt(grid, first + 1), IndicatorAt(grid, first + 4),
         Qt::ControlModifier},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDBGridOptions o = grid->Options();
        if (c.multiSelect)
            o.Include(dgMultiSelect);
        else
            o.Exclude(dgMultiSelect);
        grid->SetOptions(o);
        grid->SelectedRows()->Clear();
        if (c.selectRecNo) {
            table->SetRecNo(c.selectRecNo);
            grid->SelectedRows()->SetCurrentRowSelected(true);
        }
        moves.clear();
        QTest::mousePress(grid, Qt::LeftButton, c.mods, c.press);
        QTest::mouseMove(grid, c.release);
        QTest::mouseRelease(grid, Qt::LeftButton, c.mods, c.release);
        QApplication::processEvents();
        EXPECT_TRUE(moves.empty());
        EXPECT_EQ(grid->DBGridGxState(), dgsNormal);
    }
}

TEST_F(RecordMoving, SelectedRecordsMoveTogether)
{
    const int first = grid->TopDataOffset();
    TDBGridOptions o = grid->Options();
    o.Include(dgMultiSelect);
    grid->SetOptions(o);
    for (int rec : {2, 3}) {
        table->SetRecNo(rec);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, IndicatorAt(grid, first + 1));
    QTest::mouseMove(grid, IndicatorAt(grid, first + 6));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, IndicatorAt(grid, first + 6));
    QApplication::processEvents();
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].count, 2);
    EXPECT_EQ(moves[0].toRecNo, 7);
}

namespace {

class TreeData : public PanelGridTest {
protected:
    bool UseMemTable() const override { return true; }
    TMemTableTestDataSet* Tree() { return static_cast<TMemTableTestDataSet*>(table.get()); }
};

} // namespace

TEST_F(TreeData, AreaPerLevelAndTheExpandSign)
{
    // A01 (level 1, children, expanded) > A02, B01 (level 2; B01 with children) > B02 (level 3).
    TMemTableTestDataSet* t = Tree();
    t->TreeView = true;
    t->TreeLevels = {{0, 1}, {1, 2}, {2, 2}, {3, 3}};
    t->HasChildren = {{0, true}, {2, true}};
    t->Expanded = {{0, true}, {2, false}};
    grid->Invalidate();
    QApplication::processEvents();
    ASSERT_TRUE(grid->HasMemTable());
    const int first = grid->TopDataOffset();
    const int col = grid->IndicatorOffset();

    struct Case {
        int recNo;
        int dx;             // in-cell X of the press
        bool takes;         // the tree area takes the press
        bool toggles;       // the node's expanded state flips
    };
    const std::vector<Case> cases = {
        {1, 9, true, true},      // level 1: the sign is the whole area
        {1, 20, false, false},   // right of the area
        {3, 27, true, true},     // level 2: the sign in 18..36
        {3, 9, true, false},     // level 2: the ancestor's connector
        {4, 45, true, true},     // level 3, a leaf: the flag is set all the same
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recNo * 100 + c.dx);
        const TRect r = grid->CellRect(col, first + c.recNo - 1);
        const int x = r.Left + c.dx, y = (r.Top + r.Bottom) / 2;
        const bool before = t->Expanded[c.recNo - 1];
        EXPECT_EQ(grid->TreeSignMouseDown(x, y, true), c.takes);
        EXPECT_EQ(grid->TreeSignMouseDown(x, y, false), c.takes);
        EXPECT_EQ(t->Expanded[c.recNo - 1] != before, c.toggles);
    }
    // A click on a sign goes to the node and does not select the cell's text.
    const TRect r = grid->CellRect(col, first + 2);
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 27, (r.Top + r.Bottom) / 2));
    QApplication::processEvents();
    EXPECT_EQ(t->Expanded[2], false);
    EXPECT_EQ(table->RecNo(), 3);

    // Numeric-pad keys: * toggles, + expands, - collapses the current node.
    table->SetRecNo(1);
    for (const auto& [key, want] : std::vector<std::pair<WORD, bool>>{
             {VK_ADD, true}, {VK_ADD, true}, {VK_SUBTRACT, false}, {VK_MULTIPLY, true}, {VK_MULTIPLY, false}}) {
        WORD k = key;
        grid->KeyDown(k, TShiftState{});
        EXPECT_EQ(t->Expanded[0], want) << int(key);
        EXPECT_EQ(k, 0);
    }

    // Their characters then stay out of the cell editor; other characters open it.
    for (QChar c : {u'*', u'+', u'-'}) {
        QChar k = c;
        grid->KeyPress(k);
        EXPECT_EQ(k, QChar(0));
        EXPECT_FALSE(grid->InplaceEditorVisible()) << c.toLatin1();
    }

    // The row-detail sign sits right of the tree area.
    grid->RowDetailPanel()->SetActive(true);
    table->SetRecNo(2);
    EXPECT_TRUE(grid->IsRowDetailSignHit(36 + 5, col));
    EXPECT_FALSE(grid->IsRowDetailSignHit(5, col));
    grid->RowDetailPanel()->SetActive(false);

    grid->Invalidate();
    QApplication::processEvents();
    EXPECT_TRUE(grid->grab().save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_tree.png")));
}

// The first column's value keeps a pixel clear of the tree lines; under an open node the strip
// of its detail panel carries the line down to its children.
TEST_F(TreeData, ValueClearOfTheTreeAndLinesInTheDetailStrip)
{
    TMemTableTestDataSet* t = Tree();
    t->TreeView = true;
    t->TreeLevels = {{0, 1}, {1, 2}, {2, 2}, {3, 3}};
    t->HasChildren = {{0, true}};
    t->Expanded = {{0, true}};
    grid->Columns()->GetColumn(0)->SetColor(clYellow);
    table->SetRecNo(4);
    grid->Invalidate();
    QApplication::processEvents();
    const int first = grid->TopDataOffset();
    const int col = grid->IndicatorOffset();
    {
        const QImage img = grid->grab().toImage();
        // A02 on level 2: 36 pixels of tree, one clear, then the cell's colour.
        const TRect r = grid->CellRect(col, first + 1);
        const int y = r.Top + 1;
        EXPECT_NE(QColor(img.pixel(r.Left + 36, y)), QColor(Qt::yellow));
        EXPECT_EQ(QColor(img.pixel(r.Left + 37, y)), QColor(Qt::yellow));
        EXPECT_EQ(QColor(img.pixel(r.Left + 40, y)), QColor(Qt::yellow));
    }

    // A01's detail panel: the strip under the record shows its children's line at level 2.
    grid->RowDetailPanel()->SetActive(true);
    table->SetRecNo(1);
    grid->RowDetailPanel()->SetVisible(true);
    QApplication::processEvents();
    ASSERT_TRUE(grid->RowDetailPanel()->Visible());
    const QImage img = grid->grab().toImage();
    const TRect r = grid->CellRect(col, first);
    const int stripTop = r.Top + grid->DefaultRowHeight();
    ASSERT_GT(r.Bottom - stripTop, 8);
    const QRgb back = img.pixel(r.Left + 2, stripTop + 4);
    int lined = 0;
    for (int y = stripTop + 2; y < r.Bottom - 2; ++y)
        for (int x = r.Left + 18; x < r.Left + 36; ++x)
            lined += img.pixel(x, y) != back;
    EXPECT_GT(lined, 0);
    EXPECT_TRUE(img.save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_tree_detail.png")));
}
