// Key counters, account-set parameters, single-value lookups and existence tests.
#define QT_USE_QSTRINGBUILDER
#include "DM.h"
#include "DataProcess.h"
#include "OpenSql.h"
#include "PostingLookups.h"
#include "frmconst.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/Exceptions.h"

namespace {

// The value of the first row's field, or Null when there is no row.
Variant firstvalue(TDataSet* ds, const QString& field)
{
    if (ds->IsEmpty())
        return Variant::Null();
    ds->First();
    return ds->FieldByName(field)->Value();
}


// Text put between quotes by hand: quotes inside are doubled.
QString escaped(const QString& text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return s;
}

QString q(const Variant& v) { return vartosqlvalue(v); }

} // namespace

void TrmtDM::openquery(const QString& sql)
{
    tempqry->Close();
    tempqry->SQL().clear();
    tempqry->SQL().append(sql);
    trace(sql);
    tempqry->Open();
}

TQueryPtr TrmtDM::lookup(const QString& sql)
{
    OpenindicatinnDB(dbname);
    TQueryPtr query(NewQuery());
    trace(sql);
    Topensql(query.get(), sql).Execute();
    return query;
}

DbResult TrmtDM::fetch(const QString& sql, int maxRows, bool silent)
{
    OpenindicatinnDB(dbname);
    trace(sql);
    DbResult result;
    try {
        ADOCon->Engine().Execute(sql, result, maxRows);
    } catch (...) {
        if (silent)
            Abort();
        throw;
    }
    return result;
}

TQueryPtr TrmtDM::direct(const QString& sql)
{
    OpenindicatinnDB(dbname);
    TQueryPtr query(NewQuery());
    query->SQL().append(sql);
    trace(sql);
    query->Open();
    return query;
}

int TrmtDM::GetnewID(const QString& iDname)
{
    OpenindicatinnDB(dbname);
    // The read (with the lock hint) and the write back belong together: without a caller's
    // transaction they get one of their own, so two clients never get the same value.
    const bool own = !ADOCon->InTransaction();
    if (own)
        BeginTrans();
    try {
        TQueryPtr query(NewQuery());
        const QString select = QStringLiteral("select id from IDlist  with(Xlock) where IDname=") + q(iDname);
        query->SQL().append(select);
        trace(select);
        query->Open();
        if (query->IsEmpty())
            throw EDatabaseError(QStringLiteral("计数器“%1”不存在，无法取得新编号！").arg(iDname));
        const int n = intvalue(query->FieldByName(QStringLiteral("id"))->Value()) + 1;
        query->Close();
        query->SQL().clear();
        const QString update = QStringLiteral("update idlist set id=") + QString::number(n)
                             + QStringLiteral(" where idname=") + q(iDname);
        query->SQL().append(update);
        trace(update);
        query->ExecSQL();
        if (own)
            CommitTrans();
        return n;
    } catch (...) {
        if (own && ADOCon->InTransaction())
            RollbackTrans();
        throw;
    }
}

int TrmtDM::GetID(const QString& idname)
{
    // Only the value is wanted: read straight from the engine, without a dataset.
    const DbResult r = fetch(QStringLiteral("select id from IDlist with(Xlock) where IDname='")
                                 + escaped(idname.trimmed()) + QStringLiteral("'"),
                             1, false);
    return r.rows.isEmpty() || r.rows.first().isEmpty() ? 0 : intvalue(r.rows.first().first());
}

QString TrmtDM::getnewtreefid(int id) const { return QString::asprintf("%.3d", id); }

int TrmtDM::getsystemvalue(const QString& strname)
{
    TQueryPtr query = lookup(QStringLiteral("select ivalue from systemset  where name='") + escaped(strname)
                             + QStringLiteral("'"));
    return intvalue(firstvalue(query.get(), QStringLiteral("ivalue")));
}

bool TrmtDM::setsystemid(const QString& idname, int id)
{
    return execsql(QStringLiteral("update systemset set ivalue=") + q(id) + QStringLiteral(" where name=") + q(idname));
}

