#pragma once
// The data grid over one stock-in bill head of an account set (a key, a bill
// number, a date with a time of day and an audit flag), with the cell editor
// opened on a column by F2.
#include "dbgrid_input_fixture.h"

namespace gxinput {

class BillsGridTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(run(QStringLiteral("insert into ibmaster (fid, pid, billnum, bdate, brecorded) values (1, 1, "
                                     "'RK0001', '2024-04-30 14:30:00', 0)")),
                  QString());
        TADOQuery q(&connection());
        q.SQL() << QStringLiteral("select fid, billnum, bdate, brecorded from ibmaster");
        q.Open();
        bills.SetData(TDataSetProvider::PacketFromDataSet(&q, -1));
        src.SetDataSet(&bills);
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            grid->Columns()->GetColumn(i)->SetWidth(120);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        src.SetDataSet(&cds);
        bills.Close();
        GridTest::TearDown();
    }
    TColumnGx* Column(const char* field)
    {
        for (int i = 0; i < grid->Columns()->Count(); ++i)
            if (grid->Columns()->GetColumn(i)->FieldName() == QLatin1String(field))
                return grid->Columns()->GetColumn(i);
        return nullptr;
    }
    TDBGridInplaceEdit* OpenEditor(const char* field)
    {
        grid->SetSelectedIndex(Column(field)->Index());
        grid->setFocus();
        Key(Qt::Key_F2);
        return dynamic_cast<TDBGridInplaceEdit*>(grid->InplaceEditor());
    }
    TField* BillField(const char* name) { return bills.FieldByName(QString::fromLatin1(name)); }
    TClientDataSet bills;
};

} // namespace gxinput
