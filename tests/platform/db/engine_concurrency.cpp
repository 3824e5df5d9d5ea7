// Two clients in two processes hand out keys through the counter statements inside
// transactions: the write lock taken at the start of each transaction keeps them apart.
#include "engine_support.h"
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSet>

namespace {

const char* const kWorkerEnv = "DPX_KEY_WORKER";   // "data folder or server address|count|output file"

} // namespace

// Runs only as the child process of the test below.
TEST(EngineKeyWorker, Run)
{
    const QString spec = qEnvironmentVariable(kWorkerEnv);
    if (spec.isEmpty()) GTEST_SKIP() << "runs as a child of EngineConcurrency.TwoProcessesGetDistinctKeys";
    const QStringList parts = spec.split(u'|');
    ASSERT_EQ(parts.size(), 3);
    auto engine = parts[0].startsWith(QLatin1String("postgres://")) ? OpenDbEngine(parts[0], 60)
                                                                     : OpenDbEngine(QStringLiteral(".\\sqlexpress"), 60, parts[0]);
    DbResult r;
    engine->Execute(QStringLiteral("Use acc"), r);
    QStringList keys;
    const int count = parts[1].toInt();
    for (int i = 0; i < count; ++i) {
        engine->BeginTransaction();
        engine->Execute(QStringLiteral("select id from IDlist  with(Xlock) where IDname='iid'"), r);
        const qint64 n = r.rows.at(0).at(0).AsIntRaw() + 1;
        engine->Execute(QStringLiteral("update idlist set id=%1 where idname='iid'").arg(n), r);
        engine->CommitTransaction();
        keys << QString::number(n);
    }
    QFile f(parts[2]);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(keys.join(u'\n').toUtf8());
}

class EngineConcurrency : public EngineTest {};

TEST_F(EngineConcurrency, TwoProcessesGetDistinctKeys)
{
    CreateDatabase(QStringLiteral("acc"), MiniSchema());
    Run(QStringLiteral("Use Master"));
    const int count = 1000;
    QList<QProcess*> procs;
    QStringList outputs;
    for (int p = 0; p < 2; ++p) {
        auto* proc = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString out = Folder() + QStringLiteral("/keys%1.txt").arg(p);
        outputs << out;
        env.insert(QLatin1String(kWorkerEnv), QStringLiteral("%1|%2|%3").arg(m_prefix.isEmpty() ? DataFolder() : ClientSource()).arg(count).arg(out));
        proc->setProcessEnvironment(env);
        proc->setProcessChannelMode(QProcess::ForwardedChannels);
        proc->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=EngineKeyWorker.Run")});
        procs << proc;
    }
    for (QProcess* proc : procs) {
        EXPECT_TRUE(proc->waitForFinished(300000));
        EXPECT_EQ(proc->exitCode(), 0);
        delete proc;
    }
    QSet<QString> keys;
    int total = 0;
    for (const QString& out : outputs) {
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << out.toStdString();
        const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size(), count);
        total += lines.size();
        for (const QString& k : lines) keys.insert(k);
    }
    EXPECT_EQ(total, 2 * count);
    EXPECT_EQ(keys.size(), 2 * count);
    Run(QStringLiteral("Use acc"));
    EXPECT_EQ(Scalar(QStringLiteral("select id from IDlist where IDname='IID'")).AsIntRaw(), 2 * count);
}

// A transaction holds the database's write lock from its first statement, a plain read
// included, so that what it reads to write back cannot change under it: another client's
// transaction waits for it and gives up after its lock time-out.
TEST_F(EngineConcurrency, TransactionHoldsTheWriteLockFromItsFirstRead)
{
    CreateDatabase(QStringLiteral("acc"), MiniSchema());
    engine->BeginTransaction();
    Run(QStringLiteral("select top 1 fid from ibmaster order by fid"));
    auto other = OpenClient(1);
    DbResult r;
    other->Execute(QStringLiteral("Use acc"), r);
    const auto readInTransaction = [&] {
        other->BeginTransaction();
        other->Execute(QStringLiteral("select top 1 fid from ibmaster order by fid"), r);
    };
    EXPECT_THROW(readInTransaction(), EOleException);
    if (other->InTransaction()) other->RollbackTransaction();
    engine->CommitTransaction();
    EXPECT_NO_THROW(readInTransaction());
    other->CommitTransaction();
}
