// The stock-in and stock-out bill queries of the open period: detail and summary, posted and
// unposted, the name filter with hostile texts, the drill-down into the bill and the export.
#include "query_support.h"

#include "app/ImBill.h"
#include "reports/QueryBills.h"

using namespace querytest;

namespace {

const QStringList kDetail{QStringLiteral("billnum"), QStringLiteral("mname"), QStringLiteral("qty")};
const QStringList kSummary{QStringLiteral("mname"), QStringLiteral("qty")};

} // namespace

TEST_F(QueryTest, InPeriodQueries)
{
    struct Case {
        const char* name;
        bool stockin, posted, summary;
        QStringList expected;
    };
    const Case cases[] = {
        {"in, posted, detail", true, true, false, sorted({"RK3|螺纹钢|5"})},
        {"in, unposted, detail", true, false, false, sorted({"RK4|5000钢筋A|2", "RK4|50%钢'筋_[A]|3"})},
        {"in, posted, summary", true, true, true, sorted({"螺纹钢|5"})},
        {"in, unposted, summary", true, false, true, sorted({"5000钢筋A|2", "50%钢'筋_[A]|3"})},
        {"out, posted, detail", false, true, false, sorted({"CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50", "CK3|钢模板|10"})},
        {"out, unposted, detail", false, false, false, sorted({"CK4|螺纹钢|-2"})},
        {"out, posted, summary", false, true, true, sorted({"水泥|8", "盘圆|5", "钢模板|10", "钢管|50"})},
        {"out, unposted, summary", false, false, true, sorted({"螺纹钢|-2"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tfrmquerybill form(nullptr, c.stockin);
        show(&form);
        form.CheckBox1->SetChecked(c.posted);
        form.CheckBox2->SetChecked(c.summary);
        form.acQuery->trigger();
        EXPECT_EQ(rows(form.adoqry, c.summary ? kSummary : kDetail), c.expected);
        EXPECT_EQ(form.resultissummary(), c.summary);
        EXPECT_EQ(form.acBill->isEnabled(), !c.summary);
        EXPECT_EQ(form.acBillEx->isEnabled(), !c.summary);
        EXPECT_EQ(form.DBGridGx1->Columns()->Count(), c.summary ? 6 : 9);
    }
}

TEST_F(QueryTest, HostileNameFilter)
{
    const QString longtext(1000, QLatin1Char('x'));
    struct Case {
        QString text;
        QStringList in;   // unposted stock-in lines of the open period
    };
    const Case cases[] = {
        {QStringLiteral("%"), sorted({"RK4|50%钢'筋_[A]|3"})},
        {QStringLiteral("50%"), sorted({"RK4|50%钢'筋_[A]|3"})},
        {QStringLiteral("_"), sorted({"RK4|50%钢'筋_[A]|3"})},
        {QStringLiteral("5_0"), {}},
        {QStringLiteral("["), sorted({"RK4|50%钢'筋_[A]|3"})},
        {QStringLiteral("[A]"), sorted({"RK4|50%钢'筋_[A]|3"})},
        {QStringLiteral("'"), sorted({"RK4|50%钢'筋_[A]|3"})},
        {QStringLiteral("钢"), sorted({"RK4|5000钢筋A|2", "RK4|50%钢'筋_[A]|3"})},
        {QStringLiteral("  钢筋A "), sorted({"RK4|5000钢筋A|2"})},
        {QStringLiteral("x' or '1'='1"), {}},
        {longtext, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.left(20).toStdString());
        for (bool summary : {false, true}) {
            Tfrmqueryimbill form;
            show(&form);
            form.Edit1->setText(c.text);
            form.CheckBox1->SetChecked(false);
            form.CheckBox2->SetChecked(summary);
            form.acQuery->trigger();
            QStringList expected = c.in;
            if (summary) {
                for (QString& r : expected)
                    r = r.section(u'|', 1);
                expected.sort();
            }
            EXPECT_EQ(rows(form.adoqry, summary ? kSummary : kDetail), expected) << summary;
        }
    }
    // The stock-out queries filter the same way, the statement's structure untouched.
    Tfrmqueryexbill out;
    show(&out);
    out.Edit1->setText(QStringLiteral("'; delete from mtrlist; --"));
    out.acQuery->trigger();
    EXPECT_EQ(rows(out.adoqry, kDetail), QStringList());
    out.Edit1->setText(QStringLiteral("钢"));
    out.acQuery->trigger();
    EXPECT_EQ(rows(out.adoqry, kDetail), sorted({"CK2|钢管|50", "CK3|钢模板|10"}));
}

TEST_F(QueryTest, DrillDownFollowsTheRowsShown)
{
    Tfrmqueryimbill form;
    show(&form);
    // Nothing open yet: the bill button does nothing.
    form.acBill->trigger();
    EXPECT_TRUE(DialogScript::Texts().isEmpty());

    form.acQuery->trigger();
    QString opened;
    DialogScript::AnswerForm([&](TForm& f) {
        if (auto* bill = dynamic_cast<Tfrmbasicimbill*>(&f))
            opened = bill->billnumber();
        return mrCancel;
    });
    form.acBill->trigger();
    EXPECT_EQ(opened, QStringLiteral("RK3"));

    // A summary's rows carry material keys: unticking the box afterwards opens nothing.
    form.CheckBox2->SetChecked(true);
    form.acQuery->trigger();
    form.CheckBox2->SetChecked(false);
    EXPECT_FALSE(form.acBill->isEnabled());
    opened.clear();
    DialogScript::AnswerForm([&](TForm&) {
        opened = QStringLiteral("opened");
        return mrCancel;
    });
    form.acBill->trigger();
    form.DBGridGx1DblClick(form.DBGridGx1);
    EXPECT_TRUE(opened.isEmpty());

    // Refresh empties the filter and the boxes.
    form.Edit1->setText(QStringLiteral("钢"));
    form.CheckBox1->SetChecked(false);
    form.acReFresh->trigger();
    EXPECT_TRUE(form.Edit1->text().isEmpty());
    EXPECT_TRUE(form.CheckBox1->Checked());
    EXPECT_FALSE(form.CheckBox2->Checked());
    EXPECT_FALSE(querytotal);
}

TEST_F(QueryTest, BillQueryExports)
{
    struct Case {
        const char* name;
        bool stockin, summary;
        const char* title;
        const char* firstdata;   // the cell of the first data row's material name
        const char* mname;
    };
    const Case cases[] = {
        {"out detail", false, false, "材料出库明细表", "D3", nullptr},
        {"out summary", false, true, "材料出库汇总清单", "B3", nullptr},
        {"in detail", true, false, "材料入库明细表", "D3", "螺纹钢"},
        {"in summary", true, true, "材料入库汇总清单", "B3", "螺纹钢"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tfrmquerybill form(nullptr, c.stockin);
        show(&form);
        form.CheckBox2->SetChecked(c.summary);
        form.acQuery->trigger();
        form.adoqry.First();
        const QString first = form.adoqry.FieldByName(QStringLiteral("mname"))->AsString();
        opened.clear();
        form.acPrint->trigger();
        ASSERT_EQ(opened.size(), 1);
        const dpxtest::XlsxBook x = lastbook();
        ASSERT_TRUE(x.ok);
        EXPECT_EQ(x.text(0, "A1"), QString::fromUtf8(c.title));
        EXPECT_EQ(x.text(0, "A2"), QStringLiteral("序号"));
        EXPECT_EQ(x.text(0, "A3"), QStringLiteral("1"));
        EXPECT_EQ(x.text(0, QString::fromLatin1(c.firstdata)), first);
        if (c.mname)
            EXPECT_EQ(first, QString::fromUtf8(c.mname));
    }
}
