#pragma once
// Drives from the mount table, with the kernel's block device attributes for
// their types; volumes taken off line through udisks2 on the system bus, as a
// desktop user may without root.
#include "DriveLetters.h"
#include "platform/IDrives.h"

#include <map>
#include <memory>
#include <string>

class UdisksClient;

class LinuxDrives : public IDrives {
public:
    // mountInfo: /proc/self/mountinfo; sysRoot: the folder holding dev/block
    // (/sys). Both can point at fixtures.
    explicit LinuxDrives(std::string mountInfo = "/proc/self/mountinfo", std::string sysRoot = "/sys");
    ~LinuxDrives() override;
    LinuxDrives(const LinuxDrives&) = delete;
    LinuxDrives& operator=(const LinuxDrives&) = delete;

    DriveTable scan() override;
    std::string letterOf(const std::string& path) override;
    std::string rootOf(const std::string& name) override;
    std::string systemDrive() const override { return "C:"; }

    int openVolume(const std::string& name, std::int32_t& handle, const Wait& wait) override;
    int lockVolume(std::int32_t handle, const Wait& wait) override;
    int dismountVolume(std::int32_t handle, const Wait& wait) override;
    int allowMediaRemoval(std::int32_t handle, const Wait& wait) override;
    int ejectMedia(std::int32_t handle, const Wait& wait) override;
    int closeVolume(std::int32_t handle) override;
    void removeLetter(const std::string& name) override;

    // The type of the block device major:minor from its attributes.
    std::int32_t blockType(std::uint32_t major, std::uint32_t minor) const;

private:
    struct Volume;
    void refresh();

    std::string m_mountInfo, m_sysRoot;
    DriveLetters m_letters;
    std::map<std::uint64_t, std::int32_t> m_types; // by device number, for the lettered ones
    std::unique_ptr<UdisksClient> m_udisks;        // made at the first eject
    std::map<std::int32_t, std::unique_ptr<Volume>> m_volumes;
    std::int32_t m_nextHandle = 1;
};

// The errno-style number of a udisks2 or D-Bus error name (never 0).
int UdisksErrorNumber(const std::string& errorName);
