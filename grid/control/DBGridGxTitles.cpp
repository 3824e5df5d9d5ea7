// Column titles with sort marking, the grid's column default values and the
// plain column list.
#include "DBGridGxColumns.h"
#include "DBGridGxDataLink.h"
#include "DBGridGxRoutines.h"
#include "DBGridGxUnit.h"
#include "grid/support/EditButtonPaintGx.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/db/Field.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ControlBase.h"

// ---------------------------------------------------------------- column list

int TColumnsGxList::IndexOf(const TColumnGx* column) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i] == column)
            return int(i);
    return -1;
}

int TColumnsGxList::Remove(const TColumnGx* column)
{
    const int i = IndexOf(column);
    if (i >= 0)
        FItems.erase(FItems.begin() + i);
    return i;
}

// ---------------------------------------------------------------- default values

IDBGridGx* TColumnTitleDefValuesGx::Grid() const { return FColumnDefValues->Grid(); }

TAlignment TColumnTitleDefValuesGx::DefaultAlignment() const
{
    IDBGridGx* grid = Grid();
    return grid && grid->UseMultiTitle() ? taCenter : taLeftJustify;
}

TColor TColumnTitleDefValuesGx::DefaultColor() const
{
    IDBGridGx* grid = Grid();
    return grid ? grid->FixedColor() : clBtnFace;
}

TAlignment TColumnTitleDefValuesGx::Alignment() const
{
    return FAssignedValues.Contains(cvdpTitleAlignmentGx) ? FAlignment : DefaultAlignment();
}

void TColumnTitleDefValuesGx::SetAlignment(TAlignment value)
{
    if (FAssignedValues.Contains(cvdpTitleAlignmentGx) && value == FAlignment)
        return;
    FAlignment = value;
    FAssignedValues.Include(cvdpTitleAlignmentGx);
    if (IDBGridGx* grid = Grid())
        grid->LayoutChanged();
}

TColor TColumnTitleDefValuesGx::Color() const
{
    return FAssignedValues.Contains(cvdpTitleColorGx) ? FColor : DefaultColor();
}

void TColumnTitleDefValuesGx::SetColor(TColor value)
{
    if (FAssignedValues.Contains(cvdpTitleColorGx) && value == FColor)
        return;
    FColor = value;
    FAssignedValues.Include(cvdpTitleColorGx);
    if (IDBGridGx* grid = Grid())
        grid->Invalidate();
}

void TColumnTitleDefValuesGx::SetEndEllipsis(bool value)
{
    if (value == FEndEllipsis)
        return;
    FEndEllipsis = value;
    if (IDBGridGx* grid = Grid())
        grid->Invalidate();
}

void TColumnTitleDefValuesGx::SetOrientation(TTextOrientationGx value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    if (IDBGridGx* grid = Grid())
        grid->LayoutChanged();
}

void TColumnTitleDefValuesGx::Assign(const TColumnTitleDefValuesGx& source)
{
    if (source.FAssignedValues.Contains(cvdpTitleAlignmentGx))
        SetAlignment(source.FAlignment);
    if (source.FAssignedValues.Contains(cvdpTitleColorGx))
        SetColor(source.FColor);
    SetEndEllipsis(source.FEndEllipsis);
    SetOrientation(source.FOrientation);
    FTitleButton = source.FTitleButton;
    FToolTips = source.FToolTips;
}

TColumnDefValuesGx::TColumnDefValuesGx(IDBGridGx* grid)
    : FGrid(grid)
    , FTitle(std::make_unique<TColumnTitleDefValuesGx>(this))
    , FFooter(std::make_unique<TColumnFooterDefValuesGx>())
{
    FLayout = tlTop;
}

TColumnDefValuesGx::~TColumnDefValuesGx() = default;

void TColumnDefValuesGx::Repaint()
{
    if (FGrid)
        FGrid->Invalidate();
}

void TColumnDefValuesGx::SetAlwaysShowEditButton(bool value)
{
    if (value == FAlwaysShowEditButton)
        return;
    FAlwaysShowEditButton = value;
    Repaint();
}

void TColumnDefValuesGx::SetEndEllipsis(bool value)
{
    if (value == FEndEllipsis)
        return;
    FEndEllipsis = value;
    Repaint();
}

