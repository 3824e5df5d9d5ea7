// What the cell painters stand on: buffered painting, the flat border, record
// glyphs and drop-down signs, the picture painter, 3D cell frames, the
// drawing-record switch with MoveBy and SafeMoveTop, and the sizing hit tests.
#include "DBGridGx.h"
#include "DBGridGxPaint.h"
#include "DBGridGxPaintIndicatorTitle.h"
#include "DBGridGxParts.h"
#include "DBGridGxPaintText.h"
#include "DBGridGxTextRoutines.h"
#include "DBGridGxUnit.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"
#include <QImage>
#include <cmath>

// ---------------------------------------------------------------- buffered paint and border

bool TCustomDBGridGx::NeedBufferedPaint()
{
    return (!Flat() && IsThemingActive() && FOptionsGx.Contains(dghFixed3D)) ||
           (FIntMemTable && FOptions.Contains(dgRowLines)) || RowPanelActive() || FUseMultiTitle;
}

void TCustomDBGridGx::CheckBufferedPaint()
{
    // Once a grid paints through the memory bitmap it keeps doing so. The
    // control paints into its back buffer in any case; the flag records the
    // decision for those who ask.
    if (NeedBufferedPaint() && !DisableBufferedPaint)
        FBufferedPaint = true;
}

void TCustomDBGridGx::PaintFlatBorder()
{
    if (!Flat() || BorderStyle() != bsSingleGx)
        return;
    TCanvas* canvas = Canvas();
    const TRect r(0, 0, width(), height());
    DrawEdge(canvas, r, BDR_SUNKENOUTER, BF_RECT);
    const bool bothBars = ScrollBarVisible(SB_HORZ) && ScrollBarVisible(SB_VERT);
    const bool external = (FHorzScrollBar && FHorzScrollBar->ExtScrollBar()) ||
                          (FVertScrollBar && FVertScrollBar->ExtScrollBar());
    if (bothBars && !external) {
        TRect box(r.Right - GetSystemMetrics(SM_CXVSCROLL), r.Bottom - GetSystemMetrics(SM_CYHSCROLL), r.Right,
                  r.Bottom);
        OffsetRect(box, -1, -1);
        canvas->Pen()->SetColor(clBtnFace);
        canvas->Pen()->SetStyle(psSolid);
        const TPoint pts[3] = {{box.Left, box.Bottom - 1}, {box.Left, box.Top}, {box.Right, box.Top}};
        canvas->Polyline(pts, 3);
    }
}

// ---------------------------------------------------------------- glyphs

namespace {

// Lines of a glyph, one per pixel row, coloured from the shade (top) to the base
// (bottom).
void DrawLineGlyph(TCanvas* canvas, int left, int top, const std::vector<std::pair<int, int>>& rows, TColor shade,
                   TColor base)
{
    const int n = int(rows.size());
    for (int i = 0; i < n; ++i) {
        const int percent = n > 1 ? i * 100 / (n - 1) : 100;
        const TColor c = BlendColors(shade, base, percent);
        if (rows[size_t(i)].second > 0)
            canvas->FillRect(TRect(left + rows[size_t(i)].first, top + i,
                                   left + rows[size_t(i)].first + rows[size_t(i)].second, top + i + 1),
                             c);
    }
}

} // namespace

// Image-list glyph of each record glyph kind.
static const int IndicatorGlyphIndexGx[5] = {0, 5, 1, 2, 6};

