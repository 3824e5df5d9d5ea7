// Auditing and un-auditing stock-in and stock-out bills through the data module.
//   BM_AuditCycle:   one cycle of 100-line bills on the embedded engine (audit the stock-in
//                    bill, audit the stock-out bill, un-audit both, each bill as its form holds
//                    it) against the engine writing the same rows directly (the cycle's write
//                    statements, recorded from the audit, replayed in one transaction per bill:
//                    the same rows written into the same account set, so the same work less the
//                    audit's reads and its own bookkeeping). Reports audit / direct; and, as
//                    same_ratio, audit / all the cycle's statements replayed (the bill read, the
//                    lookups and the writes), with the counts of statements and of writes per
//                    cycle. Only statements sent to the engine count: the data module reports a
//                    "Use" of the logged-in account set before each step but sends it only when
//                    the connection is in another database, which never happens in an audit.
//   BM_AuditServer:  the same cycle on the database server against the same cycle on the
//                    embedded engine, both timed by the wall clock (the server's work is done in
//                    its own processes), one after the other in each iteration, the order
//                    alternating. Reports server / embedded and the round trips to the server
//                    per 100-line bill as the engine counts them.
//   BM_AuditHistory: the same cycle in an account set with a long history against one with a
//                    short one: every table the posting reads grows together (ledger rows,
//                    price batches, turnover issue rows), half of the rows on the bills' own
//                    materials and half on others, at 1,000,000 ledger rows against 1,000.
//                    Reports large / small (posting must not slow down as the history grows).
//   BM_AuditLength:  the cycle with bills of 10, 100 and 1,000 lines. Reports the exponent of
//                    the time over the line count between 10 and 100 and between 100 and 1,000
//                    lines (1 is linear).
// The server is the one at DPX_PG_ADDRESS, or a private one started for the run.
#include "DM.h"
#include "benchserver.h"
#include "cpuclock.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/EngineExchanges.h"
#include "platform/db/postgres/PgEngine.h"
#include "platform/db/sqlite/SqliteEngine.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <sqlite3.h>

