// The tree-table editors and the category editor on a real account set: codes from the key
// counters, the item dialogs, deleting whole subtrees, saving everything in one transaction.
#include "platform/gui/FontScale.h"
#include "app/CategoryTree.h"
#include "app/CategoryTreeEdit.h"
#include "app/TreeEdit.h"
#include "master_support.h"

#include "platform/gui/CheckBox.h"

#include <functional>

class MasterTrees : public MasterTest {
protected:
    // Answers the next item dialog of the generic editor: adds the names one after another
    // (the dialog stays open), then leaves it with "返回".
    static void AddItems(QStringList names)
    {
        DialogScript::AnswerForm([names](TForm& f) {
            auto& d = dynamic_cast<Tfrmbreedtree_m&>(f);
            for (const QString& n : names) {
                d.Edit1->insert(n);
                QTest::mouseClick(d.Button1, Qt::LeftButton);
                EXPECT_TRUE(d.Edit1->text().isEmpty());
                EXPECT_TRUE(d.CheckBox1->Checked());
            }
            QTest::mouseClick(d.Button2, Qt::LeftButton);
            return mrCancel;
        });
    }
    // Answers the next category dialog: adds one category per entry.
    struct Category {
        QString name;
        QString rate;
        int pricemodal;
        int breedtype;
    };
    static void AddCategories(QList<Category> cats)
    {
        DialogScript::AnswerForm([cats](TForm& f) {
            auto& d = dynamic_cast<Tfrmbreedset_M&>(f);
            for (const Category& c : cats) {
                d.Edit1->insert(c.name);
                d.Edit2->insert(c.rate);
                d.RadioGroup1->SetItemIndex(c.pricemodal);
                d.RadioGroup2->SetItemIndex(c.breedtype);
                QTest::mouseClick(d.Button1, Qt::LeftButton);
                // Reset for the next category.
                EXPECT_TRUE(d.Edit1->text().isEmpty());
                EXPECT_EQ(d.RadioGroup1->ItemIndex(), 0);
                EXPECT_EQ(d.RadioGroup2->ItemIndex(), 0);
            }
            QTest::mouseClick(d.Button2, Qt::LeftButton);
            return mrCancel;
        });
    }
};

