#pragma once
// TForm: a form of the program over QDialog. Work forms and dialogs are shown
// with ShowModal, which returns the ModalResult that closed them; the main
// form is shown with Show and ends the application when it closes.
//
//  - A TButton with a ModalResult sets the form's ModalResult when clicked,
//    before its OnClick handler runs; the form closes after the handler unless
//    the handler set ModalResult back to mrNone (or OnCloseQuery refuses).
//  - KeyPreview: the form's OnKeyDown / OnKeyPress / OnKeyUp see every key of
//    its controls first; a handler that sets the key to 0 consumes it. For
//    Enter this happens before the default button, so a KeyPress handler can
//    turn Enter into a move to the next control (SelectNext).
//  - Enter clicks the default button (or the focused button), Esc the cancel
//    button, when the focused control leaves those keys to the dialog.
//  - Components are the form's child objects; FindComponent looks a name up
//    ignoring case.
#include "ControlBase.h"
#include "Messages.h"

#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <functional>

class QEventLoop;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };

using TCloseEvent = std::function<void(QObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(QObject* Sender, bool& CanClose)>;

class TForm : public QDialog {
    Q_OBJECT
public:
    // The owner becomes the Qt parent; the form stays a window of its own.
    explicit TForm(QWidget* AOwner = nullptr);
    ~TForm() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& c) { setWindowTitle(c); }
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition p) { m_position = p; }
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool v) { m_keyPreview = v; }

    // ---- modal use ------------------------------------------------------
    TModalResult ShowModal();
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult r);
    bool Modal() const { return m_loop != nullptr || m_scriptedModal; }

    // ---- modeless use ---------------------------------------------------
    void Show();
    void Close();
    void Release() { deleteLater(); }

    // ---- components -----------------------------------------------------
    QObject* FindComponent(const QString& name) const;
    template <class T>
    T* Find(const QString& name) const { return dynamic_cast<T*>(FindComponent(name)); }
    QList<QObject*> Components() const;
    int ComponentCount() const { return int(Components().size()); }

    // ---- focus ----------------------------------------------------------
    QWidget* ActiveControl() const;
    void SetActiveControl(QWidget* w);
    // Moves the focus to the next (previous) control in tab order.
    void SelectNext(bool forward = true);
    // The dialog handling of a key the focused control leaves to the form:
    // Tab and arrows move the focus, Enter clicks the default or focused
    // button, Esc the cancel button. True when the key was used.
    virtual bool DialogKey(WORD Key, TShiftState Shift);

    // Messages sent to the form: WM_NEXTDLGCTL (WParam 0: next control, else
    // previous, as the dialog manager's next-control request) and WM_CLOSE.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

    // ---- key preview entry points (called by the controls) --------------
    void DoKeyDown(WORD& Key, TShiftState Shift);
    void DoKeyPress(QChar& Key);
    void DoKeyUp(WORD& Key, TShiftState Shift);

    // ---- events ---------------------------------------------------------
    TNotifyEvent OnShow, OnHide, OnActivate, OnDeactivate, OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Whether the form may close now (OnCloseQuery).
    virtual bool CloseQuery();

public slots:
    void done(int r) override;
    void accept() override { SetModalResult(mrOk); }
    void reject() override { SetModalResult(mrCancel); }

protected:
    virtual void DoShow();
    virtual void DoHide();
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void checkModalClose();
    void placeOnScreen();

    TModalResult m_modalResult = mrNone;
    TPosition m_position = poDesigned;
    bool m_keyPreview = false;
    bool m_scriptedModal = false;
    bool m_closing = false;
    bool m_placed = false;
    QEventLoop* m_loop = nullptr;
};

// A push button with the class library's Default, Cancel and ModalResult.
class TButton : public QPushButton {
    Q_OBJECT
public:
    explicit TButton(QWidget* parent = nullptr);
    TButton(const QString& caption, QWidget* parent);

    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult r) { m_modalResult = r; }
    bool Default() const { return isDefault(); }
    void SetDefault(bool v) { setDefault(v); }
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool v) { m_cancel = v; }
    QString Caption() const { return text(); }
    void SetCaption(const QString& c) { setText(c); }
    // Clicks in code as the user would (modal result, then OnClick).
    void Click();

    TNotifyEvent OnClick;
private:
    TModalResult m_modalResult = mrNone;
    bool m_cancel = false;
};

// The form a widget lives on (its window, when that is a TForm).
TForm* GetParentForm(QWidget* w);
// The dialog handling of an unclaimed special key for a control: the form's
// DialogKey, or for windows that are not ours Tab moves the focus, Enter
// clicks the default button and Esc closes a dialog.
bool DispatchDialogKey(QWidget* from, WORD Key, TShiftState Shift);
