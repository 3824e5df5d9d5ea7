// The price rules of the stock-in bill: layout × price model × quantity, with the
// administration rate and the purchase currency's rate; the currency handler re-prices only on
// a currency change.
#include "bill_support.h"

#include "app/SysSetForm.h"
#include "platform/gui/RadioGroup.h"

namespace {

// The line's derived values: sprice, dprice, amount, rsprice, rdprice ("" when empty).
QString Line(TClientDataSet& d)
{
    QStringList out;
    for (const char* f : {"sprice", "dprice", "amount", "rsprice", "rdprice"}) {
        TField* field = d.FieldByName(QString::fromLatin1(f));
        out << (field->IsNull() ? QString() : QString::number(field->AsFloat()));
    }
    return out.join(QLatin1Char('|'));
}

} // namespace

TEST_F(BillTest, PriceRulesByLayoutModelAndQuantity)
{
    struct Case {
        const char* layout;   // A local 0, A2 local 2 (the template's value), B local 1, C overseas
        int mid;              // 7: batches, rate 10 %; 8: moving average; 9: planned price 12.5
        double qty;
        const char* expected; // sprice|dprice|amount|rsprice|rdprice
    };
    // Entered: rprice 100, expense 10. C converts at the purchase rate 4 into the settlement rate 2.
    const Case cases[] = {
        {"A", 7, 4, "||||"},
        {"A", 8, 4, "||||"},
        {"A", 9, 4, "12.5|50|||"},
        {"A", 9, 0, "12.5|0|||"},
        {"A2", 8, 4, "||||"},
        {"A2", 9, 4, "12.5|50|||"},
        {"B", 7, 4, "30.25|121|110||"},
        {"B", 8, 4, "27.5|110|110||"},
        {"B", 9, 4, "12.5|50|110||"},
        {"B", 7, 0, "||110||"},
        {"B", 9, 0, "||110||"},
        {"C", 7, 4, "15.13|60.52|110|27.5|110"},
        {"C", 8, 4, "13.75|55|110|27.5|110"},
        {"C", 9, 4, "12.5|50|110|27.5|110"},
        {"C", 7, 0, "||110||110"},
        {"C", 9, 0, "12.5|0|110||110"},
    };
    for (const Case& c : cases) {
        const QString layout = QString::fromLatin1(c.layout);
        systype = layout == QLatin1String("C") ? TSystype::overseas : TSystype::local;
        imbilltype = layout == QLatin1String("B") ? 1 : layout == QLatin1String("A2") ? 2 : 0;
        auto bill = OpenBill();
        if (systype == TSystype::overseas) {
            bill->cdsmaster.FieldByName(QStringLiteral("cid"))->SetAsInteger(2);   // 美元, rate 4
            ASSERT_EQ(bill->currencyrate(), 4);
            ASSERT_EQ(bill->settlementrate(), 2);
        }
        TClientDataSet& d = bill->CDSdetail;
        d.Append();
        d.FieldByName(QStringLiteral("mid"))->SetAsInteger(c.mid);
        d.FieldByName(QStringLiteral("qty"))->SetAsFloat(c.qty);
        d.FieldByName(QStringLiteral("rprice"))->SetAsFloat(100);
        d.FieldByName(QStringLiteral("expense"))->SetAsFloat(10);
        EXPECT_EQ(Line(d), QString::fromLatin1(c.expected)) << c.layout << " " << c.mid << " " << c.qty;
    }
}

TEST_F(BillTest, OnlyTheCurrencyRepricesTheLines)
{
    struct Case {
        TSystype sys;
        const char* field;
        int value;
        const char* sprice;   // after the change; 9.99 was typed over the derived price
    };
    const Case cases[] = {
        {TSystype::local, "ckid", 1, "9.99"},
        {TSystype::overseas, "ckid", 1, "9.99"},
        {TSystype::overseas, "cid", 1, "27.5"},   // rate 2 into 2: 110 / 4
    };
    for (const Case& c : cases) {
        systype = c.sys;
        imbilltype = 1;
        auto bill = OpenBill();
        if (c.sys == TSystype::overseas)
            bill->cdsmaster.FieldByName(QStringLiteral("cid"))->SetAsInteger(2);
        TClientDataSet& d = bill->CDSdetail;
        d.Append();
        d.FieldByName(QStringLiteral("mid"))->SetAsInteger(8);
        d.FieldByName(QStringLiteral("qty"))->SetAsFloat(4);
        d.FieldByName(QStringLiteral("rprice"))->SetAsFloat(100);
        d.FieldByName(QStringLiteral("expense"))->SetAsFloat(10);
        d.FieldByName(QStringLiteral("sprice"))->SetAsFloat(9.99);
        d.Post();
        bill->cdsmaster.FieldByName(QString::fromLatin1(c.field))->SetAsInteger(c.value);
        EXPECT_EQ(QString::number(d.FieldByName(QStringLiteral("sprice"))->AsFloat()), QString::fromLatin1(c.sprice))
            << c.field;
        EXPECT_TRUE(Texts().filter(QStringLiteral("Error")).isEmpty());
    }
}

// A stored layout value other than 1 (the template's 2) is the finished-goods layout, in the bill
// form as in the settings form, which shows it so.
TEST_F(BillTest, ALayoutValueOtherThanOneIsTheFinishedGoodsLayout)
{
    imbilltype = 2;
    auto bill = OpenBill();
    QStringList fields;
    for (int i = 0; i < bill->DBGridGx1->Columns()->Count(); ++i)
        fields << bill->DBGridGx1->Columns()->Items(i)->FieldName();
    EXPECT_EQ(fields, (QStringList{QStringLiteral("mname"), QStringLiteral("mtype"), QStringLiteral("munit"),
                                   QStringLiteral("qty"), QStringLiteral("sprice"), QStringLiteral("dprice"),
                                   QStringLiteral("remark")}));
    Tfrmsystemset settings;
    apptest::showActive(&settings);
    EXPECT_EQ(settings.RadioGroup1->ItemIndex(), 0);
}
