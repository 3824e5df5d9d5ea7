// Key counters, parameters, lookups with their failure kinds, and the bill-number pool.
#include "dmfixture.h"

class DMKeys : public DMTest {
protected:
    void SetUp() override
    {
        DMTest::SetUp();
        Connect();
        CreateAccountSet();
    }
};

TEST_F(DMKeys, CounterReadsAddsAndWritesBack)
{
    EXPECT_EQ(dm->GetnewID(QStringLiteral("pid")), 1);
    EXPECT_EQ(Statements(), (QStringList{
        QStringLiteral("select id from IDlist  with(Xlock) where IDname='pid'"),
        QStringLiteral("update idlist set id=1 where idname='pid'"),
    }));
    EXPECT_EQ(dm->GetnewID(QStringLiteral("PID")), 2);
    EXPECT_EQ(dm->GetID(QStringLiteral(" PID ")), 2);
    EXPECT_EQ(dm->GetID(QStringLiteral("IID")), 41);
    EXPECT_EQ(dm->GetID(QStringLiteral("none")), 0);
    EXPECT_FALSE(dm->IntransAction());

    // Inside the caller's transaction the counter moves back with a rollback.
    dm->BeginTrans();
    EXPECT_EQ(dm->GetnewID(QStringLiteral("IID")), 42);
    EXPECT_TRUE(dm->IntransAction());
    dm->RollbackTrans();
    EXPECT_EQ(dm->GetID(QStringLiteral("IID")), 41);
}

TEST_F(DMKeys, MissingCounterRaisesAndWritesNothing)
{
    try {
        dm->GetnewID(QStringLiteral("nosuch"));
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("nosuch")));
    }
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from IDlist")), QStringList{QStringLiteral("2")});
    EXPECT_EQ(Statements().size(), 1);
}

TEST_F(DMKeys, TreeKeysHaveAtLeastThreeDigits)
{
    const std::pair<int, const char*> cases[] = {{5, "005"}, {7, "007"}, {12, "012"}, {1234, "1234"}, {0, "000"}};
    for (const auto& [id, text] : cases)
        EXPECT_EQ(dm->getnewtreefid(id), QString::fromLatin1(text));
}

TEST_F(DMKeys, Parameters)
{
    EXPECT_EQ(dm->getsystemvalue(QStringLiteral("monthid")), 11);
    EXPECT_EQ(dm->getsystemvalue(QStringLiteral("nosuch")), 0);
    EXPECT_EQ(dm->getsystemvalue(QStringLiteral("it's")), 0);   // the quote does not break the statement
    EXPECT_TRUE(dm->setsystemid(QStringLiteral("monthid"), 12));
    EXPECT_EQ(dm->getsystemvalue(QStringLiteral("monthid")), 12);
    EXPECT_TRUE(dm->setsysemcrtdate(EncodeDate(2024, 3, 1)));
    EXPECT_TRUE(Statements().contains(QStringLiteral("update systemset set ivalue='12' where name='monthid'")));
    EXPECT_TRUE(Statements().contains(QStringLiteral("update  currentpid set crtdate='2024-03-01' where periodid=1")));
    EXPECT_EQ(Rows(QStringLiteral("select crtdate from currentpid")).size(), 1);
}

