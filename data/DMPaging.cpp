// Paged loading into client datasets and the writing of change logs back to the tables.
#include "ComponentFactory.h"
#include "DM.h"
#include "DataProcess.h"
#include "DeltaSql.h"
#include "frmconst.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Provider.h"
#include "platform/rtl/Exceptions.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <limits>

namespace {

// A paged SELECT: head, " where ", the condition, " order by ", key. The condition is the
// caller's alone before the first page, else keyField>'lastkey' and (condition); sameKey:
// keyField='lastkey' and (condition).
QString pagedtext(const QString& head, const QString& keyField, const QString& condition,
                  const std::optional<QString>& lastkey, bool sameKey)
{
    static const QLatin1String where(" where "), orderBy(" order by ");
    QString out;
    out.reserve(head.size() + condition.size() + 2 * keyField.size() + (lastkey ? lastkey->size() * 2 + 12 : 0) + 17);
    out += head;
    out += where;
    if (lastkey) {
        out += keyField;
        out += sameKey ? QLatin1String("='") : QLatin1String(">'");
        for (const QChar c : *lastkey) {
            out += c;
            if (c == u'\'')
                out += c;
        }
        out += QLatin1String("' and (");
        out += condition;
        out += QLatin1Char(')');
    } else {
        out += condition;
    }
    out += orderBy;
    out += keyField;
    return out;
}

// The key texts of a page's rows, as the page client dataset's field gives them. An integer
// key (the usual one) is read off the rows; any other goes through the page client dataset.
class PageKeys {
public:
    PageKeys(TClientDataSet* page, const TPacketContentPtr& content, const QString& keyField)
        : m_page(page), m_content(content), m_keyField(keyField), m_col(content->fieldDefs.IndexOf(keyField))
    {
    }
    QString at(int row)
    {
        const TPacketRow& r = m_content->rows[size_t(row)];
        if (m_col >= 0 && size_t(m_col) < r.values.size() && r.values[size_t(m_col)].Type() == VarType::Integer)
            return QString::number(r.values[size_t(m_col)].ToInt64());
        if (!m_loaded) {
            m_page->SetData(TDataPacket(m_content));
            m_loaded = true;
        }
        m_page->First();
        m_page->MoveBy(row);
        return m_page->FieldByName(m_keyField)->AsString();
    }

private:
    TClientDataSet* m_page;
    TPacketContentPtr m_content;
    QString m_keyField;
    int m_col;
    bool m_loaded = false;
};

} // namespace

QString TrmtDM::buildpagedselect(const QString& TableName, const QString& keyField, const QString& condition,
                                 const std::optional<QString>& lastkey, bool sameKey)
{
    // "select * from %s%s%s order by %s": the table, " where ", the condition, the key
    return pagedtext(QLatin1String("select * from ") + TableName, keyField, condition, lastkey, sameKey);
}

QString TrmtDM::buildpagedsqlselect(const QString& strSql, const QString& orderkeyfield, const QString& condition,
                                    const std::optional<QString>& lastkey, bool sameKey)
{
    // "%s%s%s order by %s": the statement, " where ", the condition, the order key
    return pagedtext(strSql, orderkeyfield, condition, lastkey, sameKey);
}

TPacketContentPtr TrmtDM::fetchcontent(const QString& cmdstr, int Rcount)
{
    TQueryPtr query(NewQuery());
    TProviderPtr provider(NewProvider());
    OpenindicatinnDB(dbname);
    provider->SetDataSet(query.get());
    query->SQL().append(cmdstr);
    query->SetMaxRecords(Rcount);
    trace(cmdstr);
    // The provider's first packet of Rcount rows is what a client dataset opened on it would
    // hold and hand back; it is handed on as it is.
    TPacketContentPtr content = provider->GetContent(Rcount);
    if (!content)
        DatabaseError(QString::fromUtf8(DBText::MissingDataPacket));
    return content;
}

TDataPacket TrmtDM::GetLargeData(const QString& cmdstr, int Rcount) { return TDataPacket(fetchcontent(cmdstr, Rcount)); }

TPacketContentPtr TrmtDM::getonepage(TADOQuery* query, const QString& sql, int Maxrec)
{
    // A failing fetch gives no page; appendpage then reports the closed dataset. The pages of
    // one load share their query: each is a fetch of its own, as GetLargeData makes it.
    try {
        OpenindicatinnDB(dbname);
        query->SQL().clear();
        query->SQL().append(sql);
        query->SetMaxRecords(Maxrec);
        trace(sql);
        return query->ReadContent(Maxrec);
    } catch (const Exception&) {
    }
    return {};
}

