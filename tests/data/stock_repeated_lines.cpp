// Bills whose lines come back to rows an earlier line of the same bill has just changed: the
// same material twice (stock, moving average, turnover totals, the department's turnover row)
// and the same chosen batch twice. Every line must build on what the lines before it wrote.
#include "stock_fixture.h"

using namespace stocktest;

namespace {

const char* const kStock = "select mid,qty,cost from msrglist order by mid";
const char* const kCycle = "select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb order by mid";
const char* const kDepartment = "select dptid,mid,qty,cost from cyldptlist order by mid";
const char* const kBatches = "select fid,iid,eid,qty,dprice from mrplist order by fid";
const char* const kAverage = "select mid,maprice from maplist order by mid";

} // namespace

TEST_F(StockTest, LinesBuildOnTheLinesBeforeThem)
{
    inhead(1);
    inline_(11, 1, Formwork, 10, 30);
    inline_(12, 1, Scaffold, 10, 2);
    inline_(13, 1, Rebar, 10, 5);
    inline_(14, 1, Formwork, 5, 30);
    ASSERT_TRUE(apply(PostIn, 1));
    EXPECT_EQ(table(kStock), QStringLiteral("1|10|50\n4|15|450\n5|10|20"));
    EXPECT_EQ(table(kCycle), QStringLiteral("4|15|450|15|450|0|0\n5|10|20|10|20|0|0"));
    const QString received = table(kBatches);
    EXPECT_EQ(received, QStringLiteral("1|11|0|10|300\n2|12|0|10|20\n3|13|0|10|50\n4|14|0|5|150"));

    outhead(2);
    outline(21, 2, Formwork, 3, 30, 1);
    outline(22, 2, Formwork, 2, 30, 1);
    outline(23, 2, Scaffold, 4, 2);
    outline(24, 2, Scaffold, 1, 3);
    outline(25, 2, Rebar, 2, 5);
    outline(26, 2, Rebar, 1, 5);
    ASSERT_TRUE(apply(PostOut, 2)) << messages.join(u'\n').toStdString();
    EXPECT_EQ(table(kStock), QStringLiteral("1|7|35\n4|10|300\n5|5|9"));
    EXPECT_EQ(table(kCycle), QStringLiteral("4|15|450|10|300|5|150\n5|10|20|5|9|5|11"));
    EXPECT_EQ(table(kDepartment), QStringLiteral("2|4|5|150\n2|5|5|11"));
    EXPECT_EQ(table(kBatches), received.section(u'\n', 0, 0).replace(QStringLiteral("|10|300"), QStringLiteral("|5|150"))
                                   + u'\n' + received.section(u'\n', 1) + QStringLiteral("\n5|0|25|-2|-10\n6|0|26|-1|-5"));
    // (20 - 8) / (10 - 4) = 2, then (12 - 3) / (6 - 1) = 1.8.
    EXPECT_EQ(table(kAverage), QStringLiteral("5|1.8"));
    EXPECT_EQ(table(kLedgerChain), QString());

    ASSERT_TRUE(apply(ReverseOut, 2));
    EXPECT_EQ(table(kStock), QStringLiteral("1|10|50\n4|15|450\n5|10|20"));
    EXPECT_EQ(table(kCycle), QStringLiteral("4|15|450|15|450|0|0\n5|10|20|10|20|0|0"));
    EXPECT_EQ(table(kDepartment), QStringLiteral("2|4|0|0\n2|5|0|0"));
    EXPECT_EQ(table(kBatches), received + QStringLiteral("\n5|0|25|0|0\n6|0|26|0|0"));
    EXPECT_EQ(table(kLedgerChain), QString());
}
