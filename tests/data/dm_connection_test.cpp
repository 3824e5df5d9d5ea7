// The data module's creation from the settings file, the database switch, transactions,
// execsql, the statement runners and the component factory.
#include "ComponentFactory.h"
#include "Executesql.h"
#include "OpenSql.h"
#include "PasswordCipher.h"
#include "dmfixture.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Provider.h"
#include <QFile>
#include <optional>

namespace {

const QString FirstRun = QStringLiteral("系统在首次运行时先在“连接”中设置好正确参数才能与数据库相连，再退出系统重新运行！");
const QString OpenFailed = QStringLiteral("连接数据库时出错！！！");
const QString Windows = QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                       "Initial Catalog=master;Data Source=\\sqlexpress");

QString SqlLogin(const QString& password, const QString& user, const QString& server = QStringLiteral("\\sqlexpress"))
{
    return QStringLiteral("Provider=SQLOLEDB.1;Password=") + password
         + QStringLiteral(";Persist Security Info=False;User ID=") + user
         + QStringLiteral(";Initial Catalog=master;Data Source=") + server
         + QStringLiteral(";Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4069;WorkStation ID=") + server
         + QStringLiteral(";Use Encryption for Data=False;Tag With Column collation when possible=False");
}

struct SettingsCase {
    const char* name;
    std::optional<QMap<QString, QString>> keys;   // nullopt: no settings file
    QString connectstr;
    QString message;        // empty: nothing shown
    bool connected;
    bool keepConnection;
    bool loginPrompt;
};

} // namespace

