// The drop-down pickers and the stock-in material picker on a real account set.
#include "master_support.h"

#include "app/DropDownPicker.h"
#include "app/ImPicker.h"
#include "grid/support/DBCtrlsGxDateTime.h"
#include "platform/db/Field.h"
#include "platform/gui/DBControls.h"

#include <QClipboard>
#include <QFormLayout>
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

// Each drop-down picker on OK and on Cancel: OK hands over the choice; Cancel leaves the list
// values as they were and the tree values on the node selected last.
TEST_F(PickerTest, DropDownPickersOnOkAndOnCancel)
{
    X(QStringLiteral("insert into currencyset (cryname,tobalance,isbalance,visibled) values ('人民币',1,1,1)"));
    X(QStringLiteral("insert into currencyset (cryname,tobalance,isbalance,visibled) values ('美元',7,0,1)"));
    const int usd = Q(QStringLiteral("select fid from currencyset where cryname='美元'")).value(0).toInt();
    enum Kind { List, Tree, LeafTree };
    enum Act { ClickIt, ClickThenClose, DownThenClose, DownThenEscape };
    struct Case {
        const char* what;
        Kind kind;
        const char* name;   // the row or node acted on
        Act act;
        int result;
        int id;             // the hand-over values afterwards (-1 = untouched)
        const char* code;
        const char* text;
    };
    const Case cases[] = {
        {"list OK", List, "美元", ClickIt, mrOk, usd, "", "美元"},
        {"list 关闭 on a row", List, "美元", ClickThenClose, mrCancel, -1, "", "untouched"},
        {"tree OK on a branch", Tree, "来源", ClickIt, mrOk, 1, "000", "来源"},
        {"tree OK on a leaf", Tree, "自购", ClickIt, mrOk, 3, "000003", "自购"},
        {"tree 关闭 after moving down", Tree, "", DownThenClose, mrCancel, 2, "000002", "甲供"},
        {"tree Escape after moving down", Tree, "", DownThenEscape, mrCancel, 2, "000002", "甲供"},
        {"leaf tree OK on a leaf", LeafTree, "自购", ClickIt, mrOk, 3, "000003", "自购"},
        {"leaf tree stays open on a branch", LeafTree, "来源", ClickIt, mrNone, 1, "000", "来源"},
        {"leaf tree 关闭 after a branch click", LeafTree, "来源", ClickThenClose, mrCancel, 1, "000", "来源"},
        {"leaf tree Escape after moving down", LeafTree, "", DownThenEscape, mrCancel, 2, "000002", "甲供"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        listboxid = -1;
        listboxname = QStringLiteral("untouched");
        treenodeid = -1;
        treenodecode = treenodename = QStringLiteral("untouched");
        TForm owner;
        TfrmBase_C* f = nullptr;
        TButton* close = nullptr;
        if (c.kind == List) {
            auto* l = new Tfrmbasiclistbox(&owner, QStringLiteral("currencyset"), QStringLiteral("fid"),
                                           QStringLiteral("cryname"));
            apptest::showActive(l);
            ASSERT_TRUE(l->CDSlist.Locate(QStringLiteral("cryname"), Variant(QString::fromUtf8(c.name)), {}));
            if (c.act == ClickIt)
                l->DBGridGx1CellClick(l->DBGridGx1->Columns()->Items(0));
            f = l;
            close = l->Button2;
        } else {
            TfrmBasictreeshow* t = c.kind == Tree ? new TfrmBasictreeshow(&owner, QStringLiteral("cflist"))
                                                  : new Tfrmbilltreeshow(&owner, QStringLiteral("cflist"));
            apptest::showActive(t);
            EXPECT_EQ(treenodeid, 1);   // the node with id 1 is selected on showing
            if (c.act == ClickIt || c.act == ClickThenClose) {
                TTreeNode* n = NodeNamed(t->treelist, QString::fromUtf8(c.name));
                ASSERT_NE(n, nullptr);
                ClickNode(t->treelist, n);
            } else {
                QTest::keyClick(t->treelist, Qt::Key_Down);
            }
            f = t;
            close = t->Button2;
        }
        if (c.act == ClickThenClose || c.act == DownThenClose)
            close->Click();
        else if (c.act == DownThenEscape)
            QTest::keyClick(f->focusWidget() ? f->focusWidget() : f, Qt::Key_Escape);
        EXPECT_EQ(f->ModalResult(), c.result);
        if (c.kind == List) {
            EXPECT_EQ(listboxid, c.id);
            EXPECT_EQ(listboxname, QString::fromUtf8(c.text));
        } else {
            EXPECT_EQ(treenodeid, c.id);
            EXPECT_EQ(treenodecode, QString::fromUtf8(c.code));
            EXPECT_EQ(treenodename, QString::fromUtf8(c.text));
        }
    }
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

namespace {

// An item dialog whose controls name mtrlist columns in their hints, one of each bound kind.
class BindingDialog : public Tfrmbasedetail_m {
public:
    explicit BindingDialog(TfrmBasicdetail* picker) : Tfrmbasedetail_m(picker)
    {
        Maintable = QStringLiteral("mtrlist");
        MasterField = QStringLiteral("fid");
        auto* form = new QFormLayout(pnedit);
        auto add = [form](QWidget* w, const char* hint) {
            w->setToolTip(QString::fromLatin1(hint));
            form->addRow(w);
        };
        add(edit = new TDBEdit(pnedit), " MName ");
        add(memo = new TDBMemo(pnedit), "mtype");
        add(lookup = new TDBLookupComboBox(pnedit), "MUNIT");
        add(date = new TDBDateTimeEditGx(pnedit), "code");
        add(stray = new TDBEdit(pnedit), "nosuch");
    }
    TDBEdit* edit;
    TDBMemo* memo;
    TDBLookupComboBox* lookup;
    TDBDateTimeEditGx* date;
    TDBEdit* stray;
};

} // namespace

TEST_F(PickerTest, ItemDialogBindsItsControlsByHint)
{
    // code is not among the metadata rows of mtrlist until it is described
    X(QStringLiteral("insert into TableField (Ftablename,fieldname,Fdesc,Ftype,Flength,Fisvisible) values ('mtrlist','code','编码','datetime',20,1)"));
    LineHost host;
    Tfrmimdetail p(&host);
    ChooseCategory(p, QStringLiteral("圆钢"));
    BindingDialog d(&p);
    apptest::showActive(&d);
    TDataSource* rows = &p.dsbaseinfo;
    EXPECT_EQ(d.edit->DataSource(), rows);
    EXPECT_EQ(d.edit->DataField(), QStringLiteral("mname"));
    EXPECT_EQ(d.edit->maxLength(), 50);
    EXPECT_EQ(d.memo->DataSource(), rows);
    EXPECT_EQ(d.memo->DataField(), QStringLiteral("mtype"));
    EXPECT_EQ(d.memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(d.lookup->DataSource(), rows);
    EXPECT_EQ(d.lookup->DataField(), QStringLiteral("munit"));
    EXPECT_EQ(d.date->DataSource(), rows);
    EXPECT_EQ(d.date->DataField(), QStringLiteral("code"));
    EXPECT_EQ(d.stray->DataSource(), nullptr);
    EXPECT_EQ(d.edit->Text(), p.cdsbaseinfo.FieldByName(QStringLiteral("mname"))->AsString());
    Type(d.memo, QString(60, QChar(0x94a2)));
    EXPECT_EQ(d.memo->Text(), QString(50, QChar(0x94a2)));   // typing stops at the column's length
}

TEST_F(PickerTest, PickerWithMaterialsArtefact)
{
    X(QStringLiteral("insert into mtrlist (FID,bID,code,mname,mtype,munit,remark) values (9,101,'000100101','热轧带肋钢筋','HRB400 Φ25','吨','二期主体结构用')"));
    LineHost host;
    Tfrmimdetail p(&host);
    ChooseCategory(p, QStringLiteral("圆钢"));
    ASSERT_EQ(p.cdsbaseinfo.RecordCount(), 3);
    QApplication::processEvents();
    ASSERT_TRUE(p.grab().save(apptest::artifact(QStringLiteral("app_material_picker.png"))));
}
