// Grid data read back from text, UTF-16 text and the binary interchange format:
// reader tables (short and long lines, empty cells, LF and CR LF line ends, the NUL end,
// signatures and lengths), the error question, key pick lists and lookups.
#include "dbgrid_impexp_fixture.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include <QtEndian>
#include <gtest/gtest.h>

using namespace gxpaint;
using namespace std::literals;

namespace {

struct ImportFixture : ImpExpFixture {
    TDialogScriptScope dialogs;
    void SetUp() override
    {
        ImpExpFixture::SetUp();
        column(0)->SetVisible(false);   // mname, qty and code take the cells
    }
    // The text in the reader's encoding: 8-bit or UTF-16 little-endian.
    static QByteArray Encoded(const QString& text, bool wide)
    {
        if (!wide)
            return text.toLocal8Bit();
        QByteArray b(text.size() * 2, '\0');
        for (int i = 0; i < text.size(); ++i)
            qToLittleEndian<quint16>(text.at(i).unicode(), b.data() + 2 * i);
        return b;
    }
    void ImportText(const QString& text, bool wide, bool all = true)
    {
        if (wide)
            Import<TDBGridGxImportAsUnicodeText>(Encoded(text, true), all);
        else
            Import<TDBGridGxImportAsText>(Encoded(text, false), all);
    }
};

const QStringList Original = {QStringLiteral("钢筋|1.5|A\"1"), QStringLiteral("cement|2.25|~"),
                              QStringLiteral("~|5|C3")};

} // namespace

TEST_F(ImportFixture, TextReaders)
{
    struct Case {
        const char* name;
        std::string_view text;
        QStringList rows;
    };
    const Case cases[] = {
        {"two lines from the first record, ending in NUL", "a\t7\tb\r\nc\0"sv,
         {"a|7|b", "c|2.25|~", "~|5|C3"}},
        {"a long line drops its extra cells", "a\t7\tb\textra\tmore\r\n"sv,
         {"a|7|b", "cement|2.25|~", "~|5|C3"}},
        {"a short line leaves the other columns", "a\r\nb\t3\r\n"sv,
         {"a|1.5|A\"1", "b|3|~", "~|5|C3"}},
        {"empty cells: empty text, NULL for numbers", "\t\tz\r\nq\t\t\r\n"sv,
         {"|~|z", "q|~|", "~|5|C3"}},
        {"an empty line empties the first cell", "\r\nx\0"sv,
         {"|1.5|A\"1", "x|2.25|~", "~|5|C3"}},
        {"reading stops at NUL", "a\0b\tc\r\nd"sv,
         {"a|1.5|A\"1", "cement|2.25|~", "~|5|C3"}},
        {"rows past the last record are appended", "1\r\n2\r\n3\r\n4\t8\0"sv,
         {"1|1.5|A\"1", "2|2.25|~", "3|5|C3", "4|8|~"}},
        {"a lone LF ends the line as CR LF does", "a\t4\nb\r\nc\t6\n"sv, {"a|4|A\"1", "b|2.25|~", "c|6|C3"}},
        {"an empty line of LF alone empties the first cell", "\nx\0"sv, {"|1.5|A\"1", "x|2.25|~", "~|5|C3"}},
    };
    for (bool wide : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (wide ? " (UTF-16)" : " (8-bit)"));
            SetUp();
            ImportText(QString::fromUtf8(c.text.data(), qsizetype(c.text.size())), wide);
            EXPECT_EQ(Rows(), c.rows);
            EXPECT_FALSE(Rows().join(QString()).contains(QChar(0)));
        }
}

// Pasting while a new record waits unposted: the stream's rows become new records.
TEST_F(ImportFixture, RowsBecomeNewRecordsWhileInserting)
{
    ds->SetRecNo(2);
    ds->Insert();
    ImportText(QStringLiteral("x\t1\r\ny\t2\r\n"), false, false);
    QStringList rows = Rows();
    EXPECT_EQ(rows.size(), 5);
    EXPECT_TRUE(rows.contains(QStringLiteral("x|1|~")));
    EXPECT_TRUE(rows.contains(QStringLiteral("y|2|~")));
    EXPECT_EQ(ds->State(), dsBrowse);
}
