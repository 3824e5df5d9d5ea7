// Stock-in and stock-out statistics: cross tables of the posted receipts by source, supplier
// and currency and of the posted issues by unit and project, for the open and a closed
// period, and their workbooks.
#include "stat_fixture.h"

#include "reports/StatBillReport.h"

using namespace stattest;

namespace {

struct Expected {
    const char* name;
    bool closed;
    QStringList grid1, grid2;
};

} // namespace

TEST_F(StatTest, StockInByPeriod)
{
    const Expected cases[] = {
        {"closed period 0",
         true,
         {"一|钢材|15|59000|||15|59000", "1.1|螺纹钢材|10|40000|||10|40000", "1.2|线材|5|19000|||5|19000",
          "二|水泥|20|8000|20|8000", "三|模板|100|5000|||100|5000", "四|脚手架|200|2000|||200|2000",
          "|合计|335|74000|20|8000|315|66000"},
         {"一|钢材|15|59000|15|59000", "1.1|螺纹钢材|10|40000|10|40000", "1.2|线材|5|19000|5|19000",
          "二|水泥|20|8000|||20|8000", "三|模板|100|5000|100|5000", "四|脚手架|200|2000|200|2000",
          "|合计|335|74000|315|66000|20|8000"}},
        {"open period 1",
         false,
         {"一|钢材|5|21000|5|21000", "1.1|螺纹钢材|5|21000|5|21000", "1.2|线材", "二|水泥", "三|模板", "四|脚手架",
          "|合计|5|21000|5|21000"},
         {"一|钢材|5|21000|5|21000", "1.1|螺纹钢材|5|21000|5|21000", "1.2|线材", "二|水泥", "三|模板", "四|脚手架",
          "|合计|5|21000|5|21000"}},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.name);
        TfrmimbillReport form;
        show(&form);
        EXPECT_FALSE(form.TabVisible(form.TabSheet3));   // a local account set has no currency tab
        if (c.closed)
            closedperiod(&form);
        form.calsbill->trigger();
        EXPECT_EQ(gridrows(form.StringGrid1), c.grid1);
        EXPECT_EQ(gridrows(form.StringGrid2), c.grid2);
        EXPECT_EQ(form.StringGrid1->ColCount(), 4 + 2 * int(form.cflist.size()));
    }
}

TEST_F(StatTest, StockInExportAndPictures)
{
    TfrmimbillReport form;
    form.resize(950, 600);
    show(&form);
    closedperiod(&form);
    form.calsbill->trigger();
    picture(form.StringGrid1, QStringLiteral("stat_in_by_source.png"));
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    form.resize(420, 400);
    QApplication::processEvents();
    form.StringGrid2->SetLeftCol(3);
    picture(form.StringGrid2, QStringLiteral("stat_in_by_supplier_scrolled.png"));

    form.printbill->trigger();
    ASSERT_EQ(opened.size(), 1);
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    // A local account set writes two sheets; the third stays as the workbook gave it.
    EXPECT_EQ(x.sheets[0].name, QStringLiteral("材料来源统计"));
    EXPECT_EQ(x.sheets[1].name, QStringLiteral("供应商统计"));
    EXPECT_EQ(x.sheets[2].name, QStringLiteral("Sheet3"));
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("华北建设入库材料（按材料来源）统计报表"));
    EXPECT_EQ(x.text(1, "A1"), QStringLiteral("华北建设入库材料（按供应厂商）统计报表"));
    EXPECT_EQ(x.text(0, "E3"), QStringLiteral("甲供"));
    EXPECT_EQ(x.text(0, "G3"), QStringLiteral("自购"));
    // The data start under the three header rows.
    EXPECT_EQ(x.text(0, "A5"), QStringLiteral("一"));
    EXPECT_EQ(x.text(0, "B11"), QStringLiteral("合计"));
    EXPECT_EQ(x.text(0, "C11"), QStringLiteral("335"));
    EXPECT_EQ(x.text(1, "G11"), QStringLiteral("20"));
}

