#include "DesignerForm.h"

#include "DesignerDialogs.h"
#include "DesignerGlyphs.h"

#include "app/FormRegistry.h"
#include "app/ReportControl.h"
#include "app/ReportPrint.h"
#include "data/DataProcess.h"
#include "platform/gui/Application.h"
#include "platform/gui/FontScale.h"
#include "platform/gui/RadioGroup.h"

#include <QEvent>
#include <QFileInfo>
#include <QVBoxLayout>
#include <memory>

const QString TfrmPrintSet::TemplateFilter = QStringLiteral("票据打印样式(*.prt)|*.prt|All files(*.*)|*.*");

QString TfrmPrintSet::TemplateDir() { return getappsubdir(QStringLiteral("dpxprt")); }

TfrmPrintSet::TfrmPrintSet(QWidget* AOwner) : TForm(AOwner)
{
    setObjectName(QStringLiteral("TfrmPrintSet"));
    SetCaption(QStringLiteral("票据打印样式编辑设计"));
    SetPosition(poDesktopCenter);
    setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(Scaled(QSize(789, 483)));

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolButton1 = captionButton("ToolButton1", QStringLiteral("新增"), &TfrmPrintSet::NewClick);
    ToolButton2 = captionButton("ToolButton2", QStringLiteral("打开"), &TfrmPrintSet::OpenClick);
    ToolButton3 = captionButton("ToolButton3", QStringLiteral("保存"), &TfrmPrintSet::SaveClick);
    ToolBar1->addSeparator();
    ToolButton4 = captionButton("ToolButton4", QStringLiteral("打印设置"), &TfrmPrintSet::PrinterSetupClick);
    ToolButton5 = captionButton("ToolButton5", QStringLiteral("打印效果"), &TfrmPrintSet::PrintViewClick);
    ToolButton6 = captionButton("ToolButton6", QStringLiteral("页面设置"), &TfrmPrintSet::PageSetupClick);
    box->addWidget(ToolBar1);

    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setIconSize(QSize(DesignerGlyphSize, DesignerGlyphSize));
    auto on = [this](void (TfrmPrintSet::*h)(QObject*)) { return [this, h] { (this->*h)(this); }; };
    ToolButton7 = hintButton("ToolButton7", QStringLiteral("单元格属性设置"), dgCellProperty, on(&TfrmPrintSet::CellPropertyClick));
    ToolButton8 = hintButton("ToolButton8", QStringLiteral("插入一行"), dgDataLine, on(&TfrmPrintSet::DataLineClick));
    ToolButton9 = hintButton("ToolButton9", QStringLiteral("删除一行"), dgDeleteLine, on(&TfrmPrintSet::CombineClick));
    ToolBar2->addSeparator();
    ToolButton10 = hintButton("ToolButton10", QStringLiteral("字体水平左对齐"), dgAlignLeft, [this] { HorzAlignClick(0); });
    ToolButton11 = hintButton("ToolButton11", QStringLiteral("字体水平中对齐"), dgAlignCenter, [this] { HorzAlignClick(1); });
    // The third button carries the left button's hint; it aligns right.
    ToolButton12 = hintButton("ToolButton12", QStringLiteral("字体水平左对齐"), dgAlignRight, [this] { HorzAlignClick(2); });
    ToolBar2->addSeparator();
    ToolButton13 = hintButton("ToolButton13", QStringLiteral("字体垂直上对齐"), dgAlignTop, [this] { VertAlignClick(0); });
    ToolButton14 = hintButton("ToolButton14", QStringLiteral("字体垂直中对齐"), dgAlignMiddle, [this] { VertAlignClick(1); });
    ToolButton15 = hintButton("ToolButton15", QStringLiteral("字体垂直下对齐"), dgAlignBottom, [this] { VertAlignClick(2); });
    ToolBar2->addSeparator();
    ToolButton16 = hintButton("ToolButton16", QStringLiteral("单元格无边框"), dgNoBorder, on(&TfrmPrintSet::NoBorderClick));
    ToolButton17 = hintButton("ToolButton17", QStringLiteral("单元格下边框"), dgBottomBorder, on(&TfrmPrintSet::BottomBorderClick));
    ToolButton18 = hintButton("ToolButton18", QStringLiteral("单元格全边框"), dgFullBorder, on(&TfrmPrintSet::FullBorderClick));
    ToolBar2->addSeparator();
    ToolButton19 = hintButton("ToolButton19", QStringLiteral("字体选择"), dgFont, on(&TfrmPrintSet::FontClick));
    ToolButton20 = hintButton("ToolButton20", QStringLiteral("单元格合并"), dgCombine, on(&TfrmPrintSet::CombineClick));
    box->addWidget(ToolBar2);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("ScrollBoxPage"));
    ScrollBox1->setWidget(page);
    ReportControl1 = new TReportControl(page);
    ReportControl1->setObjectName(QStringLiteral("ReportControl1"));
    ReportControl1->move(0, 0);
    box->addWidget(ScrollBox1, 1);
    ScrollBox1->installEventFilter(this);
    ReportControl1->installEventFilter(this);

    OpenDialog1.Options |= ofFileMustExist;
    SaveDialog1.DefaultExt = QStringLiteral("prt");
    OnShow = [this](QObject* s) { FormShow(s); };
    fitScrollRange();
}

