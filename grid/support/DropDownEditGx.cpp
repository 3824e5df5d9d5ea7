#include "DropDownEditGx.h"
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

bool IsEditorOrDropDownGx(QWidget* editor, QWidget* dropDown, QWidget* widget)
{
    if (!widget)
        return false;
    return widget == editor || editor->isAncestorOf(widget) ||
           (dropDown && (widget == dropDown || dropDown->isAncestorOf(widget)));
}

bool DropDownHoldsFocusGx(QWidget* dropDown)
{
    if (!dropDown)
        return false;
    if (QApplication::activeWindow() == dropDown)
        return true;
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == dropDown || dropDown->isAncestorOf(focus));
}

void HideDropDownGx(QWidget* dropDown, QWidget* editor)
{
    const bool hadFocus = DropDownHoldsFocusGx(dropDown);
    dropDown->hide();
    if (!hadFocus)
        return;
    // Asked after the hiding, so the window system activates the editor's window last.
    if (QWidget* window = editor->window(); window->isVisible())
        window->activateWindow();
    editor->setFocus(Qt::OtherFocusReason);
}

void CancelMouseCaptureGx()
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

TDropDownActivationGuardGx::TDropDownActivationGuardGx(QWidget* dropDown, QWidget* owner)
    : QObject(dropDown)
    , FOwner(owner)
{
    dropDown->installEventFilter(this);
}

bool TDropDownActivationGuardGx::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && FOwner && FOwner->window() != watched) {
        QPointer<QWidget> owner = FOwner->window();
        QMetaObject::invokeMethod(
            this,
            [owner] {
                if (owner && owner->isVisible())
                    owner->activateWindow();
            },
            Qt::QueuedConnection);
    }
    return false;
}
