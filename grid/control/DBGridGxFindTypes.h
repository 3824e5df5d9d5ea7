#pragma once
// How a text is searched in a grid. The options travel between the grid, its
// centre and the find dialog as the bits of a set (bit n = option n).
enum TLocateTextOptionGx { ltoCaseInsensitiveGx, ltoAllFieldsGx, ltoMatchFormatGx, ltoIgnoteCurrentPosGx, ltoStopOnEscape };
enum TLocateTextDirectionGx { ltdUpGx, ltdDownGx, ltdAllGx };
enum TLocateTextMatchingGx { ltmAnyPartGx, ltmWholeGx, ltmFromBegingGx };
enum TLocateTextTreeFindRangeGx { lttInAllNodesGx, lttInExpandedNodesGx, lttInCurrentLevelGx, lttInCurrentNodeGx };
