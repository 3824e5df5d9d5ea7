// The value texts of the posting's statements, built in one piece, are the texts the general
// conversions give.
#define QT_USE_QSTRINGBUILDER
#include "DataProcess.h"
#include "StockSql.h"
#include "qstringprint.h"
#include <gtest/gtest.h>
#include <limits>

TEST(StockSqlText, ValuesReadAsTheirGeneralTexts)
{
    for (const int v : {0, 7, -7, 120, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
        EXPECT_EQ(QString(stocksql::num(v)), QString::number(v));
        EXPECT_EQ(QString(stocksql::lit(v)), vartosqlvalue(Variant(v)));
    }
    for (const double v : {0.0, -0.0, 12.5, -2450.75, 0.1 + 0.2, 1e-7, 123456789012345678.0, 5e-324, 1.0 / 3}) {
        EXPECT_EQ(QString(stocksql::num(v)), FloatToStr(v)) << v;
        EXPECT_EQ(QString(stocksql::lit(v)), vartosqlvalue(Variant(v))) << v;
    }
    for (const char* v : {"", "  ", "钢筋 Φ12", " O'Brien \t", "'", "''a''", "\n x \r"}) {
        const QString text = QString::fromUtf8(v);
        EXPECT_EQ(QString(stocksql::lit(text)), vartosqlvalue(Variant(text))) << v;
    }
    // Dates, one after the other and back (the last date's text is kept).
    for (const double v : {45356.0, 45356.75, 0.0, 45356.0, -1.5})
        EXPECT_EQ(QString(stocksql::lit(TDateTime(v))), vartosqlvalue(Variant(TDateTime(v)))) << v;
}

TEST(StockSqlText, AStatementTakesItsValuesInOnePiece)
{
    const QString remark = QStringLiteral(" 第'2'批 ");
    const QString sql = QStringLiteral("update mrplist set qty=") + stocksql::lit(12.5) + QStringLiteral(",cid=")
                      + stocksql::lit(3) + QStringLiteral(",remark=") + stocksql::lit(remark) + QStringLiteral(" where iid=")
                      + stocksql::num(-41) + QStringLiteral(" and qty>") + stocksql::num(0.25) + QStringLiteral(" and bdate>")
                      + stocksql::lit(TDateTime(45356.0));
    EXPECT_EQ(sql, QStringLiteral("update mrplist set qty='12.5',cid='3',remark='第''2''批' where iid=-41 and qty>0.25 and bdate>")
                       + vartosqlvalue(Variant(TDateTime(45356.0))));
}
