// The sample account set as the first start registers it (scripts/first-accountset.sh on a
// program folder that lists no account set): its settings are ones the forms show, its print
// templates are chosen, and a new clerk writes, audits and prints a stock-in and a stock-out
// bill in it without visiting the settings, under numbers no bill of the set has.
#include "exbill_support.h"
#include "prt_support.h"

#include "app/SysSetForm.h"
#include "platform/gui/RadioGroup.h"

#include <QDir>
#include <QProcess>

class SampleSite : public ExBillTest {
protected:
    void SetUp() override
    {
        // The sample alone, without the account set of the other bill tests.
        AppTest::SetUp();
        if (HasFatalFailure())
            return;
        // The program folder as the build lays it out: the tool, the sample and the templates.
        const QDir templates(QStringLiteral(DPX_PROGRAM_DIR "/dpxprt"));
        for (const QString& name : templates.entryList({QStringLiteral("*.prt")}, QDir::Files))
            ASSERT_TRUE(QFile::copy(templates.filePath(name), Path(QStringLiteral("dpxprt/")) + name));
        ASSERT_TRUE(QFile::copy(dpxtest::sampleFile(), Path(QStringLiteral("backdata/materialdbsample"))));
        ASSERT_TRUE(QFile::link(QStringLiteral(DPX_BIN_DIR "/dpxsql"), Path(QStringLiteral("dpxsql"))));
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        script.setProcessEnvironment(env);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(QStringLiteral("bash"), {QStringLiteral(DPX_SCRIPTS_DIR "/first-accountset.sh"), Folder()});
        ASSERT_TRUE(script.waitForFinished(300000));
        ASSERT_EQ(script.exitCode(), 0) << script.readAll().toStdString();
        db = QStringLiteral("sample");
        ASSERT_TRUE(Login(db, QStringLiteral("admin"), QStringLiteral("tulip"))) << Texts().join(u'\n').toStdString();
        DialogScript::ClearLog();
    }

    static QStringList Fields(TDBGridGx* grid)
    {
        QStringList out;
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            out << grid->Columns()->Items(i)->FieldName();
        return out;
    }

    // The audited bill printed to a PDF, as text.
    static QString Printed(Tfrmbasicbill& bill, const QString& file)
    {
        EXPECT_TRUE(bill.acPrint->isEnabled());
        const QString pdf = prttest::Artifact(file);
        {
            prttest::PdfPrinterScope scope(pdf);
            bill.acPrint->trigger();
        }
        return prttest::PdfText(pdf);
    }

    QString Stock(int mid) { return Q(QStringLiteral("select qty from msrglist where mid=%1").arg(mid)).value(0); }

    // Fills a new bill's head from the two tree pickers (SpeedButton2, SpeedButton3) and takes a
    // number of the category 主材, which no bill of the table has yet; returns it.
    template <class Bill>
    QString WriteHead(Bill& bill, const QString& second, const QString& third, const QString& table)
    {
        const QStringList taken = Q(QStringLiteral("select billnum from ") + table);
        PickNode(second);
        bill.SpeedButton2Click();
        PickNode(third);
        bill.SpeedButton3Click();
        PickType(bill, QStringLiteral("主材"));
        const QString number = bill.cdsmaster.FieldByName(QStringLiteral("billnum"))->AsString();
        EXPECT_TRUE(number.startsWith(QStringLiteral("主材 11-"))) << number.toStdString();
        EXPECT_FALSE(taken.contains(number)) << number.toStdString();
        return number;
    }

    // Saves and audits the bill; its number is then the number of one bill of the table.
    void SaveAndAudit(Tfrmbasicbill& bill, const QString& number, const QString& table)
    {
        DialogScript::ClearLog();
        bill.acSaveExecute();
        bill.acAuditingExecute();
        EXPECT_EQ(Texts(), (QStringList{QStringLiteral("哈哈，保存成功！"), QStringLiteral("数据记帐成功！")}));
        EXPECT_EQ(Q(QStringLiteral("select count(*) from %1 where billnum='%2'").arg(table, number)),
                  QStringList{QStringLiteral("1")});
    }
};

