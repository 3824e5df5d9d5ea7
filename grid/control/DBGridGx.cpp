// The data grid object: creation and destruction, what the columns and the data
// link ask of it, and its properties.
#include "DBGridGx.h"
#include "DBGridGxGrouping.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxPaintIndicatorTitle.h"
#include "DBGridGxParts.h"
#include "DBGridGxStyle.h"
#include "DBGridGxUnit.h"
#include "grid/support/EditButtonPaintGx.h"
#include "grid/support/MemTableGx.h"
#include "platform/db/DataSet.h"

TGridDrawStateGx ToGridDrawStateGx(TGridDrawState state)
{
    TGridDrawStateGx bits = 0;
    if (state.contains(gdSelected)) bits |= gdsSelected;
    if (state.contains(gdFocused)) bits |= gdsFocused;
    if (state.contains(gdFixed)) bits |= gdsFixed;
    if (state.contains(gdHotTrack)) bits |= gdsHotTrack;
    if (state.contains(gdCurrent)) bits |= gdsCurrent;
    return bits;
}

// ---------------------------------------------------------------- creation

TCustomDBGridGx::TCustomDBGridGx(QWidget* AOwner) : TCustomGridGx(AOwner)
{
    FLocks.Rebuild = [this] { PerformLayout(); };
    FLocks.ColumnsUpdate = [this](bool begin) {
        if (FColumns)
            begin ? FColumns->BeginUpdate() : FColumns->EndUpdate();
    };
    FLocks.HasWindow = [this] { return HandleAllocated(); };
    FLocks.Released = [this] {
        if (FSizeChanged)
            UpdateAfterResize();
    };

    // The shared style (registered for its changes) and centre (plain reference).
    UseGlobalStyle();
    FCenter = DBGridGxGlobalCenter();

    TCustomGridGx::SetDefaultDrawing(false);
    FAcquireFocus = true;
    FGridRowPanel = std::make_unique<TGridRowPanelGx>(this);
    FIndicatorOffset = 1;
    FUpdateFields = true;
    DesignOptionsBoost = goColSizing;
    VirtualView = true;

    DBGridGxAddGridInstance();

    SetScrollBarsStyle(TScrollStyle::ssBoth);
    SetBaseOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing | goColMoving |
                   goEditing | goTabs | goExtendVertLines);

    FColumnDefValues = CreateColumnDefValues();
    FColumns = CreateColumns();

    TCustomGridGx::SetRowCount(2);
    TCustomGridGx::SetColCount(2);
    FDataLink = std::make_unique<TGridDataLinkGx>(this);

    TCustomControl::SetColor(clWindow);
    FFooterColor = clWindow;
    TCustomControl::SetParentColor(false);

    FTitleFont.Assign(*TCustomControl::Font());
    FTitleFont.OnChange = [this] { TitleFontChanged(); };

    TCustomGridGx::SetSaveCellExtents(false);
    FUserChange = true;
    FDefaultDrawing = true;
    FBookmarks = std::make_unique<TBookmarkListGx>(this);

    HideEditor();

    FTitleHeight = 0;
    FTitleHeightFull = 0;
    FTitleLines = 0;
    FLeafFieldArr.clear();
    FHeadTree = std::make_unique<THeadTreeNode>(QStringLiteral("Root"), 10, 0);
    FVTitleMargin = 10;
    FHTitleMargin = 0;
    FUseMultiTitle = false;
    FRowSizingAllowed = false;
    FDefaultRowChanged = false;

    FSumList = std::make_unique<TDBGridGxSumList>(nullptr);
    FSumList->SumListChanged = [this](TDBSumListProducer*) { SumListChanged(); };
    FSumList->OnRecalcAll = [this](TDBSumListProducer*) { SumListRecalcAll(); };
    FSumList->OnAfterRecalcAll = [this](TDBSumListProducer*) { SumListAfterRecalcAll(); };

    FHorzScrollBar = CreateScrollBar(sbHorizontalGx);
    FVertScrollBar = CreateScrollBar(sbVerticalGx);

    FPressedCol = -1;
    FPressedDataCol = -1;
    FTopLeftVisible = true;
    FSelection = std::make_unique<TDBGridGxSelection>(this);

    FFooterFont.Assign(*TCustomControl::Font());
    FFooterFont.OnChange = [this] { FooterFontChanged(); };
    FInterlinear = 4;

    FTryUseMemTableInt = true;
    FSTFilter = std::make_unique<TSTDBGridGxFilter>(this);

    FEvenRowColorStored = false;
    FOddRowColorStored = false;
    FOldActiveRecord = -1;
    FIndicatorTitle = std::make_unique<TDBGridGxIndicatorTitle>(this);

    FRecNoTextWidth = CalcIndicatorColWidth();
    FOldTopLeft = TopLeft();
    FStdDefaultRowHeight = CalcStdDefaultRowHeight();

    FDataGrouping = std::make_unique<TDBGridGxDataGroupsGx>(this);
    FRowDetailPanel = std::make_unique<TRowDetailPanelGx>(this);
    FRowDetailControl = new TRowDetailPanelControlGx(this);
    FRowDetailControl->setObjectName(QStringLiteral("RowDetailData"));
    FRowDetailControl->setVisible(false);
    FRowDetailControl->setGeometry(0, 0, 0, 0);

    UpdateGridDataWidth();
    UpdateGridDataHeight();

    // The button metrics of window creation; its layout steps follow at the first show.
    CalcEditButtonMetrics();
}

