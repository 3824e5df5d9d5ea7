// Account-set administration through its dialogs, on the engine of the run: creation from the
// template with the checks of the name, backup and restore of the logged-in set, deletion of
// another registered set.
#include "app_fixture.h"

#include <QFile>
#include <QTemporaryDir>

class AccountSets : public AppTest {};

TEST_F(AccountSets, CreateRegistersTheSetAndRestoresTheTemplate)
{
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site1"), QStringLiteral("华北建设"), QStringLiteral("一号工地"))) << lastCreation.toStdString();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("新套帐创建成功！")});
    EXPECT_EQ(Rows(QStringLiteral("master"), QStringLiteral("select fid, accname, dbname, remark from materialdblist")),
              QStringList{QStringLiteral("1|华北建设|site1|一号工地")});
    EXPECT_EQ(Rows(QStringLiteral("site1"), QStringLiteral("select Uname, Password, isadmin from userpw")),
              QStringList{QStringLiteral("admin|tulip|1")});
    EXPECT_EQ(Rows(QStringLiteral("site1"), QStringLiteral("select ivalue from systemset where name='monthid'")),
              QStringList{QStringLiteral("11")});
    // A second set goes into the same registry, also while logged in to the first.
    ASSERT_TRUE(Login(QStringLiteral("site1"), QStringLiteral("admin"), QStringLiteral("tulip")));
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("asx"), QStringLiteral("二公司"))) << lastCreation.toStdString();
    EXPECT_EQ(Rows(QStringLiteral("master"), QStringLiteral("select dbname from materialdblist order by fid")),
              (QStringList{QStringLiteral("site1"), QStringLiteral("asx")}));
    EXPECT_EQ(dbname, QStringLiteral("site1"));
}

TEST_F(AccountSets, CreationRefusesBadAndExistingNames)
{
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site1"))) << lastCreation.toStdString();
    Exec(QStringLiteral("site1"), QStringLiteral("update IDlist set ID=77 where IDname='MID'"));
    const QString failed = QStringLiteral("创建新帐套失败！");
    const QString pattern = QStringLiteral("帐套名称只能以英文字母开头，由英文字母、数字和下划线组成，最多50个字符！");
    const std::pair<QString, QStringList> cases[] = {
        {QString(), {QStringLiteral("帐套名称没有输入！"), failed}},
        {QStringLiteral("As"), {QStringLiteral("帐套名称不能为“as”！"), failed}},
        {QStringLiteral("aS"), {QStringLiteral("帐套名称不能为“as”！"), failed}},
        {QStringLiteral("1site"), {pattern, failed}},
        {QStringLiteral("site-2"), {pattern, failed}},
        {QStringLiteral("x]; drop database site1 --"), {pattern, failed}},
        {QStringLiteral("../evil"), {pattern, failed}},
        {QStringLiteral("a").repeated(51), {pattern, failed}},
        {QStringLiteral("site1"), {QStringLiteral("帐套数据库“site1”已经存在，请换一个数据库名！"), failed}},
        {QStringLiteral("SITE1"), {QStringLiteral("帐套数据库“SITE1”已经存在，请换一个数据库名！"), failed}},
    };
    for (const auto& [name, texts] : cases) {
        EXPECT_FALSE(CreateAccountSet(name)) << name.toStdString();
        EXPECT_EQ(Texts(), texts) << name.toStdString();
    }
    // No company name.
    EXPECT_FALSE(CreateAccountSet(QStringLiteral("site2"), QString()));
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("公司名称没有输入！"), failed}));
    // The existing set was left alone.
    EXPECT_EQ(Rows(QStringLiteral("site1"), QStringLiteral("select ID from IDlist where IDname='MID'")),
              QStringList{QStringLiteral("77")});
    EXPECT_EQ(Rows(QStringLiteral("master"), QStringLiteral("select count(*) from materialdblist")), QStringList{QStringLiteral("1")});
    // A name of 50 characters is fine.
    EXPECT_TRUE(CreateAccountSet(QStringLiteral("a").repeated(50)));
}