void TCustomDBGridGx::DrawIndicatorGlyph(const TRect& ARect, int Glyph)
{
    TCanvas* canvas = Canvas();
    TImageList* list = IndicatorGlyphList();
    const int gw = list ? list->Width() : 11, gh = list ? list->Height() : 11;
    const int x = (ARect.Left + ARect.Right - gw) / 2, y = (ARect.Top + ARect.Bottom - gh) / 2;
    if (IsThemingActive()) {
        if (Glyph == 0 || Glyph == 1 || Glyph == 4) {
            TColor base = cl3DDkShadow, shade;
            if (Glyph == 0)
                shade = MixColorBy255(ColorToRGB(base), clBlack, 77);
            else if (Glyph == 1) {
                base = clWhite;
                shade = MixColorBy255(clWhite, clBlack, 18);
            } else {
                base = IncSearchBackColor;
                shade = base;
            }
            std::vector<std::pair<int, int>> rows;
            for (int len : {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1})
                rows.push_back({0, len});
            DrawLineGlyph(canvas, x + (gw - 6) / 2, y + (gh - 11) / 2, rows, shade, ColorToRGB(base));
            return;
        }
        if (Glyph > 4)
            return;
    }
    if (list && Glyph >= 0 && Glyph <= 4)
        list->Draw(canvas, x, y, IndicatorGlyphIndexGx[Glyph], true);
}

void TCustomDBGridGx::DrawIndicatorDropDownSign(const TRect& ARect)
{
    TCanvas* canvas = Canvas();
    const bool hot = FIndicatorTitle->Down() && FPressed;
    if (!IsThemingActive()) {
        if (TImageList* list = SortMarkerGlyphList())
            list->Draw(canvas, (ARect.Left + ARect.Right - list->Width()) / 2,
                       (ARect.Top + ARect.Bottom - list->Height()) / 2, 2, true);
        return;
    }
    const TColor base = hot ? clWhite : ColorToRGB(cl3DDkShadow);
    const TColor shade = MixColorBy255(base, clBlack, hot ? 18 : 77);
    DrawLineGlyph(canvas, (ARect.Left + ARect.Right - 7) / 2 + 1, (ARect.Top + ARect.Bottom - 7) / 2,
                  {{0, 7}, {1, 5}, {2, 3}, {3, 1}}, shade, base);
}

void TCustomDBGridGx::DrawTitleDropDownSign(const TRect& ARect)
{
    TCanvas* canvas = Canvas();
    const bool hot = FTitleSignHot;
    const TColor base = hot ? clWhite : ColorToRGB(cl3DDkShadow);
    const TColor shade = MixColorBy255(base, clBlack, hot ? 18 : 77);
    DrawLineGlyph(canvas, (ARect.Left + ARect.Right - 6) / 2 + 1, (ARect.Top + ARect.Bottom - 6) / 2,
                  {{0, 5}, {1, 3}, {2, 1}, {2, 1}, {2, 1}, {2, 1}}, shade, base);
}

TRect FitPictureRectGx(int PictureWidth, int PictureHeight, const TRect& Cell)
{
    int w = PictureWidth, h = PictureHeight;
    const int cw = Cell.Width(), ch = Cell.Height();
    if ((w > cw || h > ch) && cw > 0 && ch > 0) {
        const double fx = double(w) / cw, fy = double(h) / ch;
        if (fx > fy) {
            h = int(std::lround(h / fx));
            w = cw;
        } else {
            w = int(std::lround(w / fy));
            h = ch;
        }
    }
    const int left = Cell.Left + (cw - w) / 2, top = Cell.Top + (ch - h) / 2;
    return TRect(left, top, left + w, top + h);
}

