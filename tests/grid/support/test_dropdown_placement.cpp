// Drop-down placement as a function of rectangle, size and work area; the size grip.
#include "SizeGripGx.h"
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const TRect kWork(0, 0, 1000, 700);

const char* Side(TSizeGripChangePosition p)
{
    switch (p) {
    case sgcpToLeft: return "left";
    case sgcpToRight: return "right";
    case sgcpToTop: return "top";
    default: return "bottom";
    }
}
} // namespace

TEST(DropDownPlacement, Table)
{
    struct Case {
        const char* name;
        TRect editor;
        TSize size;
        int alignment;
        TRect bounds;
        const char* vertical;
        const char* horizontal;
    };
    const Case cases[] = {
        {"room below", TRect(100, 100, 300, 120), TSize(200, 150), 0, TRect(100, 120, 300, 270), "bottom", "right"},
        {"near the bottom", TRect(100, 600, 300, 620), TSize(200, 150), 0, TRect(100, 450, 300, 600), "top", "right"},
        {"right aligned", TRect(100, 100, 300, 120), TSize(250, 150), 1, TRect(50, 120, 300, 270), "bottom", "left"},
        {"centred", TRect(100, 100, 300, 120), TSize(100, 50), 2, TRect(150, 120, 250, 170), "bottom", "right"},
        {"off the right edge", TRect(900, 100, 990, 120), TSize(200, 50), 0, TRect(800, 120, 1000, 170), "bottom", "left"},
        {"off the left edge", TRect(10, 100, 90, 120), TSize(200, 50), 1, TRect(0, 120, 200, 170), "bottom", "right"},
        {"wider than the work area", TRect(10, 100, 90, 120), TSize(1500, 50), 0, TRect(0, 120, 1000, 170), "bottom", "left"},
        // Little room either way: the larger side, shortened to fit.
        {"more room below", TRect(100, 300, 300, 320), TSize(200, 500), 0, TRect(100, 320, 300, 700), "bottom", "right"},
        {"more room above", TRect(100, 400, 300, 420), TSize(200, 500), 0, TRect(100, 0, 300, 400), "top", "right"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TDropDownPlacementGx p = CalcDropDownPlacement(c.editor, c.size, kWork, c.alignment);
        EXPECT_EQ(p.Bounds, c.bounds);
        EXPECT_STREQ(Side(p.Vertical), c.vertical);
        EXPECT_STREQ(Side(p.Horizontal), c.horizontal);
    }
}

namespace {
class DropDown : public QWidget, public ISizeGripChangeTargetGx {
public:
    DropDown() : grip(new TSizeGripGx(this)) { resize(200, 300); }
    TSizeGripGx* grip;
    void SizeGripChangePosition(TSizeGripChangePosition p) override { grip->ChangePosition(p); }
};
} // namespace

TEST(DropDownPlacement, PlacingAWidgetMovesItsGrip)
{
    WorkAreaForRectGx = [](const TRect&) { return kWork; };
    DropDown d;
    EXPECT_EQ(d.grip->Position(), sgpBottomRight);
    const TPoint at = PlaceDropDownAtRect(TRect(100, 600, 300, 620), &d, 0);
    EXPECT_EQ(at, TPoint(100, 300));
    EXPECT_EQ(d.grip->Position(), sgpTopRight);
    EXPECT_EQ(d.grip->pos(), QPoint(d.width() - d.grip->width(), 0));
    d.resize(200, 500);
    PlaceDropDownAtRect(TRect(100, 300, 300, 320), &d, 1);   // cut, below, to the left
    EXPECT_EQ(d.height(), 380);
    EXPECT_EQ(d.grip->Position(), sgpBottomLeft);
    WorkAreaForRectGx = nullptr;
}

TEST(SizeGrip, CornersAndSnapping)
{
    QWidget parent;
    parent.resize(200, 150);
    TSizeGripGx grip(&parent);
    parent.show();
    const int w = grip.width();
    const int h = grip.height();
    EXPECT_EQ(grip.pos(), QPoint(200 - w, 150 - h));
    struct Step { TSizeGripChangePosition change; TSizeGripPostion result; };
    const Step steps[] = {
        {sgcpToTop, sgpTopRight}, {sgcpToTop, sgpTopRight}, {sgcpToLeft, sgpTopLeft},
        {sgcpToBottom, sgpBottomLeft}, {sgcpToRight, sgpBottomRight},
    };
    for (const Step& s : steps) {
        grip.ChangePosition(s.change);
        EXPECT_EQ(grip.Position(), s.result);
    }
    grip.SetPosition(sgpTopLeft);
    EXPECT_EQ(grip.pos(), QPoint(0, 0));
    // Moved from outside: back into its corner.
    grip.move(50, 50);
    EXPECT_EQ(grip.pos(), QPoint(0, 0));
    EXPECT_FALSE(grip.mask().isEmpty());
    EXPECT_TRUE(grip.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(grip.mask().contains(QPoint(w - 1, h - 1)));
    grip.SetTriangleWindow(false);
    EXPECT_TRUE(grip.mask().isEmpty());
}

TEST(SizeGrip, DraggingStopsAtTheWorkArea)
{
    WorkAreaForRectGx = [](const TRect&) { return TRect(0, 0, 400, 300); };
    QWidget parent(nullptr, Qt::FramelessWindowHint);
    parent.setGeometry(100, 100, 200, 150);
    TSizeGripGx grip(&parent);
    int resized = 0;
    grip.OnParentResized = [&](TSizeGripGx*) { ++resized; };
    const QPoint start(295, 245);
    grip.GripMouseDown(start);
    grip.GripMouseMove(start + QPoint(30, 20));
    EXPECT_EQ(parent.width(), 230);
    EXPECT_EQ(parent.height(), 170);
    EXPECT_EQ(resized, 1);
    grip.GripMouseMove(start + QPoint(30, 20));   // same point: nothing
    EXPECT_EQ(resized, 1);
    grip.GripMouseMove(start + QPoint(500, 500));
    EXPECT_EQ(parent.geometry().right() + 1, 400);
    EXPECT_EQ(parent.geometry().bottom() + 1, 300);
    EXPECT_EQ(grip.pos(), QPoint(parent.width() - grip.width(), parent.height() - grip.height()));

    // A grip on the left grows the parent to the left and keeps its right edge.
    grip.SetPosition(sgpBottomLeft);
    const int right = parent.geometry().right();
    grip.GripMouseDown(QPoint(100, 250));
    grip.GripMouseMove(QPoint(60, 250));
    EXPECT_EQ(parent.geometry().right(), right);
    EXPECT_EQ(parent.x(), 60);
    grip.GripMouseMove(QPoint(-300, 250));
    EXPECT_EQ(parent.x(), 0);
    EXPECT_EQ(parent.geometry().right(), right);
    WorkAreaForRectGx = nullptr;
}

TEST(SizeGrip, DraggedWithTheMouse)
{
    WorkAreaForRectGx = [](const TRect&) { return TRect(0, 0, 2000, 2000); };
    QWidget parent(nullptr, Qt::FramelessWindowHint);
    parent.setGeometry(100, 100, 200, 150);
    TSizeGripGx grip(&parent);
    parent.show();
    const QPoint local(grip.width() - 2, grip.height() - 2);
    QTest::mousePress(&grip, Qt::LeftButton, {}, local);
    const QPoint to = local + QPoint(25, 15);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(grip.mapToGlobal(to)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&grip, &move);
    QTest::mouseRelease(&grip, Qt::LeftButton, {}, to);
    EXPECT_EQ(parent.size(), QSize(225, 165));
    EXPECT_EQ(grip.pos(), QPoint(225 - grip.width(), 165 - grip.height()));
    WorkAreaForRectGx = nullptr;
}

namespace {
// A drop-down of our control base hears the sides as a message.
class MessageDropDown : public TCustomControl {
public:
    QList<WPARAM> sides;
    void MessageReceived(TMessage& m) override
    {
        if (m.Msg == CM_SETSIZEGRIPCHANGEPOSITION)
            sides << m.WParam;
    }
};
} // namespace

TEST(DropDownPlacement, ControlsHearTheSidesAsAMessage)
{
    WorkAreaForRectGx = [](const TRect&) { return kWork; };
    MessageDropDown d;
    d.resize(200, 100);
    PlaceDropDownAtRect(TRect(100, 650, 300, 680), &d, 1);
    EXPECT_EQ(d.sides, QList<WPARAM>({WPARAM(sgcpToTop), WPARAM(sgcpToLeft)}));
    WorkAreaForRectGx = nullptr;
}
