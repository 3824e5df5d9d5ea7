#pragma once
// Putting text and small images into cell rectangles: one line with alignment,
// end ellipsis and vertical layout; several lines wrapped inside margins; text
// turned by 90 degrees for vertical titles; the plain text-out of data cells;
// images centred and clipped to the cell. On a brush colour the display cannot
// show solid the text goes through the shared text bitmap, so the background
// behind the letters stays even.
#include "DBGridGxTypes.h"
#include "platform/gui/Canvas.h"
#include <QString>

class TImageList;

// Text-drawing flags by alignment (left, right, centre): on the canvas and the
// search highlight (no prefix, expand tabs) and through the shared bitmap (with
// word break).
constexpr unsigned CellTextFlagsGx[3] = {0x840, 0x842, 0x841};
constexpr unsigned CellBitmapTextFlagsGx[3] = {0x850, 0x852, 0x851};

// The colour the display shows for a colour: itself on a true-colour display,
// else the nearest of the twenty static palette colours.
TColor NearestScreenColorGx(TColor color);
// Whether the display shows the colour solid.
bool IsSolidScreenColorGx(TColor color);

void PaintCellText(TCanvas* canvas, const TRect& rect, bool fillRect, int dx, int dy, const QString& text,
                   TAlignment alignment, TTextLayoutGx layout, bool multiLine, bool endEllipsis, int leftMarg,
                   int rightMarg, bool rightToLeftReading);
void PaintCellTextSimple(TCanvas* canvas, const TRect& rect, int dx, int dy, const QString& text,
                         TAlignment alignment);
// dx: left offset, dy: bottom offset. The width of the text along its baseline
// plus the font's overhang; calcOnly draws nothing.
int PaintCellTextVertical(TCanvas* canvas, const TRect& rect, bool fillRect, int dx, int dy, const QString& text,
                          TAlignment alignment, TTextLayoutGx layout, bool endEllipsis, bool calcOnly);
// An image of the list (or the bitmap without a list) placed by the alignment,
// centred vertically, clipped to the rectangle when it does not fit.
void PaintCellImage(TImageList* imageList, TBitmap* bitmap, TCanvas* canvas, const TRect& rect, int imageIndex,
                    int dx, TAlignment alignment);
// The text when it fits maxWidth; else the longest prefix of at most length - 2
// characters that fits followed by "...", or "..." alone.
QString TruncateWithEllipsis(const QString& text, TCanvas* canvas, int maxWidth);
// The font turned by 90 degrees (bottom to top), as the vertical title text takes it.
void CreateVerticalFontGx(const TFont& font, TFont& vertical);
