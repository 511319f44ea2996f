// Prints what the drive poller's tick costs: the first-USB-drive search over
// a mount table of 200 mounts (letters, types from /sys), median and p99;
// then three hours of ticks (720 an hour, one per 5 s) in a row, with the open files and
// the resident size before and after.
#include "drives/UsbDrives.h"
#include "platform/linux/FileReader.h"
#include "platform/linux/LinuxDrives.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int openFiles() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(dir)) {
            count += entry->d_name[0] != '.';
        }
        ::closedir(dir);
    }
    return count;
}

long residentKiB() {
    std::string text;
    ReadSmallFile("/proc/self/statm", text);
    long pages = 0, resident = 0;
    std::sscanf(text.c_str(), "%ld %ld", &pages, &resident);
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

int main() {
    // A mount table like a busy desktop's: "/", pseudo filesystems, snaps,
    // bind mounts, and some disks; the system's own /sys gives the types.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "trafalo-bench-drives";
    std::filesystem::create_directories(folder);
    {
        std::ofstream table(folder / "mountinfo");
        table << "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
        for (int i = 0; i < 199; ++i) {
            const int kind = i % 4;
            if (kind == 0) {
                table << 10 + i << " 1 0:" << 30 + i << " / /sys/fs/x" << i << " rw - cgroup2 cgroup2 rw\n";
            } else if (kind == 1) {
                table << 10 + i << " 1 7:" << i << " / /snap/app" << i << " ro - squashfs /dev/loop" << i
                      << " ro\n";
            } else if (kind == 2) {
                table << 10 + i << " 1 8:1 /home /srv/bind" << i << " rw - ext4 /dev/sda1 rw\n";
            } else {
                table << 10 + i << " 1 8:" << 16 + (i % 12) << " / /media/disk" << i
                      << " rw - ext4 /dev/sdb rw\n";
            }
        }
    }
    LinuxDrives drives((folder / "mountinfo").string(), "/sys");
    UsbDrives usb(drives);
    std::vector<double> us;
    for (int i = 0; i < 520; ++i) {
        const auto start = std::chrono::steady_clock::now();
        usb.FirstUsbDrive();
        const auto end = std::chrono::steady_clock::now();
        if (i >= 20) {
            us.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
    }
    std::sort(us.begin(), us.end());
    std::printf("poll tick, 200 mounts: median %.1f us, p99 %.1f us\n", us[us.size() / 2],
                us[us.size() * 99 / 100]);
    for (int hour = 1; hour <= 3; ++hour) {
        const int filesBefore = openFiles();
        const long residentBefore = residentKiB();
        for (int i = 0; i < 720; ++i) {
            usb.FirstUsbDrive();
        }
        std::printf("hour %d of ticks (720): open files %d -> %d, resident %ld -> %ld KiB\n", hour,
                    filesBefore, openFiles(), residentBefore, residentKiB());
    }
    std::filesystem::remove_all(folder);
    return 0;
}
