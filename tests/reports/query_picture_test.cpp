// A picture of a composite stock-out query over both periods with its footer sums.
#include "query_support.h"

#include "reports/CompositeQuery.h"
#include "reports/QueryBills.h"

using namespace querytest;

TEST_F(QueryTest, CompositeStockOutPicture)
{
    Tfrmqueryexbill form;
    form.resize(950, 600);
    show(&form);
    DialogScript::AnswerForm([](TForm& f) {
        auto& d = static_cast<Tfrmquerydetail&>(f);
        d.CheckBox1->SetChecked(false);
        d.Button1->click();
        return mrOk;
    });
    form.acQueryEx->trigger();
    ASSERT_TRUE(queryok);
    EXPECT_EQ(form.adoqry.RecordCount(), 6);
    picture(&form, QStringLiteral("query_composite_stockout.png"));
}
