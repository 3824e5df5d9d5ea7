// Columns of the data grid: the assigned-value scheme, default widths, copying,
// restoring defaults, width limits and sort marking.
#include "dbgrid_stubgrid.h"
#include "grid/control/DBGridGxUnit.h"
#include "grid/control/DBGridGxSumList.h"
#include "grid/support/DBSumLst.h"
#include "platform/db/ClientDataSet.h"
#include <gtest/gtest.h>

using namespace gxtest;

namespace {

std::unique_ptr<TClientDataSet> Goods()
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add(QStringLiteral("mname"), ftString, 30);
    ds->FieldDefs().Add(QStringLiteral("qty"), ftBCD, 4);
    ds->FieldDefs().Add(QStringLiteral("audited"), ftBoolean);
    ds->CreateDataSet();
    ds->AppendRecord({Variant(QStringLiteral("钢筋")), Variant(12.5), Variant(true)});
    ds->First();
    ds->FieldByName(QStringLiteral("qty"))->SetDisplayLabel(QStringLiteral("数量"));
    return ds;
}

struct Fixture {
    std::unique_ptr<TClientDataSet> ds = Goods();
    StubGrid grid;
    Fixture() { grid.SetDataSet(ds.get()); }
    TColumnGx* Add(const QString& field)
    {
        TColumnGx* c = grid.Columns()->Add();
        c->SetFieldName(field);
        return c;
    }
};

int ExpectedWidth(StubGrid& grid, TColumnGx* c, int displayWidth)
{
    TCanvas* canvas = grid.Canvas();
    canvas->SetFont(*c->Font());
    const int overhang = canvas->FontOverhang();
    return (canvas->TextWidth(QStringLiteral("0")) - overhang) * displayWidth + overhang + 4;
}

} // namespace

TEST(DBGridColumns, UnsetPropertiesFollowFieldGridAndDefaultValues)
{
    Fixture f;
    TColumnGx* qty = f.Add(QStringLiteral("qty"));
    TColumnGx* name = f.Add(QStringLiteral("mname"));
    TColumnGx* bare = f.grid.Columns()->Add();

    // From the field: width, caption, alignment, check boxes, word wrap.
    EXPECT_EQ(qty->Width(), ExpectedWidth(f.grid, qty, qty->Field()->DisplayWidth()));
    EXPECT_EQ(qty->Title()->Caption(), QStringLiteral("数量"));
    EXPECT_EQ(qty->Alignment(), taRightJustify);
    EXPECT_FALSE(qty->Checkboxes());
    EXPECT_TRUE(f.Add(QStringLiteral("audited"))->Checkboxes());
    EXPECT_TRUE(name->WordWrap());
    EXPECT_FALSE(qty->WordWrap());
    // Without field: the grid's default width, the field name as caption.
    EXPECT_EQ(bare->Width(), 64);
    EXPECT_EQ(bare->Title()->Caption(), QString());

    // The grid's colour and ColumnDefValues reach every column that has not assigned them.
    name->SetColor(clYellow);
    f.grid.GridColor = clAqua;
    f.grid.ColumnDefValues()->SetEndEllipsis(true);
    f.grid.ColumnDefValues()->SetLayout(tlCenter);
    f.grid.ColumnDefValues()->Title()->SetColor(clRed);
    f.grid.ColumnDefValues()->Title()->SetAlignment(taCenter);
    EXPECT_EQ(qty->Color(), clAqua);
    EXPECT_EQ(name->Color(), clYellow);
    EXPECT_TRUE(qty->EndEllipsis());
    EXPECT_EQ(qty->Layout(), tlCenter);
    EXPECT_EQ(qty->Title()->Color(), clRed);
    EXPECT_EQ(qty->Title()->Alignment(), taCenter);
    name->SetEndEllipsis(false);
    EXPECT_FALSE(name->EndEllipsis());

    // Reading never assigns; writing does.
    EXPECT_FALSE(qty->AssignedValues().Contains(cvColor));
    EXPECT_FALSE(qty->AssignedValues().Contains(cvFont));
    (void)qty->Font()->Size();
    EXPECT_FALSE(qty->AssignedValues().Contains(cvFont));
    qty->Title()->SetCaption(QStringLiteral("数量"));
    EXPECT_TRUE(qty->AssignedValues().Contains(cvTitleCaption));
    qty->Font()->SetStyle(fsItalic);
    EXPECT_TRUE(qty->AssignedValues().Contains(cvFont));
}

