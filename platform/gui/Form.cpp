#include "Form.h"

#include "Application.h"
#include "Dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScreen>

namespace {

// Next (previous) widget in tab order within a window, or null.
QWidget* focusStep(QWidget* window, QWidget* cur, bool forward)
{
    QWidget* w = cur ? cur : window;
    for (int guard = 0; guard < 100000; ++guard) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == cur) return nullptr;
        if (w->window() == window && w != window && w->isVisibleTo(window) && w->isEnabled()
            && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy())
            return w;
        if (!cur && w == window) return nullptr;
    }
    return nullptr;
}

QPushButton* defaultButton(QWidget* window)
{
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->isDefault() && b->window() == window && b->isVisibleTo(window) && b->isEnabled()) return b;
    return nullptr;
}

// Key preview for focused widgets that are not our custom controls (those
// call the form themselves, in their own order).
class KeyPreviewFilter : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w != QApplication::focusWidget() || dynamic_cast<TCustomControl*>(w) || m_resending)
            return false;
        TForm* form = GetParentForm(w);
        if (!form || !form->KeyPreview()) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        WORD key = VirtualKeyFromQt(k->key());
        TShiftState shift = ShiftStateFromQt(k->modifiers(), QApplication::mouseButtons());
        bool consumed = false;
        QChar changed;
        Application->Guard([&] {
            if (e->type() == QEvent::KeyRelease) {
                if (k->isAutoRepeat()) return;
                form->DoKeyUp(key, shift);
                consumed = key == 0;
                return;
            }
            form->DoKeyDown(key, shift);
            if (key == 0) {
                consumed = true;
                return;
            }
            QChar ch = KeyPressCharFromQt(k->key(), k->modifiers(), k->text());
            if (ch == QChar(0)) return;
            QChar orig = ch;
            form->DoKeyPress(ch);
            if (ch == QChar(0))
                consumed = true;
            else if (ch != orig && ch.unicode() >= 32)
                changed = ch;
        });
        if (!changed.isNull() && !consumed) {
            // The handler replaced the character: the control gets the new one.
            QKeyEvent repl(QEvent::KeyPress, 0, k->modifiers() & Qt::ShiftModifier, QString(changed));
            m_resending = true;
            QApplication::sendEvent(w, &repl);
            m_resending = false;
            return true;
        }
        return consumed;
    }
private:
    bool m_resending = false;
};

void installKeyPreview()
{
    static KeyPreviewFilter* filter = nullptr;
    if (filter || !qApp) return;
    filter = new KeyPreviewFilter;
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

} // namespace

TForm* GetParentForm(QWidget* w)
{
    for (QWidget* p = w; p; p = p->parentWidget()) {
        if (auto* f = dynamic_cast<TForm*>(p)) return f;
        if (p->isWindow()) break;
    }
    return nullptr;
}

