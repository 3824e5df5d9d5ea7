// The list forms' edit dialog, users and persons.
#include "BaseListEdit.h"

#include "grid/support/DBCtrlsGx.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "platform/db/Field.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"

#include <QCloseEvent>
#include <QTextCursor>
#include <QFormLayout>
#include <QVBoxLayout>

// ------------------------------------------------------------------ Tfrmbaselist_m

Tfrmbaselist_m::Tfrmbaselist_m(Tfrmbaselist* AOwner) : TfrmBase_C(AOwner), ParentForm(AOwner)
{
    resize(Scaled(QSize(360, 320)));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 6);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedHeight(31);
    Image1->setStyleSheet(QStringLiteral("QLabel { background: #5b8fd0; }"));
    outer->addWidget(Image1);
    pnedit = new QFrame(this);
    pnedit->setObjectName(QStringLiteral("pnedit"));
    new QFormLayout(pnedit);
    outer->addWidget(pnedit, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button2 = new TButton(QStringLiteral("确定"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new TButton(QStringLiteral("返回"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    for (TButton* b : {Button2, Button3}) {
        b->setFixedSize(Scaled(QSize(75, 21)));
        buttons->addWidget(b);
    }
    buttons->addSpacing(8);
    outer->addLayout(buttons);
    Button2->OnClick = [this](QObject* s) { Button2Click(s); };
    Button3->OnClick = [this](QObject* s) { Button3Click(s); };
}

namespace {

// Keeps what the user types into a memo within `length` characters; a longer stored text is
// shown as it is until the user edits it.
void limitmemo(TDBMemo* m, int length)
{
    QObject::connect(m, &QPlainTextEdit::textChanged, m, [m, length] {
        const QString text = m->toPlainText();
        if (!m->hasFocus() || text.size() <= length)
            return;
        const int pos = qMin(m->textCursor().position(), length);
        m->setPlainText(text.left(length));
        QTextCursor c = m->textCursor();
        c.setPosition(pos);
        m->setTextCursor(c);
    });
}

} // namespace

void bindhintcontrols(const QList<QWidget*>& controls, const QString& table, TDataSource* source)
{
    TClientDataSet meta;
    meta.SetData(rmtDM->gettabledata(QStringLiteral("Tablefield"), QStringLiteral("fid"),
                                     QStringLiteral("ftableName=") + vartosqlvalue(Variant(table)), 20));
    if (!meta.Active())
        return;
    for (meta.First(); !meta.Eof(); meta.Next()) {
        const QString field = meta.FieldByName(QStringLiteral("fieldname"))->AsString().trimmed();
        const int length = meta.FieldByName(QStringLiteral("flength"))->AsInteger();
        if (field.isEmpty())
            continue;
        for (QWidget* w : controls) {
            if (w->toolTip().trimmed().toUpper() != field.toUpper())
                continue;
            if (auto* e = dynamic_cast<TDBEdit*>(w)) {
                e->SetDataSource(source);
                e->SetDataField(field);
                if (length > 0)
                    e->setMaxLength(length);
            } else if (auto* m = dynamic_cast<TDBMemo*>(w)) {
                m->SetDataSource(source);
                m->SetDataField(field);
                m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                if (length > 0)
                    limitmemo(m, length);
            } else if (auto* c = dynamic_cast<TDBCheckBox*>(w)) {
                c->SetDataSource(source);
                c->SetDataField(field);
            } else if (auto* l = dynamic_cast<TDBLookupComboBox*>(w)) {
                l->SetDataSource(source);
                l->SetDataField(field);
            } else if (auto* g = dynamic_cast<TCustomDBEditGx*>(w)) {
                // the grid library's combo boxes and date-time editors
                g->SetDataSource(source);
                g->SetDataField(field);
            }
        }
    }
}

template <class C>
C* Tfrmbaselist_m::addcontrol(const char* name, const char* caption, const char* field)
{
    auto* c = new C(pnedit);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(QString::fromLatin1(field));
    static_cast<QFormLayout*>(pnedit->layout())->addRow(QString::fromUtf8(caption), c);
    return c;
}

template TDBEdit* Tfrmbaselist_m::addcontrol<TDBEdit>(const char*, const char*, const char*);
template TDBCheckBox* Tfrmbaselist_m::addcontrol<TDBCheckBox>(const char*, const char*, const char*);

void Tfrmbaselist_m::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    bindhintcontrols(pnedit->findChildren<QWidget*>(Qt::FindDirectChildrenOnly), Maintable,
                     &ParentForm->DSbaseinfo);
    isEdit = DataSet()->State() == dsEdit;
}

void Tfrmbaselist_m::Button2Click(QObject*)
{
    TClientDataSet* ds = DataSet();
    if (ds->State() == dsEdit) {
        ds->Post();
        Close();
    } else if (ds->State() == dsInsert) {
        // The new row is posted and the next one started.
        ds->Append();
    }
}

void Tfrmbaselist_m::cancelpending()
{
    TClientDataSet* ds = DataSet();
    if (ds->State() == dsEdit || ds->State() == dsInsert)
        ds->Cancel();
}

void Tfrmbaselist_m::Button3Click(QObject*)
{
    cancelpending();
    Close();
}

void Tfrmbaselist_m::closeEvent(QCloseEvent* e)
{
    cancelpending();
    TfrmBase_C::closeEvent(e);
}

// ------------------------------------------------------------------ users

Tfrmuserset::Tfrmuserset(QWidget* AOwner) : Tfrmbaselist(AOwner)
{
    FormCaption = QStringLiteral("用户设置");
    MainTable = QStringLiteral("userpw");
    KeyField = QStringLiteral("fID");
    ModifyForm = [this](QWidget*) -> TForm* { return new Tfrmuserset_m(this); };
    settiao(QStringLiteral("1=1"));
    acCancel->setVisible(false);
    acrefrsh->setText(QStringLiteral("权限"));
    acrefrsh->setEnabled(false);
}

void Tfrmuserset::acDeleteExecute(QObject* Sender)
{
    if (CDSbaseinfo.Active() && !CDSbaseinfo.IsEmpty()
        && CDSbaseinfo.FieldByName(QStringLiteral("isadmin"))->AsBoolean()) {
        MessageDlg(QStringLiteral("管理员用户不能删除！"), mtInformation, {mbOK});
        return;
    }
    Tfrmbaselist::acDeleteExecute(Sender);
}

Tfrmuserset_m::Tfrmuserset_m(Tfrmbaselist* AOwner) : Tfrmbaselist_m(AOwner)
{
    SetCaption(QStringLiteral("新增或编辑用户"));
    Maintable = QStringLiteral("userpw");
    MasterField = QStringLiteral("fid");
    Button3->SetCaption(QStringLiteral("放弃"));
    DBEdit1 = addcontrol<TDBEdit>("DBEdit1", "用户名：", "UName");
    DBEdit2 = addcontrol<TDBEdit>("DBEdit2", "密码：", "password");
    DBEdit2->setEchoMode(QLineEdit::Password);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    static_cast<QFormLayout*>(pnedit->layout())->addRow(QStringLiteral("确认码："), Edit1);
}

void Tfrmuserset_m::FormKeyPress(QObject* Sender, QChar& Key)
{
    if (Key == QChar(13) && ActiveControl() == DBEdit2) {
        Key = QChar(0);
        Edit1->setFocus();
        return;
    }
    TfrmBase_C::FormKeyPress(Sender, Key);
}

void Tfrmuserset_m::Button2Click(QObject* Sender)
{
    if (DBEdit2->text() != Edit1->text()) {
        MessageDlg(QStringLiteral("密码与确认码不一致！"), mtError, {mbOK});
        return;
    }
    Tfrmbaselist_m::Button2Click(Sender);
    DBEdit1->setFocus();
    Edit1->clear();
}

// ------------------------------------------------------------------ persons

Tfrmemployeelist::Tfrmemployeelist(QWidget* AOwner) : Tfrmbaselist(AOwner)
{
    FormCaption = QStringLiteral("往来人员列表");
    MainTable = QStringLiteral("emylist");
    KeyField = QStringLiteral("fID");
    ModifyForm = [this](QWidget*) -> TForm* { return new Tfrmemployeelist_m(this); };
    settiao(QStringLiteral("1=1"));
}

Tfrmemployeelist_m::Tfrmemployeelist_m(Tfrmbaselist* AOwner) : Tfrmbaselist_m(AOwner)
{
    SetCaption(QStringLiteral("往来人员编辑"));
    Maintable = QStringLiteral("emylist");
    MasterField = QStringLiteral("fid");
    DBEdit1 = addcontrol<TDBEdit>("DBEdit1", "姓名", "emyname");
    DBEdit2 = addcontrol<TDBEdit>("DBEdit2", "电话", "tel");
    DBEdit3 = addcontrol<TDBEdit>("DBEdit3", "备注", "remark");
    DBCheckBox1 = new TDBCheckBox(pnedit);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setToolTip(QStringLiteral("visibled"));
    DBCheckBox1->SetCaption(QStringLiteral("是否在票据中显示"));
    DBCheckBox1->SetValueChecked(QStringLiteral("True"));
    DBCheckBox1->SetValueUnchecked(QStringLiteral("False"));
    static_cast<QFormLayout*>(pnedit->layout())->addRow(DBCheckBox1);
}

void Tfrmemployeelist_m::FormKeyPress(QObject* Sender, QChar& Key)
{
    if (Key == QChar(13) && ActiveControl() == DBCheckBox1) {
        Key = QChar(0);
        Button2->setFocus();
        return;
    }
    TfrmBase_C::FormKeyPress(Sender, Key);
}

void Tfrmemployeelist_m::Button2Click(QObject* Sender)
{
    Tfrmbaselist_m::Button2Click(Sender);
    if (DataSet()->State() == dsInsert)
        DBEdit1->setFocus();
}