TEST_F(DMTest, CreationFromTheSettingsFile)
{
    const QString server = QStringLiteral("\\sqlexpress");
    const QString pw = scrambletext(cipherseeda, cipherseedb, QStringLiteral("pa'ss"));
    const QString odd = scrambletext(cipherseeda, cipherseedb, QStringLiteral("a;b\"c"));
    const QString lead = scrambletext(cipherseeda, cipherseedb, QStringLiteral("\"x"));
    using M = QMap<QString, QString>;
    const SettingsCase cases[] = {
        {"missing file", std::nullopt, QString(), FirstRun, false, true, false},
        {"windows authentication ignores user and password",
         M{{"Server Name", server}, {"Security Info", "False"}, {"User ID", "sa"}, {"Password", pw},
           {"ConnectTimeOut", "5"}, {"KeepConnection", "True"}, {"LoginPrompt", "False"}},
         Windows, QString(), true, true, false},
        {"lower-case false selects the SQL login",
         M{{"Server Name", server}, {"Security Info", "false"}, {"User ID", "sa"}, {"Password", pw},
           {"ConnectTimeOut", "5"}, {"KeepConnection", "true"}, {"LoginPrompt", "True"}},
         SqlLogin(QStringLiteral("pa'ss"), QStringLiteral("sa")), QString(), true, false, true},
        {"missing keys take the first settings' values",
         M{{"Server Name", server}, {"ConnectTimeOut", "7"}},
         Windows, QString(), true, true, false},
        {"no time-out and no server name",
         M{{"App Name", "建设公司"}},
         Windows, QString(), true, true, false},
        {"empty keys take the first settings' values",
         M{{"Server Name", " "}, {"Security Info", ""}, {"ConnectTimeOut", ""}, {"KeepConnection", ""}, {"LoginPrompt", ""}},
         Windows, QString(), true, true, false},
        {"values that would break the string are quoted",
         M{{"Server Name", server}, {"Security Info", "True"}, {"User ID", "s;a"}, {"Password", odd}, {"ConnectTimeOut", "5"}},
         SqlLogin(QStringLiteral("\"a;b\"\"c\""), QStringLiteral("\"s;a\"")), QString(), true, true, false},
        {"a password that starts with a quote is quoted",
         M{{"Server Name", server}, {"Security Info", "True"}, {"User ID", "sa"}, {"Password", lead}, {"ConnectTimeOut", "5"}},
         SqlLogin(QStringLiteral("\"\"\"x\""), QStringLiteral("sa")), QString(), true, true, false},
        {"failed open",
         M{{"Server Name", "postgres://nowhere"}, {"Security Info", "False"}, {"ConnectTimeOut", "5"}},
         QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                        "Initial Catalog=master;Data Source=postgres://nowhere"),
         OpenFailed, false, false, false},
        {"unknown scheme",
         M{{"Server Name", "postgress://192.0.2.10:5432"}, {"Security Info", "False"}, {"ConnectTimeOut", "5"}},
         QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                        "Initial Catalog=master;Data Source=postgress://192.0.2.10:5432"),
         OpenFailed, false, false, false},
        {"bare address",
         M{{"Server Name", "192.0.2.10:5432"}, {"Security Info", "False"}, {"ConnectTimeOut", "5"}},
         QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                        "Initial Catalog=master;Data Source=192.0.2.10:5432"),
         OpenFailed, false, false, false},
        {"non-integer time-out",
         M{{"Server Name", server}, {"Security Info", "False"}, {"ConnectTimeOut", "5s"}},
         QString(), QStringLiteral("'5s' is not a valid integer value"), false, false, false},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Folder() + QStringLiteral("/log/adolinksetting.ini"));
        if (c.keys)
            WriteSettings(*c.keys);
        messages.clear();
        connectstr.clear();
        dbconnected = false;
        dm = std::make_unique<TrmtDM>();
        EXPECT_EQ(connectstr, c.connectstr);
        EXPECT_EQ(dbconnected, c.connected);
        EXPECT_EQ(dm->ADOCon->Connected(), c.connected);
        EXPECT_EQ(dm->testcon->Connected(), false);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(messages.isEmpty());
        } else {
            ASSERT_EQ(messages.size(), 1);
            if (c.message == OpenFailed) {
                // the engine's own message follows; a name the engine does not take shows the forms it takes
                EXPECT_TRUE(messages[0].text.startsWith(OpenFailed + QStringLiteral("\n"))) << messages[0].text.toStdString();
                EXPECT_TRUE(messages[0].text.contains(QStringLiteral("[DBNETLIB]"))) << messages[0].text.toStdString();
                if (!c.connectstr.endsWith(QLatin1String("postgres://nowhere")))
                    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("postgres://"))) << messages[0].text.toStdString();
            } else {
                EXPECT_EQ(messages[0].text, c.message);
            }
            if (c.message == FirstRun || c.message == OpenFailed) {
                EXPECT_EQ(messages[0].caption, QStringLiteral("提示..."));
                EXPECT_EQ(messages[0].kind, MsgKind::Information);
            } else {
                EXPECT_EQ(messages[0].kind, MsgKind::Error);
            }
        }
        if (c.connected) {
            EXPECT_EQ(dm->ADOCon->KeepConnection(), c.keepConnection);
            EXPECT_EQ(dm->ADOCon->LoginPrompt(), c.loginPrompt);
        }
        dm.reset();
    }
    EXPECT_TRUE(QFile::exists(Folder() + QStringLiteral("/log")));
}

// The engine gets the user and password as they were typed, whatever they hold.
TEST_F(DMTest, QuotedConnectionValuesReachTheEngineWhole)
{
    const QString texts[] = {QStringLiteral("a;b\"c"), QStringLiteral("\"x"), QStringLiteral("'q'"), QStringLiteral("pa'ss"),
                             QStringLiteral("x=y;Data Source=elsewhere"), QStringLiteral("\"\""),
                             QStringLiteral("pw;'\"x"), QStringLiteral("'a;b'")};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        WriteSettings({{QStringLiteral("Server Name"), QStringLiteral("\\sqlexpress")}, {QStringLiteral("Security Info"), QStringLiteral("True")},
                       {QStringLiteral("User ID"), text}, {QStringLiteral("Password"), scrambletext(cipherseeda, cipherseedb, text)},
                       {QStringLiteral("ConnectTimeOut"), QStringLiteral("5")}});
        dm = std::make_unique<TrmtDM>();
        EXPECT_TRUE(dbconnected);
        EXPECT_EQ(dm->ADOCon->ConnectionValue(QStringLiteral("Password")), text);
        // the settings file drops quotes around a whole value, as such files do
        const bool wrapped = text.size() > 1 && text.front() == text.back() && (text.front() == u'"' || text.front() == u'\'');
        EXPECT_EQ(dm->ADOCon->ConnectionValue(QStringLiteral("User ID")), wrapped ? text.mid(1, text.size() - 2) : text);
        EXPECT_EQ(dm->ADOCon->ConnectionValue(QStringLiteral("Data Source")), QStringLiteral("\\sqlexpress"));
        dm.reset();
    }
}

