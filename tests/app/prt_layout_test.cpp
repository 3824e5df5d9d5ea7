// Template geometry and the editing operations: millimetres to pixels, new
// tables, cell heights, merging and splitting, lines, attributes.
#include "prt_support.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace prttest;

namespace {

// A fresh control 884 pixels wide with margins of 25 mm (96 pixels).
class TemplateLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        rc.SetMargin(25, 25, 25, 25);
        rc.resize(884, 490);
    }
    TReportCell* cell(int line, int index) { return rc.Line(line)->Cell(index); }
    void select(std::initializer_list<std::pair<int, int>> cells)
    {
        rc.RemoveAllSelectedCell();
        for (auto [l, c] : cells)
            rc.AddSelectedCell(cell(l, c));
    }
    TReportControl rc;
};

TEST(TemplateUnits, MillimetresToPixels)
{
    const struct {
        int mm, px;
    } cases[] = {{0, 0}, {3, 12}, {10, 38}, {15, 58}, {20, 77}, {25, 96}, {50, 192}};
    for (const auto& c : cases)
        EXPECT_EQ(MmToPixels(c.mm), c.px) << c.mm;
    TReportControl rc;
    EXPECT_EQ(rc.GetMargin(), TRect(20, 20, 20, 20));
    EXPECT_EQ(rc.LeftMarginPx(), 77);
    EXPECT_EQ(DefaultCellLogFont().lfHeight, -13);
    EXPECT_EQ(DefaultCellLogFont().FaceName(), QStringLiteral("宋体"));
}

TEST_F(TemplateLayout, NewTableFillsTheWidthBetweenTheMargins)
{
    rc.NewTable(10, 10);
    ASSERT_EQ(rc.LineCount(), 10);
    int top = rc.TopMarginPx();
    for (int l = 0; l < 10; ++l) {
        TReportLine* line = rc.Line(l);
        ASSERT_EQ(line->CellCount(), 10);
        EXPECT_EQ(line->Index(), l);
        EXPECT_EQ(line->LineTop(), top);
        top += line->LineHeight();
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(line->Cell(i)->CellWidth(), 69);
            EXPECT_EQ(line->Cell(i)->CellLeft(), 96 + 69 * i);
            EXPECT_EQ(line->Cell(i)->CellIndex(), i);
        }
    }
    // A second NewTable replaces the template.
    rc.NewTable(3, 2);
    EXPECT_EQ(rc.LineCount(), 2);
    EXPECT_EQ(rc.Line(1)->CellCount(), 3);
    EXPECT_EQ(cell(0, 0)->CellWidth(), 231);
}

TEST_F(TemplateLayout, CellHeightNeeded)
{
    rc.NewTable(2, 1);
    TReportCell* c = cell(0, 0);
    // An empty cell needs one line of text: the same height as one character.
    const int empty = c->MinCellHeight();
    c->SetCellText(QStringLiteral("郭"));
    EXPECT_EQ(c->MinCellHeight(), empty);
    EXPECT_GT(empty, 13 + 2 + 2);
    // Two lines need more; a text ending in CR LF one line more again.
    c->SetCellText(QStringLiteral("第一行\r\n第二行"));
    const int two = c->MinCellHeight();
    EXPECT_GT(two, empty + 10);
    c->SetCellText(QStringLiteral("第一行\r\n第二行\r\n"));
    EXPECT_GT(c->MinCellHeight(), two);
    // Wider borders add their widths.
    c->SetCellText(QString());
    c->SetLines(true, true, true, true, 1, 3, 1, 4);
    EXPECT_EQ(c->MinCellHeight(), empty + 5);
    // A cell no wider than twice its padding needs exactly 20 pixels.
    c->SetCellText(QStringLiteral("很长的文字"));
    c->SetCellWidth(10);
    EXPECT_EQ(c->MinCellHeight(), 20);
    EXPECT_EQ(c->CellWidth(), 10);
    c->SetCellWidth(3);
    EXPECT_EQ(c->CellWidth(), 10) << "a width is never below 10";
    // The line takes its tallest cell, at least 20.
    cell(0, 1)->SetCellText(QStringLiteral("一\r\n二\r\n三"));
    rc.UpdateLines();
    EXPECT_EQ(rc.Line(0)->LineHeight(), cell(0, 1)->MinCellHeight());
    // Texts are cut at 1000 units.
    c->SetCellText(QString(1200, QLatin1Char('x')));
    EXPECT_EQ(c->CellText().size(), 1000);
}

