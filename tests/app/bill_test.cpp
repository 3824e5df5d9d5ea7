// The stock-in bill through its form: the state machine, the numbering from the pool, and a
// bill saved, audited, reversed and deleted.
#include "bill_support.h"

namespace {

// The form's state as one line: panel 7, the ten toolbar buttons, the line buttons, whether
// the data are read-only, the audit button's caption.
QString Snapshot(Tfrmbasicimbill& b)
{
    QString buttons;
    for (QAction* a : {b.acInsert, b.acEdit, b.acCancel, b.acDelete, b.acSave, b.acAuditing, b.acPrint, b.sbprior,
                       b.sbnext, b.acExit})
        buttons += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return QStringLiteral("%1 %2 %3%4 %5 %6")
        .arg(b.StatusBar1->PanelText(7), buttons)
        .arg(b.btlistadd->isEnabled() ? 1 : 0)
        .arg(b.btlistdel->isEnabled() ? 1 : 0)
        .arg(b.dataReadOnly() ? QStringLiteral("ro") : QStringLiteral("rw"), b.acAuditing->text());
}

// The index of the grid's column of a field, -1 when it has none.
int ColumnOf(TDBGridGx* grid, const char* field)
{
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        if (grid->Columns()->Items(i)->FieldName() == QLatin1String(field))
            return i;
    return -1;
}

} // namespace

TEST_F(BillTest, StateMachineThroughTheLifeOfABill)
{
    auto bill = OpenBill();
    QStringList seen;
    auto step = [&](const char* event) { seen << QString::fromUtf8(event) + QStringLiteral(": ") + Snapshot(*bill); };
    step("newbill");
    FillHead(*bill);
    AddLine(*bill, 7, 10, 3.5);
    DialogScript::ClearLog();
    bill->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("哈哈，保存成功！")});
    step("saved");
    bill->acEditExecute();
    step("修改");
    bill->acCancelExecute();
    step("放弃");
    bill->showbill(bill->billid());
    step("showbill");
    bill->acAuditingExecute();
    step("audited");
    bill->acAuditingExecute();
    step("reversed");
    DialogScript::Answer(mrYes);
    bill->acDeleteExecute();
    step("deleted");
    const QStringList expected = {
        QStringLiteral("newbill: 新建 0010100001 11 rw 记帐"),
        QStringLiteral("saved: 保存 1100010111 00 ro 记帐"),
        QStringLiteral("修改: 修改 1011100001 11 rw 记帐"),
        QStringLiteral("放弃: 放弃 1100000111 00 rw 记帐"),
        QStringLiteral("showbill: 保存 1100000111 00 ro 记帐"),
        QStringLiteral("audited: 记帐 1000011111 00 ro 反记帐"),
        QStringLiteral("reversed: 保存 1100010111 00 ro 记帐"),
        QStringLiteral("deleted: 删除 1000000111 00 ro 记帐"),
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(bill->auditimage(), 5);
}

TEST_F(BillTest, NumbersComeFromThePoolAndGoBack)
{
    auto bill = OpenBill();
    PickType(*bill, QStringLiteral("A"));
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("A 11-1"));
    // The same category keeps the slot; another one swaps it.
    PickType(*bill, QStringLiteral("A"));
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("A 11-1"));
    PickType(*bill, QStringLiteral("B"));
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("B 11-1"));
    EXPECT_EQ(Q(QStringLiteral("select count(*) from billtypelist where im11=1")), QStringList{QStringLiteral("0")});
    PickType(*bill, QStringLiteral("A"));
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("A 11-1"));
    // A cancelled bill gives its slot back and the next bill takes it again.
    bill->acCancelExecute();
    EXPECT_EQ(Q(QStringLiteral("select count(*) from billtypelist where im11=1 or im12=1")), QStringList{QStringLiteral("0")});
    bill->newbill();
    FillHead(*bill);
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("A 11-1"));
    AddLine(*bill, 7, 1, 1);
    bill->acSaveExecute();
    EXPECT_EQ(Q(QStringLiteral("select billnum,bcode,bcodeid from ibmaster")), QStringList{QStringLiteral("A 11-1|im11|1")});
    bill->newbill();
    PickType(*bill, QStringLiteral("A"));
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("A 11-2"));

    // "新增" with edits asks first; No drops them and gives the slot back.
    DialogScript::ClearLog();
    DialogScript::Answer(mrYes);
    bill->acInsertExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("慢点，票据没保存,保存不?")});
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("A 11-2"));   // kept for saving
    DialogScript::Answer(mrNo);
    bill->acInsertExecute();
    EXPECT_EQ(Q(QStringLiteral("select fid from billtypelist where im11=1")), QStringList{QStringLiteral("1")});

    // The pool refills past its end.
    X(QStringLiteral("update billtypelist set im11=1"));
    PickType(*bill, QStringLiteral("A"));
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("A 11-50"));
}

