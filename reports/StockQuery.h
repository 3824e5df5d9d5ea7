#pragma once
// TfrmQueryStorage: the stock query ("材料库存查询、材料明细帐"). The material-category tree on
// the left; choosing a category lists the current stock of every material whose code starts
// with the category's code. From any row the material ledger opens; there is no bill here.
#include "QueryBase.h"

#include "app/CategoryTree.h"
#include "data/frmconst.h"
#include "platform/gui/TreeView.h"

#include <memory>

class TfrmQueryStorage : public TfrmBasicquery {
public:
    explicit TfrmQueryStorage(QWidget* AOwner = nullptr);
    ~TfrmQueryStorage() override;

    TTreeView* TreeView1;
    std::unique_ptr<TbreedNodes> breednodes;
    QString fcode;

    void FormShow(QObject* Sender) override;
    void TreeView1Change(QObject* Sender, TTreeNode* Node);
    void TreeView1DblClick(QObject* Sender);
    void acQueryExecute(QObject* Sender) override;
    void ToolButton1Click(QObject* Sender);
    void CheckBox2Click(QObject* Sender) override;
    void DBGridGx1DblClick(QObject* Sender) override;
    void acPrintExecute(QObject* Sender) override;
    void acQueryExExecute(QObject* Sender) override;
    void setgridcfsrgtitle(TSystype kind);
    // Whether the rows shown are price batches.
    bool batchesshown() const { return m_batches; }
    QString getsqlstring() const;
    QString gettiaostring() const;
    void setgridsrgtitle();

private:
    bool m_batches = false;
};
