#pragma once
// A small client dataset for the tests of the dataset-bound pieces.
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include <memory>

namespace gxtest {

// Records (id, name, qty); qty is an exact decimal field, name a text field.
inline std::unique_ptr<TClientDataSet> MakeDataSet(const std::vector<std::vector<Variant>>& rows)
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add(QStringLiteral("id"), ftInteger);
    ds->FieldDefs().Add(QStringLiteral("name"), ftString, 20);
    ds->FieldDefs().Add(QStringLiteral("qty"), ftBCD, 4);
    ds->CreateDataSet();
    for (const auto& r : rows)
        ds->AppendRecord(r);
    ds->First();
    return ds;
}

inline std::unique_ptr<TClientDataSet> NumberedDataSet(int count)
{
    std::vector<std::vector<Variant>> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back({Variant(i), Variant(QStringLiteral("r%1").arg(i)), Variant(double(i))});
    return MakeDataSet(rows);
}

inline bool GoTo(TDataSet* ds, int id)
{
    return ds->Locate(QStringLiteral("id"), Variant(id));
}

} // namespace gxtest
