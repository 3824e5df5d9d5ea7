#define QT_USE_QSTRINGBUILDER
#include "DM.h"
#include "ComponentFactory.h"
#include "DataProcess.h"
#include "Executesql.h"
#include "OpenSql.h"
#include "PasswordCipher.h"
#include "PostingLookups.h"
#include "frmconst.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/EngineExchanges.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include <QFileInfo>

TrmtDM* rmtDM = nullptr;

namespace {

const QString LoginSection = QStringLiteral("Login");

// A connection-string value as it stands, or between double quotes (inner double quotes
// doubled) when it would otherwise end the pair early (";"), read as a quoted value (a
// quote first) or lose blanks at either end.
QString connectionvalue(const QString& v)
{
    const bool plain = !v.contains(QLatin1Char(';')) && !v.startsWith(QLatin1Char('"'))
                    && !v.startsWith(QLatin1Char('\'')) && v.trimmed() == v;
    if (plain)
        return v;
    QString s = v;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace

TrmtDM::TrmtDM()
{
    ADOCon = std::make_unique<TADOConnection>();
    ADOCon->SetName(QStringLiteral("ADOCon"));
    ADOCon->SetProvider(QStringLiteral("SQLOLEDB.1"));
    ADOCon->SetLoginPrompt(false);
    ClientDataSet2 = std::make_unique<TClientDataSet>();
    ClientDataSet2->SetName(QStringLiteral("ClientDataSet2"));
    tempqry = std::make_unique<TADOQuery>(ADOCon.get());
    tempqry->SetName(QStringLiteral("tempqry"));
    tempqry->SetLockType(ltReadOnly);
    tempqry->SetAutoCalcFields(false);
    testcon = std::make_unique<TADOConnection>();
    testcon->SetName(QStringLiteral("testcon"));
    testcon->SetProvider(QStringLiteral("SQLOLEDB.1"));
    testcon->SetLoginPrompt(false);
    rmtDM = this;
    // An error of the creation handler is shown like any error of an event, and the
    // program runs on unconnected.
    try {
        DataModuleCreate(this);
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        MessageSink::Show(MsgKind::Error, e.Message());
    }
}

TrmtDM::~TrmtDM()
{
    tempqry.reset();
    m_execquery.reset();
    if (ADOCon)
        ADOCon->Close();
    if (rmtDM == this)
        rmtDM = nullptr;
}

QString TrmtDM::windowsconnectstring(const QString& server)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;")
         + QStringLiteral("Persist Security Info=False;Initial Catalog=master;Data Source=") + connectionvalue(server);
}

QString TrmtDM::sqlloginconnectstring(const QString& server, const QString& user, const QString& password)
{
    const QString s = connectionvalue(server);
    return QStringLiteral("Provider=SQLOLEDB.1;Password=") + connectionvalue(password) + QStringLiteral(";")
         + QStringLiteral("Persist Security Info=False;")
         + QStringLiteral("User ID=") + connectionvalue(user) + QStringLiteral(";")
         + QStringLiteral("Initial Catalog=master;")
         + QStringLiteral("Data Source=") + s + QStringLiteral(";")
         + QStringLiteral("Use Procedure for Prepare=1;")
         + QStringLiteral("Auto Translate=True;")
         + QStringLiteral("Packet Size=4069;")
         + QStringLiteral("WorkStation ID=") + s + QStringLiteral(";")
         + QStringLiteral("Use Encryption for Data=False;")
         + QStringLiteral("Tag With Column collation when possible=False");
}

void TrmtDM::DataModuleCreate(void* /*Sender*/)
{
    const QString path = getappsubdir(QStringLiteral("log")) + QStringLiteral("adolinksetting.ini");
    if (!QFileInfo::exists(path)) {
        MessageSink::Show(MsgKind::Information,
                          QStringLiteral("系统在首次运行时先在“连接”中设置好正确参数才能与数据库相连，再退出系统重新运行！"),
                          QStringLiteral("提示..."));
        dbconnected = false;
        return;
    }
    TIniFile ini(path);
    // A key that is missing or empty takes the value the first settings give it.
    static const QHash<QString, QString> firstsettings{
        {QStringLiteral("Server Name"), QStringLiteral("\\sqlexpress")}, {QStringLiteral("ConnectTimeOut"), QStringLiteral("5")},
        {QStringLiteral("KeepConnection"), QStringLiteral("True")},       {QStringLiteral("Security Info"), QStringLiteral("False")},
        {QStringLiteral("LoginPrompt"), QStringLiteral("False")}};
    auto read = [&](const char* key) {
        const QString name = QString::fromLatin1(key);
        const QString value = ini.ReadString(LoginSection, name, QString());
        return value.trimmed().isEmpty() ? firstsettings.value(name, value) : value;
    };
    servername = read("Server Name");
    accname = read("App Name");
    QString s;
    if (read("Security Info") == QLatin1String("False")) {
        s = windowsconnectstring(servername);
    } else {
        const QString user = read("User ID");
        const QString password = unscrambletext(cipherseeda, cipherseedb, read("Password"));
        s = sqlloginconnectstring(servername, user, password);
    }
    ADOCon->Close();
    ADOCon->SetConnectionString(QString());
    ADOCon->SetKeepConnection(read("KeepConnection") == QLatin1String("True"));
    ADOCon->SetLoginPrompt(read("LoginPrompt") == QLatin1String("True"));
    ADOCon->SetConnectionTimeout(StrToInt(read("ConnectTimeOut")));
    connectstr = s;
    try {
        ADOCon->SetConnectionString(s);
        ADOCon->Open();
        dbconnected = true;
    } catch (const Exception& e) {
        MessageSink::Show(MsgKind::Information, QStringLiteral("连接数据库时出错！！！\n") + e.Message(), QStringLiteral("提示..."));
        dbconnected = false;
    }
}

bool TrmtDM::isvaliddbname(const QString& name)
{
    if (name.isEmpty() || name.size() > 128)
        return false;
    const QChar first = name[0];
    if (!first.isLetter() && first != QLatin1Char('_'))
        return false;
    for (QChar c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char('$') && c != QLatin1Char('#')
            && c != QLatin1Char('@'))
            return false;
    return true;
}

bool TrmtDM::OpenindicatinnDB(const QString& DBname)
{
    static const QString master = QStringLiteral("Master");
    const QString& name = DBname.isEmpty() ? master : DBname;
    // The name goes into "Use" as it is, so only a plain identifier is accepted.
    if (name != m_validdbname) {
        if (!isvaliddbname(name))
            throw EDatabaseError(QStringLiteral("帐套数据库名“%1”无效：只能由字母、数字和下划线组成，且不能以数字开头！").arg(name));
        m_validdbname = name;
        m_usesql = QStringLiteral("Use ") + name;
    }
    // Straight on the connection: the statement has no result, so no query is needed for it.
    // Moving to the database the connection is in already changes nothing.
    trace(m_usesql);
    const QString& current = ADOCon->Engine().CurrentDatabase();
    if (name != current && name.compare(current, Qt::CaseInsensitive) != 0)
        ADOCon->Execute(m_usesql);
    ensureindexes(name);
    return true;
}

// Indexes that the posting's lookups and the statistics' code ranges need and that account sets made from an older template
// lack. Each account set is looked at once per session, outside any transaction; an index
// that cannot be made (a database that is no account set, a write lock held too long) is left
// for the next session.
void TrmtDM::ensureindexes(const QString& name)
{
    if (name == m_lastindexed || name.compare(QLatin1String("master"), Qt::CaseInsensitive) == 0
        || ADOCon->InTransaction())
        return;
    if (m_indexedsets.contains(name.toLower())) {
        m_lastindexed = name;
        return;
    }
    m_indexedsets.insert(name.toLower());
    static const struct {
        const char* table;
        const char* index;
        const char* columns;
    } added[] = {{"mrplist", "IX_mrplist_iid", "[iid]"},
                 {"mrplist", "IX_mrplist_eid", "[eid]"},
                 {"cyldetaillist", "IX_cyldetaillist_eid", "[eid]"},
                 {"mtrlist", "IX_mtrlist_code", "[code]"},
                 // a category's materials and a node's children, page by page in key order
                 {"mtrlist", "IX_mtrlist_bid_fid", "[bID], [FID]"},
                 {"breedlist", "IX_breedlist_pfid_fid", "[Pfid], [FID]"}};
    DbEngine& engine = ADOCon->Engine();
    for (const auto& a : added) {
        const QString table = QString::fromLatin1(a.table), index = QString::fromLatin1(a.index);
        try {
            if (!engine.IndexExists(table, index))
                ADOCon->Execute(QStringLiteral("CREATE INDEX [%1] ON [dbo].[%2](%3) ON [PRIMARY]")
                                    .arg(index, table, QString::fromLatin1(a.columns)));
        } catch (const Exception&) {
        }
    }
}

void TrmtDM::BeginTrans() { ADOCon->BeginTrans(); }
void TrmtDM::CommitTrans() { ADOCon->CommitTrans(); }
void TrmtDM::RollbackTrans() { ADOCon->RollbackTrans(); }
bool TrmtDM::IntransAction() const { return ADOCon->InTransaction(); }

namespace {

QString lastexecerrortext;   // see lastexecsqlerror

QString errortext(const std::exception_ptr& error)
{
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return QString();
}

} // namespace

const QString& lastexecsqlerror()
{
    return lastexecerrortext;
}

bool TrmtDM::execsql(const QString& sql)
{
    // One query serves the statements in turn; a statement sent while another one runs (from
    // the observer) gets one of its own.
    TQueryPtr own;
    TADOQuery* query = m_execquery.get();
    if (m_execbusy || !query || query->Connection() != (rmtDM ? rmtDM->ADOCon.get() : nullptr)) {
        own.reset(NewQuery());
        query = own.get();
        if (!m_execbusy)
            std::swap(own, m_execquery);
    }
    struct Busy { bool& b; bool was; ~Busy() { b = was; } } busy{m_execbusy, m_execbusy};
    m_execbusy = true;
    lastexecerrortext.clear();
    // A database that cannot be switched to fails the statement: it has not run, the caller
    // learns it from the result and the user sees why, as the error display would show it.
    try {
        OpenindicatinnDB(dbname);
    } catch (const Exception& e) {
        lastexecerrortext = e.Message();
        MessageSink::Show(MsgKind::Error, e.Message());
        return false;
    }
    Texecsql runner(query, sql);
    aexecsql = &runner;
    struct Reset { Texecsql*& p; ~Reset() { p = nullptr; } } reset{aexecsql};
    trace(sql);
    if (m_lookups)
        m_lookups->write(sql);
    if (ADOCon->InTransaction()) {
        // A posting does not read what its writes answer: on a server they are held and go
        // together, ahead of its next read or with the commit (see DbExchanges::ExecuteHeld).
        auto* server = m_lookups ? dynamic_cast<DbExchanges*>(&ADOCon->Engine()) : nullptr;
        if (server) {
            try {
                server->ExecuteHeld(sql);
                return true;
            } catch (const Exception&) {
                MessageSink::Show(MsgKind::Information, QStringLiteral("数据数据出错：") + sql);
                return false;
            }
        }
        try {
            runner.Execute();
            return true;
        } catch (const EAbort&) {
            lastexecerrortext = errortext(runner.LastException());
            MessageSink::Show(MsgKind::Information, QStringLiteral("数据数据出错：") + sql);
            return false;
        }
    }
    BeginTrans();
    try {
        runner.Execute();
        CommitTrans();
        return true;
    } catch (const Exception& e) {
        lastexecerrortext = runner.LastException() ? errortext(runner.LastException()) : e.Message();
        if (ADOCon->InTransaction())
            RollbackTrans();
        return false;
    }
}

void TrmtDM::writesrows(const QString& table, std::initializer_list<QString> keyfields, std::initializer_list<int> keys)
{
    if (m_lookups)
        m_lookups->expect(table, keyfields, keys);
}

void TrmtDM::trace(const QString& sql) const
{
    if (OnSQL)
        OnSQL(sql);
}
