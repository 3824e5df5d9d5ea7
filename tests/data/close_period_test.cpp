// The period close on a real account set: what it writes into every table, the month number
// and bill-number pool of the form's sequence, and that any failure leaves every table as it was.
#include "close_fixture.h"
#include "DataProcess.h"
#include "platform/db/ClientDataSet.h"

#include <QDate>

using namespace closetest;

namespace {

QString today() { return QDate::currentDate().toString(Qt::ISODate); }

} // namespace

TEST_F(CloseTest, ClosingWritesSnapshotsCarryOverAndOpensTheNextPeriod)
{
    exec(kBooks);
    ASSERT_TRUE(closeperiod());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
    EXPECT_EQ(curpid, 1);

    const struct {
        const char* sql;
        QString expected;
    } cases[] = {
        {"select ID from IDlist where IDname='PID'", "1"},
        {"select periodid,crtdate from currentpid", "1|2024-12-01"},
        {"select pid,crtdate,enddate from periodlist", "0|2024-11-01|2024-11-30"},
        // The stock as it was at the close, under the closed period.
        {"select pid,mid,qty,cost,preqty,precost from premsrglist order by mid",
         "0|1|10|125|2|20\n0|2|4.5|90|0|0\n0|3|6|300|8|400\n0|4|0|0|3|30"},
        // Current values become the opening values of the new period.
        {"select mid,qty,cost,preqty,precost from msrglist order by mid",
         "1|10|125|10|125\n2|4.5|90|4.5|90\n3|6|300|6|300\n4|0|0|0|0"},
        // One opening ledger row per stock row (also at quantity 0), dated the day the close runs.
        {"select pid,Mid,bdate,comment,srgqty,srgcost,iid,eid from imexsrglist order by fid",
         QStringList{"1|1|%1|期末结转|10|125|NULL|NULL", "1|2|%1|期末结转|4.5|90|NULL|NULL",
                     "1|3|%1|期末结转|6|300|NULL|NULL", "1|4|%1|期末结转|0|0|NULL|NULL"}
             .join(u'\n')
             .arg(today())},
        {"select pid,mid,qty,cost,srgqty,srgcost,eqty,ecost from precyldb", "0|3|14|700|6|300|8|400"},
        {"select pid,dptid,mid,qty,cost from precyldptlist order by dptid", "0|2|3|5|250\n0|9|3|3|150"},
        {"select pid,dptid,mid,crtdate,enddate,qty,cost,remark from precyldetaillist order by fid",
         "0|2|3|2024-11-05|2024-11-30|2|100|a\n0|2|3|2024-11-09|2024-11-30|3|150|b\n"
         "0|9|3|2024-11-10|2024-11-30|3|150|c\n0|3|3|2024-01-10|2024-11-30|1|50|old"},
        // Issues regrouped per unit and material, also for unit 9 that is no longer in the unit
        // list; the row of an older period is gone.
        {"select eid,pid,dptid,mid,crtdate,qty,cost,remark from cyldetaillist order by dptid",
         "NULL|1|2|3|2024-12-01|5|250|上月结存\nNULL|1|9|3|2024-12-01|3|150|上月结存"},
        // The number pool is rebuilt empty from the category codes.
        {"select count(*) from billtypelist", "0"},
        {"select count(*) from sqlite_master where name='billtypelist' and sql like '%imA3%exA3%imA4%exA4%'"
         " and sql not like '%A13%'",
         "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rows(QString::fromUtf8(c.sql)), c.expected) << c.sql;
}

TEST_F(CloseTest, SecondCloseRegroupsTheCarriedRowsAgain)
{
    exec(kBooks);
    ASSERT_TRUE(closeperiod());
    ASSERT_EQ(run(QStringLiteral("insert into cyldetaillist (eid,pid,mid,dptid,crtdate,qty,cost,remark) "
                                 "values (21,1,3,2,'2024-12-03',1,50,'d')")),
              QString());
    ASSERT_TRUE(closeperiod("2024-12-01", "2024-12-31", "2025-01-01"));
    EXPECT_EQ(curpid, 2);
    EXPECT_EQ(rows(QStringLiteral("select pid,crtdate,enddate from periodlist order by fid")),
              "0|2024-11-01|2024-11-30\n1|2024-12-01|2024-12-31");
    EXPECT_EQ(rows(QStringLiteral("select pid,dptid,mid,crtdate,qty,cost,remark from cyldetaillist order by dptid")),
              "2|2|3|2025-01-01|6|300|上月结存\n2|9|3|2025-01-01|3|150|上月结存");
    EXPECT_EQ(rows(QStringLiteral("select count(*) from premsrglist where pid=1")), "4");
    EXPECT_EQ(rows(QStringLiteral("select count(*) from imexsrglist where pid=2")), "4");
}

TEST_F(CloseTest, AccountSetWithoutStockOrTurnoverRowsCloses)
{
    ASSERT_TRUE(closeperiod());
    EXPECT_EQ(curpid, 1);
    EXPECT_EQ(rows(QStringLiteral("select periodid from currentpid")), "1");
    EXPECT_EQ(rows(QStringLiteral("select count(*) from imexsrglist")), "0");
}

// The period-close form's sequence: the open period's start from currentpid, the close, then the
// month number advanced (December wraps to January) and the bill numbers restarting.
TEST_F(CloseTest, FormSequenceWrapsTheMonthAndRestartsBillNumbers)
{
    exec(kBooks);
    ASSERT_EQ(run(QStringLiteral("update systemset set ivalue=12 where name='monthid'")), QString());
    monthid = dm->getsystemvalue(QStringLiteral("monthid"));
    ASSERT_EQ(monthid, 12);
    ASSERT_TRUE(dm->Addnewcodeidline(QStringLiteral("imA3")));
    ASSERT_EQ(dm->getbillcodeid(QStringLiteral("imA3")), 1);
    ASSERT_EQ(dm->getbillcodeid(QStringLiteral("imA3")), 2);

    TClientDataSet cdstemp;
    cdstemp.SetData(dm->gettabledata(QStringLiteral("currentpid"), QStringLiteral("periodid"), QStringLiteral("1=1"), 20));
    ASSERT_FALSE(cdstemp.IsEmpty());
    cdstemp.First();
    const TDateTime pbdate = cdstemp.FieldByName(QStringLiteral("crtdate"))->AsDateTime();
    const TDateTime pedate(pbdate.Value + 29);
    ASSERT_TRUE(dm->billbalance(pbdate, pedate, TDateTime(pedate.Value + 1)));
    monthid = monthid + 1;
    if (monthid == 13)
        monthid = 1;
    dm->setsystemid(QStringLiteral("monthid"), monthid);

    EXPECT_EQ(rows(QStringLiteral("select ivalue from systemset where name='monthid'")), "1");
    EXPECT_EQ(rows(QStringLiteral("select pid,crtdate,enddate from periodlist")), "0|2024-11-01|2024-11-30");
    EXPECT_EQ(rows(QStringLiteral("select periodid,crtdate from currentpid")), "1|2024-12-01");
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("imA3")), 0);
    ASSERT_TRUE(dm->Addnewcodeidline(QStringLiteral("imA3")));
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("imA3")), 1);
}

