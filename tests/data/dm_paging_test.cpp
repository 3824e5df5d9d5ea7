// Paged loading into client datasets and the writing of change logs.
#include "dmfixture.h"
#include "platform/db/ClientDataSet.h"
#include <algorithm>

namespace {

QList<int> Keys(const TDataPacket& packet, const QString& field = QStringLiteral("fid"))
{
    TClientDataSet cds;
    cds.SetData(packet);
    QList<int> keys;
    for (cds.First(); !cds.Eof(); cds.Next())
        keys << cds.FieldByName(field)->AsInteger();
    return keys;
}

QList<int> Range(int from, int to)
{
    QList<int> r;
    for (int i = from; i <= to; ++i)
        r << i;
    return r;
}

} // namespace

class DMPaging : public DMTest {
protected:
    void SetUp() override
    {
        DMTest::SetUp();
        Connect();
        CreateAccountSet();
        Run(QStringLiteral("CREATE TABLE [dbo].[pg] ([fid] [int] NOT NULL ,[name] [varchar] (20) NULL ,"
                           "CONSTRAINT [PK_pg] PRIMARY KEY CLUSTERED ([fid]) ON [PRIMARY]) ON [PRIMARY]"));
        for (int i = 40; i >= 1; --i)
            Run(QStringLiteral("insert into pg (fid, name) values (%1, 'n%1')").arg(i));
        sqls.clear();
    }
};

TEST_F(DMPaging, FortyRowsInPagesOfTwentyTakeThreeSelects)
{
    const TDataPacket p = dm->gettabledata(QStringLiteral("pg"), QStringLiteral("fid"), QStringLiteral("1=1"), 20);
    EXPECT_EQ(Statements(), (QStringList{
        QStringLiteral("select * from pg where 1=1 order by fid"),
        QStringLiteral("select * from pg where fid>'20' and (1=1) order by fid"),
        QStringLiteral("select * from pg where fid>'40' and (1=1) order by fid"),
    }));
    EXPECT_EQ(Keys(p), Range(1, 40));
    EXPECT_TRUE(sqls.first() == QStringLiteral("Use acc"));
}

TEST_F(DMPaging, AConditionWithOrDoesNotRepeatRows)
{
    const TDataPacket p = dm->gettabledata(QStringLiteral("pg"), QStringLiteral("fid"),
                                           QStringLiteral("fid<=5 or fid>=36"), 4);
    EXPECT_EQ(Keys(p), (QList<int>{1, 2, 3, 4, 5, 36, 37, 38, 39, 40}));
    EXPECT_EQ(Statements()[1], QStringLiteral("select * from pg where fid>'4' and (fid<=5 or fid>=36) order by fid"));
}

TEST_F(DMPaging, EmptyConditionAndShortReads)
{
    // "1=0" gives the columns without rows.
    TClientDataSet cds;
    cds.SetData(dm->gettabledata(QStringLiteral("pg"), QStringLiteral("fid"), QStringLiteral("1=0"), 20));
    EXPECT_TRUE(cds.Active());
    EXPECT_EQ(cds.RecordCount(), 0);
    EXPECT_NE(cds.FindField(QStringLiteral("name")), nullptr);
    // One fetch returns at most Rcount rows.
    EXPECT_EQ(Keys(dm->GetLargeData(QStringLiteral("select * from pg order by fid"), 5)), Range(1, 5));
    // A failing SELECT ends the loading with the dataset layer's error.
    EXPECT_THROW(dm->gettabledata(QStringLiteral("nosuch"), QStringLiteral("fid"), QStringLiteral("1=1"), 20), EDatabaseError);
    EXPECT_THROW(dm->gettabledata(QStringLiteral("pg"), QStringLiteral("fid"), QString(), 20), EDatabaseError);
}

