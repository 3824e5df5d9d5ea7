#include "BMListGx.h"
#include "GxLibVCL.h"
#include "platform/db/DataSet.h"

TBMListGx::TBMListGx() = default;

TBMListGx::~TBMListGx()
{
    TBMListGx::Clear();
    TBMListGx::ListChanged();
}

void TBMListGx::ForgetCache()
{
    FCache = TBookmark();
    FCacheIndex = -1;
}

bool TBMListGx::Find(const TBookmark& item, int& index)
{
    // The cache holds the last answer; any change of the list forgets it.
    if (FCacheIndex >= 0 && !FCache.IsEmpty() && FCache == item) {
        index = FCacheIndex;
        return FCacheFind;
    }
    TDataSet* ds = GetDataSet();
    bool found = false;
    int lo = 0;
    int hi = Count() - 1;
    while (hi >= lo) {
        const int mid = (lo + hi) / 2;
        const int c = DataSetCompareBookmarks(ds, FList[mid], item);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                lo = mid;
                found = true;
            }
        }
    }
    index = lo;
    FCache = item;
    FCacheIndex = lo;
    FCacheFind = found;
    return found;
}

int TBMListGx::IndexOf(const TBookmark& item)
{
    int index = -1;
    return Find(item, index) ? index : -1;
}

TBookmark TBMListGx::GetCurrentRow()
{
    if (!FLinkActive)
        RaiseBMListError(QString::fromLatin1(DBText::DataSetClosed));
    return GetDataSet()->GetBookmark();
}

int TBMListGx::CompareWithCurrent(const TBookmark& item)
{
    return DataSetCompareBookmarks(GetDataSet(), item, GetCurrentRow());
}

bool TBMListGx::CurrentRowSelected()
{
    int index = -1;
    return Find(GetCurrentRow(), index);
}

void TBMListGx::SetCurrentRowSelected(bool value)
{
    const TBookmark current = GetCurrentRow();
    int index = -1;
    if (Find(current, index) == value)
        return;
    if (value)
        InsertItem(index, current);
    else
        DeleteItem(index);
}

void TBMListGx::InsertItem(int index, const TBookmark& item)
{
    if (index < 0 || index > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    FList.insert(index, item);
    ItemChanged(item);
}

void TBMListGx::DeleteItem(int index)
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    const TBookmark removed = FList.takeAt(index);
    ItemChanged(removed);
}

void TBMListGx::Clear()
{
    if (FList.isEmpty())
        return;
    FList.clear();
    ForgetCache();
    ListChanged();
    Invalidate();
}

void TBMListGx::SetLinkActive(bool value)
{
    Clear();
    ListChanged();
    FLinkActive = value;
}

void TBMListGx::RaiseBMListError(const QString& message)
{
    throw Exception(message);
}

void TBMListGx::ItemChanged(const TBookmark&)
{
    ForgetCache();
}

void TBMListGx::SelectAll()
{
    if (!FLinkActive)
        return;
    TDataSet* ds = GetDataSet();
    ds->DisableControls();
    try {
        const TBookmark remembered = ds->GetBookmark();
        ds->First();
        while (!ds->Eof()) {
            SetCurrentRowSelected(true);
            ds->Next();
        }
        if (!remembered.IsEmpty())
            ds->GotoBookmark(remembered);
    } catch (...) {
        ds->EnableControls();
        throw;
    }
    ds->EnableControls();
}

void TBMListGx::Delete()
{
    TDataSet* ds = GetDataSet();
    ds->DisableControls();
    try {
        for (int i = Count() - 1; i >= 0; --i) {
            ds->GotoBookmark(FList[i]);
            ds->Delete();
            DeleteItem(i);
        }
    } catch (...) {
        ds->EnableControls();
        throw;
    }
    ds->EnableControls();
    ListChanged();
}

bool TBMListGx::Refresh()
{
    TDataSet* ds = GetDataSet();
    bool removed = false;
    auto finish = [&] {
        ListChanged();
        if (removed)
            Invalidate();
    };
    try {
        ds->CheckBrowseMode();
        for (int i = Count() - 1; i >= 0; --i) {
            if (!DataSetBookmarkValid(ds, FList[i])) {
                DeleteItem(i);
                removed = true;
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return removed;
}

void TBMListGx::CustomSort(TDataSet* dataSet, const TBMListSortCompare& compare)
{
    if (Count() < 2)
        return;
    ForgetCache();
    QuickSort(0, Count() - 1, dataSet, compare);
}

void TBMListGx::QuickSort(int left, int right, TDataSet* dataSet, const TBMListSortCompare& compare)
{
    do {
        int i = left;
        int j = right;
        int p = (left + right) / 2;
        do {
            while (compare(this, dataSet, i, p) < 0)
                ++i;
            while (compare(this, dataSet, j, p) > 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    FList.swapItemsAt(i, j);
                    if (p == i)
                        p = j;
                    else if (p == j)
                        p = i;
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (left < j)
            QuickSort(left, j, dataSet, compare);
        left = i;
    } while (left < right);
}
