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

QString TADOConnection::ConnectionValue(const QString& key) const
{
    // "key=value;key=value" (no quoting in the strings the program builds).
    const QStringList parts = m_connectionString.split(u';');
    for (const QString& p : parts) {
        const int eq = p.indexOf(u'=');
        if (eq < 0) continue;
        if (p.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return p.mid(eq + 1).trimmed();
    }
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

void TADOConnection::Execute(const QString& sql, int* rowsAffected)
{
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
