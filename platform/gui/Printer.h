#pragma once
// TPrinter: the printer object over QPrinter. Positions on its canvas are
// device pixels of the printable area, at the printer's resolution; paper
// sizes are given in tenths of a millimetre. Printing to a PDF file stands in
// for a printer (OutputFileName).
#include "Canvas.h"

#include <QStringList>
#include <memory>

class QPrinter;

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Installed printers; PrinterIndex -1 is the default printer.
    QStringList Printers() const;
    int PrinterIndex() const { return m_index; }
    void SetPrinterIndex(int index);
    QString PrinterName() const;
    // Prints into this PDF file instead of a printer (empty: print to the printer).
    QString OutputFileName() const { return m_outputFile; }
    void SetOutputFileName(const QString& fileName);
    // Whether there is anything to print on: an installed printer or an output file.
    bool HasPrinter() const;

    // Paper of the given width and length (tenths of a millimetre), for the
    // portrait orientation; a width above the length gives a wide page.
    void SetPaperSize(int widthTenthsMm, int lengthTenthsMm);
    int PaperWidth() const { return m_paperW; }
    int PaperLength() const { return m_paperL; }
    TPrinterOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TPrinterOrientation o);

    // Printable area in device pixels, and the logical resolution.
    int PageWidth() const;
    int PageHeight() const;
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;

    QString Title() const { return m_title; }
    void SetTitle(const QString& t) { m_title = t; }

    // A job: BeginDoc, pages separated by NewPage, EndDoc (or Abort).
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const { return m_printing; }
    bool Aborted() const { return m_aborted; }
    int PageNumber() const { return m_page; }

    // The canvas of the current job (measuring only while no job runs).
    TCanvas* Canvas() { return &m_canvas; }
    QPrinter* QtPrinter() { return m_printer.get(); }

private:
    void applyPage();
    void ensurePrinter();

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    TCanvas m_canvas;
    int m_index = -1;
    QString m_outputFile;
    int m_paperW = 2100, m_paperL = 2970;
    TPrinterOrientation m_orientation = poPortrait;
    QString m_title;
    bool m_printing = false;
    bool m_aborted = false;
    int m_page = 0;
};

// The process-wide printer.
TPrinter* Printer();
