// depotrix-setup: installs Depotrix into a program folder the user chooses.
#include "DPXSetup.h"

#include "platform/gui/Application.h"

int main(int argc, char** argv)
{
    TQtApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Depotrix"));
    Application->Initialize();
    Application->SetTitle(QStringLiteral("Depotrix"));
    TCSetup form;
    Application->SetMainForm(&form);
    return Application->Run();
}
