#pragma once
// TCustomDBGridGx / TDBGridGx: the data grid. The base grid TCustomGridGx shows
// the records of a dataset through the grid's data link; columns bound to fields,
// multi-level titles, footers, a filter row, selections, row panels and data
// groups sit on top.
//
// Names shared with the base grid: Options() and SetOptions() are the data
// grid's option set (the base grid's set stays reachable as
// TCustomGridGx::Options()); Selection() is the data grid's selection object (the
// base grid's cell rectangle is TCustomGridGx::Selection()); DefaultDrawing() is
// the data grid's own switch (the base grid's own default drawing stays off);
// ContraColCount() is the requested number of right-fixed columns (the base grid
// keeps the number the layout could give). Outside Paint, Canvas() is a canvas
// text is measured on; the base grid's figures drawn over the window (sizing and
// move lines) go through TCustomControl::Canvas().
//
// Cell draw states: the events and painters take the base grid's TGridDrawState;
// the cell-parameter record keeps the bits of TGridDrawStateGx
// (ToGridDrawStateGx converts).
#include "DBGridGxCells.h"
#include "DBGridGxColumns.h"
#include "DBGridGxDataLink.h"
#include "DBGridGxHeadTree.h"
#include "DBGridGxIntf.h"
#include "DBGridGxLayoutIni.h"
#include "DBGridGxLocks.h"
#include "DBGridGxPaintScrollBar.h"
#include "DBGridGxSumList.h"
#include "DBGridGxTypes.h"
#include "GridsGx.h"
#include "grid/support/DBCtrlsGx.h"
#include "platform/gui/Canvas.h"
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QScrollBar;
class IMemTableGx;
class TBMListGx;
class TCustomDBGridGx;
class TDBGridGxCenter;
class TDBGridGxIndicatorTitle;
class TDBGridGxScrollBar;
class TDBGridGxSelection;
class TDBGridGxStyle;
class TDBGridGxDataGroupsGx;
class TGridRowPanelGx;
class TRowDetailPanelGx;
class TRowDetailPanelControlGx;
class TSTDBGridGxFilter;
class TImageList;
class TIniFile;
class TRegIniFile;
class TPopupListboxGx;
class TInplaceFilterEditGx;
class TSTColumnFilterGx;
class TStringsGx;

class TGroupDataTreeNodeGx;
class TGridDataGroupLevelGx;
// Not built by this program: the filter-list pieces the grid only refers to.
class TCustomDBEditGx;

// The base grid's draw state as the bits of the cell-parameter record.
TGridDrawStateGx ToGridDrawStateGx(TGridDrawState state);

// A data hint's parameters.
struct TDBGridGxDataHintParams {
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TFont* HintFont = nullptr;
    TRect CursorRect;
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    QString HintStr;
};

// What the grid answers for a hint at a point: the text, the area in which it
// stays valid (client coordinates), where it shows (screen coordinates), and
// whether the grid's tool-tip window shows it in the grid's hint font.
struct TGridHintInfoGx {
    QString HintStr;
    TRect CursorRect;
    TPoint HintPos;
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    bool ToolTip = false;
};

// The class library's pause before a hint shows, in milliseconds.
constexpr int ApplicationHintPauseGx = 500;

// What a title box is painted with.
struct TDBGirdDrawTitleStateGx {
    bool Down = false;
    bool MultyTitle = false;
    bool WordWrap = false;
    bool FilterButtonDown = false;
    bool Highlight = false;
    TTextOrientationGx Orientation = tohHorizontal;
    bool The3DRect = false;
    bool DrawByThemes = false;
    QString Caption;
    TColor BackColor = clBtnFace;
    bool DrawFilterButton = false;
    bool CellMultiSelected = false;
    TSortMarkerGx SortMarker = smNoneGx;
    bool DrawSortIndex = false;
    TFontCharset FontCharset = DEFAULT_CHARSET;
    TColor FontColor = clWindowText;
    int FontSize = 9;
    QString FontName;
    TFontStyles FontStyle = 0;
};

// ---------------------------------------------------------------- events

using TDBGridGxNotifyEvent = std::function<void(TCustomDBGridGx* Sender)>;
using TDBGridGxAdvDrawColumnDataEvent =
    std::function<void(TCustomDBGridGx* Sender, TGridCoord Cell, TGridCoord AreaCell, TColumnGx* Column,
                       const TRect& ARect, TColCellParamsGx& Params, bool& Processed)>;
using TDBGridGxBuildIndicatorTitleMenu = std::function<void(TCustomDBGridGx* Grid, QMenu*& PopupMenu)>;
using TDBGridGxClickEvent = std::function<void(TColumnGx* Column)>;
using TCheckTitleGxBtnEvent = std::function<void(QObject* Sender, int ACol, TColumnGx* Column, bool& Enabled)>;
using TDBGridGxCheckRowHaveDetailPanelEvent = std::function<void(TCustomDBGridGx* Sender, bool& RowHaveDetailPanel)>;
using TMovedEvent = std::function<void(QObject* Sender, int FromIndex, int ToIndex)>;
using TDBGridGxDataGroupGetGroupRowTextEvent =
    std::function<void(TCustomDBGridGx* Sender, TGroupDataTreeNodeGx* GroupDataTreeNode, QString& GroupRowText)>;
using TDBGridGxDataHintShowEvent =
    std::function<void(TCustomDBGridGx* Sender, TPoint CursorPos, TGridCoord Cell, TPoint InCellCursorPos,
                       TColumnGx* Column, TDBGridGxDataHintParams& Params, bool& Processed)>;
using TDrawColumnGxCellEvent =
    std::function<void(QObject* Sender, const TRect& Rect, int DataCol, TColumnGx* Column, TGridDrawState State)>;
using TDrawDataCellEvent = std::function<void(QObject* Sender, const TRect& Rect, TField* Field, TGridDrawState State)>;
using TDrawFooterCellEvent = std::function<void(QObject* Sender, int DataCol, int Row, TColumnGx* Column,
                                                const TRect& Rect, TGridDrawState State)>;
using TDBGridGxFillSTFilterListValuesEvent =
    std::function<void(TCustomDBGridGx* Sender, TColumnGx* Column, TStringsGx& Items, bool& Processed)>;
using TGetBtnGxParamsEvent = std::function<void(QObject* Sender, TColumnGx* Column, TFont* AFont,
                                                TColor& Background, TSortMarkerGx& SortMarker, bool IsDown)>;
using TGetCellGxParamsEvent =
    std::function<void(QObject* Sender, TColumnGx* Column, TFont* AFont, TColor& Background, TGridDrawState State)>;
using TGetFooterParamsEvent =
    std::function<void(QObject* Sender, int DataCol, int Row, TColumnGx* Column, TFont* AFont, TColor& Background,
                       TAlignment& Alignment, TGridDrawState State, QString& Text)>;
using TGetDBGridGxRowHeightEvent = std::function<void(QObject* Sender, int& RowHeight)>;
using TDBGridGxHintShowPauseEvent =
    std::function<void(TCustomDBGridGx* Sender, TPoint CursorPos, TGridCoord Cell, TPoint InCellCursorPos,
                       TColumnGx* Column, int& HintPause, bool& Processed)>;
using TGridMoveRecordsEventGx =
    std::function<bool(QObject* Sender, TBMListGx* BookmarkList, int ToRecNo, int TreeLevel, bool CheckOnly)>;
using TDBGridGxRowDetailPanelHideEvent = std::function<void(TCustomDBGridGx* Sender, bool& CanHide)>;
using TDBGridGxRowDetailPanelShowEvent = std::function<void(TCustomDBGridGx* Sender, bool& CanShow)>;
using TTitleGxClickEvent = std::function<void(QObject* Sender, int ACol, TColumnGx* Column)>;

// Direction of an incremental search step.
enum TInpsDirectionGx { inpsFromFirstGx, inpsToNextGx, inpsToPriorGx };

// ---------------------------------------------------------------- the grid

class TCustomDBGridGx : public TCustomGridGx, public IDBGridGx, public IInplaceEditHolderGx {
public:
    explicit TCustomDBGridGx(QWidget* AOwner = nullptr);
    ~TCustomDBGridGx() override;
    // A grid that keeps no design information.
    static TCustomDBGridGx* CreateNew(QWidget* AOwner, int Dummy = 0);

