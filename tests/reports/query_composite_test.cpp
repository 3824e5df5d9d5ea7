// The composite-query dialogs of the bill queries: the statement they hand back over closed
// and open periods and every condition, the summary, hostile texts, the date range, and
// their conditions kept in QueryCon.ini.
#include "query_support.h"

#include "app/DropDownPicker.h"
#include "data/DataProcess.h"
#include "platform/rtl/IniFile.h"
#include "reports/CompositeQuery.h"
#include "reports/CompositeStock.h"
#include "reports/QueryBills.h"
#include "reports/StockQuery.h"

#include <QFile>

using namespace querytest;

namespace {

const QStringList kDetail{QStringLiteral("billnum"), QStringLiteral("mname"), QStringLiteral("qty")};
const QStringList kSummary{QStringLiteral("mname"), QStringLiteral("qty")};

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
    bool everysetting = false;   // also run under the other account-set settings
};

} // namespace

TEST_F(QueryTest, CompositeQueries)
{
    QFile::remove(Tfrmquerybase::conditionfile());
    const Case cases[] = {
        {"out, closed period 0", false, [](Tfrmquerydetail& d) { selectperiods(d, {0}); },
         sorted({"CK1|螺纹钢|4", "CK1|钢模板|40"})},
        {"out, periods 0 and 1", false, [](Tfrmquerydetail& d) { selectperiods(d, {0, 1}); },
         sorted({"CK1|螺纹钢|4", "CK1|钢模板|40", "CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50", "CK3|钢模板|10"}), false,
         true},
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
         sorted({"RK1|螺纹钢|10", "RK1|盘圆|5", "RK1|钢模板|100", "RK1|钢管|200", "RK2|水泥|20"}), false, true},
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
    // Every condition under the first setting; the settings change only the detail SELECT
    // part, so the others run a detail case of each kind.
    for (const Setting& setting : kSettings)
    for (const Case& c : cases) {
        if (&setting != &kSettings[0] && !c.everysetting)
            continue;
        SCOPED_TRACE(c.name);
        SCOPED_TRACE(setting.name);
        apply(setting);
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
        if (c.summary) {
            EXPECT_EQ(querycondition, QStringLiteral("a.mid=b.fid"));
        }
        EXPECT_EQ(rows(form.adoqry, c.summary ? kSummary : kDetail), c.expected);
        EXPECT_EQ(unboundcolumns(form), QStringList());
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

TEST_F(QueryTest, CompositeQueryByClicksWithABadSavedDate)
{
    // Saved dates that are no dates and a posting choice out of range, as a hand-edited file
    // may hold them.
    const QString file = Tfrmquerybase::conditionfile();
    QFile::remove(file);
    {
        TIniFile ini(file);
        ini.WriteBool(QStringLiteral("exbill"), QStringLiteral("bcheckdate"), true);
        ini.WriteString(QStringLiteral("exbill"), QStringLiteral("bdate"), QStringLiteral("2024-13-45"));
        ini.WriteString(QStringLiteral("exbill"), QStringLiteral("edate"), QStringLiteral("not a date"));
        ini.WriteString(QStringLiteral("exbill"), QStringLiteral("brecorded"), QStringLiteral("7"));
    }
    Tfrmqueryexbill form;
    show(&form);
    auto click = [](QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton);
        QApplication::processEvents();
    };
    DialogScript::AnswerForm([&](TForm& f) {
        auto& d = dynamic_cast<Tfrmqueryexdetail&>(f);
        EXPECT_TRUE(d.CheckBox4->Checked());
        EXPECT_EQ(d.Edit6->text(), QStringLiteral("2024-13-45"));
        EXPECT_EQ(d.RadioGroup1->ItemIndex(), 1);   // posted bills, not no choice at all
        // The date button reports the bad text and opens nothing; the text stays.
        DialogScript::ClearLog();
        click(d.SpeedButton3);
        EXPECT_EQ(DialogScript::Log().size(), 1);
        EXPECT_TRUE(DialogScript::Texts().join(QString()).contains(QStringLiteral("2024-13-45")));
        EXPECT_EQ(d.Edit6->text(), QStringLiteral("2024-13-45"));
        // OK reports it too and leaves the dialog open with nothing handed back.
        DialogScript::ClearLog();
        click(d.Button1);
        EXPECT_EQ(DialogScript::Log().size(), 1);
        EXPECT_FALSE(queryok);
        EXPECT_TRUE(d.isVisible());

        // Unticking and ticking the date box empties the dates; the date dialog starts today.
        click(d.CheckBox4);
        click(d.CheckBox4);
        EXPECT_TRUE(d.Edit6->text().isEmpty());
        DialogScript::AnswerForm([&](TForm& f) {
            auto& dates = dynamic_cast<Tfrmdateform&>(f);
            EXPECT_EQ(dates.TitleLabel->text(), QStringLiteral("2024年12月20日"));
            click(dates.PrevMonthBtn);
            EXPECT_EQ(dates.TitleLabel->text(), QStringLiteral("2024年11月20日"));
            click(dates.Button1);
            return mrOk;
        });
        click(d.SpeedButton3);
        EXPECT_EQ(d.Edit6->text(), DateToStr(day("2024-11-20")));
        DialogScript::AnswerForm([&](TForm& f) {
            click(dynamic_cast<Tfrmdateform&>(f).Button1);
            return mrOk;
        });
        click(d.SpeedButton4);
        EXPECT_EQ(d.Edit7->text(), DateToStr(day("2024-12-20")));

        // The unit through its tree picker.
        click(d.c3.box);
        EXPECT_TRUE(d.c3.button->isEnabled());
        DialogScript::AnswerForm([&](TForm& f) {
            auto& picker = dynamic_cast<TfrmBasictreeshow&>(f);
            TTreeNode* node = nullptr;
            for (TTreeNode* n = picker.treelist->Items()->GetFirstNode(); n; n = n->GetNext())
                if (n->Text() == QStringLiteral("二工区"))
                    node = n;
            EXPECT_NE(node, nullptr);
            if (node) {
                node->MakeVisible();
                QTest::mouseClick(picker.treelist->viewport(), Qt::LeftButton, {},
                                  picker.treelist->visualItemRect(node->Item()).center());
            }
            return mrOk;
        });
        click(d.c3.button);
        EXPECT_EQ(d.c3.edit->text(), QStringLiteral("二工区"));
        EXPECT_EQ(d.c3.code, QStringLiteral("000003"));
        click(d.Button1);
        return mrOk;
    });
    click(form.ToolButton2);
    EXPECT_TRUE(queryok) << DialogScript::Texts().join(u'\n').toStdString();
    // Issues to the second unit from 2024-11-20 to the whole of 2024-12-20.
    EXPECT_EQ(rows(form.adoqry, kDetail), sorted({"CK2|水泥|8", "CK2|盘圆|5", "CK2|钢管|50", "CK3|钢模板|10"}));
    // The dates picked are kept for the next time.
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString(QStringLiteral("exbill"), QStringLiteral("bdate"), QString()), DateToStr(day("2024-11-20")));
}

