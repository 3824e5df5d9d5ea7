// Four clients, each its own process with its own connection, save and audit stock-out bills
// that all draw on one price batch, bill after bill. The batch holds less than they draw
// together: whatever the order, the audits that fit go through and the others are refused with
// the batch's message; the batch never goes below zero, and what each client was told is what
// the account set holds.
#include "stock_fixture.h"


using namespace stocktest;

namespace {

const char* const kClientVariable = "DPX_BATCH_CLIENT";
constexpr int kClients = 4;
constexpr int kBillsEach = 8;
constexpr int kBatchQty = 20;   // less than the clients' 32 bills of one each
constexpr int kOpening = 900;

// Client c's n-th bill and its line.
int billof(int c, int n) { return 1000 + 100 * c + n; }

// What a client reports: the bills it was told were audited, those it was told were refused,
// and the refusals told without the batch's message (none expected).
struct Outcome {
    QStringList posted, refused, untold;
    QString text() const
    {
        return QStringLiteral("posted:%1;refused:%2;untold:%3")
            .arg(posted.join(u','), refused.join(u','), untold.join(u','));
    }
    void add(const QString& text)
    {
        for (const QString& part : text.split(u';')) {
            const QStringList values = part.section(u':', 1).split(u',', Qt::SkipEmptyParts);
            (part.startsWith(QLatin1String("posted")) ? posted : part.startsWith(QLatin1String("refused")) ? refused : untold)
                << values;
        }
    }
};

} // namespace

// One client's process: started by the test below with its number and the batch.
TEST(BatchClient, Work)
{
    runclient(kClientVariable, [](TrmtDM& m, const QStringList& spec, QStringList& told) {
        const int client = spec.value(1).toInt();
        const int batch = spec.value(2).toInt();
        Outcome out;
        for (int n = 1; n <= kBillsEach; ++n) {
            const int fid = billof(client, n);
            // Saved as the bill form saves it: head and line in one transaction.
            m.BeginTrans();
            const bool saved =
                m.execsql(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,rcid,lister,assessor,"
                                         "brecorded,breverse,bcylm,breb) values (%1,0,'2024-03-06',2,2,'CK%1',0,'王五','',"
                                         "0,0,0,0)")
                              .arg(fid))
                && m.execsql(QStringLiteral("insert into ebdetail (fid,eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,"
                                            "remark,cid,cfid,supid) values (%1,%2,%3,0,%4,1,5,5,5,5,'',1,3,2)")
                                 .arg(fid * 10 + 1)
                                 .arg(fid)
                                 .arg(batch)
                                 .arg(int(Rebar)));
            if (saved)
                m.CommitTrans();
            else
                m.RollbackTrans();
            EXPECT_TRUE(saved) << fid;
            told.clear();
            if (audit(m, PostOut, fid)) {
                out.posted << QString::number(fid);
                continue;
            }
            out.refused << QString::number(fid);
            if (!told.join(u'\n').contains(QStringLiteral("不足本单出库量")))
                out.untold << QString::number(fid);
        }
        return out.text();
    });
}

TEST_F(StockTest, FourClientsDrawingOneBatchNeverOverdrawIt)
{
    inhead(kOpening);
    inline_(kOpening * 10 + 1, kOpening, Rebar, kBatchQty, 5);
    ASSERT_TRUE(apply(PostIn, kOpening));
    const int batch = table(QStringLiteral("select fid from mrplist where iid=%1").arg(kOpening * 10 + 1)).toInt();
    ASSERT_GT(batch, 0);
    dm.reset();

    QStringList specs;
    for (int c = 0; c < kClients; ++c)
        specs << programDir() + u';' + QString::number(c) + u';' + QString::number(batch);
    Outcome all;
    for (const QString& outcome : runclients(kClientVariable, "BatchClient.Work", specs))
        all.add(outcome);
    ASSERT_FALSE(HasFailure());

    // Every bill was either audited or refused with the batch's message, and as many went
    // through as the batch held, whatever the order.
    EXPECT_EQ(all.untold, QStringList());
    EXPECT_EQ(all.posted.size() + all.refused.size(), kClients * kBillsEach);
    EXPECT_EQ(all.posted.size(), kBatchQty);
    // What the clients were told is what the account set holds.
    all.posted.sort();
    QStringList recorded =
        table(QStringLiteral("select fid from ebmaster where brecorded=1 order by fid")).split(u'\n', Qt::SkipEmptyParts);
    recorded.sort();
    EXPECT_EQ(recorded, all.posted);
    EXPECT_EQ(table(QStringLiteral("select qty from mrplist where fid=%1").arg(batch)), QStringLiteral("0"));
    EXPECT_EQ(table("select count(*) from mrplist where qty<0"), QStringLiteral("0"));
    EXPECT_EQ(table("select qty from msrglist where mid=1"), QStringLiteral("0"));
    EXPECT_EQ(table(kLedgerChain), QString());
}

// The posting looks at the batch as it stands inside its own transaction: lines of one bill
// drawing one batch count together, and un-auditing a return takes back from the batch what the
// return put in.
TEST_F(StockTest, AnAuditOrReversalThatWouldOverdrawABatchIsRefusedWhole)
{
    inhead(kOpening);
    inline_(kOpening * 10 + 1, kOpening, Rebar, 10, 5);
    ASSERT_TRUE(apply(PostIn, kOpening));
    const int batch = table(QStringLiteral("select fid from mrplist where iid=%1").arg(kOpening * 10 + 1)).toInt();
    // Two lines of 6 on a batch of 10.
    outhead(1);
    outline(11, 1, Rebar, 6, 5, batch);
    outline(12, 1, Rebar, 6, 5, batch);
    // A return of 3 into the batch, and a bill that then draws all 13.
    outhead(2);
    outline(21, 2, Rebar, -3, 5, batch);
    outhead(3);
    outline(31, 3, Rebar, 13, 5, batch);

    const QStringList before = state();
    messages.clear();
    EXPECT_FALSE(apply(PostOut, 1));
    EXPECT_EQ(messages, QStringList{QStringLiteral("材料“螺纹钢”价格批次“RK900”的库存量(10)不足本单出库量(12)，票据不能记帐！")});
    EXPECT_EQ(state(), before);

    ASSERT_TRUE(apply(PostOut, 2));
    ASSERT_TRUE(apply(PostOut, 3));
    EXPECT_EQ(table(QStringLiteral("select qty from mrplist where fid=%1").arg(batch)), QStringLiteral("0"));
    const QStringList drawn = state();
    messages.clear();
    EXPECT_FALSE(apply(ReverseOut, 2));
    EXPECT_EQ(messages, QStringList{QStringLiteral("材料“螺纹钢”价格批次“RK900”的库存量(0)不足本单出库量(3)，票据不能反记帐！")});
    EXPECT_EQ(state(), drawn);
}
