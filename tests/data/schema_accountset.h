#pragma once
// A real account set for the data tests: a temporary program folder, one connection opened the
// way the data module opens it (on master), and a new account set restored from the template
// under its own name with the account-set dialog's own statement. The engine is the embedded
// one or, for the server runs, the test server (server_support.h).
#include "server_support.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Program.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

namespace dpxtest {

// A text between single quotes with embedded quotes doubled, as the dialogs quote paths.
inline QString quoted(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// One value as the tables of expected rows write it: NULL, 1/0 for bits, plain decimals
// (no trailing zeros), dates as yyyy-mm-dd with " hh:nn:ss" when the time is not midnight.
inline QString render(const Variant& v)
{
    switch (v.Type()) {
    case VarType::Unassigned:
    case VarType::Null:
        return QStringLiteral("NULL");
    case VarType::Boolean:
        return v.AsBoolRaw() ? QStringLiteral("1") : QStringLiteral("0");
    case VarType::Integer:
        return QString::number(v.AsIntRaw());
    case VarType::Double:
        return QString::number(v.AsDoubleRaw(), 'g', 15);
    case VarType::Currency:
        return QString::number(v.ToDouble(), 'g', 15);
    case VarType::Date: {
        const double d = v.AsDateRaw().Value;
        const double day = std::floor(d);
        const qint64 secs = qRound64((d - day) * 86400.0);
        QString s = QDate(1899, 12, 30).addDays(qint64(day)).toString(QStringLiteral("yyyy-MM-dd"));
        if (secs != 0)
            s += QStringLiteral(" %1:%2:%3")
                     .arg(secs / 3600, 2, 10, QLatin1Char('0'))
                     .arg(secs / 60 % 60, 2, 10, QLatin1Char('0'))
                     .arg(secs % 60, 2, 10, QLatin1Char('0'));
        return s;
    }
    case VarType::String:
        return v.AsStringRaw();
    default:
        return v.ToString();
    }
}

class AccountSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(TestDatabases::problem(), QString());
        ASSERT_TRUE(m_dir.isValid());
        SetProgramDirForTesting(m_dir.path());
        for (const char* sub : {"Database", "backdata", "dpxdata", "dpxprt", "log"})
            QDir(m_dir.path()).mkpath(QString::fromLatin1(sub));
        installTemplate(m_dir.path());
        m_con = std::make_unique<TADOConnection>();
        m_con->SetLoginPrompt(false);
        m_con->SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                                  "Initial Catalog=master;Data Source=")
                                   + m_databases.source());
        m_con->Open();
        ASSERT_TRUE(m_con->Connected());
        if (createAccountSet()) {
            ASSERT_EQ(run(restoreStatement(QStringLiteral("acct"))), QString());
            ASSERT_EQ(run(QStringLiteral("Use acct")), QString());
        }
    }

    void TearDown() override
    {
        m_con.reset();
        SetProgramDirForTesting(QString());
    }

    // Tests that work in master alone override this.
    virtual bool createAccountSet() const { return true; }

    QString programDir() const { return m_dir.path(); }
    // The "Server Name" that reaches the test's databases.
    QString serverName() const { return m_databases.source(); }
    QString path(const QString& rel) const { return m_dir.filePath(rel); }

    // The account-set dialog's creation statement for database name, from the build's template.
    QString restoreStatement(const QString& name, const QString& backup = templateFile()) const
    {
        return QStringLiteral("Use Master  RESTORE DATABASE ") + name + QStringLiteral(" FROM DISK =")
               + quoted(backup) + QStringLiteral(" with file=1,replace,MOVE ") + quoted(QStringLiteral("materialdb_data"))
               + QStringLiteral(" TO ") + quoted(path(QStringLiteral("Database/") + name + QStringLiteral("_data.mdf")))
               + QStringLiteral(",MOVE ") + quoted(QStringLiteral("materialdB_Log")) + QStringLiteral(" TO ")
               + quoted(path(QStringLiteral("Database/") + name + QStringLiteral("_log.ldf")));
    }

    // Runs a statement without a result set (on con, by default the test's connection); the
    // error text, or empty on success.
    QString run(const QString& sql, TADOConnection* con = nullptr)
    {
        TADOQuery q(con ? con : m_con.get());
        q.SQL() << sql;
        try {
            q.ExecSQL();
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what()).isEmpty() ? QStringLiteral("error") : QString::fromUtf8(e.what());
        }
        return QString();
    }

    // Opens a statement; its rows as lines of "|"-joined values, or "ERROR: message".
    QString rows(const QString& sql, QStringList* columns = nullptr)
    {
        TADOQuery q(m_con.get());
        q.SQL() << sql;
        QStringList lines;
        try {
            q.Open();
            if (columns) {
                columns->clear();
                for (int i = 0; i < q.FieldCount(); ++i)
                    *columns << q.Fields()[i]->FieldName();
            }
            q.First();
            while (!q.Eof()) {
                QStringList values;
                for (int i = 0; i < q.FieldCount(); ++i)
                    values << render(q.Fields()[i]->Value());
                lines << values.join(QLatin1Char('|'));
                q.Next();
            }
        } catch (const std::exception& e) {
            return QStringLiteral("ERROR: ") + QString::fromUtf8(e.what());
        }
        return lines.join(QLatin1Char('\n'));
    }

    TADOConnection& connection() { return *m_con; }

private:
    TestDatabases m_databases;   // declared first: dropped after the connection closed
    QTemporaryDir m_dir;
    std::unique_ptr<TADOConnection> m_con;
};

} // namespace dpxtest
