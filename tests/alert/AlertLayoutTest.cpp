#include "alert/AlertLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(FindFreeSlot, LowestFreeElseByCount) {
    struct Case {
        std::vector<std::string> tags; // the new alert's own tag is still empty
        int slot;
    };
    const Case cases[] = {
        {{""}, 1},
        {{"1", ""}, 2},
        {{"1", "2", "3", "4", ""}, 2},      // the fifth: (5 mod 4) + 1
        {{"1", " ", "3", ""}, 2},           // one sliding out frees its slot
        {{"2", "x", "12", "0", ""}, 1},     // tags that name no slot mark nothing
        {{"1", "2", "3", "4", "1", ""}, 3}, // the sixth
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindFreeSlot(c.tags), c.slot) << c.tags.size();
    }
}

TEST(AlertLayout, PlaceStepsTextAndSound) {
    // A 1280 x 800 screen with a 32 px panel at the bottom.
    EXPECT_EQ(AlertStartRect(1, 0, 0, 1280, 768), (AlertRect{1130, 762, 137, 6}));
    EXPECT_EQ(AlertStartRect(2, 0, 0, 1280, 768), (AlertRect{1130, 762 - 113, 137, 6}));
    EXPECT_EQ(SlideStep(107, 20), 6);
    EXPECT_EQ(SlideStep(105, 40), 3);
    EXPECT_EQ(SlideStep(5, 40), 1); // a fraction of a pixel still moves one
    EXPECT_EQ(SlideStep(5, 0), 1);
    EXPECT_EQ(AlertText("Eject Drive E:\r\nError 16: Locking Volume\r"),
              "Eject Drive E:\nError 16: Locking Volume\r");
    EXPECT_EQ(AlertSoundName(100), "SystemHand");
    EXPECT_EQ(AlertSoundName(101), "SystemAsterisk");
    EXPECT_EQ(AlertSoundName(102), "SystemExclamation");
    EXPECT_EQ(AlertSoundName(103), "SystemQuestion");
}

} // namespace
