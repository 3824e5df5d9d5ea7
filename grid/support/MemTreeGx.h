#pragma once
// In-memory tree: a root node owned by a tree list, children kept in order, and
// beside them the sub-list of visible children so that a grid can walk only what
// is shown. The grid's data grouping builds its group tree on these classes.
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

class TTreeListGx;
class QTreeWidget;
class QTreeWidgetItem;

class TBaseTreeNodeGx {
public:
    TBaseTreeNodeGx();
    virtual ~TBaseTreeNodeGx();
    TBaseTreeNodeGx(const TBaseTreeNodeGx&) = delete;
    TBaseTreeNodeGx& operator=(const TBaseTreeNodeGx&) = delete;

    TTreeListGx* Owner() const { return FOwner; }
    const QString& Text() const { return FText; }
    void SetText(const QString& t) { FText = t; }
    void* Data() const { return FData; }
    void SetData(void* d) { FData = d; }
    bool Expanded() const { return FExpanded; }
    void SetExpanded(bool value);
    bool HasChildren() const { return FHasChildren; }
    int Index() const { return FIndex; }
    int Level() const { return FLevel; }
    TBaseTreeNodeGx* Parent() const { return FParent; }
    bool Visible() const { return FVisible; }
    // Showing or hiding a node rebuilds its parent's visible list.
    void SetVisible(bool value);
    int VisibleIndexField() const { return FVisibleIndex; }

    int Count() const { return int(FItems.size()); }
    TBaseTreeNodeGx* Items(int index) const { return GetItem(index); }
    // Number of visible children and the visible child at an index.
    int VisibleItemsCount() const;
    TBaseTreeNodeGx* VisibleItem(int index) const;
    bool AllChildrenVisible() const { return FVisibleCount == Count(); }

    // Virtual operations.
    virtual bool ExpandedChanging();
    virtual TBaseTreeNodeGx* GetItem(int index) const;
    virtual bool CanExpand();
    virtual void ClearItems();
    virtual int GetVisibleCount(TBaseTreeNodeGx* forNode = nullptr);
    virtual void ExpandedChanged();
    // Rebuilds the parent's visible list and answers this node's position in it.
    virtual int GetVisibleIndex();
    virtual int BuildVisibleItems();

    int AddChildNode(TBaseTreeNodeGx* child);
    void InsertChildNode(int index, TBaseTreeNodeGx* child);
    // Removes the child from the lists; the caller owns it afterwards.
    void DeleteChildNode(int index);
    void SetNodeLevel(int level);
    using TCompareNodesGx = std::function<int(TBaseTreeNodeGx*, TBaseTreeNodeGx*, const QVariant&)>;
    void SortChildren(const TCompareNodesGx& compare, const QVariant& param, bool recursive);

private:
    friend class TTreeListGx;
    void CheckOwner(TBaseTreeNodeGx* child) const;
    void RenumberChildren();
    void QuickSort(int l, int r, const TCompareNodesGx& compare, const QVariant& param);

    TTreeListGx* FOwner = nullptr;
    QString FText;
    void* FData = nullptr;
    bool FExpanded = false;
    bool FHasChildren = false;
    int FIndex = -1;
    QList<TBaseTreeNodeGx*> FItems;          // owned
    QList<TBaseTreeNodeGx*> FVisibleItems;   // not owned
    int FLevel = 0;
    TBaseTreeNodeGx* FParent = nullptr;
    bool FVisible = true;
    int FVisibleCount = 0;
    int FVisibleIndex = 0;
};

// The node class a tree creates its nodes from.
using TTreeNodeClassGx = std::function<TBaseTreeNodeGx*()>;
template <class T> TTreeNodeClassGx TreeNodeClassOf() { return [] { return new T(); }; }

enum TNodeAttachModeGx { naAddGx, naAddFirstGx, naAddChildGx, naAddChildFirstGx, naInsertGx };

class TTreeListGx {
public:
    explicit TTreeListGx(TTreeNodeClassGx itemClass = TreeNodeClassOf<TBaseTreeNodeGx>());
    virtual ~TTreeListGx();
    TTreeListGx(const TTreeListGx&) = delete;
    TTreeListGx& operator=(const TTreeListGx&) = delete;

    TBaseTreeNodeGx* Root() const { return FRoot; }
    int MaxLevel() const { return FMaxLevel; }
    std::function<void(TBaseTreeNodeGx*)> OnExpandedChanged;
    std::function<bool(TBaseTreeNodeGx*)> OnExpandedChanging;

    virtual bool ExpandedChanging(TBaseTreeNodeGx* node);
    virtual void ExpandedChanged(TBaseTreeNodeGx* node);
    virtual int CompareTreeNodes(TBaseTreeNodeGx* rec1, TBaseTreeNodeGx* rec2, const QVariant& paramSort);
    virtual void MoveTo(TBaseTreeNodeGx* node, TBaseTreeNodeGx* destination, TNodeAttachModeGx mode, bool reIndex);
    virtual void SortData(const TBaseTreeNodeGx::TCompareNodesGx& compareProg, const QVariant& paramSort, bool recurse);

    TBaseTreeNodeGx* AddChild(const QString& text, TBaseTreeNodeGx* parent, void* data);
    TBaseTreeNodeGx* CreateNodeApart(const QString& text, void* data);
    void AddNode(TBaseTreeNodeGx* node, TBaseTreeNodeGx* destination, TNodeAttachModeGx mode, bool reIndex);
    void ExtractNode(TBaseTreeNodeGx* node, bool reIndex);
    void DeleteChildren(TBaseTreeNodeGx* node);
    void DeleteNode(TBaseTreeNodeGx* node, bool reIndex);
    void Clear();
    void BuildChildrenIndex(TBaseTreeNodeGx* node, bool recurse);
    void Expand(TBaseTreeNodeGx* node, bool recurse);
    void Collapse(TBaseTreeNodeGx* node, bool recurse);
    int CountChildren(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetNode(TBaseTreeNodeGx* startNode, void* data) const;

    TBaseTreeNodeGx* GetFirstChild(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetLastChild(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetPrevSibling(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetNextSibling(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetFirst() const;
    TBaseTreeNodeGx* GetNext(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetLast(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetPrevious(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetParentAtLevel(TBaseTreeNodeGx* node, int parentLevel) const;

    // Adds the node and its following siblings, with their subtrees, to a tree view.
    void ExportToTreeView(QTreeWidget* treeView, TBaseTreeNodeGx* node, QTreeWidgetItem* nodeTree, bool addChild);

    bool GetPathVisible(TBaseTreeNodeGx* node, bool considerCollapsed) const;
    TBaseTreeNodeGx* GetParentVisible(TBaseTreeNodeGx* node, bool considerCollapsed) const;
    TBaseTreeNodeGx* GetFirstVisible() const;
    TBaseTreeNodeGx* GetNextVisible(TBaseTreeNodeGx* node, bool considerCollapsed) const;
    TBaseTreeNodeGx* GetNextVisibleSibling(TBaseTreeNodeGx* node) const;
    TBaseTreeNodeGx* GetPrevVisibleSibling(TBaseTreeNodeGx* node) const;

private:
    TBaseTreeNodeGx* NewNode();
    void Detach(TBaseTreeNodeGx* node, bool reIndex);
    TBaseTreeNodeGx* NextSiblingUpward(TBaseTreeNodeGx* node) const;

    TTreeNodeClassGx FItemClass;
    int FMaxLevel = 1000;
    TBaseTreeNodeGx* FRoot = nullptr;
};
