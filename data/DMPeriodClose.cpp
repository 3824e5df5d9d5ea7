// The period close: records the closed period, opens the next one, writes the opening ledger
// rows, snapshots stock and turnover tables under the closed period's id, regroups the turnover
// issue rows per unit and material and rebuilds the bill-number pool, all in one transaction.
#include "DM.h"
#include "DataProcess.h"
#include "frmconst.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/MessageSink.h"

#include <vector>

namespace {

QString q(const Variant& v) { return vartosqlvalue(v); }

// Loads a packet into a factory client dataset positioned on its first row.
TClientDataSetPtr opened(const TDataPacket& packet)
{
    TClientDataSetPtr cds(NewClientDataSet());
    cds->SetData(packet);
    if (cds->Active())
        cds->First();
    return cds;
}

bool hasrows(const TClientDataSetPtr& cds) { return cds->Active() && !cds->IsEmpty(); }

} // namespace

bool TrmtDM::billbalance(TDateTime pbdate, TDateTime pedate, TDateTime newbdate)
{
    try {
        OpenindicatinnDB(dbname);
        BeginTrans();
    } catch (...) {
        return false;
    }
    try {
        if (dobillbalance(pbdate, pedate, newbdate)) {
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

bool TrmtDM::dobillbalance(TDateTime pbdate, TDateTime pedate, TDateTime newbdate)
{
    // 1. The bill-category codes for the new number pool, in key order.
    QStringList codes;
    {
        TClientDataSetPtr types = opened(gettabledata(QStringLiteral("billtype"), QStringLiteral("fid"),
                                                      QStringLiteral("fid>0"), 20));
        if (types->Active())
            for (types->First(); !types->Eof(); types->Next())
                codes << types->FieldByName(QStringLiteral("code"))->AsString();
    }

    // 2. The open period as it stands in the database now, inside the transaction: when another
    // client has closed the period since this one logged in, this close would close the next
    // period with the wrong dates.
    const int oldid = GetID(QStringLiteral("pid"));
    if (oldid != curpid) {
        MessageSink::Show(MsgKind::Information, QStringLiteral("本期已由其他用户扎帐，请重新登录后再扎帐！！！"));
        return false;
    }
    const int newid = GetnewID(QStringLiteral("pid"));

    if (!balancenewperiod(oldid, newid, pbdate, pedate, newbdate))
        return false;
    if (!balancecarryledger(newid))
        return false;
    if (!balancesnapshotstorage(oldid))
        return false;
    if (!balanceresetstorage())
        return false;
    if (!balancesnapshotcyldb(oldid))
        return false;
    if (!balancesnapshotcyldpt(oldid))
        return false;
    if (!balancecarrycycledetail(oldid, newid, pedate, newbdate))
        return false;
    if (!deletebilltypelist())
        return false;
    if (!createnewbilltypelist(codes))
        return false;
    curpid = newid;
    return true;
}

bool TrmtDM::balancenewperiod(int oldid, int newid, TDateTime pbdate, TDateTime pedate, TDateTime newbdate)
{
    if (!execsql(QStringLiteral("insert into periodlist (pid,crtdate,enddate) values ") + QStringLiteral("(")
                 + q(oldid) + QStringLiteral(",") + q(pbdate) + QStringLiteral(",") + q(pedate) + QStringLiteral(")")))
        return false;
    return execsql(QStringLiteral("update currentpid set  periodid=") + q(newid) + QStringLiteral(",")
                   + QStringLiteral("crtdate=") + q(newbdate));
}

bool TrmtDM::balancecarryledger(int newid)
{
    TClientDataSetPtr stock = opened(gettabledata(QStringLiteral("msrglist"), QStringLiteral("mid"),
                                                  QStringLiteral("1=1"), 20));
    if (!hasrows(stock))
        return true; // nothing in stock: no opening rows to write
    const QString today = q(datetoday());
    const QString comment = q(QStringLiteral("期末结转"));
    for (stock->First(); !stock->Eof(); stock->Next()) {
        const QString sql = QStringLiteral("insert into imexsrglist (mid,Pid,bdate,Comment,srgQty, srgcost) values (")
                            + q(stock->FieldByName(QStringLiteral("mid"))->Value()) + QStringLiteral(",") + q(newid)
                            + QStringLiteral(",") + today + QStringLiteral(",") + comment + QStringLiteral(",")
                            + q(stock->FieldByName(QStringLiteral("qty"))->Value()) + QStringLiteral(",")
                            + q(stock->FieldByName(QStringLiteral("cost"))->Value()) + QStringLiteral(")");
        if (!execsql(sql))
            return false;
    }
    return true;
}

bool TrmtDM::balancesnapshotstorage(int oldid)
{
    return execsql(QStringLiteral("insert into premsrglist (pid,mid,qty,cost,preqty,precost) select ")
                   + QString::number(oldid) + QStringLiteral(", mid,qty,cost,preqty,precost from msrglist"));
}

bool TrmtDM::balanceresetstorage()
{
    TClientDataSetPtr stock = opened(gettabledata(QStringLiteral("msrglist"), QStringLiteral("mid"),
                                                  QStringLiteral("mid>0"), 20));
    if (!hasrows(stock))
        return true;
    for (stock->First(); !stock->Eof(); stock->Next()) {
        const QString sql = QStringLiteral("update msrglist set ") + QStringLiteral("preqty=")
                            + q(stock->FieldByName(QStringLiteral("qty"))->Value()) + QStringLiteral(",")
                            + QStringLiteral("precost=") + q(stock->FieldByName(QStringLiteral("cost"))->Value())
                            + QStringLiteral(" where mid=") + q(stock->FieldByName(QStringLiteral("mid"))->Value());
        if (!execsql(sql))
            return false;
    }
    return true;
}

bool TrmtDM::balancesnapshotcyldb(int oldid)
{
    return execsql(QStringLiteral("insert into precyldb (pid,mid,qty,cost,srgqty,srgcost,eqty,ecost) select ")
                   + q(oldid) + QStringLiteral(",mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb"));
}

bool TrmtDM::balancesnapshotcyldpt(int oldid)
{
    return execsql(QStringLiteral("insert into precyldptlist (pid,dptid,mid,qty,cost) select ") + q(oldid)
                   + QStringLiteral(",dptid,mid,qty,cost from cyldptlist"));
}

bool TrmtDM::balancecarrycycledetail(int oldid, int newid, TDateTime pedate, TDateTime newbdate)
{
    if (!execsql(QStringLiteral("insert into precyldetaillist ( pid,dptid,mid ,crtdate,enddate,qty,cost,remark) select ")
                 + q(oldid) + QStringLiteral(",dptid,mid ,crtdate,") + q(pedate)
                 + QStringLiteral(",qty,cost,remark from cyldetaillist")))
        return false;

    // Every unit that has issue rows in the closed period is carried over, also a unit that was
    // removed from the unit list since: its rows would otherwise be deleted below without a trace.
    std::vector<int> units;
    {
        TQueryPtr query = direct(QStringLiteral("select dptid from cyldetaillist where pid=") + q(oldid)
                                 + QStringLiteral(" group by dptid order by dptid"));
        for (query->First(); !query->Eof(); query->Next())
            units.push_back(query->FieldByName(QStringLiteral("dptid"))->AsInteger());
    }
    const QString start = q(newbdate);
    const QString remark = q(QStringLiteral("上月结存"));
    for (int unit : units) {
        OpenindicatinnDB(dbname);
        openquery(QStringLiteral("select mid ,sum(qty) as qty ,sum(cost) as cost from cyldetaillist ")
                  + QStringLiteral(" where ") + QStringLiteral("dptid=") + q(unit) + QStringLiteral(" and pid=")
                  + q(oldid) + QStringLiteral(" group by mid"));
        // The sums are read out before the inserts run, which write the same table.
        struct Sum {
            Variant mid, qty, cost;
        };
        std::vector<Sum> sums;
        for (tempqry->First(); !tempqry->Eof(); tempqry->Next())
            sums.push_back({tempqry->FieldByName(QStringLiteral("mid"))->Value(),
                            tempqry->FieldByName(QStringLiteral("qty"))->Value(),
                            tempqry->FieldByName(QStringLiteral("cost"))->Value()});
        tempqry->Close();
        for (const Sum& s : sums) {
            const QString sql = QStringLiteral("insert into cyldetaillist ( pid,dptid,mid ,crtdate,qty,cost,remark) values (")
                                + q(newid) + QStringLiteral(",") + q(unit) + QStringLiteral(",") + q(s.mid)
                                + QStringLiteral(",") + start + QStringLiteral(",") + q(s.qty) + QStringLiteral(",")
                                + q(s.cost) + QStringLiteral(",") + remark + QStringLiteral(")");
            if (!execsql(sql))
                return false;
        }
    }
    return execsql(QStringLiteral("delete cyldetaillist where pid<>") + q(newid));
}
