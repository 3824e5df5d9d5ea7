// The drop-down pickers of the head fields.
#include "DropDownPicker.h"

#include "CategoryTree.h"

#include "data/DM.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

void makeBorderless(TForm* f)
{
    f->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    f->SetPosition(poDesigned);
}

} // namespace

// ---------------------------------------------------------------- Tfrmbasiclistbox

Tfrmbasiclistbox::Tfrmbasiclistbox(QWidget* aowner, const QString& atablename, const QString& alistidname,
                                   const QString& alistname)
    : TfrmBase_C(aowner), tablename(atablename), listidname(alistidname), listname(alistname)
{
    SetCaption(QStringLiteral("项目选择"));
    makeBorderless(this);
    resize(178, 268);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(2);
    DBGridGx1 = new TDBGridGx(this);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    DBGridGx1->SetOptions(TDBGridOptions{dgTitles, dgColumnResize, dgColLines, dgRowLines, dgTabs, dgRowSelect,
                                         dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit});
    DBGridGx1->SetReadOnly(true);
    DBGridGx1->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->addWidget(DBGridGx1, 1);
    Button2 = new TButton(QStringLiteral("关闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->SetCancel(true);
    Button2->SetModalResult(mrCancel);
    box->addWidget(Button2);
    DSlist.SetDataSet(&CDSlist);
    DBGridGx1->OnCellClick = [this](TColumnGx* c) { DBGridGx1CellClick(c); };
    Button2->OnClick = [this](QObject* s) { Button2Click(s); };

    // One column for the shown name, then every row of the table.
    DBGridGx1->Columns()->Clear();
    TColumnGx* column = DBGridGx1->Columns()->Add();
    column->SetFieldName(listname);
    column->Title()->SetCaption(QStringLiteral("选择列表名称"));
    column->Title()->SetAlignment(taCenter);
    DBGridGx1->SetDataSource(&DSlist);
    CDSlist.SetData(rmtDM->gettabledata(tablename, listidname, QStringLiteral("1=1"), 20));
    if (CDSlist.Active())
        CDSlist.First();
}

void Tfrmbasiclistbox::DBGridGx1CellClick(TColumnGx*)
{
    if (!CDSlist.Active())
        return;
    listboxid = CDSlist.FieldByName(listidname)->AsInteger();
    listboxname = CDSlist.FieldByName(listname)->AsString();
    SetModalResult(mrOk);
}

void Tfrmbasiclistbox::Button2Click(QObject*)
{
    Close();
}

// ---------------------------------------------------------------- Tfrmbilltypelistbox

Tfrmbilltypelistbox::Tfrmbilltypelistbox(QWidget* aowner, const QString& atablename, const QString& alistidname,
                                         const QString& alistname)
    : Tfrmbasiclistbox(aowner, atablename, alistidname, alistname)
{
    DBGridGx1->Columns()->Clear();
    TColumnGx* column = DBGridGx1->Columns()->Add();
    column->SetFieldName(QStringLiteral("typename"));
    column->Title()->SetCaption(QStringLiteral("选择列表名称"));
    column->Title()->SetAlignment(taCenter);
}

void Tfrmbilltypelistbox::DBGridGx1CellClick(TColumnGx* Column)
{
    if (CDSlist.Active())
        setcode(CDSlist.FieldByName(QStringLiteral("code"))->AsString());
    Tfrmbasiclistbox::DBGridGx1CellClick(Column);
}

// ---------------------------------------------------------------- TfrmBasictreeshow

TfrmBasictreeshow::TfrmBasictreeshow(QWidget* aowner, const QString& atablename)
    : TfrmBase_C(aowner), tablename(atablename)
{
    SetCaption(QStringLiteral("选择分类项"));
    makeBorderless(this);
    resize(475, 356);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    treelist = new TTreeView(this);
    treelist->setObjectName(QStringLiteral("treelist"));
    treelist->SetReadOnly(true);
    treelist->setIndentation(19);
    treelist->setFrameShape(QFrame::NoFrame);
    treelist->setExpandsOnDoubleClick(false);
    TbreedNodes::setimages(treelist);
    box->addWidget(treelist, 1);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    Button2 = new TButton(QStringLiteral("关闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->SetCancel(true);
    Button2->SetModalResult(mrCancel);
    bar->addWidget(Button2);
    box->addLayout(bar);
    rsnodes = std::make_unique<TRSNodes>(treelist, tablename);
    treelist->OnChange = [this](QObject* s, TTreeNode* n) { treelistChange(s, n); };
    treelist->OnClick = [this](QObject* s) { treelistClick(s); };
    treelist->OnDblClick = [this](QObject* s) { treelistDbClick(s); };
}

TfrmBasictreeshow::~TfrmBasictreeshow()
{
    treelist->OnChange = nullptr;
    treelist->Items()->Clear();
}

void TfrmBasictreeshow::handover(TTreeNode* node)
{
    const Trsnode* r = TRSNodes::recordof(node);
    if (!r)
        return;
    treenodeid = r->fid;
    treenodecode = r->code;
    treenodename = r->prtname;
}

void TfrmBasictreeshow::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    TTreeNode* root = rsnodes->showboot();
    rsnodes->showrschildren(root);
    if (rsnodes->setselectnode(1))
        handover(treelist->Selected());
}

void TfrmBasictreeshow::treelistChange(QObject* Sender, TTreeNode* Node)
{
    rsnodes->onTreeViewChange(Sender, Node);
    handover(treelist->Selected());
}

void TfrmBasictreeshow::treelistClick(QObject*)
{
    if (treelist->Selected())
        SetModalResult(mrOk);
}

void TfrmBasictreeshow::treelistDbClick(QObject* Sender)
{
    rsnodes->onTreeViewDbClick(Sender);
}

// ---------------------------------------------------------------- Tfrmbilltreeshow

Tfrmbilltreeshow::Tfrmbilltreeshow(QWidget* aowner, const QString& atablename)
    : TfrmBasictreeshow(aowner, atablename)
{
}

void Tfrmbilltreeshow::FormShow(QObject*)
{
    TTreeNode* root = rsnodes->showbootvisibled();
    rsnodes->showrschildrenvisibled(root);
    if (rsnodes->setselectnode(1))
        handover(treelist->Selected());
}

void Tfrmbilltreeshow::treelistClick(QObject*)
{
    const Trsnode* r = TRSNodes::recordof(treelist->Selected());
    if (r && !r->bparent)
        SetModalResult(mrOk);
}

void Tfrmbilltreeshow::treelistDbClick(QObject* Sender)
{
    rsnodes->onTreeViewDbClickvisibled(Sender);
}
