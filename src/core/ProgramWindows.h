#pragma once
// The program's loaded top-level windows: the main window and the Free Memory
// window. The process lives while either is loaded, whichever goes first, and
// ends with the last. Window's thread only.
#include <functional>

class QObject;

namespace ProgramWindows {
// A window finished loading; close unloads it the way its own close does.
void Loaded(QObject* window, std::function<void()> close);
// A window unloaded; when it was the last, the event loop is asked to end.
void Unloaded(QObject* window);
// The session asked the program to end: every loaded window closes (each
// saves its own settings on the way).
void CloseAll();
int Count();
} // namespace ProgramWindows
