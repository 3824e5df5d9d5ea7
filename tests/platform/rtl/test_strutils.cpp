// String and file helpers: 1-based positions, trimming, quoting, replacing, paths.
#include "Exceptions.h"
#include "FileUtils.h"
#include "MessageSink.h"
#include "Program.h"
#include "StrUtils.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(StrUtils, Table)
{
    struct Case { QString got, want; };
    QString del = QStringLiteral("abcdef");
    Delete(del, 2, 3);
    QString ins = QStringLiteral("abc");
    Insert(QStringLiteral("XY"), ins, 2);
    QString tail = QStringLiteral("abc");
    Insert(QStringLiteral("Z"), tail, 99);
    const Case cases[] = {
        {Trim(QStringLiteral(" \t钢筋\r\n")), QStringLiteral("钢筋")},
        {TrimLeft(QStringLiteral("  a ")), QStringLiteral("a ")},
        {TrimRight(QStringLiteral("  a ")), QStringLiteral("  a")},
        {Copy(QStringLiteral("abcdef"), 2, 3), QStringLiteral("bcd")},
        {Copy(QStringLiteral("abcdef"), 0, 2), QStringLiteral("ab")},
        {Copy(QStringLiteral("abcdef"), 5, 99), QStringLiteral("ef")},
        {Copy(QStringLiteral("abcdef"), 7, 1), QString()},
        {del, QStringLiteral("aef")},
        {ins, QStringLiteral("aXYbc")},
        {tail, QStringLiteral("abcZ")},
        {UpperCase(QStringLiteral("aéb")), QStringLiteral("AéB")},
        {AnsiUpperCase(QStringLiteral("aéb")), QStringLiteral("AÉB")},
        {QuotedStr(QStringLiteral("it's")), QStringLiteral("'it''s'")},
        {StringReplace("a-b-c", "-", "+", 0), QStringLiteral("a+b-c")},
        {StringReplace("a-b-c", "-", "+", rfReplaceAll), QStringLiteral("a+b+c")},
        {StringReplace("Dbo.T dbo.t", "DBO.", "", rfReplaceAll | rfIgnoreCase), QStringLiteral("T t")},
        {IntToHex(255, 4), QStringLiteral("00FF")},
        {IntToHex(-1, 2), QStringLiteral("FFFFFFFFFFFFFFFF")},
        {BoolToStr(true), QStringLiteral("-1")},
        {BoolToStr(false, true), QStringLiteral("False")},
        {StringOfChar(QLatin1Char('-'), 3), QStringLiteral("---")},
        {RightStr(QStringLiteral("abc"), 2), QStringLiteral("bc")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want);
    EXPECT_EQ(Pos("cd", "abcdcd"), 3);
    EXPECT_EQ(PosEx("cd", "abcdcd", 4), 5);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_TRUE(SameText("PID", "pid"));
    EXPECT_FALSE(SameText(QStringLiteral("É"), QStringLiteral("é")));
    EXPECT_TRUE(AnsiSameText(QStringLiteral("É"), QStringLiteral("é")));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_TRUE(StrToBool("TRUE"));
    EXPECT_FALSE(StrToBool("0"));
    EXPECT_THROW(StrToBool("yes"), EConvertError);
    QString guid = CreateGUIDString();
    EXPECT_EQ(guid.size(), 38);
    EXPECT_TRUE(guid.startsWith('{') && guid == guid.toUpper());
    EXPECT_NE(guid, CreateGUIDString());
}

TEST(FileUtils, PathsAndFolders)
{
    EXPECT_EQ(ExtractFilePath("/a/b/c.prt"), QStringLiteral("/a/b/"));
    EXPECT_EQ(ExtractFilePath("log\\adolinksetting.ini"), QStringLiteral("log\\"));
    EXPECT_EQ(ExtractFileDir("/a/b/c.prt"), QStringLiteral("/a/b"));
    EXPECT_EQ(ExtractFileName("/a/b/c.prt"), QStringLiteral("c.prt"));
    EXPECT_EQ(ExtractFileExt("/a.b/c"), QString());
    EXPECT_EQ(ExtractFileExt("c.tar.PRT"), QStringLiteral(".PRT"));
    EXPECT_EQ(ChangeFileExt("/a/c.prt", ".bak"), QStringLiteral("/a/c.bak"));
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), QStringLiteral("/a/"));
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), QStringLiteral("/a/"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a//"), QStringLiteral("/a"));

    QTemporaryDir dir;
    SetProgramDirForTesting(dir.path() + "/");
    EXPECT_EQ(ProgramDir(), dir.path());
    const QString deep = IncludeTrailingPathDelimiter(ProgramDir()) + "x/y";
    EXPECT_FALSE(CreateDir(deep));               // one level only
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));
    SetProgramDirForTesting(QString());
    EXPECT_NE(ProgramDir(), dir.path());
    EXPECT_FALSE(ProgramDir().endsWith('/'));
}

TEST(MessageSink, RecorderSeesEveryText)
{
    QStringList seen;
    MessageSink::Set([&](MsgKind kind, const QString& text, const QString&) {
        seen << QString::number(int(kind)) + text;
        return kind != MsgKind::Confirmation;
    });
    ShowMessage(QStringLiteral("数据保存成功！"));
    EXPECT_FALSE(MessageSink::Show(MsgKind::Confirmation, QStringLiteral("删除?")));
    MessageSink::Set({});
    EXPECT_EQ(seen, QStringList({QStringLiteral("0数据保存成功！"), QStringLiteral("3删除?")}));
}
