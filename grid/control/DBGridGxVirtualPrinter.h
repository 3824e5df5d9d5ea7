#pragma once
// A forwarding layer over the process-wide printer: every property and operation
// goes to the same one of the printer, with the full page size and the
// resolution computed from the device.
#include "platform/gui/Printer.h"
#include <QStringList>

class QPrinter;

class TVirtualPrinter {
public:
    TVirtualPrinter() = default;
    virtual ~TVirtualPrinter() = default;
    TVirtualPrinter(const TVirtualPrinter&) = delete;
    TVirtualPrinter& operator=(const TVirtualPrinter&) = delete;

    virtual bool Aborted() const;
    virtual TCanvas* Canvas() const;
    virtual QStringList Fonts() const;
    virtual QPrinter* Handle() const;
    virtual int Copies() const;
    virtual TPrinterOrientation Orientation() const;
    virtual int PageHeight() const;
    virtual int PageWidth() const;
    virtual int PageNumber() const;
    virtual bool Printing() const;
    virtual QString Title() const;
    // The page and twice the device's physical offset on each axis.
    virtual int FullPageWidth() const;
    virtual int FullPageHeight() const;
    virtual int PrinterIndex() const;
    virtual QStringList Printers() const;
    virtual int PixelsPerInchX() const;
    virtual int PixelsPerInchY() const;
    virtual void SetPrinterIndex(int value);
    virtual void SetCopies(int value);
    virtual void SetOrientation(TPrinterOrientation value);
    virtual void SetTitle(const QString& value);
    virtual void Abort();
    virtual void BeginDoc();
    virtual void EndDoc();
    virtual void NewPage();
    // The printer's name (device), driver and port; the driver and port are empty here.
    virtual void GetPrinter(QString& device, QString& driver, QString& port) const;
    virtual void SetPrinter(const QString& device, const QString& driver, const QString& port);

protected:
    // The device's unprintable margin at the left and at the top, in device pixels.
    virtual int PhysicalOffsetX() const;
    virtual int PhysicalOffsetY() const;
    TPrinter* Target() const { return Printer(); }
};
