#pragma once
// The parts of the system the Free Memory tool and its window use.

class IClock;
class IMemoryClaim;
class ISettingsStore;
class IShell;
class ISystemInfo;

struct FreeMemServices {
    ISettingsStore& settings;
    ISystemInfo& system; // the memory status
    IClock& clock;
    IShell& shell;
    IMemoryClaim* memoryClaim; // none where memory cannot be claimed: a free does nothing
};
