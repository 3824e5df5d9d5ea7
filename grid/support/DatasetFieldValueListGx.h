#pragma once
// The distinct values of one field of a dataset, read once and reread only after
// the dataset or its structure changed; and the data link that passes every data
// event on to a handler.
#include "platform/db/DataSource.h"
#include <QStringList>
#include <functional>
#include <memory>

// A list of distinct field values, as a grid column's filter drop-down reads it.
class IMemTableDataFieldValueListGx {
public:
    virtual ~IMemTableDataFieldValueListGx() = default;
    virtual const QStringList& GetValues() = 0;
    virtual void SetFilter(const QString& filter) = 0;
};
using IMemTableDataFieldValueListGxPtr = std::shared_ptr<IMemTableDataFieldValueListGx>;

class TStringListGx : public QStringList {
public:
    using QStringList::QStringList;
};

class TDataLinkGx : public TDataLink {
public:
    using TDataEventGx = std::function<void(TDataEvent event, qintptr info)>;
    TDataEventGx OnDataEvent;
    void DataEvent(TDataEvent event, qintptr info) override;
};

class TDatasetFieldValueListGx : public IMemTableDataFieldValueListGx {
public:
    TDatasetFieldValueListGx();
    ~TDatasetFieldValueListGx() override;

    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    TDataSet* DataSet() const { return FDataSource->DataSet(); }
    void SetDataSet(TDataSet* value);
    // Sorted, one copy of each text regardless of letter case.
    const QStringList& Values();
    bool DataObsoleted() const { return FDataObsoleted; }

    const QStringList& GetValues() override { return Values(); }
    void SetFilter(const QString&) override {}

protected:
    virtual void DataEvent(TDataEvent event, qintptr info);

private:
    void Reread();
    void AddValue(const QString& text);

    TStringListGx FValues;
    bool FDataObsoleted = false;
    QString FFieldName;
    std::unique_ptr<TDataLinkGx> FDataLink;
    std::unique_ptr<TDataSource> FDataSource;
};
