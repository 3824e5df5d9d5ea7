// The opening-stock import on a real account set: clipboard rows staged by the end rules,
// the save per price model and kind of material, and all-or-nothing writing.
#include "app/OpeningStock.h"
#include "master_support.h"

#include "platform/db/Field.h"
#include "platform/gui/Clipboard.h"

#include <QToolButton>

class MasterOpeningStock : public MasterTest {
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        // Two leaves below a branch under the root.
        X(QStringLiteral("update breedlist set bparent=1 where FID=1"));
        AddCategory(20, 1, QStringLiteral("000020"), QStringLiteral("钢材"), 0, 0, true);
        AddCategory(21, 20, QStringLiteral("000020021"), QStringLiteral("螺纹钢"), 0, 0, false);
        form = std::make_unique<Tfrmexceltosrglist>();
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        MasterTest::TearDown();
    }

    void AddCategory(int fid, int pfid, const QString& code, const QString& name, int pricemodal, int breedtype, bool parent)
    {
        X(QStringLiteral("insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) "
                         "values (%1,%2,'%3',%4,%5,'%6',%7,%8,0)")
              .arg(fid).arg(pfid).arg(code).arg(code.size() / 3 - 1).arg(parent ? 1 : 0).arg(name).arg(pricemodal).arg(breedtype));
    }
    void Choose(const QString& name)
    {
        form->breednodes()->showrschildren(form->breednodes()->showboot());
        ClickNode(form->TreeView1, NodeNamed(form->TreeView1, name));
    }
    void Trigger(QAction* a) { QTest::mouseClick(form->ToolBar1->widgetForAction(a), Qt::LeftButton); }
    void Import(const QString& clipboard)
    {
        Clipboard()->SetAsText(clipboard);
        DialogScript::ClearLog();
        Trigger(form->acinsert);
    }
    // Saves answering the questions asked with Yes; the texts shown.
    QStringList Save(int questions = 2)
    {
        DialogScript::ClearLog();
        for (int i = 0; i < questions; ++i)
            DialogScript::Answer(mrYes);
        Trigger(form->acSave);
        return Texts();
    }
    QStringList Staged()
    {
        QStringList out;
        TClientDataSet& d = form->cdsdetail;
        for (d.First(); !d.Eof(); d.Next()) {
            QStringList cells;
            for (const char* f : {"Mname", "mtype", "Munit", "Qty", "dprice", "remark"})
                cells << d.FieldByName(QString::fromLatin1(f))->AsString();
            out << cells.join(u'|');
        }
        return out;
    }
    int Count(const char* table) { return Q(QStringLiteral("select count(*) from %1").arg(QString::fromLatin1(table))).value(0).toInt(); }

    std::unique_ptr<Tfrmexceltosrglist> form;
};

