// The bill form base.
#include "BillBase.h"

#include "DropDownPicker.h"
#include "MaterialPicker.h"
#include "ReportControl.h"

#include "grid/support/DBCtrlsGxDateTime.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/MessageSink.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

bool editing(const TDataSet& ds)
{
    return ds.Active() && (ds.State() == dsEdit || ds.State() == dsInsert);
}

const QString kUnsaved = QStringLiteral("慢点，票据没保存,保存不?");

} // namespace

Tfrmbasicbill::Tfrmbasicbill(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    resize(Scaled(QSize(950, 600)));
    SetPosition(poDesktopCenter);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [this](const char* name, const char* caption, std::function<void()> handler) {
        QAction* a = ToolBar1->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        if (handler)
            connect(a, &QAction::triggered, this, Application->Guarded(std::move(handler)));
        return a;
    };
    acInsert = action("acInsert", "新增", [this] { acInsertExecute(); });
    acEdit = action("acEdit", "修改", [this] { acEditExecute(); });
    acCancel = action("acCancel", "放弃", [this] { acCancelExecute(); });
    acDelete = action("acDelete", "删除", [this] { acDeleteExecute(); });
    acSave = action("acSave", "保存", [this] { acSaveExecute(); });
    acAuditing = action("acAuditing", "记帐", [this] { acAuditingExecute(); });
    acPrint = action("acPrint", "打印", [this] { acPrintExecute(); });
    sbprior = action("sbprior", "前单", nullptr);
    sbnext = action("sbnext", "后单", nullptr);
    acExit = action("acExit", "退出", [this] { acExitExecute(); });
    sbauditing = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(acAuditing));
    outer->addWidget(ToolBar1);

    headpanel = new QWidget(this);
    headpanel->setObjectName(QStringLiteral("headpanel"));
    headgrid = new QGridLayout(headpanel);
    headgrid->setContentsMargins(6, 2, 6, 2);
    outer->addWidget(headpanel);

    auto* middle = new QHBoxLayout;
    DBGridGx1 = new TDBGridGx(this);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    QFont gridfont = font();
    gridfont.setFamilies({QStringLiteral("楷体_GB2312"), font().family()});
    gridfont.setPixelSize(13);
    DBGridGx1->setFont(gridfont);
    middle->addWidget(DBGridGx1, 1);
    auto* side = new QVBoxLayout;
    btlistadd = new TButton(QStringLiteral("添加材料清单"), this);
    btlistadd->setObjectName(QStringLiteral("btlistadd"));
    btlistadd->setToolTip(QStringLiteral("增加材料清单"));
    btlistdel = new TButton(QStringLiteral("删除材料清单"), this);
    btlistdel->setObjectName(QStringLiteral("btlistdel"));
    btlistdel->setToolTip(QStringLiteral("删除选择材料清单"));
    DBCheckBox1 = new TDBCheckBox(this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setText(QStringLiteral("反冲帐(退库)处理"));
    side->addWidget(btlistadd);
    side->addWidget(btlistdel);
    side->addWidget(DBCheckBox1);
    side->addStretch(1);
    middle->addLayout(side);
    outer->addLayout(middle, 1);

    StatusBar1 = new TStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    const Qt::Alignment centre = Qt::AlignCenter;
    StatusBar1->AddPanel(QStringLiteral("当前时间"), 80, centre);
    StatusBar1->AddPanel(QString(), 180);
    StatusBar1->AddPanel(QStringLiteral("记帐"), 80, centre);
    StatusBar1->AddPanel(QString(), 120, centre);
    StatusBar1->AddPanel(QStringLiteral("制单"), 80, centre);
    StatusBar1->AddPanel(QString(), 120, centre);
    StatusBar1->AddPanel(QStringLiteral("状态"), 80, centre);
    StatusBar1->AddPanel(QString(), 120, centre);
    StatusBar1->AddPanel(QString(), 50);
    outer->addWidget(StatusBar1);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("…"));
    SpeedButton1->setAutoRaise(true);
    connect(SpeedButton1, &QToolButton::clicked, this, Application->Guarded([this] { SpeedButton1Click(); }));

    PopupMenu1 = new QMenu(this);
    N1 = PopupMenu1->addAction(QStringLiteral("打印表单"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = PopupMenu1->addAction(QStringLiteral("打印数据"));
    N2->setObjectName(QStringLiteral("N2"));
    connect(N1, &QAction::triggered, this, Application->Guarded([this] { N1Click(); }));
    connect(N2, &QAction::triggered, this, Application->Guarded([this] { N2Click(); }));
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMenu1->popup(mapToGlobal(p)); });

    dsMaster.SetDataSet(&cdsmaster);
    dsDetail.SetDataSet(&CDSdetail);
    new TDataSourceRef(this, QStringLiteral("dsMaster"), &dsMaster);
    new TDataSourceRef(this, QStringLiteral("dsDetail"), &dsDetail);
    DBGridGx1->SetDataSource(&dsDetail);
    DBCheckBox1->SetDataSource(&dsMaster);
    DBCheckBox1->SetDataField(QStringLiteral("breverse"));
    DBCheckBox1->SetValueChecked(QStringLiteral("True"));
    DBCheckBox1->SetValueUnchecked(QStringLiteral("False"));
    cdsmaster.AfterCancel = [this](TDataSet*) { cdsmasterAfterCancel(); };
    cdsmaster.AfterInsert = [this](TDataSet*) { cdsmasterAfterInsert(); };
    CDSdetail.AfterInsert = [this](TDataSet*) { CDSdetailAfterInsert(); };
    CDSdetail.AfterPost = [this](TDataSet*) { CDSdetailAfterPost(); };
    btlistadd->OnClick = [this](QObject*) { btlistaddClick(); };
    btlistdel->OnClick = [this](QObject*) { btlistdelClick(); };
    DBGridGx1->OnGetCellParams = [this](QObject*, TColumnGx* c, TFont* f, TColor& b, TGridDrawState) {
        DBGridGx1GetCellParams(c, f, b);
    };
}

