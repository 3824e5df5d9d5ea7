#pragma once
// TCustomGridGx: the base of every grid of the library. A custom-drawn table of
// cells addressed by column and row, with four kinds of lines on each axis:
//   true fixed   0 .. Fixed - Frozen - 1        titles / indicator, never scroll
//   frozen       Fixed - Frozen .. Fixed - 1    data lines that never scroll
//   scrolling    Fixed .. Count - 1             the first shown one is TopLeft
//   contra       Count .. Count + Contra - 1    anchored at the far edge
// and out-of-boundary margins at the four client edges. The grid holds no cell
// content: descendants draw cells (DrawCell) and give edit texts.
//
// Geometry is computed afresh into a TGridLayoutGx for each operation. Scrolling
// is by whole lines, or by pixels on an axis whose IsSmooth...Scroll answers true.
// Right-to-left reading and the form designer are not supported by this grid.
#include "platform/gui/ControlBase.h"
#include "platform/gui/StringGrid.h"
#include "platform/rtl/Exceptions.h"

#include <QLineEdit>
#include <QPointer>
#include <vector>

class TCustomGridGx;
class TInplaceEdit;
class TGridLinesCacheGx;

DPX_EXCEPTION(EInvalidGridOperationGx, Exception)
[[noreturn]] void RaiseGridError(const QString& Text);

// Grid option past the string grid's ones: vertical lines continue below the
// last row as fading lines.
constexpr TGridOption goExtendVertLines = TGridOption(1u << 15);
constexpr TGridOptions DefaultGridOptionsGx = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
enum TGridBorderStyleGx { bsNoneGx, bsSingleGx };
enum TCornerDrawPriorityGx { crpHorizontalDataPriorityGx = 0, crpVerticalDataPriorityGx = 1 };
enum TCellBorderTypeGx { cbtLeftGx, cbtTopGx, cbtRightGx, cbtBottomGx };
// Directions of MoveAnchorBy.
enum : int { gmdLeftGx = 1, gmdRightGx = 2, gmdUpGx = 4, gmdDownGx = 8 };

// Extents array: empty (every line default), or element 0 = count N and
// elements 1..N the values of lines 0..N-1.
using TIntegerArray = std::vector<int>;
constexpr int MaxExtentsCountGx = 0x7FFFFFE;

void ResizeExtents(TIntegerArray& Extents, int Index, int Amount, int Default);
void SetExtentsCount(TIntegerArray& Extents, int NewCount, int Default);
void MoveExtentItem(TIntegerArray& Extents, int FromIndex, int ToIndex);
bool SameExtents(const TIntegerArray& A, const TIntegerArray& B);
// The moved index becomes To; an index between From and To moves one step towards From.
int ShiftIndexOnMove(int Index, int From, int To);

// Time of a mouse message in milliseconds (a monotonic clock; never 0).
int GridMessageTime();
// A timer interval the window system can keep: at least 10 ms (0 would busy-loop).
inline int GridTimerInterval(int ms) { return ms < 10 ? 10 : ms; }
// Interval of the column-move auto-scroll timer while the mouse is beyond an edge
// of the data area. EdgeX is the screen x of that edge, RoomX the screen x of the
// monitor work area's edge on the same side, MouseX the screen x of the mouse.
// Never below 60 ms.
int ColMoveScrollInterval(int EdgeX, int RoomX, int MouseX, bool LeftSide);

// One axis of the computed layout (columns described; rows alike).
struct TAxisLayoutGx {
    int LineWidth = 0;
    int NearIndent = 0, FarIndent = 0;
    int FixedCount = 0, FrozenCount = 0, ContraCount = 0;
    int FirstDataLine = 0, LineCount = 0, FullCount = 0;
    int FixedEnd = 0, FrozenStart = 0, PixelOffset = 0, DataStart = 0;
    int ClientSize = 0, FarLimit = 0, ContraStart = 0, DataLimit = 0;
    int DataEnd = 0, LastWholeLine = 0, LastWholeEnd = 0, AreaEnd = 0;
    const TIntegerArray* Extents = nullptr;
    int DefaultSize = 0;
    int SizeOf(int Line) const
    {
        if (!Extents || Extents->empty() || Line < 0 || Line >= (*Extents)[0]) return DefaultSize;
        return (*Extents)[Line + 1];
    }
};
struct TGridLayoutGx {
    TAxisLayoutGx Horz, Vert;
};

