// Which files code may be loaded from: owned by root or this user, in a
// folder owned likewise, neither writable by the group or others.
#include "platform/FileSystem.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(TrustedToLoad, OwnersAndWriteBitsOfTheFileAndItsFolder) {
    struct Case {
        mode_t folderMode, fileMode;
        bool otherOwner; // the file belongs to another user (root only)
        bool trusted;
    };
    const Case cases[] = {
        {0755, 0644, false, true},  {0700, 0600, false, true},  {0775, 0644, false, false},
        {0757, 0644, false, false}, {1777, 0644, false, false}, {0755, 0664, false, false},
        {0755, 0646, false, false}, {0755, 0644, true, false},
    };
    for (const Case& c : cases) {
        if (c.otherOwner && ::getuid() != 0) {
            continue; // handing a file to another user needs root
        }
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString() + "/lib";
        const std::string file = folder + "/module.so";
        std::filesystem::create_directory(folder);
        std::ofstream(file) << "x";
        ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode == 1777 ? 01777 : c.folderMode), 0);
        if (c.otherOwner) {
            ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        }
        std::string why;
        EXPECT_EQ(TrustedToLoad(file, why), c.trusted)
            << std::oct << c.folderMode << " " << c.fileMode << " " << why;
        EXPECT_EQ(why.empty(), c.trusted) << why;
    }
    std::string why;
    EXPECT_FALSE(TrustedToLoad("/nonexistent/module.so", why));
    EXPECT_NE(why.find("cannot find"), std::string::npos) << why;
}
