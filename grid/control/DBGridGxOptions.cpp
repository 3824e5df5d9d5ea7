// The data grid's option sets and its property setters.
#include "DBGridGx.h"
#include "DBGridGxCells.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxPaintIndicatorTitle.h"
#include "DBGridGxParts.h"
#include "DBGridGxStyle.h"
#include "DBGridGxUnit.h"
#include "platform/gui/ImageList.h"

void TCustomDBGridGx::SetBaseOption(TGridOptions Option, bool On)
{
    const TGridOptions current = BaseOptions();
    const TGridOptions next = On ? (current | Option) : (current & ~Option);
    if (next != current)
        SetBaseOptions(next);
}

// ---------------------------------------------------------------- option sets

void TCustomDBGridGx::SetOptions(TDBGridOptions Value)
{
    if (Value == FOptions)
        return;
    TGridOptionsStateGx s;
    s.Options = FOptions;
    s.OptionsGx = FOptionsGx;
    s.RowSizingAllowed = FRowSizingAllowed;
    TranslateOptionsGx(s, Value);
    TGridOptions base = 0;
    if (FOptionsGx.Contains(dghExtendVertLines)) base |= goExtendVertLines;
    if (FRowSizingAllowed) base |= goRowSizing;
    if (s.Base.FixedVertLine) base |= goFixedVertLine;
    if (s.Base.VertLine) base |= goVertLine;
    if (s.Base.FixedHorzLine) base |= goFixedHorzLine;
    if (s.Base.HorzLine) base |= goHorzLine;
    if (s.Base.Tabs) base |= goTabs;
    if (s.Base.RowSelect) base |= goRowSelect;
    if (s.Base.Editing) base |= goEditing;
    if (s.Base.AlwaysShowEditor) base |= goAlwaysShowEditor;
    // Column sizing and moving stay as the reconciliation left them.
    base |= BaseOptions() & (goColSizing | goColMoving);
    SetBaseOptions(base);

    if (FOptions.Contains(dgMultiSelect) && !Value.Contains(dgMultiSelect)) {
        if (FBookmarks)
            FBookmarks->Clear();
        if (FSelection)
            FSelection->Clear();
    }
    if (!Loading())
        ReconcileColumnOptions(Value, FOptionsGx, false);
    const TDBGridOptions old = FOptions;
    // The reconciliation may have changed dgColumnResize of the stored set only
    // when the value did not change it.
    TDBGridOptions stored = StoredOptionsGx(Value);
    if (old.Contains(dgColumnResize) == Value.Contains(dgColumnResize))
        stored.Set(dgColumnResize, FOptions.Contains(dgColumnResize));
    FOptions = stored;
    if (OptionsChangeNeedsLayoutGx(old, FOptions))
        LayoutChanged();
    if (InplaceEditorVisible())
        InvalidateEditor();
}

void TCustomDBGridGx::SetOptionsGx(TDBGridGxOptions Value)
{
    if (Value == FOptionsGx)
        return;
    if (FOptionsGx.Contains(dghMultiSortMarking) && !Value.Contains(dghMultiSortMarking)) {
        // a changed marker rebuilds the list: walk a copy
        std::vector<TColumnGx*> marked;
        for (int i = 1; i < FSortMarkedColumns.Count(); ++i)
            marked.push_back(FSortMarkedColumns[i]);
        for (TColumnGx* c : marked)
            if (c)
                c->Title()->SetSortMarker(smNoneGx);
    }
    if (!Loading())
        ReconcileColumnOptions(FOptions, Value, true);
    SetBaseOption(goExtendVertLines, Value.Contains(dghExtendVertLines));
    const bool autoFitRowHeightChanged =
        FOptionsGx.Contains(dghAutoFitRowHeight) != Value.Contains(dghAutoFitRowHeight);
    FOptionsGx = Value;
    if (autoFitRowHeightChanged)
        UpdateAllDataRowHeights();
    LayoutChanged();
}

void TCustomDBGridGx::ReconcileColumnOptions(TDBGridOptions O, TDBGridGxOptions E, bool FromOptionsGx)
{
    TGridOptionsStateGx s;
    s.Options = FOptions;
    s.OptionsGx = FOptionsGx;
    s.RowSizingAllowed = FRowSizingAllowed;
    ReconcileColumnOptionsGx(s, O, E, FromOptionsGx);
    FOptions = s.Options;
    if (!FromOptionsGx)
        FOptionsGx = s.OptionsGx;
    SetBaseOption(goColSizing, s.Base.ColSizing);
    SetBaseOption(goColMoving, s.Base.ColMoving);
}

