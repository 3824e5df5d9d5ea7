#pragma once
// The program manager's groups on a freedesktop desktop. A group is a submenu of the
// applications menu: a directory entry with its name and a merged menu file that takes every
// application of the group's own category. An item is an application entry of that category
// in the user's applications folder. Creating a group or an item that exists renews it.
#include <QString>

class TProgramGroups {
public:
    // Raises EFCreateError when a file cannot be written.
    static void CreateGroup(const QString& Group, const QString& Caption);
    // The item starts Program in its own folder.
    static void AddItem(const QString& Group, const QString& Program, const QString& Name);

    static QString MenuFile(const QString& Group);        // $XDG_CONFIG_HOME/menus/applications-merged/...
    static QString DirectoryFile(const QString& Group);   // $XDG_DATA_HOME/desktop-directories/...
    static QString ItemFile(const QString& Group, const QString& Name);   // $XDG_DATA_HOME/applications/...
    static QString Category(const QString& Group);        // "X-Depotrix-<group>"
};
