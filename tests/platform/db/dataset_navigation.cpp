// Navigation, bookmarks, searching, sorting, filtering and the order of dataset events.
#include "dataset_support.h"

using namespace dstest;

TEST(Navigation, FieldByNameIgnoresCaseAndNamesMissingFields)
{
    auto ds = Numbers(2);
    EXPECT_EQ(ds->FieldByName("NAME"), ds->FieldByName("name"));
    EXPECT_EQ(ds->FindField("nope"), nullptr);
    ExpectError<EDatabaseError>([&] { ds->FieldByName("nope"); }, "Field 'nope' not found");
    EXPECT_EQ(ds->FieldNames(), QStringList({"id", "name", "grp", "amount"}));
    std::vector<TField*> list = ds->GetFieldList("Id; AMOUNT");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1]->FieldName(), "amount");
}

TEST(Navigation, StateRulesAndTheirErrors)
{
    auto ds = Numbers(2);
    ExpectError<EDatabaseError>([&] { ds->FieldByName("name")->SetAsString("x"); },
                                "Dataset not in edit or insert mode");
    ExpectError<EDatabaseError>([&] { ds->Post(); }, "Dataset not in edit or insert mode");
    ds->Edit();
    ds->FieldByName("name")->SetAsString("changed");
    ds->Next();                               // leaving the record posts it
    EXPECT_EQ(ds->State(), dsBrowse);
    ds->First();
    EXPECT_EQ(ds->FieldByName("name")->AsString(), "changed");
    ds->Append();
    ds->Next();                               // nothing typed: the new record is dropped
    EXPECT_EQ(ds->RecordCount(), 2);
    ds->FieldByName("id")->SetRequired(true);
    ds->Append();
    ds->FieldByName("name")->SetAsString("no id");
    ExpectError<EDatabaseError>([&] { ds->Post(); }, "Field 'id' must have a value");
    EXPECT_EQ(ds->State(), dsInsert);
    ds->Cancel();
    ds->FieldByName("id")->SetReadOnly(true);
    ds->Edit();
    ExpectError<EDatabaseError>([&] { ds->FieldByName("id")->SetAsInteger(3); }, "Field 'id' cannot be modified");
    ds->Cancel();
    ds->Close();
    ExpectError<EDatabaseError>([&] { ds->First(); }, "Cannot perform this operation on a closed dataset");
}

TEST(Navigation, InsertPlacesTheRecordBeforeTheCurrentOne)
{
    auto ds = Numbers(3);
    ds->Locate("id", 2);
    ds->InsertRecord({10, "ten", 0, Variant::Null()});
    EXPECT_EQ(ds->RecNo(), 2);
    EXPECT_EQ(Ids(*ds), std::vector<int>({1, 10, 2, 3}));
    ds->Locate("id", 10);
    ds->Delete();
    EXPECT_EQ(CurrentId(*ds), 2);      // the next record becomes current
    ds->Last();
    ds->Delete();
    EXPECT_EQ(CurrentId(*ds), 2);      // at the end, the previous one
}

