// Loading a 100,000-row table into a client dataset page by page through gettabledata,
// against one plain SELECT of the same rows through the same engine in the same run.
// Reports the ratio paged / plain, and as pages_ratio the time of the load's page SELECTs run
// straight on the engine against the same plain SELECT: the share of the paging itself.
#include "DM.h"
#include "cpuclock.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/ClientDataSet.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

constexpr int Rows = 100000;

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<TrmtDM> dm;

    Fixture()
    {
        SetProgramDirForTesting(dir.path());
        MessageSink::Set([](MsgKind, const QString&, const QString&) { return true; });
        TIniFile ini(dir.path() + QStringLiteral("/log/adolinksetting.ini"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), QStringLiteral("\\sqlexpress"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), QStringLiteral("5"));
        dm = std::make_unique<TrmtDM>();
        TADOConnection& con = *dm->ADOCon;
        con.Execute(QStringLiteral("CREATE TABLE [dbo].[big] ([fid] [int] NOT NULL ,[name] [varchar] (30) NULL ,"
                                   "[qty] [numeric](18, 4) NULL , CONSTRAINT [PK_big] PRIMARY KEY CLUSTERED ([fid]) "
                                   "ON [PRIMARY]) ON [PRIMARY]"));
        con.BeginTrans();
        for (int i = 1; i <= Rows; ++i)
            con.Execute(QStringLiteral("insert into big (fid, name, qty) values (%1, '材料%1', %2)").arg(i).arg(i % 97 + 0.25));
        con.CommitTrans();
    }
    ~Fixture()
    {
        dm.reset();
        MessageSink::Set({});
        SetProgramDirForTesting(QString());
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

double seconds(CpuClock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_PagedLoadAgainstPlainSelect(benchmark::State& state)
{
    Fixture& f = fixture();
    // The page SELECTs of one paged load, to be run straight on the engine as well: what the
    // load costs beyond its statements.
    QStringList pages;
    f.dm->OnSQL = [&](const QString& s) {
        if (s.startsWith(QLatin1String("select")))
            pages << s;
    };
    f.dm->gettabledata(QStringLiteral("big"), QStringLiteral("fid"), QStringLiteral("1=1"), 20);
    f.dm->OnSQL = nullptr;
    double plain = 0, paged = 0, statements = 0;
    for (auto _ : state) {
        auto t0 = CpuClock::now();
        {
            TADOQuery query(f.dm->ADOCon.get());
            query.SQL().append(QStringLiteral("select * from big order by fid"));
            query.Open();
            if (query.RecordCount() != Rows)
                state.SkipWithError("plain SELECT lost rows");
        }
        auto t1 = CpuClock::now();
        {
            TClientDataSet cds;
            cds.SetData(f.dm->gettabledata(QStringLiteral("big"), QStringLiteral("fid"), QStringLiteral("1=1"), 20));
            if (cds.RecordCount() != Rows)
                state.SkipWithError("paged load lost rows");
        }
        auto t2 = CpuClock::now();
        {
            DbResult r;
            for (const QString& s : pages)
                f.dm->ADOCon->Engine().Execute(s, r, 21);
        }
        auto t3 = CpuClock::now();
        plain += seconds(t1 - t0);
        paged += seconds(t2 - t1);
        statements += seconds(t3 - t2);
        state.SetIterationTime(seconds(t2 - t1));
    }
    state.counters["plain_s"] = plain / double(state.iterations());
    state.counters["paged_s"] = paged / double(state.iterations());
    state.counters["ratio"] = plain > 0 ? paged / plain : 0;
    // The page statements alone, run on the engine: their count is the pages of 20 rows.
    state.counters["pages"] = double(pages.size());
    state.counters["pages_s"] = statements / double(state.iterations());
    state.counters["pages_ratio"] = plain > 0 ? statements / plain : 0;
}
BENCHMARK(BM_PagedLoadAgainstPlainSelect)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
