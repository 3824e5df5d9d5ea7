// The stock ledger primitives of the data module: one statement each on the ledger, the
// stock, the price batches, the average and planned prices, the turnover tables and the
// bill heads. Adding and subtracting steps read the current values first (one SELECT per
// column) and write the result back; they rely on the caller's transaction.
// Each statement text is put together in one piece.
#define QT_USE_QSTRINGBUILDER
#include "DM.h"
#include "StockSql.h"
#include "frmconst.h"

using stocksql::lit;
using stocksql::num;

namespace {

// The quantity and cost of the material's stock row (zeros when it has none), in one read.
std::pair<double, double> stock(TrmtDM& dm, int materialid)
{
    const TrmtDM::TableValues v = dm.gettablevalues(QStringLiteral("msrglist"), {QStringLiteral("mid")}, {materialid},
                                                {QStringLiteral("qty"), QStringLiteral("cost")});
    return {v[0], v[1]};
}

} // namespace

// ----- ledger rows -----

bool TrmtDM::imaddimexsrglist(int periodid, int imdetailid, int materialid, const QString& billnum,
                              TDateTime billdate, const QString& comment, const QString& dptprj, double imqty,
                              double imprice, double imcost, const QString& remark)
{
    const auto [qty, cost] = stock(*this, materialid);
    return execsql(QStringLiteral("insert into imexsrglist ")
                   + QStringLiteral("(mid,pid,iid,bdate,bnum,comment,dptprj,iqty,isprice,idprice,srgqty,srgcost,remark)")
                   + QStringLiteral(" values ") + QStringLiteral("(") + num(materialid) + QStringLiteral(",")
                   + num(periodid) + QStringLiteral(",") + num(imdetailid) + QStringLiteral(",") + lit(billdate)
                   + QStringLiteral(",") + lit(billnum) + QStringLiteral(",") + lit(comment) + QStringLiteral(",")
                   + lit(dptprj) + QStringLiteral(",") + num(imqty) + QStringLiteral(",") + num(imprice)
                   + QStringLiteral(",") + num(imcost) + QStringLiteral(",") + num(qty + imqty) + QStringLiteral(",")
                   + num(cost + imcost) + QStringLiteral(",") + lit(remark) + QStringLiteral(")"));
}

bool TrmtDM::exaddimexsrglist(int periodid, int exdetailid, int materialid, const QString& billnum,
                              TDateTime billdate, const QString& comment, const QString& dptprj, double exqty,
                              double exprice, double excost, const QString& remark)
{
    const auto [qty, cost] = stock(*this, materialid);
    return execsql(QStringLiteral("insert into imexsrglist ")
                   + QStringLiteral("(mid,pid,eid,bdate,bnum,comment,dptprj,eqty,esprice,edprice,srgqty,srgcost,remark)")
                   + QStringLiteral(" values ") + QStringLiteral("(") + num(materialid) + QStringLiteral(",")
                   + num(periodid) + QStringLiteral(",") + num(exdetailid) + QStringLiteral(",") + lit(billdate)
                   + QStringLiteral(",") + lit(billnum) + QStringLiteral(",") + lit(comment) + QStringLiteral(",")
                   + lit(dptprj) + QStringLiteral(",") + num(exqty) + QStringLiteral(",") + num(exprice)
                   + QStringLiteral(",") + num(excost) + QStringLiteral(",") + num(qty - exqty) + QStringLiteral(",")
                   + num(cost - excost) + QStringLiteral(",") + lit(remark) + QStringLiteral(")"));
}

bool TrmtDM::imdelimexsrglist(int imdetialid)
{
    return execsql(QStringLiteral("delete imexsrglist where iid=") + num(imdetialid));
}

bool TrmtDM::exdelimexsrglist(int imdetialid)
{
    return execsql(QStringLiteral("delete imexsrglist where eid=") + num(imdetialid));
}

// The ledger has no column rid: this statement fails and returns False.
bool TrmtDM::redelimexsrglist(int imdetialid)
{
    return execsql(QStringLiteral("delete imexsrglist where rid=") + num(imdetialid));
}

