#pragma once
// Writing reports into a spreadsheet: the application with a new workbook, column letters
// and range addresses, one routine per report sheet that writes its title and header block,
// and the routines that copy data rows from a dataset or a string grid under such a header.
#include "ReportRecords.h"
#include "platform/office/Excel.h"

#include <QString>

class TDataSet;
class TStringGrid;

// A visible spreadsheet application with one new workbook.
ExcelApp createexcelapp();

// Column letters of column n (from 1): 1..26 "A".."Z"; above 26 the letter of n div 26 and
// the letter of n mod 26, except for multiples of 26, which end in a lower-case "z" after
// the letter of n div 26 - 1 (52 "Az"; addresses ignore case). n <= 0 gives "". Columns
// beyond 702 lose their first letter.
QString excelcolname(int n);
// "A2:M4" for first row r, first column c, h rows and w columns.
QString excelrange(int r, int c, int h, int w);

// Fields f .. f+k-1 of every record of an open dataset into the sheet from (r, c), then
// borders and font size 10 over the rows written. A closed dataset writes nothing.
void datasettoexcel(TDataSet* dataset, TExcelWorksheet* sheet, int f, int k, int c, int r);
// As above from field 0, with the running number in column c and field i in column c + i + 1.
void datasettoexcelnumbered(TDataSet* dataset, TExcelWorksheet* sheet, int r, int k, int c);
// As above with the named fields in the order given, so that each lands under the head that
// names it; a name the dataset lacks (or an empty one) leaves its column empty.
void datasettoexcelnumbered(TDataSet* dataset, TExcelWorksheet* sheet, int r, const QStringList& fields, int c);
// The grid's data rows under a header of the grid's own height: grid row F + j to sheet row
// F + 2 + j (F fixed rows), grid column i to sheet column i + 1, then borders and font size 10.
void gridtoexcel(TStringGrid* grid, TExcelWorksheet* sheet);

// ---- sheet headers (title in row 1, column captions from row 2) ----
void excelstoragehead(TExcelWorksheet* sheet, int flag);
void excelledgerhead(TExcelWorksheet* sheet, const QString& mname, const QString& mtype, const QString& munit,
                     const QString& qty, const QString& amount);
void excelcyldetailhead(TExcelWorksheet* sheet);
void excelcyldpthead(TExcelWorksheet* sheet, const TCaptionLists& units);
void excelcyldpthead(TExcelWorksheet* sheet, const TNodeList& units);
void excelcylsumhead(TExcelWorksheet* sheet);
void excelmtrdetailhead(TExcelWorksheet* sheet);
void excelbreedsumhead(TExcelWorksheet* sheet);
void excelconsumehead(TExcelWorksheet* sheet, const TNodeList& items, const QString& title);
void excelconsumehead(TExcelWorksheet* sheet, const TCaptionLists& items, const QString& title);
void excelstathead(TExcelWorksheet* sheet, const TNodeList& items, const QString& title, const QString& totalcaption);
void excelstathead(TExcelWorksheet* sheet, const TCaptionLists& items, const QString& title,
                   const QString& totalcaption);
void excelmtrlisthead(TExcelWorksheet* sheet, const QString& title);
// Layout by the account set's currency setting (frmconst systype) and, for a local account
// set, by flag (1: actual and planned prices).
void excelimdetailhead(TExcelWorksheet* sheet, int flag);
void excelimsumhead(TExcelWorksheet* sheet);
void excelexdetailhead(TExcelWorksheet* sheet, int flag);
void excelexsumhead(TExcelWorksheet* sheet);

// The captions of a report list (node texts or column captions), in order.
QStringList reportcaptions(const TNodeList& list);
QStringList reportcaptions(const TCaptionLists& list);
