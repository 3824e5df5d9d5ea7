// The tree-table model: lazy level loads into a tree view, edits in memory, one-transaction save.
#include "rsnodeprocess.h"

#include "DM.h"
#include "DataProcess.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/Field.h"

#include <QSet>
#include <algorithm>

namespace {

QString literal(int v) { return vartosqlvalue(Variant(v)); }
QString literal(bool v) { return vartosqlvalue(Variant(v)); }
QString literal(const QString& v) { return vartosqlvalue(Variant(v)); }

} // namespace

// ------------------------------------------------------------------ Trsnode

Trsnode::Trsnode(const QString& atablename) : tablename(atablename) {}

QString Trsnode::insertsql() const
{
    return QStringLiteral("insert into  ") + tablename
           + QStringLiteral(" (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) values (")
           + QStringList{literal(fid), literal(Pfid), literal(code), literal(tlevel), literal(bparent),
                         literal(prtname), literal(prtcode), literal(remark), literal(visibled),
                         literal(expanded), literal(ischecked)}
                 .join(QLatin1Char(','))
           + QLatin1Char(')');
}

QString Trsnode::updatesql() const
{
    return QStringLiteral("update ") + tablename + QStringLiteral(" set code=") + literal(code)
           + QStringLiteral(",tlevel=") + literal(tlevel) + QStringLiteral(",bparent=") + literal(bparent)
           + QStringLiteral(",prtname=") + literal(prtname) + QStringLiteral(",prtcode=") + literal(prtcode)
           + QStringLiteral(",remark=") + literal(remark) + QStringLiteral(",visibled=") + literal(visibled)
           + QStringLiteral(",expanded=") + literal(expanded) + QStringLiteral(",ischecked=") + literal(ischecked)
           + QStringLiteral(" where fid=") + literal(fid);
}

QString Trsnode::deletesql(const QList<int>& fids) const
{
    QStringList keys;
    for (int f : fids)
        keys << literal(f);
    return QStringLiteral("delete ") + tablename + QStringLiteral(" where fid in (") + keys.join(QLatin1Char(','))
           + QLatin1Char(')');
}

QList<int> Trsnode::storedsubtree() const
{
    // Walks down by parent keys, level by level; the codes cannot tell a child from a
    // sibling once keys pass three digits (node 100 "000100", node 1000 "0001000").
    QList<int> all{fid};
    QSet<int> seen{fid};
    QList<int> level{fid};
    TClientDataSetPtr rows(NewClientDataSet());
    while (!level.isEmpty()) {
        QStringList keys;
        for (int f : level)
            keys << literal(f);
        rows->SetData(rmtDM->gettabledata(tablename, QStringLiteral("fid"),
                                          QStringLiteral("pfid in (") + keys.join(QLatin1Char(',')) + QLatin1Char(')'),
                                          20));
        level.clear();
        if (!rows->Active())
            break;
        for (rows->First(); !rows->Eof(); rows->Next()) {
            const int child = rows->FieldByName(QStringLiteral("fid"))->AsInteger();
            if (seen.contains(child))
                continue;
            seen.insert(child);
            all << child;
            level << child;
        }
    }
    return all;
}

bool Trsnode::savetodb()
{
    switch (rnstate) {
    case rnnew:
        return rmtDM->execsql(insertsql());
    case rnchanged:
        return rmtDM->execsql(updatesql());
    case rndeleted:
        return rmtDM->execsql(deletesql(storedsubtree()));
    default:
        return true;
    }
}

// ------------------------------------------------------------------ TRSNodes

TRSNodes::TRSNodes(TTreeView* Atreeview, const QString& atablename)
    : Fdataset(NewClientDataSet()), Ftreeview(Atreeview), Ftablename(atablename)
{
}

TRSNodes::~TRSNodes() = default;

QString TRSNodes::nodetext(const Trsnode* r)
{
    return (r->prtcode + QStringLiteral("  ") + r->prtname).trimmed();
}

