// Placeholders of the data grid's painting: cell drawing, titles, indicator and
// footer cells, text output, scroll bars, paint plumbing, the drawing-record
// switch, footers and the sizing hit tests. Plain painting: titles and the
// display texts of the records, nothing more.
#include "DBGridGx.h"
#include "DBGridGxPaintIndicatorTitle.h"
#include "DBGridGxPaintScrollBar.h"
#include "platform/db/DataSet.h"

// ---------------------------------------------------------------- cells

void TCustomDBGridGx::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    TCanvas* canvas = Canvas();
    int dataCol = 0, dataRow = 0;
    TCellKindGx kind{};
    try {
        kind = GetCellType(ACol, ARow, dataCol, dataRow);
    } catch (...) {
        return;
    }
    const bool fixed = AState.contains(gdFixed);
    canvas->Brush()->SetColor(fixed ? FixedColor() : Color());
    canvas->FillRect(ARect);
    if (kind.ColumnKind != cckDataGx || dataCol < 0 || dataCol >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(dataCol);
    QString text;
    if (kind.RowKind == crkTitleGx) {
        canvas->SetFont(*column->Title()->Font());
        text = column->Title()->Caption();
    } else if (kind.RowKind == crkDataGx && FDataLink->Active() && dataRow < FDataLink->RecordCount()) {
        canvas->SetFont(*column->Font());
        const int saved = FDataLink->ActiveRecord();
        FDataLink->SetActiveRecord(dataRow);
        text = column->DisplayText();
        FDataLink->SetActiveRecord(saved);
    }
    canvas->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, text);
}

void TCustomDBGridGx::DrawDataCellArea(TGridCoord, TGridCoord, TColumnGx*, const TRect&, TColCellParamsGx&) {}
void TCustomDBGridGx::DefaultDrawColumnDataCell(TGridCoord, TGridCoord, TColumnGx*, const TRect&, TColCellParamsGx&)
{
}
void TCustomDBGridGx::CheckFillDataCell(TGridCoord, TGridCoord, TColumnGx*, const TRect&, TColCellParamsGx&) {}
bool TCustomDBGridGx::HighlightDataCellColor(int, int, const Variant&, TGridDrawState, TColor&, TFont*)
{
    return false;
}
void TCustomDBGridGx::CalcHighlightColors(int, int, TGridDrawState, TColor&, TFont*) {}
void TCustomDBGridGx::DefaultDrawColumnCell(TRect&, int, TColumnGx*, TGridDrawState) {}
void TCustomDBGridGx::DefaultDrawDataCell(TRect&, TField*, TGridDrawState) {}
void TCustomDBGridGx::DrawColumnCell(const TRect&, int, TColumnGx*, TGridDrawState) {}
void TCustomDBGridGx::DrawDataCellEvent(const TRect&, TField*, TGridDrawState) {}
void TCustomDBGridGx::GetCellParams(TColumnGx*, TFont*, TColor&, TGridDrawState) {}

// ---------------------------------------------------------------- titles, indicator, footers

void TCustomDBGridGx::DrawTitleCell(int, int, TRect, TGridDrawState) {}
void TCustomDBGridGx::PaintColumnTitle(TColumnGx*, const TRect&, const TDBGirdDrawTitleStateGx&) {}
void TCustomDBGridGx::DrawColumnTitleCell(int, int, TColumnGx*, TRect, TGridDrawState) {}
void TCustomDBGridGx::DrawIndicatorCell(int, int, TRect, TGridDrawState) {}
void TCustomDBGridGx::DrawFooterCell(int, int, TRect, TGridDrawState) {}
bool TCustomDBGridGx::IsIndicatorRowSelected(int)
{
    return false;
}
void TCustomDBGridGx::InvalidateFooter()
{
    InvalidateWholeGrid();
}
void TCustomDBGridGx::InvalidateTitle()
{
    InvalidateWholeGrid();
}
void TCustomDBGridGx::DefaultDrawFooterCell(const TRect&, int, int, TColumnGx*, TGridDrawState) {}
QString TCustomDBGridGx::GetFooterValue(int, TColumnGx*)
{
    return QString();
}
void TCustomDBGridGx::GetFooterParams(int, int, TColumnGx*, TFont*, TColor&, TAlignment&, TGridDrawState, QString&) {}

// ---------------------------------------------------------------- paint plumbing

