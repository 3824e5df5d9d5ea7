// The designer's lower toolbar and its cell dialog: the data line, merging (also under the
// button hinted "删除一行"), alignment, borders and font; the placeholders offered per bill
// kind and band, the forced texts of page numbers and print dates, the line kind and rows per
// page, and the dialog's refusals.
#include "designer_support.h"

#include <QListWidget>

using namespace designertest;

namespace {

using DesignerCells = DesignerTest;

QStringList Words(const char* s) { return QString::fromUtf8(s).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

TEST_F(DesignerCells, InsertLineMakesTheDataLineOfFiveRows)
{
    NewTable(4, 4);
    Select(Cell(1, 2));
    Click(form->ToolButton8);
    EXPECT_EQ(rc->Line(1)->Linetype(), 1);
    EXPECT_EQ(rc->Line(1)->prtlines(), 5);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(Cell(1, c)->BkColor(), 0xC0C0C0) << c;
    EXPECT_EQ(rc->SelectCells().size(), 4) << "the whole line is selected";
    // Another line: the former data line turns white.
    Select(Cell(3, 0));
    Click(form->ToolButton8);
    EXPECT_EQ(rc->Line(3)->Linetype(), 1);
    EXPECT_EQ(rc->Line(1)->Linetype(), 0);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(Cell(1, c)->BkColor(), 0xFFFFFF) << c;
        EXPECT_EQ(Cell(3, c)->BkColor(), 0xC0C0C0) << c;
    }
    EXPECT_EQ(rc->LineCount(), 4);
}

TEST_F(DesignerCells, DeleteLineAndCombineBothMerge)
{
    NewTable(4, 4);
    const int w = Cell(0, 0)->CellWidth();
    for (QToolButton* button : {form->ToolButton9, form->ToolButton20}) {
        const int line = button == form->ToolButton9 ? 0 : 2;
        Select(Cell(line, 0), Cell(line + 1, 1));
        ASSERT_EQ(rc->SelectCells().size(), 4);
        Click(button);
        EXPECT_EQ(rc->LineCount(), 4) << "no line is deleted";
        EXPECT_EQ(rc->Line(line)->CellCount(), 3);
        EXPECT_EQ(rc->Line(line + 1)->CellCount(), 3);
        EXPECT_EQ(Cell(line, 0)->CellWidth(), 2 * w);
        EXPECT_EQ(Cell(line + 1, 0)->OwnerCell(), Cell(line, 0));
        EXPECT_EQ(rc->SelectCells(), QList<TReportCell*>{Cell(line, 0)});
    }
    EXPECT_EQ(form->ToolButton9->toolTip(), QStringLiteral("删除一行"));
    EXPECT_EQ(form->ToolButton20->toolTip(), QStringLiteral("单元格合并"));
}

TEST_F(DesignerCells, AlignmentBordersAndFontApplyToTheSelection)
{
    NewTable(3, 4);
    struct Case {
        QToolButton* button;
        const char* hint;
        int horz, vert;
        bool left, top, right, bottom;
    };
    const Case cases[] = {
        {form->ToolButton11, "字体水平中对齐", 1, 1, true, true, true, true},
        {form->ToolButton12, "字体水平左对齐", 2, 1, true, true, true, true},
        {form->ToolButton10, "字体水平左对齐", 0, 1, true, true, true, true},
        {form->ToolButton13, "字体垂直上对齐", 0, 0, true, true, true, true},
        {form->ToolButton15, "字体垂直下对齐", 0, 2, true, true, true, true},
        {form->ToolButton14, "字体垂直中对齐", 0, 1, true, true, true, true},
        {form->ToolButton16, "单元格无边框", 0, 1, false, false, false, false},
        {form->ToolButton17, "单元格下边框", 0, 1, false, false, false, true},
        {form->ToolButton18, "单元格全边框", 0, 1, true, true, true, true},
    };
    Select(Cell(1, 1), Cell(1, 2));
    for (const Case& c : cases) {
        EXPECT_EQ(c.button->toolTip(), QString::fromUtf8(c.hint));
        Click(c.button);
        for (TReportCell* cell : {Cell(1, 1), Cell(1, 2)}) {
            EXPECT_EQ(cell->HorzAlign(), c.horz) << c.hint;
            EXPECT_EQ(cell->VertAlign(), c.vert) << c.hint;
            EXPECT_EQ(cell->LeftLine(), c.left) << c.hint;
            EXPECT_EQ(cell->TopLine(), c.top) << c.hint;
            EXPECT_EQ(cell->RightLine(), c.right) << c.hint;
            EXPECT_EQ(cell->BottomLine(), c.bottom) << c.hint;
            EXPECT_EQ(cell->BottomLineWidth(), 1);
        }
        EXPECT_EQ(Cell(1, 0)->HorzAlign(), 0);
        EXPECT_TRUE(Cell(1, 0)->LeftLine());
    }
    DialogScript::AnswerFont(QStringLiteral("黑体"), 16);
    Click(form->ToolButton19);
    EXPECT_EQ(Cell(1, 1)->LogFont().FaceName(), QStringLiteral("黑体"));
    EXPECT_EQ(Cell(1, 2)->LogFont().lfHeight, -21);
    EXPECT_EQ(Cell(1, 0)->LogFont().FaceName(), QStringLiteral("宋体"));
    // Cancelled: nothing changes.
    DialogScript::Answer(mrCancel);
    Select(Cell(0, 0));
    Click(form->ToolButton19);
    EXPECT_EQ(Cell(0, 0)->LogFont().FaceName(), QStringLiteral("宋体"));
    EXPECT_EQ(Kinds().count(QStringLiteral("FontDialog")), 2);
}

// ---------------------------------------------------------------- the cell dialog

// The cell dialog, opened on the selected cell; the actor works it and returns.
void OpenCellDialog(DesignerTest& t, QToolButton* button, std::function<void(TfrmCellproperty&)> actor)
{
    DialogScript::AnswerForm([actor](TForm& f) {
        actor(dynamic_cast<TfrmCellproperty&>(f));
        return mrNone;
    });
    QTest::mouseClick(button, Qt::LeftButton);
}

QStringList Offered(TfrmCellproperty& d, int kind)
{
    DesignerTest::ClickRadio(d.varraygroup->Button(kind));
    if (!d.SpeedButton1->isEnabled()) return {QStringLiteral("(disabled)")};
    QTest::mouseClick(d.SpeedButton1, Qt::LeftButton);
    QStringList items;
    if (!d.ListBox1->isVisible()) return items;
    EXPECT_EQ(d.ListBox1->pos(), QPoint(107, 35));
    for (int i = 0; i < d.ListBox1->count(); ++i) items << d.ListBox1->item(i)->text();
    return items;
}

TEST_F(DesignerCells, CellDialogOffersThePlaceholdersOfBillKindAndBand)
{
    const QStringList pageSumsIn = Words("#数量 #运什费 #合计 #复价");
    const QStringList pageSumsOut = Words("#数量 #复价");
    const struct {
        int billtype, band;
        QStringList fields;
        QStringList sums;
    } table[] = {
        {0, 0, Words("#材料来源 #入库日期 #票据字号 #计划编号 #币种 #备注 #交验员 #制表人 #审核人"), pageSumsIn},
        {0, 1, Words("#材料名称 #规格型号 #单位 #数量 #采购单价 #运什费 #合计 #单价 #复价 #备注"), pageSumsIn},
        {1, 0, Words("#领用单位 #使用项目 #票据编号 #出库日期 #领用经办 #备注 #制表人 #审核人"), pageSumsOut},
        {1, 1, Words("#材料名称 #规格型号 #单位 #数量 #采购币种 #采购单价 #采购复价 #单价 #复价 #备注"), pageSumsOut},
    };
    for (const auto& row : table) {
        NewTable(3, 3, row.billtype);
        if (row.band == 1) {
            Select(Cell(1, 0));
            Click(form->ToolButton8);
        }
        Select(Cell(1, 1));
        OpenCellDialog(*this, form->ToolButton7, [&](TfrmCellproperty& d) {
            EXPECT_EQ(d.Caption(), QStringLiteral("方格属性"));
            EXPECT_EQ(d.fbilltype, row.billtype);
            EXPECT_EQ(d.Fmord, row.band);
            EXPECT_EQ(d.RadioButton2->isChecked(), row.band == 1);
            EXPECT_EQ(d.linenum->isVisible(), row.band == 1);
            EXPECT_EQ(d.varraygroup->ItemIndex(), 0);
            EXPECT_FALSE(d.SpeedButton1->isEnabled());
            EXPECT_EQ(Offered(d, vkField), row.fields) << row.billtype << "/" << row.band;
            EXPECT_EQ(Offered(d, vkPageSum), row.sums);
            EXPECT_EQ(Offered(d, vkPageSumCapitals), row.sums);
            for (int kind : {vkFixed, vkPageNumber, vkPrintDate})
                EXPECT_EQ(Offered(d, kind), QStringList{QStringLiteral("(disabled)")}) << kind;
            // The other band by its radio button.
            DesignerTest::ClickRadio(row.band == 1 ? d.RadioButton1 : d.RadioButton2);
            EXPECT_EQ(d.Fmord, 1 - row.band);
            EXPECT_EQ(Offered(d, vkField).contains(QStringLiteral("#采购币种")), row.billtype == 1 && row.band == 0);
            // A click on an entry puts it into the edit and closes the list.
            Offered(d, vkField);
            QListWidgetItem* second = d.ListBox1->item(1);
            QTest::mouseClick(d.ListBox1->viewport(), Qt::LeftButton, {}, d.ListBox1->visualItemRect(second).center());
            EXPECT_EQ(d.Edit1->text(), second->text());
            EXPECT_FALSE(d.ListBox1->isVisible());
            QTest::mouseClick(d.Button2, Qt::LeftButton);
        });
        EXPECT_EQ(Cell(1, 1)->CellText(), QString()) << "放弃 changes nothing";
        EXPECT_EQ(Cell(1, 1)->varraytype(), 0);
    }
}

TEST_F(DesignerCells, CellDialogSetsTextKindAndLine)
{
    NewTable(4, 4, 1);
    Select(Cell(3, 0));
    Click(form->ToolButton8);  // line 3 is the data line
    struct Case {
        int kind;
        const char* typed;
        const char* text;
    };
    const Case cases[] = {
        {vkPageNumber, "随便什么", "共XX页 第XX页"},
        {vkPrintDate, "", "XX年X月X日"},
        {vkField, "#领用单位", "#领用单位"},
        {vkPageSum, "#数量", "#数量"},
        {vkFixed, "领用单位：", "领用单位："},
    };
    for (const Case& c : cases) {
        Select(Cell(0, 2));
        OpenCellDialog(*this, form->ToolButton7, [&](TfrmCellproperty& d) {
            d.Edit1->selectAll();
            DesignerTest::Type(d.Edit1, QString::fromUtf8(c.typed));
            DesignerTest::ClickRadio(d.varraygroup->Button(c.kind));
            QTest::mouseClick(d.Button1, Qt::LeftButton);
        });
        EXPECT_EQ(Cell(0, 2)->CellText(), QString::fromUtf8(c.text)) << c.kind;
        EXPECT_EQ(Cell(0, 2)->varraytype(), c.kind);
        EXPECT_EQ(Cell(0, 2)->Isvarray(), c.kind != vkFixed);
    }
    EXPECT_EQ(rc->Line(0)->Linetype(), 0);

    // "主体行" with 7 rows makes the cell's line the data line; the former one turns white.
    Select(Cell(1, 1));
    OpenCellDialog(*this, form->ToolButton7, [&](TfrmCellproperty& d) {
        EXPECT_FALSE(d.linenum->isVisible());
        DesignerTest::ClickRadio(d.RadioButton2);
        EXPECT_TRUE(d.linenum->isVisible());
        SetSpin(d.linenum, 7);
        QTest::mouseClick(d.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(rc->Line(1)->Linetype(), 1);
    EXPECT_EQ(rc->Line(1)->prtlines(), 7);
    EXPECT_EQ(rc->Line(3)->Linetype(), 0);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(Cell(1, c)->BkColor(), 0xC0C0C0);
        EXPECT_EQ(Cell(3, c)->BkColor(), 0xFFFFFF);
    }
    // Opened again on the data line: body band and its rows per page.
    Select(Cell(1, 3));
    OpenCellDialog(*this, form->ToolButton7, [&](TfrmCellproperty& d) {
        EXPECT_TRUE(d.RadioButton2->isChecked());
        EXPECT_EQ(d.linenum->value(), 7);
        DesignerTest::ClickRadio(d.RadioButton1);
        QTest::mouseClick(d.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(rc->Line(1)->Linetype(), 0);
    EXPECT_EQ(Cell(1, 0)->BkColor(), 0xFFFFFF);
    EXPECT_EQ(DialogScript::Unanswered(), 0);
}

TEST_F(DesignerCells, CellDialogRefusals)
{
    NewTable(3, 3);
    // Not exactly one cell selected: the button does nothing.
    DialogScript::ClearLog();
    Click(form->ToolButton7);
    Select(Cell(0, 0), Cell(0, 1));
    Click(form->ToolButton7);
    EXPECT_TRUE(DialogScript::Log().isEmpty());

    // The selection is gone when "确定" is pressed.
    Select(Cell(2, 2));
    OpenCellDialog(*this, form->ToolButton7, [&](TfrmCellproperty& d) {
        rc->RemoveAllSelectedCell();
        QTest::mouseClick(d.Button1, Qt::LeftButton);
    });
    EXPECT_TRUE(DialogScript::Texts().contains(QStringLiteral("没有进行设置")));

    // A row count that is not a whole number is the conversion error.
    Select(Cell(2, 2));
    DialogScript::ClearLog();
    OpenCellDialog(*this, form->ToolButton7, [&](TfrmCellproperty& d) {
        DesignerTest::ClickRadio(d.RadioButton2);
        d.linenum->setFocus();
        d.linenum->selectAll();
        QTest::keyClick(d.linenum, Qt::Key_Delete);
        QTest::mouseClick(d.Button1, Qt::LeftButton);
    });
    ASSERT_EQ(Kinds().size(), 2);
    EXPECT_EQ(Kinds()[1], QStringLiteral("Error"));
    EXPECT_TRUE(DialogScript::Log()[1].Text.contains(QStringLiteral("is not a valid integer value")))
        << DialogScript::Log()[1].Text.toStdString();
}

} // namespace