Tfrmbasicbill::~Tfrmbasicbill()
{
    DBGridGx1->OnGetCellParams = nullptr;
    cdsmaster.AfterCancel = nullptr;
    cdsmaster.AfterInsert = nullptr;
    CDSdetail.AfterInsert = nullptr;
    CDSdetail.AfterPost = nullptr;
}

// ---------------------------------------------------------------- head controls

QLabel* Tfrmbasicbill::headlabel(const char* text)
{
    return new QLabel(QString::fromUtf8(text), headpanel);
}

TDBEdit* Tfrmbasicbill::headedit(const char* name, const char* field)
{
    auto* e = new TDBEdit(headpanel);
    e->setObjectName(QString::fromLatin1(name));
    e->SetDataSource(&dsMaster);
    e->SetDataField(QString::fromLatin1(field));
    return e;
}

QToolButton* Tfrmbasicbill::headbutton(const char* name)
{
    auto* b = new QToolButton(headpanel);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QStringLiteral("…"));
    b->setAutoRaise(true);
    return b;
}

TDBDateTimeEditGx* Tfrmbasicbill::headdate(const char* name, const char* field)
{
    auto* e = new TDBDateTimeEditGx(headpanel);
    e->setObjectName(QString::fromLatin1(name));
    e->SetKind(dtkDateGx);
    e->SetDataSource(&dsMaster);
    e->SetDataField(QString::fromLatin1(field));
    return e;
}

TDBLookupComboBox* Tfrmbasicbill::headlookup(QWidget* parent, const char* name, int rows, TDataSource* list,
                                             const char* listfield, const char* field)
{
    auto* c = new TDBLookupComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setMaxVisibleItems(rows);
    c->SetListSource(list);
    c->SetKeyField(QStringLiteral("fid"));
    c->SetListField(QString::fromLatin1(listfield));
    c->SetDataSource(&dsMaster);
    c->SetDataField(QString::fromLatin1(field));
    return c;
}

