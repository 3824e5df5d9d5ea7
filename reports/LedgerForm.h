#pragma once
// Tfrmmtrimexsrg: the stock ledger of one material ("材料分级分户明细帐"): every posted receipt
// and issue with the balance after it, for one period or for all periods, under a header with
// the material and its current stock. It steps to the previous or next period, or (all
// periods shown) to the previous or next material of the query it was opened from, and
// writes the ledger to a spreadsheet.
#include "app/FormBase.h"
#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/CheckBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

class TfrmBasicquery;

class Tfrmmtrimexsrg : public TfrmBase_C {
public:
    explicit Tfrmmtrimexsrg(QWidget* AOwner = nullptr);
    ~Tfrmmtrimexsrg() override;

    QToolBar* ToolBar1;
    QToolButton* ToolButton1;   // 打印
    QToolButton* ToolButton2;   // 上单
    QToolButton* ToolButton3;   // 下单
    QToolButton* ToolButton4;   // 退出
    TCheckBox* CheckBox1;       // 显示全部
    QLabel* Label1;
    QLineEdit* Edit2;           // 材料名称
    QLineEdit* Edit3;           // 规格型号
    QLineEdit* Edit4;           // 单位
    QLineEdit* Edit6;           // 库存数量
    QLineEdit* Edit7;           // 库存金额
    TDBGridGx* CdataGrid1;
    TClientDataSet cdsinfo;
    TDataSource dsinfo;
    TClientDataSet ClientDataSet1;

    int MID() const { return Fmid; }
    void SetMID(int v) { Fmid = v; }
    int Pid() const { return FPid; }
    void SetPid(int v) { FPid = v; }
    TDataSet* cdsdetail() const { return fcdsdetail; }
    void Setcdsdetail(TDataSet* v) { fcdsdetail = v; }

    void showMtrimexsrg(int mid, int pid);
    void showmtrimexsrgall(int mid);
    void showmtrinfo(int mid);
    void CheckBox1Click(QObject* Sender);
    void ToolButton2Click(QObject* Sender);
    void ToolButton3Click(QObject* Sender);
    void ToolButton1Click(QObject* Sender);
    void ToolButton4Click(QObject* Sender);

    // Opens the ledger of a material of a query's result, modally, owned by the query form.
    static void open(TfrmBasicquery* query, int mid);

private:
    void loadrows(const QString& condition);
    void step(int direction);

    int Fmid = 0;
    int FPid = 0;
    TDataSet* fcdsdetail = nullptr;
    QString Fname, Ftype, Funit;
    double Fqty = 0;
    double FCost = 0;
};
