// What the posting and reversal of stock-in and stock-out bills share: the transaction around
// the worker and the checks made inside it before anything is written.
#include "ComponentFactory.h"
#include "DM.h"
#include "PostingLookups.h"
#include "StockSql.h"
#include "frmconst.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSink.h"
#include <algorithm>
#include <charconv>

bool TrmtDM::runbillposting(billworker worker, TClientDataSet* master, TClientDataSet* detail, bool stockin,
                            const QStringList& extra)
{
    try {
        OpenindicatinnDB(dbname);
        BeginTrans();
    } catch (...) {
        return false;
    }
    try {
        const QString fid = stocksql::num(master->FieldByName(QStringLiteral("fid"))->AsInteger());
        // The first statement waits for the write lock, in turn behind the other workstations.
        try {
            fetch(QStringLiteral("select brecorded from ") + (stockin ? QStringLiteral("ibmaster") : QStringLiteral("ebmaster"))
                  + QStringLiteral(" where fid=") + fid, 1, false);
        } catch (const EOleException& e) {
            if (e.Message().startsWith(QLatin1String("Lock request time out period exceeded")))
                MessageSink::Show(MsgKind::Warning, QStringLiteral("其他工作站正在记帐，等候超时：本次操作没有完成，数据未作任何改动，请稍后再试！"));
            throw;
        }
        TClientDataSetPtr head(NewClientDataSet());
        TClientDataSetPtr lines(NewClientDataSet());
        head->SetData(gettabledata(stockin ? QStringLiteral("vibmaster") : QStringLiteral("vebmaster"), QStringLiteral("fid"),
                                   QStringLiteral("fid=") + fid, 20));
        // The lines in pages of a bill's length: one read for all but the longest bills.
        lines->SetData(gettabledata(stockin ? QStringLiteral("vibdetail") : QStringLiteral("vebdetail"), QStringLiteral("fid"),
                                    (stockin ? QStringLiteral("iid=") : QStringLiteral("eid=")) + fid, 1000));
        // The caller's lines end after the last one, as after a walk over them.
        detail->Last();
        detail->Next();
        // What the worker reads of the rows it changes holds for this transaction only.
        m_lookups = std::make_unique<PostingLookups>();
        struct Drop { std::unique_ptr<PostingLookups>& p; ~Drop() { p.reset(); } } drop{m_lookups};
        if (head->IsEmpty())
            MessageSink::Show(MsgKind::Information, QStringLiteral("票据不存在，请先保存票据！！！"));
        else if ((this->*worker)(head.get(), lines.get())) {
            m_lookups.reset();
            // The caller's statements belong to the posting: one that fails undoes it.
            if (std::all_of(extra.begin(), extra.end(), [this](const QString& sql) { return execsql(sql); })) {
                CommitTrans();
                return true;
            }
        }
    } catch (...) {
    }
    try {
        if (IntransAction())
            RollbackTrans();
    } catch (...) {
    }
    return false;
}

bool TrmtDM::billpostable(const QString& table, int fid, int pid, bool audit)
{
    // The open period as it stands now: another client may have closed the period since
    // this one logged in.
    if (pid != GetID(QStringLiteral("pid"))) {
        MessageSink::Show(MsgKind::Information, audit ? QStringLiteral("不允许审核非本期的票据！！！")
                                                      : QStringLiteral("不允许反审核结转过的票据！！！"));
        return false;
    }
    // The bill's state as it stands now: another client may have audited or un-audited it
    // since this one loaded it.
    const DbResult state = fetch(QStringLiteral("select brecorded from ") + table + QStringLiteral(" where fid=")
                                 + stocksql::num(fid), 1, false);
    if (state.rows.isEmpty() || state.rows.first().isEmpty()) {
        MessageSink::Show(MsgKind::Information, QStringLiteral("票据不存在，请先保存票据！！！"));
        return false;
    }
    const Variant& flag = state.rows.first().first();
    const bool recorded = !flag.IsEmptyOrNull() && flag.ToBool();
    if (audit && recorded) {
        MessageSink::Show(MsgKind::Information, QStringLiteral("票据已经审核，不允许重复审核！！！"));
        return false;
    }
    if (!audit && !recorded) {
        MessageSink::Show(MsgKind::Information, QStringLiteral("票据尚未审核，不允许反审核！！！"));
        return false;
    }
    return true;
}

bool TrmtDM::batchexists(const QString& keyfield, int key)
{
    return batchfound(countrowswhere(QStringLiteral("mrplist"), keyfield, key) != 0);
}

bool TrmtDM::batchfound(bool found)
{
    if (!found)
        MessageSink::Show(MsgKind::Information, QStringLiteral("找不到明细行对应的价格批次，票据不能记帐或反记帐！！！"));
    return found;
}

namespace {

// "a in (k1,k2,...)" of the distinct keys, in ascending order.
QString inlist(QStringView column, QList<int> keys)
{
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    QString s;
    s.reserve(column.size() + 6 + keys.size() * 12);
    s.append(column).append(QLatin1String(" in ("));
    char digits[16];
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (i > 0)
            s += u',';
        const auto end = std::to_chars(digits, digits + sizeof digits, keys[i]).ptr;
        s.append(QLatin1String(digits, end - digits));
    }
    return s + u')';
}

const QString kKinds = QStringLiteral("mtrlist+breedlist");

} // namespace

