// The generic tree-table editor, its four concrete editors and its item dialog.
#include "TreeEdit.h"

#include "CategoryTree.h"
#include "data/DM.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/MessageSink.h"

#include <QFormLayout>
#include <QVBoxLayout>

// ------------------------------------------------------------------ shared helpers

namespace treeedit {

TTreeView* buildtree(QFrame* panel, QGroupBox*& group)
{
    auto* box = new QVBoxLayout(panel);
    box->setContentsMargins(6, 6, 6, 6);
    group = new QGroupBox(panel);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* inner = new QVBoxLayout(group);
    auto* tree = new TTreeView(group);
    tree->setObjectName(QStringLiteral("TreeView1"));
    tree->SetReadOnly(true);
    tree->setExpandsOnDoubleClick(false);
    tree->setAutoScroll(true);
    TbreedNodes::setimages(tree);
    inner->addWidget(tree);
    box->addWidget(group);
    return tree;
}

void placenewitem(TTreeView* tree, TTreeNode* parent, Trsnode* item, int id)
{
    item->fid = id;
    Trsnode* p = TRSNodes::recordof(parent);
    if (p) {
        p->bexpend = true;
        item->Pfid = p->fid;
        item->tlevel = p->tlevel + 1;
    } else {
        item->Pfid = 0;
        item->tlevel = 0;
    }
    item->code = newtreecode(p, id, !p && tree->Items()->GetFirstNode() != nullptr);
    item->bparent = false;
}

} // namespace treeedit

// ------------------------------------------------------------------ TfrmTreeEditor

TfrmTreeEditor::TfrmTreeEditor(QWidget* AOwner) : TfrmNormalForm(AOwner)
{
    resize(Scaled(QSize(680, 490)));
    Button1->SetCaption(QStringLiteral("保存"));
    Button1->SetModalResult(mrNone);
    auto* column = static_cast<QVBoxLayout*>(Panel2->layout());
    int at = 0;
    auto button = [&](TButton*& b, const char* name, const char* caption) {
        b = new TButton(QString::fromUtf8(caption), Panel2);
        b->setObjectName(QString::fromLatin1(name));
        b->setFixedSize(Scaled(QSize(75, 21)));
        column->insertWidget(at++, b, 0, Qt::AlignHCenter);
    };
    column->insertSpacing(at++, 8);
    button(add, "add", "新增");
    button(edit, "edit", "修改");
    button(del, "del", "删除");
    button(Button5, "Button5", "刷新");
    TreeView1 = treeedit::buildtree(panel3, GroupBox1);
    add->OnClick = [this](QObject* s) { addClick(s); };
    edit->OnClick = [this](QObject* s) { editClick(s); };
    del->OnClick = [this](QObject* s) { delClick(s); };
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
}

void TfrmTreeEditor::takeselected()
{
    if (const Trsnode* r = TRSNodes::recordof(TreeView1->Selected())) {
        fid = r->fid;
        code = r->code;
    }
}

void TfrmTreeEditor::addClick(QObject*) { runitemdialog(2); }

void TfrmTreeEditor::editClick(QObject*)
{
    TTreeNode* node = TreeView1->Selected();
    if (!node)
        return;
    runitemdialog(3);
    if (const Trsnode* r = TRSNodes::recordof(node))
        node->SetText(TRSNodes::nodetext(r));
}

void TfrmTreeEditor::delClick(QObject*)
{
    if (MessageDlg(QStringLiteral("慢点，真的要删除,就不怕影响报表的完整性?"), mtWarning, mbYesNo) != mrYes)
        return;
    TTreeNode* node = TreeView1->Selected();
    const Trsnode* r = TRSNodes::recordof(node);
    // The first item (the root of the table) stays.
    if (!r || r->fid == 1)
        return;
    model()->deletersnode(node);
}

void TfrmTreeEditor::Button1Click(QObject*)
{
    if (model()->saversnode())
        ShowMessage(QStringLiteral("数据保存成功！"));
    else
        ShowMessage(QStringLiteral("数据保存失败！"));
}

// ------------------------------------------------------------------ Tfrmbreedtree

Tfrmbreedtree::Tfrmbreedtree(QWidget* AOwner) : TfrmTreeEditor(AOwner)
{
    TreeView1->OnChange = [this](QObject* s, TTreeNode* n) { TreeView1Change(s, n); };
    TreeView1->OnDblClick = [this](QObject* s) { TreeView1DblClick(s); };
    Button5->OnClick = [this](QObject* s) { Button5Click(s); };
}

Tfrmbreedtree::~Tfrmbreedtree()
{
    // The nodes point at the model's records: they go first.
    TreeView1->Items()->Clear();
}

void Tfrmbreedtree::setup(const QString& caption, const QString& group, const QString& table, const QString& counter)
{
    FCaption = caption;
    Fgroupcaption = group;
    tablename = table;
    rsid = counter;
    FormCreate();
}

