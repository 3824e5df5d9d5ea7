// The in-memory tree list: structure, levels, moves, visible lists and walks.
#include "MemTreeGx.h"
#include "Exceptions.h"
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QStringList Texts(const TTreeListGx& tree, bool visibleOnly, bool considerCollapsed = false)
{
    QStringList out;
    if (visibleOnly) {
        for (TBaseTreeNodeGx* n = tree.GetFirstVisible(); n; n = tree.GetNextVisible(n, considerCollapsed))
            out << n->Text();
    } else {
        for (TBaseTreeNodeGx* n = tree.GetFirst(); n; n = tree.GetNext(n))
            out << n->Text();
    }
    return out;
}

QList<int> Indexes(TBaseTreeNodeGx* parent)
{
    QList<int> out;
    for (int i = 0; i < parent->Count(); ++i)
        out << parent->Items(i)->Index();
    return out;
}

// a (a1, a2 (a21), a3), b, c (c1)
struct SampleTree : ::testing::Test {
    TTreeListGx tree;
    TBaseTreeNodeGx *a, *a1, *a2, *a21, *a3, *b, *c, *c1;
    void SetUp() override
    {
        a = tree.AddChild("a", nullptr, nullptr);
        a1 = tree.AddChild("a1", a, nullptr);
        a2 = tree.AddChild("a2", a, nullptr);
        a21 = tree.AddChild("a21", a2, nullptr);
        a3 = tree.AddChild("a3", a, nullptr);
        b = tree.AddChild("b", nullptr, nullptr);
        c = tree.AddChild("c", nullptr, nullptr);
        c1 = tree.AddChild("c1", c, nullptr);
    }
};

} // namespace

TEST_F(SampleTree, PreOrderWalks)
{
    EXPECT_EQ(Texts(tree, false), QStringList({"a", "a1", "a2", "a21", "a3", "b", "c", "c1"}));
    EXPECT_EQ(tree.GetNext(c1), nullptr);
    EXPECT_EQ(tree.GetPrevious(a), nullptr);
    EXPECT_EQ(tree.GetPrevious(a3), a21);
    EXPECT_EQ(tree.GetPrevious(a1), a);
    EXPECT_EQ(tree.GetPrevious(b), a3);
    EXPECT_EQ(tree.GetLast(nullptr), c1);
    EXPECT_EQ(tree.GetLast(b), nullptr);
    EXPECT_EQ(tree.GetNext(tree.Root()), tree.Root());
    EXPECT_EQ(a21->Level(), 3);
    EXPECT_EQ(tree.GetParentAtLevel(a21, 1), a);
    EXPECT_EQ(tree.GetParentAtLevel(a21, 0), tree.Root());
    EXPECT_EQ(tree.GetParentAtLevel(a21, 3), nullptr);
    EXPECT_EQ(tree.CountChildren(nullptr), 3);
    int tag = 7;
    a21->SetData(&tag);
    EXPECT_EQ(tree.GetNode(nullptr, &tag), a21);
    EXPECT_EQ(tree.GetNode(c, &tag), nullptr);
}

TEST_F(SampleTree, ExtractKeepsStaleIndexesUntilRebuilt)
{
    tree.ExtractNode(a2, false);
    EXPECT_EQ(Indexes(a), QList<int>({0, 2}));
    EXPECT_EQ(a2->Parent(), a);   // the node keeps its own parent reference
    tree.BuildChildrenIndex(a, false);
    EXPECT_EQ(Indexes(a), QList<int>({0, 1}));
    tree.AddNode(a2, b, naAddChildGx, true);
    EXPECT_EQ(a2->Parent(), b);
    EXPECT_EQ(a21->Level(), 3);
    EXPECT_TRUE(b->HasChildren());

    tree.ExtractNode(a1, true);
    EXPECT_EQ(Indexes(a), QList<int>({0}));
    tree.AddNode(a1, c1, naInsertGx, true);
    EXPECT_EQ(tree.GetFirstChild(c), a1);
    EXPECT_EQ(Indexes(c), QList<int>({0, 1}));
    delete tree.CreateNodeApart("x", nullptr);
}

TEST_F(SampleTree, MovesAndReferenceLoops)
{
    try {
        tree.MoveTo(a, a21, naAddChildGx, true);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Reference-loop found"));
    }
    EXPECT_THROW(tree.MoveTo(a2, a2, naAddGx, true), Exception);
    EXPECT_EQ(Texts(tree, false), QStringList({"a", "a1", "a2", "a21", "a3", "b", "c", "c1"}));

    tree.MoveTo(c1, a1, naAddFirstGx, true);
    EXPECT_EQ(Texts(tree, false), QStringList({"a", "c1", "a1", "a2", "a21", "a3", "b", "c"}));
    EXPECT_EQ(Indexes(a), QList<int>({0, 1, 2, 3}));
    EXPECT_FALSE(c->HasChildren());
    tree.MoveTo(a2, nullptr, naAddChildGx, true);           // no destination: nothing
    tree.MoveTo(a2, tree.Root(), naAddGx, true);            // sibling of the root: nothing
    tree.MoveTo(a2, tree.Root(), naAddChildGx, true);
    EXPECT_EQ(a2->Level(), 1);
    EXPECT_EQ(a21->Level(), 2);
    EXPECT_EQ(Texts(tree, false), QStringList({"a", "c1", "a1", "a3", "b", "c", "a2", "a21"}));

    tree.DeleteNode(a, true);
    EXPECT_EQ(Texts(tree, false), QStringList({"b", "c", "a2", "a21"}));
    EXPECT_EQ(Indexes(tree.Root()), QList<int>({0, 1, 2}));
    tree.Clear();
    EXPECT_EQ(tree.GetFirst(), nullptr);
}

