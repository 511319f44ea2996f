// The shared helpers: number patterns, settings text.
#include "core/NumberFormat.h"
#include "core/SettingsText.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

class FormatNumberTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, GivesTheTextOfThePattern) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value, c.pattern), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatNumberTest,
    testing::Values(FormatCase{1536.0 / 1024, "0.#0 KB/s ", "1.50 KB/s "},
                    FormatCase{0.4, "###,###,###,###,##0 KB", "0 KB"},
                    FormatCase{1234567890123.0, "###,###,###,###,##0 MB", "1,234,567,890,123 MB"},
                    FormatCase{0.05, "###,###,##0.0 Kbps", "0.1 Kbps"},
                    FormatCase{0, "###,###,###,###,#0.#0 Kb/s", "0.00 Kb/s"},
                    FormatCase{2048000.0 / 1024, "###,###,###,###,#0.#0 Kb/s", "2,000.00 Kb/s"},
                    FormatCase{0.257, "#0.0%", "25.7%"}, FormatCase{-2.5, "0", "-3"},
                    FormatCase{-0.001, "0.0", "0.0"}, FormatCase{5, "0.##", "5"},
                    FormatCase{-1234.5, "#,##0.0", "-1,234.5"}));

TEST(FormatNumber, UsesTheLocaleSeparators) {
    const NumberSeparators german{",", "."};
    EXPECT_EQ(FormatNumber(1024, "###,###,###,###,##0 KB", german), "1.024 KB");
    EXPECT_EQ(FormatNumber(1.5, "0.#0 KB/s ", german), "1,50 KB/s ");
    const NumberSeparators french{",", "\u202f"};
    EXPECT_EQ(FormatNumber(1234567.25, "###,###,##0.0", french), "1\u202f234\u202f567,3");
}

struct BoolCase {
    const char* text;
    std::optional<bool> expected;
};

TEST(ParseBool, AcceptsWordsInAnyCaseAndNumbers) {
    const BoolCase cases[] = {
        {"True", true},     {"FALSE", false},        {" true ", true},     {"0", false},
        {"-1", true},       {"2.5", true},           {"0.0", false},       {"yes", std::nullopt},
        {"", std::nullopt}, {"1e999", std::nullopt}, {"Tru", std::nullopt}};
    for (const BoolCase& c : cases) {
        EXPECT_EQ(ParseBool(c.text), c.expected) << c.text;
    }
}

TEST(ParseInt32, RoundsAndRejectsWhatDoesNotFit) {
    EXPECT_EQ(ParseInt32("5"), 5);
    EXPECT_EQ(ParseInt32(" -200 "), -200);
    EXPECT_EQ(ParseInt32("2.5"), 2); // to even, as numeric conversion rounds
    EXPECT_EQ(ParseInt32("3.5"), 4);
    EXPECT_EQ(ParseInt32("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt32("2147483648"), std::nullopt);
    EXPECT_EQ(ParseInt32("-99999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseInt32("12abc"), std::nullopt);
    EXPECT_EQ(ParseInt32("nan"), std::nullopt);
    EXPECT_EQ(ParseInt32(""), std::nullopt);
}

} // namespace
