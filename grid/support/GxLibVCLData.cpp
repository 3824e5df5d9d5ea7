// The grid library's adapters of the dataset layer.
#include "GxLibVCL.h"
#include "platform/db/DataSource.h"

int DataSetCompareBookmarks(const TDataSet* dataSet, const TBookmark& bookmark1, const TBookmark& bookmark2)
{
    if (bookmark1.IsEmpty() || bookmark2.IsEmpty())
        return int(!bookmark1.IsEmpty()) - int(!bookmark2.IsEmpty());
    return dataSet->CompareBookmarks(bookmark1, bookmark2);
}

bool DataSetBookmarkValid(const TDataSet* dataSet, const TBookmark& bookmark)
{
    return dataSet->BookmarkValid(bookmark);
}

namespace {
QList<TDataSourcePropReaderGx>& PropReaders()
{
    static QList<TDataSourcePropReaderGx> readers;
    return readers;
}
} // namespace

void RegisterDataSourcePropReaderGx(const TDataSourcePropReaderGx& reader)
{
    PropReaders().append(reader);
}

void ClearDataSourcePropReadersGx()
{
    PropReaders().clear();
}

TDataSet* GetDataSetFromDataSourceProp(const void* component, const QString& propName)
{
    if (!component)
        return nullptr;
    try {
        for (const TDataSourcePropReaderGx& reader : std::as_const(PropReaders()))
            if (TDataSource* source = reader(component, propName))
                return source->DataSet();
    } catch (...) {
    }
    return nullptr;
}
