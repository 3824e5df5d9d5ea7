// Editing a template: the selection, lines and cells, merging and splitting,
// the attributes of the selected cells, margins.
#include "ReportControl.h"

#include "platform/rtl/DateTime.h"

#include <QSet>
#include <cmath>

// ---------------------------------------------------------------- selection

void TReportControl::invalidateCell(const TReportCell* cell)
{
    if (cell) InvalidateRect(FromPage(cell->CellRect()));
}

bool TReportControl::AddSelectedCell(TReportCell* Cell)
{
    if (!Cell || FSelectCells.contains(Cell)) return false;
    FSelectCells.append(Cell);
    invalidateCell(Cell);
    return true;
}

bool TReportControl::RemoveSelectedCell(TReportCell* Cell)
{
    if (!Cell || !FSelectCells.removeAll(Cell)) return false;
    invalidateCell(Cell);
    return true;
}

void TReportControl::RemoveAllSelectedCell()
{
    for (TReportCell* c : FSelectCells)
        invalidateCell(c);
    FSelectCells.clear();
}

bool TReportControl::IsCellSelected(const TReportCell* Cell) const
{
    return Cell && FSelectCells.contains(const_cast<TReportCell*>(Cell));
}

bool TReportControl::CanSplit() const { return FSelectCells.size() == 1 && FSelectCells[0]->OwnedCellCount() > 0; }

// ---------------------------------------------------------------- structure

void TReportControl::detachCell(TReportCell* cell)
{
    if (TReportCell* owner = cell->FOwnerCell) {
        owner->FCellsList.removeAll(cell);
        cell->FOwnerCell = nullptr;
    }
    cell->RemoveAllOwnedCell();
    FSelectCells.removeAll(cell);
    if (FEditCell == cell) CloseEditWindow(false);
}

void TReportControl::deleteCells(const QList<TReportCell*>& cells)
{
    for (TReportCell* c : cells)
        detachCell(c);
    for (TReportCell* c : cells)
        if (c->FOwnerLine) c->FOwnerLine->TakeCell(c);
}

void TReportControl::NewTable(int ColNumber, int RowNumber)
{
    if (ColNumber < 1 || RowNumber < 1) return;
    if (!FLineList.empty()) {
        CloseEditWindow(false);
        FSelectCells.clear();
        freeAllLines();
        Invalidate();
    }
    TReportLine* line = AppendLine();
    line->FLineTop = FTopMargin;
    const int available = width() - FLeftMargin - FRightMargin;
    const int w = int(std::trunc(double(available) / ColNumber + 0.5));
    line->CreateLine(FLeftMargin, ColNumber, w);
    for (int i = 1; i < RowNumber; ++i)
        AddLine();
    UpdateLines();
}

void TReportControl::AddLine()
{
    if (!CanAdd() || FLineList.empty()) return;
    TReportLine* last = FLineList.back().get();
    TReportLine* line = AppendLine();
    line->CopyLine(*last, false);
    UpdateLines();
}

void TReportControl::InsertLine()
{
    if (!CanInsert()) return;
    TReportLine* from = FSelectCells.front()->OwnerLine();
    const int at = IndexOfLine(from);
    if (at < 0) return;
    TReportLine* line = TReportControl::InsertLine(at + 1);
    line->CopyLine(*from, true);
    UpdateLines();
}

void TReportControl::DeleteLine()
{
    if (FSelectCells.isEmpty()) return;
    QSet<TReportLine*> marked;
    for (TReportCell* c : FSelectCells)
        marked.insert(c->OwnerLine());
    RemoveAllSelectedCell();
    for (int i = LineCount() - 1; i >= 0; --i) {
        TReportLine* line = Line(i);
        if (!marked.contains(line)) continue;
        InvalidateRect(FromPage(line->LineRect()));
        for (const auto& c : line->FCells)
            detachCell(c.get());
        FLineList.erase(FLineList.begin() + i);
    }
    UpdateLines();
}

void TReportControl::AddCell()
{
    if (FSelectCells.size() != 1) return;
    TReportLine* line = FSelectCells.front()->OwnerLine();
    TReportCell* last = line->Cell(line->CellCount() - 1);
    TReportCell* c = line->AppendCell();
    c->CopyCell(*last);
    c->FCellLeft = last->CellLeft() + last->CellWidth();
    UpdateLines();
}

void TReportControl::InsertCell()
{
    if (FSelectCells.size() != 1) return;
    TReportCell* sel = FSelectCells.front();
    TReportLine* line = sel->OwnerLine();
    TReportCell* c = line->InsertCell(line->IndexOfCell(sel));
    c->CopyCell(*sel);
    c->FCellLeft = sel->CellLeft();
    UpdateLines();
}

