#pragma once
// The grid library's adapters of the window layer: text output and metrics,
// invalidation and scrolling, regions, bitmaps from resources, message sending,
// the keyboard's shift state, double-click tests and click look-ahead.
#include "platform/gui/ControlBase.h"
#include "platform/gui/DrawUtils.h"
#include <QPolygon>
#include <QRegion>

// Draws (or with DT_CALCRECT measures) text; returns its height.
int WinDrawText(TCanvas* canvas, const QString& text, unsigned flags, TRect& rect);
int WinDrawTextEx(TCanvas* canvas, const QString& text, int length, TDrawTextParams* params, unsigned flags, TRect& rect);
// Text at a point; with ETO_CLIPPED clipped to the rectangle, with ETO_OPAQUE the
// rectangle filled with the brush first.
enum : unsigned { ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4 };
bool WinExtTextOut(TCanvas* canvas, int x, int y, unsigned options, const TRect* rect, const QString& text);
struct TOutlineTextMetricsGx {
    int Ascent = 0, Descent = 0, LineGap = 0, AverageCharWidth = 0, Overhang = 0;
};
bool WinGetOutlineTextMetrics(TCanvas* canvas, TOutlineTextMetricsGx& metrics);
TRect WinRectLPtoDP(TCanvas* canvas, const TRect& rect);

void WinInvalidateRect(QWidget* window, const TRect* rect, bool erase);
// Qt paints what was invalidated as a whole; validating takes nothing back.
void WinValidateRect(QWidget* window, const TRect* rect);
void WinScrollWindow(QWidget* window, int dx, int dy, const TRect* scrollRect);
void WinScrollWindowEx(QWidget* window, int dx, int dy, const TRect* scrollRect);
QRegion WinCreatePolygonRgn(const TPoint* points, int count);
// A bitmap of the program's resources (":/name"); raises "Resource <name> not found".
void LoadBitmapFromResource(TBitmap& bitmap, const QString& resName);

// Messages to a control's window procedure; 0 when it is not one of ours.
LRESULT WinSendPointerMessage(QWidget* window, UINT msg, WPARAM wParam, const void* lParam);
LRESULT WinSendTextMessage(QWidget* window, UINT msg, WPARAM wParam, const QString& text);
void CopyMessageRecord(TMessage& dest, const TMessage& source);
WPARAM HandleToWParam(const void* handle);

TShiftState GetShiftState();
bool IsWithinDoubleClick(const TPoint& oldPoint, const TPoint& newPoint, int interval);

// Looks at the first queued left-button message of the control's window (the
// control itself, or the nearest of our controls above it): a message posted to
// the window, else a press or release that the window system holds for it (a
// click the user made while the program was busy). A down or double-click whose
// point lies in the control is taken from the queue and never delivered.
bool TakePendingClickInControl(QWidget* control);
// The same without the client-rectangle test: the control under the point must be the control.
bool TakePendingClickOnControl(QWidget* control);
