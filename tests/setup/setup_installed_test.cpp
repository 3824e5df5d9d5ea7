// What the setup installed works without the build tree: the program starts from its folder,
// and the installed tool opens the template account set and lists the sample's bills.
#include "setup_fixture.h"

#include "testmain/testsupport.h"

#include <QProcess>

using namespace setuptest;

namespace {

QProcessEnvironment programEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    return env;
}

QString restore(const QString& db, const QString& backup, const QString& dir)
{
    return QStringLiteral("Use Master  RESTORE DATABASE %1 FROM DISK ='%2' with file=1,replace,MOVE 'materialdb_data' TO "
                          "'%3/Database/%1_data.mdf',MOVE 'materialdB_Log' TO '%3/Database/%1_log.ldf'")
        .arg(db, backup, dir);
}

} // namespace

TEST_F(SetupTest, InstalledProgramStartsAndOpensTheAccountSets)
{
    const QString dir = home.root() + QStringLiteral("/安装 测试/Depotrix");
    install(dir, {mrYes});
    ASSERT_EQ(form->Label4->text(), QStringLiteral("安装完成"));

    QProcess program;
    program.setProcessEnvironment(programEnvironment());
    program.setWorkingDirectory(dir);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(dir + QStringLiteral("/depotrix"), {});
    ASSERT_TRUE(program.waitForStarted(120000));
    // A window program: still running after it started up.
    EXPECT_FALSE(program.waitForFinished(4000)) << program.readAll().toStdString();
    program.kill();
    program.waitForFinished(300000);

    QProcess sql;
    sql.setProcessEnvironment(programEnvironment());
    sql.setWorkingDirectory(dir);
    sql.setProcessChannelMode(QProcess::SeparateChannels);
    sql.start(dir + QStringLiteral("/dpxsql"), {dir});
    ASSERT_TRUE(sql.waitForStarted(120000));
    const QStringList statements{
        restore(QStringLiteral("acct"), dir + QStringLiteral("/dpxdata/materialdb"), dir),
        QStringLiteral("Use acct"),
        QStringLiteral("select count(*) as n from TableField"),
        QStringLiteral("select count(*) as n from ibmaster"),
        restore(QStringLiteral("smp"), dir + QStringLiteral("/backdata/materialdbsample"), dir),
        QStringLiteral("Use smp"),
        QStringLiteral("select pid,count(*) as n from ibmaster group by pid order by pid"),
    };
    sql.write((statements.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    sql.closeWriteChannel();
    ASSERT_TRUE(sql.waitForFinished(300000));
    const QString err = QString::fromUtf8(sql.readAllStandardError());
    ASSERT_EQ(sql.exitCode(), 0) << err.toStdString();
    const QStringList lines = QString::fromUtf8(sql.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The template: its column metadata and no bills; the sample: bills in its two periods.
    ASSERT_EQ(lines.size(), 7) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_GT(lines[1].toInt(), 0);
    EXPECT_EQ(lines[3], QStringLiteral("0"));
    EXPECT_EQ(lines[4], QStringLiteral("pid\tn"));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("0\t")) && lines[5].mid(2).toInt() > 0) << lines[5].toStdString();
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("1\t")) && lines[6].mid(2).toInt() > 0) << lines[6].toStdString();
}

// Pictures of both pages, and of the second once the install has ended.
TEST_F(SetupTest, PagesScreenshots)
{
    const auto shoot = [this](const char* name) {
        QTest::qWait(50);
        QCoreApplication::processEvents();
        const QImage shot = form->grab().toImage();
        EXPECT_EQ(shot.size(), QSize(476, 331));
        EXPECT_TRUE(shot.save(dpxtest::artifactsDir() + QStringLiteral("/") + QLatin1String(name)));
    };
    shoot("setup_page1_agreement.png");
    accept();
    shoot("setup_page2_folder.png");
    install(home.home() + QStringLiteral("/Depotrix"), {mrYes});
    ASSERT_EQ(form->Label4->text(), QStringLiteral("安装完成"));
    shoot("setup_page2_done.png");
}