void TReportControl::DeleteCell()
{
    if (FSelectCells.isEmpty()) return;
    // From the last selected back to the first, each with the cells it owns.
    QList<TReportCell*> doomed;
    for (int i = int(FSelectCells.size()) - 1; i >= 0; --i) {
        TReportCell* c = FSelectCells[i];
        for (TReportCell* o : c->OwnedCells())
            if (!doomed.contains(o)) doomed.append(o);
        if (!doomed.contains(c)) doomed.append(c);
    }
    RemoveAllSelectedCell();
    deleteCells(doomed);
    UpdateLines();
    for (int i = LineCount() - 1; i >= 0; --i)
        if (Line(i)->CellCount() == 0) FLineList.erase(FLineList.begin() + i);
    UpdateLines();
}

void TReportControl::CombineCell()
{
    if (FSelectCells.size() < 2) return;
    // The cells the selected owners hold take part too.
    const QList<TReportCell*> selected = FSelectCells;
    for (TReportCell* c : selected)
        for (TReportCell* o : c->OwnedCells())
            if (!FSelectCells.contains(o)) FSelectCells.append(o);
    // Every line taking part must span the same extent.
    std::vector<TMyRect> extents(static_cast<size_t>(LineCount()), TMyRect{});
    for (TReportCell* c : FSelectCells) {
        const int li = IndexOfLine(c->OwnerLine());
        if (li < 0) return;
        TMyRect& r = extents[size_t(li)];
        r.Left = std::min(r.Left, c->CellLeft());
        r.Right = std::max(r.Right, c->CellLeft() + c->CellWidth());
    }
    const TMyRect* first = nullptr;
    for (const TMyRect& r : extents) {
        if (r.Left == 65535) continue;
        if (!first) first = &r;
        else if (r.Left != first->Left || r.Right != first->Right) return;
    }
    // In each line the first selected cell takes the width of the others.
    QList<TReportCell*> survivors;
    QList<TReportCell*> doomed;
    for (int li = 0; li < LineCount(); ++li) {
        if (extents[size_t(li)].Left == 65535) continue;
        TReportLine* line = Line(li);
        TReportCell* survivor = nullptr;
        for (const auto& c : line->FCells) {
            if (!FSelectCells.contains(c.get())) continue;
            if (!survivor) {
                survivor = c.get();
            } else {
                survivor->FCellWidth += c->CellWidth();
                doomed.append(c.get());
            }
        }
        survivors.append(survivor);
    }
    for (TReportCell* c : doomed)
        invalidateCell(c);
    deleteCells(doomed);
    // The top survivor holds the others, top to bottom.
    TReportCell* owner = survivors.front();
    if (owner->FOwnerCell) {
        owner->FOwnerCell->FCellsList.removeAll(owner);
        owner->FOwnerCell = nullptr;
    }
    for (int i = 1; i < survivors.size(); ++i)
        owner->AddOwnedCell(survivors[i]);
    for (TReportCell* c : survivors) {
        c->CalcMinCellHeight();
        invalidateCell(c);
    }
    RemoveAllSelectedCell();
    AddSelectedCell(owner);
    UpdateLines();
}

void TReportControl::SplitCell()
{
    if (!CanSplit()) return;
    TReportCell* owner = FSelectCells.front();
    RemoveAllSelectedCell();
    AddSelectedCell(owner);
    const QList<TReportCell*> owned = owner->OwnedCells();
    owner->RemoveAllOwnedCell();
    for (TReportCell* c : owned)
        invalidateCell(c);
    UpdateLines();
}

void TReportControl::VSplitCell(int Number)
{
    if (FSelectCells.size() != 1 || Number < 1) return;
    TReportCell* cell = FSelectCells.front();
    const int frameWidth = cell->CellRect().Width();
    int n = int(std::trunc(frameWidth / 12.0 + 0.5));
    n = std::max(1, std::min(n, Number));
    const int w = int(std::trunc(double(frameWidth) / n + 0.5));
    cell->SetCellWidth(w);
    const QList<TReportCell*> owned = cell->OwnedCells();
    for (TReportCell* o : owned)
        o->SetCellWidth(w);
    TReportLine* line = cell->OwnerLine();
    for (int k = 1; k < n; ++k) {
        TReportCell* copy = line->InsertCell(line->IndexOfCell(cell) + k);
        copy->CopyCell(*cell);
        for (TReportCell* o : owned) {
            TReportLine* lower = o->OwnerLine();
            TReportCell* ocopy = lower->InsertCell(lower->IndexOfCell(o) + k);
            ocopy->CopyCell(*o);
            copy->InsertOwnedCell(copy->OwnedCellCount(), ocopy);
        }
    }
    UpdateLines();
}

