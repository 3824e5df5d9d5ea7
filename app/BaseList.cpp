// The list form of simple master tables.
#include "BaseList.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "grid/control/DBGridGxColumns.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/rtl/Exceptions.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

QToolBar* newworktoolbar(QWidget* form, QVBoxLayout*& outer)
{
    outer = new QVBoxLayout(form);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* bar = new QToolBar(form);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    outer->addWidget(bar);
    return bar;
}

QAction* addtoolaction(QToolBar* bar, const char* name, const char* caption, const char* button)
{
    QAction* a = bar->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromLatin1(name));
    if (button)
        bar->widgetForAction(a)->setObjectName(QString::fromLatin1(button));
    return a;
}

Tfrmbaselist::Tfrmbaselist(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    resize(Scaled(QSize(680, 490)));
    QVBoxLayout* outer = nullptr;
    ToolBar1 = newworktoolbar(this, outer);
    acInsert = addtoolaction(ToolBar1, "acInsert", "新增", "sbinsert");
    acEdit = addtoolaction(ToolBar1, "acEdit", "修改", "sbedit");
    acCancel = addtoolaction(ToolBar1, "acCancel", "放弃", "sbcancel");
    acDelete = addtoolaction(ToolBar1, "acDelete", "删除", "sbdelete");
    acrefrsh = addtoolaction(ToolBar1, "acrefrsh", "刷新", "sbrefrsh");
    acSave = addtoolaction(ToolBar1, "acSave", "保存", "sbsave");
    acExit = addtoolaction(ToolBar1, "acExit", "退出", "sbexit");
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    DBGridGx1 = new TDBGridGx(Splitter1);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    DBGridGx1->SetReadOnly(true);
    Splitter1->addWidget(DBGridGx1);
    outer->addWidget(Splitter1, 1);
    DSbaseinfo.SetDataSet(&CDSbaseinfo);
    DBGridGx1->SetDataSource(&DSbaseinfo);
    DBGridGx1->OnTitleBtnClick = [this](QObject*, int, TColumnGx* column) { DBGridGx1TitleBtnClick(column); };
    CDSbaseinfo.OnNewRecord = [](TDataSet* ds) {
        if (TField* f = ds->FindField(QStringLiteral("visibled")))
            f->SetAsBoolean(true);
    };

    auto bind = [this](QAction* a, void (Tfrmbaselist::*handler)(QObject*)) {
        connect(a, &QAction::triggered, this, Application->Guarded([this, a, handler] { (this->*handler)(a); }));
    };
    bind(acInsert, &Tfrmbaselist::acInsertExecute);
    bind(acEdit, &Tfrmbaselist::acEditExecute);
    bind(acCancel, &Tfrmbaselist::acCancelExecute);
    bind(acDelete, &Tfrmbaselist::acDeleteExecute);
    bind(acrefrsh, &Tfrmbaselist::acrefrshExecute);
    bind(acSave, &Tfrmbaselist::acSaveExecute);
    connect(acExit, &QAction::triggered, this, [this] { Close(); });
}

Tfrmbaselist::~Tfrmbaselist()
{
    DBGridGx1->SetDataSource(nullptr);
}

void Tfrmbaselist::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    resize(Scaled(QSize(680, 490)));
    SetCaption(FormCaption);
    // The window is on the screen before the rows are read.
    Application->ProcessMessages();
    loaddata();
    setbtnstate(3);
}

void Tfrmbaselist::loaddata()
{
    DBGridGx1->SetDataSource(nullptr);
    CDSbaseinfo.SetData(rmtDM->gettabledata(MainTable, KeyField, Ftiao, 20));
    DBGridGx1->SetDataSource(&DSbaseinfo);
    applymetadata();
}

void Tfrmbaselist::applymetadata()
{
    if (!CDSbaseinfo.Active())
        return;
    TClientDataSet meta;
    meta.SetData(rmtDM->gettabledata(QStringLiteral("Tablefield"), QStringLiteral("fid"),
                                     QStringLiteral("ftableName=") + vartosqlvalue(Variant(MainTable)), 20));
    if (!meta.Active())
        return;
    auto key = [](const QString& s) { return s.trimmed().toUpper(); };
    for (int i = 0; i < CDSbaseinfo.FieldCount(); ++i) {
        TField* field = CDSbaseinfo.Fields().Fields(i);
        for (meta.First(); !meta.Eof(); meta.Next()) {
            if (key(field->FieldName()) != key(meta.FieldByName(QStringLiteral("fieldname"))->AsString()))
                continue;
            field->SetDisplayLabel(meta.FieldByName(QStringLiteral("fdesc"))->AsString());
            const QString type = meta.FieldByName(QStringLiteral("ftype"))->AsString().trimmed();
            const int length = meta.FieldByName(QStringLiteral("flength"))->AsInteger();
            if (type == QLatin1String("int") || type == QLatin1String("datetime") || type == QLatin1String("numeric")) {
                // A quarter of the length, halves to the even neighbour.
                field->SetDisplayWidth(int(std::nearbyint(length / 4.0)));
                field->SetAlignment(taRightJustify);
            } else if (type == QLatin1String("bit")) {
                field->SetDisplayWidth(8);
                field->SetAlignment(taRightJustify);
            } else {
                field->SetDisplayWidth(length);
            }
            if (!meta.FieldByName(QStringLiteral("fisVisible"))->AsBoolean())
                field->SetVisible(false);
        }
    }
}

