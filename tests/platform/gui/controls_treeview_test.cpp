// Tree view: nodes with data, image and state indexes, order, expansion and
// the selection events.
#include "events_support.h"

#include "TreeView.h"

#include <QPixmap>
#include <gtest/gtest.h>

namespace {

QIcon solid(Qt::GlobalColor c)
{
    QPixmap p(16, 16);
    p.fill(c);
    return QIcon(p);
}

TEST(ControlsTreeView, NodesKeepTheirOrderDataAndLevels)
{
    TTreeView tree;
    int a = 1, b = 2;
    TTreeNode* root = tree.Items()->AddObject(nullptr, QStringLiteral("01  材料分类"), &a);
    TTreeNode* steel = tree.Items()->AddChildObject(root, QStringLiteral("0101  钢材"), &b);
    TTreeNode* cement = tree.Items()->AddChild(root, QStringLiteral("0102  水泥"));
    TTreeNode* rebar = tree.Items()->AddChild(steel, QStringLiteral("010101  钢筋"));
    TTreeNode* first = tree.Items()->AddChildFirst(root, QStringLiteral("0100  木材"));
    TTreeNode* before = tree.Items()->Insert(cement, QStringLiteral("0101a  型钢"));
    TTreeNode* top2 = tree.Items()->Add(root, QStringLiteral("02  周转材料"));

    EXPECT_EQ(tree.Items()->Count(), 7);
    QStringList order;
    for (TTreeNode* n = tree.Items()->GetFirstNode(); n; n = n->GetNext()) order << n->Text();
    EXPECT_EQ(order, (QStringList{"01  材料分类", "0100  木材", "0101  钢材", "010101  钢筋", "0101a  型钢",
                                  "0102  水泥", "02  周转材料"}));
    EXPECT_EQ(tree.Items()->Item(3), rebar);
    EXPECT_EQ(rebar->AbsoluteIndex(), 3);
    EXPECT_EQ(rebar->Level(), 2);
    EXPECT_EQ(rebar->Parent(), steel);
    EXPECT_EQ(steel->Data(), &b);
    EXPECT_EQ(root->Count(), 4);
    EXPECT_EQ(first->GetNextSibling(), steel);
    EXPECT_EQ(before->Index(), 2);
    EXPECT_EQ(top2->Parent(), nullptr);
    EXPECT_TRUE(rebar->HasAsParent(root));
    EXPECT_FALSE(cement->HasChildren());
    cement->SetHasChildren(true);   // children come when it is expanded
    EXPECT_TRUE(cement->HasChildren());

    steel->Delete();
    EXPECT_EQ(tree.Items()->Count(), 5);
    EXPECT_EQ(root->Count(), 3);
    tree.Items()->Clear();
    EXPECT_EQ(tree.Items()->Count(), 0);
}

TEST(ControlsTreeView, SelectionChangesFireEventsAndSwapImages)
{
    TTreeView tree;
    const QList<QIcon> images{solid(Qt::red), solid(Qt::green), solid(Qt::blue), solid(Qt::yellow)};
    tree.SetImages(images);
    TTreeNode* root = tree.Items()->Add(nullptr, QStringLiteral("根"));
    TTreeNode* leaf = tree.Items()->AddChild(root, QStringLiteral("叶"));
    root->SetImageIndex(1);
    root->SetSelectedIndex(3);
    leaf->SetImageIndex(0);
    leaf->SetSelectedIndex(2);
    leaf->SetStateIndex(1);
    EXPECT_EQ(leaf->StateIndex(), 1);

    QList<TTreeNode*> changes;
    tree.OnChange = [&](QObject*, TTreeNode* n) { changes << n; };
    bool allow = true;
    tree.OnChanging = [&](QObject*, TTreeNode*, bool& a) { a = allow; };
    tree.SetSelected(leaf);
    EXPECT_EQ(tree.Selected(), leaf);
    EXPECT_TRUE(leaf->Selected());
    EXPECT_EQ(leaf->Item()->icon(0).cacheKey(), images[2].cacheKey());
    root->SetSelected(true);
    EXPECT_EQ(leaf->Item()->icon(0).cacheKey(), images[0].cacheKey());
    EXPECT_EQ(root->Item()->icon(0).cacheKey(), images[3].cacheKey());
    allow = false;
    tree.SetSelected(leaf);
    EXPECT_EQ(tree.Selected(), root);
    EXPECT_EQ(changes, (QList<TTreeNode*>{leaf, root}));

    // Deleting the selected node moves the selection and reports it.
    allow = true;
    tree.SetSelected(leaf);
    changes.clear();
    leaf->Delete();
    EXPECT_EQ(tree.Selected(), root);
    ASSERT_FALSE(changes.isEmpty());
    EXPECT_EQ(changes.last(), root);
}

TEST(ControlsTreeView, ExpandingMayLoadChildrenOrRefuse)
{
    TTreeView tree;
    TTreeNode* root = tree.Items()->Add(nullptr, QStringLiteral("部门"));
    root->SetHasChildren(true);
    bool refuse = true;
    QStringList events;
    tree.OnExpanding = [&](QObject*, TTreeNode* n, bool& allow) {
        events << QStringLiteral("expanding");
        allow = !refuse;
        if (allow && n == root && n->Count() == 0) tree.Items()->AddChild(n, QStringLiteral("财务部"));
    };
    tree.OnExpanded = [&](QObject*, TTreeNode*) { events << QStringLiteral("expanded"); };
    root->Expand(false);
    EXPECT_FALSE(root->Expanded());
    refuse = false;
    root->Expand(false);
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(root->Count(), 1);
    EXPECT_EQ(events, (QStringList{"expanding", "expanding", "expanded"}));
    root->Collapse(true);
    EXPECT_FALSE(root->Expanded());
    tree.FullExpand();
    EXPECT_TRUE(root->Expanded());
}

} // namespace
