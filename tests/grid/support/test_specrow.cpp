// The special row of lookup lists.
#include "SpecRowGx.h"
#include <QWidget>
#include <gtest/gtest.h>

TEST(SpecRow, CellsText)
{
    struct Case { const char* text; QStringList cells; };
    const Case cases[] = {
        {"无;全部", {"无", "全部"}},
        {"\"a;b\";c", {"a;b", "c"}},
        {"a; b", {"a", " b"}},
        {"a;;b", {"a", "", "b"}},
        {"  lead;\"say \"\"hi\"\"\"", {"lead", "say \"hi\""}},
        {"x\ty", {"x", "y"}},
    };
    for (const Case& c : cases) {
        TSpecRowGx row;
        row.SetCellsText(QString::fromUtf8(c.text));
        EXPECT_EQ(row.CellsStrings(), c.cells) << c.text;
    }
    TSpecRowGx nul;
    nul.SetCellsText(QString("a") + QChar(0) + QString("b"));   // ends, never hangs
    EXPECT_EQ(nul.CellsStrings().first(), QStringLiteral("a"));
    TSpecRowGx row;
    row.SetCellsText("a;b");
    EXPECT_EQ(row.CellTextAt(1), QStringLiteral("b"));
    EXPECT_EQ(row.CellTextAt(5), QString());
    EXPECT_EQ(row.CellTextAt(-1), QString());
}

TEST(SpecRow, LocatingKeys)
{
    TSpecRowGx row;
    EXPECT_TRUE(row.Value().IsNull());
    EXPECT_FALSE(row.LocateKey(Variant::Null()));
    row.SetVisible(true);
    EXPECT_TRUE(row.LocateKey(Variant::Null()));
    EXPECT_FALSE(row.LocateKey(Variant()));
    row.SetValue(Variant(0));
    EXPECT_TRUE(row.LocateKey(Variant(0)));
    EXPECT_FALSE(row.LocateKey(Variant::Null()));
    EXPECT_FALSE(row.LocateKey(Variant("x")));
}

TEST(SpecRow, ChangeReports)
{
    TSpecRowGx row;
    int changes = 0;
    row.OnChanged = [&](TSpecRowGx*) { ++changes; };
    row.BeginUpdate();
    row.SetVisible(true);
    row.SetCellsText("none");
    row.SetValue(Variant(-1));
    EXPECT_EQ(changes, 0);
    row.EndUpdate();
    EXPECT_EQ(changes, 1);
    row.SetVisible(true);
    row.SetValue(Variant(-1));
    EXPECT_EQ(changes, 1);
    row.SetShowIfNotInKeyList(false);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(row.ShortCut(), 32814);

    TSpecRowGx copy;
    int copyChanges = 0;
    copy.OnChanged = [&](TSpecRowGx*) { ++copyChanges; };
    copy.Assign(row);
    EXPECT_EQ(copyChanges, 1);
    EXPECT_EQ(copy.CellsText(), QStringLiteral("none"));
    EXPECT_EQ(copy.Value().ToInt(), -1);
    EXPECT_TRUE(copy.Visible());
    EXPECT_FALSE(copy.ShowIfNotInKeyList());
    EXPECT_TRUE(copy.ColorAssigned());
    EXPECT_FALSE(copy.FontAssigned());
}

TEST(SpecRow, FollowsTheOwnersFontAndColour)
{
    QWidget owner;
    QFont f = owner.font();
    f.setPointSize(9);
    owner.setFont(f);
    TSpecRowGx row(&owner);
    int changes = 0;
    row.OnChanged = [&](TSpecRowGx*) { ++changes; };
    const int size = row.Font()->Size();
    f.setPointSize(14);
    owner.setFont(f);
    EXPECT_NE(row.Font()->Size(), size);
    EXPECT_EQ(row.Font()->Size(), 14);
    EXPECT_FALSE(row.FontAssigned());
    EXPECT_EQ(changes, 0);

    row.Font()->SetStyle(fsBold);
    EXPECT_TRUE(row.FontAssigned());
    EXPECT_EQ(changes, 1);
    f.setPointSize(20);
    owner.setFont(f);
    EXPECT_EQ(row.Font()->Size(), 14);   // its own font now

    EXPECT_EQ(row.Color(), FromQColor(owner.palette().color(owner.backgroundRole())));
    row.SetColor(clYellow);
    EXPECT_EQ(row.Color(), clYellow);
}
