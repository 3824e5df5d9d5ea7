// The install road: the program folder asked for, made or refused, the payload written, the
// menu entry and the desktop shortcut made, each step shown, and the failures reported.
#include "setup_fixture.h"

#include "setup/SetupFileWriter.h"
#include "platform/shell/desktop_tools.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>

using namespace setuptest;

namespace {

const QString FailText = QStringLiteral("提示...|系统安装失败！    ");
const QString NoPermission = FailText + QStringLiteral("\n没有写入权限。");
const QString FileInPlace = FailText + QStringLiteral("\n应为目录的位置上已有一个同名文件。");
const QString DiskFull = FailText + QStringLiteral("\n磁盘空间不足。");

} // namespace

TEST_F(SetupTest, FolderCases)
{
    enum Prepare { Existing, Missing, Nothing };
    const struct {
        const char* name;
        Prepare prepare;
        const char* folder;           // under the home folder; nullptr for an empty text
        QList<TModalResult> answers;
        bool installed;
        QStringList dialogs;          // before the shortcut's path
    } cases[] = {
        {"existing folder", Existing, "Depotrix", {}, true, {}},
        {"missing folder, yes", Missing, "软件/材料 管理/Depotrix", {mrYes}, true,
         {QStringLiteral("确认|目录不存在，是否要创建!!!")}},
        {"missing folder, no", Missing, "软件/Depotrix", {mrNo}, false,
         {QStringLiteral("确认|目录不存在，是否要创建!!!"), FailText + QStringLiteral("\n安装目录不存在。")}},
        {"empty path", Nothing, nullptr, {mrYes}, false,
         {QStringLiteral("确认|目录不存在，是否要创建!!!"), QStringLiteral("警告|目录创建失败！    ")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const QString dir = c.folder ? home.home() + QLatin1Char('/') + QString::fromUtf8(c.folder) : QString();
        if (c.prepare == Existing) {
            ASSERT_TRUE(QDir().mkpath(dir));
        }
        install(dir, c.answers);

        EXPECT_TRUE(form->isVisible());
        QStringList dialogs = c.dialogs;
        if (c.installed) dialogs << QStringLiteral("Depotrix|") + desktopLink();
        EXPECT_EQ(shown(), dialogs);
        EXPECT_EQ(DialogScript::PendingAnswers(), 0);
        if (c.installed) {
            EXPECT_EQ(steps, fullRoad(c.prepare == Missing));
            EXPECT_EQ(form->Button3->Caption(), QStringLiteral("完成"));
            EXPECT_FALSE(form->Button4->isEnabled());
            for (const char* sub : {"dpxdata", "log", "Database", "backdata", "dpxprt"})
                EXPECT_TRUE(QFileInfo(dir + QLatin1Char('/') + QLatin1String(sub)).isDir()) << sub;
            EXPECT_TRUE(QFileInfo(dir + QStringLiteral("/depotrix")).isExecutable());
            EXPECT_TRUE(QFileInfo::exists(menuItem()));
            EXPECT_TRUE(QFileInfo::exists(desktopLink()));
            // From now on the start button closes the setup.
            QTest::mouseClick(form->Button3, Qt::LeftButton);
            EXPECT_FALSE(form->isVisible());
        } else {
            // Stopped before anything was written; the user may try again.
            EXPECT_EQ(steps, QList<Step>());
            EXPECT_EQ(form->Label4->text(), QStringLiteral("准备安装..."));
            EXPECT_EQ(form->Pbar->value(), 0);
            EXPECT_EQ(form->Button3->Caption(), QStringLiteral("开始安装"));
            EXPECT_TRUE(form->Button3->isEnabled());
            EXPECT_TRUE(form->Button4->isEnabled());
            EXPECT_FALSE(c.folder && QFileInfo::exists(dir));
            EXPECT_FALSE(QFileInfo::exists(menuItem()));
            EXPECT_FALSE(QFileInfo::exists(desktopLink()));
        }
        QDir(home.home()).removeRecursively();
        QDir(home.dataHome()).removeRecursively();
        QDir(home.configHome()).removeRecursively();
    }
}

TEST_F(SetupTest, InstalledTreeAndPayload)
{
    const QString dir = home.home() + QStringLiteral("/软件 \"材料\" 管理/Depotrix");
    install(dir, {mrYes});
    ASSERT_EQ(form->Label4->text(), QStringLiteral("安装完成")) << shown().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(steps, fullRoad(true));

    QStringList tree;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) tree << QDir(dir).relativeFilePath(it.next());
    tree.sort();
    QStringList expected{QStringLiteral("Database"), QStringLiteral("backdata"), QStringLiteral("dpxdata"),
                         QStringLiteral("dpxprt"), QStringLiteral("log")};
    for (const PayloadFile& f : payloadFiles()) expected << f.path;
    expected.sort();
    EXPECT_EQ(tree, expected);

    for (const PayloadFile& f : payloadFiles()) {
        SCOPED_TRACE(f.path.toStdString());
        const QString installed = dir + QLatin1Char('/') + f.path;
        const QByteArray embedded = sha256(TSetupPayload::ResourcePath(f.resource));
        ASSERT_FALSE(embedded.isEmpty());
        EXPECT_EQ(sha256(installed), embedded);
        if (!f.buildFile.isEmpty()) {
            EXPECT_EQ(sha256(f.buildFile), embedded) << "the setup carries an older build";
        }
        EXPECT_EQ(QFileInfo(installed).isExecutable(), f.executable);
    }
    EXPECT_EQ(readText(dir + QStringLiteral("/log/adolinksetting.ini")),
              QStringLiteral("[Login]\nServer Name=\\sqlexpress\nConnectTimeOut=5\nKeepConnection=True\n"
                             "Security Info=False\nLoginPrompt=False\n"));
    EXPECT_EQ(TSetupPayload::Contains(QStringLiteral("exbilla")), bool(DPX_SETUP_TEMPLATES));
    for (const TPrintTemplateFile& t : PrintTemplateFiles) {
        if (!DPX_SETUP_TEMPLATES) break;
        const QString name = QString::fromUtf16(t.FileName);
        EXPECT_EQ(sha256(dir + QStringLiteral("/dpxdata/") + name), sha256(dir + QStringLiteral("/dpxprt/") + name));
    }
    EXPECT_EQ(form->Label4->text(), QStringLiteral("安装完成"));
    EXPECT_EQ(form->Pbar->value(), 100);
    EXPECT_EQ(form->Button3->Caption(), QStringLiteral("完成"));
    EXPECT_FALSE(form->Button4->isEnabled());

    // Both entries pass the desktop's validator, and the desktop's launcher starts what stands
    // in the program folder (here a stand-in that tells where it ran) in that folder.
    EXPECT_TRUE(QFileInfo(desktopLink()).isExecutable());
    ASSERT_TRUE(QFile::remove(dir + QStringLiteral("/depotrix")));
    ASSERT_TRUE(dpxtest::writeStubProgram(dir + QStringLiteral("/depotrix")));
    for (const QString& entry : {menuItem(), desktopLink()}) {
        EXPECT_EQ(dpxtest::validateDesktopFile(entry), QString()) << readText(entry).toStdString();
        EXPECT_EQ(dpxtest::launchDesktopFile(entry, home.root() + QStringLiteral("/started.txt")),
                  dir + QLatin1Char('\n') + dir + QStringLiteral("/depotrix"))
            << readText(entry).toStdString();
    }
}

TEST_F(SetupTest, ReadOnlyTargetFailsThenSecondTrySucceeds)
{
    const QString dir = home.home() + QStringLiteral("/只读");
    ASSERT_TRUE(QDir().mkpath(dir));
    ASSERT_TRUE(QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                               | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther));
    {
        PermissionsEnforced enforced;
        install(dir);
    }
    EXPECT_EQ(shown(), QStringList{NoPermission});
    EXPECT_EQ(steps, fullRoad(false).mid(0, 1));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Button3->Caption(), QStringLiteral("开始安装"));
    EXPECT_TRUE(form->Button3->isEnabled());
    EXPECT_TRUE(form->Button4->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/depotrix")));

    ASSERT_TRUE(QFile::setPermissions(dir, QFileInfo(dir).permissions() | QFileDevice::WriteOwner));
    install(dir);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("Depotrix|") + desktopLink()});
    EXPECT_EQ(steps, fullRoad(false));
    EXPECT_EQ(sha256(dir + QStringLiteral("/depotrix")), sha256(TSetupPayload::ResourcePath(QStringLiteral("Depotrix"))));
}

