// The stock and in/out/stock report: opening, receipts, issues and closing per category and
// material for the open and a closed period, its inclusion rules, its workbook, and the
// hourglass that comes back also when the computation fails.
#include "stat_fixture.h"

#include "reports/StatMaterialReport.h"

using namespace stattest;

namespace {

struct Expected {
    const char* name;
    bool closed;
    QStringList summary, detail, stock;
};

} // namespace

TEST_F(StatTest, MaterialReportByPeriod)
{
    const Expected cases[] = {
        {"closed period 0",
         true,
         {"0.0.0.1|材料分类|||335|74000|44|18000|291|56000", "一、|钢材|||15|59000|4|16000|11|43000",
          "1.1|螺纹钢材|||10|40000|4|16000|6|24000", "1.2|线材|||5|19000|||5|19000", "二、|水泥|||20|8000|||20|8000",
          "三、|模板|||100|5000|40|2000|60|3000", "四、|脚手架|||200|2000|||200|2000"},
         {"0.0.0.1|材料分类|||||335|74000|44|18000|291|56000", "一、|钢材|||||15|59000|4|16000|11|43000",
          "1.1|螺纹钢材|||||10|40000|4|16000|6|24000", "1|螺纹钢|Φ12|吨|||10|40000|4|16000|6|24000",
          "1.2|线材|||||5|19000|||5|19000", "1|盘圆|Φ6.5|吨|||5|19000|||5|19000", "二、|水泥|||||20|8000|||20|8000",
          "1|水泥|P.O42.5|吨|||20|8000|||20|8000", "三、|模板|||||100|5000|40|2000|60|3000",
          "1|钢模板|P3015|块|||100|5000|40|2000|60|3000", "四、|脚手架|||||200|2000|||200|2000",
          "1|钢管|Φ48|米|||200|2000|||200|2000"},
         {"0.0.0.1|材料分类|||291|56000", "一、|钢材|||11|43000", "1.1|螺纹钢材|||6|24000", "1|螺纹钢|Φ12|吨|6|24000",
          "1.2|线材|||5|19000", "2|盘圆|Φ6.5|吨|5|19000", "二、|水泥|||20|8000", "3|水泥|P.O42.5|吨|20|8000",
          "三、|模板|||60|3000", "4|钢模板|P3015|块|60|3000", "四、|脚手架|||200|2000", "5|钢管|Φ48|米|200|2000"}},
        // 盘圆 was issued completely: in the detail, not in the stock list; 铁丝 never moved.
        {"open period 1",
         false,
         {"0.0.0.1|材料分类|291|56000|5|21000|73|23200|223|53800", "一、|钢材|11|43000|5|21000|5|19000|11|45000",
          "1.1|螺纹钢材|6|24000|5|21000|||11|45000", "1.2|线材|5|19000|||5|19000", "二、|水泥|20|8000|||8|3200|12|4800",
          "三、|模板|60|3000|||10|500|50|2500", "四、|脚手架|200|2000|||50|500|150|1500"},
         {"0.0.0.1|材料分类|||291|56000|5|21000|73|23200|223|53800", "一、|钢材|||11|43000|5|21000|5|19000|11|45000",
          "1.1|螺纹钢材|||6|24000|5|21000|||11|45000", "1|螺纹钢|Φ12|吨|6|24000|5|21000|||11|45000",
          "1.2|线材|||5|19000|||5|19000", "1|盘圆|Φ6.5|吨|5|19000|||5|19000", "二、|水泥|||20|8000|||8|3200|12|4800",
          "1|水泥|P.O42.5|吨|20|8000|||8|3200|12|4800", "三、|模板|||60|3000|||10|500|50|2500",
          "1|钢模板|P3015|块|60|3000|||10|500|50|2500", "四、|脚手架|||200|2000|||50|500|150|1500",
          "1|钢管|Φ48|米|200|2000|||50|500|150|1500"},
         {"0.0.0.1|材料分类|||223|53800", "一、|钢材|||11|45000", "1.1|螺纹钢材|||11|45000", "1|螺纹钢|Φ12|吨|11|45000",
          "1.2|线材", "二、|水泥|||12|4800", "2|水泥|P.O42.5|吨|12|4800", "三、|模板|||50|2500",
          "3|钢模板|P3015|块|50|2500", "四、|脚手架|||150|1500", "4|钢管|Φ48|米|150|1500"}},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.name);
        Tfrmmaterialreport form;
        show(&form);
        if (c.closed)
            closedperiod(&form);
        form.calsbill->trigger();
        EXPECT_EQ(gridrows(form.StringGrid1), c.summary);
        EXPECT_EQ(gridrows(form.StringGrid2), c.detail);
        EXPECT_EQ(gridrows(form.StringGrid3), c.stock);
        // A second run shows the same, nothing left over from the first.
        form.calsbill->trigger();
        EXPECT_EQ(gridrows(form.StringGrid3), c.stock);
        EXPECT_EQ(Screen->Cursor(), crDefault);
    }
}

