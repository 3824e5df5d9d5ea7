#include "LoginForm.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/MessageSink.h"
#include "platform/gui/StatusBar.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFile.h"
#include "platform/gui/FontScale.h"

#include <QFormLayout>
#include <QVBoxLayout>

TfrmLogin::TfrmLogin(QWidget* AOwner) : TfrmNormalForm(AOwner), dsbillselect(&cdsbillselect)
{
    SetCaption(QStringLiteral("用户登录"));
    resize(Scaled(QSize(470, 330)));
    auto* box = new QVBoxLayout(panel3);
    GroupBox1 = new QGroupBox(QStringLiteral("用户信息"), panel3);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* form = new QFormLayout(GroupBox1);
    Label1 = new QLabel(QStringLiteral("用户名"), GroupBox1);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label2 = new QLabel(QStringLiteral("密码"), GroupBox1);
    Edit2 = new QLineEdit(GroupBox1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 79; }"));   // "O"
    form->addRow(Label1, Edit1);
    form->addRow(Label2, Edit2);
    for (QLineEdit* e : {Edit1, Edit2})
        BindHighlight(e);
    box->addWidget(GroupBox1);
    GroupBox2 = new QGroupBox(QStringLiteral("选择帐套"), panel3);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setMinimumHeight(150);
    auto* gridbox = new QVBoxLayout(GroupBox2);
    DBGridGx1 = new TDBGridGx(GroupBox2);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    DBGridGx1->SetReadOnly(true);
    DBGridGx1->SetOptions(DBGridGx1->Options() + TDBGridOptions{dgRowSelect, dgAlwaysShowSelection});
    DBGridGx1->SetAutoFitColWidths(true);
    AddGridColumns(DBGridGx1, {{"accname", "公司名称", 125}, {"DBname", "数据库名", 76}, {"remark", "帐套说明", 126}});
    DBGridGx1->SetDataSource(&dsbillselect);
    DBGridGx1->OnKeyPress = [this](QObject* s, QChar& Key) { DBGridGx1KeyPress(s, Key); };
    gridbox->addWidget(DBGridGx1);
    box->addWidget(GroupBox2, 1);
    Button1->SetDefault(false);
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, DBGridGx1);
}

TfrmLogin::~TfrmLogin()
{
    DBGridGx1->SetDataSource(nullptr);
}

void TfrmLogin::FormShow(QObject* Sender)
{
    TfrmNormalForm::FormShow(Sender);
    Edit1->setFocus();
    try {
        cdsbillselect.SetData(rmtDM->gettabledata(QStringLiteral("master..materialdblist"), QStringLiteral("fid"),
                                                  QStringLiteral("fid>0"), 10));
        if (!cdsbillselect.Active())
            Abort();
        accsetsloaded = true;
    } catch (const std::exception&) {
        MessageDlg(QStringLiteral("数据套帐不存在!"), mtError, {mbOK});
        accsetsloaded = false;
        return;
    }
    TIniFile ini(getappsubdir(QStringLiteral("log")) + QStringLiteral("Login.ini"));
    Edit1->setText(ini.ReadString(QStringLiteral("Login"), QStringLiteral("Usercode"), QString()));
}

void TfrmLogin::DBGridGx1KeyPress(QObject* Sender, QChar& Key)
{
    if (Key == QChar(13))
        Button1->setFocus();
}

void TfrmLogin::restore(const Kept& kept)
{
    accsetid = kept.id;
    accname = kept.name;
    dbname = kept.db;
    accremark = kept.remark;
    if (!kept.db.isEmpty())
        rmtDM->execsql(QStringLiteral("Use ") + kept.db);
}

void TfrmLogin::Button1Click(QObject* Sender)
{
    if (!accsetsloaded) {
        MessageDlg(QStringLiteral("数据库帐套不存在! "), mtError, {mbOK});
        return;
    }
    if (Edit1->text().isEmpty()) {
        MessageDlg(QStringLiteral("没有输入登录名称！"), mtError, {mbOK});
        Edit1->setFocus();
        SetModalResult(mrNone);
        return;
    }
    if (Edit2->text().isEmpty()) {
        MessageDlg(QStringLiteral("没有输入密码！"), mtError, {mbOK});
        Edit2->setFocus();
        SetModalResult(mrNone);
        return;
    }
    if (cdsbillselect.IsEmpty())
        return;
    const Kept kept{accsetid, accname, dbname, accremark};
    accsetid = cdsbillselect.FieldByName(QStringLiteral("fid"))->AsInteger();
    accname = cdsbillselect.FieldByName(QStringLiteral("Accname"))->AsString();
    dbname = cdsbillselect.FieldByName(QStringLiteral("Dbname"))->AsString().trimmed();
    accremark = cdsbillselect.FieldByName(QStringLiteral("remark"))->AsString();
    bool found = false;
    try {
        if (!rmtDM->execsql(QStringLiteral("Use ") + dbname)) {
            restore(kept);
            return;
        }
        ClientDataSet1.SetData(rmtDM->getsqldata(QStringLiteral("select * from userpw"), QStringLiteral("fid"),
                                                 QStringLiteral("fid"),
                                                 QStringLiteral("uname=") + vartosqlvalue(Edit1->text())
                                                     + QStringLiteral(" and password=") + vartosqlvalue(Edit2->text()),
                                                 20));
        found = ClientDataSet1.Active() && !ClientDataSet1.IsEmpty();
    } catch (...) {
        Application->Guard([&] { restore(kept); });
        throw;
    }
    if (!found) {
        MessageDlg(QStringLiteral("用户不存在"), mtInformation, {mbOK});
        restore(kept);
        return;
    }
    fillcontext(Edit1->text());
}

void TfrmLogin::fillcontext(const QString& typedname)
{
    ClientDataSet1.First();
    if (auto* owner = qobject_cast<TForm*>(parentWidget())) {
        if (auto* bar = owner->Find<TStatusBar>(QStringLiteral("statusbar1"))) {
            bar->SetPanelText(1, accname);
            bar->SetPanelText(3, dbname);
        }
    }
    username = typedname;
    userid = ClientDataSet1.FieldByName(QStringLiteral("fid"))->AsInteger();
    userisadmin = ClientDataSet1.FieldByName(QStringLiteral("isadmin"))->AsBoolean();
    imbilltype = quint8(rmtDM->getsystemvalue(QStringLiteral("imbilltype")));
    systype = TSystype(rmtDM->getsystemvalue(QStringLiteral("systype")));
    monthid = rmtDM->getsystemvalue(QStringLiteral("monthid"));
    spricedots = rmtDM->getsystemvalue(QStringLiteral("spricedots"));
    dpricedots = rmtDM->getsystemvalue(QStringLiteral("dpricedots"));
    defaultcryid = rmtDM->getsystemvalue(QStringLiteral("defaultcryid"));
    curpid = rmtDM->GetID(QStringLiteral("pid"));
    loggedin = true;
    TIniFile ini(getappsubdir(QStringLiteral("log")) + QStringLiteral("printsetting.ini"));
    imbillprintfile = ini.ReadString(dbname, QStringLiteral("imbillprint"), QString());
    exbillprintfile = ini.ReadString(dbname, QStringLiteral("exbillprint"), QString());
}
