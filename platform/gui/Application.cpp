#include "Application.h"

#include "ControlBase.h"
#include "Dialogs.h"
#include "Form.h"
#include "Translations.h"

#include "platform/rtl/Exceptions.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {
TApplication g_application;
TScreen g_screen;
} // namespace

TApplication* const Application = &g_application;
TScreen* const Screen = &g_screen;

TApplication::TApplication() = default;

QString TApplication::Title() const
{
    if (!m_title.isEmpty()) return m_title;
    return QCoreApplication::instance() ? QCoreApplication::applicationName() : QString();
}

void TApplication::Initialize()
{
    QApplication::setFont(QFont(DefaultFontName(), 9));
    InstallDialogMessageSink();
    LoadQtTranslations();
}

int TApplication::Run()
{
    m_terminated = false;
    if (m_mainForm) m_mainForm->Show();
    if (m_terminated) return 0;
    return QApplication::exec();
}

void TApplication::Terminate()
{
    m_terminated = true;
    QCoreApplication::quit();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString TApplication::ExceptionDisplayText(const QString& message)
{
    if (!message.isEmpty() && message.at(message.size() - 1) > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void TApplication::ShowException(const QString& message)
{
    ShowErrorDisplay(ExceptionDisplayText(message), Title());
}

void TApplication::HandleException(std::exception_ptr e, QObject*)
{
    if (!e) return;
    try {
        std::rethrow_exception(e);
    } catch (const EAbort&) {
        return;
    } catch (const std::exception& ex) {
        // An error inside the error display (a handler raising again) is
        // shown plainly instead of recursing.
        if (m_inException || !OnException) {
            const auto* own = dynamic_cast<const Exception*>(&ex);
            ShowException(own ? own->Message() : QString::fromUtf8(ex.what()));
            return;
        }
        m_inException = true;
        try {
            OnException(nullptr, ex);
        } catch (...) {
            m_inException = false;
            HandleException(std::current_exception());
            return;
        }
        m_inException = false;
    } catch (...) {
        ShowException(QStringLiteral("Unknown exception"));
    }
}

int TApplication::MessageBox(const QString& text, const QString& caption, UINT flags)
{
    return ShowMessageBox(text, caption, flags);
}

// ---------------------------------------------------------------- screen

void TScreen::SetCursor(TCursor c)
{
    if (c == m_cursor) return;
    if (m_cursor != crDefault) QApplication::restoreOverrideCursor();
    m_cursor = c;
    if (c != crDefault) QApplication::setOverrideCursor(QCursor(CursorShapeOf(c)));
}

int TScreen::Width() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TForm* TScreen::ActiveForm() const
{
    QWidget* w = QApplication::activeWindow();
    return w ? dynamic_cast<TForm*>(w) : nullptr;
}

QWidget* TScreen::ActiveControl() const { return QApplication::focusWidget(); }

TBusyCursor::TBusyCursor(TCursor c) : m_saved(Screen->Cursor()) { Screen->SetCursor(c); }

TBusyCursor::~TBusyCursor() { Screen->SetCursor(m_saved); }

// ---------------------------------------------------------------- notify guard

bool TQtApplication::notify(QObject* receiver, QEvent* e)
{
    bool result = false;
    Application->Guard([&] { result = QApplication::notify(receiver, e); });
    return result;
}
