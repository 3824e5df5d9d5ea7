#pragma once
// The columns of the data grid: a column bound to a dataset field, its title,
// its footers, the grid's column default values and the column collection.
//
// Assigned-value scheme: most look-and-behaviour properties of a column, its title
// and its footers exist twice, a stored value and a default computed on every
// read (from the bound field, the grid, or the grid's ColumnDefValues). A bit per
// property records an explicit assignment; reading gives the stored value when the
// bit is set and the default otherwise.
#include "DBGridGxColumnFilter.h"
#include "DBGridGxIntf.h"
#include "DBGridGxTypes.h"
#include "grid/support/EditButtonsGx.h"
#include "grid/support/MRUListGx.h"
#include "grid/support/SpecRowGx.h"
#include "platform/gui/StringGrid.h"
#include "platform/rtl/Variant.h"
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class TDataSource;
class TDBSum;
class TField;
class TImageList;
class TColumnGx;
class TColumnDefValuesGx;
class TDBGridColumnsGx;
class TCustomDBGridGx;
class TGroupDataTreeNodeGx;
class TPopupDataGridGx;
struct TDBGridGxDataHintParams;

// ---------------------------------------------------------------- plain column list

// A list of columns that owns none of them; entries may be empty (nullptr).
class TColumnsGxList {
public:
    int Count() const { return int(FItems.size()); }
    TColumnGx* GetColumn(int index) const { return FItems[size_t(index)]; }
    TColumnGx* operator[](int index) const { return GetColumn(index); }
    void SetColumn(int index, TColumnGx* column) { FItems[size_t(index)] = column; }
    void SetCount(int count) { FItems.resize(size_t(count), nullptr); }
    int Add(TColumnGx* column) { FItems.push_back(column); return Count() - 1; }
    int IndexOf(const TColumnGx* column) const;
    // Removes the first entry of the column; the index it had, -1 when absent.
    int Remove(const TColumnGx* column);
    void Exchange(int index1, int index2) { std::swap(FItems[size_t(index1)], FItems[size_t(index2)]); }
    void Clear() { FItems.clear(); }

private:
    std::vector<TColumnGx*> FItems;
};

// ---------------------------------------------------------------- default values

class TColumnTitleDefValuesGx {
public:
    explicit TColumnTitleDefValuesGx(TColumnDefValuesGx* owner) : FColumnDefValues(owner) {}
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    TColor Color() const;
    void SetColor(TColor value);
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool value);
    TTextOrientationGx Orientation() const { return FOrientation; }
    void SetOrientation(TTextOrientationGx value);
    bool TitleButton() const { return FTitleButton; }
    void SetTitleButton(bool value) { FTitleButton = value; }
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool value) { FToolTips = value; }
    TColumnTitleDefValuesGxValues AssignedValues() const { return FAssignedValues; }
    // taCenter with multi-level titles, else taLeftJustify.
    TAlignment DefaultAlignment() const;
    // The grid's fixed colour.
    TColor DefaultColor() const;
    void Assign(const TColumnTitleDefValuesGx& source);

private:
    IDBGridGx* Grid() const;
    TAlignment FAlignment = taLeftJustify;
    TColumnTitleDefValuesGxValues FAssignedValues;
    TColor FColor = clBtnFace;
    TColumnDefValuesGx* FColumnDefValues;
    bool FEndEllipsis = false;
    TTextOrientationGx FOrientation = tohHorizontal;
    bool FTitleButton = false;
    bool FToolTips = false;
};

class TColumnFooterDefValuesGx {
public:
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool value) { FToolTips = value; }
    void Assign(const TColumnFooterDefValuesGx& source) { FToolTips = source.FToolTips; }

private:
    bool FToolTips = false;
};

// The grid's defaults for every column property a column leaves unset.
class TColumnDefValuesGx {
public:
    explicit TColumnDefValuesGx(IDBGridGx* grid);
    virtual ~TColumnDefValuesGx();
    TColumnDefValuesGx(const TColumnDefValuesGx&) = delete;
    TColumnDefValuesGx& operator=(const TColumnDefValuesGx&) = delete;