// Margins outside the cells at the four client edges.
class TGridOutBoundaryDataGx {
public:
    explicit TGridOutBoundaryDataGx(TCustomGridGx* Grid) : FGrid(Grid) {}
    int LeftIndent() const { return FLeftIndent; }
    int TopIndent() const { return FTopIndent; }
    int RightIndent() const { return FRightIndent; }
    int BottomIndent() const { return FBottomIndent; }
    void SetLeftIndent(int Value);
    void SetTopIndent(int Value);
    void SetRightIndent(int Value);
    void SetBottomIndent(int Value);
    TCornerDrawPriorityGx LeftTopDrawPriority() const { return FLeftTopDrawPriority; }
    TCornerDrawPriorityGx RightTopDrawPriority() const { return FRightTopDrawPriority; }
    TCornerDrawPriorityGx LeftBottomDrawPriority() const { return FLeftBottomDrawPriority; }
    TCornerDrawPriorityGx RightBottomDrawPriority() const { return FRightBottomDrawPriority; }
    void SetLeftTopDrawPriority(TCornerDrawPriorityGx Value);
    void SetRightTopDrawPriority(TCornerDrawPriorityGx Value);
    // Stores without comparing and without notifying the grid.
    void SetLeftBottomDrawPriority(TCornerDrawPriorityGx Value) { FLeftBottomDrawPriority = Value; }
    void SetRightBottomDrawPriority(TCornerDrawPriorityGx Value);
    bool GetOutBoundaryRect(TRect& ARect, TCellBorderTypeGx OutBoundaryType) const;
    void InvalidateOutBoundary(TCellBorderTypeGx OutBoundaryType);

private:
    void Changed();
    int FLeftIndent = 0, FTopIndent = 0, FRightIndent = 0, FBottomIndent = 0;
    TCornerDrawPriorityGx FLeftTopDrawPriority = crpHorizontalDataPriorityGx;
    TCornerDrawPriorityGx FRightTopDrawPriority = crpHorizontalDataPriorityGx;
    TCornerDrawPriorityGx FLeftBottomDrawPriority = crpHorizontalDataPriorityGx;
    TCornerDrawPriorityGx FRightBottomDrawPriority = crpHorizontalDataPriorityGx;
    TCustomGridGx* FGrid;
};

