// The material pickers' base and the base of their item dialogs.
#include "MaterialPicker.h"

#include "BaseListEdit.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/DBControls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/MessageSink.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

TDataSource* TDataSourceRef::Find(const TForm* form, const QString& name)
{
    if (!form)
        return nullptr;
    auto* ref = dynamic_cast<TDataSourceRef*>(form->FindComponent(name));
    return ref ? ref->Source : nullptr;
}

// ---------------------------------------------------------------- TfrmBasicdetail

TfrmBasicdetail::TfrmBasicdetail(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    resize(Scaled(QSize(750, 500)));
    Parentform = dynamic_cast<TForm*>(AOwner);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [this](const char* name, const char* caption, void (TfrmBasicdetail::*handler)()) {
        QAction* a = ToolBar2->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, Application->Guarded([this, handler] { (this->*handler)(); }));
        return a;
    };
    ToolButton2 = action("ToolButton2", "批量倒入", &TfrmBasicdetail::ToolButton1Click);
    ToolButton2->setVisible(false);
    sbinsert = action("sbinsert", "新增", &TfrmBasicdetail::acInsertExecute);
    sbedit = action("sbedit", "修改", &TfrmBasicdetail::acEditExecute);
    sbcancel = action("sbcancel", "放弃", &TfrmBasicdetail::acCancelExecute);
    sbdelete = action("sbdelete", "删除", &TfrmBasicdetail::acDeleteExecute);
    sbsave = action("sbsave", "保存", &TfrmBasicdetail::acSaveExecute);
    ToolBar2->addSeparator();
    sbrefrsh = action("sbrefrsh", "刷新", &TfrmBasicdetail::acRefrshExecute);
    sbquery = action("sbquery", "寻找", &TfrmBasicdetail::acQueryExecute);
    ToolBar2->addSeparator();
    sbexit = action("sbexit", "退出", &TfrmBasicdetail::acExitExecute);
    outer->addWidget(ToolBar2);

    auto* split = new QSplitter(Qt::Horizontal, this);
    TreeView1 = new TTreeView(split);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->SetReadOnly(true);
    TreeView1->setExpandsOnDoubleClick(false);
    TbreedNodes::setimages(TreeView1);
    DBGridGx1 = new TDBGridGx(split);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    split->addWidget(TreeView1);
    split->addWidget(DBGridGx1);
    split->setSizes({Scaled(180), Scaled(570)});
    outer->addWidget(split, 1);

    bottom = new QFrame(this);
    auto* bar = new QHBoxLayout(bottom);
    bar->addStretch(1);
    Button2 = new TButton(QStringLiteral("确定"), bottom);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->SetModalResult(mrOk);
    Button1 = new TButton(QStringLiteral("取消"), bottom);
    Button1->setObjectName(QStringLiteral("Button1"));
    bar->addWidget(Button2);
    bar->addWidget(Button1);
    outer->addWidget(bottom);

    dsbaseinfo.SetDataSet(&cdsbaseinfo);
    DBGridGx1->SetDataSource(&dsbaseinfo);
    cdsbaseinfo.AfterInsert = [this](TDataSet*) { cdsbaseinfoAfterInsert(); };
    cdsbaseinfo.AfterPost = [this](TDataSet*) { cdsbaseinfoAfterPost(); };
    DBGridGx1->OnDblClick = [this](QObject*) { DBGridGx1DblClick(); };
    Button2->OnClick = [this](QObject*) { Button2Click(); };
    Button1->OnClick = [this](QObject*) { Button1Click(); };

    dsdetail = TDataSourceRef::Find(Parentform, QStringLiteral("dsdetail"));
    Fbreednodes = std::make_unique<TbreedNodes>(TreeView1, QStringLiteral("breedlist"));
    TreeView1->OnChange = [this](QObject* s, TTreeNode* n) { TreeView1Change(s, n); };
    TreeView1->OnDblClick = [this](QObject* s) { TreeView1DblClick(s); };
}

TfrmBasicdetail::~TfrmBasicdetail()
{
    TreeView1->OnChange = nullptr;
    TreeView1->Items()->Clear();
    cdsbaseinfo.AfterInsert = nullptr;
    cdsbaseinfo.AfterPost = nullptr;
}

void TfrmBasicdetail::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    TTreeNode* root = Fbreednodes->showboot();
    Fbreednodes->showrschildren(root);
    SetbtnState(10);
}

void TfrmBasicdetail::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    Fbreednodes->onTreeViewChange(Sender, Node);
    const TbreedNode* b = TbreedNodes::breedof(TreeView1->Selected());
    if (!b)
        return;
    bfid = b->fid;
    code = b->code;
    bparent = b->bparent;
    prtname = b->prtname;
    pricemodal = b->pricemodal;
    breedtype = b->breedtype;
    adminrate = b->adminrate;
}