void TrmtDM::prereadlines(TClientDataSet* detail, bool stockin, int dptid)
{
    if (!m_lookups)
        return;
    detail->First();
    if (detail->Eof())
        return;
    QList<int> mids, lines, drawn;
    mids.reserve(detail->RecordCount());
    lines.reserve(detail->RecordCount());
    TField* midf = detail->FieldByName(QStringLiteral("mid"));
    TField* fidf = detail->FieldByName(QStringLiteral("fid"));
    TField* idid = detail->FindField(QStringLiteral("idid"));
    TField* rpid = detail->FindField(QStringLiteral("rpid"));
    while (!detail->Eof()) {
        mids << midf->AsInteger();
        lines << fidf->AsInteger();
        if (stockin && idid && idid->AsInteger() > 0)
            lines << idid->AsInteger();
        if (!stockin && rpid && rpid->AsInteger() != 0)
            drawn << rpid->AsInteger();
        detail->Next();
    }
    detail->First();
    const auto read = [&](const QString& table, PostingLookups::Names keyfields, const QList<int>& keys,
                          const QString& sql) { m_lookups->take(table, keyfields, keys, fetch(sql, 0, true)); };
    const QString mid = QStringLiteral("mid");
    read(kKinds, {QStringLiteral("fid")}, mids,
         QStringLiteral("select a.fid,b.pricemodal,b.breedtype from mtrlist a,breedlist b where a.bid =b.fid and ")
             + inlist(u"a.fid", mids));
    // The other tables for the materials whose lines look them up, by their kind; a material
    // whose kind was not kept is looked up line by line.
    QList<int> averaged, planned, turnover;
    for (int m : std::as_const(mids)) {
        const PostingRows* kind = postedrows(kKinds, {QStringLiteral("fid")}, {m});
        if (!kind || kind->count == 0)
            continue;
        const auto [model, cycled] = materialkind(m);
        if (model == 1)
            averaged << m;
        else if (model == 2)
            planned << m;
        if (cycled)
            turnover << m;
    }
    read(QStringLiteral("msrglist"), {mid}, mids,
         QStringLiteral("select mid,qty,cost from msrglist where ") + inlist(mid, mids));
    if (!averaged.isEmpty())
        read(QStringLiteral("maplist"), {mid}, averaged,
             QStringLiteral("select mid from maplist where ") + inlist(mid, averaged));
    if (stockin && !planned.isEmpty())
        read(QStringLiteral("mpplist"), {mid}, planned,
             QStringLiteral("select mid from mpplist where ") + inlist(mid, planned));
    if (!turnover.isEmpty())
        read(QStringLiteral("cyldb"), {mid}, turnover,
             QStringLiteral("select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb where ") + inlist(mid, turnover));
    // The batches with every key the writes name them by.
    const auto batches = [&](const char* key, const char* others, const QList<int>& keys) {
        const QString k = QString::fromLatin1(key);
        read(QStringLiteral("mrplist"), {k}, keys,
             QStringLiteral("select ") + k + QLatin1Char(',') + QLatin1String(others)
                 + QStringLiteral(",qty,dprice,rdprice,rsprice from mrplist where ") + inlist(k, keys));
    };
    if (stockin)
        batches("iid", "fid,eid", lines);
    else
        batches("eid", "fid,iid", lines);
    if (!drawn.isEmpty())
        batches("fid", "iid,eid", drawn);
    if (!stockin && dptid != 0 && !turnover.isEmpty()) {
        QList<int> pairs;   // (dptid, mid) one after the other
        pairs.reserve(turnover.size() * 2);
        for (int m : std::as_const(turnover))
            pairs << dptid << m;
        read(QStringLiteral("cyldptlist"), {QStringLiteral("dptid"), mid}, pairs,
             QStringLiteral("select dptid,mid,qty,cost from cyldptlist where dptid=") + QString::number(dptid)
                 + QStringLiteral(" and ") + inlist(mid, turnover));
    }
}

const PostingRows* TrmtDM::postedrows(const QString& table, std::initializer_list<QString> keyfields,
                                      std::initializer_list<int> keys) const
{
    return m_lookups ? m_lookups->find(table, keyfields, keys) : nullptr;
}

std::pair<int, bool> TrmtDM::materialkind(int mid)
{
    if (const PostingRows* kept = postedrows(kKinds, {QStringLiteral("fid")}, {mid})) {
        if (kept->count == 0)
            return {0, false};
        const Variant* model = kept->value(QStringLiteral("pricemodal"));
        const Variant* type = kept->value(QStringLiteral("breedtype"));
        if (model && type)
            return {model->IsEmptyOrNull() ? 0 : model->ToInt(), !type->IsEmptyOrNull() && type->ToInt() == 1};
    }
    const DbResult r = fetch(QStringLiteral("select b.pricemodal,b.breedtype from mtrlist a,breedlist b where a.fid=")
                                 + stocksql::num(mid) + QStringLiteral(" and a.bid =b.fid"),
                             1, true);
    if (r.rows.isEmpty() || r.rows.first().size() < 2)
        return {0, false};
    const Variant& model = r.rows.first()[0];
    const Variant& type = r.rows.first()[1];
    return {model.IsEmptyOrNull() ? 0 : model.ToInt(), !type.IsEmptyOrNull() && type.ToInt() == 1};
}

bool TrmtDM::imbillrecord(TClientDataSet* master, TClientDataSet* detail)
{
    return runbillposting(&TrmtDM::doimbillrecord, master, detail, true);
}

bool TrmtDM::imbillreverse(TClientDataSet* master, TClientDataSet* detail)
{
    return runbillposting(&TrmtDM::doimbillreverse, master, detail, true);
}

bool TrmtDM::exbillrecord(TClientDataSet* master, TClientDataSet* detail, const QStringList& extra)
{
    return runbillposting(&TrmtDM::doexbillrecord, master, detail, false, extra);
}

bool TrmtDM::exbillreverse(TClientDataSet* master, TClientDataSet* detail)
{
    return runbillposting(&TrmtDM::doexbillreverse, master, detail, false);
}
