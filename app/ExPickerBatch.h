#pragma once
// The batch edit dialogs of the stock-out batch picker, on the picker's batch list:
//   Tfrmexdetail_m    single-currency account sets
//   Tfrmexdetail_mc   overseas account sets (purchase currency and its prices)
// A supplier, source or currency pick is taken into the batch only when the picker is left
// with OK.
#include "MaterialPicker.h"

#include "grid/support/DBCtrlsGxDateTime.h"
#include "platform/gui/DBControls.h"

#include <QToolButton>

class Tfrmexdetail_batch : public Tfrmbasedetail_m {
    Q_OBJECT
public:
    explicit Tfrmexdetail_batch(QWidget* AOwner, bool overseas);

    TDBDateTimeEditGx* DBDateTimeEditGx1;   // bdate
    TDBEdit* bnum;
    TDBEdit* qty;
    TDBEdit* sprice;
    TDBEdit* dprice;
    TDBEdit* remark;
    TDBEdit* rsprice = nullptr;   // overseas
    TDBEdit* rdprice = nullptr;   // overseas
    QLineEdit* cfname = nullptr;  // single currency
    QToolButton* cfbutton = nullptr;
    QLineEdit* cryname = nullptr; // overseas
    QToolButton* crybutton = nullptr;
    QLineEdit* supname;
    QToolButton* supbutton;

    void FormShow(QObject* Sender) override;
    void supplierClick();
    void sourceClick();
    void currencyClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places a picker above its edit.
    void placeabove(TForm* picker, QLineEdit* edit, QToolButton* button, bool absolute);
    void setbatch(const char* idfield, int id, const char* namefield, const QString& name, QLineEdit* edit);
    void tree(const QString& table, QLineEdit* edit, QToolButton* button, const char* idfield, const char* namefield,
              bool absolute);
};

class Tfrmexdetail_m : public Tfrmexdetail_batch {
    Q_OBJECT
public:
    explicit Tfrmexdetail_m(QWidget* AOwner = nullptr) : Tfrmexdetail_batch(AOwner, false) {}
};

class Tfrmexdetail_mc : public Tfrmexdetail_batch {
    Q_OBJECT
public:
    explicit Tfrmexdetail_mc(QWidget* AOwner = nullptr) : Tfrmexdetail_batch(AOwner, true) {}
};
