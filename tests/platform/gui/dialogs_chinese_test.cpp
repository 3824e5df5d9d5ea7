// The program's message boxes and Qt's own dialogs speak Chinese: the boxes as
// shown on screen (not scripted) carry Chinese captions and buttons, and Qt's
// standard texts come from the distribution's Chinese translation.
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct ShownBox {
    QString caption;
    QStringList buttons;
};

// Reads the next real message box once its modal loop runs and closes it with
// its escape button. Re-arms itself until the box is up (a bounded number of
// event-loop turns, no clock involved).
void readNextBox(ShownBox& out, int turns = 1000)
{
    QTimer::singleShot(0, [&out, turns] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (turns > 0) readNextBox(out, turns - 1);
            return;
        }
        out.caption = box->windowTitle();
        for (QAbstractButton* b : box->buttons())
            out.buttons << b->text();
        box->reject();
        if (box->isVisible()) box->done(0);
    });
}

ShownBox show(const std::function<void()>& dialog)
{
    ShownBox shown;
    readNextBox(shown);
    dialog();
    return shown;
}

TEST(DialogsChinese, MessageBoxesHaveChineseCaptionsAndButtons)
{
    ASSERT_FALSE(DialogScript::Active());
    struct Case {
        std::function<void()> dialog;
        QString caption;
        QStringList buttons;
    };
    const QString msg = QStringLiteral("票据已保存");
    const Case cases[] = {
        {[&] { MessageDlg(msg, mtInformation, {mbOK}); }, "信息", {"确定"}},
        {[&] { MessageDlg(msg, mtWarning, mbOKCancel); }, "警告", {"确定", "取消"}},
        {[&] { MessageDlg(msg, mtError, {mbOK}); }, "错误", {"确定"}},
        {[&] { MessageDlg(msg, mtConfirmation, mbYesNoCancel); }, "确认", {"是(&Y)", "否(&N)", "取消"}},
        {[&] { MessageDlg(msg, mtConfirmation, {mbYes, mbAll, mbNoToAll, mbYesToAll}); },
         "确认", {"是(&Y)", "全部(&A)", "全部否(&O)", "全部是(&L)"}},
        {[&] { MessageDlg(msg, mtWarning, mbAbortRetryIgnore); }, "警告", {"中止(&A)", "重试(&R)", "忽略(&I)"}},
        {[&] { ShowMessageBox(msg, QString(), MB_YESNO); }, "错误", {"是(&Y)", "否(&N)"}},
        {[&] { ShowMessageBox(msg, QStringLiteral("提示..."), MB_OKCANCEL); }, "提示...", {"确定", "取消"}},
    };
    for (const Case& c : cases) {
        const ShownBox shown = show(c.dialog);
        EXPECT_EQ(shown.caption, c.caption);
        QStringList buttons = shown.buttons;
        QStringList expected = c.buttons;
        buttons.sort();
        expected.sort();
        EXPECT_EQ(buttons, expected) << c.caption.toStdString();
    }
}

TEST(DialogsChinese, QtDialogsUseTheChineseTranslation)
{
    ASSERT_TRUE(LoadQtTranslations());
    EXPECT_TRUE(LoadQtTranslations());   // once only
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As"), QStringLiteral("另存为"));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("打印"));
}

} // namespace
