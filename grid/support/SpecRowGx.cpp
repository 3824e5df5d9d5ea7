#include "SpecRowGx.h"
#include <QWidget>

TSpecRowGx::TSpecRowGx(QObject* owner) : FOwner(owner)
{
    FValue = Variant::Null();
    DefaultFont(FFont);
    FFont.OnChange = [this] { FontChanged(); };
}

TSpecRowGx::~TSpecRowGx()
{
    FFont.OnChange = nullptr;
}

void TSpecRowGx::Changed()
{
    if (FUpdateCount == 0 && OnChanged)
        OnChanged(this);
}

void TSpecRowGx::BeginUpdate()
{
    ++FUpdateCount;
}

void TSpecRowGx::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    Changed();
}

void TSpecRowGx::SetCellsText(const QString& value)
{
    if (value == FCellsText)
        return;
    FCellsText = value;
    SplitCells();
    Changed();
}

void TSpecRowGx::SplitCells()
{
    FCellsStrings.clear();
    const QString& t = FCellsText;
    const int n = int(t.size());
    int i = 0;
    while (i < n && t[i].unicode() >= 1 && t[i].unicode() <= 32)
        ++i;
    while (i < n) {
        const int itemStart = i;
        QString item;
        if (t[i] == u'"') {
            ++i;
            while (i < n) {
                if (t[i] == u'"') {
                    if (i + 1 < n && t[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += t[i++];
            }
        } else {
            while (i < n && t[i].unicode() >= 32 && t[i] != u';')
                item += t[i++];
        }
        FCellsStrings.append(item);
        auto skipControls = [&] {
            while (i < n && t[i].unicode() >= 1 && t[i].unicode() <= 31)
                ++i;
        };
        skipControls();
        if (i < n && t[i] == u';') {
            ++i;
            skipControls();
        } else if (i == itemStart) {
            ++i;   // a NUL character: no item can start here
        }
    }
}

QString TSpecRowGx::CellTextAt(int index) const
{
    return index >= 0 && index < FCellsStrings.size() ? FCellsStrings[index] : QString();
}

TColor TSpecRowGx::Color() const
{
    return FColorAssigned ? FColor : DefaultColor();
}

void TSpecRowGx::SetColor(TColor value)
{
    if (FColorAssigned && value == FColor)
        return;
    FColor = value;
    FColorAssigned = true;
    Changed();
}

TFont* TSpecRowGx::Font()
{
    if (!FFontAssigned) {
        TFont def;
        DefaultFont(def);
        if (!(def == FFont)) {
            FRefreshingFont = true;
            FFont.Assign(def);
            FRefreshingFont = false;
        }
    }
    return &FFont;
}

void TSpecRowGx::SetFont(const TFont& value)
{
    FFont.Assign(value);
}

void TSpecRowGx::FontChanged()
{
    if (FRefreshingFont)
        return;
    FFontAssigned = true;
    Changed();
}

void TSpecRowGx::DefaultFont(TFont& out) const
{
    if (auto* w = qobject_cast<const QWidget*>(FOwner)) {
        TFont f;
        f.AssignQFont(w->font());
        out.Assign(f);
    } else if (&out != &FFont) {
        out.Assign(FFont);
    }
}

TColor TSpecRowGx::DefaultColor() const
{
    if (auto* w = qobject_cast<const QWidget*>(FOwner))
        return FromQColor(w->palette().color(w->backgroundRole()));
    return FColor;
}

void TSpecRowGx::SetShowIfNotInKeyList(bool value)
{
    if (value == FShowIfNotInKeyList)
        return;
    FShowIfNotInKeyList = value;
    Changed();
}

void TSpecRowGx::SetValue(const Variant& value)
{
    if (VariantsEqual(value, FValue))
        return;
    FValue = value;
    Changed();
}

void TSpecRowGx::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed();
}

bool TSpecRowGx::LocateKey(const Variant& keyValue) const
{
    return FVisible && VariantsEqual(FValue, keyValue);
}

void TSpecRowGx::Assign(const TSpecRowGx& source)
{
    BeginUpdate();
    SetCellsText(source.FCellsText);
    SetColor(source.Color());
    if (source.FFontAssigned)
        SetFont(source.FFont);
    FShortCut = source.FShortCut;
    SetShowIfNotInKeyList(source.FShowIfNotInKeyList);
    SetValue(source.FValue);
    SetVisible(source.FVisible);
    EndUpdate();
}
