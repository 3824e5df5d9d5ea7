#pragma once
// The shell on a real account set: a temporary program folder laid out as the setup lays it
// out (settings file naming the engine of the run, the template backup), a connected data
// module, the scripted dialog service, and helpers that create account sets and log in through
// the dialogs themselves. The engine is the embedded one, or the test server when
// DPX_TEST_ENGINE is "postgres" (data/server_support.h).
#include "app/AccountSetForm.h"
#include "app/FormRegistry.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "data/DM.h"
#include "data/frmconst.h"
#include "data/qstringprint.h"
#include "data/schema_accountset.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ADOConnection.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Program.h"
#include "testmain/testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace apptest {

// Every value of the login context that the shell writes, back to the start of a run.
inline void resetContext()
{
    accsetid = 0;
    accname.clear();
    dbname.clear();
    accremark.clear();
    username.clear();
    userid = 0;
    userisadmin = false;
    loggedin = false;
    accsetsloaded = false;
    curpid = 0;
    systype = TSystype::local;
    imbilltype = 0;
    monthid = 0;
    spricedots = 0;
    dpricedots = 0;
    defaultcryid = 0;
    imbillprintfile.clear();
    exbillprintfile.clear();
    dbconnected = false;
}

inline void showActive(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    (void)QTest::qWaitForWindowActive(w);
    QApplication::processEvents();
}

inline QString artifact(const QString& name)
{
    return dpxtest::artifactsDir() + QLatin1Char('/') + name;
}

} // namespace apptest

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(dpxtest::TestDatabases::problem(), QString());
        ASSERT_TRUE(m_dir.isValid());
        SetProgramDirForTesting(m_dir.path());
        for (const char* sub : {"Database", "backdata", "dpxdata", "dpxprt", "log"})
            QDir(m_dir.path()).mkpath(QString::fromLatin1(sub));
        // The server's template is made on first use, which puts the build's template where it is
        // copied to: the test's own copy replaces it.
        const QString tpl = dpxtest::templateFile();
        QFile::remove(m_dir.filePath(QStringLiteral("dpxdata/materialdb")));
        ASSERT_TRUE(QFile::copy(tpl, m_dir.filePath(QStringLiteral("dpxdata/materialdb"))));
        dpxtest::writeSettings(m_dir.path(), m_databases.source());
        apptest::resetContext();
        InstallDialogMessageSink();
        // The grid units are up before any form makes a grid, as at program start.
        InitDBGridGxUnits();
        DialogScript::Start();
        TFormRegistry::Entries().clear();
        RegisterAppForms();
        dm = std::make_unique<TrmtDM>();
        ASSERT_TRUE(dbconnected) << DialogScript::Texts().join(QLatin1Char('\n')).toStdString();
        DialogScript::ClearLog();
    }

    void TearDown() override
    {
        DialogScript::Stop();
        dm.reset();
        apptest::resetContext();
        SetProgramDirForTesting(QString());
    }

    QString Folder() const { return m_dir.path(); }
    QString Path(const QString& rel) const { return m_dir.filePath(rel); }

    // Creates an account set through the creation dialog; true when it reported success.
    bool CreateAccountSet(const QString& db, const QString& company = QStringLiteral("华北建设"),
                          const QString& remark = QString())
    {
        TfrmCreateDB f;
        f.Edit4->setText(company);
        f.Edit5->setText(db);
        f.Edit6->setText(remark);
        DialogScript::ClearLog();
        f.Button1->Click();
        const bool ok = DialogScript::Texts().contains(QStringLiteral("新套帐创建成功！"));
        if (!ok)
            lastCreation = DialogScript::Texts().join(QLatin1Char('\n'));
        return ok;
    }

    // Logs in through the login dialog (owned by owner when given) into the registered set db;
    // true when the context says logged in to db as user afterwards.
    bool Login(const QString& db, const QString& user, const QString& password, QWidget* owner = nullptr)
    {
        TfrmLogin f(owner);
        f.show();
        QApplication::processEvents();
        f.Edit1->setText(user);
        f.Edit2->setText(password);
        if (!f.cdsbillselect.Locate(QStringLiteral("dbname"), Variant(db), loCaseInsensitive))
            return false;
        f.Button1->Click();
        return loggedin && dbname == db;
    }

    // Runs a statement in database db on the module's connection (tests only).
    void Exec(const QString& db, const QString& sql)
    {
        dm->ADOCon->Execute(QStringLiteral("Use ") + db);
        dm->ADOCon->Execute(sql);
    }

    // The rows of a query in database db, columns joined by '|'.
    QStringList Rows(const QString& db, const QString& sql)
    {
        dm->ADOCon->Execute(QStringLiteral("Use ") + db);
        DbResult r;
        dm->ADOCon->Engine().Execute(sql, r);
        QStringList out;
        for (const DbRow& row : r.rows) {
            QStringList cells;
            for (const Variant& v : row)
                cells << dpxtest::render(v);
            out << cells.join(u'|');
        }
        return out;
    }

    QStringList Texts() const { return DialogScript::Texts(); }

    std::unique_ptr<TrmtDM> dm;
    QString lastCreation;   // the texts of the last failed creation

private:
    dpxtest::TestDatabases m_databases;
    QTemporaryDir m_dir;
};