void TColumnDefValuesGx::SetLayout(TTextLayoutGx value)
{
    if (value == FLayout)
        return;
    FLayout = value;
    Repaint();
}

void TColumnDefValuesGx::SetHighlightRequired(bool value)
{
    if (value == FHighlightRequired)
        return;
    FHighlightRequired = value;
    Repaint();
}

void TColumnDefValuesGx::Assign(const TColumnDefValuesGx& source)
{
    FTitle->Assign(*source.FTitle);
    SetAlwaysShowEditButton(source.FAlwaysShowEditButton);
    SetEndEllipsis(source.FEndEllipsis);
    FAutoDropDown = source.FAutoDropDown;
    FDblClickNextVal = source.FDblClickNextVal;
    FToolTips = source.FToolTips;
    FDropDownSizing = source.FDropDownSizing;
    FDropDownShowTitles = source.FDropDownShowTitles;
}

// ---------------------------------------------------------------- title

TColumnTitleGx::TColumnTitleGx(TColumnGx* column)
    : FColumn(column)
{
    FFont.Assign(*DefaultFont());
    FFont.OnChange = [this] { FontChanged(); };
    FTitleButton = false;
    FSortMarker = smNoneGx;
    FImageIndex = -1;
}

TColumnTitleGx::~TColumnTitleGx() { FFont.OnChange = nullptr; }

TColumnGxValues& TColumnTitleGx::Assigned() const { return FColumn->AssignedValuesRef(); }
bool TColumnTitleGx::IsAssigned(TColumnGxValue v) const { return FColumn->AssignedValues().Contains(v); }

static TColumnDefValuesGx* DefValuesOf(const TColumnGx* column)
{
    IDBGridGx* grid = column->Grid();
    return grid ? grid->ColumnDefValues() : nullptr;
}

TAlignment TColumnTitleGx::DefaultAlignment() const
{
    TColumnDefValuesGx* d = DefValuesOf(FColumn);
    return d ? d->Title()->Alignment() : taLeftJustify;
}

QString TColumnTitleGx::DefaultCaption() const
{
    TField* field = FColumn->Field();
    return field ? field->DisplayName() : FColumn->FieldName();
}

TColor TColumnTitleGx::DefaultColor() const
{
    TColumnDefValuesGx* d = DefValuesOf(FColumn);
    return d ? d->Title()->Color() : clBtnFace;
}

TFont* TColumnTitleGx::DefaultFont() const
{
    IDBGridGx* grid = FColumn->Grid();
    return grid ? grid->TitleFont() : FColumn->Font();
}

bool TColumnTitleGx::DefaultEndEllipsis() const
{
    TColumnDefValuesGx* d = DefValuesOf(FColumn);
    return d ? d->Title()->EndEllipsis() : false;
}

TTextOrientationGx TColumnTitleGx::DefaultOrientation() const
{
    TColumnDefValuesGx* d = DefValuesOf(FColumn);
    return d ? d->Title()->Orientation() : tohHorizontal;
}

bool TColumnTitleGx::DefaultTitleButton() const
{
    TColumnDefValuesGx* d = DefValuesOf(FColumn);
    return d ? d->Title()->TitleButton() : false;
}

bool TColumnTitleGx::DefaultToolTips() const
{
    TColumnDefValuesGx* d = DefValuesOf(FColumn);
    return d ? d->Title()->ToolTips() : false;
}

TAlignment TColumnTitleGx::Alignment() const { return IsAssigned(cvTitleAlignment) ? FAlignment : DefaultAlignment(); }

void TColumnTitleGx::SetAlignment(TAlignment value)
{
    if (IsAssigned(cvTitleAlignment) && value == FAlignment)
        return;
    FAlignment = value;
    Assigned().Include(cvTitleAlignment);
    FColumn->Changed(false);
}

QString TColumnTitleGx::Caption() const { return IsAssigned(cvTitleCaption) ? FCaption : DefaultCaption(); }

void TColumnTitleGx::SetCaption(const QString& value)
{
    if (FColumn->IsDefaultStored()) {
        IDBGridGx* grid = FColumn->Grid();
        if (grid && grid->DataLink() && grid->DataLink()->Active() && FColumn->Field())
            FColumn->Field()->SetDisplayLabel(value);
        return;
    }
    if (IsAssigned(cvTitleCaption) && value == FCaption)
        return;
    FCaption = value;
    Assigned().Include(cvTitleCaption);
    FColumn->Changed(false);
}