TEST_F(DMPaging, SqlPagingComparesTheOrderKeyAndReadsTheKeyField)
{
    const TDataPacket p = dm->getsqldata(QStringLiteral("select a.fid, a.name, b.cryname from pg a left join currencyset b on a.fid=b.fid"),
                                         QStringLiteral("a.fid"), QStringLiteral("fid"), QStringLiteral("a.fid<=25"), 10);
    EXPECT_EQ(Keys(p), Range(1, 25));
    EXPECT_EQ(Statements(), (QStringList{
        QStringLiteral("select a.fid, a.name, b.cryname from pg a left join currencyset b on a.fid=b.fid where a.fid<=25 order by a.fid"),
        QStringLiteral("select a.fid, a.name, b.cryname from pg a left join currencyset b on a.fid=b.fid where a.fid>'10' and (a.fid<=25) order by a.fid"),
        QStringLiteral("select a.fid, a.name, b.cryname from pg a left join currencyset b on a.fid=b.fid where a.fid>'20' and (a.fid<=25) order by a.fid"),
    }));
    // A key field that is not a column of the result fails on a full page.
    EXPECT_THROW(dm->getsqldata(QStringLiteral("select fid as k from pg"), QStringLiteral("fid"), QStringLiteral("fid"),
                                QStringLiteral("1=1"), 10), EDatabaseError);
}

TEST_F(DMPaging, PagedTextsQuoteTheLastKey)
{
    EXPECT_EQ(TrmtDM::buildpagedselect(QStringLiteral("t"), QStringLiteral("k"), QStringLiteral("a=1"), QStringLiteral("O'B")),
              QStringLiteral("select * from t where k>'O''B' and (a=1) order by k"));
    EXPECT_EQ(TrmtDM::buildpagedselect(QStringLiteral("t"), QStringLiteral("k"), QStringLiteral("a=1"), std::nullopt),
              QStringLiteral("select * from t where a=1 order by k"));
}

// A text longer than its column is refused when written, so a key is read back as it was
// stored; a key that does not advance stops the paging with an error instead of reading pages
// for ever.
TEST_F(DMPaging, KeysThatCannotPageStopWithAnError)
{
    Run(QStringLiteral("CREATE TABLE [dbo].[codes] ([code] [varchar] (5) NOT NULL ,[bdate] [datetime] NULL ,[nm] [nchar] (3) NULL ,"
                       "CONSTRAINT [PK_codes] PRIMARY KEY CLUSTERED ([code]) ON [PRIMARY]) ON [PRIMARY]"));
    for (const char* c : {"a", "b", "c", "ddddd"})
        Run(QStringLiteral("insert into codes (code, bdate) values ('%1', '2024-11-05')").arg(QLatin1String(c)));
    const struct {
        const char* sql;
    } overlong[] = {
        {"insert into codes (code, bdate) values ('eeeeee', '2024-11-05')"},
        {"insert into codes (code, bdate) values ('长长长长长长', '2024-11-05')"},
        {"update codes set code='bbbbbbbbbbbb' where code='b'"},
        {"insert into codes (code, nm) values ('f', 'abcd')"},
    };
    for (const auto& c : overlong) {
        try {
            Run(QString::fromUtf8(c.sql));
            ADD_FAILURE() << c.sql;
        } catch (const EOleException& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("would be truncated"))) << e.Message().toStdString();
        }
    }
    EXPECT_TRUE(dm->execsql(QStringLiteral("insert into codes (code, nm) values ('五个汉字呀', '三个字')")));
    EXPECT_FALSE(dm->execsql(QStringLiteral("insert into codes (code) values ('六个汉字呀呀')")));
    // a unique text key reads whole, one row a page
    TClientDataSet cds;
    cds.SetData(dm->gettabledata(QStringLiteral("codes"), QStringLiteral("code"), QStringLiteral("1=1"), 1));
    EXPECT_EQ(cds.RecordCount(), 5);
    // a key that does not move on
    for (const int size : {1, 3}) {
        try {
            dm->getsqldata(QStringLiteral("select fid, 1 as k from pg"), QStringLiteral("fid"), QStringLiteral("k"),
                           QStringLiteral("1=1"), size);
            ADD_FAILURE() << size;
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("does not advance"))) << e.Message().toStdString();
        }
    }
}

