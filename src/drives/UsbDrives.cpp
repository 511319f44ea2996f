#include "drives/UsbDrives.h"

#include <cctype>

namespace {

std::string driveName(std::size_t index) {
    return std::string(1, static_cast<char>('A' + index)) + ":";
}

} // namespace

void UsbDrives::forget(const std::string& name) {
    for (std::size_t at = KnownFixedDrives.find(name); at != std::string::npos;
         at = KnownFixedDrives.find(name)) {
        KnownFixedDrives.erase(at, name.size());
    }
}

bool UsbDrives::IsUsbDrive(const std::string& name, const DriveState& state) {
    if (state.type == kDriveNoRootDir) {
        forget(name); // the drive has gone
        return false;
    }
    if (state.type != kDriveRemovable && state.type != kDriveFixed) {
        return false;
    }
    if (!state.ready) {
        forget(name); // an empty card reader slot
        return false;
    }
    if (state.type == kDriveRemovable) {
        return true; // exclusions are for fixed disks only
    }
    if (!InitialDriveScanDone) {
        KnownFixedDrives += name; // an internal disk
        return false;
    }
    if (!name.empty() && ExcludedDriveLetters.find(name[0]) != std::string::npos) {
        return false;
    }
    return KnownFixedDrives.find(name) == std::string::npos;
}

std::string UsbDrives::FirstUsbDrive() {
    const DriveTable table = m_drives.scan();
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::string name = driveName(i);
        if (IsUsbDrive(name, table[i])) {
            return name;
        }
    }
    InitialDriveScanDone = true;
    return {};
}

void UsbDrives::EjectAllUsbDrives(EjectContext& context) {
    for (std::size_t i = 0; i < 26; ++i) {
        // Read again for each letter: an ejection before it changes the drives.
        const DriveState state = m_drives.scan()[i];
        const std::string name = driveName(i);
        if ((state.type == kDriveRemovable || state.type == kDriveFixed) && IsUsbDrive(name, state)) {
            EjectDrive(name, context);
            if (!context.wait(0)) {
                return;
            }
        }
    }
}

std::string ToggleExcludedLetter(std::string letters, char letter, bool checked) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    std::size_t at = std::string::npos;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(letters[i])) == upper) {
            at = i;
            break;
        }
    }
    if (checked && at == std::string::npos) {
        letters += upper;
    } else if (!checked && at != std::string::npos) {
        letters.erase(at, 1);
    }
    return letters;
}

ExtendedButton ChooseExtendedButton(bool showExtendedButton, bool volumeRequested, std::size_t firstUsbLength,
                                    std::int32_t displayMode) {
    ExtendedButton b;
    if (!showExtendedButton) {
        return b;
    }
    b.unchanged = false;
    const bool tiny = displayMode == 2;
    if (volumeRequested) {
        b.volume = tiny;
        b.widen = true;
    } else {
        b.eject = firstUsbLength != 0 && tiny;
        b.volume = firstUsbLength == 0 && tiny;
        b.widen = firstUsbLength != 0;
    }
    return b;
}
