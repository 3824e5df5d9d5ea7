// Shared routines: SQL literals, rounding, numeric text, dates, sub-folders.
#include "DataProcess.h"
#include "platform/rtl/Program.h"
#include "qstringprint.h"
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

TEST(DataProcess, SqlLiterals)
{
    struct Case { Variant v; const char* sql; } cases[] = {
        {Variant(QStringLiteral("  O'Brien \t")), "'O''Brien'"},
        {Variant(QStringLiteral("\n")), "''"},
        {Variant(true), "1"},
        {Variant(false), "0"},
        {Variant::Null(), "NULL"},
        {Variant(5), "'5'"},
        {Variant(12.5), "'12.5'"},
        {Variant(Currency::FromRaw(-10001)), "'-1.0001'"},
        {Variant(), "''"},
        {Variant(EncodeDate(2024, 1, 5)), "'2024-01-05'"},
        {Variant(TDateTime(EncodeDate(2024, 1, 5).Value + EncodeTime(8, 30, 0, 0).Value)), "'2024-01-05 08:30:00'"},
        {Variant(QStringLiteral("材料 ")), "'材料'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vartosqlvalue(c.v), QString::fromUtf8(c.sql)) << c.sql;
}

TEST(DataProcess, RoundingWorksOnTheDoubleValue)
{
    struct Case { int n; double x; double expected; } cases[] = {
        {2, 2.345, 2.35}, {2, 0.125, 0.12}, {2, 1.005, 1.00}, {2, 2.675, 2.67},
        {0, 2.5, 3}, {0, -2.5, -3}, {0, 0.5, 1}, {0, -0.4, 0}, {-1, 15, 20}, {-1, -15, -20},
        {2, 160.0 / 15.0, 10.67}, {4, 0.00005, 0.0001}, {2, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(roundtodigits(qint8(c.n), c.x), c.expected) << c.n << " " << c.x;
}

TEST(DataProcess, NumericText)
{
    struct Case { const char* s; bool ok; } cases[] = {
        {"12.50", true}, {"", true}, {"1.2.3", false}, {"-1", false}, {"1 000", false},
        {"1,000", false}, {"1e5", false}, {".", true}, {"007", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isnumstr(QString::fromLatin1(c.s)), c.ok) << c.s;
}

TEST(DataProcess, DatePart)
{
    TDateTime d(EncodeDate(2023, 12, 31).Value + 0.75);
    EXPECT_EQ(dateofdatetime(d), EncodeDate(2023, 12, 31));
    SetClockForTesting([] { return TDateTime(EncodeDate(2024, 2, 29).Value + 0.5); });
    EXPECT_EQ(datetoday(), EncodeDate(2024, 2, 29));
    SetClockForTesting({});
}

TEST(DataProcess, SubFolderIsCreatedOnFirstUse)
{
    QTemporaryDir dir;
    SetProgramDirForTesting(dir.path());
    const QString expected = dir.path() + QStringLiteral("/log/");
    EXPECT_FALSE(QDir(expected).exists());
    EXPECT_EQ(getappsubdir(QStringLiteral("log")), expected);
    EXPECT_TRUE(QDir(expected).exists());
    EXPECT_EQ(getappsubdir(QStringLiteral("log")), expected);
    SetProgramDirForTesting(QString());
}

TEST(DataProcess, BottomLeftOfANestedControl)
{
    QWidget window;
    window.setGeometry(100, 50, 300, 200);
    QWidget panel(&window);
    panel.setGeometry(10, 20, 200, 100);
    QWidget edit(&panel);
    edit.setGeometry(5, 7, 80, 21);
    window.show();
    EXPECT_EQ(getcontrolbottomleft(&edit), window.mapToGlobal(QPoint(15, 48)));
}

TEST(DataProcess, StockDetailQueryText)
{
    const QString sql = getsrgdetailsql();
    EXPECT_TRUE(sql.startsWith(QStringLiteral("SELECT  dbo.mrplist.bdate, dbo.mrplist.bnum,dbo.mtrlist.mname,")));
    EXPECT_TRUE(sql.endsWith(QStringLiteral("LEFT OUTER JOIN dbo.suplist ON dbo.mrplist.supid = dbo.suplist.fid")));
}

// The range given with a code prefix holds every text the LIKE matches: the bound raises the
// folded last character, steps over the blank (trailing blanks do not count) and the surrogates.
TEST(DataProcess, PrefixConditionRange)
{
    struct Case { QString code; bool ranged; const char* sql; } cases[] = {
        {QStringLiteral("0001"), false, "c like '0001%'"},
        {QString(), true, "c like '%'"},
        {QStringLiteral("0001"), true, "c like '0001%' and c >= '0001' and c < '0002'"},
        {QStringLiteral("Ab"), true, "c like 'Ab%' and c >= 'Ab' and c < 'ac'"},
        {QStringLiteral("o'_"), true, "c like 'o''!_%' escape '!' and c >= 'o''_' and c < 'o''`'"},
        {QStringLiteral("a\x1f"), true, "c like 'a\x1f%' and c >= 'a\x1f' and c < 'a!'"},
        {QStringLiteral("分类") + QChar(0xD7FF), true, "c like '分类\xed\x9f\xbf%' and c >= '分类\xed\x9f\xbf' and c < '分类\xee\x80\x80'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(prefixcondition(QStringLiteral("c"), c.code, c.ranged), QString::fromUtf8(c.sql)) << c.sql;
}
