// The stock and in/out/stock report (every category and every material, four statistics each)
// over 10,000 materials in 200 categories, against the same report over 1,000 materials in 20
// categories, both computed in the same run. Each material has stock, a posted receipt and a
// posted issue. Reports large / small: a report linear in its materials gives about 10.
#include "DM.h"
#include "cpuclock.h"
#include "frmconst.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"
#include "reports/StatMaterialReport.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>

namespace {

QString quoted(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// The program folder of the run, with the embedded engine's settings.
class Folder {
public:
    Folder()
    {
        SetProgramDirForTesting(dir.path());
        for (const char* sub : {"Database", "log"})
            QDir(dir.path()).mkpath(QString::fromLatin1(sub));
        TIniFile ini(dir.filePath(QStringLiteral("log/adolinksetting.ini")));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), QStringLiteral("\\sqlexpress"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), QStringLiteral("30"));
        MessageSink::Set([](MsgKind, const QString&, const QString&) { return true; });
    }
    ~Folder()
    {
        MessageSink::Set({});
        SetProgramDirForTesting(QString());
    }
    QTemporaryDir dir;
};

// An account set with the given materials spread over the given level-1 categories.
class Books {
public:
    Books(Folder& folder, const QString& name, int materials, int categories) : m_dir(folder.dir)
    {
        m_con.SetLoginPrompt(false);
        m_con.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                                 "Initial Catalog=master;Data Source=\\sqlexpress"));
        m_con.Open();
        run(QStringLiteral("Use Master  RESTORE DATABASE ") + name + QStringLiteral(" FROM DISK =")
            + quoted(QStringLiteral(DPX_PROGRAM_DIR "/dpxdata/materialdb"))
            + QStringLiteral(" with file=1,replace,MOVE 'materialdb_data' TO ")
            + quoted(m_dir.filePath(QStringLiteral("Database/") + name + QStringLiteral("_data.mdf")))
            + QStringLiteral(",MOVE 'materialdB_Log' TO ")
            + quoted(m_dir.filePath(QStringLiteral("Database/") + name + QStringLiteral("_log.ldf"))));
        run(QStringLiteral("Use ") + name);
        m_con.BeginTrans();
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
        m_con.CommitTrans();
        m_name = name;
    }

    void run(const QString& sql)
    {
        TADOQuery q(&m_con);
        q.SQL() << sql;
        q.ExecSQL();
    }

    // Points the data module at this account set.
    void use(TrmtDM& dm)
    {
        dbname = m_name;
        curpid = 0;
        dm.OpenindicatinnDB(dbname);
    }

private:
    QTemporaryDir& m_dir;
    TADOConnection m_con;
    QString m_name;
};

double seconds(const std::function<void()>& f)
{
    const auto t0 = CpuClock::now();
    f();
    return std::chrono::duration<double>(CpuClock::now() - t0).count();
}

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The report forms make grids: the grid units are up first, as at program start.
    InitDBGridGxUnits();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DoneDBGridGxUnits();
    return 0;
}
