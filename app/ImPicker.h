#pragma once
// The stock-in material picker: the material picker over mtrlist, where the materials
// themselves are kept (one by one in the item dialog, or a whole list pasted from the
// clipboard), and one or several of them become new lines of the calling bill.
//   Tfrmimdetail    the picker
//   Tfrmimdetail_m  its one-material edit dialog
#include "MaterialPicker.h"

#include "platform/gui/DBControls.h"

class TExcelWorksheet;

class Tfrmimdetail : public TfrmBasicdetail {
    Q_OBJECT
public:
    explicit Tfrmimdetail(QWidget* AOwner = nullptr);

    void TreeView1Change(QObject* Sender, TTreeNode* Node) override;
    void cdsbaseinfoAfterInsert() override;
    void cdsbaseinfoAfterPost() override;
    void DBGridGx1DblClick() override;
    void Button1Click() override;   // 取消添加
    void Button2Click() override;   // 多项添加
    void acSaveExecute() override;
    void ToolButton1Click() override;   // 批量倒入

    // Appends the rows of a sheet to the material list until the first row without a name or
    // unit; true when that row held something (an incomplete row rather than the list's end).
    bool readsheet(TExcelWorksheet* sheet);

private:
    // Whether the current material has been saved (a key and its category's name).
    bool saved() const;
    void addcurrentline();
};

class Tfrmimdetail_m : public Tfrmbasedetail_m {
    Q_OBJECT
public:
    explicit Tfrmimdetail_m(QWidget* AOwner = nullptr);
    TDBEdit* DBEdit1;   // mname
    TDBEdit* DBEdit2;   // mtype
    TDBEdit* DBEdit3;   // munit
    TDBEdit* DBEdit4;   // remark
    void Button1Click(QObject* Sender) override;
};
