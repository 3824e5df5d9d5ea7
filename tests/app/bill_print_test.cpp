// The stock-in bill's return picker, its printing through the generated template, and a
// picture of a bill with five lines.
#include "bill_support.h"
#include "prt_support.h"

#include "app/ReturnPicker.h"
#include "platform/gui/FontScale.h"
#include "data/DM.h"
#include "platform/gui/Printer.h"

class BillPrintTest : public BillTest {
protected:
    // Saves and audits a bill of the supplier with the given lines (material, qty, unit price).
    int AuditedBill(std::initializer_list<std::tuple<int, double, double>> lines)
    {
        auto bill = OpenBill();
        FillHead(*bill);
        for (const auto& [mid, qty, price] : lines)
            AddLine(*bill, mid, qty, price);
        bill->acSaveExecute();
        bill->acAuditingExecute();
        return bill->billid();
    }
    // An audited bill of the given lines, shown to be printed through the stock-in template (the
    // form takes the template when it is made).
    std::unique_ptr<Tfrmbasicimbill> PrintableBill(std::initializer_list<std::tuple<int, double, double>> lines)
    {
        const QString name = QStringLiteral("材料入库单（成品型）.prt");
        EXPECT_TRUE(QFile::copy(QStringLiteral(DPX_PROGRAM_DIR "/dpxprt/") + name, Path(QStringLiteral("dpxprt/")) + name));
        imbillprintfile = name;
        const int id = AuditedBill(lines);
        auto bill = std::make_unique<Tfrmbasicimbill>();
        apptest::showActive(bill.get());
        bill->showbill(id);
        return bill;
    }

    // The material names the return picker of the bill offers under a category.
    static QStringList Offered(Tfrmbasicbill& bill, const QString& category)
    {
        QStringList offered;
        DialogScript::AnswerForm([&](TForm& f) {
            auto& p = dynamic_cast<Tfrmimdetail_R&>(f);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, category));
            for (p.cdsbaseinfo.First(); !p.cdsbaseinfo.Eof(); p.cdsbaseinfo.Next())
                offered << p.cdsbaseinfo.FieldByName(QStringLiteral("mname"))->AsString();
            return mrNo;
        });
        bill.btlistaddClick();
        return offered;
    }
};

TEST_F(BillPrintTest, ReturnPickerOffersAuditedLinesNotYetReturned)
{
    const int recent = AuditedBill({{7, 10, 3.5}, {8, 4, 2.25}});
    const int old = AuditedBill({{7, 6, 3}});
    X(QStringLiteral("update ibmaster set pid=pid-4 where fid=%1").arg(old));   // outside the window
    {
        auto draft = OpenBill();   // saved, not audited: not offered
        FillHead(*draft);
        AddLine(*draft, 7, 2, 1);
        draft->acSaveExecute();
    }
    auto bill = OpenBill();
    FillHead(*bill);
    bill->cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(true);
    QStringList offered;
    DialogScript::AnswerForm([&](TForm& f) {
        auto& p = dynamic_cast<Tfrmimdetail_R&>(f);
        EXPECT_EQ(p.windowTitle(), QStringLiteral("选择退货材料项"));
        EXPECT_EQ(p.width(), Scaled(850));   // the designed width, for this font
        EXPECT_FALSE(p.sbinsert->isEnabled());
        ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("材料分类")));
        for (p.cdsbaseinfo.First(); !p.cdsbaseinfo.Eof(); p.cdsbaseinfo.Next())
            offered << p.cdsbaseinfo.FieldByName(QStringLiteral("billnum"))->AsString() + QLatin1Char('|')
                           + p.cdsbaseinfo.FieldByName(QStringLiteral("mname"))->AsString() + QLatin1Char('|')
                           + Num(p.cdsbaseinfo.FieldByName(QStringLiteral("rqty")));
        p.cdsbaseinfo.First();
        p.DBGridGx1DblClick();
        return mrNo;
    });
    DialogScript::ClearLog();
    bill->btlistaddClick();
    EXPECT_EQ(offered, (QStringList{QStringLiteral("A 11-1|圆钢|10"), QStringLiteral("A 11-1|水泥|4")}));
    EXPECT_EQ(returnsupid, 2);
    TClientDataSet& d = bill->CDSdetail;
    ASSERT_EQ(d.State(), dsInsert);   // left for the bill to complete
    d.Post();
    ASSERT_EQ(d.RecordCount(), 1);
    EXPECT_EQ(QStringLiteral("%1|%2|%3|%4|%5")
                  .arg(Num(d.FieldByName(QStringLiteral("idid"))), Num(d.FieldByName(QStringLiteral("qty"))),
                       Num(d.FieldByName(QStringLiteral("sprice"))), Num(d.FieldByName(QStringLiteral("dprice"))),
                       d.FieldByName(QStringLiteral("remark"))->AsString()),
              Q(QStringLiteral("select fid from ibdetail where iid=%1 and mid=7").arg(recent)).value(0)
                  + QStringLiteral("|-10|3.5|-35|冲帐或退货"));
    bill->acSaveExecute();

    // Returned in full, the line is offered no more.
    bill->acEditExecute();
    EXPECT_EQ(Offered(*bill, QStringLiteral("材料分类")), QStringList{QStringLiteral("水泥")});
}

// A category's code is a prefix, not a pattern: a "_" in it stands for itself.
TEST_F(BillPrintTest, ReturnPickerTakesTheCategoryCodeAsItIs)
{
    X(QStringLiteral("update breedlist set code='A_' where fid=101"));
    X(QStringLiteral("update breedlist set code='AB' where fid=102"));
    AuditedBill({{7, 10, 3.5}, {8, 4, 2.25}});
    auto bill = OpenBill();
    FillHead(*bill);
    bill->cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(true);
    EXPECT_EQ(Offered(*bill, QStringLiteral("钢材")), QStringList{QStringLiteral("圆钢")});
}

