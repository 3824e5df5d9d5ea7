#include "AccountSetForm.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/Executesql.h"
#include "data/frmconst.h"
#include "platform/db/ClientDataSet.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"
#include "platform/gui/FontScale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

const QString LineBreak = QStringLiteral("\n\r");

// Runs an action of a dialog: its exception is shown with the dialog's prefix; the result is
// false then.
template <class F>
bool reported(const QString& prefix, TMsgDlgType type, F&& action)
{
    try {
        return action();
    } catch (const EAbort&) {
        throw;
    } catch (const std::exception& e) {
        MessageDlg(prefix + LineBreak + QString::fromUtf8(e.what()), type, {mbOK});
        return false;
    }
}

// A failure's text followed by the database's own message, when the statement left one.
QString withreason(const QString& text)
{
    const QString& reason = lastexecsqlerror();
    return reason.isEmpty() ? text : text + LineBreak + reason;
}

QLineEdit* labelledEdit(QFormLayout* form, QWidget* parent, const QString& caption, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    form->addRow(caption, e);
    return e;
}

} // namespace

bool isvalidaccountsetname(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z][A-Za-z0-9_]{0,49}$"));
    return re.match(name).hasMatch();
}

bool isbarefilename(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && !name.contains(QLatin1Char(':')) && name != QLatin1String(".") && name != QLatin1String("..");
}

QString registeredaccountset(const QString& name)
{
    TClientDataSet list;
    list.SetData(rmtDM->gettabledata(QStringLiteral("master..materialdblist"), QStringLiteral("fid"),
                                     QStringLiteral("fid>0"), 10));
    for (list.First(); !list.Eof(); list.Next()) {
        const QString db = list.FieldByName(QStringLiteral("dbname"))->AsString().trimmed();
        if (db.compare(name, Qt::CaseInsensitive) == 0)
            return db;
    }
    return QString();
}

// ---------------------------------------------------------------- creation

TfrmCreateDB::TfrmCreateDB(QWidget* AOwner) : TfrmNormalForm(AOwner)
{
    SetCaption(QStringLiteral("创建新帐套"));
    resize(Scaled(QSize(460, 320)));
    auto* box = new QVBoxLayout(panel3);
    GroupBox1 = new QGroupBox(QStringLiteral("帐套信息"), panel3);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* form = new QFormLayout(GroupBox1);
    Edit4 = labelledEdit(form, GroupBox1, QStringLiteral("公司名称"), "Edit4");
    Edit5 = labelledEdit(form, GroupBox1, QStringLiteral("数据库名"), "Edit5");
    form->addRow(QString(), new QLabel(QStringLiteral("（推荐为英文字母）"), GroupBox1));
    Edit6 = labelledEdit(form, GroupBox1, QStringLiteral("帐套说明"), "Edit6");
    for (QLineEdit* e : {Edit4, Edit5, Edit6})
        BindHighlight(e);
    box->addWidget(GroupBox1);
    auto* reminder = new QLabel(QStringLiteral("提醒：每个新帐套都带有一个默认的帐套管理员，用户名和密码已预先设定。"
                                               "下次请以这位管理员登录；管理员可以修改用户名和密码，并添加其他用户。"),
                                panel3);
    reminder->setWordWrap(true);
    box->addWidget(reminder);
    box->addStretch(1);
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
}

