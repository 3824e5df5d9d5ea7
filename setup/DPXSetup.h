#pragma once
// The setup's one form: an agreement page, then the page that asks for the program folder
// and installs into it, showing each step in a label and a progress bar.
#include "platform/gui/Form.h"

#include <QString>
#include <exception>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;

class TCSetup : public TForm {
    Q_OBJECT
public:
    explicit TCSetup(QWidget* AOwner = nullptr);

    QString FilePath() const { return FFilePath; }
    void SetFilePath(const QString& v) { FFilePath = v; }

    // The folder offered at first: Depotrix under the user's home folder.
    static QString DefaultFolder();

    // ---- components, named as on the form ----
    QLabel* Image1;          // the banner's two pictures
    QLabel* Image2;
    QFrame* Panel1;          // page 1: the agreement
    QLabel* Label1;
    QPlainTextEdit* Memo1;
    TButton* Button1;        // 接受协议
    TButton* Button2;        // 放弃安装
    QFrame* Panel5;          // page 2: folder and progress
    QLabel* Label5;
    QGroupBox* GroupBox1;
    QLineEdit* Edit1;
    TButton* Button5;        // 浏览
    QGroupBox* GroupBox2;
    QLabel* Label4;
    QProgressBar* Pbar;
    TButton* Button3;        // 开始安装, then 完成
    TButton* Button4;        // 取消安装

    void Button1Click(QObject* Sender);
    void Button2Click(QObject* Sender);
    void Button3Click(QObject* Sender);
    void Button4Click(QObject* Sender);
    void Button5Click(QObject* Sender);

    // The steps of the install road; each raises an exception when it fails.
    void adddepotrixfile();
    void setupdpxdata();
    void setupprtdata();
    void addprogramgroup();
    void adddesktopLink();

    // The program folder the steps write into: FilePath with "~" read as the home folder,
    // or an empty string when it names no absolute folder.
    QString ProgramFolder() const;

    // Why an install failed, in the user's words: no permission, a file where a folder should
    // be, a full disk, or the error's own text.
    static QString FailureReason(const std::exception& e);

private:
    void createPages();
    bool prepareFolders(const QString& dir);
    void installFailed(const QString& reason);
    void showStep(int progress, const QString& label);
    void finish();

    QString FFilePath;
    bool m_installing = false;
    bool m_finished = false;
};
