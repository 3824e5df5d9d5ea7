// The fixtures of the server runs without a test server: the tests fail at once, saying why,
// instead of crashing on an engine that never opened, hanging, or passing. Each case runs
// tests of this executable in a child process with the server's environment.
#include "server_support.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

TEST(ServerFixture, WithoutAServerTheTestsFailSayingWhy)
{
    if (dpxtest::onServer())
        GTEST_SKIP() << "the cases set the server's environment themselves";
    const struct {
        const char* name;
        QString address;
        QString says;
    } cases[] = {
        {"no address", QString(), QStringLiteral("DPX_PG_ADDRESS is not set: the test server did not start")},
        {"nothing listens there", QStringLiteral("postgres://dpx@127.0.0.1:1"),
         QStringLiteral("the test server at postgres://dpx@127.0.0.1:1 does not answer")},
    };
    // One test of each fixture the server runs use: the data module's and the account set's.
    const QStringList tests{QStringLiteral("DMTest.ComponentFactory"),
                            QStringLiteral("StockRollback.FailureAtEveryStepLeavesEveryTable")};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DPX_TEST_ENGINE"), QStringLiteral("postgres"));
        env.insert(QStringLiteral("DPX_PG_ADDRESS"), c.address);
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + tests.join(u':')});
        ASSERT_TRUE(child.waitForFinished(300000)) << "the tests did not end";
        const QString out = QString::fromLocal8Bit(child.readAll());
        EXPECT_LT(timer.elapsed(), 150000);
        // Failed, not crashed: the test program ran to its end and reports each test failed.
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 1) << out.toStdString();
        for (const QString& t : tests)
            EXPECT_TRUE(out.contains(QStringLiteral("[  FAILED  ] ") + t)) << t.toStdString() << "\n" << out.toStdString();
        EXPECT_EQ(out.count(c.says), tests.size()) << out.toStdString();
        EXPECT_FALSE(out.contains(QStringLiteral("AddressSanitizer"))) << out.toStdString();
    }
}
