// dpx-mksample TEMPLATE OUTPUT [SERVER]
//
// Builds the sample account set at build time: restores the account-set template into a work
// folder (with SERVER, a "Server Name" such as postgres://host:port/prefix, onto that server from
// a template made there), enters the master data of a small construction project, saves two
// months of stock-in and stock-out bills the way the bill forms save them, audits them through the data module's
// posting, closes the first month the way the period-close form does, and writes the database
// as an engine backup to OUTPUT. The backup is restored like any other; it is registered nowhere.
#include "DM.h"
#include "DataProcess.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const char* const kDatabase = "materialdbsample";

const char* const kMasterData[] = {
    // Account-set parameters: a domestic account set, prices and amounts to two decimals, and
    // receipts with a unit price and an amount per line (the bills below are written so).
    "update systemset set ivalue=0 where name='systype'",
    "update systemset set ivalue=0 where name='imbilltype'",
    "update systemset set ivalue=10 where name='monthid'",
    "insert into currencyset (cryname,tobalance,isbalance,visibled) values ('人民币',1,1,1)",
    "insert into currentpid (periodid,crtdate) values (0,'2024-10-01')",
    // Material categories: price lots, moving average, planned price, turnover materials.
    "update breedlist set bparent=1 where fid=1",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,remark,pricemodal,breedtype,adminrate) "
    "values (2,1,'000002',1,0,'钢材','按批次计价',0,0,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,remark,pricemodal,breedtype,adminrate) "
    "values (3,1,'000003',1,0,'水泥','移动平均',1,0,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,remark,pricemodal,breedtype,adminrate) "
    "values (4,1,'000004',1,0,'砂石','移动平均',1,0,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,remark,pricemodal,breedtype,adminrate) "
    "values (5,1,'000005',1,0,'木材','计划价',2,0,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,remark,pricemodal,breedtype,adminrate) "
    "values (6,1,'000006',1,0,'周转材料','脚手架',0,1,0)",
    "update IDlist set ID=6 where IDname='BID'",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (1,2,'000002','螺纹钢','HRB400 Φ20','吨','')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (2,2,'000002','盘圆','HPB300 Φ8','吨','')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (3,3,'000003','普通硅酸盐水泥','P.O42.5','吨','')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (4,4,'000004','中砂','','立方米','')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (5,4,'000004','碎石','5-31.5','立方米','')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (6,5,'000005','方木','50*100','立方米','')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (7,5,'000005','木胶板','1830*915*15','张','')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (8,6,'000006','钢管','Φ48*3.5','米','')",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (9,6,'000006','扣件','直角','个','')",
    "update IDlist set ID=9 where IDname='MID'",
    // Using units, projects, suppliers.
    "update dptlist set bparent=1 where fid=1",
    "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (2,1,'000002',1,1,'项目经理部',1,0,0)",
    "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (3,2,'000002003',2,0,'钢筋班',1,0,0)",
    "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (4,2,'000002004',2,0,'木工班',1,0,0)",
    "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (5,1,'000005',1,0,'土建分包队',1,0,0)",
    "update IDlist set ID=5 where IDname='DLID'",
    "update pjtlist set bparent=1 where fid=1",
    "insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (2,1,'000002',1,0,'1号住宅楼',1,0,0)",
    "insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (3,1,'000003',1,0,'2号住宅楼',1,0,0)",
    "insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (4,1,'000004',1,0,'地下车库',1,0,0)",
    "update IDlist set ID=4 where IDname='PLID'",
    "update suplist set bparent=1 where fid=1",
    "insert into suplist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (2,1,'000002',1,0,'华北钢铁贸易公司',1,0,0)",
    "insert into suplist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (3,1,'000003',1,0,'冀东水泥经销部',1,0,0)",
    "insert into suplist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (4,1,'000004',1,0,'城南建材市场',1,0,0)",
    "insert into suplist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) "
    "values (5,1,'000005',1,0,'鑫达木业',1,0,0)",
    "update IDlist set ID=5 where IDname='SUPID'",
    // Persons and users (the users share the administrator's starting password).
    "insert into emylist (emyname,tel,remark,visibled) values ('张建国','13800000001','材料员',1)",
    "insert into emylist (emyname,tel,remark,visibled) values ('李明','13800000002','保管员',1)",
    "insert into emylist (emyname,tel,remark,visibled) values ('王芳','13800000003','统计',1)",
    "insert into userpw (Uname,Password,isadmin,visibled) select '张建国',Password,0,1 from userpw where Uname='admin'",
    "insert into userpw (Uname,Password,isadmin,visibled) select '李明',Password,0,1 from userpw where Uname='admin'",
    // Bill categories and their number pool.
    "insert into billtype (TypeName,code,ibnum,ebnum) values ('主材','A3',1,1)",
    "insert into billtype (TypeName,code,ibnum,ebnum) values ('地材','A4',1,1)",
    "update IDlist set ID=4 where IDname='SCID'",
};

