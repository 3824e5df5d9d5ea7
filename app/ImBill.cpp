// The stock-in bill.
#include "ImBill.h"

#include "DropDownPicker.h"
#include "ImPicker.h"
#include "ReturnPicker.h"
#include "SysSetForm.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"

#include <QVBoxLayout>

namespace {

bool hasqty(TField* qty)
{
    return !qty->IsNull() && qty->AsFloat() != 0;
}

} // namespace

Tfrmbasicimbill::Tfrmbasicimbill(QWidget* AOwner) : Tfrmbasicbill(AOwner)
{
    SetCaption(QStringLiteral("材料入库单"));
    fmastertable = QStringLiteral("ibmaster");
    fdetailtable = QStringLiteral("ibdetail");
    vmastertable = QStringLiteral("vibmaster");
    vdetailtable = QStringLiteral("vibdetail");
    Fmkey = Fdkey = Fmfkey = QStringLiteral("fid");
    fdfkey = QStringLiteral("iid");
    billtype = false;
    modifyform = [](QWidget* owner) -> TForm* { return new Tfrmimdetail(owner); };
    printfile = imbillprintfile;
    DBCheckBox1->setText(QStringLiteral("冲帐或退货"));

    DBEdit3 = headedit("DBEdit3", "supname");
    DBEdit3->SetReadOnly(true);
    SpeedButton3 = headbutton("SpeedButton3");
    DBEdit1 = headedit("DBEdit1", "cfname");
    DBEdit1->SetReadOnly(true);
    SpeedButton2 = headbutton("SpeedButton2");
    DBEdit2 = headedit("DBEdit2", "billnum");
    DBEdit2->setMaxLength(20);
    SpeedButton1->setParent(headpanel);
    DBDateTimeEditGx1 = headdate("DBDateTimeEditGx1", "bdate");
    dsemply.SetDataSet(&cdsemply);
    dscurrency.SetDataSet(&cdscurrency);
    DBLookupComboBox2 = headlookup(headpanel, "DBLookupComboBox2", 10, &dsemply, "emyname", "ckid");
    DBEdit5 = headedit("DBEdit5", "remark");
    GroupBox1 = new QGroupBox(QStringLiteral("选择采购币种"), headpanel);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* gbox = new QVBoxLayout(GroupBox1);
    gbox->setContentsMargins(4, 2, 4, 2);
    DBLookupComboBox1 = headlookup(GroupBox1, "DBLookupComboBox1", 10, &dscurrency, "cryname", "cid");
    gbox->addWidget(DBLookupComboBox1);

    placeheadrow(0, {{"供应厂商", DBEdit3, SpeedButton3}, {"材料来源", DBEdit1, SpeedButton2},
                     {"票据编号", DBEdit2, SpeedButton1}});
    placeheadrow(1, {{"入库日期", DBDateTimeEditGx1}, {"交验员", DBLookupComboBox2}, {"备         注", DBEdit5}});
    headgrid->addWidget(GroupBox1, 0, 9, 2, 1);
    DBbilltype = DBEdit2;

    connect(SpeedButton2, &QToolButton::clicked, this, Application->Guarded([this] { SpeedButton2Click(); }));
    connect(SpeedButton3, &QToolButton::clicked, this, Application->Guarded([this] { SpeedButton3Click(); }));
    buildgrid();
}

void Tfrmbasicimbill::buildgrid()
{
    initbillgrid();
    DBGridGx1->SetFooterColor(clSilver);
    TFont footerfont = *DBGridGx1->FooterFont();
    footerfont.SetName(QStringLiteral("楷体"));
    footerfont.SetStyle(fsBold);
    DBGridGx1->SetFooterFont(footerfont);
    const bool overseas = systype == TSystype::overseas;
    // A stored layout other than 1 is the finished-goods one, as the settings form shows it.
    const bool layoutA = !overseas && Tfrmsystemset::imbilllayout(imbilltype) == 0;
    constexpr TFoot none = TFoot::none, sum = TFoot::sum, total = TFoot::total;
    if (layoutA) {
        addbillcolumns(0, 5,
                       {{"mname", "材料名称", 130, true, total}, {"mtype", "规格型号", 100, true, none},
                        {"munit", "单位", 80, true, none},       {"qty", "数量", 80, false, sum},
                        {"sprice", "单价", 80, false, none},     {"dprice", "复价", 100, false, sum},
                        {"remark", "备注", 200, false, none}});
    } else {
        const char* g1 = overseas ? "采购币种价格" : "实际价格";
        const char* g2 = overseas ? "折结算币种价格" : "计划价格";
        const QByteArray t[5] = {QByteArray(g1) + "|实价", QByteArray(g1) + "|运什费", QByteArray(g1) + "|合计",
                                 QByteArray(g2) + "|单价", QByteArray(g2) + "|复价"};
        addbillcolumns(2, 4,
                       {{"mname", "材料名称", 110, true, total}, {"mtype", "规格型号", 80, true, none},
                        {"munit", "单位", 60, true, none},       {"qty", "数量", 60, false, sum},
                        {"rprice", t[0].constData(), 60, false, none}, {"expense", t[1].constData(), 60, false, sum},
                        {"amount", t[2].constData(), 70, false, sum},  {"sprice", t[3].constData(), 60, false, none},
                        {"dprice", t[4].constData(), 70, false, sum},  {"remark", "备注", 150, false, none}},
                       overseas);
    }
    GroupBox1->setVisible(overseas);
}

