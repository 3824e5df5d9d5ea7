// Cell hints and tool tips of the data grid: the pause before a hint, the full
// text of a title, data or footer cell that does not fit shown exactly over the
// cell in the cell's font, a title's own hint text, and the data-hint events.
#include "DBGridGx.h"

#include "DBGridGxCells.h"
#include "DBGridGxColumns.h"
#include "DBGridGxHeadTree.h"
#include "DBGridGxParts.h"
#include "DBGridGxPaintText.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"

#include <QFontMetrics>
#include <QToolTip>
#include <algorithm>

namespace {

// The short part of a hint: the text before a "|".
QString ShortHint(const QString& hint)
{
    const int bar = int(hint.indexOf(QLatin1Char('|')));
    return bar < 0 ? hint : hint.left(bar);
}

QSize MeasureHintText(const TFont& font, const QString& text, bool wordWrap, int width)
{
    const QFontMetrics metrics(font.toQFont());
    if (!wordWrap) {
        int w = 0;
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (const QString& line : lines)
            w = std::max(w, metrics.horizontalAdvance(line));
        return QSize(w, int(lines.size()) * metrics.height());
    }
    const QRect r = metrics.boundingRect(QRect(0, 0, std::max(1, width), 100000), Qt::TextWordWrap, text);
    return r.size();
}

} // namespace

TFont* TCustomDBGridGx::HintFont()
{
    if (!FHintFont)
        FHintFont = std::make_unique<TFont>();
    return FHintFont.get();
}

// ---------------------------------------------------------------- the text, the fit and the place

namespace {

struct THintLayoutGx {
    QString Text;
    TAlignment Alignment = taLeftJustify;
    bool WordWrap = false;
    bool Vertical = false;
    bool ForceShow = false;   // image-list and check-box cells never count as fitting
};

} // namespace

// Whether the text needs a hint in the area, and where the hint goes (client
// coordinates): over the text as the cell draws it, so that it seems to extend the cell.
static bool FitAndPlaceHint(bool Flat, const TFont& Font, const THintLayoutGx& L, const TRect& Area, int RightLimit,
                            TPoint& Pos, int& MaxWidth)
{
    const int areaWidth = Area.Right - Area.Left;
    const int areaHeight = Area.Bottom - Area.Top;
    const int wrapWidth = areaWidth - 4;
    QSize size = L.Vertical ? MeasureHintText(Font, L.Text, false, areaHeight).transposed()
                            : MeasureHintText(Font, L.Text, L.WordWrap, wrapWidth);
    const int interline = Flat ? 2 : 4;
    const bool tooWide = size.width() > areaWidth - 2 - (L.WordWrap ? 2 : 0);
    const bool tooHigh = size.height() > areaHeight - interline + 1;
    const bool cut = L.Alignment == taRightJustify && Area.Right < RightLimit - 2;
    if (!(L.ForceShow || tooWide || tooHigh || cut))
        return false;
    const int d = Flat ? 2 : 1;
    const int textWidth = size.width();
    switch (L.Alignment) {
    case taRightJustify:
        Pos = TPoint(RightLimit - textWidth - 6, Area.Top - d);
        break;
    case taCenter:
        Pos = TPoint(RightLimit + textWidth / 2 - textWidth - (RightLimit - Area.Left - 4) / 2 - 5, Area.Top - d);
        break;
    default:
        Pos = TPoint(Area.Left - 1, Area.Top - d);
        break;
    }
    if (L.WordWrap)
        MaxWidth = wrapWidth;
    return true;
}

// ---------------------------------------------------------------- the pause

