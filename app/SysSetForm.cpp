#include "SysSetForm.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "data/rsnodeprocess.h"
#include "grid/control/DBGridGxColumns.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/gui/RadioGroup.h"
#include "platform/gui/TreeView.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFile.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

QGroupBox* group(QWidget* parent, const QString& caption)
{
    auto* g = new QGroupBox(caption, parent);
    new QFormLayout(g);
    return g;
}

QFormLayout* formOf(QGroupBox* g)
{
    return static_cast<QFormLayout*>(g->layout());
}

QSpinBox* spin(QWidget* parent, const char* name)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(1, 4);
    return s;
}

// An editing grid over a data source with the given columns.
TDBGridGx* editgrid(QWidget* parent, const char* name, TDataSource* source, std::initializer_list<TGridColumnDef> columns)
{
    auto* grid = new TDBGridGx(parent);
    grid->setObjectName(QString::fromLatin1(name));
    AddGridColumns(grid, columns);
    grid->SetDataSource(source);
    return grid;
}

} // namespace

int Tfrmsystemset::imbilllayout(int value)
{
    return value == 1 ? 1 : 0;
}

Tfrmsystemset::Tfrmsystemset(QWidget* AOwner) : TfrmBaseform(AOwner), dsbilltype(&cdsbilltype), dscurrency(&cdscurrency)
{
    SetCaption(QStringLiteral("系统参数设置"));
    resize(Scaled(QSize(680, 490)));
    Button2->SetCaption(QStringLiteral("放弃"));
    auto* outer = new QVBoxLayout(panel3);
    outer->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(panel3);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    outer->addWidget(PageControl1);

    // ---- 系统参数
    TabSheet1 = new QWidget(PageControl1);
    auto* grid = new QGridLayout(TabSheet1);
    QGroupBox* dots = group(TabSheet1, QStringLiteral("票据小数位数"));
    SpinEdit1 = spin(dots, "SpinEdit1");
    SpinEdit2 = spin(dots, "SpinEdit2");
    formOf(dots)->addRow(QStringLiteral("单价小数点位数"), SpinEdit1);
    formOf(dots)->addRow(QStringLiteral("复价小数点位数"), SpinEdit2);
    QGroupBox* start = group(TabSheet1, QStringLiteral("初始票据日期设置"));
    DateTimePicker1 = new QDateTimeEdit(start);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    ComboBox1 = new QComboBox(start);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (int m = 1; m <= 12; ++m)
        ComboBox1->addItem(QString::number(m));
    formOf(start)->addRow(QStringLiteral("系统启用初始日期"), DateTimePicker1);
    formOf(start)->addRow(QStringLiteral("本期票据月份"), ComboBox1);
    QGroupBox* print = group(TabSheet1, QStringLiteral("票据打印样式"));
    auto fileRow = [&](const char* editName, const char* buttonName, QLineEdit*& edit, QPushButton*& button) {
        auto* row = new QHBoxLayout;
        edit = new QLineEdit(print);
        edit->setObjectName(QString::fromLatin1(editName));
        button = new QPushButton(QStringLiteral("..."), print);
        button->setObjectName(QString::fromLatin1(buttonName));
        button->setFixedWidth(Scaled(28));
        button->setAutoDefault(false);
        row->addWidget(edit, 1);
        row->addWidget(button);
        return row;
    };
    formOf(print)->addRow(QStringLiteral("入库单打印样式"), fileRow("Edit2", "Button3", Edit2, Button3));
    formOf(print)->addRow(QStringLiteral("出库单打印样式"), fileRow("Edit3", "Button4", Edit3, Button4));
    QGroupBox* account = group(TabSheet1, QStringLiteral("帐套信息"));
    Edit1 = new QLineEdit(account);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit4 = new QLineEdit(account);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    formOf(account)->addRow(QStringLiteral("公司名称"), Edit1);
    formOf(account)->addRow(QStringLiteral("帐套说明"), Edit4);
    RadioGroup2 = new TRadioGroup(QStringLiteral("系统用于"), TabSheet1);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    RadioGroup2->SetItems({QStringLiteral("国内工程项目使用 "), QStringLiteral("海外工程项目使用")});
    RadioGroup1 = new TRadioGroup(QStringLiteral("国内工程项目用入库单样式"), TabSheet1);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->SetItems({QStringLiteral("成品型入库单"), QStringLiteral("原材料入库单")});
    grid->addWidget(dots, 0, 0);
    grid->addWidget(start, 0, 1);
    grid->addWidget(print, 1, 0);
    grid->addWidget(account, 1, 1);
    grid->addWidget(RadioGroup2, 2, 0);
    grid->addWidget(RadioGroup1, 2, 1);
    grid->setRowStretch(3, 1);
    PageControl1->addTab(TabSheet1, QStringLiteral("系统参数"));

    // ---- 票据编号分类设置
    TabSheet2 = new QWidget(PageControl1);
    auto* split = new QHBoxLayout(TabSheet2);
    TreeView1 = new TTreeView(TabSheet2);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->SetReadOnly(true);
    DBGridGx2 = editgrid(TabSheet2, "DBGridGx2", &dsbilltype,
                         {{"typename", "编号分类", 117}, {"ibnum", "入库起始编号", 89}, {"ebnum", "出库起始编号", 91}});
    // The category is the tree node's name; only the start numbers are typed.
    DBGridGx2->Columns()->GetColumn(0)->SetReadOnly(true);
    DBGridGx2->OnDblClick = [this](QObject* s) { DBGridGx2DblClick(s); };
    split->addWidget(TreeView1, 2);
    split->addWidget(DBGridGx2, 3);
    PageControl1->addTab(TabSheet2, QStringLiteral("票据编号分类设置"));

    // ---- 汇率设置
    TabSheet3 = new QWidget(PageControl1);
    DBGridGx1 = editgrid(TabSheet3, "DBGridGx1", &dscurrency,
                         {{"cryname", "币种名", 100}, {"tobalance", "1美元折本币种数", 112}, {"isbalance", "是否为结算货种", 114},
                          {"visibled", "是否显示", 99}});
    (new QVBoxLayout(TabSheet3))->addWidget(DBGridGx1);
    PageControl1->addTab(TabSheet3, QStringLiteral("汇率设置"));

    RadioGroup2->OnClick = [this](QObject* s) { RadioGroup2Click(s); };
    RadioGroup1->OnClick = [this](QObject* s) { RadioGroup2Click(s); };
    connect(Button3, &QPushButton::clicked, this, Application->Guarded([this] { Button3Click(Button3); }));
    connect(Button4, &QPushButton::clicked, this, Application->Guarded([this] { Button4Click(Button4); }));
    TreeView1->OnDblClick = [this](QObject* s) { TreeView1DblClick(s); };
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };

    // Creation: the category tree model and the three lists.
    frsnodes = std::make_unique<TRSNodes>(TreeView1, QStringLiteral("breedlist"));
    TreeView1->OnChange = [this](QObject* s, TTreeNode* n) { frsnodes->onTreeViewChange(s, n); };
    cdscurrency.SetData(rmtDM->gettabledata(QStringLiteral("currencyset"), QStringLiteral("fid"), QStringLiteral("1=1"), 20));
    cdsbilltype.SetData(rmtDM->gettabledata(QStringLiteral("billtype"), QStringLiteral("fid"), QStringLiteral("1=1"), 20));
    ClientDataSet1.SetData(rmtDM->gettabledata(QStringLiteral("currentpid"), QStringLiteral("periodid"),
                                               QStringLiteral("periodid>0"), 20));
}

