// The turnover-material report: in store and in use per material, in use per unit, and every
// issue with its days in use, for the open and a closed period; its workbook.
#include "stat_fixture.h"

#include "reports/StatCylReport.h"

using namespace stattest;

namespace {

struct Expected {
    const char* name;
    bool closed;
    QStringList units;
    QStringList summary, byunit, issues;
};

QStringList captions(const TCaptionLists& list)
{
    QStringList out;
    for (const TCaptionList& c : list)
        out << c.caption;
    return out;
}

} // namespace

TEST_F(StatTest, TurnoverReportByPeriod)
{
    const Expected cases[] = {
        // Days in use count both ends; an issue of today is in use for one day, and one carried
        // over from the closed period counts from the new period's first day.
        {"open period 1",
         false,
         {"一工区", "二工区"},
         {"一|模板", "1|钢模板|P3015|块|100|5000|50|2500|50|2500", "二|脚手架", "1|钢管|Φ48|米|200|2000|150|1500|50|500"},
         {"一|模板", "1|钢模板|P3015|块|50|2500|40|2000|10|500", "二|脚手架", "1|钢管|Φ48|米|50|500|||50|500"},
         {"一|模板", "1|一工区|钢模板|P3015|块|40|2024-12-01|2024-12-20|20|上月结存",
          "2|二工区|钢模板|P3015|块|10|2024-12-20|2024-12-20|1", "二|脚手架",
          "1|二工区|钢管|Φ48|米|50|2024-12-05|2024-12-20|16"}},
        // The closed period's units are the units of its snapshot; 脚手架 had no issue then.
        {"closed period 0",
         true,
         {"一工区"},
         {"一|模板", "1|钢模板|P3015|块|100|5000|60|3000|40|2000", "二|脚手架", "1|钢管|Φ48|米|200|2000|200|2000|0|0"},
         {"一|模板", "1|钢模板|P3015|块|40|2000|40|2000", "二|脚手架", "1|钢管|Φ48|米"},
         {"一|模板", "1|一工区|钢模板|P3015|块|40|2024-11-05|2024-11-30|26"}},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.name);
        Tfrmcylreport form;
        show(&form);
        if (c.closed)
            closedperiod(&form);
        form.calsbill->trigger();
        EXPECT_EQ(captions(form.dptlist), c.units);
        EXPECT_EQ(form.StringGrid2->ColCount(), 6 + 2 * int(c.units.size()));
        EXPECT_EQ(gridrows(form.StringGrid1), c.summary);
        EXPECT_EQ(gridrows(form.StringGrid2), c.byunit);
        EXPECT_EQ(gridrows(form.StringGrid3), c.issues);
    }
}

TEST_F(StatTest, TurnoverUnitsOfAClosedPeriodStayWhenTheyHoldNothingNow)
{
    // 一工区 gave all its turnover materials back since the close.
    exec("delete from cyldptlist where dptid=2");
    Tfrmcylreport form;
    show(&form);
    form.calsbill->trigger();
    EXPECT_EQ(captions(form.dptlist), QStringList{"二工区"});
    closedperiod(&form);
    form.calsbill->trigger();
    EXPECT_EQ(captions(form.dptlist), QStringList{"一工区"});
    EXPECT_EQ(gridrows(form.StringGrid2, 4).value(0), QStringLiteral("1|钢模板|P3015|块|40|2000|40|2000"));
}

TEST_F(StatTest, TurnoverIssueListHoldsEveryIssue)
{
    // 1,024 issue rows of one category: none is left out.
    exec("delete from cyldetaillist where mid=5");
    for (int i = 0; i < 9; ++i)
        exec("insert into cyldetaillist (eid,pid,mid,dptid,crtdate,qty,cost,remark) "
             "select eid,pid,mid,dptid,crtdate,qty,cost,remark from cyldetaillist where mid=4");
    ASSERT_EQ(rows(QStringLiteral("select count(*) from cyldetaillist")), QStringLiteral("1024"));
    Tfrmcylreport form;
    show(&form);
    form.calsbill->trigger();
    const QStringList issues = gridrows(form.StringGrid3);
    ASSERT_EQ(issues.size(), 1 + 1024);
    EXPECT_TRUE(issues.last().startsWith(QStringLiteral("1024|二工区|钢模板"))) << issues.last().toStdString();
}

TEST_F(StatTest, TurnoverExportAndPictures)
{
    Tfrmcylreport form;
    form.resize(950, 600);
    show(&form);
    form.calsbill->trigger();
    picture(form.StringGrid1, QStringLiteral("stat_cyl_summary.png"));
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    picture(form.StringGrid2, QStringLiteral("stat_cyl_by_unit.png"));
    form.resize(500, 400);
    QApplication::processEvents();
    form.StringGrid2->SetLeftCol(4);
    picture(form.StringGrid2, QStringLiteral("stat_cyl_by_unit_scrolled.png"));
    form.PageControl1->setCurrentWidget(form.TabSheet3);
    picture(form.StringGrid3, QStringLiteral("stat_cyl_issues.png"));

    form.printbill->trigger();
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(x.sheets[0].name, QStringLiteral("在存在用统计表"));
    EXPECT_EQ(x.sheets[1].name, QStringLiteral("分配统计表"));
    EXPECT_EQ(x.sheets[2].name, QStringLiteral("领用情况统计表"));
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("华北建设周转材料在库在用汇总表"));
    EXPECT_EQ(x.text(2, "A1"), QStringLiteral("华北建设周转材料领用统计表"));
    EXPECT_EQ(x.text(1, "G3"), QStringLiteral("一工区"));
    EXPECT_EQ(x.text(1, "I3"), QStringLiteral("二工区"));
    EXPECT_EQ(x.text(0, "B5"), QStringLiteral("钢模板"));
    EXPECT_EQ(x.text(1, "B6"), QStringLiteral("钢模板"));
    EXPECT_EQ(x.text(2, "I4"), QStringLiteral("20"));
}
