#include "SizeGripGx.h"
#include "platform/gui/Canvas.h"
#include <QApplication>
#include <QGuiApplication>
#include <QPolygon>
#include <QScreen>
#include <QStyle>

std::function<TRect(const TRect&)> WorkAreaForRectGx;

TRect DefaultWorkAreaForRect(const TRect& screenRect)
{
    const QRect r = screenRect.toQRect();
    QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestDistance = -1;
    for (QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->geometry();
        const QRect common = g.intersected(r);
        qint64 distance = common.isEmpty() ? (g.center() - r.center()).manhattanLength() : -qint64(common.width()) * common.height();
        if (bestDistance == -1 || distance < bestDistance) {
            best = s;
            bestDistance = distance;
        }
    }
    return best ? TRect(best->availableGeometry()) : TRect(0, 0, 1024, 768);
}

namespace {
TRect WorkAreaFor(const TRect& r)
{
    return WorkAreaForRectGx ? WorkAreaForRectGx(r) : DefaultWorkAreaForRect(r);
}
} // namespace

TDropDownPlacementGx CalcDropDownPlacement(const TRect& editor, const TSize& size, const TRect& wa, int alignment)
{
    TDropDownPlacementGx out;
    int h = size.cy;
    int top = 0;
    const bool roomBelow = editor.Bottom + h <= wa.Bottom;
    const bool roomAbove = editor.Top - h >= wa.Top;
    const bool above = (!roomBelow && roomAbove)
                       || (!roomAbove && (wa.Bottom - editor.Bottom) < (editor.Top - wa.Top));
    if (above) {
        if (editor.Top - h < wa.Top)
            h = editor.Top - wa.Top;
        top = editor.Top - h;
        out.Vertical = sgcpToTop;
    } else {
        if (editor.Bottom + h > wa.Bottom)
            h = wa.Bottom - editor.Bottom;
        top = editor.Bottom;
        out.Vertical = sgcpToBottom;
    }

    int w = size.cx;
    if (wa.Width() < w)
        w = wa.Width();
    int left = editor.Left;
    if (alignment == 1)
        left = editor.Right - w;
    else if (alignment == 2)
        left = editor.Left + (editor.Width() - w) / 2;
    if (left + w > wa.Right) {
        left = wa.Right - w;
        out.Horizontal = sgcpToLeft;
    } else if (left < wa.Left) {
        left = wa.Left;
        out.Horizontal = sgcpToRight;
    } else {
        out.Horizontal = alignment == 1 ? sgcpToLeft : sgcpToRight;
    }
    out.Bounds = TRect(left, top, left + w, top + h);
    return out;
}

TPoint PlaceDropDownAtRect(const TRect& screenRect, QWidget* dropDown, int alignment)
{
    const TDropDownPlacementGx p =
        CalcDropDownPlacement(screenRect, TSize(dropDown->width(), dropDown->height()), WorkAreaFor(screenRect), alignment);
    if (p.Bounds.Width() != dropDown->width() || p.Bounds.Height() != dropDown->height())
        dropDown->resize(p.Bounds.Width(), p.Bounds.Height());
    if (auto* target = dynamic_cast<ISizeGripChangeTargetGx*>(dropDown)) {
        target->SizeGripChangePosition(p.Vertical);
        target->SizeGripChangePosition(p.Horizontal);
    } else if (auto* control = qobject_cast<TCustomControl*>(dropDown)) {
        control->Perform(CM_SETSIZEGRIPCHANGEPOSITION, WPARAM(p.Vertical));
        control->Perform(CM_SETSIZEGRIPCHANGEPOSITION, WPARAM(p.Horizontal));
    }
    return p.Bounds.TopLeft();
}

TPoint PlaceDropDownAtEdit(QWidget* editor, QWidget* dropDown, int alignment)
{
    QRect r = editor->geometry();
    if (QWidget* parent = editor->parentWidget())
        r.moveTopLeft(parent->mapToGlobal(r.topLeft()));
    else
        r = editor->frameGeometry();
    return PlaceDropDownAtRect(TRect(r), dropDown, alignment);
}

// ---------------------------------------------------------------------------
// TSizeGripGx

TSizeGripGx::TSizeGripGx(QWidget* parent) : TCustomControl(parent)
{
    const int extent = ScrollBarExtent();
    resize(extent, extent);
    SetColor(clBtnFace);
    SetTabStop(false);
    setFocusPolicy(Qt::NoFocus);
    UpdateWindowRegion();
}

void TSizeGripGx::SetPosition(TSizeGripPostion value)
{
    if (value == FPosition)
        return;
    FPosition = value;
    UpdateWindowRegion();
    Invalidate();
}

void TSizeGripGx::SetTriangleWindow(bool value)
{
    if (value == FTriangleWindow)
        return;
    FTriangleWindow = value;
    UpdateWindowRegion();
}

void TSizeGripGx::UpdatePosition()
{
    QWidget* p = parentWidget();
    if (!p)
        return;
    const int cw = p->width();
    const int ch = p->height();
    QPoint at;
    switch (FPosition) {
    case sgpTopLeft: at = QPoint(0, 0); break;
    case sgpTopRight: at = QPoint(cw - width(), 0); break;
    case sgpBottomRight: at = QPoint(cw - width(), ch - height()); break;
    case sgpBottomLeft: at = QPoint(0, ch - height()); break;
    }
    FInternalMove = true;
    move(at);
    FInternalMove = false;
}

