// Cost statistics: one quantity and one amount per report cell, from the current tables for
// the open period and from the snapshots of the period close for a closed one; and the lists
// of tree nodes the reports use as rows and columns.
#include "DM.h"
#include "DataProcess.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/sqlite/SqliteEngine.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>

namespace {

QString num(int v) { return QString::number(v); }
QString q(const Variant& v) { return vartosqlvalue(v); }


TClientDataSetPtr opened(const TDataPacket& packet)
{
    TClientDataSetPtr cds(NewClientDataSet());
    cds->SetData(packet);
    return cds;
}

int rowcount(const TClientDataSetPtr& cds) { return cds->Active() ? cds->RecordCount() : 0; }

const QString kInCommon = QStringLiteral("select sum(b.qty) as qty,sum(b.dprice) as dprice from ");

QString prefix(const QString& code) { return likeprefix(code); }

// The embedded engine orders text by code points with letters folded, so a code prefix can
// also be given to it as a range its indexes serve.
bool ranged(TADOConnection& con) { return dynamic_cast<sqlitedb::SqliteEngine*>(&con.Engine()) != nullptr; }

// The period term of the bill masters in a category's statement. On the embedded engine it is
// kept off the period index ("+a.pid"), so the engine reads the category's materials from the
// code range and their bill lines by material, not every line of the period per category.
QString billperiod(TADOConnection& con, int periodno)
{
    return (ranged(con) ? QStringLiteral("+a.pid=") : QStringLiteral("a.pid=")) + num(periodno);
}

} // namespace

QString TrmtDM::codeprefix(const QString& column, const QString& code)
{
    return prefixcondition(column, code, ranged(*ADOCon));
}

namespace {


} // namespace

void TrmtDM::readnumcost(const QString& sql, const QString& numfield, const QString& costfield, double& num,
                         double& cost)
{
    OpenindicatinnDB(dbname);
    openquery(sql);
    if (tempqry->IsEmpty()) {
        num = 0;
        cost = 0;
    } else {
        tempqry->First();
        num = doublevalue(tempqry->FieldByName(numfield)->Value());
        cost = doublevalue(tempqry->FieldByName(costfield)->Value());
    }
    tempqry->Close();
}

QString TrmtDM::subtreecondition(const QString& tablename, const QString& code, const QString& idcolumn)
{
    // A node's code is its parent's code followed by its own key in at least three digits, so
    // once keys pass 999 a code is no longer a unique prefix ("000100" begins "0001000"). Every
    // node of the subtree does begin with the code; the prefix's other nodes are told apart by
    // their parent links.
    OpenindicatinnDB(dbname);
    TQueryPtr query(NewQuery());
    const QString sql = QStringLiteral("select fid,pfid,code from ") + tablename + QStringLiteral(" where ")
                        + codeprefix(QStringLiteral("code"), code);
    query->SQL().append(sql);
    query->Open();
    QHash<int, int> parent;
    QSet<int> inside;
    for (query->First(); !query->Eof(); query->Next()) {
        const int fid = query->FieldByName(QStringLiteral("fid"))->AsInteger();
        parent.insert(fid, query->FieldByName(QStringLiteral("pfid"))->AsInteger());
        if (query->FieldByName(QStringLiteral("code"))->AsString() == code)
            inside.insert(fid);
    }
    if (inside.isEmpty())
        return QString(); // not a node's code (e.g. "0" for every category): the prefix stands
    // A node is in the subtree when one of its ancestors among the prefix's nodes is a root of it.
    QSet<int> outside;
    std::function<bool(int, int)> within = [&](int fid, int depth) -> bool {
        if (inside.contains(fid))
            return true;
        if (outside.contains(fid) || depth > parent.size())
            return false;
        const auto it = parent.constFind(fid);
        const bool in = it != parent.constEnd() && it.value() != fid && within(it.value(), depth + 1);
        (in ? inside : outside).insert(fid);
        return in;
    };
    for (auto it = parent.constBegin(); it != parent.constEnd(); ++it)
        within(it.key(), 0);
    if (outside.isEmpty())
        return QString();
    QList<int> keys = inside.values();
    std::sort(keys.begin(), keys.end());
    QStringList texts;
    for (int k : keys)
        texts << num(k);
    return QStringLiteral(" and ") + idcolumn + QStringLiteral(" in (") + texts.join(QLatin1Char(',')) + QStringLiteral(")");
}