TEST_F(StatTest, MaterialReportCodesReachTheStatementAsValues)
{
    // Two leaf categories whose codes hold a quote and a LIKE wildcard: each lists its own
    // material only.
    exec("insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) "
         "values (9,1,'000''9_',1,0,'引号类',0,0)");
    exec("insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) "
         "values (10,1,'000''9x',1,0,'字母类',0,0)");
    exec("insert into mtrlist (fid,bid,code,mname,mtype,munit) values (7,9,'000''9_','甲料','a','个')");
    exec("insert into mtrlist (fid,bid,code,mname,mtype,munit) values (8,10,'000''9x','乙料','b','个')");
    exec("insert into msrglist (mid,qty,cost,preqty,precost) values (7,1,10,1,10)");
    exec("insert into msrglist (mid,qty,cost,preqty,precost) values (8,2,20,2,20)");
    Tfrmmaterialreport form;
    show(&form);
    form.calsbill->trigger();
    EXPECT_EQ(DialogScript::Texts(), QStringList());
    const QStringList detail = gridrows(form.StringGrid2);
    const qsizetype at = detail.indexOf(QStringLiteral("五、|引号类|||1|10|||||1|10"));
    ASSERT_GE(at, 0) << detail.join(u'\n').toStdString();
    EXPECT_EQ(detail.mid(at, 4), (QStringList{"五、|引号类|||1|10|||||1|10", "1|甲料|a|个|1|10|||||1|10",
                                             "六、|字母类|||2|20|||||2|20", "1|乙料|b|个|2|20|||||2|20"}));
}

TEST_F(StatTest, MaterialReportExportAndPictures)
{
    Tfrmmaterialreport form;
    form.resize(950, 600);
    show(&form);
    form.calsbill->trigger();
    picture(form.StringGrid1, QStringLiteral("stat_material_summary.png"));
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    picture(form.StringGrid2, QStringLiteral("stat_material_detail.png"));
    form.resize(600, 400);
    QApplication::processEvents();
    form.StringGrid2->SetLeftCol(5);
    picture(form.StringGrid2, QStringLiteral("stat_material_detail_scrolled.png"));
    form.resize(950, 600);
    form.PageControl1->setCurrentWidget(form.TabSheet3);
    picture(form.StringGrid3, QStringLiteral("stat_material_stock.png"));

    form.printbill->trigger();
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    ASSERT_EQ(x.sheets.size(), 3);
    EXPECT_EQ(x.sheets[0].name, QStringLiteral("进出存汇总表"));
    EXPECT_EQ(x.sheets[1].name, QStringLiteral("进出存明细表"));
    EXPECT_EQ(x.sheets[2].name, QStringLiteral("库存明细表"));
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("华北建设材料进出存汇总统计报表"));
    EXPECT_EQ(x.text(1, "A1"), QStringLiteral("华北建设材料进出存统计明细表"));
    EXPECT_EQ(x.text(2, "A1"), QStringLiteral("材料库存明细表"));
    // Two header rows under the title: the data start on row 4; the stock list's on row 3.
    EXPECT_EQ(x.text(0, "A4"), QStringLiteral("0.0.0.1"));
    EXPECT_EQ(x.text(0, "J4"), QStringLiteral("53800"));
    EXPECT_EQ(x.text(1, "B7"), QStringLiteral("螺纹钢"));
    EXPECT_EQ(x.text(2, "B3"), QStringLiteral("材料分类"));
    EXPECT_EQ(x.text(2, "F6"), QStringLiteral("45000"));
}

TEST_F(StatTest, HourglassComesBackWhenTheComputationFails)
{
    Tfrmmaterialreport form;
    show(&form);
    exec("drop table premsrglist");
    closedperiod(&form);
    form.calsbill->trigger();
    EXPECT_FALSE(DialogScript::Log().isEmpty());
    EXPECT_EQ(Screen->Cursor(), crDefault);
}
