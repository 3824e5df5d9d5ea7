#pragma once
// A stand-in data grid for the tests of the columns, titles, footers, the data
// link and the style: it keeps the companions a grid owns, lays the columns out
// in the simplest way and records what it was told.
#include "grid/control/DBGridGxColumns.h"
#include "grid/control/DBGridGxDataLink.h"
#include "grid/control/DBGridGxLocks.h"
#include "grid/control/DBGridGxSumList.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Canvas.h"
#include <QStringList>
#include <memory>
#include <vector>

namespace gxtest {

class StubGrid : public IDBGridGx {
public:
    StubGrid()
    {
        FTitleFont.SetStyle(fsBold);
        FColumnDefValues = std::make_unique<TDBGridGxColumnDefValuesGx>(this);
        FColumns = std::make_unique<TDBGridColumnsGx>(this, TDBGridColumnsGx::ColumnClass<TDBGridColumnGx>());
        FDataLink = std::make_unique<TGridDataLinkGx>(this);
        FBookmarks = std::make_unique<TBookmarkListGx>(this);
        FSumList = std::make_unique<TDBGridGxSumList>(nullptr);
        FLocks.Rebuild = [this] { PerformLayout(); };
        FLocks.ColumnsUpdate = [this](bool begin) { begin ? FColumns->BeginUpdate() : FColumns->EndUpdate(); };
        FLocks.HasWindow = [] { return true; };
    }
    ~StubGrid() override
    {
        FDestroying = true;
        FDataLink->SetDataSource(nullptr);
        FColumns.reset();
        FSumList.reset();
    }

    // what the grid was told
    QStringList Log;
    int LayoutPasses = 0;
    int Invalidations = 0;
    int SelectionChanges = 0;
    std::vector<int> ColWidths;
    TDBGridOptions GridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                               dgConfirmDelete, dgCancelOnExit};
    TDBGridGxOptions GridOptionsGx{dghFixed3D, dghHighlightFocus, dghClearSelection, dghDialogFind, dghColumnResize,
                                   dghColumnMove, dghExtendVertLines};
    TDBGridGxAllowedOperations Allowed{alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx};
    TColor GridColor = clWindow;
    bool GridReadOnly = false, AutoFit = false, MultiTitle = false, MemoText = false;
    bool EditorVisible = false;
    QString EditorText;
    int Selected = 0;
    TDBGridGxSelectionType Selection = gstNon;
    TDataSource Source;
    TDBGridGxLocks FLocks;

    void SetDataSet(TDataSet* ds)
    {
        Source.SetDataSet(ds);
        FDataLink->SetDataSource(&Source);
    }

    // The simplest layout: default columns follow the dataset's fields; widths
    // go into the grid columns.
    void PerformLayout()
    {
        ++LayoutPasses;
        TDBGridColumnsGx* columns = FColumns.get();
        // run-time columns before stored ones go
        for (int i = 1; i < columns->Count(); ++i)
            if (columns->GetColumn(i)->Stored() && !columns->GetColumn(i - 1)->Stored()) {
                for (int k = columns->Count() - 1; k >= 0; --k)
                    if (!columns->GetColumn(k)->Stored())
                        delete columns->GetColumn(k);
                break;
            }
        FDataLink->ClearMapping();
        TDataSet* ds = DataSet();
        if (columns->State() == csDefault) {
            if (FDataLink->Active() && ds) {
                columns->BeginUpdate();
                for (int k = columns->Count() - 1; k >= 0; --k)
                    if (!ds->FindField(columns->GetColumn(k)->FieldName()))
                        delete columns->GetColumn(k);
                int j = 0;
                for (TField* f : ds->Fields()) {
                    int found = -1;
                    for (int k = j; k < columns->Count() && found < 0; ++k)
                        if (columns->GetColumn(k)->FieldName().compare(f->FieldName(), Qt::CaseInsensitive) == 0)
                            found = k;
                    if (found < 0) {
                        columns->AddDefaultColumn()->SetField(f);
                        found = columns->Count() - 1;
                    }
                    columns->Move(found, j);
                    ++j;
                }
                columns->EndUpdate();
            }
        } else {
            columns->ActiveChanged();
        }
        FDataLink->SetSparseMap(columns->State() == csCustomized);
        if (FDataLink->Active())
            for (int i = 0; i < columns->Count(); ++i)
                FDataLink->AddMapping(columns->GetColumn(i)->FieldName());
        FVisible.Clear();
        for (int i = 0; i < columns->Count(); ++i)
            if (columns->GetColumn(i)->Visible())
                FVisible.Add(columns->GetColumn(i));
        ColWidths.assign(size_t(columns->Count() + 1), 11);
        for (int i = 0; i < columns->Count(); ++i) {
            TColumnGx* c = columns->GetColumn(i);
            ColWidths[size_t(i + 1)] = c->Visible() ? c->Width() : -1;
        }
    }

