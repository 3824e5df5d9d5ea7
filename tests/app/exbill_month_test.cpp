// A clerk's month through the forms: three receipts, two issues drawn with the batch picker, a
// return each way through the return pickers, every bill audited, and the period closed. The
// same bills, written as the forms store them and posted by the data module's own operations
// in a second account set, must leave the same stock, batches and ledger behind.
#include "exbill_support.h"

#include "app/CloseAccountForm.h"
#include "app/ExPicker.h"
#include "app/ExReturnPicker.h"
#include "app/ReturnPicker.h"
#include "data/DataProcess.h"

namespace {

// What the month leaves behind. Line keys differ between account sets: a batch or ledger row
// names its bill line by the bill's number instead.
const char* const kMonthTables[] = {
    "select mid,qty,cost from msrglist order by mid",
    "select pid,mid,qty,cost,preqty,precost from premsrglist order by pid,mid",
    "select mid,maprice from maplist order by mid",
    "select a.mid,a.bdate,a.bnum,a.orgqty,a.orgdprice,a.orgrdprice,a.qty,a.sprice,a.dprice,a.rsprice,a.rdprice,a.remark,"
    "a.block,a.Pid,a.cid,a.cfid,a.supid,"
    "(select m.billnum from ibdetail d,ibmaster m where d.fid=a.iid and m.fid=d.iid),"
    "(select m.billnum from ebdetail d,ebmaster m where d.fid=a.eid and m.fid=d.eid) from mrplist a order by a.fid",
    "select a.pid,a.Mid,a.bdate,a.comment,a.dptprj,a.bnum,a.iqty,a.isprice,a.idprice,a.eqty,a.esprice,a.edprice,"
    "a.srgqty,a.srgcost,a.remark,"
    "(select m.billnum from ibdetail d,ibmaster m where d.fid=a.iid and m.fid=d.iid),"
    "(select m.billnum from ebdetail d,ebmaster m where d.fid=a.eid and m.fid=d.eid) from imexsrglist a order by a.fid",
    "select billnum,brecorded,breverse,assessor from ibmaster order by billnum,breverse",
    "select billnum,brecorded,breverse,assessor from ebmaster order by billnum,breverse",
    "select pid,crtdate,enddate from periodlist order by pid",
    "select periodid,crtdate from currentpid",
};

} // namespace

class ClerksMonthTest : public ExBillTest {
protected:
    // The month through the forms in the fixture's account set.
    void ThroughTheForms();
    // The same bills through the data module in account set db, seeded as the fixture's.
    void ThroughTheModule(const QString& db);

    QStringList Tables(const QString& db)
    {
        QStringList out;
        for (const char* sql : kMonthTables)
            out << Rows(db, QString::fromUtf8(sql)).join(QLatin1Char('\n'));
        return out;
    }

    // The day the month is closed.
    static TDateTime Closing() { return FromQDate(QDate(2024, 11, 30)); }
};

void ClerksMonthTest::ThroughTheForms()
{
    auto receipt = [&](std::initializer_list<std::tuple<int, double, double>> lines) {
        auto bill = OpenBill();
        FillHead(*bill);
        for (const auto& [mid, qty, price] : lines)
            AddLine(*bill, mid, qty, price);
        bill->acSaveExecute();
        bill->acAuditingExecute();
        EXPECT_EQ(bill->btnState(), 7);
    };
    receipt({{7, 10, 3.5}, {8, 12, 2.5}});
    receipt({{7, 6, 4}});
    receipt({{8, 8, 3}});

    // Issues: 4 of the first steel batch and the whole cement; then the whole second batch.
    auto issue = [&](std::function<void(Tfrmexdetail&)> pick) {
        auto bill = OpenExBill();
        FillExHead(*bill);
        DialogScript::AnswerForm([&](TForm& f) {
            pick(dynamic_cast<Tfrmexdetail&>(f));
            return mrOk;
        });
        bill->btlistaddClick();
        bill->acSaveExecute();
        bill->acAuditingExecute();
        EXPECT_EQ(bill->btnState(), 7);
    };
    auto steel = [&](Tfrmexdetail& p, const char* bnum) {
        ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
        p.DBGridGx1DblClick();
        p.cdsbaseinfo.Locate(QStringLiteral("bnum"), Variant(QString::fromUtf8(bnum)), {});
        p.DBGridGx2DblClick();
    };
    issue([&](Tfrmexdetail& p) {
        steel(p, "A 11-1");
        TDataSet* d = p.detailsource()->DataSet();
        d->FieldByName(QStringLiteral("qty"))->SetAsFloat(4);
        ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("水泥")));
        p.DBGridGx1DblClick();
    });
    issue([&](Tfrmexdetail& p) { steel(p, "A 11-2"); });

    // The unit gives back the 4 steel of the first issue.
    {
        auto back = OpenExBill();
        FillExHead(*back);
        back->cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(true);
        back->DBCheckBox1->SetChecked(true);
        DialogScript::AnswerForm([&](TForm& f) {
            auto& p = dynamic_cast<Tfrmexdetail_R&>(f);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("钢材")));
            p.cdsbaseinfo.First();
            p.DBGridGx1DblClick();
            return mrOk;
        });
        back->btlistaddClick();
        back->acSaveExecute();
        back->acAuditingExecute();
        EXPECT_EQ(back->btnState(), 7);
    }
    // The supplier takes back the cement of the third receipt.
    {
        auto back = OpenBill();
        FillHead(*back);
        back->cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(true);
        DialogScript::AnswerForm([&](TForm& f) {
            auto& p = dynamic_cast<Tfrmimdetail_R&>(f);
            ClickNode(p.TreeView1, NodeNamed(p.TreeView1, QStringLiteral("水泥")));
            p.cdsbaseinfo.Last();
            p.DBGridGx1DblClick();
            return mrNo;
        });
        back->btlistaddClick();
        back->acSaveExecute();
        back->acAuditingExecute();
        EXPECT_EQ(back->btnState(), 7);
    }
    Tfrmbalance close;
    close.show();
    close.DateTimePicker1->setDate(ToQDate(Closing()));
    DialogScript::ClearLog();
    close.Button1->Click();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("材料扎帐成功！")});
}

