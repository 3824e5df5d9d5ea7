// Two workstations on one account set of the database server: two program processes, one
// saving and auditing stock-in bills while the other takes bill numbers for bills of its own
// and opens the queries. No number is handed out twice, no posting is lost, and both see the
// same stock afterwards. The workstations are this test program started twice more, each in
// the role named by DPX_WS_ROLE, on the program folder of the test that starts them.
#include "whole_fixture.h"

#include "app/bill_support.h"
#include "reports/QueryBills.h"
#include "reports/StockQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

namespace {

constexpr int kBills = 10;   // bills each workstation saves

// The bill fixture's helpers (heads picked through the drop-downs, lines typed).
struct BillSteps : BillTest {
    using BillTest::AddLine;
    using BillTest::FillHead;
};

QString envText(const char* name) { return qEnvironmentVariable(name); }

void writeLines(const QString& file, const QStringList& lines)
{
    QFile f(file);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write((lines.join(u'\n') + u'\n').toUtf8());
}

QStringList readLines(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// The stock of every material as the stock query shows it: "name|quantity|amount", sorted.
QStringList stockShown()
{
    TfrmQueryStorage form;
    apptest::showActive(&form);
    EXPECT_TRUE(form.breednodes->setselectnode(1));
    form.acQuery->trigger();
    QStringList out;
    for (form.adoqry.First(); !form.adoqry.Eof(); form.adoqry.Next())
        out << form.adoqry.FieldByName(QStringLiteral("mname"))->AsString() + u'|'
                   + QString::number(form.adoqry.FieldByName(QStringLiteral("qty"))->AsFloat()) + u'|'
                   + QString::number(form.adoqry.FieldByName(QStringLiteral("cost"))->AsFloat());
    out.sort();
    return out;
}

} // namespace

// One workstation: logs in through the login dialog, then as "writer" saves and audits stock-in
// bills, as "reader" takes bill numbers for bills it saves unaudited and runs the queries between
// them. When both are done it writes the numbers it took and the stock it sees.
TEST(WholeWorkstation, Role)
{
    const QString role = envText("DPX_WS_ROLE");
    if (role.isEmpty())
        GTEST_SKIP() << "started by WholeWorkstations.TwoProgramsOnOneAccountSet";
    const QString folder = envText("DPX_WS_FOLDER");
    SetProgramDirForTesting(folder);
    apptest::resetContext();
    InstallDialogMessageSink();
    InitDBGridGxUnits();
    DialogScript::Start();
    TFormRegistry::Entries().clear();
    RegisterAppForms();
    RegisterQueryForms();
    {
        auto dm = std::make_unique<TrmtDM>();
        ASSERT_TRUE(dbconnected);
        {
            TfrmLogin login;
            login.show();
            QApplication::processEvents();
            login.Edit1->setText(role == QLatin1String("writer") ? QStringLiteral("admin") : QStringLiteral("clerk"));
            login.Edit2->setText(role == QLatin1String("writer") ? QStringLiteral("tulip") : QStringLiteral("123"));
            ASSERT_TRUE(login.cdsbillselect.Locate(QStringLiteral("dbname"), Variant(QStringLiteral("acct")), loCaseInsensitive));
            login.Button1->Click();
        }
        ASSERT_TRUE(loggedin) << DialogScript::Texts().join(u'\n').toStdString();
        DialogScript::ClearLog();

        QStringList numbers;
        for (int i = 0; i < kBills; ++i) {
            if (role == QLatin1String("reader")) {
                Tfrmqueryimbill query;
                apptest::showActive(&query);
                query.acQuery->trigger();
                stockShown();
            }
            Tfrmbasicimbill bill;
            apptest::showActive(&bill);
            bill.newbill();
            BillSteps::FillHead(bill);
            if (role == QLatin1String("writer"))
                BillSteps::AddLine(bill, 7, 1, 10);   // batch-priced steel
            else
                BillSteps::AddLine(bill, 8, 2, 5);    // cement, saved but not audited
            bill.acSaveExecute();
            ASSERT_EQ(DialogScript::Texts().value(DialogScript::Texts().size() - 1), QStringLiteral("哈哈，保存成功！"))
                << DialogScript::Texts().join(u'\n').toStdString();
            DialogScript::ClearLog();
            if (role == QLatin1String("writer")) {
                bill.acAuditingExecute();
                ASSERT_EQ(bill.btnState(), 7) << DialogScript::Texts().join(u'\n').toStdString();
            }
            DialogScript::ClearLog();
            numbers << bill.cdsmaster.FieldByName(QStringLiteral("billnum"))->AsString();
        }

        // Both finish their bills before either looks at the stock.
        writeLines(folder + QStringLiteral("/") + role + QStringLiteral(".done"), {QStringLiteral("done")});
        const QString other = folder + (role == QLatin1String("writer") ? QStringLiteral("/reader.done") : QStringLiteral("/writer.done"));
        QElapsedTimer wait;
        wait.start();
        while (!QFile::exists(other) && wait.elapsed() < 120000)
            QThread::msleep(50);
        ASSERT_TRUE(QFile::exists(other)) << "the other workstation did not finish";
        writeLines(folder + QStringLiteral("/") + role + QStringLiteral(".numbers"), numbers);
        writeLines(folder + QStringLiteral("/") + role + QStringLiteral(".stock"), stockShown());
    }
    DialogScript::Stop();
    DoneDBGridGxUnits();
    SetProgramDirForTesting(QString());
}

class WholeWorkstations : public WholeTest {};

TEST_F(WholeWorkstations, TwoProgramsOnOneAccountSet)
{
    if (!dpxtest::onServer())
        GTEST_SKIP() << "two workstations share the database server";
    ASSERT_TRUE(CreateAccountSet(QStringLiteral("acct"))) << lastCreation.toStdString();
    ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("admin"), QStringLiteral("tulip")));
    // The bill fixture's master data: bill categories with their number pool, a supplier, a
    // source, the steel and cement categories; and the clerk of the second workstation.
    const char* rows[] = {
        "insert into billtype (typename,code,ibnum,ebnum) values ('A','11',1,1)",
        "update breedlist set bparent=1 where fid=1",
        "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate,visibled) values (101,1,'000101',1,0,'钢材',0,0,0,1)",
        "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate,visibled) values (102,1,'000102',1,0,'水泥',1,0,0,1)",
        "insert into mtrlist (FID,bID,code,mname,mtype,munit) values (7,101,'000101','圆钢','Φ12','吨')",
        "insert into mtrlist (FID,bID,code,mname,mtype,munit) values (8,102,'000102','水泥','P.O42.5','吨')",
        "update suplist set bparent=1 where fid=1",
        "insert into suplist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) values (2,1,'000002',1,0,'华丰钢厂',1,0,0)",
        "insert into currencyset (cryname,tobalance,isbalance,visibled) values ('人民币',1,1,1)",
        "insert into userpw (Uname,Password,isadmin,visibled) values ('clerk','123',0,1)",
    };
    for (const char* s : rows)
        Exec(QStringLiteral("acct"), QString::fromUtf8(s));
    ASSERT_TRUE(dm->deletebilltypelist());
    ASSERT_TRUE(dm->createnewbilltypelist({QStringLiteral("11")}));
    ChoosePrintTemplates(QStringLiteral("acct"));

    // Both workstations at once.
    QProcess writer, reader;
    for (auto [p, role] : {std::pair{&writer, "writer"}, std::pair{&reader, "reader"}}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DPX_WS_ROLE"), QString::fromLatin1(role));
        env.insert(QStringLiteral("DPX_WS_FOLDER"), Folder());
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=WholeWorkstation.Role"), QStringLiteral("--gtest_brief=1")});
    }
    for (QProcess* p : {&writer, &reader}) {
        ASSERT_TRUE(p->waitForFinished(300000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAll().toStdString();
    }

    // Every bill saved, every number once, and each workstation's numbers are the bills it saved.
    const QStringList byWriter = readLines(Path(QStringLiteral("writer.numbers")));
    const QStringList byReader = readLines(Path(QStringLiteral("reader.numbers")));
    ASSERT_EQ(byWriter.size(), kBills);
    ASSERT_EQ(byReader.size(), kBills);
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select count(*),count(distinct billnum) from ibmaster")),
              QStringList{QStringLiteral("%1|%1").arg(2 * kBills)});
    QStringList all = byWriter + byReader;
    all.removeDuplicates();
    EXPECT_EQ(all.size(), 2 * kBills);
    // Every audit posted: the audited bills, a price batch each, the steel's stock and ledger.
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select count(*) from ibmaster where brecorded=1")),
              QStringList{QString::number(kBills)});
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select count(*),sum(qty) from mrplist where mid=7")),
              QStringList{QStringLiteral("%1|%1").arg(kBills)});
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select qty,cost from msrglist where mid=7")),
              QStringList{QStringLiteral("%1|%2").arg(kBills).arg(10 * kBills)});
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select count(*) from msrglist where mid=8")),
              QStringList{QStringLiteral("0")});
    // Both workstations see that stock.
    const QStringList seen = readLines(Path(QStringLiteral("writer.stock")));
    EXPECT_EQ(seen, QStringList{QStringLiteral("圆钢|%1|%2").arg(kBills).arg(10 * kBills)});
    EXPECT_EQ(readLines(Path(QStringLiteral("reader.stock"))), seen);
}
