#include "ReportBase.h"

#include "data/DM.h"
#include "data/ReportGrid.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/Format.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString kReportFont = QStringLiteral("微软雅黑");

TStringGrid* newgrid(QWidget* parent, const char* name)
{
    auto* grid = new TStringGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    return grid;
}

QWidget* newsheet(QTabWidget* pages, const char* name, const QString& caption, TStringGrid*& grid, const char* gridname)
{
    auto* sheet = new QWidget(pages);
    sheet->setObjectName(QString::fromLatin1(name));
    auto* box = new QVBoxLayout(sheet);
    box->setContentsMargins(0, 0, 0, 0);
    grid = newgrid(sheet, gridname);
    box->addWidget(grid);
    pages->addTab(sheet, caption);
    return sheet;
}

} // namespace

Tfrmbasicreport::Tfrmbasicreport(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [this](const char* name, const QString& caption, void (Tfrmbasicreport::*handler)(QObject*)) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, Application->Guarded([this, a, handler] { (this->*handler)(a); }));
        return a;
    };
    calsbill = action("calsbill", QStringLiteral("统计"), &Tfrmbasicreport::calsbillExecute);
    printbill = action("printbill", QStringLiteral("打印"), &Tfrmbasicreport::printbillExecute);
    exit = action("exit", QStringLiteral("退出"), &Tfrmbasicreport::exitExecute);
    auto button = [this](const char* name, QAction* a) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setDefaultAction(a);
        b->setMinimumWidth(Scaled(60));
        ToolBar1->addWidget(b);
        return b;
    };
    ToolButton1 = button("ToolButton1", calsbill);
    ToolButton2 = button("ToolButton2", printbill);
    ToolButton3 = button("ToolButton3", exit);
    auto* spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spacer);
    CheckBox1 = new TCheckBox(QStringLiteral("显示历史报表"), ToolBar1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    ToolBar1->addWidget(CheckBox1);
    CheckBox1->OnClick = [this](QObject* s) { Application->Guard([this, s] { CheckBox1Click(s); }); };
    outer->addWidget(ToolBar1);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Panel2 = new QFrame(Splitter1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* panelbox = new QVBoxLayout(Panel2);
    panelbox->setContentsMargins(2, 2, 2, 2);
    Label1 = new QLabel(QStringLiteral("请选择历史报表项"), Panel2);
    panelbox->addWidget(Label1);
    DBGridGx1 = new TDBGridGx(Panel2);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    DSperiod.SetDataSet(&cdsperiod);
    setupperiodgrid(DBGridGx1, &DSperiod);
    panelbox->addWidget(DBGridGx1, 1);
    Panel2->setMinimumWidth(Scaled(190));
    Splitter1->addWidget(Panel2);

    PageControl1 = new QTabWidget(Splitter1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = newsheet(PageControl1, "TabSheet1", QStringLiteral("材料进出存汇总报表"), StringGrid1, "StringGrid1");
    TabSheet2 = newsheet(PageControl1, "TabSheet2", QStringLiteral("材料进出存明细表"), StringGrid2, "StringGrid2");
    TabSheet3 = newsheet(PageControl1, "TabSheet3", QStringLiteral("材料使用情况分配表"), StringGrid3, "StringGrid3");
    Splitter1->addWidget(PageControl1);
    Splitter1->setStretchFactor(1, 1);
    outer->addWidget(Splitter1, 1);

    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3})
        g->OnTopLeftChanged = [this](QObject* s) { StringGrid1TopLeftChanged(s); };

    FormCreate(this);
}

void Tfrmbasicreport::FormCreate(QObject* Sender)
{
    resize(Scaled(QSize(950, 600)));
    Panel2->hide();
}

void Tfrmbasicreport::setupgrid(TStringGrid* grid, int fixedrows, int cols,
                                std::function<void(TStringGrid*, int, int)> painter)
{
    QFont f = grid->font();
    f.setFamilies({kReportFont, f.family()});
    grid->setFont(f);
    grid->SetFixedCols(0);
    grid->SetDefaultColWidth(Scaled(64));
    grid->SetColCount(cols);
    grid->SetRowCount(std::max(grid->RowCount(), fixedrows + 1));
    grid->SetFixedRows(fixedrows);
    grid->SetDefaultRowHeight(17);
    // The header rows are drawn as merged blocks over a plain face: no lines between the
    // fixed cells and no edge of their own, which would cross the blocks' captions.
    grid->SetOptions(goVertLine | goHorzLine | goRangeSelect | goRowSizing | goColSizing);
    grid->SetDefaultDrawing(false);
    grid->OnDrawCell = [grid, painter = std::move(painter)](QObject*, int ACol, int ARow, TRect Rect,
                                                            TGridDrawState State) {
        TCanvas* cv = grid->Canvas();
        cv->Font()->Assign(*grid->Font());
        const bool fixed = ARow < grid->FixedRows();
        const bool highlight = !fixed && State.contains(gdSelected) && !State.contains(gdFocused);
        cv->Brush()->SetColor(fixed ? grid->FixedColor() : highlight ? clHighlight : grid->Color());
        if (highlight)
            cv->Font()->SetColor(clHighlightText);
        cv->FillRect(Rect);
        if (!fixed) {
            TRect text = Rect;
            cv->TextRect(text, Rect.Left + 2, Rect.Top + 2, grid->Cells(ACol, ARow));
        } else if (painter) {
            painter(grid, ACol, ARow);
        }
    };
}

