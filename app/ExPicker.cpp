// The stock-out price-batch picker.
#include "ExPicker.h"
#include "ExPickerBatch.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Format.h"
#include "platform/gui/FontScale.h"

#include <QGridLayout>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>
#include <cmath>

namespace {

// Stock quantities and values are kept with four decimals: sums are taken in those units so
// that no float drift makes equal totals differ.
qint64 units(double v)
{
    return std::llround(v * 10000.0);
}

} // namespace

Tfrmexdetail::Tfrmexdetail(QWidget* AOwner) : TfrmBasicdetail(AOwner)
{
    SetCaption(QStringLiteral("选择出库材料项"));
    MainTable = QStringLiteral("mrplist");
    KeyField = QStringLiteral("fid");
    fnkeyfield = QStringLiteral("fid");
    Ordkeyfield = QStringLiteral("a.fid");
    const bool overseas = systype == TSystype::overseas;
    constSQL = overseas
                   ? QStringLiteral("select b.prtname,c.mid,c.bdate,c.bnum,c.iid,c.eid,c.orgqty,c.qty,c.currency,c.rsprice,c.rdprice,c.sprice,c.dprice,c.cfid,c.remark,c.block from mtrlist a,breedlist b,mrplist c")
                   : QStringLiteral("select b.prtname,c.mid,c.bdate,c.bnum,c.iid,c.eid,c.orgqty,c.qty,c.sprice,c.dprice,c.cfid,c.remark,c.block from mtrlist a,breedlist b,mrplist c");
    constcon = QStringLiteral("c.mid=a.fid and a.bid=c.fid");

    // The material list takes the base grid's place beside the tree, at the width the base
    // gives it; the batch panel sits below the list.
    auto* split = qobject_cast<QSplitter*>(DBGridGx1->parentWidget());
    auto* right = new QWidget(this);
    if (split) {
        split->replaceWidget(split->indexOf(DBGridGx1), right);
        // A wider form widens the lists, not the tree; neither side can be pushed out of sight.
        split->setStretchFactor(0, 0);
        split->setStretchFactor(1, 1);
        split->setChildrenCollapsible(false);
    }
    auto* rightbox = new QVBoxLayout(right);
    rightbox->setContentsMargins(0, 0, 0, 0);
    rightbox->addWidget(DBGridGx1, 1);
    Panel6 = new QFrame(right);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    auto* panelbox = new QGridLayout(Panel6);
    panelbox->setContentsMargins(2, 2, 2, 2);
    auto edit = [this](const char* name, const char* field, int row, int col, const char* caption,
                       QGridLayout* grid) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), Panel6), row, col);
        auto* e = new TDBEdit(Panel6);
        e->setObjectName(QString::fromLatin1(name));
        e->SetDataSource(&DataSource1);
        e->SetDataField(QString::fromLatin1(field));
        e->SetReadOnly(true);
        grid->addWidget(e, row, col + 1);
        return e;
    };
    DBEdit1 = edit("DBEdit1", "mname", 0, 0, "材料名称 ", panelbox);
    DBEdit2 = edit("DBEdit2", "mtype", 0, 2, "规格型号", panelbox);
    DBEdit3 = edit("DBEdit3", "munit", 1, 0, "计量单位", panelbox);
    DBEdit4 = edit("DBEdit4", "remark", 1, 2, "备    注", panelbox);
    DBGridGx2 = new TDBGridGx(Panel6);
    DBGridGx2->setObjectName(QStringLiteral("DBGridGx2"));
    panelbox->addWidget(DBGridGx2, 2, 0, 1, 4);
    panelbox->setRowStretch(2, 1);
    rightbox->addWidget(Panel6, 2);
    Panel6->hide();

    Button3 = new TButton(QStringLiteral("上层"), bottom);
    Button3->setObjectName(QStringLiteral("Button3"));
    static_cast<QBoxLayout*>(bottom->layout())->insertWidget(1, Button3);
    Button3->setEnabled(false);
    Button2->SetCaption(QStringLiteral("选择"));
    Button2->SetModalResult(mrNone);

    DataSource1.SetDataSet(&ClientDataSet1);
    DBGridGx1->SetDataSource(&DataSource1);
    DBGridGx1->SetReadOnly(true);
    DBGridGx1->SetOptions(DBGridGx1->Options() + TDBGridOptions{dgRowSelect} - TDBGridOptions{dgIndicator});
    DBGridGx2->SetDataSource(&dsbaseinfo);
    DBGridGx2->SetReadOnly(true);
    DBGridGx2->SetOptions(DBGridGx2->Options() + TDBGridOptions{dgRowSelect, dgIndicator});
    DBGridGx2->SetFooterRowCount(1);
    DBGridGx2->SumList()->SetActive(true);
    ClientDataSet1.AfterScroll = [this](TDataSet*) { ClientDataSet1AfterScroll(); };
    DBGridGx2->OnDblClick = [this](QObject*) { DBGridGx2DblClick(); };
    DBGridGx1->OnKeyPress = [this](QObject*, QChar& key) {
        if (key == QChar(13))
            DBGridGx1DblClick();
    };
    Button3->OnClick = [this](QObject*) { Button3Click(); };
    // The batches the bill's lines already draw from are taken.
    if (TDataSet* detail = dsdetail ? dsdetail->DataSet() : nullptr; detail && detail->Active()) {
        if (detail->State() == dsEdit || detail->State() == dsInsert)
            detail->Post();
        for (detail->First(); !detail->Eof(); detail->Next())
            if (const int rpid = detail->FieldByName(QStringLiteral("rpid"))->AsInteger())
                Ftaken.insert(rpid);
    }
    if (overseas)
        ModifyForm = [](QWidget* owner) -> TForm* { return new Tfrmexdetail_mc(owner); };
    else
        ModifyForm = [](QWidget* owner) -> TForm* { return new Tfrmexdetail_m(owner); };
}

