#pragma once
// TRSNodes: a tree view over one tree table (cflist, dptlist, pjtlist, suplist; breedlist
// read-only). The tree loads level by level; each loaded row is a Trsnode with an edit state;
// a form adds, changes and deletes nodes in memory and saves every change in one transaction.
#include "ComponentFactory.h"
#include "platform/gui/TreeView.h"

#include <QString>
#include <memory>
#include <vector>

class TClientDataSet;
class TDataSet;

// Edit state of a record.
enum : quint8 { rnsaved = 1, rnnew = 2, rnchanged = 3, rndeleted = 4 };

class Trsnode {
public:
    explicit Trsnode(const QString& atablename);
    virtual ~Trsnode() = default;

    int fid = 0;
    int Pfid = 0;
    QString code;
    bool bparent = false;
    int tlevel = 0;
    QString prtname;
    QString prtcode;
    QString remark;
    bool visibled = false;
    bool expanded = false;
    bool ischecked = false;
    quint8 rnstate = 0;
    bool bexpend = false;
    QString tablename;
    TTreeNode* ftreenode = nullptr;

    // Writes the record by its state: insert (new), update (changed), delete of the row and
    // its whole stored subtree (deleted); nothing for a saved record. The result of the
    // statement runner; True without a statement.
    virtual bool savetodb();

    // Takes the columns of the dataset's current row (a row of the record's table).
    virtual void readfrom(TDataSet* row);
    // The statements savetodb sends for a new or changed record (empty otherwise).
    QString insertsql() const;
    QString updatesql() const;
    // The columns written after the shared ones (fid, pfid, code, tlevel, bparent, prtname,
    // prtcode, remark), as names and literals: visibled, expanded, ischecked here.
    virtual QList<std::pair<QString, QString>> extracolumns() const;
    // The delete of the given rows (the record's row and its stored descendants).
    QString deletesql(const QList<int>& fids) const;
    // The keys of the record's row and every stored row below it, by their parent keys.
    QList<int> storedsubtree() const;
};

class TRSNodes {
public:
    TRSNodes(TTreeView* Atreeview, const QString& atablename);
    virtual ~TRSNodes();
    TRSNodes(const TRSNodes&) = delete;
    TRSNodes& operator=(const TRSNodes&) = delete;

    QString tablename() const { return Ftablename; }
    void settablename(const QString& v) { Ftablename = v; }
    TTreeView* treeview() const { return Ftreeview; }
    void settreeview(TTreeView* v) { Ftreeview = v; }

    // Root load: forgets every record, clears the tree and shows the first top-level row
    // (lowest fid); nullptr when there is none.
    TTreeNode* showboot();
    TTreeNode* showbootvisibled();
    // One level below a node (once: a node whose children came back is not queried again).
    void showrschild(TTreeNode* treenode);
    void showrschildvisibled(TTreeNode* treenode);
    // The whole subtree below a node, expanded; with no selected node the tree is reloaded
    // from its root first.
    void showrschildren(TTreeNode* treenode);
    void showrschildrenvisibled(TTreeNode* treenode);

    // A new record under a tree node (nullptr: top level). The model takes the record.
    TTreeNode* addrsnode(TTreeNode* ptreenode, Trsnode* rsnode);
    // Marks the node's record deleted and removes the node with its subtree from the tree.
    // A record never saved is dropped (nothing is sent for it), and so are the records loaded
    // below the node: the delete of the node's stored subtree covers them.
    void deletersnode(TTreeNode* treenode);
    void updatersnode(TTreeNode* treenode, const Trsnode* rsnode);
    // Every change in one transaction; False (and everything rolled back, states unchanged)
    // when a statement fails or anything raises.
    bool saversnode();
    bool setselectnode(int fid);

    void onTreeViewChange(QObject* Sender, TTreeNode* Node);
    void onTreeViewDbClick(QObject* Sender);
    void onTreeViewDbClickvisibled(QObject* Sender);

    // The records in list order (loaded or added since the last root load).
    int count() const { return int(Frsnodes.size()); }
    Trsnode* item(int i) const { return Frsnodes[size_t(i)].get(); }
    static Trsnode* recordof(TTreeNode* node) { return node ? static_cast<Trsnode*>(node->Data()) : nullptr; }
    static QString nodetext(const Trsnode* r);

protected:
    // A record of the model's table, before its row is read (tree tables with more columns
    // hand out their own kind).
    virtual std::unique_ptr<Trsnode> newrecord() const;

private:
    TTreeNode* loadboot(const QString& condition);
    void loadlevel(TTreeNode* treenode, bool visibleonly);
    void loadsubtree(TTreeNode* treenode);
    void loadsubtreevisibled(TTreeNode* treenode);
    void loadchildren(TTreeNode* treenode, bool visibleonly);
    void expandsubtree(TTreeNode* treenode, bool visibleonly);
    void dbclick(bool visibleonly);
    // Reads the rows of a condition into Fdataset; makes one record per row.
    std::vector<std::unique_ptr<Trsnode>> readrows(const QString& condition);
    TTreeNode* shownode(TTreeNode* parent, Trsnode* r);
    void droprecord(Trsnode* r);
    bool savealltodb();

    TClientDataSetPtr Fdataset;
    std::vector<std::unique_ptr<Trsnode>> Frsnodes;
    TTreeView* Ftreeview;
    QString Ftablename;
};
