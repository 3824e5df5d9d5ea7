// A grid column: binding to its field, the assigned-value scheme of its
// properties, copying and restoring defaults.
#include "DBGridGxColumns.h"
#include "DBGridGxDataLink.h"
#include "DBGridGxRoutines.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ImageList.h"

namespace {

// Holds a collection's update state for a scope.
class CollectionUpdateScope {
public:
    explicit CollectionUpdateScope(TDBGridColumnsGx* c) : FCollection(c) { if (FCollection) FCollection->BeginUpdate(); }
    ~CollectionUpdateScope() { if (FCollection) FCollection->EndUpdate(); }
    CollectionUpdateScope(const CollectionUpdateScope&) = delete;
    CollectionUpdateScope& operator=(const CollectionUpdateScope&) = delete;
private:
    TDBGridColumnsGx* FCollection;
};

} // namespace

TColumnGx::TColumnGx(TDBGridColumnsGx* collection)
{
    TLayoutLockScopeGx lock(collection ? collection->Grid() : nullptr);
    if (collection)
        collection->InsertItem(this);
    Init();
}

void TColumnGx::Init()
{
    FDropDownRows = 7;
    FButtonStyle = cbsAuto;
    FFont.Assign(*DefaultFont());
    FFont.OnChange = [this] { FontChanged(); };
    FImeMode = imDontCare;
    FImeName = QString();
    FTitle = CreateTitle();
    FFooter = CreateFooter();
    FFooters = CreateFooters();
    FAutoFitColWidth = true;
    FInitWidth = Width();
    FVisible = true;
    FNotInKeyListIndex = -1;
    FIncrement = 1.0;
    FStored = true;
    FEditButtons = CreateEditButtons();
    FEditButtons->OnChanged = [this](TEditButtonGx*) { Changed(false); };
    FDropDownSpecRow = std::make_unique<TSpecRowGx>(nullptr);
    FDropDownSpecRow->OnChanged = [this](TSpecRowGx*) { DropDownSpecRowChanged(); };
    FDropDownBox = std::make_unique<TColumnDropDownBoxGx>(this);
    FMRUList = std::make_unique<TMRUListGx>(nullptr);
    FSTFilter = CreateSTFilter();
    FShowImageAndText = false;
    FConstructing = false;
}

TColumnGx::~TColumnGx()
{
    if (IDBGridGx* grid = Grid()) {
        grid->SortMarkedColumns()->Remove(this);
        grid->ColumnDestroying(this);
    }
    if (FCollection && FCollection->UpDownBaseColumn() == this)
        FCollection->SetUpDownBaseColumn(nullptr);
    // The footers free their aggregates in the grid's producer while the grid is still reachable.
    FFooter.reset();
    FFooters.reset();
    if (FCollection)
        FCollection->RemoveItem(this);
    FFont.OnChange = nullptr;
    FDropDownSpecRow->OnChanged = nullptr;
    FEditButtons->OnChanged = nullptr;
    FDropDownSpecRow.reset();
    FTitle.reset();
    FPickList.reset();
    FKeyList.reset();
    FEditButtons.reset();
    FDropDownBox.reset();
    FMRUList.reset();
    FSTFilter.reset();
    DestroyDataList();
}

std::unique_ptr<TEditButtonsGx> TColumnGx::CreateEditButtons()
{
    return std::make_unique<TEditButtonsGx>(nullptr, TEditButtonsGx::ItemClass<TVisibleEditButtonGx>());
}

std::unique_ptr<TColumnFooterGx> TColumnGx::CreateFooter() { return TColumnFooterGx::CreateApart(this); }
std::unique_ptr<TColumnFootersGx> TColumnGx::CreateFooters() { return std::make_unique<TColumnFootersGx>(this); }
std::unique_ptr<TSTColumnFilterGx> TColumnGx::CreateSTFilter() { return std::make_unique<TSTColumnFilterGx>(this); }
std::unique_ptr<TColumnTitleGx> TColumnGx::CreateTitle() { return std::make_unique<TColumnTitleGx>(this); }

IDBGridGx* TColumnGx::Grid() const { return FCollection ? FCollection->Grid() : nullptr; }

int TColumnGx::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

