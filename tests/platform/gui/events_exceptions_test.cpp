// No exception crosses the event loop: a raising handler shows the error
// display and the application goes on; the silent abort shows nothing.
#include "events_support.h"

#include "platform/rtl/Exceptions.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

TEST(EventsExceptions, ClickHandlerErrorIsShownAndTheApplicationGoesOn)
{
    TDialogScriptScope script;
    Application->SetTitle(QStringLiteral("Depotrix"));
    TForm form;
    auto* button = new TButton(QStringLiteral("保存"), &form);
    int clicks = 0;
    button->OnClick = [&](QObject*) {
        ++clicks;
        if (clicks == 1) throw EDatabaseError(QStringLiteral("数据保存失败！"));
        if (clicks == 2) Abort();
        if (clicks == 3) throw std::runtime_error("disk full");
    };
    showActive(&form);
    for (int i = 0; i < 4; ++i) QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 4);
    const auto& log = DialogScript::Log();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].Kind, QStringLiteral("Error"));
    EXPECT_EQ(log[0].Caption, QStringLiteral("Depotrix"));
    EXPECT_EQ(log[0].Text, QStringLiteral("数据保存失败！."));
    EXPECT_EQ(log[0].Icon, int(mtError));
    EXPECT_EQ(log[1].Text, QStringLiteral("disk full."));
    Application->SetTitle(QString());
}

TEST(EventsExceptions, ControlHandlersAndOnExceptionAreGuarded)
{
    TDialogScriptScope script;
    TForm form;
    auto* c = new RecordingControl(&form);
    c->OnClick = [](QObject*) { throw EConvertError(QStringLiteral("bad value.")); };
    c->OnKeyPress = [](QObject*, QChar&) { Abort(); };
    showActive(&form);
    QTest::mouseClick(c, Qt::LeftButton);
    QTest::keyClick(c, Qt::Key_A);
    ASSERT_EQ(DialogScript::Log().size(), 1);
    // A text ending in a full stop keeps it as it is.
    EXPECT_EQ(DialogScript::Log()[0].Text, QStringLiteral("bad value."));

    // OnException replaces the default display.
    QStringList seen;
    Application->OnException = [&](QObject*, const std::exception& e) { seen << QString::fromUtf8(e.what()); };
    QTest::mouseClick(c, Qt::LeftButton);
    Application->OnException = nullptr;
    EXPECT_EQ(seen, QStringList{QStringLiteral("bad value.")});
    EXPECT_EQ(DialogScript::Log().size(), 1);

    // Guard reports whether the call went through.
    EXPECT_FALSE(Application->Guard([] { Abort(); }));
    EXPECT_TRUE(Application->Guard([] {}));
}

TEST(EventsExceptions, BusyCursorIsScoped)
{
    EXPECT_EQ(Screen->Cursor(), crDefault);
    {
        TBusyCursor busy;
        EXPECT_EQ(Screen->Cursor(), crHourGlass);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
