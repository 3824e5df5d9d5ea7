// Title cells: one title box with its caption, sort marker, sort index, title
// image and filter button, and the bands of multi-level titles above the boxes.
#include "DBGridGx.h"
#include "DBGridGxPaintText.h"
#include "DBGridGxStyle.h"
#include "DBGridGxTextRoutines.h"
#include "DBGridGxUnit.h"
#include "grid/support/EditButtonPaintGx.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"
#include <algorithm>

void TCustomDBGridGx::DrawTitleCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCanvas* canvas = Canvas();
    int dataCol = 0, dataRow = 0;
    const TCellKindGx kind = GetCellType(ACol, ARow, dataCol, dataRow);
    if (dataCol < 0 || dataCol >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(dataCol);
    const bool is3D = IsCell3D(ACol, ARow, AState, ARect);
    const bool themed = IsThemedCell(is3D);

    if (kind.RowKind == crkFilterGx) {
        canvas->Brush()->SetColor(column->Title()->Color());
        if (is3D && themed)
            PaintCellBackground(true, ARect, true, nullptr, false, false);
        FFilterCellHighlighted = false;
        DrawFilterRowCell(ACol, ARow, ARect, AState);
        if (is3D) {
            canvas->Brush()->SetColor(column->Title()->Color());
            if (!themed)
                DrawCellFrame(canvas, ARect, !(Flat() && IsThemingActive()), true, FFilterCellHighlighted, false);
        }
        return;
    }

    const bool multi = IsUseMultiTitle();
    THeadTreeNode* leaf = multi && dataCol < int(FLeafFieldArr.size()) ? FLeafFieldArr[size_t(dataCol)].FLeaf : nullptr;
    TDBGirdDrawTitleStateGx ds;
    ds.Down = FPressed && FPressedDataCol == dataCol && FDBGridGxState == dgsTitleDown;
    TRect cell = ARect;
    if (leaf && FOptions.Contains(dgColLines)) {
        cell.Right -= 1;
        canvas->Pen()->SetColor(FGridLineColors->GetCellColor(ACol, ARow));
        canvas->Pen()->SetStyle(psSolid);
        canvas->MoveTo(cell.Right, cell.Bottom);
        canvas->LineTo(cell.Right, cell.Bottom - leaf->Height);
    }
    TRect box = cell;
    if (leaf) {
        box.Top = cell.Bottom - leaf->Height + 1;
        ds.Caption = leaf->Text;
    } else {
        ds.Caption = column->Title()->Caption();
    }
    TColumnTitleGx* title = column->Title();
    ds.SortMarker = title->SortMarker();
    ds.DrawSortIndex = true;
    ds.DrawFilterButton = FilterButtonsInTitle();
    if (FTitleImages && title->ImageIndex() != -1)
        ds.Caption.clear();
    ds.BackColor = title->Color();
    ds.The3DRect = is3D;
    ds.DrawByThemes = themed;

    canvas->SetFont(*Font());
    if (column->Field() && OnGetBtnParams) {
        OnGetBtnParams(this, column, canvas->Font(), ds.BackColor, ds.SortMarker, ds.Down);
        canvas->SetFont(*title->Font());
        OnGetBtnParams(this, column, canvas->Font(), ds.BackColor, ds.SortMarker, ds.Down);
    } else {
        canvas->SetFont(*title->Font());
    }
    ds.CellMultiSelected = IsCellSelected(ACol, ARow, TBookmark(), dataCol);
    ds.Highlight = CalcHighlightColorsGx(ds.CellMultiSelected, true, ds.BackColor, canvas->Font());
    if (IsThemingActive() && RowPanelActive() && dataCol == SelectedIndex())
        ds.BackColor = MixColorBy255(ds.BackColor, clBlack, 25);
    const TFont* f = canvas->Font();
    ds.FontCharset = f->Charset();
    ds.FontColor = f->Color();
    ds.FontSize = f->Size();
    ds.FontName = f->Name();
    ds.FontStyle = f->Style();
    ds.WordWrap = FUseMultiTitle || FTitleHeight != 0 || FTitleLines != 0;
    ds.Orientation = title->Orientation();
    PaintColumnTitle(column, box, ds);

    if (leaf && leaf->Host && leaf->Host->Host) {
        canvas->SetFont(*title->Font());
        TColor back = title->Color();
        if (ds.Highlight)
            CalcHighlightColorsGx(true, true, back, canvas->Font());
        canvas->Brush()->SetColor(back);
        PaintTitleBand(ACol, leaf, cell, box.Left, box.Top, title->EndEllipsis(), ds.Highlight, themed);
    }
}

