// Cost statistics on a real account set: the open period from the current tables, a closed
// period from the close's snapshots, the tree-code subtrees and the report-tree lists.
#include "close_fixture.h"

using namespace closetest;

namespace {

struct Figures {
    double num = 0;
    double cost = 0;
    bool operator==(const Figures&) const = default;
};

void PrintTo(const Figures& f, std::ostream* os) { *os << "(" << f.num << ", " << f.cost << ")"; }

// Every statistic of the period, named, for the open-versus-closed comparison.
QList<QPair<QString, Figures>> allfigures(TrmtDM& dm, int p)
{
    QList<QPair<QString, Figures>> out;
    auto add = [&](const QString& name, const std::function<void(double&, double&)>& f) {
        Figures x{-1, -1};
        f(x.num, x.cost);
        out.append({name, x});
    };
    for (int m = 1; m <= 4; ++m) {
        add(QStringLiteral("init %1").arg(m), [&](double& n, double& c) { dm.Getmtrinitnumcost(n, c, p, m); });
        add(QStringLiteral("end %1").arg(m), [&](double& n, double& c) { dm.Getmtrendnumcost(n, c, p, m); });
        add(QStringLiteral("in %1").arg(m), [&](double& n, double& c) { dm.Getmtrinnumcost(n, c, p, m); });
        add(QStringLiteral("ex %1").arg(m), [&](double& n, double& c) { dm.Getmtrexnumcost(n, c, p, m); });
    }
    for (const QString& code : {QStringLiteral("000"), QStringLiteral("000002"), QStringLiteral("000004")}) {
        add(QStringLiteral("type init ") + code, [&](double& n, double& c) { dm.GetTypeinitnumcost(n, c, code, p); });
        add(QStringLiteral("type end ") + code, [&](double& n, double& c) { dm.GetTypeendnumcost(n, c, code, p); });
        add(QStringLiteral("type in ") + code, [&](double& n, double& c) { dm.GetTypeInnumcost(n, c, code, p); });
        add(QStringLiteral("type ex ") + code, [&](double& n, double& c) { dm.GetTypeexnumcost(n, c, code, p); });
    }
    add(QStringLiteral("cyl dpt"), [&](double& n, double& c) { dm.getcyldptmuncostbymid(3, 2, p, n, c); });
    add(QStringLiteral("cyl"), [&](double& n, double& c) { dm.getcylmuncostbymid(3, p, n, c); });
    return out;
}

} // namespace

TEST_F(CloseTest, StatisticsOfTheOpenPeriod)
{
    exec(kBooks);
    const struct {
        const char* name;
        std::function<void(TrmtDM&, double&, double&)> call;
        Figures expected;
    } cases[] = {
        {"opening of a material", [](TrmtDM& d, double& n, double& c) { d.Getmtrinitnumcost(n, c, 0, 1); }, {2, 20}},
        {"closing of a material", [](TrmtDM& d, double& n, double& c) { d.Getmtrendnumcost(n, c, 0, 1); }, {10, 125}},
        {"audited receipts only", [](TrmtDM& d, double& n, double& c) { d.Getmtrinnumcost(n, c, 0, 1); }, {8, 105}},
        {"no receipt", [](TrmtDM& d, double& n, double& c) { d.Getmtrinnumcost(n, c, 0, 3); }, {0, 0}},
        {"issues", [](TrmtDM& d, double& n, double& c) { d.Getmtrexnumcost(n, c, 0, 4); }, {3, 30}},
        {"every category's receipts",
         [](TrmtDM& d, double& n, double& c) { d.GetTypeInnumcost(n, c, QStringLiteral("000"), 0); }, {12.5, 195}},
        {"one category's closing",
         [](TrmtDM& d, double& n, double& c) { d.GetTypeendnumcost(n, c, QStringLiteral("000002"), 0); }, {10, 125}},
        {"one category's opening",
         [](TrmtDM& d, double& n, double& c) { d.GetTypeinitnumcost(n, c, QStringLiteral("000002"), 0); }, {5, 50}},
        {"category issues", [](TrmtDM& d, double& n, double& c) { d.GetTypeexnumcost(n, c, QStringLiteral("000"), 0); },
         {5, 130}},
        {"by source",
         [](TrmtDM& d, double& n, double& c) {
             d.getnumcostbycode(n, c, QStringLiteral("0"), QStringLiteral("000002"), 0, 2);
         },
         {12.5, 195}},
        {"by other source (unaudited only)",
         [](TrmtDM& d, double& n, double& c) {
             d.getnumcostbycode(n, c, QStringLiteral("0"), QStringLiteral("000003"), 0, 2);
         },
         {0, 0}},
        {"by supplier",
         [](TrmtDM& d, double& n, double& c) {
             d.getnumcostbycode(n, c, QStringLiteral("000002"), QStringLiteral("000"), 0, 3);
         },
         {8, 105}},
        {"by unit",
         [](TrmtDM& d, double& n, double& c) {
             d.getnumcostbycode(n, c, QStringLiteral("0"), QStringLiteral("000002"), 0, 4);
         },
         {5, 130}},
        {"by project",
         [](TrmtDM& d, double& n, double& c) {
             d.getnumcostbycode(n, c, QStringLiteral("000004"), QStringLiteral("000002"), 0, 5);
         },
         {2, 100}},
        {"kind 1 leaves the outputs",
         [](TrmtDM& d, double& n, double& c) {
             d.getnumcostbycode(n, c, QStringLiteral("0"), QStringLiteral("000"), 0, 1);
         },
         {-1, -1}},
        {"by currency sums the purchase amount",
         [](TrmtDM& d, double& n, double& c) { d.getinnumcostbycid(n, c, QStringLiteral("000"), 1, 0); }, {12.5, 190}},
        {"by source id", [](TrmtDM& d, double& n, double& c) { d.getinnumcostbycf(n, c, QStringLiteral("000"), 2, 0); },
         {12.5, 195}},
        {"by unit id", [](TrmtDM& d, double& n, double& c) { d.Getexnumcostbydpt(n, c, QStringLiteral("000"), 2, 0); },
         {5, 130}},
        {"by project id",
         [](TrmtDM& d, double& n, double& c) { d.GetExnumcostbypjt(n, c, QStringLiteral("000"), 3, 0); }, {0, 0}},
        {"turnover in use by a unit", [](TrmtDM& d, double& n, double& c) { d.getcyldptmuncostbymid(3, 2, 0, n, c); },
         {5, 250}},
        {"turnover in use", [](TrmtDM& d, double& n, double& c) { d.getcylmuncostbymid(3, 0, n, c); }, {8, 400}},
    };
    for (const auto& c : cases) {
        Figures f{-1, -1};
        c.call(*dm, f.num, f.cost);
        EXPECT_EQ(f, c.expected) << c.name;
    }
}

