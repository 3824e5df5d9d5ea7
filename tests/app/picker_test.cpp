// The drop-down pickers and the stock-in material picker on a real account set.
#include "master_support.h"

#include "app/DropDownPicker.h"
#include "app/ImPicker.h"
#include "platform/db/Field.h"

#include <QClipboard>
#include <QInputMethodEvent>

namespace {

// A bill stand-in: a form with the line data set the pickers append to, found as "dsdetail".
class LineHost : public TForm {
public:
    LineHost()
    {
        TFieldDefs& defs = lines.FieldDefs();
        defs.Add(QStringLiteral("mID"), ftInteger);
        for (const char* f : {"mname", "mtype", "munit"})
            defs.Add(QString::fromLatin1(f), ftString, 50);
        lines.CreateDataSet();
        source.SetDataSet(&lines);
        new TDataSourceRef(this, QStringLiteral("dsDetail"), &source);
    }
    QStringList Lines()
    {
        QStringList out;
        if (lines.State() == dsInsert || lines.State() == dsEdit)
            lines.Post();
        for (lines.First(); !lines.Eof(); lines.Next())
            out << lines.FieldByName(QStringLiteral("mID"))->AsString() + QLatin1Char('|')
                       + lines.FieldByName(QStringLiteral("mname"))->AsString();
        return out;
    }
    TClientDataSet lines;
    TDataSource source;
};

// Types Chinese text into an edit as the input method commits it.
void Type(QWidget* edit, const QString& text)
{
    edit->setFocus();
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(edit, &e);
}

} // namespace

class PickerTest : public MasterTest {
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        X(QStringLiteral("insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (100,1,'000100',1,1,'钢材',0,0,0)"));
        X(QStringLiteral("insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) values (101,100,'000100101',2,0,'圆钢',0,0,0)"));
        X(QStringLiteral("update breedlist set bparent=1 where fid=1"));
        X(QStringLiteral("insert into mtrlist (FID,bID,code,mname,mtype,munit) values (7,101,'000100101','圆钢','Φ12','吨')"));
        X(QStringLiteral("insert into mtrlist (FID,bID,code,mname,mtype,munit) values (8,101,'000100101','O''Neil钢','Φ14','吨')"));
    }

    // Shows a material picker owned by the host and chooses a category by its name.
    void ChooseCategory(Tfrmimdetail& p, const QString& name)
    {
        apptest::showActive(&p);
        TTreeNode* n = NodeNamed(p.TreeView1, name);
        ASSERT_NE(n, nullptr) << name.toStdString();
        ClickNode(p.TreeView1, n);
    }
};

TEST_F(PickerTest, BillTypeListHandsOverTheClickedRowAndItsCode)
{
    X(QStringLiteral("insert into billtype (typename,code,ibnum,ebnum) values ('A','11',1,1)"));
    X(QStringLiteral("insert into billtype (typename,code,ibnum,ebnum) values ('B','12',5,1)"));
    TForm owner;
    auto* f = new Tfrmbilltypelistbox(&owner, QStringLiteral("billtype"), QStringLiteral("fid"),
                                      QStringLiteral("typename"));
    EXPECT_EQ(f->windowTitle(), QStringLiteral("项目选择"));
    EXPECT_EQ(f->DBGridGx1->Columns()->Count(), 1);
    ASSERT_EQ(f->CDSlist.RecordCount(), 2);
    EXPECT_EQ(f->CDSlist.FieldByName(QStringLiteral("typename"))->AsString(), QStringLiteral("A"));
    f->CDSlist.Next();
    f->DBGridGx1CellClick(nullptr);
    EXPECT_EQ(f->ModalResult(), mrOk);
    EXPECT_EQ(listboxname, QStringLiteral("B"));
    EXPECT_EQ(listboxid, f->CDSlist.FieldByName(QStringLiteral("fid"))->AsInteger());
    EXPECT_EQ(f->code(), QStringLiteral("12"));
}

TEST_F(PickerTest, BillTreeChoosesLeavesOnlyAndCancelKeepsTheLastNode)
{
    TForm owner;
    auto* f = new Tfrmbilltreeshow(&owner, QStringLiteral("cflist"));
    treenodeid = 0;
    apptest::showActive(f);
    EXPECT_EQ(treenodeid, 1);   // the node with id 1 right after showing
    EXPECT_EQ(Shape(f->treelist), (QStringList{QStringLiteral("来源"), QStringLiteral("  甲供"), QStringLiteral("  自购")}));
    ClickNode(f->treelist, NodeNamed(f->treelist, QStringLiteral("来源")));
    EXPECT_EQ(f->ModalResult(), mrNone);   // a branch is not chosen
    ClickNode(f->treelist, NodeNamed(f->treelist, QStringLiteral("自购")));
    EXPECT_EQ(f->ModalResult(), mrOk);
    EXPECT_EQ(treenodeid, 3);
    EXPECT_EQ(treenodecode, QStringLiteral("000003"));
    EXPECT_EQ(treenodename, QStringLiteral("自购"));

    auto* g = new TfrmBasictreeshow(&owner, QStringLiteral("cflist"));
    apptest::showActive(g);
    g->Button2->Click();
    EXPECT_EQ(g->ModalResult(), mrCancel);
    EXPECT_EQ(treenodeid, 1);
}

