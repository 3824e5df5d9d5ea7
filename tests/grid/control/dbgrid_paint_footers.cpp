// Footers as a table over value types and field types, the formats, the fixed
// texts, and how footer cells are painted: font colour, alignment, rows.
#include "dbgrid_paint_host.h"
#include "grid/control/DBGridGxPaint.h"
#include "platform/db/Field.h"
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

struct FooterCase {
    const char* name;
    const char* field;         // the column's field
    TFooterValueType type;
    const char* footerField;   // the footer's own field name
    const char* format;        // the footer's display format
    const char* expected;
};

} // namespace

TEST(DBGridFooters, ValuesByTypeAndField)
{
    PaintHost host;
    // Two integers whose sum leaves 32 bits, exact decimals, a float.
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add(QStringLiteral("n"), ftInteger);
    ds->FieldDefs().Add(QStringLiteral("mname"), ftWideString, 50);
    ds->FieldDefs().Add(QStringLiteral("qty"), ftBCD, 4);
    ds->FieldDefs().Add(QStringLiteral("price"), ftFloat);
    ds->FieldDefs().Add(QStringLiteral("amount"), ftBCD, 4);
    ds->CreateDataSet();
    ds->AppendRecord({Variant(2000000000), Variant(QStringLiteral("钢筋")), Variant(0.1), Variant(12.5), Variant(1234.5)});
    ds->AppendRecord({Variant(2000000000), Variant(QStringLiteral("水泥")), Variant(0.2), Variant(0.0), Variant(0.0)});
    ds->AppendRecord({Variant(5), Variant(QStringLiteral("砂石")), Variant(-1.2345), Variant(0.0), Variant(0.0001)});
    ds->First();
    static_cast<TNumericField*>(ds->FieldByName(QStringLiteral("amount")))->SetDisplayFormat(QStringLiteral("#,##0.00"));

    const FooterCase cases[] = {
        {"integer sum past 32 bits", "n", fvtSum, "", "", "4000000005"},
        {"integer sum, footer format", "n", fvtSum, "", "#,##0", "4,000,000,005"},
        {"exact decimal sum keeps its decimals", "qty", fvtSum, "", "", "-0.9345"},
        {"exact decimal sum, footer format", "qty", fvtSum, "", "0.000", "-0.935"},
        {"exact decimal, field format", "amount", fvtSum, "", "", "1,234.50"},
        {"float sum in general format", "price", fvtSum, "", "", "12.5"},
        {"average", "qty", fvtAvg, "", "", "-0.3115"},
        {"count", "mname", fvtCount, "", "", "3"},
        {"count, formatted", "mname", fvtCount, "", "0 条", "3 条"},
        {"field value of the current record", "mname", fvtFieldValue, "mname", "", "钢筋"},
        {"field value, formatted", "qty", fvtFieldValue, "price", "0.00", "12.50"},
        {"field value of an unknown field", "qty", fvtFieldValue, "nosuch", "", ""},
        {"field value without a field name", "qty", fvtFieldValue, "", "", ""},
        {"nothing", "qty", fvtNon, "", "", ""},
    };
    host.Bind(ds.get());
    TDBGridGx* grid = host.grid;
    grid->Columns()->Clear();
    for (const FooterCase& c : cases) {
        TColumnGx* col = grid->Columns()->Add();
        col->SetFieldName(QString::fromUtf8(c.field));
        TColumnFooterGx* f = col->Footers()->Add();
        f->SetValueType(c.type);
        f->SetFieldName(QString::fromUtf8(c.footerField));
        f->SetDisplayFormat(QString::fromUtf8(c.format));
    }
    grid->SetFooterRowCount(1);
    grid->SumList()->SetActive(true);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(grid->GetFooterValue(0, grid->Columns()->GetColumn(i)), QString::fromUtf8(cases[i].expected));
    }
    // Painting the unknown field's footer does not fail.
    host.Record();
    for (int i = 0; i < int(std::size(cases)); ++i)
        host.PaintCell(grid->IndicatorOffset() + i, grid->FullRowCount() - 1);
    EXPECT_TRUE(host.errors.isEmpty());

    // A sum over a field the dataset lacks shows "0".
    TColumnGx* lacking = grid->Columns()->Add();
    grid->SumList()->SetActive(false);
    TColumnFooterGx* lf = lacking->Footers()->Add();
    lf->SetValueType(fvtSum);
    lf->SetFieldName(QStringLiteral("nosuch"));
    EXPECT_EQ(grid->GetFooterValue(0, lacking), QStringLiteral("0"));
    lf->SetFieldName(QStringLiteral("mname"));   // a text field
    EXPECT_EQ(grid->GetFooterValue(0, lacking), QStringLiteral("0"));
    lf->SetValueType(fvtNon);   // the producer could not sum a text field
    grid->SumList()->SetActive(true);

    // The static text keeps its blanks; the sums follow an edit at once.
    TColumnGx* text = grid->Columns()->Add();
    text->Footers()->Add()->SetValueType(fvtStaticText);
    text->Footers()->Items(0)->SetValue(QStringLiteral("合    计"));
    EXPECT_EQ(grid->GetFooterValue(0, text), QStringLiteral("合    计"));
    ds->Edit();
    ds->FieldByName(QStringLiteral("qty"))->SetAsFloat(1.1);
    ds->Post();
    EXPECT_EQ(grid->GetFooterValue(0, grid->Columns()->GetColumn(2)), QStringLiteral("0.0655"));
}

