#pragma once
// The material-category editor (Tfrmbreedset) and its category dialog (Tfrmbreedset_M): the
// category tree with name, price model, kind and administration rate per category; changes
// stay in memory until "保存".
#include "CategoryTree.h"
#include "TreeEdit.h"

#include "platform/gui/RadioGroup.h"

class Tfrmbreedset : public TfrmTreeEditor {
    Q_OBJECT
public:
    explicit Tfrmbreedset(QWidget* AOwner = nullptr);
    ~Tfrmbreedset() override;

    QString tablename = QStringLiteral("breedlist");

    TRSNodes* model() const override { return Fbreednodes.get(); }
    TbreedNodes* breednodes() const { return Fbreednodes.get(); }

    void FormShow(QObject* Sender) override;
    void TreeView1Change(QObject* Sender, TTreeNode* Node);
    void TreeView1DblClick(QObject* Sender);

protected:
    void runitemdialog(int state) override;

private:
    std::unique_ptr<TbreedNodes> Fbreednodes;
};

class Tfrmbreedset_M : public TfrmBaseform {
    Q_OBJECT
public:
    using Editor = Tfrmbreedset;
    explicit Tfrmbreedset_M(Tfrmbreedset* AOwner);

    QGroupBox* GroupBox1;
    QLineEdit* Edit1;       // name
    QLineEdit* Edit2;       // administration rate
    TRadioGroup* RadioGroup1;   // price model
    TRadioGroup* RadioGroup2;   // kind

    int Frsstate = 2;                 // 2 add, 3 edit
    TTreeNode* FTreenode = nullptr;
    Tfrmbreedset* Parentform;

    void FormShow(QObject* Sender) override;
    void Button1Click(QObject* Sender);
};
