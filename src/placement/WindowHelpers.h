#pragma once
// The shared module's window helpers: z-order and dragging.
class QPoint;
class QWidget;

// Moves the window with the pointer until the left button is released; the
// button went down with the pointer at pressedAt (screen pixels). False when
// the window has no native window yet.
bool DragWindow(QWidget& window, QPoint pressedAt);
