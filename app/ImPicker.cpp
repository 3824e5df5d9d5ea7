// The stock-in material picker and its item dialog.
#include "ImPicker.h"

#include "data/DM.h"
#include "data/DataProcess.h"
#include "platform/db/Field.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/FontScale.h"
#include "platform/office/Excel.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MessageSink.h"

#include <QFormLayout>
#include <QLabel>

Tfrmimdetail::Tfrmimdetail(QWidget* AOwner) : TfrmBasicdetail(AOwner)
{
    SetCaption(QStringLiteral("选择材料入库列表"));
    MainTable = QStringLiteral("mtrlist");
    KeyField = QStringLiteral("fid");
    ModifyForm = [](QWidget* owner) -> TForm* { return new Tfrmimdetail_m(owner); };
    constSQL = QStringLiteral("select d.code,d.prtname,a.fid,a.bid,a.mname,a.mtype,a.munit,a.remark from  mtrlist a,breedlist d");
    constcon = QStringLiteral("a.bid=d.fid ");
    fnkeyfield = QStringLiteral("fid");
    Ordkeyfield = QStringLiteral("a.fid");

    Button1->SetCaption(QStringLiteral("取消添加"));
    Button2->SetCaption(QStringLiteral("多项添加"));
    Button2->SetModalResult(mrNone);
    ToolButton2->setVisible(true);
    sbrefrsh->setEnabled(false);

    DBGridGx1->SetOptions(TDBGridOptions{dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                                         dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit,
                                         dgMultiSelect});
    DBGridGx1->SetReadOnly(true);
    struct Col {
        const char* field;
        const char* title;
        int width;
        bool centred;
    };
    for (const Col& c : {Col{"prtname", "分类", 64, true}, Col{"mname", "材料名称", 113, false},
                         Col{"mtype", "规格型号", 91, false}, Col{"Munit", "计量单位", 74, true},
                         Col{"remark", "备注", 148, false}}) {
        TColumnGx* column = DBGridGx1->Columns()->Add();
        column->SetFieldName(QString::fromLatin1(c.field));
        // The form's widths are its own, even one that matches the default before a field is attached.
        column->AssignedValuesRef().Include(cvWidth);
        column->SetWidth(Scaled(c.width));
        column->Title()->SetCaption(QString::fromUtf8(c.title));
        column->Title()->SetAlignment(taCenter);
        if (c.centred)
            column->SetAlignment(taCenter);
    }
}

void Tfrmimdetail::TreeView1Change(QObject* Sender, TTreeNode* Node)
{
    TfrmBasicdetail::TreeView1Change(Sender, Node);
    if (!TreeView1->Selected())
        return;
    loadrows(constcon + QStringLiteral(" and a.bid =") + vartosqlvalue(Variant(bfid)));
    SetbtnState(bparent ? 10 : 3);
}

void Tfrmimdetail::cdsbaseinfoAfterInsert()
{
    TfrmBasicdetail::cdsbaseinfoAfterInsert();
    cdsbaseinfo.FieldByName(QStringLiteral("fid"))->SetAsInteger(rmtDM->GetnewID(QStringLiteral("mid")));
}

void Tfrmimdetail::cdsbaseinfoAfterPost()
{
    if (cdsbaseinfo.FieldByName(QStringLiteral("mname"))->AsString().isEmpty()
        || cdsbaseinfo.FieldByName(QStringLiteral("munit"))->AsString().isEmpty()) {
        cdsbaseinfo.Delete();
        ShowMessage(QStringLiteral("输入材料项不完整"));
    }
}

void Tfrmimdetail::acSaveExecute()
{
    TfrmBasicdetail::acSaveExecute();
    loadrows(constcon + QStringLiteral(" and d.code=") + vartosqlvalue(Variant(code)));
    SetbtnState(9);
}