void ClerksMonthTest::ThroughTheModule(const QString& db)
{
    dbname = db;
    curpid = dm->GetID(QStringLiteral("pid"));
    const QString pid = QString::number(curpid);
    const QString today = vartosqlvalue(Variant(datetoday()));
    auto value = [&](const QString& sql) { return Rows(db, sql).value(0); };
    // A bill as the forms store it (%1 its key), posted by the module with what it reads back.
    auto bill = [&](bool in, const QString& head, const QStringList& lines) {
        const int fid = dm->GetnewID(in ? QStringLiteral("iid") : QStringLiteral("eid"));
        const QString key = QString::number(fid);
        ASSERT_TRUE(dm->execsql(head.arg(key)));
        for (const QString& line : lines)
            ASSERT_TRUE(dm->execsql(line.arg(key)));
        TClientDataSet h, d;
        h.SetData(dm->gettabledata(in ? QStringLiteral("vibmaster") : QStringLiteral("vebmaster"), QStringLiteral("fid"),
                                   QStringLiteral("fid=") + key, 20));
        d.SetData(dm->gettabledata(in ? QStringLiteral("vibdetail") : QStringLiteral("vebdetail"), QStringLiteral("fid"),
                                   (in ? QStringLiteral("iid=") : QStringLiteral("eid=")) + key, 20));
        EXPECT_TRUE(in ? dm->imbillrecord(&h, &d) : dm->exbillrecord(&h, &d)) << head.toStdString();
    };
    auto receipt = [&](const char* num, bool reverse, const QStringList& lines) {
        bill(true,
             QStringLiteral("insert into ibmaster (fid,pid,billnum,bdate,cfid,supid,lister,brecorded,breverse,cfcode,"
                            "supcode) values (%1,")
                 + pid + QStringLiteral(",'") + QString::fromUtf8(num) + QStringLiteral("',") + today
                 + QStringLiteral(",2,2,'admin',0,") + (reverse ? QStringLiteral("1") : QStringLiteral("0"))
                 + QStringLiteral(",'000002','000002')"),
             lines);
    };
    auto issue = [&](const char* num, bool reverse, const QStringList& lines) {
        bill(false,
             QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,lister,brecorded,breverse,bcylm,"
                            "breb,dptcode,pjtcode) values (%1,")
                 + pid + QStringLiteral(",") + today + QStringLiteral(",2,2,'") + QString::fromUtf8(num)
                 + QStringLiteral("','admin',0,") + (reverse ? QStringLiteral("1") : QStringLiteral("0"))
                 + QStringLiteral(",0,0,'000002','000002')"),
             lines);
    };
    const QString inline_ = QStringLiteral("insert into ibdetail (iid,mid,qty,sprice,dprice) values (%1,");
    receipt("A 11-1", false, {inline_ + QStringLiteral("7,10,3.5,35)"), inline_ + QStringLiteral("8,12,2.5,30)")});
    receipt("A 11-2", false, {inline_ + QStringLiteral("7,6,4,24)")});
    receipt("A 11-3", false, {inline_ + QStringLiteral("8,8,3,24)")});

    // A line drawn from a batch keeps the batch as it stood; qty and dprice as the clerk left them.
    auto batchline = [&](const char* bnum, const QString& qty, const QString& dprice) {
        const QString b = value(QStringLiteral("select fid,qty,dprice,rdprice,rsprice,sprice,cid,cfid,supid from mrplist "
                                               "where mid=7 and bnum='")
                                + QString::fromUtf8(bnum) + QStringLiteral("'"));
        const QStringList f = b.split(QLatin1Char('|'));
        return QStringLiteral("insert into ebdetail (eid,rpid,mid,qty,tempqty,tempdprice,temprdprice,rsprice,rdprice,"
                              "sprice,dprice,cid,cfid,supid) values (%1,")
               + QStringList{f[0], QStringLiteral("7"), qty, f[1], f[2], f[3], f[4], f[3], f[5], dprice, f[6], f[7], f[8]}
                     .join(QLatin1Char(','))
               + QStringLiteral(")");
    };
    // The whole moving-average stock of the cement, at its average price.
    const QStringList cement = value(QStringLiteral("select s.qty,a.maprice,s.cost from msrglist s,maplist a where "
                                                    "s.mid=8 and a.mid=8"))
                                   .split(QLatin1Char('|'));
    issue("A 11-1", false,
          {batchline("A 11-1", QStringLiteral("4"), QStringLiteral("14")),
           QStringLiteral("insert into ebdetail (eid,mid,qty,tempqty,tempdprice,sprice,dprice) values (%1,8,")
               + QStringList{cement[0], cement[0], cement[2], cement[1], cement[2]}.join(QLatin1Char(','))
               + QStringLiteral(")")});
    issue("A 11-2", false, {batchline("A 11-2", QStringLiteral("6"), QStringLiteral("24"))});

    // The returns name the lines they give back.
    const QStringList issued = value(QStringLiteral("select d.rpid,d.qty,d.cid,d.rsprice,d.rdprice,d.sprice,d.dprice "
                                                    "from ebdetail d,ebmaster m where m.fid=d.eid and m.billnum='A 11-1' "
                                                    "and d.mid=7"))
                                   .split(QLatin1Char('|'));
    issue("A 11-3", true,
          {QStringLiteral("insert into ebdetail (eid,rpid,mid,qty,tempqty,cid,rsprice,rdprice,sprice,dprice,remark) values "
                          "(%1,")
           + QStringList{issued[0], QStringLiteral("7"), QStringLiteral("-") + issued[1], issued[1], issued[2], issued[3],
                         QStringLiteral("-") + issued[4], issued[5], QStringLiteral("-") + issued[6]}
                 .join(QLatin1Char(','))
           + QStringLiteral(",'退库或冲帐')")});
    const QString received = value(QStringLiteral("select d.fid from ibdetail d,ibmaster m where m.fid=d.iid and "
                                                  "m.billnum='A 11-3'"));
    receipt("A 11-4", true,
            {QStringLiteral("insert into ibdetail (iid,idid,mid,qty,sprice,dprice,remark) values (%1,") + received
             + QStringLiteral(",8,-8,3,-24,'冲帐或退货')")});

    // The period closed from the first period's start, as the close dialog does.
    TClientDataSet current;
    current.SetData(dm->gettabledata(QStringLiteral("currentpid"), QStringLiteral("periodid"), QStringLiteral("1=1"), 20));
    const TDateTime closing = Closing();
    TDateTime start = closing;
    if (current.Active() && !current.IsEmpty())
        start = current.FieldByName(QStringLiteral("crtdate"))->AsDateTime();
    else
        ASSERT_TRUE(dm->execsql(QStringLiteral("insert into currentpid (periodid,crtdate) values (0,")
                                + vartosqlvalue(Variant(start)) + QStringLiteral(")")));
    EXPECT_TRUE(dm->billbalance(start, closing, TDateTime(closing.Value + 1)));
}

