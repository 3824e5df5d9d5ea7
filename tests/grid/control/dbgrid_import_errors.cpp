// Import errors and list columns: the Yes/No/All question through the dialog
// service, the binary reader's checks of signature, lengths and counts, its
// value tags, and the whole-value match of lookup and key pick-list columns.
#include "dbgrid_impexp_fixture.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"
#include <QtEndian>
#include <gtest/gtest.h>

using namespace gxpaint;

namespace {

QByteArray Header(int columns)
{
    QByteArray h = QByteArray("VCLDBIF") + Bytes({1, columns, 0, 0, 0});
    for (int i = 0; i < columns; ++i)
        h += Bytes({1, 0});
    return h;
}

struct ImportErrors : ImpExpFixture {
    TDialogScriptScope dialogs;
    // Only the 8-bit text column takes the cells.
    void OnlyCode()
    {
        for (int i = 0; i < 3; ++i)
            column(i)->SetVisible(false);
    }
};

const QString FormatError = QStringLiteral("TDBGridGxImportAsVCLDBIF.ReadPrefix: 错误的 VCLDBIF 格式");

} // namespace

TEST_F(ImportErrors, YesNoAllQuestion)
{
    OnlyCode();
    ds->FieldByName(QStringLiteral("code"))->OnSetText = [](TField* f, const QString& text) {
        if (text.startsWith(QLatin1String("bad")))
            throw EConvertError(QStringLiteral("'%1' is not a valid code").arg(text));
        f->SetAsString(text);
    };
    // Yes goes on, All asks no more.
    DialogScript::Answer(mrYes);
    DialogScript::Answer(mrAll);
    Import<TDBGridGxImportAsText>("bad1\r\nok2\r\nbad3\r\nbad4\0", true);
    ASSERT_EQ(DialogScript::Log().size(), 2);
    EXPECT_EQ(DialogScript::Log().at(0).Text,
              QStringLiteral("插入值过程中出错：\n'bad1' is not a valid code\n\n忽略错误？"));
    EXPECT_EQ(DialogScript::Log().at(0).Buttons, (QList<int>{mrYes, mrNo, mrAll}));
    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("钢筋|1.5|A\"1"), QStringLiteral("cement|2.25|ok2"),
                                   QStringLiteral("~|5|C3"), QStringLiteral("~|~|~")}));
    // No ends the import without a message of its own.
    ds->CancelUpdates();
    DialogScript::ClearLog();
    DialogScript::Answer(mrNo);
    EXPECT_THROW(Import<TDBGridGxImportAsText>("bad1\r\nok2\0", true), EAbort);
    EXPECT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(Rows().value(1), QStringLiteral("cement|2.25|~"));
    EXPECT_EQ(ds->RecNo(), 1);
}

TEST_F(ImportErrors, CarriageReturnWithoutLineFeed)
{
    EXPECT_THROW(
        {
            try {
                Import<TDBGridGxImportAsText>("a\rb", true);
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), QStringLiteral("TDBGridGxImportAsText.CheckState: 错误的文本格式"));
                throw;
            }
        },
        Exception);
    EXPECT_THROW(
        {
            try {
                Import<TDBGridGxImportAsUnicodeText>(Bytes({'a', 0, '\r', 0, 'b', 0}), true);
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), QStringLiteral("TDBGridGxImportAsUnicodeText.CheckState: 错误的文本格式"));
                throw;
            }
        },
        Exception);
    // A byte-order mark is no mark to the reader: it is the first character of the first cell.
    column(0)->SetVisible(false);
    Import<TDBGridGxImportAsUnicodeText>(Bytes({0xFF, 0xFE, 'x', 0}), true);
    EXPECT_EQ(Rows().value(0), QString(QChar(0xFEFF)) + QStringLiteral("x|1.5|A\"1"));
}

