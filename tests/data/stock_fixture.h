#pragma once
// A real account set restored from the build's template, a data module logged into it, the
// master data of a small project (one category per price model, two of them turnover
// materials), helpers that write bills the way the bill forms save them, audit and un-audit
// them through the data module with the datasets loaded from the bill views, and read the
// stock tables back.
#include "DM.h"
#include "frmconst.h"
#include "platform/rtl/MessageSink.h"
#include "qstringprint.h"
#include "schema_accountset.h"

#include <QCoreApplication>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace stocktest {

// Materials of the master data: key, category and what the category makes of it.
enum Material { Rebar = 1, Cement = 2, Timber = 3, Formwork = 4, Scaffold = 5 };

inline const char* const kMasterData[] = {
    "insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
    "values ('2','1','000002','1',0,'钢材','','','0','0','0')",
    "insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
    "values ('3','1','000003','1',0,'水泥','','','1','0','0')",
    "insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
    "values ('4','1','000004','1',0,'木材','','','2','0','0')",
    "insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
    "values ('5','1','000005','1',0,'模板','','','0','1','0')",
    "insert into  breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
    "values ('6','1','000006','1',0,'脚手架','','','1','1','0')",
    "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('1','2','000002','螺纹钢','Φ12','吨','')",
    "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('2','3','000003','水泥','P.O42.5','吨','')",
    "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('3','4','000004','方木','50*100','方','')",
    "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('4','5','000005','钢模板','P3015','块','')",
    "insert into mtrlist (fid, bid,code, mname, mtype, munit,remark) values ('5','6','000006','钢管','Φ48','米','')",
    "insert into  suplist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values ('2','1','000002','1',0,'华北钢厂','','',1,0,0)",
    "insert into  dptlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values ('2','1','000002','1',0,'一工区','','',1,0,0)",
    "insert into  dptlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values ('3','1','000003','1',0,'二工区','','',1,0,0)",
    "insert into  pjtlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values ('2','1','000002','1',0,'一号楼','','',1,0,0)",
    " Insert into currencyset(cryname,tobalance,isbalance,visibled) values('人民币','1',1,1)",
};

// The tables posting and reversal write, each with a fixed order; what "every table" means in
// the tests. The ledger is listed without its key.
inline const char* const kStockTables[] = {
    "select mid,qty,cost from msrglist order by mid",
    "select fid,mid,iid,eid,bnum,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,rsprice,rdprice,cid,cfid,supid,remark,"
    "block,Pid from mrplist order by fid",
    "select mid,maprice from maplist order by mid",
    "select mid,pprice from mpplist order by mid",
    "select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb order by mid",
    "select dptid,mid,qty,cost from cyldptlist order by dptid,mid",
    "select eid,pid,mid,dptid,crtdate,qty,cost,remark from cyldetaillist order by eid",
    "select pid,Mid,iid,eid,bdate,comment,dptprj,bnum,iqty,isprice,idprice,eqty,esprice,edprice,srgqty,srgcost,remark "
    "from imexsrglist order by fid",
    "select fid,brecorded,assessor from ibmaster order by fid",
    "select fid,brecorded,assessor from ebmaster order by fid",
};

// Ledger rows whose balance is not the balance of the material's row before plus the row's
// own move (empty when the ledger is a consistent running total).
inline const char* const kLedgerChain =
    "select a.fid from imexsrglist a where abs(a.srgqty - isnull(a.iqty,0) + isnull(a.eqty,0) - isnull((select "
    "b.srgqty from imexsrglist b where b.fid=(select max(c.fid) from imexsrglist c where c.Mid=a.Mid and "
    "c.fid<a.fid)),0)) > 0.00005";

enum Op { PostIn, ReverseIn, PostOut, ReverseOut };

