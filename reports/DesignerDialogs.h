#pragma once
// The dialogs of the print-template designer:
//   Tfrmtableset      paper and grid of a new template
//   TfrmPageproperty  paper size, margins and bill kind of the open template
//   TfrmCellproperty  one cell's text, variable kind and line kind, with the placeholders
//                     offered for the template's bill kind and the cell's band
#include "platform/gui/Form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

class TRadioGroup;
class TfrmPrintSet;

class Tfrmtableset : public TForm {
public:
    explicit Tfrmtableset(QWidget* AOwner = nullptr);

    TRadioGroup* RadioGroup1;   // 设置打印票据种类: 入库单 / 出库单
    QSpinBox* widthedit;        // paper width, mm
    QSpinBox* heightedit;       // paper height, mm
    QSpinBox* rowEdit;          // 行数
    QSpinBox* colEdit;          // 列数
    TButton* Button1;           // 确定
    TButton* Button2;           // 放弃
};

class TfrmPageproperty : public TForm {
public:
    explicit TfrmPageproperty(QWidget* AOwner = nullptr);

    QGroupBox* GroupBox1;       // 纸张设置
    QSpinBox* widthedit;        // 页宽
    QSpinBox* heightedit;       // 页高
    QGroupBox* GroupBox2;       // 页边距设置
    QSpinBox* LeftEdit;
    QSpinBox* RightEdit;
    QSpinBox* TopEdit;
    QSpinBox* BottomEdit;
    TRadioGroup* RadioGroup1;   // 票据类型
    TButton* Button1;
    TButton* Button2;

    void setdatavalue(int Pagewidth, int pageheight, int nLeftMargin, int nTopMargin, int nRightMargin,
                      int nBottomMargin);
    void getdatavalue(int& Pagewidth, int& pageheight, int& nLeftMargin, int& nTopMargin, int& nRightMargin,
                      int& nBottomMargin) const;
};

class TfrmCellproperty : public TForm {
public:
    explicit TfrmCellproperty(QWidget* AOwner = nullptr);

    TfrmPrintSet* parentform = nullptr;
    int fbilltype = 0;          // 0 stock-in, 1 stock-out
    int Fmord = 0;              // band: 0 head or foot, 1 body

    QLabel* Label1;             // 单元格显示值
    QLineEdit* Edit1;
    QToolButton* SpeedButton1;  // opens the list of placeholders
    QGroupBox* GroupBox1;       // 单元格使在行类型
    QRadioButton* RadioButton1; // 表头或表脚
    QRadioButton* RadioButton2; // 主体行
    QLabel* Label2;             // 行数
    QSpinBox* linenum;
    TRadioGroup* varraygroup;   // 单元格显示类型, index = variable kind
    QListWidget* ListBox1;
    TButton* Button1;
    TButton* Button2;

    void FormShow(QObject* Sender);
    void varraygroupClick(QObject* Sender);
    void RadioButton1Click(QObject* Sender);
    void RadioButton2Click(QObject* Sender);
    void SpeedButton1Click(QObject* Sender);
    void ListBox1Click(QObject* Sender);
    void ListBox1Exit(QObject* Sender);
    void Button1Click(QObject* Sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
