#pragma once
// The two process-wide service objects every data grid shares: the style (colours
// of selected and hot-tracked cells) and the centre (searching, filtering, sorting,
// record moving and the indicator-title menu, each replaceable by an event), and
// the registry of dataset-specific services the centre hands work to.
#include "DBGridGxIntf.h"
#include "DBGridGxTypes.h"
#include "grid/support/EditButtonPaintGx.h"
#include <QStringList>
#include <functional>
#include <memory>
#include <typeinfo>
#include <vector>

class QMenu;
class QObject;
class TBMListGx;
class TColumnGx;
class TDataSet;
class TStringsGx;

// ---------------------------------------------------------------- dataset features

// Services that know a particular dataset class (sorting, filtering, searching,
// moving records). Nothing in this system registers one.
class TDataSetFeatureProviderGx {
public:
    virtual ~TDataSetFeatureProviderGx() = default;
    virtual bool LocateDataSetText(IDBGridGx* grid, const QString& fieldName, const QString& text, int options,
                                   int direction, int matching, int treeFindRange) = 0;
    virtual int MoveDataSetRecords(IDBGridGx* grid, TBMListGx* bookmarks, int toRecNo, bool checkOnly) = 0;
    virtual void ApplyDataSetSorting(IDBGridGx* grid, TDataSet* dataSet, bool isOpen) = 0;
    virtual void ApplyDataSetFilter(IDBGridGx* grid, TDataSet* dataSet, bool isOpen) = 0;
    virtual void ShowDataSetFindDialog(IDBGridGx* grid, const QString& text, bool modal,
                                       const QString& columnFieldName) = 0;
    virtual void FillDataSetFilterValues(IDBGridGx* grid, TColumnGx* column, QStringList& items) = 0;
};

// Registers the features object for the dataset class T, whose depth in the
// dataset class tree is classDepth (TDataSet itself 0). Among the objects whose
// class is T or an ancestor of a dataset's class, the deepest one serves it; on a
// tie the first registered.
void RegisterDataSetFeaturesGx(std::function<bool(const TDataSet*)> isA, int classDepth,
                               std::unique_ptr<TDataSetFeatureProviderGx> features);
template <class T>
void RegisterDataSetFeaturesGx(int classDepth, std::unique_ptr<TDataSetFeatureProviderGx> features)
{
    RegisterDataSetFeaturesGx([](const TDataSet* ds) { return dynamic_cast<const T*>(ds) != nullptr; }, classDepth,
                              std::move(features));
}
void UnregisterAllDataSetFeaturesGx();
// The object registered for the dataset's class or its nearest ancestor; nullptr
// for none.
TDataSetFeatureProviderGx* FindDataSetFeatures(const TDataSet* dataSet);

// ---------------------------------------------------------------- style

// What the highlight rule of data cells needs to know of one cell.
struct THighlightCellStateGx {
    bool LinkActive = true;
    TDBGridGxSelectionType SelectionType = gstNon;
    bool CellInSelection = false;     // the selection holds this data column of the record
    bool GridFocused = false;
    bool CurrentRow = false;          // the cell is on the current record's row
    bool CurrentCol = false;          // the cell is in the grid's selected data column
    bool HotTrackRow = false;         // the mouse is over the cell's row
    bool HotTrackCell = false;        // the mouse is over this cell
    bool HotTrackAccepted = false;    // the hot-track test accepts the cell and its column is a data column
    bool UpdateLocked = false;
    TDBGridOptions Options;
    TDBGridGxOptions OptionsGx;
};

class TDBGridGxStyle {
public:
    TDBGridGxStyle();
    virtual ~TDBGridGxStyle();
    TDBGridGxStyle(const TDBGridGxStyle&) = delete;
    TDBGridGxStyle& operator=(const TDBGridGxStyle&) = delete;