TEST_F(MasterOpeningStock, ReadingStopsByTheEndRules)
{
    EXPECT_EQ(form->Caption(), QStringLiteral("倒入初始材料库存数据"));
    const QString done = QStringLiteral("倒入完成");
    const QString badQty = QStringLiteral("**数量**倒入非数据值，倒入无效！");
    const QString badAmount = QStringLiteral("**金额**值倒入非数据值，倒入无效！");
    const QString row1 = QStringLiteral("水泥\tP.O42.5\t吨\t4\t10.5\t袋装\n");
    const QString staged1 = QStringLiteral("水泥|P.O42.5|吨|4|10.5|袋装");
    struct Case {
        QString clipboard;
        QStringList staged;
        QString message;
    };
    const Case cases[] = {
        {row1 + QStringLiteral("\tx\t个\t1\t2\t\n"), {staged1}, done},          // empty name
        {QStringLiteral("砂\tx\t\t1\t2\t\n") + row1, {}, done},                   // empty unit
        {QStringLiteral("砂\tx\t方\t\t2\t\n") + row1, {}, done},                  // empty quantity
        {row1, {staged1}, done},                                                 // clipboard ends
        {row1 + QStringLiteral("砂\tx\t方\t1,000\t2\t\n"), {staged1}, badQty},   // thousands separator
        {row1 + QStringLiteral("砂\tx\t方\t-3\t2\t\n"), {staged1}, badQty},      // minus sign
        {QStringLiteral("砂\tx\t方\t3\t2元\t\n"), {}, badAmount},
        {QStringLiteral("砂\t\t方\t3\t\t\n"), {QStringLiteral("砂||方|3||")}, done},   // no amount yet
        {QString(), {}, done},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard.toStdString());
        Import(c.clipboard);
        EXPECT_EQ(Staged(), c.staged);
        EXPECT_EQ(Texts(), QStringList{c.message});
    }
    // The grid shows the staged rows with the sums of quantity and amount.
    Choose(QStringLiteral("螺纹钢"));
    Import(row1 + QStringLiteral("盘条\tΦ6.5\t吨\t2.5\t9000\t\n"));
    QApplication::processEvents();
    TDBGridGx* grid = form->DBGridGx1;
    QStringList titles;
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        titles << grid->Columns()->Items(i)->Title()->Caption();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("材料名称"), QStringLiteral("规格型号"), QStringLiteral("单位"),
                                   QStringLiteral("数量"), QStringLiteral("金额"), QStringLiteral("(对材料项)备注")}));
    EXPECT_EQ(grid->FooterRowCount(), 1);
    EXPECT_EQ(grid->Columns()->Items(0)->Footer()->Value(), QStringLiteral("合计"));
    EXPECT_EQ(grid->Columns()->Items(3)->Footer()->SumValue().ToDouble(), 6.5);
    EXPECT_EQ(grid->Columns()->Items(4)->Footer()->SumValue().ToDouble(), 9010.5);
    ASSERT_TRUE(form->grab().save(apptest::artifact(QStringLiteral("app_opening_stock.png"))));

    // Names keep the 50 characters a material takes.
    Import(QString(60, QChar(u'料')) + QStringLiteral("\t\t个\t1\t1\t\n"));
    EXPECT_EQ(Staged().value(0).section(u'|', 0, 0), QString(50, QChar(u'料')));
    // "清除" empties the list.
    Trigger(form->ToolButton4);
    EXPECT_TRUE(Staged().isEmpty());
}

TEST_F(MasterOpeningStock, SavingWritesEveryStockTableByPriceModelAndKind)
{
    struct Case {
        int pricemodal;
        int breedtype;
        int batches, averages, plans, turnover;
    };
    const Case cases[] = {
        {0, 0, 1, 0, 0, 0}, {1, 0, 0, 1, 0, 0}, {2, 0, 1, 0, 1, 0},
        {0, 1, 1, 0, 0, 1}, {1, 1, 0, 1, 0, 1}, {2, 1, 1, 0, 1, 1},
    };
    X(QStringLiteral("update IDlist set ID=40 where IDname='MID'"));
    int fid = 30;
    int mid = 40;
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("price model %1, kind %2").arg(c.pricemodal).arg(c.breedtype).toStdString());
        const QString code = QStringLiteral("000%1").arg(fid, 3, 10, QLatin1Char('0'));
        const QString name = QStringLiteral("类%1").arg(fid);
        AddCategory(fid, 1, code, name, c.pricemodal, c.breedtype, false);
        Choose(name);
        EXPECT_EQ(form->Edit1->text(), name);
        Import(QStringLiteral("水泥\tP.O42.5\t吨\t4\t10\t袋装\n"));
        ++mid;
        const QStringList texts = Save();
        EXPECT_EQ(texts, (QStringList{QStringLiteral("注意：倒入材料属于 \"%1\" 分类,是否正确？不正确请重新选择分类！！！").arg(name),
                                      QStringLiteral("数据倒入只能在本系统首次使用，将其它帐本库存数据移植到本系统时才能使用，系统在完成初始设置后是不允许再次进行数据倒入操作的，是这样吗??"),
                                      QStringLiteral("倒入成功！！！")}));
        const QString m = QString::number(mid);
        EXPECT_EQ(Q(QStringLiteral("select bID, code, mname, mtype, munit, remark from mtrlist where FID=") + m),
                  QStringList{QStringLiteral("%1|%2|水泥|P.O42.5|吨|袋装").arg(fid).arg(code)});
        EXPECT_EQ(Q(QStringLiteral("select iid, bnum, comment, iqty*100, isprice*100, idprice*100, srgqty*100, srgcost*100, remark from imexsrglist where Mid=") + m),
                  QStringList{QStringLiteral("0|初始倒入||400|250|1000|400|1000|袋装")});
        EXPECT_EQ(Q(QStringLiteral("select qty*100, cost*100 from msrglist where mid=") + m), QStringList{QStringLiteral("400|1000")});
        EXPECT_EQ(Q(QStringLiteral("select Pid, bnum, iid, eid, orgqty*100, qty*100, sprice*100, dprice*100, orgdprice*100, rsprice*100, remark from mrplist where mid=") + m),
                  c.batches ? QStringList{QStringLiteral("0|初始倒入|0|0|400|400|250|1000|1000|0|初始帐本")} : QStringList{});
        EXPECT_EQ(Q(QStringLiteral("select maprice*100 from maplist where mid=") + m),
                  c.averages ? QStringList{QStringLiteral("250")} : QStringList{});
        EXPECT_EQ(Q(QStringLiteral("select pprice*100 from mpplist where mid=") + m),
                  c.plans ? QStringList{QStringLiteral("250")} : QStringList{});
        EXPECT_EQ(Q(QStringLiteral("select srgqty*100, srgcost*100, eqty, ecost from cyldb where mid=") + m),
                  c.turnover ? QStringList{QStringLiteral("400|1000|0|0")} : QStringList{});
        // The rows are in the books: they are gone from the list, a second save writes nothing.
        EXPECT_TRUE(Staged().isEmpty());
        EXPECT_EQ(Save().last(), QStringLiteral("倒入失败！！！"));
        EXPECT_TRUE(Texts().contains(QStringLiteral("空表，没有数据保存")));
        ++fid;
    }
    EXPECT_EQ(Count("mtrlist"), 6);
}

