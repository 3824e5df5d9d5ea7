// What a bill's save checks and takes inside its own transaction, which waits for the write lock
// behind every other workstation's: the holds (mrplist.block) of the price batches a saved
// stock-out bill draws on, taken only where no other open bill draws on the batch, freed when no
// line of the bill draws on it any more, when the bill is deleted and when it is posted (a hold
// is a conditional update: the statement itself says whether the batch was free); and that the
// return lines of a bill give back no more of a line than is left of it.
#include "DM.h"
#include "DataProcess.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/MessageSink.h"

#include <algorithm>

namespace {

QList<int> distinctsorted(QList<int> batches)
{
    std::sort(batches.begin(), batches.end());
    batches.erase(std::unique(batches.begin(), batches.end()), batches.end());
    batches.removeAll(0);
    return batches;
}

// The issue lines (d) of bills (m) other than eid, not yet posted, that draw on the batch rpid
// (a key or a column of the outer statement): from and where of a subquery.
QString otheropenlines(const QString& rpid, const QString& eid)
{
    return QStringLiteral(" from ebdetail d inner join ebmaster m on d.eid=m.fid where d.rpid=") + rpid
           + QStringLiteral(" and d.qty>=0 and isnull(m.brecorded,0)=0 and d.eid<>") + eid;
}

// Whether an issue line of another bill not yet posted draws on the batch.
QString otherbilldraws(int rpid, int eid)
{
    return QStringLiteral("exists (select d.fid") + otheropenlines(QString::number(rpid), QString::number(eid))
           + QLatin1Char(')');
}

QString batchfree(int rpid, int eid)
{
    return QStringLiteral("update mrplist set block=0 where fid=") + QString::number(rpid) + QStringLiteral(" and not ")
           + otherbilldraws(rpid, eid);
}

} // namespace

bool TrmtDM::holdbatches(int eid, const QList<int>& drawn, const QList<int>& held)
{
    const QList<int> taken = distinctsorted(drawn);
    QList<int> freed;
    for (int rpid : distinctsorted(held))
        if (!taken.contains(rpid))
            freed << rpid;
    const auto run = [this](const QString& sql) {
        trace(sql);
        int rows = -1;
        ADOCon->Execute(sql, &rows);
        return rows;
    };
    try {
        OpenindicatinnDB(dbname);
        for (int rpid : taken) {
            // Taken unless another open bill draws on it; a mark that no open bill explains (a
            // bill deleted or posted meanwhile, this bill's own hold) does not stand in the way.
            const QString key = QString::number(rpid);
            if (run(QStringLiteral("update mrplist set block=1 where fid=") + key + QStringLiteral(" and not ")
                    + otherbilldraws(rpid, eid))
                > 0)
                continue;
            const DbResult batch = fetch(QStringLiteral("select a.bnum,t.mname,(select max(m.billnum)")
                                             + otheropenlines(QStringLiteral("a.fid"), QString::number(eid))
                                             + QStringLiteral(") from mrplist a left outer join mtrlist t on a.mid=t.fid "
                                                              "where a.fid=")
                                             + key,
                                         1, false);
            if (batch.rows.isEmpty()) {
                MessageSink::Show(MsgKind::Information, QStringLiteral("找不到明细行对应的价格批次，票据不能保存！"));
            } else {
                const QString holder = VarToStr(batch.rows[0][2]);
                MessageSink::Show(MsgKind::Information,
                                  QStringLiteral("材料“") + VarToStr(batch.rows[0][1]) + QStringLiteral("”价格批次“")
                                      + VarToStr(batch.rows[0][0]) + QStringLiteral("”已被")
                                      + (holder.isEmpty() ? QStringLiteral("其他票据")
                                                          : QStringLiteral("票据“") + holder + QStringLiteral("”"))
                                      + QStringLiteral("选用，请删除这一行后重新选择！"));
            }
            return false;
        }
        for (int rpid : std::as_const(freed))
            run(batchfree(rpid, eid));
    } catch (const Exception&) {
        return false;
    }
    return true;
}

QStringList TrmtDM::freebatches(int eid, const QList<int>& batches)
{
    QStringList sql;
    for (int rpid : distinctsorted(batches))
        sql << batchfree(rpid, eid);
    return sql;
}

bool TrmtDM::freebillbatches(const QString& detailtable, int eid)
{
    const QString id = vartosqlvalue(Variant(eid));
    return execsql(QStringLiteral("update mrplist set block=0 where fid in (select rpid from ") + detailtable
                   + QStringLiteral(" where eid=") + id
                   + QStringLiteral(" and qty>=0) and not exists (select d.fid")
                   + otheropenlines(QStringLiteral("mrplist.fid"), id) + QLatin1Char(')'));
}

bool TrmtDM::returnsfit(bool stockin, int billid)
{
    // The lines the bill's return lines name, with what is left of each now that the bill's
    // rows are written: less than nothing means more comes back than went out.
    const QString id = QString::number(billid);
    const QString table = stockin ? QStringLiteral("ibdetail") : QStringLiteral("ebdetail");
    const QString names = stockin ? QStringLiteral("idid") : QStringLiteral("edid");
    const QString bill = stockin ? QStringLiteral("iid") : QStringLiteral("eid");
    try {
        const DbResult lines =
            fetch(QStringLiteral("select m.mname,") + returnableqty(stockin) + QStringLiteral(",(select sum(r.qty) from ")
                      + table + QStringLiteral(" r where r.") + names + QStringLiteral("=c.fid and r.") + bill
                      + QStringLiteral("=") + id + QStringLiteral(") from ") + table
                      + QStringLiteral(" c left outer join mtrlist m on c.mid=m.fid where c.fid in (select ") + names
                      + QStringLiteral(" from ") + table + QStringLiteral(" where ") + bill + QStringLiteral("=") + id
                      + QStringLiteral(") order by c.fid"),
                  0, false);
        for (const DbRow& row : lines.rows) {
            const double left = doublevalue(row[1]);
            // Quantities are compared at the precision they are kept with.
            if (roundtodigits(6, left) >= 0)
                continue;
            MessageSink::Show(MsgKind::Information,
                              QStringLiteral("材料“") + VarToStr(row[0]) + QStringLiteral("”退回的数量(")
                                  + FloatToStr(roundtodigits(6, -doublevalue(row[2])))
                                  + QStringLiteral(")超过原单尚未退回的数量(")
                                  + FloatToStr(roundtodigits(6, left - doublevalue(row[2])))
                                  + QStringLiteral(")，票据不能保存！"));
            return false;
        }
    } catch (const Exception&) {
        return false;
    }
    return true;
}
