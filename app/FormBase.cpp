#include "FormBase.h"

#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxColumns.h"
#include "grid/support/DBCtrlsGx.h"
#include "platform/gui/Application.h"
#include "platform/gui/DBControls.h"
#include "platform/gui/FontScale.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/RadioGroup.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

template <class T>
T* ancestorOf(QWidget* w, const QWidget* stop)
{
    for (QWidget* p = w; p && p != stop; p = p->parentWidget())
        if (auto* t = dynamic_cast<T*>(p))
            return t;
    return nullptr;
}

// A plain edit: the class library's edit or a class derived from it, not a data-aware one.
bool isPlainEdit(QObject* o)
{
    auto* e = qobject_cast<QLineEdit*>(o);
    if (!e || qobject_cast<TDBEdit*>(o) || dynamic_cast<TDBEditWindowGx*>(o))
        return false;
    // The line edits inside spin boxes, date-time pickers and combo boxes belong to them.
    QWidget* p = e->parentWidget();
    return !qobject_cast<QAbstractSpinBox*>(p) && !qobject_cast<QComboBox*>(p);
}

bool isListBox(QObject* o)
{
    return qobject_cast<QListView*>(o) != nullptr;
}

void setBaseColour(QWidget* w, TColor c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, ToQColor(c));
    w->setPalette(pal);
}

} // namespace

void AddGridColumns(TDBGridGx* grid, std::initializer_list<TGridColumnDef> columns)
{
    for (const TGridColumnDef& c : columns) {
        TColumnGx* column = grid->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(c.field));
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        column->Title()->SetAlignment(taCenter);
        column->SetWidth(Scaled(c.width));
        if (c.centred)
            column->SetAlignment(taCenter);
    }
}

void AddGridColumns(TDBGridGx* grid, const QList<TGridColumnDef>& columns)
{
    for (const TGridColumnDef& c : columns)
        AddGridColumns(grid, {c});
}

// ---------------------------------------------------------------- TfrmBase

TfrmBase::TfrmBase(QWidget* AOwner) : TForm(AOwner)
{
    SetCaption(QStringLiteral("Base Class"));
    QFont f = QApplication::font();
    f.setFamilies({QStringLiteral("細明體"), QApplication::font().family()});
    f.setPixelSize(13);
    setFont(f);
    SetPosition(poScreenCenter);
}

// ---------------------------------------------------------------- TfrmBase_C

TfrmBase_C::TfrmBase_C(QWidget* AOwner) : TfrmBase(AOwner)
{
    SetKeyPreview(true);
    SetPosition(poDesktopCenter);
    OnShow = [this](QObject* Sender) { FormShow(Sender); };
    OnKeyPress = [this](QObject* Sender, QChar& Key) { FormKeyPress(Sender, Key); };
}

bool TfrmBase_C::IsEditControlActive()
{
    QWidget* a = ActiveControl();
    if (!a)
        return false;
    if (qobject_cast<QLineEdit*>(a) || qobject_cast<QPlainTextEdit*>(a) || qobject_cast<QTextEdit*>(a)
        || qobject_cast<QAbstractSpinBox*>(a) || isListBox(a) || TRadioGroup::Of(a))
        return true;
    // Controls made of inner windows: the grid library's editors, combo boxes, pickers.
    return ancestorOf<TCustomDBEditGx>(a, this) || ancestorOf<QComboBox>(a, this)
           || ancestorOf<QAbstractSpinBox>(a, this);
}

void TfrmBase_C::FormShow(QObject* Sender)
{
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        if (!isPlainEdit(e))
            continue;
        e->setInputMethodHints(Qt::ImhNone);
        e->setAttribute(Qt::WA_InputMethodEnabled, true);
    }
}

void TfrmBase_C::FormKeyPress(QObject* Sender, QChar& Key)
{
    if (Key != QChar(13))
        return;
    // In a grid's cell editor Enter takes what was typed into the cell and goes on to the next
    // column, where the next value is typed afresh.
    if (auto* cell = dynamic_cast<TInplaceEdit*>(ActiveControl())) {
        if (auto* grid = dynamic_cast<TCustomDBGridGx*>(cell->Grid())) {
            Key = QChar(0);
            grid->UpdateText();
            GridEnterStep(grid);
            return;
        }
    }
    if (IsEditControlActive()) {
        Key = QChar(0);
        Perform(WM_NEXTDLGCTL, 0, 0);
        return;
    }
    GridEnterStep(ActiveControl());
}

