// The period close on a real account set: the first close records period 0, the month advances
// and wraps, and a failed close leaves the month and says so.
#include "app/CloseAccountForm.h"
#include "app_fixture.h"

class PeriodClose : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(CreateAccountSet(QStringLiteral("acct"))) << lastCreation.toStdString();
        ASSERT_TRUE(Login(QStringLiteral("acct"), QStringLiteral("admin"), QStringLiteral("tulip")));
        DialogScript::ClearLog();
    }
    QString Month() { return Rows(QStringLiteral("acct"), QStringLiteral("select ivalue from systemset where name='monthid'")).value(0); }
    // The close at the date; what it said.
    QStringList Close(Tfrmbalance& f, const QDate& closing)
    {
        f.show();
        f.DateTimePicker1->setDate(closing);
        f.Button1->Click();
        return Texts();
    }
    // The form stays open and the account set is still in its first month, no period closed.
    void ExpectNothingClosed(Tfrmbalance& f)
    {
        EXPECT_EQ(f.ModalResult(), mrNone);
        EXPECT_EQ(monthid, 11);
        EXPECT_EQ(Month(), QStringLiteral("11"));
        EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select count(*) from periodlist")), QStringList{QStringLiteral("0")});
    }
};

TEST_F(PeriodClose, FirstCloseRecordsPeriodZeroAndAdvancesTheMonth)
{
    Tfrmbalance f;
    f.show();
    EXPECT_EQ(f.Caption(), QStringLiteral("票据扎帐"));
    EXPECT_EQ(f.DateTimePicker1->date(), QDate::currentDate());
    f.DateTimePicker1->setDate(QDate(2024, 11, 30));
    f.Button1->Click();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("材料扎帐成功！")});
    EXPECT_EQ(f.ModalResult(), mrOk);
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select pid, crtdate, enddate from periodlist")),
              QStringList{QStringLiteral("0|2024-11-30|2024-11-30")});
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select periodid, crtdate from currentpid")),
              QStringList{QStringLiteral("1|2024-12-01")});
    EXPECT_EQ(monthid, 12);
    EXPECT_EQ(Month(), QStringLiteral("12"));

    // December wraps to 1; the period starts where the last one ended.
    Tfrmbalance g;
    g.show();
    g.DateTimePicker1->setDate(QDate(2024, 12, 31));
    DialogScript::ClearLog();
    g.Button1->Click();
    EXPECT_EQ(Texts(), QStringList{QStringLiteral("材料扎帐成功！")});
    EXPECT_EQ(monthid, 1);
    EXPECT_EQ(Month(), QStringLiteral("1"));
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select pid, crtdate, enddate from periodlist order by pid")),
              (QStringList{QStringLiteral("0|2024-11-30|2024-11-30"), QStringLiteral("1|2024-12-01|2024-12-31")}));
}

TEST_F(PeriodClose, AFailedCloseKeepsTheMonthAndSaysSo)
{
    Exec(QStringLiteral("acct"), QStringLiteral("drop table premsrglist"));
    Tfrmbalance f;
    const QStringList said = Close(f, QDate(2024, 11, 30));
    ASSERT_FALSE(said.isEmpty());
    EXPECT_EQ(said.last(), QStringLiteral("材料扎帐失败！"));
    ExpectNothingClosed(f);
}

TEST_F(PeriodClose, AClosingDateBeforeTheOpenPeriodStartIsRefused)
{
    Exec(QStringLiteral("acct"), QStringLiteral("insert into currentpid (periodid,crtdate) values (0,'2024-11-01')"));
    Tfrmbalance f;
    EXPECT_EQ(Close(f, QDate(2024, 10, 31)),
              (QStringList{QStringLiteral("扎帐截止日期(2024-10-31)早于本期开始日期(2024-11-01)，不能扎帐！"),
                           QStringLiteral("材料扎帐失败！")}));
    ExpectNothingClosed(f);
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select periodid, crtdate from currentpid")),
              QStringList{QStringLiteral("0|2024-11-01")});
    // The first day of the period is a closing date.
    Tfrmbalance g;
    DialogScript::ClearLog();
    EXPECT_EQ(Close(g, QDate(2024, 11, 1)), QStringList{QStringLiteral("材料扎帐成功！")});
    EXPECT_EQ(Rows(QStringLiteral("acct"), QStringLiteral("select pid, crtdate, enddate from periodlist")),
              QStringList{QStringLiteral("0|2024-11-01|2024-11-01")});
}