bool TrmtDM::setsysemcrtdate(TDateTime datetime)
{
    return execsql(QStringLiteral("update  currentpid set crtdate=") + q(datetime) + QStringLiteral(" where periodid=1"));
}

double TrmtDM::gettablevalue(const QString& tablename, const QString& Ffieldname, int Fid, const QString& refieldname)
{
    OpenindicatinnDB(dbname);
    openquery(QStringLiteral("select ") + refieldname + QStringLiteral(" from ") + tablename + QStringLiteral(" where ")
              + Ffieldname + QStringLiteral("=") + QString::number(Fid));
    return doublevalue(firstvalue(tempqry.get(), refieldname));
}

double TrmtDM::gettablevaluetwo(const QString& tablename, const QString& kfieldname1, const QString& kfieldname2,
                                int kid1, int kid2, const QString& refieldname)
{
    OpenindicatinnDB(dbname);
    openquery(QStringLiteral("select ") + refieldname + QStringLiteral(" from ") + tablename + QStringLiteral(" where ")
              + kfieldname1 + QStringLiteral("=") + QString::number(kid1) + QStringLiteral(" and ") + kfieldname2
              + QStringLiteral("=") + QString::number(kid2));
    return doublevalue(firstvalue(tempqry.get(), refieldname));
}

TrmtDM::TableValues TrmtDM::gettablevalues(const QString& tablename, std::initializer_list<QString> keyfields,
                                            std::initializer_list<int> keys,
                                            std::initializer_list<QString> refieldnames, bool* found)
{
    const qsizetype count = std::min<qsizetype>(qsizetype(refieldnames.size()), 4);
    if (const PostingRows* kept = postedrows(tablename, keyfields, keys)) {
        TableValues values;
        bool all = true;
        for (qsizetype i = 0; i < count && kept->count == 1; ++i) {
            const Variant* v = kept->value(refieldnames.begin()[i]);
            all = all && v;
            if (v)
                values[i] = doublevalue(*v);
        }
        if (all) {
            if (found)
                *found = kept->count == 1;
            return values;
        }
    }
    QStringList where;
    for (qsizetype i = 0; i < qsizetype(keyfields.size()); ++i)
        where << keyfields.begin()[i] + QStringLiteral("=")
                     + QString::number(i < qsizetype(keys.size()) ? keys.begin()[i] : 0);
    // Only the values are wanted: read straight from the engine, without a dataset.
    const DbResult r = fetch(QStringLiteral("select ") + QStringList(refieldnames).join(QLatin1Char(','))
                                 + QStringLiteral(" from ") + tablename + QStringLiteral(" where ")
                                 + where.join(QStringLiteral(" and ")),
                             1, false);
    TableValues values;
    const bool any = !r.rows.isEmpty();
    if (any)
        for (qsizetype i = 0; i < count && i < r.rows.first().size(); ++i)
            values[i] = doublevalue(r.rows.first()[i]);
    if (found)
        *found = any;
    return values;
}

int TrmtDM::getfieldvalue(const QString& tablename, const QString& Ffieldname)
{
    OpenindicatinnDB(dbname);
    openquery(QStringLiteral("select ") + Ffieldname + QStringLiteral(" from ") + tablename);
    return intvalue(firstvalue(tempqry.get(), Ffieldname));
}

bool TrmtDM::getvaluebycode(const QString& tablename, const QString& JMvalue, const QString& IDfieldname,
                            const QString& strfieldname, int& fid, QString& strname)
{
    TQueryPtr query = lookup(QStringLiteral("select ") + IDfieldname + QStringLiteral(",") + strfieldname
                             + QStringLiteral(" from ") + tablename + QStringLiteral(" where Fcode ='")
                             + escaped(JMvalue) + QStringLiteral("'"));
    if (query->RecordCount() != 1)
        return false;
    query->First();
    fid = intvalue(query->FieldByName(IDfieldname)->Value());
    strname = query->FieldByName(strfieldname)->AsString();
    return true;
}