int TCustomDBGridGx::CMHintShowPause(const TPoint& CursorPos, int HintPause)
{
    const TGridCoord cell = MouseCoord(CursorPos.X, CursorPos.Y);
    TColumnGx* column = ColumnAtRaw(cell.X);
    if (!column || cell.Y < 0)
        return HintPause;
    const TRect cellRect = CellRect(cell.X, cell.Y);
    const TPoint inCell(CursorPos.X - cellRect.Left, CursorPos.Y - cellRect.Top);
    bool processed = false;
    int pause = HintPause;
    if (OnHintShowPause)
        OnHintShowPause(this, CursorPos, cell, inCell, column, pause, processed);
    if (!processed && column->OnHintShowPause)
        column->OnHintShowPause(column, CursorPos, cell, inCell, pause, processed);
    if (processed)
        return pause;
    int dataCol = 0, dataRow = 0;
    const TCellKindGx kind = GetCellType(cell.X, cell.Y, dataCol, dataRow);
    if (kind.RowKind == crkFooterGx && FFooterRowCount > 0) {
        TColumnFooterGx* footer = column->UsedFooter(dataRow);
        return footer && footer->ToolTips() ? 0 : HintPause;
    }
    if (kind.RowKind == crkDataGx && FDataLink->Active())
        return column->ToolTips() ? 0 : HintPause;
    if (kind.RowKind == crkTitleGx && HasTitles() && cell.Y == 0)
        return column->Title()->ToolTips() && column->Title()->Hint().isEmpty() ? 0 : HintPause;
    return HintPause;
}

// ---------------------------------------------------------------- the hint

