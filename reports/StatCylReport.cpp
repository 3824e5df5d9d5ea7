#include "StatCylReport.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/ReportGrid.h"
#include "data/frmconst.h"
#include "platform/gui/FontScale.h"

namespace {

int records(const TClientDataSet& cds) { return cds.Active() ? cds.RecordCount() : 0; }

} // namespace

Tfrmcylreport::Tfrmcylreport(QWidget* AOwner) : Tfrmbasicreport(AOwner)
{
    setObjectName(QStringLiteral("frmcylreport"));
    SetCaption(QStringLiteral("周转材料统计报表"));
    PageControl1->setTabText(0, QStringLiteral("周转材料在库在用汇总报表"));
    PageControl1->setTabText(1, QStringLiteral("周转材料在用分配表"));
    PageControl1->setTabText(2, QStringLiteral("周转材料领用统计表"));
    setupgrid(StringGrid1, 2, 10, drawcylsumhead);
    setupgrid(StringGrid2, 3, 6, [this](TStringGrid* g, int c, int r) { drawcyldpthead(g, c, r, dptlist, 6); });
    setupgrid(StringGrid3, 1, 10, drawcyldetailhead);
    const int widths[] = {46, 90, 90, 80, 50, 64, 84, 84, 64, 120};
    for (int c = 0; c < 10; ++c)
        StringGrid3->SetColWidths(c, Scaled(widths[c]));
    FormCreate(this);
}

void Tfrmcylreport::FormCreate(QObject* Sender)
{
    loaddptlist(curpid);
    breedlist.clear();
    cdstemp.SetData(rmtDM->gettabledata(QStringLiteral("breedlist"), QStringLiteral("fid"),
                                        QStringLiteral("bparent=0 and breedtype=1"), 20));
    if (!cdstemp.Active())
        return;
    for (cdstemp.First(); !cdstemp.Eof(); cdstemp.Next()) {
        tnodelist node;
        node.fid = cdstemp.FieldByName(QStringLiteral("fid"))->AsInteger();
        node.text = cdstemp.FieldByName(QStringLiteral("prtname"))->AsString();
        node.code = cdstemp.FieldByName(QStringLiteral("code"))->AsString();
        node.bparent = cdstemp.FieldByName(QStringLiteral("bparent"))->AsBoolean();
        breedlist.append(node);
    }
}

void Tfrmcylreport::loaddptlist(int period)
{
    dptlist.clear();
    // A closed period's units come from its own snapshot: units that held materials then may
    // hold none today.
    const QString held = period == curpid
        ? QStringLiteral("fid in (select dptid from cyldptlist group by dptid)")
        : QStringLiteral("fid in (select dptid from precyldptlist where pid=") + vartosqlvalue(period)
              + QStringLiteral(" group by dptid)");
    cdstemp.SetData(rmtDM->gettabledata(QStringLiteral("dptlist"), QStringLiteral("fid"), held, 20));
    if (!cdstemp.Active())
        return;
    for (cdstemp.First(); !cdstemp.Eof(); cdstemp.Next()) {
        TCaptionList unit;
        unit.fid = cdstemp.FieldByName(QStringLiteral("fid"))->AsInteger();
        unit.caption = cdstemp.FieldByName(QStringLiteral("prtname"))->AsString();
        dptlist.append(unit);
    }
}

void Tfrmcylreport::calsbillExecute(QObject* Sender)
{
    busy([this] { calsdata(); });
}

