// A column's cell values and editing rules over every field type of the dataset
// layer, key and pick lists, check boxes, stepping, lookup columns and the
// permission to edit.
#include "dbgrid_stubgrid.h"
#include "platform/db/ClientDataSet.h"
#include "platform/rtl/DateTime.h"
#include <gtest/gtest.h>

using namespace gxtest;

namespace {

struct TypeCase {
    TFieldType type;
    Variant value;
    TColumnGxType columnType;
    QString display;          // also the edit text
    TCheckBoxState checkbox;
    QString afterStep;        // the field's text after StepFieldValue(1)
    bool canModify;
};

std::vector<TypeCase> TypeCases()
{
    const TDateTime day = EncodeDate(2026, 12, 10);
    return {
        {ftString, Variant(QStringLiteral("钢筋")), ctCommon, QStringLiteral("钢筋"), cbGrayed,
         QStringLiteral("钢筋"), true},
        {ftSmallint, Variant(41), ctCommon, QStringLiteral("41"), cbUnchecked, QStringLiteral("42"), true},
        {ftInteger, Variant(1), ctCommon, QStringLiteral("1"), cbChecked, QStringLiteral("2"), true},
        {ftWord, Variant(7), ctCommon, QStringLiteral("7"), cbGrayed, QStringLiteral("8"), true},
        {ftBoolean, Variant(true), ctCheckboxes, QStringLiteral("True"), cbChecked, QStringLiteral("False"), true},
        {ftFloat, Variant(2.5), ctCommon, QStringLiteral("2.5"), cbUnchecked, QStringLiteral("3.5"), true},
        {ftCurrency, Variant(1.0), ctCommon, QStringLiteral("1"), cbChecked, QStringLiteral("2"), true},
        {ftBCD, Variant(12.5), ctCommon, QStringLiteral("12.5"), cbUnchecked, QStringLiteral("13.5"), true},
        {ftDate, Variant(day), ctCommon, QStringLiteral("2026-12-10"), cbGrayed, QStringLiteral("2026-12-10"), true},
        {ftDateTime, Variant(day), ctCommon, QStringLiteral("2026-12-10"), cbGrayed, QStringLiteral("2026-12-10"),
         true},
        {ftLargeint, Variant(qint64(5000000000LL)), ctCommon, QStringLiteral("5000000000"), cbGrayed,
         QStringLiteral("5000000000"), true},
        {ftMemo, Variant(QStringLiteral("备注")), ctCommon, QStringLiteral("(MEMO)"), cbGrayed,
         QStringLiteral("(MEMO)"), false},
        {ftFixedChar, Variant(QStringLiteral("ab")), ctCommon, QStringLiteral("ab"), cbGrayed,
         QStringLiteral("ab"), true},
        {ftWideString, Variant(QStringLiteral("宽")), ctCommon, QStringLiteral("宽"), cbGrayed,
         QStringLiteral("宽"), true},
        {ftWideMemo, Variant(QStringLiteral("长文")), ctCommon, QStringLiteral("(MEMO)"), cbGrayed,
         QStringLiteral("(MEMO)"), false},
        {ftFMTBcd, Variant(0.25), ctCommon, QStringLiteral("0.25"), cbUnchecked, QStringLiteral("1.25"), true},
    };
}

} // namespace

TEST(DBGridCellValues, EveryFieldTypeOfTheDatasetLayer)
{
    for (const TypeCase& k : TypeCases()) {
        SCOPED_TRACE(int(k.type));
        TClientDataSet ds;
        ds.FieldDefs().Add(QStringLiteral("v"), k.type, k.type == ftFixedChar ? 2 : 20);
        ds.CreateDataSet();
        ds.AppendRecord({k.value});
        ds.First();
        StubGrid grid;
        grid.SetDataSet(&ds);
        TColumnGx* c = grid.Columns()->Add();
        c->SetFieldName(QStringLiteral("v"));

        EXPECT_EQ(c->GetColumnType(), k.columnType);
        EXPECT_EQ(c->DisplayText(), k.display);
        EXPECT_EQ(c->EditText(), k.display);
        EXPECT_EQ(c->GetCheckboxState(), k.checkbox);
        EXPECT_EQ(c->CanModify(false), k.canModify);
        EXPECT_EQ(ds.State(), dsBrowse);
        c->StepFieldValue(1);
        EXPECT_EQ(c->Field()->Text(), k.afterStep);
        if (ds.State() != dsBrowse)
            ds.Cancel();
        // Memo fields show and edit their text when the grid draws memo text.
        if (k.type == ftMemo || k.type == ftWideMemo) {
            grid.MemoText = true;
            EXPECT_EQ(c->DisplayText(), k.value.ToString());
            EXPECT_EQ(c->EditText(), k.value.ToString());
            EXPECT_TRUE(c->CanModify(false));
        }
    }
}

