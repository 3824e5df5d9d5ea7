// The drop-down pickers of the head fields.
#include "DropDownPicker.h"

#include "CategoryTree.h"

#include "data/DM.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/FontScale.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QStyleHints>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// The part of a double click that is left when the click that closed a drop-down began it:
// the second press, if it comes within the double-click time and distance, with its double
// click and release. Installed on the application when the drop-down closes; it goes at the
// first press that it lets through or at the end of the one it swallowed.
class TClickRemainder : public QObject {
public:
    TClickRemainder(ulong time, QPointF pos, Qt::MouseButton button)
        : QObject(qApp), Ftime(time), Fpos(pos), Fbutton(button)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (Fdone || (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick
                      && type != QEvent::MouseButtonRelease))
            return false;
        const auto* e = static_cast<QMouseEvent*>(event);
        if (!Fswallowing) {
            if (type != QEvent::MouseButtonPress)
                return false;
            const QStyleHints* hints = QGuiApplication::styleHints();
            const QPointF delta = e->globalPosition() - Fpos;
            const int distance = hints->mouseDoubleClickDistance();
            Fswallowing = e->button() == Fbutton && e->timestamp() >= Ftime
                          && e->timestamp() - Ftime < ulong(hints->mouseDoubleClickInterval())
                          && qAbs(delta.x()) <= distance && qAbs(delta.y()) <= distance;
            if (!Fswallowing)
                finish();
            return Fswallowing;
        }
        if (type == QEvent::MouseButtonRelease && e->button() == Fbutton)
            finish();
        return true;
    }

private:
    void finish()
    {
        Fdone = true;
        qApp->removeEventFilter(this);
        deleteLater();
    }
    ulong Ftime;
    QPointF Fpos;
    Qt::MouseButton Fbutton;
    bool Fswallowing = false;
    bool Fdone = false;
};

// Keeps a click that closes a drop-down from reaching what lies beneath it. A drop-down closes
// on the first click of a double click; the second press then lands on the window under the
// pointer. The guard watches the drop-down's presses while it is shown, and once a click has
// closed it, leaves a TClickRemainder for the rest of that double click.
class TDropDownClickGuard : public QObject {
public:
    explicit TDropDownClickGuard(TForm* dropdown) : QObject(dropdown), Fdropdown(dropdown)
    {
        dropdown->installEventFilter(this);
    }
    // Closes the drop-down with OK after a click on it.
    void closewithok()
    {
        if (Fpressed)
            new TClickRemainder(Fpresstime, Fpresspos, Fbutton);
        Fpressed = false;
        Fdropdown->SetModalResult(mrOk);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == Fdropdown && event->type() == QEvent::Show)
            qApp->installEventFilter(this);
        else if (watched == Fdropdown && event->type() == QEvent::Hide)
            qApp->removeEventFilter(this);
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        // The press reaches the drop-down's window first, then the control in it.
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool mine = widget ? widget->window() == Fdropdown
                                 : Fdropdown->windowHandle() && watched == Fdropdown->windowHandle();
        if (mine) {
            const auto* e = static_cast<QMouseEvent*>(event);
            Fpressed = true;
            Fpresstime = e->timestamp();
            Fpresspos = e->globalPosition();
            Fbutton = e->button();
        }
        return false;
    }

private:
    TForm* Fdropdown;
    bool Fpressed = false;
    ulong Fpresstime = 0;
    QPointF Fpresspos;
    Qt::MouseButton Fbutton = Qt::NoButton;
};

// Closes a drop-down that a click chose in.
void closeonclick(TForm* dropdown)
{
    for (QObject* o : dropdown->children())
        if (auto* guard = dynamic_cast<TDropDownClickGuard*>(o)) {
            guard->closewithok();
            return;
        }
    dropdown->SetModalResult(mrOk);
}

// A borderless drop-down placed by its caller; the click that closes it stays its own.
void makedropdown(TForm* f)
{
    f->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    f->SetPosition(poDesigned);
    new TDropDownClickGuard(f);
}

} // namespace

// ---------------------------------------------------------------- Tfrmbasiclistbox