TEST(Navigation, LocateAndLookup)
{
    auto ds = Numbers(30);
    struct Case {
        const char* fields;
        std::vector<Variant> keys;
        TLocateOptions options;
        int expectId;   // 0: not found
    };
    const std::vector<Case> cases = {
        {"id", {17}, 0, 17},
        {"id", {"17"}, 0, 17},                    // text key against an integer field
        {"id", {"x"}, 0, 0},
        {"name", {"R12"}, 0, 0},
        {"name", {"R12"}, loCaseInsensitive, 12},
        {"name", {"r2"}, loPartialKey, 2},
        {"name", {"R2"}, loPartialKey | loCaseInsensitive, 2},
        {"grp;amount", {2, 2.0}, 0, 20},
        {"grp;amount", {2, "0.5"}, 0, 5},
        {"amount", {Variant::Null()}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        ds->First();
        bool found = ds->Locate(c.fields, c.keys, c.options);
        EXPECT_EQ(found, c.expectId != 0);
        EXPECT_EQ(CurrentId(*ds), found ? c.expectId : 1);
    }
    ds->SetRecNo(4);
    EXPECT_EQ(ds->Lookup("name", "r9", "amount").ToCurrency(), Currency::FromRaw(9000));
    EXPECT_TRUE(ds->Lookup("name", "none", "amount").IsNull());
    EXPECT_EQ(CurrentId(*ds), 4);   // Lookup does not move
}

TEST(Navigation, SortingByTwoFieldsWithOneDescendingKeepsBookmarks)
{
    auto ds = Numbers(9);
    std::map<int, TBookmark> marks;
    for (ds->First(); !ds->Eof(); ds->Next())
        marks[CurrentId(*ds)] = ds->GetBookmark();
    ds->Locate("id", 5);
    ds->SetIndexFieldNames("grp;id DESC");
    EXPECT_EQ(CurrentId(*ds), 5);                // the current record stays current
    EXPECT_EQ(Ids(*ds), std::vector<int>({9, 6, 3, 7, 4, 1, 8, 5, 2}));
    for (auto& [id, bm] : marks) {
        ASSERT_TRUE(ds->BookmarkValid(bm));
        ds->GotoBookmark(bm);
        EXPECT_EQ(CurrentId(*ds), id);
    }
    EXPECT_LT(ds->CompareBookmarks(marks[9], marks[2]), 0);
    EXPECT_GT(ds->CompareBookmarks(marks[1], marks[6]), 0);
    // A posted change moves the record to its sorted place.
    ds->Locate("id", 2);
    ds->Edit();
    ds->FieldByName("grp")->SetAsInteger(0);
    ds->Post();
    EXPECT_EQ(CurrentId(*ds), 2);
    EXPECT_EQ(Ids(*ds), std::vector<int>({9, 6, 3, 2, 7, 4, 1, 8, 5}));
    ds->SetIndexFieldNames("name");              // text ignores case, ascending
    EXPECT_EQ(Ids(*ds), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ExpectError<EDatabaseError>([&] { ds->SetIndexFieldNames("nope"); }, "Field 'nope' not found");
}

TEST(Navigation, FilterHidesRecordsFromNavigationAndRecordCount)
{
    struct Case {
        QString filter;
        TFilterOptions options;
        std::vector<int> ids;
    };
    const std::vector<Case> cases = {
        {"grp = 1", 0, {1, 4, 7, 10}},
        {"grp=1 and id>4", 0, {7, 10}},
        {"grp = 0 or id < 2", 0, {1, 3, 6, 9}},
        {"not (grp <> 2)", 0, {2, 5, 8}},
        {"amount >= '0.9'", 0, {9, 10}},
        {"name = 'r1*'", 0, {1, 10}},
        {"name = 'r1*'", foNoPartialCompare, {}},
        {"name = 'R5'", foCaseInsensitive, {5}},
        {"name like 'r_'", 0, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"name like '%1%'", 0, {1, 10}},
        {"name like 'R%'", foCaseInsensitive, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"name not like 'r.'", 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"[id] in (2, 4, 11)", 0, {2, 4}},
        {"amount is null", 0, {}},
    };
    auto ds = Numbers(10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        ds->SetFilterOptions(c.options);
        ds->SetFilter(c.filter);
        ds->SetFiltered(true);
        EXPECT_EQ(ds->RecordCount(), int(c.ids.size()));
        EXPECT_EQ(Ids(*ds), c.ids);
        ds->SetFiltered(false);
        EXPECT_EQ(ds->RecordCount(), 10);
    }
    ds->SetFilter("grp = 1");
    ds->SetFiltered(true);
    EXPECT_FALSE(ds->Locate("id", 2));          // hidden records are not found
    ds->Edit();
    ds->FieldByName("grp")->SetAsInteger(2);    // the record leaves the filter when posted
    ds->Post();
    EXPECT_EQ(Ids(*ds), std::vector<int>({4, 7, 10}));
    ds->SetFiltered(false);
    ds->OnFilterRecord = [](TDataSet* d, bool& accept) { accept = d->FieldByName("id")->AsInteger() > 8; };
    ds->SetFilter("");
    ds->SetFiltered(true);
    EXPECT_EQ(Ids(*ds), std::vector<int>({9, 10}));
    ExpectError<EDatabaseError>([&] { ds->SetFilter("grp = "); }, "Invalid filter expression: grp = ");
}

TEST(Events, FieldChangesThenPostInTheClassLibraryOrder)
{
    auto ds = Numbers(3);
    QStringList log;
    auto note = [&](const char* what) { return [&log, what](TDataSet*) { log << what; }; };
    ds->BeforeInsert = note("BeforeInsert");
    ds->AfterInsert = note("AfterInsert");
    ds->BeforeScroll = note("BeforeScroll");
    ds->AfterScroll = note("AfterScroll");
    ds->BeforeEdit = note("BeforeEdit");
    ds->AfterEdit = note("AfterEdit");
    ds->BeforePost = note("BeforePost");
    ds->AfterPost = note("AfterPost");
    ds->BeforeCancel = note("BeforeCancel");
    ds->AfterCancel = note("AfterCancel");
    ds->BeforeDelete = note("BeforeDelete");
    ds->AfterDelete = note("AfterDelete");
    ds->OnNewRecord = [&](TDataSet* d) { log << "OnNewRecord"; d->FieldByName("grp")->SetAsInteger(0); };
    TField* name = ds->FieldByName("name");
    name->OnChange = [&](TField* f) { log << "OnChange " + f->AsString(); };
    name->OnValidate = [&](TField* f) { log << "OnValidate " + f->AsString(); };

    ds->Append();
    EXPECT_FALSE(ds->Modified());            // defaults set in OnNewRecord do not count
    name->SetAsString("a");
    name->SetAsString("a");
    ds->FieldByName("id")->SetAsInteger(4);
    ds->Post();
    EXPECT_EQ(log, QStringList({"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert", "AfterScroll",
                                "OnValidate a", "OnChange a", "OnValidate a", "OnChange a",
                                "BeforePost", "AfterPost"}));
    log.clear();
    ds->Edit();
    name->SetAsString("b");
    ds->Cancel();
    ds->Delete();
    EXPECT_EQ(log, QStringList({"BeforeEdit", "AfterEdit", "OnValidate b", "OnChange b", "BeforeCancel",
                                "AfterCancel", "BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
    // A validation error keeps the old value.
    name->OnValidate = [](TField* f) { if (f->AsString() == "bad") throw EDatabaseError("refused"); };
    ds->First();
    ds->Edit();
    ExpectError<EDatabaseError>([&] { name->SetAsString("bad"); }, "refused");
    EXPECT_EQ(name->AsString(), "r1");
    ds->Cancel();
}

TEST(Events, CalculatedAndLookupFields)
{
    auto groups = std::make_unique<TClientDataSet>();
    groups->FieldDefs().Add("gid", ftInteger);
    groups->FieldDefs().Add("gname", ftWideString, 10);
    groups->CreateDataSet();
    groups->AppendRecord({0, QStringLiteral("零")});
    groups->AppendRecord({1, QStringLiteral("一")});

    TClientDataSet ds;
    ds.FieldDefs().Add("id", ftInteger);
    ds.FieldDefs().Add("grp", ftInteger);
    auto* twice = ds.AddField<TIntegerField>("twice", fkCalculated);
    auto* gname = ds.AddField<TWideStringField>("gname", fkLookup, 10);
    gname->KeyFields = "grp";
    gname->LookupDataSet = groups.get();
    gname->LookupKeyFields = "gid";
    gname->LookupResultField = "gname";
    ds.OnCalcFields = [](TDataSet* d) {
        EXPECT_EQ(d->State(), dsCalcFields);
        d->FieldByName("twice")->SetAsInteger(d->FieldByName("id")->AsInteger() * 2);
    };
    ds.CreateDataSet();
    EXPECT_EQ(ds.FieldNames(), QStringList({"id", "grp", "twice", "gname"}));
    ds.AppendRecord({21, 1});
    EXPECT_EQ(twice->AsInteger(), 42);
    EXPECT_EQ(gname->AsString(), QStringLiteral("一"));
    ds.Edit();
    ds.FieldByName("id")->SetAsInteger(5);
    ds.FieldByName("grp")->SetAsInteger(0);
    EXPECT_EQ(twice->AsInteger(), 10);             // recalculated from the edit buffer
    EXPECT_EQ(gname->AsString(), QStringLiteral("零"));
    ds.Cancel();
    EXPECT_EQ(twice->AsInteger(), 42);
    ASSERT_TRUE(ds.Locate("gname", QStringLiteral("一")));
}
