#pragma once
// The edit dialog of the list forms (Tfrmbaselist_m) and the two concrete lists with their
// dialogs: users (Tfrmuserset) and persons (Tfrmemployeelist). The dialog's data-aware
// controls name their field in their hint and are bound to the list's rows by the account
// set's TableField rows.
#include "BaseList.h"

#include "platform/gui/DBControls.h"

#include <QLineEdit>

// Binds the data-aware controls among `controls` whose hint names a column of `table` (by the
// account set's Tablefield rows, names trimmed and compared without letter case) to `source`:
// edits and memos (limited to the column's length; memos with a vertical scroll bar), check boxes,
// lookup and drop-down combo boxes and date-time editors. Other controls stay unbound.
void bindhintcontrols(const QList<QWidget*>& controls, const QString& table, TDataSource* source);

class Tfrmbaselist_m : public TfrmBase_C {
    Q_OBJECT
public:
    explicit Tfrmbaselist_m(Tfrmbaselist* AOwner);

    QLabel* Image1;       // the banner
    QFrame* pnedit;       // the descendant's data-aware controls
    TButton* Button2;     // 确定
    TButton* Button3;     // 返回
    // The list's rows.
    TClientDataSet* DataSet() const { return &ParentForm->CDSbaseinfo; }
    bool isEditing() const { return isEdit; }

    void FormShow(QObject* Sender) override;
    virtual void Button2Click(QObject* Sender);
    void Button3Click(QObject* Sender);

protected:
    // Adds a captioned control to pnedit; its hint names its field.
    template <class C>
    C* addcontrol(const char* name, const char* caption, const char* field);
    void cancelpending();
    void closeEvent(QCloseEvent* e) override;

    QString Maintable;
    QString MasterField;
    Tfrmbaselist* ParentForm;

private:
    bool isEdit = false;
};

class Tfrmuserset : public Tfrmbaselist {
    Q_OBJECT
public:
    explicit Tfrmuserset(QWidget* AOwner = nullptr);
    void acDeleteExecute(QObject* Sender) override;
    void acrefrshExecute(QObject* Sender) override {}
};

class Tfrmuserset_m : public Tfrmbaselist_m {
    Q_OBJECT
public:
    explicit Tfrmuserset_m(Tfrmbaselist* AOwner);
    TDBEdit* DBEdit1;     // 用户名
    TDBEdit* DBEdit2;     // 密码
    QLineEdit* Edit1;     // 确认码
    void FormKeyPress(QObject* Sender, QChar& Key) override;
    void Button2Click(QObject* Sender) override;
};

class Tfrmemployeelist : public Tfrmbaselist {
    Q_OBJECT
public:
    explicit Tfrmemployeelist(QWidget* AOwner = nullptr);
};

class Tfrmemployeelist_m : public Tfrmbaselist_m {
    Q_OBJECT
public:
    explicit Tfrmemployeelist_m(Tfrmbaselist* AOwner);
    TDBEdit* DBEdit1;     // 姓名
    TDBEdit* DBEdit2;     // 电话
    TDBEdit* DBEdit3;     // 备注
    TDBCheckBox* DBCheckBox1;
    void FormKeyPress(QObject* Sender, QChar& Key) override;
    void Button2Click(QObject* Sender) override;
};