    // ================================================================ IDBGridGx
    TGridDataLinkGx* DataLink() override { return FDataLink.get(); }
    TDBGridColumnsGx* Columns() override { return FColumns.get(); }
    TColumnDefValuesGx* ColumnDefValues() override { return FColumnDefValues.get(); }
    TColumnsGxList* VisibleColumns() override { return &FVisibleColumns; }
    TColumnsGxList* SortMarkedColumns() override { return &FSortMarkedColumns; }
    TBookmarkListGx* SelectedRows() override { return FBookmarks.get(); }
    TDBGridGxSumList* SumList() override { return FSumList.get(); }
    TDataSet* DataSet() const override;
    TColor Color() const override { return TCustomControl::Color(); }
    TColor FixedColor() const override { return TCustomGridGx::FixedColor(); }
    TColor FooterColor() const override { return FFooterColor; }
    TFont* Font() override { return TCustomControl::Font(); }
    TFont* TitleFont() override { return &FTitleFont; }
    TFont* FooterFont() override { return &FFooterFont; }
    TFont* SpareFont() override { return &FDummiFont; }
    TBiDiModeGx BiDiMode() const override { return bdLeftToRight; }
    TImeModeGx ImeMode() const override { return FImeMode; }
    QString ImeName() const override { return FImeName; }
    TCanvas* Canvas() override;
    bool Flat() const override { return TCustomGridGx::Flat(); }
    int GridLineWidth() const override { return TCustomGridGx::GridLineWidth(); }
    int DefaultColWidth() const override { return TCustomGridGx::DefaultColWidth(); }
    int StdDefaultRowHeight() const override { return FStdDefaultRowHeight; }
    int Interlinear() const override { return FInterlinear; }
    TDBGridOptions Options() const override { return FOptions; }
    TDBGridGxOptions OptionsGx() const override { return FOptionsGx; }
    TDBGridGxAllowedOperations AllowedOperations() const override { return FAllowedOperations; }
    bool ReadOnly() const override { return FReadOnly; }
    bool AutoFitColWidths() const override { return FAutoFitColWidths; }
    bool UseMultiTitle() const override { return FUseMultiTitle; }
    bool DrawMemoText() const override { return FDrawMemoText; }
    bool DrawGraphicData() const override { return FDrawGraphicData; }
    bool UpdateFields() const override { return FUpdateFields; }
    bool HandleAllocated() const override;
    bool FilterButtonsInTitle() const override;
    bool RowPanelActive() const override;
    bool RowPanelTabsLeftToRight() const override;
    bool ShownRowBookmarks(std::vector<TBookmark>& Bookmarks, int& FirstRow) override;
    int ExtraFirstColumnWidth() const override { return FExtraFirstColumnWidth; }
    bool LayoutFromDataset() const override { return FLayoutFromDataset; }
    int IndicatorOffset() const override { return FIndicatorOffset; }
    int ColCount() const override { return TCustomGridGx::ColCount(); }
    int ColWidth(int col) const override { return TCustomGridGx::ColWidths(col); }
    void SetColWidth(int col, int width) override { TCustomGridGx::SetColWidths(col, width); }
    int TopDataOffset() const override;
    int SelectedIndex() const override;
    void SetSelectedIndex(int index) override;
    void LockLayout() override { BeginLayoutGx(); }
    void UnlockLayout() override { EndLayoutGx(); }
    int LayoutLockCount() const override { return FLocks.LayoutLock(); }
    int UpdateLockCount() const override { return FLocks.UpdateLock(); }
    void LayoutChanged() override;
    void Invalidate() override { TCustomControl::Invalidate(); }
    void InvalidateCol(int col) override { TCustomGridGx::InvalidateCol(col); }
    void InvalidateFooter() override;
    void InvalidateCurrentRow() override;
    void RefreshEditorPlacement() override;
    void SetSortMarkedColumns() override;
    void RaiseGridError(const QString& message) override;
    void OptimizeColumnsWidth(TColumnsGxList& columns) override;
    QString EditText() const override { return FEditText; }
    void SetEditText(const QString& text) override { FEditText = text; }
    Variant EditKeyValue() const override { return FEditKeyValue; }
    void SetEditKeyValue(const Variant& value) override { FEditKeyValue = value; }
    bool InplaceEditorVisible() const override;
    QString InplaceEditorText() const override;
    bool EditingAllowedForCurrentRecord() const override;
    void ColumnDestroying(TColumnGx* column) override;
    void LinkActive(bool Value) override;
    void DataChanged() override;
    void Scroll(int Distance) override;
    void DataLayoutChanged() override;
    void RecordChanged(TField* Field) override;
    void UpdateData() override;
    void EditingChanged() override;
    TField* SelectedField() const override;
    void SetSelectedField(TField* Value) override;
    bool AcquireFocus() override;
    void ShowEditor() override;
    TDBGridGxSelectionType SelectionType() const override;
    void SelectRecordBookmarks() override;
    void SelectionUpdateState() override;
    void SelectionChanged() override;
    bool Destroying() const override { return FDestroying; }
    void SharedObjectGone(const void* object) override;
    TDBGridGxEditActions EditActions() const override { return FEditActions; }
    bool CheckEditAction(TDBGridGxEditAction action) override;
    void ExecuteEditAction(TDBGridGxEditAction action) override;
    bool IndicatorTitleUseGlobalMenu() const override;
    QMenu* IndicatorTitleDropdownMenu() const override;
    void DefaultIndicatorTitleMouseDown(int col, int row, int button, int shift, int x, int y) override;

    // ================================================================ properties
    TDBGridGxAllowedSelections AllowedSelections() const { return FAllowedSelections; }
    void SetAllowedSelections(TDBGridGxAllowedSelections Value);
    void SetAllowedOperations(TDBGridGxAllowedOperations Value) { FAllowedOperations = Value; }
    void SetAutoFitColWidths(bool Value);
    void SetColor(TColor Value);
    void SetColumnDefValues(const TColumnDefValuesGx& Value) { FColumnDefValues->Assign(Value); }
    void SetColumns(const TDBGridColumnsGx& Value);
    int ContraColCount() const { return FContraColCount; }
    void SetContraColCount(int Value);
    TDBGridGxDataGroupsGx* DataGrouping() const { return FDataGrouping.get(); }
    void SetDataGrouping(const TDBGridGxDataGroupsGx& Value);
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* Value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
    void SetDrawGraphicData(bool Value);
    void SetDrawMemoText(bool Value);
    void SetEditActions(TDBGridGxEditActions Value) { FEditActions = Value; }
    TEditButtonsShowOptionsGx EditButtonsShowOptions() const { return FEditButtonsShowOptions; }
    void SetEditButtonsShowOptions(TEditButtonsShowOptionsGx Value);
    TColor EvenRowColor() const { return FEvenRowColorStored ? FEvenRowColor : Color(); }
    void SetEvenRowColor(TColor Value);
    bool EvenRowColorStored() const { return FEvenRowColorStored; }
    TColor OddRowColor() const { return FOddRowColorStored ? FOddRowColor : Color(); }
    void SetOddRowColor(TColor Value);
    bool OddRowColorStored() const { return FOddRowColorStored; }
    void SetFixedColor(TColor Value) { TCustomGridGx::SetFixedColor(Value); }
    void SetFlat(bool Value) { TCustomGridGx::SetFlat(Value); }
    void SetFooterColor(TColor Value);
    void SetFooterFont(const TFont& Value);
    int FooterRowCount() const { return FFooterRowCount; }
    void SetFooterRowCount(int Value);
    int FrozenCols() const { return FFrozenCols; }
    void SetFrozenCols(int Value);
    TDBGridGxScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    void SetHorzScrollBar(const TDBGridGxScrollBar& Value);
    TDBGridGxScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    void SetVertScrollBar(const TDBGridGxScrollBar& Value);
    void SetImeMode(TImeModeGx Value) { FImeMode = Value; }
    void SetImeName(const QString& Value) { FImeName = Value; }
    TDBGridGxIndicatorTitle* IndicatorTitle() const { return FIndicatorTitle.get(); }
    void SetIndicatorTitle(const TDBGridGxIndicatorTitle& Value);
    int MinAutoFitWidth() const { return FMinAutoFitWidth; }
    void SetMinAutoFitWidth(int Value);
    void SetOptions(TDBGridOptions Value);
    void SetOptionsGx(TDBGridGxOptions Value);
    void SetReadOnly(bool Value);
    TRowDetailPanelGx* RowDetailPanel() const { return FRowDetailPanel.get(); }
    void SetRowDetailPanel(const TRowDetailPanelGx& Value);
    // Places the row-detail host control below the current row.
    void UpdateRowDetailPanel();
    int RowHeight() const { return FNewRowHeight; }
    void SetRowHeight(int Value);
    int RowLines() const { return FRowLines; }
    void SetRowLines(int Value);
    TGridRowPanelGx* RowPanel() const { return FGridRowPanel.get(); }
    void SetRowPanel(const TGridRowPanelGx& Value);
    bool RowSizingAllowed() const { return FRowSizingAllowed; }
    void SetRowSizingAllowed(bool Value);
    bool SortLocal() const { return FSortLocal; }
    void SetSortLocal(bool Value) { FSortLocal = Value; }
    TSTDBGridGxFilter* STFilter() const { return FSTFilter.get(); }
    void SetSTFilter(const TSTDBGridGxFilter& Value);
    void SetSumList(const TDBGridGxSumList& Value);
    void SetTitleFont(const TFont& Value);
    int TitleHeight() const { return FTitleHeight; }
    void SetTitleHeight(int Value);
    TImageList* TitleImages() const { return FTitleImages; }
    void SetTitleImages(TImageList* Value);
    int TitleLines() const { return FTitleLines; }
    void SetTitleLines(int Value);
    void SetUseMultiTitle(bool Value);
    int VTitleMargin() const { return FVTitleMargin; }
    void SetVTitleMargin(int Value);
    void SetInterlinear(int Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value) { FParentFont = Value; }

