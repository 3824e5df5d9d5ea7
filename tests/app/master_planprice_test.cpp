// Planned prices on a real account set: only the materials of exactly the chosen category with
// the planned-price model are listed and offered, a multi-selection in the picker adds them,
// and saved materials leave the picker.
#include "app/PlannedPrice.h"
#include "master_support.h"

#include "platform/db/Field.h"

class MasterPlanPrice : public MasterTest {
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        for (const char* sql : {
                 "update breedlist set bparent=1 where FID=1",
                 "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (20,1,'000020',1,1,'计划类',2,0,0)",
                 "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (21,20,'000020021',2,0,'子类',2,0,0)",
                 "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (22,1,'000022',1,0,'批次类',0,0,0)",
                 "insert into mtrlist (FID,bID,code,mname,mtype,munit,remark) values (101,20,'000020','钢筋','Φ12','吨','甲')",
                 "insert into mtrlist (FID,bID,code,mname,mtype,munit,remark) values (102,20,'000020','水泥','P.O','袋','乙')",
                 "insert into mtrlist (FID,bID,code,mname,mtype,munit,remark) values (103,20,'000020','砂','中','方','')",
                 "insert into mtrlist (FID,bID,code,mname,mtype,munit,remark) values (104,21,'000020021','石','碎','方','')",
                 "insert into mtrlist (FID,bID,code,mname,mtype,munit,remark) values (105,22,'000022','木','松','方','')",
                 "insert into mpplist (mid,pprice) values (103,9.5)",
                 "insert into mpplist (mid,pprice) values (104,7)"})
            X(QString::fromUtf8(sql));
        form = std::make_unique<Tfrmplanlist>();
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        MasterTest::TearDown();
    }
    void Choose(const char* name) { ClickNode(form->TreeView1, NodeNamed(form->TreeView1, QString::fromUtf8(name))); }
    void Trigger(QAction* a) { QTest::mouseClick(form->ToolBar1->widgetForAction(a), Qt::LeftButton); }
    static QStringList Names(TClientDataSet& d, const char* price = nullptr)
    {
        QStringList out;
        if (!d.Active())
            return out;
        for (d.First(); !d.Eof(); d.Next())
            out << d.FieldByName(QStringLiteral("mname"))->AsString()
                       + (price ? QLatin1Char('|') + d.FieldByName(QString::fromLatin1(price))->AsString() : QString());
        return out;
    }
    // Answers the next picker: checks what it offers, selects the rows at the given positions
    // and closes it with the given button.
    void Pick(QStringList offered, QList<int> rows, bool ok)
    {
        DialogScript::AnswerForm([offered, rows, ok](TForm& f) {
            auto& p = dynamic_cast<Tfrmplanlist_m&>(f);
            EXPECT_EQ(p.Caption(), QStringLiteral("未定价材料清单"));
            EXPECT_EQ(Names(p.cdsmtrlist), offered);
            for (int r : rows) {
                p.cdsmtrlist.First();
                p.cdsmtrlist.MoveBy(r);
                p.DBGridGx1->SelectedRows()->SetCurrentRowSelected(true);
            }
            QTest::mouseClick(ok ? p.Button1 : p.Button2, Qt::LeftButton);
            return mrNone;
        });
    }

    std::unique_ptr<Tfrmplanlist> form;
};

TEST_F(MasterPlanPrice, PickerOffersUnpricedMaterialsOfTheCategoryAndSavingTakesThem)
{
    EXPECT_EQ(form->Caption(), QStringLiteral("定义材料计划成本价"));
    EXPECT_FALSE(form->acEdit->isVisible());
    QStringList titles;
    for (int i = 0; i < form->DBGridGx1->Columns()->Count(); ++i)
        titles << form->DBGridGx1->Columns()->Items(i)->Title()->Caption();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("材料名称"), QStringLiteral("规格型号"), QStringLiteral("单位"),
                                   QStringLiteral("计划成本价"), QStringLiteral("备注")}));

    // Exactly the category: the sub-category's price is not listed; a batch category lists
    // nothing and adds nothing.
    Choose("计划类");
    EXPECT_EQ(Names(form->CDSbaseinfo, "pprice"), QStringList{QStringLiteral("砂|9.5")});
    Choose("批次类");
    EXPECT_TRUE(Names(form->CDSbaseinfo).isEmpty());
    DialogScript::ClearLog();
    Trigger(form->acInsert);
    EXPECT_TRUE(DialogScript::Log().isEmpty());

    // "取消" adds nothing; two selected rows add two rows without a price.
    Choose("计划类");
    Pick({QStringLiteral("钢筋"), QStringLiteral("水泥")}, {0, 1}, false);
    Trigger(form->acInsert);
    EXPECT_EQ(Names(form->CDSbaseinfo).size(), 1);
    Pick({QStringLiteral("钢筋"), QStringLiteral("水泥")}, {0, 1}, true);
    Trigger(form->acInsert);
    EXPECT_EQ(Names(form->CDSbaseinfo, "pprice"),
              (QStringList{QStringLiteral("砂|9.5"), QStringLiteral("钢筋|"), QStringLiteral("水泥|")}));
    // A price typed for the first of them; the other stays without one.
    ASSERT_TRUE(form->CDSbaseinfo.Locate(QStringLiteral("mname"), Variant(QStringLiteral("钢筋"))));
    form->CDSbaseinfo.Edit();
    form->CDSbaseinfo.FieldByName(QStringLiteral("pprice"))->SetAsString(QStringLiteral("4200"));
    DialogScript::ClearLog();
    Trigger(form->acSave);
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("数据保存成功！")});
    EXPECT_EQ(Q(QStringLiteral("select mid, pprice*10 from mpplist order by mid")),
              (QStringList{QStringLiteral("101|42000"), QStringLiteral("102|NULL"), QStringLiteral("103|95"),
                           QStringLiteral("104|70")}));
    EXPECT_EQ(Names(form->CDSbaseinfo).size(), 3);

    // Saved materials are no longer offered; with nothing left to save "保存" is off.
    Pick({}, {}, false);
    Trigger(form->acInsert);
    EXPECT_FALSE(form->acSave->isEnabled());
    EXPECT_FALSE(form->acCancel->isEnabled());
    // "刷新" empties the list until a category is chosen again.
    Trigger(form->acrefrsh);
    EXPECT_TRUE(Names(form->CDSbaseinfo).isEmpty());

    Choose("批次类");
    Choose("计划类");
    EXPECT_EQ(Names(form->CDSbaseinfo).size(), 3);
    QApplication::processEvents();
    ASSERT_TRUE(form->grab().save(apptest::artifact(QStringLiteral("app_planned_prices.png"))));
}
