// The row-detail panel: its settings, showing and hiding with the application's
// veto, the placing of the host control below the current row, the expand sign
// in the first visible column, its hit test and the editor rectangle beside it.
#include "DBGridGxRowDetail.h"
#include "DBGridGx.h"
#include "DBGridGxParts.h"
#include "DBGridGxDataLink.h"
#include "DBGridGxStyle.h"
#include "grid/support/MemTableGx.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/db/DataSet.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <algorithm>

namespace {
// Width of the sign box at the left of the first visible column.
constexpr int kRowDetailSignWidth = 18;
}

// ---------------------------------------------------------------- settings

TRowDetailPanelGx::TRowDetailPanelGx(TCustomDBGridGx* grid) : FGrid(grid), FColor(grid->FixedColor()) {}

template <class T> void TRowDetailPanelGx::Store(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    FGrid->UpdateRowDetailPanel();
}

void TRowDetailPanelGx::SetWidth(int value) { Store(FWidth, value); }
void TRowDetailPanelGx::SetHeight(int value) { Store(FHeight, value); }
void TRowDetailPanelGx::SetBevelEdges(TBevelEdges value) { Store(FBevelEdges, value); }
void TRowDetailPanelGx::SetBevelInner(TBevelCut value) { Store(FBevelInner, value); }
void TRowDetailPanelGx::SetBevelOuter(TBevelCut value) { Store(FBevelOuter, value); }
void TRowDetailPanelGx::SetBevelKind(TBevelKind value) { Store(FBevelKind, value); }
void TRowDetailPanelGx::SetBevelWidth(int value) { Store(FBevelWidth, value); }
void TRowDetailPanelGx::SetBorderStyle(TBorderStyle value) { Store(FBorderStyle, value); }
void TRowDetailPanelGx::SetParentColor(bool value) { Store(FParentColor, value); }

TColor TRowDetailPanelGx::Color() const
{
    return FParentColor ? FGrid->Color() : FColor;
}

void TRowDetailPanelGx::SetColor(TColor value)
{
    if (FColor == value && !FParentColor)
        return;
    FColor = value;
    FParentColor = false;
    FGrid->UpdateRowDetailPanel();
}

void TRowDetailPanelGx::Assign(const TRowDetailPanelGx& source)
{
    SetActive(source.FActive);
}

void TRowDetailPanelGx::SetActive(bool value)
{
    if (FActive == value)
        return;
    FActive = value;
    if (!value)
        SetVisible(false);
    FGrid->UpdateRowDetailPanel();
    FGrid->LayoutChanged();
}

void TRowDetailPanelGx::SetVisible(bool value)
{
    if (FVisible == value)
        return;
    bool allowed = true;
    if (value) {
        TGridDataLinkGx* link = FGrid->DataLink();
        allowed = link->Active() && link->ActiveRecord() < link->RecordCount() && !FGrid->DataSet()->IsEmpty();
    }
    if (!FGrid->Destroying()) {
        if (value && FGrid->OnRowDetailPanelShow)
            FGrid->OnRowDetailPanelShow(FGrid, allowed);
        else if (!value && FGrid->OnRowDetailPanelHide)
            FGrid->OnRowDetailPanelHide(FGrid, allowed);
    }
    if (!allowed)
        return;
    FVisible = value;
    FGrid->UpdateRowDetailPanel();
    if (FGrid->Destroying())
        return;
    const int row = FGrid->Row();
    if (value) {
        // The current row with its panel fully in view: the top row moves down when needed.
        const int top = FGrid->LastTopLeft({FGrid->LeftCol(), row}).Y;
        if (top > FGrid->TopRow())
            FGrid->SetTopRow(std::min(top, row));
    } else {
        // No empty space after the last row.
        const int last = FGrid->LastTopLeft({FGrid->LeftCol(), FGrid->RowCount() - 1}).Y;
        if (FGrid->TopRow() > last)
            FGrid->SetTopRow(std::max(last, FGrid->FixedRows()));
    }
    FGrid->UpdateRowDetailPanel();
}

// ---------------------------------------------------------------- host control

TRowDetailPanelControlGx::TRowDetailPanelControlGx(TCustomDBGridGx* grid) : QFrame(grid), FGrid(grid)
{
    setAutoFillBackground(true);
    resize(185, 41);
    UpdateFrame();
}

void TRowDetailPanelControlGx::SetBorderStyle(TBorderStyle value)
{
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    UpdateFrame();
}

