// The data grid's cell dispatch and the painting of data cells: parameters and
// events in their order, odd and even rows, highlight colours, check boxes,
// images, hidden duplicates, edit buttons, the required-field mark, the
// incremental-search highlight and the focus rectangle.
#include "DBGridGx.h"
#include "DBGridGxGrouping.h"
#include "DBGridGxParts.h"
#include "DBGridGxPaintText.h"
#include "DBGridGxStyle.h"
#include "DBGridGxTextRoutines.h"
#include "DBGridGxUnit.h"
#include "grid/support/EditButtonPaintGx.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"
#include <QApplication>
#include <algorithm>

// ---------------------------------------------------------------- dispatch

void TCustomDBGridGx::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    int dataCol = 0, dataRow = 0;
    const TCellKindGx kind = GetCellType(ACol, ARow, dataCol, dataRow);
    TRect rect = ARect;
    // The current row with its detail panel open: the record's part is the top of the cell.
    if (FRowDetailPanel->Visible() && ARow == Row() && kind.RowKind == crkDataGx) {
        const int dataHeight = GetDataRowHeight(dataRow);
        if (dataHeight < rect.Height()) {
            Canvas()->Brush()->SetColor(Color());
            const TRect strip(rect.Left, rect.Top + dataHeight, rect.Right, rect.Bottom);
            Canvas()->FillRect(strip);
            if (kind.ColumnKind != cckIndicatorGx && !RowPanelActive() && FVisibleColumns.Count() > 0 &&
                dataCol >= 0 && dataCol < FColumns->Count() && FColumns->GetColumn(dataCol) == FVisibleColumns.GetColumn(0))
                PaintDetailStripSigns(dataRow, strip);
            rect.Bottom = rect.Top + dataHeight;
        }
    }
    if (kind.ColumnKind == cckIndicatorGx) {
        DrawIndicatorCell(ACol, ARow, rect, AState);
        return;
    }
    if (RowPanelActive()) {
        if (kind.RowKind == crkFooterGx)
            DrawRowPanelFooterCell(ACol, ARow, rect, AState);
        else if (kind.RowKind == crkDataGx)
            DrawRowPanelDataCell(ACol, ARow, rect, AState);
        else
            DrawRowPanelTitleCell(ACol, ARow, rect, AState);
        return;
    }
    switch (kind.RowKind) {
    case crkFooterGx: DrawFooterCell(dataCol, dataRow, rect, AState); break;
    case crkDataGx: {
        if (TGroupDataTreeNodeGx* node = GroupNodeAtDataRow(dataRow)) {
            if (node->NodeType() == dntDataGroupGx) {
                DrawGroupDataRow(ACol, ARow, rect, AState);
                return;
            }
            if (FExtraFirstColumnWidth > 0 && FVisibleColumns.Count() > 0 && dataCol >= 0 &&
                dataCol < FColumns->Count() && FColumns->GetColumn(dataCol) == FVisibleColumns.GetColumn(0)) {
                DrawGroupExtraColumn(ACol, ARow, rect);
                // The first cell ends a pixel higher, level with the indent's bottom line.
                TRect rest = rect;
                rest.Left += FExtraFirstColumnWidth;
                rest.Bottom -= 1;
                FColCellParamsGx.State = ToGridDrawStateGx(AState);
                DrawDataCellArea({ACol, ARow}, {dataCol, dataRow}, FColumns->GetColumn(dataCol), rest,
                                 FColCellParamsGx);
                return;
            }
        }
        if (dataCol < 0 || dataCol >= FColumns->Count())
            return;
        FColCellParamsGx.State = ToGridDrawStateGx(AState);
        DrawDataCellArea({ACol, ARow}, {dataCol, dataRow}, FColumns->GetColumn(dataCol), rect, FColCellParamsGx);
        break;
    }
    default: DrawTitleCell(ACol, ARow, rect, AState); break;
    }
}

// ---------------------------------------------------------------- data cells

static TGridDrawState FromGridDrawStateGx(TGridDrawStateGx bits)
{
    TGridDrawState state;
    if (bits & gdsSelected) state << gdSelected;
    if (bits & gdsFocused) state << gdFocused;
    if (bits & gdsFixed) state << gdFixed;
    if (bits & gdsHotTrack) state << gdHotTrack;
    if (bits & gdsCurrent) state << gdCurrent;
    return state;
}