// The colours of the grid lines; every colour left at clDefault takes its default.
class TGridLineColorsGx {
public:
    explicit TGridLineColorsGx(TCustomGridGx* Grid) : FGrid(Grid) {}
    virtual ~TGridLineColorsGx() = default;
    TCustomGridGx* Grid() const { return FGrid; }

#define DPX_GRID_LINE_COLOR(Name)                                                     \
    TColor Name() { return Get##Name(); }                                             \
    void Set##Name(TColor Value) { F##Name = Value; Changed(); }
    DPX_GRID_LINE_COLOR(BrightColor)
    DPX_GRID_LINE_COLOR(DarkColor)
    DPX_GRID_LINE_COLOR(DataHorzColor)
    DPX_GRID_LINE_COLOR(DataVertColor)
    DPX_GRID_LINE_COLOR(FixedHorzColor)
    DPX_GRID_LINE_COLOR(FixedVertColor)
    DPX_GRID_LINE_COLOR(HorzAreaContraBorderColor)
    DPX_GRID_LINE_COLOR(HorzAreaContraHorzColor)
    DPX_GRID_LINE_COLOR(HorzAreaContraVertColor)
    DPX_GRID_LINE_COLOR(HorzAreaFrozenBorderColor)
    DPX_GRID_LINE_COLOR(HorzAreaFrozenHorzColor)
    DPX_GRID_LINE_COLOR(HorzAreaFrozenVertColor)
    DPX_GRID_LINE_COLOR(VertAreaContraBorderColor)
    DPX_GRID_LINE_COLOR(VertAreaContraHorzColor)
    DPX_GRID_LINE_COLOR(VertAreaContraVertColor)
    DPX_GRID_LINE_COLOR(VertAreaFrozenBorderColor)
    DPX_GRID_LINE_COLOR(VertAreaFrozenHorzColor)
    DPX_GRID_LINE_COLOR(VertAreaFrozenVertColor)
#undef DPX_GRID_LINE_COLOR

    virtual TColor GetDarkColor();
    virtual TColor GetBrightColor();
    virtual TColor GetCellColor(int ACol, int ARow);
    virtual TColor GetLeftBorderCellColor(int ACol, int ARow);
    virtual TColor GetTopBorderCellColor(int ACol, int ARow);
    virtual TColor GetRightBorderCellColor(int ACol, int ARow);
    virtual TColor GetDownBorderCellColor(int ACol, int ARow);
    virtual TColor GetFixedVertColor();
    virtual TColor GetFixedHorzColor();
    virtual TColor GetVertAreaFrozenVertColor();
    virtual TColor GetVertAreaFrozenHorzColor();
    virtual TColor GetHorzAreaFrozenVertColor();
    virtual TColor GetHorzAreaFrozenHorzColor();
    virtual TColor GetVertAreaFrozenBorderColor();
    virtual TColor GetHorzAreaFrozenBorderColor();
    virtual TColor GetDataVertColor();
    virtual TColor GetDataHorzColor();
    virtual TColor GetVertAreaContraVertColor();
    virtual TColor GetVertAreaContraHorzColor();
    virtual TColor GetHorzAreaContraVertColor();
    virtual TColor GetHorzAreaContraHorzColor();
    virtual TColor GetVertAreaContraBorderColor();
    virtual TColor GetHorzAreaContraBorderColor();

protected:
    void Changed();
    TColor Stored(TColor Value, TColor Default) const { return Value == clDefault ? Default : Value; }
    TCustomGridGx* FGrid;
    TColor FBrightColor = clDefault, FDarkColor = clDefault, FDataHorzColor = clDefault,
           FDataVertColor = clDefault, FFixedHorzColor = clDefault, FFixedVertColor = clDefault,
           FHorzAreaContraBorderColor = clDefault, FHorzAreaContraHorzColor = clDefault,
           FHorzAreaContraVertColor = clDefault, FHorzAreaFrozenBorderColor = clDefault,
           FHorzAreaFrozenHorzColor = clDefault, FHorzAreaFrozenVertColor = clDefault,
           FVertAreaContraBorderColor = clDefault, FVertAreaContraHorzColor = clDefault,
           FVertAreaContraVertColor = clDefault, FVertAreaFrozenBorderColor = clDefault,
           FVertAreaFrozenHorzColor = clDefault, FVertAreaFrozenVertColor = clDefault;
};

// Cell click event: the cell, button, shift and the point relative to the cell.
using TGridGxCellMouseEvent =
    std::function<void(QObject* Sender, TGridCoord Cell, TMouseButton Button, TShiftState Shift, int X, int Y)>;

class TCustomGridGx : public TCustomControl {
public:
    explicit TCustomGridGx(QWidget* parent = nullptr);
    ~TCustomGridGx() override;

