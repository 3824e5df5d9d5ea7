// The login dialog on real account sets: the context it fills, the failures that keep the
// previous account set and its connection, the texts compared as the server compares them.
#include "app_fixture.h"
#include "grid/control/DBGridGxColumns.h"
#include "platform/gui/StatusBar.h"
#include "platform/rtl/IniFile.h"

class LoginDialog : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(CreateAccountSet(QStringLiteral("seta"), QStringLiteral("甲公司"))) << lastCreation.toStdString();
        ASSERT_TRUE(CreateAccountSet(QStringLiteral("setb"), QStringLiteral("乙公司"), QStringLiteral("乙"))) << lastCreation.toStdString();
        Exec(QStringLiteral("setb"), QStringLiteral("insert into userpw (Uname,Password,isadmin,visibled) values ('王工','it''s',0,1)"));
        Exec(QStringLiteral("setb"), QStringLiteral("insert into userpw (Uname,Password,isadmin,visibled) values ('twin','pw',0,1)"));
        Exec(QStringLiteral("setb"), QStringLiteral("insert into userpw (Uname,Password,isadmin,visibled) values ('twin','pw',1,1)"));
        DialogScript::ClearLog();
    }
};

TEST_F(LoginDialog, TheContextOfASuccessfulLogin)
{
    TCMainform main;
    TIniFile(Path(QStringLiteral("log/printsetting.ini"))).WriteString(QStringLiteral("seta"), QStringLiteral("imbillprint"), QStringLiteral("in.prt"));
    ASSERT_TRUE(Login(QStringLiteral("seta"), QStringLiteral("admin"), QStringLiteral("tulip"), &main));
    EXPECT_TRUE(Texts().isEmpty()) << Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(std::make_tuple(accsetid, accname, dbname, accremark),
              std::make_tuple(1, QStringLiteral("甲公司"), QStringLiteral("seta"), QString()));
    EXPECT_EQ(std::make_tuple(username, userid, userisadmin), std::make_tuple(QStringLiteral("admin"), 1, true));
    EXPECT_EQ(std::make_tuple(int(imbilltype), int(systype), monthid, spricedots, dpricedots, defaultcryid, curpid),
              std::make_tuple(2, 1, 11, 2, 2, 1, 0));
    EXPECT_EQ(std::make_tuple(imbillprintfile, exbillprintfile), std::make_tuple(QStringLiteral("in.prt"), QString()));
    EXPECT_EQ(main.StatusBar1->PanelText(1), QStringLiteral("甲公司"));
    EXPECT_EQ(main.StatusBar1->PanelText(3), QStringLiteral("seta"));
    EXPECT_EQ(dm->ADOCon->CurrentDatabase().toLower(), QStringLiteral("seta"));
}

TEST_F(LoginDialog, Cases)
{
    struct Case {
        const char* name;
        QString db, user, password;
        bool ok;
        int userid;
        bool admin;
    };
    const Case cases[] = {
        {"correct", QStringLiteral("setb"), QStringLiteral("admin"), QStringLiteral("tulip"), true, 1, true},
        {"blanks around the name", QStringLiteral("setb"), QStringLiteral("  admin "), QStringLiteral("tulip"), true, 1, true},
        {"a quote in the password", QStringLiteral("setb"), QStringLiteral("王工"), QStringLiteral("it's"), true, 2, false},
        {"the quote doubled is another password", QStringLiteral("setb"), QStringLiteral("王工"), QStringLiteral("it''s"), false, 0, false},
        {"an injected condition", QStringLiteral("setb"), QStringLiteral("admin"), QStringLiteral("' or '1'='1"), false, 0, false},
        {"two users of one name: the lower key", QStringLiteral("setb"), QStringLiteral("twin"), QStringLiteral("pw"), true, 3, false},
        {"wrong password", QStringLiteral("setb"), QStringLiteral("admin"), QStringLiteral("tulips"), false, 0, false},
    };
    for (const Case& c : cases) {
        TCMainform main;
        ASSERT_TRUE(Login(QStringLiteral("seta"), QStringLiteral("admin"), QStringLiteral("tulip"), &main)) << c.name;
        DialogScript::ClearLog();
        const bool ok = Login(c.db, c.user, c.password, &main);
        EXPECT_EQ(ok, c.ok) << c.name;
        EXPECT_TRUE(loggedin) << c.name;
        if (c.ok) {
            EXPECT_EQ(username, c.user) << c.name;   // as typed, blanks and all
            EXPECT_EQ(userid, c.userid) << c.name;
            EXPECT_EQ(userisadmin, c.admin) << c.name;
            EXPECT_EQ(main.StatusBar1->PanelText(3), c.db) << c.name;
            continue;
        }
        // The previous account set stays in force: values, status bar and connection.
        EXPECT_EQ(Texts(), QStringList{QStringLiteral("用户不存在")}) << c.name;
        EXPECT_EQ(std::make_tuple(accsetid, accname, dbname), std::make_tuple(1, QStringLiteral("甲公司"), QStringLiteral("seta")))
            << c.name;
        EXPECT_EQ(username, QStringLiteral("admin")) << c.name;
        EXPECT_EQ(main.StatusBar1->PanelText(3), QStringLiteral("seta")) << c.name;
        EXPECT_EQ(dm->ADOCon->CurrentDatabase().toLower(), QStringLiteral("seta")) << c.name;
    }
}

