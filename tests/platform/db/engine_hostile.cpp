// Backups that carry code: restored as a new account set and over one, on both engines, nothing
// the file declares runs. The database gets the template's schema and the file's rows, or the
// restore is refused with its reason; the existing account set stays as it was, online, and the
// login keeps its password.
#include "engine_support.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <sqlite3.h>

namespace {

// The login's stored password on the test server ("" on the embedded engine).
QString LoginPassword()
{
    if (!pgtest::OnServer()) return QString();
    PGconn* c = PQconnectdb(pgtest::MaintenanceInfo().constData());
    PGresult* r = PQexec(c, "select coalesce(rolpassword, '<none>') from pg_authid where rolname = current_user");
    const QString out = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 ? QString::fromUtf8(PQgetvalue(r, 0, 0))
                                                                                   : QStringLiteral("<unreadable>");
    PQclear(r);
    PQfinish(c);
    return out;
}

// Runs SQLite text on a backup file as it stands, with the schema writable.
void Edit(const QString& file, const QString& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    char* err = nullptr;
    const int rc = sqlite3_exec(db, ("PRAGMA writable_schema=ON; " + sql + "; PRAGMA writable_schema=OFF;").toUtf8().constData(),
                                nullptr, nullptr, &err);
    const QString msg = err ? QString::fromUtf8(err) : QString();
    sqlite3_free(err);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << msg.toStdString();
}

} // namespace

class EngineHostileBackup : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure()) return;
        MakeTemplate();
        CreateDatabase(QStringLiteral("acc"), MiniSchema());
        Run(QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (1, N'入库 11-1', '2024/1/5')"));
        Run(QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (2, N'入库 11-2', '2024/1/6')"));
        Run(QStringLiteral("insert into msrglist (mid, qty, cost) values (1, 1.5, 10.25)"));
        QDir().mkpath(Folder() + QStringLiteral("/backdata"));
        Run(QStringLiteral("Use Master"));
        Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("good"))));
        // what the good backup restores is the two bills; acc holds one when the test starts
        Run(QStringLiteral("Use acc"));
        Run(QStringLiteral("delete ibmaster where fid=2"));
        Run(QStringLiteral("Use Master"));
    }
    QString Backup(const QString& name) const { return Folder() + QStringLiteral("/backdata/") + name; }
    // The server database of acc: what a payload would take offline.
    QString ServerDb() const { return m_prefix + QStringLiteral("acc"); }
    QStringList Contents(const QString& db)
    {
        auto client = OpenClient();
        DbResult r;
        client->Execute(QStringLiteral("Use ") + db, r);
        QStringList out;
        for (const char* sql : {"select fid, billnum from ibmaster order by fid", "select mid, qty from msrglist order by mid"}) {
            client->Execute(QString::fromLatin1(sql), r);
            for (const DbRow& row : r.rows) out << row[0].ToString() + u'|' + row[1].ToString();
        }
        return out;
    }
    bool Online(const QString& name)
    {
        for (const DbDatabaseInfo& d : engine->Databases())
            if (d.name.compare(name, Qt::CaseInsensitive) == 0) return d.online;
        return false;
    }
    // Whether db exists and has table (the one a payload would make).
    bool HasTable(const QString& db, const QString& table)
    {
        auto client = OpenClient();
        DbResult r;
        try {
            client->Execute(QStringLiteral("Use ") + db, r);
            client->Execute(QStringLiteral("select count(*) from ") + table, r);
            return true;
        } catch (const EOleException&) {
            return false;
        }
    }
};

