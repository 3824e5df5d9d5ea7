// What the posting and reversal of stock-in and stock-out bills share: the transaction around
// the worker and the checks made inside it before anything is written.
#include "ComponentFactory.h"
#include "DM.h"
#include "PostingLine.h"
#include "PostingLookups.h"
#include "StockSql.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/EngineExchanges.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSink.h"
#include <algorithm>
#include <charconv>
#include <optional>

namespace {

// The engine's exchanges with a server, when it has them.
DbExchanges* exchanges(TrmtDM& dm)
{
    return dm.ADOCon->Connected() ? dynamic_cast<DbExchanges*>(&dm.ADOCon->Engine()) : nullptr;
}

// The rows of several statements as fetch reads each (in the logged-in account set, reported to
// the observer), read in one exchange with a server. silent: a failure aborts silently.
QList<DbResult> fetchtogether(TrmtDM& dm, const QStringList& sqls, bool silent)
{
    dm.OpenindicatinnDB(dbname);
    QList<DbResult> results;
    try {
        if (DbExchanges* server = exchanges(dm)) {
            for (const QString& sql : sqls)
                if (dm.OnSQL)
                    dm.OnSQL(sql);
            server->ExecuteEach(sqls, results);
            return results;
        }
        for (const QString& sql : sqls) {
            if (dm.OnSQL)
                dm.OnSQL(sql);
            results.push_back(DbResult());
            dm.ADOCon->Engine().Execute(sql, results.back());
        }
    } catch (...) {
        if (silent)
            Abort();
        throw;
    }
    return results;
}

// The head read by runbillposting, column by column as its SELECT names them; none when the
// bill is not stored.
std::optional<PostingHead> postinghead(const DbResult& r, bool stockin)
{
    if (r.rows.isEmpty())
        return std::nullopt;
    const DbRow& row = r.rows.first();
    const auto flag = [](const Variant& v) { return !v.IsEmptyOrNull() && v.ToBool(); };
    PostingHead h;
    h.pid = intvalue(row[0]);
    h.fid = intvalue(row[1]);
    h.bdate = row[2].IsEmptyOrNull() ? TDateTime() : row[2].ToDateTime();
    h.billnum = VarToStr(row[3]);
    h.recorded = flag(row[4]);
    if (stockin) {
        h.cid = intvalue(row[5]);
        h.cfid = intvalue(row[6]);
        h.supid = intvalue(row[7]);
        h.counterpart = stocksql::counterpart(VarToStr(row[8]), VarToStr(row[9]));
    } else {
        h.dptid = intvalue(row[5]);
        h.counterpart = stocksql::counterpart(VarToStr(row[6]), VarToStr(row[7]));
        h.bcylm = flag(row[8]);
    }
    return h;
}

// The lines read by runbillposting, column by column as its SELECT names them.
PostingLines postinglines(const DbResult& r, bool stockin)
{
    PostingLines lines;
    lines.reserve(size_t(r.rows.size()));
    for (const DbRow& row : r.rows) {
        PostingLine l;
        l.fid = intvalue(row[0]);
        l.mid = intvalue(row[1]);
        (stockin ? l.idid : l.rpid) = intvalue(row[2]);
        l.qty = doublevalue(row[3]);
        l.sprice = doublevalue(row[4]);
        l.dprice = doublevalue(row[5]);
        l.rsprice = doublevalue(row[6]);
        l.rdprice = doublevalue(row[7]);
        l.remark = VarToStr(row[8]);
        l.model = intvalue(row[9]);
        l.turnover = intvalue(row[10]) == 1;
        if (!stockin) {
            l.cid = intvalue(row[11]);
            l.cfid = intvalue(row[12]);
            l.supid = intvalue(row[13]);
        }
        lines.push_back(std::move(l));
    }
    return lines;
}

} // namespace

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
        // The head and the lines as the bill's line view shows them (those whose material exists,
        // in line order, each with the kind of its material), in one exchange; the first
        // statement waits for the write lock, in turn behind the other workstations.
        const QStringList reads{
            stockin ? QStringLiteral("select pid,fid,bdate,billnum,brecorded,cid,cfid,supid,cfname,supname "
                                     "from vibmaster where fid=") + fid
                    : QStringLiteral("select pid,fid,bdate,billnum,brecorded,dptid,dptname,pjtname,bcylm "
                                     "from vebmaster where fid=") + fid,
            stockin ? QStringLiteral("select a.fid,a.mid,a.idid,a.qty,a.sprice,a.dprice,a.rsprice,a.rdprice,a.remark,"
                                     "b.pricemodal,b.breedtype from ibdetail a inner join mtrlist m on a.mid=m.fid "
                                     "left outer join breedlist b on m.bid=b.fid where a.iid=")
                          + fid + QStringLiteral(" order by a.fid")
                    : QStringLiteral("select a.fid,a.mid,a.rpid,a.qty,a.sprice,a.dprice,a.rsprice,a.rdprice,a.remark,"
                                     "b.pricemodal,b.breedtype,a.cid,a.cfid,a.supid from ebdetail a inner join mtrlist m "
                                     "on a.mid=m.fid left outer join breedlist b on m.bid=b.fid where a.eid=")
                          + fid + QStringLiteral(" order by a.fid")};
        QList<DbResult> read;
        try {
            read = fetchtogether(*this, reads, false);
        } catch (const EOleException& e) {
            if (e.Message().startsWith(QLatin1String("Lock request time out period exceeded")))
                MessageSink::Show(MsgKind::Warning, QStringLiteral("其他工作站正在记帐，等候超时：本次操作没有完成，数据未作任何改动，请稍后再试！"));
            throw;
        }
        const std::optional<PostingHead> head = postinghead(read.value(0), stockin);
        const PostingLines lines = postinglines(read.value(1), stockin);
        // The caller's lines end after the last one, as after a walk over them.
        detail->Last();
        detail->Next();
        // What the worker reads of the rows it changes holds for this transaction only.
        m_lookups = std::make_unique<PostingLookups>();
        struct Drop { std::unique_ptr<PostingLookups>& p; ~Drop() { p.reset(); } } drop{m_lookups};
        if (!head)
            MessageSink::Show(MsgKind::Information, QStringLiteral("票据不存在，请先保存票据！！！"));
        else if ((this->*worker)(*head, lines)) {
            m_lookups.reset();
            // The caller's statements belong to the posting: one that fails undoes it. They run
            // after the posting's held writes have gone (a failing one of those is named).
            if (!extra.isEmpty())
                if (DbExchanges* server = exchanges(*this))
                    server->SendHeld();
            if (std::all_of(extra.begin(), extra.end(), [this](const QString& sql) { return execsql(sql); })) {
                CommitTrans();
                return true;
            }
        }
    } catch (...) {
    }
    // A held write that failed when it went to the server is named as a write that fails at
    // once would be.
    const DbExchanges* server = exchanges(*this);
    const QString failed = server ? server->HeldFailure() : QString();
    if (!failed.isEmpty())
        MessageSink::Show(MsgKind::Information, QStringLiteral("数据数据出错：") + failed);
    try {
        if (IntransAction())
            RollbackTrans();
    } catch (...) {
    }
    return false;
}

