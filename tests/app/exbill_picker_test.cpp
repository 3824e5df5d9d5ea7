// The stock-out pickers through the bill: the batch picker's material lists by price model,
// its batch panel and the lines it makes; the return picker's lines of the using unit.
#include "exbill_support.h"

#include "app/ExPicker.h"
#include "app/ExPickerBatch.h"
#include "app/ExReturnPicker.h"
#include "testmain/gridfit.h"

namespace {

class ExPickerTest : public ExBillTest {
protected:
    void SetUp() override
    {
        ExBillTest::SetUp();
        const char* rows[] = {
            "update breedlist set bparent=1 where fid=101",
            "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate,visibled) values (104,101,'000101001',2,0,'型钢',0,0,0,1)",
            // A sub-category material with three batches whose sums only match exactly.
            "insert into mtrlist (FID,bID,code,mname,mtype,munit) values (12,104,'000101001','扁钢','40*4','吨')",
            "insert into mrplist (mid,bnum,qty,sprice,dprice,rsprice,rdprice,block,pid,cid,cfid,supid) values (12,'B1',0.1,10,1,10,1,0,1,0,2,2)",
            "insert into mrplist (mid,bnum,qty,sprice,dprice,rsprice,rdprice,block,pid,cid,cfid,supid) values (12,'B2',0.2,10,2,10,2,0,1,0,2,2)",
            "insert into mrplist (mid,bnum,qty,sprice,dprice,rsprice,rdprice,block,pid,cid,cfid,supid) values (12,'B3',0.3,10,3,10,3,0,1,0,2,2)",
            "insert into msrglist (mid,qty,cost) values (12,0.6,6)",
            // A steel without stock is not offered.
            "insert into mtrlist (FID,bID,code,mname,mtype,munit) values (13,101,'000101','角钢','L50','吨')",
            "insert into msrglist (mid,qty,cost) values (13,0,0)",
            "insert into msrglist (mid,qty,cost) values (9,3,37.5)",
            "insert into mrplist (mid,bnum,qty,sprice,dprice,rsprice,rdprice,block,pid,cid,cfid,supid) values (9,'P1',3,12.5,37.5,12.5,37.5,0,1,0,2,2)",
        };
        for (const char* s : rows)
            X(QString::fromUtf8(s));
    }

    // Runs the bill's "添加材料清单" with an actor driving the picker it opens.
    template <class Picker>
    void RunPicker(Tfrmbasicexbill& bill, std::function<void(Picker&)> actor)
    {
        DialogScript::AnswerForm([actor](TForm& f) {
            actor(dynamic_cast<Picker&>(f));
            return mrOk;
        });
        bill.btlistaddClick();
    }

    static void Category(TfrmBasicdetail& p, const char* name)
    {
        ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QString::fromUtf8(name)));
    }
    static QStringList Column(TDataSet& ds, const char* field)
    {
        QStringList out;
        for (ds.First(); !ds.Eof(); ds.Next())
            out << ds.FieldByName(QString::fromLatin1(field))->AsString();
        ds.First();
        return out;
    }
    // Chooses a material of the list by name.
    static void Material(Tfrmexdetail& p, const char* name)
    {
        p.ClientDataSet1.Locate(QStringLiteral("mname"), Variant(QString::fromUtf8(name)), {});
        p.DBGridGx1DblClick();
    }
    // The middle of the k-th shown row of a grid (0 the top one), in its first data column.
    static QPoint RowAt(TDBGridGx* grid, int k)
    {
        const TRect r = grid->CellRect(std::max(grid->FixedCols(), grid->LeftCol()), grid->TopRow() + k);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // A double click as the mouse makes it: the first click, then the second.
    static void DoubleClick(QWidget* w, QPoint at)
    {
        QApplication::setActiveWindow(w->window());
        w->setFocus();
        QApplication::processEvents();
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
        QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    }
    QStringList Lines(Tfrmbasicexbill& bill)
    {
        QStringList out;
        TClientDataSet& d = bill.CDSdetail;
        for (d.First(); !d.Eof(); d.Next()) {
            QStringList v;
            for (const char* f : {"mid", "rpid", "qty", "sprice", "dprice", "tempqty", "tempdprice", "cfid", "supid"})
                v << Num(d.FieldByName(QString::fromLatin1(f)));
            out << v.join(QLatin1Char('|'));
        }
        return out;
    }
};

} // namespace

