#pragma once
// The shell's folder picker, shown through the dialog service (kind "SelectDirectory", the
// caption as its caption and the starting folder as its text) so that a test can answer it.
#include <QString>

// Shows the picker with Caption, starting at Directory, else at Root, else nowhere in
// particular; true with the chosen folder in Directory when confirmed.
bool SelectDirectory(const QString& Caption, const QString& Root, QString& Directory);
