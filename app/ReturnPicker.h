#pragma once
// Tfrmimdetail_R: the return picker of the stock-in bill. It lists the lines of audited
// stock-in bills of the bill's supplier from the open period and the three before it, under
// the chosen category and its sub-categories, each with the quantity not yet returned; a
// chosen line comes back into the bill with its quantity and amounts negated and the remark
// "冲帐或退货".
#include "MaterialPicker.h"

class Tfrmimdetail_R : public TfrmBasicdetail {
    Q_OBJECT
public:
    explicit Tfrmimdetail_R(QWidget* AOwner = nullptr);

    TButton* choose() const { return Button2; }   // 选择

    void FormShow(QObject* Sender) override;
    void TreeView1Change(QObject* Sender, TTreeNode* Node) override;
    void DBGridGx1DblClick() override;
    void Button2Click() override;
    void setgridheadtitle();

private:
    // Appends the current line as a return of it.
    void returnline();
};
