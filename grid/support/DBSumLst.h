#pragma once
// Running aggregates (sum, average, count) over the records of one dataset, kept
// for the grid's footer cells. The producer hooks the dataset's events, computes
// every aggregate in one full pass when the dataset opens or its filter changes,
// and afterwards adjusts each aggregate by what a single edit, insert, post or
// delete changes.
#include "BMListGx.h"
#include "Currency.h"
#include "Variant.h"
#include "platform/db/DataSet.h"
#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <vector>

enum TGroupOperation : quint8 { goSum = 0, goAvg = 1, goCount = 2 };

class TDBSumCollection;
class TDBSumListProducer;

class TDBSum {
public:
    explicit TDBSum(TDBSumCollection* collection = nullptr);
    // Freeing an aggregate removes it from its collection.
    virtual ~TDBSum();
    TDBSum(const TDBSum&) = delete;
    TDBSum& operator=(const TDBSum&) = delete;

    TDBSumCollection* Collection() const { return FCollection; }
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);
    TGroupOperation GroupOperation() const { return FGroupOperation; }
    void SetGroupOperation(TGroupOperation value);
    void Assign(const TDBSum& source);
    // Whether calculations look at this item at all.
    bool Counts() const { return !FFieldName.isEmpty() || FGroupOperation == goCount; }

    Currency SumValue;                 // the current result (a count is scaled like a value)
    Currency Value;                    // the record's contribution before it was changed
    Variant VarValue;                  // the record's old field value (Null when it was null)
    int FNotNullRecordCount = 0;       // non-null values behind an average
    Currency FSumValueAsSum;           // running sum behind an average

private:
    friend class TDBSumCollection;
    void Changed();
    TDBSumCollection* FCollection = nullptr;
    QString FFieldName;
    TGroupOperation FGroupOperation = goSum;
};

class TDBSumCollection {
public:
    explicit TDBSumCollection(TDBSumListProducer* owner = nullptr);
    ~TDBSumCollection();
    TDBSumCollection(const TDBSumCollection&) = delete;
    TDBSumCollection& operator=(const TDBSumCollection&) = delete;

    TDBSumListProducer* Owner() const { return FOwner; }
    int Count() const { return int(FItems.size()); }
    TDBSum* Items(int index) const { return FItems[size_t(index)]; }
    TDBSum* Add();
    void Clear();
    void Assign(const TDBSumCollection& source);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // The first item with that operation whose field name equals the name, ignoring case.
    TDBSum* GetSumByOpAndFName(TGroupOperation operation, const QString& fieldName) const;

private:
    friend class TDBSum;
    void Insert(TDBSum* item);
    void Remove(TDBSum* item);
    void Update(TDBSum* item);
    TDBSumListProducer* FOwner = nullptr;
    std::vector<TDBSum*> FItems;
    int FUpdateCount = 0;
};

// The producer's bookmarks of the dataset's records, used when the dataset cannot
// number its records itself.
class TSLBookmarkListGx : public TBMListGx {
public:
    explicit TSLBookmarkListGx(TDBSumListProducer* producer) : FProducer(producer) {}
protected:
    TDataSet* GetDataSet() const override;
private:
    TDBSumListProducer* FProducer;
};

class TDBSumListProducer {
public:
    using TNotifyEvent = std::function<void(TDBSumListProducer* sender)>;
    using TDataSetEvent = TDataSet::TDataSetNotifyEvent;

    explicit TDBSumListProducer(QObject* owner = nullptr);
    virtual ~TDBSumListProducer();
    TDBSumListProducer(const TDBSumListProducer&) = delete;
    TDBSumListProducer& operator=(const TDBSumListProducer&) = delete;

