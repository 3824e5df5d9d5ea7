// The five bill templates the build writes into the program folder's dpxprt:
// their contents, and a sample bill printed through each to PDF and PNG.
#include "prt_support.h"

#include <QApplication>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace prttest;

namespace {

struct Shipped {
    const char* resource;
    const char16_t* file;
    int billtype, lines, top, bottom;
    const char16_t* title;
};

const Shipped kShipped[] = {
    {"EXBILLA", u"材料出库单（普通型）.prt", 1, 10, 10, 15, u"物 资 材 料 出 库 单"},
    {"EXBILLC", u"材料出库单（多币种）.prt", 1, 11, 10, 10, u"物  资  材  料  出  库  单"},
    {"IMBILLA", u"材料入库单（成品型）.prt", 0, 10, 10, 10, u"物  资  材  料  入  库  单"},
    {"IMBILLB", u"材料入库单（运杂类）.prt", 0, 11, 15, 15, u"物  资  材  料  入  库  单"},
    {"IMBILLC", u"材料入库单（多币种）.prt", 0, 11, 15, 15, u"物  资  材  料  入  库  单"},
};

QString shippedFile(const Shipped& s) { return QStringLiteral(DPX_PROGRAM_DIR "/dpxprt/") + QString::fromUtf16(s.file); }

class ShippedTemplate : public ::testing::TestWithParam<Shipped> {
protected:
    TDialogScriptScope script;
};

TEST_P(ShippedTemplate, HoldsWhatTheSetupPromises)
{
    const Shipped s = GetParam();
    QFile f(shippedFile(s));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
    const QByteArray bytes = f.readAll();
    auto i32 = [&](int at) { return qFromLittleEndian<qint32>(bytes.constData() + at); };
    EXPECT_EQ(i32(2), 100);
    EXPECT_EQ(i32(6), 884);
    EXPECT_EQ(i32(10), 490);
    EXPECT_EQ(i32(14), 240);
    EXPECT_EQ(i32(18), 138);
    EXPECT_EQ(i32(22), s.billtype);
    EXPECT_EQ(i32(26), 96);
    EXPECT_EQ(i32(34), 96);
    EXPECT_EQ(i32(30), MmToPixels(s.top));
    EXPECT_EQ(i32(38), MmToPixels(s.bottom));
    EXPECT_EQ(bytes[58], 1);
    EXPECT_EQ(i32(59), 57);
    EXPECT_EQ(i32(63), 1);

    TReportControl rc;
    ASSERT_TRUE(rc.LoadFromFile(shippedFile(s)));
    EXPECT_TRUE(DialogScript::Texts().isEmpty());
    ASSERT_EQ(rc.LineCount(), s.lines);
    EXPECT_EQ(rc.GetMargin(), TRect(25, s.top, 25, s.bottom));
    int dataLines = 0;
    for (int l = 0; l < rc.LineCount(); ++l) {
        TReportLine* line = rc.Line(l);
        EXPECT_EQ(line->Cell(0)->CellLeft(), 96) << l;
        if (line->Linetype() != 1) continue;
        ++dataLines;
        EXPECT_EQ(line->prtlines(), 5);
        for (int c = 0; c < line->CellCount(); ++c) {
            EXPECT_EQ(line->Cell(c)->BkColor(), 0xC0C0C0);
            EXPECT_EQ(line->Cell(c)->varraytype(), vkField);
            EXPECT_FALSE(getvarfieldname(line->Cell(c)->CellText(), s.billtype, 1).isEmpty())
                << line->Cell(c)->CellText().toStdString();
        }
    }
    EXPECT_EQ(dataLines, 1);
    TReportCell* title = rc.Line(0)->Cell(0);
    EXPECT_EQ(title->CellText(), QString::fromUtf16(s.title));
    EXPECT_EQ(title->LogFont().FaceName(), QStringLiteral("黑体"));
    EXPECT_EQ(title->LogFont().lfHeight, -21);
    EXPECT_EQ(title->LogFont().lfWeight, 700);
    EXPECT_EQ(title->HorzAlign(), 1);
    // Every placeholder of the head names a field of its bill kind, except the one
    // that carries a colon on purpose.
    for (int l = 0; l < rc.LineCount(); ++l)
        for (int c = 0; c < rc.Line(l)->CellCount(); ++c) {
            TReportCell* cell = rc.Line(l)->Cell(c);
            if (cell->varraytype() == vkField && rc.Line(l)->Linetype() == 0
                && cell->CellText() != QStringLiteral("#票据编号："))
                EXPECT_FALSE(getvarfieldname(cell->CellText(), s.billtype, 0).isEmpty()) << cell->CellText().toStdString();
            if (cell->varraytype() == vkPageSum || cell->varraytype() == vkPageSumCapitals)
                EXPECT_FALSE(getvarfieldname(cell->CellText(), s.billtype, 1).isEmpty());
        }

    // The designer's view of it.
    rc.show();
    QApplication::processEvents();
    EXPECT_TRUE(rc.grab().toImage().save(Artifact(QStringLiteral("prt_design_%1.png").arg(QLatin1String(s.resource)))));
}

TEST_P(ShippedTemplate, PrintsASampleBillToPdf)
{
    const Shipped s = GetParam();
    TReportControl rc;
    ASSERT_TRUE(rc.LoadFromFileforprint(shippedFile(s)));
    std::vector<BillLine> lines = {
        {QStringLiteral("螺纹钢"), 12.5, 4150}, {QStringLiteral("水泥"), 30, 420},  {QStringLiteral("钢模板"), 8, 95},
        {QStringLiteral("盘圆"), 2.25, 4080},   {QStringLiteral("砂子"), 16, 78},   {QStringLiteral("石子"), 21, 82},
        {QStringLiteral("扣件"), 500, 5.6},
    };
    auto head = s.billtype == 0 ? StockInHead() : StockOutHead();
    auto body = s.billtype == 0 ? StockInLines(lines) : StockOutLines(lines);
    rc.Setheaddataset(head.get());
    rc.Setbodydataset(body.get());
    const QString pdf = Artifact(QStringLiteral("prt_%1.pdf").arg(QLatin1String(s.resource)));
    {
        PdfPrinterScope printer(pdf);
        rc.PrintIt();
    }
    EXPECT_TRUE(DialogScript::Texts().isEmpty()) << DialogScript::Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(PdfPages(pdf), 2);
    const QStringList pngs = PdfToPng(pdf, Artifact(QStringLiteral("prt_%1").arg(QLatin1String(s.resource))));
    ASSERT_EQ(pngs.size(), 2);
    // The same bill on the recording device: head values and the lines of page 1.
    RecordingTarget t;
    rc.PrintTo(t, TReportControl::pmFull);
    ASSERT_EQ(t.Pages().size(), 2u);
    EXPECT_TRUE(t.Pages()[0].contains(QStringLiteral("螺纹钢")));
    EXPECT_TRUE(t.Pages()[1].contains(QStringLiteral("石子")));
    EXPECT_TRUE(t.Pages()[0].contains(QStringLiteral("第1页共2页")));
    EXPECT_TRUE(t.Pages()[0].contains(s.billtype == 0 ? QStringLiteral("材料 11-7") : QStringLiteral("一工区")));
    if (s.billtype == 0) EXPECT_TRUE(t.Pages()[0].contains(QStringLiteral("自购"))) << "#材料来源 is the source's name";
}

INSTANTIATE_TEST_SUITE_P(Dpxprt, ShippedTemplate, ::testing::ValuesIn(kShipped),
                         [](const auto& info) { return std::string(info.param.resource); });

} // namespace
