#pragma once
// Desktop entry files (.desktop, .directory) as the freedesktop Desktop Entry format has
// them: the key file with its string escapes, and the Exec= command line with its quoting
// and field codes.
#include <QString>
#include <QStringList>

// A value of type string: '\' as "\\", line breaks and tabs as "\n", "\r", "\t", and a
// blank at either end as "\s" so that no reader trims it.
QString DesktopEntryEscape(const QString& value);

// One argument of an Exec= line as it stands in the file: always in double quotes, '"',
// '`', '$' and '\' escaped inside them, '%' doubled (a literal percent, not a field code),
// and the string escapes of the key file applied over that.
QString DesktopExecArgument(const QString& arg);

class TDesktopEntry {
public:
    enum TEntryType { etApplication, etDirectory };

    TEntryType Type = etApplication;
    QString Name;
    QString Comment;
    QString Icon;
    QString Program;         // Exec=: the program with its full path, no arguments
    QString WorkingDir;      // Path=
    QStringList Categories;

    // The file's text, "[Desktop Entry]" group first.
    QString Text() const;
    // Writes the text as a whole to fileName (UTF-8), making missing parent folders; an
    // executable entry gets the execute bits, which desktops ask of launchers on the desktop.
    // Raises EFCreateError with the file and the reason when it cannot.
    void SaveToFile(const QString& fileName, bool executable = false) const;
};
