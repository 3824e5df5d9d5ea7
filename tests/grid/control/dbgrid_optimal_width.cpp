// Optimal column widths: the widest of the title, every record's text and the
// footers; a sort marker adds its width to the title's; a closed link measures
// titles only and changes nothing.
#include "dbgrid_paint_host.h"
#include "grid/control/DBGridGxInputSelection.h"
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

struct OptimalWidthFixture : ::testing::Test {
    PaintHost host{600, 200};
    std::unique_ptr<TClientDataSet> ds = LineDataSet({{Variant(1), Variant(QStringLiteral("钢筋")), Variant(1.0), Variant(2.5)},
                                                      {Variant(2), Variant(QStringLiteral("螺纹钢筋 HRB400 Φ25")),
                                                       Variant(12345.5), Variant(0.5)}});
    void SetUp() override
    {
        host.Bind(ds.get());
        grid()->Columns()->Clear();
        for (const char* f : {"id", "mname", "qty", "price"})
            grid()->Columns()->Add()->SetFieldName(QString::fromLatin1(f));
    }
    TDBGridGx* grid() { return host.grid; }
    TColumnGx* column(int i) { return grid()->Columns()->GetColumn(i); }
    int TextWidth(TFont* font, const QString& text)
    {
        grid()->Canvas()->Font()->Assign(*font);
        return grid()->Canvas()->TextWidth(text);
    }
    int Optimize(int i)
    {
        TColumnsGxList list;
        list.Add(column(i));
        grid()->OptimizeColsWidth(list);
        return column(i)->Width();
    }
};

} // namespace

TEST_F(OptimalWidthFixture, TitleDataAndFooterWidths)
{
    // Data: the longest display text of the column's records, 4 pixels beyond.
    EXPECT_EQ(Optimize(1), 4 + TextWidth(column(1)->Font(), QStringLiteral("螺纹钢筋 HRB400 Φ25")));
    // Title: a caption longer than the data, 4 pixels beyond.
    column(0)->Title()->SetCaption(QStringLiteral("序号 line number"));
    EXPECT_EQ(Optimize(0), 4 + TextWidth(column(0)->Title()->Font(), QStringLiteral("序号 line number")));
    // Footer: a text wider than title and data, 5 pixels beyond.
    column(3)->Footer()->SetValueType(fvtStaticText);
    column(3)->Footer()->SetValue(QStringLiteral("合计金额（含税）"));
    grid()->SetFooterRowCount(1);
    EXPECT_EQ(Optimize(3), 5 + TextWidth(column(3)->Footer()->Font(), QStringLiteral("合计金额（含税）")));
    // The cell event's text counts, not the field's.
    column(2)->OnGetCellParams = [](TColumnGx*, bool, TColCellParamsGx& p) { p.Text = QStringLiteral("WWWWWWWWWWWW"); };
    EXPECT_EQ(Optimize(2), 4 + TextWidth(column(2)->Font(), QStringLiteral("WWWWWWWWWWWW")));
    EXPECT_EQ(ds->RecNo(), 1);
}

TEST_F(OptimalWidthFixture, SortMarkerAddsItsWidth)
{
    column(1)->Title()->SetCaption(QStringLiteral("材料名称与规格型号说明"));
    ds->EmptyDataSet();
    const int plain = Optimize(1);
    EXPECT_EQ(plain, 4 + TextWidth(column(1)->Title()->Font(), column(1)->Title()->Caption()));
    column(1)->Title()->SetSortMarker(smDownGx);
    const int marking = column(1)->Title()->GetSortMarkingWidth();
    ASSERT_GE(marking, 3);
    EXPECT_EQ(Optimize(1), plain - 4 + marking + 2);
}

TEST_F(OptimalWidthFixture, ClosedLinkChangesNothing)
{
    column(1)->SetWidth(33);
    column(1)->Title()->SetCaption(QStringLiteral("一个很长很长的标题"));
    ds->Close();
    TColumnsGxList list;
    list.Add(column(1));
    grid()->OptimizeColsWidth(list);
    EXPECT_EQ(column(1)->Width(), 33);
}

TEST_F(OptimalWidthFixture, SelectedColumnsAndTheClickedOne)
{
    grid()->Selection()->Columns().Select(column(0), false);
    grid()->Selection()->Columns().Select(column(2), true);
    grid()->Selection()->SetSelectionType(gstColumns);
    for (int i = 0; i < 4; ++i)
        column(i)->SetWidth(300);
    grid()->OptimizeSelectedColsWidth(column(3));
    EXPECT_LT(column(0)->Width(), 300);
    EXPECT_EQ(column(1)->Width(), 300);
    EXPECT_LT(column(2)->Width(), 300);
    EXPECT_LT(column(3)->Width(), 300);
}

TEST_F(OptimalWidthFixture, VerticalTitleTakesItsTextHeight)
{
    ds->EmptyDataSet();
    column(1)->Title()->SetCaption(QStringLiteral("竖排标题"));
    column(1)->Title()->SetOrientation(tohVertical);
    grid()->Canvas()->Font()->Assign(*column(1)->Title()->Font());
    const int height = grid()->Canvas()->TextHeight(QStringLiteral("竖排标题"));
    EXPECT_EQ(Optimize(1), 4 + height);
}
