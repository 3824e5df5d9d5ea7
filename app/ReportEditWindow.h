#pragma once
// The in-place edit window of a template cell: multi-line, with a vertical
// scroll bar, in the cell's font, colours and alignment, holding at most 1000
// characters. Line breaks are CR LF in the cell's text.
#include "platform/gui/Graphics.h"

#include <QTextEdit>
#include <functional>

class TReportEditWindow : public QTextEdit {
public:
    explicit TReportEditWindow(QWidget* parent);
    // The text with CR LF line breaks.
    QString CellText() const;
    void SetCellText(const QString& text);
    void SetAlignment(Qt::Alignment alignment);
    void SetColors(TColor background, TColor text);
    // Fired after every accepted change of the text.
    std::function<void()> OnChange;

private:
    void textEdited();
    QString m_accepted;      // the last text within the limit
    int m_acceptedCursor = 0;
    bool m_reverting = false;
};
