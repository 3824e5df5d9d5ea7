#pragma once
// TfrmLogin: lists the registered account sets, switches the shared connection to the chosen
// one, checks the user against its userpw table and fills the login context. A failed attempt
// leaves the previous account set (values and connection) in force.
//
// The account-set list is cdsbillselect; the chosen account set is its current record, which
// the data grid over dsbillselect (DBGridGx1 in GroupBox2) moves; Enter in the grid goes on
// to "确定".
#include "FormBase.h"

#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"

#include <QGroupBox>
#include <QLineEdit>

class TfrmLogin : public TfrmNormalForm {
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget* AOwner = nullptr);
    ~TfrmLogin() override;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* Edit1;           // user name
    QLabel* Label2;
    QLineEdit* Edit2;           // password
    QGroupBox* GroupBox2;
    TDBGridGx* DBGridGx1;       // the account-set list: read-only, whole rows
    TClientDataSet cdsbillselect;
    TDataSource dsbillselect;
    TClientDataSet ClientDataSet1;

    void FormShow(QObject* Sender) override;
    void Button1Click(QObject* Sender);
    // Enter in the account-set grid.
    void DBGridGx1KeyPress(QObject* Sender, QChar& Key);

private:
    struct Kept {
        int id;
        QString name, db, remark;
    };
    void restore(const Kept& kept);
    void fillcontext(const QString& typedname);
};
