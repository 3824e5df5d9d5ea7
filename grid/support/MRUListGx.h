#pragma once
// Most-recently-used texts of an editor: the list, its settings and its
// filtering by a typed prefix. The drop-down that shows the filtered entries
// belongs to the editor.
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
