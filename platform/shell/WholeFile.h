#pragma once
#include <QByteArray>
#include <QString>

class QIODevice;

// Writes a whole file (all or nothing, replacing an existing file) from data or from what is
// left to read of source, making the missing parent folders; executable gives it the execute
// bits. Raises EFCreateError "Cannot create file "<name>". <reason>".
void WriteWholeFile(const QString& fileName, const QByteArray& data, bool executable = false);
void WriteWholeFile(const QString& fileName, QIODevice& source, bool executable = false);
