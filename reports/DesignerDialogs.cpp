#include "DesignerDialogs.h"

#include "DesignerForm.h"

#include "app/ReportControl.h"
#include "app/ReportPrint.h"
#include "platform/gui/Application.h"
#include "platform/gui/RadioGroup.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/MessageSink.h"

#include <QEvent>

namespace {

QLabel* label(QWidget* parent, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QSpinBox* spinEdit(QWidget* parent, const char* name, int lo, int hi, int value, const QRect& at)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(lo, hi);
    s->setValue(value);
    s->setGeometry(at);
    return s;
}

TRadioGroup* radioGroup(QWidget* parent, const char* name, const QString& caption, const QStringList& items,
                        int columns, const QRect& at)
{
    auto* g = new TRadioGroup(caption, parent);
    g->setObjectName(QString::fromLatin1(name));
    g->SetColumns(columns);
    g->SetItems(items);
    g->setGeometry(at);
    return g;
}

// The "确定" / "放弃" pair of the dialogs.
void okCancel(TForm* form, TButton*& ok, TButton*& cancel, int y)
{
    const int mid = form->width() / 2;
    ok = new TButton(QStringLiteral("确定"), form);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    ok->setGeometry(mid - 90, y, 75, 25);
    cancel = new TButton(QStringLiteral("放弃"), form);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    cancel->setGeometry(mid + 15, y, 75, 25);
}

const QStringList& billKinds()
{
    static const QStringList kinds{QStringLiteral("入库单"), QStringLiteral("出库单")};
    return kinds;
}

} // namespace

// ---------------------------------------------------------------- Tfrmtableset

Tfrmtableset::Tfrmtableset(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("Tfrmtableset"));
    SetCaption(QStringLiteral("纸张与表格定义"));
    SetPosition(poScreenCenter);
    setFixedSize(300, 226);
    RadioGroup1 = radioGroup(this, "RadioGroup1", QStringLiteral("设置打印票据种类"), billKinds(), 2, QRect(10, 8, 280, 50));
    RadioGroup1->SetItemIndex(0);
    label(this, QStringLiteral("纸张宽度（毫米）"), 16, 72);
    widthedit = spinEdit(this, "widthedit", 0, 9999, 240, QRect(150, 68, 90, 24));
    label(this, QStringLiteral("纸张高度（毫米）"), 16, 102);
    heightedit = spinEdit(this, "heightedit", 0, 9999, 138, QRect(150, 98, 90, 24));
    label(this, QStringLiteral("行数"), 16, 132);
    rowEdit = spinEdit(this, "rowEdit", 3, 25, 10, QRect(150, 128, 90, 24));
    label(this, QStringLiteral("列数"), 16, 162);
    colEdit = spinEdit(this, "colEdit", 3, 25, 10, QRect(150, 158, 90, 24));
    okCancel(this, Button1, Button2, 192);
}

// ---------------------------------------------------------------- TfrmPageproperty