// Every statistic of period 0 reads the same before the close (current tables) and after it
// (snapshots); the new period opens with the old period's closing values.
TEST_F(CloseTest, ClosedPeriodStatisticsAgreeWithTheOpenPeriodBeforeTheClose)
{
    exec(kBooks);
    const auto open = allfigures(*dm, 0);
    ASSERT_TRUE(closeperiod());
    // The current tables change after the close; the closed period must not.
    ASSERT_EQ(run(QStringLiteral("update msrglist set qty=qty+1,cost=cost+7")), QString());
    ASSERT_EQ(run(QStringLiteral("update cyldptlist set qty=qty+1,cost=cost+7")), QString());
    EXPECT_EQ(allfigures(*dm, 0), open);

    for (int m = 1; m <= 4; ++m) {
        Figures end0, init1;
        dm->Getmtrendnumcost(end0.num, end0.cost, 0, m);
        dm->Getmtrinitnumcost(init1.num, init1.cost, 1, m);
        EXPECT_EQ(init1, end0) << m;
    }
}

// Keys past 999 make codes that begin with another node's code ("000100" and "0001000"): a node
// counts only its own subtree.
TEST_F(CloseTest, CodesThatArePrefixesOfOtherNodesCountOnlyTheSubtree)
{
    const char* const tree[] = {
        "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (100,1,'000100',1,1,'三工区')",
        "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (5,100,'000100005',2,0,'三工区一队')",
        "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (1000,1,'0001000',1,0,'四工区')",
        "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) "
        "values (100,1,'000100',1,0,'砂石',1,0)",
        "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) "
        "values (1000,1,'0001000',1,0,'油料',1,0)",
        "insert into mtrlist (fid,bid,code,mname) values (10,100,'000100','砂')",
        "insert into mtrlist (fid,bid,code,mname) values (11,1000,'0001000','柴油')",
        "insert into msrglist (mid,qty,cost,preqty,precost) values (10,1,10,0,0)",
        "insert into msrglist (mid,qty,cost,preqty,precost) values (11,2,40,0,0)",
        "insert into ebmaster (fid,pid,bdate,dptid,pjtid,brecorded,dptcode,pjtcode) "
        "values (1,0,'2024-11-05',100,2,1,'000100','000002')",
        "insert into ebdetail (eid,mid,qty,dprice) values (1,10,1,10)",
        "insert into ebmaster (fid,pid,bdate,dptid,pjtid,brecorded,dptcode,pjtcode) "
        "values (2,0,'2024-11-05',5,2,1,'000100005','000002')",
        "insert into ebdetail (eid,mid,qty,dprice) values (2,10,2,20)",
        "insert into ebmaster (fid,pid,bdate,dptid,pjtid,brecorded,dptcode,pjtcode) "
        "values (3,0,'2024-11-05',1000,2,1,'0001000','000002')",
        "insert into ebdetail (eid,mid,qty,dprice) values (3,11,4,80)",
    };
    exec(tree);
    const struct {
        const char* name;
        std::function<void(TrmtDM&, double&, double&)> call;
        Figures expected;
    } cases[] = {
        {"unit 100 and its child",
         [](TrmtDM& d, double& n, double& c) {
             d.Getexnumcostbydptcode(n, c, QStringLiteral("0"), QStringLiteral("000100"), 0);
         },
         {3, 30}},
        {"unit 1000", [](TrmtDM& d, double& n, double& c) {
             d.Getexnumcostbydptcode(n, c, QStringLiteral("0"), QStringLiteral("0001000"), 0);
         }, {4, 80}},
        {"the root counts everything", [](TrmtDM& d, double& n, double& c) {
             d.Getexnumcostbydptcode(n, c, QStringLiteral("0"), QStringLiteral("000"), 0);
         }, {7, 110}},
        {"category 100 issues",
         [](TrmtDM& d, double& n, double& c) { d.GetTypeexnumcost(n, c, QStringLiteral("000100"), 0); }, {3, 30}},
        {"category 100 stock",
         [](TrmtDM& d, double& n, double& c) { d.GetTypeendnumcost(n, c, QStringLiteral("000100"), 0); }, {1, 10}},
        {"category 1000 stock",
         [](TrmtDM& d, double& n, double& c) { d.GetTypeendnumcost(n, c, QStringLiteral("0001000"), 0); }, {2, 40}},
    };
    for (const auto& c : cases) {
        Figures f{-1, -1};
        c.call(*dm, f.num, f.cost);
        EXPECT_EQ(f, c.expected) << c.name;
    }
}

