// The stock and in/out/stock report (every category and every material, four statistics each)
// over 10,000 materials in 200 categories, against the same report over 1,000 materials in 20
// categories, both computed in the same run. Each material has stock, a posted receipt and a
// posted issue. Reports large / small: a report linear in its materials gives about 10.
// Baseline of report / statements: the statements the large report sends to the engine (caught
// as it runs once before the timing), run directly in the same order, each opened as a query on
// the same connection and every field of its rows read: the same reads of the same data, without
// the report's own work (walking the categories, paging the materials, filling the grids). Three
// iterations; in each, the report and its statements run in alternating order, both warm.
#include "benchbooks.h"
#include "grid/control/DBGridGxUnit.h"
#include "qtbench_main.h"
#include "reports/StatMaterialReport.h"

#include <memory>

namespace {

using namespace benchbooks;

// An account set with the given materials spread over the given level-1 categories.
class Books : public AccountSet {
public:
    Books(Folder& folder, const QString& name, int materials, int categories) : AccountSet(folder, name)
    {
        connection().BeginTrans();
        run(QStringLiteral("update breedlist set bparent=1 where fid=1"));
        for (int c = 0; c < categories; ++c)
            run(QStringLiteral("insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) "
                               "values (%1,1,'000%1',1,0,'分类%1',0,0)")
                    .arg(c + 2, 3, 10, QLatin1Char('0')));
        run(QStringLiteral("insert into ibmaster (fid,pid,cid,billnum,brecorded,cfcode,supcode) values (1,0,1,'RK1',1,'000002','000002')"));
        run(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,brecorded,bcylm,breb,dptcode,pjtcode) "
                           "values (1,0,'2024-11-05',2,2,'CK1',1,0,0,'000002','000002')"));
        for (int m = 1; m <= materials; ++m) {
            const QString bid = QStringLiteral("%1").arg(2 + m % categories, 3, 10, QLatin1Char('0'));
            run(QStringLiteral("insert into mtrlist (fid,bid,code,mname,mtype,munit) values (%1,%2,'000%2','材料%1','型号','个')")
                    .arg(m)
                    .arg(bid));
            run(QStringLiteral("insert into msrglist (mid,qty,cost,preqty,precost) values (%1,%2,%3,2,20)")
                    .arg(m)
                    .arg(m % 7 + 1)
                    .arg(m % 11 + 10));
            run(QStringLiteral("insert into ibdetail (iid,mid,qty,amount,dprice) values (1,%1,3,30,30)").arg(m));
            run(QStringLiteral("insert into ebdetail (eid,mid,qty,dprice) values (1,%1,1,10)").arg(m));
        }
        connection().CommitTrans();
    }
};

// The statements one computation of the report sends to the engine ("Use" of the database the
// connection is in already is not sent), in order.
QStringList reportstatements(Books& books, TrmtDM& dm)
{
    books.use(dm);
    QStringList sqls;
    dm.OnSQL = [&](const QString& sql) {
        if (!sql.startsWith(QLatin1String("Use "), Qt::CaseInsensitive))
            sqls << sql;
    };
    {
        Tfrmmaterialreport form;
        form.Calsdata();
    }
    dm.OnSQL = nullptr;
    return sqls;
}

// The same statements run directly: each SELECT opened as a query on the same connection and
// its rows read, any other statement executed.
void runstatements(TrmtDM& dm, const QStringList& sqls)
{
    for (const QString& sql : sqls) {
        TADOQuery query(dm.ADOCon.get());
        query.SQL().append(sql);
        if (!sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive)) {
            query.ExecSQL();
            continue;
        }
        query.Open();
        for (query.First(); !query.Eof(); query.Next())
            for (TField* f : query.Fields())
                benchmark::DoNotOptimize(f->Value());
    }
}

struct Times {
    double report = 0, statements = 0;
};

// One computation of the report and one run of its statements, in the given order.
void measure(Books& books, TrmtDM& dm, const QStringList& sqls, bool reportFirst, Times& t, int& rows)
{
    books.use(dm);
    const auto report = [&] {
        Tfrmmaterialreport form;
        t.report += seconds([&] { form.Calsdata(); });
        rows = form.StringGrid2->RowCount();
    };
    const auto statements = [&] { t.statements += seconds([&] { runstatements(dm, sqls); }); };
    if (reportFirst) {
        report();
        statements();
    } else {
        statements();
        report();
    }
}

void BM_MaterialReportGrowth(benchmark::State& state)
{
    Folder folder;
    Books small(folder, QStringLiteral("small"), 1000, 20);
    Books large(folder, QStringLiteral("large"), 10000, 200);
    auto dm = std::make_unique<TrmtDM>();
    // Each report once before the timing (which also gives its statements): warm on both sides.
    const QStringList smallsqls = reportstatements(small, *dm);
    const QStringList largesqls = reportstatements(large, *dm);
    runstatements(*dm, smallsqls);
    runstatements(*dm, largesqls);
    Times s, l;
    int rows = 0, smallrows = 0;
    bool reportFirst = true;
    for (auto _ : state) {
        measure(small, *dm, smallsqls, reportFirst, s, smallrows);
        measure(large, *dm, largesqls, reportFirst, l, rows);
        reportFirst = !reportFirst;
    }
    const double n = double(state.iterations());
    state.counters["small_s"] = s.report / n;
    state.counters["large_s"] = l.report / n;
    state.counters["large/small"] = s.report > 0 ? l.report / s.report : 0;
    state.counters["statements"] = double(largesqls.size());
    state.counters["statements_s"] = l.statements / n;
    state.counters["report/statements"] = l.statements > 0 ? l.report / l.statements : 0;
    state.counters["detail_rows"] = rows;
}

BENCHMARK(BM_MaterialReportGrowth)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // The report forms make grids: the grid units are up first, as at program start.
    return RunQtBenchmarks(argc, argv, InitDBGridGxUnits, DoneDBGridGxUnits);
}