Tfrmexdetail::~Tfrmexdetail()
{
    ClientDataSet1.AfterScroll = nullptr;
    DBGridGx1->OnKeyPress = nullptr;
    DBGridGx2->OnDblClick = nullptr;
    // The grids go with the widgets, after the data sets they watch.
    DBGridGx2->SumList()->SetActive(false);
    DBGridGx2->SetDataSource(nullptr);
    DBGridGx1->SetDataSource(nullptr);
    for (TDBEdit* e : {DBEdit1, DBEdit2, DBEdit3, DBEdit4})
        e->SetDataSource(nullptr);
}

// ---------------------------------------------------------------- the material list

QString Tfrmexdetail::categorycondition() const
{
    const QString prefix = likeprefix(code);
    switch (pricemodal) {
    case 1:
        return QStringLiteral(" b.mid=a.fid and a.bid=d.fid  and b.mid=c.mid and c.qty<>0 and a.code like '") + prefix;
    case 2:
        return QStringLiteral(" a.fid=b.mid and a.bid=d.fid and b.mid=c.mid  and c.qty<>0 and a.code like '") + prefix;
    default:
        return QStringLiteral(" a.fid=b.mid and a.bid=d.fid and a.code like '") + prefix
               + QStringLiteral("  and (b.qty<>0 or b.cost<>0) ");
    }
}

QString Tfrmexdetail::searchcondition(const QString& text) const
{
    return constcon + QStringLiteral("  and a.mname like '%") + likeprefix(text);
}

void Tfrmexdetail::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    TfrmBasicdetail::TreeView1Change(Sender, Node);
    if (!TreeView1->Selected())
        return;
    Fcategory = true;
    Fsearch.clear();
    materialview();
    switch (pricemodal) {
    case 1:
        constSQL = QStringLiteral("select d.prtname,a.fid,a.bid,a.code,a.mname,a.mtype,a.munit,c.qty,c.cost,b.maprice,a.remark from mtrlist a,maplist b,msrglist c,breedlist d");
        break;
    case 2:
        constSQL = QStringLiteral("select d.prtname,a.fid,a.bid,a.code,a.mname,a.mtype,a.munit,c.qty,c.cost,b.pprice,a.remark from mtrlist a,mpplist b,msrglist c,breedlist d ");
        break;
    default:
        constSQL = QStringLiteral("select d.prtname,a.fid,a.bid,a.code,a.mname,a.mtype,a.munit,b.qty,b.cost,a.remark from mtrlist a,msrglist b,breedlist d");
        break;
    }
    constcon = categorycondition();
    materialgrid();
    loadmaterials(constcon);
}

