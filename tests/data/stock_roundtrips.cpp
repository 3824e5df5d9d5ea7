// On the server a posting sends its statements together: the writes whose results it does not
// read go with its next read or with the commit, and its reads go out together, so auditing a
// bill takes a handful of round trips however many lines it has.
#include "stock_fixture.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/EngineExchanges.h"

using namespace stocktest;

TEST_F(StockTest, APostingTakesAHandfulOfRoundTripsOnTheServer)
{
    if (!dpxtest::onServer())
        GTEST_SKIP() << "the embedded engine is in the process: it has no round trips";
    // Forty lines on forty materials over every price model and both turnover kinds.
    constexpr int kLines = 40;
    for (int i = 0; i < kLines; ++i)
        exec(QStringLiteral("insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values (%1,%2,'%3','材料%1','','吨','')")
                 .arg(10 + i)
                 .arg(2 + i % 5)
                 .arg(2 + i % 5, 6, 10, QLatin1Char('0')));
    inhead(1);
    outhead(2);
    for (int i = 0; i < kLines; ++i) {
        inline_(100 + i, 1, 10 + i, 10, 4);
        outline(200 + i, 2, 10 + i, 3, 4);
    }
    auto& server = dynamic_cast<DbExchanges&>(dm->ADOCon->Engine());
    // Twice: the first cycle makes the batches and stock rows, the second finds them.
    for (int round = 0; round < 2; ++round)
        for (const auto& [op, fid] : {std::pair{PostIn, 1}, std::pair{PostOut, 2}, std::pair{ReverseOut, 2},
                                      std::pair{ReverseIn, 1}}) {
            qint64 before = 0;
            ASSERT_TRUE(audit(*dm, op, fid, [&] { before = server.Exchanges(); })) << messages.join(u'\n').toStdString();
            if (op == PostIn || op == PostOut)
                EXPECT_LE(server.Exchanges() - before, 15) << "round " << round << " op " << op;
        }
    EXPECT_EQ(table(kLedgerChain), QString());
}