void TColumnGx::SetIndex(int value)
{
    // A default column shows its field where the dataset has it: the field moves first.
    IDBGridGx* grid = Grid();
    if (IsDefaultStored() && grid && grid->DataLink()->Active()) {
        TField* field = Field();
        TField* target = value >= 0 && value < grid->DataLink()->FieldCount() ? grid->DataLink()->GetMappedField(value)
                                                                               : nullptr;
        if (field && target)
            field->SetIndex(target->Index());
    }
    if (FCollection)
        FCollection->Move(Index(), value);
}

QString TColumnGx::Name() const
{
    return QStringLiteral("Column_%1_%2").arg(Index()).arg(FFieldName);
}

QString TColumnGx::GetDisplayName() const
{
    if (!FFieldName.isEmpty())
        return FFieldName;
    return QStringLiteral("TColumnGx");
}

bool TColumnGx::LinkActive() const
{
    IDBGridGx* grid = Grid();
    return grid && grid->DataLink() && grid->DataLink()->Active();
}

void TColumnGx::Changed(bool allItems)
{
    if (FConstructing || !FCollection)
        return;
    FCollection->Changed(allItems ? nullptr : this);
}

// ---------------------------------------------------------------- binding

TField* TColumnGx::Field()
{
    IDBGridGx* grid = Grid();
    if (!FField && !FFieldName.isEmpty() && grid) {
        TDataSet* ds = grid->DataSet();
        if (ds && (ds->Active() || !ds->DefaultFields())) {
            TField* found = ds->FindField(FFieldName);
            if (found != FField) {
                FField = found;
                if (found)
                    FFieldName = found->FieldName();
                EnsureFootersSums();
            }
        }
    }
    return FField;
}

void TColumnGx::SetFieldName(const QString& value)
{
    TField* found = nullptr;
    IDBGridGx* grid = Grid();
    if (grid && grid->DataSet() && !value.isEmpty())
        found = grid->DataSet()->FindField(value);
    FFieldName = value;
    SetField(found);
    FInitWidth = Width();
    Changed(false);
}

void TColumnGx::SetField(TField* value)
{
    if (FField == value)
        return;
    FField = value;
    if (value)
        FFieldName = value->FieldName();
    if (IsDefaultStored()) {
        if (!value) {
            FFieldName.clear();
            RestoreDefaults();
        }
        FInitWidth = Width();
    }
    EnsureFootersSums();
    Changed(false);
}

void TColumnGx::EnsureFootersSums()
{
    if (FFooter)
        FFooter->EnsureSumValue();
    if (FFooters)
        for (int i = 0; i < FFooters->Count(); ++i)
            FFooters->Items(i)->EnsureSumValue();
}

// ---------------------------------------------------------------- unset values

int TColumnGx::DefaultWidth()
{
    IDBGridGx* grid = Grid();
    if (!grid)
        return 64;
    TField* field = Field();
    if (!field)
        return grid->DefaultColWidth();
    TCanvas* canvas = grid->Canvas();
    TFont saved;
    saved.Assign(*canvas->Font());
    canvas->SetFont(*Font());
    const int overhang = canvas->FontOverhang();
    const int result = (canvas->TextWidth(QStringLiteral("0")) - overhang) * field->DisplayWidth() + overhang + 4;
    canvas->SetFont(saved);
    return result;
}

TAlignment TColumnGx::DefaultAlignment()
{
    TField* field = Field();
    return field ? field->Alignment() : taLeftJustify;
}

TColor TColumnGx::DefaultColor() const
{
    IDBGridGx* grid = Grid();
    return grid ? grid->Color() : clWindow;
}

TFont* TColumnGx::DefaultFont() const
{
    IDBGridGx* grid = Grid();
    return grid ? grid->Font() : const_cast<TFont*>(&FFont);
}

TImeModeGx TColumnGx::DefaultImeMode() const
{
    IDBGridGx* grid = Grid();
    return grid ? grid->ImeMode() : FImeMode;
}

QString TColumnGx::DefaultImeName() const
{
    IDBGridGx* grid = Grid();
    return grid ? grid->ImeName() : FImeName;
}

bool TColumnGx::DefaultReadOnly()
{
    IDBGridGx* grid = Grid();
    TField* field = Field();
    return (grid && grid->ReadOnly()) || (field && field->ReadOnly());
}

#define DPX_COLDEF(name)                                                        \
    bool TColumnGx::Default##name() const                                       \
    {                                                                           \
        IDBGridGx* grid = Grid();                                               \
        return grid && grid->ColumnDefValues() ? grid->ColumnDefValues()->name() : false; \
    }