TEST_F(ExPickerTest, MaterialListsByPriceModelWithSubCategoriesAndStockOnly)
{
    auto bill = OpenExBill();
    QStringList seen;
    RunPicker<Tfrmexdetail>(*bill, [&](Tfrmexdetail& p) {
        for (const char* c : {"钢材", "水泥", "木材"}) {
            Category(p, c);
            seen << QString::fromUtf8(c) + QLatin1Char(':') + Column(p.ClientDataSet1, "mname").join(QLatin1Char(','));
        }
        QStringList titles;
        for (int i = 0; i < p.DBGridGx1->Columns()->Count(); ++i)
            titles << p.DBGridGx1->Columns()->Items(i)->Title()->Caption();
        seen << titles.join(QLatin1Char(','));
    });
    EXPECT_EQ(seen, (QStringList{QStringLiteral("钢材:圆钢,扁钢"), QStringLiteral("水泥:水泥"), QStringLiteral("木材:方木"),
                                 QStringLiteral("分类,材料名称,规格型号,单位,数量,计划价,金额,备注")}));
}

TEST_F(ExPickerTest, BatchPanelSumsBatchesAndLines)
{
    auto bill = OpenExBill();
    RunPicker<Tfrmexdetail>(*bill, [&](Tfrmexdetail& p) {
        Category(p, "钢材");
        // 0.1 + 0.2 + 0.3 is the stock 0.6 exactly: no alarm.
        DialogScript::ClearLog();
        Material(p, "扁钢");
        EXPECT_TRUE(p.batchview());
        EXPECT_TRUE(Texts().isEmpty());
        EXPECT_EQ(Column(p.cdsbaseinfo, "bnum"), (QStringList{QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B3")}));
        p.cdsbaseinfo.Locate(QStringLiteral("bnum"), Variant(QStringLiteral("B2")), {});
        p.DBGridGx2DblClick();
        // The same batch again is refused.
        p.Button2Click();
        EXPECT_EQ(Texts(), QStringList{QStringLiteral("你已经选择出库过，请不要再选择行不！")});
        p.Button3Click();
        EXPECT_FALSE(p.batchview());
        EXPECT_TRUE(p.sbquery->isEnabled());
        // Batches that do not add up to the stock are shown with both warnings.
        X(QStringLiteral("update msrglist set qty=17,cost=60 where mid=7"));
        p.acRefrshExecute();
        DialogScript::ClearLog();
        Material(p, "圆钢");
        EXPECT_EQ(Texts(), (QStringList{QStringLiteral("注意：各分批数量合计(16)与库存数量(17)不符，请改正！！！"),
                                        QStringLiteral("注意：各分批金额合价合计(59)与库存金额(60)不符，请改正！！！")}));
        p.Button2Click();
        // A moving-average material issues its whole stock in one line.
        Category(p, "水泥");
        Material(p, "水泥");
        EXPECT_FALSE(p.batchview());
    });
    EXPECT_EQ(Lines(*bill), (QStringList{QStringLiteral("12|4|0.2|10|2|0.2|2|2|2"), QStringLiteral("7|1|10|3.5|35|10|35|2|2"),
                                         QStringLiteral("8||12|2.5|30|12|30||")}));
}

TEST_F(ExPickerTest, ALineIsDrawnFromTheMaterialWhoseBatchesAreShown)
{
    // As the clerk worked: the steel's batches shown, a click on the flat steel, a double click
    // on the first batch shown, then save and audit.
    auto bill = OpenExBill();
    FillExHead(*bill);
    QStringList seen;
    RunPicker<Tfrmexdetail>(*bill, [&](Tfrmexdetail& p) {
        Category(p, "钢材");
        ASSERT_EQ(Column(p.ClientDataSet1, "mname"), (QStringList{QStringLiteral("圆钢"), QStringLiteral("扁钢")}));
        DoubleClick(p.DBGridGx1, RowAt(p.DBGridGx1, 0));
        ASSERT_TRUE(p.batchview());
        seen << p.DBEdit1->text() + QLatin1Char(':') + Column(p.cdsbaseinfo, "bnum").join(QLatin1Char(','));
        QTest::mouseClick(p.DBGridGx1, Qt::LeftButton, {}, RowAt(p.DBGridGx1, 1));
        seen << p.DBEdit1->text() + QLatin1Char(':') + Column(p.cdsbaseinfo, "bnum").join(QLatin1Char(','));
        DoubleClick(p.DBGridGx2, RowAt(p.DBGridGx2, 0));
    });
    EXPECT_EQ(seen, (QStringList{QStringLiteral("圆钢:A 11-1,A 11-2"), QStringLiteral("扁钢:B1,B2,B3")}));
    DialogScript::ClearLog();
    bill->acSaveExecute();
    bill->acAuditingExecute();
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("哈哈，保存成功！"), QStringLiteral("数据记帐成功！")}));
    EXPECT_EQ(Q(QStringLiteral("select d.mid,d.mname,m.bnum,d.qty from vebdetail d,mrplist m where m.fid=d.rpid")),
              QStringList{QStringLiteral("12|扁钢|B1|0.1")});
    // The flat steel gave its first batch; the steel keeps all it had.
    EXPECT_EQ(Q(QStringLiteral("select mid,qty,cost from msrglist where mid in (7,12) order by mid")),
              (QStringList{QStringLiteral("7|16|59"), QStringLiteral("12|0.5|5")}));
}