// Audits or un-audits bill fid through the module, with the head and line datasets the bill
// forms load from the bill views; armed runs after the loading, just before the audit.
inline bool audit(TrmtDM& m, Op op, int fid, const std::function<void()>& armed = {})
{
    const bool in = op == PostIn || op == ReverseIn;
    TClientDataSet head, lines;
    head.SetData(m.gettabledata(in ? QStringLiteral("vibmaster") : QStringLiteral("vebmaster"), QStringLiteral("fid"),
                                QStringLiteral("fid=") + QString::number(fid), 20));
    lines.SetData(m.gettabledata(in ? QStringLiteral("vibdetail") : QStringLiteral("vebdetail"), QStringLiteral("fid"),
                                 (in ? QStringLiteral("iid=") : QStringLiteral("eid=")) + QString::number(fid), 20));
    if (armed)
        armed();
    switch (op) {
    case PostIn: return m.imbillrecord(&head, &lines);
    case ReverseIn: return m.imbillreverse(&head, &lines);
    case PostOut: return m.exbillrecord(&head, &lines);
    case ReverseOut: return m.exbillreverse(&head, &lines);
    }
    return false;
}

// The login context as the login dialog fills it for account set db.
inline void login(TrmtDM& m, const QString& db)
{
    dbname = db;
    username = QStringLiteral("李会计");
    systype = TSystype::local;
    spricedots = 2;
    curpid = m.GetID(QStringLiteral("pid"));
}

// The body of a client process started by runclients: its spec (the program folder first, then
// what the test passes) read from the environment variable, a data module logged into acct,
// "ready", and on the go the work, whose outcome is printed; told collects what the module
// shows. Skipped when the test program runs as itself.
inline void runclient(const char* variable,
                      const std::function<QString(TrmtDM& m, const QStringList& spec, QStringList& told)>& work)
{
    const QStringList spec = qEnvironmentVariable(variable).split(u';');
    if (spec.value(0).isEmpty())
        GTEST_SKIP() << "runs only as a client process of a concurrency test";
    SetProgramDirForTesting(spec[0]);
    QStringList told;
    MessageSink::Set([&told](MsgKind, const QString& text, const QString&) {
        told << text;
        return true;
    });
    {
        TrmtDM m;
        EXPECT_TRUE(dbconnected);
        if (dbconnected) {
            login(m, QStringLiteral("acct"));
            std::printf("ready\n");
            std::fflush(stdout);
            char go[8];
            if (std::fgets(go, sizeof go, stdin))
                std::printf("outcome=%s\n", qPrintable(work(m, spec, told)));
        }
    }
    MessageSink::Set({});
    SetProgramDirForTesting(QString());
}

// Runs client processes of this test program, each running the test filter with the
// environment variable set to its spec; waits until every one says "ready", then lets them all
// start at once and gathers what each one prints after "outcome=". A client that fails or says
// nothing fails the test.
inline QStringList runclients(const char* variable, const char* filter, const QStringList& specs)
{
    const int n = int(specs.size());
    std::vector<std::unique_ptr<QProcess>> clients;
    for (int c = 0; c < n; ++c) {
        clients.push_back(std::make_unique<QProcess>());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(variable), specs[c]);
        clients[c]->setProcessEnvironment(env);
        clients[c]->setProcessChannelMode(QProcess::MergedChannels);
        clients[c]->start(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--gtest_filter=") + QString::fromLatin1(filter)});
    }
    QStringList output(n), outcomes;
    for (int c = 0; c < n; ++c) {
        while (!output[c].contains(QLatin1String("ready\n")) && clients[c]->state() != QProcess::NotRunning)
            if (clients[c]->waitForReadyRead(300000))
                output[c] += QString::fromUtf8(clients[c]->readAll());
            else
                break;
        EXPECT_TRUE(output[c].contains(QLatin1String("ready\n"))) << output[c].toStdString();
    }
    for (auto& p : clients) {
        p->write("go\n");
        p->waitForBytesWritten(120000);
    }
    for (int c = 0; c < n; ++c) {
        EXPECT_TRUE(clients[c]->waitForFinished(300000));
        output[c] += QString::fromUtf8(clients[c]->readAll());
        EXPECT_EQ(clients[c]->exitCode(), 0) << output[c].toStdString();
        const int at = output[c].indexOf(QStringLiteral("outcome="));
        EXPECT_GE(at, 0) << output[c].toStdString();
        outcomes << (at >= 0 ? output[c].mid(at + 8).section(u'\n', 0, 0) : QString());
    }
    return outcomes;
}

