// Cell hints over the material list of an account set: a cell's full text shows
// over the cell only when it does not fit, without a pause when tool tips are
// on; a title's own hint text keeps the pause; footers, the data-hint event and
// the text of check-box and image columns.
#include "dbgrid_input_fixture.h"
#include "platform/gui/ImageList.h"

#include <QFontMetrics>
#include <QToolTip>

using namespace gxinput;

class GridHints : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        if (HasFatalFailure())
            return;
        grid->SetShowHint(true);
        // The modifiers the last input left behind: no Ctrl held (it suppresses cell hints).
        QTest::keyRelease(cancel, Qt::Key_Control);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        QToolTip::hideText();
        QApplication::processEvents();
        GridTest::TearDown();
    }
    TColumnGx* Col(const char* field) { return grid->Columns()->GetColumn(ColumnOf(field)); }
    // The centre of the data cell of a column in a data row (0 = the first shown).
    TPoint DataCell(const char* field, int dataRow)
    {
        const QPoint c = CellCenter(ColumnOf(field) + 1, grid->TopDataOffset() + dataRow);
        return TPoint(c.x(), c.y());
    }
    TRect CellOf(const TPoint& p)
    {
        const TGridCoord cell = grid->MouseCoord(p.X, p.Y);
        return grid->CellRect(cell.X, cell.Y);
    }
    int Lift() const { return grid->Flat() ? 2 : 1; }
};

TEST_F(GridHints, DataCellsShowTheirTextOnlyWhenItDoesNotFit)
{
    struct Case {
        const char* name;
        const char* field;
        int width;
        bool toolTips;
        bool hint;
    };
    const Case cases[] = {
        {"a code that fits", "code", 76, true, false},
        {"a name cut by a narrow column", "mname", 30, true, true},
        {"the same name in a wide column", "mname", 200, true, false},
        {"a cut name without tool tips", "mname", 30, false, false},
    };
    for (const Case& c : cases) {
        TColumnGx* column = Col(c.field);
        column->SetWidth(c.width);
        column->SetToolTips(c.toolTips);
        QApplication::processEvents();
        const TPoint at = DataCell(c.field, 0);
        EXPECT_EQ(grid->CMHintShowPause(at), c.toolTips ? 0 : ApplicationHintPauseGx) << c.name;
        TGridHintInfoGx info;
        EXPECT_EQ(grid->CMHintShow(at, info), c.hint) << c.name;
        if (!c.hint)
            continue;
        // Over the cell, where the text itself starts, in the column's font.
        const TRect cell = CellOf(at);
        EXPECT_EQ(info.HintStr, Field(c.field)) << c.name;
        EXPECT_TRUE(info.ToolTip) << c.name;
        EXPECT_EQ(info.CursorRect, cell) << c.name;
        EXPECT_EQ(info.HintPos, grid->ClientToScreen(TPoint(cell.Left - 1, cell.Top - Lift()))) << c.name;
        EXPECT_EQ(grid->HintFont()->Name(), column->Font()->Name()) << c.name;
        // The mouse coming to the cell shows it at once.
        QToolTip::hideText();
        grid->HintMouseMoved(at.X, at.Y);
        QApplication::processEvents();
        EXPECT_TRUE(QToolTip::isVisible()) << c.name;
        EXPECT_TRUE(QToolTip::text().contains(Field(c.field).toHtmlEscaped())) << c.name;
        // The window system's own hint request leaves it where it is.
        QHelpEvent help(QEvent::ToolTip, QPoint(at.X, at.Y), grid->mapToGlobal(QPoint(at.X, at.Y)));
        QApplication::sendEvent(grid, &help);
        EXPECT_TRUE(QToolTip::isVisible()) << c.name;
        grid->HintMouseMoved(2, 2);
    }
}

TEST_F(GridHints, RightAndCentredTextIsPlacedWhereTheCellDrawsIt)
{
    TColumnGx* name = Col("mname");
    name->SetWidth(30);
    name->SetToolTips(true);
    QApplication::processEvents();
    const TPoint at = DataCell("mname", 0);
    const TRect cell = CellOf(at);
    const int textWidth = QFontMetrics(name->Font()->toQFont()).horizontalAdvance(Field("mname"));
    const int right = cell.Left + name->Width();
    struct Case {
        TAlignment alignment;
        int x;
    };
    const Case cases[] = {
        {taRightJustify, right - textWidth - 6},
        {taCenter, right + textWidth / 2 - textWidth - (right - cell.Left - 4) / 2 - 5},
    };
    for (const Case& c : cases) {
        name->SetAlignment(c.alignment);
        TGridHintInfoGx info;
        ASSERT_TRUE(grid->CMHintShow(at, info)) << c.alignment;
        EXPECT_EQ(info.HintPos, grid->ClientToScreen(TPoint(c.x, cell.Top - Lift()))) << c.alignment;
    }
}

