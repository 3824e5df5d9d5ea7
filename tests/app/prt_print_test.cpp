// Printing bills through a template: pages, page sums, page numbers, the
// placeholder map, the three print modes, the amount in capitals, failures.
#include "prt_support.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace prttest;

namespace {

// A stock-out bill template: a head with the unit, a data line of 5 rows per
// page, page sums of quantity and amount, the amount in capitals, the page
// numbers and a fixed foot.
class BillPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        rc.SetMargin(25, 10, 25, 10);
        rc.resize(884, 490);
        rc.Setbilltype(1);
        rc.NewTable(4, 5);
        set(0, 0, QStringLiteral("领用单位："));
        set(0, 1, QStringLiteral("#领用单位"), vkField);
        set(0, 2, QStringLiteral("共XX页 第XX页"), vkPageNumber);
        set(0, 3, QStringLiteral("#备注"), vkField);
        set(1, 0, QStringLiteral("#材料名称"), vkField);
        set(1, 1, QStringLiteral("#数量"), vkField);
        set(1, 2, QStringLiteral(" #复价 "), vkField);   // no field: the text is not a placeholder
        set(1, 3, QStringLiteral("#采购单价"), vkField);
        set(2, 0, QStringLiteral("合计"));
        set(2, 1, QStringLiteral("#数量"), vkPageSum);
        set(2, 2, QStringLiteral("#复价"), vkPageSum);
        set(2, 3, QStringLiteral("#数量："), vkPageSum);  // names no field: the empty sum
        set(3, 0, QStringLiteral("#复价"), vkPageSumCapitals);
        set(4, 0, QStringLiteral("  制表人：  "));
        set(4, 1, QStringLiteral("XX年X月X日"), vkPrintDate);
        rc.RemoveAllSelectedCell();
        rc.AddSelectedCell(rc.Line(1)->Cell(0));
        rc.Setreportlinetype(1);
        rc.SetprtlineS(5);
        rc.RemoveAllSelectedCell();
        reload();
    }
    void set(int l, int c, const QString& text, int kind = vkFixed)
    {
        rc.Line(l)->Cell(c)->SetCellText(text);
        rc.Line(l)->Cell(c)->Setvarraytype(kind);
    }
    // As the bill forms load it: for printing.
    void reload() { ASSERT_EQ(rc.LoadFromBytes(rc.SaveToBytes(), true), QString()); }
    void bill(int lines)
    {
        head = StockOutHead();
        body = StockOutLines(NumberedLines(lines));
        rc.Setheaddataset(head.get());
        rc.Setbodydataset(body.get());
    }
    std::unique_ptr<RecordingTarget> print(int mode)
    {
        auto target = std::make_unique<RecordingTarget>();
        rc.PrintTo(*target, mode);
        return target;
    }

    TDialogScriptScope script;
    TReportControl rc;
    std::unique_ptr<TClientDataSet> head, body;
};