Tfrmsystemset::~Tfrmsystemset()
{
    DBGridGx2->SetDataSource(nullptr);
    DBGridGx1->SetDataSource(nullptr);
}

void Tfrmsystemset::FormShow(QObject* Sender)
{
    TfrmBaseform::FormShow(Sender);
    SpinEdit1->setValue(spricedots);
    SpinEdit2->setValue(dpricedots);
    ComboBox1->setCurrentIndex(monthid - 1);
    Edit2->setText(imbillprintfile);
    Edit3->setText(exbillprintfile);
    Edit1->setText(accname);
    Edit4->setText(accremark);
    RadioGroup2->SetItemIndex(int(systype));
    RadioGroup1->SetItemIndex(imbilllayout(imbilltype));
    frsnodes->showrschildren(frsnodes->showboot());

    ClientDataSet1.First();
    m_startlocked = ClientDataSet1.Active() && !ClientDataSet1.IsEmpty()
                    && ClientDataSet1.FieldByName(QStringLiteral("periodid"))->AsInteger() != 0;
    if (m_startlocked) {
        if (ClientDataSet1.Locate(QStringLiteral("periodid"), Variant(1)))
            DateTimePicker1->setDateTime(ToQDateTime(ClientDataSet1.FieldByName(QStringLiteral("crtdate"))->AsDateTime()));
        ClientDataSet1.First();
        DateTimePicker1->setEnabled(false);
        RadioGroup2->setEnabled(false);
        RadioGroup1->setEnabled(false);
    } else {
        DateTimePicker1->setDateTime(QDateTime::currentDateTime());
    }
    m_startshown = DateTimePicker1->dateTime();
    PageControl1->setTabVisible(2, systype == TSystype::overseas);
    RadioGroup1->setEnabled(!m_startlocked && RadioGroup2->ItemIndex() == 0);
}