TEST_F(TemplateLayout, CombineTwoByTwoMakesOneOwner)
{
    rc.NewTable(3, 3);
    cell(0, 0)->SetCellText(QStringLiteral("上"));
    cell(0, 1)->SetCellText(QStringLiteral("右上"));
    cell(1, 0)->SetCellText(QStringLiteral("下"));
    select({{0, 0}, {0, 1}, {1, 0}, {1, 1}});
    rc.CombineCell();
    TReportCell* owner = cell(0, 0);
    ASSERT_EQ(rc.Line(0)->CellCount(), 2);
    ASSERT_EQ(rc.Line(1)->CellCount(), 2);
    EXPECT_EQ(owner->CellWidth(), 2 * 231);
    EXPECT_EQ(owner->OwnedCellCount(), 1);
    EXPECT_EQ(owner->OwnedCell(0), cell(1, 0));
    EXPECT_EQ(cell(1, 0)->OwnerCell(), owner);
    EXPECT_EQ(cell(1, 0)->CellWidth(), 2 * 231);
    EXPECT_EQ(owner->CellText(), QStringLiteral("上下")) << "the right-hand texts are lost";
    EXPECT_TRUE(cell(1, 0)->CellText().isEmpty());
    EXPECT_EQ(rc.SelectCells(), QList<TReportCell*>{owner});
    // The owner's frame covers both lines; hits on the lower line find the owner.
    EXPECT_EQ(owner->CellRect().Bottom, rc.Line(1)->LineTop() + rc.Line(1)->LineHeight());
    EXPECT_EQ(rc.CellFromPoint(TPoint(100, rc.Line(1)->LineTop() + 2)), owner);
    EXPECT_TRUE(rc.CanSplit());

    // The merged text never grows past 1000 units.
    rc.NewTable(1, 2);
    cell(0, 0)->SetCellText(QString(700, QLatin1Char('a')));
    cell(1, 0)->SetCellText(QString(700, QLatin1Char('b')));
    select({{0, 0}, {1, 0}});
    rc.CombineCell();
    EXPECT_EQ(cell(0, 0)->CellText().size(), 1000);
    EXPECT_TRUE(rc.SaveToBytes().size() > 0);
}

TEST_F(TemplateLayout, CombineRefusesAnLShape)
{
    rc.NewTable(3, 3);
    select({{0, 0}, {0, 1}, {1, 0}});
    rc.CombineCell();
    for (int l = 0; l < 3; ++l) {
        EXPECT_EQ(rc.Line(l)->CellCount(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(cell(l, i)->OwnedCellCount(), 0);
            EXPECT_EQ(cell(l, i)->OwnerCell(), nullptr);
            EXPECT_EQ(cell(l, i)->CellWidth(), 231);
        }
    }
    // One line of several cells merges into one wider cell.
    select({{2, 1}, {2, 2}});
    rc.CombineCell();
    EXPECT_EQ(rc.Line(2)->CellCount(), 2);
    EXPECT_EQ(cell(2, 1)->CellWidth(), 462);
    EXPECT_EQ(cell(2, 1)->OwnedCellCount(), 0);
}

TEST_F(TemplateLayout, SplitGivesBackTheLowerCellsEmpty)
{
    rc.NewTable(2, 3);
    cell(0, 0)->SetCellText(QStringLiteral("甲"));
    cell(1, 0)->SetCellText(QStringLiteral("乙"));
    cell(2, 0)->SetCellText(QStringLiteral("丙"));
    select({{0, 0}, {1, 0}, {2, 0}});
    rc.CombineCell();
    ASSERT_EQ(cell(0, 0)->OwnedCellCount(), 2);
    rc.SplitCell();
    EXPECT_EQ(cell(0, 0)->OwnedCellCount(), 0);
    EXPECT_EQ(cell(0, 0)->CellText(), QStringLiteral("甲乙丙"));
    for (int l = 1; l < 3; ++l) {
        EXPECT_EQ(cell(l, 0)->OwnerCell(), nullptr);
        EXPECT_TRUE(cell(l, 0)->CellText().isEmpty());
    }
    EXPECT_EQ(cell(0, 0)->CellRect().Bottom, rc.Line(0)->LineTop() + rc.Line(0)->LineHeight());
}

TEST_F(TemplateLayout, VerticalSplitMakesEqualCellsSideBySide)
{
    rc.NewTable(2, 2);
    // A 346-pixel cell cut into 4: 87 each, text copied.
    cell(0, 0)->SetCellText(QStringLiteral("分"));
    select({{0, 0}});
    rc.VSplitCell(4);
    ASSERT_EQ(rc.Line(0)->CellCount(), 5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cell(0, i)->CellWidth(), 87);
        EXPECT_EQ(cell(0, i)->CellText(), QStringLiteral("分"));
    }
    EXPECT_EQ(cell(0, 1)->CellLeft(), 96 + 87);
    // A merged block splits into blocks, each with its own lower cell.
    rc.NewTable(2, 2);
    select({{0, 0}, {1, 0}});
    rc.CombineCell();
    rc.VSplitCell(2);
    ASSERT_EQ(rc.Line(0)->CellCount(), 3);
    ASSERT_EQ(rc.Line(1)->CellCount(), 3);
    EXPECT_EQ(cell(0, 0)->OwnedCell(0), cell(1, 0));
    EXPECT_EQ(cell(0, 1)->OwnedCell(0), cell(1, 1));
    EXPECT_EQ(cell(1, 1)->CellWidth(), 173);
    // A narrow cell is never cut into pieces below one.
    rc.NewTable(1, 1);
    cell(0, 0)->SetCellWidth(10);
    select({{0, 0}});
    rc.VSplitCell(5);
    EXPECT_EQ(rc.Line(0)->CellCount(), 1);
}

