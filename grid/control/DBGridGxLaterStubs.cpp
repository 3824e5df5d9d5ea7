// Placeholders of the data grid's modes that no form of this program switches on:
// the rest of the row panel.
#include "DBGridGx.h"
#include "DBGridGxParts.h"

// ---------------------------------------------------------------- row panel

void TCustomDBGridGx::RowPanelColumnHitTest(int, int) {}
void TCustomDBGridGx::RowPanelCellHitTest(int, int) {}
void TCustomDBGridGx::TrackColumnToGroupMoving(int, int) {}
void TCustomDBGridGx::EndRowPanelColumnMoving(int, int, bool) {}
