#include "DBSumLst.h"
#include "GxLibVCL.h"
#include <cmath>

namespace {

// Adds a floating-point value to a Currency as the footer arithmetic does: the sum
// is rounded to four decimals (ties to even) at every addition.
Currency AddFloat(Currency c, double v)
{
    const double raw = std::nearbyint(double(c.Raw()) + v * double(Currency::Scale));
    if (!(raw > -9.2e18 && raw < 9.2e18))
        throw EOverflow(QStringLiteral("Floating point overflow"));
    return Currency::FromRaw(qint64(raw));
}

// new raw value = round(old + value - captured), one rounding.
Currency AddFloatLess(Currency c, double v, Currency less)
{
    return AddFloat(Currency::FromRaw(c.Raw() - less.Raw()), v);
}

Currency Average(Currency sum, int count)
{
    if (count == 0)
        return Currency();
    return Currency::FromRaw(qint64(std::nearbyint(double(sum.Raw()) / count)));
}

const Currency kOne = Currency::FromRaw(Currency::Scale);

} // namespace

// ---------------------------------------------------------------------------
// TDBSum

TDBSum::TDBSum(TDBSumCollection* collection)
{
    VarValue = Variant::Null();
    if (collection)
        collection->Insert(this);
}

TDBSum::~TDBSum()
{
    if (FCollection)
        FCollection->Remove(this);
}

void TDBSum::SetFieldName(const QString& value)
{
    if (value == FFieldName)
        return;
    FFieldName = value;
    Changed();
}

void TDBSum::SetGroupOperation(TGroupOperation value)
{
    if (value == FGroupOperation)
        return;
    FGroupOperation = value;
    Changed();
}

void TDBSum::Assign(const TDBSum& source)
{
    FGroupOperation = source.FGroupOperation;
    FFieldName = source.FFieldName;
    Value = source.Value;
    SumValue = source.SumValue;
    Changed();
}

void TDBSum::Changed()
{
    if (FCollection)
        FCollection->Update(this);
}

// ---------------------------------------------------------------------------
// TDBSumCollection

TDBSumCollection::TDBSumCollection(TDBSumListProducer* owner) : FOwner(owner) {}

TDBSumCollection::~TDBSumCollection()
{
    FOwner = nullptr;
    Clear();
}

TDBSum* TDBSumCollection::Add()
{
    return new TDBSum(this);
}

void TDBSumCollection::Insert(TDBSum* item)
{
    item->FCollection = this;
    FItems.push_back(item);
    Update(nullptr);
}

void TDBSumCollection::Remove(TDBSum* item)
{
    std::erase(FItems, item);
    item->FCollection = nullptr;
    Update(nullptr);
}

void TDBSumCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

