// Statement shapes the program composes, run on a small account set and checked by their rows.
#include "engine_support.h"

class EngineStatements : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure()) return;   // no engine to work on
        QStringList ddl = MiniSchema();
        ddl << QStringLiteral("CREATE TABLE [dbo].[mtrlist] ([FID] [int] NOT NULL PRIMARY KEY, [bID] [int] NOT NULL, "
                              "[code] [varchar] (50) NOT NULL, [mname] [varchar] (50) NOT NULL, [mtype] [varchar] (50) NULL)")
            << QStringLiteral("CREATE TABLE [dbo].[mpplist] ([fid] [int] IDENTITY (1, 1) NOT NULL PRIMARY KEY, [mid] [int] NOT NULL, "
                              "[pprice] [numeric](18, 4) NULL)")
            << QStringLiteral("CREATE TABLE [dbo].[currencyset] ([fid] [int] IDENTITY (1, 1) NOT NULL PRIMARY KEY, "
                              "[cryname] [varchar] (20) NOT NULL)")
            << QStringLiteral("CREATE TABLE [dbo].[mrplist] ([fid] [int] IDENTITY (1, 1) NOT NULL PRIMARY KEY, [mid] [int] NOT NULL, "
                              "[qty] [numeric](18, 4) NULL, [cid] [int] NULL, [bdate] [datetime] NULL)")
            << QStringLiteral("CREATE VIEW dbo.vmrp AS SELECT dbo.mrplist.fid, dbo.mrplist.qty, dbo.currencyset.cryname AS currency, "
                              "dbo.mtrlist.mname FROM dbo.mrplist LEFT OUTER JOIN dbo.currencyset ON dbo.mrplist.cid = dbo.currencyset.fid "
                              "INNER JOIN dbo.mtrlist ON dbo.mrplist.mid = dbo.mtrlist.FID");
        CreateDatabase(QStringLiteral("acc"), ddl);
        for (int i = 1; i <= 5; ++i)
            Run(QStringLiteral("insert into mtrlist (fid, bid,code, mname, mtype) values ('%1','2','000002','m%1','t')").arg(i));
        Run(QStringLiteral("insert into mpplist (mid,pprice) values ('2','1.5')"));
        Run(QStringLiteral("insert into currencyset (cryname) values ('人民币')"));
        Run(QStringLiteral("insert into mrplist (mid, qty, cid, bdate) values (1, '2', 1, '2024-01-05')"));
        Run(QStringLiteral("insert into mrplist (mid, qty, cid, bdate) values (2, '3', 9, '2024-01-06')"));   // currency row missing
        Run(QStringLiteral("insert into mrplist (mid, qty, cid, bdate) values (99, '4', 1, '2024-01-07')"));  // material row missing
    }
};

TEST_F(EngineStatements, ComposedShapes)
{
    struct Case { const char* sql; QStringList rows; };
    const Case cases[] = {
        // paged reading: the last key as a quoted literal, then the caller's condition
        {"select * from mtrlist where fid>'2' and 1=1 order by fid", {"3|2|000002|m3|t", "4|2|000002|m4|t", "5|2|000002|m5|t"}},
        // materials without a planned price
        {"select fid from mtrlist where 1=1 and not(fid in (select mid  from mpplist )) order by fid", {"1", "3", "4", "5"}},
        // a summary over a derived table
        {"select b.mname,a.qty,a.mid from (select mid,sum(qty) as qty from mrplist where 1=1 group by mid) a,mtrlist b where a.mid=b.fid order by a.mid",
         {"m1|2|1", "m2|3|2"}},
        // views: a line whose currency is missing shows, one whose material is missing does not
        {"select fid, currency, mname from vmrp order by fid", {"1|人民币|m1", "2|NULL|m2"}},
        // owner-qualified columns, top, glued keywords
        {"select  top 1  dbo.mrplist.fid  from dbo.mrplist where dbo.mrplist.qty>1.5and mid<>'1' order by fid desc", {"3"}},
        {"select count(*) from mrplist where bdate>='2024/1/6' and bdate<='2024-01-07'", {"2"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rows(QString::fromUtf8(c.sql)), c.rows) << c.sql;

    // writes: delete without from, the pool statements, quoted numbers
    Run(QStringLiteral("Delete mtrlist where fid='5'"));
    Run(QStringLiteral("update mrplist set qty=qty-'0.5' where fid=1"));
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from mtrlist")), QStringList{QStringLiteral("4")});
    EXPECT_EQ(Rows(QStringLiteral("select qty from mrplist where fid=1")), QStringList{QStringLiteral("1.5")});
    Run(QStringLiteral("delete mtrlist where code like '000002%'"));
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from mtrlist")), QStringList{QStringLiteral("0")});
}

// A query for a few rows (a page of a list) gives the first rows of the whole query, in its
// order, whatever the shape of the statement; a statement that writes is not cut short.
TEST_F(EngineStatements, AQueryForAFewRowsGivesTheFirstRowsOfTheWholeQuery)
{
    for (int i = 6; i <= 30; ++i)
        Run(QStringLiteral("insert into mtrlist (fid, bid,code, mname, mtype) values ('%1','%2','%3','m%1','t')")
                .arg(i).arg(i % 4).arg(1000 - i, 6, 10, QLatin1Char('0')));
    const char* const shapes[] = {
        "select * from mtrlist where fid>'3' and 1=1 order by fid",
        "select * from mtrlist where fid>'3' and (bid=1 or bid=2) order by fid",
        "select fid, code from mtrlist order by code, fid",
        "select fid from mtrlist order by bid desc, fid",
        "select  top 5  fid from mtrlist order by fid desc",
        "select fid, currency, mname from vmrp order by fid",
        "select bid, count(*) from mtrlist group by bid order by bid",
        "select a.fid from (select fid from mtrlist where bid=2) a order by a.fid",
        "select fid from mtrlist where bid=1 union select mid from mrplist order by fid",
        "select fid, (select max(pprice) from mpplist) as p from mtrlist where mname like 'm1%' order by fid",
        "select fid from mtrlist where code='limit' order by fid",
    };
    for (const char* shape : shapes) {
        const QString sql = QString::fromUtf8(shape);
        const QStringList all = Rows(sql);
        for (int n : {1, 3, 21})
            EXPECT_EQ(Rows(sql, n), all.mid(0, n)) << shape << " at most " << n;
    }
    EXPECT_EQ(Run(QStringLiteral("update mtrlist set mtype='u' where fid>10"), 3).rowsAffected, 20);
    EXPECT_EQ(Rows(QStringLiteral("select count(*) from mtrlist where mtype='u'")), QStringList{QStringLiteral("20")});
}
