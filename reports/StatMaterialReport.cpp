#include "StatMaterialReport.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/ReportGrid.h"
#include "data/frmconst.h"
#include "platform/gui/FontScale.h"

namespace {

void setwidths(TStringGrid* grid, std::initializer_list<int> widths)
{
    int c = 0;
    for (int w : widths)
        grid->SetColWidths(c++, Scaled(w));
}

} // namespace

Tfrmmaterialreport::Tfrmmaterialreport(QWidget* AOwner) : Tfrmbasicreport(AOwner)
{
    setObjectName(QStringLiteral("frmmaterialreport"));
    SetCaption(QStringLiteral("材料库存、进出存报表"));
    PageControl1->setTabText(0, QStringLiteral("材料进出存汇总报表"));
    PageControl1->setTabText(1, QStringLiteral("材料进出存明细表"));
    PageControl1->setTabText(2, QStringLiteral("材料库存情况报表"));
    setupgrid(StringGrid1, 2, 10, drawbreedsumhead);
    setwidths(StringGrid1, {46, 110, 69, 86, 68, 83, 59, 79, 64, 95});
    setupgrid(StringGrid2, 2, 12, drawmtrsumhead);
    setwidths(StringGrid2, {42, 83, 93, 55, 64, 90, 64, 92, 69, 79, 69, 84});
    setupgrid(StringGrid3, 1, 7, drawmtrlisthead);
    setwidths(StringGrid3, {64, 108, 85, 64, 82, 99, 148});
}

void Tfrmmaterialreport::calsbillExecute(QObject* Sender)
{
    busy([this] { Calsdata(); });
}

Tfrmmaterialreport::Values Tfrmmaterialreport::categoryvalues(const QString& code, int period)
{
    Values x;
    rmtDM->GetTypeinitnumcost(x.v[0], x.v[1], code, period);
    rmtDM->GetTypeInnumcost(x.v[2], x.v[3], code, period);
    rmtDM->GetTypeexnumcost(x.v[4], x.v[5], code, period);
    rmtDM->GetTypeendnumcost(x.v[6], x.v[7], code, period);
    return x;
}

Tfrmmaterialreport::Values Tfrmmaterialreport::materialvalues(int mid, int period)
{
    Values x;
    rmtDM->Getmtrinitnumcost(x.v[0], x.v[1], period, mid);
    rmtDM->Getmtrinnumcost(x.v[2], x.v[3], period, mid);
    rmtDM->Getmtrexnumcost(x.v[4], x.v[5], period, mid);
    rmtDM->Getmtrendnumcost(x.v[6], x.v[7], period, mid);
    return x;
}

void Tfrmmaterialreport::Calsdata()
{
    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3})
        cleargridrows(g);
    StringGrid3->SetRowCount(4);
    breedlist.clear();
    rmtDM->gettreenodelistdef(QStringLiteral("breedlist"), breedlist, 0, 3);
    const int period = reportperiod();

    int row1 = 2, row2 = 2, row3 = 1;
    int counter[4] = {0, 0, 0, 0};
    int stockno = 0;
    for (const tnodelist& node : breedlist) {
        QString number;
        switch (node.level) {
        case 1:
            ++counter[0];
            counter[1] = counter[2] = counter[3] = 0;
            number = chinesenumber(counter[0]) + QStringLiteral("、");
            break;
        case 2:
            ++counter[1];
            counter[2] = counter[3] = 0;
            number = QStringLiteral("%1.%2").arg(counter[0]).arg(counter[1]);
            break;
        case 3:
            ++counter[2];
            counter[3] = 0;
            number = QStringLiteral("%1.%2.%3").arg(counter[0]).arg(counter[1]).arg(counter[2]);
            break;
        default:
            ++counter[3];
            number = QStringLiteral("%1.%2.%3.%4").arg(counter[0]).arg(counter[1]).arg(counter[2]).arg(counter[3]);
            break;
        }
        const Values x = categoryvalues(node.code, period);

        const int r1 = putrow(StringGrid1, row1, {number, node.text});
        const int r2 = putrow(StringGrid2, row2, {number, node.text});
        for (int i = 0; i < 8; i += 2) {
            putpair(StringGrid1, 2 + i, r1, x.v[i], x.v[i + 1]);
            putpair(StringGrid2, 4 + i, r2, x.v[i], x.v[i + 1]);
        }
        putpair(StringGrid3, 4, putrow(StringGrid3, row3, {number, node.text}), x.v[6], x.v[7]);

        if (!node.bparent)
            materialrows(node.code, period, row2, row3, stockno);
    }
    fitrows(StringGrid1, row1);
    fitrows(StringGrid2, row2);
    fitrows(StringGrid3, std::max(row3, 4));
}

void Tfrmmaterialreport::materialrows(const QString& code, int period, int& row2, int& row3, int& stockno)
{
    cdsmtrlist.SetData(rmtDM->getsqldata(QStringLiteral("select a.fid,a.mname,a.mtype,a.munit from mtrlist a,breedlist b"),
                                         QStringLiteral("a.fid"), QStringLiteral("fid"),
                                         QStringLiteral(" a.bid=b.fid and ") + rmtDM->codeprefix(QStringLiteral("b.code"), code), 20));
    if (!cdsmtrlist.Active())
        return;
    int materialno = 0;
    for (cdsmtrlist.First(); !cdsmtrlist.Eof(); cdsmtrlist.Next()) {
        const int mid = cdsmtrlist.FieldByName(QStringLiteral("fid"))->AsInteger();
        const QStringList texts = {cdsmtrlist.FieldByName(QStringLiteral("mname"))->AsString(),
                                  cdsmtrlist.FieldByName(QStringLiteral("mtype"))->AsString(),
                                  cdsmtrlist.FieldByName(QStringLiteral("munit"))->AsString()};
        const Values x = materialvalues(mid, period);
        const double amounts = x.v[1] + x.v[3] + x.v[5] + x.v[7];
        const double quantities = x.v[0] + x.v[2] + x.v[4] + x.v[6];
        if (amounts != 0 || quantities != 0) {
            const int r = putrow(StringGrid2, row2, {QString::number(++materialno), texts[0], texts[1], texts[2]});
            for (int i = 0; i < 8; i += 2)
                putpair(StringGrid2, 4 + i, r, x.v[i], x.v[i + 1]);
        }
        if (x.v[6] != 0 || x.v[7] != 0)
            putpair(StringGrid3, 4, putrow(StringGrid3, row3, {QString::number(++stockno), texts[0], texts[1], texts[2]}),
                    x.v[6], x.v[7]);
    }
}

void Tfrmmaterialreport::printbillExecute(QObject* Sender)
{
    const ExcelApp app = createexcelapp();
    exportsheet(app, 1, [](TExcelWorksheet* s) { excelbreedsumhead(s); }, StringGrid1, QStringLiteral("进出存汇总表"));
    exportsheet(app, 2, [](TExcelWorksheet* s) { excelmtrdetailhead(s); }, StringGrid2, QStringLiteral("进出存明细表"));
    exportsheet(app, 3, [](TExcelWorksheet* s) { excelmtrlisthead(s, QStringLiteral("材料库存明细表")); }, StringGrid3,
                QStringLiteral("库存明细表"));
}