    // ---- model --------------------------------------------------------------------------
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    int FrozenColCount() const { return FFrozenColCount; }
    void SetFrozenColCount(int Value);
    int FrozenRowCount() const { return FFrozenRowCount; }
    void SetFrozenRowCount(int Value);
    int ContraColCount() const { return FContraColCount; }
    void SetContraColCount(int Value);
    int ContraRowCount() const { return FContraRowCount; }
    void SetContraRowCount(int Value);
    int FullColCount() const { return FColCount + FContraColCount; }
    int FullRowCount() const { return FRowCount + FContraRowCount; }
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    int ColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    bool TabStops(int Index) const;
    void SetTabStops(int Index, bool Value);
    const TIntegerArray& ColWidthsArray() const { return FColWidths; }
    const TIntegerArray& RowHeightsArray() const { return FRowHeights; }
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    bool HasOption(TGridOptions o) const { return (FOptions & o) != 0; }
    TGridOptions DesignOptionsBoost = goRowSizing | goColSizing | goColMoving;
    bool VirtualView = false;
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; InvalidateWholeGrid(); }
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TColor FixedLineColor() const { return FFixedLineColor; }
    TGridBorderStyleGx BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TGridBorderStyleGx Value);
    TScrollStyle ScrollBarsStyle() const { return FScrollBars; }
    void SetScrollBarsStyle(TScrollStyle Value);
    bool SaveCellExtents() const { return FSaveCellExtents; }
    void SetSaveCellExtents(bool Value) { FSaveCellExtents = Value; }
    TGridLineColorsGx* GridLineColors() const { return FGridLineColors; }
    TGridOutBoundaryDataGx* OutBoundaryData() const { return FOutBoundaryData; }

    // ---- current cell, selection, top-left ------------------------------------------------
    TGridCoord Current() const { return FCurrent; }
    TGridCoord Anchor() const { return FAnchor; }
    int Col() const { return FCurrent.X; }
    void SetCol(int Value) { SetCurrentCol(Value); }
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value) { SetCurrentRow(Value); }
    void SetCurrentCol(int Value);
    void SetCurrentRow(int Value);
    TGridCoord TopLeft() const { return FTopLeft; }
    int LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value) { SetTopLeftCell(Value, FTopLeft.Y); }
    int TopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value) { SetTopLeftCell(FTopLeft.X, Value); }
    TSize DataOffset() const { return FDataOffset; }
    TSize DataPageSize() const { return FDataPageSize; }
    TSize GridDataSize() const { return FGridDataSize; }
    TPoint SmoothPos() const { return FSmoothPos; }
    TGridRect Selection() const;
    void SetSelection(const TGridRect& Value);
    void SetCurrentCell(int ACol, int ARow, bool ShowVert, bool ShowHorz, bool MoveAnchor);
    // The data grid's name for it: makes a cell current and scrolls it into view.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) { SetCurrentCell(ACol, ARow, Show, Show, MoveAnchor); }
    void SetAnchorCell(const TGridCoord& Coord, bool Show);
    void SetTopLeftCell(int ALeft, int ATop);
    void ScrollCellIntoView(const TGridCoord& Coord, bool Horz, bool Vert);
    void ScrollDataPixels(int DX, int DY);
    void ScrollData(int DX, int DY) { ScrollDataPixels(DX, DY); }
    void ResetCells();

    // ---- geometry -----------------------------------------------------------------------------
    TGridLayoutGx CalcGridLayout() const;
    TGridLayoutGx CalcGridLayoutFor(int Width, int Height) const;
    TGridCoord CellAtPoint(int X, int Y, const TGridLayoutGx& Layout) const;
    TGridCoord MouseCoord(int X, int Y) const;
    int LineStart(const TAxisLayoutGx& Axis, int Line) const;
    TRect GridRectToClient(const TGridRect& GridRect, bool IncludeLine, const TGridLayoutGx& Layout) const;
    TRect GridRectToClient(const TGridRect& GridRect, bool IncludeLine) const
    {
        return GridRectToClient(GridRect, IncludeLine, CalcGridLayout());
    }
    TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom) const
    {
        return GridRectToClient({ALeft, ATop, ARight, ABottom}, false);
    }
    TRect CellRect(int ACol, int ARow) const;
    static bool PointInGridRect(int Col, int Row, const TGridRect& Rect);
    static TGridRect GridRectFromCoords(const TGridCoord& A, const TGridCoord& B);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    int GridWidth() const { return CalcGridLayout().Horz.DataEnd; }
    int GridHeight() const { return CalcGridLayout().Vert.DataEnd; }
    TGridCoord LastTopLeft(const TGridCoord& Coord, const TGridLayoutGx& Layout) const;
    TGridCoord LastTopLeft(const TGridCoord& Coord) const { return LastTopLeft(Coord, CalcGridLayout()); }
    TSize LastTopLeftOffset(const TGridCoord& Coord, const TGridLayoutGx& Layout) const;

    // ---- repainting ---------------------------------------------------------------------------
    void InvalidateGridRect(const TGridRect& GridRect);
    void InvalidateGridCell(int ACol, int ARow);
    void InvalidateGridCol(int ACol);
    void InvalidateGridRow(int ARow);
    void InvalidateCell(int ACol, int ARow) { InvalidateGridCell(ACol, ARow); }
    void InvalidateCol(int ACol) { InvalidateGridCol(ACol); }
    void InvalidateRow(int ARow) { InvalidateGridRow(ARow); }
    void InvalidateWholeGrid();
    void LockPaint() { ++FLockPaint; }
    void UnlockPaint() { if (FLockPaint > 0) --FLockPaint; }
    bool PaintLocked() const { return FLockPaint > 0; }

    // ---- structure ----------------------------------------------------------------------------
    void MoveColumnLine(int FromIndex, int ToIndex);
    void MoveRowLine(int FromIndex, int ToIndex);
    void UpdateGridDataWidth();
    void UpdateGridDataHeight();
    void UpdateScrollRange() { SyncScrollRanges(); }
    // Sizes as the form stores them: one value per non-contra line; an empty list
    // when the grid does not store sizes or keeps the defaults.
    QList<int> StoredColWidths(const TIntegerArray* Ancestor = nullptr) const;
    QList<int> StoredRowHeights(const TIntegerArray* Ancestor = nullptr) const;
    void LoadColWidths(const QList<int>& Values);
    void LoadRowHeights(const QList<int>& Values);

    // ---- state --------------------------------------------------------------------------------
    TGridState GridState() const { return FGridState; }
    int SizingIndex() const { return FSizingIndex; }
    int SizingPos() const { return FSizingPos; }
    int SizingOfs() const { return FSizingOfs; }
    int MoveIndex() const { return FMoveIndex; }
    int MovePos() const { return FMovePos; }
    bool MovePosRightSite() const { return FMovePosRightSite; }
    TGridCoord HotTrackCell() const { return FHotTrackCell; }
    TPoint HotTrackInCellPos() const { return FHotTrackInCellPos; }
    TGridCoord MouseDownCell() const { return FMouseDownCell; }

    // ---- editor -------------------------------------------------------------------------------
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    int InplaceCol() const { return FInplaceCol; }
    int InplaceRow() const { return FInplaceRow; }
    void ShowEditorChar(QChar Ch);
    // The grid's own key-press handling (the editor calls it first for its keys).
    void DoGridKeyPress(QChar& Key);
    void InvalidateEditor();
    bool IsActiveControl() const;

    TGridGxCellMouseEvent OnCellMouseClick;

    // ---- virtual operations -------------------------------------------------------------------
    virtual void HideMoveLine();
    virtual bool BeginColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
    virtual bool BeginRowDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
    virtual bool CanEditAcceptKey(QChar Key) { return true; }
    virtual bool CanEditModify() { return FCanEditModify; }
    virtual bool CanEditShow();
    virtual bool CanGridAcceptKey(WORD Key, TShiftState Shift) { return true; }
    virtual void CalcEditRect(int ACol, int ARow, TRect& Rect) { Rect = CellRect(ACol, ARow); }
    virtual bool CanCellMouseClick(int X, int Y);
    virtual bool CheckColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
    virtual bool CheckRowDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
    virtual TInplaceEdit* CreateEditor();
    virtual TGridLineColorsGx* CreateGridLineColors();
    virtual bool EndColumnDrag(int& Origin, int& Destination, const TPoint& MousePt);
    virtual bool EndRowDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
    virtual int GetEditLimit() { return 0; }
    virtual QString GetEditMask(int ACol, int ARow) { return QString(); }
    virtual int GetEditorKind() { return 0; }
    virtual QString GetEditText(int ACol, int ARow) { return QString(); }
    virtual int HorzLineScrollStep();
    virtual int VertLineScrollStep();
    virtual bool IsSmoothHorzScroll() { return HasOption(goRowSelect); }
    virtual bool IsSmoothVertScroll() { return false; }
    // A descendant that fills the vertical scroll bar itself (from its data) answers true;
    // the grid then leaves that bar alone.
    virtual bool VertScrollBarFilledElsewhere() const { return false; }
    virtual bool CanHotTrackCell(int ACol, int ARow) { return false; }
    virtual bool SelectCell(int ACol, int ARow) { return true; }
    virtual void InsertOrDeleteLines(int Index, int Amount, bool IsRows);
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                 const TGridLayoutGx& Layout);
    void CancelMode() override;
    virtual void CellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void CheckDrawCellBorder(int ACol, int ARow, TCellBorderTypeGx BorderType, bool& IsDraw,
                                     TColor& BorderColor, bool& IsExtent);
    // Hooks for heirs that keep data per column or row; the base grid keeps none.
    virtual void ColumnMoved(int FromIndex, int ToIndex) {}
    virtual void ColWidthsChanged();
    virtual void CalcSizingLine(const TGridLayoutGx& Layout, int& StartPos, int& EndPos);
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    virtual void DrawOutBoundaryData();
    virtual void DrawOutBoundaryArea(const TRect& ARect);
    virtual void DrawOutBoundarySpare1(const TRect& ARect) { DrawOutBoundaryArea(ARect); }
    virtual void DrawOutBoundarySpare2(const TRect& ARect) { DrawOutBoundaryArea(ARect); }
    virtual void DrawOutBoundarySpare3(const TRect& ARect) { DrawOutBoundaryArea(ARect); }
    virtual void DrawSizingLine(const TGridLayoutGx& Layout);
    // The base grid paints flat or not as it goes; heirs with cached looks refresh here.
    virtual void FlatChanged() {}
    virtual void BorderStyleChanged() { InvalidateWholeGrid(); }
    // Pixels of a border drawn inside the widget on every side: the cells and the margins
    // stay inside it. The base grid draws none.
    virtual int NonClientBorderWidth() const { return 0; }
    virtual void FocusCell(int ACol, int ARow, bool MoveAnchor);
    virtual void HideEditor();
    virtual void OutBoundaryDataChanged() { InvalidateWholeGrid(); }
    virtual void RowHeightsChanged();
    // As ColumnMoved, for rows.
    virtual void RowMoved(int FromIndex, int ToIndex) {}
    virtual void ScrollDataWindow(int DX, int DY);
    virtual void ChangeContraSize(int NewContraColCount, int NewContraRowCount);
    // The base grid holds no cell texts: heirs store what the editor gives.
    virtual void SetEditText(int ACol, int ARow, const QString& Value) {}
    virtual void ShowEditor();
    // Heirs that size their own lists follow a changed count here.
    virtual void SizeChanged(int OldColCount, int OldRowCount) {}
    virtual void MoveAnchorBy(int Directions);
    virtual void TopLeftChanged();
    virtual void UpdateFixedLineColor();
    virtual void UpdateEdit();
    virtual void UpdateText();
    virtual void UpdateHotTrackCell(int X, int Y);
    // A cell click without an event handler does nothing in the base grid.
    virtual void DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, int X, int Y) {}

    // ---- handlers of the control base ---------------------------------------------------------
    UINT GetDlgCode() override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    TCursor CursorAt(int X, int Y) override;
    void DoExit() override;
    void FocusSet() override;
    void FocusKilled() override;
    void Timer(UINT id) override;
    void ScrollBarMessage(int Bar, int ScrollCode, int Pos) override;
    void Resize() override;

    // Scroll-bar handling by code (what the scroll messages call).
    void HandleScrollBar(int Bar, int ScrollCode, int Pos);
    void SyncScrollPositions();
    void SyncScrollRanges();
    // The grid's font changed: the editor takes it too.
    void FontChanged();
    // Starts column moving from code (descendants that start it themselves).
    void StartColumnMove(int AMoveIndex, int X, int Y, const TGridLayoutGx& Layout);

    // Drawing services for descendants.
    void DrawPolyline(const TPoint* Points, int HighIndex);
    void DrawPolyPolyline(const TPoint* Points, const int* Strokes, int PointCount);
    void DrawCellFrame(const TRect& Rect, bool RightSide, bool LeftSide, bool Pressed, bool Down);
    TClipRegion ClipRectSave(const TRect& R);
    void ClipRestore(const TClipRegion& Saved);

