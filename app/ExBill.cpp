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

#include <algorithm>

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
    DBEdit3 = headedit("DBEdit3", "dptname");
    DBEdit3->SetReadOnly(true);
    SpeedButton2 = headbutton("SpeedButton2");
    DBEdit5 = headedit("DBEdit5", "Pjtname");
    DBEdit5->SetReadOnly(true);
    SpeedButton3 = headbutton("SpeedButton3");
    DBEdit1 = headedit("DBEdit1", "billnum");
    DBEdit1->setMaxLength(20);
    SpeedButton1->setParent(headpanel);
    DBDateTimeEditGx1 = headdate("DBDateTimeEditGx1", "bdate");
    dsemy.SetDataSet(&cdsemy);
    DBLookupComboBox3 = headlookup(headpanel, "DBLookupComboBox3", 12, &dsemy, "emyname", "rcid");
    DBEdit4 = headedit("DBEdit4", "remark");
    DBCheckBox3 = box("DBCheckBox3", "breb", "为转帐暂办退库用");
    DBCheckBox2 = box("DBCheckBox2", "bcylm", "周转材料按消耗性材料处理");

    placeheadrow(0, {{"领用单位", DBEdit3, SpeedButton2}, {"使用项目", DBEdit5, SpeedButton3},
                     {"票据编号", DBEdit1, SpeedButton1}});
    placeheadrow(1, {{"领用日期", DBDateTimeEditGx1}, {"领用经办", DBLookupComboBox3}, {"备         注", DBEdit4}});
    headgrid->addWidget(DBCheckBox3, 2, 1, 1, 2);
    headgrid->addWidget(DBCheckBox2, 2, 4, 1, 3);
    DBbilltype = DBEdit1;

    connect(SpeedButton2, &QToolButton::clicked, this, Application->Guarded([this] { SpeedButton2Click(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, Application->Guarded([this] { SpeedButton3Click(); }));
    DBCheckBox1->OnClick = [this](QObject*) { DBCheckBox1Click(); };
    DBCheckBox3->OnClick = [this](QObject*) { DBCheckBox3Click(); };
    buildgrid(systype == TSystype::overseas ? Layout::overseas : Layout::local);
}

Tfrmbasicexbill::~Tfrmbasicexbill()
{
    DBCheckBox1->OnClick = nullptr;
    DBCheckBox3->OnClick = nullptr;
}

void Tfrmbasicexbill::buildgrid(Layout layout)
{
    initbillgrid();
    constexpr TFoot none = TFoot::none, sum = TFoot::sum, total = TFoot::total;
    switch (layout) {
    case Layout::local:
        addbillcolumns(1, 5,
                       {{"mname", "材料名称", 130, true, total}, {"mtype", "规格型号", 100, true, none},
                        {"munit", "计量单位", 80, true, none},   {"qty", "数量", 80, false, sum},
                        {"sprice", "单价", 80, false, none},     {"dprice", "复价", 100, false, sum},
                        {"remark", "备注", 200, false, none}});
        break;
    case Layout::overseas:
        addbillcolumns(2, 4,
                       {{"mname", "材料名称", 110, true, total},
                        {"mtype", "规格型号", 80, true, none},
                        {"munit", "计量单位", 60, true, none},
                        {"qty", "数量", 60, false, sum},
                        {"currency", "采购币种价|币种", 60, false, none},
                        {"rsprice", "采购币种价|单价", 60, false, none},
                        {"rdprice", "采购币种价|复价", 70, false, sum},
                        {"sprice", "折结算币种价|单价", 60, false, none},
                        {"dprice", "折结算币种价|复价", 70, false, sum},
                        {"remark", "备注", 150, false, none}});
        break;
    case Layout::ret:
        addbillcolumns(2, 4,
                       {{"mname", "材料名称", 110, true, total},  {"mtype", "规格型号", 80, true, none},
                        {"munit", "计量单位", 60, true, none},    {"qty", "数量", 60, false, sum},
                        {"sprice", "出库价格|单价", 60, false, none}, {"dprice", "出库价格|复价", 70, false, sum},
                        {"rsprice", "价让价格|单价", 60, false, none}, {"rdprice", "价让价格|复价", 70, false, sum},
                        {"remark", "备注", 150, false, none}});
        break;
    }
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
        if (const int rpid = drawnbatch())
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

int Tfrmbasicexbill::drawnbatch()
{
    // A return line names the batch it gives back to and holds nothing.
    return CDSdetail.FieldByName(QStringLiteral("qty"))->AsFloat() >= 0
               ? CDSdetail.FieldByName(QStringLiteral("rpid"))->AsInteger()
               : 0;
}

std::function<bool()> Tfrmbasicexbill::savesteps()
{
    // The batches the lines draw from now are held for the bill; those no line draws from any
    // more (lines deleted by the button or in the grid) are free again; return lines give back
    // no more than is left of the issues they name. Checked and written with the bill's rows, so
    // a failed save leaves the holds as they were.
    QList<int> drawn;
    if (CDSdetail.Active()) {
        const TBookmark at = CDSdetail.GetBookmark();
        for (CDSdetail.First(); !CDSdetail.Eof(); CDSdetail.Next())
            if (const int rpid = drawnbatch())
                drawn << rpid;
        if (CDSdetail.BookmarkValid(at))
            CDSdetail.GotoBookmark(at);
    }
    const QList<int> held(Floadedbatches.begin(), Floadedbatches.end());
    return [id = BillID, drawn, held] { return rmtDM->holdbatches(id, drawn, held) && rmtDM->returnsfit(false, id); };
}

bool Tfrmbasicexbill::removebill(const QString& detailtable, const QString& mastertable, int id)
{
    // The batches the bill held are free again with the bill gone.
    return rmtDM->freebillbatches(detailtable, id) && Tfrmbasicbill::removebill(detailtable, mastertable, id);
}

bool Tfrmbasicexbill::recordbill()
{
    // Posted lines have drawn their quantities: what is left of each batch the bill held is
    // free, with the posting or not at all.
    return rmtDM->exbillrecord(&cdsmaster, &CDSdetail,
                               TrmtDM::freebatches(BillID, QList<int>(Floadedbatches.begin(), Floadedbatches.end())));
}

bool Tfrmbasicexbill::reversebill()
{
    return rmtDM->exbillreverse(&cdsmaster, &CDSdetail);
}

// ---------------------------------------------------------------- the return layout

Tfrmbasicrebill::Tfrmbasicrebill(QWidget* AOwner) : Tfrmbasicexbill(AOwner)
{
    buildgrid(Layout::ret);
}
