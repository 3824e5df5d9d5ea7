#pragma once
// TCheckBox: a check box whose Checked (and State) setter fires OnClick when
// the state changes, as a user's click does. A click cycles unchecked ->
// checked -> grayed (with AllowGrayed) -> unchecked.
#include "ControlBase.h"

#include <QCheckBox>

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TCheckBox(QWidget* parent = nullptr);
    TCheckBox(const QString& caption, QWidget* parent);

    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const;
    void SetState(TCheckBoxState s);
    bool AllowGrayed() const { return m_allowGrayed; }
    void SetAllowGrayed(bool v) { m_allowGrayed = v; }
    QString Caption() const { return text(); }
    void SetCaption(const QString& c) { setText(c); }
    // While set, state changes in code fire no OnClick.
    bool ClicksDisabled() const { return m_clicksDisabled; }
    void SetClicksDisabled(bool v) { m_clicksDisabled = v; }

    TNotifyEvent OnClick;

protected:
    // A state change (by the user or in code); the base fires OnClick.
    virtual void Click();
    // The user toggles the box; descendants may refuse by not calling the base.
    virtual void Toggle();
    void nextCheckState() override;

private:
    bool m_clicksDisabled = false;
    bool m_allowGrayed = false;
};
