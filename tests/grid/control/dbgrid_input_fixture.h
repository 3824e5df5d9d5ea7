#pragma once
// A data grid on a dialog, over a client dataset that holds the material list of
// a real account set read from the engine of the run (the embedded one, or the
// PostgreSQL test server when DPX_TEST_ENGINE is "postgres"), with the dialog
// service scripted and helpers that press keys and click cells.
#include "../../data/schema_accountset.h"
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxEdit.h"
#include "grid/control/DBGridGxInputSelection.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Provider.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Form.h"
#include "platform/rtl/Program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>

namespace gxinput {

// The material list of an account set: code, name, unit and model.
struct MaterialRow {
    int fid;
    const char* code;
    const char* name;
    const char* unit;
    const char* type;
};

inline const std::vector<MaterialRow>& MaterialRows()
{
    static const std::vector<MaterialRow> rows = {
        {1, "A01", "钢筋 Steel", "吨", "HRB400"},   {2, "A02", "水泥 cement", "袋", "P.O 42.5"},
        {3, "B01", "砂石 sand", "方", "中砂"},      {4, "B02", "steel plate", "张", "Q235"},
        {5, "C01", "木方 timber", "根", "50x100"},  {6, "C02", "Cement block", "块", "MU10"},
        {7, "D01", "电线 wire", "米", "BV2.5"},     {8, "D02", "开关 switch", "个", "86型"},
        {9, "E01", "油漆 paint", "桶", "18L"},      {10, "E02", "steel pipe", "根", "DN50"},
        {11, "F01", "玻璃 glass", "块", "6mm"},     {12, "F02", "螺丝 screw", "盒", "M6"},
    };
    return rows;
}

// A dialog with a cancel button and a data grid over the material list.
class GridTest : public dpxtest::AccountSetTest {
protected:
    void SetUp() override
    {
        dpxtest::AccountSetTest::SetUp();
        if (HasFatalFailure())
            return;
        InitDBGridGxUnits();
        DialogScript::Start();
        for (const MaterialRow& r : MaterialRows())
            ASSERT_EQ(run(QStringLiteral("insert into mtrlist (FID, bID, code, mname, munit, mtype) values (%1, 1, "
                                         "'%2', '%3', '%4', '%5')")
                              .arg(r.fid)
                              .arg(QString::fromUtf8(r.code), QString::fromUtf8(r.name), QString::fromUtf8(r.unit),
                                   QString::fromUtf8(r.type))),
                      QString());
        {
            // The rows through a query into a client dataset, the way the lists load them.
            TADOQuery q(&connection());
            q.SQL() << QStringLiteral("select FID, code, mname, munit, mtype from mtrlist order by FID");
            q.Open();
            cds.SetData(TDataSetProvider::PacketFromDataSet(&q, -1));
            cds.First();
        }
        form = std::make_unique<TForm>();
        form->resize(520, 360);
        cancel = new TButton(QStringLiteral("取消"), form.get());
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        cancel->setGeometry(430, 320, 80, 25);
        grid = new TDBGridGx(form.get());
        grid->setGeometry(4, 4, 420, 300);
        src.SetDataSet(&cds);
        grid->SetDataSource(&src);
        // Every column in view.
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->GetColumn(i)->SetWidth(76);
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
        grid->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        form.reset();
        src.SetDataSet(nullptr);
        cds.Close();
        DialogScript::Stop();
        dpxtest::AccountSetTest::TearDown();
    }

    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget();
        if (!target || !form->isAncestorOf(target))
            target = grid;
        QTest::keyClick(target, Qt::Key(key), mods);
        QApplication::processEvents();
    }
    void Type(const QString& text)
    {
        for (QChar c : text) {
            QWidget* target = QApplication::focusWidget();
            if (!target || !form->isAncestorOf(target))
                target = grid;
            if (c.unicode() < 128) {
                QTest::keyClicks(target, QString(c));
            } else {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(target, &press);
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(target, &release);
            }
            QApplication::processEvents();
        }
    }
    // The centre of a grid cell (column, row of the grid).
    QPoint CellCenter(int col, int row) const
    {
        const TRect r = grid->CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void Click(int col, int row, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(grid, Qt::LeftButton, mods, CellCenter(col, row));
        QApplication::processEvents();
    }
    int Rec() const { return cds.RecNo(); }
    QString Field(const char* name) { return cds.FieldByName(QString::fromLatin1(name))->AsString(); }
    int ColumnOf(const char* field)
    {
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            if (grid->Columns()->GetColumn(i)->FieldName().compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    void GoTo(int recNo, const char* field = nullptr)
    {
        cds.SetRecNo(recNo);
        if (field)
            grid->SetSelectedIndex(ColumnOf(field));
        QApplication::processEvents();
    }

    TClientDataSet cds;
    TDataSource src;
    std::unique_ptr<TForm> form;
    TButton* cancel = nullptr;
    TDBGridGx* grid = nullptr;
};

} // namespace gxinput
