// The main window: every leaf of the function tree dispatched before login, as an administrator
// and as a clerk; the compact side-bar mode; the toolbar's and menu's gates; the window after a
// login as an artefact.
#include "app_fixture.h"
#include "platform/gui/FontScale.h"
#include "platform/gui/StatusBar.h"
#include "platform/gui/TreeView.h"

#include <QScreen>

namespace {

// The outcome of a double-click on a leaf: the form class shown, or the text of the message.
QString outcome()
{
    const QList<TShownDialog>& log = DialogScript::Log();
    if (log.isEmpty())
        return QStringLiteral("(nothing)");
    const TShownDialog& d = log.last();
    return d.Kind == QLatin1String("ShowModal") ? QStringLiteral("form ") + d.Text : d.Text;
}

} // namespace

class MainWindow : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(CreateAccountSet(QStringLiteral("acct"))) << lastCreation.toStdString();
        // A clerk next to the template's administrator.
        Exec(QStringLiteral("acct"), QStringLiteral("insert into userpw (Uname,Password,isadmin,visibled) values ('clerk','123',0,1)"));
        DialogScript::ClearLog();
    }

    // Double-clicks every leaf and returns "code: outcome" per leaf.
    QStringList DispatchAll(TCMainform& main)
    {
        QStringList out;
        for (TTreeNode* n = main.TreeView1->Items()->GetFirstNode(); n; n = n->GetNext()) {
            if (n->StateIndex() < 0)
                continue;
            DialogScript::ClearLog();
            main.TreeView1->SetSelected(n);
            main.TreeView1DblClick(main.TreeView1);
            EXPECT_EQ(main.Label12->text(), n->Text());
            out << QStringLiteral("%1: %2").arg(n->StateIndex()).arg(outcome());
        }
        return out;
    }
};

TEST_F(MainWindow, EveryLeafBeforeLoginAsClerkAndAsAdministrator)
{
    TCMainform main;
    main.show();
    QApplication::processEvents();
    const QString wait = QStringLiteral("别急，登录后才能使用系统！");
    const QString boss = QStringLiteral("只有帐套管理员才能操作！");
    const QString hero = QStringLiteral("你是帐套管理员吗?只有他才有这个权限！");
    // The forms of the query, statistics and designer libraries are not linked into the shell's
    // tests: their leaves show nothing here (tests/whole opens them all).
    auto notBuilt = [](const char*, const char*) { return QStringLiteral("(nothing)"); };
    struct Row {
        int code;
        const char* op;
        const char* cls;
        QString clerk;   // what a clerk meets (empty: the same as the administrator)
        QString admin;
    };
    const Row rows[] = {
        {11, "入库操作", "Tfrmbasicimbill", {}, QStringLiteral("请在\"系统参数\"->\"其它参数设置\"中设置票据打印样式！")},
        {12, "出库操作", "Tfrmbasicexbill", {}, QStringLiteral("请在\"系统参数\"->\"其它参数设置\"中设置票据打印样式！")},
        {13, "期末扎帐", "Tfrmbalance", QStringLiteral("只是帐套管理员吗？"), QStringLiteral("form Tfrmbalance")},
        {21, "入库查寻", "Tfrmqueryimbill", {}, notBuilt("入库查寻", "Tfrmqueryimbill")},
        {22, "出库查寻", "Tfrmqueryexbill", {}, notBuilt("出库查寻", "Tfrmqueryexbill")},
        {23, "库存查寻", "TfrmQueryStorage", {}, notBuilt("库存查寻", "TfrmQueryStorage")},
        {31, "入库统计", "TfrmimbillReport", {}, notBuilt("入库统计", "TfrmimbillReport")},
        {32, "出库统计", "TfrmExbillReport", {}, notBuilt("出库统计", "TfrmExbillReport")},
        {33, "库存统计", "Tfrmmaterialreport", {}, notBuilt("库存统计", "Tfrmmaterialreport")},
        {34, "周转统计", "Tfrmcylreport", {}, notBuilt("周转统计", "Tfrmcylreport")},
        {35, "自选统计", "Tfrmconsumereport", boss, notBuilt("自选统计", "Tfrmconsumereport")},
        {41, "材料来源", "TfrmMaterialcf", {}, QStringLiteral("form TfrmMaterialcf")},
        {48, "供应厂商", "TfrmMaterialsup", {}, QStringLiteral("form TfrmMaterialsup")},
        {42, "领用单位", "Tfrmdptlist", {}, QStringLiteral("form Tfrmdptlist")},
        {43, "使用项目", "Tfrmpjtlist", {}, QStringLiteral("form Tfrmpjtlist")},
        {44, "业务人员", "Tfrmemployeelist", {}, QStringLiteral("form Tfrmemployeelist")},
        {45, "数据倒入", "Tfrmexceltosrglist", boss, QStringLiteral("form Tfrmexceltosrglist")},
        {47, "计划成本", "Tfrmplanlist", boss, QStringLiteral("form Tfrmplanlist")},
        {51, "连接设置", "TfrmDBlinkset", hero, QStringLiteral("form TfrmDBlinkset")},
        {52, "材料分类", "Tfrmbreedset", hero, QStringLiteral("form Tfrmbreedset")},
        {53, "票据设计", "TfrmPrintSet", hero, notBuilt("票据设计", "TfrmPrintSet")},
        {54, "系统参数", "Tfrmsystemset", boss, QStringLiteral("form Tfrmsystemset")},
        {55, "用户设置", "Tfrmuserset", boss, QStringLiteral("form Tfrmuserset")},
    };
    QStringList before, clerk, admin;
    for (const Row& r : rows) {
        before << QStringLiteral("%1: %2").arg(r.code).arg(wait);
        clerk << QStringLiteral("%1: %2").arg(r.code).arg(r.clerk.isEmpty() ? r.admin : r.clerk);
        admin << QStringLiteral("%1: %2").arg(r.code).arg(r.admin);
    }
    EXPECT_EQ(DispatchAll(main), before);
    ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("clerk"), QStringLiteral("123"), &main));
    EXPECT_EQ(DispatchAll(main), clerk);
    ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("admin"), QStringLiteral("tulip"), &main));
    EXPECT_EQ(DispatchAll(main), admin);

    // The root and the group nodes only name the operation.
    DialogScript::ClearLog();
    TTreeNode* root = main.TreeView1->Items()->GetFirstNode();
    main.TreeView1->SetSelected(root->Item(0));
    main.TreeView1DblClick(main.TreeView1);
    EXPECT_EQ(main.Label12->text(), QStringLiteral("日常票据"));
    EXPECT_TRUE(DialogScript::Log().isEmpty());
    // Selected images: 2 for the leaves, 3 above them.
    EXPECT_EQ(root->Item(0)->SelectedIndex(), 3);
    main.TreeView1->SetSelected(root->Item(0)->Item(0));
    EXPECT_EQ(root->Item(0)->Item(0)->SelectedIndex(), 2);
}

