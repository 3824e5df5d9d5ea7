#pragma once
// The composite-query dialogs ("综合查询") of the query forms: they collect conditions, compose
// the SELECT and the WHERE part of the statement and hand both back through the login
// context (querysql, querycondition, querytotal, queryok). Every dialog keeps its inputs in
// log/QueryCon.ini, one section per dialog, written at every close and restored at show.
//   Tfrmquerydetail     the common dialog of the bill queries (periods, name, type, bill
//                       number, dates, posted, reversals, summary, three tree conditions)
//   Tfrmqueryexdetail   stock-out lines: unit, project, category
//   Tfrmqueryimdetail   stock-in lines: source, category, supplier
//   Tfrmdateform        the date dialog that fills the date fields
#include "app/FormBase.h"
#include "grid/control/DBGridGx.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/RadioGroup.h"
#include "platform/rtl/DateTime.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

class TIniFile;

class Tfrmdateform : public TfrmBaseform {
public:
    explicit Tfrmdateform(QWidget* AOwner = nullptr);
    QCalendarWidget* Calendar1;
    TButton* PrevMonthBtn;
    TButton* NextMonthBtn;
    QLabel* TitleLabel;
    TDateTime date() const;
    void setdate(TDateTime d);
};

// One tree condition: the box, its edit and picker button, the table picked from and the
// code held.
struct TTreeCondition {
    TCheckBox* box = nullptr;
    QLineEdit* edit = nullptr;
    QToolButton* button = nullptr;
    QString table;
    QString code;
};

// " and " column " like '" code "%'" while the condition's box is ticked and it holds a code;
// nothing otherwise.
QString codecondition(const QString& column, const TTreeCondition& c);

// The shared parts of the three dialogs.
class Tfrmquerybase : public TfrmNormalForm {
public:
    Tfrmquerybase(QWidget* AOwner, const QString& section);
    ~Tfrmquerybase() override;

    TCheckBox* CheckBox1;        // period choice
    TDBGridGx* DBGridGx2;
    TClientDataSet ClientDataSet1;
    TClientDataSet ClientDataSet2;
    TDataSource dsperiod;
    QLineEdit* Edit1;            // 材料名称
    QLineEdit* Edit2;            // 规格型号
    TButton* Button3;            // 清除

    void FormShow(QObject* Sender) override;
    void FormClose(QObject* Sender);
    virtual void Button1Click(QObject* Sender) = 0;
    void Button2Click(QObject* Sender);
    virtual void CheckBox1Click(QObject* Sender) = 0;
    virtual void loadcondition(const TIniFile& ini) = 0;
    virtual void savecondition(TIniFile& ini) = 0;
    virtual void clearcondition() = 0;

    // The file of the saved conditions.
    static QString conditionfile();

protected:
    // A tree condition on the panel at the given row; ticking enables the picker.
    TTreeCondition* addtree(TTreeCondition& c, const char* box, const QString& caption, const QString& table, int row);
    // Box clicked: picker and edit enabled when ticked, else disabled and emptied (the code too).
    void treeclick(TTreeCondition& c);
    void pick(TTreeCondition& c);
    void loadtree(const TIniFile& ini, TTreeCondition& c, const char* box, const char* edit, const char* code,
                  const QString& codedefault);
    void savetree(TIniFile& ini, const TTreeCondition& c, const char* box, const char* edit, const char* code) const;
    QString namecond(const QString& column, const QString& text) const;
    QGridLayout* grid;
    QString m_section;
};

class Tfrmquerydetail : public Tfrmquerybase {
public:
    Tfrmquerydetail(QWidget* AOwner, const QString& section);

    QLineEdit* Edit3;            // 票据编号
    TCheckBox* CheckBox4;        // 选择日期
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    TCheckBox* CheckBox6;        // 反冲帐处理
    TCheckBox* CheckBox2;        // 汇总统计
    TRadioGroup* RadioGroup1;    // 未记帐 / 已记帐
    TTreeCondition c3, c5, c7;   // CheckBox3, CheckBox5, CheckBox7 with their pickers
    // The saved keys of the tree conditions in writing order: box, edit text, code (written
    // in the case given, read in any case) and the code's default.
    struct TTreeKeys {
        TTreeCondition* c;
        const char* box;
        const char* edit;
        const char* code;
        const char* codedefault;
    };
    QList<TTreeKeys> treekeys;

    void Button1Click(QObject* Sender) override;
    void CheckBox1Click(QObject* Sender) override;
    void CheckBox4Click(QObject* Sender);
    void datebutton(QLineEdit* edit);
    void loadcondition(const TIniFile& ini) override;
    void savecondition(TIniFile& ini) override;
    void clearcondition() override;
    virtual QString getSQLstr() = 0;
    virtual QString getsqlcondition() = 0;

protected:
    // The shared conditions (name, type, bill number, periods, dates, posted) with or without
    // the column prefixes; the posted flag is written as " and <p>brecorded=1/0".
    QString commonconditions(const QString& master, const QString& detail, bool trim) const;
    // " and <p>pid in (...)" for the selected period rows; empty when none is selected.
    QString periodcondition(const QString& prefix) const;
};

class Tfrmqueryexdetail : public Tfrmquerydetail {
public:
    explicit Tfrmqueryexdetail(QWidget* AOwner = nullptr);
    int dptid = 0;
    int pjtid = 0;
    QString getSQLstr() override;
    QString getsqlcondition() override;
    QString getsumcondition() const;
};

class Tfrmqueryimdetail : public Tfrmquerydetail {
public:
    explicit Tfrmqueryimdetail(QWidget* AOwner = nullptr);
    QString getSQLstr() override;
    QString getsqlcondition() override;
    QString getsumcondition() const;
    QString detailcondition() const;
};
