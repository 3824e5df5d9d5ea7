#pragma once
// Records that carry tree nodes, column captions and materials between the data module's
// tree lists, the report grid fills and the report forms. Plain values; the creator keeps
// them, normally in a list.
#include <QList>
#include <QString>
#include <QtGlobal>

// One node of a code tree, or one ticked item of the custom statistics report.
struct tnodelist {
    int pfid = 0;
    QString text;
    int fid = 0;
    int level = 0;
    QString code;
    int count = 0;            // number of children
    bool bparent = false;
    // Statistic kind: 1 material category, 2 material source, 3 supplier, 4 using unit, 5 project.
    quint8 billtype = 0;
    void Setbilltype(quint8 kind) { billtype = kind; }
};

// One column caption of a report column tree.
struct TCaptionList {
    int fid = 0;
    QString caption;
    QString code;
    bool bparent = false;
    int pfid = 0;
    int clevel = 0;
    bool expanded = false;
};

// One material row of a report.
struct Tmtrlist {
    int mid = 0;
    QString mname;
    QString munit;
    QString mtype;
};

// A list of tree nodes in depth-first order (item 0 the top node where a fill expects it).
using TNodeList = QList<tnodelist>;
using TCaptionLists = QList<TCaptionList>;
using TMtrLists = QList<Tmtrlist>;
