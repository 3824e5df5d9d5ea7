#include "MemTreeGx.h"
#include "Exceptions.h"
#include <QTreeWidget>
#include <QTreeWidgetItem>

// ---------------------------------------------------------------------------
// TBaseTreeNodeGx

TBaseTreeNodeGx::TBaseTreeNodeGx() = default;

TBaseTreeNodeGx::~TBaseTreeNodeGx()
{
    for (TBaseTreeNodeGx* child : std::as_const(FItems))
        delete child;
    FItems.clear();
    FVisibleItems.clear();
}

void TBaseTreeNodeGx::SetExpanded(bool value)
{
    if (FExpanded == value || !ExpandedChanging())
        return;
    FExpanded = value;
    ExpandedChanged();
}

void TBaseTreeNodeGx::SetVisible(bool value)
{
    if (FVisible == value)
        return;
    FVisible = value;
    if (FParent && FParent->FItems.contains(this))
        FParent->BuildVisibleItems();
}

int TBaseTreeNodeGx::VisibleItemsCount() const
{
    return AllChildrenVisible() ? Count() : int(FVisibleItems.size());
}

TBaseTreeNodeGx* TBaseTreeNodeGx::VisibleItem(int index) const
{
    const QList<TBaseTreeNodeGx*>& list = AllChildrenVisible() ? FItems : FVisibleItems;
    return index >= 0 && index < list.size() ? list[index] : nullptr;
}

bool TBaseTreeNodeGx::ExpandedChanging()
{
    return FOwner ? FOwner->ExpandedChanging(this) : true;
}

TBaseTreeNodeGx* TBaseTreeNodeGx::GetItem(int index) const
{
    return index >= 0 && index < FItems.size() ? FItems[index] : nullptr;
}

bool TBaseTreeNodeGx::CanExpand() { return true; }

void TBaseTreeNodeGx::ClearItems()
{
    FItems.clear();
    FVisibleItems.clear();
    FVisibleCount = 0;
}

int TBaseTreeNodeGx::GetVisibleCount(TBaseTreeNodeGx*)
{
    return BuildVisibleItems();
}

void TBaseTreeNodeGx::ExpandedChanged()
{
    if (FOwner)
        FOwner->ExpandedChanged(this);
}

int TBaseTreeNodeGx::GetVisibleIndex()
{
    if (FParent)
        FParent->GetVisibleCount(this);
    return FVisibleIndex;
}

int TBaseTreeNodeGx::BuildVisibleItems()
{
    FVisibleItems.clear();
    for (TBaseTreeNodeGx* child : std::as_const(FItems)) {
        if (!child->FVisible)
            continue;
        child->FVisibleIndex = int(FVisibleItems.size());
        FVisibleItems.append(child);
    }
    FVisibleCount = int(FVisibleItems.size());
    if (!FItems.isEmpty())
        FHasChildren = FVisibleCount > 0;
    return FVisibleCount;
}

void TBaseTreeNodeGx::CheckOwner(TBaseTreeNodeGx* child) const
{
    if (child->FOwner != FOwner)
        throw Exception(QStringLiteral("TBaseTreeNodeGx.Add: Tree nodes can not has different Owners"));
}

int TBaseTreeNodeGx::AddChildNode(TBaseTreeNodeGx* child)
{
    CheckOwner(child);
    const bool shared = AllChildrenVisible() && child->FVisible;
    FItems.append(child);
    const int pos = int(FItems.size()) - 1;
    if (shared) {
        child->FVisibleIndex = pos;
        ++FVisibleCount;
    } else {
        BuildVisibleItems();
    }
    return pos;
}

void TBaseTreeNodeGx::InsertChildNode(int index, TBaseTreeNodeGx* child)
{
    CheckOwner(child);
    const bool shared = AllChildrenVisible() && child->FVisible;
    FItems.insert(qBound(0, index, int(FItems.size())), child);
    if (shared)
        ++FVisibleCount;
    else
        BuildVisibleItems();
}

