// Data cells and the indicator: the order of the cell events, painting taken over
// by a handler, rows past the data, a painter that fails, odd and even rows,
// hidden duplicates, the record glyphs and the selected-rows highlight.
#include "dbgrid_paint_host.h"
#include "grid/control/DBGridGxStyle.h"
#include "platform/db/Field.h"
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

struct CellsFixture : ::testing::Test {
    PaintHost host;
    std::unique_ptr<TClientDataSet> ds = NumberedLines(3);
    void SetUp() override
    {
        host.grid->SetOptions(host.grid->Options() + TDBGridOptions{dgAlwaysShowSelection});
        host.Bind(ds.get());
    }
    TDBGridGx* grid() { return host.grid; }
    int DataRow(int recordIndex) { return grid()->TopDataOffset() + recordIndex; }
};

} // namespace

TEST_F(CellsFixture, EventOrderAndTakingOver)
{
    QStringList log;
    bool painting = false;
    TColumnGx* name = grid()->Columns()->GetColumn(1);
    grid()->OnGetCellParams = [&](QObject*, TColumnGx* c, TFont* f, TColor& bg, TGridDrawState) {
        if (c == name && painting) {
            log << QStringLiteral("grid params");
            f->SetColor(clRed);
            bg = clYellow;
        }
    };
    // (the column's event in edit mode belongs to the editing rules: CanModify asks it)
    name->OnGetCellParams = [&](TColumnGx*, bool editMode, TColCellParamsGx& p) {
        if (!painting || editMode)
            return;
        log << QStringLiteral("column params ") + p.Text;
        EXPECT_EQ(p.Background, clYellow);   // the grid's handler ran first
    };
    bool processed = false;
    grid()->OnAdvDrawDataCell = [&](TCustomDBGridGx*, TGridCoord, TGridCoord area, TColumnGx* c, const TRect&,
                                    TColCellParamsGx&, bool& done) {
        if (c == name && painting)
            log << QStringLiteral("adv draw %1").arg(area.Y);
        done = processed;
    };
    int columnAdv = 0, drawColumnCell = 0;
    name->OnAdvDrawDataCell = [&](TColumnGx*, TGridCoord, TGridCoord, const TRect&, TColCellParamsGx&, bool&) {
        ++columnAdv;
    };
    grid()->OnDrawColumnCell = [&](QObject*, const TRect&, int, TColumnGx* c, TGridDrawState) {
        if (c == name)
            ++drawColumnCell;
    };

    host.Record();
    const int col = grid()->IndicatorOffset() + 1;
    painting = true;
    host.PaintCell(col, DataRow(1));
    painting = false;
    EXPECT_EQ(log, (QStringList{QStringLiteral("grid params"), QStringLiteral("column params 材料2"),
                                QStringLiteral("adv draw 1")}));
    EXPECT_EQ(columnAdv, 1);
    EXPECT_EQ(drawColumnCell, 1);
    const TextRun* run = host.device.Find(QStringLiteral("材料2"));
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->Color, QColor(Qt::red));

    // Processed: no column handler, no default content, no drawing events, but the
    // focus frame of the current cell stays.
    processed = true;
    columnAdv = drawColumnCell = 0;
    host.Record();
    grid()->SetCol(col);
    ds->First();
    QApplication::processEvents();
    ASSERT_EQ(grid()->Row(), DataRow(0));
    TGridDrawState focused{gdFocused, gdCurrent};
    host.PaintCell(col, DataRow(0), focused);
    EXPECT_EQ(columnAdv, 0);
    EXPECT_EQ(drawColumnCell, 0);
    EXPECT_EQ(host.device.Find(QStringLiteral("材料1")), nullptr);
    EXPECT_GT(host.device.Points, 10);
}

