#pragma once
// A temporary program folder with log/adolinksetting.ini, a data module connected to the
// engine of the run (the embedded one, or the test server: server_support.h), an account set "acc" with small tables in the shapes of the schema, and
// recorders for the shown messages and the statements sent.
#include "DM.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"
#include "qstringprint.h"
#include "server_support.h"
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct ShownMessage {
    MsgKind kind;
    QString text;
    QString caption;
};

class DMTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(dpxtest::TestDatabases::problem(), QString());
        ASSERT_TRUE(m_dir.isValid());
        SetProgramDirForTesting(m_dir.path());
        dpxtest::installTemplate(m_dir.path());
        MessageSink::Set([this](MsgKind kind, const QString& text, const QString& caption) {
            messages.append({kind, text, caption});
            return true;
        });
        dbname.clear();
        connectstr.clear();
        servername.clear();
        dbconnected = false;
    }
    void TearDown() override
    {
        dm.reset();
        dbname.clear();
        MessageSink::Set({});
        SetProgramDirForTesting(QString());
    }

    QString Folder() const { return m_dir.path(); }

    // Writes [Login] of log/adolinksetting.ini with the given keys.
    void WriteSettings(const QMap<QString, QString>& keys)
    {
        TIniFile ini(Folder() + QStringLiteral("/log/adolinksetting.ini"));
        for (auto it = keys.begin(); it != keys.end(); ++it)
            ini.WriteString(QStringLiteral("Login"), it.key(), it.value());
    }

    // The "Server Name" that reaches the test's databases.
    QString ServerName() const { return m_databases.source(); }

    // Settings for the engine of the run with Windows authentication, and a connected module.
    void Connect()
    {
        WriteSettings({{QStringLiteral("Server Name"), ServerName()},
                       {QStringLiteral("Security Info"), QStringLiteral("False")},
                       {QStringLiteral("ConnectTimeOut"), QStringLiteral("5")}});
        dm = std::make_unique<TrmtDM>();
        ASSERT_TRUE(dbconnected);
        dm->OnSQL = [this](const QString& sql) { sqls << sql; };
    }

    // Creates the account set "acc" with the tables the tests use and logs into it.
    void CreateAccountSet()
    {
        Run(QStringLiteral("create database acc"));
        Run(QStringLiteral("Use acc"));
        const char* ddl[] = {
            "CREATE TABLE [dbo].[IDlist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[IDname] [varchar] (50) NULL ,[ID] [int] NULL ) ON [PRIMARY]",
            "insert into IDlist (IDname, ID) values ('PID', 0)",
            "insert into IDlist (IDname, ID) values ('IID', 41)",
            "CREATE TABLE [dbo].[systemset] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[name] [varchar] (50) NULL ,[ivalue] [int] NULL ) ON [PRIMARY]",
            "insert into systemset (name, ivalue) values ('monthid', 11)",
            "insert into systemset (name, ivalue) values ('spricedots', 2)",
            "CREATE TABLE [dbo].[currentpid] ([periodid] [int] NOT NULL ,[crtdate] [datetime] NULL ) ON [PRIMARY]",
            "insert into currentpid (periodid, crtdate) values (1, '2024-01-01')",
            "CREATE TABLE [dbo].[billtype] ([Fid] [int] IDENTITY (1, 1) NOT NULL ,[TypeName] [varchar] (50) NULL ,"
            "[code] [varchar] (50) NULL ,[ibnum] [int] NULL default 1,[ebnum] [int] NULL default 1) ON [PRIMARY]",
            "insert into billtype (TypeName, code, ibnum, ebnum) values ('甲', '01', 100, 500)",
            "CREATE TABLE [dbo].[currencyset] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[cryname] [varchar] (20) NULL ,"
            "[tobalance] [numeric](18, 4) NULL ,[isbalance] [bit] NULL ,[visibled] [bit] NULL ) ON [PRIMARY]",
            "insert into currencyset (cryname, tobalance, isbalance, visibled) values ('人民币', 1, 0, 1)",
            "insert into currencyset (cryname, tobalance, isbalance, visibled) values ('美元', 7.1, 1, 1)",
            "CREATE TABLE [dbo].[breedlist] ([FID] [int] NOT NULL ,[code] [varchar] (50) NULL ,[pricemodal] [int] NULL ,"
            "[breedtype] [int] NULL ,[adminrate] [numeric](18, 4) NULL ) ON [PRIMARY]",
            "insert into breedlist (FID, code, pricemodal, breedtype, adminrate) values (1, '000001', 2, 1, 3.5)",
            "CREATE TABLE [dbo].[mtrlist] ([FID] [int] NOT NULL ,[bID] [int] NULL ,[code] [varchar] (50) NULL ,"
            "[mname] [varchar] (50) NULL ,[mtype] [varchar] (50) NULL ,[munit] [varchar] (50) NULL ,[remark] [varchar] (50) NULL ) ON [PRIMARY]",
            "insert into mtrlist (FID, bID, code, mname) values (7, 1, '000001', '钢筋')",
            "insert into mtrlist (FID, bID, code, mname) values (8, 99, '000001', '无类')",
            "CREATE TABLE [dbo].[mpplist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[mid] [int] NULL ,[pprice] [numeric](18, 4) NULL ) ON [PRIMARY]",
            "insert into mpplist (mid, pprice) values (7, 12.5)",
            "CREATE TABLE [dbo].[mrplist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[mid] [int] NULL ,[bdate] [datetime] NULL ,"
            "[bnum] [varchar] (30) NULL ,[iid] [int] NULL ,[eid] [int] NULL ,[orgqty] [numeric](18, 4) NULL ,"
            "[orgdprice] [numeric](18, 4) NULL ,[orgrdprice] [numeric](18, 4) NULL ,[qty] [numeric](18, 4) NULL ,"
            "[sprice] [numeric](18, 4) NULL ,[dprice] [numeric](18, 4) NULL ,[rsprice] [numeric](18, 4) NULL ,"
            "[rdprice] [numeric](18, 4) NULL ,[remark] [varchar] (50) NULL ,[block] [bit] NULL ,[Pid] [int] NULL ,"
            "[cid] [int] NULL ,[cfid] [int] NULL ,[supid] [int] NULL ) ON [PRIMARY]",
            "insert into mrplist (mid, qty, sprice, block) values (7, 5, 2, 0)",
            "CREATE TABLE [dbo].[suplist] ([fid] [int] NOT NULL ,[prtname] [varchar] (50) NULL ) ON [PRIMARY]",
            "CREATE TABLE [dbo].[cflist] ([fid] [int] NOT NULL ,[prtname] [varchar] (50) NULL ) ON [PRIMARY]",
            "CREATE TABLE [dbo].[ibm] ([fid] [int] NOT NULL ,[cid] [int] NULL ,[remark] [varchar] (50) NULL ,"
            "[qty] [numeric](18, 4) NULL , CONSTRAINT [PK_ibm] PRIMARY KEY CLUSTERED ([fid]) ON [PRIMARY]) ON [PRIMARY]",
            "insert into ibm (fid, cid, remark, qty) values (1, 1, 'one', 1)",
            "insert into ibm (fid, cid, remark, qty) values (2, 2, 'two', 2)",
            "insert into ibm (fid, cid, remark, qty) values (3, 1, 'three', 3)",
            "CREATE TABLE [dbo].[ibd] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[iid] [int] NULL ,[mid] [int] NULL ,"
            "[qty] [numeric](18, 4) NULL , CONSTRAINT [PK_ibd] PRIMARY KEY CLUSTERED ([fid]) ON [PRIMARY]) ON [PRIMARY]",
            "insert into ibd (iid, mid, qty) values (1, 7, 1)",
            "insert into ibd (iid, mid, qty) values (1, 8, 2)",
        };
        for (const char* s : ddl)
            Run(QString::fromUtf8(s));
        dbname = QStringLiteral("acc");
        sqls.clear();
    }

    // Runs a statement directly on the module's connection (no trace, no database switch).
    void Run(const QString& sql) { dm->ADOCon->Execute(sql); }

    // Every row of a query in the current database of the connection, columns joined by '|'.
    QStringList Rows(const QString& sql)
    {
        DbResult r;
        dm->ADOCon->Engine().Execute(sql, r);
        QStringList out;
        for (const DbRow& row : r.rows) {
            QStringList cells;
            for (const Variant& v : row)
                cells << (v.IsNull() ? QStringLiteral("NULL") : v.ToString());
            out << cells.join(u'|');
        }
        return out;
    }

    // The traced statements without the database switches.
    QStringList Statements() const
    {
        QStringList out;
        for (const QString& s : sqls)
            if (!s.startsWith(QLatin1String("Use ")))
                out << s;
        return out;
    }

    std::unique_ptr<TrmtDM> dm;
    QList<ShownMessage> messages;
    QStringList sqls;

private:
    dpxtest::TestDatabases m_databases;
    QTemporaryDir m_dir;
};
