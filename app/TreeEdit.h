#pragma once
// The tree-table editors: one generic editor (Tfrmbreedtree) for the trees of projects,
// receiving units, suppliers and material sources, its four concrete editors, and its item
// dialog. Additions, edits and deletions are kept in memory and written together on "保存".
// TfrmTreeEditor holds what the generic editor and the category editor share: the layout,
// the chosen item, the deletion with its question and the save with its messages.
#include "FormBase.h"

#include "data/rsnodeprocess.h"

#include <QGroupBox>
#include <QLineEdit>
#include <memory>

class TCheckBox;

class TfrmTreeEditor : public TfrmNormalForm {
    Q_OBJECT
public:
    TButton* add;       // 新增
    TButton* edit;      // 修改
    TButton* del;       // 删除
    TButton* Button5;   // 刷新
    QGroupBox* GroupBox1;
    TTreeView* TreeView1;

    // The chosen item.
    int fid = 0;
    QString code;

    // The tree model of the editor.
    virtual TRSNodes* model() const = 0;

    void addClick(QObject* Sender);
    void editClick(QObject* Sender);
    void delClick(QObject* Sender);
    void Button1Click(QObject* Sender);

protected:
    explicit TfrmTreeEditor(QWidget* AOwner);
    // Runs the editor's item dialog in state 2 (add) or 3 (edit) on the selected node.
    virtual void runitemdialog(int state) = 0;
    template <class D>
    void rundialog(int state)
    {
        std::unique_ptr<D> dialog(new D(static_cast<typename D::Editor*>(this)));
        dialog->Frsstate = state;
        dialog->FTreenode = TreeView1->Selected();
        dialog->ShowModal();
    }
    // The chosen item's values, from the selected node.
    void takeselected();
};

class Tfrmbreedtree : public TfrmTreeEditor {
    Q_OBJECT
public:
    explicit Tfrmbreedtree(QWidget* AOwner = nullptr);
    ~Tfrmbreedtree() override;

    QString FCaption;
    QString Fgroupcaption;
    QString tablename;
    QString rsid;        // name of the key counter

    TRSNodes* model() const override { return Frsnodes.get(); }

    void FormCreate();
    void FormShow(QObject* Sender) override;
    void TreeView1Change(QObject* Sender, TTreeNode* Node);
    void TreeView1DblClick(QObject* Sender);
    void Button5Click(QObject* Sender);

protected:
    // The concrete editors set caption, group caption, table and counter, then run FormCreate.
    void setup(const QString& caption, const QString& group, const QString& table, const QString& counter);

    void runitemdialog(int state) override;

private:
    std::unique_ptr<TRSNodes> Frsnodes;
};

class Tfrmpjtlist : public Tfrmbreedtree {
    Q_OBJECT
public:
    explicit Tfrmpjtlist(QWidget* AOwner = nullptr);
};

class Tfrmdptlist : public Tfrmbreedtree {
    Q_OBJECT
public:
    explicit Tfrmdptlist(QWidget* AOwner = nullptr);
};

class TfrmMaterialsup : public Tfrmbreedtree {
    Q_OBJECT
public:
    explicit TfrmMaterialsup(QWidget* AOwner = nullptr);
};

class TfrmMaterialcf : public Tfrmbreedtree {
    Q_OBJECT
public:
    explicit TfrmMaterialcf(QWidget* AOwner = nullptr);
};

// The item dialog of the generic editor: name and "shown in bills".
class Tfrmbreedtree_m : public TfrmBaseform {
    Q_OBJECT
public:
    using Editor = Tfrmbreedtree;
    explicit Tfrmbreedtree_m(Tfrmbreedtree* AOwner);

    QLineEdit* Edit1;
    TCheckBox* CheckBox1;

    int Frsstate = 2;                 // 2 add, 3 edit
    TTreeNode* FTreenode = nullptr;   // the node the dialog works on
    Tfrmbreedtree* Parentform;

    void FormShow(QObject* Sender) override;
    void FormKeyPress(QObject* Sender, QChar& Key) override;
    void Button1Click(QObject* Sender);
};

// Helpers shared with the category editor.
namespace treeedit {
// The work panel's group with its tree view (auto-expand, selection kept visible, read-only).
TTreeView* buildtree(QFrame* panel, QGroupBox*& group);
// Under a parent node: marks the parent's children loaded (the new child is shown at once and
// must not come again from the table) and fills the child's key, parent, code and level.
// Without a parent: a top-level item.
void placenewitem(TTreeView* tree, TTreeNode* parent, Trsnode* item, int id);
// A new edit state for a record the dialog has changed.
inline void markchanged(Trsnode* r)
{
    if (r && r->rnstate == rnsaved)
        r->rnstate = rnchanged;
}
} // namespace treeedit
