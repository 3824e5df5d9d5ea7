// The bill grid's columns hold what the clerk enters: six-digit quantities, their amounts and
// the sums in the footer show whole in this platform's font, in both line layouts.
#include "bill_support.h"
#include "testmain/gridfit.h"

#include "platform/gui/FontScale.h"

#include <QApplication>

TEST_F(BillTest, SixDigitQuantitiesShowWhole)
{
    EXPECT_GT(FontScale(), 1.0) << "the application font is wider than the original's";
    for (int layout : {0, 1}) {
        imbilltype = layout;
        auto bill = OpenBill();
        FillHead(*bill);
        TClientDataSet& d = bill->CDSdetail;
        for (const auto& [mid, qty, price] : {std::tuple{7, 104000.0, 3.5}, std::tuple{8, 999999.0, 2.25}}) {
            d.Append();
            d.FieldByName(QStringLiteral("mid"))->SetAsInteger(mid);
            d.FieldByName(QStringLiteral("qty"))->SetAsFloat(qty);
            d.FieldByName(layout == 0 ? QStringLiteral("sprice") : QStringLiteral("rprice"))->SetAsFloat(price);
            d.Post();
        }
        bill->acSaveExecute();
        ASSERT_EQ(d.RecordCount(), 2);
        QApplication::processEvents();
        const QStringList numbers = layout == 0
                                        ? QStringList{"qty", "sprice", "dprice"}
                                        : QStringList{"qty", "rprice", "expense", "amount", "sprice", "dprice"};
        QStringList widths;
        for (int i = 0; i < bill->DBGridGx1->Columns()->Count(); ++i)
            widths << QString::number(bill->DBGridGx1->Columns()->Items(i)->Width());
        EXPECT_EQ(dpxtest::CutTexts(bill->DBGridGx1, numbers), QStringList())
            << "layout " << layout << ", form " << bill->width() << ", grid " << bill->DBGridGx1->width()
            << ", columns " << widths.join(QLatin1Char(' ')).toStdString();
        ASSERT_TRUE(bill->grab().save(apptest::artifact(QStringLiteral("bill_six_digits_%1.png").arg(layout))));
    }
}