TEST_F(DMTest, ServerAndAppNameGoToTheLoginContext)
{
    WriteSettings({{QStringLiteral("Server Name"), QStringLiteral(".\\sqlexpress")},
                   {QStringLiteral("App Name"), QStringLiteral("建设公司")},
                   {QStringLiteral("Security Info"), QStringLiteral("False")},
                   {QStringLiteral("ConnectTimeOut"), QStringLiteral("9")}});
    dm = std::make_unique<TrmtDM>();
    EXPECT_EQ(servername, QStringLiteral(".\\sqlexpress"));
    EXPECT_EQ(accname, QStringLiteral("建设公司"));
    EXPECT_EQ(dm->ADOCon->ConnectionTimeout(), 9);
    EXPECT_EQ(rmtDM, dm.get());
    accname.clear();
}

TEST_F(DMTest, DatabaseSwitchBeforeAndAfterLogin)
{
    Connect();
    ASSERT_TRUE(dm->execsql(QStringLiteral("create table t1 (a int)")));
    EXPECT_EQ(sqls, (QStringList{QStringLiteral("Use Master"), QStringLiteral("create table t1 (a int)")}));
    CreateAccountSet();
    ASSERT_TRUE(dm->execsql(QStringLiteral("update ibm set remark='x' where fid=1")));
    EXPECT_EQ(sqls.first(), QStringLiteral("Use acc"));
    // The database of the last operation stays current for getrecordcount, which switches nothing.
    EXPECT_EQ(dm->getrecordcount(QStringLiteral("select * from ibm")), 3);
    dbname.clear();
    EXPECT_THROW(dm->getrecordcount(QStringLiteral("select * from nosuch")), EAbort);
    dm->OpenindicatinnDB(QString());
    EXPECT_EQ(dm->getrecordcount(QStringLiteral("select * from t1")), 0);
}

// A name "Use" cannot take, or a database that is not there: the statement does not run,
// execsql says so and the switch's error is shown; the caller's transaction stays open.
TEST_F(DMTest, DatabaseNamesThatUseCannotTakeAreRefused)
{
    Connect();
    CreateAccountSet();
    const QString sql = QStringLiteral("update ibm set remark='x'");
    for (const char* bad : {"my db", "acc;drop table x", "1acc", "[acc]", "nosuchdb"}) {
        const QString name = QString::fromUtf8(bad);
        for (const bool intrans : {false, true}) {
            SCOPED_TRACE(std::string(bad) + (intrans ? " inside a transaction" : ""));
            dbname = name;
            sqls.clear();
            messages.clear();
            if (intrans)
                dm->BeginTrans();
            EXPECT_FALSE(dm->execsql(sql));
            EXPECT_EQ(dm->IntransAction(), intrans);
            if (intrans)
                dm->RollbackTrans();
            ASSERT_EQ(messages.size(), 1);
            EXPECT_EQ(messages[0].kind, MsgKind::Error);
            EXPECT_TRUE(messages[0].text.contains(name)) << messages[0].text.toStdString();
            EXPECT_FALSE(sqls.contains(sql));
            // Only a plain identifier reaches "Use".
            EXPECT_EQ(sqls.contains(QStringLiteral("Use ") + name), name == QLatin1String("nosuchdb"));
        }
        EXPECT_THROW(dm->OpenindicatinnDB(name), Exception);
    }
    dbname = QStringLiteral("acc");
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibm order by fid")),
              (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));
    EXPECT_TRUE(TrmtDM::isvaliddbname(QStringLiteral("帐套_2024")));
    EXPECT_TRUE(TrmtDM::isvaliddbname(QStringLiteral("Master")));
}

