// The material ledger opened from a query line: its rows by period and for all periods, the
// stepping bounds, the header with the current stock, the footer sums and the workbook.
#include "query_support.h"

#include "reports/LedgerForm.h"
#include "reports/QueryBills.h"
#include "testmain/gridfit.h"

using namespace querytest;

namespace {

const QStringList kLedger{QStringLiteral("bnum"), QStringLiteral("iqty"), QStringLiteral("eqty")};

// The ledger grid's footer row as the grid shows it, column by column from the date to the
// remark, joined by "|".
QString footers(Tfrmmtrimexsrg& f)
{
    QStringList cells;
    TDBGridGx* grid = f.CdataGrid1;
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        cells << grid->GetFooterValue(0, grid->Columns()->Items(i));
    return cells.join(u'|');
}

} // namespace

TEST_F(QueryTest, LedgerFromAQueryLine)
{
    Tfrmqueryimbill form;
    show(&form);
    form.acQuery->trigger();   // posted receipts of the open period: RK3, rebar
    bool shown = false;
    DialogScript::AnswerForm([&](TForm& f) {
        auto* ledger = dynamic_cast<Tfrmmtrimexsrg*>(&f);
        shown = ledger != nullptr;
        if (!ledger)
            return mrCancel;
        EXPECT_EQ(ledger->MID(), int(Rebar));
        EXPECT_EQ(ledger->Pid(), 1);
        EXPECT_EQ(rows(ledger->cdsinfo, kLedger), sorted({"RK3|5|0", "|0|0"}));   // with the carry-over row
        // The header shows the current stock whichever period the rows are of.
        EXPECT_EQ(ledger->Edit2->text(), QStringLiteral("螺纹钢"));
        EXPECT_EQ(ledger->Edit3->text(), QStringLiteral("Φ12"));
        EXPECT_EQ(ledger->Edit4->text(), QStringLiteral("吨"));
        EXPECT_EQ(ledger->Edit6->text(), QStringLiteral("11"));

        EXPECT_EQ(ledger->Edit7->text(), QStringLiteral("45000"));
        // Footers: the sums of receipts and issues of the rows shown, no balance sums.
        EXPECT_EQ(footers(*ledger), QStringLiteral("小计||||5||21000|0||0|||"));

        // Stepping back reaches period 0 (the first closed one) and stops there.
        const QStringList period0 = sorted({"CK1|0|4", "RK1|10|0"});
        ledger->ToolButton2->click();
        EXPECT_EQ(ledger->Pid(), 0);
        EXPECT_EQ(rows(ledger->cdsinfo, kLedger), period0);
        EXPECT_EQ(footers(*ledger), QStringLiteral("小计||||10||40000|4||16000|||"));
        // The header keeps the current stock.
        EXPECT_EQ(ledger->Edit6->text(), QStringLiteral("11"));
        EXPECT_EQ(ledger->Edit7->text(), QStringLiteral("45000"));
        ledger->ToolButton2->click();
        EXPECT_EQ(ledger->Pid(), 0);
        EXPECT_EQ(rows(ledger->cdsinfo, kLedger), period0);
        ledger->ToolButton3->click();
        ledger->ToolButton3->click();
        EXPECT_EQ(ledger->Pid(), 1);
        EXPECT_EQ(rows(ledger->cdsinfo, kLedger), sorted({"RK3|5|0", "|0|0"}));   // with the carry-over row

        // All periods, in posting order.
        ledger->CheckBox1->SetChecked(true);
        QStringList order;
        for (ledger->cdsinfo.First(); !ledger->cdsinfo.Eof(); ledger->cdsinfo.Next())
            order << ledger->cdsinfo.FieldByName(QStringLiteral("bnum"))->AsString().trimmed();
        EXPECT_EQ(order, (QStringList{QStringLiteral("RK1"), QStringLiteral("CK1"), QString(), QStringLiteral("RK3")}));
        // One result row: stepping in either direction reloads the same material.
        ledger->ToolButton3->click();
        EXPECT_EQ(ledger->MID(), int(Rebar));
        EXPECT_EQ(ledger->cdsinfo.RecordCount(), 4);

        // The workbook: head, then the rows in the grid's order from row 5.
        ledger->ToolButton1->click();
        return mrCancel;
    });
    form.acBillEx->trigger();
    EXPECT_TRUE(shown);
    ASSERT_EQ(opened.size(), 1);
    const dpxtest::XlsxBook x = lastbook();
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(x.sheets[0].name, QStringLiteral("材料分级分户明细帐"));
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("材 料 分 级 分 户 明 细 帐"));
    EXPECT_EQ(x.text(0, "B2"), QStringLiteral("螺纹钢"));
    EXPECT_EQ(x.text(0, "B3"), QStringLiteral("凭证编号"));
    EXPECT_EQ(x.text(0, "B5"), QStringLiteral("RK1"));   // under "凭证编号"
    EXPECT_EQ(x.text(0, "E5"), QStringLiteral("10"));    // under "收入|数量"
    EXPECT_EQ(x.text(0, "H6"), QStringLiteral("4"));     // under "支出|数量"
}

