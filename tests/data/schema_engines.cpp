// The build's template and sample (embedded-engine backups) restore onto the engine of the run
// with the account-set dialog's statement, and hold exactly what that engine's own template and
// sample hold: on the server, the schema script run there and the sample's bills posted there
// give the same rows, columns and field types as on the embedded engine.
#include "schema_accountset.h"

using dpxtest::AccountSetTest;

namespace {

class BuildBackups : public AccountSetTest {
protected:
    // Every table and view of the current database: its columns with their field types and
    // sizes, then its rows in the order of every column.
    QStringList contents()
    {
        QStringList out;
        const QStringList objects = rows(QStringLiteral("select name from sysobjects where type in ('U','V') order by name"))
                                        .toLower()
                                        .split(QLatin1Char('\n'));
        for (const QString& name : objects) {
            TADOQuery q(&connection());
            q.SQL() << QStringLiteral("select * from ") + name + QStringLiteral(" where 1=0");
            q.Open();
            QStringList columns, compared;
            for (int i = 0; i < q.FieldCount(); ++i) {
                const TField* f = q.Fields()[i];
                columns << QStringLiteral("%1:%2:%3").arg(f->FieldName()).arg(int(f->DataType())).arg(f->Size());
                // The close copies the period's rows into the snapshot tables with one statement
                // each; their keys follow the order the engine reads the rows in.
                if (!(name.startsWith(QLatin1String("pre")) && f->FieldName().compare(QLatin1String("fid"), Qt::CaseInsensitive) == 0))
                    compared << f->FieldName();
            }
            out << name + QLatin1Char(' ') + columns.join(QLatin1Char(' '));
            const QString list = compared.join(QLatin1Char(','));
            out << rows(QStringLiteral("select %1 from %2 order by %1").arg(list, name));
        }
        return out;
    }

    // New rows in tables with generated keys: the keys go on after the backup's last ones.
    void addrows()
    {
        EXPECT_EQ(run(QStringLiteral("insert into userpw (Uname,Password,isadmin,visibled) values ('新用户','x',0,1)")), QString());
        EXPECT_EQ(run(QStringLiteral("insert into emylist (emyname,tel,remark,visibled) values ('新人','','',1)")), QString());
    }

    // The period close stamps its carry-forward rows with the day it ran, and the two copies may
    // have been made on different days (a build before midnight, a test after it).
    void undatecarryforward()
    {
        EXPECT_EQ(run(QStringLiteral("update imexsrglist set bdate='2000-01-01' where Comment='期末结转'")), QString());
    }

    void compare(const QString& ours, const QString& build)
    {
        ASSERT_EQ(run(restoreStatement(QStringLiteral("ours"), ours)), QString());
        ASSERT_EQ(run(restoreStatement(QStringLiteral("build"), build)), QString());
        ASSERT_EQ(run(QStringLiteral("Use ours")), QString());
        undatecarryforward();
        addrows();
        const QStringList expected = contents();
        ASSERT_EQ(run(QStringLiteral("Use build")), QString());
        undatecarryforward();
        addrows();
        const QStringList got = contents();
        ASSERT_EQ(got.size(), expected.size());
        for (int i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], expected[i]);
    }
};

} // namespace

TEST_F(BuildBackups, TemplateHoldsWhatTheSchemaScriptMakes)
{
    compare(dpxtest::templateFile(), QStringLiteral(DPX_BIN_DIR "/dpxdata/materialdb"));
}

TEST_F(BuildBackups, SampleHoldsTheSameBooks)
{
    compare(dpxtest::sampleFile(), QStringLiteral(DPX_BIN_DIR "/backdata/materialdbsample"));
}
