// The template on screen: the page with its margin marks and cells, the
// selection, border drags with the mouse and the in-place edit window.
#include "ReportControl.h"

#include "ReportEditWindow.h"

#include <QTextEdit>

namespace {
bool intersects(const TRect& a, const TRect& b)
{
    TRect dummy;
    return IntersectRect(dummy, a, b);
}
} // namespace

TPoint TReportControl::ToPage(const TPoint& p) const
{
    if (FReportScale == 100) return p;
    return TPoint(MulDiv(p.X, 100, FReportScale), MulDiv(p.Y, 100, FReportScale));
}

TRect TReportControl::FromPage(const TRect& r) const
{
    if (FReportScale == 100) return r;
    return TRect(MulDiv(r.Left, FReportScale, 100), MulDiv(r.Top, FReportScale, 100),
                 MulDiv(r.Right, FReportScale, 100), MulDiv(r.Bottom, FReportScale, 100));
}

// ---------------------------------------------------------------- painting

void TReportControl::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetMapMode(MM_ISOTROPIC);
    canvas->SetWindowExt(std::max(1, FPageWidth), std::max(1, FPageHeight));
    canvas->SetViewportExt(std::max(1, width()), std::max(1, height()));
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Brush()->SetColor(clWhite);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Rectangle(0, 0, FPageWidth, FPageHeight);

    // The corners of the margin area, marked by strokes pointing outwards.
    canvas->Pen()->SetColor(clGray);
    const int l = FLeftMargin, t = FTopMargin, r = FPageWidth - FRightMargin, b = FPageHeight - FBottomMargin;
    const struct {
        int x, y, dx, dy;
    } corners[] = {{l, t, -1, -1}, {r, t, 1, -1}, {l, b, -1, 1}, {r, b, 1, 1}};
    for (const auto& c : corners) {
        canvas->MoveTo(c.x, c.y);
        canvas->LineTo(c.x, c.y + 25 * c.dy);
        canvas->MoveTo(c.x, c.y);
        canvas->LineTo(c.x + 25 * c.dx, c.y);
    }

    for (const auto& line : FLineList)
        for (const auto& cell : line->FCells) {
            if (cell->OwnerCell()) continue;
            TRect area = cell->CellRect();
            InflateRect(area, 8, 8);  // the borders stand on the frame's edges
            if (!canvas->RectVisible(area)) continue;
            cell->PaintCell(canvas, FPreviewStatus);
        }
    if (!FPreviewStatus)
        for (TReportCell* cell : FSelectCells)
            canvas->InvertRect(cell->CellRect());
}

// ---------------------------------------------------------------- hit tests

TReportCell* TReportControl::CellFromPoint(const TPoint& point) const
{
    TReportCell* found = nullptr;
    for (const auto& line : FLineList) {
        if (point.Y < line->LineTop() || point.Y >= line->LineTop() + line->LineHeight()) continue;
        for (const auto& cell : line->FCells)
            if (PtInRect(cell->CellRect(), point)) {
                found = cell->OwnerCell() ? cell->OwnerCell() : cell.get();
                break;
            }
    }
    return found;
}

TCursor TReportControl::CursorAt(int X, int Y)
{
    if (FMouseState == TMouseState::RowDrag) return crVSplit;
    if (FMouseState == TMouseState::ColumnDrag) return crHSplit;
    const TPoint p = ToPage(TPoint(X, Y));
    TReportCell* cell = CellFromPoint(p);
    if (!cell) return crDefault;
    const TRect f = cell->CellRect();
    if (f.Right - p.X <= 3) return crHSplit;
    if (f.Bottom - p.Y <= 3) return crVSplit;
    if (p.X - f.Left > 5) return crIBeam;
    return crUpArrow;
}

// ---------------------------------------------------------------- mouse

void TReportControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const TPoint p = ToPage(TPoint(X, Y));
    if (Shift.contains(ssDouble)) {
        // The press of a double-click opens the editor on the cell under it.
        if (Button == mbLeft && FDblClickPending) editCellAt(p);
        FDblClickPending = false;
        return;
    }
    if (Button == mbRight) {
        // The context menu acts on the cell under the cursor.
        TReportCell* cell = CellFromPoint(p);
        if (!IsCellSelected(cell)) {
            RemoveAllSelectedCell();
            if (cell) AddSelectedCell(cell);
        }
        return;
    }
    if (Button != mbLeft) return;
    CloseEditWindow(true);
    Update();
    TReportCell* cell = CellFromPoint(p);
    if (cell && (cell->CellRect().Bottom - p.Y <= 3 || cell->CellRect().Right - p.X <= 3))
        StartMouseDrag(p);
    else
        StartMouseSelect(p, true);
}

void TReportControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const TPoint p = ToPage(TPoint(X, Y));
    switch (FMouseState) {
    case TMouseState::Selecting:
        if (FPressedCell && !IsCellSelected(FPressedCell)) AddSelectedCell(FPressedCell);
        MouseMoveHandler(p);
        break;
    case TMouseState::RowDrag:
    case TMouseState::ColumnDrag:
        drawGuide();
        FGuidePos = std::clamp(FMouseState == TMouseState::RowDrag ? p.Y : p.X, FGuideMin, std::max(FGuideMin, FGuideMax));
        drawGuide();
        break;
    case TMouseState::None:
        break;
    }
}

void TReportControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (FMouseState == TMouseState::RowDrag || FMouseState == TMouseState::ColumnDrag) {
        drawGuide();
        finishDrag(ToPage(TPoint(X, Y)));
    }
    FMouseState = TMouseState::None;
    FPressedCell = nullptr;
    FMovingCells.clear();
}

void TReportControl::CancelMode()
{
    // The capture is gone: a drag ends where the guide stands.
    if (FMouseState == TMouseState::RowDrag || FMouseState == TMouseState::ColumnDrag) {
        drawGuide();
        finishDrag(FMouseState == TMouseState::RowDrag ? TPoint(0, FGuidePos) : TPoint(FGuidePos, 0));
    }
    FMouseState = TMouseState::None;
    FPressedCell = nullptr;
    FMovingCells.clear();
}

void TReportControl::StartMouseSelect(const TPoint& point, bool bSelectFlag)
{
    RemoveAllSelectedCell();
    FPressedCell = CellFromPoint(point);
    if (FPressedCell) AddSelectedCell(FPressedCell);
    FMousePoint = point;
    FMouseState = bSelectFlag ? TMouseState::Selecting : TMouseState::None;
}

void TReportControl::MouseMoveHandler(const TPoint& point)
{
    TRect band(std::min(FMousePoint.X, point.X), std::min(FMousePoint.Y, point.Y), std::max(FMousePoint.X, point.X),
               std::max(FMousePoint.Y, point.Y));
    band.Right = std::max(band.Right, band.Left + 1);
    band.Bottom = std::max(band.Bottom, band.Top + 1);
    const QList<TReportCell*> selected = FSelectCells;
    for (TReportCell* c : selected)
        if (!intersects(c->CellRect(), band)) RemoveSelectedCell(c);
    for (const auto& line : FLineList) {
        if (!intersects(line->LineRect(), band)) continue;
        for (const auto& c : line->FCells)
            if (intersects(c->CellRect(), band)) AddSelectedCell(c->OwnerCell() ? c->OwnerCell() : c.get());
    }
}

void TReportControl::StartMouseDrag(const TPoint& point)
{
    TReportCell* cell = CellFromPoint(point);
    if (!cell) return;
    FPressedCell = cell;
    FMovingCells.clear();
    const TRect frame = cell->CellRect();
    if (frame.Bottom - point.Y <= 3) {
        // Row drag: the line of the cell that stretches, never above its top + 5.
        TReportCell* stretch = cell;
        for (TReportCell* o : cell->OwnedCells())
            if (o->CellTop() > stretch->CellTop()) stretch = o;
        FMouseState = TMouseState::RowDrag;
        FGuideMin = stretch->CellTop() + 5;
        FGuideMax = ToPage(TPoint(0, height())).Y - 10;
        FGuidePos = std::clamp(point.Y, FGuideMin, std::max(FGuideMin, FGuideMax));
    } else {
        // Column drag: the cells whose right edge is the pressed border.
        const int x = frame.Right;
        auto neighbourOf = [](const TReportCell* c) { return c->OwnerLine()->Cell(c->CellIndex() + 1); };
        TReportCell* next = neighbourOf(cell);
        const bool restricted = !FSelectCells.isEmpty()
            && (IsCellSelected(cell) || IsCellSelected(next) || (next && IsCellSelected(next->OwnerCell())));
        for (const auto& line : FLineList)
            for (const auto& c : line->FCells) {
                if (c->CellLeft() + c->CellWidth() != x) continue;
                if (!restricted || IsCellSelected(c.get()) || IsCellSelected(neighbourOf(c.get())))
                    FMovingCells.append(c.get());
                if (restricted) break;
            }
        FMouseState = TMouseState::ColumnDrag;
        FGuideMin = 0;
        FGuideMax = ToPage(TPoint(ClientWidth(), 0)).X - 10;
        for (TReportCell* c : FMovingCells) {
            FGuideMin = std::max(FGuideMin, c->CellLeft() + 10);
            if (TReportCell* n = neighbourOf(c)) FGuideMax = std::min(FGuideMax, n->CellLeft() + n->CellWidth() - 10);
        }
        FGuidePos = std::clamp(point.X, FGuideMin, std::max(FGuideMin, FGuideMax));
    }
    FGuideShown = false;
    drawGuide();
}

