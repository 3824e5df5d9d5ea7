// A column's drop-down box settings, the storage go-betweens of columns, the
// width of a cell's edit buttons and the row height a record needs.
#include "dbgrid_stubgrid.h"
#include "grid/control/DBGridGxInterceptors.h"
#include "grid/support/dataset_fixture.h"
#include "platform/gui/ControlBase.h"
#include <gtest/gtest.h>

using namespace gxtest;

TEST(DBGridDropDownBox, DefaultsAndCopy)
{
    StubGrid grid;
    TColumnGx* a = grid.Columns()->Add();
    TColumnGx* b = grid.Columns()->Add();
    TColumnDropDownBoxGx* box = a->DropDownBox();
    EXPECT_TRUE(box->AutoFitColWidths());
    EXPECT_FALSE(box->UseMultiTitle());
    EXPECT_EQ(box->Options(), TDBLookupGridGxOptions{dlgColLinesGx});
    EXPECT_FALSE(box->SortLocal());
    EXPECT_EQ(box->Owner(), a);

    TDataSource units;
    box->SetListSource(&units);
    box->SetRows(12);
    box->SetSortLocal(true);
    box->SetOptions({dlgRowLinesGx});
    box->SetUseMultiTitle(true);
    b->DropDownBox()->Assign(*box);
    EXPECT_EQ(b->DropDownBox()->ListSource(), &units);
    EXPECT_EQ(b->DropDownBox()->Rows(), 12);
    EXPECT_TRUE(b->DropDownBox()->UseMultiTitle());
    EXPECT_EQ(b->DropDownBox()->Options(), TDBLookupGridGxOptions{dlgRowLinesGx});
    EXPECT_FALSE(b->DropDownBox()->SortLocal());   // not copied
    EXPECT_NE(b->DropDownBox()->SpecRow(), box->SpecRow());
}

TEST(DBGridInterceptors, ColumnOrderTextAndWidth)
{
    auto ds = NumberedDataSet(1);
    StubGrid grid;
    grid.SetDataSet(ds.get());
    TDBGridColumnsGx* columns = grid.Columns();
    columns->SetState(csCustomized);
    TColumnsGxPropertyInterceptor order(columns);
    EXPECT_EQ(order.GetColumnsIndex(), QStringLiteral("\"id\",\"name\",\"qty\""));
    order.SetColumnsIndex(order.GetColumnsIndex());
    EXPECT_EQ(columns->GetColumn(0)->FieldName(), QStringLiteral("id"));
    order.SetColumnsIndex(QStringLiteral("\"qty\",\"name\",\"id\""));
    EXPECT_EQ(order.GetColumnsIndex(), QStringLiteral("\"qty\",\"name\",\"id\""));
    order.SetColumnsIndex(QStringLiteral("nothing, \"id\""));   // unknown names are skipped
    EXPECT_EQ(columns->GetColumn(1)->FieldName(), QStringLiteral("id"));
    // A name two columns share moves only the first.
    columns->Add()->SetFieldName(QStringLiteral("qty"));
    order.SetColumnsIndex(QStringLiteral("\"qty\""));
    EXPECT_EQ(columns->GetColumn(0)->FieldName(), QStringLiteral("qty"));
    EXPECT_EQ(columns->GetColumn(3)->FieldName(), QStringLiteral("qty"));
    EXPECT_EQ(SplitCommaTextGx(QStringLiteral("a b,\"c d\",")), (QStringList{"a", "b", "c d", ""}));

    TColumnGx* c = columns->GetColumn(1);
    TColumnGxPropertyInterceptor width(c);
    width.SetWidth(90);
    EXPECT_EQ(c->Width(), 90);
    grid.AutoFit = true;
    width.SetWidth(120);
    EXPECT_EQ(c->Width(), 90);
    EXPECT_EQ(c->InitWidth(), 120);
}

TEST(DBGridColumnMetrics, EditButtonsAndRowHeight)
{
    auto ds = MakeDataSet({{Variant(1), Variant(QStringLiteral("钢筋混凝土预制构件与配套五金件")), Variant(2.0)}});
    StubGrid grid;
    grid.SetDataSet(ds.get());
    TDBGridColumnsGx* columns = grid.Columns();
    columns->SetState(csCustomized);
    TColumnGx* name = columns->GetColumn(1);
    EXPECT_FALSE(name->HasDefaultEditButton());
    EXPECT_EQ(name->EditButtonsWidth(), 0);
    name->PickList() = {QStringLiteral("甲"), QStringLiteral("乙")};
    const int scroll = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(name->EditButtonsWidth(), scroll);
    name->EditButtons()->Add()->SetWidth(10);
    name->EditButtons()->Add();
    EXPECT_EQ(name->EditButtonsWidth(), scroll + 10 + scroll);
    name->SetButtonStyle(cbsNone);
    EXPECT_EQ(name->EditButtonsWidth(), 10 + scroll);

    // Rows fit their text only with the option; a narrow column wraps the name.
    name->SetWidth(40);
    EXPECT_EQ(name->CalcRowHeight(), grid.StdDefaultRowHeight());
    grid.GridOptionsGx.Include(dghAutoFitRowHeight);
    EXPECT_GT(name->CalcRowHeight(), 2 * grid.StdDefaultRowHeight());
    name->SetWordWrap(false);
    EXPECT_LE(name->CalcRowHeight(), grid.StdDefaultRowHeight() + 4);
    EXPECT_FALSE(name->CurLineWordWrap(grid.StdDefaultRowHeight()));
    EXPECT_TRUE(name->CurLineWordWrap(3 * grid.StdDefaultRowHeight()));

    name->OptimizeWidth();
    EXPECT_TRUE(grid.Log.contains(QStringLiteral("Optimize(name)")));
}