TEST_F(BillTest, AnAbandonedEditKeepsTheStoredNumber)
{
    auto bill = OpenBill();
    FillHead(*bill);
    AddLine(*bill, 7, 1, 1);
    bill->acSaveExecute();
    const int id = bill->billid();
    bill->acEditExecute();
    PickType(*bill, QStringLiteral("B"));
    EXPECT_EQ(bill->DBEdit2->text(), QStringLiteral("B 11-1"));
    // Still held for the stored bill until a save commits the new number.
    EXPECT_EQ(Q(QStringLiteral("select fid from billtypelist where im11=1")), QStringList{QStringLiteral("1")});
    bill->acCancelExecute();
    EXPECT_EQ(Q(QStringLiteral("select count(*) from billtypelist where im12=1")), QStringList{QStringLiteral("0")});
    bill->showbill(id);
    EXPECT_EQ(bill->slotcode(), QStringLiteral("im11"));
    // Closing unsaved edits asks; this time the new number is saved and the old slot freed.
    bill->acEditExecute();
    PickType(*bill, QStringLiteral("B"));
    bill->acSaveExecute();
    EXPECT_EQ(Q(QStringLiteral("select billnum,bcode,bcodeid from ibmaster")), QStringList{QStringLiteral("B 11-1|im12|1")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from billtypelist where im11=1")), QStringList{QStringLiteral("0")});
    bill->acEditExecute();
    DialogScript::ClearLog();
    DialogScript::Answer(mrYes);
    EXPECT_FALSE(bill->CloseQuery());
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("慢点，票据没保存,保存不?")});
}

TEST_F(BillTest, SaveAuditReverseAndDelete)
{
    auto bill = OpenBill();
    FillHead(*bill);
    AddLine(*bill, 7, 10, 3.5);
    AddLine(*bill, 8, 4, 2.25);
    // A line left without a material disappears.
    bill->CDSdetail.Append();
    bill->CDSdetail.Post();
    EXPECT_EQ(bill->CDSdetail.RecordCount(), 2);
    // Source and number are required.
    bill->cdsmaster.FieldByName(QStringLiteral("cfid"))->SetAsInteger(0);
    DialogScript::ClearLog();
    bill->acSaveExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("来源及编号不能为空、选择吧！")});
    bill->cdsmaster.FieldByName(QStringLiteral("cfid"))->SetAsInteger(2);
    bill->acSaveExecute();
    const QString id = QString::number(bill->billid());
    EXPECT_EQ(Q(QStringLiteral("select billnum,cfid,supid,brecorded,breverse,lister from ibmaster")),
              QStringList{QStringLiteral("A 11-1|2|2|0|0|admin")});
    EXPECT_EQ(Q(QStringLiteral("select iid,mid,qty,sprice,dprice from ibdetail order by mid")),
              (QStringList{id + QStringLiteral("|7|10|3.5|35"), id + QStringLiteral("|8|4|2.25|9")}));

    DialogScript::ClearLog();
    bill->acAuditingExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("数据记帐成功！")});
    EXPECT_EQ(Q(QStringLiteral("select brecorded,assessor from ibmaster")), QStringList{QStringLiteral("1|admin")});
    EXPECT_EQ(Q(QStringLiteral("select mid,qty,cost from msrglist order by mid")),
              (QStringList{QStringLiteral("7|10|35"), QStringLiteral("8|4|9")}));
    EXPECT_EQ(Q(QStringLiteral("select mid,qty,sprice from mrplist order by mid")),
              (QStringList{QStringLiteral("7|10|3.5"), QStringLiteral("8|4|2.25")}));
    EXPECT_EQ(Q(QStringLiteral("select mid,maprice from maplist")), QStringList{QStringLiteral("8|2.25")});
    EXPECT_EQ(Q(QStringLiteral("select mid,iqty,idprice from imexsrglist order by mid")),
              (QStringList{QStringLiteral("7|10|35"), QStringLiteral("8|4|9")}));
    // An audited bill is not deleted.
    DialogScript::ClearLog();
    bill->acDeleteExecute();
    EXPECT_TRUE(Texts().isEmpty());
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ibmaster")), QStringList{QStringLiteral("1")});

    bill->acAuditingExecute();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("数据反记帐成功！")});
    EXPECT_EQ(Q(QStringLiteral("select brecorded from ibmaster")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from msrglist where qty<>0")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select mid,qty from mrplist order by mid")),
              (QStringList{QStringLiteral("7|0"), QStringLiteral("8|0")}));
    EXPECT_EQ(Q(QStringLiteral("select mid,sum(iqty),sum(idprice) from imexsrglist group by mid order by mid")),
              (QStringList{QStringLiteral("7|0|0"), QStringLiteral("8|0|0")}));

    // No keeps the bill; Yes deletes it with its lines and frees its slot.
    DialogScript::ClearLog();
    DialogScript::Answer(mrNo);
    bill->acDeleteExecute();
    EXPECT_EQ(Texts(), (QStringList{QStringLiteral("真要删除此票据？之后没法恢复哟！"), QStringLiteral("不被删除")}));
    DialogScript::ClearLog();
    DialogScript::Answer(mrYes);
    bill->acDeleteExecute();
    EXPECT_EQ(Texts().last(), QStringLiteral("按你的意思给删了!"));
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ibmaster")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ibdetail")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from billtypelist where im11=1")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(bill->btnState(), 5);
    EXPECT_TRUE(bill->cdsmaster.IsEmpty());
}

