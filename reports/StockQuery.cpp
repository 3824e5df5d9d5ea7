#include "StockQuery.h"

#include "CompositeStock.h"
#include "QueryBills.h"
#include "data/DataProcess.h"
#include "data/ExcelExport.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/FontScale.h"

#include <QHBoxLayout>
#include <QSplitter>

TfrmQueryStorage::TfrmQueryStorage(QWidget* AOwner) : TfrmBasicquery(AOwner)
{
    setObjectName(QStringLiteral("frmQueryStorage"));
    SetCaption(QStringLiteral("材料库存查询、材料明细帐"));
    CheckBox1->SetCaption(QStringLiteral("不显示金额为0的材料项"));
    CheckBox2->SetCaption(QStringLiteral("只显示数量为0而金额不为0的材料项"));
    // No bill form here: the bill button leaves the toolbar.
    for (QAction* a : ToolBar1->actions())
        if (ToolBar1->widgetForAction(a) == ToolButton4)
            a->setVisible(false);
    querycondition.clear();
    taioform = [](QWidget* owner) -> TForm* { return new TfrmQuerySrgdetail(owner); };

    auto* split = new QSplitter(Qt::Horizontal, ClientPanel);
    TreeView1 = new TTreeView(split);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->SetReadOnly(true);
    TreeView1->setExpandsOnDoubleClick(false);
    TbreedNodes::setimages(TreeView1);
    split->addWidget(TreeView1);
    ClientPanel->layout()->removeWidget(DBGridGx1);
    split->addWidget(DBGridGx1);
    split->setSizes({Scaled(180), Scaled(770)});
    split->setStretchFactor(1, 1);
    ClientPanel->layout()->addWidget(split);

    breednodes = std::make_unique<TbreedNodes>(TreeView1, QStringLiteral("breedlist"));
    TreeView1->OnChange = [this](QObject* s, TTreeNode* n) { Application->Guard([this, s, n] { TreeView1Change(s, n); }); };
    TreeView1->OnDblClick = [this](QObject* s) { Application->Guard([this, s] { TreeView1DblClick(s); }); };
}

TfrmQueryStorage::~TfrmQueryStorage()
{
    TreeView1->OnChange = nullptr;
    TreeView1->Items()->Clear();
}

void TfrmQueryStorage::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    TTreeNode* root = breednodes->showboot();
    breednodes->showrschildren(root);
    TreeView1->FullExpand();
    breednodes->setselectnode(1);
    setgridsrgtitle();
}

void TfrmQueryStorage::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    breednodes->onTreeViewChange(Sender, Node);
    if (const TbreedNode* b = TbreedNodes::breedof(TreeView1->Selected()))
        fcode = b->code.trimmed();
}

void TfrmQueryStorage::TreeView1DblClick(QObject* Sender)
{
    breednodes->onTreeViewDbClick(Sender);
    ToolButton1Click(Sender);
}

QString TfrmQueryStorage::getsqlstring() const
{
    return QStringLiteral("select b.mname,b.mtype,b.munit,a.qty,a.cost,b.remark,a.mid,b.CODE from msrglist a,mtrlist b ");
}

QString TfrmQueryStorage::gettiaostring() const
{
    QString s = QStringLiteral("b.CODE like '") + likeprefix(fcode) + QStringLiteral(" and a.mid=b.fid");
    if (!Edit1->text().isEmpty())
        s += likecontains(QStringLiteral("b.mname"), Edit1->text());
    if (CheckBox1->Checked())
        s += QStringLiteral(" and a.cost<>0");
    if (CheckBox2->Checked())
        s += QStringLiteral(" and a.cost<>0 and a.qty=0");
    return s;
}

void TfrmQueryStorage::acQueryExecute(QObject* Sender)
{
    querysql = getsqlstring();
    querycondition = gettiaostring();
    ToolButton1Click(Sender);
}

void TfrmQueryStorage::ToolButton1Click(QObject*)
{
    adoqry.Close();
    setgridsrgtitle();
    m_batches = false;
    runquery(getsqlstring() + QStringLiteral(" where ") + gettiaostring(), false);
    acBillEx->setEnabled(!querytotal);
}

void TfrmQueryStorage::CheckBox2Click(QObject* Sender)
{
    TfrmBasicquery::CheckBox2Click(Sender);
    acBillEx->setEnabled(!querytotal);
}

void TfrmQueryStorage::DBGridGx1DblClick(QObject* Sender)
{
    if (acBillEx->isEnabled())
        acBillExExecute(Sender);
}

void TfrmQueryStorage::setgridsrgtitle()
{
    setcolumns({{"mname", "材料名称", 80, "汇总"}, {"mtype", "规格型号", 80}, {"munit", "单位", 70, "", true},
                {"qty", "数量", 70, "sum"}, {"cost", "金额", 70, "sum"}, {"remark", "备注", 180}},
               false, 0);
}

void TfrmQueryStorage::acQueryExExecute(QObject* Sender)
{
    TfrmBasicquery::acQueryExExecute(Sender);
    cdsdetail.Close();
    if (!queryok)
        return;
    adoqry.Close();
    const bool batches = querybycf || querybysup;
    if (batches)
        setgridcfsrgtitle(systype);
    else
        setgridsrgtitle();
    m_batches = batches;
    runquery(querysql + QStringLiteral(" where ") + querycondition, false);
}

void TfrmQueryStorage::setgridcfsrgtitle(TSystype kind)
{
    if (kind == TSystype::local)
        setcolumns({{"bdate", "日期", 50, "合计"}, {"bnum", "编号", 70}, {"Mname", "名称", 90, "", true}, {"mtype", "型号", 80},
                    {"qty", "数量", 60, "sum"}, {"sprice", "单价", 70}, {"dprice", "复价", 60, "sum", false, true},
                    {"remark", "备注", 110}},
                   true, 2, 4);
    else
        setcolumns({{"bdate", "日期", 50, "合计"}, {"bnum", "编号", 70}, {"Mname", "名称", 90, "", true}, {"mtype", "型号", 80},
                    {"qty", "数量", 60, "sum"}, {"cryname", "币种", 60}, {"rsprice", "单价", 70},
                    {"rdprice", "复价", 60, "sum", false, true}, {"remark", "备注", 110}},
                   true, 2, 4);
}

void TfrmQueryStorage::acPrintExecute(QObject*)
{
    const ExcelApp app = createexcelapp();
    TExcelWorksheet* sheet = app->Workbooks(1)->Worksheets(1);
    if (!m_batches) {
        excelmtrlisthead(sheet, QStringLiteral("材料库存统计表"));
        datasettoexcelnumbered(&adoqry, sheet, 3, 6, 1);
        return;
    }
    // Numbered, each field under the head that names it.
    const bool overseas = systype == TSystype::overseas;
    excelstoragehead(sheet, overseas ? 1 : 0);
    QStringList fields{QStringLiteral("bdate"), QStringLiteral("bnum"), QStringLiteral("mname"), QStringLiteral("mtype"),
                       QStringLiteral("munit"), QStringLiteral("qty")};
    if (overseas)
        fields << QStringLiteral("cryname") << QStringLiteral("rsprice") << QStringLiteral("rdprice");
    else
        fields << QStringLiteral("sprice") << QStringLiteral("dprice");
    fields << QStringLiteral("remark");
    datasettoexcelnumbered(&adoqry, sheet, 3, fields, 1);
}