TEST_F(ClerksMonthTest, TheFormsPostAsTheDataModuleDoes)
{
    for (const char* t : {"mrplist", "msrglist", "maplist"})
        X(QStringLiteral("delete from ") + QString::fromLatin1(t));
    ThroughTheForms();

    // Steel: 16 received at 59, 10 issued at 38, 4 back at 14: 10 at 35, all in the first batch.
    // Cement: 20 received at 54, all issued, 8 sent back at 24.
    EXPECT_EQ(Q(QStringLiteral("select mid,qty,cost from msrglist order by mid")),
              (QStringList{QStringLiteral("7|10|35"), QStringLiteral("8|-8|-24")}));
    EXPECT_EQ(Q(QStringLiteral("select mid,bnum,qty,dprice,block from mrplist where mid=7 order by fid")),
              (QStringList{QStringLiteral("7|A 11-1|10|35|0"), QStringLiteral("7|A 11-2|0|0|0")}));
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ebmaster where brecorded=1")), QStringList{QStringLiteral("3")});
    EXPECT_EQ(Q(QStringLiteral("select count(*) from ibmaster where brecorded=1")), QStringList{QStringLiteral("4")});

    const QString other = QStringLiteral("acct2");
    ASSERT_TRUE(CreateAccountSet(other)) << lastCreation.toStdString();
    SeedBills(other);
    SeedStock(other);
    for (const char* t : {"mrplist", "msrglist", "maplist"})
        Exec(other, QStringLiteral("delete from ") + QString::fromLatin1(t));
    const QString formsdb = dbname;
    const int formspid = curpid;
    ThroughTheModule(other);
    dbname = formsdb;
    curpid = formspid;

    const QStringList forms = Tables(QStringLiteral("acct"));
    const QStringList module = Tables(other);
    ASSERT_EQ(forms.size(), module.size());
    for (int i = 0; i < forms.size(); ++i)
        EXPECT_EQ(forms[i], module[i]) << kMonthTables[i];
}
