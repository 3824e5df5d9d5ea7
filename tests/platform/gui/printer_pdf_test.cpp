// Printing through TPrinter into PDF files: paper size, pages, resolution.
#include "DrawUtils.h"
#include "Printer.h"
#include "platform/rtl/Exceptions.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct PdfInfo {
    int pages = 0;
    QList<QSizeF> mediaBoxes;  // in points
};

PdfInfo readPdf(const QString& fileName)
{
    PdfInfo info;
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return info;
    const QString text = QString::fromLatin1(f.readAll());
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    info.pages = int(text.count(page));
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
    for (auto it = box.globalMatch(text); it.hasNext();) {
        auto m = it.next();
        info.mediaBoxes << QSizeF(m.captured(3).toDouble() - m.captured(1).toDouble(),
                                  m.captured(4).toDouble() - m.captured(2).toDouble());
    }
    return info;
}

QString artifact(const QString& name)
{
    QDir().mkpath(QStringLiteral(DPX_TEST_ARTIFACTS));
    return QStringLiteral(DPX_TEST_ARTIFACTS "/") + name;
}

double mmToPt(double mm) { return mm / 25.4 * 72.0; }

struct PaperCase {
    const char* name;
    int width, length;  // tenths of a millimetre
    TPrinterOrientation orientation;
    double expectW, expectH;  // page in millimetres
};

class PrinterPaper : public ::testing::TestWithParam<PaperCase> {};

TEST_P(PrinterPaper, PdfPageHasTheCustomSize)
{
    const PaperCase c = GetParam();
    TPrinter printer;
    const QString file = artifact(QStringLiteral("printer_%1.pdf").arg(QString::fromLatin1(c.name)));
    QFile::remove(file);
    printer.SetOutputFileName(file);
    printer.SetPaperSize(c.width, c.length);
    printer.SetOrientation(c.orientation);
    ASSERT_TRUE(printer.HasPrinter());
    const int res = printer.PixelsPerInchX();
    EXPECT_NEAR(printer.PageWidth(), c.expectW / 25.4 * res, res / 72.0 + 1);
    EXPECT_NEAR(printer.PageHeight(), c.expectH / 25.4 * res, res / 72.0 + 1);

    printer.SetTitle(QStringLiteral("票据"));
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    TCanvas* cv = printer.Canvas();
    cv->Pen()->SetWidth(3);
    cv->Rectangle(0, 0, printer.PageWidth(), printer.PageHeight());
    TRect r(0, 0, printer.PageWidth(), printer.PageHeight());
    cv->Font()->SetSize(12);
    EXPECT_NEAR(cv->Font()->Height(), -12.0 * res / 72, 1);
    DrawText(cv, QStringLiteral("入库单 第1页"), r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    DrawText(cv, QStringLiteral("第2页"), r, DT_SINGLELINE);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());

    PdfInfo pdf = readPdf(file);
    EXPECT_EQ(pdf.pages, 2);
    ASSERT_FALSE(pdf.mediaBoxes.isEmpty());
    for (const QSizeF& box : pdf.mediaBoxes) {
        EXPECT_NEAR(box.width(), mmToPt(c.expectW), 1.0);
        EXPECT_NEAR(box.height(), mmToPt(c.expectH), 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, PrinterPaper,
    ::testing::Values(PaperCase{"bill_240x138", 2400, 1380, poPortrait, 240, 138},
                      PaperCase{"a4", 2100, 2970, poPortrait, 210, 297},
                      PaperCase{"a4_landscape", 2100, 2970, poLandscape, 297, 210}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Printer, IsotropicMappingFillsThePrintableArea)
{
    // The screen layout of a page (884 x 490 pixels at 96 dpi) mapped onto the printer page.
    TPrinter printer;
    printer.SetOutputFileName(artifact(QStringLiteral("printer_mapping.pdf")));
    printer.SetPaperSize(2400, 1380);
    printer.BeginDoc();
    TCanvas* cv = printer.Canvas();
    cv->SetMapMode(MM_ISOTROPIC);
    cv->SetWindowExt(884, 490);
    cv->SetViewportExt(printer.PageWidth(), printer.PageHeight());
    TPoint corner = cv->LPtoDP(TPoint(884, 490));
    const double scale = std::min(double(printer.PageWidth()) / 884, double(printer.PageHeight()) / 490);
    EXPECT_NEAR(corner.X, 884 * scale, 1);
    EXPECT_NEAR(corner.Y, 490 * scale, 1);
    EXPECT_TRUE(corner.X == printer.PageWidth() || corner.Y == printer.PageHeight());
    cv->Font()->SetHeight(-13);
    TRect r(10, 10, 200, 40);
    DrawText(cv, QStringLiteral("材料名称"), r, DT_SINGLELINE | DT_EDITCONTROL);
    printer.EndDoc();
    EXPECT_EQ(readPdf(artifact(QStringLiteral("printer_mapping.pdf"))).pages, 1);
}

TEST(Printer, WithoutPrinterOrFileNoJobStarts)
{
    TPrinter printer;
    if (!printer.Printers().isEmpty()) GTEST_SKIP() << "this machine has printers";
    EXPECT_FALSE(printer.HasPrinter());
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    EXPECT_FALSE(printer.Printing());
    EXPECT_THROW(printer.NewPage(), EPrinter);
}

TEST(Printer, AbortEndsTheJob)
{
    TPrinter printer;
    printer.SetOutputFileName(artifact(QStringLiteral("printer_abort.pdf")));
    printer.BeginDoc();
    printer.Canvas()->TextOut(10, 10, QStringLiteral("作废"));
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(printer.Aborted());
    printer.BeginDoc();
    EXPECT_FALSE(printer.Aborted());
    printer.EndDoc();
    EXPECT_TRUE(Printer() == Printer());
}

} // namespace
