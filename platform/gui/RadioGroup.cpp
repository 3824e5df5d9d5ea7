#include "RadioGroup.h"

#include "Application.h"

#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setSpacing(2);
}

TRadioGroup::TRadioGroup(const QString& caption, QWidget* parent) : TRadioGroup(parent)
{
    setTitle(caption);
}

void TRadioGroup::SetItems(const QStringList& items)
{
    m_items = items;
    if (m_index >= m_items.size())
        m_index = -1;
    rebuild();
}

void TRadioGroup::SetColumns(int n)
{
    m_columns = qMax(1, n);
    rebuild();
}

void TRadioGroup::rebuild()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    auto* grid = static_cast<QGridLayout*>(layout());
    const int rows = (int(m_items.size()) + m_columns - 1) / m_columns;
    for (int i = 0; i < m_items.size(); ++i) {
        auto* b = new QRadioButton(m_items[i], this);
        b->setAutoExclusive(true);
        grid->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && !m_setting)
                chosen(i);
        });
        m_buttons << b;
    }
    if (m_index >= 0) {
        m_setting = true;
        m_buttons[m_index]->setChecked(true);
        m_setting = false;
    }
}

void TRadioGroup::SetItemIndex(int i)
{
    if (i < -1 || i >= m_items.size())
        i = -1;
    if (i == m_index)
        return;
    m_setting = true;
    if (i < 0) {
        for (QRadioButton* b : m_buttons) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
    } else {
        m_buttons[i]->setChecked(true);
    }
    m_setting = false;
    chosen(i);
}

void TRadioGroup::chosen(int i)
{
    m_index = i;
    if (OnClick)
        Application->Guard([&] { OnClick(this); }, this);
}

TRadioGroup* TRadioGroup::Of(QWidget* w)
{
    if (auto* g = dynamic_cast<TRadioGroup*>(w))
        return g;
    if (qobject_cast<QRadioButton*>(w))
        return dynamic_cast<TRadioGroup*>(w->parentWidget());
    return nullptr;
}
