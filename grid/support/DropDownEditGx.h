#pragma once
// Small pieces shared by the editors that open a drop-down of their own (the combo
// box's list, the number editor's calculator): who counts as part of the editor,
// where the focus went, the mouse capture, and a guard that hands the activation
// back when the window system activates a drop-down on a click.
#include "EditButtonsGx.h"
#include "platform/gui/Messages.h"
#include <QObject>

class QWidget;

// The widget is the editor, its drop-down, or a child of either.
bool IsEditorOrDropDownGx(QWidget* editor, QWidget* dropDown, QWidget* widget);
// The drop-down is the active window, or the focus lies in it.
bool DropDownHoldsFocusGx(QWidget* dropDown);
// Hides the drop-down; when it held the focus, the editor takes it back, and the
// editor's window the activation that the drop-down's window may have had.
void HideDropDownGx(QWidget* dropDown, QWidget* editor);
// Ends a mouse capture held by any window.
void CancelMouseCaptureGx();
// No Shift, Ctrl or Alt key is held.
inline bool NoShiftKeysGx(TShiftState shift)
{
    return !shift.contains(ssShift) && !shift.contains(ssCtrl) && !shift.contains(ssAlt);
}
// The button steps the value instead of dropping something down.
inline bool IsUpDownButtonGx(const TEditButtonGx* button)
{
    return button->Style() == ebsUpDownGx || button->Style() == ebsAltUpDownGx;
}

// Installed on a drop-down: when it becomes the active window, the activation goes
// back to the owner's window (after the event), so the owner keeps the keys.
class TDropDownActivationGuardGx : public QObject {
public:
    TDropDownActivationGuardGx(QWidget* dropDown, QWidget* owner);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* FOwner;
};
