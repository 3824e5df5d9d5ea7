#include "TreeView.h"

#include "Application.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr int IconSize = 16;
}

// ---------------------------------------------------------------- node

QString TTreeNode::Text() const { return m_item->text(0); }

void TTreeNode::SetText(const QString& t) { m_item->setText(0, t); }

void TTreeNode::SetImageIndex(int i)
{
    m_imageIndex = i;
    updateIcons();
}

void TTreeNode::SetSelectedIndex(int i)
{
    m_selectedIndex = i;
    updateIcons();
}

void TTreeNode::SetStateIndex(int i)
{
    m_stateIndex = i;
    updateIcons();
}

// The image shown is SelectedIndex while the node is selected, else
// ImageIndex; a state image stands to its left.
void TTreeNode::updateIcons()
{
    const auto& images = m_tree->m_images;
    const auto& states = m_tree->m_stateImages;
    const int idx = Selected() ? m_selectedIndex : m_imageIndex;
    QIcon image = idx >= 0 && idx < images.size() ? images[idx] : QIcon();
    if (states.isEmpty()) {
        m_item->setIcon(0, image);
        return;
    }
    QPixmap pm(IconSize * 2 + 2, IconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    if (m_stateIndex >= 0 && m_stateIndex < states.size()) p.drawPixmap(0, 0, states[m_stateIndex].pixmap(IconSize));
    if (!image.isNull()) p.drawPixmap(IconSize + 2, 0, image.pixmap(IconSize));
    p.end();
    m_item->setIcon(0, QIcon(pm));
}

TTreeNode* TTreeNode::Parent() const { return m_tree->NodeOf(m_item->parent()); }

int TTreeNode::Level() const
{
    int l = 0;
    for (QTreeWidgetItem* p = m_item->parent(); p; p = p->parent()) ++l;
    return l;
}

int TTreeNode::Count() const { return m_item->childCount(); }

TTreeNode* TTreeNode::Item(int i) const { return m_tree->NodeOf(m_item->child(i)); }

int TTreeNode::Index() const
{
    QTreeWidgetItem* p = m_item->parent();
    return p ? p->indexOfChild(m_item) : m_tree->indexOfTopLevelItem(m_item);
}

int TTreeNode::AbsoluteIndex() const
{
    int i = 0;
    for (TTreeNode* n = m_tree->m_nodes.GetFirstNode(); n; n = n->GetNext(), ++i)
        if (n == this) return i;
    return -1;
}

bool TTreeNode::HasChildren() const
{
    return m_item->childCount() > 0 || m_item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
}

void TTreeNode::SetHasChildren(bool v)
{
    m_item->setChildIndicatorPolicy(v ? QTreeWidgetItem::ShowIndicator
                                      : QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

TTreeNode* TTreeNode::GetFirstChild() const { return Count() ? Item(0) : nullptr; }
TTreeNode* TTreeNode::GetLastChild() const { return Count() ? Item(Count() - 1) : nullptr; }

TTreeNode* TTreeNode::GetNextSibling() const
{
    QTreeWidgetItem* p = m_item->parent();
    const int i = Index() + 1;
    return m_tree->NodeOf(p ? p->child(i) : m_tree->topLevelItem(i));
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    QTreeWidgetItem* p = m_item->parent();
    const int i = Index() - 1;
    if (i < 0) return nullptr;
    return m_tree->NodeOf(p ? p->child(i) : m_tree->topLevelItem(i));
}

TTreeNode* TTreeNode::GetNext() const
{
    if (Count()) return Item(0);
    for (const TTreeNode* n = this; n; n = n->Parent())
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    TTreeNode* s = GetPrevSibling();
    if (!s) return Parent();
    while (s->Count()) s = s->GetLastChild();
    return s;
}

bool TTreeNode::HasAsParent(const TTreeNode* n) const
{
    for (TTreeNode* p = Parent(); p; p = p->Parent())
        if (p == n) return true;
    return false;
}

bool TTreeNode::Expanded() const { return m_item->isExpanded(); }

void TTreeNode::SetExpanded(bool v) { m_item->setExpanded(v); }

void TTreeNode::Expand(bool recurse)
{
    SetExpanded(true);
    if (recurse)
        for (int i = 0; i < Count(); ++i)
            if (TTreeNode* c = Item(i)) c->Expand(true);
}

void TTreeNode::Collapse(bool recurse)
{
    if (recurse)
        for (int i = 0; i < Count(); ++i)
            if (TTreeNode* c = Item(i)) c->Collapse(true);
    SetExpanded(false);
}

bool TTreeNode::Selected() const { return m_tree->currentItem() == m_item; }

void TTreeNode::SetSelected(bool v)
{
    if (v)
        m_tree->SetSelected(this);
    else if (Selected())
        m_tree->SetSelected(nullptr);
}

void TTreeNode::MakeVisible()
{
    for (QTreeWidgetItem* p = m_item->parent(); p; p = p->parent()) p->setExpanded(true);
    m_tree->scrollToItem(m_item);
}

TRect TTreeNode::DisplayRect(bool) const
{
    QRect r = m_tree->visualItemRect(m_item);
    return TRect(r);
}

void TTreeNode::Delete() { m_tree->deleteItem(m_item); }

void TTreeNode::DeleteChildren()
{
    while (m_item->childCount()) m_tree->deleteItem(m_item->child(m_item->childCount() - 1));
}

TTreeNodes* TTreeNode::Owner() const { return &m_tree->m_nodes; }

// ---------------------------------------------------------------- nodes

int TTreeNodes::Count() const
{
    int n = 0;
    for (TTreeNode* x = GetFirstNode(); x; x = x->GetNext()) ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int index) const
{
    if (index < 0) return nullptr;
    TTreeNode* x = GetFirstNode();
    for (int i = 0; x && i < index; ++i) x = x->GetNext();
    return x;
}

TTreeNode* TTreeNodes::GetFirstNode() const { return m_tree->NodeOf(m_tree->topLevelItem(0)); }

TTreeNode* TTreeNodes::insertAt(QTreeWidgetItem* parent, int index, const QString& s, void* data)
{
    auto* item = new QTreeWidgetItem(QStringList{s});
    if (!m_tree->m_readOnly) item->setFlags(item->flags() | Qt::ItemIsEditable);
    auto node = std::unique_ptr<TTreeNode>(new TTreeNode(m_tree, item));
    node->m_data = data;
    TTreeNode* raw = node.get();
    m_tree->m_map.emplace(item, std::move(node));
    if (parent)
        parent->insertChild(index < 0 ? parent->childCount() : index, item);
    else
        m_tree->insertTopLevelItem(index < 0 ? m_tree->topLevelItemCount() : index, item);
    raw->updateIcons();
    return raw;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const QString& s) { return AddObject(sibling, s, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const QString& s, void* data)
{
    return insertAt(sibling ? sibling->m_item->parent() : nullptr, -1, s, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const QString& s)
{
    return insertAt(sibling ? sibling->m_item->parent() : nullptr, 0, s, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const QString& s) { return AddChildObject(parent, s, nullptr); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const QString& s, void* data)
{
    return insertAt(parent ? parent->m_item : nullptr, -1, s, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const QString& s)
{
    return insertAt(parent ? parent->m_item : nullptr, 0, s, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const QString& s) { return InsertObject(sibling, s, nullptr); }

TTreeNode* TTreeNodes::InsertObject(TTreeNode* sibling, const QString& s, void* data)
{
    if (!sibling) return AddObject(nullptr, s, data);
    return insertAt(sibling->m_item->parent(), sibling->Index(), s, data);
}

void TTreeNodes::Delete(TTreeNode* node)
{
    if (node) node->Delete();
}

void TTreeNodes::Clear()
{
    while (m_tree->topLevelItemCount()) m_tree->deleteItem(m_tree->topLevelItem(m_tree->topLevelItemCount() - 1));
}

void TTreeNodes::BeginUpdate()
{
    if (m_updating++ == 0) m_tree->setUpdatesEnabled(false);
}

void TTreeNodes::EndUpdate()
{
    if (m_updating > 0 && --m_updating == 0) m_tree->setUpdatesEnabled(true);
}

// ---------------------------------------------------------------- view

TTreeView::TTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setIconSize(QSize(IconSize, IconSize));
    connect(this, &QTreeWidget::currentItemChanged, this, &TTreeView::currentChanged);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* i) { expanding(i, true); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* i) { expanding(i, false); });
    connect(this, &QTreeWidget::itemClicked, this, [this] {
        Application->Guard([&] {
            if (OnClick) OnClick(this);
        });
    });
}

TTreeView::~TTreeView()
{
    m_guard = true;
    disconnect(this, nullptr, this, nullptr);
}

TTreeNode* TTreeView::NodeOf(QTreeWidgetItem* item) const
{
    if (!item) return nullptr;
    auto it = m_map.find(item);
    return it == m_map.end() ? nullptr : it->second.get();
}

TTreeNode* TTreeView::Selected() const { return NodeOf(currentItem()); }

void TTreeView::SetSelected(TTreeNode* n)
{
    if (n)
        setCurrentItem(n->m_item);
    else
        setCurrentItem(nullptr);
}

TTreeNode* TTreeView::TopItem() const { return NodeOf(itemAt(0, 0)); }

TTreeNode* TTreeView::GetNodeAt(int X, int Y) const { return NodeOf(itemAt(X, Y)); }

void TTreeView::FullExpand()
{
    for (TTreeNode* n = m_nodes.GetFirstNode(); n; n = n->GetNext()) n->SetExpanded(true);
}

void TTreeView::FullCollapse()
{
    for (TTreeNode* n = m_nodes.GetFirstNode(); n; n = n->GetNext()) n->SetExpanded(false);
}

void TTreeView::SetImages(const QList<QIcon>& images)
{
    m_images = images;
    for (auto& [item, node] : m_map) node->updateIcons();
}

void TTreeView::SetStateImages(const QList<QIcon>& images)
{
    m_stateImages = images;
    setIconSize(images.isEmpty() ? QSize(IconSize, IconSize) : QSize(IconSize * 2 + 2, IconSize));
    for (auto& [item, node] : m_map) node->updateIcons();
}

void TTreeView::SetReadOnly(bool v)
{
    m_readOnly = v;
    setEditTriggers(v ? QAbstractItemView::NoEditTriggers : QAbstractItemView::EditKeyPressed);
}

void TTreeView::currentChanged(QTreeWidgetItem* cur, QTreeWidgetItem* prev)
{
    if (m_guard) return;
    TTreeNode* node = NodeOf(cur);
    TTreeNode* old = NodeOf(prev);
    if (prev && !old) prev = nullptr;   // deleted
    bool allow = true;
    Application->Guard([&] {
        if (OnChanging && node) OnChanging(this, node, allow);
    });
    if (!allow) {
        m_guard = true;
        setCurrentItem(prev);
        m_guard = false;
        return;
    }
    if (old) old->updateIcons();
    if (node) node->updateIcons();
    Application->Guard([&] {
        if (OnChange) OnChange(this, node);
    });
}

void TTreeView::expanding(QTreeWidgetItem* item, bool expand)
{
    if (m_guard) return;
    TTreeNode* node = NodeOf(item);
    if (!node) return;
    bool allow = true;
    Application->Guard([&] {
        auto& ev = expand ? OnExpanding : OnCollapsing;
        if (ev) ev(this, node, allow);
    });
    if (!allow) {
        m_guard = true;
        item->setExpanded(!expand);
        m_guard = false;
        return;
    }
    Application->Guard([&] {
        auto& ev = expand ? OnExpanded : OnCollapsed;
        if (ev) ev(this, node);
    });
}

void TTreeView::forget(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i) forget(item->child(i));
    if (OnDeletion)
        if (TTreeNode* n = NodeOf(item)) Application->Guard([&] { OnDeletion(this, n); });
    m_map.erase(item);
}

void TTreeView::deleteItem(QTreeWidgetItem* item)
{
    forget(item);
    delete item;
}

void TTreeView::focusInEvent(QFocusEvent* e)
{
    QTreeWidget::focusInEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason && OnEnter)
        Application->Guard([&] { OnEnter(this); });
}

void TTreeView::focusOutEvent(QFocusEvent* e)
{
    QTreeWidget::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason && OnExit)
        Application->Guard([&] { OnExit(this); });
}

void TTreeView::keyPressEvent(QKeyEvent* e)
{
    WORD key = VirtualKeyFromQt(e->key());
    QChar ch = KeyPressCharFromQt(e->key(), e->modifiers(), e->text());
    bool consumed = false;
    Application->Guard([&] {
        if (OnKeyDown) {
            OnKeyDown(this, key, ShiftStateFromQt(e->modifiers()));
            if (key == 0) { consumed = true; return; }
        }
        if (OnKeyPress && ch != QChar(0)) {
            OnKeyPress(this, ch);
            if (ch == QChar(0)) consumed = true;
        }
    });
    if (consumed) {
        e->accept();
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

void TTreeView::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTreeWidget::mouseDoubleClickEvent(e);
    Application->Guard([&] {
        if (OnDblClick) OnDblClick(this);
    });
}
