// The notification-icon texts: the tooltip and balloon texts cut to the
// record's room.
#include "display/NotifyIconRecords.h"

#include <gtest/gtest.h>

namespace {

TEST(NotifyIconRecords, WideTextIsCutBetweenCharacters) {
    EXPECT_EQ(WideTextCut("abc", 2), u"ab");
    EXPECT_EQ(WideTextCut("a\xF0\x9F\x8C\x8D", 2), u"a"); // the globe needs two units: left out whole
    EXPECT_EQ(WideTextCut("a\xF0\x9F\x8C\x8D", 3), u"a\U0001F30D");
    EXPECT_EQ(WideTextCut("\xC3\xA9t\xC3", 9), u"\u00e9t\uFFFD"); // a cut-off sequence is replaced
}

} // namespace
