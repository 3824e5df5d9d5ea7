// Account sets made before text lengths were checked (an older build's databases and backups):
// once opened, a text longer than its column is refused as in a new account set, whole
// statements at a time, while what they hold stays as it is.
#include "engine_support.h"
#include "platform/db/sqlite/SqliteEngine.h"
#include <QDir>

class EngineLengths : public EngineTest {
protected:
    // An embedded-engine backup of account set "legacy" as an older build wrote it: the text
    // columns of its table carry their declared length but no check of it.
    QString LegacyBackup()
    {
        const QString folder = Folder() + QStringLiteral("/older");
        const std::unique_ptr<DbEngine> older = OpenDbEngine(QStringLiteral("\\sqlexpress"), 5, folder);
        DbResult r;
        older->Execute(QStringLiteral("create database legacy"), r);
        older->Execute(QStringLiteral("Use legacy"), r);
        auto* native = dynamic_cast<sqlitedb::SqliteEngine*>(older.get());
        EXPECT_NE(native, nullptr);
        if (!native) return QString();
        native->ExecuteNative(QStringLiteral("create table \"mtrlist\" (\"fid\" integer primary key autoincrement, "
                                             "\"code\" varchar (6) collate dpxci, \"mname\" nvarchar(8) collate dpxci, "
                                             "\"remark\" text collate dpxci)"), r);
        native->ExecuteNative(QStringLiteral("insert into mtrlist (code, mname) values ('000001', '螺纹钢')"), r);
        native->ExecuteNative(QStringLiteral("insert into mtrlist (code, mname) values ('000002', '水泥')"), r);
        older->Execute(QStringLiteral("Use Master"), r);
        const QString file = folder + QStringLiteral("/legacy.bak");
        older->Execute(QStringLiteral("BACKUP DATABASE legacy TO DISK ='%1' with init").arg(file), r);
        // that build's template: the account set's schema as it was then
        QDir().mkpath(Folder() + QStringLiteral("/dpxdata"));
        older->Execute(QStringLiteral("BACKUP DATABASE legacy TO DISK ='%1/dpxdata/materialdb' with init").arg(Folder()), r);
        SetProgramDirForTesting(Folder());
        return file;
    }
    void TearDown() override
    {
        EngineTest::TearDown();
        SetProgramDirForTesting(QString());
    }
    // The rows of the table, read by a client of its own.
    QStringList Materials()
    {
        auto client = OpenClient();
        DbResult r;
        client->Execute(QStringLiteral("Use legacy"), r);
        client->Execute(QStringLiteral("select code, mname from mtrlist order by code"), r);
        QStringList out;
        for (const DbRow& row : r.rows) out << row[0].ToString() + u'|' + row[1].ToString();
        return out;
    }
};

TEST_F(EngineLengths, AnOlderAccountSetRefusesOverLongTextsOnceOpened)
{
    const QString backup = LegacyBackup();
    ASSERT_FALSE(backup.isEmpty());
    Run(QStringLiteral("Use Master  RESTORE DATABASE legacy FROM DISK ='%1' with file=1,replace,MOVE 'materialdb_data' TO '%2',"
                       "MOVE 'materialdB_Log' TO '%3'")
            .arg(backup, Folder() + QStringLiteral("\\Database\\legacy_data.mdf"), Folder() + QStringLiteral("\\Database\\legacy_log.ldf")));
    const QStringList before{QStringLiteral("000001|螺纹钢"), QStringLiteral("000002|水泥")};
    ASSERT_EQ(Materials(), before);
    const struct {
        const char* sql;
        const char* column;
    } overlong[] = {
        {"insert into mtrlist (code, mname) values ('0000003', '砂')", "code"},
        {"insert into mtrlist (code, mname) values ('000003', '九个汉字九个汉字九')", "mname"},
        {"update mtrlist set code='1234567' where fid=2", "code"},
        // two rows: neither is written
        {"update mtrlist set mname=N'ABCDEFGHI'", "mname"},
    };
    // Every client that opens it, the first and a later one.
    for (int client = 0; client < 2; ++client) {
        SCOPED_TRACE(client);
        std::unique_ptr<DbEngine> other = client == 0 ? nullptr : OpenClient();
        DbEngine& e = other ? *other : *engine;
        DbResult r;
        e.Execute(QStringLiteral("Use legacy"), r);
        for (const auto& c : overlong) {
            SCOPED_TRACE(c.sql);
            try {
                e.Execute(QString::fromUtf8(c.sql), r);
                ADD_FAILURE() << "written";
            } catch (const EOleException& x) {
                EXPECT_EQ(x.Message(), QStringLiteral("String or binary data would be truncated in column '%1'. "
                                                      "The statement has been terminated.").arg(QLatin1String(c.column)));
            }
        }
        EXPECT_EQ(Materials(), before);
        e.Execute(QStringLiteral("Use Master"), r);
    }
    // What fits is written; columns without a length take any text.
    Run(QStringLiteral("Use legacy"));
    Run(QStringLiteral("insert into mtrlist (code, mname, remark) values ('000003', '八个汉字八个汉字', '%1')")
            .arg(QString(300, u'长')));
    Run(QStringLiteral("update mtrlist set mname='线材' where fid=1"));
    EXPECT_EQ(Materials(), (QStringList{QStringLiteral("000001|线材"), QStringLiteral("000002|水泥"),
                                        QStringLiteral("000003|八个汉字八个汉字")}));
    EXPECT_EQ(Scalar(QStringLiteral("select remark from mtrlist where code='000003'")).ToString(), QString(300, u'长'));
}
