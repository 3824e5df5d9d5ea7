// Filling report string grids: Chinese numbering, cross-tabs with blank zeros, the turnover
// fill, dataset copies and emptying.
#include "ReportGrid.h"
#include "qstringprint.h"

#include "platform/db/ClientDataSet.h"
#include "platform/gui/StringGrid.h"

#include <QMap>
#include <gtest/gtest.h>

namespace {

tnodelist node(int level, const QString& code, const QString& text)
{
    tnodelist n;
    n.level = level;
    n.code = code;
    n.text = text;
    return n;
}

tnodelist item(int fid, const QString& code, const QString& text)
{
    tnodelist n;
    n.fid = fid;
    n.code = code;
    n.text = text;
    return n;
}

// Figures by code (row) and by code and item code (columns); unknown pairs are zero.
struct Figures {
    QMap<QString, QPair<double, double>> rows;
    QMap<QString, QPair<double, double>> cells;   // code + "/" + item code
    TRowFigure row() const
    {
        return [this](double& num, double& cost, const QString& code) {
            num = rows.value(code).first;
            cost = rows.value(code).second;
        };
    }
    TItemFigure cell() const
    {
        return [this](double& num, double& cost, const QString& code, const tnodelist& it) {
            const auto v = cells.value(code + QLatin1Char('/') + it.code);
            num = v.first;
            cost = v.second;
        };
    }
};

QStringList column(TStringGrid& grid, int col, int from)
{
    QStringList out;
    for (int r = from; r < grid.RowCount(); ++r)
        out << grid.Cells(col, r);
    return out;
}

} // namespace

TEST(ReportNumbers, ChineseNumerals)
{
    struct Case { int n; const char* text; };
    const Case cases[] = {{0, ""},      {1, "一"},     {9, "九"},     {10, "十"},   {11, "十一"}, {19, "十九"},
                          {20, "二十"}, {21, "二十一"}, {35, "三十五"}, {99, "九十九"}, {100, ""},  {-3, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(chinesenumber(c.n), QString::fromUtf8(c.text)) << c.n;
    EXPECT_EQ(chinesedigit(0), QString());
    EXPECT_EQ(chinesedigit(10), QString());
    EXPECT_EQ(chinesedigit(5), QStringLiteral("五"));
}

TEST(ReportFill, CrossTabNumbersRowsAndLeavesZerosBlank)
{
    TStringGrid grid;
    grid.SetFixedRows(2);
    grid.SetColCount(3);
    grid.SetRowCount(3);
    TNodeList nodes{node(0, "000", "全部")};
    // 21 level-1 categories; the third has two children, the second child a grandchild and a
    // great-grandchild.
    for (int a = 1; a <= 21; ++a) {
        nodes << node(1, QStringLiteral("000%1").arg(a, 3, 10, QLatin1Char('0')), QStringLiteral("类%1").arg(a));
        if (a == 3) {
            nodes << node(2, "000003001", "三甲") << node(2, "000003002", "三乙") << node(3, "000003002001", "三乙子")
                  << node(4, "000003002001001", "孙") << node(4, "000003002001002", "孙二") << node(2, "000003003", "三丙");
        }
    }
    const TNodeList items{item(1, "S1", "甲厂"), item(2, "S2", "乙厂")};
    Figures f;
    f.rows["000001"] = {5, 12.5};
    f.rows["000002"] = {0, 0};           // all zero: number and name only
    f.rows["000003002"] = {0, 3};        // a zero quantity beside an amount
    f.cells["000001/S2"] = {2, 1e-7};
    f.cells["000003002/S1"] = {1234567.125, 0};
    f.cells["000/S1"] = {7, 0};
    fillcrosstab(&grid, nodes, items, f.row(), f.cell());

    const int n = int(nodes.size());
    EXPECT_EQ(grid.ColCount(), 8);               // 2m + 4
    EXPECT_EQ(grid.RowCount(), 2 + n);           // F + n
    const QStringList numbers = column(grid, 0, 2);
    EXPECT_EQ(numbers[0], QStringLiteral("一"));
    EXPECT_EQ(numbers[2], QStringLiteral("三"));
    EXPECT_EQ(numbers[3], QStringLiteral("3.1"));
    EXPECT_EQ(numbers[4], QStringLiteral("3.2"));    // the second child of the third category
    EXPECT_EQ(numbers[5], QStringLiteral("3.2.1"));
    EXPECT_EQ(numbers[6], QStringLiteral("3.2.1.1"));
    EXPECT_EQ(numbers[7], QStringLiteral("3.2.1.2"));
    EXPECT_EQ(numbers[8], QStringLiteral("3.3"));    // lower parts restart per parent
    EXPECT_EQ(numbers[15], QStringLiteral("十"));
    EXPECT_EQ(numbers[26], QStringLiteral("二十一"));
    EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("类1"));

    // Row 1: figures; row 2: nothing but number and name.
    EXPECT_EQ(grid.Rows(2), (QStringList{"一", "类1", "5", "12.5", "", "", "2", "1E-7"}));
    EXPECT_EQ(grid.Rows(3), (QStringList{"二", "类2", "", "", "", "", "", ""}));
    EXPECT_EQ(grid.Rows(6), (QStringList{"3.2", "三乙", "", "3", "1234567.125", "", "", ""}));
    // Total row of the top node: its own pair even when zero, item pairs only when not.
    EXPECT_EQ(grid.Rows(2 + n - 1), (QStringList{"", "合计", "0", "0", "7", "", "", ""}));
}

TEST(ReportFill, OnlyTheTopNodeGivesOnlyTheTotalRow)
{
    TStringGrid grid;
    grid.SetFixedRows(1);
    grid.SetRowCount(5);
    Figures f;
    f.rows["000"] = {1, 2};
    fillcrosstab(&grid, {node(0, "000", "全部")}, {}, f.row(), f.cell());
    EXPECT_EQ(grid.RowCount(), 5);     // never shrunk
    EXPECT_EQ(grid.Rows(1).mid(0, 4), (QStringList{"", "合计", "1", "2"}));
    EXPECT_EQ(grid.Cells(1, 2), QString());
    fillcrosstab(&grid, {}, {}, f.row(), f.cell());   // no nodes: nothing to write
    EXPECT_EQ(grid.Cells(1, 0), QString());
}

TEST(ReportFill, ClearedGridShowsNothingOfAnEarlierFill)
{
    TStringGrid grid;
    grid.SetFixedRows(2);
    grid.SetCells(0, 0, QStringLiteral("头"));
    Figures f;
    f.rows["000001"] = {1, 1};
    f.rows["000002"] = {2, 2};
    fillcrosstab(&grid, {node(0, "000", "全部"), node(1, "000001", "a"), node(1, "000002", "b")}, {}, f.row(), f.cell());
    cleargridrows(&grid);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("头"));
    f.rows.clear();
    fillcrosstab(&grid, {node(0, "000", "全部"), node(1, "000001", "a"), node(1, "000002", "b")}, {}, f.row(), f.cell());
    EXPECT_EQ(grid.Rows(2).mid(0, 4), (QStringList{"一", "a", "", ""}));
    EXPECT_EQ(grid.Rows(3).mid(0, 4), (QStringList{"二", "b", "", ""}));
}

