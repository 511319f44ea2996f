#include "drives/EjectMedia.h"

#include <cctype>

namespace {

// The lock is tried in 21 windows of 50 ms (1000 / 20), about 1.05 s in all.
constexpr std::int64_t kLockWindowMs = 1000 / 20;
constexpr int kLockTries = 21;

void report(EjectContext& c, const std::string& text, std::int32_t sound) {
    c.alert.ShowMessage(text, kEjectAlertMs, sound, 2, "Tahoma", 8.0F);
}

void reportFailure(EjectContext& c, const std::string& drive, int error, const char* step) {
    report(c, "Eject Drive " + drive + "\r\nError " + std::to_string(error) + ": " + step,
           kEjectFailureSound);
}

// The system drive is never opened; only removable, fixed and CD-ROM drives are.
bool mayOpen(EjectContext& c, const std::string& drive, std::int32_t type) {
    return drive != c.drives.systemDrive() &&
           (type == kDriveRemovable || type == kDriveFixed || type == kDriveCdRom);
}

// One lock request per window; a lock that never succeeds gives up after the
// last window. Returns 0 once locked, else the last error (or 125 when the
// program is ending).
int lockVolume(EjectContext& c, std::int32_t handle) {
    int error = 0;
    for (int attempt = 0; attempt < kLockTries; ++attempt) {
        const std::int64_t end = c.clock.tickMs() + kLockWindowMs;
        error = c.drives.lockVolume(handle, c.wait);
        if (error == 0) {
            return 0;
        }
        // Waits out the rest of the window with the window's events running.
        for (std::int64_t now = c.clock.tickMs(); now < end; now = c.clock.tickMs()) {
            if (!c.wait(static_cast<int>(end - now))) {
                return 125;
            }
        }
    }
    return error;
}

} // namespace

void EjectDrive(std::string name, EjectContext& c) {
    if (name.empty()) {
        return;
    }
    const std::string drive =
        std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])))) + ":";
    const std::int32_t type = drive[0] >= 'A' && drive[0] <= 'Z'
                                  ? c.drives.scan()[static_cast<std::size_t>(drive[0] - 'A')].type
                                  : kDriveNoRootDir;
    if (!mayOpen(c, drive, type)) {
        return; // no system call failed: nothing to report
    }
    std::int32_t handle = -1;
    if (const int error = c.drives.openVolume(drive, handle, c.wait)) {
        if (error != 125) {
            reportFailure(c, drive, error, "Opening Volume");
        }
        return;
    }
    auto stop = [&](int error, const char* step) {
        if (step && error != 125) {
            reportFailure(c, drive, error, step);
        }
        c.drives.closeVolume(handle);
    };
    if (const int error = lockVolume(c, handle)) {
        // A fixed disk in use is left alone quietly.
        stop(error, type == kDriveFixed ? nullptr : "Locking Volume");
        return;
    }
    if (const int error = c.drives.dismountVolume(handle, c.wait)) {
        stop(error, "Dismounting Volume");
        return;
    }
    if (c.drives.allowMediaRemoval(handle, c.wait) != 0) {
        stop(0, nullptr);
        return;
    }
    const int ejected = c.drives.ejectMedia(handle, c.wait);
    if (ejected == 0) {
        report(c, "Drive " + drive + " Ejected\r\nMedia may be Safely Removed from Drive " + drive,
               kEjectSuccessSound);
    } else if (ejected == 125) {
        stop(0, nullptr);
        return;
    }
    if (const int error = c.drives.closeVolume(handle)) {
        reportFailure(c, drive, error, "Closing Volume");
        return;
    }
    if (!c.wait(0)) {
        return;
    }
    c.drives.removeLetter(drive);
}

std::uint32_t ControlCode(std::uint32_t deviceType, std::uint32_t function, std::uint32_t method,
                          std::uint32_t access) {
    return (deviceType << 16) | (access << 14) | (function << 2) | method;
}
