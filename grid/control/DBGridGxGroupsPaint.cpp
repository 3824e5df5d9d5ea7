// The data grid's group rows and grouping panel: painting of group rows and of the
// indentation of grouped rows, the colours of a selected group row, and the panel
// above the titles with its level boxes, clicks and dragging.
#include "DBGridGx.h"
#include "DBGridGxGroups.h"
#include "DBGridGxParts.h"
#include "DBGridGxStyle.h"
#include "DBGridGxTextRoutines.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/gui/DrawUtils.h"

#include <QApplication>
#include <algorithm>

namespace {

constexpr int GroupLevelIndent = 18;
const char* const SDragColumnToGroup = "Drag a column header here to group by that column";

// Whether the node after Index in the flat list lies outside the group of Level
// (the group closes at this row).
bool GroupEndsAt(TGridGroupDataTreeGx* tree, int Index, int Level)
{
    TGroupDataTreeNodeGx* next = tree->FlatVisibleNode(Index + 1);
    return !next || next->Level() <= Level;
}

} // namespace

// ---------------------------------------------------------------- group rows

TColor TCustomDBGridGx::GroupLineColor()
{
    return GridLineColors()->DataHorzColor();
}

void TCustomDBGridGx::PaintGroupIndent(int Index, TGroupDataTreeNodeGx* Node, const TRect& ARect, int Levels)
{
    TCanvas* canvas = Canvas();
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    const TColor line = GroupLineColor();
    // Innermost outer level first, right to left.
    TGroupDataTreeNodeGx* owner = Node->ParentNode();
    for (int level = Levels; level >= 1; --level) {
        while (owner && owner->Level() > level)
            owner = owner->ParentNode();
        TGridDataGroupLevelGx* groupLevel = FDataGrouping->ActiveGroupLevel(level - 1);
        const TRect block(ARect.Left + (level - 1) * GroupLevelIndent, ARect.Top,
                          ARect.Left + level * GroupLevelIndent, ARect.Bottom);
        canvas->Brush()->SetColor(groupLevel ? groupLevel->Color() : Color());
        canvas->FillRect(block);
        canvas->Pen()->SetColor(line);
        canvas->MoveTo(block.Right - 1, block.Top);
        canvas->LineTo(block.Right - 1, block.Bottom);
        if (GroupEndsAt(tree, Index, level)) {
            canvas->MoveTo(block.Left, block.Bottom - 1);
            canvas->LineTo(block.Right, block.Bottom - 1);
        }
    }
}

