#pragma once
// The drop-down pickers: small borderless forms that drop under an edit box and hand their
// choice back through the login context (listboxid / listboxname for a list, treenodeid /
// treenodecode / treenodename for a tree).
//   Tfrmbasiclistbox     one column of every row of a table; a click on a row chooses it
//   Tfrmbilltypelistbox  the bill categories, also keeping the clicked category's code
//   TfrmBasictreeshow    the whole code tree of a tree table; a click on any node chooses it
//   Tfrmbilltreeshow     the visible nodes of a code tree; only a leaf can be chosen
// The caller creates one with itself as owner, places it, shows it modally and reads the
// hand-over values when the result is OK; the picker is freed with its owner.
#include "FormBase.h"

#include "data/rsnodeprocess.h"
#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/TreeView.h"

#include <memory>

class Tfrmbasiclistbox : public TfrmBase_C {
    Q_OBJECT
public:
    Tfrmbasiclistbox(QWidget* aowner, const QString& atablename, const QString& listidname,
                     const QString& listname);

    TDBGridGx* DBGridGx1;
    TButton* Button2;   // 关闭
    TClientDataSet CDSlist;
    TDataSource DSlist;

    // Takes the current row as the choice and closes with OK.
    virtual void DBGridGx1CellClick(TColumnGx* Column);
    void Button2Click(QObject* Sender);

protected:
    QString tablename;
    QString listidname;
    QString listname;
};

class Tfrmbilltypelistbox : public Tfrmbasiclistbox {
    Q_OBJECT
public:
    Tfrmbilltypelistbox(QWidget* aowner, const QString& atablename, const QString& listidname,
                        const QString& listname);
    QString code() const { return Fcode; }
    void setcode(const QString& v) { Fcode = v; }
    void DBGridGx1CellClick(TColumnGx* Column) override;

private:
    QString Fcode;
};

class TfrmBasictreeshow : public TfrmBase_C {
    Q_OBJECT
public:
    TfrmBasictreeshow(QWidget* aowner, const QString& atablename);
    ~TfrmBasictreeshow() override;

    TTreeView* treelist;
    TButton* Button2;   // 关闭

    void FormShow(QObject* Sender) override;
    void treelistChange(QObject* Sender, TTreeNode* Node);
    virtual void treelistClick(QObject* Sender);
    virtual void treelistDbClick(QObject* Sender);

    TRSNodes* nodes() const { return rsnodes.get(); }

protected:
    // Sets the hand-over values from a node's record.
    static void handover(TTreeNode* node);
    std::unique_ptr<TRSNodes> rsnodes;
    QString tablename;
};

class Tfrmbilltreeshow : public TfrmBasictreeshow {
    Q_OBJECT
public:
    Tfrmbilltreeshow(QWidget* aowner, const QString& atablename);
    void FormShow(QObject* Sender) override;
    void treelistClick(QObject* Sender) override;
    void treelistDbClick(QObject* Sender) override;
};
