#pragma once
// The material pickers' base: the category tree on the left, the materials of the chosen
// category on the right, a toolbar that maintains the materials themselves, and the commands
// that turn a material into a new line of the calling bill. The concrete pickers set the table,
// the statement and its condition in their constructors; the base finds the bill's line
// source as the bill form's component named "dsdetail".
//   TfrmBasicdetail    the picker
//   Tfrmbasedetail_m   the base of the pickers' one-item edit dialogs
//   TDataSourceRef     a form's data source made findable by component name
#include "CategoryTree.h"
#include "FormBase.h"

#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"

#include <QAction>
#include <QFormLayout>
#include <QToolBar>
#include <functional>
#include <memory>

class TDBEdit;

// A named child object standing for a data source, so that FindComponent("dsdetail") finds it.
class TDataSourceRef : public QObject {
    Q_OBJECT
public:
    TDataSourceRef(QObject* owner, const QString& name, TDataSource* ds) : QObject(owner), Source(ds)
    {
        setObjectName(name);
    }
    TDataSource* Source;
    // The data source of a form's component with that name (case ignored), or null.
    static TDataSource* Find(const TForm* form, const QString& name);
};

class TfrmBasicdetail : public TfrmBase_C {
    Q_OBJECT
public:
    explicit TfrmBasicdetail(QWidget* AOwner = nullptr);
    ~TfrmBasicdetail() override;

    TTreeView* TreeView1;
    TDBGridGx* DBGridGx1;
    QToolBar* ToolBar2;
    QAction* ToolButton2;   // 批量倒入 (hidden here)
    QAction* sbinsert;
    QAction* sbedit;
    QAction* sbcancel;
    QAction* sbdelete;
    QAction* sbsave;
    QAction* sbrefrsh;
    QAction* sbquery;
    QAction* sbexit;
    TButton* Button2;   // 确定
    TButton* Button1;   // 取消
    QFrame* bottom;     // the bar of the two buttons
    TClientDataSet cdsbaseinfo;
    TDataSource dsbaseinfo;

    // The chosen category.
    int bfid = 0;
    QString code;
    QString prtname;
    bool bparent = false;
    int pricemodal = 0;
    int breedtype = 0;
    int adminrate = 0;
    QString inputstr;

    int btnState() const { return FbtnState; }
    TDataSource* detailsource() const { return dsdetail; }
    TbreedNodes* breednodes() const { return Fbreednodes.get(); }
    TForm* parentform() const { return Parentform; }

    void FormShow(QObject* Sender) override;
    virtual void TreeView1Change(QObject* Sender, TTreeNode* Node);
    void TreeView1DblClick(QObject* Sender);
    virtual void acInsertExecute();
    virtual void acEditExecute();
    virtual void acCancelExecute();
    virtual void acDeleteExecute();
    virtual void acSaveExecute();
    virtual void acRefrshExecute();
    virtual void acQueryExecute();
    virtual void acExitExecute();
    virtual void ToolButton1Click() {}
    virtual void cdsbaseinfoAfterInsert();
    virtual void cdsbaseinfoAfterPost() {}
    virtual void DBGridGx1DblClick();
    virtual void Button2Click();
    virtual void Button1Click();

    void SetbtnState(int state);

protected:
    // Reads the material rows of a condition (replacing the list).
    void loadrows(const QString& condition);
    // The search condition of a text: constcon and the name pattern (quotes doubled).
    QString namecondition(const QString& text) const;
    // Appends the current material as a new line of the bill (kept in insert state).
    bool appendline();
    // Runs the item dialog on the current row.
    void runmodifyform();
    bool hasrows() const { return cdsbaseinfo.Active() && cdsbaseinfo.RecordCount() > 0; }
    // Lays out the list grid anew with multi-level titles: one title line, or two (the price
    // groups over their columns).
    void setlistcolumns(bool twolines, const QList<TGridColumnDef>& columns);

    TForm* Parentform = nullptr;
    QString MainTable;
    QString KeyField;
    std::function<TForm*(QWidget*)> ModifyForm;
    QString constSQL;
    QString constcon;
    QString fnkeyfield;
    QString Ordkeyfield;
    TDataSource* dsdetail = nullptr;

    int FbtnState = 0;
    int Fprestate = 0;

private:
    std::unique_ptr<TbreedNodes> Fbreednodes;
};

class Tfrmbasedetail_m : public TfrmBase_C {
    Q_OBJECT
public:
    explicit Tfrmbasedetail_m(QWidget* AOwner = nullptr);

    QFrame* pnedit;
    TButton* Button1;   // 确定
    TButton* Button3;   // 返回

    // The picker's material rows.
    TClientDataSet* DataSet() const;
    bool isEditing() const { return isEdit; }

    void FormShow(QObject* Sender) override;
    virtual void Button1Click(QObject* Sender);
    void Button3Click(QObject* Sender);

protected:
    // Binds the data-aware controls of pnedit to the picker's rows by their hint texts.
    void bindcontrols();
    // Adds a labelled edit to a form layout of pnedit; its hint names the field it binds to.
    TDBEdit* addfieldedit(QFormLayout* form, const char* field, const char* label);
    QString Maintable;
    QString MasterField;
    TfrmBasicdetail* ParentForm = nullptr;

private:
    bool isEdit = false;
};
