#pragma once
// Planned prices: Tfrmplanlist lists the planned cost prices (mpplist) of the materials of
// one chosen category whose price model is the planned price, adds materials of that category
// that have none yet through the picker Tfrmplanlist_m, and takes the prices typed into the
// grid.
#include "BaseList.h"
#include "CategoryTree.h"

#include <QLabel>
#include <memory>

class Tfrmplanlist_m : public TfrmBase_C {
    Q_OBJECT
public:
    explicit Tfrmplanlist_m(QWidget* AOwner = nullptr);
    ~Tfrmplanlist_m() override;

    QLabel* Image1;       // the banner
    TDBGridGx* DBGridGx1;
    TButton* Button1;     // 确定
    TButton* Button2;     // 取消
    TClientDataSet cdsmtrlist;
    TDataSource dsmtrlist;

    QString bcode() const { return Fbcode; }
    // Loads the category's materials that have no planned price.
    void setbcode(const QString& v);

private:
    QString Fbcode;
};

class Tfrmplanlist : public Tfrmbaselist {
    Q_OBJECT
public:
    explicit Tfrmplanlist(QWidget* AOwner = nullptr);
    ~Tfrmplanlist() override;

    TTreeView* TreeView1;
    TbreedNodes* breednodes() const { return Fbreednodes.get(); }
    QString bcodeshown() const { return FBcode; }

    void FormShow(QObject* Sender) override;
    void TreeView1Change(QObject* Sender, TTreeNode* Node);
    void TreeView1DblClick(QObject* Sender);
    void acInsertExecute(QObject* Sender) override;
    void acSaveExecute(QObject* Sender) override;

private:
    // The planned prices of the chosen category.
    void loadprices();
    std::unique_ptr<TbreedNodes> Fbreednodes;
    QString FBcode;
};