TEST_F(DMKeys, MaterialLookups)
{
    EXPECT_EQ(dm->getpricemodal(7), 2);
    EXPECT_EQ(dm->getpricemodal(8), 0);   // no category row
    EXPECT_EQ(dm->getbreedtype(7), 1);
    EXPECT_DOUBLE_EQ(dm->GetAdmiRate(7), 3.5);
    EXPECT_DOUBLE_EQ(dm->getpprice(7), 12.5);
    EXPECT_DOUBLE_EQ(dm->getpprice(8), 0);
    EXPECT_DOUBLE_EQ(dm->getdefaultbalance(), 7.1);
    EXPECT_DOUBLE_EQ(dm->gettablevalue(QStringLiteral("ibm"), QStringLiteral("fid"), 2, QStringLiteral("qty")), 2);
    EXPECT_DOUBLE_EQ(dm->gettablevalue(QStringLiteral("ibm"), QStringLiteral("fid"), 9, QStringLiteral("qty")), 0);
    EXPECT_DOUBLE_EQ(dm->gettablevaluetwo(QStringLiteral("ibd"), QStringLiteral("iid"), QStringLiteral("mid"), 1, 8,
                                          QStringLiteral("qty")), 2);
    EXPECT_EQ(dm->getfieldvalue(QStringLiteral("ibm"), QStringLiteral("cid")), 1);
    EXPECT_TRUE(dm->exitfieldvalue(QStringLiteral("ibd"), QStringLiteral("iid"), 1));    // two rows
    EXPECT_TRUE(dm->exitfieldvalue(QStringLiteral("ibm"), QStringLiteral("fid"), 3));    // one row
    EXPECT_FALSE(dm->exitfieldvalue(QStringLiteral("ibm"), QStringLiteral("fid"), 4));
    EXPECT_THROW(dm->getaprice(7), EDatabaseError);   // the batch SELECT has no maprice
    int fid = -1;
    QString name = QStringLiteral("kept");
    EXPECT_THROW(dm->getvaluebycode(QStringLiteral("mtrlist"), QStringLiteral("1"), QStringLiteral("FID"),
                                    QStringLiteral("mname"), fid, name), EAbort);   // no Fcode column
    EXPECT_EQ(fid, -1);
    EXPECT_TRUE(dm->getmrplist().startsWith(QStringLiteral(" SELECT dbo.currencyset.cryname, dbo.suplist.prtname AS supname,")));
    EXPECT_TRUE(dm->getmpplist().endsWith(QStringLiteral(" dbo.breedlist ON dbo.mtrlist.bID = dbo.breedlist.FID")));
    EXPECT_TRUE(Statements().contains(QStringLiteral("select b.pricemodal from mtrlist a,breedlist b where a.fid='7' and a.bid =b.fid")));
    EXPECT_TRUE(Statements().contains(QStringLiteral("select b.breedtype from mtrlist a,breedlist b where a.fid=7 and a.bid =b.fid")));
    EXPECT_TRUE(Statements().contains(dm->getmpplist() + QStringLiteral(" where mid='7'")));
}

TEST_F(DMKeys, TheFourFailureKinds)
{
    Run(QStringLiteral("drop table mtrlist"));
    Run(QStringLiteral("drop table currencyset"));
    Run(QStringLiteral("drop table mrplist"));
    // lookup: the silent abort
    EXPECT_THROW(dm->getpricemodal(7), EAbort);
    EXPECT_THROW(dm->getbreedtype(7), EAbort);
    // shared lookup: the database error
    try {
        dm->gettablevalue(QStringLiteral("mtrlist"), QStringLiteral("fid"), 1, QStringLiteral("bid"));
        ADD_FAILURE();
    } catch (const EAbort&) {
        ADD_FAILURE() << "silent";
    } catch (const EOleException&) {
    }
    // direct: the database error
    try {
        dm->getdefaultbalance();
        ADD_FAILURE();
    } catch (const EAbort&) {
        ADD_FAILURE() << "silent";
    } catch (const EOleException&) {
    }
    // write: False, and the message inside a transaction
    EXPECT_FALSE(dm->addnewmtrlist(9, 1, QStringLiteral("000001"), QStringLiteral("x"), QString(), QString(), QString()));
    EXPECT_TRUE(messages.isEmpty());
    dm->BeginTrans();
    EXPECT_FALSE(dm->setmrplistlock(5, true));
    dm->RollbackTrans();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("数据数据出错：update mrplist set block=1 where fid=5"));
}

TEST_F(DMKeys, NewMaterialRow)
{
    EXPECT_TRUE(dm->addnewmtrlist(9, 1, QStringLiteral("000001"), QStringLiteral("水泥"), QStringLiteral("P.O 42.5"),
                                  QStringLiteral("吨"), QStringLiteral("it's")));
    EXPECT_EQ(Statements().last(), QStringLiteral("insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values "
                                                  "('9','1','000001','水泥','P.O 42.5','吨','it''s')"));
    EXPECT_EQ(Rows(QStringLiteral("select mname, remark from mtrlist where fid=9")), QStringList{QStringLiteral("水泥|it's")});
}

// ----- bill-number pool -----

class DMPool : public DMKeys {
protected:
    void SetUp() override
    {
        DMKeys::SetUp();
        ASSERT_TRUE(dm->deletebilltypelist());
        ASSERT_TRUE(dm->createnewbilltypelist({QStringLiteral("01"), QStringLiteral("02")}));
        sqls.clear();
    }
    // Reserves a slot as the bill forms do: ask, and when nothing is free add rows and ask again.
    int Reserve(const QString& column)
    {
        int slot = dm->getbillcodeid(column);
        if (slot == 0) {
            EXPECT_TRUE(dm->Addnewcodeidline(column));
            slot = dm->getbillcodeid(column);
        }
        return slot;
    }
};