void TReportControl::drawGuide()
{
    if (FMouseState != TMouseState::RowDrag && FMouseState != TMouseState::ColumnDrag) return;
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetStyle(psDot);
    canvas->Pen()->SetMode(pmNotXor);
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(1);
    if (FMouseState == TMouseState::RowDrag) {
        const int y = FromPage(TRect(0, FGuidePos, 0, FGuidePos)).Top;
        canvas->MoveTo(0, y);
        canvas->LineTo(width(), y);
    } else {
        const int x = FromPage(TRect(FGuidePos, 0, FGuidePos, 0)).Left;
        canvas->MoveTo(x, 0);
        canvas->LineTo(x, height());
    }
    canvas->Pen()->SetMode(pmCopy);
    canvas->Pen()->SetStyle(psSolid);
    FGuideShown = !FGuideShown;
}

void TReportControl::finishDrag(const TPoint& point)
{
    const int pos = std::clamp(FMouseState == TMouseState::RowDrag ? point.Y : point.X, FGuideMin,
                               std::max(FGuideMin, FGuideMax));
    if (FMouseState == TMouseState::RowDrag) {
        TReportCell* stretch = FPressedCell;
        for (TReportCell* o : FPressedCell->OwnedCells())
            if (o->CellTop() > stretch->CellTop()) stretch = o;
        stretch->CalcMinCellHeight();
        stretch->OwnerLine()->SetLineHeight(pos - stretch->OwnerLine()->LineTop());
        UpdatePrintLines();
        return;
    }
    // The cells merged below the moving ones move with them.
    QList<TReportCell*> moving = FMovingCells;
    for (TReportCell* c : FMovingCells)
        for (TReportCell* o : c->OwnedCells())
            if (!moving.contains(o)) moving.append(o);
    if (moving.isEmpty()) return;
    auto neighbourOf = [](const TReportCell* c) { return c->OwnerLine()->Cell(c->CellIndex() + 1); };
    int lowest = 0;
    for (TReportCell* c : moving)
        lowest = std::max(lowest, c->CellRect().Bottom);
    if (TReportCell* n = neighbourOf(moving.front()); n && n->OwnerCell()) return;
    for (TReportCell* c : moving)
        if (TReportCell* n = neighbourOf(c); n && n->CellRect().Bottom > lowest) return;
    for (TReportCell* c : moving) {
        const int newWidth = std::max(10, pos - c->CellLeft());
        const int delta = newWidth - c->CellWidth();
        c->SetCellWidth(newWidth);
        if (TReportCell* n = neighbourOf(c)) {
            n->SetCellLeft(n->CellLeft() + delta);
            n->SetCellWidth(n->CellWidth() - delta);
            invalidateCell(n);
        }
        invalidateCell(c);
    }
    UpdatePrintLines();
}

// ---------------------------------------------------------------- in-place editing

QWidget* TReportControl::EditWindow() const { return FEditWnd.data(); }

void TReportControl::DblClick()
{
    TCustomControl::DblClick();
    FDblClickPending = true;
}

void TReportControl::editCellAt(const TPoint& point)
{
    RemoveAllSelectedCell();
    TReportCell* cell = CellFromPoint(point);
    if (!cell || cell->CellWidth() <= 10) return;
    CloseEditWindow(true);
    FEditCell = cell;
    auto* edit = new TReportEditWindow(this);
    FEditWnd = edit;
    QFont font = FontFromLogFont(cell->LogFont()).toQFont();
    font.setPixelSize(std::max(1, MulDiv(font.pixelSize(), FReportScale, 100)));
    edit->setFont(font);
    edit->SetAlignment(cell->HorzAlign() == 1 ? Qt::AlignHCenter : cell->HorzAlign() == 2 ? Qt::AlignRight : Qt::AlignLeft);
    edit->SetColors(cell->BkColor(), cell->TextColor());
    edit->SetCellText(cell->CellText());
    edit->setGeometry(FromPage(cell->TextRect()).toQRect());
    edit->OnChange = [this] { editTextChanged(); };
    edit->show();
    edit->setFocus();
}

void TReportControl::editTextChanged()
{
    if (!FEditWnd || !FEditCell) return;
    const TRect before = FEditCell->TextRect();
    FEditCell->SetCellText(FEditWnd->CellText().left(kMaxCellText));
    invalidateCell(FEditCell);
    UpdateLines();
    if (FEditCell->TextRect() != before) FEditWnd->setGeometry(FromPage(FEditCell->TextRect()).toQRect());
}

void TReportControl::CloseEditWindow(bool takeText)
{
    if (!FEditWnd) {
        FEditCell = nullptr;
        return;
    }
    TReportEditWindow* edit = FEditWnd.data();
    FEditWnd.clear();
    edit->OnChange = nullptr;
    if (takeText && FEditCell) {
        FEditCell->SetCellText(edit->CellText().left(kMaxCellText));
        invalidateCell(FEditCell);
        UpdateLines();
    }
    FEditCell = nullptr;
    edit->clearFocus();
    edit->hide();
    edit->deleteLater();
}
