#include "PendingInput.h"
#include <QApplication>
#include <QList>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface_p.h>

namespace {

using Wsi = QWindowSystemInterfacePrivate;

QWidget* WidgetOfWindow(QWindow* window)
{
    if (!window)
        return nullptr;
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget* w : tops)
        if (w->windowHandle() == window)
            return w;
    return nullptr;
}

// The button event as the application would deliver it, or false when it is not
// a left-button press or release in a window of ours.
bool Describe(const Wsi::WindowSystemEvent* e, TPendingMouseButton& out)
{
    if (e->type != Wsi::Mouse)
        return false;
    const auto* m = static_cast<const Wsi::MouseEvent*>(e);
    if (m->button != Qt::LeftButton || m->nonClientArea)
        return false;
    if (m->buttonType != QEvent::MouseButtonPress && m->buttonType != QEvent::MouseButtonRelease
        && m->buttonType != QEvent::MouseButtonDblClick)
        return false;
    QWidget* top = WidgetOfWindow(m->window);
    if (!top)
        return false;
    const QPoint local = m->localPos.toPoint();
    QWidget* receiver = QWidget::mouseGrabber();
    if (!receiver || receiver->window() != top) {
        receiver = top->childAt(local);
        if (!receiver)
            receiver = top;
    }
    out.Receiver = receiver;
    out.Pos = receiver->mapFrom(top, local);
    out.Press = m->buttonType != QEvent::MouseButtonRelease;
    return true;
}

} // namespace

bool TakePendingLeftButton(const std::function<TPendingVerdict(const TPendingMouseButton&)>& decide)
{
    // The queue only lets go of its events from the front: take them all, look,
    // and put the rest back in front of anything that arrived meanwhile.
    QList<Wsi::WindowSystemEvent*> events;
    while (Wsi::WindowSystemEvent* e = Wsi::windowSystemEventQueue.takeFirstOrReturnNull())
        events.append(e);
    bool taken = false;
    for (qsizetype i = 0; i < events.size(); ++i) {
        TPendingMouseButton button;
        if (!Describe(events[i], button))
            continue;
        const TPendingVerdict verdict = decide(button);
        if (verdict == TPendingVerdict::Skip)
            continue;
        if (verdict == TPendingVerdict::Take) {
            delete events.takeAt(i);
            taken = true;
        }
        break;
    }
    for (qsizetype i = events.size() - 1; i >= 0; --i)
        Wsi::windowSystemEventQueue.prepend(events[i]);
    return taken;
}
