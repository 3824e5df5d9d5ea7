#include "DBGridGxHeadTree.h"
#include "DBGridGxColumns.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/DrawUtils.h"
#include "platform/rtl/Exceptions.h"

THeadTreeNode::THeadTreeNode() = default;

THeadTreeNode::THeadTreeNode(const QString& text, int height, int width)
    : Height(height), Text(text), Width(width)
{
}

THeadTreeNode::~THeadTreeNode()
{
    if (!Host)
        FreeAllChild();
}

std::vector<THeadTreeNode*> THeadTreeNode::Children() const
{
    std::vector<THeadTreeNode*> result;
    if (!Child)
        return result;
    THeadTreeNode* n = Child;
    do {
        result.push_back(n);
        n = n->Next;
    } while (n != Child);
    return result;
}

bool THeadTreeNode::Find(const THeadTreeNode* node) const
{
    const THeadTreeNode* n = this;
    do {
        if (n == node)
            return true;
        if (n->Child && n->Child->Find(node))
            return true;
        n = n->Next;
    } while (n != this);
    return false;
}

THeadTreeNode* THeadTreeNode::Add(THeadTreeNode* after, const QString& text, int height, int width)
{
    if (!after || !Find(after))
        throw Exception(QStringLiteral("Node not in Tree"));
    auto* node = new THeadTreeNode(text, height, width);
    node->Host = after->Host;
    node->Next = after->Next;
    after->Next = node;
    return node;
}

THeadTreeNode* THeadTreeNode::AddChild(THeadTreeNode* node, const QString& text, int height, int width)
{
    if (!node || !Find(node))
        throw Exception(QStringLiteral("Node not in Tree"));
    if (!node->Child) {
        auto* child = new THeadTreeNode(text, height, width);
        child->Host = node;
        node->Child = child;
        return child;
    }
    THeadTreeNode* last = node->Child;
    while (last->Next != node->Child)
        last = last->Next;
    return Add(last, text, height, width);
}

int THeadTreeNode::GetLevel() const
{
    int level = 0;
    for (const THeadTreeNode* h = Host; h; h = h->Host)
        ++level;
    return level;
}

void THeadTreeNode::FreeAllChild()
{
    for (THeadTreeNode* n : Children()) {
        n->FreeAllChild();
        n->Host = nullptr;
        n->Child = nullptr;
        n->Next = n;
        delete n;
    }
    Child = nullptr;
}

THeadTreeNode* THeadTreeNode::Union(THeadTreeNode* from, THeadTreeNode* to, const QString& text, int height)
{
    if (!from || !Find(from))
        throw Exception(QStringLiteral("Node not in Tree"));
    THeadTreeNode* host = from->Host;
    THeadTreeNode* first = host ? host->Child : from;
    // from .. to along the ring, before coming back to the host's first child
    std::vector<THeadTreeNode*> run;
    THeadTreeNode* n = from;
    for (;;) {
        run.push_back(n);
        if (n == to)
            break;
        n = n->Next;
        if (n == first)
            throw Exception(QStringLiteral("ATo not in level"));
    }
    // the node before from in the ring
    THeadTreeNode* prev = from;
    while (prev->Next != from)
        prev = prev->Next;
    auto* node = new THeadTreeNode(text, height, 0);
    node->VLineWidth = to->VLineWidth;
    node->Host = host;
    node->Child = from;
    const bool wholeRing = to->Next == from;
    if (wholeRing) {
        node->Next = node;
    } else {
        node->Next = to->Next;
        prev->Next = node;
    }
    if (host && host->Child == from)
        host->Child = node;
    int width = 0;
    for (THeadTreeNode* m : run) {
        m->Host = node;
        m->Height -= height;
        width += m->Width + node->VLineWidth;
    }
    if (node->VLineWidth >= 1)
        width -= node->VLineWidth;
    node->Width = width;
    to->Next = from;
    return node;
}

void THeadTreeNode::DoForAllNode(const std::function<void(THeadTreeNode*)>& proc)
{
    for (THeadTreeNode* n : Children()) {
        proc(n);
        n->DoForAllNode(proc);
    }
}

// ---------------------------------------------------------------- building from captions

