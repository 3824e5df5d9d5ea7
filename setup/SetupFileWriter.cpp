#include "SetupFileWriter.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const QString& fileName, int code, const QString& reason)
{
    throw EFileWriteError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason), code);
}

[[noreturn]] void failErrno(const QString& fileName, int code)
{
    fail(fileName, code, QString::fromLocal8Bit(std::strerror(code)));
}

// Makes the folder and its missing parents; something else standing on the way is ENOTDIR.
void makeFolders(const QString& fileName, const QString& dir)
{
    const QStringList parts = dir.split(QLatin1Char('/'));
    QString path;
    for (int i = 0; i < parts.size(); ++i) {
        path += (i ? QStringLiteral("/") : QString()) + parts[i];
        if (path.isEmpty())
            continue;
        const QByteArray native = QFile::encodeName(path);
        struct stat st {};
        if (::stat(native.constData(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                failErrno(fileName, ENOTDIR);
            continue;
        }
        if (errno != ENOENT)
            failErrno(fileName, errno);
        if (::mkdir(native.constData(), 0777) != 0 && errno != EEXIST)
            failErrno(fileName, errno);
    }
}

} // namespace

// The file is written beside its final name and renamed over it once whole, so a failed write
// leaves the old file as it was.
void WriteSetupFile(const QString& fileName, QIODevice& source, bool executable)
{
    makeFolders(fileName, QFileInfo(fileName).absolutePath());
    QByteArray temp = QFile::encodeName(fileName) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        failErrno(fileName, errno);
    auto abandon = [&](int code, const QString& reason) {
        ::close(fd);
        ::unlink(temp.constData());
        fail(fileName, code, reason);
    };
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty()) {
        qint64 done = 0;
        while (done < chunk.size()) {
            const ssize_t n = ::write(fd, chunk.constData() + done, size_t(chunk.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                abandon(errno, QString::fromLocal8Bit(std::strerror(errno)));
            done += n;
        }
    }
    if (!source.atEnd())
        abandon(EIO, source.errorString());
    const mode_t mode = executable ? 0755 : 0644;
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        abandon(errno, QString::fromLocal8Bit(std::strerror(errno)));
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.constData());
        failErrno(fileName, code);
    }
    if (::rename(temp.constData(), QFile::encodeName(fileName).constData()) != 0) {
        const int code = errno;
        ::unlink(temp.constData());
        failErrno(fileName, code);
    }
}
