// The distinct values of a dataset field.
#include "DatasetFieldValueListGx.h"
#include "dataset_fixture.h"
#include <gtest/gtest.h>

using namespace gxtest;

TEST(DatasetFieldValueList, DistinctSortedValues)
{
    auto ds = MakeDataSet({{1, "pear", 1.0}, {2, "Apple", 2.0}, {3, "apple", 3.0}, {4, "fig", 4.0}, {5, "PEAR", 5.0}});
    GoTo(ds.get(), 3);
    int walks = 0;
    ds->BeforeScroll = [&](TDataSet* d) { if (d->RecNo() == 1) ++walks; };
    TDatasetFieldValueListGx list;
    list.SetDataSet(ds.get());
    list.SetFieldName("name");
    EXPECT_EQ(list.Values(), QStringList({"Apple", "fig", "pear"}));
    // The reading leaves the cursor where it was.
    EXPECT_EQ(ds->FieldByName("id")->AsInteger(), 3);
    const int afterFirst = walks;
    list.Values();
    EXPECT_EQ(walks, afterFirst);          // no change: no second walk
    EXPECT_FALSE(list.DataObsoleted());

    ds->Append();
    ds->FieldByName("name")->SetAsString("banana");
    ds->Post();
    EXPECT_TRUE(list.DataObsoleted());
    EXPECT_EQ(list.Values(), QStringList({"Apple", "banana", "fig", "pear"}));
    EXPECT_EQ(ds->FieldByName("name")->AsString(), QStringLiteral("banana"));
}

TEST(DatasetFieldValueList, UnknownFieldKeepsTrying)
{
    auto ds = NumberedDataSet(3);
    TDatasetFieldValueListGx list;
    list.SetDataSet(ds.get());
    list.SetFieldName("nosuch");
    EXPECT_TRUE(list.Values().isEmpty());
    EXPECT_TRUE(list.DataObsoleted());
    EXPECT_TRUE(list.GetValues().isEmpty());

    TDataSource outside(ds.get());
    list.SetDataSource(&outside);
    list.SetFieldName("id");
    EXPECT_EQ(list.Values(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(list.DataSource(), &outside);
}