void TCustomDBGridGx::DrawGroupDataRow(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    const int dataRow = ARow - TopDataOffset();
    TGroupDataTreeNodeGx* node = GroupNodeAtDataRow(dataRow);
    if (!node || std::find(FDrawnGroupList.begin(), FDrawnGroupList.end(), node) != FDrawnGroupList.end())
        return;
    auto* level = static_cast<TDBGridGxDataGroupLevelGx*>(node->DataGroup());
    if (!level)
        return;
    TCanvas* canvas = Canvas();
    const QString text = level->GetGroupRowText(node);
    if (ShowFocusHighlight() && ARow == Row())
        AState << gdFocused;

    // The whole visible width: back over the scrollable columns left of this one.
    TRect rect = ARect;
    const TGridLayoutGx L = CalcGridLayout();
    if (ACol >= FixedCols())
        for (int c = ACol - 1; c >= LeftCol(); --c)
            rect.Left -= ColWidths(c) + L.Horz.LineWidth;
    int right = ARect.Right;
    for (int c = ACol + 1; c < TCustomGridGx::ColCount() && c <= L.Horz.LastWholeLine + 1; ++c)
        right += ColWidths(c) + L.Horz.LineWidth;
    rect.Right = std::min(right, L.Horz.DataLimit);

    const int depth = node->Level();
    if (depth > 1) {
        PaintGroupIndent(dataRow, node, TRect(rect.Left, rect.Top, rect.Left, rect.Bottom), depth - 1);
        rect.Left += (depth - 1) * GroupLevelIndent;
    }
    canvas->SetFont(*level->Font());
    TColor back = level->Color();
    HighlightGroupDataCellColor(-1, dataRow, Variant(), AState, back, canvas->Font());
    canvas->Brush()->SetColor(back);

    // The sign box.
    const TRect box(rect.Left, rect.Top, rect.Left + GroupLevelIndent, rect.Bottom);
    canvas->FillRect(box);
    DrawTreeElement(canvas, TRect(box.Left, box.Top, box.Right, box.Bottom - 1), node->Expanded() ? 3 : 7, false, 1.0,
                    1.0, false);
    canvas->Pen()->SetColor(node->Expanded() ? level->Color() : GroupLineColor());
    canvas->MoveTo(box.Left, box.Bottom - 1);
    canvas->LineTo(box.Right, box.Bottom - 1);

    // The text, cut at the fixed boundary so that it scrolls with the grid.
    TRect area(box.Right, rect.Top, rect.Right, rect.Bottom);
    int shift = 0;
    if (area.Left < L.Horz.FixedEnd && ACol >= FixedCols()) {
        shift = L.Horz.FixedEnd - area.Left;
        area.Left = L.Horz.FixedEnd;
    }
    canvas->Brush()->SetColor(back);
    canvas->FillRect(TRect(area.Left, area.Top, area.Right, area.Bottom - 1));
    const int vMargin = Flat() ? 1 : 2;
    const int hMargin = shift > 0 ? 0 : 2;
    TRect textRect(area.Left + hMargin - shift, area.Top + vMargin, area.Right, area.Bottom);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(TRect(area.Left, area.Top, area.Right, area.Bottom - 1), textRect.Left, textRect.Top, text);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetColor(GroupLineColor());
    canvas->MoveTo(area.Left, area.Bottom - 1);
    canvas->LineTo(area.Right, area.Bottom - 1);

    if (AState.contains(gdFocused) && !FOptions.Contains(dgRowSelect) && FLocks.UpdateLock() == 0 &&
        IsGridFocused() && FStyle && FStyle->IsDrawFocusRect())
        canvas->DrawFocusRect(TRect(box.Left, rect.Top, rect.Right, rect.Bottom - 1));
    FDrawnGroupList.push_back(node);
}

void TCustomDBGridGx::DrawGroupExtraColumn(int, int ARow, const TRect& ARect, int Levels)
{
    const int dataRow = ARow - TopDataOffset();
    TGroupDataTreeNodeGx* node = GroupNodeAtDataRow(dataRow);
    if (!node)
        return;
    TCanvas* canvas = Canvas();
    const int levels = Levels < 0 ? FDataGrouping->ActiveGroupLevelsCount() : Levels;
    const TRect area(ARect.Left, ARect.Top, ARect.Left + levels * GroupLevelIndent, ARect.Bottom);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(area);
    canvas->Pen()->SetColor(GroupLineColor());
    canvas->MoveTo(area.Left, area.Bottom - 1);
    canvas->LineTo(area.Right, area.Bottom - 1);
    PaintGroupIndent(dataRow, node, area, levels);
}

bool TCustomDBGridGx::HighlightGroupDataCellColor(int, int DataRow, const Variant&, TGridDrawState AState,
                                                  TColor& AColor, TFont* AFont)
{
    const bool current = DataRow + TopDataOffset() == Row();
    const bool selected = current || AState.contains(gdSelected);
    const bool highlighted =
        selected &&
        (FOptions.Contains(dgAlwaysShowSelection) || current || (IsGridFocused() && FOptionsGx.Contains(dghHighlightFocus))) &&
        FLocks.UpdateLock() == 0;
    if (!highlighted)
        return false;
    if (IsGridFocused()) {
        AColor = clHighlight;
        AFont->SetColor(clHighlightText);
    } else if (current) {
        AColor = clBtnShadow;
        AFont->SetColor(clHighlightText);
    } else {
        AColor = clBtnFace;
    }
    return true;
}

