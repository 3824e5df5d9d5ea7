#pragma once
// TStatusBar: a status bar of panels with fixed widths and alignments, each showing one text.
#include <QList>
#include <QStatusBar>

class QLabel;

class TStatusBar : public QStatusBar {
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // Appends a panel; returns its index.
    int AddPanel(const QString& text, int width, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    int PanelCount() const { return int(m_panels.size()); }
    QString PanelText(int i) const;
    void SetPanelText(int i, const QString& text);
    QLabel* Panel(int i) const { return m_panels.value(i); }

private:
    QList<QLabel*> m_panels;
};