// ----- stock -----

bool TrmtDM::addnewstorage(int materialid, double quantity, double cost)
{
    writesrows(QStringLiteral("msrglist"), {QStringLiteral("mid")}, {materialid});
    return execsql(QStringLiteral("insert into msrglist ") + QStringLiteral("(mid,qty,cost)") + QStringLiteral(" values ")
                   + QStringLiteral("(") + num(materialid) + QStringLiteral(",") + num(quantity) + QStringLiteral(",")
                   + num(cost) + QStringLiteral(")"));
}

namespace {

QString storageupdate(int materialid, double qty, double cost)
{
    return QStringLiteral("update msrglist set ") + QStringLiteral("qty=") + num(qty) + QStringLiteral(",cost=")
         + num(cost) + QStringLiteral(" where mid=") + num(materialid);
}

} // namespace

bool TrmtDM::imaddstorage(int materialid, double quantity, double cost)
{
    const auto [q, c] = stock(*this, materialid);
    writesrows(QStringLiteral("msrglist"), {QStringLiteral("mid")}, {materialid});
    return execsql(storageupdate(materialid, q + quantity, c + cost));
}

bool TrmtDM::exaddstorage(int materialid, double quantity, double cost)
{
    const auto [q, c] = stock(*this, materialid);
    writesrows(QStringLiteral("msrglist"), {QStringLiteral("mid")}, {materialid});
    return execsql(storageupdate(materialid, q - quantity, c - cost));
}

bool TrmtDM::readdstorage(int materialid, double quantity, double cost)
{
    return imaddstorage(materialid, quantity, cost);
}

// ----- price batches -----

bool TrmtDM::addpricelist(int pid, int materialid, const QString& billnum, TDateTime billdate, int iiD, int eid,
                          double qty, double rsprice, double rdprice, double sprice, double dprice, int cid, int cfid,
                          int supid, const QString& remark)
{
    const QString c = QStringLiteral(",");
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("iid")}, {iiD});
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("eid")}, {eid});
    return execsql(QStringLiteral("insert into mrplist ")
                   + QStringLiteral("(pid,mid,bdate,bnum,iid,eid,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,rsprice,rdprice,cid,cfid,supid,remark)")
                   + QStringLiteral(" values ") + QStringLiteral("(") + lit(pid) + c + num(materialid) + c
                   + lit(billdate) + c + lit(billnum) + c + lit(iiD) + c + lit(eid) + c + lit(qty) + c + lit(rdprice)
                   + c + lit(dprice) + c + lit(qty) + c + lit(sprice) + c + lit(dprice) + c + lit(rsprice) + c
                   + lit(rdprice) + c + lit(cid) + c + lit(cfid) + c + lit(supid) + c + lit(remark)
                   + QStringLiteral(")"));
}

bool TrmtDM::expricelist(int pricelistID, double Qty, double rdprice, double dprice)
{
    const stocksql::Batch b = stocksql::readbatch(*this, QStringLiteral("fid"), pricelistID);
    const double q = b.qty, d = b.dprice, rd = b.rdprice;
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("fid")}, {pricelistID});
    return execsql(QStringLiteral("update mrplist set qty=") + num(q - Qty) + QStringLiteral(",rdprice=")
                   + num(rd - rdprice) + QStringLiteral(",dprice=") + num(d - dprice) + QStringLiteral(" where fid=")
                   + num(pricelistID));
}