void TCustomDBGridGx::DrawDataCellArea(TGridCoord Cell, TGridCoord AreaCell, TColumnGx* Column, const TRect& AreaRect,
                                       TColCellParamsGx& Params)
{
    TCanvas* canvas = Canvas();
    const TGridDrawState state = FromGridDrawStateGx(Params.State);
    canvas->SetFont(*Column->Font());
    canvas->Brush()->SetColor(Column->Color());
    const int dataRow = AreaCell.Y;
    if (!FDataLink->Active() || dataRow < 0 ||
        (dataRow >= DrawRecordCount() && FDataLink->ActiveRecord() < FDataLink->RecordCount())) {
        canvas->FillRect(AreaRect);
        return;
    }
    TRect rect = AreaRect;
    SelectDrawRecord(dataRow);
    struct Restore {
        TCustomDBGridGx* g;
        ~Restore() { g->RestoreDrawRecord(); }
    } restore{this};

    const QString text = Column->DisplayText();
    // Odd and even rows, numbered by the footer producer.
    if (Column->Color() == Color() && OddRowColor() != EvenRowColor() && FDataLink->Active() &&
        (DataSet()->IsSequenced() || FSumList->VirtualRecords())) {
        const int recNo = FSumList->RecNo();
        canvas->Brush()->SetColor((recNo % 2) != 0 ? OddRowColor() : EvenRowColor());
    }
    Params.State = ToGridDrawStateGx(state);
    Params.Font = canvas->Font();
    Params.Alignment = Column->Alignment();
    Params.Background = canvas->Brush()->Color();
    Params.SuppressActiveCellColor = false;
    Params.Text = text;
    Params.ImageIndex = Column->GetImageIndex();
    Params.CheckboxState = Column->GetCheckboxState();
    Params.BlankCell = false;
    Params.ReadOnly = !Column->CanModify(false);
    Params.Col = Cell.X;
    Params.CellRect = rect;
    Params.Row = Cell.Y;
    Params.TextEditing = Column->TextEditing();

    GetCellParams(Column, canvas->Font(), Params.Background, state);
    Column->GetColCellParams(false, Params);
    bool rowHasDetailPanel = FRowDetailPanel->Active();
    if (OnCheckRowHaveDetailPanel)
        OnCheckRowHaveDetailPanel(this, rowHasDetailPanel);
    PaintFirstColumnSigns(Column, dataRow, state, rowHasDetailPanel, rect);

    bool processed = false;
    if (OnAdvDrawDataCell)
        OnAdvDrawDataCell(this, Cell, AreaCell, Column, rect, Params, processed);
    if (!processed && Column->OnAdvDrawDataCell)
        Column->OnAdvDrawDataCell(Column, Cell, AreaCell, rect, Params, processed);
    if (!processed)
        DefaultDrawColumnDataCell(Cell, AreaCell, Column, rect, Params);

    if (FDefaultDrawing && state.contains(gdFocused) && IsGridFocused() && !Designing() &&
        !FOptions.Contains(dgRowSelect) && FLocks.UpdateLock() == 0 && IsActiveControl() && FStyle &&
        FStyle->IsDrawFocusRect()) {
        canvas->Brush()->SetColor(Params.Background);
        canvas->DrawFocusRect(AreaRect);
    }
}

bool TCustomDBGridGx::EditButtonsShownForCell(TColumnGx* Column, TGridCoord Cell)
{
    if (!Column->AlwaysShowEditButton())
        return false;
    const TEditButtonsShowOptionsGx o = FEditButtonsShowOptions;
    if (o.Contains(sebShowOnlyForCurCellGx) && !(Cell.X == Col() && Cell.Y == Row()))
        return false;
    if (o.Contains(sebShowOnlyForCurRowGx) && Cell.Y != Row())
        return false;
    if (o.Contains(sebShowOnlyWhenGridActiveGx) && !IsGridFocused())
        return false;
    if (o.Contains(sebShowOnlyWhenDataEditingGx)) {
        TDataSet* ds = DataSet();
        if (!ds || (ds->State() != dsEdit && ds->State() != dsInsert))
            return false;
    }
    return Column->EditButtonsWidth() > 0;
}