void Tfrmbasicimbill::FormShow(QObject* Sender)
{
    Tfrmbasicbill::FormShow(Sender);
    cdsemply.SetData(rmtDM->gettabledata(QStringLiteral("emylist"), QStringLiteral("fid"), QStringLiteral("visibled=1"), 20));
    if (systype == TSystype::overseas) {
        cdscurrency.SetData(rmtDM->gettabledata(QStringLiteral("currencyset"), QStringLiteral("fid"),
                                                QStringLiteral("visibled=1"), 20));
        defaultbalance = rmtDM->getdefaultbalance();
    }
}

void Tfrmbasicimbill::dataloaded()
{
    if (CDSdetail.Active()) {
        for (const char* f : {"qty", "rprice", "expense"})
            if (TField* field = CDSdetail.FindField(QString::fromLatin1(f)))
                field->OnChange = [this](TField*) { CDSdetailrpriceChange(); };
        if (TField* field = CDSdetail.FindField(QStringLiteral("sprice")))
            field->OnChange = [this](TField*) { CDSdetailspriceChange(); };
    }
    // Only the purchase currency re-prices the lines, and only where there is one.
    if (cdsmaster.Active() && systype == TSystype::overseas)
        if (TField* field = cdsmaster.FindField(QStringLiteral("cid")))
            field->OnChange = [this](TField*) { cdscurrencyfidChange(); };
}

void Tfrmbasicimbill::cdsmasterAfterInsert()
{
    BillID = rmtDM->GetnewID(QStringLiteral("iid"));
    cdsmaster.FieldByName(QStringLiteral("fid"))->SetAsInteger(BillID);
    cdsmaster.FieldByName(QStringLiteral("bdate"))->SetAsDateTime(datetoday());
    cdsmaster.FieldByName(QStringLiteral("lister"))->SetAsString(username);
    cdsmaster.FieldByName(QStringLiteral("brecorded"))->SetAsBoolean(false);
    cdsmaster.FieldByName(QStringLiteral("pid"))->SetAsInteger(rmtDM->GetID(QStringLiteral("pid")));
    cdsmaster.FieldByName(QStringLiteral("breverse"))->SetAsBoolean(false);
    cdsmaster.FieldByName(QStringLiteral("billnum"))->SetAsString(QString());
}

void Tfrmbasicimbill::SpeedButton2Click()
{
    picktree(QStringLiteral("cflist"), DBEdit1, SpeedButton2, QStringLiteral("cfid"), QStringLiteral("cfname"),
             QStringLiteral("cfcode"));
}

void Tfrmbasicimbill::SpeedButton3Click()
{
    picktree(QStringLiteral("suplist"), DBEdit3, SpeedButton3, QStringLiteral("supid"), QStringLiteral("supname"),
             QStringLiteral("supcode"));
}

