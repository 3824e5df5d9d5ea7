// The engine layer against SQLite itself: one stock-in line posted as the stock engine posts
// it (counter, lookups, ledger row, price batch, stock update in one transaction), once through
// TADOConnection and TADOQuery as the data module runs it (a query per statement: the T-SQL
// text with its values, lookups opened into fields, writes executed) and once straight on
// SQLite as a program written for it would: the same translated statements, prepared once
// with parameters where the values go, the line's values bound, every column of a row read by
// its type, in one BEGIN IMMEDIATE ... COMMIT. It is the same work: the same statements with
// the same values on a copy of the same database (same schema, triggers and rows), each line
// once on each side; the sides run in alternating order, and the statements are warm on both
// (prepared at the start on the raw side, kept prepared by the layer after the first line).
// Reports layer / raw.
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/sqlite/SqliteEngine.h"
#include "platform/db/sqlite/SqliteShape.h"
#include "platform/db/tsql/Translator.h"
#include "platform/rtl/Program.h"
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <sqlite3.h>

namespace {

const char* const kSchema[] = {
    "CREATE TABLE [dbo].[IDlist] ([fid] [int] IDENTITY (1, 1) NOT NULL ,[IDname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,[ID] [int] NULL ) ON [PRIMARY]",
    "CREATE TABLE [dbo].[breedlist] ([FID] [int] NOT NULL PRIMARY KEY, [pricemodal] [int] NOT NULL, [breedtype] [int] NOT NULL)",
    "CREATE TABLE [dbo].[mtrlist] ([FID] [int] NOT NULL PRIMARY KEY, [bID] [int] NOT NULL, [code] [varchar] (50) NOT NULL, [mname] [varchar] (50) NOT NULL)",
    "CREATE TABLE [dbo].[msrglist] ([mid] [int] NOT NULL PRIMARY KEY, [qty] [numeric](18, 4) NULL, [cost] [numeric](18, 4) NULL, "
    "[price] [numeric](18, 4) NULL, [preqty] [numeric](18, 4) NULL, [precost] [numeric](18, 4) NULL)",
    "CREATE TABLE [dbo].[imexsrglist] ([fid] [int] IDENTITY (1, 1) NOT NULL PRIMARY KEY, [pid] [int] NOT NULL, [Mid] [int] NOT NULL, [iid] [int] NULL, "
    "[eid] [int] NULL, [bdate] [datetime] NULL, [comment] [varchar] (50) NULL, [dptprj] [varchar] (50) NULL, [bnum] [varchar] (50) NULL, "
    "[iqty] [numeric](18, 4) NULL, [isprice] [numeric](18, 4) NULL, [idprice] [numeric](18, 4) NULL, [eqty] [numeric](18, 4) NULL, "
    "[esprice] [numeric](18, 4) NULL, [edprice] [numeric](18, 4) NULL, [srgqty] [numeric](18, 4) NULL, [srgcost] [numeric](18, 4) NULL, "
    "[remark] [varchar] (50) NULL, [printed] [bit] NULL DEFAULT (0))",
    "CREATE INDEX [IX_imexsrglist_mid] ON [dbo].[imexsrglist]([Mid])",
    "CREATE TABLE [dbo].[mrplist] ([fid] [int] IDENTITY (1, 1) NOT NULL PRIMARY KEY, [mid] [int] NOT NULL, [bdate] [datetime] NULL, "
    "[bnum] [varchar] (50) NULL, [iid] [int] NULL, [eid] [int] NULL, [orgqty] [numeric](18, 4) NULL, [orgdprice] [numeric](18, 4) NULL, "
    "[orgrdprice] [numeric](18, 4) NULL, [qty] [numeric](18, 4) NULL, [sprice] [numeric](18, 4) NULL, [dprice] [numeric](18, 4) NULL, "
    "[rsprice] [numeric](18, 4) NULL, [rdprice] [numeric](18, 4) NULL, [remark] [varchar] (50) NULL, [block] [bit] NULL DEFAULT (0), "
    "[Pid] [int] NULL, [cid] [int] NULL, [cfid] [int] NULL, [supid] [int] NULL)",
    "CREATE INDEX [IX_mrplist_mid] ON [dbo].[mrplist]([mid])",
    "insert into IDlist (IDname, ID) values ('IID', 0)",
    "insert into breedlist (FID, pricemodal, breedtype) values (1, 0, 0)",
};

constexpr int kMaterials = 100;

// The statements of posting line n (texts composed with the values, as the stock engine does).
QStringList postingLine(int n, qint64 counter)
{
    const int mid = 1 + n % kMaterials;
    const QString m = QString::number(mid);
    const QString q = QStringLiteral("'%1'").arg(m);
    const double qty = 1 + n % 7 * 0.25, price = 3.5 + n % 11 * 0.1;
    const QString qt = QStringLiteral("'%1'").arg(qty), pr = QStringLiteral("'%1'").arg(price),
                  am = QStringLiteral("'%1'").arg(qty * price);
    return {
        QStringLiteral("select id from IDlist  with(Xlock) where IDname='IID'"),
        QStringLiteral("update idlist set id=%1 where idname='IID'").arg(counter),
        QStringLiteral("select b.pricemodal from mtrlist a,breedlist b where a.fid=%1 and a.bid =b.fid").arg(q),
        QStringLiteral("select qty from msrglist where mid=") + m,
        QStringLiteral("select cost from msrglist where mid=") + m,
        QStringLiteral("insert into imexsrglist (mid,pid,iid,bdate,bnum,comment,dptprj,iqty,isprice,idprice,srgqty,srgcost,remark)"
                       " values (%1,'1','%2','2024-01-05','入库 11-%2','入库','甲供→供应厂商',%3,%4,%5,%3,%5,'')")
            .arg(q).arg(counter).arg(qt, pr, am),
        QStringLiteral("insert into mrplist (pid,mid,bdate,bnum,iid,eid,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,rsprice,rdprice,cid,cfid,supid,remark)"
                       " values ('1',%1,'2024-01-05','入库 11-%2','%2','0',%3,%5,%5,%3,%4,%5,%4,%5,'1','2','1','')")
            .arg(q).arg(counter).arg(qt, pr, am),
        QStringLiteral("update msrglist set qty=qty+%1,cost=cost+%2 where mid=%3").arg(qty).arg(qty * price).arg(m),
    };
}

void prepareDatabase(DbEngine& e)
{
    DbResult r;
    e.Execute(QStringLiteral("create database acc"), r);
    e.Execute(QStringLiteral("Use acc"), r);
    for (const char* s : kSchema) e.Execute(QString::fromUtf8(s), r);
    for (int i = 1; i <= kMaterials; ++i) {
        e.Execute(QStringLiteral("insert into mtrlist (FID, bID, code, mname) values (%1, 1, '000', 'm%1')").arg(i), r);
        e.Execute(QStringLiteral("insert into msrglist (mid, qty, cost) values (%1, 0, 0)").arg(i), r);
    }
}

// A statement of the raw side: prepared once, its values bound for each line, reset after use.
class RawStatement {
public:
    RawStatement(sqlite3* db, const QString& sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v3(db, utf8.constData(), utf8.size(), SQLITE_PREPARE_PERSISTENT, &m_st, nullptr) != SQLITE_OK)
            std::abort();
    }
    ~RawStatement() { sqlite3_finalize(m_st); }
    RawStatement(const RawStatement&) = delete;
    RawStatement& operator=(const RawStatement&) = delete;