void Tfrmexdetail::loadmaterials(const QString& condition)
{
    ClientDataSet1.SetData(rmtDM->getsqldata(constSQL, QStringLiteral("a.fid"), QStringLiteral("fid"), condition, 20));
    ClientDataSet1AfterScroll();
}

void Tfrmexdetail::materialgrid()
{
    DBGridGx1->Columns()->Clear();
    struct Col {
        const char* field;
        const char* title;
        int width;
        bool centred;
    };
    QList<Col> cols = {{"prtname", "分类", 80, false}, {"mname", "材料名称", 90, false},
                       {"mtype", "规格型号", 80, false}, {"munit", "单位", 50, true}};
    if (pricemodal == 1)
        cols += {{"qty", "数量", 80, false}, {"maprice", "均价", 80, false}, {"cost", "金额", 90, false}};
    else if (pricemodal == 2)
        cols += {{"qty", "数量", 80, false}, {"pprice", "计划价", 80, false}, {"cost", "金额", 90, false}};
    else
        cols += {{"qty", "数量", 80, true}, {"cost", "金额", 80, true}};
    cols += {{"remark", "备注", 120, false}};
    for (const Col& c : cols) {
        TColumnGx* column = DBGridGx1->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(c.field));
        column->SetWidth(Scaled(c.width));
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        column->Title()->SetAlignment(taCenter);
        if (c.centred)
            column->SetAlignment(taCenter);
    }
}

void Tfrmexdetail::ClientDataSet1AfterScroll()
{
    const bool rows = ClientDataSet1.Active() && !ClientDataSet1.IsEmpty();
    TField* cost = rows ? ClientDataSet1.FindField(QStringLiteral("cost")) : nullptr;
    TField* qty = rows ? ClientDataSet1.FindField(QStringLiteral("qty")) : nullptr;
    Fcost = cost ? cost->AsFloat() : 0;
    FQty = qty ? qty->AsFloat() : 0;
    // The batch panel follows the material list: another material made current shows its own
    // batches, never the previous material's under the new one's name.
    if (rows && batchview() && ClientDataSet1.FieldByName(QStringLiteral("fid"))->AsInteger() != mid)
        showbatches();
}

void Tfrmexdetail::materialview()
{
    Button3->setEnabled(false);
    Panel6->hide();
    sbquery->setEnabled(true);
    for (QAction* a : {sbinsert, sbedit, sbcancel, sbdelete, sbsave})
        a->setEnabled(false);
}

// ---------------------------------------------------------------- choosing

void Tfrmexdetail::DBGridGx1DblClick()
{
    if (!ClientDataSet1.Active() || ClientDataSet1.IsEmpty())
        return;
    ClientDataSet1AfterScroll();
    auto row = [this](const char* name) { return ClientDataSet1.FieldByName(QString::fromLatin1(name)); };
    if (pricemodal == 1) {
        materialview();
        TDataSet* detail = dsdetail ? dsdetail->DataSet() : nullptr;
        if (!detail)
            return;
        if (detail->State() == dsEdit || detail->State() == dsInsert)
            detail->Post();
        detail->Append();
        auto line = [detail](const char* name) { return detail->FieldByName(QString::fromLatin1(name)); };
        line("mid")->SetAsInteger(row("fid")->AsInteger());
        for (const char* f : {"mname", "mtype", "munit"})
            line(f)->SetAsString(row(f)->AsString());
        line("sprice")->SetAsFloat(row("maprice")->AsFloat());
        line("tempqty")->SetAsFloat(row("qty")->AsFloat());
        line("tempdprice")->SetAsFloat(row("cost")->AsFloat());
        line("qty")->SetAsFloat(row("qty")->AsFloat());
        return;
    }
    SetbtnState(3);
    Panel6->show();
    sbquery->setEnabled(false);
    Button3->setEnabled(true);
    showbatches();
    DBGridGx2->setFocus();
    qint64 qty = 0;
    qint64 value = 0;
    for (cdsbaseinfo.First(); !cdsbaseinfo.Eof(); cdsbaseinfo.Next()) {
        qty += units(cdsbaseinfo.FieldByName(QStringLiteral("qty"))->AsFloat());
        value += units(cdsbaseinfo.FieldByName(QStringLiteral("dprice"))->AsFloat());
    }
    cdsbaseinfo.First();
    if (qty != units(FQty))
        ShowMessage(QStringLiteral("注意：各分批数量合计(") + FloatToStr(double(qty) / 10000.0)
                    + QStringLiteral(")与库存数量(") + FloatToStr(FQty) + QStringLiteral(")不符，请改正！！！"));
    if (value != units(Fcost))
        ShowMessage(QStringLiteral("注意：各分批金额合价合计(") + FloatToStr(double(value) / 10000.0)
                    + QStringLiteral(")与库存金额(") + FloatToStr(Fcost) + QStringLiteral(")不符，请改正！！！"));
}