void TReportControl::ResetContent()
{
    CloseEditWindow(false);
    FSelectCells.clear();
    freeAllLines();
    Invalidate();
}

// ---------------------------------------------------------------- attributes

void TReportControl::SetCellLines(bool bLeftLine, bool bTopLine, bool bRightLine, bool bBottomLine,
                                  int nLeftLineWidth, int nTopLineWidth, int nRightLineWidth, int nBottomLineWidth)
{
    for (TReportCell* c : FSelectCells) {
        c->SetLines(bLeftLine, bTopLine, bRightLine, bBottomLine, nLeftLineWidth, nTopLineWidth, nRightLineWidth,
                    nBottomLineWidth);
        invalidateCell(c);
    }
    UpdateLines();
}

void TReportControl::SetCellDiagonal(quint32 NewDiagonal)
{
    for (TReportCell* c : FSelectCells) {
        c->SetDiagonal(NewDiagonal);
        invalidateCell(c);
    }
}

void TReportControl::SetCellColor(TColor NewTextColor, TColor NewBackColor)
{
    for (TReportCell* c : FSelectCells) {
        c->SetTextColor(NewTextColor);
        c->SetBkColor(NewBackColor);
        invalidateCell(c);
    }
}

void TReportControl::SetCellFont(const TLogFontW& CellFont)
{
    for (TReportCell* c : FSelectCells) {
        c->SetLogFont(CellFont);
        invalidateCell(c);
    }
    UpdateLines();
}

void TReportControl::setfont(const TFont& font) { SetCellFont(LogFontFromFont(font)); }

void TReportControl::SetCellAlign(int NewHorzAlign, int NewVertAlign)
{
    for (TReportCell* c : FSelectCells) {
        c->SetHorzAlign(NewHorzAlign);
        c->SetVertAlign(NewVertAlign);
        invalidateCell(c);
    }
}

void TReportControl::sethorzalign(int NewHorzAlign)
{
    for (TReportCell* c : FSelectCells) {
        c->SetHorzAlign(NewHorzAlign);
        c->CalcMinCellHeight();
        invalidateCell(c);
    }
    UpdateLines();
}

void TReportControl::setvertalign(int NewVertAlign)
{
    for (TReportCell* c : FSelectCells) {
        c->SetVertAlign(NewVertAlign);
        invalidateCell(c);
    }
    UpdateLines();
}

void TReportControl::setvarraytype(int value)
{
    for (TReportCell* c : FSelectCells) {
        c->Setvarraytype(value);
        c->SetTextColor(clRed);
        if (value == vkPageNumber) c->SetCellText(QStringLiteral("第X页共XX页"));
        else if (value == vkPrintDate) c->SetCellText(DateTimeToStr(Now()));
        else if (value == vkPageSum) c->SetCellText(QStringLiteral("合计"));
    }
    Invalidate();
}

void TReportControl::Setreportlinetype(int lnty)
{
    if (FSelectCells.size() != 1 || lnty > 2) return;
    FSelectCells.front()->OwnerLine()->SetLinetype(lnty);
}

void TReportControl::SetprtlineS(int lines)
{
    if (FSelectCells.isEmpty()) return;
    selectreportline();
    FSelectCells.front()->OwnerLine()->Setprtlines(lines);
}

void TReportControl::selectreportline()
{
    if (FSelectCells.size() != 1) return;
    TReportLine* line = FSelectCells.front()->OwnerLine();
    FSelectCells.clear();
    for (const auto& c : line->FCells)
        FSelectCells.append(c.get());
    Invalidate();
}

void TReportControl::SetMargin(int nLeftMargin, int nTopMargin, int nRightMargin, int nBottomMargin)
{
    if (nLeftMargin == FLeftMargin1 && nTopMargin == FTopMargin1 && nRightMargin == FRightMargin1
        && nBottomMargin == FBottomMargin1)
        return;
    FLeftMargin1 = nLeftMargin;
    FTopMargin1 = nTopMargin;
    FRightMargin1 = nRightMargin;
    FBottomMargin1 = nBottomMargin;
    FLeftMargin = MmToPixels(nLeftMargin);
    FTopMargin = MmToPixels(nTopMargin);
    FRightMargin = MmToPixels(nRightMargin);
    FBottomMargin = MmToPixels(nBottomMargin);
    UpdateLines();
    Invalidate();
}

TRect TReportControl::GetMargin() const { return TRect(FLeftMargin1, FTopMargin1, FRightMargin1, FBottomMargin1); }
