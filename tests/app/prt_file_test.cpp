// The template file: byte-identical round trips, the cell record layout,
// loading for print, and damaged files refused without harm.
#include "prt_support.h"

#include "platform/rtl/Exceptions.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace prttest;

namespace {

// A template with every kind of content: merges, a data line, fonts, borders,
// diagonals, colours, variables and a text with a line break.
void BuildSample(TReportControl& rc)
{
    // The page of the printer's paper, as after loading a template of that paper.
    setpapersize(2400, 1380);
    rc.CalcWndSize();
    rc.SetMargin(25, 10, 25, 15);
    rc.resize(884, 490);
    rc.Setpgwidth(240);
    rc.Setpgheight(138);
    rc.Setbilltype(1);
    rc.NewTable(4, 5);
    auto cell = [&](int l, int c) { return rc.Line(l)->Cell(c); };
    cell(0, 0)->SetCellText(QStringLiteral("物资材料出库单\r\n第二行"));
    TLogFontW title = DefaultCellLogFont();
    title.SetFaceName(QStringLiteral("黑体"));
    title.lfHeight = -21;
    title.lfWeight = FW_BOLD;
    cell(0, 1)->SetLogFont(title);
    cell(1, 0)->SetCellText(QStringLiteral("#领用单位"));
    cell(1, 0)->Setvarraytype(vkField);
    cell(1, 1)->SetDiagonal(0x401);
    cell(1, 2)->SetLines(false, true, false, true, 1, 2, 1, 3);
    cell(1, 3)->SetTextColor(clRed);
    cell(1, 3)->SetHorzAlign(2);
    cell(1, 3)->SetVertAlign(2);
    rc.RemoveAllSelectedCell();
    rc.AddSelectedCell(cell(2, 0));
    rc.AddSelectedCell(cell(3, 0));
    rc.CombineCell();
    rc.RemoveAllSelectedCell();
    rc.AddSelectedCell(cell(4, 1));
    rc.Setreportlinetype(1);
    rc.SetprtlineS(5);
    rc.RemoveAllSelectedCell();
    cell(4, 1)->SetCellText(QStringLiteral("#数量"));
    cell(4, 1)->Setvarraytype(vkField);
    rc.UpdateLines();
}

// Offsets inside the file image.
constexpr int kLineCountAt = 67;
int FirstCellAt(int lines) { return 71 + 4 * lines + 40; }

void PutI32(QByteArray& b, int at, qint32 v) { qToLittleEndian(v, b.data() + at); }
qint32 GetI32(const QByteArray& b, int at) { return qFromLittleEndian<qint32>(b.constData() + at); }

TEST(TemplateFile, SaveLoadSaveIsByteIdentical)
{
    TReportControl a;
    BuildSample(a);
    const QByteArray first = a.SaveToBytes();
    TReportControl b;
    ASSERT_EQ(b.LoadFromBytes(first, false), QString());
    EXPECT_EQ(b.SaveToBytes(), first);
    ASSERT_EQ(b.LineCount(), 5);
    EXPECT_EQ(b.Line(0)->Cell(0)->CellText(), QStringLiteral("物资材料出库单\r\n第二行"));
    EXPECT_EQ(b.Line(0)->Cell(1)->LogFont(), a.Line(0)->Cell(1)->LogFont());
    EXPECT_EQ(b.Line(1)->Cell(1)->Diagonal(), 0x401u);
    EXPECT_EQ(b.Line(1)->Cell(2)->BottomLineWidth(), 3);
    EXPECT_EQ(b.Line(2)->Cell(0)->OwnedCell(0), b.Line(3)->Cell(0));
    EXPECT_EQ(b.Line(4)->Linetype(), 1);
    EXPECT_EQ(b.Line(4)->prtlines(), 5);
    EXPECT_EQ(b.billtype(), 1);
    EXPECT_EQ(b.pgwidth(), 240);
    EXPECT_EQ(b.GetMargin(), TRect(25, 10, 25, 15));

    // Through files as well.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("样式.prt"));
    b.SaveToFile(file);
    TReportControl c;
    ASSERT_TRUE(c.LoadFromFile(file));
    c.SaveToFile(dir.filePath(QStringLiteral("again.prt")));
    QFile f1(file), f2(dir.filePath(QStringLiteral("again.prt")));
    ASSERT_TRUE(f1.open(QIODevice::ReadOnly) && f2.open(QIODevice::ReadOnly));
    EXPECT_EQ(f1.readAll(), f2.readAll());
}

TEST(TemplateFile, CellRecordHolds109BytesBeforeItsText)
{
    TReportControl rc;
    rc.NewTable(1, 1);
    rc.Line(0)->Cell(0)->SetCellText(QStringLiteral("AB"));
    const QByteArray b = rc.SaveToBytes();
    ASSERT_EQ(quint8(b[0]), 0x55);
    ASSERT_EQ(quint8(b[1]), 0xAA);
    EXPECT_EQ(GetI32(b, 2), 100);
    EXPECT_EQ(GetI32(b, kLineCountAt), 1);
    const int cellAt = FirstCellAt(1);
    EXPECT_EQ(GetI32(b, cellAt + 105), 2) << "text length";
    EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + cellAt + 109), u'A');
    EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + cellAt + 111), u'B');
    // Font, owner (-1, -1) and no owned cells end the record and the file.
    const int fontAt = cellAt + 113;
    EXPECT_EQ(GetI32(b, fontAt), -13);
    EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + fontAt + 28), u'宋');
    EXPECT_EQ(GetI32(b, fontAt + 92), -1);
    EXPECT_EQ(GetI32(b, fontAt + 96), -1);
    EXPECT_EQ(GetI32(b, fontAt + 100), 0);
    EXPECT_EQ(b.size(), fontAt + 104);
}

