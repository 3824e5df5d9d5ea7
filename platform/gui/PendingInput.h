#pragma once
// Input that the window system has handed over but that has not been delivered
// yet: the look-ahead of the controls that ask whether the user already clicked
// again (a click queued while the program was busy).
#include <QPoint>
#include <functional>

class QWidget;

// A queued left-button press or release, as it would be delivered.
struct TPendingMouseButton {
    QWidget* Receiver = nullptr;   // the widget under the point, or the one holding the mouse
    QPoint Pos;                    // in the receiver's coordinates
    bool Press = false;            // a press (a second press makes the double-click), else a release
};

enum class TPendingVerdict { Skip, Keep, Take };

// Shows the queued left-button presses and releases to `decide`, oldest first,
// until it answers Keep (leave it queued and stop) or Take (remove it, so it is
// never delivered, and stop); Skip goes on to the next one. Returns whether one
// was taken. Everything else in the queue stays in order.
bool TakePendingLeftButton(const std::function<TPendingVerdict(const TPendingMouseButton&)>& decide);
