#include "DesktopEntry.h"

#include "WholeFile.h"


QString DesktopEntryEscape(const QString& value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case ' ':
            out += (i == 0 || i == value.size() - 1) ? QStringLiteral("\\s") : QStringLiteral(" ");
            break;
        default: out += c;
        }
    }
    return out;
}

QString DesktopExecArgument(const QString& arg)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : arg) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
        if (c == QLatin1Char('%')) quoted += QLatin1Char('%');
    }
    quoted += QLatin1Char('"');
    return DesktopEntryEscape(quoted);
}

QString TDesktopEntry::Text() const
{
    QString t = QStringLiteral("[Desktop Entry]\n");
    t += Type == etDirectory ? QStringLiteral("Type=Directory\n") : QStringLiteral("Type=Application\n");
    t += QStringLiteral("Version=1.0\n");
    t += QStringLiteral("Name=") + DesktopEntryEscape(Name) + QLatin1Char('\n');
    if (!Comment.isEmpty()) t += QStringLiteral("Comment=") + DesktopEntryEscape(Comment) + QLatin1Char('\n');
    if (!Icon.isEmpty()) t += QStringLiteral("Icon=") + DesktopEntryEscape(Icon) + QLatin1Char('\n');
    if (Type == etApplication) {
        // Launchers built on GLib look the program up before they expand "%%", so a path with
        // a percent sign would not be found: such a path is started through env instead.
        QString exec = DesktopExecArgument(Program);
        if (Program.contains(QLatin1Char('%'))) exec = QStringLiteral("env ") + exec;
        t += QStringLiteral("Exec=") + exec + QLatin1Char('\n');
        if (!WorkingDir.isEmpty()) t += QStringLiteral("Path=") + DesktopEntryEscape(WorkingDir) + QLatin1Char('\n');
        t += QStringLiteral("Terminal=false\n");
        if (!Categories.isEmpty()) {
            QString cats;
            for (const QString& c : Categories) cats += DesktopEntryEscape(c) + QLatin1Char(';');
            t += QStringLiteral("Categories=") + cats + QLatin1Char('\n');
        }
    }
    return t;
}

void TDesktopEntry::SaveToFile(const QString& fileName, bool executable) const
{
    WriteWholeFile(fileName, Text().toUtf8(), executable);
}