TEST_F(QueryTest, LedgerOfAMaterialWithoutStock)
{
    Tfrmmtrimexsrg ledger;
    ledger.showMtrimexsrg(7, 1);
    EXPECT_TRUE(ledger.Edit2->text().isEmpty());
    EXPECT_EQ(ledger.Edit6->text(), QStringLiteral("0"));
    EXPECT_EQ(ledger.cdsinfo.RecordCount(), 0);
    // Without a query result the stepping does nothing.
    ledger.ToolButton3->click();
    EXPECT_EQ(ledger.Pid(), curpid);
}

TEST_F(QueryTest, LedgerStepsThroughTheQueryRowsWithAllPeriods)
{
    Tfrmqueryexbill form;
    show(&form);
    form.acQuery->trigger();   // posted issues of the open period, four lines
    QList<int> mids;
    QStringList names;
    for (form.adoqry.First(); !form.adoqry.Eof(); form.adoqry.Next()) {
        mids << form.adoqry.FieldByName(QStringLiteral("mid"))->AsInteger();
        names << form.adoqry.FieldByName(QStringLiteral("mname"))->AsString().trimmed();
    }
    ASSERT_EQ(mids.size(), 4);
    form.adoqry.First();
    DialogScript::AnswerForm([&](TForm& f) {
        auto& ledger = dynamic_cast<Tfrmmtrimexsrg&>(f);
        EXPECT_EQ(ledger.MID(), mids[0]);
        ledger.CheckBox1->SetChecked(true);
        // Back at the first row: the same material again.
        ledger.ToolButton2->click();
        EXPECT_EQ(ledger.MID(), mids[0]);
        // Forward through the rows, and past the last one the last material stays.
        for (int i : {1, 2, 3, 3}) {
            ledger.ToolButton3->click();
            EXPECT_EQ(ledger.MID(), mids[i]);
            EXPECT_EQ(ledger.Edit2->text(), names[i]);
            // Every row is of that material, from every period.
            for (ledger.cdsinfo.First(); !ledger.cdsinfo.Eof(); ledger.cdsinfo.Next())
                EXPECT_EQ(ledger.cdsinfo.FieldByName(QStringLiteral("mid"))->AsInteger(), mids[i]);
        }
        ledger.ToolButton2->click();
        EXPECT_EQ(ledger.MID(), mids[2]);
        return mrCancel;
    });
    form.acBillEx->trigger();
    EXPECT_EQ(DialogScript::PendingAnswers(), 0);
}

TEST_F(QueryTest, LedgerShowsDatesAndSixDigitFiguresWhole)
{
    // A busy month of a material: six-digit quantities, seven-digit balances, the texts as long as
    // the designed widths hold in the original font.
    for (int i = 1; i <= 3; ++i)
        exec(QStringLiteral("insert into imexsrglist (pid,mid,iid,eid,bdate,comment,dptprj,bnum,iqty,isprice,idprice,"
                            "eqty,esprice,edprice,srgqty,srgcost,remark) values (1,%1,%2,0,'2024-12-%3','入库',"
                            "'华北钢厂','A 12-%3',104000,4.25,442000,0,0,0,%4,%5,'')")
                 .arg(int(Wire))
                 .arg(100 + i)
                 .arg(i + 20)
                 .arg(104000 * i)
                 .arg(442000 * i));
    Tfrmmtrimexsrg ledger;
    show(&ledger);
    ledger.showMtrimexsrg(int(Wire), 1);
    QApplication::processEvents();
    ASSERT_GE(ledger.cdsinfo.RecordCount(), 3);
    EXPECT_EQ(dpxtest::CutTexts(ledger.CdataGrid1, {"bdate", "bnum", "iqty", "isprice", "idprice", "srgqty", "srgcost"})
                  .join(QLatin1Char('|'))
                  .toStdString(),
              "");
    ASSERT_TRUE(ledger.grab().save(dpxtest::artifactsDir() + QStringLiteral("/ledger_widths.png")));
}
