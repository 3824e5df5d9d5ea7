#include "DBGridGxMetrics.h"
#include "platform/gui/Canvas.h"
#include <algorithm>
#include <cmath>

QString RecNoMeasureTextGx(int recordCount)
{
    QString text = QStringLiteral("0");
    for (qint64 n = std::max(0, recordCount) / 10; n > 0 && text.size() < 102; n /= 10)
        text += QLatin1Char('0');
    return text;
}

int CalcIndicatorColWidthGx(TCanvas* canvas, const TFont& gridFont, bool indicator, bool showRecNo,
                            bool hasDataSet, int recordCount)
{
    const int start = indicator ? 11 : 0;
    if (!showRecNo || !hasDataSet)
        return start;
    TFont saved;
    saved.Assign(*canvas->Font());
    canvas->SetFont(gridFont);
    canvas->Font()->SetSize(gridFont.Size() - 1);
    const int width = canvas->TextWidth(RecNoMeasureTextGx(recordCount));
    canvas->SetFont(saved);
    return std::max(11, width + (start ? start : 2) + 2);
}

int FitRowHeightToTextGx(int stdDefaultRowHeight, int cellMargin, int textHeight, int& rowLines, int& rowHeight)
{
    if (textHeight <= 0)
        return stdDefaultRowHeight;
    const int avail = std::max(0, stdDefaultRowHeight - cellMargin);
    int n = avail / textHeight;
    const int r = avail % textHeight;
    if (r > textHeight / 2 || n == 0)
        ++n;
    rowLines = n;
    rowHeight = cellMargin;
    return cellMargin + n * textHeight;
}

int TitleHeightFullGx(int titleLines, int tmHeight, int tmExternalLeading, int titleHeight, bool rowLines)
{
    return titleLines * tmHeight + tmExternalLeading + titleHeight + 2 + (rowLines ? 1 : 0);
}

TFixedColsGx CalcFixedColsGx(int frozenCols, int indicatorOffset, int visibleCount, int columnCount,
                             int contraColCount, bool linkActiveOrCustomized, int hiddenLeading)
{
    TFixedColsGx r;
    const int frozen = frozenCols < visibleCount ? frozenCols + indicatorOffset
                                                 : indicatorOffset + visibleCount - 1;
    if (linkActiveOrCustomized) {
        r.ContraCols = std::max(0, std::min(contraColCount, visibleCount - frozen));
        r.ColCount = columnCount + indicatorOffset - r.ContraCols;
        r.FixedCols = frozen;
        r.FrozenCount = r.FixedCols - indicatorOffset;
    } else {
        r.ContraCols = 0;
        r.ColCount = columnCount + indicatorOffset;
        r.FixedCols = hiddenLeading + indicatorOffset - (visibleCount == 0 ? 1 : 0);
        r.FrozenCount = 0;
    }
    return r;
}

namespace {

int Limited(const TAutoFitColumnGx& c, int width)
{
    if (c.MaxWidth > 0 && c.MaxWidth < width)
        width = c.MaxWidth;
    if (c.MinWidth > 0 && c.MinWidth > width)
        width = c.MinWidth;
    return width;
}

} // namespace

int AutoFitColumnWidthsGx(std::vector<TAutoFitColumnGx>& columns, int clientWidth, int minAutoFitWidth,
                          int indicatorWidth, bool colLines, bool indicator, int extraFirstColumnWidth)
{
    int visibleCount = 0;
    for (TAutoFitColumnGx& c : columns)
        if (c.Visible) {
            c.NotInWidthRange = false;
            ++visibleCount;
        }
    auto fitting = [](const TAutoFitColumnGx& c) { return c.Visible && c.AutoFit && !c.NotInWidthRange; };
    int avail = 0, given = 0;
    for (int iteration = 0; iteration < std::max(1, visibleCount); ++iteration) {
        int fit = 0, fixed = 0;
        for (const TAutoFitColumnGx& c : columns) {
            if (!c.Visible)
                continue;
            if (fitting(c))
                fit += c.InitWidth;
            else
                fixed += c.Width;
        }
        avail = std::max(0, std::max(minAutoFitWidth, clientWidth) - fixed);
        avail -= indicatorWidth;
        if (colLines)
            avail -= visibleCount;
        if (indicator && colLines)
            avail -= 1;
        avail -= extraFirstColumnWidth;
        given = 0;
        bool marked = false;
        for (TAutoFitColumnGx& c : columns) {
            if (!fitting(c))
                continue;
            // a share is never negative, even when nothing is left to share
            const int target = fit > 0 ? std::max(0, MulDiv(c.InitWidth, avail, fit)) : 0;
            c.Width = Limited(c, target);
            if (c.Width != target) {
                c.NotInWidthRange = true;
                marked = true;
            }
            given += c.Width;
        }
        if (!marked)
            break;
    }
    if (given != avail)
        for (auto it = columns.rbegin(); it != columns.rend(); ++it)
            if (fitting(*it)) {
                it->Width = std::max(0, it->Width + avail - given);
                break;
            }
    return avail;
}
