// Databases: switching, backup and restore, offline and online, drop, and the registry's
// statements in master.
#include "engine_support.h"
#include <QDir>
#include <QFile>

namespace {

// Every table of the current database with its rows, for comparing two databases.
QStringList dump(EngineTest& t, std::function<QStringList(const QString&)> rows)
{
    QStringList out;
    const QStringList tables = rows(QStringLiteral("select name from sqlite_master where type='table' and name not like 'sqlite%' order by name"));
    for (const QString& name : tables) {
        out << QStringLiteral("== ") + name;
        out += rows(QStringLiteral("select * from \"%1\" order by 1").arg(name));
    }
    out += rows(QStringLiteral("select type, name, sql from sqlite_master where name not like 'sqlite%' order by type, name"));
    return out;
}

} // namespace

class EngineAdmin : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure()) return;   // no engine to work on
        MakeTemplate();
        CreateDatabase(QStringLiteral("acc"), MiniSchema());
        Run(QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (1, N'入库 11-1', '2024/1/5')"));
        Run(QStringLiteral("insert into msrglist (mid, qty, cost) values (1, 1.5, 10.25)"));
        QDir().mkpath(Folder() + QStringLiteral("/backdata"));
        // the registry, as the account-set dialogs create and fill it
        Run(QStringLiteral("Use Master"));
        if (Rows(QStringLiteral("select * from dbo.sysobjects where id = object_id(N'[dbo].[materialdblist]')")).isEmpty())
            Run(QStringLiteral("CREATE TABLE [dbo].[materialdblist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,"
                               "[accname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,"
                               "[dbname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,"
                               "[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ) ON [PRIMARY]"));
        Run(QStringLiteral(" insert into Master..materialdblist(accname,dbname,remark) values('公司','acc','')"));
    }
    QString Backup(const QString& name) const { return Folder() + QStringLiteral("\\backdata\\") + name; }
    QStringList Dump() { return dump(*this, [this](const QString& s) { return Rows(s); }); }
};

TEST_F(EngineAdmin, UseSwitchesTheCurrentDatabase)
{
    EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("master"));
    EXPECT_EQ(Rows(QStringLiteral("select dbname from materialdblist")), QStringList{QStringLiteral("acc")});
    Run(QStringLiteral("Use ACC"));
    EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("acc"));
    // the registry stays reachable as master..t from an account set
    EXPECT_EQ(Rows(QStringLiteral("select accname from master..materialdblist where dbname='acc'")), QStringList{QStringLiteral("公司")});
    EXPECT_EQ(Rows(QStringLiteral("select billnum from ibmaster")), QStringList{QStringLiteral("入库 11-1")});
    // "Use" of the current database is a no-op inside a transaction; another one is refused once work was done
    engine->BeginTransaction();
    Run(QStringLiteral("Use acc"));
    Run(QStringLiteral("update msrglist set qty=2 where mid=1"));
    EXPECT_THROW(Run(QStringLiteral("Use Master")), EOleException);
    engine->RollbackTransaction();
    EXPECT_THROW(Run(QStringLiteral("Use nosuch")), EOleException);
    EXPECT_THROW(Run(QStringLiteral("Use my db")), EOleException);   // a name with a blank, unquoted
    EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("acc"));
}

TEST_F(EngineAdmin, BackupAndRestoreUnderAnotherNameGiveAnIdenticalDatabase)
{
    Run(QStringLiteral("Use acc"));
    const QStringList before = Dump();
    Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("b1"))));
    ASSERT_TRUE(QFile::exists(Folder() + QStringLiteral("/backdata/b1")));
    Run(QStringLiteral("Use Master  RESTORE DATABASE acc2 FROM DISK ='%1' with file=1,replace,MOVE 'materialdb_data' TO '%2',"
                       "MOVE 'materialdB_Log' TO '%3'")
            .arg(Backup(QStringLiteral("b1")), Folder() + QStringLiteral("\\Database\\acc2_data.mdf"),
                 Folder() + QStringLiteral("\\Database\\acc2_log.ldf")));
    if (m_prefix.isEmpty()) {   // the embedded engine's file; a server keeps its own files
        EXPECT_TRUE(QFile::exists(DataFolder() + QStringLiteral("/acc2_data.mdf")));
    }
    Run(QStringLiteral("Use acc2"));
    EXPECT_EQ(Dump(), before);
    // the restored copy is a database of its own
    Run(QStringLiteral("update msrglist set qty=9 where mid=1"));
    Run(QStringLiteral("Use acc"));
    EXPECT_EQ(Scalar(QStringLiteral("select qty from msrglist")).AsCurrencyRaw(), Currency::FromRaw(15000));
}

TEST_F(EngineAdmin, RestoreOverTheLoggedInAccountSet)
{
    Run(QStringLiteral("Use acc"));
    Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("b2"))));
    Run(QStringLiteral("delete ibmaster where fid=1"));
    // the restore dialog's batch, run from the account set itself
    Run(QStringLiteral("use Master ALTER DATABASE acc set offline with rollback immediate  RESTORE DATABASE acc FROM DISK ='%1' "
                       "with file=1,replace  alter database acc set online with rollback immediate  Use acc")
            .arg(Backup(QStringLiteral("b2"))));
    EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("acc"));
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster")), QStringList{QStringLiteral("1")});
}

