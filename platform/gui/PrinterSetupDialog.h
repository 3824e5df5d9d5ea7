#pragma once
// TPrinterSetupDialog: the printer setup dialog over the process printer (printer, paper and
// orientation). Shown through the dialog service: in scripted mode it logs a dialog of kind
// "PrinterSetupDialog" whose text is the current paper ("<width>x<length>" in tenths of a
// millimetre); an answer text of that form sets the paper, an empty one keeps it.
#include <QString>

class TPrinterSetupDialog {
public:
    // True when confirmed; the process printer then holds the choice.
    bool Execute();
    QString Title;
};
