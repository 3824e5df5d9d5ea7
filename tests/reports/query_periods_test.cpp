// The queries over several closed periods: the books of the query fixture with period 1
// closed as well, a receipt and issues in period 2, closed too, and an issue in the open
// period 3. Chosen periods give exactly their bills, a chosen period its own stock, and the
// ledger steps through every period.
#include "query_support.h"

#include "reports/CompositeStock.h"
#include "reports/LedgerForm.h"
#include "reports/QueryBills.h"
#include "reports/StockQuery.h"

#include <QFile>

using namespace querytest;

namespace {

const QStringList kDetail{QStringLiteral("billnum"), QStringLiteral("mname"), QStringLiteral("qty")};

class PeriodsTest : public QueryTest {
protected:
    void SetUp() override
    {
        QueryTest::SetUp();
        if (HasFatalFailure())
            return;
        close("2024-12-01", "2024-12-31", "2025-01-01");
        ASSERT_EQ(curpid, 2);
        inbill(5, "2025-01-06", 2, 3, {{Cement, 10, 410}});
        outbill(5, "2025-01-08", 2, 3, {{Cement, 12, 400}, {Tube, 20, 10}});
        close("2025-01-01", "2025-01-31", "2025-02-01");
        ASSERT_EQ(curpid, 3);
        outbill(6, "2025-02-03", 3, 2, {{Formwork, 5, 50}});
        QFile::remove(Tfrmquerybase::conditionfile());
    }

    void close(const char* from, const char* to, const char* next)
    {
        ASSERT_TRUE(dm->billbalance(day(from), day(to), day(next))) << DialogScript::Texts().join(u'\n').toStdString();
    }
};

} // namespace

TEST_F(PeriodsTest, ChosenPeriodsGiveExactlyTheirBills)
{
    const QStringList ck1 = sorted({"CK1|螺纹钢|4", "CK1|钢模板|40"});
    const QStringList ck23 = sorted({"CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50", "CK3|钢模板|10"});
    const QStringList ck5 = sorted({"CK5|水泥|12", "CK5|钢管|20"});
    const QStringList ck6 = sorted({"CK6|钢模板|5"});
    const QStringList rk12 = sorted({"RK1|螺纹钢|10", "RK1|盘圆|5", "RK1|钢模板|100", "RK1|钢管|200", "RK2|水泥|20"});
    auto join = [](std::initializer_list<QStringList> parts) {
        QStringList out;
        for (const QStringList& p : parts)
            out << p;
        out.sort();
        return out;
    };
    struct Case {
        bool stockin;
        QList<int> periods;
        QStringList expected;
    };
    const Case cases[] = {
        {false, {1}, ck23},
        {false, {2}, ck5},
        {false, {1, 2}, join({ck23, ck5})},
        {false, {0, 2}, join({ck1, ck5})},
        {false, {0, 1, 2}, join({ck1, ck23, ck5})},
        {false, {2, 3}, join({ck5, ck6})},
        {true, {1, 2}, sorted({"RK3|螺纹钢|5", "RK5|水泥|10"})},
        {true, {0, 2}, join({rk12, sorted({"RK5|水泥|10"})})},
        {true, {3}, {}},
    };
    for (const Case& c : cases) {
        QStringList pids;
        for (int p : c.periods)
            pids << QString::number(p);
        SCOPED_TRACE((c.stockin ? "in " : "out ") + pids.join(u',').toStdString());
        Tfrmquerybill form(nullptr, c.stockin);
        show(&form);
        int listed = 0;
        DialogScript::AnswerForm([&](TForm& f) {
            auto& d = dynamic_cast<Tfrmquerydetail&>(f);
            selectperiods(d, c.periods);
            listed = d.ClientDataSet1.RecordCount();
            d.Button1->click();
            return mrOk;
        });
        form.acQueryEx->trigger();
        EXPECT_EQ(listed, 4);   // periods 0, 1 and 2 closed, 3 open
        EXPECT_EQ(rows(form.adoqry, kDetail), c.expected);
    }
}

