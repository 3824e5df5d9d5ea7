#include "DPXSetup.h"

#include "SetupBanner.h"
#include "SetupFileWriter.h"
#include "SetupPayload.h"

#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/MessageSink.h"
#include "platform/shell/FolderPicker.h"
#include "platform/shell/ProgramGroups.h"
#include "platform/shell/ShellFolders.h"
#include "platform/shell/ShellLink.h"

#include <QDir>

#include <cerrno>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace {

// The folders of the program folder, in the order they are made.
const char16_t* const SubFolders[] = {u"dpxdata", u"log", u"Database", u"backdata", u"dpxprt"};

const char16_t* const Agreement =
    u"Depotrix 材料管理系统 软件许可协议\n\n"
    u"一、本软件的著作权归开发者所有。您可以在本单位的计算机上安装和使用本软件。\n\n"
    u"二、未经许可，不得对本软件进行反向工程、反编译或反汇编，不得出租、出售或转让本软件。\n\n"
    u"三、本软件按现状提供。开发者不对因使用本软件造成的数据丢失或其他损失承担责任，请定期备份帐套。\n\n"
    u"四、点击“接受协议”即表示您同意以上条款；不同意请点击“放弃安装”。";

TButton* makeButton(const QString& name, const QString& caption, QWidget* parent, const QRect& r)
{
    auto* b = new TButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(r);
    return b;
}

} // namespace

TCSetup::TCSetup(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("CSetup"));
    SetCaption(QStringLiteral("Depotrix—安装程序"));
    SetPosition(poDesktopCenter);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(476, 331);
    createPages();
}

QString TCSetup::DefaultFolder() { return UserHomeDir() + QStringLiteral("/Depotrix"); }

void TCSetup::createPages()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 160, 36);
    Image1->setPixmap(BannerTitlePicture(Image1->size()));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(160, 0, width() - 160, 36);
    Image2->setPixmap(BannerFillPicture(Image2->size()));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 36, 476, 295);
    Label1 = new QLabel(QStringLiteral("请仔细阅读下面的软件许可协议："), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 10, 444, 20);
    Memo1 = new QPlainTextEdit(QString::fromUtf16(Agreement), Panel1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setGeometry(16, 34, 444, 206);
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("接受协议"), Panel1, QRect(254, 254, 96, 28));
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("放弃安装"), Panel1, QRect(364, 254, 96, 28));

    Panel5 = new QFrame(this);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setGeometry(0, 36, 476, 295);
    Panel5->hide();
    Label5 = new QLabel(QStringLiteral("Depotrix"), Panel5);
    Label5->setObjectName(QStringLiteral("Label5"));
    QFont titleFont = Label5->font();
    titleFont.setPointSize(18);
    titleFont.setBold(true);
    Label5->setFont(titleFont);
    QPalette red = Label5->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label5->setPalette(red);
    Label5->setGeometry(16, 8, 444, 36);

    GroupBox1 = new QGroupBox(QStringLiteral("请输入安装目录"), Panel5);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 52, 444, 66);
    Edit1 = new QLineEdit(DefaultFolder(), GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 28, 332, 26);
    Button5 = makeButton(QStringLiteral("Button5"), QStringLiteral("浏览"), GroupBox1, QRect(352, 27, 80, 28));

    GroupBox2 = new QGroupBox(QStringLiteral("安装进度"), Panel5);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(16, 128, 444, 104);
    Label4 = new QLabel(QStringLiteral("准备安装..."), GroupBox2);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(12, 28, 420, 22);
    Pbar = new QProgressBar(GroupBox2);
    Pbar->setObjectName(QStringLiteral("Pbar"));
    Pbar->setRange(0, 100);
    Pbar->setValue(0);
    Pbar->setGeometry(12, 60, 420, 22);

    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("开始安装"), Panel5, QRect(254, 254, 96, 28));
    Button4 = makeButton(QStringLiteral("Button4"), QStringLiteral("取消安装"), Panel5, QRect(364, 254, 96, 28));

    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
    Button2->OnClick = [this](QObject* s) { Button2Click(s); };
    Button3->OnClick = [this](QObject* s) { Button3Click(s); };
    Button4->OnClick = [this](QObject* s) { Button4Click(s); };
    Button5->OnClick = [this](QObject* s) { Button5Click(s); };
    // The road runs to its end: the form does not close while it runs.
    OnCloseQuery = [this](QObject*, bool& CanClose) { CanClose = !m_installing; };
}

