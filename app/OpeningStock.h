#pragma once
// Tfrmexceltosrglist: carries the stock of the books an account set replaces over once. The
// material rows copied from a spreadsheet are read from the clipboard into a staging list,
// shown for checking, and written for one chosen leaf category: per row a material, a
// stock-in ledger row, the stock, the price data of the category's price model and, for
// turnover materials, the turnover stock, all in one transaction.
#include "CategoryTree.h"
#include "FormBase.h"

#include "grid/control/DBGridGx.h"

#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"

#include <QAction>
#include <QLineEdit>
#include <QToolBar>
#include <memory>

class TExcelWorksheet;

class Tfrmexceltosrglist : public TfrmBase_C {
    Q_OBJECT
public:
    explicit Tfrmexceltosrglist(QWidget* AOwner = nullptr);
    ~Tfrmexceltosrglist() override;

    QToolBar* ToolBar1;
    QAction* acinsert;      // 倒入
    QAction* ToolButton4;   // 清除
    QAction* acSave;        // 保存
    QAction* acexit;        // 退出
    TTreeView* TreeView1;
    QLineEdit* Edit1;       // the chosen category's name
    TDBGridGx* DBGridGx1;   // the staging rows, with the sums of quantity and amount
    TClientDataSet cdsdetail;
    TDataSource dsdetail;

    // The chosen category.
    QString fcode;
    QString Fpname;
    bool FBparent = false;
    int FBid = 0;
    int FBreedtype = 0;
    int Fpricemodal = 0;

    TbreedNodes* breednodes() const { return m_breednodes.get(); }

    void FormShow(QObject* Sender) override;
    void TreeView1Change(QObject* Sender, TTreeNode* Node);
    void TreeView1DblClick(QObject* Sender);
    void acinsertExecute(QObject* Sender);
    void ToolButton4Click(QObject* Sender);
    void acSaveExecute(QObject* Sender);

    // Reads the rows of a sheet into the staging list until the end rules stop it.
    void readsheet(TExcelWorksheet* sheet);
    // Writes every staging row inside the caller's transaction; False at the first failure.
    bool writerows();

private:
    void buildgrid();
    void emptystaging();
    void createstaging();
    std::unique_ptr<TbreedNodes> m_breednodes;
};