bool TCustomDBGridGx::GroupNodeMouseDown(int X, int Y, bool CheckOnly)
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.Y < TopDataOffset())
        return false;
    TGroupDataTreeNodeGx* node = GroupNodeAtDataRow(cell.Y - TopDataOffset());
    if (!node || node->NodeType() != dntDataGroupGx)
        return false;
    // The sign box sits after the indentation of the outer levels in the first data column.
    const TRect first = CellRect(FIndicatorOffset, cell.Y);
    int left = first.Left;
    if (LeftCol() > FIndicatorOffset && cell.X >= FixedCols())
        left = CellRect(LeftCol(), cell.Y).Left;
    left += (node->Level() - 1) * GroupLevelIndent;
    if (X < left || X >= left + GroupLevelIndent)
        return false;
    if (!CheckOnly) {
        GotoGroupNode(node, false);
        node->SetExpanded(!node->Expanded());
    }
    return true;
}

// ---------------------------------------------------------------- grouping panel

void TCustomDBGridGx::CalcGroupLevelRects()
{
    TCanvas canvas;
    canvas.SetFont(*Font());
    const int w = canvas.TextWidth(QStringLiteral("o"));
    int x = w;
    int y = 2 * w / 3;
    for (int i = 0; i < FDataGrouping->ActiveGroupLevelsCount(); ++i) {
        TGridDataGroupLevelGx* level = FDataGrouping->ActiveGroupLevel(i);
        TColumnGx* column = level->Column();
        canvas.SetFont(*column->Title()->Font());
        const int width = canvas.TextWidth(column->Title()->Caption()) + FInterlinear + 3 + 16 +
                          column->Title()->GetFilterButtonAreaWidth();
        const int height = canvas.TextHeight(QStringLiteral("Wg")) + FInterlinear + 3;
        level->GroupPanelRect = TRect(x, y, x + width, y + height);
        x = level->GroupPanelRect.Right + 2 * w / 3;
        y += height / 2;
    }
}

void TCustomDBGridGx::UpdateGroupPanelTopIndent()
{
    int indent = 0;
    if (FDataGrouping->GroupPanelVisible()) {
        CalcGroupLevelRects();
        const int count = FDataGrouping->ActiveGroupLevelsCount();
        indent = count == 0 ? 30 : FDataGrouping->ActiveGroupLevel(count - 1)->GroupPanelRect.Bottom + 5;
    }
    OutBoundaryData()->SetTopIndent(indent);
    LayoutChanged();
}

