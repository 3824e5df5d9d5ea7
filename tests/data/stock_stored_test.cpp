// Auditing posts the bill as it is stored when the audit runs: another workstation may have
// changed and saved it after this one loaded it into the bill form.
#include "stock_fixture.h"
#include "platform/db/ADOConnection.h"

#include <QElapsedTimer>

using namespace stocktest;

TEST_F(StockTest, AuditPostsTheBillAsStoredNotAsLoaded)
{
    const struct {
        const char* name;
        Op op;
        std::function<void(StockTest&)> bill;     // the bill as the form loads it
        std::function<void(StockTest&)> change;   // what the other workstation saves meanwhile
        const char* stock;                        // rebar and cement afterwards
    } cases[] = {
        {"stock-in line changed", PostIn, [](StockTest& t) { t.inhead(1); t.inline_(11, 1, Rebar, 10, 5); },
         [](StockTest& t) { t.exec("update ibdetail set qty=7, amount=35, dprice=35, rdprice=70 where Fid=11"); },
         "1|7|35"},
        {"stock-in line added", PostIn, [](StockTest& t) { t.inhead(1); t.inline_(11, 1, Rebar, 10, 5); },
         [](StockTest& t) { t.inline_(12, 1, Cement, 4, 12); }, "1|10|50\n2|4|48"},
        {"stock-in line removed", PostIn,
         [](StockTest& t) { t.inhead(1); t.inline_(11, 1, Rebar, 10, 5); t.inline_(12, 1, Cement, 4, 12); },
         [](StockTest& t) { t.exec("delete ibdetail where Fid=12"); }, "1|10|50"},
        {"stock-out line changed", PostOut,
         [](StockTest& t) {
             t.inhead(1); t.inline_(11, 1, Rebar, 10, 5);
             ASSERT_TRUE(t.apply(PostIn, 1));
             t.outhead(2); t.outline(21, 2, Rebar, 4, 5);
         },
         [](StockTest& t) { t.exec("update ebdetail set qty=3, dprice=15, rdprice=15 where fid=21"); }, "1|7|35"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* t : {"ibdetail", "ibmaster", "ebdetail", "ebmaster", "msrglist", "mrplist", "imexsrglist", "maplist"})
            exec(QStringLiteral("delete ") + QLatin1String(t));
        c.bill(*this);
        const int fid = c.op == PostIn ? 1 : 2;
        ASSERT_TRUE(audit(*dm, c.op, fid, [&] { c.change(*this); }));
        EXPECT_EQ(table("select mid,qty,cost from msrglist order by mid"), QString::fromUtf8(c.stock));
        // the ledger moves by the stored lines too
        EXPECT_EQ(table("select sum(isnull(iqty,0)-isnull(eqty,0)) from imexsrglist where Mid=1"),
                  table("select qty from msrglist where mid=1"));
    }
    // a bill deleted meanwhile is not posted
    messages.clear();
    inhead(5);
    inline_(51, 5, Rebar, 1, 5);
    const QStringList before = state().mid(0, 8);
    EXPECT_FALSE(audit(*dm, PostIn, 5, [&] { exec("delete ibdetail where iid=5"); exec("delete ibmaster where fid=5"); }));
    EXPECT_EQ(messages, QStringList{QStringLiteral("票据不存在，请先保存票据！！！")});
    EXPECT_EQ(state().mid(0, 8), before);
}

