#pragma once
// Helpers of the event, dialog and form tests: a custom control that records
// every event it gets, and a shown form to put it on.
#include "Application.h"
#include "ControlBase.h"
#include "Dialogs.h"
#include "Form.h"

#include <QApplication>
#include <QStringList>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>
#include <ostream>

class RecordingControl : public TCustomControl {
public:
    explicit RecordingControl(QWidget* parent, UINT dlgCode = 0) : TCustomControl(parent), dlgCode(dlgCode)
    {
        resize(80, 40);
    }
    UINT dlgCode;
    WORD claimKey = 0;             // a special key claimed through WantSpecialKey
    QStringList log;
    std::function<void()> onExit;  // runs in DoExit (may raise)

    UINT GetDlgCode() override { return dlgCode; }
    bool WantSpecialKey(WORD Key, TShiftState) override { return claimKey && Key == claimKey; }
    static QString shiftText(TShiftState s)
    {
        QString t;
        if (s.contains(ssShift)) t += QLatin1Char('S');
        if (s.contains(ssCtrl)) t += QLatin1Char('C');
        if (s.contains(ssAlt)) t += QLatin1Char('A');
        if (s.contains(ssLeft)) t += QLatin1Char('L');
        if (s.contains(ssRight)) t += QLatin1Char('R');
        if (s.contains(ssDouble)) t += QLatin1Char('D');
        return t;
    }
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        log << QStringLiteral("down %1 %2").arg(Key).arg(shiftText(Shift));
        TCustomControl::KeyDown(Key, Shift);
    }
    void KeyPress(QChar& Key) override
    {
        log << QStringLiteral("press %1").arg(Key.unicode());
        TCustomControl::KeyPress(Key);
    }
    void KeyUp(WORD& Key, TShiftState Shift) override
    {
        log << QStringLiteral("up %1").arg(Key);
        TCustomControl::KeyUp(Key, Shift);
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override
    {
        log << QStringLiteral("mdown %1 %2 %3,%4").arg(int(b)).arg(shiftText(s)).arg(x).arg(y);
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) override
    {
        if (s.contains(ssLeft) || MouseCapture()) log << QStringLiteral("mmove %1,%2").arg(x).arg(y);
        TCustomControl::MouseMove(s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override
    {
        log << QStringLiteral("mup %1 %2,%3").arg(int(b)).arg(x).arg(y);
        TCustomControl::MouseUp(b, s, x, y);
    }
    void Click() override { log << QStringLiteral("click"); TCustomControl::Click(); }
    void DblClick() override { log << QStringLiteral("dblclick"); TCustomControl::DblClick(); }
    void DoEnter() override { log << QStringLiteral("enter"); TCustomControl::DoEnter(); }
    void DoExit() override
    {
        log << QStringLiteral("exit");
        if (onExit) onExit();
        TCustomControl::DoExit();
    }
    void Timer(UINT id) override { log << QStringLiteral("timer %1").arg(id); }
    void MessageReceived(TMessage& m) override { log << QStringLiteral("msg %1 %2").arg(m.Msg).arg(m.WParam); }
    void ScrollBarMessage(int bar, int code, int pos) override
    {
        log << QStringLiteral("scroll %1 %2 %3").arg(bar).arg(code).arg(pos);
    }
    void CancelMode() override { log << QStringLiteral("cancelmode"); }
    void Resize() override { log << QStringLiteral("resize %1x%2").arg(ClientWidth()).arg(ClientHeight()); }
};

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Sends a mouse event the way the window system does: to the window, which
// picks the receiving widget (implicit grab of a pressed button, capture).
inline void windowMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                        QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget* window = target->window();
    const QPoint inWindow = target->mapTo(window, pos);
    QMouseEvent e(type, QPointF(inWindow), QPointF(window->mapToGlobal(inWindow)), button, buttons, mods);
    QApplication::sendEvent(window->windowHandle(), &e);
}

// Shows a form and waits until it is the active window.
inline void showActive(QWidget* w)
{
    w->show();
    QApplication::setActiveWindow(w);
    (void)QTest::qWaitForWindowActive(w);
}