namespace {

// First non-empty word and the position where the second non-empty word starts
// (-1 when there is none).
void SplitWords(const QString& text, QString& first, int& secondStart)
{
    first.clear();
    secondStart = -1;
    int i = 0;
    const int n = int(text.size());
    int words = 0;
    while (i < n) {
        while (i < n && text.at(i) == QLatin1Char('|'))
            ++i;
        if (i >= n)
            break;
        const int start = i;
        while (i < n && text.at(i) != QLatin1Char('|'))
            ++i;
        ++words;
        if (words == 1) {
            first = text.mid(start, i - start);
        } else {
            secondStart = start;
            return;
        }
    }
}

} // namespace

void CreateFieldTree(THeadTreeNode* root, TDBGridColumnsGx* columns, int titleRowHeight, bool colLines,
                     std::vector<LeafCol>& leaves)
{
    root->FreeAllChild();
    const int count = columns->Count();
    leaves.assign(size_t(count), LeafCol());
    for (int i = 0; i < count; ++i) {
        TColumnGx* column = columns->GetColumn(i);
        const int width = column->Visible() ? column->FullWidth() : (colLines ? -1 : 0);
        THeadTreeNode* leaf = root->AddChild(root, column->Title()->Caption(), titleRowHeight, width);
        leaf->Column = column;
        leaf->WIndent = column->Title()->SortMarker() != smNoneGx ? 16 : 0;
        leaf->VLineWidth = colLines ? 1 : 0;
        leaves[size_t(i)] = {leaf, column};
    }
    bool changed = true;
    while (changed) {
        changed = false;
        for (int i = 0; i < count && !changed; ++i) {
            QString word;
            int second = -1;
            SplitWords(leaves[size_t(i)].FLeaf->Text, word, second);
            if (second < 0)
                continue;
            // The run: the following columns on the same level whose first word is the same.
            THeadTreeNode* host = leaves[size_t(i)].FLeaf->Host;
            int last = i;
            for (int j = i + 1; j < count; ++j) {
                QString w;
                int s = -1;
                SplitWords(leaves[size_t(j)].FLeaf->Text, w, s);
                if (w != word || leaves[size_t(j)].FLeaf->Host != host)
                    break;
                last = j;
            }
            for (int j = i; j <= last; ++j) {
                THeadTreeNode* leaf = leaves[size_t(j)].FLeaf;
                QString w;
                int s = -1;
                SplitWords(leaf->Text, w, s);
                if (s >= 0)
                    leaf->Text = leaf->Text.mid(s);
            }
            // the nodes of the run at the level right under the host
            auto topOf = [host](THeadTreeNode* leaf) {
                THeadTreeNode* n = leaf;
                while (n->Host != host)
                    n = n->Host;
                return n;
            };
            root->Union(topOf(leaves[size_t(i)].FLeaf), topOf(leaves[size_t(last)].FLeaf), word, 20);
            changed = true;
        }
    }
}

int CalcHeadTreeHeight(THeadTreeNode* node, int vTitleMargin, const THeadTextHeightGx& measure)
{
    const std::vector<THeadTreeNode*> children = node->Children();
    if (children.empty())
        return 0;
    int result = 0;
    std::vector<int> subHeights;
    for (THeadTreeNode* child : children) {
        int own = 0;
        if (child->Width != 0)
            own = measure(child, child->Width) + vTitleMargin;
        const int sub = CalcHeadTreeHeight(child, vTitleMargin, measure);
        subHeights.push_back(sub);
        result = std::max(result, own + sub);
    }
    for (size_t k = 0; k < children.size(); ++k)
        children[k]->Height = children[k]->Child ? result - subHeights[k] : result;
    return result;
}

THeadTextHeightGx HeadTextHeightOnCanvas(TCanvas* canvas, TFont* gridTitleFont, int vTitleMargin)
{
    return [canvas, gridTitleFont, vTitleMargin](THeadTreeNode* node, int width) {
        TColumnGx* column = node->Child ? nullptr : node->Column;
        TFont saved;
        saved.Assign(*canvas->Font());
        canvas->SetFont(column ? *column->Title()->Font() : *gridTitleFont);
        const QString text = node->Text.isEmpty() ? QStringLiteral(" ") : node->Text;
        int height;
        if (column && column->Title()->Orientation() == tohVertical) {
            height = canvas->TextWidth(text) + 6 - vTitleMargin;
        } else {
            TRect r(0, 0, std::max(1, width - node->WIndent - 4), 0);
            height = DrawText(canvas, text, r, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
        }
        canvas->SetFont(saved);
        return height;
    };
}
