// The tree of multi-level titles and its heights.
#include "dbgrid_stubgrid.h"
#include "grid/control/DBGridGxHeadTree.h"
#include <gtest/gtest.h>

using namespace gxtest;

namespace {

// The tree as text: "text(children)" for bands, "text" for leaves.
QString Shape(THeadTreeNode* node)
{
    QStringList parts;
    for (THeadTreeNode* n : node->Children())
        parts << (n->Child ? n->Text + QLatin1Char('(') + Shape(n) + QLatin1Char(')') : n->Text);
    return parts.join(QLatin1Char(' '));
}

QString TreeOf(const QStringList& captions, std::vector<int> hidden = {})
{
    StubGrid grid;
    for (const QString& caption : captions) {
        TColumnGx* c = grid.Columns()->Add();
        c->Title()->SetCaption(caption);
        c->SetWidth(50);
    }
    for (int h : hidden)
        grid.Columns()->GetColumn(h)->SetVisible(false);
    THeadTreeNode root(QStringLiteral("Root"), 10, 0);
    std::vector<LeafCol> leaves;
    CreateFieldTree(&root, grid.Columns(), 30, true, leaves);
    EXPECT_EQ(int(leaves.size()), captions.size());
    return Shape(&root);
}

} // namespace

TEST(DBGridTitleTree, BandsFromCaptions)
{
    struct Case { QStringList captions; QString shape; };
    const std::vector<Case> cases = {
        {{"A|x", "A|y", "B"}, "A(x y) B"},
        {{"A|x", "B|y", "A|z"}, "A(x) B(y) A(z)"},
        {{"A|B|x", "A|B|y"}, "A(B(x y))"},
        {{"采购币种价格|原价", "采购币种价格|单价", "数量"}, "采购币种价格(原价 单价) 数量"},
        {{"A||x", "A|y"}, "A(x y)"},
        {{"A|x", "A"}, "A(x A)"},
        // every caption level is kept
        {{"P|A|x", "A|y"}, "P(A(x)) A(y)"},
        {{"P|A|x", "P|A|y", "A|z"}, "P(A(x y)) A(z)"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(TreeOf(k.captions), k.shape) << k.captions.join(u',').toStdString();
}

TEST(DBGridTitleTree, WidthsHeightsAndNodeOperations)
{
    StubGrid grid;
    for (const char* caption : {"A|x", "A|y", "A|z", "B"}) {
        TColumnGx* c = grid.Columns()->Add();
        c->Title()->SetCaption(QString::fromUtf8(caption));
        c->SetWidth(40);
    }
    grid.Columns()->GetColumn(1)->SetVisible(false);
    grid.Columns()->GetColumn(3)->Title()->SetSortMarker(smDownGx);
    THeadTreeNode root(QStringLiteral("Root"), 10, 0);
    std::vector<LeafCol> leaves;
    CreateFieldTree(&root, grid.Columns(), 30, true, leaves);
    THeadTreeNode* a = root.Child;
    ASSERT_EQ(a->Text, QStringLiteral("A"));
    EXPECT_EQ(a->Height, 20);
    EXPECT_EQ(leaves[0].FLeaf->Height, 10);   // 30 less the band's 20
    EXPECT_EQ(leaves[1].FLeaf->Width, -1);    // hidden with column lines
    // 40 + 1 - 1 + 1 + 40 + 1, less one line width
    EXPECT_EQ(a->Width, 40 - 1 + 40 + 3 - 1);
    EXPECT_EQ(leaves[3].FLeaf->WIndent, 16);
    EXPECT_EQ(leaves[0].FLeaf->GetLevel(), 2);
    EXPECT_TRUE(root.Find(leaves[2].FLeaf));
    EXPECT_FALSE(a->Child->Find(leaves[3].FLeaf));
    EXPECT_EQ(leaves[2].FLeaf->Next, leaves[0].FLeaf);   // the band's ring

    THeadTreeNode other;
    EXPECT_THROW(root.AddChild(&other, QStringLiteral("q"), 1, 1), Exception);
    EXPECT_THROW(root.Union(leaves[3].FLeaf, leaves[0].FLeaf, QStringLiteral("q"), 1), Exception);

    // Heights: a fixed measure of 12 pixels per band and a margin of 10.
    const int total = CalcHeadTreeHeight(&root, 10, [](THeadTreeNode*, int) { return 12; });
    EXPECT_EQ(total, 44);                    // two bands of 22
    EXPECT_EQ(a->Height, 22);
    EXPECT_EQ(leaves[0].FLeaf->Height, 22);
    EXPECT_EQ(leaves[1].FLeaf->Height, 22);  // hidden: width -1 still measured
    EXPECT_EQ(leaves[3].FLeaf->Height, 44);  // B spans both bands

    int visited = 0;
    root.DoForAllNode([&](THeadTreeNode*) { ++visited; });
    EXPECT_EQ(visited, 5);
    root.FreeAllChild();
    EXPECT_EQ(root.Child, nullptr);
}

TEST(DBGridTitleTree, TitleHeightsMeasuredInTheTitleFont)
{
    StubGrid grid;
    for (const char* caption : {"采购币种价格|原价", "采购币种价格|单价"}) {
        TColumnGx* c = grid.Columns()->Add();
        c->Title()->SetCaption(QString::fromUtf8(caption));
        c->SetWidth(60);
    }
    THeadTreeNode root(QStringLiteral("Root"), 10, 0);
    std::vector<LeafCol> leaves;
    CreateFieldTree(&root, grid.Columns(), 20, true, leaves);
    TCanvas* canvas = grid.Canvas();
    canvas->SetFont(*grid.TitleFont());
    const int line = canvas->TextHeight(QStringLiteral("Wg"));
    const int total = CalcHeadTreeHeight(&root, 10, HeadTextHeightOnCanvas(canvas, grid.TitleFont(), 10));
    // six characters fit in the band and two in each leaf: one line per band
    EXPECT_EQ(total, 2 * (line + 10));
    // a narrow leaf wraps its caption over two lines
    grid.Columns()->GetColumn(0)->Title()->SetCaption(QStringLiteral("采购币种价格|原价原价原价原价"));
    grid.Columns()->GetColumn(0)->SetWidth(30);
    CreateFieldTree(&root, grid.Columns(), 20, true, leaves);
    const int wrapped = CalcHeadTreeHeight(&root, 10, HeadTextHeightOnCanvas(canvas, grid.TitleFont(), 10));
    EXPECT_GT(wrapped, total);
}