TEST_F(MasterTrees, TheFourEditorsShareOneBehaviour)
{
    struct Row {
        std::function<Tfrmbreedtree*()> make;
        const char* caption;
        const char* group;
        const char* table;
        const char* counter;
        const char* rootname;
    };
    const Row rows[] = {
        {[] { return new Tfrmpjtlist; }, "使用项目定义", "使用项目", "pjtlist", "PLID", "项目"},
        {[] { return new Tfrmdptlist; }, "领用单位定义", "领用单位", "dptlist", "DLID", "单位或部门"},
        {[] { return new TfrmMaterialsup; }, "供应商定义", "供应商", "suplist", "supid", "供应厂商"},
        {[] { return new TfrmMaterialcf; }, "材料来源定义", "材料来源", "cflist", "cfid", "来源"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.table);
        const QString table = QString::fromLatin1(r.table);
        // The next key is 11 whatever the counter stood at.
        X(QStringLiteral("update IDlist set ID=10 where IDname='%1'").arg(QString::fromLatin1(r.counter)));
        std::unique_ptr<Tfrmbreedtree> f(r.make());
        f->show();
        QApplication::processEvents();
        EXPECT_EQ(f->Caption(), QString::fromUtf8(r.caption));
        EXPECT_EQ(f->GroupBox1->title(), QString::fromUtf8(r.group));
        EXPECT_EQ(f->size(), Scaled(QSize(680, 490)));   // the designed size, for this font
        EXPECT_EQ(f->Button1->text(), QStringLiteral("保存"));
        ASSERT_NE(f->TreeView1->Selected(), nullptr);
        EXPECT_EQ(f->TreeView1->Selected()->Text(), QString::fromUtf8(r.rootname));
        EXPECT_EQ(f->fid, 1);
        EXPECT_EQ(f->code, QStringLiteral("000"));

        // Two items under the root, one under the first of them.
        AddItems({QStringLiteral("甲"), QStringLiteral("乙")});
        QTest::mouseClick(f->add, Qt::LeftButton);
        ClickNode(f->TreeView1, NodeNamed(f->TreeView1, QStringLiteral("甲")));
        EXPECT_EQ(f->fid, 11);
        EXPECT_EQ(f->code, QStringLiteral("000011"));
        AddItems({QStringLiteral("甲一")});
        QTest::mouseClick(f->add, Qt::LeftButton);
        // Edit the second: a new name, not shown in bills.
        ClickNode(f->TreeView1, NodeNamed(f->TreeView1, QStringLiteral("乙")));
        DialogScript::AnswerForm([](TForm& form) {
            auto& d = dynamic_cast<Tfrmbreedtree_m&>(form);
            EXPECT_EQ(d.Edit1->text(), QStringLiteral("乙"));
            d.Edit1->clear();
            d.Edit1->insert(QStringLiteral("丙"));
            d.CheckBox1->SetChecked(false);
            QTest::mouseClick(d.Button1, Qt::LeftButton);
            return mrNone;
        });
        QTest::mouseClick(f->edit, Qt::LeftButton);
        EXPECT_NE(NodeNamed(f->TreeView1, QStringLiteral("丙")), nullptr);
        DialogScript::ClearLog();
        QTest::mouseClick(f->Button1, Qt::LeftButton);
        EXPECT_EQ(Texts(), QStringList{QStringLiteral("数据保存成功！")});
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(Q(QStringLiteral("select fid, pfid, code, tlevel, bparent, prtname, visibled from %1 where fid>10 order by fid").arg(table)),
                  (QStringList{QStringLiteral("11|1|000011|1|1|甲|1"), QStringLiteral("12|1|000012|1|0|丙|0"),
                               QStringLiteral("13|11|000011013|2|0|甲一|1")}));
        EXPECT_EQ(Q(QStringLiteral("select bparent from %1 where fid=1").arg(table)), QStringList{QStringLiteral("1")});

        // Deleting asks; "No" keeps the item, the root is never deleted.
        ClickNode(f->TreeView1, NodeNamed(f->TreeView1, QStringLiteral("甲")));
        DialogScript::Answer(mrNo);
        QTest::mouseClick(f->del, Qt::LeftButton);
        EXPECT_NE(NodeNamed(f->TreeView1, QStringLiteral("甲")), nullptr);
        DialogScript::Answer(mrYes);
        QTest::mouseClick(f->del, Qt::LeftButton);
        EXPECT_EQ(NodeNamed(f->TreeView1, QStringLiteral("甲")), nullptr);
        ClickNode(f->TreeView1, f->TreeView1->Items()->GetFirstNode());
        DialogScript::ClearLog();
        DialogScript::Answer(mrYes);
        QTest::mouseClick(f->del, Qt::LeftButton);
        EXPECT_EQ(Texts(), QStringList{QStringLiteral("慢点，真的要删除,就不怕影响报表的完整性?")});
        EXPECT_NE(f->TreeView1->Items()->GetFirstNode(), nullptr);
        QTest::mouseClick(f->Button1, Qt::LeftButton);
        EXPECT_EQ(Q(QStringLiteral("select fid from %1 where fid>10 order by fid").arg(table)),
                  QStringList{QStringLiteral("12")});

        // "刷新" shows the root only; its children come on double-click.
        QTest::mouseClick(f->Button5, Qt::LeftButton);
        EXPECT_EQ(f->TreeView1->Items()->Count(), 1);
        f->TreeView1->SetSelected(f->TreeView1->Items()->GetFirstNode());
        f->TreeView1DblClick(f->TreeView1);
        EXPECT_NE(NodeNamed(f->TreeView1, QStringLiteral("丙")), nullptr);

        // Closing without saving writes nothing.
        AddItems({QStringLiteral("丁")});
        QTest::mouseClick(f->add, Qt::LeftButton);
        sent.clear();
        QTest::mouseClick(f->Button2, Qt::LeftButton);
        f.reset();
        EXPECT_TRUE(Writes().isEmpty());
        EXPECT_EQ(Q(QStringLiteral("select count(*) from %1 where prtname='丁'").arg(table)), QStringList{QStringLiteral("0")});
    }
}

