// Auditing (posting) and un-auditing (reversal) of stock-in bills, line by line through the
// ledger primitives, inside the transaction of runbillposting.
#include "DM.h"
#include "PostingLine.h"
#include "StockSql.h"
#include "frmconst.h"

#include <cmath>

namespace {

struct ImLine {
    int fid, mid, idid;
    double qty, sprice, dprice;
    // The pair the line adds to its price batch: unit price P and amount A.
    double p, a;
    // The purchase-currency pair, which P and A are for an overseas account set.
    double rsprice, rdprice;
    QString remark;
};

void takepair(ImLine& l, bool overseas);

// The posting uses the pair the account set's type chooses: the settlement-currency pair for a
// local account set, the purchase-currency pair otherwise.
ImLine readline(const PostingLine& f)
{
    ImLine l;
    l.fid = f.fid;
    l.mid = f.mid;
    l.idid = f.idid;
    l.qty = f.qty;
    l.sprice = f.sprice;
    l.dprice = f.dprice;
    l.remark = f.remark;
    l.rsprice = f.rsprice;
    l.rdprice = f.rdprice;
    takepair(l, systype != TSystype::local);
    return l;
}

void takepair(ImLine& l, bool overseas)
{
    l.p = overseas ? l.rsprice : l.sprice;
    l.a = overseas ? l.rdprice : l.dprice;
}

// Whether a posted line fed its batch the purchase-currency pair. The account set's type may
// have changed since, so the batch tells: its unit price is the P of the pair it was given.
// When the two pairs share their unit price, the type as it stands decides.
bool postedoverseas(TrmtDM& dm, int batchiid, double localp, double overseasp)
{
    const double p = dm.gettablevalues(QStringLiteral("mrplist"), {QStringLiteral("iid")}, {batchiid}, {QStringLiteral("rsprice")})[0];
    auto same = [](double a, double b) { return std::abs(a - b) < 0.00005; };
    if (same(p, localp) != same(p, overseasp))
        return same(p, overseasp);
    return systype != TSystype::local;
}

} // namespace

bool TrmtDM::doimbillrecord(const PostingHead& h, const PostingLines& lines)
{
    if (!billpostable(h, true))
        return false;
    const QString iid = QStringLiteral("iid");
    prereadlines(lines, true, true);
    for (const PostingLine& line : lines) {
        const ImLine l = readline(line);
        const int model = line.model;
        const bool turnover = line.turnover;
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
    }
    if (!setbillrecorded(QStringLiteral("ibmaster"), QStringLiteral("fid"), h.fid, true))
        return false;
    return setbillassessor(QStringLiteral("ibmaster"), h.fid, username);
}

bool TrmtDM::doimbillreverse(const PostingHead& h, const PostingLines& lines)
{
    if (!billpostable(h, false))
        return false;
    // A bill without lines has nothing to take back; it stays audited.
    if (lines.empty())
        return false;
    const QString iid = QStringLiteral("iid");
    prereadlines(lines, true, false);
    for (const PostingLine& line : lines) {
        ImLine l = readline(line);
        // The batch takes back the pair it was given.
        if (l.idid == 0 && countrowswhere(QStringLiteral("mrplist"), iid, l.fid) != 0)
            takepair(l, postedoverseas(*this, l.fid, l.sprice, l.rsprice));
        else if (l.idid > 0 && countrowswhere(QStringLiteral("mrplist"), iid, l.idid) != 0)
            takepair(l, postedoverseas(*this, l.idid,
                                       gettablevalue(QStringLiteral("ibdetail"), QStringLiteral("Fid"), l.idid, QStringLiteral("sprice")),
                                       gettablevalue(QStringLiteral("ibdetail"), QStringLiteral("Fid"), l.idid, QStringLiteral("rsprice"))));
        const int model = line.model;
        const bool turnover = line.turnover;
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
    }
    if (!setbillrecorded(QStringLiteral("ibmaster"), QStringLiteral("fid"), h.fid, false))
        return false;
    return setbillassessor(QStringLiteral("ibmaster"), h.fid, QString());
}