TEST(DBGridColumns, TableOfSettersAndTheirAssignedBits)
{
    // Setters that always mark, setters that mark only a value other than the
    // default, and setters that keep no bit at all.
    Fixture f;
    TColumnGx* c = f.Add(QStringLiteral("mname"));
    struct Case {
        const char* name;
        std::function<void(TColumnGx*)> write;
        TColumnGxValue bit;
        bool assigned;
    };
    const std::vector<Case> cases = {
        {"EndEllipsis to its default", [](TColumnGx* c) { c->SetEndEllipsis(false); }, cvEndEllipsis, true},
        {"AlwaysShowEditButton", [](TColumnGx* c) { c->SetAlwaysShowEditButton(false); }, cvAlwaysShowEditButton, true},
        {"ToolTips", [](TColumnGx* c) { c->SetToolTips(false); }, cvToolTips, true},
        {"WordWrap to its default", [](TColumnGx* c) { c->SetWordWrap(true); }, cvWordWrap, false},
        {"WordWrap off", [](TColumnGx* c) { c->SetWordWrap(false); }, cvWordWrap, true},
        {"TextEditing to its default", [](TColumnGx* c) { c->SetTextEditing(true); }, cvTextEditing, false},
        {"ImeMode to its default", [](TColumnGx* c) { c->SetImeMode(imDontCare); }, cvImeMode, false},
        {"LookupDisplayFields empty", [](TColumnGx* c) { c->SetLookupDisplayFields(QString()); },
         cvLookupDisplayFields, false},
        {"Width to its default", [](TColumnGx* c) { c->SetWidth(c->DefaultWidth()); }, cvWidth, false},
        {"Width -1", [](TColumnGx* c) { c->SetWidth(-1); }, cvWidth, false},
        {"Width 77", [](TColumnGx* c) { c->SetWidth(77); }, cvWidth, true},
        {"Title.ToolTips", [](TColumnGx* c) { c->Title()->SetToolTips(false); }, cvTitleToolTips, true},
    };
    for (const Case& k : cases) {
        c->RestoreDefaults();
        k.write(c);
        EXPECT_EQ(c->AssignedValues().Contains(k.bit), k.assigned) << k.name;
    }
}

TEST(DBGridColumns, DefaultColumnWritesThroughToItsField)
{
    Fixture f;
    ASSERT_EQ(f.grid.Columns()->Count(), 3);   // the grid's automatic columns
    TColumnGx* c = f.grid.Columns()->GetColumn(1);
    ASSERT_EQ(c->FieldName(), QStringLiteral("qty"));
    ASSERT_TRUE(c->IsDefaultStored());
    c->SetAlignment(taCenter);
    EXPECT_EQ(c->Field()->Alignment(), taCenter);
    EXPECT_FALSE(c->AssignedValues().Contains(cvAlignment));
    c->Title()->SetCaption(QStringLiteral("数量(吨)"));
    EXPECT_EQ(c->Field()->DisplayLabel(), QStringLiteral("数量(吨)"));
    EXPECT_EQ(c->Title()->Caption(), QStringLiteral("数量(吨)"));
    c->SetReadOnly(true);
    EXPECT_TRUE(c->Field()->ReadOnly());
    EXPECT_FALSE(c->AssignedValues().Contains(cvReadOnly));
    // A width writes the field's display width, which the column then follows.
    const int zero = ExpectedWidth(f.grid, c, 1) - ExpectedWidth(f.grid, c, 0);
    c->SetWidth(ExpectedWidth(f.grid, c, 20));
    EXPECT_EQ(c->Field()->DisplayWidth(), 20);
    EXPECT_EQ(c->Width(), ExpectedWidth(f.grid, c, 20));
    EXPECT_GT(zero, 0);
}

TEST(DBGridColumns, WidthLimits)
{
    Fixture f;
    TColumnGx* c = f.Add(QStringLiteral("mname"));
    c->SetWidth(80);
    c->SetMaxWidth(100);
    c->SetMinWidth(120);
    EXPECT_EQ(c->Width(), 120);   // the minimum raised it
    c->SetWidth(150);
    EXPECT_EQ(c->Width(), 120);   // the maximum cut it, the minimum wins
    c->SetMinWidth(0);
    c->SetWidth(150);
    EXPECT_EQ(c->Width(), 100);
    c->SetMaxWidth(60);
    EXPECT_EQ(c->Width(), 60);
}

