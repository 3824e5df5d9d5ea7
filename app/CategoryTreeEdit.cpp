// The material-category editor and its category dialog.
#include "CategoryTreeEdit.h"

#include "data/DM.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/Format.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

// ------------------------------------------------------------------ Tfrmbreedset

Tfrmbreedset::Tfrmbreedset(QWidget* AOwner) : TfrmTreeEditor(AOwner)
{
    SetCaption(QStringLiteral("材料分类定义"));
    GroupBox1->setTitle(QStringLiteral("材料品种分类"));
    Fbreednodes = std::make_unique<TbreedNodes>(TreeView1, tablename);
    TreeView1->OnChange = [this](QObject* s, TTreeNode* n) { TreeView1Change(s, n); };
    TreeView1->OnDblClick = [this](QObject* s) { TreeView1DblClick(s); };
    // "刷新" has no action here.
}

Tfrmbreedset::~Tfrmbreedset()
{
    TreeView1->Items()->Clear();
}

void Tfrmbreedset::FormShow(QObject* Sender)
{
    TfrmNormalForm::FormShow(Sender);
    Fbreednodes->showrschildren(Fbreednodes->showboot());
    if (Fbreednodes->setselectnode(Fbreednodes->bootid()))
        takeselected();
}

void Tfrmbreedset::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    Fbreednodes->onTreeViewChange(Sender, Node);
    takeselected();
}

void Tfrmbreedset::TreeView1DblClick(QObject* Sender) { Fbreednodes->onTreeViewDbClick(Sender); }

void Tfrmbreedset::runitemdialog(int state) { rundialog<Tfrmbreedset_M>(state); }

// ------------------------------------------------------------------ Tfrmbreedset_M

Tfrmbreedset_M::Tfrmbreedset_M(Tfrmbreedset* AOwner) : TfrmBaseform(AOwner), Parentform(AOwner)
{
    SetCaption(QStringLiteral("材料分类项参数"));
    resize(Scaled(QSize(420, 330)));
    Button1->SetModalResult(mrNone);
    Button2->SetCaption(QStringLiteral("返回"));
    Button2->SetModalResult(mrNone);
    auto* box = new QVBoxLayout(panel3);
    GroupBox1 = new QGroupBox(QStringLiteral("分类材料名称"), panel3);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* form = new QFormLayout(GroupBox1);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(50);
    form->addRow(Edit1);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    auto* rate = new QHBoxLayout;
    rate->addWidget(Edit2);
    rate->addWidget(new QLabel(QStringLiteral("%"), GroupBox1));
    form->addRow(QStringLiteral("仓库管理费百分率"), rate);
    box->addWidget(GroupBox1);
    RadioGroup1 = new TRadioGroup(QStringLiteral("材料计价方式"), panel3);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->SetItems({QStringLiteral("先进先出法计价"), QStringLiteral("移动平均法计价"), QStringLiteral("计划成本价计价")});
    RadioGroup1->SetItemIndex(0);
    box->addWidget(RadioGroup1);
    RadioGroup2 = new TRadioGroup(QStringLiteral("材料种类"), panel3);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    RadioGroup2->SetItems({QStringLiteral("消耗性材料"), QStringLiteral("周转性材料")});
    RadioGroup2->SetItemIndex(0);
    box->addWidget(RadioGroup2);
    box->addStretch(1);
    BindHighlight(Edit1);
    BindHighlight(Edit2);
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
    Button2->OnClick = [this](QObject*) { Close(); };
}

void Tfrmbreedset_M::FormShow(QObject* Sender)
{
    TfrmBaseform::FormShow(Sender);
    if (Frsstate != 3)
        return;
    FTreenode = Parentform->TreeView1->Selected();
    if (const TbreedNode* r = TbreedNodes::breedof(FTreenode)) {
        Edit1->setText(r->prtname);
        Edit2->setText(QString::number(r->adminrate));
        RadioGroup1->SetItemIndex(r->pricemodal);
        RadioGroup2->SetItemIndex(r->breedtype);
    }
}

void Tfrmbreedset_M::Button1Click(QObject*)
{
    const QString name = Edit1->text();
    if (name.isEmpty())
        return;
    // A rate that is not a whole number stops here with the conversion error.
    const QString ratetext = Edit2->text();
    const int rate = ratetext.isEmpty() ? 0 : StrToInt(ratetext);
    if (Frsstate == 2) {
        const int id = rmtDM->GetnewID(QStringLiteral("BID"));
        auto* item = new TbreedNode(Parentform->tablename);
        treeedit::placenewitem(Parentform->TreeView1, FTreenode, item, id);
        item->prtname = name;
        item->adminrate = rate;
        item->pricemodal = RadioGroup1->ItemIndex();
        item->breedtype = RadioGroup2->ItemIndex();
        item->visibled = true;
        item->rnstate = rnnew;
        Parentform->model()->addrsnode(FTreenode, item);
        Edit1->clear();
        Edit2->clear();
        RadioGroup1->SetItemIndex(0);
        RadioGroup2->SetItemIndex(0);
        Edit1->setFocus();
        return;
    }
    if (TbreedNode* r = TbreedNodes::breedof(FTreenode)) {
        r->prtname = name;
        if (!ratetext.isEmpty())
            r->adminrate = rate;
        r->pricemodal = RadioGroup1->ItemIndex();
        r->breedtype = RadioGroup2->ItemIndex();
        treeedit::markchanged(r);
    }
    Close();
}