    // public, unpublished
    bool BufferedPaint() const { return FBufferedPaint; }
    void SetBufferedPaint(bool Value) { FBufferedPaint = Value; }
    TDBGridGxCenter* Center() const { return FCenter; }
    void SetCenter(TDBGridGxCenter* Value);
    TDBGridGxStyle* Style() const { return FStyle; }
    void SetStyle(TDBGridGxStyle* Value);
    void UseGlobalStyle();
    int FieldCount() const;
    THeadTreeNode* HeadTree() const { return FHeadTree.get(); }
    const std::vector<LeafCol>& LeafFieldArr() const { return FLeafFieldArr; }
    bool InplaceSearching() const { return FInplaceSearching; }
    TRowDetailPanelControlGx* RowDetailPanelControl() const { return FRowDetailControl; }
    int OriginCol() const;
    TDBGridGxSelection* Selection() const { return FSelection.get(); }
    bool TimerActive() const { return FTimerActive; }
    int TitleOffset() const { return FTitleOffset; }
    bool TryUseMemTableInt() const { return FTryUseMemTableInt; }
    void SetTryUseMemTableInt(bool Value);
    int VisibleColCount() const { return TCustomGridGx::VisibleColCount(); }
    int VisibleRowCount() const { return TCustomGridGx::VisibleRowCount(); }
    TDBGridGxState DBGridGxState() const { return FDBGridGxState; }
    // The record drag's insertion line: shown, and its place in the client area.
    bool DataRowMoveLineVisible() const { return FDataRowMoveVisible; }
    QRect DataRowMoveLineRect() const;
    int MoveRowDest() const { return FMoveRowDest; }
    int MoveRowDestLevel() const { return FMoveRowDestLevel; }
    int TitleRowHeight() const { return FTitleRowHeight; }
    int TitleHeightFull() const { return FTitleHeightFull; }
    bool AllowWordWrap() const { return FAllowWordWrap; }
    int RecNoTextWidth() const { return FRecNoTextWidth; }
    int LastVisibleCol() const { return FLastVisibleCol; }
    int InplaceEditorButtonWidth() const { return FInplaceEditorButtonWidth; }
    int InplaceEditorButtonHeight() const { return FInplaceEditorButtonHeight; }
    // The layout passes run so far (the count only grows).
    int LayoutPassCount() const { return FLayoutPassCount; }
    int HotTrackEditButton() const { return FHotTrackEditButton; }
    bool HotTrackMultiTitleOver() const { return FHotTrackMultiTitleOver; }

    // ================================================================ events
    TDBGridGxNotifyEvent OnActiveGroupingStructChanged;
    TDBGridGxAdvDrawColumnDataEvent OnAdvDrawDataCell;
    TNotifyEvent OnApplyFilter;
    TDBGridGxBuildIndicatorTitleMenu OnBuildIndicatorTitleMenu;
    TDBGridGxClickEvent OnCellClick;
    TCheckTitleGxBtnEvent OnCheckButton;
    TDBGridGxCheckRowHaveDetailPanelEvent OnCheckRowHaveDetailPanel;
    TNotifyEvent OnColEnter, OnColExit;
    TMovedEvent OnColumnMoved;
    TNotifyEvent OnColWidthsChanged;
    TDBGridGxDataGroupGetGroupRowTextEvent OnDataGroupGetRowText;
    TDBGridGxDataHintShowEvent OnDataHintShow;
    TDrawColumnGxCellEvent OnDrawColumnCell;
    TDrawDataCellEvent OnDrawDataCell;
    TDrawFooterCellEvent OnDrawFooterCell;
    TNotifyEvent OnEditButtonClick;
    TDBGridGxFillSTFilterListValuesEvent OnFillSTFilterListValues;
    TGetBtnGxParamsEvent OnGetBtnParams;
    TGetCellGxParamsEvent OnGetCellParams;
    TGetFooterParamsEvent OnGetFooterParams;
    TGetDBGridGxRowHeightEvent OnGetRowHeight;
    TDBGridGxHintShowPauseEvent OnHintShowPause;
    TGridGxCellMouseEvent OnIndicatorTitleMouseDown;
    TGridMoveRecordsEventGx OnMoveRecords;
    TDBGridGxRowDetailPanelHideEvent OnRowDetailPanelHide;
    TDBGridGxRowDetailPanelShowEvent OnRowDetailPanelShow;
    TNotifyEvent OnSelectionChanged, OnSortMarkingChanged, OnSumListAfterRecalcAll, OnSumListRecalcAll;
    TNotifyEvent OnTopLeftChanged;
    TTitleGxClickEvent OnTitleBtnClick;
    TDBGridGxClickEvent OnTitleClick;

    // ================================================================ state, locks, layout
    void BeginUpdateGx() { FLocks.BeginUpdate(); }
    void EndUpdateGx() { FLocks.EndUpdate(); }
    void BeginLayoutGx() { FLocks.BeginLayout(); }
    bool TryBeginLayoutGx() { return FLocks.TryBeginLayout(); }
    void EndLayoutGx() { FLocks.EndLayout(); }
    void CancelLayoutGx() { FLocks.CancelLayout(); }
    void DeferLayoutGx() { FLocks.DeferLayout(); }
    // The deferred layout request arrived.
    void DeferredLayoutArrived() { FLocks.DeferredLayoutArrived(); }
    bool DeferredLayoutQueued() const { return FLocks.DeferredQueued(); }
    bool LayoutPending() const { return FLocks.LayoutPending(); }
    // The layout pass.
    void PerformLayout();
    int CalcIndicatorColWidth();
    int CalcHeadTreeHeight(THeadTreeNode* Node);
    int CalcStdDefaultRowHeight();
    bool IsMouseInRect(const TRect& ARect);
    bool IsGridIdle() const;
    bool IsThemedFixedCells() const;
    void InvalidateIndicatorRow();
    bool IsDataCellSelected(int DataCol, const TBookmark& Bookmark);
    int EditButtonAtPos(int ACol, int ARow, int X, int Y, TColumnGx* Column);
    // The reaction to a right-button release at a client point: the popup menu of the
    // column under it (title or data cell); whether one was shown.
    bool PopupColumnMenu(int X, int Y);
    // Column index mapping.
    int DataToRawColumn(int DataCol) const;
    int RawToDataColumn(int ACol) const { return ACol - FIndicatorOffset; }
    bool IsSelectionTypeAllowed(TDBGridGxSelectionType SelectionType) const;
    // Re-applies the options after a form is read.
    void Loaded();
    void ChangeScale(int M, int D);

