// The period close of an account set with 100,000 materials in stock, through the data module
// (opening ledger rows and the stock reset one statement per material, the snapshots set-based),
// against the database copying the same rows set-based in one transaction: the ledger rows, the
// stock snapshot and the reset of the opening values. Reports close / copy.
#include "DM.h"
#include "cpuclock.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <memory>

namespace {

constexpr int kMaterials = 100000;

QString quoted(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

class Books {
public:
    Books()
    {
        SetProgramDirForTesting(m_dir.path());
        for (const char* sub : {"Database", "log", "dpxdata"})
            QDir(m_dir.path()).mkpath(QString::fromLatin1(sub));
        // restores take their schema from the program folder's template
        QFile::copy(QStringLiteral(DPX_PROGRAM_DIR "/dpxdata/materialdb"), m_dir.filePath(QStringLiteral("dpxdata/materialdb")));
        TIniFile ini(m_dir.filePath(QStringLiteral("log/adolinksetting.ini")));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), QStringLiteral("\\sqlexpress"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), QStringLiteral("30"));
        MessageSink::Set([](MsgKind, const QString&, const QString&) { return true; });
        m_con.SetLoginPrompt(false);
        m_con.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                                 "Initial Catalog=master;Data Source=\\sqlexpress"));
        m_con.Open();
        run(QStringLiteral("Use Master  RESTORE DATABASE acct FROM DISK =")
            + quoted(QStringLiteral(DPX_PROGRAM_DIR "/dpxdata/materialdb"))
            + QStringLiteral(" with file=1,replace,MOVE 'materialdb_data' TO ")
            + quoted(m_dir.filePath(QStringLiteral("Database/acct_data.mdf"))) + QStringLiteral(",MOVE 'materialdB_Log' TO ")
            + quoted(m_dir.filePath(QStringLiteral("Database/acct_log.ldf"))));
        run(QStringLiteral("Use acct"));
        run(QStringLiteral("insert into currentpid (periodid,crtdate) values (0,'2024-10-01')"));
        run(QStringLiteral("insert into billtype (TypeName,code,ibnum,ebnum) values ('主材','A3',1,1)"));
        // 100,000 stock rows by doubling one row, then the surplus cut off.
        run(QStringLiteral("insert into msrglist (mid,qty,cost,preqty,precost) values (1,12.5,437.5,2,70)"));
        for (int n = 1; n < kMaterials; n *= 2)
            run(QStringLiteral("insert into msrglist (mid,qty,cost,preqty,precost) select mid+%1,qty+mid%7,cost+mid%11,"
                               "preqty,precost from msrglist")
                    .arg(n));
        run(QStringLiteral("delete msrglist where mid>%1").arg(kMaterials));
        dm = std::make_unique<TrmtDM>();
        dbname = QStringLiteral("acct");
        curpid = dm->GetID(QStringLiteral("pid"));
    }
    ~Books()
    {
        dm.reset();
        MessageSink::Set({});
        SetProgramDirForTesting(QString());
    }

    void run(const QString& sql)
    {
        TADOQuery q(&m_con);
        q.SQL() << sql;
        q.ExecSQL();
    }

    // The same rows copied set-based in one transaction.
    void copy(int period)
    {
        m_con.BeginTrans();
        run(QStringLiteral("insert into imexsrglist (mid,Pid,bdate,Comment,srgQty, srgcost) select mid,%1,'2024-11-01',"
                           "'期末结转',qty,cost from msrglist")
                .arg(period));
        run(QStringLiteral("insert into premsrglist (pid,mid,qty,cost,preqty,precost) select %1, mid,qty,cost,preqty,"
                           "precost from msrglist")
                .arg(period));
        run(QStringLiteral("update msrglist set preqty=qty,precost=cost"));
        m_con.CommitTrans();
    }

    std::unique_ptr<TrmtDM> dm;

private:
    QTemporaryDir m_dir;
    TADOConnection m_con;
};

double seconds(const std::function<void()>& f)
{
    const auto t0 = CpuClock::now();
    f();
    return std::chrono::duration<double>(CpuClock::now() - t0).count();
}

void BM_PeriodCloseAgainstCopy(benchmark::State& state)
{
    Books books;
    double close = 0, copy = 0;
    int period = 100;
    for (auto _ : state) {
        close += seconds([&] {
            if (!books.dm->billbalance(TDateTime(45566), TDateTime(45596), TDateTime(45597)))
                state.SkipWithError("the close failed");
        });
        copy += seconds([&] { books.copy(++period); });
    }
    state.counters["close_s"] = close / double(state.iterations());
    state.counters["copy_s"] = copy / double(state.iterations());
    state.counters["close/copy"] = copy > 0 ? close / copy : 0;
}

BENCHMARK(BM_PeriodCloseAgainstCopy)->Iterations(2)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
