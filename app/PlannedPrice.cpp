// The planned-price list and its picker of materials without a planned price.
#include "PlannedPrice.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "grid/control/DBGridGxColumns.h"
#include "platform/db/Field.h"
#include "platform/gui/FontScale.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

// ------------------------------------------------------------------ Tfrmplanlist_m

Tfrmplanlist_m::Tfrmplanlist_m(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    SetCaption(QStringLiteral("未定价材料清单"));
    resize(Scaled(QSize(520, 400)));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 6);
    Image1 = new QLabel(QStringLiteral("  未定价材料清单"), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedHeight(31);
    Image1->setStyleSheet(QStringLiteral("QLabel { background: #5b8fd0; color: white; font-weight: bold; }"));
    outer->addWidget(Image1);
    DBGridGx1 = new TDBGridGx(this);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    DBGridGx1->SetReadOnly(true);
    DBGridGx1->SetOptions(DBGridGx1->Options() + TDBGridOptions{dgRowSelect, dgMultiSelect});
    AddGridColumns(DBGridGx1, {{"mname", "材料名称", 120}, {"mtype", "规格型号", 100}, {"munit", "单位", 48}, {"remark", "备注", 120}});
    dsmtrlist.SetDataSet(&cdsmtrlist);
    DBGridGx1->SetDataSource(&dsmtrlist);
    outer->addWidget(DBGridGx1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button1 = new TButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->SetModalResult(mrOk);
    Button2 = new TButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->SetModalResult(mrCancel);
    for (TButton* b : {Button1, Button2}) {
        b->setFixedSize(Scaled(QSize(75, 21)));
        buttons->addWidget(b);
    }
    buttons->addSpacing(8);
    outer->addLayout(buttons);
}

Tfrmplanlist_m::~Tfrmplanlist_m()
{
    DBGridGx1->SetDataSource(nullptr);
}

void Tfrmplanlist_m::setbcode(const QString& v)
{
    Fbcode = v;
    cdsmtrlist.SetData(rmtDM->getsqldata(QStringLiteral("select * from mtrlist"), QStringLiteral("fid"), QStringLiteral("fid"),
                                         QStringLiteral("code=") + vartosqlvalue(Variant(v))
                                             + QStringLiteral(" and not(fid in (select mid  from mpplist ))"),
                                         20));
}

// ------------------------------------------------------------------ Tfrmplanlist

Tfrmplanlist::Tfrmplanlist(QWidget* AOwner) : Tfrmbaselist(AOwner)
{
    FormCaption = QStringLiteral("定义材料计划成本价");
    MainTable = QStringLiteral("mpplist");
    KeyField = QStringLiteral("FID");
    settiao(QStringLiteral("1<>1"));
    TreeView1 = new TTreeView(Splitter1);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->SetReadOnly(true);
    TreeView1->setExpandsOnDoubleClick(false);
    TbreedNodes::setimages(TreeView1);
    Splitter1->insertWidget(0, TreeView1);
    Splitter1->setSizes({Scaled(180), Scaled(500)});
    Fbreednodes = std::make_unique<TbreedNodes>(TreeView1, QStringLiteral("breedlist"));
    // Prices are typed into the grid.
    acEdit->setVisible(false);
    DBGridGx1->SetReadOnly(false);
    AddGridColumns(DBGridGx1, {{"mname", "材料名称", 110}, {"mtype", "规格型号", 90}, {"munit", "单位", 48},
                           {"pprice", "计划成本价", 79}, {"remark", "备注", 93}});
    CDSbaseinfo.OnNewRecord = nullptr;
    CDSbaseinfo.AfterScroll = [this](TDataSet* ds) {
        if (ds->State() == dsInsert || ds->State() == dsEdit)
            setbtnstate(2);
    };
    TreeView1->OnChange = [this](QObject* s, TTreeNode* n) { TreeView1Change(s, n); };
    TreeView1->OnDblClick = [this](QObject* s) { TreeView1DblClick(s); };
}

Tfrmplanlist::~Tfrmplanlist()
{
    TreeView1->Items()->Clear();
}

void Tfrmplanlist::FormShow(QObject* Sender)
{
    // The list stays empty until a category is chosen.
    TfrmBase_C::FormShow(Sender);
    resize(Scaled(QSize(680, 490)));
    SetCaption(FormCaption);
    Fbreednodes->showrschildren(Fbreednodes->showboot());
}

void Tfrmplanlist::loadprices()
{
    CDSbaseinfo.SetData(rmtDM->getsqldata(QStringLiteral("select * from vplanlist"), QStringLiteral("fid"), QStringLiteral("fid"),
                                          QStringLiteral("code=") + vartosqlvalue(Variant(FBcode))
                                              + QStringLiteral(" and pricemodal=2"),
                                          20));
}

void Tfrmplanlist::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    const TbreedNode* r = TbreedNodes::breedof(Node);
    if (r)
        FBcode = r->code;
    Fbreednodes->onTreeViewChange(Sender, Node);
    loadprices();
}

void Tfrmplanlist::TreeView1DblClick(QObject* Sender) { Fbreednodes->onTreeViewDbClick(Sender); }

void Tfrmplanlist::acInsertExecute(QObject*)
{
    const TbreedNode* r = TbreedNodes::breedof(TreeView1->Selected());
    if (!r || r->pricemodal != pmPlanned || !CDSbaseinfo.Active())
        return;
    // The picker lives until the list closes.
    auto* picker = new Tfrmplanlist_m(this);
    picker->setbcode(r->code);
    if (picker->ShowModal() != mrOk)
        return;
    TClientDataSet& materials = picker->cdsmtrlist;
    TBMListGx* selected = picker->DBGridGx1->SelectedRows();
    for (int i = 0; i < selected->Count(); ++i) {
        materials.GotoBookmark(selected->GetItem(i));
        CDSbaseinfo.Append();
        CDSbaseinfo.FieldByName(QStringLiteral("mid"))->SetAsInteger(materials.FieldByName(QStringLiteral("fid"))->AsInteger());
        for (const char* f : {"mname", "mtype", "munit", "remark"})
            CDSbaseinfo.FieldByName(QString::fromLatin1(f))->SetAsString(materials.FieldByName(QString::fromLatin1(f))->AsString());
        CDSbaseinfo.Post();
    }
}

void Tfrmplanlist::acSaveExecute(QObject*)
{
    if (savechanges())
        loadprices();
}
