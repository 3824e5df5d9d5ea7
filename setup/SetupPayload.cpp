#include "SetupPayload.h"

#include "platform/rtl/Exceptions.h"
#include "SetupFileWriter.h"

#include <QDir>
#include <QFile>
#include <mutex>

static void registerPayload()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(payload); });
}

QStringList TSetupPayload::Names()
{
    registerPayload();
    return QDir(QStringLiteral(":/payload")).entryList(QDir::Files, QDir::Name);
}

QString TSetupPayload::ResourcePath(const QString& name)
{
    for (const QString& n : Names()) {
        if (n.compare(name, Qt::CaseInsensitive) == 0) return QStringLiteral(":/payload/") + n;
    }
    return QString();
}

bool TSetupPayload::Contains(const QString& name) { return !ResourcePath(name).isEmpty(); }

void TSetupPayload::WriteTo(const QString& name, const QString& fileName, bool executable)
{
    const QString path = ResourcePath(name);
    QFile source(path);
    if (path.isEmpty() || !source.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("The setup does not carry \"%1\".").arg(name));
    WriteSetupFile(fileName, source, executable);
}