bool Tfrmimdetail::saved() const
{
    TField* id = cdsbaseinfo.FieldByName(QStringLiteral("fid"));
    return !id->IsNull() && id->AsInteger() != 0
           && !cdsbaseinfo.FieldByName(QStringLiteral("prtname"))->AsString().isEmpty();
}

void Tfrmimdetail::DBGridGx1DblClick()
{
    if (!hasrows())
        return;
    if (!saved()) {
        ShowMessage(QStringLiteral("养成好习惯，在新添加的材料清单后一定记住要保存！"));
        return;
    }
    TfrmBasicdetail::DBGridGx1DblClick();
}

void Tfrmimdetail::Button1Click()
{
    TfrmBasicdetail::Button1Click();
    if (cdsbaseinfo.Active() && cdsbaseinfo.State() == dsInsert)
        cdsbaseinfo.Cancel();
}

void Tfrmimdetail::Button2Click()
{
    if (!hasrows() || !dsdetail || !dsdetail->DataSet())
        return;
    TBookmarkListGx* selected = DBGridGx1->SelectedRows();
    const int n = selected->Count();
    for (int i = 0; i < n; ++i) {
        cdsbaseinfo.GotoBookmark(selected->GetItem(i));
        if (saved())
            appendline();
        else
            ShowMessage(QStringLiteral("在新添加的材料清单后一定记住先保存！"));
    }
}

bool Tfrmimdetail::readsheet(TExcelWorksheet* sheet)
{
    for (int row = 1;; ++row) {
        const QString name = sheet->Cells(row, 1).Text();
        const QString type = sheet->Cells(row, 2).Text();
        const QString unit = sheet->Cells(row, 3).Text();
        if (name.isEmpty() || unit.isEmpty())
            return !(name.isEmpty() && type.isEmpty() && unit.isEmpty());
        cdsbaseinfo.Append();
        cdsbaseinfo.FieldByName(QStringLiteral("mname"))->SetAsString(name);
        cdsbaseinfo.FieldByName(QStringLiteral("mtype"))->SetAsString(type);
        cdsbaseinfo.FieldByName(QStringLiteral("munit"))->SetAsString(unit);
        cdsbaseinfo.Post();
        SetbtnState(1);
    }
}

void Tfrmimdetail::ToolButton1Click()
{
    if (!cdsbaseinfo.Active()) {
        ShowMessage(QStringLiteral("先选择材料分类项！"));
        return;
    }
    ExcelApp excel = CreateExcelApplication();
    excel->SetVisible(false);
    excel->WorkbooksAdd();
    TExcelWorksheet* sheet = excel->Workbooks(1)->Worksheets(1);
    sheet->Paste();
    // The list ends at its first row without a name or unit; only a row that held something
    // there was incomplete.
    if (readsheet(sheet))
        ShowMessage(QStringLiteral("倒入的材料项有至少有一项不完整，核对后再倒入"));
    excel->ActiveWorkbook()->SetSaved(true);
    excel->Quit();
}

// ---------------------------------------------------------------- Tfrmimdetail_m

Tfrmimdetail_m::Tfrmimdetail_m(QWidget* AOwner) : Tfrmbasedetail_m(AOwner)
{
    SetCaption(QStringLiteral("编辑入库材料细表"));
    Maintable = QStringLiteral("mtrlist");
    MasterField = QStringLiteral("fid");
    Button3->SetModalResult(mrNo);
    auto* form = new QFormLayout(pnedit);
    auto edit = [this, form](const char* field, const char* label) { return addfieldedit(form, field, label); };
    DBEdit1 = edit("mname", "材料名称");
    DBEdit2 = edit("mtype", "规格型号");
    DBEdit3 = edit("munit", "计量单位");
    DBEdit4 = edit("remark", "备    注");
}

void Tfrmimdetail_m::Button1Click(QObject* Sender)
{
    Tfrmbasedetail_m::Button1Click(Sender);
    DBEdit1->setFocus();
}