namespace {

constexpr int kLines = 100;
// Rows of the history in proportion to its ledger rows: price batches and turnover issue rows.
constexpr int kBatchesPerLedgerRow = 2;    // one batch for every second ledger row
constexpr int kIssuesPerLedgerRow = 10;    // one turnover issue row for every tenth
using Clock = CpuClock;   // other work on the machine does not count

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A program folder with the settings file, a data module and account sets restored from the
// build's template, each with 100 materials over the price models and turnover materials,
// one 100-line stock-in bill and one 100-line stock-out bill; on the embedded engine, or on the
// server when serverName is an address.
class Bench {
public:
    explicit Bench(const QString& serverName = QStringLiteral("\\sqlexpress")) : m_server(serverName)
    {
        SetProgramDirForTesting(m_dir.path());
        for (const char* sub : {"Database", "log", "dpxdata", "backdata", "dpxprt"})
            QDir(m_dir.path()).mkpath(QString::fromLatin1(sub));
        QFile::copy(QStringLiteral(DPX_PROGRAM_DIR "/dpxdata/materialdb"), m_dir.path() + QStringLiteral("/dpxdata/materialdb"));
        TIniFile ini(m_dir.path() + QStringLiteral("/log/adolinksetting.ini"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), serverName);
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), QStringLiteral("30"));
        MessageSink::Set([](MsgKind, const QString& text, const QString&) {
            std::fprintf(stderr, "%s\n", qPrintable(text));
            return true;
        });
        dm = std::make_unique<TrmtDM>();
    }
    ~Bench()
    {
        // Account sets on a shared server would stay behind.
        for (const QString& name : std::as_const(m_made))
            if (!m_server.startsWith(u'\\'))
                try {
                    exec(QStringLiteral("Use Master"));
                    exec(QStringLiteral("DROP DATABASE ") + name);
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "%s\n", e.what());
                }
        dm.reset();
        MessageSink::Set({});
        SetProgramDirForTesting(QString());
    }

    void exec(const QString& sql) { dm->ADOCon->Execute(sql); }
    // This bench's data module becomes the program's (the one statements run through).
    void activate() { rmtDM = dm.get(); }

    // A new account set with the master data, the two bills of the given length and a history
    // of the given number of ledger rows, with price batches and turnover issue rows in
    // proportion, of other bill lines, half of them on the bills' materials.
    void create(const QString& name, int history, int lines = kLines)
    {
        const QString dir = m_dir.path();
        m_made << name;
        exec(QStringLiteral("Use Master  RESTORE DATABASE %1 FROM DISK ='%2' with file=1,replace,MOVE 'materialdb_data' "
                            "TO '%3/Database/%1_data.mdf',MOVE 'materialdB_Log' TO '%3/Database/%1_log.ldf'")
                 .arg(name, QStringLiteral(DPX_PROGRAM_DIR "/dpxdata/materialdb"), dir));
        exec(QStringLiteral("Use ") + name);
        const int models[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}};
        for (int b = 0; b < 4; ++b)
            exec(QStringLiteral("insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate) "
                                "values (%1,1,'%2',1,0,'类%1',%3,%4,0)")
                     .arg(b + 2)
                     .arg(b + 2, 6, 10, QLatin1Char('0'))
                     .arg(models[b][0])
                     .arg(models[b][1]));
        exec(QStringLiteral("insert into suplist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'华北钢厂')"));
        exec(QStringLiteral("insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'一工区')"));
        exec(QStringLiteral("insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'一号楼')"));
        exec(QStringLiteral("insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,lister,assessor,brecorded,breverse) "
                            "values (1,0,1,'RK001','2024-03-05',3,2,'王五','',0,0)"));
        exec(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,lister,assessor,brecorded,breverse,bcylm,"
                            "breb) values (1,0,'2024-03-06',2,2,'CK001','王五','',0,0,0,0)"));
        dm->ADOCon->BeginTrans();
        for (int m = 1; m <= lines; ++m) {
            const int bid = 2 + m % 4;
            exec(QStringLiteral("insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (%1,%2,'%3','材料%1','','吨','')")
                     .arg(m)
                     .arg(bid)
                     .arg(bid, 6, 10, QLatin1Char('0')));
            const double price = 5 + m % 7;
            exec(QStringLiteral("insert into ibdetail (iid,idid,mid,qty,rprice,amount,rsprice,rdprice,sprice,dprice,remark) "
                                "values (1,0,%1,10,%2,%3,%2,%3,%2,%3,'')")
                     .arg(m)
                     .arg(price)
                     .arg(10 * price));
            exec(QStringLiteral("insert into ebdetail (eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,remark,cid,cfid,supid) "
                                "values (1,0,0,%1,4,%2,%3,%2,%3,'',1,3,2)")
                     .arg(m)
                     .arg(price)
                     .arg(4 * price));
        }
        dm->ADOCon->CommitTrans();
        // History rows of other bill lines, written straight into the tables: the odd ones on the
        // bills' own materials, the even ones on 5,000 others.
        const QString material = QStringLiteral("CASE WHEN x %% 2 = 1 THEN 1 + x %% %1 ELSE 10000 + x %% 5000 END").arg(lines);
        const auto fill = [&](QString sql, int rows) {
            sql.replace(QLatin1String("MATERIAL"), material);
            sql.replace(QLatin1String("%%"), QLatin1String("%"));
            if (!m_server.startsWith(u'\\')) {
                DbResult r;
                dynamic_cast<pgdb::PgEngine&>(dm->ADOCon->Engine())
                    .ExecuteNative(QStringLiteral("WITH c(x) AS (SELECT generate_series(1, %1)) ").arg(rows) + sql, r);
                return;
            }
            sqlite3* db = dynamic_cast<sqlitedb::SqliteEngine&>(dm->ADOCon->Engine()).Handle();
            const QByteArray text = QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c WHERE x<%1) ")
                                        .arg(rows)
                                        .toUtf8()
                                  + sql.toUtf8();
            if (sqlite3_exec(db, text.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                std::abort();
        };
        fill(QStringLiteral("INSERT INTO imexsrglist (pid,Mid,iid,bdate,comment,bnum,iqty,isprice,idprice,srgqty,srgcost) "
                            "SELECT 0, MATERIAL, 10000 + x, '2024-01-01', '入库', 'H', 1, 1, 1, 1, 1 FROM c"),
             history);
        fill(QStringLiteral("INSERT INTO mrplist (pid,mid,bdate,bnum,iid,eid,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,"
                            "rsprice,rdprice,cid,cfid,supid,remark) SELECT 0, MATERIAL, '2024-01-01', 'H', "
                            "CASE WHEN x %% 4 = 0 THEN 0 ELSE 10000 + x END, CASE WHEN x %% 4 = 0 THEN 10000 + x ELSE 0 END, "
                            "1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 2, '' FROM c"),
             std::max(1, history / kBatchesPerLedgerRow));
        fill(QStringLiteral("INSERT INTO cyldetaillist (eid,pid,mid,dptid,crtdate,qty,cost,remark) "
                            "SELECT 10000 + x, 0, MATERIAL, 2, '2024-01-01', 1, 1, '' FROM c"),
             std::max(1, history / kIssuesPerLedgerRow));
        exec(QStringLiteral("Use Master"));
    }

    // Logs in to the account set and opens both bills as their forms show them: the forms hold a
    // bill's head and lines when the clerk audits it, so reading them is no part of the audit.
    void login(const QString& name, int lines = kLines)
    {
        dbname = name;
        username = QStringLiteral("李会计");
        systype = TSystype::local;
        spricedots = 2;
        curpid = 0;
        for (int in = 0; in < 2; ++in) {
            m_head[in].SetData(dm->gettabledata(in ? QStringLiteral("vibmaster") : QStringLiteral("vebmaster"),
                                                QStringLiteral("fid"), QStringLiteral("fid=1"), 20));
            m_lines[in].SetData(dm->gettabledata(in ? QStringLiteral("vibdetail") : QStringLiteral("vebdetail"),
                                                 QStringLiteral("fid"), in ? QStringLiteral("iid=1") : QStringLiteral("eid=1"),
                                                 2 * lines));
        }
    }

    bool audit(bool in, bool post)
    {
        TClientDataSet* head = &m_head[in ? 1 : 0];
        TClientDataSet* lines = &m_lines[in ? 1 : 0];
        if (in)
            return post ? dm->imbillrecord(head, lines) : dm->imbillreverse(head, lines);
        return post ? dm->exbillrecord(head, lines) : dm->exbillreverse(head, lines);
    }

    // Audit both bills, then un-audit both: the account set ends as it began but for the ledger.
    void cycle()
    {
        if (!audit(true, true) || !audit(false, true) || !audit(false, false) || !audit(true, false))
            std::abort();
    }

    std::unique_ptr<TrmtDM> dm;

