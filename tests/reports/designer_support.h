#pragma once
// The designer under test: a program folder of its own with the build's five bill templates
// in dpxprt, the dialog service scripted, the process printer's paper restored afterwards,
// and helpers that click the designer's buttons and the template's cells as a user would.
#include "app/prt_support.h"

#include "reports/DesignerDialogs.h"
#include "reports/DesignerForm.h"

#include "platform/gui/RadioGroup.h"
#include "platform/rtl/Program.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace designertest {

struct Shipped {
    const char* resource;
    const char16_t* file;
    int billtype;
};

inline const Shipped kShipped[] = {
    {"EXBILLA", u"材料出库单（普通型）.prt", 1}, {"EXBILLC", u"材料出库单（多币种）.prt", 1},
    {"IMBILLA", u"材料入库单（成品型）.prt", 0}, {"IMBILLB", u"材料入库单（运杂类）.prt", 0},
    {"IMBILLC", u"材料入库单（多币种）.prt", 0},
};

inline QByteArray ReadAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DesignerTest : public ::testing::Test {
public:
    // A radio button is clicked on its indicator.
    static void ClickRadio(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(7, b->height() / 2)); }
    // Types a text as key presses (any characters, not only those with a key of their own).
    static void Type(QWidget* w, const QString& text)
    {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(w, &release);
        }
    }
    // Types a value into a spin edit.
    static void SetSpin(QSpinBox* spin, int value)
    {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, QString::number(value));
        spin->interpretText();
    }

protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetProgramDirForTesting(dir.path());
        QDir().mkpath(dir.path() + QStringLiteral("/dpxprt"));
        for (const Shipped& s : kShipped)
            ASSERT_TRUE(QFile::copy(QStringLiteral(DPX_PROGRAM_DIR "/dpxprt/") + QString::fromUtf16(s.file),
                                    Template(s)));
        paperW = Printer()->PaperWidth();
        paperL = Printer()->PaperLength();
        form = std::make_unique<TfrmPrintSet>();
        form->show();
        QApplication::processEvents();
        rc = form->ReportControl1;
    }
    void TearDown() override
    {
        form.reset();
        Printer()->SetPaperSize(paperW, paperL);
        SetProgramDirForTesting(QString());
    }

    QString Template(const Shipped& s) const { return dir.path() + QStringLiteral("/dpxprt/") + QString::fromUtf16(s.file); }
    QString InDir(const QString& name) const { return dir.path() + QStringLiteral("/dpxprt/") + name; }

    void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    // Opens a template with "打开".
    void Open(const QString& file)
    {
        DialogScript::AnswerText(file);
        Click(form->ToolButton2);
    }
    // Saves with "保存" under a name.
    void Save(const QString& file)
    {
        DialogScript::AnswerText(file);
        Click(form->ToolButton3);
    }
    TReportCell* Cell(int l, int c) const { return rc->Line(l)->Cell(c); }
    QPoint Inside(const TReportCell* cell) const
    {
        const TRect r = cell->CellRect();
        return QPoint(r.Left + std::min(20, (r.Right - r.Left) / 2), (r.Top + r.Bottom) / 2);
    }
    // Selects one cell with a click.
    void Select(const TReportCell* cell)
    {
        QTest::mousePress(rc, Qt::LeftButton, Qt::NoModifier, Inside(cell));
        QTest::mouseRelease(rc, Qt::LeftButton, Qt::NoModifier, Inside(cell));
    }
    // Selects the cells under a rubber band from one cell to another.
    void Select(const TReportCell* from, const TReportCell* to)
    {
        QTest::mousePress(rc, Qt::LeftButton, Qt::NoModifier, Inside(from));
        QTest::mouseMove(rc, Inside(to));
        QTest::mouseRelease(rc, Qt::LeftButton, Qt::NoModifier, Inside(to));
    }
    // A template of rows x cols from "新增" with the table dialog's other defaults.
    void NewTable(int rows, int cols, int billtype = 0, int width = 240, int height = 138)
    {
        DialogScript::AnswerForm([=](TForm& f) {
            auto& d = dynamic_cast<Tfrmtableset&>(f);
            SetSpin(d.rowEdit, rows);
            SetSpin(d.colEdit, cols);
            SetSpin(d.widthedit, width);
            SetSpin(d.heightedit, height);
            ClickRadio(d.RadioGroup1->Button(billtype));
            QTest::mouseClick(d.Button1, Qt::LeftButton);
            return mrNone;
        });
        Click(form->ToolButton1);
    }
    QStringList Kinds() const
    {
        QStringList kinds;
        for (const TShownDialog& d : DialogScript::Log()) kinds << d.Kind;
        return kinds;
    }

    TDialogScriptScope script;
    QTemporaryDir dir;
    std::unique_ptr<TfrmPrintSet> form;
    TReportControl* rc = nullptr;
    int paperW = 0, paperL = 0;
};

} // namespace designertest
