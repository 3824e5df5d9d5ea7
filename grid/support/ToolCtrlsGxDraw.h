#pragma once
// Small painting routines shared by the edit buttons, the drop-down list box, the
// data-aware check box and the grid: colour blending, gradients, gradient glyphs,
// dotted lines, tree-row elements, centred images and check-box placement.
#include "platform/gui/Canvas.h"
#include <vector>

// Whether visual themes are in use; the platform draws the classic look unless a
// themed look is switched on.
bool IsThemingActive();
void SetThemingActiveGx(bool value);

// Every channel c1 + (c2 - c1) * percent / 100, rounded half to even, within 0..255.
TColor BlendColors(TColor color1, TColor color2, int percent);
// One line per pixel row from the top colour to the bottom colour.
void FillGradientRect(TCanvas* canvas, const TRect& rect, TColor topColor, TColor bottomColor);
// Points in pairs relative to the origin, one segment per pair; the colour runs
// from the first segment's to the last segment's.
void DrawGradientSegments(TCanvas* canvas, const TPoint& origin, const std::vector<TPoint>& points,
                          TColor lastColor, TColor firstColor);
// One-pixel dots every 2 × pen width pixels; Parity keeps crossing lines on one grid.
void DrawDottedLine(TCanvas* canvas, const TPoint& start, int length, bool parity, bool horizontal);
// Expand/collapse box and connector lines of a tree row (kinds 0 to 11).
void DrawTreeElement(TCanvas* canvas, const TRect& rect, int kind, bool rightToLeft,
                     double horzScale, double vertScale, bool parity);
// The image centred in the rectangle, clipped to it when larger; a selected image
// is blended with the highlight colour.
void DrawImageCentered(TCanvas* canvas, const TRect& rect, const QImage& image, bool selected);

// Size of the check-box glyph (13 × 13 pixels on this platform).
TSize CheckBoxGlyphSize();
// Horizontal: 0 left, 1 right, 2 centre; vertical: 0 top, 1 centre, 2 bottom.
TRect CheckBoxRectInRect(const TRect& cellRect, int alignment, int layout);