TEST_F(BillPrintTest, AnAuditedBillPrintsThroughTheStockInTemplate)
{
    auto printable = PrintableBill({{7, 10, 3.5}, {8, 4, 2.25}});
    Tfrmbasicimbill& bill = *printable;
    EXPECT_EQ(bill.btnState(), 7);
    ASSERT_TRUE(bill.acPrint->isEnabled());
    const QString pdf = prttest::Artifact(QStringLiteral("bill_stockin_print.pdf"));
    {
        prttest::PdfPrinterScope scope(pdf);
        bill.acPrint->trigger();
    }
    const QString text = prttest::PdfText(pdf);
    for (const char* s : {"A 11-1", "甲供", "肆拾肆元", "圆钢", "Φ12", "水泥", "35", "2.25"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
}

TEST_F(BillPrintTest, WithoutAPrinterTheBillGoesToAPdfTheClerkNames)
{
    if (!Printer()->Printers().isEmpty()) GTEST_SKIP() << "a printer is installed";
    ASSERT_TRUE(Printer()->OutputFileName().isEmpty());
    auto printable = PrintableBill({{7, 104000, 3.5}, {8, 4, 2.25}});
    Tfrmbasicimbill& bill = *printable;
    ASSERT_TRUE(bill.acPrint->isEnabled());

    // The clerk is offered a file instead of the printer; cancelled, nothing is printed or said.
    DialogScript::ClearLog();
    DialogScript::Answer(mrCancel);
    bill.acPrint->trigger();
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(DialogScript::Log()[0].Kind, QStringLiteral("SaveDialog"));
    EXPECT_EQ(DialogScript::Log()[0].Caption, QStringLiteral("没装打印机，票据存为PDF文件"));

    // Named, the bill is printed into it, and the printer asks again next time.
    const QString pdf = Path(QStringLiteral("入库单 A 11-1"));
    DialogScript::ClearLog();
    DialogScript::AnswerText(pdf);
    bill.acPrint->trigger();
    ASSERT_EQ(DialogScript::Log().size(), 1) << DialogScript::Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(DialogScript::Log()[0].Kind, QStringLiteral("SaveDialog"));
    ASSERT_TRUE(QFile::exists(pdf + QStringLiteral(".pdf")));
    EXPECT_EQ(prttest::PdfPages(pdf + QStringLiteral(".pdf")), 1);
    const QString text = prttest::PdfText(pdf + QStringLiteral(".pdf"));
    for (const char* s : {"A 11-1", "圆钢", "104000", "水泥"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
    EXPECT_TRUE(Printer()->OutputFileName().isEmpty());
}

TEST_F(BillPrintTest, FiveLineBillPicture)
{
    imbilltype = 1;
    auto bill = OpenBill();
    FillHead(*bill);
    struct L {
        int mid;
        double qty, rprice, expense;
    };
    for (const L& l : {L{7, 10, 350, 20}, L{8, 40, 900, 35.5}, L{9, 6, 80, 0}, L{7, 2.5, 90, 5}, L{8, -3, -66, 0}}) {
        TClientDataSet& d = bill->CDSdetail;
        d.Append();
        d.FieldByName(QStringLiteral("mid"))->SetAsInteger(l.mid);
        d.FieldByName(QStringLiteral("qty"))->SetAsFloat(l.qty);
        d.FieldByName(QStringLiteral("rprice"))->SetAsFloat(l.rprice);
        d.FieldByName(QStringLiteral("expense"))->SetAsFloat(l.expense);
        d.Post();
    }
    bill->acSaveExecute();
    ASSERT_EQ(bill->CDSdetail.RecordCount(), 5);
    QApplication::processEvents();
    const QString png = apptest::artifact(QStringLiteral("bill_stockin_five_lines.png"));
    ASSERT_TRUE(bill->grab().save(png));
}

TEST_F(BillPrintTest, APartlyReturnedLineOffersItsRest)
{
    const int recent = AuditedBill({{7, 10, 3.5}});
    const QString line = Q(QStringLiteral("select fid from ibdetail where iid=%1").arg(recent)).value(0);
    {
        // 4 of the 10 were returned by a saved return bill.
        auto back = OpenBill();
        FillHead(*back);
        back->cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(true);
        TClientDataSet& d = back->CDSdetail;
        d.Append();
        d.FieldByName(QStringLiteral("mid"))->SetAsInteger(7);
        d.FieldByName(QStringLiteral("idid"))->SetAsInteger(line.toInt());
        d.FieldByName(QStringLiteral("qty"))->SetAsFloat(-4);
        d.FieldByName(QStringLiteral("sprice"))->SetAsFloat(3.5);
        d.Post();
        back->acSaveExecute();
    }
    auto bill = OpenBill();
    FillHead(*bill);
    bill->cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(true);
    DialogScript::AnswerForm([&](TForm& f) {
        auto& p = dynamic_cast<Tfrmimdetail_R&>(f);
        ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
        EXPECT_EQ(p.cdsbaseinfo.RecordCount(), 1);
        p.choose()->Click();
        return mrNone;
    });
    bill->btlistaddClick();
    TClientDataSet& d = bill->CDSdetail;
    d.Post();
    EXPECT_EQ(Num(d.FieldByName(QStringLiteral("qty"))) + QLatin1Char('|') + Num(d.FieldByName(QStringLiteral("dprice")))
                  + QLatin1Char('|') + Num(d.FieldByName(QStringLiteral("idid"))),
              QStringLiteral("-6|-21|") + line);
}
