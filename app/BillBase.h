#pragma once
// Tfrmbasicbill: the common form of every bill. One bill at a time: the head in edit fields
// above, the lines in a grid below, the toolbar with its state machine (which also decides
// whether head and lines may be edited), the bill category and number taken from the account
// set's number pool, saving through the data module's delta writers, deleting, the line
// buttons that open the kind's line picker, and printing through a template. The heirs set
// tables, keys, the picker and the grid layout in their constructors, add their head fields
// and audit.
#include "FormBase.h"

#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/DBControls.h"
#include "platform/gui/StatusBar.h"

#include <QAction>
#include <QGridLayout>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <functional>

class QLabel;
class TDBDateTimeEditGx;
class TReportControl;

class Tfrmbasicbill : public TfrmBase_C {
    Q_OBJECT
public:
    explicit Tfrmbasicbill(QWidget* AOwner = nullptr);
    ~Tfrmbasicbill() override;

    TClientDataSet cdsmaster;
    TClientDataSet CDSdetail;
    TDataSource dsMaster;
    TDataSource dsDetail;
    TDBGridGx* DBGridGx1;
    TDBCheckBox* DBCheckBox1;
    QToolButton* SpeedButton1;
    TButton* btlistadd;
    TButton* btlistdel;
    QToolBar* ToolBar1;
    QAction* acInsert;
    QAction* acEdit;
    QAction* acCancel;
    QAction* acDelete;
    QAction* acSave;
    QAction* acAuditing;
    QAction* acPrint;
    QAction* sbprior;
    QAction* sbnext;
    QAction* acExit;
    QToolButton* sbauditing;   // the audit button (its caption follows the state)
    QMenu* PopupMenu1;
    QAction* N1;   // 打印表单
    QAction* N2;   // 打印数据
    TStatusBar* StatusBar1;
    QWidget* headpanel;        // the heirs' head fields
    QGridLayout* headgrid;

    void newbill();
    void showbill(int id);
    virtual bool removebill(const QString& detailtable, const QString& mastertable, int id);

    int btnState() const { return FbtnState; }
    int prestate() const { return Fprestate; }
    int billid() const { return BillID; }
    QString billnumber() const { return billnum; }
    // The pool slot the form holds (its column and row id).
    QString slotcode() const { return code; }
    int slotid() const { return fid; }
    int auditimage() const { return Fauditimage; }
    TReportControl* printcontrol() const { return reportcontrol; }
    // Whether head and lines are read-only.
    bool dataReadOnly() const { return cdsmaster.ReadOnly(); }

    void FormShow(QObject* Sender) override;
    bool CloseQuery() override;
    void acInsertExecute();
    void acEditExecute();
    void acCancelExecute();
    void acDeleteExecute();
    virtual void acSaveExecute();
    // Audits the bill, or reverses it when it is audited, through the kind's posting.
    virtual void acAuditingExecute();
    void acPrintExecute();
    void acExitExecute();
    void acPriorExecute();
    void acNextExecute();
    void N1Click();
    void N2Click();
    virtual void btlistaddClick();
    virtual void btlistdelClick();
    void SpeedButton1Click();
    virtual void cdsmasterAfterInsert() {}
    // Runs after head and lines were (re)loaded, before anything else (binds field handlers).
    virtual void dataloaded() {}
    // What a save does after the bill's rows, in the same transaction, through the data module;
    // False undoes the save (nothing by default).
    virtual std::function<bool()> savesteps() { return {}; }
    void CDSdetailAfterInsert();
    void CDSdetailAfterPost();
    void cdsmasterAfterCancel();
    // Lines of negative quantity (returns) are drawn in red.
    void DBGridGx1GetCellParams(TColumnGx* Column, TFont* AFont, TColor& Background);

protected:
    // The kind's posting and reversal through the data module (true when done).
    virtual bool recordbill() { return false; }
    virtual bool reversebill() { return false; }

    // A line column of the bill grid: field, title, width, read-only, and what its footer shows.
    enum class TFoot { none, sum, total };
    struct TBillColumn {
        const char* field;
        const char* title;
        int width;
        bool ro;
        TFoot foot;
    };
    // The options and the footer row every bill grid has.
    void initbillgrid();
    // Lays the line columns out anew under titlelines title lines (vmargin the title margin);
    // with centresums the sums other than the quantity's are centred.
    void addbillcolumns(int titlelines, int vmargin, const QList<TBillColumn>& columns, bool centresums = false);

    // Head controls on headpanel, bound to the head's fields.
    QLabel* headlabel(const char* text);
    TDBEdit* headedit(const char* name, const char* field);
    QToolButton* headbutton(const char* name);   // the "…" of a picked field
    TDBDateTimeEditGx* headdate(const char* name, const char* field);
    TDBLookupComboBox* headlookup(QWidget* parent, const char* name, int rows, TDataSource* list,
                                  const char* listfield, const char* field);
    // A head row of captioned fields, three grid columns each: caption, control, and the
    // control's button when it has one.
    struct THeadField {
        const char* caption;
        QWidget* control;
        QWidget* button = nullptr;
    };
    void placeheadrow(int row, std::initializer_list<THeadField> fields);

    void SetbtnState(int state);
    void selectbilltype(QLineEdit* edit, QToolButton* button, bool abilltype);
    // Places a drop-down picker under an edit and its button (at least minwidth wide).
    void placepicker(TForm* picker, QWidget* edit, QWidget* button, int minwidth);
    // A tree picker for a head field group (id, name and code columns), while the bill is edited.
    void picktree(const QString& table, QLineEdit* edit, QToolButton* button, const QString& idcol,
                  const QString& namecol, const QString& codecol);
    // Gives back a slot taken in this form that the stored bill does not name, and holds the
    // stored slot again.
    void releaseunsaved();
    // Whether head or lines hold changes not yet saved.
    bool modified() const;

    QString fmastertable, fdetailtable;
    QString vmastertable, vdetailtable;
    QString Fmkey, Fdkey, Fmfkey, fdfkey;
    std::function<TForm*(QWidget*)> modifyform;
    int BillID = 0;
    TDBEdit* DBbilltype = nullptr;
    bool billtype = false;
    QString printfile;   // the template of the bill kind

private:
    // Takes a slot of a pool column; 0 when the pool has none left.
    int takeslot(const QString& column);
    TReportControl* reportcontrol = nullptr;
    int FbtnState = 0;
    int Fprestate = 0;
    QString code;
    int fid = 0;
    // The slot the stored bill names (empty for a bill not saved yet).
    QString Fstoredcode;
    int Fstoredfid = 0;
    QString billnum;
    int Fauditimage = 5;
    bool Fclosing = false;
};