void TCustomDBGridGx::DrawColumnDataText(TGridCoord, TGridCoord, TColumnGx* Column, const TRect& AreaRect,
                                         TColCellParamsGx&)
{
    TCanvas* canvas = Canvas();
    TField* field = Column->Field();
    if (FDrawGraphicData) {
        QImage picture;
        if (field && field->IsBlob() && !field->IsNull())
            picture.loadFromData(field->AsString().toLatin1());
        canvas->FillRect(AreaRect);
        if (picture.isNull())
            return;
        canvas->StretchDraw(FitPictureRectGx(picture.width(), picture.height(), AreaRect), picture);
        return;
    }
    canvas->SetFont(*Font());
    const QString text = field ? field->DisplayText() : QString();
    TRect r = AreaRect;
    canvas->FillRect(r);
    const TClipRegion saved = canvas->GetClipRegion();
    canvas->IntersectClipRect(AreaRect);
    DrawText(canvas, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    canvas->SelectClipRegion(saved);
}

// ---------------------------------------------------------------- indicator title

void TDBGridGxIndicatorTitle::SetShowDropDownSign(bool value)
{
    if (FShowDropDownSign == value)
        return;
    FShowDropDownSign = value;
    if (FGrid)
        FGrid->InvalidateCell(0, 0);
}

void TDBGridGxIndicatorTitle::SetTitleButton(bool value)
{
    FTitleButton = value;
}

void TDBGridGxIndicatorTitle::Assign(const TDBGridGxIndicatorTitle& source)
{
    SetDropdownMenu(source.FDropdownMenu);
    SetShowDropDownSign(source.FShowDropDownSign);
    SetTitleButton(source.FTitleButton);
    SetUseGlobalMenu(source.FUseGlobalMenu);
}

// ---------------------------------------------------------------- 3D frames

void TCustomDBGridGx::Adjust3DPaintRect(TRect& Rect, bool Themed) const
{
    if (Themed) {
        InflateRect(Rect, 1, 1);
    } else if (TCustomGridGx::Flat()) {
        Rect.Left += 1;
        Rect.Top += 1;
    } else {
        InflateRect(Rect, -1, -1);
    }
}

void TCustomDBGridGx::DrawCellFrame(TCanvas* ACanvas, const TRect& Rect, bool RightEdge, bool LeftEdge, bool Down,
                                    bool Edge)
{
    const unsigned edge = (Down || Edge) ? BDR_SUNKENINNER : BDR_RAISEDINNER;
    if (Flat()) {
        ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());
        ACanvas->Pen()->SetStyle(psSolid);
        ACanvas->Pen()->SetMode(pmCopy);
        ACanvas->Pen()->SetWidth(1);
        if (RightEdge) {
            ACanvas->MoveTo(Rect.Left, Rect.Bottom - 1);
            ACanvas->LineTo(Rect.Right - 1, Rect.Bottom - 1);
            ACanvas->LineTo(Rect.Right - 1, Rect.Top - 1);
        } else {
            ACanvas->MoveTo(Rect.Left, Rect.Bottom - 1);
            ACanvas->LineTo(Rect.Right, Rect.Bottom - 1);
        }
        DrawEdge(ACanvas, Rect, edge, LeftEdge ? BF_TOPLEFT : BF_TOP);
        return;
    }
    if (RightEdge && LeftEdge) {
        DrawEdge(ACanvas, Rect, edge, BF_RECT);
    } else {
        DrawEdge(ACanvas, Rect, edge, LeftEdge ? BF_TOPLEFT : BF_TOP);
        DrawEdge(ACanvas, Rect, edge, RightEdge ? BF_BOTTOMRIGHT : BF_BOTTOM);
    }
}

// ---------------------------------------------------------------- drawing-record switch

void TCustomDBGridGx::SelectDrawRecord(int DataRow)
{
    if (FIntMemTable) {
        MemTableSelectDrawRecord(DataRow);
        return;
    }
    FOldActiveRecord = FDataLink->ActiveRecord();
    FDataLink->SetActiveRecord(DataRow);
}

void TCustomDBGridGx::RestoreDrawRecord()
{
    if (FIntMemTable) {
        MemTableRestoreDrawRecord();
        return;
    }
    if (FOldActiveRecord >= 0)
        FDataLink->SetActiveRecord(FOldActiveRecord);
    FOldActiveRecord = -1;
}

int TCustomDBGridGx::DrawRecordCount()
{
    if (FIntMemTable)
        return MemTableDrawRecordCount();
    return FDataLink->Active() ? FDataLink->RecordCount() : 0;
}

bool TCustomDBGridGx::IsDrawRecordCurrent(int DataRow)
{
    if (FIntMemTable)
        return MemTableIsDrawRecordCurrent(DataRow);
    // While a record is switched for painting the current one is the record
    // that was active before.
    const int current = FOldActiveRecord >= 0 ? FOldActiveRecord : FDataLink->ActiveRecord();
    return FDataLink->Active() && DataRow == current;
}