void TDBSumCollection::Assign(const TDBSumCollection& source)
{
    BeginUpdate();
    try {
        Clear();
        for (const TDBSum* item : source.FItems)
            Add()->Assign(*item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TDBSumCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Update(nullptr);
}

void TDBSumCollection::Update(TDBSum*)
{
    if (FUpdateCount == 0 && FOwner)
        FOwner->SumItemsChanged();
}

TDBSum* TDBSumCollection::GetSumByOpAndFName(TGroupOperation operation, const QString& fieldName) const
{
    for (TDBSum* item : FItems)
        if (item->GroupOperation() == operation && NlsCompareText(item->FieldName(), fieldName) == 0)
            return item;
    return nullptr;
}

// ---------------------------------------------------------------------------
// TSLBookmarkListGx

TDataSet* TSLBookmarkListGx::GetDataSet() const
{
    return FProducer->DataSet();
}

// ---------------------------------------------------------------------------
// Event hooks. The dataset has one handler slot per event; the producer puts its
// own handler there and keeps the one it found, calling it in turn. A hook that
// is unhooked while another handler has been chained after it stays in that chain
// as a plain pass-through to the handler it had found, so that nothing ever calls
// into a producer that is gone and no later handler is thrown away.

struct TDBSumListProducer::HookLink {
    TDBSumListProducer* producer;
    HookedEvent event;
    TDataSetEvent saved;
};

struct TDBSumListProducer::Hook {
    std::shared_ptr<HookLink> link;
    void operator()(TDataSet* dataSet) const
    {
        // The slot holding this hook may be reassigned while it runs: keep the link.
        const std::shared_ptr<HookLink> keep = link;
        if (keep->producer) {
            keep->producer->Dispatch(keep->event, dataSet);
        } else if (keep->saved) {
            const TDataSetEvent saved = keep->saved;
            saved(dataSet);
        }
    }
};

TDBSumListProducer::TDataSetEvent& TDBSumListProducer::Slot(HookedEvent event)
{
    switch (event) {
    case heAfterEdit: return FDataSet->AfterEdit;
    case heAfterInsert: return FDataSet->AfterInsert;
    case heAfterOpen: return FDataSet->AfterOpen;
    case heAfterPost: return FDataSet->AfterPost;
    case heAfterScroll: return FDataSet->AfterScroll;
    case heBeforeDelete: return FDataSet->BeforeDelete;
    case heAfterClose: return FDataSet->AfterClose;
    case heAfterCancel: return FDataSet->AfterCancel;
    default: return FMasterDataset->AfterScroll;
    }
}

void TDBSumListProducer::Install(HookedEvent event)
{
    TDataSetEvent& slot = Slot(event);
    auto link = std::make_shared<HookLink>(HookLink{this, event, slot});
    slot = Hook{link};
    FHooks[event] = link;
}

void TDBSumListProducer::Uninstall(HookedEvent event)
{
    const std::shared_ptr<HookLink> link = FHooks[event];
    if (!link)
        return;
    FHooks[event].reset();
    link->producer = nullptr;
    // Splice the hook out of the chain where it can be found; otherwise it stays
    // behind as a pass-through.
    TDataSetEvent* current = &Slot(event);
    while (current && *current) {
        Hook* hook = current->target<Hook>();
        if (!hook)
            break;
        if (hook->link == link) {
            *current = link->saved;
            break;
        }
        current = &hook->link->saved;
    }
}

void TDBSumListProducer::CallSaved(HookedEvent event, TDataSet* dataSet)
{
    const std::shared_ptr<HookLink> link = FHooks[event];
    if (link && link->saved) {
        const TDataSetEvent saved = link->saved;
        saved(dataSet);
    }
}

void TDBSumListProducer::Dispatch(HookedEvent event, TDataSet* dataSet)
{
    switch (event) {
    case heAfterEdit: DataSetAfterEdit(dataSet); break;
    case heAfterInsert: DataSetAfterInsert(dataSet); break;
    case heAfterOpen: DataSetAfterOpen(dataSet); break;
    case heAfterPost: DataSetAfterPost(dataSet); break;
    case heAfterScroll: DataSetAfterScroll(dataSet); break;
    case heBeforeDelete: DataSetBeforeDelete(dataSet); break;
    case heAfterClose: DataSetAfterClose(dataSet); break;
    case heAfterCancel: DataSetAfterCancel(dataSet); break;
    default: MasterDataSetAfterScroll(dataSet); break;
    }
}

// ---------------------------------------------------------------------------
// TDBSumListProducer

TDBSumListProducer::TDBSumListProducer(QObject* owner)
    : FOwner(owner),
      FSumCollection(std::make_unique<TDBSumCollection>(this)),
      FVirtualRecList(std::make_unique<TSLBookmarkListGx>(this))
{
}

TDBSumListProducer::~TDBSumListProducer()
{
    // The events are handed back whatever the owner's state: a hook left behind
    // would call into a freed producer.
    FDestroying = true;
    FActive = false;
    UnhookDataSetEvents();
    TDataSet* const dataSet = FDataSet;
    FDataSet = nullptr;
    Watch(dataSet, nullptr);
}

// The producer learns when a dataset it points at is freed.
void TDBSumListProducer::Watch(TDataSet* old, TDataSet* now)
{
    if (old == now)
        return;
    if (old && old != FDataSet && old != FMasterDataset)
        old->RemoveFreeNotification(this);
    if (now)
        now->AddFreeNotification(this, [this](TDataSet* dataSet) { DataSetFreed(dataSet); });
}

void TDBSumListProducer::DataSetFreed(TDataSet* dataSet)
{
    // The event slots go with the dataset: the hooks are only cut loose, never spliced out.
    for (int e = heAfterEdit; e < heCount; ++e) {
        const bool onIt = e == heMasterAfterScroll ? dataSet == FMasterDataset : dataSet == FDataSet;
        if (onIt && FHooks[e]) {
            FHooks[e]->producer = nullptr;
            FHooks[e].reset();
        }
    }
    if (dataSet == FMasterDataset)
        FMasterDataset = nullptr;
    if (dataSet != FDataSet)
        return;
    if (FMasterDataset && FHooks[heMasterAfterScroll])
        Uninstall(heMasterAfterScroll);   // the master stays: its slot is handed back
    TDataSet* const master = FMasterDataset;
    FMasterDataset = nullptr;
    Watch(master, nullptr);
    FDataSet = nullptr;
    FEventsOverloaded = false;
    FVirtualRecList->Clear();
    if (!FDestroying)
        ClearSumValues();
}

void TDBSumListProducer::SumItemsChanged()
{
    if (!FDestroying && !OwnerLoading() && !OwnerDestroying())
        RecalcAll();
}

bool TDBSumListProducer::DataSetIsSequenced() const
{
    return FDataSet && FDataSet->IsSequenced();
}

bool TDBSumListProducer::VirtualMode()
{
    return FDataSet && !DataSetIsSequenced() && FVirtualRecords;
}

void TDBSumListProducer::SetActive(bool value)
{
    if (value == FActive)
        return;
    if (value)
        Activate(true);
    else
        Deactivate(true);
}

void TDBSumListProducer::Activate(bool recalcAll)
{
    FActive = true;
    if (Suspended())
        return;
    SetDataSetEvents();
    if (recalcAll)
        RecalcAll();
}

void TDBSumListProducer::Deactivate(bool clearSumValues)
{
    FActive = false;
    if (Suspended())
        return;
    UnhookDataSetEvents();
    if (clearSumValues)
        ClearSumValues();
}

void TDBSumListProducer::ActivateAfterLoad()
{
    if (FDataSet && FActive)
        Activate(true);
}

void TDBSumListProducer::SetDataSet(TDataSet* value)
{
    if (value == FDataSet)
        return;
    TDataSet* const old = FDataSet;
    if (Suspended()) {
        FDataSet = value;
        Watch(old, value);
        return;
    }
    const bool wasActive = FActive;
    Deactivate(true);
    FDataSet = value;
    Watch(old, value);
    if (wasActive)
        Activate(true);
}

void TDBSumListProducer::SetExternalRecalc(bool value)
{
    if (value == FExternalRecalc)
        return;
    FExternalRecalc = value;
    RecalcAll();
}

void TDBSumListProducer::SetVirtualRecords(bool value)
{
    if (value == FVirtualRecords)
        return;
    FVirtualRecords = value;
    if (value)
        RecalcAll();
}

void TDBSumListProducer::Assign(const TDBSumListProducer& source)
{
    SetActive(source.FActive);
    SetDataSet(source.FDataSet);
    SetExternalRecalc(source.FExternalRecalc);
    FSumCollection->Assign(*source.FSumCollection);
    SumListChanged = source.SumListChanged;
    SetVirtualRecords(source.FVirtualRecords);
    OnAfterRecalcAll = source.OnAfterRecalcAll;
    OnRecalcAll = source.OnRecalcAll;
}

void TDBSumListProducer::NotifyChanged()
{
    if (SumListChanged)
        SumListChanged(this);
}

void TDBSumListProducer::ClearSumValues()
{
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* item = FSumCollection->Items(i);
        item->SumValue = Currency();
        item->Value = Currency();
        item->FSumValueAsSum = Currency();
        item->FNotNullRecordCount = 0;
    }
    NotifyChanged();
}

int TDBSumListProducer::RecordCount()
{
    if (!FDataSet)
        return 0;
    if (VirtualMode() && FActive)
        return FVirtualRecList->Count();
    return FDataSet->RecordCount();
}

bool TDBSumListProducer::IsSequenced()
{
    if (!FDataSet)
        return false;
    if (DataSetIsSequenced())
        return true;
    if (!FVirtualRecords || !FActive)
        return false;
    return FVirtualRecList->Count() > 0 || (FDataSet->Bof() && FDataSet->Eof());
}

int TDBSumListProducer::GetRecNo()
{
    if (!FDataSet)
        return -1;
    if (VirtualMode() && FActive)
        return BookmarkToRecNo(FDataSet->GetBookmark()) + 1;
    return FDataSet->RecNo();
}

void TDBSumListProducer::SetRecNo(int value)
{
    if (!FDataSet)
        return;
    if (VirtualMode() && FActive) {
        if (value >= 1 && value <= FVirtualRecList->Count())
            FDataSet->GotoBookmark(FVirtualRecList->GetItem(value - 1));
    } else {
        FDataSet->SetRecNo(value);
    }
}

int TDBSumListProducer::BookmarkToRecNo(const TBookmark& bookmark)
{
    const int count = FVirtualRecList->Count();
    if (count == 0 || bookmark.IsEmpty())
        return -1;
    int i = (FOldRecNo < 0 || FOldRecNo >= count) ? 0 : FOldRecNo;
    int direction = 0;   // the walk turns back only when the bookmark is missing
    while (i >= 0 && i < count) {
        const int c = DataSetCompareBookmarks(FDataSet, FVirtualRecList->GetItem(i), bookmark);
        if (c == 0) {
            FOldRecNo = i;
            return i;
        }
        const int step = c > 0 ? -1 : 1;
        if (direction != 0 && step != direction)
            return -1;
        direction = step;
        i += step;
    }
    return -1;
}

void TDBSumListProducer::SetDataSetEvents()
{
    if (!FDataSet || FEventsOverloaded)
        return;
    FMasterDataset = GetDataSetFromDataSourceProp(FDataSet, QStringLiteral("MasterSource"));
    Watch(nullptr, FMasterDataset);
    for (int e = heAfterEdit; e <= heAfterCancel; ++e)
        Install(HookedEvent(e));
    if (FMasterDataset)
        Install(heMasterAfterScroll);
    FEventsOverloaded = true;
}

void TDBSumListProducer::UnhookDataSetEvents()
{
    if (!FEventsOverloaded)
        return;
    for (int e = heAfterEdit; e < heCount; ++e)
        if (FHooks[e] && (e != heMasterAfterScroll || FMasterDataset))
            Uninstall(HookedEvent(e));
    TDataSet* const master = FMasterDataset;
    FMasterDataset = nullptr;
    Watch(master, nullptr);
    FEventsOverloaded = false;
    FVirtualRecList->Clear();
}

void TDBSumListProducer::RememberFilter()
{
    FFiltered = FDataSet->Filtered();
    FFilter = FDataSet->Filter();
}

void TDBSumListProducer::RecalcAll()
{
    if (Suspended() || !FActive || !FDataSet || !FDataSet->Active() || !FEventsOverloaded)
        return;
    ClearSumValues();
    FOldRecNo = -1;
    if (OnRecalcAll)
        OnRecalcAll(this);

    bool controlsDisabled = false;
    TBookmark remembered;
    auto leave = [&] {
        RememberFilter();
        FChanging = false;
        NotifyChanged();
    };
    try {
        if (FExternalRecalc) {
            leave();
            return;
        }
        bool needPass = VirtualMode();
        for (int i = 0; i < FSumCollection->Count() && !needPass; ++i)
            needPass = FSumCollection->Items(i)->Counts();
        if (needPass) {
            std::vector<TField*> fields(size_t(FSumCollection->Count()), nullptr);
            for (int i = 0; i < FSumCollection->Count(); ++i) {
                const TDBSum* item = FSumCollection->Items(i);
                if (!item->FieldName().isEmpty())
                    fields[size_t(i)] = FDataSet->FieldByName(item->FieldName());
            }
            remembered = FDataSet->GetBookmark();
            FDataSet->DisableControls();
            controlsDisabled = true;
            FVirtualRecList->Clear();
            FChanging = true;
            const bool virtualMode = VirtualMode();

            FDataSet->First();
            while (!FDataSet->Eof()) {
                for (int i = 0; i < FSumCollection->Count(); ++i) {
                    TDBSum* item = FSumCollection->Items(i);
                    TField* field = fields[size_t(i)];
                    switch (item->GroupOperation()) {
                    case goSum:
                        if (field && !field->IsNull())
                            item->SumValue = AddFloat(item->SumValue, field->AsFloat());
                        break;
                    case goAvg:
                        if (field) {
                            if (!field->IsNull())
                                ++item->FNotNullRecordCount;
                            item->FSumValueAsSum = AddFloat(item->FSumValueAsSum, field->IsNull() ? 0.0 : field->AsFloat());
                        }
                        break;
                    case goCount:
                        if (!field || !field->IsNull())
                            item->SumValue += kOne;
                        break;
                    }
                }
                if (virtualMode)
                    FVirtualRecList->AppendItem(FDataSet->GetBookmark());
                FDataSet->Next();
            }

            if (!remembered.IsEmpty())
                FDataSet->GotoBookmark(remembered);
            else
                FDataSet->First();
            for (int i = 0; i < FSumCollection->Count(); ++i) {
                TDBSum* item = FSumCollection->Items(i);
                if (item->GroupOperation() == goAvg)
                    item->SumValue = Average(item->FSumValueAsSum, item->FNotNullRecordCount);
            }
            controlsDisabled = false;
            FDataSet->EnableControls();
        }
        if (OnAfterRecalcAll)
            OnAfterRecalcAll(this);
    } catch (...) {
        // A failed pass must not leave every control of the dataset frozen: give
        // the controls back and return to the record the pass started from.
        if (controlsDisabled) {
            try {
                if (!remembered.IsEmpty() && FDataSet->BookmarkValid(remembered))
                    FDataSet->GotoBookmark(remembered);
            } catch (...) {
            }
            FDataSet->EnableControls();
        }
        leave();
        throw;
    }
    leave();
}

void TDBSumListProducer::CaptureValues()
{
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* item = FSumCollection->Items(i);
        if (!item->Counts())
            continue;
        if (item->GroupOperation() == goCount) {
            item->Value = kOne;
            if (!item->FieldName().isEmpty() && FDataSet->FieldByName(item->FieldName())->IsNull())
                item->Value = Currency();
        } else {
            TField* field = FDataSet->FieldByName(item->FieldName());
            item->VarValue = field->Value();
            item->Value = field->IsNull() ? Currency() : AddFloat(Currency(), field->AsFloat());
        }
    }
}