TEST_F(GridHints, TitlesFootersAndTheDataHintEvent)
{
    TColumnGx* name = Col("mname");
    name->SetWidth(30);
    name->Title()->SetCaption(QStringLiteral("材料名称和规格"));
    name->Title()->SetToolTips(true);
    QApplication::processEvents();
    const QPoint t = CellCenter(ColumnOf("mname") + 1, 0);
    const TPoint title(t.x(), t.y());
    EXPECT_EQ(grid->CMHintShowPause(title), 0);
    TGridHintInfoGx info;
    ASSERT_TRUE(grid->CMHintShow(title, info));
    EXPECT_EQ(info.HintStr, QStringLiteral("材料名称和规格"));
    // A title with a hint of its own shows its short part after the usual pause.
    name->Title()->SetHint(QStringLiteral("名称|材料的名称"));
    EXPECT_EQ(grid->CMHintShowPause(title), ApplicationHintPauseGx);
    ASSERT_TRUE(grid->CMHintShow(title, info));
    EXPECT_EQ(info.HintStr, QStringLiteral("名称"));
    EXPECT_FALSE(info.ToolTip);

    // A footer's text that does not fit.
    grid->SetFooterRowCount(1);
    name->Footer()->SetValueType(fvtStaticText);
    name->Footer()->SetValue(QStringLiteral("合计：十二种材料"));
    name->Footer()->SetToolTips(true);
    QApplication::processEvents();
    // The footer row follows the data rows.
    const TRect footerCell = grid->CellRect(ColumnOf("mname") + 1, grid->RowCount());
    const TPoint footer((footerCell.Left + footerCell.Right) / 2, (footerCell.Top + footerCell.Bottom) / 2);
    EXPECT_EQ(grid->CMHintShowPause(footer), 0);
    ASSERT_TRUE(grid->CMHintShow(footer, info));
    EXPECT_EQ(info.HintStr, QStringLiteral("合计：十二种材料"));

    // The data-hint event takes over: an empty text suppresses the hint.
    name->SetToolTips(true);
    const TPoint data = DataCell("mname", 1);
    int calls = 0;
    grid->OnDataHintShow = [&](TCustomDBGridGx*, TPoint, TGridCoord, TPoint, TColumnGx* column,
                               TDBGridGxDataHintParams& params, bool& processed) {
        ++calls;
        EXPECT_EQ(column, name);
        params.HintStr.clear();
        processed = true;
    };
    EXPECT_FALSE(grid->CMHintShow(data, info));
    EXPECT_EQ(calls, 1);
    // The event sees the record of the row under the mouse.
    grid->OnDataHintShow = [&](TCustomDBGridGx*, TPoint, TGridCoord, TPoint, TColumnGx*,
                               TDBGridGxDataHintParams& params, bool& processed) {
        params.HintStr = cds.FieldByName(QStringLiteral("code"))->AsString();
        processed = true;
    };
    ASSERT_TRUE(grid->CMHintShow(data, info));
    EXPECT_EQ(info.HintStr, QStringLiteral("A02"));
}

TEST_F(GridHints, PickListTextOfImageColumns)
{
    TColumnGx* unit = Col("munit");
    unit->KeyList() = QStringList{QStringLiteral("袋"), QStringLiteral("吨")};
    unit->PickList() = QStringList{QStringLiteral("按袋计"), QStringLiteral("按吨计")};
    TImageList images(16, 16);
    unit->SetImageList(&images);
    ASSERT_EQ(unit->GetColumnType(), ctKeyImageList);
    struct Case {
        int recNo;
        QString text;
    };
    for (const Case& c : {Case{1, QStringLiteral("按吨计")}, Case{2, QStringLiteral("按袋计")}, Case{3, QString()}}) {
        GoTo(c.recNo);
        EXPECT_EQ(grid->GetColumnHintText(unit), c.text) << c.recNo;
    }
    unit->SetImageList(nullptr);
}

TEST_F(GridHints, CtrlHeldDownSuppressesCellHints)
{
    TColumnGx* name = Col("mname");
    name->SetWidth(30);
    name->SetToolTips(true);
    QApplication::processEvents();
    const TPoint at = DataCell("mname", 0);
    TGridHintInfoGx info;
    EXPECT_TRUE(grid->CMHintShow(at, info));
    QTest::keyPress(cancel, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_FALSE(grid->CMHintShow(at, info));
    QTest::keyRelease(cancel, Qt::Key_Control);
    EXPECT_TRUE(grid->CMHintShow(at, info));
}