TEST(DBGridCellValues, KeyAndPickLists)
{
    TClientDataSet ds;
    ds.FieldDefs().Add(QStringLiteral("flag"), ftInteger);
    ds.CreateDataSet();
    ds.AppendRecord({Variant(1)});
    ds.AppendRecord({Variant(2)});
    ds.First();
    StubGrid grid;
    grid.SetDataSet(&ds);
    TColumnGx* c = grid.Columns()->Add();
    c->SetFieldName(QStringLiteral("flag"));
    // Reading the lists creates them but leaves the column common.
    (void)c->KeyList();
    (void)c->PickList();
    EXPECT_EQ(c->GetColumnType(), ctCommon);
    c->KeyList() = {QStringLiteral("0"), QStringLiteral("1")};
    c->PickList() = {QStringLiteral("否"), QStringLiteral("是")};
    EXPECT_EQ(c->GetColumnType(), ctKeyPickList);
    EXPECT_EQ(c->DisplayText(), QStringLiteral("是"));
    ds.Next();
    EXPECT_EQ(c->DisplayText(), QString());
    c->SetNotInKeyListIndex(0);
    EXPECT_EQ(c->DisplayText(), QStringLiteral("否"));
    EXPECT_EQ(c->GetImageIndex(), 0);   // not in the key list: NotInKeyListIndex

    // Stepping walks the key list with wrap-around.
    ds.First();
    c->StepFieldValue(1);
    EXPECT_EQ(c->Field()->AsInteger(), 0);   // 1 was the last key
    ds.Post();
    ds.Next();                               // 2: not in the list
    c->StepFieldValue(-1);
    EXPECT_EQ(c->Field()->AsInteger(), 1);   // backward from outside goes to the last
    ds.Cancel();

    // The editor starts with the pick text; a pick list alone makes a pick-list column.
    ds.First();
    grid.SetEditText(QString());
    EXPECT_EQ(c->GetCellEditText(), QStringLiteral("否"));
    EXPECT_EQ(grid.EditText(), QStringLiteral("否"));
    c->SetKeyList(nullptr);
    EXPECT_EQ(c->GetColumnType(), ctPickList);
}

TEST(DBGridCellValues, CheckBoxesOnTextKeys)
{
    TClientDataSet ds;
    ds.FieldDefs().Add(QStringLiteral("yn"), ftString, 5);
    ds.CreateDataSet();
    for (const char* v : {"y", "Y", "N", "x"})
        ds.AppendRecord({Variant(QString::fromLatin1(v))});
    ds.First();
    StubGrid grid;
    grid.SetDataSet(&ds);
    TColumnGx* c = grid.Columns()->Add();
    c->SetFieldName(QStringLiteral("yn"));
    c->SetCheckboxes(true);
    c->KeyList() = {QStringLiteral("Y;y"), QStringLiteral("N")};
    std::vector<TCheckBoxState> states;
    for (; !ds.Eof(); ds.Next())
        states.push_back(c->GetCheckboxState());
    EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbChecked, cbChecked, cbUnchecked, cbGrayed}));
    EXPECT_EQ(c->GetColumnType(), ctCheckboxes);
    EXPECT_FALSE(c->TextEditing());

    ds.First();
    ds.Edit();
    c->SetCheckboxState(cbUnchecked);
    EXPECT_EQ(c->Field()->AsString(), QStringLiteral("N"));
    c->SetCheckboxState(cbChecked);
    EXPECT_EQ(c->Field()->AsString(), QStringLiteral("Y"));
    c->SetCheckboxState(cbGrayed);
    EXPECT_TRUE(c->Field()->IsNull());
    ds.Cancel();
}

TEST(DBGridCellValues, DisplayFormatsAndNullSteps)
{
    TClientDataSet ds;
    ds.FieldDefs().Add(QStringLiteral("name"), ftString, 10);
    ds.FieldDefs().Add(QStringLiteral("n"), ftInteger);
    ds.FieldDefs().Add(QStringLiteral("price"), ftBCD);
    ds.CreateDataSet();
    ds.AppendRecord({Variant(QStringLiteral("a")), Variant::Null(), Variant(3.14159)});
    ds.First();
    StubGrid grid;
    grid.SetDataSet(&ds);
    TColumnGx* name = grid.Columns()->Add();
    name->SetFieldName(QStringLiteral("name"));
    TColumnGx* n = grid.Columns()->Add();
    n->SetFieldName(QStringLiteral("n"));
    TColumnGx* price = grid.Columns()->Add();
    price->SetFieldName(QStringLiteral("price"));

    name->SetDisplayFormat(QStringLiteral("0.00"));
    EXPECT_EQ(name->DisplayText(), QStringLiteral("a"));   // a number format leaves a text field's text alone
    price->SetDisplayFormat(QStringLiteral("0.00"));
    EXPECT_EQ(price->DisplayText(), QStringLiteral("3.14"));
    EXPECT_EQ(n->GetCheckboxState(), cbGrayed);
    n->StepFieldValue(1);
    EXPECT_EQ(n->Field()->AsInteger(), 0);               // null counts as -step
    n->StepFieldValue(1);
    EXPECT_EQ(n->Field()->AsInteger(), 1);
    ds.Cancel();
}

