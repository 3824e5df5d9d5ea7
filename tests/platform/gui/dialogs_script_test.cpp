// A scripted dialog sequence: every text is recorded, questions take the
// scripted answers in order, and a modal form returns its result.
#include "events_support.h"

#include "platform/rtl/MessageSink.h"

#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <utility>
#include <gtest/gtest.h>

namespace {

TEST(DialogsScript, MessagesAndQuestionsInOrder)
{
    TDialogScriptScope script;
    DialogScript::Answer(mrNo);
    DialogScript::Answer(mrOk);
    DialogScript::Answer(IDYES);
    DialogScript::AnswerText(QStringLiteral("水泥"));
    DialogScript::Answer(mrCancel);   // the input query is cancelled

    EXPECT_EQ(MessageDlg(QStringLiteral("你真的要删除帐套吗？"), mtWarning, mbYesNo), mrNo);
    ShowMessage(QStringLiteral("数据没有修改！"));
    EXPECT_EQ(MessageDlg(QStringLiteral("真的要删除吗"), mtConfirmation, mbOKCancel), mrOk);
    EXPECT_EQ(MessageDlg(QStringLiteral("数据保存成功！"), mtInformation, {mbOK}), mrOk);
    EXPECT_EQ(Application->MessageBox(QStringLiteral("测试成功！"), QStringLiteral("Information "),
                                      MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(Application->MessageBox(QStringLiteral("继续吗？"), QStringLiteral("提示..."), MB_YESNO), IDYES);
    EXPECT_EQ(InputBox(QStringLiteral("输入查找材料名称"), QStringLiteral("输入材料名称"), QString()),
              QStringLiteral("水泥"));
    QString v = QStringLiteral("old");
    EXPECT_FALSE(InputQuery(QStringLiteral("密码"), QStringLiteral("输入密码"), v));
    EXPECT_EQ(v, QStringLiteral("old"));

    EXPECT_EQ(DialogScript::Texts(),
              (QStringList{"你真的要删除帐套吗？", "数据没有修改！", "真的要删除吗", "数据保存成功！", "测试成功！",
                           "继续吗？", "输入材料名称", "输入密码"}));
    const auto& log = DialogScript::Log();
    EXPECT_EQ(log[0].Caption, QStringLiteral("警告"));
    EXPECT_EQ(log[0].Buttons, (QList<int>{mrYes, mrNo}));
    EXPECT_EQ(log[1].Kind, QStringLiteral("ShowMessage"));
    EXPECT_EQ(log[2].Icon, int(mtConfirmation));
    EXPECT_EQ(log[4].Caption, QStringLiteral("Information "));
    EXPECT_EQ(log[4].Icon, int(mtInformation));
    EXPECT_EQ(log[6].Caption, QStringLiteral("输入查找材料名称"));
    EXPECT_EQ(DialogScript::PendingAnswers(), 0);
    EXPECT_EQ(DialogScript::Unanswered(), 0);

    // A question without an answer takes its default and is counted.
    EXPECT_EQ(MessageDlg(QStringLiteral("?"), mtConfirmation, mbYesNo), mrYes);
    EXPECT_EQ(DialogScript::Unanswered(), 1);
}

TEST(DialogsScript, RunTimeMessagesArriveThroughTheSink)
{
    TDialogScriptScope script;
    DialogScript::Answer(mrNo);
    EXPECT_FALSE(MessageSink::Show(MsgKind::Confirmation, QStringLiteral("慢点，票据没保存,保存不?")));
    MessageSink::Show(MsgKind::Information, QStringLiteral("连接数据库时出错！！！"), QStringLiteral("提示..."));
    MessageSink::Show(MsgKind::Error, QStringLiteral("没有输入密码！"));
    const auto& log = DialogScript::Log();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0].Icon, int(mtConfirmation));
    EXPECT_EQ(log[1].Kind, QStringLiteral("MessageBox"));
    EXPECT_EQ(log[1].Caption, QStringLiteral("提示..."));
    EXPECT_EQ(log[2].Icon, int(mtError));
}

TEST(DialogsScript, FileAndFontDialogs)
{
    TDialogScriptScope script;
    DialogScript::AnswerText(QStringLiteral("/tmp/backup"));
    DialogScript::Answer(mrCancel);
    DialogScript::AnswerFont(QStringLiteral("WenQuanYi Micro Hei"), 12);
    TSaveDialog save;
    save.Filter = QStringLiteral("备份文件 (*.bak)|*.bak|所有文件|*.*");
    save.DefaultExt = QStringLiteral("bak");
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, QStringLiteral("/tmp/backup.bak"));
    TOpenDialog open;
    EXPECT_FALSE(open.Execute());
    TFontDialog font;
    ASSERT_TRUE(font.Execute());
    EXPECT_EQ(font.Font.Name(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(font.Font.Size(), 12);
    EXPECT_EQ(QtFileFilter(save.Filter), QStringLiteral("备份文件 (*.bak);;所有文件 (*.*)"));
}

// A dialog in the style of the program's frame forms.
struct OkCancelForm : TForm {
    QLineEdit* name = new QLineEdit(this);
    TButton* ok = new TButton(QStringLiteral("确定"), this);
    TButton* cancel = new TButton(QStringLiteral("返回"), this);
    OkCancelForm()
    {
        setObjectName(QStringLiteral("frmLogin"));
        SetCaption(QStringLiteral("登录"));
        ok->setObjectName(QStringLiteral("Button1"));
        ok->SetModalResult(mrOk);
        ok->SetDefault(true);
        cancel->SetModalResult(mrCancel);
        ok->move(0, 30);
        cancel->move(80, 30);
        ok->OnClick = [this](QObject*) {
            if (name->text().isEmpty()) {
                MessageDlg(QStringLiteral("没有输入登录名称！"), mtError, {mbOK});
                SetModalResult(mrNone);   // stay open
            }
        };
    }
};

TEST(DialogsScript, ModalFormReturnsItsResult)
{
    TDialogScriptScope script;
    // First showing: OK with an empty name keeps the form open; the user then
    // types a name and presses OK again.
    DialogScript::AnswerForm([](TForm& f) {
        auto& form = static_cast<OkCancelForm&>(f);
        QTest::mouseClick(form.ok, Qt::LeftButton);
        Application->ProcessMessages();
        EXPECT_EQ(form.ModalResult(), mrNone);
        EXPECT_TRUE(form.isVisible());
        QTest::keyClicks(form.name, QStringLiteral("admin"));
        QTest::mouseClick(form.ok, Qt::LeftButton);
        return mrNone;
    });
    DialogScript::Answer(mrCancel);   // second showing: just cancelled
    OkCancelForm form;
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.name->text(), QStringLiteral("admin"));
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(DialogScript::Texts(), (QStringList{"frmLogin", "没有输入登录名称！", "frmLogin"}));
    EXPECT_EQ(DialogScript::Log()[0].Caption, QStringLiteral("登录"));
    EXPECT_EQ(DialogScript::Log()[0].Result, mrOk);
}

// Runs a step from the modal loop of a form once the form is on screen: the step is posted when
// the form shows, so it runs only after the loop has started, however long showing takes.
class WhenShown : public QObject {
public:
    explicit WhenShown(QWidget* form) : m_form(form) { form->installEventFilter(this); }
    void Then(std::function<void()> step) { m_step = std::move(step); }
    // Posts a step to the running loop (for a step that must follow another one's handling).
    void Post(std::function<void()> step) { QMetaObject::invokeMethod(this, std::move(step), Qt::QueuedConnection); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == m_form && e->type() == QEvent::Show && m_step) Post(std::exchange(m_step, nullptr));
        return false;
    }

private:
    QWidget* m_form;
    std::function<void()> m_step;
};

TEST(DialogsScript, RealModalLoopEndsOnTheButtonsModalResult)
{
    ASSERT_FALSE(DialogScript::Active());
    OkCancelForm form;
    form.name->setText(QStringLiteral("admin"));
    WhenShown shown(&form);
    // Only a guard against a hang: the steps below never wait for it.
    QObject context;
    bool guarded = false;
    QTimer::singleShot(120000, &context, [&] {
        guarded = true;
        form.OnCloseQuery = nullptr;
        form.SetModalResult(mrAbort);
    });
    shown.Then([&] {
        EXPECT_TRUE(form.isVisible());
        form.ok->click();
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(guarded);
    // Closing the window of a modal form cancels it; CloseQuery may refuse. The second close
    // comes after the first refusal has been handled.
    int asked = 0;
    form.OnCloseQuery = [&](QObject*, bool& can) {
        can = ++asked > 1;
        if (!can) shown.Post([&] { form.close(); });
    };
    shown.Then([&] { form.close(); });
    EXPECT_EQ(form.ShowModal(), mrCancel);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(guarded);
}

} // namespace
