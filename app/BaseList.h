#pragma once
// Tfrmbaselist: the list form of a simple master table. All rows of the table in a read-only
// data grid, a toolbar (new, edit, cancel, delete, refresh, save, exit) whose buttons follow
// a small state machine, changes kept in the rows' change log until "保存". Captions,
// widths, alignment and visibility of the fields come from the account set's TableField rows.
#include "FormBase.h"

#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"

#include <QAction>
#include <QSplitter>
#include <QToolBar>
#include <functional>

class QVBoxLayout;

// The work forms' toolbar of text buttons on top of a form's column layout (both made here).
QToolBar* newworktoolbar(QWidget* form, QVBoxLayout*& outer);
// A text button of such a toolbar; its action and button take the given names.
QAction* addtoolaction(QToolBar* bar, const char* name, const char* caption, const char* button = nullptr);

class Tfrmbaselist : public TfrmBase_C {
    Q_OBJECT
public:
    explicit Tfrmbaselist(QWidget* AOwner = nullptr);
    ~Tfrmbaselist() override;

    QToolBar* ToolBar1;
    QAction* acInsert;    // 新增
    QAction* acEdit;      // 修改
    QAction* acCancel;    // 放弃
    QAction* acDelete;    // 删除
    QAction* acrefrsh;    // 刷新
    QAction* acSave;      // 保存
    QAction* acExit;      // 退出
    QSplitter* Splitter1; // the work area; the grid is its last part
    TDBGridGx* DBGridGx1;
    TClientDataSet CDSbaseinfo;
    TDataSource DSbaseinfo;

    // The WHERE condition of the load.
    QString tiao() const { return Ftiao; }
    void settiao(const QString& v) { Ftiao = v; }
    int btnstate() const { return Fbtnstate; }
    int prestate() const { return fprestate; }

    void FormShow(QObject* Sender) override;
    // Reads the rows again and applies the metadata.
    void loaddata();
    void applymetadata();
    // Enables the toolbar buttons for a requested state.
    void setbtnstate(int state);
    // Sorts the rows by a column's field on a title click.
    void DBGridGx1TitleBtnClick(TColumnGx* column);

    virtual void acInsertExecute(QObject* Sender);
    virtual void acEditExecute(QObject* Sender);
    virtual void acCancelExecute(QObject* Sender);
    virtual void acDeleteExecute(QObject* Sender);
    virtual void acrefrshExecute(QObject* Sender);
    virtual void acSaveExecute(QObject* Sender);

protected:
    // Settings of the concrete list.
    QString FormCaption;
    QString MainTable;
    QString KeyField;
    // Creates the edit dialog with the list as owner.
    std::function<TForm*(QWidget*)> ModifyForm;
    // Runs the edit dialog (modal, freed).
    void runmodifyform();
    // The change log written; the message and the state; true when saved.
    bool savechanges();

private:
    QString Ftiao;
    int Fbtnstate = 0;
    int fprestate = 0;
};