TColor TColumnTitleGx::Color() const { return IsAssigned(cvTitleColor) ? FColor : DefaultColor(); }

void TColumnTitleGx::SetColor(TColor value)
{
    if (IsAssigned(cvTitleColor) && value == FColor)
        return;
    FColor = value;
    Assigned().Include(cvTitleColor);
    FColumn->Changed(false);
}

bool TColumnTitleGx::EndEllipsis() const { return IsAssigned(cvTitleEndEllipsis) ? FEndEllipsis : DefaultEndEllipsis(); }

void TColumnTitleGx::SetEndEllipsis(bool value)
{
    if (IsAssigned(cvTitleEndEllipsis) && value == FEndEllipsis)
        return;
    FEndEllipsis = value;
    Assigned().Include(cvTitleEndEllipsis);
    FColumn->Changed(false);
}

void TColumnTitleGx::RefreshDefaultFont()
{
    if (!IsAssigned(cvTitleFont))
        RefreshOwnFontGx(FFont, DefaultFont(), FRefreshingFont);
}

TFont* TColumnTitleGx::Font()
{
    RefreshDefaultFont();
    return &FFont;
}

void TColumnTitleGx::FontChanged()
{
    if (FRefreshingFont)
        return;
    Assigned().Include(cvTitleFont);
    FColumn->Changed(true);
}

void TColumnTitleGx::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    if (IDBGridGx* grid = FColumn->Grid())
        grid->LayoutChanged();
}

TTextOrientationGx TColumnTitleGx::Orientation() const
{
    return IsAssigned(cvTitleOrientation) ? FOrientation : DefaultOrientation();
}

void TColumnTitleGx::SetOrientation(TTextOrientationGx value)
{
    if (IsAssigned(cvTitleOrientation) && value == FOrientation)
        return;
    FOrientation = value;
    Assigned().Include(cvTitleOrientation);
    FColumn->Changed(false);
}

bool TColumnTitleGx::TitleButton() const { return IsAssigned(cvTitleButton) ? FTitleButton : DefaultTitleButton(); }

void TColumnTitleGx::SetTitleButton(bool value)
{
    if (IsAssigned(cvTitleButton) && value == FTitleButton)
        return;
    FTitleButton = value;
    Assigned().Include(cvTitleButton);
    FColumn->Changed(false);
}

bool TColumnTitleGx::ToolTips() const { return IsAssigned(cvTitleToolTips) ? FToolTips : DefaultToolTips(); }

void TColumnTitleGx::SetToolTips(bool value)
{
    if (IsAssigned(cvTitleToolTips) && value == FToolTips)
        return;
    FToolTips = value;
    Assigned().Include(cvTitleToolTips);
}

void TColumnTitleGx::Assign(const TColumnTitleGx& source)
{
    if (&source == this)
        return;
    auto& src = const_cast<TColumnTitleGx&>(source);
    if (src.IsAssigned(cvTitleAlignment)) SetAlignment(src.Alignment());
    if (src.IsAssigned(cvTitleColor)) SetColor(src.Color());
    if (src.IsAssigned(cvTitleCaption)) SetCaption(src.Caption());
    if (src.IsAssigned(cvTitleFont)) SetFont(*src.Font());
    SetHint(src.Hint());
    SetImageIndex(src.ImageIndex());
    SetOrientation(src.Orientation());
    SetSortIndex(src.SortIndex());
    SetSortMarker(src.SortMarker());
    SetTitleButton(src.TitleButton());
    SetEndEllipsis(src.EndEllipsis());
    SetToolTips(src.ToolTips());
}

void TColumnTitleGx::RestoreDefaults()
{
    const bool fontAssigned = IsAssigned(cvTitleFont);
    for (int v = cvTitleColor; v <= cvTitleOrientation; ++v)
        Assigned().Exclude(TColumnGxValue(v));
    FCaption.clear();
    RefreshDefaultFont();
    FColumn->Changed(fontAssigned);
}