// A close that fails at any statement, read or write, leaves every table and the open period as
// they were; a close without the failure then succeeds.
TEST_F(CloseTest, FailureAtEveryStepLeavesEveryTableAsItWas)
{
    exec(kBooks);
    const QStringList before = books();
    int failures = 0;
    QStringList failed;
    for (int n = 1;; ++n) {
        int seen = 0;
        QString at;
        onsql = [&](const QString& sql) {
            if (++seen == n) {
                at = sql;
                throw EDatabaseError(QStringLiteral("forced failure"));
            }
        };
        const bool ok = closeperiod();
        onsql = nullptr;
        if (ok) {
            EXPECT_EQ(seen, n - 1);
            break;
        }
        ++failures;
        failed << at;
        ASSERT_EQ(curpid, 0) << at.toStdString();
        ASSERT_EQ(books(), before) << "failing at " << at.toStdString();
        ASSERT_LT(n, 400);
    }
    // Every step was hit: the reads, each kind of write and the pool rebuild.
    for (const char* step : {"billtype", "insert into periodlist", "update currentpid", "insert into imexsrglist",
                             "insert into premsrglist", "update msrglist", "insert into precyldb",
                             "insert into precyldptlist", "insert into precyldetaillist",
                             "insert into cyldetaillist", "delete cyldetaillist", "drop table [dbo].[billtypelist]",
                             "CREATE TABLE [dbo].[billtypelist]"})
        EXPECT_TRUE(std::any_of(failed.begin(), failed.end(), [&](const QString& s) { return s.contains(QLatin1String(step)); }))
            << step;
    EXPECT_GT(failures, 20);
    EXPECT_EQ(curpid, 1);
}