    QObject* Owner() const { return FOwner; }
    bool Active() const { return FActive; }
    void SetActive(bool value);
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* value);
    bool ExternalRecalc() const { return FExternalRecalc; }
    void SetExternalRecalc(bool value);
    bool VirtualRecords() const { return FVirtualRecords; }
    void SetVirtualRecords(bool value);
    int RecNo() { return GetRecNo(); }
    void SetRecNoValue(int value) { SetRecNo(value); }
    TDBSumCollection* SumCollection() const { return FSumCollection.get(); }
    void SetSumCollection(const TDBSumCollection& value) { FSumCollection->Assign(value); }
    TSLBookmarkListGx* VirtualRecList() const { return FVirtualRecList.get(); }
    bool EventsOverloaded() const { return FEventsOverloaded; }
    bool Changing() const { return FChanging; }

    TNotifyEvent SumListChanged;
    TNotifyEvent OnRecalcAll;
    TNotifyEvent OnAfterRecalcAll;

    bool FDesignTimeWork = false;

    void Activate(bool recalcAll);
    void Deactivate(bool clearSumValues);
    void ActivateAfterLoad();
    void Assign(const TDBSumListProducer& source);

    virtual int GetRecNo();
    virtual int BookmarkToRecNo(const TBookmark& bookmark);
    virtual void SetRecNo(int value);
    virtual void UnhookDataSetEvents();
    virtual bool IsSequenced();
    virtual int RecordCount();
    virtual void ClearSumValues();
    virtual void RecalcAll();
    virtual void SetDataSetEvents();

protected:
    virtual void DataSetAfterCancel(TDataSet* dataSet);
    virtual void DataSetAfterClose(TDataSet* dataSet);
    virtual void DataSetAfterEdit(TDataSet* dataSet);
    virtual void DataSetAfterInsert(TDataSet* dataSet);
    virtual void DataSetAfterOpen(TDataSet* dataSet);
    virtual void DataSetAfterPost(TDataSet* dataSet);
    virtual void DataSetAfterScroll(TDataSet* dataSet);
    virtual void DataSetBeforeDelete(TDataSet* dataSet);
    virtual void MasterDataSetAfterScroll(TDataSet* dataSet);

    // The owner's states: while it loads nothing is hooked or calculated, and
    // while it is designed only with FDesignTimeWork.
    virtual bool OwnerLoading() const { return false; }
    virtual bool OwnerDesigning() const { return false; }
    virtual bool OwnerDestroying() const { return false; }
    // Whether the dataset numbers its records itself.
    virtual bool DataSetIsSequenced() const;
    // Marks the events hooked without hooking (the grid does so while it is designed).
    void SetEventsOverloaded(bool value) { FEventsOverloaded = value; }
    bool Suspended() const { return OwnerLoading() || (OwnerDesigning() && !FDesignTimeWork); }

private:
    friend class TDBSumCollection;
    enum HookedEvent { heAfterEdit, heAfterInsert, heAfterOpen, heAfterPost, heAfterScroll,
                       heBeforeDelete, heAfterClose, heAfterCancel, heMasterAfterScroll, heCount };
    struct HookLink;
    struct Hook;
    TDataSetEvent& Slot(HookedEvent event);
    void Install(HookedEvent event);
    void Uninstall(HookedEvent event);
    void CallSaved(HookedEvent event, TDataSet* dataSet);
    void Dispatch(HookedEvent event, TDataSet* dataSet);
    void SumItemsChanged();
    bool VirtualMode();
    void RememberFilter();
    void CaptureValues();
    void NotifyChanged();
    void Watch(TDataSet* old, TDataSet* now);
    void DataSetFreed(TDataSet* dataSet);

    QObject* FOwner = nullptr;
    bool FActive = true;
    TDataSet* FDataSet = nullptr;
    bool FExternalRecalc = false;
    bool FVirtualRecords = false;
    bool FEventsOverloaded = false;
    bool FChanging = false;
    QString FFilter;
    bool FFiltered = false;
    TDataSet* FMasterDataset = nullptr;
    int FOldRecNo = -1;
    bool FTryedInsert = false;
    bool FDestroying = false;
    std::unique_ptr<TDBSumCollection> FSumCollection;
    std::unique_ptr<TSLBookmarkListGx> FVirtualRecList;
    std::array<std::shared_ptr<HookLink>, heCount> FHooks;
};
