// The stock query's composite dialog: the stock of the open period or of exactly one closed
// period, the category, and the price batches by source with their workbook.
#include "query_support.h"

#include "data/ExcelExport.h"
#include "platform/rtl/IniFile.h"
#include "reports/CompositeStock.h"
#include "reports/StockQuery.h"

#include <QFile>

using namespace querytest;

namespace {

const QStringList kStock{QStringLiteral("mname"), QStringLiteral("qty")};

} // namespace

TEST_F(QueryTest, StockComposite)
{
    struct Case {
        const char* name;
        std::function<void(TfrmQuerySrgdetail&)> fill;
        QStringList expected;
        bool batches = false;
    };
    const Case cases[] = {
        {"open period", [](TfrmQuerySrgdetail&) {}, sorted({"螺纹钢|11", "水泥|12", "钢模板|50", "钢管|150"})},
        {"closed period 0",
         [](TfrmQuerySrgdetail& d) {
             d.CheckBox1->SetChecked(true);
             d.ClientDataSet1.First();
         },
         sorted({"螺纹钢|6", "盘圆|5", "水泥|20", "钢模板|60", "钢管|200"})},
        {"category",
         [](TfrmQuerySrgdetail& d) {
             d.c5.box->SetChecked(true);
             d.c5.code = QStringLiteral("000002");
         },
         sorted({"螺纹钢|11"})},
        {"name", [](TfrmQuerySrgdetail& d) { d.Edit1->setText(QStringLiteral(" 钢' ")); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Tfrmquerybase::conditionfile());
        TfrmQueryStorage form;
        show(&form);
        DialogScript::AnswerForm([&](TForm& f) {
            auto& d = static_cast<TfrmQuerySrgdetail&>(f);
            c.fill(d);
            d.Button1->click();
            return mrOk;
        });
        form.acQueryEx->trigger();
        EXPECT_TRUE(queryok);
        EXPECT_FALSE(form.batchesshown());
        EXPECT_EQ(rows(form.adoqry, kStock), c.expected);
    }
}

TEST_F(QueryTest, PriceBatchesAndTheirWorkbook)
{
    for (const Setting& setting : {kSettings[0], kSettings[2]}) {
        SCOPED_TRACE(setting.name);
        apply(setting);
        const bool overseas = setting.sys == TSystype::overseas;
        QFile::remove(Tfrmquerybase::conditionfile());
        TfrmQueryStorage form;
        show(&form);
        DialogScript::AnswerForm([&](TForm& f) {
            auto& d = static_cast<TfrmQuerySrgdetail&>(f);
            d.c3.box->SetChecked(true);   // the source box alone lists the batches
            d.c3.code = QStringLiteral("000003");
            d.Button1->click();
            return mrOk;
        });
        opened.clear();
        form.acQueryEx->trigger();
        ASSERT_TRUE(querybycf);
        EXPECT_EQ(DialogScript::Texts().filter(QStringLiteral("not found")), QStringList());
        EXPECT_TRUE(form.batchesshown());
        const QStringList batches = rows(form.adoqry, {QStringLiteral("bnum"), QStringLiteral("mname")});
        // The batches of source 3: the receipt's and what the issues drew from them.
        EXPECT_EQ(batches, sorted({"RK1|螺纹钢", "RK1|盘圆", "RK1|钢模板", "RK1|钢管", "CK1|螺纹钢", "CK1|钢模板", "CK2|盘圆",
                                   "CK2|钢管", "CK3|钢模板"}));
        // The first row's values, as the sheet reads them back.
        form.adoqry.First();
        QMap<QString, QString> first;
        for (const char* name : {"bnum", "mname", "cryname"})
            first[QString::fromLatin1(name)] = form.adoqry.FieldByName(QString::fromLatin1(name))->AsString().trimmed();
        for (const char* name : {"qty", "sprice", "dprice", "rsprice", "rdprice"})
            first[QString::fromLatin1(name)] = QString::number(form.adoqry.FieldByName(QString::fromLatin1(name))->AsFloat());
        auto field = [&](const char* name) { return first.value(QString::fromLatin1(name)); };
        form.acPrint->trigger();
        ASSERT_EQ(opened.size(), 1);
        const dpxtest::XlsxBook x = lastbook();
        ASSERT_TRUE(x.ok);
        EXPECT_EQ(x.text(0, "A1"), QStringLiteral("材料库存明细表"));
        // Each field under the head that names it.
        const char* const heads = overseas ? "序号 日期 编号 材料名称 规格型号 单位 数量 币种 单价 复价 备注"
                                           : "序号 日期 编号 材料名称 规格型号 单位 数量 单价 复价 备注";
        const QStringList h = QString::fromUtf8(heads).split(u' ');
        for (int i = 0; i < h.size(); ++i)
            EXPECT_EQ(x.text(0, excelcolname(i + 1) + QStringLiteral("2")), h[i]);
        EXPECT_EQ(x.text(0, "A3"), QStringLiteral("1"));
        EXPECT_EQ(x.text(0, "C3"), field("bnum"));
        EXPECT_EQ(x.text(0, "D3"), field("mname"));
        EXPECT_EQ(x.text(0, "G3"), field("qty"));
        const int price = overseas ? 9 : 8;   // 单价, then 复价
        EXPECT_EQ(x.text(0, excelcolname(price) + QStringLiteral("3")),
                  field(overseas ? "rsprice" : "sprice"));
        EXPECT_EQ(x.text(0, excelcolname(price + 1) + QStringLiteral("3")),
                  field(overseas ? "rdprice" : "dprice"));
        if (overseas) {
            EXPECT_EQ(x.text(0, "H3"), field("cryname"));
        }
        // Every row written, from the number to the remark, bordered in the small font.
        const QString lastrow = QString::number(2 + form.adoqry.RecordCount());
        for (const QString& ref : {QStringLiteral("A3"), excelcolname(int(h.size())) + lastrow}) {
            EXPECT_TRUE(x.style(0, ref).allBorders) << ref.toStdString();
            EXPECT_EQ(x.style(0, ref).fontSize, 10) << ref.toStdString();
        }
        EXPECT_FALSE(x.style(0, excelcolname(int(h.size()) + 1) + lastrow).allBorders);
    }
}

TEST_F(QueryTest, StockDialogKeepsItsConditions)
{
    const QString file = Tfrmquerybase::conditionfile();
    QFile::remove(file);
    auto tick = [](TTreeCondition& c, const char* code, const char* name) {
        c.box->SetChecked(true);
        c.code = QString::fromLatin1(code);
        c.edit->setText(QString::fromUtf8(name));
    };
    {
        TfrmQuerySrgdetail d;
        d.show();
        QApplication::processEvents();
        EXPECT_FALSE(d.CheckBox1->Checked());
        EXPECT_FALSE(d.c7.button->isEnabled());
        d.CheckBox1->SetChecked(true);
        d.ClientDataSet1.Last();
        d.Edit1->setText(QStringLiteral("螺纹'钢"));
        d.Edit2->setText(QStringLiteral("Φ12"));
        tick(d.c7, "000002", "华北钢厂");
        tick(d.c3, "000003", "自购");
        tick(d.c5, "000002", "钢材");
        EXPECT_TRUE(querybycf);
        EXPECT_TRUE(querybysup);
        d.Button2->click();
    }
    {
        // The keys as the file names them; the period chosen is not kept, only the box.
        TIniFile ini(file);
        const QString s = QStringLiteral("srg");
        EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("bcheckcycle"), false));
        EXPECT_EQ(ini.ReadString(s, QStringLiteral("mname"), QString()), QStringLiteral("螺纹'钢"));
        EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("bsupchecked"), false));
        EXPECT_EQ(ini.ReadString(s, QStringLiteral("supname"), QString()), QStringLiteral("华北钢厂"));
        EXPECT_EQ(ini.ReadString(s, QStringLiteral("supid"), QString()), QStringLiteral("000002"));
        EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("bcheckbreed"), false));
        EXPECT_EQ(ini.ReadString(s, QStringLiteral("cfid"), QString()), QStringLiteral("000003"));
        EXPECT_EQ(ini.ReadString(s, QStringLiteral("bid"), QString()), QStringLiteral("000002"));
    }
    querybycf = querybysup = false;
    TfrmQuerySrgdetail d;
    d.show();
    QApplication::processEvents();
    EXPECT_TRUE(d.CheckBox1->Checked());
    EXPECT_TRUE(d.DBGridGx2->isEnabled());
    EXPECT_EQ(d.Edit1->text(), QStringLiteral("螺纹'钢"));
    EXPECT_EQ(d.Edit2->text(), QStringLiteral("Φ12"));
    for (TTreeCondition* c : {&d.c3, &d.c5, &d.c7}) {
        EXPECT_TRUE(c->box->Checked());
        EXPECT_TRUE(c->button->isEnabled());
    }
    EXPECT_EQ(d.c7.code, QStringLiteral("000002"));
    EXPECT_EQ(d.c7.edit->text(), QStringLiteral("华北钢厂"));
    EXPECT_EQ(d.c3.code, QStringLiteral("000003"));
    EXPECT_EQ(d.c5.edit->text(), QStringLiteral("钢材"));
    EXPECT_TRUE(querybycf);
    EXPECT_TRUE(querybysup);
    // Clearing keeps the supplier condition.
    d.Button3->click();
    EXPECT_FALSE(d.CheckBox1->Checked());
    EXPECT_TRUE(d.Edit1->text().isEmpty());
    EXPECT_FALSE(d.c3.box->Checked());
    EXPECT_FALSE(d.c5.box->Checked());
    EXPECT_FALSE(querybycf);
    EXPECT_TRUE(d.c7.box->Checked());
    EXPECT_EQ(d.c7.code, QStringLiteral("000002"));
}
