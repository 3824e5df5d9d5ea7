// The data module on a real account set restored from the build's template: the login's
// parameter reads, a stock-in bill saved and edited through the bill views, the picker
// texts against the schema, and the pool of a new account set.
#include "DataProcess.h"
#include "dmfixture.h"
#include "platform/db/ClientDataSet.h"
#include <QSet>

namespace {

QString Quoted(const QString& text) { return vartosqlvalue(text); }

} // namespace

class DMAccountSet : public DMTest {
protected:
    void SetUp() override
    {
        DMTest::SetUp();
        Connect();
        const QString db = Folder() + QStringLiteral("/Database/");
        Run(QStringLiteral("Use Master  RESTORE DATABASE acct FROM DISK =") + Quoted(dpxtest::templateFile())
            + QStringLiteral(" with file=1,replace,MOVE 'materialdb_data' TO ") + Quoted(db + QStringLiteral("acct_data.mdf"))
            + QStringLiteral(",MOVE 'materialdB_Log' TO ") + Quoted(db + QStringLiteral("acct_log.ldf")));
        dbname = QStringLiteral("acct");
        sqls.clear();
    }
    void Load(TClientDataSet& cds, const QString& view, const QString& key, const QString& condition)
    {
        cds.SetData(dm->gettabledata(view, key, condition, 20));
    }
};

TEST_F(DMAccountSet, LoginParametersAndCounters)
{
    const std::pair<const char*, int> params[] = {{"imbilltype", 2}, {"systype", 1}, {"monthid", 11},
                                                   {"spricedots", 2}, {"dpricedots", 2}, {"defaultcryid", 1}};
    for (const auto& [name, value] : params)
        EXPECT_EQ(dm->getsystemvalue(QString::fromLatin1(name)), value) << name;
    EXPECT_EQ(dm->GetID(QStringLiteral("pid")), 0);
    EXPECT_EQ(dm->GetnewID(QStringLiteral("BID")), 2);
    EXPECT_EQ(dm->getnewtreefid(dm->GetnewID(QStringLiteral("CFID"))), QStringLiteral("004"));
}

