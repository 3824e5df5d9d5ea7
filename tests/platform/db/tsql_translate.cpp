// The translation of the statement shapes the program composes into SQLite text.
#include "platform/db/tsql/RowLimit.h"
#include "platform/db/tsql/Translator.h"
#include "platform/rtl/Exceptions.h"
#include <gtest/gtest.h>

using namespace tsql;

namespace {

QString sqlOf(const QString& text, bool master = false)
{
    const Batch b = TranslateBatch(text, master);
    EXPECT_EQ(b.size(), 1) << text.toStdString();
    EXPECT_EQ(b.value(0).kind, StmtKind::Sql);
    return b.value(0).sql.join(QStringLiteral(" ;; "));
}

struct Case { const char* tsql; const char* sqlite; };

} // namespace

TEST(TsqlTranslate, StatementShapes)
{
    const Case cases[] = {
        // counters with the lock hint, glued and spaced
        {"select id from IDlist  with(Xlock) where IDname='PID'", "select id from IDlist where IDname='PID'"},
        {"select id from IDlist WITH (NOLOCK, ROWLOCK) where IDname=N'x'", "select id from IDlist where IDname='x'"},
        // top n becomes a limit at the end of its own select
        {"select  top 1  fid  from billtypelist where imA3=0 order by fid",
         "select fid from billtypelist where imA3=0 order by fid limit 1"},
        {"select * from t where fid in (select top 2 fid from u order by fid) order by fid",
         "select * from t where fid in (select fid from u order by fid limit 2) order by fid"},
        // delete without from
        {"delete imexsrglist where iid=5", "delete from imexsrglist where iid=5"},
        {"Delete from Master..materialdblist where dbname='acc'", "Delete from master.materialdblist where dbname='acc'"},
        // owner prefixes and brackets
        {"SELECT dbo.mpplist.fid, dbo.mtrlist.mname FROM  dbo.mpplist INNER JOIN dbo.mtrlist ON dbo.mpplist.mid = dbo.mtrlist.FID",
         "SELECT mpplist.fid, mtrlist.mname FROM mpplist INNER JOIN mtrlist ON mpplist.mid = mtrlist.FID"},
        {"select * from [dbo].[billtypelist]", "select * from \"billtypelist\""},
        {"update master..materialdblist set accname='x' where dbname='a'",
         "update master.materialdblist set accname='x' where dbname='a'"},
        // glued numbers and quoted numbers stay as the server reads them
        {"update msrglist set qty=340.5where mid='17'", "update msrglist set qty=340.5 where mid='17'"},
        {"select * from t where code like'001%'", "select * from t where code like'001%'"},
        // functions
        {"select datediff(day,a.crtdate,'2024-01-05')+1 from cyldetaillist a",
         "select datediff('day',a.crtdate,'2024-01-05')+1 from cyldetaillist a"},
        {"select isnull(sum(qty),0) as qty from msrglist", "select ifnull(sum(qty),0) as qty from msrglist"},
        {"insert into t (d) values (getdate())", "insert into t (d) values (getdate())"},
        // national strings keep their quotes doubled
        {"insert into t (a) values (N'O''Brien')", "insert into t (a) values ('O''Brien')"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sqlOf(QString::fromUtf8(c.tsql)).toStdString(), c.sqlite) << c.tsql;
}

TEST(TsqlTranslate, MasterPrefixDependsOnCurrentDatabase)
{
    EXPECT_EQ(sqlOf("insert into Master..materialdblist(accname) values('a')", true),
              QStringLiteral("insert into materialdblist(accname) values('a')"));
    EXPECT_EQ(sqlOf("select * from master.dbo.materialdblist", false),
              QStringLiteral("select * from master.materialdblist"));
}

TEST(TsqlTranslate, BatchesWithoutSeparators)
{
    const QString restore = QStringLiteral(
        "Use Master  RESTORE DATABASE acc2 FROM DISK ='C:\\prog\\dpxdata\\materialdb' with file=1,replace,"
        "MOVE 'materialdb_data' TO 'C:\\prog\\Database\\acc2_data.mdf',MOVE 'materialdB_Log' TO 'C:\\prog\\Database\\acc2_log.ldf'");
    Batch b = TranslateBatch(restore, false);
    ASSERT_EQ(b.size(), 2);
    EXPECT_EQ(b[0].kind, StmtKind::Use);
    EXPECT_EQ(b[0].name, QStringLiteral("Master"));
    EXPECT_EQ(b[1].kind, StmtKind::Restore);
    EXPECT_EQ(b[1].name, QStringLiteral("acc2"));
    EXPECT_EQ(b[1].path, QStringLiteral("C:/prog/dpxdata/materialdb"));
    EXPECT_EQ(b[1].dataFile, QStringLiteral("C:/prog/Database/acc2_data.mdf"));
    EXPECT_TRUE(b[1].replace);

    b = TranslateBatch(QStringLiteral(" drop database acc3 select 1"), true);
    ASSERT_EQ(b.size(), 2);
    EXPECT_EQ(b[0].kind, StmtKind::DropDatabase);
    EXPECT_EQ(b[0].names, QStringList{QStringLiteral("acc3")});
    EXPECT_EQ(b[1].sql, QStringList{QStringLiteral("select 1")});

    b = TranslateBatch(QStringLiteral(
        "use Master ALTER DATABASE acc set offline with rollback immediate  RESTORE DATABASE acc FROM DISK ='/p/backdata/b1' "
        "with file=1,replace  alter database acc set online with rollback immediate  Use acc"), false);
    ASSERT_EQ(b.size(), 5);
    EXPECT_EQ(b[1].kind, StmtKind::SetOffline);
    EXPECT_EQ(b[2].kind, StmtKind::Restore);
    EXPECT_TRUE(b[2].dataFile.isEmpty());
    EXPECT_EQ(b[3].kind, StmtKind::SetOnline);
    EXPECT_EQ(b[4].kind, StmtKind::Use);

    b = TranslateBatch(QStringLiteral("BACKUP DATABASE acc TO DISK ='/p\\backdata\\b1' with init"), false);
    ASSERT_EQ(b.size(), 1);
    EXPECT_EQ(b[0].kind, StmtKind::Backup);
    EXPECT_EQ(b[0].path, QStringLiteral("/p/backdata/b1"));

    b = TranslateBatch(QStringLiteral("update t set a=1; update t set b=2"), false);
    EXPECT_EQ(b.size(), 2);
}

TEST(TsqlTranslate, DropIfExists)
{
    const Batch b = TranslateBatch(QStringLiteral(
        "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
        "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] "), false);
    ASSERT_EQ(b.size(), 1);
    EXPECT_EQ(b[0].kind, StmtKind::IfExists);
    EXPECT_TRUE(b[0].condition.contains(QStringLiteral("sqlite_master")));
    ASSERT_TRUE(b[0].body);
    EXPECT_EQ(b[0].body->sql, QStringList{QStringLiteral("drop table \"billtypelist\"")});
}

TEST(TsqlTranslate, CreateTable)
{
    const QString text = QStringLiteral(
        "CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[imA3] [bit] NULL default 0,"
        "[exA3] [bit] NULL default 0) ON [PRIMARY]");
    const Batch b = TranslateBatch(text, false);
    ASSERT_EQ(b.size(), 1);
    ASSERT_EQ(b[0].sql.size(), 1);   // no column needs normalising
    EXPECT_EQ(b[0].sql[0], QStringLiteral("create table \"billtypelist\" (\"fid\" integer primary key autoincrement not null, "
                                          "\"imA3\" bit default (0), \"exA3\" bit default (0))"));

    const Batch r = TranslateBatch(QStringLiteral(
        "CREATE TABLE [dbo].[materialdblist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,"
        "[accname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,[dbname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,"
        "[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ) ON [PRIMARY]"), true);
    ASSERT_EQ(r.size(), 1);
    EXPECT_TRUE(r[0].sql[0].contains(QStringLiteral("\"accname\" varchar(50) not null collate dpxci")));

    const Batch v = TranslateBatch(QStringLiteral(
        "CREATE TABLE t ([fid] [int] IDENTITY (1, 1) NOT FOR REPLICATION NOT NULL) CREATE VIEW dbo.v (a) AS SELECT TOP 100 PERCENT fid FROM dbo.t"), false);
    ASSERT_EQ(v.size(), 2);
    EXPECT_EQ(v[0].sql[0].toStdString(), "create table \"t\" (\"fid\" integer primary key autoincrement not null)");
    EXPECT_EQ(v[1].sql[0].toStdString(), "create view \"v\" (a) as SELECT fid FROM t");

    // numeric, datetime and nchar columns get the normalising triggers
    const Batch m = TranslateBatch(QStringLiteral(
        "create table t (fid int not null primary key, qty numeric(18,4) not null default 0, bdate datetime, code nchar(5))"), false);
    ASSERT_EQ(m[0].sql.size(), 3);
    EXPECT_TRUE(m[0].sql[1].contains(QStringLiteral("dpx_num(\"qty\",4)")));
    EXPECT_TRUE(m[0].sql[1].contains(QStringLiteral("dpx_dt(\"bdate\")")));
    EXPECT_TRUE(m[0].sql[1].contains(QStringLiteral("dpx_pad(\"code\",5)")));
}

TEST(TsqlTranslate, Errors)
{
    // an empty code list leaves a dangling ','
    EXPECT_THROW(TranslateBatch(QStringLiteral("CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,) ON [PRIMARY]"), false),
                 EOleException);
    EXPECT_THROW(TranslateBatch(QStringLiteral("select 'abc"), false), EOleException);
    EXPECT_THROW(TranslateBatch(QStringLiteral("RESTORE DATABASE x FROM"), false), EOleException);
}

TEST(TsqlTranslate, CacheReturnsTheSameTranslation)
{
    TranslationCache cache;
    auto a = cache.Get(QStringLiteral("select top 1 fid from t"), false);
    auto b = cache.Get(QStringLiteral("select top 1 fid from t"), false);
    auto c = cache.Get(QStringLiteral("select top 1 fid from t"), true);
    EXPECT_EQ(a.get(), b.get());
    EXPECT_NE(a.get(), c.get());
    EXPECT_EQ(cache.Size(), 2);
    // a plain statement is handed over as written, without being kept
    auto p = cache.Get(QStringLiteral("select fid from t where fid>'20'"), false);
    ASSERT_EQ(p->size(), 1);
    EXPECT_EQ(p->first().sql, QStringList{QStringLiteral("select fid from t where fid>'20'")});
    EXPECT_EQ(cache.Size(), 2);
}

TEST(TsqlTranslate, PlainStatementsPassUnchanged)
{
    // texts SQLite reads as the server does are handed over as they stand
    for (const char* t : {"select b.pricemodal from mtrlist a,breedlist b where a.fid='5' and a.bid =b.fid",
                          "insert into imexsrglist (mid,bnum,comment) values ('1','入库 11-1','甲供→供应厂商')",
                          "update msrglist set qty='1.5',cost='2' where mid=3",
                          "select 'it''s', 'with top dbo' from t"})
        EXPECT_EQ(sqlOf(QString::fromUtf8(t)).toStdString(), t);
    // anything a rule touches goes through the rules
    EXPECT_EQ(TranslateBatch(QStringLiteral("update t set a='x''' where b=1 delete u where c=2"), false).size(), 2);
}

TEST(TsqlTranslate, RowLimitGoesOnSingleSelectsOnly)
{
    const Case cases[] = {
        {"select * from pg where fid>'20' and (1=1) order by fid", "select * from pg where fid>'20' and (1=1) order by fid limit 21"},
        {"select a.fid, (select max(x) from t limit 1) as m from a order by a.fid", "select a.fid, (select max(x) from t limit 1) as m from a order by a.fid limit 21"},
        {"(select fid from a) union (select fid from b) order by fid", "(select fid from a) union (select fid from b) order by fid limit 21"},
        {"select 'limit' as w from a", "select 'limit' as w from a limit 21"},
        // a limit, a lock, a target table, a second statement or a line comment of its own: as it stands
        {"select fid from a order by fid limit 1", "select fid from a order by fid limit 1"},
        {"select fid from a order by fid limit 5 offset 2", "select fid from a order by fid limit 5 offset 2"},
        {"select id from idlist where idname='x' for update", "select id from idlist where idname='x' for update"},
        {"select fid into #t from a", "select fid into #t from a"},
        {"select 1; select 2", "select 1; select 2"},
        {"select fid from a -- the keys", "select fid from a -- the keys"},
        {"insert into a (fid) select fid from b", "insert into a (fid) select fid from b"},
        {"update a set n='select' where fid=1", "update a set n='select' where fid=1"},
        {"select 'unclosed from a", "select 'unclosed from a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithRowLimit(QString::fromUtf8(c.tsql), 21), QString::fromUtf8(c.sqlite)) << c.tsql;
    EXPECT_EQ(WithRowLimit(QStringLiteral("select * from a"), 0), QStringLiteral("select * from a"));
}
