#pragma once
// TbreedNodes: the material-category tree (breedlist) in a tree view. It works as the generic
// tree-table model does (root first, children level by level, edits in memory, every change
// saved in one transaction, a deleted category removed with its whole stored subtree), and a
// category carries three more columns: its price model, its kind and its administration rate.
#include "data/rsnodeprocess.h"

// Price models of a category.
enum : int { pmBatches = 0, pmMovingAverage = 1, pmPlanned = 2 };

class TbreedNode : public Trsnode {
public:
    explicit TbreedNode(const QString& atablename);

    int pricemodal = pmBatches;   // 0 price batches, 1 moving average, 2 planned price
    int breedtype = 0;            // 1 turnover materials, 0 ordinary
    int adminrate = 0;            // administration rate in percent

    void readfrom(TDataSet* row) override;
    // pricemodal, breedtype, adminrate.
    QList<std::pair<QString, QString>> extracolumns() const override;
};

class TbreedNodes : public TRSNodes {
public:
    TbreedNodes(TTreeView* Atreeview, const QString& atablename);

    // The root's key (the first top-level row shown); 0 when the tree is empty.
    int bootid() const;
    // Copies the category's columns (not its change state) into the node's record and renews
    // the node's text.
    void updatersnode(TTreeNode* treenode, const TbreedNode* rsnode);
    // The selected image by the node's kind: 3 with sub-categories, 2 for a leaf.
    void onTreeViewChange(QObject* Sender, TTreeNode* Node);
    // Loads the selected node's children once and expands it with everything below.
    void onTreeViewDbClick(QObject* Sender);

    static TbreedNode* breedof(TTreeNode* node) { return static_cast<TbreedNode*>(recordof(node)); }
    TbreedNode* breeditem(int i) const { return static_cast<TbreedNode*>(item(i)); }

    // The image list of category and tree-table trees: leaf, branch, selected leaf, selected
    // branch, then hidden leaf and hidden branch (selected) of the tree tables.
    static void setimages(TTreeView* tree);

protected:
    std::unique_ptr<Trsnode> newrecord() const override;
};

// The code of a new tree item with key id under a parent record (null: a top-level item).
// A top-level item of an empty tree becomes the root "000"; beside an existing root it takes
// the key's own code, so that no second item shares the root's code.
QString newtreecode(const Trsnode* parent, int id, bool rootexists);
