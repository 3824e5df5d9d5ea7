// The stock query: the current stock of a category's materials, the name filter, the two
// amount boxes, the ledger from a row and the workbook.
#include "query_support.h"

#include "reports/LedgerForm.h"
#include "reports/StockQuery.h"

using namespace querytest;

namespace {

const QStringList kStock{QStringLiteral("mname"), QStringLiteral("qty")};

} // namespace

TEST_F(QueryTest, StockByCategory)
{
    struct Case {
        const char* name;
        int category;
        const char* text;
        bool nozero, zeroqty;
        QStringList expected;
    };
    const Case cases[] = {
        {"root", 1, "", true, false, sorted({"螺纹钢|11", "水泥|12", "钢模板|50", "钢管|150"})},
        {"steel", 2, "", true, false, sorted({"螺纹钢|11"})},
        {"wire, amounts 0 hidden", 8, "", true, false, {}},
        {"wire, all", 8, "", false, false, sorted({"盘圆|0"})},
        {"cement", 3, "", true, false, sorted({"水泥|12"})},
        {"name", 1, "钢", true, false, sorted({"螺纹钢|11", "钢模板|50", "钢管|150"})},
        {"hostile name", 1, "钢'%", true, false, {}},
        {"quantity 0, amount not 0", 1, "", true, true, {}},
    };
    TfrmQueryStorage form;
    show(&form);
    EXPECT_EQ(form.fcode, QStringLiteral("000"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(form.breednodes->setselectnode(c.category));
        form.Edit1->setText(QString::fromUtf8(c.text));
        form.CheckBox1->SetChecked(c.nozero);
        form.CheckBox2->SetChecked(c.zeroqty);
        form.acQuery->trigger();
        EXPECT_EQ(rows(form.adoqry, kStock), c.expected);
        EXPECT_EQ(form.acBillEx->isEnabled(), !c.zeroqty);
    }
    EXPECT_FALSE(form.ToolButton4->isVisible());
}

TEST_F(QueryTest, StockLedgerAndExport)
{
    TfrmQueryStorage form;
    show(&form);
    ASSERT_TRUE(form.breednodes->setselectnode(3));
    form.acQuery->trigger();
    int mid = 0;
    DialogScript::AnswerForm([&](TForm& f) {
        if (auto* ledger = dynamic_cast<Tfrmmtrimexsrg*>(&f))
            mid = ledger->MID();
        return mrCancel;
    });
    form.DBGridGx1DblClick(form.DBGridGx1);
    EXPECT_EQ(mid, int(Cement));

    form.acPrint->trigger();
    ASSERT_EQ(opened.size(), 1);
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("材料库存统计表"));
    EXPECT_EQ(x.text(0, "A3"), QStringLiteral("1"));
    EXPECT_EQ(x.text(0, "B3"), QStringLiteral("水泥"));
    EXPECT_EQ(x.text(0, "E3"), QStringLiteral("12"));
}