// ----- per material -----

void TrmtDM::Getmtrinitnumcost(double& prenum, double& Precost, int periodno, int materialno)
{
    const QString sql = periodno == curpid
        ? QStringLiteral("select sum(preqty) as preqty,sum(precost) as preprice from msrglist where mid=") + num(materialno)
        : QStringLiteral("select sum(preqty) as preqty,sum(precost) as preprice from premsrglist where  pid=")
              + num(periodno) + QStringLiteral(" and mid=") + num(materialno);
    readnumcost(sql, QStringLiteral("preqty"), QStringLiteral("preprice"), prenum, Precost);
}

void TrmtDM::Getmtrendnumcost(double& num_, double& cost, int periodno, int materialno)
{
    const QString sql = periodno == curpid
        ? QStringLiteral("select sum(qty) as qty,sum(cost) as price from msrglist where mid=") + num(materialno)
        : QStringLiteral("select sum(qty) as qty,sum(cost) as price from premsrglist where  pid=") + num(periodno)
              + QStringLiteral(" and mid=") + num(materialno);
    readnumcost(sql, QStringLiteral("qty"), QStringLiteral("price"), num_, cost);
}

void TrmtDM::Getmtrinnumcost(double& num_, double& cost, int periodno, int materialno)
{
    readnumcost(QStringLiteral("select sum(b.qty) as qty,sum(b.dprice) as dprice from ibmaster a,ibdetail b")
                    + QStringLiteral(" where a.fid=b.iid and a.pid=") + num(periodno)
                    + QStringLiteral(" and a.brecorded=1 and b.mid=") + num(materialno),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

void TrmtDM::Getmtrexnumcost(double& num_, double& cost, int periodno, int materialno)
{
    readnumcost(QStringLiteral("select sum(b.qty) as qty,sum(b.dprice) as dprice from ebmaster a,ebdetail b")
                    + QStringLiteral("  where a.fid=b.eid and a.pid=") + num(periodno)
                    + QStringLiteral(" and a.brecorded=1 and b.mid=") + num(materialno),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

// ----- per category -----

void TrmtDM::GetTypeinitnumcost(double& num_, double& cost, const QString& code, int periodno)
{
    const QString sub = subtreecondition(QStringLiteral("breedlist"), code, QStringLiteral("b.bid"));
    const QString sql = periodno == curpid
        ? QStringLiteral("select sum(a.preqty) as preqty ,sum(a.precost) as preprice from msrglist a,mtrlist b ")
              + QStringLiteral("where  a.mid=b.fid and ") + codeprefix(QStringLiteral("b.code"), code)
        : QStringLiteral("select sum(a.preqty) as preqty,sum(a.precost) as preprice from premsrglist a,mtrlist b ")
              + QStringLiteral("where  a.mid=b.fid and a.pid=") + num(periodno) + QStringLiteral(" and ")
              + codeprefix(QStringLiteral("b.code"), code);
    readnumcost(sql + sub, QStringLiteral("preqty"), QStringLiteral("preprice"), num_, cost);
}

void TrmtDM::GetTypeendnumcost(double& num_, double& cost, const QString& code, int periodno)
{
    const QString sub = subtreecondition(QStringLiteral("breedlist"), code, QStringLiteral("b.bid"));
    const QString sql = periodno == curpid
        ? QStringLiteral("select sum(a.qty) as qty,sum(a.cost) as price from msrglist a,mtrlist b ")
              + QStringLiteral("where  a.mid=b.fid and ") + codeprefix(QStringLiteral("b.code"), code)
        : QStringLiteral("select sum(a.qty) as qty,sum(a.cost) as price from premsrglist a,mtrlist b ")
              + QStringLiteral("where  a.mid=b.fid and  a.pid=") + num(periodno) + QStringLiteral(" and ")
              + codeprefix(QStringLiteral("b.code"), code);
    readnumcost(sql + sub, QStringLiteral("qty"), QStringLiteral("price"), num_, cost);
}

void TrmtDM::GetTypeInnumcost(double& num_, double& cost, const QString& code, int periodno)
{
    readnumcost(kInCommon + QStringLiteral("ibmaster a,ibdetail b,mtrlist c")
                    + QStringLiteral("  where a.fid=b.iid and b.mid=c.fid and ") + billperiod(*ADOCon, periodno)
                    + QStringLiteral(" and a.brecorded=1 and ")
                    + codeprefix(QStringLiteral("c.code"), code)
                    + subtreecondition(QStringLiteral("breedlist"), code, QStringLiteral("c.bid")),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

void TrmtDM::GetTypeexnumcost(double& num_, double& cost, const QString& code, int periodno)
{
    readnumcost(kInCommon + QStringLiteral("ebmaster a,ebdetail b,mtrlist c")
                    + QStringLiteral("  where a.fid=b.eid and b.mid=c.fid and ") + billperiod(*ADOCon, periodno)
                    + QStringLiteral(" and a.brecorded=1 and ")
                    + codeprefix(QStringLiteral("c.code"), code)
                    + subtreecondition(QStringLiteral("breedlist"), code, QStringLiteral("c.bid")),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

// ----- per category and a second item -----

namespace {
const QString kInTables = QStringLiteral("ibmaster a,ibdetail b,mtrlist c");
const QString kInJoin = QStringLiteral(" where a.fid=b.iid and b.mid=c.fid and ");
const QString kExTables = QStringLiteral("ebmaster a,ebdetail b,mtrlist c");
const QString kExJoin = QStringLiteral(" where a.fid=b.eid and b.mid=c.fid and ");
const QString kCategory = QStringLiteral(" and a.brecorded=1 and ");
} // namespace

void TrmtDM::itemcodenumcost(double& num_, double& cost, bool receipts, const QString& breedcode,
                             const QString& itemclause, const QString& itemcode, const QString& itemtable,
                             const QString& idcolumn, int periodno)
{
    readnumcost(kInCommon + (receipts ? kInTables + kInJoin : kExTables + kExJoin) + billperiod(*ADOCon, periodno) + kCategory
                    + codeprefix(QStringLiteral("c.code"), breedcode) + itemclause + prefix(itemcode)
                    + subtreecondition(QStringLiteral("breedlist"), breedcode, QStringLiteral("c.bid"))
                    + subtreecondition(itemtable, itemcode, idcolumn),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

void TrmtDM::getinnumcostbycfcode(double& num_, double& cost, const QString& breedcode, const QString& cfcode,
                                 int periodno)
{
    itemcodenumcost(num_, cost, true, breedcode, QStringLiteral(" and a.cfcode like'"), cfcode, QStringLiteral("cflist"),
                    QStringLiteral("a.cfid"), periodno);
}

void TrmtDM::getinnumcostbysupcode(double& num_, double& cost, const QString& breedcode, const QString& supcode,
                                  int periodno)
{
    itemcodenumcost(num_, cost, true, breedcode, QStringLiteral(" and a.supcode like'"), supcode, QStringLiteral("suplist"),
                    QStringLiteral("a.supid"), periodno);
}

void TrmtDM::getinnumcostbycid(double& num_, double& cost, const QString& breedcode, int cid, int periodno)
{
    readnumcost(QStringLiteral("select sum(b.qty) as qty,sum(b.amount) as dprice from ") + kInTables + kInJoin
                    + billperiod(*ADOCon, periodno) + kCategory + codeprefix(QStringLiteral("c.code"), breedcode) + QStringLiteral(" and a.cid =") + q(cid)
                    + subtreecondition(QStringLiteral("breedlist"), breedcode, QStringLiteral("c.bid")),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

void TrmtDM::getinnumcostbycf(double& num_, double& cost, const QString& code, int cfid, int periodno)
{
    readnumcost(kInCommon + kInTables + kInJoin + billperiod(*ADOCon, periodno) + kCategory + codeprefix(QStringLiteral("c.code"), code) + QStringLiteral(" and a.cfid=")
                    + num(cfid) + subtreecondition(QStringLiteral("breedlist"), code, QStringLiteral("c.bid")),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

void TrmtDM::Getexnumcostbydptcode(double& num_, double& cost, const QString& breedcode, const QString& dptcode,
                                  int periodno)
{
    itemcodenumcost(num_, cost, false, breedcode, QStringLiteral(" and a.dptcode like '"), dptcode, QStringLiteral("dptlist"),
                    QStringLiteral("a.dptid"), periodno);
}

void TrmtDM::GetExnumcostbypjtcode(double& num_, double& cost, const QString& breedcode, const QString& pjtcode,
                                  int periodno)
{
    itemcodenumcost(num_, cost, false, breedcode, QStringLiteral(" and a.pjtcode like '"), pjtcode, QStringLiteral("pjtlist"),
                    QStringLiteral("a.pjtid"), periodno);
}

void TrmtDM::Getexnumcostbydpt(double& num_, double& cost, const QString& code, int Departmentno, int periodno)
{
    readnumcost(kInCommon + QStringLiteral("ebmaster a,ebdetail b,mtrlist c ")
                    + QStringLiteral("where a.fid=b.eid and b.mid=c.fid and ") + billperiod(*ADOCon, periodno) + kCategory + codeprefix(QStringLiteral("c.code"), code)
                    + QStringLiteral("  and a.dptid=") + num(Departmentno)
                    + subtreecondition(QStringLiteral("breedlist"), code, QStringLiteral("c.bid")),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

void TrmtDM::GetExnumcostbypjt(double& num_, double& cost, const QString& code, int projectno, int periodno)
{
    readnumcost(kInCommon + kExTables + kExJoin + billperiod(*ADOCon, periodno) + kCategory + codeprefix(QStringLiteral("c.code"), code) + QStringLiteral(" and a.pjtid=")
                    + num(projectno) + subtreecondition(QStringLiteral("breedlist"), code, QStringLiteral("c.bid")),
                QStringLiteral("qty"), QStringLiteral("dprice"), num_, cost);
}

void TrmtDM::getnumcostbycode(double& num_, double& cost, const QString& breedcode, const QString& itemcode,
                              int periodno, quint8 kind)
{
    switch (kind) {
    case 2: getinnumcostbycfcode(num_, cost, breedcode, itemcode, periodno); break;
    case 3: getinnumcostbysupcode(num_, cost, breedcode, itemcode, periodno); break;
    case 4: Getexnumcostbydptcode(num_, cost, breedcode, itemcode, periodno); break;
    case 5: GetExnumcostbypjtcode(num_, cost, breedcode, itemcode, periodno); break;
    default: break;
    }
}

// ----- turnover materials in use -----

void TrmtDM::getcyldptmuncostbymid(int mid, int dptid, int pid, double& num_, double& cost)
{
    const QString sql = pid == curpid
        ? QStringLiteral("select sum(qty) as qty,sum(cost) as cost   from cyldptlist where  dptid=") + q(dptid)
              + QStringLiteral(" and mid=") + q(mid)
        : QStringLiteral("select sum(qty) as qty,sum(cost) as cost  from precyldptlist where pid=") + q(pid)
              + QStringLiteral(" and dptid=") + q(dptid) + QStringLiteral("and mid=") + q(mid);
    readnumcost(sql, QStringLiteral("qty"), QStringLiteral("cost"), num_, cost);
}

void TrmtDM::getcylmuncostbymid(int mid, int pid, double& num_, double& cost)
{
    const QString sql = pid == curpid
        ? QStringLiteral("select sum(qty) as qry,sum(cost) as cost  from cyldptlist where  mid=") + q(mid)
        : QStringLiteral("select sum(qty) as qry,sum(cost) as cost  from precyldptlist where pid=") + q(pid)
              + QStringLiteral("and mid=") + q(mid);
    readnumcost(sql, QStringLiteral("qry"), QStringLiteral("cost"), num_, cost);
}

// ----- report-tree lists -----

void TrmtDM::walktreenodes(const QString& tablename, TNodeList& list, const TDataPacket& children, int deep,
                           const std::optional<quint8>& kind, int periodno)
{
    TClientDataSetPtr rows = opened(children);
    if (rowcount(rows) == 0)
        return;
    rows->First();
    if (deep < rows->FieldByName(QStringLiteral("tlevel"))->AsInteger())
        return;
    double n = 0;
    double c = 0;
    for (; !rows->Eof(); rows->Next()) {
        tnodelist node;
        node.fid = rows->FieldByName(QStringLiteral("fid"))->AsInteger();
        node.pfid = rows->FieldByName(QStringLiteral("pfid"))->AsInteger();
        node.level = rows->FieldByName(QStringLiteral("tlevel"))->AsInteger();
        node.code = rows->FieldByName(QStringLiteral("code"))->AsString();
        node.text = rows->FieldByName(QStringLiteral("prtname"))->AsString();
        node.bparent = rows->FieldByName(QStringLiteral("bparent"))->AsBoolean();
        node.count = 0;
        qsizetype at = -1;
        if (!kind) {
            at = list.size();
            list.append(node);
        } else {
            getnumcostbycode(n, c, QStringLiteral("0"), node.code, periodno, *kind);
            // A node with figures is kept when either is not zero: 5 and -5 still has figures.
            if ((n != 0 || c != 0) && (!node.bparent || node.level == deep)) {
                at = list.size();
                list.append(node);
            }
        }
        if (node.bparent && deep >= node.level) {
            const TDataPacket grand = gettabledata(tablename, QStringLiteral("fid"),
                                                   QStringLiteral("pfid=") + num(node.fid), 20);
            if (at >= 0)
                list[at].count = grand.IsNull() ? 0 : grand.RecordCount();
            walktreenodes(tablename, list, grand, deep, kind, periodno);
        }
    }
}

void TrmtDM::gettreenodelistdef(const QString& tablename, TNodeList& list, int pfid, int deep)
{
    walktreenodes(tablename, list, gettabledata(tablename, QStringLiteral("fid"), QStringLiteral("pfid=") + num(pfid), 20),
                  deep, std::nullopt, 0);
}

void TrmtDM::gettreenodelist(const QString& tablename, TNodeList& list, int pfid, int deep, quint8 kind,
                             quint8 /*billflag*/, int periodno)
{
    walktreenodes(tablename, list, gettabledata(tablename, QStringLiteral("fid"), QStringLiteral("pfid=") + num(pfid), 20),
                  deep, kind, periodno);
}

void TrmtDM::getnodelist(const QString& tablename, TNodeList& list)
{
    TClientDataSetPtr rows = opened(gettabledata(tablename, QStringLiteral("fid"), QStringLiteral("1=1"), 20));
    if (rowcount(rows) == 0)
        return;
    for (rows->First(); !rows->Eof(); rows->Next()) {
        tnodelist node;
        node.fid = rows->FieldByName(QStringLiteral("fid"))->AsInteger();
        node.text = rows->FieldByName(QStringLiteral("cryname"))->AsString();
        list.append(node);
    }
}
