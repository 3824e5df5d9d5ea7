#include "StatConsumeReport.h"

#include "data/DM.h"
#include "data/ReportGrid.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/Format.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int kUnchecked = 1;
constexpr int kChecked = 2;

// The check-box state images: 0 none, 1 an empty box, 2 a ticked box.
QList<QIcon> checkimages()
{
    QList<QIcon> icons{QIcon()};
    for (bool ticked : {false, true}) {
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, ticked);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(2, 2, 11, 11);
        if (ticked) {
            p.setPen(QPen(Qt::black, 2));
            p.drawPolyline(QPolygon({QPoint(4, 8), QPoint(7, 11), QPoint(12, 4)}));
        }
        p.end();
        icons << QIcon(pm);
    }
    return icons;
}

const char* const kItemTables[] = {"dptlist", "pjtlist", "cflist", "suplist"};
const quint8 kItemKinds[] = {4, 5, 2, 3};

} // namespace

// ---------------------------------------------------------------- selection dialog

Tfrmreportset::Tfrmreportset(QWidget* AOwner) : TfrmBaseform(AOwner)
{
    setObjectName(QStringLiteral("frmreportset"));
    SetCaption(QStringLiteral("自定义报表内容项设置"));
    auto* box = new QVBoxLayout(panel3);
    box->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(panel3);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    box->addWidget(PageControl1);

    auto sheet = [this](const char* name, const QString& caption) {
        auto* w = new QWidget(PageControl1);
        w->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(w, caption);
        return w;
    };
    auto treegroup = [](QWidget* parent, const char* name, TTreeView*& tree, const char* treename) {
        auto* g = new QGroupBox(QStringLiteral("请选择统计项"), parent);
        g->setObjectName(QString::fromLatin1(name));
        auto* l = new QVBoxLayout(g);
        tree = new TTreeView(g);
        tree->setObjectName(QString::fromLatin1(treename));
        l->addWidget(tree);
        return g;
    };

    auto radio = [](QWidget* parent, const char* name, const QString& caption, const QStringList& items) {
        auto* g = new TRadioGroup(caption, parent);
        g->setObjectName(QString::fromLatin1(name));
        g->SetItems(items);
        g->SetColumns(int(items.size()));
        g->SetItemIndex(0);
        return g;
    };

    TabSheet1 = sheet("TabSheet1", QStringLiteral("材料分类设置"));
    auto* l1 = new QVBoxLayout(TabSheet1);
    RadioGroup1 = radio(TabSheet1, "RadioGroup1", QStringLiteral("在报表中显示方式"),
                        {QStringLiteral("行向显示"), QStringLiteral("列向显示")});
    l1->addWidget(RadioGroup1);
    GroupBox1 = treegroup(TabSheet1, "GroupBox1", TreeView1, "TreeView1");
    l1->addWidget(GroupBox1, 1);

    tabsheet2 = sheet("tabsheet2", QStringLiteral("材料统计项设置"));
    auto* l2 = new QVBoxLayout(tabsheet2);
    RadioGroup2 = radio(tabsheet2, "RadioGroup2", QStringLiteral("统计项目"),
                        {QStringLiteral("领用单位"), QStringLiteral("使用项目"), QStringLiteral("材料来源"),
                         QStringLiteral("供应厂商")});
    l2->addWidget(RadioGroup2);
    GroupBox2 = treegroup(tabsheet2, "GroupBox2", TreeView2, "TreeView2");
    l2->addWidget(GroupBox2, 1);

    TabSheet3 = sheet("TabSheet3", QStringLiteral("结算周期"));
    auto* l3 = new QVBoxLayout(TabSheet3);
    RadioGroup3 = radio(TabSheet3, "RadioGroup3", QStringLiteral("周期选择"),
                        {QStringLiteral("统计本期"), QStringLiteral("历史周期")});
    l3->addWidget(RadioGroup3);
    DBGridGx1 = new TDBGridGx(TabSheet3);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    DSperiod.SetDataSet(&cdsperiod);
    Tfrmbasicreport::setupperiodgrid(DBGridGx1, &DSperiod);
    DBGridGx1->setEnabled(false);
    l3->addWidget(DBGridGx1, 1);

    RadioGroup2->OnClick = [this](QObject* s) { RadioGroup2Click(s); };
    RadioGroup3->OnClick = [this](QObject* s) { RadioGroup3Click(s); };
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
    FormCreate(this);
}

Tfrmreportset::~Tfrmreportset()
{
    // The tree models go before their tree views, the grid's link before the data source.
    DBGridGx1->SetDataSource(nullptr);
    breednodes.reset();
    dptnodes.reset();
}

void Tfrmreportset::FormCreate(QObject* Sender)
{
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet3), false);
    resize(Scaled(QSize(680, 490)));
    checkable(TreeView1);
    checkable(TreeView2);
    breednodes = showtree(TreeView1, QStringLiteral("breedlist"));
    dptnodes = showtree(TreeView2, QStringLiteral("dptlist"));
}

void Tfrmreportset::checkable(TTreeView* tree)
{
    tree->SetStateImages(checkimages());
    tree->viewport()->installEventFilter(this);
    tree->OnKeyDown = [tree](QObject*, WORD& Key, TShiftState) {
        if (Key == VK_SPACE && tree->Selected()) {
            ToggleCheck(tree->Selected());
            Key = 0;
        }
    };
}

std::unique_ptr<TRSNodes> Tfrmreportset::showtree(TTreeView* tree, const QString& table)
{
    auto nodes = std::make_unique<TRSNodes>(tree, table);
    TTreeNode* root = nodes->showboot();
    nodes->showrschildren(root);
    for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext())
        n->SetStateIndex(kUnchecked);
    return nodes;
}