void TCSetup::Button1Click(QObject*)
{
    Panel1->hide();
    Panel5->show();
    Edit1->setFocus();
}

void TCSetup::Button2Click(QObject*) { Close(); }

void TCSetup::Button4Click(QObject*) { Close(); }

void TCSetup::Button5Click(QObject*)
{
    QString dir;
    if (SelectDirectory(QStringLiteral("Select Directory"), QString(), dir)) {
        FFilePath = dir;
        Edit1->setText(dir);
    }
}

QString TCSetup::ProgramFolder() const
{
    QString dir = FFilePath.trimmed();
    if (dir == QLatin1String("~") || dir.startsWith(QLatin1String("~/"))) dir = UserHomeDir() + dir.mid(1);
    if (!QDir::isAbsolutePath(dir)) return QString();
    return QDir::cleanPath(dir);
}

void TCSetup::showStep(int progress, const QString& label)
{
    Label4->setText(label);
    Pbar->setValue(progress);
    Application->ProcessMessages();
}

namespace {

// What stops the folder from being made: the nearest part of its path that exists is a file.
bool fileStandsInPlace(const QString& dir)
{
    for (QString path = dir; !path.isEmpty(); path = QFileInfo(path).path()) {
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            return !info.isDir();
        if (QFileInfo(path).path() == path)
            break;
    }
    return false;
}

const QString FileInPlace = QStringLiteral("应为目录的位置上已有一个同名文件。");

} // namespace

QString TCSetup::FailureReason(const std::exception& e)
{
    if (const auto* w = dynamic_cast<const EFileWriteError*>(&e)) {
        switch (w->Code()) {
        case EACCES:
        case EPERM:
        case EROFS:
            return QStringLiteral("没有写入权限。");
        case ENOTDIR:
            return FileInPlace;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return QStringLiteral("磁盘空间不足。");
        default:
            break;
        }
    }
    if (const auto* x = dynamic_cast<const Exception*>(&e))
        return x->Message();
    return QString::fromLocal8Bit(e.what());
}

void TCSetup::installFailed(const QString& reason)
{
    // What was written stays; the form stays open for another try.
    Application->MessageBox(QStringLiteral("系统安装失败！    \n") + reason, QStringLiteral("提示..."),
                            MB_OK | MB_ICONINFORMATION);
}

// The program folder and its five folders. A missing program folder is made only when the
// user agrees; answering No fails the install, as nothing can be written. A file standing where
// the folder should be is never offered for making. A sub-folder that cannot be made is passed
// over here: the first write into it fails and says why.
bool TCSetup::prepareFolders(const QString& dir)
{
    if (!dir.isEmpty() && DirectoryExists(dir)) {
        for (const char16_t* sub : SubFolders) ForceDirectories(dir + QLatin1Char('/') + QString::fromUtf16(sub));
        return true;
    }
    if (!dir.isEmpty() && fileStandsInPlace(dir)) {
        Label4->setText(QStringLiteral("准备安装..."));
        installFailed(FileInPlace);
        return false;
    }
    if (MessageDlg(QStringLiteral("目录不存在，是否要创建!!!"), mtConfirmation, mbYesNo) != mrYes) {
        Label4->setText(QStringLiteral("准备安装..."));
        installFailed(QStringLiteral("安装目录不存在。"));
        return false;
    }
    try {
        if (dir.isEmpty()) throw EInOutError(QStringLiteral("Unable to create directory"));
        ForceDirectories(dir);
        for (const char16_t* sub : SubFolders) ForceDirectories(dir + QLatin1Char('/') + QString::fromUtf16(sub));
        showStep(2, Label4->text());
    } catch (const Exception&) {
        Application->MessageBox(QStringLiteral("目录创建失败！    "), QStringLiteral("警告"), MB_OK | MB_ICONWARNING);
        Label4->setText(QStringLiteral("准备安装..."));
        return false;
    }
    return true;
}

