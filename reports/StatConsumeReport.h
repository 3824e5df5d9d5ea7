#pragma once
// The custom statistics report: the user ticks material categories and statistic items
// (using units, projects, material sources or suppliers) in Tfrmreportset; Tfrmconsumereport
// crosses them for the report period into one grid, categories across the header or down
// the rows, each pair cell holding a quantity and an amount.
#include "ReportBase.h"
#include "data/rsnodeprocess.h"
#include "platform/gui/RadioGroup.h"
#include "platform/gui/TreeView.h"

#include <QGroupBox>

#include <memory>

class Tfrmreportset : public TfrmBaseform {
public:
    explicit Tfrmreportset(QWidget* AOwner = nullptr);
    ~Tfrmreportset() override;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* tabsheet2;
    QWidget* TabSheet3;
    TRadioGroup* RadioGroup1;
    TRadioGroup* RadioGroup2;
    TRadioGroup* RadioGroup3;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    TTreeView* TreeView1;
    TTreeView* TreeView2;
    TDBGridGx* DBGridGx1;
    TClientDataSet cdsperiod;
    TDataSource DSperiod;
    std::unique_ptr<TRSNodes> breednodes;
    std::unique_ptr<TRSNodes> dptnodes;

    void FormCreate(QObject* Sender);
    void RadioGroup2Click(QObject* Sender);
    void RadioGroup3Click(QObject* Sender);
    static bool IsChecked(const TTreeNode* Node);
    // Flips a node's check box.
    static void ToggleCheck(TTreeNode* Node);
    // The ticked nodes of a tree, depth first, as items of the given statistic kind.
    static void readtreeviewnodelist(TTreeView* tree, TNodeList& list, quint8 kind);
    void Button1Click(QObject* Sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the whole tree of a table in a tree view, every node with an empty check box.
    std::unique_ptr<TRSNodes> showtree(TTreeView* tree, const QString& table);
    void checkable(TTreeView* tree);
};

class Tfrmconsumereport : public Tfrmbasicreport {
public:
    explicit Tfrmconsumereport(QWidget* AOwner = nullptr);

    // Empties the two selection lists of the login context.
    void FormCreate(QObject* Sender);
    void calsbillExecute(QObject* Sender) override;
    void calsdata();
    void printbillExecute(QObject* Sender) override;

    // The items across the header: the categories with "行向显示", otherwise the statistic items.
    static const TNodeList& columnlist();
    static const TNodeList& rowlist();
};
