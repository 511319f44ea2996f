#pragma once
// The main window's place on the screen as the display server has it.
//
// Qt keeps its own idea of where a top-level window stands, and that idea
// goes stale where the window manager placed or moved the window without
// Qt taking note (openbox does, for a window placed before it was mapped).
// A resize sent from the stale idea then moves the window there (to the
// screen's left edge, on a first start), and everything placed from it (a
// menu under the window, the magnetic edges) lands beside the window.
#include "platform/IWindowSystem.h"

#include <QPoint>
#include <QSize>

class QWidget;

// The window's top-left corner in logical pixels, read from the display
// server where it can tell; Qt's idea of it is corrected to match, so the
// next resize or move starts from where the window really stands.
QPoint SyncWindowPlace(QWidget& window, const IWindowSystem& windows);

// Gives the window a fixed size; its top-left corner stays where it stands
// on the screen.
void ResizeInPlace(QWidget& window, const IWindowSystem& windows, QSize size);

// Keeps the window above every window that is not itself kept on top, or
// puts it back among the normal windows. Position and size do not change.
void SetTopMost(QWidget& window, bool topMost);