TEST(DBGridFooters, FormattingRoutine)
{
    TIntegerField n;
    EXPECT_EQ(FormatFooterSumGx(&n, QString(), Currency::FromInt(-3000000000LL)), QStringLiteral("-3000000000"));
    EXPECT_EQ(FormatFooterSumGx(&n, QString(), Currency::FromRaw(25000)), QStringLiteral("2"));   // ties to even
    EXPECT_EQ(FormatFooterSumGx(&n, QString(), Currency::FromRaw(35000)), QStringLiteral("4"));
    TBCDField d;
    EXPECT_EQ(FormatFooterSumGx(&d, QString(), Currency::FromRaw(123456789012345LL)), QStringLiteral("12345678901.2345"));
    EXPECT_EQ(FormatFooterSumGx(&d, QStringLiteral("0.000"), Currency::FromRaw(1235)), QStringLiteral("0.124"));
    TFloatField f;
    f.SetCurrency(true);
    EXPECT_EQ(FormatFooterSumGx(&f, QString(), Currency::FromRaw(15000)), QStringLiteral("¥1.50"));
    TDateTimeField dt;
    EXPECT_EQ(FormatFooterSumGx(&dt, QString(), Currency::FromInt(5)), QStringLiteral("0"));
}

TEST(DBGridFooters, PaintedCells)
{
    PaintHost host;
    auto ds = NumberedLines(4);
    host.Bind(ds.get());
    TDBGridGx* grid = host.grid;
    grid->SetFooterColor(clSilver);
    grid->SetFooterRowCount(2);
    TColumnGx* name = grid->Columns()->GetColumn(1);
    TColumnGx* qty = grid->Columns()->GetColumn(2);
    TColumnFooterGx* caption = name->Footers()->Add();
    caption->SetValueType(fvtStaticText);
    caption->SetValue(QStringLiteral("合计"));
    caption->Font()->SetColor(clRed);
    caption->SetAlignment(taCenter);
    TColumnFooterGx* sum = qty->Footers()->Add();
    sum->SetValueType(fvtSum);
    sum->Font()->SetColor(clRed);
    qty->Footer()->SetValueType(fvtCount);   // the second footer row uses the column's own footer
    grid->SumList()->SetActive(true);
    QApplication::processEvents();

    int drawEvents = 0;
    grid->OnDrawFooterCell = [&](QObject*, int, int, TColumnGx*, const TRect&, TGridDrawState) { ++drawEvents; };
    const int first = grid->FullRowCount() - 2;
    host.Record();
    host.PaintCell(grid->IndicatorOffset() + 1, first);
    host.PaintCell(grid->IndicatorOffset() + 2, first);
    host.PaintCell(grid->IndicatorOffset() + 2, first + 1);
    EXPECT_EQ(drawEvents, 3);
    const TextRun* heji = host.device.Find(QStringLiteral("合计"));
    ASSERT_NE(heji, nullptr);
    EXPECT_EQ(heji->Color, QColor(Qt::red));
    const TRect cell = grid->CellRect(grid->IndicatorOffset() + 1, first);
    EXPECT_NEAR(heji->X + heji->Width / 2, (cell.Left + cell.Right) / 2.0, 2.0);
    const TextRun* total = host.device.Find(QStringLiteral("10"));
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->Color, QColor(Qt::red));
    const TRect qcell = grid->CellRect(grid->IndicatorOffset() + 2, first);
    EXPECT_NEAR(total->Right(), qcell.Right - 3, 1.5);   // decimals right-aligned, like their field
    EXPECT_NE(host.device.Find(QStringLiteral("4")), nullptr);
    bool silver = false;
    for (const FillRun& f : host.device.Fills)
        silver = silver || f.Color == QColor(192, 192, 192);
    EXPECT_TRUE(silver);

    // A parameters handler changes text and alignment; the drawing event still fires.
    grid->OnGetFooterParams = [](QObject*, int, int, TColumnGx*, TFont*, TColor&, TAlignment& a, TGridDrawState,
                                 QString& t) {
        t = QStringLiteral("共计");
        a = taLeftJustify;
    };
    host.Record();
    drawEvents = 0;
    host.PaintCell(grid->IndicatorOffset() + 1, first);
    const TextRun* changed = host.device.Find(QStringLiteral("共计"));
    ASSERT_NE(changed, nullptr);
    EXPECT_LT(changed->X, cell.Left + 5);
    EXPECT_EQ(drawEvents, 1);
}
