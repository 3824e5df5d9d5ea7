// dpx-mktemplate SCRIPT OUTPUT
//
// Builds the account-set template at build time: runs the schema script batch by batch
// (batches end at a line holding only GO) through the SQL engine layer into a new, empty
// database and writes that database as an engine backup to OUTPUT. Every new account set is
// later restored from OUTPUT under its own name.
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

// Splits a script into its batches. Lines that hold only a comment are left out so that a
// batch never consists of a comment alone.
QStringList splitBatches(const QString& script)
{
    QStringList batches;
    QStringList current;
    auto flush = [&] {
        const QString text = current.join(QLatin1Char('\n')).trimmed();
        if (!text.isEmpty())
            batches << text;
        current.clear();
    };
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0)
            flush();
        else if (!line.startsWith(QLatin1String("--")))
            current << raw;
    }
    flush();
    return batches;
}

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

    QFile scriptFile(scriptPath);
    if (!scriptFile.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read %1").arg(scriptPath));
        return 1;
    }
    const QStringList batches = splitBatches(QString::fromUtf8(scriptFile.readAll()));

    QTemporaryDir work;
    if (!work.isValid()) {
        fail(QStringLiteral("cannot create a work folder"));
        return 1;
    }
    const QString dataFolder = work.filePath(QStringLiteral("Database"));
    QDir().mkpath(dataFolder);
    const QString partial = outputPath + QStringLiteral(".part");
    QString batchText;
    try {
        std::unique_ptr<DbEngine> engine = OpenDbEngine(QStringLiteral("\\sqlexpress"), 5, dataFolder);
        const QString name = QString::fromLatin1(kDatabase);
        DbResult created;
        engine->Execute(QStringLiteral("CREATE DATABASE ") + name, created);
        engine->UseDatabase(name);
        for (const QString& batch : batches) {
            batchText = batch;
            DbResult result;
            engine->Execute(batch, result);
        }
        batchText.clear();
        engine->UseDatabase(QStringLiteral("master"));
        QDir().mkpath(QFileInfo(outputPath).absolutePath());
        QFile::remove(partial);
        engine->BackupDatabase(name, partial);
    } catch (const std::exception& e) {
        fail(QString::fromUtf8(e.what()));
        if (!batchText.isEmpty())
            fail(QStringLiteral("in the batch:\n%1").arg(batchText));
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(outputPath);
    if (!QFile::rename(partial, outputPath)) {
        fail(QStringLiteral("cannot write %1").arg(outputPath));
        return 1;
    }
    std::printf("dpx-mktemplate: %lld batches into %s\n", static_cast<long long>(batches.size()),
                outputPath.toLocal8Bit().constData());
    return 0;
}