    // ================================================================ cells and services
    TCellKindGx GetCellType(int ACol, int ARow, int& DataCol, int& DataRow);
    TColumnGx* FindFieldColumn(const QString& FieldName);
    TColumnGx* ColumnByFieldName(const QString& FieldName);
    void InvalidateGridRect(const TGridRect& AGridRect);
    void InvalidateCell(int ACol, int ARow) { TCustomGridGx::InvalidateCell(ACol, ARow); }
    void InvalidateRow(int ARow) { TCustomGridGx::InvalidateRow(ARow); }
    TRect CellRect(int ACol, int ARow) const { return TCustomGridGx::CellRect(ACol, ARow); }
    void AcquireMemTable();
    bool HasMemTable() const { return FIntMemTable != nullptr; }
    bool UsesMemTableScrolling() const;
    void SetValueFromPrevRecord();
    void ExecuteFindDialog(const QString& Text, const QString& Reserved, bool Modal);
    void DoExit() override;

    // ================================================================ scrolling and records (3.218, 3.231)
    TRect DataRect();
    TGridRect DataBox();
    int DataRowCount();
    int DataRowToRecNo(int DataRow);
    void SaveBookmark();
    void RestoreBookmark();
    int MoveBy(int Distance);
    int SafeMoveTop(int ATop, bool CheckOnly = false);
    void SelectDrawRecord(int DataRow);
    void RestoreDrawRecord();
    int DrawRecordCount();
    bool IsDrawRecordCurrent(int DataRow);
    void StopAutoScrollTimer();
    void StopTracking();

    // ================================================================ drawing services (3.202-3.205, 3.217, 3.226)
    bool CheckFillDataCell(TGridCoord Cell, TGridCoord AreaCell, TColumnGx* Column, const TRect& AreaRect,
                           TColCellParamsGx& Params);
    void DefaultDrawColumnCell(TRect& Rect, int DataCol, TColumnGx* Column, TGridDrawState State);
    void DefaultDrawColumnDataCell(TGridCoord Cell, TGridCoord AreaCell, TColumnGx* Column, const TRect& AreaRect,
                                   TColCellParamsGx& Params);
    void DefaultDrawDataCell(TRect& Rect, TField* Field, TGridDrawState State);
    void DefaultDrawFooterCell(const TRect& Rect, int DataCol, int Row, TColumnGx* Column, TGridDrawState State);
    void InvalidateTitle();
    QString GetFooterValue(int Row, TColumnGx* Column);
    bool IsIndicatorRowSelected(int ARow);

    // ================================================================ editing, selection, search (3.211-3.214, 3.228, 3.233)
    bool ValidFieldIndex(int FieldIndex);
    bool CheckCopyAction();
    bool CheckCutAction();
    bool CheckDeleteAction();
    bool CheckPasteAction();
    bool CheckSelectAllAction();
    void DataInsert();
    void DataAppend();
    bool DataCanBeModified();
    QString GetCompleteKeyPress() const { return FCompleteKeyPress; }
    void StartInplaceSearch(const QString& ss, int TimeOut, TInpsDirectionGx InpsDirection);
    void StopInplaceSearch();
    void SelectColumnIndex(int Index, int Direction, bool ExtendRect);
    void SetGridRowCount(int Value);
    void UpdateColumnIme();
    void ApplyColumnIme();
    bool AnyColumnHidesDuplicates();
    void EnterFilterRowFromAbove();

    // ================================================================ cell hints and tool tips
    // The pause before the hint at a client point: 0 where a tool tip waits.
    int CMHintShowPause(const TPoint& CursorPos, int HintPause = ApplicationHintPauseGx);
    // The hint at a client point; false when there is none to show.
    bool CMHintShow(const TPoint& CursorPos, TGridHintInfoGx& Info);
    void DefaultFillDataHintShowInfo(TPoint CursorPos, TGridCoord Cell, TPoint InCellCursorPos, TColumnGx* Column,
                                     TDBGridGxDataHintParams& Params);
    // The text a data cell's hint shows for the current record.
    QString GetColumnHintText(TColumnGx* Column);
    // The font the current hint is drawn in (created on first use).
    TFont* HintFont();
    // A tool tip that needs no pause shows as soon as the mouse comes to its cell.
    void HintMouseMoved(int X, int Y);

    // ================================================================ later issues
    void DefaultFillSTFilterListValues(TColumnGx* Column, TStringsGx& Items);
    void DefaultFillSTFilterListCommandValues(TColumnGx* Column, TStringsGx& Items);
    void DefaultFillSTFilterListDataValues(TColumnGx* Column, TStringsGx& Items);
    void ApplyFilter();
    void ClearFilter();

    // ================================================================ filter row and in-title filter lists
    bool IsFilterCellShown(int DataCol);
    bool IsFilterRow(int ARow) const;
    void ShowFilterEdit(int DataCol);
    void SetFilterEditMode(bool Value);
    void LeaveFilterEditMode();
    void HideFilterEdit();
    void UpdateFilterEdit(bool Reload);
    void StoreCurrentFilterText();
    bool FilterEditMode() const { return FFilterEditMode; }
    int FilterCol() const { return FFilterCol; }
    TInplaceFilterEditGx* FilterEditor() const;
    bool FilterEditorVisible() const;
    void SetFilterEditorText(const QString& Text);
    void FillSTFilterListValues(TSTColumnFilterGx* Filter, TStringsGx& Items, int& ListWidth,
                                TPopupListboxGx* ListControl);
    void ShowInTitleFilterListbox(TColumnGx* Column);
    void HideInTitleFilterListbox(bool Execute);
    TPopupListboxGx* InTitleFilterListbox() const { return FInTitleFilterListbox; }
    bool InTitleFilterListboxVisible() const { return FInTitleFilterListboxVisible; }
    TColumnGx* InTitleFilterListboxColumn() const { return FInTitleFilterListboxColumn; }
    // The in-title filter button of a title cell: 8 when MousePt is on it, else 0.
    int IsTitleFilterButtonHit(TGridCoord Cell, TPoint MousePt, TRect& ButtonRect);
    // IInplaceEditHolderGx: the filter editor's keys.
    bool InplaceEditCanModify(QWidget*) override { return true; }
    bool GetMouseDownInfo(TPoint& Pos, int& Time) override;
    // The filter editor's messages need nothing of the grid.
    void InplaceEditWndProc(QWidget*, TMessage&) override {}
    void InplaceEditKeyDown(QWidget* Control, WORD& Key, TShiftState Shift) override;
    void InplaceEditKeyPress(QWidget* Control, QChar& Key) override;
    // Releasing a key in the filter editor means nothing to the grid.
    void InplaceEditKeyUp(QWidget*, WORD&, TShiftState) override {}
    int GetCellTreeElmentsAreaWidth();
    // Row-panel hit tests at a point inside the record's panel.
    TColumnGx* GetColumnInRowPanelAtPos(const TPoint& InCellPos, bool IsTitleTypeCell);
    TColumnGx* GetCellRectInRowPanelAtPos(const TPoint& InCellPos, TRect& ACellRect, bool IncludeLines);
    void RelayoutCellsInRowPanel();
    void SortColumnsByRowPanelPlacement();
    void ScrollToRowPanelColumn(int Index);
    void SetInRowPanelCol(int Index);
    int InRowPanelCol() const { return FInRowPanelCol; }
    int GridMasterCellWidth() const { return FGridMasterCellWidth; }
    int GridMasterCellHeight() const { return FGridMasterCellHeight; }
    // Assigning no row panel (a form that streams none while loading).
    void SetRowPanelNone();
    void SetOriginCol(int Value);
    void OptimizeSelectedColsWidth(TColumnGx* WithColumn);
    void OptimizeColsWidth(TColumnsGxList& ColumnsList);

    // ================================================================ layout storage
    // The registry variants use the grid's storage path as section and erase it before writing.
    void SaveColumnsLayout(TRegIniFile& ARegIni);
    void SaveColumnsLayout(TIniFile& ACustIni, const QString& Section);
    void SaveColumnsLayoutIni(const QString& IniFileName, const QString& Section, bool DeleteSection);
    void RestoreColumnsLayout(TRegIniFile& ARegIni, TColumnGxRestoreParams RestoreParams);
    void RestoreColumnsLayout(TIniFile& ACustIni, const QString& Section, TColumnGxRestoreParams RestoreParams);
    void RestoreColumnsLayoutIni(const QString& IniFileName, const QString& Section,
                                 TColumnGxRestoreParams RestoreParams);
    void SaveGridLayout(TRegIniFile& ARegIni);
    void SaveGridLayout(TIniFile& ACustIni, const QString& Section);
    void SaveGridLayoutIni(const QString& IniFileName, const QString& Section, bool DeleteSection);
    void RestoreGridLayout(TRegIniFile& ARegIni, TDBGridGxRestoreParams RestoreParams);
    void RestoreGridLayout(TIniFile& ACustIni, const QString& Section, TDBGridGxRestoreParams RestoreParams);
    void RestoreGridLayoutIni(const QString& IniFileName, const QString& Section, TDBGridGxRestoreParams RestoreParams);

