#include "platform/linux/DriveLetters.h"

#include <gtest/gtest.h>

namespace {

std::string line(int id, const char* device, const char* mountPoint, const char* type, const char* source) {
    return std::to_string(id) + " 1 " + device + " / " + mountPoint + " rw,relatime shared:1 - " + type +
           " " + source + " rw\n";
}

TEST(ParseMountInfo, FieldsEscapesAndJunk) {
    const std::string text =
        "22 1 8:1 / / rw,relatime shared:1 master:2 - ext4 /dev/sda1 rw,errors=remount-ro\n"
        "garbage line\n"
        "40 22 8:17 /sub /media/my\\040stick rw - vfat /dev/sdb1 rw\n"
        "41 22 0:50 / /net rw - nfs4 server:/export rw\n"
        "42 22 8:18 / relative rw - ext4 /dev/sdb2 rw\n" // not absolute
        "43 22 8:19 / /x rw shared:1\n";                 // no separator
    EXPECT_EQ(ParseMountInfo(text), (std::vector<MountEntry>{{8, 1, "/", "ext4", "/dev/sda1"},
                                                             {8, 17, "/media/my stick", "vfat", "/dev/sdb1"},
                                                             {0, 50, "/net", "nfs4", "server:/export"}}));
    EXPECT_TRUE(ParseMountInfo("").empty());
    EXPECT_TRUE(ParseMountInfo("1 2 8:x / / rw - ext4 /dev/a rw\n").empty());
}

struct Letters {
    DriveLetters letters;
    std::string update(const std::string& text) {
        letters.update(ParseMountInfo(text));
        std::string shown;
        for (char l = 'A'; l <= 'Z'; ++l) {
            if (const LetteredFs* fs = letters.at(l)) {
                shown += std::string(1, l) + "=" + fs->source + " ";
            }
        }
        return shown;
    }
};

TEST(DriveLetters, RootIsCOthersKeepTheLowestFreeLetterWhileMounted) {
    Letters l;
    const std::string root = line(1, "0:30", "/", "overlay", "overlay") +
                             line(2, "0:5", "/proc", "proc", "proc") +
                             line(3, "7:0", "/snap/core", "squashfs", "/dev/loop0") +
                             line(4, "7:1", "/snap/x", "erofs", "/dev/loop1");
    const std::string sdb1 = line(10, "8:17", "/media/a", "ext4", "/dev/sdb1");
    const std::string sdb1Bind = line(11, "8:17", "/home/u/a", "ext4", "/dev/sdb1");
    const std::string sdc1 = line(12, "8:33", "/media/b", "vfat", "/dev/sdc1");
    const std::string nfs = line(13, "0:60", "/net", "nfs", "srv:/x");
    EXPECT_EQ(l.update(root), "C=overlay ");
    EXPECT_EQ(l.update(root + sdb1 + sdb1Bind), "C=overlay D=/dev/sdb1 ");
    EXPECT_EQ(l.update(root + sdb1 + sdc1 + nfs), "C=overlay D=/dev/sdb1 E=/dev/sdc1 F=srv:/x ");
    // D goes away: E and F keep theirs, the next new one takes D.
    EXPECT_EQ(l.update(root + sdc1 + nfs), "C=overlay E=/dev/sdc1 F=srv:/x ");
    EXPECT_EQ(l.update(root + sdc1 + nfs + sdb1 + sdb1Bind), "C=overlay D=/dev/sdb1 E=/dev/sdc1 F=srv:/x ");
    EXPECT_EQ(l.letters.letterOf("/home/u/a/docs"), 'D'); // a second mount point of D
    EXPECT_EQ(l.letters.letterOf("/media/bb"), 'C');
    EXPECT_EQ(l.letters.letterOf("/media/b"), 'E');
    l.letters.release('E'); // seen again after its letter was freed: a new one
    EXPECT_EQ(l.update(root + sdc1 + nfs), "C=overlay D=/dev/sdc1 F=srv:/x ");
}

TEST(DriveLetters, NothingPastZ) {
    Letters l;
    std::string text = line(1, "8:1", "/", "ext4", "/dev/sda1");
    for (int i = 0; i < 30; ++i) {
        const std::string device = "9:" + std::to_string(i);
        text += line(10 + i, device.c_str(), ("/m" + std::to_string(i)).c_str(), "ext4",
                     ("/dev/md" + std::to_string(i)).c_str());
    }
    l.update(text);
    ASSERT_NE(l.letters.at('Z'), nullptr);
    EXPECT_EQ(l.letters.at('Z')->source, "/dev/md22"); // D..Z: 23 letters
    EXPECT_EQ(l.letters.letterOf("/m23"), 'C');
}

} // namespace
