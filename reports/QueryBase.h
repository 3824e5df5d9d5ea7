#pragma once
// TfrmBasicquery: the frame of the query forms. A toolbar ("期内查询", "组合查询", "刷新",
// "打印", "票据", "明细帐", "退出"), a one-line filter panel (material name, posted or unposted
// bills, summary per material), and a read-only result grid whose columns each query lays
// out at run time. The composite query runs the statement its condition dialog composed;
// from a line the bill and the material ledger open; negative quantities show red; the
// result goes to a spreadsheet.
#include "app/FormBase.h"
#include "grid/control/DBGridGx.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/CheckBox.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

#include <functional>

class Tfrmbasicbill;

// One column of a result layout: field, title (a vertical bar makes a two-level title),
// width, footer (empty: none, "sum": the column's sum, any other text: a centred static
// text) and whether the cell is centred.
struct TQueryColumn {
    const char* field;
    const char* title;
    int width;
    const char* footer = "";
    bool centred = false;
    bool footercentred = false;
};

class TfrmBasicquery : public TfrmBase_C {
public:
    explicit TfrmBasicquery(QWidget* AOwner = nullptr);
    ~TfrmBasicquery() override;

    QToolBar* ToolBar1;
    QAction* acQuery;
    QAction* acQueryEx;
    QAction* acReFresh;
    QAction* acPrint;
    QAction* acBill;
    QAction* acBillEx;
    QAction* acExit;
    QToolButton* ToolButton1;   // 期内查询
    QToolButton* ToolButton2;   // 组合查询
    QToolButton* ToolButton3;   // 刷新
    QToolButton* ToolButton6;   // 打印
    QToolButton* ToolButton4;   // 票据
    QToolButton* ToolButton5;   // 明细帐
    QToolButton* ToolButton7;   // 退出

    QFrame* Panel1;
    QLabel* Label1;
    QLineEdit* Edit1;
    TCheckBox* CheckBox1;
    TCheckBox* CheckBox2;
    QWidget* ClientPanel;       // the grid's area (the stock query puts its tree beside the grid)

    TDBGridGx* DBGridGx1;
    TDataSource dsdetail;
    TADOQuery adoqry;
    TClientDataSet cdsdetail;

    // The composite-query dialog and the bill form of the query (the bill form may be unset).
    std::function<TForm*(QWidget*)> taioform;
    std::function<Tfrmbasicbill*(QWidget*)> showbill;

    void FormCreate(QObject* Sender);
    void FormClose(QObject* Sender);
    virtual void CheckBox2Click(QObject* Sender);
    void acReFreshExecute(QObject* Sender);
    virtual void acQueryExExecute(QObject* Sender);
    virtual void acQueryExecute(QObject* Sender) {}
    virtual void acPrintExecute(QObject* Sender) {}
    void acBillExecute(QObject* Sender);
    void acBillExExecute(QObject* Sender);
    virtual void DBGridGx1DblClick(QObject* Sender);
    void acExitExecute(QObject* Sender);

    // Whether the rows shown are a per-material summary (their key is the material, not the
    // bill); the drill-downs follow the rows, not the check box.
    bool resultissummary() const { return m_resultsummary; }
    // The enabled state of the drill-down buttons from the rows shown.
    void updatedrilldowns();

    // Runs a result statement in the logged-in account set and shows its rows; summary tells
    // what kind of rows they are.
    void runquery(const QString& sql, bool summary);
    // Clears the grid's columns and lays out the given ones.
    void setcolumns(const QList<TQueryColumn>& columns, bool multititle, int titlelines, int vmargin = 5);

    // Whether a drill-down has a row to start from.
    bool hasrows() const;

protected:
    QAction* newaction(const char* name, const QString& caption, std::function<void(QObject*)> handler);
    bool m_resultsummary = false;
};

// The bill form registered under the given class name, or null when none is.
Tfrmbasicbill* registeredbill(const QString& classname, QWidget* owner);
