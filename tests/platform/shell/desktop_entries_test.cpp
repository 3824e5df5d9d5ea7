// Program groups and desktop shortcuts as desktop entries: the files pass the desktop's
// validator, and the desktop's launcher starts the program in its own folder, whatever
// blanks, quotes, shell characters, percent signs and Chinese its path holds.
#include "desktop_tools.h"
#include "xdg_home.h"

#include "platform/rtl/Exceptions.h"
#include "platform/shell/DesktopEntry.h"
#include "platform/shell/ProgramGroups.h"
#include "platform/shell/ShellFolders.h"
#include "platform/shell/ShellLink.h"

#include <gtest/gtest.h>
#include <QXmlStreamReader>

using namespace dpxtest;

namespace {

QString readFile(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString keyOf(const QString& text, const QString& key)
{
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char('='))) return line.mid(key.size() + 1);
    return QString();
}

} // namespace

TEST(DesktopEntries, ProgramStartsInItsFolderFromMenuAndDesktop)
{
    const char* folders[] = {
        "Depotrix",
        "材料 管理/Depotrix 程序",
        "my \"quoted\" folder/it's here",
        "shell $HOME `x` chars\\back",
        "100% done %f %%",
        " blank at both ends ",
    };
    for (const char* folder : folders) {
        SCOPED_TRACE(folder);
        XdgHome home;
        const QString dir = home.root() + QStringLiteral("/programs/") + QString::fromUtf8(folder);
        const QString program = dir + QStringLiteral("/depotrix");
        ASSERT_TRUE(writeStubProgram(program));

        TProgramGroups::CreateGroup(QStringLiteral("Depotrix"), QStringLiteral("Depotrix"));
        TProgramGroups::AddItem(QStringLiteral("Depotrix"), program, QStringLiteral("Depotrix"));
        TShellLink link;
        link.SetPath(program);
        link.SetWorkingDirectory(dir);
        const QString linkFile = XdgDesktopDir() + QStringLiteral("/Depotrix.desktop");
        link.Save(linkFile);

        const QString item = TProgramGroups::ItemFile(QStringLiteral("Depotrix"), QStringLiteral("Depotrix"));
        EXPECT_TRUE(item.startsWith(home.dataHome() + QStringLiteral("/applications/")));
        EXPECT_TRUE(linkFile.startsWith(home.desktop() + QLatin1Char('/')));
        EXPECT_TRUE(QFileInfo(linkFile).isExecutable());
        for (const QString& file : {item, linkFile, TProgramGroups::DirectoryFile(QStringLiteral("Depotrix"))})
            EXPECT_EQ(validateDesktopFile(file), QString()) << readFile(file).toStdString();
        for (const QString& file : {item, linkFile})
            EXPECT_EQ(launchDesktopFile(file, home.root() + QStringLiteral("/started.txt")), dir + QLatin1Char('\n') + program)
                << readFile(file).toStdString();
    }
}

// The group is a submenu of the applications menu named by its directory entry; it takes
// the items of its category.
TEST(DesktopEntries, GroupIsAMergedSubmenuTakingItsItems)
{
    XdgHome home;
    TProgramGroups::CreateGroup(QStringLiteral("Depotrix"), QStringLiteral("Depotrix"));
    TProgramGroups::AddItem(QStringLiteral("Depotrix"), QStringLiteral("/opt/Depotrix/depotrix"), QStringLiteral("Depotrix"));
    const QString menu = TProgramGroups::MenuFile(QStringLiteral("Depotrix"));
    EXPECT_TRUE(menu.startsWith(home.configHome() + QStringLiteral("/menus/applications-merged/")));

    QFile f(menu);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    QStringList path, found;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) path << xml.name().toString();
        if (xml.isEndElement()) path.removeLast();
        if (xml.isCharacters() && !xml.isWhitespace()) found << path.join(QLatin1Char('/')) + QLatin1Char('=') + xml.text().toString();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    const QString category = TProgramGroups::Category(QStringLiteral("Depotrix"));
    EXPECT_EQ(found, (QStringList{QStringLiteral("Menu/Name=Applications"), QStringLiteral("Menu/Menu/Name=Depotrix"),
                                  QStringLiteral("Menu/Menu/Directory=")
                                      + QFileInfo(TProgramGroups::DirectoryFile(QStringLiteral("Depotrix"))).fileName(),
                                  QStringLiteral("Menu/Menu/Include/Category=") + category}));
    const QString directory = readFile(TProgramGroups::DirectoryFile(QStringLiteral("Depotrix")));
    EXPECT_EQ(keyOf(directory, QStringLiteral("Type")), QStringLiteral("Directory"));
    EXPECT_EQ(keyOf(directory, QStringLiteral("Name")), QStringLiteral("Depotrix"));
    const QString item = readFile(TProgramGroups::ItemFile(QStringLiteral("Depotrix"), QStringLiteral("Depotrix")));
    EXPECT_EQ(keyOf(item, QStringLiteral("Categories")), category + QLatin1Char(';'));
    EXPECT_EQ(keyOf(item, QStringLiteral("Path")), QStringLiteral("/opt/Depotrix"));
}

TEST(DesktopEntries, WriteFailureNamesTheFile)
{
    XdgHome home;
    // The applications folder is a file: the item cannot be written.
    ASSERT_TRUE(QDir().mkpath(home.dataHome()));
    QFile blocker(home.dataHome() + QStringLiteral("/applications"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        TProgramGroups::AddItem(QStringLiteral("Depotrix"), QStringLiteral("/opt/d/depotrix"), QStringLiteral("Depotrix"));
        FAIL() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_TRUE(e.Message().contains(TProgramGroups::ItemFile(QStringLiteral("Depotrix"), QStringLiteral("Depotrix"))))
            << e.what();
    }
}

TEST(DesktopEntries, DesktopFolderFromEnvironmentUserDirsOrHome)
{
    XdgHome home;
    EXPECT_EQ(XdgDesktopDir(), home.desktop());
    qunsetenv("XDG_DESKTOP_DIR");
    EXPECT_EQ(XdgDesktopDir(), home.home() + QStringLiteral("/Desktop"));
    const struct {
        const char* line;
        QString expected;
    } cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/桌面\"\n", home.home() + QStringLiteral("/桌面")},
        {"# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_DESKTOP_DIR=\"/srv/desk top\"\n", QStringLiteral("/srv/desk top")},
        {"XDG_DESKTOP_DIR=\"$HOME\"\n", home.home()},
        {"XDG_DESKTOP_DIR=\"relative\"\n", home.home() + QStringLiteral("/Desktop")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        QDir().mkpath(home.configHome());
        QFile f(home.configHome() + QStringLiteral("/user-dirs.dirs"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.line);
        f.close();
        EXPECT_EQ(XdgDesktopDir(), c.expected);
    }
    qputenv("XDG_DATA_HOME", "not/absolute");
    EXPECT_EQ(XdgDataHome(), home.home() + QStringLiteral("/.local/share"));
}
