#include "drives/EjectMedia.h"
#include "drives/UsbDrives.h"
#include "fakes/FakeAlert.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDrives.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;
using Texts = std::vector<std::string>;

Calls operator+(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Eject {
    FakeDrives drives;
    FakeClock clock;
    FakeAlert alert;
    int waits = 0;
    EjectContext context{drives, clock, alert, [this](int maxMs) {
                             ++waits;
                             clock.ms += maxMs; // every wait sleeps its full time
                             return true;
                         }};
    Eject() {
        drives.set('C', kDriveFixed);
        drives.set('E', kDriveRemovable);
        drives.set('F', kDriveFixed);
        drives.set('G', kDriveCdRom);
        drives.set('R', kDriveRemote);
    }
};

const Calls kWhole = {"open E:", "lock", "dismount", "allow", "eject", "close", "remove E:"};

TEST(EjectDrive, EachFailingStepStopsWithItsAlert) {
    struct Case {
        const char* step;
        int error;
        char letter;
        Calls calls;
        Texts texts;
    };
    const std::string e = "Eject Drive E:\r\nError ";
    const Case cases[] = {
        {"", 0, 'e', kWhole, {"Drive E: Ejected\r\nMedia may be Safely Removed from Drive E:"}},
        {"open", 2, 'E', {"open E:"}, {e + "2: Opening Volume"}},
        {"lock", 13, 'E', Calls{"open E:"} + Calls(21, "lock") + Calls{"close"}, {e + "13: Locking Volume"}},
        {"lock", 16, 'F', Calls{"open F:"} + Calls(21, "lock") + Calls{"close"}, {}}, // fixed: quiet
        {"dismount", 16, 'E', {"open E:", "lock", "dismount", "close"}, {e + "16: Dismounting Volume"}},
        {"allow", 5, 'E', {"open E:", "lock", "dismount", "allow", "close"}, {}},
        {"eject", 5, 'E', kWhole, {}}, // refused: no alert, the letter still goes
        {"close",
         9,
         'E',
         {"open E:", "lock", "dismount", "allow", "eject", "close"},
         {"Drive E: Ejected\r\nMedia may be Safely Removed from Drive E:", e + "9: Closing Volume"}},
    };
    for (const Case& c : cases) {
        Eject t;
        if (*c.step) {
            t.drives.errors[c.step] = c.error;
        }
        if (std::string(c.step) == "lock") {
            t.drives.lockFailures = 100;
        }
        EjectDrive(std::string(1, c.letter), t.context);
        EXPECT_EQ(t.drives.calls, c.calls) << c.step;
        EXPECT_EQ(t.alert.texts(), c.texts) << c.step;
        for (const auto& shown : t.alert.shown) {
            EXPECT_EQ(shown.sound, shown.text.rfind("Drive", 0) == 0 ? 102 : 100);
            EXPECT_EQ(shown.duration, 2500);
            EXPECT_EQ(shown.alignment, 2);
            EXPECT_EQ(shown.font, "Tahoma");
            EXPECT_EQ(shown.size, 8.0F);
        }
    }
}

TEST(EjectDrive, LockRetriesForAboutASecondThenGivesUp) {
    Eject t;
    t.drives.lockFailures = 3;
    EjectDrive("E:", t.context);
    EXPECT_EQ(t.clock.ms, 150); // three windows of 50 ms waited out, the fourth try locks
    EXPECT_EQ(t.alert.shown.size(), 1u);

    Eject never;
    never.drives.lockFailures = 100;
    EjectDrive("E:", never.context);
    EXPECT_EQ(never.clock.ms, 21 * 50);

    Eject first;
    EjectDrive("E:", first.context);
    EXPECT_EQ(first.clock.ms, 0); // no delay when the first try locks
}

TEST(EjectDrive, NeverOpensTheSystemDriveOrOtherKinds) {
    for (const char* name : {"C:", "c", "R:", "Q:", "", "1:"}) {
        Eject t;
        EjectDrive(name, t.context);
        EXPECT_TRUE(t.drives.calls.empty()) << name;
        EXPECT_TRUE(t.alert.shown.empty()) << name;
    }
    Eject cd;
    EjectDrive("g:", cd.context);
    EXPECT_EQ(cd.drives.calls.front(), "open G:");
}

TEST(EjectDrive, StopsQuietlyWhenTheProgramEnds) {
    Eject t;
    t.drives.lockFailures = 100;
    t.context.wait = [](int) { return false; };
    EjectDrive("E:", t.context);
    EXPECT_EQ(t.drives.calls, (Calls{"open E:", "lock", "close"}));
    EXPECT_TRUE(t.alert.shown.empty());
}

TEST(UsbDrives, InternalDisksAreLearnedUntilASearchFindsNothing) {
    Eject t;
    t.drives.set('D', kDriveFixed);
    t.drives.set('E', kDriveNoRootDir);
    UsbDrives usb(t.drives);
    usb.ExcludedDriveLetters = "H";
    EXPECT_EQ(usb.FirstUsbDrive(), "");
    EXPECT_EQ(usb.KnownFixedDrives, "C:D:F:");
    EXPECT_TRUE(usb.InitialDriveScanDone);

    t.drives.set('H', kDriveFixed);            // excluded
    t.drives.set('K', kDriveRemovable, false); // an empty card reader slot
    EXPECT_EQ(usb.FirstUsbDrive(), "");
    t.drives.set('J', kDriveFixed); // an external disk plugged in later
    EXPECT_EQ(usb.FirstUsbDrive(), "J:");
    t.drives.set('F', kDriveNoRootDir); // a learned disk gone, back later: now USB
    EXPECT_EQ(usb.FirstUsbDrive(), "J:");
    EXPECT_EQ(usb.KnownFixedDrives, "C:D:");
    t.drives.set('F', kDriveFixed);
    EXPECT_EQ(usb.FirstUsbDrive(), "F:");
    t.drives.set('B', kDriveRemovable); // a removable drive counts even when excluded
    usb.ExcludedDriveLetters = "BFH";
    EXPECT_EQ(usb.FirstUsbDrive(), "B:");

    usb.EjectAllUsbDrives(t.context); // B and J, in letter order; F and H excluded
    EXPECT_EQ(t.drives.calls, (Calls{"open B:", "lock", "dismount", "allow", "eject", "close", "remove B:",
                                     "open J:", "lock", "dismount", "allow", "eject", "close", "remove J:"}));
}

TEST(ToggleExcludedLetter, AddsOnceAndRemovesTheFirst) {
    EXPECT_EQ(ToggleExcludedLetter("D", 'C', true), "DC");
    EXPECT_EQ(ToggleExcludedLetter("DC", 'C', false), "D");
    EXPECT_EQ(ToggleExcludedLetter("DC", 'C', true), "DC");
    EXPECT_EQ(ToggleExcludedLetter("dC", 'D', false), "C");
    EXPECT_EQ(ToggleExcludedLetter("", 'Z', false), "");
}

} // namespace
