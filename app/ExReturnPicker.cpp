// The stock-out return picker.
#include "ExReturnPicker.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"

Tfrmexdetail_R::Tfrmexdetail_R(QWidget* AOwner) : TfrmBasicdetail(AOwner)
{
    SetCaption(QStringLiteral("选择退库或冲帐材料项"));
    MainTable = QStringLiteral("ebdetail");
    KeyField = QStringLiteral("fid");
    constSQL = QStringLiteral("select c.CODE,b.dptid,b.bdate,b.billnum, c.rpid,c.qty,C.CID,c.currency,c.rsprice,c.rdprice,c.sprice,c.dprice,c.remark,c.mid as fid,c.fid as ffid ,c.mname,c.mtype,c.munit,")
               + returnableqty(false) + QStringLiteral(" as rqty from vebmaster b,vebdetail c");
    Ordkeyfield = QStringLiteral("c.fid");
    fnkeyfield = QStringLiteral("ffid");
    DBGridGx1->SetReadOnly(true);
}

void Tfrmexdetail_R::FormShow(QObject* Sender)
{
    resize(Scaled(850), height());
    setgridheadtitle();
    TfrmBasicdetail::FormShow(Sender);
}

void Tfrmexdetail_R::setgridheadtitle()
{
    if (systype != TSystype::overseas)
        setlistcolumns(false, {{"bdate", "日期", 50},
                               {"billnum", "编号", 60},
                               {"mname", "材料名称", 60},
                               {"mtype", "规格型号", 60},
                               {"munit", "单位", 40, true},
                               {"rqty", "数量", 40},
                               {"sprice", "单价", 50},
                               {"dprice", "复价", 50},
                               {"remark", "备注", 60}});
    else
        setlistcolumns(true, {{"bdate", "日期", 80},
                              {"billnum", "编号", 100},
                              {"mname", "名称", 100},
                              {"mtype", "规格", 90},
                              {"munit", "单位", 60, true},
                              {"rqty", "数量", 60},
                              {"currency", "采购币种价格|币种", 60},
                              {"rsprice", "采购币种价格|单价", 60},
                              {"rdprice", "采购币种价格|复价", 70},
                              {"sprice", "折结算币种价|单价", 60},
                              {"dprice", "折结算币种价|复价", 70},
                              {"remark", "备注", 80}});
}

void Tfrmexdetail_R::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    TfrmBasicdetail::TreeView1Change(Sender, Node);
    if (!TreeView1->Selected())
        return;
    // Only lines of audited issues with something left to give back are offered.
    constcon = QStringLiteral("b.fid=c.eid and b.breverse=0 and b.dptid=") + QString::number(returndptid)
               + QStringLiteral(" and b.brecorded =1 and c.code =") + vartosqlvalue(Variant(code))
               + QStringLiteral(" and b.pid>=") + vartosqlvalue(Variant(curpid - 3)) + QStringLiteral(" and c.qty>0 and ")
               + returnableqty(false) + QStringLiteral(">0");
    loadrows(constcon);
}

void Tfrmexdetail_R::returnline()
{
    if (!appendline())
        return;
    TDataSet* detail = dsdetail->DataSet();
    auto row = [this](const char* name) { return cdsbaseinfo.FieldByName(QString::fromLatin1(name)); };
    auto line = [detail](const char* name) { return detail->FieldByName(QString::fromLatin1(name)); };
    // What is left of the issued line comes back, its amounts in proportion; the return line
    // names the line it gives back.
    const double qty = row("qty")->AsFloat();
    const double rest = row("rqty")->AsFloat();
    auto part = [&](const char* name) { return returnedamount(row(name)->AsFloat(), rest, qty, dpricedots); };
    line("rpid")->SetAsInteger(row("rpid")->AsInteger());
    line("edid")->SetAsInteger(row("ffid")->AsInteger());
    line("tempqty")->SetAsFloat(rest);
    line("qty")->SetAsFloat(-rest);
    line("CID")->SetAsInteger(row("CID")->AsInteger());
    line("currency")->SetAsString(row("currency")->AsString());
    line("rsprice")->SetAsFloat(row("rsprice")->AsFloat());
    line("rdprice")->SetAsFloat(-part("rdprice"));
    line("sprice")->SetAsFloat(row("sprice")->AsFloat());
    line("dprice")->SetAsFloat(-part("dprice"));
    line("remark")->SetAsString(QStringLiteral("退库或冲帐"));
}

void Tfrmexdetail_R::DBGridGx1DblClick()
{
    returnline();
}

void Tfrmexdetail_R::Button2Click()
{
    if (hasrows())
        returnline();
}

// The lines of the chosen category whose material name holds a text; nothing before a
// category is chosen.
void Tfrmexdetail_R::acQueryExecute()
{
    const QString text = InputBox(QStringLiteral("输入查找材料名称"), QStringLiteral("输入材料名称"), QString());
    if (text.isEmpty() || constcon.isEmpty())
        return;
    inputstr = text;
    acRefrshExecute();
    DBGridGx1->setFocus();
}

void Tfrmexdetail_R::acRefrshExecute()
{
    if (constcon.isEmpty())
        return;
    loadrows(inputstr.isEmpty() ? constcon : constcon + QStringLiteral(" and c.mname like '%") + likeprefix(inputstr));
}