TEST(DBGridCellValues, PermissionToEdit)
{
    TClientDataSet ds;
    ds.FieldDefs().Add(QStringLiteral("qty"), ftInteger);
    ds.CreateDataSet();
    ds.AppendRecord({Variant(5)});
    ds.First();
    StubGrid grid;
    grid.SetDataSet(&ds);
    TColumnGx* c = grid.Columns()->Add();
    c->SetFieldName(QStringLiteral("qty"));

    struct Case { const char* name; std::function<void()> set; bool expected; };
    const std::vector<Case> cases = {
        {"everything allowed", [] {}, true},
        {"grid read-only", [&] { grid.GridReadOnly = true; }, false},
        {"column read-only", [&] { c->SetReadOnly(true); }, false},
        {"field read-only", [&] { c->Field()->SetReadOnly(true); }, false},
        {"no update allowed", [&] { grid.Allowed.Exclude(alopUpdateGx); }, false},
        {"cell event read-only",
         [&] { c->OnGetCellParams = [](TColumnGx*, bool edit, TColCellParamsGx& p) { if (edit) p.ReadOnly = true; }; },
         false},
    };
    for (const Case& k : cases) {
        grid.GridReadOnly = false;
        c->RestoreDefaults();
        c->Field()->SetReadOnly(false);
        grid.Allowed = {alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx};
        c->OnGetCellParams = nullptr;
        k.set();
        EXPECT_EQ(c->CanModify(false), k.expected) << k.name;
        EXPECT_EQ(c->IsTabStop(), !c->ReadOnly() && !c->Field()->ReadOnly()) << k.name;
    }
    c->RestoreDefaults();
    c->OnGetCellParams = nullptr;
    c->Field()->SetReadOnly(false);
    grid.Allowed = {alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx};
    EXPECT_TRUE(c->CanModify(true));
    EXPECT_EQ(ds.State(), dsEdit);
    EXPECT_TRUE(grid.DataLink()->Modified());
    ds.Cancel();

    // Typing filter: digits and signs for an integer field.
    EXPECT_EQ(c->GetAcceptableEditText(QStringLiteral("1a2-b")), QStringLiteral("12-"));
}

TEST(DBGridCellValues, LookupColumn)
{
    TClientDataSet units;
    units.FieldDefs().Add(QStringLiteral("uid"), ftInteger);
    units.FieldDefs().Add(QStringLiteral("uname"), ftString, 10);
    units.CreateDataSet();
    units.AppendRecord({Variant(1), Variant(QStringLiteral("吨"))});
    units.AppendRecord({Variant(2), Variant(QStringLiteral("米"))});
    units.First();

    TClientDataSet ds;
    ds.FieldDefs().Add(QStringLiteral("unitid"), ftInteger);
    auto* lookup = ds.AddField<TStringField>(QStringLiteral("unit"), fkLookup, 10);
    lookup->KeyFields = QStringLiteral("unitid");
    lookup->LookupKeyFields = QStringLiteral("uid");
    lookup->LookupResultField = QStringLiteral("uname");
    lookup->LookupDataSet = &units;
    ds.CreateDataSet();
    ds.AppendRecord({Variant(1)});
    ds.First();

    StubGrid grid;
    grid.SetDataSet(&ds);
    TColumnGx* c = grid.Columns()->Add();
    c->SetFieldName(QStringLiteral("unit"));
    EXPECT_EQ(c->GetColumnType(), ctLookupField);
    EXPECT_EQ(c->DisplayText(), QStringLiteral("吨"));
    EXPECT_EQ(c->GetCellEditText(), QStringLiteral("吨"));
    EXPECT_EQ(grid.EditKeyValue().ToInt(), 1);
    EXPECT_EQ(c->LookupDisplayFields(), QStringLiteral("uname"));

    c->StepFieldValue(1);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("unitid"))->AsInteger(), 2);
    c->StepFieldValue(1);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("unitid"))->AsInteger(), 1);   // wraps to the first
    ds.Cancel();

    // A read-only key field: no permission, the dataset stays browsing.
    ds.FieldByName(QStringLiteral("unitid"))->SetReadOnly(true);
    EXPECT_FALSE(c->CanModify(true));
    EXPECT_EQ(ds.State(), dsBrowse);
}
