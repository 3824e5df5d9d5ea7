// dpxsql PROGRAM_FOLDER [DATABASE]
//
// Reads T-SQL statements from standard input, one per line, and runs each through
// TADOConnection / TADOQuery as the data module does: the connection opens on master in the
// program folder's engine (Data Source from log/adolinksetting.ini, "\sqlexpress" without it),
// then "Use DATABASE" when one is given. A statement that begins with SELECT is opened and its
// rows printed tab-separated after a header line of field names (NULL for a null value);
// every other statement is executed. The first error is reported on standard error and ends
// the run with exit code 1.
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Program.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace {

QString serverName(const QString& programDir)
{
    const QString ini = programDir + QStringLiteral("/log/adolinksetting.ini");
    if (!QFileInfo::exists(ini)) return QStringLiteral("\\sqlexpress");
    const QString s = TIniFile(ini).ReadString(QStringLiteral("Login"), QStringLiteral("Server Name"), QString());
    return s.isEmpty() ? QStringLiteral("\\sqlexpress") : s;
}

QString cellText(TField* f)
{
    if (f->IsNull()) return QStringLiteral("NULL");
    QString s = f->AsString();
    s.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
    return s;
}

void runLine(TADOQuery& q, const QString& sql, QTextStream& out)
{
    q.Close();
    q.SQL().clear();
    q.SQL() << sql;
    if (!sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive)) {
        q.ExecSQL();
        return;
    }
    q.Open();
    QStringList header;
    for (int i = 0; i < q.FieldCount(); ++i) header << q.Fields().Fields(i)->FieldName();
    out << header.join(u'\t') << '\n';
    for (q.First(); !q.Eof(); q.Next()) {
        QStringList cells;
        for (int i = 0; i < q.FieldCount(); ++i) cells << cellText(q.Fields().Fields(i));
        out << cells.join(u'\t') << '\n';
    }
    out.flush();
    q.Close();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: dpxsql PROGRAM_FOLDER [DATABASE] < statements\n");
        return 2;
    }
    const QString programDir = QDir(args[1]).absolutePath();
    SetProgramDirForTesting(programDir);   // the engine's data folder is <program folder>/Database
    QTextStream in(stdin);
    QTextStream out(stdout);
    int lineNo = 0;
    try {
        TADOConnection con;
        con.SetLoginPrompt(false);
        con.SetConnectionTimeout(5);
        con.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                               "Initial Catalog=master;Data Source=") + serverName(programDir));
        con.Open();
        TADOQuery q(&con);
        if (args.size() == 3) runLine(q, QStringLiteral("Use ") + args[2], out);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            ++lineNo;
            if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1String("--"))) continue;
            runLine(q, line, out);
        }
    } catch (const Exception& e) {
        out.flush();
        std::fprintf(stderr, "dpxsql: line %d: %s\n", lineNo, e.Message().toUtf8().constData());
        return 1;
    } catch (const std::exception& e) {
        out.flush();
        std::fprintf(stderr, "dpxsql: line %d: %s\n", lineNo, e.what());
        return 1;
    }
    return 0;
}