protected:
    void Paint() override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

    // Layout passes.
    void CalcAxisLayout(TAxisLayoutGx& A, bool IsRows, int Size) const;
    // Pixel-scroll bookkeeping of a size change of one line.
    void GridDataWidthChanged(int Index, int OldSize, int NewSize);
    void GridDataHeightChanged(int Index, int OldSize, int NewSize);
    void AfterTopLeftMove(const TGridCoord& OldTopLeft, const TSize& OldOffset);
    void ShiftTopLeftByPixels(int DX, int DY);
    void RepaintSelectionChange(const TGridRect& OldSelection);
    void ChangeGridSize(int NewColCount, int NewRowCount);
    void SetCountInternal(bool IsRows, int Value);
    void MoveLineInternal(bool IsRows, int FromIndex, int ToIndex);

    // Painting helpers.
    struct TDrawLinesInfoGx {
        std::vector<TPoint> PointsList;
        std::vector<int> StrokeList;
        int MaxStroke = 0, LastCol = 0, LastRow = 0;
        TColor VertColor = clBlack, HorzColor = clBlack;
    };
    void DrawAreaLines(const TGridLayoutGx& L, const TRect& Area, int FirstCol, int FirstRow, bool HorzOption,
                       bool VertOption, TColor Background, TColor LineColor);
    void DrawBorderLine(int X1, int Y1, int X2, int Y2, TColor Color);
    void DrawCellsArea(const TGridLayoutGx& L, int FirstCol, int FirstRow, int StartX, int StartY, int StopX,
                       int StopY, TGridDrawState BaseState, TColor AreaColor, bool Contra);
    void DrawExtendedVertLines(const TGridLayoutGx& L, int StartX, int EndX);
    void DrawContraAreas(const TGridLayoutGx& L);
    void DrawContraAreaLines(const TGridLayoutGx& L, const TRect& Area, int FirstCol, int FirstRow,
                             bool HorzOption, bool VertOption, TColor Background, TColor LineColor);
    void FillCanvasRect(const TRect& R, TColor Color);

    // Mouse helpers.
    void MoveAndScroll(int Pos, int CellIndex, const TPoint& MousePt, bool IsRow, const TAxisLayoutGx& Axis,
                       const TGridLayoutGx& Layout);
    void DrawMove(const TGridLayoutGx& Layout);
    bool CalcMoveRightSite(int Pos, int Target, const TGridLayoutGx& Layout) const;
    void StartGridTimer(int ms) { SetTimer(1, GridTimerInterval(ms)); }
    int NewSizeAtMouseUp(const TAxisLayoutGx& Axis, int Index) const;

    // Editor helpers.
    bool EnsureInplaceEdit();
    void LoadInplaceEditor();
    void CloseInplaceEditor();

    // Fields, as the grid declares them.
    TGridCoord FAnchor{};
    TGridBorderStyleGx FBorderStyle = bsSingleGx;
    bool FCanEditModify = true;
    int FColCount = 5;
    int FColOffset = 0;
    TIntegerArray FColWidths;
    int FContraColCount = 0, FContraRowCount = 0;
    TGridCoord FCurrent{};
    int FDefaultColWidth = 64;
    bool FDefaultDrawing = true;
    int FDefaultRowHeight = 24;
    bool FEditorMode = false;
    TColor FFixedColor = clBtnFace;
    int FFixedCols = 1, FFixedRows = 1;
    bool FFlat = false;
    int FFrozenColCount = 0, FFrozenRowCount = 0;
    TGridLineColorsGx* FGridLineColors = nullptr;
    int FGridLineWidth = 1;
    TPoint FHitTest{};
    int FInplaceCol = -1, FInplaceRow = -1;
    QPointer<TInplaceEdit> FInplaceEdit;
    TGridOptions FOptions = DefaultGridOptionsGx;
    int FRowCount = 5;
    TIntegerArray FRowHeights;
    TScrollStyle FScrollBars = TScrollStyle::ssBoth;
    TIntegerArray FTabStops;
    TGridCoord FTopLeft{};
    TGridOutBoundaryDataGx* FOutBoundaryData = nullptr;
    TSize FDataOffset{};
    TSize FDataPageSize{};
    TSize FGridDataSize{};
    TPoint FSmoothPos{};
    TColor FFixedLineColor = clBlack;
    TGridState FGridState = gsNormal;
    int FLockPaint = 0;
    TGridCoord FMouseDownCell{-1, -1};
    bool FSaveCellExtents = true;
    int FSizingIndex = -1, FSizingPos = 0, FSizingOfs = 0;
    TGridCoord FHotTrackCell{-1, -1};
    TPoint FHotTrackInCellPos{-1, -1};
    TGridLinesCacheGx* FGridLinesCache = nullptr;
    int FMoveIndex = -1, FMovePos = -1;
    bool FMovePosRightSite = false;
    bool FMoveScrolled = false;        // the column-move tick scrolled forward
    bool FSyncingRanges = false;
    bool FFocusFromEditor = false;     // the focus comes back from the editor
    TDrawLinesInfoGx FDrawInfo;

    friend class TInplaceEdit;
    friend class TGridOutBoundaryDataGx;
};

