#include "Provider.h"
#include "ADOQuery.h"

TDataPacket TDataSetProvider::GetRecords(int count) { return TDataPacket(GetContent(count)); }

TPacketContentPtr TDataSetProvider::GetContent(int count)
{
    if (!m_dataSet)
        DatabaseError(QString::fromUtf8(DBText::MissingDataPacket));
    // A closed query is read straight into the packet: the fields and rows it would load.
    if (auto* query = dynamic_cast<TADOQuery*>(m_dataSet); query && !query->Active())
        return query->ReadContent(count);
    if (!m_dataSet->Active())
        m_dataSet->Open();
    m_dataSet->First();
    return ContentFromDataSet(m_dataSet, count);
}

TDataPacket TDataSetProvider::PacketFromDataSet(TDataSet* ds, int count) { return TDataPacket(ContentFromDataSet(ds, count)); }

TPacketContentPtr TDataSetProvider::ContentFromDataSet(TDataSet* ds, int count)
{
    auto c = std::make_shared<TPacketContent>();
    std::vector<TField*> fields;
    for (TField* f : ds->Fields()) {
        if (f->FieldKind() != fkData)
            continue;
        fields.push_back(f);
        TFieldDef& d = c->fieldDefs.Add(f->FieldName(), f->DataType(), f->Size(), f->Required());
        if (const TFieldDef* src = ds->FieldDefs().Find(f->FieldName()))
            d.SetPrecision(src->Precision());
    }
    ds->DisableControls();
    try {
        int n = 0;
        while (!ds->Eof() && (count < 0 || n < count)) {
            TPacketRow r;
            r.values.reserve(fields.size());
            for (TField* f : fields)
                r.values.push_back(f->Value());
            c->rows.push_back(std::move(r));
            ++n;
            ds->Next();
        }
    } catch (...) {
        ds->EnableControls();
        throw;
    }
    ds->EnableControls();
    return c;
}
