// Users and persons on a real account set: the toolbar's states, captions and hidden columns
// from TableField, the administrator row kept, passwords checked against their confirmation,
// and "放弃" restoring the loaded rows.
#include "app/BaseListEdit.h"
#include "master_support.h"

#include "platform/db/Field.h"

class MasterLists : public MasterTest {
protected:
    static void Trigger(Tfrmbaselist& f, QAction* a) { QTest::mouseClick(f.ToolBar1->widgetForAction(a), Qt::LeftButton); }
    static QStringList Column(TClientDataSet& d, const char* field)
    {
        QStringList out;
        for (d.First(); !d.Eof(); d.Next())
            out << d.FieldByName(QString::fromLatin1(field))->AsString();
        return out;
    }
};

TEST_F(MasterLists, ToolbarStates)
{
    Tfrmemployeelist f;
    f.show();
    QApplication::processEvents();
    // 新增 修改 放弃 删除 保存 刷新 退出, recorded; the refresh button of state 3 is left as it was.
    const struct {
        int state;
        const char* enabled;
        int recorded;
    } rows[] = {{1, "1110101", 1}, {2, "1111101", 2}, {5, "1111111", 5}, {3, "1101011", 3},
                {6, "1101011", 6}, {4, "1101011", 4}, {9, "1100001", 6}};
    for (const auto& r : rows) {
        f.setbtnstate(r.state);
        QString got;
        for (QAction* a : {f.acInsert, f.acEdit, f.acCancel, f.acDelete, f.acSave, f.acrefrsh, f.acExit})
            got += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        EXPECT_EQ(got, QString::fromLatin1(r.enabled)) << r.state;
        EXPECT_EQ(f.prestate(), r.recorded) << r.state;
    }
}

TEST_F(MasterLists, PersonsCancelRestoresTheLoadedRows)
{
    X(QStringLiteral("insert into emylist (emyname,tel,remark,visibled) values ('张三','1','',1)"));
    Tfrmemployeelist f;
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(f.Caption(), QStringLiteral("往来人员列表"));
    EXPECT_EQ(f.CDSbaseinfo.FieldByName(QStringLiteral("emyname"))->DisplayLabel(), QStringLiteral("姓名"));
    EXPECT_FALSE(f.CDSbaseinfo.FieldByName(QStringLiteral("fid"))->Visible());
    // Two persons in one dialog session, then one row deleted.
    DialogScript::AnswerForm([](TForm& form) {
        auto& d = dynamic_cast<Tfrmemployeelist_m&>(form);
        EXPECT_EQ(d.Caption(), QStringLiteral("往来人员编辑"));
        for (const char* name : {"李四", "王五"}) {
            d.DBEdit1->setFocus();
            d.DBEdit1->insert(QString::fromUtf8(name));
            QTest::mouseClick(d.Button2, Qt::LeftButton);
        }
        QTest::mouseClick(d.Button3, Qt::LeftButton);
        return mrNone;
    });
    Trigger(f, f.acInsert);
    EXPECT_EQ(Column(f.CDSbaseinfo, "emyname"), (QStringList{QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")}));
    EXPECT_EQ(Column(f.CDSbaseinfo, "visibled"), (QStringList{QStringLiteral("True"), QStringLiteral("True"), QStringLiteral("True")}));
    EXPECT_EQ(f.btnstate(), 1);
    // Deleting is off after new rows (state 1); the handler itself deletes.
    EXPECT_FALSE(f.acDelete->isEnabled());
    f.CDSbaseinfo.First();
    DialogScript::Answer(mrOk);
    f.acDeleteExecute(nullptr);
    EXPECT_EQ(f.CDSbaseinfo.RecordCount(), 2);
    Trigger(f, f.acCancel);
    EXPECT_EQ(Column(f.CDSbaseinfo, "emyname"), QStringList{QStringLiteral("张三")});
    EXPECT_EQ(f.btnstate(), 4);
    // The same additions saved.
    DialogScript::AnswerForm([](TForm& form) {
        auto& d = dynamic_cast<Tfrmemployeelist_m&>(form);
        d.DBEdit1->setFocus();
        d.DBEdit1->insert(QStringLiteral("李四"));
        QTest::mouseClick(d.Button2, Qt::LeftButton);
        QTest::mouseClick(d.Button3, Qt::LeftButton);
        return mrNone;
    });
    Trigger(f, f.acInsert);
    DialogScript::ClearLog();
    Trigger(f, f.acSave);
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("数据保存成功！")});
    EXPECT_EQ(Q(QStringLiteral("select emyname, visibled from emylist order by fid")),
              (QStringList{QStringLiteral("张三|1"), QStringLiteral("李四|1")}));
}

TEST_F(MasterLists, UsersKeepTheAdministratorAndCheckThePassword)
{
    Tfrmuserset f;
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(f.Caption(), QStringLiteral("用户设置"));
    EXPECT_FALSE(f.acCancel->isVisible());
    EXPECT_EQ(f.acrefrsh->text(), QStringLiteral("权限"));
    EXPECT_FALSE(f.acrefrsh->isEnabled());
    EXPECT_EQ(f.CDSbaseinfo.FieldByName(QStringLiteral("uname"))->DisplayLabel(), QStringLiteral("用户名"));
    for (const char* hidden : {"fid", "isadmin", "visibled"})
        EXPECT_FALSE(f.CDSbaseinfo.FieldByName(QString::fromLatin1(hidden))->Visible()) << hidden;

    // The administrator stays.
    ASSERT_TRUE(f.CDSbaseinfo.Locate(QStringLiteral("uname"), Variant(QStringLiteral("admin"))));
    DialogScript::ClearLog();
    Trigger(f, f.acDelete);
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("管理员用户不能删除！")});
    EXPECT_EQ(f.CDSbaseinfo.ChangeCount(), 0);

    // A confirmation that differs keeps the dialog and posts nothing.
    DialogScript::AnswerForm([](TForm& form) {
        auto& d = dynamic_cast<Tfrmuserset_m&>(form);
        EXPECT_EQ(d.Caption(), QStringLiteral("新增或编辑用户"));
        apptest::showActive(&d);
        d.DBEdit1->setFocus();
        d.DBEdit1->insert(QStringLiteral("stock"));
        d.DBEdit2->setFocus();
        d.DBEdit2->insert(QStringLiteral("a1"));
        QTest::keyClick(d.DBEdit2, Qt::Key_Return);
        EXPECT_EQ(d.focusWidget(), d.Edit1) << d.focusWidget()->objectName().toStdString();
        d.Edit1->insert(QStringLiteral("b2"));
        QTest::mouseClick(d.Button2, Qt::LeftButton);
        EXPECT_EQ(d.DataSet()->State(), dsInsert);
        EXPECT_EQ(d.DataSet()->ChangeCount(), 0);
        d.Edit1->setText(QStringLiteral("a1"));
        QTest::mouseClick(d.Button2, Qt::LeftButton);
        EXPECT_TRUE(d.Edit1->text().isEmpty());
        EXPECT_EQ(d.DataSet()->ChangeCount(), 1);
        QTest::mouseClick(d.Button3, Qt::LeftButton);
        return mrNone;
    });
    DialogScript::ClearLog();
    Trigger(f, f.acInsert);
    EXPECT_EQ(Texts().value(1), QStringLiteral("密码与确认码不一致！"));
    Trigger(f, f.acSave);
    EXPECT_EQ(Q(QStringLiteral("select Uname, Password, visibled from userpw order by fid")),
              (QStringList{QStringLiteral("admin|tulip|1"), QStringLiteral("stock|a1|1")}));
}
