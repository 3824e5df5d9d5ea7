#pragma once
// A data grid over a small client dataset of bill lines (an integer, a wide text,
// an exact decimal and an 8-bit text, with NULLs) for the export and import tests.
#include "dbgrid_paint_host.h"
#include "grid/control/DBGridGxImpExp.h"
#include "grid/control/DBGridGxInputSelection.h"
#include "platform/db/Field.h"
#include <QBuffer>
#include <gtest/gtest.h>

namespace gxpaint {

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

struct ImpExpFixture : ::testing::Test {
    PaintHost host{700, 240};
    std::unique_ptr<TClientDataSet> ds;
    void SetUp() override
    {
        ds = std::make_unique<TClientDataSet>();
        ds->FieldDefs().Add(QStringLiteral("id"), ftInteger);
        ds->FieldDefs().Add(QStringLiteral("mname"), ftWideString, 20);
        ds->FieldDefs().Add(QStringLiteral("qty"), ftBCD, 4);
        ds->FieldDefs().Add(QStringLiteral("code"), ftString, 10);
        ds->CreateDataSet();
        ds->AppendRecord({Variant(1), Variant(QStringLiteral("钢筋")), Variant(1.5), Variant(QStringLiteral("A\"1"))});
        ds->AppendRecord({Variant(2), Variant(QStringLiteral("cement")), Variant(2.25), Variant::Null()});
        ds->AppendRecord({Variant(3), Variant::Null(), Variant(5.0), Variant(QStringLiteral("C3"))});
        ds->MergeChangeLog();   // CancelUpdates brings these records back
        ds->First();
        host.Bind(ds.get());
        grid()->SetOptions(TDBGridOptions(grid()->Options()).Include(dgMultiSelect));
    }
    TDBGridGx* grid() { return host.grid; }
    TColumnGx* column(int i) { return grid()->Columns()->GetColumn(i); }
    template <class T> QByteArray Export(bool all = false)
    {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        ExportGridToStream(ExportClassOf<T>(), grid(), &b, all);
        return b.data();
    }
    void SelectRows(std::initializer_list<int> recNos)
    {
        for (int r : recNos) {
            ds->SetRecNo(r);
            grid()->SelectedRows()->SetCurrentRowSelected(true);
        }
        ds->First();
    }
    template <class T> void Import(const QByteArray& bytes, bool all = false)
    {
        QByteArray data = bytes;
        QBuffer b(&data);
        b.open(QIODevice::ReadOnly);
        ImportGridFromStream(ImportClassOf<T>(), grid(), &b, all);
    }
    // Every record as "mname|qty|code", a NULL as "~"; the cursor stays where it is.
    QStringList Rows()
    {
        QStringList rows;
        const TBookmark at = ds->GetBookmark();
        ds->DisableControls();
        for (ds->First(); !ds->Eof(); ds->Next()) {
            QStringList cells;
            for (const char* f : {"mname", "qty", "code"}) {
                TField* field = ds->FieldByName(QString::fromLatin1(f));
                cells << (field->IsNull() ? QStringLiteral("~") : field->AsString());
            }
            rows << cells.join(QLatin1Char('|'));
        }
        if (!at.IsEmpty())
            ds->GotoBookmark(at);
        ds->EnableControls();
        return rows;
    }
};

} // namespace gxpaint