bool TfrmCreateDB::checkinput(const QString& company, const QString& name, const QString& remark)
{
    if (company.isEmpty()) {
        MessageDlg(QStringLiteral("公司名称没有输入！"), mtError, {mbOK});
        return false;
    }
    // The registry's columns hold 50 and 100 characters; a longer text is refused before the
    // template is restored, so no database is left without its registry row.
    if (company.length() > 50) {
        MessageDlg(QStringLiteral("公司名称最多50个字符！"), mtError, {mbOK});
        return false;
    }
    if (remark.length() > 100) {
        MessageDlg(QStringLiteral("帐套说明最多100个字符！"), mtError, {mbOK});
        return false;
    }
    if (name.isEmpty()) {
        MessageDlg(QStringLiteral("帐套名称没有输入！"), mtError, {mbOK});
        return false;
    }
    if (name.compare(QLatin1String("as"), Qt::CaseInsensitive) == 0) {
        MessageDlg(QStringLiteral("帐套名称不能为“as”！"), mtError, {mbOK});
        return false;
    }
    if (!isvalidaccountsetname(name)) {
        MessageDlg(QStringLiteral("帐套名称只能以英文字母开头，由英文字母、数字和下划线组成，最多50个字符！"), mtError, {mbOK});
        return false;
    }
    if (!QFile::exists(getappsubdir(QStringLiteral("log")) + QStringLiteral("adolinksetting.ini"))) {
        MessageDlg(QStringLiteral("\"") + QDir::toNativeSeparators(ProgramDir()) + QStringLiteral("\\Log\\adolinksetting.ini\"")
                       + QStringLiteral("文件不存在，先进行连接设置！"),
                   mtError, {mbOK});
        return false;
    }
    return true;
}

bool TfrmCreateDB::createregistry()
{
    // The registry lives in master, whatever account set is logged in.
    if (!rmtDM->execsql(QStringLiteral(" Use Master ")))
        return false;
    if (rmtDM->getrecordcount(QStringLiteral("select * from dbo.sysobjects where id = object_id(N'[dbo].[materialdblist]')")) > 0)
        return true;
    return rmtDM->execsql(QStringLiteral(" Use Master ") + QStringLiteral("CREATE TABLE [dbo].[materialdblist] (")
                          + QStringLiteral("[fid] [int] IDENTITY (1, 1) NOT NULL ,")
                          + QStringLiteral("[accname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NOT NULL ,")
                          + QStringLiteral("[dbname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,")
                          + QStringLiteral("[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ")
                          + QStringLiteral(") ON [PRIMARY]"));
}

bool TfrmCreateDB::restoretemplate(const QString& name)
{
    const QString database = getappsubdir(QStringLiteral("Database"));
    return rmtDM->execsql(QStringLiteral("Use Master ") + QStringLiteral(" RESTORE DATABASE ") + name
                          + QStringLiteral(" FROM DISK =") + quotedsqltext(getappsubdir(QStringLiteral("dpxdata")) + QStringLiteral("materialdb"))
                          + QStringLiteral(" with file=1,replace,") + QStringLiteral("MOVE ")
                          + quotedsqltext(QStringLiteral("materialdb_data")) + QStringLiteral(" TO ")
                          + quotedsqltext(database + name + QStringLiteral("_data.mdf")) + QStringLiteral(",")
                          + QStringLiteral("MOVE ") + quotedsqltext(QStringLiteral("materialdB_Log")) + QStringLiteral(" TO ")
                          + quotedsqltext(database + name + QStringLiteral("_log.ldf")));
}

void TfrmCreateDB::Button1Click(QObject* Sender)
{
    TBusyCursor busy;
    const QString company = Edit4->text().trimmed();
    const QString name = Edit5->text().trimmed();
    const QString remark = Edit6->text().trimmed();
    bool ok = false;
    try {
        ok = checkinput(company, name, remark) && createregistry();
        if (ok && !registeredaccountset(name).isEmpty()) {
            MessageDlg(QStringLiteral("帐套数据库“") + name + QStringLiteral("”已经存在，请换一个数据库名！"), mtError, {mbOK});
            ok = false;
        }
        ok = ok && restoretemplate(name)
             && rmtDM->execsql(QStringLiteral(" insert into Master..materialdblist(accname,dbname,remark) values(")
                               + vartosqlvalue(company) + QStringLiteral(",") + vartosqlvalue(name) + QStringLiteral(",")
                               + vartosqlvalue(remark) + QStringLiteral(")"));
    } catch (const EAbort&) {
        SetModalResult(mrNone);
        throw;
    } catch (const std::exception& e) {
        SetModalResult(mrNone);
        MessageDlg(QStringLiteral("创建新帐套失失败！") + LineBreak + QString::fromUtf8(e.what()), mtError, {mbOK});
        return;
    }
    if (ok) {
        MessageDlg(QStringLiteral("新套帐创建成功！"), mtInformation, {mbOK});
        return;
    }
    SetModalResult(mrNone);
    MessageDlg(QStringLiteral("创建新帐套失败！"), mtError, {mbOK});
}

