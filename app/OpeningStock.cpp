// The opening-stock import.
#include "OpeningStock.h"

#include "BaseList.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "data/frmconst.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/office/Excel.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/MessageSink.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QString kBillnum = QStringLiteral("初始倒入");

} // namespace

Tfrmexceltosrglist::Tfrmexceltosrglist(QWidget* AOwner) : TfrmBase_C(AOwner)
{
    SetCaption(QStringLiteral("倒入初始材料库存数据"));
    resize(Scaled(QSize(680, 490)));
    QVBoxLayout* outer = nullptr;
    ToolBar1 = newworktoolbar(this, outer);
    acinsert = addtoolaction(ToolBar1, "acinsert", "倒入");
    ToolButton4 = addtoolaction(ToolBar1, "ToolButton4", "清除");
    acSave = addtoolaction(ToolBar1, "acSave", "保存");
    ToolBar1->addSeparator();
    acexit = addtoolaction(ToolBar1, "acexit", "退出");

    auto* split = new QSplitter(Qt::Horizontal, this);
    TreeView1 = new TTreeView(split);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->SetReadOnly(true);
    TreeView1->setExpandsOnDoubleClick(false);
    TbreedNodes::setimages(TreeView1);
    auto* right = new QWidget(split);
    auto* rightbox = new QVBoxLayout(right);
    rightbox->setContentsMargins(4, 4, 4, 4);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("倒入材料所属的分类"), right));
    Edit1 = new QLineEdit(right);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    head->addWidget(Edit1, 1);
    rightbox->addLayout(head);
    DBGridGx1 = new TDBGridGx(right);
    DBGridGx1->setObjectName(QStringLiteral("DBGridGx1"));
    rightbox->addWidget(DBGridGx1, 1);
    split->addWidget(TreeView1);
    split->addWidget(right);
    split->setSizes({Scaled(160), Scaled(520)});
    outer->addWidget(split, 1);

    dsdetail.SetDataSet(&cdsdetail);
    buildgrid();
    m_breednodes = std::make_unique<TbreedNodes>(TreeView1, QStringLiteral("breedlist"));
    TreeView1->OnChange = [this](QObject* s, TTreeNode* n) { TreeView1Change(s, n); };
    TreeView1->OnDblClick = [this](QObject* s) { TreeView1DblClick(s); };
    connect(acinsert, &QAction::triggered, this, Application->Guarded([this] { acinsertExecute(acinsert); }));
    connect(ToolButton4, &QAction::triggered, this, Application->Guarded([this] { ToolButton4Click(ToolButton4); }));
    connect(acSave, &QAction::triggered, this, Application->Guarded([this] { acSaveExecute(acSave); }));
    connect(acexit, &QAction::triggered, this, [this] { Close(); });
}

Tfrmexceltosrglist::~Tfrmexceltosrglist()
{
    TreeView1->Items()->Clear();
}

void Tfrmexceltosrglist::buildgrid()
{
    DBGridGx1->SetFooterRowCount(1);
    DBGridGx1->SumList()->SetActive(true);
    struct Col {
        const char* field;
        const char* title;
        int width;
        TFooterValueType footer;
    };
    for (const Col& c : {Col{"Mname", "材料名称", 120, fvtStaticText}, Col{"mtype", "规格型号", 80, fvtNon},
                         Col{"Munit", "单位", 40, fvtNon}, Col{"Qty", "数量", 60, fvtSum},
                         Col{"dprice", "金额", 70, fvtSum}, Col{"remark", "(对材料项)备注", 100, fvtNon}}) {
        TColumnGx* column = DBGridGx1->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(c.field));
        column->SetWidth(Scaled(c.width));
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        TColumnFooterGx* footer = column->Footer();
        footer->SetValueType(c.footer);
        if (c.footer == fvtStaticText) {
            footer->SetValue(QStringLiteral("合计"));
            footer->SetAlignment(taCenter);
        }
    }
    DBGridGx1->SetDataSource(&dsdetail);
}