int TCustomDBGridGx::MoveBy(int Distance)
{
    if (!FDataLink->Active())
        return 0;
    if (!HideRowDetailPanelForMove())
        return 0;
    if (FDataGrouping->IsGroupingWorks())
        return MoveGroupRows(Distance);
    return FDataLink->MoveBy(Distance);
}

bool TCustomDBGridGx::HideRowDetailPanelForMove()
{
    if (!FRowDetailPanel || !FRowDetailPanel->Visible())
        return true;
    FRowDetailPanel->SetVisible(false);
    return !FRowDetailPanel->Visible();
}

int TCustomDBGridGx::SafeMoveTop(int ATop, bool CheckOnly)
{
    int a = ATop;
    if (a < FixedRows())
        a = FixedRows();
    if (a > TCustomGridGx::RowCount() - 1)
        a = TCustomGridGx::RowCount() - 1;
    // The largest top row that still shows the last cell whole.
    const TGridLayoutGx L = CalcGridLayout();
    int m = FixedRows();
    {
        int room = L.Vert.DataLimit - L.Vert.FixedEnd;
        for (int row = TCustomGridGx::RowCount() - 1; row >= FixedRows(); --row) {
            room -= RowHeights(row);
            if (room < 0)
                break;
            m = row;
            room -= L.Vert.LineWidth;
        }
    }
    a = std::max(FixedRows(), std::min(a, m));
    if (CheckOnly || a == TopRow())
        return a;
    const int oldTop = TopRow();
    SetTopRow(a);
    if (UsesMemTableScrolling())
        MemTableUpdateScrollBar();
    if (AnyColumnHidesDuplicates()) {
        InvalidateRow(a);
        InvalidateRow(oldTop);
    }
    return a;
}

// ---------------------------------------------------------------- sizing hit tests

TGridOptions TCustomDBGridGx::EffectiveSizingOptions() const
{
    return BaseOptions();
}

namespace {

// Whether x lies in the grab zone around a border at pos.
bool InGrabZone(int x, int pos, int lineWidth)
{
    const int start = lineWidth < 7 ? pos - (7 - lineWidth) / 2 : pos;
    const int width = std::max(7, lineWidth);
    return x >= start && x <= start + width;
}

} // namespace

bool TCustomDBGridGx::CalcFrozenSizingState(int X, int Y, int& SizingOfs, int& SizingPos, int& Index,
                                            TDBGridGxState& State)
{
    State = dgsNormal;
    Index = -1;
    if (!(EffectiveSizingOptions() & goColSizing))
        return false;
    const TGridLayoutGx L = CalcGridLayout();
    const int lineWidth = TCustomGridGx::GridLineWidth();
    int titleBottom = FBorderWidth + OutBoundaryData()->TopIndent();
    for (int row = 0; row < TopDataOffset(); ++row)
        titleBottom += RowHeights(row) + lineWidth;
    if (Y >= titleBottom)
        return false;
    int sum = L.Horz.NearIndent;
    for (int col = 0; col < FIndicatorOffset; ++col)
        sum += ColWidths(col) + lineWidth;
    for (int col = FIndicatorOffset; col < FixedCols(); ++col) {
        const int w = ColWidths(col);
        sum += w;
        if (w > 0) {
            if (L.Horz.DataLimit < sum) {
                Index = col;
                break;
            }
            if (InGrabZone(X, sum, lineWidth)) {
                State = dgsColSizing;
                SizingPos = sum;
                SizingOfs = sum - X;
                Index = col;
                return true;
            }
        }
        sum += lineWidth;
    }
    const int client = ClientWidth();
    if (sum > L.Horz.DataLimit && L.Horz.DataLimit >= client && X >= client - 7 && X <= client) {
        State = dgsColSizing;
        SizingPos = client;
        SizingOfs = client - X;
        if (Index < 0)
            Index = FixedCols() - 1;
        return true;
    }
    return false;
}

bool TCustomDBGridGx::IsOnSizingBorder(int X, int Y)
{
    if (FDBGridGxState != dgsNormal)
        return true;
    int ofs = 0, pos = 0, index = -1;
    TDBGridGxState state = dgsNormal;
    return CalcFrozenSizingState(X, Y, ofs, pos, index, state);
}

