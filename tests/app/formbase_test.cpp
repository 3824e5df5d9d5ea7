// The form framework: Enter moves on like Tab from edits, combo boxes, date-time pickers and
// editors, list boxes and radio groups, and does nothing on a button; the highlight follows the
// focus; showing a form clears the input-method binding of its plain edits; the frames' buttons.
#include "app/FormBase.h"
#include "app_fixture.h"
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxUnit.h"
#include "grid/support/DBCtrlsGx.h"
#include "grid/support/DBCtrlsGxDateTime.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/DBControls.h"
#include "platform/gui/FontScale.h"
#include "platform/gui/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

class EnterForm : public TfrmBase_C {
public:
    EnterForm()
    {
        resize(300, 500);
        auto* box = new QVBoxLayout(this);
        auto add = [&](QWidget* w, const char* name) {
            w->setObjectName(QString::fromLatin1(name));
            box->addWidget(w);
            return w;
        };
        add(new QLineEdit(this), "edit");
        add(new QPlainTextEdit(this), "memo");
        auto* combo = new QComboBox(this);
        combo->addItems({QStringLiteral("甲"), QStringLiteral("乙")});
        add(combo, "combo");
        auto* editable = new QComboBox(this);
        editable->setEditable(true);
        add(editable, "editablecombo");
        add(new QDateTimeEdit(this), "picker");
        add(new QSpinBox(this), "spin");
        add(new TDBEditGx(this), "dbedit");
        add(new TDBDateTimeEditGx(this), "dbdatetime");
        auto* list = new QListWidget(this);
        list->addItems({QStringLiteral("一"), QStringLiteral("二")});
        add(list, "list");
        auto* radios = new TRadioGroup(QStringLiteral("系统用于"), this);
        radios->SetItems({QStringLiteral("国内"), QStringLiteral("海外")});
        radios->SetItemIndex(0);
        add(radios, "radios");
        add(new QLineEdit(this), "last");
        auto* button = new TButton(QStringLiteral("按钮"), this);
        button->setAutoDefault(false);
        add(button, "button");
        button->OnClick = [this](QObject*) { ++clicks; };
        auto* check = new QCheckBox(QStringLiteral("勾选"), this);
        add(check, "check");
        // A read-only data grid of three field columns over two records.
        InitDBGridGxUnits();
        rows.FieldDefs().Add("code", ftWideString, 10);
        rows.FieldDefs().Add("name", ftWideString, 20);
        rows.FieldDefs().Add("qty", ftInteger);
        rows.CreateDataSet();
        rows.AppendRecord({Variant(QStringLiteral("A01")), Variant(QStringLiteral("钢筋")), Variant(qint64(5))});
        rows.AppendRecord({Variant(QStringLiteral("A02")), Variant(QStringLiteral("水泥")), Variant(qint64(7))});
        rows.First();
        source.SetDataSet(&rows);
        grid = new TDBGridGx(this);
        grid->SetDataSource(&source);
        grid->SetOptions(TDBGridOptions(grid->Options()).Exclude(dgEditing));
        add(grid, "grid");
    }
    ~EnterForm() override
    {
        delete grid;
        source.SetDataSet(nullptr);
    }
    int clicks = 0;
    TClientDataSet rows;
    TDataSource source;
    TDBGridGx* grid;
};

// The widget that takes the focus for a named control (its inner window, for the editors).
QWidget* focusTarget(QWidget* w)
{
    if (auto* r = dynamic_cast<TRadioGroup*>(w))
        return r->Button(r->ItemIndex());
    if (auto* c = qobject_cast<QComboBox*>(w); c && c->isEditable())
        return c->lineEdit();
    for (QLineEdit* inner : w->findChildren<QLineEdit*>())
        if (inner->isVisible() && !qobject_cast<QComboBox*>(w))
            return inner;
    return w;
}

} // namespace