    // ---- IDBGridGx
    TGridDataLinkGx* DataLink() override { return FDataLink.get(); }
    TDBGridColumnsGx* Columns() override { return FColumns.get(); }
    TColumnDefValuesGx* ColumnDefValues() override { return FColumnDefValues.get(); }
    TColumnsGxList* VisibleColumns() override { return &FVisible; }
    TColumnsGxList* SortMarkedColumns() override { return &FSortMarked; }
    TBookmarkListGx* SelectedRows() override { return FBookmarks.get(); }
    TDBSumListProducer* SumList() override { return FSumList.get(); }
    TDataSet* DataSet() const override { return FDataLink ? FDataLink->DataSet() : nullptr; }
    TColor Color() const override { return GridColor; }
    TColor FixedColor() const override { return clBtnFace; }
    TColor FooterColor() const override { return clWindow; }
    TFont* Font() override { return &FFont; }
    TFont* TitleFont() override { return &FTitleFont; }
    TFont* FooterFont() override { return &FFooterFont; }
    TFont* SpareFont() override { return &FSpareFont; }
    TBiDiModeGx BiDiMode() const override { return bdLeftToRight; }
    TImeModeGx ImeMode() const override { return imDontCare; }
    QString ImeName() const override { return QString(); }
    TCanvas* Canvas() override { return &FCanvas; }
    bool Flat() const override { return false; }
    int GridLineWidth() const override { return 1; }
    int DefaultColWidth() const override { return 64; }
    int StdDefaultRowHeight() const override { return 18; }
    int Interlinear() const override { return 4; }
    TDBGridOptions Options() const override { return GridOptions; }
    TDBGridGxOptions OptionsGx() const override { return GridOptionsGx; }
    TDBGridGxAllowedOperations AllowedOperations() const override { return Allowed; }
    bool ReadOnly() const override { return GridReadOnly; }
    bool AutoFitColWidths() const override { return AutoFit; }
    bool UseMultiTitle() const override { return MultiTitle; }
    bool DrawMemoText() const override { return MemoText; }
    bool DrawGraphicData() const override { return false; }
    bool UpdateFields() const override { return true; }
    bool HandleAllocated() const override { return true; }
    bool FilterButtonsInTitle() const override { return false; }
    bool RowPanelActive() const override { return false; }
    int ExtraFirstColumnWidth() const override { return 0; }
    bool LayoutFromDataset() const override { return FLayoutFromDataset; }
    int IndicatorOffset() const override { return 1; }
    int ColCount() const override { return int(ColWidths.size()); }
    int ColWidth(int col) const override { return col < int(ColWidths.size()) ? ColWidths[size_t(col)] : 0; }
    void SetColWidth(int col, int width) override
    {
        if (col < int(ColWidths.size()))
            ColWidths[size_t(col)] = width;
    }
    int TopDataOffset() const override { return 1; }
    int SelectedIndex() const override { return Selected; }
    void SetSelectedIndex(int index) override { Selected = index; }
    void LockLayout() override { FLocks.BeginLayout(); }
    void UnlockLayout() override { FLocks.EndLayout(); }
    int LayoutLockCount() const override { return FLocks.LayoutLock(); }
    int UpdateLockCount() const override { return FLocks.UpdateLock(); }
    void LayoutChanged() override { FLocks.LayoutChanged(); }
    void Invalidate() override { ++Invalidations; }
    void InvalidateCol(int) override {}
    void InvalidateFooter() override {}
    void InvalidateCurrentRow() override { Log << QStringLiteral("InvalidateCurrentRow"); }
    void RefreshEditorPlacement() override {}
    void SetSortMarkedColumns() override
    {
        FSortMarked.Clear();
        for (int i = 0; i < FColumns->Count(); ++i) {
            TColumnGx* c = FColumns->GetColumn(i);
            const int index = c->Title()->SortIndex();
            if (index > 0) {
                if (FSortMarked.Count() < index)
                    FSortMarked.SetCount(index);
                FSortMarked.SetColumn(index - 1, c);
            }
        }
    }
    void RaiseGridError(const QString& message) override { throw Exception(message); }
    void OptimizeColumnsWidth(TColumnsGxList& columns) override
    {
        for (int i = 0; i < columns.Count(); ++i)
            Log << QStringLiteral("Optimize(%1)").arg(columns[i]->FieldName());
    }
    QString EditText() const override { return FEditText; }
    void SetEditText(const QString& text) override { FEditText = text; }
    Variant EditKeyValue() const override { return FEditKeyValue; }
    void SetEditKeyValue(const Variant& value) override { FEditKeyValue = value; }
    bool InplaceEditorVisible() const override { return EditorVisible; }
    QString InplaceEditorText() const override { return EditorText; }
    bool EditingAllowedForCurrentRecord() const override
    {
        TDataSet* ds = DataSet();
        if (ds && ds->State() == dsInsert)
            return Allowed.Contains(alopInsertGx) || Allowed.Contains(alopAppendGx);
        return Allowed.Contains(alopUpdateGx);
    }
    void ColumnDestroying(TColumnGx*) override {}
    void LinkActive(bool value) override
    {
        Log << QStringLiteral("LinkActive(%1)").arg(value ? 1 : 0);
        FColumns->ActiveChanged();
        LayoutChanged();
    }
    void DataChanged() override { Log << QStringLiteral("DataChanged"); }
    void Scroll(int distance) override { Log << QStringLiteral("Scroll(%1)").arg(distance); }
    void DataLayoutChanged() override
    {
        Log << QStringLiteral("LayoutChanged");
        const bool saved = FLayoutFromDataset;
        FLayoutFromDataset = true;
        LayoutChanged();
        FLayoutFromDataset = saved;
    }
    void RecordChanged(TField* field) override
    {
        Log << QStringLiteral("RecordChanged(%1)").arg(field ? field->FieldName() : QStringLiteral("-"));
    }
    void UpdateData() override { Log << QStringLiteral("UpdateData"); }
    void EditingChanged() override { Log << QStringLiteral("EditingChanged"); }
    TField* SelectedField() const override
    {
        return Selected >= 0 && Selected < FColumns->Count() ? FColumns->GetColumn(Selected)->Field() : nullptr;
    }
    void SetSelectedField(TField* field) override
    {
        for (int i = 0; i < FColumns->Count(); ++i)
            if (FColumns->GetColumn(i)->Field() == field) {
                Selected = i;
                return;
            }
    }
    bool AcquireFocus() override { return true; }
    void ShowEditor() override { Log << QStringLiteral("ShowEditor"); }
    TDBGridGxSelectionType SelectionType() const override { return Selection; }
    void SelectRecordBookmarks() override { Selection = gstRecordBookmarks; }
    void SelectionUpdateState() override
    {
        if (Selection == gstRecordBookmarks && FBookmarks->Count() == 0)
            Selection = gstNon;
    }
    void SelectionChanged() override { ++SelectionChanges; }
    bool Destroying() const override { return FDestroying; }
    TDBGridGxEditActions EditActions() const override { return Actions; }
    bool CheckEditAction(TDBGridGxEditAction) override { return true; }
    void ExecuteEditAction(TDBGridGxEditAction action) override { Log << QStringLiteral("Action(%1)").arg(int(action)); }
    bool IndicatorTitleUseGlobalMenu() const override { return UseGlobalMenu; }
    QMenu* IndicatorTitleDropdownMenu() const override { return OwnMenu; }
    void DefaultIndicatorTitleMouseDown(int, int, int, int, int, int) override
    {
        Log << QStringLiteral("IndicatorTitleMouseDown");
    }

    TDBGridGxEditActions Actions;
    bool UseGlobalMenu = true;
    QMenu* OwnMenu = nullptr;

private:
    TFont FFont, FTitleFont, FFooterFont, FSpareFont;
    TCanvas FCanvas;
    std::unique_ptr<TColumnDefValuesGx> FColumnDefValues;
    std::unique_ptr<TDBGridColumnsGx> FColumns;
    std::unique_ptr<TGridDataLinkGx> FDataLink;
    std::unique_ptr<TBookmarkListGx> FBookmarks;
    std::unique_ptr<TDBGridGxSumList> FSumList;
    TColumnsGxList FVisible, FSortMarked;
    QString FEditText;
    Variant FEditKeyValue;
    bool FLayoutFromDataset = false;
    bool FDestroying = false;
};

} // namespace gxtest
