#include "CheckBox.h"

#include "Application.h"

TCheckBox::TCheckBox(QWidget* parent) : TCheckBox(QString(), parent) {}

TCheckBox::TCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

TCheckBoxState TCheckBox::State() const
{
    switch (checkState()) {
    case Qt::Checked: return cbChecked;
    case Qt::PartiallyChecked: return cbGrayed;
    default: return cbUnchecked;
    }
}

void TCheckBox::SetState(TCheckBoxState s)
{
    if (s == State()) return;
    {
        QSignalBlocker block(this);
        setCheckState(s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    }
    if (!m_clicksDisabled) Click();
}

void TCheckBox::Click()
{
    if (OnClick) OnClick(this);
}

void TCheckBox::Toggle()
{
    switch (State()) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(AllowGrayed() ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
    }
}

// The user's click: the state moves on through the guarded Toggle.
void TCheckBox::nextCheckState()
{
    Application->Guard([&] { Toggle(); });
}