// Rows that share a key across a page boundary are all read, once each: the rows of that key
// are read together after the rows before it.
TEST_F(DMPaging, RowsSharingAKeyAcrossAPageBoundaryAreReadOnce)
{
    Run(QStringLiteral("CREATE TABLE [dbo].[dup] ([fid] [int] NOT NULL ,[k] [int] NULL ,[d] [datetime] NULL ,"
                       "CONSTRAINT [PK_dup] PRIMARY KEY CLUSTERED ([fid]) ON [PRIMARY]) ON [PRIMARY]"));
    const struct {
        const char* name;
        QList<int> keys;   // of the rows fid 1, 2, ...; pages of four
    } cases[] = {
        {"the page's last key goes on beyond it", {1, 2, 3, 4, 4, 5, 6}},
        {"one key over more than a page", {1, 1, 1, 1, 1, 1, 2}},
        {"one key over two whole pages and the next", {3, 3, 3, 3, 3, 3, 3, 3, 3}},
        {"shared keys inside pages and across them", {1, 2, 2, 3, 4, 5, 5, 5, 5, 5, 6, 6}},
    };
    for (const auto& c : cases) {
        Run(QStringLiteral("delete from dup"));
        for (int i = 0; i < c.keys.size(); ++i)
            Run(QStringLiteral("insert into dup (fid, k, d) values (%1, %2, '2024-11-%3')").arg(i + 1).arg(c.keys[i]).arg(c.keys[i], 2, 10, QLatin1Char('0')));
        for (const char* key : {"k", "d"}) {
            const TDataPacket byTable = dm->gettabledata(QStringLiteral("dup"), QString::fromLatin1(key), QStringLiteral("fid>0"), 4);
            const TDataPacket bySql = dm->getsqldata(QStringLiteral("select a.fid, a.k, a.d from dup a"), QStringLiteral("a.") + QString::fromLatin1(key),
                                                     QString::fromLatin1(key), QStringLiteral("a.fid>0"), 4);
            for (const TDataPacket& p : {byTable, bySql}) {
                QList<int> fids = Keys(p);
                const QList<int> keys = Keys(p, QStringLiteral("k"));
                EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end())) << c.name << ' ' << key;
                std::sort(fids.begin(), fids.end());
                EXPECT_EQ(fids, Range(1, int(c.keys.size()))) << c.name << ' ' << key;
            }
        }
    }
    // The rows of the shared key are read in one SELECT of that key.
    sqls.clear();
    dm->gettabledata(QStringLiteral("dup"), QStringLiteral("k"), QStringLiteral("fid>0"), 4);
    EXPECT_EQ(Statements(), (QStringList{
        QStringLiteral("select * from dup where fid>0 order by k"),
        QStringLiteral("select * from dup where k>'3' and (fid>0) order by k"),
        QStringLiteral("select * from dup where k='5' and (fid>0) order by k"),
        QStringLiteral("select * from dup where k>'5' and (fid>0) order by k"),
    }));
}

// ----- change writing -----

class DMDelta : public DMTest {
protected:
    void SetUp() override
    {
        DMTest::SetUp();
        Connect();
        CreateAccountSet();
    }
    // The head table read with a view-only name beside the currency id.
    void LoadHeads(TClientDataSet& cds)
    {
        cds.SetData(dm->getsqldata(QStringLiteral("select a.fid, a.cid, a.remark, a.qty, b.cryname from ibm a left join currencyset b on a.cid=b.fid"),
                                   QStringLiteral("a.fid"), QStringLiteral("fid"), QStringLiteral("1=1"), 20));
    }
    void LoadLines(TClientDataSet& cds)
    {
        cds.SetData(dm->gettabledata(QStringLiteral("ibd"), QStringLiteral("fid"), QStringLiteral("iid=1"), 20));
    }
    bool Locate(TClientDataSet& cds, int fid)
    {
        return cds.Locate(QStringLiteral("fid"), Variant(fid), 0);
    }
};

