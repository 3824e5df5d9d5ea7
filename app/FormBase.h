#pragma once
// The base forms of every dialog and work form except the main window:
//   TfrmBase        the form with the program's caption, font and placement
//   TfrmBase_C      Enter moves on like Tab (in a data grid to the next column), showing the
//                   form clears the input-method binding of its plain edits, and edits bound
//                   to the highlight handlers show the highlight colour while focused
//   TfrmNormalForm  the frame: banner, button column ("确定" default / "返回") and work panel
//   TfrmBaseform    the same frame with "确定" (not default) / "取消"
#include "platform/gui/Form.h"

#include <QFrame>
#include <QLabel>
#include <QList>
#include <initializer_list>

class TDBGridGx;

// A column of a data grid a form defines: the field, its title (centred), the width, and
// whether the cells are centred too.
struct TGridColumnDef {
    const char* field;
    const char* title;
    int width;
    bool centred = false;
};
void AddGridColumns(TDBGridGx* grid, std::initializer_list<TGridColumnDef> columns);
void AddGridColumns(TDBGridGx* grid, const QList<TGridColumnDef>& columns);

class TfrmBase : public TForm {
    Q_OBJECT
public:
    explicit TfrmBase(QWidget* AOwner = nullptr);
};

class TfrmBase_C : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmBase_C(QWidget* AOwner = nullptr);

    // True when the active control is an edit of any kind (plain, memo, spin, data-aware and
    // the grid library's editors), a combo box, a date-time picker, a list box or a radio group.
    virtual bool IsEditControlActive();

    // Show handler; descendants with a show handler of their own call this one first.
    virtual void FormShow(QObject* Sender);
    // Form-level key handler (key preview is on): Enter moves to the next control; in a data
    // grid, or in its cell editor, to the next column.
    virtual void FormKeyPress(QObject* Sender, QChar& Key);
    // Highlight handlers for edits and list boxes.
    void onFocusEnter(QObject* Sender);
    void onFocusExit(QObject* Sender);
    // Binds the highlight handlers to a control's focus changes (the form definition's
    // OnEnter / OnExit).
    void BindHighlight(QWidget* control);

    // The step Enter takes in the active control when it is a data grid: to the next field
    // column, from the last to column 0. False when the control is no data grid.
    static bool GridEnterStep(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The frame layout of the two frame forms.
class TfrmFrame : public TfrmBase_C {
    Q_OBJECT
public:
    QFrame* Panel1;     // banner, 31 pixels
    QLabel* Image1;     // the banner picture, 225 pixels
    QLabel* Image2;     // the stretched filler
    QFrame* Panel2;     // button column on the right, 90 pixels
    QFrame* Panel4;     // bottom of the button column, 59 pixels
    TButton* Button1;
    TButton* Button2;
    QFrame* panel3;     // the descendant's work area

protected:
    TfrmFrame(QWidget* AOwner, const QString& cancelCaption, bool okDefault);
};

class TfrmNormalForm : public TfrmFrame {
    Q_OBJECT
public:
    explicit TfrmNormalForm(QWidget* AOwner = nullptr);
protected:
    QString Maintable;
    QString MasterField;
    TForm* ParentForm = nullptr;
};

class TfrmBaseform : public TfrmFrame {
    Q_OBJECT
public:
    explicit TfrmBaseform(QWidget* AOwner = nullptr);
    QFrame*& Panel3 = panel3;
};
