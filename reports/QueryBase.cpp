#include "QueryBase.h"

#include "LedgerForm.h"
#include "app/BillBase.h"
#include "app/FormRegistry.h"
#include "data/DM.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/FontScale.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TfrmBasicquery::TfrmBasicquery(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    acQuery = newaction("acQuery", QStringLiteral("期内查询"), [this](QObject* s) { acQueryExecute(s); });
    acQueryEx = newaction("acQueryEx", QStringLiteral("综合查询"), [this](QObject* s) { acQueryExExecute(s); });
    acReFresh = newaction("acReFresh", QStringLiteral("刷新"), [this](QObject* s) { acReFreshExecute(s); });
    acPrint = newaction("acPrint", QStringLiteral("打印"), [this](QObject* s) { acPrintExecute(s); });
    acBill = newaction("acBill", QStringLiteral("票据"), [this](QObject* s) { acBillExecute(s); });
    acBillEx = newaction("acBillEx", QStringLiteral("明细帐"), [this](QObject* s) { acBillExExecute(s); });
    acExit = newaction("acExit", QStringLiteral("退出"), [this](QObject* s) { acExitExecute(s); });
    auto button = [this](const char* name, QAction* a, const QString& caption = {}) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setDefaultAction(a);
        if (!caption.isEmpty())
            b->setText(caption);
        b->setMinimumWidth(Scaled(60));
        ToolBar1->addWidget(b);
        return b;
    };
    ToolButton1 = button("ToolButton1", acQuery);
    ToolButton2 = button("ToolButton2", acQueryEx, QStringLiteral("组合查询"));
    ToolButton3 = button("ToolButton3", acReFresh);
    ToolButton6 = button("ToolButton6", acPrint);
    ToolButton4 = button("ToolButton4", acBill);
    ToolButton5 = button("ToolButton5", acBillEx);
    ToolButton7 = button("ToolButton7", acExit);
    outer->addWidget(ToolBar1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* line = new QHBoxLayout(Panel1);
    line->setContentsMargins(6, 3, 6, 3);
    Label1 = new QLabel(QStringLiteral("材料名称"), Panel1);
    line->addWidget(Label1);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(Scaled(160));
    line->addWidget(Edit1);
    CheckBox1 = new TCheckBox(QStringLiteral("查询结果已记帐(没选择查询未记帐)"), Panel1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->SetChecked(true);
    line->addWidget(CheckBox1);
    CheckBox2 = new TCheckBox(QStringLiteral("查询结果汇总"), Panel1);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    line->addWidget(CheckBox2);
    line->addStretch(1);
    outer->addWidget(Panel1);

    ClientPanel = new QWidget(this);
    auto* client = new QHBoxLayout(ClientPanel);
    client->setContentsMargins(0, 0, 0, 0);
    DBGridGx1 = new TDBGridGx(ClientPanel);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    client->addWidget(DBGridGx1, 1);
    outer->addWidget(ClientPanel, 1);

    adoqry.SetConnection(rmtDM ? rmtDM->ADOCon.get() : nullptr);
    dsdetail.SetDataSet(&adoqry);
    DBGridGx1->SetOptions(TDBGridOptions{dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                                         dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit});
    DBGridGx1->SetReadOnly(true);
    DBGridGx1->SetFooterRowCount(1);
    DBGridGx1->SumList()->SetActive(true);
    DBGridGx1->SetAutoFitColWidths(true);
    DBGridGx1->SetDataSource(&dsdetail);
    DBGridGx1->OnGetCellParams = [this](QObject*, TColumnGx*, TFont* f, TColor&, TGridDrawState) {
        // A negative quantity paints its whole row red.
        TField* qty = adoqry.Active() ? adoqry.FindField(QStringLiteral("qty")) : nullptr;
        f->SetColor(qty && qty->AsFloat() < 0 ? TColor(255) : clBlack);
    };
    DBGridGx1->OnDblClick = [this](QObject* s) { Application->Guard([this, s] { DBGridGx1DblClick(s); }); };
    CheckBox2->OnClick = [this](QObject* s) { Application->Guard([this, s] { CheckBox2Click(s); }); };
    OnClose = [this](QObject* s, TCloseAction&) { FormClose(s); };

    FormCreate(this);
}

TfrmBasicquery::~TfrmBasicquery()
{
    DBGridGx1->OnGetCellParams = nullptr;
    DBGridGx1->SetDataSource(nullptr);
}

QAction* TfrmBasicquery::newaction(const char* name, const QString& caption, std::function<void(QObject*)> handler)
{
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, Application->Guarded([a, handler] { handler(a); }));
    return a;
}

