#pragma once
// Which drives count as USB drives: removable ones, and fixed ones that
// appeared after the first search found none (internal disks are learned
// before that), unless their letter is excluded.
#include "drives/EjectMedia.h"
#include "platform/IDrives.h"

#include <cstddef>
#include <cstdint>
#include <string>

class UsbDrives {
public:
    explicit UsbDrives(IDrives& drives) : m_drives(drives) {}

    // Whether the drive ("E:") counts as USB, given its state now. May learn
    // or forget it as an internal disk.
    bool IsUsbDrive(const std::string& name, const DriveState& state);
    // The first drive from A: to Z: that counts as USB, or empty text.
    std::string FirstUsbDrive();
    // Ejects every drive that counts as USB, in letter order, each to its end.
    void EjectAllUsbDrives(EjectContext& context);

    // Letters excluded from ejection, upper case, in the order excluded ("DF").
    std::string ExcludedDriveLetters;
    // Fixed drives learned as internal ("C:D:"); entries may repeat.
    std::string KnownFixedDrives;
    bool InitialDriveScanDone = false;

private:
    void forget(const std::string& name);

    IDrives& m_drives;
};

// Toggles letter's exclusion: added when checked and absent, its first
// occurrence (any case) removed when unchecked.
std::string ToggleExcludedLetter(std::string letters, char letter, bool checked);

// What one poll of the extended button shows. showButton: -1 the speaker
// asked for, else the length of the first USB drive's name (2, or 0 for none).
struct ExtendedButton {
    bool eject = false, volume = false;
    // The window is widened by the button column.
    bool widen = false;
    // The eject and speaker buttons are left as they are (the option is off).
    bool unchanged = true;
};
ExtendedButton ChooseExtendedButton(bool showExtendedButton, bool volumeRequested, std::size_t firstUsbLength,
                                    std::int32_t displayMode);
