// The stock-out bill through its form: save, audit, reversal and delete with the batches it
// draws from, the stock checks of the lines, the kind boxes.
#include "exbill_support.h"

#include <QMouseEvent>
#include <QWindow>

TEST_F(ExBillTest, SaveAuditReverseAndDeleteWithTheBatchLocks)
{
    auto bill = OpenExBill();
    AddBatchLine(*bill, 1);
    DialogScript::ClearLog();
    bill->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("单位、项目及编号不能为空,做到了吗？")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebmaster")), QStringList{QStringLiteral("0")});
    FillExHead(*bill);
    AddBatchLine(*bill, 2);
    bill->CDSdetail.Edit();
    bill->CDSdetail.FieldByName(QStringLiteral("qty"))->SetAsFloat(4);
    bill->CDSdetail.Post();
    DialogScript::ClearLog();
    bill->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("哈哈，保存成功！")});
    const QString id = QString::number(bill->billid());
    EXPECT_EQ(Q(QStringLiteral("select billnum,dptid,pjtid,brecorded,breverse,breb,bcylm from ebmaster")),
              QStringList{QStringLiteral("A 11-1|2|2|0|0|0|0")});
    EXPECT_EQ(Q(QStringLiteral("select eid,rpid,mid,qty,sprice,dprice,tempqty,tempdprice from ebdetail order by rpid")),
              (QStringList{id + QStringLiteral("|1|7|10|3.5|35|10|35"), id + QStringLiteral("|2|7|4|4|16|6|24")}));
    // The saved bill holds its batches.
    EXPECT_EQ(Q(QStringLiteral("select fid,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|1"), QStringLiteral("2|1")}));

    DialogScript::ClearLog();
    bill->acAuditingExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("数据记帐成功！")});
    EXPECT_EQ(bill->btnState(), 7);
    EXPECT_EQ(Q(QStringLiteral("select brecorded,assessor from ebmaster")), QStringList{QStringLiteral("1|admin")});
    // Batch 1 drawn whole, batch 2 keeps 2 at 8; both are free again.
    EXPECT_EQ(Q(QStringLiteral("select fid,qty,dprice,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|0|0|0"), QStringLiteral("2|2|8|0")}));
    EXPECT_EQ(Q(QStringLiteral("select qty,cost from msrglist where mid=7")), QStringList{QStringLiteral("2|8")});
    EXPECT_EQ(Q(QStringLiteral("select sum(eqty),sum(edprice) from imexsrglist where mid=7")),
              QStringList{QStringLiteral("14|51")});

    DialogScript::ClearLog();
    bill->acAuditingExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("数据反记帐成功！")});
    EXPECT_EQ(bill->btnState(), 8);
    EXPECT_EQ(Q(QStringLiteral("select fid,qty,dprice from mrplist order by fid")),
              (QStringList{QStringLiteral("1|10|35"), QStringLiteral("2|6|24")}));
    EXPECT_EQ(Q(QStringLiteral("select qty,cost from msrglist where mid=7")), QStringList{QStringLiteral("16|59")});

    // Deleting the bill frees what it held.
    X(QStringLiteral("update mrplist set block=1"));
    DialogScript::Answer(mrYes);
    bill->acDeleteExecute();
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebmaster")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebdetail")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select fid,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|0"), QStringLiteral("2|0")}));
}