void TfrmBasicquery::FormCreate(QObject*)
{
    resize(Scaled(QSize(950, 600)));
    querytotal = false;
    m_resultsummary = false;
    updatedrilldowns();
}

void TfrmBasicquery::FormClose(QObject*)
{
    querysql.clear();
    querycondition.clear();
}

void TfrmBasicquery::updatedrilldowns()
{
    // Enabled from the rows shown: a summary row carries a material key, never a bill's.
    acBill->setEnabled(!m_resultsummary);
    acBillEx->setEnabled(!m_resultsummary);
}

void TfrmBasicquery::CheckBox2Click(QObject*)
{
    querytotal = CheckBox2->Checked();
}

void TfrmBasicquery::acReFreshExecute(QObject*)
{
    Edit1->clear();
    CheckBox1->SetChecked(true);
    CheckBox2->SetChecked(false);
    querytotal = false;
}

void TfrmBasicquery::acQueryExExecute(QObject*)
{
    queryok = false;
    if (taioform) {
        std::unique_ptr<TForm> dialog(taioform(this));
        dialog->ShowModal();
    }
    updatedrilldowns();
}

bool TfrmBasicquery::hasrows() const
{
    return adoqry.Active() && !adoqry.IsEmpty();
}

void TfrmBasicquery::acBillExecute(QObject*)
{
    if (!showbill || m_resultsummary || !hasrows())
        return;
    const int fid = adoqry.FieldByName(QStringLiteral("fid"))->AsInteger();
    Tfrmbasicbill* bill = showbill(this);
    if (!bill)
        return;
    bill->showbill(fid);
    bill->ShowModal();
}

void TfrmBasicquery::acBillExExecute(QObject*)
{
    if (m_resultsummary || !hasrows())
        return;
    Tfrmmtrimexsrg::open(this, adoqry.FieldByName(QStringLiteral("mid"))->AsInteger());
}

void TfrmBasicquery::DBGridGx1DblClick(QObject* Sender)
{
    acBillExecute(Sender);
}

void TfrmBasicquery::acExitExecute(QObject*)
{
    Close();
}

void TfrmBasicquery::runquery(const QString& sql, bool summary)
{
    adoqry.Close();
    adoqry.SQL().clear();
    m_resultsummary = summary;
    updatedrilldowns();
    // The statement runs in the logged-in account set, whatever the connection used last.
    rmtDM->OpenindicatinnDB(dbname);
    adoqry.SQL().append(sql);
    adoqry.Open();
}

void TfrmBasicquery::setcolumns(const QList<TQueryColumn>& columns, bool multititle, int titlelines, int vmargin)
{
    // Off the data while the columns change, so that no sum is taken over a field of the old
    // layout that the new rows lack.
    DBGridGx1->SetDataSource(nullptr);
    DBGridGx1->SumList()->SetActive(false);
    // The columns get their designed widths before the grid fits them to its width: a width set
    // while it fits them would be taken for a resize that gives the difference to the next column.
    DBGridGx1->SetAutoFitColWidths(false);
    DBGridGx1->Columns()->Clear();
    DBGridGx1->SumList()->SumCollection()->Clear();
    DBGridGx1->SetUseMultiTitle(multititle);
    DBGridGx1->SetTitleLines(titlelines);
    DBGridGx1->SetVTitleMargin(vmargin);
    for (const TQueryColumn& c : columns) {
        TColumnGx* column = DBGridGx1->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(c.field));
        column->SetWidth(Scaled(c.width));
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        column->Title()->SetAlignment(taCenter);
        if (c.centred)
            column->SetAlignment(taCenter);
        const QString footer = QString::fromUtf8(c.footer);
        if (footer.isEmpty())
            continue;
        TColumnFooterGx* f = column->Footer();
        f->Font()->SetColor(clRed);
        if (footer == QLatin1String("sum")) {
            f->SetValueType(fvtSum);
            if (c.footercentred)
                f->SetAlignment(taCenter);
        } else {
            f->SetValueType(fvtStaticText);
            f->SetValue(footer);
            f->SetAlignment(taCenter);
        }
    }
    DBGridGx1->SetAutoFitColWidths(true);
    DBGridGx1->SumList()->SetActive(true);
    DBGridGx1->SetDataSource(&dsdetail);
}

Tfrmbasicbill* registeredbill(const QString& classname, QWidget* owner)
{
    for (const auto& [code, entry] : TFormRegistry::Entries())
        if (entry.ClassName == classname && entry.Create)
            return dynamic_cast<Tfrmbasicbill*>(entry.Create(owner));
    return nullptr;
}
