#pragma once
// Ends the running processes named by the kill list.
#include "platform/IClock.h"
#include "platform/IProcesses.h"

#include <functional>
#include <string>
#include <string_view>

// For each entry in file order, asks every matching process to end, one per
// search and at most 101 in a row; a process still running after a grace of
// about 2 s is made to end. Never this program, process 1, kernel threads,
// or another user's processes. wait runs the window's events for at most
// maxMs and says false when the program is ending.
void KillListedProcesses(std::string_view listText, IProcesses& processes, IClock& clock,
                         const std::string& executableSuffix, const std::function<bool(int maxMs)>& wait);

inline constexpr int kKillGraceMs = 2000;
