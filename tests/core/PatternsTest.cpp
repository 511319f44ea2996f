#include "core/Patterns.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(PatternMatches, TheWildcards) {
    static const std::string kLongName(100000, 'a'); // a pattern that backtracking would never finish
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"notepad", "notepad", true},
        {"notepad", "NOTEPAD", true},
        {"notepad", "notepadx", false},
        {"note*", "notepad", true},
        {"*", "", true},
        {"*updater*", "myupdater2", true},
        {"n?te", "note", true},
        {"n?te", "nte", false},
        {"v#", "v7", true},
        {"v#", "vx", false},
        {"[a-c]x", "bx", true},
        {"[a-c]x", "dx", false},
        {"[!a-c]x", "dx", true},
        {"[!a-c]x", "ax", false},
        {"[xyz]", "Y", true},
        {"a[b", "a[b", true},
        {"*.exe", "setup.exe", true},
        {"*.exe", "setup.ex", false},
        {"a*b*c", "aXbYc", true},
        {"a*b*c", "aXbY", false},
        {"**x", "x", true},
        {"", "", true},
        {"", "a", false},
        {"*a*a*a*a*b", kLongName.c_str(), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PatternMatches(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
    }
}

} // namespace