    // ================================================================ virtual operations (overrides)
    void CreateWnd();
    bool CanEditAcceptKey(QChar Key) override;
    bool CanEditModify() override;
    bool CanEditShow() override;
    void CalcEditRect(int ACol, int ARow, TRect& Rect) override;
    TInplaceEdit* CreateEditor() override;
    bool EndColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) override;
    int GetEditLimit() override;
    QString GetEditMask(int ACol, int ARow) override;
    QString GetEditText(int ACol, int ARow) override;
    bool IsSmoothHorzScroll() override;
    bool IsSmoothVertScroll() override;
    bool CanHotTrackCell(int ACol, int ARow) override;
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                         const TGridLayoutGx& Layout) override;
    void CancelMode() override;
    void CheckDrawCellBorder(int ACol, int ARow, TCellBorderTypeGx BorderType, bool& IsDraw, TColor& BorderColor,
                             bool& IsExtent) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void ColWidthsChanged() override;
    void CalcSizingLine(const TGridLayoutGx& Layout, int& StartPos, int& EndPos) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void DrawOutBoundaryArea(const TRect& ARect) override;
    void FlatChanged() override;
    void BorderStyleChanged() override;
    // A flat, single-bordered grid draws its border inside the widget: the cells keep clear of it.
    int NonClientBorderWidth() const override { return FBorderWidth; }
    void FocusCell(int ACol, int ARow, bool MoveAnchor) override;
    void HideEditor() override;
    void RowHeightsChanged() override;
    TGridCoord PointToCell(int X, int Y);
    void SetEditText(int ACol, int ARow, const QString& Value) override;
    void MoveAnchorBy(int Directions) override;
    void TopLeftChanged() override;
    void UpdateEdit() override;
    void UpdateText() override;
    void UpdateHotTrackCell(int X, int Y) override;
    void DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, int X,
                               int Y) override;
    UINT GetDlgCode() override;
    bool WantSpecialKey(WORD Key, TShiftState Shift) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void DblClick() override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    TCursor CursorAt(int X, int Y) override;
    bool HintAt(const TPoint& p, QString& text, TRect& area) override;
    void FocusSet() override;
    void FocusKilled() override;
    void Timer(UINT id) override;
    void ScrollBarMessage(int Bar, int ScrollCode, int Pos) override;
    void Resize() override;
    void WndProc(TMessage& Message) override;
    void MessageReceived(TMessage& Message) override;

    // ================================================================ new virtual operations
    virtual bool CanStartRecordsMoving(int& Origin, int& Destination, const TPoint& MousePt);
    // Left end of the insertion line at a grid row, and the tree level it marks (-1 without a tree).
    virtual int CalcMoveRowLineBounds(int ARow, const TPoint& MousePt, int& Level);
    virtual int GetDataRowHeight(int DataRow);
    virtual int CalcColumnsMaxRowHeight();
    virtual bool ShowFocusHighlight();
    virtual bool AlwaysShowEditorActive();
    virtual bool FilterEditActive();
    virtual bool IsCell3D(int ACol, int ARow, TGridDrawState State, const TRect& ARect);
    virtual bool IsCellSelected(int ACol, int ARow, const TBookmark& Bookmark, int DataCol);
    virtual bool TreeSignMouseDown(int X, int Y, bool CheckOnly);
    virtual bool StartRecordsMoving(int X, int Y, bool CheckOnly);
    virtual std::unique_ptr<TColumnDefValuesGx> CreateColumnDefValues();
    virtual std::unique_ptr<TDBGridColumnsGx> CreateColumns();
    virtual TInplaceFilterEditGx* CreateFilterEditor();
    virtual std::unique_ptr<TDBGridGxScrollBar> CreateScrollBar(TScrollBarKindGx Kind);
    virtual bool ConfirmDelete();
    virtual bool IsThemedCell(bool Flag);
    virtual bool FilterRowUnderTitle() const;
    virtual bool HasTitles() const;
    virtual void CalcHighlightColors(int DataCol, int DataRow, TGridDrawState AState, TColor& AColor, TFont* AFont);
    virtual bool HasIndicator() const;
    virtual bool IsGridFocused() const;
    virtual bool MoveDataRows(TBMListGx* BookmarkList, int ToRecNo, int TreeLevel, bool CheckOnly);
    virtual bool MoveSelectedRecords(int ToRecNo, int TreeLevel, bool CheckOnly);
    virtual bool NeedBufferedPaint();
    virtual void CellClick(TColumnGx* Column);
    virtual void CheckTitleButton(int ACol, bool& Enabled);
    virtual void ColEnter();
    virtual void ColExit();
    virtual void BuildFieldMap();
    virtual void UpdateAfterResize();
    virtual void SortMarkingChanged();
    virtual void TitleBtnClick(int ACol, TColumnGx* Column);
    virtual void PaintFlatBorder();
    virtual void DrawTitleCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual void DrawColumnTitleCell(int ACol, int ARow, TColumnGx* Column, TRect ARect, TGridDrawState AState);
    virtual void PaintColumnTitle(TColumnGx* Column, const TRect& ARect, const TDBGirdDrawTitleStateGx& DrawState);
    virtual void DrawIndicatorCell(int ACol, int ARow, TRect ARect, TGridDrawState AState);
    virtual void DrawDataCellArea(TGridCoord Cell, TGridCoord AreaCell, TColumnGx* Column, const TRect& AreaRect,
                                  TColCellParamsGx& Params);
    virtual void DrawFooterCell(int DataCol, int Row, TRect ARect, TGridDrawState AState);
    virtual void DrawGroupDataRow(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    // The group-level indent of a record row; Levels -1: as many as the active group levels.
    virtual void DrawGroupExtraColumn(int ACol, int ARow, const TRect& ARect, int Levels = -1);
    // The strip under the current record where its detail panel shows, in the first column:
    // the tree lines of tree data and the group-level indent.
    void PaintDetailStripSigns(int DataRow, const TRect& Strip);
    virtual void DrawDataTreeElement(int ACol, int ARow, const TRect& ARect);
    virtual void DrawColumnCell(const TRect& Rect, int DataCol, TColumnGx* Column, TGridDrawState State);
    virtual void DrawDataCellEvent(const TRect& Rect, TField* Field, TGridDrawState State);
    virtual void DrawGroupLevelTitle(int LevelIndex, const TRect& ARect);
    virtual void DataGroupingTreeChanged();
    virtual void DrawFilterRowCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual void DrawIndicatorGlyph(const TRect& ARect, int Glyph);
    virtual void DrawIndicatorDropDownSign(const TRect& ARect);
    virtual void DrawTitleDropDownSign(const TRect& ARect);
    virtual void DrawColumnDataText(TGridCoord Cell, TGridCoord AreaCell, TColumnGx* Column, const TRect& AreaRect,
                                    TColCellParamsGx& Params);
    virtual void EditButtonClick();
    virtual void EndMouseOperation(int X, int Y, bool Accept);
    virtual void GetCellParams(TColumnGx* Column, TFont* AFont, TColor& Background, TGridDrawState State);
    virtual void GetDataSetFields(std::vector<TField*>& List);
    virtual void GetFooterParams(int DataCol, int Row, TColumnGx* Column, TFont* AFont, TColor& Background,
                                 TAlignment& Alignment, TGridDrawState State, QString& Text);
    virtual bool GroupNodeMouseDown(int X, int Y, bool CheckOnly);
    virtual bool GroupPanelMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void CalcRecordsDropPosition(int X, int Y, int& DropRow, int& DropLevel);
    virtual void InvalidateSelection();
    virtual void SetColWidthsFromColumns();
    virtual void StoreFilterEditText(int ColIndex);
    virtual void RowPanelColumnHitTest(int X, int Y);
    virtual void RowPanelCellHitTest(int X, int Y);
    virtual void StartGroupPanelTitleMoving(int LevelIndex, int X, int Y);
    virtual void TrackColumnToGroupMoving(int X, int Y);
    virtual void EndRowPanelColumnMoving(int X, int Y, bool Accept);
    virtual void TrackMouseSelection(TShiftState Shift, int X, int Y);
    virtual void TitleClick(TColumnGx* Column);
    virtual void UpdateActiveRow();
    virtual void InitFilterEditor(int ColIndex);
    virtual void UpdateExtHorzScrollBar();
    virtual void UpdateRowCount();
    virtual void UpdateScrollBar();
    virtual void UpdateDataRowHeight(int DataRow);
    virtual void DrawRowPanelTitleCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual void DrawRowPanelDataCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual void DrawRowPanelFooterCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    // Paints the sign of the record being drawn; the width used (0 when inactive).
    virtual int DrawRowDetailSign(int DataRow, const TRect& ARect, TGridDrawState State);
    virtual bool IsMouseOnRowDetailSign(int X, int Y);
    virtual bool IsRowDetailSignHit(int InCellX, int ACol);
    virtual bool DefaultMoveDataRows(TBMListGx* BookmarkList, int ToRecNo, int TreeLevel, bool CheckOnly);
    virtual bool HighlightDataCellColor(int DataCol, int DataRow, const Variant& Value, TGridDrawState AState,
                                        TColor& AColor, TFont* AFont);
    virtual bool HighlightGroupDataCellColor(int DataCol, int DataRow, const Variant& Value, TGridDrawState AState,
                                             TColor& AColor, TFont* AFont);
    virtual int InRowPanelLineHeight();
    virtual bool IsFindDialogShowAsModal();
    virtual bool IsUseMultiTitle() const;
    virtual bool LocateText(const QString& FieldName, const QString& Text, int Options, int Direction,
                            int Matching, int TreeFindRange);
    virtual void DefaultApplyFilter();
    virtual void DefaultApplySorting();
    virtual void DefaultBuildIndicatorTitleMenu(QMenu*& PopupMenu);
    virtual void UpdateAllGridDataRowHeights();
    virtual void UpdateAllDataRowHeights();

protected:
    void Paint() override;
    void showEvent(QShowEvent* e) override;
    // A derived grid's own column and default-value classes (its constructor calls this).
    void RecreateColumns();
    // Edit-button width and height from the font and the flat look.
    void CalcEditButtonMetrics();
    // The options the layout reads (the base grid's set is reached through TCustomGridGx).
    TGridOptions BaseOptions() const { return TCustomGridGx::Options(); }
    void SetBaseOptions(TGridOptions Value) { TCustomGridGx::SetOptions(Value); }
    void SetBaseOption(TGridOptions Option, bool On);

private:
    void TitleFontChanged();
    void FooterFontChanged();
    void SumListChanged();
    void SumListRecalcAll();
    void SumListAfterRecalcAll();
    void ReconcileColumnOptions(TDBGridOptions O, TDBGridGxOptions E, bool FromOptionsGx);
    void UpdateGridLineColors();
    bool Loading() const { return false; }
    bool Designing() const { return false; }
    // Measures with the screen's metrics while the grid has no window.
    int MeasureTextHeight(const TFont& AFont, const QString& Text);
    // Row metrics of step 9 of the layout pass.
    void CalcRowMetrics();
    void CalcTitleMetrics();
    void AutoFitColumns();
    void BindColumns();
    int CountHiddenLeading() const;

    // ---- fields, as the grid declares them
    TDBGridGxAllowedOperations FAllowedOperations{alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx};
    TDBGridGxAllowedSelections FAllowedSelections{gstRecordBookmarks, gstRectangle, gstColumns, gstAll};
    bool FAutoDrag = false;
    bool FSelectedCellPressed = false;
    std::unique_ptr<TBookmarkListGx> FBookmarks;
    bool FCanvasHandleAllocated = false;
    TDBGridGxCenter* FCenter = nullptr;
    std::unique_ptr<TColumnDefValuesGx> FColumnDefValues;
    std::unique_ptr<TDBGridColumnsGx> FColumns;
    QString FCompleteKeyPress;
    std::unique_ptr<TGridDataLinkGx> FDataLink;
    // The data grid's own switch (shadows the base grid's flag, which stays off).
    bool FDefaultDrawing = true;
    TDBGridGxEditActions FEditActions;
    Variant FEditKeyValue;
    QString FEditText;
    TColor FFooterColor = clWindow;
    TFont FFooterFont;
    std::unique_ptr<TFont> FHintFont;
    TGridCoord FHintCell{-1, -1};   // the cell the mouse last came to, for tool tips without a pause
    std::unique_ptr<TDBGridGxScrollBar> FHorzScrollBar;
    bool FInColExit = false;
    std::unique_ptr<TDBGridGxIndicatorTitle> FIndicatorTitle;
    int FInterlinear = 4;
    bool FLayoutFromDataset = false;
    TDBGridGxLocks FLocks;   // the update and layout counters (FUpdateLock, FLayoutLock)
    // The data grid's option set (shadows the base grid's set).
    TDBGridOptions FOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                            dgConfirmDelete, dgCancelOnExit};
    TDBGridGxOptions FOptionsGx{dghFixed3D, dghHighlightFocus, dghClearSelection, dghDialogFind, dghColumnResize,
                                dghColumnMove, dghExtendVertLines};
    TImeModeGx FOriginalImeMode = imDontCare;
    QString FOriginalImeName;
    TImeModeGx FImeMode = imDontCare;
    QString FImeName;
    bool FReadOnly = false;
    bool FSelecting = false;
    std::unique_ptr<TDBGridGxSelection> FSelection;
    TBookmark FSelectionAnchor;
    bool FSelfChangingFooterFont = false;
    bool FSelfChangingTitleFont = false;
    int FSelRow = 0;
    bool FSortLocal = false;
    bool FSortMarking = false;
    TDBGridGxStyle* FStyle = nullptr;
    bool FSumListRecalcing = false;
    bool FThumbTracked = false;
    TFont FTitleFont;
    TImageList* FTitleImages = nullptr;
    int FTitleOffset = 0;
    int FIndicatorOffset = 1;
    bool FTopLeftVisible = true;
    bool FUserChange = false;
    std::unique_ptr<TDBGridGxScrollBar> FVertScrollBar;
    int FOldActiveRecord = -1;
    bool FLockAutoShowCurCell = false;
    bool FFetchingRecords = false;
    bool FTryUseMemTableInt = true;
    std::unique_ptr<TSTDBGridGxFilter> FSTFilter;
    int FFilterCol = -1;
    bool FFilterEditMode = false;
    TCustomDBEditGx* FFilterEdit = nullptr;
    int FDownMouseMessageTime = 0;
    bool FBufferedPaint = false;
    bool FSizeChanged = false;
    bool FEvenRowColorStored = false;
    bool FOddRowColorStored = false;
    TColor FEvenRowColor = clWindow;
    TColor FOddRowColor = clWindow;
    // The requested number of right-fixed columns (shadows the base grid's count).
    int FContraColCount = 0;
    TFont FDummiFont;
    int FRecNoTextWidth = 0;
    TEditButtonsShowOptionsGx FEditButtonsShowOptions;
    std::unique_ptr<TGridRowPanelGx> FGridRowPanel;
    int FInRowPanelCol = 0;
    bool FDSMouseCapture = false;
    std::unique_ptr<TRowDetailPanelGx> FRowDetailPanel;
    std::unique_ptr<TDBGridGxDataGroupsGx> FDataGrouping;
    TGroupDataTreeNodeGx* FDrawGroupDataNode = nullptr;
    std::vector<TGroupDataTreeNodeGx*> FDrawnGroupList;
    TGroupDataTreeNodeGx* FCurGroupDataNode = nullptr;
    int FGridMasterCellHeight = 0;
    int FGridMasterCellWidth = 0;
    bool FAcquireFocus = true;
    bool FAllowWordWrap = false;
    bool FAntiSelection = false;
    bool FAutoFitColWidths = false;
    int FBorderWidth = 0;
    TColCellParamsGx FColCellParamsGx;
    bool FDataTracking = false;
    TDBGridGxState FDBGridGxState = dgsNormal;
    bool FDefaultRowChanged = false;   // the mouse was released with the row-sizing cursor
    TPoint FDownMousePos;
    bool FDrawMemoText = false;
    bool FDrawGraphicData = false;
    int FFooterRowCount = 0;
    int FFrozenCols = 0;
    std::unique_ptr<THeadTreeNode> FHeadTree;
    int FHTitleMargin = 0;
    bool FIndicatorPressed = false;
    int FInplaceEditorButtonHeight = 0;
    int FInplaceEditorButtonWidth = 0;
    bool FInplaceSearching = false;
    bool FInplaceSearchingInProcess = false;
    QString FInplaceSearchText;
    int FInplaceSearchTimeOut = 0;
    bool FInplaceSearchTimerActive = false;
    IMemTableGx* FIntMemTable = nullptr;
    std::vector<LeafCol> FLeafFieldArr;
    TBookmark FLockedBookmark;
    int FLookedOffset = 0;
    int FMinAutoFitWidth = 0;
    TShiftState FMouseShift;
    TPoint FMoveMousePos;
    int FNewRowHeight = 0;
    bool FPressed = false;
    TGridCoord FPressedCell{-1, -1};
    int FPressedCol = -1;
    int FPressedDataCol = -1;
    int FPressedDataGroupLevelIdx = -1;
    TRect FTrackingStateRect;
    int FToMoveColumnIndex = -1;
    int FToMoveInRowLinePos = -1;
    TRect FDragCellRect;
    TPoint FTopLeftCellOffset;
    int FRowLines = 0;
    bool FRowSizingAllowed = false;
    bool FSelectionActive = false;
    bool FSelectionAnchorSelected = false;
    TColumnsGxList FSortMarkedColumns;
    std::unique_ptr<TDBGridGxSumList> FSumList;
    bool FSwapButtons = false;
    bool FTimerActive = false;
    int FTimerInterval = 60;
    int FTitleHeight = 0;
    int FTitleHeightFull = 0;
    int FTitleLines = 0;
    bool FTracking = false;
    bool FUpdateFields = true;
    bool FUseMultiTitle = false;
    TScrollBarVisibleModeGx FVertScrollBarVisibleMode = sbAutoShowGx;
    TColumnsGxList FVisibleColumns;
    int FVTitleMargin = 10;
    int FMoveRowSour = -1;
    TBookmark FMoveBookmarkSour;
    int FMoveRowDest = -1;
    int FMoveRowSourLevel = 0;
    int FMoveRowDestLevel = 0;
    int FMoveRowLeftBounds = 0;
    int FDataRowMoveLeftBoundary = 0;
    int FDataRowMoveRightBoundary = 0;
    bool FDataRowMoveVisible = false;
    TGridCoord FOldTopLeft;
    int FTitleRowHeight = 0;
    int FStdDefaultRowHeight = 0;
    bool FColWidthsChanged = false;
    int FInplaceColInRowPanel = -1;
    TShiftState FStartShiftState;
    bool FNoDesigntControler = false;
    TRowDetailPanelControlGx* FRowDetailControl = nullptr;   // a child widget of the grid
    int FHotTrackEditButton = -1;
    bool FHotTrackMultiTitleOver = false;
    TColumnGx* FHotTrackRowPanelColumn = nullptr;   // the row-panel column under the mouse in the hot cell
    TPopupListboxGx* FInTitleFilterListbox = nullptr;
    TColumnGx* FInTitleFilterListboxColumn = nullptr;
    TGridDataGroupLevelGx* FInTitleFilterListboxGroupLevel = nullptr;
    bool FInTitleFilterListboxVisible = false;
    int FExtraFirstColumnWidth = 0;
    bool FInternalUpdatingDatasetPos = false;
    int FGroupDataMovingIndex = -1;
    int FLastVisibleCol = -1;
    QWidget* FDataRowMoveLine = nullptr;   // the record drag's insertion line, a child of the grid

    // ---- the grid's own bookkeeping
    bool FDestroying = false;
    bool FWindowCreated = false;
    bool FCenterRegistered = false;   // the centre was assigned, not only taken at creation   // the first show ran the steps of window creation
    bool FParentFont = true;
    int FLayoutPassCount = 0;
    TCanvas FMeasureCanvas;

    // ================================================================ painting helpers
    // (members that the painting code adds)
    using TCustomGridGx::DrawCellFrame;
    // The 3D (or flat) frame of a fixed cell: raised, or sunken when Down or Edge.
    void DrawCellFrame(TCanvas* ACanvas, const TRect& Rect, bool RightEdge, bool LeftEdge, bool Down, bool Edge);
    bool VertScrollBarFilledElsewhere() const override;
    // The rectangle a 3D cell paints in: grown for themes, moved in a flat grid, else shrunk inside its frame.
    void Adjust3DPaintRect(TRect& Rect, bool Themed) const;
    // Background of a fixed-style cell (themed face, gradient or the brush).
    void PaintCellBackground(bool Themed, const TRect& ARect, bool Is3D, const TRect* Clip, bool Pressed,
                             bool Down);
    // One edit or filter button of a cell, blended over the cell when Transparency (percent) is above 0.
    void PaintCellButton(TColumnGx* Column, TCanvas* ACanvas, TEditButtonStyleGx Style, const TRect& ButtonRect,
                         const TRect& CellRect, bool DroppedDown, bool Hot, bool AFlat, bool Enabled, TColor AColor,
                         TBitmap* Glyph, int Transparency);
    void PaintCellEditButtons(TColumnGx* Column, TGridCoord Cell, const TRect& CellRect, const TRect& Area,
                              bool Is3D, TColor Background);
    bool EditButtonsShownForCell(TColumnGx* Column, TGridCoord Cell);
    // The text of the column in the record Delta rows away as the cell events leave it.
    bool NeighbourCellText(TColumnGx* Column, int DataRow, int Delta, QString& Text);
    void PaintCheckBoxInCell(const TRect& Area, TCheckBoxState CheckState);
    void PaintIncSearchText(TColumnGx* Column, const TRect& Area, const TColCellParamsGx& Params, int TextOffset,
                            int TopOffset);
    // Highlight colours of indicator, title (dark kind) and footer cells.
    bool CalcHighlightColorsGx(bool Selected, bool DarkKind, TColor& AColor, TFont* AFont);
    // Cell text through the grid's text painter.
    void WriteCellText(TColumnGx* Column, const TRect& ARect, bool FillRect, int DX, int DY, const QString& Text,
                       TAlignment Alignment, TTextLayoutGx Layout, bool MultiLine, bool EndEllipsis, int LeftMarg,
                       int RightMarg);
    // The band of Node's host above Node, and the bands above it.
    void PaintTitleBand(int ACol, THeadTreeNode* Node, const TRect& Cell, int NodeLeft, int NodeTop,
                        bool EndEllipsis, bool Highlighted, bool Themed);
    int FooterGridRow(int Row) const;
    void PaintRecNoText(const TRect& Box, int Number);
    void CheckBufferedPaint();
    bool HideRowDetailPanelForMove();
    // The record drag's dotted insertion line (drawn and hidden in turn).
    void DrawDataRowMoveLine();
    void HideDataRowMoveLine();
    bool IsTreeMode() const;
    enum TRowPanelKindGx { rpkTitleGx, rpkDataGx, rpkFooterGx };
    // A column's rectangle inside a panel cell (title-type or data place).
    TRect RowPanelColumnRect(TColumnGx* Column, const TRect& Cell, bool DataCell) const;
    // The editor's place over the current panel column.
    TRect RowPanelEditRect();
    void PaintRowPanel(TRowPanelKindGx Kind, int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    // The tree area and the row-detail sign at the left of the first visible column; Rect loses their width.
    void PaintFirstColumnSigns(TColumnGx* Column, int DataRow, TGridDrawState State, bool RowHasDetailPanel,
                               TRect& Rect);
    TGridOptions EffectiveSizingOptions() const;
    bool CalcFrozenSizingState(int X, int Y, int& SizingOfs, int& SizingPos, int& Index, TDBGridGxState& State);
    bool IsOnSizingBorder(int X, int Y);
    bool CalcRowPanelSizingState(int X, int Y, int& SizingOfs, int& SizingPos, int& Index, TGridState& State);
    bool IsRowPanelTitleCell(int X, int Y);
    void DrawFrozenSizingLine(int Width, int Height);
    bool FFilterCellHighlighted = false;
    bool FTitleSignHot = false;

    // ================================================================ filter row helpers
    void FilterEditorKeyPress(QChar& Key);
    void FilterEditorClosingUp(bool& Accept);
    void FilterEditorGetItems();
    void MoveToFilterColumn(int DataCol);
    int NextFilterColumn(int From, int Direction);
    bool InTitleListboxKeyDown(WORD Key, TShiftState Shift);
    bool ForwardKeyToFilterEditor(QChar Key);
    void FilterEditorTakeFocus();
    // A column goes: the filter editor forgets it.
    void FilterColumnGoes(TColumnGx* Column);
    bool FFilterEditGivesFocus = false;   // the filter editor hands the focus back to the grid
    void InTitleListboxKeyPress(QChar& Key);

    // ================================================================ interaction helpers
    // (members that the keyboard, mouse and editing code adds)
public:
    // The class library's action answers for the five edit actions: whether the
    // grid answers the action (and, for an update, whether it is enabled).
    bool UpdateAction(TDBGridGxEditAction Action, bool& Enabled) { return UpdateEditAction(Action, Enabled); }
    bool ExecuteAction(TDBGridGxEditAction Action) { return ExecuteEditActionIfAnswered(Action); }
    const QString& InplaceSearchText() const { return FInplaceSearchText; }
    // The auto-scroll timer's interval; -1 while it does not run.
    int AutoScrollInterval() const { return FTimerActive ? FTimerInterval : -1; }
    void ClearSelection();
    void ClearSelectionIfNeeded();
    void MoveBySelecting(bool Select, int Distance, bool RowsOnly, bool ToEnd);

private:
    friend class TDBGridInplaceEdit;
    TColumnGx* CurrentColumnGx() const;
    bool DataSetCanBeChanged() const;
    bool InsertingUntouched() const;
    void MarkCurrentRecord(bool Selected);
    void MoveOrJump(int Distance, bool ToEnd);
    void RepaintFocusChange();
    void GoToNextRecord(bool Select, TShiftState Shift);
    void GoToPriorRecord(bool Select, TShiftState Shift);
    void TabToColumn(bool Forward);
    void SelectVisibleColumn(bool Last, bool ExtendRect);
    void StepVisibleColumn(int Direction, bool ExtendRect);
    void DeleteRecords();
    void FocusRowDetailPanel();
    // Ctrl+Down: shows and focuses the current record's detail panel; whether it did.
    bool ShowRowDetailPanelFromKey();
    // Numeric-pad *, + and -: toggle, expand or collapse the current tree node, or else the detail panel.
    bool ToggleNodeOrDetailByKey(WORD Key);
    // The grid's character handling that the editor's characters pass too.
    void DataKeyPress(QChar& Key);
    int VisibleDataRowCount();
    static bool PointInRect(const TPoint& P, const TRect& R);
    TColumnGx* ColumnAtRaw(int ACol) const;
    bool InColumnSelectZone(int X, int Y);
    void TrackButton(int X, int Y);
    void DataMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, TGridCoord Cell, int DataCol);
    // Row-panel mode: the column under a point of a panel (title-type or data place), with the
    // panel's cell; the presses on data and titles; sizing ended inside the panel; a double click
    // on a column's border fits it to its neighbour; the place a dragged column would go.
    TColumnGx* RowPanelColumnAt(int X, int Y, bool TitleType, TRect* Cell = nullptr);
    void RowPanelDataMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, TGridCoord Cell);
    bool RowPanelTitleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void RowPanelSizingMouseUp(TShiftState Shift, int X, int Y);
    void FitRowPanelColumn(int Index);
    void RowPanelMoveTarget(int X, int Y, int& Line, int& Target);
    // Row-panel keys: Left/Right and Up/Down from cell to cell; whether the key was taken.
    bool RowPanelNavKey(WORD Key, TShiftState Shift);
    // Presses the editor's button under a grid point at once.
    void PressEditorButtonAt(int X, int Y);
    // A click in a cell's place opens the editor when the editor is always shown, the cell
    // was current already or the click hit the cell's buttons; a button hit is pressed.
    void OpenEditorOnClick(TColumnGx* Column, const TRect& Place, int X, int Y, bool WasCurrent);
    bool FPressedAsButton = false;        // the pressed row-panel title is a title button
    bool FFrozenLineSizing = false;       // a frozen column is sized with the dotted line
    int FPressedRowPanelColumn = -1;      // the check-box column pressed inside a panel
    void LiveColumnSizing(int X);
    void ShowSelectCursor(int X, int Y);
    // Composed input-method text opens the cell editor and goes into it.
    bool event(QEvent* e) override;
    bool UpdateEditAction(TDBGridGxEditAction action, bool& Enabled);
    bool ExecuteEditActionIfAnswered(TDBGridGxEditAction action);
    void SetAutoScrollTimer(int Interval);
    void RestartSearchTimer();
    void StopSearchTimer();
    void OpenFindDialog(const QString& Text);
    // Optimal widths: of the title, of the current record's text, of the footers.
    int OptimalTitleWidth(TColumnGx* Column);
    int OptimalDataWidth(TColumnGx* Column);
    int OptimalFooterWidth(TColumnGx* Column);
    // Wheel deltas add up to notches of 120; each whole notch is one wheel step.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    int FWheelDelta = 0;

    // ================================================================ memory table and data grouping
