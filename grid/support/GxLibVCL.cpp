#include "GxLibVCL.h"
#include <QLocale>
#include <cstdlib>
#include <cstring>

void VarArrayRedimGx(Variant& array, int highBound)
{
    VarArrayRedim(array, highBound);
}

bool CharInAnsiSet(QChar ch, const TAnsiCharSetGx& set)
{
    return ch.unicode() < 256 && set.test(ch.unicode());
}

int NlsCompareStr(const QString& s1, const QString& s2)
{
    const int c = QString::localeAwareCompare(s1, s2);
    return c != 0 ? c : QString::compare(s1, s2, Qt::CaseSensitive);
}

int NlsCompareText(const QString& s1, const QString& s2)
{
    return NlsCompareStr(s1.toUpper(), s2.toUpper());
}

QString NlsUpperCase(const QString& s) { return QLocale().toUpper(s); }
QString NlsLowerCase(const QString& s) { return QLocale().toLower(s); }

void EmptyRect(TRect& rect) { rect = TRect(); }

qintptr SmallPointToLParam(qint16 x, qint16 y)
{
    return qintptr((quint32(quint16(y)) << 16) | quint16(x));
}

void LParamToSmallPoint(qintptr lParam, qint16& x, qint16& y)
{
    x = qint16(quint16(lParam & 0xFFFF));
    y = qint16(quint16((quint32(lParam) >> 16) & 0xFFFF));
}

// ---------------------------------------------------------------------------
// TMemoryStreamGx

TMemoryStreamGx::TMemoryStreamGx() = default;

TMemoryStreamGx::~TMemoryStreamGx()
{
    std::free(FMemory);
}

void TMemoryStreamGx::SetHalfMemoryDelta(int value)
{
    if (value <= 0 || (value & (value - 1)) != 0 || value > (1 << 29))
        throw EStreamErrorGx(QStringLiteral("Memory stream growth step must be a power of two (%1)").arg(value));
    FHalfMemoryDelta = value;
}

char* TMemoryStreamGx::Realloc(qint64& newCapacity)
{
    const qint64 step = 2 * qint64(FHalfMemoryDelta);
    if (newCapacity > 0 && newCapacity != FSize)
        newCapacity = (newCapacity + (step - 1)) & ~(step - 1);
    if (newCapacity == FCapacity)
        return FMemory;
    if (newCapacity == 0) {
        std::free(FMemory);
        return nullptr;
    }
    void* block = std::realloc(FMemory, size_t(newCapacity));
    if (!block)
        throw EStreamErrorGx(QStringLiteral("Out of memory while expanding memory stream"));
    return static_cast<char*>(block);
}

void TMemoryStreamGx::SetCapacity(qint64 newCapacity)
{
    FMemory = Realloc(newCapacity);
    FCapacity = newCapacity;
}

void TMemoryStreamGx::SetSize(qint64 newSize)
{
    const qint64 oldPosition = FPosition;
    SetCapacity(newSize);
    FSize = newSize;
    if (oldPosition > newSize)
        Seek(0, soEnd);
}

void TMemoryStreamGx::Clear()
{
    SetCapacity(0);
    FSize = 0;
    FPosition = 0;
}

qint64 TMemoryStreamGx::Read(void* buffer, qint64 count)
{
    if (FPosition < 0 || count <= 0)
        return 0;
    const qint64 n = qMin(count, FSize - FPosition);
    if (n <= 0)
        return 0;
    std::memcpy(buffer, FMemory + FPosition, size_t(n));
    FPosition += n;
    return n;
}

qint64 TMemoryStreamGx::Write(const void* buffer, qint64 count)
{
    if (FPosition < 0 || count <= 0)
        return 0;
    const qint64 end = FPosition + count;
    if (end > FSize) {
        if (end > FCapacity)
            SetCapacity(end);
        FSize = end;
    }
    std::memcpy(FMemory + FPosition, buffer, size_t(count));
    FPosition = end;
    return count;
}

qint64 TMemoryStreamGx::Seek(qint64 offset, TSeekOrigin origin)
{
    switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = FSize + offset; break;
    }
    return FPosition;
}
