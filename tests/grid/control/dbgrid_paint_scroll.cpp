// The vertical scroll bar follows the dataset: top, middle and bottom for a
// dataset that cannot number its records, record number and page when it can;
// shown automatically or always.
#include "dbgrid_paint_host.h"
#include "grid/control/DBGridGxPaint.h"
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

// A client dataset that does not number its records.
class TUnsequencedDataSet : public TClientDataSet {
public:
    bool IsSequenced() const override { return false; }
};

TScrollInfo VertInfo(TDBGridGx* grid)
{
    TScrollInfo si;
    si.fMask = SIF_ALL;
    grid->GetScrollInfo(SB_VERT, si);
    return si;
}

} // namespace

TEST(DBGridScrollBar, PositionsOfAnUnsequencedDataset)
{
    PaintHost host;
    host.grid->SetScrollBarsStyle(TScrollStyle::ssBoth);
    TUnsequencedDataSet ds;
    ds.FieldDefs().Add(QStringLiteral("id"), ftInteger);
    ds.CreateDataSet();
    for (int i = 1; i <= 40; ++i)
        ds.AppendRecord({Variant(i)});
    ds.First();
    host.Bind(&ds);
    struct Step {
        const char* name;
        std::function<void()> move;
        int pos;
    };
    const Step steps[] = {{"first", [&] { ds.First(); }, 0},
                          {"middle", [&] { ds.MoveBy(20); }, 2},
                          {"last", [&] { ds.Last(); }, 4},
                          {"back one", [&] { ds.Prior(); }, 2}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.move();
        QApplication::processEvents();
        const TScrollInfo si = VertInfo(host.grid);
        EXPECT_EQ(si.nMin, 0);
        EXPECT_EQ(si.nMax, 4);
        EXPECT_EQ(si.nPos, s.pos);
    }
    EXPECT_TRUE(host.grid->ScrollBarVisible(SB_VERT));
}

TEST(DBGridScrollBar, RecordNumbersAndModes)
{
    PaintHost host;
    host.grid->SetScrollBarsStyle(TScrollStyle::ssBoth);
    auto ds = NumberedLines(40);
    host.Bind(ds.get());
    host.grid->SumList()->SetActive(true);
    ds->SetRecNo(17);
    QApplication::processEvents();
    const TScrollInfo si = VertInfo(host.grid);
    const int page = host.grid->DataLink()->RecordCount();   // the rows the grid shows
    EXPECT_EQ(si.nMin, 1);
    EXPECT_EQ(int(si.nPage), page);
    EXPECT_EQ(si.nMax, 40 + page - 1);
    EXPECT_EQ(si.nPos, 17);
    EXPECT_TRUE(host.grid->ScrollBarVisible(SB_VERT));

}

TEST(DBGridScrollBar, DatasetThatFits)
{
    // A dataset that fits: the bar goes in the automatic mode, stays disabled when always shown.
    PaintHost host;
    auto few = NumberedLines(2);
    host.Bind(few.get());
    host.grid->SumList()->SetActive(true);
    QApplication::processEvents();
    const TScrollInfo fi = VertInfo(host.grid);
    EXPECT_FALSE(host.grid->ScrollBarVisible(SB_VERT)) << fi.nMin << " " << fi.nMax << " " << fi.nPage << " " << fi.nPos;
    host.grid->VertScrollBar()->SetVisibleMode(sbAlwaysShowGx);
    QApplication::processEvents();
    ASSERT_TRUE(host.grid->ScrollBarVisible(SB_VERT));
    EXPECT_FALSE(host.grid->ScrollBarWidget(SB_VERT)->isEnabled());
    host.grid->VertScrollBar()->SetVisibleMode(sbAutoShowGx);
    QApplication::processEvents();
    EXPECT_FALSE(host.grid->ScrollBarVisible(SB_VERT));
    host.grid->VertScrollBar()->SetVisibleMode(sbNeverShowGx);
    auto many = NumberedLines(40);
    host.Bind(many.get());
    QApplication::processEvents();
    EXPECT_FALSE(host.grid->ScrollBarVisible(SB_VERT));
}

TEST(DBGridScrollBar, ExternalBarAndPictures)
{
    PaintHost host;
    host.grid->SetScrollBarsStyle(TScrollStyle::ssBoth);
    auto ds = NumberedLines(40);
    host.Bind(ds.get());
    host.grid->SumList()->SetActive(true);
    QScrollBar bar(Qt::Vertical, &host.window);
    bar.setObjectName(QStringLiteral("sbLines"));
    host.grid->VertScrollBar()->SetExtScrollBar(&bar);
    ds->SetRecNo(10);
    QApplication::processEvents();
    EXPECT_FALSE(host.grid->ScrollBarVisible(SB_VERT));   // the grid's own bar gives way
    EXPECT_EQ(bar.value(), 10);
    EXPECT_EQ(bar.minimum(), 1);
    // Another grid cannot take the same bar.
    PaintHost other;
    EXPECT_THROW(other.grid->VertScrollBar()->SetExtScrollBar(&bar), Exception);
    host.grid->VertScrollBar()->SetExtScrollBar(nullptr);

    // A picture of 200 x 100 in a 50 x 50 cell: 50 x 25, centred vertically.
    const TRect r = FitPictureRectGx(200, 100, TRect(0, 0, 50, 50));
    EXPECT_EQ(r.Left, 0);
    EXPECT_EQ(r.Right, 50);
    EXPECT_EQ(r.Top, 12);
    EXPECT_EQ(r.Bottom, 37);
    const TRect small = FitPictureRectGx(20, 10, TRect(0, 0, 50, 50));
    EXPECT_EQ(small.Right - small.Left, 20);
}