bool TrmtDM::updatepricelistbyiid(int IID, const QString& billnum, TDateTime billdate, double qty, double rsprice,
                                  double rdprice, double sprice, double dprice, int cid, int cfid, int supid,
                                  const QString& remark)
{
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("iid")}, {IID});
    return execsql(QStringLiteral("update mrplist set ") + QStringLiteral("bnum=") + lit(billnum)
                   + QStringLiteral(",bdate=") + lit(billdate) + QStringLiteral(",orgqty=") + lit(qty)
                   + QStringLiteral(",orgrdprice=") + lit(rdprice) + QStringLiteral(",orgdprice=") + lit(dprice)
                   + QStringLiteral(",qty=") + lit(qty) + QStringLiteral(",rsprice=") + lit(rsprice)
                   + QStringLiteral(",rdprice=") + lit(rdprice) + QStringLiteral(",sprice=") + lit(sprice)
                   + QStringLiteral(",dprice=") + lit(dprice) + QStringLiteral(",cid=") + lit(cid)
                   + QStringLiteral(",cfid=") + lit(cfid) + QStringLiteral(",supid=") + lit(supid)
                   + QStringLiteral(",remark=") + lit(remark) + QStringLiteral(" where iid=") + lit(IID));
}

namespace {

QString batchamounts(double qty, double rdprice, double dprice)
{
    return QStringLiteral("update mrplist set ") + QStringLiteral("qty=") + lit(qty) + QStringLiteral(",rdprice=")
         + lit(rdprice) + QStringLiteral(",dprice=") + lit(dprice);
}

} // namespace

bool TrmtDM::updatepricelistbyiid_1(int iid, double qty, double rdprice, double dprice)
{
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("iid")}, {iid});
    return execsql(batchamounts(qty, rdprice, dprice) + QStringLiteral(" where iid=") + lit(iid));
}

bool TrmtDM::updatepricelistbyeid_1(int eid, double qty, double rdprice, double dprice)
{
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("eid")}, {eid});
    return execsql(batchamounts(qty, rdprice, dprice) + QStringLiteral(" where eid=") + lit(eid));
}

// The batch table has no column cfcode: this statement fails and returns False.
bool TrmtDM::updatepricelist(int fID, const QString& billnum, TDateTime billdate, double qty, double sprice,
                             double dprice, const QString& cfcode, const QString& remark)
{
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("fid")}, {fID});
    return execsql(QStringLiteral("update mrplist set ") + QStringLiteral("bnum=") + lit(billnum)
                   + QStringLiteral(",bdate=") + lit(billdate) + QStringLiteral(",orgqty=") + lit(qty)
                   + QStringLiteral(",sprice=") + lit(sprice) + QStringLiteral(",dprice=") + lit(dprice)
                   + QStringLiteral(",cfcode=") + lit(cfcode) + QStringLiteral(",remark=") + lit(remark)
                   + QStringLiteral(" where fid=") + lit(fID));
}

bool TrmtDM::delpricelistbyiid(int iid)
{
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("iid")}, {iid});
    return execsql(QStringLiteral("delete mrplist where iid=") + lit(iid));
}

bool TrmtDM::delpricelistbyeid(int eid)
{
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("eid")}, {eid});
    return execsql(QStringLiteral("delete mrplist where eid=") + lit(eid));
}

// ----- moving-average and planned prices -----

bool TrmtDM::addnewavgprice(int materialid, double avgprice)
{
    writesrows(QStringLiteral("maplist"), {QStringLiteral("mid")}, {materialid});
    return execsql(QStringLiteral("insert into maplist (mid,maprice) values (") + num(materialid) + QStringLiteral(",")
                   + num(avgprice) + QStringLiteral(")"));
}

bool TrmtDM::updateavgprice(int materialid, double quantity, double cost)
{
    const auto [stockqty, stockcost] = stock(*this, materialid);
    const double c = stockcost + cost;
    const double q = stockqty + quantity;
    const double price = roundtodigits(qint8(spricedots), q != 0 ? c / q : 0.0);
    writesrows(QStringLiteral("maplist"), {QStringLiteral("mid")}, {materialid});
    return execsql(QStringLiteral("update maplist set maprice=") + num(price) + QStringLiteral(" where mid=")
                   + num(materialid));
}

bool TrmtDM::addnewplanprice(int materialid, double planprice)
{
    writesrows(QStringLiteral("mpplist"), {QStringLiteral("mid")}, {materialid});
    return execsql(QStringLiteral("insert into mpplist (mid,pprice) values (") + num(materialid) + QStringLiteral(",")
                   + num(planprice) + QStringLiteral(")"));
}

