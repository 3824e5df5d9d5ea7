#include "MRUListGx.h"
#include "GxLibVCL.h"
#include <QScrollBar>

std::function<bool()> TMRUListGx::KeyInQueue;

TMRUListGx::TMRUListGx(QObject* owner) : FOwner(owner) {}

void TMRUListGx::SetActive(bool value)
{
    if (FActive == value)
        return;
    FActive = value;
    if (OnActiveChanged)
        OnActiveChanged(this);
}

void TMRUListGx::SetLimit(int value)
{
    if (FLimit == value)
        return;
    FLimit = value;
    Trim();
}

void TMRUListGx::Trim()
{
    while (FItems.size() > qMax(0, FLimit))
        FItems.removeFirst();
}

void TMRUListGx::Assign(const TMRUListGx& source)
{
    SetActive(source.FActive);
    FItems = source.FItems;
    SetLimit(source.FLimit);
    Trim();
    FRows = source.FRows;
    FCaseSensitive = source.FCaseSensitive;
}

int TMRUListGx::IndexOf(const QString& s) const
{
    for (int i = 0; i < FItems.size(); ++i) {
        const bool same = FCaseSensitive ? FItems[i] == s : NlsCompareText(FItems[i], s) == 0;
        if (same)
            return i;
    }
    return -1;
}

void TMRUListGx::Add(const QString& s)
{
    if (s.trimmed().isEmpty())
        return;
    const int i = IndexOf(s);
    if (i >= 0) {
        FItems.move(i, FItems.size() - 1);
        return;
    }
    FItems.append(s);
    Trim();
}

bool TMRUListGx::FilterItemsTo(QStringList& filteredItems, const QString& maskText)
{
    filteredItems.clear();
    for (int i = 0; i < FItems.size(); ++i) {
        const QString head = FItems[i].left(maskText.size());
        bool accept = FCaseSensitive ? NlsCompareStr(head, maskText) == 0 : NlsCompareText(head, maskText) == 0;
        if (OnFilterItem)
            OnFilterItem(this, FItems[i], accept);
        if (accept)
            filteredItems.append(FItems[i]);
        if (i % 100 == 0 && FCancelIfKeyInQueue && KeyInQueue && KeyInQueue())
            return false;
    }
    return true;
}

void TMRUListGx::DropDown()
{
    if (OnSetDropDown)
        OnSetDropDown(this);
}

void TMRUListGx::CloseUp(bool accept)
{
    if (OnSetCloseUp)
        OnSetCloseUp(this, accept);
}

// ---------------------------------------------------------------------------
// TMRUListboxGx

namespace {
// A scroll bar that reports moves of its window.
class TMRUScrollBarGx : public QScrollBar {
public:
    using QScrollBar::QScrollBar;
    std::function<void()> OnMoved;

protected:
    void moveEvent(QMoveEvent* e) override
    {
        QScrollBar::moveEvent(e);
        if (OnMoved)
            OnMoved();
    }
};
} // namespace

TMRUListboxGx::TMRUListboxGx(QWidget* Owner) : TPopupListboxGx(Owner)
{
    SetOwnScrollBar(false);
    auto* bar = new TMRUScrollBarGx(Qt::Vertical, this);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->resize(ScrollBarExtent(), bar->height());
    bar->hide();
    // Scrolling the bar scrolls the list; a move the list did not make is undone.
    QObject::connect(bar, &QScrollBar::valueChanged, this, [this](int v) { SetTopIndex(v); });
    bar->OnMoved = [this] {
        if (FScrollBarLockMove)
            return;
        UpdateScrollBarPos();
        UpdateScrollBar();
    };
    FScrollBar = bar;
    UpdateScrollBar();
}

void TMRUListboxGx::UpdateScrollBarPos()
{
    if (!FScrollBar)
        return;
    const TRect client = ItemsRect();
    const int ext = ScrollBarExtent();
    const int grip = SizeGrip()->height();
    int top = client.Top;
    int bottom = client.Bottom;
    switch (SizeGrip()->Position()) {
    case sgpBottomRight: bottom -= grip; break;
    case sgpTopRight: top += grip; break;
    default: break;
    }
    FScrollBarLockMove = true;
    FScrollBar->setGeometry(client.Right - ext, top, ext, qMax(0, bottom - top));
    FScrollBarLockMove = false;
}

void TMRUListboxGx::UpdateScrollBar()
{
    if (!FScrollBar)
        return;
    UpdateScrollBarPos();
    const int rows = ItemsRect().Height() / qMax(1, ItemHeight() > 0 ? ItemHeight() : GetTextHeight());
    const bool leftGrip = SizeGrip()->Position() == sgpTopLeft || SizeGrip()->Position() == sgpBottomLeft;
    if (Count() > 0 && Count() > rows) {
        QSignalBlocker block(FScrollBar);
        FScrollBar->setRange(0, qMax(0, Count() - rows));
        FScrollBar->setPageStep(rows);
        FScrollBar->setValue(TopIndex());
        FScrollBar->show();
        // Beside the bar the grip fills its square.
        SizeGrip()->SetTriangleWindow(leftGrip);
    } else {
        FScrollBar->hide();
        SizeGrip()->SetTriangleWindow(true);
    }
}

void TMRUListboxGx::SizeGripChangePosition(TSizeGripChangePosition position)
{
    TPopupListboxGx::SizeGripChangePosition(position);
    UpdateScrollBar();
}
