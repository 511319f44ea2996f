#pragma once
// The shared module's window helpers: z-order and the system's own move.
class QWidget;

// Keeps the window above every window that is not itself kept on top, or
// puts it back among the normal windows. Position and size do not change.
void SetTopMost(QWidget& window, bool topMost);

// Hands the window to the window manager's own move, which follows the
// pointer until the button is released. False when the platform has none.
bool DragWindow(QWidget& window);