TEST_F(BillTest, EnterInAnEditedCellTakesTheValueAndMovesToTheNextColumn)
{
    auto bill = OpenBill();
    FillHead(*bill);
    TClientDataSet& d = bill->CDSdetail;
    d.Append();
    d.FieldByName(QStringLiteral("mid"))->SetAsInteger(7);
    d.FieldByName(QStringLiteral("mname"))->SetAsString(QStringLiteral("圆钢"));
    TDBGridGx* grid = bill->DBGridGx1;
    auto column = [grid](const char* field) { return ColumnOf(grid, field); };
    QApplication::setActiveWindow(bill.get());
    grid->setFocus();
    grid->SetSelectedIndex(column("qty"));
    QApplication::processEvents();
    // The clerk types the quantity, Enter, the price, Enter.
    auto type = [](const QString& text) {
        QWidget* editor = QApplication::focusWidget();
        ASSERT_TRUE(qobject_cast<QLineEdit*>(editor));
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    };
    type(QStringLiteral("10"));
    EXPECT_EQ(grid->SelectedIndex(), column("sprice"));
    type(QStringLiteral("4000"));
    EXPECT_EQ(grid->SelectedIndex(), column("dprice"));
    EXPECT_EQ(Num(d.FieldByName(QStringLiteral("qty"))), QStringLiteral("10"));
    EXPECT_EQ(Num(d.FieldByName(QStringLiteral("sprice"))), QStringLiteral("4000"));
    EXPECT_EQ(Num(d.FieldByName(QStringLiteral("dprice"))), QStringLiteral("40000"));
}

TEST_F(BillTest, AfterAnAuditTheCellEditorShowsItsOwnRowsValue)
{
    auto bill = OpenBill();
    FillHead(*bill);
    AddLine(*bill, 7, 10, 3.5);
    AddLine(*bill, 8, 2, 5);
    bill->acSaveExecute();
    TDBGridGx* grid = bill->DBGridGx1;
    const int dprice = ColumnOf(grid, "dprice");
    ASSERT_GE(dprice, 0);
    // The amount of the second line is clicked, then the bill is audited.
    QApplication::setActiveWindow(bill.get());
    grid->setFocus();
    QApplication::processEvents();
    const TRect cell = grid->CellRect(dprice + grid->FixedCols(), grid->TopRow() + 1);
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2));
    ASSERT_EQ(bill->CDSdetail.RecNo(), 2);
    bill->acAuditingExecute();
    QApplication::processEvents();
    // The editor, always shown, stands over a line and shows that line's amount.
    TInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_TRUE(editor);
    ASSERT_TRUE(editor->isVisible());
    const QPoint centre = editor->geometry().center();
    const TGridCoord at = grid->MouseCoord(centre.x(), centre.y());
    const QString shown = editor->text();
    QStringList amounts;
    for (bill->CDSdetail.First(); !bill->CDSdetail.Eof(); bill->CDSdetail.Next())
        amounts << bill->CDSdetail.FieldByName(QStringLiteral("dprice"))->Text();
    EXPECT_EQ(at.X, dprice + grid->FixedCols());
    EXPECT_EQ(shown, amounts.value(at.Y - grid->TopRow())) << amounts.join(QLatin1Char(',')).toStdString();
}
