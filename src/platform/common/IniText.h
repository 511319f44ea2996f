#pragma once
// The text of a settings file in the INI form QSettings reads: pure, so the
// escaping can be tested on its own.
#include <string>
#include <string_view>
#include <vector>

// One value of a settings file.
struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
};

// The whole file: each section once, in the order it first appears, its keys
// in the order given. Keys and section names are escaped as QSettings
// escapes them ("System tray icon type" as "System%20tray%20icon%20type");
// values that need it are quoted, so that QSettings reads every value back as
// the same text (control characters other than tab, CR and LF are dropped).
std::string FormatIni(const std::vector<IniEntry>& entries);

// True when text can be a settings file: valid UTF-8 without NUL bytes, each
// line blank, a comment, a [section] or a key=value line.
bool LooksLikeIni(std::string_view text);
