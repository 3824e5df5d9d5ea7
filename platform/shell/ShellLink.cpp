#include "ShellLink.h"

#include "DesktopEntry.h"

#include <QFileInfo>

void TShellLink::Save(const QString& linkFile) const
{
    TDesktopEntry e;
    e.Name = m_name.isEmpty() ? QFileInfo(linkFile).completeBaseName() : m_name;
    e.Comment = m_description;
    e.Program = m_path;
    e.WorkingDir = m_workingDir;
    // Desktops start a launcher on the desktop only when it is executable.
    e.SaveToFile(linkFile, true);
}
