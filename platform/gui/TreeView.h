#pragma once
// TTreeView: the class library's tree view over QTreeWidget. Nodes carry a
// text, a data pointer and image, selected-image and state-image indexes into
// the tree's image lists; Items adds, inserts and deletes them. OnChange
// follows every change of the selected node (also in code); OnChanging and
// OnExpanding / OnCollapsing may refuse.
#include "ControlBase.h"

#include <QIcon>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <unordered_map>

class TTreeView;
class TTreeNodes;

class TTreeNode {
public:
    QString Text() const;
    void SetText(const QString& t);
    void* Data() const { return m_data; }
    void SetData(void* d) { m_data = d; }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int i);
    int SelectedIndex() const { return m_selectedIndex; }
    void SetSelectedIndex(int i);
    int StateIndex() const { return m_stateIndex; }
    void SetStateIndex(int i);

    TTreeNode* Parent() const;
    int Level() const;
    int Count() const;
    TTreeNode* Item(int i) const;
    int Index() const;              // position among its siblings
    int AbsoluteIndex() const;      // position in Items (pre-order)
    bool HasChildren() const;
    // Shows the expand button even without children (children loaded on expanding).
    void SetHasChildren(bool v);
    TTreeNode* GetFirstChild() const;
    TTreeNode* GetLastChild() const;
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    TTreeNode* GetNext() const;     // next in pre-order
    TTreeNode* GetPrev() const;
    bool IsFirstNode() const { return !Parent() && Index() == 0; }
    bool HasAsParent(const TTreeNode* n) const;

    bool Expanded() const;
    void SetExpanded(bool v);
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void SetSelected(bool v);
    bool Focused() const { return Selected(); }
    void MakeVisible();
    TRect DisplayRect(bool textOnly) const;
    void Delete();
    void DeleteChildren();

    TTreeView* TreeView() const { return m_tree; }
    TTreeNodes* Owner() const;
    QTreeWidgetItem* Item() const { return m_item; }

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNode(TTreeView* tree, QTreeWidgetItem* item) : m_tree(tree), m_item(item) {}
    void updateIcons();
    TTreeView* m_tree;
    QTreeWidgetItem* m_item;
    void* m_data = nullptr;
    int m_imageIndex = -1;
    int m_selectedIndex = -1;
    int m_stateIndex = -1;
};

class TTreeNodes {
public:
    int Count() const;
    TTreeNode* Item(int absoluteIndex) const;
    TTreeNode* operator[](int i) const { return Item(i); }
    TTreeNode* GetFirstNode() const;
    // A new node after the last sibling of `sibling` (top level when null).
    TTreeNode* Add(TTreeNode* sibling, const QString& s);
    TTreeNode* AddObject(TTreeNode* sibling, const QString& s, void* data);
    TTreeNode* AddFirst(TTreeNode* sibling, const QString& s);
    // A new last (first) child of `parent` (top level when null).
    TTreeNode* AddChild(TTreeNode* parent, const QString& s);
    TTreeNode* AddChildObject(TTreeNode* parent, const QString& s, void* data);
    TTreeNode* AddChildFirst(TTreeNode* parent, const QString& s);
    // A new node before `sibling` (last top-level node when null).
    TTreeNode* Insert(TTreeNode* sibling, const QString& s);
    TTreeNode* InsertObject(TTreeNode* sibling, const QString& s, void* data);
    void Delete(TTreeNode* node);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    TTreeView* Owner() const { return m_tree; }
private:
    friend class TTreeView;
    explicit TTreeNodes(TTreeView* tree) : m_tree(tree) {}
    TTreeNode* insertAt(QTreeWidgetItem* parent, int index, const QString& s, void* data);
    TTreeView* m_tree;
    int m_updating = 0;
};

class TTreeView : public QTreeWidget {
    Q_OBJECT
public:
    using TTVChangedEvent = std::function<void(QObject* Sender, TTreeNode* Node)>;
    using TTVChangingEvent = std::function<void(QObject* Sender, TTreeNode* Node, bool& AllowChange)>;
    using TTVExpandingEvent = std::function<void(QObject* Sender, TTreeNode* Node, bool& Allow)>;
    using TTVExpandedEvent = std::function<void(QObject* Sender, TTreeNode* Node)>;

    explicit TTreeView(QWidget* parent = nullptr);
    ~TTreeView() override;

    TTreeNodes* Items() { return &m_nodes; }
    TTreeNode* Selected() const;
    void SetSelected(TTreeNode* n);
    TTreeNode* TopItem() const;
    TTreeNode* GetNodeAt(int X, int Y) const;
    TTreeNode* NodeOf(QTreeWidgetItem* item) const;
    void FullExpand();
    void FullCollapse();

    // Image lists: an index of -1 (or beyond the list) shows no image.
    void SetImages(const QList<QIcon>& images);
    void SetStateImages(const QList<QIcon>& images);
    const QList<QIcon>& Images() const { return m_images; }
    const QList<QIcon>& StateImages() const { return m_stateImages; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    bool ShowRoot() const { return rootIsDecorated(); }
    void SetShowRoot(bool v) { setRootIsDecorated(v); }

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding, OnCollapsing;
    TTVExpandedEvent OnExpanded, OnCollapsed, OnDeletion;
    TNotifyEvent OnClick, OnDblClick, OnEnter, OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    void currentChanged(QTreeWidgetItem* cur, QTreeWidgetItem* prev);
    void expanding(QTreeWidgetItem* item, bool expand);
    void forget(QTreeWidgetItem* item);   // drops the wrappers of a subtree
    void deleteItem(QTreeWidgetItem* item);

    TTreeNodes m_nodes{this};
    std::unordered_map<QTreeWidgetItem*, std::unique_ptr<TTreeNode>> m_map;
    QList<QIcon> m_images, m_stateImages;
    bool m_readOnly = false;
    bool m_guard = false;
    QTreeWidgetItem* m_lastCurrent = nullptr;
};