    IDBGridGx* Grid() const { return FGrid; }
    bool AlwaysShowEditButton() const { return FAlwaysShowEditButton; }
    void SetAlwaysShowEditButton(bool value);
    bool AutoDropDown() const { return FAutoDropDown; }
    void SetAutoDropDown(bool value) { FAutoDropDown = value; }
    bool DblClickNextVal() const { return FDblClickNextVal; }
    void SetDblClickNextVal(bool value) { FDblClickNextVal = value; }
    bool DropDownShowTitles() const { return FDropDownShowTitles; }
    void SetDropDownShowTitles(bool value) { FDropDownShowTitles = value; }
    bool DropDownSizing() const { return FDropDownSizing; }
    void SetDropDownSizing(bool value) { FDropDownSizing = value; }
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool value);
    TTextLayoutGx Layout() const { return FLayout; }
    void SetLayout(TTextLayoutGx value);
    bool HighlightRequired() const { return FHighlightRequired; }
    void SetHighlightRequired(bool value);
    bool ToolTips() const { return FToolTips; }
    void SetToolTips(bool value) { FToolTips = value; }
    TColumnTitleDefValuesGx* Title() const { return FTitle.get(); }
    void SetTitle(const TColumnTitleDefValuesGx& value) { FTitle->Assign(value); }
    TColumnFooterDefValuesGx* Footer() const { return FFooter.get(); }
    void SetFooter(const TColumnFooterDefValuesGx& value) { FFooter->Assign(value); }
    virtual void Assign(const TColumnDefValuesGx& source);

private:
    void Repaint();
    bool FAlwaysShowEditButton = false;
    bool FAutoDropDown = false;
    bool FDblClickNextVal = false;
    bool FDropDownShowTitles = false;
    bool FDropDownSizing = false;
    bool FEndEllipsis = false;
    TTextLayoutGx FLayout = tlTop;
    bool FHighlightRequired = false;
    IDBGridGx* FGrid;
    std::unique_ptr<TColumnTitleDefValuesGx> FTitle;
    std::unique_ptr<TColumnFooterDefValuesGx> FFooter;
    bool FToolTips = false;
};

// The class the data grid creates; it only publishes the properties.
class TDBGridGxColumnDefValuesGx : public TColumnDefValuesGx {
public:
    using TColumnDefValuesGx::TColumnDefValuesGx;
};

// ---------------------------------------------------------------- title

class TColumnTitleGx {
public:
    explicit TColumnTitleGx(TColumnGx* column);
    virtual ~TColumnTitleGx();
    TColumnTitleGx(const TColumnTitleGx&) = delete;
    TColumnTitleGx& operator=(const TColumnTitleGx&) = delete;

