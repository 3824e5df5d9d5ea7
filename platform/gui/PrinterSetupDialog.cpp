#include "PrinterSetupDialog.h"

#include "Dialogs.h"
#include "Printer.h"

#include <QApplication>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <cmath>

namespace {

QString paperText(const TPrinter* p) { return QStringLiteral("%1x%2").arg(p->PaperWidth()).arg(p->PaperLength()); }

} // namespace

bool TPrinterSetupDialog::Execute()
{
    TPrinter* printer = Printer();
    if (DialogScript::Active()) {
        TScriptedAnswer a;
        if (!DialogScript::TakeText(QStringLiteral("PrinterSetupDialog"), Title, paperText(printer), a)) return false;
        static const QRegularExpression size(QStringLiteral("^\\s*(\\d+)\\s*[xX×]\\s*(\\d+)\\s*$"));
        const QRegularExpressionMatch m = size.match(a.Text);
        if (m.hasMatch()) printer->SetPaperSize(m.captured(1).toInt(), m.captured(2).toInt());
        return true;
    }
    QPrinter* qp = printer->QtPrinter();
    QPrintDialog dlg(qp, QApplication::activeWindow());
    if (!Title.isEmpty()) dlg.setWindowTitle(Title);
    dlg.setOptions({});
    if (dlg.exec() != QDialog::Accepted) return false;
    // Take the choice over into the printer object, which keeps its own paper.
    const QString name = qp->printerName();
    const QPageLayout layout = qp->pageLayout();
    const int index = int(printer->Printers().indexOf(name));
    if (index >= 0 && name != printer->PrinterName()) printer->SetPrinterIndex(index);
    const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
    printer->SetOrientation(layout.orientation() == QPageLayout::Landscape ? poLandscape : poPortrait);
    printer->SetPaperSize(int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10)));
    return true;
}