TEST_F(EngineHostileBackup, NothingFromTheFileRuns)
{
    const QString marker = Folder() + QStringLiteral("/marker");
    // What a file's statements would do as the account-set login: change its password, take the
    // live account set offline, leave a table and, on the embedded engine, a file behind.
    const QString payload = QStringLiteral("; ALTER ROLE CURRENT_USER PASSWORD ''pwned''; "
                                           "ALTER DATABASE \"%1\" WITH ALLOW_CONNECTIONS false; CREATE TABLE marker (x int); "
                                           "ATTACH DATABASE ''%2'' AS m; CREATE TABLE m.t (x int)")
                                .arg(ServerDb(), marker);
    const QStringList good{QStringLiteral("1|入库 11-1"), QStringLiteral("2|入库 11-2"), QStringLiteral("1|1.5")};
    const struct {
        const char* name;
        std::function<void(const QString&)> make;   // turns a copy of the good backup into the hostile one
        const char* reason;                          // empty: restored as data
    } cases[] = {
        {"trailing statements in the stored schema text",
         [&](const QString& f) { Edit(f, QStringLiteral("update sqlite_master set sql = sql || '%1' where name = 'ibmaster'").arg(payload)); },
         ""},
        {"a trigger",
         [&](const QString& f) { Edit(f, QStringLiteral("create trigger evil after insert on ibmaster begin update msrglist set qty = 666; end")); },
         ""},
        {"a check constraint calling a function",
         [&](const QString& f) {
             Edit(f, QStringLiteral("update sqlite_master set sql = 'CREATE TABLE \"msrglist\" (\"mid\" int not null primary key, "
                                    "\"qty\" numeric(18,4), \"cost\" numeric(18,4), check (load_extension(''%1'') is null))' "
                                    "where name = 'msrglist'").arg(marker));
         },
         ""},
        {"a view in a table's place",
         [&](const QString& f) { Edit(f, QStringLiteral("drop table msrglist; create view msrglist as select 1 as mid, 666 as qty, 1 as cost")); },
         "msrglist is not a table"},
        {"a computed column calling a function",
         [&](const QString& f) { Edit(f, QStringLiteral("alter table ibmaster add column evil text generated always as (upper(billnum)) virtual")); },
         "computed column evil"},
        {"an extra column",
         [&](const QString& f) { Edit(f, QStringLiteral("alter table ibmaster add column evil text")); },
         "column evil not in the account set"},
        {"another schema",
         [&](const QString& f) { Edit(f, QStringLiteral("drop table msrglist; drop table ibmaster; create table notes (x int)")); },
         "table notes is not in the account set"},
        {"a truncated file",
         [&](const QString& f) {
             QFile file(f);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             ASSERT_TRUE(file.resize(file.size() / 2));
         },
         "damaged"},
        {"a server dump",
         [&](const QString& f) {
             QFile file(f);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
             file.write("PGDMP\x01\x0e\x00\x04\x08\x01\x01\x01");
         },
         ""},
    };
    const QString password = LoginPassword();
    const QStringList before = Contents(QStringLiteral("acc"));
    ASSERT_EQ(before.size(), 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = Backup(QStringLiteral("hostile"));
        QFile::remove(file);
        ASSERT_TRUE(QFile::copy(Backup(QStringLiteral("good")), file));
        c.make(file);
        // a dump is refused by both engines, each naming why
        const QString reason = QString::fromUtf8(c.reason).isEmpty() && QString::fromLatin1(c.name) == QLatin1String("a server dump")
                                   ? (m_prefix.isEmpty() ? QStringLiteral("incorrectly formed") : QStringLiteral("not read"))
                                   : QString::fromUtf8(c.reason);
        for (const bool asNew : {true, false}) {
            SCOPED_TRACE(asNew ? "as a new account set" : "over the account set");
            Run(QStringLiteral("Use Master"));
            const QString sql = asNew ? QStringLiteral("Use Master  RESTORE DATABASE fresh FROM DISK ='%1' with file=1,replace,"
                                                       "MOVE 'materialdb_data' TO '%2/fresh_data.mdf',MOVE 'materialdB_Log' TO '%2/fresh_log.ldf'")
                                            .arg(file, DataFolder())
                                      : QStringLiteral("use Master ALTER DATABASE acc set offline with rollback immediate  RESTORE DATABASE acc "
                                                       "FROM DISK ='%1' with file=1,replace  alter database acc set online with rollback "
                                                       "immediate  Use acc").arg(file);
            QString error;
            try {
                Run(sql);
            } catch (const EOleException& e) {
                error = e.Message();
            }
            const QString db = asNew ? QStringLiteral("fresh") : QStringLiteral("acc");

            if (reason.isEmpty()) {
                EXPECT_EQ(error, QString());
                EXPECT_EQ(Contents(db), good);
                // the file's trigger is not there
                auto client = OpenClient();
                DbResult r;
                client->Execute(QStringLiteral("Use ") + db, r);
                client->Execute(QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (9, 'x', '2024/2/1')"), r);
                client->Execute(QStringLiteral("select qty from msrglist where mid=1"), r);
                EXPECT_EQ(r.rows.value(0).value(0).ToString(), QStringLiteral("1.5"));
                client->Execute(QStringLiteral("delete ibmaster where fid=9"), r);
            } else {
                EXPECT_TRUE(error.contains(reason)) << error.toStdString();
                EXPECT_FALSE(engine->DatabaseExists(QStringLiteral("fresh")));
            }
            // nothing ran
            EXPECT_FALSE(HasTable(db, QStringLiteral("marker")));
            EXPECT_FALSE(QFileInfo::exists(marker));
            EXPECT_EQ(LoginPassword(), password);
            EXPECT_TRUE(Online(QStringLiteral("acc")));
            if (!reason.isEmpty() || asNew) {
                EXPECT_EQ(Contents(QStringLiteral("acc")), before);
            }
            // for the next case: acc as it was, no fresh
            Run(QStringLiteral("Use Master"));
            if (engine->DatabaseExists(QStringLiteral("fresh"))) Run(QStringLiteral(" drop database fresh select 1"));
            if (!asNew && reason.isEmpty()) {
                Run(QStringLiteral("Use acc"));
                Run(QStringLiteral("delete ibmaster where fid=2"));
                Run(QStringLiteral("Use Master"));
            }
        }
    }
}
