// The connection settings dialog: loading and saving log/adolinksetting.ini with the password
// scrambled, the enable rules, and the test on the spare connection.
#include "app/ConnectSetForm.h"
#include "app_fixture.h"
#include "data/PasswordCipher.h"
#include "platform/gui/CheckBox.h"
#include "platform/rtl/IniFile.h"

class ConnectionSettings : public AppTest {
protected:
    QString Read(const char* key)
    {
        return TIniFile(Path(QStringLiteral("log/adolinksetting.ini"))).ReadString(QStringLiteral("Login"), QString::fromLatin1(key), QStringLiteral("<none>"));
    }
    void Write(const char* key, const QString& value)
    {
        TIniFile(Path(QStringLiteral("log/adolinksetting.ini"))).WriteString(QStringLiteral("Login"), QString::fromLatin1(key), value);
    }
};

TEST_F(ConnectionSettings, RoundTripWithTheScrambledPassword)
{
    Write("Security Info", QStringLiteral("True"));
    Write("User ID", QStringLiteral("depot"));
    Write("Password", scrambletext(cipherseeda, cipherseedb, QStringLiteral("s3cret;'x")));
    Write("LoginPrompt", QStringLiteral("True"));
    Write("KeepConnection", QStringLiteral("False"));
    Write("ConnectTimeOut", QString());
    {
        TfrmDBlinkset f;
        EXPECT_TRUE(f.RadioButton2->isChecked());
        EXPECT_EQ(f.Edit3->text(), QStringLiteral("depot"));
        EXPECT_EQ(f.Edit4->text(), QStringLiteral("s3cret;'x"));
        EXPECT_EQ(f.Edit4->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(f.CheckBox1->Checked());
        EXPECT_FALSE(f.CheckBox2->Checked());
        EXPECT_EQ(f.Edit5->text(), QStringLiteral("5"));
        // Enable rules: SQL login on, keep-connection off.
        EXPECT_TRUE(f.Edit3->isEnabled());
        EXPECT_TRUE(f.CheckBox1->isEnabled());
        EXPECT_FALSE(f.Edit5->isEnabled());
        EXPECT_FALSE(f.Label4->isEnabled());
        f.Edit4->setText(QStringLiteral("new pw;'\""));
        f.CheckBox1->SetChecked(false);
        f.Button1->Click();
        EXPECT_EQ(Texts(), QStringList{QStringLiteral("数据库连接设置完毕,请重新运行！")});
    }
    EXPECT_EQ(Read("Security Info"), QStringLiteral("True"));
    EXPECT_EQ(Read("LoginPrompt"), QStringLiteral("False"));
    EXPECT_EQ(Read("KeepConnection"), QStringLiteral("False"));
    EXPECT_EQ(Read("ConnectTimeOut"), QStringLiteral("5"));   // written although disabled
    EXPECT_NE(Read("Password"), QStringLiteral("new pw;'\""));
    EXPECT_EQ(unscrambletext(cipherseeda, cipherseedb, Read("Password")), QStringLiteral("new pw;'\""));
    TfrmDBlinkset again;
    EXPECT_EQ(again.Edit4->text(), QStringLiteral("new pw;'\""));
    EXPECT_FALSE(again.CheckBox1->Checked());
}

TEST_F(ConnectionSettings, APasswordTheCipherCannotCarryWritesNothing)
{
    Write("Security Info", QStringLiteral("False"));
    TfrmDBlinkset f;
    f.RadioButton2->setChecked(true);
    f.Edit1->setText(QStringLiteral("elsewhere"));
    f.Edit4->setText(QStringLiteral("密码"));
    Application->Guard([&] { f.Button1->Click(); });
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("The password holds a character that cannot be stored: 密.")});
    EXPECT_EQ(Read("Security Info"), QStringLiteral("False"));
    EXPECT_NE(Read("Server Name"), QStringLiteral("elsewhere"));
}

TEST_F(ConnectionSettings, WindowsAuthenticationKeepsTheOldLogin)
{
    Write("User ID", QStringLiteral("old"));
    Write("Password", QStringLiteral("OLDSCRAMBLED"));
    TfrmDBlinkset f;
    EXPECT_TRUE(f.RadioButton1->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{f.Edit3, f.Edit4, f.CheckBox1, f.Label2, f.Label3})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    EXPECT_TRUE(f.Edit3->isEnabled());
    QTest::mouseClick(f.RadioButton1, Qt::LeftButton);
    EXPECT_FALSE(f.Edit3->isEnabled());
    f.CheckBox2->SetChecked(false);
    EXPECT_FALSE(f.Edit5->isEnabled());
    f.CheckBox2->SetChecked(true);
    EXPECT_TRUE(f.Edit5->isEnabled());
    f.Edit1->setText(QStringLiteral(".\\sqlexpress"));
    f.Button1->Click();
    EXPECT_EQ(Read("Server Name"), QStringLiteral(".\\sqlexpress"));
    EXPECT_EQ(Read("Security Info"), QStringLiteral("False"));
    EXPECT_EQ(Read("LoginPrompt"), QStringLiteral("False"));
    EXPECT_EQ(Read("KeepConnection"), QStringLiteral("True"));
    EXPECT_EQ(Read("User ID"), QStringLiteral("old"));
    EXPECT_EQ(Read("Password"), QStringLiteral("OLDSCRAMBLED"));
}

TEST_F(ConnectionSettings, EmptyTimeOutWritesNothing)
{
    TfrmDBlinkset f;
    f.Edit1->setText(QStringLiteral("elsewhere"));
    f.Edit5->setText(QStringLiteral("  "));
    f.Button1->Click();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("ADO ConnectTime Can Not Emply ")});
    EXPECT_NE(Read("Server Name"), QStringLiteral("elsewhere"));
}

TEST_F(ConnectionSettings, TestOnTheSpareConnection)
{
    const QString before = dm->ADOCon->CurrentDatabase();
    TfrmDBlinkset f;
    // The settings of the run reach the engine.
    f.Button3->Click();
    EXPECT_EQ(DialogScript::Log().last().Text, QStringLiteral("测试成功！"));
    EXPECT_EQ(DialogScript::Log().last().Caption, QStringLiteral("Information "));
    EXPECT_FALSE(dm->testcon->Connected());
    // A server that is not there.
    f.Edit1->setText(QStringLiteral("postgres://127.0.0.1:1"));
    f.Edit5->setText(QStringLiteral("2"));
    f.Button3->Click();
    EXPECT_EQ(DialogScript::Log().last().Text, QStringLiteral("测试失败！"));
    EXPECT_FALSE(dm->testcon->Connected());
    EXPECT_EQ(dm->testcon->ConnectionTimeout(), 2);
    EXPECT_TRUE(dm->ADOCon->Connected());
    EXPECT_EQ(dm->ADOCon->CurrentDatabase(), before);
    // The test does not close the dialog.
    EXPECT_EQ(f.ModalResult(), mrNone);
}
