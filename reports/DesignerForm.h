#pragma once
// TfrmPrintSet: the print-template designer. One template control in a scroll box, driven by
// two toolbars: the upper one with captions (new, open, save, printer setup, print view, page
// setup), the lower one with hints (cell dialog, data line, merging, alignment, borders,
// font). Templates are the *.prt files of the program folder's dpxprt; the designer does not
// print.
//
// A template loaded for the print view holds its data line repeated; it cannot be saved, so
// that it never replaces the template it came from. "新增" and a successful "打开" make the
// template savable again.
#include "platform/db/ADOQuery.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Form.h"
#include "platform/gui/PrinterSetupDialog.h"

#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <functional>

class TReportControl;

class TfrmPrintSet : public TForm {
public:
    explicit TfrmPrintSet(QWidget* AOwner = nullptr);
    ~TfrmPrintSet() override;

    // The template filter of the file dialogs.
    static const QString TemplateFilter;
    // The folder of the templates (dpxprt beside the executable, created when missing).
    static QString TemplateDir();

    QScrollArea* ScrollBox1;
    TReportControl* ReportControl1;
    QString Fopenname;             // the proposed name when saving

    TOpenDialog OpenDialog1;
    TSaveDialog SaveDialog1;
    TFontDialog FontDialog1;
    TPrinterSetupDialog PrinterSetupDialog1;
    TADOQuery headqry;             // handed to the control, never opened
    TADOQuery bodyqry;

    QToolBar* ToolBar1;            // upper toolbar, captions
    QToolButton* ToolButton1;      // 新增
    QToolButton* ToolButton2;      // 打开
    QToolButton* ToolButton3;      // 保存
    QToolButton* ToolButton4;      // 打印设置
    QToolButton* ToolButton5;      // 打印效果
    QToolButton* ToolButton6;      // 页面设置
    QToolBar* ToolBar2;            // lower toolbar, hints
    QToolButton* ToolButton7;      // 单元格属性设置
    QToolButton* ToolButton8;      // 插入一行 (the data line)
    QToolButton* ToolButton9;      // 删除一行 (merges)
    QToolButton* ToolButton10;     // 字体水平左对齐
    QToolButton* ToolButton11;     // 字体水平中对齐
    QToolButton* ToolButton12;     // right alignment
    QToolButton* ToolButton13;     // 字体垂直上对齐
    QToolButton* ToolButton14;     // 字体垂直中对齐
    QToolButton* ToolButton15;     // 字体垂直下对齐
    QToolButton* ToolButton16;     // 单元格无边框
    QToolButton* ToolButton17;     // 单元格下边框
    QToolButton* ToolButton18;     // 单元格全边框
    QToolButton* ToolButton19;     // 字体选择
    QToolButton* ToolButton20;     // 单元格合并

    void FormShow(QObject* Sender);
    void FormResize(QObject* Sender);
    void NewClick(QObject* Sender);
    void OpenClick(QObject* Sender);
    void SaveClick(QObject* Sender);
    void PrinterSetupClick(QObject* Sender);
    void PrintViewClick(QObject* Sender);
    void PageSetupClick(QObject* Sender);
    void CellPropertyClick(QObject* Sender);
    void DataLineClick(QObject* Sender);
    void CombineClick(QObject* Sender);
    void HorzAlignClick(int align);
    void VertAlignClick(int align);
    void NoBorderClick(QObject* Sender);
    void BottomBorderClick(QObject* Sender);
    void FullBorderClick(QObject* Sender);
    void FontClick(QObject* Sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* captionButton(const char* name, const QString& caption, void (TfrmPrintSet::*handler)(QObject*));
    QToolButton* hintButton(const char* name, const QString& hint, int glyph, std::function<void()> handler);
    // Sizes the scroll box's page to the control (the scroll range follows the control).
    void fitScrollRange();
    int m_left = 0;                // the control's left in the scroll box
};

// Registers the designer under its dispatch code (53).
void RegisterDesignerForms();
