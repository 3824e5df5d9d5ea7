// Restoring over an account set that holds data: a bad backup, a failed switch of database and
// a killed restore all leave the account set as it was, online; names no database may have.
#include "engine_support.h"
#include "platform/rtl/IniFile.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

class EngineRestore : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure()) return;
        MakeTemplate(MiniSchema() << BigTable());
        CreateDatabase(QStringLiteral("acc"), MiniSchema() << BigTable());
        Run(QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (1, N'入库 11-1', '2024/1/5')"));
        Run(QStringLiteral("insert into msrglist (mid, qty, cost) values (1, 1.5, 10.25)"));
        Run(QStringLiteral("Use Master"));
        QDir().mkpath(Folder() + QStringLiteral("/backdata"));
    }
    static QString BigTable() { return QStringLiteral("create table big (fid int not null, txt varchar(200) null)"); }
    QString Backup(const QString& name) const { return Folder() + QStringLiteral("/backdata/") + name; }
    // The restore dialog's batch over acc.
    QString RestoreBatch(const QString& file) const
    {
        return QStringLiteral("use Master ALTER DATABASE acc set offline with rollback immediate  RESTORE DATABASE acc FROM DISK ='%1' "
                              "with file=1,replace  alter database acc set online with rollback immediate  Use acc")
            .arg(QDir::toNativeSeparators(file));
    }
    // What acc holds, read by a client of its own.
    QStringList Contents()
    {
        auto client = OpenClient();
        DbResult r;
        client->Execute(QStringLiteral("Use acc"), r);
        QStringList out;
        for (const char* sql : {"select fid, billnum from ibmaster order by fid", "select mid, qty from msrglist order by mid",
                                "select IDname, ID from IDlist order by IDname"}) {
            client->Execute(QString::fromLatin1(sql), r);
            for (const DbRow& row : r.rows) {
                QStringList cells;
                for (const Variant& v : row) cells << v.ToString();
                out << cells.join(u'|');
            }
        }
        return out;
    }
    bool Online(const QString& name)
    {
        for (const DbDatabaseInfo& d : engine->Databases())
            if (d.name.compare(name, Qt::CaseInsensitive) == 0) return d.online;
        return false;
    }
    QString DataFile(const QString& name)
    {
        for (const DbDatabaseInfo& d : engine->Databases())
            if (d.name.compare(name, Qt::CaseInsensitive) == 0) return d.file;
        return QString();
    }
    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(EngineRestore, BadBackupsLeaveTheAccountSetIntactAndOnline)
{
    // a good backup with more rows than acc, the source of the damaged ones
    Run(QStringLiteral("Use acc"));
    for (int i = 2; i < 400; ++i)
        Run(QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (%1, N'入库 %1 的一张相当长的单据号码', '2024/1/5')").arg(i));
    Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("good"))));
    Run(QStringLiteral("delete ibmaster where fid>1"));
    // a database of another kind, and one without tables, in the portable format of both engines
    {
        const std::unique_ptr<DbEngine> maker = OpenDbEngine(QStringLiteral("\\sqlexpress"), 5, Folder() + QStringLiteral("/others"));
        DbResult r;
        const std::pair<const char*, QStringList> others[] = {
            {"foreign", {QStringLiteral("create table [dbo].[notes] ([fid] [int] NOT NULL, [txt] [varchar] (20) NULL)"),
                         QStringLiteral("insert into notes (fid, txt) values (1, 'x')")}},
            {"bare", {}}};
        for (const auto& [name, ddl] : others) {
            maker->Execute(QStringLiteral("create database ") + QLatin1String(name), r);
            maker->Execute(QStringLiteral("Use ") + QLatin1String(name), r);
            for (const QString& s : ddl) maker->Execute(s, r);
            maker->Execute(QStringLiteral("Use Master"), r);
            maker->Execute(QStringLiteral("BACKUP DATABASE %1 TO DISK ='%2' with init").arg(QLatin1String(name), Backup(QLatin1String(name))), r);
        }
    }
    Run(QStringLiteral("Use Master"));
    const QByteArray good = ReadFile(Backup(QStringLiteral("good")));
    ASSERT_GT(good.size(), 8192);
    QByteArray zeroed = good;
    for (qsizetype i = good.size() / 3; i < good.size() / 3 + 4096 && i < good.size(); ++i) zeroed[i] = 0;
    WriteFile(Backup(QStringLiteral("zeroed")), zeroed);
    WriteFile(Backup(QStringLiteral("truncated")), good.left(good.size() / 2));
    WriteFile(Backup(QStringLiteral("empty")), QByteArray());
    WriteFile(Backup(QStringLiteral("text")), QByteArray("not a backup at all\n"));

    const QStringList before = Contents();
    ASSERT_EQ(before.size(), 4);
    for (const char* name : {"zeroed", "truncated", "foreign", "bare", "empty", "text", "nosuch"}) {
        const QString file = Backup(QString::fromLatin1(name));
        for (const bool fromAcc : {false, true}) {
            if (fromAcc) Run(QStringLiteral("Use acc"));
            EXPECT_THROW(Run(RestoreBatch(file)), EOleException) << name;
            EXPECT_TRUE(Online(QStringLiteral("acc"))) << name;
            EXPECT_EQ(Contents(), before) << name;
            // the session goes on: acc is reachable and so is master
            Run(QStringLiteral("Use acc"));
            EXPECT_EQ(Scalar(QStringLiteral("select count(*) from ibmaster")).ToString(), QStringLiteral("1")) << name;
            Run(QStringLiteral("Use Master"));
        }
    }
    // and the good backup restores
    Run(RestoreBatch(Backup(QStringLiteral("good"))));
    EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("acc"));
    EXPECT_EQ(Scalar(QStringLiteral("select count(*) from ibmaster")).ToString(), QStringLiteral("399"));
    EXPECT_TRUE(Online(QStringLiteral("acc")));
    // a database taken offline on its own stays offline until it is set online
    Run(QStringLiteral("Use Master"));
    Run(QStringLiteral("ALTER DATABASE acc set offline with rollback immediate"));
    EXPECT_FALSE(Online(QStringLiteral("acc")));
    Run(QStringLiteral("alter database acc set online"));
}

