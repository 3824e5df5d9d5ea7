#pragma once
// TfrmDBlinkset: the connection settings of log/adolinksetting.ini, with a test of the edited
// settings on the data module's spare connection. Saved settings take effect at the next start.
#include "FormBase.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

class TCheckBox;

class TfrmDBlinkset : public TfrmBaseform {
    Q_OBJECT
public:
    explicit TfrmDBlinkset(QWidget* AOwner = nullptr);

    QGroupBox* GroupBox1;
    QLineEdit* Edit1;           // server
    QRadioButton* RadioButton1; // Windows authentication
    QRadioButton* RadioButton2; // SQL Server authentication
    QLabel* Label2;
    QLineEdit* Edit3;           // user
    QLabel* Label3;
    QLineEdit* Edit4;           // password
    TCheckBox* CheckBox1;       // login prompt
    TCheckBox* CheckBox2;       // keep connection
    QLabel* Label4;
    QLineEdit* Edit5;           // time-out
    TButton* Button3;           // test

    void Button1Click(QObject* Sender);
    void Button3Click(QObject* Sender);
    // The enable rule of the login and time-out controls.
    void RadioButton1Click(QObject* Sender);
    // The connection string of the edited values.
    QString ConnectionString() const;

private:
    void loadsettings();
};
