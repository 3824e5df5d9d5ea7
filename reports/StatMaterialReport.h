#pragma once
// Tfrmmaterialreport: the stock and in/out/stock report of a period. The summary by category
// (opening, receipts, issues, closing; quantity and amount each), the detail by category and
// material, and the closing stock list.
#include "ReportBase.h"

class Tfrmmaterialreport : public Tfrmbasicreport {
public:
    explicit Tfrmmaterialreport(QWidget* AOwner = nullptr);

    void calsbillExecute(QObject* Sender) override;
    void Calsdata();
    void printbillExecute(QObject* Sender) override;

private:
    // The eight values of a category code or a material in the period: opening, receipts,
    // issues, closing, each quantity then amount.
    struct Values {
        double v[8] = {};
    };
    Values categoryvalues(const QString& code, int period);
    Values materialvalues(int mid, int period);
    // The rows of a leaf category's materials, in key order.
    void materialrows(const QString& code, int period, int& row2, int& row3, int& stockno);
};