void Tfrmbasicbill::placeheadrow(int row, std::initializer_list<THeadField> fields)
{
    int column = 0;
    for (const THeadField& f : fields) {
        headgrid->addWidget(headlabel(f.caption), row, column);
        headgrid->addWidget(f.control, row, column + 1);
        if (f.button)
            headgrid->addWidget(f.button, row, column + 2);
        column += 3;
    }
}

// ---------------------------------------------------------------- loading

void Tfrmbasicbill::newbill()
{
    fid = 0;
    code.clear();
    Fstoredcode.clear();
    Fstoredfid = 0;
    cdsmaster.SetReadOnly(false);
    CDSdetail.SetReadOnly(false);
    cdsmaster.SetData(rmtDM->gettabledata(vmastertable, Fmkey, QStringLiteral("1=0"), 20));
    CDSdetail.SetData(rmtDM->gettabledata(vdetailtable, Fdkey, QStringLiteral("1=0"), 20));
    dataloaded();
    SetbtnState(1);
    cdsmaster.Append();
    StatusBar1->SetPanelText(5, username);
    StatusBar1->SetPanelText(1, DateTimeToStr(Now()));
    Fprestate = 1;
}

void Tfrmbasicbill::showbill(int id)
{
    cdsmaster.SetReadOnly(false);
    CDSdetail.SetReadOnly(false);
    cdsmaster.SetData(rmtDM->gettabledata(vmastertable, Fmkey, Fmfkey + QLatin1Char('=') + vartosqlvalue(Variant(id)), 20));
    CDSdetail.SetData(rmtDM->gettabledata(vdetailtable, Fdkey, fdfkey + QLatin1Char('=') + vartosqlvalue(Variant(id)), 20));
    dataloaded();
    BillID = id;
    const bool found = cdsmaster.Active() && !cdsmaster.IsEmpty();
    fid = found ? cdsmaster.FieldByName(QStringLiteral("bcodeid"))->AsInteger() : 0;
    code = found ? cdsmaster.FieldByName(QStringLiteral("bcode"))->AsString() : QString();
    Fstoredfid = fid;
    Fstoredcode = code;
    if (found)
        billnum = cdsmaster.FieldByName(QStringLiteral("billnum"))->AsString();
    if (Fprestate != 5)
        SetbtnState(found && cdsmaster.FieldByName(QStringLiteral("brecorded"))->AsBoolean() ? 7 : 8);
    else
        SetbtnState(5);
    StatusBar1->SetPanelText(5, found ? cdsmaster.FieldByName(QStringLiteral("lister"))->AsString() : QString());
    StatusBar1->SetPanelText(3, found ? cdsmaster.FieldByName(QStringLiteral("assessor"))->AsString() : QString());
    StatusBar1->SetPanelText(1, DateTimeToStr(Now()));
}

bool Tfrmbasicbill::removebill(const QString& detailtable, const QString& mastertable, int id)
{
    const QString key = vartosqlvalue(Variant(id));
    if (!rmtDM->execsql(QStringLiteral("delete ") + detailtable + QStringLiteral(" where ") + fdfkey
                        + QLatin1Char('=') + key))
        return false;
    return rmtDM->execsql(QStringLiteral("delete ") + mastertable + QStringLiteral(" where fid=") + key);
}

// ---------------------------------------------------------------- state machine

