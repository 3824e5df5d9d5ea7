#pragma once
// Translation of the T-SQL the program composes into statements the embedded engine runs.
// A batch is split into statements (the program sends several without separators, such as
// "Use Master  RESTORE DATABASE ..."); each becomes either SQLite text or an administration
// step. Translations are cached per distinct text.
#include "Tokenizer.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

namespace tsql {

enum class StmtKind {
    Sql,             // sql: one or more SQLite statements, run as one unit
    Nothing,         // SET options and the like: accepted, nothing to do
    Use,             // name
    CreateDatabase,  // name
    Restore,         // name, path (the backup), dataFile (MOVE target of the data file), replace
    Backup,          // name, path
    SetOnline,       // name
    SetOffline,      // name
    DropDatabase,    // names
    IfExists,        // condition (SQLite select), negate; body runs when the condition holds
};

struct Statement {
    StmtKind kind = StmtKind::Sql;
    QStringList sql;
    QString name;
    QStringList names;
    QString path;
    QString dataFile;
    bool replace = false;
    QString condition;
    bool negate = false;
    std::shared_ptr<Statement> body;
    QString source;              // the statement's own T-SQL text (when it mentions master)
    bool mentionsMaster = false; // names master..t (its translation depends on the current database)
};

using Batch = QVector<Statement>;

// The name of a text column's length check starts with this, followed by the column's name.
inline constexpr const char* kLengthCheck = "dpx_len$";
// The server's message for a text too long for its column, when an engine's message names the
// length check (or is the engine's own "too long"); empty otherwise.
QString TruncationMessage(const QString& engineMessage);

// currentIsMaster: the connection's current database is master, so "master..t" is the plain t.
// Raises EOleException ("Incorrect syntax near ...") for text it cannot translate.
Batch TranslateBatch(const QString& tsql, bool currentIsMaster);

// A bounded cache of translations.
class TranslationCache {
public:
    std::shared_ptr<const Batch> Get(const QString& tsql, bool currentIsMaster);
    int Size() const { return int(m_map[0].size() + m_map[1].size()); }
private:
    // By the text, one map for each current database kind (another than master, master).
    QHash<QString, std::shared_ptr<const Batch>> m_map[2];
};

// A Windows path as the program composes it ("C:\prog\backdata\x", "/opt/prog\Database\y.mdf")
// turned into a local path.
QString LocalPath(const QString& path);

} // namespace tsql
