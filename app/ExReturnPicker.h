#pragma once
// Tfrmexdetail_R: the stock-out return picker. Lists the issued lines of the bill's using unit
// (bills of the open period and the three before it, not themselves returns) for exactly the
// chosen category; a chosen line comes back to the bill negated, as a return of its batch.
#include "MaterialPicker.h"

class Tfrmexdetail_R : public TfrmBasicdetail {
    Q_OBJECT
public:
    explicit Tfrmexdetail_R(QWidget* AOwner = nullptr);

    void FormShow(QObject* Sender) override;
    void TreeView1Change(QObject* Sender, TTreeNode* Node) override;
    void DBGridGx1DblClick() override;
    void Button2Click() override;
    void acQueryExecute() override;
    void acRefrshExecute() override;
    // Builds the list grid for the account set.
    void setgridheadtitle();

private:
    void returnline();
};