std::vector<std::unique_ptr<Trsnode>> TRSNodes::readrows(const QString& condition)
{
    std::vector<std::unique_ptr<Trsnode>> out;
    Fdataset->SetData(rmtDM->gettabledata(Ftablename, QStringLiteral("fid"), condition, 20));
    if (!Fdataset->Active())
        return out;
    auto field = [this](const char* name) { return Fdataset->FieldByName(QString::fromLatin1(name)); };
    for (Fdataset->First(); !Fdataset->Eof(); Fdataset->Next()) {
        auto r = std::make_unique<Trsnode>(Ftablename);
        r->fid = field("fid")->AsInteger();
        r->Pfid = field("pfid")->AsInteger();
        r->code = field("code")->AsString();
        r->tlevel = field("tlevel")->AsInteger();
        r->bparent = field("bparent")->AsBoolean();
        r->prtname = field("prtname")->AsString();
        r->prtcode = field("prtcode")->AsString();
        r->remark = field("remark")->AsString();
        r->visibled = field("visibled")->AsBoolean();
        r->expanded = field("expanded")->AsBoolean();
        r->rnstate = rnsaved;
        r->bexpend = false;
        out.push_back(std::move(r));
    }
    return out;
}

TTreeNode* TRSNodes::shownode(TTreeNode* parent, Trsnode* r)
{
    TTreeNode* node = Ftreeview->Items()->AddChildObject(parent, nodetext(r), r);
    node->SetImageIndex(r->bparent ? 1 : 0);
    r->ftreenode = node;
    return node;
}

TTreeNode* TRSNodes::loadboot(const QString& condition)
{
    // The nodes go before the records they point at.
    Ftreeview->Items()->Clear();
    Frsnodes.clear();
    auto rows = readrows(condition);
    if (rows.empty())
        return nullptr;
    // Only the first top-level row (lowest key) is shown.
    Frsnodes.push_back(std::move(rows.front()));
    TTreeNode* node = Ftreeview->Items()->AddObject(nullptr, nodetext(Frsnodes.back().get()), Frsnodes.back().get());
    node->SetImageIndex(Frsnodes.back()->bparent ? 1 : 0);
    Frsnodes.back()->ftreenode = node;
    return node;
}

TTreeNode* TRSNodes::showboot() { return loadboot(QStringLiteral("pfid=0")); }
TTreeNode* TRSNodes::showbootvisibled() { return loadboot(QStringLiteral("pfid=0 and visibled=1")); }

void TRSNodes::loadchildren(TTreeNode* treenode, bool visibleonly)
{
    Trsnode* r = recordof(treenode);
    if (!r || r->bexpend)
        return;
    QString condition = QStringLiteral("Pfid=") + literal(r->fid);
    if (visibleonly)
        condition += QStringLiteral(" and visibled=1");
    auto rows = readrows(condition);
    for (auto& row : rows) {
        Trsnode* child = row.get();
        Frsnodes.push_back(std::move(row));
        shownode(treenode, child);
    }
    // A node without children is asked again next time.
    if (!rows.empty())
        r->bexpend = true;
}

void TRSNodes::showrschild(TTreeNode* treenode) { loadchildren(treenode, false); }
void TRSNodes::showrschildvisibled(TTreeNode* treenode) { loadchildren(treenode, true); }

void TRSNodes::loadlevel(TTreeNode* treenode, bool visibleonly)
{
    if (!treenode)
        return;
    loadchildren(treenode, visibleonly);
    for (int i = 0; i < treenode->Count(); ++i) {
        TTreeNode* child = treenode->Item(i);
        const Trsnode* r = recordof(child);
        if (r && r->bparent)
            loadlevel(child, visibleonly);
    }
}

void TRSNodes::loadsubtree(TTreeNode* treenode) { loadlevel(treenode, false); }
void TRSNodes::loadsubtreevisibled(TTreeNode* treenode) { loadlevel(treenode, true); }

void TRSNodes::expandsubtree(TTreeNode* treenode, bool visibleonly)
{
    if (!Ftreeview->Selected())
        treenode = visibleonly ? showbootvisibled() : showboot();
    if (visibleonly)
        loadsubtreevisibled(treenode);
    else
        loadsubtree(treenode);
    if (treenode)
        treenode->Expand(true);
}

void TRSNodes::showrschildren(TTreeNode* treenode) { expandsubtree(treenode, false); }
void TRSNodes::showrschildrenvisibled(TTreeNode* treenode) { expandsubtree(treenode, true); }