void TCustomDBGridGx::PaintTitleBand(int ACol, THeadTreeNode* Node, const TRect& Cell, int NodeLeft, int NodeTop,
                                     bool EndEllipsis, bool Highlighted, bool Themed)
{
    THeadTreeNode* host = Node->Host;
    if (!host || !host->Host)
        return;
    TCanvas* canvas = Canvas();
    const bool colLines = FOptions.Contains(dgColLines), rowLines = FOptions.Contains(dgRowLines);
    // The band of the host right above the node.
    int left = NodeLeft;
    for (THeadTreeNode* n = host->Child; n && n != Node; n = n->Next) {
        left -= n->Width + (colLines ? 1 : 0);
        if (n->Next == host->Child)
            break;
    }
    const int bottom = NodeTop - (rowLines ? 1 : 0);
    const int top = NodeTop - host->Height;
    const TRect band(left, top, left + host->Width, bottom);
    const bool beginsHere = band.Left >= Cell.Left;
    const bool endsHere = band.Right <= Cell.Right;
    TRect slice(std::max(band.Left, Cell.Left), band.Top, std::min(band.Right, Cell.Right), band.Bottom);
    if (!endsHere && !(ACol + 1 == FixedCols() && LeftCol() != FixedCols()))
        slice.Right += 1;
    if (slice.Right <= slice.Left)
        return;
    TRect paint = slice;
    const bool fixed3D = FOptionsGx.Contains(dghFixed3D);
    if (fixed3D) {
        paint.Top += 1;
        paint.Bottom -= 1;
        if (Themed)
            InflateRect(paint, 1, 1);
        else if (Flat()) {
            paint.Left += 1;
            paint.Top += 1;
        }
    }
    // The caption is laid out over the whole band (less 2 pixels at each end) and
    // only this cell's slice of it is painted.
    const TColor back = canvas->Brush()->Color();
    TRect text(band.Left + 2, paint.Top, band.Right - 2, paint.Bottom);
    bool fill = true;
    if (Themed) {
        PaintCellBackground(true, paint, true, &slice, false, false);
        fill = false;
    } else if (Flat() && IsThemingActive()) {
        FillGradientRect(canvas, paint, clBtnHighlight, back);
        fill = false;
    } else {
        canvas->FillRect(paint);
        fill = false;
    }
    const TClipRegion saved = canvas->GetClipRegion();
    canvas->IntersectClipRect(paint);
    WriteCellText(nullptr, text, fill, 0, 0, host->Text, taCenter, tlCenter, true, EndEllipsis, 0, 0);
    canvas->SelectClipRegion(saved);
    canvas->Brush()->SetColor(back);
    host->Drawed = true;
    if (!Themed) {
        if (fixed3D)
            DrawCellFrame(canvas, TRect(slice.Left, slice.Top, slice.Right, slice.Bottom),
                          endsHere && !Flat(), beginsHere, Highlighted, false);
        const TColor line = FGridLineColors->GetCellColor(ACol, 0);
        canvas->Pen()->SetColor(line);
        canvas->Pen()->SetStyle(psSolid);
        if (rowLines) {
            canvas->MoveTo(slice.Left, slice.Bottom);
            canvas->LineTo(slice.Right, slice.Bottom);
        }
        if (colLines && endsHere) {
            canvas->MoveTo(band.Right, slice.Top);
            canvas->LineTo(band.Right, slice.Bottom + 1);
        }
    }
    if (host->Host->Host)
        PaintTitleBand(ACol, host, Cell, band.Left, band.Top, EndEllipsis, Highlighted, Themed);
}

