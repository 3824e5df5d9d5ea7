#pragma once
// Text location in a data grid: the search the find dialog and the incremental
// search end in, and the hooks that make them the centre's defaults.
#include "DBGridGxFindTypes.h"
#include "DBGridGxTypes.h"
#include <QString>
#include <QStringList>

class TCustomDBGridGx;

using TLocateTextOptionsGx = TSetGx<TLocateTextOptionGx>;

// Searches the column of the named field (the current column for an empty name;
// every visible column with ltoAllFieldsGx) from the first record (ltdAllGx) or
// on from the current cell. A match stays current with its column selected;
// otherwise the grid returns to the record and screen row it was on.
bool LocateTextInGrid(TCustomDBGridGx* Grid, const QString& FieldName, const QString& Text,
                      TLocateTextOptionsGx Options, TLocateTextDirectionGx Direction, TLocateTextMatchingGx Matching,
                      TLocateTextTreeFindRangeGx TreeFindRange);
// Whether a cell text matches the searched text by the matching rule.
bool LocateTextMatches(const QString& CellText, const QString& Text, bool CaseInsensitive,
                       TLocateTextMatchingGx Matching);
// Makes the find dialog and LocateTextInGrid the centre's defaults (once).
void InstallDBGridGxFindHooks();