bool TCustomDBGridGx::NeedBufferedPaint()
{
    return false;
}
void TCustomDBGridGx::PaintFlatBorder() {}
void TCustomDBGridGx::DrawIndicatorGlyph(const TRect&, int) {}
void TCustomDBGridGx::DrawIndicatorDropDownSign(const TRect&) {}
void TCustomDBGridGx::DrawTitleDropDownSign(const TRect&) {}
void TCustomDBGridGx::DrawColumnDataText(TGridCoord, TGridCoord, TColumnGx*, const TRect&, TColCellParamsGx&) {}

void TDBGridGxIndicatorTitle::SetShowDropDownSign(bool value)
{
    FShowDropDownSign = value;
}
void TDBGridGxIndicatorTitle::SetTitleButton(bool value)
{
    FTitleButton = value;
}
void TDBGridGxIndicatorTitle::Assign(const TDBGridGxIndicatorTitle& source)
{
    FDropdownMenu = source.FDropdownMenu;
    FShowDropDownSign = source.FShowDropDownSign;
    FTitleButton = source.FTitleButton;
    FUseGlobalMenu = source.FUseGlobalMenu;
}

// ---------------------------------------------------------------- drawing-record switch

void TCustomDBGridGx::SelectDrawRecord(int) {}
void TCustomDBGridGx::RestoreDrawRecord() {}
int TCustomDBGridGx::DrawRecordCount()
{
    return FDataLink->Active() ? FDataLink->RecordCount() : 0;
}
bool TCustomDBGridGx::IsDrawRecordCurrent(int DataRow)
{
    return FDataLink->Active() && DataRow == FDataLink->ActiveRecord();
}
int TCustomDBGridGx::MoveBy(int Distance)
{
    return FDataLink->Active() ? FDataLink->MoveBy(Distance) : 0;
}
bool TCustomDBGridGx::SafeMoveTop(int, bool)
{
    return false;
}

// ---------------------------------------------------------------- scroll bars

void TCustomDBGridGx::UpdateScrollBar() {}
void TCustomDBGridGx::UpdateExtHorzScrollBar() {}

TDBGridGxScrollBar::TDBGridGxScrollBar(TCustomDBGridGx* grid, TScrollBarKindGx kind) : FDBGridGx(grid), FKind(kind) {}
TDBGridGxScrollBar::~TDBGridGxScrollBar() = default;
void TDBGridGxScrollBar::SetExtScrollBar(QScrollBar* value)
{
    FExtScrollBar = value;
}
void TDBGridGxScrollBar::SetVisible(bool value)
{
    FVisibleMode = value ? sbAutoShowGx : sbNeverShowGx;
}
void TDBGridGxScrollBar::SetVisibleMode(TScrollBarVisibleModeGx value)
{
    FVisibleMode = value;
}
void TDBGridGxScrollBar::SetSmoothStep(bool value)
{
    FSmoothStep = value;
}
void TDBGridGxScrollBar::Assign(const TDBGridGxScrollBar& source)
{
    FVisibleMode = source.FVisibleMode;
    FTracking = source.FTracking;
    FExtScrollBar = source.FExtScrollBar;
}
void TDBGridGxScrollBar::UpdateExtScrollBar() {}
bool TDBGridGxScrollBar::IsScrollBarVisible() const
{
    return false;
}
bool TDBGridGxScrollBar::IsScrollBarShowing() const
{
    return FVisibleMode == sbAlwaysShowGx;
}
THorzDBGridGxScrollBar::THorzDBGridGxScrollBar(TCustomDBGridGx* grid) : TDBGridGxScrollBar(grid, sbHorizontalGx)
{
    FSmoothStep = true;
}
void THorzDBGridGxScrollBar::SmoothStepChanged() {}
TVertDBGridGxScrollBar::TVertDBGridGxScrollBar(TCustomDBGridGx* grid) : TDBGridGxScrollBar(grid, sbVerticalGx) {}
void TVertDBGridGxScrollBar::SmoothStepChanged() {}

// ---------------------------------------------------------------- sizing

void TCustomDBGridGx::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                      const TGridLayoutGx& Layout)
{
    TCustomGridGx::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, Layout);
}
void TCustomDBGridGx::CalcSizingLine(const TGridLayoutGx& Layout, int& StartPos, int& EndPos)
{
    TCustomGridGx::CalcSizingLine(Layout, StartPos, EndPos);
}
