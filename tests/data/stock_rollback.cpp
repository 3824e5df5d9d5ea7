// A failure at any step of a posting or a reversal leaves every table as it was: an error
// raised at each statement in turn, and a failing write on each table the operation writes.
#include "stock_fixture.h"
#include "platform/db/postgres/PgEngine.h"
#include "platform/db/sqlite/SqliteEngine.h"
#include "platform/rtl/Exceptions.h"

#include <QRegularExpression>
#include <QSet>
#include <sqlite3.h>

using namespace stocktest;

namespace {

class StockRollback : public StockTest {
protected:
    // Bills that together take every path of the posting and the reversal.
    void writebills()
    {
        exec("insert into msrglist (mid,qty,cost,preqty,precost) values (2,10,100,0,0)");
        exec("insert into maplist (mid,maprice) values (2,10)");
        exec("insert into cyldb (mid,qty,cost,srgqty,srgcost,eqty,ecost) values (4,0,0,0,0,0,0)");
        inhead(1);
        inline_(11, 1, Rebar, 10, 5);
        inline_(12, 1, Cement, 10, 12);
        inline_(13, 1, Timber, 3, 25);
        inline_(14, 1, Formwork, 20, 30);
        inline_(15, 1, Scaffold, 100, 2);
        inhead(2);
        inline_(21, 2, Rebar, -2, 5, 11);
        outhead(3);
        outline(31, 3, Rebar, 3, 5);
        outline(32, 3, Rebar, 1, 5);
        outline(33, 3, Cement, 2, 11);
        outline(34, 3, Formwork, 5, 30);
        outline(35, 3, Scaffold, 10, 2);
        outhead(4, true);
        outline(41, 4, Formwork, 2, 30);
    }

    // The lot picker: lines 31, 34 and 41 draw from the price lots that lines 11 and 14 of
    // stock-in bill 1 made, whatever keys the lots got (a key drawn by a transaction that was
    // rolled back is not handed out again on a server).
    void picklots()
    {
        for (const auto& [line, from] : {std::pair{31, 11}, std::pair{34, 14}, std::pair{41, 14}})
            exec(QStringLiteral("update ebdetail set rpid=isnull((select max(fid) from mrplist where iid=%1),0) where fid=%2")
                     .arg(from)
                     .arg(line));
    }

    // Makes the database refuse every row that kind ("insert", "update", "delete") writes to
    // table, with a trigger of the engine's own, until allow().
    void refuse(const QString& kind, const QString& table)
    {
        if (dpxtest::onServer()) {
            native(QStringLiteral("create or replace function dpx_injected() returns trigger language plpgsql as "
                                  "$$ begin raise exception 'injected'; end $$; "
                                  "create trigger injected before %1 on %2 for each row execute function dpx_injected()")
                       .arg(kind, table));
            m_refused = table;
            return;
        }
        const QByteArray trigger = QStringLiteral("create temp trigger injected before %1 on main.%2 begin "
                                                  "select raise(abort, 'injected'); end")
                                       .arg(kind, table)
                                       .toUtf8();
        ASSERT_EQ(sqlite3_exec(handle(), trigger.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    void allow()
    {
        if (dpxtest::onServer()) {
            native(QStringLiteral("drop trigger injected on ") + m_refused);
            return;
        }
        ASSERT_EQ(sqlite3_exec(handle(), "drop trigger temp.injected", nullptr, nullptr, nullptr), SQLITE_OK);
    }

    // The statements of op on fid, recorded from a run that fails at its last statement.
    QStringList statementsof(Op op, int fid)
    {
        QStringList sqls;
        const bool ok = audit(*dm, op, fid, [&] {
            dm->OnSQL = [&sqls](const QString& s) {
                sqls << s;
                if (s.contains(QLatin1String(" set assessor=")))
                    throw Exception(QStringLiteral("stop before the end"));
            };
        });
        dm->OnSQL = nullptr;
        EXPECT_FALSE(ok);
        return sqls;
    }

    // Runs op with a failure injected by arm; it must fail and leave every table as it was.
    void mustfail(Op op, int fid, const QStringList& before, const std::string& what,
                  const std::function<void()>& arm)
    {
        EXPECT_FALSE(audit(*dm, op, fid, arm)) << what;
        dm->OnSQL = nullptr;
        EXPECT_FALSE(dm->IntransAction()) << what;
        EXPECT_EQ(state(), before) << what;
    }

private:
    sqlite3* handle() { return dynamic_cast<sqlitedb::SqliteEngine&>(dm->ADOCon->Engine()).Handle(); }
    void native(const QString& sql)
    {
        DbResult r;
        dynamic_cast<pgdb::PgEngine&>(dm->ADOCon->Engine()).ExecuteNative(sql, r);
    }

    QString m_refused;
};

} // namespace

TEST_F(StockRollback, FailureAtEveryStepLeavesEveryTable)
{
    writebills();
    const std::pair<Op, int> sequence[] = {
        {PostIn, 1}, {PostIn, 2}, {PostOut, 3}, {PostOut, 4}, {ReverseOut, 4},
        {ReverseOut, 3}, {ReverseIn, 2}, {ReverseIn, 1}, {PostIn, 1}, {PostOut, 3},
    };
    const QRegularExpression write(QStringLiteral("^\\s*(insert into|update|delete)\\s+(\\w+)"),
                                   QRegularExpression::CaseInsensitiveOption);
    for (const auto& [op, fid] : sequence) {
        picklots();
        const QStringList before = state();
        const QStringList sqls = statementsof(op, fid);
        ASSERT_FALSE(sqls.isEmpty());
        EXPECT_EQ(state(), before);

        // An error raised at each kind of statement in turn (the first statement of each
        // shape: the same text but for its values).
        const QRegularExpression values(QStringLiteral("'[^']*'|\\b\\d+(\\.\\d+)?(E-?\\d+)?\\b"));
        QSet<QString> shapes;
        for (int k = 0; k < sqls.size(); ++k) {
            if (shapes.contains(QString(sqls[k]).replace(values, QStringLiteral("?"))))
                continue;
            shapes.insert(QString(sqls[k]).replace(values, QStringLiteral("?")));
            int n = 0;
            mustfail(op, fid, before, "op " + std::to_string(op) + " bill " + std::to_string(fid) + " error at " +
                                          sqls[k].toStdString(),
                     [&] {
                         dm->OnSQL = [&n, k](const QString&) {
                             if (n++ == k)
                                 throw Exception(QStringLiteral("injected"));
                         };
                     });
        }

        // A write refused by the database on each table and kind of write the operation makes.
        QSet<QString> done;
        for (const QString& s : sqls) {
            const auto m = write.match(s);
            if (!m.hasMatch())
                continue;
            const QString kind = m.captured(1).section(u' ', 0, 0).toLower();
            const QString table = m.captured(2);
            if (done.contains(kind + table))
                continue;
            done.insert(kind + table);
            refuse(kind, table);
            if (HasFatalFailure())
                return;
            messages.clear();
            mustfail(op, fid, before, "op " + std::to_string(op) + " bill " + std::to_string(fid) + " refused " +
                                          (kind + QLatin1Char(' ') + table).toStdString(),
                     {});
            EXPECT_TRUE(messages.value(messages.size() - 1).startsWith(QStringLiteral("数据数据出错：")));
            allow();
            if (HasFatalFailure())
                return;
        }

        // And then it runs through.
        messages.clear();
        EXPECT_TRUE(audit(*dm, op, fid)) << messages.join(u'\n').toStdString();
        EXPECT_NE(state(), before);
    }
}
