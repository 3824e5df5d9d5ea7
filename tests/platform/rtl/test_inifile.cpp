// TIniFile with Windows INI semantics on UTF-8 files.
#include "Exceptions.h"
#include "IniFile.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}
void writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

TEST(IniFile, ReadTable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("adolinksetting.ini");
    writeAll(path, "; settings\r\n[Login]\r\nServer Name=\\sqlexpress\r\n  App Name = 某某公司 \r\n"
                   "KeepConnection=True\r\nConnectTimeOut=5\r\nQuoted=\"a b\"\r\nBad=12x\r\nHex=0x1F\r\n"
                   "[Other]\r\nServer Name=other\r\n[login]\r\nServer Name=second\r\n");
    TIniFile ini(path);
    struct Case { const char* section; const char* key; const char* value; };
    const Case cases[] = {
        {"Login", "Server Name", "\\sqlexpress"},
        {"LOGIN", "server name", "\\sqlexpress"},     // first section of the name wins, any case
        {"Login", "App Name", "某某公司"},
        {"Login", "KeepConnection", "True"},
        {"Login", "Quoted", "a b"},
        {"Other", "Server Name", "other"},
        {"Login", "Missing", "<def>"},
        {"Nowhere", "Server Name", "<def>"},
        {"Login", "; settings", "<def>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), QString::fromUtf8(c.value)) << c.section << "/" << c.key;
    EXPECT_EQ(ini.ReadInteger("Login", "ConnectTimeOut", 9), 5);
    EXPECT_EQ(ini.ReadInteger("Login", "Bad", 9), 9);
    EXPECT_EQ(ini.ReadInteger("Login", "Hex", 9), 31);
    EXPECT_EQ(ini.ReadInteger("Login", "Missing", 9), 9);
    EXPECT_FALSE(ini.ReadBool("Login", "KeepConnection", false));   // text, not an integer: the default
    EXPECT_TRUE(ini.ReadBool("Login", "ConnectTimeOut", false));    // any integer but 0 is true
    EXPECT_TRUE(ini.SectionExists("other"));
    EXPECT_TRUE(ini.ValueExists("login", "SERVER NAME"));
    EXPECT_FALSE(ini.ValueExists("login", "nothing"));
    EXPECT_EQ(ini.ReadSection("Login"), QStringList({"Server Name", "App Name", "KeepConnection", "ConnectTimeOut",
                                                     "Quoted", "Bad", "Hex"}));
    EXPECT_EQ(ini.ReadSections(), QStringList({"Login", "Other"}));

    TIniFile missing(dir.filePath("nothing/here.ini"));
    EXPECT_EQ(missing.ReadString("Login", "Server Name", "d"), QStringLiteral("d"));
    EXPECT_TRUE(missing.ReadBool("Login", "x", true));
    EXPECT_TRUE(missing.ReadSections().isEmpty());
}

TEST(IniFile, WriteUpdatesInPlace)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("printsetting.ini");
    writeAll(path, "; comment\n[materialdb]\nimbillprint=a.prt\n; keep me\nexbillprint=b.prt\n\n[Other]\nx=1\n");
    TIniFile ini(path);
    ini.WriteString("MATERIALDB", "ImBillPrint", "c.prt");
    ini.WriteString("materialdb", "new key", "v");
    ini.WriteString("Third", "Server Name", "\\sqlexpress");
    ini.WriteInteger("Other", "y", -2);
    ini.WriteBool("Other", "b", true);
    EXPECT_EQ(readAll(path), QStringLiteral("; comment\n[materialdb]\nImBillPrint=c.prt\n; keep me\nexbillprint=b.prt\n"
                                            "new key=v\n\n[Other]\nx=1\ny=-2\nb=1\n[Third]\nServer Name=\\sqlexpress\n"));
    EXPECT_TRUE(ini.ReadBool("other", "B", false));
    ini.DeleteKey("materialdb", "exbillprint");
    ini.EraseSection("other");
    EXPECT_EQ(readAll(path), QStringLiteral("; comment\n[materialdb]\nImBillPrint=c.prt\n; keep me\nnew key=v\n\n"
                                            "[Third]\nServer Name=\\sqlexpress\n"));
}

TEST(IniFile, CreatesFileAndFolderAndKeepsLineEndings)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("log/sub/QueryCon.ini");
    TIniFile ini(path);
    ini.WriteString(QStringLiteral("查询"), QStringLiteral("条件 一"), QStringLiteral("名称 like '%钢筋%'"));
    EXPECT_EQ(readAll(path), QStringLiteral("[查询]\n条件 一=名称 like '%钢筋%'\n"));
    EXPECT_EQ(TIniFile(path).ReadString(QStringLiteral("查询"), QStringLiteral("条件 一"), QString()),
              QStringLiteral("名称 like '%钢筋%'"));

    const QString crlf = dir.filePath("crlf.ini");
    writeAll(crlf, "\xEF\xBB\xBF[A]\r\nk=1\r\n");
    TIniFile(crlf).WriteString("a", "K", "2");
    QFile f(crlf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xEF\xBB\xBF[A]\r\nK=2\r\n"));
}

TEST(IniFile, UnwritableFileRaises)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("file"), "x");
    TIniFile ini(dir.filePath("file/under/a/file.ini"));
    try {
        ini.WriteString("a", "b", "c");
        FAIL();
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + ini.FileName());
    }
}
