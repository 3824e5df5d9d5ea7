// Auditing 100-line bills with several clients at once, each client its own process with its
// own connection, on the database server and on the embedded engine.
//   BM_ServerClients/N/separate:   N clients on the server, each auditing its own 100-line
//                         stock-in and stock-out bills and un-auditing them again (four postings
//                         of 100 lines), all of them on the same 100 materials (separate 0) or
//                         each client on 100 materials of its own (separate 1). Reports bills per
//                         second, the ratio against one client doing the same work on the server
//                         in the same iteration (x_1client: the same bills, the same account set,
//                         only the clients at once instead of one) and against one client on the
//                         embedded engine (x_embedded).
//   BM_EmbeddedClients/N/separate: the same work on the embedded engine (one database file),
//                         against one embedded client.
// Each figure is the median of three iterations. The server is the one at DPX_PG_ADDRESS, or a
// private one started for the run.
// Run: build/bench/bench_concurrent_audit --benchmark_counters_tabular=true
#include "DM.h"
#include "benchserver.h"
#include "data/schema/SchemaScript.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLines = 100;
constexpr int kMaxClients = 8;
// Audit and un-audit rounds per client and run: enough that a run lasts long enough for its
// rate to settle, so one client against one client stays within a few percent of 1. The
// embedded engine posts a bill several times faster than the server, so it runs more rounds.
constexpr int kServerCycles = 8;
constexpr int kEmbeddedCycles = 24;
const char* const kWorkerVariable = "DPX_BENCH_AUDIT_WORKER";

qint64 now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

using benchserver::server;
using benchserver::sourceFile;

// The key of client c's bills: on the shared materials c, on its own materials 100 + c.
int billkey(int client, bool separate) { return separate ? 100 + client : client; }
// The first of the materials of client c's bills.
int firstmaterial(int client, bool separate) { return separate ? client * kLines + 1 : 1; }

void writesettings(const QString& dir, const QString& serverName)
{
    for (const char* sub : {"Database", "log", "dpxdata", "backdata", "dpxprt"})
        QDir(dir).mkpath(QString::fromLatin1(sub));
    TIniFile ini(dir + QStringLiteral("/log/adolinksetting.ini"));
    ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), serverName);
    ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
    ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), QStringLiteral("60"));
}

void login()
{
    dbname = QStringLiteral("bench");
    username = QStringLiteral("李会计");
    systype = TSystype::local;
    spricedots = 2;
    curpid = 0;
}

// A program folder whose settings point at one engine, with account set "bench": 100 shared
// materials and 100 of each client's own, over the price models and turnover materials, and for
// every client a 100-line stock-in bill and a 100-line stock-out bill on the shared materials
// and another pair on its own (keys: billkey).
class Books {
public:
    explicit Books(const QString& serverName)
        : m_cycles(serverName.startsWith(u'\\') ? kEmbeddedCycles : kServerCycles)
    {
        writesettings(m_dir.path(), serverName);
        SetProgramDirForTesting(m_dir.path());
        MessageSink::Set([](MsgKind, const QString& text, const QString&) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            return true;
        });
        {
            TrmtDM dm;
            auto exec = [&](const QString& sql) { dm.ADOCon->Execute(sql); };
            exec(QStringLiteral("create database bench"));
            exec(QStringLiteral("Use bench"));
            dpxschema::runScript(dm.ADOCon->Engine(), dpxschema::readScript(sourceFile("data/schema/materialdb.sql")));
            dm.ADOCon->BeginTrans();
            const int models[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}};
            for (int b = 0; b < 4; ++b)
                exec(QStringLiteral("insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,"
                                    "adminrate) values (%1,1,'%2',1,0,'类%1',%3,%4,0)")
                         .arg(b + 2)
                         .arg(b + 2, 6, 10, QLatin1Char('0'))
                         .arg(models[b][0])
                         .arg(models[b][1]));
            exec(QStringLiteral("insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'一工区')"));
            exec(QStringLiteral("insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'一号楼')"));
            for (int m = 1; m <= (kMaxClients + 1) * kLines; ++m)
                exec(QStringLiteral("insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (%1,%2,'%3','材料%1','','吨','')")
                         .arg(m)
                         .arg(2 + m % 4)
                         .arg(2 + m % 4, 6, 10, QLatin1Char('0')));
            for (int c = 1; c <= kMaxClients; ++c)
                for (const bool separate : {false, true}) {
                    const int key = billkey(c, separate);
                    exec(QStringLiteral("insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,lister,assessor,brecorded,"
                                        "breverse) values (%1,0,1,'RK%1','2024-03-05',3,2,'王五','',0,0)")
                             .arg(key));
                    exec(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,lister,assessor,brecorded,"
                                        "breverse,bcylm,breb) values (%1,0,'2024-03-06',2,2,'CK%1','王五','',0,0,0,0)")
                             .arg(key));
                    for (int i = 0; i < kLines; ++i) {
                        const int m = firstmaterial(c, separate) + i;
                        const double price = 5 + m % 7;
                        exec(QStringLiteral("insert into ibdetail (iid,idid,mid,qty,rprice,amount,rsprice,rdprice,sprice,"
                                            "dprice,remark) values (%1,0,%2,10,%3,%4,%3,%4,%3,%4,'')")
                                 .arg(key)
                                 .arg(m)
                                 .arg(price)
                                 .arg(10 * price));
                        exec(QStringLiteral("insert into ebdetail (eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,"
                                            "remark,cid,cfid,supid) values (%1,0,0,%2,4,%3,%4,%3,%4,'',1,3,2)")
                                 .arg(key)
                                 .arg(m)
                                 .arg(price)
                                 .arg(4 * price));
                    }
                }
            dm.ADOCon->CommitTrans();
        }
        MessageSink::Set({});
        SetProgramDirForTesting(QString());
    }

    // The account set goes again (on a shared server it would stay behind).
    ~Books()
    {
        SetProgramDirForTesting(m_dir.path());
        try {
            TrmtDM dm;
            dm.ADOCon->Execute(QStringLiteral("DROP DATABASE bench"));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
        SetProgramDirForTesting(QString());
    }

    // N client processes, started and connected before the clock starts; each audits its two
    // bills and un-audits them. Bills per second over the span from the first client's start to
    // the last one's end.
    double run(int clients, bool separate)
    {
        std::vector<std::unique_ptr<QProcess>> procs;
        for (int c = 1; c <= clients; ++c) {
            auto p = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QString::fromLatin1(kWorkerVariable),
                       m_dir.path() + u';' + QString::number(billkey(c, separate)) + u';' + QString::number(m_cycles));
            p->setProcessEnvironment(env);
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QCoreApplication::applicationFilePath(), {});
            procs.push_back(std::move(p));
        }
        for (auto& p : procs) {
            while (!p->canReadLine())
                if (!p->waitForReadyRead(120000))
                    std::abort();
            if (p->readLine().trimmed() != "ready")
                std::abort();
        }
        for (auto& p : procs) {
            p->write("go\n");
            p->waitForBytesWritten(10000);
        }
        qint64 first = 0, last = 0;
        int bills = 0;
        for (auto& p : procs) {
            if (!p->waitForFinished(600000) || p->exitCode() != 0)
                std::abort();
            const QList<QByteArray> f = p->readAll().trimmed().split(' ');
            if (f.size() != 3)
                std::abort();
            first = first == 0 ? f[0].toLongLong() : std::min(first, f[0].toLongLong());
            last = std::max(last, f[1].toLongLong());
            bills += f[2].toInt();
        }
        return bills / ((last - first) / 1e9);
    }

