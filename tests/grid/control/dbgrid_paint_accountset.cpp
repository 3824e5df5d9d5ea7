// The stock-in bill's line grid on a real account set, laid out as the bill form
// lays it out: two-level titles, a red centred "合计", red sums on silver, a red
// row for a negative quantity. Checked by pixel probes and kept as a picture, on
// the embedded engine and on the server.
#include "../../data/schema_accountset.h"
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ADOQuery.h"
#include "platform/db/Field.h"
#include "testmain/testsupport.h"
#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class DBGridAccountSetPaint : public dpxtest::AccountSetTest {
protected:
    void SetUp() override
    {
        dpxtest::AccountSetTest::SetUp();
        if (!DBGridGxUnitsInitialized())
            InitDBGridGxUnits();
        for (const char* sql :
             {"insert into mtrlist (FID, bID, code, mname, mtype, munit) values (1, 1, '000001', '螺纹钢筋', 'HRB400 Φ20', '吨')",
              "insert into mtrlist (FID, bID, code, mname, mtype, munit) values (2, 1, '000002', '普通硅酸盐水泥', 'P.O 42.5', '袋')",
              "insert into mtrlist (FID, bID, code, mname, mtype, munit) values (3, 1, '000003', '中砂', '细度2.6', '方')",
              "insert into ibmaster (fid, pid, billnum, brecorded, breverse) values (1, 0, 'RK-0001', 0, 0)",
              "insert into ibdetail (iid, mid, qty, rprice, expense, amount, sprice, dprice, remark) values "
              "(1, 1, 12.5, 4200, 150, 52650, 4300, 53750, '一号库')",
              "insert into ibdetail (iid, mid, qty, rprice, expense, amount, sprice, dprice, remark) values "
              "(1, 2, 300, 21.5, 0, 6450, 22, 6600, '')",
              "insert into ibdetail (iid, mid, qty, rprice, expense, amount, sprice, dprice, remark) values "
              "(1, 3, -8, 95, 0, -760, 100, -800, '退回')"})
            ASSERT_EQ(run(QString::fromUtf8(sql)), QString());
        query = std::make_unique<TADOQuery>(&connection());
        query->SQL() << QStringLiteral("select * from vibdetail where iid = 1 order by Fid");
        query->Open();
        source.SetDataSet(query.get());
    }
    void TearDown() override
    {
        grid.reset();
        query.reset();
        dpxtest::AccountSetTest::TearDown();
    }

    // One column as the bill form adds it.
    TColumnGx* AddColumn(const char* field, const char* caption, int width, bool readOnly = false)
    {
        TColumnGx* c = grid->Columns()->Add();
        c->SetFieldName(QString::fromLatin1(field));
        c->Title()->SetCaption(QString::fromUtf8(caption));
        c->Title()->SetAlignment(taCenter);
        c->SetWidth(width);
        if (readOnly) {
            c->SetTextEditing(false);
            c->SetButtonStyle(cbsNone);
        }
        return c;
    }
    static void RedFooter(TColumnGx* c, TFooterValueType type, bool centred, const QString& text = QString())
    {
        TColumnFooterGx* f = c->Footers()->Add();
        f->SetValueType(type);
        f->SetValue(text);
        f->Font()->SetColor(TColor(255));
        if (centred)
            f->SetAlignment(taCenter);
    }

    std::unique_ptr<TADOQuery> query;
    TDataSource source;
    std::unique_ptr<TDBGridGx> grid;
};

bool IsRed(QRgb p) { return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110; }

// Pixels of a rectangle that are red.
int RedPixels(const QImage& img, const TRect& r)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += IsRed(img.pixel(x, y)) ? 1 : 0;
    return n;
}