TEST_F(ExPickerTest, EveryPartOfTheBatchViewShowsWholeAtTheFormsSize)
{
    auto bill = OpenExBill();
    RunPicker<Tfrmexdetail>(*bill, [&](Tfrmexdetail& p) {
        const QSize size = p.size();
        Category(p, "钢材");
        Material(p, "扁钢");
        ASSERT_TRUE(p.batchview());
        QApplication::processEvents();
        EXPECT_EQ(p.size(), size);
        // The tree shows its categories whole, and so do the edits their texts.
        for (TTreeNode* n = p.TreeView1->Items()->GetFirstNode(); n; n = n->GetNext()) {
            const QRect r = p.TreeView1->visualItemRect(n->Item());
            if (r.isValid()) {
                EXPECT_LE(r.left() + p.TreeView1->iconSize().width() + p.TreeView1->fontMetrics().horizontalAdvance(n->Text()),
                          p.TreeView1->viewport()->width())
                    << n->Text().toStdString();
            }
        }
        for (TDBEdit* e : {p.DBEdit1, p.DBEdit2, p.DBEdit3, p.DBEdit4})
            EXPECT_GE(e->width(), e->fontMetrics().horizontalAdvance(e->text()) + 8) << e->objectName().toStdString();
        // The material list shows its rows; the batch grid every column, its batches and its footer.
        EXPECT_GE(p.DBGridGx1->VisibleRowCount(), p.ClientDataSet1.RecordCount());
        EXPECT_EQ(p.DBGridGx2->VisibleColCount(), p.DBGridGx2->Columns()->Count());
        EXPECT_GE(p.DBGridGx2->VisibleRowCount(), p.cdsbaseinfo.RecordCount());
        for (QWidget* w : std::initializer_list<QWidget*>{p.TreeView1, p.DBGridGx1, p.DBGridGx2})
            EXPECT_TRUE(p.rect().contains(QRect(w->mapTo(&p, QPoint(0, 0)), w->size()))) << w->objectName().toStdString();
        // A batch's number, date and figures show whole in this platform's font.
        EXPECT_EQ(dpxtest::CutTexts(p.DBGridGx2, {"bnum", "bdate", "qty", "sprice", "dprice"}).join(QLatin1Char('|')).toStdString(),
                  "");
    });
}

TEST_F(ExPickerTest, AMaterialWithManyOpenBatchesListsThemAll)
{
    // 25 open batches of the steel: more than one page of the batch list.
    for (int i = 3; i <= 25; ++i)
        X(QStringLiteral("insert into mrplist (mid,bnum,qty,sprice,dprice,rsprice,rdprice,block,pid,cid,cfid,supid) "
                         "values (7,'C%1',1,2,2,2,2,0,1,0,2,2)")
              .arg(i));
    X(QStringLiteral("update msrglist set qty=39,cost=105 where mid=7"));
    auto bill = OpenExBill();
    RunPicker<Tfrmexdetail>(*bill, [&](Tfrmexdetail& p) {
        Category(p, "钢材");
        DialogScript::ClearLog();
        Material(p, "圆钢");
        EXPECT_TRUE(Texts().isEmpty());
        const QStringList batches = Column(p.cdsbaseinfo, "bnum");
        EXPECT_EQ(batches.size(), 25);
        EXPECT_EQ(batches.value(24), QStringLiteral("C25"));
    });
}

