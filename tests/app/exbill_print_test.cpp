// The stock-out bill printed through the generated stock-out template.
#include "exbill_support.h"
#include "prt_support.h"

TEST_F(ExBillTest, AnAuditedBillPrintsThroughTheStockOutTemplate)
{
    const QString name = QStringLiteral("材料出库单（普通型）.prt");
    ASSERT_TRUE(QFile::copy(QStringLiteral(DPX_PROGRAM_DIR "/dpxprt/") + name, Path(QStringLiteral("dpxprt/")) + name));
    exbillprintfile = name;
    auto bill = OpenExBill();
    FillExHead(*bill);
    AddBatchLine(*bill, 1);
    AddBatchLine(*bill, 2);
    bill->acSaveExecute();
    bill->acAuditingExecute();
    ASSERT_EQ(bill->btnState(), 7);
    const int id = bill->billid();
    bill.reset();

    Tfrmbasicexbill shown;
    apptest::showActive(&shown);
    shown.showbill(id);
    ASSERT_TRUE(shown.acPrint->isEnabled());
    const QString pdf = prttest::Artifact(QStringLiteral("bill_stockout_print.pdf"));
    {
        prttest::PdfPrinterScope scope(pdf);
        shown.acPrint->trigger();
    }
    const QString text = prttest::PdfText(pdf);
    for (const char* s : {"A 11-1", "一工区", "大桥", "圆钢", "Φ12", "35", "24"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s << "\n" << text.toStdString();
}