TEST(TemplateFile, ReadingTakesScale100AndThePrinterPage)
{
    TReportControl a;
    BuildSample(a);
    a.Setpagewidth(884);
    a.Setpageheight(490);
    QByteArray b = a.SaveToBytes();
    EXPECT_EQ(GetI32(b, 6), 884);
    PutI32(b, 2, 150);
    TReportControl rc;
    rc.SetReportScale(150);
    ASSERT_EQ(rc.LoadFromBytes(b, false), QString());
    EXPECT_EQ(rc.ReportScale(), 100);
    TPrinter* p = Printer();
    EXPECT_EQ(rc.pagewidth(), int(p->PageWidth() * 96.0 / p->PixelsPerInchX() + 0.5));
    EXPECT_EQ(rc.pageheight(), int(p->PageHeight() * 96.0 / p->PixelsPerInchY() + 0.5));
    EXPECT_EQ(rc.width(), rc.pagewidth());
    // The printer's paper is the template's.
    EXPECT_EQ(p->PaperWidth(), 2400);
    EXPECT_EQ(p->PaperLength(), 1380);
}

TEST(TemplateFile, LoadingForPrintRepeatsTheDataLine)
{
    TReportControl a;
    BuildSample(a);
    // A cell of the data line belongs to a block above it.
    a.RemoveAllSelectedCell();
    a.AddSelectedCell(a.Line(3)->Cell(2));
    a.AddSelectedCell(a.Line(4)->Cell(2));
    a.CombineCell();
    a.RemoveAllSelectedCell();
    const struct {
        int prtlines, expectedLines;
    } cases[] = {{5, 9}, {1, 5}, {0, 5}, {2, 6}};
    for (const auto& c : cases) {
        a.Line(4)->Setprtlines(c.prtlines);
        TReportControl rc;
        ASSERT_EQ(rc.LoadFromBytes(a.SaveToBytes(), true), QString());
        ASSERT_EQ(rc.LineCount(), c.expectedLines) << c.prtlines;
        for (int i = 4; i < rc.LineCount(); ++i) {
            EXPECT_EQ(rc.Line(i)->Linetype(), 1);
            EXPECT_EQ(rc.Line(i)->Index(), i);
            EXPECT_EQ(rc.Line(i)->Cell(1)->CellText(), QStringLiteral("#数量"));
            if (i > 4) {
                EXPECT_EQ(rc.Line(i)->prtlines(), 1);
                EXPECT_EQ(rc.Line(i)->LineTop(), rc.Line(i - 1)->LineTop() + rc.Line(i - 1)->LineHeight());
            }
        }
        // The block grows over every copy of the data line.
        EXPECT_EQ(rc.Line(3)->Cell(2)->OwnedCellCount(), c.expectedLines - 4);
        // Each line is as high as it was dragged, at least 20.
        for (int i = 0; i < rc.LineCount(); ++i)
            EXPECT_EQ(rc.Line(i)->LineHeight(), std::max(20, rc.Line(i)->DragHeight()));
    }
}

// A damaged file image and what the reader must say about it.
struct Damage {
    const char* name;
    std::function<void(QByteArray&)> damage;
    const char* reason;  // part of the message after "打开文件错误"
};

