// Eight clients, each its own process with its own connection, audit and un-audit bills on the
// same materials at the same time: their own bills (posted, reversed and posted again), bills
// that all of them try to audit and bills that all of them try to un-audit, and between them
// they take new keys and bill-number slots. The result is that of the same work done one client
// after another: the same stock, batches, averages, planned prices and turnover tables, the same
// ledger moves with every balance following from the row before, every contested bill posted or
// reversed once, and no key or bill-number slot handed out twice.
#include "stock_fixture.h"

#include <QSet>

#include <vector>

using namespace stocktest;

namespace {

const char* const kClientVariable = "DPX_STOCK_CLIENT";
constexpr int kClients = 8;

// Bills every client tries: S1..S4 to audit (S3 clients 0-3, S4 clients 4-7), U1 and U2,
// audited before the clients start, to un-audit.
enum Shared { S1 = 901, S2 = 902, S3 = 903, S4 = 904, U1 = 911, U2 = 912, Opening = 900 };

// Client c's own bills: stock-in A and B, stock-out C and D, and E returning part of A's rebar.
int own(int c, char bill) { return 100 * (c + 1) + (bill - 'A' + 1); }

// The line keys of a bill: bill * 10 + 1, + 2, ...
int line(int bill, int n) { return bill * 10 + n; }

// A bill as the bill forms save it: its key, direction, lines (material, quantity, unit price,
// and for a stock-in line the line it returns to, for a stock-out line the batch it draws from),
// and for a stock-out bill the department and the consumables flag.
struct Line {
    int mid;
    double qty, price;
    int ref = 0;
};
struct Bill {
    int fid;
    bool in;
    std::vector<Line> lines;
    int dptid = 2;
    bool bcylm = false;
};

// All bills are on five materials: batch-priced rebar, cement at one moving-average price (so
// that the order of postings cannot change its average), planned-price timber, batch-priced
// formwork and moving-average scaffold tubes (both turnover materials). Prices are quarters, so
// every sum is exact whatever the order. Scaffold tubes are never issued by a bill that is later
// un-audited: that reversal keeps the average from before it, which would depend on the order.
// The opening bill comes first; the others draw on its rebar batch where they choose one.
const Bill kOpening{
    Opening, true, {{Rebar, 1000, 5}, {Cement, 1000, 12}, {Timber, 1000, 25}, {Formwork, 1000, 30}, {Scaffold, 1000, 2}}};

std::vector<Bill> bills(int rebarBatch)
{
    std::vector<Bill> all{
        {S1, true, {{Rebar, 7, 6}, {Scaffold, 5, 2.5}}},
        {S2, false, {{Cement, 3, 12}, {Formwork, 2, 30}, {Rebar, 2, 5}}, 3},
        {S3, true, {{Timber, 2, 26}, {Formwork, 1, 31}}},
        {S4, false, {{Formwork, 1, 30}, {Scaffold, 2, 2}}, 2, true},
        {U1, true, {{Rebar, 4, 5.5}, {Formwork, 3, 29}}},
        {U2, false, {{Rebar, 1, 5, rebarBatch}, {Formwork, 1, 30}, {Cement, 1, 12}}},
    };
    for (int c = 0; c < kClients; ++c) {
        const double rebar = 5 + 0.25 * c;
        const int dpt = 2 + c % 2;
        all.push_back({own(c, 'A'), true,
                       {{Rebar, 2.0 + c, rebar}, {Cement, 3, 12}, {Timber, 1, 25.5}, {Scaffold, 4, 2 + 0.25 * (c % 4)}}});
        all.push_back({own(c, 'B'), true, {{Formwork, 2, 30}, {Rebar, 1, 6}}});
        all.push_back({own(c, 'C'), false,
                       {{Rebar, 1, 5, rebarBatch}, {Cement, 2, 12}, {Formwork, 1, 30}, {Timber, 1, 25}}, dpt});
        all.push_back({own(c, 'D'), false, {{Scaffold, 1, 2}, {Formwork, 1, 30}}, dpt, c % 2 == 1});
        all.push_back({own(c, 'E'), true, {{Rebar, -1, rebar, line(own(c, 'A'), 1)}}});
    }
    return all;
}

void writebills(StockTest& t, const std::vector<Bill>& bills)
{
    for (const Bill& b : bills) {
        if (b.in)
            t.inhead(b.fid);
        else
            t.outhead(b.fid, b.bcylm, 0, b.dptid);
        for (size_t n = 0; n < b.lines.size(); ++n) {
            const Line& l = b.lines[n];
            if (b.in)
                t.inline_(line(b.fid, int(n) + 1), b.fid, l.mid, l.qty, l.price, l.ref);
            else
                t.outline(line(b.fid, int(n) + 1), b.fid, l.mid, l.qty, l.price, l.ref);
        }
    }
}

// One client's work, item by item: "i"/"o" audits a stock-in/stock-out bill, "I"/"O" un-audits
// one; "k" takes a new stock-in bill key and "n" a stock-in bill-number slot, as a bill form
// does for a new bill.
QStringList clientwork(int c)
{
    const auto item = [](char op, int bill) { return QLatin1Char(op) + QString::number(bill); };
    const auto mine = [&](char op, char bill) { return item(op, own(c, bill)); };
    const QString key = QStringLiteral("k"), slot = QStringLiteral("n");
    QStringList w{item('i', S1),   mine('i', 'A'), key,           mine('o', 'C'),  mine('i', 'B'), slot,
                  mine('O', 'C'),  item('O', U2),  mine('o', 'D'), item('o', S2),  mine('I', 'B'), key,
                  mine('i', 'E'),  item('I', U1),  slot,           mine('i', 'B'), mine('o', 'C'), mine('I', 'A'),
                  key,             mine('i', 'A'), slot};
    w.insert(c % 7 + 1, c < 4 ? item('i', S3) : item('o', S4));
    return w;
}

// What a client got: the items it was refused, and the keys and bill-number slots it was handed.
struct Outcome {
    QStringList refused, keys, numbers;
    QString text() const
    {
        return QStringLiteral("refused:%1;keys:%2;numbers:%3").arg(refused.join(u','), keys.join(u','), numbers.join(u','));
    }
    void add(const QString& text)
    {
        for (const QString& part : text.split(u';')) {
            const QStringList values = part.section(u':', 1).split(u',', Qt::SkipEmptyParts);
            (part.startsWith(QLatin1String("refused")) ? refused : part.startsWith(QLatin1String("keys")) ? keys : numbers)
                << values;
        }
    }
};

Outcome work(TrmtDM& m, const QStringList& items)
{
    Outcome out;
    for (const QString& w : items) {
        if (w == u"k") {
            out.keys << QString::number(m.GetnewID(QStringLiteral("IID")));
            continue;
        }
        if (w == u"n") {
            out.numbers << QString::number(m.getbillcodeid(QStringLiteral("imA3")));
            continue;
        }
        const Op op = w[0] == u'i' ? PostIn : w[0] == u'I' ? ReverseIn : w[0] == u'o' ? PostOut : ReverseOut;
        if (!audit(m, op, w.mid(1).toInt()))
            out.refused << w;
    }
    return out;
}

// The contested items: every client but the first to get there is refused.
bool contested(const QString& item)
{
    const int bill = item.mid(1).toInt();
    return bill == S1 || bill == S2 || bill == S3 || bill == S4 || bill == U1 || bill == U2;
}

// What must agree between the concurrent and the serial run, in an order that does not depend
// on the order of the work: the ledger's moves as a set (its balances depend on the order and are
// checked row by row instead), batches by what they belong to, not by their keys.
const char* const kCompared[] = {
    "select mid,qty,cost from msrglist order by mid",
    "select mid,iid,eid,bnum,orgqty,orgrdprice,orgdprice,qty,sprice,dprice,rsprice,rdprice from mrplist "
    "order by mid,iid,eid",
    "select mid,maprice from maplist order by mid",
    "select mid,pprice from mpplist order by mid",
    "select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb order by mid",
    "select dptid,mid,qty,cost from cyldptlist order by dptid,mid",
    "select eid,mid,dptid,crtdate,qty,cost from cyldetaillist order by eid",
    "select Mid,iid,eid,comment,bnum,iqty,idprice,eqty,edprice from imexsrglist "
    "order by Mid,iid,eid,comment,iqty,eqty",
    "select fid,brecorded,assessor from ibmaster order by fid",
    "select fid,brecorded,assessor from ebmaster order by fid",
    "select id from IDlist where IDname='IID'",
    "select fid from billtypelist where imA3=1 order by fid",
    // every balance is the one before plus the row's move ...
    kLedgerChain,
    // ... and the last one is the stock
    "select s.mid from msrglist s where abs(s.qty - (select l.srgqty from imexsrglist l where l.fid=(select max(fid) "
    "from imexsrglist m where m.Mid=s.mid))) > 0.00005 or abs(s.cost - (select l.srgcost from imexsrglist l where "
    "l.fid=(select max(fid) from imexsrglist m where m.Mid=s.mid))) > 0.00005",
};

class StockConcurrency : public StockTest {
protected:
    QStringList compared()
    {
        QStringList out;
        for (const char* q : kCompared)
            out << table(q);
        return out;
    }
};

// Values handed out twice.
QStringList repeated(const QStringList& values)
{
    QStringList twice;
    QSet<QString> seen;
    for (const QString& v : values)
        if (seen.contains(v))
            twice << v;
        else
            seen.insert(v);
    return twice;
}

} // namespace

