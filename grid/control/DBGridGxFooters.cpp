// Column footers, the column's drop-down box settings and its filter-row settings.
#include "DBGridGxColumns.h"
#include "DBGridGxRoutines.h"
#include "grid/support/DBSumLst.h"
#include "platform/db/Field.h"

// ---------------------------------------------------------------- footer

TColumnFooterGx::TColumnFooterGx(TColumnFootersGx* collection)
    : FColumn(collection ? collection->Column() : nullptr)
    , FCollection(collection)
{
    InitFont();
    if (FColumn && FColumn->Grid())
        FColumn->Grid()->InvalidateFooter();
}

TColumnFooterGx::TColumnFooterGx(TColumnGx* column)
    : FColumn(column)
{
    InitFont();
}

std::unique_ptr<TColumnFooterGx> TColumnFooterGx::CreateApart(TColumnGx* column)
{
    return std::unique_ptr<TColumnFooterGx>(new TColumnFooterGx(column));
}

void TColumnFooterGx::InitFont()
{
    if (TFont* def = DefaultFont())
        FFont.Assign(*def);
    FFont.OnChange = [this] { FontChanged(); };
}

TColumnFooterGx::~TColumnFooterGx()
{
    FFont.OnChange = nullptr;
    IDBGridGx* grid = FColumn ? FColumn->Grid() : nullptr;
    if (FCollection && grid)
        grid->InvalidateFooter();
    if (FDBSum && grid && grid->SumList()) {
        TDBSumCollection* sums = grid->SumList()->SumCollection();
        for (int i = 0; i < sums->Count(); ++i)
            if (sums->Items(i) == FDBSum) {
                delete FDBSum;
                break;
            }
    }
    FDBSum = nullptr;
}

TAlignment TColumnFooterGx::DefaultAlignment() const
{
    TField* field = FColumn ? FColumn->Field() : nullptr;
    return field ? field->Alignment() : taLeftJustify;
}

TColor TColumnFooterGx::DefaultColor() const
{
    IDBGridGx* grid = FColumn ? FColumn->Grid() : nullptr;
    return grid ? grid->FooterColor() : clWindow;
}

TFont* TColumnFooterGx::DefaultFont() const
{
    if (!FColumn)
        return nullptr;
    IDBGridGx* grid = FColumn->Grid();
    return grid ? grid->FooterFont() : FColumn->Font();
}

bool TColumnFooterGx::DefaultToolTips() const
{
    IDBGridGx* grid = FColumn ? FColumn->Grid() : nullptr;
    return grid && grid->ColumnDefValues() ? grid->ColumnDefValues()->Footer()->ToolTips() : false;
}

TAlignment TColumnFooterGx::Alignment() const
{
    return FAssignedValues.Contains(cvFooterAlignment) ? FAlignment : DefaultAlignment();
}

TColor TColumnFooterGx::Color() const
{
    return FAssignedValues.Contains(cvFooterColor) ? FColor : DefaultColor();
}

bool TColumnFooterGx::ToolTips() const
{
    return FAssignedValues.Contains(cvFooterToolTips) ? FToolTips : DefaultToolTips();
}

void TColumnFooterGx::ColumnChanged(bool allItems)
{
    if (FColumn)
        FColumn->Changed(allItems);
}

void TColumnFooterGx::SetAlignment(TAlignment value)
{
    if (FAssignedValues.Contains(cvFooterAlignment) && value == FAlignment)
        return;
    FAlignment = value;
    FAssignedValues.Include(cvFooterAlignment);
    ColumnChanged(false);
}

void TColumnFooterGx::SetColor(TColor value)
{
    if (FAssignedValues.Contains(cvFooterColor) && value == FColor)
        return;
    FColor = value;
    FAssignedValues.Include(cvFooterColor);
    ColumnChanged(false);
}

void TColumnFooterGx::SetToolTips(bool value)
{
    if (FAssignedValues.Contains(cvFooterToolTips) && value == FToolTips)
        return;
    FToolTips = value;
    FAssignedValues.Include(cvFooterToolTips);
}

void TColumnFooterGx::SetEndEllipsis(bool value)
{
    FEndEllipsis = value;
    ColumnChanged(false);
}

void TColumnFooterGx::SetValue(const QString& value)
{
    FValue = value;
    ColumnChanged(false);
}

void TColumnFooterGx::SetWordWrap(bool value)
{
    FWordWrap = value;
    ColumnChanged(false);
}

void TColumnFooterGx::SetDisplayFormat(const QString& value)
{
    if (value == FDisplayFormat)
        return;
    FDisplayFormat = value;
    ColumnChanged(false);
}

void TColumnFooterGx::EnsureColumnSums()
{
    if (!FColumn) {
        EnsureSumValue();
        return;
    }
    FColumn->Footer()->EnsureSumValue();
    for (int i = 0; i < FColumn->Footers()->Count(); ++i)
        FColumn->Footers()->Items(i)->EnsureSumValue();
}

void TColumnFooterGx::SetFieldName(const QString& value)
{
    FFieldName = value;
    EnsureColumnSums();
    ColumnChanged(false);
}

void TColumnFooterGx::SetValueType(TFooterValueType value)
{
    if (value == FValueType)
        return;
    FValueType = value;
    EnsureColumnSums();
    ColumnChanged(false);
}