void Tfrmbasicbill::SetbtnState(int state)
{
    // 新增 修改 放弃 删除 保存 记帐 打印 前单 后单 退出, line buttons, read-only; -1 unchanged.
    struct Row {
        const char* text;
        int b[10];
        int lines;
        bool readonly;
    };
    const bool audited = cdsmaster.Active() && !cdsmaster.IsEmpty()
                         && cdsmaster.FieldByName(QStringLiteral("brecorded"))->AsBoolean();
    Row r{};
    switch (state) {
    case 1: r = {"新建", {0, 0, 1, 0, 1, 0, 0, 0, 0, 1}, 1, false}; break;
    case 2: r = {"修改", {1, 0, 1, 1, 1, 0, 0, 0, 0, 1}, 1, false}; break;
    case 3:
        r = audited ? Row{"记帐", {1, 0, 0, 0, 0, 1, 1, 1, 1, 1}, 0, true}
                    : Row{"保存", {1, 1, 0, 1, 0, -1, 1, 1, 1, 1}, 0, true};
        break;
    case 4: r = {"放弃", {1, Fprestate == 1 ? 0 : 1, 0, 0, 0, 0, 0, 1, 1, 1}, 0, false}; break;
    case 5: r = {"删除", {1, 0, 0, 0, 0, 0, 0, 1, 1, 1}, 0, true}; break;
    case 6: r = {"保存", {1, 1, 0, 0, 0, 1, 0, 1, 1, 1}, 0, true}; break;
    case 7: r = {"记帐", {1, 0, 0, 0, 0, 1, 1, 1, 1, 1}, 0, true}; break;
    case 8: r = {"保存", {1, 1, 0, 0, 0, -1, 0, 1, 1, 1}, 0, true}; break;
    default: return;
    }
    FbtnState = state;
    StatusBar1->SetPanelText(7, QString::fromUtf8(r.text));
    QAction* const buttons[] = {acInsert, acEdit, acCancel, acDelete, acSave, acAuditing, acPrint, sbprior, sbnext, acExit};
    for (int i = 0; i < 10; ++i)
        if (r.b[i] >= 0)
            buttons[i]->setEnabled(r.b[i] == 1);
    btlistadd->setEnabled(r.lines == 1);
    btlistdel->setEnabled(r.lines == 1);
    cdsmaster.SetReadOnly(r.readonly);
    CDSdetail.SetReadOnly(r.readonly);
    const bool reverse = state == 7 || (state == 3 && audited);
    if (state == 3 || state >= 6) {
        acAuditing->setText(reverse ? QStringLiteral("反记帐") : QStringLiteral("记帐"));
        Fauditimage = reverse ? 10 : 5;
    }
    Fprestate = state;
}

// ---------------------------------------------------------------- category and number

void Tfrmbasicbill::picktree(const QString& table, QLineEdit* edit, QToolButton* button, const QString& idcol,
                               const QString& namecol, const QString& codecol)
{
    if (btnState() != 1 && btnState() != 2)
        return;
    auto* picker = new Tfrmbilltreeshow(this, table);
    placepicker(picker, edit, button, 0);
    if (picker->ShowModal() != mrOk)
        return;
    if (cdsmaster.State() == dsBrowse)
        cdsmaster.Edit();
    cdsmaster.FieldByName(idcol)->SetAsInteger(treenodeid);
    cdsmaster.FieldByName(namecol)->SetAsString(treenodename);
    cdsmaster.FieldByName(codecol)->SetAsString(treenodecode);
}

void Tfrmbasicbill::placepicker(TForm* picker, QWidget* edit, QWidget* button, int minwidth)
{
    const QPoint p = getcontrolbottomleft(edit);
    picker->move(p.x(), p.y() + 1);
    picker->resize(std::max(edit->width() + button->width(), minwidth), picker->height());
}

int Tfrmbasicbill::takeslot(const QString& column)
{
    int slot = rmtDM->getbillcodeid(column);
    if (slot == 0 && rmtDM->Addnewcodeidline(column))
        slot = rmtDM->getbillcodeid(column);
    return slot;
}

