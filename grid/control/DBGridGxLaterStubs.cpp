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


// ---------------------------------------------------------------- record dragging and tree data

bool TCustomDBGridGx::CanStartRecordsMoving()
{
    return true;
}
void TCustomDBGridGx::CalcMoveRowLineBounds(int, int& LeftBound, int& Level)
{
    LeftBound = 0;
    Level = 0;
}
bool TCustomDBGridGx::StartRecordsMoving(int, int, bool)
{
    return false;
}
bool TCustomDBGridGx::TreeSignMouseDown(int, int, bool)
{
    return false;
}
bool TCustomDBGridGx::MoveDataRows(TBMListGx* BookmarkList, int ToRecNo, int TreeLevel, bool CheckOnly)
{
    if (OnMoveRecords)
        return OnMoveRecords(this, BookmarkList, ToRecNo, TreeLevel, CheckOnly);
    return DefaultMoveDataRows(BookmarkList, ToRecNo, TreeLevel, CheckOnly);
}
bool TCustomDBGridGx::MoveSelectedRecords(int, int, bool)
{
    return false;
}
bool TCustomDBGridGx::DefaultMoveDataRows(TBMListGx*, int, int, bool)
{
    return false;
}
int TCustomDBGridGx::GetCellTreeElmentsAreaWidth()
{
    return 0;
}
void TCustomDBGridGx::DrawDataTreeElement(int, int, const TRect&) {}
void TCustomDBGridGx::CalcRecordsDropPosition(int, int, int& DropRow, int& DropLevel)
{
    DropRow = -1;
    DropLevel = 0;
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

