#pragma once
// What a restore of a stored grid layout takes over: column values, and for a
// whole grid layout also the row height.
#include "DBGridGxTypes.h"

enum TColumnGxRestoreParam {
    crpColIndexGx, crpColWidthsGx, crpSortMarkerGx, crpColVisibleGx, crpDropDownRowsGx, crpDropDownWidthGx,
    crpRowPanelColPlacementGx
};
using TColumnGxRestoreParams = TSetGx<TColumnGxRestoreParam>;

enum TDBGridGxRestoreParam {
    grpColIndexGx, grpColWidthsGx, grpSortMarkerGx, grpColVisibleGx, grpRowHeightGx, grpDropDownRowsGx,
    grpDropDownWidthGx, grpRowPanelColPlacementGx
};
using TDBGridGxRestoreParams = TSetGx<TDBGridGxRestoreParam>;

// The column values a set of grid values means.
TColumnGxRestoreParams ColumnRestoreParamsOf(TDBGridGxRestoreParams Params);
