// The period close: records the closed period, opens the next one, writes the opening ledger
// rows, snapshots stock and turnover tables under the closed period's id, regroups the turnover
// issue rows per unit and material and rebuilds the bill-number pool, all in one transaction.
// Each step is one statement over its whole table, so the close takes about as long as
// copying the rows.
#include "DM.h"
#include "DataProcess.h"
#include "frmconst.h"
#include "platform/rtl/MessageSink.h"

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
    // A period ends on or after the day it starts.
    if (dateofdatetime(pedate).Value < dateofdatetime(pbdate).Value) {
        MessageSink::Show(MsgKind::Information, QStringLiteral("扎帐截止日期(") + DateToStr(pedate)
                                                    + QStringLiteral(")早于本期开始日期(") + DateToStr(pbdate)
                                                    + QStringLiteral(")，不能扎帐！"));
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

// The opening ledger rows of the new period, one per stock row in material order, written by
// one statement over the stock table.
bool TrmtDM::balancecarryledger(int newid)
{
    return execsql(QStringLiteral("insert into imexsrglist (mid,Pid,bdate,Comment,srgQty, srgcost) select mid,")
                   + q(newid) + QStringLiteral(",") + q(datetoday()) + QStringLiteral(",") + q(QStringLiteral("期末结转"))
                   + QStringLiteral(",qty,cost from msrglist order by mid"));
}

bool TrmtDM::balancesnapshotstorage(int oldid)
{
    return execsql(QStringLiteral("insert into premsrglist (pid,mid,qty,cost,preqty,precost) select ")
                   + QString::number(oldid) + QStringLiteral(", mid,qty,cost,preqty,precost from msrglist"));
}

// The current quantity and cost of every stock row become the new period's opening values.
bool TrmtDM::balanceresetstorage()
{
    return execsql(QStringLiteral("update msrglist set preqty=qty,precost=cost where mid>0"));
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

    // One row per unit and material with the sums of the closed period's issue rows. Every unit
    // that has issue rows is carried over, also a unit that was removed from the unit list
    // since: its rows would otherwise be deleted below without a trace.
    if (!execsql(QStringLiteral("insert into cyldetaillist ( pid,dptid,mid ,crtdate,qty,cost,remark) select ") + q(newid)
                 + QStringLiteral(",dptid,mid,") + q(newbdate) + QStringLiteral(",sum(qty),sum(cost),")
                 + q(QStringLiteral("上月结存")) + QStringLiteral(" from cyldetaillist where pid=") + q(oldid)
                 + QStringLiteral(" group by dptid,mid order by dptid,mid")))
        return false;
    return execsql(QStringLiteral("delete cyldetaillist where pid<>") + q(newid));
}