void TCustomDBGridGx::DrawOutBoundaryArea(const TRect& ARect)
{
    if (ARect.Top != 0 || !FDataGrouping->GroupPanelVisible() || ARect.Bottom != OutBoundaryData()->TopIndent()) {
        TCustomGridGx::DrawOutBoundaryArea(ARect);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(MixColorBy255(FixedColor(), GroupLineColor(), 85));
    canvas->FillRect(ARect);
    canvas->Pen()->SetColor(GroupLineColor());
    canvas->MoveTo(ARect.Left, ARect.Bottom - 1);
    canvas->LineTo(ARect.Right, ARect.Bottom - 1);
    CalcGroupLevelRects();
    const int count = FDataGrouping->ActiveGroupLevelsCount();
    if (count == 0) {
        canvas->SetFont(*Font());
        canvas->Font()->SetColor(cl3DDkShadow);
        canvas->Brush()->SetStyle(bsClear);
        const int at = ARect.Height() / 6;
        canvas->TextOut(at, at, QString::fromUtf8(SDragColumnToGroup));
        canvas->Brush()->SetStyle(bsSolid);
        return;
    }
    TCanvas measure;
    measure.SetFont(*Font());
    const int w = measure.TextWidth(QStringLiteral("o"));
    for (int i = 0; i < count; ++i) {
        const TRect box = FDataGrouping->ActiveGroupLevel(i)->GroupPanelRect;
        DrawGroupLevelTitle(i, box);
        if (i + 1 < count) {
            canvas->Pen()->SetColor(clBlack);
            const int x = box.Right - w;
            canvas->MoveTo(x, box.Bottom);
            canvas->LineTo(x, box.Bottom + 2 * w / 3);
            canvas->LineTo(box.Right + 2 * w / 3, box.Bottom + 2 * w / 3);
        }
    }
}

void TCustomDBGridGx::DrawGroupLevelTitle(int LevelIndex, const TRect& ARect)
{
    TGridDataGroupLevelGx* level = FDataGrouping->ActiveGroupLevel(LevelIndex);
    if (!level || !level->Column())
        return;
    TColumnGx* column = level->Column();
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(GroupLineColor());
    canvas->Brush()->SetColor(Color());
    canvas->Rectangle(ARect);
    TDBGirdDrawTitleStateGx ds;
    ds.Caption = column->Title()->Caption();
    ds.BackColor = column->Title()->Color();
    ds.Down = FDBGridGxState == dgsGroupPanelTitleDown && FPressedDataGroupLevelIdx == LevelIndex && FPressed;
    ds.DrawFilterButton = FilterButtonsInTitle();
    ds.SortMarker = level->SortOrder() == soAscGx ? smDownGx : smUpGx;
    ds.The3DRect = true;
    ds.Highlight = IsMouseInRect(ARect) && FOptionsGx.Contains(dghHotTrack);
    const TFont* f = column->Title()->Font();
    ds.FontCharset = f->Charset();
    ds.FontColor = f->Color();
    ds.FontSize = f->Size();
    ds.FontName = f->Name();
    ds.FontStyle = f->Style();
    TRect inner = ARect;
    InflateRect(inner, -1, -1);
    PaintColumnTitle(column, inner, ds);
}

int TCustomDBGridGx::GroupPanelLevelAt(int X, int Y)
{
    for (int i = 0; i < FDataGrouping->ActiveGroupLevelsCount(); ++i) {
        TRect r = FDataGrouping->ActiveGroupLevel(i)->GroupPanelRect;
        InflateRect(r, -1, -1);
        if (PointInRect(TPoint(X, Y), r))
            return i;
    }
    return -1;
}

bool TCustomDBGridGx::GroupPanelMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Shift.contains(ssDouble) || Button != mbLeft || !FDataGrouping->GroupPanelVisible() ||
        Y >= OutBoundaryData()->TopIndent())
        return false;
    CalcGroupLevelRects();
    const int index = GroupPanelLevelAt(X, Y);
    if (index < 0)
        return false;
    TColumnGx* column = FDataGrouping->ActiveGroupLevel(index)->Column();
    bool enabled = true;
    CheckTitleButton(column->Index() + FIndicatorOffset, enabled);
    FPressedDataGroupLevelIdx = index;
    if (!enabled || Designing()) {
        StartGroupPanelTitleMoving(index, X, Y);
    } else {
        SetMouseCapture(true);
        FDBGridGxState = dgsGroupPanelTitleDown;
        FPressed = true;
        OutBoundaryData()->InvalidateOutBoundary(cbtTopGx);
    }
    return true;
}

void TCustomDBGridGx::GroupPanelDropPosition(int X, int& DropIndex, int& BoxHeight, int& LinePos)
{
    TCanvas measure;
    measure.SetFont(*Font());
    const int w = measure.TextWidth(QStringLiteral("o"));
    CalcGroupLevelRects();
    const int count = FDataGrouping->ActiveGroupLevelsCount();
    DropIndex = 0;
    while (DropIndex < count) {
        const TRect r = FDataGrouping->ActiveGroupLevel(DropIndex)->GroupPanelRect;
        if ((r.Left + r.Right) / 2 > X)
            break;
        ++DropIndex;
    }
    if (count == 0) {
        BoxHeight = measure.TextHeight(QStringLiteral("Wg")) + FInterlinear + 3;
        LinePos = w / 2;
    } else if (DropIndex < count) {
        const TRect r = FDataGrouping->ActiveGroupLevel(DropIndex)->GroupPanelRect;
        BoxHeight = r.Height();
        LinePos = r.Left - w / 2;
    } else {
        const TRect r = FDataGrouping->ActiveGroupLevel(count - 1)->GroupPanelRect;
        BoxHeight = r.Height();
        LinePos = r.Right + w / 2;
    }
}

void TCustomDBGridGx::ShowGroupPanelMoveLine(int X)
{
    int drop = 0, height = 0, pos = 0;
    GroupPanelDropPosition(X, drop, height, pos);
    const int top = drop < FDataGrouping->ActiveGroupLevelsCount()
                        ? FDataGrouping->ActiveGroupLevel(drop)->GroupPanelRect.Top
                        : (drop > 0 ? FDataGrouping->ActiveGroupLevel(drop - 1)->GroupPanelRect.Top : 2);
    ShowMoveLineAt(TPoint(pos, top), height);
}