TEST_F(SampleSite, ItsSettingsAreOnesTheFormsShowAndItsTemplatesAreChosen)
{
    EXPECT_EQ(imbillprintfile, QStringLiteral("材料入库单（成品型）.prt"));
    EXPECT_EQ(exbillprintfile, QStringLiteral("材料出库单（普通型）.prt"));
    // The settings form shows the stock-in layout the bill form lays out.
    {
        Tfrmsystemset settings;
        apptest::showActive(&settings);
        EXPECT_EQ(settings.RadioGroup1->ItemIndex(), int(imbilltype));
    }
    ASSERT_TRUE(imbilltype == 0 || imbilltype == 1) << int(imbilltype);
    const QStringList layouts[2] = {
        {QStringLiteral("mname"), QStringLiteral("mtype"), QStringLiteral("munit"), QStringLiteral("qty"),
         QStringLiteral("sprice"), QStringLiteral("dprice"), QStringLiteral("remark")},
        {QStringLiteral("mname"), QStringLiteral("mtype"), QStringLiteral("munit"), QStringLiteral("qty"),
         QStringLiteral("rprice"), QStringLiteral("expense"), QStringLiteral("amount"), QStringLiteral("sprice"),
         QStringLiteral("dprice"), QStringLiteral("remark")},
    };
    // Both bill forms open without asking for the templates.
    DialogScript::ClearLog();
    auto in = OpenBill();
    EXPECT_EQ(Fields(in->DBGridGx1), layouts[imbilltype]);
    auto out = OpenExBill();
    EXPECT_EQ(Texts(), QStringList());
}

TEST_F(SampleSite, ANewClerkWritesAuditsAndPrintsAStockInBill)
{
    const QString before = Stock(1);
    auto bill = OpenBill();
    const QString number = WriteHead(*bill, QStringLiteral("甲供"), QStringLiteral("华北钢铁贸易公司"), QStringLiteral("ibmaster"));
    // 10 t of 螺纹钢 at 4000: the price rules of the layout give the amount.
    AddLine(*bill, 1, 10, 4000);
    EXPECT_EQ(Num(bill->CDSdetail.FieldByName(QStringLiteral("dprice"))), QStringLiteral("40000"));
    SaveAndAudit(*bill, number, QStringLiteral("ibmaster"));
    EXPECT_EQ(Stock(1).toDouble(), before.toDouble() + 10);
    const QString text = Printed(*bill, QStringLiteral("sample_stockin_print.pdf"));
    for (const QString& s : {number, QStringLiteral("甲供"), QStringLiteral("螺纹钢"), QStringLiteral("40000")})
        EXPECT_TRUE(text.contains(s)) << s.toStdString() << "\n" << text.toStdString();
}

TEST_F(SampleSite, ANewClerkWritesAuditsAndPrintsAStockOutBill)
{
    const QStringList batch =
        Q(QStringLiteral("select fid,mid,qty from mrplist where qty>0 and block=0 and mid=1 order by fid")).value(0).split(u'|');
    ASSERT_EQ(batch.size(), 3);
    const QString before = Stock(1);
    auto bill = OpenExBill();
    const QString number = WriteHead(*bill, QStringLiteral("钢筋班"), QStringLiteral("1号住宅楼"), QStringLiteral("ebmaster"));
    AddBatchLine(*bill, batch[0].toInt());
    SaveAndAudit(*bill, number, QStringLiteral("ebmaster"));
    EXPECT_EQ(Stock(1).toDouble(), before.toDouble() - batch[2].toDouble());
    const QString text = Printed(*bill, QStringLiteral("sample_stockout_print.pdf"));
    for (const QString& s : {number, QStringLiteral("钢筋班"), QStringLiteral("1号住宅楼"), QStringLiteral("螺纹钢")})
        EXPECT_TRUE(text.contains(s)) << s.toStdString() << "\n" << text.toStdString();
}
