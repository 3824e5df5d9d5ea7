#pragma once
// The stock-in and stock-out bill queries: the posted or unposted bill lines of the open
// period, line by line or summed per material, or whatever the composite-query dialog
// composed over closed periods; a line opens its bill or its material's ledger.
#include "QueryBase.h"

class Tfrmquerybill : public TfrmBasicquery {
public:
    Tfrmquerybill(QWidget* AOwner, bool stockin);

    void FormShow(QObject* Sender) override;
    void acQueryExecute(QObject* Sender) override;
    void acQueryExExecute(QObject* Sender) override;
    void acPrintExecute(QObject* Sender) override;

    // The in-period detail statement (also stored in querysql / querycondition) and the
    // in-period summary statement.
    QString samplequery1();
    QString samplequery2() const;
    void setgriddetailtitle();
    void setgridsumtitle();

    bool stockin() const { return m_stockin; }

private:
    bool m_stockin;
};

class Tfrmqueryimbill : public Tfrmquerybill {
public:
    explicit Tfrmqueryimbill(QWidget* AOwner = nullptr);
};

class Tfrmqueryexbill : public Tfrmquerybill {
public:
    explicit Tfrmqueryexbill(QWidget* AOwner = nullptr);
};

// The SELECT part of the line statements of the two bill kinds for the account set's
// settings (shared with the composite-query dialogs).
QString imdetailselect();
QString exdetailselect();
// " and <column> like '%<text>%'" with the text's quotes doubled and LIKE's own characters
// taken as themselves.
QString likecontains(const QString& column, const QString& text);
