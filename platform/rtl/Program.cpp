#include "Program.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <mutex>

namespace {
std::mutex dirMutex;
QString& overrideDir()
{
    static QString dir;
    return dir;
}

QString withoutTrailingSeparator(QString dir)
{
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))))
        dir.chop(1);
    return dir;
}
} // namespace

QString ProgramDir()
{
    {
        std::lock_guard<std::mutex> lock(dirMutex);
        if (!overrideDir().isEmpty())
            return overrideDir();
    }
    if (QCoreApplication::instance())
        return withoutTrailingSeparator(QCoreApplication::applicationDirPath());
    return withoutTrailingSeparator(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
}

void SetProgramDirForTesting(const QString& dir)
{
    std::lock_guard<std::mutex> lock(dirMutex);
    overrideDir() = dir.isEmpty() ? QString() : withoutTrailingSeparator(QDir::cleanPath(dir));
}