TEST_F(DMDelta, OneTableInsertModifyDelete)
{
    TClientDataSet cds;
    LoadHeads(cds);
    ASSERT_TRUE(Locate(cds, 1));
    cds.Edit();
    cds.FieldByName(QStringLiteral("remark"))->SetAsString(QStringLiteral("changed"));
    cds.FieldByName(QStringLiteral("cryname"))->SetAsString(QStringLiteral("view only"));
    cds.Post();
    ASSERT_TRUE(Locate(cds, 2));
    cds.Edit();
    cds.FieldByName(QStringLiteral("remark"))->SetAsString(QString());   // cleared: never written
    cds.Post();
    cds.Append();
    cds.FieldByName(QStringLiteral("fid"))->SetValue(10);
    cds.FieldByName(QStringLiteral("cid"))->SetValue(1);
    cds.FieldByName(QStringLiteral("remark"))->SetAsString(QStringLiteral(" O'Neil "));
    cds.FieldByName(QStringLiteral("qty"))->SetAsString(QStringLiteral("2.5"));
    cds.FieldByName(QStringLiteral("cryname"))->SetAsString(QStringLiteral("x"));
    cds.Post();
    ASSERT_TRUE(Locate(cds, 3));
    cds.Delete();
    sqls.clear();

    EXPECT_TRUE(dm->ApplyUpdateDelta(cds.Delta(), QStringLiteral("ibm"), QStringLiteral("fid")));
    EXPECT_EQ(Statements(), (QStringList{
        QStringLiteral(" update ibm set remark = 'changed' where fid = 1"),
        QStringLiteral(" Insert into ibm(fid,cid,remark,qty) values('10','1','O''Neil','2.5')"),
        QStringLiteral("Delete ibm where fid='3'"),
    }));
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_EQ(Rows(QStringLiteral("select fid, cid, remark, qty from ibm order by fid")), (QStringList{
        QStringLiteral("1|1|changed|1"), QStringLiteral("2|2|two|2"), QStringLiteral("10|1|O'Neil|2.5")}));
}

TEST_F(DMDelta, ATableWhoseColumnsCannotBeReadIsAFailedSave)
{
    TClientDataSet heads;
    LoadHeads(heads);
    ASSERT_TRUE(Locate(heads, 1));
    heads.Edit();
    heads.FieldByName(QStringLiteral("remark"))->SetAsString(QStringLiteral("changed"));
    heads.Post();
    TClientDataSet lines;
    LoadLines(lines);
    lines.Edit();
    lines.FieldByName(QStringLiteral("qty"))->SetAsString(QStringLiteral("9"));
    lines.Post();
    bool ok = true;
    EXPECT_NO_THROW(ok = dm->ApplyUpdateDelta(heads.Delta(), QStringLiteral("nosuch"), QStringLiteral("fid")));
    EXPECT_FALSE(ok);
    EXPECT_NO_THROW(ok = dm->ApplyUpdateMD(heads.Delta(), QStringLiteral("ibm"), QStringLiteral("fid"), lines.Delta(),
                                           QStringLiteral("nosuch"), QStringLiteral("fid")));
    EXPECT_FALSE(ok);
    EXPECT_NO_THROW(ok = dm->ApplyUpdateMD(heads.Delta(), QStringLiteral("no such"), QStringLiteral("fid"), lines.Delta(),
                                           QStringLiteral("ibd"), QStringLiteral("fid")));
    EXPECT_FALSE(ok);
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibm where fid=1")), QStringList{QStringLiteral("one")});
}

TEST_F(DMDelta, ChangedKeyIsUpdatedFromItsOldValue)
{
    TClientDataSet cds;
    LoadHeads(cds);
    ASSERT_TRUE(Locate(cds, 2));
    cds.Edit();
    cds.FieldByName(QStringLiteral("fid"))->SetValue(20);
    cds.Post();
    sqls.clear();
    EXPECT_TRUE(dm->ApplyUpdateDelta(cds.Delta(), QStringLiteral("ibm"), QStringLiteral("fid")));
    EXPECT_EQ(Statements(), QStringList{QStringLiteral(" update ibm set fid = '20' where fid = 2")});
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibm order by fid")),
              (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("20")}));
}

