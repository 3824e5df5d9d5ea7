#pragma once
// Bill printing through templates: the placeholder map, field texts, the
// amount in Chinese capitals, the printer's custom paper and the printer as a
// print target.
#include "ReportControl.h"

#include "platform/rtl/Variant.h"

class TPrinter;

// The field a cell text names for a bill type (0 stock-in, 1 stock-out) and a
// band (0 head and foot, 1 bill lines and page sums); empty when none.
QString getvarfieldname(const QString& Text, int billtype, int band);
// The placeholders of a bill type and band, in the designer's list order.
QStringList placeholderlist(int billtype, int band);
// The placeholders a page sum is offered for, per bill type.
QStringList pagesumlist(int billtype);
// The amount written with Chinese capital numerals, every digit with its unit.
QString moneytochinese(double amount);
// A field value as printed: empty for null, dates as the default date-time
// text, Booleans "T" / "F", anything else trimmed text.
QString getvartext(const Variant& value);
// Sets the printer's paper to a custom size in tenths of a millimetre.
void setpapersize(int width, int length);

// The process printer as a print target. Without a printer it offers a PDF
// file at a path the clerk chooses; the run prints into it, and the printer
// goes back to its own output when the target goes.
class TPrinterTarget : public TReportPrintTarget {
public:
    explicit TPrinterTarget(TPrinter* printer);
    ~TPrinterTarget() override;
    TPrinterTarget(const TPrinterTarget&) = delete;
    TPrinterTarget& operator=(const TPrinterTarget&) = delete;
    bool Available() override;
    bool OffersFile() const override { return true; }
    bool ChooseFile(const QString& suggestedName) override;
    void BeginDoc(const QString& title) override;
    void NewPage() override;
    void EndDoc() override;
    TCanvas* Canvas() override;
    int PageWidth() override;
    int PageHeight() override;

private:
    TPrinter* m_printer;
    bool m_toFile = false;
    QString m_previousOutput;
};
