#pragma once
// Bill tests: an account set with bill categories, a number pool, a supplier, material
// categories of the three price models with a material each, and the stock-in bill form.
#include "master_support.h"

#include "app/DropDownPicker.h"
#include "app/ImBill.h"
#include "app/ImPicker.h"
#include "platform/db/Field.h"

class BillTest : public MasterTest {
protected:
    void SetUp() override
    {
        MasterTest::SetUp();
        SeedBills(QStringLiteral("acct"));
        systype = TSystype::local;
        imbilltype = 0;
        monthid = 11;
        spricedots = 2;
        dpricedots = 2;
    }

    // Bill categories A (11) and B (12) with their number pool, a supplier, currencies, and
    // material categories of the three price models with a material each, in account set db.
    void SeedBills(const QString& db)
    {
        Exec(db, QStringLiteral("insert into billtype (typename,code,ibnum,ebnum) values ('A','11',1,1)"));
        Exec(db, QStringLiteral("insert into billtype (typename,code,ibnum,ebnum) values ('B','12',1,1)"));
        const QString logged = dbname;
        dbname = db;
        EXPECT_TRUE(dm->deletebilltypelist());
        EXPECT_TRUE(dm->createnewbilltypelist({QStringLiteral("11"), QStringLiteral("12")}));
        dbname = logged;
        Exec(db, QStringLiteral("update breedlist set bparent=1 where fid=1"));
        const char* cats[] = {
            "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate,visibled) values (101,1,'000101',1,0,'钢材',0,0,10,1)",
            "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate,visibled) values (102,1,'000102',1,0,'水泥',1,0,0,1)",
            "insert into breedlist (FID,Pfid,code,tlevel,bparent,prtname,pricemodal,breedtype,adminrate,visibled) values (103,1,'000103',1,0,'木材',2,0,0,1)",
            "insert into mtrlist (FID,bID,code,mname,mtype,munit) values (7,101,'000101','圆钢','Φ12','吨')",
            "insert into mtrlist (FID,bID,code,mname,mtype,munit) values (8,102,'000102','水泥','P.O42.5','吨')",
            "insert into mtrlist (FID,bID,code,mname,mtype,munit) values (9,103,'000103','方木','100*100','方')",
            "insert into mpplist (mid,pprice) values (9,12.5)",
            "update suplist set bparent=1 where fid=1",
            "insert into suplist (fid,pfid,code,tlevel,bparent,prtname,visibled,expanded,ischecked) values (2,1,'000002',1,0,'华丰钢厂',1,0,0)",
            "insert into currencyset (cryname,tobalance,isbalance,visibled) values ('人民币',2,1,1)",
            "insert into currencyset (cryname,tobalance,isbalance,visibled) values ('美元',4,0,1)",
        };
        for (const char* s : cats)
            Exec(db, QString::fromUtf8(s));
    }

    std::unique_ptr<Tfrmbasicimbill> OpenBill()
    {
        auto bill = std::make_unique<Tfrmbasicimbill>();
        apptest::showActive(bill.get());
        bill->newbill();
        return bill;
    }

    // Picks a bill category by its name in the category drop-down.
    static void PickType(Tfrmbasicbill& bill, const QString& name)
    {
        DialogScript::AnswerForm([name](TForm& f) {
            auto& p = dynamic_cast<Tfrmbilltypelistbox&>(f);
            p.CDSlist.Locate(QStringLiteral("typename"), Variant(name), {});
            p.DBGridGx1CellClick(nullptr);
            return mrOk;
        });
        bill.SpeedButton1Click();
    }
    // Picks a node of a tree drop-down by its name.
    static void PickNode(const QString& name)
    {
        DialogScript::AnswerForm([name](TForm& f) {
            auto& p = dynamic_cast<TfrmBasictreeshow&>(f);
            ClickNode(p.treelist, NodeNamed(p.treelist, name));
            return mrOk;
        });
    }
    // Fills the head: source 甲供, supplier 华丰钢厂, category A.
    static void FillHead(Tfrmbasicimbill& bill)
    {
        PickNode(QStringLiteral("甲供"));
        bill.SpeedButton2Click();
        PickNode(QStringLiteral("华丰钢厂"));
        bill.SpeedButton3Click();
        PickType(bill, QStringLiteral("A"));
    }
    // Appends a line of a material with a quantity and unit price, as typed.
    static void AddLine(Tfrmbasicimbill& bill, int mid, double qty, double sprice)
    {
        TClientDataSet& d = bill.CDSdetail;
        d.Append();
        d.FieldByName(QStringLiteral("mid"))->SetAsInteger(mid);
        d.FieldByName(QStringLiteral("qty"))->SetAsFloat(qty);
        d.FieldByName(QStringLiteral("sprice"))->SetAsFloat(sprice);
        d.Post();
    }
    static QString Num(TField* f) { return f->IsNull() ? QString() : QString::number(f->AsFloat()); }
};