TEST(DBGridColumns, AssignCopiesThroughAccessorsAndRestoreDefaultsForgets)
{
    Fixture f;
    TColumnGx* src = f.Add(QStringLiteral("qty"));
    src->SetColor(clRed);
    src->SetWidth(90);
    src->Title()->SetCaption(QStringLiteral("采购币种价格|原价"));
    src->KeyList() = {QStringLiteral("0"), QStringLiteral("1")};
    src->PickList() = {QStringLiteral("否"), QStringLiteral("是")};
    src->Footers()->Add()->SetValueType(fvtSum);
    src->SetButtonStyle(cbsNone);
    src->SetTextEditing(false);

    TColumnGx* dst = f.grid.Columns()->Add();
    dst->Assign(*src);
    EXPECT_EQ(dst->FieldName(), QStringLiteral("qty"));
    EXPECT_EQ(dst->Color(), clRed);
    EXPECT_EQ(dst->Width(), 90);
    EXPECT_EQ(dst->Title()->Caption(), QStringLiteral("采购币种价格|原价"));
    EXPECT_EQ(dst->KeyList(), src->KeyList());
    EXPECT_EQ(dst->PickList(), src->PickList());
    EXPECT_EQ(dst->Footers()->Count(), 1);
    EXPECT_EQ(dst->Footers()->Items(0)->ValueType(), fvtSum);
    EXPECT_EQ(dst->ButtonStyle(), cbsNone);
    // The source's unset end ellipsis arrives as an assigned value; word wrap and
    // image-list settings only when they differ from the default.
    EXPECT_FALSE(src->AssignedValues().Contains(cvEndEllipsis));
    EXPECT_TRUE(dst->AssignedValues().Contains(cvEndEllipsis));
    EXPECT_FALSE(dst->AssignedValues().Contains(cvWordWrap));
    // Sub-objects are copies, never shared.
    EXPECT_NE(dst->Footers(), src->Footers());

    dst->RestoreDefaults();
    EXPECT_TRUE(dst->AssignedValues().IsEmpty());
    EXPECT_EQ(dst->Color(), f.grid.Color());
    EXPECT_EQ(dst->Title()->Caption(), QStringLiteral("数量"));
    EXPECT_FALSE(dst->HasKeyItems());
    EXPECT_FALSE(dst->HasPickItems());
    EXPECT_EQ(dst->ButtonStyle(), cbsAuto);
    EXPECT_EQ(dst->FieldName(), QStringLiteral("qty"));
}

TEST(DBGridColumns, SortMarkingSingleAndMulti)
{
    InitDBGridGxUnits();   // the sort-index font
    Fixture f;
    TColumnGx* a = f.Add(QStringLiteral("mname"));
    TColumnGx* b = f.Add(QStringLiteral("qty"));
    TColumnGx* c = f.Add(QStringLiteral("audited"));

    // Single mode: one marked column at a time.
    a->Title()->SetSortMarker(smDownGx);
    b->Title()->SetSortMarker(smUpGx);
    EXPECT_EQ(a->Title()->SortMarker(), smNoneGx);
    EXPECT_EQ(a->Title()->SortIndex(), 0);
    EXPECT_EQ(b->Title()->SortIndex(), 1);
    ASSERT_EQ(f.grid.SortMarkedColumns()->Count(), 1);
    EXPECT_EQ(f.grid.SortMarkedColumns()->GetColumn(0), b);

    // The click cycle: down, up, down; with KeepMulti down, up, none.
    std::vector<TSortMarkerGx> seen;
    c->Title()->SetSortMarker(smNoneGx);
    for (int i = 0; i < 3; ++i) {
        c->Title()->SetNextSortMarkerValue(false);
        seen.push_back(c->Title()->SortMarker());
    }
    EXPECT_EQ(seen, (std::vector<TSortMarkerGx>{smDownGx, smUpGx, smDownGx}));
    EXPECT_EQ(b->Title()->SortMarker(), smNoneGx);
    c->Title()->SetSortMarker(smNoneGx);
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        c->Title()->SetNextSortMarkerValue(true);
        seen.push_back(c->Title()->SortMarker());
    }
    EXPECT_EQ(seen, (std::vector<TSortMarkerGx>{smDownGx, smUpGx, smNoneGx}));

    // Multi mode: indexes in marking order; removing one closes the gap.
    f.grid.GridOptionsGx.Include(dghMultiSortMarking);
    a->Title()->SetSortMarker(smDownGx);
    b->Title()->SetSortMarker(smDownGx);
    c->Title()->SetSortMarker(smUpGx);
    EXPECT_EQ(a->Title()->SortIndex(), 1);
    EXPECT_EQ(b->Title()->SortIndex(), 2);
    EXPECT_EQ(c->Title()->SortIndex(), 3);
    b->Title()->SetSortMarker(smNoneGx);
    EXPECT_EQ(a->Title()->SortIndex(), 1);
    EXPECT_EQ(c->Title()->SortIndex(), 2);
    EXPECT_EQ(f.grid.SortMarkedColumns()->Count(), 2);
    // Exchanging places through SortIndex; an index nobody has changes nothing.
    c->Title()->SetSortIndex(1);
    EXPECT_EQ(c->Title()->SortIndex(), 1);
    EXPECT_EQ(a->Title()->SortIndex(), 2);
    EXPECT_EQ(f.grid.SortMarkedColumns()->GetColumn(0), c);
    c->Title()->SetSortIndex(5);
    EXPECT_EQ(c->Title()->SortIndex(), 1);
    // The sort sign takes 16 pixels plus the index text when several columns are marked.
    EXPECT_GT(c->Title()->GetSortMarkingWidth(), 16);
    EXPECT_EQ(b->Title()->GetSortMarkingWidth(), 0);
}