TEST_F(DMDelta, NothingToWriteIsAFailure)
{
    EXPECT_FALSE(dm->ApplyUpdateDelta(TDataPacket(), QStringLiteral("ibm"), QStringLiteral("fid")));
    TClientDataSet cds;
    LoadHeads(cds);
    ASSERT_TRUE(Locate(cds, 1));
    cds.Edit();
    cds.FieldByName(QStringLiteral("cryname"))->SetAsString(QStringLiteral("only a view field"));
    cds.Post();
    sqls.clear();
    EXPECT_FALSE(dm->ApplyUpdateDelta(cds.Delta(), QStringLiteral("ibm"), QStringLiteral("fid")));
    EXPECT_TRUE(Statements().isEmpty());
    EXPECT_FALSE(dm->IntransAction());
    TClientDataSet unchanged;
    LoadHeads(unchanged);
    EXPECT_FALSE(dm->ApplyUpdateDelta(unchanged.Delta(), QStringLiteral("ibm"), QStringLiteral("fid")));
}

TEST_F(DMDelta, FailingStatementRollsBackTheWholeDelta)
{
    TClientDataSet cds;
    LoadHeads(cds);
    ASSERT_TRUE(Locate(cds, 1));
    cds.Edit();
    cds.FieldByName(QStringLiteral("remark"))->SetAsString(QStringLiteral("gone"));
    cds.Post();
    cds.Append();
    cds.FieldByName(QStringLiteral("fid"))->SetValue(2);   // the key exists
    cds.Post();
    EXPECT_FALSE(dm->ApplyUpdateDelta(cds.Delta(), QStringLiteral("ibm"), QStringLiteral("fid")));
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibm where fid=1")), QStringList{QStringLiteral("one")});
}

TEST_F(DMDelta, HeadAndLinesInOneTransaction)
{
    TClientDataSet head, lines;
    LoadHeads(head);
    LoadLines(lines);
    ASSERT_TRUE(Locate(head, 1));
    head.Edit();
    head.FieldByName(QStringLiteral("remark"))->SetAsString(QStringLiteral("h"));
    head.Post();
    ASSERT_TRUE(Locate(lines, 1));
    lines.Edit();
    lines.FieldByName(QStringLiteral("qty"))->SetValue(4);
    lines.Post();
    ASSERT_TRUE(Locate(lines, 2));
    lines.Delete();
    lines.Append();
    lines.FieldByName(QStringLiteral("iid"))->SetValue(1);
    lines.FieldByName(QStringLiteral("mid"))->SetValue(7);
    lines.FieldByName(QStringLiteral("qty"))->SetValue(3);
    lines.Post();
    sqls.clear();
    EXPECT_TRUE(dm->ApplyUpdateMD(head.Delta(), QStringLiteral("ibm"), QStringLiteral("fid"),
                                  lines.Delta(), QStringLiteral("ibd"), QStringLiteral("fid")));
    EXPECT_EQ(Statements(), (QStringList{
        QStringLiteral("update ibm set remark = 'h' where fid=1"),
        QStringLiteral("update ibd set qty = '4' where fid=1"),
        QStringLiteral("Delete ibd where fid='2'"),
        QStringLiteral("Insert into ibd(iid,mid,qty) values('1','7','3')"),
    }));
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibm where fid=1")), QStringList{QStringLiteral("h")});
    EXPECT_EQ(Rows(QStringLiteral("select fid, mid, qty from ibd order by fid")),
              (QStringList{QStringLiteral("1|7|4"), QStringLiteral("3|7|3")}));
}