TCustomDBGridGx* TCustomDBGridGx::CreateNew(QWidget* AOwner, int)
{
    auto* grid = new TCustomDBGridGx(AOwner);
    grid->FNoDesigntControler = true;
    return grid;
}

TCustomDBGridGx::~TCustomDBGridGx()
{
    FDestroying = true;
    FLocks.Rebuild = nullptr;
    FLocks.ColumnsUpdate = nullptr;
    FLocks.Released = nullptr;
    FDataLink->SetDataSource(nullptr);
    FIndicatorTitle.reset();
    FIntMemTable = nullptr;
    if (FStyle)
        FStyle->RemoveChangeNotification(this);
    if (FCenter && FCenterRegistered)
        FCenter->RemoveChangeNotification(this);
    FSelection->Clear();
    FDataGrouping.reset();
    FDrawnGroupList.clear();
    FSortMarkedColumns.Clear();
    FVisibleColumns.Clear();
    FColumns.reset();
    FColumnDefValues.reset();
    FDataLink.reset();
    FHorzScrollBar.reset();
    FVertScrollBar.reset();
    FTitleFont.OnChange = nullptr;
    FBookmarks.reset();
    DBGridGxRemoveGridInstance();
    FLeafFieldArr.clear();
    FHeadTree.reset();
    FSumList.reset();
    FSelection.reset();
    FFooterFont.OnChange = nullptr;
    FSTFilter.reset();
    FHintFont.reset();
    FRowDetailPanel.reset();
    FGridRowPanel.reset();
}

void TCustomDBGridGx::CalcEditButtonMetrics()
{
    if (Flat())
        FInplaceEditorButtonWidth = GetDefaultFlatButtonWidth();
    else
        FInplaceEditorButtonWidth = GetSystemMetrics(SM_CXVSCROLL);
    if (FStdDefaultRowHeight <= qRound(FInplaceEditorButtonWidth * 3.0 / 2.0))
        FInplaceEditorButtonHeight = FStdDefaultRowHeight;
    else
        FInplaceEditorButtonHeight = DefaultEditButtonHeight(FInplaceEditorButtonWidth, Flat());
}

void TCustomDBGridGx::CreateWnd()
{
    // A flat grid draws its own one-pixel border around the client area.
    FBorderWidth = Flat() && BorderStyle() == bsSingleGx ? 1 : 0;
    {
        BeginUpdateGx();
        struct End {
            TCustomDBGridGx* g;
            ~End() { g->EndUpdateGx(); }
        } end{this};
        CalcEditButtonMetrics();
    }
    if (FAutoFitColWidths || RowPanelActive())
        LayoutChanged();
    else if (FLocks.LayoutLock() == 0 && !Loading()) {
        SetColWidthsFromColumns();
        UpdateRowCount();
        UpdateActiveRow();
    }
    UpdateScrollBar();
    UpdateGroupPanelTopIndent();
    LayoutChanged();
    FOriginalImeMode = FImeMode;
    FOriginalImeName = FImeName;
}

void TCustomDBGridGx::showEvent(QShowEvent* e)
{
    TCustomGridGx::showEvent(e);
    if (!FWindowCreated) {
        FWindowCreated = true;
        CreateWnd();
    }
}