struct Line {
    int mid;
    double qty;
    double price; // receipts only: the unit price on the invoice
};

struct Bill {
    bool in;
    const char* date;
    int party;   // receipts: supplier; issues: using unit
    int second;  // receipts: material source; issues: project
    std::vector<Line> lines;
    bool audit = true;
};

// The bill category of every bill of the sample (主材).
const char* const kCategory = "A3";

const char* const kPartyCodes[] = {"", "000", "000002", "000003", "000004", "000005"};

// Two months of a building site: October is closed, November is open with a bill of each kind
// still waiting for its audit.
const std::vector<Bill>& bills()
{
    static const std::vector<Bill> list = {
        {true, "2024-10-03", 2, 3, {{1, 25, 4150}, {2, 8, 4080}}},
        {true, "2024-10-05", 3, 3, {{3, 120, 420}}},
        {true, "2024-10-08", 4, 3, {{4, 300, 95}, {5, 260, 88}}},
        {false, "2024-10-09", 3, 2, {{1, 18, 0}, {2, 5, 0}}},
        {true, "2024-10-10", 5, 3, {{6, 40, 2200}, {7, 600, 62}}},
        {false, "2024-10-11", 5, 2, {{3, 90, 0}, {4, 200, 0}, {5, 180, 0}}},
        {true, "2024-10-12", 2, 2, {{1, 30, 4120}}},
        {false, "2024-10-14", 4, 3, {{6, 25, 0}, {7, 350, 0}}},
        {true, "2024-10-15", 4, 3, {{8, 6000, 16.5}, {9, 8000, 5.8}}},
        {false, "2024-10-18", 5, 2, {{8, 3500, 0}, {9, 5000, 0}}},
        {true, "2024-10-20", 3, 3, {{3, 80, 435}}},
        {false, "2024-10-22", 3, 3, {{1, 20, 0}}},
        {false, "2024-10-24", 5, 4, {{3, 70, 0}, {5, 50, 0}}},
        {true, "2024-10-25", 4, 3, {{4, 150, 98}}},
        {false, "2024-10-28", 2, 4, {{8, 1000, 0}}},
        // the close of October runs here
        {true, "2024-11-02", 2, 3, {{1, 20, 4200}, {2, 6, 4100}}},
        {false, "2024-11-04", 3, 2, {{1, 15, 0}, {2, 6, 0}}},
        {true, "2024-11-06", 3, 3, {{3, 100, 440}}},
        {false, "2024-11-08", 5, 3, {{3, 110, 0}, {4, 150, 0}}},
        {true, "2024-11-09", 5, 3, {{6, 20, 2250}}},
        {false, "2024-11-12", 4, 3, {{6, 20, 0}, {7, 200, 0}}},
        {true, "2024-11-15", 4, 3, {{9, 3000, 5.9}}},
        {false, "2024-11-16", 5, 4, {{9, 2000, 0}, {8, 1500, 0}}},
        {true, "2024-11-20", 4, 3, {{4, 200, 100}}},
        {false, "2024-11-21", 5, 2, {{5, 25, 0}}},
        {true, "2024-11-26", 2, 3, {{1, 10, 4180}}, false},
        {false, "2024-11-27", 3, 4, {{1, 5, 0}}, false},
    };
    return list;
}