int TrmtDM::countrowswhere(const QString& table, const QString& field, int value)
{
    if (const PostingRows* kept = postedrows(table, {field}, {value}))
        return kept->count;
    // Only whether there is a row: read straight from the engine, a failure aborts silently
    // as a lookup does.
    const DbResult r = fetch(QStringLiteral("select * from ") + table + QStringLiteral(" where ") + field
                                 + QStringLiteral("=") + QString::number(value),
                             1, true);
    return r.rows.isEmpty() ? 0 : 1;
}

int TrmtDM::countrowswheretwo(const QString& table, const QString& firstfield, const QString& secondfield,
                              int firstvalue, int secondvalue)
{
    if (const PostingRows* kept = postedrows(table, {firstfield, secondfield}, {firstvalue, secondvalue}))
        return kept->count;
    TQueryPtr query = lookup(QStringLiteral("select * from ") + table + QStringLiteral(" where ") + firstfield
                             + QStringLiteral("=") + QString::number(firstvalue) + QStringLiteral(" and ")
                             + secondfield + QStringLiteral("=") + QString::number(secondvalue));
    return query->IsEmpty() ? 0 : 1;
}

bool TrmtDM::exitfieldvalue(const QString& tablename, const QString& kfieldname, int Kid)
{
    return countrowswhere(tablename, kfieldname, Kid) == 1;
}

int TrmtDM::getrecordcount(const QString& sql)
{
    // Runs in whatever database the connection is in: no database switch.
    TQueryPtr query(NewQuery());
    trace(sql);
    Topensql(query.get(), sql).Execute();
    return query->RecordCount();
}

int TrmtDM::getpricemodal(int mid)
{
    TQueryPtr query = lookup(QStringLiteral("select b.pricemodal from mtrlist a,breedlist b where a.fid=") + q(mid)
                             + QStringLiteral(" and a.bid =b.fid"));
    return intvalue(firstvalue(query.get(), QStringLiteral("pricemodal")));
}

int TrmtDM::getbreedtype(int mid)
{
    TQueryPtr query = lookup(QStringLiteral("select b.breedtype from mtrlist a,breedlist b where a.fid=")
                             + QString::number(mid) + QStringLiteral(" and a.bid =b.fid"));
    return intvalue(firstvalue(query.get(), QStringLiteral("breedtype")));
}

double TrmtDM::GetAdmiRate(int mid)
{
    TQueryPtr query = lookup(QStringLiteral("select b.adminrate from mtrlist a,breedlist b where a.fid=")
                             + QString::number(mid) + QStringLiteral(" and a.bid =b.fid"));
    return doublevalue(firstvalue(query.get(), QStringLiteral("adminrate")));
}

double TrmtDM::getpprice(int mid)
{
    TQueryPtr query = lookup(getmpplist() + QStringLiteral(" where mid=") + q(mid));
    return doublevalue(firstvalue(query.get(), QStringLiteral("pprice")));
}

double TrmtDM::getaprice(int mid)
{
    // The batch SELECT has no maprice column: this ends with the field-not-found error.
    TQueryPtr query = lookup(getmaplist() + QStringLiteral(" where mid=") + q(mid));
    return doublevalue(query->FieldByName(QStringLiteral("maprice"))->Value());
}

double TrmtDM::getdefaultbalance()
{
    TQueryPtr query = direct(QStringLiteral("select tobalance  from currencyset where isbalance=1 and visibled=1 order by fid"));
    return doublevalue(firstvalue(query.get(), QStringLiteral("tobalance")));
}