void Tfrmsystemset::RadioGroup2Click(QObject* Sender)
{
    const bool overseas = RadioGroup2->ItemIndex() != 0;
    if (!m_startlocked)
        RadioGroup1->setEnabled(!overseas);
    PageControl1->setTabVisible(2, overseas);
}

void Tfrmsystemset::browse(QLineEdit* edit, const QString& title)
{
    TOpenDialog dialog;
    dialog.Title = title;
    dialog.InitialDir = getappsubdir(QStringLiteral("dpxprt"));
    dialog.Filter = QStringLiteral("票据打印样式(*.prt)|*.prt|All files(*.*)|*.*");
    dialog.FilterIndex = 0;
    if (dialog.Execute())
        edit->setText(QFileInfo(dialog.FileName).fileName());
}

void Tfrmsystemset::Button3Click(QObject* Sender)
{
    browse(Edit2, QStringLiteral("选择入库单打印样式"));
}

void Tfrmsystemset::Button4Click(QObject* Sender)
{
    browse(Edit3, QStringLiteral("选择出库单打印样式"));
}

void Tfrmsystemset::TreeView1DblClick(QObject* Sender)
{
    TTreeNode* node = TreeView1->Selected();
    if (!node || !node->Data())
        return;
    const auto* rs = static_cast<const Trsnode*>(node->Data());
    const int id = rmtDM->GetnewID(QStringLiteral("scid"));
    cdsbilltype.Append();
    cdsbilltype.FieldByName(QStringLiteral("typename"))->SetAsString(rs->prtname);
    cdsbilltype.FieldByName(QStringLiteral("ibnum"))->SetValue(1);
    cdsbilltype.FieldByName(QStringLiteral("ebnum"))->SetValue(1);
    cdsbilltype.FieldByName(QStringLiteral("code"))->SetAsString(QStringLiteral("A") + QString::number(id));
    cdsbilltype.Post();
}

void Tfrmsystemset::DBGridGx2DblClick(QObject* Sender)
{
    if (cdsbilltype.IsEmpty())
        return;
    if (MessageDlg(QStringLiteral("要删除你双击的该项吗？"), mtConfirmation, mbYesNo) == mrYes)
        cdsbilltype.Delete();
}

bool Tfrmsystemset::savechanges(TClientDataSet& cds, const QString& table)
{
    if (cds.State() == dsInsert || cds.State() == dsEdit)
        cds.Post();
    if (cds.ChangeCount() == 0)
        return true;
    if (!rmtDM->ApplyUpdateDelta(cds.Delta(), table, QStringLiteral("fid")))
        return false;
    cds.MergeChangeLog();
    return true;
}

bool Tfrmsystemset::rebuildpool()
{
    QStringList codes;
    for (cdsbilltype.First(); !cdsbilltype.Eof(); cdsbilltype.Next())
        codes << cdsbilltype.FieldByName(QStringLiteral("code"))->AsString().trimmed();
    cdsbilltype.First();
    return rmtDM->deletebilltypelist() && rmtDM->createnewbilltypelist(codes) && rmtDM->markbillcodeids(curpid);
}