void Tfrmexdetail::showbatches()
{
    mid = ClientDataSet1.FieldByName(QStringLiteral("fid"))->AsInteger();
    batchgrid();
    loadbatches();
}

void Tfrmexdetail::loadbatches()
{
    // Paged on the batch key, so that any number of open batches of the material is listed.
    cdsbaseinfo.SetData(rmtDM->getsqldata(rmtDM->getmrplist(), QStringLiteral("dbo.mrplist.fid"), QStringLiteral("fid"),
                                          QStringLiteral("(mid=") + vartosqlvalue(Variant(mid))
                                              + QStringLiteral(") and (qty <> 0 or dprice<>0 or rdprice<>0)"),
                                          20));
}

void Tfrmexdetail::batchgrid()
{
    // The batches spread over the panel's width (the designed widths are too narrow for a date or
    // a bill number), fitted from the designed widths once all columns have them.
    DBGridGx2->SetAutoFitColWidths(false);
    DBGridGx2->Columns()->Clear();
    enum Foot { none, sum, total };
    struct Col {
        const char* field;
        const char* title;
        int width;
        Foot foot;
    };
    QList<Col> cols;
    if (systype == TSystype::overseas)
        cols = {{"bnum", "编号", 30, total},     {"bdate", "日期", 40, none},    {"qty", "数量", 40, sum},
                {"cryname", "币种", 40, none},   {"rsprice", "单价", 40, none},  {"rdprice", "复价", 40, sum},
                {"sprice", "结算单价", 40, none}, {"dprice", "结算金额", 40, sum}, {"cfname", "来源", 50, none},
                {"supname", "供应商", 50, none}, {"remark", "备注", 60, none}};
    else
        cols = {{"bnum", "编号", 50, total},    {"bdate", "日期", 50, none},   {"qty", "数量", 40, sum},
                {"sprice", "单价", 40, none},   {"dprice", "金额", 40, sum},   {"cfname", "来源", 50, none},
                {"supname", "供应商", 50, none}, {"remark", "备注", 60, none}};
    for (const Col& c : cols) {
        TColumnGx* column = DBGridGx2->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(c.field));
        column->SetWidth(Scaled(c.width));
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        column->Title()->SetAlignment(taCenter);
        if (c.foot == none)
            continue;
        TColumnFooterGx* footer = column->Footer();
        footer->Font()->SetColor(clRed);
        footer->SetAlignment(taCenter);
        if (c.foot == total) {
            footer->SetValueType(fvtStaticText);
            footer->SetValue(QStringLiteral("合计"));
        } else {
            footer->SetValueType(fvtSum);
        }
    }
    DBGridGx2->SetAutoFitColWidths(true);
}

