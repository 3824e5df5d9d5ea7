#pragma once
// The tree of multi-level titles: captions split at '|' become bands over the
// neighbouring columns that share their upper parts.
#include "DBGridGxTypes.h"
#include <QString>
#include <functional>
#include <vector>

class TCanvas;
class TColumnGx;
class TDBGridColumnsGx;

class THeadTreeNode {
public:
    THeadTreeNode();
    THeadTreeNode(const QString& text, int height, int width);
    // A node without host (the root) frees its whole subtree.
    ~THeadTreeNode();
    THeadTreeNode(const THeadTreeNode&) = delete;
    THeadTreeNode& operator=(const THeadTreeNode&) = delete;

    THeadTreeNode* Child = nullptr;
    TColumnGx* Column = nullptr;
    bool Drawed = false;
    int Height = 0;
    int HeightPrn = 0;
    THeadTreeNode* Host = nullptr;
    THeadTreeNode* Next = this;     // siblings form a ring
    QString Text;
    int VLineWidth = 0;
    int Width = 0;
    int WidthPrn = 0;
    int WIndent = 0;

    // A new sibling right after after (raises "Node not in Tree" when it is not in this subtree).
    THeadTreeNode* Add(THeadTreeNode* after, const QString& text, int height, int width);
    // A new last child of node.
    THeadTreeNode* AddChild(THeadTreeNode* node, const QString& text, int height, int width);
    // This node, one of its ring siblings, or inside the subtree of any of them.
    bool Find(const THeadTreeNode* node) const;
    int GetLevel() const;
    void FreeAllChild();
    // Puts the siblings from .. to under a new node with the text and height.
    THeadTreeNode* Union(THeadTreeNode* from, THeadTreeNode* to, const QString& text, int height);
    // Every descendant, depth first, each before its children.
    void DoForAllNode(const std::function<void(THeadTreeNode*)>& proc);
    // The children in ring order.
    std::vector<THeadTreeNode*> Children() const;
};

// One column's leaf of the title tree.
struct LeafCol {
    THeadTreeNode* FLeaf = nullptr;
    TColumnGx* FColumn = nullptr;
};

// Rebuilds root's children from the columns' captions: one leaf per column (its
// caption, height titleRowHeight, the column's full width when visible, else -1
// with column lines and 0 without), then bands of height 20 over the runs of
// neighbouring columns (on one level) whose captions share their first word.
// Every caption level is kept.
void CreateFieldTree(THeadTreeNode* root, TDBGridColumnsGx* columns, int titleRowHeight, bool colLines,
                     std::vector<LeafCol>& leaves);

// Height of a node with all its children's bands; sets each child's Height. The
// measure gives the height of one band's caption (before the margin).
using THeadTextHeightGx = std::function<int(THeadTreeNode* node, int width)>;
int CalcHeadTreeHeight(THeadTreeNode* node, int vTitleMargin, const THeadTextHeightGx& measure);

// The standard measure: the caption word-wrapped into the width (less indent and
// 4, at least 1) in the column's title font (the grid's title font for bands),
// a vertical title as its rotated extent + 6 - margin.
THeadTextHeightGx HeadTextHeightOnCanvas(TCanvas* canvas, TFont* gridTitleFont, int vTitleMargin);
