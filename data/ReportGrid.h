#pragma once
// Report string grids: the category cross-tab fills from the statistics, the turnover fill,
// numbering with Chinese numerals, copying a dataset into a grid, emptying the data rows,
// and the painting of merged header blocks from the grids' cell-drawing events.
#include "ReportRecords.h"
#include "platform/gui/Graphics.h"

#include <QString>
#include <functional>

class TDataSet;
class TStringGrid;

// "一" .. "九" for 1..9; "" otherwise.
QString chinesedigit(int n);
// The Chinese numeral of 1..99 ("十", "十一", "二十", "三十五"); "" from 100 and below 1.
QString chinesenumber(int n);

// Stock-in by category, one quantity/amount column pair per currency (by fid), supplier,
// material source (by code); stock-out per using unit or project (by code). Rows 1..n-1 of
// the node list, then the total row of node 0.
void fillinbycurrency(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno);
void fillinbysupplier(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno);
void fillinbysource(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno);
void fillexbydepartment(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno);
void fillexbyproject(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno);

// The figures a cross-tab fill reads: the row's own pair for a category code, and the pair
// of one column item for a category code.
using TRowFigure = std::function<void(double& num, double& cost, const QString& code)>;
using TItemFigure = std::function<void(double& num, double& cost, const QString& code, const tnodelist& item)>;
// The cross-tab fill the five routines share.
void fillcrosstab(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, const TRowFigure& rowfigure,
                  const TItemFigure& itemfigure);

// Turnover materials in use per material (row r + i) and per using unit (columns c + 2j - 1
// and c + 2j).
void fillcylbydepartment(TStringGrid* grid, int c, int r, int pid, const TCaptionLists& units,
                         const TMtrLists& materials);
using TMaterialFigure = std::function<void(double& num, double& cost, int mid)>;
using TUnitFigure = std::function<void(double& num, double& cost, int mid, int dptid)>;
void fillcylgrid(TStringGrid* grid, int c, int r, const TCaptionLists& units, const TMtrLists& materials,
                 const TMaterialFigure& materialfigure, const TUnitFigure& unitfigure);

// Every record of an open dataset from grid row r: the running number in column c, field i
// in column c + i + 1 (text, integers, numbers and date-times; other types leave the cell).
void datasettogrid(TStringGrid* grid, TDataSet* dataset, int r, int k, int c);
// Empties the data rows and leaves one empty data row.
void cleargridrows(TStringGrid* grid);

// ---- merged header blocks ----

// Client rectangle of the block of nrows x ncols cells from (col, row), clipped to the
// visible columns; the empty rectangle when the block is wholly out of view.
void mergedcellrect(TStringGrid* grid, int col, int row, TRect& rect, int nrows, int ncols);
// Frames one block with a raised inner edge and writes its text on one line, vertically
// centred: align 0 left, 1 right, 2 centre, any other value frame only.
void drawmergedcell(TStringGrid* grid, int col, int row, int align, const QString& text, int nrows, int ncols);

// Header painters, called from OnDrawCell for each header cell: each paints the block that
// holds the drawn cell.
void drawcyldetailhead(TStringGrid* grid, int col, int row);
void drawcylsumhead(TStringGrid* grid, int col, int row);
void drawcyldpthead(TStringGrid* grid, int col, int row, const TCaptionLists& units, int f);
void drawcyldpthead(TStringGrid* grid, int col, int row, const TNodeList& units, int f);
void drawconsumehead(TStringGrid* grid, int col, int row, const TNodeList& items);
void drawconsumehead(TStringGrid* grid, int col, int row, const TCaptionLists& items);
void drawstathead(TStringGrid* grid, int col, int row, const QString& totalcaption, const TNodeList& items);
void drawstathead(TStringGrid* grid, int col, int row, const QString& totalcaption, const TCaptionLists& items);
void drawmtrlisthead(TStringGrid* grid, int col, int row);
void drawbreedsumhead(TStringGrid* grid, int col, int row);
void drawmtrsumhead(TStringGrid* grid, int col, int row);
