#pragma once
// A temporary home folder with its own XDG folders for the length of a test: HOME,
// XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_DESKTOP_DIR point into it and are restored after.
#include <QByteArray>
#include <QDir>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

namespace dpxtest {

class XdgHome {
public:
    XdgHome()
    {
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR"})
            m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
        qputenv("HOME", home().toUtf8());
        qputenv("XDG_DATA_HOME", dataHome().toUtf8());
        qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
        qputenv("XDG_DESKTOP_DIR", desktop().toUtf8());
        QDir().mkpath(home());
    }
    ~XdgHome()
    {
        for (const auto& [name, value] : m_saved) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    XdgHome(const XdgHome&) = delete;
    XdgHome& operator=(const XdgHome&) = delete;

    QString root() const { return m_dir.path(); }
    QString home() const { return root() + QStringLiteral("/home"); }
    QString dataHome() const { return root() + QStringLiteral("/data"); }
    QString configHome() const { return root() + QStringLiteral("/config"); }
    // The desktop folder as a Chinese desktop names it.
    QString desktop() const { return home() + QStringLiteral("/桌面"); }

private:
    QTemporaryDir m_dir;
    QList<QPair<const char*, QByteArray>> m_saved;
};

} // namespace dpxtest