// The neighbouring record's text of the column as the cell-parameter events
// leave it; false when there is no such record.
bool TCustomDBGridGx::NeighbourCellText(TColumnGx* Column, int DataRow, int Delta, QString& Text)
{
    const int other = DataRow + Delta;
    if (other < 0 || other >= DrawRecordCount())
        return false;
    const int saved = FDataLink->ActiveRecord();
    FDataLink->SetActiveRecord(other);
    struct Back {
        TGridDataLinkGx* l;
        int r;
        ~Back() { l->SetActiveRecord(r); }
    } back{FDataLink.get(), saved};
    TColCellParamsGx scratch;
    TFont font;
    font.Assign(*Column->Font());
    scratch.Font = &font;
    scratch.Background = Column->Color();
    scratch.Alignment = Column->Alignment();
    scratch.Text = Column->DisplayText();
    scratch.ImageIndex = Column->GetImageIndex();
    scratch.CheckboxState = Column->GetCheckboxState();
    scratch.Col = DataToRawColumn(Column->Index());
    scratch.Row = other + TopDataOffset();
    GetCellParams(Column, &font, scratch.Background, TGridDrawState());
    Column->GetColCellParams(false, scratch);
    Text = scratch.Text;
    return true;
}

void TCustomDBGridGx::DefaultDrawColumnDataCell(TGridCoord Cell, TGridCoord AreaCell, TColumnGx* Column,
                                                const TRect& AreaRect, TColCellParamsGx& Params)
{
    TCanvas* canvas = Canvas();
    TGridDrawState state = FromGridDrawStateGx(Params.State);
    bool is3D = IsCell3D(Cell.X, Cell.Y, state, AreaRect);
    if (Params.BlankCell && !is3D && FOptionsGx.Contains(dghFixed3D))
        is3D = true;
    const bool themed = IsThemedCell(is3D);
    const TRect frameRect = AreaRect;
    TRect area = AreaRect;
    int textOffset = 2;
    if (is3D) {
        textOffset = 1;
        Adjust3DPaintRect(area, themed);
    }
    const int topOffset = Flat() ? textOffset - 1 : textOffset;

    const bool buttons = !Params.BlankCell && EditButtonsShownForCell(Column, Cell);
    const int buttonsWidth = buttons ? Column->EditButtonsWidth() : 0;
    if (buttons)
        area.Right -= buttonsWidth;

    if (Params.BlankCell && !Params.SuppressActiveCellColor)
        Params.Background = FixedColor();
    const bool currentCell = Cell.Y == Row() && (Cell.X == Col() || FOptions.Contains(dgRowSelect));
    bool highlighted = false;
    if (!(Params.SuppressActiveCellColor && currentCell)) {
        Variant value;
        if (TField* f = Column->Field())
            value = f->Value();
        if (HighlightDataCellColor(AreaCell.X, AreaCell.Y, value, state, Params.Background, canvas->Font())) {
            highlighted = true;
            state << gdSelected;
        }
    }
    Params.State = ToGridDrawStateGx(state);
    canvas->Brush()->SetColor(Params.Background);
    // Tree data: the first column's value keeps a pixel clear of the tree lines.
    if (IsTreeMode() && FVisibleColumns.Count() > 0 && Column == FVisibleColumns.GetColumn(0) && !area.IsEmpty()) {
        canvas->FillRect(TRect(area.Left, area.Top, area.Left + 1, area.Bottom), Color());
        area.Left += 1;
    }

    // Hidden duplicates: the value of the row above shows through this one.
    bool lineAbove = false, lineBelow = false;
    if (Column->HideDuplicates() && !Params.BlankCell) {
        QString other;
        if (NeighbourCellText(Column, AreaCell.Y, 1, other) && other == Params.Text)
            lineBelow = true;
        if (NeighbourCellText(Column, AreaCell.Y, -1, other) && other == Params.Text) {
            Params.Text.clear();
            Params.ImageIndex = -1;
            lineAbove = true;
        }
    }

    if (!Params.BlankCell && FDefaultDrawing && !area.IsEmpty()) {
        const bool filled = CheckFillDataCell(Cell, AreaCell, Column, area, Params);
        TRect textArea = area;
        const TColumnGxType type = Column->GetColumnType();
        if (Column->ImageList() && Column->ShowImageAndText() && type != ctKeyImageList) {
            const TRect strip(area.Left, area.Top, area.Left + Column->ImageList()->Width() + 4, area.Bottom);
            if (!filled)
                canvas->FillRect(strip);
            PaintCellImage(Column->ImageList(), nullptr, canvas, strip, Params.ImageIndex, 0, taCenter);
            textArea.Left = strip.Right + 1;
        }
        if (type == ctKeyImageList) {
            if (!filled)
                canvas->FillRect(area);
            PaintCellImage(Column->ImageList(), nullptr, canvas, area, Params.ImageIndex, 0, taCenter);
        } else if (type == ctCheckboxes) {
            if (!filled)
                canvas->FillRect(area);
            PaintCheckBoxInCell(area, Params.CheckboxState);
        } else if (type == ctGraphicData) {
            DrawColumnDataText(Cell, AreaCell, Column, area, Params);
        } else {
            const bool wrap = Column->WordWrap() && Column->CurLineWordWrap(AreaRect.Height());
            WriteCellText(Column, themed && is3D ? frameRect : textArea, !filled, textOffset, topOffset, Params.Text,
                          Params.Alignment, Column->Layout(), wrap, Column->EndEllipsis(), 0, 0);
        }
    }

    if (buttons)
        PaintCellEditButtons(Column, Cell, AreaRect, area, is3D, Params.Background);

    // The mark of a required field left empty while the record is edited.
    if (!Params.BlankCell && Column->HighlightRequired() && IsDrawRecordCurrent(AreaCell.Y)) {
        TDataSet* ds = DataSet();
        TField* f = Column->Field();
        bool mark = ds && (ds->State() == dsEdit || ds->State() == dsInsert) && f && f->Required() && f->IsNull();
        if (mark && Column->OnCheckDrawRequiredState)
            Column->OnCheckDrawRequiredState(Column, mark);
        if (mark) {
            TPen saved;
            saved.Assign(*canvas->Pen());
            canvas->Pen()->SetColor(TColor(255));
            canvas->Pen()->SetStyle(psDot);
            canvas->Pen()->SetWidth(1);
            canvas->MoveTo(AreaRect.Left + 2, AreaRect.Bottom - 2);
            canvas->LineTo(AreaRect.Right - 3, AreaRect.Bottom - 2);
            canvas->SetPen(saved);
        }
    }

    if (FColumns->State() == csDefault)
        DrawDataCellEvent(area, Column->Field(), state);
    DrawColumnCell(area, AreaCell.X, Column, state);

    // Incremental search: the text found so far over the start of the value.
    if (!Params.BlankCell && state.contains(gdFocused) && AreaCell.X == SelectedIndex() &&
        AreaCell.Y == FOldActiveRecord && FInplaceSearching &&
        (IsGridFocused() || FOptions.Contains(dgAlwaysShowSelection)) && !Designing() &&
        FLocks.UpdateLock() == 0 && IsActiveControl() && !FInplaceSearchText.isEmpty())
        PaintIncSearchText(Column, area, Params, textOffset, topOffset);

    if (FOptions.Contains(dgRowLines) && (lineAbove || lineBelow)) {
        canvas->Pen()->SetColor(Column->Color());
        canvas->Pen()->SetStyle(psSolid);
        if (lineAbove) {
            canvas->MoveTo(AreaRect.Left, AreaRect.Top - 1);
            canvas->LineTo(AreaRect.Right, AreaRect.Top - 1);
        }
        if (lineBelow) {
            canvas->MoveTo(AreaRect.Left, AreaRect.Bottom);
            canvas->LineTo(AreaRect.Right, AreaRect.Bottom);
        }
    }

    if (Params.BlankCell) {
        canvas->Brush()->SetColor(Params.Background);
        PaintCellBackground(themed, frameRect, is3D, nullptr, false, false);
    }
    if (is3D && !themed)
        DrawCellFrame(canvas, frameRect, !(Flat() && IsThemingActive()), true, highlighted, false);
}

