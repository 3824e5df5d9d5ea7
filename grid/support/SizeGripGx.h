#pragma once
// Placement of the library's drop-downs next to their editors, inside the work
// area of the editor's monitor, and the small triangular grip in a drop-down's
// free corner that resizes it with the mouse.
#include "platform/gui/ControlBase.h"
#include <QPoint>
#include <QWidget>
#include <functional>

enum TSizeGripPostion { sgpTopLeft, sgpTopRight, sgpBottomRight, sgpBottomLeft };
enum TSizeGripChangePosition { sgcpToLeft, sgcpToRight, sgcpToTop, sgcpToBottom };

// The message a drop-down receives with the side it opened on (first parameter).
constexpr unsigned CM_SETSIZEGRIPCHANGEPOSITION = 0x0464;

// A drop-down that wants to know on which sides it opened (to move its grip).
class ISizeGripChangeTargetGx {
public:
    virtual ~ISizeGripChangeTargetGx() = default;
    virtual void SizeGripChangePosition(TSizeGripChangePosition position) = 0;
};

// Where a drop-down of a size goes for an editor rectangle (screen coordinates)
// in a work area; alignment 0 left, 1 right, 2 centre.
struct TDropDownPlacementGx {
    TRect Bounds;                              // position and (possibly cut) size
    TSizeGripChangePosition Vertical = sgcpToBottom;
    TSizeGripChangePosition Horizontal = sgcpToRight;
};
TDropDownPlacementGx CalcDropDownPlacement(const TRect& editorRect, const TSize& size, const TRect& workArea,
                                           int alignment);

// The work area of the monitor nearest to a screen rectangle. Tests may replace it.
extern std::function<TRect(const TRect& screenRect)> WorkAreaForRectGx;
TRect DefaultWorkAreaForRect(const TRect& screenRect);

// Places the drop-down below (or above) the screen rectangle, resizes it when it
// must be cut, tells it the sides it opened on, and returns its top-left point.
TPoint PlaceDropDownAtRect(const TRect& screenRect, QWidget* dropDown, int alignment);
TPoint PlaceDropDownAtEdit(QWidget* editor, QWidget* dropDown, int alignment);

class TSizeGripGx : public TCustomControl {
public:
    explicit TSizeGripGx(QWidget* parent);

    TSizeGripPostion Position() const { return FPosition; }
    void SetPosition(TSizeGripPostion value);
    bool TriangleWindow() const { return FTriangleWindow; }
    void SetTriangleWindow(bool value);
    bool GripVisible() const { return isVisible(); }
    void SetGripVisible(bool value) { setVisible(value); }
    std::function<void(TSizeGripGx*)> OnParentResized;

    void UpdatePosition();
    void ChangePosition(TSizeGripChangePosition newPosition);
    void UpdateWindowRegion();

    // The mouse, in screen coordinates (the events call these).
    void GripMouseDown(const QPoint& screenPos);
    void GripMouseMove(const QPoint& screenPos);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

protected:
    void moveEvent(QMoveEvent* e) override;
    void Paint() override;

private:
    QPoint FInitScreenMousePos;
    bool FInternalMove = false;
    QPoint FOldMouseMovePos;
    struct { int clientWidth = 0, clientHeight = 0, width = 0, height = 0; } FParentRect;
    TSizeGripPostion FPosition = sgpBottomRight;
    bool FTriangleWindow = true;
};
