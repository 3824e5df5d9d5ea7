#include "LedgerForm.h"

#include "QueryBase.h"
#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/ExcelExport.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/Format.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {

// The ledger's columns in the grid's order; the export writes the same order under heads
// that name them so.
const char* const kLedgerFields = "bdate,bnum,comment,dptprj,iqty,isprice,idprice,eqty,esprice,edprice,srgqty,srgcost,"
                                  "remark,fid,mid";

} // namespace

Tfrmmtrimexsrg::Tfrmmtrimexsrg(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    setObjectName(QStringLiteral("frmmtrimexsrg"));
    SetCaption(QStringLiteral("材料分级分户明细帐"));
    resize(Scaled(QSize(950, 600)));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto button = [this](const char* name, const QString& caption, void (Tfrmmtrimexsrg::*handler)(QObject*)) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setMinimumWidth(Scaled(60));
        ToolBar1->addWidget(b);
        connect(b, &QToolButton::clicked, this, Application->Guarded([this, b, handler] { (this->*handler)(b); }));
        return b;
    };
    ToolButton1 = button("ToolButton1", QStringLiteral("打印"), &Tfrmmtrimexsrg::ToolButton1Click);
    ToolButton2 = button("ToolButton2", QStringLiteral("上单"), &Tfrmmtrimexsrg::ToolButton2Click);
    ToolButton3 = button("ToolButton3", QStringLiteral("下单"), &Tfrmmtrimexsrg::ToolButton3Click);
    ToolButton4 = button("ToolButton4", QStringLiteral("退出"), &Tfrmmtrimexsrg::ToolButton4Click);
    CheckBox1 = new TCheckBox(QStringLiteral("显示全部"), ToolBar1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    ToolBar1->addWidget(CheckBox1);
    CheckBox1->OnClick = [this](QObject* s) { Application->Guard([this, s] { CheckBox1Click(s); }); };
    outer->addWidget(ToolBar1);

    Label1 = new QLabel(QStringLiteral("材料分级分户明细帐"), this);
    QFont big = Label1->font();
    big.setPointSize(18);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    outer->addWidget(Label1);
    auto* head = new QGridLayout;
    auto edit = [this, head](const QString& caption, int row, int col) {
        head->addWidget(new QLabel(caption, this), row, col * 2);
        auto* e = new QLineEdit(this);
        e->setReadOnly(true);
        head->addWidget(e, row, col * 2 + 1);
        return e;
    };
    Edit2 = edit(QStringLiteral("材料名称"), 0, 0);
    Edit3 = edit(QStringLiteral("规格型号"), 0, 1);
    Edit4 = edit(QStringLiteral("单    位"), 0, 2);
    Edit6 = edit(QStringLiteral("库存数量"), 1, 0);
    Edit7 = edit(QStringLiteral("库存金额"), 1, 1);
    outer->addLayout(head);

    CdataGrid1 = new TDBGridGx(this);
    CdataGrid1->setObjectName(QStringLiteral("CdataGrid1"));
    outer->addWidget(CdataGrid1, 1);
    dsinfo.SetDataSet(&cdsinfo);
    CdataGrid1->SetOptions(TDBGridOptions{dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                                          dgRowSelect, dgAlwaysShowSelection});
    CdataGrid1->SetReadOnly(true);
    CdataGrid1->SetFooterRowCount(1);
    CdataGrid1->SumList()->SetActive(true);
    CdataGrid1->SetUseMultiTitle(true);
    CdataGrid1->SetTitleLines(2);
    CdataGrid1->SetDataSource(&dsinfo);
    const struct {
        const char* field;
        const char* title;
        int width;
        bool sum;
    } columns[] = {{"bdate", "日期", 71, false},      {"bnum", "凭证号", 63, false},     {"comment", "摘要", 50, false},
                   {"dptprj", "材料来源或领用单位", 89, false}, {"iqty", "收入|数量", 44, true},
                   {"isprice", "收入|单价", 42, false}, {"idprice", "收入|金额", 47, true}, {"eqty", "支出|数量", 42, true},
                   {"esprice", "支出|单价", 48, false}, {"edprice", "支出|金额", 48, true}, {"srgqty", "结存|数量", 42, false},
                   {"srgcost", "结存|金额", 50, false}, {"remark", "备注", 95, false}};
    for (const auto& c : columns) {
        TColumnGx* column = CdataGrid1->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(c.field));
        column->SetWidth(Scaled(c.width));
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        column->Title()->SetAlignment(taCenter);
        TColumnFooterGx* f = column->Footer();
        if (c.sum) {
            f->SetValueType(fvtSum);
        } else if (QLatin1String(c.field) == QLatin1String("bdate")) {
            f->SetValueType(fvtStaticText);
            f->SetValue(QStringLiteral("小计"));
            f->SetAlignment(taCenter);
        }
    }
    // Fitted to the grid's width from the designed widths (set before, so that none is taken for a
    // resize that gives the difference to the next column).
    CdataGrid1->SetAutoFitColWidths(true);
    FPid = curpid;
}

