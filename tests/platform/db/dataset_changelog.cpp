// The client dataset's change log, its delta, merging and cancelling, data packets and the
// provider.
#include "dataset_support.h"

using namespace dstest;

namespace {

struct DeltaRow {
    TUpdateStatus status;
    std::vector<Variant> values;   // Unassigned where the row holds no value
};

// Reads a delta back the way the change writer does: loaded into a client dataset and walked.
std::vector<DeltaRow> ReadDelta(const TDataPacket& delta)
{
    TClientDataSet d;
    d.SetData(delta);
    std::vector<DeltaRow> rows;
    for (d.First(); !d.Eof(); d.Next()) {
        DeltaRow r{d.UpdateStatus(), {}};
        for (TField* f : d.Fields())
            r.values.push_back(f->NewValue());
        rows.push_back(r);
    }
    return rows;
}

Variant Cur(double v) { return Variant(Currency::FromDouble(v)); }
const Variant U;   // Unassigned

void Modify(TDataSet& ds, int id, const char* field, const Variant& v)
{
    ASSERT_TRUE(ds.Locate("id", id));
    ds.Edit();
    ds.FieldByName(field)->SetValue(v);
    ds.Post();
}

} // namespace

TEST(ChangeLog, EachKindOfChangeGivesItsDeltaRows)
{
    struct Case {
        const char* name;
        std::function<void(TClientDataSet&)> change;
        int changeCount;
        std::vector<DeltaRow> delta;
    };
    const std::vector<Case> cases = {
        {"edit", [](TClientDataSet& ds) { Modify(ds, 2, "name", "two"); }, 1,
         {{usUnmodified, {2, "r2", 2, Cur(0.2)}}, {usModified, {U, "two", U, U}}}},
        {"edit to Null", [](TClientDataSet& ds) { Modify(ds, 2, "amount", Variant::Null()); }, 1,
         {{usUnmodified, {2, "r2", 2, Cur(0.2)}}, {usModified, {U, U, U, Variant::Null()}}}},
        {"two edits of one record", [](TClientDataSet& ds) { Modify(ds, 2, "name", "a"); Modify(ds, 2, "grp", 7); }, 2,
         {{usUnmodified, {2, "r2", 2, Cur(0.2)}}, {usModified, {U, "a", 7, U}}}},
        {"insert", [](TClientDataSet& ds) { ds.AppendRecord({9, "new", 1, Cur(1.5)}); }, 1,
         {{usInserted, {9, "new", 1, Cur(1.5)}}}},
        {"insert then edit", [](TClientDataSet& ds) { ds.AppendRecord({9, "new", 1, Cur(1.5)}); Modify(ds, 9, "name", "newer"); }, 2,
         {{usInserted, {9, "newer", 1, Cur(1.5)}}}},
        {"delete", [](TClientDataSet& ds) { ds.Locate("id", 3); ds.Delete(); }, 1,
         {{usDeleted, {3, "r3", 0, Cur(0.3)}}}},
        {"edit then delete keeps the old values", [](TClientDataSet& ds) { Modify(ds, 3, "name", "x"); ds.Delete(); }, 2,
         {{usDeleted, {3, "r3", 0, Cur(0.3)}}}},
        {"insert then delete leaves nothing", [](TClientDataSet& ds) { ds.AppendRecord({9, "new", 1, Cur(1.5)}); ds.Delete(); }, 0, {}},
        {"edit then cancel leaves nothing", [](TClientDataSet& ds) { ds.Edit(); ds.FieldByName("name")->SetAsString("zz"); ds.Cancel(); }, 0, {}},
        {"changes in the order made", [](TClientDataSet& ds) {
             Modify(ds, 3, "grp", 5);
             ds.Locate("id", 1); ds.Delete();
             ds.AppendRecord({9, "new", 1, Cur(1.5)});
             Modify(ds, 3, "name", "c"); }, 4,
         {{usUnmodified, {3, "r3", 0, Cur(0.3)}}, {usModified, {U, "c", 5, U}},
          {usDeleted, {1, "r1", 1, Cur(0.1)}}, {usInserted, {9, "new", 1, Cur(1.5)}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto ds = Numbers(3);
        EXPECT_EQ(ds->ChangeCount(), 0);
        c.change(*ds);
        EXPECT_EQ(ds->ChangeCount(), c.changeCount);
        std::vector<DeltaRow> rows = ReadDelta(ds->Delta());
        ASSERT_EQ(rows.size(), c.delta.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(rows[i].status, c.delta[i].status);
            ASSERT_EQ(rows[i].values.size(), c.delta[i].values.size());
            for (size_t f = 0; f < rows[i].values.size(); ++f) {
                const Variant& got = rows[i].values[f];
                const Variant& want = c.delta[i].values[f];
                EXPECT_EQ(got.Type(), want.Type()) << "field " << f;
                EXPECT_TRUE(got == want) << "field " << f << ": " << got.ToString().toStdString();
            }
        }
    }
}

TEST(ChangeLog, UnchangedFieldsOfAModifiedDeltaRowReadAsNull)
{
    auto ds = Numbers(3);
    Modify(*ds, 1, "grp", 4);
    TClientDataSet d;
    d.SetData(ds->Delta());
    d.First();
    EXPECT_EQ(d.UpdateStatus(), usUnmodified);
    d.Next();
    EXPECT_EQ(d.UpdateStatus(), usModified);
    EXPECT_TRUE(d.FieldByName("id")->IsNull());
    EXPECT_TRUE(d.FieldByName("name")->IsNull());
    EXPECT_EQ(d.FieldByName("grp")->AsInteger(), 4);
}

TEST(ChangeLog, UpdateStatusOfTheCurrentRecord)
{
    auto ds = Numbers(3);
    EXPECT_EQ(ds->UpdateStatus(), usUnmodified);
    Modify(*ds, 2, "grp", 9);
    EXPECT_EQ(ds->UpdateStatus(), usModified);
    ds->Append();
    EXPECT_EQ(ds->UpdateStatus(), usInserted);
    ds->FieldByName("id")->SetAsInteger(4);
    ds->Post();
    EXPECT_EQ(ds->UpdateStatus(), usInserted);
    EXPECT_TRUE(ds->FieldByName("id")->OldValue().IsNull());   // nothing before an insert
    ds->Locate("id", 2);
    ds->Edit();
    ds->FieldByName("grp")->SetAsInteger(1);
    EXPECT_EQ(ds->FieldByName("grp")->OldValue().ToInt(), 2);   // the value before any change
    EXPECT_EQ(ds->FieldByName("grp")->NewValue().ToInt(), 1);
    ds->Cancel();
}

TEST(ChangeLog, MergeChangeLogAcceptsTheChanges)
{
    auto ds = Numbers(4);
    Modify(*ds, 2, "name", "two");
    ds->Locate("id", 3);
    ds->Delete();
    ds->AppendRecord({5, "five", 2, Cur(0.5)});
    ds->MergeChangeLog();
    EXPECT_EQ(ds->ChangeCount(), 0);
    EXPECT_EQ(ds->Delta().RowCount(), 0);
    EXPECT_EQ(Ids(*ds), std::vector<int>({1, 2, 4, 5}));
    ds->Locate("id", 2);
    EXPECT_EQ(ds->FieldByName("name")->AsString(), "two");
    EXPECT_EQ(ds->UpdateStatus(), usUnmodified);
    // A new edit logs the merged value as the old one.
    Modify(*ds, 2, "name", "again");
    std::vector<DeltaRow> rows = ReadDelta(ds->Delta());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].values[1].ToString(), "two");
}

TEST(ChangeLog, CancelUpdatesBringsEveryRecordBack)
{
    auto ds = Numbers(4);
    Modify(*ds, 2, "name", "two");
    ds->Locate("id", 3);
    ds->Delete();
    ds->AppendRecord({5, "five", 2, Cur(0.5)});
    ds->Locate("id", 1);
    ds->Edit();
    ds->FieldByName("name")->SetAsString("pending");
    ds->CancelUpdates();
    EXPECT_EQ(ds->State(), dsBrowse);
    EXPECT_EQ(ds->ChangeCount(), 0);
    EXPECT_EQ(Ids(*ds), std::vector<int>({1, 2, 3, 4}));
    ds->Locate("id", 2);
    EXPECT_EQ(ds->FieldByName("name")->AsString(), "r2");
    ds->Locate("id", 1);
    EXPECT_EQ(ds->FieldByName("name")->AsString(), "r1");
}

TEST(Packets, RoundTripKeepsRecordsTypesAndChangeLog)
{
    auto ds = Numbers(3);
    Modify(*ds, 1, "name", "one");
    ds->Locate("id", 2);
    ds->Delete();
    TDataPacket p = ds->Data();
    ASSERT_FALSE(p.IsNull());
    EXPECT_EQ(p.RecordCount(), 2);

    TClientDataSet copy;
    copy.SetData(p);
    EXPECT_EQ(copy.FieldDefs(), ds->FieldDefs());
    EXPECT_EQ(Ids(copy), std::vector<int>({1, 3}));
    EXPECT_EQ(copy.ChangeCount(), 2);
    EXPECT_EQ(copy.FieldByName("amount")->DataType(), ftBCD);
    std::vector<DeltaRow> a = ReadDelta(ds->Delta()), b = ReadDelta(copy.Delta());
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].status, b[i].status);
        EXPECT_TRUE(a[i].values == b[i].values);
    }
    // The packet is a value: later changes to either dataset do not reach it.
    Modify(copy, 1, "name", "changed");
    TClientDataSet third;
    third.SetData(p);
    third.First();
    EXPECT_EQ(third.FieldByName("name")->AsString(), "one");
    // A null packet closes the dataset.
    third.SetData(TDataPacket());
    EXPECT_FALSE(third.Active());
}