namespace {

QStringList describe(const TNodeList& list)
{
    QStringList out;
    for (const tnodelist& n : list)
        out << QStringLiteral("%1 %2 %3 l%4 c%5%6")
                   .arg(n.fid)
                   .arg(n.code, n.text)
                   .arg(n.level)
                   .arg(n.count)
                   .arg(n.bparent ? QStringLiteral(" p") : QString());
    return out;
}

} // namespace

TEST_F(CloseTest, TreeListsWalkDepthFirstWithinTheDepth)
{
    const char* const tree[] = {
        "update dptlist set bparent=1 where fid=2",
        "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (4,2,'000002004',2,0,'一队')",
        "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (5,2,'000002005',2,0,'二队')",
    };
    exec(tree);
    TNodeList all;
    dm->gettreenodelistdef(QStringLiteral("dptlist"), all, 1, 9);
    EXPECT_EQ(describe(all), QStringList({"2 000002 一工区 l1 c2 p", "4 000002004 一队 l2 c0", "5 000002005 二队 l2 c0",
                                          "3 000003 二工区 l1 c0"}));
    TNodeList top;
    dm->gettreenodelistdef(QStringLiteral("dptlist"), top, 1, 1);
    EXPECT_EQ(describe(top), QStringList({"2 000002 一工区 l1 c2 p", "3 000003 二工区 l1 c0"}));
    TNodeList none;
    dm->gettreenodelistdef(QStringLiteral("dptlist"), none, 1, 0);
    EXPECT_TRUE(none.isEmpty());

    TNodeList currencies;
    ASSERT_EQ(run(QStringLiteral("insert into currencyset (cryname,tobalance) values ('人民币',1)")), QString());
    ASSERT_EQ(run(QStringLiteral("insert into currencyset (cryname,tobalance) values ('美元',7.1)")), QString());
    dm->getnodelist(QStringLiteral("currencyset"), currencies);
    ASSERT_EQ(currencies.size(), 2);
    EXPECT_EQ(currencies[1].text, QStringLiteral("美元"));
}

// Only nodes with figures are kept: a leaf whose quantity and amount cancel out (5 and -5) still
// has figures; a parent above the depth limit is left out while its leaves carry the figures.
TEST_F(CloseTest, TreeListWithFiguresKeepsEveryNodeWithANonZeroFigure)
{
    const char* const tree[] = {
        "update dptlist set bparent=1 where fid=2",
        "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (4,2,'000002004',2,0,'一队')",
        "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (5,2,'000002005',2,0,'二队')",
        "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (6,1,'000006',1,0,'三工区')",
        "insert into ebmaster (fid,pid,bdate,dptid,pjtid,brecorded,dptcode,pjtcode) "
        "values (1,0,'2024-11-05',4,2,1,'000002004','000002')",
        "insert into ebdetail (eid,mid,qty,dprice) values (1,1,5,-5)",
        "insert into ebmaster (fid,pid,bdate,dptid,pjtid,brecorded,dptcode,pjtcode) "
        "values (2,0,'2024-11-05',6,2,1,'000006','000002')",
        "insert into ebdetail (eid,mid,qty,dprice) values (2,1,1,12)",
    };
    exec(tree);
    TNodeList deep;
    dm->gettreenodelist(QStringLiteral("dptlist"), deep, 1, 9, 4, 0, 0);
    EXPECT_EQ(describe(deep), QStringList({"4 000002004 一队 l2 c0", "6 000006 三工区 l1 c0"}));
    TNodeList shallow;
    dm->gettreenodelist(QStringLiteral("dptlist"), shallow, 1, 1, 4, 0, 0);
    EXPECT_EQ(describe(shallow), QStringList({"2 000002 一工区 l1 c2 p", "6 000006 三工区 l1 c0"}));
}