// The edit control that the grid places over the current cell.
class TInplaceEdit : public QLineEdit {
public:
    explicit TInplaceEdit(TCustomGridGx* Owner);
    ~TInplaceEdit() override;
    void SetGrid(TCustomGridGx* Grid) { FGrid = Grid; }
    TCustomGridGx* Grid() const { return FGrid; }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    QString EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value);
    QString Text() const { return text(); }
    void SetText(const QString& Value) { setText(Value); }
    void SelectAll() { selectAll(); }
    void Deselect();
    void Invalidate();
    void Hide();
    bool PosEqual(const TRect& Rect) const;
    void InternalMove(const TRect& Loc, bool Redraw);
    void UpdateLoc(const TRect& Loc) { InternalMove(Loc, false); }
    void Move(const TRect& Loc) { InternalMove(Loc, true); }
    bool Visible() const { return isVisible(); }
    void SetFocus();
    bool EditCanModify();
    int FClickTime = 0;

    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void TextBoundsChanged();
    virtual void LoadCellContents();

protected:
    bool event(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void handleKey(QKeyEvent* e);
    // The editor's own part of a key press, after the grid's.
    void EditKeyPress(QChar& Key);
    bool CaretAtLeftEnd() const;
    bool CaretAtRightEnd() const;

    TCustomGridGx* FGrid = nullptr;
    int FMaxLength = 0;
    QString FEditMask;
};

