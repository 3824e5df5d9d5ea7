#pragma once
// Tfrmbasicimbill: the stock-in bill. Materials received from a supplier with their source,
// quantities and prices; three line layouts by the account set's settings, the price rules
// that turn entered prices into stock prices, and auditing through the stock engine. With the
// reversal box ticked its line picker offers earlier receipts of the supplier to return.
#include "BillBase.h"

#include "grid/support/DBCtrlsGxDateTime.h"

#include <QGroupBox>

class Tfrmbasicimbill : public Tfrmbasicbill {
    Q_OBJECT
public:
    explicit Tfrmbasicimbill(QWidget* AOwner = nullptr);

    TDBEdit* DBEdit3;          // supname
    QToolButton* SpeedButton3;
    TDBEdit* DBEdit1;          // cfname
    QToolButton* SpeedButton2;
    TDBEdit* DBEdit2;          // billnum
    TDBDateTimeEditGx* DBDateTimeEditGx1;   // bdate
    TDBLookupComboBox* DBLookupComboBox2;   // ckid
    TDBEdit* DBEdit5;          // remark
    QGroupBox* GroupBox1;      // 选择采购币种
    TDBLookupComboBox* DBLookupComboBox1;   // cid
    TClientDataSet cdsemply;
    TDataSource dsemply;
    TClientDataSet cdscurrency;
    TDataSource dscurrency;

    void FormShow(QObject* Sender) override;
    void acSaveExecute() override;
    void btlistaddClick() override;
    void cdsmasterAfterInsert() override;
    // The price rules of a line (quantity, actual price or expense changed).
    void CDSdetailrpriceChange();
    // The line amount (unit price changed).
    void CDSdetailspriceChange();
    // The purchase currency changed: every line priced again at its rate.
    void cdscurrencyfidChange();
    void SpeedButton2Click();
    void SpeedButton3Click();

    double currencyrate() const { return curbalance; }
    double settlementrate() const { return defaultbalance; }

protected:
    void dataloaded() override;
    std::function<bool()> savesteps() override;
    bool recordbill() override;
    bool reversebill() override;

private:
    void buildgrid();
    double defaultbalance = 0;
    double curbalance = 0;
};
