// The sorted bookmark list: order, look-ups, notifications and bulk operations.
#include "BMListGx.h"
#include "dataset_fixture.h"
#include <gtest/gtest.h>

using namespace gxtest;

namespace {

class CountingList : public TBMListGx {
public:
    explicit CountingList(TDataSet* ds) : FDs(ds) {}
    int listChanged = 0;
    int invalidated = 0;
    int itemChanged = 0;
protected:
    TDataSet* GetDataSet() const override { return FDs; }
    void ListChanged() override { ++listChanged; }
    void Invalidate() override { ++invalidated; }
    void ItemChanged(const TBookmark& item) override { ++itemChanged; TBMListGx::ItemChanged(item); }
private:
    TDataSet* FDs;
};

QList<int> Ids(TBMListGx& list, TDataSet* ds)
{
    QList<int> out;
    for (int i = 0; i < list.Count(); ++i) {
        ds->GotoBookmark(list.GetItem(i));
        out << ds->FieldByName("id")->AsInteger();
    }
    return out;
}

void Select(CountingList& list, TDataSet* ds, int id, bool value = true)
{
    ASSERT_TRUE(GoTo(ds, id));
    list.SetCurrentRowSelected(value);
}

} // namespace

TEST(BookmarkList, KeepsDatasetOrder)
{
    auto ds = NumberedDataSet(10);
    CountingList list(ds.get());
    list.SetLinkActive(true);
    for (int id : {5, 2, 9, 5})
        Select(list, ds.get(), id);
    EXPECT_EQ(Ids(list, ds.get()), QList<int>({2, 5, 9}));
    // The order is the dataset's view order, also after re-sorting the view.
    ds->SetIndexFieldNames("id DESC");
    CountingList sorted(ds.get());
    sorted.SetLinkActive(true);
    for (int id : {5, 2, 9})
        Select(sorted, ds.get(), id);
    EXPECT_EQ(Ids(sorted, ds.get()), QList<int>({9, 5, 2}));
}

TEST(BookmarkList, FindAnswersPositions)
{
    auto ds = NumberedDataSet(10);
    CountingList list(ds.get());
    int index = -1;
    EXPECT_FALSE(list.Find(TBookmark(3), index));
    EXPECT_EQ(index, 0);
    list.SetLinkActive(true);
    for (int id : {2, 5, 9})
        Select(list, ds.get(), id);
    GoTo(ds.get(), 10);
    EXPECT_FALSE(list.Find(ds->GetBookmark(), index));
    EXPECT_EQ(index, 3);
    GoTo(ds.get(), 6);
    EXPECT_FALSE(list.Find(ds->GetBookmark(), index));
    EXPECT_EQ(index, 2);
    GoTo(ds.get(), 5);
    EXPECT_TRUE(list.Find(ds->GetBookmark(), index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(list.IndexOf(ds->GetBookmark()), 1);
    EXPECT_TRUE(list.CurrentRowSelected());
    GoTo(ds.get(), 1);
    EXPECT_EQ(list.IndexOf(ds->GetBookmark()), -1);
    EXPECT_FALSE(list.CurrentRowSelected());
    EXPECT_GT(list.CompareWithCurrent(list.GetItem(0)), 0);   // record 2 after record 1
}

TEST(BookmarkList, NotificationsAndErrors)
{
    auto ds = NumberedDataSet(5);
    CountingList list(ds.get());
    try {
        list.CurrentRowSelected();
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot perform this operation on a closed dataset"));
    }
    list.SetLinkActive(true);
    const int afterLink = list.listChanged;
    list.Clear();   // empty: no notifications
    EXPECT_EQ(list.listChanged, afterLink);
    EXPECT_EQ(list.invalidated, 0);

    Select(list, ds.get(), 3);
    EXPECT_EQ(list.itemChanged, 1);
    Select(list, ds.get(), 3);           // again: one entry, no notification
    Select(list, ds.get(), 4, false);    // not selected: nothing
    EXPECT_EQ(list.itemChanged, 1);
    EXPECT_EQ(list.Count(), 1);

    list.InsertItem(list.Count(), TBookmark(ds->GetBookmark()));
    EXPECT_EQ(list.Count(), 2);
    try {
        list.InsertItem(list.Count() + 1, TBookmark());
        ADD_FAILURE();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (3)"));
    }
    EXPECT_THROW(list.DeleteItem(2), EListError);
    EXPECT_THROW(list.DeleteItem(-1), EListError);
    EXPECT_EQ(list.Count(), 2);
    list.Clear();
    EXPECT_EQ(list.invalidated, 1);
    EXPECT_EQ(list.Count(), 0);
}

TEST(BookmarkList, SelectAllDeleteAndRefresh)
{
    auto ds = NumberedDataSet(6);
    CountingList list(ds.get());
    list.SelectAll();                     // not linked: nothing
    EXPECT_EQ(list.Count(), 0);
    list.SetLinkActive(true);
    GoTo(ds.get(), 4);
    list.SelectAll();
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(ds->FieldByName("id")->AsInteger(), 4);
    EXPECT_FALSE(ds->ControlsDisabled());

    // Records deleted by another path are dropped by Refresh.
    GoTo(ds.get(), 2);
    ds->Delete();
    GoTo(ds.get(), 5);
    ds->Delete();
    const int invalidated = list.invalidated;
    EXPECT_TRUE(list.Refresh());
    EXPECT_EQ(Ids(list, ds.get()), QList<int>({1, 3, 4, 6}));
    EXPECT_EQ(list.invalidated, invalidated + 1);
    EXPECT_FALSE(list.Refresh());
    EXPECT_EQ(list.invalidated, invalidated + 1);

    // Delete removes the selected records from the dataset.
    list.Clear();
    Select(list, ds.get(), 3);
    Select(list, ds.get(), 6);
    list.Delete();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(ds->RecordCount(), 2);
    EXPECT_FALSE(GoTo(ds.get(), 3));
    EXPECT_FALSE(ds->ControlsDisabled());
}

TEST(BookmarkList, CustomSortAndLinkChange)
{
    auto ds = NumberedDataSet(5);
    CountingList list(ds.get());
    list.SetLinkActive(true);
    for (int id : {1, 2, 3, 4, 5})
        Select(list, ds.get(), id);
    auto idAt = [](TBMListGx* l, TDataSet* d, int i) {
        d->GotoBookmark(l->GetItem(i));
        return d->FieldByName("id")->AsInteger();
    };
    list.CustomSort(ds.get(), [&](TBMListGx* l, TDataSet* d, int a, int b) { return idAt(l, d, b) - idAt(l, d, a); });
    EXPECT_EQ(Ids(list, ds.get()), QList<int>({5, 4, 3, 2, 1}));
    list.SetLinkActive(false);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.LinkActive());
}
