// How long the footer aggregates live: a grid that outlives the dataset its sum
// list watches, and aggregates that go with their columns.
#include "dbgrid_paint_host.h"
#include "grid/support/DBSumLst.h"
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

// Columns of their own (a closed dataset gives none): id, mname, qty, price.
void AddSumFooters(TDBGridGx* grid)
{
    grid->Columns()->Clear();
    for (const char* name : {"id", "mname", "qty", "price"})
        grid->Columns()->Add()->SetFieldName(QString::fromUtf8(name));
    grid->SetFooterRowCount(1);
    grid->Columns()->GetColumn(2)->Footers()->Add()->SetValueType(fvtSum);
    grid->Columns()->GetColumn(3)->Footers()->Add()->SetValueType(fvtAvg);
    grid->Columns()->GetColumn(1)->Footer()->SetValueType(fvtCount);
}

} // namespace

TEST(DBGridSumLife, GridOutlivesItsDataSet)
{
    // Bound while open, and bound while closed (the grid's link never sees it go).
    for (const bool open : {true, false}) {
        SCOPED_TRACE(open ? "open" : "closed");
        PaintHost host;
        auto ds = NumberedLines(3);
        if (!open)
            ds->Close();
        host.Bind(ds.get());
        AddSumFooters(host.grid);
        host.grid->SumList()->SetActive(true);
        if (open)
            EXPECT_EQ(host.grid->GetFooterValue(0, host.grid->Columns()->GetColumn(2)), QStringLiteral("6"));
        ASSERT_TRUE(host.grid->SumList()->EventsOverloaded());
        ds.reset();
        EXPECT_EQ(host.grid->SumList()->DataSet(), nullptr);
        EXPECT_FALSE(host.grid->SumList()->EventsOverloaded());
        // Switching the list off and on again after the dataset went touches nothing.
        host.grid->SumList()->SetActive(false);
        host.grid->SumList()->SetActive(true);
    }
}

TEST(DBGridSumLife, AggregatesGoWithTheirColumns)
{
    PaintHost host;
    auto ds = NumberedLines(3);
    host.Bind(ds.get());
    TDBGridGx* grid = host.grid;
    AddSumFooters(grid);
    grid->SumList()->SetActive(true);
    TDBSumCollection* sums = grid->SumList()->SumCollection();
    ASSERT_EQ(sums->Count(), 3);
    grid->Columns()->Delete(3);   // the average
    EXPECT_EQ(sums->Count(), 2);
    EXPECT_EQ(grid->GetFooterValue(0, grid->Columns()->GetColumn(2)), QStringLiteral("6"));
    grid->Columns()->Clear();
    EXPECT_EQ(sums->Count(), 0);
}