TEST_F(DBGridAccountSetPaint, StockInLinesAsTheBillShowsThem)
{
    grid = std::make_unique<TDBGridGx>();
    grid->resize(840, 200);
    grid->SetOptions({dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
                      dgTabs, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit});
    grid->SetDataSource(&source);
    grid->Columns()->Clear();
    grid->SetUseMultiTitle(true);
    grid->SetTitleLines(2);
    grid->SetVTitleMargin(4);
    grid->SetFooterColor(clSilver);
    grid->SetFooterRowCount(1);
    RedFooter(AddColumn("mname", "材料名称", 110, true), fvtStaticText, true, QStringLiteral("合计"));
    AddColumn("mtype", "规格型号", 80, true);
    AddColumn("munit", "单位", 60, true)->SetAlignment(taCenter);
    RedFooter(AddColumn("qty", "数量", 60), fvtSum, false);
    AddColumn("rprice", "采购币种价格|实价", 60);
    RedFooter(AddColumn("expense", "采购币种价格|运什费", 60), fvtSum, true);
    RedFooter(AddColumn("amount", "采购币种价格|合计", 70), fvtSum, true);
    AddColumn("sprice", "折结算币种价格|单价", 60);
    RedFooter(AddColumn("dprice", "折结算币种价格|复价", 70), fvtSum, true);
    AddColumn("remark", "备注", 150);
    grid->OnGetCellParams = [this](QObject*, TColumnGx*, TFont* font, TColor&, TGridDrawState) {
        font->SetColor(query->FieldByName(QStringLiteral("qty"))->AsFloat() < 0 ? TColor(255) : clBlack);
    };
    grid->SumList()->SetActive(true);
    grid->show();
    QApplication::processEvents();
    const QImage shot = grid->grab().toImage();
    ASSERT_TRUE(shot.save(dpxtest::artifactsDir() + QStringLiteral("/dbgrid_stockin_lines.png")));

    const int ind = grid->IndicatorOffset();
    EXPECT_EQ(grid->GetFooterValue(0, grid->Columns()->GetColumn(3)), QStringLiteral("304.5"));
    EXPECT_EQ(grid->GetFooterValue(0, grid->Columns()->GetColumn(6)), QStringLiteral("58340"));
    const TRect rprice = grid->CellRect(ind + 4, 0), expense = grid->CellRect(ind + 5, 0);
    const TRect amount = grid->CellRect(ind + 6, 0), sprice = grid->CellRect(ind + 7, 0);
    const int leafTop = rprice.Bottom - grid->LeafFieldArr()[4].FLeaf->Height + 1;
    // Rows of a stretch of the title at a column border with a dark divider there.
    auto dividedRows = [&](const TRect& left, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            bool dark = false;
            for (int x = left.Right - 2; x <= left.Right; ++x)
                dark = dark || qGray(shot.pixel(x, y)) < 140;
            n += dark ? 1 : 0;
        }
        return n;
    };
    const int bandRows = leafTop - 2 - (rprice.Top + 2), leafRows = rprice.Bottom - 2 - (leafTop + 1);
    ASSERT_GT(bandRows, 8);
    ASSERT_GT(leafRows, 8);
    // The upper band runs over the borders between 实价, 运什费 and 合计 ...
    // (the caption's strokes may cross a border; a divider would cross every row)
    EXPECT_LT(dividedRows(rprice, rprice.Top + 2, leafTop - 2), bandRows / 2);
    EXPECT_LT(dividedRows(expense, rprice.Top + 2, leafTop - 2), bandRows / 2);
    // ... while the captions below are divided there,
    EXPECT_GE(dividedRows(rprice, leafTop + 1, rprice.Bottom - 2), leafRows - 1);
    EXPECT_GE(dividedRows(expense, leafTop + 1, rprice.Bottom - 2), leafRows - 1);
    // and between the two bands the division goes through the whole title.
    EXPECT_GE(dividedRows(amount, rprice.Top + 2, leafTop - 2), bandRows - 1);
    (void)sprice;

    // Footers: silver, "合计" and the sums red.
    const int footerRow = grid->FullRowCount() - 1;
    const TRect heji = grid->CellRect(ind, footerRow), qty = grid->CellRect(ind + 3, footerRow);
    EXPECT_EQ(shot.pixel(heji.Left + 3, heji.Top + 3), qRgb(192, 192, 192));
    EXPECT_GT(RedPixels(shot, heji), 10);
    EXPECT_GT(RedPixels(shot, qty), 10);
    // "合计" is centred: as much room on both sides of the red text.
    int minX = heji.Right, maxX = heji.Left;
    for (int y = heji.Top; y < heji.Bottom; ++y)
        for (int x = heji.Left; x < heji.Right; ++x)
            if (IsRed(shot.pixel(x, y))) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    EXPECT_NEAR(minX - heji.Left, heji.Right - 1 - maxX, 3);

    // The line with the negative quantity is red, the others are not.
    const int top = grid->TopDataOffset();
    EXPECT_EQ(RedPixels(shot, grid->CellRect(ind, top)), 0);
    EXPECT_EQ(RedPixels(shot, grid->CellRect(ind, top + 1)), 0);
    EXPECT_GT(RedPixels(shot, grid->CellRect(ind, top + 2)), 10);
    EXPECT_GT(RedPixels(shot, grid->CellRect(ind + 3, top + 2)), 5);
}

} // namespace