    bool LuminateSelection() const { return FLuminateSelection; }
    void SetLuminateSelection(bool value);
    bool IsDrawFocusRect() const { return FIsDrawFocusRect; }
    void SetIsDrawFocusRect(bool value) { FIsDrawFocusRect = value; }
    TEditButtonStyleGx InTitleFitlerButtonStyle() const { return FInTitleFitlerButtonStyle; }
    void SetInTitleFitlerButtonStyle(TEditButtonStyleGx value) { FInTitleFitlerButtonStyle = value; }

    void AddChangeNotification(IDBGridGx* grid) { FGrids.Add(grid); }
    void RemoveChangeNotification(IDBGridGx* grid) { FGrids.Remove(grid); }
    bool GridInChangeNotification(IDBGridGx* grid) const { return FGrids.Contains(grid); }
    const std::vector<IDBGridGx*>& Grids() const { return FGrids.Grids(); }
    // Every registered grid lays itself out again.
    void Changed();
    // Clears the grids' reference to this style when it goes.
    std::function<void(IDBGridGx*)> OnDetachGrid;

    static TColor LightenColor(TColor color, TColor glassColor, bool ungray);

    // Colour (and font colour) of a data cell; whether the cell counts as highlighted.
    virtual bool HighlightDataCellColor(const THighlightCellStateGx& cell, TColor& color, TFont* font,
                                        TGridDrawStateGx& state);
    // Colour of a title, indicator or footer cell that belongs to a selection.
    virtual bool HighlightFixedCellColor(bool selected, bool darkKind, bool gridFocused, TColor& color,
                                         TFont* font);
    // Re-reads the screen's number of palette colours (the system colours changed).
    virtual void ReadScreenColorCount();

private:
    bool FLuminateSelection = true;
    bool FIsDrawFocusRect = true;
    TEditButtonStyleGx FInTitleFitlerButtonStyle = TEditButtonStyleGx(0);
    TGridNotifyListGx FGrids;
    std::unique_ptr<QObject> FWindow;
};

// The screen's number of palette colours; -1 for a true-colour display.
int ScreenColorCountGx();
void SetScreenColorCountGx(int count);

// ---------------------------------------------------------------- centre

class TDBGridGxCenter {
public:
    using TGridNotifyEvent = std::function<void(IDBGridGx* grid)>;
    using TBuildMenuEvent = std::function<void(IDBGridGx* grid, QMenu*& popupMenu)>;
    using TCellMouseEvent = std::function<void(IDBGridGx* grid, int col, int row, int button, int shift, int x, int y)>;
    using TLocateTextEvent = std::function<bool(IDBGridGx* grid, const QString& fieldName, const QString& text,
                                                int options, int direction, int matching, int treeFindRange)>;
    using TFillListEvent = std::function<void(IDBGridGx* grid, TColumnGx* column, TStringsGx& items, bool& processed)>;

    TDBGridGxCenter();
    virtual ~TDBGridGxCenter();
    TDBGridGxCenter(const TDBGridGxCenter&) = delete;
    TDBGridGxCenter& operator=(const TDBGridGxCenter&) = delete;

    bool FilterEditCloseUpApplyFilter = false;
    TDBGridGxStyleIndicatorTitleMenusGx IndicatorTitleMenus{itmVisibleColumnsGx, itmCut, itmCopy, itmPaste, itmDelete,
                                                            itmSelectAll};
    bool PreferEditFormatForNumberFields = false;
    bool UseExtendedScrollingForMemTable = true;
    TSTFilterDefaultOperatorGx STFilterDefaultStringOperator = fdoAuto;
    TSTFilterDefaultOperatorGx STFilterDefaultNumberOperator = fdoAuto;
    TSTFilterDefaultOperatorGx STFilterDefaultDateTimeOperator = fdoAuto;
    TSTFilterDefaultOperatorGx STFilterDefaultBooleanOperator = fdoAuto;
    TGridNotifyEvent OnApplyFilter, OnApplySorting;
    TBuildMenuEvent OnBuildIndicatorTitleMenu;
    TCellMouseEvent OnCellMouseClick, OnIndicatorTitleMouseDown;
    TLocateTextEvent OnLocateText;
    TFillListEvent OnFillSTFilterListValues;