// The popup windows that show where a dragged column will land (move line) and
// what is being dragged (drag box); one of each per process, shared by every grid.
class TGridDragWinGx : public QWidget {
public:
    explicit TGridDragWinGx(QWidget* parent = nullptr);
    int AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(int Value);
    TColor TransparentColorValue() const { return FTransparentColorValue; }
    void SetTransparentColorValue(TColor Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Whether the window system layers windows (transparency and colour keys).
    static bool LayeredWindowsAvailable();
    void ApplyLayeredAttributes();
    void StartShow(QWidget* Control, const TPoint& Pos, int Width, int Height);
    void StartShow(QWidget* Control, const TPoint& Pos, int Height) { StartShow(Control, Pos, width(), Height); }
    void MoveToFor(QWidget* Control, const TPoint& NewPos);
    void MoveToFor(QWidget* Control, const TPoint& NewPos, int NewWidth, int NewHeight);
    bool Visible() const { return isVisible(); }
    void TemporaryHide();
    // Window rectangle on the screen.
    TRect ScreenRect() const { return TRect(geometry()); }

protected:
    void paintEvent(QPaintEvent* e) override;
    int FAlphaBlendValue = 200;
    TColor FTransparentColorValue = 0;
    TColor FColor = cl3DDkShadow;
};

class TGridDragBoxGx : public TGridDragWinGx {
public:
    using TGridDragWinGx::TGridDragWinGx;
};

class TGridMoveLineGx : public TGridDragWinGx {
public:
    explicit TGridMoveLineGx(QWidget* parent = nullptr);
    void StartShow(QWidget* Control, const TPoint& Pos, int Size, bool AIsVert);
    void MoveToFor(QWidget* Control, const TPoint& NewPos);
    bool IsVert() const { return FIsVert; }
    void UpdateOrientationData();
    // The shapes by field name ("sHigh7" ... "hRight7").
    QWidget* Shape(const QString& Name) const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    struct TShape {
        QWidget* W;
        TRect Bounds;
        bool AnchorRight, AnchorBottom, GrowW, GrowH;
        bool Vert;
    };
    std::vector<TShape> FShapes;
    bool FIsVert = true;
};

TGridDragBoxGx* GridDragBox();
TGridMoveLineGx* GridMoveLine();
// Whether the shared windows were created (tests).
bool GridMoveLineExists();
