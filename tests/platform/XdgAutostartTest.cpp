// Session start-up entries written to a real autostart folder.
#include "platform/linux/XdgAutostart.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct ExecCase {
    const char* path;
    std::optional<std::string> exec;
};

TEST(DesktopExecValue, QuotesAndEscapesAsTheEntryFormatNeeds) {
    const ExecCase cases[] = {
        {"/opt/trafalo/trafalo", "/opt/trafalo/trafalo"},
        {"/home/ann/My Apps/trafalo", "\"/home/ann/My Apps/trafalo\""},
        // Inside quotes: \" \` \$ \\, then every backslash doubled for the string value.
        {"/opt/a$b/t", "\"/opt/a\\\\$b/t\""},
        {"/opt/it's/t", "\"/opt/it's/t\""},
        {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
        {"/opt/q\"uote", "\"/opt/q\\\\\"uote\""},
        {"/opt/100%/t", "/opt/100%%/t"},
        {"relative/trafalo", std::nullopt},
        {"", std::nullopt},
        {"/opt/line\nbreak", std::nullopt},
    };
    for (const ExecCase& c : cases) {
        EXPECT_EQ(DesktopExecValue(c.path), c.exec) << c.path;
    }
}

TEST(XdgAutostart, RefusesWhatNoEntryCanHold) {
    QTemporaryDir home;
    XdgAutostart autostart(home.path().toStdString());
    EXPECT_FALSE(autostart.add("../Trafalo", "/usr/bin/trafalo"));
    EXPECT_FALSE(autostart.add("Tra\nfalo", "/usr/bin/trafalo"));
    EXPECT_FALSE(autostart.add("Trafalo", "trafalo"));
    EXPECT_TRUE(std::filesystem::is_empty(home.path().toStdString()));
}

TEST(XdgAutostart, AnEntryThatCannotBeReplacedFails) {
    QTemporaryDir home;
    // A folder where the entry should be: nothing replaces it, as root too.
    std::filesystem::create_directories(home.path().toStdString() + "/Trafalo.desktop");
    XdgAutostart autostart(home.path().toStdString());
    EXPECT_FALSE(autostart.add("Trafalo", "/usr/bin/trafalo"));
    EXPECT_FALSE(autostart.remove("Trafalo"));
    // A file where the folder should be.
    std::ofstream(home.path().toStdString() + "/file") << "x";
    XdgAutostart nowhere(home.path().toStdString() + "/file/autostart");
    EXPECT_FALSE(nowhere.add("Trafalo", "/usr/bin/trafalo"));
}

} // namespace
