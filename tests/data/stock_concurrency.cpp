// Two clients, each its own process with its own connection, audit bills on the same materials
// at the same time, and both try to audit one bill. The result is that of the same bills
// audited one after another: the same stock, batches, averages and turnover tables, the same
// ledger moves with every balance following from the row before, and that one bill posted once.
#include "stock_fixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

using namespace stocktest;

namespace {

const char* const kClientVariable = "DPX_STOCK_CLIENT";

// Each client's work: "i" audits a stock-in bill, "o" a stock-out bill; bill 99 is shared.
const char* const kClientWork[] = {
    "i1 i2 i3 i4 i5 o11 o12 o13 o14 o15 i99",
    "i6 i7 i8 i9 i10 o16 o17 o18 o19 o20 i99",
};

// Bills on three materials: batch-priced, moving average at one price, turnover material.
void writebills(StockTest& t)
{
    t.exec("insert into msrglist (mid,qty,cost,preqty,precost) values (2,100,1200,0,0)");
    t.exec("insert into maplist (mid,maprice) values (2,12)");
    int line = 100;
    for (int fid = 1; fid <= 10; ++fid) {
        t.inhead(fid);
        t.inline_(line++, fid, Rebar, fid, 5 + fid * 0.25);
        t.inline_(line++, fid, Cement, 2 * fid, 12);
        t.inline_(line++, fid, Formwork, 3, 30);
    }
    t.inhead(99);
    t.inline_(line++, 99, Rebar, 7, 6);
    for (int fid = 11; fid <= 20; ++fid) {
        t.outhead(fid, fid % 5 == 0, 0, 2 + fid % 2);
        t.outline(line++, fid, Rebar, 2, 5);
        t.outline(line++, fid, Cement, 3, 12);
        t.outline(line++, fid, Formwork, 1, 30);
    }
}

// Runs one client's work on its own data module; the bills it could not audit, in order.
QStringList work(TrmtDM& m, const QString& items)
{
    QStringList refused;
    for (const QString& w : items.split(u' ', Qt::SkipEmptyParts)) {
        const Op op = w.startsWith(u'i') ? PostIn : PostOut;
        if (!audit(m, op, w.mid(1).toInt()))
            refused << w;
    }
    return refused;
}

// What must agree between the concurrent and the serial run. The ledger's moves are compared
// as a set; its balances depend on the order and are checked row by row instead.
const char* const kCompared[] = {
    "select mid,qty,cost from msrglist order by mid",
    "select mid,iid,eid,qty,dprice,rdprice from mrplist order by mid,iid,eid",
    "select mid,maprice from maplist order by mid",
    "select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb order by mid",
    "select dptid,mid,qty,cost from cyldptlist order by dptid,mid",
    "select eid,mid,dptid,qty,cost from cyldetaillist order by eid",
    "select Mid,iid,eid,iqty,idprice,eqty,edprice from imexsrglist order by Mid,iid,eid",
    "select fid,brecorded,assessor from ibmaster order by fid",
    "select fid,brecorded,assessor from ebmaster order by fid",
    // every balance is the one before plus the row's move
    kLedgerChain,
};

class StockConcurrency : public StockTest {
protected:
    QStringList compared()
    {
        QStringList out;
        for (const char* q : kCompared)
            out << table(q);
        return out;
    }
};

} // namespace

// One client's process: started by the test below with the program folder in the environment.
TEST(StockClient, Work)
{
    const QString spec = qEnvironmentVariable(kClientVariable);
    if (spec.isEmpty())
        GTEST_SKIP() << "runs only as a client process of StockConcurrency";
    const QString dir = spec.section(u';', 0, 0);
    const int client = spec.section(u';', 1, 1).toInt();
    SetProgramDirForTesting(dir);
    MessageSink::Set([](MsgKind, const QString&, const QString&) { return true; });
    {
        TrmtDM m;
        ASSERT_TRUE(dbconnected);
        login(m, QStringLiteral("acct"));
        const QStringList refused = work(m, QString::fromUtf8(kClientWork[client]));
        // Only the shared bill may be refused, and then because the other client posted it.
        for (const QString& w : refused)
            EXPECT_EQ(w, QStringLiteral("i99"));
        std::printf("refused:%s\n", qPrintable(refused.join(u',')));
    }
    MessageSink::Set({});
    SetProgramDirForTesting(QString());
}

TEST_F(StockConcurrency, TwoClientsAtOnceEqualOneAfterAnother)
{
    writebills(*this);
    // The serial run, on a copy of the account set restored under another name.
    ASSERT_EQ(run(QStringLiteral("BACKUP DATABASE acct TO DISK ='%1' with init").arg(path(QStringLiteral("acct.bak")))),
              QString());
    ASSERT_EQ(run(restoreStatement(QStringLiteral("serial"), path(QStringLiteral("acct.bak")))), QString());
    login(*dm, QStringLiteral("serial"));
    EXPECT_EQ(work(*dm, QString::fromUtf8(kClientWork[0])), QStringList());
    EXPECT_EQ(work(*dm, QString::fromUtf8(kClientWork[1])), QStringList{QStringLiteral("i99")});
    exec("Use serial");
    const QStringList serial = compared();
    exec("Use acct");
    dm.reset();

    // The concurrent run: two processes on account set acct.
    QProcess clients[2];
    for (int c = 0; c < 2; ++c) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kClientVariable), programDir() + u';' + QString::number(c));
        clients[c].setProcessEnvironment(env);
        clients[c].setProcessChannelMode(QProcess::MergedChannels);
        clients[c].start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=StockClient.Work")});
    }
    QString refused;
    for (QProcess& p : clients) {
        ASSERT_TRUE(p.waitForFinished(120000));
        const QString out = QString::fromUtf8(p.readAll());
        EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
        const int at = out.indexOf(QStringLiteral("refused:"));
        ASSERT_GE(at, 0) << out.toStdString();
        refused += out.mid(at + 8).section(u'\n', 0, 0);
    }
    // The shared bill was posted by exactly one of them.
    EXPECT_EQ(refused, QStringLiteral("i99"));
    EXPECT_EQ(compared(), serial);
}
