// dpx-shots PROGRAM_FOLDER OUTPUT_FOLDER
//
// Takes pictures of the program as a user sees it on a real display (run it under Xvfb, see
// scripts/screenshots.sh): the main window after a login to the sample account set, a stock-in
// bill, the stock-in query, the in/out/stock report, a bill's grid with six-digit quantities,
// the stock-out picker with its batches and the material ledger; and a bill printed where there
// is no printer, into a PDF file (bill_printed.pdf). Each picture is a grab of the whole
// screen after the event loop has painted the form. Messages the forms raise are answered by
// the scripted dialog service and listed on standard error.
#include "app/FormRegistry.h"
#include "app/ExBill.h"
#include "app/ExPicker.h"
#include "app/ImBill.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "data/DM.h"
#include "data/frmconst.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ADOConnection.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Printer.h"
#include "platform/gui/TreeView.h"
#include "platform/rtl/Program.h"
#include "reports/DesignerForm.h"
#include "reports/LedgerForm.h"
#include "reports/QueryBills.h"
#include "reports/QueryRegistry.h"
#include "reports/StatMaterialReport.h"
#include "reports/StatRegistry.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <memory>

namespace {

QString g_out;
int g_failures = 0;

// Lets the window system map and paint what was shown.
void settle()
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 600) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
}

void shoot(QWidget* w, const char* name)
{
    w->show();
    w->raise();
    w->activateWindow();
    settle();
    const QPixmap pm = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString file = g_out + QLatin1Char('/') + QString::fromLatin1(name);
    if (pm.isNull() || !pm.save(file)) {
        std::fprintf(stderr, "dpx-shots: could not write %s\n", qPrintable(file));
        ++g_failures;
        return;
    }
    std::printf("%s\n", qPrintable(file));
}

// The first ids a statement reads (at most n).
QList<int> firstIds(const QString& sql, int n)
{
    DbResult r;
    rmtDM->ADOCon->Engine().Execute(sql, r);
    QList<int> ids;
    for (const auto& row : r.rows) {
        if (ids.size() == n) break;
        ids << row.front().ToInt();
    }
    return ids;
}

void reportMessages()
{
    for (const QString& t : DialogScript::Texts())
        std::fprintf(stderr, "dpx-shots: message: %s\n", t.toUtf8().constData());
    DialogScript::ClearLog();
}

} // namespace