bool TCustomDBGridGx::CMHintShow(const TPoint& CursorPos, TGridHintInfoGx& Info)
{
    // The class library's part: the control's own hint over the client area.
    Info = TGridHintInfoGx();
    Info.HintStr = ShortHint(Hint());
    Info.CursorRect = ClientRect();
    Info.HintPos = ClientToScreen(TPoint(CursorPos.X, CursorPos.Y + 20));
    const TGridCoord cell = MouseCoord(CursorPos.X, CursorPos.Y);
    TColumnGx* column = ColumnAtRaw(cell.X);
    if (!column || cell.Y < 0)
        return !Info.HintStr.isEmpty();
    int dataCol = 0, dataRow = 0;
    const TCellKindGx kind = GetCellType(cell.X, cell.Y, dataCol, dataRow);
    const bool titleRow = kind.RowKind == crkTitleGx && HasTitles() && cell.Y == 0;
    TRect area = CellRect(cell.X, cell.Y);
    // A title's own hint text.
    if (titleRow && !column->Title()->Hint().isEmpty()) {
        Info.HintStr = ShortHint(column->Title()->Hint());
        Info.CursorRect = area;
        return true;
    }
    if (MouseCapture() || CurrentShiftState().contains(ssCtrl))
        return !Info.HintStr.isEmpty();
    const TPoint cellOrigin(area.Left, area.Top);
    if (RowPanelActive()) {
        column = GetColumnInRowPanelAtPos(CursorPos, titleRow);
        if (!column)
            return !Info.HintStr.isEmpty();
        const TColumnGx::TInRowPanelPlacement& p = column->RowPlacement();
        area = TRect(p.Left, p.Top, p.Left + p.Width, p.Top + p.Height);
        OffsetRect(area, cellOrigin.X - DataOffset().cx, cellOrigin.Y);
    }
    TFont* hintFont = HintFont();
    int rightLimit = area.Left + column->Width();
    THintLayoutGx layout;
    if (titleRow) {
        if (!column->Title()->ToolTips())
            return false;
        const int sortWidth = column->Title()->GetSortMarkingWidth();
        if (sortWidth > 2) {
            area.Right -= sortWidth - 2;
            rightLimit -= sortWidth - 2;
        }
        if (IsUseMultiTitle() && dataCol >= 0 && dataCol < int(FLeafFieldArr.size()) && FLeafFieldArr[size_t(dataCol)].FLeaf) {
            THeadTreeNode* leaf = FLeafFieldArr[size_t(dataCol)].FLeaf;
            layout.Text = leaf->Text;
            area.Top = area.Bottom - leaf->Height + 1;
            if (CursorPos.Y < area.Top)
                return false;
        } else {
            layout.Text = column->Title()->Caption();
        }
        layout.WordWrap = FUseMultiTitle || FTitleHeight != 0 || FTitleLines != 0;
        layout.Alignment = column->Title()->Alignment();
        layout.Vertical = column->Title()->Orientation() == tohVertical;
        hintFont->Assign(*column->Title()->Font());
    } else if (kind.RowKind == crkDataGx && FDataLink->Active()) {
        // The row-detail panel open under this row is no part of the cell.
        if (FRowDetailPanel->Visible() && FDataLink->ActiveRecord() == dataRow)
            area.Bottom = std::min(area.Bottom, area.Top + FStdDefaultRowHeight);
        TDBGridGxDataHintParams params;
        params.HintPos = CursorPos;
        params.HintColor = Info.HintColor;
        params.CursorRect = area;
        params.HintFont = hintFont;
        hintFont->Assign(*Font());
        bool processed = false;
        SelectDrawRecord(dataRow);
        struct Restore {
            TCustomDBGridGx* grid;
            ~Restore() { grid->RestoreDrawRecord(); }
        } restore{this};
        if (OnDataHintShow)
            OnDataHintShow(this, CursorPos, cell, TPoint(CursorPos.X - cellOrigin.X, CursorPos.Y - cellOrigin.Y), column,
                           params, processed);
        if (!processed && column->OnDataHintShow)
            column->OnDataHintShow(column, CursorPos, cell,
                                   TPoint(CursorPos.X - cellOrigin.X, CursorPos.Y - cellOrigin.Y), params, processed);
        if (!processed) {
            if (!column->ToolTips())
                return !Info.HintStr.isEmpty();
            DefaultFillDataHintShowInfo(CursorPos, cell, TPoint(CursorPos.X - cellOrigin.X, CursorPos.Y - cellOrigin.Y),
                                        column, params);
        }
        Info.CursorRect = params.CursorRect;
        Info.HintPos = ClientToScreen(params.HintPos);
        Info.HintMaxWidth = params.HintMaxWidth;
        Info.HintColor = params.HintColor;
        Info.ReshowTimeout = params.ReshowTimeout;
        Info.HideTimeout = params.HideTimeout;
        Info.HintStr = params.HintStr;
        Info.ToolTip = true;
        return !Info.HintStr.isEmpty();
    } else if (kind.RowKind == crkFooterGx && FFooterRowCount >= 1 && column->UsedFooter(dataRow) &&
               column->UsedFooter(dataRow)->ToolTips()) {
        TColumnFooterGx* footer = column->UsedFooter(dataRow);
        hintFont->Assign(*footer->Font());
        layout.WordWrap = footer->WordWrap();
        layout.Alignment = footer->Alignment();
        layout.Text = GetFooterValue(dataRow, column);
        TColor background = footer->Color();
        GetFooterParams(dataCol, dataRow, column, hintFont, background, layout.Alignment, TGridDrawState(), layout.Text);
    } else {
        return false;
    }
    TPoint pos;
    int maxWidth = 0;
    if (!FitAndPlaceHint(Flat(), *hintFont, layout, area, rightLimit, pos, maxWidth)) {
        Info.HintStr.clear();
        return false;
    }
    Info.HintStr = layout.Text;
    Info.CursorRect = area;
    Info.HintPos = ClientToScreen(pos);
    Info.HintMaxWidth = maxWidth;
    Info.ToolTip = true;
    return true;
}