TEST_F(BillPrint, TwelveLinesAtFiveAPageGiveThreePagesWithTheirOwnSums)
{
    bill(12);
    const int changes = body->ChangeCount();
    ASSERT_EQ(rc.LineCount(), 9);
    auto t = print(TReportControl::pmFull);
    EXPECT_EQ(t->title, QStringLiteral("票据"));
    EXPECT_TRUE(t->ended);
    ASSERT_EQ(t->Pages().size(), 3u);
    const QString date = DateTimeToStr(Now()).left(10);
    for (int p = 0; p < 3; ++p) {
        const QStringList& texts = t->Pages()[size_t(p)];
        EXPECT_TRUE(texts.contains(QStringLiteral("第%1页共3页").arg(p + 1))) << p;
        EXPECT_TRUE(texts.contains(QStringLiteral("一工区"))) << p;
        EXPECT_TRUE(texts.contains(QStringLiteral("领用单位："))) << p;
        EXPECT_TRUE(texts.contains(QStringLiteral("制表人："))) << "trimmed";
        EXPECT_FALSE(texts.contains(QStringLiteral("#领用单位")));
        EXPECT_FALSE(texts.contains(QStringLiteral("#复价")));
        EXPECT_TRUE(texts.filter(date).size() == 1) << "the print date";
        // Page sums of the lines on the page only; a sum naming no field stays 0.
        const int first = 5 * p + 1, last = std::min(12, 5 * p + 5);
        double qty = 0;
        for (int i = first; i <= last; ++i) {
            qty += i;
            EXPECT_TRUE(texts.contains(QStringLiteral("材料%1").arg(i))) << i;
            EXPECT_TRUE(texts.contains(QStringLiteral("1.4286"))) << "#采购单价 prints rsprice";
        }
        EXPECT_TRUE(texts.contains(QStringLiteral("∑") + FloatToStr(qty))) << p;
        EXPECT_TRUE(texts.contains(QStringLiteral("∑") + FloatToStr(qty * 10))) << p;
        EXPECT_TRUE(texts.contains(QStringLiteral("∑0"))) << p;
        EXPECT_TRUE(texts.contains(moneytochinese(qty * 10))) << p;
    }
    // Page 3 holds lines 11 and 12 and three empty data rows.
    EXPECT_FALSE(t->Pages()[2].contains(QStringLiteral("材料13")));
    EXPECT_EQ(t->Pages()[2].filter(QStringLiteral("材料")).size(), 2);
    EXPECT_TRUE(t->Pages()[2].contains(QStringLiteral("∑23")));
    EXPECT_TRUE(t->Pages()[2].contains(QStringLiteral("贰佰叁拾零元零角零分")));
    // The bill's data is read only; the lines are left on the last record reached.
    EXPECT_TRUE(rc.bodyexhausted());
    EXPECT_EQ(body->RecNo(), 12);
    EXPECT_EQ(body->ChangeCount(), changes);
    EXPECT_TRUE(DialogScript::Texts().isEmpty());
    // Backgrounds never print: the grey of the data line stays on screen.
    EXPECT_EQ(t->device.fills, 0);
}

TEST_F(BillPrint, DataOnlyAndEmptyFormModes)
{
    bill(3);
    auto data = print(TReportControl::pmData);
    EXPECT_EQ(data->title, QStringLiteral("单据内容"));
    ASSERT_EQ(data->Pages().size(), 1u);
    const QStringList& d = data->Pages()[0];
    EXPECT_TRUE(d.contains(QStringLiteral("一工区")));
    EXPECT_TRUE(d.contains(QStringLiteral("材料3")));
    EXPECT_TRUE(d.contains(QStringLiteral("第1页共1页")));
    EXPECT_TRUE(d.contains(QStringLiteral("∑6")));
    EXPECT_FALSE(d.contains(QStringLiteral("领用单位："))) << "fixed texts are on the paper already";
    EXPECT_FALSE(d.contains(QStringLiteral("合计")));

    auto grid = print(TReportControl::pmGrid);
    EXPECT_EQ(grid->title, QStringLiteral("空单据"));
    ASSERT_EQ(grid->Pages().size(), 1u);
    EXPECT_EQ(grid->Pages()[0], QStringList({QStringLiteral("领用单位："), QStringLiteral("合计"), QStringLiteral("制表人：")}));
}

TEST_F(BillPrint, ABillWithoutLinesStillPrintsItsPage)
{
    bill(0);
    auto t = print(TReportControl::pmFull);
    ASSERT_EQ(t->Pages().size(), 1u);
    EXPECT_TRUE(t->Pages()[0].contains(QStringLiteral("一工区")));
    EXPECT_TRUE(t->Pages()[0].contains(QStringLiteral("第1页共1页")));
    EXPECT_TRUE(t->Pages()[0].contains(QStringLiteral("∑0")));
    EXPECT_TRUE(t->Pages()[0].filter(QStringLiteral("材料")).isEmpty());
    // Without a data line there is one page too.
    rc.Line(1)->SetLinetype(0);
    for (int i = 2; i <= 5; ++i)
        rc.Line(i)->SetLinetype(0);
    bill(12);
    EXPECT_EQ(print(TReportControl::pmFull)->Pages().size(), 1u);
}