void TCustomDBGridGx::PaintCheckBoxInCell(const TRect& Area, TCheckBoxState CheckState)
{
    TCanvas* canvas = Canvas();
    const TSize glyph = CheckBoxGlyphSize();
    TRect box = CheckBoxRectInRect(Area, 2, 1);
    if (Area.Width() < glyph.cx) {
        box.Left = Area.Left;
        box.Right = Area.Right;
    }
    if (Area.Height() < glyph.cy) {
        box.Top = Area.Top;
        box.Bottom = Area.Bottom;
    }
    DrawEditButtonFace(canvas, box, canvas->Brush()->Color(), bcsCheckboxGx, 0, Flat(), false, true, CheckState);
}

void TCustomDBGridGx::PaintIncSearchText(TColumnGx* Column, const TRect& Area, const TColCellParamsGx& Params,
                                         int TextOffset, int TopOffset)
{
    TCanvas* canvas = Canvas();
    const QString found = Params.Text.left(FInplaceSearchText.size());
    if (found.isEmpty())
        return;
    const TColor brush = canvas->Brush()->Color(), fontColor = canvas->Font()->Color();
    const int full = canvas->TextWidth(Params.Text), part = canvas->TextWidth(found);
    TRect r = Area;
    switch (Params.Alignment) {
    case taRightJustify: r.Left = Area.Right - 3 - full; break;
    case taCenter: r.Left = Area.Left + Area.Width() / 2 - full / 2; break;
    default: r.Left = Area.Left + TextOffset; break;
    }
    r.Right = std::min(Area.Right, r.Left + part);
    r.Top = Area.Top + TopOffset;
    r.Left = std::max(r.Left, Area.Left);
    if (r.IsEmpty())
        return;
    canvas->Brush()->SetColor(IncSearchBackColor);
    canvas->Font()->SetColor(IncSearchTextColor);
    canvas->FillRect(r);
    TRect tr = r;
    const bool wrap = Column->WordWrap() && Column->CurLineWordWrap(Area.Height() + 2);
    DrawText(canvas, found, tr, CellTextFlagsGx[taLeftJustify] | (wrap ? unsigned(DT_WORDBREAK) : 0u));
    canvas->Brush()->SetColor(brush);
    canvas->Font()->SetColor(fontColor);
}