TEST_F(ExPickerTest, SearchAndRefreshListTheMaterials)
{
    auto bill = OpenExBill();
    RunPicker<Tfrmexdetail>(*bill, [&](Tfrmexdetail& p) {
        // Before any category: the batch-priced materials of every category.
        DialogScript::AnswerText(QStringLiteral("钢"));
        p.acQueryExecute();
        EXPECT_EQ(Column(p.ClientDataSet1, "mname"), (QStringList{QStringLiteral("圆钢"), QStringLiteral("扁钢")}));
        Category(p, "钢材");
        DialogScript::AnswerText(QStringLiteral("扁"));
        p.acQueryExecute();
        EXPECT_EQ(Column(p.ClientDataSet1, "mname"), QStringList{QStringLiteral("扁钢")});
        // A typed '%' or '_' is a character of the name, not a wildcard.
        for (const QString& text : {QStringLiteral("%"), QStringLiteral("_")}) {
            DialogScript::AnswerText(text);
            p.acQueryExecute();
            EXPECT_TRUE(p.ClientDataSet1.IsEmpty()) << text.toStdString();
        }
        DialogScript::AnswerText(QStringLiteral("扁"));
        p.acQueryExecute();
        X(QStringLiteral("update msrglist set qty=0,cost=0 where mid=12"));
        p.acRefrshExecute();
        EXPECT_TRUE(p.ClientDataSet1.IsEmpty());
    });
}

TEST_F(ExPickerTest, ReturnPickerListsTheUnitsLinesOfExactlyTheCategory)
{
    // An audited bill of the unit with a steel line and a sub-category line.
    auto first = OpenExBill();
    FillExHead(*first);
    AddBatchLine(*first, 1);
    AddBatchLine(*first, 3);
    first->acSaveExecute();
    first->acAuditingExecute();
    ASSERT_EQ(first->btnState(), 7);

    // An issue of another unit is not offered.
    X(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,brecorded,breverse) values (900,")
      + QString::number(curpid) + QStringLiteral(",'2024-11-05',1,2,'X 1',1,0)"));
    X(QStringLiteral("insert into ebdetail (eid,rpid,mid,qty,sprice,dprice) values (900,2,7,3,4,12)"));

    auto bill = OpenExBill();
    FillExHead(*bill);
    // The kind boxes choose the picker.
    QTest::mouseClick(bill->DBCheckBox1, Qt::LeftButton, {}, QPoint(6, bill->DBCheckBox1->height() / 2));
    QStringList seen;
    RunPicker<Tfrmexdetail_R>(*bill, [&](Tfrmexdetail_R& p) {
        Category(p, "钢材");
        seen << Column(p.cdsbaseinfo, "mname").join(QLatin1Char(','));
        // The search narrows the category's lines by the material name.
        DialogScript::AnswerText(QStringLiteral("方"));
        p.acQueryExecute();
        seen << Column(p.cdsbaseinfo, "mname").join(QLatin1Char(','));
        Category(p, "型钢");
        seen << Column(p.cdsbaseinfo, "mname").join(QLatin1Char(','));
        p.Button2Click();
    });
    EXPECT_EQ(seen, (QStringList{QStringLiteral("圆钢"), QString(), QStringLiteral("扁钢")}));
    bill->CDSdetail.First();
    EXPECT_EQ(Lines(*bill), QStringList{QStringLiteral("12|3|-0.1|10|-1|0.1|||")});
    EXPECT_EQ(bill->CDSdetail.FieldByName(QStringLiteral("remark"))->AsString(), QStringLiteral("退库或冲帐"));
    DialogScript::ClearLog();
    bill->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("哈哈，保存成功！")});

    // "为转帐暂办退库用" opens the material picker.
    auto third = OpenExBill();
    QTest::mouseClick(third->DBCheckBox3, Qt::LeftButton, {}, QPoint(6, third->DBCheckBox3->height() / 2));
    bool material = false;
    DialogScript::AnswerForm([&](TForm& f) {
        material = dynamic_cast<Tfrmimdetail*>(&f) != nullptr;
        return mrCancel;
    });
    third->btlistaddClick();
    EXPECT_TRUE(material);
}

