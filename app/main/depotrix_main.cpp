// Depotrix: start-up of the warehouse client. The data module comes first (it reads the
// connection settings and connects to master), then the main window; the event loop runs until
// the main window closes.
#include "app/FormRegistry.h"
#include "app/MainForm.h"
#include "data/DM.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/gui/Application.h"
#include "reports/DesignerForm.h"
#include "reports/QueryRegistry.h"
#include "reports/StatRegistry.h"

#include <memory>

int main(int argc, char** argv)
{
    TQtApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Depotrix"));
    Application->SetTitle(QStringLiteral("Depotrix"));
    Application->Initialize();
    InitDBGridGxUnits();
    RegisterAppForms();
    RegisterDesignerForms();
    RegisterStatForms();
    RegisterQueryForms();
    auto dm = std::make_unique<TrmtDM>();
    int code = 0;
    {
        TCMainform mainform;
        Application->SetMainForm(&mainform);
        code = Application->Run();
        Application->SetMainForm(nullptr);
    }
    DoneDBGridGxUnits();
    return code;
}
