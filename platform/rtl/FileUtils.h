#pragma once
// File and folder helpers with the class library's names. The path delimiter is '/';
// the Extract* routines also split at '\' so that paths written in the Windows manner read
// the same.
#include <QString>

inline constexpr QChar PathDelim = QLatin1Char('/');

QString IncludeTrailingPathDelimiter(const QString& path);
QString ExcludeTrailingPathDelimiter(const QString& path);
QString ExtractFilePath(const QString& fileName);   // folder with its trailing delimiter
QString ExtractFileDir(const QString& fileName);    // folder without it
QString ExtractFileName(const QString& fileName);
QString ExtractFileExt(const QString& fileName);    // ".prt", or "" without extension
QString ChangeFileExt(const QString& fileName, const QString& ext);

bool FileExists(const QString& fileName);           // a file, not a folder
bool DirectoryExists(const QString& dir);
bool CreateDir(const QString& dir);                 // one level; false when it cannot be made
bool ForceDirectories(const QString& dir);          // every missing level
bool DeleteFile(const QString& fileName);
bool RenameFile(const QString& oldName, const QString& newName);
