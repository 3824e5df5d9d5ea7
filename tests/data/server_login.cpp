// On a database server, a login that may create databases but is no superuser opens a new
// server (its registry), creates account sets from the server's template and from the build's
// embedded-engine template, and works in them with the program's bit values.
#include "DM.h"
#include "schema_accountset.h"

using dpxtest::AccountSetTest;

namespace {

class ServerLogin : public AccountSetTest {
protected:
    void SetUp() override
    {
        if (!dpxtest::onServer())
            GTEST_SKIP() << "a server's logins: the embedded engine has none";
        AccountSetTest::SetUp();
    }
    void TearDown() override
    {
        m_clerk.reset();
        if (!m_role.isEmpty()) {
            m_databases.reset();
            dpxtest::serverExec(QStringLiteral("drop role if exists ") + m_role);
        }
        AccountSetTest::TearDown();
    }

    // A connection as a new login with the right to create databases only, to a server prefix
    // of its own (so that it makes the registry itself).
    TADOConnection& clerk()
    {
        m_role = pgtest::NewPrefix() + QStringLiteral("clerk");
        EXPECT_EQ(dpxtest::serverExec(QStringLiteral("create role %1 login createdb nosuperuser").arg(m_role)), QString());
        m_databases = std::make_unique<dpxtest::TestDatabases>();
        m_clerk = std::make_unique<TADOConnection>();
        m_clerk->SetLoginPrompt(false);
        m_clerk->SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=%1;"
                                                    "Initial Catalog=master;Data Source=%2")
                                         .arg(m_role, m_databases->source()));
        return *m_clerk;
    }

    QString clerkRun(const QString& sql) { return run(sql, m_clerk.get()); }

    QString m_role;
    std::unique_ptr<dpxtest::TestDatabases> m_databases;
    std::unique_ptr<TADOConnection> m_clerk;
};

} // namespace

TEST_F(ServerLogin, ALoginThatMayCreateDatabasesKeepsTheBooks)
{
    TADOConnection& con = clerk();
    ASSERT_NO_THROW(con.Open());
    const struct {
        const char* name;
        QString backup;
    } sets[] = {{"fromserver", dpxtest::templateFile()}, {"frombuild", QStringLiteral(DPX_BIN_DIR "/dpxdata/materialdb")}};
    for (const auto& s : sets) {
        const QString name = QString::fromLatin1(s.name);
        ASSERT_EQ(clerkRun(restoreStatement(name, s.backup)), QString()) << s.name;
        ASSERT_EQ(clerkRun(QStringLiteral("Use ") + name), QString());
        EXPECT_EQ(clerkRun(QStringLiteral("insert into emylist (emyname,tel,remark,visibled) values ('张三','','',1)")), QString());
        EXPECT_EQ(clerkRun(QStringLiteral("update emylist set visibled=0 where emyname='张三'")), QString());
        TADOQuery q(&con);
        q.SQL() << QStringLiteral("select visibled from emylist where emyname='张三'");
        q.Open();
        EXPECT_EQ(q.Fields()[0]->DataType(), ftBoolean) << s.name;
        EXPECT_FALSE(q.Fields()[0]->AsBoolean()) << s.name;
        q.Close();
        ASSERT_EQ(clerkRun(QStringLiteral("Use master")), QString());
    }
}

// A login name and password holding ';', quotes and blanks reach the server whole through the
// connection string the data module builds from the settings.
TEST_F(ServerLogin, ALoginNameWithSeparatorsAndQuotesReachesTheServerWhole)
{
    const QString role = pgtest::NewPrefix() + QStringLiteral("o'k;\"x y");
    QString quoted = role;
    quoted.replace(u'"', QStringLiteral("\"\""));
    quoted = u'"' + quoted + u'"';
    ASSERT_EQ(dpxtest::serverExec(QStringLiteral("create role %1 login createdb password 'p;w''\"d' nosuperuser").arg(quoted)), QString());
    {
        const dpxtest::TestDatabases databases;
        TADOConnection con;
        con.SetLoginPrompt(false);
        con.SetConnectionString(TrmtDM::sqlloginconnectstring(databases.source(), role, QStringLiteral("p;w'\"d")));
        EXPECT_EQ(con.ConnectionValue(QStringLiteral("User ID")), role);
        ASSERT_NO_THROW(con.Open());
        TADOQuery q(&con);
        q.SQL() << QStringLiteral("select current_user as who");
        q.Open();
        EXPECT_EQ(q.Fields()[0]->AsString(), role);
    }
    EXPECT_EQ(dpxtest::serverExec(QStringLiteral("drop role if exists ") + quoted), QString());
}
