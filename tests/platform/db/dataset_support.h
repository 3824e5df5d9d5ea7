#pragma once
// Shared fixtures for the dataset tests: a client dataset of numbered rows and a data link
// that records what it is told.
#include "platform/db/DB.h"
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace dstest {

// id (integer), name (string 20), grp (smallint), amount (BCD); row i: id i, name "r<i>",
// grp i % 3, amount i / 10.
inline std::unique_ptr<TClientDataSet> Numbers(int count)
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("id", ftInteger);
    ds->FieldDefs().Add("name", ftString, 20);
    ds->FieldDefs().Add("grp", ftSmallint);
    ds->FieldDefs().Add("amount", ftBCD);
    ds->CreateDataSet();
    for (int i = 1; i <= count; ++i)
        ds->AppendRecord({i, QStringLiteral("r%1").arg(i), i % 3, Currency::FromRaw(qint64(i) * 1000)});
    ds->MergeChangeLog();
    ds->First();
    return ds;
}

inline int CurrentId(TDataSet& ds)
{
    return ds.FieldByName("id")->AsInteger();
}

// Ids of the records in view order, from the first record (the current record moves).
inline std::vector<int> Ids(TDataSet& ds)
{
    std::vector<int> r;
    for (ds.First(); !ds.Eof(); ds.Next())
        r.push_back(CurrentId(ds));
    return r;
}

class RecordingLink : public TDataLink {
public:
    QStringList log;
    std::vector<int> scrolls;
    int updateDataCalls = 0;
    std::function<void()> onUpdateData;

    void DataEvent(TDataEvent event, qintptr info) override
    {
        if (event == deDisabledStateChange)
            log << QStringLiteral("Disabled(%1)").arg(info);
        TDataLink::DataEvent(event, info);
    }

protected:
    void ActiveChanged() override { log << QStringLiteral("ActiveChanged(%1)").arg(Active()); }
    void DataSetChanged() override { log << QStringLiteral("DataSetChanged"); }
    void DataSetScrolled(int distance) override
    {
        scrolls.push_back(distance);
        log << QStringLiteral("Scrolled(%1)").arg(distance);
    }
    void RecordChanged(TField* f) override
    {
        log << QStringLiteral("RecordChanged(%1)").arg(f ? f->FieldName() : QStringLiteral("-"));
    }
    void LayoutChanged() override { log << QStringLiteral("LayoutChanged"); }
    void EditingChanged() override { log << QStringLiteral("EditingChanged(%1)").arg(Editing()); }
    void UpdateData() override
    {
        ++updateDataCalls;
        log << QStringLiteral("UpdateData");
        if (onUpdateData)
            onUpdateData();
    }
    void CheckBrowseMode() override {}
};

// Expects an exception of type E whose message is text.
template <class E, class F>
void ExpectError(F&& f, const QString& text)
{
    try {
        f();
        ADD_FAILURE() << "no exception, expected: " << text.toStdString();
    } catch (const E& e) {
        EXPECT_EQ(e.Message(), text);
    }
}

} // namespace dstest
