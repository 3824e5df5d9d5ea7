#pragma once
// The grid's lines of one paint, collected per colour and drawn with one
// poly-polyline call per colour.
#include "platform/gui/Canvas.h"

#include <memory>
#include <vector>

class TCustomGridGx;

struct TGridLinesGx {
    TColor Color = clBlack;
    std::vector<TPoint> Points;  // pairs of points, one pair a line
};

class TGridLinesCacheGx {
public:
    void Clear() { FItems.clear(); }
    int Count() const { return int(FItems.size()); }
    TGridLinesGx* Item(int Index) const { return FItems[size_t(Index)].get(); }
    // The entry of a colour (in insertion order), appended when missing.
    TGridLinesGx* GetGridLines(TColor Color);
    void AddLine(TColor Color, int X1, int Y1, int X2, int Y2);
    void Draw(TCustomGridGx* Grid, TCanvas* Canvas);

private:
    std::vector<std::unique_ptr<TGridLinesGx>> FItems;
};
