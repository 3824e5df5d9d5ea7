#include "MRUListGx.h"
#include "GxLibVCL.h"

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