void TrmtDM::appendpage(TPacketContentPtr& all, const TPacketContentPtr& page, int count)
{
    if (!page)
        DatabaseError(QString::fromLatin1(DBText::DataSetClosed));
    page->rows.resize(size_t(std::clamp<qsizetype>(count, 0, qsizetype(page->rows.size()))));
    if (!all) {
        all = page;   // the rows of the first page are the accumulator's own
        return;
    }
    // Later pages have the first page's columns; their rows move over without being copied.
    // A text column computed by the SELECT is as wide as the widest value of any page.
    std::vector<int> source;
    bool same = page->fieldDefs.Count() == all->fieldDefs.Count();
    for (int i = 0; i < all->fieldDefs.Count(); ++i) {
        TFieldDef& d = all->fieldDefs[i];
        const int at = page->fieldDefs.IndexOf(d.Name());
        source.push_back(at);
        same = same && at == i;
        if (at >= 0 && page->fieldDefs[at].DataType() == d.DataType() && d.Size() > 0)
            d.SetSize(std::max(d.Size(), page->fieldDefs[at].Size()));
    }
    // The rows grow by four times at a time: fewer fresh pages of memory are touched on the way.
    const size_t needed = all->rows.size() + page->rows.size();
    if (all->rows.capacity() < needed)
        all->rows.reserve(std::max(needed, all->rows.capacity() * 4));
    for (TPacketRow& r : page->rows) {
        if (same) {
            all->rows.push_back(std::move(r));
            continue;
        }
        TPacketRow row;
        row.values.reserve(source.size());
        for (int i : source)
            row.values.push_back(i >= 0 && size_t(i) < r.values.size() ? std::move(r.values[size_t(i)]) : Variant::Null());
        all->rows.push_back(std::move(row));
    }
}

void TrmtDM::clearpage(TClientDataSet* page) { page->SetData(TDataPacket()); }

TDataPacket TrmtDM::pagedread(const TPageSelect& buildselect, const QString& keyField, int Maxrec)
{
    TClientDataSetPtr page(NewClientDataSet());
    page->SetFetchOnDemand(false);
    page->SetPacketRecords(Maxrec);
    TQueryPtr query(NewQuery());
    TPacketContentPtr all;
    std::optional<QString> lastkey;
    OpenindicatinnDB(dbname);
    // Each page is read with one row more than it holds: when that row shares the page's last
    // key, the rows of that key cross the page boundary, and the next page (after the key)
    // would lose those beyond it. Then the page keeps the rows before that key, and the rows
    // of the key are read together, whole.
    const int fetch = Maxrec > 0 ? Maxrec + 1 : Maxrec;
    QElapsedTimer events;
    for (;;) {
        const TPacketContentPtr packet = getonepage(query.get(), buildselect(lastkey, false), fetch);
        const int rows = packet ? int(packet->rows.size()) : 0;
        int keep = std::min(rows, Maxrec);
        const bool full = packet && Maxrec > 0 && rows >= Maxrec;
        QString key;
        bool shared = false;
        if (full) {
            PageKeys keys(page.get(), packet, keyField);
            key = keys.at(Maxrec - 1);
            shared = rows > Maxrec && keys.at(Maxrec) == key;
            if (shared)
                while (keep > 0 && keys.at(keep - 1) == key)
                    --keep;
            clearpage(page.get());
        }
        appendpage(all, packet, keep);
        if (!full)
            break;
        // A key that does not move on would read the same rows for ever.
        if (lastkey && key == *lastkey)
            DatabaseError(QStringLiteral("The key field '%1' does not advance past '%2': the list cannot be read page by page.")
                              .arg(keyField, key));
        if (shared)
            appendpage(all, getonepage(query.get(), buildselect(key, true), -1), std::numeric_limits<int>::max());
        lastkey = key;
        // Pending window messages are let through between pages, a frame's time apart at most.
        if (!events.isValid() || events.elapsed() >= 16) {
            QCoreApplication::processEvents();
            events.start();
        }
    }
    return TDataPacket(all);
}

TDataPacket TrmtDM::gettabledata(const QString& TableName, const QString& keyField, const QString& ssql, int Maxrec)
{
    return pagedread([&](const std::optional<QString>& lastkey, bool sameKey) {
        return buildpagedselect(TableName, keyField, ssql, lastkey, sameKey);
    }, keyField, Maxrec);
}

TDataPacket TrmtDM::getsqldata(const QString& strSql, const QString& orderkeyfield, const QString& keyField,
                               const QString& strcon, int maxrec)
{
    return pagedread([&](const std::optional<QString>& lastkey, bool sameKey) {
        return buildpagedsqlselect(strSql, orderkeyfield, strcon, lastkey, sameKey);
    }, keyField, maxrec);
}

// ----- change writing -----

QStringList TrmtDM::tablecolumns(const QString& table)
{
    TQueryPtr query(NewQuery());
    query->SQL().append(QStringLiteral("select * from ") + table + QStringLiteral(" where 1=0"));
    query->Open();
    return query->FieldNames();
}