TEST_F(ExBillTest, AuditRefusedWhenABatchRanShortAndDeletedLinesFreeTheirBatches)
{
    auto bill = OpenExBill();
    FillExHead(*bill);
    AddBatchLine(*bill, 1);
    AddBatchLine(*bill, 2);
    bill->acSaveExecute();
    // Another bill drew from batch 1 meanwhile.
    X(QStringLiteral("update mrplist set qty=4 where fid=1"));
    DialogScript::ClearLog();
    bill->acAuditingExecute();
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("材料“圆钢”价格批次“A 11-1”的库存量(4)不足本单出库量(10)，票据不能记帐！"),
                                    QStringLiteral("数据记帐失败！")}));
    EXPECT_EQ(Q(QStringLiteral("select brecorded from ebmaster")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select fid,qty,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|4|1"), QStringLiteral("2|6|1")}));
    EXPECT_EQ(Q(QStringLiteral("select count(*) from imexsrglist")), QStringList{QStringLiteral("0")});

    // A line deleted by the button or in the grid frees its batch with the save, not before.
    bill->acEditExecute();
    bill->CDSdetail.First();
    bill->btlistdelClick();
    EXPECT_EQ(Q(QStringLiteral("select fid,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|1"), QStringLiteral("2|1")}));
    bill->acSaveExecute();
    EXPECT_EQ(Q(QStringLiteral("select rpid from ebdetail")), QStringList{QStringLiteral("2")});
    EXPECT_EQ(Q(QStringLiteral("select fid,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|0"), QStringLiteral("2|1")}));
    // Ctrl+Delete in the grid, confirmed.
    bill->acEditExecute();
    bill->CDSdetail.First();
    bill->DBGridGx1->setFocus();
    DialogScript::ClearLog();
    DialogScript::Answer(mrOk);
    QTest::keyClick(bill->DBGridGx1, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("Delete record?")});
    EXPECT_EQ(bill->CDSdetail.RecordCount(), 0);
    X(QStringLiteral("update mrplist set qty=10 where fid=1"));
    AddBatchLine(*bill, 1);
    bill->acSaveExecute();
    EXPECT_EQ(Q(QStringLiteral("select rpid from ebdetail")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(Q(QStringLiteral("select fid,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|1"), QStringLiteral("2|0")}));
}

// Two workstations pick the same free batch; the one that saves second is told the batch is
// taken and saves nothing. Return lines hold no batch.
TEST_F(ExBillTest, ASecondBillDrawingAHeldBatchIsNotSaved)
{
    auto first = OpenExBill();
    FillExHead(*first);
    AddBatchLine(*first, 1);
    auto second = OpenExBill();
    FillExHead(*second);
    AddBatchLine(*second, 2);
    AddBatchLine(*second, 1);
    DialogScript::ClearLog();
    first->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("哈哈，保存成功！")});
    DialogScript::ClearLog();
    second->acSaveExecute();
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("材料“圆钢”价格批次“A 11-1”已被票据“A 11-1”选用，请删除这一行后重新选择！"),
                                    QStringLiteral("咋回事？保存失败！")}));
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebmaster")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebdetail")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(Q(QStringLiteral("select fid,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|1"), QStringLiteral("2|0")}));

    // Without the taken line the bill saves and holds its own batch; saved again it keeps it.
    second->CDSdetail.Last();
    second->CDSdetail.Delete();
    DialogScript::ClearLog();
    second->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("哈哈，保存成功！")});
    second->acEditExecute();
    second->CDSdetail.Edit();
    second->CDSdetail.FieldByName(QStringLiteral("qty"))->SetAsFloat(5);
    second->CDSdetail.Post();
    DialogScript::ClearLog();
    second->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("哈哈，保存成功！")});
    EXPECT_EQ(Q(QStringLiteral("select fid,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|1"), QStringLiteral("2|1")}));

    // A return line names a held batch and takes nothing from it.
    auto back = OpenExBill();
    FillExHead(*back);
    AddBatchLine(*back, 1);
    back->CDSdetail.Edit();
    back->CDSdetail.FieldByName(QStringLiteral("qty"))->SetAsFloat(-2);
    back->CDSdetail.Post();
    DialogScript::ClearLog();
    back->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("哈哈，保存成功！")});
    DialogScript::Answer(mrYes);
    back->acDeleteExecute();
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebmaster")), QStringList{QStringLiteral("2")});
    EXPECT_EQ(Q(QStringLiteral("select fid,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|1"), QStringLiteral("2|1")}));
}

TEST_F(ExBillTest, ABillWhoseBatchLockFailsIsNotSavedAndLocksNothing)
{
    auto bill = OpenExBill();
    FillExHead(*bill);
    AddBatchLine(*bill, 1);
    AddBatchLine(*bill, 2);
    // A unique block makes the second lock fail after the first one ran.
    X(QStringLiteral("update mrplist set block=null where fid=1"));
    X(QStringLiteral("alter table mrplist add constraint UQ_block unique (block)"));
    DialogScript::ClearLog();
    bill->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("咋回事？保存失败！")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebmaster")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebdetail")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from mrplist where block=1")), QStringList{QStringLiteral("0")});
}