TTreeNode* TRSNodes::addrsnode(TTreeNode* ptreenode, Trsnode* rsnode)
{
    std::unique_ptr<Trsnode> owned(rsnode);
    TTreeNode* node = Ftreeview->Items()->AddChildObject(ptreenode, nodetext(rsnode), rsnode);
    rsnode->ftreenode = node;
    if (Trsnode* parent = recordof(ptreenode)) {
        parent->bparent = true;
        if (parent->rnstate == rnsaved)
            parent->rnstate = rnchanged;
    }
    node->SetImageIndex(0);
    node->SetSelectedIndex(2);
    rsnode->rnstate = rnnew;
    Frsnodes.push_back(std::move(owned));
    if (ptreenode) {
        ptreenode->SetImageIndex(1);
        ptreenode->SetSelectedIndex(3);
    }
    return node;
}

void TRSNodes::droprecord(Trsnode* r)
{
    auto it = std::find_if(Frsnodes.begin(), Frsnodes.end(), [r](const auto& p) { return p.get() == r; });
    if (it != Frsnodes.end())
        Frsnodes.erase(it);
}

void TRSNodes::deletersnode(TTreeNode* treenode)
{
    if (!treenode)
        return;
    TTreeNode* parent = treenode->Parent();
    if (parent && parent->Count() == 1) {
        if (Trsnode* p = recordof(parent)) {
            p->bparent = false;
            if (p->rnstate == rnsaved)
                p->rnstate = rnchanged;
        }
        parent->SetImageIndex(0);
        parent->SetSelectedIndex(2);
    }
    // The records of the loaded nodes below go: the subtree delete covers their rows, and
    // those never saved have no row.
    std::vector<Trsnode*> below;
    for (TTreeNode* n = treenode->GetNext(); n && n->HasAsParent(treenode); n = n->GetNext())
        if (Trsnode* r = recordof(n))
            below.push_back(r);
    Trsnode* r = recordof(treenode);
    treenode->Delete();
    for (Trsnode* b : below)
        droprecord(b);
    if (!r)
        return;
    r->ftreenode = nullptr;
    if (r->rnstate == rnnew)
        droprecord(r);
    else
        r->rnstate = rndeleted;
}

void TRSNodes::updatersnode(TTreeNode* treenode, const Trsnode* rsnode)
{
    Trsnode* r = recordof(treenode);
    if (!r || !rsnode)
        return;
    r->bparent = rsnode->bparent;
    r->tlevel = rsnode->tlevel;
    r->prtname = rsnode->prtname;
    r->prtcode = rsnode->prtcode;
    r->remark = rsnode->remark;
    r->visibled = rsnode->visibled;
    r->expanded = rsnode->expanded;
    treenode->SetText(nodetext(r));
}

bool TRSNodes::savealltodb()
{
    for (const auto& r : Frsnodes)
        if (!r->savetodb())
            return false;
    return true;
}

bool TRSNodes::saversnode()
{
    try {
        rmtDM->BeginTrans();
        if (!savealltodb()) {
            rmtDM->RollbackTrans();
            return false;
        }
        rmtDM->CommitTrans();
    } catch (...) {
        if (rmtDM->IntransAction())
            rmtDM->RollbackTrans();
        return false;
    }
    // Saved: deleted records are gone for good, the others match their rows.
    Frsnodes.erase(std::remove_if(Frsnodes.begin(), Frsnodes.end(),
                                  [](const auto& r) { return r->rnstate == rndeleted; }),
                   Frsnodes.end());
    for (const auto& r : Frsnodes)
        r->rnstate = rnsaved;
    return true;
}

bool TRSNodes::setselectnode(int fid)
{
    for (const auto& r : Frsnodes)
        if (r->fid == fid && r->ftreenode) {
            Ftreeview->SetSelected(r->ftreenode);
            return true;
        }
    return false;
}

void TRSNodes::onTreeViewChange(QObject*, TTreeNode* Node)
{
    const Trsnode* r = recordof(Node);
    if (!r)
        return;
    Node->SetSelectedIndex(r->bparent ? (r->visibled ? 3 : 5) : (r->visibled ? 2 : 4));
}

void TRSNodes::dbclick(bool visibleonly)
{
    TTreeNode* node = Ftreeview->Selected();
    if (!node)
        return;
    loadchildren(node, visibleonly);
    node->Expand(true);
}

void TRSNodes::onTreeViewDbClick(QObject*) { dbclick(false); }
void TRSNodes::onTreeViewDbClickvisibled(QObject*) { dbclick(true); }