void TRowDetailPanelControlGx::SetBevels(TBevelEdges edges, TBevelCut inner, TBevelCut outer, TBevelKind kind,
                                         int width)
{
    FBevelEdges = edges;
    FBevelInner = inner;
    FBevelOuter = outer;
    FBevelKind = kind;
    FBevelWidth = width;
    UpdateFrame();
}

void TRowDetailPanelControlGx::SetPanelColor(TColor color, bool parentColor)
{
    FColor = color;
    FParentColor = parentColor;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    setPalette(pal);
}

void TRowDetailPanelControlGx::UpdateFrame()
{
    // A single border is a sunken one-pixel frame; bevels of a kind add their width.
    if (FBorderStyle == bsNone && FBevelKind == bkNone) {
        setFrameStyle(QFrame::NoFrame);
        return;
    }
    setFrameShape(FBorderStyle == bsSingle ? QFrame::Panel : QFrame::StyledPanel);
    setFrameShadow(FBevelOuter == bvRaised ? QFrame::Raised : QFrame::Sunken);
    setLineWidth(FBevelKind == bkNone ? 1 : std::max(1, FBevelWidth));
}

void TRowDetailPanelControlGx::Watch(QObject* child)
{
    if (!child->isWidgetType())
        return;
    child->installEventFilter(this);
    for (QObject* c : child->children())
        Watch(c);
}

bool TRowDetailPanelControlGx::event(QEvent* e)
{
    if (e->type() == QEvent::ChildAdded)
        Watch(static_cast<QChildEvent*>(e)->child());
    // Keys its controls leave alone stop here: they are not the grid's keys.
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
        e->accept();
        return true;
    }
    return QFrame::event(e);
}

bool TRowDetailPanelControlGx::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::ChildAdded) {
        Watch(static_cast<QChildEvent*>(e)->child());
    } else if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const Qt::KeyboardModifiers shifts =
            k->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (k->key() == Qt::Key_Up && shifts == Qt::ControlModifier) {
            FGrid->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QFrame::eventFilter(watched, e);
}

// ---------------------------------------------------------------- placing the panel

void TCustomDBGridGx::UpdateRowDetailPanel()
{
    if (!FRowDetailControl || !FRowDetailPanel || FDestroying)
        return;
    TRowDetailPanelGx* panel = FRowDetailPanel.get();
    const int dataRow = Row() - TopDataOffset();
    const bool show = panel->Active() && panel->Visible() && Row() >= TopRow() &&
                      Row() <= TopRow() + VisibleRowCount();
    if (show) {
        const int leftCol = FFrozenCols > 0 ? FIndicatorOffset : LeftCol();
        const TRect r = CellRect(leftCol, Row());
        const int top = r.Top + GetDataRowHeight(dataRow);
        const int left = r.Left + GetCellTreeElmentsAreaWidth() + FExtraFirstColumnWidth + kRowDetailSignWidth;
        const int room = ClientWidth() - left;
        int width = panel->Width();
        if (width != 0)
            width = std::min(width, room);
        else
            width = std::min(CalcGridLayout().Horz.DataEnd - GridLineWidth(), ClientWidth()) - left;
        int height = panel->Height();
        if (height == 0 || top + height > ClientHeight())
            height = ClientHeight() - top;
        FRowDetailControl->setGeometry(left, top, std::max(0, width), std::max(0, height));
        FRowDetailControl->SetBevels(panel->BevelEdges(), panel->BevelInner(), panel->BevelOuter(),
                                     panel->BevelKind(), panel->BevelWidth());
        FRowDetailControl->SetBorderStyle(panel->BorderStyle());
        FRowDetailControl->SetPanelColor(panel->Color(), panel->ParentColor());
        FRowDetailControl->setVisible(true);
    } else {
        FRowDetailControl->setVisible(false);
    }
    if (FDataLink->Active() && dataRow >= 0)
        UpdateDataRowHeight(dataRow);
}

// ---------------------------------------------------------------- the sign

int TCustomDBGridGx::DrawRowDetailSign(int DataRow, const TRect& ARect, TGridDrawState)
{
    if (!FRowDetailPanel->Active())
        return 0;
    TCanvas* canvas = Canvas();
    TColor back = Color();
    if (FDataLink->Active() && FBookmarks->CurrentRowSelected()) {
        TGridDrawStateGx bits = 0;
        if (FStyle) {
            THighlightCellStateGx cell;
            cell.SelectionType = gstRecordBookmarks;
            cell.CellInSelection = true;
            cell.GridFocused = IsGridFocused();
            cell.Options = FOptions;
            cell.OptionsGx = FOptionsGx;
            FStyle->HighlightDataCellColor(cell, back, nullptr, bits);
        } else {
            back = clHighlight;
        }
    }
    const TRect box(ARect.Left, ARect.Top, ARect.Left + kRowDetailSignWidth, ARect.Bottom);
    canvas->Brush()->SetColor(back);
    canvas->FillRect(box);
    const bool open = FRowDetailPanel->Visible() && IsDrawRecordCurrent(DataRow);
    const bool parity = (FStdDefaultRowHeight % 2 == 1) && (TopRow() % 2 == 1);
    DrawTreeElement(canvas, box, open ? 3 : 7, false, 1, 1, parity);
    return kRowDetailSignWidth;
}

