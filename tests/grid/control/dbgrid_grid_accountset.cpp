// The data grid on a real account set: the materials of the account set's
// material list shown through a query, on the embedded engine and on the server.
#include "../../data/schema_accountset.h"
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ADOQuery.h"
#include "testmain/testsupport.h"
#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DBGridAccountSet : public dpxtest::AccountSetTest {
protected:
    void SetUp() override
    {
        dpxtest::AccountSetTest::SetUp();
        InitDBGridGxUnits();
        for (const char* sql : {"insert into mtrlist (FID, bID, code, mname, munit) values (1, 1, '000001', '钢筋', '吨')",
                                "insert into mtrlist (FID, bID, code, mname, munit) values (2, 1, '000002', '水泥', '袋')",
                                "insert into mtrlist (FID, bID, code, mname, munit) values (3, 1, '000003', '砂石', '方')"})
            ASSERT_EQ(run(QString::fromUtf8(sql)), QString());
        query = std::make_unique<TADOQuery>(&connection());
        query->SQL() << QStringLiteral("select code, mname, munit from mtrlist order by code");
        query->Open();
        source.SetDataSet(query.get());
    }
    void TearDown() override
    {
        grid.reset();
        query.reset();
        dpxtest::AccountSetTest::TearDown();
    }

    std::unique_ptr<TADOQuery> query;
    TDataSource source;
    std::unique_ptr<TDBGridGx> grid;
};

TEST_F(DBGridAccountSet, ShowsTheMaterialsOfTheAccountSet)
{
    grid = std::make_unique<TDBGridGx>();
    grid->resize(420, 200);
    grid->SetDataSource(&source);
    grid->show();
    QApplication::processEvents();

    // one column per field, a title row, one grid row per record
    ASSERT_EQ(grid->Columns()->Count(), 3);
    EXPECT_EQ(grid->Columns()->GetColumn(1)->FieldName(), QStringLiteral("mname"));
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->FixedCols(), 1);
    EXPECT_EQ(grid->RowCount(), 1 + 3);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->Row(), 1);

    // moving the dataset moves the grid's current row
    query->Next();
    QApplication::processEvents();
    EXPECT_EQ(grid->Row(), 2);

    const QImage shot = grid->grab().toImage();
    EXPECT_TRUE(shot.save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_accountset.png")));
}

} // namespace