TEST_F(MainWindow, TheTreeShowsEveryLeafAndTheToolbarCaptions)
{
    TCMainform main;
    main.show();
    QApplication::processEvents();
    // The designed size for this font; on a smaller screen the window, frame and all, fits the work area.
    const QSize frame = main.frameGeometry().size() - main.size();
    EXPECT_EQ(main.size(), Scaled(QSize(1120, 720)).boundedTo(main.screen()->availableGeometry().size() - frame));
    int leaves = 0;
    for (TTreeNode* n = main.TreeView1->Items()->GetFirstNode(); n; n = n->GetNext()) {
        if (n->StateIndex() >= 0) {
            ++leaves;
            EXPECT_TRUE(n->Parent()->Expanded()) << n->Text().toStdString();
            EXPECT_EQ(n->Level(), 2);
        }
    }
    EXPECT_EQ(leaves, 23);
    EXPECT_EQ(main.toolbutton3->text(), QStringLiteral("   登陆     "));
    EXPECT_EQ(main.StatusBar1->PanelText(0), QStringLiteral("帐套名称"));
    EXPECT_EQ(main.StatusBar1->PanelText(4), QStringLiteral("Depotrix（网络终结版）    "));
}

TEST_F(MainWindow, CompactModeTogglesAndRestoresTheGeometryExactly)
{
    TCMainform main;
    apptest::showActive(&main);
    main.move(37, 41);
    main.resize(1000, 650);
    QApplication::processEvents();
    const QPoint pos = main.pos();
    const QSize size = main.size();
    main.SpeedButton5Click(main.toolbutton4);
    QApplication::processEvents();
    const QRect work = main.screen()->availableGeometry();
    EXPECT_TRUE(main.CompactMode());
    EXPECT_FALSE(main.Panel3->isVisible());
    const int side = Scaled(258);   // the side bar's designed width, for this font
    EXPECT_EQ(main.width(), side);
    EXPECT_EQ(main.height(), work.y() + work.height());
    EXPECT_EQ(main.pos(), QPoint(work.x() + work.width() - side, work.y()));
    EXPECT_EQ(main.ToolImage(main.toolbutton4), 5);
    EXPECT_EQ(std::make_tuple(oldwidth, oldheight, oldtop, oldleft),
              std::make_tuple(size.width(), size.height(), pos.y(), pos.x()));
    // The side bar cannot be resized.
    main.resize(600, 300);
    QApplication::processEvents();
    EXPECT_EQ(main.size(), QSize(side, work.y() + work.height()));
    main.SpeedButton5Click(main.toolbutton4);
    QApplication::processEvents();
    EXPECT_FALSE(main.CompactMode());
    EXPECT_TRUE(main.Panel3->isVisible());
    EXPECT_EQ(main.pos(), pos);
    EXPECT_EQ(main.size(), size);
    EXPECT_EQ(main.ToolImage(main.toolbutton4), 2);
}