void Tfrmbasicbill::selectbilltype(QLineEdit* edit, QToolButton* button, bool abilltype)
{
    if (FbtnState != 1 && FbtnState != 2)
        return;
    auto* picker = new Tfrmbilltypelistbox(this, QStringLiteral("billtype"), QStringLiteral("fid"),
                                           QStringLiteral("typename"));
    placepicker(picker, edit, button, 185);
    if (picker->ShowModal() != mrOk)
        return;
    const QString column = (abilltype ? QStringLiteral("ex") : QStringLiteral("im")) + picker->code();
    const int start = rmtDM->getbillcodebnum(picker->code(), abilltype);
    if (column == code) {
        if (edit->text() != billnum)
            edit->setText(billnum);
        return;
    }
    const int slot = takeslot(column);
    billnum = listboxname + QLatin1Char(' ') + QString::number(monthid) + QLatin1Char('-')
              + QString::number(start + slot - 1);
    edit->setText(billnum);
    if (auto* e = dynamic_cast<TDBEdit*>(edit); e && e->Field() && editing(cdsmaster))
        e->Field()->SetAsString(billnum);
    // A slot taken in this form goes back at once; the slot the stored bill names is kept
    // until the save with the new number commits.
    if (!code.isEmpty() && !(code == Fstoredcode && fid == Fstoredfid))
        rmtDM->ESCbillcodeid(fid, code);
    fid = slot;
    code = slot ? column : QString();
}

void Tfrmbasicbill::SpeedButton1Click()
{
    if (DBbilltype)
        selectbilltype(DBbilltype, SpeedButton1, billtype);
}

void Tfrmbasicbill::releaseunsaved()
{
    if (!code.isEmpty() && !(code == Fstoredcode && fid == Fstoredfid))
        rmtDM->ESCbillcodeid(fid, code);
    code = Fstoredcode;
    fid = Fstoredfid;
}

bool Tfrmbasicbill::modified() const
{
    return editing(cdsmaster) || editing(CDSdetail) || (cdsmaster.Active() && cdsmaster.ChangeCount() > 0)
           || (CDSdetail.Active() && CDSdetail.ChangeCount() > 0) || code != Fstoredcode;
}

// ---------------------------------------------------------------- toolbar

void Tfrmbasicbill::acInsertExecute()
{
    // Edits of the bill in hand are not dropped without asking.
    if ((FbtnState == 1 || FbtnState == 2) && modified()) {
        if (MessageDlg(kUnsaved, mtWarning, mbYesNo) == mrYes)
            return;
        if (editing(cdsmaster))
            cdsmaster.Cancel();
        releaseunsaved();
    }
    newbill();
}

void Tfrmbasicbill::acEditExecute()
{
    SetbtnState(2);
    if (cdsmaster.Active() && !cdsmaster.IsEmpty())
        cdsmaster.Edit();
}

void Tfrmbasicbill::acCancelExecute()
{
    SetbtnState(4);
    if (editing(CDSdetail))
        CDSdetail.Cancel();
    if (CDSdetail.Active())
        CDSdetail.CancelUpdates();
    if (editing(cdsmaster))
        cdsmaster.Cancel();
    if (cdsmaster.Active())
        cdsmaster.CancelUpdates();
    releaseunsaved();
}

void Tfrmbasicbill::cdsmasterAfterCancel()
{
    releaseunsaved();
}

void Tfrmbasicbill::acSaveExecute()
{
    if (editing(cdsmaster)) {
        cdsmaster.FieldByName(QStringLiteral("bcodeid"))->SetAsInteger(fid);
        cdsmaster.FieldByName(QStringLiteral("bcode"))->SetAsString(code);
        cdsmaster.Post();
    }
    if (editing(CDSdetail))
        CDSdetail.Post();
    const bool lines = CDSdetail.Active() && CDSdetail.ChangeCount() > 0;
    const bool head = cdsmaster.Active() && cdsmaster.ChangeCount() > 0;
    const std::function<bool()> steps = lines || head ? savesteps() : std::function<bool()>();
    bool ok = true;
    if (lines && !head)
        ok = rmtDM->ApplyUpdateDelta(CDSdetail.Delta(), fdetailtable, Fdkey, {}, steps);
    else if (head && !lines)
        ok = rmtDM->ApplyUpdateDelta(cdsmaster.Delta(), fmastertable, Fmkey, {}, steps);
    else if (head && lines)
        ok = rmtDM->ApplyUpdateMD(cdsmaster.Delta(), fmastertable, Fmkey, CDSdetail.Delta(), fdetailtable, Fdkey, {},
                                  steps);
    if (!ok) {
        MessageDlg(QStringLiteral("咋回事？保存失败！"), mtError, {mbOK});
        return;
    }
    // The bill now names its new slot: the one it named before is free.
    if (!Fstoredcode.isEmpty() && !(code == Fstoredcode && fid == Fstoredfid))
        rmtDM->ESCbillcodeid(Fstoredfid, Fstoredcode);
    Fstoredcode = code;
    Fstoredfid = fid;
    MessageDlg(QStringLiteral("哈哈，保存成功！"), mtInformation, {mbOK});
    showbill(BillID);
    SetbtnState(6);
}

