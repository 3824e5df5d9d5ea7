// The sample account set of the build (backdata/materialdbsample): restored like any backup, it
// holds a closed October and an open November whose books add up.
#include "close_fixture.h"

#include <QFileInfo>

using namespace closetest;

class SampleTest : public CloseTest {
protected:
    void SetUp() override
    {
        CloseTest::SetUp();
        if (HasFatalFailure())
            return;
        const QString backup = dpxtest::sampleFile();
        ASSERT_TRUE(QFileInfo::exists(backup));
        ASSERT_EQ(run(restoreStatement(QStringLiteral("smp"), backup)), QString());
        ASSERT_EQ(run(QStringLiteral("Use smp")), QString());
        dbname = QStringLiteral("smp");
        curpid = dm->GetID(QStringLiteral("pid"));
    }
};

TEST_F(SampleTest, OneClosedPeriodAndPostedBills)
{
    EXPECT_EQ(curpid, 1);
    const struct {
        const char* sql;
        const char* expected;
    } cases[] = {
        {"select pid,crtdate,enddate from periodlist", "0|2024-10-01|2024-10-31"},
        {"select periodid,crtdate from currentpid", "1|2024-11-01"},
        {"select ivalue from systemset where name='monthid'", "11"},
        {"select count(*) from userpw where isadmin=1", "1"},
        {"select pid,count(*),sum(cast(brecorded as int)) from ibmaster group by pid order by pid", "0|8|8\n1|6|5"},
        {"select pid,count(*),sum(cast(brecorded as int)) from ebmaster group by pid order by pid", "0|7|7\n1|6|5"},
        {"select count(distinct pricemodal) from breedlist where fid>1", "3"},
        {"select count(*) from breedlist where breedtype=1", "1"},
        {"select count(*) from premsrglist where pid=0", "9"},
        {"select count(*) from imexsrglist where pid=1 and comment='期末结转'", "9"},
        {"select count(*) from cyldetaillist where remark='上月结存'", "3"},
        // Stock equals the new period's opening plus its posted receipts less its issues.
        {"select count(*) from msrglist m where qty <> preqty + (select isnull(sum(isnull(iqty,0)-isnull(eqty,0)),0) "
         "from imexsrglist l where l.mid=m.mid and l.pid=1 and l.comment<>'期末结转')",
         "0"},
        // Price lots hold the stock of the price-lot categories.
        {"select count(*) from msrglist m,mtrlist t,breedlist b where m.mid=t.fid and t.bid=b.fid and b.pricemodal=0 "
         "and m.qty <> (select sum(qty) from mrplist p where p.mid=m.mid)",
         "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rows(QString::fromUtf8(c.sql)), QString::fromUtf8(c.expected)) << c.sql;
}

TEST_F(SampleTest, ClosedPeriodStatisticsMatchTheSnapshotAndOpenTheNextPeriod)
{
    for (int m = 1; m <= 9; ++m) {
        double n0 = -1, c0 = -1, n1 = -1, c1 = -1;
        dm->Getmtrendnumcost(n0, c0, 0, m);
        dm->Getmtrinitnumcost(n1, c1, 1, m);
        EXPECT_EQ(rows(QStringLiteral("select qty,cost from premsrglist where pid=0 and mid=%1").arg(m)),
                  QStringLiteral("%1|%2").arg(n0, 0, 'g', 15).arg(c0, 0, 'g', 15))
            << m;
        EXPECT_DOUBLE_EQ(n1, n0) << m;
        EXPECT_DOUBLE_EQ(c1, c0) << m;
        // Opening + receipts - issues of October = its closing.
        double ni, ci, ne, ce, np, cp;
        dm->Getmtrinitnumcost(np, cp, 0, m);
        dm->Getmtrinnumcost(ni, ci, 0, m);
        dm->Getmtrexnumcost(ne, ce, 0, m);
        EXPECT_NEAR(np + ni - ne, n0, 1e-9) << m;
        EXPECT_NEAR(cp + ci - ce, c0, 0.005 * 4) << m;
    }
}

// The sample's settings are ones the forms know: receipts with a unit price and an amount per
// line (the stock-in layout the settings form shows as "成品型入库单"), and its lines are so.
TEST_F(SampleTest, SettingsMatchTheBillsLayout)
{
    EXPECT_EQ(rows(QStringLiteral("select ivalue from systemset where name='imbilltype'")), QStringLiteral("0"));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from ibdetail where dprice <> round(qty*sprice, 2)")), QStringLiteral("0"));
}

// Every bill of the open period holds the pool slot its number was made from, so the next bill
// of a category gets a number no bill has yet.
TEST_F(SampleTest, BillsAreNumberedThroughThePool)
{
    const struct {
        const char* table;
        const char* column;
    } kinds[] = {{"ibmaster", "imA3"}, {"ebmaster", "exA3"}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.table);
        const QString table = QString::fromLatin1(k.table);
        const QString column = QString::fromLatin1(k.column);
        const QStringList bills =
            rows(QStringLiteral("select billnum,bcodeid,bcode from %1 where pid=1 order by fid").arg(table)).split(u'\n');
        ASSERT_EQ(bills.size(), 6);
        QStringList numbers;
        for (const QString& b : bills) {
            const QStringList f = b.split(u'|');
            ASSERT_EQ(f.size(), 3) << b.toStdString();
            EXPECT_EQ(f[0], QStringLiteral("主材 11-") + f[1]);
            EXPECT_EQ(f[2], column);
            EXPECT_EQ(rows(QStringLiteral("select %1 from billtypelist where fid=%2").arg(column, f[1])), QStringLiteral("1"))
                << b.toStdString();
            numbers << f[0];
        }
        numbers.removeDuplicates();
        EXPECT_EQ(numbers.size(), bills.size());
        // The next reservation, as a bill form makes it.
        const int slot = dm->getbillcodeid(column);
        const QString next = QStringLiteral("主材 11-%1").arg(dm->getbillcodebnum(QStringLiteral("A3"), table == QLatin1String("ebmaster")) + slot - 1);
        EXPECT_GT(slot, 0);
        EXPECT_FALSE(numbers.contains(next)) << next.toStdString();
    }
}