void TBaseTreeNodeGx::DeleteChildNode(int index)
{
    if (index < 0 || index >= FItems.size())
        return;
    const bool shared = AllChildrenVisible();
    FItems.removeAt(index);
    if (shared)
        --FVisibleCount;
    else
        BuildVisibleItems();
}

void TBaseTreeNodeGx::SetNodeLevel(int level)
{
    if (level == FLevel)
        return;
    if (FOwner && level > FOwner->MaxLevel())
        throw Exception(QStringLiteral("TBaseTreeNodeGx.SetLevel: Max level exceed - %1").arg(FOwner->MaxLevel()));
    FLevel = level;
    for (TBaseTreeNodeGx* child : std::as_const(FItems))
        child->SetNodeLevel(level + 1);
}

void TBaseTreeNodeGx::RenumberChildren()
{
    for (int i = 0; i < FItems.size(); ++i)
        FItems[i]->FIndex = i;
}

void TBaseTreeNodeGx::QuickSort(int l, int r, const TCompareNodesGx& compare, const QVariant& param)
{
    do {
        int i = l;
        int j = r;
        TBaseTreeNodeGx* p = FItems[(l + r) / 2];
        do {
            while (compare(FItems[i], p, param) < 0)
                ++i;
            while (compare(FItems[j], p, param) > 0)
                --j;
            if (i <= j) {
                if (i != j) {
                    std::swap(FItems[i], FItems[j]);
                    FItems[i]->FIndex = i;
                    FItems[j]->FIndex = j;
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j)
            QuickSort(l, j, compare, param);
        l = i;
    } while (l < r);
}

void TBaseTreeNodeGx::SortChildren(const TCompareNodesGx& compare, const QVariant& param, bool recursive)
{
    if (FItems.size() > 1)
        QuickSort(0, int(FItems.size()) - 1, compare, param);
    if (!AllChildrenVisible())
        BuildVisibleItems();
    if (recursive)
        for (TBaseTreeNodeGx* child : std::as_const(FItems))
            child->SortChildren(compare, param, true);
}

// ---------------------------------------------------------------------------
// TTreeListGx

TTreeListGx::TTreeListGx(TTreeNodeClassGx itemClass) : FItemClass(std::move(itemClass))
{
    FRoot = NewNode();
}

TTreeListGx::~TTreeListGx()
{
    delete FRoot;
}

TBaseTreeNodeGx* TTreeListGx::NewNode()
{
    TBaseTreeNodeGx* node = FItemClass();
    node->FOwner = this;
    return node;
}

bool TTreeListGx::ExpandedChanging(TBaseTreeNodeGx* node)
{
    return OnExpandedChanging ? OnExpandedChanging(node) : true;
}

void TTreeListGx::ExpandedChanged(TBaseTreeNodeGx* node)
{
    if (OnExpandedChanged)
        OnExpandedChanged(node);
}

int TTreeListGx::CompareTreeNodes(TBaseTreeNodeGx*, TBaseTreeNodeGx*, const QVariant&) { return 0; }

TBaseTreeNodeGx* TTreeListGx::AddChild(const QString& text, TBaseTreeNodeGx* parent, void* data)
{
    if (!parent)
        parent = FRoot;
    TBaseTreeNodeGx* node = NewNode();
    node->FParent = parent;
    parent->FHasChildren = true;
    node->FData = data;
    node->FText = text;
    node->FIndex = parent->AddChildNode(node);
    node->SetNodeLevel(parent->FLevel + 1);
    return node;
}

TBaseTreeNodeGx* TTreeListGx::CreateNodeApart(const QString& text, void* data)
{
    TBaseTreeNodeGx* node = NewNode();
    node->FText = text;
    node->FData = data;
    node->FLevel = 0;
    node->FIndex = -1;
    return node;
}

void TTreeListGx::AddNode(TBaseTreeNodeGx* node, TBaseTreeNodeGx* destination, TNodeAttachModeGx mode, bool reIndex)
{
    if (!node || node == FRoot)
        return;
    if (!destination)
        destination = FRoot;
    switch (mode) {
    case naAddGx:
        if (destination != FRoot)
            AddNode(node, destination->FParent, naAddChildGx, reIndex);
        break;
    case naAddFirstGx:
        if (destination != FRoot)
            AddNode(node, destination->FParent, naAddChildFirstGx, reIndex);
        break;
    case naAddChildGx:
        node->FParent = destination;
        destination->FHasChildren = true;
        node->FIndex = destination->AddChildNode(node);
        node->SetNodeLevel(destination->FLevel + 1);
        break;
    case naAddChildFirstGx:
        node->FParent = destination;
        destination->FHasChildren = true;
        destination->InsertChildNode(0, node);
        node->FIndex = 0;
        node->SetNodeLevel(destination->FLevel + 1);
        if (reIndex)
            destination->RenumberChildren();
        break;
    case naInsertGx: {
        if (destination == FRoot)
            break;
        TBaseTreeNodeGx* parent = destination->FParent;
        const int at = destination->FIndex;
        node->FParent = parent;
        parent->InsertChildNode(at, node);
        node->FIndex = at;
        node->SetNodeLevel(parent->FLevel + 1);
        if (reIndex)
            parent->RenumberChildren();
        break;
    }
    }
}

void TTreeListGx::Detach(TBaseTreeNodeGx* node, bool reIndex)
{
    TBaseTreeNodeGx* parent = node->FParent;
    if (!parent)
        return;
    const int at = int(parent->FItems.indexOf(node));
    if (at < 0)
        return;
    parent->DeleteChildNode(at);
    parent->FHasChildren = !parent->FItems.isEmpty();
    if (reIndex)
        parent->RenumberChildren();
}

void TTreeListGx::MoveTo(TBaseTreeNodeGx* node, TBaseTreeNodeGx* destination, TNodeAttachModeGx mode, bool reIndex)
{
    if (!node || !destination || node == FRoot)
        return;
    if (destination == FRoot && (mode == naAddGx || mode == naAddFirstGx || mode == naInsertGx))
        return;
    for (TBaseTreeNodeGx* p = destination; p; p = p->FParent)
        if (p == node)
            throw Exception(QStringLiteral("Reference-loop found"));
    Detach(node, reIndex);
    AddNode(node, destination, mode, reIndex);
}

void TTreeListGx::SortData(const TBaseTreeNodeGx::TCompareNodesGx& compareProg, const QVariant& paramSort, bool recurse)
{
    FRoot->SortChildren(compareProg, paramSort, recurse);
}

void TTreeListGx::ExtractNode(TBaseTreeNodeGx* node, bool reIndex)
{
    if (node)
        Detach(node, reIndex);
}

void TTreeListGx::DeleteChildren(TBaseTreeNodeGx* node)
{
    if (!node)
        return;
    const QList<TBaseTreeNodeGx*> children = node->FItems;
    node->ClearItems();
    for (TBaseTreeNodeGx* child : children)
        delete child;
}

void TTreeListGx::DeleteNode(TBaseTreeNodeGx* node, bool reIndex)
{
    if (!node || node == FRoot)
        return;
    DeleteChildren(node);
    ExtractNode(node, reIndex);
    delete node;
}

void TTreeListGx::Clear()
{
    DeleteChildren(FRoot);
}

void TTreeListGx::BuildChildrenIndex(TBaseTreeNodeGx* node, bool recurse)
{
    if (!node)
        node = FRoot;
    node->RenumberChildren();
    if (recurse)
        for (TBaseTreeNodeGx* child : std::as_const(node->FItems))
            BuildChildrenIndex(child, true);
    node->BuildVisibleItems();
}

void TTreeListGx::Expand(TBaseTreeNodeGx* node, bool recurse)
{
    if (!node)
        node = FRoot;
    if (node->FItems.isEmpty())
        return;
    if (node != FRoot)
        node->SetExpanded(true);
    if (recurse)
        for (TBaseTreeNodeGx* child : std::as_const(node->FItems))
            Expand(child, true);
}

void TTreeListGx::Collapse(TBaseTreeNodeGx* node, bool recurse)
{
    if (!node)
        node = FRoot;
    node->SetExpanded(false);
    if (recurse)
        for (TBaseTreeNodeGx* child : std::as_const(node->FItems))
            Collapse(child, true);
}

int TTreeListGx::CountChildren(TBaseTreeNodeGx* node) const
{
    return (node ? node : FRoot)->Count();
}

TBaseTreeNodeGx* TTreeListGx::GetNode(TBaseTreeNodeGx* startNode, void* data) const
{
    if (!startNode)
        startNode = FRoot;
    for (TBaseTreeNodeGx* child : std::as_const(startNode->FItems)) {
        if (child->FData == data)
            return child;
        if (TBaseTreeNodeGx* found = GetNode(child, data))
            return found;
    }
    return nullptr;
}

TBaseTreeNodeGx* TTreeListGx::GetFirstChild(TBaseTreeNodeGx* node) const
{
    return node && !node->FItems.isEmpty() ? node->FItems.first() : nullptr;
}

TBaseTreeNodeGx* TTreeListGx::GetLastChild(TBaseTreeNodeGx* node) const
{
    return node && !node->FItems.isEmpty() ? node->FItems.last() : nullptr;
}

TBaseTreeNodeGx* TTreeListGx::GetPrevSibling(TBaseTreeNodeGx* node) const
{
    if (!node || !node->FParent)
        return nullptr;
    const int at = int(node->FParent->FItems.indexOf(node));
    return at > 0 ? node->FParent->FItems[at - 1] : nullptr;
}

TBaseTreeNodeGx* TTreeListGx::GetNextSibling(TBaseTreeNodeGx* node) const
{
    if (!node || !node->FParent)
        return nullptr;
    const QList<TBaseTreeNodeGx*>& items = node->FParent->FItems;
    const int at = int(items.indexOf(node));
    return at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
}

TBaseTreeNodeGx* TTreeListGx::GetFirst() const
{
    return GetFirstChild(FRoot);
}

TBaseTreeNodeGx* TTreeListGx::NextSiblingUpward(TBaseTreeNodeGx* node) const
{
    for (TBaseTreeNodeGx* n = node; n && n != FRoot; n = n->FParent)
        if (TBaseTreeNodeGx* s = GetNextSibling(n))
            return s;
    return nullptr;
}

TBaseTreeNodeGx* TTreeListGx::GetNext(TBaseTreeNodeGx* node) const
{
    if (!node || node == FRoot)
        return node;
    if (TBaseTreeNodeGx* child = GetFirstChild(node))
        return child;
    return NextSiblingUpward(node);
}

TBaseTreeNodeGx* TTreeListGx::GetLast(TBaseTreeNodeGx* node) const
{
    TBaseTreeNodeGx* n = GetLastChild(node ? node : FRoot);
    while (n && !n->FItems.isEmpty())
        n = n->FItems.last();
    return n;
}

TBaseTreeNodeGx* TTreeListGx::GetPrevious(TBaseTreeNodeGx* node) const
{
    if (!node || node == FRoot)
        return node;
    if (TBaseTreeNodeGx* sibling = GetPrevSibling(node)) {
        TBaseTreeNodeGx* last = GetLast(sibling);
        return last ? last : sibling;
    }
    return node->FParent == FRoot ? nullptr : node->FParent;
}

TBaseTreeNodeGx* TTreeListGx::GetParentAtLevel(TBaseTreeNodeGx* node, int parentLevel) const
{
    if (!node || node == FRoot || parentLevel < 0 || parentLevel >= node->FLevel)
        return nullptr;
    if (parentLevel == 0)
        return FRoot;
    TBaseTreeNodeGx* p = node->FParent;
    while (p && p->FLevel > parentLevel)
        p = p->FParent;
    return p;
}

void TTreeListGx::ExportToTreeView(QTreeWidget* treeView, TBaseTreeNodeGx* node, QTreeWidgetItem* nodeTree, bool addChild)
{
    for (TBaseTreeNodeGx* n = node; n; n = GetNextSibling(n)) {
        QTreeWidgetItem* parentItem = addChild ? nodeTree : (nodeTree ? nodeTree->parent() : nullptr);
        auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(treeView);
        item->setText(0, n->FText);
        item->setData(0, Qt::UserRole, QVariant::fromValue(quintptr(n->FData)));
        if (TBaseTreeNodeGx* child = GetFirstChild(n))
            ExportToTreeView(treeView, child, item, true);
        item->setExpanded(n->FExpanded);
    }
}

bool TTreeListGx::GetPathVisible(TBaseTreeNodeGx* node, bool considerCollapsed) const
{
    if (!node || node == FRoot)
        return false;
    for (TBaseTreeNodeGx* p = node->FParent; p && p != FRoot; p = p->FParent)
        if (!p->FVisible || (considerCollapsed && !p->FExpanded))
            return false;
    return true;
}

TBaseTreeNodeGx* TTreeListGx::GetParentVisible(TBaseTreeNodeGx* node, bool considerCollapsed) const
{
    if (!node || node == FRoot)
        return FRoot;
    for (TBaseTreeNodeGx* p = node->FParent; p; p = p->FParent) {
        if (p == FRoot)
            return FRoot;
        if (p->FVisible && GetPathVisible(p, considerCollapsed))
            return p;
    }
    return FRoot;
}

TBaseTreeNodeGx* TTreeListGx::GetFirstVisible() const
{
    for (TBaseTreeNodeGx* child : std::as_const(FRoot->FItems))
        if (child->FVisible)
            return child;
    return nullptr;
}

TBaseTreeNodeGx* TTreeListGx::GetNextVisible(TBaseTreeNodeGx* node, bool considerCollapsed) const
{
    if (!node || node == FRoot)
        return nullptr;
    if (!node->FVisible || !GetPathVisible(node, considerCollapsed)) {
        node = GetParentVisible(node, considerCollapsed);
        if (node == FRoot)
            return GetFirstVisible();
    }
    const bool open = node->FExpanded || !considerCollapsed;
    TBaseTreeNodeGx* first = GetFirstChild(node);
    if (open && first && first->FVisible)
        return first;
    auto nextVisibleSibling = [this](TBaseTreeNodeGx* n) -> TBaseTreeNodeGx* {
        for (TBaseTreeNodeGx* s = GetNextSibling(n); s; s = GetNextSibling(s))
            if (s->FVisible)
                return s;
        return nullptr;
    };
    if (open && first)
        if (TBaseTreeNodeGx* s = nextVisibleSibling(first))
            return s;
    for (TBaseTreeNodeGx* n = node; n && n != FRoot; n = n->FParent)
        if (TBaseTreeNodeGx* s = nextVisibleSibling(n))
            return s;
    return nullptr;
}

TBaseTreeNodeGx* TTreeListGx::GetNextVisibleSibling(TBaseTreeNodeGx* node) const
{
    if (!node || !node->FParent)
        return nullptr;
    TBaseTreeNodeGx* parent = node->FParent;
    if (parent->AllChildrenVisible())
        return GetNextSibling(node);
    return parent->VisibleItem(node->FVisibleIndex + 1);
}

TBaseTreeNodeGx* TTreeListGx::GetPrevVisibleSibling(TBaseTreeNodeGx* node) const
{
    if (!node || !node->FParent)
        return nullptr;
    TBaseTreeNodeGx* parent = node->FParent;
    if (parent->AllChildrenVisible())
        return GetPrevSibling(node);
    return parent->VisibleItem(node->FVisibleIndex - 1);
}