TEST_F(PeriodsTest, AChosenPeriodShowsItsOwnStock)
{
    const QStringList stock{QStringLiteral("mname"), QStringLiteral("qty")};
    struct Case {
        int pid;
        QStringList expected;
    };
    const Case cases[] = {
        {0, sorted({"螺纹钢|6", "盘圆|5", "水泥|20", "钢模板|60", "钢管|200"})},
        {1, sorted({"螺纹钢|11", "水泥|12", "钢模板|50", "钢管|150"})},
        {2, sorted({"螺纹钢|11", "水泥|10", "钢模板|50", "钢管|130"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pid);
        TfrmQueryStorage form;
        show(&form);
        DialogScript::AnswerForm([&](TForm& f) {
            auto& d = dynamic_cast<TfrmQuerySrgdetail&>(f);
            d.CheckBox1->SetChecked(true);
            EXPECT_EQ(d.ClientDataSet1.RecordCount(), 3);
            EXPECT_TRUE(d.ClientDataSet1.Locate(QStringLiteral("pid"), Variant(c.pid), {}));
            d.Button1->click();
            return mrOk;
        });
        form.acQueryEx->trigger();
        EXPECT_EQ(rows(form.adoqry, stock), c.expected);
    }
}

TEST_F(PeriodsTest, LedgerStepsThroughEveryPeriod)
{
    Tfrmqueryexbill form;
    show(&form);
    form.acQuery->trigger();   // posted issues of the open period: CK6, formwork
    const QStringList kLedger{QStringLiteral("bnum"), QStringLiteral("iqty"), QStringLiteral("eqty")};
    // The rows of each period: the carry-over row (no bill number) from period 1 on.
    const QStringList byperiod[] = {sorted({"RK1|100|0", "CK1|0|40"}), sorted({"|0|0", "CK3|0|10"}), sorted({"|0|0"}),
                                    sorted({"|0|0", "CK6|0|5"})};
    DialogScript::AnswerForm([&](TForm& f) {
        auto& ledger = dynamic_cast<Tfrmmtrimexsrg&>(f);
        EXPECT_EQ(ledger.MID(), int(Formwork));
        EXPECT_EQ(ledger.Edit6->text(), QStringLiteral("45"));
        EXPECT_EQ(ledger.Pid(), 3);
        EXPECT_EQ(rows(ledger.cdsinfo, kLedger), byperiod[3]);
        for (int pid : {2, 1, 0, 0}) {
            ledger.ToolButton2->click();
            EXPECT_EQ(ledger.Pid(), pid);
            EXPECT_EQ(rows(ledger.cdsinfo, kLedger), byperiod[pid]);
        }
        for (int pid : {1, 2, 3, 3}) {
            ledger.ToolButton3->click();
            EXPECT_EQ(ledger.Pid(), pid);
            EXPECT_EQ(rows(ledger.cdsinfo, kLedger), byperiod[pid]);
        }
        return mrCancel;
    });
    form.acBillEx->trigger();
    EXPECT_EQ(DialogScript::PendingAnswers(), 0);
}

TEST_F(PeriodsTest, PeriodsPickedByCtrlClicksInTheGrid)
{
    Tfrmqueryexbill form;
    show(&form);
    DialogScript::AnswerForm([&](TForm& f) {
        auto& d = dynamic_cast<Tfrmquerydetail&>(f);
        QTest::mouseClick(d.CheckBox1, Qt::LeftButton, {}, QPoint(8, d.CheckBox1->height() / 2));   // on the box
        QApplication::processEvents();
        EXPECT_TRUE(d.DBGridGx2->isEnabled());
        TDBGridGx* grid = d.DBGridGx2;
        // Closed periods 0 and 2: the first and the third row.
        for (int k : {0, 2}) {
            const TRect r = grid->CellRect(1, grid->TopRow() + k);
            QTest::mouseClick(grid, Qt::LeftButton, Qt::ControlModifier,
                              QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
            QApplication::processEvents();
        }
        EXPECT_EQ(grid->SelectedRows()->Count(), 2);
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        return mrOk;
    });
    QTest::mouseClick(form.ToolButton2, Qt::LeftButton);
    EXPECT_TRUE(queryok);
    EXPECT_EQ(rows(form.adoqry, kDetail), sorted({"CK1|螺纹钢|4", "CK1|钢模板|40", "CK5|水泥|12", "CK5|钢管|20"}));
}
