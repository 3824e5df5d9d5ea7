// The bill-number pool: one row per slot in billtypelist, one flag column per bill category
// and direction ("im" or "ex" followed by the category code).
#include "DM.h"
#include "DataProcess.h"
#include "frmconst.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Exceptions.h"

namespace {

// A pool column name goes into the statements as it is, so only letters, digits and "_"
// are accepted.
bool isvalidcolumnpart(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_'))
            return false;
    return true;
}

} // namespace

int TrmtDM::getbillcodebnum(const QString& code, bool billtype)
{
    const QString field = billtype ? QStringLiteral("ebnum") : QStringLiteral("ibnum");
    TQueryPtr query = lookup(QStringLiteral("select ") + field + QStringLiteral(" from billtype where code=")
                             + vartosqlvalue(code));
    if (query->IsEmpty())
        return 0;
    query->First();
    return intvalue(query->FieldByName(field)->Value());
}

int TrmtDM::getbillcodeid(const QString& column)
{
    if (!isvalidcolumnpart(column))
        Abort();
    // Finding the lowest free slot and marking it taken run in one transaction (the
    // caller's, or one of their own), so two clients never take the same slot.
    OpenindicatinnDB(dbname);
    const bool own = !ADOCon->InTransaction();
    if (own)
        BeginTrans();
    try {
        TQueryPtr query = lookup(QStringLiteral("select  top 1  fid  from billtypelist where ") + column
                                 + QStringLiteral("=0") + QStringLiteral(" order by fid"));
        int fid = 0;
        if (!query->IsEmpty()) {
            query->First();
            fid = query->FieldByName(QStringLiteral("fid"))->AsInteger();
        }
        if (fid != 0 && !execsql(QStringLiteral("update billtypelist set ") + column
                                 + QStringLiteral("= 1 where fid =") + vartosqlvalue(fid))) {
            if (own && ADOCon->InTransaction())
                RollbackTrans();
            return 0;
        }
        if (own)
            CommitTrans();
        return fid;
    } catch (...) {
        if (own && ADOCon->InTransaction())
            RollbackTrans();
        throw;
    }
}

bool TrmtDM::Addnewcodeidline(const QString& column)
{
    if (!isvalidcolumnpart(column))
        return false;
    bool ok = false;
    for (int i = 0; i < 49; ++i) {
        ok = execsql(QStringLiteral("insert into billtypelist (") + column + QStringLiteral(") values (0)"));
        if (!ok)
            break;
    }
    return ok;
}

bool TrmtDM::ESCbillcodeid(int fid, const QString& column)
{
    if (!isvalidcolumnpart(column))
        return false;
    return execsql(QStringLiteral("update billtypelist set ") + column + QStringLiteral("= 0 where fid =")
                   + vartosqlvalue(fid));
}

bool TrmtDM::deletebilltypelist()
{
    return execsql(QStringLiteral("if exists (select * from dbo.sysobjects where id = object_id(N")
                   + vartosqlvalue(QStringLiteral("[dbo].[billtypelist]"))
                   + QStringLiteral(") and OBJECTPROPERTY(id, N") + vartosqlvalue(QStringLiteral("IsUserTable"))
                   + QStringLiteral(") = 1)") + QStringLiteral(" drop table [dbo].[billtypelist] "));
}

bool TrmtDM::createnewbilltypelist(const QStringList& list)
{
    for (const QString& code : list)
        if (!isvalidcolumnpart(code))
            return false;
    // Without categories the pool still gets its slot column alone.
    QString sql = QStringLiteral("CREATE TABLE [dbo].[billtypelist] ([fid] [int] IDENTITY (1, 1) NOT NULL ");
    if (!list.isEmpty())
        sql += QLatin1Char(',');
    for (int i = 0; i < list.size(); ++i) {
        const QString& c = list[i];
        sql += QStringLiteral("[im") + c + QStringLiteral("] [bit] NULL default 0,");
        sql += QStringLiteral("[ex") + c
             + (i + 1 < list.size() ? QStringLiteral("] [bit] NULL default 0,") : QStringLiteral("] [bit] NULL default 0"));
    }
    sql += QStringLiteral(") ON [PRIMARY]");
    return execsql(sql);
}

bool TrmtDM::markbillcodeids(int pid)
{
    try {
        return markheldslots(pid);
    } catch (const EAbort&) {
        throw;
    } catch (const Exception&) {
        return false;
    }
}

bool TrmtDM::markheldslots(int pid)
{
    OpenindicatinnDB(dbname);
    QStringList pool;
    for (const QString& c : tablecolumns(QStringLiteral("billtypelist")))
        pool << c.toLower();
    std::vector<std::pair<QString, int>> held;
    for (const char* table : {"ibmaster", "ebmaster"}) {
        TQueryPtr query = direct(QStringLiteral("select bcode, bcodeid from ") + QString::fromLatin1(table)
                                 + QStringLiteral(" where pid=") + QString::number(pid) + QStringLiteral(" and bcodeid>0"));
        for (query->First(); !query->Eof(); query->Next()) {
            const QString column = query->FieldByName(QStringLiteral("bcode"))->AsString().trimmed();
            if (column.compare(QLatin1String("fid"), Qt::CaseInsensitive) != 0 && isvalidcolumnpart(column)
                && pool.contains(column.toLower()))
                held.emplace_back(column, query->FieldByName(QStringLiteral("bcodeid"))->AsInteger());
        }
    }
    if (held.empty())
        return true;
    int poolrows = 0;
    {
        TQueryPtr count = direct(QStringLiteral("select max(fid) as n from billtypelist"));
        count->First();
        const Variant v = count->FieldByName(QStringLiteral("n"))->Value();
        poolrows = v.IsEmptyOrNull() ? 0 : v.ToInt();
    }
    for (const auto& [column, slot] : held) {
        for (; poolrows < slot; ++poolrows)
            if (!execsql(QStringLiteral("insert into billtypelist (") + column + QStringLiteral(") values (0)")))
                return false;
        if (!execsql(QStringLiteral("update billtypelist set ") + column + QStringLiteral("= 1 where fid =")
                     + vartosqlvalue(slot)))
            return false;
    }
    return true;
}