TEST_F(BillPrint, NoPrinterShowsTheMessageAndPrintsNothing)
{
    bill(2);
    RecordingTarget t;
    t.available = false;
    rc.PrintTo(t, TReportControl::pmFull);
    rc.PrintTo(t, TReportControl::pmData);
    rc.PrintTo(t, TReportControl::pmGrid);
    EXPECT_TRUE(t.Pages().empty());
    EXPECT_EQ(DialogScript::Texts(), QStringList({QStringLiteral("没装打印机"), QStringLiteral("没装打印机")}));
    // The system's printer, nothing installed and no file to print into, offers a PDF file in
    // each mode instead; the clerk declines, and nothing more is said.
    if (!Printer()->Printers().isEmpty() || !Printer()->OutputFileName().isEmpty()) GTEST_SKIP() << "a printer is set up";
    DialogScript::ClearLog();
    for (int i = 0; i < 3; ++i)
        DialogScript::Answer(mrCancel);
    rc.PrintIt();
    rc.printvarray();
    rc.printgrid();
    QStringList kinds;
    for (const TShownDialog& d : DialogScript::Log())
        kinds << d.Kind + QLatin1Char('|') + d.Answer;
    EXPECT_EQ(kinds, QStringList({QStringLiteral("SaveDialog|"), QStringLiteral("SaveDialog|"), QStringLiteral("SaveDialog|")}));
    EXPECT_TRUE(Printer()->OutputFileName().isEmpty());
}

TEST_F(BillPrint, AFieldTheBillLacksEndsTheJobAndIsShown)
{
    bill(7);
    // A stock-in template on a stock-out bill: the head has no cfname.
    rc.Setbilltype(0);
    rc.Line(0)->Cell(1)->SetCellText(QStringLiteral("#材料来源"));
    auto t = print(TReportControl::pmFull);
    EXPECT_TRUE(t->ended) << "the pages drawn so far go to the printer";
    EXPECT_EQ(t->Pages().size(), 1u);
    ASSERT_EQ(DialogScript::Texts().size(), 1);
    EXPECT_EQ(DialogScript::Texts()[0], QStringLiteral("票据打印出错：Field 'cfname' not found"));
    // The display of the lines is thawed again.
    EXPECT_FALSE(body->ControlsDisabled());
}

TEST_F(BillPrint, ACellsTextIsPrintedWhole)
{
    // Cells sized for the original narrower font: a six-digit quantity and a long name.
    head = StockOutHead();
    body = StockOutLines({{QStringLiteral("热轧带肋钢筋螺纹钢盘圆"), 104000.25, 10}});
    rc.Setheaddataset(head.get());
    rc.Setbodydataset(body.get());
    rc.Line(1)->Cell(0)->SetCellWidth(90);
    rc.Line(1)->Cell(1)->SetCellWidth(40);
    reload();
    rc.UpdatePrintLines();
    auto t = print(TReportControl::pmFull);
    const QString qty = QStringLiteral("104000.25");
    const QString name = QStringLiteral("热轧带肋钢筋螺纹钢盘圆");
    ASSERT_TRUE(t->device.widths.contains(qty));
    ASSERT_TRUE(t->device.widths.contains(name));
    EXPECT_LE(t->device.widths.value(qty), rc.Line(1)->Cell(1)->TextRect().Width() + 1.0);
    EXPECT_LE(t->device.widths.value(name), rc.Line(1)->Cell(0)->TextRect().Width() + 1.0);
    // A text that fits keeps the cell's own size.
    EXPECT_TRUE(t->device.widths.contains(QStringLiteral("一工区")));
}

TEST_F(BillPrint, ToPdf)
{
    bill(12);
    const QString pdf = Artifact(QStringLiteral("prt_bill_12_lines.pdf"));
    {
        PdfPrinterScope printer(pdf);
        rc.PrintIt();
    }
    EXPECT_TRUE(DialogScript::Texts().isEmpty());
    EXPECT_EQ(PdfPages(pdf), 3);
    const QStringList pngs = PdfToPng(pdf, Artifact(QStringLiteral("prt_bill_12_lines")));
    EXPECT_EQ(pngs.size(), 3);
}

