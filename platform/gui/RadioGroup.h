#pragma once
// TRadioGroup: the class library's radio group: a captioned box of radio buttons, one per
// item, with ItemIndex (-1 when none is chosen). Setting ItemIndex, in code or by a click,
// fires OnClick when the choice changes. The buttons take the focus; a focused button counts
// as its group being the active control.
#include "ControlBase.h"

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QRadioButton;

// No meta-object of its own: it adds no signals or slots (dynamic_cast finds it).
class TRadioGroup : public QGroupBox {
public:
    explicit TRadioGroup(QWidget* parent = nullptr);
    TRadioGroup(const QString& caption, QWidget* parent);

    QString Caption() const { return title(); }
    void SetCaption(const QString& c) { setTitle(c); }
    QStringList Items() const { return m_items; }
    void SetItems(const QStringList& items);
    int ItemIndex() const { return m_index; }
    void SetItemIndex(int i);
    QRadioButton* Button(int i) const { return m_buttons.value(i); }
    int Columns() const { return m_columns; }
    void SetColumns(int n);

    // The radio group a widget belongs to (itself or its button), or null.
    static TRadioGroup* Of(QWidget* w);

    TNotifyEvent OnClick;

private:
    void rebuild();
    void chosen(int i);
    QStringList m_items;
    QList<QRadioButton*> m_buttons;
    int m_index = -1;
    int m_columns = 1;
    bool m_setting = false;
};