TEST(FormFramework, EnterMovesOnLikeTab)
{
    EnterForm form;
    apptest::showActive(&form);
    // control with the focus -> control that has it after Enter (empty: Enter leaves it there)
    const std::pair<const char*, const char*> cases[] = {
        {"edit", "memo"},         {"memo", "combo"},        {"combo", "editablecombo"}, {"editablecombo", "picker"},
        {"picker", "spin"},       {"spin", "dbedit"},       {"dbedit", "dbdatetime"},   {"dbdatetime", "list"},
        {"list", "radios"},       {"radios", "last"},       {"last", "button"},         {"button", ""},
        {"check", ""},
    };
    for (const auto& [from, to] : cases) {
        auto* w = form.Find<QWidget>(QString::fromLatin1(from));
        ASSERT_NE(w, nullptr) << from;
        QWidget* target = focusTarget(w);
        target->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(target->hasFocus()) << from;
        const QString before = form.findChild<QPlainTextEdit*>(QStringLiteral("memo"))->toPlainText();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
        QWidget* now = QApplication::focusWidget();
        if (*to) {
            auto* expected = form.Find<QWidget>(QString::fromLatin1(to));
            EXPECT_TRUE(now == expected || (expected && expected->isAncestorOf(now))) << from << " -> "
                << (now ? now->objectName().toStdString() + " " + now->metaObject()->className() : "none");
        } else {
            EXPECT_TRUE(now == target) << from;
        }
        // No new line in the memo.
        EXPECT_EQ(form.findChild<QPlainTextEdit*>(QStringLiteral("memo"))->toPlainText(), before) << from;
    }
    // On the button Enter is the button's own: it is clicked once.
    EXPECT_EQ(form.clicks, 1);

    // In the data grid Enter steps to the next field column of the same record, from the last
    // one back to column 0; the focus stays in the grid.
    form.grid->setFocus();
    form.rows.Last();
    QApplication::processEvents();
    ASSERT_TRUE(form.grid->hasFocus());
    const std::pair<int, int> columns[] = {{0, 1}, {1, 2}, {2, 0}};
    for (const auto& [from, to] : columns) {
        form.grid->SetSelectedIndex(from);
        QTest::keyClick(form.grid, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(form.grid->SelectedIndex(), to) << from;
        EXPECT_EQ(form.rows.RecNo(), 2) << from;
        EXPECT_EQ(QApplication::focusWidget(), form.grid) << from;
    }
}

TEST(FormFramework, HighlightFollowsTheFocus)
{
    TfrmBase_C form;
    auto* box = new QVBoxLayout(&form);
    QList<QLineEdit*> edits;
    for (int i = 0; i < 3; ++i) {
        edits << new QLineEdit(&form);
        box->addWidget(edits.last());
        form.BindHighlight(edits.last());
    }
    apptest::showActive(&form);
    const QColor highlight = ToQColor(clGradientActiveCaption);
    const QColor window = ToQColor(clWindow);
    edits[0]->setFocus();
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(edits[j]->palette().color(QPalette::Base) == highlight, j == i) << i << " " << j;
        QTest::keyClick(edits[i], Qt::Key_Tab);
    }
    // Leaving the last edit gives it the window colour back.
    QApplication::processEvents();
    EXPECT_EQ(edits[2]->palette().color(QPalette::Base), window);
}

TEST(FormFramework, ShowingClearsTheInputMethodOfPlainEdits)
{
    TfrmBase_C form;
    auto* plain = new QLineEdit(&form);
    auto* bound = new TDBEdit(&form);
    plain->setInputMethodHints(Qt::ImhLatinOnly);
    bound->setInputMethodHints(Qt::ImhLatinOnly);
    apptest::showActive(&form);
    EXPECT_EQ(plain->inputMethodHints(), Qt::ImhNone);
    EXPECT_EQ(bound->inputMethodHints(), Qt::ImhLatinOnly);
}

TEST(FormFramework, FrameButtons)
{
    TfrmNormalForm normal;
    TfrmBaseform base;
    EXPECT_EQ(normal.Caption(), QStringLiteral("Base Class"));
    EXPECT_EQ(normal.Button1->Caption(), QStringLiteral("确定"));
    EXPECT_EQ(normal.Button2->Caption(), QStringLiteral("返回"));
    EXPECT_TRUE(normal.Button1->Default());
    EXPECT_EQ(base.Button2->Caption(), QStringLiteral("取消"));
    EXPECT_FALSE(base.Button1->Default());
    EXPECT_EQ(normal.Button1->ModalResult(), mrOk);
    EXPECT_EQ(base.Button2->ModalResult(), mrCancel);
    EXPECT_TRUE(normal.KeyPreview());
    EXPECT_EQ(normal.Panel2->width(), Scaled(90));   // the designed width, for this font
    // OK closes the dialog after its handler, also after an error message.
    TDialogScriptScope script;
    DialogScript::AnswerForm([](TForm& f) {
        auto& frame = static_cast<TfrmBaseform&>(f);
        frame.Button1->OnClick = [](QObject*) { MessageDlg(QStringLiteral("错了"), mtError, {mbOK}); };
        frame.Button1->Click();
        return mrNone;
    });
    EXPECT_EQ(base.ShowModal(), mrOk);
}
