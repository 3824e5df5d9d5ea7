#pragma once
// Tfrmbalance: closes the open period on a closing date through the data module's period
// close and advances the month used in new bill numbers (12 wraps to 1).
#include "FormBase.h"

#include "platform/db/ClientDataSet.h"

#include <QDateTimeEdit>

class Tfrmbalance : public TfrmBaseform {
    Q_OBJECT
public:
    explicit Tfrmbalance(QWidget* AOwner = nullptr);

    QDateTimeEdit* DateTimePicker1;
    TClientDataSet cdstemp;

    void FormShow(QObject* Sender) override;
    void Button1Click(QObject* Sender);
};
