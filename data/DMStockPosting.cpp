// What the posting and reversal of stock-in and stock-out bills share: the transaction around
// the worker and the checks made inside it before anything is written.
#include "ComponentFactory.h"
#include "DM.h"
#include "StockSql.h"
#include "frmconst.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSink.h"

bool TrmtDM::runbillposting(billworker worker, TClientDataSet* master, TClientDataSet* detail, bool stockin)
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
            direct(QStringLiteral("select brecorded from ") + (stockin ? QStringLiteral("ibmaster") : QStringLiteral("ebmaster"))
                   + QStringLiteral(" where fid=") + fid);
        } catch (const EOleException& e) {
            if (e.Message().startsWith(QLatin1String("Lock request time out period exceeded")))
                MessageSink::Show(MsgKind::Warning, QStringLiteral("其他工作站正在记帐，等候超时：本次操作没有完成，数据未作任何改动，请稍后再试！"));
            throw;
        }
        TClientDataSetPtr head(NewClientDataSet());
        TClientDataSetPtr lines(NewClientDataSet());
        head->SetData(gettabledata(stockin ? QStringLiteral("vibmaster") : QStringLiteral("vebmaster"), QStringLiteral("fid"),
                                   QStringLiteral("fid=") + fid, 20));
        lines->SetData(gettabledata(stockin ? QStringLiteral("vibdetail") : QStringLiteral("vebdetail"), QStringLiteral("fid"),
                                    (stockin ? QStringLiteral("iid=") : QStringLiteral("eid=")) + fid, 20));
        // The caller's lines end after the last one, as after a walk over them.
        detail->Last();
        detail->Next();
        if (head->IsEmpty())
            MessageSink::Show(MsgKind::Information, QStringLiteral("票据不存在，请先保存票据！！！"));
        else if ((this->*worker)(head.get(), lines.get())) {
            CommitTrans();
            return true;
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
    TQueryPtr query = direct(QStringLiteral("select brecorded from ") + table + QStringLiteral(" where fid=")
                             + stocksql::num(fid));
    if (query->IsEmpty()) {
        MessageSink::Show(MsgKind::Information, QStringLiteral("票据不存在，请先保存票据！！！"));
        return false;
    }
    const bool recorded = query->FieldByName(QStringLiteral("brecorded"))->AsBoolean();
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

std::pair<int, bool> TrmtDM::materialkind(int mid)
{
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

bool TrmtDM::exbillrecord(TClientDataSet* master, TClientDataSet* detail)
{
    return runbillposting(&TrmtDM::doexbillrecord, master, detail, false);
}

bool TrmtDM::exbillreverse(TClientDataSet* master, TClientDataSet* detail)
{
    return runbillposting(&TrmtDM::doexbillreverse, master, detail, false);
}