TEST_F(DMAccountSet, StockInBillSavedAndEditedThroughTheViews)
{
    const int mid = dm->GetnewID(QStringLiteral("mid"));
    ASSERT_TRUE(dm->addnewmtrlist(mid, 1, QStringLiteral("000"), QStringLiteral("钢筋"), QStringLiteral("Φ12"),
                                  QStringLiteral("吨"), QString()));
    TClientDataSet head, lines;
    Load(head, QStringLiteral("vibmaster"), QStringLiteral("fid"), QStringLiteral("1=0"));
    Load(lines, QStringLiteral("vibdetail"), QStringLiteral("Fid"), QStringLiteral("1=0"));
    const int iid = dm->GetnewID(QStringLiteral("iid"));
    head.Append();
    head.FieldByName(QStringLiteral("fid"))->SetValue(iid);
    head.FieldByName(QStringLiteral("pid"))->SetValue(0);
    head.FieldByName(QStringLiteral("billnum"))->SetAsString(QStringLiteral("甲 11-100"));
    head.FieldByName(QStringLiteral("bdate"))->SetValue(EncodeDate(2024, 11, 5));
    head.FieldByName(QStringLiteral("cfid"))->SetValue(2);
    head.FieldByName(QStringLiteral("cfname"))->SetAsString(QStringLiteral("甲供"));   // view only
    head.FieldByName(QStringLiteral("brecorded"))->SetValue(false);
    head.Post();
    for (int i = 1; i <= 2; ++i) {
        lines.Append();
        lines.FieldByName(QStringLiteral("iid"))->SetValue(iid);
        lines.FieldByName(QStringLiteral("mid"))->SetValue(mid);
        lines.FieldByName(QStringLiteral("mname"))->SetAsString(QStringLiteral("钢筋"));   // view only
        lines.FieldByName(QStringLiteral("qty"))->SetAsString(QString::number(i * 1.5));
        lines.FieldByName(QStringLiteral("sprice"))->SetAsString(QStringLiteral("4000"));
        lines.FieldByName(QStringLiteral("dprice"))->SetAsString(QString::number(i * 6000));
        lines.Post();
    }
    ASSERT_TRUE(dm->ApplyUpdateMD(head.Delta(), QStringLiteral("ibmaster"), QStringLiteral("fid"), lines.Delta(),
                                  QStringLiteral("ibdetail"), QStringLiteral("Fid")));
    EXPECT_EQ(Rows(QStringLiteral("select fid, billnum, bdate, cfid, brecorded, breverse from ibmaster")),
              QStringList{QStringLiteral("1|甲 11-100|2024-11-05|2|False|False")});
    EXPECT_EQ(Rows(QStringLiteral("select Fid, iid, mid, qty, dprice from ibdetail order by Fid")),
              (QStringList{QStringLiteral("1|1|1|1.5|6000"), QStringLiteral("2|1|1|3|12000")}));

    // The bill reloaded from the views: the head's remark, one line changed and one removed.
    Load(head, QStringLiteral("vibmaster"), QStringLiteral("fid"), QStringLiteral("fid=") + Quoted(QString::number(iid)));
    Load(lines, QStringLiteral("vibdetail"), QStringLiteral("Fid"), QStringLiteral("iid=") + Quoted(QString::number(iid)));
    ASSERT_EQ(lines.RecordCount(), 2);
    EXPECT_EQ(head.FieldByName(QStringLiteral("cfname"))->AsString(), QStringLiteral("甲供"));
    head.Edit();
    head.FieldByName(QStringLiteral("remark"))->SetAsString(QStringLiteral("补单"));
    head.Post();
    lines.First();
    lines.Edit();
    lines.FieldByName(QStringLiteral("qty"))->SetAsString(QStringLiteral("2"));
    lines.FieldByName(QStringLiteral("remark"))->SetAsString(QString());
    lines.Post();
    lines.Last();
    lines.Delete();
    sqls.clear();
    ASSERT_TRUE(dm->ApplyUpdateMD(head.Delta(), QStringLiteral("ibmaster"), QStringLiteral("fid"), lines.Delta(),
                                  QStringLiteral("ibdetail"), QStringLiteral("Fid")));
    EXPECT_EQ(Statements(), (QStringList{
        QStringLiteral("update ibmaster set remark = '补单' where fid=1"),
        QStringLiteral("update ibdetail set qty = '2' where Fid=1"),
        QStringLiteral("Delete ibdetail where Fid='2'"),
    }));
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibmaster")), QStringList{QStringLiteral("补单")});
    EXPECT_EQ(Rows(QStringLiteral("select Fid, qty from ibdetail")), QStringList{QStringLiteral("1|2")});
}

