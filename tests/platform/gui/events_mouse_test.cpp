// Mouse messages with capture, clicks and double clicks; focus that a control
// refuses to give up.
#include "events_support.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {

struct MouseFixture : ::testing::Test {
    TForm form;
    RecordingControl* a = new RecordingControl(&form);
    RecordingControl* b = new RecordingControl(&form);
    void SetUp() override
    {
        form.resize(200, 120);
        a->setGeometry(0, 0, 80, 40);
        b->setGeometry(100, 0, 80, 40);
        showActive(&form);
    }
};

TEST_F(MouseFixture, PressCapturesUntilRelease)
{
    windowMouse(a, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(10, 10));
    EXPECT_TRUE(a->MouseCapture());
    // Moving over the other control still reports to the pressed one, in its
    // own coordinates.
    windowMouse(b, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(5, 5));
    windowMouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(5, 5));
    EXPECT_FALSE(a->MouseCapture());
    EXPECT_EQ(a->log.filter(QStringLiteral("m")), (QStringList{"mdown 0 L 10,10", "mmove 105,5", "mup 0 105,5"}));
    EXPECT_FALSE(a->log.contains(QStringLiteral("click")));
    EXPECT_TRUE(b->log.filter(QStringLiteral("m")).isEmpty());
}

TEST_F(MouseFixture, ClickOnlyWhenReleasedInside)
{
    QTest::mouseClick(a, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(a->log.count(QStringLiteral("click")), 1);
    // Click comes before the mouse-up handler.
    EXPECT_LT(a->log.indexOf(QStringLiteral("click")), a->log.indexOf(QStringLiteral("mup 0 10,10")));
    a->log.clear();
    QTest::mouseClick(a, Qt::RightButton, Qt::ShiftModifier, QPoint(3, 4));
    EXPECT_EQ(a->log.filter(QStringLiteral("m")), (QStringList{"mdown 1 SR 3,4", "mup 1 3,4"}));
}

TEST_F(MouseFixture, DoubleClickGivesDblClickThenADoubleMouseDown)
{
    QTest::mouseDClick(a, Qt::LeftButton, Qt::NoModifier, QPoint(7, 8));
    const int dbl = int(a->log.indexOf(QStringLiteral("dblclick")));
    ASSERT_GE(dbl, 0) << a->log.join(" | ").toStdString();
    EXPECT_EQ(a->log.value(dbl + 1), QStringLiteral("mdown 0 LD 7,8"));
}

TEST_F(MouseFixture, ExplicitCaptureTakesMovesOverOtherControls)
{
    a->SetMouseCapture(true);
    EXPECT_TRUE(a->MouseCapture());
    windowMouse(b, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(20, 10));
    EXPECT_TRUE(a->log.contains(QStringLiteral("mmove 120,10"))) << a->log.join(" | ").toStdString();
    EXPECT_TRUE(b->log.filter(QStringLiteral("mmove")).isEmpty());
    a->SetMouseCapture(false);
    EXPECT_FALSE(a->MouseCapture());
}

TEST_F(MouseFixture, CursorFollowsTheControl)
{
    struct SplitControl : RecordingControl {
        using RecordingControl::RecordingControl;
        TCursor CursorAt(int X, int) override { return X < 40 ? crHSplit : crDefault; }
    };
    auto* s = new SplitControl(&form);
    s->setGeometry(0, 60, 80, 40);
    s->show();
    QTest::mouseMove(s, QPoint(10, 10));
    EXPECT_EQ(s->cursor().shape(), Qt::SplitHCursor);
    QTest::mouseMove(s, QPoint(60, 10));
    EXPECT_EQ(s->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MouseFixture, ExitThatRaisesKeepsTheFocus)
{
    TDialogScriptScope script;
    a->SetFocus();
    a->onExit = [] { throw EConvertError(QStringLiteral("'abc' is not a valid integer value")); };
    b->SetFocus();
    EXPECT_TRUE(a->hasFocus());
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_EQ(DialogScript::Log()[0].Kind, QStringLiteral("Error"));
    EXPECT_EQ(DialogScript::Log()[0].Text, QStringLiteral("'abc' is not a valid integer value."));
    // The silent abort refuses without a message.
    a->onExit = [] { Abort(); };
    b->SetFocus();
    EXPECT_TRUE(a->hasFocus());
    EXPECT_EQ(DialogScript::Log().size(), 1);
    // Once the exit succeeds the focus moves and each control saw enter/exit in pairs.
    a->onExit = nullptr;
    b->SetFocus();
    EXPECT_TRUE(b->hasFocus());
    EXPECT_EQ(b->log.count(QStringLiteral("enter")), 1);
    EXPECT_EQ(a->log.count(QStringLiteral("exit")), 3);
}

} // namespace