private:
    QString m_server;
    QStringList m_made;
    QTemporaryDir m_dir;
    TClientDataSet m_head[2], m_lines[2];   // [0] the stock-out bill, [1] the stock-in bill
};

void BM_AuditCycle(benchmark::State& state)
{
    Bench b;
    b.create(QStringLiteral("cycle"), 1000);
    b.login(QStringLiteral("cycle"));
    b.cycle();   // the batches exist from now on: every later cycle writes the same rows
    // The statements of one cycle, grouped per bill as the posting runs them: its writes, and
    // all of them (the reading of the bill and the lookups the posting makes line by line).
    QList<QStringList> writes, all;
    const QRegularExpression write(QStringLiteral("^\\s*(insert|update|delete)\\b"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression use(QStringLiteral("^\\s*use\\s"), QRegularExpression::CaseInsensitiveOption);
    b.dm->OnSQL = [&](const QString& s) {
        if (use.match(s).hasMatch())   // reported, but not sent: the connection is in the account set
            return;
        all.last() << s;
        if (write.match(s).hasMatch())
            writes.last() << s;
    };
    for (int i = 0; i < 4; ++i) {
        writes.append(QStringList());
        all.append(QStringList());
        const bool ok = i == 0 ? b.audit(true, true) : i == 1 ? b.audit(false, true) : i == 2 ? b.audit(false, false)
                                                                                                 : b.audit(true, false);
        if (!ok)
            std::abort();
    }
    b.dm->OnSQL = nullptr;
    const auto replay = [&](const QList<QStringList>& bills) {
        b.dm->OpenindicatinnDB(QStringLiteral("cycle"));
        for (const QStringList& bill : bills) {
            b.dm->ADOCon->BeginTrans();
            for (const QString& s : bill)
                b.dm->ADOCon->Execute(s);
            b.dm->ADOCon->CommitTrans();
        }
    };

    Clock::duration audited{}, direct{}, same{};
    int n = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        b.cycle();
        const auto t1 = Clock::now();
        replay(writes);
        const auto t2 = Clock::now();
        replay(all);
        const auto t3 = Clock::now();
        audited += t1 - t0;
        direct += t2 - t1;
        same += t3 - t2;
        ++n;
    }
    qsizetype nwrites = 0, nall = 0;
    for (int i = 0; i < writes.size(); ++i) {
        nwrites += writes[i].size();
        nall += all[i].size();
    }
    state.counters["audit_ms"] = ms(audited) / std::max(1, n);
    state.counters["direct_ms"] = ms(direct) / std::max(1, n);
    state.counters["ratio"] = ms(direct) > 0 ? ms(audited) / ms(direct) : 0;
    // The statements the posting is made of, run directly: what the audit costs beyond them.
    state.counters["statements"] = double(nall);
    state.counters["writes"] = double(nwrites);
    state.counters["same_ms"] = ms(same) / std::max(1, n);
    state.counters["same_ratio"] = ms(same) > 0 ? ms(audited) / ms(same) : 0;
}

void BM_AuditServer(benchmark::State& state)
{
    using Wall = std::chrono::steady_clock;
    Bench served(benchserver::server().address() + QStringLiteral("/dpxbenchpost%1_").arg(QCoreApplication::applicationPid()));
    Bench embedded;
    Bench* const both[] = {&served, &embedded};
    for (Bench* b : both) {   // the batches exist from now on: every later cycle writes the same rows
        b->activate();
        b->create(QStringLiteral("cycle"), 1000);
        b->login(QStringLiteral("cycle"));
        b->cycle();
    }
    Wall::duration spent[2]{};
    qint64 trips = 0;
    int n = 0;
    for (auto _ : state) {
        for (int k = 0; k < 2; ++k) {
            const int i = (n + k) % 2;   // who goes first alternates
            both[i]->activate();
            both[i]->login(QStringLiteral("cycle"));
            auto* exchanges = dynamic_cast<DbExchanges*>(&both[i]->dm->ADOCon->Engine());
            const qint64 before = exchanges ? exchanges->Exchanges() : 0;
            const auto t0 = Wall::now();
            both[i]->cycle();
            spent[i] += Wall::now() - t0;
            if (exchanges)
                trips += exchanges->Exchanges() - before;
        }
        ++n;
    }
    state.counters["server_ms"] = ms(spent[0]) / std::max(1, n);
    state.counters["embedded_ms"] = ms(spent[1]) / std::max(1, n);
    state.counters["ratio"] = ms(spent[1]) > 0 ? ms(spent[0]) / ms(spent[1]) : 0;
    // Four bills per cycle.
    state.counters["round_trips_per_bill"] = double(trips) / std::max(1, 4 * n);
}

void BM_AuditHistory(benchmark::State& state)
{
    Bench b;
    b.create(QStringLiteral("small"), 1000);
    b.create(QStringLiteral("large"), 1000000);
    Clock::duration small{}, large{};
    int n = 0;
    for (auto _ : state) {
        b.login(QStringLiteral("small"));
        const auto t0 = Clock::now();
        b.cycle();
        const auto t1 = Clock::now();
        b.login(QStringLiteral("large"));
        const auto t2 = Clock::now();
        b.cycle();
        const auto t3 = Clock::now();
        small += t1 - t0;
        large += t3 - t2;
        ++n;
    }
    state.counters["small_ms"] = ms(small) / std::max(1, n);
    state.counters["large_ms"] = ms(large) / std::max(1, n);
    state.counters["ratio"] = ms(small) > 0 ? ms(large) / ms(small) : 0;
}

void BM_AuditLength(benchmark::State& state)
{
    const int lengths[] = {10, 100, 1000};
    Bench b;
    for (int n : lengths)
        b.create(QStringLiteral("len%1").arg(n), 1000, n);
    for (int n : lengths) {   // the batches exist from now on: every later cycle writes the same rows
        b.login(QStringLiteral("len%1").arg(n), n);
        b.cycle();
    }
    double total[3] = {};
    int runs = 0;
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            b.login(QStringLiteral("len%1").arg(lengths[i]), lengths[i]);
            const auto t0 = Clock::now();
            b.cycle();
            total[i] += ms(Clock::now() - t0);
        }
        ++runs;
    }
    for (int i = 0; i < 3; ++i)
        state.counters[QStringLiteral("ms_%1").arg(lengths[i]).toStdString()] = total[i] / std::max(1, runs);
    state.counters["exp_10_100"] = total[0] > 0 ? std::log10(total[1] / total[0]) : 0;
    state.counters["exp_100_1000"] = total[1] > 0 ? std::log10(total[2] / total[1]) : 0;
}

} // namespace

BENCHMARK(BM_AuditCycle)->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AuditServer)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AuditHistory)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AuditLength)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