TEST_F(ExBillTest, APostingWhoseBatchesCannotBeFreedIsUndoneWhole)
{
    auto bill = OpenExBill();
    FillExHead(*bill);
    AddBatchLine(*bill, 1);
    AddBatchLine(*bill, 2);
    bill->acSaveExecute();
    // A unique block lets the first batch be freed and makes the second fail.
    X(QStringLiteral("update mrplist set block=null where fid=1"));
    X(QStringLiteral("alter table mrplist add constraint UQ_block unique (block)"));
    DialogScript::ClearLog();
    bill->acAuditingExecute();
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("数据数据出错：update mrplist set block=0 where fid=2 and not exists "
                                                   "(select d.fid from ebdetail d inner join ebmaster m on d.eid=m.fid "
                                                   "where d.rpid=2 and d.qty>=0 and isnull(m.brecorded,0)=0 and d.eid<>")
                                        + QString::number(bill->billid()) + QLatin1Char(')'),
                                    QStringLiteral("数据记帐失败！")}));
    EXPECT_EQ(bill->btnState(), 6);
    // Neither the posting nor the freeing is kept.
    EXPECT_EQ(Q(QStringLiteral("select brecorded,assessor from ebmaster")), QStringList{QStringLiteral("0|NULL")});
    EXPECT_EQ(Q(QStringLiteral("select fid,qty,dprice,block from mrplist order by fid")),
              (QStringList{QStringLiteral("1|10|35|NULL"), QStringLiteral("2|6|24|1")}));
    EXPECT_EQ(Q(QStringLiteral("select qty,cost from msrglist where mid=7")), QStringList{QStringLiteral("16|59")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from imexsrglist")), QStringList{QStringLiteral("0")});
}

TEST_F(ExBillTest, QuantitiesAndAmountsAreCheckedAgainstTheSnapshot)
{
    auto bill = OpenExBill();
    AddBatchLine(*bill, 2);   // 6 at 4, 24
    TClientDataSet& d = bill->CDSdetail;
    auto f = [&d](const char* name) { return d.FieldByName(QString::fromLatin1(name)); };
    struct Case {
        const char* field;
        double value;
        const char* message;   // empty: none
        const char* after;     // qty|dprice
    };
    const Case cases[] = {
        {"qty", 7, "出库量(7)>制单时的库存量(6)！", "6|24"},
        {"qty", 2.5, "", "2.5|10"},
        {"sprice", 3.3, "", "2.5|8.25"},
        {"qty", 6, "", "6|24"},
        {"sprice", 4.1, "", "6|24"},
        {"dprice", 24.5, "出库金额(24.5)>库存金额(24)！", "6|24"},
        {"qty", -1, "", "-1|-4.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + "=" + std::to_string(c.value));
        DialogScript::ClearLog();
        d.Edit();
        f(c.field)->SetAsFloat(c.value);
        d.Post();
        EXPECT_EQ(Texts(), *c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
        EXPECT_EQ(Num(f("qty")) + QLatin1Char('|') + Num(f("dprice")), QString::fromLatin1(c.after));
    }
    // The purchase-currency amount against its own snapshot.
    DialogScript::ClearLog();
    d.Edit();
    f("rdprice")->SetAsFloat(30);
    d.Post();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("实价金额(30)>库存实价金额(24)！")});
    EXPECT_EQ(Num(f("rdprice")), QStringLiteral("24"));
}

TEST_F(ExBillTest, OverseasQuantityRecomputesThePurchaseAmount)
{
    systype = TSystype::overseas;
    auto bill = OpenExBill();
    AddBatchLine(*bill, 1);
    TClientDataSet& d = bill->CDSdetail;
    d.Edit();
    d.FieldByName(QStringLiteral("rsprice"))->SetAsFloat(3.2);
    d.FieldByName(QStringLiteral("qty"))->SetAsFloat(10);
    d.Post();
    // At the whole snapshot the settlement amount is the snapshot's, the purchase one recomputed.
    EXPECT_EQ(Num(d.FieldByName(QStringLiteral("dprice"))), QStringLiteral("35"));
    EXPECT_EQ(Num(d.FieldByName(QStringLiteral("rdprice"))), QStringLiteral("32"));
    EXPECT_EQ(bill->DBGridGx1->Columns()->Count(), 10);
}

TEST_F(ExBillTest, TheKindBoxesExcludeEachOther)
{
    auto bill = OpenExBill();
    auto click = [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); };
    click(bill->DBCheckBox1);
    EXPECT_TRUE(bill->DBCheckBox1->Checked());
    click(bill->DBCheckBox3);
    EXPECT_FALSE(bill->DBCheckBox3->Checked());
    click(bill->DBCheckBox1);
    EXPECT_FALSE(bill->DBCheckBox1->Checked());
    click(bill->DBCheckBox3);
    EXPECT_TRUE(bill->DBCheckBox3->Checked());
    click(bill->DBCheckBox1);
    EXPECT_FALSE(bill->DBCheckBox1->Checked());
    EXPECT_TRUE(bill->DBCheckBox3->Checked());
    // The return layout of dispatch code 14.
    auto rebill = std::make_unique<Tfrmbasicrebill>();
    apptest::showActive(rebill.get());
    rebill->newbill();
    QStringList titles;
    for (int i = 0; i < rebill->DBGridGx1->Columns()->Count(); ++i)
        titles << rebill->DBGridGx1->Columns()->Items(i)->Title()->Caption();
    EXPECT_EQ(titles.join(QLatin1Char(',')),
              QStringLiteral("材料名称,规格型号,计量单位,数量,出库价格|单价,出库价格|复价,价让价格|单价,价让价格|复价,备注"));
}