void TfrmBasicdetail::TreeView1DblClick(QObject* Sender)
{
    Fbreednodes->onTreeViewDbClick(Sender);
}

void TfrmBasicdetail::loadrows(const QString& condition)
{
    cdsbaseinfo.SetData(rmtDM->getsqldata(constSQL, Ordkeyfield, fnkeyfield, condition, 20));
}

QString TfrmBasicdetail::namecondition(const QString& text) const
{
    return constcon + QStringLiteral(" and a.mname like '%") + likeprefix(text);
}

void TfrmBasicdetail::acRefrshExecute()
{
    loadrows(inputstr.isEmpty() ? constcon : namecondition(inputstr));
    SetbtnState(9);
}

void TfrmBasicdetail::acQueryExecute()
{
    inputstr.clear();
    inputstr = InputBox(QStringLiteral("输入查找材料名称"), QStringLiteral("输入材料名称"), QString());
    if (inputstr.isEmpty())
        return;
    loadrows(namecondition(inputstr));
    DBGridGx1->setFocus();
}

void TfrmBasicdetail::cdsbaseinfoAfterInsert()
{
    cdsbaseinfo.FieldByName(QStringLiteral("bid"))->SetAsInteger(bfid);
    cdsbaseinfo.FieldByName(QStringLiteral("code"))->SetAsString(code);
}

void TfrmBasicdetail::runmodifyform()
{
    if (!ModifyForm)
        return;
    std::unique_ptr<TForm> f(ModifyForm(this));
    f->ShowModal();
}

void TfrmBasicdetail::acInsertExecute()
{
    if (bparent) {
        ShowMessage(QStringLiteral("只能选择子节点才能新增材料清单！"));
        return;
    }
    if (!cdsbaseinfo.Active()) {
        ShowMessage(QStringLiteral("先选择材料分类项！"));
        return;
    }
    cdsbaseinfo.Append();
    runmodifyform();
    if (hasrows())
        SetbtnState(1);
}

void TfrmBasicdetail::acEditExecute()
{
    if (!hasrows())
        return;
    cdsbaseinfo.Edit();
    if (!ModifyForm)
        return;
    std::unique_ptr<TForm> f(ModifyForm(this));
    if (f->ShowModal() != mrNo)
        SetbtnState(2);
}

void TfrmBasicdetail::acCancelExecute()
{
    if (cdsbaseinfo.Active()) {
        if (cdsbaseinfo.State() == dsEdit || cdsbaseinfo.State() == dsInsert)
            cdsbaseinfo.Cancel();
        cdsbaseinfo.CancelUpdates();
    }
    SetbtnState(4);
}

void TfrmBasicdetail::acDeleteExecute()
{
    if (MessageDlg(QStringLiteral("别急，删除它若以前对操作过的票据咋办，真要删除?"), mtWarning, mbYesNo) != mrYes)
        return;
    if (hasrows())
        cdsbaseinfo.Delete();
    SetbtnState(5);
}

void TfrmBasicdetail::acSaveExecute()
{
    if (cdsbaseinfo.Active() && (cdsbaseinfo.State() == dsEdit || cdsbaseinfo.State() == dsInsert))
        cdsbaseinfo.Post();
    if (!cdsbaseinfo.Active() || cdsbaseinfo.ChangeCount() == 0) {
        MessageDlg(QStringLiteral("你数据压根就没修改！"), mtError, {mbOK});
        return;
    }
    if (rmtDM->ApplyUpdateDelta(cdsbaseinfo.Delta(), MainTable, KeyField)) {
        cdsbaseinfo.MergeChangeLog();
        MessageDlg(QStringLiteral("保存成功啊！"), mtInformation, {mbOK});
        SetbtnState(6);
    } else {
        MessageDlg(QStringLiteral("唉，保存失败！"), mtError, {mbOK});
    }
}

void TfrmBasicdetail::acExitExecute()
{
    Close();
}

void TfrmBasicdetail::setlistcolumns(bool twolines, const QList<TGridColumnDef>& columns)
{
    DBGridGx1->Columns()->Clear();
    DBGridGx1->SetUseMultiTitle(true);
    DBGridGx1->SetTitleLines(twolines ? 2 : 0);
    DBGridGx1->SetVTitleMargin(twolines ? 4 : 10);
    AddGridColumns(DBGridGx1, columns);
}