// A statement the database refuses shows the statement and rolls the whole close back.
TEST_F(CloseTest, RefusedStatementShowsItAndRollsBack)
{
    exec(kBooks);
    ASSERT_EQ(run(QStringLiteral("drop table precyldptlist")), QString());
    const QStringList before = books();
    EXPECT_FALSE(closeperiod());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("数据数据出错：insert into precyldptlist (pid,dptid,mid,qty,cost) select '0',"
                                          "dptid,mid,qty,cost from cyldptlist"));
    EXPECT_EQ(books(), before);
    EXPECT_EQ(curpid, 0);
}

// The open period is read inside the close's transaction: a client whose period was closed by
// another client since its login is refused instead of closing the next period.
TEST_F(CloseTest, ClientWithAStalePeriodIsRefused)
{
    exec(kBooks);
    ASSERT_TRUE(closeperiod());
    curpid = 0; // as another client still logged in to period 0
    const QStringList before = books();
    EXPECT_FALSE(closeperiod());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("本期已由其他用户扎帐，请重新登录后再扎帐！！！"));
    EXPECT_EQ(books(), before);
    EXPECT_EQ(curpid, 0);
}

// A period cannot end before it starts: the close is refused with both dates and changes
// nothing; ending on its first day is allowed.
TEST_F(CloseTest, ClosingDateBeforeThePeriodStartIsRefused)
{
    exec(kBooks);
    const QStringList before = books();
    EXPECT_FALSE(closeperiod("2024-11-01", "2024-10-31", "2024-11-01"));
    EXPECT_EQ(messages, QStringList{QStringLiteral("扎帐截止日期(2024-10-31)早于本期开始日期(2024-11-01)，不能扎帐！")});
    EXPECT_EQ(books(), before);
    EXPECT_EQ(curpid, 0);
    messages.clear();
    EXPECT_TRUE(closeperiod("2024-11-01", "2024-11-01", "2024-11-02"));
    EXPECT_EQ(messages, QStringList());
    EXPECT_EQ(curpid, 1);
}

// The statements of a close, in order, as the data module sends them (database switches left out).
TEST_F(CloseTest, StatementsOfAClose)
{
    ASSERT_EQ(run(QStringLiteral("insert into msrglist (mid,qty,cost,preqty,precost) values (1,10,125,2,20)")), QString());
    ASSERT_EQ(run(QStringLiteral("insert into cyldetaillist (eid,pid,mid,dptid,crtdate,qty,cost,remark) "
                                 "values (11,0,3,2,'2024-11-05',2,100,'a')")),
              QString());
    QStringList sent;
    onsql = [&](const QString& sql) {
        if (!sql.startsWith(QLatin1String("Use ")))
            sent << sql;
    };
    ASSERT_TRUE(closeperiod());
    const QString d = today();
    EXPECT_EQ(sent, QStringList({
                        "select * from billtype where fid>0 order by fid",
                        "select id from IDlist with(Xlock) where IDname='pid'",
                        "select id from IDlist  with(Xlock) where IDname='pid'",
                        "update idlist set id=1 where idname='pid'",
                        "insert into periodlist (pid,crtdate,enddate) values ('0','2024-11-01','2024-11-30')",
                        "update currentpid set  periodid='1',crtdate='2024-12-01'",
                        "insert into imexsrglist (mid,Pid,bdate,Comment,srgQty, srgcost) select mid,'1','" + d
                            + "','期末结转',qty,cost from msrglist order by mid",
                        "insert into premsrglist (pid,mid,qty,cost,preqty,precost) select 0, mid,qty,cost,preqty,precost "
                        "from msrglist",
                        "update msrglist set preqty=qty,precost=cost where mid>0",
                        "insert into precyldb (pid,mid,qty,cost,srgqty,srgcost,eqty,ecost) select '0',mid,qty,cost,"
                        "srgqty,srgcost,eqty,ecost from cyldb",
                        "insert into precyldptlist (pid,dptid,mid,qty,cost) select '0',dptid,mid,qty,cost from cyldptlist",
                        "insert into precyldetaillist ( pid,dptid,mid ,crtdate,enddate,qty,cost,remark) select '0',"
                        "dptid,mid ,crtdate,'2024-11-30',qty,cost,remark from cyldetaillist",
                        "insert into cyldetaillist ( pid,dptid,mid ,crtdate,qty,cost,remark) select '1',dptid,mid,"
                        "'2024-12-01',sum(qty),sum(cost),'上月结存' from cyldetaillist where pid='0' group by dptid,mid "
                        "order by dptid,mid",
                        "delete cyldetaillist where pid<>'1'",
                        "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
                        "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] ",
                        "CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[imA3] [bit] NULL "
                        "default 0,[exA3] [bit] NULL default 0,[imA4] [bit] NULL default 0,[exA4] [bit] NULL default 0) "
                        "ON [PRIMARY]",
                    }));
}
