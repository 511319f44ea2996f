// Drive types from a fixture tree laid out like /sys/dev/block, drives read
// from a fixture mount table, and udisks2's errors as numbers.
#include "platform/linux/LinuxDrives.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

TEST(LinuxDrives, TypesFromTheBlockDevicesAndTheMountTable) {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    const fs::path devices = root / "devices";
    // A USB stick's partition, an internal disk, a CD, an unlocked LUKS
    // volume on the stick, a loop device.
    write(devices / "sdb/removable", "1\n");
    write(devices / "sdb/sdb1/partition", "1\n");
    write(devices / "sda/removable", "0\n");
    write(devices / "sda/sda2/partition", "2\n");
    write(devices / "sr0/removable", "1\n");
    write(devices / "sr0/device/type", "5\n");
    write(devices / "dm-0/removable", "0\n");
    fs::create_directories(devices / "dm-0/slaves");
    fs::create_directory_symlink(devices / "sdb/sdb1", devices / "dm-0/slaves/sdb1");
    write(devices / "loop0/removable", "0\n");
    const std::pair<const char*, fs::path> links[] = {{"8:17", devices / "sdb/sdb1"},
                                                      {"8:2", devices / "sda/sda2"},
                                                      {"11:0", devices / "sr0"},
                                                      {"253:0", devices / "dm-0"},
                                                      {"7:0", devices / "loop0"}};
    fs::create_directories(root / "dev/block");
    for (const auto& [name, target] : links) {
        fs::create_directory_symlink(target, root / "dev/block" / name);
    }
    write(root / "mountinfo", "1 0 8:2 / / rw - ext4 /dev/sda2 rw\n"
                              "2 1 8:17 / /media/stick rw - vfat /dev/sdb1 rw\n"
                              "3 1 11:0 / /media/cd ro - iso9660 /dev/sr0 ro\n"
                              "4 1 253:0 / /media/secret rw - ext4 /dev/mapper/luks rw\n"
                              "5 1 7:0 / /media/image rw - ext4 /dev/loop0 rw\n"
                              "6 1 0:77 / /net rw - cifs //server/share rw\n"
                              "7 1 8:99 / /gone rw - ext4 /dev/sdz1 rw\n");
    LinuxDrives drives((root / "mountinfo").string(), root.string());
    const DriveTable table = drives.scan();
    const std::int32_t expected[] = {kDriveNoRootDir, kDriveNoRootDir, kDriveFixed, kDriveRemovable,
                                     kDriveCdRom,     kDriveRemovable, kDriveFixed, kDriveRemote,
                                     kDriveUnknown,   kDriveNoRootDir};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(table[i].type, expected[i]) << static_cast<char>('A' + i);
        EXPECT_EQ(table[i].ready, expected[i] != kDriveNoRootDir) << static_cast<char>('A' + i);
    }
    EXPECT_EQ(drives.letterOf("/media/stick/photos"), "D");
    EXPECT_EQ(drives.letterOf("/usr/bin"), "C");
    std::int32_t handle = 0;
    EXPECT_EQ(drives.openVolume("Q:", handle, [](int) { return true; }), 2); // no such drive
    EXPECT_EQ(handle, -1);
    EXPECT_EQ(drives.lockVolume(5, [](int) { return true; }), 9); // never opened
}

TEST(UdisksErrorNumber, ErrnoStyleAndNeverZero) {
    const std::pair<const char*, int> cases[] = {
        {"org.freedesktop.UDisks2.Error.DeviceBusy", 16},
        {"org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain", 13},
        {"org.freedesktop.UDisks2.Error.NotAuthorized", 13},
        {"org.freedesktop.UDisks2.Error.Timedout", 110},
        {"org.freedesktop.DBus.Error.NoReply", 110},
        {"org.freedesktop.UDisks2.Error.NotMounted", 22},
        {"org.freedesktop.DBus.Error.ServiceUnknown", 2},
        {"org.freedesktop.UDisks2.Error.Failed", 5},
        {"", 5},
    };
    for (const auto& [name, number] : cases) {
        EXPECT_EQ(UdisksErrorNumber(name), number) << name;
    }
}

} // namespace