void Tfrmexdetail::DBGridGx2DblClick()
{
    if (!hasrows())
        return;
    auto batch = [this](const char* name) { return cdsbaseinfo.FieldByName(QString::fromLatin1(name)); };
    if (batch("block")->AsBoolean() || Ftaken.contains(batch("fid")->AsInteger())) {
        ShowMessage(QStringLiteral("你已经选择出库过，请不要再选择行不！"));
        return;
    }
    TDataSet* detail = dsdetail ? dsdetail->DataSet() : nullptr;
    if (!detail)
        return;
    if (detail->State() == dsEdit || detail->State() == dsInsert)
        detail->Post();
    detail->Append();
    auto line = [detail](const char* name) { return detail->FieldByName(QString::fromLatin1(name)); };
    line("mid")->SetAsInteger(mid);
    line("mname")->SetAsString(DBEdit1->text());
    line("mtype")->SetAsString(DBEdit2->text());
    line("munit")->SetAsString(DBEdit3->text());
    line("tempqty")->SetAsFloat(batch("qty")->AsFloat());
    line("tempdprice")->SetAsFloat(batch("dprice")->AsFloat());
    line("temprdprice")->SetAsFloat(batch("rdprice")->AsFloat());
    line("qty")->SetAsFloat(batch("qty")->AsFloat());
    line("rsprice")->SetAsFloat(batch("rsprice")->AsFloat());
    line("rdprice")->SetAsFloat(batch("rdprice")->AsFloat());
    line("cid")->SetAsInteger(batch("cid")->AsInteger());
    if (systype == TSystype::overseas)
        line("currency")->SetAsString(batch("cryname")->AsString());
    line("cfid")->SetAsInteger(batch("cfid")->AsInteger());
    line("supid")->SetAsInteger(batch("supid")->AsInteger());
    line("sprice")->SetAsFloat(batch("sprice")->AsFloat());
    line("dprice")->SetAsFloat(batch("dprice")->AsFloat());
    line("rpid")->SetAsInteger(batch("fid")->AsInteger());
    // Taken for this bill; the bill holds the batch in the database once it is saved.
    Ftaken.insert(batch("fid")->AsInteger());
}

void Tfrmexdetail::Button2Click()
{
    if (batchview())
        DBGridGx2DblClick();
    else
        DBGridGx1DblClick();
}

void Tfrmexdetail::Button3Click()
{
    materialview();
    DBGridGx1->setFocus();
}

// ---------------------------------------------------------------- searching and refreshing

void Tfrmexdetail::acQueryExecute()
{
    const QString text = InputBox(QStringLiteral("输入查找材料名称"), QStringLiteral("输入材料名称"), QString());
    if (text.isEmpty())
        return;
    if (batchview()) {
        Panel6->hide();
        sbquery->setEnabled(true);
    }
    Button3->setEnabled(false);
    // Before any category the search runs over the batch-priced materials of all categories.
    if (!Fcategory) {
        pricemodal = 0;
        code.clear();
        constSQL = QStringLiteral("select d.prtname,a.fid,a.bid,a.code,a.mname,a.mtype,a.munit,b.qty,b.cost,a.remark from mtrlist a,msrglist b,breedlist d");
        constcon = categorycondition();
        materialgrid();
    }
    Fsearch = text;
    loadmaterials(searchcondition(text));
    DBGridGx1->setFocus();
}

void Tfrmexdetail::acRefrshExecute()
{
    if (batchview()) {
        loadbatches();
        return;
    }
    if (!Fcategory && Fsearch.isEmpty())
        return;
    // The current category, narrowed by the last search.
    loadmaterials(Fsearch.isEmpty() ? constcon : searchcondition(Fsearch));
}

// ---------------------------------------------------------------- batch rows

void Tfrmexdetail::cdsbaseinfoAfterInsert()
{
    cdsbaseinfo.FieldByName(QStringLiteral("Mid"))->SetAsInteger(mid);
}

void Tfrmexdetail::cdsbaseinfoAfterPost()
{
    // A batch kept with nothing in it leaves the list.
    if (cdsbaseinfo.FieldByName(QStringLiteral("qty"))->AsFloat() == 0)
        cdsbaseinfo.Delete();
}

void Tfrmexdetail::acSaveExecute()
{
    if (!batchview() || !hasrows())
        return;
    // The batches' holds are the stock-out bills' business: what the list shows of them may be
    // out of date, and a save of the batches leaves them as they are.
    TfrmBasicdetail::acSaveExecute();
    materialview();
    DBGridGx1->setFocus();
}
