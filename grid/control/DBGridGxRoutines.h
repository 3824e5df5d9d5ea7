#pragma once
// Small routines of the grid unit shared by the columns, the style and the grid.
#include "platform/gui/Graphics.h"
#include <QString>
#include <vector>

class TField;
class TCanvas;

// The field's text in a display format: an empty format gives the field's own
// display text, a null field an empty text, numbers and date-times the format
// applied to the value; any other field with a format shows nothing.
QString FormatFieldValueGx(TField* field, const QString& displayFormat);

// A lookup field with key fields that is not read-only itself counts read-only
// when all its key fields are read-only or it has no dataset.
bool IsFieldReadOnlyForGrid(TField* field);

// True when every field of the list may be modified.
bool AllFieldsCanModify(const std::vector<TField*>& fields);

// The value as a 32-bit integer for integer, float, currency and BCD fields
// within the range; else Default.
int FieldIntegerValue(TField* field, int defaultValue);

// Each RGB component from + round((to - from) / 255 * amount), within 0..255.
TColor ApproachColor(TColor fromColor, TColor toColor, double amount);

// Each component c of the colour moved half way to the glass colour, then 60 %
// towards 225, and with ungray another quarter away from 122; within 0..255.
TColor LightenColor(TColor color, TColor glassColor, bool ungray);

// Nested hourglass cursor: the outermost begin shows it, the matching end
// restores the previous cursor; an end without a begin does nothing.
void BeginWaitCursor();
void EndWaitCursor();
int WaitCursorDepth();

// Width of a single-line text on the canvas.
int MeasureTextWidth(TCanvas* canvas, const QString& text);

inline int IntIfThen(bool condition, int a, int b) { return condition ? a : b; }
inline int IntMax(int a, int b) { return a > b ? a : b; }
inline int IntMin(int a, int b) { return a < b ? a : b; }
// Keeps left and top and swaps width and height.
void SwapRectSize(TRect& rect);

// Copies the default font into an object's own font (unless they are one object
// or already equal) with the flag set, so the font's change handler can tell the
// copy from a change by the user.
void RefreshOwnFontGx(TFont& own, const TFont* defaultFont, bool& refreshing);
