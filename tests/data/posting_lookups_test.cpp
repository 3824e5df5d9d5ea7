// The posting's read-ahead answers by the text of the names a caller gives, wherever that text
// lives, and keeps a row read again after a write made it forgotten.
#include "PostingLookups.h"
#include <gtest/gtest.h>

namespace {

// One row per material: mid, qty.
DbResult stock(std::initializer_list<std::pair<int, int>> rows)
{
    DbResult r;
    r.columns = {DbColumn{QStringLiteral("mid")}, DbColumn{QStringLiteral("QTY")}};
    for (const auto& [mid, qty] : rows)
        r.rows.append(DbRow{Variant(mid), Variant(qty)});
    return r;
}

int qty(const PostingRows* kept)
{
    const Variant* v = kept && kept->count == 1 ? kept->value(u"Qty") : nullptr;
    return v ? v->ToInt() : -1;
}

} // namespace

TEST(PostingLookups, NamesAreReadByTheirTextWhereverItLives)
{
    PostingLookups lookups;
    const QString table = QStringLiteral("msrglist");
    lookups.take(table, {QStringLiteral("mid")}, {1, 2}, stock({{1, 5}}));
    // The same buffer holding another field name later: a call site's address is no name.
    char16_t text[] = u"mid";
    const QString field = QString::fromRawData(reinterpret_cast<const QChar*>(text), 3);
    EXPECT_EQ(qty(lookups.find(table, {field}, {1})), 5);
    text[0] = u'f';
    EXPECT_EQ(lookups.find(table, {field}, {1}), nullptr);
    text[0] = u'M';
    EXPECT_EQ(qty(lookups.find(QStringLiteral("MSRGLIST"), {field}, {1})), 5);
    // A key read without rows is known to have none.
    const PostingRows* none = lookups.find(table, {QStringLiteral("mid")}, {2});
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->count, 0);
}

TEST(PostingLookups, ARowForgottenByAWriteIsKeptAgainWhenReadAgain)
{
    PostingLookups lookups;
    const QString table = QStringLiteral("msrglist");
    const QString mid = QStringLiteral("mid");
    lookups.take(table, {mid}, {1, 2}, stock({{1, 5}, {2, 6}}));
    lookups.expect(table, {mid}, {1});
    lookups.write(QStringLiteral("update msrglist set qty=7 where mid=1"));
    EXPECT_EQ(lookups.find(table, {mid}, {1}), nullptr);
    EXPECT_EQ(qty(lookups.find(table, {mid}, {2})), 6);
    lookups.take(table, {mid}, {1, 2}, stock({{1, 7}, {2, 8}}));
    EXPECT_EQ(qty(lookups.find(table, {mid}, {1})), 7);
    EXPECT_EQ(qty(lookups.find(table, {mid}, {2})), 6);   // kept as first read
    // A write the posting cannot tell forgets everything.
    lookups.write(QStringLiteral("exec sp_whatever"));
    EXPECT_EQ(lookups.find(table, {mid}, {1}), nullptr);
    EXPECT_EQ(lookups.find(table, {mid}, {2}), nullptr);
}
