// Auditing and un-auditing bills, scenario by scenario: the bills are saved as the forms save
// them, posted and reversed through the data module, and after each step every table the step
// touches is compared with the expected rows.
#include "stock_fixture.h"

#include <vector>

using namespace stocktest;

namespace {

#define STOCK "select mid,qty,cost from msrglist order by mid"
#define BATCH                                                                                                      \
    "select mid,iid,eid,bnum,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,rsprice,rdprice,remark from mrplist " \
    "order by fid"
#define LEDGERIN "select Mid,iid,comment,dptprj,iqty,isprice,idprice,srgqty,srgcost from imexsrglist order by fid"
#define LEDGEROUT                                                                                                   \
    "select Mid,eid,comment,dptprj,eqty,esprice,edprice,srgqty,srgcost from imexsrglist where eid is not null " \
    "order by fid"
#define AVG "select mid,maprice from maplist order by mid"
#define PLAN "select mid,pprice from mpplist order by mid"
#define CYL "select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb order by mid"
#define CYLDPT "select dptid,mid,qty,cost from cyldptlist order by dptid,mid"
#define CYLDET "select eid,pid,mid,dptid,crtdate,qty,cost,remark from cyldetaillist order by eid"
#define IBM "select fid,brecorded,assessor from ibmaster order by fid"
#define EBM "select fid,brecorded,assessor from ebmaster order by fid"

struct Line {
    int fid, mid;
    double qty, price;
    int ref = 0;   // stock-in: idid (the returned line); stock-out: rpid (the chosen batch)
};

struct Bill {
    bool in;
    int fid;
    std::vector<Line> lines;
    bool bcylm = false;
};

struct Check {
    const char* sql;
    const char* expect;
};


struct Step {
    Op op;
    int fid = 0;
    bool ok = true;
    const char* message = nullptr;   // the last message shown, when the step shows one
    const char* sql = nullptr;       // a statement run instead of op
    std::vector<Check> checks = {};
};

// A statement on the account set between two audits (another client's work).
Step sql(const char* statement)
{
    Step st{PostIn};
    st.sql = statement;
    return st;
}

struct Scenario {
    const char* name;
    std::vector<const char*> seed;
    std::vector<Bill> bills;
    std::vector<Step> steps;
    TSystype type = TSystype::local;
};

const Scenario kScenarios[] = {
    {"SameMaterialTwiceInOneReceipt", {}, {{true, 1, {{11, Rebar, 10, 5}, {12, Rebar, 4, 6}}}},
     {{PostIn, 1, true, nullptr, nullptr,
       {{STOCK, "1|14|74"},
        {LEDGERIN, "1|11|入库|自购→华北钢厂|10|5|50|10|50\n1|12|入库|自购→华北钢厂|4|6|24|14|74"},
        {BATCH, "1|11|0|RK001|10|50|50|10|5|50|5|50|行11\n1|12|0|RK001|4|24|24|4|6|24|6|24|行12"},
        {IBM, "1|1|李会计"}, {AVG, ""}, {PLAN, ""}, {CYL, ""}}}}},

    {"MovingAverageReceiptAndReversal",
     {"insert into msrglist (mid,qty,cost,preqty,precost) values (2,10,100,0,0)",
      "insert into maplist (mid,maprice) values (2,10)"},
     {{true, 1, {{11, Cement, 10, 12}}}},
     {{PostIn, 1, true, nullptr, nullptr,
       {{STOCK, "2|20|220"}, {AVG, "2|11"}, {LEDGERIN, "2|11|入库|自购→华北钢厂|10|12|120|20|220"},
        {BATCH, "2|11|0|RK001|10|120|120|10|12|120|12|120|行11"}}},
      {ReverseIn, 1, true, nullptr, nullptr,
       {{STOCK, "2|10|100"}, {AVG, "2|10"},
        {LEDGERIN, "2|11|入库|自购→华北钢厂|10|12|120|20|220\n2|11|取消入库|自购→华北钢厂|-10|12|-120|10|100"},
        {BATCH, "2|11|0|RK001|0|0|0|0|12|0|12|0|行11"}, {IBM, "1|0|"}}}}},

    {"AverageRoundsAndStartsFromTheFirstPrice",
     {"insert into msrglist (mid,qty,cost,preqty,precost) values (2,10,100,0,0)",
      "insert into maplist (mid,maprice) values (2,10)"},
     {{true, 1, {{11, Cement, 5, 12}, {12, Scaffold, 100, 2}}}},
     {{PostIn, 1, true, nullptr, nullptr,
       {{AVG, "2|10.67\n5|2"}, {STOCK, "2|15|160\n5|100|200"}, {CYL, "5|100|200|100|200|0|0"}}},
      {ReverseIn, 1, true, nullptr, nullptr,
       {{AVG, "2|10\n5|0"}, {STOCK, "2|10|100\n5|0|0"}, {CYL, "5|0|0|0|0|0|0"}}}}},

    {"ExistingPlannedPriceIsKept", {"insert into mpplist (mid,pprice) values (3,20)"},
     {{true, 1, {{11, Timber, 3, 25}}}},
     {{PostIn, 1, true, nullptr, nullptr, {{PLAN, "3|20"}, {STOCK, "3|3|75"}}}}},

    {"PlannedPriceAndPostingRowsStayAfterReversal", {}, {{true, 1, {{11, Timber, 3, 25}}}},
     {{PostIn, 1, true, nullptr, nullptr, {{PLAN, "3|25"}}},
      {ReverseIn, 1, true, nullptr, nullptr,
       {{PLAN, "3|25"},
        {LEDGERIN, "3|11|入库|自购→华北钢厂|3|25|75|3|75\n3|11|取消入库|自购→华北钢厂|-3|25|-75|0|0"}}}}},

    {"RepostedLineUpdatesItsBatch", {}, {{true, 1, {{11, Rebar, 10, 5}}}},
     {{PostIn, 1},
      {ReverseIn, 1, true, nullptr, nullptr, {{BATCH, "1|11|0|RK001|0|0|0|0|5|0|5|0|行11"}, {STOCK, "1|0|0"}}},
      {PostIn, 1, true, nullptr, nullptr,
       {{BATCH, "1|11|0|RK001|10|50|50|10|5|50|5|50|行11"}, {STOCK, "1|10|50"}, {IBM, "1|1|李会计"}}}}},

    {"ReturnLineReducesTheEarlierBatch", {},
     {{true, 1, {{11, Rebar, 10, 5}}}, {true, 2, {{21, Rebar, -3, 5, 11}}}},
     {{PostIn, 1},
      {PostIn, 2, true, nullptr, nullptr,
       {{BATCH, "1|11|0|RK001|10|50|50|7|5|35|5|35|行11"}, {STOCK, "1|7|35"},
        {LEDGERIN, "1|11|入库|自购→华北钢厂|10|5|50|10|50\n1|21|入库|自购→华北钢厂|-3|5|-15|7|35"}}},
      {ReverseIn, 2, true, nullptr, nullptr,
       {{BATCH, "1|11|0|RK001|10|50|50|10|5|50|5|50|行11"}, {STOCK, "1|10|50"}}}}},

    {"ReceiptWithoutLines", {}, {{true, 1, {}}},
     {{PostIn, 1, true, nullptr, nullptr, {{IBM, "1|1|李会计"}, {LEDGERIN, ""}}},
      {ReverseIn, 1, false, nullptr, nullptr, {{IBM, "1|1|李会计"}, {LEDGERIN, ""}}}}},

    {"OverseasPairIsTakenBackExactly", {}, {{true, 1, {{11, Rebar, 10, 5}}}},
     {{PostIn, 1, true, nullptr, nullptr, {{BATCH, "1|11|0|RK001|10|100|50|10|5|50|10|100|行11"}}},
      {ReverseIn, 1, true, nullptr, nullptr, {{BATCH, "1|11|0|RK001|0|0|0|0|5|0|10|0|行11"}}},
      {PostIn, 1, true, nullptr, nullptr, {{BATCH, "1|11|0|RK001|10|100|50|10|5|50|10|100|行11"}}}},
     TSystype::overseas},

    {"IssueWithoutStockOrBatch", {}, {{false, 2, {{21, Rebar, 4, 5}}}},
     {{PostOut, 2, true, nullptr, nullptr,
       {{STOCK, "1|-4|-20"}, {BATCH, "1|0|21|CK002|-4|-20|-20|-4|5|-20|5|-20|出21"},
        {LEDGEROUT, "1|21|出库|一工区→一号楼|4|5|20|-4|-20"}, {EBM, "2|1|李会计"}}},
      {ReverseOut, 2, true, nullptr, nullptr,
       {{STOCK, "1|0|0"}, {BATCH, "1|0|21|CK002|-4|-20|-20|0|5|0|5|0|出21"},
        {LEDGEROUT, "1|21|出库|一工区→一号楼|4|5|20|-4|-20\n1|21|取消出库|一工区→一号楼|-4|5|-20|0|0"},
        {EBM, "2|0|"}}},
      {PostOut, 2, true, nullptr, nullptr,
       {{STOCK, "1|-4|-20"}, {BATCH, "1|0|21|CK002|-4|-20|-20|-4|5|-20|5|-20|出21"}}}}},

    {"IssueFromTheChosenBatch", {}, {{true, 1, {{11, Rebar, 10, 5}}}, {false, 2, {{21, Rebar, 4, 5, 1}}}},
     {{PostIn, 1},
      {PostOut, 2, true, nullptr, nullptr,
       {{BATCH, "1|11|0|RK001|10|50|50|6|5|30|5|30|行11"}, {STOCK, "1|6|30"},
        {LEDGEROUT, "1|21|出库|一工区→一号楼|4|5|20|6|30"}}},
      {ReverseOut, 2, true, nullptr, nullptr,
       {{BATCH, "1|11|0|RK001|10|50|50|10|5|50|5|50|行11"}, {STOCK, "1|10|50"}}}}},

    {"MovingAverageIssue",
     {"insert into msrglist (mid,qty,cost,preqty,precost) values (2,10,100,0,0)",
      "insert into maplist (mid,maprice) values (2,10)"},
     {{false, 2, {{21, Cement, 4, 10}}}, {false, 3, {{31, Cement, 10, 10}}}},
     {{PostOut, 2, true, nullptr, nullptr, {{STOCK, "2|6|60"}, {AVG, "2|10"}, {BATCH, ""}}},
      {ReverseOut, 2, true, nullptr, nullptr, {{STOCK, "2|10|100"}, {AVG, "2|10"}}},
      {PostOut, 3, true, nullptr, nullptr, {{STOCK, "2|0|0"}, {AVG, "2|0"}}}}},

    {"AverageBeforeTheIssueAndAfterItsReversal",
     {"insert into msrglist (mid,qty,cost,preqty,precost) values (2,10,100,0,0)",
      "insert into maplist (mid,maprice) values (2,10)"},
     {{false, 2, {{21, Cement, 4, 12.5}}}},
     {{PostOut, 2, true, nullptr, nullptr, {{STOCK, "2|6|50"}, {AVG, "2|8.33"}}},
      {ReverseOut, 2, true, nullptr, nullptr, {{STOCK, "2|10|100"}, {AVG, "2|8.33"}}}}},

    {"TurnoverIssueToADepartment", {},
     {{true, 1, {{11, Formwork, 20, 30}}}, {false, 2, {{21, Formwork, 5, 30, 1}}}, {false, 3, {{31, Formwork, 3, 30, 1}}}},
     {{PostIn, 1, true, nullptr, nullptr, {{CYL, "4|20|600|20|600|0|0"}}},
      {PostOut, 2, true, nullptr, nullptr,
       {{CYL, "4|20|600|15|450|5|150"}, {CYLDPT, "2|4|5|150"}, {CYLDET, "21|0|4|2|2024-03-06|5|150|出21"}}},
      {PostOut, 3, true, nullptr, nullptr,
       {{CYL, "4|20|600|12|360|8|240"}, {CYLDPT, "2|4|8|240"},
        {CYLDET, "21|0|4|2|2024-03-06|5|150|出21\n31|0|4|2|2024-03-06|3|90|出31"}}},
      {ReverseOut, 2, true, nullptr, nullptr,
       {{CYL, "4|20|600|17|510|3|90"}, {CYLDPT, "2|4|3|90"}, {CYLDET, "31|0|4|2|2024-03-06|3|90|出31"},
        {BATCH, "4|11|0|RK001|20|600|600|17|30|510|30|510|行11"}, {STOCK, "4|17|510"}}}}},

    {"TurnoverIssuedAsConsumables", {},
     {{true, 1, {{11, Formwork, 20, 30}}}, {false, 2, {{21, Formwork, 5, 30, 1}}, true}},
     {{PostIn, 1},
      {PostOut, 2, true, nullptr, nullptr, {{CYL, "4|15|450|15|450|0|0"}, {CYLDPT, ""}, {CYLDET, ""}}},
      {ReverseOut, 2, true, nullptr, nullptr, {{CYL, "4|20|600|20|600|0|0"}, {CYLDPT, ""}, {CYLDET, ""}}}}},

    {"TurnoverIssueWithoutATurnoverRow", {}, {{false, 2, {{21, Formwork, 5, 30}}}},
     {{PostOut, 2, true, nullptr, nullptr,
       {{CYL, "4|0|0|-5|-150|5|150"}, {CYLDPT, "2|4|5|150"}, {CYLDET, "21|0|4|2|2024-03-06|5|150|出21"},
        {STOCK, "4|-5|-150"}}},
      {ReverseOut, 2, true, nullptr, nullptr, {{CYL, "4|0|0|0|0|0|0"}, {CYLDPT, "2|4|0|0"}, {CYLDET, ""}}}}},

    {"RefusedInsideTheTransaction", {}, {{true, 1, {{11, Rebar, 10, 5}}}, {false, 2, {{21, Rebar, 4, 5}}}},
     {{ReverseIn, 1, false, "票据尚未审核，不允许反审核！！！", nullptr, {{IBM, "1|0|"}, {STOCK, ""}}},
      {PostIn, 1},
      {PostIn, 1, false, "票据已经审核，不允许重复审核！！！", nullptr,
       {{STOCK, "1|10|50"}, {LEDGERIN, "1|11|入库|自购→华北钢厂|10|5|50|10|50"}, {IBM, "1|1|李会计"}}},
      // Another client closes the period; this client still holds the old one from its login.
      sql("update IDlist set ID=1 where IDname='PID'"),
      {ReverseIn, 1, false, "不允许反审核结转过的票据！！！", nullptr, {{STOCK, "1|10|50"}, {IBM, "1|1|李会计"}}},
      {PostOut, 2, false, "不允许审核非本期的票据！！！", nullptr, {{STOCK, "1|10|50"}, {EBM, "2|0|"}}}}},

    {"ReversalWithoutItsBatchFails", {}, {{true, 1, {{11, Rebar, 10, 5}}}, {false, 2, {{21, Rebar, 4, 5}}}},
     {{PostIn, 1},
      {PostOut, 2},
      sql("delete from mrplist"),
      {ReverseOut, 2, false, "找不到明细行对应的价格批次，票据不能记帐或反记帐！！！", nullptr,
       {{STOCK, "1|6|30"}, {EBM, "2|1|李会计"}}},
      {ReverseIn, 1, false, "找不到明细行对应的价格批次，票据不能记帐或反记帐！！！", nullptr,
       {{STOCK, "1|6|30"}, {IBM, "1|1|李会计"}}}}},

    {"LongNamesAreFittedToTheCounterpartColumn", {},
     {{true, 1, {{11, Rebar, 1, 1}}}, {true, 2, {{21, Rebar, 1, 1}}}},
     {sql("update cflist set prtname='甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥金木水火土日月星' where fid=3"),
      sql("update suplist set prtname='东南西北上下左右前后春夏秋冬梅兰竹菊琴棋书画诗酒花茶山川河' where fid=2"),
      {PostIn, 1, true, nullptr, nullptr,
       {{"select dptprj from imexsrglist", "甲乙丙丁戊己庚辛壬癸子丑→东南西北上下左右前后春夏"}}},
      sql("update suplist set prtname='华北钢厂' where fid=2"),
      {PostIn, 2, true, nullptr, nullptr,
       {{"select dptprj from imexsrglist order by fid",
         "甲乙丙丁戊己庚辛壬癸子丑→东南西北上下左右前后春夏\n甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉→华北钢厂"}}}}},
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

class StockScenario : public StockTest, public ::testing::WithParamInterface<Scenario> {};

} // namespace

TEST_P(StockScenario, TablesAfterEachStep)
{
    const Scenario& sc = GetParam();
    systype = sc.type;
    for (const char* s : sc.seed)
        exec(s);
    for (const Bill& b : sc.bills) {
        b.in ? inhead(b.fid) : outhead(b.fid, b.bcylm);
        for (const Line& l : b.lines)
            b.in ? inline_(l.fid, b.fid, l.mid, l.qty, l.price, l.ref) : outline(l.fid, b.fid, l.mid, l.qty, l.price, l.ref);
    }
    int n = 0;
    for (const Step& st : sc.steps) {
        const std::string where = "step " + std::to_string(++n);
        if (st.sql) {
            exec(st.sql);
            continue;
        }
        messages.clear();
        EXPECT_EQ(apply(st.op, st.fid), st.ok) << where << " " << messages.join(u'\n').toStdString();
        if (st.message) {
            EXPECT_EQ(messages.value(messages.size() - 1), QString::fromUtf8(st.message)) << where;
        } else if (st.ok) {
            EXPECT_EQ(messages, QStringList()) << where;
        }
        EXPECT_FALSE(dm->IntransAction()) << where;
        for (const Check& c : st.checks)
            EXPECT_EQ(table(c.sql), QString::fromUtf8(c.expect)) << where << ": " << c.sql;
    }
}

INSTANTIATE_TEST_SUITE_P(Bills, StockScenario, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

// The primitives' own statements where their texts matter, and the ones that no posting uses.
TEST_F(StockTest, PrimitivesOnTheirOwn)
{
    QStringList sqls;
    dm->OnSQL = [&sqls](const QString& s) { sqls << s; };
    // Taking stock out of a material without a stock row changes nothing and succeeds.
    EXPECT_TRUE(dm->exaddstorage(Rebar, 5, 25));
    EXPECT_EQ(table(STOCK), QString());
    // The department step writes its cost value directly followed by the condition.
    exec("insert into cyldptlist (dptid,mid,qty,cost) values (2,4,5,150)");
    EXPECT_TRUE(dm->excycledptlist(2, Formwork, 3, 90));
    EXPECT_TRUE(sqls.contains(QStringLiteral("update cyldptlist set qty= 8,cost=240where dptid=2 and mid=4")));
    EXPECT_EQ(table(CYLDPT), QStringLiteral("2|4|8|240"));
    EXPECT_TRUE(dm->updateplanprice(Timber, 7.5));
    EXPECT_TRUE(sqls.contains(QStringLiteral("update mpplist set pprice=7.5where mid=3")));
    // Statements naming columns the tables do not have fail.
    EXPECT_FALSE(dm->redelimexsrglist(1));
    EXPECT_FALSE(dm->updatepricelist(1, QStringLiteral("X"), TDateTime(45000), 1, 1, 1, QStringLiteral("c"), QString()));
    // Opening-stock primitives, as the import calls them.
    EXPECT_TRUE(dm->addnewstorage(Timber, 4, 80));
    EXPECT_TRUE(dm->readdstorage(Timber, 1, 20));
    EXPECT_TRUE(dm->addnewcycledatabase(Formwork, 10, 300));
    EXPECT_EQ(table(STOCK), QStringLiteral("3|5|100"));
    EXPECT_EQ(table(CYL), QStringLiteral("4|10|300|10|300|0|0"));
    EXPECT_TRUE(dm->addpricelist(0, Timber, QStringLiteral("QC"), TDateTime(45000), 0, 0, 4, 20, 80, 20, 80, 1, 3, 2, QString()));
    EXPECT_TRUE(dm->delpricelistbyiid(0));
    EXPECT_EQ(table(BATCH), QString());
}