TEST_F(ExBillTest, AClickThatClosesADropDownNeverReachesTheControlBeneath)
{
    auto bill = OpenExBill();
    TDBCheckBox* box = bill->DBCheckBox3;
    // Where the unit picker's node lies over the box "为转帐暂办退库用" and the clerk double-clicks.
    const QPoint target = box->mapToGlobal(QPoint(6, box->height() / 2));
    const ulong start = 100000;
    auto send = [&target](QWidget* window, QEvent::Type type, ulong time) {
        QWindow* handle = window->windowHandle();
        const QPointF local = handle->mapFromGlobal(QPointF(target));
        QMouseEvent e(type, local, local, QPointF(target), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        e.setTimestamp(time);
        QCoreApplication::sendEvent(handle, &e);
        QApplication::processEvents();
    };
    DialogScript::AnswerForm([&](TForm& f) {
        auto& p = dynamic_cast<TfrmBasictreeshow&>(f);
        TTreeNode* node = NodeNamed(p.treelist, QStringLiteral("一工区"));
        node->MakeVisible();
        const QPoint at = p.treelist->viewport()->mapToGlobal(p.treelist->visualItemRect(node->Item()).center());
        p.move(p.pos() + target - at);
        QApplication::processEvents();
        EXPECT_EQ(p.treelist->itemAt(p.treelist->viewport()->mapFromGlobal(target)), node->Item());
        // The first click of the double click chooses the unit and closes the picker.
        send(&p, QEvent::MouseButtonPress, start);
        send(&p, QEvent::MouseButtonRelease, start + 60);
        return mrCancel;
    });
    bill->SpeedButton2Click();
    EXPECT_EQ(bill->cdsmaster.FieldByName(QStringLiteral("dptname"))->AsString(), QStringLiteral("一工区"));
    // The second click comes down where the picker was: on the box.
    send(bill.get(), QEvent::MouseButtonPress, start + 150);
    send(bill.get(), QEvent::MouseButtonDblClick, start + 150);
    send(bill.get(), QEvent::MouseButtonRelease, start + 210);
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(bill->cdsmaster.FieldByName(QStringLiteral("breb"))->AsBoolean());
    // A click of its own, later, ticks it.
    send(bill.get(), QEvent::MouseButtonPress, start + 5000);
    send(bill.get(), QEvent::MouseButtonRelease, start + 5060);
    EXPECT_TRUE(box->isChecked());
}