TEST_F(LoginDialog, EmptyNameOrPasswordKeepsTheDialogOpen)
{
    TfrmLogin f;
    f.show();
    QApplication::processEvents();
    EXPECT_TRUE(f.Edit1->text().isEmpty());   // no Login.ini
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("log/Login.ini"))));
    DialogScript::ClearLog();
    f.Button1->Click();
    EXPECT_EQ(f.ModalResult(), mrNone);
    f.Edit1->setText(QStringLiteral("admin"));
    f.Button1->Click();
    EXPECT_EQ(f.ModalResult(), mrNone);
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("没有输入登录名称！"), QStringLiteral("没有输入密码！")}));
    EXPECT_FALSE(loggedin);
}

TEST_F(LoginDialog, TheNameFromLoginIniAndTheListOfSets)
{
    TIniFile(Path(QStringLiteral("log/Login.ini"))).WriteString(QStringLiteral("Login"), QStringLiteral("Usercode"), QStringLiteral("王工"));
    TfrmLogin f;
    apptest::showActive(&f);
    EXPECT_EQ(f.Edit1->text(), QStringLiteral("王工"));
    EXPECT_TRUE(accsetsloaded);
    EXPECT_EQ(f.cdsbillselect.RecordCount(), 2);
    EXPECT_EQ(f.Caption(), QStringLiteral("用户登录"));
    // The list is a read-only grid of whole rows with the three columns.
    TDBGridGx* grid = f.DBGridGx1;
    ASSERT_EQ(grid->Columns()->Count(), 3);
    QStringList titles;
    for (int i = 0; i < 3; ++i)
        titles << grid->Columns()->GetColumn(i)->Title()->Caption();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("公司名称"), QStringLiteral("数据库名"), QStringLiteral("帐套说明")}));
    EXPECT_TRUE(grid->ReadOnly());
    EXPECT_TRUE(grid->Options().Contains(dgRowSelect));
    f.Edit2->setText(QStringLiteral("secret"));
    QTest::qWait(50);
    ASSERT_TRUE(f.grab().save(apptest::artifact(QStringLiteral("app_login_dialog.png"))));
    // Down in the grid picks the second set; Enter goes on to "确定", which logs into it.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(f.cdsbillselect.FieldByName(QStringLiteral("dbname"))->AsString(), QStringLiteral("setb"));
    QTest::keyClick(grid, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), f.Button1);
    EXPECT_EQ(f.cdsbillselect.FieldByName(QStringLiteral("dbname"))->AsString(), QStringLiteral("setb"));
    f.Edit1->setText(QStringLiteral("admin"));
    f.Edit2->setText(QStringLiteral("tulip"));
    QTest::keyClick(f.Button1, Qt::Key_Space);
    EXPECT_TRUE(loggedin);
    EXPECT_EQ(std::make_tuple(dbname, accname), std::make_tuple(QStringLiteral("setb"), QStringLiteral("乙公司")));
}

TEST_F(LoginDialog, WithoutRegistry)
{
    Exec(QStringLiteral("master"), QStringLiteral("drop table materialdblist"));
    TfrmLogin f;
    f.show();
    f.Edit1->setText(QStringLiteral("admin"));
    f.Edit2->setText(QStringLiteral("tulip"));
    f.Button1->Click();
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("数据套帐不存在!"), QStringLiteral("数据库帐套不存在! ")}));
    EXPECT_FALSE(accsetsloaded);
    EXPECT_FALSE(loggedin);
}

TEST_F(LoginDialog, ASetWhoseDatabaseIsGoneKeepsThePreviousSet)
{
    ASSERT_TRUE(Login(QStringLiteral("seta"), QStringLiteral("admin"), QStringLiteral("tulip")));
    Exec(QStringLiteral("master"), QStringLiteral(" insert into Master..materialdblist(accname,dbname,remark) values('空','ghost','')"));
    DialogScript::ClearLog();
    EXPECT_FALSE(Login(QStringLiteral("ghost"), QStringLiteral("admin"), QStringLiteral("tulip")));
    EXPECT_EQ(dbname, QStringLiteral("seta"));
    EXPECT_EQ(accname, QStringLiteral("甲公司"));
    EXPECT_EQ(dm->getsystemvalue(QStringLiteral("monthid")), 11);
}
