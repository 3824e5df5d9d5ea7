// Title cells: a pressed title shifts its caption, sort markers and indexes and
// what narrow titles drop, and the upper bands of two-level titles over their
// columns.
#include "dbgrid_paint_host.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/gui/ImageList.h"
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

struct TitlesFixture : ::testing::Test {
    PaintHost host{700, 240};
    std::unique_ptr<TClientDataSet> ds = NumberedLines(3);
    void SetUp() override { host.Bind(ds.get()); }
    TDBGridGx* grid() { return host.grid; }
    TColumnGx* column(int i) { return grid()->Columns()->GetColumn(i); }
    // The title box of column i painted on the recording canvas; its caption's run.
    const TextRun* PaintBox(int i, const TDBGirdDrawTitleStateGx& state, const TRect& box)
    {
        host.Record();
        grid()->PaintColumnTitle(column(i), box, state);
        return host.device.Find(state.Caption);
    }
    TDBGirdDrawTitleStateGx State(int i)
    {
        TDBGirdDrawTitleStateGx s;
        TColumnTitleGx* t = column(i)->Title();
        s.Caption = t->Caption();
        s.BackColor = t->Color();
        s.SortMarker = t->SortMarker();
        s.DrawSortIndex = true;
        s.The3DRect = true;
        s.FontColor = t->Font()->Color();
        s.FontSize = t->Font()->Size();
        s.FontName = t->Font()->Name();
        s.FontStyle = t->Font()->Style();
        return s;
    }
};

} // namespace

TEST_F(TitlesFixture, PressedTitleShifts)
{
    const TRect box(100, 0, 200, 24);
    TDBGirdDrawTitleStateGx s = State(1);
    const TextRun* up = PaintBox(1, s, box);
    ASSERT_NE(up, nullptr);
    const double x0 = up->X, y0 = up->Baseline;   // (the run is gone with the next paint)
    s.Down = true;
    const TextRun* down = PaintBox(1, s, box);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->X - x0, 1);
    EXPECT_EQ(down->Baseline - y0, 1);
    // Two pixels with a title height of its own (and with multi-level titles).
    grid()->SetTitleHeight(40);
    const TextRun* deep = PaintBox(1, s, box);
    ASSERT_NE(deep, nullptr);
    s.Down = false;
    const TextRun* flat = PaintBox(1, s, box);
    ASSERT_NE(flat, nullptr);
    const double flatX = flat->X;
    s.Down = true;
    EXPECT_EQ(PaintBox(1, s, box)->X - flatX, 2);

    // Pressed by the mouse: the grid paints the title down while the button is held.
    grid()->SetTitleHeight(0);
    column(1)->Title()->SetTitleButton(true);
    const TRect cell = grid()->CellRect(grid()->IndicatorOffset() + 1, 0);
    QTest::mousePress(grid(), Qt::LeftButton, Qt::NoModifier, QPoint(cell.Left + 10, cell.Top + 5));
    EXPECT_EQ(grid()->DBGridGxState(), dgsTitleDown);
    host.Record();
    host.PaintCell(grid()->IndicatorOffset() + 1, 0);
    ASSERT_NE(host.device.Find(column(1)->Title()->Caption()), nullptr);
    const TextRun pressed = *host.device.Find(column(1)->Title()->Caption());
    QTest::mouseRelease(grid(), Qt::LeftButton, Qt::NoModifier, QPoint(cell.Left + 10, cell.Top + 5));
    host.Record();
    host.PaintCell(grid()->IndicatorOffset() + 1, 0);
    const TextRun* released = host.device.Find(column(1)->Title()->Caption());
    ASSERT_NE(released, nullptr);
    EXPECT_EQ(pressed.X - released->X, 1);
    EXPECT_EQ(pressed.Baseline - released->Baseline, 1);
}