bool TrmtDM::readcolumns(const QString& table, QStringList& columns)
{
    // A table whose columns cannot be read is a failed save, like a failing statement.
    try {
        columns = tablecolumns(table);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TrmtDM::rundeltastatement(TADOQuery* query, const QString& sql)
{
    trace(sql);
    try {
        query->Close();
        query->SQL().clear();
        query->SQL().append(sql);
        query->ExecSQL();
        return true;
    } catch (const Exception&) {
        return false;
    }
}

namespace {

// A delta loaded into a client dataset, with its field names and which of them are columns
// of the target table.
struct DeltaWalk {
    TClientDataSet* delta;
    QList<bool> isColumn;
    QStringList names;
};

DeltaWalk loaddelta(TClientDataSet* cds, const TDataPacket& packet, const QStringList& columns)
{
    cds->SetData(packet);
    DeltaWalk w{cds, {}, {}};
    for (TField* f : cds->Fields()) {
        w.names << f->FieldName();
        w.isColumn << columns.contains(f->FieldName().trimmed(), Qt::CaseInsensitive);
    }
    return w;
}

QString rowstatement(TDeltaSqlBuilder& builder, const DeltaWalk& w)
{
    // An empty text counts as Null, as the class library stores it, so clearing a field
    // never reaches the table.
    QList<Variant> values;
    for (TField* f : w.delta->Fields()) {
        const Variant v = f->IsNull() ? Variant::Null() : f->Value();
        const bool emptyText = v.Type() == VarType::String && v.AsStringRaw().isEmpty();
        values << (emptyText ? Variant::Null() : v);
    }
    return builder.rowStatement(w.delta->UpdateStatus(), w.names, w.isColumn, values);
}

} // namespace

bool TrmtDM::ApplyUpdateDelta(const TDataPacket& delta, const QString& TableName, const QString& KeyField,
                              const QStringList& extra, const std::function<bool()>& within)
{
    if (delta.IsNull())
        return false;
    OpenindicatinnDB(dbname);
    QStringList columns;
    if (!readcolumns(TableName, columns))
        return false;
    TQueryPtr query(NewQuery());
    TClientDataSetPtr cds(NewClientDataSet());
    DeltaWalk walk = loaddelta(cds.get(), delta, columns);
    if (cds->IsEmpty())
        return false;
    BeginTrans();
    bool ok = false;
    try {
        TDeltaSqlBuilder builder(TableName, KeyField, TDeltaStyle::SingleTable);
        for (cds->First(); !cds->Eof(); cds->Next()) {
            const QString sql = rowstatement(builder, walk);
            if (sql.isEmpty())
                continue;
            ok = rundeltastatement(query.get(), sql);
            if (!ok)
                break;
        }
        for (const QString& sql : extra) {
            if (!ok)
                break;
            ok = rundeltastatement(query.get(), sql);
        }
        if (ok && within)
            ok = within();
    } catch (const Exception&) {
        ok = false;
    }
    if (ok) {
        if (ADOCon->InTransaction())
            CommitTrans();
        return true;
    }
    if (ADOCon->InTransaction())
        RollbackTrans();
    return false;
}

bool TrmtDM::ApplyUpdateMD(const TDataPacket& Mdelta, const QString& MtableName, const QString& MkeyField,
                           const TDataPacket& Ddelta, const QString& DtableName, const QString& DkeyField,
                           const QStringList& extra, const std::function<bool()>& within)
{
    if (Mdelta.IsNull() && Ddelta.IsNull())
        return false;
    OpenindicatinnDB(dbname);
    QStringList mcolumns;
    QStringList dcolumns;
    if (!readcolumns(MtableName, mcolumns) || !readcolumns(DtableName, dcolumns))
        return false;
    TQueryPtr mquery(NewQuery());
    TQueryPtr dquery(NewQuery());
    TClientDataSetPtr mcds(NewClientDataSet());
    TClientDataSetPtr dcds(NewClientDataSet());
    auto openside = [](TClientDataSet* cds, const TDataPacket& p, const QStringList& cols) {
        if (p.IsNull())
            DatabaseError(QString::fromLatin1(DBText::MissingDataPacket));
        return loaddelta(cds, p, cols);
    };
    DeltaWalk mwalk = openside(mcds.get(), Mdelta, mcolumns);
    DeltaWalk dwalk = openside(dcds.get(), Ddelta, dcolumns);
    BeginTrans();
    auto fail = [&] {
        if (ADOCon->InTransaction())
            RollbackTrans();
        return false;
    };
    bool lines = false;
    try {
        TDeltaSqlBuilder head(MtableName, MkeyField, TDeltaStyle::HeadAndLines);
        for (mcds->First(); !mcds->Eof(); mcds->Next()) {
            const QString sql = rowstatement(head, mwalk);
            if (!sql.isEmpty() && !rundeltastatement(mquery.get(), sql))
                return fail();
        }
        TDeltaSqlBuilder detail(DtableName, DkeyField, TDeltaStyle::HeadAndLines);
        for (dcds->First(); !dcds->Eof(); dcds->Next()) {
            const QString sql = rowstatement(detail, dwalk);
            lines = sql.isEmpty() || rundeltastatement(dquery.get(), sql);
            if (!lines)
                break;
        }
        for (const QString& sql : extra) {
            if (!lines)
                break;
            lines = rundeltastatement(dquery.get(), sql);
        }
        if (lines && within)
            lines = within();
    } catch (const Exception&) {
        return fail();
    }
    if (!lines)
        return fail();
    if (ADOCon->InTransaction())
        CommitTrans();
    return true;
}