void TCustomDBGridGx::SetRowSizingAllowed(bool Value)
{
    if (Value == FRowSizingAllowed)
        return;
    FRowSizingAllowed = Value;
    SetBaseOption(goRowSizing, Value);
}

bool TCustomDBGridGx::IsSelectionTypeAllowed(TDBGridGxSelectionType SelectionType) const
{
    if (SelectionType == gstNon)
        return true;
    if (!FOptions.Contains(dgMultiSelect) || !FAllowedSelections.Contains(SelectionType))
        return false;
    if (SelectionType == gstRecordBookmarks || SelectionType == gstAll)
        return true;
    return !FOptions.Contains(dgRowSelect);
}

void TCustomDBGridGx::SetAllowedSelections(TDBGridGxAllowedSelections Value)
{
    if (Value == FAllowedSelections)
        return;
    FAllowedSelections = Value;
    if (FSelection && FSelection->SelectionType() != gstNon && !Value.Contains(FSelection->SelectionType()))
        FSelection->Clear();
}

// ---------------------------------------------------------------- metric setters

void TCustomDBGridGx::SetTitleHeight(int Value)
{
    FTitleHeight = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetTitleLines(int Value)
{
    FTitleLines = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetVTitleMargin(int Value)
{
    FVTitleMargin = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetMinAutoFitWidth(int Value)
{
    FMinAutoFitWidth = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetUseMultiTitle(bool Value)
{
    FUseMultiTitle = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetFrozenCols(int Value)
{
    if (Value == FFrozenCols || Value < 0)
        return;
    FFrozenCols = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetFooterRowCount(int Value)
{
    if (Value == FFooterRowCount || Value < 0)
        return;
    AcquireMemTable();
    FFooterRowCount = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetRowHeight(int Value)
{
    if (Value < 0)
        Value = 0;
    if (Value == FNewRowHeight)
        return;
    FNewRowHeight = Value;
    LayoutChanged();
    UpdateAllDataRowHeights();
}

void TCustomDBGridGx::SetRowLines(int Value)
{
    if (Value < 0)
        Value = 0;
    if (Value == FRowLines)
        return;
    FRowLines = Value;
    LayoutChanged();
    UpdateAllDataRowHeights();
}

void TCustomDBGridGx::SetTitleFont(const TFont& Value)
{
    FSelfChangingTitleFont = true;
    FTitleFont.Assign(Value);
    FSelfChangingTitleFont = false;
    if (FOptions.Contains(dgTitles))
        LayoutChanged();
}

void TCustomDBGridGx::SetFooterFont(const TFont& Value)
{
    FSelfChangingFooterFont = true;
    FFooterFont.Assign(Value);
    FSelfChangingFooterFont = false;
    if (FFooterRowCount > 0)
        LayoutChanged();
}

void TCustomDBGridGx::SetFooterColor(TColor Value)
{
    if (!Loading())
        TCustomControl::SetParentColor(false);
    FFooterColor = Value;
    if (FFooterRowCount > 0)
        InvalidateWholeGrid();
}

void TCustomDBGridGx::SetAutoFitColWidths(bool Value)
{
    if (Value == FAutoFitColWidths)
        return;
    FAutoFitColWidths = Value;
    if (Designing())
        return;
    if (Value) {
        if (!Loading())
            for (int i = 0; i < FColumns->Count(); ++i)
                FColumns->GetColumn(i)->SetInitWidth(FColumns->GetColumn(i)->Width());
        SetScrollBarsStyle(TScrollStyle::ssVertical);
    } else {
        FColumns->BeginUpdate();
        for (int i = 0; i < FColumns->Count(); ++i)
            FColumns->GetColumn(i)->SetWidth(FColumns->GetColumn(i)->InitWidth());
        FColumns->EndUpdate();
        SetScrollBarsStyle(TScrollStyle::ssBoth);
    }
    if (Value && FixedCols() < TCustomGridGx::ColCount())
        SetLeftCol(FixedCols());
    LayoutChanged();
}

void TCustomDBGridGx::SetInterlinear(int Value)
{
    FInterlinear = Value;
    LayoutChanged();
}

void TCustomDBGridGx::BorderStyleChanged()
{
    CreateWnd();
    InvalidateWholeGrid();
}

void TCustomDBGridGx::FlatChanged()
{
    FInterlinear = Flat() ? 2 : 4;
    CreateWnd();
    LayoutChanged();
}

// ---------------------------------------------------------------- small setters

void TCustomDBGridGx::SetColor(TColor Value)
{
    TCustomControl::SetColor(Value);
    InvalidateWholeGrid();
}

void TCustomDBGridGx::SetDrawMemoText(bool Value)
{
    FDrawMemoText = Value;
    InvalidateWholeGrid();
}

void TCustomDBGridGx::SetDrawGraphicData(bool Value)
{
    FDrawGraphicData = Value;
    InvalidateWholeGrid();
}

void TCustomDBGridGx::SetEditButtonsShowOptions(TEditButtonsShowOptionsGx Value)
{
    if (Value == FEditButtonsShowOptions)
        return;
    FEditButtonsShowOptions = Value;
    InvalidateWholeGrid();
}

void TCustomDBGridGx::SetReadOnly(bool Value)
{
    if (Value == FReadOnly)
        return;
    FReadOnly = Value;
    InvalidateWholeGrid();
    if (!Loading())
        SetColWidthsFromColumns();
}

void TCustomDBGridGx::SetContraColCount(int Value)
{
    if (Value < 0)
        ::RaiseGridError(QStringLiteral("FContraColCount can not be negative."));
    if (Value == FContraColCount)
        return;
    FContraColCount = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetEvenRowColor(TColor Value)
{
    FEvenRowColorStored = true;
    if (Value == FEvenRowColor)
        return;
    FEvenRowColor = Value;
    InvalidateWholeGrid();
}

void TCustomDBGridGx::SetOddRowColor(TColor Value)
{
    FOddRowColorStored = true;
    if (Value == FOddRowColor)
        return;
    FOddRowColor = Value;
    InvalidateWholeGrid();
}

void TCustomDBGridGx::SetTitleImages(TImageList* Value)
{
    if (Value == FTitleImages)
        return;
    FTitleImages = Value;
    LayoutChanged();
}

void TCustomDBGridGx::SetHorzScrollBar(const TDBGridGxScrollBar& Value) { FHorzScrollBar->Assign(Value); }
void TCustomDBGridGx::SetVertScrollBar(const TDBGridGxScrollBar& Value) { FVertScrollBar->Assign(Value); }
void TCustomDBGridGx::SetSumList(const TDBGridGxSumList& Value)
{
    FSumList->SetSumCollection(*Value.SumCollection());
    FSumList->SetActive(Value.Active());
}
void TCustomDBGridGx::SetDataGrouping(const TDBGridGxDataGroupsGx& Value) { FDataGrouping->Assign(Value); }
void TCustomDBGridGx::SetIndicatorTitle(const TDBGridGxIndicatorTitle& Value) { FIndicatorTitle->Assign(Value); }
void TCustomDBGridGx::SetRowDetailPanel(const TRowDetailPanelGx& Value) { FRowDetailPanel->Assign(Value); }
void TCustomDBGridGx::SetRowPanel(const TGridRowPanelGx& Value) { FGridRowPanel->Assign(Value); }
void TCustomDBGridGx::SetSTFilter(const TSTDBGridGxFilter& Value) { FSTFilter->Assign(Value); }

void TCustomDBGridGx::SetColumns(const TDBGridColumnsGx& Value)
{
    FColumns->Assign(Value);
}

void TCustomDBGridGx::SetTryUseMemTableInt(bool Value)
{
    if (Value == FTryUseMemTableInt)
        return;
    FTryUseMemTableInt = Value;
    AcquireMemTable();
}

// ---------------------------------------------------------------- sort marking

void TCustomDBGridGx::SetSortMarkedColumns()
{
    FSortMarkedColumns.Clear();
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        const int index = c->Title()->SortIndex();
        if (index > 0) {
            if (FSortMarkedColumns.Count() < index)
                FSortMarkedColumns.SetCount(index);
            FSortMarkedColumns.SetColumn(index - 1, c);
        }
    }
}

void TCustomDBGridGx::SortMarkingChanged()
{
    if (!FOptionsGx.Contains(dghAutoSortMarking))
        return;
    if (OnSortMarkingChanged)
        OnSortMarkingChanged(this);
    else
        DefaultApplySorting();
}

void TCustomDBGridGx::KeyUp(WORD& Key, TShiftState Shift)
{
    if (FSortMarking && Key == VK_CONTROL) {
        FSortMarking = false;
        SortMarkingChanged();
    }
    TCustomGridGx::KeyUp(Key, Shift);
}
