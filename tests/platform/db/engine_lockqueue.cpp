// Writers waiting for a database's write lock take it in the order they came, and a wait is
// bounded by the work ahead of it: it times out only when the queue does not move.
#include "engine_support.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QThread>
#include <atomic>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// How often the calling thread has given up the processor of its own accord so far.
qint64 voluntarySwitches()
{
    QFile f(QStringLiteral("/proc/self/task/%1/status").arg(::gettid()));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("voluntary_ctxt_switches:")) return line.mid(24).trimmed().toLongLong();
    return -1;
}

} // namespace

class EngineLockQueue : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure()) return;
        CreateDatabase(QStringLiteral("acc"), MiniSchema());
        Run(QStringLiteral("CREATE TABLE [dbo].[turns] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[who] [int] NULL ) ON [PRIMARY]"));
    }
    // A client in acc that holds the write lock until released.
    std::unique_ptr<DbEngine> Holder()
    {
        auto h = OpenClient();
        DbResult r;
        h->Execute(QStringLiteral("Use acc"), r);
        h->BeginTransaction();
        h->Execute(QStringLiteral("insert into turns (who) values (0)"), r);
        return h;
    }
    // The number of clients waiting for acc's write lock behind its holder: on the server the
    // lock requests not granted, on the embedded engine the tickets of the queue file not served
    // (less the holder's).
    int Waiting()
    {
        if (!m_prefix.isEmpty())
            return Scalar(QStringLiteral("select count(*) from pg_locks where locktype = 'advisory' and not granted "
                                         "and objid = 7420118 and database = (select oid from pg_database where "
                                         "datname = current_database())"))
                .ToString()
                .toInt();
        const QStringList queues = QDir(DataFolder()).entryList({QStringLiteral("acc*-queue")}, QDir::Files);
        if (queues.size() != 1)
            return -1;
        QFile f(QDir(DataFolder()).filePath(queues.first()));
        qint64 counters[2] = {0, 0};   // the next ticket, the turns ended
        if (!f.open(QIODevice::ReadOnly) || f.read(reinterpret_cast<char*>(counters), sizeof counters) != sizeof counters)
            return -1;
        return int(counters[0] - counters[1]) - 1;
    }
    // Waits until n clients wait for the lock; false when they do not come within a minute.
    bool WaitForWaiting(int n)
    {
        QElapsedTimer t;
        t.start();
        while (Waiting() != n) {
            if (t.elapsed() > 60000)
                return false;
            QThread::msleep(2);
        }
        return true;
    }
};

// Waiters that arrive one after another while the lock is held get it in that order: each comes
// once the one before it is seen waiting.
TEST_F(EngineLockQueue, WaitersTakeTheLockInTheOrderTheyCame)
{
    const int waiters = 6;
    for (int round = 0; round < 2; ++round) {
        Run(QStringLiteral("delete turns"));
        auto holder = Holder();
        // connected beforehand, so that each comes to the lock when its thread starts
        std::vector<std::unique_ptr<DbEngine>> clients;
        for (int i = 1; i <= waiters; ++i) {
            clients.push_back(OpenClient(10));
            DbResult r;
            clients.back()->Execute(QStringLiteral("Use acc"), r);
        }
        std::vector<std::thread> threads;
        std::atomic<int> failures{0};
        for (int i = 1; i <= waiters; ++i) {
            threads.emplace_back([i, &failures, c = clients[size_t(i - 1)].get()] {
                try {
                    DbResult r;
                    c->BeginTransaction();
                    c->Execute(QStringLiteral("insert into turns (who) values (%1)").arg(i), r);
                    QThread::msleep(20);   // some work while holding the lock
                    c->CommitTransaction();
                } catch (...) {
                    ++failures;
                }
            });
            if (!WaitForWaiting(i)) {
                ADD_FAILURE() << "waiter " << i << " did not come to the lock";
                break;
            }
        }
        holder->RollbackTransaction();
        for (std::thread& t : threads) t.join();
        EXPECT_EQ(failures.load(), 0);
        EXPECT_EQ(Rows(QStringLiteral("select who from turns order by fid")),
                  (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                               QStringLiteral("5"), QStringLiteral("6")})) << "round " << round;
    }
}

// Each of five clients holds the lock for 0.8 s: the last waits more than 3 s in all, longer
// than its time-out of 2 s, and still gets its turn because the queue ahead keeps moving. A
// holder that does not move makes the waiter give up after its time-out, with the lock time-out
// error.
TEST_F(EngineLockQueue, AWaitIsBoundedByTheWorkAheadOfIt)
{
    std::vector<std::unique_ptr<DbEngine>> clients;
    for (int i = 1; i <= 5; ++i) {
        clients.push_back(OpenClient(2));
        DbResult r;
        clients.back()->Execute(QStringLiteral("Use acc"), r);
    }
    auto holder = Holder();
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int i = 1; i <= 5; ++i) {
        threads.emplace_back([i, &failures, c = clients[size_t(i - 1)].get()] {
            try {
                DbResult r;
                c->BeginTransaction();
                c->Execute(QStringLiteral("insert into turns (who) values (%1)").arg(i), r);
                QThread::msleep(800);
                c->CommitTransaction();
            } catch (...) {
                ++failures;
            }
        });
    }
    EXPECT_TRUE(WaitForWaiting(5));
    QThread::msleep(800);
    holder->RollbackTransaction();
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(Scalar(QStringLiteral("select count(*) from turns")).ToString(), QStringLiteral("5"));

    holder = Holder();
    auto waiter = OpenClient(1);
    DbResult r;
    waiter->Execute(QStringLiteral("Use acc"), r);
    waiter->BeginTransaction();
    QElapsedTimer t;
    t.start();
    try {
        waiter->Execute(QStringLiteral("insert into turns (who) values (9)"), r);
        ADD_FAILURE() << "the write went through a held lock";
    } catch (const EOleException& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Lock request time out period exceeded"))) << e.what();
    }
    EXPECT_LT(t.elapsed(), 30000);
    EXPECT_GE(t.elapsed(), 900);
    waiter->RollbackTransaction();
    holder->RollbackTransaction();
}

// A waiter on the embedded engine sleeps until the client before it lets go and is woken then:
// through a wait of more than half a second it gives up the processor only a few times, where
// looking at the lock every few milliseconds would give it up a hundred times.
TEST_F(EngineLockQueue, AWaiterSleepsUntilTheLockIsLetGo)
{
    if (pgtest::OnServer()) GTEST_SKIP() << "the server wakes its own waiters";
    auto holder = Holder();
    auto waiter = OpenClient(30);
    DbResult r;
    waiter->Execute(QStringLiteral("Use acc"), r);
    qint64 switches = -1;
    bool ok = false;
    std::thread t([&] {
        try {
            DbResult w;
            const qint64 before = voluntarySwitches();
            waiter->BeginTransaction();
            waiter->Execute(QStringLiteral("insert into turns (who) values (1)"), w);
            switches = voluntarySwitches() - before;
            waiter->CommitTransaction();
            ok = true;
        } catch (...) {
        }
    });
    const bool waiting = WaitForWaiting(1);
    QThread::msleep(600);   // how long the waiter waits; nothing depends on it being exact
    holder->RollbackTransaction();
    t.join();
    ASSERT_TRUE(waiting);
    ASSERT_TRUE(ok);
    EXPECT_GE(switches, 0);
    EXPECT_LT(switches, 15);
    EXPECT_EQ(Scalar(QStringLiteral("select count(*) from turns where who=1")).ToString(), QStringLiteral("1"));
}
