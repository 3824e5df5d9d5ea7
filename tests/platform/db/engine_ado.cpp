// TADOConnection and TADOQuery over the embedded engine, and the dpxsql tool.
#include "engine_support.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Program.h"
#include <QDir>
#include <QProcess>

namespace {

const char* const kWindowsAuth = "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=master;Data Source=";
const char* const kSqlLogin = "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;Initial Catalog=master;Data Source=%1;"
                              "Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4069;WorkStation ID=%1;"
                              "Use Encryption for Data=False;Tag With Column collation when possible=False";

} // namespace

class AdoTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure()) return;   // no engine to work on
        MakeTemplate();
        CreateDatabase(QStringLiteral("acc"), MiniSchema());
        Run(QStringLiteral("Use Master"));
    }
    void Connect(TADOConnection& con, const QString& source = QStringLiteral("\\sqlexpress"))
    {
        con.SetLoginPrompt(false);
        con.SetConnectionString(QLatin1String(kWindowsAuth) + source);
        con.Open();
    }
};

TEST_F(AdoTest, ConnectionStringsChooseTheEngine)
{
    for (const QString& cs : {QLatin1String(kWindowsAuth) + QStringLiteral(".\\sqlexpress"),
                              QString::fromLatin1(kSqlLogin).arg(QStringLiteral("\\sqlexpress"))}) {
        TADOConnection con;
        con.SetConnectionString(cs);
        con.Open();
        EXPECT_TRUE(con.Connected());
        EXPECT_EQ(con.CurrentDatabase(), QStringLiteral("master"));
        EXPECT_THROW(con.SetConnectionString(QString()), EOleException);
        con.Close();
        EXPECT_FALSE(con.Connected());
    }
    TADOConnection pg;
    pg.SetConnectionString(QLatin1String(kWindowsAuth) + QStringLiteral("postgres://localhost/dpx"));
    EXPECT_THROW(pg.Open(), EOleException);
    TADOConnection none;
    EXPECT_THROW(none.Open(), EOleException);
    none.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Initial Catalog=master"));
    EXPECT_THROW(none.Open(), EOleException);
}

TEST_F(AdoTest, QueryFieldsAreTyped)
{
    TADOConnection con;
    Connect(con);
    TADOQuery q(&con);
    q.SQL() << QStringLiteral("Use acc");
    q.ExecSQL();
    q.SQL().clear();
    q.SQL() << QStringLiteral("insert into ibmaster (fid, pid, billnum, bdate, brecorded) values (1, 2, N'入库 1', '2024/1/5', 1)");
    EXPECT_EQ(q.ExecSQL(), 1);
    EXPECT_EQ(q.RowsAffected(), 1);
    q.SQL().clear();
    q.SQL() << QStringLiteral("insert into msrglist (mid, qty, cost) values (1, 0.1, 2)");
    q.ExecSQL();
    q.SQL().clear();
    q.SQL() << QStringLiteral("insert into ebmaster (fid, dptcode, smallv) values (1, '001', 7)");
    q.ExecSQL();

    q.SQL().clear();
    q.SQL() << QStringLiteral("select a.fid, a.billnum, a.bdate, a.brecorded, m.qty, e.dptcode, e.smallv, m.qty*2, a.fid as mid, m.mid")
            << QStringLiteral("from ibmaster a, msrglist m, ebmaster e");
    q.Open();
    ASSERT_EQ(q.FieldCount(), 10);
    const TFieldType types[] = {ftInteger, ftString, ftDateTime, ftBoolean, ftBCD, ftFixedChar, ftSmallint, ftFloat, ftInteger, ftInteger};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(q.Fields().Fields(i)->DataType(), types[i]) << i;
    EXPECT_EQ(q.FieldByName(QStringLiteral("billnum"))->AsString(), QStringLiteral("入库 1"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("bdate"))->AsDateTime(), EncodeDate(2024, 1, 5));
    EXPECT_EQ(q.FieldByName(QStringLiteral("qty"))->AsCurrency(), Currency::FromRaw(1000));
    EXPECT_EQ(q.FieldByName(QStringLiteral("dptcode"))->AsString().size(), 50);
    // an unnamed expression and a repeated name
    EXPECT_EQ(q.Fields().Fields(7)->FieldName(), QStringLiteral("COLUMN8"));
    EXPECT_EQ(q.Fields().Fields(8)->FieldName(), QStringLiteral("mid"));
    EXPECT_EQ(q.Fields().Fields(9)->FieldName(), QStringLiteral("mid_1"));
    q.Close();

    // MaxRecords limits the rows fetched
    for (int i = 2; i <= 5; ++i) {
        q.SQL().clear();
        q.SQL() << QStringLiteral("insert into msrglist (mid, qty) values (%1, %1)").arg(i);
        q.ExecSQL();
    }
    q.SQL().clear();
    q.SQL() << QStringLiteral("select * from msrglist order by mid");
    q.SetMaxRecords(3);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);
    q.Close();
}

