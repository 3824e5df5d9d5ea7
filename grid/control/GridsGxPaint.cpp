// Painting of the base grid: margins, the lines of each area through the lines
// cache, the cells of each area through DrawCell, focus, the room after the last
// lines, the fading continuation lines and the contra areas at the far edges.
#include "GridsGx.h"
#include "GridsGxLines.h"

#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/gui/DrawUtils.h"

#include <algorithm>

// ---- line colours -------------------------------------------------------------------------

void TGridLineColorsGx::Changed()
{
    if (FGrid) FGrid->InvalidateWholeGrid();
}

TColor TGridLineColorsGx::GetDarkColor() { return Stored(FDarkColor, clGray); }

TColor TGridLineColorsGx::GetBrightColor()
{
    if (FBrightColor != clDefault) return FBrightColor;
    return ColorToRGB(FGrid->Color()) == clSilver ? clGray : clSilver;
}

TColor TGridLineColorsGx::GetCellColor(int ACol, int ARow)
{
    if (ACol < FGrid->FixedCols() - FGrid->FrozenColCount() || ARow < FGrid->FixedRows() - FGrid->FrozenRowCount())
        return GetDarkColor();
    if (ACol < FGrid->ColCount() && ARow < FGrid->RowCount()) return GetBrightColor();
    if (ARow >= FGrid->RowCount()) return GetVertAreaContraVertColor();
    return GetHorzAreaContraHorzColor();
}

TColor TGridLineColorsGx::GetLeftBorderCellColor(int ACol, int ARow)
{
    return ACol == FGrid->ColCount() ? GetVertAreaContraBorderColor() : GetBrightColor();
}

TColor TGridLineColorsGx::GetTopBorderCellColor(int ACol, int ARow)
{
    return ARow == FGrid->RowCount() ? GetHorzAreaContraBorderColor() : GetBrightColor();
}

TColor TGridLineColorsGx::GetRightBorderCellColor(int ACol, int ARow)
{
    return FGrid->FrozenColCount() > 0 && ACol == FGrid->FixedCols() - 1 ? GetVertAreaFrozenBorderColor() : GetBrightColor();
}

TColor TGridLineColorsGx::GetDownBorderCellColor(int ACol, int ARow)
{
    return FGrid->FrozenRowCount() > 0 && ARow == FGrid->FixedRows() - 1 ? GetDarkColor() : GetBrightColor();
}