bool TrmtDM::updateplanprice(int materialid, double planprice)
{
    writesrows(QStringLiteral("mpplist"), {QStringLiteral("mid")}, {materialid});
    return execsql(QStringLiteral("update mpplist set pprice=") + num(planprice) + QStringLiteral("where mid=")
                   + num(materialid));
}

// ----- turnover materials -----

bool TrmtDM::addnewcycledatabase(int materialid, double totalqty, double totalcost)
{
    writesrows(QStringLiteral("cyldb"), {QStringLiteral("mid")}, {materialid});
    return execsql(QStringLiteral("insert into cyldb ") + QStringLiteral("(mid,qty,cost,srgqty,srgcost,eqty,ecost)")
                   + QStringLiteral(" values ") + QStringLiteral("(") + num(materialid) + QStringLiteral(",")
                   + num(totalqty) + QStringLiteral(",") + num(totalcost) + QStringLiteral(",") + num(totalqty)
                   + QStringLiteral(",") + num(totalcost) + QStringLiteral(",0,0)"));
}

namespace {

// The four turnover columns a move changes: the pair a, b named and the in-store pair.
struct CycleValues {
    double a, b, srgqty, srgcost;
};

CycleValues cyclevalues(TrmtDM& dm, int materialid, const QString& a, const QString& b)
{
    const TrmtDM::TableValues v = dm.gettablevalues(QStringLiteral("cyldb"), {QStringLiteral("mid")}, {materialid},
                                                {a, b, QStringLiteral("srgqty"), QStringLiteral("srgcost")});
    return {v[0], v[1], v[2], v[3]};
}

} // namespace

// Total and in store change by sign × the move (receipts, their reversal, issues as consumables).
static bool movecycletotal(TrmtDM& dm, int materialid, double qty, double cost, int sign)
{
    const CycleValues v = cyclevalues(dm, materialid, QStringLiteral("qty"), QStringLiteral("cost"));
    dm.writesrows(QStringLiteral("cyldb"), {QStringLiteral("mid")}, {materialid});
    return dm.execsql(QStringLiteral(" update cyldb set ") + QStringLiteral("srgqty=") + num(v.srgqty + sign * qty)
                      + QStringLiteral(",srgcost=") + num(v.srgcost + sign * cost) + QStringLiteral(",qty=")
                      + num(v.a + sign * qty) + QStringLiteral(",cost=") + num(v.b + sign * cost)
                      + QStringLiteral(" where mid=") + num(materialid));
}

// In store changes by −sign × the move and in use by +sign × the move (issues and their reversal).
static bool movecycleuse(TrmtDM& dm, int materialid, double qty, double cost, int sign)
{
    const CycleValues v = cyclevalues(dm, materialid, QStringLiteral("eqty"), QStringLiteral("ecost"));
    dm.writesrows(QStringLiteral("cyldb"), {QStringLiteral("mid")}, {materialid});
    return dm.execsql(QStringLiteral(" update cyldb set ") + QStringLiteral("srgqty=") + num(v.srgqty - sign * qty)
                      + QStringLiteral(",srgcost=") + num(v.srgcost - sign * cost) + QStringLiteral(",eqty=")
                      + num(v.a + sign * qty) + QStringLiteral(",ecost=") + num(v.b + sign * cost)
                      + QStringLiteral(" where mid=") + num(materialid));
}

bool TrmtDM::imcycledatabase(int materialid, double imqty, double imcost)
{
    return movecycletotal(*this, materialid, imqty, imcost, 1);
}

bool TrmtDM::reverseimcycledb(int materialid, double imqty, double imcost)
{
    return movecycletotal(*this, materialid, imqty, imcost, -1);
}

bool TrmtDM::excycledatabase(int materialid, double exqty, double excost)
{
    return movecycleuse(*this, materialid, exqty, excost, 1);
}

bool TrmtDM::reverseexcycledb(int materialid, double exqty, double excost)
{
    return movecycleuse(*this, materialid, exqty, excost, -1);
}

