// Forms find their components by name ignoring case, own them, and offer the
// focus moves the Enter-as-Tab handling uses.
#include "events_support.h"

#include <QLineEdit>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

TEST(FormsComponents, FindComponentIgnoresCaseAndOwnershipFreesChildren)
{
    QPointer<QLineEdit> edit;
    {
        auto owner = std::make_unique<TForm>();
        auto* form = new TForm(owner.get());
        edit = new QLineEdit(form);
        edit->setObjectName(QStringLiteral("edtName"));
        auto* button = new TButton(QStringLiteral("确定"), form);
        button->setObjectName(QStringLiteral("Button1"));
        EXPECT_EQ(form->FindComponent(QStringLiteral("EDTNAME")), edit.data());
        EXPECT_EQ(form->Find<TButton>(QStringLiteral("button1")), button);
        EXPECT_EQ(form->FindComponent(QStringLiteral("nothing")), nullptr);
        EXPECT_EQ(form->ComponentCount(), 2);
        EXPECT_TRUE(form->isWindow());
        EXPECT_EQ(GetParentForm(edit), form);
    }
    EXPECT_TRUE(edit.isNull());
}

TEST(FormsComponents, SelectNextFollowsTabOrderAndSkipsDisabled)
{
    TForm form;
    auto* e1 = new QLineEdit(&form);
    auto* e2 = new QLineEdit(&form);
    auto* e3 = new QLineEdit(&form);
    e2->setEnabled(false);
    showActive(&form);
    e1->setFocus();
    form.SelectNext();
    EXPECT_EQ(form.ActiveControl(), e3);
    form.SelectNext(false);
    EXPECT_EQ(form.ActiveControl(), e1);
    form.SetActiveControl(e3);
    EXPECT_TRUE(e3->hasFocus());
    // The dialog manager's next-control request wraps around.
    form.Perform(WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(form.ActiveControl(), e1);
    form.Perform(WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(form.ActiveControl(), e3);
}

TEST(FormsComponents, ShowCloseAndEvents)
{
    TForm form;
    QStringList events;
    form.OnShow = [&](QObject*) { events << QStringLiteral("show"); };
    form.OnClose = [&](QObject*, TCloseAction& a) {
        events << QStringLiteral("close");
        if (events.count(QStringLiteral("close")) == 1) a = caNone;
    };
    form.Show();
    EXPECT_TRUE(form.isVisible());
    form.Close();
    EXPECT_TRUE(form.isVisible());   // caNone keeps it open
    form.Close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(events, (QStringList{"show", "close", "close"}));
}

} // namespace