TfrmPageproperty::TfrmPageproperty(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("TfrmPageproperty"));
    SetCaption(QStringLiteral("页面属性"));
    SetPosition(poOwnerFormCenter);
    setFixedSize(330, 262);
    GroupBox1 = new QGroupBox(QStringLiteral("纸张设置"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(10, 8, 310, 60);
    label(GroupBox1, QStringLiteral("页宽"), 12, 29);
    widthedit = spinEdit(GroupBox1, "widthedit", 0, 9999, 0, QRect(48, 25, 80, 24));
    label(GroupBox1, QStringLiteral("页高"), 166, 29);
    heightedit = spinEdit(GroupBox1, "heightedit", 0, 9999, 0, QRect(202, 25, 80, 24));
    GroupBox2 = new QGroupBox(QStringLiteral("页边距设置"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(10, 74, 310, 90);
    label(GroupBox2, QStringLiteral("左边"), 12, 29);
    LeftEdit = spinEdit(GroupBox2, "LeftEdit", 3, 50, 20, QRect(48, 25, 80, 24));
    label(GroupBox2, QStringLiteral("右边"), 166, 29);
    RightEdit = spinEdit(GroupBox2, "RightEdit", 3, 50, 20, QRect(202, 25, 80, 24));
    label(GroupBox2, QStringLiteral("上边"), 12, 59);
    TopEdit = spinEdit(GroupBox2, "TopEdit", 3, 50, 20, QRect(48, 55, 80, 24));
    label(GroupBox2, QStringLiteral("下边"), 166, 59);
    BottomEdit = spinEdit(GroupBox2, "BottomEdit", 3, 50, 20, QRect(202, 55, 80, 24));
    RadioGroup1 = radioGroup(this, "RadioGroup1", QStringLiteral("票据类型"), billKinds(), 2, QRect(10, 170, 310, 50));
    okCancel(this, Button1, Button2, 228);
}

void TfrmPageproperty::setdatavalue(int Pagewidth, int pageheight, int nLeftMargin, int nTopMargin, int nRightMargin,
                                    int nBottomMargin)
{
    widthedit->setValue(Pagewidth);
    heightedit->setValue(pageheight);
    LeftEdit->setValue(nLeftMargin);
    TopEdit->setValue(nTopMargin);
    RightEdit->setValue(nRightMargin);
    BottomEdit->setValue(nBottomMargin);
}

void TfrmPageproperty::getdatavalue(int& Pagewidth, int& pageheight, int& nLeftMargin, int& nTopMargin,
                                    int& nRightMargin, int& nBottomMargin) const
{
    Pagewidth = widthedit->value();
    pageheight = heightedit->value();
    nLeftMargin = LeftEdit->value();
    nTopMargin = TopEdit->value();
    nRightMargin = RightEdit->value();
    nBottomMargin = BottomEdit->value();
}

// ---------------------------------------------------------------- TfrmCellproperty

TfrmCellproperty::TfrmCellproperty(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("TfrmCellproperty"));
    SetCaption(QStringLiteral("方格属性"));
    SetPosition(poScreenCenter);
    setFixedSize(390, 236);
    Label1 = label(this, QStringLiteral("单元格显示值"), 10, 12);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(107, 8, 230, 24);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setArrowType(Qt::DownArrow);
    SpeedButton1->setGeometry(339, 8, 24, 24);
    SpeedButton1->setEnabled(false);

    GroupBox1 = new QGroupBox(QStringLiteral("单元格使在行类型"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(10, 40, 370, 60);
    RadioButton1 = new QRadioButton(QStringLiteral("表头或表脚"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(12, 26, 110, 24);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("主体行"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(132, 26, 90, 24);
    Label2 = label(GroupBox1, QStringLiteral("行数"), 236, 30);
    Label2->setObjectName(QStringLiteral("Label2"));
    linenum = spinEdit(GroupBox1, "linenum", 2, 20, 5, QRect(272, 26, 70, 24));

    varraygroup = radioGroup(this, "varraygroup", QStringLiteral("单元格显示类型"),
                             {QStringLiteral("固定常量"), QStringLiteral("数据变量"), QStringLiteral("页数变量"),
                              QStringLiteral("时间变量"), QStringLiteral("总计变量"), QStringLiteral("大写变量")},
                             3, QRect(10, 106, 370, 78));

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->resize(230, 160);
    ListBox1->setMouseTracking(true);
    ListBox1->installEventFilter(this);
    ListBox1->hide();

    okCancel(this, Button1, Button2, 200);

    OnShow = [this](QObject* s) { FormShow(s); };
    varraygroup->OnClick = [this](QObject* s) { varraygroupClick(s); };
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton1Click(RadioButton1);
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) RadioButton2Click(RadioButton2);
    });
    connect(SpeedButton1, &QToolButton::clicked, this, Application->Guarded([this] { SpeedButton1Click(SpeedButton1); }));
    connect(ListBox1, &QListWidget::itemClicked, this, Application->Guarded([this] { ListBox1Click(ListBox1); }));
    connect(ListBox1, &QListWidget::itemActivated, this, Application->Guarded([this] { ListBox1Click(ListBox1); }));
    Button1->OnClick = [this](QObject* s) { Button1Click(s); };
}

void TfrmCellproperty::FormShow(QObject* Sender)
{
    if (parentform) fbilltype = parentform->ReportControl1->billtype();
}

void TfrmCellproperty::varraygroupClick(QObject* Sender)
{
    const int kind = varraygroup->ItemIndex();
    SpeedButton1->setEnabled(kind == vkField || kind == vkPageSum || kind == vkPageSumCapitals);
}

void TfrmCellproperty::RadioButton1Click(QObject* Sender)
{
    Fmord = 0;
    Label2->hide();
    linenum->hide();
}

void TfrmCellproperty::RadioButton2Click(QObject* Sender)
{
    Fmord = 1;
    Label2->show();
    linenum->show();
}

void TfrmCellproperty::SpeedButton1Click(QObject* Sender)
{
    ListBox1->move(107, 35);
    ListBox1->clear();
    switch (varraygroup->ItemIndex()) {
    case vkField:
        ListBox1->addItems(placeholderlist(fbilltype, Fmord));
        break;
    case vkPageSum:
    case vkPageSumCapitals:
        ListBox1->addItems(pagesumlist(fbilltype));
        break;
    default:
        SpeedButton1->setEnabled(false);
        return;
    }
    ListBox1->show();
    ListBox1->raise();
    ListBox1->setFocus();
}

void TfrmCellproperty::ListBox1Click(QObject* Sender)
{
    if (QListWidgetItem* item = ListBox1->currentItem()) Edit1->setText(item->text());
    ListBox1->hide();
}

void TfrmCellproperty::ListBox1Exit(QObject* Sender) { ListBox1->hide(); }

bool TfrmCellproperty::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the list, by focus or with the mouse, closes it.
    if (watched == ListBox1 && (event->type() == QEvent::FocusOut || event->type() == QEvent::Leave))
        ListBox1Exit(ListBox1);
    return TForm::eventFilter(watched, event);
}

void TfrmCellproperty::Button1Click(QObject* Sender)
{
    TReportControl* rc = parentform ? parentform->ReportControl1 : nullptr;
    if (!rc || rc->SelectCells().size() != 1) {
        ShowMessage(QStringLiteral("没有进行设置"));
        return;
    }
    TReportCell* cell = rc->SelectCells().first();
    cell->SetCellText(Edit1->text());
    cell->Setvarraytype(varraygroup->ItemIndex());
    TReportLine* line = cell->OwnerLine();
    line->SetLinetype(RadioButton2->isChecked() ? 1 : 0);
    if (line->Linetype() == 1) {
        for (int i = 0; i < line->CellCount(); ++i) line->Cell(i)->SetBkColor(0xC0C0C0);
        line->Setprtlines(StrToInt(linenum->cleanText()));
    }
    rc->update();
}
