// dpx-mktemplate SCRIPT OUTPUT
//
// Builds the account-set template at build time: runs the schema script batch by batch
// (batches end at a line holding only GO) through the SQL engine layer into a new, empty
// database and writes that database as an engine backup to OUTPUT. Every new account set is
// later restored from OUTPUT under its own name.
#include "SchemaScript.h"
#include "platform/db/Engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>

namespace {

const char* const kDatabase = "materialdb";

void fail(const QString& text)
{
    std::fprintf(stderr, "dpx-mktemplate: %s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: dpx-mktemplate SCRIPT OUTPUT\n");
        return 2;
    }
    const QString scriptPath = args.at(1);
    const QString outputPath = QFileInfo(args.at(2)).absoluteFilePath();

    QString script;
    try {
        script = dpxschema::readScript(scriptPath);
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
        return 1;
    }

    QTemporaryDir work;
    if (!work.isValid()) {
        fail(QStringLiteral("cannot create a work folder"));
        return 1;
    }
    const QString dataFolder = work.filePath(QStringLiteral("Database"));
    QDir().mkpath(dataFolder);
    const QString partial = outputPath + QStringLiteral(".part");
    int batches = 0;
    try {
        std::unique_ptr<DbEngine> engine = OpenDbEngine(QStringLiteral("\\sqlexpress"), 5, dataFolder);
        const QString name = QString::fromLatin1(kDatabase);
        DbResult created;
        engine->Execute(QStringLiteral("CREATE DATABASE ") + name, created);
        engine->UseDatabase(name);
        batches = dpxschema::runScript(*engine, script);
        engine->UseDatabase(QStringLiteral("master"));
        QDir().mkpath(QFileInfo(outputPath).absolutePath());
        QFile::remove(partial);
        engine->BackupDatabase(name, partial);
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(outputPath);
    if (!QFile::rename(partial, outputPath)) {
        fail(QStringLiteral("cannot write %1").arg(outputPath));
        return 1;
    }
    std::printf("dpx-mktemplate: %lld batches into %s\n", static_cast<long long>(batches),
                outputPath.toLocal8Bit().constData());
    return 0;
}
