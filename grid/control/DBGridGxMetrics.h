#pragma once
// The computations of the grid's layout pass that need no window: indicator
// width, row heights snapped to text lines, the title height of several lines,
// frozen and contra columns, and fitting column widths to the client width.
#include <QString>
#include <vector>

class TCanvas;
class TFont;

// Width of the indicator column: 11 with the indicator (else 0); with record
// numbers the width of as many "0" as the record count has digits, in the font
// one point smaller, plus the start value (2 when it is 0) and 2, at least 11.
int CalcIndicatorColWidthGx(TCanvas* canvas, const TFont& gridFont, bool indicator, bool showRecNo,
                            bool hasDataSet, int recordCount);
// The text of zeros the record-number width is measured with.
QString RecNoMeasureTextGx(int recordCount);

// Row height snapped to whole text lines (at least one): the new height; lines
// and the extra pixels come back in rowLines and rowHeight.
int FitRowHeightToTextGx(int stdDefaultRowHeight, int cellMargin, int textHeight, int& rowLines, int& rowHeight);

// Title row height with TitleLines or TitleHeight set.
int TitleHeightFullGx(int titleLines, int tmHeight, int tmExternalLeading, int titleHeight, bool rowLines);

// Frozen (fixed) and contra (right fixed) grid columns from the visible columns.
struct TFixedColsGx {
    int FixedCols = 0;
    int ContraCols = 0;
    int ColCount = 0;
    int FrozenCount = 0;   // the base grid's frozen count
};
TFixedColsGx CalcFixedColsGx(int frozenCols, int indicatorOffset, int visibleCount, int columnCount,
                             int contraColCount, bool linkActiveOrCustomized, int hiddenLeading);

struct TAutoFitColumnGx {
    bool Visible = true;
    bool AutoFit = true;
    int InitWidth = 64;
    int Width = 64;
    int MinWidth = 0;
    int MaxWidth = 0;
    bool NotInWidthRange = false;
};
// Shares the available width among the auto-fit columns by their initial widths;
// a column held by its limits is marked and the others share the rest; the last
// unmarked column takes the remainder, never going below 0. Returns the
// available width.
int AutoFitColumnWidthsGx(std::vector<TAutoFitColumnGx>& columns, int clientWidth, int minAutoFitWidth,
                          int indicatorWidth, bool colLines, bool indicator, int extraFirstColumnWidth);