bool TfrmBasicdetail::appendline()
{
    TDataSet* detail = dsdetail ? dsdetail->DataSet() : nullptr;
    if (!detail || !hasrows())
        return false;
    if (detail->State() == dsEdit || detail->State() == dsInsert)
        detail->Post();
    detail->Append();
    detail->FieldByName(QStringLiteral("mID"))->SetAsInteger(cdsbaseinfo.FieldByName(QStringLiteral("fID"))->AsInteger());
    for (const char* f : {"mname", "mtype", "munit"}) {
        const QString name = QString::fromLatin1(f);
        detail->FieldByName(name)->SetAsString(cdsbaseinfo.FieldByName(name)->AsString());
    }
    return true;
}

void TfrmBasicdetail::DBGridGx1DblClick()
{
    appendline();
}

void TfrmBasicdetail::Button2Click()
{
    appendline();
}

void TfrmBasicdetail::Button1Click()
{
    TDataSet* detail = dsdetail ? dsdetail->DataSet() : nullptr;
    if (detail && detail->Active())
        detail->Cancel();
}

void TfrmBasicdetail::SetbtnState(int state)
{
    // 批量倒入, 新增, 修改, 放弃, 删除, 保存, 刷新, 寻找, 退出; -1 leaves a button as it is.
    QAction* const buttons[] = {ToolButton2, sbinsert, sbedit, sbcancel, sbdelete, sbsave, sbrefrsh, sbquery, sbexit};
    static const int table[][9] = {
        {0, 0, 1, 1, 1, 1, 0, -1, -1},      // 1
        {1, 1, 1, 1, 1, 1, 0, -1, -1},      // 2
        {1, 1, 1, 0, 1, 0, 0, -1, 1},       // 3, 4, 9
        {1, 1, 1, 1, 1, 1, 0, -1, -1},      // 5
        {1, 1, 1, 0, 1, 0, 1, -1, -1},      // 6
        {0, 0, 0, 0, 0, 0, 1, 1, -1},       // 10
    };
    int row;
    switch (state) {
    case 1: row = 0; break;
    case 2: row = 1; break;
    case 3: case 4: case 9: row = 2; break;
    case 5: row = 3; break;
    case 6: row = 4; break;
    case 10: row = 5; break;
    default: return;
    }
    FbtnState = state;
    for (int i = 0; i < 9; ++i)
        if (table[row][i] >= 0)
            buttons[i]->setEnabled(table[row][i] == 1);
    Fprestate = state == 10 ? 1 : state;
}

// ---------------------------------------------------------------- Tfrmbasedetail_m

Tfrmbasedetail_m::Tfrmbasedetail_m(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    resize(Scaled(QSize(360, 320)));
    ParentForm = dynamic_cast<TfrmBasicdetail*>(AOwner);
    auto* outer = new QVBoxLayout(this);
    pnedit = new QFrame(this);
    pnedit->setObjectName(QStringLiteral("pnedit"));
    outer->addWidget(pnedit, 1);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    Button1 = new TButton(QStringLiteral("确定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button3 = new TButton(QStringLiteral("返回"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->SetModalResult(mrOk);
    bar->addWidget(Button1);
    bar->addWidget(Button3);
    outer->addLayout(bar);
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
    Button3->OnClick = [this](QObject* s) { Button3Click(s); };
}

TClientDataSet* Tfrmbasedetail_m::DataSet() const
{
    return ParentForm ? &ParentForm->cdsbaseinfo : nullptr;
}

void Tfrmbasedetail_m::bindcontrols()
{
    if (ParentForm)
        bindhintcontrols(pnedit->findChildren<QWidget*>(), Maintable, &ParentForm->dsbaseinfo);
}

void Tfrmbasedetail_m::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    bindcontrols();
    isEdit = DataSet() && DataSet()->State() == dsEdit;
}

void Tfrmbasedetail_m::Button1Click(QObject*)
{
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active())
        return;
    if (ds->State() == dsInsert) {
        ds->Post();
        ds->Append();
    } else if (ds->State() == dsEdit) {
        ds->Post();
        SetModalResult(mrOk);
    }
}

void Tfrmbasedetail_m::Button3Click(QObject*)
{
    TClientDataSet* ds = DataSet();
    if (ds && ds->Active() && (ds->State() == dsEdit || ds->State() == dsInsert))
        ds->Post();
}

TDBEdit* Tfrmbasedetail_m::addfieldedit(QFormLayout* form, const char* field, const char* label)
{
    auto* e = new TDBEdit(pnedit);
    e->setObjectName(QString::fromLatin1(field));
    e->setToolTip(QString::fromLatin1(field));
    form->addRow(new QLabel(QString::fromUtf8(label), pnedit), e);
    return e;
}
