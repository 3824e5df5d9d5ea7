#include "Printer.h"

#include "platform/rtl/Exceptions.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
// Resolution of PDF output: a common laser-printer resolution.
constexpr int kPdfResolution = 600;
}

TPrinter::TPrinter() { ensurePrinter(); }

TPrinter::~TPrinter()
{
    if (m_printing) Abort();
}

void TPrinter::ensurePrinter()
{
    QString name = PrinterName();
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!m_outputFile.isEmpty()) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_outputFile);
        m_printer->setResolution(kPdfResolution);
    } else if (!name.isEmpty()) {
        m_printer->setPrinterName(name);
    }
    applyPage();
}

QStringList TPrinter::Printers() const { return QPrinterInfo::availablePrinterNames(); }

QString TPrinter::PrinterName() const
{
    if (m_index < 0) return QPrinterInfo::defaultPrinterName();
    QStringList names = Printers();
    return m_index < names.size() ? names[m_index] : QString();
}

void TPrinter::SetPrinterIndex(int index)
{
    if (m_printing) throw EPrinter(QStringLiteral("Printing in progress"));
    if (index < -1 || index >= Printers().size()) throw EPrinter(QStringLiteral("Printer index out of range"));
    m_index = index;
    ensurePrinter();
}

void TPrinter::SetOutputFileName(const QString& fileName)
{
    if (m_printing) throw EPrinter(QStringLiteral("Printing in progress"));
    m_outputFile = fileName;
    ensurePrinter();
}

bool TPrinter::HasPrinter() const { return !m_outputFile.isEmpty() || !PrinterName().isEmpty(); }

void TPrinter::SetPaperSize(int widthTenthsMm, int lengthTenthsMm)
{
    if (widthTenthsMm <= 0 || lengthTenthsMm <= 0) return;
    m_paperW = widthTenthsMm;
    m_paperL = lengthTenthsMm;
    applyPage();
}

void TPrinter::SetOrientation(TPrinterOrientation o)
{
    m_orientation = o;
    applyPage();
}

void TPrinter::applyPage()
{
    if (!m_printer) return;
    QPageSize size(QSizeF(m_paperW / 10.0, m_paperL / 10.0), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    QMarginsF margins(0, 0, 0, 0);
    if (m_outputFile.isEmpty()) {
        // A real printer cannot print to the paper's edge: keep its own margins.
        QPageLayout current = m_printer->pageLayout();
        margins = current.minimumMargins();
    }
    QPageLayout layout(size, m_orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
    layout.setMode(QPageLayout::StandardMode);
    m_printer->setPageLayout(layout);
}

int TPrinter::PageWidth() const
{
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).width();
}

int TPrinter::PageHeight() const
{
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).height();
}

int TPrinter::PixelsPerInchX() const { return m_printer->resolution(); }
int TPrinter::PixelsPerInchY() const { return m_printer->resolution(); }

void TPrinter::BeginDoc()
{
    if (m_printing) throw EPrinter(QStringLiteral("Printing in progress"));
    if (!HasPrinter()) throw EPrinter(QStringLiteral("There is no default printer currently selected"));
    m_printer->setDocName(m_title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        throw EPrinter(QStringLiteral("Printer selected is not valid"));
    }
    m_printing = true;
    m_aborted = false;
    m_page = 1;
    m_canvas.SetPainter(m_painter.get());
    m_canvas.Font()->SetPixelsPerInch(PixelsPerInchY());
}

void TPrinter::NewPage()
{
    if (!m_printing) throw EPrinter(QStringLiteral("Printing not in progress"));
    m_printer->newPage();
    ++m_page;
}

void TPrinter::EndDoc()
{
    if (!m_printing) throw EPrinter(QStringLiteral("Printing not in progress"));
    m_canvas.Release();
    m_painter->end();
    m_painter.reset();
    m_printing = false;
    m_canvas.Font()->SetPixelsPerInch(ScreenPixelsPerInch);
}

void TPrinter::Abort()
{
    if (!m_printing) return;
    m_canvas.Release();
    m_printer->abort();
    if (m_painter->isActive()) m_painter->end();
    m_painter.reset();
    m_printing = false;
    m_aborted = true;
    m_canvas.Font()->SetPixelsPerInch(ScreenPixelsPerInch);
}

namespace {
TPrinter* g_printer = nullptr;
void freePrinter()
{
    delete g_printer;
    g_printer = nullptr;
}
} // namespace

TPrinter* Printer()
{
    // Created on first use and freed with the application object.
    if (!g_printer) {
        g_printer = new TPrinter;
        qAddPostRoutine(freePrinter);
    }
    return g_printer;
}