TEST(Packets, APacketHandedOverWholeGivesItsValuesAndASharedOneKeepsThem)
{
    auto ds = Numbers(3);
    Modify(*ds, 2, "name", "two");
    TDataPacket kept = ds->Data();
    TClientDataSet shared;
    shared.SetData(TDataPacket(kept));   // handed over, but still held by `kept`
    TClientDataSet sole;
    sole.SetData(ds->Data());            // nothing else holds this one
    for (TClientDataSet* d : {&shared, &sole}) {
        EXPECT_EQ(Ids(*d), std::vector<int>({1, 2, 3}));
        ASSERT_TRUE(d->Locate("id", 2));
        EXPECT_EQ(d->FieldByName("name")->AsString(), "two");
        EXPECT_EQ(d->ChangeCount(), 1);
    }
    TClientDataSet again;
    again.SetData(kept);
    ASSERT_TRUE(again.Locate("id", 2));
    EXPECT_EQ(again.FieldByName("name")->AsString(), "two");
    EXPECT_EQ(again.FieldByName("amount")->Value(), ds->FieldByName("amount")->Value());

    // Values of another type are still converted to their fields' types.
    auto raw = std::make_shared<TPacketContent>();
    raw->fieldDefs.Add("amount", ftBCD);
    raw->rows.push_back(TPacketRow{{Variant(7)}, {}, usUnmodified, 0});
    TClientDataSet converted;
    converted.SetData(TDataPacket(std::move(raw)));
    EXPECT_EQ(converted.FieldByName("amount")->Value().Type(), VarType::Currency);
    EXPECT_EQ(converted.FieldByName("amount")->AsFloat(), 7.0);
}