[[noreturn]] void fail(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

class Sample {
public:
    explicit Sample(TADOConnection& con) : m_con(con) {}

    void exec(const QString& sql)
    {
        TADOQuery q(&m_con);
        q.SQL() << sql;
        q.ExecSQL();
    }

    Variant value(const QString& sql)
    {
        TADOQuery q(&m_con);
        q.SQL() << sql;
        q.Open();
        if (q.IsEmpty())
            return Variant::Null();
        q.First();
        return q.Fields()[0]->Value();
    }

    static double money(double v) { return roundtodigits(2, v); }

    // The bill's number taken from the pool of its category and direction, as the bill form takes
    // it when the clerk picks the category: the lowest free slot (the pool grows by a block when
    // none is free), the number the category's start number plus the slot less one.
    struct Number {
        QString billnum;
        int slot;
        QString column;
    };
    static Number reserve(TrmtDM& dm, bool in)
    {
        const QString code = QString::fromLatin1(kCategory);
        Number n;
        n.column = (in ? QStringLiteral("im") : QStringLiteral("ex")) + code;
        n.slot = dm.getbillcodeid(n.column);
        if (n.slot == 0 && dm.Addnewcodeidline(n.column))
            n.slot = dm.getbillcodeid(n.column);
        if (n.slot == 0)
            fail(QStringLiteral("no bill number in the pool"));
        const int start = dm.getbillcodebnum(code, !in);
        n.billnum = QStringLiteral("主材 %1-%2").arg(monthid).arg(start + n.slot - 1);
        return n;
    }

    void save(TrmtDM& dm, const Bill& b)
    {
        const QString date = quotedsqltext(QString::fromLatin1(b.date));
        const Number number = reserve(dm, b.in);
        const QString billnum = number.billnum;
        if (b.in) {
            const int fid = dm.GetnewID(QStringLiteral("IID"));
            exec(QStringLiteral("insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,ckid,lister,assessor,dirctor,"
                                "remark,brecorded,breverse,bcodeid,bcode,cfcode,supcode) values (%1,%2,1,%3,%4,%5,%6,0,"
                                "'张建国','','李明','',0,0,%7,%8,%9,%10)")
                     .arg(fid)
                     .arg(curpid)
                     .arg(quotedsqltext(billnum), date)
                     .arg(b.second)
                     .arg(b.party)
                     .arg(number.slot)
                     .arg(quotedsqltext(number.column),
                          quotedsqltext(QString::fromLatin1(kPartyCodes[b.second])),
                          quotedsqltext(QString::fromLatin1(kPartyCodes[b.party]))));
            for (const Line& l : b.lines) {
                const double amount = money(l.qty * l.price);
                exec(QStringLiteral("insert into ibdetail (iid,pfid,idid,mid,qty,rprice,amount,rsprice,rdprice,sprice,"
                                    "dprice,remark) values (%1,0,0,%2,%3,%4,%5,%4,%5,%4,%5,'')")
                         .arg(fid)
                         .arg(l.mid)
                         .arg(l.qty)
                         .arg(l.price)
                         .arg(amount));
            }
            m_pending.append({true, fid, b.audit});
            return;
        }
        const int fid = dm.GetnewID(QStringLiteral("EID"));
        const QString dptcode = value(QStringLiteral("select code from dptlist where fid=%1").arg(b.party)).ToString();
        exec(QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,rcid,lister,assessor,dirctor,remark,"
                            "brecorded,breverse,bcodeid,bcode,bcylm,breb,dptcode,pjtcode) values (%1,%2,%3,%4,%5,%6,0,"
                            "'李明','','张建国','',0,0,%7,%8,0,0,%9,%10)")
                 .arg(fid)
                 .arg(curpid)
                 .arg(date)
                 .arg(b.party)
                 .arg(b.second)
                 .arg(quotedsqltext(billnum))
                 .arg(number.slot)
                 .arg(quotedsqltext(number.column), quotedsqltext(dptcode),
                      quotedsqltext(QString::fromLatin1(kPartyCodes[b.second]))));
        for (const Line& l : b.lines) {
            const int model = dm.getpricemodal(l.mid);
            int rpid = 0;
            double price = 0;
            int cfid = 3;
            int supid = 0;
            if (model == 1) {
                price = value(QStringLiteral("select maprice from maplist where mid=%1").arg(l.mid)).ToDouble();
            } else {
                // The oldest price lot that still holds the quantity, as the lot picker offers it.
                TADOQuery q(&m_con);
                q.SQL() << QStringLiteral("select fid,sprice,cfid,supid from mrplist where mid=%1 and qty>=%2 order by fid")
                               .arg(l.mid)
                               .arg(l.qty);
                q.Open();
                if (q.IsEmpty())
                    fail(QStringLiteral("no price lot for material %1").arg(l.mid));
                q.First();
                rpid = q.FieldByName(QStringLiteral("fid"))->AsInteger();
                price = q.FieldByName(QStringLiteral("sprice"))->AsFloat();
                cfid = q.FieldByName(QStringLiteral("cfid"))->AsInteger();
                supid = q.FieldByName(QStringLiteral("supid"))->AsInteger();
            }
            const double amount = money(l.qty * price);
            exec(QStringLiteral("insert into ebdetail (eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,remark,cid,cfid,"
                                "supid) values (%1,%2,0,%3,%4,%5,%6,%5,%6,'',1,%7,%8)")
                     .arg(fid)
                     .arg(rpid)
                     .arg(l.mid)
                     .arg(l.qty)
                     .arg(price)
                     .arg(amount)
                     .arg(cfid)
                     .arg(supid));
            // A saved bill holds the lots it draws until it is audited, as the bill's save does.
            if (rpid != 0 && !b.audit)
                exec(QStringLiteral("update mrplist set block=1 where fid=%1").arg(rpid));
        }
        m_pending.append({false, fid, b.audit});
    }

    // Audits the saved bill with the datasets the bill form loads from the bill views.
    void audit(TrmtDM& dm)
    {
        for (const Pending& p : m_pending) {
            if (!p.audit)
                continue;
            TClientDataSet head, lines;
            head.SetData(dm.gettabledata(p.in ? QStringLiteral("vibmaster") : QStringLiteral("vebmaster"),
                                         QStringLiteral("fid"), QStringLiteral("fid=%1").arg(p.fid), 20));
            lines.SetData(dm.gettabledata(p.in ? QStringLiteral("vibdetail") : QStringLiteral("vebdetail"),
                                          QStringLiteral("fid"),
                                          (p.in ? QStringLiteral("iid=%1") : QStringLiteral("eid=%1")).arg(p.fid), 20));
            const bool ok = p.in ? dm.imbillrecord(&head, &lines) : dm.exbillrecord(&head, &lines);
            if (!ok)
                fail(QStringLiteral("the audit of %1 bill %2 failed").arg(p.in ? "stock-in" : "stock-out").arg(p.fid));
        }
        m_pending.clear();
    }

    // The period-close form: the open period's start from currentpid, the close, the next month.
    void closeperiod(TrmtDM& dm, const QDate& last)
    {
        TClientDataSet cdstemp;
        cdstemp.SetData(dm.gettabledata(QStringLiteral("currentpid"), QStringLiteral("periodid"), QStringLiteral("1=1"), 20));
        cdstemp.First();
        const TDateTime pbdate = cdstemp.FieldByName(QStringLiteral("crtdate"))->AsDateTime();
        const TDateTime pedate(double(QDate(1899, 12, 30).daysTo(last)));
        if (!dm.billbalance(pbdate, pedate, TDateTime(pedate.Value + 1)))
            fail(QStringLiteral("the period close failed"));
        monthid = monthid + 1;
        if (monthid == 13)
            monthid = 1;
        dm.setsystemid(QStringLiteral("monthid"), monthid);
    }

private:
    struct Pending {
        bool in;
        int fid;
        bool audit;
    };
    TADOConnection& m_con;
    QList<Pending> m_pending;
};