void TCustomDBGridGx::PaintCellEditButtons(TColumnGx* Column, TGridCoord Cell, const TRect& CellRect,
                                           const TRect& Area, bool Is3D, TColor Background)
{
    TCanvas* canvas = Canvas();
    int transparency;
    if (Designing())
        transparency = 30;
    else if (!FilterEditActive() &&
             (Cell == TGridCoord{Col(), Row()} || (FOptionsGx.Contains(dghRowHighlight) && Cell.Y == Row())))
        transparency = 0;
    else if (FHotTrackCell.X == Cell.X && FHotTrackCell.Y == Cell.Y)
        transparency = 30;
    else
        transparency = 80;
    const bool flat = Flat();
    const int defaultWidth = FInplaceEditorButtonWidth > 0
                                 ? FInplaceEditorButtonWidth
                                 : (flat ? GetDefaultFlatButtonWidth() : GetSystemMetrics(SM_CXVSCROLL));
    const int height = FInplaceEditorButtonHeight > 0 ? FInplaceEditorButtonHeight : CellRect.Height();
    int x = Area.Right;
    auto paintOne = [&](int width, TEditButtonStyleGx style, TBitmap* glyph, bool enabled) {
        TRect b(x, CellRect.Top, x + width, std::min(CellRect.Bottom, CellRect.Top + height));
        if (Is3D)
            OffsetRect(b, 1, -1);
        if (flat && Is3D && !IsThemingActive())
            canvas->FillRect(TRect(b.Left - 1, b.Top, b.Left, b.Bottom), Background);
        PaintCellButton(Column, canvas, style, b, CellRect, false, FHotTrackCell.X == Cell.X &&
                        FHotTrackCell.Y == Cell.Y, flat, enabled, Background, glyph, transparency);
        if (b.Bottom < CellRect.Bottom)
            canvas->FillRect(TRect(b.Left, b.Bottom, b.Right, CellRect.Bottom), Background);
        x += width;
    };
    if (Column->HasDefaultEditButton()) {
        TEditButtonStyleGx style = ebsDropDownGx;
        switch (Column->ButtonStyle()) {
        case cbsEllipsis: style = ebsEllipsisGx; break;
        case cbsUpDown: style = ebsUpDownGx; break;
        case cbsAltUpDown: style = ebsAltUpDownGx; break;
        case cbsAltDropDown: style = ebsAltDropDownGx; break;
        default: style = ebsDropDownGx; break;
        }
        paintOne(defaultWidth + (flat && !IsThemingActive() ? 1 : 0), style, nullptr, true);
    }
    TEditButtonsGx* extra = Column->EditButtons();
    for (int i = 0; i < extra->Count(); ++i) {
        TEditButtonGx* button = extra->ButtonAt(i);
        if (!button->Visible())
            continue;
        const int w = (button->Width() > 0 ? button->Width() : defaultWidth) + (flat && !IsThemingActive() ? 1 : 0);
        paintOne(w, button->Style(), button->Glyph(), button->Enabled());
    }
}

