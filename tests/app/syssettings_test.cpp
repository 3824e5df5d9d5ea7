// The system settings on a real account set: what a save writes (systemset, the registry,
// printsetting.ini, the bill categories and the number pool with the slots of saved bills kept),
// the locks after a closed period, the stock-in layout of a stored 2, and failures that keep the
// dialog open and the context unchanged.
#include "app/SysSetForm.h"
#include "app_fixture.h"
#include "platform/gui/RadioGroup.h"
#include "platform/gui/TreeView.h"
#include "platform/rtl/IniFile.h"

class SystemSettings : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(CreateAccountSet(QStringLiteral("acct"), QStringLiteral("华北建设"), QStringLiteral("说明"))) << lastCreation.toStdString();
        ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("admin"), QStringLiteral("tulip")));
        DialogScript::ClearLog();
    }
    QStringList Systemset()
    {
        return Rows(QStringLiteral("acct"), QStringLiteral("select name, ivalue from systemset where name in "
                                                           "('systype','imbilltype','spricedots','dpricedots','monthid') order by name"));
    }
};

TEST_F(SystemSettings, ConfirmingWithoutChangesWritesOnlyTheTemplateNames)
{
    const QStringList before = Systemset();
    Tfrmsystemset f;
    apptest::showActive(&f);
    EXPECT_EQ(f.RadioGroup1->ItemIndex(), 0);   // the template's 2 is the finished-goods layout
    EXPECT_EQ(f.RadioGroup2->ItemIndex(), 1);
    EXPECT_TRUE(f.PageControl1->isTabVisible(2));
    EXPECT_FALSE(f.RadioGroup1->isEnabled());   // overseas
    EXPECT_TRUE(f.DateTimePicker1->isEnabled());
    EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("11"));
    EXPECT_EQ(f.cdsbilltype.RecordCount(), 0);
    EXPECT_EQ(f.TreeView1->Items()->Count(), Rows(QStringLiteral("acct"), QStringLiteral("select count(*) from breedlist")).value(0).toInt());
    QTest::qWait(50);
    ASSERT_TRUE(f.grab().save(apptest::artifact(QStringLiteral("app_system_settings.png"))));
    f.Button1->Click();
    EXPECT_TRUE(Texts().isEmpty()) << Texts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(f.ModalResult(), mrOk);
    EXPECT_EQ(Systemset(), before);
    EXPECT_EQ(imbilltype, 2);
    TIniFile ini(Path(QStringLiteral("log/printsetting.ini")));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("acct"), QStringLiteral("imbillprint")));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("acct"), QStringLiteral("exbillprint")));
}