bool DispatchDialogKey(QWidget* from, WORD key, TShiftState shift)
{
    if (!from) return false;
    if (TForm* f = GetParentForm(from)) return f->DialogKey(key, shift);
    QWidget* window = from->window();
    switch (key) {
    case VK_TAB:
        if (shift.contains(ssCtrl) || shift.contains(ssAlt)) return false;
        if (QWidget* n = focusStep(window, from, !shift.contains(ssShift))) {
            n->setFocus(shift.contains(ssShift) ? Qt::BacktabFocusReason : Qt::TabFocusReason);
            return true;
        }
        return false;
    case VK_RETURN:
        if (QPushButton* b = defaultButton(window)) {
            b->click();
            return true;
        }
        return false;
    case VK_ESCAPE:
        if (auto* d = qobject_cast<QDialog*>(window)) {
            d->reject();
            return true;
        }
        return false;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- form

TForm::TForm(QWidget* AOwner) : QDialog(AOwner)
{
    installKeyPreview();
    setSizeGripEnabled(false);
}

TForm::~TForm()
{
    if (OnDestroy) Application->Guard([&] { OnDestroy(this); });
    if (Application->MainForm() == this) Application->SetMainForm(nullptr);
    if (m_loop) m_loop->quit();
}

void TForm::SetModalResult(TModalResult r)
{
    m_modalResult = r;
    if (r != mrNone && Modal())
        QMetaObject::invokeMethod(this, [this] { checkModalClose(); }, Qt::QueuedConnection);
}

void TForm::checkModalClose()
{
    if (m_modalResult == mrNone || !Modal()) return;
    bool ok = false;
    Application->Guard([&] { ok = CloseQuery(); });
    if (ok) {
        TCloseAction action = caHide;
        Application->Guard([&] {
            if (OnClose) OnClose(this, action);
        });
        if (action == caNone) ok = false;
    }
    if (!ok) {
        m_modalResult = mrNone;
        return;
    }
    if (m_loop) m_loop->quit();
}

TModalResult TForm::ShowModal()
{
    m_modalResult = mrNone;
    QPointer<TForm> self(this);
    if (DialogScript::Active()) {
        TShownDialog d{QStringLiteral("ShowModal"), windowTitle(),
                       objectName().isEmpty() ? QString::fromLatin1(metaObject()->className()) : objectName(),
                       -1, {}, mrCancel, QString(), false};
        m_scriptedModal = true;
        const int entry = DialogScript::Record(d);
        show();
        TScriptedAnswer a;
        TModalResult result = mrCancel;
        if (!DialogScript::Take(a)) {
            d.Unanswered = true;
        } else if (a.Actor) {
            TModalResult r = mrNone;
            Application->Guard([&] { r = a.Actor(*this); });
            Application->ProcessMessages();
            if (!self) return r;
            result = m_modalResult != mrNone ? m_modalResult : r;
        } else {
            result = a.Result;
        }
        DialogScript::SetResult(entry, result, d.Unanswered);
        m_scriptedModal = false;
        m_modalResult = result;
        hide();
        return result;
    }
    QWidget* previousFocus = QApplication::focusWidget();
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    m_loop = &loop;
    show();
    raise();
    activateWindow();
    while (self && m_modalResult == mrNone && isVisible()) loop.exec(QEventLoop::DialogExec);
    if (!self) return mrCancel;
    m_loop = nullptr;
    if (m_modalResult == mrNone) m_modalResult = mrCancel;
    hide();
    setWindowModality(Qt::NonModal);
    if (previousFocus) previousFocus->setFocus(Qt::ActiveWindowFocusReason);
    return m_modalResult;
}

void TForm::Show()
{
    show();
    raise();
    activateWindow();
}

void TForm::Close() { close(); }

void TForm::done(int r) { SetModalResult(r == QDialog::Rejected ? mrCancel : r); }

bool TForm::CloseQuery()
{
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TForm::closeEvent(QCloseEvent* e)
{
    if (Modal()) {
        e->ignore();
        SetModalResult(mrCancel);
        return;
    }
    bool ok = false;
    Application->Guard([&] { ok = CloseQuery(); });
    TCloseAction action = caHide;
    if (ok) Application->Guard([&] {
        if (OnClose) OnClose(this, action);
    });
    if (!ok || action == caNone) {
        e->ignore();
        return;
    }
    e->accept();
    if (action == caFree) deleteLater();
    if (Application->MainForm() == this) Application->Terminate();
}

void TForm::placeOnScreen()
{
    if (m_placed) return;
    m_placed = true;
    QRect area;
    switch (m_position) {
    case poScreenCenter:
    case poDesktopCenter:
        if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) area = s->availableGeometry();
        break;
    case poMainFormCenter:
        if (Application->MainForm() && Application->MainForm() != this)
            area = Application->MainForm()->frameGeometry();
        break;
    case poOwnerFormCenter:
        if (parentWidget()) area = parentWidget()->window()->frameGeometry();
        break;
    default:
        break;
    }
    if (!area.isEmpty()) move(area.center() - QPoint(width() / 2, height() / 2));
}

void TForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TForm::DoHide()
{
    if (OnHide) OnHide(this);
}

void TForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    placeOnScreen();
    Application->Guard([&] { DoShow(); });
}

void TForm::hideEvent(QHideEvent* e)
{
    QDialog::hideEvent(e);
    if (e->spontaneous()) return;
    Application->Guard([&] { DoHide(); });
}

void TForm::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange) {
        Application->Guard([&] {
            if (isActiveWindow()) {
                if (OnActivate) OnActivate(this);
            } else if (OnDeactivate) {
                OnDeactivate(this);
            }
        });
    }
}