void TCustomDBGridGx::PaintCellButton(TColumnGx*, TCanvas* ACanvas, TEditButtonStyleGx Style,
                                      const TRect& ButtonRect, const TRect& CellRect, bool DroppedDown, bool Hot,
                                      bool AFlat, bool Enabled, TColor AColor, TBitmap* Glyph, int Transparency)
{
    const TRect inCell = TRect(std::max(ButtonRect.Left, CellRect.Left), std::max(ButtonRect.Top, CellRect.Top),
                               std::min(ButtonRect.Right, CellRect.Right),
                               std::min(ButtonRect.Bottom, CellRect.Bottom));
    if (inCell.IsEmpty())
        return;
    TRect b = ButtonRect;
    // A half-transparent button is painted apart and blended over the cell.
    QImage apart;
    std::unique_ptr<TCanvas> apartCanvas;
    TCanvas* target = ACanvas;
    if (Transparency > 0) {
        ACanvas->FillRect(inCell, AColor);
        apart = QImage(b.Width(), b.Height(), QImage::Format_ARGB32_Premultiplied);
        apart.fill(Qt::transparent);
        apartCanvas = std::make_unique<TCanvas>(&apart);
        target = apartCanvas.get();
        b = TRect(0, 0, b.Width(), b.Height());
    }
    const bool clip = Transparency == 0 && !(ButtonRect.Left >= CellRect.Left && ButtonRect.Right <= CellRect.Right &&
                                             ButtonRect.Top >= CellRect.Top && ButtonRect.Bottom <= CellRect.Bottom);
    TClipRegion saved;
    if (clip) {
        saved = target->GetClipRegion();
        target->IntersectClipRect(CellRect);
    }
    if (AFlat && !IsThemingActive()) {
        target->FillRect(TRect(b.Left, b.Top, b.Left + 1, b.Bottom), Hot ? clBtnFace : AColor);
        b.Left += 1;
    }
    if (Style == ebsGlyphGx) {
        if (!AFlat || IsThemingActive()) {
            target->Brush()->SetColor(clBtnFace);
            DrawEdge(target, b, EDGE_RAISED, BF_RECT | BF_MIDDLE);
            InflateRect(b, -2, -2);
        } else {
            target->Brush()->SetColor(AColor);
            target->FrameRect(b);
            InflateRect(b, -1, -1);
            target->FillRect(b, clBtnFace);
        }
        if (Glyph && !Glyph->Empty())
            target->Draw(b.Left + (b.Width() - Glyph->Width()) / 2, b.Top + (b.Height() - Glyph->Height()) / 2,
                         *Glyph);
    } else {
        DrawEditButtonFace(target, b, AColor, EditButtonDrawStyles[Style], DroppedDown ? 1 : 0, AFlat, Hot, Enabled);
    }
    if (clip)
        target->SelectClipRegion(saved);
    if (Transparency > 0) {
        apartCanvas->Release();
        QPainter* p = ACanvas->Painter();
        if (!p)
            return;
        const TClipRegion cellClip = ACanvas->GetClipRegion();
        ACanvas->IntersectClipRect(CellRect);
        p->save();
        p->setOpacity(int((100 - Transparency) * 2.55) / 255.0);
        p->drawImage(QPoint(ButtonRect.Left, ButtonRect.Top), apart);
        p->restore();
        ACanvas->SelectClipRegion(cellClip);
    }
}

bool TCustomDBGridGx::CheckFillDataCell(TGridCoord Cell, TGridCoord AreaCell, TColumnGx*, const TRect& AreaRect,
                                        TColCellParamsGx& Params)
{
    TCanvas* canvas = Canvas();
    const TGridDrawState state = FromGridDrawStateGx(Params.State);
    const bool hotCell = FHotTrackCell.X == Cell.X && FHotTrackCell.Y == Cell.Y;
    const bool hotRow = FHotTrackCell.Y == Cell.Y;
    const bool currentCell = Cell.X == Col() && Cell.Y == Row();
    if (IsThemingActive() &&
        ((FOptionsGx.Contains(dghRowHighlight) && Cell.Y == Row() && !currentCell) || hotCell ||
         (FOptionsGx.Contains(dghRowHighlight) && hotRow))) {
        if (state.contains(gdFocused))
            canvas->FillRect(AreaRect);
        else
            FillGradientRect(canvas, AreaRect, MixColorBy255(canvas->Brush()->Color(), clBtnHighlight, 85),
                             canvas->Brush()->Color());
        return true;
    }
    const bool is3D = IsCell3D(Cell.X, Cell.Y, state, AreaRect);
    if (is3D && !state.contains(gdSelected) && (IsThemedCell(true) || (Flat() && IsThemingActive()))) {
        PaintCellBackground(IsThemedCell(true), AreaRect, true, nullptr, false, false);
        return true;
    }
    (void)AreaCell;
    return false;
}

