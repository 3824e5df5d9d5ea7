#pragma once
// The user's folders as the desktop names them: the home folder and the XDG base and user
// folders. Each is read afresh from the environment on every call.
#include <QString>

QString UserHomeDir();
// $XDG_DATA_HOME, else ~/.local/share: the user's applications and menu directories live here.
QString XdgDataHome();
// $XDG_CONFIG_HOME, else ~/.config: the merged menus and user-dirs.dirs live here.
QString XdgConfigHome();
// The desktop folder: $XDG_DESKTOP_DIR, else the XDG_DESKTOP_DIR line of user-dirs.dirs,
// else ~/Desktop.
QString XdgDesktopDir();
