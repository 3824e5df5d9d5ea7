// The clipboard object: text, named formats and nested opening.
#include "Clipboard.h"

#include <gtest/gtest.h>

namespace {

TEST(Clipboard, TextRoundTripsInEveryTextFormat)
{
    TClipboard* cb = Clipboard();
    const QString text = QStringLiteral("材料\t规格\r\n水泥\t42.5");
    cb->SetAsText(text);
    EXPECT_EQ(cb->AsText(), text);
    EXPECT_TRUE(cb->HasFormat(CF_TEXT));
    EXPECT_TRUE(cb->HasFormat(CF_UNICODETEXT));
    QByteArray u = cb->GetBuffer(CF_UNICODETEXT);
    EXPECT_EQ(u.size(), (text.size() + 1) * 2);
    EXPECT_EQ(u.right(2), QByteArray(2, '\0'));
    cb->SetBuffer(CF_UNICODETEXT, u);
    EXPECT_EQ(cb->AsText(), text);
    cb->SetBuffer(CF_TEXT, QByteArray("abc\0def", 7));
    EXPECT_EQ(cb->AsText(), QStringLiteral("abc"));
}

TEST(Clipboard, NamedFormatsAndNestedOpening)
{
    const unsigned own = RegisterClipboardFormat(QStringLiteral("VCLDBIF"));
    const unsigned csv = RegisterClipboardFormat(QStringLiteral("Csv"));
    EXPECT_GE(own, 0xC000u);
    EXPECT_NE(own, csv);
    EXPECT_EQ(RegisterClipboardFormat(QStringLiteral("VCLDBIF")), own);

    TClipboard* cb = Clipboard();
    cb->SetAsText(QStringLiteral("old"));
    cb->Open();
    cb->SetBuffer(own, QByteArray("\x01\x02", 2));
    cb->Open();
    cb->SetAsText(QStringLiteral("a,b"));
    cb->SetBuffer(csv, QByteArray("a,b"));
    cb->Close();
    // The first placement emptied the clipboard: the old text is gone, both blocks are there.
    EXPECT_EQ(cb->AsText(), QStringLiteral("a,b"));
    cb->Close();
    EXPECT_TRUE(cb->HasFormat(own));
    EXPECT_EQ(cb->GetBuffer(own), QByteArray("\x01\x02", 2));
    EXPECT_EQ(cb->GetBuffer(csv), QByteArray("a,b"));
    EXPECT_EQ(cb->AsText(), QStringLiteral("a,b"));
    cb->Clear();
    EXPECT_FALSE(cb->HasFormat(own));
    EXPECT_FALSE(cb->HasFormat(CF_TEXT));
}

} // namespace