bool TrmtDM::bcylmexcycledatabase(int materialid, double exqty, double excost)
{
    return movecycletotal(*this, materialid, exqty, excost, -1);
}

bool TrmtDM::bcylmreverseexcycledb(int materialid, double exqty, double excost)
{
    return movecycletotal(*this, materialid, exqty, excost, 1);
}

bool TrmtDM::addnewcycledptlist(int departmentid, int materialid, double imqty, double imcost)
{
    writesrows(QStringLiteral("cyldptlist"), {QStringLiteral("dptid"), QStringLiteral("mid")}, {departmentid, materialid});
    return execsql(QStringLiteral("insert into  cyldptlist ") + QStringLiteral("(dptid,mid,qty,cost)")
                   + QStringLiteral(" values ") + QStringLiteral("(") + num(departmentid) + QStringLiteral(",")
                   + num(materialid) + QStringLiteral(",") + num(imqty) + QStringLiteral(",") + num(imcost)
                   + QStringLiteral(")"));
}

static bool movecycledpt(TrmtDM& dm, int departmentid, int materialid, double qty, double cost, int sign)
{
    const TrmtDM::TableValues v = dm.gettablevalues(QStringLiteral("cyldptlist"), {QStringLiteral("dptid"), QStringLiteral("mid")},
                                                {departmentid, materialid}, {QStringLiteral("qty"), QStringLiteral("cost")});
    const double q = v[0], c = v[1];
    dm.writesrows(QStringLiteral("cyldptlist"), {QStringLiteral("dptid"), QStringLiteral("mid")}, {departmentid, materialid});
    return dm.execsql(QStringLiteral("update cyldptlist set ") + QStringLiteral("qty= ") + num(q + sign * qty)
                      + QStringLiteral(",cost=") + num(c + sign * cost) + QStringLiteral("where dptid=")
                      + num(departmentid) + QStringLiteral(" and ") + QStringLiteral("mid=") + num(materialid));
}

bool TrmtDM::excycledptlist(int departmentid, int materialid, double exqty, double excost)
{
    return movecycledpt(*this, departmentid, materialid, exqty, excost, 1);
}

bool TrmtDM::reverseexcycledptlist(int departmentid, int materialid, double exqty, double excost)
{
    return movecycledpt(*this, departmentid, materialid, exqty, excost, -1);
}

bool TrmtDM::exaddnewcycledetaillist(int pid, int exdetailid, int materialid, int dptid, TDateTime bdate,
                                     double quantity, double cost, const QString& remark)
{
    return execsql(QStringLiteral("insert into cyldetaillist ") + QStringLiteral("(eid,mid,dptid,crtdate,qty,remark,pid,cost)")
                   + QStringLiteral(" values ") + QStringLiteral("(") + num(exdetailid) + QStringLiteral(",")
                   + num(materialid) + QStringLiteral(",") + num(dptid) + QStringLiteral(",") + lit(bdate)
                   + QStringLiteral(",") + num(quantity) + QStringLiteral(",") + lit(remark) + QStringLiteral(",")
                   + lit(pid) + QStringLiteral(",") + num(cost) + QStringLiteral(")"));
}

bool TrmtDM::reverseexcycledetaillist(int exdetailid)
{
    return execsql(QStringLiteral("delete cyldetaillist where eid=") + num(exdetailid));
}

// ----- bill-head marks -----

bool TrmtDM::setbillrecorded(const QString& table, const QString& keyfield, int id, bool flag)
{
    return execsql(QStringLiteral("update ") + table + QStringLiteral(" set ")
                   + (flag ? QStringLiteral("brecorded=1") : QStringLiteral("brecorded=0")) + QStringLiteral(" where ")
                   + keyfield + QStringLiteral("=") + num(id));
}

bool TrmtDM::setbillassessor(const QString& table, int fid, const QString& name)
{
    return execsql(QStringLiteral("update ") + table + QStringLiteral(" set assessor=") + lit(name)
                   + QStringLiteral(" where fid=") + lit(fid));
}
