// Test entry point shared by every test executable.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

// Each test gets a temporary folder of its own inside the run's, named as the temporary folder
// while it runs and removed with whatever is in it when it ends: the workbooks a test exports,
// the work folders of the programs it starts, anything the code under test puts there.
class TestTemporaryFolders : public ::testing::EmptyTestEventListener {
public:
    explicit TestTemporaryFolders(const QString& run) : m_run(run) {}
    void OnTestStart(const ::testing::TestInfo&) override
    {
        m_test = std::make_unique<QTemporaryDir>(m_run + QStringLiteral("/test-XXXXXX"));
        if (m_test->isValid())
            qputenv("TMPDIR", QFile::encodeName(m_test->path()));
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        qputenv("TMPDIR", QFile::encodeName(m_run));
        m_test.reset();
    }

private:
    QString m_run;
    std::unique_ptr<QTemporaryDir> m_test;
};

} // namespace

int main(int argc, char** argv)
{
    // The run's own temporary folder, removed with everything in it when the run ends, so that no
    // run leaves anything behind in the system's temporary folder; what lives as long as the run
    // (the templates made once on the test server) stays in it, and each test works in a folder
    // of its own inside it (DPX_TEST_RUN_TMP names the run's folder).
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/dpxtest-XXXXXX"));
    if (!scratch.isValid()) {
        std::fprintf(stderr, "cannot create the run's temporary folder in %s\n", qPrintable(QDir::tempPath()));
        return 1;
    }
    qputenv("TMPDIR", QFile::encodeName(scratch.path()));
    qputenv("DPX_TEST_RUN_TMP", QFile::encodeName(scratch.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The application's default font is the CJK font at a fixed logical dpi,
    // so that text metrics are the same on every machine.
    QFont f(QStringLiteral("WenQuanYi Micro Hei"), 9);
    QApplication::setFont(f);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestTemporaryFolders(scratch.path()));
    return RUN_ALL_TESTS();
}
