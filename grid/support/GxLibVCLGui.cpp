#include "GxLibVCLGui.h"
#include "GxLibVCL.h"
#include "platform/gui/PendingInput.h"
#include <QApplication>
#include <QFile>
#include <QStyleHints>
#include <cstring>

int WinDrawText(TCanvas* canvas, const QString& text, unsigned flags, TRect& rect)
{
    return DrawText(canvas, text, rect, flags);
}

int WinDrawTextEx(TCanvas* canvas, const QString& text, int length, TDrawTextParams* params, unsigned flags, TRect& rect)
{
    return DrawTextEx(canvas, length < 0 ? text : text.left(length), rect, flags, params);
}

bool WinExtTextOut(TCanvas* canvas, int x, int y, unsigned options, const TRect* rect, const QString& text)
{
    if (rect && (options & ETO_OPAQUE))
        canvas->FillRect(*rect);
    if (rect && (options & ETO_CLIPPED)) {
        const TClipRegion saved = canvas->GetClipRegion();
        canvas->IntersectClipRect(*rect);
        canvas->TextOut(x, y, text);
        canvas->SelectClipRegion(saved);
    } else {
        canvas->TextOut(x, y, text);
    }
    return true;
}

bool WinGetOutlineTextMetrics(TCanvas* canvas, TOutlineTextMetricsGx& m)
{
    m.Ascent = canvas->FontAscent();
    m.Descent = canvas->FontDescent();
    m.LineGap = canvas->FontExternalLeading();
    m.AverageCharWidth = canvas->FontAverageCharWidth();
    m.Overhang = canvas->FontOverhang();
    return true;
}

TRect WinRectLPtoDP(TCanvas* canvas, const TRect& rect)
{
    const TPoint a = canvas->LPtoDP(rect.TopLeft());
    const TPoint b = canvas->LPtoDP(rect.BottomRight());
    return TRect(a, b);
}

void WinInvalidateRect(QWidget* window, const TRect* rect, bool)
{
    if (!window)
        return;
    // A control of ours paints from its back buffer: invalidate that, not just the screen.
    if (auto* control = qobject_cast<TCustomControl*>(window)) {
        if (rect)
            control->InvalidateRect(*rect);
        else
            control->Invalidate();
    } else if (rect) {
        window->update(rect->toQRect());
    } else {
        window->update();
    }
}

void WinValidateRect(QWidget*, const TRect*) {}

void WinScrollWindow(QWidget* window, int dx, int dy, const TRect* scrollRect)
{
    if (!window)
        return;
    if (auto* control = qobject_cast<TCustomControl*>(window))
        control->ScrollWindow(dx, dy, scrollRect);
    else if (scrollRect)
        window->scroll(dx, dy, scrollRect->toQRect());
    else
        window->scroll(dx, dy);
}

void WinScrollWindowEx(QWidget* window, int dx, int dy, const TRect* scrollRect)
{
    WinScrollWindow(window, dx, dy, scrollRect);
}

QRegion WinCreatePolygonRgn(const TPoint* points, int count)
{
    QPolygon polygon;
    for (int i = 0; i < count; ++i)
        polygon << points[i].toQPoint();
    return QRegion(polygon);
}

void LoadBitmapFromResource(TBitmap& bitmap, const QString& resName)
{
    const QString path = QStringLiteral(":/") + resName;
    QImage image;
    if (!QFile::exists(path) || !image.load(path))
        throw EInvalidOperation(QStringLiteral("Resource %1 not found").arg(resName));
    bitmap.Assign(image);
}

LRESULT WinSendPointerMessage(QWidget* window, UINT msg, WPARAM wParam, const void* lParam)
{
    auto* control = qobject_cast<TCustomControl*>(window);
    return control ? control->Perform(msg, wParam, LPARAM(lParam)) : 0;
}

LRESULT WinSendTextMessage(QWidget* window, UINT msg, WPARAM wParam, const QString& text)
{
    return WinSendPointerMessage(window, msg, wParam, &text);
}

void CopyMessageRecord(TMessage& dest, const TMessage& source)
{
    std::memcpy(&dest, &source, sizeof(TMessage));
}

WPARAM HandleToWParam(const void* handle)
{
    return WPARAM(handle);
}

TShiftState GetShiftState()
{
    TShiftState s;
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    if (mods & Qt::ShiftModifier)
        s << ssShift;
    if (mods & Qt::ControlModifier)
        s << ssCtrl;
    if (mods & Qt::AltModifier)
        s << ssAlt;
    return s;
}

bool IsWithinDoubleClick(const TPoint& oldPoint, const TPoint& newPoint, int interval)
{
    const QStyleHints* hints = QGuiApplication::styleHints();
    const int distance = hints->mouseDoubleClickDistance();
    return interval <= hints->mouseDoubleClickInterval() && std::abs(newPoint.X - oldPoint.X) <= distance
           && std::abs(newPoint.Y - oldPoint.Y) <= distance;
}

namespace {

TCustomControl* WindowOf(QWidget* control)
{
    for (QWidget* w = control; w; w = w->parentWidget())
        if (auto* c = qobject_cast<TCustomControl*>(w))
            return c;
    return nullptr;
}

// Whether a left-button press at P (the window's coordinates) is a click in the
// control (clientTest: the point lies in its client rectangle) or on it (the
// control is the one under the point).
bool ClickMeansControl(TCustomControl* window, QWidget* control, const QPoint& p, bool clientTest)
{
    if (window == control) {
        if (clientTest)
            return control->rect().contains(p);
        // A window's own click: the point must be on the control, not on a child.
        return !window->childAt(p);
    }
    // A click for the window: the control must be the one under the point.
    QWidget* under = window->childAt(p);
    if (under != control && !(under && control->isAncestorOf(under)))
        return false;
    return !clientTest || control->rect().contains(control->mapFrom(window, p));
}

bool TakePendingClick(QWidget* control, bool clientTest)
{
    TCustomControl* window = WindowOf(control);
    if (!window)
        return false;
    // Messages the program posted to the window come first; then the clicks the
    // window system holds for it.
    TMessage msg;
    if (window->PeekMessage(msg, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, false)) {
        if (msg.Msg != WM_LBUTTONDOWN && msg.Msg != WM_LBUTTONDBLCLK)
            return false;
        qint16 x = 0, y = 0;
        LParamToSmallPoint(msg.LParam, x, y);
        if (!ClickMeansControl(window, control, QPoint(x, y), clientTest))
            return false;
        window->PeekMessage(msg, msg.Msg, msg.Msg, true);
        return true;
    }
    return TakePendingLeftButton([&](const TPendingMouseButton& b) {
        if (WindowOf(b.Receiver) != window)
            return TPendingVerdict::Skip;
        if (!b.Press)
            return TPendingVerdict::Keep;
        const QPoint p = b.Receiver->mapTo(window, b.Pos);
        return ClickMeansControl(window, control, p, clientTest) ? TPendingVerdict::Take : TPendingVerdict::Keep;
    });
}

} // namespace

bool TakePendingClickInControl(QWidget* control)
{
    return TakePendingClick(control, true);
}

bool TakePendingClickOnControl(QWidget* control)
{
    return TakePendingClick(control, false);
}
