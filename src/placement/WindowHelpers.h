#pragma once
// The shared module's window helpers: z-order and dragging.
class QPoint;
class QWidget;

// Keeps the window above every window that is not itself kept on top, or
// puts it back among the normal windows. Position and size do not change.
void SetTopMost(QWidget& window, bool topMost);

// Moves the window with the pointer until the left button is released; the
// button went down with the pointer at pressedAt (screen pixels). False when
// the window has no native window yet.
bool DragWindow(QWidget& window, QPoint pressedAt);