bool Tfrmreportset::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (TTreeView* tree : {TreeView1, TreeView2}) {
            if (watched != tree->viewport())
                continue;
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            QTreeWidgetItem* item = tree->itemAt(pos);
            if (!item)
                break;
            // A press on the check box (the state image left of the node's picture) flips it.
            const QRect r = tree->visualItemRect(item);
            if (pos.x() >= r.left() && pos.x() < r.left() + 20)
                ToggleCheck(tree->NodeOf(item));
        }
    }
    return TfrmBaseform::eventFilter(watched, event);
}

bool Tfrmreportset::IsChecked(const TTreeNode* Node)
{
    return Node->StateIndex() == kChecked;
}

void Tfrmreportset::ToggleCheck(TTreeNode* Node)
{
    if (Node)
        Node->SetStateIndex(IsChecked(Node) ? kUnchecked : kChecked);
}

void Tfrmreportset::RadioGroup2Click(QObject* Sender)
{
    const int i = RadioGroup2->ItemIndex();
    if (i < 0 || i > 3)
        return;
    dptnodes.reset();
    dptnodes = showtree(TreeView2, QString::fromLatin1(kItemTables[i]));
}

void Tfrmreportset::RadioGroup3Click(QObject* Sender)
{
    const bool history = RadioGroup3->ItemIndex() == 1;
    DBGridGx1->setEnabled(history);
    if (history) {
        cdsperiod.SetData(rmtDM->gettabledata(QStringLiteral("periodlist"), QStringLiteral("fid"), QStringLiteral("1=1"), 20));
    } else if (cdsperiod.Active()) {
        cdsperiod.EmptyDataSet();
        cdsperiod.Close();
    }
}

void Tfrmreportset::readtreeviewnodelist(TTreeView* tree, TNodeList& list, quint8 kind)
{
    for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext()) {
        if (!IsChecked(n))
            continue;
        const Trsnode* r = TRSNodes::recordof(n);
        if (!r)
            continue;
        tnodelist item;
        item.fid = r->fid;
        item.pfid = r->Pfid;
        item.text = r->prtname;
        item.code = r->code;
        item.level = r->tlevel;
        item.bparent = r->bparent;
        item.Setbilltype(kind);
        list.append(item);
    }
}

void Tfrmreportset::Button1Click(QObject* Sender)
{
    reportbreedlist.clear();
    reportitemlist.clear();
    reportbreedrows = RadioGroup1->ItemIndex() == 0;
    readtreeviewnodelist(TreeView1, reportbreedlist, 1);
    const int i = RadioGroup2->ItemIndex();
    readtreeviewnodelist(TreeView2, reportitemlist, i >= 0 && i <= 3 ? kItemKinds[i] : 0);
}

// ---------------------------------------------------------------- report

Tfrmconsumereport::Tfrmconsumereport(QWidget* AOwner) : Tfrmbasicreport(AOwner)
{
    setObjectName(QStringLiteral("frmconsumereport"));
    SetCaption(QStringLiteral("自定义统计报表"));
    PageControl1->setTabText(0, QStringLiteral("自定义统计报表"));
    SetTabVisible(TabSheet2, false);
    SetTabVisible(TabSheet3, false);
    setupgrid(StringGrid1, 2, 2, [](TStringGrid* g, int c, int r) { drawconsumehead(g, c, r, columnlist()); });
    FormCreate(this);
}

void Tfrmconsumereport::FormCreate(QObject* Sender)
{
    reportbreedlist.clear();
    reportitemlist.clear();
}

const TNodeList& Tfrmconsumereport::columnlist()
{
    return reportbreedrows ? reportbreedlist : reportitemlist;
}

const TNodeList& Tfrmconsumereport::rowlist()
{
    return reportbreedrows ? reportitemlist : reportbreedlist;
}

void Tfrmconsumereport::calsbillExecute(QObject* Sender)
{
    // A fresh dialog each time, freed with the report form.
    auto* dialog = new Tfrmreportset(this);
    if (dialog->ShowModal() == mrOk)
        busy([this] { calsdata(); });
}

void Tfrmconsumereport::calsdata()
{
    for (int r = 0; r < StringGrid1->RowCount(); ++r)
        for (int c = 0; c < StringGrid1->ColCount(); ++c)
            StringGrid1->SetCells(c, r, QString());
    StringGrid1->SetColCount(2);
    StringGrid1->SetRowCount(3);
    const int period = reportperiod();
    const TNodeList& columns = columnlist();
    const TNodeList& rows = rowlist();
    StringGrid1->SetRowCount(int(rows.size()) + 2);
    StringGrid1->SetColCount(2 * int(columns.size()) + 2);
    for (int i = 0; i < rows.size(); ++i) {
        const int row = i + 2;
        StringGrid1->SetCells(0, row, QString::number(i + 1));
        StringGrid1->SetCells(1, row, rows[i].text);
        for (int j = 0; j < columns.size(); ++j) {
            const tnodelist& breed = reportbreedrows ? columns[j] : rows[i];
            const tnodelist& item = reportbreedrows ? rows[i] : columns[j];
            double num = 0, cost = 0;
            rmtDM->getnumcostbycode(num, cost, breed.code, item.code, period, item.billtype);
            putpair(StringGrid1, 2 + 2 * j, row, num, cost);
        }
    }
    StringGrid1->update();
}

void Tfrmconsumereport::printbillExecute(QObject* Sender)
{
    const ExcelApp app = createexcelapp();
    TExcelWorksheet* sheet = app->ActiveSheet();
    excelconsumehead(sheet, columnlist(), reporttitle + QStringLiteral("数据统计情况"));
    gridtoexcel(StringGrid1, sheet);
}