// Keys that reach the form itself: those its controls left unhandled.
// Enter and Esc work through the default and cancel buttons only; a form
// without a cancel button stays open on Esc.
void TForm::keyPressEvent(QKeyEvent* e)
{
    WORD key = VirtualKeyFromQt(e->key());
    if ((key == VK_RETURN || key == VK_ESCAPE)) {
        bool used = false;
        Application->Guard([&] { used = DialogKey(key, ShiftStateFromQt(e->modifiers())); });
        if (used) {
            e->accept();
            return;
        }
    }
    e->ignore();
}

bool TForm::DialogKey(WORD key, TShiftState shift)
{
    if (shift.contains(ssAlt) || shift.contains(ssCtrl)) return false;
    switch (key) {
    case VK_TAB:
        SelectNext(!shift.contains(ssShift));
        return true;
    case VK_LEFT:
    case VK_UP:
        SelectNext(false);
        return true;
    case VK_RIGHT:
    case VK_DOWN:
        SelectNext(true);
        return true;
    case VK_RETURN: {
        if (!shift.empty() && !(shift == TShiftState(ssShift))) return false;
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (focused && focused->window() == this && focused->isEnabled()) {
            focused->click();
            return true;
        }
        if (QPushButton* b = defaultButton(this)) {
            b->click();
            return true;
        }
        return false;
    }
    case VK_ESCAPE:
        for (TButton* b : findChildren<TButton*>()) {
            if (b->Cancel() && b->window() == this && b->isVisibleTo(this) && b->isEnabled()) {
                b->click();
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

void TForm::DoKeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TForm::DoKeyPress(QChar& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TForm::DoKeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

QList<QObject*> TForm::Components() const
{
    QList<QObject*> out;
    for (QObject* o : findChildren<QObject*>()) {
        const QString n = o->objectName();
        if (!n.isEmpty() && !n.startsWith(QLatin1String("qt_"))) out.append(o);
    }
    return out;
}

QObject* TForm::FindComponent(const QString& name) const
{
    if (name.isEmpty()) return nullptr;
    for (QObject* o : findChildren<QObject*>())
        if (o->objectName().compare(name, Qt::CaseInsensitive) == 0) return o;
    return nullptr;
}

QWidget* TForm::ActiveControl() const
{
    QWidget* f = QApplication::focusWidget();
    if (f && f->window() == this) return f;
    QWidget* own = focusWidget();
    return own && own != this ? own : nullptr;
}

void TForm::SetActiveControl(QWidget* w)
{
    if (w) w->setFocus(Qt::OtherFocusReason);
}

void TForm::SelectNext(bool forward)
{
    QWidget* cur = ActiveControl();
    if (QWidget* n = focusStep(this, cur, forward))
        n->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

LRESULT TForm::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_NEXTDLGCTL:
        if (LParam) {
            if (auto* w = reinterpret_cast<QWidget*>(WParam)) SetActiveControl(w);
        } else {
            SelectNext(WParam == 0);
        }
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------- button

TButton::TButton(QWidget* parent) : TButton(QString(), parent) {}

TButton::TButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        QPointer<TButton> self(this);
        TForm* form = GetParentForm(this);
        Application->Guard([&] {
            if (form && m_modalResult != mrNone) form->SetModalResult(m_modalResult);
            if (OnClick) OnClick(this);
        });
    });
}

void TButton::Click() { click(); }