    // Binds values, steps through the rows reading every column by its type, resets.
    void run(const QVector<sqlitedb::ShapeValue>& values)
    {
        for (int i = 0; i < values.size(); ++i) {
            const sqlitedb::ShapeValue& v = values[i];
            switch (v.kind) {
            case sqlitedb::ShapeValue::Integer: sqlite3_bind_int64(m_st, i + 1, v.i); break;
            case sqlitedb::ShapeValue::Real: sqlite3_bind_double(m_st, i + 1, v.d); break;
            case sqlitedb::ShapeValue::Text: sqlite3_bind_text(m_st, i + 1, v.text.constData(), int(v.text.size()), SQLITE_STATIC); break;
            }
        }
        int rc;
        while ((rc = sqlite3_step(m_st)) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(m_st); ++c) {
                switch (sqlite3_column_type(m_st, c)) {
                case SQLITE_INTEGER: benchmark::DoNotOptimize(sqlite3_column_int64(m_st, c)); break;
                case SQLITE_FLOAT: benchmark::DoNotOptimize(sqlite3_column_double(m_st, c)); break;
                case SQLITE_TEXT: benchmark::DoNotOptimize(sqlite3_column_text(m_st, c)); break;
                default: break;
                }
            }
        }
        if (rc != SQLITE_DONE) std::abort();
        sqlite3_reset(m_st);
        sqlite3_clear_bindings(m_st);
    }

