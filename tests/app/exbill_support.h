#pragma once
// Stock-out bill tests: the bill fixture with a using unit, a project and stock to draw from
// (two batches of the batch-priced steel, the moving-average cement), and the stock-out form.
#include "bill_support.h"

#include "app/ExBill.h"

class ExBillTest : public BillTest {
protected:
    void SetUp() override
    {
        BillTest::SetUp();
        SeedStock(QStringLiteral("acct"));
    }

    // A second unit and project, two batches of the steel and the cement's average, in db.
    void SeedStock(const QString& db)
    {
        const char* rows[] = {
            "update dptlist set bparent=1 where fid=1",
            "insert into dptlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) values (2,1,'000002',1,0,'一工区',1,0,0)",
            "update pjtlist set bparent=1 where fid=1",
            "insert into pjtlist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) values (2,1,'000002',1,0,'大桥',1,0,0)",
            "insert into mrplist (mid,bnum,orgqty,qty,sprice,dprice,rsprice,rdprice,block,pid,cid,cfid,supid) values (7,'A 11-1',10,10,3.5,35,3.5,35,0,1,0,2,2)",
            "insert into mrplist (mid,bnum,orgqty,qty,sprice,dprice,rsprice,rdprice,block,pid,cid,cfid,supid) values (7,'A 11-2',6,6,4,24,4,24,0,1,0,2,2)",
            "insert into msrglist (mid,qty,cost) values (7,16,59)",
            "insert into maplist (mid,maprice) values (8,2.5)",
            "insert into msrglist (mid,qty,cost) values (8,12,30)",
        };
        for (const char* s : rows)
            Exec(db, QString::fromUtf8(s));
    }

    std::unique_ptr<Tfrmbasicexbill> OpenExBill()
    {
        auto bill = std::make_unique<Tfrmbasicexbill>();
        apptest::showActive(bill.get());
        bill->newbill();
        return bill;
    }

    // Fills the head: unit 一工区, project 大桥, category A.
    static void FillExHead(Tfrmbasicexbill& bill)
    {
        PickNode(QStringLiteral("一工区"));
        bill.SpeedButton2Click();
        PickNode(QStringLiteral("大桥"));
        bill.SpeedButton3Click();
        PickType(bill, QStringLiteral("A"));
    }

    // Appends a line drawn from a batch, the fields set in the order the batch picker sets them.
    void AddBatchLine(Tfrmbasicexbill& bill, int rpid)
    {
        const QStringList b = Q(QStringLiteral("select mid,qty,dprice,rdprice,rsprice,sprice from mrplist where fid=")
                                + QString::number(rpid))
                                  .value(0)
                                  .split(QLatin1Char('|'));
        TClientDataSet& d = bill.CDSdetail;
        auto f = [&d](const char* name) { return d.FieldByName(QString::fromLatin1(name)); };
        d.Append();
        f("mid")->SetAsInteger(b[0].toInt());
        f("tempqty")->SetAsFloat(b[1].toDouble());
        f("tempdprice")->SetAsFloat(b[2].toDouble());
        f("temprdprice")->SetAsFloat(b[3].toDouble());
        f("qty")->SetAsFloat(b[1].toDouble());
        f("rsprice")->SetAsFloat(b[4].toDouble());
        f("rdprice")->SetAsFloat(b[3].toDouble());
        f("sprice")->SetAsFloat(b[5].toDouble());
        f("dprice")->SetAsFloat(b[2].toDouble());
        f("rpid")->SetAsInteger(rpid);
        d.Post();
    }
};