bool TrmtDM::billpostable(const PostingHead& head, bool audit)
{
    // The open period as it stands now: another client may have closed the period since
    // this one logged in.
    if (head.pid != GetID(QStringLiteral("pid"))) {
        MessageSink::Show(MsgKind::Information, audit ? QStringLiteral("不允许审核非本期的票据！！！")
                                                      : QStringLiteral("不允许反审核结转过的票据！！！"));
        return false;
    }
    // The bill's state as read in this transaction: another client may have audited or
    // un-audited it since this one loaded it.
    if (audit && head.recorded) {
        MessageSink::Show(MsgKind::Information, QStringLiteral("票据已经审核，不允许重复审核！！！"));
        return false;
    }
    if (!audit && !head.recorded) {
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
    // Writes held until now go first: one of them that fails is what the clerk is told.
    if (!found && m_lookups)
        if (DbExchanges* server = exchanges(*this))
            server->SendHeld();
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

} // namespace

void TrmtDM::prereadlines(const PostingLines& lines, bool stockin, bool audit, int dptid)
{
    if (!m_lookups || lines.empty())
        return;
    QList<int> mids, linekeys, drawn, averaged, planned, turnover;
    mids.reserve(qsizetype(lines.size()));
    linekeys.reserve(qsizetype(lines.size()));
    for (const PostingLine& l : lines) {
        mids << l.mid;
        linekeys << l.fid;
        if (stockin && l.idid > 0)
            linekeys << l.idid;
        if (!stockin && l.rpid != 0)
            drawn << l.rpid;
        // The other tables for the materials whose lines look them up, by their kind.
        if (l.model == 1)
            averaged << l.mid;
        else if (l.model == 2)
            planned << l.mid;
        if (l.turnover)
            turnover << l.mid;
    }
    // Every read goes to the engine in one exchange; what each read is kept as.
    struct Read {
        QString table;
        QString key, second;   // the key field(s)
        QList<int> keys;
    };
    std::vector<Read> kept;
    QStringList sqls;
    const auto read = [&](const QString& table, const QString& key, const QList<int>& keys, const QString& sql,
                          const QString& second = QString()) {
        kept.push_back(Read{table, key, second, keys});
        sqls << sql;
    };
    const QString mid = QStringLiteral("mid");
    read(QStringLiteral("msrglist"), mid, mids, QStringLiteral("select mid,qty,cost from msrglist where ") + inlist(mid, mids));
    if (audit && !averaged.isEmpty())
        read(QStringLiteral("maplist"), mid, averaged, QStringLiteral("select mid from maplist where ") + inlist(mid, averaged));
    if (stockin && audit && !planned.isEmpty())
        read(QStringLiteral("mpplist"), mid, planned, QStringLiteral("select mid from mpplist where ") + inlist(mid, planned));
    if (!turnover.isEmpty())
        read(QStringLiteral("cyldb"), mid, turnover,
             QStringLiteral("select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb where ") + inlist(mid, turnover));
    // The batches with every key the writes name them by.
    const auto batches = [&](const char* key, const char* others, const QList<int>& keys) {
        const QString k = QString::fromLatin1(key);
        read(QStringLiteral("mrplist"), k, keys,
             QStringLiteral("select ") + k + QLatin1Char(',') + QLatin1String(others)
                 + QStringLiteral(",qty,dprice,rdprice,rsprice from mrplist where ") + inlist(k, keys));
    };
    if (stockin)
        batches("iid", "fid,eid", linekeys);
    else
        batches("eid", "fid,iid", linekeys);
    if (!drawn.isEmpty())
        batches("fid", "iid,eid", drawn);
    if (!stockin && dptid != 0 && !turnover.isEmpty()) {
        QList<int> pairs;   // (dptid, mid) one after the other
        pairs.reserve(turnover.size() * 2);
        for (int m : std::as_const(turnover))
            pairs << dptid << m;
        read(QStringLiteral("cyldptlist"), QStringLiteral("dptid"), pairs,
             QStringLiteral("select dptid,mid,qty,cost from cyldptlist where dptid=") + QString::number(dptid)
                 + QStringLiteral(" and ") + inlist(mid, turnover),
             mid);
    }
    QList<DbResult> results = fetchtogether(*this, sqls, true);
    for (size_t i = 0; i < kept.size(); ++i) {
        const Read& r = kept[i];
        DbResult result = i < size_t(results.size()) ? std::move(results[qsizetype(i)]) : DbResult();
        if (r.second.isEmpty())
            m_lookups->take(r.table, {r.key}, r.keys, std::move(result));
        else
            m_lookups->take(r.table, {r.key, r.second}, r.keys, std::move(result));
    }
}

const PostingRows* TrmtDM::postedrows(const QString& table, std::initializer_list<QString> keyfields,
                                      std::initializer_list<int> keys) const
{
    return m_lookups ? m_lookups->find(table, keyfields, keys) : nullptr;
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
