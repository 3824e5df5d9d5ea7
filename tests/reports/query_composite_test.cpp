// The composite-query dialogs of the bill queries: the statement they hand back over closed
// and open periods and every condition, the summary, hostile texts, the date range, and
// their conditions kept in QueryCon.ini.
#include "query_support.h"

#include "data/DataProcess.h"
#include "platform/rtl/IniFile.h"
#include "reports/CompositeQuery.h"
#include "reports/QueryBills.h"

#include <QFile>

using namespace querytest;

namespace {

const QStringList kDetail{QStringLiteral("billnum"), QStringLiteral("mname"), QStringLiteral("qty")};
const QStringList kSummary{QStringLiteral("mname"), QStringLiteral("qty")};

// Ticks the period box and selects the period rows with the given pids.
void selectperiods(Tfrmquerydetail& d, std::initializer_list<int> pids)
{
    d.CheckBox1->SetChecked(true);
    for (int pid : pids)
        for (d.ClientDataSet1.First(); !d.ClientDataSet1.Eof(); d.ClientDataSet1.Next())
            if (d.ClientDataSet1.FieldByName(QStringLiteral("pid"))->AsInteger() == pid) {
                d.DBGridGx2->SelectedRows()->SetCurrentRowSelected(true);
                break;
            }
}

void tree(TTreeCondition& c, const char* code)
{
    c.box->SetChecked(true);
    c.code = QString::fromLatin1(code);
    c.edit->setText(c.code);
}

struct Case {
    const char* name;
    bool stockin;
    std::function<void(Tfrmquerydetail&)> fill;
    QStringList expected;
    bool summary = false;
};

} // namespace

