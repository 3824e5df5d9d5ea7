#pragma once
// Tfrmsystemset: the parameters of the logged-in account set: decimals, the month of new bill
// numbers, the start date of the books, the print templates of the bill kinds, company name and
// description, domestic or overseas use, the stock-in bill layout, the bill-number categories
// (which rebuild the bill-number pool) and the currencies.
//
// The category and currency rows are cdsbilltype and cdscurrency; the editing grids DBGridGx2 and
// DBGridGx1 show them in their tabs, and a double click in DBGridGx2 offers to delete its
// current row.
#include "FormBase.h"

#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <memory>

class TRadioGroup;
class TRSNodes;
class TTreeView;
class TTreeNode;

class Tfrmsystemset : public TfrmBaseform {
    Q_OBJECT
public:
    explicit Tfrmsystemset(QWidget* AOwner = nullptr);
    ~Tfrmsystemset() override;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;         // 系统参数
    QWidget* TabSheet2;         // 票据编号分类设置
    QWidget* TabSheet3;         // 汇率设置
    QSpinBox* SpinEdit1;        // spricedots
    QSpinBox* SpinEdit2;        // dpricedots
    QDateTimeEdit* DateTimePicker1;
    QComboBox* ComboBox1;       // monthid
    QLineEdit* Edit2;           // stock-in template
    QPushButton* Button3;       // its browse button
    QLineEdit* Edit3;           // stock-out template
    QPushButton* Button4;
    QLineEdit* Edit1;           // company
    QLineEdit* Edit4;           // description
    TRadioGroup* RadioGroup2;   // 系统用于
    TRadioGroup* RadioGroup1;   // stock-in layout
    TTreeView* TreeView1;       // material categories
    TDBGridGx* DBGridGx2;       // the bill categories: start numbers edited in place
    TDBGridGx* DBGridGx1;       // the currencies, with two Boolean columns
    TClientDataSet cdsbilltype;
    TDataSource dsbilltype;
    TClientDataSet cdscurrency;
    TDataSource dscurrency;
    TClientDataSet ClientDataSet1;

    void FormShow(QObject* Sender) override;
    void RadioGroup2Click(QObject* Sender);
    void Button3Click(QObject* Sender);
    void Button4Click(QObject* Sender);
    void TreeView1DblClick(QObject* Sender);
    void DBGridGx2DblClick(QObject* Sender);
    void Button1Click(QObject* Sender);

    // The stock-in layout a stored value stands for: 1 the raw-material layout, anything else 0.
    static int imbilllayout(int value);

private:
    void browse(QLineEdit* edit, const QString& title);
    // Posts and writes one dataset's changes; false when the write failed.
    bool savechanges(TClientDataSet& cds, const QString& table);
    bool rebuildpool();

    std::unique_ptr<TRSNodes> frsnodes;
    bool m_startlocked = false;
    QDateTime m_startshown;
};
