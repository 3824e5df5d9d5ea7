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

QList<std::pair<QString, QString>> Trsnode::extracolumns() const
{
    return {{QStringLiteral("visibled"), literal(visibled)},
            {QStringLiteral("expanded"), literal(expanded)},
            {QStringLiteral("ischecked"), literal(ischecked)}};
}

QString Trsnode::insertsql() const
{
    QStringList names{QStringLiteral("fid"), QStringLiteral("pfid"), QStringLiteral("code"), QStringLiteral("tlevel"),
                      QStringLiteral("bparent"), QStringLiteral("prtname"), QStringLiteral("prtcode"), QStringLiteral("remark")};
    QStringList values{literal(fid), literal(Pfid), literal(code), literal(tlevel), literal(bparent),
                       literal(prtname), literal(prtcode), literal(remark)};
    for (const auto& [name, value] : extracolumns()) {
        names << name;
        values << value;
    }
    return QStringLiteral("insert into  ") + tablename + QStringLiteral(" (") + names.join(QLatin1Char(','))
           + QStringLiteral(") values (") + values.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString Trsnode::updatesql() const
{
    QString sql = QStringLiteral("update ") + tablename + QStringLiteral(" set code=") + literal(code)
                  + QStringLiteral(",tlevel=") + literal(tlevel) + QStringLiteral(",bparent=") + literal(bparent)
                  + QStringLiteral(",prtname=") + literal(prtname) + QStringLiteral(",prtcode=") + literal(prtcode)
                  + QStringLiteral(",remark=") + literal(remark);
    for (const auto& [name, value] : extracolumns())
        sql += QLatin1Char(',') + name + QLatin1Char('=') + value;
    return sql + QStringLiteral(" where fid=") + literal(fid);
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

void Trsnode::readfrom(TDataSet* row)
{
    auto field = [row](const char* name) { return row->FieldByName(QString::fromLatin1(name)); };
    fid = field("fid")->AsInteger();
    Pfid = field("pfid")->AsInteger();
    code = field("code")->AsString();
    tlevel = field("tlevel")->AsInteger();
    bparent = field("bparent")->AsBoolean();
    prtname = field("prtname")->AsString();
    prtcode = field("prtcode")->AsString();
    remark = field("remark")->AsString();
    visibled = field("visibled")->AsBoolean();
    expanded = field("expanded")->AsBoolean();
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

std::unique_ptr<Trsnode> TRSNodes::newrecord() const { return std::make_unique<Trsnode>(Ftablename); }

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
    for (Fdataset->First(); !Fdataset->Eof(); Fdataset->Next()) {
        auto r = newrecord();
        r->readfrom(Fdataset.get());
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
