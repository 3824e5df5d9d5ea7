#pragma once
// A sorted list of dataset bookmarks: membership in logarithmic time, entries in
// the dataset's own record order. Base of the grid's selected-rows list and of
// the footer sums' list of virtual records; descendants supply the dataset and
// the reactions to change.
#include "platform/db/DBTypes.h"
#include <QList>
#include <functional>

class TDataSet;
class TBMListGx;

// Compares the entries at two indexes (negative, 0, positive).
using TBMListSortCompare = std::function<int(TBMListGx* list, TDataSet* dataSet, int index1, int index2)>;

class TBMListGx {
public:
    TBMListGx();
    virtual ~TBMListGx();
    TBMListGx(const TBMListGx&) = delete;
    TBMListGx& operator=(const TBMListGx&) = delete;

    TDataSet* DataSet() const { return GetDataSet(); }
    int Count() const { return int(FList.size()); }
    // The bookmark at an index (0 .. Count-1).
    const TBookmark& GetItem(int index) const { return FList[index]; }
    const TBookmark& operator[](int index) const { return FList[index]; }

    // Binary search; Index is the equal entry's position or the insertion point.
    bool Find(const TBookmark& item, int& index);
    int IndexOf(const TBookmark& item);

    bool CurrentRowSelected();
    virtual void SetCurrentRowSelected(bool value);
    TBookmark GetCurrentRow();
    // The current record's bookmark compared with another (<0, 0, >0).
    int CompareWithCurrent(const TBookmark& item);

    void InsertItem(int index, const TBookmark& item);
    void AppendItem(const TBookmark& item) { InsertItem(Count(), item); }
    void DeleteItem(int index);
    virtual void Clear();
    bool LinkActive() const { return FLinkActive; }
    void SetLinkActive(bool value);

    void SelectAll();
    void Delete();
    bool Refresh();
    virtual void CustomSort(TDataSet* dataSet, const TBMListSortCompare& compare);

protected:
    virtual TDataSet* GetDataSet() const { return nullptr; }
    virtual void Invalidate() {}
    [[noreturn]] virtual void RaiseBMListError(const QString& message);
    virtual void ItemChanged(const TBookmark& item);
    virtual void ListChanged() {}
    void ForgetCache();

private:
    void QuickSort(int left, int right, TDataSet* dataSet, const TBMListSortCompare& compare);

    TBookmark FCache;
    bool FCacheFind = false;
    int FCacheIndex = -1;
    bool FLinkActive = false;
    QList<TBookmark> FList;
};
