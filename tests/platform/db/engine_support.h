#pragma once
// A temporary data folder with the embedded engine open on it, and small helpers to run
// statements and read results.
#include "platform/db/Engine.h"
#include "pg_support.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline QStringList MiniSchema();

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        if (pgtest::OnServer()) {
            const QString problem = pgtest::ServerProblem();
            ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
            m_prefix = pgtest::NewPrefix();
        }
        engine = OpenClient();
    }
    void TearDown() override
    {
        engine.reset();
        if (!m_prefix.isEmpty()) pgtest::DropPrefixed(m_prefix);
        if (m_templateMade) SetProgramDirForTesting(QString());
    }
    // The account-set template that restores take their schema from: a database of the embedded
    // engine made by ddl, backed up to dpxdata/materialdb of the test's folder, which becomes the
    // program folder.
    void MakeTemplate(const QStringList& ddl = MiniSchema())
    {
        const std::unique_ptr<DbEngine> maker = OpenDbEngine(QStringLiteral("\\sqlexpress"), 5, Folder() + QStringLiteral("/template"));
        DbResult r;
        maker->Execute(QStringLiteral("create database materialdb"), r);
        maker->Execute(QStringLiteral("Use materialdb"), r);
        for (const QString& s : ddl) maker->Execute(s, r);
        maker->Execute(QStringLiteral("Use Master"), r);
        QDir().mkpath(Folder() + QStringLiteral("/dpxdata"));
        maker->Execute(QStringLiteral("BACKUP DATABASE materialdb TO DISK ='%1/dpxdata/materialdb' with init").arg(Folder()), r);
        SetProgramDirForTesting(Folder());
        m_templateMade = true;
    }
    // Another client of the same server (or data folder).
    std::unique_ptr<DbEngine> OpenClient(int timeoutSeconds = 5) const
    {
        return OpenDbEngine(ClientSource(), timeoutSeconds, m_prefix.isEmpty() ? DataFolder() : QString());
    }
    QString ClientSource() const
    {
        return m_prefix.isEmpty() ? QStringLiteral("\\sqlexpress") : pgtest::ServerAddress() + u'/' + m_prefix;
    }
    QString Folder() const { return m_dir.path(); }
    QString DataFolder() const { return m_dir.path() + QStringLiteral("/Database"); }

    DbResult Run(const QString& sql, int maxRows = 0)
    {
        DbResult r;
        engine->Execute(sql, r, maxRows);
        return r;
    }
    // First column of the first row.
    Variant Scalar(const QString& sql)
    {
        const DbResult r = Run(sql);
        EXPECT_TRUE(r.hasResultSet) << sql.toStdString();
        if (r.rows.isEmpty()) return Variant();
        return r.rows.first().value(0);
    }
    // Every row of a query (at most maxRows when > 0) as text, columns joined with '|'.
    QStringList Rows(const QString& sql, int maxRows = 0)
    {
        QStringList out;
        for (const DbRow& row : Run(sql, maxRows).rows) {
            QStringList cells;
            for (const Variant& v : row) cells << (v.IsNull() ? QStringLiteral("NULL") : v.ToString());
            out << cells.join(u'|');
        }
        return out;
    }
    // Creates database name with the given statements run in it, and leaves it current.
    void CreateDatabase(const QString& name, const QStringList& ddl)
    {
        Run(QStringLiteral("create database ") + name);
        Run(QStringLiteral("Use ") + name);
        for (const QString& s : ddl) Run(s);
    }

    std::unique_ptr<DbEngine> engine;
    QString m_prefix;   // the test's databases on the server
private:
    bool m_templateMade = false;
    QTemporaryDir m_dir;
};

// A few tables in the shapes of the account-set schema.
inline QStringList MiniSchema()
{
    return {
        QStringLiteral("CREATE TABLE [dbo].[IDlist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[IDname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,"
                       "[ID] [int] NULL ) ON [PRIMARY]"),
        QStringLiteral("CREATE TABLE [dbo].[msrglist] ([mid] [int] NOT NULL ,[qty] [numeric](18, 4) NULL ,[cost] [numeric](18, 4) NULL ,"
                       "CONSTRAINT [PK_msrglist] PRIMARY KEY  CLUSTERED ([mid])  ON [PRIMARY] ) ON [PRIMARY]"),
        QStringLiteral("CREATE TABLE [dbo].[ibmaster] ([fid] [int] NOT NULL ,[pid] [int] NULL ,[billnum] [varchar] (30) COLLATE Chinese_PRC_CI_AS NULL ,"
                       "[bdate] [datetime] NULL ,[brecorded] [bit] NULL ,[breverse] [bit] NULL default 0,"
                       "CONSTRAINT [PK_imbillmaster] PRIMARY KEY CLUSTERED ([fid]) ON [PRIMARY]) ON [PRIMARY]"),
        QStringLiteral("CREATE  INDEX [IX_ibmaster] ON [dbo].[ibmaster]([pid]) ON [PRIMARY]"),
        QStringLiteral("CREATE TABLE [dbo].[ebmaster] ([fid] [int] NOT NULL PRIMARY KEY, [dptcode] [nchar] (50) COLLATE Chinese_PRC_CI_AS NULL, "
                       "[smallv] [smallint] NULL)"),
        QStringLiteral("CREATE TABLE [dbo].[emylist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[emyname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,"
                       "[visibled] [bit] NOT NULL default 1, CONSTRAINT [PK_emylist] PRIMARY KEY CLUSTERED ([fid]) ON [PRIMARY]) ON [PRIMARY]"),
        QStringLiteral("CREATE UNIQUE INDEX [IX_emyname] ON [dbo].[emylist]([emyname]) ON [PRIMARY]"),
        QStringLiteral("insert into IDlist (IDname, ID) values ('PID', 0)"),
        QStringLiteral("insert into IDlist (IDname, ID) values ('IID', 0)"),
    };
}