TEST_F(PickerTest, PickerStatesCategoriesAndSearch)
{
    LineHost host;
    Tfrmimdetail p(&host);
    ASSERT_EQ(p.detailsource(), &host.source);
    apptest::showActive(&p);
    EXPECT_EQ(p.btnState(), 10);
    EXPECT_FALSE(p.sbinsert->isEnabled());
    EXPECT_TRUE(p.sbquery->isEnabled());

    ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
    EXPECT_EQ(p.btnState(), 10);
    EXPECT_EQ(p.cdsbaseinfo.RecordCount(), 0);   // only materials directly under it
    p.acInsertExecute();
    EXPECT_EQ(Texts().takeLast(), QStringLiteral("只能选择子节点才能新增材料清单！"));

    ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("圆钢")));
    EXPECT_EQ(p.btnState(), 3);
    EXPECT_EQ(p.cdsbaseinfo.RecordCount(), 2);
    EXPECT_TRUE(p.sbinsert->isEnabled());
    EXPECT_FALSE(p.sbsave->isEnabled());

    // A search text with a quote finds the name with it; an empty answer clears the text.
    DialogScript::AnswerText(QStringLiteral("O'Neil"));
    p.acQueryExecute();
    EXPECT_EQ(p.inputstr, QStringLiteral("O'Neil"));
    ASSERT_EQ(p.cdsbaseinfo.RecordCount(), 1);
    EXPECT_EQ(p.cdsbaseinfo.FieldByName(QStringLiteral("mname"))->AsString(), QStringLiteral("O'Neil钢"));
    p.acRefrshExecute();
    EXPECT_EQ(p.cdsbaseinfo.RecordCount(), 1);
    EXPECT_EQ(p.btnState(), 9);
    DialogScript::AnswerText(QString());
    p.acQueryExecute();
    EXPECT_EQ(p.cdsbaseinfo.RecordCount(), 1);   // nothing loaded
    p.acRefrshExecute();
    EXPECT_EQ(p.cdsbaseinfo.RecordCount(), 2);
}

TEST_F(PickerTest, NewMaterialsMustBeSavedBeforeTheyBecomeLines)
{
    LineHost host;
    Tfrmimdetail p(&host);
    ChooseCategory(p, QStringLiteral("圆钢"));
    // A new material typed in the item dialog, then "返回" (kept, posted).
    DialogScript::AnswerForm([](TForm& f) {
        auto& m = dynamic_cast<Tfrmimdetail_m&>(f);
        Type(m.DBEdit1, QStringLiteral("螺纹钢"));
        Type(m.DBEdit3, QStringLiteral("吨"));
        m.Button3->Click();
        return mrNo;
    });
    p.acInsertExecute();
    EXPECT_EQ(p.btnState(), 1);
    ASSERT_EQ(p.cdsbaseinfo.RecordCount(), 3);
    EXPECT_EQ(p.cdsbaseinfo.FieldByName(QStringLiteral("mname"))->AsString(), QStringLiteral("螺纹钢"));
    const int newid = p.cdsbaseinfo.FieldByName(QStringLiteral("fid"))->AsInteger();
    EXPECT_GT(newid, 0);
    DialogScript::ClearLog();
    p.DBGridGx1DblClick();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("养成好习惯，在新添加的材料清单后一定记住要保存！")});
    EXPECT_TRUE(host.Lines().isEmpty());

    // Several rows of which one is unsaved: the saved ones come, the unsaved one is reported.
    DialogScript::ClearLog();
    p.DBGridGx1->SelectedRows()->Clear();
    for (p.cdsbaseinfo.First(); !p.cdsbaseinfo.Eof(); p.cdsbaseinfo.Next())
        p.DBGridGx1->SelectedRows()->SetCurrentRowSelected(true);
    p.Button2Click();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("在新添加的材料清单后一定记住先保存！")});
    EXPECT_EQ(host.Lines(), (QStringList{QStringLiteral("7|圆钢"), QStringLiteral("8|O'Neil钢")}));

    DialogScript::ClearLog();
    p.acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("保存成功啊！")});
    EXPECT_EQ(p.btnState(), 9);
    EXPECT_EQ(Q(QStringLiteral("select bid,code,mname,munit from mtrlist where fid=%1").arg(newid)),
              QStringList{QStringLiteral("101|000100101|螺纹钢|吨")});
    ASSERT_TRUE(p.cdsbaseinfo.Locate(QStringLiteral("fid"), Variant(newid), {}));
    p.DBGridGx1DblClick();
    EXPECT_EQ(host.Lines().last(), QStringLiteral("%1|螺纹钢").arg(newid));
    // "取消添加" takes back the line just appended.
    p.DBGridGx1DblClick();
    p.Button1Click();
    EXPECT_EQ(host.Lines().size(), 3);
}

TEST_F(PickerTest, ClipboardImportWarnsOnlyAboutAnIncompleteRow)
{
    struct Case {
        const char* text;
        int added;
        bool warned;
    };
    for (const Case& c : {Case{"角钢\tL50\t吨\n扁钢\t\t吨\n", 2, false},
                          Case{"角钢\tL50\t吨\n扁钢\t-40\t\n槽钢\t10#\t吨\n", 1, true}}) {
        LineHost host;
        Tfrmimdetail p(&host);
        ChooseCategory(p, QStringLiteral("圆钢"));
        QApplication::clipboard()->setText(QString::fromUtf8(c.text));
        DialogScript::ClearLog();
        p.ToolButton1Click();
        EXPECT_EQ(p.cdsbaseinfo.RecordCount(), 2 + c.added) << c.text;
        EXPECT_EQ(Texts().contains(QStringLiteral("倒入的材料项有至少有一项不完整，核对后再倒入")), c.warned) << c.text;
        EXPECT_EQ(p.btnState(), 1);
        EXPECT_EQ(Q(QStringLiteral("select count(*) from mtrlist")), QStringList{QStringLiteral("2")});
    }
}
