// The material-category tree model.
#include "CategoryTree.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"

#include <QApplication>
#include <QStyle>


TbreedNode::TbreedNode(const QString& atablename) : Trsnode(atablename) {}

void TbreedNode::readfrom(TDataSet* row)
{
    Trsnode::readfrom(row);
    pricemodal = row->FieldByName(QStringLiteral("pricemodal"))->AsInteger();
    breedtype = row->FieldByName(QStringLiteral("breedtype"))->AsInteger();
    adminrate = row->FieldByName(QStringLiteral("adminrate"))->AsInteger();
}

QList<std::pair<QString, QString>> TbreedNode::extracolumns() const
{
    return {{QStringLiteral("pricemodal"), vartosqlvalue(Variant(pricemodal))},
            {QStringLiteral("breedtype"), vartosqlvalue(Variant(breedtype))},
            {QStringLiteral("adminrate"), vartosqlvalue(Variant(adminrate))}};
}

TbreedNodes::TbreedNodes(TTreeView* Atreeview, const QString& atablename) : TRSNodes(Atreeview, atablename) {}

std::unique_ptr<Trsnode> TbreedNodes::newrecord() const { return std::make_unique<TbreedNode>(tablename()); }

int TbreedNodes::bootid() const
{
    const Trsnode* root = recordof(treeview()->Items()->GetFirstNode());
    return root ? root->fid : 0;
}

void TbreedNodes::updatersnode(TTreeNode* treenode, const TbreedNode* rsnode)
{
    TbreedNode* r = breedof(treenode);
    if (!r || !rsnode)
        return;
    r->bparent = rsnode->bparent;
    r->tlevel = rsnode->tlevel;
    r->prtname = rsnode->prtname;
    r->prtcode = rsnode->prtcode;
    r->remark = rsnode->remark;
    r->pricemodal = rsnode->pricemodal;
    r->breedtype = rsnode->breedtype;
    r->adminrate = rsnode->adminrate;
    treenode->SetText(nodetext(r));
}

void TbreedNodes::onTreeViewChange(QObject*, TTreeNode* Node)
{
    if (const Trsnode* r = recordof(Node))
        Node->SetSelectedIndex(r->bparent ? 3 : 2);
}

void TbreedNodes::onTreeViewDbClick(QObject*)
{
    TTreeNode* node = treeview()->Selected();
    if (!node)
        return;
    showrschild(node);
    node->Expand(true);
}

void TbreedNodes::setimages(TTreeView* tree)
{
    QStyle* st = QApplication::style();
    const QIcon leaf = st->standardIcon(QStyle::SP_FileIcon);
    const QIcon branch = st->standardIcon(QStyle::SP_DirIcon);
    const QIcon hidden = st->standardIcon(QStyle::SP_FileDialogDetailedView);
    tree->SetImages({leaf, branch, st->standardIcon(QStyle::SP_ArrowRight), st->standardIcon(QStyle::SP_DirOpenIcon),
                     hidden, hidden});
}

QString newtreecode(const Trsnode* parent, int id, bool rootexists)
{
    if (parent)
        return parent->code + rmtDM->getnewtreefid(id);
    return rootexists ? rmtDM->getnewtreefid(id) : QStringLiteral("000");
}