TEST_F(SystemSettings, ASaveWritesEverySetting)
{
    Exec(QStringLiteral("acct"), QStringLiteral("insert into currencyset (cryname,tobalance,isbalance,visibled) values ('人民币',1,1,1)"));
    Tfrmsystemset f;
    apptest::showActive(&f);
    f.RadioGroup2->SetItemIndex(0);
    EXPECT_TRUE(f.RadioGroup1->isEnabled());
    EXPECT_FALSE(f.PageControl1->isTabVisible(2));
    f.RadioGroup1->SetItemIndex(1);
    f.SpinEdit1->setValue(3);
    f.SpinEdit2->setValue(4);
    f.ComboBox1->setCurrentIndex(0);
    f.Edit1->setText(QStringLiteral("华北建设集团"));
    f.Edit4->setText(QStringLiteral("新说明"));
    f.Edit2->setText(QStringLiteral("in.prt"));
    f.Edit3->setText(QStringLiteral("out.prt"));
    // Two categories from the tree, one of them removed again, one start number edited.
    f.TreeView1->SetSelected(f.TreeView1->Items()->GetFirstNode());
    f.TreeView1DblClick(f.TreeView1);
    f.TreeView1DblClick(f.TreeView1);
    f.TreeView1DblClick(f.TreeView1);
    DialogScript::Answer(mrYes);
    f.DBGridGx2DblClick(nullptr);
    // The first start number typed into the category grid (the grid hands the keys on to its
    // cell editor); Enter takes it and goes on to the next column.
    f.PageControl1->setCurrentWidget(f.TabSheet2);
    f.cdsbilltype.First();
    f.DBGridGx2->setFocus();
    f.DBGridGx2->SetSelectedIndex(1);
    QTest::keyClicks(f.DBGridGx2, QStringLiteral("100"));
    QApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(f.DBGridGx2->SelectedIndex(), 2);
    EXPECT_EQ(f.cdsbilltype.FieldByName(QStringLiteral("ibnum"))->AsInteger(), 100);
    QTest::qWait(50);
    ASSERT_TRUE(f.grab().save(apptest::artifact(QStringLiteral("app_system_settings_categories.png"))));
    // The currency grid's Boolean columns are check boxes; Space hides the currency.
    f.PageControl1->setTabVisible(2, true);
    f.PageControl1->setCurrentWidget(f.TabSheet3);
    EXPECT_TRUE(f.DBGridGx1->Columns()->GetColumn(2)->Checkboxes());
    EXPECT_TRUE(f.DBGridGx1->Columns()->GetColumn(3)->Checkboxes());
    f.DBGridGx1->setFocus();
    f.DBGridGx1->SetSelectedIndex(3);
    QTest::keyClick(f.DBGridGx1, Qt::Key_Space);
    QTest::qWait(50);
    ASSERT_TRUE(f.grab().save(apptest::artifact(QStringLiteral("app_system_settings_currencies.png"))));
    f.Button1->Click();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("要删除你双击的该项吗？")});
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select cryname, isbalance, visibled from currencyset")),
              QStringList{QStringLiteral("人民币|1|0")});
    EXPECT_EQ(f.ModalResult(), mrOk);
    EXPECT_EQ(Systemset(), (QStringList{QStringLiteral("dpricedots|4"), QStringLiteral("imbilltype|1"), QStringLiteral("monthid|1"),
                                        QStringLiteral("spricedots|3"), QStringLiteral("systype|0")}));
    EXPECT_EQ(std::make_tuple(int(systype), int(imbilltype), spricedots, dpricedots, monthid), std::make_tuple(0, 1, 3, 4, 1));
    EXPECT_EQ(Rows(QStringLiteral("master"), QStringLiteral("select accname, remark from materialdblist")),
              QStringList{QStringLiteral("华北建设集团|新说明")});
    EXPECT_EQ(std::make_tuple(accname, accremark), std::make_tuple(QStringLiteral("华北建设集团"), QStringLiteral("新说明")));
    const QString root = f.TreeView1->Items()->GetFirstNode()->Text();
    Q_UNUSED(root);
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select code, ibnum, ebnum from billtype order by Fid")),
              (QStringList{QStringLiteral("A1|100|1"), QStringLiteral("A2|1|1")}));
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select * from billtypelist")), QStringList());
    const QStringList columns = [&] {
        dm->ADOCon->Execute(QStringLiteral("Use acct"));
        DbResult r;
        dm->ADOCon->Engine().Execute(QStringLiteral("select * from billtypelist"), r);
        QStringList c;
        for (const auto& col : r.columns)
            c << col.name.toLower();
        return c;
    }();
    EXPECT_EQ(columns, (QStringList{QStringLiteral("fid"), QStringLiteral("ima1"), QStringLiteral("exa1"), QStringLiteral("ima2"),
                                    QStringLiteral("exa2")}));
    TIniFile ini(Path(QStringLiteral("log/printsetting.ini")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("acct"), QStringLiteral("imbillprint"), QString()), QStringLiteral("in.prt"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("acct"), QStringLiteral("exbillprint"), QString()), QStringLiteral("out.prt"));
    EXPECT_EQ(imbillprintfile, QStringLiteral("in.prt"));
}