TEST_F(EngineRestore, AFailedSwitchKeepsTheCurrentDatabase)
{
    CreateDatabase(QStringLiteral("acc2"), MiniSchema());
    Run(QStringLiteral("Use master"));
    const QString file = DataFile(QStringLiteral("acc2"));
    const QByteArray header("SQLite format 3", 16);
    const struct {
        const char* name;
        std::function<void()> damage;
        bool embeddedOnly;
    } cases[] = {
        {"no such database", [] {}, false},
        {"missing file", [&] { QFile::remove(file); }, true},
        {"zero-byte file", [&] { WriteFile(file, QByteArray()); }, true},
        {"zeroed header", [&] { QByteArray b = ReadFile(file); b.fill(0, 100); WriteFile(file, b); }, true},
        {"zeroed catalogue", [&] { QByteArray b = ReadFile(file); for (int i = 100; i < std::min<int>(b.size(), 4096); ++i) b[i] = 0; WriteFile(file, b); }, true},
    };
    for (const auto& c : cases) {
        if (c.embeddedOnly && !m_prefix.isEmpty()) continue;   // a server keeps its files to itself
        Run(QStringLiteral("Use acc"));
        const QByteArray kept = m_prefix.isEmpty() ? ReadFile(file) : QByteArray();
        c.damage();
        const QString target = QString::fromLatin1(c.name) == QLatin1String("no such database") ? QStringLiteral("nosuch")
                                                                                                   : QStringLiteral("acc2");
        EXPECT_THROW(Run(QStringLiteral("Use ") + target), EOleException) << c.name;
        EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("acc")) << c.name;
        EXPECT_EQ(Scalar(QStringLiteral("select count(*) from ibmaster")).ToString(), QStringLiteral("1")) << c.name;
        Run(QStringLiteral("Use acc"));
        Run(QStringLiteral("insert into msrglist (mid, qty, cost) values (2, 1, 1)"));
        Run(QStringLiteral("delete msrglist where mid=2"));
        Run(QStringLiteral("Use master"));
        EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("master")) << c.name;
        if (!kept.isEmpty()) WriteFile(file, kept);
    }
}