// What a unit gives back of an issue is what it took and has not yet given back: only lines of
// audited issues are offered, each with the quantity left; a return line names the issued line,
// so the next return offers the rest. A typed "%" is a character, not a wildcard.
TEST_F(ExPickerTest, ReturnPickerOffersWhatIsLeftOfAuditedIssues)
{
    auto issued = OpenExBill();
    FillExHead(*issued);
    AddBatchLine(*issued, 1);   // 10 at 3.5
    issued->acSaveExecute();
    issued->acAuditingExecute();
    ASSERT_EQ(issued->btnState(), 7);
    auto open = OpenExBill();   // saved, never audited
    FillExHead(*open);
    AddBatchLine(*open, 2);
    open->acSaveExecute();
    const QString line = Q(QStringLiteral("select fid from ebdetail where rpid=1")).value(0);

    QStringList seen;
    auto giveback = [&](std::function<void(Tfrmexdetail_R&)> actor) {
        auto bill = OpenExBill();
        FillExHead(*bill);
        QTest::mouseClick(bill->DBCheckBox1, Qt::LeftButton, {}, QPoint(6, bill->DBCheckBox1->height() / 2));
        RunPicker<Tfrmexdetail_R>(*bill, [&](Tfrmexdetail_R& p) {
            Category(p, "钢材");
            seen << Column(p.cdsbaseinfo, "rqty").join(QLatin1Char(','));
            actor(p);
        });
        bill->CDSdetail.First();
        return bill;
    };
    auto first = giveback([&](Tfrmexdetail_R& p) {
        DialogScript::AnswerText(QStringLiteral("%"));
        p.acQueryExecute();
        seen << Column(p.cdsbaseinfo, "rqty").join(QLatin1Char(','));
        DialogScript::AnswerText(QStringLiteral("圆"));
        p.acQueryExecute();
        p.Button2Click();
    });
    EXPECT_EQ(Lines(*first), QStringList{QStringLiteral("7|1|-10|3.5|-35|10|||")});
    EXPECT_EQ(first->CDSdetail.FieldByName(QStringLiteral("edid"))->AsString(), line);
    // Four of the ten come back with this bill.
    first->CDSdetail.Edit();
    first->CDSdetail.FieldByName(QStringLiteral("qty"))->SetAsFloat(-4);
    first->CDSdetail.Post();
    first->acSaveExecute();
    EXPECT_EQ(Q(QStringLiteral("select qty,dprice,edid from ebdetail where qty<0")),
              QStringList{QStringLiteral("-4|-14|") + line});

    auto second = giveback([&](Tfrmexdetail_R& p) { p.Button2Click(); });
    EXPECT_EQ(Lines(*second), QStringList{QStringLiteral("7|1|-6|3.5|-21|6|||")});
    // More than is left is not saved.
    auto setqty = [&](double qty) {
        second->CDSdetail.Edit();
        second->CDSdetail.FieldByName(QStringLiteral("qty"))->SetAsFloat(qty);
        second->CDSdetail.Post();
        DialogScript::ClearLog();
        second->acSaveExecute();
        return Texts();
    };
    EXPECT_EQ(setqty(-7), (QStringList{QStringLiteral("材料“圆钢”退回的数量(7)超过原单尚未退回的数量(6)，票据不能保存！"),
                                       QStringLiteral("咋回事？保存失败！")}));
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebdetail where qty<0")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(setqty(-6), QStringList{QStringLiteral("哈哈，保存成功！")});
    giveback([](Tfrmexdetail_R&) {});
    EXPECT_EQ(seen, (QStringList{QStringLiteral("10"), QString(), QStringLiteral("6"), QString()}));
}

namespace {

class BatchDialogTest : public ExBillTest {
protected:
    // Opens the batch list of the steel in the batch picker, edits the first batch through the
    // batch dialog (the actor drives it and leaves it with OK), and saves the list; edited looks
    // at the picker between the dialog and the save.
    template <class Dialog>
    static void EditSteelBatch(Tfrmbasicexbill& bill, std::function<void(Dialog&)> actor,
                               std::function<void(Tfrmexdetail&)> edited = {})
    {
        DialogScript::AnswerForm([&](TForm& f) {
            auto& p = dynamic_cast<Tfrmexdetail&>(f);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
            p.DBGridGx1DblClick();
            EXPECT_TRUE(p.batchview());
            EXPECT_EQ(p.materialid(), 7);
            DialogScript::AnswerForm([&](TForm& d) {
                actor(dynamic_cast<Dialog&>(d));
                return mrOk;
            });
            p.acEditExecute();
            if (edited)
                edited(p);
            p.acSaveExecute();
            EXPECT_FALSE(p.batchview());
            return mrCancel;
        });
        bill.btlistaddClick();
    }
};

} // namespace

