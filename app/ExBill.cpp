// The stock-out bill.
#include "ExBill.h"

#include "DropDownPicker.h"
#include "ExPicker.h"
#include "ExReturnPicker.h"
#include "ImPicker.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Format.h"

#include <QLabel>
#include <algorithm>
#include <map>

Tfrmbasicexbill::Tfrmbasicexbill(QWidget* AOwner) : Tfrmbasicbill(AOwner)
{
    SetCaption(QStringLiteral("材料出库单"));
    fmastertable = QStringLiteral("ebmaster");
    fdetailtable = QStringLiteral("ebdetail");
    vmastertable = QStringLiteral("vebmaster");
    vdetailtable = QStringLiteral("vebdetail");
    Fmkey = Fdkey = Fmfkey = QStringLiteral("fid");
    fdfkey = QStringLiteral("eid");
    billtype = true;
    printfile = exbillprintfile;
    DBCheckBox1->setText(QStringLiteral("退库或冲帐"));

    auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), headpanel); };
    auto edit = [this](const char* name, const char* field) {
        auto* e = new TDBEdit(headpanel);
        e->setObjectName(QString::fromLatin1(name));
        e->SetDataSource(&dsMaster);
        e->SetDataField(QString::fromLatin1(field));
        return e;
    };
    auto button = [this](const char* name) {
        auto* b = new QToolButton(headpanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(QStringLiteral("…"));
        b->setAutoRaise(true);
        return b;
    };
    auto box = [this](const char* name, const char* field, const char* caption) {
        auto* b = new TDBCheckBox(headpanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(QString::fromUtf8(caption));
        b->SetDataSource(&dsMaster);
        b->SetDataField(QString::fromLatin1(field));
        b->SetValueChecked(QStringLiteral("True"));
        b->SetValueUnchecked(QStringLiteral("False"));
        return b;
    };
    DBEdit3 = edit("DBEdit3", "dptname");
    DBEdit3->SetReadOnly(true);
    SpeedButton2 = button("SpeedButton2");
    DBEdit5 = edit("DBEdit5", "Pjtname");
    DBEdit5->SetReadOnly(true);
    SpeedButton3 = button("SpeedButton3");
    DBEdit1 = edit("DBEdit1", "billnum");
    DBEdit1->setMaxLength(20);
    SpeedButton1->setParent(headpanel);
    DBDateTimeEditGx1 = new TDBDateTimeEditGx(headpanel);
    DBDateTimeEditGx1->setObjectName(QStringLiteral("DBDateTimeEditGx1"));
    DBDateTimeEditGx1->SetKind(dtkDateGx);
    DBDateTimeEditGx1->SetDataSource(&dsMaster);
    DBDateTimeEditGx1->SetDataField(QStringLiteral("bdate"));
    DBLookupComboBox3 = new TDBLookupComboBox(headpanel);
    DBLookupComboBox3->setObjectName(QStringLiteral("DBLookupComboBox3"));
    DBLookupComboBox3->setMaxVisibleItems(12);
    DBEdit4 = edit("DBEdit4", "remark");
    DBCheckBox3 = box("DBCheckBox3", "breb", "为转帐暂办退库用");
    DBCheckBox2 = box("DBCheckBox2", "bcylm", "周转材料按消耗性材料处理");

    headgrid->addWidget(label("领用单位"), 0, 0);
    headgrid->addWidget(DBEdit3, 0, 1);
    headgrid->addWidget(SpeedButton2, 0, 2);
    headgrid->addWidget(label("使用项目"), 0, 3);
    headgrid->addWidget(DBEdit5, 0, 4);
    headgrid->addWidget(SpeedButton3, 0, 5);
    headgrid->addWidget(label("票据编号"), 0, 6);
    headgrid->addWidget(DBEdit1, 0, 7);
    headgrid->addWidget(SpeedButton1, 0, 8);
    headgrid->addWidget(label("领用日期"), 1, 0);
    headgrid->addWidget(DBDateTimeEditGx1, 1, 1);
    headgrid->addWidget(label("领用经办"), 1, 3);
    headgrid->addWidget(DBLookupComboBox3, 1, 4);
    headgrid->addWidget(label("备         注"), 1, 6);
    headgrid->addWidget(DBEdit4, 1, 7);
    headgrid->addWidget(DBCheckBox3, 2, 1, 1, 2);
    headgrid->addWidget(DBCheckBox2, 2, 4, 1, 3);
    DBbilltype = DBEdit1;

    dsemy.SetDataSet(&cdsemy);
    DBLookupComboBox3->SetListSource(&dsemy);
    DBLookupComboBox3->SetKeyField(QStringLiteral("fid"));
    DBLookupComboBox3->SetListField(QStringLiteral("emyname"));
    DBLookupComboBox3->SetDataSource(&dsMaster);
    DBLookupComboBox3->SetDataField(QStringLiteral("rcid"));

    connect(SpeedButton2, &QToolButton::clicked, this, Application->Guarded([this] { SpeedButton2Click(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, Application->Guarded([this] { SpeedButton3Click(); }));
    DBCheckBox1->OnClick = [this](QObject*) { DBCheckBox1Click(); };
    DBCheckBox3->OnClick = [this](QObject*) { DBCheckBox3Click(); };
    DBGridGx1->OnGetCellParams = [this](QObject*, TColumnGx* c, TFont* f, TColor& b, TGridDrawState) {
        DBGridGx1GetCellParams(c, f, b);
    };
    buildgrid(systype == TSystype::overseas ? Layout::overseas : Layout::local);
}

Tfrmbasicexbill::~Tfrmbasicexbill()
{
    DBGridGx1->OnGetCellParams = nullptr;
    DBCheckBox1->OnClick = nullptr;
    DBCheckBox3->OnClick = nullptr;
}

void Tfrmbasicexbill::buildgrid(Layout layout)
{
    DBGridGx1->SetOptions(TDBGridOptions{dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize,
                                         dgColLines, dgRowLines, dgTabs, dgAlwaysShowSelection, dgConfirmDelete,
                                         dgCancelOnExit});
    DBGridGx1->SetAutoFitColWidths(true);
    DBGridGx1->SetFooterRowCount(1);
    DBGridGx1->SumList()->SetActive(true);
    DBGridGx1->Columns()->Clear();
    DBGridGx1->SetUseMultiTitle(true);
    const bool local = layout == Layout::local;
    DBGridGx1->SetTitleLines(local ? 1 : 2);
    DBGridGx1->SetVTitleMargin(local ? 5 : 4);
    enum Foot { none, sum, total };
    struct Col {
        const char* field;
        const char* title;
        int width;
        bool ro;
        Foot foot;
    };
    QList<Col> cols;
    switch (layout) {
    case Layout::local:
        cols = {{"mname", "材料名称", 130, true, total}, {"mtype", "规格型号", 100, true, none},
                {"munit", "计量单位", 80, true, none},   {"qty", "数量", 80, false, sum},
                {"sprice", "单价", 80, false, none},     {"dprice", "复价", 100, false, sum},
                {"remark", "备注", 200, false, none}};
        break;
    case Layout::overseas:
        cols = {{"mname", "材料名称", 110, true, total},
                {"mtype", "规格型号", 80, true, none},
                {"munit", "计量单位", 60, true, none},
                {"qty", "数量", 60, false, sum},
                {"currency", "采购币种价|币种", 60, false, none},
                {"rsprice", "采购币种价|单价", 60, false, none},
                {"rdprice", "采购币种价|复价", 70, false, sum},
                {"sprice", "折结算币种价|单价", 60, false, none},
                {"dprice", "折结算币种价|复价", 70, false, sum},
                {"remark", "备注", 150, false, none}};
        break;
    case Layout::ret:
        cols = {{"mname", "材料名称", 110, true, total},  {"mtype", "规格型号", 80, true, none},
                {"munit", "计量单位", 60, true, none},    {"qty", "数量", 60, false, sum},
                {"sprice", "出库价格|单价", 60, false, none}, {"dprice", "出库价格|复价", 70, false, sum},
                {"rsprice", "价让价格|单价", 60, false, none}, {"rdprice", "价让价格|复价", 70, false, sum},
                {"remark", "备注", 150, false, none}};
        break;
    }
    for (const Col& c : cols) {
        TColumnGx* column = DBGridGx1->Columns()->Add();
        const QString field = QString::fromLatin1(c.field);
        column->SetFieldName(field);
        column->SetWidth(c.width);
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        column->Title()->SetAlignment(taCenter);
        if (field == QLatin1String("munit"))
            column->SetAlignment(taCenter);
        if (c.ro) {
            column->SetTextEditing(false);
            column->SetButtonStyle(cbsNone);
        }
        TColumnFooterGx* footer = column->Footer();
        if (c.foot == none)
            continue;
        footer->Font()->SetColor(clRed);
        if (c.foot == total) {
            footer->SetValueType(fvtStaticText);
            footer->SetValue(QStringLiteral("合计"));
            footer->SetAlignment(taCenter);
        } else {
            footer->SetValueType(fvtSum);
        }
    }
}

void Tfrmbasicexbill::DBGridGx1GetCellParams(TColumnGx*, TFont* AFont, TColor&)
{
    TField* qty = CDSdetail.Active() ? CDSdetail.FindField(QStringLiteral("qty")) : nullptr;
    AFont->SetColor(qty && qty->AsFloat() < 0 ? TColor(255) : clBlack);
}

void Tfrmbasicexbill::FormShow(QObject* Sender)
{
    Tfrmbasicbill::FormShow(Sender);
    cdsemy.SetData(rmtDM->gettabledata(QStringLiteral("emylist"), QStringLiteral("fid"), QStringLiteral("visibled=1"), 20));
}

void Tfrmbasicexbill::dataloaded()
{
    Floadedbatches.clear();
    if (!CDSdetail.Active())
        return;
    for (CDSdetail.First(); !CDSdetail.Eof(); CDSdetail.Next())
        if (const int rpid = CDSdetail.FieldByName(QStringLiteral("rpid"))->AsInteger())
            Floadedbatches.insert(rpid);
    CDSdetail.First();
    const std::pair<const char*, void (Tfrmbasicexbill::*)()> handlers[] = {
        {"qty", &Tfrmbasicexbill::CDSdetailqtyChange},
        {"sprice", &Tfrmbasicexbill::CDSdetailspriceChange},
        {"dprice", &Tfrmbasicexbill::CDSdetaildpriceChange},
        {"rsprice", &Tfrmbasicexbill::CDSdetailrspriceChange},
        {"rdprice", &Tfrmbasicexbill::CDSdetailrdpriceChange},
    };
    for (const auto& [name, handler] : handlers)
        if (TField* field = CDSdetail.FindField(QString::fromLatin1(name)))
            field->OnChange = [this, h = handler](TField*) { (this->*h)(); };
}

void Tfrmbasicexbill::cdsmasterAfterInsert()
{
    BillID = rmtDM->GetnewID(QStringLiteral("eid"));
    auto f = [this](const char* name) { return cdsmaster.FieldByName(QString::fromLatin1(name)); };
    f("fid")->SetAsInteger(BillID);
    f("bdate")->SetAsDateTime(datetoday());
    f("lister")->SetAsString(username);
    f("brecorded")->SetAsBoolean(false);
    f("pid")->SetAsInteger(rmtDM->GetID(QStringLiteral("pid")));
    f("breverse")->SetAsBoolean(false);
    f("breb")->SetAsBoolean(false);
    f("bcylm")->SetAsBoolean(false);
}

void Tfrmbasicexbill::SpeedButton2Click()
{
    picktree(QStringLiteral("dptlist"), DBEdit3, SpeedButton2, QStringLiteral("dptid"), QStringLiteral("dptname"),
             QStringLiteral("dptcode"));
}

void Tfrmbasicexbill::SpeedButton3Click()
{
    picktree(QStringLiteral("pjtlist"), DBEdit5, SpeedButton3, QStringLiteral("pjtid"), QStringLiteral("pjtname"),
             QStringLiteral("pjtcode"));
}

void Tfrmbasicexbill::exclusive(TDBCheckBox* clicked, const char* field, const char* other)
{
    if (!clicked->Checked() || !cdsmaster.Active())
        return;
    TDBCheckBox* otherbox = clicked == DBCheckBox1 ? DBCheckBox3 : DBCheckBox1;
    if (!otherbox->Checked() && !cdsmaster.FieldByName(QString::fromLatin1(other))->AsBoolean())
        return;
    clicked->SetChecked(false);
    if (cdsmaster.State() != dsBrowse)
        cdsmaster.FieldByName(QString::fromLatin1(field))->SetAsBoolean(false);
}

void Tfrmbasicexbill::DBCheckBox1Click()
{
    exclusive(DBCheckBox1, "breverse", "breb");
}

void Tfrmbasicexbill::DBCheckBox3Click()
{
    exclusive(DBCheckBox3, "breb", "breverse");
}

// ---------------------------------------------------------------- lines

double Tfrmbasicexbill::amount(double v) const
{
    return roundtodigits(qint8(dpricedots), v);
}

QString Tfrmbasicexbill::fnum(const char* name) const
{
    return FloatToStr(const_cast<TClientDataSet&>(CDSdetail).FieldByName(QString::fromLatin1(name))->AsFloat());
}

void Tfrmbasicexbill::CDSdetailqtyChange()
{
    auto f = [this](const char* name) { return CDSdetail.FieldByName(QString::fromLatin1(name)); };
    if (f("tempqty")->AsFloat() < f("qty")->AsFloat()) {
        MessageDlg(QStringLiteral("出库量(") + fnum("qty") + QStringLiteral(")>制单时的库存量(") + fnum("tempqty")
                       + QStringLiteral(")！"),
                   mtWarning, {mbYes});
        f("qty")->SetAsFloat(f("tempqty")->AsFloat());
    }
    const double qty = f("qty")->AsFloat();
    if (qty == f("tempqty")->AsFloat())
        f("dprice")->SetAsFloat(amount(f("tempdprice")->AsFloat()));
    else
        f("dprice")->SetAsFloat(amount(qty * f("sprice")->AsFloat()));
    if (systype == TSystype::overseas)
        f("rdprice")->SetAsFloat(amount(f("rsprice")->AsFloat() * qty));
}

void Tfrmbasicexbill::CDSdetailspriceChange()
{
    auto f = [this](const char* name) { return CDSdetail.FieldByName(QString::fromLatin1(name)); };
    const double qty = f("qty")->AsFloat();
    f("dprice")->SetAsFloat(qty != f("tempqty")->AsFloat() ? amount(qty * f("sprice")->AsFloat())
                                                           : amount(f("tempdprice")->AsFloat()));
}

void Tfrmbasicexbill::CDSdetailrspriceChange()
{
    auto f = [this](const char* name) { return CDSdetail.FieldByName(QString::fromLatin1(name)); };
    const double qty = f("qty")->AsFloat();
    f("rdprice")->SetAsFloat(qty != f("tempqty")->AsFloat() ? amount(qty * f("rsprice")->AsFloat())
                                                            : amount(f("temprdprice")->AsFloat()));
}

void Tfrmbasicexbill::CDSdetaildpriceChange()
{
    TField* dprice = CDSdetail.FieldByName(QStringLiteral("dprice"));
    TField* temp = CDSdetail.FieldByName(QStringLiteral("tempdprice"));
    if (temp->AsFloat() < dprice->AsFloat()) {
        MessageDlg(QStringLiteral("出库金额(") + fnum("dprice") + QStringLiteral(")>库存金额(") + fnum("tempdprice")
                       + QStringLiteral(")！"),
                   mtWarning, {mbYes});
        dprice->SetAsFloat(temp->AsFloat());
    }
}

void Tfrmbasicexbill::CDSdetailrdpriceChange()
{
    TField* rdprice = CDSdetail.FieldByName(QStringLiteral("rdprice"));
    TField* temp = CDSdetail.FieldByName(QStringLiteral("temprdprice"));
    if (temp->AsFloat() < rdprice->AsFloat()) {
        MessageDlg(QStringLiteral("实价金额(") + fnum("rdprice") + QStringLiteral(")>库存实价金额(")
                       + fnum("temprdprice") + QStringLiteral(")！"),
                   mtWarning, {mbYes});
        rdprice->SetAsFloat(temp->AsFloat());
    }
}

void Tfrmbasicexbill::btlistaddClick()
{
    if (DBCheckBox1->Checked()) {
        returndptid = cdsmaster.FieldByName(QStringLiteral("dptid"))->AsInteger();
        modifyform = [](QWidget* owner) -> TForm* { return new Tfrmexdetail_R(owner); };
    } else if (DBCheckBox3->Checked()) {
        modifyform = [](QWidget* owner) -> TForm* { return new Tfrmimdetail(owner); };
    } else {
        modifyform = [](QWidget* owner) -> TForm* { return new Tfrmexdetail(owner); };
    }
    Tfrmbasicbill::btlistaddClick();
}

// ---------------------------------------------------------------- saving, deleting, auditing

void Tfrmbasicexbill::acSaveExecute()
{
    if (cdsmaster.FieldByName(QStringLiteral("dptid"))->AsInteger() == 0
        || cdsmaster.FieldByName(QStringLiteral("pjtid"))->AsInteger() == 0 || DBEdit1->text().isEmpty()) {
        MessageDlg(QStringLiteral("单位、项目及编号不能为空,做到了吗？"), mtConfirmation, {mbYes});
        return;
    }
    Tfrmbasicbill::acSaveExecute();
}

QStringList Tfrmbasicexbill::savestatements()
{
    // The batches the lines draw from now are taken; those no line draws from any more (lines
    // deleted by the button or in the grid) are free again. Written with the bill's rows, so a
    // failed save leaves the locks as they were.
    QSet<int> drawn;
    if (CDSdetail.Active()) {
        const TBookmark at = CDSdetail.GetBookmark();
        for (CDSdetail.First(); !CDSdetail.Eof(); CDSdetail.Next())
            if (const int rpid = CDSdetail.FieldByName(QStringLiteral("rpid"))->AsInteger())
                drawn.insert(rpid);
        if (CDSdetail.BookmarkValid(at))
            CDSdetail.GotoBookmark(at);
    }
    QList<int> taken(drawn.begin(), drawn.end());
    QList<int> freed;
    for (int rpid : std::as_const(Floadedbatches))
        if (!drawn.contains(rpid))
            freed << rpid;
    std::sort(taken.begin(), taken.end());
    std::sort(freed.begin(), freed.end());
    QStringList sql;
    for (int rpid : std::as_const(taken))
        sql << QStringLiteral("update mrplist set block=1 where fid=") + QString::number(rpid);
    for (int rpid : std::as_const(freed))
        sql << QStringLiteral("update mrplist set block=0 where fid=") + QString::number(rpid);
    return sql;
}

bool Tfrmbasicexbill::removebill(const QString& detailtable, const QString& mastertable, int id)
{
    const QString key = vartosqlvalue(Variant(id));
    // The batches the bill held are free again with the bill gone.
    if (!rmtDM->execsql(QStringLiteral("update mrplist set block=0 where fid in (select rpid from ") + detailtable
                        + QStringLiteral(" where eid=") + key + QStringLiteral(")")))
        return false;
    if (!rmtDM->execsql(QStringLiteral("delete ") + detailtable + QStringLiteral(" where eid=") + key))
        return false;
    return rmtDM->execsql(QStringLiteral("delete ") + mastertable + QStringLiteral(" where fid=") + key);
}

bool Tfrmbasicexbill::batchescover()
{
    std::map<int, double> drawn;
    for (CDSdetail.First(); !CDSdetail.Eof(); CDSdetail.Next()) {
        const int rpid = CDSdetail.FieldByName(QStringLiteral("rpid"))->AsInteger();
        const double qty = CDSdetail.FieldByName(QStringLiteral("qty"))->AsFloat();
        if (rpid != 0 && qty > 0)
            drawn[rpid] += qty;
    }
    for (const auto& [rpid, qty] : drawn) {
        TClientDataSet batch;
        batch.SetData(rmtDM->gettabledata(QStringLiteral("mrplist"), QStringLiteral("fid"),
                                          QStringLiteral("fid=") + vartosqlvalue(Variant(rpid)), 20));
        const double left = batch.Active() && !batch.IsEmpty() ? batch.FieldByName(QStringLiteral("qty"))->AsFloat() : 0;
        // Quantities are compared at the precision they are kept with.
        if (roundtodigits(6, left - qty) < 0) {
            MessageDlg(QStringLiteral("价格批次的库存量(") + FloatToStr(left) + QStringLiteral(")不足本单出库量(")
                           + FloatToStr(qty) + QStringLiteral(")，票据不能记帐！"),
                       mtError, {mbOK});
            return false;
        }
    }
    return true;
}

void Tfrmbasicexbill::acAuditingExecute()
{
    DBGridGx1->BeginUpdateGx();
    struct Unlock {
        TDBGridGx* g;
        ~Unlock() { g->EndUpdateGx(); }
    } unlock{DBGridGx1};
    if (btnState() == 7) {
        if (rmtDM->exbillreverse(&cdsmaster, &CDSdetail)) {
            MessageDlg(QStringLiteral("数据反记帐成功！"), mtInformation, {mbOK});
            showbill(BillID);
            SetbtnState(8);
        } else {
            MessageDlg(QStringLiteral("数据反记帐失败！"), mtError, {mbOK});
        }
        return;
    }
    if (!batchescover())
        return;
    if (rmtDM->exbillrecord(&cdsmaster, &CDSdetail)) {
        // Posted lines have drawn their quantities: what is left of each batch is free.
        for (int rpid : std::as_const(Floadedbatches))
            rmtDM->setmrplistlock(rpid, false);
        MessageDlg(QStringLiteral("数据记帐成功！"), mtInformation, {mbOK});
        showbill(BillID);
        SetbtnState(7);
    } else {
        MessageDlg(QStringLiteral("数据记帐失败！"), mtError, {mbOK});
    }
}

// ---------------------------------------------------------------- the return layout

Tfrmbasicrebill::Tfrmbasicrebill(QWidget* AOwner) : Tfrmbasicexbill(AOwner)
{
    buildgrid(Layout::ret);
}