TEST_F(CellsFixture, RowsPastTheDataAndFailingPainters)
{
    int events = 0;
    TColCellParamsGx params;
    grid()->OnGetCellParams = [&](QObject*, TColumnGx*, TFont*, TColor&, TGridDrawState) { ++events; };
    host.Record();
    // Rows past the records (a grid taller than its data) are only filled.
    for (int dataRow = 3; dataRow < 6; ++dataRow)
        grid()->DrawDataCellArea({grid()->IndicatorOffset(), DataRow(dataRow)}, {0, dataRow},
                                 grid()->Columns()->GetColumn(0), TRect(20, 20 * dataRow, 80, 20 * dataRow + 18),
                                 params);
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(host.device.Texts.empty());
    ASSERT_FALSE(host.device.Fills.empty());
    EXPECT_EQ(host.device.Fills.back().Color, QColor(Qt::white));

    // A painter that raises leaves the record where it was.
    ds->Next();
    const int active = grid()->DataLink()->ActiveRecord();
    const int recNo = ds->RecNo();
    grid()->OnAdvDrawDataCell = [](TCustomDBGridGx*, TGridCoord, TGridCoord, TColumnGx*, const TRect&,
                                   TColCellParamsGx&, bool&) { throw Exception(QStringLiteral("painter failed")); };
    EXPECT_THROW(host.PaintCell(grid()->IndicatorOffset(), DataRow(2)), Exception);
    EXPECT_EQ(grid()->DataLink()->ActiveRecord(), active);
    EXPECT_EQ(ds->RecNo(), recNo);
    EXPECT_EQ(ds->FieldByName(QStringLiteral("id"))->AsInteger(), recNo);
}

TEST_F(CellsFixture, OddEvenRowsAndHiddenDuplicates)
{
    grid()->SetOddRowColor(clYellow);
    grid()->SetEvenRowColor(clWindow);
    TColumnGx* own = grid()->Columns()->GetColumn(2);
    own->SetColor(clAqua);
    host.Record();
    auto background = [&](int col, int record) {
        host.device.Clear();
        host.PaintCell(col, DataRow(record));
        return host.device.Fills.empty() ? QColor() : host.device.Fills.front().Color;
    };
    const int first = grid()->IndicatorOffset();
    EXPECT_EQ(background(first, 1), QColor(Qt::white));    // record 2: even
    EXPECT_EQ(background(first, 2), QColor(Qt::yellow));   // record 3: odd
    EXPECT_EQ(background(first + 2, 2), QColor(Qt::cyan)); // a column of its own colour is not striped
}

TEST(DBGridCells, HiddenDuplicates)
{
    PaintHost host;
    // Three equal values show once, in the first row.
    auto same = LineDataSet({{1, QStringLiteral("钢筋"), 1.0, 1.0},
                             {2, QStringLiteral("钢筋"), 2.0, 1.0},
                             {3, QStringLiteral("钢筋"), 3.0, 1.0},
                             {4, QStringLiteral("水泥"), 4.0, 1.0}});
    host.Bind(same.get());
    TDBGridGx* grid = host.grid;
    grid->Columns()->GetColumn(1)->SetHideDuplicates(true);
    QApplication::processEvents();
    const int first = grid->IndicatorOffset();
    host.Record();
    for (int r = 0; r < 4; ++r)
        host.PaintCell(first + 1, grid->TopDataOffset() + r);
    QStringList shown;
    for (const TextRun& t : host.device.Texts)
        shown << t.Text;
    EXPECT_EQ(shown, (QStringList{QStringLiteral("钢筋"), QStringLiteral("水泥")}));
}

