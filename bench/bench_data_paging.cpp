// Loading a 100,000-row table into a client dataset page by page through gettabledata, in
// pages of 20 rows as the lists load it, on the embedded engine and on the database server.
//
// Baseline: one plain SELECT of the same rows in the same order ("select * from big order by
// fid") through a query on the same connection, into memory, in the same run. It is the same
// work: the same 100,000 rows come from the same engine into memory; what the paged load does
// beyond it is the paging itself (a statement per page, each page's rows appended). Both sides
// run once before the timing (caches, prepared statements and plans warm), then in alternating
// order, plain first in one iteration and paged first in the next.
//
// Time is CPU time: this process's, and on the server the server session's as well (the
// server's share of the work runs in its own process), so that other load on the machine does
// not count. wall_ratio gives the same ratio in elapsed time.
//
// Counters:
//   ratio        paged / plain (CPU time of the client and the server session)
//   wall_ratio   paged / plain in elapsed time
//   pages        page statements of one load
//   page_bytes   server only: bytes of values received per page statement
//   page_rows    server only: page_bytes over the bytes of one row of the plain SELECT: the rows
//                the server sends for a page (20 and the one that looks past the page)
#include "DM.h"
#include "benchserver.h"
#include "cpuclock.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/postgres/PgEngine.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <unistd.h>

namespace {

constexpr int Rows = 100000;
constexpr int PageRows = 20;

// The CPU time of a server session's process (the server runs on this machine), in seconds.
double sessionSeconds(qint64 pid)
{
    if (pid <= 0)
        return 0;
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = f.readAll();
    // After the command name in parentheses: state is field 3, utime and stime fields 14 and 15.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return double(fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

// One engine's program folder, with account set "paging" holding table big.
class Books {
public:
    explicit Books(bool onServer)
    {
        SetProgramDirForTesting(m_dir.path());
        MessageSink::Set([](MsgKind, const QString&, const QString&) { return true; });
        const QString serverName = onServer ? benchserver::server().address()
                                                  + QStringLiteral("/dpxpaging%1_").arg(QCoreApplication::applicationPid())
                                            : QStringLiteral("\\sqlexpress");
        TIniFile ini(m_dir.path() + QStringLiteral("/log/adolinksetting.ini"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), serverName);
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), QStringLiteral("30"));
        dm = std::make_unique<TrmtDM>();
        TADOConnection& con = *dm->ADOCon;
        con.Execute(QStringLiteral("create database paging"));
        dbname = QStringLiteral("paging");
        dm->OpenindicatinnDB(dbname);
        con.Execute(QStringLiteral("CREATE TABLE [dbo].[big] ([fid] [int] NOT NULL ,[name] [varchar] (30) NULL ,"
                                   "[qty] [numeric](18, 4) NULL , CONSTRAINT [PK_big] PRIMARY KEY CLUSTERED ([fid]) "
                                   "ON [PRIMARY]) ON [PRIMARY]"));
        con.BeginTrans();
        for (int from = 1; from <= Rows; from += 1000) {
            QString sql = QStringLiteral("insert into big (fid, name, qty) values ");
            for (int i = from; i < from + 1000; ++i)
                sql += QStringLiteral("%1(%2, '材料%2', %3)").arg(i == from ? QString() : QStringLiteral(",")).arg(i).arg(i % 97 + 0.25);
            con.Execute(sql);
        }
        con.CommitTrans();
        server = dynamic_cast<pgdb::PgEngine*>(&con.Engine());
        if (server) {
            DbResult r;
            server->ExecuteNative(QStringLiteral("select pg_backend_pid()"), r);
            session = r.rows.value(0).value(0).ToInt64();
        }
    }
    ~Books()
    {
        dbname = QString();
        try {
            dm->OpenindicatinnDB(dbname);
            dm->ADOCon->Execute(QStringLiteral("DROP DATABASE paging"));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
        dm.reset();
        MessageSink::Set({});
        SetProgramDirForTesting(QString());
    }

    // CPU time of this process and the server session, and elapsed time.
    struct Cost {
        double cpu = 0, wall = 0;
    };
    template <class F>
    Cost measure(F&& f)
    {
        const auto w0 = std::chrono::steady_clock::now();
        const auto c0 = CpuClock::now();
        const double s0 = sessionSeconds(session);
        f();
        const double s1 = sessionSeconds(session);
        const auto c1 = CpuClock::now();
        const auto w1 = std::chrono::steady_clock::now();
        return {std::chrono::duration<double>(c1 - c0).count() + (s1 - s0), std::chrono::duration<double>(w1 - w0).count()};
    }

    void plain(benchmark::State& state)
    {
        TADOQuery query(dm->ADOCon.get());
        query.SQL().append(QStringLiteral("select * from big order by fid"));
        query.Open();
        if (query.RecordCount() != Rows)
            state.SkipWithError("plain SELECT lost rows");
    }
    void paged(benchmark::State& state)
    {
        TClientDataSet cds;
        cds.SetData(dm->gettabledata(QStringLiteral("big"), QStringLiteral("fid"), QStringLiteral("1=1"), PageRows));
        if (cds.RecordCount() != Rows)
            state.SkipWithError("paged load lost rows");
    }
    qint64 bytes() const { return server ? server->BytesReceived() : 0; }

    std::unique_ptr<TrmtDM> dm;
    pgdb::PgEngine* server = nullptr;
    qint64 session = 0;

private:
    QTemporaryDir m_dir;
};

void pagedLoad(benchmark::State& state, Books& books)
{
    int pages = 0;
    books.dm->OnSQL = [&](const QString& s) { pages += s.startsWith(QLatin1String("select")); };
    const qint64 b0 = books.bytes();
    books.paged(state);
    const qint64 b1 = books.bytes();
    books.dm->OnSQL = nullptr;
    books.plain(state);
    const qint64 b2 = books.bytes();
    Books::Cost plain, paged;
    bool plainFirst = true;
    for (auto _ : state) {
        const auto p = [&] { return books.measure([&] { books.plain(state); }); };
        const auto g = [&] { return books.measure([&] { books.paged(state); }); };
        Books::Cost a, b;
        if (plainFirst) {
            a = p();
            b = g();
        } else {
            b = g();
            a = p();
        }
        plainFirst = !plainFirst;
        plain.cpu += a.cpu;
        plain.wall += a.wall;
        paged.cpu += b.cpu;
        paged.wall += b.wall;
        state.SetIterationTime(b.cpu);
    }
    const double n = double(state.iterations());
    state.counters["plain_s"] = plain.cpu / n;
    state.counters["paged_s"] = paged.cpu / n;
    state.counters["ratio"] = plain.cpu > 0 ? paged.cpu / plain.cpu : 0;
    state.counters["wall_ratio"] = plain.wall > 0 ? paged.wall / plain.wall : 0;
    state.counters["pages"] = pages;
    if (books.server && pages > 0) {
        const double pageBytes = double(b1 - b0) / pages;
        state.counters["page_bytes"] = pageBytes;
        state.counters["page_rows"] = pageBytes / (double(b2 - b1) / Rows);
    }
}

void BM_PagedLoadEmbedded(benchmark::State& state)
{
    Books books(false);
    pagedLoad(state, books);
}
BENCHMARK(BM_PagedLoadEmbedded)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

void BM_PagedLoadServer(benchmark::State& state)
{
    Books books(true);
    pagedLoad(state, books);
}
BENCHMARK(BM_PagedLoadServer)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