void TSizeGripGx::ChangePosition(TSizeGripChangePosition newPosition)
{
    TSizeGripPostion p = FPosition;
    switch (newPosition) {
    case sgcpToLeft:
        if (p == sgpTopRight) p = sgpTopLeft;
        else if (p == sgpBottomRight) p = sgpBottomLeft;
        break;
    case sgcpToRight:
        if (p == sgpTopLeft) p = sgpTopRight;
        else if (p == sgpBottomLeft) p = sgpBottomRight;
        break;
    case sgcpToTop:
        if (p == sgpBottomRight) p = sgpTopRight;
        else if (p == sgpBottomLeft) p = sgpTopLeft;
        break;
    case sgcpToBottom:
        if (p == sgpTopRight) p = sgpBottomRight;
        else if (p == sgpTopLeft) p = sgpBottomLeft;
        break;
    }
    SetPosition(p);
}

void TSizeGripGx::UpdateWindowRegion()
{
    const int w = width();
    const int h = height();
    if (!FTriangleWindow) {
        clearMask();
    } else {
        QPolygon tri;
        switch (FPosition) {
        case sgpBottomRight: tri << QPoint(0, h) << QPoint(w, h) << QPoint(w, 0); break;
        case sgpBottomLeft: tri << QPoint(w, h) << QPoint(0, h) << QPoint(0, 0); break;
        case sgpTopLeft: tri << QPoint(w - 1, 0) << QPoint(0, 0) << QPoint(0, h - 1); break;
        case sgpTopRight: tri << QPoint(w, h - 1) << QPoint(w, 0) << QPoint(1, 0); break;
        }
        setMask(QRegion(tri));
    }
    UpdatePosition();
    const bool nwse = FPosition == sgpTopLeft || FPosition == sgpBottomRight;
    SetCursor(nwse ? crSizeNWSE : crSizeNESW);
}

void TSizeGripGx::GripMouseDown(const QPoint& screenPos)
{
    FInitScreenMousePos = screenPos;
    FOldMouseMovePos = screenPos;
    if (QWidget* p = parentWidget()) {
        FParentRect.clientWidth = p->width();
        FParentRect.clientHeight = p->height();
        FParentRect.width = p->frameGeometry().width();
        FParentRect.height = p->frameGeometry().height();
    }
}

void TSizeGripGx::GripMouseMove(const QPoint& screenPos)
{
    QWidget* p = parentWidget();
    if (!p || FInternalMove || screenPos == FOldMouseMovePos)
        return;
    const TRect wa = WorkAreaFor(TRect(p->frameGeometry()));
    const QRect frame = p->frameGeometry();
    const int frameW = frame.width() - p->width();
    const int frameH = frame.height() - p->height();
    const int oldW = p->width();
    const int oldH = p->height();
    QRect g = frame;
    const int dx = screenPos.x() - FInitScreenMousePos.x();
    const int dy = screenPos.y() - FInitScreenMousePos.y();

    int clientW = oldW;
    if (FPosition == sgpTopRight || FPosition == sgpBottomRight) {
        clientW = FParentRect.clientWidth + dx;
        clientW = qMin(clientW, wa.Right - frame.left() - frameW);
    } else {
        const int right = frame.left() + frame.width();
        int outerW = FParentRect.width - dx;
        outerW = qMin(outerW, right - wa.Left);
        clientW = outerW - frameW;
        g.moveLeft(right - outerW);
    }
    int clientH = oldH;
    if (FPosition == sgpBottomLeft || FPosition == sgpBottomRight) {
        clientH = FParentRect.clientHeight + dy;
        clientH = qMin(clientH, wa.Bottom - frame.top() - frameH);
    } else {
        const int bottom = frame.top() + frame.height();
        int outerH = FParentRect.height - dy;
        outerH = qMin(outerH, bottom - wa.Top);
        clientH = outerH - frameH;
        g.moveTop(bottom - outerH);
    }
    clientW = qMax(clientW, 1);
    clientH = qMax(clientH, 1);
    if (g.topLeft() != frame.topLeft())
        p->move(g.topLeft());
    if (clientW != oldW || clientH != oldH)
        p->resize(clientW, clientH);
    FOldMouseMovePos = screenPos;
    if ((clientW != oldW || clientH != oldH) && OnParentResized)
        OnParentResized(this);
    UpdatePosition();
}

void TSizeGripGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button == mbLeft)
        GripMouseDown(mapToGlobal(QPoint(x, y)));
}

void TSizeGripGx::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (shift.contains(ssLeft) && MouseCapture())
        GripMouseMove(mapToGlobal(QPoint(x, y)));
}

void TSizeGripGx::moveEvent(QMoveEvent* e)
{
    TCustomControl::moveEvent(e);
    if (!FInternalMove)
        UpdatePosition();
}

void TSizeGripGx::Paint()
{
    TCanvas& canvas = *Canvas();
    canvas.FillRect(TRect(0, 0, width(), height()), clBtnFace);
    static const TColor colors[4] = {clBtnHighlight, clBtnShadow, clBtnShadow, clBtnFace};
    const int w = width();
    const int h = height();
    const int groups = w / 4;
    int line = 0;
    for (int g = 1; g <= groups; ++g) {
        for (int k = 0; k < 4; ++k, ++line) {
            // Lines parallel to the long side, from the inside towards the corner.
            const int d = qMax(w, h) - 1 - (groups * 4 - 1 - line);
            if (d < 0)
                continue;
            canvas.Pen()->SetColor(colors[k]);
            switch (FPosition) {
            case sgpBottomRight: canvas.MoveTo(w - 1 - d, h); canvas.LineTo(w, h - 1 - d); break;
            case sgpBottomLeft: canvas.MoveTo(d, h); canvas.LineTo(-1, h - 1 - d); break;
            case sgpTopLeft: canvas.MoveTo(d, -1); canvas.LineTo(-1, d); break;
            case sgpTopRight: canvas.MoveTo(w - 1 - d, -1); canvas.LineTo(w, d); break;
            }
        }
    }
}