TEST_F(TitlesFixture, SortMarkersAndIndexes)
{
    grid()->SetOptionsGx(grid()->OptionsGx() + TDBGridGxOptions{dghMultiSortMarking});
    for (int i = 0; i < 3; ++i)
        column(i)->Title()->SetNextSortMarkerValue(true);
    ASSERT_EQ(grid()->SortMarkedColumns()->Count(), 3);
    const int index = column(1)->Title()->SortIndex();
    ASSERT_GT(index, 0);
    TDBGirdDrawTitleStateGx s = State(1);
    s.Caption = QStringLiteral("数量");
    TCanvas measure;
    measure.SetFont(*SortIndexFont());
    const int indexWidth = measure.TextWidth(QString::number(index));
    struct Case {
        int width;
        bool glyph, number;
    };
    const Case cases[] = {{120, true, true}, {14 + indexWidth, false, true}, {indexWidth, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        PaintBox(1, s, TRect(10, 0, 10 + c.width + 2, 24));   // the content is the box less its frame
        EXPECT_EQ(!host.device.Images.empty(), c.glyph);
        EXPECT_EQ(host.device.Find(QString::number(index)) != nullptr, c.number);
    }
    // The index is drawn right of the glyph, at the box's right edge.
    PaintBox(1, s, TRect(10, 0, 130, 24));
    ASSERT_FALSE(host.device.Images.empty());
    const TextRun* number = host.device.Find(QString::number(index));
    ASSERT_NE(number, nullptr);
    EXPECT_NEAR(number->Right(), 130 - 1 - 2, 1.0);
    EXPECT_LE(host.device.Images.front().right(), number->X + 0.5);
}

TEST_F(TitlesFixture, UpperBandsSpanTheirColumns)
{
    grid()->Columns()->Clear();
    struct Def {
        const char* field;
        const char* caption;
        int width;
    };
    const Def defs[] = {{"mname", "材料名称", 90}, {"qty", "采购币种价格|实价", 70}, {"price", "采购币种价格|运什费", 80},
                        {"id", "采购币种价格|合计", 60}};
    for (const Def& d : defs) {
        TColumnGx* c = grid()->Columns()->Add();
        c->SetFieldName(QString::fromUtf8(d.field));
        c->Title()->SetCaption(QString::fromUtf8(d.caption));
        c->SetWidth(d.width);
    }
    grid()->SetUseMultiTitle(true);
    QApplication::processEvents();
    const QString band = QStringLiteral("采购币种价格");
    host.Record();
    std::vector<double> at;
    for (int i = 1; i < 4; ++i) {
        host.device.Clear();
        host.PaintCell(grid()->IndicatorOffset() + i, 0);
        const TextRun* run = host.device.Find(band);
        QStringList texts;
        for (const TextRun& t : host.device.Texts)
            texts << t.Text;
        ASSERT_NE(run, nullptr) << i << " " << texts.join(QLatin1Char('/')).toStdString() << " multi "
                                << grid()->IsUseMultiTitle() << " leaves " << grid()->LeafFieldArr().size();
        at.push_back(run->X);
        EXPECT_NE(host.device.Find(QString::fromUtf8(defs[i].caption).section(QLatin1Char('|'), 1)), nullptr);
        // each cell paints its own slice of the band
        const TRect cell = grid()->CellRect(grid()->IndicatorOffset() + i, 0);
        EXPECT_GE(run->Clip.left(), cell.Left - 1);
        EXPECT_LE(run->Clip.right(), cell.Right + 1);
    }
    // One caption centred over the three columns: every slice draws it at the same place.
    EXPECT_EQ(at[0], at[1]);
    EXPECT_EQ(at[1], at[2]);
    const TRect left = grid()->CellRect(grid()->IndicatorOffset() + 1, 0);
    const TRect right = grid()->CellRect(grid()->IndicatorOffset() + 3, 0);
    TCanvas measure;
    measure.SetFont(*grid()->Columns()->GetColumn(1)->Title()->Font());
    EXPECT_NEAR(at[0] + measure.TextWidth(band) / 2.0, (left.Left + right.Right) / 2.0, 4.0);
    // The single-level column has no band.
    host.device.Clear();
    host.PaintCell(grid()->IndicatorOffset(), 0);
    EXPECT_EQ(host.device.Find(band), nullptr);
    EXPECT_NE(host.device.Find(QStringLiteral("材料名称")), nullptr);
}