TEST(MemTree, LevelLimit)
{
    TTreeListGx tree;
    TBaseTreeNodeGx* n = nullptr;
    for (int i = 0; i < 1000; ++i)
        n = tree.AddChild(QString::number(i), n, nullptr);
    EXPECT_EQ(n->Level(), 1000);
    try {
        tree.AddChild("too deep", n, nullptr);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TBaseTreeNodeGx.SetLevel: Max level exceed - 1000"));
    }
}

TEST(MemTree, NodesOfAnotherTreeAreRefused)
{
    TTreeListGx one, two;
    TBaseTreeNodeGx* stranger = two.CreateNodeApart("x", nullptr);
    try {
        one.AddNode(stranger, nullptr, naAddChildGx, false);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TBaseTreeNodeGx.Add: Tree nodes can not has different Owners"));
    }
    EXPECT_EQ(one.Root()->Count(), 0);
    delete stranger;
}

TEST_F(SampleTree, VisibleListsAndWalks)
{
    EXPECT_TRUE(a->AllChildrenVisible());
    EXPECT_EQ(tree.GetNextVisibleSibling(a1), a2);
    a2->SetVisible(false);
    EXPECT_FALSE(a->AllChildrenVisible());
    EXPECT_EQ(a->VisibleItemsCount(), 2);
    EXPECT_EQ(tree.GetNextVisibleSibling(a1), a3);
    EXPECT_EQ(tree.GetPrevVisibleSibling(a3), a1);
    EXPECT_EQ(a3->GetVisibleIndex(), 1);
    EXPECT_EQ(Texts(tree, true), QStringList({"a", "a1", "a3", "b", "c", "c1"}));

    // Collapsed nodes hide their children when collapse is considered.
    tree.Collapse(nullptr, true);
    EXPECT_EQ(Texts(tree, true, true), QStringList({"a", "b", "c"}));
    EXPECT_FALSE(tree.GetPathVisible(a1, true));
    EXPECT_TRUE(tree.GetPathVisible(a1, false));
    tree.Expand(nullptr, true);
    EXPECT_TRUE(a->Expanded());
    EXPECT_FALSE(a21->Expanded());   // no children: left alone
    EXPECT_EQ(Texts(tree, true, true), QStringList({"a", "a1", "a3", "b", "c", "c1"}));
    // From a hidden node the walk goes on after its nearest shown ancestor's children.
    EXPECT_EQ(tree.GetNextVisible(a21, true), a1);
    EXPECT_EQ(tree.GetParentVisible(a21, true), a);

    a->SetVisible(false);
    EXPECT_EQ(tree.GetFirstVisible(), b);
    a2->SetVisible(true);
    a->SetVisible(true);
    EXPECT_TRUE(a->AllChildrenVisible());
    EXPECT_EQ(Texts(tree, true, true), QStringList({"a", "a1", "a2", "a21", "a3", "b", "c", "c1"}));
}

TEST_F(SampleTree, ExpansionCanBeVetoed)
{
    QList<TBaseTreeNodeGx*> changed;
    tree.OnExpandedChanging = [&](TBaseTreeNodeGx* n) { return n != b; };
    tree.OnExpandedChanged = [&](TBaseTreeNodeGx* n) { changed << n; };
    a->SetExpanded(true);
    a->SetExpanded(true);
    b->SetExpanded(true);
    EXPECT_EQ(changed, QList<TBaseTreeNodeGx*>({a}));
    EXPECT_FALSE(b->Expanded());
}

TEST_F(SampleTree, SortingChildren)
{
    tree.AddChild("0", nullptr, nullptr);
    a3->SetText("a0");
    b->SetVisible(false);
    auto byText = [](TBaseTreeNodeGx* x, TBaseTreeNodeGx* y, const QVariant& descending) {
        const int c = QString::compare(x->Text(), y->Text());
        return descending.toBool() ? -c : c;
    };
    tree.SortData(byText, true, true);
    QStringList top;
    for (int i = 0; i < tree.Root()->Count(); ++i)
        top << tree.Root()->Items(i)->Text();
    EXPECT_EQ(top, QStringList({"c", "b", "a", "0"}));
    EXPECT_EQ(Indexes(tree.Root()), QList<int>({0, 1, 2, 3}));
    EXPECT_EQ(tree.Root()->VisibleItem(1), a);   // the visible list follows the new order
    QStringList kids;
    for (int i = 0; i < a->Count(); ++i)
        kids << a->Items(i)->Text();
    EXPECT_EQ(kids, QStringList({"a2", "a1", "a0"}));
}

TEST_F(SampleTree, ExportToTreeView)
{
    a->SetExpanded(true);
    QTreeWidget view;
    tree.ExportToTreeView(&view, tree.GetFirst(), nullptr, false);
    ASSERT_EQ(view.topLevelItemCount(), 3);
    EXPECT_EQ(view.topLevelItem(0)->childCount(), 3);
    EXPECT_EQ(view.topLevelItem(0)->child(1)->child(0)->text(0), QStringLiteral("a21"));
    EXPECT_TRUE(view.topLevelItem(0)->isExpanded());
    EXPECT_FALSE(view.topLevelItem(2)->isExpanded());
}
