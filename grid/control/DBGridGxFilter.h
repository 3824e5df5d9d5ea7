#pragma once
// The grid-wide settings of the filter row: shown or not, where (a row under the
// titles or a button in each title), and whether a change applies at once.
#include "DBGridGxTypes.h"

class TCustomDBGridGx;

enum TSTFilterLocationGx { stflUnderTitleFilterGx, stflInTitleFilterGx };

class TSTDBGridGxFilter {
public:
    explicit TSTDBGridGxFilter(TCustomDBGridGx* grid) : FGrid(grid) {}
    virtual ~TSTDBGridGxFilter() = default;
    TSTDBGridGxFilter(const TSTDBGridGxFilter&) = delete;
    TSTDBGridGxFilter& operator=(const TSTDBGridGxFilter&) = delete;

    TCustomDBGridGx* Grid() const { return FGrid; }
    bool Visible() const { return FVisible; }
    // Switching it off leaves filter-edit mode; the grid lays itself out again.
    void SetVisible(bool value);
    TSTFilterLocationGx Location() const { return FLocation; }
    void SetLocation(TSTFilterLocationGx value);
    // The explicit value, else Local.
    bool InstantApply() const { return FIsInstantApplyStored ? FInstantApply : FLocal; }
    void SetInstantApply(bool value) { FInstantApply = value; FIsInstantApplyStored = true; }
    bool InstantApplyStored() const { return FIsInstantApplyStored; }
    bool Local() const { return FLocal; }
    void SetLocal(bool value) { FLocal = value; }
    // While above 0 the grid neither moves nor hides the filter editor.
    int UpdateCount() const { return FUpdateCount; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    // Copies Visible and Local.
    void Assign(const TSTDBGridGxFilter& source);

private:
    TCustomDBGridGx* FGrid;
    bool FLocal = false;
    int FUpdateCount = 0;
    bool FVisible = false;
    bool FIsInstantApplyStored = false;
    bool FInstantApply = false;
    TSTFilterLocationGx FLocation = stflUnderTitleFilterGx;
};