TEST_F(AccountSets, CreationRefusesTextsLongerThanTheRegistryHolds)
{
    const QString failed = QStringLiteral("创建新帐套失败！");
    // company, remark -> the messages; too long a text leaves neither a database nor a registry row
    const std::tuple<QString, QString, QStringList> cases[] = {
        {QStringLiteral("华").repeated(51), QString(), {QStringLiteral("公司名称最多50个字符！"), failed}},
        {QStringLiteral("华北"), QStringLiteral("说").repeated(101), {QStringLiteral("帐套说明最多100个字符！"), failed}},
    };
    for (const auto& [company, remark, texts] : cases) {
        EXPECT_FALSE(CreateAccountSet(QStringLiteral("site3"), company, remark));
        EXPECT_EQ(Texts(), texts);
        EXPECT_THROW(dm->ADOCon->Execute(QStringLiteral("Use site3")), std::exception);
    }
    // At the limits (blanks around them trimmed) the set is created and registered.
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site3"), QStringLiteral("华").repeated(50), QStringLiteral(" ") + QStringLiteral("说").repeated(100) + QStringLiteral(" ")))
        << lastCreation.toStdString();
    EXPECT_EQ(Rows(QStringLiteral("master"), QStringLiteral("select accname, remark from materialdblist")),
              QStringList{QStringLiteral("华").repeated(50) + QStringLiteral("|") + QStringLiteral("说").repeated(100)});
}

TEST_F(AccountSets, CreationWithoutSettingsFile)
{
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("log/adolinksetting.ini"))));
    EXPECT_FALSE(CreateAccountSet(QStringLiteral("site1")));
    ASSERT_EQ(Texts().size(), 2);
    EXPECT_TRUE(Texts()[0].endsWith(QStringLiteral("\\Log\\adolinksetting.ini\"文件不存在，先进行连接设置！")));
    EXPECT_TRUE(Texts()[0].startsWith(QLatin1Char('"')));
    EXPECT_EQ(Texts()[1], QStringLiteral("创建新帐套失败！"));
}

TEST_F(AccountSets, BackupChangeRestoreBringsTheDataBack)
{
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site1"))) << lastCreation.toStdString();
    ASSERT_TRUE(Login(QStringLiteral("site1"), QStringLiteral("admin"), QStringLiteral("tulip")));
    Exec(QStringLiteral("site1"), QStringLiteral("update IDlist set ID=5 where IDname='MID'"));
    {
        TfrmDBBackup f;
        f.show();
        EXPECT_EQ(f.Label2->text(), QStringLiteral("site1"));
        EXPECT_EQ(f.Label6->text(), QStringLiteral("华北建设"));
        DialogScript::ClearLog();
        f.Edit4->setText(QStringLiteral("site1 friday"));
        f.Button1->Click();
        EXPECT_EQ(Texts(), QStringList{QStringLiteral("备份成功，心里踏实了")});
        EXPECT_EQ(f.ModalResult(), mrOk);
    }
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("backdata/site1 friday"))));
    Exec(QStringLiteral("site1"), QStringLiteral("update IDlist set ID=9 where IDname='MID'"));
    {
        TfrmDBRestore f;
        f.show();
        DialogScript::ClearLog();
        f.Edit4->setText(QStringLiteral("site1 friday"));
        f.Button1->Click();
        EXPECT_EQ(Texts(), QStringList{QStringLiteral("帐套还原成功！")});
    }
    EXPECT_EQ(Rows(QStringLiteral("site1"), QStringLiteral("select ID from IDlist where IDname='MID'")), QStringList{QStringLiteral("5")});
    // The module works on in the restored set.
    EXPECT_EQ(dm->GetID(QStringLiteral("mid")), 5);
}