public:
    IMemTableGx* MemTableIntf() const { return FIntMemTable; }
    // A notice of the memory table: 0 inserted, 1 changed, 2 deleted, 3 moved (from Param), 4 rebuilt.
    void MemTableDataEvent(int RecNum, int EventType, int Param);
    int GroupRowHeight(TGroupDataTreeNodeGx* Node);
    void UpdateExtraFirstColumnWidth();
    int WidthWithExtra(TColumnGx* Column, int Width);
    int WidthWithoutExtra(TColumnGx* Column, int Width);
    void GotoGroupNode(TGroupDataTreeNodeGx* Node, bool Expand);
    void GotoVisibleGroupNode(TGroupDataTreeNodeGx* Node, bool Expand);
    int MoveGroupRows(int Distance);
    void SyncDataSetToGroupNode();
    void GotoGroupRecordByViewNo(int ViewNo, bool Expand);
    bool GroupRowKeyDown(WORD& Key, TShiftState Shift);
    // The group-tree node shown in a data row (none without working grouping).
    TGroupDataTreeNodeGx* GroupNodeAtDataRow(int DataRow) const;
    TGroupDataTreeNodeGx* CurGroupDataNode() const { return FCurGroupDataNode; }
    void UpdateGroupPanelTopIndent();
    void CalcGroupLevelRects();
    void GroupPanelDropPosition(int X, int& DropIndex, int& BoxHeight, int& LinePos);
    void GroupPanelTitleMoving(TShiftState Shift, int X, int Y);
    void EndGroupPanelTitleMoving(bool Accept, int X, int Y);
    void GroupPanelTitleClick();
    std::function<void(QObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)> OnMouseWheelDown;
    std::function<void(QObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)> OnMouseWheelUp;

