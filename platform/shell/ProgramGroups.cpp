#include "ProgramGroups.h"

#include "DesktopEntry.h"
#include "ShellFolders.h"
#include "WholeFile.h"

#include <QFileInfo>

namespace {

// A name as it may stand in a file name or a category: letters and digits kept, the rest
// as '-', so "Depotrix" and "depotrix" name one group, as the program manager's names did.
QString slug(const QString& name)
{
    QString out;
    for (const QChar c : name.toLower()) out += (c.isLetterOrNumber() && c.unicode() < 0x80) ? c : QLatin1Char('-');
    return out.isEmpty() ? QStringLiteral("-") : out;
}

QString groupId(const QString& group) { return QStringLiteral("depotrix-") + slug(group); }

QString xmlEscaped(const QString& s) { return s.toHtmlEscaped(); }

} // namespace

QString TProgramGroups::MenuFile(const QString& Group)
{
    return XdgConfigHome() + QStringLiteral("/menus/applications-merged/") + groupId(Group) + QStringLiteral(".menu");
}

QString TProgramGroups::DirectoryFile(const QString& Group)
{
    return XdgDataHome() + QStringLiteral("/desktop-directories/") + groupId(Group) + QStringLiteral(".directory");
}

QString TProgramGroups::ItemFile(const QString& Group, const QString& Name)
{
    return XdgDataHome() + QStringLiteral("/applications/") + groupId(Group) + QLatin1Char('-') + slug(Name)
           + QStringLiteral(".desktop");
}

QString TProgramGroups::Category(const QString& Group)
{
    QString id = groupId(Group);
    id[0] = id[0].toUpper();
    return QStringLiteral("X-") + id;
}

void TProgramGroups::CreateGroup(const QString& Group, const QString& Caption)
{
    TDesktopEntry dir;
    dir.Type = TDesktopEntry::etDirectory;
    dir.Name = Caption;
    dir.SaveToFile(DirectoryFile(Group));

    const QString menu =
        QStringLiteral("<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                       " \"http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd\">\n"
                       "<Menu>\n"
                       "  <Name>Applications</Name>\n"
                       "  <Menu>\n"
                       "    <Name>%1</Name>\n"
                       "    <Directory>%2</Directory>\n"
                       "    <Include>\n"
                       "      <Category>%3</Category>\n"
                       "    </Include>\n"
                       "  </Menu>\n"
                       "</Menu>\n")
            .arg(xmlEscaped(Caption), xmlEscaped(QFileInfo(DirectoryFile(Group)).fileName()), xmlEscaped(Category(Group)));
    WriteWholeFile(MenuFile(Group), menu.toUtf8());
}

void TProgramGroups::AddItem(const QString& Group, const QString& Program, const QString& Name)
{
    TDesktopEntry item;
    item.Name = Name;
    item.Program = Program;
    item.WorkingDir = QFileInfo(Program).absolutePath();
    item.Categories = {Category(Group)};
    item.SaveToFile(ItemFile(Group, Name));
}
