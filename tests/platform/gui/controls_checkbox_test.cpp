// The check box's Checked setter fires its click handler, as a click does.
#include "events_support.h"

#include "CheckBox.h"

#include <gtest/gtest.h>

namespace {

TEST(ControlsCheckBox, SetterAndClickFireOnClickOnChangeOnly)
{
    TForm form;
    auto* box = new TCheckBox(QStringLiteral("显示隐藏项"), &form);
    QList<bool> seen;
    box->OnClick = [&](QObject*) { seen << box->Checked(); };
    box->SetChecked(true);
    box->SetChecked(true);     // no change, no click
    box->SetChecked(false);
    showActive(&form);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(5, box->height() / 2));
    EXPECT_EQ(seen, (QList<bool>{true, false, true}));
    box->SetClicksDisabled(true);
    box->SetChecked(false);
    EXPECT_EQ(seen.size(), 3);
    EXPECT_FALSE(box->Checked());
}

TEST(ControlsCheckBox, GrayedStateCyclesWhenAllowed)
{
    TCheckBox box(QStringLiteral("x"), nullptr);
    box.SetAllowGrayed(true);
    box.show();
    QList<TCheckBoxState> states;
    box.OnClick = [&](QObject*) { states << box.State(); };
    for (int i = 0; i < 3; ++i) box.click();
    EXPECT_EQ(states, (QList<TCheckBoxState>{cbChecked, cbGrayed, cbUnchecked}));
}

} // namespace
