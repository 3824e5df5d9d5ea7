#pragma once
// Tfrmexdetail: the stock-out price-batch picker. The materials of the chosen category (and its
// sub-categories) that have stock; a batch-priced or planned-price material opens the panel of
// its open price batches, a moving-average material becomes a line at once with its whole
// stock. A chosen batch becomes a bill line with a snapshot of the batch; a batch that a line
// of the bill already draws from, or that a saved bill holds, is refused.
#include "MaterialPicker.h"

#include "platform/gui/DBControls.h"

#include <QSet>

class Tfrmexdetail : public TfrmBasicdetail {
    Q_OBJECT
public:
    explicit Tfrmexdetail(QWidget* AOwner = nullptr);
    ~Tfrmexdetail() override;

    TClientDataSet ClientDataSet1;   // the materials
    TDataSource DataSource1;
    QFrame* Panel6;                  // the batch panel
    TDBEdit* DBEdit1;                // mname
    TDBEdit* DBEdit2;                // mtype
    TDBEdit* DBEdit3;                // munit
    TDBEdit* DBEdit4;                // remark
    TDBGridGx* DBGridGx2;            // the batches (on cdsbaseinfo)
    TButton* Button3;                // 上层

    void TreeView1Change(QObject* Sender, TTreeNode* Node) override;
    void ClientDataSet1AfterScroll();
    void DBGridGx1DblClick() override;
    void DBGridGx2DblClick();
    void Button2Click() override;
    void Button3Click();
    void cdsbaseinfoAfterInsert() override;
    void cdsbaseinfoAfterPost() override;
    void acSaveExecute() override;
    void acRefrshExecute() override;
    void acQueryExecute() override;

    bool batchview() const { return !Panel6->isHidden(); }
    int materialid() const { return mid; }

private:
    // Reads the materials of a condition with the current statement.
    void loadmaterials(const QString& condition);
    void materialgrid();
    void batchgrid();
    void loadbatches();
    // Shows the batches of the current material: the edits, the line a batch makes and the
    // batches all come from that one material.
    void showbatches();
    // Back to the material list.
    void materialview();
    QString categorycondition() const;
    // The current condition narrowed to material names that contain a text.
    QString searchcondition(const QString& text) const;
    double FQty = 0;
    double Fcost = 0;
    int mid = 0;
    bool Fcategory = false;   // a category has been chosen
    QString Fsearch;          // the last search text
    QSet<int> Ftaken;         // batches drawn by the bill's lines
};
