#include "StatusBar.h"

#include "FontScale.h"

#include <QLabel>

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
}

int TStatusBar::AddPanel(const QString& text, int width, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, this);
    label->setAlignment(alignment);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    // A panel is at least as wide as the class library draws it (the width given for the original
    // font, scaled to this one), and wide enough for its text.
    label->setMinimumWidth(qMax(Scaled(width), label->sizeHint().width()));
    addWidget(label);
    m_panels << label;
    return int(m_panels.size()) - 1;
}

QString TStatusBar::PanelText(int i) const
{
    QLabel* p = Panel(i);
    return p ? p->text() : QString();
}

void TStatusBar::SetPanelText(int i, const QString& text)
{
    if (QLabel* p = Panel(i)) {
        p->setText(text);
        p->setMinimumWidth(qMax(p->minimumWidth(), p->sizeHint().width()));
    }
}
