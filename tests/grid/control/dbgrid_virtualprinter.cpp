// The printer forwarding object.
#include "grid/control/DBGridGxUnit.h"
#include "grid/control/DBGridGxVirtualPrinter.h"
#include <gtest/gtest.h>

namespace {

// A device with a physical margin of 50 pixels on the left and 30 at the top.
class MarginPrinter : public TVirtualPrinter {
protected:
    int PhysicalOffsetX() const override { return 50; }
    int PhysicalOffsetY() const override { return 30; }
};

} // namespace

TEST(DBGridVirtualPrinter, ForwardsAndComputesTheFullPage)
{
    TVirtualPrinter printer;
    printer.SetTitle(QStringLiteral("入库单"));
    EXPECT_EQ(Printer()->Title(), QStringLiteral("入库单"));
    printer.SetOrientation(poLandscape);
    EXPECT_EQ(Printer()->Orientation(), poLandscape);
    printer.SetOrientation(poPortrait);
    EXPECT_EQ(printer.PageWidth(), Printer()->PageWidth());
    EXPECT_EQ(printer.PixelsPerInchY(), Printer()->PixelsPerInchY());
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.Canvas(), Printer()->Canvas());

    MarginPrinter margins;
    EXPECT_EQ(margins.FullPageWidth(), Printer()->PageWidth() + 100);
    EXPECT_EQ(margins.FullPageHeight(), Printer()->PageHeight() + 60);
}

TEST(DBGridVirtualPrinter, LivesFromStartUpToShutDown)
{
    DoneDBGridGxUnits();
    EXPECT_EQ(DBGridGxVirtualPrinter(), nullptr);
    InitDBGridGxUnits();
    EXPECT_NE(DBGridGxVirtualPrinter(), nullptr);
    DoneDBGridGxUnits();
    EXPECT_EQ(DBGridGxVirtualPrinter(), nullptr);
}
