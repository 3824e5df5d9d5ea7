#include "DBGridGxStyle.h"
#include "DBGridGxColumns.h"
#include "DBGridGxRoutines.h"
#include "platform/db/DataSet.h"
#include "platform/gui/Application.h"
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <algorithm>

// ---------------------------------------------------------------- dataset features registry

namespace {

struct FeaturesEntry {
    std::function<bool(const TDataSet*)> isA;
    int depth;
    std::unique_ptr<TDataSetFeatureProviderGx> features;
};

std::vector<FeaturesEntry>& Registry()
{
    static std::vector<FeaturesEntry> registry;
    return registry;
}

int gScreenColorCount = -1;

} // namespace

void RegisterDataSetFeaturesGx(std::function<bool(const TDataSet*)> isA, int classDepth,
                               std::unique_ptr<TDataSetFeatureProviderGx> features)
{
    Registry().push_back({std::move(isA), classDepth, std::move(features)});
}

void UnregisterAllDataSetFeaturesGx() { Registry().clear(); }

TDataSetFeatureProviderGx* FindDataSetFeatures(const TDataSet* dataSet)
{
    if (!dataSet)
        return nullptr;
    const FeaturesEntry* best = nullptr;
    for (const FeaturesEntry& e : Registry())
        if (e.isA(dataSet) && (!best || e.depth > best->depth))
            best = &e;
    return best ? best->features.get() : nullptr;
}

int ScreenColorCountGx() { return gScreenColorCount; }
void SetScreenColorCountGx(int count) { gScreenColorCount = count; }

// ---------------------------------------------------------------- style

namespace {

// Stands in for the style's hidden window: hears of system colour changes.
class StyleWindow : public QObject {
public:
    explicit StyleWindow(TDBGridGxStyle* style) : FStyle(style)
    {
        if (qApp)
            qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) {
            try {
                FStyle->ReadScreenColorCount();
            } catch (...) {
                Application->HandleException(std::current_exception());
            }
        }
        return false;
    }
private:
    TDBGridGxStyle* FStyle;
};

} // namespace

TDBGridGxStyle::TDBGridGxStyle()
    : FInTitleFitlerButtonStyle(ebsDropDownGx)
{
    ReadScreenColorCount();
    FWindow = std::make_unique<StyleWindow>(this);
}

TDBGridGxStyle::~TDBGridGxStyle() { FGrids.DetachAll(OnDetachGrid); }

void TDBGridGxStyle::SetLuminateSelection(bool value)
{
    if (value == FLuminateSelection)
        return;
    FLuminateSelection = value;
    Changed();
}

void TDBGridGxStyle::Changed()
{
    const std::vector<IDBGridGx*> grids = FGrids.Grids();
    for (IDBGridGx* g : grids)
        g->LayoutChanged();
}

TColor TDBGridGxStyle::LightenColor(TColor color, TColor glassColor, bool ungray)
{
    return ::LightenColor(color, glassColor, ungray);
}

void TDBGridGxStyle::ReadScreenColorCount()
{
    // Every display this system runs on shows true colour.
    gScreenColorCount = -1;
}

bool TDBGridGxStyle::HighlightDataCellColor(const THighlightCellStateGx& cell, TColor& color, TFont* font,
                                            TGridDrawStateGx& state)
{
    const bool trueColor = gScreenColorCount == -1;
    const TDBGridOptions& o = cell.Options;
    const TDBGridGxOptions& ox = cell.OptionsGx;
    const bool rowSelect = o.Contains(dgRowSelect);
    const bool alwaysShow = o.Contains(dgAlwaysShowSelection);
    const bool selected = cell.LinkActive && cell.SelectionType != gstNon && cell.CellInSelection;
    bool focus = cell.GridFocused && ox.Contains(dghHighlightFocus);
    bool highlighted;
    if (!selected) {
        if (ox.Contains(dghRowHighlight) && cell.CurrentRow && cell.SelectionType == gstNon && !cell.CurrentCol &&
            (focus || alwaysShow)) {
            focus = true;
            state |= gdsSelected;
        }
        highlighted = ((state & gdsSelected) || (cell.CurrentRow && rowSelect)) && (alwaysShow || focus) &&
                      (!cell.UpdateLocked || rowSelect);
    } else {
        highlighted = true;
    }

    const TColor original = color;
    auto hotBlend = [&](TColor c) {
        return cell.HotTrackCell ? ApproachColor(c, ::LightenColor(c, clHighlight, true), 170.67) : c;
    };

    if (!highlighted) {
        if (trueColor && ox.Contains(dghHotTrack) && cell.HotTrackRow && cell.HotTrackAccepted) {
            if (ox.Contains(dghRowHighlight) || rowSelect) {
                color = ::LightenColor(color, clHighlight, true);
                if (!cell.HotTrackCell || rowSelect)
                    color = ApproachColor(color, original, 170.67);
            } else if (cell.HotTrackCell) {
                color = ::LightenColor(color, clHighlight, true);
            }
        }
        return false;
    }

    const bool currentCell = cell.CurrentRow && (cell.CurrentCol || rowSelect);
    if (!cell.GridFocused) {
        if (currentCell && (focus || alwaysShow)) {
            color = hotBlend(clBtnShadow);
            if (font)
                font->SetColor(clHighlightText);
        } else if (trueColor) {
            color = hotBlend(::LightenColor(color, clBtnShadow, false));
        } else {
            color = clBtnFace;
        }
        return true;
    }
    if (currentCell) {
        color = clHighlight;
        if (font)
            font->SetColor(clHighlightText);
        return true;
    }
    if (FLuminateSelection && trueColor) {
        color = ::LightenColor(color, clHighlight, true);
        if (ox.Contains(dghHotTrack) && ox.Contains(dghRowHighlight) && cell.HotTrackRow &&
            ((cell.HotTrackCell && !cell.CurrentCol) || rowSelect))
            color = ApproachColor(color, clHighlight, 85.33);
    }
    return true;
}

