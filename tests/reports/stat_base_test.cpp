// The report frame: the history box with its list of closed periods, the report period it
// gives, and the report forms as the function tree finds them.
#include "platform/gui/FontScale.h"
#include "stat_fixture.h"

#include "app/FormRegistry.h"
#include "reports/StatBillReport.h"
#include "reports/StatConsumeReport.h"
#include "reports/StatCylReport.h"
#include "reports/StatMaterialReport.h"
#include "reports/StatRegistry.h"

using namespace stattest;

TEST_F(StatTest, HistoryBoxListsTheClosedPeriods)
{
    Tfrmmaterialreport form;
    show(&form);
    EXPECT_EQ(form.size(), Scaled(QSize(950, 600)));   // the designed size, for this font
    EXPECT_TRUE(form.Panel2->isHidden());
    EXPECT_EQ(form.reportperiod(), 1);
    form.calsbill->trigger();
    ASSERT_GT(form.StringGrid1->RowCount(), 3);

    // Ticked: the grids lose their rows and the list shows every closed period, the first
    // one (period 0) included.
    form.CheckBox1->SetChecked(true);
    EXPECT_FALSE(form.Panel2->isHidden());
    EXPECT_EQ(form.StringGrid1->RowCount(), 3);
    EXPECT_EQ(gridrows(form.StringGrid1), QStringList{""});
    ASSERT_EQ(form.cdsperiod.RecordCount(), 1);
    EXPECT_EQ(form.cdsperiod.FieldByName(QStringLiteral("crtdate"))->AsString(), QStringLiteral("2024-11-01"));
    EXPECT_EQ(form.cdsperiod.FieldByName(QStringLiteral("enddate"))->AsString(), QStringLiteral("2024-11-30"));
    EXPECT_EQ(form.DBGridGx1->Columns()->Items(1)->Title()->Caption(), QStringLiteral("期末日期"));
    picture(&form, QStringLiteral("stat_history_periods.png"));
    EXPECT_EQ(form.reportperiod(), 0);

    // Unticked: back to the open period.
    form.calsbill->trigger();
    form.CheckBox1->SetChecked(false);
    EXPECT_TRUE(form.Panel2->isHidden());
    EXPECT_FALSE(form.cdsperiod.Active());
    EXPECT_EQ(form.StringGrid1->RowCount(), 3);
    EXPECT_EQ(form.reportperiod(), 1);

    form.exit->trigger();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(StatTest, ReportFormsByDispatchCode)
{
    TFormRegistry::Entries().clear();
    RegisterStatForms();
    const struct {
        int code;
        const char* classname;
        const char* caption;
    } cases[] = {
        {31, "TfrmimbillReport", "材料入库报表"},     {32, "TfrmExbillReport", "材料出库报表"},
        {33, "Tfrmmaterialreport", "材料库存、进出存报表"}, {34, "Tfrmcylreport", "周转材料统计报表"},
        {35, "Tfrmconsumereport", "自定义统计报表"},
    };
    for (const auto& c : cases) {
        const TFormEntry* entry = TFormRegistry::Find(c.code);
        ASSERT_NE(entry, nullptr) << c.code;
        EXPECT_EQ(entry->ClassName, QString::fromLatin1(c.classname));
        std::unique_ptr<TForm> form(entry->Create(nullptr));
        EXPECT_NE(dynamic_cast<Tfrmbasicreport*>(form.get()), nullptr);
        EXPECT_EQ(form->Caption(), QString::fromUtf8(c.caption));
    }
    TFormRegistry::Entries().clear();
}