QString TrmtDM::getmrplist() const
{
    return QStringLiteral(" SELECT dbo.currencyset.cryname, dbo.suplist.prtname AS supname, dbo.cflist.prtname AS cfname, dbo.mrplist.bdate, dbo.mrplist.bnum, dbo.mrplist.qty, dbo.mrplist.sprice,")
         + QStringLiteral(" dbo.mrplist.dprice, dbo.mrplist.rsprice, dbo.mrplist.rdprice, dbo.mrplist.remark, dbo.mrplist.mid, dbo.mrplist.fid, dbo.mrplist.block, dbo.mtrlist.mname,")
         + QStringLiteral(" dbo.mtrlist.mtype, dbo.mtrlist.munit, dbo.mrplist.cid, dbo.mrplist.cfid, dbo.mrplist.supid, dbo.mrplist.Pid")
         + QStringLiteral(" FROM  dbo.mrplist LEFT OUTER JOIN")
         + QStringLiteral(" dbo.mtrlist ON dbo.mrplist.mid = dbo.mtrlist.FID LEFT OUTER JOIN")
         + QStringLiteral(" dbo.currencyset ON dbo.mrplist.cid = dbo.currencyset.fid LEFT OUTER JOIN")
         + QStringLiteral(" dbo.cflist ON dbo.mrplist.cfid = dbo.cflist.fid LEFT OUTER JOIN")
         + QStringLiteral(" dbo.suplist ON dbo.mrplist.supid = dbo.suplist.fid");
}

QString TrmtDM::getmaplist() const
{
    return QStringLiteral("SELECT dbo.currencyset.cryname AS currency, dbo.suplist.prtname AS supname, dbo.cflist.prtname AS cfname, dbo.mrplist.fid, dbo.mrplist.mid, dbo.mrplist.bdate,")
         + QStringLiteral(" dbo.mrplist.bnum, dbo.mrplist.iid, dbo.mrplist.eid, dbo.mrplist.orgqty, dbo.mrplist.orgdprice, dbo.mrplist.orgrdprice, dbo.mrplist.qty, dbo.mrplist.sprice,")
         + QStringLiteral(" dbo.mrplist.dprice, dbo.mrplist.rsprice, dbo.mrplist.rdprice, dbo.mrplist.remark, dbo.mrplist.block, dbo.mrplist.Pid, dbo.mrplist.cid, dbo.mrplist.cfid,")
         + QStringLiteral(" dbo.mrplist.supid")
         + QStringLiteral(" FROM  dbo.mrplist LEFT OUTER JOIN")
         + QStringLiteral(" dbo.suplist ON dbo.mrplist.supid = dbo.suplist.fid LEFT OUTER JOIN")
         + QStringLiteral(" dbo.currencyset ON dbo.mrplist.cid = dbo.currencyset.fid LEFT OUTER JOIN ")
         + QStringLiteral(" dbo.cflist ON dbo.mrplist.cfid = dbo.cflist.fid ");
}

QString TrmtDM::getmpplist() const
{
    return QStringLiteral("SELECT dbo.mpplist.fid, dbo.mpplist.mid, dbo.mpplist.pprice, dbo.mtrlist.mname, dbo.mtrlist.mtype, dbo.mtrlist.munit, dbo.breedlist.code, dbo.mtrlist.remark,")
         + QStringLiteral(" dbo.breedlist.pricemodal")
         + QStringLiteral(" FROM  dbo.mpplist INNER JOIN")
         + QStringLiteral(" dbo.mtrlist ON dbo.mpplist.mid = dbo.mtrlist.FID INNER JOIN")
         + QStringLiteral(" dbo.breedlist ON dbo.mtrlist.bID = dbo.breedlist.FID");
}

bool TrmtDM::setmrplistlock(int fid, bool value)
{
    writesrows(QStringLiteral("mrplist"), {QStringLiteral("fid")}, {fid});
    return execsql((value ? QStringLiteral("update mrplist set block=1 where fid=")
                          : QStringLiteral("update mrplist set block=0 where fid="))
                   + QString::number(fid));
}

bool TrmtDM::addnewmtrlist(int fid, int bid, const QString& code, const QString& mname, const QString& mtype,
                           const QString& munit, const QString& remark)
{
    return execsql(QStringLiteral("insert into mtrlist ") + QStringLiteral("(fid, bid,code, mname, mtype, munit,remark)")
                   + QStringLiteral(" values ") + QStringLiteral("(") + q(fid) + QStringLiteral(",") + q(bid)
                   + QStringLiteral(",") + q(code) + QStringLiteral(",") + q(mname) + QStringLiteral(",") + q(mtype)
                   + QStringLiteral(",") + q(munit) + QStringLiteral(",") + q(remark) + QStringLiteral(")"));
}