// ---------------------------------------------------------------- backup and restore

TfrmDBFileDialog::TfrmDBFileDialog(QWidget* AOwner, const QString& caption, const QString& group,
                                   const QString& dbcaption, const QString& filecaption)
    : TfrmNormalForm(AOwner)
{
    SetCaption(caption);
    resize(Scaled(QSize(460, 260)));
    auto* box = new QVBoxLayout(panel3);
    GroupBox1 = new QGroupBox(group, panel3);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* form = new QFormLayout(GroupBox1);
    Label2 = new QLabel(GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label6 = new QLabel(GroupBox1);
    Label6->setObjectName(QStringLiteral("Label6"));
    form->addRow(dbcaption, Label2);
    form->addRow(QStringLiteral("帐套名："), Label6);
    auto* row = new QHBoxLayout;
    Edit4 = new QLineEdit(GroupBox1);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    BrowseButton = new QPushButton(QStringLiteral("..."), GroupBox1);
    BrowseButton->setObjectName(QStringLiteral("BrowseButton"));
    BrowseButton->setFixedWidth(Scaled(28));
    BrowseButton->setAutoDefault(false);
    row->addWidget(Edit4, 1);
    row->addWidget(BrowseButton);
    form->addRow(filecaption, row);
    box->addWidget(GroupBox1);
    box->addStretch(1);
    connect(BrowseButton, &QPushButton::clicked, this, Application->Guarded([this] { BrowseClick(BrowseButton); }));
}

void TfrmDBFileDialog::FormShow(QObject* Sender)
{
    TfrmNormalForm::FormShow(Sender);
    Label2->setText(dbname);
    Label6->setText(accname);
    Edit4->clear();
}

void TfrmDBFileDialog::BrowseClick(QObject* Sender)
{
    TOpenDialog dialog;
    dialog.Title = QStringLiteral("选择备份文件");
    dialog.InitialDir = getappsubdir(QStringLiteral("backdata"));
    dialog.Filter = QStringLiteral("All files(*.*)|*.*");
    if (dialog.Execute())
        Edit4->setText(QFileInfo(dialog.FileName).fileName());
}

QString TfrmDBFileDialog::backuppath(const QString& emptytext)
{
    const QString file = Edit4->text().trimmed();
    if (file.isEmpty()) {
        MessageDlg(emptytext, mtWarning, {mbOK});
        return QString();
    }
    if (!isbarefilename(file)) {
        MessageDlg(QStringLiteral("只能输入文件名，不能带文件夹：备份文件都在 backdata 文件夹里！"), mtWarning, {mbOK});
        return QString();
    }
    return getappsubdir(QStringLiteral("backdata")) + file;
}

TfrmDBBackup::TfrmDBBackup(QWidget* AOwner)
    : TfrmDBFileDialog(AOwner, QStringLiteral("备份帐套"), QStringLiteral("备份帐套信息"), QStringLiteral("数据库名："),
                       QStringLiteral("备份到文件："))
{
    BindHighlight(Edit4);
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
}

void TfrmDBBackup::Button1Click(QObject* Sender)
{
    SetModalResult(mrNone);
    if (!dbconnected) {
        MessageDlg(QStringLiteral("登陆吧，第几次啦！"), mtWarning, {mbOK});
        return;
    }
    const QString path = backuppath(QStringLiteral("把备份文件名输入了再说！"));
    if (path.isEmpty())
        return;
    TBusyCursor busy;
    const bool ok = reported(QStringLiteral("帐套备份失败！"), mtWarning, [&] {
        return rmtDM->execsql(QStringLiteral("BACKUP DATABASE ") + dbname.trimmed() + QStringLiteral(" TO DISK =")
                              + vartosqlvalue(path) + QStringLiteral(" with init"));
    });
    if (ok) {
        MessageDlg(QStringLiteral("备份成功，心里踏实了"), mtInformation, {mbOK});
        SetModalResult(mrOk);
    } else {
        MessageDlg(QStringLiteral("出了点差错，备份失败！"), mtWarning, {mbOK});
    }
}

TfrmDBRestore::TfrmDBRestore(QWidget* AOwner)
    : TfrmDBFileDialog(AOwner, QStringLiteral("还原帐套"), QStringLiteral("还原帐套信息"), QStringLiteral("帐套数据库名："),
                       QStringLiteral("还原备份文件"))
{
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
}

void TfrmDBRestore::Button1Click(QObject* Sender)
{
    SetModalResult(mrNone);
    const QString path = backuppath(QStringLiteral("还原文件不存在！,帐套还原没法进行！"));
    if (path.isEmpty())
        return;
    if (!QFile::exists(path)) {
        MessageDlg(QStringLiteral("还原文件不存在！,帐套还原没法进行！"), mtError, {mbOK});
        return;
    }
    TBusyCursor busy;
    const QString db = dbname.trimmed();
    const bool ok = reported(QStringLiteral("帐套还原失败! "), mtError, [&] {
        return rmtDM->execsql(QStringLiteral("use Master ALTER DATABASE ") + db
                              + QStringLiteral(" set offline with rollback immediate ") + QStringLiteral(" RESTORE DATABASE ")
                              + db + QStringLiteral(" FROM DISK =") + quotedsqltext(path)
                              + QStringLiteral(" with file=1,replace ") + QStringLiteral(" alter database ") + db
                              + QStringLiteral(" set online with rollback immediate ") + QStringLiteral(" Use ") + db);
    });
    if (ok) {
        MessageDlg(QStringLiteral("帐套还原成功！"), mtInformation, {mbOK});
        SetModalResult(mrOk);
    } else {
        MessageDlg(withreason(QStringLiteral("帐套还原失败！")), mtError, {mbOK});
    }
}

// ---------------------------------------------------------------- deletion

void deleteaccountset()
{
    if (!userisadmin) {
        ShowMessage(QStringLiteral("你是帐套管理员吗?只有那位帅哥才有这个权限？"));
        return;
    }
    if (MessageDlg(QStringLiteral("你真的要删除帐套吗？"), mtWarning, mbYesNo) != mrYes)
        return;
    const QString typed = InputBox(QStringLiteral("删除帐套"), QStringLiteral("输入要删除帐套数据库名："), QString()).trimmed();
    if (typed.isEmpty())
        return;
    TBusyCursor busy;
    try {
        if (typed.compare(dbname.trimmed(), Qt::CaseInsensitive) == 0) {
            MessageDlg(QStringLiteral("不能删除已经登陆的账套！"), mtWarning, {mbOK});
            return;
        }
        const QString name = registeredaccountset(typed);
        if (name.isEmpty() || !TrmtDM::isvaliddbname(name)) {
            MessageDlg(QStringLiteral("没有登记名为“") + typed + QStringLiteral("”的帐套数据库，请输入帐套列表里的数据库名！"),
                       mtWarning, {mbOK});
            return;
        }
        const bool ok = rmtDM->execsql(QStringLiteral(" Use Master "))
                        && rmtDM->execsql(QStringLiteral(" drop database ") + name + QStringLiteral(" select 1"))
                        && rmtDM->execsql(QStringLiteral("Delete from Master..materialdblist where dbname=") + vartosqlvalue(name));
        if (ok)
            MessageDlg(QStringLiteral("数据库***") + name + QStringLiteral("***总算把干掉了，呵呵！"), mtWarning, {mbOK});
        else
            MessageDlg(QStringLiteral("帐套数据库***") + name + QStringLiteral("***没有删除成功！"), mtError, {mbOK});
    } catch (const EAbort&) {
        throw;
    } catch (const std::exception& e) {
        MessageDlg(QStringLiteral("唉，没有按你的意思做，真没办法，原因是：") + LineBreak + QString::fromUtf8(e.what()),
                   mtError, {mbOK});
    }
}
