#pragma once
// The stock-in and stock-out statistics: the posted receipts of a period by material category
// and by material source, supplier and (overseas account sets) purchase currency; the posted
// issues by category and by using unit and project. Each tab is a cross table with a
// three-row merged header.
#include "ReportBase.h"

class TfrmimbillReport : public Tfrmbasicreport {
public:
    explicit TfrmimbillReport(QWidget* AOwner = nullptr);

    TNodeList suplist;
    TNodeList cflist;
    TNodeList crylist;

    void FormShow(QObject* Sender) override;
    void calsbillExecute(QObject* Sender) override;
    void calsdata();
    void printbillExecute(QObject* Sender) override;
};

class TfrmExbillReport : public Tfrmbasicreport {
public:
    explicit TfrmExbillReport(QWidget* AOwner = nullptr);

    TNodeList dptlist;
    TNodeList pjtlist;

    void FormShow(QObject* Sender) override;
    void calsbillExecute(QObject* Sender) override;
    void calsdata();
    void printbillExecute(QObject* Sender) override;
};