private:
    int m_cycles;
    QTemporaryDir m_dir;
};

// One client process: audit and un-audit its two bills, then report when it started and ended.
int worker(const QString& spec)
{
    SetProgramDirForTesting(spec.section(u';', 0, 0));
    const int client = spec.section(u';', 1, 1).toInt();   // the key of its bills
    const int cycles = spec.section(u';', 2, 2).toInt();
    MessageSink::Set([](MsgKind, const QString& text, const QString&) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return true;
    });
    TrmtDM dm;
    login();
    dm.OpenindicatinnDB(dbname);
    std::printf("ready\n");
    std::fflush(stdout);
    char go[8];
    if (!std::fgets(go, sizeof go, stdin))
        return 1;
    const qint64 t0 = now();
    int bills = 0;
    // Audit the stock-in bill, then the stock-out bill; un-audit them in the opposite order.
    const std::pair<bool, bool> steps[] = {{true, true}, {false, true}, {false, false}, {true, false}};
    for (int cycle = 0; cycle < cycles; ++cycle)
        for (const auto& [in, post] : steps) {
            TClientDataSet head, lines;
            const QString key = QString::number(client);
            head.SetData(dm.gettabledata(in ? QStringLiteral("vibmaster") : QStringLiteral("vebmaster"),
                                         QStringLiteral("fid"), QStringLiteral("fid=") + key, 20));
            lines.SetData(dm.gettabledata(in ? QStringLiteral("vibdetail") : QStringLiteral("vebdetail"),
                                          QStringLiteral("fid"), (in ? QStringLiteral("iid=") : QStringLiteral("eid=")) + key,
                                          2 * kLines));
            const bool ok = in ? (post ? dm.imbillrecord(&head, &lines) : dm.imbillreverse(&head, &lines))
                               : (post ? dm.exbillrecord(&head, &lines) : dm.exbillreverse(&head, &lines));
            if (!ok)
                return 1;
            ++bills;
        }
    std::printf("%lld %lld %d\n", static_cast<long long>(t0), static_cast<long long>(now()), bills);
    std::fflush(stdout);
    return 0;
}

// The two account sets, made once for all benchmarks.
struct Engines {
    Engines()
        : served(server().address() + QStringLiteral("/dpxbench%1_").arg(QCoreApplication::applicationPid())),
          embedded(QStringLiteral("\\sqlexpress"))
    {
    }
    Books served, embedded;
};

Engines& engines()
{
    static Engines e;
    return e;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// N clients, then one client on the same engine and one on the embedded engine, in each
// iteration, so that every ratio compares runs made at the same time; the medians over the
// iterations (three), since other work on the machine comes and goes.
void report(benchmark::State& state, bool onServer)
{
    const int clients = int(state.range(0));
    const bool separate = state.range(1) != 0;
    Books& books = onServer ? engines().served : engines().embedded;
    std::vector<double> rate, single, embedded;
    for (auto _ : state) {
        const double r = books.run(clients, separate);
        rate.push_back(r);
        single.push_back(r / books.run(1, separate));
        if (onServer)
            embedded.push_back(r / engines().embedded.run(1, separate));
    }
    state.counters["bills_per_s"] = median(rate);
    state.counters["x_1client"] = median(single);
    if (onServer)
        state.counters["x_embedded"] = median(embedded);
}

void BM_ServerClients(benchmark::State& state) { report(state, true); }
void BM_EmbeddedClients(benchmark::State& state) { report(state, false); }

BENCHMARK(BM_ServerClients)->ArgsProduct({{2, 4, 8}, {0, 1}})->ArgNames({"", "separate"})->Iterations(3)
    ->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_EmbeddedClients)->ArgsProduct({{2, 4, 8}, {0, 1}})->ArgNames({"", "separate"})->Iterations(3)
    ->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString spec = qEnvironmentVariable(kWorkerVariable);
    if (!spec.isEmpty())
        return worker(spec);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