TEST_F(MainWindow, MenuGatesBeforeLogin)
{
    TCMainform main;
    main.show();
    main.N5Click(main.N5);
    EXPECT_EQ(main.Label12->text(), QStringLiteral("备份帐套"));
    main.N6Click(main.N6);
    main.N2Click(main.N2);
    // The connection settings, the creation dialog and the About box open for anybody.
    main.SpeedButton8Click(main.ToolButton6);
    main.N1Click(main.N1);
    main.N34Click(main.N34);
    QStringList shown;
    for (const TShownDialog& d : DialogScript::Log())
        shown << (d.Kind == QLatin1String("ShowModal") ? d.Text : d.Text);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("别急，先登录才能使用系统！"), QStringLiteral("别急，登录后才能使用系统！"),
                                  QStringLiteral("你是帐套管理员吗?只有那位帅哥才有这个权限？"), QStringLiteral("TfrmDBlinkset"),
                                  QStringLiteral("TfrmCreateDB"), QStringLiteral("Tfrmabout")}));
}

TEST_F(MainWindow, RestoreAskedTwiceAndGatedForAdministrators)
{
    TCMainform main;
    main.show();
    ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("clerk"), QStringLiteral("123"), &main));
    const QString warning = QStringLiteral("强烈提醒:真的要还原，请注意选择正确的还原数据库名!");
    DialogScript::ClearLog();
    DialogScript::Answer(mrNo);
    main.N6Click(main.N6);
    DialogScript::Answer(mrYes);
    main.N6Click(main.N6);
    ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("admin"), QStringLiteral("tulip"), &main));
    DialogScript::ClearLog();
    DialogScript::Answer(mrNo);
    main.N6Click(main.N6);
    DialogScript::Answer(mrYes);
    DialogScript::Answer(mrCancel);
    main.N6Click(main.N6);
    EXPECT_EQ(Texts(), (QStringList{warning, QStringLiteral("不要动不动就要个还原，还原操作失误容易丢失数据！"), warning,
                                    QStringLiteral("TfrmDBRestore")}));
}

TEST_F(MainWindow, AfterLoginScreenshot)
{
    TCMainform main;
    apptest::showActive(&main);
    DialogScript::AnswerForm([](TForm& f) {
        auto& login = static_cast<TfrmLogin&>(f);
        login.Edit1->setText(QStringLiteral("admin"));
        login.Edit2->setText(QStringLiteral("tulip"));
        login.Button1->Click();
        return mrNone;
    });
    QTest::mouseClick(main.toolbutton3, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(loggedin) << Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(main.Label8->text(), QStringLiteral("admin"));
    EXPECT_EQ(main.Label9->text(), QStringLiteral("华北建设"));
    EXPECT_EQ(main.StatusBar1->PanelText(1), QStringLiteral("华北建设"));
    EXPECT_EQ(main.StatusBar1->PanelText(3), QStringLiteral("acct"));
    TTreeNode* leaf = main.TreeView1->Items()->GetFirstNode()->Item(0)->Item(0);
    main.TreeView1->SetSelected(leaf);
    main.Label12->setText(leaf->Text());
    QTest::qWait(50);
    QApplication::processEvents();
    ASSERT_TRUE(main.grab().save(apptest::artifact(QStringLiteral("app_mainwindow_after_login.png"))));
}
