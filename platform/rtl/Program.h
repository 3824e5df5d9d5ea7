#pragma once
// The program folder: the executable's folder, where log, dpxdata, dpxprt, backdata and
// Database live. Tests set another one in-process.
#include <QString>

QString ProgramDir();                       // with no trailing separator
void SetProgramDirForTesting(const QString& dir);  // empty restores the executable's folder
