#include "ShellFolders.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace {

QString absoluteEnv(const char* name)
{
    const QString v = qEnvironmentVariable(name);
    // Relative values are invalid and ignored, as the base directory rules say.
    return QDir::isAbsolutePath(v) ? QDir::cleanPath(v) : QString();
}

// XDG_DESKTOP_DIR="$HOME/Desktop" from user-dirs.dirs: a double-quoted value that is either
// an absolute path or one relative to $HOME.
QString userDirsEntry(const QString& key)
{
    QFile f(XdgConfigHome() + QStringLiteral("/user-dirs.dirs"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    QTextStream in(&f);
    QString found;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('#')) || !line.startsWith(key + QLatin1Char('='))) continue;
        QString v = line.mid(key.size() + 1).trimmed();
        if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'))) v = v.mid(1, v.size() - 2);
        v.replace(QStringLiteral("\\\""), QStringLiteral("\""));
        if (v == QLatin1String("$HOME")) {
            v = UserHomeDir();
        } else if (v.startsWith(QLatin1String("$HOME/"))) {
            v = UserHomeDir() + v.mid(5);
        }
        if (QDir::isAbsolutePath(v)) found = QDir::cleanPath(v);   // the last line wins
    }
    return found;
}

} // namespace

QString UserHomeDir() { return QDir::homePath(); }

QString XdgDataHome()
{
    const QString v = absoluteEnv("XDG_DATA_HOME");
    return v.isEmpty() ? UserHomeDir() + QStringLiteral("/.local/share") : v;
}

QString XdgConfigHome()
{
    const QString v = absoluteEnv("XDG_CONFIG_HOME");
    return v.isEmpty() ? UserHomeDir() + QStringLiteral("/.config") : v;
}

QString XdgDesktopDir()
{
    QString v = absoluteEnv("XDG_DESKTOP_DIR");
    if (v.isEmpty()) v = userDirsEntry(QStringLiteral("XDG_DESKTOP_DIR"));
    return v.isEmpty() ? UserHomeDir() + QStringLiteral("/Desktop") : v;
}