TEST_F(TemplateLayout, DeletingLinesDissolvesTheirMerges)
{
    rc.NewTable(2, 5);
    // Block over lines 1..3 in column 0, block over lines 3..4 in column 1.
    select({{1, 0}, {2, 0}, {3, 0}});
    rc.CombineCell();
    select({{3, 1}, {4, 1}});
    rc.CombineCell();
    TReportCell* survivor = cell(4, 1);
    select({{0, 0}, {2, 1}, {3, 1}});
    rc.DeleteLine();
    ASSERT_EQ(rc.LineCount(), 2);
    EXPECT_TRUE(rc.SelectCells().isEmpty());
    // Lines 1 and 4 are left; the owner of line 1 lost its lower cells, line 4's cell its owner.
    EXPECT_EQ(cell(0, 0)->OwnedCellCount(), 0);
    EXPECT_EQ(cell(1, 1), survivor);
    EXPECT_EQ(survivor->OwnerCell(), nullptr);
    EXPECT_EQ(rc.Line(1)->Index(), 1);
    EXPECT_EQ(rc.Line(1)->LineTop(), rc.Line(0)->LineTop() + rc.Line(0)->LineHeight());
}

TEST_F(TemplateLayout, LinesAndCellsComeAndGo)
{
    rc.NewTable(3, 2);
    rc.Line(1)->SetLineHeight(40);
    rc.AddLine();
    ASSERT_EQ(rc.LineCount(), 3);
    EXPECT_EQ(rc.Line(2)->DragHeight(), 40);
    EXPECT_EQ(rc.Line(2)->prtlines(), 1);
    select({{0, 1}});
    rc.InsertLine();
    ASSERT_EQ(rc.LineCount(), 4);
    EXPECT_EQ(rc.Line(1)->CellCount(), 3);
    rc.AddCell();
    EXPECT_EQ(rc.Line(0)->CellCount(), 4);
    EXPECT_EQ(cell(0, 3)->CellLeft(), cell(0, 2)->CellLeft() + cell(0, 2)->CellWidth());
    select({{0, 1}});
    cell(0, 1)->SetCellText(QStringLiteral("原"));
    rc.InsertCell();
    EXPECT_EQ(rc.Line(0)->CellCount(), 5);
    EXPECT_EQ(cell(0, 1)->CellText(), QStringLiteral("原"));
    EXPECT_EQ(cell(0, 2)->CellText(), QStringLiteral("原"));
    // Deleting every cell of a line removes the line.
    rc.RemoveAllSelectedCell();
    for (int i = 0; i < rc.Line(3)->CellCount(); ++i)
        rc.AddSelectedCell(cell(3, i));
    rc.DeleteCell();
    EXPECT_EQ(rc.LineCount(), 3);
    // Adding a line below a merge grows the merge.
    select({{1, 0}, {2, 0}});
    rc.CombineCell();
    rc.RemoveAllSelectedCell();
    rc.AddLine();
    EXPECT_EQ(cell(1, 0)->OwnedCellCount(), 2);
    EXPECT_EQ(cell(3, 0)->OwnerCell(), cell(1, 0));
    rc.ResetContent();
    EXPECT_EQ(rc.LineCount(), 0);
}

