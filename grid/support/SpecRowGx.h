#pragma once
// The special row of a lookup list: one fixed row above the data rows that
// stands for a key value not in the list (typically "no value"). The owner
// draws and selects the row; this object answers what to draw and whether a key
// belongs to it.
#include "ToolCtrlsGx.h"
#include "platform/gui/Graphics.h"
#include <QObject>
#include <QStringList>
#include <functional>

class TSpecRowGx {
public:
    explicit TSpecRowGx(QObject* owner = nullptr);
    virtual ~TSpecRowGx();
    TSpecRowGx(const TSpecRowGx&) = delete;
    TSpecRowGx& operator=(const TSpecRowGx&) = delete;

    QObject* Owner() const { return FOwner; }
    const QString& CellsText() const { return FCellsText; }
    void SetCellsText(const QString& value);
    const QStringList& CellsStrings() const { return FCellsStrings; }
    QString CellTextAt(int index) const;
    TColor Color() const;
    void SetColor(TColor value);
    bool ColorAssigned() const { return FColorAssigned; }
    TFont* Font();
    void SetFont(const TFont& value);
    bool FontAssigned() const { return FFontAssigned; }
    // Alt+Del by default.
    int ShortCut() const { return FShortCut; }
    void SetShortCut(int value) { FShortCut = value; }
    bool ShowIfNotInKeyList() const { return FShowIfNotInKeyList; }
    void SetShowIfNotInKeyList(bool value);
    const Variant& Value() const { return FValue; }
    void SetValue(const Variant& value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Selected() const { return FSelected; }
    void SetSelected(bool value) { FSelected = value; }
    int UpdateCount() const { return FUpdateCount; }

    std::function<void(TSpecRowGx*)> OnChanged;

    void BeginUpdate();
    void EndUpdate();
    bool LocateKey(const Variant& keyValue) const;
    void Assign(const TSpecRowGx& source);

    // The owner's font and colour, which the row follows until its own are set.
    virtual void DefaultFont(TFont& out) const;
    virtual TColor DefaultColor() const;

private:
    void Changed();
    void SplitCells();
    void FontChanged();

    QStringList FCellsStrings;
    QString FCellsText;
    TColor FColor = clWindow;
    TFont FFont;
    QObject* FOwner = nullptr;
    bool FSelected = false;
    int FShortCut = 0x8000 | 0x2E;    // Alt + Del
    bool FShowIfNotInKeyList = true;
    int FUpdateCount = 0;
    Variant FValue;
    bool FVisible = false;
    bool FColorAssigned = false;
    bool FFontAssigned = false;
    bool FRefreshingFont = false;
};
