#pragma once
// The whole program on a real account set: the shell's fixture with every library's forms
// registered, as the program registers them at start-up, and the bill print templates chosen
// for the account set (log/printsetting.ini), so that every leaf of the function tree opens.
#include "app/app_fixture.h"
#include "platform/rtl/IniFile.h"
#include "reports/DesignerForm.h"
#include "reports/QueryRegistry.h"
#include "reports/StatRegistry.h"

class WholeTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        if (HasFatalFailure())
            return;
        RegisterDesignerForms();
        RegisterStatForms();
        RegisterQueryForms();
    }

    // Puts the build's print templates into the program folder and names the bill templates of
    // account set db, as the system settings form does.
    void ChoosePrintTemplates(const QString& db, const QString& stockin = QStringLiteral("材料入库单（运杂类）.prt"),
                              const QString& stockout = QStringLiteral("材料出库单（普通型）.prt"))
    {
        const QDir built(QStringLiteral(DPX_BIN_DIR "/dpxprt"));
        for (const QString& f : built.entryList(QDir::Files))
            QFile::copy(built.filePath(f), Path(QStringLiteral("dpxprt/") + f));
        TIniFile ini(Path(QStringLiteral("log/printsetting.ini")));
        ini.WriteString(db, QStringLiteral("imbillprint"), stockin);
        ini.WriteString(db, QStringLiteral("exbillprint"), stockout);
    }
};