TEST_F(DMTest, ExecsqlInsideAndOutsideATransaction)
{
    Connect();
    CreateAccountSet();
    const QString bad = QStringLiteral("update nosuch set a=1");
    const QString good = QStringLiteral("update ibm set remark='new' where fid=1");

    // Outside: a transaction of its own, committed or rolled back, nothing shown.
    EXPECT_FALSE(dm->execsql(bad));
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_TRUE(dm->execsql(good));
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibm where fid=1")), QStringList{QStringLiteral("new")});

    // Inside: the caller's transaction stays open; a failure is shown with the statement.
    dm->BeginTrans();
    EXPECT_TRUE(dm->execsql(QStringLiteral("update ibm set remark='inside' where fid=1")));
    EXPECT_FALSE(dm->execsql(bad));
    EXPECT_TRUE(dm->IntransAction());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("数据数据出错：") + bad);
    EXPECT_EQ(messages[0].kind, MsgKind::Information);
    dm->RollbackTrans();
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibm where fid=1")), QStringList{QStringLiteral("new")});
}

TEST_F(DMTest, RunnersTurnErrorsIntoTheSilentAbort)
{
    Connect();
    TQueryPtr query(NewQuery());
    Texecsql exec(query.get(), QStringLiteral("update nosuch set a=1"));
    EXPECT_THROW(exec.Execute(), EAbort);
    ASSERT_TRUE(exec.LastException());
    EXPECT_THROW(std::rethrow_exception(exec.LastException()), EOleException);

    int calls = 0;
    Topensql open(query.get(), QStringLiteral("select 1 as one"));
    open.SetopensqlEvent([&](Topensql* sender, TADOQuery* q) {
        EXPECT_EQ(sender, &open);
        EXPECT_EQ(q, query.get());
        ++calls;
    });
    open.Execute();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(query->FieldByName(QStringLiteral("one"))->AsInteger(), 1);
    EXPECT_FALSE(open.LastException());
    Topensql failing(query.get(), QStringLiteral("select * from nosuch"));
    failing.SetopensqlEvent([&](Topensql*, TADOQuery*) { ++calls; });
    EXPECT_THROW(failing.Execute(), EAbort);
    EXPECT_EQ(calls, 1);
}

TEST_F(DMTest, ComponentFactory)
{
    Connect();
    const QString a = MakeUniqueComponentName(), b = MakeUniqueComponentName();
    EXPECT_NE(a, b);
    for (const QString& n : {a, b}) {
        EXPECT_EQ(n.size(), 37);
        EXPECT_TRUE(n.startsWith(QLatin1Char('C')));
        EXPECT_FALSE(n.contains(QLatin1Char('-')) || n.contains(QLatin1Char('{')) || n.contains(QLatin1Char('}')));
        EXPECT_EQ(n.count(QLatin1Char('_')), 4);
    }
    TQueryPtr query(NewQuery());
    EXPECT_EQ(query->Connection(), dm->ADOCon.get());
    EXPECT_EQ(query->CacheSize(), 1000);
    EXPECT_EQ(query->CursorType(), ctStatic);
    EXPECT_EQ(query->LockType(), ltBatchOptimistic);
    EXPECT_EQ(query->Name().size(), 37);
    TClientDataSetPtr cds(NewClientDataSet());
    EXPECT_FALSE(cds->FetchOnDemand());
    EXPECT_EQ(cds->PacketRecords(), 20);
    EXPECT_FALSE(cds->Active());
    cds.reset();   // a closed client dataset is freed without closing
    TProviderPtr provider(NewProvider());
    EXPECT_EQ(provider->DataSet(), nullptr);
    provider->SetDataSet(query.get());
    provider.reset();

    EXPECT_EQ(ReplaceAllText(QStringLiteral("a-b-c"), QStringLiteral("-"), QStringLiteral("_")), QStringLiteral("a_b_c"));
    EXPECT_EQ(ReplaceAllText(QString(), QStringLiteral("-"), QStringLiteral("_")), QString());
    EXPECT_EQ(ReplaceAllText(QStringLiteral("aaa"), QStringLiteral("aa"), QStringLiteral("a")), QStringLiteral("aa"));
    EXPECT_EQ(ReplaceAllText(QStringLiteral("ab"), QStringLiteral("b"), QStringLiteral("bb")), QStringLiteral("abb"));
}
