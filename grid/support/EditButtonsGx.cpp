#include "EditButtonsGx.h"
#include <algorithm>

// ---------------------------------------------------------------------------
// TCustomActionGx

TCustomActionGx::~TCustomActionGx()
{
    for (TEditButtonActionLinkGx* link : std::vector<TEditButtonActionLinkGx*>(FLinks))
        link->FAction = nullptr;
}

void TCustomActionGx::Changed()
{
    for (TEditButtonActionLinkGx* link : std::vector<TEditButtonActionLinkGx*>(FLinks))
        link->ActionChanged();
}

bool TCustomActionGx::Execute(QObject* target)
{
    if (!OnExecute)
        return false;
    OnExecute(this, target);
    return true;
}

bool TCustomActionGx::Update()
{
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

// ---------------------------------------------------------------------------
// TEditButtonActionLinkGx

TEditButtonActionLinkGx::~TEditButtonActionLinkGx()
{
    SetAction(nullptr);
}

void TEditButtonActionLinkGx::SetAction(TCustomActionGx* action)
{
    if (action == FAction)
        return;
    if (FAction)
        std::erase(FAction->FLinks, this);
    FAction = action;
    if (FAction)
        FAction->FLinks.push_back(this);
}

void TEditButtonActionLinkGx::ActionChanged()
{
    if (FAction)
        FClient->ActionChange(FAction, false);
}

bool TEditButtonActionLinkGx::IsEnabledLinked() const { return FAction && FClient->Enabled() == FAction->Enabled(); }
bool TEditButtonActionLinkGx::IsHintLinked() const { return FAction && FClient->Hint() == FAction->Hint(); }
bool TEditButtonActionLinkGx::IsShortCutLinked() const { return FAction && FClient->ShortCut() == FAction->ShortCut(); }
bool TEditButtonActionLinkGx::IsVisibleLinked() const { return FAction && FClient->Visible() == FAction->Visible(); }

// ---------------------------------------------------------------------------
// TEditButtonGx

TEditButtonGx::TEditButtonGx(QWidget* editControl) : FEditControl(editControl)
{
    FGlyph.SetTransparent(true);
}

TEditButtonGx::TEditButtonGx(TEditButtonsGx* collection) : FCollection(collection)
{
    FGlyph.SetTransparent(true);
    if (collection)
        collection->FItems.push_back(this);
}

TEditButtonGx::~TEditButtonGx()
{
    FActionLink.reset();
    if (FCollection)
        FCollection->Remove(this);
}

void TEditButtonGx::Changed()
{
    if (OnChanged)
        OnChanged(this);
    else if (FCollection)
        FCollection->Update(this);
}

void TEditButtonGx::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Changed();
}

void TEditButtonGx::SetGlyph(const TBitmap& value)
{
    FGlyph.Assign(value);
    Changed();
}

void TEditButtonGx::SetHint(const QString& value)
{
    if (value == FHint)
        return;
    FHint = value;
    Changed();
}

void TEditButtonGx::SetNumGlyphs(int value)
{
    value = qBound(1, value, 4);
    if (value == FNumGlyphs)
        return;
    FNumGlyphs = value;
    Changed();
}

void TEditButtonGx::SetStyle(TEditButtonStyleGx value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TEditButtonGx::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed();
}

void TEditButtonGx::SetWidth(int value)
{
    if (value == FWidth)
        return;
    FWidth = value;
    Changed();
}

TCustomActionGx* TEditButtonGx::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TEditButtonGx::SetAction(TCustomActionGx* value)
{
    if (!value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = std::make_unique<TEditButtonActionLinkGx>(this);
    FActionLink->SetAction(value);
    ActionChange(value, value->Loading());
}

void TEditButtonGx::ActionChange(TCustomActionGx* action, bool checkDefaults)
{
    if (!action)
        return;
    if (!checkDefaults || FEnabled)
        SetEnabled(action->Enabled());
    if (!checkDefaults || FHint.isEmpty())
        SetHint(action->Hint());
    if (!checkDefaults || FShortCut == 0)
        SetShortCut(action->ShortCut());
    if (!checkDefaults || FVisible)
        SetVisible(action->Visible());
}

bool TEditButtonGx::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TEditButtonGx::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TEditButtonGx::IsShortCutStored() const { return !FActionLink || !FActionLink->IsShortCutLinked(); }
bool TEditButtonGx::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }

void TEditButtonGx::Assign(const TEditButtonGx& source)
{
    SetAction(source.Action());
    FDropdownMenu = source.FDropdownMenu;
    SetEnabled(source.FEnabled);
    FGlyph.Assign(source.FGlyph);
    SetHint(source.FHint);
    SetNumGlyphs(source.FNumGlyphs);
    FShortCut = source.FShortCut;
    SetStyle(source.FStyle);
    SetVisible(source.FVisible);
    SetWidth(source.FWidth);
    OnClick = source.OnClick;
    OnDown = source.OnDown;
    Changed();
}

TEditButtonControlGx* TEditButtonGx::CreateEditButtonControl()
{
    auto* control = new TEditButtonControlGx(FEditControl);
    control->resize(10, 17);
    control->setAutoFillBackground(false);
    control->setVisible(true);
    return control;
}

void TEditButtonGx::Click(QObject* sender, bool& handled)
{
    if (OnClick) {
        OnClick(sender, handled);
        return;
    }
    if (FActionLink && FActionLink->Action()) {
        QObject* target = FEditControl;
        if (!target && FCollection)
            target = FCollection->Owner();
        FActionLink->Execute(target);
        handled = true;
    }
}

void TEditButtonGx::InitiateAction()
{
    if (FActionLink)
        FActionLink->Update();
}

// ---------------------------------------------------------------------------
// TEditButtonsGx

TEditButtonsGx::TEditButtonsGx(QObject* owner, TItemFactory editButtonClass)
    : FOwner(owner), FItemClass(std::move(editButtonClass))
{
    if (!FItemClass)
        FItemClass = ItemClass<TEditButtonGx>();
}

TEditButtonsGx::~TEditButtonsGx()
{
    OnChanged = nullptr;
    Clear();
}

TEditButtonGx* TEditButtonsGx::Add()
{
    TEditButtonGx* item = FItemClass(this);
    Update(nullptr);
    return item;
}

void TEditButtonsGx::Clear()
{
    FClearing = true;
    while (!FItems.empty())
        delete FItems.back();
    FClearing = false;
    Update(nullptr);
}

void TEditButtonsGx::Remove(TEditButtonGx* item)
{
    std::erase(FItems, item);
    item->FCollection = nullptr;
    if (!FClearing)
        Update(nullptr);
}

void TEditButtonsGx::Update(TEditButtonGx* item)
{
    if (OnChanged)
        OnChanged(item);
}