private:
    void AttachMemTable(IMemTableGx* Table);
    bool MemTableNotice(QEvent* e);
    void MemTableSelectDrawRecord(int DataRow);
    void MemTableRestoreDrawRecord();
    int MemTableDrawRecordCount();
    bool MemTableIsDrawRecordCurrent(int DataRow);
    void MemTableUpdateRowCount();
    void MemTableUpdateActiveRow(int Distance);
    void MemTableFetchRecords();
    void MemTableUpdateScrollBar();
    void MemTableVertScroll(int ScrollCode, int Pos);
    bool MemTableWheel(bool Down, TShiftState Shift, TPoint MousePos);
    void MemTableTopLeftChanged(const TGridCoord& OldTopLeft);
    void ApplyVertScrollInfo(TScrollInfo si, const TScrollInfo& old);
    TColor GroupLineColor();
    void PaintGroupIndent(int Index, TGroupDataTreeNodeGx* Node, const TRect& ARect, int Levels);
    int GroupPanelLevelAt(int X, int Y);
    void ShowGroupPanelMoveLine(int X);
    // Whether a client point lies over the shown grouping panel.
    bool OverGroupPanel(const TPoint& P);
    // The shared move line, Height high, standing at P.
    void ShowMoveLineAt(const TPoint& P, int Height);
    bool FColMoveOverGroupPanel = false;
    void AddGroupLevelForColumn(TColumnGx* Column, int X);
    bool GroupPanelMouseMove(TShiftState Shift, int X, int Y);
    bool GroupPanelMouseUp(int X, int Y);
    bool GroupRowMouseDown(int X, int Y, int DataCol);
    bool FPressedInBox = false;
};

// The grid the forms place: every property of the custom grid published.
class TDBGridGx : public TCustomDBGridGx {
public:
    explicit TDBGridGx(QWidget* AOwner = nullptr) : TCustomDBGridGx(AOwner) {}
};