TEST_F(DMPool, StatementTexts)
{
    ASSERT_TRUE(dm->deletebilltypelist());
    ASSERT_TRUE(dm->deletebilltypelist());   // also when the table does not exist
    ASSERT_TRUE(dm->createnewbilltypelist({QStringLiteral("01"), QStringLiteral("02")}));
    EXPECT_EQ(Statements(), (QStringList{
        QStringLiteral("if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
                       "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] "),
        QStringLiteral("if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
                       "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] "),
        QStringLiteral("CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[im01] [bit] NULL default 0,"
                       "[ex01] [bit] NULL default 0,[im02] [bit] NULL default 0,[ex02] [bit] NULL default 0) ON [PRIMARY]"),
    }));
    sqls.clear();
    EXPECT_EQ(dm->getbillcodebnum(QStringLiteral("01"), false), 100);
    EXPECT_EQ(dm->getbillcodebnum(QStringLiteral("01"), true), 500);
    EXPECT_EQ(dm->getbillcodebnum(QStringLiteral("09"), true), 0);
    EXPECT_EQ(Statements()[0], QStringLiteral("select ibnum from billtype where code='01'"));
    EXPECT_EQ(Statements()[1], QStringLiteral("select ebnum from billtype where code='01'"));
    sqls.clear();
    EXPECT_EQ(Reserve(QStringLiteral("im01")), 1);
    EXPECT_EQ(Statements().first(), QStringLiteral("select  top 1  fid  from billtypelist where im01=0 order by fid"));
    EXPECT_TRUE(Statements().contains(QStringLiteral("insert into billtypelist (im01) values (0)")));
    EXPECT_EQ(Statements().last(), QStringLiteral("update billtypelist set im01= 1 where fid ='1'"));
    EXPECT_EQ(Statements().count(QStringLiteral("insert into billtypelist (im01) values (0)")), 49);
}

TEST_F(DMPool, SlotSequence)
{
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("im01")), 0);   // a fresh pool is empty
    for (int expected = 1; expected <= 49; ++expected)
        ASSERT_EQ(Reserve(QStringLiteral("im01")), expected);
    EXPECT_EQ(Reserve(QStringLiteral("im01")), 50);   // no slot free: 49 more rows
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from billtypelist")), QStringList{QStringLiteral("98")});
    // Slots are free or taken per column.
    EXPECT_EQ(Reserve(QStringLiteral("ex01")), 1);
    EXPECT_EQ(Reserve(QStringLiteral("im02")), 1);
    // A cancelled bill gives its slot back; the next reservation takes the lowest free one.
    EXPECT_TRUE(dm->ESCbillcodeid(3, QStringLiteral("im01")));
    EXPECT_EQ(Reserve(QStringLiteral("im01")), 3);
    EXPECT_EQ(Reserve(QStringLiteral("im01")), 51);
    EXPECT_FALSE(dm->IntransAction());
    // Inside a caller's transaction the reservation rolls back with it.
    dm->BeginTrans();
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("im01")), 52);
    dm->RollbackTrans();
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("im01")), 52);
}

TEST_F(DMPool, RebuildWithNewCategories)
{
    EXPECT_EQ(Reserve(QStringLiteral("im01")), 1);
    EXPECT_EQ(Reserve(QStringLiteral("im01")), 2);
    ASSERT_TRUE(dm->deletebilltypelist());
    ASSERT_TRUE(dm->createnewbilltypelist({QStringLiteral("03")}));
    EXPECT_THROW(dm->getbillcodeid(QStringLiteral("im01")), EAbort);   // that column is gone
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_EQ(Reserve(QStringLiteral("ex03")), 1);
    EXPECT_EQ(Reserve(QStringLiteral("im03")), 1);

    // An account set without categories still gets a pool of slots.
    ASSERT_TRUE(dm->deletebilltypelist());
    sqls.clear();
    ASSERT_TRUE(dm->createnewbilltypelist({}));
    EXPECT_EQ(Statements(), QStringList{QStringLiteral("CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ) ON [PRIMARY]")});
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from billtypelist")), QStringList{QStringLiteral("0")});
}

TEST_F(DMPool, BadColumnNamesRunNothing)
{
    EXPECT_FALSE(dm->ESCbillcodeid(1, QString()));
    EXPECT_FALSE(dm->ESCbillcodeid(1, QStringLiteral("im01=1;--")));
    EXPECT_FALSE(dm->Addnewcodeidline(QStringLiteral("im01) values (1);--")));
    EXPECT_THROW(dm->getbillcodeid(QStringLiteral("im01 or 1")), EAbort);
    EXPECT_FALSE(dm->createnewbilltypelist({QStringLiteral("0 1")}));
    EXPECT_TRUE(Statements().isEmpty());
    EXPECT_FALSE(dm->Addnewcodeidline(QStringLiteral("im09")));   // no such column: the first insert fails
    EXPECT_EQ(Statements().size(), 1);
}