void Tfrmbasicbill::acAuditingExecute()
{
    DBGridGx1->BeginUpdateGx();
    struct Unlock {
        TDBGridGx* g;
        ~Unlock() { g->EndUpdateGx(); }
    } unlock{DBGridGx1};
    auto finish = [this](bool ok, const char* done, const char* failed, int state) {
        if (!ok) {
            MessageDlg(QString::fromUtf8(failed), mtError, {mbOK});
            return;
        }
        MessageDlg(QString::fromUtf8(done), mtInformation, {mbOK});
        showbill(BillID);
        SetbtnState(state);
    };
    if (FbtnState == 7)
        finish(reversebill(), "数据反记帐成功！", "数据反记帐失败！", 8);
    else
        finish(recordbill(), "数据记帐成功！", "数据记帐失败！", 7);
}

void Tfrmbasicbill::acDeleteExecute()
{
    if (!cdsmaster.Active() || cdsmaster.IsEmpty()
        || cdsmaster.FieldByName(QStringLiteral("brecorded"))->AsBoolean())
        return;
    if (MessageDlg(QStringLiteral("真要删除此票据？之后没法恢复哟！"), mtConfirmation, mbYesNo) != mrYes) {
        MessageDlg(QStringLiteral("不被删除"), mtWarning, {mbYes});
        return;
    }
    bool ok = false;
    rmtDM->BeginTrans();
    try {
        rmtDM->ESCbillcodeid(cdsmaster.FieldByName(QStringLiteral("bcodeid"))->AsInteger(),
                             cdsmaster.FieldByName(QStringLiteral("bcode"))->AsString());
        ok = removebill(fdetailtable, fmastertable, BillID);
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        rmtDM->RollbackTrans();
        MessageDlg(QStringLiteral("人品问题，删除失败!"), mtConfirmation, {mbYes});
        return;
    }
    rmtDM->CommitTrans();
    SetbtnState(5);
    MessageDlg(QStringLiteral("按你的意思给删了!"), mtConfirmation, {mbYes});
    showbill(BillID);
}

void Tfrmbasicbill::acPrintExecute()
{
    if (reportcontrol)
        reportcontrol->PrintIt();
}

void Tfrmbasicbill::N1Click()
{
    if (reportcontrol)
        reportcontrol->printgrid();
}

void Tfrmbasicbill::N2Click()
{
    if (reportcontrol && acPrint->isEnabled())
        reportcontrol->printvarray();
}

void Tfrmbasicbill::acExitExecute()
{
    Close();
}

void Tfrmbasicbill::acPriorExecute()
{
    if (cdsmaster.Active() && !cdsmaster.Bof())
        cdsmaster.Prior();
}

void Tfrmbasicbill::acNextExecute()
{
    if (cdsmaster.Active() && !cdsmaster.Eof())
        cdsmaster.Next();
}

bool Tfrmbasicbill::CloseQuery()
{
    if (FbtnState == 1 || FbtnState == 2) {
        if (MessageDlg(kUnsaved, mtWarning, mbYesNo) == mrYes)
            return false;
        releaseunsaved();
    }
    return TfrmBase_C::CloseQuery();
}

// ---------------------------------------------------------------- lines

