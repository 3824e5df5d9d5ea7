// The stock-in and stock-out bill queries of the open period: detail and summary, posted and
// unposted, the name filter with hostile texts, the drill-down into the bill and the export.
#include "query_support.h"

#include "app/ImBill.h"
#include "data/ExcelExport.h"
#include "platform/rtl/DateTime.h"
#include "reports/CompositeQuery.h"
#include "reports/LedgerForm.h"
#include "reports/QueryBills.h"

#include <QSet>

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
    for (const Setting& setting : kSettings) {
        SCOPED_TRACE(setting.name);
        apply(setting);
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
            // The layout of the setting, every column over a field of the result.
            const bool plain = setting.sys == TSystype::local && (!c.stockin || setting.imtype == 0);
            EXPECT_EQ(form.DBGridGx1->Columns()->Count(), c.summary ? 6 : plain ? 9 : 12);
            EXPECT_EQ(unboundcolumns(form), QStringList());
        }
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
    // Per sheet column from B: the head over it and the field of the line written there (an
    // empty field: a head the lines shown don't carry, left empty).
    struct Case {
        const char* name;
        bool stockin, summary;
        const char* title;
        int firstrow;
        const char* heads;    // the lowest head of each column, from column B
        const char* fields;
    };

    for (const Setting& setting : kSettings) {
        SCOPED_TRACE(setting.name);
        apply(setting);
        const bool overseas = setting.sys == TSystype::overseas;
        QList<Case> cases{
            {"out summary", false, true, "材料出库汇总清单", 3, "名称 规格 单位 数量 金额 备注",
             "mname,mtype,munit,qty,dprice,remark"},
            {"in summary", true, true, "材料入库汇总清单", 3, "名称 规格 单位 数量 金额 备注",
             "mname,mtype,munit,qty,dprice,remark"},
        };
        if (overseas) {
            cases << Case{"out detail", false, false, "材料出库明细表", 4, "出库日期 编号 名称 规格 单位 数量 币种 单价 复价 单价 复价 备注",
                          "bdate,billnum,mname,mtype,munit,qty,currency,rsprice,rdprice,sprice,dprice,remark"}
                  << Case{"in detail", true, false, "材料入库明细表", 4, "入库日期 批号 名称 规格 单位 数量 币种 单价 复价 单价 复价 备注",
                          "bdate,billnum,mname,mtype,munit,qty,cryname,rsprice,rdprice,sprice,dprice,remark"};
        } else {
            cases << Case{"out detail", false, false, "材料出库明细表", 3, "日期 编号 材料名称 规格型号 计量单位 数量 单价 复价 备注",
                          "bdate,billnum,mname,mtype,munit,qty,sprice,dprice,remark"};
            if (setting.imtype == 1)
                cases << Case{"in detail", true, false, "材料入库明细表", 4,
                              "入库日期 批号 名称 规格 单位 数量 原价 运什费 合计 单价 复价 备注",
                              "bdate,billnum,mname,mtype,munit,qty,rprice,expense,amount,sprice,dprice,remark"};
            else
                cases << Case{"in detail", true, false, "材料入库明细表", 3, "日期 编号 材料名称 规格型号 计量单位 数量 单价 复价 备注",
                              "bdate,billnum,mname,mtype,munit,qty,sprice,dprice,remark"};
        }

        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            Tfrmquerybill form(nullptr, c.stockin);
            show(&form);
            form.CheckBox2->SetChecked(c.summary);
            form.acQuery->trigger();
            opened.clear();
            form.acPrint->trigger();
            ASSERT_EQ(opened.size(), 1);
            const dpxtest::XlsxBook x = lastbook();
            ASSERT_TRUE(x.ok);
            EXPECT_EQ(x.text(0, "A1"), QString::fromUtf8(c.title));
            EXPECT_EQ(x.text(0, "A2"), QStringLiteral("序号"));
            const QString first = QString::number(c.firstrow);
            EXPECT_EQ(x.text(0, QStringLiteral("A") + first), QStringLiteral("1"));
            const QStringList heads = QString::fromUtf8(c.heads).split(u' ');
            const QStringList fields = QString::fromLatin1(c.fields).split(u',');
            ASSERT_EQ(heads.size(), fields.size());
            form.adoqry.First();
            for (int i = 0; i < heads.size(); ++i) {
                const QString col = excelcolname(i + 2);
                QString head;
                for (int r = 2; r < c.firstrow; ++r)
                    if (!x.text(0, col + QString::number(r)).isEmpty())
                        head = x.text(0, col + QString::number(r));
                EXPECT_EQ(head, heads[i]) << col.toStdString();
                const QString cell = x.text(0, col + first).trimmed();
                if (fields[i].isEmpty()) {
                    EXPECT_EQ(cell, QString()) << col.toStdString();
                    continue;
                }
                TField* f = form.adoqry.FieldByName(fields[i]);
                const QString value = f->DataType() == ftDateTime ? DateTimeToStr(f->AsDateTime())
                                      : f->DataType() == ftString || f->DataType() == ftWideString
                                          ? f->AsString().trimmed()
                                          : QString::number(f->AsFloat());
                EXPECT_EQ(cell, value) << col.toStdString() << " " << fields[i].toStdString();
                if (fields[i] == QLatin1String("cryname") || fields[i] == QLatin1String("currency"))
                    EXPECT_FALSE(cell.isEmpty()) << "the purchase currency is written";
            }
            // The rows written are bordered, in the small font, up to the last head.
            const QString last = excelcolname(int(heads.size()) + 1) + first;
            for (const QString& ref : {QStringLiteral("A") + first, last}) {
                EXPECT_TRUE(x.style(0, ref).allBorders) << ref.toStdString();
                EXPECT_EQ(x.style(0, ref).fontSize, 10) << ref.toStdString();
            }
        }
    }
}