TEST_F(MasterTrees, EnterInTheItemNameMovesToOkAndAnEmptyNameAddsNothing)
{
    TfrmMaterialcf f;
    f.show();
    DialogScript::AnswerForm([](TForm& form) {
        auto& d = dynamic_cast<Tfrmbreedtree_m&>(form);
        EXPECT_EQ(d.Caption(), QStringLiteral("编辑项目清单"));
        d.Edit1->setFocus();
        QTest::mouseClick(d.Button1, Qt::LeftButton);   // empty: nothing
        d.Edit1->insert(QStringLiteral("外购"));
        QTest::keyClick(d.Edit1, Qt::Key_Return);
        EXPECT_EQ(d.focusWidget(), d.Button1);
        QTest::keyClick(d.Button1, Qt::Key_Space);
        QTest::mouseClick(d.Button2, Qt::LeftButton);
        return mrCancel;
    });
    const int before = f.model()->count();
    QTest::mouseClick(f.add, Qt::LeftButton);
    EXPECT_EQ(f.model()->count(), before + 1);
    EXPECT_NE(NodeNamed(f.TreeView1, QStringLiteral("外购")), nullptr);
}

TEST_F(MasterTrees, CategoryEditorWritesPriceModelKindAndRate)
{
    X(QStringLiteral("update IDlist set ID=6 where IDname='BID'"));
    Tfrmbreedset f;
    f.show();
    QApplication::processEvents();
    EXPECT_EQ(f.Caption(), QStringLiteral("材料分类定义"));
    EXPECT_EQ(f.GroupBox1->title(), QStringLiteral("材料品种分类"));
    EXPECT_EQ(f.fid, 1);
    EXPECT_EQ(f.code, QStringLiteral("000"));
    AddCategories({{QStringLiteral("钢材"), QStringLiteral("3"), 1, 0}, {QStringLiteral("模板"), QString(), 2, 1}});
    QTest::mouseClick(f.add, Qt::LeftButton);
    TTreeNode* root = f.TreeView1->Items()->GetFirstNode();
    EXPECT_EQ(root->ImageIndex(), 1);
    ClickNode(f.TreeView1, NodeNamed(f.TreeView1, QStringLiteral("钢材")));
    EXPECT_EQ(f.TreeView1->Selected()->SelectedIndex(), 2);
    EXPECT_EQ(f.code, QStringLiteral("000007"));
    AddCategories({{QStringLiteral("螺纹钢"), QStringLiteral("5"), 0, 0}});
    QTest::mouseClick(f.add, Qt::LeftButton);
    // The leaf became a branch.
    TTreeNode* steel = NodeNamed(f.TreeView1, QStringLiteral("钢材"));
    EXPECT_EQ(steel->ImageIndex(), 1);
    EXPECT_EQ(steel->SelectedIndex(), 3);
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    EXPECT_EQ(Texts().last(), QStringLiteral("数据保存成功！"));
    EXPECT_EQ(Q(QStringLiteral("select fid, pfid, code, tlevel, bparent, prtname, pricemodal, breedtype, adminrate from breedlist order by fid")),
              (QStringList{QStringLiteral("1|0|000|0|1|材料分类|0|0|0"), QStringLiteral("7|1|000007|1|1|钢材|1|0|3"),
                           QStringLiteral("8|1|000008|1|0|模板|2|1|0"), QStringLiteral("9|7|000007009|2|0|螺纹钢|0|0|5")}));

    // Editing shows the stored values; an empty rate keeps the rate.
    ClickNode(f.TreeView1, NodeNamed(f.TreeView1, QStringLiteral("模板")));
    DialogScript::AnswerForm([](TForm& form) {
        auto& d = dynamic_cast<Tfrmbreedset_M&>(form);
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("模板"));
        EXPECT_EQ(d.Edit2->text(), QStringLiteral("0"));
        EXPECT_EQ(d.RadioGroup1->ItemIndex(), 2);
        EXPECT_EQ(d.RadioGroup2->ItemIndex(), 1);
        d.Edit1->insert(QStringLiteral("架"));
        d.Edit2->clear();
        d.RadioGroup1->SetItemIndex(1);
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        return mrNone;
    });
    QTest::mouseClick(f.edit, Qt::LeftButton);
    EXPECT_EQ(f.TreeView1->Selected()->Text(), QStringLiteral("模板架"));
    // A rate that is no whole number stops with the conversion error and adds nothing.
    DialogScript::AnswerForm([](TForm& form) {
        auto& d = dynamic_cast<Tfrmbreedset_M&>(form);
        d.Edit1->insert(QStringLiteral("木材"));
        d.Edit2->insert(QStringLiteral("2.5"));
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("木材"));
        QTest::mouseClick(d.Button2, Qt::LeftButton);
        return mrCancel;
    });
    DialogScript::ClearLog();
    QTest::mouseClick(f.add, Qt::LeftButton);
    EXPECT_EQ(NodeNamed(f.TreeView1, QStringLiteral("木材")), nullptr);
    ASSERT_GE(DialogScript::Log().size(), 2);
    EXPECT_EQ(DialogScript::Log()[1].Kind, QStringLiteral("Error"));
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    EXPECT_EQ(Q(QStringLiteral("select prtname, pricemodal, breedtype, adminrate from breedlist where fid=8")),
              QStringList{QStringLiteral("模板架|1|1|0")});

    // The editor with a branch, a leaf below it and a second leaf.
    f.TreeView1->FullExpand();
    f.resize(680, 490);
    QApplication::processEvents();
    ASSERT_TRUE(f.grab().save(apptest::artifact(QStringLiteral("app_category_editor.png"))));

    // Deleting the branch takes its subtree.
    ClickNode(f.TreeView1, NodeNamed(f.TreeView1, QStringLiteral("钢材")));
    DialogScript::Answer(mrYes);
    QTest::mouseClick(f.del, Qt::LeftButton);
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    EXPECT_EQ(Q(QStringLiteral("select fid from breedlist order by fid")), (QStringList{QStringLiteral("1"), QStringLiteral("8")}));

}