bool TCustomDBGridGx::CalcRowPanelSizingState(int X, int Y, int& SizingOfs, int& SizingPos, int& Index,
                                              TGridState& State)
{
    State = gsNormal;
    const TRect cell = CellRect(FIndicatorOffset, 0);
    const TGridOptions options = EffectiveSizingOptions();
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* column = FColumns->GetColumn(i);
        const TColumnGx::TInRowPanelPlacement& p = column->RowPlacement();
        const int left = cell.Left + p.Left - DataOffset().cx, top = cell.Top + p.Top;
        const int right = left + p.Width, bottom = top + p.Height;
        if ((options & goColSizing) && Y >= top && Y < bottom && std::abs(X - right) <= 3) {
            State = gsColSizing;
            SizingPos = right;
            SizingOfs = right - X;
            Index = i;
            return true;
        }
        if ((options & goRowSizing) && X >= left && X < right && std::abs(Y - bottom) <= 3) {
            State = gsRowSizing;
            SizingPos = bottom;
            SizingOfs = bottom - Y;
            Index = i;
            return true;
        }
    }
    return false;
}

bool TCustomDBGridGx::IsRowPanelTitleCell(int X, int Y)
{
    if (!RowPanelActive())
        return false;
    const TGridCoord c = MouseCoord(X, Y);
    return c.Y == 0 && HasTitles() && c.X >= FIndicatorOffset;
}

void TCustomDBGridGx::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                      const TGridLayoutGx& Layout)
{
    const TGridOptions options = EffectiveSizingOptions();
    if (RowPanelActive() && (options & (goColSizing | goRowSizing)) && X > Layout.Horz.FixedEnd &&
        Y < Layout.Vert.AreaEnd) {
        CalcRowPanelSizingState(X, Y, SizingOfs, SizingPos, Index, State);
        return;
    }
    TCustomGridGx::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, Layout);
    if (State == gsColSizing) {
        // Column sizing stays within the grid's columns, the right-fixed ones included.
        if (Index >= FullColCount())
            Index = FullColCount() - 1;
    } else if (State == gsRowSizing) {
        int indicatorRight = 0;
        for (int col = 0; col < FIndicatorOffset; ++col)
            indicatorRight += ColWidths(col) + TCustomGridGx::GridLineWidth();
        if (!RowPanelActive() && X >= indicatorRight)
            State = gsNormal;
    }
}

void TCustomDBGridGx::CalcSizingLine(const TGridLayoutGx& Layout, int& StartPos, int& EndPos)
{
    TCustomGridGx::CalcSizingLine(Layout, StartPos, EndPos);
    if (!RowPanelActive() || !FStartShiftState.contains(ssShift) || FSizingIndex < 0 || FSizingIndex >= FColumns->Count())
        return;
    const TRect cell = CellRect(FIndicatorOffset, 0);
    const TColumnGx::TInRowPanelPlacement& p = FColumns->GetColumn(FSizingIndex)->RowPlacement();
    if (GridState() == gsRowSizing) {
        StartPos = cell.Left + p.Left - DataOffset().cx;
        EndPos = StartPos + p.Width;
    } else if (GridState() == gsColSizing) {
        StartPos = cell.Top + p.Top;
        EndPos = StartPos + p.Height;
    }
}

void TCustomDBGridGx::DrawFrozenSizingLine(int Width, int Height)
{
    TCanvas* canvas = TCustomControl::Canvas();
    TPen saved;
    saved.Assign(*canvas->Pen());
    struct Restore {
        TCanvas* c;
        TPen* p;
        ~Restore() { c->SetPen(*p); }
    } restore{canvas, &saved};
    canvas->Pen()->SetStyle(psDot);
    canvas->Pen()->SetMode(pmXor);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clWhite);
    if (GridState() == gsRowSizing) {
        canvas->MoveTo(0, FSizingPos);
        canvas->LineTo(Width, FSizingPos);
    } else {
        canvas->MoveTo(FSizingPos, 0);
        canvas->LineTo(FSizingPos, Height);
    }
}
