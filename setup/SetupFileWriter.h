#pragma once
// The setup's own file writer: a whole file written beside its name and renamed over it, so a
// failed write leaves what stood there; a failure carries the system's error number, from
// which the setup tells the user why (no permission, a file where a folder should be, a full
// disk).
#include "platform/rtl/Exceptions.h"

#include <QString>

class QIODevice;

class EFileWriteError : public EFCreateError {
public:
    EFileWriteError(const QString& message, int code) : EFCreateError(message), m_code(code) {}
    QString ClassName() const override { return QStringLiteral("EFileWriteError"); }
    int Code() const { return m_code; }

private:
    int m_code;
};

// Writes what is left to read of source as fileName, making the missing folders; executable
// gives it the execute bits. Raises EFileWriteError "Cannot create file "<name>". <reason>".
void WriteSetupFile(const QString& fileName, QIODevice& source, bool executable);