DPX_COLDEF(AlwaysShowEditButton)
DPX_COLDEF(AutoDropDown)
DPX_COLDEF(DblClickNextVal)
DPX_COLDEF(DropDownShowTitles)
DPX_COLDEF(DropDownSizing)
DPX_COLDEF(EndEllipsis)
DPX_COLDEF(HighlightRequired)
DPX_COLDEF(ToolTips)
#undef DPX_COLDEF

TTextLayoutGx TColumnGx::DefaultLayout() const
{
    IDBGridGx* grid = Grid();
    return grid && grid->ColumnDefValues() ? grid->ColumnDefValues()->Layout() : tlTop;
}

bool TColumnGx::DefaultCheckboxes()
{
    TField* field = Field();
    return field && field->DataType() == ftBoolean;
}

QString TColumnGx::DefaultLookupDisplayFields()
{
    TField* field = Field();
    return field ? field->LookupResultField : QString();
}

bool TColumnGx::DefaultTextEditing()
{
    const TColumnGxType type = GetColumnType();
    return type != ctKeyImageList && type != ctCheckboxes;
}

bool TColumnGx::DefaultWordWrap()
{
    if (!Grid())
        return false;
    TField* field = Field();
    if (!field)
        return false;
    switch (field->DataType()) {
    case ftString: case ftMemo: case ftWideString: case ftWideMemo:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- properties

TAlignment TColumnGx::Alignment()
{
    return IsAssigned(cvAlignment) ? FAlignment : DefaultAlignment();
}

void TColumnGx::SetAlignment(TAlignment value)
{
    if (IsDefaultStored()) {
        if (LinkActive() && Field())
            Field()->SetAlignment(value);
        return;
    }
    if (IsAssigned(cvAlignment) && value == FAlignment)
        return;
    FAlignment = value;
    FAssignedValues.Include(cvAlignment);
    Changed(false);
}

bool TColumnGx::AlwaysShowEditButton() const
{
    return IsAssigned(cvAlwaysShowEditButton) ? FAlwaysShowEditButton : DefaultAlwaysShowEditButton();
}

void TColumnGx::SetAlwaysShowEditButton(bool value)
{
    FAlwaysShowEditButton = value;
    FAssignedValues.Include(cvAlwaysShowEditButton);
    Changed(false);
}

bool TColumnGx::AutoDropDown() const { return IsAssigned(cvAutoDropDown) ? FAutoDropDown : DefaultAutoDropDown(); }

void TColumnGx::SetAutoDropDown(bool value)
{
    FAutoDropDown = value;
    FAssignedValues.Include(cvAutoDropDown);
}

void TColumnGx::SetAutoFitColWidth(bool value)
{
    if (FAutoFitColWidth == value)
        return;
    FAutoFitColWidth = value;
    IDBGridGx* grid = Grid();
    if (grid && grid->AutoFitColWidths())
        SetWidth(FInitWidth);
    Changed(false);
}

TBiDiModeGx TColumnGx::BiDiMode() const
{
    if (IsAssigned(cvBiDiMode))
        return FBiDiMode;
    IDBGridGx* grid = Grid();
    return grid ? grid->BiDiMode() : FBiDiMode;
}

void TColumnGx::SetBiDiMode(TBiDiModeGx value)
{
    if (IsAssigned(cvBiDiMode) && value == FBiDiMode)
        return;
    FBiDiMode = value;
    FAssignedValues.Include(cvBiDiMode);
    Changed(false);
}

void TColumnGx::SetButtonStyle(TColumnButtonStyleGx value)
{
    if (value == FButtonStyle)
        return;
    FButtonStyle = value;
    Changed(false);
}

bool TColumnGx::Checkboxes() { return IsAssigned(cvCheckboxes) ? FCheckboxes : DefaultCheckboxes(); }

void TColumnGx::SetCheckboxes(bool value)
{
    if (IsAssigned(cvCheckboxes) && value == FCheckboxes)
        return;
    FCheckboxes = value;
    FAssignedValues.Include(cvCheckboxes);
    Changed(false);
}

TColor TColumnGx::Color() const { return IsAssigned(cvColor) ? FColor : DefaultColor(); }

void TColumnGx::SetColor(TColor value)
{
    FColor = value;
    FAssignedValues.Include(cvColor);
    Changed(false);
}

bool TColumnGx::DblClickNextVal() const
{
    return IsAssigned(cvDblClickNextVal) ? FDblClickNextVal : DefaultDblClickNextVal();
}

void TColumnGx::SetDblClickNextVal(bool value)
{
    FDblClickNextVal = value;
    FAssignedValues.Include(cvDblClickNextVal);
}

void TColumnGx::SetDisplayFormat(const QString& value)
{
    if (value == FDisplayFormat)
        return;
    FDisplayFormat = value;
    Changed(false);
}

bool TColumnGx::DropDownShowTitles() const
{
    return IsAssigned(cvDropDownShowTitles) ? FDropDownShowTitles : DefaultDropDownShowTitles();
}

void TColumnGx::SetDropDownShowTitles(bool value)
{
    FDropDownShowTitles = value;
    FAssignedValues.Include(cvDropDownShowTitles);
}

bool TColumnGx::DropDownSizing() const
{
    return IsAssigned(cvDropDownSizing) ? FDropDownSizing : DefaultDropDownSizing();
}

void TColumnGx::SetDropDownSizing(bool value)
{
    FDropDownSizing = value;
    FAssignedValues.Include(cvDropDownSizing);
}

void TColumnGx::SetDropDownWidth(int value)
{
    if (value == FDropDownWidth)
        return;
    FDropDownWidth = value;
    Changed(false);
}

void TColumnGx::DropDownSpecRowChanged()
{
    Changed(false);
}

void TColumnGx::SetEditMask(const QString& value)
{
    if (value == FEditMask)
        return;
    FEditMask = value;
    Changed(false);
}

bool TColumnGx::EndEllipsis() const { return IsAssigned(cvEndEllipsis) ? FEndEllipsis : DefaultEndEllipsis(); }

void TColumnGx::SetEndEllipsis(bool value)
{
    FEndEllipsis = value;
    FAssignedValues.Include(cvEndEllipsis);
    Changed(false);
}

void TColumnGx::RefreshDefaultFont()
{
    if (!IsAssigned(cvFont))
        RefreshOwnFontGx(FFont, DefaultFont(), FRefreshingFont);
}

TFont* TColumnGx::Font()
{
    RefreshDefaultFont();
    return &FFont;
}

void TColumnGx::FontChanged()
{
    if (FRefreshingFont || FConstructing)
        return;
    FAssignedValues.Include(cvFont);
    FTitle->RefreshDefaultFont();
    Changed(false);
}

void TColumnGx::SetHideDuplicates(bool value)
{
    if (value == FHideDuplicates)
        return;
    FHideDuplicates = value;
    Changed(false);
}

bool TColumnGx::HighlightRequired() const
{
    return IsAssigned(cvHighlightRequired) ? FHighlightRequired : DefaultHighlightRequired();
}

void TColumnGx::SetHighlightRequired(bool value)
{
    FHighlightRequired = value;
    FAssignedValues.Include(cvHighlightRequired);
    Changed(false);
}

void TColumnGx::SetImageList(TImageList* value)
{
    FImageList = value;
    if (IDBGridGx* grid = Grid())
        grid->Invalidate();
}

TImeModeGx TColumnGx::ImeMode() const { return IsAssigned(cvImeMode) ? FImeMode : DefaultImeMode(); }

void TColumnGx::SetImeMode(TImeModeGx value)
{
    if (IsAssigned(cvImeMode) || value != DefaultImeMode()) {
        FImeMode = value;
        FAssignedValues.Include(cvImeMode);
    }
    Changed(false);
}

QString TColumnGx::ImeName() const { return IsAssigned(cvImeName) ? FImeName : DefaultImeName(); }

void TColumnGx::SetImeName(const QString& value)
{
    if (IsAssigned(cvImeName) || value != DefaultImeName()) {
        FImeName = value;
        FAssignedValues.Include(cvImeName);
    }
    Changed(false);
}

QStringList& TColumnGx::KeyList()
{
    if (!FKeyList)
        FKeyList = std::make_unique<QStringList>();
    return *FKeyList;
}

void TColumnGx::SetKeyList(const QStringList* value)
{
    if (!value) {
        FKeyList.reset();
        return;
    }
    KeyList() = *value;
    if (IDBGridGx* grid = Grid())
        grid->Invalidate();
}

TTextLayoutGx TColumnGx::Layout() const { return IsAssigned(cvLayout) ? FLayout : DefaultLayout(); }

void TColumnGx::SetLayout(TTextLayoutGx value)
{
    FLayout = value;
    FAssignedValues.Include(cvLayout);
    Changed(false);
}

QString TColumnGx::LookupDisplayFields()
{
    return IsAssigned(cvLookupDisplayFields) ? FLookupDisplayFields : DefaultLookupDisplayFields();
}

void TColumnGx::SetLookupDisplayFields(const QString& value)
{
    if (IsAssigned(cvLookupDisplayFields) || value != DefaultLookupDisplayFields()) {
        FLookupDisplayFields = value;
        FAssignedValues.Include(cvLookupDisplayFields);
    }
    Changed(false);
}

void TColumnGx::SetMaxWidth(int value)
{
    FMaxWidth = value;
    if (value > 0 && value < Width())
        SetWidth(value);
}

void TColumnGx::SetMinWidth(int value)
{
    FMinWidth = value;
    if (value > 0 && value > Width())
        SetWidth(value);
}

void TColumnGx::SetNotInKeyListIndex(int value)
{
    if (value == FNotInKeyListIndex)
        return;
    FNotInKeyListIndex = value;
    if (IDBGridGx* grid = Grid())
        grid->Invalidate();
}

QStringList& TColumnGx::PickList()
{
    if (!FPickList)
        FPickList = std::make_unique<QStringList>();
    return *FPickList;
}

void TColumnGx::SetPickList(const QStringList* value)
{
    if (!value) {
        FPickList.reset();
        return;
    }
    PickList() = *value;
}

bool TColumnGx::ReadOnly() { return IsAssigned(cvReadOnly) ? FReadonly : DefaultReadOnly(); }

void TColumnGx::SetReadOnly(bool value)
{
    if (IsDefaultStored() && LinkActive() && Field()) {
        Field()->SetReadOnly(value);
        return;
    }
    FReadonly = value;
    FAssignedValues.Include(cvReadOnly);
    Changed(false);
}

void TColumnGx::SetShowImageAndText(bool value)
{
    if (value == FShowImageAndText)
        return;
    FShowImageAndText = value;
    Changed(false);
}

bool TColumnGx::TextEditing() { return IsAssigned(cvTextEditing) ? FTextEditing : DefaultTextEditing(); }

void TColumnGx::SetTextEditing(bool value)
{
    if (IsAssigned(cvTextEditing) || value != DefaultTextEditing()) {
        FTextEditing = value;
        FAssignedValues.Include(cvTextEditing);
    }
    Changed(false);
}

bool TColumnGx::ToolTips() const { return IsAssigned(cvToolTips) ? FToolTips : DefaultToolTips(); }

void TColumnGx::SetToolTips(bool value)
{
    FToolTips = value;
    FAssignedValues.Include(cvToolTips);
}

void TColumnGx::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed(true);
}

int TColumnGx::Width() { return IsAssigned(cvWidth) ? FWidth : DefaultWidth(); }

void TColumnGx::SetWidth(int value)
{
    IDBGridGx* grid = Grid();
    bool take = true;
    if (IsDefaultStored() && grid) {
        TField* field = Field();
        if (grid->HandleAllocated() && field && grid->UpdateFields()) {
            TCanvas* canvas = grid->Canvas();
            TFont saved;
            saved.Assign(*canvas->Font());
            canvas->SetFont(*Font());
            const int zero = std::max(1, canvas->TextWidth(QStringLiteral("0")));
            const int displayWidth =
                (value + canvas->FontAverageCharWidth() / 2 - canvas->FontOverhang() - 3) / zero;
            canvas->SetFont(saved);
            field->SetDisplayWidth(displayWidth);
        }
        take = !grid->LayoutFromDataset() || IsAssigned(cvWidth);
    }
    if (take && (IsAssigned(cvWidth) || value != DefaultWidth()) && value != -1) {
        FWidth = value;
        FAssignedValues.Include(cvWidth);
        if (FMaxWidth > 0 && FMaxWidth < FWidth)
            FWidth = FMaxWidth;
        if (FMinWidth > 0 && FMinWidth > FWidth)
            FWidth = FMinWidth;
    }
    Changed(grid && grid->RowPanelActive());
}

bool TColumnGx::WordWrap() { return IsAssigned(cvWordWrap) ? FWordWrap : DefaultWordWrap(); }

void TColumnGx::SetWordWrap(bool value)
{
    if (IsAssigned(cvWordWrap) || value != DefaultWordWrap()) {
        FWordWrap = value;
        FAssignedValues.Include(cvWordWrap);
    }
    Changed(false);
}

int TColumnGx::FullWidth()
{
    int result = Width();
    IDBGridGx* grid = Grid();
    if (grid && FCollection) {
        for (int i = 0; i < FCollection->Count(); ++i) {
            TColumnGx* c = FCollection->GetColumn(i);
            if (c->Visible()) {
                if (c == this)
                    result += grid->ExtraFirstColumnWidth();
                break;
            }
        }
    }
    return result;
}

TColumnFooterGx* TColumnGx::UsedFooter(int index) const
{
    return index < FFooters->Count() ? FFooters->Items(index) : FFooter.get();
}

void TColumnGx::ListSourceChanged(TDataSource*)
{
    // The grid learns of a freed list source through its owner; nothing to keep here.
}

// ---------------------------------------------------------------- copying and defaults

void TColumnGx::Assign(const TColumnGx& source)
{
    if (&source == this)
        return;
    auto& src = const_cast<TColumnGx&>(source);
    CollectionUpdateScope update(FCollection);
    RestoreDefaults();
    SetFieldName(src.FieldName());
    if (src.IsAssigned(cvColor)) SetColor(src.Color());
    if (src.IsAssigned(cvWidth)) SetWidth(src.Width());
    if (src.IsAssigned(cvFont)) SetFont(*src.Font());
    if (src.IsAssigned(cvImeMode)) SetImeMode(src.ImeMode());
    if (src.IsAssigned(cvImeName)) SetImeName(src.ImeName());
    if (src.IsAssigned(cvAlignment)) SetAlignment(src.Alignment());
    if (src.IsAssigned(cvReadOnly)) SetReadOnly(src.ReadOnly());
    SetTitle(*src.Title());
    SetDropDownRows(src.DropDownRows());
    SetButtonStyle(src.ButtonStyle());
    SetPickList(src.FPickList.get());
    SetPopupMenu(src.PopupMenu());
    FInitWidth = src.FInitWidth;
    SetAutoFitColWidth(src.AutoFitColWidth());
    SetWordWrap(src.WordWrap());
    SetEndEllipsis(src.EndEllipsis());
    SetDropDownWidth(src.DropDownWidth());
    if (src.IsAssigned(cvLookupDisplayFields)) SetLookupDisplayFields(src.LookupDisplayFields());
    SetAutoDropDown(src.AutoDropDown());
    SetAlwaysShowEditButton(src.AlwaysShowEditButton());
    SetFooter(*src.Footer());
    SetKeyList(src.FKeyList.get());
    if (src.IsAssigned(cvCheckboxes)) SetCheckboxes(src.Checkboxes());
    SetIncrement(src.Increment());
    SetToolTips(src.ToolTips());
    SetFooters(*src.Footers());
    SetTag(src.Tag());
    SetVisible(src.Visible());
    SetImageList(src.ImageList());
    SetNotInKeyListIndex(src.NotInKeyListIndex());
    SetMinWidth(src.MinWidth());
    SetMaxWidth(src.MaxWidth());
    SetDblClickNextVal(src.DblClickNextVal());
    SetDropDownSizing(src.DropDownSizing());
    SetDropDownShowTitles(src.DropDownShowTitles());
    OnGetCellParams = src.OnGetCellParams;
    OnNotInList = src.OnNotInList;
    OnUpdateData = src.OnUpdateData;
    OnEditButtonClick = src.OnEditButtonClick;
    OnEditButtonDown = src.OnEditButtonDown;
    FEditButtons->Clear();
    for (int i = 0; i < src.EditButtons()->Count(); ++i)
        FEditButtons->Add()->Assign(*src.EditButtons()->ButtonAt(i));
    SetDropDownBox(*src.DropDownBox());
    SetMRUList(*src.MRUList());
    SetDisplayFormat(src.DisplayFormat());
    SetEditMask(src.EditMask());
    SetShowImageAndText(src.ShowImageAndText());
    SetHideDuplicates(src.HideDuplicates());
    SetLayout(src.Layout());
}

void TColumnGx::RestoreDefaults()
{
    const bool fontAssigned = IsAssigned(cvFont);
    FTitle->RestoreDefaults();
    FAssignedValues = TColumnGxValues();
    RefreshDefaultFont();
    FPickList.reset();
    FButtonStyle = cbsAuto;
    Changed(fontAssigned);
    FKeyList.reset();
}