Tfrmbasiclistbox::Tfrmbasiclistbox(QWidget* aowner, const QString& atablename, const QString& alistidname,
                                   const QString& alistname)
    : TfrmBase_C(aowner), tablename(atablename), listidname(alistidname), listname(alistname)
{
    SetCaption(QStringLiteral("项目选择"));
    makedropdown(this);
    resize(Scaled(QSize(178, 268)));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(2);
    DBGridGx1 = new TDBGridGx(this);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    DBGridGx1->SetOptions(TDBGridOptions{dgTitles, dgColumnResize, dgColLines, dgRowLines, dgTabs, dgRowSelect,
                                         dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit});
    DBGridGx1->SetReadOnly(true);
    DBGridGx1->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->addWidget(DBGridGx1, 1);
    Button2 = new TButton(QStringLiteral("关闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->SetCancel(true);
    Button2->SetModalResult(mrCancel);
    box->addWidget(Button2);
    DSlist.SetDataSet(&CDSlist);
    DBGridGx1->OnCellClick = [this](TColumnGx* c) { DBGridGx1CellClick(c); };
    Button2->OnClick = [this](QObject* s) { Button2Click(s); };

    // One column for the shown name, then every row of the table.
    DBGridGx1->Columns()->Clear();
    TColumnGx* column = DBGridGx1->Columns()->Add();
    column->SetFieldName(listname);
    column->Title()->SetCaption(QStringLiteral("选择列表名称"));
    column->Title()->SetAlignment(taCenter);
    DBGridGx1->SetDataSource(&DSlist);
    CDSlist.SetData(rmtDM->gettabledata(tablename, listidname, QStringLiteral("1=1"), 20));
    if (CDSlist.Active())
        CDSlist.First();
}

void Tfrmbasiclistbox::DBGridGx1CellClick(TColumnGx*)
{
    if (!CDSlist.Active())
        return;
    listboxid = CDSlist.FieldByName(listidname)->AsInteger();
    listboxname = CDSlist.FieldByName(listname)->AsString();
    closeonclick(this);
}

void Tfrmbasiclistbox::Button2Click(QObject*)
{
    Close();
}

// ---------------------------------------------------------------- Tfrmbilltypelistbox

Tfrmbilltypelistbox::Tfrmbilltypelistbox(QWidget* aowner, const QString& atablename, const QString& alistidname,
                                         const QString& alistname)
    : Tfrmbasiclistbox(aowner, atablename, alistidname, alistname)
{
    DBGridGx1->Columns()->Clear();
    TColumnGx* column = DBGridGx1->Columns()->Add();
    column->SetFieldName(QStringLiteral("typename"));
    column->Title()->SetCaption(QStringLiteral("选择列表名称"));
    column->Title()->SetAlignment(taCenter);
}

void Tfrmbilltypelistbox::DBGridGx1CellClick(TColumnGx* Column)
{
    if (CDSlist.Active())
        setcode(CDSlist.FieldByName(QStringLiteral("code"))->AsString());
    Tfrmbasiclistbox::DBGridGx1CellClick(Column);
}

// ---------------------------------------------------------------- TfrmBasictreeshow

TfrmBasictreeshow::TfrmBasictreeshow(QWidget* aowner, const QString& atablename)
    : TfrmBase_C(aowner), tablename(atablename)
{
    SetCaption(QStringLiteral("选择分类项"));
    makedropdown(this);
    resize(Scaled(QSize(475, 356)));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    treelist = new TTreeView(this);
    treelist->setObjectName(QStringLiteral("treelist"));
    treelist->SetReadOnly(true);
    treelist->setIndentation(19);
    treelist->setFrameShape(QFrame::NoFrame);
    treelist->setExpandsOnDoubleClick(false);
    TbreedNodes::setimages(treelist);
    box->addWidget(treelist, 1);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    Button2 = new TButton(QStringLiteral("关闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->SetCancel(true);
    Button2->SetModalResult(mrCancel);
    bar->addWidget(Button2);
    box->addLayout(bar);
    rsnodes = std::make_unique<TRSNodes>(treelist, tablename);
    treelist->OnChange = [this](QObject* s, TTreeNode* n) { treelistChange(s, n); };
    treelist->OnClick = [this](QObject* s) { treelistClick(s); };
    treelist->OnDblClick = [this](QObject* s) { treelistDbClick(s); };
}

TfrmBasictreeshow::~TfrmBasictreeshow()
{
    treelist->OnChange = nullptr;
    treelist->Items()->Clear();
}

void TfrmBasictreeshow::handover(TTreeNode* node)
{
    const Trsnode* r = TRSNodes::recordof(node);
    if (!r)
        return;
    treenodeid = r->fid;
    treenodecode = r->code;
    treenodename = r->prtname;
}

void TfrmBasictreeshow::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    TTreeNode* root = rsnodes->showboot();
    rsnodes->showrschildren(root);
    if (rsnodes->setselectnode(1))
        handover(treelist->Selected());
}

void TfrmBasictreeshow::treelistChange(QObject* Sender, TTreeNode* Node)
{
    rsnodes->onTreeViewChange(Sender, Node);
    handover(treelist->Selected());
}

void TfrmBasictreeshow::treelistClick(QObject*)
{
    if (treelist->Selected())
        closeonclick(this);
}

void TfrmBasictreeshow::treelistDbClick(QObject* Sender)
{
    rsnodes->onTreeViewDbClick(Sender);
}

// ---------------------------------------------------------------- Tfrmbilltreeshow

Tfrmbilltreeshow::Tfrmbilltreeshow(QWidget* aowner, const QString& atablename)
    : TfrmBasictreeshow(aowner, atablename)
{
}

void Tfrmbilltreeshow::FormShow(QObject*)
{
    TTreeNode* root = rsnodes->showbootvisibled();
    rsnodes->showrschildrenvisibled(root);
    if (rsnodes->setselectnode(1))
        handover(treelist->Selected());
}

void Tfrmbilltreeshow::treelistClick(QObject*)
{
    const Trsnode* r = TRSNodes::recordof(treelist->Selected());
    if (r && !r->bparent)
        closeonclick(this);
}

void Tfrmbilltreeshow::treelistDbClick(QObject* Sender)
{
    rsnodes->onTreeViewDbClickvisibled(Sender);
}
