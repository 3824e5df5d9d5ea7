#pragma once
// Settings of an editor's edit buttons: one main button per editor and any
// number of extra buttons in a collection. The editor turns each settings object
// into a visible button control.
#include "EditButtonControlGx.h"
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class TEditButtonGx;
class TEditButtonActionLinkGx;
class TEditButtonsGx;

using TShortCut = int;
using TButtonClickEventGx = std::function<void(QObject* sender, bool& handled)>;

// An action a button can be linked to: its enabled state, hint, shortcut and
// visibility follow the action, and a click without handler executes it.
class TCustomActionGx {
public:
    virtual ~TCustomActionGx();
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; Changed(); }
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& v) { FHint = v; Changed(); }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v) { FShortCut = v; Changed(); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; Changed(); }
    // While the action is being loaded, assigning it to a button keeps the
    // button's own non-default values.
    bool Loading() const { return FLoading; }
    void SetLoading(bool v) { FLoading = v; }
    std::function<void(TCustomActionGx*, QObject* target)> OnExecute;
    std::function<void(TCustomActionGx*)> OnUpdate;
    bool Execute(QObject* target);
    bool Update();

private:
    friend class TEditButtonActionLinkGx;
    void Changed();
    bool FEnabled = true;
    QString FHint;
    TShortCut FShortCut = 0;
    bool FVisible = true;
    bool FLoading = false;
    std::vector<TEditButtonActionLinkGx*> FLinks;
};

class TEditButtonActionLinkGx {
public:
    explicit TEditButtonActionLinkGx(TEditButtonGx* client) : FClient(client) {}
    ~TEditButtonActionLinkGx();
    TCustomActionGx* Action() const { return FAction; }
    void SetAction(TCustomActionGx* action);
    TEditButtonGx* Client() const { return FClient; }
    bool IsEnabledLinked() const;
    bool IsHintLinked() const;
    bool IsShortCutLinked() const;
    bool IsVisibleLinked() const;
    void Update() { if (FAction) FAction->Update(); }
    bool Execute(QObject* target) { return FAction && FAction->Execute(target); }
private:
    friend class TCustomActionGx;
    void ActionChanged();
    TEditButtonGx* FClient;
    TCustomActionGx* FAction = nullptr;
};

class TEditButtonGx {
public:
    // The main button of an editor (no collection).
    explicit TEditButtonGx(QWidget* editControl);
    // An extra button of a collection.
    explicit TEditButtonGx(TEditButtonsGx* collection);
    virtual ~TEditButtonGx();
    TEditButtonGx(const TEditButtonGx&) = delete;
    TEditButtonGx& operator=(const TEditButtonGx&) = delete;

    TCustomActionGx* Action() const;
    void SetAction(TCustomActionGx* value);
    QMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(QMenu* value) { FDropdownMenu = value; }
    QWidget* EditControl() const { return FEditControl; }
    TEditButtonsGx* Collection() const { return FCollection; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TBitmap* Glyph() { return &FGlyph; }
    void SetGlyph(const TBitmap& value);
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value) { FShortCut = value; }
    TEditButtonStyleGx Style() const { return FStyle; }
    void SetStyle(TEditButtonStyleGx value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int Width() const { return FWidth; }
    void SetWidth(int value);

    TButtonClickEventGx OnClick;
    TButtonDownEventGx OnDown;
    std::function<void(TEditButtonGx*)> OnChanged;

    // Whether a property is stored (not when the action supplies it).
    bool IsEnabledStored() const;
    bool IsHintStored() const;
    bool IsShortCutStored() const;
    bool IsVisibleStored() const;

    void Assign(const TEditButtonGx& source);
    virtual TEditButtonControlGx* CreateEditButtonControl();
    virtual void Click(QObject* sender, bool& handled);
    virtual void InitiateAction();

protected:
    void Changed();
    // Defaults of descendants, set without a change report.
    void SetDefaults(TShortCut shortCut, bool visible) { FShortCut = shortCut; FVisible = visible; }
    void ActionChange(TCustomActionGx* action, bool checkDefaults);

private:
    friend class TEditButtonActionLinkGx;
    friend class TEditButtonsGx;
    std::unique_ptr<TEditButtonActionLinkGx> FActionLink;
    QMenu* FDropdownMenu = nullptr;
    QWidget* FEditControl = nullptr;
    TEditButtonsGx* FCollection = nullptr;
    bool FEnabled = true;
    TBitmap FGlyph;
    QString FHint;
    int FNumGlyphs = 1;
    TShortCut FShortCut = 0;
    TEditButtonStyleGx FStyle = ebsDropDownGx;
    bool FVisible = false;
    int FWidth = 0;
};

constexpr TShortCut kAltDownShortCut = 32808;   // Alt + Down

class TDropDownEditButtonGx : public TEditButtonGx {
public:
    explicit TDropDownEditButtonGx(QWidget* editControl) : TEditButtonGx(editControl) { SetDefaults(kAltDownShortCut, false); }
    explicit TDropDownEditButtonGx(TEditButtonsGx* collection) : TEditButtonGx(collection) { SetDefaults(kAltDownShortCut, false); }
};

class TVisibleEditButtonGx : public TEditButtonGx {
public:
    explicit TVisibleEditButtonGx(QWidget* editControl) : TEditButtonGx(editControl) { SetDefaults(kAltDownShortCut, true); }
    explicit TVisibleEditButtonGx(TEditButtonsGx* collection) : TEditButtonGx(collection) { SetDefaults(kAltDownShortCut, true); }
};

class TEditButtonsGx {
public:
    using TItemFactory = std::function<TEditButtonGx*(TEditButtonsGx*)>;
    template <class T> static TItemFactory ItemClass() { return [](TEditButtonsGx* c) { return new T(c); }; }

    TEditButtonsGx(QObject* owner, TItemFactory editButtonClass);
    ~TEditButtonsGx();
    TEditButtonsGx(const TEditButtonsGx&) = delete;
    TEditButtonsGx& operator=(const TEditButtonsGx&) = delete;

    QObject* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TEditButtonGx* Add();
    TEditButtonGx* ButtonAt(int index) const { return FItems[size_t(index)]; }
    void Clear();
    std::function<void(TEditButtonGx* item)> OnChanged;   // nil: the whole collection changed

private:
    friend class TEditButtonGx;
    void Update(TEditButtonGx* item);
    void Remove(TEditButtonGx* item);
    QObject* FOwner;
    TItemFactory FItemClass;
    std::vector<TEditButtonGx*> FItems;
    bool FClearing = false;
};