TEST_F(QueryTest, CompositeQueries)
{
    QFile::remove(Tfrmquerybase::conditionfile());
    const Case cases[] = {
        {"out, closed period 0", false, [](Tfrmquerydetail& d) { selectperiods(d, {0}); },
         sorted({"CK1|螺纹钢|4", "CK1|钢模板|40"})},
        {"out, periods 0 and 1", false, [](Tfrmquerydetail& d) { selectperiods(d, {0, 1}); },
         sorted({"CK1|螺纹钢|4", "CK1|钢模板|40", "CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50", "CK3|钢模板|10"})},
        {"out, box ticked, no row", false, [](Tfrmquerydetail& d) { d.CheckBox1->SetChecked(true); },
         sorted({"CK1|螺纹钢|4", "CK1|钢模板|40", "CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50", "CK3|钢模板|10"})},
        {"out, dates to the 19th", false,
         [](Tfrmquerydetail& d) {
             d.CheckBox4->SetChecked(true);
             d.Edit6->setText(DateToStr(day("2024-12-05")));
             d.Edit7->setText(DateToStr(day("2024-12-19")));
         },
         sorted({"CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50"})},
        {"out, dates to the 20th", false,
         [](Tfrmquerydetail& d) {
             d.CheckBox4->SetChecked(true);
             d.Edit6->setText(DateToStr(day("2024-12-05")));
             d.Edit7->setText(DateToStr(day("2024-12-20")));
         },
         sorted({"CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50", "CK3|钢模板|10"})},
        {"out, unit", false, [](Tfrmquerydetail& d) { tree(d.c3, "000003"); },
         sorted({"CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50", "CK3|钢模板|10"})},
        {"out, project", false, [](Tfrmquerydetail& d) { tree(d.c5, "000002"); },
         sorted({"CK1|螺纹钢|4", "CK1|钢模板|40"})},
        {"out, category", false, [](Tfrmquerydetail& d) { tree(d.c7, "000002"); }, sorted({"CK1|螺纹钢|4", "CK2|盘圆|5"})},
        {"out, bill number", false, [](Tfrmquerydetail& d) { d.Edit3->setText(QStringLiteral("K3")); },
         sorted({"CK3|钢模板|10"})},
        {"out, unposted reversals", false,
         [](Tfrmquerydetail& d) {
             d.RadioGroup1->SetItemIndex(0);
             d.CheckBox6->SetChecked(true);
         },
         sorted({"CK4|螺纹钢|-2"})},
        {"out, summary", false,
         [](Tfrmquerydetail& d) {
             selectperiods(d, {0, 1});
             d.CheckBox2->SetChecked(true);
         },
         sorted({"螺纹钢|4", "钢模板|50", "水泥|8", "盘圆|5", "钢管|50"}), true},
        {"in, closed period 0", true, [](Tfrmquerydetail& d) { selectperiods(d, {0}); },
         sorted({"RK1|螺纹钢|10", "RK1|盘圆|5", "RK1|钢模板|100", "RK1|钢管|200", "RK2|水泥|20"})},
        {"in, supplier", true, [](Tfrmquerydetail& d) { tree(d.c7, "000003"); }, sorted({"RK2|水泥|20"})},
        {"in, source", true, [](Tfrmquerydetail& d) { tree(d.c3, "000002"); }, sorted({"RK2|水泥|20", "RK3|螺纹钢|5"})},
        {"in, type", true, [](Tfrmquerydetail& d) { d.Edit2->setText(QStringLiteral("Φ")); },
         sorted({"RK1|螺纹钢|10", "RK1|盘圆|5", "RK1|钢管|200", "RK3|螺纹钢|5"})},
        {"in, hostile name", true,
         [](Tfrmquerydetail& d) {
             d.RadioGroup1->SetItemIndex(0);
             d.Edit1->setText(QStringLiteral(" 50% "));
         },
         sorted({"RK4|50%钢'筋_[A]|3"})},
        {"in, quote", true,
         [](Tfrmquerydetail& d) {
             d.RadioGroup1->SetItemIndex(0);
             d.Edit1->setText(QStringLiteral("'"));
         },
         sorted({"RK4|50%钢'筋_[A]|3"})},
        {"in, summary by category", true,
         [](Tfrmquerydetail& d) {
             tree(d.c5, "000002");
             d.CheckBox2->SetChecked(true);
         },
         sorted({"螺纹钢|15", "盘圆|5"}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Tfrmquerybase::conditionfile());
        Tfrmquerybill form(nullptr, c.stockin);
        show(&form);
        DialogScript::AnswerForm([&](TForm& f) {
            auto* d = dynamic_cast<Tfrmquerydetail*>(&f);
            if (!d)
                return mrCancel;
            try {
                c.fill(*d);
                d->Button1->click();
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
            return mrOk;
        });
        form.acQueryEx->trigger();
        EXPECT_TRUE(queryok) << DialogScript::Texts().join(u'\n').toStdString();
        EXPECT_EQ(form.resultissummary(), c.summary);
        if (c.summary)
            EXPECT_EQ(querycondition, QStringLiteral("a.mid=b.fid"));
        EXPECT_EQ(rows(form.adoqry, c.summary ? kSummary : kDetail), c.expected);
    }
}

TEST_F(QueryTest, CancelledDialogKeepsTheRows)
{
    Tfrmqueryexbill form;
    show(&form);
    form.acQuery->trigger();
    const QStringList before = rows(form.adoqry, kDetail);
    DialogScript::AnswerForm([](TForm& f) {
        static_cast<Tfrmquerydetail&>(f).Button2->click();
        return mrCancel;
    });
    form.acQueryEx->trigger();
    EXPECT_FALSE(queryok);
    EXPECT_EQ(rows(form.adoqry, kDetail), before);
}

TEST_F(QueryTest, SavedConditions)
{
    const QString file = Tfrmquerybase::conditionfile();
    QFile::remove(file);
    {
        // Defaults without a file.
        Tfrmqueryexdetail d;
        d.show();
        QApplication::processEvents();
        EXPECT_FALSE(d.CheckBox1->Checked());
        EXPECT_EQ(d.RadioGroup1->ItemIndex(), 1);
        EXPECT_FALSE(d.c3.button->isEnabled());
        EXPECT_FALSE(d.Edit6->isEnabled());
        // Inputs kept at close, whatever closed the dialog.
        d.Edit1->setText(QStringLiteral("螺纹'钢"));
        d.CheckBox4->SetChecked(true);
        d.Edit6->setText(QStringLiteral("2024-12-01"));
        d.RadioGroup1->SetItemIndex(0);
        d.CheckBox2->SetChecked(true);
        tree(d.c3, "000003");
        d.c3.edit->setText(QStringLiteral("二工区"));
        d.Button2->click();
    }
    {
        TIniFile ini(file);
        EXPECT_EQ(ini.ReadString(QStringLiteral("exbill"), QStringLiteral("dlid"), QString()), QStringLiteral("000003"));
    }
    {
        Tfrmqueryexdetail d;
        d.show();
        QApplication::processEvents();
        EXPECT_EQ(d.Edit1->text(), QStringLiteral("螺纹'钢"));
        EXPECT_TRUE(d.CheckBox4->Checked());
        EXPECT_TRUE(d.Edit6->isEnabled());
        EXPECT_EQ(d.Edit6->text(), QStringLiteral("2024-12-01"));
        EXPECT_EQ(d.RadioGroup1->ItemIndex(), 0);
        EXPECT_TRUE(d.CheckBox2->Checked());
        EXPECT_TRUE(querytotal);
        EXPECT_TRUE(d.c3.box->Checked());
        EXPECT_TRUE(d.c3.button->isEnabled());
        EXPECT_EQ(d.c3.code, QStringLiteral("000003"));
        EXPECT_EQ(d.c3.edit->text(), QStringLiteral("二工区"));
        // Clearing empties every input.
        d.Button3->click();
        EXPECT_TRUE(d.Edit1->text().isEmpty());
        EXPECT_FALSE(d.c3.box->Checked());
        EXPECT_TRUE(d.c3.code.isEmpty());
        EXPECT_EQ(d.RadioGroup1->ItemIndex(), 1);
    }
    // Keys written in another case are read.
    QFile::remove(file);
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[IMBILL]\r\nBCHECKSUP=1\r\nMSUP=x\r\nSUPID=000003\r\nBCheckCycle=0\r\n");
    }
    Tfrmqueryimdetail d;
    d.show();
    QApplication::processEvents();
    EXPECT_TRUE(d.c7.box->Checked());
    EXPECT_EQ(d.c7.code, QStringLiteral("000003"));
    EXPECT_EQ(d.c7.edit->text(), QStringLiteral("x"));
    d.Button1->click();
    EXPECT_TRUE(queryok);
    EXPECT_TRUE(querycondition.contains(QStringLiteral(" and a.supcode like '000003%'")));
}