// Keys past three digits: "000100" is a prefix of "0001000", yet deleting category 100 keeps
// its sibling 1000; an item added with nothing selected never takes the root's code.
TEST_F(MasterTrees, DeletingKeepsToTheSubtreeAndNoItemSharesTheRootCode)
{
    X(QStringLiteral("insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (100,1,'000100',1,1,'一百',0,0,0)"));
    X(QStringLiteral("insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (101,100,'000100101',2,0,'一百零一',0,0,0)"));
    X(QStringLiteral("insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (1000,1,'0001000',1,0,'一千',0,0,0)"));
    X(QStringLiteral("update breedlist set bparent=1 where FID=1"));
    X(QStringLiteral("update IDlist set ID=1000 where IDname='BID'"));
    Tfrmbreedset f;
    f.show();
    QApplication::processEvents();
    ClickNode(f.TreeView1, NodeNamed(f.TreeView1, QStringLiteral("一百")));
    DialogScript::Answer(mrYes);
    QTest::mouseClick(f.del, Qt::LeftButton);
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    EXPECT_EQ(Q(QStringLiteral("select FID from breedlist order by FID")), (QStringList{QStringLiteral("1"), QStringLiteral("1000")}));

    // Nothing selected: the new item is a top-level one with a code of its own.
    f.TreeView1->SetSelected(nullptr);
    AddCategories({{QStringLiteral("另类"), QString(), 0, 0}});
    QTest::mouseClick(f.add, Qt::LeftButton);
    const TbreedNode* other = TbreedNodes::breedof(NodeNamed(f.TreeView1, QStringLiteral("另类")));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->code, QStringLiteral("1001"));
    EXPECT_EQ(other->Pfid, 0);
    // Deleting it before a save sends nothing and keeps the table.
    f.TreeView1->SetSelected(other->ftreenode);
    DialogScript::Answer(mrYes);
    QTest::mouseClick(f.del, Qt::LeftButton);
    sent.clear();
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    EXPECT_TRUE(Writes().isEmpty()) << Writes().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(Q(QStringLiteral("select count(*) from breedlist")), QStringList{QStringLiteral("2")});
}