TEST_F(MasterOpeningStock, AFailureLeavesNothingBehind)
{
    // No category, a parent category: refused before any question.
    Import(QStringLiteral("水泥\t\t吨\t4\t10\t\n砂\t\t方\t0\t10\t\n"));
    const QString leafOnly = QStringLiteral("倒入所属分类必须为子分类，请重新选择!");
    EXPECT_EQ(Save(0), QStringList{leafOnly});
    Choose(QStringLiteral("钢材"));
    EXPECT_EQ(Save(0), QStringList{leafOnly});
    Choose(QStringLiteral("螺纹钢"));
    // "No" to either question stops.
    DialogScript::ClearLog();
    DialogScript::Answer(mrNo);
    Trigger(form->acSave);
    EXPECT_EQ(Texts().size(), 1);
    const int counter = Q(QStringLiteral("select ID from IDlist where IDname='MID'")).value(0).toInt();
    // The second row's zero quantity ends the save with the error; the first row goes too.
    EXPECT_EQ(Save().last(), QStringLiteral("倒入出错！！！"));
    for (const char* t : {"mtrlist", "imexsrglist", "msrglist", "mrplist"})
        EXPECT_EQ(Count(t), 0) << t;
    EXPECT_EQ(Q(QStringLiteral("select ID from IDlist where IDname='MID'")).value(0).toInt(), counter);
    EXPECT_EQ(Staged().size(), 2);
    // An empty amount: the same error.
    Import(QStringLiteral("水泥\t\t吨\t4\t\t\n"));
    EXPECT_EQ(Save().last(), QStringLiteral("倒入出错！！！"));
    // A failing statement: the data module's message, then the failure; nothing stays.
    X(QStringLiteral("update breedlist set pricemodal=1 where FID=21"));
    Choose(QStringLiteral("螺纹钢"));
    X(QStringLiteral("drop table maplist"));
    Import(QStringLiteral("水泥\t\t吨\t4\t10\t\n"));
    const QStringList texts = Save();
    EXPECT_EQ(texts.last(), QStringLiteral("倒入失败！！！"));
    EXPECT_TRUE(texts.value(texts.size() - 2).startsWith(QStringLiteral("数据数据出错：")));
    for (const char* t : {"mtrlist", "imexsrglist", "msrglist"})
        EXPECT_EQ(Count(t), 0) << t;
}