TEST_F(TemplateLayout, DataLineAndAttributes)
{
    rc.NewTable(3, 3);
    select({{0, 0}});
    rc.Setreportlinetype(1);
    rc.SetprtlineS(5);
    EXPECT_EQ(rc.Line(0)->Linetype(), 1);
    EXPECT_EQ(rc.Line(0)->prtlines(), 5);
    EXPECT_EQ(rc.SelectCells().size(), 3) << "the whole line is selected";
    EXPECT_EQ(cell(0, 2)->BkColor(), 0xC0C0C0);
    // Another data line turns the first one back into an ordinary white line.
    select({{1, 1}});
    rc.Setreportlinetype(1);
    EXPECT_EQ(rc.Line(0)->Linetype(), 0);
    EXPECT_EQ(cell(0, 0)->BkColor(), 0xFFFFFF);
    EXPECT_EQ(rc.Line(1)->Linetype(), 1);
    EXPECT_EQ(cell(1, 0)->BkColor(), 0xC0C0C0);

    select({{2, 0}, {2, 1}});
    rc.setvarraytype(vkPageNumber);
    EXPECT_TRUE(cell(2, 0)->Isvarray());
    EXPECT_EQ(cell(2, 0)->TextColor(), clRed);
    EXPECT_EQ(cell(2, 1)->CellText(), QStringLiteral("第X页共XX页"));
    rc.setvarraytype(vkPageSum);
    EXPECT_EQ(cell(2, 0)->CellText(), QStringLiteral("合计"));
    rc.setvarraytype(vkFixed);
    EXPECT_FALSE(cell(2, 0)->Isvarray());
    rc.SetCellLines(false, true, false, true, 1, 2, 1, 3);
    EXPECT_FALSE(cell(2, 1)->LeftLine());
    EXPECT_EQ(cell(2, 1)->BottomLineWidth(), 3);
    rc.SetCellDiagonal(0x101);
    EXPECT_EQ(cell(2, 0)->Diagonal(), 0x101u);
    rc.SetCellColor(clBlue, clYellow);
    EXPECT_EQ(cell(2, 1)->BkColor(), clYellow);
    rc.sethorzalign(2);
    rc.setvertalign(0);
    EXPECT_EQ(cell(2, 0)->HorzAlign(), 2);
    EXPECT_EQ(cell(2, 0)->VertAlign(), 0);
    TFont f;
    f.SetName(QStringLiteral("黑体"));
    f.SetHeight(-21);
    f.SetStyle(fsBold);
    rc.setfont(f);
    EXPECT_EQ(cell(2, 0)->LogFont().lfHeight, -21);
    EXPECT_EQ(cell(2, 0)->LogFont().lfWeight, FW_BOLD);
    EXPECT_EQ(cell(2, 0)->LogFont().FaceName(), QStringLiteral("黑体"));
    EXPECT_GT(rc.Line(2)->LineHeight(), rc.Line(0)->LineHeight());
}

// Counts its paints.
class CountingControl : public TReportControl {
public:
    int paints = 0;
protected:
    void Paint() override
    {
        ++paints;
        TReportControl::Paint();
    }
};

TEST(TemplateMargins, MarginsMoveTheCellsAndUnchangedOnesPaintNothing)
{
    CountingControl rc;
    rc.SetMargin(25, 25, 25, 25);
    rc.resize(884, 490);
    rc.NewTable(2, 2);
    rc.show();
    QCoreApplication::processEvents();
    rc.paints = 0;
    rc.SetMargin(25, 25, 25, 25);
    QCoreApplication::processEvents();
    EXPECT_EQ(rc.paints, 0);
    rc.SetMargin(10, 15, 25, 25);
    QCoreApplication::processEvents();
    EXPECT_GT(rc.paints, 0);
    EXPECT_EQ(rc.Line(0)->Cell(0)->CellLeft(), 38);
    EXPECT_EQ(rc.Line(0)->LineTop(), 58);
    EXPECT_EQ(rc.Line(0)->Cell(0)->CellWidth(), 346) << "widths stay";
    EXPECT_EQ(rc.GetMargin(), TRect(10, 15, 25, 25));
}

} // namespace