TEST(Packets, AppendDataKeepsTheCurrentRecord)
{
    auto ds = Numbers(5);
    ds->Locate("id", 3);
    TBookmark bm = ds->GetBookmark();
    auto more = Numbers(4);
    ds->AppendData(more->Data());
    EXPECT_EQ(ds->RecordCount(), 9);
    EXPECT_EQ(CurrentId(*ds), 3);
    EXPECT_EQ(ds->GetBookmark(), bm);
    EXPECT_EQ(ds->ChangeCount(), 0);      // appended rows are not changes

    TClientDataSet closed;
    closed.AppendData(more->Data());     // a closed dataset takes the packet as its data
    EXPECT_EQ(closed.RecordCount(), 4);
}

TEST(Packets, ProviderHandsTheFirstRowsOfADataSet)
{
    auto source = Numbers(10);
    source->Last();
    TDataSetProvider provider(source.get());
    TDataPacket p = provider.GetRecords(4);
    EXPECT_EQ(p.RecordCount(), 4);

    TClientDataSet cds;
    cds.SetProvider(&provider);
    cds.SetPacketRecords(3);
    cds.Open();
    EXPECT_EQ(Ids(cds), std::vector<int>({1, 2, 3}));
    cds.Close();
    cds.SetPacketRecords(-1);
    cds.Open();
    EXPECT_EQ(cds.RecordCount(), 10);
    EXPECT_EQ(cds.Data().RecordCount(), 10);
}

TEST(Packets, ErrorsOfTheClientDataSet)
{
    TClientDataSet cds;
    ExpectError<EDatabaseError>([&] { cds.Open(); }, "Missing data provider or data packet");
    ExpectError<EDatabaseError>([&] { (void)cds.RecordCount(); }, "Cannot perform this operation on a closed dataset");
    ExpectError<EDatabaseError>([&] { cds.CreateDataSet(); }, "No fields defined.  Cannot create dataset");
    EXPECT_TRUE(cds.Data().IsNull());
    auto ds = Numbers(2);
    ds->SetReadOnly(true);
    ExpectError<EDatabaseError>([&] { ds->Edit(); }, "Cannot modify a read-only dataset");
    ExpectError<EDatabaseError>([&] { ds->Append(); }, "Cannot modify a read-only dataset");
    ds->SetReadOnly(false);
    ds->EmptyDataSet();
    ExpectError<EDatabaseError>([&] { ds->Delete(); }, "Cannot perform this operation on an empty dataset");
    EXPECT_EQ(ds->RecordCount(), 0);
    EXPECT_EQ(ds->ChangeCount(), 0);
    EXPECT_TRUE(ds->IsEmpty());
    EXPECT_TRUE(ds->Eof() && ds->Bof());
}
