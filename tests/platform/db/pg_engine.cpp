// The server engine against the private server that scripts/test.sh starts (its address in
// DPX_PG_ADDRESS). Each test works under its own database prefix and drops what it made.
#include "engine_support.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/postgres/PgEngine.h"
#include <QTemporaryDir>
#include <thread>

// The embedded engine's fixture with the engine swapped for the server's.
class PgEngineTest : public EngineTest {
protected:
    void SetUp() override
    {
        if (pgtest::ServerAddress().isEmpty()) {
            if (!qEnvironmentVariableIsEmpty("CI")) FAIL() << "DPX_PG_ADDRESS is not set: the test server did not start";
            GTEST_SKIP() << "no test server (scripts/test.sh starts one and sets DPX_PG_ADDRESS)";
        }
        const QString problem = pgtest::ServerProblem();
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
        m_prefix = pgtest::NewPrefix();
        engine = Open();
        MakeTemplate();
    }
    QString Address() const { return pgtest::ServerAddress() + u'/' + m_prefix; }
    std::unique_ptr<DbEngine> Open() { return OpenDbEngine(Address(), 5); }

    void CreateAccountSet(const QString& name)
    {
        Run(QStringLiteral("create database ") + name);
        Run(QStringLiteral("Use ") + name);
        for (const QString& s : MiniSchema()) Run(s);
    }

};

