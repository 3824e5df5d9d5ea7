// The footer rows of the stock query and the bill queries: the fixed text under the first
// column ("合计" or "汇总"), and under each summed column the sum of its field over the rows
// shown; no other column has a footer.
#include "query_support.h"

#include "reports/CompositeStock.h"
#include "reports/QueryBills.h"
#include "reports/StockQuery.h"

#include <QFile>
#include <QMap>
#include <cmath>

using namespace querytest;

namespace {

// A layout's footers: the field with the fixed text, and the summed fields.
struct Footers {
    const char* textfield;
    const char* text;
    QStringList sums;
};

QStringList fields(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* f : list)
        out << QString::fromLatin1(f);
    return out;
}

// The sum of a field over every row of the result, independent of the grid's sum list.
double fieldsum(TDataSet& ds, const QString& field)
{
    double sum = 0;
    for (ds.First(); !ds.Eof(); ds.Next())
        sum += ds.FieldByName(field)->AsFloat();
    ds.First();
    return sum;
}

// Checks every column's footer against the layout's; at least one sum must be non-zero, so
// that a dropped sum cannot pass as an empty one.
void checkfooters(TfrmBasicquery& form, const Footers& expected)
{
    TDBGridGx* grid = form.DBGridGx1;
    ASSERT_TRUE(form.adoqry.Active());
    ASSERT_GT(form.adoqry.RecordCount(), 0);
    QStringList summed;
    bool nonzero = false;
    for (int i = 0; i < grid->Columns()->Count(); ++i) {
        TColumnGx* column = grid->Columns()->Items(i);
        const QString field = column->FieldName();
        const QString shown = grid->GetFooterValue(0, column);
        if (field.compare(QString::fromLatin1(expected.textfield), Qt::CaseInsensitive) == 0) {
            EXPECT_EQ(shown, QString::fromUtf8(expected.text)) << field.toStdString();
        } else if (expected.sums.contains(field, Qt::CaseInsensitive)) {
            summed << field;
            const double sum = fieldsum(form.adoqry, field);
            nonzero = nonzero || sum != 0;
            ASSERT_FALSE(shown.isEmpty()) << field.toStdString() << ": no sum";
            bool ok = false;
            const double value = shown.toDouble(&ok);
            EXPECT_TRUE(ok) << field.toStdString() << ": " << shown.toStdString();
            EXPECT_LT(std::fabs(value - sum), 0.005) << field.toStdString() << ": " << shown.toStdString();
        } else {
            EXPECT_EQ(shown, QString()) << field.toStdString();
        }
    }
    EXPECT_EQ(summed.size(), expected.sums.size()) << summed.join(u',').toStdString();
    EXPECT_TRUE(nonzero);
}

} // namespace

TEST_F(QueryTest, StockQueryFooters)
{
    TfrmQueryStorage form;
    show(&form);
    ASSERT_TRUE(form.breednodes->setselectnode(1));
    form.acQuery->trigger();
    checkfooters(form, {"mname", "汇总", fields({"qty", "cost"})});

    // The price batches of a source, in both settings.
    for (const Setting& setting : {kSettings[0], kSettings[2]}) {
        SCOPED_TRACE(setting.name);
        apply(setting);
        QFile::remove(Tfrmquerybase::conditionfile());
        TfrmQueryStorage batches;
        show(&batches);
        DialogScript::AnswerForm([&](TForm& f) {
            auto& d = static_cast<TfrmQuerySrgdetail&>(f);
            d.c3.box->SetChecked(true);
            d.c3.code = QStringLiteral("000003");
            d.Button1->click();
            return mrOk;
        });
        batches.acQueryEx->trigger();
        ASSERT_TRUE(batches.batchesshown());
        const bool overseas = setting.sys == TSystype::overseas;
        checkfooters(batches, {"bdate", "合计", overseas ? fields({"qty", "rdprice"}) : fields({"qty", "dprice"})});
    }
}

TEST_F(QueryTest, BillQueryFooters)
{
    for (const Setting& setting : kSettings) {
        SCOPED_TRACE(setting.name);
        apply(setting);
        const bool overseas = setting.sys == TSystype::overseas;
        struct Case {
            const char* name;
            bool stockin, summary;
            Footers footers;
        };
        const Case cases[] = {
            {"out summary", false, true, {"mname", "合计", fields({"qty", "dprice"})}},
            {"in summary", true, true, {"mname", "汇总", fields({"qty", "dprice"})}},
            {"out detail", false, false,
             {"billnum", "合计", overseas ? fields({"qty", "rdprice", "dprice"}) : fields({"qty", "dprice"})}},
            {"in detail", true, false,
             overseas                  ? Footers{"bdate", "汇总", fields({"qty", "rdprice", "dprice"})}
             : setting.imtype == 1 ? Footers{"bdate", "汇总", fields({"qty", "expense", "amount", "dprice"})}
                                   : Footers{"bdate", "合计", fields({"qty", "dprice"})}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            Tfrmquerybill form(nullptr, c.stockin);
            show(&form);
            form.CheckBox2->SetChecked(c.summary);
            form.acQuery->trigger();
            checkfooters(form, c.footers);
        }
    }
}