    TColumnGx* Column() const { return FColumn; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    QString Caption() const;
    virtual void SetCaption(const QString& value);
    TColor Color() const;
    void SetColor(TColor value);
    bool EndEllipsis() const;
    void SetEndEllipsis(bool value);
    // Reading never marks the font assigned; a change through the object does.
    TFont* Font();
    void SetFont(const TFont& value) { FFont.Assign(value); }
    const QString& Hint() const { return FHint; }
    void SetHint(const QString& value) { FHint = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TTextOrientationGx Orientation() const;
    void SetOrientation(TTextOrientationGx value);
    int SortIndex() const { return FSortIndex; }
    void SetSortIndex(int value);
    TSortMarkerGx SortMarker() const { return FSortMarker; }
    void SetSortMarker(TSortMarkerGx value);
    bool TitleButton() const;
    void SetTitleButton(bool value);
    bool ToolTips() const;
    void SetToolTips(bool value);

    TAlignment DefaultAlignment() const;
    QString DefaultCaption() const;
    TColor DefaultColor() const;
    TFont* DefaultFont() const;
    bool DefaultEndEllipsis() const;
    TTextOrientationGx DefaultOrientation() const;
    bool DefaultTitleButton() const;
    bool DefaultToolTips() const;

    void Assign(const TColumnTitleGx& source);
    virtual void RestoreDefaults();
    // Down, up, down ... (none after up when KeepMulti; other columns keep their
    // markers only when KeepMulti).
    void SetNextSortMarkerValue(bool keepMulti);
    // Pixels the sort sign (and the sort index) take in the title cell.
    int GetSortMarkingWidth();
    // Pixels of the filter button in the title; 0 without one.
    int GetFilterButtonAreaWidth() const;
    // Copies the default font into the own one unless the font is assigned.
    void RefreshDefaultFont();

private:
    void FontChanged();
    TColumnGxValues& Assigned() const;
    bool IsAssigned(TColumnGxValue v) const;
    TAlignment FAlignment = taLeftJustify;
    QString FCaption;
    TColor FColor = clBtnFace;
    TColumnGx* FColumn;
    bool FEndEllipsis = false;
    TFont FFont;
    QString FHint;
    int FImageIndex = -1;
    TTextOrientationGx FOrientation = tohHorizontal;
    int FSortIndex = 0;
    bool FToolTips = false;
    TSortMarkerGx FSortMarker = smNoneGx;
    bool FTitleButton = false;
    bool FRefreshingFont = false;
};

// ---------------------------------------------------------------- footers

class TColumnFootersGx;

class TColumnFooterGx {
public:
    // A footer inside a collection (its column is the collection's column).
    explicit TColumnFooterGx(TColumnFootersGx* collection);
    // A footer outside any collection: a column's single Footer.
    static std::unique_ptr<TColumnFooterGx> CreateApart(TColumnGx* column);
    virtual ~TColumnFooterGx();
    TColumnFooterGx(const TColumnFooterGx&) = delete;
    TColumnFooterGx& operator=(const TColumnFooterGx&) = delete;

    TColumnGx* Column() const { return FColumn; }
    TColumnFooterValues AssignedValues() const { return FAssignedValues; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    TColor Color() const;
    void SetColor(TColor value);
    const QString& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& value);
    bool EndEllipsis() const { return FEndEllipsis; }
    void SetEndEllipsis(bool value);
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);
    TFont* Font();
    void SetFont(const TFont& value) { FFont.Assign(value); }
    bool ToolTips() const;
    void SetToolTips(bool value);
    const QString& Value() const { return FValue; }
    void SetValue(const QString& value);
    TFooterValueType ValueType() const { return FValueType; }
    void SetValueType(TFooterValueType value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // Unassigned without an aggregate, else the aggregate's value.
    Variant SumValue() const;
    TDBSum* DBSum() const { return FDBSum; }

    TAlignment DefaultAlignment() const;
    TColor DefaultColor() const;
    TFont* DefaultFont() const;
    bool DefaultToolTips() const;

    void Assign(const TColumnFooterGx& source);
    void RestoreDefaults();
    // Binds the footer's aggregate in the grid's producer to its field and value type.
    void EnsureSumValue();
    void RefreshDefaultFont();

private:
    explicit TColumnFooterGx(TColumnGx* column);
    void InitFont();
    void FontChanged();
    void ColumnChanged(bool allItems);
    void EnsureColumnSums();

    TAlignment FAlignment = taLeftJustify;
    TColumnFooterValues FAssignedValues;
    TColor FColor = clWindow;
    TColumnGx* FColumn = nullptr;
    TColumnFootersGx* FCollection = nullptr;
    QString FDisplayFormat;
    bool FEndEllipsis = false;
    QString FFieldName;
    TFont FFont;
    bool FToolTips = false;
    QString FValue;
    TFooterValueType FValueType = fvtNon;
    bool FWordWrap = false;
    TDBSum* FDBSum = nullptr;   // lives in the grid's producer; freed by the footer
    bool FRefreshingFont = false;
};

class TColumnFootersGx {
public:
    explicit TColumnFootersGx(TColumnGx* column) : FColumn(column) {}
    ~TColumnFootersGx();
    TColumnFootersGx(const TColumnFootersGx&) = delete;
    TColumnFootersGx& operator=(const TColumnFootersGx&) = delete;

    TColumnGx* Column() const { return FColumn; }
    int Count() const { return int(FItems.size()); }
    TColumnFooterGx* Items(int index) const { return FItems[size_t(index)].get(); }
    TColumnFooterGx* operator[](int index) const { return Items(index); }
    TColumnFooterGx* Add();
    void Clear();
    void Assign(const TColumnFootersGx& source);

private:
    TColumnGx* FColumn;
    std::vector<std::unique_ptr<TColumnFooterGx>> FItems;
};

// ---------------------------------------------------------------- drop-down box, filter

// What a column's drop-down box reaches of the column's list grid.
class IColumnDataListGx {
public:
    virtual ~IColumnDataListGx() = default;
    virtual void ListSourceChanged(TDataSource* source) = 0;
    virtual TDBLookupGridGxOptions GetDataListOptions() = 0;
    virtual void SetDataListOptions(TDBLookupGridGxOptions value) = 0;
    virtual bool GetDataListSortLocal() = 0;
    virtual void SetDataListSortLocal(bool value) = 0;
};

// Settings of the lookup list that drops down under a column's in-place editor.
class TColumnDropDownBoxGx {
public:
    explicit TColumnDropDownBoxGx(TColumnGx* owner);
    ~TColumnDropDownBoxGx();
    TColumnDropDownBoxGx(const TColumnDropDownBoxGx&) = delete;
    TColumnDropDownBoxGx& operator=(const TColumnDropDownBoxGx&) = delete;

    TColumnGx* Owner() const { return FOwner; }
    TDropDownAlignGx Align() const { return FAlign; }
    void SetAlign(TDropDownAlignGx value) { FAlign = value; }
    bool AutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool value) { FAutoDrop = value; }
    bool AutoFitColWidths() const { return FAutoFitColWidths; }
    void SetAutoFitColWidths(bool value) { FAutoFitColWidths = value; }
    TDataSource* ListSource() const { return FListSource; }
    void SetListSource(TDataSource* value);
    TDBLookupGridGxOptions Options() const;
    void SetOptions(TDBLookupGridGxOptions value);
    bool SortLocal() const;
    void SetSortLocal(bool value);
    int Rows() const { return FRows; }
    void SetRows(int value) { FRows = value; }
    bool ShowTitles() const { return FShowTitles; }
    void SetShowTitles(bool value) { FShowTitles = value; }
    bool Sizable() const { return FSizable; }
    void SetSizable(bool value) { FSizable = value; }
    TSpecRowGx* SpecRow() const { return FSpecRow.get(); }
    bool UseMultiTitle() const { return FUseMultiTitle; }
    void SetUseMultiTitle(bool value) { FUseMultiTitle = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
    void Assign(const TColumnDropDownBoxGx& source);

private:
    IColumnDataListGx* DataList() const;
    TDropDownAlignGx FAlign = daLeft;
    bool FAutoDrop = false;
    bool FAutoFitColWidths = true;
    TDataSource* FListSource = nullptr;
    TColumnGx* FOwner;
    int FRows = 0;
    bool FShowTitles = false;
    bool FSizable = false;
    std::unique_ptr<TSpecRowGx> FSpecRow;
    bool FUseMultiTitle = false;
    int FWidth = 0;
};

// ---------------------------------------------------------------- column

class TColumnGx : public IColumnDataListGx {
public:
    using TGetColCellParamsEventGx = std::function<void(TColumnGx* sender, bool editMode, TColCellParamsGx& params)>;
    using TNotInListEventGx = std::function<void(TColumnGx* sender, const QString& newText, bool& recheckInList)>;
    using TColCellUpdateDataEventGx = std::function<void(TColumnGx* sender, QString& text, Variant& value,
                                                         bool& useText, bool& handled)>;
    using TButtonDownEventGx = std::function<void(QObject* sender, bool topButton, bool& autoRepeat, bool& handled)>;
    // Paints a data cell of the column instead of the default; Processed set ends the default.
    using TAdvDrawDataCellEventGx = std::function<void(TColumnGx* sender, TGridCoord cell, TGridCoord areaCell,
                                                       const TRect& rect, TColCellParamsGx& params, bool& processed)>;
    // May change whether the mark of a required field left empty is drawn.
    using TCheckDrawRequiredStateEventGx = std::function<void(TColumnGx* sender, bool& drawState)>;
    // The pause before a cell's hint, and a data cell's hint, taken over per column.
    using THintShowPauseEventGx = std::function<void(TColumnGx* sender, TPoint cursorPos, TGridCoord cell,
                                                     TPoint inCellCursorPos, int& hintPause, bool& processed)>;
    using TDataHintShowEventGx = std::function<void(TColumnGx* sender, TPoint cursorPos, TGridCoord cell,
                                                    TPoint inCellCursorPos, TDBGridGxDataHintParams& params,
                                                    bool& processed)>;

    // Created inside a collection, or free-standing (no grid) when it is nullptr.
    explicit TColumnGx(TDBGridColumnsGx* collection);
    ~TColumnGx() override;
    TColumnGx(const TColumnGx&) = delete;
    TColumnGx& operator=(const TColumnGx&) = delete;

    TDBGridColumnsGx* Collection() const { return FCollection; }
    IDBGridGx* Grid() const;
    int Index() const;
    void SetIndex(int value);
    // "Column_<index>_<FieldName>".
    QString Name() const;
    QString GetDisplayName() const;
    TColumnGxValues AssignedValues() const { return FAssignedValues; }
    TColumnGxValues& AssignedValuesRef() { return FAssignedValues; }
    bool Stored() const { return FStored; }
    void SetStored(bool value) { FStored = value; }
    // True for a column the grid made by itself (a view of its field).
    virtual bool IsDefaultStored() const { return !FStored; }

    // ---- binding
    TField* Field();
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);
    virtual void SetField(TField* value);
    // Forgets the bound field (the next Field read binds again by name).
    void ForgetField() { FField = nullptr; }

    // ---- properties (see the table of unset values)
    TAlignment Alignment();
    virtual void SetAlignment(TAlignment value);
    bool AlwaysShowEditButton() const;
    void SetAlwaysShowEditButton(bool value);
    bool AutoDropDown() const;
    void SetAutoDropDown(bool value);
    bool AutoFitColWidth() const { return FAutoFitColWidth; }
    virtual void SetAutoFitColWidth(bool value);
    TBiDiModeGx BiDiMode() const;
    void SetBiDiMode(TBiDiModeGx value);
    TColumnButtonStyleGx ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TColumnButtonStyleGx value);
    bool Checkboxes();
    void SetCheckboxes(bool value);
    TColor Color() const;
    void SetColor(TColor value);
    bool DblClickNextVal() const;
    void SetDblClickNextVal(bool value);
    const QString& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& value);
    TColumnDropDownBoxGx* DropDownBox() const { return FDropDownBox.get(); }
    void SetDropDownBox(const TColumnDropDownBoxGx& value) { FDropDownBox->Assign(value); }
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int value) { FDropDownRows = value; }
    bool DropDownShowTitles() const;
    void SetDropDownShowTitles(bool value);
    bool DropDownSizing() const;
    void SetDropDownSizing(bool value);
    TSpecRowGx* DropDownSpecRow() const { return FDropDownSpecRow.get(); }
    void SetDropDownSpecRow(const TSpecRowGx& value) { FDropDownSpecRow->Assign(value); }
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value);
    TEditButtonsGx* EditButtons() const { return FEditButtons.get(); }
    const QString& EditMask() const { return FEditMask; }
    void SetEditMask(const QString& value);
    bool EndEllipsis() const;
    void SetEndEllipsis(bool value);
    TFont* Font();
    void SetFont(const TFont& value) { FFont.Assign(value); }
    TColumnFooterGx* Footer() const { return FFooter.get(); }
    void SetFooter(const TColumnFooterGx& value) { FFooter->Assign(value); }
    TColumnFootersGx* Footers() const { return FFooters.get(); }
    void SetFooters(const TColumnFootersGx& value) { FFooters->Assign(value); }
    bool HideDuplicates() const { return FHideDuplicates; }
    virtual void SetHideDuplicates(bool value);
    bool HighlightRequired() const;
    virtual void SetHighlightRequired(bool value);
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* value);
    TImeModeGx ImeMode() const;
    virtual void SetImeMode(TImeModeGx value);
    QString ImeName() const;
    virtual void SetImeName(const QString& value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    // Created on first read.
    QStringList& KeyList();
    bool HasKeyItems() const { return FKeyList && !FKeyList->isEmpty(); }
    // nullptr frees the list.
    void SetKeyList(const QStringList* value);
    TTextLayoutGx Layout() const;
    void SetLayout(TTextLayoutGx value);
    QString LookupDisplayFields();
    virtual void SetLookupDisplayFields(const QString& value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    TMRUListGx* MRUList() const { return FMRUList.get(); }
    void SetMRUList(const TMRUListGx& value) { FMRUList->Assign(value); }
    int NotInKeyListIndex() const { return FNotInKeyListIndex; }
    void SetNotInKeyListIndex(int value);
    QStringList& PickList();
    bool HasPickItems() const { return FPickList && !FPickList->isEmpty(); }
    void SetPickList(const QStringList* value);
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* value) { FPopupMenu = value; }
    bool ReadOnly();
    virtual void SetReadOnly(bool value);
    bool ShowImageAndText() const { return FShowImageAndText; }
    void SetShowImageAndText(bool value);
    TSTColumnFilterGx* STFilter() const { return FSTFilter.get(); }
    void SetSTFilter(const TSTColumnFilterGx& value) { FSTFilter->Assign(value); }
    qintptr Tag() const { return FTag; }
    void SetTag(qintptr value) { FTag = value; }
    bool TextEditing();
    void SetTextEditing(bool value);
    TColumnTitleGx* Title() const { return FTitle.get(); }
    void SetTitle(const TColumnTitleGx& value) { FTitle->Assign(value); }
    bool ToolTips() const;
    void SetToolTips(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int Width();
    virtual void SetWidth(int value);
    bool WordWrap();
    virtual void SetWordWrap(bool value);
    int InitWidth() const { return FInitWidth; }
    void SetInitWidth(int value) { FInitWidth = value; }
    // Width plus the grid's extra first-column width for the first visible column.
    int FullWidth();
    bool NotInWidthRange() const { return FNotInWidthRange; }
    void SetNotInWidthRange(bool value) { FNotInWidthRange = value; }
    // Row-panel placement (a negative line reads 0, a height below 1 reads 1).
    int InRowLinePos() const { return FRowLine < 0 ? 0 : FRowLine; }
    // A new line position or line count re-lays out the whole collection.
    void SetInRowLinePos(int value);
    int InRowLineHeight() const { return FHeight <= 0 ? 1 : FHeight; }
    void SetInRowLineHeight(int value);
    int InRowTabIndex() const { return FInRowTabIndex; }
    // Where the column's cell lies in the row panel.
    struct TInRowPanelPlacement { int Left = 0, Top = 0, Width = 0, Height = 0, DataCellLeft = 0, DataCellWidth = 0; };
    TInRowPanelPlacement& RowPlacement() { return FRowPlacement; }
    const TInRowPanelPlacement& RowPlacement() const { return FRowPlacement; }
    void SetInRowTabIndex(int value) { FInRowTabIndex = value; }

    // ---- unset values
    virtual int DefaultWidth();
    TAlignment DefaultAlignment();
    TColor DefaultColor() const;
    TFont* DefaultFont() const;
    TImeModeGx DefaultImeMode() const;
    QString DefaultImeName() const;
    bool DefaultReadOnly();
    bool DefaultAlwaysShowEditButton() const;
    bool DefaultAutoDropDown() const;
    bool DefaultCheckboxes();
    bool DefaultDblClickNextVal() const;
    bool DefaultDropDownShowTitles() const;
    bool DefaultDropDownSizing() const;
    bool DefaultEndEllipsis() const;
    bool DefaultHighlightRequired() const;
    TTextLayoutGx DefaultLayout() const;
    QString DefaultLookupDisplayFields();
    bool DefaultTextEditing();
    bool DefaultToolTips() const;
    bool DefaultWordWrap();

    virtual void Assign(const TColumnGx& source);
    virtual void RestoreDefaults();
    void RefreshDefaultFont();
    // Tells the collection that the column changed (every column when allItems).
    void Changed(bool allItems);
    void DropDownSpecRowChanged();

    // ---- cell values and editing rules of the current record
    TColumnGxType GetColumnType();
    QString DisplayText();
    QString EditText();
    QString GetCellEditText();
    void SetCellEditText(const QString& value);
    QString GetEditMaskText();
    TCheckBoxState GetCheckboxState();
    void SetCheckboxState(TCheckBoxState value);
    int GetImageIndex();
    void WriteCellValue(const QString& text, const Variant& value, bool useText);
    void StepFieldValue(double step);
    bool CanModify(bool tryEdit);
    bool CanEditAcceptKey(QChar key);
    QString GetAcceptableEditText(const QString& inputEditText);
    bool CanEditText();
    bool IsTabStop();
    void FillColCellParams(TColCellParamsGx& params);
    virtual void GetColCellParams(bool editMode, TColCellParamsGx& params);
    TColumnFooterGx* UsedFooter(int index) const;
    // The edited value written back without the most-recently-used list.
    void WriteFieldValue(const QString& text, const Variant& value, bool useText);
    // Whether the column shows its own drop-down, ellipsis or up-down button.
    bool HasDefaultEditButton();
    // Width of the edit buttons drawn in a cell.
    int EditButtonsWidth();
    // Height the current record needs for this column (rows that fit their text).
    int CalcRowHeight();
    // The row has room for more than one line of the column font.
    bool CurLineWordWrap(int rowHeight);
    // Fits the width to the widest content.
    void OptimizeWidth();
    // The key values of a lookup field's key fields in the current record.
    Variant LookupKeyValue();

    // ---- events
    TGetColCellParamsEventGx OnGetCellParams;
    TNotInListEventGx OnNotInList;
    TColCellUpdateDataEventGx OnUpdateData;
    // Fills the column's filter drop-down list instead of the default (Processed set).
    std::function<void(TCustomDBGridGx* grid, TColumnGx* column, TStringsGx& items, bool& processed)>
        OnFillSTFilterListValues;
    TButtonClickEventGx OnEditButtonClick;
    TButtonDownEventGx OnEditButtonDown;
    TAdvDrawDataCellEventGx OnAdvDrawDataCell;
    TCheckDrawRequiredStateEventGx OnCheckDrawRequiredState;
    // The key a grouping level on this column groups the current record by, and its text.
    std::function<void(TCustomDBGridGx* Sender, TColumnGx* Column, Variant& KeyValue)> OnGroupGetKeyValue;
    std::function<void(TCustomDBGridGx* Sender, TGroupDataTreeNodeGx* GroupDataTreeNode, const Variant& KeyValue,
                       QString& KeyValueAsText)>
        OnGroupGetKeyValueAsText;
    THintShowPauseEventGx OnHintShowPause;
    TDataHintShowEventGx OnDataHintShow;

    // The column's own drop-down list grid, created on first use and owned by the column.
    TPopupDataGridGx* DataList();
    bool HasDataList() const { return FDataList != nullptr; }

    // ---- list-grid interface
    void ListSourceChanged(TDataSource* source) override;
    TDBLookupGridGxOptions GetDataListOptions() override { return FDataListOptions; }
    void SetDataListOptions(TDBLookupGridGxOptions value) override { FDataListOptions = value; }
    bool GetDataListSortLocal() override { return FDataListSortLocal; }
    void SetDataListSortLocal(bool value) override { FDataListSortLocal = value; }

protected:
    virtual std::unique_ptr<TEditButtonsGx> CreateEditButtons();
    virtual std::unique_ptr<TColumnFooterGx> CreateFooter();
    virtual std::unique_ptr<TColumnFootersGx> CreateFooters();
    virtual std::unique_ptr<TSTColumnFilterGx> CreateSTFilter();
    virtual std::unique_ptr<TColumnTitleGx> CreateTitle();
    bool IsAssigned(TColumnGxValue v) const { return FAssignedValues.Contains(v); }

private:
    friend class TDBGridColumnsGx;
    void FontChanged();
    void EnsureFootersSums();
    bool IsMemoField(TField* field) const;
    bool LinkActive() const;
    bool CheckedFieldCanModify(TField*& checked);
    void Init();
    void DestroyDataList();

    TAlignment FAlignment = taLeftJustify;
    TColumnGxValues FAssignedValues;
    TBiDiModeGx FBiDiMode = bdLeftToRight;
    TColumnButtonStyleGx FButtonStyle = cbsAuto;
    bool FCheckboxes = false;
    TColor FColor = clWindow;
    bool FDblClickNextVal = false;
    QString FDisplayFormat;
    std::unique_ptr<TColumnDropDownBoxGx> FDropDownBox;
    int FDropDownRows = 7;
    bool FDropDownShowTitles = false;
    bool FDropDownSizing = false;
    std::unique_ptr<TSpecRowGx> FDropDownSpecRow;
    std::unique_ptr<TEditButtonsGx> FEditButtons;
    QString FEditMask;
    TField* FField = nullptr;
    QString FFieldName;
    TFont FFont;
    std::unique_ptr<TColumnFooterGx> FFooter;
    std::unique_ptr<TColumnFootersGx> FFooters;
    bool FHideDuplicates = false;
    bool FHighlightRequired = false;
    TImageList* FImageList = nullptr;
    TImeModeGx FImeMode = imDontCare;
    QString FImeName;
    double FIncrement = 1.0;
    TTextLayoutGx FLayout = tlTop;
    std::unique_ptr<QStringList> FKeyList;
    int FMaxWidth = 0;
    int FMinWidth = 0;
    std::unique_ptr<TMRUListGx> FMRUList;
    int FNotInKeyListIndex = -1;
    bool FNotInWidthRange = false;
    std::unique_ptr<QStringList> FPickList;
    QMenu* FPopupMenu = nullptr;
    bool FReadonly = false;
    bool FStored = true;
    bool FShowImageAndText = false;
    qintptr FTag = 0;
    bool FTextEditing = true;
    std::unique_ptr<TColumnTitleGx> FTitle;
    bool FToolTips = false;
    bool FVisible = true;
    int FWidth = 0;
    std::unique_ptr<TSTColumnFilterGx> FSTFilter;
    int FRowLine = 0;
    int FHeight = 1;
    int FInRowTabIndex = 0;
    TInRowPanelPlacement FRowPlacement;
    bool FAlwaysShowEditButton = false;
    bool FAutoDropDown = false;
    bool FAutoFitColWidth = true;
    int FDropDownWidth = 0;
    bool FEndEllipsis = false;
    int FInitWidth = 0;
    QString FLookupDisplayFields;
    bool FWordWrap = false;
    TDBLookupGridGxOptions FDataListOptions{dlgColLinesGx};
    bool FDataListSortLocal = false;
    TPopupDataGridGx* FDataList = nullptr;
    TDBGridColumnsGx* FCollection = nullptr;
    bool FRefreshingFont = false;
    bool FConstructing = true;
};

// The column class whose properties the grid publishes.
class TDBGridColumnGx : public TColumnGx {
public:
    using TColumnGx::TColumnGx;
};

// ---------------------------------------------------------------- collection

class TDBGridColumnsGx {
public:
    using TColumnFactory = std::function<TColumnGx*(TDBGridColumnsGx*)>;
    template <class T> static TColumnFactory ColumnClass() { return [](TDBGridColumnsGx* c) { return new T(c); }; }

    TDBGridColumnsGx(IDBGridGx* grid, TColumnFactory columnClass);
    virtual ~TDBGridColumnsGx();
    TDBGridColumnsGx(const TDBGridColumnsGx&) = delete;
    TDBGridColumnsGx& operator=(const TDBGridColumnsGx&) = delete;

    IDBGridGx* Grid() const { return FGrid; }
    int Count() const { return int(FItems.size()); }
    TColumnGx* GetColumn(int index) const { return FItems[size_t(index)]; }
    TColumnGx* operator[](int index) const { return GetColumn(index); }
    TColumnGx* Items(int index) const { return GetColumn(index); }
    int IndexOf(const TColumnGx* column) const;
    // A stored (customized) column at the end.
    TColumnGx* Add();
    // A column the grid makes by itself from a field.
    TColumnGx* AddDefaultColumn();
    void Clear();
    void Delete(int index);
    void Move(int fromIndex, int toIndex);
    virtual void Assign(const TDBGridColumnsGx& source);

    TColumnsStateGx State() const;
    void SetState(TColumnsStateGx value);
    void RebuildColumns() { AddAllColumns(true); }
    void AddAllColumns(bool deleteExisting);
    void RestoreDefaults();
    // Every column forgets its bound field.
    void ActiveChanged();
    bool ExistFooterValueType(TFooterValueType valueType) const;
    TColumnGx* FindColumnByName(const QString& columnName) const;
    void GetColumnNames(QStringList& list) const;

    int UpdateCount() const { return FUpdateCount; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // Tab and arrow navigation.
    TColumnGx* GetFirstTabColumn() const;
    TColumnGx* GetLastTabColumn() const;
    TColumnGx* GetNextTabColumn(TColumnGx* forColumn, bool goForward) const;
    TColumnGx* GetNextHorzColumn(TColumnGx* forColumn, bool goForward, bool checkTabStop, bool wrap) const;
    TColumnGx* GetNextVertColumn(TColumnGx* forColumn, bool goForward) const;
    TColumnGx* GetTopColumn(TColumnGx* column) const;
    TColumnGx* GetBottomColumn(TColumnGx* column) const;
    // Row-panel mode: every column's place in the panel, and the widths scaled with the panel.
    void RelayoutCellsInRowPanel();
    void ScaleWidths(int Divisor, int Denominator);
    TColumnGx* UpDownBaseColumn() const { return FUpDownBaseColumn; }
    void SetUpDownBaseColumn(TColumnGx* column) { FUpDownBaseColumn = column; }

    // The item-changed notification: a column, or nullptr for the whole collection.
    virtual void Update(TColumnGx* item);
    // Called by a column that changed (honours the update state).
    void Changed(TColumnGx* item);

private:
    friend class TColumnGx;
    void InsertItem(TColumnGx* item);
    void RemoveItem(TColumnGx* item);
    void AfterChange();
    IDBGridGx* FGrid;
    TColumnFactory FColumnClass;
    std::vector<TColumnGx*> FItems;   // owned
    TColumnGx* FUpDownBaseColumn = nullptr;
    int FUpdateCount = 0;
};