TEST_F(EngineRestore, NamesThatAreNoDatabaseNames)
{
    for (const char* name : {"[../x]", "[a/b]", "[a\\b]", "[..]"}) {
        EXPECT_THROW(Run(QStringLiteral("create database ") + QString::fromLatin1(name)), EOleException) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(Folder() + QStringLiteral("/x_data.mdf")));
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files), QStringList());
    // the server's limit of 63 bytes is not cut silently
    const QString longName = QString(70 - m_prefix.size(), u'a');
    if (!m_prefix.isEmpty()) {
        EXPECT_THROW(Run(QStringLiteral("create database ") + longName), EOleException);
        EXPECT_FALSE(engine->DatabaseExists(longName.left(60)));
    }
}

// A restore killed half way leaves acc online, holding either its old rows or all the new ones,
// for the next start.
TEST_F(EngineRestore, KilledRestoreLeavesTheAccountSetOnline)
{
    const QString tool = QStringLiteral(DPX_BIN_DIR "/dpxsql");
    ASSERT_TRUE(QFileInfo::exists(tool)) << tool.toStdString();
    if (!m_prefix.isEmpty()) {
        TIniFile ini(Folder() + QStringLiteral("/log/adolinksetting.ini"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), ClientSource());
    }
    Run(QStringLiteral("Use acc"));
    Run(QStringLiteral("insert into big (fid, txt) values (1, '%1')").arg(QString(180, u'x')));
    for (int i = 0; i < 14; ++i) Run(QStringLiteral("insert into big (fid, txt) select fid + (select count(*) from big), txt from big"));
    const QString big = Scalar(QStringLiteral("select count(*) from big")).ToString();
    Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1' with init").arg(Backup(QStringLiteral("big"))));
    Run(QStringLiteral("delete big where fid > 1"));
    Run(QStringLiteral("Use Master"));
    engine.reset();
    for (const int delayMs : {30, 120, 400, 1000}) {
        QProcess p;
        p.start(tool, {Folder()});
        ASSERT_TRUE(p.waitForStarted());
        p.write((RestoreBatch(Backup(QStringLiteral("big"))) + u'\n').toUtf8());
        p.closeWriteChannel();
        QThread::msleep(delayMs);
        p.kill();   // SIGKILL
        p.waitForFinished();
        // the next start
        engine = OpenClient();
        EXPECT_TRUE(Online(QStringLiteral("acc"))) << delayMs;
        Run(QStringLiteral("Use acc"));
        const QString n = Scalar(QStringLiteral("select count(*) from big")).ToString();
        EXPECT_TRUE(n == QLatin1String("1") || n == big) << delayMs << " ms: " << n.toStdString();
        EXPECT_EQ(Scalar(QStringLiteral("select count(*) from ibmaster")).ToString(), QStringLiteral("1"));
        Run(QStringLiteral("Use Master"));
        engine.reset();
    }
    engine = OpenClient();
}

// A data file with a damaged page deep in a table is found when the database is opened, and the
// message names the file; the connection stays where it was.
TEST_F(EngineRestore, ADamagedPageIsFoundWhenTheDatabaseOpens)
{
    if (!m_prefix.isEmpty()) GTEST_SKIP() << "a server keeps its files to itself";
    CreateDatabase(QStringLiteral("acc2"), MiniSchema());
    for (int i = 1; i < 300; ++i)
        Run(QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (%1, N'入库 %1 的一张相当长的单据号码', '2024/1/5')").arg(i));
    Run(QStringLiteral("Use Master"));
    const QString file = DataFile(QStringLiteral("acc2"));
    engine.reset();   // every client closes the file: its pages are all written back
    engine = OpenClient();
    QByteArray bytes = ReadFile(file);
    ASSERT_GT(bytes.size(), 6 * 4096);
    // a page of the table's rows, past the catalogue
    for (qsizetype i = bytes.size() - 2 * 4096 + 8; i < bytes.size() - 4096; ++i) bytes[i] = char(0x5a);
    WriteFile(file, bytes);
    Run(QStringLiteral("Use acc"));
    try {
        Run(QStringLiteral("Use acc2"));
        FAIL() << "a damaged data file was opened";
    } catch (const EOleException& e) {
        EXPECT_TRUE(e.Message().contains(file)) << e.what();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("damaged"))) << e.what();
    }
    EXPECT_EQ(engine->CurrentDatabase(), QStringLiteral("acc"));
}
