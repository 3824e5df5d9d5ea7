// The stock and in/out/stock report (every category and every material, four statistics each)
// over 10,000 materials in 200 categories, against the same report over 1,000 materials in 20
// categories, both computed in the same run. Each material has stock, a posted receipt and a
// posted issue. Reports large / small: a report linear in its materials gives about 10.
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

void BM_MaterialReportGrowth(benchmark::State& state)
{
    Folder folder;
    Books small(folder, QStringLiteral("small"), 1000, 20);
    Books large(folder, QStringLiteral("large"), 10000, 200);
    auto dm = std::make_unique<TrmtDM>();
    double smalltime = 0, largetime = 0;
    int rows = 0;
    for (auto _ : state) {
        {
            small.use(*dm);
            Tfrmmaterialreport form;
            smalltime += seconds([&] { form.Calsdata(); });
        }
        {
            large.use(*dm);
            Tfrmmaterialreport form;
            largetime += seconds([&] { form.Calsdata(); });
            rows = form.StringGrid2->RowCount();
        }
    }
    state.counters["small_s"] = smalltime / double(state.iterations());
    state.counters["large_s"] = largetime / double(state.iterations());
    state.counters["large/small"] = smalltime > 0 ? largetime / smalltime : 0;
    state.counters["detail_rows"] = rows;
}

BENCHMARK(BM_MaterialReportGrowth)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // The report forms make grids: the grid units are up first, as at program start.
    return RunQtBenchmarks(argc, argv, InitDBGridGxUnits, DoneDBGridGxUnits);
}
