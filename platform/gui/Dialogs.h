#pragma once
// The dialog service: every message dialog, message box, input box, file and
// font dialog and modal form of the program is shown through here, so that a
// test can answer them from a script and read every text shown.
//
// Scripted mode (DialogScript::Start): nothing is shown on screen. Each shown
// dialog is appended to the log; dialogs that ask something (more than one
// button, input boxes, file and font dialogs, modal forms) take the next
// scripted answer in order. A question without an answer left takes its
// default button (or Cancel) and is counted in Unanswered().
#include "Graphics.h"
#include "Messages.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <initializer_list>

class TForm;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp
};

class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> bs)
    {
        for (auto b : bs) m_bits |= 1u << b;
    }
    constexpr bool contains(TMsgDlgBtn b) const { return (m_bits >> b) & 1u; }
    constexpr bool empty() const { return m_bits == 0; }
    // The buttons in their display order.
    QList<TMsgDlgBtn> list() const;
private:
    quint32 m_bits = 0;
};

inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline constexpr TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// Modal result of a dialog button.
TModalResult ModalResultOf(TMsgDlgBtn b);

// A message dialog with the icon of its type, the type's caption ("Warning",
// "Error", "Information", "Confirmation") and the buttons; returns the
// modal result of the button chosen (mrYes, mrNo, mrOk, mrCancel ...).
int MessageDlg(const QString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
// The message box with its own caption and MB_ flags; returns IDOK, IDYES ...
int ShowMessageBox(const QString& Text, const QString& Caption, UINT Flags);
// The default error display of the application (stop icon, OK).
void ShowErrorDisplay(const QString& Text, const QString& Caption);
// ShowMessage itself is declared by the run-time layer (MessageSink.h) and
// arrives here through the message sink.

// Input box: the entered text, or the default when cancelled.
QString InputBox(const QString& ACaption, const QString& APrompt, const QString& ADefault);
// Input query: true and the text in Value when confirmed.
bool InputQuery(const QString& ACaption, const QString& APrompt, QString& Value);

// Makes the dialog service the run-time layer's message sink.
void InstallDialogMessageSink();

// ---------------------------------------------------------------- file and font dialogs

enum TOpenOption {
    ofReadOnly = 0x1, ofOverwritePrompt = 0x2, ofHideReadOnly = 0x4, ofNoChangeDir = 0x8,
    ofAllowMultiSelect = 0x200, ofPathMustExist = 0x800, ofFileMustExist = 0x1000,
    ofEnableSizing = 0x800000,
};
using TOpenOptions = int;

class TOpenDialog {
public:
    virtual ~TOpenDialog() = default;
    // Shows the dialog; true with FileName (and Files) set when confirmed.
    virtual bool Execute();

    QString FileName;
    QStringList Files;
    // "Text files (*.txt)|*.txt|All files (*.*)|*.*" as the class library writes it.
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    QString Title;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
protected:
    virtual bool IsSave() const { return false; }
};

class TSaveDialog : public TOpenDialog {
protected:
    bool IsSave() const override { return true; }
};

class TFontDialog {
public:
    bool Execute();
    TFont Font;
};

// Converts a class-library filter ("desc|*.a;*.b|...") into Qt's form.
QString QtFileFilter(const QString& filter);

// ---------------------------------------------------------------- test script

struct TShownDialog {
    QString Kind;       // MessageDlg, MessageBox, ShowMessage, Error, InputBox, InputQuery,
                        // OpenDialog, SaveDialog, FontDialog, ShowModal
    QString Caption;
    QString Text;
    int Icon = -1;      // TMsgDlgType of the icon, -1 without one
    QList<int> Buttons; // modal results offered
    int Result = 0;     // what the dialog returned
    QString Answer;     // text answered (input and file dialogs)
    bool Unanswered = false;
};

struct TScriptedAnswer {
    TModalResult Result = mrNone;
    QString Text;
    // For a modal form: runs on the shown form (fill edits, click buttons with
    // QTest) and returns the result to use when the form set none itself.
    std::function<TModalResult(TForm&)> Actor;
    int Number = 0;     // font size for the font dialog
};

class DialogScript {
public:
    static void Start();          // scripted mode on, empty log and queue
    static void Stop();           // back to real dialogs
    static bool Active();
    static void Answer(TModalResult r);
    static void AnswerText(const QString& text, TModalResult r = mrOk);
    static void AnswerFont(const QString& name, int size);
    static void AnswerForm(std::function<TModalResult(TForm&)> actor);
    static void Push(const TScriptedAnswer& a);

    static const QList<TShownDialog>& Log();
    static QStringList Texts();   // the Text of every logged dialog
    static void ClearLog();
    static int PendingAnswers();
    static int Unanswered();

    // Used by the dialogs: records a dialog and, when it asks something,
    // takes the next answer. Returns false when no answer is left.
    static bool Take(TScriptedAnswer& out);
    // Used by the dialogs that ask for a text (file, folder and font dialogs): logs a dialog
    // of that kind with its caption and text, takes the next answer into out and returns
    // whether it was OK.
    static bool TakeText(const QString& kind, const QString& caption, const QString& text, TScriptedAnswer& out);
    // Appends to the log; returns the entry's index.
    static int Record(const TShownDialog& d);
    static void SetResult(int index, int result, bool unanswered);
};

// Scoped scripted mode for tests.
class TDialogScriptScope {
public:
    TDialogScriptScope() { DialogScript::Start(); }
    ~TDialogScriptScope() { DialogScript::Stop(); }
    TDialogScriptScope(const TDialogScriptScope&) = delete;
    TDialogScriptScope& operator=(const TDialogScriptScope&) = delete;
};
