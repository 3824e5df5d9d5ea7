#pragma once
// The query forms on the statistics fixture's books (period 0 closed, period 1 open), with a
// few more bills that stay unposted: a stock-in bill in the open period for a material whose
// name and model hold LIKE's own characters and a quote, and a stock-out bill with a negative line.
#include "stat_fixture.h"

#include "app/FormRegistry.h"
#include "data/frmconst.h"
#include "reports/CompositeQuery.h"
#include "reports/QueryBase.h"

namespace querytest {

using namespace stattest;

inline const char* const kHostileName = "50%钢'筋_[A]";
inline const char* const kHostileType = "Φ8'_%[A]";

class QueryTest : public StatTest {
protected:
    void SetUp() override
    {
        StatTest::SetUp();
        if (HasFatalFailure())
            return;
        // The bill forms the drill-down opens, registered as at program start.
        RegisterAppForms();
        exec(QStringLiteral("insert into mtrlist (fid,bid,code,mname,mtype,munit) values (7,8,'000002008','%1','%2','根')")
                 .arg(QString::fromUtf8(kHostileName).replace(QLatin1String("'"), QLatin1String("''")),
                      QString::fromUtf8(kHostileType).replace(QLatin1String("'"), QLatin1String("''"))));
        exec("insert into mtrlist (fid,bid,code,mname,mtype,munit) values (8,8,'000002008','5000钢筋A','X-2','根')");
        exec("insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,ckid,lister,assessor,brecorded,breverse,cfcode,"
             "supcode) values (4,1,1,'RK4','2024-12-10',2,2,0,'王五','',0,0,'000002','000002')");
        exec("insert into ibdetail (iid,pfid,idid,mid,qty,rprice,amount,rsprice,rdprice,sprice,dprice,remark) "
             "values (4,0,0,7,3,10,30,10,30,10,30,'')");
        exec("insert into ibdetail (iid,pfid,idid,mid,qty,rprice,amount,rsprice,rdprice,sprice,dprice,remark) "
             "values (4,0,0,8,2,10,20,10,20,10,20,'')");
        exec("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,rcid,lister,assessor,brecorded,breverse,bcylm,breb,"
             "dptcode,pjtcode) values (4,1,'2024-12-11',2,2,'CK4',0,'王五','',0,1,0,0,'000002','000002')");
        exec("insert into ebdetail (eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,remark,cid,cfid,supid) "
             "values (4,0,0,1,-2,4200,-8400,4200,-8400,'',1,3,2)");
    }

    void TearDown() override
    {
        imbilltype = 0;
        StatTest::TearDown();
    }

    // The account-set settings that change the statements and layouts, one at a time.
    struct Setting {
        const char* name;
        TSystype sys;
        quint8 imtype;
    };
    static constexpr Setting kSettings[] = {{"local, unit prices", TSystype::local, 0},
                                            {"local, actual and plan prices", TSystype::local, 1},
                                            {"overseas", TSystype::overseas, 0},
                                            {"overseas, actual and plan prices", TSystype::overseas, 1}};
    static void apply(const Setting& s)
    {
        systype = s.sys;
        imbilltype = s.imtype;
    }

    // The fields of the grid's columns that the result lacks.
    static QStringList unboundcolumns(TfrmBasicquery& form)
    {
        QStringList out;
        for (int i = 0; i < form.DBGridGx1->Columns()->Count(); ++i) {
            const QString f = form.DBGridGx1->Columns()->Items(i)->FieldName();
            if (!form.adoqry.Active() || !form.adoqry.FindField(f))
                out << f;
        }
        return out;
    }

    // The rows of a result: the named fields of every row joined by "|", in the server's
    // order sorted (the queries impose no order).
    static QStringList rows(TDataSet& ds, const QStringList& fields)
    {
        QStringList out;
        if (!ds.Active())
            return out;
        ds.First();
        while (!ds.Eof()) {
            QStringList cells;
            for (const QString& f : fields) {
                TField* field = ds.FieldByName(f);
                const TFieldType t = field->DataType();
                const bool number = t == ftSmallint || t == ftInteger || t == ftFloat || t == ftBCD || t == ftLargeint;
                cells << (number ? QString::number(field->AsFloat()) : field->AsString().trimmed());
            }
            out << cells.join(u'|');
            ds.Next();
        }
        out.sort();
        return out;
    }
};

// Ticks the period box of a composite-query dialog and selects the period rows with the given
// pids in its grid's selection list.
inline void selectperiods(Tfrmquerydetail& d, const QList<int>& pids)
{
    d.CheckBox1->SetChecked(true);
    for (int pid : pids)
        for (d.ClientDataSet1.First(); !d.ClientDataSet1.Eof(); d.ClientDataSet1.Next())
            if (d.ClientDataSet1.FieldByName(QStringLiteral("pid"))->AsInteger() == pid) {
                d.DBGridGx2->SelectedRows()->SetCurrentRowSelected(true);
                break;
            }
}

// Texts from UTF-8 literals, sorted as rows() sorts.
inline QStringList sorted(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* s : list)
        out << QString::fromUtf8(s);
    out.sort();
    return out;
}

} // namespace querytest
