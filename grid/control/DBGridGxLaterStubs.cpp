// Placeholders of the data grid's modes that no form of this program switches on:
// record dragging and tree data, the row-detail panel, the row panel, data
// grouping and group rows.
#include "DBGridGx.h"
#include "DBGridGxParts.h"

// ---------------------------------------------------------------- settings objects

void TDBGridGxDataGroupsGx::SetActive(bool value)
{
    FActive = value;
}
void TDBGridGxDataGroupsGx::SetGroupPanelVisible(bool value)
{
    FGroupPanelVisible = value;
}
bool TDBGridGxDataGroupsGx::IsGroupingWorks() const
{
    return FActive && FGrid->HasMemTable();
}
void TDBGridGxDataGroupsGx::Assign(const TDBGridGxDataGroupsGx& source)
{
    FActive = source.FActive;
    FGroupPanelVisible = source.FGroupPanelVisible;
}


// ---------------------------------------------------------------- row panel

void TCustomDBGridGx::RowPanelColumnHitTest(int, int) {}
void TCustomDBGridGx::RowPanelCellHitTest(int, int) {}
void TCustomDBGridGx::TrackColumnToGroupMoving(int, int) {}
void TCustomDBGridGx::EndRowPanelColumnMoving(int, int, bool) {}
bool TCustomDBGridGx::EndColumnDrag(int& Origin, int& Destination, const TPoint& MousePt)
{
    return TCustomGridGx::EndColumnDrag(Origin, Destination, MousePt);
}

// ---------------------------------------------------------------- data grouping and group rows

void TCustomDBGridGx::StartGroupPanelTitleMoving(int, int, int) {}
void TCustomDBGridGx::DrawGroupLevelTitle(int, const TRect&) {}
bool TCustomDBGridGx::GroupPanelMouseDown(TMouseButton, TShiftState, int, int)
{
    return false;
}
void TCustomDBGridGx::DrawGroupDataRow(int, int, const TRect&, TGridDrawState) {}
void TCustomDBGridGx::DrawGroupExtraColumn(int, int, const TRect&) {}
void TCustomDBGridGx::DataGroupingTreeChanged() {}
bool TCustomDBGridGx::GroupNodeMouseDown(int, int, bool)
{
    return false;
}
bool TCustomDBGridGx::HighlightGroupDataCellColor(int, int, const Variant&, TGridDrawState, TColor&, TFont*)
{
    return false;
}
void TCustomDBGridGx::UpdateAllGridDataRowHeights() {}
void TCustomDBGridGx::UpdateAllDataRowHeights() {}
void TCustomDBGridGx::UpdateDataRowHeight(int) {}
int TCustomDBGridGx::GetDataRowHeight(int)
{
    return FStdDefaultRowHeight;
}
int TCustomDBGridGx::CalcColumnsMaxRowHeight()
{
    return FStdDefaultRowHeight;
}
void TCustomDBGridGx::DrawOutBoundaryArea(const TRect& ARect)
{
    TCustomGridGx::DrawOutBoundaryArea(ARect);
}

