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
#include <algorithm>

namespace {

// keyField>'lastkey' and (condition), or the condition alone before the first page.
QString pagecondition(const QString& keyField, const QString& condition, const std::optional<QString>& lastkey)
{
    if (!lastkey)
        return condition;
    QString key = *lastkey;
    key.replace(QLatin1Char('\''), QStringLiteral("''"));
    return keyField + QStringLiteral(">") + QStringLiteral("'") + key + QStringLiteral("'") + QStringLiteral(" and ")
         + QLatin1Char('(') + condition + QLatin1Char(')');
}

} // namespace

QString TrmtDM::buildpagedselect(const QString& TableName, const QString& keyField, const QString& condition,
                                 const std::optional<QString>& lastkey)
{
    return QStringLiteral("select * from %1%2%3 order by %4")
        .arg(TableName, QStringLiteral(" where "), pagecondition(keyField, condition, lastkey), keyField);
}

QString TrmtDM::buildpagedsqlselect(const QString& strSql, const QString& orderkeyfield, const QString& condition,
                                    const std::optional<QString>& lastkey)
{
    return QStringLiteral("%1%2%3 order by %4")
        .arg(strSql, QStringLiteral(" where "), pagecondition(orderkeyfield, condition, lastkey), orderkeyfield);
}

TDataPacket TrmtDM::GetLargeData(const QString& cmdstr, int Rcount)
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
    const TDataPacket packet = provider->GetRecords(Rcount);
    if (packet.IsNull())
        DatabaseError(QString::fromUtf8(DBText::MissingDataPacket));
    return packet;
}

TDataPacket TrmtDM::getonepage(const QString& sql, int Maxrec)
{
    // A failing fetch gives no page; appendpage then reports the closed dataset.
    try {
        return GetLargeData(sql, Maxrec);
    } catch (const Exception&) {
    }
    return {};
}

void TrmtDM::appendpage(std::vector<TDataPacket>& pages, const TDataPacket& packet)
{
    if (packet.IsNull())
        DatabaseError(QString::fromLatin1(DBText::DataSetClosed));
    pages.push_back(packet);
}

TDataPacket TrmtDM::joinpages(const std::vector<TDataPacket>& pages, int Maxrec)
{
    // The pages go into the accumulating client dataset in one append: appending page by
    // page would copy the rows read so far again for every page.
    if (pages.size() == 1)
        return pages.front();
    auto content = std::make_shared<TPacketContent>();
    content->fieldDefs = pages.front().FieldDefs();
    content->rows.reserve(pages.size() * size_t(std::max(Maxrec, 1)));
    for (const TDataPacket& p : pages) {
        const TPacketContent& c = *p.Content();
        std::vector<int> source;
        for (const TFieldDef& d : content->fieldDefs)
            source.push_back(c.fieldDefs.IndexOf(d.Name()));
        for (const TPacketRow& r : c.rows) {
            TPacketRow row;
            row.values.reserve(source.size());
            for (int i : source)
                row.values.push_back(i >= 0 && size_t(i) < r.values.size() ? r.values[size_t(i)] : Variant::Null());
            content->rows.push_back(std::move(row));
        }
    }
    // The accumulator's packet: plain rows in page order, as the client dataset would give them.
    return TDataPacket(std::move(content));
}

void TrmtDM::clearpage(TClientDataSet* page) { page->SetData(TDataPacket()); }

QString TrmtDM::pagelastkey(TClientDataSet* page, const TDataPacket& packet, const QString& keyField, QString* before)
{
    // An integer key (the usual one) is read off the packet's last rows; any other goes through
    // the page client dataset, whose field gives its text. before: the key of the row before.
    const TPacketContent& c = *packet.Content();
    const int col = c.fieldDefs.IndexOf(keyField);
    auto integer = [&](size_t fromEnd, QString& out) {
        if (col < 0 || c.rows.size() <= fromEnd) return false;
        const TPacketRow& r = c.rows[c.rows.size() - 1 - fromEnd];
        if (size_t(col) >= r.values.size() || r.values[size_t(col)].Type() != VarType::Integer) return false;
        out = QString::number(r.values[size_t(col)].ToInt64());
        return true;
    };
    QString key;
    if (integer(0, key) && (!before || c.rows.size() < 2 || integer(1, *before)))
        return key;
    page->SetData(packet);
    page->Last();
    key = page->FieldByName(keyField)->AsString();
    if (before && page->RecordCount() > 1) {
        page->Prior();
        *before = page->FieldByName(keyField)->AsString();
    }
    clearpage(page);
    return key;
}

TDataPacket TrmtDM::pagedread(const std::function<QString(const std::optional<QString>&)>& buildselect,
                              const QString& keyField, int Maxrec)
{
    TClientDataSetPtr page(NewClientDataSet());
    page->SetFetchOnDemand(false);
    page->SetPacketRecords(Maxrec);
    std::vector<TDataPacket> pages;
    std::optional<QString> lastkey;
    OpenindicatinnDB(dbname);
    for (;;) {
        const TDataPacket packet = getonepage(buildselect(lastkey), Maxrec);
        appendpage(pages, packet);
        if (packet.RecordCount() < Maxrec)
            break;
        QString before;
        const QString key = pagelastkey(page.get(), packet, keyField, &before);
        // The next page starts after this key: a key that does not move on would read the same
        // rows for ever, and one shared with the row before it would lose the rows after it.
        if (lastkey && key == *lastkey)
            DatabaseError(QStringLiteral("The key field '%1' does not advance past '%2': the list cannot be read page by page.")
                              .arg(keyField, key));
        if (packet.RecordCount() > 1 && before == key)
            DatabaseError(QStringLiteral("The key field '%1' is not unique ('%2' more than once): the list cannot be read page by page.")
                              .arg(keyField, key));
        lastkey = key;
        QCoreApplication::processEvents();
    }
    return joinpages(pages, Maxrec);
}

TDataPacket TrmtDM::gettabledata(const QString& TableName, const QString& keyField, const QString& ssql, int Maxrec)
{
    return pagedread([&](const std::optional<QString>& lastkey) {
        return buildpagedselect(TableName, keyField, ssql, lastkey);
    }, keyField, Maxrec);
}

TDataPacket TrmtDM::getsqldata(const QString& strSql, const QString& orderkeyfield, const QString& keyField,
                               const QString& strcon, int maxrec)
{
    return pagedread([&](const std::optional<QString>& lastkey) {
        return buildpagedsqlselect(strSql, orderkeyfield, strcon, lastkey);
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

bool TrmtDM::ApplyUpdateDelta(const TDataPacket& delta, const QString& TableName, const QString& KeyField)
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
                           const TDataPacket& Ddelta, const QString& DtableName, const QString& DkeyField)
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
    } catch (const Exception&) {
        return fail();
    }
    if (!lines)
        return fail();
    if (ADOCon->InTransaction())
        CommitTrans();
    return true;
}
