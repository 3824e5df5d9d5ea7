#pragma once
// Tfrmbasicreport: the frame of the statistics report forms. A toolbar with "统计", "打印" and
// "退出" and the history check box; a period panel on the left listing the closed periods;
// three tab sheets, each with a string grid whose header rows the heirs paint as merged
// blocks. A report is computed on demand for the open period or the closed period chosen in
// the list, and written to the spreadsheet.
#include "app/FormBase.h"
#include "data/ExcelExport.h"
#include "data/ReportRecords.h"
#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/StringGrid.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <functional>

class Tfrmbasicreport : public TfrmBase_C {
public:
    explicit Tfrmbasicreport(QWidget* AOwner = nullptr);
    ~Tfrmbasicreport() override;

    QToolBar* ToolBar1;
    QAction* calsbill;
    QAction* printbill;
    QAction* exit;
    QToolButton* ToolButton1;
    QToolButton* ToolButton2;
    QToolButton* ToolButton3;
    TCheckBox* CheckBox1;

    QSplitter* Splitter1;
    QFrame* Panel2;
    QLabel* Label1;
    // The closed periods ("期初日期", "期末日期"), read-only, whole rows selected.
    TDBGridGx* DBGridGx1;
    TDataSource DSperiod;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    TStringGrid* StringGrid1;
    TStringGrid* StringGrid2;
    TStringGrid* StringGrid3;

    TClientDataSet cdstemp;
    TClientDataSet cdsperiod;
    TClientDataSet cdsmtrlist;
    TNodeList breedlist;

    // Size 950 x 600, period panel hidden; the heirs' creation steps follow it.
    void FormCreate(QObject* Sender);
    virtual void CheckBox1Click(QObject* Sender);
    void StringGrid1TopLeftChanged(QObject* Sender);
    void exitExecute(QObject* Sender);
    virtual void calsbillExecute(QObject* Sender) {}
    virtual void printbillExecute(QObject* Sender) {}

    // The report period: the pid of the chosen closed period while the history box is
    // ticked (0 when the list is empty), otherwise the open period.
    int reportperiod();
    // Shows or hides a tab sheet.
    void SetTabVisible(QWidget* sheet, bool visible);
    bool TabVisible(QWidget* sheet) const;

    // A string grid laid out as the reports use it: no fixed columns, the report font, row
    // height 17, fixed rows; header cells are painted by painter.
    static void setupgrid(TStringGrid* grid, int fixedrows, int cols,
                          std::function<void(TStringGrid*, int, int)> painter);
    // The grid has at least row + 1 rows (a row written at its end adds one). While a report is
    // computed, the grid grows in steps (so that a long report does not resize it row by row)
    // and fitrows gives it its final row count: the rows written, at least one data row.
    static void ensurerow(TStringGrid* grid, int row);
    static void fitrows(TStringGrid* grid, int rows);
    // Writes texts from column 0 into row (added when it is the grid's end) and moves row on;
    // returns the row written.
    static int putrow(TStringGrid* grid, int& row, const QStringList& texts);
    // A figure pair in the general number text, each only when not zero.
    static void putpair(TStringGrid* grid, int col, int row, double num, double cost);

    // Sheet k (from 1) of the application's first workbook, added when the workbook has fewer.
    static TExcelWorksheet* reportsheet(const ExcelApp& app, int k);
    // One report sheet: the header routine, the grid's data rows, the sheet's name.
    static void exportsheet(const ExcelApp& app, int k, const std::function<void(TExcelWorksheet*)>& head,
                            TStringGrid* grid, const QString& name);

    // A read-only list of periods with the columns "期初日期" and "期末日期".
    static void setupperiodgrid(TDBGridGx* grid, TDataSource* source);

protected:
    // Runs a report computation under the hourglass cursor; the cursor comes back also when
    // the computation fails.
    void busy(const std::function<void()>& work);

};