bool TDBGridGxStyle::HighlightFixedCellColor(bool selected, bool darkKind, bool gridFocused, TColor& color,
                                             TFont* font)
{
    if (!selected)
        return false;
    const bool trueColor = gScreenColorCount == -1;
    if (darkKind) {
        color = 4210752;
        if (font)
            font->SetColor(clWhite);
    } else if (gridFocused) {
        if (FLuminateSelection && trueColor) {
            color = ::LightenColor(color, clHighlight, true);
        } else {
            color = clHighlight;
            if (font)
                font->SetColor(clHighlightText);
        }
    } else {
        color = trueColor ? ::LightenColor(color, clBtnShadow, false) : clBtnFace;
    }
    return true;
}

// ---------------------------------------------------------------- centre

TLocateTextInGridProcGx LocateTextInGridProc;
TExecuteFindDialogProcGx ExecuteDBGridGxFindDialogProc;

TDBGridGxCenter::TDBGridGxCenter() = default;

TDBGridGxCenter::~TDBGridGxCenter() { FGrids.DetachAll(OnDetachGrid); }

void TDBGridGxCenter::BuildIndicatorTitleMenu(IDBGridGx* grid, QMenu*& popupMenu)
{
    if (OnBuildIndicatorTitleMenu)
        OnBuildIndicatorTitleMenu(grid, popupMenu);
    else
        DefaultBuildIndicatorTitleMenu(grid, popupMenu);
}

void TDBGridGxCenter::CellMouseClick(IDBGridGx* grid, int col, int row, int button, int shift, int x, int y)
{
    if (OnCellMouseClick)
        OnCellMouseClick(grid, col, row, button, shift, x, y);
    else
        DefaultCellMouseClick(grid, col, row, button, shift, x, y);
}

void TDBGridGxCenter::IndicatorTitleMouseDown(IDBGridGx* grid, int col, int row, int button, int shift, int x, int y)
{
    if (OnIndicatorTitleMouseDown)
        OnIndicatorTitleMouseDown(grid, col, row, button, shift, x, y);
    else
        DefaultIndicatorTitleMouseDown(grid, col, row, button, shift, x, y);
}

void TDBGridGxCenter::DefaultIndicatorTitleMouseDown(IDBGridGx* grid, int col, int row, int button, int shift, int x,
                                                     int y)
{
    grid->DefaultIndicatorTitleMouseDown(col, row, button, shift, x, y);
}

bool TDBGridGxCenter::LocateText(IDBGridGx* grid, const QString& fieldName, const QString& text, int options,
                                 int direction, int matching, int treeFindRange)
{
    if (OnLocateText)
        return OnLocateText(grid, fieldName, text, options, direction, matching, treeFindRange);
    return DefaultLocateText(grid, fieldName, text, options, direction, matching, treeFindRange);
}

bool TDBGridGxCenter::DefaultLocateText(IDBGridGx* grid, const QString& fieldName, const QString& text, int options,
                                        int direction, int matching, int treeFindRange)
{
    if (TDataSetFeatureProviderGx* f = FindDataSetFeatures(grid->DataSet()))
        return f->LocateDataSetText(grid, fieldName, text, options, direction, matching, treeFindRange);
    if (LocateTextInGridProc)
        return LocateTextInGridProc(grid, fieldName, text, options, direction, matching, treeFindRange);
    return false;
}

void TDBGridGxCenter::ApplyFilter(IDBGridGx* grid)
{
    if (OnApplyFilter)
        OnApplyFilter(grid);
    else
        DefaultApplyFilter(grid);
}

void TDBGridGxCenter::DefaultApplyFilter(IDBGridGx* grid)
{
    TDataSet* ds = grid->DataSet();
    if (!ds)
        return;
    if (TDataSetFeatureProviderGx* f = FindDataSetFeatures(ds))
        f->ApplyDataSetFilter(grid, ds, ds->Active());
}

void TDBGridGxCenter::ApplySorting(IDBGridGx* grid)
{
    if (OnApplySorting)
        OnApplySorting(grid);
    else
        DefaultApplySorting(grid);
}

