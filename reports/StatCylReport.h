#pragma once
// Tfrmcylreport: the turnover-material report of a period. Per material of the turnover
// categories the total, in-store and in-use quantity and amount; the in-use figures per using
// unit; and every issue to a unit with its start and end date and its days in use.
#include "ReportBase.h"

class Tfrmcylreport : public Tfrmbasicreport {
public:
    explicit Tfrmcylreport(QWidget* AOwner = nullptr);

    // The using units that hold turnover materials in the report period (the current in-use
    // table for the open period, the period's snapshot for a closed one).
    TCaptionLists dptlist;
    TMtrLists mtrlist;
    TClientDataSet ClientDataSet1;
    TClientDataSet ClientDataSet3;

    // The turnover categories (breedlist) and the units of the open period.
    void FormCreate(QObject* Sender);
    void calsbillExecute(QObject* Sender) override;
    void calsdata();
    void printbillExecute(QObject* Sender) override;

private:
    void loaddptlist(int period);
};
