// What a bill's save checks and takes through the data module inside its own transaction. The
// holds of the price batches that stock-out bills draw on, taken and freed with the bill's save,
// deletion or posting: a batch another open bill draws on is refused with its name and the
// holder's number and nothing of the save is kept; a bill keeps its own holds when saved again; a
// freed batch that another open bill draws on stays held; a mark that no open bill explains does
// not stand in the way. And return lines that would give back more than is left of their line.
#include "stock_fixture.h"

using namespace stocktest;

namespace {

// One save, delete or posting step of a bill: statements for its rows, then the hold step.
struct Step {
    const char* what;
    int eid;
    QStringList rows;   // "@1" and "@2" stand for the two batches
    QList<int> drawn, held;   // 1 and 2 for the two batches
    enum { hold, freebill, freeposted } kind = hold;
    bool ok = true;
    const char* message = "";
    const char* blocks = "";   // block of the two batches afterwards
};

} // namespace

TEST_F(StockTest, BatchHoldsAreTakenAndFreedInTheBillsOwnTransaction)
{
    inhead(900);
    inline_(9001, 900, Rebar, 10, 5);
    inline_(9002, 900, Rebar, 10, 6);
    ASSERT_TRUE(apply(PostIn, 900));
    const QStringList ids = table("select fid from mrplist order by fid").split(u'\n');
    ASSERT_EQ(ids.size(), 2);
    const int batches[] = {0, ids[0].toInt(), ids[1].toInt()};
    auto head = [](int fid, int recorded = 0) {
        return QStringLiteral("insert into ebmaster (fid,pid,bdate,dptid,pjtid,billnum,rcid,lister,assessor,brecorded,"
                              "breverse,bcylm,breb) values (%1,0,'2024-03-06',2,2,'CK%1',0,'王五','',%2,0,0,0)")
            .arg(fid)
            .arg(recorded);
    };
    auto line = [](int fid, int eid, const char* batch, double qty) {
        return QStringLiteral("insert into ebdetail (fid,eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,remark,cid,"
                              "cfid,supid) values (%1,%2,%3,0,1,%4,5,5,5,5,'',1,3,2)")
            .arg(fid)
            .arg(eid)
            .arg(QString::fromLatin1(batch))
            .arg(qty);
    };
    const QString taken1 = QStringLiteral("材料“螺纹钢”价格批次“RK900”已被票据“CK1”选用，请删除这一行后重新选择！");
    const Step steps[] = {
        {"the first bill takes batch 1", 1, {head(1), line(11, 1, "@1", 2)}, {1}, {}, Step::hold, true, "", "1|0"},
        {"a second bill drawing batch 1 is refused whole", 2, {head(2), line(21, 2, "@2", 1), line(22, 2, "@1", 3)},
         {2, 1}, {}, Step::hold, false, "taken1", "1|0"},
        {"without that line it takes batch 2", 2, {head(2), line(21, 2, "@2", 1)}, {2}, {}, Step::hold, true, "", "1|1"},
        {"saved again a bill keeps its own hold", 1, {QStringLiteral("update ebdetail set qty=1 where fid=11")}, {1},
         {1}, Step::hold, true, "", "1|1"},
        {"a return line holds nothing and its deletion frees nothing", 3,
         {head(3), line(31, 3, "@2", -1)}, {}, {}, Step::freebill,
         true, "", "1|1"},
        {"a line dropped frees its batch", 1, {QStringLiteral("delete from ebdetail where fid=11")}, {}, {1}, Step::hold,
         true, "", "0|1"},
        {"a bill saved before holds draws batch 2 too", 4, {head(4), line(41, 4, "@2", 1)}, {}, {}, Step::hold, true, "",
         "0|1"},
        {"posting one of them leaves the batch held for the other", 2, {QStringLiteral("update ebmaster set brecorded=1 where fid=2")},
         {}, {2}, Step::freeposted, true, "", "0|1"},
        {"deleting that one as well frees it", 4, {}, {}, {}, Step::freebill, true, "", "0|0"},
        {"a mark no open bill explains is taken", 5,
         {QStringLiteral("update mrplist set block=1 where fid=@1"), head(5), line(51, 5, "@1", 1)}, {1}, {},
         Step::hold, true, "", "1|0"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        messages.clear();
        QList<int> drawn, held;
        for (int b : s.drawn)
            drawn << batches[b];
        for (int b : s.held)
            held << batches[b];
        dm->BeginTrans();
        bool ok = true;
        for (const QString& sql : s.rows)
            ok = ok && dm->execsql(QString(sql).replace(QStringLiteral("@1"), ids[0]).replace(QStringLiteral("@2"), ids[1]));
        ASSERT_TRUE(ok);
        switch (s.kind) {
        case Step::hold: ok = dm->holdbatches(s.eid, drawn, held); break;
        case Step::freebill: ok = dm->freebillbatches(QStringLiteral("ebdetail"), s.eid); break;
        case Step::freeposted:
            for (const QString& sql : TrmtDM::freebatches(s.eid, held))
                ok = ok && dm->execsql(sql);
            break;
        }
        if (ok)
            dm->CommitTrans();
        else
            dm->RollbackTrans();
        EXPECT_EQ(ok, s.ok);
        EXPECT_EQ(messages, *s.message ? QStringList{taken1} : QStringList());
        EXPECT_EQ(table(QStringLiteral("select block from mrplist order by fid")).replace(u'\n', u'|'),
                  QString::fromLatin1(s.blocks));
    }
    // The refused save kept nothing of its rows.
    EXPECT_EQ(table("select fid from ebdetail where eid=2"), QStringLiteral("21"));
}

// Return lines, saved with their bill, give back no more of a line than is left of it: what the
// earlier returns of that line left, with every return line of the bill that names it counted.
TEST_F(StockTest, ReturnLinesGiveBackNoMoreThanIsLeftOfTheirLine)
{
    inhead(900);
    inline_(9001, 900, Rebar, 10, 5);
    outhead(1);
    outline(11, 1, Rebar, 10, 5);
    auto outreturn = [](int fid, int eid, double qty) {
        return QStringLiteral("insert into ebdetail (fid,eid,rpid,edid,mid,qty,rsprice,rdprice,sprice,dprice,remark,cid,"
                              "cfid,supid) values (%1,%2,0,11,1,%3,5,5,5,5,'退库或冲帐',1,3,2)")
            .arg(fid)
            .arg(eid)
            .arg(qty);
    };
    struct Case {
        const char* what;
        bool stockin;
        int bill;
        std::vector<std::pair<int, double>> lines;   // line key and (negative) quantity
        const char* message;   // empty: saved
    };
    const Case cases[] = {
        {"four of ten received go back", true, 901, {{9011, -4}}, ""},
        {"seven of the six left do not", true, 902, {{9021, -7}}, "材料“螺纹钢”退回的数量(7)超过原单尚未退回的数量(6)，票据不能保存！"},
        {"nor do two lines of three and four", true, 903, {{9031, -3}, {9032, -4}},
         "材料“螺纹钢”退回的数量(7)超过原单尚未退回的数量(6)，票据不能保存！"},
        {"the six left do", true, 904, {{9041, -6}}, ""},
        {"an issue comes back whole", false, 2, {{21, -10}}, ""},
        {"and then no more of it", false, 3, {{31, -0.5}}, "材料“螺纹钢”退回的数量(0.5)超过原单尚未退回的数量(0)，票据不能保存！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        if (c.stockin)
            inhead(c.bill);
        else
            outhead(c.bill);
        for (const auto& [fid, qty] : c.lines)
            if (c.stockin)
                inline_(fid, c.bill, Rebar, qty, 5, 9001);
            else
                exec(outreturn(fid, c.bill, qty));
        const bool ok = dm->returnsfit(c.stockin, c.bill);
        // A refused save keeps nothing.
        if (!ok)
            exec(c.stockin ? QStringLiteral("delete from ibdetail where iid=%1").arg(c.bill)
                           : QStringLiteral("delete from ebdetail where eid=%1").arg(c.bill));
        EXPECT_EQ(ok, *c.message == 0);
        EXPECT_EQ(messages, *c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList());
    }
    EXPECT_EQ(table("select sum(qty) from ibdetail where idid=9001"), QStringLiteral("-10"));
    EXPECT_EQ(table("select sum(qty) from ebdetail where edid=11"), QStringLiteral("-10"));
}
