// The batch edit dialogs of the stock-out batch picker.
#include "ExPickerBatch.h"

#include "DropDownPicker.h"

#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

Tfrmexdetail_batch::Tfrmexdetail_batch(QWidget* AOwner, bool overseas) : Tfrmbasedetail_m(AOwner)
{
    SetCaption(QStringLiteral("编辑出库材料项"));
    Maintable = QStringLiteral("mrplist");
    MasterField = QStringLiteral("fid");
    Button3->SetModalResult(mrNo);
    auto* form = new QFormLayout(pnedit);
    auto edit = [this, form](const char* field, const char* label) { return addfieldedit(form, field, label); };
    auto pick = [this, form](const char* name, const char* label, QToolButton*& button) {
        auto* row = new QHBoxLayout;
        auto* e = new QLineEdit(pnedit);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        button = new QToolButton(pnedit);
        button->setText(QStringLiteral("…"));
        row->addWidget(e, 1);
        row->addWidget(button);
        form->addRow(new QLabel(QString::fromUtf8(label), pnedit), row);
        return e;
    };
    DBDateTimeEditGx1 = new TDBDateTimeEditGx(pnedit);
    DBDateTimeEditGx1->setObjectName(QStringLiteral("DBDateTimeEditGx1"));
    DBDateTimeEditGx1->SetKind(dtkDateGx);
    form->addRow(new QLabel(QStringLiteral("日期期"), pnedit), DBDateTimeEditGx1);
    bnum = edit("bnum", "编号");
    qty = edit("qty", "数量");
    sprice = edit("sprice", overseas ? "结算单价" : "单价");
    dprice = edit("dprice", overseas ? "结算金额" : "金额");
    remark = edit("remark", "备注");
    if (overseas) {
        rsprice = edit("rsprice", "采购单价");
        cryname = pick("cryname", "采购币种", crybutton);
        rdprice = edit("rdprice", "采购金额");
        connect(crybutton, &QToolButton::clicked, this, Application->Guarded([this] { currencyClick(); }));
        // Enter in the remark goes on to OK.
        remark->installEventFilter(this);
    } else {
        cfname = pick("cfname", "来源", cfbutton);
        connect(cfbutton, &QToolButton::clicked, this, Application->Guarded([this] { sourceClick(); }));
        // Each key in the number edit prices the batch again.
        connect(bnum, &QLineEdit::textEdited, this, [this] {
            TClientDataSet* ds = DataSet();
            if (!ds || !ds->Active())
                return;
            if (ds->State() == dsBrowse)
                ds->Edit();
            ds->FieldByName(QStringLiteral("dprice"))
                ->SetAsFloat(roundtodigits(qint8(dpricedots), ds->FieldByName(QStringLiteral("qty"))->AsFloat()
                                                                  * ds->FieldByName(QStringLiteral("sprice"))->AsFloat()));
        });
    }
    supname = pick("supname", "厂商", supbutton);
    connect(supbutton, &QToolButton::clicked, this, Application->Guarded([this] { supplierClick(); }));
}

bool Tfrmexdetail_batch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == remark && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Button1->setFocus();
            return true;
        }
    }
    return Tfrmbasedetail_m::eventFilter(watched, event);
}

void Tfrmexdetail_batch::FormShow(QObject* Sender)
{
    Tfrmbasedetail_m::FormShow(Sender);
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active())
        return;
    DBDateTimeEditGx1->SetDataSource(&ParentForm->dsbaseinfo);
    DBDateTimeEditGx1->SetDataField(QStringLiteral("bdate"));
    supname->setText(ds->FieldByName(QStringLiteral("supname"))->AsString());
    if (cfname)
        cfname->setText(ds->FieldByName(QStringLiteral("cfname"))->AsString());
    if (cryname)
        cryname->setText(ds->FieldByName(QStringLiteral("cryname"))->AsString());
}

void Tfrmexdetail_batch::placeabove(TForm* picker, QLineEdit* edit, QToolButton* button, bool absolute)
{
    const QPoint p = getcontrolbottomleft(edit);
    int top = p.y() - 250 - edit->height() - 1;
    if (absolute)
        top = std::abs(top);
    picker->move(p.x(), top);
    picker->resize(std::max(edit->width() + button->width(), 184), 250);
}

void Tfrmexdetail_batch::setbatch(const char* idfield, int id, const char* namefield, const QString& name,
                                  QLineEdit* edit)
{
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active())
        return;
    if (ds->State() == dsBrowse)
        ds->Edit();
    ds->FieldByName(QString::fromLatin1(idfield))->SetAsInteger(id);
    ds->FieldByName(QString::fromLatin1(namefield))->SetAsString(name);
    edit->setText(name);
}

void Tfrmexdetail_batch::tree(const QString& table, QLineEdit* edit, QToolButton* button, const char* idfield,
                              const char* namefield, bool absolute)
{
    std::unique_ptr<Tfrmbilltreeshow> picker(new Tfrmbilltreeshow(this, table));
    placeabove(picker.get(), edit, button, absolute);
    // Only a pick left with OK changes the batch.
    if (picker->ShowModal() == mrOk)
        setbatch(idfield, treenodeid, namefield, treenodename, edit);
}

void Tfrmexdetail_batch::supplierClick()
{
    tree(QStringLiteral("suplist"), supname, supbutton, "supid", "supname", cfname != nullptr);
}

void Tfrmexdetail_batch::sourceClick()
{
    tree(QStringLiteral("cflist"), cfname, cfbutton, "cfid", "cfname", false);
}

void Tfrmexdetail_batch::currencyClick()
{
    std::unique_ptr<Tfrmbasiclistbox> picker(
        new Tfrmbasiclistbox(this, QStringLiteral("currencyset"), QStringLiteral("fid"), QStringLiteral("cryname")));
    placeabove(picker.get(), cryname, crybutton, false);
    if (picker->ShowModal() == mrOk)
        setbatch("cid", listboxid, "cryname", listboxname, cryname);
}
