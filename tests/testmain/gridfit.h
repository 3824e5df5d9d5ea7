#pragma once
// Whether a data grid shows the whole text of its cells: for the named columns, the text of
// every record and of the footer, measured in the font the grid draws it with, against the
// column's cell rectangle less the margins the grid keeps on either side of a text.
#include "grid/control/DBGridGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

#include <QFontMetrics>
#include <QStringList>

namespace dpxtest {

// The texts that do not fit, each as "field: text (text width > room)"; empty when all fit.
// Leaves the dataset on its first record.
inline QStringList CutTexts(TDBGridGx* grid, const QStringList& fields)
{
    constexpr int kMargins = 5;   // 2 pixels before a text, 3 after a right-aligned one
    QStringList cut;
    TDataSet* ds = grid->DataSource() ? grid->DataSource()->DataSet() : nullptr;
    if (!ds || !ds->Active()) return {QStringLiteral("no data")};
    for (int i = 0; i < grid->Columns()->Count(); ++i) {
        TColumnGx* column = grid->Columns()->Items(i);
        if (!fields.contains(column->FieldName())) continue;
        const TRect cell = grid->CellRect(grid->DataToRawColumn(i), grid->TitleOffset());
        const int room = cell.Right - cell.Left - kMargins;
        auto check = [&](const QString& text, TFont* font) {
            const int width = QFontMetrics(font->toQFont()).horizontalAdvance(text);
            if (width > room)
                cut << QStringLiteral("%1: %2 (%3 > %4)").arg(column->FieldName(), text).arg(width).arg(room);
        };
        for (ds->First(); !ds->Eof(); ds->Next())
            check(column->DisplayText(), column->Font());
        if (grid->FooterRowCount() > 0) check(grid->GetFooterValue(0, column), column->Footer()->Font());
    }
    ds->First();
    return cut;
}

} // namespace dpxtest
