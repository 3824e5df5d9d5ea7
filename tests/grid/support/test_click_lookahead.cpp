// Click look-ahead over real mouse clicks: clicks the window system has queued while the
// program was busy are seen, and one that counts is taken so it never arrives.
#include "GxLibVCLGui.h"
#include "platform/gui/ControlBase.h"
#include <QApplication>
#include <QTest>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>
#include <gtest/gtest.h>
#include <functional>

namespace {

// A control with a windowless cell inside; on each release it asks whether the user
// has already clicked again, as the grid does.
class Window : public TCustomControl {
public:
    QWidget* cell = new QWidget(this);
    std::function<bool()> lookAhead;
    int downs = 0, ups = 0;
    QList<bool> answers;

    Window()
    {
        resize(200, 120);
        cell->setGeometry(20, 20, 60, 30);
    }
    void MouseDown(TMouseButton, TShiftState, int, int) override { ++downs; }
    void MouseUp(TMouseButton, TShiftState, int, int) override
    {
        ++ups;
        if (lookAhead && ups == 1)
            answers << lookAhead();
    }
};

// A click as the window system hands it over: queued, delivered when the event loop runs.
void QueueClick(QWidget* top, QPoint at)
{
    QWindow* w = top->windowHandle();
    const QPointF global = top->mapToGlobal(at);
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        w, at, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        w, at, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
}

struct Shown {
    QWidget top;
    Window* window = new Window;
    Shown()
    {
        window->setParent(&top);
        top.resize(240, 160);
        window->move(10, 10);
        top.show();
        QApplication::setActiveWindow(&top);
        (void)QTest::qWaitForWindowExposed(&top);
    }
};

} // namespace

TEST(ClickLookAhead, SeesClicksTheWindowSystemHolds)
{
    struct Case {
        const char* name;
        QPoint queuedAt;                            // in the control's coordinates
        std::function<bool(Window*)> lookAhead;
        bool taken;
    };
    const Case cases[] = {
        {"in the cell", QPoint(30, 30), [](Window* w) { return TakePendingClickInControl(w->cell); }, true},
        {"beside the cell", QPoint(150, 90), [](Window* w) { return TakePendingClickInControl(w->cell); }, false},
        {"in the window", QPoint(150, 90), [](Window* w) { return TakePendingClickInControl(w); }, true},
        {"on the cell", QPoint(30, 30), [](Window* w) { return TakePendingClickOnControl(w->cell); }, true},
        {"on the window but over its cell", QPoint(30, 30), [](Window* w) { return TakePendingClickOnControl(w); }, false},
        {"on the window itself", QPoint(150, 90), [](Window* w) { return TakePendingClickOnControl(w); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Shown s;
        Window* w = s.window;
        w->lookAhead = [&] { return c.lookAhead(w); };
        // The user clicks twice quickly; the second click waits in the queue while the
        // program handles the first, which a synthesised click delivers here.
        QueueClick(&s.top, w->mapTo(&s.top, c.queuedAt));
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(100, 60));
        EXPECT_EQ(w->answers, QList<bool>{c.taken});
        QApplication::processEvents();
        // A taken click never arrives (nor does its release, which has no press now).
        EXPECT_EQ(w->downs, c.taken ? 1 : 2);
        EXPECT_EQ(w->ups, c.taken ? 1 : 2);
    }
}

TEST(ClickLookAhead, AReleaseFirstOrAnotherWindowDoesNotCount)
{
    Shown s;
    Window* w = s.window;
    // Only a release waits (the button went down before): no click yet, and it stays queued.
    const QPoint at = w->mapTo(&s.top, QPoint(30, 30));
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        s.top.windowHandle(), at, s.top.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
    EXPECT_FALSE(TakePendingClickInControl(w->cell));
    QApplication::processEvents();

    // A click queued for another top-level window is not this window's.
    QWidget other;
    other.setGeometry(400, 100, 100, 100);
    other.show();
    (void)QTest::qWaitForWindowExposed(&other);
    QueueClick(&other, QPoint(30, 30));
    EXPECT_FALSE(TakePendingClickInControl(w));
    EXPECT_FALSE(TakePendingClickOnControl(w));
    QApplication::processEvents();
    EXPECT_EQ(w->downs, 0);
}