// Un-auditing takes back from the batch the price pair the audit gave it, whatever the account
// set's type has become since.
TEST_F(StockTest, ReversalTakesBackThePairThatWasPosted)
{
    const struct {
        const char* name;
        TSystype posted, reversed;
        const char* batch;   // rsprice|rdprice of the line's batch after the reversal
    } cases[] = {
        {"local, reversed as overseas", TSystype::local, TSystype::overseas, "5|0"},
        {"overseas, reversed as local", TSystype::overseas, TSystype::local, "10|0"},
        {"local throughout", TSystype::local, TSystype::local, "5|0"},
        {"overseas throughout", TSystype::overseas, TSystype::overseas, "10|0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* t : {"ibdetail", "ibmaster", "msrglist", "mrplist", "imexsrglist"})
            exec(QStringLiteral("delete ") + QLatin1String(t));
        inhead(1);
        inline_(11, 1, Rebar, 10, 5);
        systype = c.posted;
        ASSERT_TRUE(apply(PostIn, 1));
        // a return of 4 against the line, posted the same way
        inhead(2);
        inline_(21, 2, Rebar, -4, 5, 11);
        ASSERT_TRUE(apply(PostIn, 2));
        systype = c.reversed;
        ASSERT_TRUE(apply(ReverseIn, 2));
        ASSERT_TRUE(apply(ReverseIn, 1));
        EXPECT_EQ(table("select rsprice,rdprice from mrplist where iid=11"), QString::fromUtf8(c.batch));
        EXPECT_EQ(table("select qty,cost from msrglist where mid=1"), QStringLiteral("0|0"));
    }
    systype = TSystype::local;
}

// Another workstation that keeps the books locked makes the audit give up after the time-out:
// the user is told so, and nothing is written.
TEST_F(StockTest, ABusyWorkstationIsReportedAndNothingIsPosted)
{
    inhead(1);
    inline_(11, 1, Rebar, 10, 5);
    dm.reset();
    dpxtest::writeSettings(programDir(), serverName(), QStringLiteral("1"));
    dm = std::make_unique<TrmtDM>();
    ASSERT_TRUE(dbconnected);
    login(*dm, QStringLiteral("acct"));
    TADOConnection other;
    other.SetLoginPrompt(false);
    other.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                             "Initial Catalog=master;Data Source=") + serverName());
    other.Open();
    other.Execute(QStringLiteral("Use acct"));
    other.BeginTrans();
    other.Execute(QStringLiteral("update ibmaster set lister='赵六' where fid=1"));
    const QStringList before = state();
    messages.clear();
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(apply(PostIn, 1));
    EXPECT_LT(t.elapsed(), 60000);
    EXPECT_EQ(messages, QStringList{QStringLiteral("其他工作站正在记帐，等候超时：本次操作没有完成，数据未作任何改动，请稍后再试！")});
    other.RollbackTrans();
    EXPECT_EQ(state(), before);
    messages.clear();
    EXPECT_TRUE(apply(PostIn, 1));
    EXPECT_TRUE(messages.isEmpty());
}

// The ledger's counterpart joins two names of up to 50 characters each; it is fitted to its
// column, each name keeping at least half of the room, so that long names never make a
// posting fail now that an over-long text is refused.
TEST_F(StockTest, LongNamesAreFittedIntoTheLedgersCounterpart)
{
    exec(QStringLiteral("update suplist set prtname='%1' where fid=2").arg(QString(50, u'丙')));
    exec(QStringLiteral("update dptlist set prtname='%1' where fid=2").arg(QString(50, u'甲')));
    exec(QStringLiteral("update pjtlist set prtname='%1' where fid=2").arg(QStringLiteral("No.1 ") + QString(45, u'乙')));
    inhead(1);
    inline_(11, 1, Rebar, 10, 5);
    ASSERT_TRUE(apply(PostIn, 1)) << messages.join(u'\n').toStdString();
    outhead(2);
    outline(21, 2, Rebar, 4, 5);
    ASSERT_TRUE(apply(PostOut, 2)) << messages.join(u'\n').toStdString();
    // 50 bytes: the arrow takes 2; a short first name leaves the rest to the second
    EXPECT_EQ(table("select dptprj from imexsrglist order by fid"),
              QStringLiteral("自购→") + QString(22, u'丙') + u'\n' + QString(12, u'甲') + QStringLiteral("→No.1 ") + QString(9, u'乙'));
}