bool TCustomDBGridGx::OverGroupPanel(const TPoint& P)
{
    return FDataGrouping->GroupPanelVisible() && P.Y >= 0 && P.Y < FBorderWidth + OutBoundaryData()->TopIndent() && P.X >= 0 &&
           P.X < ClientWidth();
}

void TCustomDBGridGx::ShowMoveLineAt(const TPoint& P, int Height)
{
    // The line is shared with the grid's column moving, which shows it as high as the grid.
    TGridMoveLineGx* line = GridMoveLine();
    if (line->isVisible() && line->IsVert() && line->height() == Height + 8)
        line->MoveToFor(this, P);
    else
        line->StartShow(this, P, Height, true);
}

void TCustomDBGridGx::StartGroupPanelTitleMoving(int LevelIndex, int X, int Y)
{
    EndMouseOperation(X, Y, false);
    FGroupDataMovingIndex = LevelIndex;
    FDBGridGxState = dgsGroupPanelTitleMoving;
    SetMouseCapture(true);
    ShowGroupPanelMoveLine(X);
}

void TCustomDBGridGx::GroupPanelTitleMoving(TShiftState, int X, int Y)
{
    if (Y < OutBoundaryData()->TopIndent()) {
        ShowGroupPanelMoveLine(X);
        return;
    }
    // Below the panel the level's column goes back among the columns as it moves.
    HideMoveLine();
    FDBGridGxState = dgsNormal;
    const int level = FGroupDataMovingIndex;
    TGridDataGroupLevelGx* moving = FDataGrouping->ActiveGroupLevel(level);
    if (!moving || !moving->Column())
        return;
    const int col = moving->Column()->Index() + FIndicatorOffset;
    StartColumnMove(col, X, Y, CalcGridLayout());
    if (GridState() != gsColMoving) {
        // A hidden column cannot be dragged: it is dropped back at once.
        FGroupDataMovingIndex = -1;
        TColumnGx* column = moving->Column();
        FDataGrouping->GroupLevels()->Delete(moving->Index());
        column->SetVisible(true);
        SetMouseCapture(false);
    }
}

void TCustomDBGridGx::EndGroupPanelTitleMoving(bool Accept, int X, int)
{
    HideMoveLine();
    FDBGridGxState = dgsNormal;
    SetMouseCapture(false);
    const int moving = FGroupDataMovingIndex;
    FGroupDataMovingIndex = -1;
    if (!Accept || moving < 0)
        return;
    int drop = 0, height = 0, pos = 0;
    GroupPanelDropPosition(X, drop, height, pos);
    TGridDataGroupLevelGx* level = FDataGrouping->ActiveGroupLevel(moving);
    if (!level)
        return;
    if (drop > moving)
        --drop;
    TGridDataGroupLevelGx* target = FDataGrouping->ActiveGroupLevel(drop);
    const int to = target ? target->Index() : FDataGrouping->GroupLevels()->Count() - 1;
    level->SetIndex(to);
}

void TCustomDBGridGx::AddGroupLevelForColumn(TColumnGx* Column, int X)
{
    int drop = 0, height = 0, pos = 0;
    GroupPanelDropPosition(X, drop, height, pos);
    TGridDataGroupLevelsGx* levels = FDataGrouping->GroupLevels();
    TGridDataGroupLevelGx* before = FDataGrouping->ActiveGroupLevel(drop);
    const int at = before ? before->Index() : levels->Count();
    levels->BeginUpdate();
    TGridDataGroupLevelGx* level = levels->Add();
    level->SetColumn(Column);
    levels->Move(levels->Count() - 1, at);
    levels->EndUpdate();
    Column->SetVisible(false);
}