// ---------------------------------------------------------------- what the columns ask

TDataSet* TCustomDBGridGx::DataSet() const
{
    return FDataLink ? FDataLink->DataSet() : nullptr;
}

TDataSource* TCustomDBGridGx::DataSource() const
{
    return FDataLink ? FDataLink->DataSource() : nullptr;
}

TCanvas* TCustomDBGridGx::Canvas()
{
    if (Painting())
        return TCustomControl::Canvas();
    FMeasureCanvas.SetFont(*TCustomControl::Font());
    return &FMeasureCanvas;
}

bool TCustomDBGridGx::HandleAllocated() const
{
    // The control's window exists from construction on; a grid being torn down has none.
    return !FDestroying;
}

bool TCustomDBGridGx::FilterButtonsInTitle() const
{
    return FSTFilter && FSTFilter->Visible() && FSTFilter->Location() == stflInTitleFilterGx;
}

bool TCustomDBGridGx::RowPanelActive() const
{
    return FGridRowPanel && FGridRowPanel->Active();
}

bool TCustomDBGridGx::ShownRowBookmarks(std::vector<TBookmark>& Bookmarks, int& FirstRow)
{
    TDataSet* ds = DataSet();
    // A record being edited is not left to read the others.
    if (!FIntMemTable || !ds || ds->State() == dsEdit || ds->State() == dsInsert)
        return false;
    FirstRow = TopRow();
    const int last = std::min(TopRow() + VisibleRowCount(), RowCount() - 1);
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    const bool grouped = FDataGrouping->IsGroupingWorks() && tree->FlatVisibleCount() > 0;
    // Reading a row gives the fields, not the bookmark: the dataset moves to each row's record
    // and comes back.
    const TBookmark saved = ds->GetBookmark();
    ds->DisableControls();
    struct Back {
        TDataSet* ds;
        const TBookmark& at;
        ~Back()
        {
            if (!at.IsEmpty() && ds->BookmarkValid(at))
                ds->GotoBookmark(at);
            ds->EnableControls();
        }
    } back{ds, saved};
    for (int row = FirstRow; row <= last; ++row) {
        const int dataRow = row - TopDataOffset();
        if (dataRow < 0 || dataRow >= DrawRecordCount())
            break;
        int view = dataRow;
        if (grouped) {
            TGroupDataTreeNodeGx* node = tree->FlatVisibleNode(dataRow);
            if (!node || node->NodeType() != dntDataSetRecordGx) {
                Bookmarks.push_back(TBookmark());   // a group row holds no record
                continue;
            }
            view = node->DataSetRecordViewNo();
        }
        FIntMemTable->SetCurRecordView(view);
        Bookmarks.push_back(ds->GetBookmark());
    }
    return true;
}

bool TCustomDBGridGx::RowPanelTabsLeftToRight() const
{
    return RowPanelActive() && FGridRowPanel->TabNavigationType() == rpntLeftToRightPriorityGx;
}

int TCustomDBGridGx::SelectedIndex() const
{
    if (RowPanelActive())
        return FInRowPanelCol;
    return Col() - FIndicatorOffset;
}

void TCustomDBGridGx::SetSelectedIndex(int index)
{
    SelectColumnIndex(index, 0, false);
}

int TCustomDBGridGx::OriginCol() const
{
    return RowPanelActive() ? FInRowPanelCol + FIndicatorOffset : Col();
}

int TCustomDBGridGx::DataToRawColumn(int DataCol) const
{
    return RowPanelActive() ? FIndicatorOffset : DataCol + FIndicatorOffset;
}

int TCustomDBGridGx::FieldCount() const
{
    return FDataLink ? FDataLink->FieldCount() : 0;
}

TField* TCustomDBGridGx::SelectedField() const
{
    const int index = SelectedIndex();
    if (!FColumns || index < 0 || index >= FColumns->Count())
        return nullptr;
    return FColumns->GetColumn(index)->Field();
}

void TCustomDBGridGx::RaiseGridError(const QString& message)
{
    ::RaiseGridError(message);
}

bool TCustomDBGridGx::InplaceEditorVisible() const
{
    return InplaceEditor() && InplaceEditor()->Visible();
}