void TColumnFooterGx::RefreshDefaultFont()
{
    if (!FAssignedValues.Contains(cvFooterFont))
        RefreshOwnFontGx(FFont, DefaultFont(), FRefreshingFont);
}

TFont* TColumnFooterGx::Font()
{
    RefreshDefaultFont();
    return &FFont;
}

void TColumnFooterGx::FontChanged()
{
    if (FRefreshingFont)
        return;
    FAssignedValues.Include(cvFooterFont);
    ColumnChanged(true);
}

void TColumnFooterGx::RestoreDefaults()
{
    const bool fontAssigned = FAssignedValues.Contains(cvFooterFont);
    FAssignedValues = TColumnFooterValues();
    RefreshDefaultFont();
    ColumnChanged(fontAssigned);
}

void TColumnFooterGx::Assign(const TColumnFooterGx& source)
{
    if (&source == this)
        return;
    auto& src = const_cast<TColumnFooterGx&>(source);
    if (src.FAssignedValues.Contains(cvFooterAlignment)) SetAlignment(src.Alignment());
    if (src.FAssignedValues.Contains(cvFooterColor)) SetColor(src.Color());
    if (src.FAssignedValues.Contains(cvFooterFont)) SetFont(*src.Font());
    SetEndEllipsis(src.EndEllipsis());
    SetValueType(src.ValueType());
    SetFieldName(src.FieldName());
    SetValue(src.Value());
    SetWordWrap(src.WordWrap());
    SetDisplayFormat(src.DisplayFormat());
    SetToolTips(src.ToolTips());
}

void TColumnFooterGx::EnsureSumValue()
{
    IDBGridGx* grid = FColumn ? FColumn->Grid() : nullptr;
    if (!grid || !grid->SumList())
        return;
    switch (FValueType) {
    case fvtSum:
    case fvtAvg:
    case fvtCount: {
        if (!FDBSum)
            FDBSum = grid->SumList()->SumCollection()->Add();
        if (FValueType == fvtCount) {
            FDBSum->SetGroupOperation(goCount);
            FDBSum->SetFieldName(QString());
        } else {
            FDBSum->SetGroupOperation(FValueType == fvtSum ? goSum : goAvg);
            FDBSum->SetFieldName(FFieldName.isEmpty() ? FColumn->FieldName() : FFieldName);
        }
        break;
    }
    default:
        delete FDBSum;
        FDBSum = nullptr;
        break;
    }
}

Variant TColumnFooterGx::SumValue() const
{
    return FDBSum ? Variant(FDBSum->SumValue) : Variant();
}

// ---------------------------------------------------------------- footer collection

TColumnFootersGx::~TColumnFootersGx() { Clear(); }

TColumnFooterGx* TColumnFootersGx::Add()
{
    FItems.push_back(std::make_unique<TColumnFooterGx>(this));
    return FItems.back().get();
}

void TColumnFootersGx::Clear()
{
    while (!FItems.empty())
        FItems.pop_back();
}

void TColumnFootersGx::Assign(const TColumnFootersGx& source)
{
    if (&source == this)
        return;
    Clear();
    for (const auto& item : source.FItems)
        Add()->Assign(*item);
}

// ---------------------------------------------------------------- drop-down box

TColumnDropDownBoxGx::TColumnDropDownBoxGx(TColumnGx* owner)
    : FOwner(owner)
    , FSpecRow(std::make_unique<TSpecRowGx>(nullptr))
{
}

TColumnDropDownBoxGx::~TColumnDropDownBoxGx() = default;

IColumnDataListGx* TColumnDropDownBoxGx::DataList() const { return FOwner; }

TDBLookupGridGxOptions TColumnDropDownBoxGx::Options() const
{
    IColumnDataListGx* list = DataList();
    return list ? list->GetDataListOptions() : TDBLookupGridGxOptions();
}

void TColumnDropDownBoxGx::SetOptions(TDBLookupGridGxOptions value)
{
    if (IColumnDataListGx* list = DataList())
        list->SetDataListOptions(value);
}

bool TColumnDropDownBoxGx::SortLocal() const
{
    IColumnDataListGx* list = DataList();
    return list ? list->GetDataListSortLocal() : false;
}

void TColumnDropDownBoxGx::SetSortLocal(bool value)
{
    if (IColumnDataListGx* list = DataList())
        list->SetDataListSortLocal(value);
}

void TColumnDropDownBoxGx::SetListSource(TDataSource* value)
{
    if (value == FListSource)
        return;
    FListSource = value;
    if (IColumnDataListGx* list = DataList())
        list->ListSourceChanged(value);
}

void TColumnDropDownBoxGx::Assign(const TColumnDropDownBoxGx& source)
{
    if (&source == this)
        return;
    FAlign = source.FAlign;
    FAutoDrop = source.FAutoDrop;
    SetAutoFitColWidths(source.AutoFitColWidths());
    SetOptions(source.Options());
    FRows = source.FRows;
    FWidth = source.FWidth;
    FSizable = source.FSizable;
    FShowTitles = source.FShowTitles;
    FUseMultiTitle = source.FUseMultiTitle;
    SetListSource(source.ListSource());
}