// A menu entry or a shortcut that cannot be made is a failed install, not "安装完成".
TEST_F(SetupTest, FailedMenuEntryOrShortcutIsReported)
{
    const struct {
        const char* name;
        QString blocked;     // made a file, so that the entry's folder cannot be
        Step failedAt;
    } cases[] = {
        {"menu entry", home.dataHome() + QStringLiteral("/applications"), {60, QStringLiteral("添加主程序组项")}},
        {"shortcut", home.desktop(), {70, QStringLiteral("添加桌面快捷项")}},
    };
    const QString dir = home.home() + QStringLiteral("/Depotrix");
    ASSERT_TRUE(QDir().mkpath(dir));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_TRUE(QDir(c.blocked).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(c.blocked).absolutePath()));
        ASSERT_TRUE(writeText(c.blocked, "not a folder"));
        install(dir);
        // The menu and the desktop are the desktop's folders: the reason is the error's own text.
        EXPECT_TRUE(shown().value(shown().size() - 1).startsWith(FailText + QLatin1Char('\n')))
            << shown().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(steps.value(steps.size() - 1), c.failedAt);
        EXPECT_EQ(form->Button3->Caption(), QStringLiteral("开始安装"));
        EXPECT_TRUE(form->Button4->isEnabled());

        ASSERT_TRUE(QFile::remove(c.blocked));
        install(dir);
        EXPECT_EQ(steps, fullRoad(false));
        EXPECT_EQ(form->Label4->text(), QStringLiteral("安装完成"));
    }
}