void TDBGridGxCenter::DefaultApplySorting(IDBGridGx* grid)
{
    TDataSet* ds = grid->DataSet();
    if (!ds)
        return;
    if (TDataSetFeatureProviderGx* f = FindDataSetFeatures(ds))
        f->ApplyDataSetSorting(grid, ds, ds->Active());
}

int TDBGridGxCenter::MoveRecords(IDBGridGx* grid, TBMListGx* bookmarks, int toRecNo, bool checkOnly)
{
    return DefaultMoveRecords(grid, bookmarks, toRecNo, checkOnly);
}

int TDBGridGxCenter::DefaultMoveRecords(IDBGridGx* grid, TBMListGx* bookmarks, int toRecNo, bool checkOnly)
{
    if (TDataSetFeatureProviderGx* f = FindDataSetFeatures(grid->DataSet()))
        return f->MoveDataSetRecords(grid, bookmarks, toRecNo, checkOnly);
    return 0;
}

void TDBGridGxCenter::ExecuteFindDialog(IDBGridGx* grid, const QString& text, bool modal)
{
    if (TDataSetFeatureProviderGx* f = FindDataSetFeatures(grid->DataSet())) {
        f->ShowDataSetFindDialog(grid, text, modal, QString());
        return;
    }
    if (ExecuteDBGridGxFindDialogProc)
        ExecuteDBGridGxFindDialogProc(grid, text, QString(), modal);
}

TSTFilterDefaultOperatorGx TDBGridGxCenter::GetSTFilterDefaultOperator(IDBGridGx*, TColumnGx*,
                                                                       TSTOperandTypeGx expressionType)
{
    switch (expressionType) {
    case botNumber: return STFilterDefaultNumberOperator;
    case botDateTime: return STFilterDefaultDateTimeOperator;
    case botBoolean: return STFilterDefaultBooleanOperator;
    default: return STFilterDefaultStringOperator;
    }
}


// ---------------------------------------------------------------- indicator-title menu

namespace {

std::unique_ptr<QMenu>& SharedMenu()
{
    static std::unique_ptr<QMenu> menu;
    return menu;
}

} // namespace

QMenu* IndicatorTitlePopupMenuGx() { return SharedMenu().get(); }

void FreeIndicatorTitleMenuGx() { SharedMenu().reset(); }

void TDBGridGxCenter::DefaultBuildIndicatorTitleMenu(IDBGridGx* grid, QMenu*& popupMenu)
{
    std::unique_ptr<QMenu>& menu = SharedMenu();
    if (!menu) {
        menu = std::make_unique<QMenu>();
        menu->setObjectName(QStringLiteral("DBGridGxIndicatorTitlePopupMenu"));
    }
    menu->clear();
    popupMenu = menu.get();

    if (grid->IndicatorTitleUseGlobalMenu()) {
        if (IndicatorTitleMenus.Contains(itmVisibleColumnsGx)) {
            QMenu* sub = menu->addMenu(QStringLiteral("错误的列"));
            TDBGridColumnsGx* columns = grid->Columns();
            for (int i = 0; i < columns->Count(); ++i) {
                TColumnGx* column = columns->GetColumn(i);
                const QString caption = column->Title()->Caption();
                if (caption.isEmpty())
                    continue;
                QAction* item = sub->addAction(caption);
                item->setCheckable(true);
                item->setChecked(column->Visible());
                QObject::connect(item, &QAction::triggered, [columns, column] {
                    if (column->Visible()) {
                        int visible = 0;
                        for (int k = 0; k < columns->Count(); ++k)
                            if (columns->GetColumn(k)->Visible())
                                ++visible;
                        if (visible <= 1)
                            return;
                    }
                    column->SetVisible(!column->Visible());
                });
            }
        }
        struct Entry { TDBGridGxStyleIndicatorTitleMenuGx menu; TDBGridGxEditAction action; const char16_t* caption; };
        static const Entry entries[] = {
            {itmCut, geaCutGx, u"剪贴"},       {itmCopy, geaCopyGx, u"复制"},
            {itmPaste, geaPasteGx, u"粘贴"},   {itmDelete, geaDeleteGx, u"删除"},
            {itmSelectAll, geaSelectAllGx, u"全选"},
        };
        for (const Entry& e : entries) {
            if (!IndicatorTitleMenus.Contains(e.menu))
                continue;
            QAction* item = menu->addAction(QString::fromUtf16(e.caption));
            item->setEnabled(grid->CheckEditAction(e.action) && grid->EditActions().Contains(e.action));
            const TDBGridGxEditAction action = e.action;
            QObject::connect(item, &QAction::triggered, [grid, action] { grid->ExecuteEditAction(action); });
        }
    }
    if (QMenu* own = grid->IndicatorTitleDropdownMenu()) {
        if (!menu->actions().isEmpty())
            menu->addSeparator();
        for (QAction* a : own->actions())
            menu->addAction(a);
    }
}