TEST_F(CellsFixture, IndicatorGlyphsAndSelectedRows)
{
    struct Case {
        const char* name;
        std::function<void()> setUp;
        int glyph;
    };
    const Case cases[] = {
        {"browsing", [] {}, 0},
        {"editing", [&] { ds->Edit(); }, 2},
        {"inserting", [&] { ds->Insert(); }, 3},
        {"selected", [&] {
             grid()->SetOptions(grid()->Options() + TDBGridOptions{dgMultiSelect});
             grid()->SelectedRows()->SetCurrentRowSelected(true);
         }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ds->Cancel();
        ds->First();
        c.setUp();
        QApplication::processEvents();
        host.grid->Glyphs.clear();
        host.Record();
        for (int r = 0; r < ds->RecordCount(); ++r)
            host.PaintCell(0, DataRow(r));
        ASSERT_EQ(host.grid->Glyphs.size(), 1u);   // only the current record
        EXPECT_EQ(host.grid->Glyphs[0], c.glyph);
    }
    // The selected row's indicator is painted in the dark highlight of fixed cells.
    host.Record();
    host.PaintCell(0, DataRow(0));
    bool dark = false;
    for (const FillRun& f : host.device.Fills)
        dark = dark || f.Color == QColor(64, 64, 64);
    EXPECT_TRUE(dark);
    ds->Cancel();
}

TEST_F(CellsFixture, RecordNumbersAndCountInTheIndicator)
{
    auto many = NumberedLines(25);
    host.Bind(many.get());
    grid()->SetOptionsGx(grid()->OptionsGx() + TDBGridGxOptions{dghShowRecNo});
    grid()->SetFooterRowCount(1);
    many->SetRecNo(4);
    QApplication::processEvents();
    host.Record();
    host.PaintCell(0, grid()->FullRowCount() - 1);
    ASSERT_NE(host.device.Find(QStringLiteral("25")), nullptr);
    host.device.Clear();
    for (int r = 0; r < 3; ++r)
        host.PaintCell(0, grid()->TopRow() + r);
    QStringList numbers;
    for (const TextRun& t : host.device.Texts)
        numbers << t.Text;
    EXPECT_EQ(numbers.size(), 3);
    // While a record is inserted its row shows the insert glyph and no number.
    many->Insert();
    QApplication::processEvents();
    host.Record();
    host.grid->Glyphs.clear();
    host.PaintCell(0, grid()->Row());
    EXPECT_TRUE(host.device.Texts.empty());
    ASSERT_EQ(host.grid->Glyphs.size(), 1u);
    EXPECT_EQ(host.grid->Glyphs[0], 3);
    many->Cancel();
}

TEST_F(CellsFixture, EditButtonsAndRequiredMark)
{
    // Edit buttons shown in every cell of a column: blended over cells away from
    // the current one (alpha 51), plain in the current cell.
    TColumnGx* name = grid()->Columns()->GetColumn(1);
    QStringList items{QStringLiteral("钢筋"), QStringLiteral("水泥")};
    name->SetPickList(&items);
    name->SetAlwaysShowEditButton(true);
    const int col = grid()->IndicatorOffset() + 1;
    grid()->SetCol(col);
    ds->First();
    QApplication::processEvents();
    host.Record();
    host.PaintCell(col, DataRow(1));
    ASSERT_EQ(host.device.ImageOpacity.size(), 1u);
    EXPECT_NEAR(host.device.ImageOpacity[0], 51 / 255.0, 0.002);
    host.Record();
    host.PaintCell(col, DataRow(0), TGridDrawState{gdFocused, gdCurrent});
    for (double o : host.device.ImageOpacity)
        EXPECT_EQ(o, 1.0);
    name->SetAlwaysShowEditButton(false);

    // A required field left empty while a record is inserted: the dotted mark.
    ds->FieldByName(QStringLiteral("mname"))->SetRequired(true);
    name->SetHighlightRequired(true);
    ds->Insert();
    QApplication::processEvents();
    host.Record();
    host.PaintCell(col, grid()->Row());
    const int marked = host.device.Points;
    ds->FieldByName(QStringLiteral("mname"))->SetAsString(QStringLiteral("砂石"));
    host.Record();
    host.PaintCell(col, grid()->Row());
    EXPECT_GT(marked, host.device.Points + 10);
    // The column's event may withhold the mark.
    ds->FieldByName(QStringLiteral("mname"))->Clear();
    name->OnCheckDrawRequiredState = [](TColumnGx*, bool& draw) { draw = false; };
    host.Record();
    host.PaintCell(col, grid()->Row());
    EXPECT_LT(host.device.Points, marked - 10);
    ds->Cancel();
}
