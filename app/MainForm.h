#pragma once
// TCMainform: the main window. A toolbar (login, compact side-bar mode, connection settings,
// the account-set menu, exit), an information panel (today, operator, account set, chosen
// operation), the fixed function tree whose leaves open the work forms by dispatch code
// through the form registry, and a status bar with the logged-in account set.
#include "platform/gui/Form.h"

#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <vector>

class TTreeView;
class TTreeNode;
class TStatusBar;

class TCMainform : public TForm {
    Q_OBJECT
public:
    explicit TCMainform(QWidget* AOwner = nullptr);

    // One leaf of the function tree's dispatch: the form class, whether it is a bill form
    // (newbill before showing) and the refusal text of its administrator gate (empty: none).
    struct TDispatch {
        int code;
        const char* formclass;
        bool newbill;
        const char* refusal;
    };
    static const std::vector<TDispatch>& DispatchTable();

    // ---- components ----
    QMenuBar* MainMenu1;
    QAction* N34;
    QFrame* Panel1;
    QToolBar* ToolBar1;
    QToolButton* toolbutton3;   // 登陆
    QToolButton* toolbutton4;   // 缩放
    QToolButton* ToolButton6;   // 连接
    QToolButton* toolbutton1;   // 帐套
    QAction* ToolButton2;       // separator
    QToolButton* toolbutton5;   // 退出
    QFrame* Panel7;
    QFrame* Panel3;
    QLabel* Label6;             // today
    QLabel* Label8;             // operator
    QLabel* Label9;             // account set
    QLabel* Label12;            // operation
    TTreeView* TreeView1;
    TStatusBar* StatusBar1;
    QMenu* PopupMenu1;
    QAction* N1;
    QAction* N5;
    QAction* N6;
    QAction* N2;

    // ---- handlers ----
    void SpeedButton1Click(QObject* Sender);   // login
    void SpeedButton5Click(QObject* Sender);   // compact mode
    void SpeedButton8Click(QObject* Sender);   // connection settings
    void SpeedButton3Click(QObject* Sender);   // account-set menu
    void N1Click(QObject* Sender);             // create an account set
    void N5Click(QObject* Sender);             // back up
    void N6Click(QObject* Sender);             // restore
    void N2Click(QObject* Sender);             // delete
    void N34Click(QObject* Sender);            // about
    void ToolButton11Click(QObject* Sender);   // exit
    void TreeView1DblClick(QObject* Sender);
    void TreeView1Change(QObject* Sender, TTreeNode* Node);
    void FormShow(QObject* Sender);

    // The image index a tool button shows.
    int ToolImage(const QToolButton* b) const;
    bool CompactMode() const { return fresize; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildTree();
    void setToolImage(QToolButton* b, int index);
    QToolButton* toolButton(const char* name, const QString& caption, int image,
                            void (TCMainform::*handler)(QObject*));

    bool fresize = false;
    int tmpwidth = 0;
    int tmpheight = 0;
    QList<QIcon> ImageList1;
};