TEST_F(StatTest, StockInByCurrencyForAnOverseasAccountSet)
{
    systype = TSystype::overseas;
    TfrmimbillReport form;
    show(&form);
    EXPECT_TRUE(form.TabVisible(form.TabSheet3));
    form.calsbill->trigger();
    ASSERT_EQ(form.crylist.size(), 2);
    EXPECT_EQ(form.crylist[0].text, QStringLiteral("人民币"));
    EXPECT_EQ(gridrows(form.StringGrid3),
              (QStringList{"一|钢材|5|21000|5|21000", "1.1|螺纹钢材|5|21000|5|21000", "1.2|线材", "二|水泥", "三|模板",
                           "四|脚手架", "|合计|5|21000|5|21000"}));
    form.printbill->trigger();
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(x.sheets[2].name, QStringLiteral("对采购币种统计"));
    EXPECT_EQ(x.text(2, "A1"), QStringLiteral("华北建设入库材料（按采购币种）统计报表"));
    EXPECT_EQ(x.text(2, "C2"), QStringLiteral("收入汇总"));
    EXPECT_EQ(x.text(2, "G3"), QStringLiteral("美元"));
}

TEST_F(StatTest, StockOutByPeriod)
{
    const Expected cases[] = {
        {"closed period 0",
         true,
         {"一|钢材|4|16000|4|16000", "1.1|螺纹钢材|4|16000|4|16000", "1.2|线材", "二|水泥", "三|模板|40|2000|40|2000",
          "四|脚手架", "|合计|44|18000|44|18000"},
         {"一|钢材|4|16000|4|16000", "1.1|螺纹钢材|4|16000|4|16000", "1.2|线材", "二|水泥", "三|模板|40|2000|40|2000",
          "四|脚手架", "|合计|44|18000|44|18000"}},
        {"open period 1",
         false,
         {"一|钢材|5|19000|5|19000", "1.1|螺纹钢材", "1.2|线材|5|19000|5|19000", "二|水泥|8|3200|8|3200",
          "三|模板|10|500|10|500", "四|脚手架|50|500|50|500", "|合计|73|23200|73|23200"},
         {"一|钢材|5|19000|5|19000", "1.1|螺纹钢材", "1.2|线材|5|19000|5|19000", "二|水泥|8|3200|8|3200",
          "三|模板|10|500|10|500", "四|脚手架|50|500|50|500", "|合计|73|23200|73|23200"}},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.name);
        TfrmExbillReport form;
        show(&form);
        EXPECT_FALSE(form.TabVisible(form.TabSheet3));
        if (c.closed)
            closedperiod(&form);
        form.calsbill->trigger();
        EXPECT_EQ(gridrows(form.StringGrid1), c.grid1);
        EXPECT_EQ(gridrows(form.StringGrid2), c.grid2);
    }
}

TEST_F(StatTest, StockOutExportAndPictures)
{
    TfrmExbillReport form;
    form.resize(950, 600);
    show(&form);
    form.calsbill->trigger();
    picture(form.StringGrid1, QStringLiteral("stat_out_by_unit.png"));
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    picture(form.StringGrid2, QStringLiteral("stat_out_by_project.png"));
    form.printbill->trigger();
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(x.sheets[0].name, QStringLiteral("按单位统计"));
    EXPECT_EQ(x.sheets[1].name, QStringLiteral("按项目统计"));
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("华北建设材料出库（按领用单位）统计报表"));
    EXPECT_EQ(x.text(1, "A1"), QStringLiteral("华北建设材料出库（按使用项目）统计报表"));
    EXPECT_EQ(x.text(0, "C2"), QStringLiteral("本期支出"));
    EXPECT_EQ(x.text(0, "E3"), QStringLiteral("二工区"));
    EXPECT_EQ(x.text(1, "E3"), QStringLiteral("二号楼"));
    EXPECT_EQ(x.text(0, "F11"), QStringLiteral("23200"));
}

TEST_F(StatTest, PeriodWithoutMovementsHasNoItems)
{
    ASSERT_TRUE(dm->billbalance(day("2024-12-01"), day("2024-12-31"), day("2025-01-01")));
    TfrmimbillReport in;
    show(&in);
    in.calsbill->trigger();
    EXPECT_TRUE(in.cflist.isEmpty());
    EXPECT_EQ(in.StringGrid1->ColCount(), 4);
    EXPECT_EQ(gridrows(in.StringGrid1),
              (QStringList{"一|钢材", "1.1|螺纹钢材", "1.2|线材", "二|水泥", "三|模板", "四|脚手架", "|合计|0|0"}));
    TfrmExbillReport out;
    show(&out);
    out.calsbill->trigger();
    EXPECT_TRUE(out.dptlist.isEmpty());
    EXPECT_EQ(gridrows(out.StringGrid2).last(), QStringLiteral("|合计|0|0"));
}
