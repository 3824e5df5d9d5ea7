// The decimals of unit prices come from the account set the user logs into: the posting's
// moving average is rounded to the account set's "spricedots", read by the login dialog, not to
// a value the program starts with.
#include "app_fixture.h"

namespace {

// A moving-average category with one material, its supplier and a stock of 10 at 100.00.
const char* const kMovingAverage[] = {
    "insert into breedlist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,pricemodal,breedtype,adminrate) "
    "values (3,1,'000003',1,0,'水泥','','',1,0,0)",
    "insert into mtrlist (fid,bid,code,mname,mtype,munit,remark) values (2,3,'000003','水泥','P.O42.5','吨','')",
    "insert into suplist (fid,pfid,code,tlevel,bparent,prtname,prtcode,remark,visibled,expanded,ischecked) "
    "values (2,1,'000002',1,0,'华北建材','','',1,0,0)",
    "insert into msrglist (mid,qty,cost,preqty,precost) values (2,10,100,0,0)",
    "insert into maplist (mid,maprice) values (2,10)",
};

} // namespace

class LoginRounding : public AppTest {
protected:
    // Writes stock-in bill fid of the open period: one line of qty at amount of the material.
    void InBill(int fid, double qty, double amount)
    {
        Exec(db, QStringLiteral("insert into ibmaster (fid,pid,cid,billnum,bdate,cfid,supid,ckid,lister,assessor,brecorded,"
                                "breverse) values (%1,%2,1,'RK%1','2024-03-05',3,2,0,'王五','',0,0)")
                     .arg(fid)
                     .arg(curpid));
        Exec(db, QStringLiteral("insert into ibdetail (Fid,iid,pfid,idid,mid,qty,rprice,amount,rsprice,rdprice,sprice,dprice,"
                                "remark) values (%1,%1,0,0,2,%2,%3,%4,%3,%4,%3,%4,'')")
                     .arg(fid)
                     .arg(qty)
                     .arg(amount / qty, 0, 'g', 17)
                     .arg(amount));
    }

    // Audits bill fid through the data module with the datasets the bill form loads.
    bool Audit(int fid)
    {
        TClientDataSet head, lines;
        head.SetData(dm->gettabledata(QStringLiteral("vibmaster"), QStringLiteral("fid"), QStringLiteral("fid=%1").arg(fid), 20));
        lines.SetData(dm->gettabledata(QStringLiteral("vibdetail"), QStringLiteral("fid"), QStringLiteral("iid=%1").arg(fid), 20));
        return dm->imbillrecord(&head, &lines);
    }

    const QString db = QStringLiteral("round");
};

TEST_F(LoginRounding, TheAverageTakesTheDecimalsOfTheAccountSet)
{
    ASSERT_TRUE(CreateAccountSet(db)) << lastCreation.toStdString();
    for (const char* s : kMovingAverage)
        Exec(db, QString::fromUtf8(s));
    // Each step sets the account set's decimals, logs in anew and receives one bill; the
    // average is the stock's cost over its quantity, rounded half away from zero.
    const struct {
        int dots;
        double qty, amount;
        const char* stock;   // quantity|cost after the receipt
        const char* price;   // the stored moving average
    } steps[] = {
        {3, 5, 60, "15|160", "10.667"},       // 10.6666…
        {1, 3, 30, "18|190", "10.6"},         // 10.5555…
        {4, 3, 35.5, "21|225.5", "10.7381"},  // 10.738095…
        {0, 1, 15.5, "22|241", "11"},         // 10.954…
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.dots);
        Exec(db, QStringLiteral("update systemset set ivalue=%1 where name='spricedots'").arg(s.dots));
        spricedots = -1;
        ASSERT_TRUE(Login(db, QStringLiteral("admin"), QStringLiteral("tulip")));
        EXPECT_EQ(spricedots, s.dots);
        const int fid = int(&s - steps) + 1;
        InBill(fid, s.qty, s.amount);
        DialogScript::ClearLog();
        ASSERT_TRUE(Audit(fid)) << Texts().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(Rows(db, QStringLiteral("select qty, cost from msrglist where mid=2")), QStringList{QString::fromUtf8(s.stock)});
        EXPECT_EQ(Rows(db, QStringLiteral("select maprice from maplist where mid=2")), QStringList{QString::fromUtf8(s.price)});
    }
}
