// The five bill templates of dpxprt through the designer: opened, a cell edited in place,
// saved under a new name and a sample bill printed through the saved file to PDF; and the
// designer as a user sees it, with its print view and cell dialog, as PNG artefacts.
#include "designer_support.h"
#include "platform/gui/FontScale.h"

#include <QListWidget>
#include <QTextEdit>

using namespace designertest;
using namespace prttest;

namespace {

class DesignerTemplate : public DesignerTest, public ::testing::WithParamInterface<Shipped> {};

TEST_P(DesignerTemplate, EditSaveUnderANewNameAndPrint)
{
    const Shipped s = GetParam();
    const QByteArray shipped = ReadAll(Template(s));
    Open(Template(s));
    ASSERT_GE(rc->LineCount(), 10);
    EXPECT_EQ(rc->billtype(), s.billtype);

    // The title edited in place: double-click, replace the text, click elsewhere.
    TReportCell* title = Cell(0, 0);
    QTest::mouseDClick(rc, Qt::LeftButton, Qt::NoModifier, Inside(title));
    auto* edit = qobject_cast<QTextEdit*>(rc->EditWindow());
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    Type(edit, QStringLiteral("样张 %1").arg(QLatin1String(s.resource)));
    Select(Cell(2, 0));
    EXPECT_EQ(rc->EditWindow(), nullptr);
    EXPECT_EQ(title->CellText(), QStringLiteral("样张 %1").arg(QLatin1String(s.resource)));

    const QString saved = InDir(QStringLiteral("%1-样张").arg(QLatin1String(s.resource)));
    Save(saved);
    EXPECT_EQ(ReadAll(Template(s)), shipped) << "the shipped template stays";
    ASSERT_TRUE(QFile::exists(saved + QStringLiteral(".prt")));
    EXPECT_EQ(DialogScript::Unanswered(), 0);
    EXPECT_EQ(Kinds(), (QStringList{QStringLiteral("OpenDialog"), QStringLiteral("SaveDialog")}));
    // Reopened and saved again: the same bytes, with the new title.
    Open(saved + QStringLiteral(".prt"));
    EXPECT_EQ(Cell(0, 0)->CellText(), QStringLiteral("样张 %1").arg(QLatin1String(s.resource)));
    Save(saved + QStringLiteral("-2.prt"));
    EXPECT_EQ(ReadAll(saved + QStringLiteral("-2.prt")), ReadAll(saved + QStringLiteral(".prt")));

    // A sample bill of seven lines through the saved template: two pages of five rows.
    TReportControl printing;
    ASSERT_TRUE(printing.LoadFromFileforprint(saved + QStringLiteral(".prt")));
    const std::vector<BillLine> lines = {
        {QStringLiteral("螺纹钢"), 12.5, 4150}, {QStringLiteral("水泥"), 30, 420}, {QStringLiteral("钢模板"), 8, 95},
        {QStringLiteral("盘圆"), 2.25, 4080},   {QStringLiteral("砂子"), 16, 78},  {QStringLiteral("石子"), 21, 82},
        {QStringLiteral("扣件"), 500, 5.6},
    };
    auto head = s.billtype == 0 ? StockInHead() : StockOutHead();
    auto body = s.billtype == 0 ? StockInLines(lines) : StockOutLines(lines);
    printing.Setheaddataset(head.get());
    printing.Setbodydataset(body.get());
    const QString pdf = Artifact(QStringLiteral("designer_%1.pdf").arg(QLatin1String(s.resource)));
    {
        PdfPrinterScope printer(pdf);
        printing.PrintIt();
    }
    EXPECT_EQ(PdfPages(pdf), 2);
    RecordingTarget t;
    printing.PrintTo(t, TReportControl::pmFull);
    ASSERT_EQ(t.Pages().size(), 2u);
    EXPECT_TRUE(t.Pages()[0].join(QString()).contains(QStringLiteral("样张 %1").arg(QLatin1String(s.resource))))
        << t.Pages()[0].join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(t.Pages()[0].contains(QStringLiteral("螺纹钢")));
    EXPECT_TRUE(t.Pages()[1].contains(QStringLiteral("扣件")));
}

INSTANTIATE_TEST_SUITE_P(Dpxprt, DesignerTemplate, ::testing::ValuesIn(kShipped),
                         [](const auto& info) { return std::string(info.param.resource); });

// ---------------------------------------------------------------- pictures

using DesignerPicture = DesignerTest;

QImage Shot(QWidget* w)
{
    QApplication::processEvents();
    return w->grab().toImage();
}

TEST_F(DesignerPicture, DesignerWithImbillaAndASelectedCell)
{
    form->resize(1000, 640);
    Open(Template(kShipped[2]));
    QApplication::processEvents();
    TReportCell* cell = Cell(5, 3);  // the data line's quantity
    Select(cell);
    const QImage image = Shot(form.get());
    ASSERT_TRUE(image.save(Artifact(QStringLiteral("designer_IMBILLA.png"))));
    // The selected cell shows inverted, the rest of the data line grey.
    const QPoint origin = rc->mapTo(form.get(), QPoint(0, 0));
    const TRect sel = cell->CellRect();
    EXPECT_EQ(image.pixelColor(origin + QPoint(sel.Left + 3, sel.Top + 3)), QColor(0x3f, 0x3f, 0x3f));
    const TRect grey = Cell(5, 0)->CellRect();
    EXPECT_EQ(image.pixelColor(origin + QPoint(grey.Left + 3, grey.Top + 3)), QColor(0xc0, 0xc0, 0xc0));

    // The print view: the data line five times.
    DialogScript::AnswerText(Template(kShipped[2]));
    Click(form->ToolButton5);
    ASSERT_TRUE(Shot(form.get()).save(Artifact(QStringLiteral("designer_IMBILLA_view.png"))));
}

TEST_F(DesignerPicture, Dialogs)
{
    Open(Template(kShipped[0]));
    Select(Cell(4, 1));
    DialogScript::AnswerForm([](TForm& f) {
        auto& d = dynamic_cast<TfrmCellproperty&>(f);
        QTest::mouseClick(d.SpeedButton1, Qt::LeftButton);
        EXPECT_TRUE(d.ListBox1->isVisible());
        EXPECT_TRUE(Shot(&d).save(Artifact(QStringLiteral("designer_cell_dialog.png"))));
        // Moving the mouse out of the list closes it.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(d.ListBox1, &leave);
        EXPECT_FALSE(d.ListBox1->isVisible());
        return mrCancel;
    });
    Click(form->ToolButton7);
    DialogScript::AnswerForm([](TForm& f) {
        EXPECT_TRUE(Shot(&f).save(Artifact(QStringLiteral("designer_page_dialog.png"))));
        return mrCancel;
    });
    Click(form->ToolButton6);
    DialogScript::AnswerForm([](TForm& f) {
        EXPECT_TRUE(Shot(&f).save(Artifact(QStringLiteral("designer_table_dialog.png"))));
        return mrCancel;
    });
    Click(form->ToolButton1);
    EXPECT_EQ(DialogScript::Unanswered(), 0);

    // A new template of 3 x 25 at the form's own size.
    EXPECT_EQ(form->size(), Scaled(QSize(789, 483)));   // the designed size, for this font
    NewTable(3, 25);
    ASSERT_TRUE(Shot(form.get()).save(Artifact(QStringLiteral("designer_new.png"))));
}

} // namespace