TEST_F(EngineAdmin, OfflineOnlineDrop)
{
    Run(QStringLiteral("ALTER DATABASE acc set offline with rollback immediate"));
    EXPECT_THROW(Run(QStringLiteral("Use acc")), EOleException);
    EXPECT_THROW(Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("b3")))), EOleException);
    Run(QStringLiteral("alter database acc set online"));
    Run(QStringLiteral("Use acc"));
    // the current database cannot be dropped
    EXPECT_THROW(Run(QStringLiteral(" drop database acc select 1")), EOleException);
    Run(QStringLiteral(" Use Master "));
    DbResult r = Run(QStringLiteral(" drop database acc select 1"));
    ASSERT_TRUE(r.hasResultSet);
    EXPECT_EQ(r.rows.value(0).value(0).AsIntRaw(), 1);
    Run(QStringLiteral("Delete from Master..materialdblist where dbname='acc'"));
    EXPECT_FALSE(engine->DatabaseExists(QStringLiteral("acc")));
    EXPECT_FALSE(QFile::exists(DataFolder() + QStringLiteral("/acc_data.mdf")));
    EXPECT_TRUE(Rows(QStringLiteral("select * from master..materialdblist")).isEmpty());
    EXPECT_THROW(Run(QStringLiteral("Use acc")), EOleException);
    EXPECT_THROW(Run(QStringLiteral(" drop database acc select 1")), EOleException);
}

TEST_F(EngineAdmin, RestoreErrors)
{
    const QString move = QStringLiteral(" with file=1,replace,MOVE 'materialdb_data' TO '%1\\Database\\%2_data.mdf',"
                                        "MOVE 'materialdB_Log' TO '%1\\Database\\%2_log.ldf'");
    // a missing backup file
    try {
        Run(QStringLiteral("Use Master  RESTORE DATABASE acc3 FROM DISK ='%1'").arg(Backup(QStringLiteral("nosuch"))) +
            move.arg(Folder(), QStringLiteral("acc3")));
        FAIL() << "restore of a missing file succeeded";
    } catch (const EOleException& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("nosuch"))) << e.what();
    }
    EXPECT_FALSE(engine->DatabaseExists(QStringLiteral("acc3")));
    // an existing name is never overwritten by a new account set
    Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("b4"))));
    Run(QStringLiteral("Use acc"));
    Run(QStringLiteral("delete ibmaster"));
    EXPECT_THROW(Run(QStringLiteral("Use Master  RESTORE DATABASE ACC FROM DISK ='%1'").arg(Backup(QStringLiteral("b4"))) +
                     move.arg(Folder(), QStringLiteral("ACC"))), EOleException);
    Run(QStringLiteral("Use acc"));
    EXPECT_TRUE(Rows(QStringLiteral("select * from ibmaster")).isEmpty());
    // admin statements are refused inside a transaction that has done work
    engine->BeginTransaction();
    Run(QStringLiteral("update msrglist set qty=3"));
    EXPECT_THROW(Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("b5")))), EOleException);
    engine->RollbackTransaction();
    // ... and run when the transaction has not started work yet (the statement runner wraps every write)
    engine->BeginTransaction();
    Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("b5"))));
    engine->CommitTransaction();
    EXPECT_TRUE(QFile::exists(Folder() + QStringLiteral("/backdata/b5")));
}

TEST_F(EngineAdmin, DropTableIfExists)
{
    Run(QStringLiteral("Use acc"));
    const QString drop = QStringLiteral(
        "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[billtypelist]') and "
        "OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[billtypelist] ");
    Run(drop);   // nothing to drop
    Run(QStringLiteral("CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[imA1] [bit] NULL default 0,"
                       "[exA1] [bit] NULL default 0) ON [PRIMARY]"));
    for (int i = 0; i < 3; ++i) Run(QStringLiteral("insert into billtypelist (imA1) values (0)"));
    EXPECT_EQ(Scalar(QStringLiteral("select  top 1  fid  from billtypelist where imA1=0 order by fid")).AsIntRaw(), 1);
    Run(QStringLiteral("update billtypelist set imA1= 1 where fid ='1'"));
    EXPECT_EQ(Scalar(QStringLiteral("select  top 1  fid  from billtypelist where imA1=0 order by fid")).AsIntRaw(), 2);
    Run(drop);
    EXPECT_THROW(Run(QStringLiteral("select * from billtypelist")), EOleException);
    // an empty code list leaves a dangling ',' and fails
    EXPECT_THROW(Run(QStringLiteral("CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,) ON [PRIMARY]")), EOleException);
}

TEST_F(EngineAdmin, DropRefusesADatabaseAnotherClientUses)
{
    auto other = OpenClient();
    DbResult r;
    other->Execute(QStringLiteral("Use acc"), r);
    other->Execute(QStringLiteral("select * from ibmaster"), r);
    EXPECT_THROW(Run(QStringLiteral(" drop database acc select 1")), EOleException);
    EXPECT_TRUE(engine->DatabaseExists(QStringLiteral("acc")));
    other->Execute(QStringLiteral("Use master"), r);
    Run(QStringLiteral(" drop database acc select 1"));
    EXPECT_FALSE(engine->DatabaseExists(QStringLiteral("acc")));
}