// A file where the program folder (or a folder on its way) should be is never offered for
// making; a file where one of its folders should be fails the first write into it. Either way
// the message says why, and the file is left as it was.
TEST_F(SetupTest, FileWhereTheFolderShouldBe)
{
    const struct {
        const char* name;
        const char* file;      // under the home folder
        const char* folder;    // the folder typed
        QStringList steps;     // the labels of the steps shown
    } cases[] = {
        {"program folder", "Depotrix", "Depotrix", {}},
        {"a folder on its way", "软件", "软件/材料/Depotrix", {}},
        {"one of its folders", "Depotrix/log", "Depotrix", {QStringLiteral("安装Depotrix.exe")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        const QString file = home.home() + QLatin1Char('/') + QString::fromUtf8(c.file);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        ASSERT_TRUE(writeText(file, "a file"));
        install(home.home() + QLatin1Char('/') + QString::fromUtf8(c.folder), {mrYes});
        EXPECT_EQ(shown(), QStringList{FileInPlace});
        EXPECT_EQ(DialogScript::PendingAnswers(), 1) << "no question about making the folder";
        DialogScript::Start();
        QStringList labels;
        for (const Step& s : steps) labels << s.second;
        EXPECT_EQ(labels, c.steps);
        EXPECT_EQ(readText(file), QStringLiteral("a file"));
        EXPECT_EQ(form->Button3->Caption(), QStringLiteral("开始安装"));
        EXPECT_TRUE(form->Button3->isEnabled());
        QDir(home.home()).removeRecursively();
    }
}

// A disk that takes no more (here: files limited to a few bytes) fails the install and says so.
TEST_F(SetupTest, FullDiskIsReported)
{
    const QString dir = home.home() + QStringLiteral("/Depotrix");
    ASSERT_TRUE(QDir().mkpath(dir));
    {
        struct rlimit old {};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        const sighandler_t oldHandler = signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 16;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        install(dir);
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, oldHandler);
    }
    EXPECT_EQ(shown(), QStringList{DiskFull});
    EXPECT_EQ(steps, fullRoad(false).mid(0, 1));
    // Nothing half-written is left behind.
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/depotrix")));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(SetupReasons, ErrorNumbersInTheUsersWords)
{
    const struct {
        int code;
        const char* reason;
    } cases[] = {{EACCES, "没有写入权限。"},   {EPERM, "没有写入权限。"},  {EROFS, "没有写入权限。"},
                 {ENOTDIR, "应为目录的位置上已有一个同名文件。"},      {ENOSPC, "磁盘空间不足。"},
                 {EDQUOT, "磁盘空间不足。"},   {EFBIG, "磁盘空间不足。"}};
    for (const auto& c : cases)
        EXPECT_EQ(TCSetup::FailureReason(EFileWriteError(QStringLiteral("x"), c.code)), QString::fromUtf8(c.reason)) << c.code;
    EXPECT_EQ(TCSetup::FailureReason(EFileWriteError(QStringLiteral("Cannot create file \"f\". I/O error"), EIO)),
              QStringLiteral("Cannot create file \"f\". I/O error"));
}

// A second install renews the program, the account-set files and the pristine templates,
// and keeps what the office set or edited: the connection settings and the templates it
// prints with.
TEST_F(SetupTest, ReinstallKeepsSettingsAndEditedTemplates)
{
    const QString dir = home.home() + QStringLiteral("/Depotrix");
    install(dir, {mrYes});
    ASSERT_EQ(form->Label4->text(), QStringLiteral("安装完成"));

    const QByteArray settings = "[Login]\nServer Name=postgres://192.0.2.10:5432\nUser ID=depot\nPassword=x\n";
    ASSERT_TRUE(writeText(dir + QStringLiteral("/log/adolinksetting.ini"), settings));
    ASSERT_TRUE(writeText(dir + QStringLiteral("/depotrix"), "old program"));
    ASSERT_TRUE(writeText(dir + QStringLiteral("/dpxdata/materialdb"), "old template"));
    ASSERT_TRUE(writeText(dir + QStringLiteral("/Database/acct_data.mdf"), "books"));
    const QString edited = QString::fromUtf16(PrintTemplateFiles[0].FileName);
    if (DPX_SETUP_TEMPLATES) {
        ASSERT_TRUE(writeText(dir + QStringLiteral("/dpxprt/") + edited, "edited"));
        ASSERT_TRUE(writeText(dir + QStringLiteral("/dpxdata/") + edited, "edited"));
        ASSERT_TRUE(QFile::remove(dir + QStringLiteral("/dpxprt/") + QString::fromUtf16(PrintTemplateFiles[1].FileName)));
    }

    SetUp();
    install(dir);
    EXPECT_EQ(steps, fullRoad(false));
    EXPECT_EQ(readText(dir + QStringLiteral("/log/adolinksetting.ini")).toUtf8(), settings);
    EXPECT_EQ(readText(dir + QStringLiteral("/Database/acct_data.mdf")), QStringLiteral("books"));
    for (const PayloadFile& f : payloadFiles()) {
        if (f.resource == QLatin1String("ADOLINK") || f.path == QStringLiteral("dpxprt/") + edited) continue;
        EXPECT_EQ(sha256(dir + QLatin1Char('/') + f.path), sha256(TSetupPayload::ResourcePath(f.resource))) << f.path.toStdString();
    }
    if (DPX_SETUP_TEMPLATES) {
        EXPECT_EQ(readText(dir + QStringLiteral("/dpxprt/") + edited), QStringLiteral("edited"));
    }
}

TEST_F(SetupTest, PagesAndFolderPicker)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Depotrix—安装程序"));
    EXPECT_EQ(form->size(), QSize(476, 331));
    EXPECT_TRUE(form->Panel1->isVisible());
    EXPECT_FALSE(form->Panel5->isVisible());
    accept();
    EXPECT_FALSE(form->Panel1->isVisible());
    EXPECT_TRUE(form->Panel5->isVisible());
    EXPECT_EQ(form->Edit1->text(), home.home() + QStringLiteral("/Depotrix"));
    EXPECT_EQ(form->Label4->text(), QStringLiteral("准备安装..."));

    // The picker starts with no folder; Cancel leaves the text alone.
    DialogScript::AnswerText(QString(), mrCancel);
    DialogScript::AnswerText(QStringLiteral("/opt/材料"), mrOk);
    QTest::mouseClick(form->Button5, Qt::LeftButton);
    EXPECT_EQ(form->Edit1->text(), home.home() + QStringLiteral("/Depotrix"));
    QTest::mouseClick(form->Button5, Qt::LeftButton);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("/opt/材料"));
    EXPECT_EQ(form->FilePath(), QStringLiteral("/opt/材料"));
    ASSERT_EQ(DialogScript::Log().size(), 2);
    EXPECT_EQ(DialogScript::Log()[0].Kind, QStringLiteral("SelectDirectory"));
    EXPECT_EQ(DialogScript::Log()[0].Caption, QStringLiteral("Select Directory"));
    EXPECT_EQ(DialogScript::Log()[0].Text, QString());

    QTest::mouseClick(form->Button4, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    SetUp();
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
}
