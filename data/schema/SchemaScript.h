#pragma once
// Runs a schema script (batches ending at a line that holds only GO) through the SQL engine
// layer into the engine's current database. The build's template generator and the tests that
// make account sets on a database server share it, so both engines get the same tables.
#include "platform/db/Engine.h"
#include "platform/rtl/Exceptions.h"

#include <QFile>
#include <QString>
#include <QStringList>

namespace dpxschema {

// The script's batches. Lines that hold only a comment are left out so that a batch never
// consists of a comment alone.
inline QStringList splitBatches(const QString& script)
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

// The text of a script file (UTF-8); raises when it cannot be read.
inline QString readScript(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("cannot read %1").arg(path));
    return QString::fromUtf8(f.readAll());
}

// Runs every batch of script in the engine's current database; the number of batches run. A
// failing batch raises with the engine's message followed by the batch.
inline int runScript(DbEngine& engine, const QString& script)
{
    const QStringList batches = splitBatches(script);
    for (const QString& batch : batches) {
        DbResult result;
        try {
            engine.Execute(batch, result);
        } catch (const Exception& e) {
            throw Exception(e.Message() + QStringLiteral("\nin the batch:\n") + batch);
        }
    }
    return int(batches.size());
}

} // namespace dpxschema