void TDBSumListProducer::DataSetAfterEdit(TDataSet* dataSet)
{
    if (FActive)
        CaptureValues();
    CallSaved(heAfterEdit, dataSet);
}

void TDBSumListProducer::DataSetAfterInsert(TDataSet* dataSet)
{
    if (FActive) {
        for (int i = 0; i < FSumCollection->Count(); ++i) {
            TDBSum* item = FSumCollection->Items(i);
            if (!item->Counts())
                continue;
            item->Value = Currency();
            if (item->GroupOperation() != goCount)
                item->VarValue = Variant::Null();
        }
        if (VirtualMode()) {
            const TBookmark bookmark = FDataSet->GetBookmark();
            if (bookmark.IsEmpty())
                FTryedInsert = true;
            else
                FVirtualRecList->AppendItem(bookmark);
        }
    }
    CallSaved(heAfterInsert, dataSet);
}

void TDBSumListProducer::DataSetAfterPost(TDataSet* dataSet)
{
    if (FActive) {
        for (int i = 0; i < FSumCollection->Count(); ++i) {
            TDBSum* item = FSumCollection->Items(i);
            if (!item->Counts())
                continue;
            TField* field = item->FieldName().isEmpty() ? nullptr : FDataSet->FieldByName(item->FieldName());
            const bool isNull = !field || field->IsNull();
            switch (item->GroupOperation()) {
            case goSum:
                item->SumValue = isNull ? item->SumValue - item->Value
                                        : AddFloatLess(item->SumValue, field->AsFloat(), item->Value);
                break;
            case goAvg:
                if (isNull) {
                    if (!item->VarValue.IsNull())
                        --item->FNotNullRecordCount;
                    item->FSumValueAsSum -= item->Value;
                } else {
                    if (item->VarValue.IsNull())
                        ++item->FNotNullRecordCount;
                    item->FSumValueAsSum = AddFloatLess(item->FSumValueAsSum, field->AsFloat(), item->Value);
                }
                item->SumValue = Average(item->FSumValueAsSum, item->FNotNullRecordCount);
                break;
            case goCount:
                if (field)
                    item->SumValue = item->SumValue - item->Value + (isNull ? Currency() : kOne);
                else
                    item->SumValue = item->SumValue + kOne - item->Value;
                break;
            }
            // The posted values are the record's contribution from now on.
            item->Value = item->GroupOperation() == goCount ? (isNull && field ? Currency() : kOne)
                          : isNull ? Currency() : AddFloat(Currency(), field->AsFloat());
            if (item->GroupOperation() != goCount)
                item->VarValue = field ? field->Value() : Variant::Null();
        }
        if (VirtualMode() && FTryedInsert) {
            const TBookmark bookmark = FDataSet->GetBookmark();
            const int count = FVirtualRecList->Count();
            int at = (FOldRecNo < 0 || FOldRecNo >= count) ? 0 : FOldRecNo;
            while (at < count && DataSetCompareBookmarks(FDataSet, FVirtualRecList->GetItem(at), bookmark) < 0)
                ++at;
            while (at > 0 && DataSetCompareBookmarks(FDataSet, FVirtualRecList->GetItem(at - 1), bookmark) > 0)
                --at;
            FVirtualRecList->InsertItem(at, bookmark);
            FTryedInsert = false;
        }
        NotifyChanged();
    }
    CallSaved(heAfterPost, dataSet);
}

