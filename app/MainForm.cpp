#include "MainForm.h"

#include "AboutForm.h"
#include "AccountSetForm.h"
#include "ConnectSetForm.h"
#include "FormRegistry.h"
#include "LoginForm.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/MessageSink.h"
#include "platform/gui/StatusBar.h"
#include "platform/gui/TreeView.h"
#include "platform/rtl/DateTime.h"

#include <QApplication>
#include <algorithm>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>

namespace {

const char* const ImageIndexProperty = "ImageIndex";

// Shows a form modally with the main window as owner and frees it afterwards.
template <class F>
void showModalForm(QWidget* owner)
{
    std::unique_ptr<F> form(new F(owner));
    form->ShowModal();
}

QLabel* infoLabel(QWidget* parent, const QString& text, const char* colour)
{
    auto* l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(QLatin1String(colour)));
    return l;
}

} // namespace

const std::vector<TCMainform::TDispatch>& TCMainform::DispatchTable()
{
    static const char* const Boss = "只有帐套管理员才能操作！";
    static const char* const Hero = "你是帐套管理员吗?只有他才有这个权限！";
    static const std::vector<TDispatch> table = {
        {11, "Tfrmbasicimbill", true, nullptr},     {12, "Tfrmbasicexbill", true, nullptr},
        {13, "Tfrmbalance", false, "只是帐套管理员吗？"}, {14, "Tfrmbasicrebill", true, nullptr},
        {21, "Tfrmqueryimbill", false, nullptr},    {22, "Tfrmqueryexbill", false, nullptr},
        {23, "TfrmQueryStorage", false, nullptr},   {31, "TfrmimbillReport", false, nullptr},
        {32, "TfrmExbillReport", false, nullptr},   {33, "Tfrmmaterialreport", false, nullptr},
        {34, "Tfrmcylreport", false, nullptr},      {35, "Tfrmconsumereport", false, Boss},
        {41, "TfrmMaterialcf", false, nullptr},     {42, "Tfrmdptlist", false, nullptr},
        {43, "Tfrmpjtlist", false, nullptr},        {44, "Tfrmemployeelist", false, nullptr},
        {45, "Tfrmexceltosrglist", false, Boss},    {47, "Tfrmplanlist", false, Boss},
        {48, "TfrmMaterialsup", false, nullptr},    {51, "TfrmDBlinkset", false, Hero},
        {52, "Tfrmbreedset", false, Hero},          {53, "TfrmPrintSet", false, Hero},
        {54, "Tfrmsystemset", false, Boss},         {55, "Tfrmuserset", false, Boss},
    };
    return table;
}

namespace {

// The window's designed size for this platform's font, within the screen's work area.
QSize designedSize(const QWidget* w)
{
    const QSize size = Scaled(QSize(1120, 720));
    const QScreen* screen = w->screen();
    if (!screen) return size;
    return size.boundedTo(screen->availableGeometry().size() - (w->frameGeometry().size() - w->size()));
}

} // namespace