bool TfrmBase_C::GridEnterStep(QWidget* control)
{
    auto* grid = dynamic_cast<TCustomDBGridGx*>(control);
    if (!grid)
        return false;
    // The next field column of the same row; from the last one back to column 0.
    const int index = grid->SelectedIndex();
    grid->SetSelectedIndex(index < grid->FieldCount() - 1 ? index + 1 : 0);
    return true;
}

void TfrmBase_C::onFocusEnter(QObject* Sender)
{
    auto* w = qobject_cast<QWidget*>(Sender);
    if (w && (isPlainEdit(w) || isListBox(w)))
        setBaseColour(w, clGradientActiveCaption);
}

void TfrmBase_C::onFocusExit(QObject* Sender)
{
    auto* w = qobject_cast<QWidget*>(Sender);
    if (w && (isPlainEdit(w) || isListBox(w)))
        setBaseColour(w, clWindow);
}

void TfrmBase_C::BindHighlight(QWidget* control)
{
    control->installEventFilter(this);
}

bool TfrmBase_C::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        Application->Guard([&] { onFocusEnter(watched); }, watched);
    else if (event->type() == QEvent::FocusOut)
        Application->Guard([&] { onFocusExit(watched); }, watched);
    return TfrmBase::eventFilter(watched, event);
}

// ---------------------------------------------------------------- frames

namespace {

QLabel* bannerPicture(QWidget* parent, bool title)
{
    auto* l = new QLabel(parent);
    l->setStyleSheet(QStringLiteral(
        "QLabel { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1f4e8c, stop:1 #5b8fd0);"
        " color: white; font-weight: bold; padding-left: 8px; }"));
    if (title)
        l->setText(QStringLiteral("Depotrix"));
    return l;
}

} // namespace

TfrmFrame::TfrmFrame(QWidget* AOwner, const QString& cancelCaption, bool okDefault) : TfrmBase_C(AOwner)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(31);
    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    Image1 = bannerPicture(Panel1, true);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedWidth(225);
    Image2 = bannerPicture(Panel1, false);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setStyleSheet(QStringLiteral("QLabel { background: #5b8fd0; }"));
    top->addWidget(Image1);
    top->addWidget(Image2, 1);
    outer->addWidget(Panel1);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    panel3 = new QFrame(this);
    panel3->setObjectName(QStringLiteral("panel3"));
    body->addWidget(panel3, 1);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(Scaled(90));
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Sunken);
    auto* column = new QVBoxLayout(Panel2);
    column->setContentsMargins(0, 0, 0, 0);
    column->addStretch(1);
    Panel4 = new QFrame(Panel2);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFixedHeight(59);
    auto* buttons = new QVBoxLayout(Panel4);
    buttons->setContentsMargins(7, 4, 7, 4);
    buttons->setSpacing(6);
    Button1 = new TButton(QStringLiteral("确定"), Panel4);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->SetModalResult(mrOk);
    Button1->setAutoDefault(false);
    Button1->SetDefault(okDefault);
    Button2 = new TButton(cancelCaption, Panel4);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->SetModalResult(mrCancel);
    Button2->setAutoDefault(false);
    for (TButton* b : {Button1, Button2}) {
        b->setFixedSize(Scaled(QSize(75, 21)));
        buttons->addWidget(b, 0, Qt::AlignHCenter);
    }
    column->addWidget(Panel4);
    body->addWidget(Panel2);
    outer->addLayout(body, 1);
}

TfrmNormalForm::TfrmNormalForm(QWidget* AOwner) : TfrmFrame(AOwner, QStringLiteral("返回"), true) {}

TfrmBaseform::TfrmBaseform(QWidget* AOwner) : TfrmFrame(AOwner, QStringLiteral("取消"), false) {}