void Tfrmbaselist::setbtnstate(int state)
{
    Fbtnstate = state;
    // 新增, 修改, 放弃, 删除, 保存, 刷新 (-1: unchanged), 退出
    struct Row {
        int cancel, del, save, refresh, recorded;
    };
    Row r;
    switch (state) {
    case 1: r = {1, 0, 1, 0, 1}; break;
    case 2: r = {1, 1, 1, 0, 2}; break;
    case 3: r = {0, 1, 0, -1, 3}; break;
    case 4: r = {0, 1, 0, -1, 4}; break;
    case 5: r = {1, 1, 1, 1, 5}; break;
    case 6: r = {0, 1, 0, 1, 6}; break;
    case 9: r = {0, 0, 0, 0, 6}; break;
    default: return;
    }
    acInsert->setEnabled(true);
    acEdit->setEnabled(true);
    acCancel->setEnabled(r.cancel);
    acDelete->setEnabled(r.del);
    acSave->setEnabled(r.save);
    if (r.refresh >= 0)
        acrefrsh->setEnabled(r.refresh);
    acExit->setEnabled(true);
    fprestate = r.recorded;
}

void Tfrmbaselist::DBGridGx1TitleBtnClick(TColumnGx* column)
{
    if (!column || !column->Field())
        return;
    const QString name = column->FieldName();
    QString order;
    switch (column->Title()->SortMarker()) {
    case smNoneGx:
        column->Title()->SetSortMarker(smDownGx);
        order = name + QStringLiteral(" ASC");
        break;
    case smDownGx:
        order = name + QStringLiteral(" ASC");
        break;
    case smUpGx:
        order = name + QStringLiteral(" DESC");
        break;
    }
    try {
        CDSbaseinfo.SetIndexFieldNames(order);
    } catch (const Exception&) {
    }
}

void Tfrmbaselist::runmodifyform()
{
    if (!ModifyForm)
        return;
    std::unique_ptr<TForm> dialog(ModifyForm(this));
    dialog->ShowModal();
}

void Tfrmbaselist::acInsertExecute(QObject*)
{
    CDSbaseinfo.Append();
    runmodifyform();
    if (CDSbaseinfo.ChangeCount() > 0)
        setbtnstate(1);
}

void Tfrmbaselist::acEditExecute(QObject*)
{
    if (!CDSbaseinfo.Active() || CDSbaseinfo.IsEmpty()) {
        MessageDlg(QStringLiteral("不能对空表进行修改"), mtError, {mbOK});
        return;
    }
    CDSbaseinfo.Edit();
    runmodifyform();
    if (CDSbaseinfo.ChangeCount() > 0)
        setbtnstate(2);
}

void Tfrmbaselist::acCancelExecute(QObject*)
{
    if (CDSbaseinfo.Active())
        CDSbaseinfo.CancelUpdates();
    setbtnstate(4);
}

void Tfrmbaselist::acDeleteExecute(QObject*)
{
    if (!CDSbaseinfo.Active() || CDSbaseinfo.IsEmpty()) {
        MessageDlg(QStringLiteral("空表不能删除"), mtError, {mbOK});
        return;
    }
    if (MessageDlg(QStringLiteral("真的要删除吗"), mtConfirmation, mbOKCancel) != mrOk)
        return;
    CDSbaseinfo.Delete();
    if (CDSbaseinfo.ChangeCount() > 0)
        setbtnstate(5);
}

void Tfrmbaselist::acrefrshExecute(QObject*)
{
    DBGridGx1->setEnabled(false);
    loaddata();
    DBGridGx1->setEnabled(true);
    setbtnstate(9);
}

bool Tfrmbaselist::savechanges()
{
    if (CDSbaseinfo.State() == dsEdit || CDSbaseinfo.State() == dsInsert)
        CDSbaseinfo.Post();
    if (CDSbaseinfo.ChangeCount() == 0) {
        MessageDlg(QStringLiteral("数据没有修改！"), mtError, {mbOK});
        setbtnstate(3);
        return true;
    }
    if (rmtDM->ApplyUpdateDelta(CDSbaseinfo.Delta(), MainTable, KeyField)) {
        CDSbaseinfo.MergeChangeLog();
        MessageDlg(QStringLiteral("数据保存成功！"), mtInformation, {mbOK});
        setbtnstate(6);
        return true;
    }
    // The edits stay in the change log for another try.
    MessageDlg(QStringLiteral("数据保存失败！"), mtError, {mbOK});
    return false;
}

void Tfrmbaselist::acSaveExecute(QObject*)
{
    if (savechanges())
        loaddata();
}