TEST_F(DMAccountSet, PickerTextsRunOnTheSchema)
{
    TClientDataSet cds;
    cds.SetData(dm->getsqldata(dm->getmrplist(), QStringLiteral("dbo.mrplist.fid"), QStringLiteral("fid"),
                               QStringLiteral("dbo.mrplist.qty>0"), 20));
    EXPECT_NE(cds.FindField(QStringLiteral("supname")), nullptr);
    cds.SetData(dm->getsqldata(dm->getmpplist(), QStringLiteral("dbo.mpplist.fid"), QStringLiteral("fid"),
                               QStringLiteral("1=1"), 20));
    EXPECT_NE(cds.FindField(QStringLiteral("pricemodal")), nullptr);
    // Price batches page on their date, which many batches share: 18 of one day, 4 of the next
    // across the first page boundary, 23 of a third day (more than a page).
    for (int i = 1; i <= 45; ++i)
        Run(QStringLiteral("insert into mrplist (mid, bdate, bnum, qty, cid) values (1, '%1', 'B%2', 1, 1)")
                .arg(i <= 18 ? QStringLiteral("2024-03-01") : i <= 22 ? QStringLiteral("2024-03-02") : QStringLiteral("2024-03-05"))
                .arg(i));
    cds.SetData(dm->getsqldata(getsrgdetailsql(), QStringLiteral("dbo.mrplist.bdate"), QStringLiteral("bdate"),
                               QStringLiteral("1=1"), 20));
    EXPECT_NE(cds.FindField(QStringLiteral("cryname")), nullptr);
    QSet<QString> bills;
    for (cds.First(); !cds.Eof(); cds.Next())
        bills.insert(cds.FieldByName(QStringLiteral("bnum"))->AsString());
    EXPECT_EQ(cds.RecordCount(), 45);
    EXPECT_EQ(bills.size(), 45);
    EXPECT_DOUBLE_EQ(dm->getpprice(1), 0);
    EXPECT_DOUBLE_EQ(dm->getdefaultbalance(), 0);
}

// An account set made by an older build lacks the indexes of the posting's lookups by bill,
// of the statistics' material code ranges and of the paged lists of a category or a node;
// the data module adds them when it first opens the account set.
TEST_F(DMAccountSet, AnOlderAccountSetGetsTheLookupIndexesWhenOpened)
{
    const std::pair<const char*, const char*> indexes[] = {
        {"mrplist", "IX_mrplist_iid"}, {"mrplist", "IX_mrplist_eid"}, {"cyldetaillist", "IX_cyldetaillist_eid"},
        {"mtrlist", "IX_mtrlist_code"},
        {"mtrlist", "IX_mtrlist_bid_fid"}, {"breedlist", "IX_breedlist_pfid_fid"}};
    Run(QStringLiteral("Use acct"));
    DbEngine& engine = dm->ADOCon->Engine();
    for (const auto& [table, index] : indexes) {
        ASSERT_TRUE(engine.IndexExists(QString::fromLatin1(table), QString::fromLatin1(index))) << index;
        Run(QStringLiteral("DROP INDEX %1.%2").arg(QString::fromLatin1(table), QString::fromLatin1(index)));
        ASSERT_FALSE(engine.IndexExists(QString::fromLatin1(table), QString::fromLatin1(index))) << index;
    }
    Run(QStringLiteral("Use Master"));
    dm.reset();
    dm = std::make_unique<TrmtDM>();
    ASSERT_TRUE(dm->OpenindicatinnDB(QStringLiteral("acct")));
    for (const auto& [table, index] : indexes)
        EXPECT_TRUE(dm->ADOCon->Engine().IndexExists(QString::fromLatin1(table), QString::fromLatin1(index))) << index;
}

TEST_F(DMAccountSet, PoolOfANewAccountSetAndAfterCategoriesAreSaved)
{
    // No bill category yet: the pool still exists, with its slot column.
    ASSERT_TRUE(dm->deletebilltypelist());
    ASSERT_TRUE(dm->createnewbilltypelist({}));
    ASSERT_TRUE(dm->execsql(QStringLiteral("insert into billtype (TypeName,code,ibnum,ebnum) values ('甲','A1',100,1)")));
    ASSERT_TRUE(dm->deletebilltypelist());
    ASSERT_TRUE(dm->createnewbilltypelist({QStringLiteral("A1")}));
    const int start = dm->getbillcodebnum(QStringLiteral("A1"), false);
    int slot = dm->getbillcodeid(QStringLiteral("imA1"));
    if (slot == 0) {
        ASSERT_TRUE(dm->Addnewcodeidline(QStringLiteral("imA1")));
        slot = dm->getbillcodeid(QStringLiteral("imA1"));
    }
    EXPECT_EQ(start + slot - 1, 100);
    EXPECT_EQ(dm->getbillcodeid(QStringLiteral("imA1")) + start - 1, 101);
}