void TCustomDBGridGx::PaintColumnTitle(TColumnGx* Column, const TRect& ARect, const TDBGirdDrawTitleStateGx& DrawState)
{
    TCanvas* canvas = Canvas();
    TColumnTitleGx* title = Column->Title();
    canvas->SetFont(*title->Font());
    canvas->Brush()->SetColor(DrawState.BackColor);
    TRect p = ARect, c = ARect;
    int offset = 2;
    if (DrawState.The3DRect) {
        offset = 1;
        Adjust3DPaintRect(p, DrawState.DrawByThemes);
        InflateRect(c, -1, -1);
    }
    const int topOffset = Flat() ? offset - 1 : offset;

    // The filter button at the right of the box.
    TRect filterButton, filterSign;
    if (DrawState.DrawFilterButton) {
        int w = Flat() ? GetDefaultFlatButtonWidth() + (IsThemingActive() ? 0 : 1) : GetSystemMetrics(SM_CXVSCROLL);
        w = std::min(w, c.Width() / 2);
        filterButton = TRect(c.Right - w, c.Top, c.Right, c.Bottom);
        if (FInplaceEditorButtonHeight > 0 && c.Height() > FInplaceEditorButtonHeight) {
            filterButton.Top = c.Top + (c.Height() - FInplaceEditorButtonHeight) / 2;
            filterButton.Bottom = filterButton.Top + FInplaceEditorButtonHeight;
        }
        c.Right -= w;
        filterSign = TRect(c.Right - 6, c.Top, c.Right, c.Top + 6);
    }

    TRect t = c;
    int shift = 0;
    if (DrawState.Down)
        shift = (IsUseMultiTitle() || FTitleHeight != 0 || FTitleLines != 0) ? 2 : 1;

    // Sort marker and index.
    int indexWidth = 0;
    bool drawMarker = DrawState.SortMarker != smNoneGx;
    bool drawIndex = false;
    QString indexText;
    TImageList* glyphs = SortMarkerGlyphList();
    const int glyphWidth = glyphs ? glyphs->Width() : 16;
    const int glyphHeight = glyphs ? glyphs->Height() : 8;
    if (drawMarker) {
        t.Right -= 16;
        if (DrawState.DrawSortIndex && FSortMarkedColumns.Count() >= 2 && title->SortIndex() > 0 && SortIndexFont()) {
            indexText = QString::number(title->SortIndex());
            TFont saved;
            saved.Assign(*canvas->Font());
            canvas->SetFont(*SortIndexFont());
            indexWidth = canvas->TextWidth(indexText);
            canvas->SetFont(saved);
            drawIndex = true;
            t.Right -= indexWidth;
        }
        const int imageWidth = (FTitleImages && title->ImageIndex() != -1) ? FTitleImages->Width() : 0;
        if (t.Width() < imageWidth) {
            t.Right += 14;
            drawMarker = false;
            if (t.Width() < imageWidth && drawIndex) {
                t.Right += indexWidth + 2;
                drawIndex = false;
            }
        }
    }
    if (!drawIndex)
        indexWidth = 0;

    TFont stateFont;
    stateFont.Assign(*canvas->Font());
    stateFont.SetCharset(DrawState.FontCharset);
    stateFont.SetColor(DrawState.FontColor);
    stateFont.SetSize(DrawState.FontSize);
    stateFont.SetName(DrawState.FontName);
    stateFont.SetStyle(DrawState.FontStyle);
    canvas->SetFont(stateFont);

    bool filled = false;
    if (DrawState.DrawByThemes || (Flat() && IsThemingActive())) {
        PaintCellBackground(true, p, true, nullptr, DrawState.CellMultiSelected, DrawState.Down);
    } else {
        if (t.Right < c.Right)
            canvas->FillRect(TRect(t.Right, c.Top, c.Right, c.Bottom));
        if (t.Top > p.Top)
            canvas->FillRect(TRect(p.Left, p.Top, p.Right, t.Top));
        filled = true;
    }
    if (DrawState.The3DRect && !DrawState.DrawByThemes && filled) {
        // The edges of the box outside the content are covered by the frame; fill
        // between the paint rectangle and the content rectangle.
        canvas->FillRect(TRect(p.Left, p.Top, p.Right, c.Top));
        canvas->FillRect(TRect(p.Left, c.Bottom, p.Right, p.Bottom));
        canvas->FillRect(TRect(p.Left, c.Top, c.Left, c.Bottom));
        canvas->FillRect(TRect(c.Right, c.Top, p.Right, c.Bottom));
    }

    if (DrawState.Orientation == tohVertical) {
        PaintCellTextVertical(canvas, t, filled, offset, topOffset + 2, DrawState.Caption, taCenter, tlBottom,
                              title->EndEllipsis(), false);
    } else {
        TRect tt = t;
        if (shift) {
            tt.Top += shift;
            if (filled)
                canvas->FillRect(TRect(t.Left, t.Top, t.Right, tt.Top));
        }
        WriteCellText(Column, tt, filled, offset, topOffset, DrawState.Caption, title->Alignment(),
                      DrawState.WordWrap ? tlCenter : tlTop, DrawState.WordWrap, title->EndEllipsis(), shift,
                      shift ? -shift : 0);
    }

    if (FTitleImages && title->ImageIndex() != -1) {
        TRect it = t;
        OffsetRect(it, shift, shift);
        PaintCellImage(FTitleImages, nullptr, canvas, it, title->ImageIndex(), 0,
                       FUseMultiTitle ? taCenter : title->Alignment());
    }

    if (drawMarker && glyphs) {
        const int x = c.Right + shift - glyphWidth - indexWidth - 2;
        const int y = (c.Top + c.Bottom - glyphHeight) / 2 + shift;
        glyphs->Draw(canvas, x, y, DrawState.SortMarker == smDownGx ? 0 : 1, true);
    }
    if (drawIndex) {
        TFont saved;
        saved.Assign(*canvas->Font());
        canvas->SetFont(*SortIndexFont());
        if (DrawState.Highlight)
            canvas->Font()->SetColor(clWhite);
        const TBrushStyle brushStyle = canvas->Brush()->Style();
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextOut(c.Right + shift - indexWidth - 2, (c.Top + c.Bottom - glyphHeight) / 2 + shift - 1,
                        indexText);
        canvas->Brush()->SetStyle(brushStyle);
        canvas->Brush()->SetColor(DrawState.BackColor);
        canvas->SetFont(saved);
    }

    if (DrawState.DrawFilterButton && !filterButton.IsEmpty()) {
        if (filled)
            canvas->FillRect(TRect(c.Right, c.Top, filterButton.Right, c.Bottom));
        TRect b = filterButton;
        if (DrawState.Down)
            OffsetRect(b, shift, shift);
        int transparency = 80;
        bool hot = false;
        if (Designing())
            transparency = 30;
        else if ((IsMouseInRect(b) && IsGridIdle()) ||
                 (FInTitleFilterListboxVisible && FInTitleFilterListboxColumn == Column)) {
            transparency = 0;
            hot = true;
        } else if (FHotTrackCell.X == DataToRawColumn(Column->Index()) && !FHotTrackMultiTitleOver && IsGridIdle())
            transparency = 30;
        const TEditButtonStyleGx style = FStyle ? FStyle->InTitleFitlerButtonStyle() : ebsDropDownGx;
        PaintCellButton(Column, canvas, style, b, ARect, false, hot, Flat(), true, DrawState.BackColor, nullptr,
                        transparency);
        if (Column->STFilter() && !Column->STFilter()->ExpressionStr().isEmpty()) {
            FTitleSignHot = DrawState.CellMultiSelected;
            DrawTitleDropDownSign(filterSign);
            FTitleSignHot = false;
        }
    }

    if (DrawState.The3DRect) {
        canvas->Brush()->SetColor(DrawState.BackColor);
        if (!DrawState.DrawByThemes)
            DrawCellFrame(canvas, ARect, !(Flat() && IsThemingActive()), true, DrawState.Highlight, DrawState.Down);
    }
    canvas->SetFont(*title->Font());
}

void TCustomDBGridGx::DrawColumnTitleCell(int ACol, int ARow, TColumnGx*, TRect ARect, TGridDrawState AState)
{
    // The same output as the title cell painter with the box painter inlined.
    DrawTitleCell(ACol, ARow, ARect, AState);
}