void Tfrmbreedtree::FormCreate()
{
    Frsnodes = std::make_unique<TRSNodes>(TreeView1, tablename);
    SetCaption(FCaption);
    GroupBox1->setTitle(Fgroupcaption);
    resize(Scaled(QSize(680, 490)));
}

void Tfrmbreedtree::FormShow(QObject* Sender)
{
    TfrmNormalForm::FormShow(Sender);
    Frsnodes->showrschildren(Frsnodes->showboot());
    if (Frsnodes->setselectnode(1))
        takeselected();
}

void Tfrmbreedtree::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    Frsnodes->onTreeViewChange(Sender, Node);
    takeselected();
}

void Tfrmbreedtree::TreeView1DblClick(QObject* Sender) { Frsnodes->onTreeViewDbClick(Sender); }

void Tfrmbreedtree::runitemdialog(int state) { rundialog<Tfrmbreedtree_m>(state); }

void Tfrmbreedtree::Button5Click(QObject*) { Frsnodes->showboot(); }

Tfrmpjtlist::Tfrmpjtlist(QWidget* AOwner) : Tfrmbreedtree(AOwner)
{
    setup(QStringLiteral("使用项目定义"), QStringLiteral("使用项目"), QStringLiteral("pjtlist"), QStringLiteral("PLID"));
}

Tfrmdptlist::Tfrmdptlist(QWidget* AOwner) : Tfrmbreedtree(AOwner)
{
    setup(QStringLiteral("领用单位定义"), QStringLiteral("领用单位"), QStringLiteral("dptlist"), QStringLiteral("DLID"));
}

TfrmMaterialsup::TfrmMaterialsup(QWidget* AOwner) : Tfrmbreedtree(AOwner)
{
    setup(QStringLiteral("供应商定义"), QStringLiteral("供应商"), QStringLiteral("suplist"), QStringLiteral("supid"));
}

TfrmMaterialcf::TfrmMaterialcf(QWidget* AOwner) : Tfrmbreedtree(AOwner)
{
    setup(QStringLiteral("材料来源定义"), QStringLiteral("材料来源"), QStringLiteral("cflist"), QStringLiteral("cfid"));
}

// ------------------------------------------------------------------ Tfrmbreedtree_m

Tfrmbreedtree_m::Tfrmbreedtree_m(Tfrmbreedtree* AOwner) : TfrmBaseform(AOwner), Parentform(AOwner)
{
    SetCaption(QStringLiteral("编辑项目清单"));
    resize(Scaled(QSize(360, 200)));
    Button1->SetModalResult(mrNone);
    Button2->SetCaption(QStringLiteral("返回"));
    auto* box = new QVBoxLayout(panel3);
    auto* form = new QFormLayout;
    Edit1 = new QLineEdit(panel3);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(50);
    form->addRow(QStringLiteral(" 分类项目名"), Edit1);
    box->addLayout(form);
    CheckBox1 = new TCheckBox(panel3);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->SetCaption(QStringLiteral("是否在票据中是否显示"));
    CheckBox1->SetChecked(true);
    box->addWidget(CheckBox1);
    box->addStretch(1);
    setTabOrder(Edit1, CheckBox1);
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
}

void Tfrmbreedtree_m::FormShow(QObject* Sender)
{
    TfrmBaseform::FormShow(Sender);
    if (Frsstate != 3)
        return;
    FTreenode = Parentform->TreeView1->Selected();
    if (const Trsnode* r = TRSNodes::recordof(FTreenode)) {
        Edit1->setText(r->prtname);
        CheckBox1->SetChecked(r->visibled);
    }
}

void Tfrmbreedtree_m::FormKeyPress(QObject* Sender, QChar& Key)
{
    if (Key == QChar(13) && ActiveControl() == Edit1) {
        Key = QChar(0);
        Button1->setFocus();
        return;
    }
    TfrmBaseform::FormKeyPress(Sender, Key);
}

void Tfrmbreedtree_m::Button1Click(QObject*)
{
    const QString name = Edit1->text();
    if (name.isEmpty())
        return;
    if (Frsstate == 2) {
        const int id = rmtDM->GetnewID(Parentform->rsid);
        auto* item = new Trsnode(Parentform->tablename);
        treeedit::placenewitem(Parentform->TreeView1, FTreenode, item, id);
        item->visibled = true;
        item->prtname = name;
        item->rnstate = rnnew;
        Parentform->model()->addrsnode(FTreenode, item);
        Edit1->clear();
        Edit1->setFocus();
        CheckBox1->SetChecked(true);
        return;
    }
    Trsnode* r = TRSNodes::recordof(FTreenode);
    if (r) {
        r->prtname = name;
        r->visibled = CheckBox1->Checked();
        treeedit::markchanged(r);
    }
    Close();
}
