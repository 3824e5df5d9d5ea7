// Auditing (posting) and un-auditing (reversal) of stock-in bills, line by line through the
// ledger primitives, inside the transaction of runbillposting.
#include "DM.h"
#include "StockSql.h"
#include "frmconst.h"

namespace {

struct ImHead {
    int pid, fid, cid, cfid, supid;
    TDateTime bdate;
    QString billnum, counterpart;
};

struct ImLine {
    int fid, mid, idid;
    double qty, sprice, dprice;
    // The pair the line adds to its price batch: unit price P and amount A.
    double p, a;
    QString remark;
};

ImHead readhead(TClientDataSet* m)
{
    auto f = [m](const char* name) { return m->FieldByName(QString::fromLatin1(name)); };
    ImHead h;
    h.pid = f("pid")->AsInteger();
    h.fid = f("fid")->AsInteger();
    h.bdate = f("bdate")->AsDateTime();
    h.billnum = f("billnum")->AsString();
    h.cid = f("cid")->AsInteger();
    h.cfid = f("cfid")->AsInteger();
    h.supid = f("supid")->AsInteger();
    h.counterpart = stocksql::counterpart(f("cfname")->AsString(), f("supname")->AsString());
    return h;
}

// The posting and its reversal use the same pair, chosen by the account set's type: the
// settlement-currency pair for a local account set, the purchase-currency pair otherwise.
ImLine readline(TClientDataSet* d)
{
    auto f = [d](const char* name) { return d->FieldByName(QString::fromLatin1(name)); };
    ImLine l;
    l.fid = f("fid")->AsInteger();
    l.mid = f("mid")->AsInteger();
    l.idid = f("idid")->AsInteger();
    l.qty = f("qty")->AsFloat();
    l.sprice = f("sprice")->AsFloat();
    l.dprice = f("dprice")->AsFloat();
    l.remark = f("remark")->AsString();
    if (systype == TSystype::local) {
        l.p = l.sprice;
        l.a = l.dprice;
    } else {
        l.p = f("Rsprice")->AsFloat();
        l.a = f("rdprice")->AsFloat();
    }
    return l;
}

} // namespace

bool TrmtDM::doimbillrecord(TClientDataSet* master, TClientDataSet* detail)
{
    const int pid = master->FieldByName(QStringLiteral("pid"))->AsInteger();
    const int billfid = master->FieldByName(QStringLiteral("fid"))->AsInteger();
    if (!billpostable(QStringLiteral("ibmaster"), billfid, pid, true))
        return false;
    const ImHead h = readhead(master);
    const QString iid = QStringLiteral("iid");
    detail->First();
    while (!detail->Eof()) {
        const ImLine l = readline(detail);
        const auto [model, turnover] = materialkind(l.mid);
        if (!imaddimexsrglist(h.pid, l.fid, l.mid, h.billnum, h.bdate, QStringLiteral("入库"), h.counterpart, l.qty,
                              l.sprice, l.dprice, l.remark))
            return false;
        if (model == 1) {
            const bool ok = countrowswhere(QStringLiteral("maplist"), QStringLiteral("mid"), l.mid) != 0
                              ? updateavgprice(l.mid, l.qty, l.dprice)
                              : addnewavgprice(l.mid, l.sprice);
            if (!ok)
                return false;
        } else if (model == 2) {
            if (countrowswhere(QStringLiteral("mpplist"), QStringLiteral("mid"), l.mid) == 0
                && !addnewplanprice(l.mid, l.sprice))
                return false;
        }
        if (l.idid == 0) {
            bool ok;
            bool posted = false;
            const stocksql::Batch b = stocksql::readbatch(*this, iid, l.fid, &posted);
            if (posted) {
                ok = updatepricelistbyiid(l.fid, h.billnum, h.bdate, b.qty + l.qty, l.p, b.rdprice + l.a, l.sprice, b.dprice + l.dprice,
                                          h.cid, h.cfid, h.supid, l.remark);
            } else {
                ok = addpricelist(h.pid, l.mid, h.billnum, h.bdate, l.fid, 0, l.qty, l.p, l.a, l.sprice, l.dprice,
                                  h.cid, h.cfid, h.supid, l.remark);
            }
            if (!ok)
                return false;
        } else if (l.idid > 0) {
            bool found = false;
            const stocksql::Batch b = stocksql::readbatch(*this, iid, l.idid, &found);
            if (!batchfound(found))
                return false;
            if (!updatepricelistbyiid_1(l.idid, b.qty + l.qty, b.rdprice + l.a, b.dprice + l.dprice))
                return false;
        }
        if (turnover) {
            const bool ok = countrowswhere(QStringLiteral("cyldb"), QStringLiteral("mid"), l.mid) != 0
                              ? imcycledatabase(l.mid, l.qty, l.dprice)
                              : addnewcycledatabase(l.mid, l.qty, l.dprice);
            if (!ok)
                return false;
        }
        const bool ok = countrowswhere(QStringLiteral("msrglist"), QStringLiteral("mid"), l.mid) != 0
                          ? imaddstorage(l.mid, l.qty, l.dprice)
                          : addnewstorage(l.mid, l.qty, l.dprice);
        if (!ok)
            return false;
        detail->Next();
    }
    if (!setbillrecorded(QStringLiteral("ibmaster"), QStringLiteral("fid"), h.fid, true))
        return false;
    return setbillassessor(QStringLiteral("ibmaster"), h.fid, username);
}

