// Auditing (posting) and un-auditing (reversal) of stock-out bills, line by line through the
// ledger primitives, inside the transaction of runbillposting.
#include "DM.h"
#include "StockSql.h"
#include "frmconst.h"

namespace {

struct ExHead {
    int pid, fid, dptid;
    TDateTime bdate;
    QString billnum, counterpart;
    bool bcylm;   // turnover materials issued as consumables
};

struct ExLine {
    int mid, fid, cid, cfid, supid, rpid;
    double qty, rsprice, rdprice, sprice, dprice;
    QString remark;
};

ExHead readhead(TClientDataSet* m)
{
    auto f = [m](const char* name) { return m->FieldByName(QString::fromLatin1(name)); };
    ExHead h;
    h.pid = f("pid")->AsInteger();
    h.fid = f("fid")->AsInteger();
    h.bdate = f("bdate")->AsDateTime();
    h.billnum = f("billnum")->AsString();
    h.dptid = f("dptid")->AsInteger();
    h.counterpart = stocksql::counterpart(f("dptname")->AsString(), f("pjtname")->AsString());
    h.bcylm = f("bcylm")->AsBoolean();
    return h;
}

ExLine readline(stocksql::NamedFields& f)
{
    ExLine l;
    l.mid = f("mid")->AsInteger();
    l.fid = f("fid")->AsInteger();
    l.cid = f("cid")->AsInteger();
    l.cfid = f("cfid")->AsInteger();
    l.supid = f("supid")->AsInteger();
    l.rpid = f("rpid")->AsInteger();
    l.qty = f("qty")->AsFloat();
    l.rsprice = f("rsprice")->AsFloat();
    l.rdprice = f("rdprice")->AsFloat();
    l.sprice = f("sprice")->AsFloat();
    l.dprice = f("dprice")->AsFloat();
    l.remark = f("remark")->AsString();
    return l;
}

} // namespace

bool TrmtDM::doexbillrecord(TClientDataSet* master, TClientDataSet* detail)
{
    const int pid = master->FieldByName(QStringLiteral("pid"))->AsInteger();
    const int billfid = master->FieldByName(QStringLiteral("fid"))->AsInteger();
    if (!billpostable(QStringLiteral("ebmaster"), billfid, pid, true))
        return false;
    const ExHead h = readhead(master);
    // A bill without lines posts nothing and stays open.
    if (detail->IsEmpty())
        return false;
    const QString mid = QStringLiteral("mid");
    prereadlines(detail, false, h.bcylm ? 0 : h.dptid);
    stocksql::NamedFields fields(detail);
    detail->First();
    while (!detail->Eof()) {
        const ExLine l = readline(fields);
        const auto [model, turnover] = materialkind(l.mid);
        if (!exaddimexsrglist(h.pid, l.fid, l.mid, h.billnum, h.bdate, QStringLiteral("出库"), h.counterpart, l.qty,
                              l.sprice, l.dprice, l.remark))
            return false;
        // The price step comes before the stock step: the average is taken from the stock
        // that still holds the line.
        if (model == 0 || model == 2) {
            bool ok;
            bool posted = false;   // the line was posted before: its batch exists
            stocksql::Batch b{};
            if (l.rpid == 0)
                b = stocksql::readbatch(*this, QStringLiteral("eid"), l.fid, &posted);
            if (l.rpid != 0) {
                ok = batchexists(QStringLiteral("fid"), l.rpid) && expricelist(l.rpid, l.qty, l.rdprice, l.dprice);
            } else if (posted) {
                ok = updatepricelistbyeid_1(l.fid, b.qty - l.qty, b.rdprice - l.rdprice, b.dprice - l.dprice);
            } else {
                ok = addpricelist(h.pid, l.mid, h.billnum, h.bdate, 0, l.fid, -l.qty, l.rsprice, -l.rdprice, l.sprice,
                                  -l.dprice, l.cid, l.cfid, l.supid, l.remark);
            }
            if (!ok)
                return false;
        } else if (model == 1) {
            const bool ok = countrowswhere(QStringLiteral("maplist"), mid, l.mid) != 0
                              ? updateavgprice(l.mid, -l.qty, -l.dprice)
                              : addnewavgprice(l.mid, l.sprice);
            if (!ok)
                return false;
        }
        const bool ok = countrowswhere(QStringLiteral("msrglist"), mid, l.mid) != 0
                          ? exaddstorage(l.mid, l.qty, l.dprice)
                          : addnewstorage(l.mid, -l.qty, -l.dprice);
        if (!ok)
            return false;
        if (turnover) {
            // A material issued before it was ever received gets its turnover row here, so
            // the totals and the per-department rows move together.
            if (countrowswhere(QStringLiteral("cyldb"), mid, l.mid) == 0 && !addnewcycledatabase(l.mid, 0, 0))
                return false;
            if (h.bcylm) {
                if (!bcylmexcycledatabase(l.mid, l.qty, l.dprice))
                    return false;
            } else {
                if (!excycledatabase(l.mid, l.qty, l.dprice))
                    return false;
                const bool dpt = countrowswheretwo(QStringLiteral("cyldptlist"), mid, QStringLiteral("dptid"), l.mid,
                                                   h.dptid) != 0
                                   ? excycledptlist(h.dptid, l.mid, l.qty, l.dprice)
                                   : addnewcycledptlist(h.dptid, l.mid, l.qty, l.dprice);
                if (!dpt || !exaddnewcycledetaillist(h.pid, l.fid, l.mid, h.dptid, h.bdate, l.qty, l.dprice, l.remark))
                    return false;
            }
        }
        detail->Next();
    }
    if (!setbillrecorded(QStringLiteral("ebmaster"), QStringLiteral("fid"), h.fid, true))
        return false;
    return setbillassessor(QStringLiteral("ebmaster"), h.fid, username);
}