TfrmPrintSet::~TfrmPrintSet() = default;

QToolButton* TfrmPrintSet::captionButton(const char* name, const QString& caption,
                                         void (TfrmPrintSet::*handler)(QObject*))
{
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumWidth(Scaled(64));
    connect(b, &QToolButton::clicked, this, Application->Guarded([this, handler, b] { (this->*handler)(b); }));
    ToolBar1->addWidget(b);
    return b;
}

QToolButton* TfrmPrintSet::hintButton(const char* name, const QString& hint, int glyph, std::function<void()> handler)
{
    auto* b = new QToolButton(ToolBar2);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(DesignerGlyph(glyph));
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, Application->Guarded(std::move(handler)));
    ToolBar2->addWidget(b);
    return b;
}

bool TfrmPrintSet::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == ScrollBox1)
            Application->Guard([&] { FormResize(this); });
        else if (watched == ReportControl1)
            fitScrollRange();
    }
    return TForm::eventFilter(watched, event);
}

void TfrmPrintSet::FormShow(QObject* Sender)
{
    ReportControl1->Setheaddataset(&headqry);
    ReportControl1->Setbodydataset(&bodyqry);
}

void TfrmPrintSet::FormResize(QObject* Sender)
{
    // Centred in the scroll box; a page wider than the box starts at its left edge, so that
    // the scroll bar reaches all of it.
    m_left = (ScrollBox1->width() - ReportControl1->width()) / 2;
    fitScrollRange();
}

void TfrmPrintSet::fitScrollRange()
{
    const int left = std::max(0, m_left);
    ReportControl1->move(left, 0);
    QWidget* page = ScrollBox1->widget();
    const QSize view = ScrollBox1->viewport()->size();
    page->resize(std::max(view.width(), left + ReportControl1->width()),
                 std::max(view.height(), ReportControl1->height()));
}

// ---------------------------------------------------------------- upper toolbar

void TfrmPrintSet::NewClick(QObject* Sender)
{
    auto dlg = std::make_unique<Tfrmtableset>(this);
    if (dlg->ShowModal() != mrOk) return;
    const int width = dlg->widthedit->value();
    const int height = dlg->heightedit->value();
    setpapersize(width * 10, height * 10);
    ReportControl1->Setpgwidth(width);
    ReportControl1->Setpgheight(height);
    ReportControl1->Setbilltype(dlg->RadioGroup1->ItemIndex());
    ReportControl1->CalcWndSize();
    ReportControl1->NewTable(dlg->colEdit->value(), dlg->rowEdit->value());
    ReportControl1->update();
    Fopenname = QStringLiteral("Printpage.prt");
    ToolButton3->setEnabled(true);
    FormResize(this);
}

void TfrmPrintSet::OpenClick(QObject* Sender)
{
    OpenDialog1.InitialDir = TemplateDir();
    OpenDialog1.Filter = TemplateFilter;
    OpenDialog1.FilterIndex = 1;
    if (!OpenDialog1.Execute()) return;
    const QString name = OpenDialog1.FileName;
    if (ReportControl1->LoadFromFile(name)) {
        Fopenname = name;
        ToolButton3->setEnabled(true);
    }
    FormResize(this);
}

void TfrmPrintSet::SaveClick(QObject* Sender)
{
    // A template shown as it prints holds its data line repeated: it is not saved.
    if (!ToolButton3->isEnabled()) return;
    SaveDialog1.Filter = TemplateFilter;
    SaveDialog1.FilterIndex = 1;
    SaveDialog1.InitialDir = TemplateDir();
    SaveDialog1.FileName = Fopenname;
    if (!SaveDialog1.Execute()) return;
    QString name = SaveDialog1.FileName;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".prt");
    if (QFileInfo::exists(name)
        && MessageDlg(QStringLiteral("文件“%1”已经存在，要替换它吗？").arg(QFileInfo(name).fileName()), mtConfirmation,
                      mbYesNo)
               != mrYes)
        return;
    ReportControl1->SaveToFile(name);
}

