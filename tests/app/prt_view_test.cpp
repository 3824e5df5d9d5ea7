// The template view under the mouse: cursors and hit zones, border drags and
// their limits, the rubber band, the context press and the in-place editor.
#include "prt_support.h"

#include <QApplication>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace prttest;

namespace {

class TemplateView : public ::testing::Test {
protected:
    void SetUp() override
    {
        rc.SetMargin(25, 25, 25, 25);
        rc.resize(884, 490);
        rc.NewTable(4, 3);
        rc.show();
        QApplication::processEvents();
    }
    TReportCell* cell(int l, int c) { return rc.Line(l)->Cell(c); }
    TRect frame(int l, int c) { return cell(l, c)->CellRect(); }
    int midY(int l) { return rc.Line(l)->LineTop() + rc.Line(l)->LineHeight() / 2; }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(&rc, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(&rc, (from + to) / 2);
        QTest::mouseMove(&rc, to);
        QTest::mouseRelease(&rc, Qt::LeftButton, Qt::NoModifier, to);
    }
    TDialogScriptScope script;
    TReportControl rc;
};

TEST_F(TemplateView, CursorZones)
{
    const TRect f = frame(1, 1);
    const int y = midY(1);
    const struct {
        int x, y;
        TCursor cursor;
    } cases[] = {
        {f.Right - 1, y, crHSplit},     {f.Right - 3, y, crHSplit},    {f.Right - 4, y, crIBeam},
        {f.Left + 20, f.Bottom - 1, crVSplit}, {f.Left + 20, f.Bottom - 3, crVSplit},
        {f.Left + 20, f.Bottom - 4, crIBeam},  {f.Left + 5, y, crUpArrow}, {f.Left, y, crUpArrow},
        {f.Left + 6, y, crIBeam},       {f.Right - 2, f.Bottom - 2, crHSplit}, {10, 10, crDefault},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc.CursorAt(c.x, c.y), c.cursor) << c.x << "," << c.y;
}

TEST_F(TemplateView, PressNearARightEdgeDragsTheColumnBorderInEveryLine)
{
    const TRect f = frame(0, 0);
    const int right = f.Right;
    // 4 pixels away is a selection: nothing moves.
    drag(QPoint(right - 4, midY(0)), QPoint(right + 30, midY(0)));
    EXPECT_EQ(cell(0, 0)->CellWidth(), 173);
    EXPECT_FALSE(rc.SelectCells().isEmpty());
    rc.RemoveAllSelectedCell();
    // 3 pixels away drags the border; every line with a border there follows.
    drag(QPoint(right - 3, midY(0)), QPoint(right + 30, midY(0)));
    for (int l = 0; l < 3; ++l) {
        EXPECT_EQ(cell(l, 0)->CellWidth(), 203) << l;
        EXPECT_EQ(cell(l, 1)->CellWidth(), 143) << l;
        EXPECT_EQ(cell(l, 2)->CellLeft(), 96 + 2 * 173) << "the cells beyond stay";
    }
    EXPECT_TRUE(rc.SelectCells().isEmpty());
}

TEST_F(TemplateView, ColumnDragLimitsAndSelectionRestriction)
{
    const int y = midY(1);
    // Never narrower than 10 pixels on either side of the border.
    drag(QPoint(frame(1, 0).Right - 1, y), QPoint(frame(1, 0).Left + 2, y));
    EXPECT_EQ(cell(1, 0)->CellWidth(), 10);
    EXPECT_EQ(cell(1, 1)->CellWidth(), 173 + 163);
    drag(QPoint(frame(1, 0).Right - 1, y), QPoint(frame(1, 1).Right + 50, y));
    EXPECT_EQ(cell(1, 1)->CellWidth(), 10);
    EXPECT_EQ(cell(0, 0)->CellWidth() + cell(0, 1)->CellWidth(), 346);
    // The last cell of a line stops 10 pixels before the control's edge.
    drag(QPoint(frame(2, 3).Right - 1, midY(2)), QPoint(rc.width() + 40, midY(2)));
    EXPECT_EQ(cell(2, 3)->CellLeft() + cell(2, 3)->CellWidth(), rc.width() - 10);
    // A selected cell restricts the drag to its own line.
    rc.NewTable(4, 3);
    rc.AddSelectedCell(cell(1, 2));
    drag(QPoint(frame(1, 2).Right - 2, midY(1)), QPoint(frame(1, 2).Right + 20, midY(1)));
    EXPECT_EQ(cell(1, 2)->CellWidth(), 173 + 20);
    EXPECT_EQ(cell(0, 2)->CellWidth(), 173);
    EXPECT_EQ(cell(2, 2)->CellWidth(), 173);
}

TEST_F(TemplateView, RowDragSetsTheDraggedHeightAndStopsAtTopPlusFive)
{
    const TRect f = frame(1, 1);
    drag(QPoint(f.Left + 30, f.Bottom - 2), QPoint(f.Left + 30, f.Bottom + 25));
    EXPECT_EQ(rc.Line(1)->DragHeight(), f.Bottom + 25 - rc.Line(1)->LineTop());
    EXPECT_EQ(rc.Line(1)->LineHeight(), rc.Line(1)->DragHeight());
    EXPECT_EQ(rc.Line(2)->LineTop(), rc.Line(1)->LineTop() + rc.Line(1)->LineHeight());
    const TRect g = frame(1, 1);
    drag(QPoint(g.Left + 30, g.Bottom - 1), QPoint(g.Left + 30, rc.Line(1)->LineTop() - 40));
    EXPECT_EQ(rc.Line(1)->DragHeight(), 5);
    EXPECT_EQ(rc.Line(1)->LineHeight(), 20) << "a line is at least 20 pixels high";
}

TEST_F(TemplateView, RubberBandSelectsWhatItCovers)
{
    const QPoint anchor(frame(0, 1).Left + 20, midY(0));
    QTest::mousePress(&rc, Qt::LeftButton, Qt::NoModifier, anchor);
    EXPECT_EQ(rc.SelectCells(), QList<TReportCell*>{cell(0, 1)});
    QTest::mouseMove(&rc, QPoint(frame(1, 2).Left + 20, midY(1)));
    EXPECT_EQ(rc.SelectCells().size(), 4);
    for (auto [l, c] : {std::pair{0, 1}, {0, 2}, {1, 1}, {1, 2}})
        EXPECT_TRUE(rc.IsCellSelected(cell(l, c))) << l << "," << c;
    // Back towards the anchor: the cells it no longer covers drop out.
    QTest::mouseMove(&rc, anchor + QPoint(5, 2));
    EXPECT_EQ(rc.SelectCells(), QList<TReportCell*>{cell(0, 1)});
    QTest::mouseRelease(&rc, Qt::LeftButton, Qt::NoModifier, anchor + QPoint(5, 2));
    // The right button selects the cell under it unless it is selected already.
    QTest::mouseClick(&rc, Qt::RightButton, Qt::NoModifier, QPoint(frame(2, 3).Left + 20, midY(2)));
    EXPECT_EQ(rc.SelectCells(), QList<TReportCell*>{cell(2, 3)});
    QTest::mouseClick(&rc, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(rc.SelectCells().isEmpty());
}

TEST_F(TemplateView, InPlaceEditorTakesAtMost1000Characters)
{
    const QPoint in(frame(1, 2).Left + 20, midY(1));
    QTest::mouseDClick(&rc, Qt::LeftButton, Qt::NoModifier, in);
    auto* edit = qobject_cast<QTextEdit*>(rc.EditWindow());
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(rc.EditCell(), cell(1, 2));
    QTest::keyClicks(edit, QStringLiteral("qty 1"));
    EXPECT_EQ(cell(1, 2)->CellText(), QStringLiteral("qty 1"));
    // Near the limit: what goes past 1000 characters is refused.
    cell(1, 2)->SetCellText(QString(997, QLatin1Char('x')));
    rc.CloseEditWindow(false);
    QTest::mouseDClick(&rc, Qt::LeftButton, Qt::NoModifier, in);
    edit = qobject_cast<QTextEdit*>(rc.EditWindow());
    ASSERT_NE(edit, nullptr);
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, QStringLiteral("abcdef"));
    EXPECT_EQ(cell(1, 2)->CellText(), QString(997, QLatin1Char('x')) + QStringLiteral("abc"));
    // A press elsewhere ends the edit and keeps the text.
    QTest::mousePress(&rc, Qt::LeftButton, Qt::NoModifier, QPoint(frame(0, 0).Left + 20, midY(0)));
    QTest::mouseRelease(&rc, Qt::LeftButton, Qt::NoModifier, QPoint(frame(0, 0).Left + 20, midY(0)));
    EXPECT_EQ(rc.EditWindow(), nullptr);
    EXPECT_EQ(rc.EditCell(), nullptr);
    EXPECT_EQ(cell(1, 2)->CellText().size(), 1000);
    // A cell 10 pixels wide opens no editor.
    cell(2, 0)->SetCellWidth(10);
    rc.UpdateLines();
    QTest::mouseDClick(&rc, Qt::LeftButton, Qt::NoModifier, QPoint(frame(2, 0).Left + 4, midY(2)));
    EXPECT_EQ(rc.EditWindow(), nullptr);
}

TEST_F(TemplateView, Screenshot)
{
    cell(0, 0)->SetCellText(QStringLiteral("材料名称"));
    cell(0, 1)->SetCellText(QStringLiteral("#数量"));
    cell(0, 1)->SetHorzAlign(1);
    cell(1, 3)->SetDiagonal(0x1 | 0x100);
    rc.AddSelectedCell(cell(1, 0));
    rc.AddSelectedCell(cell(1, 1));
    rc.CombineCell();
    rc.RemoveAllSelectedCell();
    rc.AddSelectedCell(cell(2, 2));
    rc.Setreportlinetype(1);
    rc.AddSelectedCell(cell(0, 3));
    QApplication::processEvents();
    const QImage image = rc.grab().toImage();
    ASSERT_TRUE(image.save(Artifact(QStringLiteral("prt_view.png"))));
    // The data line is grey, the selected cell inverted.
    const TRect data = frame(2, 0);
    EXPECT_EQ(image.pixelColor(data.Left + 30, data.Top + 3), QColor(0xC0, 0xC0, 0xC0));
    const TRect sel = frame(0, 3);
    EXPECT_EQ(image.pixelColor(sel.Left + 30, sel.Top + 3), QColor(Qt::black));
}

} // namespace