bool TrmtDM::doexbillreverse(TClientDataSet* master, TClientDataSet* detail)
{
    const int pid = master->FieldByName(QStringLiteral("pid"))->AsInteger();
    const int billfid = master->FieldByName(QStringLiteral("fid"))->AsInteger();
    if (!billpostable(QStringLiteral("ebmaster"), billfid, pid, false))
        return false;
    const ExHead h = readhead(master);
    if (detail->IsEmpty())
        return false;
    prereadlines(detail, false, h.bcylm ? 0 : h.dptid);
    stocksql::NamedFields fields(detail);
    detail->First();
    while (!detail->Eof()) {
        const ExLine l = readline(fields);
        const auto [model, turnover] = materialkind(l.mid);
        if (!exaddimexsrglist(h.pid, l.fid, l.mid, h.billnum, h.bdate, QStringLiteral("取消出库"), h.counterpart,
                              -l.qty, l.sprice, -l.dprice, l.remark))
            return false;
        if (!imaddstorage(l.mid, l.qty, l.dprice))
            return false;
        if (model == 0 || model == 2) {
            bool ok;
            if (l.rpid != 0) {
                ok = batchexists(QStringLiteral("fid"), l.rpid) && expricelist(l.rpid, -l.qty, -l.rdprice, -l.dprice);
            } else {
                bool found = false;
                const stocksql::Batch b = stocksql::readbatch(*this, QStringLiteral("eid"), l.fid, &found);
                ok = batchfound(found)
                  && updatepricelistbyeid_1(l.fid, b.qty + l.qty, b.rdprice + l.rdprice, b.dprice + l.dprice);
            }
            if (!ok)
                return false;
        } else if (model == 1) {
            // After the stock step: the restored stock less the line gives the average the
            // material has now, which the reversal keeps.
            if (!updateavgprice(l.mid, -l.qty, -l.dprice))
                return false;
        }
        if (turnover) {
            if (h.bcylm) {
                if (!bcylmreverseexcycledb(l.mid, l.qty, l.dprice))
                    return false;
            } else if (!reverseexcycledb(l.mid, l.qty, l.dprice)
                       || !reverseexcycledptlist(h.dptid, l.mid, l.qty, l.dprice)
                       || !reverseexcycledetaillist(l.fid)) {
                return false;
            }
        }
        detail->Next();
    }
    if (!setbillrecorded(QStringLiteral("ebmaster"), QStringLiteral("fid"), h.fid, false))
        return false;
    return setbillassessor(QStringLiteral("ebmaster"), h.fid, QString());
}
