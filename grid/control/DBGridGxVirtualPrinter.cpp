#include "DBGridGxVirtualPrinter.h"
#include <QFontDatabase>
#include <QPrinter>

bool TVirtualPrinter::Aborted() const { return Target()->Aborted(); }
TCanvas* TVirtualPrinter::Canvas() const { return Target()->Canvas(); }
QStringList TVirtualPrinter::Fonts() const { return QFontDatabase::families(); }
QPrinter* TVirtualPrinter::Handle() const { return Target()->QtPrinter(); }

int TVirtualPrinter::Copies() const
{
    QPrinter* p = Handle();
    return p ? p->copyCount() : 1;
}

TPrinterOrientation TVirtualPrinter::Orientation() const { return Target()->Orientation(); }
int TVirtualPrinter::PageHeight() const { return Target()->PageHeight(); }
int TVirtualPrinter::PageWidth() const { return Target()->PageWidth(); }
int TVirtualPrinter::PageNumber() const { return Target()->PageNumber(); }
bool TVirtualPrinter::Printing() const { return Target()->Printing(); }
QString TVirtualPrinter::Title() const { return Target()->Title(); }
int TVirtualPrinter::FullPageWidth() const { return PageWidth() + 2 * PhysicalOffsetX(); }
int TVirtualPrinter::FullPageHeight() const { return PageHeight() + 2 * PhysicalOffsetY(); }
int TVirtualPrinter::PrinterIndex() const { return Target()->PrinterIndex(); }
QStringList TVirtualPrinter::Printers() const { return Target()->Printers(); }
int TVirtualPrinter::PixelsPerInchX() const { return Target()->PixelsPerInchX(); }
int TVirtualPrinter::PixelsPerInchY() const { return Target()->PixelsPerInchY(); }
void TVirtualPrinter::SetPrinterIndex(int value) { Target()->SetPrinterIndex(value); }

void TVirtualPrinter::SetCopies(int value)
{
    if (QPrinter* p = Handle())
        p->setCopyCount(value);
}

void TVirtualPrinter::SetOrientation(TPrinterOrientation value) { Target()->SetOrientation(value); }
void TVirtualPrinter::SetTitle(const QString& value) { Target()->SetTitle(value); }
void TVirtualPrinter::Abort() { Target()->Abort(); }
void TVirtualPrinter::BeginDoc() { Target()->BeginDoc(); }
void TVirtualPrinter::EndDoc() { Target()->EndDoc(); }
void TVirtualPrinter::NewPage() { Target()->NewPage(); }

void TVirtualPrinter::GetPrinter(QString& device, QString& driver, QString& port) const
{
    device = Target()->PrinterName();
    driver.clear();
    port.clear();
}

void TVirtualPrinter::SetPrinter(const QString& device, const QString&, const QString&)
{
    Target()->SetPrinterIndex(Target()->Printers().indexOf(device));
}

int TVirtualPrinter::PhysicalOffsetX() const
{
    QPrinter* p = Handle();
    if (!p)
        return 0;
    const int res = p->resolution();
    return p->pageLayout().paintRectPixels(res).left() - p->pageLayout().fullRectPixels(res).left();
}

int TVirtualPrinter::PhysicalOffsetY() const
{
    QPrinter* p = Handle();
    if (!p)
        return 0;
    const int res = p->resolution();
    return p->pageLayout().paintRectPixels(res).top() - p->pageLayout().fullRectPixels(res).top();
}
