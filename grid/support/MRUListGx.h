#pragma once
// Most-recently-used texts of an editor: the list, its settings and its
// filtering by a typed prefix, and the drop-down list box that shows the
// filtered entries (the editor opens, refilters and closes it).
#include "PopupListboxGx.h"
#include <QObject>
#include <QStringList>
#include <functional>

class TMRUListGx {
public:
    explicit TMRUListGx(QObject* owner = nullptr);

    bool Active() const { return FActive; }
    void SetActive(bool value);
    bool AutoAdd() const { return FAutoAdd; }
    void SetAutoAdd(bool value) { FAutoAdd = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value) { FCaseSensitive = value; }
    const QStringList& Items() const { return FItems; }
    void SetItems(const QStringList& items) { FItems = items; }
    int Limit() const { return FLimit; }
    void SetLimit(int value);
    int Rows() const { return FRows; }
    void SetRows(int value) { FRows = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
    bool DroppedDown() const { return FDroppedDown; }
    void SetDroppedDown(bool value) { FDroppedDown = value; }
    bool CancelIfKeyInQueue() const { return FCancelIfKeyInQueue; }
    void SetCancelIfKeyInQueue(bool value) { FCancelIfKeyInQueue = value; }
    QObject* Owner() const { return FOwner; }

    std::function<void(TMRUListGx*)> OnActiveChanged;
    std::function<void(TMRUListGx*, const QString& item, bool& accept)> OnFilterItem;
    std::function<void(TMRUListGx*, bool accept)> OnSetCloseUp;
    std::function<void(TMRUListGx*)> OnSetDropDown;

    // Answers whether a key press waits to be handled; filtering a long list
    // stops then. The editor's window layer installs it.
    static std::function<bool()> KeyInQueue;

    void Assign(const TMRUListGx& source);
    void Add(const QString& s);
    bool FilterItemsTo(QStringList& filteredItems, const QString& maskText);
    void DropDown();
    void CloseUp(bool accept);

private:
    void Trim();
    int IndexOf(const QString& s) const;

    bool FActive = false;
    bool FAutoAdd = true;
    bool FCaseSensitive = false;
    QStringList FItems;      // oldest first
    int FLimit = 100;
    QObject* FOwner = nullptr;
    int FRows = 7;
    int FWidth = 0;
    bool FCancelIfKeyInQueue = true;
    bool FDroppedDown = false;
};

class QScrollBar;

// The drop-down of a most-recently-used list: a drop-down list box with a scroll
// bar of its own at its right edge that leaves room for the size grip.
class TMRUListboxGx : public TPopupListboxGx {
public:
    explicit TMRUListboxGx(QWidget* Owner);

    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool value) { FParentCtl3D = value; }
    QScrollBar* ScrollBar() const { return FScrollBar; }
    bool Sorted() const { return Items()->Sorted(); }
    void SetSorted(bool value) { Items()->SetSorted(value); }

    // Puts the scroll bar at the right edge beside the grip.
    void UpdateScrollBarPos();
    // Range, page and position of the scroll bar, and whether it shows.
    void UpdateScrollBar() override;
    void SizeGripChangePosition(TSizeGripChangePosition position) override;

private:
    QScrollBar* FScrollBar = nullptr;
    bool FScrollBarLockMove = false;
    bool FParentCtl3D = true;
};