// A file that is no backup of an account set (here a valid database of other tables) is refused
// with the engine's reason after the dialog's text; the logged-in set stays as it was and usable.
TEST_F(AccountSets, ARefusedRestoreSaysWhyAndKeepsTheSet)
{
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site1"))) << lastCreation.toStdString();
    ASSERT_TRUE(Login(QStringLiteral("site1"), QStringLiteral("admin"), QStringLiteral("tulip")));
    Exec(QStringLiteral("site1"), QStringLiteral("update IDlist set ID=5 where IDname='MID'"));
    {
        QTemporaryDir work;
        const std::unique_ptr<DbEngine> other = OpenDbEngine(QStringLiteral("\\sqlexpress"), 5, work.path());
        DbResult r;
        other->Execute(QStringLiteral("create database notes"), r);
        other->Execute(QStringLiteral("Use notes"), r);
        other->Execute(QStringLiteral("create table notes (fid int not null, txt varchar(20) null)"), r);
        other->Execute(QStringLiteral("insert into notes (fid, txt) values (1, 'x')"), r);
        other->Execute(QStringLiteral("Use Master"), r);
        other->Execute(QStringLiteral("BACKUP DATABASE notes TO DISK ='%1' with init").arg(Path(QStringLiteral("backdata/notes"))), r);
    }
    TfrmDBRestore f;
    f.show();
    DialogScript::ClearLog();
    f.Edit4->setText(QStringLiteral("notes"));
    f.Button1->Click();
    ASSERT_EQ(Texts().size(), 1);
    EXPECT_TRUE(Texts()[0].startsWith(QStringLiteral("帐套还原失败！\n\r"))) << Texts()[0].toStdString();
    EXPECT_TRUE(Texts()[0].contains(QStringLiteral("table notes is not in the account set"))) << Texts()[0].toStdString();
    EXPECT_EQ(f.ModalResult(), mrNone);
    EXPECT_EQ(Rows(QStringLiteral("site1"), QStringLiteral("select ID from IDlist where IDname='MID'")), QStringList{QStringLiteral("5")});
    EXPECT_EQ(dm->GetID(QStringLiteral("mid")), 5);
}

TEST_F(AccountSets, BackupAndRestoreFileNames)
{
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site1"))) << lastCreation.toStdString();
    ASSERT_TRUE(Login(QStringLiteral("site1"), QStringLiteral("admin"), QStringLiteral("tulip")));
    const QString bare = QStringLiteral("只能输入文件名，不能带文件夹：备份文件都在 backdata 文件夹里！");
    const std::pair<QString, QString> backups[] = {
        {QString(), QStringLiteral("把备份文件名输入了再说！")},
        {QStringLiteral("../outside"), bare},
        {QStringLiteral("sub/inside"), bare},
        {QStringLiteral("..\\outside"), bare},
        {QStringLiteral(".."), bare},
    };
    for (const auto& [file, text] : backups) {
        TfrmDBBackup f;
        f.show();
        DialogScript::ClearLog();
        f.Edit4->setText(file);
        f.Button1->Click();
        EXPECT_EQ(Texts(), QStringList{text}) << file.toStdString();
        EXPECT_EQ(f.ModalResult(), mrNone);
    }
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("outside"))));
    const std::pair<QString, QString> restores[] = {
        {QStringLiteral("nosuch"), QStringLiteral("还原文件不存在！,帐套还原没法进行！")},
        {QStringLiteral("../dpxdata/materialdb"), bare},
    };
    for (const auto& [file, text] : restores) {
        TfrmDBRestore f;
        f.show();
        DialogScript::ClearLog();
        f.Edit4->setText(file);
        f.Button1->Click();
        EXPECT_EQ(Texts(), QStringList{text}) << file.toStdString();
    }
    // Browsing puts the chosen file's name without folder into the edit.
    TfrmDBBackup f;
    f.show();
    DialogScript::AnswerText(Path(QStringLiteral("backdata/monday")));
    f.BrowseClick(f.BrowseButton);
    EXPECT_EQ(f.Edit4->text(), QStringLiteral("monday"));
    EXPECT_EQ(DialogScript::Log().last().Caption, QStringLiteral("选择备份文件"));
}

