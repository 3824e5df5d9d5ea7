#include "ADOConnection.h"
#include "ADOQuery.h"
#include "postgres/PgEngine.h"
#include "platform/rtl/Exceptions.h"

TADOConnection::TADOConnection() = default;

TADOConnection::~TADOConnection()
{
    try { Close(); } catch (...) {}
    for (TADOQuery* q : m_queries) q->m_connection = nullptr;
}

void TADOConnection::SetConnectionString(const QString& s)
{
    if (Connected())
        throw EOleException(QStringLiteral("Operation is not allowed when the object is open."));
    m_connectionString = s;
}

namespace {

// The "key=value" pairs of a connection string, split at ";". A value may stand between double
// or single quotes, and then holds ";" and blanks; the quote itself is doubled inside. "==" in a
// key is a literal "=". Blanks around keys and unquoted values are dropped.
QList<QPair<QString, QString>> connectionPairs(const QString& s)
{
    QList<QPair<QString, QString>> out;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        QString key;
        while (i < n && s[i] != u';') {
            if (s[i] == u'=') {
                if (i + 1 < n && s[i + 1] == u'=') { key += u'='; i += 2; continue; }
                break;
            }
            key += s[i++];
        }
        if (i >= n || s[i] == u';') { ++i; continue; }   // no "=": not a pair
        ++i;                                              // the "="
        while (i < n && s[i].isSpace()) ++i;
        QString value;
        if (i < n && (s[i] == u'"' || s[i] == u'\'')) {
            const QChar q = s[i++];
            while (i < n) {
                if (s[i] == q) {
                    if (i + 1 < n && s[i + 1] == q) { value += q; i += 2; continue; }
                    ++i;
                    break;
                }
                value += s[i++];
            }
            while (i < n && s[i] != u';') ++i;   // anything after the closing quote
        } else {
            while (i < n && s[i] != u';') value += s[i++];
            value = value.trimmed();
        }
        ++i;
        out.append({key.trimmed(), value});
    }
    return out;
}

} // namespace

QString TADOConnection::ConnectionValue(const QString& key) const
{
    for (const auto& p : connectionPairs(m_connectionString))
        if (p.first.compare(key, Qt::CaseInsensitive) == 0)
            return p.second;
    return QString();
}

void TADOConnection::Open()
{
    if (Connected()) return;
    if (m_connectionString.trimmed().isEmpty())
        throw EOleException(QStringLiteral("Missing Connection or ConnectionString"));
    const QString source = ConnectionValue(QStringLiteral("Data Source"));
    if (source.isEmpty())
        throw EOleException(QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]Server does not exist or access denied."));
    std::unique_ptr<DbEngine> engine;
    if (pgdb::IsPgAddress(source)) {
        // A server address: the SQL login's user and password log in; integrated security
        // logs in as the operating-system user.
        const bool integrated = !ConnectionValue(QStringLiteral("Integrated Security")).isEmpty();
        engine = pgdb::OpenPgEngine(source, m_connectionTimeout,
                                    integrated ? QString() : ConnectionValue(QStringLiteral("User ID")),
                                    integrated ? QString() : ConnectionValue(QStringLiteral("Password")));
    } else {
        engine = OpenDbEngine(source, m_connectionTimeout);
    }
    const QString catalog = ConnectionValue(QStringLiteral("Initial Catalog"));
    if (!catalog.isEmpty()) engine->UseDatabase(catalog);
    m_engine = std::move(engine);
}

void TADOConnection::Close()
{
    if (!m_engine) return;
    for (TADOQuery* q : m_queries)
        if (q->Active()) q->Close();
    if (m_engine->InTransaction()) {
        try { m_engine->RollbackTransaction(); } catch (...) {}
    }
    m_engine.reset();
}

DbEngine& TADOConnection::Engine()
{
    if (!m_engine)
        throw EOleException(QStringLiteral("Operation is not allowed when the object is closed."));
    return *m_engine;
}

int TADOConnection::BeginTrans()
{
    Engine().BeginTransaction();
    return 1;
}

void TADOConnection::CommitTrans()
{
    Engine().CommitTransaction();
}

void TADOConnection::RollbackTrans()
{
    Engine().RollbackTransaction();
}

bool TADOConnection::InTransaction() const
{
    return m_engine && m_engine->InTransaction();
}

namespace {

// Whether sql is "Use <name>" alone (any case, blanks around) naming current, which changes
// nothing on either engine.
bool usesCurrent(const QString& sql, const QString& current)
{
    const QStringView s = QStringView(sql).trimmed();
    if (s.size() < 5 || s.left(3).compare(QLatin1String("use"), Qt::CaseInsensitive) != 0 || !s[3].isSpace())
        return false;
    const QStringView name = s.mid(4).trimmed();
    for (const QChar c : name)
        if (!c.isLetterOrNumber() && c != u'_')
            return false;
    return !name.isEmpty() && name.compare(current, Qt::CaseInsensitive) == 0;
}

} // namespace

void TADOConnection::Execute(const QString& sql, int* rowsAffected)
{
    // Every statement that moves the connection to another database goes through the engine,
    // which keeps its current database; switching to the current one is answered here.
    if (m_engine && usesCurrent(sql, m_engine->CurrentDatabase())) {
        if (rowsAffected) *rowsAffected = -1;
        return;
    }
    DbResult r;
    Engine().Execute(sql, r);
    if (rowsAffected) *rowsAffected = int(r.rowsAffected);
}

void TADOConnection::attach(TADOQuery* q)
{
    if (!m_queries.contains(q)) m_queries.push_back(q);
}

void TADOConnection::detach(TADOQuery* q)
{
    m_queries.removeAll(q);
}