TEST(PlaceholderMap, BothBillKindsAndBands)
{
    const struct {
        const char16_t* text;
        int billtype, band;
        const char* field;
    } cases[] = {
        {u"#材料来源", 0, 0, "cfname"},  {u"#币种", 0, 0, "cryname"},    {u"#备注", 0, 0, "remark"},
        {u"#票据字号", 0, 0, "billnum"}, {u"#入库日期", 0, 0, "bdate"},  {u"#计划编号", 0, 0, "ivoicenum"},
        {u"#制表人", 0, 0, "lister"},    {u"#审核人", 0, 0, "assessor"}, {u"#交验员", 0, 0, "dirctor"},
        {u"#材料名称", 0, 1, "mname"},   {u"#规格型号", 0, 1, "mtype"},  {u"#单位", 0, 1, "munit"},
        {u"#数量", 0, 1, "Qty"},         {u"#采购单价", 0, 1, "rprice"}, {u"#运什费", 0, 1, "expense"},
        {u"#合计", 0, 1, "amount"},      {u"#单价", 0, 1, "Sprice"},     {u"#复价", 0, 1, "Dprice"},
        {u"#备注", 0, 1, "remark"},      {u"#领用单位", 1, 0, "dptname"}, {u"#使用项目", 1, 0, "pjtname"},
        {u"#出库日期", 1, 0, "bdate"},   {u"#票据编号", 1, 0, "billnum"}, {u"#制表人", 1, 0, "lister"},
        {u"#审核人", 1, 0, "assessor"},  {u"#领用经办", 1, 0, "dirctor"}, {u"#备注", 1, 0, "remark"},
        {u"#材料名称", 1, 1, "mname"},   {u"#规格型号", 1, 1, "mtype"},  {u"#单位", 1, 1, "munit"},
        {u"#数量", 1, 1, "qty"},         {u"#采购币种", 1, 1, "currency"}, {u"#采购单价", 1, 1, "rsprice"},
        {u"#采购复价", 1, 1, "rdprice"}, {u"#单价", 1, 1, "sprice"},     {u"#复价", 1, 1, "dprice"},
        {u"#备注", 1, 1, "remark"},
        // Not in the map: other bands, other kinds of bill, near misses.
        {u"#材料来源", 0, 1, ""},        {u"#数量", 0, 0, ""},           {u"#领用单位", 0, 0, ""},
        {u"#采购币种", 0, 1, ""},        {u"#票据编号：", 1, 0, ""},      {u" #数量", 1, 1, ""},
        {u"#数量", 2, 1, ""},            {u"#数量", -1, 1, ""},          {u"", 0, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(getvarfieldname(QString::fromUtf16(c.text), c.billtype, c.band), QString::fromLatin1(c.field))
            << QString::fromUtf16(c.text).toStdString() << " " << c.billtype << " " << c.band;
    EXPECT_EQ(placeholderlist(1, 1).size(), 10);
    EXPECT_TRUE(placeholderlist(1, 1).contains(QStringLiteral("#采购币种")));
    EXPECT_FALSE(placeholderlist(1, 0).contains(QStringLiteral("#采购币种")));
    EXPECT_EQ(placeholderlist(0, 0).first(), QStringLiteral("#材料来源"));
    // Every page sum offered names a field of the bill lines.
    for (int billtype : {0, 1})
        for (const QString& p : pagesumlist(billtype))
            EXPECT_FALSE(getvarfieldname(p, billtype, 1).isEmpty()) << p.toStdString();
    EXPECT_EQ(pagesumlist(1), QStringList({QStringLiteral("#数量"), QStringLiteral("#复价")}));
}

TEST(AmountInCapitals, EveryDigitWithItsUnit)
{
    const struct {
        double amount;
        const char16_t* text;
    } cases[] = {
        {0, u"零元零角零分"},
        {-5, u"负伍元零角零分"},
        {120.05, u"壹佰贰拾零元零角伍分"},
        {0.125, u"零元壹角叁分"},
        {10000, u"壹万零仟零佰零拾零元零角零分"},
        {123456789.01, u"壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖元零角壹分"},
        {999999999999.99, u"玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        {1000000000000.0, u"壹万零仟零佰零拾零亿零仟零佰零拾零万零仟零佰零拾零元零角零分"},
        {-0.001, u"零元零角零分"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(moneytochinese(c.amount), QString::fromUtf16(c.text)) << c.amount;
}

TEST(FieldTexts, AsPrinted)
{
    EXPECT_EQ(getvartext(Variant::Null()), QString());
    EXPECT_EQ(getvartext(Variant()), QString());
    EXPECT_EQ(getvartext(Variant(true)), QStringLiteral("T"));
    EXPECT_EQ(getvartext(Variant(false)), QStringLiteral("F"));
    EXPECT_EQ(getvartext(Variant(EncodeDate(2024, 11, 5))), QStringLiteral("2024-11-05"));
    EXPECT_EQ(getvartext(Variant(QStringLiteral("  钢材 "))), QStringLiteral("钢材"));
    EXPECT_EQ(getvartext(Variant(12.5)), QStringLiteral("12.5"));
    EXPECT_EQ(getvartext(Variant(Currency::FromDouble(3))), QStringLiteral("3"));
}

} // namespace
