#include "ConnectSetForm.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/PasswordCipher.h"
#include "platform/db/ADOConnection.h"
#include "platform/gui/Application.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Format.h"
#include "platform/gui/FontScale.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("Login");

QString settingsfile()
{
    return getappsubdir(QStringLiteral("log")) + QStringLiteral("adolinksetting.ini");
}

QString booltext(bool v)
{
    return v ? QStringLiteral("True") : QStringLiteral("False");
}

// "True" checks the box, "False" unchecks it, anything else leaves it.
void readcheck(TCheckBox* box, const QString& value)
{
    if (value == QLatin1String("True"))
        box->SetChecked(true);
    else if (value == QLatin1String("False"))
        box->SetChecked(false);
}

} // namespace

TfrmDBlinkset::TfrmDBlinkset(QWidget* AOwner) : TfrmBaseform(AOwner)
{
    SetCaption(QStringLiteral("与数据库连接设置"));
    resize(Scaled(QSize(480, 330)));
    Button1->SetCaption(QStringLiteral("保存"));
    auto* box = new QVBoxLayout(panel3);
    GroupBox1 = new QGroupBox(QStringLiteral("数据库连接设置"), panel3);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(GroupBox1);
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(GroupBox1);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    Edit1 = edit("Edit1");
    grid->addWidget(new QLabel(QStringLiteral("数据库服务器名"), GroupBox1), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    RadioButton1 = new QRadioButton(QStringLiteral("仅Windows身份验证"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("SQL Serve和Windows身份验证"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton1->setChecked(true);
    grid->addWidget(RadioButton1, 1, 0, 1, 2);
    grid->addWidget(RadioButton2, 2, 0, 1, 2);
    Label2 = new QLabel(QStringLiteral("用户名"), GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit3 = edit("Edit3");
    Label3 = new QLabel(QStringLiteral("密  码"), GroupBox1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Edit4 = edit("Edit4");
    Edit4->setEchoMode(QLineEdit::Password);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(Edit3, 3, 1);
    grid->addWidget(Label3, 4, 0);
    grid->addWidget(Edit4, 4, 1);
    CheckBox1 = new TCheckBox(QStringLiteral("总是提示登陆用户名和密码"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new TCheckBox(QStringLiteral("总是保持连接"), GroupBox1);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->SetChecked(true);
    grid->addWidget(CheckBox1, 5, 0, 1, 2);
    grid->addWidget(CheckBox2, 6, 0, 1, 2);
    Label4 = new QLabel(QStringLiteral("连接数"), GroupBox1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Edit5 = edit("Edit5");
    Edit5->setText(QStringLiteral("5"));
    grid->addWidget(Label4, 7, 0);
    grid->addWidget(Edit5, 7, 1);
    box->addWidget(GroupBox1);
    box->addStretch(1);

    Button3 = new TButton(QStringLiteral("连接测试"), Panel2);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setFixedSize(Scaled(QSize(75, 21)));
    Button3->setAutoDefault(false);
    static_cast<QVBoxLayout*>(Panel2->layout())->insertWidget(0, Button3, 0, Qt::AlignHCenter);
    static_cast<QVBoxLayout*>(Panel2->layout())->insertSpacing(0, 12);

    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
    Button3->OnClick = [this](QObject* s) { Button3Click(s); };
    for (QRadioButton* r : {RadioButton1, RadioButton2})
        connect(r, &QRadioButton::clicked, this, Application->Guarded([this, r] { RadioButton1Click(r); }));
    CheckBox2->OnClick = [this](QObject* s) { RadioButton1Click(s); };
    loadsettings();
}

void TfrmDBlinkset::loadsettings()
{
    TIniFile ini(settingsfile());
    auto read = [&](const char* key) { return ini.ReadString(Section, QString::fromLatin1(key), QString()); };
    Edit1->setText(read("Server Name"));
    const QString security = read("Security Info");
    if (security == QLatin1String("False")) {
        RadioButton1->setChecked(true);
    } else if (security == QLatin1String("True")) {
        RadioButton2->setChecked(true);
        Edit3->setText(read("User ID"));
        Edit4->setText(unscrambletext(cipherseeda, cipherseedb, read("Password")));
    }
    readcheck(CheckBox1, read("LoginPrompt"));
    readcheck(CheckBox2, read("KeepConnection"));
    const QString timeout = read("ConnectTimeOut");
    Edit5->setText(timeout.isEmpty() ? QStringLiteral("5") : timeout);
    RadioButton1Click(this);
}

void TfrmDBlinkset::RadioButton1Click(QObject* Sender)
{
    const bool sqllogin = !RadioButton1->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Edit3, Edit4, CheckBox1, Label2, Label3})
        w->setEnabled(sqllogin);
    Edit5->setEnabled(CheckBox2->Checked());
    Label4->setEnabled(CheckBox2->Checked());
}

QString TfrmDBlinkset::ConnectionString() const
{
    if (RadioButton1->isChecked())
        return TrmtDM::windowsconnectstring(Edit1->text());
    return TrmtDM::sqlloginconnectstring(Edit1->text(), Edit3->text(), Edit4->text());
}

void TfrmDBlinkset::Button3Click(QObject* Sender)
{
    TADOConnection* con = rmtDM->testcon.get();
    const QString connection = ConnectionString();
    con->Close();
    con->SetConnectionString(QString());
    con->SetKeepConnection(CheckBox2->Checked());
    con->SetLoginPrompt(CheckBox1->Checked());
    con->SetConnectionTimeout(StrToInt(Edit5->text()));
    con->SetConnectionString(connection);
    bool ok = false;
    try {
        TBusyCursor busy;
        con->Open();
        ok = true;
    } catch (const EAbort&) {
        con->Close();
        throw;
    } catch (const std::exception&) {
        ok = false;
    }
    con->Close();
    ShowMessageBox(ok ? QStringLiteral("测试成功！") : QStringLiteral("测试失败！"), QStringLiteral("Information "),
                   MB_OK | MB_ICONINFORMATION);
}

void TfrmDBlinkset::Button1Click(QObject* Sender)
{
    if (Edit5->text().trimmed().isEmpty()) {
        MessageDlg(QStringLiteral("ADO ConnectTime Can Not Emply "), mtError, {mbOK});
        return;
    }
    // Enciphered first: a password the cipher cannot carry stops the save before anything is written.
    const QString password = RadioButton1->isChecked() ? QString() : scrambletext(cipherseeda, cipherseedb, Edit4->text());
    TIniFile ini(settingsfile());
    ini.WriteString(Section, QStringLiteral("Server Name"), Edit1->text());
    ini.WriteString(Section, QStringLiteral("ConnectTimeOut"), Edit5->text());
    ini.WriteString(Section, QStringLiteral("KeepConnection"), booltext(CheckBox2->Checked()));
    if (RadioButton1->isChecked()) {
        ini.WriteString(Section, QStringLiteral("Security Info"), QStringLiteral("False"));
        ini.WriteString(Section, QStringLiteral("LoginPrompt"), QStringLiteral("False"));
    } else {
        ini.WriteString(Section, QStringLiteral("Security Info"), QStringLiteral("True"));
        ini.WriteString(Section, QStringLiteral("User ID"), Edit3->text());
        ini.WriteString(Section, QStringLiteral("LoginPrompt"), QStringLiteral("True"));
        ini.WriteString(Section, QStringLiteral("Password"), password);
        if (!CheckBox1->Checked())
            ini.WriteString(Section, QStringLiteral("LoginPrompt"), QStringLiteral("False"));
    }
    MessageDlg(QStringLiteral("数据库连接设置完毕,请重新运行！"), mtWarning, {mbOK});
}
