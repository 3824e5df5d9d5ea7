// What the importers make of text that is no text of their encoding, and how much of the stream
// the binary reader asks for compared with the text reader over the same rows.
#include "dbgrid_impexp_fixture.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

struct ImportChecks : ImpExpFixture {
    TDialogScriptScope dialogs;
    // The message of the import's error; empty when it went through.
    template <class T> QString Refusal(const QByteArray& bytes)
    {
        try {
            Import<T>(bytes, true);
        } catch (const Exception& e) {
            return e.Message();
        }
        return QString();
    }
};

const QStringList Original = {QStringLiteral("钢筋|1.5|A\"1"), QStringLiteral("cement|2.25|~"),
                              QStringLiteral("~|5|C3")};

// A buffer that counts what a reader asks of the device: reads from it and questions about
// its size (on a file each is a system call).
class CountingBuffer : public QBuffer {
public:
    using QBuffer::QBuffer;
    qint64 size() const override
    {
        ++sizes;
        return QBuffer::size();
    }
    mutable qint64 reads = 0;
    mutable qint64 sizes = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        ++reads;
        return QBuffer::readData(data, maxSize);
    }
};

} // namespace

TEST_F(ImportChecks, TextThatIsNotUtf8OrUtf16IsRefusedBeforeAnyCell)
{
    column(0)->SetVisible(false);
    struct Case {
        const char* name;
        bool wide;
        QByteArray bytes;
        const char* message;   // empty: imported
    };
    const QString utf8 = QStringLiteral("TDBGridGxImportAsText.CheckState: 文本不是有效的 UTF-8 编码");
    const QString utf16 = QStringLiteral("TDBGridGxImportAsUnicodeText.CheckState: 文本不是有效的 UTF-16 编码");
    const Case cases[] = {
        {"a lone continuation byte", false, QByteArray("a\tb\r\n") + Bytes({0x80}), "utf8"},
        {"a lead byte cut short", false, QByteArray("x\t") + Bytes({0xE9, 0x92}) + QByteArray("\r\n"), "utf8"},
        {"an overlong form", false, Bytes({0xC0, 0xAF}), "utf8"},
        {"bytes after the end mark are not read", false, QByteArray("ok\0", 3) + Bytes({0xFF}), ""},
        {"a lone high surrogate", true, Bytes({'a', 0, 0x3D, 0xD8, 'b', 0}), "utf16"},
        {"a lone low surrogate", true, Bytes({0x00, 0xDC, 'b', 0}), "utf16"},
        {"an odd byte at the end", true, Bytes({'a', 0, 'b'}), "utf16"},
        {"a pair is one character", true, Bytes({0x3D, 0xD8, 0x00, 0xDE, 0, 0}), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ds->CancelUpdates();
        ds->First();
        const QString message = c.wide ? Refusal<TDBGridGxImportAsUnicodeText>(c.bytes)
                                       : Refusal<TDBGridGxImportAsText>(c.bytes);
        const QString expected = *c.message == 0 ? QString() : QString::fromLatin1(c.message) == u"utf8" ? utf8 : utf16;
        EXPECT_EQ(message, expected);
        if (!expected.isEmpty()) {
            EXPECT_EQ(Rows(), Original);
        }
    }
    EXPECT_EQ(Rows().value(0), QStringLiteral("😀|1.5|A\"1"));
}

// The same rows as text and in the binary format: the binary reader asks the device no more
// often than the text reader does, and asks its size a few times for the whole stream, not for
// every value (reads and size questions counted, not timed; on a file each is a system call),
// so that a large stream loads about as fast either way.
TEST_F(ImportChecks, BinaryReaderAsksTheDeviceNoMoreThanTheTextReader)
{
    constexpr int kRows = 1000;
    // No NULLs: the text formats write them as empty texts.
    for (ds->First(); !ds->Eof(); ds->Next()) {
        ds->Edit();
        for (const char* f : {"mname", "code"})
            if (ds->FieldByName(QString::fromLatin1(f))->IsNull())
                ds->FieldByName(QString::fromLatin1(f))->SetAsString(QStringLiteral("n"));
        ds->Post();
    }
    for (int i = 0; i < kRows; ++i)
        ds->AppendRecord({Variant(10 + i), Variant(QStringLiteral("钢筋%1").arg(i)), Variant(i * 0.25),
                          Variant(QStringLiteral("C%1").arg(i))});
    ds->MergeChangeLog();
    // The text without its title line: the same rows as the binary stream.
    QByteArray text = Export<TDBGridGxExportAsUnicodeText>(true);
    const QByteArray lineEnd("\r\0\n\0", 4);
    text.remove(0, text.indexOf(lineEnd) + lineEnd.size());
    const QByteArray binary = Export<TDBGridGxExportAsVCLDBIF>(true);
    const QStringList rows = Rows();
    // Each import fills the records in again.
    for (ds->First(); !ds->Eof(); ds->Next()) {
        ds->Edit();
        for (const char* f : {"mname", "qty", "code"})
            ds->FieldByName(QString::fromLatin1(f))->SetAsString(QStringLiteral("0"));
        ds->Post();
    }
    ds->MergeChangeLog();
    auto count = [&](auto reader, const QByteArray& bytes) {
        ds->CancelUpdates();
        ds->First();
        QByteArray data = bytes;
        CountingBuffer device(&data);
        device.open(QIODevice::ReadOnly);
        ImportGridFromStream(reader, grid(), &device, true);
        EXPECT_EQ(Rows(), rows);
        return std::pair{device.reads + device.sizes, device.sizes};
    };
    const auto [astext, textsizes] = count(ImportClassOf<TDBGridGxImportAsUnicodeText>(), text);
    const auto [asbinary, binarysizes] = count(ImportClassOf<TDBGridGxImportAsVCLDBIF>(), binary);
    EXPECT_GT(astext, 0);
    EXPECT_LE(asbinary, astext * 3 / 2 + 8) << "text " << astext << ", binary " << asbinary;
    // The size is asked a few times for the whole stream, not for every value.
    EXPECT_LE(binarysizes, textsizes + 8) << "text " << textsizes << ", binary " << binarysizes;
    EXPECT_LT(binarysizes, kRows / 10) << "binary " << binarysizes;
}
