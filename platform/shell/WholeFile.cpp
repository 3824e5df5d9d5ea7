#include "WholeFile.h"

#include "platform/rtl/Exceptions.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

void WriteWholeFile(const QString& fileName, QIODevice& source, bool executable)
{
    auto fail = [&](const QString& reason) {
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason));
    };
    const QString dir = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(dir)) fail(QStringLiteral("Cannot create the folder \"%1\".").arg(dir));
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)) fail(f.errorString());
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty()) {
        if (f.write(chunk) != chunk.size()) fail(f.errorString());
    }
    if (!source.atEnd()) fail(source.errorString());
    if (!f.commit()) fail(f.errorString());
    QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                 | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (executable) p |= QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    if (!QFile::setPermissions(fileName, p)) fail(QStringLiteral("Cannot set its permissions."));
}

void WriteWholeFile(const QString& fileName, const QByteArray& data, bool executable)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    WriteWholeFile(fileName, buffer, executable);
}