TEST_F(QueryTest, DrillDownOpensTheBillAndLedgerOfTheRowClicked)
{
    struct Case {
        const char* name;
        bool stockin;
        QList<int> periods;   // none: the open period's query; otherwise the composite query of these
    };
    const Case cases[] = {{"out, open period", false, {}}, {"in, closed period 0", true, {0}},
                          {"out, periods 0 and 1", false, {0, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Tfrmquerybase::conditionfile());
        Tfrmquerybill form(nullptr, c.stockin);
        form.resize(950, 600);
        show(&form);
        if (c.periods.isEmpty()) {
            form.acQuery->trigger();
        } else {
            DialogScript::AnswerForm([&](TForm& f) {
                auto& d = static_cast<Tfrmquerydetail&>(f);
                selectperiods(d, c.periods);
                d.Button1->click();
                return mrOk;
            });
            form.acQueryEx->trigger();
        }
        // The rows in the server's order: bill number, material key and name of each.
        struct Row {
            QString billnum, mname;
            int mid;
        };
        QList<Row> lines;
        for (form.adoqry.First(); !form.adoqry.Eof(); form.adoqry.Next())
            lines << Row{form.adoqry.FieldByName(QStringLiteral("billnum"))->AsString().trimmed(),
                         form.adoqry.FieldByName(QStringLiteral("mname"))->AsString().trimmed(),
                         form.adoqry.FieldByName(QStringLiteral("mid"))->AsInteger()};
        ASSERT_GE(lines.size(), 4);
        QSet<QString> bills;
        for (const Row& r : lines)
            bills << r.billnum;
        ASSERT_GE(bills.size(), 2);   // two bills at least, so that a wrong pick shows
        TDBGridGx* grid = form.DBGridGx1;
        for (int k = lines.size() - 1; k >= 0; --k) {
            SCOPED_TRACE(k);
            const TRect r = grid->CellRect(2, grid->TopRow() + k);
            const QPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
            // A double click on the row opens its bill. (The window a modal form left is
            // active again, as the user's click would make it.)
            form.activateWindow();
            QApplication::processEvents();
            QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, at);
            EXPECT_EQ(form.adoqry.RecNo(), k + 1);
            QString opened;
            DialogScript::AnswerForm([&](TForm& f) {
                if (auto* bill = dynamic_cast<Tfrmbasicbill*>(&f))
                    opened = bill->billnumber().trimmed();
                return mrCancel;
            });
            QTest::mouseDClick(grid, Qt::LeftButton, Qt::NoModifier, at);
            QApplication::processEvents();
            EXPECT_EQ(opened, lines[k].billnum);
            // The ledger button opens the ledger of the row's material.
            int mid = 0;
            QString mname;
            DialogScript::AnswerForm([&](TForm& f) {
                if (auto* ledger = dynamic_cast<Tfrmmtrimexsrg*>(&f)) {
                    mid = ledger->MID();
                    mname = ledger->Edit2->text();
                }
                return mrCancel;
            });
            QTest::mouseClick(form.ToolButton5, Qt::LeftButton);
            QApplication::processEvents();
            EXPECT_EQ(mid, lines[k].mid);
            EXPECT_EQ(mname, lines[k].mname);
        }
    }
}
