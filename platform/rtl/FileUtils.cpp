#include "FileUtils.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
bool isDelim(QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); }

int lastDelim(const QString& s)
{
    for (int i = int(s.size()) - 1; i >= 0; --i)
        if (isDelim(s[i]))
            return i;
    return -1;
}
} // namespace

QString IncludeTrailingPathDelimiter(const QString& path)
{
    return !path.isEmpty() && isDelim(path.back()) ? path : path + PathDelim;
}

QString ExcludeTrailingPathDelimiter(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && isDelim(p.back()))
        p.chop(1);
    return p;
}

QString ExtractFilePath(const QString& fileName) { return fileName.left(lastDelim(fileName) + 1); }

QString ExtractFileDir(const QString& fileName)
{
    int at = lastDelim(fileName);
    return at == 0 ? fileName.left(1) : fileName.left(std::max(at, 0));
}

QString ExtractFileName(const QString& fileName) { return fileName.mid(lastDelim(fileName) + 1); }

QString ExtractFileExt(const QString& fileName)
{
    int dot = int(fileName.lastIndexOf(QLatin1Char('.')));
    return dot > lastDelim(fileName) ? fileName.mid(dot) : QString();
}

QString ChangeFileExt(const QString& fileName, const QString& ext)
{
    int dot = int(fileName.lastIndexOf(QLatin1Char('.')));
    return (dot > lastDelim(fileName) ? fileName.left(dot) : fileName) + ext;
}

bool FileExists(const QString& fileName)
{
    QFileInfo fi(fileName);
    return fi.exists() && !fi.isDir();
}

bool DirectoryExists(const QString& dir) { return !dir.isEmpty() && QFileInfo(dir).isDir(); }
bool CreateDir(const QString& dir) { return QDir().mkdir(dir); }
bool ForceDirectories(const QString& dir) { return !dir.isEmpty() && QDir().mkpath(dir); }
bool DeleteFile(const QString& fileName) { return FileExists(fileName) && QFile::remove(fileName); }
bool RenameFile(const QString& oldName, const QString& newName) { return QFile::rename(oldName, newName); }
