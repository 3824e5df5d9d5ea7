#pragma once
// A real account set restored from the build's template, a data module logged into it in
// period 0, and the stock, turnover and bill rows of a small project written directly, as the
// posting would have left them. Used by the period-close and the statistics tests.
#include "DM.h"
#include "frmconst.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "qstringprint.h"
#include "schema_accountset.h"

#include <functional>

namespace closetest {

// Master data: categories of all three price models (one of turnover materials), units, a
// project, a supplier and four materials.
inline const char* const kMasterData[] = {
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) values (2,1,'000002',1,0,'钢材',0,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) values (3,1,'000003',1,0,'水泥',1,0)",
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,pricemodal,breedtype) values (4,1,'000004',1,0,'模板',2,1)",
    "update breedlist set bparent=1 where fid=1",
    "insert into mtrlist (fid,bid,code,mname) values (1,2,'000002','螺纹钢')",
    "insert into mtrlist (fid,bid,code,mname) values (2,3,'000003','水泥')",
    "insert into mtrlist (fid,bid,code,mname) values (3,4,'000004','钢模板')",
    "insert into mtrlist (fid,bid,code,mname) values (4,2,'000002','盘圆')",
    "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'一工区')",
    "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname) values (3,1,'000003',1,0,'二工区')",
    "update dptlist set bparent=1 where fid=1",
    "insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'一号楼')",
    "insert into suplist (fid,pfid,code,tlevel,bparent,prtname) values (2,1,'000002',1,0,'华北钢厂')",
    "insert into billtype (TypeName,code,ibnum,ebnum) values ('材料','A3',1,1)",
    "insert into billtype (TypeName,code,ibnum,ebnum) values ('周转','A4',100,100)",
    "insert into currentpid (periodid,crtdate) values (0,'2024-11-01')",
};

// The books of period 0: stock (one material at zero), turnover tables, issue rows (two of one
// material to one unit, one of a unit removed since, one left over from an older period) and
// audited and unaudited bills.
inline const char* const kBooks[] = {
    "insert into msrglist (mid,qty,cost,preqty,precost) values (1,10,125,2,20)",
    "insert into msrglist (mid,qty,cost,preqty,precost) values (2,4.5,90,0,0)",
    "insert into msrglist (mid,qty,cost,preqty,precost) values (3,6,300,8,400)",
    "insert into msrglist (mid,qty,cost,preqty,precost) values (4,0,0,3,30)",
    "insert into cyldb (mid,qty,cost,srgqty,srgcost,eqty,ecost) values (3,14,700,6,300,8,400)",
    "insert into cyldptlist (dptid,mid,qty,cost) values (2,3,5,250)",
    "insert into cyldptlist (dptid,mid,qty,cost) values (9,3,3,150)",
    "insert into cyldetaillist (eid,pid,mid,dptid,crtdate,qty,cost,remark) values (11,0,3,2,'2024-11-05',2,100,'a')",
    "insert into cyldetaillist (eid,pid,mid,dptid,crtdate,qty,cost,remark) values (12,0,3,2,'2024-11-09',3,150,'b')",
    "insert into cyldetaillist (eid,pid,mid,dptid,crtdate,qty,cost,remark) values (13,0,3,9,'2024-11-10',3,150,'c')",
    "insert into cyldetaillist (eid,pid,mid,dptid,crtdate,qty,cost,remark) values (14,7,3,3,'2024-01-10',1,50,'old')",
    "insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,brecorded,cfcode,supcode) "
    "values (1,0,1,'材料 11-1','2024-11-02',2,2,1,'000002','000002')",
    "insert into ibdetail (iid,mid,qty,amount,dprice) values (1,1,8,100,105)",
    "insert into ibdetail (iid,mid,qty,amount,dprice) values (1,2,4.5,90,90)",
    "insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,brecorded,cfcode,supcode) "
    "values (2,0,1,'材料 11-2','2024-11-03',3,2,0,'000003','000002')",
    "insert into ibdetail (iid,mid,qty,amount,dprice) values (2,1,99,999,999)",
    "insert into ebmaster (fid,pid,bdate,dptid,pjtid,brecorded,dptcode,pjtcode) "
    "values (1,0,'2024-11-05',2,2,1,'000002','000002')",
    "insert into ebdetail (eid,mid,qty,dprice) values (1,3,2,100)",
    "insert into ebdetail (eid,mid,qty,dprice) values (1,4,3,30)",
};

// Every table the close reads or writes, each in a fixed order.
inline const char* const kCloseTables[] = {
    "select IDname,ID from IDlist order by IDname",
    "select periodid,crtdate from currentpid",
    "select pid,crtdate,enddate from periodlist order by fid",
    "select mid,qty,cost,preqty,precost from msrglist order by mid",
    "select pid,mid,qty,cost,preqty,precost from premsrglist order by fid",
    "select pid,Mid,iid,eid,bdate,comment,srgqty,srgcost from imexsrglist order by fid",
    "select pid,mid,qty,cost,srgqty,srgcost,eqty,ecost from precyldb order by fid",
    "select pid,dptid,mid,qty,cost from precyldptlist order by fid",
    "select pid,dptid,mid,crtdate,enddate,qty,cost,remark from precyldetaillist order by fid",
    "select eid,pid,mid,dptid,crtdate,qty,cost,remark from cyldetaillist order by fid",
    "select * from billtypelist order by fid",
    "select sql from sqlite_master where name='billtypelist'",
};

class CloseTest : public dpxtest::AccountSetTest {
protected:
    void SetUp() override
    {
        dpxtest::AccountSetTest::SetUp();
        if (HasFatalFailure())
            return;
        MessageSink::Set([this](MsgKind, const QString& text, const QString&) {
            messages << text;
            return true;
        });
        dpxtest::writeSettings(programDir(), serverName(), QStringLiteral("5"));
        dm = std::make_unique<TrmtDM>();
        ASSERT_TRUE(dbconnected);
        dbname = QStringLiteral("acct");
        curpid = 0;
        dm->OnSQL = [this](const QString& sql) {
            if (onsql)
                onsql(sql);
        };
        exec(kMasterData);
    }

    void TearDown() override
    {
        dm.reset();
        dbname.clear();
        curpid = 0;
        MessageSink::Set({});
        dpxtest::AccountSetTest::TearDown();
    }

    template <size_t N>
    void exec(const char* const (&statements)[N])
    {
        for (const char* s : statements)
            ASSERT_EQ(run(QString::fromUtf8(s)), QString()) << s;
    }

    // The rows of every table the close touches.
    QStringList books()
    {
        QStringList out;
        for (const char* s : kCloseTables)
            out << QString::fromUtf8(s) + QStringLiteral(":\n") + rows(QString::fromUtf8(s));
        return out;
    }

    bool closeperiod(const char* pbdate = "2024-11-01", const char* pedate = "2024-11-30",
                     const char* newbdate = "2024-12-01")
    {
        auto day = [](const char* s) {
            const QDate d = QDate::fromString(QString::fromLatin1(s), Qt::ISODate);
            return TDateTime(double(QDate(1899, 12, 30).daysTo(d)));
        };
        return dm->billbalance(day(pbdate), day(pedate), day(newbdate));
    }

    std::unique_ptr<TrmtDM> dm;
    QStringList messages;
    std::function<void(const QString&)> onsql;
};

} // namespace closetest
