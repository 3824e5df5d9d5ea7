// A random sequence of receipts, returns, issues (to departments and as consumables), reversals
// and re-postings over materials of every price model and turnover materials, with a period
// close every twenty operations. After every operation the stock agrees with the ledger, the
// batches with the stock and the turnover tables with each other; reversing every bill of the
// open period at the end brings every table back to its state after the last close.
#include "stock_fixture.h"

#include <random>
#include <vector>

using namespace stocktest;

namespace {

// Opening stock of every material and the price its lines use (fixed for moving-average
// materials, so that reversals restore their average exactly).
struct Opening {
    int mid;
    double price;
};
const Opening kOpening[] = {{Rebar, 5}, {Cement, 12}, {Timber, 25}, {Formwork, 30}, {Scaffold, 2}};
constexpr double kOpeningQty = 1000;

// Queries that list what breaks an invariant; each must come back empty.
const char* const kInvariants[] = {
    // Current stock is the sum of the ledger's moves ...
    "select s.mid from msrglist s where abs(s.qty - (select isnull(sum(iqty),0) - isnull(sum(eqty),0) from imexsrglist l "
    "where l.Mid=s.mid)) > 0.00005 or abs(s.cost - (select isnull(sum(idprice),0) - isnull(sum(edprice),0) from "
    "imexsrglist l where l.Mid=s.mid)) > 0.00005",
    // ... and the balance of its last ledger row, each row's balance the one before plus its move.
    "select s.mid from msrglist s where abs(s.qty - (select l.srgqty from imexsrglist l where l.fid=(select max(fid) "
    "from imexsrglist m where m.Mid=s.mid))) > 0.00005",
    kLedgerChain,
    // Batch-priced and planned-price materials: the batches hold the stock.
    "select s.mid from msrglist s, mtrlist m, breedlist b where s.mid=m.FID and m.bID=b.FID and b.pricemodal in (0,2) "
    "and (abs(s.qty - (select isnull(sum(qty),0) from mrplist r where r.mid=s.mid)) > 0.00005 or abs(s.cost - "
    "(select isnull(sum(dprice),0) from mrplist r where r.mid=s.mid)) > 0.00005)",
    // Turnover materials: total = in store + in use; in store = stock; in use = the departments'
    // rows = the issue rows.
    "select mid from cyldb where abs(qty - srgqty - eqty) > 0.00005 or abs(cost - srgcost - ecost) > 0.00005",
    "select c.mid from cyldb c, msrglist s where c.mid=s.mid and (abs(c.srgqty-s.qty) > 0.00005 or "
    "abs(c.srgcost-s.cost) > 0.00005)",
    "select c.mid from cyldb c where abs(c.eqty - (select isnull(sum(qty),0) from cyldptlist d where d.mid=c.mid)) > "
    "0.00005 or abs(c.ecost - (select isnull(sum(cost),0) from cyldptlist d where d.mid=c.mid)) > 0.00005",
    "select d.mid from cyldptlist d where abs(d.qty - (select isnull(sum(qty),0) from cyldetaillist e where "
    "e.mid=d.mid and e.dptid=d.dptid)) > 0.00005 or abs(d.cost - (select isnull(sum(cost),0) from cyldetaillist e "
    "where e.mid=d.mid and e.dptid=d.dptid)) > 0.00005",
};

// The tables as reversing everything must bring them back; rows that postings created and
// reversals left at zero count as absent.
const char* const kRestored[] = {
    "select mid,qty,cost from msrglist order by mid",
    "select mid,maprice from maplist order by mid",
    "select mid,pprice from mpplist order by mid",
    "select mid,qty,cost,srgqty,srgcost,eqty,ecost from cyldb order by mid",
    "select dptid,mid,qty,cost from cyldptlist where qty<>0 or cost<>0 order by dptid,mid",
    "select eid,mid,qty,cost from cyldetaillist order by eid",
    "select fid,mid,qty,dprice,rdprice from mrplist where qty<>0 or dprice<>0 or rdprice<>0 order by fid",
    "select fid from ibmaster where brecorded=1",
    "select fid from ebmaster where brecorded=1",
};

class StockInvariants : public StockTest {
protected:
    struct Bill {
        bool in;
        int fid;
        bool audited = false;
        bool closed = false;   // belongs to a closed period: neither audited nor reversed again
    };
    struct Receipt {
        int fid, mid;
        double qty;
    };

    // Opening stock as the opening-stock import writes it, in one transaction.
    void opening()
    {
        dm->BeginTrans();
        for (const Opening& o : kOpening) {
            const double cost = kOpeningQty * o.price;
            ASSERT_TRUE(dm->imaddimexsrglist(0, 0, o.mid, QStringLiteral("QC"), TDateTime(45352), QStringLiteral("期初"),
                                             QString(), kOpeningQty, o.price, cost, QString()));
            ASSERT_TRUE(dm->addnewstorage(o.mid, kOpeningQty, cost));
            const int model = dm->getpricemodal(o.mid);
            if (model == 1)
                ASSERT_TRUE(dm->addnewavgprice(o.mid, o.price));
            else
                ASSERT_TRUE(dm->addpricelist(0, o.mid, QStringLiteral("QC"), TDateTime(45352), 0, 0, kOpeningQty,
                                             o.price, cost, o.price, cost, 1, 3, 2, QString()));
            if (model == 2) {
                ASSERT_TRUE(dm->addnewplanprice(o.mid, o.price));
            }
            if (dm->getbreedtype(o.mid) == 1) {
                ASSERT_TRUE(dm->addnewcycledatabase(o.mid, kOpeningQty, cost));
            }
        }
        dm->CommitTrans();
    }