bool TrmtDM::doimbillreverse(TClientDataSet* master, TClientDataSet* detail)
{
    const int pid = master->FieldByName(QStringLiteral("pid"))->AsInteger();
    const int billfid = master->FieldByName(QStringLiteral("fid"))->AsInteger();
    if (!billpostable(QStringLiteral("ibmaster"), billfid, pid, false))
        return false;
    const ImHead h = readhead(master);
    // A bill without lines has nothing to take back; it stays audited.
    if (detail->IsEmpty())
        return false;
    const QString iid = QStringLiteral("iid");
    detail->First();
    while (!detail->Eof()) {
        const ImLine l = readline(detail);
        const auto [model, turnover] = materialkind(l.mid);
        if (!imaddimexsrglist(h.pid, l.fid, l.mid, h.billnum, h.bdate, QStringLiteral("取消入库"), h.counterpart, -l.qty,
                              l.sprice, -l.dprice, l.remark))
            return false;
        // The average first, from the stock that still holds the line.
        if (model == 1 && !updateavgprice(l.mid, -l.qty, -l.dprice))
            return false;
        if (!exaddstorage(l.mid, l.qty, l.dprice))
            return false;
        if (l.idid == 0) {
            bool found = false;
            const stocksql::Batch b = stocksql::readbatch(*this, iid, l.fid, &found);
            if (!batchfound(found))
                return false;
            if (!updatepricelistbyiid(l.fid, h.billnum, h.bdate, b.qty - l.qty, l.p, b.rdprice - l.a, l.sprice, b.dprice - l.dprice,
                                      h.cid, h.cfid, h.supid, l.remark))
                return false;
        } else if (l.idid > 0) {
            bool found = false;
            const stocksql::Batch b = stocksql::readbatch(*this, iid, l.idid, &found);
            if (!batchfound(found))
                return false;
            if (!updatepricelistbyiid_1(l.idid, b.qty - l.qty, b.rdprice - l.a, b.dprice - l.dprice))
                return false;
        }
        if (turnover && !reverseimcycledb(l.mid, l.qty, l.dprice))
            return false;
        detail->Next();
    }
    if (!setbillrecorded(QStringLiteral("ibmaster"), QStringLiteral("fid"), h.fid, false))
        return false;
    return setbillassessor(QStringLiteral("ibmaster"), h.fid, QString());
}
