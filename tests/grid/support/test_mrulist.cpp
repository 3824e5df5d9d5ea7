// Most-recently-used lists: adding, trimming, filtering by prefix.
#include "MRUListGx.h"
#include <QApplication>
#include <QWheelEvent>
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

// ---- the drop-down ----------------------------------------------------------------

#include <QScrollBar>
#include <QTest>

namespace {
struct MRUBoxFixture : ::testing::Test {
    QWidget owner;
    TMRUListboxGx* box = new TMRUListboxGx(&owner);
    void Show(int items)
    {
        QStringList texts;
        for (int i = 0; i < items; ++i)
            texts << QStringLiteral("entry %1").arg(i, 2, 10, QLatin1Char('0'));
        box->Items()->SetTexts(texts);
        box->SetItemHeight(box->GetTextHeight());
        box->SetRowCount(7);
        box->resize(160, box->height());
        box->show();
    }
};
} // namespace

TEST_F(MRUBoxFixture, ScrollBarOnlyWhenTheEntriesDoNotFit)
{
    Show(5);
    EXPECT_FALSE(box->ScrollBar()->isVisible());
    EXPECT_FALSE(box->OwnScrollBar()->isVisible());   // the list box's own bar is never used
    EXPECT_TRUE(box->SizeGrip()->TriangleWindow());

    Show(20);
    QScrollBar* bar = box->ScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->pageStep(), 7);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 20 - 7);
    EXPECT_FALSE(box->SizeGrip()->TriangleWindow());   // a full square next to the bar
    const TRect client = box->ItemsRect();
    const int grip = box->SizeGrip()->height();
    // With the grip at the bottom right the bar ends above it, at the right edge.
    EXPECT_EQ(bar->geometry(), QRect(client.Right - bar->width(), client.Top, bar->width(), client.Height() - grip));

    // The grip in a top corner on the right: the bar starts below it.
    box->SizeGripChangePosition(sgcpToTop);
    EXPECT_EQ(box->SizeGrip()->Position(), sgpTopRight);
    EXPECT_EQ(bar->geometry().top(), client.Top + grip);
    // In a left corner: the full height, and the grip is a triangle again.
    box->SizeGripChangePosition(sgcpToLeft);
    EXPECT_EQ(bar->geometry().height(), client.Height());
    EXPECT_TRUE(box->SizeGrip()->TriangleWindow());
}

TEST_F(MRUBoxFixture, BarAndListScrollTogether)
{
    Show(20);
    QScrollBar* bar = box->ScrollBar();
    bar->setValue(5);
    EXPECT_EQ(box->TopIndex(), 5);
    box->SetItemIndex(19);
    EXPECT_EQ(box->TopIndex(), 13);
    EXPECT_EQ(bar->value(), 13);
    const QPoint at(20, 10);
    QWheelEvent up(at, box->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &up);
    EXPECT_EQ(box->TopIndex(), 12);
    EXPECT_EQ(bar->value(), 12);

    // A move of the bar from outside is undone.
    const QRect placed = bar->geometry();
    bar->move(0, 0);
    EXPECT_EQ(bar->geometry(), placed);
}

TEST_F(MRUBoxFixture, SortedEntries)
{
    box->SetSorted(true);
    box->Items()->Add(QStringLiteral("pear"));
    box->Items()->Add(QStringLiteral("Apple"));
    box->Items()->Add(QStringLiteral("banana"));
    EXPECT_EQ(box->Items()->Texts(), QStringList({"Apple", "banana", "pear"}));
}