void TCustomDBGridGx::GroupPanelTitleClick()
{
    SetMouseCapture(false);
    const int index = FPressedDataGroupLevelIdx;
    const bool wasDown = FDBGridGxState == dgsGroupPanelTitleDown;
    FDBGridGxState = dgsNormal;
    FPressedInBox = FPressed;
    FPressed = false;
    FPressedDataGroupLevelIdx = -1;
    TGridDataGroupLevelGx* level = FDataGrouping->ActiveGroupLevel(index);
    OutBoundaryData()->InvalidateOutBoundary(cbtTopGx);
    if (!wasDown || !level || !FPressedInBox)
        return;
    TitleBtnClick(level->Column()->Index() + FIndicatorOffset, level->Column());
    level->SetSortOrder(level->SortOrder() == soAscGx ? soDescGx : soAscGx);
    if (FCurGroupDataNode)
        GotoVisibleGroupNode(FCurGroupDataNode, false);
}

bool TCustomDBGridGx::GroupPanelMouseMove(TShiftState Shift, int X, int Y)
{
    if (FDBGridGxState == dgsGroupPanelTitleMoving) {
        GroupPanelTitleMoving(Shift, X, Y);
        return true;
    }
    if (FDBGridGxState == dgsGroupPanelTitleDown) {
        // A press that moves more than 3 pixels drags the box.
        if (std::abs(X - FDownMousePos.X) > 3 || std::abs(Y - FDownMousePos.Y) > 3) {
            StartGroupPanelTitleMoving(FPressedDataGroupLevelIdx, X, Y);
        } else if (TGridDataGroupLevelGx* level = FDataGrouping->ActiveGroupLevel(FPressedDataGroupLevelIdx)) {
            FPressed = PointInRect(TPoint(X, Y), level->GroupPanelRect);
            OutBoundaryData()->InvalidateOutBoundary(cbtTopGx);
        }
        return true;
    }
    return false;
}

bool TCustomDBGridGx::GroupPanelMouseUp(int X, int Y)
{
    if (FDBGridGxState == dgsGroupPanelTitleDown)
        if (TGridDataGroupLevelGx* level = FDataGrouping->ActiveGroupLevel(FPressedDataGroupLevelIdx))
            FPressed = PointInRect(TPoint(X, Y), level->GroupPanelRect);
    if (FDBGridGxState == dgsGroupPanelTitleMoving) {
        EndGroupPanelTitleMoving(Y < OutBoundaryData()->TopIndent(), X, Y);
        return true;
    }
    if (FDBGridGxState == dgsGroupPanelTitleDown) {
        GroupPanelTitleClick();
        return true;
    }
    return false;
}

bool TCustomDBGridGx::EndColumnDrag(int& Origin, int& Destination, const TPoint& MousePt)
{
    const bool result = TCustomGridGx::EndColumnDrag(Origin, Destination, MousePt);
    if (FGroupDataMovingIndex >= 0) {
        // A level box dragged out of the panel: the level goes, its column comes back.
        const int index = FGroupDataMovingIndex;
        FGroupDataMovingIndex = -1;
        if (TGridDataGroupLevelGx* level = FDataGrouping->ActiveGroupLevel(index)) {
            TColumnGx* column = level->Column();
            FDataGrouping->GroupLevels()->Delete(level->Index());
            if (column)
                column->SetVisible(true);
        }
        return result;
    }
    // A column title dropped on the grouping panel groups by that column.
    if (FDataGrouping->GroupPanelVisible() && MousePt.Y >= 0 && MousePt.Y < OutBoundaryData()->TopIndent()) {
        if (TColumnGx* column = ColumnAtRaw(Origin))
            AddGroupLevelForColumn(column, MousePt.X);
        return false;
    }
    return result;
}

bool TCustomDBGridGx::GroupRowMouseDown(int X, int Y, int DataCol)
{
    if (!FDataGrouping->IsGroupingWorks())
        return false;
    if (GroupNodeMouseDown(X, Y, false))
        return true;
    const TGridCoord cell = MouseCoord(X, Y);
    TGroupDataTreeNodeGx* node = GroupNodeAtDataRow(cell.Y - TopDataOffset());
    if (!node)
        return false;
    FDataLink->UpdateRecord();
    GotoGroupNode(node, false);
    if (node->NodeType() == dntDataSetRecordGx && DataCol >= 0 && DataCol < FColumns->Count())
        SelectColumnIndex(DataCol, 0, false);
    return true;
}