QString TCustomDBGridGx::InplaceEditorText() const
{
    return InplaceEditor() ? InplaceEditor()->Text() : QString();
}

bool TCustomDBGridGx::EditingAllowedForCurrentRecord() const
{
    TDataSet* ds = DataSet();
    if (ds && ds->State() == dsInsert)
        return FAllowedOperations.Contains(alopInsertGx) || FAllowedOperations.Contains(alopAppendGx);
    return FAllowedOperations.Contains(alopUpdateGx);
}

void TCustomDBGridGx::ColumnDestroying(TColumnGx* column)
{
    FSortMarkedColumns.Remove(column);
    FVisibleColumns.Remove(column);
    if (FSelection)
        FSelection->Columns().Forget(column);
    if (FInTitleFilterListboxColumn == column) {
        FInTitleFilterListboxColumn = nullptr;
        if (FInTitleFilterListbox && FInTitleFilterListboxVisible) {
            FInTitleFilterListbox->hide();
            FInTitleFilterListboxVisible = false;
        }
    }
    FilterColumnGoes(column);
    for (LeafCol& leaf : FLeafFieldArr)
        if (leaf.FColumn == column)
            leaf.FColumn = nullptr;
}

void TCustomDBGridGx::DataLayoutChanged()
{
    const bool saved = FLayoutFromDataset;
    FLayoutFromDataset = true;
    struct Restore {
        TCustomDBGridGx* g;
        bool v;
        ~Restore() { g->FLayoutFromDataset = v; }
    } restore{this, saved};
    LayoutChanged();
}

TDBGridGxSelectionType TCustomDBGridGx::SelectionType() const
{
    return FSelection ? FSelection->SelectionType() : gstNon;
}

void TCustomDBGridGx::SelectRecordBookmarks()
{
    if (!FSelection)
        return;
    if (FSelection->SelectionType() != gstRecordBookmarks) {
        FSelection->Clear();
        FSelection->SetSelectionType(gstRecordBookmarks);
    }
}

void TCustomDBGridGx::SelectionUpdateState()
{
    if (FSelection)
        FSelection->UpdateState();
}

void TCustomDBGridGx::SharedObjectGone(const void* object)
{
    if (object == FStyle)
        FStyle = nullptr;
    if (object == FCenter)
        FCenter = nullptr;
}

bool TCustomDBGridGx::IndicatorTitleUseGlobalMenu() const
{
    return FIndicatorTitle ? FIndicatorTitle->UseGlobalMenu() : true;
}

QMenu* TCustomDBGridGx::IndicatorTitleDropdownMenu() const
{
    return FIndicatorTitle ? FIndicatorTitle->DropdownMenu() : nullptr;
}

// ---------------------------------------------------------------- fonts and sums

void TCustomDBGridGx::TitleFontChanged()
{
    if (!FSelfChangingTitleFont && !Loading())
        FParentFont = false;
    if (FOptions.Contains(dgTitles))
        LayoutChanged();
}

void TCustomDBGridGx::FooterFontChanged()
{
    if (!FSelfChangingFooterFont && !Loading())
        FParentFont = false;
    if (FFooterRowCount > 0)
        LayoutChanged();
}

void TCustomDBGridGx::SumListChanged()
{
    InvalidateFooter();
}

void TCustomDBGridGx::SumListRecalcAll()
{
    FSumListRecalcing = true;
    if (OnSumListRecalcAll)
        OnSumListRecalcAll(this);
}

void TCustomDBGridGx::SumListAfterRecalcAll()
{
    FSumListRecalcing = false;
    if (OnSumListAfterRecalcAll)
        OnSumListAfterRecalcAll(this);
}

// ---------------------------------------------------------------- measuring

int TCustomDBGridGx::MeasureTextHeight(const TFont& AFont, const QString& Text)
{
    TCanvas canvas;
    canvas.SetFont(AFont);
    return canvas.TextHeight(Text);
}

int TCustomDBGridGx::CalcStdDefaultRowHeight()
{
    int h = MeasureTextHeight(*TCustomControl::Font(), QStringLiteral("Wg")) + 1;
    if (!Flat())
        h += 2;
    if (FOptions.Contains(dgRowLines))
        h += GridLineWidth();
    return h;
}

bool TCustomDBGridGx::IsMouseInRect(const TRect& ARect)
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    return PtInRect(ARect, TPoint{p.x(), p.y()});
}
