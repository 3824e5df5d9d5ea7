#pragma once
// The process-wide objects and settings of the grid units: created once at
// program start-up (InitDBGridGxUnits), in unit order, and freed at shut-down
// (DoneDBGridGxUnits), in reverse. Grids only refer to them.
#include "DBGridGxTypes.h"
#include "grid/support/EditButtonsGx.h"
#include <QCursor>
#include <QStringList>

class TBitmap;
class TImageList;
class TDBGridGxStyle;
class TDBGridGxCenter;
class TVirtualPrinter;

void InitDBGridGxUnits();
void DoneDBGridGxUnits();
bool DBGridGxUnitsInitialized();
// The steps the last start-up ran, in order (for the program's start-up log).
const QStringList& DBGridGxStartUpSteps();

TDBGridGxStyle* DBGridGxGlobalStyle();
TDBGridGxCenter* DBGridGxGlobalCenter();
// Sort index numbers in title cells: Arial, Height 1 - the sort glyph's height.
TFont* SortIndexFont();
TImageList* IndicatorGlyphList();
TImageList* SortMarkerGlyphList();
// Cell parameters for column routines outside painting.
TColCellParamsGx* ScratchCellParams();
// The grid cursors: sizing down, right and left.
const QCursor* DBGridGxCursor(int which);   // 0 down, 1 right, 2 left
// The printer forwarding object.
TVirtualPrinter* DBGridGxVirtualPrinter();
// The clipboard formats of grid data, in the order they were registered.
const QStringList& DBGridGxClipboardFormats();

extern TShortCut IncSearchStartKey;
extern TShortCut IncSearchNextKey;
extern TShortCut IncSearchPriorKey;
extern TShortCut PrevRecordValueKey;
extern TShortCut FindDialogKey;
extern TShortCut TitleFilterDropKey;
extern int IncSearchTimeOut;
extern TColor IncSearchBackColor;
extern TColor IncSearchTextColor;
extern bool DisableBufferedPaint;

// The class library's shortcut encoding: key + 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
TShortCut ShortCutGx(int key, bool shift, bool ctrl, bool alt);

// Fills the two glyph lists (drawn by the program itself).
void LoadGridGlyphs();
// Makes image 6 of the indicator glyphs: the arrow in the search background colour.
void RebuildSearchArrowGlyph();

// Every data grid counts itself while it exists; the first one creates the shared
// bitmap text is drawn through, the last one frees it.
void DBGridGxAddGridInstance();
void DBGridGxRemoveGridInstance();
int DBGridGxGridInstanceCount();
TBitmap* DBGridGxSharedTextBitmap();

// A user-defined screen cursor made from a cursor resource of the program.
int AddScreenCursor(const QString& name);
const QCursor* ScreenCursorGx(int number);