TCMainform::TCMainform(QWidget* AOwner) : TForm(AOwner)
{
    SetCaption(QStringLiteral("Depotrix"));
    SetPosition(poScreenCenter);
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // The size the show gives it, so that the window is centred at that size.
    resize(designedSize(this));
    QStyle* st = QApplication::style();
    ImageList1 = {st->standardIcon(QStyle::SP_DriveHDIcon),       st->standardIcon(QStyle::SP_DialogApplyButton),
                  st->standardIcon(QStyle::SP_TitleBarShadeButton), st->standardIcon(QStyle::SP_DriveNetIcon),
                  st->standardIcon(QStyle::SP_DialogCloseButton), st->standardIcon(QStyle::SP_TitleBarUnshadeButton)};

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    // The window's size is its own (the side bar is narrower than the toolbar and status bar).
    outer->setSizeConstraint(QLayout::SetNoConstraint);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    N34 = MainMenu1->addAction(QStringLiteral("系统信息"));
    N34->setObjectName(QStringLiteral("N34"));
    connect(N34, &QAction::triggered, this, Application->Guarded([this] { N34Click(N34); }));
    outer->setMenuBar(MainMenu1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* p1 = new QHBoxLayout(Panel1);
    p1->setContentsMargins(0, 0, 0, 0);
    ToolBar1 = new QToolBar(Panel1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbutton3 = toolButton("toolbutton3", QStringLiteral("   登陆     "), 1, &TCMainform::SpeedButton1Click);
    toolbutton4 = toolButton("toolbutton4", QStringLiteral("   缩放    "), 2, &TCMainform::SpeedButton5Click);
    ToolButton6 = toolButton("ToolButton6", QStringLiteral("   连接    "), 3, &TCMainform::SpeedButton8Click);
    toolbutton1 = toolButton("toolbutton1", QStringLiteral("    帐套    "), 0, &TCMainform::SpeedButton3Click);
    ToolButton2 = ToolBar1->addSeparator();
    toolbutton5 = toolButton("toolbutton5", QStringLiteral("   退出    "), 4, &TCMainform::ToolButton11Click);
    p1->addWidget(ToolBar1);
    outer->addWidget(Panel1);

    Panel7 = new QFrame(this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setFixedHeight(39);
    Panel7->setStyleSheet(QStringLiteral(
        "QFrame#Panel7 { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1f4e8c, stop:1 #8fb5e3); }"));
    auto* p7 = new QHBoxLayout(Panel7);
    p7->setContentsMargins(12, 0, 0, 0);
    auto* banner = new QLabel(QStringLiteral("Depotrix  材料管理系统"), Panel7);
    banner->setStyleSheet(QStringLiteral("QLabel { color: white; font-size: 16px; font-weight: bold; }"));
    p7->addWidget(banner);
    outer->addWidget(Panel7);

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedWidth(Scaled(174));
    Panel3->setAutoFillBackground(true);
    QPalette pal = Panel3->palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
    Panel3->setPalette(pal);
    auto* info = new QVBoxLayout(Panel3);
    info->setContentsMargins(10, 12, 6, 12);
    info->setSpacing(4);
    const char* captions[] = {"今天日期：", "操作人员：", "选择套帐：", "选择操作："};
    QLabel** values[] = {&Label6, &Label8, &Label9, &Label12};
    const char* names[] = {"Label6", "Label8", "Label9", "Label12"};
    for (int i = 0; i < 4; ++i) {
        info->addWidget(infoLabel(Panel3, QString::fromUtf8(captions[i]), "blue"));
        *values[i] = infoLabel(Panel3, QString(), "red");
        (*values[i])->setObjectName(QString::fromLatin1(names[i]));
        (*values[i])->setContentsMargins(16, 0, 0, 6);
        info->addWidget(*values[i]);
    }
    info->addStretch(1);
    auto* picture = new QLabel(Panel3);
    picture->setPixmap(st->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    picture->setAlignment(Qt::AlignCenter);
    info->addWidget(picture);
    body->addWidget(Panel3);

    TreeView1 = new TTreeView(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->SetReadOnly(true);
    TreeView1->SetShowRoot(false);
    TreeView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeView1->SetImages({st->standardIcon(QStyle::SP_FileIcon), st->standardIcon(QStyle::SP_DirIcon),
                          st->standardIcon(QStyle::SP_ArrowRight), st->standardIcon(QStyle::SP_DirOpenIcon)});
    TreeView1->OnDblClick = [this](QObject* s) { TreeView1DblClick(s); };
    TreeView1->OnChange = [this](QObject* s, TTreeNode* n) { TreeView1Change(s, n); };
    body->addWidget(TreeView1, 1);
    outer->addLayout(body, 1);
    buildTree();

    StatusBar1 = new TStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->AddPanel(QStringLiteral("帐套名称"), 150, Qt::AlignCenter);
    StatusBar1->AddPanel(QString(), 150);
    StatusBar1->AddPanel(QStringLiteral("套帐数据库名"), 150, Qt::AlignCenter);
    StatusBar1->AddPanel(QString(), 150);
    StatusBar1->AddPanel(QStringLiteral("Depotrix（网络终结版）    "), 50, Qt::AlignCenter);
    outer->addWidget(StatusBar1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char* name, const char* caption, void (TCMainform::*h)(QObject*)) {
        QAction* a = PopupMenu1->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, Application->Guarded([this, h, a] { (this->*h)(a); }));
        return a;
    };
    N1 = item("N1", "新建帐套  &N", &TCMainform::N1Click);
    N5 = item("N5", "备份帐套  &B", &TCMainform::N5Click);
    N6 = item("N6", "还原帐套  &R", &TCMainform::N6Click);
    N2 = item("N2", "删除帐套  &D", &TCMainform::N2Click);

    OnShow = [this](QObject* s) { FormShow(s); };
}

QToolButton* TCMainform::toolButton(const char* name, const QString& caption, int image,
                                    void (TCMainform::*handler)(QObject*))
{
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setMinimumWidth(Scaled(75));
    setToolImage(b, image);
    ToolBar1->addWidget(b);
    connect(b, &QToolButton::clicked, this, Application->Guarded([this, b, handler] { (this->*handler)(b); }));
    return b;
}

void TCMainform::setToolImage(QToolButton* b, int index)
{
    b->setProperty(ImageIndexProperty, index);
    b->setIcon(ImageList1.value(index));
}

int TCMainform::ToolImage(const QToolButton* b) const
{
    return b->property(ImageIndexProperty).toInt();
}

void TCMainform::buildTree()
{
    struct Leaf { const char* text; int code; };
    struct Group { const char* text; std::vector<Leaf> leaves; };
    const Group groups[] = {
        {"日常票据", {{"入库操作", 11}, {"出库操作", 12}, {"期末扎帐", 13}}},
        {"查询修改", {{"入库查寻", 21}, {"出库查寻", 22}, {"库存查寻", 23}}},
        {"报表统计", {{"入库统计", 31}, {"出库统计", 32}, {"库存统计", 33}, {"周转统计", 34}, {"自选统计", 35}}},
        {"基础数据", {{"材料来源", 41}, {"供应厂商", 48}, {"领用单位", 42}, {"使用项目", 43}, {"业务人员", 44},
                      {"数据倒入", 45}, {"计划成本", 47}}},
        {"系统设置", {{"连接设置", 51}, {"材料分类", 52}, {"票据设计", 53}, {"系统参数", 54}, {"用户设置", 55}}},
    };
    TTreeNodes* items = TreeView1->Items();
    auto setup = [](TTreeNode* n, int image, int code) {
        n->SetImageIndex(image);
        n->SetSelectedIndex(image);
        n->SetStateIndex(code);
    };
    TTreeNode* root = items->Add(nullptr, QStringLiteral("Depotrix"));
    setup(root, 1, -1);
    for (const Group& g : groups) {
        TTreeNode* group = items->AddChild(root, QString::fromUtf8(g.text));
        setup(group, 1, -1);
        for (const Leaf& l : g.leaves)
            setup(items->AddChild(group, QString::fromUtf8(l.text)), 0, l.code);
    }
}

void TCMainform::FormShow(QObject* Sender)
{
    resize(designedSize(this));
    if (TTreeNode* first = TreeView1->Items()->GetFirstNode())
        first->Expand(true);
}

void TCMainform::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    if (Node)
        Node->SetSelectedIndex(Node->Level() == 2 ? 2 : 3);
}

void TCMainform::TreeView1DblClick(QObject* Sender)
{
    TTreeNode* node = TreeView1->Selected();
    if (!node)
        return;
    Label12->setText(node->Text());
    if (!loggedin) {
        ShowMessage(QStringLiteral("别急，登录后才能使用系统！"));
        return;
    }
    const int code = node->StateIndex();
    const auto& table = DispatchTable();
    const auto it = std::find_if(table.begin(), table.end(), [code](const TDispatch& d) { return d.code == code; });
    if (it == table.end())
        return;
    if (it->refusal && !userisadmin) {
        ShowMessage(QString::fromUtf8(it->refusal));
        return;
    }
    // The program registers every library's forms at start-up; a library not linked (as in
    // the shell's own tests) leaves its codes doing nothing.
    const TFormEntry* entry = TFormRegistry::Find(code);
    if (!entry)
        return;
    std::unique_ptr<TForm> form(entry->Create(this));
    if (it->newbill && entry->NewBill)
        entry->NewBill(form.get());
    form->ShowModal();
}

void TCMainform::SpeedButton1Click(QObject* Sender)
{
    showModalForm<TfrmLogin>(this);
    if (loggedin) {
        Label6->setText(DateToStr(datetoday()));
        Label8->setText(username);
        Label9->setText(accname);
    }
}

void TCMainform::SpeedButton5Click(QObject* Sender)
{
    if (fresize) {
        fresize = false;
        Panel3->show();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        move(x(), oldtop);
        move(oldleft, oldtop);
        resize(width(), oldheight);
        resize(oldwidth, oldheight);
        setToolImage(toolbutton4, 2);
        return;
    }
    const QRect work = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    oldwidth = width();
    oldheight = height();
    oldtop = pos().y();
    oldleft = pos().x();
    Panel3->hide();
    resize(Scaled(258), height());
    resize(Scaled(258), work.y() + work.height());
    move(pos().x(), work.y());
    move(work.x() + work.width() - width(), work.y());
    if (TTreeNode* first = TreeView1->Items()->GetFirstNode())
        first->Expand(true);
    fresize = true;
    tmpwidth = width();
    tmpheight = height();
    setToolImage(toolbutton4, 5);
}

void TCMainform::resizeEvent(QResizeEvent* e)
{
    TForm::resizeEvent(e);
    if (fresize && (width() != tmpwidth || height() != tmpheight))
        resize(tmpwidth, tmpheight);
}

void TCMainform::SpeedButton8Click(QObject* Sender)
{
    showModalForm<TfrmDBlinkset>(this);
}

void TCMainform::SpeedButton3Click(QObject* Sender)
{
    const QPoint p = getcontrolbottomleft(toolbutton1);
    PopupMenu1->popup(QPoint(p.x() - 1, p.y() + 1));
}

void TCMainform::N1Click(QObject* Sender)
{
    showModalForm<TfrmCreateDB>(this);
}

void TCMainform::N5Click(QObject* Sender)
{
    Label12->setText(QStringLiteral("备份帐套"));
    if (!loggedin) {
        ShowMessage(QStringLiteral("别急，先登录才能使用系统！"));
        return;
    }
    showModalForm<TfrmDBBackup>(this);
}

void TCMainform::N6Click(QObject* Sender)
{
    Label12->setText(QStringLiteral("还原帐套"));
    if (!loggedin) {
        ShowMessage(QStringLiteral("别急，登录后才能使用系统！"));
        return;
    }
    if (MessageDlg(QStringLiteral("强烈提醒:真的要还原，请注意选择正确的还原数据库名!"), mtWarning, mbYesNo) != mrYes) {
        ShowMessage(QStringLiteral("不要动不动就要个还原，还原操作失误容易丢失数据！"));
        return;
    }
    if (!userisadmin) {
        ShowMessage(QStringLiteral("你是帐套管理员吗？只有这位侠客才有这权限"));
        return;
    }
    showModalForm<TfrmDBRestore>(this);
}

void TCMainform::N2Click(QObject* Sender)
{
    deleteaccountset();
}

void TCMainform::N34Click(QObject* Sender)
{
    showModalForm<Tfrmabout>(this);
}

void TCMainform::ToolButton11Click(QObject* Sender)
{
    Close();
}