void TCustomDBGridGx::PaintCellBackground(bool Themed, const TRect& ARect, bool Is3D, const TRect* Clip,
                                          bool Pressed, bool Down)
{
    TCanvas* canvas = Canvas();
    if (Themed && Is3D) {
        if (Flat()) {
            FillGradientRect(canvas, ARect, MixColorBy255(clBtnFace, clWhite, 25),
                             MixColorBy255(clBtnFace, clBlack, 13));
            canvas->Brush()->SetStyle(bsClear);
        } else {
            canvas->FillRect(ARect);
            // The toolbar split-button look: a raised or pressed face.
            TClipRegion saved;
            if (Clip) {
                saved = canvas->GetClipRegion();
                canvas->IntersectClipRect(*Clip);
            }
            DrawEdge(canvas, ARect, (Pressed || Down) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            if (Clip)
                canvas->SelectClipRegion(saved);
        }
        return;
    }
    if (Flat() && IsThemingActive() && Is3D)
        FillGradientRect(canvas, ARect, clBtnHighlight, canvas->Brush()->Color());
    else
        canvas->FillRect(ARect);
}

bool TCustomDBGridGx::HighlightDataCellColor(int DataCol, int DataRow, const Variant&, TGridDrawState AState,
                                             TColor& AColor, TFont* AFont)
{
    const bool linkActive = FDataLink->Active();
    const TDBGridGxSelectionType type = SelectionType();
    bool selected = false;
    if (type != gstNon && linkActive) {
        TDataSet* ds = DataSet();
        selected = IsCellSelected(DataToRawColumn(DataCol), DataRow + TopDataOffset(), ds->GetBookmark(), DataCol);
    }
    const int gridRow = DataRow + TopDataOffset();
    const int gridCol = DataToRawColumn(DataCol);
    const bool currentRow = IsDrawRecordCurrent(DataRow);
    const bool currentCol = DataCol == SelectedIndex();
    TGridDrawStateGx bits = ToGridDrawStateGx(AState);
    if (FStyle) {
        THighlightCellStateGx cell;
        cell.LinkActive = linkActive;
        cell.SelectionType = type;
        cell.CellInSelection = selected;
        cell.GridFocused = IsGridFocused();
        cell.CurrentRow = currentRow;
        cell.CurrentCol = currentCol;
        cell.HotTrackRow = FHotTrackCell.Y == gridRow;
        cell.HotTrackCell = FHotTrackCell.Y == gridRow && FHotTrackCell.X == gridCol;
        cell.HotTrackAccepted = CanHotTrackCell(FHotTrackCell.X, FHotTrackCell.Y) && FHotTrackCell.X >= FIndicatorOffset;
        cell.UpdateLocked = FLocks.UpdateLock() > 0;
        cell.Options = FOptions;
        cell.OptionsGx = FOptionsGx;
        return FStyle->HighlightDataCellColor(cell, AColor, AFont, bits);
    }
    // Without a style object.
    const bool rowSelect = FOptions.Contains(dgRowSelect);
    bool highlightFocus = false;
    bool isSelected = selected || AState.contains(gdSelected);
    if (!selected) {
        highlightFocus = IsGridFocused() && FOptionsGx.Contains(dghHighlightFocus);
        if (FOptionsGx.Contains(dghRowHighlight) && currentRow && !currentCol && type == gstNon)
            isSelected = true;
    }
    const bool highlighted = (isSelected || (currentRow && rowSelect)) &&
                             (FOptions.Contains(dgAlwaysShowSelection) || highlightFocus || selected) &&
                             (FLocks.UpdateLock() == 0 || rowSelect);
    if (!highlighted)
        return false;
    if (IsGridFocused()) {
        AColor = clHighlight;
        if (AFont)
            AFont->SetColor(clHighlightText);
    } else if (currentRow && (currentCol || rowSelect) &&
               (highlightFocus || FOptions.Contains(dgAlwaysShowSelection))) {
        AColor = clBtnShadow;
        if (AFont)
            AFont->SetColor(clHighlightText);
    } else {
        AColor = clBtnFace;
    }
    return true;
}

bool TCustomDBGridGx::CalcHighlightColorsGx(bool Selected, bool DarkKind, TColor& AColor, TFont* AFont)
{
    if (FStyle)
        return FStyle->HighlightFixedCellColor(Selected, DarkKind, IsGridFocused(), AColor, AFont);
    if (!Selected)
        return false;
    if (DarkKind) {
        AColor = TColor(0x404040);
        if (AFont)
            AFont->SetColor(clWhite);
    } else if (IsGridFocused()) {
        AColor = clHighlight;
        if (AFont)
            AFont->SetColor(clHighlightText);
    } else {
        AColor = clBtnFace;
    }
    return true;
}

void TCustomDBGridGx::CalcHighlightColors(int DataCol, int DataRow, TGridDrawState AState, TColor& AColor,
                                          TFont* AFont)
{
    // Indicator cells and the title cells of data columns are the dark kind.
    const bool darkKind = DataCol < 0 || DataRow < 0;
    CalcHighlightColorsGx(AState.contains(gdSelected), darkKind, AColor, AFont);
}

void TCustomDBGridGx::WriteCellText(TColumnGx* Column, const TRect& ARect, bool FillRect, int DX, int DY,
                                    const QString& Text, TAlignment Alignment, TTextLayoutGx Layout,
                                    bool MultiLine, bool EndEllipsis, int LeftMarg, int RightMarg)
{
    // Right-to-left reading is not offered by this grid: cell rectangles need no
    // mirroring and alignments keep their sides.
    (void)Column;
    PaintCellText(Canvas(), ARect, FillRect, DX, DY, Text, Alignment, Layout, MultiLine, EndEllipsis, LeftMarg,
                  RightMarg, false);
}

void TCustomDBGridGx::DefaultDrawColumnCell(TRect& Rect, int DataCol, TColumnGx* Column, TGridDrawState State)
{
    TCanvas* canvas = Canvas();
    int offset = 2;
    if (FOptionsGx.Contains(dghFooter3D)) {
        InflateRect(Rect, -1, -1);
        offset = 1;
    }
    const int topOffset = Flat() ? offset - 1 : offset;
    (void)DataCol;
    (void)State;
    switch (Column->GetColumnType()) {
    case ctKeyImageList: {
        canvas->FillRect(Rect);
        int index = FColCellParamsGx.ImageIndex;
        if (TField* f = Column->Field())
            index = Column->KeyList().indexOf(f->Text());
        if (index < 0)
            index = Column->NotInKeyListIndex();
        PaintCellImage(Column->ImageList(), nullptr, canvas, Rect, index, 0, taCenter);
        break;
    }
    case ctCheckboxes:
        canvas->FillRect(Rect);
        PaintCheckBoxInCell(Rect, Column->GetCheckboxState());
        break;
    case ctGraphicData: {
        TColCellParamsGx params = FColCellParamsGx;
        DrawColumnDataText({-1, -1}, {DataCol, -1}, Column, Rect, params);
        break;
    }
    default: {
        const bool wrap = Column->WordWrap() && Column->CurLineWordWrap(DefaultRowHeight());
        WriteCellText(Column, Rect, true, offset, topOffset, Column->DisplayText(), Column->Alignment(),
                      Column->Layout(), wrap, Column->EndEllipsis(), 0, 0);
        break;
    }
    }
}

void TCustomDBGridGx::DefaultDrawDataCell(TRect& Rect, TField* Field, TGridDrawState)
{
    const QString text = Field ? Field->DisplayText() : QString();
    PaintCellTextSimple(Canvas(), Rect, 2, 2, text, Field ? Field->Alignment() : taLeftJustify);
}

void TCustomDBGridGx::DrawColumnCell(const TRect& Rect, int DataCol, TColumnGx* Column, TGridDrawState State)
{
    if (OnDrawColumnCell)
        OnDrawColumnCell(this, Rect, DataCol, Column, State);
}

void TCustomDBGridGx::DrawDataCellEvent(const TRect& Rect, TField* Field, TGridDrawState State)
{
    if (OnDrawDataCell)
        OnDrawDataCell(this, Rect, Field, State);
}

void TCustomDBGridGx::GetCellParams(TColumnGx* Column, TFont* AFont, TColor& Background, TGridDrawState State)
{
    if (OnGetCellParams)
        OnGetCellParams(this, Column, AFont, Background, State);
}
