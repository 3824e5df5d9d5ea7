// Auditing (posting) and un-auditing (reversal) of stock-out bills, line by line through the
// ledger primitives, inside the transaction of runbillposting.
#include "DM.h"
#include "PostingLine.h"
#include "StockSql.h"
#include "frmconst.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/MessageSink.h"

#include <map>

namespace {

struct ExLine {
    int mid, fid, cid, cfid, supid, rpid;
    double qty, rsprice, rdprice, sprice, dprice;
    QString remark;
};

ExLine readline(const PostingLine& f)
{
    ExLine l;
    l.mid = f.mid;
    l.fid = f.fid;
    l.cid = f.cid;
    l.cfid = f.cfid;
    l.supid = f.supid;
    l.rpid = f.rpid;
    l.qty = f.qty;
    l.rsprice = f.rsprice;
    l.rdprice = f.rdprice;
    l.sprice = f.sprice;
    l.dprice = f.dprice;
    l.remark = f.remark;
    return l;
}

} // namespace

bool TrmtDM::batchescover(const PostingLines& lines, bool audit)
{
    // What the lines take from each batch they draw on: an audit takes the issued quantity, a
    // reversal takes back what a return line put in.
    std::map<int, double> drawn;
    for (const PostingLine& l : lines)
        if (l.rpid != 0 && (l.model == 0 || l.model == 2))
            drawn[l.rpid] += audit ? l.qty : -l.qty;
    QList<int> keys;
    for (const auto& [rpid, qty] : drawn)
        if (roundtodigits(6, qty) > 0)
            keys << rpid;
    if (keys.isEmpty())
        return true;
    // Read under the write lock this transaction holds: no other posting changes these
    // batches before the commit.
    QString in;
    for (int rpid : std::as_const(keys))
        in += (in.isEmpty() ? QString() : QStringLiteral(",")) + QString::number(rpid);
    const DbResult r = fetch(QStringLiteral("select a.fid,a.qty,a.bnum,m.mname from mrplist a left outer join mtrlist m "
                                            "on a.mid=m.fid where a.fid in (")
                                 + in + QStringLiteral(") order by a.fid"),
                             0, false);
    for (const DbRow& row : r.rows) {
        const double left = doublevalue(row[1]);
        const double qty = drawn[intvalue(row[0])];
        // Quantities are compared at the precision they are kept with.
        if (roundtodigits(6, left - qty) >= 0)
            continue;
        MessageSink::Show(MsgKind::Error, QStringLiteral("材料“") + VarToStr(row[3]) + QStringLiteral("”价格批次“")
                                              + VarToStr(row[2]) + QStringLiteral("”的库存量(") + FloatToStr(left)
                                              + QStringLiteral(")不足本单出库量(") + FloatToStr(qty)
                                              + (audit ? QStringLiteral(")，票据不能记帐！")
                                                       : QStringLiteral(")，票据不能反记帐！")));
        return false;
    }
    // A batch that is gone is refused by the line that names it.
    return true;
}

bool TrmtDM::doexbillrecord(const PostingHead& h, const PostingLines& lines)
{
    if (!billpostable(h, true))
        return false;
    // A bill without lines posts nothing and stays open.
    if (lines.empty())
        return false;
    if (!batchescover(lines, true))
        return false;
    const QString mid = QStringLiteral("mid");
    prereadlines(lines, false, true, h.bcylm ? 0 : h.dptid);
    for (const PostingLine& line : lines) {
        const ExLine l = readline(line);
        const int model = line.model;
        const bool turnover = line.turnover;
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
    }
    if (!setbillrecorded(QStringLiteral("ebmaster"), QStringLiteral("fid"), h.fid, true))
        return false;
    return setbillassessor(QStringLiteral("ebmaster"), h.fid, username);
}

bool TrmtDM::doexbillreverse(const PostingHead& h, const PostingLines& lines)
{
    if (!billpostable(h, false))
        return false;
    if (lines.empty())
        return false;
    if (!batchescover(lines, false))
        return false;
    prereadlines(lines, false, false, h.bcylm ? 0 : h.dptid);
    for (const PostingLine& line : lines) {
        const ExLine l = readline(line);
        const int model = line.model;
        const bool turnover = line.turnover;
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
    }
    if (!setbillrecorded(QStringLiteral("ebmaster"), QStringLiteral("fid"), h.fid, false))
        return false;
    return setbillassessor(QStringLiteral("ebmaster"), h.fid, QString());
}
