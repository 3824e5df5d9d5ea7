#include "ReportEditWindow.h"

#include "ReportControl.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

TReportEditWindow::TReportEditWindow(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    document()->setDocumentMargin(0);
    connect(this, &QTextEdit::textChanged, this, [this] { textEdited(); });
}

QString TReportEditWindow::CellText() const
{
    return toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

void TReportEditWindow::SetCellText(const QString& text)
{
    m_reverting = true;
    QString plain = text;
    setPlainText(plain.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    m_reverting = false;
    m_accepted = CellText();
    m_acceptedCursor = textCursor().position();
}

void TReportEditWindow::SetAlignment(Qt::Alignment alignment)
{
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
}

void TReportEditWindow::SetColors(TColor background, TColor text)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(background));
    pal.setColor(QPalette::Text, ToQColor(text));
    setPalette(pal);
}

void TReportEditWindow::textEdited()
{
    if (m_reverting) return;
    const QString now = CellText();
    if (now.size() > kMaxCellText) {
        // Input beyond the limit is refused: the text stays as it was.
        m_reverting = true;
        QString plain = m_accepted;
        setPlainText(plain.replace(QLatin1String("\r\n"), QLatin1String("\n")));
        QTextCursor c = textCursor();
        c.setPosition(std::min(m_acceptedCursor, int(toPlainText().size())));
        setTextCursor(c);
        m_reverting = false;
        return;
    }
    m_accepted = now;
    m_acceptedCursor = textCursor().position();
    if (OnChange) OnChange();
}
