#include "StatBillReport.h"

#include "data/DM.h"
#include "data/ReportGrid.h"
#include "data/frmconst.h"

namespace {

const QString kInTotal = QStringLiteral("本期收入");
const QString kExTotal = QStringLiteral("支出合计");
const QString kExSheetTotal = QStringLiteral("本期支出");

// The statistics grids start with their three header rows and one empty data row.
void statgrids(std::initializer_list<TStringGrid*> grids)
{
    for (TStringGrid* g : grids) {
        g->SetRowCount(4);
        g->SetFixedRows(3);
    }
}

// A painter of the three-row category header with a total caption and a list of items.
std::function<void(TStringGrid*, int, int)> stathead(const QString& total, const TNodeList* items)
{
    return [total, items](TStringGrid* grid, int col, int row) { drawstathead(grid, col, row, total, *items); };
}

// The column items of a tree for a period: nodes with movements, leaves or parents at level 3.
void fillitems(TNodeList& list, const char* table, quint8 kind, quint8 billflag, int period)
{
    list.clear();
    rmtDM->gettreenodelist(QString::fromLatin1(table), list, 0, 3, kind, billflag, period);
}

// The grid's columns as its header painter lays them out: the fixed pair and a pair per item.
void statcolumns(TStringGrid* grid, const TNodeList& items)
{
    grid->SetColCount(2 * int(items.size()) + 4);
    grid->update();
}

// The categories from the root down to level 3, depth first.
void fillbreeds(TNodeList& list)
{
    list.clear();
    rmtDM->gettreenodelistdef(QStringLiteral("breedlist"), list, 0, 3);
}

} // namespace

// ---------------------------------------------------------------- stock-in

TfrmimbillReport::TfrmimbillReport(QWidget* AOwner) : Tfrmbasicreport(AOwner)
{
    setObjectName(QStringLiteral("frmimbillReport"));
    SetCaption(QStringLiteral("材料入库报表"));
    PageControl1->setTabText(0, QStringLiteral("按材料来源统计"));
    PageControl1->setTabText(1, QStringLiteral("按供应厂商统计"));
    PageControl1->setTabText(2, QStringLiteral("按采购币种统计"));
    setupgrid(StringGrid1, 3, 4, stathead(kInTotal, &cflist));
    setupgrid(StringGrid2, 3, 4, stathead(kInTotal, &suplist));
    setupgrid(StringGrid3, 3, 4, stathead(kInTotal, &crylist));
}

void TfrmimbillReport::FormShow(QObject* Sender)
{
    Tfrmbasicreport::FormShow(Sender);
    statgrids({StringGrid1, StringGrid2});
    crylist.clear();
    rmtDM->getnodelist(QStringLiteral("currencyset"), crylist);
    fillbreeds(breedlist);
    fillitems(suplist, "suplist", 3, 0, curpid);
    fillitems(cflist, "cflist", 2, 0, curpid);
    SetTabVisible(TabSheet3, systype != TSystype::local);
}

void TfrmimbillReport::calsbillExecute(QObject* Sender)
{
    busy([this] { calsdata(); });
}

void TfrmimbillReport::calsdata()
{
    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3})
        cleargridrows(g);
    const int period = reportperiod();
    fillitems(suplist, "suplist", 3, 0, period);
    fillitems(cflist, "cflist", 2, 0, period);
    if (systype == TSystype::overseas)
        fillinbycurrency(StringGrid3, breedlist, crylist, period);
    fillinbysupplier(StringGrid2, breedlist, suplist, period);
    fillinbysource(StringGrid1, breedlist, cflist, period);
    statcolumns(StringGrid1, cflist);
    statcolumns(StringGrid2, suplist);
    statcolumns(StringGrid3, crylist);
}

void TfrmimbillReport::printbillExecute(QObject* Sender)
{
    const ExcelApp app = createexcelapp();
    exportsheet(app, 1, [this](TExcelWorksheet* s) {
        excelstathead(s, cflist, accname + QStringLiteral("入库材料（按材料来源）统计报表"), kInTotal);
    }, StringGrid1, QStringLiteral("材料来源统计"));
    exportsheet(app, 2, [this](TExcelWorksheet* s) {
        excelstathead(s, suplist, accname + QStringLiteral("入库材料（按供应厂商）统计报表"), kInTotal);
    }, StringGrid2, QStringLiteral("供应商统计"));
    if (systype == TSystype::overseas)
        exportsheet(app, 3, [this](TExcelWorksheet* s) {
            excelstathead(s, crylist, accname + QStringLiteral("入库材料（按采购币种）统计报表"), QStringLiteral("收入汇总"));
        }, StringGrid3, QStringLiteral("对采购币种统计"));
}

// ---------------------------------------------------------------- stock-out

TfrmExbillReport::TfrmExbillReport(QWidget* AOwner) : Tfrmbasicreport(AOwner)
{
    setObjectName(QStringLiteral("frmExbillReport"));
    SetCaption(QStringLiteral("材料出库报表"));
    PageControl1->setTabText(0, QStringLiteral("材料出库情况汇总表"));
    PageControl1->setTabText(1, QStringLiteral("材料出库情况明细表"));
    PageControl1->setTabText(2, QStringLiteral("出库领用平衡表"));
    SetTabVisible(TabSheet3, false);
    setupgrid(StringGrid1, 3, 4, stathead(kExTotal, &dptlist));
    setupgrid(StringGrid2, 3, 4, stathead(kExTotal, &pjtlist));
    setupgrid(StringGrid3, 3, 4, stathead(kExTotal, &dptlist));
}

void TfrmExbillReport::FormShow(QObject* Sender)
{
    Tfrmbasicreport::FormShow(Sender);
    statgrids({StringGrid1, StringGrid2});
    fillbreeds(breedlist);
    fillitems(dptlist, "dptlist", 4, 1, curpid);
    fillitems(pjtlist, "pjtlist", 5, 1, curpid);
}

void TfrmExbillReport::calsbillExecute(QObject* Sender)
{
    busy([this] { calsdata(); });
}

void TfrmExbillReport::calsdata()
{
    cleargridrows(StringGrid1);
    cleargridrows(StringGrid2);
    const int period = reportperiod();
    fillitems(dptlist, "dptlist", 4, 1, period);
    fillitems(pjtlist, "pjtlist", 5, 1, period);
    fillexbydepartment(StringGrid1, breedlist, dptlist, period);
    fillexbyproject(StringGrid2, breedlist, pjtlist, period);
    statcolumns(StringGrid1, dptlist);
    statcolumns(StringGrid2, pjtlist);
}

void TfrmExbillReport::printbillExecute(QObject* Sender)
{
    const ExcelApp app = createexcelapp();
    exportsheet(app, 1, [this](TExcelWorksheet* s) {
        excelstathead(s, dptlist, accname + QStringLiteral("材料出库（按领用单位）统计报表"), kExSheetTotal);
    }, StringGrid1, QStringLiteral("按单位统计"));
    exportsheet(app, 2, [this](TExcelWorksheet* s) {
        excelstathead(s, pjtlist, accname + QStringLiteral("材料出库（按使用项目）统计报表"), kExSheetTotal);
    }, StringGrid2, QStringLiteral("按项目统计"));
}