private:
    sqlite3_stmt* m_st = nullptr;
};

// One statement on a fresh query, as the data module's runners do it.
void runQuery(TADOConnection& con, const QString& sql)
{
    TADOQuery q(&con);
    q.SetCacheSize(1000);
    q.SQL() << sql;
    if (sql.startsWith(QLatin1String("select"))) {
        q.Open();
        benchmark::DoNotOptimize(q.Fields().Fields(0)->AsFloat());
        q.Close();
    } else {
        q.ExecSQL();
    }
}

void BM_PostingMix(benchmark::State& state)
{
    QTemporaryDir dir;
    SetProgramDirForTesting(dir.path());
    // Two databases of the same content: one for the layer, one for the raw run.
    TADOConnection con;
    con.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                           "Initial Catalog=master;Data Source=\\sqlexpress"));
    con.Open();
    prepareDatabase(con.Engine());
    DbResult r;
    // acc's backup is the template a restore takes its schema from as well
    QDir(dir.path()).mkpath(QStringLiteral("dpxdata"));
    con.Engine().Execute(QStringLiteral("BACKUP DATABASE acc TO DISK ='%1/dpxdata/materialdb' with init").arg(dir.path()), r);
    con.Engine().Execute(QStringLiteral("Use Master RESTORE DATABASE raw FROM DISK ='%1/dpxdata/materialdb' with file=1,replace,"
                                        "MOVE 'materialdb_data' TO '%1/Database/raw_data.mdf'").arg(dir.path()), r);
    sqlite3* raw = sqlitedb::SqliteEngine::OpenFile(dir.path() + QStringLiteral("/Database/raw_data.mdf"), 5000, false);

    // The raw side's statements: the translated texts of line 0 with their values as
    // parameters (the texts of every line differ by those values only).
    std::vector<std::unique_ptr<RawStatement>> rawStatements;
    for (const QString& t : postingLine(0, 1))
        rawStatements.push_back(std::make_unique<RawStatement>(raw, sqlitedb::ShapeOf(tsql::TranslateBatch(t, false).first().sql.first()).text));
    RawStatement begin(raw, QStringLiteral("BEGIN IMMEDIATE")), commit(raw, QStringLiteral("COMMIT"));

    using clock = std::chrono::steady_clock;
    clock::duration layerTime{}, rawTime{};
    int n = 0;
    const auto runRaw = [&](const QVector<QVector<sqlitedb::ShapeValue>>& values) {
        begin.run({});
        for (size_t i = 0; i < rawStatements.size(); ++i) rawStatements[i]->run(values[int(i)]);
        commit.run({});
    };
    const auto runLayer = [&](const QStringList& texts) {
        runQuery(con, QStringLiteral("Use acc"));
        con.BeginTrans();
        for (const QString& t : texts) runQuery(con, t);
        con.CommitTrans();
    };
    for (auto _ : state) {
        state.PauseTiming();
        const QStringList texts = postingLine(n, n + 1);
        QVector<QVector<sqlitedb::ShapeValue>> values;
        for (const QString& t : texts) values << sqlitedb::ShapeOf(tsql::TranslateBatch(t, false).first().sql.first()).values;
        const bool rawFirst = n % 2 == 0;
        ++n;
        state.ResumeTiming();

        // The two sides in alternating order.
        auto t0 = clock::now();
        if (rawFirst) runRaw(values); else runLayer(texts);
        auto t1 = clock::now();
        if (rawFirst) runLayer(texts); else runRaw(values);
        auto t2 = clock::now();
        rawTime += rawFirst ? t1 - t0 : t2 - t1;
        layerTime += rawFirst ? t2 - t1 : t1 - t0;
    }
    rawStatements.clear();
    sqlite3_close(raw);
    const double rawUs = std::chrono::duration<double, std::micro>(rawTime).count() / std::max(1, n);
    const double layerUs = std::chrono::duration<double, std::micro>(layerTime).count() / std::max(1, n);
    state.counters["raw_us"] = rawUs;
    state.counters["layer_us"] = layerUs;
    state.counters["ratio"] = rawUs > 0 ? layerUs / rawUs : 0;
    SetProgramDirForTesting(QString());
}

} // namespace

BENCHMARK(BM_PostingMix)->Iterations(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
