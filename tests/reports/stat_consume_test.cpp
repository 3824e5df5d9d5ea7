// The custom statistics report: ticks in the selection dialog become the lists of the login
// context, the report crosses them for the period, and a cancelled dialog leaves the grid.
#include "stat_fixture.h"

#include "reports/StatConsumeReport.h"

using namespace stattest;

namespace {

// Ticks the nodes with the given texts.
void tick(TTreeView* tree, const QStringList& names)
{
    for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext())
        for (const QString& name : names)
            if (n->Text() == name)
                Tfrmreportset::ToggleCheck(n);
}

QStringList texts(const TNodeList& list)
{
    QStringList out;
    for (const tnodelist& n : list)
        out << QStringLiteral("%1 %2 %3").arg(n.text, n.code).arg(n.billtype);
    return out;
}

// Answers the next selection dialog: the display mode, the item type, the ticks, then OK.
void choose(int mode, int itemtype, const QStringList& breeds, const QStringList& items)
{
    DialogScript::AnswerForm([=](TForm& f) {
        auto& d = dynamic_cast<Tfrmreportset&>(f);
        d.RadioGroup1->SetItemIndex(mode);
        d.RadioGroup2->SetItemIndex(itemtype);
        tick(d.TreeView1, breeds);
        tick(d.TreeView2, items);
        d.Button1->Click();
        return mrOk;
    });
}

} // namespace

TEST_F(StatTest, CustomReportCrossesTheTicks)
{
    Tfrmconsumereport form;
    show(&form);
    EXPECT_FALSE(form.TabVisible(form.TabSheet2));

    // Categories across the header: three categories give 8 columns, one row per unit.
    choose(0, 0, {"钢材", "水泥", "模板"}, {"一工区", "二工区"});
    form.calsbill->trigger();
    EXPECT_TRUE(reportbreedrows);
    EXPECT_EQ(texts(reportbreedlist), (QStringList{"钢材 000002 1", "水泥 000003 1", "模板 000005 1"}));
    EXPECT_EQ(texts(reportitemlist), (QStringList{"一工区 000002 4", "二工区 000003 4"}));
    EXPECT_EQ(form.StringGrid1->ColCount(), 8);
    EXPECT_EQ(gridrows(form.StringGrid1), (QStringList{"1|一工区", "2|二工区|5|19000|8|3200|10|500"}));

    // Units across the header: two units give 6 columns, one row per category; the closed
    // period's issues.
    closedperiod(&form);
    choose(1, 0, {"钢材", "水泥", "模板"}, {"一工区", "二工区"});
    form.calsbill->trigger();
    EXPECT_FALSE(reportbreedrows);
    EXPECT_EQ(form.StringGrid1->ColCount(), 6);
    EXPECT_EQ(gridrows(form.StringGrid1), (QStringList{"1|钢材|4|16000", "2|水泥", "3|模板|40|2000"}));
    picture(form.StringGrid1, QStringLiteral("stat_custom.png"));

    // A cancelled dialog leaves the grid as it was.
    const QStringList before = gridrows(form.StringGrid1);
    DialogScript::AnswerForm([](TForm&) { return mrCancel; });
    form.calsbill->trigger();
    EXPECT_EQ(gridrows(form.StringGrid1), before);
}

TEST_F(StatTest, CustomReportSourcesAndSuppliers)
{
    Tfrmconsumereport form;
    show(&form);
    // Sources (kind 2) and suppliers (kind 3) count the receipts of the open period.
    choose(0, 2, {"钢材"}, {"甲供", "自购"});
    form.calsbill->trigger();
    EXPECT_EQ(texts(reportitemlist), (QStringList{"甲供 000002 2", "自购 000003 2"}));
    EXPECT_EQ(gridrows(form.StringGrid1), (QStringList{"1|甲供|5|21000", "2|自购"}));
    choose(0, 3, {"钢材"}, {"华北钢厂"});
    form.calsbill->trigger();
    EXPECT_EQ(gridrows(form.StringGrid1), (QStringList{"1|华北钢厂|5|21000"}));

    form.printbill->trigger();
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("数据统计情况"));
    EXPECT_EQ(x.text(0, "C2"), QStringLiteral("钢材"));
    EXPECT_EQ(x.text(0, "B4"), QStringLiteral("华北钢厂"));
    EXPECT_EQ(x.text(0, "D4"), QStringLiteral("21000"));
}

TEST_F(StatTest, SelectionDialogTicks)
{
    Tfrmreportset d;
    show(&d);
    EXPECT_FALSE(d.PageControl1->isTabVisible(d.PageControl1->indexOf(d.TabSheet3)));
    // A parent and its child are separate items, in tree order.
    tick(d.TreeView1, {"线材", "钢材"});
    tick(d.TreeView2, {"二工区"});
    // Another item type shows its own tree; the earlier ticks are gone.
    d.RadioGroup2->SetItemIndex(1);
    tick(d.TreeView2, {"一号楼"});
    d.RadioGroup2->SetItemIndex(0);
    tick(d.TreeView2, {"一工区"});
    d.Button1->Click();
    EXPECT_EQ(texts(reportbreedlist), (QStringList{"钢材 000002 1", "线材 000002008 1"}));
    EXPECT_EQ(texts(reportitemlist), QStringList{"一工区 000002 4"});
    ASSERT_EQ(reportbreedlist.size(), 2);
    EXPECT_EQ(reportbreedlist[1].level, 2);
    EXPECT_EQ(reportbreedlist[1].pfid, 2);

    // The hidden period tab: the history choice lists every period, the current one none.
    d.RadioGroup3->SetItemIndex(1);
    EXPECT_TRUE(d.DBGridGx1->isEnabled());
    EXPECT_EQ(d.cdsperiod.RecordCount(), 1);
    d.RadioGroup3->SetItemIndex(0);
    EXPECT_FALSE(d.DBGridGx1->isEnabled());
    EXPECT_FALSE(d.cdsperiod.Active());

    // Space flips the selected node's box.
    TTreeNode* first = d.TreeView1->Items()->GetFirstNode();
    d.TreeView1->SetSelected(first);
    d.TreeView1->setFocus();
    const bool was = Tfrmreportset::IsChecked(first);
    QTest::keyClick(d.TreeView1, Qt::Key_Space);
    EXPECT_NE(Tfrmreportset::IsChecked(first), was);
    picture(&d, QStringLiteral("stat_custom_selection.png"));
}