TEST_F(ImportErrors, BinaryReader)
{
    for (int i = 0; i < 2; ++i)
        column(i)->SetVisible(false);   // qty and code take the values
    struct Case {
        const char* name;
        QByteArray stream;
        bool fails;
        QStringList rows;
    };
    const QStringList original = Rows();
    const Case cases[] = {
        {"a wrong signature", QByteArray("VCLDBIX") + Bytes({1, 2, 0, 0, 0, 1, 0, 1, 0, 2, 2, 0}), true, original},
        {"a short header", QByteArray("VCLD"), true, original},
        {"tags: no value, NULL, double, 8-bit text, wide text; then the end",
         Header(2) + Bytes({1, 5, 2, 0, 0, 0, 'Z', '9', 4, 0, 0, 0, 0, 0, 0, 0x20, 0x40, 2, 2, 7, 2, 0, 0, 0, 'w', 0, 0}),
         false,
         {QStringLiteral("钢筋|1.5|Z9"), QStringLiteral("cement|8|~"), QStringLiteral("~|~|w")}},
        {"a text length beyond the stream", Header(2) + Bytes({3, 7, 0, 0, 0, 5, 0x10, 0x27, 0, 0, 'a', 'b'}), true,
         {QStringLiteral("钢筋|7|A\"1"), QStringLiteral("cement|2.25|~"), QStringLiteral("~|5|C3")}},
        {"a negative length", Header(2) + Bytes({5, 0xFF, 0xFF, 0xFF, 0xFF, 0}), true, original},
        {"a column count beyond the stream", QByteArray("VCLDBIF") + Bytes({1, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0}), true,
         original},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ds->CancelUpdates();
        ds->First();
        if (c.fails) {
            try {
                Import<TDBGridGxImportAsVCLDBIF>(c.stream, true);
                ADD_FAILURE() << "no error";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), FormatError);
            }
        } else {
            Import<TDBGridGxImportAsVCLDBIF>(c.stream, true);
        }
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(ds->RecNo(), 1);
    }
}

// A stream written by the grid reads back into the grid.
TEST_F(ImportErrors, BinaryRoundTrip)
{
    const QByteArray saved = Export<TDBGridGxExportAsVCLDBIF>(true);
    const QStringList original = Rows();
    ds->First();
    while (!ds->Eof()) {
        ds->Edit();
        ds->FieldByName(QStringLiteral("mname"))->SetAsString(QStringLiteral("x"));
        ds->FieldByName(QStringLiteral("qty"))->Clear();
        ds->Post();
        ds->Next();
    }
    ds->First();
    Import<TDBGridGxImportAsVCLDBIF>(saved, true);
    EXPECT_EQ(Rows(), original);
}

TEST_F(ImportErrors, LookupAndKeyPickListColumns)
{
    TClientDataSet units;
    units.FieldDefs().Add(QStringLiteral("uid"), ftInteger);
    units.FieldDefs().Add(QStringLiteral("uname"), ftWideString, 10);
    units.CreateDataSet();
    units.AppendRecord({Variant(1), Variant(QStringLiteral("吨"))});
    units.AppendRecord({Variant(2), Variant(QStringLiteral("米制"))});
    units.AppendRecord({Variant(3), Variant(QStringLiteral("米"))});
    units.First();
    TClientDataSet lines;
    lines.FieldDefs().Add(QStringLiteral("unitid"), ftInteger);
    lines.FieldDefs().Add(QStringLiteral("kind"), ftInteger);
    auto* unit = lines.AddField<TWideStringField>(QStringLiteral("unit"), fkLookup, 10);
    unit->KeyFields = QStringLiteral("unitid");
    unit->LookupKeyFields = QStringLiteral("uid");
    unit->LookupResultField = QStringLiteral("uname");
    unit->LookupDataSet = &units;
    lines.CreateDataSet();
    for (int i = 0; i < 3; ++i)
        lines.AppendRecord({Variant(1), Variant(1)});
    lines.First();
    host.Bind(&lines);
    grid()->Columns()->Clear();
    TColumnGx* u = grid()->Columns()->Add();
    u->SetFieldName(QStringLiteral("unit"));
    TColumnGx* k = grid()->Columns()->Add();
    k->SetFieldName(QStringLiteral("kind"));
    k->PickList() = QStringList{QStringLiteral("主材"), QStringLiteral("辅材")};
    k->KeyList() = QStringList{QStringLiteral("1"), QStringLiteral("2")};
    ASSERT_EQ(k->GetColumnType(), ctKeyPickList);

    // The whole unit name, not the first that begins with it; a name the list lacks is reported.
    DialogScript::Answer(mrYes);
    const QString text = QStringLiteral("米\t辅材\r\n千克\t辅材\r\n\t其他\0");
    Import<TDBGridGxImportAsText>(text.toLocal8Bit(), true);
    EXPECT_EQ(DialogScript::Texts(), QStringList{QStringLiteral("插入值过程中出错：\n“千克”不在列表中\n\n忽略错误？")});
    QStringList got;
    for (lines.First(); !lines.Eof(); lines.Next())
        got << lines.FieldByName(QStringLiteral("unitid"))->AsString() + QLatin1Char('/') +
                   lines.FieldByName(QStringLiteral("kind"))->AsString();
    // An empty lookup cell empties the key; a kind the pick list lacks clears the field.
    EXPECT_EQ(got, (QStringList{QStringLiteral("3/2"), QStringLiteral("1/2"), QStringLiteral("/")}));
    host.Bind(ds.get());
}
