// A clerk's month through the forms: three receipts, two issues drawn with the batch picker, a
// return each way through the return pickers, every bill audited, and the period closed.
#include "exbill_support.h"

#include "app/CloseAccountForm.h"
#include "app/ExPicker.h"
#include "app/ExReturnPicker.h"
#include "app/ReturnPicker.h"

TEST_F(ExBillTest, AClerksMonthThroughTheForms)
{
    for (const char* t : {"mrplist", "msrglist", "maplist"})
        X(QStringLiteral("delete from ") + QString::fromLatin1(t));
    auto receipt = [&](std::initializer_list<std::tuple<int, double, double>> lines) {
        auto bill = OpenBill();
        FillHead(*bill);
        for (const auto& [mid, qty, price] : lines)
            AddLine(*bill, mid, qty, price);
        bill->acSaveExecute();
        bill->acAuditingExecute();
        EXPECT_EQ(bill->btnState(), 7);
    };
    receipt({{7, 10, 3.5}, {8, 12, 2.5}});
    receipt({{7, 6, 4}});
    receipt({{8, 8, 3}});

    // Issues: 4 of the first steel batch and the whole cement; then the whole second batch.
    auto issue = [&](std::function<void(Tfrmexdetail&)> pick) {
        auto bill = OpenExBill();
        FillExHead(*bill);
        DialogScript::AnswerForm([&](TForm& f) {
            pick(dynamic_cast<Tfrmexdetail&>(f));
            return mrOk;
        });
        bill->btlistaddClick();
        bill->acSaveExecute();
        bill->acAuditingExecute();
        EXPECT_EQ(bill->btnState(), 7);
    };
    auto steel = [&](Tfrmexdetail& p, const char* bnum) {
        ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
        p.DBGridGx1DblClick();
        p.cdsbaseinfo.Locate(QStringLiteral("bnum"), Variant(QString::fromUtf8(bnum)), {});
        p.DBGridGx2DblClick();
    };
    issue([&](Tfrmexdetail& p) {
        steel(p, "A 11-1");
        TDataSet* d = p.detailsource()->DataSet();
        d->FieldByName(QStringLiteral("qty"))->SetAsFloat(4);
        ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("水泥")));
        p.DBGridGx1DblClick();
    });
    issue([&](Tfrmexdetail& p) { steel(p, "A 11-2"); });

    // The unit gives back the 4 steel of the first issue.
    {
        auto back = OpenExBill();
        FillExHead(*back);
        back->cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(true);
        back->DBCheckBox1->SetChecked(true);
        DialogScript::AnswerForm([&](TForm& f) {
            auto& p = dynamic_cast<Tfrmexdetail_R&>(f);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
            p.cdsbaseinfo.First();
            p.DBGridGx1DblClick();
            return mrOk;
        });
        back->btlistaddClick();
        back->acSaveExecute();
        back->acAuditingExecute();
        EXPECT_EQ(back->btnState(), 7);
    }
    // The supplier takes back the cement of the third receipt.
    {
        auto back = OpenBill();
        FillHead(*back);
        back->cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(true);
        DialogScript::AnswerForm([&](TForm& f) {
            auto& p = dynamic_cast<Tfrmimdetail_R&>(f);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("水泥")));
            p.cdsbaseinfo.Last();
            p.DBGridGx1DblClick();
            return mrNo;
        });
        back->btlistaddClick();
        back->acSaveExecute();
        back->acAuditingExecute();
        EXPECT_EQ(back->btnState(), 7);
    }
    Tfrmbalance close;
    close.show();
    close.DateTimePicker1->setDate(QDate(2024, 11, 30));
    DialogScript::ClearLog();
    close.Button1->Click();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("材料扎帐成功！")});

    // Steel: 16 received at 59, 10 issued at 38, 4 back at 14: 10 at 35, all in the first batch.
    // Cement: 20 received at 54, all issued, 8 sent back at 24.
    EXPECT_EQ(Q(QStringLiteral("select mid,qty,cost from msrglist order by mid")),
              (QStringList{QStringLiteral("7|10|35"), QStringLiteral("8|-8|-24")}));
    EXPECT_EQ(Q(QStringLiteral("select mid,bnum,qty,dprice,block from mrplist where mid=7 order by fid")),
              (QStringList{QStringLiteral("7|A 11-1|10|35|0"), QStringLiteral("7|A 11-2|0|0|0")}));
    EXPECT_EQ(Q(QStringLiteral("select mid,sum(iqty),sum(idprice),sum(eqty),sum(edprice) from imexsrglist group by mid order by mid")),
              (QStringList{QStringLiteral("7|16|59|6|24"), QStringLiteral("8|12|30|20|54")}));
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebmaster where brecorded=1")), QStringList{QStringLiteral("3")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ibmaster where brecorded=1")), QStringList{QStringLiteral("4")});
}