void TColumnTitleGx::SetSortMarker(TSortMarkerGx value)
{
    if (value == FSortMarker)
        return;
    FSortMarker = value;
    TDBGridColumnsGx* columns = FColumn->Collection();
    IDBGridGx* grid = FColumn->Grid();
    if (!columns || !grid || columns->UpdateCount() > 0)
        return;
    TColumnsGxList* marked = grid->SortMarkedColumns();
    if (grid->OptionsGx().Contains(dghMultiSortMarking)) {
        if (value != smNoneGx && FSortIndex == 0) {
            int count = 0;
            for (int i = 0; i < columns->Count(); ++i)
                if (columns->GetColumn(i)->Title()->SortIndex() != 0)
                    ++count;
            FSortIndex = count + 1;
            marked->Add(FColumn);
        } else if (value == smNoneGx && FSortIndex != 0) {
            for (int i = 0; i < columns->Count(); ++i) {
                TColumnTitleGx* t = columns->GetColumn(i)->Title();
                if (t != this && t->FSortIndex > FSortIndex)
                    --t->FSortIndex;
            }
            marked->Remove(FColumn);
            FSortIndex = 0;
        }
    } else if (value != smNoneGx) {
        for (int i = 0; i < columns->Count(); ++i) {
            TColumnTitleGx* t = columns->GetColumn(i)->Title();
            if (t != this && t->SortMarker() != smNoneGx)
                t->SetSortMarker(smNoneGx);
        }
        FSortIndex = 1;
        marked->Clear();
        marked->Add(FColumn);
    } else {
        FSortIndex = 0;
        marked->Clear();
    }
    FColumn->Changed(false);
}

void TColumnTitleGx::SetSortIndex(int value)
{
    if (value < 0)
        value = 0;
    if (value == FSortIndex)
        return;
    TDBGridColumnsGx* columns = FColumn->Collection();
    if (columns && columns->UpdateCount() > 0) {
        FSortIndex = value;
        return;
    }
    if (!columns || FSortMarker == smNoneGx)
        return;
    for (int i = 0; i < columns->Count(); ++i) {
        TColumnGx* other = columns->GetColumn(i);
        if (other == FColumn || other->Title()->FSortIndex == 0 || other->Title()->FSortIndex != value)
            continue;
        other->Title()->FSortIndex = FSortIndex;
        FSortIndex = value;
        if (IDBGridGx* grid = FColumn->Grid()) {
            TColumnsGxList* marked = grid->SortMarkedColumns();
            const int a = marked->IndexOf(FColumn), b = marked->IndexOf(other);
            if (a >= 0 && b >= 0)
                marked->Exchange(a, b);
        }
        FColumn->Changed(false);
        return;
    }
}

void TColumnTitleGx::SetNextSortMarkerValue(bool keepMulti)
{
    if (!keepMulti)
        if (TDBGridColumnsGx* columns = FColumn->Collection())
            for (int i = 0; i < columns->Count(); ++i) {
                TColumnTitleGx* t = columns->GetColumn(i)->Title();
                if (t != this && t->SortMarker() != smNoneGx)
                    t->SetSortMarker(smNoneGx);
            }
    switch (FSortMarker) {
    case smNoneGx: SetSortMarker(smDownGx); break;
    case smDownGx: SetSortMarker(smUpGx); break;
    case smUpGx: SetSortMarker(keepMulti ? smNoneGx : smDownGx); break;
    }
}

int TColumnTitleGx::GetSortMarkingWidth()
{
    if (FSortIndex == 0)
        return 0;
    int width = 16;
    int textWidth = 0;
    IDBGridGx* grid = FColumn->Grid();
    if (grid && grid->SortMarkedColumns()->Count() > 1 && SortIndexFont()) {
        TCanvas canvas;
        canvas.SetFont(*SortIndexFont());
        textWidth = canvas.TextWidth(QString::number(FSortIndex));
        width += textWidth;
    }
    const int columnWidth = FColumn->Width();
    if (width > columnWidth - 4)
        width -= 14;
    if (width > columnWidth - 4)
        width -= textWidth + 2;
    return width;
}

int TColumnTitleGx::GetFilterButtonAreaWidth() const
{
    IDBGridGx* grid = FColumn->Grid();
    if (!grid || !grid->FilterButtonsInTitle())
        return 0;
    if (grid->Flat())
        return GetDefaultFlatButtonWidth() + (IsThemingActive() ? 0 : 1);
    return GetSystemMetrics(SM_CXVSCROLL);
}