TEST_F(BatchDialogTest, PicksAreTakenOnOkOnlyAndSaveKeepsTheBatchFree)
{
    auto bill = OpenExBill();
    QStringList seen;
    EditSteelBatch<Tfrmexdetail_m>(
        *bill,
        [&](Tfrmexdetail_m& m) {
            seen << m.windowTitle() + QLatin1Char('|') + m.supname->text() + QLatin1Char('|') + m.cfname->text();
            // A supplier pick left with Cancel changes nothing; one left with OK is taken.
            DialogScript::AnswerForm([](TForm&) { return mrCancel; });
            m.supplierClick();
            seen << m.supname->text();
            PickNode(QStringLiteral("自购"));
            m.sourceClick();
            seen << m.cfname->text();
            m.DataSet()->FieldByName(QStringLiteral("qty"))->SetAsFloat(8);
            QTest::keyClick(m.bnum, Qt::Key_X);
            m.Button1->Click();
        },
        [&](Tfrmexdetail& p) {
            seen << Num(p.cdsbaseinfo.FieldByName(QStringLiteral("dprice")));
            DialogScript::ClearLog();
        });
    seen << Texts();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("编辑出库材料项|华丰钢厂|甲供"), QStringLiteral("华丰钢厂"),
                                 QStringLiteral("自购"), QStringLiteral("28"), QStringLiteral("保存成功啊！")}));
    EXPECT_EQ(Q(QStringLiteral("select bnum,qty,dprice,cfid,supid,block from mrplist where fid=1")),
              QStringList{QStringLiteral("A 11-1x|8|28|3|2|0")});
}

// A batch another bill holds is edited and saved like any other; its hold stays.
TEST_F(BatchDialogTest, SavingTheBatchesLeavesTheirHoldsAlone)
{
    X(QStringLiteral("update mrplist set block=1 where fid=1"));
    auto bill = OpenExBill();
    EditSteelBatch<Tfrmexdetail_m>(*bill, [](Tfrmexdetail_m& m) {
        m.DataSet()->FieldByName(QStringLiteral("qty"))->SetAsFloat(8);
        m.Button1->Click();
    });
    EXPECT_EQ(Q(QStringLiteral("select qty,block from mrplist where fid=1")), QStringList{QStringLiteral("8|1")});
}

TEST_F(BatchDialogTest, OverseasCurrencyIsTakenOnOkOnly)
{
    systype = TSystype::overseas;
    X(QStringLiteral("update mrplist set cid=(select fid from currencyset where cryname='人民币')"));
    auto bill = OpenExBill();
    QStringList seen;
    EditSteelBatch<Tfrmexdetail_mc>(*bill, [&](Tfrmexdetail_mc& m) {
        seen << m.cryname->text();
        // A pick left with Cancel leaves the batch alone, whatever the last pick handed over.
        listboxid = 2;
        listboxname = QStringLiteral("美元");
        DialogScript::AnswerForm([](TForm&) { return mrCancel; });
        m.currencyClick();
        seen << m.cryname->text();
        DialogScript::AnswerForm([](TForm& l) {
            auto& list = dynamic_cast<Tfrmbasiclistbox&>(l);
            list.CDSlist.Locate(QStringLiteral("cryname"), Variant(QStringLiteral("美元")), {});
            list.DBGridGx1CellClick(nullptr);
            return mrOk;
        });
        m.currencyClick();
        seen << m.cryname->text();
        m.Button1->Click();
    });
    EXPECT_EQ(seen, (QStringList{QStringLiteral("人民币"), QStringLiteral("人民币"), QStringLiteral("美元")}));
    EXPECT_EQ(Q(QStringLiteral("select c.cryname from mrplist m,currencyset c where m.fid=1 and c.fid=m.cid")),
              QStringList{QStringLiteral("美元")});
}
