#pragma once
// The application object and the screen. No exception may cross Qt's event
// loop: every event entry point runs its handler through Application->Guard,
// which hands what escapes to HandleException. EAbort ends the action
// silently; anything else goes to OnException when assigned, else to the
// default error display (ShowException: the message in a stop box with the
// application's title).
#include "Messages.h"

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>
#include <utility>

class Exception;
class TForm;

class TApplication {
public:
    TApplication();

    QString Title() const;
    void SetTitle(const QString& t) { m_title = t; }
    TForm* MainForm() const { return m_mainForm; }
    void SetMainForm(TForm* f) { m_mainForm = f; }

    // Installs the dialog service as the run-time layer's message sink and
    // sets the default font; call once after the QApplication exists.
    void Initialize();
    // Shows the main form and runs the event loop until it closes or
    // Terminate is called; returns the loop's exit code.
    int Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }
    // Lets pending events (painting, posted messages, timers due) run.
    void ProcessMessages();

    // Runs f; an exception out of it goes to HandleException. Returns false
    // when f raised.
    template <class F>
    bool Guard(F&& f, QObject* sender = nullptr)
    {
        try {
            std::forward<F>(f)();
            return true;
        } catch (...) {
            HandleException(std::current_exception(), sender);
            return false;
        }
    }
    // A callable that runs f under the guard, for connecting to Qt signals:
    //   connect(button, &QPushButton::clicked, form, Application->Guarded([=] { ... }));
    template <class F>
    auto Guarded(F f)
    {
        return [this, f = std::move(f)](auto&&...) mutable { Guard(f); };
    }

    void HandleException(std::exception_ptr e, QObject* sender = nullptr);
    // The default error display.
    void ShowException(const QString& message);
    // Message text as the error display shows it: a final '.' is added unless
    // the text already ends with a character at or below '.'.
    static QString ExceptionDisplayText(const QString& message);

    // The message box with its own caption; returns IDOK, IDYES, ...
    int MessageBox(const QString& text, const QString& caption, UINT flags = MB_OK);

    std::function<void(QObject* Sender, const std::exception& E)> OnException;

private:
    QString m_title;
    TForm* m_mainForm = nullptr;
    bool m_terminated = false;
    bool m_inException = false;
};

extern TApplication* const Application;

// The screen: the application-wide cursor (crHourGlass while busy).
class TScreen {
public:
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor c);
    int Width() const;
    int Height() const;
    // The focused top-level form, if it is one of ours.
    TForm* ActiveForm() const;
    QWidget* ActiveControl() const;
private:
    TCursor m_cursor = 0;
};

extern TScreen* const Screen;

// Shows the busy cursor for its lifetime and restores the previous one.
class TBusyCursor {
public:
    explicit TBusyCursor(TCursor c = crHourGlass);
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
private:
    TCursor m_saved;
};

// A QApplication whose notify keeps exceptions from crossing the event loop,
// as a last line behind the guarded handlers. The program's main uses it.
class TQtApplication : public QApplication {
public:
    TQtApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* e) override;
};
