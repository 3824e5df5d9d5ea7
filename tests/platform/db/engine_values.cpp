// Values behave as the program expects of its server: exact numerics, canonical dates,
// case-insensitive text, quoted numbers, keys never reused, statement-level failure.
#include "engine_support.h"

class EngineValues : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure()) return;   // no engine to work on
        CreateDatabase(QStringLiteral("acc"), MiniSchema());
    }
};

TEST_F(EngineValues, NumericIsExact)
{
    for (int mid = 1; mid <= 3; ++mid)
        Run(QStringLiteral("insert into msrglist (mid, qty, cost) values (%1, 0.1, '1.23456')").arg(mid));
    // three lines of 0.1 sum to exactly 0.3; a stored value is rounded to 4 decimals
    const Variant sum = Scalar(QStringLiteral("select sum(qty) as qty from msrglist"));
    ASSERT_EQ(sum.Type(), VarType::Double);
    EXPECT_EQ(sum.AsDoubleRaw(), 0.3);
    const DbResult r = Run(QStringLiteral("select qty, cost from msrglist where mid=1"));
    ASSERT_EQ(r.columns.size(), 2);
    EXPECT_EQ(r.columns[0].type, DbColumnType::Bcd);
    EXPECT_EQ(r.rows[0][0].AsCurrencyRaw(), Currency::FromRaw(1000));
    EXPECT_EQ(r.rows[0][1].AsCurrencyRaw(), Currency::FromRaw(12346));

    // a stock that goes up and back down to zero is exactly 0 and drops out of qty<>0
    Run(QStringLiteral("update msrglist set qty=qty+0.2 where mid=1"));
    Run(QStringLiteral("update msrglist set qty=qty+0.7 where mid=1"));
    Run(QStringLiteral("update msrglist set qty=qty-1 where mid=1"));
    Run(QStringLiteral("update msrglist set qty=5.55111512312578E-17 where mid=2"));   // a client-side double difference
    EXPECT_EQ(Rows(QStringLiteral("select mid from msrglist where qty<>0")), QStringList{QStringLiteral("3")});
    EXPECT_EQ(Rows(QStringLiteral("select mid from msrglist where qty=0 order by mid")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    // half away from zero, as a numeric(18,4) column stores it
    Run(QStringLiteral("update msrglist set qty=-2.00005 where mid=3"));
    EXPECT_EQ(Scalar(QStringLiteral("select qty from msrglist where mid=3")).AsCurrencyRaw(), Currency::FromRaw(-20001));
    EXPECT_THROW(Run(QStringLiteral("update msrglist set qty='abc' where mid=3")), EOleException);
}

TEST_F(EngineValues, DatesAreCanonical)
{
    const char* const inputs[] = {"2024/1/5", "2024-01-31", "2024-01-31 00:00:00", "2024-01-31 10:00", "2024-2-1", ""};
    int fid = 1;
    for (const char* d : inputs)
        Run(QStringLiteral("insert into ibmaster (fid, bdate) values (%1, '%2')").arg(fid++).arg(QLatin1String(d)));
    // '2024/1/5' written into a datetime column equals '2024-01-05'
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where bdate='2024-01-05'")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(Rows(QStringLiteral("select bdate from ibmaster where fid=1")), QStringList{QStringLiteral("2024-01-05")});
    // bdate <= '2024-01-31' takes midnight of the 31st, not 10 o'clock
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where bdate>='2024/1/1' and bdate<='2024-01-31' order by fid")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where bdate>'2024-01-31 09:59:59' order by bdate")),
              (QStringList{QStringLiteral("4"), QStringLiteral("5")}));
    // an empty text is 1900-01-01, as the server reads it
    EXPECT_EQ(Rows(QStringLiteral("select bdate from ibmaster where fid=6")), QStringList{QStringLiteral("1900-01-01")});
    // the same inside a transaction, where the statement runs under its own savepoint
    engine->BeginTransaction();
    Run(QStringLiteral("insert into ibmaster (fid, bdate) values (7, '')"));
    Run(QStringLiteral("update ibmaster set bdate='' where fid=5"));
    engine->CommitTransaction();
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where bdate='1900-01-01' order by fid")),
              (QStringList{QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")}));
    Run(QStringLiteral("delete from ibmaster where fid=7"));
    Run(QStringLiteral("update ibmaster set bdate='2024-2-1' where fid=5"));
    // the value arrives as a date-time
    const DbResult r = Run(QStringLiteral("select bdate from ibmaster where fid=4"));
    EXPECT_EQ(r.columns[0].type, DbColumnType::DateTime);
    EXPECT_DOUBLE_EQ(r.rows[0][0].AsDateRaw().Value, EncodeDate(2024, 1, 31).Value + 10.0 / 24.0);
    // days in use are counted inclusively by the reports
    EXPECT_EQ(Scalar(QStringLiteral("select datediff(day,a.bdate,'2024-01-05')+1 from ibmaster a where fid=1")).AsIntRaw(), 1);
    EXPECT_EQ(Scalar(QStringLiteral("select datediff(day,'2024-01-31 23:59','2024-02-01 00:01')")).AsIntRaw(), 1);
    EXPECT_THROW(Run(QStringLiteral("insert into ibmaster (fid, bdate) values (9, '2024-13-01')")), EOleException);
}

TEST_F(EngineValues, GetDateFollowsThePlatformClock)
{
    SetClockForTesting([] { return TDateTime(EncodeDate(2024, 3, 9).Value + 0.5); });
    Run(QStringLiteral("insert into ibmaster (fid, bdate) values (1, getdate())"));
    SetClockForTesting({});
    EXPECT_EQ(Rows(QStringLiteral("select bdate from ibmaster")), QStringList{QStringLiteral("2024-03-09 12:00:00")});
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where bdate>'2024-03-09' and bdate<'2024/3/10'")), QStringList{QStringLiteral("1")});
}

TEST_F(EngineValues, TextIgnoresCaseAndTrailingBlanks)
{
    EXPECT_EQ(Scalar(QStringLiteral("select id from IDlist  with(Xlock) where IDname='pid'")).AsIntRaw(), 0);
    Run(QStringLiteral("update idlist set id=1 where idname='pid'"));
    EXPECT_EQ(Scalar(QStringLiteral("select ID from IDLIST where IDNAME='PID'")).AsIntRaw(), 1);
    // nchar keeps its blanks and still compares equal without them
    Run(QStringLiteral("insert into ebmaster (fid, dptcode) values (1, '001002')"));
    const DbResult r = Run(QStringLiteral("select dptcode from ebmaster where dptcode='001002'"));
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(r.columns[0].type, DbColumnType::FixedChar);
    EXPECT_EQ(r.rows[0][0].AsStringRaw().size(), 50);
    EXPECT_EQ(Rows(QStringLiteral("select fid from ebmaster where dptcode like '001%'")), QStringList{QStringLiteral("1")});
    // a unique index on text refuses a second name differing in case only
    Run(QStringLiteral("insert into emylist (emyname) values ('Wang')"));
    EXPECT_THROW(Run(QStringLiteral("insert into emylist (emyname) values ('WANG')")), EOleException);
}

TEST_F(EngineValues, QuotedNumbersCompareAsNumbers)
{
    for (int fid : {2, 9, 17, 100})
        Run(QStringLiteral("insert into ibmaster (fid, pid) values ('%1', %1)").arg(fid));
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where fid='17'")), QStringList{QStringLiteral("17")});
    EXPECT_EQ(Rows(QStringLiteral("select fid from ibmaster where fid>'9' order by fid")),
              (QStringList{QStringLiteral("17"), QStringLiteral("100")}));
    const DbResult r = Run(QStringLiteral("select a.fid, a.brecorded, b.smallv from ibmaster a, ebmaster b where 1=0"));
    EXPECT_EQ(r.columns[0].type, DbColumnType::Integer);
    EXPECT_EQ(r.columns[1].type, DbColumnType::Boolean);
    EXPECT_EQ(r.columns[2].type, DbColumnType::SmallInt);
}

TEST_F(EngineValues, KeysAreNeverReused)
{
    for (const char* n : {"a", "b", "c"})
        Run(QStringLiteral("insert into emylist (emyname) values ('%1')").arg(QLatin1String(n)));
    Run(QStringLiteral("delete emylist where fid=3"));
    Run(QStringLiteral("insert into emylist (emyname) values ('d')"));
    EXPECT_EQ(Scalar(QStringLiteral("select fid from emylist where emyname='d'")).AsIntRaw(), 4);
    EXPECT_EQ(Scalar(QStringLiteral("select visibled from emylist where emyname='d'")).AsBoolRaw(), true);
}

TEST_F(EngineValues, FailingStatementInTransactionFailsAlone)
{
    engine->BeginTransaction();
    Run(QStringLiteral("insert into msrglist (mid, qty) values (1, 1)"));
    EXPECT_THROW(Run(QStringLiteral("insert into msrglist (mid, qty) values (1, 2)")), EOleException);   // key taken
    EXPECT_THROW(Run(QStringLiteral("insert into nosuchtable values (1)")), EOleException);
    Run(QStringLiteral("insert into msrglist (mid, qty) values (2, 2)"));
    EXPECT_TRUE(engine->InTransaction());
    engine->CommitTransaction();
    EXPECT_EQ(Rows(QStringLiteral("select mid, qty from msrglist order by mid")),
              (QStringList{QStringLiteral("1|1"), QStringLiteral("2|2")}));

    engine->BeginTransaction();
    Run(QStringLiteral("delete msrglist where mid=1"));
    engine->RollbackTransaction();
    EXPECT_EQ(Scalar(QStringLiteral("select count(*) from msrglist")).AsIntRaw(), 2);
}

TEST_F(EngineValues, ResultColumnsAndRowLimits)
{
    for (int mid = 1; mid <= 5; ++mid)
        Run(QStringLiteral("insert into msrglist (mid, qty) values (%1, %1)").arg(mid));
    const DbResult r = Run(QStringLiteral("select mid, qty*2, sum(qty) as total, 'x' as k from msrglist group by mid order by mid"), 3);
    ASSERT_EQ(r.rows.size(), 3);
    ASSERT_EQ(r.columns.size(), 4);
    EXPECT_EQ(r.columns[0].name, QStringLiteral("mid"));
    EXPECT_TRUE(r.columns[1].name.isEmpty());            // an expression without a name
    EXPECT_EQ(r.columns[2].name, QStringLiteral("total"));
    EXPECT_EQ(r.columns[3].type, DbColumnType::String);
    const DbResult w = Run(QStringLiteral("update msrglist set qty=0 where mid>2"));
    EXPECT_FALSE(w.hasResultSet);
    EXPECT_EQ(w.rowsAffected, 3);
    // top n
    EXPECT_EQ(Rows(QStringLiteral("select  top 2  mid  from msrglist order by mid desc")),
              (QStringList{QStringLiteral("5"), QStringLiteral("4")}));
}