void Tfrmbasicbill::btlistaddClick()
{
    if (!modifyform)
        return;
    std::unique_ptr<TForm> picker(modifyform(this));
    picker->ShowModal();
}

void Tfrmbasicbill::btlistdelClick()
{
    if (CDSdetail.Active() && CDSdetail.RecordCount() > 0)
        CDSdetail.Delete();
}

void Tfrmbasicbill::CDSdetailAfterInsert()
{
    CDSdetail.FieldByName(fdfkey)->SetAsInteger(BillID);
    CDSdetail.FieldByName(QStringLiteral("mid"))->SetAsInteger(0);
}

void Tfrmbasicbill::CDSdetailAfterPost()
{
    TField* mid = CDSdetail.FieldByName(QStringLiteral("mid"));
    if (mid->IsNull() || mid->AsInteger() == 0)
        CDSdetail.Delete();
}

// ---------------------------------------------------------------- the line grid

void Tfrmbasicbill::DBGridGx1GetCellParams(TColumnGx*, TFont* AFont, TColor&)
{
    TField* qty = CDSdetail.Active() ? CDSdetail.FindField(QStringLiteral("qty")) : nullptr;
    AFont->SetColor(qty && qty->AsFloat() < 0 ? TColor(255) : clBlack);
}

void Tfrmbasicbill::initbillgrid()
{
    DBGridGx1->SetOptions(TDBGridOptions{dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize,
                                         dgColLines, dgRowLines, dgTabs, dgAlwaysShowSelection, dgConfirmDelete,
                                         dgCancelOnExit});
    DBGridGx1->SetAutoFitColWidths(true);
    DBGridGx1->SetFooterRowCount(1);
    DBGridGx1->SumList()->SetActive(true);
}

void Tfrmbasicbill::addbillcolumns(int titlelines, int vmargin, const QList<TBillColumn>& columns, bool centresums)
{
    // The columns get their designed widths before the grid fits them to its width: a width set
    // while it fits them would be taken for a clerk's resize, which gives the difference to the
    // next column.
    DBGridGx1->SetAutoFitColWidths(false);
    DBGridGx1->Columns()->Clear();
    DBGridGx1->SetUseMultiTitle(true);
    DBGridGx1->SetTitleLines(titlelines);
    DBGridGx1->SetVTitleMargin(vmargin);
    for (const TBillColumn& c : columns) {
        TColumnGx* column = DBGridGx1->Columns()->Add();
        const QString field = QString::fromLatin1(c.field);
        column->SetFieldName(field);
        column->SetWidth(Scaled(c.width));
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        column->Title()->SetAlignment(taCenter);
        if (field == QLatin1String("munit"))
            column->SetAlignment(taCenter);
        if (c.ro) {
            column->SetTextEditing(false);
            column->SetButtonStyle(cbsNone);
        }
        TColumnFooterGx* footer = column->Footer();
        if (c.foot == TFoot::none)
            continue;
        footer->Font()->SetColor(clRed);
        if (c.foot == TFoot::total) {
            footer->SetValueType(fvtStaticText);
            footer->SetValue(QStringLiteral("合计"));
            footer->SetAlignment(taCenter);
        } else {
            footer->SetValueType(fvtSum);
            if (centresums && field != QLatin1String("qty"))
                footer->SetAlignment(taCenter);
        }
    }
    DBGridGx1->SetAutoFitColWidths(true);
}

// ---------------------------------------------------------------- showing

void Tfrmbasicbill::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    if (!reportcontrol) {
        reportcontrol = new TReportControl(this);
        reportcontrol->hide();
    }
    reportcontrol->Setbodydataset(&CDSdetail);
    reportcontrol->Setheaddataset(&cdsmaster);
    billprintfile = printfile;
    if (!billprintfile.isEmpty())
        reportcontrol->LoadFromFileforprint(getappsubdir(QStringLiteral("dpxprt")) + billprintfile);
    else
        ShowMessage(QStringLiteral("请在\"系统参数\"->\"其它参数设置\"中设置票据打印样式！"));
}