    QStringList tables(const char* const* queries, size_t n)
    {
        QStringList out;
        for (size_t i = 0; i < n; ++i)
            out << table(queries[i]);
        return out;
    }

    void checkinvariants(const std::string& where)
    {
        for (const char* q : kInvariants)
            ASSERT_EQ(table(q), QString()) << where << "\n" << q;
    }

    const Opening& pick(std::mt19937& rng) { return kOpening[rng() % std::size(kOpening)]; }
    double price(std::mt19937& rng, const Opening& o)
    {
        return dm->getpricemodal(o.mid) == 1 ? o.price : o.price + int(rng() % 5) * 0.25;
    }

    void run(unsigned seed, int operations)
    {
        std::mt19937 rng(seed);
        opening();
        QStringList start = tables(kRestored, std::size(kRestored));
        std::vector<Bill> bills;
        std::vector<Receipt> receipts;   // ordinary receipt lines, for return lines
        int nextin = 1, nextout = 1, nextline = 100;
        for (int step = 0; step < operations; ++step) {
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            if (step % 20 == 19) {
                // Close the month: the carry-over rows keep every invariant, the bills so far
                // belong to the closed period, and the new period's bills start from here.
                const double pbdate = 45352 + 30.0 * (step / 20);
                messages.clear();
                const int before = curpid;
                ASSERT_TRUE(dm->billbalance(TDateTime(pbdate), TDateTime(pbdate + 29), TDateTime(pbdate + 30)))
                    << where << " " << messages.join(u'\n').toStdString();
                curpid = dm->GetID(QStringLiteral("pid"));
                ASSERT_EQ(curpid, before + 1) << where;
                for (Bill& b : bills)
                    b.closed = true;
                checkinvariants(where + " after the close");
                start = tables(kRestored, std::size(kRestored));
                continue;
            }
            const unsigned r = rng() % 100;
            Bill* bill = nullptr;
            Op op = PostIn;
            if (r < 35 || (r < 50 && receipts.empty())) {
                const int fid = nextin++;
                inhead(fid, curpid);
                for (int n = 1 + rng() % 3; n > 0; --n) {
                    const Opening& o = pick(rng);
                    const double qty = 1 + rng() % 20;
                    inline_(nextline, fid, o.mid, qty, price(rng, o));
                    receipts.push_back({nextline++, o.mid, qty});
                }
                bills.push_back({true, fid});
            } else if (r < 50) {
                const Receipt& back = receipts[rng() % receipts.size()];
                const int fid = nextin++;
                inhead(fid, curpid);
                const Opening& o = *std::find_if(std::begin(kOpening), std::end(kOpening),
                                                 [&](const Opening& x) { return x.mid == back.mid; });
                inline_(nextline++, fid, back.mid, -double(1 + rng() % 3), price(rng, o), back.fid);
                bills.push_back({true, fid});
            } else if (r < 80) {
                const int fid = nextout++;
                outhead(fid, rng() % 4 == 0, curpid, 2 + int(rng() % 2));
                for (int n = 1 + rng() % 3; n > 0; --n) {
                    const Opening& o = pick(rng);
                    const double qty = 1 + rng() % 10;
                    int rpid = 0;
                    if (dm->getpricemodal(o.mid) != 1 && rng() % 2 == 0) {
                        const QString batch = table(QStringLiteral("select fid from mrplist where mid=%1 and qty>=%2 "
                                                                   "order by fid")
                                                        .arg(o.mid)
                                                        .arg(qty))
                                                  .section(u'\n', 0, 0);
                        rpid = batch.toInt();
                    }
                    outline(nextline++, fid, o.mid, qty, price(rng, o), rpid);
                }
                bills.push_back({false, fid});
            } else {
                // Reverse an audited bill, or post again one that was reversed.
                const bool repost = r >= 95;
                std::vector<Bill*> candidates;
                for (Bill& b : bills)
                    if (!b.closed && b.audited != repost)
                        candidates.push_back(&b);
                if (candidates.empty())
                    continue;
                bill = candidates[rng() % candidates.size()];
                op = repost ? (bill->in ? PostIn : PostOut) : (bill->in ? ReverseIn : ReverseOut);
            }
            if (!bill) {
                bill = &bills.back();
                op = bill->in ? PostIn : PostOut;
            }
            messages.clear();
            ASSERT_TRUE(apply(op, bill->fid)) << where << " " << messages.join(u'\n').toStdString();
            bill->audited = op == PostIn || op == PostOut;
            checkinvariants(where);
        }
        // Reverse every audited bill, in random order.
        std::shuffle(bills.begin(), bills.end(), rng);
        for (const Bill& b : bills) {
            if (b.audited && !b.closed) {
                ASSERT_TRUE(apply(b.in ? ReverseIn : ReverseOut, b.fid)) << messages.join(u'\n').toStdString();
            }
        }
        checkinvariants("after reversing everything");
        EXPECT_EQ(tables(kRestored, std::size(kRestored)), start);
    }
};

} // namespace

TEST_F(StockInvariants, RandomSequenceFirstSeed) { run(20240305, 60); }
TEST_F(StockInvariants, RandomSequenceSecondSeed) { run(7, 60); }