void Tfrmexceltosrglist::createstaging()
{
    if (cdsdetail.Active())
        return;
    TFieldDefs& defs = cdsdetail.FieldDefs();
    defs.Clear();
    defs.Add(QStringLiteral("fid"), ftInteger);
    // Names as long as materials take them.
    defs.Add(QStringLiteral("Mname"), ftString, 50);
    defs.Add(QStringLiteral("mtype"), ftString, 20);
    defs.Add(QStringLiteral("Munit"), ftString, 20);
    for (const char* name : {"Qty", "Sprice", "dprice"}) {
        TFieldDef& d = defs.Add(QString::fromLatin1(name), ftBCD, 4);
        d.SetPrecision(18);
    }
    defs.Add(QStringLiteral("remark"), ftString, 20);
    cdsdetail.CreateDataSet();
}

void Tfrmexceltosrglist::FormShow(QObject* Sender)
{
    TfrmBase_C::FormShow(Sender);
    m_breednodes->showrschildren(m_breednodes->showboot());
    createstaging();
}

void Tfrmexceltosrglist::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    m_breednodes->onTreeViewChange(Sender, Node);
    const TbreedNode* r = TbreedNodes::breedof(Node);
    if (!r)
        return;
    fcode = r->code;
    Fpname = r->prtname;
    Edit1->setText(Fpname);
    FBreedtype = r->breedtype;
    Fpricemodal = r->pricemodal;
    FBparent = r->bparent;
    FBid = r->fid;
}

void Tfrmexceltosrglist::TreeView1DblClick(QObject* Sender) { m_breednodes->onTreeViewDbClick(Sender); }

void Tfrmexceltosrglist::emptystaging()
{
    if (!cdsdetail.Active())
        return;
    cdsdetail.EmptyDataSet();
    // Emptying fires no dataset event the footer sums follow.
    DBGridGx1->SumList()->RecalcAll();
}

void Tfrmexceltosrglist::ToolButton4Click(QObject*) { emptystaging(); }

void Tfrmexceltosrglist::readsheet(TExcelWorksheet* sheet)
{
    for (int r = 1;; ++r) {
        QString text[6];
        for (int c = 0; c < 6; ++c)
            text[c] = sheet->Cells(r, c + 1).Text();
        const QString& name = text[0];
        const QString& unit = text[2];
        const QString& qty = text[3];
        const QString& amount = text[4];
        if (name.isEmpty() || unit.isEmpty() || qty.isEmpty()) {
            ShowMessage(QStringLiteral("倒入完成"));
            return;
        }
        if (!isnumstr(qty)) {
            ShowMessage(QStringLiteral("**数量**倒入非数据值，倒入无效！"));
            return;
        }
        if (!isnumstr(amount)) {
            ShowMessage(QStringLiteral("**金额**值倒入非数据值，倒入无效！"));
            return;
        }
        cdsdetail.Append();
        cdsdetail.FieldByName(QStringLiteral("Mname"))->SetAsString(name);
        cdsdetail.FieldByName(QStringLiteral("mtype"))->SetAsString(text[1]);
        cdsdetail.FieldByName(QStringLiteral("Munit"))->SetAsString(unit);
        cdsdetail.FieldByName(QStringLiteral("Qty"))->SetAsString(qty);
        cdsdetail.FieldByName(QStringLiteral("dprice"))->SetAsString(amount);
        cdsdetail.FieldByName(QStringLiteral("remark"))->SetAsString(text[5]);
        cdsdetail.Post();
    }
}

void Tfrmexceltosrglist::acinsertExecute(QObject*)
{
    createstaging();
    emptystaging();
    ExcelApp excel;
    try {
        excel = CreateExcelApplication();
        excel->SetVisible(false);
        excel->WorkbooksAdd();
        TExcelWorksheet* sheet = excel->Workbooks(1)->Worksheets(1);
        sheet->Paste();
        if (cdsdetail.State() == dsInsert || cdsdetail.State() == dsEdit)
            cdsdetail.Post();
        readsheet(sheet);
    } catch (const EAbort&) {
        throw;
    } catch (...) {
        if (cdsdetail.State() == dsInsert || cdsdetail.State() == dsEdit)
            cdsdetail.Cancel();
        ShowMessage(QStringLiteral("倒入出错，请检查是否符合程序要求的数据格式"));
    }
    if (excel) {
        if (excel->WorkbookCount() > 0)
            excel->ActiveWorkbook()->SetSaved(true);
        excel->Quit();
    }
}