QString quoted(const QString& path) { return quotedsqltext(QDir::toNativeSeparators(path)); }

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr, "usage: dpx-mksample TEMPLATE OUTPUT [SERVER]\n");
        return 2;
    }
    const QString templatePath = QFileInfo(args.at(1)).absoluteFilePath();
    const QString outputPath = QFileInfo(args.at(2)).absoluteFilePath();
    const QString partial = outputPath + QStringLiteral(".part");
    const QString server = args.size() == 4 ? args.at(3) : QStringLiteral("\\sqlexpress");

    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "dpx-mksample: cannot create a work folder\n");
        return 1;
    }
    SetProgramDirForTesting(work.path());
    for (const char* sub : {"Database", "log", "dpxdata"})
        QDir(work.path()).mkpath(QString::fromLatin1(sub));
    // Restores take their schema from the program folder's template.
    QFile::copy(templatePath, work.filePath(QStringLiteral("dpxdata/materialdb")));
    {
        TIniFile ini(work.filePath(QStringLiteral("log/adolinksetting.ini")));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), server);
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), QStringLiteral("30"));
    }
    QStringList shown;
    MessageSink::Set([&shown](MsgKind, const QString& text, const QString&) {
        shown << text;
        return true;
    });

    try {
        TADOConnection con;
        con.SetLoginPrompt(false);
        con.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                               "Initial Catalog=master;Data Source=")
                                + server);
        con.Open();
        Sample sample(con);
        const QString name = QString::fromLatin1(kDatabase);
        sample.exec(QStringLiteral("Use Master  RESTORE DATABASE ") + name + QStringLiteral(" FROM DISK =")
                    + quoted(templatePath) + QStringLiteral(" with file=1,replace,MOVE 'materialdb_data' TO ")
                    + quoted(work.filePath(QStringLiteral("Database/") + name + QStringLiteral("_data.mdf")))
                    + QStringLiteral(",MOVE 'materialdB_Log' TO ")
                    + quoted(work.filePath(QStringLiteral("Database/") + name + QStringLiteral("_log.ldf"))));
        sample.exec(QStringLiteral("Use ") + name);
        for (const char* s : kMasterData)
            sample.exec(QString::fromUtf8(s));

        {
            TrmtDM dm;
            if (!dbconnected)
                fail(QStringLiteral("no connection"));
            dbname = name;
            username = QStringLiteral("张建国");
            systype = TSystype::local;
            spricedots = 2;
            dpricedots = 2;
            monthid = dm.getsystemvalue(QStringLiteral("monthid"));
            curpid = dm.GetID(QStringLiteral("pid"));
            // The bill categories' pool, made anew as saving the categories in the settings makes
            // it; the close of October makes it anew once more, so that November's numbers
            // start again at 1.
            if (!dm.deletebilltypelist()
                || !dm.createnewbilltypelist({QStringLiteral("A3"), QStringLiteral("A4")}))
                fail(QStringLiteral("the bill-number pool could not be made"));
            for (const Bill& b : bills()) {
                if (QString::fromLatin1(b.date).startsWith(QLatin1String("2024-11")) && curpid == 0) {
                    sample.audit(dm);
                    sample.closeperiod(dm, QDate(2024, 10, 31));
                }
                sample.save(dm, b);
                sample.audit(dm);
            }
            sample.audit(dm);
            if (!shown.isEmpty())
                fail(QStringLiteral("the data module said: ") + shown.join(QLatin1Char('\n')));
        }
        sample.exec(QStringLiteral("Use Master"));
        QDir().mkpath(QFileInfo(outputPath).absolutePath());
        QFile::remove(partial);
        sample.exec(QStringLiteral("BACKUP DATABASE ") + name + QStringLiteral(" TO DISK =") + quoted(partial)
                    + QStringLiteral(" with init"));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dpx-mksample: %s\n", e.what());
        QFile::remove(partial);
        return 1;
    }
    QFile::remove(outputPath);
    if (!QFile::rename(partial, outputPath)) {
        std::fprintf(stderr, "dpx-mksample: cannot write %s\n", outputPath.toLocal8Bit().constData());
        return 1;
    }
    std::printf("dpx-mksample: %lld bills into %s\n", static_cast<long long>(bills().size()),
                outputPath.toLocal8Bit().constData());
    return 0;
}