namespace {

// Runs one write of the save; an error raised on the way counts as a failed write.
template <class F>
bool written(F&& write)
{
    try {
        return write();
    } catch (const Exception&) {
        return false;
    }
}

} // namespace

void Tfrmsystemset::Button1Click(QObject* Sender)
{
    QStringList failed;
    auto step = [&](bool ok, const QString& what) {
        if (!ok)
            failed << what;
        return ok;
    };
    const int sys = RadioGroup2->ItemIndex();
    if (sys >= 0 && sys != int(systype) && step(written([&] { return rmtDM->setsystemid(QStringLiteral("systype"), sys); }), QStringLiteral("系统用于")))
        systype = TSystype(sys);
    const int layout = RadioGroup1->ItemIndex();
    if (layout >= 0 && layout != imbilllayout(imbilltype)
        && step(written([&] { return rmtDM->setsystemid(QStringLiteral("imbilltype"), layout); }), QStringLiteral("入库单样式")))
        imbilltype = quint8(layout);
    if (Edit1->text() != accname || Edit4->text() != accremark) {
        const bool ok = written([&] {
            return rmtDM->execsql(QStringLiteral("update master..materialdblist set accname=") + vartosqlvalue(Edit1->text())
                                  + QStringLiteral(",remark=") + vartosqlvalue(Edit4->text())
                                  + QStringLiteral(" where fid=") + vartosqlvalue(accsetid));
        });
        if (step(ok, QStringLiteral("帐套信息"))) {
            accname = Edit1->text();
            accremark = Edit4->text();
        }
    }
    if (SpinEdit1->value() != spricedots
        && step(written([&] { return rmtDM->setsystemid(QStringLiteral("spricedots"), SpinEdit1->value()); }), QStringLiteral("单价小数点位数")))
        spricedots = SpinEdit1->value();
    if (SpinEdit2->value() != dpricedots
        && step(written([&] { return rmtDM->setsystemid(QStringLiteral("dpricedots"), SpinEdit2->value()); }), QStringLiteral("复价小数点位数")))
        dpricedots = SpinEdit2->value();
    const int month = ComboBox1->currentIndex() + 1;
    if (month != monthid && step(written([&] { return rmtDM->setsystemid(QStringLiteral("monthid"), month); }), QStringLiteral("本期票据月份")))
        monthid = month;
    // The start date of the books, when the user chose one while it may still change.
    if (!m_startlocked && DateTimePicker1->dateTime() != m_startshown)
        step(written([&] { return rmtDM->setsysemcrtdate(dateofdatetime(FromQDateTime(DateTimePicker1->dateTime()))); }),
             QStringLiteral("系统启用初始日期"));
    step(written([&] { return savechanges(cdscurrency, QStringLiteral("currencyset")); }), QStringLiteral("汇率设置"));
    const bool categories = cdsbilltype.ChangeCount() > 0 || cdsbilltype.State() == dsInsert || cdsbilltype.State() == dsEdit;
    if (categories && step(written([&] { return savechanges(cdsbilltype, QStringLiteral("billtype")); }), QStringLiteral("票据编号分类")))
        step(written([&] { return rebuildpool(); }), QStringLiteral("票据编号池"));
    try {
        TIniFile ini(getappsubdir(QStringLiteral("log")) + QStringLiteral("printsetting.ini"));
        ini.WriteString(dbname, QStringLiteral("imbillprint"), Edit2->text());
        ini.WriteString(dbname, QStringLiteral("exbillprint"), Edit3->text());
        imbillprintfile = Edit2->text();
        exbillprintfile = Edit3->text();
    } catch (const Exception&) {
        failed << QStringLiteral("票据打印样式");
    }
    if (!failed.isEmpty()) {
        SetModalResult(mrNone);
        MessageDlg(QStringLiteral("数据保存失败！没有保存的设置：") + failed.join(QStringLiteral("、")), mtError, {mbOK});
    }
}