bool Tfrmexceltosrglist::writerows()
{
    if (cdsdetail.IsEmpty()) {
        ShowMessage(QStringLiteral("空表，没有数据保存"));
        return false;
    }
    const int pid = rmtDM->GetID(QStringLiteral("pid"));
    const TDateTime today = datetoday();
    for (cdsdetail.First(); !cdsdetail.Eof(); cdsdetail.Next()) {
        auto text = [this](const char* name) { return cdsdetail.FieldByName(QString::fromLatin1(name))->AsString(); };
        const int mid = rmtDM->GetnewID(QStringLiteral("mid"));
        if (!rmtDM->addnewmtrlist(mid, FBid, fcode, text("Mname"), text("mtype"), text("Munit"), text("remark")))
            return false;
        // An empty amount or a zero quantity has no unit price: the import stops with an error.
        const double qty = StrToFloat(text("Qty"));
        const double amount = StrToFloat(text("dprice"));
        if (qty == 0)
            throw EZeroDivide(QStringLiteral("Floating point division by zero"));
        const double price = roundtodigits(qint8(spricedots), amount / qty);
        if (!rmtDM->imaddimexsrglist(pid, 0, mid, kBillnum, today, QString(), QString(), qty, price, amount, text("remark")))
            return false;
        if (!rmtDM->addnewstorage(mid, qty, amount))
            return false;
        auto batch = [&] {
            return rmtDM->addpricelist(0, mid, kBillnum, today, 0, 0, qty, 0, 0, price, amount, 0, 0, 0,
                                       QStringLiteral("初始帐本"));
        };
        switch (Fpricemodal) {
        case pmBatches:
            if (!batch())
                return false;
            break;
        case pmMovingAverage:
            if (!rmtDM->addnewavgprice(mid, price))
                return false;
            break;
        case pmPlanned:
            if (!batch() || !rmtDM->addnewplanprice(mid, price))
                return false;
            break;
        default:
            break;
        }
        if (FBreedtype == 1 && !rmtDM->addnewcycledatabase(mid, qty, amount))
            return false;
    }
    return true;
}

void Tfrmexceltosrglist::acSaveExecute(QObject*)
{
    // Materials go to a leaf category; without one they would belong to no category.
    if (FBparent || FBid == 0) {
        ShowMessage(QStringLiteral("倒入所属分类必须为子分类，请重新选择!"));
        return;
    }
    if (MessageDlg(QStringLiteral("注意：倒入材料属于 \"") + Fpname
                       + QStringLiteral("\" 分类,是否正确？不正确请重新选择分类！！！"),
                   mtWarning, mbYesNo)
        != mrYes)
        return;
    if (MessageDlg(QStringLiteral("数据倒入只能在本系统首次使用，将其它帐本库存数据移植到本系统时才能使用，系统在完成初始设置后是不允许再次进行数据倒入操作的，是这样吗??"),
                   mtWarning, mbYesNo)
        != mrYes)
        return;
    if (cdsdetail.State() == dsInsert || cdsdetail.State() == dsEdit)
        cdsdetail.Post();
    rmtDM->BeginTrans();
    try {
        if (writerows()) {
            rmtDM->CommitTrans();
            // The rows are in the books now: a second save would import them twice.
            emptystaging();
            ShowMessage(QStringLiteral("倒入成功！！！"));
        } else {
            rmtDM->RollbackTrans();
            ShowMessage(QStringLiteral("倒入失败！！！"));
        }
    } catch (...) {
        if (rmtDM->IntransAction())
            rmtDM->RollbackTrans();
        ShowMessage(QStringLiteral("倒入出错！！！"));
    }
}
