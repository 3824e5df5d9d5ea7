// The row-detail panel: the host control's place below the current row, showing
// on an empty list and hiding with the application's veto, the sign click, the
// editor beside the sign and Ctrl+Up back to the grid.
#include "dbgrid_panels_fixture.h"

#include <QLineEdit>

using namespace gxpanels;

using RowDetail = PanelGridTest;

TEST_F(RowDetail, HostControlPlacement)
{
    TRowDetailPanelGx* panel = grid->RowDetailPanel();
    panel->SetActive(true);
    table->SetRecNo(2);
    QApplication::processEvents();
    const int row = grid->Row();
    const TRect first = grid->CellRect(grid->IndicatorOffset(), row);
    const TRect last = grid->CellRect(grid->ColCount() - 1, row);
    const int left = first.Left + 18;
    const int top = first.Top + grid->DefaultRowHeight();
    struct Case {
        const char* name;
        int width, height;
        int wantWidth, wantHeight;
    };
    const std::vector<Case> cases = {
        {"width 0 reaches the data's right edge", 0, 120, last.Right - left, 120},
        {"a width that fits", 100, 60, 100, 60},
        {"a width beyond the room gives the room", 5000, 120, grid->ClientWidth() - left, 120},
        {"height 0 reaches the bottom", 100, 0, 100, grid->ClientHeight() - top},
        {"a height beyond the bottom is cut", 100, 5000, 100, grid->ClientHeight() - top},
    };
    panel->SetVisible(true);
    ASSERT_TRUE(panel->Visible());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        panel->SetWidth(c.width);
        panel->SetHeight(c.height);
        const QRect g = grid->RowDetailPanelControl()->geometry();
        EXPECT_TRUE(grid->RowDetailPanelControl()->isVisible());
        EXPECT_EQ(g.left(), left);
        EXPECT_EQ(g.top(), top);
        EXPECT_EQ(g.width(), c.wantWidth);
        EXPECT_EQ(g.height(), c.wantHeight);
    }
    // The panel takes the settings' colour; ParentColor reads the grid's.
    panel->SetColor(clYellow);
    EXPECT_EQ(grid->RowDetailPanelControl()->PanelColor(), clYellow);
    panel->SetParentColor(true);
    EXPECT_EQ(panel->Color(), grid->Color());
    EXPECT_FALSE(panel->ColorStored());
    // Deactivating hides the host.
    panel->SetActive(false);
    EXPECT_FALSE(panel->Visible());
    EXPECT_FALSE(grid->RowDetailPanelControl()->isVisible());
}

TEST_F(RowDetail, ShowAndHideVetoes)
{
    TRowDetailPanelGx* panel = grid->RowDetailPanel();
    panel->SetActive(true);
    std::vector<bool> shows, hides;
    bool answerShow = false, answerHide = false;
    grid->OnRowDetailPanelShow = [&](TCustomDBGridGx*, bool& can) {
        shows.push_back(can);
        if (answerShow)
            can = true;
    };
    grid->OnRowDetailPanelHide = [&](TCustomDBGridGx*, bool& can) {
        hides.push_back(can);
        can = answerHide;
    };
    // A list with records: allowed, and the handler keeps it.
    panel->SetVisible(true);
    EXPECT_EQ(shows, std::vector<bool>{true});
    EXPECT_TRUE(panel->Visible());
    // The veto keeps the panel open and the grid's move does nothing.
    const int rec = table->RecNo();
    EXPECT_EQ(grid->MoveBy(1), 0);
    EXPECT_EQ(table->RecNo(), rec);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(hides, std::vector<bool>{true});
    answerHide = true;
    EXPECT_EQ(grid->MoveBy(1), 1);
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(hides.size(), 2u);

    // An empty list: the handler is asked with false; unless it says true nothing changes.
    table->EmptyDataSet();
    QApplication::processEvents();
    shows.clear();
    panel->SetVisible(true);
    EXPECT_EQ(shows, std::vector<bool>{false});
    EXPECT_FALSE(panel->Visible());
    answerShow = true;
    panel->SetVisible(true);
    EXPECT_TRUE(panel->Visible());
}

TEST_F(RowDetail, SignClickEditorAndCtrlUp)
{
    TRowDetailPanelGx* panel = grid->RowDetailPanel();
    panel->SetActive(true);
    auto* edit = new QLineEdit(grid->RowDetailPanelControl());
    edit->setGeometry(4, 4, 80, 22);
    QApplication::processEvents();
    // The sign of the third record opens its panel; a second click closes it.
    const TRect cell = grid->CellRect(grid->IndicatorOffset(), DataRow(3));
    const QPoint sign(cell.Left + 9, (cell.Top + cell.Bottom) / 2);
    Click(sign);
    EXPECT_EQ(table->RecNo(), 3);
    EXPECT_TRUE(panel->Visible());
    EXPECT_TRUE(grid->RowDetailPanelControl()->isVisible());
    Click(sign);
    EXPECT_FALSE(panel->Visible());
    // A click beside the sign selects the cell and opens nothing.
    Click(QPoint(cell.Left + 40, sign.y()));
    EXPECT_FALSE(panel->Visible());
    // A record the application says has no panel: the sign does nothing.
    grid->OnCheckRowHaveDetailPanel = [](TCustomDBGridGx*, bool& has) { has = false; };
    Click(sign);
    EXPECT_FALSE(panel->Visible());
    grid->OnCheckRowHaveDetailPanel = nullptr;

    // Numeric-pad keys: + shows, - hides, * toggles the current record's panel.
    for (const auto& [key, want] : std::vector<std::pair<WORD, bool>>{
             {VK_ADD, true}, {VK_SUBTRACT, false}, {VK_MULTIPLY, true}, {VK_MULTIPLY, false}}) {
        WORD k = key;
        grid->KeyDown(k, TShiftState{});
        EXPECT_EQ(panel->Visible(), want) << int(key);
    }

    // The editor of the first column starts right of the sign.
    TRect r;
    grid->CalcEditRect(grid->IndicatorOffset(), grid->Row(), r);
    EXPECT_EQ(r.Left, cell.Left + 18);
    grid->CalcEditRect(grid->IndicatorOffset() + 1, grid->Row(), r);
    EXPECT_EQ(r.Left, grid->CellRect(grid->IndicatorOffset() + 1, grid->Row()).Left);

    // Ctrl+Down opens the panel and focuses its control; Ctrl+Up in it gives the
    // focus back to the grid, plain Up does not.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(panel->Visible());
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_Up, Qt::ControlModifier);
    // The grid (or its cell editor) holds the focus again.
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == grid || (grid->isAncestorOf(focus) && !grid->RowDetailPanelControl()->isAncestorOf(focus)));
}
