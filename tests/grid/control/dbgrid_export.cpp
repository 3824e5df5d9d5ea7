// Grid data written as text, UTF-16 text, CSV and the binary interchange format:
// golden outputs over selections, titles and footers, byte tables of the binary
// format, and the footer values of the exported rows.
#include "dbgrid_impexp_fixture.h"
#include "grid/control/DBGridGxStyle.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gxpaint;
using ExportFixture = ImpExpFixture;

namespace {

QByteArray Utf16(const QString& s)
{
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

} // namespace

TEST_F(ExportFixture, TextFormatsOverSelections)
{
    struct Case {
        const char* name;
        std::function<void()> select;
        bool all;
        const char* text;
    };
    const Case cases[] = {
        {"everything, titles first", [] {}, true,
         "id\tmname\tqty\tcode\r\n1\t钢筋\t1.5\tA\"1\r\n2\tcement\t2.25\t\r\n3\t\t5\tC3"},
        {"the current cell alone, no titles", [] {}, false, "1"},
        {"two selected records in list order", [this] { SelectRows({3, 1}); }, false,
         "id\tmname\tqty\tcode\r\n1\t钢筋\t1.5\tA\"1\r\n3\t\t5\tC3"},
        {"a rectangle of two columns over two records",
         [this] {
             ds->SetRecNo(2);
             const TBookmark b2 = ds->GetBookmark();
             ds->SetRecNo(3);
             grid()->Selection()->Rect().Select(1, b2, false);
             grid()->Selection()->Rect().Select(2, ds->GetBookmark(), true);
             grid()->Selection()->SetSelectionType(gstRectangle);
             ds->First();
         },
         false, "mname\tqty\r\ncement\t2.25\r\n\t5"},
        {"selected columns", [this] {
             grid()->Selection()->Columns().Select(column(3), false);
             grid()->Selection()->SetSelectionType(gstColumns);
         },
         false, "code\r\nA\"1\r\n\r\nC3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid()->Selection()->Clear();
        c.select();
        EXPECT_EQ(QString::fromLocal8Bit(Export<TDBGridGxExportAsText>(c.all)), QString::fromUtf8(c.text));
        EXPECT_EQ(Export<TDBGridGxExportAsUnicodeText>(c.all), Utf16(QString::fromUtf8(c.text)));
        EXPECT_EQ(ds->RecNo(), 1);   // the cursor is back where it was
    }
}

// Footers: a count, a fixed text, a sum and an average of the exported rows (not of all
// records), in CSV with quotes doubled; an empty dataset gives titles and footers alone.
TEST_F(ExportFixture, CsvWithFootersOfTheExportedRows)
{
    column(0)->Footer()->SetValueType(fvtCount);
    column(1)->Footer()->SetValueType(fvtStaticText);
    column(1)->Footer()->SetValue(QStringLiteral("合计"));
    column(2)->Footer()->SetValueType(fvtSum);
    column(3)->Footer()->SetValueType(fvtAvg);
    column(3)->Footer()->SetFieldName(QStringLiteral("qty"));
    grid()->SetFooterRowCount(1);
    grid()->SumList()->SetActive(true);
    // The grid's own average covers all three records.
    EXPECT_EQ(grid()->GetFooterValue(0, column(3)), QStringLiteral("2.9167"));
    SelectRows({1, 2});
    EXPECT_EQ(QString::fromLocal8Bit(Export<TDBGridGxExportAsCSV>()),
              QString::fromUtf8("\"id\";\"mname\";\"qty\";\"code\"\r\n\"1\";\"钢筋\";\"1.5\";\"A\"\"1\"\r\n"
                                "\"2\";\"cement\";\"2.25\";\"\"\r\n\"2\";\"合计\";\"3.75\";\"1.875\""));
    // The footer-parameter event has the last word on a footer's text.
    grid()->OnGetFooterParams = [](QObject*, int, int, TColumnGx*, TFont*, TColor&, TAlignment&, TGridDrawState,
                                   QString& text) { text = QLatin1Char('<') + text + QLatin1Char('>'); };
    EXPECT_TRUE(Export<TDBGridGxExportAsText>().endsWith(QString::fromUtf8("<2>\t<合计>\t<3.75>\t<1.875>").toLocal8Bit()));
    grid()->OnGetFooterParams = nullptr;
    grid()->Selection()->Clear();
    ds->EmptyDataSet();
    EXPECT_EQ(QString::fromLocal8Bit(Export<TDBGridGxExportAsText>(true)),
              QString::fromUtf8("id\tmname\tqty\tcode\r\n0\t合计\t0\t0"));
}

TEST_F(ExportFixture, BinaryFormatByteTables)
{
    struct Case {
        const char* name;
        std::function<void()> select;
        bool all;
        QByteArray bytes;
    };
    const QByteArray header4 = QByteArray("VCLDBIF") + Bytes({1, 4, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0});
    const Case cases[] = {
        {"the current cell: one integer column", [] {}, false,
         Bytes({0x56, 0x43, 0x4C, 0x44, 0x42, 0x49, 0x46, 1, 1, 0, 0, 0, 1, 0, 3, 1, 0, 0, 0, 0})},
        {"two records: integer, wide text, exact decimal as double, 8-bit text and NULL",
         [this] { SelectRows({1, 2}); }, false,
         header4 + Bytes({3, 1, 0, 0, 0, 7, 4, 0, 0, 0, 0xA2, 0x94, 0x4B, 0x7B, 4, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 5, 3,
                          0, 0, 0, 'A', '"', '1'}) +
             Bytes({3, 2, 0, 0, 0, 7, 12, 0, 0, 0}) + Utf16(QStringLiteral("cement")) +
             Bytes({4, 0, 0, 0, 0, 0, 0, 2, 0x40, 2, 0})},
        {"a rectangle over a hidden column writes the visible ones only",
         [this] {
             column(1)->SetVisible(false);
             ds->SetRecNo(3);
             grid()->Selection()->Rect().Select(0, ds->GetBookmark(), false);
             grid()->Selection()->Rect().Select(2, ds->GetBookmark(), true);
             grid()->Selection()->SetSelectionType(gstRectangle);
             ds->First();
         },
         false, QByteArray("VCLDBIF") + Bytes({1, 2, 0, 0, 0, 1, 0, 1, 0, 3, 3, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0x14, 0x40, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid()->Selection()->Clear();
        c.select();
        EXPECT_EQ(Export<TDBGridGxExportAsVCLDBIF>(c.all).toHex(' '), c.bytes.toHex(' '));
    }
    // Everything ignores the rectangle: all visible columns of all records.
    const QByteArray all = Export<TDBGridGxExportAsVCLDBIF>(true);
    EXPECT_EQ(all.mid(8, 4), Bytes({3, 0, 0, 0}));
    EXPECT_TRUE(all.endsWith(Bytes({5, 2, 0, 0, 0, 'C', '3', 0})));
}

namespace {

// The prologue of an RTF table row: per cell its borders (l, t, b, r as "1"/"0"),
// shading colour and right edge.
QString RtfRow(const std::vector<std::tuple<const char*, int, int>>& cells)
{
    QString out = QStringLiteral("\\trowd\\trgaph40\r\n");
    const char* words[] = {"\\clbrdrl", "\\clbrdrt", "\\clbrdrb", "\\clbrdrr"};
    for (const auto& [sides, shade, x] : cells) {
        for (int k = 0; k < 4; ++k)
            if (sides[k] == '1')
                out += QString::fromLatin1(words[k]) + QStringLiteral("\\brdrs\\brdrcf0\r\n");
        out += QStringLiteral("\\clshdng10000\\clcfpat%1\\cellx%2\r\n").arg(shade).arg(x);
    }
    return out + QStringLiteral("{\\trrh0\r\n");
}

QString RtfCell(const char* words)
{
    return QStringLiteral("\\pard\\intbl{") + QString::fromLatin1(words) + QStringLiteral("\\cell}\r\n");
}

const QString RtfRowEnd = QStringLiteral("\\pard\\intbl\\row}\r\n");

} // namespace

// A flat grid with a bold italic title font, a cell colour from the cell event,
// Chinese text and a font name as Unicode escapes, braces and a backslash escaped.
TEST_F(ExportFixture, RtfDocument)
{
    grid()->Font()->SetName(QStringLiteral("宋体"));
    grid()->TitleFont()->SetName(QStringLiteral("宋体"));
    column(0)->SetWidth(64);
    column(1)->SetWidth(100);
    column(2)->SetVisible(false);
    column(3)->SetVisible(false);
    column(0)->Title()->Font()->SetStyle(fsBold | fsItalic);
    grid()->SetFlat(true);
    grid()->OnGetCellParams = [this](QObject*, TColumnGx* c, TFont*, TColor& back, TGridDrawState) {
        if (c == column(1))
            back = clRed;
    };
    ds->SetRecNo(2);
    ds->Edit();
    ds->FieldByName(QStringLiteral("mname"))->SetAsString(QStringLiteral("{x}\\"));
    ds->Post();
    SelectRows({1, 2});
    const QString expected =
        QStringLiteral("{\\rtf0\\ansi\r\n"
                       "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red239\\green239\\blue239;"
                       "\\red255\\green0\\blue0;}\r\n"
                       "{\\fonttbl\\f0\\fnil \\u23435?\\u20307?;}\r\n") +
        RtfRow({{"1111", 2, 960}, {"1111", 2, 2460}}) + RtfCell("\\ql\\sb12\\sa12\\fs18\\b\\i\\f0\\cf0\\cb2 id") +
        RtfCell("\\ql\\sb12\\sa12\\fs18\\f0\\cf0\\cb2 mname") + RtfRowEnd +
        RtfRow({{"1111", 1, 960}, {"1111", 3, 2460}}) + RtfCell("\\qr\\sb12\\sa12\\fs18\\f0\\cf0\\cb1 1") +
        RtfCell("\\ql\\sb12\\sa12\\fs18\\f0\\cf0\\cb3 \\u-27486?\\u31563?") + RtfRowEnd +
        RtfRow({{"1111", 1, 960}, {"1111", 3, 2460}}) + RtfCell("\\qr\\sb12\\sa12\\fs18\\f0\\cf0\\cb1 2") +
        RtfCell("\\ql\\sb12\\sa12\\fs18\\f0\\cf0\\cb3 \\{x\\}\\\\") + RtfRowEnd + QStringLiteral("}");
    EXPECT_EQ(QString::fromLatin1(Export<TDBGridGxExportAsRTF>()), expected);
}

// Captions A|x, A|y and B: two title rows; B spans both, the upper A spans two
// columns without the border between them; the raised grid spaces by 24.
TEST_F(ExportFixture, RtfMultiLevelTitles)
{
    grid()->TitleFont()->SetName(QStringLiteral("Sans"));
    grid()->Font()->SetName(QStringLiteral("Sans"));
    column(3)->SetVisible(false);
    const char* captions[] = {"A|x", "A|y", "B"};
    for (int i = 0; i < 3; ++i) {
        column(i)->Title()->SetCaption(QString::fromLatin1(captions[i]));
        column(i)->SetWidth(64);
    }
    grid()->SetUseMultiTitle(true);
    QApplication::processEvents();
    SelectRows({1});
    const QString doc = QString::fromLatin1(Export<TDBGridGxExportAsRTF>());
    const QString titles =
        RtfRow({{"1110", 2, 960}, {"0111", 2, 1920}, {"1101", 2, 2880}}) +
        RtfCell("\\qc\\sb55\\sa55\\fs18\\f0\\cf0\\cb2 A") + RtfCell("\\qc\\fs18\\f0\\cf0\\cb2 ") +
        RtfCell("\\qc\\sb55\\sa55\\fs18\\f0\\cf0\\cb2 B") + RtfRowEnd +
        RtfRow({{"1111", 2, 960}, {"1111", 2, 1920}, {"1011", 2, 2880}}) +
        RtfCell("\\qc\\sb55\\sa55\\fs18\\f0\\cf0\\cb2 x") + RtfCell("\\qc\\sb55\\sa55\\fs18\\f0\\cf0\\cb2 y") +
        RtfCell("\\qc\\fs18\\f0\\cf0\\cb2 ") + RtfRowEnd;
    const int at = int(doc.indexOf(QStringLiteral("\\trowd")));
    ASSERT_GT(at, 0);
    EXPECT_EQ(doc.mid(at, titles.size()), titles);
    EXPECT_TRUE(doc.mid(at + titles.size()).startsWith(RtfRow({{"1111", 1, 960}, {"1111", 1, 1920}, {"1111", 1, 2880}})));
    EXPECT_TRUE(doc.contains(QStringLiteral("\\qr\\sb24\\sa24\\fs18\\f0\\cf0\\cb1 1\\cell}")));
}

TEST(DBGridGxRtf, TextEscapes)
{
    EXPECT_EQ(RtfEscapedText(QStringLiteral("a\\b{c}d")), QByteArray("a\\\\b\\{c\\}d"));
    EXPECT_EQ(RtfEscapedText(QStringLiteral("材料")), QByteArray("\\u26448?\\u26009?"));
    EXPECT_EQ(RtfEscapedText(QStringLiteral("x\ty")), QByteArray("x\\tab y"));
}

// Numbers in text as the grid's centre prefers them: edit text or display text;
// CSV always writes the display text.
TEST_F(ExportFixture, NumberTextsAndFiles)
{
    auto* qty = static_cast<TNumericField*>(ds->FieldByName(QStringLiteral("qty")));
    qty->SetDisplayFormat(QStringLiteral("#,##0.00"));
    qty->SetEditFormat(QStringLiteral("0.###"));
    ASSERT_NE(grid()->Center(), nullptr);
    grid()->SetSelectedIndex(2);
    EXPECT_EQ(Export<TDBGridGxExportAsText>(), QByteArray("1.50"));
    grid()->Center()->PreferEditFormatForNumberFields = true;
    EXPECT_EQ(Export<TDBGridGxExportAsText>(), QByteArray("1.5"));
    EXPECT_EQ(Export<TDBGridGxExportAsUnicodeText>(), Bytes({'1', 0, '.', 0, '5', 0}));
    EXPECT_EQ(Export<TDBGridGxExportAsCSV>(), QByteArray("\"1.50\""));
    grid()->Center()->PreferEditFormatForNumberFields = false;

    // Through a file: written whole, read back into the records.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lines.bin"));
    TDBGridGxExportAsVCLDBIF exporter;
    exporter.SetDBGridGx(grid());
    exporter.ExportToFile(file, true);
    const QStringList before = Rows();
    ds->Edit();
    ds->FieldByName(QStringLiteral("mname"))->SetAsString(QStringLiteral("changed"));
    ds->Post();
    TDBGridGxImportAsVCLDBIF importer;
    importer.SetDBGridGx(grid());
    importer.ImportFromFile(file, true);
    EXPECT_EQ(Rows(), before);
}

// A footer row in RTF: shaded with the footer's colour, its text after the footer event.
TEST_F(ExportFixture, RtfFooterRow)
{
    grid()->Font()->SetName(QStringLiteral("Sans"));
    for (int i = 0; i < 4; ++i)
        column(i)->SetWidth(64);
    column(0)->SetVisible(false);
    column(1)->SetVisible(false);
    column(3)->SetVisible(false);
    column(2)->Footer()->SetValueType(fvtSum);
    column(2)->Footer()->SetColor(clYellow);
    column(2)->Footer()->SetAlignment(taRightJustify);
    grid()->SetFooterRowCount(1);
    grid()->SumList()->SetActive(true);
    SelectRows({1, 3});
    const QString doc = QString::fromLatin1(Export<TDBGridGxExportAsRTF>());
    EXPECT_TRUE(doc.contains(QStringLiteral("\\red255\\green255\\blue0;")));
    const QString footer = RtfRow({{"1111", 3, 960}}) + RtfCell("\\qr\\sb24\\sa24\\fs18\\f0\\cf0\\cb3 6.5") + RtfRowEnd +
                           QStringLiteral("}");
    EXPECT_TRUE(doc.endsWith(footer)) << doc.right(footer.size() + 40).toStdString();
}