void TCustomDBGridGx::DefaultFillDataHintShowInfo(TPoint CursorPos, TGridCoord Cell, TPoint, TColumnGx* Column,
                                                  TDBGridGxDataHintParams& Params)
{
    THintLayoutGx layout;
    layout.Text = GetColumnHintText(Column);
    TRect area = Params.CursorRect;
    int rightLimit;
    if (Column->AlwaysShowEditButton()) {
        rightLimit = area.Left + Column->Width() - Column->EditButtonsWidth();
        area.Right = std::min(area.Right, rightLimit);
        if (CursorPos.X > area.Right)
            layout.Text.clear();
    } else {
        rightLimit = area.Left + Column->Width();
    }
    if (FVisibleColumns.Count() > 0 && FVisibleColumns[0] == Column)
        area.Left += GetCellTreeElmentsAreaWidth() + (FRowDetailPanel->Active() ? 18 : 0);
    if (Column->ShowImageAndText() && Column->ImageList())
        area.Left += Column->ImageList()->Width() + 5;
    const TColumnGxType type = Column->GetColumnType();
    const bool imageOrCheck = type == ctKeyImageList || type == ctCheckboxes;
    layout.Alignment = imageOrCheck ? taLeftJustify : Column->Alignment();
    layout.WordWrap = Column->WordWrap() && Column->CurLineWordWrap(RowHeights(Cell.Y));
    layout.ForceShow = imageOrCheck;
    TFont* hintFont = Params.HintFont ? Params.HintFont : HintFont();
    hintFont->Assign(*Column->Font());
    TColCellParamsGx& params = FColCellParamsGx;
    Column->FillColCellParams(params);
    params.Background = Color();
    params.Font = hintFont;
    params.State = 0;
    params.Alignment = layout.Alignment;
    params.Text = layout.Text;
    params.Col = Cell.X;
    params.Row = Cell.Y;
    TColor background = params.Background;
    GetCellParams(Column, hintFont, background, TGridDrawState());
    params.Background = background;
    if (Column->OnGetCellParams)
        Column->OnGetCellParams(Column, false, params);
    layout.Text = params.Text;
    layout.Alignment = params.Alignment;
    Params.HintStr.clear();
    if (layout.Text.isEmpty())
        return;
    TPoint pos;
    int maxWidth = 0;
    if (!FitAndPlaceHint(Flat(), *hintFont, layout, area, rightLimit, pos, maxWidth))
        return;
    Params.HintStr = layout.Text;
    Params.CursorRect = area;
    Params.HintPos = pos;
    if (layout.WordWrap)
        Params.HintMaxWidth = maxWidth;
}

QString TCustomDBGridGx::GetColumnHintText(TColumnGx* Column)
{
    TField* field = Column->Field();
    if (!field)
        return QString();
    const TColumnGxType type = Column->GetColumnType();
    if (type == ctKeyImageList || type == ctCheckboxes) {
        int index;
        if (type == ctKeyImageList)
            index = int(Column->KeyList().indexOf(field->Text()));
        else
            index = int(Column->GetCheckboxState());
        const QStringList& picks = Column->PickList();
        return index >= 0 && index < picks.size() ? picks.at(index) : QString();
    }
    return Column->DisplayText();
}

// ---------------------------------------------------------------- showing it

bool TCustomDBGridGx::HintAt(const TPoint& p, QString& text, TRect& area)
{
    if (!ShowHint())
        return false;
    TGridHintInfoGx info;
    if (!CMHintShow(p, info) || info.HintStr.isEmpty())
        return false;
    text = info.HintStr;
    area = info.CursorRect;
    if (info.ToolTip) {
        // The tool tip shows over the cell in the hint font; the caller shows nothing more.
        const QFont f = HintFont()->toQFont();
        const QString styled =
            QStringLiteral("<span style=\"font-family:'%1'; font-size:%2pt; white-space:%3\">%4</span>")
                .arg(f.family())
                .arg(f.pointSizeF())
                .arg(info.HintMaxWidth > 0 ? QStringLiteral("normal") : QStringLiteral("pre"))
                .arg(info.HintStr.toHtmlEscaped());
        // Shown here at its place; the caller's showing of the same text leaves it there.
        QToolTip::showText(QPoint(info.HintPos.X, info.HintPos.Y), styled, this, info.CursorRect.toQRect());
        text = styled;
    }
    return true;
}

void TCustomDBGridGx::HintMouseMoved(int X, int Y)
{
    if (!ShowHint())
        return;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X == FHintCell.X && cell.Y == FHintCell.Y)
        return;
    FHintCell = cell;
    if (cell.X < 0 || cell.Y < 0 || CMHintShowPause(TPoint(X, Y)) != 0) {
        return;
    }
    QString text;
    TRect area;
    HintAt(TPoint(X, Y), text, area);
}
