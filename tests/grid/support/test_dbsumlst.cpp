// Footer sums: full passes and the incremental updates of every dataset event.
#include "DBSumLst.h"
#include "GxLibVCL.h"
#include "dataset_fixture.h"
#include <gtest/gtest.h>

using namespace gxtest;

namespace {

QString Sums(TDBSumListProducer& p)
{
    QStringList out;
    for (int i = 0; i < p.SumCollection()->Count(); ++i)
        out << p.SumCollection()->Items(i)->SumValue.ToString();
    return out.join(u' ');
}

// sum(qty) avg(qty) count() count(qty)
void AddStandardSums(TDBSumListProducer& p)
{
    TDBSumCollection* c = p.SumCollection();
    c->BeginUpdate();
    TDBSum* s = c->Add();
    s->SetFieldName("qty");
    TDBSum* a = c->Add();
    a->SetFieldName("qty");
    a->SetGroupOperation(goAvg);
    c->Add()->SetGroupOperation(goCount);
    TDBSum* n = c->Add();
    n->SetFieldName("qty");
    n->SetGroupOperation(goCount);
    c->EndUpdate();
}

using Action = std::function<void(TClientDataSet*)>;

} // namespace

TEST(FooterSums, Scenarios)
{
    struct Case { const char* name; Action act; const char* sums; };
    const Case cases[] = {
        {"full pass", [](TClientDataSet*) {}, "6 2 4 3"},
        {"insert and post", [](TClientDataSet* d) { d->Append(); d->FieldByName("id")->SetAsInteger(9); d->FieldByName("qty")->SetAsFloat(4); d->Post(); }, "10 2.5 5 4"},
        {"insert and cancel", [](TClientDataSet* d) { d->Append(); d->FieldByName("qty")->SetAsFloat(4); d->Cancel(); }, "6 2 4 3"},
        {"insert a null", [](TClientDataSet* d) { d->Append(); d->FieldByName("id")->SetAsInteger(9); d->Post(); }, "6 2 5 3"},
        {"edit and post", [](TClientDataSet* d) { GoTo(d, 1); d->Edit(); d->FieldByName("qty")->SetAsFloat(11); d->Post(); }, "16 5.3333 4 3"},
        {"edit and cancel", [](TClientDataSet* d) { GoTo(d, 1); d->Edit(); d->FieldByName("qty")->SetAsFloat(11); d->Cancel(); }, "6 2 4 3"},
        {"null to value", [](TClientDataSet* d) { GoTo(d, 4); d->Edit(); d->FieldByName("qty")->SetAsFloat(5); d->Post(); }, "11 2.75 4 4"},
        {"value to null", [](TClientDataSet* d) { GoTo(d, 2); d->Edit(); d->FieldByName("qty")->Clear(); d->Post(); }, "4 2 4 2"},
        {"delete", [](TClientDataSet* d) { GoTo(d, 3); d->Delete(); }, "3 1.5 3 2"},
        {"delete a null", [](TClientDataSet* d) { GoTo(d, 4); d->Delete(); }, "6 2 3 3"},
        {"filter change", [](TClientDataSet* d) { d->SetFilter("id <= 2"); d->SetFiltered(true); d->First(); }, "3 1.5 2 2"},
        {"filter text change", [](TClientDataSet* d) { d->SetFilter("id <= 2"); d->SetFiltered(true); d->SetFilter("id >= 3"); d->First(); }, "3 3 2 1"},
        {"close", [](TClientDataSet* d) { d->Close(); }, "0 0 0 0"},
        {"close and reopen", [](TClientDataSet* d) { const TDataPacket data = d->Data(); d->Close(); d->SetData(data); }, "6 2 4 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto ds = MakeDataSet({{1, "a", 1.0}, {2, "b", 2.0}, {3, "c", 3.0}, {4, "d", Variant::Null()}});
        TDBSumListProducer p;
        AddStandardSums(p);
        p.SetDataSet(ds.get());
        c.act(ds.get());
        EXPECT_EQ(Sums(p), QString::fromUtf8(c.sums));
    }
}

TEST(FooterSums, ExactDecimals)
{
    auto ds = MakeDataSet({{1, "a", 0.1}, {2, "b", 0.1}, {3, "c", 0.1}});
    TDBSumListProducer p;
    p.SumCollection()->Add()->SetFieldName("qty");
    p.SetDataSet(ds.get());
    EXPECT_EQ(p.SumCollection()->Items(0)->SumValue, Currency::FromRaw(3000));
    ds->Append();
    ds->FieldByName("qty")->SetAsFloat(0.7);
    ds->Post();
    EXPECT_EQ(p.SumCollection()->Items(0)->SumValue, Currency::FromRaw(10000));
}

TEST(FooterSums, FifthDecimalsRoundToNearestTiesToEven)
{
    // A floating-point field can carry a fifth decimal; every addition rounds the
    // scaled value to a whole number, halves to the even neighbour. Each tie below is
    // one whose double lies on the same side as the even neighbour, so the rule
    // decides it alone.
    struct Case { const char* name; std::vector<double> values; qint64 sum; qint64 avg; };
    const Case cases[] = {
        {"0.00007 rounds up", {0.00007}, 1, 1},
        {"-0.00007 rounds down", {-0.00007}, -1, -1},
        {"0.00004 rounds to zero", {0.00004}, 0, 0},
        {"2.00005 is a tie to the even 2.0000", {2.00005}, 20000, 20000},
        {"0.00075 is a tie to the even 0.0008", {0.00075}, 8, 8},
        {"each addition rounds: 4.5 -> 4, 4 + 4.5 -> 8", {0.00045, 0.00045}, 8, 4},
        {"5.5 -> 6, 6 + 7.5 -> 14 (not 13)", {0.00055, 0.00075}, 14, 7},
        {"average 3 / 2 ties to 2", {0.0001, 0.0002}, 3, 2},
        {"average 5 / 2 ties to 2", {0.0002, 0.0003}, 5, 2},
        {"average -3 / 2 ties to -2", {-0.0001, -0.0002}, -3, -2},
        {"average 5 / 3 rounds to 2", {0.0001, 0.0002, 0.0002}, 5, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TClientDataSet ds;
        ds.FieldDefs().Add(QStringLiteral("id"), ftInteger);
        ds.FieldDefs().Add(QStringLiteral("qty"), ftFloat);
        ds.CreateDataSet();
        TDBSumListProducer p;
        p.SumCollection()->Add()->SetFieldName("qty");
        TDBSum* avg = p.SumCollection()->Add();
        avg->SetFieldName("qty");
        avg->SetGroupOperation(goAvg);
        p.SetDataSet(&ds);
        // Posted one by one (the incremental path), then recomputed in a full pass.
        int id = 0;
        for (double v : c.values)
            ds.AppendRecord({Variant(++id), Variant(v)});
        EXPECT_EQ(p.SumCollection()->Items(0)->SumValue.Raw(), c.sum) << "posted";
        EXPECT_EQ(avg->SumValue.Raw(), c.avg) << "posted";
        p.RecalcAll();
        EXPECT_EQ(p.SumCollection()->Items(0)->SumValue.Raw(), c.sum) << "full pass";
        EXPECT_EQ(avg->SumValue.Raw(), c.avg) << "full pass";
    }
}

TEST(FooterSums, EditAndDeleteRoundTheirDifference)
{
    TClientDataSet ds;
    ds.FieldDefs().Add(QStringLiteral("id"), ftInteger);
    ds.FieldDefs().Add(QStringLiteral("qty"), ftFloat);
    ds.CreateDataSet();
    ds.AppendRecord({Variant(1), Variant(1.0)});
    ds.AppendRecord({Variant(2), Variant(0.00007)});
    TDBSumListProducer p;
    p.SumCollection()->Add()->SetFieldName("qty");
    p.SetDataSet(&ds);
    const TDBSum* sum = p.SumCollection()->Items(0);
    EXPECT_EQ(sum->SumValue.Raw(), 10001);
    // 10001 - 1 (the captured 0.00007) + 0.00075 * 10000 = 10007.5 -> 10008.
    GoTo(&ds, 2);
    ds.Edit();
    ds.FieldByName("qty")->SetAsFloat(0.00075);
    ds.Post();
    EXPECT_EQ(sum->SumValue.Raw(), 10008);
    // 10008 - 0.00075 * 10000 = 10000.5 -> 10000.
    ds.Delete();
    EXPECT_EQ(sum->SumValue.Raw(), 10000);
}

TEST(FooterSums, ScrollingAloneRecalculatesNothing)
{
    auto ds = NumberedDataSet(5);
    TDBSumListProducer p;
    p.SumCollection()->Add()->SetFieldName("qty");
    int passes = 0;
    p.OnRecalcAll = [&](TDBSumListProducer*) { ++passes; };
    p.SetDataSet(ds.get());
    EXPECT_EQ(passes, 1);
    ds->Next();
    ds->Last();
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(ds->FieldByName("id")->AsInteger(), 5);
}

TEST(FooterSums, MasterScrollRecalculates)
{
    auto master = NumberedDataSet(2);
    auto detail = MakeDataSet({{1, "m1", 1.0}, {1, "m1", 2.0}, {2, "m2", 10.0}});
    TDataSource masterSource(master.get());
    RegisterDataSourcePropReaderGx([&](const void* component, const QString& prop) -> TDataSource* {
        return component == detail.get() && prop == "MasterSource" ? &masterSource : nullptr;
    });
    // The detail shows the records of the master's current record.
    int masterId = 1;
    detail->OnFilterRecord = [&](TDataSet* d, bool& accept) { accept = d->FieldByName("id")->AsInteger() == masterId; };
    detail->SetFiltered(true);
    master->AfterScroll = [&](TDataSet* m) { masterId = m->FieldByName("id")->AsInteger(); detail->Refresh(); };

    TDBSumListProducer p;
    p.SumCollection()->Add()->SetFieldName("qty");
    p.SetDataSet(detail.get());
    EXPECT_EQ(Sums(p), QStringLiteral("3"));
    master->Next();
    EXPECT_EQ(Sums(p), QStringLiteral("10"));
    p.SetActive(false);
    EXPECT_TRUE(bool(master->AfterScroll));
    master->First();
    EXPECT_EQ(masterId, 1);   // the master's own handler is back and still works
    ClearDataSourcePropReadersGx();
}

namespace {
QStringList g_calls;
void OriginalAfterPost(TDataSet*) { g_calls << "original"; }
void OriginalAfterScroll(TDataSet*) { g_calls << "scroll"; }
} // namespace

TEST(FooterSums, OtherHandlersStayIntact)
{
    auto ds = NumberedDataSet(3);
    g_calls.clear();
    ds->AfterPost = &OriginalAfterPost;
    ds->AfterScroll = &OriginalAfterScroll;
    {
        TDBSumListProducer p;
        p.SumCollection()->Add()->SetFieldName("qty");
        p.SumListChanged = [](TDBSumListProducer*) { g_calls << "sums"; };
        p.SetDataSet(ds.get());
        g_calls.clear();
        ds->Edit();
        ds->FieldByName("qty")->SetAsFloat(7);
        ds->Post();
        // Own work first, then the handler that was there before.
        g_calls.removeAll("scroll");
        EXPECT_EQ(g_calls.mid(g_calls.indexOf("sums")), QStringList({"sums", "original"}));
        p.SetActive(false);
        ASSERT_NE(ds->AfterPost.target<void (*)(TDataSet*)>(), nullptr);
        EXPECT_EQ(*ds->AfterPost.target<void (*)(TDataSet*)>(), &OriginalAfterPost);
        EXPECT_EQ(*ds->AfterScroll.target<void (*)(TDataSet*)>(), &OriginalAfterScroll);
    }

    // Two producers on one dataset, the first one freed first, and a handler set
    // after both that chains to them.
    QStringList late;
    auto first = std::make_unique<TDBSumListProducer>();
    first->SumCollection()->Add()->SetFieldName("qty");
    first->SetDataSet(ds.get());
    TDBSumListProducer second;
    second.SumCollection()->Add()->SetFieldName("qty");
    second.SetDataSet(ds.get());
    TDataSet::TDataSetNotifyEvent chained = ds->AfterPost;
    ds->AfterPost = [chained, &late](TDataSet* d) { late << "late"; chained(d); };
    first.reset();
    g_calls.clear();
    ds->Edit();
    ds->FieldByName("qty")->SetAsFloat(1);
    ds->Post();
    EXPECT_EQ(late, QStringList({"late"}));
    EXPECT_EQ(g_calls.count("original"), 1);
    EXPECT_EQ(Sums(second), QStringLiteral("6"));   // 1 + 2 + 3
    second.SetActive(false);
    // The later handler is left in place; the chain behind it still ends in the original.
    g_calls.clear();
    ds->Edit();
    ds->Post();
    EXPECT_EQ(late.size(), 2);
    g_calls.removeAll("scroll");
    EXPECT_EQ(g_calls, QStringList({"original"}));
}

TEST(FooterSums, ControlsComeBackAfterAFailedPass)
{
    auto ds = MakeDataSet({{1, "1", 1.0}, {2, "x", 2.0}, {3, "3", 3.0}});
    GoTo(ds.get(), 3);
    TDBSumListProducer p;
    p.SetDataSet(ds.get());
    p.SumCollection()->Add()->SetFieldName("qty");
    EXPECT_THROW(p.SumCollection()->Add()->SetFieldName("name"), Exception);   // "x" is no number
    EXPECT_FALSE(ds->ControlsDisabled());
    EXPECT_EQ(ds->FieldByName("id")->AsInteger(), 3);
    EXPECT_FALSE(p.Changing());
    // An unknown field is reported before the pass touches the dataset.
    EXPECT_THROW(p.SumCollection()->Items(1)->SetFieldName("nosuch"), EDatabaseError);
    EXPECT_FALSE(ds->ControlsDisabled());
}

TEST(FooterSums, ExternalRecalcAndDeactivation)
{
    auto ds = NumberedDataSet(3);
    TDBSumListProducer p;
    p.SumCollection()->Add()->SetFieldName("qty");
    p.SetDataSet(ds.get());
    EXPECT_EQ(Sums(p), QStringLiteral("6"));
    p.OnRecalcAll = [](TDBSumListProducer* s) { s->SumCollection()->Items(0)->SumValue = Currency::FromInt(42); };
    p.SetExternalRecalc(true);
    EXPECT_EQ(Sums(p), QStringLiteral("42"));
    p.OnRecalcAll = nullptr;
    p.RecalcAll();
    EXPECT_EQ(Sums(p), QStringLiteral("0"));
    p.SetExternalRecalc(false);
    EXPECT_EQ(Sums(p), QStringLiteral("6"));
    p.SetActive(false);
    EXPECT_EQ(Sums(p), QStringLiteral("0"));
    EXPECT_FALSE(p.EventsOverloaded());
    EXPECT_FALSE(bool(ds->AfterPost));
    EXPECT_EQ(p.RecordCount(), 3);
    EXPECT_TRUE(p.IsSequenced());
    EXPECT_EQ(p.SumCollection()->GetSumByOpAndFName(goSum, "QTY"), p.SumCollection()->Items(0));
    EXPECT_EQ(p.SumCollection()->GetSumByOpAndFName(goAvg, "qty"), nullptr);
    delete p.SumCollection()->Items(0);
    EXPECT_EQ(p.SumCollection()->Count(), 0);
}

namespace {
// A producer over a dataset that cannot number its records.
class VirtualProducer : public TDBSumListProducer {
protected:
    bool DataSetIsSequenced() const override { return false; }
};
} // namespace

TEST(FooterSums, VirtualRecords)
{
    auto ds = NumberedDataSet(5);
    VirtualProducer p;
    p.SumCollection()->Add()->SetFieldName("qty");
    p.SetVirtualRecords(true);
    p.SetDataSet(ds.get());
    EXPECT_EQ(p.RecordCount(), 5);
    EXPECT_TRUE(p.IsSequenced());
    GoTo(ds.get(), 4);
    EXPECT_EQ(p.GetRecNo(), 4);
    p.SetRecNo(2);
    EXPECT_EQ(ds->FieldByName("id")->AsInteger(), 2);

    ds->Append();
    ds->FieldByName("id")->SetAsInteger(6);
    ds->FieldByName("qty")->SetAsFloat(6);
    ds->Post();
    EXPECT_EQ(p.RecordCount(), 6);
    EXPECT_EQ(p.GetRecNo(), 6);
    GoTo(ds.get(), 3);
    ds->Delete();
    EXPECT_EQ(p.RecordCount(), 5);
    EXPECT_EQ(Sums(p), QStringLiteral("18"));

    // A bookmark that is not in the list ends the walk with -1 instead of looping.
    GoTo(ds.get(), 4);
    const TBookmark four = ds->GetBookmark();
    const int at = p.BookmarkToRecNo(four);
    ASSERT_GE(at, 0);
    p.VirtualRecList()->DeleteItem(at);
    EXPECT_EQ(p.BookmarkToRecNo(four), -1);
    GoTo(ds.get(), 1);
    EXPECT_EQ(p.BookmarkToRecNo(ds->GetBookmark()), 0);
    EXPECT_EQ(p.BookmarkToRecNo(four), -1);
}

namespace {
// A producer whose owner is still loading when it goes.
class LoadingProducer : public TDBSumListProducer {
public:
    bool loading = false;
protected:
    bool OwnerLoading() const override { return loading; }
};
} // namespace

TEST(FooterSums, FreedWhileTheOwnerLoadsGivesTheEventsBack)
{
    auto ds = NumberedDataSet(2);
    g_calls.clear();
    ds->AfterPost = &OriginalAfterPost;
    {
        LoadingProducer p;
        p.SumCollection()->Add()->SetFieldName("qty");
        p.SetDataSet(ds.get());
        EXPECT_TRUE(p.EventsOverloaded());
        p.loading = true;
    }
    ASSERT_NE(ds->AfterPost.target<void (*)(TDataSet*)>(), nullptr);
    ds->Edit();
    ds->Post();
    EXPECT_EQ(g_calls.count("original"), 1);

    // While loading nothing is hooked; the end of loading activates.
    LoadingProducer late;
    late.loading = true;
    late.SumCollection()->Add()->SetFieldName("qty");
    late.SetDataSet(ds.get());
    EXPECT_FALSE(late.EventsOverloaded());
    late.loading = false;
    late.ActivateAfterLoad();
    EXPECT_TRUE(late.EventsOverloaded());
    EXPECT_EQ(Sums(late), QStringLiteral("3"));
}
