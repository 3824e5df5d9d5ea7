// Opening the stock-out bill query of the open period (posted lines, line by line) on the query
// form, over 100,000 result rows against 1,000, both in the same run; and the large one against
// one plain SELECT of the same statement through the same engine. The form runs the statement,
// lays out its columns, sums its footers and paints its first rows.
// Baseline of form / plain: the form's own statement opened as one plain query on the same
// connection, into memory: the same rows from the same engine, which the form then shows. It
// is timed just before and just after each opening of the form (the mean of the two), so that
// neither side has the other's warm caches alone; both run once before the timing.
// Reports large / small (a query linear in its rows gives about 100) and form / plain.
#include "benchbooks.h"
#include "grid/control/DBGridGxUnit.h"
#include "qtbench_main.h"
#include "reports/QueryBills.h"

#include <memory>

namespace {

using namespace benchbooks;

constexpr int Materials = 1000;

// An account set with posted stock-out bills of 1,000 lines each over 1,000 materials.
class Books : public AccountSet {
public:
    Books(Folder& folder, const QString& name, int lines) : AccountSet(folder, name), m_lines(lines)
    {
        connection().BeginTrans();
        for (int m = 1; m <= Materials; ++m)
            run(QStringLiteral("insert into mtrlist (fid,bid,code,mname,mtype,munit) values (%1,1,'000%1','材料%1','型号%1','个')")
                    .arg(m));
        for (int bill = 1; bill * Materials <= lines; ++bill) {
            run(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,brecorded,bcylm,breb) "
                               "values (%1,0,'2024-11-05',1,1,'CK%1',1,0,0)")
                    .arg(bill));
            for (int m = 1; m <= Materials; ++m)
                run(QStringLiteral("insert into ebdetail (eid,mid,qty,sprice,dprice) values (%1,%2,%3,2.5,%4)")
                        .arg(bill)
                        .arg(m)
                        .arg(m % 9 + 1)
                        .arg((m % 9 + 1) * 2.5));
        }
        connection().CommitTrans();
    }
    int lines() const { return m_lines; }

private:
    int m_lines;
};

struct Times {
    double form = 0;
    double plain = 0;
};

// The form's statement as one plain SELECT through a query on the same connection.
double plainselect(TrmtDM& dm, const QString& sql, int lines, benchmark::State& state)
{
    return seconds([&] {
        TADOQuery query(dm.ADOCon.get());
        query.SQL().append(sql);
        query.Open();
        if (query.RecordCount() != lines)
            state.SkipWithError("the plain SELECT lost rows");
    });
}

// One opening of the query on a shown form, with the same statement as one plain SELECT
// timed just before and just after it (their mean is the baseline).
Times openquery(Books& books, TrmtDM& dm, benchmark::State& state)
{
    books.use(dm);
    Times t;
    Tfrmqueryexbill form;
    form.show();
    QApplication::processEvents();
    const QString sql = form.samplequery1();
    const double before = plainselect(dm, sql, books.lines(), state);
    t.form = seconds([&] {
        form.acQueryExecute(nullptr);
        QApplication::processEvents();   // the first rows painted
    });
    if (form.adoqry.RecordCount() != books.lines())
        state.SkipWithError("the query lost rows");
    if (form.adoqry.SQLText() != sql)
        state.SkipWithError("the plain SELECT is not the form's statement");
    const double after = plainselect(dm, sql, books.lines(), state);
    t.plain = (before + after) / 2;
    return t;
}

void BM_QueryResultGrowth(benchmark::State& state)
{
    Folder folder;
    Books small(folder, QStringLiteral("small"), 1000);
    Books large(folder, QStringLiteral("large"), 100000);
    auto dm = std::make_unique<TrmtDM>();
    // Once on each side before the timing: statements, caches and the grid's units warm.
    openquery(small, *dm, state);
    openquery(large, *dm, state);
    Times s, l;
    for (auto _ : state) {
        const Times a = openquery(small, *dm, state);
        const Times b = openquery(large, *dm, state);
        s.form += a.form;
        s.plain += a.plain;
        l.form += b.form;
        l.plain += b.plain;
    }
    const double n = double(state.iterations());
    state.counters["small_s"] = s.form / n;
    state.counters["large_s"] = l.form / n;
    state.counters["large/small"] = s.form > 0 ? l.form / s.form : 0;
    state.counters["plain_s"] = l.plain / n;
    state.counters["form/plain"] = l.plain > 0 ? l.form / l.plain : 0;
}

BENCHMARK(BM_QueryResultGrowth)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // The query form makes a grid: the grid units are up first, as at program start.
    return RunQtBenchmarks(argc, argv, InitDBGridGxUnits, DoneDBGridGxUnits);
}