TEST_F(SystemSettings, TheRebuiltPoolKeepsTheSlotsOfSavedBills)
{
    Exec(QStringLiteral("acct"), QStringLiteral("insert into billtype (TypeName,code,ibnum,ebnum) values ('甲','A1',100,1)"));
    ASSERT_TRUE(dm->deletebilltypelist());
    ASSERT_TRUE(dm->createnewbilltypelist({QStringLiteral("A1")}));
    ASSERT_TRUE(dm->Addnewcodeidline(QStringLiteral("imA1")));
    // Bills of the open period hold slots 1 and 3 of the stock-in column and 2 of the stock-out
    // column; a bill of a closed period holds slot 2 of the stock-in column.
    Exec(QStringLiteral("acct"), QStringLiteral("insert into ibmaster (fid,pid,bdate,billnum,bcodeid,bcode) values (1,0,'2024-11-05','甲 11-100',1,'imA1')"));
    Exec(QStringLiteral("acct"), QStringLiteral("insert into ibmaster (fid,pid,bdate,billnum,bcodeid,bcode) values (2,0,'2024-11-05','甲 11-102',3,'imA1')"));
    Exec(QStringLiteral("acct"), QStringLiteral("insert into ibmaster (fid,pid,bdate,billnum,bcodeid,bcode) values (3,7,'2024-10-05','甲 10-101',2,'imA1')"));
    Exec(QStringLiteral("acct"), QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,bcodeid,bcode) values (1,0,'2024-11-05',2,2,'甲 11-2',2,'exA1')"));
    Tfrmsystemset f;
    apptest::showActive(&f);
    f.cdsbilltype.First();
    f.cdsbilltype.Edit();
    f.cdsbilltype.FieldByName(QStringLiteral("ebnum"))->SetValue(5);
    f.Button1->Click();
    EXPECT_TRUE(Texts().isEmpty()) << Texts().join(QLatin1Char('\n')).toStdString();
    // The next new stock-in bill takes slot 2 (number 101), never 100 or 102 again; then the pool is full.
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("imA1")), 2);
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("imA1")), 0);
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("exA1")), 1);
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("exA1")), 3);
}

TEST_F(SystemSettings, AFailedSaveKeepsTheDialogOpenAndSkipsThePool)
{
    ASSERT_TRUE(dm->deletebilltypelist());
    ASSERT_TRUE(dm->createnewbilltypelist({}));
    Tfrmsystemset f;
    apptest::showActive(&f);
    f.SpinEdit1->setValue(4);
    f.ComboBox1->setCurrentIndex(4);
    f.Edit1->setText(QStringLiteral("新名"));
    f.TreeView1->SetSelected(f.TreeView1->Items()->GetFirstNode());
    f.TreeView1DblClick(f.TreeView1);
    // The tables these steps write are gone.
    Exec(QStringLiteral("acct"), QStringLiteral("drop table systemset"));
    Exec(QStringLiteral("acct"), QStringLiteral("drop table billtype"));
    Exec(QStringLiteral("master"), QStringLiteral("drop table materialdblist"));
    f.Button1->Click();
    EXPECT_EQ(f.ModalResult(), mrNone);
    ASSERT_FALSE(Texts().isEmpty());
    EXPECT_TRUE(Texts().last().startsWith(QStringLiteral("数据保存失败！"))) << Texts().last().toStdString();
    EXPECT_EQ(std::make_tuple(spricedots, monthid, accname), std::make_tuple(2, 11, QStringLiteral("华北建设")));
    // The pool was not rebuilt.
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select count(*) from billtypelist")), QStringList{QStringLiteral("0")});
}

TEST_F(SystemSettings, StartDateAndRadiosLockedAfterAClosedPeriod)
{
    Exec(QStringLiteral("acct"), QStringLiteral("insert into currentpid (periodid,crtdate) values (1,'2024-02-01')"));
    Tfrmsystemset f;
    apptest::showActive(&f);
    EXPECT_FALSE(f.DateTimePicker1->isEnabled());
    EXPECT_FALSE(f.RadioGroup1->isEnabled());
    EXPECT_FALSE(f.RadioGroup2->isEnabled());
    EXPECT_EQ(f.DateTimePicker1->date(), QDate(2024, 2, 1));
    f.Button1->Click();
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select crtdate from currentpid")), QStringList{QStringLiteral("2024-02-01")});
}
