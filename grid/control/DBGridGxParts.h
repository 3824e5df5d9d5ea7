#pragma once
// Settings objects every data grid creates whose modes no form of this program
// switches on: the filter row, the row panel, the row-detail panel with its host
// control, and data grouping. They exist with their defaults so that the grid
// can ask them.
#include "DBGridGxFilter.h"
#include "DBGridGxRowDetail.h"
#include "DBGridGxRowPanel.h"
#include "DBGridGxTypes.h"
#include <QWidget>

class TCustomDBGridGx;

// ---------------------------------------------------------------- data grouping

#include "DBGridGxGroups.h"