void Tfrmbasicimbill::CDSdetailrpriceChange()
{
    TField* qty = CDSdetail.FieldByName(QStringLiteral("qty"));
    const int mid = CDSdetail.FieldByName(QStringLiteral("mid"))->AsInteger();
    auto fld = [this](const char* name) { return CDSdetail.FieldByName(QString::fromLatin1(name)); };
    const int pm = rmtDM->getpricemodal(mid);
    const double rate = rmtDM->GetAdmiRate(mid) / 100.0 + 1;
    if (systype == TSystype::overseas) {
        const double f = fld("rprice")->AsFloat() + fld("expense")->AsFloat();
        fld("amount")->SetAsFloat(roundtodigits(qint8(dpricedots), f));
        if (hasqty(qty))
            fld("rsprice")->SetAsFloat(roundtodigits(qint8(spricedots), f / qty->AsFloat()));
        fld("rdprice")->SetAsFloat(f);
        double value = fld("amount")->AsFloat() * rate;
        if (curbalance != 0)
            value = value / curbalance * defaultbalance;
        if (pm == 2)
            fld("sprice")->SetAsFloat(rmtDM->getpprice(mid));
        else if (hasqty(qty))
            fld("sprice")->SetAsFloat(roundtodigits(qint8(spricedots), value / qty->AsFloat()));
    } else if (Tfrmsystemset::imbilllayout(imbilltype) == 0) {
        if (pm == 2)
            fld("sprice")->SetAsFloat(roundtodigits(qint8(spricedots), rmtDM->getpprice(mid)));
    } else {
        fld("amount")->SetAsFloat(roundtodigits(qint8(dpricedots), fld("rprice")->AsFloat() + fld("expense")->AsFloat()));
        if (!hasqty(qty))
            return;
        if (pm == 2)
            fld("sprice")->SetAsFloat(rmtDM->getpprice(mid));
        else
            fld("sprice")->SetAsFloat(
                roundtodigits(qint8(spricedots), fld("amount")->AsFloat() * rate / qty->AsFloat()));
    }
}

void Tfrmbasicimbill::CDSdetailspriceChange()
{
    CDSdetail.FieldByName(QStringLiteral("dprice"))
        ->SetAsFloat(roundtodigits(qint8(dpricedots), CDSdetail.FieldByName(QStringLiteral("qty"))->AsFloat()
                                                          * CDSdetail.FieldByName(QStringLiteral("sprice"))->AsFloat()));
}

void Tfrmbasicimbill::cdscurrencyfidChange()
{
    if (systype != TSystype::overseas)
        return;
    const int cid = cdsmaster.FieldByName(QStringLiteral("cid"))->AsInteger();
    curbalance = rmtDM->gettablevalue(QStringLiteral("currencyset"), QStringLiteral("fid"), cid, QStringLiteral("tobalance"));
    if (!CDSdetail.Active() || CDSdetail.ReadOnly())
        return;
    if (CDSdetail.State() == dsEdit || CDSdetail.State() == dsInsert)
        CDSdetail.Post();
    for (CDSdetail.First(); !CDSdetail.Eof(); CDSdetail.Next()) {
        CDSdetail.Edit();
        CDSdetailrpriceChange();
        CDSdetail.Post();
    }
}

void Tfrmbasicimbill::acSaveExecute()
{
    if (cdsmaster.FieldByName(QStringLiteral("cfid"))->AsInteger() == 0 || DBEdit2->text().isEmpty()) {
        MessageDlg(QStringLiteral("来源及编号不能为空、选择吧！"), mtConfirmation, {mbYes});
        return;
    }
    Tfrmbasicbill::acSaveExecute();
}

void Tfrmbasicimbill::btlistaddClick()
{
    if (systype == TSystype::overseas && cdsmaster.FieldByName(QStringLiteral("cid"))->AsInteger() == 0) {
        MessageDlg(QStringLiteral("别猴急，先选择采购币种!"), mtConfirmation, {mbYes});
        return;
    }
    if (cdsmaster.FieldByName(QStringLiteral("breverse"))->AsBoolean()) {
        returnsupid = cdsmaster.FieldByName(QStringLiteral("supid"))->AsInteger();
        modifyform = [](QWidget* owner) -> TForm* { return new Tfrmimdetail_R(owner); };
    } else {
        modifyform = [](QWidget* owner) -> TForm* { return new Tfrmimdetail(owner); };
    }
    Tfrmbasicbill::btlistaddClick();
}

std::function<bool()> Tfrmbasicimbill::savesteps()
{
    // Return lines give back no more than is left of the receipts they name.
    return [id = BillID] { return rmtDM->returnsfit(true, id); };
}

bool Tfrmbasicimbill::recordbill()
{
    return rmtDM->imbillrecord(&cdsmaster, &CDSdetail);
}

bool Tfrmbasicimbill::reversebill()
{
    return rmtDM->imbillreverse(&cdsmaster, &CDSdetail);
}