void TDBSumListProducer::DataSetBeforeDelete(TDataSet* dataSet)
{
    CallSaved(heBeforeDelete, dataSet);
    if (!FActive)
        return;
    for (int i = 0; i < FSumCollection->Count(); ++i) {
        TDBSum* item = FSumCollection->Items(i);
        if (!item->Counts())
            continue;
        TField* field = item->FieldName().isEmpty() ? nullptr : FDataSet->FieldByName(item->FieldName());
        const bool isNull = !field || field->IsNull();
        switch (item->GroupOperation()) {
        case goSum:
            if (!isNull)
                item->SumValue = AddFloat(item->SumValue, -field->AsFloat());
            break;
        case goAvg:
            if (!isNull) {
                item->FSumValueAsSum = AddFloat(item->FSumValueAsSum, -field->AsFloat());
                --item->FNotNullRecordCount;
            }
            item->SumValue = Average(item->FSumValueAsSum, item->FNotNullRecordCount);
            break;
        case goCount:
            if (!field || !isNull)
                item->SumValue -= kOne;
            break;
        }
    }
    if (VirtualMode()) {
        const int at = BookmarkToRecNo(FDataSet->GetBookmark());
        if (at >= 0)
            FVirtualRecList->DeleteItem(at);
    }
    NotifyChanged();
}

void TDBSumListProducer::DataSetAfterOpen(TDataSet* dataSet)
{
    if (FActive)
        RecalcAll();
    CallSaved(heAfterOpen, dataSet);
}

void TDBSumListProducer::DataSetAfterClose(TDataSet* dataSet)
{
    if (FActive) {
        ClearSumValues();
        NotifyChanged();
        FChanging = false;
    }
    FVirtualRecList->Clear();
    CallSaved(heAfterClose, dataSet);
}

void TDBSumListProducer::DataSetAfterCancel(TDataSet* dataSet)
{
    CallSaved(heAfterCancel, dataSet);
    FTryedInsert = false;
}

void TDBSumListProducer::DataSetAfterScroll(TDataSet* dataSet)
{
    CallSaved(heAfterScroll, dataSet);
    if (!FActive || FChanging || !FDataSet)
        return;
    if (FDataSet->Filtered() != FFiltered || (FDataSet->Filtered() && FDataSet->Filter() != FFilter))
        RecalcAll();
}

void TDBSumListProducer::MasterDataSetAfterScroll(TDataSet* dataSet)
{
    CallSaved(heMasterAfterScroll, dataSet);
    if (FActive && !FChanging)
        RecalcAll();
}