// One client's process: started by the test below with its number.
TEST(StockClient, Work)
{
    runclient(kClientVariable, [](TrmtDM& m, const QStringList& spec, QStringList&) {
        const Outcome out = work(m, clientwork(spec.value(1).toInt()));
        // Only the contested bills may be refused, and then because another client was first.
        for (const QString& w : out.refused)
            EXPECT_TRUE(contested(w)) << w.toStdString();
        return out.text();
    });
}

TEST_F(StockConcurrency, EightClientsAtOnceEqualOneAfterAnother)
{
    writebills(*this, {kOpening});
    ASSERT_TRUE(apply(PostIn, Opening));
    writebills(*this, bills(table(QStringLiteral("select fid from mrplist where iid=%1").arg(line(Opening, 1))).toInt()));
    ASSERT_TRUE(apply(PostIn, U1));
    ASSERT_TRUE(apply(PostOut, U2));
    ASSERT_TRUE(dm->Addnewcodeidline(QStringLiteral("imA3")));

    // The serial run, on a copy of the account set restored under another name.
    ASSERT_EQ(run(QStringLiteral("BACKUP DATABASE acct TO DISK ='%1' with init").arg(path(QStringLiteral("acct.bak")))),
              QString());
    ASSERT_EQ(run(restoreStatement(QStringLiteral("serial"), path(QStringLiteral("acct.bak")))), QString());
    login(*dm, QStringLiteral("serial"));
    Outcome serialrun;
    for (int c = 0; c < kClients; ++c)
        serialrun.add(work(*dm, clientwork(c)).text());
    exec("Use serial");
    const QStringList serial = compared();
    exec("Use acct");
    dm.reset();
    // Each contested bill went through once, for the first client that tried it.
    EXPECT_EQ(serialrun.refused.size(), 4 * (kClients - 1) + 2 * (kClients / 2 - 1));

    // The concurrent run: eight processes on account set acct, started together.
    QStringList specs;
    for (int c = 0; c < kClients; ++c)
        specs << programDir() + u';' + QString::number(c);
    Outcome concurrent;
    for (const QString& outcome : runclients(kClientVariable, "StockClient.Work", specs))
        concurrent.add(outcome);
    ASSERT_FALSE(HasFailure());
    // Each contested bill was audited or un-audited by exactly one client; no key and no slot
    // went to two clients, and together they got the keys and slots of the serial run.
    concurrent.refused.sort();
    serialrun.refused.sort();
    EXPECT_EQ(concurrent.refused, serialrun.refused);
    EXPECT_EQ(repeated(concurrent.keys), QStringList());
    EXPECT_EQ(repeated(concurrent.numbers), QStringList());
    concurrent.keys.sort();
    serialrun.keys.sort();
    EXPECT_EQ(concurrent.keys, serialrun.keys);
    concurrent.numbers.sort();
    serialrun.numbers.sort();
    EXPECT_EQ(concurrent.numbers, serialrun.numbers);
    const QStringList got = compared();
    ASSERT_EQ(got.size(), serial.size());
    for (int i = 0; i < got.size(); ++i)
        EXPECT_EQ(got[i], serial[i]) << kCompared[i];
}