// The category model by itself: codes and levels, no statement without changes, a failing
// statement leaves the table and the records as they were.
TEST_F(MasterTrees, CategoryModelSavesAllOrNothing)
{
    TTreeView tree;
    TbreedNodes model(&tree, QStringLiteral("breedlist"));
    X(QStringLiteral("insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (2,0,'000',0,0,'第二根',0,0,0)"));
    TTreeNode* root = model.showboot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Shape(&tree), QStringList{QStringLiteral("材料分类")});   // only the lowest key at top level
    EXPECT_EQ(model.bootid(), 1);
    tree.SetSelected(root);

    sent.clear();
    EXPECT_TRUE(model.saversnode());
    EXPECT_TRUE(Writes().isEmpty());

    auto add = [&](TTreeNode* parent, int id, const QString& name) {
        auto* c = new TbreedNode(QStringLiteral("breedlist"));
        treeedit::placenewitem(&tree, parent, c, id);
        c->prtname = name;
        c->pricemodal = pmPlanned;
        return model.addrsnode(parent, c);
    };
    TTreeNode* a = add(root, 7, QStringLiteral("水泥"));
    EXPECT_EQ(TbreedNodes::breedof(a)->code, QStringLiteral("000007"));
    EXPECT_EQ(TbreedNodes::breedof(a)->tlevel, 1);
    EXPECT_EQ(TbreedNodes::breedof(root)->rnstate, rnchanged);
    ASSERT_TRUE(model.saversnode());
    TTreeNode* b = add(a, 8, QStringLiteral("袋装"));
    EXPECT_EQ(TbreedNodes::breedof(b)->code, QStringLiteral("000007008"));
    EXPECT_EQ(TbreedNodes::breedof(a)->rnstate, rnchanged);
    EXPECT_TRUE(TbreedNodes::breedof(a)->bparent);
    // A name too long for its column fails the insert after the parent's update.
    add(b, 9, QString(60, QLatin1Char('x')));
    const QStringList before = Q(QStringLiteral("select * from breedlist order by FID"));
    DialogScript::ClearLog();
    EXPECT_FALSE(model.saversnode());
    EXPECT_EQ(Q(QStringLiteral("select * from breedlist order by FID")), before);
    EXPECT_EQ(TbreedNodes::breedof(a)->rnstate, rnchanged);
    EXPECT_EQ(TbreedNodes::breedof(b)->rnstate, rnnew);
    ASSERT_FALSE(Texts().isEmpty());
    EXPECT_TRUE(Texts().first().startsWith(QStringLiteral("数据数据出错：")));

    // A reload shows the saved tree; a double-click loads children once.
    model.showboot();
    root = tree.Items()->GetFirstNode();
    tree.SetSelected(root);
    model.onTreeViewDbClick(&tree);
    model.onTreeViewDbClick(&tree);
    EXPECT_EQ(Shape(&tree), (QStringList{QStringLiteral("材料分类"), QStringLiteral("  水泥")}));
    EXPECT_EQ(TbreedNodes::breedof(root->Item(0))->pricemodal, pmPlanned);
    EXPECT_TRUE(model.setselectnode(7));
    EXPECT_FALSE(model.setselectnode(8));
}
