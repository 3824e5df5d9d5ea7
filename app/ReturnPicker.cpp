// The stock-in return picker.
#include "ReturnPicker.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/FontScale.h"

namespace {

bool pricedlayout()
{
    return systype == TSystype::overseas || imbilltype == 1;
}

} // namespace

Tfrmimdetail_R::Tfrmimdetail_R(QWidget* AOwner) : TfrmBasicdetail(AOwner)
{
    SetCaption(QStringLiteral("选择退货材料项"));
    const QString remaining = returnableqty(true);
    if (pricedlayout())
        constSQL = QStringLiteral("select d.code,b.bdate,b.billnum,b.cfid,c.fid as idid,a.fid,a.mname,a.mtype,a.munit,c.qty,c.rprice,c.expense,c.amount,c.sprice,c.dprice,c.remark,")
                   + remaining + QStringLiteral(" as rqty from ibmaster b,ibdetail c,mtrlist a,breedlist d");
    else
        constSQL = QStringLiteral("select d.code,b.bdate,b.billnum,b.cfid,c.fid as idid,a.fid,a.mname,a.mtype,a.munit,c.qty,c.sprice,c.dprice,c.remark,")
                   + remaining + QStringLiteral(" as rqty from ibmaster b,ibdetail c,mtrlist a,breedlist d");
    // Only receipt lines with something left to give back are offered.
    constcon = QStringLiteral("b.fid=c.iid and c.mid=a.fid and a.bid=d.fid and b.breverse=0 and b.supid=")
               + vartosqlvalue(Variant(returnsupid)) + QStringLiteral(" and b.brecorded =1")
               + QStringLiteral(" and b.pid>=") + vartosqlvalue(Variant(curpid - 3))
               + QStringLiteral(" and c.qty>0 and ") + remaining + QStringLiteral(">0");
    Ordkeyfield = QStringLiteral("c.fid");
    fnkeyfield = QStringLiteral("idid");
    Button2->SetCaption(QStringLiteral("选择"));
    Button2->SetModalResult(mrNo);
    DBGridGx1->SetReadOnly(true);
}

void Tfrmimdetail_R::FormShow(QObject* Sender)
{
    resize(Scaled(850), height());
    setgridheadtitle();
    TfrmBasicdetail::FormShow(Sender);
}

void Tfrmimdetail_R::setgridheadtitle()
{
    if (!pricedlayout()) {
        setlistcolumns(false, {{"bdate", "日期", 50},
                               {"billnum", "票据编号", 60},
                               {"mname", "材料名称", 60},
                               {"mtype", "规格型号", 60},
                               {"munit", "单位", 40, true},
                               {"rqty", "数量", 40},
                               {"sprice", "单价", 50},
                               {"dprice", "复价", 50},
                               {"remark", "备注", 60}});
        return;
    }
    const bool overseas = systype == TSystype::overseas;
    setlistcolumns(true, {{"bdate", "日期", 80},
                          {"billnum", "编号", 100},
                          {"mname", "名称", 100},
                          {"mtype", "规格", 90},
                          {"munit", "单位", 60, true},
                          {"rqty", "数量", 60},
                          {"rprice", overseas ? "采购币种价格|原价" : "实际采购价格|原价", 60},
                          {"expense", overseas ? "采购币种价格|杂费" : "实际采购价格|杂费", 60},
                          {"amount", overseas ? "采购币种价格|合计" : "实际采购价格|总价", 70},
                          {"sprice", overseas ? "折结算币种价|单价" : "计划价格|单价", 60},
                          {"dprice", overseas ? "折结算币种价|复价" : "计划价格|复价", 70},
                          {"remark", "备注", 80}});
}

void Tfrmimdetail_R::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    TfrmBasicdetail::TreeView1Change(Sender, Node);
    if (!TreeView1->Selected())
        return;
    loadrows(constcon + QStringLiteral(" and d.code like '") + likeprefix(code));
}

void Tfrmimdetail_R::returnline()
{
    if (!appendline())
        return;
    TDataSet* detail = dsdetail->DataSet();
    auto row = [this](const char* name) { return cdsbaseinfo.FieldByName(QString::fromLatin1(name)); };
    auto line = [detail](const char* name) { return detail->FieldByName(QString::fromLatin1(name)); };
    // What is left of the line goes back; a line partly returned before gives back its rest,
    // its amounts in proportion.
    const double qty = row("qty")->AsFloat();
    const double rest = row("rqty")->AsFloat();
    auto part = [&](const char* name) { return returnedamount(row(name)->AsFloat(), rest, qty, dpricedots); };
    line("idid")->SetAsInteger(row("idid")->AsInteger());
    line("qty")->SetAsFloat(-rest);
    if (pricedlayout()) {
        line("rprice")->SetAsFloat(part("rprice"));
        line("expense")->SetAsFloat(part("expense"));
        line("amount")->SetAsFloat(part("amount"));
    }
    line("sprice")->SetAsFloat(row("sprice")->AsFloat());
    line("dprice")->SetAsFloat(-part("dprice"));
    line("remark")->SetAsString(QStringLiteral("冲帐或退货"));
}

void Tfrmimdetail_R::DBGridGx1DblClick()
{
    returnline();
}

void Tfrmimdetail_R::Button2Click()
{
    if (hasrows())
        returnline();
}
