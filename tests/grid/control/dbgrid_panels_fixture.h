#pragma once
// A shown data grid over a small in-memory material list (code, name, unit), for
// the row-detail panel, the row panel, record dragging and tree data. The list
// can offer the memory-table services (tree answers set per test).
#include "memtable_fixture.h"
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxColumns.h"
#include "grid/control/DBGridGxParts.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/DataSource.h"
#include "platform/gui/Form.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace gxpanels {

inline const std::vector<std::array<const char*, 3>>& PanelRows()
{
    static const std::vector<std::array<const char*, 3>> rows = {
        {"A01", "钢筋", "吨"}, {"A02", "水泥", "袋"}, {"B01", "砂石", "方"}, {"B02", "钢板", "张"},
        {"C01", "木方", "根"}, {"C02", "砌块", "块"}, {"D01", "电线", "米"}, {"D02", "开关", "个"},
    };
    return rows;
}

class PanelGridTest : public ::testing::Test {
protected:
    // Whether the list offers the memory-table services.
    virtual bool UseMemTable() const { return false; }
    void SetUp() override
    {
        InitDBGridGxUnits();
        table = UseMemTable() ? std::make_unique<TMemTableTestDataSet>() : std::make_unique<TClientDataSet>();
        table->FieldDefs().Add(QStringLiteral("code"), ftString, 10);
        table->FieldDefs().Add(QStringLiteral("mname"), ftString, 20);
        table->FieldDefs().Add(QStringLiteral("munit"), ftString, 10);
        table->CreateDataSet();
        for (const auto& r : PanelRows())
            table->AppendRecord({Variant(QString::fromUtf8(r[0])), Variant(QString::fromUtf8(r[1])),
                                 Variant(QString::fromUtf8(r[2]))});
        table->First();
        form = std::make_unique<TForm>();
        form->resize(520, 360);
        grid = new TDBGridGx(form.get());
        grid->setGeometry(4, 4, 420, 300);
        src.SetDataSet(table.get());
        grid->SetDataSource(&src);
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->GetColumn(i)->SetWidth(80);
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
        table->Close();
    }
    QString Code() { return table->FieldByName(QStringLiteral("code"))->AsString(); }
    // Codes of the list in its order.
    QString Codes()
    {
        QStringList out;
        const TBookmark at = table->GetBookmark();
        for (table->First(); !table->Eof(); table->Next())
            out << Code();
        table->GotoBookmark(at);
        return out.join(QLatin1Char(' '));
    }
    int DataRow(int recNo) const { return grid->TopDataOffset() + recNo - 1; }
    void Click(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(grid, Qt::LeftButton, mods, p);
        QApplication::processEvents();
    }

    std::unique_ptr<TClientDataSet> table;
    TDataSource src;
    std::unique_ptr<TForm> form;
    TDBGridGx* grid = nullptr;
};

} // namespace gxpanels