    void AddChangeNotification(IDBGridGx* grid) { FGrids.Add(grid); }
    void RemoveChangeNotification(IDBGridGx* grid) { FGrids.Remove(grid); }
    bool GridInChangeNotification(IDBGridGx* grid) const { return FGrids.Contains(grid); }
    const std::vector<IDBGridGx*>& Grids() const { return FGrids.Grids(); }
    // The grids read the centre's settings when they paint; none is kept to refresh.
    void Changed() {}
    std::function<void(IDBGridGx*)> OnDetachGrid;

    void BuildIndicatorTitleMenu(IDBGridGx* grid, QMenu*& popupMenu);
    void CellMouseClick(IDBGridGx* grid, int col, int row, int button, int shift, int x, int y);
    void IndicatorTitleMouseDown(IDBGridGx* grid, int col, int row, int button, int shift, int x, int y);
    virtual bool LocateText(IDBGridGx* grid, const QString& fieldName, const QString& text, int options,
                            int direction, int matching, int treeFindRange);
    virtual void ApplyFilter(IDBGridGx* grid);
    virtual void ApplySorting(IDBGridGx* grid);
    virtual int MoveRecords(IDBGridGx* grid, TBMListGx* bookmarks, int toRecNo, bool checkOnly);
    virtual void ExecuteFindDialog(IDBGridGx* grid, const QString& text, bool modal);
    virtual TSTFilterDefaultOperatorGx GetSTFilterDefaultOperator(IDBGridGx* grid, TColumnGx* column,
                                                                  TSTOperandTypeGx expressionType);
    // The command entries of a filter drop-down list.
    virtual void DefaultFillSTFilterListCommandValues(IDBGridGx* grid, TColumnGx* column, TStringsGx& items);
    // The value entries: the dataset features' values, else the standard ones.
    virtual void DefaultFillSTFilterListDataValues(IDBGridGx* grid, TColumnGx* column, TStringsGx& items);
    // The distinct values of the column's value list under the other columns' filters.
    virtual void StandardFillSTFilterListDataValues(IDBGridGx* grid, TColumnGx* column, TStringsGx& items);

protected:
    virtual bool DefaultLocateText(IDBGridGx* grid, const QString& fieldName, const QString& text, int options,
                                   int direction, int matching, int treeFindRange);
    virtual int DefaultMoveRecords(IDBGridGx* grid, TBMListGx* bookmarks, int toRecNo, bool checkOnly);
    virtual void DefaultApplyFilter(IDBGridGx* grid);
    virtual void DefaultApplySorting(IDBGridGx* grid);
    virtual void DefaultBuildIndicatorTitleMenu(IDBGridGx* grid, QMenu*& popupMenu);
    // A cell click means nothing to the centre unless an heir says otherwise.
    virtual void DefaultCellMouseClick(IDBGridGx*, int, int, int, int, int, int) {}
    virtual void DefaultIndicatorTitleMouseDown(IDBGridGx* grid, int col, int row, int button, int shift, int x,
                                                int y);

private:
    TGridNotifyListGx FGrids;
};

// Hooks filled by the units that own the routines: the generic text search of a
// grid and the find dialog.
using TLocateTextInGridProcGx = std::function<bool(IDBGridGx* grid, const QString& fieldName, const QString& text,
                                                   int options, int direction, int matching, int treeFindRange)>;
using TExecuteFindDialogProcGx = std::function<void(IDBGridGx* grid, const QString& text,
                                                    const QString& columnFieldName, bool modal)>;
extern TLocateTextInGridProcGx LocateTextInGridProc;
extern TExecuteFindDialogProcGx ExecuteDBGridGxFindDialogProc;

// The menu all grids share for their indicator title ("DBGridGxIndicatorTitlePopupMenu");
// nullptr until first built.
QMenu* IndicatorTitlePopupMenuGx();
void FreeIndicatorTitleMenuGx();