TEST_F(AccountSets, DeleteRefusesTheLoggedInSetAndClerksAndRemovesAnother)
{
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site1"))) << lastCreation.toStdString();
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site2"), QStringLiteral("二公司"))) << lastCreation.toStdString();
    Exec(QStringLiteral("site1"), QStringLiteral("insert into userpw (Uname,Password,isadmin,visibled) values ('clerk','1',0,1)"));
    ASSERT_TRUE(Login(QStringLiteral("site1"), QStringLiteral("clerk"), QStringLiteral("1")));
    DialogScript::ClearLog();
    deleteaccountset();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("你是帐套管理员吗?只有那位帅哥才有这个权限？")});
    ASSERT_TRUE(Login(QStringLiteral("site1"), QStringLiteral("admin"), QStringLiteral("tulip")));
    const QString question = QStringLiteral("你真的要删除帐套吗？");
    auto attempt = [&](const QString& typed) {
        DialogScript::ClearLog();
        DialogScript::Answer(mrYes);
        DialogScript::AnswerText(typed);
        deleteaccountset();
        QStringList t = Texts();
        t.removeAll(question);
        t.removeAll(QStringLiteral("输入要删除帐套数据库名："));
        return t;
    };
    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("site1"), {QStringLiteral("不能删除已经登陆的账套！")}},
        {QStringLiteral(" SITE1 "), {QStringLiteral("不能删除已经登陆的账套！")}},
        {QStringLiteral("master"), {QStringLiteral("没有登记名为“master”的帐套数据库，请输入帐套列表里的数据库名！")}},
        {QStringLiteral("site2; drop"), {QStringLiteral("没有登记名为“site2; drop”的帐套数据库，请输入帐套列表里的数据库名！")}},
        {QString(), {}},
    };
    for (const auto& [typed, texts] : cases)
        EXPECT_EQ(attempt(typed), texts) << typed.toStdString();
    // No at the question stops.
    DialogScript::ClearLog();
    DialogScript::Answer(mrNo);
    deleteaccountset();
    EXPECT_EQ(Texts(), QStringList{question});
    EXPECT_EQ(attempt(QStringLiteral("Site2")), QStringList{QStringLiteral("数据库***site2***总算把干掉了，呵呵！")});
    EXPECT_EQ(Rows(QStringLiteral("master"), QStringLiteral("select dbname from materialdblist")), QStringList{QStringLiteral("site1")});
    EXPECT_THROW(dm->ADOCon->Execute(QStringLiteral("Use site2")), std::exception);
    // The logged-in set works on.
    EXPECT_EQ(dm->getsystemvalue(QStringLiteral("monthid")), 11);
}

TEST_F(AccountSets, DeleteReportsAFailedDrop)
{
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("site1"))) << lastCreation.toStdString();
    ASSERT_TRUE(Login(QStringLiteral("site1"), QStringLiteral("admin"), QStringLiteral("tulip")));
    // Registered, but its database is gone.
    Exec(QStringLiteral("master"), QStringLiteral(" insert into Master..materialdblist(accname,dbname,remark) values('空','ghost','')"));
    DialogScript::ClearLog();
    DialogScript::Answer(mrYes);
    DialogScript::AnswerText(QStringLiteral("ghost"));
    deleteaccountset();
    EXPECT_EQ(Texts().last(), QStringLiteral("帐套数据库***ghost***没有删除成功！"));
    EXPECT_EQ(Rows(QStringLiteral("master"), QStringLiteral("select dbname from materialdblist order by fid")),
              (QStringList{QStringLiteral("site1"), QStringLiteral("ghost")}));
}