Tfrmmtrimexsrg::~Tfrmmtrimexsrg()
{
    CdataGrid1->SetDataSource(nullptr);
}

void Tfrmmtrimexsrg::loadrows(const QString& condition)
{
    cdsinfo.SetData(rmtDM->getsqldata(QStringLiteral("select ") + QString::fromLatin1(kLedgerFields)
                                          + QStringLiteral(" from imexsrglist"),
                                      QStringLiteral("fid"), QStringLiteral("fid"), condition, 20));
}

void Tfrmmtrimexsrg::showMtrimexsrg(int mid, int pid)
{
    loadrows(QStringLiteral("pid=") + QString::number(pid) + QStringLiteral(" and mid=") + QString::number(mid));
    showmtrinfo(mid);
}

void Tfrmmtrimexsrg::showmtrimexsrgall(int mid)
{
    loadrows(QStringLiteral("mid=") + QString::number(mid));
    showmtrinfo(mid);
}

void Tfrmmtrimexsrg::showmtrinfo(int mid)
{
    ClientDataSet1.SetData(rmtDM->getsqldata(
        QStringLiteral("select a.fid,a.mname,a.mtype,a.munit,b.qty,b.cost from mtrlist a,msrglist b"), QStringLiteral("fid"),
        QStringLiteral("fid"), QStringLiteral("a.fid=b.mid and a.fid=") + vartosqlvalue(Variant(mid)), 20));
    const bool found = ClientDataSet1.Active() && !ClientDataSet1.IsEmpty();
    auto text = [&](const char* f) { return found ? ClientDataSet1.FieldByName(QString::fromLatin1(f))->AsString().trimmed() : QString(); };
    auto number = [&](const char* f) { return found ? ClientDataSet1.FieldByName(QString::fromLatin1(f))->AsFloat() : 0.0; };
    Fname = text("mname");
    Ftype = text("mtype");
    Funit = text("munit");
    Fqty = number("qty");
    FCost = number("cost");
    Edit2->setText(Fname);
    Edit3->setText(Ftype);
    Edit4->setText(Funit);
    Edit6->setText(FloatToStr(Fqty));
    Edit7->setText(FloatToStr(FCost));
}

void Tfrmmtrimexsrg::CheckBox1Click(QObject*)
{
    if (CheckBox1->Checked())
        showmtrimexsrgall(Fmid);
    else
        showMtrimexsrg(Fmid, curpid);
}

void Tfrmmtrimexsrg::step(int direction)
{
    if (!fcdsdetail || !fcdsdetail->Active())
        return;
    if (CheckBox1->Checked()) {
        fcdsdetail->MoveBy(direction);
        Fmid = fcdsdetail->FieldByName(QStringLiteral("mid"))->AsInteger();
        showmtrimexsrgall(Fmid);
        return;
    }
    Fmid = fcdsdetail->FieldByName(QStringLiteral("mid"))->AsInteger();
    // Period 0, the first one closed, has its ledger rows too.
    if (direction < 0 && FPid > 0)
        --FPid;
    else if (direction > 0 && FPid < curpid)
        ++FPid;
    showMtrimexsrg(Fmid, FPid);
}

void Tfrmmtrimexsrg::ToolButton2Click(QObject*)
{
    step(-1);
}

void Tfrmmtrimexsrg::ToolButton3Click(QObject*)
{
    step(1);
}

void Tfrmmtrimexsrg::ToolButton1Click(QObject*)
{
    const ExcelApp app = createexcelapp();
    TExcelWorksheet* sheet = app->Workbooks(1)->Worksheets(1);
    excelledgerhead(sheet, Edit2->text(), Edit3->text(), Edit4->text(), Edit6->text(), Edit7->text());
    datasettoexcel(&cdsinfo, sheet, 0, 13, 1, 5);
    sheet->SetName(QStringLiteral("材料分级分户明细帐"));
}

void Tfrmmtrimexsrg::ToolButton4Click(QObject*)
{
    Close();
}

void Tfrmmtrimexsrg::open(TfrmBasicquery* query, int mid)
{
    auto* form = new Tfrmmtrimexsrg(query);
    form->Setcdsdetail(&query->adoqry);
    form->SetMID(mid);
    form->SetPid(curpid);
    form->showMtrimexsrg(mid, curpid);
    form->ShowModal();
}
