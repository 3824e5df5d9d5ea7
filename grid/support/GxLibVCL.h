#pragma once
// The grid library's thin layer over the window system and the run-time
// library: the rest of the library calls these named routines with its own
// types instead of reaching the platform directly.
#include "Exceptions.h"
#include "Variant.h"
#include "platform/db/DBTypes.h"
#include "platform/gui/Graphics.h"
#include <QList>
#include <QRect>
#include <QString>
#include <bitset>
#include <cstddef>
#include <functional>

// The stream error of the class library's streams.
class EStreamErrorGx : public Exception {
public:
    explicit EStreamErrorGx(const QString& message) : Exception(message) {}
    QString ClassName() const override { return QStringLiteral("EStreamError"); }
};

// Changes the high bound of a variant array; new elements are Unassigned.
void VarArrayRedimGx(Variant& array, int highBound);

using TAnsiCharSetGx = std::bitset<256>;
bool CharInAnsiSet(QChar ch, const TAnsiCharSetGx& set);

// Editors call it after a change of a persistent object; nothing to do here.
template <class T> inline void NotifyPersistentChanged(T*) {}

int NlsCompareStr(const QString& s1, const QString& s2);
int NlsCompareText(const QString& s1, const QString& s2);
QString NlsUpperCase(const QString& s);
QString NlsLowerCase(const QString& s);

class TDataSet;
class TDataSource;

// The dataset's order of two bookmarks (<0, 0, >0); an empty bookmark sorts first.
int DataSetCompareBookmarks(const TDataSet* dataSet, const TBookmark& bookmark1, const TBookmark& bookmark2);
bool DataSetBookmarkValid(const TDataSet* dataSet, const TBookmark& bookmark);

// Data-source properties of components ("MasterSource" of a detail dataset). A
// component class that has such a property registers a reader for it; the reader
// answers nullptr when the component is not of its class.
using TDataSourcePropReaderGx = std::function<TDataSource*(const void* component, const QString& propName)>;
void RegisterDataSourcePropReaderGx(const TDataSourcePropReaderGx& reader);
void ClearDataSourcePropReadersGx();
// The dataset of the data source held in a component's property; any failure
// (no such property, not a data source, an exception while reading) gives nullptr.
TDataSet* GetDataSetFromDataSourceProp(const void* component, const QString& propName);

// Sets the rectangle to (0, 0, 0, 0).
void EmptyRect(TRect& rect);

// A packed point as a message parameter and back, without change of bits.
qintptr SmallPointToLParam(qint16 x, qint16 y);
void LParamToSmallPoint(qintptr lParam, qint16& x, qint16& y);

// A memory stream whose capacity grows in steps of twice HalfMemoryDelta.
// The step must be a power of two: a rounding mask only works for such steps.
class TMemoryStreamGx {
public:
    TMemoryStreamGx();
    ~TMemoryStreamGx();
    TMemoryStreamGx(const TMemoryStreamGx&) = delete;
    TMemoryStreamGx& operator=(const TMemoryStreamGx&) = delete;

    int HalfMemoryDelta() const { return FHalfMemoryDelta; }
    // Raises EStreamErrorGx for a value that is not a positive power of two.
    void SetHalfMemoryDelta(int value);

    qint64 Size() const { return FSize; }
    void SetSize(qint64 newSize);
    qint64 Position() const { return FPosition; }
    qint64 Capacity() const { return FCapacity; }
    const char* Memory() const { return FMemory; }
    void Clear();

    qint64 Read(void* buffer, qint64 count);
    qint64 Write(const void* buffer, qint64 count);
    enum TSeekOrigin { soBeginning, soCurrent, soEnd };
    qint64 Seek(qint64 offset, TSeekOrigin origin);

protected:
    // Gives the block for a requested capacity; raises "Out of memory while
    // expanding memory stream" and keeps the old block when allocation fails.
    virtual char* Realloc(qint64& newCapacity);

private:
    void SetCapacity(qint64 newCapacity);
    int FHalfMemoryDelta = 4096;
    char* FMemory = nullptr;
    qint64 FSize = 0;
    qint64 FPosition = 0;
    qint64 FCapacity = 0;
};