TEST_F(AdoTest, ErrorsAndTransactions)
{
    TADOConnection con;
    Connect(con);
    TADOQuery q(&con);
    q.SQL() << QStringLiteral("Use acc");
    q.ExecSQL();
    q.SQL().clear();
    q.SQL() << QStringLiteral("select * from nosuchtable");
    try {
        q.Open();
        FAIL() << "no error";
    } catch (const EOleException& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("nosuchtable")));
    }
    EXPECT_FALSE(q.Active());
    q.SQL().clear();
    q.SQL() << QStringLiteral("update msrglist set qty=1");
    EXPECT_THROW(q.Open(), EOleException);   // returns no rows

    EXPECT_FALSE(con.InTransaction());
    con.BeginTrans();
    EXPECT_TRUE(con.InTransaction());
    q.SQL().clear();
    q.SQL() << QStringLiteral("insert into msrglist (mid, qty) values (9, 1)");
    q.ExecSQL();
    con.RollbackTrans();
    EXPECT_FALSE(con.InTransaction());
    q.SQL().clear();
    q.SQL() << QStringLiteral("select * from msrglist");
    q.Open();
    EXPECT_EQ(q.RecordCount(), 0);
    // closing the connection closes its queries
    con.Close();
    EXPECT_FALSE(q.Active());
}

TEST_F(AdoTest, DpxsqlTool)
{
    const QString tool = QStringLiteral(DPX_BIN_DIR "/dpxsql");
    ASSERT_TRUE(QFileInfo::exists(tool)) << tool.toStdString();
    auto runTool = [&](const QStringList& args, const QString& input, QString& out, QString& err) {
        QProcess p;
        p.start(tool, args);
        p.write(input.toUtf8());
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(300000));
        out = QString::fromUtf8(p.readAllStandardOutput());
        err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    };
    QString out, err;
    EXPECT_EQ(runTool({Folder(), QStringLiteral("acc")},
                      QStringLiteral("insert into ibmaster (fid, billnum, bdate) values (1, N'入库 1', '2024/1/5')\n"
                                     "select fid, billnum, bdate, pid from ibmaster\n"), out, err), 0) << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("fid\tbillnum\tbdate\tpid\n1\t入库 1\t2024-01-05\tNULL\n"));
    // a new account set from a backup, by the restore statement the program sends
    Run(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1/tpl' with init").arg(Folder()));
    EXPECT_EQ(runTool({Folder()},
                      QStringLiteral("Use Master  RESTORE DATABASE acc2 FROM DISK ='%1\\tpl' with file=1,replace,"
                                     "MOVE 'materialdb_data' TO '%1\\Database\\acc2_data.mdf',MOVE 'materialdB_Log' TO '%1\\Database\\acc2_log.ldf'\n"
                                     "Use acc2\nselect count(*) as n from ibmaster\n").arg(Folder()), out, err), 0) << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("n\n1\n"));
    EXPECT_EQ(runTool({Folder(), QStringLiteral("acc")}, QStringLiteral("select 1\nselect * from nosuch\nselect 2\n"), out, err), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("line 2"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("nosuch")));
    EXPECT_EQ(runTool({Folder(), QStringLiteral("nosuchdb")}, QString(), out, err), 1);
}