void Tfrmcylreport::calsdata()
{
    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3})
        cleargridrows(g);
    mtrlist.clear();
    const int period = reportperiod();
    loaddptlist(period);
    StringGrid2->SetColCount(6 + 2 * int(dptlist.size()));

    QString stocksql, stockbase, issuesql, issuebase;
    if (period == curpid) {
        const QString today = vartosqlvalue(datetoday());
        stocksql = QStringLiteral("select b.mname,b.mtype,b.munit,a.qty,a.cost,a.srgqty,a.srgcost,a.eqty,a.ecost,a.mid,b.fid "
                                  "from cyldb a,mtrlist b");
        stockbase = QStringLiteral("a.mid=b.fid");
        issuesql = QStringLiteral("select c.prtname,b.mname,b.mtype,b.munit,a.qty,a.crtdate,") + today
                   + QStringLiteral(" as enddate,datediff(day,a.crtdate,") + today
                   + QStringLiteral(")+1,a.remark, c.fid, a.mid from cyldetaillist a,mtrlist b,dptlist c");
        issuebase = QStringLiteral("a.mid=b.fid and a.dptid=c.fid");
    } else {
        const QString pid = vartosqlvalue(period);
        stocksql = QStringLiteral("select b.mname,b.mtype,b.munit,a.qty,a.cost,a.srgqty,a.srgcost,a.eqty,a.ecost,a.mid,b.fid "
                                  "from precyldb a,mtrlist b");
        stockbase = QStringLiteral("a.mid=b.fid and a.pid=") + pid;
        issuesql = QStringLiteral("select c.prtname,b.mname,b.mtype,b.munit, a.qty,a.crtdate,a.enddate,"
                                  "datediff(day,a.crtdate,a.enddate)+1,a.remark,c.fid,a.mid "
                                  "from precyldetaillist a,mtrlist b,dptlist c");
        issuebase = QStringLiteral("a.mid=b.fid and a.dptid=c.fid and a.pid=") + pid;
    }

    int row1 = 2, row2 = 3, row3 = 1;
    int position = 0;
    for (const tnodelist& category : breedlist) {
        const QString number = chinesenumber(++position);
        const QString codecondition = QStringLiteral(") and (") + rmtDM->codeprefix(QStringLiteral("b.code"), category.code) + QStringLiteral(")");

        ClientDataSet1.SetData(rmtDM->getsqldata(stocksql, QStringLiteral("a.mid"), QStringLiteral("mid"),
                                                 QStringLiteral("(") + stockbase + codecondition, 20));
        putrow(StringGrid1, row1, {number, category.text});
        datasettogrid(StringGrid1, &ClientDataSet1, row1, 9, 0);
        row1 += records(ClientDataSet1);

        putrow(StringGrid2, row2, {number, category.text});
        mtrlist.clear();
        if (ClientDataSet1.Active()) {
            for (ClientDataSet1.First(); !ClientDataSet1.Eof(); ClientDataSet1.Next()) {
                Tmtrlist m;
                m.mid = ClientDataSet1.FieldByName(QStringLiteral("fid"))->AsInteger();
                m.mname = ClientDataSet1.FieldByName(QStringLiteral("mname"))->AsString();
                m.mtype = ClientDataSet1.FieldByName(QStringLiteral("mtype"))->AsString();
                m.munit = ClientDataSet1.FieldByName(QStringLiteral("munit"))->AsString();
                mtrlist.append(m);
            }
        }
        fillcylbydepartment(StringGrid2, 7, row2, period, dptlist, mtrlist);
        row2 += int(mtrlist.size());

        // Every issue of the category: a list cut short would look complete.
        ClientDataSet3.SetData(rmtDM->GetLargeData(issuesql + QStringLiteral(" where (") + issuebase + codecondition
                                                       + QStringLiteral(" order by c.fid,a.mid"),
                                                   -1));
        if (records(ClientDataSet3) > 0) {
            putrow(StringGrid3, row3, {number, category.text});
            datasettogrid(StringGrid3, &ClientDataSet3, row3, 9, 0);
            row3 += records(ClientDataSet3);
        }
    }
    // The unit columns as the header lays them out (the fill grows the grid one column wider).
    StringGrid2->SetColCount(6 + 2 * int(dptlist.size()));
    fitrows(StringGrid1, row1);
    fitrows(StringGrid2, row2);
    fitrows(StringGrid3, row3);
}

void Tfrmcylreport::printbillExecute(QObject* Sender)
{
    const ExcelApp app = createexcelapp();
    exportsheet(app, 1, [](TExcelWorksheet* s) { excelcylsumhead(s); }, StringGrid1, QStringLiteral("在存在用统计表"));
    exportsheet(app, 2, [this](TExcelWorksheet* s) { excelcyldpthead(s, dptlist); }, StringGrid2,
                QStringLiteral("分配统计表"));
    exportsheet(app, 3, [](TExcelWorksheet* s) { excelcyldetailhead(s); }, StringGrid3, QStringLiteral("领用情况统计表"));
}
