// A flat grid with a single border draws its one-pixel border around the cells: the cells
// keep clear of it, so the outer cells show whole.
#include "dbgrid_panels_fixture.h"
#include "testmain/testsupport.h"

#include "grid/control/DBGridGxPaintScrollBar.h"

#include <QImage>

using namespace gxpanels;

using FlatBorder = PanelGridTest;

TEST_F(FlatBorder, OuterCellsStayClearOfTheBorder)
{
    // The same grid without a border, two pixels smaller, beside it.
    auto* bare = new TDBGridGx(form.get());
    bare->setGeometry(grid->x() + grid->width() + 8, grid->y(), grid->width() - 2, grid->height() - 2);
    bare->SetDataSource(&src);
    for (TDBGridGx* g : {grid, bare}) {
        for (int i = 0; i < g->Columns()->Count(); ++i)
            g->Columns()->GetColumn(i)->SetWidth(80);
        g->VertScrollBar()->SetVisibleMode(sbNeverShowGx);
        g->HorzScrollBar()->SetVisibleMode(sbNeverShowGx);
        g->SetFlat(true);
    }
    bare->SetBorderStyle(bsNoneGx);
    form->resize(grid->width() * 2 + 24, form->height());
    QApplication::processEvents();

    // The cells start inside the border and end before it.
    const TRect first = grid->CellRect(0, 0);
    EXPECT_EQ(first.Left, 1);
    EXPECT_EQ(first.Top, 1);
    EXPECT_EQ(bare->CellRect(0, 0).Left, 0);
    EXPECT_EQ(grid->CellRect(1, 1).Left, bare->CellRect(1, 1).Left + 1);

    // Neither has the focus, so both paint the current row alike.
    grid->clearFocus();
    form->setFocus();
    QApplication::processEvents();
    grid->Repaint();
    bare->Repaint();
    const QImage framed = grid->grab().toImage();
    const QImage plain = bare->grab().toImage();
    // The border itself: the sunken edge's dark top-left line.
    EXPECT_NE(framed.pixel(0, 5), framed.pixel(1, 5));
    // Inside it, pixel for pixel the grid without a border: the titles, the indicator and the
    // first rows with their outer lines.
    const QRect inner(0, 0, 200, 120);
    EXPECT_EQ(framed.copy(inner.translated(1, 1)), plain.copy(inner));
    EXPECT_TRUE(grid->grab().save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_flat.png")));
}
