#include "DBTypes.h"

void DatabaseError(const QString& message)
{
    throw EDatabaseError(message);
}

void DatabaseErrorFmt(const char* text, const QString& a1)
{
    throw EDatabaseError(QString::fromUtf8(text).arg(a1));
}

void DatabaseErrorFmt(const char* text, const QString& a1, const QString& a2)
{
    throw EDatabaseError(QString::fromUtf8(text).arg(a1, a2));
}