void TCSetup::Button3Click(QObject*)
{
    if (m_finished) {
        Close();
        return;
    }
    FFilePath = Edit1->text();
    Label4->setText(QStringLiteral("正在安装..."));
    Pbar->setValue(0);   // a try after a failed one starts afresh
    const QString dir = ProgramFolder();
    m_installing = true;
    for (QWidget* w : {static_cast<QWidget*>(Button3), static_cast<QWidget*>(Button4), static_cast<QWidget*>(Button5),
                       static_cast<QWidget*>(Edit1)})
        w->setEnabled(false);
    struct Reenable {
        TCSetup* f;
        ~Reenable()
        {
            f->m_installing = false;
            f->Button3->setEnabled(true);
            f->Button4->setEnabled(!f->m_finished);
            f->Button5->setEnabled(!f->m_finished);
            f->Edit1->setEnabled(!f->m_finished);
        }
    } reenable{this};

    if (!prepareFolders(dir)) return;
    try {
        showStep(10, QStringLiteral("安装Depotrix.exe"));
        adddepotrixfile();
        showStep(30, QStringLiteral("安装系统数据"));
        setupdpxdata();
        showStep(50, QStringLiteral("安装单据打印模板"));
        setupprtdata();
        showStep(60, QStringLiteral("添加主程序组项"));
        addprogramgroup();
        showStep(70, QStringLiteral("添加桌面快捷项"));
        adddesktopLink();
    } catch (const std::exception& e) {
        installFailed(FailureReason(e));
        return;
    }
    finish();
}

void TCSetup::finish()
{
    showStep(100, QStringLiteral("安装完成"));
    m_finished = true;
    Button3->SetCaption(QStringLiteral("完成"));
}

// The program and its tool, and the first connection settings. Settings that exist are the
// office's own (server, login, password): a second install keeps them.
void TCSetup::adddepotrixfile()
{
    const QString dir = ProgramFolder();
    if (dir.isEmpty()) throw EFCreateError(QStringLiteral("No program folder"));
    TSetupPayload::WriteTo(QStringLiteral("Depotrix"), dir + QStringLiteral("/depotrix"), true);
    TSetupPayload::WriteTo(QStringLiteral("DPXSQL"), dir + QStringLiteral("/dpxsql"), true);
    const QString settings = dir + QStringLiteral("/log/adolinksetting.ini");
    if (!QFileInfo::exists(settings)) TSetupPayload::WriteTo(QStringLiteral("ADOLINK"), settings);
}

// The sample and template account sets, and the pristine copies of the print templates,
// which are always renewed.
void TCSetup::setupdpxdata()
{
    const QString dir = ProgramFolder();
    TSetupPayload::WriteTo(QStringLiteral("DPXDBSAMPLE"), dir + QStringLiteral("/backdata/materialdbsample"));
    TSetupPayload::WriteTo(QStringLiteral("DPXDB"), dir + QStringLiteral("/dpxdata/materialdb"));
    for (const TPrintTemplateFile& t : PrintTemplateFiles) {
        const QString name = QString::fromLatin1(t.Resource);
        if (TSetupPayload::Contains(name))
            TSetupPayload::WriteTo(name, dir + QStringLiteral("/dpxdata/") + QString::fromUtf16(t.FileName));
    }
}

// The print templates the program prints with. A template that is there already may have
// been edited in the designer and is kept; the pristine copy is in dpxdata.
void TCSetup::setupprtdata()
{
    const QString dir = ProgramFolder();
    for (const TPrintTemplateFile& t : PrintTemplateFiles) {
        const QString name = QString::fromLatin1(t.Resource);
        const QString file = dir + QStringLiteral("/dpxprt/") + QString::fromUtf16(t.FileName);
        if (TSetupPayload::Contains(name) && !QFileInfo::exists(file)) TSetupPayload::WriteTo(name, file);
    }
}

void TCSetup::addprogramgroup()
{
    TProgramGroups::CreateGroup(QStringLiteral("Depotrix"), QStringLiteral("Depotrix"));
    TProgramGroups::AddItem(QStringLiteral("Depotrix"), ProgramFolder() + QStringLiteral("/depotrix"),
                            QStringLiteral("Depotrix"));
}

void TCSetup::adddesktopLink()
{
    TShellLink link;
    const QString target = ProgramFolder() + QStringLiteral("/depotrix");
    link.SetName(QStringLiteral("Depotrix"));
    link.SetPath(target);
    link.SetWorkingDirectory(QFileInfo(target).absolutePath());
    const QString linkFile = XdgDesktopDir() + QStringLiteral("/Depotrix.desktop");
    ShowMessage(linkFile);
    link.Save(linkFile);
}
