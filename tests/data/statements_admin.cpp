// The account-set administration: the registry in master, creating an account set from the
// template, backing it up, restoring it, taking it offline and deleting it, with the batches the
// dialogs send (several statements without separators).
#include "statements_steps.h"

#include <QFile>

using dpxtest::Step;
using dpxtest::StatementTable;

namespace {

class AdministrationTable : public StatementTable {
protected:
    bool createAccountSet() const override { return false; }
};

// The registry's creation statement as the account-set dialog sends it.
QString registryStatement()
{
    QFile f(QStringLiteral(DPX_SCHEMA_DIR "/registry.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QString text;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("--")) && line.trimmed() != QLatin1String("GO"))
            text += line;
    }
    return text.trimmed();
}

} // namespace

TEST_F(AdministrationTable, RegistryInMaster)
{
    const QString exists = QStringLiteral("select * from dbo.sysobjects where id = object_id(N'[dbo].[materialdblist]')");
    const QString create = registryStatement();
    ASSERT_TRUE(create.startsWith(QLatin1String("CREATE TABLE [dbo].[materialdblist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,")));
    // A new server's master lacks the registry until the account-set dialog creates it.
    EXPECT_EQ(rows(exists), QString());
    EXPECT_EQ(run(create), QString());
    EXPECT_EQ(rows(exists).count(QLatin1Char('\n')), 0);
    EXPECT_FALSE(rows(exists).isEmpty());
    EXPECT_FALSE(rows(exists).startsWith(QLatin1String("ERROR"))) << rows(exists).toStdString();
    QStringList columns;
    EXPECT_EQ(rows(QStringLiteral("select * from master..materialdblist"), &columns), QString());
    EXPECT_EQ(columns.join(QLatin1Char(' ')), QStringLiteral("fid accname dbname remark"));
    // The company name is required; the other two may stay empty.
    EXPECT_NE(run(QStringLiteral(" insert into Master..materialdblist(dbname) values('x')")), QString());
    // A test in an account set still reaches master's table, never a table of the account set.
    EXPECT_EQ(run(restoreStatement(QStringLiteral("acct"))), QString());
    EXPECT_EQ(run(QStringLiteral("Use acct")), QString());
    EXPECT_FALSE(rows(QStringLiteral("select * from dbo.sysobjects where id = object_id(N'[dbo].[materialdblist]')")).isEmpty());
}

TEST_F(AdministrationTable, CreateBackUpRestoreAndDeleteAccountSets)
{
    if (rows(QStringLiteral("select * from dbo.sysobjects where id = object_id(N'[dbo].[materialdblist]')")).isEmpty()) {
        ASSERT_EQ(run(registryStatement()), QString());
    }
    const Step steps[] = {
        {'x', "Use Master  RESTORE DATABASE acct FROM DISK ='{tpl}' with file=1,replace,MOVE 'materialdb_data' TO "
              "'{dir}/Database/acct_data.mdf',MOVE 'materialdB_Log' TO '{dir}/Database/acct_log.ldf'",
         "select count(*) from master..materialdblist", "0"},
        {'x', " insert into Master..materialdblist(accname,dbname,remark) values('华北建设','acct','测试帐套')",
         "select fid,accname,dbname,remark from master..materialdblist", "1|华北建设|acct|测试帐套"},
        {'q', "select * from master..materialdblist where fid>0 order by fid", nullptr, "1|华北建设|acct|测试帐套"},
        {'q', "select * from master..materialdblist where fid>'10' and fid>0 order by fid", nullptr, ""},
        {'x', "Use acct", "select count(*) from TableField", "39"},
        {'q', "select * from master..materialdblist where fid>0 order by fid", nullptr, "1|华北建设|acct|测试帐套"},
        {'x', "update master..materialdblist set accname='华北建设集团',remark='' where fid='1'",
         "select accname,remark from Master..materialdblist", "华北建设集团|"},
        {'x', "update idlist set id=5 where idname='MID'", nullptr, nullptr},
        {'x', "BACKUP DATABASE acct TO DISK ='{dir}/backdata/acct1' with init", "select ID from IDlist where IDname='MID'", "5"},
        {'x', "update idlist set id=9 where idname='MID'", nullptr, nullptr},
        {'x', "use Master ALTER DATABASE acct set offline with rollback immediate  RESTORE DATABASE acct FROM DISK ="
              "'{dir}/backdata/acct1' with file=1,replace  alter database acct set online with rollback immediate  Use acct",
         "select ID from IDlist where IDname='MID'", "5"},
        {'x', "Use Master  RESTORE DATABASE other FROM DISK ='{tpl}' with file=1,replace,MOVE 'materialdb_data' TO "
              "'{dir}/Database/other_data.mdf',MOVE 'materialdB_Log' TO '{dir}/Database/other_log.ldf'",
         nullptr, nullptr},
        {'x', " insert into Master..materialdblist(accname,dbname,remark) values('二公司','other','')",
         "select fid,dbname from master..materialdblist order by fid", "1|acct\n2|other"},
        {'x', " Use Master ", "select count(*) from materialdblist", "2"},
        {'x', " drop database other select 1", "select count(*) from Master..materialdblist where dbname='other'", "1"},
        {'f', "Use other", nullptr, nullptr},
        {'x', "Delete from Master..materialdblist where dbname='other'", "select dbname from master..materialdblist order by fid", "acct"},
        {'f', " drop database other select 1", nullptr, nullptr},
        {'f', "Use Master  RESTORE DATABASE bad FROM DISK ='{dir}/backdata/nosuch' with file=1,replace,MOVE 'materialdb_data' TO "
              "'{dir}/Database/bad_data.mdf',MOVE 'materialdB_Log' TO '{dir}/Database/bad_log.ldf'",
         nullptr, nullptr},
        {'f', "Use bad", nullptr, nullptr},
        // Creating an account set under a name that exists leaves that account set alone.
        {'f', "Use Master  RESTORE DATABASE acct FROM DISK ='{tpl}' with file=1,replace,MOVE 'materialdb_data' TO "
              "'{dir}/Database/acct_data.mdf',MOVE 'materialdB_Log' TO '{dir}/Database/acct_log.ldf'",
         "select count(*) from master..materialdblist", "1"},
        // A database name with a blank reaches "Use" unquoted and fails.
        {'f', "Use acct books", nullptr, nullptr},
        {'x', "use Master ALTER DATABASE acct set offline with rollback immediate", nullptr, nullptr},
        {'f', "Use acct", nullptr, nullptr},
        {'x', "alter database acct set online with rollback immediate", nullptr, nullptr},
        {'x', "Use acct", "select ID from IDlist where IDname='MID'", "5"},
        // A new fid is never one that was handed out before.
        {'x', " insert into Master..materialdblist(accname,dbname,remark) values('三公司','third','')",
         "select fid,dbname from master..materialdblist order by fid", "1|acct\n3|third"},
    };
    play(steps);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("backdata/acct1"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Database/other_data.mdf"))));
}

// The dialog composes its paths from the program folder with backslashes, as the program did.
TEST_F(AdministrationTable, PathsComposedWithBackslashes)
{
    ASSERT_TRUE(QFile::copy(dpxtest::templateFile(), path(QStringLiteral("dpxdata/bs backup"))));
    const Step steps[] = {
        {'x', "Use Master  RESTORE DATABASE bs FROM DISK ='{dir}\\dpxdata\\bs backup' with file=1,replace,MOVE 'materialdb_data' TO "
              "'{dir}\\Database\\bs_data.mdf',MOVE 'materialdB_Log' TO '{dir}\\Database\\bs_log.ldf'",
         nullptr, nullptr},
        {'x', "Use bs", "select count(*) from TableField", "39"},
        {'x', "BACKUP DATABASE bs TO DISK ='{dir}\\backdata\\bs 1' with init", nullptr, nullptr},
    };
    play(steps);
    if (!dpxtest::onServer()) {   // a server keeps the data itself
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("Database/bs_data.mdf"))));
    }
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("backdata/bs 1"))));
}