bool TCustomDBGridGx::IsRowDetailSignHit(int InCellX, int ACol)
{
    bool active = FRowDetailPanel->Active();
    if (OnCheckRowHaveDetailPanel)
        OnCheckRowHaveDetailPanel(this, active);
    if (!active || FVisibleColumns.Count() == 0)
        return false;
    // In a row panel the first visible column starts at the panel's left edge.
    const int dataCol = ACol - FIndicatorOffset;
    if (!RowPanelActive() && (dataCol < 0 || dataCol >= FColumns->Count() ||
                              FColumns->GetColumn(dataCol) != FVisibleColumns.GetColumn(0)))
        return false;
    const int a = GetCellTreeElmentsAreaWidth() + (RowPanelActive() ? 0 : FExtraFirstColumnWidth);
    return InCellX >= a && InCellX < a + kRowDetailSignWidth;
}

bool TCustomDBGridGx::IsMouseOnRowDetailSign(int X, int Y)
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < FIndicatorOffset || cell.Y < 0)
        return false;
    int dataCol = 0, dataRow = 0;
    if (GetCellType(cell.X, cell.Y, dataCol, dataRow).RowKind != crkDataGx)
        return false;
    const TRect r = CellRect(cell.X, cell.Y);
    return IsRowDetailSignHit(X - r.Left, cell.X);
}

// ---------------------------------------------------------------- the editor beside the sign

void TCustomDBGridGx::CalcEditRect(int ACol, int ARow, TRect& Rect)
{
    TCustomGridGx::CalcEditRect(ACol, ARow, Rect);
    const bool firstVisible = FVisibleColumns.Count() > 0 && ACol - FIndicatorOffset >= 0 &&
                              ACol - FIndicatorOffset < FColumns->Count() &&
                              FColumns->GetColumn(ACol - FIndicatorOffset) == FVisibleColumns.GetColumn(0);
    if (RowPanelActive()) {
        // The editor covers the current column's place in the panel (right of the sign in the first one).
        Rect = RowPanelEditRect();
        return;
    }
    if (firstVisible && FDataGrouping->IsGroupingWorks())
        Rect.Left += FExtraFirstColumnWidth;
    if (FRowDetailPanel->Active() && ACol == FIndicatorOffset && Rect.Width() > kRowDetailSignWidth)
        Rect.Left += kRowDetailSignWidth;
    if (FRowDetailPanel->Visible() && ARow == Row())
        Rect.Bottom = std::min(Rect.Bottom, Rect.Top + GetDataRowHeight(ARow - TopDataOffset()));
}

// ---------------------------------------------------------------- first-column signs

void TCustomDBGridGx::PaintFirstColumnSigns(TColumnGx* Column, int DataRow, TGridDrawState State,
                                            bool RowHasDetailPanel, TRect& Rect)
{
    if (FVisibleColumns.Count() == 0 || Column != FVisibleColumns.GetColumn(0))
        return;
    if (FIntMemTable && FIntMemTable->GetTreeViewActive()) {
        DrawDataTreeElement(Column->Index() + FIndicatorOffset, DataRow + TopDataOffset(), Rect);
        Rect.Left += GetCellTreeElmentsAreaWidth();
    }
    if (!FRowDetailPanel->Active())
        return;
    if (RowHasDetailPanel) {
        Rect.Left += DrawRowDetailSign(DataRow, Rect, State);
    } else {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(TRect(Rect.Left, Rect.Top, Rect.Left + kRowDetailSignWidth, Rect.Bottom));
        Rect.Left += kRowDetailSignWidth;
    }
}

bool TCustomDBGridGx::ShowRowDetailPanelFromKey()
{
    bool allowed = FRowDetailPanel->Active();
    if (allowed && OnCheckRowHaveDetailPanel)
        OnCheckRowHaveDetailPanel(this, allowed);
    if (!allowed)
        return false;
    FRowDetailPanel->SetVisible(true);
    if (!FRowDetailPanel->Visible())
        return false;
    FocusRowDetailPanel();
    return true;
}