TEST(DBGridColumns, FootersFollowGridDefaultsAndBindSums)
{
    Fixture f;
    TColumnGx* c = f.Add(QStringLiteral("qty"));
    TColumnFooterGx* footer = c->Footers()->Add();
    EXPECT_EQ(footer->Alignment(), taRightJustify);
    EXPECT_EQ(footer->Color(), clWindow);
    EXPECT_TRUE(*footer->Font() == *f.grid.FooterFont());
    footer->Font()->SetColor(clRed);
    EXPECT_TRUE(footer->AssignedValues().Contains(cvFooterFont));
    EXPECT_EQ(c->UsedFooter(0), footer);
    EXPECT_EQ(c->UsedFooter(1), c->Footer());

    footer->SetValueType(fvtSum);
    ASSERT_NE(footer->DBSum(), nullptr);
    EXPECT_EQ(footer->DBSum()->FieldName(), QStringLiteral("qty"));
    EXPECT_EQ(footer->DBSum()->GroupOperation(), goSum);
    EXPECT_EQ(f.grid.SumList()->SumCollection()->Count(), 1);
    footer->SetValueType(fvtStaticText);
    footer->SetValue(QStringLiteral("合计"));
    EXPECT_EQ(footer->DBSum(), nullptr);
    EXPECT_TRUE(footer->SumValue().IsUnassigned());
    EXPECT_EQ(f.grid.SumList()->SumCollection()->Count(), 0);
}

TEST(DBGridColumns, DefaultValuesCopyAndTheSumProducer)
{
    StubGrid grid;
    TColumnDefValuesGx* target = grid.ColumnDefValues();
    target->Title()->SetAlignment(taRightJustify);
    TColumnDefValuesGx source(nullptr);
    source.SetEndEllipsis(true);
    source.SetLayout(tlBottom);           // not copied
    source.Title()->SetTitleButton(true);
    target->Assign(source);
    EXPECT_TRUE(target->EndEllipsis());
    EXPECT_EQ(target->Layout(), tlTop);
    EXPECT_TRUE(target->Title()->TitleButton());
    // the source never set its title alignment: the target keeps its own
    EXPECT_EQ(target->Title()->Alignment(), taRightJustify);
    // unset title defaults follow the grid
    TColumnDefValuesGx fresh(&grid);
    EXPECT_EQ(fresh.Title()->Alignment(), taLeftJustify);
    grid.MultiTitle = true;
    EXPECT_EQ(fresh.Title()->Alignment(), taCenter);
    EXPECT_EQ(fresh.Title()->Color(), clBtnFace);

    // The grid's aggregate producer starts inactive.
    EXPECT_FALSE(static_cast<TDBGridGxSumList*>(grid.SumList())->Active());
}