TEST_F(DMDelta, FailingLineRollsBackTheHead)
{
    TClientDataSet head, lines;
    LoadHeads(head);
    LoadLines(lines);
    ASSERT_TRUE(Locate(head, 1));
    head.Edit();
    head.FieldByName(QStringLiteral("remark"))->SetAsString(QStringLiteral("h"));
    head.Post();
    lines.Append();
    lines.FieldByName(QStringLiteral("fid"))->SetValue(1);   // the line key exists
    lines.FieldByName(QStringLiteral("mid"))->SetValue(7);
    lines.Post();
    EXPECT_FALSE(dm->ApplyUpdateMD(head.Delta(), QStringLiteral("ibm"), QStringLiteral("fid"),
                                   lines.Delta(), QStringLiteral("ibd"), QStringLiteral("fid")));
    EXPECT_FALSE(dm->IntransAction());
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibm where fid=1")), QStringList{QStringLiteral("one")});

    // Lines without changes fail the save as well, and the head is rolled back.
    TClientDataSet unchanged;
    LoadLines(unchanged);
    EXPECT_FALSE(dm->ApplyUpdateMD(head.Delta(), QStringLiteral("ibm"), QStringLiteral("fid"),
                                   unchanged.Delta(), QStringLiteral("ibd"), QStringLiteral("fid")));
    EXPECT_EQ(Rows(QStringLiteral("select remark from ibm where fid=1")), QStringList{QStringLiteral("one")});
    EXPECT_FALSE(dm->ApplyUpdateMD(TDataPacket(), QStringLiteral("ibm"), QStringLiteral("fid"),
                                   TDataPacket(), QStringLiteral("ibd"), QStringLiteral("fid")));
    EXPECT_THROW(dm->ApplyUpdateMD(head.Delta(), QStringLiteral("ibm"), QStringLiteral("fid"),
                                   TDataPacket(), QStringLiteral("ibd"), QStringLiteral("fid")), EDatabaseError);
}

TEST_F(DMDelta, ExtraStatementsShareTheSaveTransaction)
{
    // A failing extra statement undoes the rows; passing ones are written with them.
    struct Case {
        bool both;        // head and lines, or the lines alone
        const char* extra;
        bool ok;
    };
    const Case cases[] = {
        {true, "update ibm set qty=9 where fid=2", true},
        {true, "update no_such set qty=9", false},
        {false, "update ibm set qty=9 where fid=2", true},
        {false, "update no_such set qty=9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.both ? "head and lines: " : "lines: ") + c.extra);
        Run(QStringLiteral("update ibm set remark='one', qty=0 where fid in (1,2)"));
        Run(QStringLiteral("delete from ibd where mid=9"));
        TClientDataSet head, lines;
        LoadHeads(head);
        LoadLines(lines);
        ASSERT_TRUE(Locate(head, 1));
        head.Edit();
        head.FieldByName(QStringLiteral("remark"))->SetAsString(QStringLiteral("h"));
        head.Post();
        lines.Append();
        lines.FieldByName(QStringLiteral("iid"))->SetValue(1);
        lines.FieldByName(QStringLiteral("mid"))->SetValue(9);
        lines.Post();
        const QStringList extra{QStringLiteral("update ibm set qty=8 where fid=1"), QString::fromLatin1(c.extra)};
        const bool ok = c.both ? dm->ApplyUpdateMD(head.Delta(), QStringLiteral("ibm"), QStringLiteral("fid"), lines.Delta(),
                                                   QStringLiteral("ibd"), QStringLiteral("fid"), extra)
                               : dm->ApplyUpdateDelta(lines.Delta(), QStringLiteral("ibd"), QStringLiteral("fid"), extra);
        EXPECT_EQ(ok, c.ok);
        EXPECT_FALSE(dm->IntransAction());
        const QString remark = c.both && c.ok ? QStringLiteral("h") : QStringLiteral("one");
        EXPECT_EQ(Rows(QStringLiteral("select remark, qty from ibm where fid in (1,2) order by fid")),
                  c.ok ? (QStringList{remark + QStringLiteral("|8"), QStringLiteral("one|9")})
                       : (QStringList{QStringLiteral("one|0"), QStringLiteral("one|0")}));
        EXPECT_EQ(Rows(QStringLiteral("select count(*) from ibd where mid=9")),
                  QStringList{c.ok ? QStringLiteral("1") : QStringLiteral("0")});
    }
}
