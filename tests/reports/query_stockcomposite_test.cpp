// The stock query's composite dialog: the stock of the open period or of exactly one closed
// period, the category, and the price batches by source with their workbook.
#include "query_support.h"

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
    form.acQueryEx->trigger();
    ASSERT_TRUE(querybycf);
    EXPECT_EQ(DialogScript::Texts().filter(QStringLiteral("not found")), QStringList());
    EXPECT_TRUE(form.batchesshown());
    const QStringList batches = rows(form.adoqry, {QStringLiteral("bnum"), QStringLiteral("mname")});
    // The batches of source 3: the receipt's and what the issues drew from them.
    EXPECT_EQ(batches, sorted({"RK1|螺纹钢", "RK1|盘圆", "RK1|钢模板", "RK1|钢管", "CK1|螺纹钢", "CK1|钢模板", "CK2|盘圆",
                               "CK2|钢管", "CK3|钢模板"}));
    form.adoqry.First();
    const QString bnum = form.adoqry.FieldByName(QStringLiteral("bnum"))->AsString().trimmed();
    const QString mname = form.adoqry.FieldByName(QStringLiteral("mname"))->AsString().trimmed();
    form.acPrint->trigger();
    ASSERT_EQ(opened.size(), 1);
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("材料库存明细表"));
    EXPECT_EQ(x.text(0, "C2"), QStringLiteral("编号"));
    EXPECT_EQ(x.text(0, "D2"), QStringLiteral("材料名称"));
    EXPECT_EQ(x.text(0, "A3"), QStringLiteral("1"));
    EXPECT_EQ(x.text(0, "C3"), bnum);
    EXPECT_EQ(x.text(0, "D3"), mname);
}