void Tfrmbasicreport::ensurerow(TStringGrid* grid, int row)
{
    if (grid->RowCount() < row + 1)
        grid->SetRowCount(std::max(row + 1, 2 * grid->RowCount()));
}

void Tfrmbasicreport::fitrows(TStringGrid* grid, int rows)
{
    grid->SetRowCount(std::max(rows, grid->FixedRows() + 1));
}

int Tfrmbasicreport::putrow(TStringGrid* grid, int& row, const QStringList& texts)
{
    ensurerow(grid, row);
    for (int c = 0; c < texts.size(); ++c)
        grid->SetCells(c, row, texts[c]);
    return row++;
}

void Tfrmbasicreport::putpair(TStringGrid* grid, int col, int row, double num, double cost)
{
    if (num != 0)
        grid->SetCells(col, row, FloatToStr(num));
    if (cost != 0)
        grid->SetCells(col + 1, row, FloatToStr(cost));
}

void Tfrmbasicreport::CheckBox1Click(QObject* Sender)
{
    for (TStringGrid* g : {StringGrid1, StringGrid2, StringGrid3})
        cleargridrows(g);
    if (CheckBox1->Checked()) {
        Panel2->show();
        // Every closed period: the close lists the period it closes, the first one (0) too.
        cdsperiod.SetData(rmtDM->gettabledata(QStringLiteral("periodlist"), QStringLiteral("fid"),
                                              QStringLiteral("pid>=0"), 20));
    } else {
        Panel2->hide();
        if (cdsperiod.Active())
            cdsperiod.EmptyDataSet();
        cdsperiod.Close();
    }
}

Tfrmbasicreport::~Tfrmbasicreport()
{
    DBGridGx1->SetDataSource(nullptr);
}

void Tfrmbasicreport::setupperiodgrid(TDBGridGx* grid, TDataSource* source)
{
    grid->SetReadOnly(true);
    grid->SetOptions(grid->Options() + TDBGridOptions{dgRowSelect});
    for (const auto& [field, title] : {std::pair{"crtdate", "期初日期"}, std::pair{"Enddate", "期末日期"}}) {
        TColumnGx* column = grid->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(field));
        column->Title()->SetCaption(QString::fromUtf8(title));
        column->Title()->SetAlignment(taCenter);
        column->SetWidth(Scaled(80));
    }
    grid->SetDataSource(source);
}

int Tfrmbasicreport::reportperiod()
{
    if (!CheckBox1->Checked())
        return curpid;
    if (!cdsperiod.Active() || cdsperiod.IsEmpty())
        return 0;
    return cdsperiod.FieldByName(QStringLiteral("pid"))->AsInteger();
}

void Tfrmbasicreport::StringGrid1TopLeftChanged(QObject* Sender)
{
    if (auto* grid = qobject_cast<TStringGrid*>(Sender))
        grid->update();
}

void Tfrmbasicreport::exitExecute(QObject* Sender)
{
    Close();
}

void Tfrmbasicreport::SetTabVisible(QWidget* sheet, bool visible)
{
    PageControl1->setTabVisible(PageControl1->indexOf(sheet), visible);
}

bool Tfrmbasicreport::TabVisible(QWidget* sheet) const
{
    return PageControl1->isTabVisible(PageControl1->indexOf(sheet));
}

void Tfrmbasicreport::busy(const std::function<void()>& work)
{
    TBusyCursor hourglass;
    work();
}

TExcelWorksheet* Tfrmbasicreport::reportsheet(const ExcelApp& app, int k)
{
    TExcelWorkbook* book = app->Workbooks(1);
    while (book->WorksheetCount() < k)
        book->AddWorksheet();
    return book->Worksheets(k);
}

void Tfrmbasicreport::exportsheet(const ExcelApp& app, int k, const std::function<void(TExcelWorksheet*)>& head,
                                  TStringGrid* grid, const QString& name)
{
    TExcelWorksheet* sheet = reportsheet(app, k);
    head(sheet);
    gridtoexcel(grid, sheet);
    sheet->SetName(name);
}