TEST_F(PgEngineTest, ValuesBehaveAsTheProgramExpects)
{
    CreateAccountSet(QStringLiteral("acc"));
    // exact numerics
    for (int mid = 1; mid <= 3; ++mid)
        Run(QStringLiteral("insert into msrglist (mid, qty, cost) values (%1, 0.1, '1.23456')").arg(mid));
    EXPECT_EQ(Scalar(QStringLiteral("select sum(qty) as qty from msrglist")).AsDoubleRaw(), 0.3);
    const DbResult r = Run(QStringLiteral("select qty, cost from msrglist where mid=1"));
    ASSERT_EQ(r.columns.size(), 2);
    EXPECT_EQ(r.columns[0].type, DbColumnType::Bcd);
    EXPECT_EQ(r.rows[0][1].AsCurrencyRaw(), Currency::FromRaw(12346));
    Run(QStringLiteral("update msrglist set qty=qty+0.2 where mid=1"));
    Run(QStringLiteral("update msrglist set qty=qty-'0.3' where mid=1"));
    EXPECT_EQ(Rows(QStringLiteral("select mid from msrglist where qty<>0 order by mid")),
              (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
    // text ignores case; counters read with(Xlock)
    EXPECT_EQ(Scalar(QStringLiteral("select id from IDlist  with(Xlock) where IDname='pid'")).AsIntRaw(), 0);
    Run(QStringLiteral("update [dbo].[idlist] set id=1 where idname='pid'"));
    EXPECT_EQ(Scalar(QStringLiteral("select ID from IDLIST where IDNAME='PID'")).AsIntRaw(), 1);
    Run(QStringLiteral("insert into emylist (emyname) values ('Wang')"));
    EXPECT_THROW(Run(QStringLiteral("insert into emylist (emyname) values ('WANG')")), EOleException);
    EXPECT_EQ(Rows(QStringLiteral("select emyname from emylist where emyname like 'wa%'")), QStringList{QStringLiteral("Wang")});
    // bit columns take 1/0; quoted numbers; dates
    Run(QStringLiteral("insert into ibmaster (fid, pid, bdate, brecorded) values ('17', 2, '2024/1/5', 1)"));
    Run(QStringLiteral("insert into ibmaster (fid, pid, bdate, brecorded) values (9, 2, '2024-01-31 10:00', 0)"));
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where brecorded=1 and fid>'9'")), QStringList{QStringLiteral("17")});
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where bdate<='2024-01-31' order by fid")), QStringList{QStringLiteral("17")});
    const DbResult d = Run(QStringLiteral("select bdate, brecorded, breverse from ibmaster where fid=9"));
    EXPECT_EQ(d.columns[0].type, DbColumnType::DateTime);
    EXPECT_EQ(d.columns[1].type, DbColumnType::Boolean);
    EXPECT_DOUBLE_EQ(d.rows[0][0].AsDateRaw().Value, EncodeDate(2024, 1, 31).Value + 10.0 / 24.0);
    EXPECT_EQ(d.rows[0][2].AsBoolRaw(), false);   // default 0
    EXPECT_EQ(Scalar(QStringLiteral("select datediff(day,a.bdate,'2024-01-05')+1 from ibmaster a where fid=17")).AsIntRaw(), 1);
    // keys are never reused; top n; delete without from
    Run(QStringLiteral("insert into emylist (emyname) values ('b')"));
    Run(QStringLiteral("delete emylist where emyname='b'"));
    Run(QStringLiteral("insert into emylist (emyname) values ('c')"));
    EXPECT_EQ(Scalar(QStringLiteral("select top 1 fid from emylist order by fid desc")).AsIntRaw(), 4);
}

// A query for a page of rows brings that page over from the server, not every row after it.
TEST_F(PgEngineTest, AQueryForAFewRowsReceivesThoseOnly)
{
    CreateAccountSet(QStringLiteral("acc"));
    engine->BeginTransaction();
    for (int mid = 1; mid <= 2000; ++mid)
        Run(QStringLiteral("insert into msrglist (mid, qty, cost) values (%1, 1.5, 12.25)").arg(mid));
    engine->CommitTransaction();
    auto& pg = dynamic_cast<pgdb::PgEngine&>(*engine);
    const QString sql = QStringLiteral("select mid, qty, cost from msrglist where mid>'100' order by mid");
    qint64 before = pg.BytesReceived();
    const DbResult all = Run(sql);
    const qint64 allBytes = pg.BytesReceived() - before;
    ASSERT_EQ(all.rows.size(), 1900);
    before = pg.BytesReceived();
    const DbResult page = Run(sql, 21);
    const qint64 pageBytes = pg.BytesReceived() - before;
    ASSERT_EQ(page.rows.size(), 21);
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(page.rows[i][0].AsIntRaw(), all.rows[i][0].AsIntRaw());
    // Every row of this result has about the same width: the page's bytes are its 21 rows'.
    EXPECT_GT(pageBytes, 0);
    EXPECT_LE(pageBytes, allBytes * 21 / 1900 + 21);
}

TEST_F(PgEngineTest, FailingStatementInTransactionFailsAlone)
{
    CreateAccountSet(QStringLiteral("acc"));
    engine->BeginTransaction();
    Run(QStringLiteral("insert into msrglist (mid, qty) values (1, 1)"));
    EXPECT_THROW(Run(QStringLiteral("insert into msrglist (mid, qty) values (1, 2)")), EOleException);
    EXPECT_THROW(Run(QStringLiteral("insert into nosuchtable values (1)")), EOleException);
    Run(QStringLiteral("insert into msrglist (mid, qty) values (2, 2)"));
    EXPECT_THROW(Run(QStringLiteral("Use Master")), EOleException);
    engine->CommitTransaction();
    EXPECT_EQ(Rows(QStringLiteral("select mid, qty from msrglist order by mid")),
              (QStringList{QStringLiteral("1|1"), QStringLiteral("2|2")}));
    engine->BeginTransaction();
    Run(QStringLiteral("delete msrglist where mid=1"));
    engine->RollbackTransaction();
    EXPECT_EQ(Scalar(QStringLiteral("select count(*) from msrglist")).AsIntRaw(), 2);
}

TEST_F(PgEngineTest, RegistryBackupRestoreOfflineDrop)
{
    CreateAccountSet(QStringLiteral("acc"));
    Run(QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (1, N'入库 11-1', '2024/1/5')"));
    Run(QStringLiteral("Use Master"));
    if (Rows(QStringLiteral("select * from dbo.sysobjects where id = object_id(N'[dbo].[materialdblist]')")).isEmpty())
        Run(QStringLiteral("CREATE TABLE [dbo].[materialdblist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,"
                           "[accname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,"
                           "[dbname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ) ON [PRIMARY]"));
    EXPECT_EQ(Rows(QStringLiteral("select name from dbo.sysobjects where id = object_id(N'[dbo].[materialdblist]')")),
              QStringList{QStringLiteral("materialdblist")});
    Run(QStringLiteral(" insert into Master..materialdblist(accname,dbname) values('公司','acc')"));
    Run(QStringLiteral("Use acc"));
    EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("acc"));
    EXPECT_EQ(Rows(QStringLiteral("select accname from master..materialdblist where dbname='acc'")), QStringList{QStringLiteral("公司")});

    // backup, change, restore over it, restore as a new account set
    QTemporaryDir dir;
    const QString bak = dir.path() + QStringLiteral("\\acc.bak");
    Run(QStringLiteral("Use Master BACKUP DATABASE acc TO DISK = '%1' WITH INIT").arg(bak));
    Run(QStringLiteral("Use acc"));
    Run(QStringLiteral("update ibmaster set billnum='x'"));
    Run(QStringLiteral("Use Master  RESTORE DATABASE acc FROM DISK = '%1' WITH REPLACE").arg(bak));
    Run(QStringLiteral("RESTORE DATABASE acc2 FROM DISK = '%1' WITH MOVE 'a_Data' TO '/x/acc2_data.mdf', MOVE 'a_Log' TO '/x/acc2_log.ldf'").arg(bak));
    for (const char* db : {"acc", "acc2"}) {
        Run(QStringLiteral("Use ") + QLatin1String(db));
        EXPECT_EQ(Rows(QStringLiteral("select billnum from ibmaster")), QStringList{QStringLiteral("入库 11-1")}) << db;
        Run(QStringLiteral("insert into emylist (emyname) values ('after restore')"));   // bit defaults and keys still work
        EXPECT_EQ(Scalar(QStringLiteral("select visibled from emylist where emyname='AFTER RESTORE'")).AsBoolRaw(), true);
    }
    EXPECT_THROW(Run(QStringLiteral("Use Master RESTORE DATABASE acc3 FROM DISK = '%1'").arg(dir.path() + QStringLiteral("/none.bak"))),
                 EOleException);

    // offline: another client is put out and cannot come back until online again
    Run(QStringLiteral("Use Master"));
    std::unique_ptr<DbEngine> other = Open();
    DbResult r;
    other->Execute(QStringLiteral("Use acc"), r);
    Run(QStringLiteral("ALTER DATABASE acc SET OFFLINE WITH ROLLBACK IMMEDIATE"));
    EXPECT_THROW(other->Execute(QStringLiteral("select count(*) from ibmaster"), r), EOleException);
    EXPECT_THROW(Run(QStringLiteral("Use acc")), EOleException);
    Run(QStringLiteral("ALTER DATABASE acc SET ONLINE"));
    Run(QStringLiteral("Use acc"));
    Run(QStringLiteral("Use Master"));

    QStringList names;
    for (const DbDatabaseInfo& i : engine->Databases()) names << i.name;
    EXPECT_EQ(names, (QStringList{QStringLiteral("master"), QStringLiteral("acc"), QStringLiteral("acc2")}));
    Run(QStringLiteral("drop database acc2"));
    EXPECT_FALSE(engine->DatabaseExists(QStringLiteral("acc2")));
    EXPECT_THROW(Run(QStringLiteral("drop database acc2")), EOleException);
}

// Several clients, each with its own server session, take keys from the same counter at once.
TEST_F(PgEngineTest, ConcurrentClientsTakeDistinctKeys)
{
    CreateAccountSet(QStringLiteral("acc"));
    constexpr int kClients = 4, kKeys = 25;
    std::vector<std::vector<qint64>> taken(kClients);
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int c = 0; c < kClients; ++c)
        threads.emplace_back([&, c] {
            try {
                std::unique_ptr<DbEngine> e = Open();
                DbResult r;
                e->Execute(QStringLiteral("Use acc"), r);
                for (int k = 0; k < kKeys; ++k) {
                    e->BeginTransaction();
                    e->Execute(QStringLiteral("select ID from IDlist with(Xlock) where IDname='PID'"), r);
                    const qint64 id = r.rows.at(0).at(0).AsIntRaw() + 1;
                    e->Execute(QStringLiteral("update IDlist set ID=%1 where IDname='PID'").arg(id), r);
                    e->CommitTransaction();
                    taken[c].push_back(id);
                }
            } catch (...) {
                ++failures;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(failures.load(), 0);
    QSet<qint64> all;
    for (const auto& v : taken)
        for (qint64 id : v) all.insert(id);
    EXPECT_EQ(all.size(), kClients * kKeys);
    EXPECT_EQ(Scalar(QStringLiteral("select ID from IDlist where IDname='pid'")).AsIntRaw(), kClients * kKeys);
}

TEST_F(PgEngineTest, ConnectionStringChoosesTheServer)
{
    TADOConnection c;
    c.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=%1;Password=;"
                                         "Initial Catalog=master;Data Source=%2")
                              .arg(pgdb::ParseAddress(pgtest::ServerAddress()).user, Address()));
    c.Open();
    EXPECT_EQ(c.Engine().CurrentDatabase(), QStringLiteral("master"));
    c.Close();
    TADOConnection bad;
    bad.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;User ID=nosuchlogin;Password=x;Data Source=%1").arg(Address()));
    EXPECT_THROW(bad.Open(), EOleException);
}

// A session that ends in the middle of a transaction leaves nothing half-written, says so, and
// the client goes on once the transaction is ended.
TEST_F(PgEngineTest, ConnectionLostInTheMiddleOfATransaction)
{
    CreateAccountSet(QStringLiteral("acc"));
    engine->BeginTransaction();
    Run(QStringLiteral("insert into msrglist (mid, qty) values (1, 1)"));
    Run(QStringLiteral("update idlist set id=5 where idname='pid'"));
    {
        std::unique_ptr<DbEngine> admin = Open();
        DbResult r;
        admin->Execute(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where datname = '%1acc'")
                           .arg(m_prefix), r);
    }
    try {
        Run(QStringLiteral("insert into msrglist (mid, qty) values (2, 1)"));
        ADD_FAILURE() << "a statement on a lost session succeeded";
    } catch (const EOleException& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QLatin1String("connection to the database server was lost"))) << e.what();
    }
    EXPECT_THROW(engine->CommitTransaction(), EOleException);   // never reported as done
    EXPECT_FALSE(engine->InTransaction());
    EXPECT_EQ(Scalar(QStringLiteral("select count(*) from msrglist")).AsIntRaw(), 0);
    EXPECT_EQ(Scalar(QStringLiteral("select id from idlist where idname='pid'")).AsIntRaw(), 0);
}