TEST(ReportFill, TurnoverPerUsingUnit)
{
    TStringGrid grid;
    grid.SetFixedRows(3);
    TCaptionLists units(2);
    units[0].fid = 11;
    units[1].fid = 12;
    TMtrLists materials(2);
    materials[0] = {7, QStringLiteral("钢模板"), QStringLiteral("块"), QStringLiteral("P3015")};
    materials[1] = {8, QStringLiteral("扣件"), QStringLiteral("个"), QString()};
    fillcylgrid(&grid, 7, 3, units, materials,
                [](double& num, double& cost, int mid) { num = mid == 7 ? 10 : 0; cost = mid == 7 ? 250 : 0; },
                [](double& num, double& cost, int mid, int dpt) {
                    num = (mid == 7 && dpt == 12) ? 4 : 0;
                    cost = (mid == 7 && dpt == 12) ? 100 : 0;
                });
    EXPECT_GE(grid.ColCount(), 11);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Rows(3).mid(0, 10),
              (QStringList{"1", "钢模板", "P3015", "块", "10", "250", "", "", "4", "100"}));
    EXPECT_EQ(grid.Rows(4).mid(0, 10), (QStringList{"2", "扣件", "", "个", "", "", "", "", "", ""}));
}

TEST(ReportFill, DatasetCopiesByFieldType)
{
    TStringGrid grid;
    grid.SetFixedRows(1);
    grid.SetColCount(8);
    grid.SetRowCount(2);
    TClientDataSet ds;
    datasettogrid(&grid, &ds, 1, 6, 0);     // closed: nothing
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(0, 1), QString());

    ds.FieldDefs().Add(QStringLiteral("name"), ftString, 20);
    ds.FieldDefs().Add(QStringLiteral("qty"), ftInteger);
    ds.FieldDefs().Add(QStringLiteral("price"), ftBCD);
    ds.FieldDefs().Add(QStringLiteral("bdate"), ftDateTime);
    ds.FieldDefs().Add(QStringLiteral("ok"), ftBoolean);
    ds.FieldDefs().Add(QStringLiteral("rate"), ftFloat);
    ds.CreateDataSet();
    ds.AppendRecord({Variant(QStringLiteral("钢筋")), Variant(3), Variant(Currency::FromDouble(12.5)),
                     Variant(EncodeDate(2024, 1, 5)), Variant(true), Variant(0.1)});
    ds.AppendRecord({Variant(QStringLiteral("水泥")), Variant::Null(), Variant::Null(), Variant::Null(), Variant(false),
                     Variant(2.0)});
    ds.AppendRecord({Variant(QStringLiteral("砂")), Variant(1), Variant(Currency::FromDouble(1)), Variant::Null(),
                     Variant(false), Variant(1.0)});
    grid.SetCells(5, 1, QStringLiteral("旧"));
    datasettogrid(&grid, &ds, 1, 9, 0);      // more fields asked than there are
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Rows(1), (QStringList{"1", "钢筋", "3", "12.5", "2024-01-05", "旧", "0.1", ""}));
    EXPECT_EQ(grid.Rows(2), (QStringList{"2", "水泥", "0", "0", "", "", "2", ""}));
    EXPECT_EQ(grid.Rows(3).mid(0, 3), (QStringList{"3", "砂", "1"}));
}