int main(int argc, char** argv)
{
    TQtApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: dpx-shots PROGRAM_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    SetProgramDirForTesting(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    g_out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(g_out);
    Application->SetTitle(QStringLiteral("Depotrix"));
    Application->Initialize();
    InitDBGridGxUnits();
    RegisterAppForms();
    RegisterDesignerForms();
    RegisterStatForms();
    RegisterQueryForms();
    DialogScript::Start();
    int code = 0;
    {
        auto dm = std::make_unique<TrmtDM>();
        TCMainform mainform;
        mainform.show();
        settle();
        // The login through the main window's own button, as a user logs in.
        DialogScript::AnswerForm([](TForm& f) {
            auto& login = static_cast<TfrmLogin&>(f);
            login.Edit1->setText(QStringLiteral("admin"));
            login.Edit2->setText(QStringLiteral("tulip"));
            if (login.cdsbillselect.Locate(QStringLiteral("dbname"), Variant(QStringLiteral("sample")), loCaseInsensitive))
                login.Button1->Click();
            return mrNone;
        });
        mainform.toolbutton3->click();
        settle();
        reportMessages();
        if (!loggedin) {
            std::fprintf(stderr, "dpx-shots: the login failed\n");
            return 1;
        }
        shoot(&mainform, "main_window.png");

        {
            Tfrmbasicimbill bill(&mainform);
            DbResult first;
            rmtDM->ADOCon->Engine().Execute(QStringLiteral("select min(fid) from ibmaster"), first);
            bill.showbill(first.rows.isEmpty() ? 0 : first.rows.front().front().ToInt());
            shoot(&bill, "stockin_bill.png");
        }
        reportMessages();
        {
            Tfrmqueryimbill query(&mainform);
            query.show();
            settle();
            query.acQuery->trigger();
            shoot(&query, "stockin_query.png");
        }
        reportMessages();
        {
            Tfrmmaterialreport report(&mainform);
            report.show();
            settle();
            report.calsbill->trigger();
            shoot(&report, "stock_report.png");
        }
        reportMessages();

        // A bill's grid as a clerk fills it with six-digit quantities (not saved).
        {
            Tfrmbasicimbill bill(&mainform);
            bill.show();
            settle();
            bill.newbill();
            DbResult materials;
            rmtDM->ADOCon->Engine().Execute(
                QStringLiteral("select fid,mname,mtype,munit from mtrlist order by fid"), materials);
            const double figures[][2] = {{104000, 3.5}, {250000, 2.25}, {365000, 4.75}};
            const bool layoutA = imbilltype == 0;
            for (int i = 0; i < 3 && i < materials.rows.size(); ++i) {
                const auto& m = materials.rows[i];
                TClientDataSet& d = bill.CDSdetail;
                d.Append();
                d.FieldByName(QStringLiteral("mid"))->SetAsInteger(m[0].ToInt());
                d.FieldByName(QStringLiteral("mname"))->SetAsString(m[1].ToString());
                d.FieldByName(QStringLiteral("mtype"))->SetAsString(m[2].ToString());
                d.FieldByName(QStringLiteral("munit"))->SetAsString(m[3].ToString());
                d.FieldByName(QStringLiteral("qty"))->SetAsFloat(figures[i][0]);
                d.FieldByName(layoutA ? QStringLiteral("sprice") : QStringLiteral("rprice"))->SetAsFloat(figures[i][1]);
                d.FieldByName(layoutA ? QStringLiteral("dprice") : QStringLiteral("amount"))
                    ->SetAsFloat(figures[i][0] * figures[i][1]);
                d.Post();
            }
            shoot(&bill, "bill_six_digit_quantities.png");
            bill.CDSdetail.CancelUpdates();   // not saved
        }
        reportMessages();

        // The stock-out picker with the batches of the first material that has some.
        {
            Tfrmbasicexbill bill(&mainform);
            bill.show();
            settle();
            bill.newbill();
            bool batches = false;
            DialogScript::AnswerForm([&batches](TForm& f) {
                auto& picker = dynamic_cast<Tfrmexdetail&>(f);
                picker.show();
                settle();
                if (TTreeNode* root = picker.TreeView1->Items()->GetFirstNode()) {
                    picker.TreeView1->SetSelected(root);
                    picker.TreeView1Change(picker.TreeView1, root);
                }
                for (picker.ClientDataSet1.First(); !picker.ClientDataSet1.Eof() && !batches; picker.ClientDataSet1.Next()) {
                    picker.DBGridGx1DblClick();
                    batches = picker.batchview();
                }
                shoot(&picker, "stockout_picker_batches.png");
                return mrCancel;
            });
            bill.btlistaddClick();
            if (!batches) std::fprintf(stderr, "dpx-shots: no material of the sample has batches to show\n");
            if (DialogScript::PendingAnswers() > 0) {
                std::fprintf(stderr, "dpx-shots: the stock-out picker did not open\n");
                ++g_failures;
                reportMessages();
                DialogScript::Start();   // drops the answer left over
            }
            bill.CDSdetail.CancelUpdates();
        }
        reportMessages();

        // The material ledger of the material with the most entries, in the open period.
        {
            const QList<int> busiest =
                firstIds(QStringLiteral("select mid from imexsrglist group by mid order by count(*) desc, mid"), 1);
            Tfrmmtrimexsrg ledger(&mainform);
            ledger.show();
            settle();
            if (!busiest.isEmpty()) ledger.showMtrimexsrg(busiest.front(), curpid);
            shoot(&ledger, "material_ledger.png");
        }
        reportMessages();

        // A bill printed where there is no printer: into the PDF file the clerk names (the
        // script turns its first page into a picture).
        {
            if (imbillprintfile.isEmpty()) imbillprintfile = QStringLiteral("材料入库单（成品型）.prt");
            Tfrmbasicimbill bill(&mainform);
            bill.show();
            settle();
            const QList<int> first = firstIds(QStringLiteral("select fid from ibmaster order by fid"), 1);
            bill.showbill(first.isEmpty() ? 0 : first.front());
            settle();
            const QString pdf = g_out + QStringLiteral("/bill_printed.pdf");
            QFile::remove(pdf);
            if (Printer()->HasPrinter()) Printer()->SetOutputFileName(pdf);
            else DialogScript::AnswerText(pdf);
            bill.acPrint->trigger();
            if (!QFile::exists(pdf)) {
                std::fprintf(stderr, "dpx-shots: the bill was not printed to %s\n", qPrintable(pdf));
                ++g_failures;
            } else {
                std::printf("%s\n", qPrintable(pdf));
            }
        }
        reportMessages();
        code = g_failures ? 1 : 0;
    }
    DialogScript::Stop();
    DoneDBGridGxUnits();
    return code;
}
