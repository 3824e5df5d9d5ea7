// Most-recently-used lists: adding, trimming, filtering by prefix.
#include "MRUListGx.h"
#include <gtest/gtest.h>

TEST(MRUList, Defaults)
{
    TMRUListGx list;
    EXPECT_FALSE(list.Active());
    EXPECT_TRUE(list.AutoAdd());
    EXPECT_FALSE(list.CaseSensitive());
    EXPECT_EQ(list.Limit(), 100);
    EXPECT_EQ(list.Rows(), 7);
    EXPECT_TRUE(list.CancelIfKeyInQueue());
}

TEST(MRUList, AddingMovesAndTrims)
{
    TMRUListGx list;
    for (int i = 0; i < 100; ++i)
        list.Add(QStringLiteral("t%1").arg(i));
    list.Add(QStringLiteral("t5"));
    EXPECT_EQ(list.Items().size(), 100);
    EXPECT_EQ(list.Items().last(), QStringLiteral("t5"));
    EXPECT_EQ(list.Items().first(), QStringLiteral("t0"));
    list.Add(QStringLiteral("new"));
    EXPECT_EQ(list.Items().size(), 100);
    EXPECT_EQ(list.Items().first(), QStringLiteral("t1"));   // the oldest went
    list.Add(QStringLiteral("   "));
    EXPECT_EQ(list.Items().last(), QStringLiteral("new"));
    list.SetLimit(10);
    EXPECT_EQ(list.Items().size(), 10);
    EXPECT_EQ(list.Items().last(), QStringLiteral("new"));
    EXPECT_EQ(list.Items().first(), QStringLiteral("t92"));
}

TEST(MRUList, LetterCase)
{
    TMRUListGx list;
    list.Add(QStringLiteral("Alpha"));
    list.Add(QStringLiteral("beta"));
    list.Add(QStringLiteral("ALPHA"));
    EXPECT_EQ(list.Items(), QStringList({"beta", "Alpha"}));   // the old spelling stays
    list.SetCaseSensitive(true);
    list.Add(QStringLiteral("ALPHA"));
    EXPECT_EQ(list.Items(), QStringList({"beta", "Alpha", "ALPHA"}));
}

TEST(MRUList, Filtering)
{
    TMRUListGx list;
    list.SetItems({"材料A", "apple", "Apricot", "banana", "材料B"});
    QStringList out{"stale"};
    EXPECT_TRUE(list.FilterItemsTo(out, QString()));
    EXPECT_EQ(out.size(), 5);
    EXPECT_TRUE(list.FilterItemsTo(out, QStringLiteral("ap")));
    EXPECT_EQ(out, QStringList({"apple", "Apricot"}));
    EXPECT_TRUE(list.FilterItemsTo(out, QStringLiteral("材料")));
    EXPECT_EQ(out, QStringList({"材料A", "材料B"}));
    list.SetCaseSensitive(true);
    EXPECT_TRUE(list.FilterItemsTo(out, QStringLiteral("ap")));
    EXPECT_EQ(out, QStringList({"apple"}));
    list.OnFilterItem = [](TMRUListGx*, const QString& item, bool& accept) { accept = item.startsWith(u'b'); };
    EXPECT_TRUE(list.FilterItemsTo(out, QStringLiteral("ap")));
    EXPECT_EQ(out, QStringList({"banana"}));
}

TEST(MRUList, FilteringStopsForAWaitingKey)
{
    TMRUListGx list;
    QStringList items;
    for (int i = 0; i < 250; ++i)
        items << QStringLiteral("x%1").arg(i);
    list.SetItems(items);
    int probes = 0;
    TMRUListGx::KeyInQueue = [&] { return ++probes == 2; };
    QStringList out;
    EXPECT_FALSE(list.FilterItemsTo(out, QStringLiteral("x")));
    EXPECT_EQ(out.size(), 101);   // entries 0 to 100 were seen
    list.SetCancelIfKeyInQueue(false);
    EXPECT_TRUE(list.FilterItemsTo(out, QStringLiteral("x")));
    EXPECT_EQ(out.size(), 250);
    TMRUListGx::KeyInQueue = nullptr;
}

TEST(MRUList, AssignAndEvents)
{
    TMRUListGx a, b;
    int activeChanges = 0;
    b.OnActiveChanged = [&](TMRUListGx*) { ++activeChanges; };
    a.SetActive(true);
    a.SetItems({"1", "2", "3"});
    a.SetLimit(2);
    a.SetRows(3);
    a.SetCaseSensitive(true);
    a.SetAutoAdd(false);
    a.SetWidth(120);
    b.Assign(a);
    EXPECT_TRUE(b.Active());
    EXPECT_EQ(activeChanges, 1);
    EXPECT_EQ(b.Items(), QStringList({"2", "3"}));
    EXPECT_EQ(b.Limit(), 2);
    EXPECT_EQ(b.Rows(), 3);
    EXPECT_TRUE(b.CaseSensitive());
    EXPECT_TRUE(b.AutoAdd());
    EXPECT_EQ(b.Width(), 0);

    int drops = 0;
    bool closedWith = false;
    b.OnSetDropDown = [&](TMRUListGx*) { ++drops; };
    b.OnSetCloseUp = [&](TMRUListGx*, bool accept) { closedWith = accept; };
    b.DropDown();
    b.CloseUp(true);
    EXPECT_EQ(drops, 1);
    EXPECT_TRUE(closedWith);
}