void TfrmPrintSet::PrinterSetupClick(QObject* Sender)
{
    if (PrinterSetupDialog1.Execute()) ReportControl1->CalcWndSize();
    FormResize(this);
}

void TfrmPrintSet::PrintViewClick(QObject* Sender)
{
    OpenDialog1.InitialDir = TemplateDir();
    OpenDialog1.Filter = TemplateFilter;
    OpenDialog1.FilterIndex = 1;
    if (OpenDialog1.Execute() && ReportControl1->LoadFromFileforprint(OpenDialog1.FileName))
        ToolButton3->setEnabled(false);
    FormResize(this);
}

void TfrmPrintSet::PageSetupClick(QObject* Sender)
{
    auto dlg = std::make_unique<TfrmPageproperty>(this);
    const TRect m = ReportControl1->GetMargin();
    dlg->setdatavalue(ReportControl1->pgwidth(), ReportControl1->pgheight(), m.Left, m.Top, m.Right, m.Bottom);
    dlg->RadioGroup1->SetItemIndex(ReportControl1->billtype());
    if (dlg->ShowModal() == mrOk) {
        int width = 0, height = 0, left = 0, top = 0, right = 0, bottom = 0;
        dlg->getdatavalue(width, height, left, top, right, bottom);
        ReportControl1->SetMargin(left, top, right, bottom);
        ReportControl1->Setpgwidth(width);
        ReportControl1->Setpgheight(height);
        ReportControl1->Setbilltype(dlg->RadioGroup1->ItemIndex());
        setpapersize(width * 10, height * 10);
    }
    ReportControl1->CalcWndSize();
}

// ---------------------------------------------------------------- lower toolbar

void TfrmPrintSet::CellPropertyClick(QObject* Sender)
{
    if (ReportControl1->SelectCells().size() != 1) return;
    TReportCell* cell = ReportControl1->SelectCells().first();
    TReportLine* line = cell->OwnerLine();
    auto dlg = std::make_unique<TfrmCellproperty>(this);
    dlg->parentform = this;
    dlg->varraygroup->SetItemIndex(cell->varraytype());
    dlg->Edit1->setText(cell->CellText());
    dlg->linenum->setValue(line->prtlines());
    if (line->Linetype() == 1) {
        dlg->RadioButton2->setChecked(true);
        dlg->RadioButton2Click(dlg->RadioButton2);
    } else {
        dlg->RadioButton1->setChecked(true);
        dlg->RadioButton1Click(dlg->RadioButton1);
    }
    if (dlg->ShowModal() != mrOk) return;
    const int kind = dlg->varraygroup->ItemIndex();
    cell->Setvarraytype(kind);
    if (kind == vkPageNumber)
        cell->SetCellText(QStringLiteral("共XX页 第XX页"));
    else if (kind == vkPrintDate)
        cell->SetCellText(QStringLiteral("XX年X月X日"));
    else
        cell->SetCellText(dlg->Edit1->text());
    ReportControl1->UpdateLines();
    ReportControl1->update();
}

void TfrmPrintSet::DataLineClick(QObject* Sender)
{
    ReportControl1->Setreportlinetype(1);
    ReportControl1->SetprtlineS(5);
}

void TfrmPrintSet::CombineClick(QObject* Sender) { ReportControl1->CombineCell(); }

void TfrmPrintSet::HorzAlignClick(int align) { ReportControl1->sethorzalign(align); }

void TfrmPrintSet::VertAlignClick(int align) { ReportControl1->setvertalign(align); }

void TfrmPrintSet::NoBorderClick(QObject* Sender) { ReportControl1->SetCellLines(false, false, false, false, 1, 1, 1, 1); }

void TfrmPrintSet::BottomBorderClick(QObject* Sender)
{
    ReportControl1->SetCellLines(false, false, false, true, 1, 1, 1, 1);
}

void TfrmPrintSet::FullBorderClick(QObject* Sender) { ReportControl1->SetCellLines(true, true, true, true, 1, 1, 1, 1); }

void TfrmPrintSet::FontClick(QObject* Sender)
{
    if (FontDialog1.Execute()) ReportControl1->setfont(FontDialog1.Font);
}

// ---------------------------------------------------------------- registration

void RegisterDesignerForms()
{
    TFormRegistry::Register(53, {QStringLiteral("TfrmPrintSet"),
                                 [](QWidget* owner) -> TForm* { return new TfrmPrintSet(owner); }, {}});
}