TEST(TemplateFile, DamagedFilesAreRefusedAndChangeNothing)
{
    TReportControl sample;
    BuildSample(sample);
    const QByteArray good = sample.SaveToBytes();
    const int lines = GetI32(good, kLineCountAt);
    const int cellAt = FirstCellAt(lines);
    const int fontAt = cellAt + 109 + 2 * GetI32(good, cellAt + 105);
    const Damage cases[] = {
        {"empty", [](QByteArray& b) { b.clear(); }, "文件不完整"},
        {"wrong magic", [](QByteArray& b) { b[0] = 0x4D; b[1] = 0x5A; }, ""},
        {"truncated header", [](QByteArray& b) { b.truncate(40); }, "文件不完整"},
        {"truncated cell", [&](QByteArray& b) { b.truncate(cellAt + 50); }, "与文件长度不符"},
        {"truncated at the end", [](QByteArray& b) { b.chop(3); }, "文件不完整"},
        {"text over 1000 units", [&](QByteArray& b) { PutI32(b, cellAt + 105, 1001); }, "超过1000"},
        {"negative text length", [&](QByteArray& b) { PutI32(b, cellAt + 105, -2); }, "文字长度-2"},
        {"owner line out of range", [&](QByteArray& b) { PutI32(b, fontAt + 92, 99); PutI32(b, fontAt + 96, 0); }, "不存在"},
        {"owner cell out of range", [&](QByteArray& b) { PutI32(b, fontAt + 92, 1); PutI32(b, fontAt + 96, 40); }, "不存在"},
        {"owner is the cell itself", [&](QByteArray& b) { PutI32(b, fontAt + 92, 0); PutI32(b, fontAt + 96, 0); }, "合并关系不一致"},
        {"owned count beyond the file", [&](QByteArray& b) { PutI32(b, fontAt + 100, 0x7fffffff); }, "与文件长度不符"},
        {"line without cells", [](QByteArray& b) { PutI32(b, 71, 0); }, "第1行没有方格"},
        {"negative line count", [](QByteArray& b) { PutI32(b, kLineCountAt, -1); }, "行数-1"},
        {"huge line count", [](QByteArray& b) { PutI32(b, kLineCountAt, 0x10000000); }, "与文件长度不符"},
        {"huge cell count", [](QByteArray& b) { PutI32(b, 71, 0x7fffffff); }, "与文件长度不符"},
        {"huge rows per page", [&](QByteArray& b) { PutI32(b, 71 + 4 * lines, 0x7fffffff); }, "每页行数"},
        {"huge cell width", [&](QByteArray& b) { PutI32(b, cellAt + 17, 0x7fffff00); }, "尺寸"},
        {"huge page width", [](QByteArray& b) { PutI32(b, 6, -0x7fffff00); }, "页宽"},
        {"huge dragged height", [&](QByteArray& b) { PutI32(b, 71 + 4 * lines + 16, 1 << 30); }, "高度或位置"},
        {"huge border width", [&](QByteArray& b) { PutI32(b, cellAt + 66, 100000); }, "边框宽度"},
        {"paper width INT_MAX", [](QByteArray& b) { PutI32(b, 14, 0x7fffffff); }, "纸宽2147483647超出范围"},
        {"negative paper height", [](QByteArray& b) { PutI32(b, 18, -1); }, "纸高-1超出范围"},
        {"huge millimetre margin", [](QByteArray& b) { PutI32(b, 42, 0x7fffffff); }, "页边距2147483647超出范围"},
        {"huge line rectangle", [&](QByteArray& b) { PutI32(b, 71 + 4 * lines + 24 + 8, 0x7fffffff); }, "第1行的位置"},
        {"huge cell rectangle", [&](QByteArray& b) { PutI32(b, cellAt + 21 + 12, -0x7fffffff); }, "第1行第1格的位置"},
        {"huge text rectangle", [&](QByteArray& b) { PutI32(b, cellAt + 37, 0x7fffffff); }, "第1行第1格的位置"},
    };
    for (const Damage& c : cases) {
        QByteArray bad = good;
        c.damage(bad);
        TReportControl rc;
        BuildSample(rc);
        rc.AddSelectedCell(rc.Line(0)->Cell(0));
        const QByteArray before = rc.SaveToBytes();
        const QString message = rc.LoadFromBytes(bad, false);
        EXPECT_TRUE(message.startsWith(QStringLiteral("打开文件错误"))) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.reason))) << c.name << ": " << message.toStdString();
        EXPECT_EQ(rc.SaveToBytes(), before) << c.name;
        EXPECT_EQ(rc.SelectCells().size(), 1) << c.name;
        EXPECT_EQ(rc.LoadFromBytes(bad, true), message) << c.name;
    }
}

TEST(TemplateFile, AnyTruncationOrFlippedByteIsSurvived)
{
    TReportControl sample;
    BuildSample(sample);
    const QByteArray good = sample.SaveToBytes();
    TReportControl rc;
    for (int n = 0; n < good.size(); n += 7)
        EXPECT_FALSE(rc.LoadFromBytes(good.left(n), false).isEmpty()) << n;
    QRandomGenerator random(2024);
    int read = 0;
    for (int i = 0; i < 400; ++i) {
        QByteArray bad = good;
        for (int k = 0; k < 3; ++k)
            bad[random.bounded(int(bad.size()))] = char(random.bounded(256));
        if (rc.LoadFromBytes(bad, i % 2 == 1).isEmpty()) {
            ++read;
            rc.SaveToBytes();
            rc.UpdateLines();
        }
    }
    EXPECT_GT(read, 0);
}

TEST(TemplateFile, FileErrorsAndTheMessageShown)
{
    TDialogScriptScope script;
    QTemporaryDir dir;
    TReportControl rc;
    EXPECT_THROW(rc.LoadFromFile(dir.filePath(QStringLiteral("missing.prt"))), EFOpenError);
    EXPECT_THROW(rc.SaveToFile(dir.path()), EFCreateError);
    const QString bad = dir.filePath(QStringLiteral("bad.prt"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("MZ not a template");
    f.close();
    EXPECT_FALSE(rc.LoadFromFile(bad));
    EXPECT_FALSE(rc.LoadFromFileforprint(bad));
    EXPECT_EQ(DialogScript::Texts(), QStringList({QStringLiteral("打开文件错误"), QStringLiteral("打开文件错误")}));
}

} // namespace
