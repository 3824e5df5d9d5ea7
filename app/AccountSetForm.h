#pragma once
// Account-set administration: creating an account set from the template (TfrmCreateDB),
// backing up and restoring the logged-in one to and from a file of the backdata folder
// (TfrmDBBackup, TfrmDBRestore), and deleting a registered one (deleteaccountset, the main
// window's menu command).
#include "FormBase.h"

#include <QGroupBox>
#include <QLineEdit>

// A new account set's database name: a letter, then letters, digits and "_", 50 at most.
bool isvalidaccountsetname(const QString& name);
// A file name without any folder part.
bool isbarefilename(const QString& name);
// The registered database name that matches name ignoring case, or empty.
QString registeredaccountset(const QString& name);

class TfrmCreateDB : public TfrmNormalForm {
    Q_OBJECT
public:
    explicit TfrmCreateDB(QWidget* AOwner = nullptr);
    QGroupBox* GroupBox1;
    QLineEdit* Edit4;   // company
    QLineEdit* Edit5;   // database name
    QLineEdit* Edit6;   // remark
    void Button1Click(QObject* Sender);

private:
    // The checks before anything is written; false after showing the reason.
    bool checkinput(const QString& company, const QString& name, const QString& remark);
    bool createregistry();
    bool restoretemplate(const QString& name);
};

// The common part of the backup and restore dialogs.
class TfrmDBFileDialog : public TfrmNormalForm {
    Q_OBJECT
public:
    QGroupBox* GroupBox1;
    QLabel* Label2;     // dbname
    QLabel* Label6;     // accname
    QLineEdit* Edit4;   // file name
    QPushButton* BrowseButton;
    void FormShow(QObject* Sender) override;
    void BrowseClick(QObject* Sender);

protected:
    TfrmDBFileDialog(QWidget* AOwner, const QString& caption, const QString& group, const QString& dbcaption,
                     const QString& filecaption);
    // The path of the typed file name in backdata, or empty after telling why the name is refused.
    QString backuppath(const QString& emptytext);
};

class TfrmDBBackup : public TfrmDBFileDialog {
    Q_OBJECT
public:
    explicit TfrmDBBackup(QWidget* AOwner = nullptr);
    void Button1Click(QObject* Sender);
};

class TfrmDBRestore : public TfrmDBFileDialog {
    Q_OBJECT
public:
    explicit TfrmDBRestore(QWidget* AOwner = nullptr);
    void Button1Click(QObject* Sender);
};

// Deletes a registered account set other than the logged-in one, after the administrator's
// confirmation and the database name typed in an input box.
void deleteaccountset();
