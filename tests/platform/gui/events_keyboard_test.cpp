// Keys reach custom controls with Windows key codes, in the order key-down,
// key-press, key-up; Tab, Enter and Esc go to the dialog unless claimed.
#include "events_support.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    QStringList expected;
    char ascii = 0;   // sent as a character (the text of the key event)
};

TEST(EventsKeyboard, QtKeysBecomeWindowsCodesInOrder)
{
    const std::vector<KeyCase> cases = {
        {"letter", Qt::Key_A, Qt::NoModifier, {"down 65 ", "press 97", "up 65"}},
        // Modifier keys arrive as keys of their own, as on Windows.
        {"shifted letter", Qt::Key_A, Qt::ShiftModifier, {"down 16 S", "down 65 S", "press 65", "up 65", "up 16"}, 'A'},
        {"ctrl letter", Qt::Key_C, Qt::ControlModifier, {"down 17 C", "down 67 C", "press 3", "up 67", "up 17"}},
        {"digit", Qt::Key_7, Qt::NoModifier, {"down 55 ", "press 55", "up 55"}},
        {"F2", Qt::Key_F2, Qt::NoModifier, {"down 113 ", "up 113"}},
        {"delete", Qt::Key_Delete, Qt::NoModifier, {"down 46 ", "up 46"}},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, {"down 8 ", "press 8", "up 8"}},
        {"page down", Qt::Key_PageDown, Qt::NoModifier, {"down 34 ", "up 34"}},
        {"ctrl home", Qt::Key_Home, Qt::ControlModifier, {"down 17 C", "down 36 C", "up 36", "up 17"}},
        {"claimed left", Qt::Key_Left, Qt::NoModifier, {"down 37 ", "up 37"}},
        {"claimed enter", Qt::Key_Return, Qt::NoModifier, {"down 13 ", "press 13", "up 13"}},
        {"claimed escape", Qt::Key_Escape, Qt::NoModifier, {"down 27 ", "press 27", "up 27"}},
    };
    TForm form;
    auto* c = new RecordingControl(&form, DLGC_WANTARROWS | DLGC_WANTALLKEYS);
    showActive(&form);
    c->SetFocus();
    for (const auto& k : cases) {
        c->log.clear();
        if (k.ascii)
            QTest::keyClick(c, k.ascii, k.mods);
        else
            QTest::keyClick(c, k.key, k.mods);
        EXPECT_EQ(c->log.join(" | "), k.expected.join(" | ")) << k.name;
    }
}

TEST(EventsKeyboard, TabMovesFocusUnlessTheControlClaimsIt)
{
    TForm form;
    auto* a = new RecordingControl(&form);
    auto* b = new RecordingControl(&form);
    b->move(0, 50);
    showActive(&form);
    a->SetFocus();
    QTest::keyClick(a, Qt::Key_Tab);
    EXPECT_TRUE(b->hasFocus());
    EXPECT_FALSE(a->log.contains(QStringLiteral("down 9 ")));

    // Claimed through the dialog code: the control sees Tab and keeps the focus.
    a->dlgCode = DLGC_WANTTAB;
    a->SetFocus();
    a->log.clear();
    QTest::keyClick(a, Qt::Key_Tab);
    EXPECT_TRUE(a->hasFocus());
    EXPECT_EQ(a->log, (QStringList{"down 9 ", "press 9", "up 9"}));
    // Shift+Tab as well.
    a->log.clear();
    QTest::keyClick(a, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(a->log.contains(QStringLiteral("down 9 S"))) << a->log.join(" | ").toStdString();
}

TEST(EventsKeyboard, EnterAndEscapeGoToTheButtonsUnlessClaimed)
{
    TForm form;
    auto* c = new RecordingControl(&form);
    int okClicks = 0, cancelClicks = 0;
    auto* ok = new TButton(QStringLiteral("确定"), &form);
    ok->SetDefault(true);
    ok->OnClick = [&](QObject*) { ++okClicks; };
    auto* cancel = new TButton(QStringLiteral("取消"), &form);
    cancel->SetCancel(true);
    cancel->OnClick = [&](QObject*) { ++cancelClicks; };
    ok->move(0, 50);
    cancel->move(80, 50);
    showActive(&form);
    c->SetFocus();

    QTest::keyClick(c, Qt::Key_Return);
    QTest::keyClick(c, Qt::Key_Escape);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(cancelClicks, 1);
    EXPECT_FALSE(c->log.contains(QStringLiteral("down 13 ")));

    c->claimKey = VK_RETURN;     // as a grid in editing mode claims Enter
    c->log.clear();
    QTest::keyClick(c, Qt::Key_Return);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(c->log, (QStringList{"down 13 ", "press 13", "up 13"}));
    EXPECT_TRUE(c->hasFocus());
}

TEST(EventsKeyboard, KeyPreviewSeesKeysFirstAndCanConsumeThem)
{
    TForm form;
    form.SetKeyPreview(true);
    auto* c = new RecordingControl(&form);
    QStringList order;
    form.OnKeyDown = [&](QObject*, WORD& k, TShiftState) {
        order << QStringLiteral("form down %1").arg(k);
        if (k == VK_F5) k = 0;
    };
    form.OnKeyPress = [&](QObject*, QChar& k) {
        order << QStringLiteral("form press %1").arg(k.unicode());
        if (k == QLatin1Char('x')) k = QChar(0);
    };
    c->OnKeyDown = [&](QObject*, WORD& k, TShiftState) { order << QStringLiteral("control down %1").arg(k); };
    c->OnKeyPress = [&](QObject*, QChar& k) { order << QStringLiteral("control press %1").arg(k.unicode()); };
    showActive(&form);
    c->SetFocus();

    QTest::keyClick(c, Qt::Key_B);
    EXPECT_EQ(order, (QStringList{"form down 66", "control down 66", "form press 98", "control press 98"}));
    order.clear();
    QTest::keyClick(c, Qt::Key_F5);
    EXPECT_EQ(order, QStringList{"form down 116"});
    order.clear();
    QTest::keyClick(c, Qt::Key_X);
    EXPECT_EQ(order, (QStringList{"form down 88", "control down 88", "form press 120"}));
}

TEST(EventsKeyboard, EnterAsTabThroughKeyPreviewBeatsTheDefaultButton)
{
    TForm form;
    form.SetKeyPreview(true);
    auto* e1 = new QLineEdit(&form);
    auto* e2 = new QLineEdit(&form);
    auto* c = new RecordingControl(&form);
    auto* ok = new TButton(QStringLiteral("确定"), &form);
    e2->move(0, 30);
    c->move(0, 60);
    ok->move(0, 110);
    ok->SetDefault(true);
    int okClicks = 0;
    ok->OnClick = [&](QObject*) { ++okClicks; };
    form.OnKeyPress = [&](QObject*, QChar& k) {
        if (k == QChar(13)) {
            k = QChar(0);
            form.SelectNext();
        }
    };
    showActive(&form);
    e1->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(e2->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(c->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(ok->hasFocus());
    EXPECT_EQ(okClicks, 0);
    EXPECT_FALSE(c->log.contains(QStringLiteral("down 13 ")));
    // Typing still reaches the edit.
    e1->setFocus();
    QTest::keyClicks(e1, QStringLiteral("ab"));
    EXPECT_EQ(e1->text(), QStringLiteral("ab"));
}

} // namespace