TEST_F(QueryTest, HostileTextsInEveryCondition)
{
    // Unposted lines: the stock-in bill RK4 has the material with LIKE's characters and a
    // quote in its name and model; the stock-out bill CK4 has none. The stock has none either.
    const QString hostile = QStringLiteral("RK4|50%钢'筋_[A]|3");
    const QString longtext = QStringLiteral("x'") + QString(998, QLatin1Char('x'));
    struct Case {
        QString text;
        bool name, type;   // whether the stock-in line is found by the name / by the model
    };
    const Case full[] = {
        {QStringLiteral("'"), true, true},      {QStringLiteral("%"), true, true},
        {QStringLiteral("_"), true, true},      {QStringLiteral("[A]"), true, true},
        {QStringLiteral(" 钢'筋 "), true, false}, {longtext, false, false},
    };
    // Where nothing may be found: a wildcard that matched every text would show.
    const Case wildcards[] = {{QStringLiteral("_"), false, false}, {QStringLiteral("%'"), false, false}};
    enum Which { Name, Type, Billnum };
    auto edit = [](Tfrmquerybase& d, Which w) -> QLineEdit* {
        if (w == Name)
            return d.Edit1;
        if (w == Type)
            return d.Edit2;
        return static_cast<Tfrmquerydetail&>(d).Edit3;
    };
    for (bool stockin : {true, false}) {
        Tfrmquerybill form(nullptr, stockin);
        show(&form);
        for (Which w : {Name, Type, Billnum}) {
            const bool all = stockin && w != Billnum;
            for (const Case& c : all ? QList<Case>(std::begin(full), std::end(full))
                                     : QList<Case>(std::begin(wildcards), std::end(wildcards))) {
                SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(stockin).arg(int(w)).arg(c.text.left(10)).toStdString());
                QFile::remove(Tfrmquerybase::conditionfile());
                DialogScript::ClearLog();
                DialogScript::AnswerForm([&](TForm& f) {
                    auto& d = dynamic_cast<Tfrmquerydetail&>(f);
                    d.RadioGroup1->SetItemIndex(0);
                    edit(d, w)->setText(c.text);
                    d.Button1->click();
                    return mrOk;
                });
                form.acQueryEx->trigger();
                EXPECT_TRUE(queryok);
                EXPECT_EQ(DialogScript::Log().size(), 1);   // the dialog, no error
                const bool found = stockin && ((w == Name && c.name) || (w == Type && c.type));
                EXPECT_EQ(rows(form.adoqry, kDetail), found ? QStringList{hostile} : QStringList());
            }
        }
    }
    // The stock dialog's name and model, over the stock and over the price batches.
    TfrmQueryStorage stock;
    show(&stock);
    for (bool batches : {false, true})
        for (Which w : {Name, Type})
            for (const Case& c : {wildcards[0]}) {
                SCOPED_TRACE(QStringLiteral("stock %1 %2 %3").arg(batches).arg(int(w)).arg(c.text).toStdString());
                QFile::remove(Tfrmquerybase::conditionfile());
                DialogScript::ClearLog();
                DialogScript::AnswerForm([&](TForm& f) {
                    auto& d = dynamic_cast<TfrmQuerySrgdetail&>(f);
                    if (batches)
                        d.c3.box->SetChecked(true);
                    edit(d, w)->setText(c.text);
                    d.Button1->click();
                    return mrOk;
                });
                stock.acQueryEx->trigger();
                EXPECT_TRUE(queryok);
                EXPECT_EQ(DialogScript::Log().size(), 1);
                EXPECT_TRUE(stock.adoqry.Active());
                EXPECT_EQ(stock.adoqry.RecordCount(), 0);
            }
}