// A code is a value, never SQL: quotes, LIKE's wildcards and brackets in a category or item code
// select nothing, leave the tables alone, and a real code still counts.
TEST_F(CloseTest, HostileCodesSelectNothingAndRunNoStatement)
{
    exec(kBooks);
    using Call = std::function<void(TrmtDM&, const QString&, double&, double&)>;
    const struct {
        const char* name;
        Call call;
    } statistics[] = {
        {"type init", [](TrmtDM& d, const QString& s, double& n, double& c) { d.GetTypeinitnumcost(n, c, s, 0); }},
        {"type init closed", [](TrmtDM& d, const QString& s, double& n, double& c) { d.GetTypeinitnumcost(n, c, s, 7); }},
        {"type end", [](TrmtDM& d, const QString& s, double& n, double& c) { d.GetTypeendnumcost(n, c, s, 0); }},
        {"type end closed", [](TrmtDM& d, const QString& s, double& n, double& c) { d.GetTypeendnumcost(n, c, s, 7); }},
        {"type in", [](TrmtDM& d, const QString& s, double& n, double& c) { d.GetTypeInnumcost(n, c, s, 0); }},
        {"type ex", [](TrmtDM& d, const QString& s, double& n, double& c) { d.GetTypeexnumcost(n, c, s, 0); }},
        {"source code", [](TrmtDM& d, const QString& s, double& n, double& c) { d.getinnumcostbycfcode(n, c, QStringLiteral("0"), s, 0); }},
        {"source's category", [](TrmtDM& d, const QString& s, double& n, double& c) { d.getinnumcostbycfcode(n, c, s, QStringLiteral("000"), 0); }},
        {"supplier code", [](TrmtDM& d, const QString& s, double& n, double& c) { d.getinnumcostbysupcode(n, c, QStringLiteral("0"), s, 0); }},
        {"unit code", [](TrmtDM& d, const QString& s, double& n, double& c) { d.Getexnumcostbydptcode(n, c, QStringLiteral("0"), s, 0); }},
        {"project code", [](TrmtDM& d, const QString& s, double& n, double& c) { d.GetExnumcostbypjtcode(n, c, QStringLiteral("0"), s, 0); }},
        {"currency's category", [](TrmtDM& d, const QString& s, double& n, double& c) { d.getinnumcostbycid(n, c, s, 1, 0); }},
        {"source id's category", [](TrmtDM& d, const QString& s, double& n, double& c) { d.getinnumcostbycf(n, c, s, 2, 0); }},
        {"unit id's category", [](TrmtDM& d, const QString& s, double& n, double& c) { d.Getexnumcostbydpt(n, c, s, 2, 0); }},
        {"project id's category", [](TrmtDM& d, const QString& s, double& n, double& c) { d.GetExnumcostbypjt(n, c, s, 2, 0); }},
    };
    const QString hostile[] = {
        QStringLiteral("'; drop table userpw;--"),
        QStringLiteral("0' or 1=1 or c.code like '"),
        QStringLiteral("%"),
        QStringLiteral("_"),
        QStringLiteral("0000_2"),
        QStringLiteral("[0]"),
        QStringLiteral("!"),
        QStringLiteral("\\"),
        QStringLiteral("0\\%"),
    };
    for (const auto& s : statistics) {
        for (const QString& code : hostile) {
            Figures f{-1, -1};
            EXPECT_NO_THROW(s.call(*dm, code, f.num, f.cost)) << s.name << " " << code.toStdString();
            EXPECT_EQ(f, (Figures{0, 0})) << s.name << " " << code.toStdString();
        }
    }
    EXPECT_EQ(rows(QStringLiteral("select count(*) from userpw")), QStringLiteral("1"));
    Figures real;
    dm->getinnumcostbysupcode(real.num, real.cost, QStringLiteral("0"), QStringLiteral("000002"), 0);
    EXPECT_EQ(real, (Figures{12.5, 195}));
}
