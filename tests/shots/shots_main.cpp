// dpx-shots PROGRAM_FOLDER OUTPUT_FOLDER
//
// Takes pictures of the program as a user sees it on a real display (run it under Xvfb, see
// scripts/screenshots.sh): the main window after a login to the sample account set, a stock-in
// bill, the stock-in query and the in/out/stock report. Each picture is a grab of the whole
// screen after the event loop has painted the form. Messages the forms raise are answered by
// the scripted dialog service and listed on standard error.
#include "app/FormRegistry.h"
#include "app/ImBill.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "data/DM.h"
#include "data/frmconst.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ADOConnection.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Program.h"
#include "reports/DesignerForm.h"
#include "reports/QueryBills.h"
#include "reports/QueryRegistry.h"
#include "reports/StatMaterialReport.h"
#include "reports/StatRegistry.h"

#include <QDir>
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
        code = g_failures ? 1 : 0;
    }
    DialogScript::Stop();
    DoneDBGridGxUnits();
    return code;
}