TColor TGridLineColorsGx::GetFixedVertColor() { return Stored(FFixedVertColor, GetDarkColor()); }
TColor TGridLineColorsGx::GetFixedHorzColor() { return Stored(FFixedHorzColor, GetDarkColor()); }
TColor TGridLineColorsGx::GetVertAreaFrozenVertColor() { return Stored(FVertAreaFrozenVertColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetVertAreaFrozenHorzColor() { return Stored(FVertAreaFrozenHorzColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetHorzAreaFrozenVertColor() { return Stored(FHorzAreaFrozenVertColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetHorzAreaFrozenHorzColor() { return Stored(FHorzAreaFrozenHorzColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetVertAreaFrozenBorderColor() { return Stored(FVertAreaFrozenBorderColor, GetDarkColor()); }
TColor TGridLineColorsGx::GetHorzAreaFrozenBorderColor() { return Stored(FHorzAreaFrozenBorderColor, GetDarkColor()); }
TColor TGridLineColorsGx::GetDataVertColor() { return Stored(FDataVertColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetDataHorzColor() { return Stored(FDataHorzColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetVertAreaContraVertColor() { return Stored(FVertAreaContraVertColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetVertAreaContraHorzColor() { return Stored(FVertAreaContraHorzColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetHorzAreaContraVertColor() { return Stored(FHorzAreaContraVertColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetHorzAreaContraHorzColor() { return Stored(FHorzAreaContraHorzColor, GetBrightColor()); }
TColor TGridLineColorsGx::GetVertAreaContraBorderColor() { return Stored(FVertAreaContraBorderColor, GetDarkColor()); }
TColor TGridLineColorsGx::GetHorzAreaContraBorderColor() { return Stored(FHorzAreaContraBorderColor, GetDarkColor()); }

// ---- lines cache --------------------------------------------------------------------------

TGridLinesGx* TGridLinesCacheGx::GetGridLines(TColor Color)
{
    for (auto& l : FItems)
        if (l->Color == Color) return l.get();
    FItems.push_back(std::make_unique<TGridLinesGx>());
    FItems.back()->Color = Color;
    return FItems.back().get();
}

void TGridLinesCacheGx::AddLine(TColor Color, int X1, int Y1, int X2, int Y2)
{
    TGridLinesGx* l = GetGridLines(Color);
    l->Points.push_back({X1, Y1});
    l->Points.push_back({X2, Y2});
}

void TGridLinesCacheGx::Draw(TCustomGridGx* Grid, TCanvas* Canvas)
{
    size_t longest = 0;
    for (auto& l : FItems) longest = std::max(longest, l->Points.size());
    const std::vector<int> strokes(longest / 2 + 1, 2);
    for (auto& l : FItems) {
        if (l->Points.size() < 2) continue;
        Canvas->Pen()->SetColor(l->Color);
        Grid->DrawPolyPolyline(l->Points.data(), strokes.data(), int(l->Points.size()));
    }
}

// ---- drawing services ---------------------------------------------------------------------

void TCustomGridGx::DrawPolyline(const TPoint* Points, int HighIndex)
{
    Canvas()->Polyline(Points, HighIndex + 1);
}

void TCustomGridGx::DrawPolyPolyline(const TPoint* Points, const int* Strokes, int PointCount)
{
    Canvas()->PolyPolyline(Points, Strokes, PointCount / 2);
}

TClipRegion TCustomGridGx::ClipRectSave(const TRect& R)
{
    TCanvas* c = Canvas();
    TClipRegion saved = c->GetClipRegion();
    c->IntersectClipRect(R);
    return saved;
}

void TCustomGridGx::ClipRestore(const TClipRegion& Saved)
{
    Canvas()->SelectClipRegion(Saved);
}

void TCustomGridGx::FillCanvasRect(const TRect& R, TColor Color)
{
    if (!R.IsEmpty()) Canvas()->FillRect(R, Color);
}

void TCustomGridGx::DrawCellFrame(const TRect& Rect, bool RightSide, bool LeftSide, bool Pressed, bool Down)
{
    TCanvas* c = Canvas();
    const unsigned edge = (Pressed || Down) ? BDR_SUNKENINNER : BDR_RAISEDINNER;
    if (FFlat) {
        c->Pen()->SetColor(c->Brush()->Color());
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetMode(pmCopy);
        c->Pen()->SetWidth(1);
        c->MoveTo(Rect.Left, Rect.Bottom - 1);
        c->LineTo(Rect.Right - 1, Rect.Bottom - 1);
        if (RightSide) c->LineTo(Rect.Right - 1, Rect.Top - 1);
        DrawEdge(c, Rect, edge, LeftSide ? BF_TOPLEFT : BF_TOP);
        return;
    }
    if (RightSide && LeftSide) {
        DrawEdge(c, Rect, edge, BF_RECT);
    } else {
        DrawEdge(c, Rect, edge, LeftSide ? BF_TOPLEFT : BF_TOP);
        DrawEdge(c, Rect, edge, RightSide ? BF_BOTTOMRIGHT : BF_BOTTOM);
    }
}

void TCustomGridGx::CheckDrawCellBorder(int ACol, int ARow, TCellBorderTypeGx BorderType, bool& IsDraw,
                                        TColor& BorderColor, bool& IsExtent)
{
    if (BorderType == cbtLeftGx || BorderType == cbtRightGx) {
        IsDraw = HasOption(goVertLine);
        IsExtent = HasOption(goHorzLine);
    } else {
        IsDraw = HasOption(goHorzLine);
        IsExtent = HasOption(goVertLine);
    }
}

void TCustomGridGx::DrawOutBoundaryData()
{
    static const TCellBorderTypeGx order[] = {cbtTopGx, cbtLeftGx, cbtBottomGx, cbtRightGx};
    for (TCellBorderTypeGx t : order) {
        TRect r;
        if (FOutBoundaryData->GetOutBoundaryRect(r, t)) DrawOutBoundaryArea(r);
    }
}

void TCustomGridGx::DrawOutBoundaryArea(const TRect& ARect)
{
    FillCanvasRect(ARect, FFixedColor);
}

// ---- areas --------------------------------------------------------------------------------

void TCustomGridGx::DrawAreaLines(const TGridLayoutGx& L, const TRect& Area, int FirstCol, int FirstRow,
                                  bool HorzOption, bool VertOption, TColor Background, TColor LineColor)
{
    if (Area.IsEmpty()) return;
    FGridLinesCache->Clear();
    int x = Area.Left;
    for (int col = FirstCol; x < Area.Right - 1 && col < FColCount; ++col) {
        const int w = ColWidths(col);
        int y = Area.Top;
        for (int row = FirstRow; y < Area.Bottom - 1 && row < FRowCount; ++row) {
            const int h = RowHeights(row);
            bool isDraw = false, isExtent = true;
            TColor color = VertOption ? LineColor : Background;
            CheckDrawCellBorder(col, row, cbtRightGx, isDraw, color, isExtent);
            if (isDraw) FGridLinesCache->AddLine(color, x + w, y, x + w, isExtent ? y + h + 1 : y + h);
            isExtent = true;
            color = HorzOption ? LineColor : Background;
            CheckDrawCellBorder(col, row, cbtBottomGx, isDraw, color, isExtent);
            if (isDraw) FGridLinesCache->AddLine(color, x, y + h, isExtent ? x + w + 1 : x + w, y + h);
            y += h + L.Vert.LineWidth;
        }
        x += w + L.Horz.LineWidth;
    }
    FGridLinesCache->Draw(this, Canvas());
}

void TCustomGridGx::DrawBorderLine(int X1, int Y1, int X2, int Y2, TColor Color)
{
    const TPoint pts[2] = {{X1, Y1}, {X2, Y2}};
    const int strokes[1] = {2};
    Canvas()->Pen()->SetColor(Color);
    DrawPolyPolyline(pts, strokes, 2);
}

void TCustomGridGx::DrawCellsArea(const TGridLayoutGx& L, int FirstCol, int FirstRow, int StartX, int StartY,
                                  int StopX, int StopY, TGridDrawState BaseState, TColor AreaColor, bool Contra)
{
    TCanvas* c = Canvas();
    const int rowLimit = Contra ? FullRowCount() : FRowCount;
    const int colLimit = Contra ? FullColCount() : FColCount;
    const TGridRect sel = Selection();
    const bool active = !Contra && IsActiveControl();
    int y = StartY;
    for (int row = FirstRow; y < StopY && row < rowLimit; ++row) {
        const int h = RowHeights(row);
        int x = StartX;
        for (int col = FirstCol; x < StopX && col < colLimit; ++col) {
            const int w = ColWidths(col);
            if (w > 0) {
                TGridDrawState state = BaseState;
                if (!Contra) {
                    if (FHotTrackCell.X == col && FHotTrackCell.Y == row) state << gdHotTrack;
                    const bool current = row == FCurrent.Y &&
                        (col == FCurrent.X || (HasOption(goRowSelect) && col >= FFixedCols - FFrozenColCount));
                    if (current) state << gdCurrent;
                    if (current && active) state << gdFocused;
                    if (PointInGridRect(col, row, sel)) state << gdSelected;
                }
                TRect r(x, y, x + w, y + h);
                bool isDraw = false, isExtent = true;
                TColor bc = clBlack;
                CheckDrawCellBorder(col, row, cbtRightGx, isDraw, bc, isExtent);
                if (!isDraw) r.Right += L.Horz.LineWidth;
                isExtent = true;
                CheckDrawCellBorder(col, row, cbtBottomGx, isDraw, bc, isExtent);
                if (!isDraw) r.Bottom += L.Vert.LineWidth;
                const bool focused = state.contains(gdFocused);
                if (FDefaultDrawing) {
                    c->SetFont(*Font());
                    if (state.contains(gdSelected) && (!focused || HasOption(goDrawFocusSelected) || HasOption(goRowSelect))) {
                        c->Brush()->SetColor(clHighlight);
                        c->Font()->SetColor(clHighlightText);
                    } else {
                        c->Brush()->SetColor(AreaColor);
                    }
                    c->FillRect(r);
                }
                if (c->RectVisible(r)) DrawCell(col, row, r, state);
                if (FDefaultDrawing && state.contains(gdFixed) && (HasOption(goFixedVertLine) || HasOption(goFixedHorzLine))) {
                    TRect fr = r;
                    if (!HasOption(goFixedVertLine))
                        fr.Right += L.Horz.LineWidth;
                    else if (!HasOption(goFixedHorzLine))
                        fr.Bottom += L.Vert.LineWidth;
                    DrawCellFrame(fr, true, true, false, false);
                }
                if (FDefaultDrawing && focused && !(HasOption(goEditing) && HasOption(goAlwaysShowEditor)) &&
                    !HasOption(goRowSelect))
                    c->DrawFocusRect(r);
            }
            x += w + L.Horz.LineWidth;
        }
        y += h + L.Vert.LineWidth;
    }
}

void TCustomGridGx::DrawExtendedVertLines(const TGridLayoutGx& L, int StartX, int EndX)
{
    if (!HasOption(goVertLine)) return;
    const TAxisLayoutGx& H = L.Horz;
    const TAxisLayoutGx& V = L.Vert;
    if (V.DataEnd >= V.ContraStart) return;
    const TColor grid = Color();
    auto line = [&](int x, TColor color) {
        FillGradientRect(Canvas(), TRect(x, V.DataEnd, x + 1, V.ContraStart), color, grid);
    };
    TColor dark = FGridLineColors->GetDarkColor(), bright = FGridLineColors->GetBrightColor();
    if (H.FixedEnd >= StartX) {
        int x = H.NearIndent;
        for (int i = 0; i < FFixedCols; ++i) {
            const int w = ColWidths(i);
            const bool trueFixed = i < FFixedCols - FFrozenColCount;
            line(x + w, trueFixed || i == FFixedCols - 1 ? dark : bright);
            x += w + FGridLineWidth;
        }
    }
    if (H.FixedEnd < EndX) {
        int x = H.DataStart;
        for (int i = FTopLeft.X; i <= H.LastWholeLine && i < FColCount; ++i) {
            const int w = ColWidths(i);
            if (x + w >= H.FixedEnd) line(x + w, bright);
            x += w + FGridLineWidth;
        }
    }
    if (EndX >= H.ContraStart && FContraColCount > 0) {
        int x = H.ContraStart;
        line(x, dark);
        x += H.LineWidth;
        for (int i = FColCount; i < FullColCount() - 1; ++i) {
            x += ColWidths(i);
            line(x, bright);
            x += FGridLineWidth;
        }
    }
}

void TCustomGridGx::DrawContraAreaLines(const TGridLayoutGx& L, const TRect& Area, int FirstCol, int FirstRow,
                                        bool HorzOption, bool VertOption, TColor Background, TColor LineColor)
{
    if (Area.IsEmpty()) return;
    TCanvas* c = Canvas();
    auto axis = [&](bool vert) {
        const TAxisLayoutGx& A = vert ? L.Horz : L.Vert;
        if (A.LineWidth == 0) return;
        const bool option = vert ? VertOption : HorzOption;
        const int first = vert ? FirstCol : FirstRow;
        const int last = first >= A.LineCount ? A.FullCount : A.LineCount;
        const int start = vert ? Area.Left : Area.Top, end = vert ? Area.Right : Area.Bottom;
        c->Pen()->SetWidth(FGridLineWidth);
        if (FGridLineWidth > 1) c->Pen()->SetEndCap(pecFlat);
        c->Pen()->SetColor(option ? LineColor : Background);
        std::vector<TPoint> pts;
        // Lines after each shown line; hidden lines take only their line width.
        int pos = start;
        for (int i = first; i < last && pos <= end + A.LineWidth; ++i) {
            const int s = A.SizeOf(i);
            pos += s;
            const int at = pos + A.LineWidth / 2;
            if (s > 0 && at <= end + A.LineWidth) {
                if (vert) {
                    pts.push_back({at, Area.Top});
                    pts.push_back({at, Area.Bottom});
                } else {
                    pts.push_back({Area.Left, at});
                    pts.push_back({Area.Right, at});
                }
            }
            pos += A.LineWidth;
        }
        if (!pts.empty()) {
            const std::vector<int> strokes(pts.size() / 2, 2);
            DrawPolyPolyline(pts.data(), strokes.data(), int(pts.size()));
        }
        c->Pen()->SetWidth(1);
        c->Pen()->SetEndCap(pecRound);
    };
    if (HorzOption) {
        axis(true);
        axis(false);
    } else {
        axis(false);
        axis(true);
    }
}

void TCustomGridGx::DrawContraAreas(const TGridLayoutGx& L)
{
    const TAxisLayoutGx& H = L.Horz;
    const TAxisLayoutGx& V = L.Vert;
    if (FContraColCount == 0 && FContraRowCount == 0) return;
    const bool fv = HasOption(goFixedVertLine), fh = HasOption(goFixedHorzLine);
    const bool dv = HasOption(goVertLine), dh = HasOption(goHorzLine);
    const int frozenCol = FFixedCols - FFrozenColCount, frozenRow = FFixedRows - FFrozenRowCount;
    const bool anyPixel = FDataOffset.cx != 0 || FDataOffset.cy != 0;
    TGridLineColorsGx* lc = FGridLineColors;
    if (H.LineWidth != 0 || V.LineWidth != 0) {
        if (FContraRowCount > 0) {
            DrawContraAreaLines(L, {0, V.ContraStart + 1, H.FrozenStart, V.FarLimit}, 0, FRowCount, fh, fv, FFixedColor,
                                lc->GetCellColor(0, FRowCount));
            DrawContraAreaLines(L, {H.FrozenStart, V.ContraStart + 1, H.FixedEnd - 1, V.FarLimit}, frozenCol, FRowCount, fh,
                                fv, FFixedColor, lc->GetCellColor(frozenCol, FRowCount));
            if (FFrozenColCount > 0)
                DrawBorderLine(H.FixedEnd - 1, V.ContraStart + 1, H.FixedEnd - 1, V.FarLimit,
                               lc->GetRightBorderCellColor(FFixedCols - 1, FRowCount));
            DrawBorderLine(0, V.ContraStart, H.FixedEnd, V.ContraStart, lc->GetTopBorderCellColor(frozenCol, FRowCount));
            TClipRegion saved = anyPixel ? ClipRectSave({H.FixedEnd, V.ContraStart, H.DataEnd, V.FarLimit}) : TClipRegion();
            DrawContraAreaLines(L, {H.DataStart, V.ContraStart + 1, H.DataEnd, V.FarLimit}, FTopLeft.X, FRowCount, dh, dv,
                                Color(), lc->GetCellColor(FTopLeft.X, FRowCount));
            DrawBorderLine(H.DataStart, V.ContraStart, H.DataEnd, V.ContraStart, lc->GetTopBorderCellColor(FTopLeft.X, FRowCount));
            if (anyPixel) ClipRestore(saved);
        }
        if (FContraColCount > 0) {
            DrawContraAreaLines(L, {H.ContraStart + 1, 0, H.FarLimit, V.FrozenStart}, FColCount, 0, fh, fv, FFixedColor,
                                lc->GetCellColor(FColCount, 0));
            DrawContraAreaLines(L, {H.ContraStart + 1, V.FrozenStart, H.FarLimit, V.FixedEnd - 1}, FColCount, frozenRow, fh,
                                fv, FFixedColor, lc->GetCellColor(FColCount, frozenRow));
            if (FFrozenRowCount > 0)
                DrawBorderLine(H.ContraStart + 1, V.FixedEnd - 1, H.FarLimit, V.FixedEnd - 1,
                               lc->GetLeftBorderCellColor(FColCount, FFixedRows - 1));
            DrawBorderLine(H.ContraStart, 0, H.ContraStart, V.FixedEnd, lc->GetLeftBorderCellColor(FColCount, frozenRow));
            DrawContraAreaLines(L, {H.ContraStart + 1, V.FixedEnd, H.FarLimit, V.DataEnd}, FColCount, FTopLeft.Y, dh, dv,
                                Color(), lc->GetCellColor(FColCount, FTopLeft.Y));
            DrawBorderLine(H.ContraStart, V.FixedEnd, H.ContraStart, V.DataEnd, lc->GetLeftBorderCellColor(FColCount, FTopLeft.Y));
        }
        if (FContraColCount > 0 && FContraRowCount > 0) {
            DrawContraAreaLines(L, {H.ContraStart + 1, V.ContraStart + 1, H.FarLimit, V.FarLimit}, FColCount, FRowCount, dh,
                                dv, Color(), lc->GetCellColor(FColCount, FRowCount));
            DrawBorderLine(H.ContraStart, V.ContraStart, H.ContraStart, V.FarLimit, lc->GetLeftBorderCellColor(FColCount, FRowCount));
            DrawBorderLine(H.ContraStart, V.ContraStart, H.FarLimit, V.ContraStart, lc->GetTopBorderCellColor(FColCount, FRowCount));
        }
    }
    // Cells: base state only; contra cells are never selected, focused, current or hot.
    const int ch = H.ContraStart + H.LineWidth, cv = V.ContraStart + V.LineWidth;
    if (FContraRowCount > 0) {
        TClipRegion saved = ClipRectSave({0, V.ContraStart, H.DataEnd, V.FarLimit});
        DrawCellsArea(L, 0, FRowCount, H.NearIndent, cv, H.FrozenStart, V.FarLimit, {gdFixed}, FFixedColor, true);
        DrawCellsArea(L, frozenCol, FRowCount, H.FrozenStart, cv, H.FixedEnd, V.FarLimit, {}, Color(), true);
        if (anyPixel) Canvas()->IntersectClipRect({H.FixedEnd, V.ContraStart, H.DataLimit, V.FarLimit});
        DrawCellsArea(L, FTopLeft.X, FRowCount, H.DataStart, cv, H.DataEnd, V.FarLimit, {}, Color(), true);
        ClipRestore(saved);
    }
    if (FContraColCount > 0) {
        TClipRegion saved = ClipRectSave({H.ContraStart, 0, H.FarLimit, V.DataEnd});
        DrawCellsArea(L, FColCount, 0, ch, V.NearIndent, H.FarLimit, V.FrozenStart, {gdFixed}, FFixedColor, true);
        DrawCellsArea(L, FColCount, frozenRow, ch, V.FrozenStart, H.FarLimit, V.FixedEnd, {}, Color(), true);
        DrawCellsArea(L, FColCount, FTopLeft.Y, ch, V.FixedEnd, H.FarLimit, V.DataEnd, {}, Color(), true);
        ClipRestore(saved);
    }
    if (FContraColCount > 0 && FContraRowCount > 0)
        DrawCellsArea(L, FColCount, FRowCount, ch, cv, H.FarLimit, V.FarLimit, {}, Color(), true);
    if (FContraColCount > 0 && V.DataEnd < V.DataLimit) FillCanvasRect({H.ContraStart, V.DataEnd, H.FarLimit, V.DataLimit}, Color());
    if (FContraRowCount > 0 && H.DataEnd < H.DataLimit) FillCanvasRect({H.DataEnd, V.ContraStart, H.ContraStart, V.FarLimit}, Color());
    if (HasOption(goExtendVertLines)) DrawExtendedVertLines(L, H.ContraStart, H.FarLimit);
}

// ---- paint --------------------------------------------------------------------------------

void TCustomGridGx::Paint()
{
    if (PaintLocked()) return;
    TCanvas* c = Canvas();
    const TGridLayoutGx L = CalcGridLayout();
    const TAxisLayoutGx& H = L.Horz;
    const TAxisLayoutGx& V = L.Vert;
    const bool contra = FContraColCount > 0 || FContraRowCount > 0;
    const TClipRegion outer = c->GetClipRegion();
    if (contra) c->IntersectClipRect({0, 0, H.ContraStart, V.ContraStart});
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetMode(pmCopy);

    DrawOutBoundaryData();

    const int frozenCol = FFixedCols - FFrozenColCount, frozenRow = FFixedRows - FFrozenRowCount;
    const bool fv = HasOption(goFixedVertLine), fh = HasOption(goFixedHorzLine);
    const bool dv = HasOption(goVertLine), dh = HasOption(goHorzLine);
    TGridLineColorsGx* lc = FGridLineColors;
    const bool pixelH = FDataOffset.cx != 0, pixelV = FDataOffset.cy != 0;
    if (H.LineWidth != 0 || V.LineWidth != 0) {
        // Point lists sized once for the largest visible count.
        const int n = std::max(H.LastWholeLine + H.FixedCount - FTopLeft.X, V.LastWholeLine + V.FixedCount - FTopLeft.Y) + 1;
        FDrawInfo.PointsList.assign(size_t(2 * std::max(n, 0) + 6), TPoint());
        FDrawInfo.StrokeList.assign(size_t(std::max(n, 0) + 3), 2);
        FDrawInfo.MaxStroke = std::max(n, 0) + 3;
        FDrawInfo.LastCol = H.LastWholeLine;
        FDrawInfo.LastRow = V.LastWholeLine;

        DrawAreaLines(L, {H.NearIndent, V.NearIndent, H.FixedEnd, V.FrozenStart}, 0, 0, fh, fv, FFixedColor, lc->GetCellColor(0, 0));
        DrawAreaLines(L, {H.NearIndent, V.FrozenStart, H.FrozenStart, V.FixedEnd}, 0, frozenRow, fh, fv, FFixedColor,
                      lc->GetCellColor(0, frozenRow));
        DrawAreaLines(L, {H.FrozenStart, V.FrozenStart, H.FixedEnd - 1, V.FixedEnd - 1}, frozenCol, frozenRow, fh, fv,
                      FFixedColor, lc->GetCellColor(frozenCol, frozenRow));
        if (FFrozenRowCount > 0)
            DrawBorderLine(H.FrozenStart, V.FixedEnd - 1, H.FixedEnd, V.FixedEnd - 1,
                           lc->GetDownBorderCellColor(FFixedCols - 1, FFixedRows - 1));
        if (FFrozenColCount > 0)
            DrawBorderLine(H.FixedEnd - 1, V.FrozenStart, H.FixedEnd - 1, V.FixedEnd,
                           lc->GetRightBorderCellColor(FFixedCols - 1, FFixedRows - 1));
        TClipRegion saved = pixelH ? ClipRectSave({H.FixedEnd, 0, H.DataEnd, V.FixedEnd}) : TClipRegion();
        DrawAreaLines(L, {H.DataStart, V.NearIndent, H.DataEnd, V.FrozenStart}, FTopLeft.X, 0, fh, fv, FFixedColor,
                      lc->GetCellColor(FTopLeft.X, 0));
        DrawAreaLines(L, {H.DataStart, V.FrozenStart, H.DataEnd, V.FixedEnd}, FTopLeft.X, frozenRow, fh, fv, FFixedColor,
                      lc->GetCellColor(FTopLeft.X, frozenRow));
        if (FFrozenRowCount > 0)
            DrawBorderLine(H.FixedEnd, V.FixedEnd - 1, H.DataEnd, V.FixedEnd - 1,
                           lc->GetDownBorderCellColor(FTopLeft.X, FFixedRows - 1));
        if (pixelH) ClipRestore(saved);
        saved = pixelV ? ClipRectSave({0, V.FixedEnd, H.FixedEnd, V.DataEnd}) : TClipRegion();
        DrawAreaLines(L, {H.NearIndent, V.DataStart, H.FrozenStart, V.DataEnd}, 0, FTopLeft.Y, fh, fv, FFixedColor,
                      lc->GetCellColor(0, FTopLeft.Y));
        if (FFrozenColCount > 0) {
            DrawAreaLines(L, {H.FrozenStart, V.DataStart, H.FixedEnd - 1, V.DataEnd}, frozenCol, FTopLeft.Y, fh, fv,
                          FFixedColor, lc->GetCellColor(frozenCol, FTopLeft.Y));
            DrawBorderLine(H.FixedEnd - 1, V.DataStart, H.FixedEnd - 1, V.DataEnd,
                           lc->GetRightBorderCellColor(FFixedCols - 1, FTopLeft.Y));
        }
        if (pixelV) ClipRestore(saved);
        saved = (pixelH || pixelV) ? ClipRectSave({H.FixedEnd, V.FixedEnd, H.DataEnd, V.DataEnd}) : TClipRegion();
        DrawAreaLines(L, {H.DataStart, V.DataStart, H.DataEnd, V.DataEnd}, FTopLeft.X, FTopLeft.Y, dh, dv, Color(),
                      lc->GetCellColor(FTopLeft.X, FTopLeft.Y));
        if (pixelH || pixelV) ClipRestore(saved);
    }

    // Cells.
    DrawCellsArea(L, 0, 0, H.NearIndent, V.NearIndent, H.FixedEnd, V.FrozenStart, {gdFixed}, FFixedColor, false);
    DrawCellsArea(L, 0, frozenRow, H.NearIndent, V.FrozenStart, H.FrozenStart, V.FixedEnd, {gdFixed}, FFixedColor, false);
    DrawCellsArea(L, frozenCol, frozenRow, H.FrozenStart, V.FrozenStart, H.FixedEnd, V.FixedEnd, {}, Color(), false);
    TClipRegion saved = pixelH ? ClipRectSave({H.FixedEnd, 0, H.DataEnd, V.FixedEnd}) : TClipRegion();
    DrawCellsArea(L, FTopLeft.X, 0, H.DataStart, V.NearIndent, H.DataEnd, V.FrozenStart, {gdFixed}, FFixedColor, false);
    DrawCellsArea(L, FTopLeft.X, frozenRow, H.DataStart, V.FrozenStart, H.DataEnd, V.FixedEnd, {}, Color(), false);
    if (pixelH) ClipRestore(saved);
    saved = pixelV ? ClipRectSave({0, V.FixedEnd, H.DataEnd, V.DataEnd}) : TClipRegion();
    DrawCellsArea(L, 0, FTopLeft.Y, H.NearIndent, V.DataStart, H.FrozenStart, V.DataEnd, {gdFixed}, FFixedColor, false);
    DrawCellsArea(L, frozenCol, FTopLeft.Y, H.FrozenStart, V.DataStart, H.FixedEnd, V.DataEnd, {}, Color(), false);
    if (pixelV) ClipRestore(saved);
    saved = (pixelH || pixelV) ? ClipRectSave({H.FixedEnd, V.FixedEnd, H.DataEnd, V.DataEnd}) : TClipRegion();
    DrawCellsArea(L, FTopLeft.X, FTopLeft.Y, H.DataStart, V.DataStart, H.DataEnd, V.DataEnd, {}, Color(), false);
    if (pixelH || pixelV) ClipRestore(saved);

    if (HasOption(goRowSelect) && FDefaultDrawing && IsActiveControl()) {
        const TRect r = GridRectToClient(Selection(), false, L);
        if (!r.IsEmpty()) c->DrawFocusRect(r);
    }
    if (H.DataEnd < H.DataLimit) FillCanvasRect({H.DataEnd, V.NearIndent, H.DataLimit, V.DataEnd}, Color());
    if (V.DataEnd < V.DataLimit) {
        FillCanvasRect({H.NearIndent, V.DataEnd, H.FixedEnd + 1, V.DataLimit}, Color());
        FillCanvasRect({H.FixedEnd + 1, V.DataEnd, H.DataLimit, V.DataLimit}, Color());
    }
    if (HasOption(goExtendVertLines)) {
        DrawExtendedVertLines(L, 0, H.FixedEnd);
        DrawExtendedVertLines(L, H.FixedEnd + 1, H.DataEnd);
    }
    if (contra) c->SelectClipRegion(outer);
    DrawContraAreas(L);
}