class StockTest : public dpxtest::AccountSetTest {
protected:
    void SetUp() override
    {
        AccountSetTest::SetUp();
        if (HasFatalFailure())
            return;
        dpxtest::writeSettings(programDir(), serverName());
        MessageSink::Set([this](MsgKind, const QString& text, const QString&) {
            messages << text;
            return true;
        });
        dm = std::make_unique<TrmtDM>();
        ASSERT_TRUE(dbconnected);
        login(*dm, QStringLiteral("acct"));
        for (const char* s : kMasterData)
            exec(s);
    }

    void TearDown() override
    {
        dm.reset();
        dbname.clear();
        username.clear();
        systype = TSystype::local;
        spricedots = 0;
        curpid = 0;
        MessageSink::Set({});
        AccountSetTest::TearDown();
    }

public:
    // A statement on the test's own connection, which must succeed.
    void exec(const QString& sql) { ASSERT_EQ(run(sql), QString()) << sql.toStdString(); }
    void exec(const char* sql) { exec(QString::fromUtf8(sql)); }

    // ----- bills as the bill forms save them -----
    // Stock-in head: source 自购 (3), supplier 华北钢厂 (2), settlement currency.
    void inhead(int fid, int pid = 0, const QString& billnum = QString())
    {
        exec(QStringLiteral("insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,ckid,lister,assessor,brecorded,"
                            "breverse) values (%1,%2,1,'%3','2024-03-05',3,2,0,'王五','',0,0)")
                 .arg(fid)
                 .arg(pid)
                 .arg(billnum.isEmpty() ? QStringLiteral("RK%1").arg(fid, 3, 10, QLatin1Char('0')) : billnum));
    }
    // Stock-in line: the amount is quantity × price; the purchase-currency pair is twice the
    // settlement pair, so a test sees which pair a batch got.
    void inline_(int fid, int iid, int mid, double qty, double price, int idid = 0)
    {
        const double amount = qty * price;
        exec(QStringLiteral("insert into ibdetail (Fid,iid,pfid,idid,mid,qty,rprice,amount,rsprice,rdprice,sprice,dprice,"
                            "remark) values (%1,%2,0,%3,%4,%5,%6,%7,%8,%9,%6,%7,'行%1')")
                 .arg(fid)
                 .arg(iid)
                 .arg(idid)
                 .arg(mid)
                 .arg(qty)
                 .arg(price)
                 .arg(amount)
                 .arg(2 * price)
                 .arg(2 * amount));
    }
    // Stock-out head: unit 一工区 (2), project 一号楼 (2).
    void outhead(int fid, bool bcylm = false, int pid = 0, int dptid = 2)
    {
        exec(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,rcid,lister,assessor,brecorded,"
                            "breverse,bcylm,breb) values (%1,%2,'2024-03-06',%3,2,'CK%4',0,'王五','',0,0,%5,0)")
                 .arg(fid)
                 .arg(pid)
                 .arg(dptid)
                 .arg(fid, 3, 10, QLatin1Char('0'))
                 .arg(bcylm ? 1 : 0));
    }
    void outline(int fid, int eid, int mid, double qty, double price, int rpid = 0)
    {
        const double amount = qty * price;
        exec(QStringLiteral("insert into ebdetail (fid,eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,remark,cid,"
                            "cfid,supid) values (%1,%2,%3,0,%4,%5,%6,%7,%6,%7,'出%1',1,3,2)")
                 .arg(fid)
                 .arg(eid)
                 .arg(rpid)
                 .arg(mid)
                 .arg(qty)
                 .arg(price)
                 .arg(amount));
    }

    bool apply(Op op, int fid) { return audit(*dm, op, fid); }

    // The rows of a query on the test's own connection ("|" between values, "\n" between rows).
    QString table(const QString& sql) { return rows(sql); }
    QString table(const char* sql) { return rows(QString::fromUtf8(sql)); }

    // Every stock table, as text.
    QStringList state()
    {
        QStringList out;
        for (const char* s : kStockTables)
            out << rows(QString::fromUtf8(s));
        return out;
    }

    std::unique_ptr<TrmtDM> dm;
    QStringList messages;
};

} // namespace stocktest
